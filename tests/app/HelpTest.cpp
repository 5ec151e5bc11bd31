// The program's help: the compiled help file holds every page of the guide and every link and
// request of the program leads to one of them; F1 and the dialogs' Help buttons open their page in
// the CHM viewer, in the browser when no viewer is installed, and a message otherwise.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include <sys/stat.h>

#include "AppTestSupport.h"
#include "ExplorerTestSupport.h"
#include "InkwrightAppSession.h"
#include "app/CInkwrightApp.h"
#include "app/CMainFrame.h"
#include "app/COurOwnTipDlg.h"
#include "app/HelpTopics.h"
#include "bars/SECMenuBarFeature.h"
#include "bars/CommandBarsRes.h"
#include "bars/SECToolBarsPage.h"
#include "bars/SECWorkspaceManagerExDlg.h"
#include "editor/ctl/SECEditFindReplaceDlg.h"
#include "os/Help.h"
#include "os/Process.h"
#include "resources/MainFrameRes.h"
#include "resources/ExplorerRes.h"
#include "win/ModalLoop.h"

using namespace brambolt::test;

namespace {

namespace fs = std::filesystem;

fs::path ProgramFolder() {
  char program[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, program, MAX_PATH);
  return fs::path(program).parent_path();
}

std::set<std::string> GuidePages() {
  std::set<std::string> pages;
  for (const auto& entry : fs::directory_iterator(ProgramFolder() / help_topics::kPagesFolderName))
    if (entry.path().extension() == ".html") pages.insert(entry.path().filename().string());
  return pages;
}

TEST(HelpBook, CompiledHelpHoldsEveryPageAndEveryLinkAndRequestLeadsToOne) {
  const std::set<std::string> pages = GuidePages();
  ASSERT_GE(pages.size(), 20u);
  brambolt::SpawnRequest list;
  list.program = "chmls";
  list.argv = {"chmls", "list", (ProgramFolder() / help_topics::kHelpFileName).string()};
  list.errorsToOutput = true;
  std::string listing;
  DWORD error = 0;
  ASSERT_TRUE(brambolt::ReadProgramOutput(list, &listing, &error, 20000));
  for (const std::string& page : pages) EXPECT_NE(listing.find(" /" + page + "\n"), std::string::npos) << page;
  for (const std::string& page : help_topics::AllPages()) EXPECT_TRUE(pages.count(page)) << page;
  // Every link between pages, and every page of the contents and index files, is a page.
  const std::regex link(R"re((?:href|value)="([a-z-]+\.html)")re");
  const fs::path guide = ProgramFolder() / help_topics::kPagesFolderName;
  std::vector<fs::path> files = {guide / "Brambolt.hhc", guide / "Brambolt.hhk"};
  for (const std::string& page : pages) files.push_back(guide / page);
  for (const fs::path& file : files) {
    const std::string text = apptest::ReadText(file.string());
    EXPECT_FALSE(text.empty()) << file;
    for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it)
      EXPECT_TRUE(pages.count((*it)[1].str())) << file << " links " << (*it)[1].str();
  }
}

// A folder standing for the program's, a PATH holding only the chosen helper programs, and every
// program start recorded instead of run.
class Help : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string root = stores.TempDir();
    folder = root + "/program";
    tools = root + "/tools";
    fs::create_directories(folder + "/help");
    fs::create_directories(tools);
    apptest::WriteText(folder + "/Brambolt.chm", "ITSF");
    for (const std::string& page : help_topics::AllPages()) apptest::WriteText(folder + "/help/" + page, "<html>");
    helpPath = folder + "/visual-brambolt.HLP";
    app.m_pszHelpFilePath = helpPath.c_str();
    const char* path = std::getenv("PATH");
    savedPath = path != nullptr ? path : "";
    setenv("PATH", tools.c_str(), 1);
  }
  void TearDown() override { setenv("PATH", savedPath.c_str(), 1); }

  void Install(const char* program) {
    const std::string path = tools + "/" + program;
    apptest::WriteText(path, "#!/bin/sh\n");
    ::chmod(path.c_str(), 0755);
  }
  std::string InViewer(const char* page) const { return "file:" + folder + "/Brambolt.chm#xchm:/" + page; }

  // The main frame, shown, as the program has it.
  CMainFrame* ShowMainFrame() {
    SECInstallMenuBarHooks();
    auto* frame = new CMainFrame;
    EXPECT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    RunUntilIdle();
    return frame;
  }
  // Runs the dialog; while it is up its Help button is clicked, then it is cancelled.
  void ClickHelpOf(CDialog& dialog, const char* caption, UINT nHelpButton) {
    ModalAnswers answers;
    answers.When(nullptr, nullptr, [caption, nHelpButton](HWND hDialog) {
      char text[64] = {};
      ::GetWindowTextA(hDialog, text, sizeof text);
      EXPECT_STREQ(text, caption);
      if (HWND hButton = ::GetDlgItem(hDialog, static_cast<int>(nHelpButton))) {
        Click(hButton, {5, 5});
        RunUntilIdle();
      }
      ::EndDialog(hDialog, IDCANCEL);
    });
    dialog.DoModal();
  }

  UiSession session;
  PrivateStores stores;
  explorertest::ProjectShell shell;
  apptest::AnsweredBoxes boxes;
  CInkwrightApp app;
  std::string folder, tools, helpPath, savedPath;
  std::vector<std::vector<std::string>> started;
  brambolt::ScopedSpawnHook hook{[this](const brambolt::SpawnRequest& request) {
    started.push_back(request.argv);
    return DWORD{0};
  }};
};

TEST_F(Help, F1AndTheHelpButtonsOfDialogsOpenTheirPagesInTheViewer) {
  Install("xchm");
  Install("xdg-open");
  // Keys pass the application's pre-translation, as in its message loop.
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  CMainFrame* frame = ShowMainFrame();
  frame->SetFocus();
  PressKey(VK_F1);
  RunUntilIdle();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], (std::vector<std::string>{"xchm", InViewer("index.html")}));

  COurOwnTipDlg tip((folder + "/none.tip").c_str(), 1, TRUE, frame);
  ClickHelpOf(tip, "Tips Of Day", SECTipOfDay::kHelp);
  SECNewToolBar newToolBar(frame);
  ClickHelpOf(newToolBar, "New Toolbar", IDC_SEC_HELP);
  CStringList stored, working, deleted;
  CString chosen;
  SECWsMgrDialogEx workspaces(&stored, &working, &deleted, &chosen, TRUE, TRUE, frame);
  ClickHelpOf(workspaces, "Open Workspace", ID_HELP);
  ASSERT_EQ(started.size(), 4u);
  EXPECT_EQ(started[1].back(), InViewer("dlg-tip-of-the-day.html"));
  EXPECT_EQ(started[2].back(), InViewer("dlg-new-toolbar.html"));
  EXPECT_EQ(started[3].back(), InViewer("dlg-workspace-manager.html"));
  // Help on a command of the menus, as context help asks it.
  app.WinHelp(HID_BASE_COMMAND + 32802, HELP_CONTEXT);
  EXPECT_EQ(started.back().back(), InViewer("html-help.html"));
  EXPECT_TRUE(boxes.boxes.empty());
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
}

// A Find dialog's owner that is asked nothing here.
struct NoSearch : ISECEditFindReplaceNotify {
  BOOL OnFindReplaceCommand(SECEditFindReplaceDlg*) override { return TRUE; }
  BOOL CanReplaceInSelection() override { return FALSE; }
};

TEST_F(Help, F1OpensThePageOfTheHighlightedCommandTheDialogAndTheMessageBoxsQuestion) {
  Install("xchm");
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  CMainFrame* frame = ShowMainFrame();
  frame->SetFocus();
  // The Build menu dropped from the keyboard, Up to its last command (Automatic Generate HTML
  // Help), F1 there; the menu stays open until Escape.
  UiScript menu;
  menu.Then([] { PressKey(VK_UP); }).Then([] { PressKey(VK_F1); }).Then([] { PressKey(VK_ESCAPE); });
  PressKey('B', kAlt);
  RunUntilIdle();
  EXPECT_EQ(menu.Remaining(), 0u);
  // F1 in modal dialogs, with the focus on their controls.
  auto pressF1In = [](CDialog& dialog, const char* caption) {
    ModalAnswers answers;
    answers.When(nullptr, caption, [](HWND hDialog) {
      PressKey(VK_F1);
      ::EndDialog(hDialog, IDCANCEL);
    });
    dialog.DoModal();
  };
  SECNewToolBar newToolBar(frame);
  pressF1In(newToolBar, "New Toolbar");
  CStringList stored, working, deleted;
  CString chosen;
  SECWsMgrDialogEx workspaces(&stored, &working, &deleted, &chosen, TRUE, TRUE, frame);
  pressF1In(workspaces, "Open Workspace");
  // F1 in the editor's modeless Find dialog.
  NoSearch owner;
  CStringList finds, replaces;
  auto* find = new SECEditFindReplaceDlg;
  find->Setup(TRUE, &owner, &finds, &replaces);
  ASSERT_TRUE(find->CreateModeless(frame));
  RunUntilIdle();
  ::SetFocus(::GetNextDlgTabItem(find->GetSafeHwnd(), nullptr, FALSE));
  PressKey(VK_F1);
  RunUntilIdle();
  find->DestroyWindow();
  // F1 in the program's own message box asking a question.
  brambolt::afx::SetMessageBoxPresenter(nullptr);
  ModalAnswers box;
  box.When(nullptr, "Inkwright", [](HWND hBox) {
    PressKey(VK_F1);
    ::EndDialog(hBox, IDCANCEL);
  });
  EXPECT_EQ(AfxMessageBox(IDS_REMOVE_FROM_PROJECT, MB_YESNO), IDCANCEL);

  std::vector<std::string> shown;
  for (const auto& argv : started) {
    ASSERT_EQ(argv.front(), "xchm");
    shown.push_back(argv.back().substr(argv.back().find("#xchm:/") + 7));
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"html-help.html", "dlg-new-toolbar.html", "dlg-workspace-manager.html",
                                             "find-replace.html", "adding-files.html"}));
  // Each is a page of the help installed beside the program.
  const std::set<std::string> pages = GuidePages();
  for (const std::string& page : shown) EXPECT_TRUE(pages.count(page)) << page;
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
}

TEST_F(Help, WithoutAViewerThePageOpensInTheBrowserAndWithoutEitherOneMessageSaysSo) {
  Install("xdg-open");
  app.WinHelp(HID_BASE_RESOURCE + 20511, HELP_CONTEXT);
  app.WinHelp(0, HELP_INDEX);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[0], (std::vector<std::string>{"xdg-open", folder + "/help/dlg-new-toolbar.html"}));
  EXPECT_EQ(started[1].back(), folder + "/help/topics.html");
  EXPECT_TRUE(boxes.boxes.empty());

  fs::remove(tools + "/xdg-open");
  app.WinHelp(0, HELP_FINDER);
  EXPECT_EQ(started.size(), 2u);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("xchm"), std::string::npos);
}

}  // namespace

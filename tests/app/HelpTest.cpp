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
#include "os/Help.h"
#include "os/Process.h"
#include "resources/MainFrameRes.h"
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
    if (entry.path().extension() == ".htm") pages.insert(entry.path().filename().string());
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
  const std::regex link(R"re((?:href|value)="([a-z-]+\.htm)")re");
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
  EXPECT_EQ(started[0], (std::vector<std::string>{"xchm", InViewer("index.htm")}));

  COurOwnTipDlg tip((folder + "/none.tip").c_str(), 1, TRUE, frame);
  ClickHelpOf(tip, "Tips Of Day", SECTipOfDay::kHelp);
  SECNewToolBar newToolBar(frame);
  ClickHelpOf(newToolBar, "New Toolbar", IDC_SEC_HELP);
  CStringList stored, working, deleted;
  CString chosen;
  SECWsMgrDialogEx workspaces(&stored, &working, &deleted, &chosen, TRUE, TRUE, frame);
  ClickHelpOf(workspaces, "Open Workspace", ID_HELP);
  ASSERT_EQ(started.size(), 4u);
  EXPECT_EQ(started[1].back(), InViewer("dlg-tip-of-the-day.htm"));
  EXPECT_EQ(started[2].back(), InViewer("dlg-new-toolbar.htm"));
  EXPECT_EQ(started[3].back(), InViewer("dlg-workspace-manager.htm"));
  // Help on a command of the menus, as context help asks it.
  app.WinHelp(HID_BASE_COMMAND + 32802, HELP_CONTEXT);
  EXPECT_EQ(started.back().back(), InViewer("html-help.htm"));
  EXPECT_TRUE(boxes.boxes.empty());
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
}

TEST_F(Help, WithoutAViewerThePageOpensInTheBrowserAndWithoutEitherOneMessageSaysSo) {
  Install("xdg-open");
  app.WinHelp(HID_BASE_RESOURCE + 20511, HELP_CONTEXT);
  app.WinHelp(0, HELP_INDEX);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[0], (std::vector<std::string>{"xdg-open", folder + "/help/dlg-new-toolbar.htm"}));
  EXPECT_EQ(started[1].back(), folder + "/help/topics.htm");
  EXPECT_TRUE(boxes.boxes.empty());

  fs::remove(tools + "/xdg-open");
  app.WinHelp(0, HELP_FINDER);
  EXPECT_EQ(started.size(), 2u);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("xchm"), std::string::npos);
}

}  // namespace

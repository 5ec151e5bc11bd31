// The program's help: the compiled help file holds every page of the guide and every link and
// request of the program leads to one of them; F1 and the dialogs' Help buttons open their page in
// the CHM viewer, in the browser when no viewer is installed, and a message otherwise.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>

#include <sys/stat.h>

#include "AppTestSupport.h"
#include "ExplorerTestSupport.h"
#include "InkwrightAppSession.h"
#include "StartedApp.h"
#include "app/CInkwrightApp.h"
#include "app/CMainFrame.h"
#include "app/CNewWizDialog.h"
#include "app/COurOwnTipDlg.h"
#include "app/HelpTopics.h"
#include "bars/SECBarStyles.h"
#include "bars/SECMenuBar.h"
#include "bars/SECMenuBarFeature.h"
#include "bars/CommandBarsRes.h"
#include "bars/SECToolBarsPage.h"
#include "foundation/SECBrowseEdit.h"
#include "bars/SECWorkspaceManagerExDlg.h"
#include "controls/controls.h"
#include "gdi/DevMode.h"
#include "model/CWorkSpaceObj.h"
#include "os/Help.h"
#include "os/Process.h"
#include "resources/AppResource.h"
#include "resources/MainFrameRes.h"
#include "resources/ExplorerRes.h"
#include "resources/ShellRes.h"
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

// The guide's page on writing the documentation says what a second run does with the output
// folder (the model's tests hold the run to it): every class's pages are written again, and the
// user's other files stay unless Rewrite All is chosen.
TEST(HelpBook, TheDocumentationPageSaysWhatASecondRunWritesAndKeeps) {
  std::string text = apptest::ReadText((ProgramFolder() / help_topics::kPagesFolderName / "write-documentation.html").string());
  text = std::regex_replace(text, std::regex(R"(\s+)"), " ");
  EXPECT_NE(text.find("every run writes the pages of every class again, changed or not, so a change made by hand to "
                      "one of them is replaced"),
            std::string::npos);
  EXPECT_NE(text.find("Without this option the other files in the output folder stay"), std::string::npos);
  EXPECT_EQ(text.find("are kept"), std::string::npos) << "no page of a class is kept by a run";
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
                                             "adding-files.html"}));
  // Each is a page of the help installed beside the program.
  const std::set<std::string> pages = GuidePages();
  for (const std::string& page : shown) EXPECT_TRUE(pages.count(page)) << page;
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
}

// The Build menu opened with the mouse on its title or with Alt+B, an item highlighted with Down
// or by hovering it; then, while the bars' timers run, the status line shows the item's prompt and
// F1 opens the item's page (with no item highlighted: no prompt, and the main window's page, the
// contents).
TEST_F(Help, F1InAMenuOpenedWithTheMouseOrTheKeyboardOpensThePageOfTheHighlightedItem) {
  Install("xchm");
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  CMainFrame* frame = ShowMainFrame();
  frame->SetFocus();
  SECMenuBar* menubar = frame->GetMenuBar();
  ASSERT_NE(menubar, nullptr);
  const int build = menubar->FindMnemonic('B');
  ASSERT_GE(build, 0);
  CRect title;
  menubar->GetItemRect(build, &title);
  auto openWithMouse = [&] { Click(menubar->GetSafeHwnd(), title.CenterPoint()); };
  auto openWithKeys = [] { PressKey('B', kAlt); };
  auto down = [] { PressKey(VK_DOWN); };
  auto hoverLast = [] {
    // The fourth item of the Build menu: Automatic Generate HTML Help.
    CRect item;
    ASSERT_TRUE(::GetMenuItemRect(nullptr, brambolt::TrackedMenu(), 3, &item));
    MoveMouseAt({item.left + 2, item.top + 2});
    MoveMouseAt(item.CenterPoint());
  };
  struct Way {
    const char* name;
    std::function<void()> open, move;
    UINT command;
    const char* page;
  };
  const Way ways[] = {
      {"click, nothing highlighted", openWithMouse, [] {}, 0, "index.html"},
      {"click, Down", openWithMouse, down, 32800, "write-documentation.html"},
      {"click, hover", openWithMouse, hoverLast, 32802, "html-help.html"},
      {"Alt+B, hover", openWithKeys, hoverLast, 32802, "html-help.html"},
      {"Alt+B, Down", openWithKeys, down, 32801, "write-documentation.html"},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    started.clear();
    CString status;
    UiScript menu;
    menu.Then(way.move);
    for (int i = 0; i < 5; ++i) menu.Then([] { brambolt::VirtualClock::Advance(250); });
    menu.Then([&] {
          frame->GetMessageBar()->GetWindowText(status);
          PressKey(VK_F1);
        })
        .Then([] { PressKey(VK_ESCAPE); });
    way.open();
    RunUntilIdle();
    EXPECT_EQ(menu.Remaining(), 0u);
    PressKey(VK_ESCAPE);  // the menubar's menu mode, where Escape in the menu left it
    CString prompt;
    frame->GetMessageString(way.command, prompt);
    EXPECT_EQ(status, prompt);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].back(), InViewer(way.page));
  }
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

BOOL CALLBACK AddDialogTemplate(HMODULE, LPCTSTR, LPTSTR name, LONG_PTR templates) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<std::vector<UINT>*>(templates)->push_back(static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)));
  return TRUE;
}

// The headings (h1 and h2) of a page of the guide installed beside the program, in lower case.
std::string HeadingsOf(const std::string& page) {
  const std::string text = apptest::ReadText((ProgramFolder() / help_topics::kPagesFolderName / page).string());
  const std::regex heading(R"re(<h[12]>([\s\S]*?)</h[12]>)re");
  std::string headings;
  for (std::sregex_iterator it(text.begin(), text.end(), heading), end; it != end; ++it) headings += (*it)[1].str() + "\n";
  std::transform(headings.begin(), headings.end(), headings.begin(), [](unsigned char c) { return std::tolower(c); });
  return headings;
}

// Every dialog template of the program's resources, run as a dialog: F1 opens a page with a heading
// that names the dialog (its caption, or the dialog a captionless page or bar belongs to).
TEST_F(Help, F1InEveryDialogOfTheProgramOpensAPageAboutThatDialog) {
  Install("xchm");
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  CMainFrame* frame = ShowMainFrame();
  std::vector<UINT> templates;
  ASSERT_TRUE(::EnumResourceNames(nullptr, RT_DIALOG, AddDialogTemplate, reinterpret_cast<LONG_PTR>(&templates)));
  ASSERT_GE(templates.size(), 40u);
  // Pages of a wizard or of a sheet, progress windows and a bar: the dialog they are part of.
  const std::map<UINT, std::string> uncaptioned = {
      {131, "New Project"}, {132, "New Project"}, {153, "New Project"}, {154, "New Project"},
      {162, "Settings"}, {169, "Settings"}, {171, "Settings"}, {174, "General"},
      {152, "Insert Files into Project"}, {165, "Insert Files into Project"}, {AFX_IDD_PREVIEW_TOOLBAR, "Print Preview"}};
  // The toolkit's Shortcut Keys, Assign Shortcut and Tools, which the program offers nowhere.
  const std::set<UINT> notOffered = {20507, 20508, 20512};
  for (UINT id : templates) {
    SCOPED_TRACE(id);
    if (notOffered.count(id) != 0) continue;
    started.clear();
    std::string caption;
    CDialog dialog(id, frame);
    ModalAnswers answers;
    answers.When(nullptr, nullptr, [&caption](HWND hDialog) {
      char text[128] = {};
      ::GetWindowTextA(hDialog, text, sizeof text);
      caption = text;
      // A page of a wizard or a sheet is made hidden (a wizard's disabled); the dialog that holds
      // it shows it, enables it and focuses it.
      ::ShowWindow(hDialog, SW_SHOW);
      ::EnableWindow(hDialog, TRUE);
      const HWND hFocus = ::GetFocus();
      if (hFocus != hDialog && !::IsChild(hDialog, hFocus)) {
        const HWND hFirst = ::GetNextDlgTabItem(hDialog, nullptr, FALSE);
        ::SetFocus(hFirst != nullptr ? hFirst : hDialog);
      }
      RunUntilIdle();
      PressKey(VK_F1);
      ::EndDialog(hDialog, IDCANCEL);
    });
    ASSERT_NE(dialog.DoModal(), -1);
    std::string subject = caption;
    if (subject.empty()) {
      ASSERT_TRUE(uncaptioned.count(id)) << "a dialog without a caption needs its subject";
      subject = uncaptioned.at(id);
    }
    ASSERT_EQ(started.size(), 1u) << subject;
    const std::string page = started[0].back().substr(started[0].back().find("#xchm:/") + 7);
    EXPECT_NE(page, help_topics::kContentsPage) << subject;
    std::transform(subject.begin(), subject.end(), subject.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_NE(HeadingsOf(page).find(subject), std::string::npos) << page << " is not about " << subject;
  }
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
}

// The pages F1 and the Help buttons open, as the CHM viewer on PATH is asked for them (its starts
// are recorded instead of run).
class OpenedPages {
 public:
  explicit OpenedPages(const std::string& tools) {
    apptest::WriteText(tools + "/xchm", "#!/bin/sh\n");
    ::chmod((tools + "/xchm").c_str(), 0755);
    const char* path = std::getenv("PATH");
    savedPath_ = path != nullptr ? path : "";
    setenv("PATH", tools.c_str(), 1);
  }
  ~OpenedPages() { setenv("PATH", savedPath_.c_str(), 1); }
  std::vector<std::string> pages;

 private:
  std::string savedPath_;
  brambolt::ScopedSpawnHook hook_{[this](const brambolt::SpawnRequest& request) {
    const std::string& target = request.argv.back();
    if (request.program == "xchm") pages.push_back(target.substr(target.find("#xchm:/") + 7));
    return DWORD{0};
  }};
};

// Presses F1 in the dialog of that caption once it runs, with the focus where the dialog put it,
// then closes the dialog.
void PressF1In(ModalAnswers& answers, const char* caption) {
  answers.When(nullptr, caption, [](HWND hDialog) {
    RunUntilIdle();
    PressKey(VK_F1);
    RunUntilIdle();
    ::EndDialog(hDialog, IDCANCEL);
  });
}

// F1 pressed in the program's message box, whose text goes to `text`, then the box answered.
void PressF1InBox(ModalAnswers& answers, std::string& text, int nAnswer) {
  answers.When(nullptr, "Inkwright", [&text, nAnswer](HWND hBox) {
    char buffer[256] = {};
    ::GetDlgItemTextA(hBox, 1001, buffer, sizeof buffer);
    text = buffer;
    RunUntilIdle();
    PressKey(VK_F1);
    RunUntilIdle();
    ::EndDialog(hBox, nAnswer);
  });
}

// A frame and a dialog whose resources share the number 131 each open their own page: the
// hierarchy picture's frame and the New Project wizard's first page.
TEST(HelpContexts, TheHierarchyPictureAndTheWizardsFirstPageOpenTheirOwnPages) {
  apptest::StartedApp s;
  AdvanceClock(3500);  // the splash window, which a key would close, has gone
  OpenedPages opened(s.home.Folder("tools"));
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return s.app.PreTranslateMessage(&msg); });
  // A picture of 8 by 8 pixels, as the documentation writes its hierarchy charts.
  std::string bmp = {'B', 'M'};
  auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<char>(value >> (8 * i)));
  };
  put(54 + 8 * 24, 4), put(0, 4), put(54, 4), put(40, 4), put(8, 4), put(8, 4), put(1, 2), put(24, 2);
  for (int i = 0; i < 6; ++i) put(0, 4);
  bmp.append(8 * 24, '\x7F');
  const std::string picture = s.home.Folder("Output") + "/Hierarchy.bmp";
  apptest::WriteText(picture, bmp);
  ASSERT_NE(s.app.OpenDocumentFile(picture.c_str()), nullptr);
  RunUntilIdle();
  PressKey(VK_F1);
  RunUntilIdle();
  ModalAnswers answers;
  PressF1In(answers, "New Project");
  s.app.OnNewProject();
  EXPECT_EQ(opened.pages, (std::vector<std::string>{"hierarchy.html", "projects.html"}));
}

// F1 in the dialogs of the program's commands, opened as the commands open them, with a project
// and a source file open.
TEST(HelpContexts, F1InTheDialogsOfTheCommandsOpensTheirPages) {
  apptest::StartedApp s;
  AdvanceClock(3500);  // the splash window, which a key would close, has gone
  OpenedPages opened(s.home.Folder("tools"));
  const std::string folder = s.home.Folder("Shapes");
  apptest::WriteText(folder + "/Header Files/Shape.h", "class CShape {\npublic:\n  int m_nSides;\n};\n");
  CWorkSpaceObj project;
  ASSERT_TRUE(project.SaveToFile((folder + "/Shapes.dcp").c_str()));
  s.app.OpenDocumentFile((folder + "/Shapes.dcp").c_str());
  ASSERT_TRUE(s.app.OpenHeaderFile("Shape.h"));
  RunUntilIdle();
  struct Case {
    UINT command;
    const char* caption;
    const char* page;
  };
  const Case cases[] = {
      {ID_EDIT_REPLACE, "Replace", "find-replace.html"},
      {ID_EDIT_FIND, "Find", "find-replace.html"},
      {ID_WINDOW_LIST, "Windows", "dlg-windows.html"},
      {ID_WRITE_DOCUMENTATION, "Options", "write-documentation.html"},
      {ID_GENERATE_HTML_HELP, "HTML Help", "html-help.html"},
      {ID_PROJECT_SETTINGS, "Settings", "projects.html"},
      {ID_INSERT_LIVE_FOLDER, "Insert Files into Project", "adding-files.html"},
      {ID_CURRENT_PROJECT, "Organize files", "adding-files.html"},
      {ID_INSERT_FILES, "Open", "adding-files.html"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    opened.pages.clear();
    ModalAnswers answers;
    PressF1In(answers, c.caption);
    s.app.m_pMainWnd->SendMessage(WM_COMMAND, c.command);
    RunUntilIdle();
    EXPECT_TRUE(answers.Unanswered().empty());
    EXPECT_EQ(opened.pages, std::vector<std::string>{c.page});
  }
  // Select Directory, from the browse button of Insert Files into Project: its Help button, then F1.
  opened.pages.clear();
  ModalAnswers answers;
  answers.When(nullptr, "Insert Files into Project", [](HWND hDialog) {
    for (HWND hChild = ::GetWindow(hDialog, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
      if (dynamic_cast<SECBrowseButton*>(CWnd::FromHandlePermanent(hChild)) != nullptr) Click(hChild, {3, 3});
    ::EndDialog(hDialog, IDCANCEL);
  });
  answers.When(nullptr, "Select Directory", [](HWND hDialog) {
    RunUntilIdle();
    Click(::GetDlgItem(hDialog, 1038), {5, 5});
    PressKey(VK_F1);
    ::EndDialog(hDialog, IDCANCEL);
  });
  s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_INSERT_LIVE_FOLDER);
  RunUntilIdle();
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_EQ(opened.pages, (std::vector<std::string>{"dlg-select-directory.html", "dlg-select-directory.html"}));
}

// F1 in a message box whose question has no page of its own opens the page of the place that
// raised it: Next on the wizard's first page with no project name.
TEST(HelpContexts, F1InAMessageBoxWithoutAPageOfItsOwnOpensThePageOfItsPlace) {
  apptest::StartedApp s;
  AdvanceClock(3500);
  OpenedPages opened(s.home.Folder("tools"));
  brambolt::afx::SetMessageBoxPresenter(nullptr);
  ModalAnswers answers;
  std::string text;
  answers.When(nullptr, "New Project", [](HWND hWizard) {
    RunUntilIdle();
    apptest::DlgCommand(hWizard, ID_WIZNEXT);
    ::EndDialog(hWizard, IDCANCEL);
  });
  PressF1InBox(answers, text, IDOK);
  s.app.OnNewProject();
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_FALSE(text.empty()) << "the wizard asked for the project's name";
  EXPECT_EQ(opened.pages, std::vector<std::string>{"projects.html"});
}

// F1 in the dialogs and the question of adding files and of printing opens their pages: the New
// Project wizard's Add file dialog (the wizard's page), the question whether a file already in the
// project is overwritten (the page of adding files), the print dialog and the file name it asks for
// when printing to a file (the page of the editor, which says how printing goes).
TEST(HelpContexts, F1InTheAddFileOverwriteAndPrintDialogsOpensTheirPages) {
  apptest::StartedApp s;
  AdvanceClock(3500);  // the splash window, which a key would close, has gone
  OpenedPages opened(s.home.Folder("tools"));
  const std::string folder = s.home.Folder("Shapes");
  apptest::WriteText(folder + "/Header Files/Shape.h", "class CShape {\npublic:\n  int m_nSides;\n};\n");
  const std::string other = s.home.Folder("Other") + "/Shape.h";
  apptest::WriteText(other, "class CShape {};\n");
  CWorkSpaceObj project;
  ASSERT_TRUE(project.SaveToFile((folder + "/Shapes.dcp").c_str()));
  s.app.OpenDocumentFile((folder + "/Shapes.dcp").c_str());
  ASSERT_TRUE(s.app.OpenHeaderFile("Shape.h"));
  RunUntilIdle();

  // The wizard's third page, Add: F1 in the file dialog.
  {
    ModalAnswers answers;
    answers.When(nullptr, "New Project", [&](HWND hWizard) {
      RunUntilIdle();
      auto* wizard = dynamic_cast<CNewWizDialog*>(CWnd::FromHandle(hWizard));
      ASSERT_NE(wizard, nullptr);
      const HWND hFirst = wizard->GetActivePage()->GetSafeHwnd();
      ::SetDlgItemText(hFirst, IDC_PROJECT_NAME, "Widgets");
      ::SetDlgItemText(hFirst, IDC_PROJECT_LOCATION, s.home.Folder("Projects").c_str());
      apptest::DlgCommand(hWizard, ID_WIZNEXT);
      apptest::DlgCommand(hWizard, ID_WIZNEXT);
      const HWND hAdd = ::GetDlgItem(wizard->GetActivePage()->GetSafeHwnd(), IDC_ADD_FILES);
      ASSERT_NE(hAdd, nullptr);
      Click(hAdd, {5, 5});
      apptest::DlgCommand(hWizard, IDCANCEL);
    });
    PressF1In(answers, "Open");
    s.app.OnNewProject();
    EXPECT_TRUE(answers.Unanswered().empty());
    EXPECT_EQ(opened.pages, std::vector<std::string>{"projects.html"});
  }

  // Project > Insert Files with a file of a name the project holds: F1 in the question.
  {
    opened.pages.clear();
    brambolt::afx::SetMessageBoxPresenter(nullptr);
    ModalAnswers answers;
    answers.When(nullptr, "Open", [&](HWND hDialog) {
      ::SetDlgItemText(hDialog, 0x480, other.c_str());
      ::SendMessage(hDialog, WM_COMMAND, IDOK, 0);
    });
    std::string question;
    PressF1InBox(answers, question, IDNO);
    s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_INSERT_FILES);
    RunUntilIdle();
    EXPECT_TRUE(answers.Unanswered().empty());
    EXPECT_NE(question.find("already exists"), std::string::npos) << question;
    EXPECT_EQ(opened.pages, std::vector<std::string>{"adding-files.html"});
  }

  // File > Print: F1 in the print dialog; "Print to File" picked, OK, F1 where the file is named.
  {
    opened.pages.clear();
    ModalAnswers answers;
    answers.When(nullptr, "Print", [](HWND hDialog) {
      RunUntilIdle();
      PressKey(VK_F1);
      RunUntilIdle();
      const HWND hPrinters = ::GetDlgItem(hDialog, cmb4);
      ::SendMessage(hPrinters, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                    reinterpret_cast<LPARAM>(brambolt::kPrintToFileName));
      ::SendMessage(hDialog, WM_COMMAND, MAKEWPARAM(cmb4, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hPrinters));
      ::SendMessage(hDialog, WM_COMMAND, IDOK, 0);
    });
    PressF1In(answers, "Print to File");
    s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    RunUntilIdle();
    EXPECT_TRUE(answers.Unanswered().empty());
    EXPECT_EQ(opened.pages, (std::vector<std::string>{"editor.html", "editor.html"}));
  }
}

// F1 in the Project Explorer opens the page of the tree it is in (the class and file views, the
// output view), F1 on an item of the menu of its gripper the page of the bars, and F1 on a window
// of the Window menu's list the page that tells of that list.
TEST(HelpContexts, F1InTheExplorersTreesItsGrippersMenuAndTheWindowListOpensTheirPages) {
  apptest::StartedApp s;
  AdvanceClock(3500);
  OpenedPages opened(s.home.Folder("tools"));
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return s.app.PreTranslateMessage(&msg); });
  const std::string folder = s.home.Folder("Shapes");
  apptest::WriteText(folder + "/Header Files/Shape.h", "class CShape {\npublic:\n  int m_nSides;\n};\n");
  CWorkSpaceObj project;
  ASSERT_TRUE(project.SaveToFile((folder + "/Shapes.dcp").c_str()));
  s.app.OpenDocumentFile((folder + "/Shapes.dcp").c_str());
  ASSERT_TRUE(s.app.OpenHeaderFile("Shape.h"));
  RunUntilIdle();
  auto* frame = static_cast<CMainFrame*>(s.app.m_pMainWnd);
  ProjectWorkspaceWnd& explorer = frame->m_wndProjectExplorer;

  // Each tree, its tab chosen and a click into it, then F1.
  const char* const treePages[] = {"class-file-views.html", "class-file-views.html", "class-file-views.html",
                                   "output-view.html"};
  for (int nTab = 0; nTab < ProjectWorkspaceWnd::kTabCount; ++nTab) {
    SCOPED_TRACE(nTab);
    opened.pages.clear();
    explorer.m_wndTab.ActivateTab(nTab);
    RunUntilIdle();
    const HWND hTree = explorer.GetTree(nTab)->GetSafeHwnd();
    CRect client;
    ::GetClientRect(hTree, &client);
    Click(hTree, {client.Width() / 2, client.Height() - 4});
    ASSERT_EQ(::GetFocus(), hTree);
    PressKey(VK_F1);
    RunUntilIdle();
    EXPECT_EQ(opened.pages, std::vector<std::string>{treePages[nTab]});
  }

  // The gripper's menu, opened by a right-click on the gripper: its first item highlighted, F1.
  {
    opened.pages.clear();
    ModalAnswers answers;
    UINT first = 0;
    answers.When(MENU_WINDOW_CLASS, nullptr, [&first](HWND hPopup) {
      first = ::GetMenuItemID(reinterpret_cast<HMENU>(::SendMessage(hPopup, MN_GETHMENU, 0, 0)), 0);
      PressKey(VK_DOWN);
      PressKey(VK_F1);
      RunUntilIdle();
      PressKey(VK_ESCAPE);
    });
    CRect window;
    explorer.GetWindowRect(&window);
    POINT gripper = {window.left + window.Width() / 2, window.top + 4};
    ::ScreenToClient(explorer.GetSafeHwnd(), &gripper);
    Click(explorer.GetSafeHwnd(), gripper, kNone, WM_RBUTTONDOWN);
    RunUntilIdle();
    EXPECT_TRUE(answers.Unanswered().empty());
    EXPECT_EQ(first, ID_SEC_ALLOWDOCKING);
    EXPECT_EQ(opened.pages, std::vector<std::string>{"bars-workspaces.html"});
  }

  // The Window menu, opened by Alt+W: the window of Shape.h in its list highlighted, F1.
  {
    opened.pages.clear();
    ModalAnswers answers;
    std::string highlighted;
    answers.When(MENU_WINDOW_CLASS, nullptr, [&highlighted](HWND hPopup) {
      const auto hMenu = reinterpret_cast<HMENU>(::SendMessage(hPopup, MN_GETHMENU, 0, 0));
      const int count = ::GetMenuItemCount(hMenu);
      int entry = count - 1;
      char text[128] = {};
      for (; entry >= 0; --entry) {
        ::GetMenuString(hMenu, entry, text, sizeof text, MF_BYPOSITION);
        if (std::string(text).find("Shape.h") != std::string::npos) break;
      }
      highlighted = text;
      for (int item = entry; item < count; ++item)
        if (::GetMenuItemID(hMenu, item) != 0) PressKey(VK_UP);  // separators are passed over
      PressKey(VK_F1);
      RunUntilIdle();
      PressKey(VK_ESCAPE);
    });
    frame->SetFocus();
    PressKey('W', kAlt);
    RunUntilIdle();
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(answers.Unanswered().empty());
    EXPECT_NE(highlighted.find("Shape.h"), std::string::npos) << highlighted;
    EXPECT_EQ(opened.pages, std::vector<std::string>{"bars-workspaces.html"});
  }
}


}  // namespace

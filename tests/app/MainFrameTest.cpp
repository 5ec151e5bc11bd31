// The main frame: created with its toolbar (images drawn), menubar, status bar, explorer and
// workspace manager; its title; the component list; the recent-project menu; closing with the
// project question; the window commands; re-analysis; flashing from another thread; full screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "AppTestSupport.h"
#include "ExplorerTestSupport.h"
#include "app/CInkwrightApp.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/COurOwnTipDlg.h"
#include "app/HelpTopics.h"
#include "app/FileView.h"
#include "afx/CDocTemplate.h"
#include "bars/SECCustomToolBar.h"
#include "editor/app/CEditCodeView.h"
#include "editor/doc/CEditCodeDoc.h"
#include "gdi/SysColors.h"
#include "bars/SECMenuBar.h"
#include "bars/SECMenuBarFeature.h"
#include "bars/CommandBarsRes.h"
#include "bars/SECToolBarManager.h"
#include "bars/SECWorksheet.h"
#include "bars/SECWorkspaceManagerEx.h"
#include "model/CFileObj.h"
#include "resources/MainFrameRes.h"
#include "win/Input.h"
#include "win/ModalLoop.h"

using namespace brambolt::test;

namespace {

// What an update handler makes of a command: enabled and checked.
class StateCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override { enabled = bOn; }
  void SetCheck(int nCheck) override { checked = nCheck; }
  BOOL enabled = -1;
  int checked = -1;
};

// A view that records the full-screen notices it is posted.
class NoticeView : public CView {
 public:
  std::vector<WPARAM> notices;

 protected:
  void OnDraw(CDC*) override {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_FULLSCREEN_CHANGED) notices.push_back(wParam);
    return CView::WindowProc(message, wParam, lParam);
  }
};

// A workspace manager that counts the saves of the current workspace.
class CountingWorkspaces : public SECWorkspaceManagerEx {
  DECLARE_DYNCREATE(CountingWorkspaces)

 public:
  void SaveCurrentWorkspace() override { ++Saves(); }
  static int& Saves() {
    static int saves = 0;
    return saves;
  }
};
IMPLEMENT_DYNCREATE(CountingWorkspaces, SECWorkspaceManagerEx)

// Each popup menu that opens is closed again and recorded as its items' texts (up to a tab), each
// followed by ";", and the item count of a submenu between "|".
void RecordPopups(ModalAnswers& answers, std::vector<std::string>& popups) {
  answers.When("#32768", nullptr, [&popups](HWND menu) {
    HMENU popup = reinterpret_cast<HMENU>(::SendMessage(menu, MN_GETHMENU, 0, 0));
    std::string items;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
      char text[128] = {};
      ::GetMenuString(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      items += std::string(text).substr(0, std::string(text).find('\t')) + ";";
      if (HMENU sub = ::GetSubMenu(popup, i)) items += "|" + std::to_string(::GetMenuItemCount(sub)) + "|";
    }
    popups.push_back(items);
    ::EndMenu();
  }, true);
}

class MainFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    app.SetRegistryKey("Main Frame Test");
    SECInstallMenuBarHooks();
    frame = new CMainFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    app.m_pMainWnd = frame;
    hFrame = frame->GetSafeHwnd();
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    RunUntilIdle();
  }
  // A new source file's window, active and focused, from a template added for it (the program's
  // own source windows show maximised).
  void OpenSourceWindow(CMultiDocTemplate** docs, CRuntimeClass* frameClass = RUNTIME_CLASS(CMDIChildWnd)) {
    *docs = new CMultiDocTemplate(IDR_SOURCE_FILE_MENU, RUNTIME_CLASS(CEditCodeDoc), frameClass,
                                  RUNTIME_CLASS(CEditCodeView));
    app.AddDocTemplate(*docs);
    ASSERT_NE((*docs)->OpenDocumentFile(nullptr), nullptr);
    RunUntilIdle();
    CView* view = frame->MDIGetActive()->GetActiveView();
    ASSERT_NE(view, nullptr);
    view->SetFocus();
  }
  void TearDown() override {
    if (FrameAlive()) frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
    brambolt::afx::SetMessageBoxPresenter(nullptr);
  }
  // Closes the program and starts it again (with the same stores), as the user does.
  void Restart(const std::function<void()>& close = {}) {
    if (close)
      close();
    else
      frame->SendMessage(WM_CLOSE);
    RunUntilIdle();
    ASSERT_FALSE(FrameAlive());
    // The program ends there; its next run starts with no quit message waiting.
    MSG quit;
    ASSERT_TRUE(::PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    SetUp();
  }
  // The explorer shown and docked at the left as at the first start, whatever layout an earlier
  // test of this program left in the process's registry.
  void DockExplorerAsAtFirstStart() {
    frame->ShowProjectExplorer(TRUE);
    frame->DockControlBarEx(&frame->m_wndProjectExplorer, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 220);
    frame->RecalcLayout();
    RunUntilIdle();
  }
  // A command from the menubar's menus as the keyboard reaches it: Alt and the menu's letter,
  // then the item's letters in the menu.
  void MenuKeys(char menu, const char* keys) {
    ModalAnswers answers;
    answers.When("#32768", nullptr, [keys](HWND) { TypeText(keys); });
    frame->SetFocus();
    PressKey(static_cast<UINT>(menu), kAlt);
    RunUntilIdle();
  }
  // The frame deletes itself with its window, so its life is asked of the window handle.
  bool FrameAlive() const { return ::IsWindow(hFrame) != FALSE; }
  StateCmdUI Update(UINT nID) {
    StateCmdUI ui;
    ui.m_nID = nID;
    ui.DoUpdate(frame, FALSE);
    return ui;
  }
  SECWorksheet* AddChild(const char* title) {
    auto* sheet = new SECWorksheet;
    EXPECT_TRUE(sheet->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame));
    RunUntilIdle();
    return sheet;
  }
  CString Title() {
    CString text;
    frame->GetWindowText(text);
    return text;
  }
  static int DockBarOf(CWnd* bar) { return ::GetDlgCtrlID(::GetParent(bar->GetSafeHwnd())); }

  UiSession session;
  PrivateStores stores;
  explorertest::ProjectShell shell;
  CInkwrightApp app;
  CMainFrame* frame = nullptr;
  HWND hFrame = nullptr;
};

TEST_F(MainFrame, CreatedWithItsBarsMenusExplorerAndWorkspaceManager) {
  auto* toolbar = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(AFX_IDW_TOOLBAR));
  ASSERT_NE(toolbar, nullptr);
  const std::vector<UINT> expected = {32771, 0,     57601, 57603, 32775, 0,     57635, 57634, 57637,
                                      0,     57643, 57644, 0,     32793, 32783, 0,     32832, 32833,
                                      0,     32799, 32809, 32825, 0,     32800, 32802, 0,     57670};
  std::vector<UINT> ids;
  for (int i = 0; i < toolbar->GetBtnCount(); ++i) ids.push_back(toolbar->GetItemID(i));
  EXPECT_EQ(ids, expected);
  EXPECT_EQ(DockBarOf(toolbar), static_cast<int>(AFX_IDW_DOCKBAR_TOP));
  CString text;
  toolbar->GetWindowText(text);
  EXPECT_EQ(text, "ToolBar");

  SECMenuBar* menubar = frame->GetMenuBar();
  ASSERT_NE(menubar, nullptr);
  ASSERT_NE(menubar->GetSafeHwnd(), nullptr);
  int shown = 0;
  for (int i = 0; i < menubar->GetBtnCount(); ++i) shown += (menubar->GetButtonStyle(i) & TBBS_HIDDEN) == 0;
  EXPECT_EQ(shown, 8) << "File, Edit, View, Project, Build, Tools, Window, Help";

  const std::vector<UINT> panes = {ID_SEPARATOR, ID_INDICATOR_BLANKS, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                                   ID_INDICATOR_SCRL};
  ASSERT_EQ(frame->m_wndStatusBar.GetPaneCount(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(frame->m_wndStatusBar.GetItemID(i), panes[i]) << i;
  // The second pane shows whole the picture view's size of a large picture and the editor's
  // position in a long file.
  UINT nId = 0, nStyle = 0;
  int cxPane = 0;
  frame->m_wndStatusBar.GetPaneInfo(1, nId, nStyle, cxPane);
  {
    CClientDC dc(&frame->m_wndStatusBar);
    const HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(frame->m_wndStatusBar.SendMessage(WM_GETFONT)));
    for (const char* shown : {" 9999 x 9999 (99999Kb) ", "Ln 99999, Col 9999"})
      EXPECT_LE(dc.GetTextExtent(shown).cx, cxPane) << shown;
    ::SelectObject(dc.GetSafeHdc(), old);
  }

  ProjectWorkspaceWnd& explorer = frame->m_wndProjectExplorer;
  EXPECT_TRUE(explorer.IsVisible());
  EXPECT_EQ(explorer.GetDlgCtrlID(), IDW_PROJECT_EXPLORER);
  EXPECT_EQ(DockBarOf(&explorer), static_cast<int>(AFX_IDW_DOCKBAR_LEFT));
  explorer.GetWindowText(text);
  EXPECT_EQ(text, "Project Explorer");
  CRect rect;
  explorer.GetWindowRect(&rect);
  EXPECT_EQ(rect.Width(), ProjectWorkspaceWnd::kDefaultWidth);

  SECWorkspaceManagerEx* workspaces = frame->GetWorkspaceManager();
  ASSERT_NE(workspaces, nullptr);
  EXPECT_EQ(workspaces->GetBaseKey(), "Software\\MyCompany\\Brambolt\\v2.0\\");
  EXPECT_TRUE(workspaces->IsRegistryMode());
  EXPECT_TRUE(frame->GetWorkbookMode());
}

TEST_F(MainFrame, ToolbarShowsItsImages) {
  auto* toolbar = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(AFX_IDW_TOOLBAR));
  ASSERT_NE(toolbar, nullptr);
  CRect window;
  toolbar->GetWindowRect(&window);
  // Pixels of a colour inside a button (window coordinates of the toolbar).
  auto count = [&](int index, COLORREF colour) {
    CRect item;
    toolbar->GetItemRect(index, &item);
    toolbar->ClientToScreen(&item);
    item.OffsetRect(-window.left, -window.top);
    int n = 0;
    for (int y = item.top; y < item.bottom; ++y)
      for (int x = item.left; x < item.right; ++x) n += WindowPixel(toolbar->GetSafeHwnd(), x, y) == colour;
    return n;
  };
  EXPECT_GT(count(4, RGB(0, 0, 128)), 25) << "the disks of Save All";
  EXPECT_GT(count(2, RGB(128, 128, 0)), 20) << "the folder of Open File";
  EXPECT_GT(count(26, RGB(0, 0, 128)), 15) << "the question mark of Help";
  EXPECT_EQ(count(2, RGB(0, 0, 128)), 0);
  EXPECT_EQ(count(3, RGB(0, 0, 128)), 0) << "Save without a document is drawn greyed";
  SaveWindowPng(frame->GetSafeHwnd(), "MainFrameTest-frame.png");
}

TEST_F(MainFrame, MenubarPopupsShowTheirSubmenusWithArrows) {
  HMENU file = ::GetSubMenu(frame->m_hMenuBarMenu, 0);
  const int recent = 16;  // "&Recent Workspaces"
  ASSERT_NE(::GetSubMenu(file, recent), nullptr);
  ModalAnswers answers;
  UINT height = 0;
  int arrowPixels = 0;
  answers.When("#32768", nullptr, [&](HWND popup) {
    RunUntilIdle();
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_SUBMENU;
    ::GetMenuItemInfo(file, recent, TRUE, &info);
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.hSubMenu)), 0, 0,
                              info.dwItemData};
    frame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    height = measure.itemHeight;
    CRect rect;
    ::GetWindowRect(popup, &rect);
    for (int y = 0; y < rect.Height(); ++y)
      for (int x = rect.Width() - 14; x < rect.Width() - 3; ++x)
        arrowPixels += WindowPixel(popup, x, y) == ::GetSysColor(COLOR_MENUTEXT);
    ::EndMenu();
  });
  SECMenuBar* menubar = frame->GetMenuBar();
  CRect button;
  menubar->GetItemRect(0, &button);
  Click(menubar->GetSafeHwnd(), button.CenterPoint());
  RunUntilIdle();
  EXPECT_GT(height, 10u) << "a popup's item is measured like the others";
  EXPECT_GT(arrowPixels, 5) << "the arrow of the enabled submenu";
}

TEST_F(MainFrame, WindowMenuListsTheDocumentWindowsAndEndsWithTheWindowsDialog) {
  auto* docs = new CMultiDocTemplate(IDR_SOURCE_FILE_MENU, RUNTIME_CLASS(CEditCodeDoc), RUNTIME_CLASS(SECWorksheet),
                                     RUNTIME_CLASS(CEditCodeView));
  app.AddDocTemplate(docs);
  // Documents opened while the main window is still hidden, as at start-up, are listed too.
  frame->ShowWindow(SW_HIDE);
  docs->OpenDocumentFile(nullptr)->SetTitle("Circle.h");
  docs->OpenDocumentFile(nullptr)->SetTitle("Square.h");
  frame->ShowWindow(SW_SHOW);
  RunUntilIdle();
  EXPECT_EQ(frame->GetCurrentMenuBarMenuId(), static_cast<UINT>(IDR_SOURCE_FILE_MENU));
  HMENU window = ::GetSubMenu(frame->GetMenuForID(IDR_SOURCE_FILE_MENU), 6);
  ASSERT_NE(window, nullptr);
  std::vector<std::string> listed;
  for (int i = 0; i < ::GetMenuItemCount(window); ++i) {
    char text[128] = {};
    ::GetMenuString(window, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    if (::GetMenuItemID(window, i) >= AFX_IDM_FIRST_MDICHILD) listed.push_back(text);
  }
  EXPECT_EQ(listed, (std::vector<std::string>{"&1 Circle.h", "&2 Square.h"}));
  const int last = ::GetMenuItemCount(window) - 1;
  EXPECT_EQ(::GetMenuItemID(window, last), static_cast<UINT>(ID_WINDOW_LIST));
  EXPECT_EQ(frame->m_wndMDIClient.m_hWindowMenu, window);
  app.CloseAllDocuments(TRUE);
}

TEST_F(MainFrame, TitleNamesTheOpenProject) {
  frame->OnUpdateFrameTitle(TRUE);
  EXPECT_EQ(Title(), "Visual Brambolt");
  shell.name = "Shapes";
  AddChild("Shape.h");
  frame->OnUpdateFrameTitle(TRUE);
  EXPECT_EQ(Title(), "Shapes - Visual Brambolt") << "the active document's name is not shown";
}

TEST_F(MainFrame, ComponentListTakesTheTextAfterTheLastHash) {
  explorertest::ProjectFolder folder;
  const std::string path = folder.Write("Component.dat",
                                        "  Alpha#alpha.lst  \n"
                                        "\n"
                                        "NoHash\n"
                                        "#OnlyText\n"
                                        "OnlyName#\n"
                                        "Name#Text#More\n"
                                        " Beta # beta.lst\n");
  ASSERT_EQ(frame->LoadComponents(path.c_str()), 3);
  struct Row {
    int id;
    const char* name;
    const char* text;
  };
  const Row rows[] = {{1000, "Alpha", "alpha.lst"}, {1001, "Name#Text", "More"}, {1002, "Beta ", " beta.lst"}};
  POSITION pos = frame->m_listComponents.GetHeadPosition();
  for (const Row& row : rows) {
    const CGenMenuObj* component = frame->m_listComponents.GetNext(pos);
    EXPECT_EQ(component->m_nId, row.id);
    EXPECT_EQ(component->m_strComponentName, row.name);
    EXPECT_EQ(component->m_strComponentText, row.text);
    EXPECT_EQ(frame->GetComponentName(row.id), row.text);
  }
  EXPECT_EQ(frame->GetComponentName(999), "");
  EXPECT_EQ(frame->GetComponentName(1003), "");
  EXPECT_EQ(frame->LoadComponents((folder.root / "missing.dat").string().c_str()), 0);
  EXPECT_TRUE(frame->m_listComponents.IsEmpty());
}

TEST_F(MainFrame, RecentProjectMenuListsFourAndOpensOnlyProjectFiles) {
  CMenu popup;
  popup.CreatePopupMenu();
  popup.AppendMenu(MF_STRING, ID_RECENT_PROJECT_FIRST, "placeholder");
  popup.AppendMenu(MF_STRING, 32772, "Open Project");
  auto update = [&] {
    StateCmdUI ui;
    ui.m_pMenu = &popup;
    ui.m_nIndex = 0;
    ui.m_nID = ID_RECENT_PROJECT_FIRST;
    ui.m_nIndexMax = static_cast<UINT>(popup.GetMenuItemCount());
    ui.DoUpdate(frame, FALSE);
    return ui.m_nIndexMax;
  };
  auto text = [&](int index) {
    CString s;
    popup.GetMenuString(static_cast<UINT>(index), s, MF_BYPOSITION);
    return s;
  };
  EXPECT_EQ(update(), 2u);
  EXPECT_EQ(text(0), "Recent &File");
  EXPECT_TRUE(popup.GetMenuState(ID_RECENT_PROJECT_FIRST, MF_BYCOMMAND) & MF_GRAYED);

  for (const char* path : {"/p/one.dcp", "/p/two.txt", "/p/three.DCP", "/p/four.dcp", "/p/five.dcp", "/p/six.dcp"})
    app.m_listRecentProjects.AddTail(path);
  EXPECT_EQ(update(), 5u) << "four projects and the other item";
  EXPECT_EQ(text(0), "&1, /p/one.dcp");
  EXPECT_EQ(text(3), "&4, /p/four.dcp");
  EXPECT_EQ(popup.GetMenuItemID(4), 32772u);
  EXPECT_FALSE(popup.GetMenuState(ID_RECENT_PROJECT_FIRST + 3, MF_BYCOMMAND) & MF_GRAYED);

  // Opening a project file that no longer exists says so and takes it off the list; other files
  // open nothing.
  static std::vector<std::string> told;
  told.clear();
  brambolt::afx::SetMessageBoxPresenter([](HWND, LPCTSTR text, LPCTSTR, UINT) {
    told.push_back(text);
    return IDOK;
  });
  frame->SendMessage(WM_COMMAND, ID_RECENT_PROJECT_FIRST + 1);
  EXPECT_EQ(app.m_listRecentProjects.GetCount(), 6);
  EXPECT_TRUE(told.empty());
  frame->SendMessage(WM_COMMAND, ID_RECENT_PROJECT_FIRST + 2);
  EXPECT_EQ(app.m_listRecentProjects.GetCount(), 5);
  EXPECT_EQ(app.m_listRecentProjects.Find("/p/three.DCP"), nullptr);
  EXPECT_EQ(told, (std::vector<std::string>{"The project /p/three.DCP is not there any more: it was deleted or moved."}));
  frame->SendMessage(WM_COMMAND, ID_RECENT_PROJECT_FIRST + 9);
  EXPECT_EQ(app.m_listRecentProjects.GetCount(), 5);
}

TEST_F(MainFrame, ClosingAsksAboutAChangedProjectOnly) {
  struct Case {
    const char* name;
    BOOL modified;
    BOOL options;  // the documentation options kept in the project are among the changes
    BOOL help;     // so are the HTML Help settings
    int answer;
    bool asked, closed, saved;
  };
  const Case cases[] = {
      {"cancel", TRUE, FALSE, FALSE, IDCANCEL, true, false, false},
      {"no", TRUE, FALSE, FALSE, IDNO, true, true, false},
      {"yes", TRUE, FALSE, FALSE, IDYES, true, true, true},
      {"documentation options", TRUE, TRUE, FALSE, IDNO, true, true, false},
      {"help settings", TRUE, FALSE, TRUE, IDNO, true, true, false},
      {"unchanged", FALSE, FALSE, FALSE, IDYES, false, true, false},
  };
  static int answer;
  static int asked;
  static std::string question;
  brambolt::afx::SetMessageBoxPresenter([](HWND, LPCTSTR lpszText, LPCTSTR, UINT) {
    ++asked;
    question = lpszText;
    return answer;
  });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!FrameAlive()) SetUp();
    explorertest::ProjectFolder folder;
    shell.name = "Shapes";
    shell.folder = folder.Folder();
    shell.workspace.m_bModified = c.modified;
    shell.workspace.m_bDocOptionsChanged = c.options;
    shell.workspace.m_bHelpSettingsChanged = c.help;
    shell.workspace.m_DocTitleList.RemoveAll();
    app.m_listRecentProjects.RemoveAll();
    AddChild("Circle.h");
    answer = c.answer;
    asked = 0;
    frame->SendMessage(WM_CLOSE);
    RunUntilIdle();
    EXPECT_EQ(asked, c.asked ? 1 : 0);
    if (c.asked) {
      EXPECT_EQ(question.find("One or more project files have not been saved."), 0u) << question;
      EXPECT_EQ(question.find("options of Write Documentation") != std::string::npos, c.options != FALSE) << question;
      EXPECT_EQ(question.find("settings of Automatic Generate HTML Help") != std::string::npos, c.help != FALSE)
          << question;
    }
    EXPECT_EQ(FrameAlive() == FALSE, c.closed);
    EXPECT_EQ(folder.Exists("Shapes.dcp"), c.saved);
    EXPECT_EQ(static_cast<int>(app.GetProfileInt("BarState-Summary", "Bars", 0)) > 0, c.closed) << "the layout is saved on close";
    if (c.saved) {
      ASSERT_EQ(shell.workspace.m_DocTitleList.GetCount(), 1);
      EXPECT_EQ(shell.workspace.m_DocTitleList.GetHead(), "Circle.h");
      ASSERT_FALSE(app.m_listRecentProjects.IsEmpty());
      EXPECT_EQ(app.m_listRecentProjects.GetHead(), shell.folder + "Shapes.dcp");
    }
  }
}

TEST_F(MainFrame, ClosingSavesAnOpenWorkspaceOnly) {
  for (BOOL open : {FALSE, TRUE}) {
    if (!FrameAlive()) SetUp();
    auto* workspaces = dynamic_cast<CountingWorkspaces*>(
        frame->CreateWorkspacePlugIn("Software\\MyCompany\\Brambolt\\v2.0", TRUE, RUNTIME_CLASS(CountingWorkspaces), FALSE));
    ASSERT_NE(workspaces, nullptr);
    workspaces->m_bOpen = open;
    CountingWorkspaces::Saves() = 0;
    frame->SendMessage(WM_CLOSE);
    RunUntilIdle();
    EXPECT_FALSE(FrameAlive());
    EXPECT_EQ(CountingWorkspaces::Saves(), open ? 1 : 0);
  }
}

TEST_F(MainFrame, WindowCommandsFollowTheChildWindows) {
  EXPECT_FALSE(Update(ID_WINDOW_CLOSE_CHILD).enabled);
  EXPECT_FALSE(Update(ID_WINDOW_NEXT_CHILD).enabled);
  SECWorksheet* first = AddChild("First");
  EXPECT_TRUE(Update(ID_WINDOW_CLOSE_CHILD).enabled);
  EXPECT_FALSE(Update(ID_WINDOW_NEXT_CHILD).enabled) << "one child window";
  EXPECT_FALSE(Update(ID_WINDOW_PREVIOUS_CHILD).enabled);
  SECWorksheet* second = AddChild("Second");
  EXPECT_TRUE(Update(ID_WINDOW_NEXT_CHILD).enabled);
  EXPECT_TRUE(Update(ID_WINDOW_PREVIOUS_CHILD).enabled);

  CStringList names;
  names.AddTail("stale");
  frame->CollectOpenDocumentNames(names);
  ASSERT_EQ(names.GetCount(), 2);
  EXPECT_EQ(names.GetHead(), "Second") << "the active window first";
  EXPECT_EQ(names.GetTail(), "First");

  frame->SendMessage(WM_COMMAND, ID_WINDOW_NEXT_CHILD);
  EXPECT_EQ(frame->MDIGetActive(), first);
  frame->SendMessage(WM_COMMAND, ID_WINDOW_PREVIOUS_CHILD);
  EXPECT_EQ(frame->MDIGetActive(), second);
  frame->SendMessage(WM_COMMAND, ID_WINDOW_CLOSE_CHILD);
  RunUntilIdle();
  EXPECT_EQ(frame->MDIGetActive(), first);
}

// The Window menu's Close shows a key a window manager leaves to the program (under one, Alt+F4
// never reaches it and closes the whole program), and that key closes the document window.
TEST_F(MainFrame, WindowMenuCloseShowsAKeyTheDesktopLeavesAndThatKeyClosesTheDocumentWindow) {
  // Keys pass the application's pre-translation, as in its message loop.
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  CMultiDocTemplate* docs = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenSourceWindow(&docs));
  std::string item;
  {
    ModalAnswers answers;
    answers.When("#32768", nullptr, [&item](HWND menu) {
      char text[128] = {};
      ::GetMenuString(reinterpret_cast<HMENU>(::SendMessage(menu, MN_GETHMENU, 0, 0)), ID_WINDOW_CLOSE_CHILD, text,
                      sizeof text, MF_BYCOMMAND);
      item = text;
      ::EndMenu();
    });
    frame->MDIGetActive()->GetActiveView()->SetFocus();
    PressKey('W', kAlt);
    RunUntilIdle();
  }
  const size_t tab = item.find('\t');
  ASSERT_NE(tab, std::string::npos) << "Window > Close shows no key: " << item;
  // The key as the menu names it: modifiers joined with '+', then the key (F1 to F12 or a letter).
  std::string name = item.substr(tab + 1);
  UINT mods = kNone;
  for (const auto& [prefix, mod] : {std::pair<std::string, UINT>{"Ctrl+", kCtrl}, {"Shift+", kShift}, {"Alt+", kAlt}})
    if (size_t at = name.find(prefix); at != std::string::npos) {
      mods |= mod;
      name.erase(at, prefix.size());
    }
  EXPECT_EQ(mods & kAlt, 0u) << "a window manager takes " << item.substr(tab + 1);
  const UINT vk = name.size() > 1 && name[0] == 'F' ? VK_F1 + static_cast<UINT>(std::stoi(name.substr(1))) - 1
                                                    : static_cast<UINT>(name[0]);
  PressKey(vk, mods);
  RunUntilIdle();
  EXPECT_EQ(frame->MDIGetActive(), nullptr) << item.substr(tab + 1) << " did not close the document window";
  EXPECT_TRUE(FrameAlive());
}

TEST_F(MainFrame, AltF4ClosesTheDocumentWindowThenTheProgram) {
  // Keys pass the application's pre-translation, as in its message loop.
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  AddChild("First");
  frame->SetFocus();
  PressKey(VK_F4, kAlt);
  RunUntilIdle();
  EXPECT_EQ(frame->MDIGetActive(), nullptr);
  ASSERT_TRUE(FrameAlive());
  frame->SetFocus();
  PressKey(VK_F4, kAlt);
  RunUntilIdle();
  EXPECT_FALSE(FrameAlive()) << "no document window: the main window closes";
}

TEST_F(MainFrame, CtrlFInAnEditorFindsRatherThanOpeningANewFile) {
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  CMultiDocTemplate* docs = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenSourceWindow(&docs));
  ModalAnswers answers;
  CString caption;
  answers.When(nullptr, nullptr, [&](HWND dialog) {
    CWnd::FromHandle(dialog)->GetWindowText(caption);
    ::EndDialog(dialog, IDCANCEL);
  });
  PressKey('F', kCtrl);
  RunUntilIdle();
  EXPECT_EQ(caption, "Find") << "the editor's Find";
  int documents = 0;
  for (POSITION pos = docs->GetFirstDocPosition(); pos != nullptr; docs->GetNextDoc(pos)) ++documents;
  EXPECT_EQ(documents, 1) << "no new file";
  app.CloseAllDocuments(TRUE);
}

TEST_F(MainFrame, ARightClickOrADotInASourceWindowShowsTheEditMenu) {
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  CMultiDocTemplate* docs = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenSourceWindow(&docs));
  CView* view = frame->MDIGetActive()->GetActiveView();
  std::vector<std::string> popups;
  ModalAnswers answers;
  RecordPopups(answers, popups);
  const std::string edit =
      "Cu&t;&Copy;&Paste;Cle&ar;Select A&ll;Clear All Te&xt;;&Find...;R&eplace...;&Go To Line...;;"
      "&Advance Operation;|6|Boo&kmarks;|5|";
  Click(view->m_hWnd, CPoint(40, 30), kNone, WM_RBUTTONDOWN);
  RunUntilIdle();
  TypeText("abc.");
  RunUntilIdle();
  EXPECT_EQ(popups, (std::vector<std::string>{edit, edit}));
  app.CloseAllDocuments(TRUE);
}

TEST_F(MainFrame, WindowsAndTipCommandsRunTheirDialogs) {
  AddChild("First");
  AddChild("Second");
  ModalAnswers answers;
  int listed = -1;
  answers.When(nullptr, "Windows", [&](HWND dialog) {
    listed = static_cast<int>(::SendDlgItemMessage(dialog, 1041, LB_GETCOUNT, 0, 0));
    ::EndDialog(dialog, IDOK);
  });
  frame->SendMessage(WM_COMMAND, ID_WINDOW_LIST);
  EXPECT_EQ(listed, 2);

  // The tip number follows the system's profile (empty here), which the command only reads.
  int shown = -1;
  answers.When(nullptr, nullptr, [&](HWND dialog) {
    auto* tips = dynamic_cast<COurOwnTipDlg*>(CWnd::FromHandlePermanent(dialog));
    if (tips != nullptr) shown = tips->m_nCurrentTip;
    ::CheckDlgButton(dialog, 43060, BST_CHECKED);
    apptest::DlgCommand(dialog, 43060);
    apptest::DlgCommand(dialog, IDOK);
  });
  frame->SendMessage(WM_COMMAND, ID_HELP_TIP_OF_THE_DAY);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(frame->m_nTipCurrent, 1);
  EXPECT_TRUE(frame->m_bTipShowAtStartup) << "the dialog's show flag is kept";
  EXPECT_TRUE(answers.Unanswered().empty());
}

TEST_F(MainFrame, ReanalyseProjectReadsTheHeadersAndRefillsTheTrees) {
  explorertest::ProjectFolder folder;
  folder.Write("Header Files/Shape.h", "class Shape\n{\npublic:\n  int Area();\n};\n");
  shell.folder = folder.Folder();
  auto* files = dynamic_cast<FileView*>(frame->m_wndProjectExplorer.GetTree(ProjectWorkspaceWnd::kTabFile));
  ASSERT_NE(files, nullptr);
  auto headerCount = [&] {
    int n = 0;
    for (HTREEITEM item = files->GetChildItem(files->m_hHeaderFolder); item != nullptr; item = files->GetNextSiblingItem(item))
      ++n;
    return n;
  };
  frame->ReanalyseProject();
  EXPECT_EQ(headerCount(), 0) << "no project is open";

  shell.name = "Shapes";
  frame->ReanalyseProject();
  EXPECT_NE(shell.workspace.FindClassByName("Shape"), nullptr);
  EXPECT_EQ(headerCount(), 1);
  EXPECT_EQ(files->GetItemText(files->GetChildItem(files->m_hHeaderFolder)), "Shape.h");
}

TEST_F(MainFrame, ExplorerCommandShowsAndHidesTheBar) {
  EXPECT_EQ(Update(ID_VIEW_PROJECT_EXPLORER).checked, 1);
  frame->SendMessage(WM_COMMAND, ID_VIEW_PROJECT_EXPLORER);
  frame->RecalcLayout();
  RunUntilIdle();
  EXPECT_FALSE(frame->m_wndProjectExplorer.IsWindowVisible());
  EXPECT_EQ(Update(ID_VIEW_PROJECT_EXPLORER).checked, 0);
  EXPECT_FALSE(frame->ShowProjectExplorer(FALSE)) << "already hidden";
  EXPECT_TRUE(frame->ShowProjectExplorer(TRUE));
  EXPECT_TRUE(frame->m_wndProjectExplorer.IsWindowVisible());
  EXPECT_EQ(DockBarOf(&frame->m_wndProjectExplorer), static_cast<int>(AFX_IDW_DOCKBAR_LEFT));
}

TEST_F(MainFrame, LayoutSavedAtCloseComesBackAtTheNextStart) {
  frame->ShowProjectExplorer(FALSE);
  auto* toolbar = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(AFX_IDW_TOOLBAR));
  ASSERT_NE(toolbar, nullptr);
  frame->DockControlBarEx(toolbar, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 0);
  frame->RecalcLayout();
  RunUntilIdle();
  ASSERT_NO_FATAL_FAILURE(Restart());
  EXPECT_FALSE(frame->m_wndProjectExplorer.IsWindowVisible());
  toolbar = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(AFX_IDW_TOOLBAR));
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(DockBarOf(toolbar), static_cast<int>(AFX_IDW_DOCKBAR_BOTTOM));
  EXPECT_EQ(toolbar->GetBtnCount(), 27);
}

// The floating frame around a bar, and a press-move-release of the left button on its border or
// caption at a screen point, as the user does it (the drag runs in the frame's own loop).
CFrameWnd* FloatingFrameOf(CControlBar* bar) {
  return bar->IsFloating() ? bar->GetParentFrame() : nullptr;
}
std::string R(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}
std::filesystem::path ProgramFolder() {
  char program[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, program, MAX_PATH);
  return std::filesystem::path(program).parent_path();
}
CRect WindowRectOf(CWnd* wnd) {
  CRect rect;
  wnd->GetWindowRect(&rect);
  return rect;
}
void DragFrameAt(POINT from, POINT to) {
  UiScript script;
  script.Then([&] {
    brambolt::InjectMouseMove(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
    brambolt::InjectMouseMove(to);
    brambolt::InjectMouseButton(WM_LBUTTONUP, to);
  });
  brambolt::InjectMouseMove(from);
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, from);
  RunUntilIdle();
}

// The Project Explorer widened on a large screen, and one whose stored width no screen has, is
// fitted to the screen the program starts on: the document beside it still takes the mouse and
// the keyboard, and View > Project Explorer hides and shows the bar.
TEST_F(MainFrame, ExplorerWidthSavedOnALargerScreenOrOutOfRangeFitsTheScreen) {
  const SIZE screen{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  struct ScreenBack {
    SIZE size;
    ~ScreenBack() { brambolt::SetScreenSize(size.cx, size.cy); }
  } back{screen};
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  // The frame is made anew at each restart: its explorer is looked up each time.
  auto explorer = [&]() -> ProjectWorkspaceWnd& { return frame->m_wndProjectExplorer; };
  auto closeOn = [&](int cx, int cy, const std::function<void()>& then = {}) {
    return [&, cx, cy, then] {
      frame->SendMessage(WM_CLOSE);
      RunUntilIdle();
      brambolt::SetScreenSize(cx, cy);
      if (then) then();
    };
  };
  // Whether a document beside the explorer shows, and a word typed into it after a click arrives.
  auto typingReachesTheDocument = [&]() {
    CMultiDocTemplate* docs = nullptr;
    OpenSourceWindow(&docs);
    CView* view = frame->MDIGetActive()->GetActiveView();
    // The keyboard is elsewhere until the user clicks into the document.
    frame->SetFocus();
    // Where the document shows inside the frame, the user clicks.
    CRect shown, client;
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    shown.IntersectRect(WindowRectOf(view), client);
    if (shown.Width() < 40 || shown.Height() < 40) {
      app.CloseAllDocuments(TRUE);
      return false;
    }
    ClickAt(CPoint(shown.left + 20, shown.top + 20));
    TypeText("word");
    RunUntilIdle();
    auto* doc = static_cast<CEditCodeDoc*>(view->GetDocument());
    CString text;
    const SECEditLineCol end = doc->GetEdit()->GetEndPosition();
    doc->GetEdit()->GetText(&text, 0, 0, end.m_nLine, end.m_nCol);
    app.CloseAllDocuments(TRUE);
    RunUntilIdle();
    return text == "word";
  };
  auto explorerSection = [&]() {
    for (int i = 0; i < static_cast<int>(app.GetProfileInt("BarState-Summary", "Bars", 0)); ++i) {
      CString section;
      section.Format("BarState-Bar%d", i);
      if (app.GetProfileInt(section, "BarID", 0) == IDW_PROJECT_EXPLORER) return section;
    }
    return CString();
  };

  ASSERT_NO_FATAL_FAILURE(Restart(closeOn(2560, 1440)));
  DockExplorerAsAtFirstStart();
  frame->DockControlBarEx(&explorer(), AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 2300);
  frame->RecalcLayout();
  RunUntilIdle();
  ASSERT_GE(WindowRectOf(&explorer()).Width(), 2300);
  for (SIZE small : {SIZE{1280, 1024}, SIZE{800, 600}}) {
    ASSERT_NO_FATAL_FAILURE(Restart(closeOn(small.cx, small.cy)));
    EXPECT_TRUE(explorer().IsWindowVisible());
    EXPECT_LE(WindowRectOf(&explorer()).Width(), small.cx * 2300 / 2560 + 8) << small.cx;
    EXPECT_TRUE(typingReachesTheDocument()) << small.cx;
    // Widened again on the larger screen for the next round.
    ASSERT_NO_FATAL_FAILURE(Restart(closeOn(2560, 1440)));
    EXPECT_GE(WindowRectOf(&explorer()).Width(), 2000) << "back on the large screen it is as wide as it was";
    frame->DockControlBarEx(&explorer(), AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 2300);
    frame->RecalcLayout();
    RunUntilIdle();
  }

  // A width near 2^31 written into the stored layout by hand.
  ASSERT_NO_FATAL_FAILURE(Restart(closeOn(screen.cx, screen.cy, [&] {
    const CString section = explorerSection();
    ASSERT_FALSE(section.IsEmpty());
    app.WriteProfileInt(section, "MRUVertDockCX", 2147483647);
    app.WriteProfileInt(section, "MRUHorzDockCX", 2147483640);
    app.WriteProfileInt(section, "MRUFloatCX", 2147483647);
  })));
  EXPECT_TRUE(explorer().IsWindowVisible());
  EXPECT_LE(WindowRectOf(&explorer()).Width(), screen.cx);
  EXPECT_TRUE(typingReachesTheDocument());
  MenuKeys('V', "e");
  frame->RecalcLayout();
  RunUntilIdle();
  EXPECT_FALSE(explorer().IsWindowVisible());
  MenuKeys('V', "e");
  frame->RecalcLayout();
  RunUntilIdle();
  EXPECT_TRUE(explorer().IsWindowVisible());
  EXPECT_GT(WindowRectOf(&explorer()).Width(), 20);
  // What is saved again is a width of this screen.
  ASSERT_NO_FATAL_FAILURE(Restart());
  const CString section = explorerSection();
  ASSERT_FALSE(section.IsEmpty());
  EXPECT_LE(static_cast<int>(app.GetProfileInt(section, "MRUVertDockCX", 0)), screen.cx);
  if (app.GetProfileInt(section, "Docking", 0) != 0) {
    EXPECT_GE(static_cast<int>(app.GetProfileInt(section, "MRUDockRightPos", 0)),
              static_cast<int>(app.GetProfileInt(section, "MRUDockLeftPos", 0)));
  }
  EXPECT_TRUE(explorer().IsWindowVisible());
  DockExplorerAsAtFirstStart();
}

TEST_F(MainFrame, FloatingBarsRestoredAtTheNextStartSizeFromEveryEdgeAsFreshOnes) {
  auto* toolbar = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(AFX_IDW_TOOLBAR));
  ASSERT_NE(toolbar, nullptr);
  DockExplorerAsAtFirstStart();
  frame->FloatControlBar(&frame->m_wndProjectExplorer, CPoint(260, 180), CBRS_ALIGN_TOP);
  frame->FloatControlBar(toolbar, CPoint(120, 520), CBRS_ALIGN_TOP);
  RunUntilIdle();
  ASSERT_TRUE(frame->m_wndProjectExplorer.IsFloating());
  ASSERT_NO_FATAL_FAILURE(Restart());
  CControlBar* explorer = &frame->m_wndProjectExplorer;
  ASSERT_TRUE(explorer->IsFloating());
  // Each edge and corner of the explorer's frame, dragged 20 pixels outward, moves that edge
  // only: the opposite ones stay.
  const struct {
    UINT hit;
    int dx, dy;
  } edges[] = {{HTLEFT, -1, 0},     {HTRIGHT, 1, 0},     {HTTOP, 0, -1},         {HTBOTTOM, 0, 1},
               {HTTOPLEFT, -1, -1}, {HTTOPRIGHT, 1, -1}, {HTBOTTOMLEFT, -1, 1}, {HTBOTTOMRIGHT, 1, 1}};
  for (const auto& [hit, dx, dy] : edges) {
    CFrameWnd* floating = FloatingFrameOf(explorer);
    ASSERT_NE(floating, nullptr) << hit;
    const CRect before = WindowRectOf(floating);
    const POINT at{dx < 0 ? before.left + 1 : dx > 0 ? before.right - 2 : before.CenterPoint().x,
                   dy < 0 ? before.top + 1 : dy > 0 ? before.bottom - 2 : before.CenterPoint().y};
    ASSERT_EQ(floating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), static_cast<LRESULT>(hit));
    DragFrameAt(at, POINT{at.x + 20 * dx, at.y + 20 * dy});
    ASSERT_EQ(FloatingFrameOf(explorer), floating) << hit;
    CRect expected = before;
    (dx < 0 ? expected.left : expected.right) += dx < 0 ? -20 : dx > 0 ? 20 : 0;
    (dy < 0 ? expected.top : expected.bottom) += dy < 0 ? -20 : dy > 0 ? 20 : 0;
    EXPECT_EQ(R(WindowRectOf(floating)), R(expected)) << "edge " << hit;
  }
  // The toolbar sizes along one dimension: its right edge pulled halfway in wraps its buttons
  // into more rows, its left edge staying.
  toolbar = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(AFX_IDW_TOOLBAR));
  ASSERT_NE(toolbar, nullptr);
  CFrameWnd* floating = FloatingFrameOf(toolbar);
  ASSERT_NE(floating, nullptr);
  const CRect before = WindowRectOf(floating);
  const POINT at{before.right - 2, before.CenterPoint().y};
  ASSERT_EQ(floating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), static_cast<LRESULT>(HTRIGHT));
  DragFrameAt(at, POINT{at.x - before.Width() / 2, at.y});
  const CRect after = WindowRectOf(FloatingFrameOf(toolbar));
  EXPECT_EQ(after.TopLeft(), before.TopLeft());
  EXPECT_LT(after.Width(), before.Width());
  EXPECT_GT(after.Height(), before.Height());
}

TEST_F(MainFrame, FloatingToolbarAndMenubarKeepTheirShapeWhenMovedByTheirCaption) {
  CControlBar* bars[] = {frame->GetControlBar(AFX_IDW_TOOLBAR), frame->GetControlBar(0xE8FF)};
  CRect client;
  frame->GetClientRect(&client);
  frame->ClientToScreen(&client);
  for (CControlBar* bar : bars) {
    ASSERT_NE(bar, nullptr);
    frame->FloatControlBar(bar, CPoint(client.CenterPoint().x - 150, client.CenterPoint().y - 60), CBRS_ALIGN_TOP);
    RunUntilIdle();
    CFrameWnd* floating = FloatingFrameOf(bar);
    ASSERT_NE(floating, nullptr);
    const CRect before = WindowRectOf(floating);
    ASSERT_GT(before.Width(), 2 * before.Height()) << "floats as a row";
    // Moved twice by the caption, away from every side of the window.
    for (const CSize move : {CSize(40, 60), CSize(-25, 30)}) {
      const CRect from = WindowRectOf(FloatingFrameOf(bar));
      const POINT at{from.left + 12, from.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYSMCAPTION) / 2};
      ASSERT_EQ(FloatingFrameOf(bar)->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), static_cast<LRESULT>(HTCAPTION));
      DragFrameAt(at, POINT{at.x + move.cx, at.y + move.cy});
      ASSERT_NE(FloatingFrameOf(bar), nullptr) << "still floating";
      const CRect after = WindowRectOf(FloatingFrameOf(bar));
      EXPECT_EQ(after.Size(), before.Size()) << bar->GetDlgCtrlID();
      EXPECT_EQ(after.TopLeft(), from.TopLeft() + move) << bar->GetDlgCtrlID() << " lands where the mouse took it";
    }
  }
}

// A floating toolbar and the menubar narrowed by their right edges (wrapping their buttons into
// more rows) come back at the next start in the very shape they were left in.
TEST_F(MainFrame, NarrowedFloatingToolbarAndMenubarComeBackInTheirShapeAtTheNextStart) {
  const UINT ids[] = {AFX_IDW_TOOLBAR, SEC_IDW_MENUBAR};
  const CPoint places[] = {CPoint(60, 420), CPoint(60, 160)};
  CRect left[2];
  for (int i = 0; i < 2; ++i) {
    CControlBar* bar = frame->GetControlBar(ids[i]);
    ASSERT_NE(bar, nullptr);
    frame->FloatControlBar(bar, places[i], CBRS_ALIGN_TOP);
    RunUntilIdle();
    ASSERT_NE(FloatingFrameOf(bar), nullptr);
    const CRect before = WindowRectOf(FloatingFrameOf(bar));
    const POINT at{before.right - 2, before.CenterPoint().y};
    ASSERT_EQ(FloatingFrameOf(bar)->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), static_cast<LRESULT>(HTRIGHT));
    DragFrameAt(at, POINT{at.x - before.Width() * 6 / 10, at.y});
    left[i] = WindowRectOf(FloatingFrameOf(bar));
    ASSERT_LT(left[i].Width(), before.Width());
    ASSERT_GT(left[i].Height(), before.Height()) << ids[i] << " wraps into more rows";
  }
  ASSERT_NO_FATAL_FAILURE(Restart());
  for (int i = 0; i < 2; ++i) {
    CControlBar* bar = frame->GetControlBar(ids[i]);
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(FloatingFrameOf(bar), nullptr) << ids[i];
    EXPECT_EQ(R(WindowRectOf(FloatingFrameOf(bar))), R(left[i])) << ids[i];
  }
  // Docked again and saved so, as the other tests of the frame expect to find them.
  for (UINT id : ids) {
    CControlBar* bar = frame->GetControlBar(id);
    bar->m_nMRUWidth = 32767;
    frame->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
  }
  ASSERT_NO_FATAL_FAILURE(Restart());
}

// The menubar floated beside a maximised document comes back at the next start in the shape it
// was left in once a document is maximised again: the document's icon first and its window
// buttons last, none over a menu's name, a click on File opens that menu at once and one on the
// icon the document's window menu.
TEST_F(MainFrame, FloatingMenubarBesideAMaximisedDocumentComesBackWithItsWindowButtons) {
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  auto maximiseDocument = [&] {
    CMultiDocTemplate* docs = nullptr;
    OpenSourceWindow(&docs, RUNTIME_CLASS(CChildFrame));
  };
  ASSERT_NO_FATAL_FAILURE(maximiseDocument());
  frame->FloatControlBar(frame->GetMenuBar(), CPoint(60, 160), CBRS_ALIGN_TOP);
  RunUntilIdle();
  ASSERT_NE(FloatingFrameOf(frame->GetMenuBar()), nullptr);
  const CRect left = WindowRectOf(FloatingFrameOf(frame->GetMenuBar()));
  ASSERT_NO_FATAL_FAILURE(Restart());
  brambolt::ScopedLoopFilter again([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  ASSERT_NO_FATAL_FAILURE(maximiseDocument());
  SECMenuBar* bar = frame->GetMenuBar();
  ASSERT_NE(FloatingFrameOf(bar), nullptr);
  EXPECT_EQ(R(WindowRectOf(FloatingFrameOf(bar))), R(left));
  CRect client;
  bar->GetClientRect(&client);
  std::vector<std::pair<int, CRect>> shown;
  for (int i = 0; i < bar->GetBtnCount(); ++i) {
    if (bar->GetButtonStyle(i) & TBBS_HIDDEN) continue;
    CRect rect;
    bar->GetItemRect(i, &rect);
    EXPECT_EQ(CRect().IntersectRect(&rect, &client), TRUE) << i << " inside the bar";
    for (const auto& [other, otherRect] : shown)
      EXPECT_FALSE(CRect().IntersectRect(&rect, &otherRect)) << i << " over " << other;
    shown.emplace_back(i, rect);
  }
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(bar->GetButton(shown.front().first)->m_nType, SECStdBtn::CapMenuBtn) << "the document's icon first";
  EXPECT_EQ(bar->GetButton(shown.back().first)->m_nType, SECStdBtn::CaptionBtn) << "its window buttons last";
  std::vector<std::string> popups;
  {
    ModalAnswers answers;
    RecordPopups(answers, popups);
    Click(bar->m_hWnd, shown[1].second.CenterPoint());
    RunUntilIdle();
  }
  ASSERT_EQ(popups.size(), 1u) << "File opens";
  EXPECT_EQ(popups[0].rfind("&New", 0), 0u) << popups[0];
  {
    ModalAnswers answers;
    RecordPopups(answers, popups);
    Click(bar->m_hWnd, shown.front().second.CenterPoint());
    RunUntilIdle();
  }
  ASSERT_EQ(popups.size(), 2u) << "the document's icon opens its window menu";
  EXPECT_NE(popups[1].find("Close"), std::string::npos) << popups[1];
  // Docked again and saved so, as the other tests of the frame expect to find it.
  bar->m_nMRUWidth = 32767;
  frame->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
  ASSERT_NO_FATAL_FAILURE(Restart());
}

// Left in full screen (View > Full Screen, then Alt+F4), the program starts again with its caption
// and every bar, and no "Full Screen" window. A layout saved with the menubar hidden still shows
// it; one an earlier run saved in full screen starts with the menubar, whose View menu brings the
// other bars back, and without the full-screen button bar.
TEST_F(MainFrame, LeftInFullScreenTheNextStartHasItsBarsAndNoFullScreenWindow) {
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  DockExplorerAsAtFirstStart();
  const UINT bars[] = {AFX_IDW_TOOLBAR, SEC_IDW_MENUBAR, AFX_IDW_STATUS_BAR, IDW_PROJECT_EXPLORER};
  auto expectStarted = [&](std::initializer_list<UINT> shown) {
    EXPECT_FALSE(frame->m_FullScreen.IsFullScreen());
    EXPECT_TRUE(frame->GetStyle() & WS_CAPTION);
    for (UINT id : bars) {
      CControlBar* bar = frame->GetControlBar(id);
      ASSERT_NE(bar, nullptr) << id;
      EXPECT_EQ(bar->IsWindowVisible() != FALSE, std::find(shown.begin(), shown.end(), id) != shown.end()) << id;
    }
    const HWND fullScreen = ::FindWindow(nullptr, "Full Screen");
    EXPECT_TRUE(fullScreen == nullptr || !::IsWindowVisible(fullScreen)) << "no Full Screen window";
  };
  MenuKeys('V', "f");
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  ASSERT_NE(::FindWindow(nullptr, "Full Screen"), nullptr);
  ASSERT_NO_FATAL_FAILURE(Restart([&] {
    frame->SetFocus();
    PressKey(VK_F4, kAlt);
  }));
  expectStarted({AFX_IDW_TOOLBAR, SEC_IDW_MENUBAR, AFX_IDW_STATUS_BAR, IDW_PROJECT_EXPLORER});

  frame->ShowControlBar(frame->GetMenuBar(), FALSE, FALSE);
  ASSERT_NO_FATAL_FAILURE(Restart());
  expectStarted({AFX_IDW_TOOLBAR, SEC_IDW_MENUBAR, AFX_IDW_STATUS_BAR, IDW_PROJECT_EXPLORER});

  MenuKeys('V', "f");
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  frame->SaveBarState("BarState");
  ASSERT_NO_FATAL_FAILURE(Restart([&] {
    frame->DestroyWindow();
    ::PostQuitMessage(0);
  }));
  expectStarted({SEC_IDW_MENUBAR});
  MenuKeys('V', "t");
  MenuKeys('V', "s");
  MenuKeys('V', "e");
  frame->RecalcLayout();
  RunUntilIdle();
  expectStarted({AFX_IDW_TOOLBAR, SEC_IDW_MENUBAR, AFX_IDW_STATUS_BAR, IDW_PROJECT_EXPLORER});
  ASSERT_NO_FATAL_FAILURE(Restart());
}

// A toolbar the user changed comes back from the View menu: View > Toolbar and View > Status Bar
// hide and show those bars (also after a restart), and View > Customize Toolbars... opens the
// Commands and Toolbars pages, whose Reset gives the toolbar its buttons back.
TEST_F(MainFrame, ViewMenuShowsTheBarsAndItsCustomizePagesResetAChangedToolbar) {
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  auto viewMenu = [&](const char* key) { MenuKeys('V', key); };
  auto toolbar = [&] { return dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(AFX_IDW_TOOLBAR)); };
  ASSERT_NE(toolbar(), nullptr);
  const int buttons = toolbar()->GetBtnCount();
  EXPECT_EQ(Update(ID_VIEW_TOOLBAR).checked, 1);
  EXPECT_EQ(Update(ID_VIEW_STATUS_BAR).checked, 1);
  viewMenu("t");
  EXPECT_FALSE(toolbar()->IsWindowVisible());
  EXPECT_EQ(Update(ID_VIEW_TOOLBAR).checked, 0);
  viewMenu("s");
  EXPECT_FALSE(frame->m_wndStatusBar.IsWindowVisible());
  ASSERT_NO_FATAL_FAILURE(Restart());
  brambolt::ScopedLoopFilter again([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  EXPECT_FALSE(toolbar()->IsWindowVisible());
  viewMenu("t");
  viewMenu("s");
  EXPECT_TRUE(toolbar()->IsWindowVisible());
  EXPECT_TRUE(frame->m_wndStatusBar.IsWindowVisible());

  // A button Alt-dragged off the toolbar, then the pages: the toolbar selected on the Toolbars
  // page and reset.
  CRect button;
  toolbar()->GetItemRect(0, &button);
  CRect client;
  frame->GetClientRect(&client);
  Drag(nullptr, ScreenPoint(toolbar()->m_hWnd, button.CenterPoint()), ScreenPoint(frame->m_hWnd, client.CenterPoint()), 4,
       kAlt);
  ASSERT_EQ(toolbar()->GetBtnCount(), buttons - 2) << "the button and the separator after it";
  std::vector<CString> pages;
  bool customising = false;
  ModalAnswers answers;
  answers.When(nullptr, "Customize", [&](HWND window) {
    auto* sheet = static_cast<CPropertySheet*>(CWnd::FromHandle(window));
    for (int i = 0; i < sheet->GetPageCount(); ++i) {
      CString title;
      sheet->GetPage(i)->GetWindowText(title);
      pages.push_back(title);
    }
    customising = static_cast<SECToolBarManager*>(frame->GetToolBarManager())->InCustomizeMode() != FALSE;
    sheet->SetActivePage(1);
    RunUntilIdle();
    CWnd* page = sheet->GetActivePage();
    auto* list = static_cast<CCheckListBox*>(page->GetDlgItem(IDC_SEC_TOOLBAR_LIST));
    for (int i = 0; i < list->GetCount(); ++i)
      if (list->GetItemData(i) == AFX_IDW_TOOLBAR) list->SetCurSel(i);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_TOOLBAR_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list->m_hWnd));
    Click(page->GetDlgItem(IDC_SEC_TOOLBAR_RESET)->m_hWnd, CPoint(5, 5));
    Click(::GetDlgItem(window, IDOK), CPoint(5, 5));
  });
  viewMenu("c");
  EXPECT_EQ(pages.size(), 2u);
  EXPECT_TRUE(customising) << "buttons are dragged while the Commands page shows";
  EXPECT_EQ(toolbar()->GetBtnCount(), buttons) << "reset to its first buttons";
  EXPECT_TRUE(frame->IsWindowEnabled());
  EXPECT_FALSE(static_cast<SECToolBarManager*>(frame->GetToolBarManager())->InConfigMode());
  // Saved with every bar shown, as the other tests of the frame expect to find them.
  ASSERT_NO_FATAL_FAILURE(Restart());
  EXPECT_EQ(toolbar()->GetBtnCount(), buttons);
}

// Cancel on the Customize sheet gives back what its Toolbars page changed, also at the next
// start: a floating toolbar narrowed into more rows and then reset keeps its shape, a toolbar of
// the user's renamed keeps its name.
TEST_F(MainFrame, CustomizeCancelGivesBackAResetToolbarsShapeAndARenamedToolbarsName) {
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  auto* manager = static_cast<SECToolBarManager*>(frame->GetToolBarManager());
  SECCustomToolBar* mine = manager->CreateUserToolBar("Mine");
  ASSERT_NE(mine, nullptr);
  const UINT mineId = static_cast<UINT>(mine->GetDlgCtrlID());
  mine->InsertButton(0, ID_FILE_OPEN);
  CControlBar* toolbar = frame->GetControlBar(AFX_IDW_TOOLBAR);
  frame->FloatControlBar(toolbar, CPoint(60, 420), CBRS_ALIGN_TOP);
  RunUntilIdle();
  ASSERT_NE(FloatingFrameOf(toolbar), nullptr);
  const CRect wide = WindowRectOf(FloatingFrameOf(toolbar));
  const POINT edge{wide.right - 2, wide.CenterPoint().y};
  DragFrameAt(edge, POINT{edge.x - wide.Width() * 6 / 10, edge.y});
  const CRect narrowed = WindowRectOf(FloatingFrameOf(toolbar));
  ASSERT_GT(narrowed.Height(), wide.Height()) << "wrapped into more rows";

  ModalAnswers answers;
  CString resetTo;
  answers.When(nullptr, "Customize", [&](HWND window) {
    auto* sheet = static_cast<CPropertySheet*>(CWnd::FromHandle(window));
    sheet->SetActivePage(1);
    RunUntilIdle();
    CWnd* page = sheet->GetActivePage();
    auto* list = static_cast<CCheckListBox*>(page->GetDlgItem(IDC_SEC_TOOLBAR_LIST));
    auto choose = [&](UINT id) {
      for (int i = 0; i < list->GetCount(); ++i) {
        if (list->GetItemData(i) != id) continue;
        CRect item;
        list->GetItemRect(i, &item);
        Click(list->m_hWnd, item.CenterPoint());
      }
    };
    choose(AFX_IDW_TOOLBAR);
    Click(page->GetDlgItem(IDC_SEC_TOOLBAR_RESET)->m_hWnd, CPoint(5, 5));
    resetTo = R(WindowRectOf(FloatingFrameOf(toolbar))).c_str();
    choose(mineId);
    CWnd* name = page->GetDlgItem(IDC_SEC_TOOLBAR_NAME);
    Click(name->m_hWnd, CPoint(5, 5));
    PressKey(VK_END);
    TypeText(" Renamed");
    PressKey(VK_TAB);
    CString title;
    mine->GetWindowText(title);
    EXPECT_EQ(title, "Mine Renamed");
    Click(::GetDlgItem(window, IDCANCEL), CPoint(5, 5));
  });
  MenuKeys('V', "c");
  EXPECT_NE(std::string(resetTo), R(narrowed)) << "the reset bar shows its one row";
  auto expectAsBefore = [&] {
    toolbar = frame->GetControlBar(AFX_IDW_TOOLBAR);
    ASSERT_NE(FloatingFrameOf(toolbar), nullptr);
    EXPECT_EQ(R(WindowRectOf(FloatingFrameOf(toolbar))), R(narrowed));
    mine = manager->FindToolBar(mineId);
    ASSERT_NE(mine, nullptr);
    CString title;
    mine->GetWindowText(title);
    EXPECT_EQ(title, "Mine");
  };
  expectAsBefore();
  ASSERT_NO_FATAL_FAILURE(Restart());
  manager = static_cast<SECToolBarManager*>(frame->GetToolBarManager());
  expectAsBefore();
  // Docked again and saved without the user's bar, as the other tests of the frame expect.
  toolbar->m_nMRUWidth = 32767;
  frame->DockControlBar(toolbar, AFX_IDW_DOCKBAR_TOP);
  mine->DestroyWindow();
  ASSERT_NO_FATAL_FAILURE(Restart());
}

// The right button on the bars and Alt-dragging a toolbar button do what the help page about the
// bars says: the toolbars and the menubar open no menu, the Project Explorer opens its own, and a
// button dragged off the toolbars with Alt goes.
TEST_F(MainFrame, BarsAnswerTheMouseAsTheirHelpPageSays) {
  std::vector<std::string> popups;
  ModalAnswers answers;
  RecordPopups(answers, popups);
  DockExplorerAsAtFirstStart();
  auto* toolbar = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(AFX_IDW_TOOLBAR));
  auto* menubar = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(0xE8FF));
  ASSERT_NE(toolbar, nullptr);
  ASSERT_NE(menubar, nullptr);
  CRect button;
  toolbar->GetItemRect(0, &button);
  CRect menubarClient;
  menubar->GetClientRect(&menubarClient);
  Click(toolbar->m_hWnd, button.CenterPoint(), kNone, WM_RBUTTONDOWN);
  Click(toolbar->m_hWnd, CPoint(4, button.CenterPoint().y), kNone, WM_RBUTTONDOWN);
  Click(menubar->m_hWnd, CPoint(menubarClient.right - 4, menubarClient.CenterPoint().y), kNone, WM_RBUTTONDOWN);
  RunUntilIdle();
  EXPECT_EQ(popups, std::vector<std::string>{}) << "no menu on the toolbar or the menubar";
  // The explorer's gripper runs across its top.
  Click(frame->m_wndProjectExplorer.m_hWnd, CPoint(30, 8), kNone, WM_RBUTTONDOWN);
  RunUntilIdle();
  EXPECT_EQ(popups, std::vector<std::string>{"Allow Docking;Hide;;Float In Main Window;"});
  // Alt and a drag off the bars into the document area: the button goes.
  const UINT dragged = toolbar->GetItemID(0);
  ASSERT_NE(dragged, 0u);
  CRect client;
  frame->GetClientRect(&client);
  Drag(nullptr, ScreenPoint(toolbar->m_hWnd, button.CenterPoint()), ScreenPoint(frame->m_hWnd, client.CenterPoint()), 4,
       kAlt);
  EXPECT_EQ(toolbar->CommandToIndex(dragged), -1);

  std::ifstream file(ProgramFolder() / help_topics::kPagesFolderName / "bars-workspaces.html");
  const std::string page((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(page.empty());
  EXPECT_EQ(page.find("right-click on a toolbar lists"), std::string::npos);
  for (const char* said : {"no menu", "Allow Docking", "Float In Main Window", "Alt"})
    EXPECT_NE(page.find(said), std::string::npos) << said;
}

// "Float In Main Window" from the explorer's gripper menu, alone and beside a (maximised)
// document: the explorer becomes a window of the documents' area that it fills, that area holding
// it whole (its tabs in view), and the command again docks it where it was.
TEST_F(MainFrame, ExplorerFloatedInTheMainWindowFillsItsWindow) {
  DockExplorerAsAtFirstStart();
  ProjectWorkspaceWnd& explorer = frame->m_wndProjectExplorer;
  auto chooseFromGripperMenu = [&] {
    ModalAnswers answers;
    answers.When("#32768", nullptr, [](HWND) {
      PressKey(VK_UP);  // the last item: Float In Main Window
      PressKey(VK_RETURN);
    });
    Click(explorer.m_hWnd, CPoint(30, 8), kNone, WM_RBUTTONDOWN);
    RunUntilIdle();
  };
  auto expectFloatedWhole = [&](const char* beside) {
    CFrameWnd* holder = explorer.GetParentFrame();
    ASSERT_NE(dynamic_cast<CMDIChildWnd*>(holder), nullptr) << beside << ": in a window of the documents' area";
    ASSERT_TRUE(holder->IsWindowVisible());
    CRect area;
    holder->GetClientRect(&area);
    holder->ClientToScreen(&area);
    EXPECT_EQ(R(WindowRectOf(&explorer)), R(area)) << beside << ": the explorer fills its window";
    CRect documents;
    ::GetClientRect(frame->m_hWndMDIClient, &documents);
    ::MapWindowPoints(frame->m_hWndMDIClient, nullptr, reinterpret_cast<POINT*>(&documents), 2);
    CRect joined;
    joined.UnionRect(&area, &documents);
    EXPECT_EQ(R(joined), R(documents)) << beside << ": " << R(area) << " in the documents' area";
    CRect inside;
    explorer.GetClientRect(&inside);
    explorer.ClientToScreen(&inside);
    const CRect tabs = WindowRectOf(&explorer.m_wndTab);
    // Within the bar's own margins.
    EXPECT_LE(inside.Width() - tabs.Width(), 24) << beside << ": " << R(tabs) << " in " << R(inside);
    EXPECT_LE(inside.Height() - tabs.Height(), 24) << beside << ": " << R(tabs) << " in " << R(inside);
  };
  chooseFromGripperMenu();
  expectFloatedWhole("alone");
  chooseFromGripperMenu();
  ASSERT_EQ(DockBarOf(&explorer), static_cast<int>(AFX_IDW_DOCKBAR_LEFT));

  CMultiDocTemplate* docs = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenSourceWindow(&docs, RUNTIME_CLASS(CChildFrame)));
  chooseFromGripperMenu();
  expectFloatedWhole("beside a document");
  chooseFromGripperMenu();
  EXPECT_EQ(DockBarOf(&explorer), static_cast<int>(AFX_IDW_DOCKBAR_LEFT));
}

TEST_F(MainFrame, FlashingFromAnotherThreadStopsWhenTheFrameIsFocused) {
  apptest::Host other;
  other.SetForegroundWindow();
  RunUntilIdle();
  session.Backend().Clear();
  std::thread watcher([&] { frame->FlashUntilActive(); });
  watcher.join();
  RunUntilIdle();
  EXPECT_TRUE(frame->IsFlashing());
  AdvanceClock(500);
  AdvanceClock(500);
  const size_t flashed = session.Backend().Flashes().size();
  EXPECT_GE(flashed, 3u) << "toggled every half second";

  frame->SendMessage(WM_SETFOCUS);
  EXPECT_FALSE(frame->IsFlashing());
  ASSERT_FALSE(session.Backend().Flashes().empty());
  EXPECT_FALSE(session.Backend().Flashes().back().second) << "the caption is left as it should be";
  const size_t stopped = session.Backend().Flashes().size();
  AdvanceClock(2000);
  EXPECT_EQ(session.Backend().Flashes().size(), stopped);

  // A frame that is already in front does not flash.
  frame->SetForegroundWindow();
  RunUntilIdle();
  frame->FlashUntilActive();
  RunUntilIdle();
  EXPECT_FALSE(frame->IsFlashing());
}

TEST_F(MainFrame, FullScreenTellsTheActiveViewAndChecksItsCommand) {
  SECWorksheet* child = AddChild("Shape.h");
  auto* view = new NoticeView;
  ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), child, AFX_IDW_PANE_FIRST));
  child->SetActiveView(view);
  EXPECT_EQ(Update(ID_VIEW_FULL_SCREEN).checked, 0);
  frame->SendMessage(WM_COMMAND, ID_VIEW_FULL_SCREEN);
  RunUntilIdle();
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  EXPECT_EQ(frame->m_FullScreen.GetTitle(), "&Full Screen");
  EXPECT_EQ(Update(ID_VIEW_FULL_SCREEN).checked, 1);
  frame->SendMessage(WM_COMMAND, ID_VIEW_FULL_SCREEN);
  RunUntilIdle();
  EXPECT_FALSE(frame->m_FullScreen.IsFullScreen()) << "the checked command leaves full screen";
  EXPECT_EQ(view->notices, (std::vector<WPARAM>{1, 0}));
  EXPECT_EQ(Update(ID_VIEW_FULL_SCREEN).checked, 0);
}

// Full screen beside a maximised document, as the user works in it: the menubar shown at the top
// edge stays while the pointer goes from File to Edit and after Escape with the pointer on it;
// View > Full Screen is checked there and leaves the mode, after which the menubar has the
// document's icon and window buttons again; Alt+V in full screen shows the menubar with View.
TEST_F(MainFrame, FullScreenKeepsTheMenubarWhileItIsUsedAndGivesTheFrameBackWhole) {
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  DockExplorerAsAtFirstStart();
  CMultiDocTemplate* docs = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenSourceWindow(&docs, RUNTIME_CLASS(CChildFrame)));
  const CRect normal = WindowRectOf(frame);
  SECMenuBar* bar = frame->GetMenuBar();
  auto shownButtons = [&](int type) {
    std::vector<int> found;
    for (int i = 0; i < bar->GetBtnCount(); ++i)
      if (!(bar->GetButtonStyle(i) & TBBS_HIDDEN) && (type < 0 || bar->GetButton(i)->m_nType == type)) found.push_back(i);
    return found;
  };
  auto documentButtons = [&] {
    const std::vector<int> shown = shownButtons(-1);
    return shown.size() > 2 && bar->GetButton(shown.front())->m_nType == SECStdBtn::CapMenuBtn &&
           bar->GetButton(shown.back())->m_nType == SECStdBtn::CaptionBtn;
  };
  ASSERT_TRUE(documentButtons());
  CRect desktop;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  auto showMenubar = [&] {
    MoveMouseAt(CPoint(desktop.CenterPoint().x, desktop.top));
    RunUntilIdle();
    ASSERT_TRUE(bar->IsWindowVisible()) << "shown at the top edge";
  };
  auto menuPoint = [&](int index) {
    CRect rect;
    bar->GetItemRect(shownButtons(SECStdBtn::MenuBtn)[static_cast<size_t>(index)], &rect);
    return ScreenPoint(bar->m_hWnd, rect.CenterPoint());
  };
  MenuKeys('V', "f");
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  ASSERT_NO_FATAL_FAILURE(showMenubar());
  std::vector<std::string> firstItems;
  std::vector<bool> barShown;
  {
    ModalAnswers answers;
    answers.When("#32768", nullptr, [&](HWND menu) {
      char text[64] = {};
      ::GetMenuString(reinterpret_cast<HMENU>(::SendMessage(menu, MN_GETHMENU, 0, 0)), 0, text, sizeof text, MF_BYPOSITION);
      firstItems.push_back(text);
      barShown.push_back(bar->IsWindowVisible() != FALSE);
      if (firstItems.size() == 1)
        MoveMouseAt(menuPoint(1));
      else
        PressKey(VK_ESCAPE);
    }, true);
    ClickAt(menuPoint(0));
    RunUntilIdle();
  }
  ASSERT_EQ(firstItems.size(), 2u) << "File, then Edit";
  EXPECT_EQ(firstItems[0].rfind("&New", 0), 0u) << firstItems[0];
  EXPECT_NE(firstItems[1], firstItems[0]);
  EXPECT_EQ(barShown, (std::vector<bool>{true, true})) << "the menubar stays under its menus";
  AdvanceClock(300);
  EXPECT_TRUE(bar->IsWindowVisible()) << "Escape with the pointer on the menubar keeps it";
  EXPECT_TRUE(frame->m_FullScreen.IsFullScreen());
  MoveMouseAt(desktop.CenterPoint());
  AdvanceClock(300);
  EXPECT_FALSE(bar->IsWindowVisible()) << "the pointer left: the menubar goes";

  // View > Full Screen, checked, chosen from the menubar at the top edge.
  EXPECT_EQ(Update(ID_VIEW_FULL_SCREEN).checked, 1);
  ASSERT_NO_FATAL_FAILURE(showMenubar());
  {
    ModalAnswers answers;
    answers.When("#32768", nullptr, [](HWND) { TypeText("f"); });
    ClickAt(menuPoint(2));
    RunUntilIdle();
  }
  EXPECT_FALSE(frame->m_FullScreen.IsFullScreen());
  EXPECT_EQ(R(WindowRectOf(frame)), R(normal));
  EXPECT_TRUE(documentButtons()) << "the document's icon and window buttons are back";

  // By the keyboard: Alt+V shows the menubar at the top edge with its View menu.
  MenuKeys('V', "f");
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  bool shownWithItsMenu = false;
  {
    ModalAnswers answers;
    answers.When("#32768", nullptr, [&](HWND) {
      shownWithItsMenu = bar->IsWindowVisible() != FALSE;
      TypeText("f");
    });
    frame->SetFocus();
    PressKey('V', kAlt);
    RunUntilIdle();
  }
  EXPECT_TRUE(shownWithItsMenu);
  EXPECT_FALSE(frame->m_FullScreen.IsFullScreen());
}


// A workspace saved while the frame is in full screen holds the frame as it is outside:
// opened, it has its caption, place and bars.
TEST_F(MainFrame, AWorkspaceSavedInFullScreenOpensAsTheFrameIsOutsideIt) {
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  DockExplorerAsAtFirstStart();
  const CRect normal = WindowRectOf(frame);
  MenuKeys('V', "f");
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  // Kept in the profile: in this program the private registry takes a workspace in its first test only.
  auto* workspaces = dynamic_cast<SECWorkspaceManagerEx*>(
      frame->CreateWorkspacePlugIn("Workspaces", FALSE, RUNTIME_CLASS(SECWorkspaceManagerEx), FALSE));
  ASSERT_NE(workspaces, nullptr);
  ASSERT_TRUE(workspaces->SaveWorkspace("Saved In Full Screen"));
  frame->SetFocus();
  PressKey(VK_ESCAPE);
  RunUntilIdle();
  ASSERT_FALSE(frame->m_FullScreen.IsFullScreen());
  ASSERT_TRUE(workspaces->OpenWorkspace("Saved In Full Screen", FALSE));
  frame->RecalcLayout();
  RunUntilIdle();
  EXPECT_TRUE(frame->GetStyle() & WS_CAPTION);
  EXPECT_EQ(R(WindowRectOf(frame)), R(normal));
  const UINT ids[] = {AFX_IDW_TOOLBAR, SEC_IDW_MENUBAR, AFX_IDW_STATUS_BAR, IDW_PROJECT_EXPLORER};
  for (UINT id : ids) {
    CControlBar* shown = frame->GetControlBar(id);
    ASSERT_NE(shown, nullptr) << id;
    EXPECT_TRUE(shown->IsWindowVisible()) << id;
  }
  EXPECT_EQ(::FindWindow(nullptr, "Full Screen"), nullptr);
}

}  // namespace

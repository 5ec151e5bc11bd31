// The document frames kept maximised, the Windows dialog (buttons by selection, closing that stops at
// a refusal), the window menu's last item, Organize files asking before it deletes, the taller file
// dialog, the About box's texts, and the started application's source frames and About command.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "ExplorerTestSupport.h"
#include "InkwrightAppSession.h"
#include "app/CAboutDlg.h"
#include "app/CMySplashWnd.h"
#include "os/SystemInfo.h"
#include "app/CChildFrame.h"
#include "app/CInkwrightDoc.h"
#include "app/CInkwrightView.h"
#include "app/CMDIClient.h"
#include "app/CMyFileDialog.h"
#include "app/COrgSourceFileDlg.h"
#include "app/CProjectChildWnd.h"
#include "app/CProjectDoc.h"
#include "app/CProjectView.h"
#include "app/CWindowDlg.h"
#include "bars/SECWorkbook.h"
#include "controls/FileDialog.h"
#include "os/Process.h"
#include "os/Registry.h"
#include "resources/ChildFramesRes.h"
#include "resources/ShellRes.h"
#include "win/Mdi.h"

namespace {

using apptest::BoxRecorder;
using apptest::DlgCommand;
using apptest::DlgText;
using brambolt::test::RunUntilIdle;

// The texts of a list box's items.
std::vector<std::string> ListTexts(const CListBox& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.GetCount(); ++i) {
    CString strText;
    list.GetText(i, strText);
    texts.emplace_back(strText);
  }
  return texts;
}

// A workbook main frame with the two templates whose frames this library gives.
struct Shell {
  brambolt::test::PrivateStores stores;
  brambolt::test::UiSession session;
  CWinApp app{"Child Frames Test"};
  SECWorkbook* frame = new SECWorkbook;
  CMultiDocTemplate* sources = new CMultiDocTemplate(IDR_BRAMBOLT_FILE, RUNTIME_CLASS(CProjectDoc),
                                                     RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CProjectView));
  CMultiDocTemplate* projects = new CMultiDocTemplate(IDR_BRAMBOLT_PROJECT, RUNTIME_CLASS(CProjectDoc),
                                                      RUNTIME_CLASS(CProjectChildWnd), RUNTIME_CLASS(CProjectView));

  Shell() {
    EXPECT_TRUE(frame->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 400)));
    app.m_pMainWnd = frame;
    sources->m_strDocStrings = "\nSource\nSource\n\n\nBrambolt.Source\nSource File";
    projects->m_strDocStrings = "\nProject\nProject\n\n\nBrambolt.Project\nProject";
    app.AddDocTemplate(sources);
    app.AddDocTemplate(projects);
    RunUntilIdle();
  }
  ~Shell() {
    app.CloseAllDocuments(TRUE);
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
  }
  CDocument* Open(const char* title, CMultiDocTemplate* pTemplate = nullptr) {
    CDocument* pDoc = (pTemplate != nullptr ? pTemplate : sources)->OpenDocumentFile(nullptr);
    EXPECT_NE(pDoc, nullptr);
    pDoc->SetTitle(title);
    RunUntilIdle();
    return pDoc;
  }
  static CFrameWnd* FrameOf(CDocument* pDoc) {
    POSITION pos = pDoc->GetFirstViewPosition();
    return pDoc->GetNextView(pos)->GetParentFrame();
  }
};

// The Windows dialog, shown modeless over the shell's frame.
struct WindowsDialog : CWindowDlg {
  explicit WindowsDialog(Shell& shell) : CWindowDlg(shell.frame) {
    EXPECT_TRUE(Create(IDD_WINDOW_MANAGER, shell.frame));
  }
  ~WindowsDialog() override { DestroyWindow(); }
  CListBox& List() { return m_wndList; }
  CFrameWnd* ItemFrame(int nItem) { return dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(ItemWindow(nItem))); }
  std::vector<std::string> Titles() { return ListTexts(m_wndList); }
  // The buttons enabled, in the order Activate, Save, Close, Minimize, Cascade, Tile, Tile, Ok.
  std::string Enabled() {
    std::string flags;
    for (int nID : {IDC_WND_ACTIVATE, IDC_WND_SAVE, IDC_WND_CLOSE, IDC_WND_MINIMIZE, IDC_WND_CASCADE,
                    IDC_WND_TILE_HORZ, IDC_WND_TILE_VERT, IDOK})
      flags += ::IsWindowEnabled(::GetDlgItem(m_hWnd, nID)) ? '1' : '0';
    return flags;
  }
  void Select(std::initializer_list<int> items) {
    m_wndList.SetSel(-1, FALSE);
    for (int i : items) m_wndList.SetSel(i, TRUE);
    DlgCommand(m_hWnd, IDC_WND_LIST, LBN_SELCHANGE);
  }
};

TEST(ChildFrames, ShowMaximisedWhateverTheCallerAsks) {
  Shell shell;
  // The plain text document and view, which no template of the application names, in a frame.
  auto* texts = new CMultiDocTemplate(25392, RUNTIME_CLASS(CInkwrightDoc), RUNTIME_CLASS(CChildFrame),
                                      RUNTIME_CLASS(CInkwrightView));
  shell.app.AddDocTemplate(texts);
  for (CMultiDocTemplate* pTemplate : {shell.sources, shell.projects, texts}) {
    CDocument* pDoc = shell.Open("doc", pTemplate);
    CFrameWnd* pFrame = Shell::FrameOf(pDoc);
    EXPECT_TRUE(pFrame->IsZoomed());
    if (pTemplate == texts) {
      auto* pView = dynamic_cast<CInkwrightView*>(pFrame->GetActiveView());
      ASSERT_NE(pView, nullptr);
      EXPECT_EQ(pView->GetDocument(), pDoc);
      char szClass[32] = "";
      ::GetClassName(pView->m_hWnd, szClass, sizeof szClass);
      EXPECT_STRCASEEQ(szClass, "Edit");
    }
    for (int nCmdShow : {SW_SHOWNORMAL, SW_RESTORE, SW_SHOWMINIMIZED, -1}) {
      pFrame->ActivateFrame(nCmdShow);
      RunUntilIdle();
      EXPECT_TRUE(pFrame->IsZoomed()) << pFrame->GetRuntimeClass()->m_lpszClassName << " shown with " << nCmdShow;
      EXPECT_EQ(shell.frame->MDIGetActive(), pFrame);
    }
  }
}

TEST(WindowsDialog, ButtonsFollowTheNumberOfSelectedWindowsAndActivateTakesExactlyOne) {
  Shell shell;
  {
    WindowsDialog empty(shell);
    EXPECT_TRUE(empty.Titles().empty());
    EXPECT_EQ(empty.Enabled(), "00000001");
  }
  for (const char* title : {"a.cpp", "b.cpp", "c.cpp"}) shell.Open(title);
  WindowsDialog dialog(shell);
  // Window order: the active (last opened) window first, and it is the one selected.
  EXPECT_EQ(dialog.Titles(), (std::vector<std::string>{"c.cpp", "b.cpp", "a.cpp"}));
  EXPECT_EQ(dialog.List().GetSelCount(), 1);
  EXPECT_GT(dialog.List().GetSel(0), 0);
  const struct {
    std::initializer_list<int> selected;
    const char* enabled;
  } cases[] = {
      {{0}, "11110001"}, {{1, 2}, "01111111"}, {{0, 1, 2}, "01111111"}, {{}, "00000001"}, {{2}, "11110001"},
  };
  for (const auto& c : cases) {
    dialog.Select(c.selected);
    EXPECT_EQ(dialog.Enabled(), c.enabled) << dialog.List().GetSelCount() << " selected";
  }
  // Activate (or a double click) brings the one chosen window forward and ends the dialog.
  CFrameWnd* pChosen = dialog.ItemFrame(2);
  dialog.ShowWindow(SW_SHOW);
  DlgCommand(dialog.m_hWnd, IDC_WND_LIST, LBN_DBLCLK);
  EXPECT_EQ(shell.frame->MDIGetActive(), pChosen);
  EXPECT_FALSE(dialog.IsWindowVisible());
}

TEST(WindowsDialog, ClosingStopsAtTheFirstWindowThatRefusesToClose) {
  Shell shell;
  for (const char* title : {"a.cpp", "b.cpp", "c.cpp"}) shell.Open(title);
  WindowsDialog dialog(shell);
  // The middle window's document has changes; its question is answered Cancel.
  CFrameWnd* pMiddle = dialog.ItemFrame(1);
  ASSERT_NE(pMiddle, nullptr);
  pMiddle->GetActiveDocument()->SetModifiedFlag(TRUE);
  BoxRecorder boxes({IDCANCEL});
  dialog.Select({0, 1, 2});
  DlgCommand(dialog.m_hWnd, IDC_WND_CLOSE);
  RunUntilIdle();
  // a.cpp (last in the list) closed, b.cpp refused, and c.cpp was never asked.
  ASSERT_EQ(BoxRecorder::Boxes().size(), 1u);
  EXPECT_EQ(BoxRecorder::Boxes()[0].type & 0xF, static_cast<UINT>(MB_YESNOCANCEL));
  EXPECT_EQ(dialog.Titles(), (std::vector<std::string>{"c.cpp", "b.cpp"}));
  EXPECT_TRUE(::IsWindow(pMiddle->m_hWnd));
  EXPECT_EQ(dialog.Enabled(), "11110001");
}

TEST(WindowsDialog, ArrangingRestoresTheSelectedWindowsAndMinimisesTheOthers) {
  Shell shell;
  for (const char* title : {"a.cpp", "b.cpp", "c.cpp"}) shell.Open(title);
  WindowsDialog dialog(shell);
  auto iconic = [&] {
    std::string flags;
    for (int i = 0; i < dialog.List().GetCount(); ++i)
      flags += dialog.ItemFrame(i)->IsIconic() ? 'm' : '-';
    return flags;
  };
  const struct {
    int button;
    std::initializer_list<int> selected;
    const char* after;
  } cases[] = {
      {IDC_WND_MINIMIZE, {1}, "-m-"},
      {IDC_WND_CASCADE, {0, 1}, "--m"},
      {IDC_WND_TILE_HORZ, {1, 2}, "m--"},
      {IDC_WND_TILE_VERT, {0, 2}, "-m-"},
  };
  for (const auto& c : cases) {
    dialog.Select(c.selected);
    DlgCommand(dialog.m_hWnd, c.button);
    RunUntilIdle();
    EXPECT_EQ(iconic(), c.after) << "button " << c.button;
    EXPECT_EQ(dialog.List().GetCount(), 3);
  }
}

TEST(MDIClient, TheWindowMenuEndsWithOneWindowManagerItemAndNoMoreWindowsItem) {
  brambolt::ScopedCodePage western(1252);
  Shell shell;
  CMDIClient client;
  ASSERT_TRUE(client.SubclassWindow(shell.frame->m_hWndMDIClient));
  CMenu menu, window;
  menu.CreateMenu();
  window.CreatePopupMenu();
  window.AppendMenu(MF_STRING, 32779, "Ne&xt");
  window.AppendMenu(MF_SEPARATOR);
  window.AppendMenu(MF_STRING, CMDIClient::kWindowDialogCommand, "&Windows...");
  menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(window.m_hMenu), "&Window");
  ::SendMessage(shell.frame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu.m_hMenu),
                reinterpret_cast<LPARAM>(window.m_hMenu));
  EXPECT_EQ(client.m_hWindowMenu, window.m_hMenu);
  // Eleven windows: more than the platform names, so it adds its item for more windows.
  for (int i = 0; i < 11; ++i) shell.Open(("doc" + std::to_string(i) + ".cpp").c_str());
  // The source files' own menu has its window menu, which the client now keeps.
  CMenu& shown = *CMenu::FromHandle(client.m_hWindowMenu);
  // The item stays last as the windows are opened and named; each rebuild also drops the item for
  // more windows, and rebuilds do not grow the menu.
  EXPECT_EQ(shown.GetMenuItemID(shown.GetMenuItemCount() - 1), CMDIClient::kWindowDialogCommand);
  int nItems = -1;
  for (int round = 0; round < 3; ++round) {
    ::SendMessage(shell.frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    const int nCount = shown.GetMenuItemCount();
    if (nItems >= 0) {
      EXPECT_EQ(nCount, nItems);
    }
    nItems = nCount;
    int nWindowItems = 0, nNamed = 0;
    for (int i = 0; i < nCount; ++i) {
      const UINT nID = shown.GetMenuItemID(i);
      if (i > 0) {
        EXPECT_FALSE(nID == 0 && shown.GetMenuItemID(i - 1) == 0) << "two separators at " << i;
      }
      EXPECT_NE(nID, static_cast<UINT>(AFX_IDM_FIRST_MDICHILD + MDI_MOREWINDOWS_OFFSET));
      nWindowItems += nID == CMDIClient::kWindowDialogCommand;
      nNamed += nID >= AFX_IDM_FIRST_MDICHILD && nID < AFX_IDM_FIRST_MDICHILD + MDI_MOREWINDOWS_OFFSET;
    }
    EXPECT_EQ(nWindowItems, 1);
    EXPECT_EQ(nNamed, MDI_MOREWINDOWS_OFFSET);
    ASSERT_EQ(shown.GetMenuItemID(nCount - 1), CMDIClient::kWindowDialogCommand);
    CString strTitle;
    shown.GetMenuString(nCount - 1, strTitle, MF_BYPOSITION);
    // The Chinese title would show as Latin letters here: the menu's own text stays.
    EXPECT_EQ(std::string(strTitle), "&Windows...");
    EXPECT_EQ(shown.GetMenuState(nCount - 1, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED), 0u);
  }
  {
    brambolt::ScopedCodePage chinese(936);
    ::SendMessage(shell.frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    CString strTitle;
    shown.GetMenuString(shown.GetMenuItemCount() - 1, strTitle, MF_BYPOSITION);
    EXPECT_EQ(std::string(strTitle), "\xB4\xB0\xBF\xDA\xB9\xDC\xC0\xED");
  }
  // Everything else still reaches the client (and the workbook's object behind the hook).
  CFrameWnd* pLast = Shell::FrameOf(shell.Open("last.cpp"));
  EXPECT_EQ(shell.frame->MDIGetActive(), pLast);
  // Unhooked, the client keeps the platform's menu again.
  client.Unhook();
  EXPECT_EQ(client.m_hWnd, nullptr);
  ::SendMessage(shell.frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  EXPECT_NE(shown.GetMenuState(AFX_IDM_FIRST_MDICHILD + MDI_MOREWINDOWS_OFFSET, MF_BYCOMMAND), static_cast<UINT>(-1));
  ASSERT_TRUE(client.SubclassWindow(shell.frame->m_hWndMDIClient));
  // With every window closed the item stays, set off by one separator.
  shell.app.CloseAllDocuments(FALSE);
  RunUntilIdle();
  ::SendMessage(shell.frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  ASSERT_EQ(window.GetMenuItemCount(), 3);
  EXPECT_EQ(window.GetMenuItemID(1), 0u);
  EXPECT_EQ(window.GetMenuItemID(2), CMDIClient::kWindowDialogCommand);
}

struct OrganizeDialog : COrgSourceFileDlg {
  explicit OrganizeDialog(CWnd* pParent) { EXPECT_TRUE(Create(IDD_ORGANIZE_FILES, pParent)); }
  ~OrganizeDialog() override { DestroyWindow(); }
  std::vector<std::string> Files() { return ListTexts(m_wndFileList); }
  int Selected() { return m_wndFileList.GetCurSel(); }
  void Choose(int nItem) { m_wndFileList.SetCurSel(nItem); }
};

TEST(OrganizeFiles, RemoveAsksFirstAndDeletesTheFileOnlyOnYes) {
  brambolt::test::PrivateStores stores;
  brambolt::test::UiSession session;
  CWinApp app{"Organize Files Test"};
  explorertest::ProjectFolder project;
  for (const char* name : {"Header Files/a.h", "Header Files/b.h", "Header Files/c.h", "Source Code/x.cpp"})
    project.Write(name);
  explorertest::ProjectShell shell;
  shell.name = "proj";
  shell.folder = project.Folder();
  apptest::Host host;
  BoxRecorder boxes;
  OrganizeDialog dialog(&host);
  EXPECT_EQ(dialog.Files(), (std::vector<std::string>{"a.h", "b.h", "c.h"}));
  EXPECT_EQ(dialog.m_nFileType, COrgSourceFileDlg::HEADER_FILES);

  // Nothing chosen: no question, nothing changed.
  DlgCommand(dialog.m_hWnd, IDC_ORG_REMOVE);
  EXPECT_TRUE(BoxRecorder::Boxes().empty());
  EXPECT_FALSE(dialog.m_bChanged);

  const struct {
    int answer;
    bool kept;
    std::vector<std::string> listed;
    int selected;
  } cases[] = {
      {IDNO, true, {"a.h", "b.h", "c.h"}, 1},
      {IDYES, false, {"a.h", "c.h"}, 0},
  };
  for (const auto& c : cases) {
    BoxRecorder::Boxes().clear();
    boxes.Answer(c.answer);
    dialog.Choose(1);
    DlgCommand(dialog.m_hWnd, IDC_ORG_REMOVE);
    ASSERT_EQ(BoxRecorder::Boxes().size(), 1u);
    EXPECT_EQ(BoxRecorder::Boxes()[0].text, "Make sure you really want to remove this item from the project?");
    EXPECT_EQ(BoxRecorder::Boxes()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_EQ(project.Exists("Header Files/b.h"), c.kept);
    EXPECT_EQ(dialog.Files(), c.listed);
    EXPECT_EQ(dialog.Selected(), c.selected);
    EXPECT_EQ(dialog.m_bChanged, !c.kept);
  }

  // The other file type lists the source folder.
  ::SendDlgItemMessage(dialog.m_hWnd, IDC_ORG_FILE_TYPE, CB_SETCURSEL, 1, 0);
  DlgCommand(dialog.m_hWnd, IDC_ORG_FILE_TYPE, CBN_SELCHANGE);
  EXPECT_EQ(dialog.m_nFileType, COrgSourceFileDlg::SOURCE_FILES);
  EXPECT_EQ(dialog.Files(), (std::vector<std::string>{"x.cpp"}));
}

TEST(MyFileDialog, TheFileListGetsTheExtraHeightAndTheControlsBelowItMoveDown) {
  brambolt::test::PrivateStores stores;
  brambolt::test::UiSession session;
  CWinApp app{"File Dialog Test"};
  // The dialog's and the file list's heights, then the name field's, OK's and Cancel's tops.
  auto measure = [](CFileDialog& dialog) {
    std::vector<int> m;
    brambolt::test::ModalAnswers answers;
    answers.When(nullptr, "Open", [&](HWND hDialog) {
      CRect rc;
      for (HWND h : {hDialog, ::GetDlgItem(hDialog, lst1)}) {
        ::GetWindowRect(h, rc);
        m.push_back(rc.Height());
      }
      for (int nID : {edt1, IDOK, IDCANCEL}) {
        ::GetWindowRect(::GetDlgItem(hDialog, nID), rc);
        ::ScreenToClient(hDialog, &rc.TopLeft());
        m.push_back(rc.top);
      }
      ::SendMessage(hDialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    return m;
  };
  CFileDialog plain(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "All Files (*.*)|*.*||");
  CMyFileDialog taller(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "All Files (*.*)|*.*||");
  std::vector<int> expected = measure(plain);
  ASSERT_EQ(expected.size(), 5u);
  for (int& n : expected) n += CMyFileDialog::kExtraHeight;
  EXPECT_EQ(measure(taller), expected);
}

TEST(AboutBox, ShowsTheProductItsVersionTheSystemAndTheMakersLinks) {
  brambolt::test::PrivateStores stores;
  brambolt::test::UiSession session;
  CWinApp app{"About Test"};
  apptest::Host host;
  struct AboutBox : CAboutDlg {
    explicit AboutBox(CWnd* pParent) { EXPECT_TRUE(Create(IDD_ABOUTBOX, pParent)); }
    ~AboutBox() override { DestroyWindow(); }
    CHyperLink& Web() { return m_wndWebLink; }
    CHyperLink& Support() { return m_wndSupportLink; }
  };
  {
    AboutBox about(&host);
    const HWND hDlg = about.m_hWnd;
    char szCaption[64] = "";
    ::GetWindowText(hDlg, szCaption, sizeof szCaption);
    EXPECT_STREQ(szCaption, "About Brambolt");
    EXPECT_EQ(DlgText(hDlg, IDC_ABOUT_TITLE), "Visual Brambolt (Build 12/19/2001 V3.3.0.1219)");
    EXPECT_EQ(DlgText(hDlg, IDC_ABOUT_VERSION), "Product Version: Build 12/19/2001 V3.3.0.1219");
    // The user the splash greeted, and the system the program runs on.
    EXPECT_EQ(DlgText(hDlg, IDC_ABOUT_USER), "User Name: " + std::string(CMySplashWnd::ReadRegisteredOwner()));
    EXPECT_NE(CMySplashWnd::ReadRegisteredOwner(), "");
    EXPECT_EQ(DlgText(hDlg, IDC_ABOUT_OS), "Current Operating System: " + brambolt::DescribeSystem());
    EXPECT_STREQ(about.Web().GetURL(), CAboutDlg::kWebAddress);
    EXPECT_STREQ(about.Support().GetURL(), CAboutDlg::kSupportAddress);
    EXPECT_EQ(DlgText(hDlg, IDC_ABOUT_WEB), CAboutDlg::kWebAddress);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_ABOUT_NOTICE)));
    EXPECT_FALSE(DlgText(hDlg, IDC_ABOUT_NOTICE).empty());
    // No System Information program is recorded here: its button cannot start anything.
    EXPECT_TRUE(CAboutDlg::SystemInfoPath().IsEmpty());
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_ABOUT_SYSTEM)));
  }
  // Once one is recorded, the button starts it.
  HKEY hKey = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSInfo", 0, nullptr, 0,
                           KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
            ERROR_SUCCESS);
  const char szPath[] = "/usr/bin/msinfo";
  RegSetValueEx(hKey, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(szPath), sizeof szPath);
  RegCloseKey(hKey);
  std::vector<std::string> started;
  brambolt::ScopedSpawnHook hook([&](const brambolt::SpawnRequest& request) {
    started.push_back(request.program);
    return DWORD{0};
  });
  AboutBox about(&host);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(about.m_hWnd, IDC_ABOUT_SYSTEM)));
  DlgCommand(about.m_hWnd, IDC_ABOUT_SYSTEM);
  EXPECT_EQ(started, std::vector<std::string>{szPath});
}

TEST(ShellWindows, TheApplicationOpensSourcesInMaximisedChildFramesAndShowsTheAboutBox) {
  apptest::AppHome home;
  brambolt::test::UiSession session;
  apptest::AnsweredBoxes boxes;
  apptest::TestApp app;
  ASSERT_TRUE(app.InitInstance());
  ASSERT_NE(app.m_pProjectTemplate, nullptr);
  const std::string strPath = home.Folder("src") + "/a.cpp";
  apptest::WriteText(strPath, "int a;\n");
  CDocument* pDoc = app.OpenDocumentFile(strPath.c_str());
  ASSERT_NE(pDoc, nullptr);
  CFrameWnd* pFrame = Shell::FrameOf(pDoc);
  EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CChildFrame)));
  EXPECT_TRUE(pFrame->IsZoomed());
  // The program's and the source file's icons have a 16-pixel image of their own for captions and tabs.
  for (HWND hWnd : {app.m_pMainWnd->m_hWnd, pFrame->m_hWnd}) {
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(::GetClassLongPtr(hWnd, GCLP_HICONSM)), &info));
    BITMAP bitmap{};
    ::GetObject(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(16, bitmap.bmWidth);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }
  brambolt::test::ModalAnswers answers;
  bool bShown = false;
  answers.When(nullptr, "About Brambolt", [&](HWND hDlg) {
    bShown = true;
    ::SendMessage(hDlg, WM_COMMAND, IDOK, 0);
  });
  app.m_pMainWnd->SendMessage(WM_COMMAND, ID_APP_ABOUT);
  EXPECT_TRUE(bShown);
  app.End();
}

}  // namespace

// The main frame: creation with its bars, the title, the component list, the window commands,
// full screen, the explorer's visibility, re-analysis, flashing and the help commands.
#include "app/CMainFrame.h"

#include <algorithm>
#include <vector>

#include "app/CBugReportDlg.h"
#include "app/CInkwrightApp.h"
#include "app/COurOwnTipDlg.h"
#include "app/CWindowDlg.h"
#include "app/DatabaseView.h"
#include "app/HelpTopics.h"
#include "app/WorkspaceTree.h"
#include "backend/DropFiles.h"
#include "bars/SECMDIMenuBar.h"
#include "bars/SECToolBarCmdPage.h"
#include "bars/SECToolBarManager.h"
#include "bars/SECToolBarsPage.h"
#include "bars/SECWorkspaceManagerEx.h"
#include "core/CStdioFile.h"
#include "editor/doc/CEditCodeDoc.h"
#include "model/CGenMenuObj.h"
#include "model/CWorkSpaceObj.h"
#include "model/ShellServices.h"
#include "resources/MainFrameRes.h"

IMPLEMENT_DYNCREATE(CMainFrame, SECWorkbook)

namespace {

constexpr char kAppTitle[] = "Visual Brambolt";
constexpr char kBarState[] = "BarState";
constexpr char kWorkspaceKey[] = "Software\\MyCompany\\Brambolt\\v2.0";
constexpr char kComponentFile[] = "Component.dat";
constexpr char kTipsFile[] = "todtest.tip";
// The maker's address the four Home links open; the profile value "Web"/"HomePage" replaces it.
constexpr char kDefaultHomePage[] = "https://www.mirelund.example/brambolt/";
constexpr UINT_PTR kFlashTimer = 25100;
constexpr UINT kFlashInterval = 500;
constexpr int kFirstComponentId = 1000;
constexpr int kMaxWindowText = 256;
// The recent-project menu lists at most this many projects.
constexpr int kRecentProjectsShown = 4;

// The default toolbar, 0 for a separator.
constexpr UINT kDefaultButtons[] = {
    32771, 0, ID_FILE_OPEN, ID_FILE_SAVE, 32775, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
    ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_VIEW_PROJECT_EXPLORER, ID_WINDOW_LIST, 0, 32832, 32833, 0,
    32799, 32809, 32825, 0, 32800, 32802, 0, ID_HELP};
constexpr UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_BLANKS, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                                ID_INDICATOR_SCRL};
constexpr UINT kMenuBarMenus[] = {IDR_MAINFRAME, IDR_SOURCE_FILE_MENU};

// Posted to the frame to start flashing on its own thread.
constexpr UINT kFlashMessage = WM_APP + 0x310;

}  // namespace

BEGIN_MESSAGE_MAP(CMainFrame, SECWorkbook)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_SETFOCUS()
  ON_WM_TIMER()
  ON_WM_DROPFILES()
  ON_MESSAGE(SECFullScreenView::kNotifyMessage, OnFullScreenNotify)
  ON_MESSAGE(kFlashMessage, OnStartFlash)
  ON_COMMAND(ID_VIEW_FULL_SCREEN, OnFullScreen)
  ON_UPDATE_COMMAND_UI(ID_VIEW_FULL_SCREEN, OnUpdateFullScreen)
  ON_COMMAND(ID_WINDOW_CLOSE_ALL, OnWindowCloseAll)
  ON_COMMAND(ID_WINDOW_CLOSE_CHILD, OnWindowClose)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_CLOSE_CHILD, OnUpdateWindowClose)
  ON_COMMAND(ID_WINDOW_NEXT_CHILD, OnWindowNext)
  ON_COMMAND(ID_WINDOW_PREVIOUS_CHILD, OnWindowPrevious)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_NEXT_CHILD, OnUpdateWindowNext)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_PREVIOUS_CHILD, OnUpdateWindowNext)
  ON_COMMAND(ID_WINDOW_LIST, OnWindowList)
  ON_COMMAND_RANGE(ID_HELP_WEB_FIRST, ID_HELP_WEB_LAST, OnWebLink)
  ON_COMMAND(ID_HELP_TIP_OF_THE_DAY, OnTipOfTheDay)
  ON_COMMAND(ID_HELP_TECHNICAL_SUPPORT, OnTechnicalSupport)
  ON_COMMAND(ID_VIEW_PROJECT_EXPLORER, OnProjectExplorer)
  ON_COMMAND(ID_VIEW_CUSTOMIZE_TOOLBARS, OnCustomizeToolbars)
  ON_UPDATE_COMMAND_UI(ID_VIEW_PROJECT_EXPLORER, OnUpdateProjectExplorer)
  ON_COMMAND_RANGE(ID_RECENT_PROJECT_FIRST, ID_RECENT_PROJECT_LAST, OnRecentProject)
  ON_UPDATE_COMMAND_UI(ID_RECENT_PROJECT_FIRST, OnUpdateRecentProjectMenu)
  ON_COMMAND(ID_HELP_FINDER, OnHelpIndex)
  ON_COMMAND(ID_HELP, OnHelpTopic)
  ON_COMMAND(ID_DEFAULT_HELP, OnHelpFinder)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() {
  LOGFONT lf = FixedsysLogFont();
  lf.lfPitchAndFamily |= FIXED_PITCH;
  m_pFixedFont = new CFont;
  m_pFixedFont->CreateFontIndirect(&lf);

  SetToolBarManager(new SECToolBarManager(this));
  m_pMenuBar = new SECMDIMenuBar;
  EnableBmpMenus(TRUE);
}

CMainFrame::~CMainFrame() {
  delete GetToolBarManager();
  SetToolBarManager(nullptr);
  delete m_pMenuBar;
  m_pMenuBar = nullptr;
  delete m_pFixedFont;
  DeleteComponents();
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  cs.x = 0;
  cs.y = 0;
  cs.cx = ::GetSystemMetrics(SM_CXSCREEN);
  cs.cy = ::GetSystemMetrics(SM_CYSCREEN);
  if (!SECWorkbook::PreCreateWindow(cs)) return FALSE;
  // The workbook keeps its children clipped so that its tab strip never paints over them.
  cs.style = WS_MAXIMIZE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | (cs.style & WS_CLIPCHILDREN);
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (SECWorkbook::OnCreate(lpCreateStruct) == -1) return -1;
  m_wndMDIClient.SubclassWindow(m_hWndMDIClient);
  if (!CreateToolBars() || !CreateStatusBar()) return -1;
  EnableDocking(CBRS_ALIGN_ANY);
  if (!CreateProjectExplorer()) return -1;
  if (auto* pManager = static_cast<SECToolBarManager*>(GetToolBarManager()); pManager != nullptr) {
    pManager->SetMenuInfo(2, kMenuBarMenus);
  }
  CreateWorkspaceManager();
  if (auto* pManager = static_cast<SECToolBarManager*>(GetToolBarManager()); pManager != nullptr)
    pManager->LoadState(kBarState);
  // The docking layout saved at the last close, once every bar exists.
  CString strSummary;
  strSummary.Format("%s-Summary", kBarState);
  if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->GetProfileInt(strSummary, "Bars", 0) > 0)
    LoadBarState(kBarState);
  // Whatever the layout says, the menubar shows: without it nothing on screen leads back to the
  // bars' commands.
  if (m_pMenuBar != nullptr && m_pMenuBar->GetSafeHwnd() != nullptr && !m_pMenuBar->IsVisible())
    ShowControlBar(m_pMenuBar, TRUE, FALSE);
  SetWorkbookMode(TRUE);
  LoadComponents(CInkwrightApp::GetProgramFolder() + kComponentFile);
  return 0;
}

BOOL CMainFrame::CreateToolBars() {
  auto* pManager = static_cast<SECToolBarManager*>(GetToolBarManager());
  if (pManager == nullptr) return FALSE;
  // Without its images the toolbar still works, with blank buttons.
  pManager->LoadToolBarResource(IDR_MAINFRAME);
  CString strTitle;
  strTitle.LoadString(IDS_TOOLBAR_TITLE);
  pManager->DefineDefaultToolBar(AFX_IDW_TOOLBAR, strTitle, static_cast<int>(std::size(kDefaultButtons)),
                                 kDefaultButtons, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
  pManager->EnableCoolLook(TRUE, CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER);
  return TRUE;
}

BOOL CMainFrame::CreateStatusBar() {
  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR)) return FALSE;
  if (!m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)))) return FALSE;
  m_wndStatusBar.FitPanesToContents();
  return TRUE;
}

BOOL CMainFrame::CreateProjectExplorer() {
  CString strTitle;
  strTitle.LoadString(IDS_PROJECT_EXPLORER_TITLE);
  if (!m_wndProjectExplorer.Create(this, strTitle, WS_VISIBLE | CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT | CBRS_SIZE_DYNAMIC,
                                   0xF31, IDW_PROJECT_EXPLORER))
    return FALSE;
  m_wndProjectExplorer.EnableDocking(CBRS_ALIGN_ANY);
  DockControlBarEx(&m_wndProjectExplorer, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, ProjectWorkspaceWnd::kDefaultWidth);
  return TRUE;
}

void CMainFrame::CreateWorkspaceManager() {
  CreateWorkspacePlugIn(kWorkspaceKey, TRUE, RUNTIME_CLASS(SECWorkspaceManagerEx), FALSE);
}

SECWorkspaceManagerEx* CMainFrame::GetWorkspaceManager() const {
  return dynamic_cast<SECWorkspaceManagerEx*>(m_pWorkspacePlugIn);
}

SECMenuBar* CMainFrame::GetMenuBar() const { return m_pMenuBar; }

HMENU CMainFrame::GetWindowMenuPopup(HMENU hMenuBar) {
  if (HMENU hPopup = SECWorkbook::GetWindowMenuPopup(hMenuBar)) return hPopup;
  for (int i = hMenuBar != nullptr ? ::GetMenuItemCount(hMenuBar) - 1 : -1; i >= 0; --i) {
    const HMENU hPopup = ::GetSubMenu(hMenuBar, i);
    if (hPopup != nullptr && ::GetMenuState(hPopup, ID_WINDOW_LIST, MF_BYCOMMAND) != static_cast<UINT>(-1))
      return hPopup;
  }
  return nullptr;
}


// ---- title ----

void CMainFrame::OnUpdateFrameTitle(BOOL /*bAddToTitle*/) {
  const CString strName = GetShellServices()->GetProjectName();
  const CString strTitle = strName.IsEmpty() ? CString(kAppTitle) : strName + " - " + kAppTitle;
  CString strNow;
  GetWindowText(strNow);
  if (strNow != strTitle) SetWindowText(strTitle);
}

// ---- components ----

int CMainFrame::LoadComponents(LPCTSTR lpszPath) {
  DeleteComponents();
  CStdioFile file;
  if (!file.Open(lpszPath, CFile::modeRead | CFile::typeText)) return 0;
  int nId = kFirstComponentId;
  CString strLine;
  while (file.ReadString(strLine)) {
    strLine.Trim();
    const int nHash = strLine.ReverseFind('#');
    if (nHash <= 0 || nHash == strLine.GetLength() - 1) continue;
    auto* pComponent = new CGenMenuObj;
    pComponent->m_strComponentName = strLine.Left(nHash);
    pComponent->m_strComponentText = strLine.Mid(nHash + 1);
    pComponent->m_nId = nId++;
    m_listComponents.AddTail(pComponent);
  }
  return static_cast<int>(m_listComponents.GetCount());
}

CString CMainFrame::GetComponentName(int nId) const {
  for (POSITION pos = m_listComponents.GetHeadPosition(); pos != nullptr;) {
    const CGenMenuObj* pComponent = m_listComponents.GetNext(pos);
    if (pComponent->m_nId == nId) return pComponent->m_strComponentText;
  }
  return CString();
}

void CMainFrame::DeleteComponents() {
  while (!m_listComponents.IsEmpty()) delete m_listComponents.RemoveHead();
}

// ---- documents and the project ----

void CMainFrame::CollectOpenDocumentNames(CStringList& list) {
  list.RemoveAll();
  for (HWND hChild = ::GetWindow(m_hWndMDIClient, GW_CHILD); hChild != nullptr;
       hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    // The name is the document's own, without the marks its window's title adds (modified,
    // read-only).
    auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hChild));
    CDocument* pDoc = pFrame != nullptr ? pFrame->GetActiveDocument() : nullptr;
    if (auto* pEditDoc = dynamic_cast<CEditCodeDoc*>(pDoc); pEditDoc != nullptr && !pEditDoc->GetPlainTitle().IsEmpty()) {
      list.AddTail(pEditDoc->GetPlainTitle());
    } else if (pDoc != nullptr) {
      list.AddTail(pDoc->GetTitle());
    } else {
      char szText[kMaxWindowText + 1] = {};
      ::GetWindowText(hChild, szText, kMaxWindowText);
      list.AddTail(szText);
    }
  }
}

BOOL CMainFrame::ReanalyseProject() {
  ShellServices* pShell = GetShellServices();
  if (CWorkSpaceObj* pWorkSpace = pShell->GetWorkSpace(); pWorkSpace != nullptr && !pShell->GetProjectName().IsEmpty()) {
    pWorkSpace->DeleteAllFileObjs();
    pWorkSpace->AnalyseProjectFiles(pShell->GetProjectFolder() + "Header Files\\*.*");
  }
  // Class tree, class structure and files, then the generated output.
  static constexpr int kTrees[] = {ProjectWorkspaceWnd::kTabClass, ProjectWorkspaceWnd::kTabHier,
                                   ProjectWorkspaceWnd::kTabFile};
  for (int nTab : kTrees) {
    auto* pTree = dynamic_cast<WorkspaceTree*>(m_wndProjectExplorer.GetTree(nTab));
    if (pTree != nullptr && pTree->GetSafeHwnd() != nullptr) pTree->Refresh();
  }
  auto* pOutput = dynamic_cast<DatabaseView*>(m_wndProjectExplorer.GetTree(ProjectWorkspaceWnd::kTabOutput));
  if (pOutput != nullptr && pOutput->GetSafeHwnd() != nullptr) pOutput->Refresh();
  // The title names the project the trees now show, at once: a modal window up before the next
  // idle time (the tip of the day at a start with a project) would show the old name meanwhile.
  OnUpdateFrameTitle(TRUE);
  return TRUE;
}

// ---- closing ----

void CMainFrame::OnClose() {
  // In print preview a close ends the preview only, as the frame's own close does: nothing is
  // saved for a close that does not come.
  if (m_lpfnCloseProc != nullptr) {
    m_lpfnCloseProc(this);
    return;
  }
  // The Customize sheet leaves the frame enabled (buttons are dragged onto its toolbars): a close
  // asked for while it is up cancels it first, and comes again once its loop has ended.
  if (m_pCustomizeSheet != nullptr) {
    m_pCustomizeSheet->SendMessage(WM_COMMAND, IDCANCEL);
    PostMessage(WM_CLOSE);
    return;
  }
  if (PutOffCloseForMenu()) return;
  auto* pApp = dynamic_cast<CInkwrightApp*>(AfxGetApp());
  // A document that could not be saved (its file read-only, or gone with its folder) is asked
  // about once more, as the framework asks: Yes saves it under another name, No leaves the
  // change, Cancel keeps the window open. Without that choice no close could ever end.
  std::vector<CDocument*> declined;
  if (pApp != nullptr && !pApp->SaveAllDocuments() && !pApp->AskAboutUnwritableDocuments(declined)) return;
  ShellServices* pShell = GetShellServices();
  CWorkSpaceObj* pWorkSpace = pShell->GetWorkSpace();
  const CString strName = pShell->GetProjectName();
  if (pWorkSpace != nullptr && !strName.IsEmpty() && pWorkSpace->IsModified()) {
    // The question names the options kept in the project when they are among the changes.
    CString strQuestion(MAKEINTRESOURCE(IDS_SAVE_PROJECT_QUESTION));
    if (pWorkSpace->m_bDocOptionsChanged) strQuestion += "\n\n" + CString(MAKEINTRESOURCE(IDS_SAVE_PROJECT_DOC_OPTIONS));
    if (pWorkSpace->m_bHelpSettingsChanged)
      strQuestion += "\n\n" + CString(MAKEINTRESOURCE(IDS_SAVE_PROJECT_HELP_SETTINGS));
    switch (AfxMessageBox(strQuestion, MB_YESNOCANCEL | MB_ICONINFORMATION)) {
      case IDCANCEL:
        return;
      case IDYES: {
        const CString strPath = pShell->GetProjectFolder() + strName + ".dcp";
        CollectOpenDocumentNames(pWorkSpace->m_DocTitleList);
        // A project that could not be written keeps the window open, with the reason: closing
        // would lose it.
        if (!pWorkSpace->SaveAndReport(strPath)) return;
        if (pApp != nullptr) pApp->MoveRecentProjectToFront(strPath);
        break;
      }
      default:
        break;
    }
  }
  // The layout is saved as the user knows it outside full screen: full screen hides the bars and
  // floats a button bar of its own, which would otherwise be the next start's whole layout.
  if (m_FullScreen.IsFullScreen()) m_FullScreen.LeaveFSMode();
  SaveBarState(kBarState);
  if (auto* pManager = static_cast<SECToolBarManager*>(GetToolBarManager()); pManager != nullptr)
    pManager->SaveState(kBarState);
  // An open workspace keeps the windows as they are now; none is asked for.
  if (SECWorkspaceManagerEx* pWorkspaces = GetWorkspaceManager(); pWorkspaces != nullptr && pWorkspaces->IsOpen())
    pWorkspaces->SaveCurrentWorkspace();
  // The changes the user chose to leave are not asked about a second time.
  for (CDocument* pDoc : declined) pDoc->SetModifiedFlag(FALSE);
  SECWorkbook::OnClose();
}

// ---- recent projects ----

void CMainFrame::OnUpdateRecentProjectMenu(CCmdUI* pCmdUI) {
  CMenu* pMenu = pCmdUI->m_pMenu;
  if (pMenu == nullptr || pMenu->GetMenuItemID(static_cast<int>(pCmdUI->m_nIndex)) != ID_RECENT_PROJECT_FIRST) return;
  for (UINT nID = ID_RECENT_PROJECT_FIRST; nID <= ID_RECENT_PROJECT_LAST; ++nID) pMenu->DeleteMenu(nID, MF_BYCOMMAND);
  const auto* pApp = dynamic_cast<CInkwrightApp*>(AfxGetApp());
  const UINT nIndex = pCmdUI->m_nIndex;
  if (pApp == nullptr || pApp->m_listRecentProjects.IsEmpty()) {
    pMenu->InsertMenu(nIndex, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_RECENT_PROJECT_FIRST,
                      CString(MAKEINTRESOURCE(IDS_RECENT_PROJECT_NONE)));
  } else {
    int n = 0;
    for (POSITION pos = pApp->m_listRecentProjects.GetHeadPosition(); pos != nullptr && n < kRecentProjectsShown; ++n) {
      CString strText;
      strText.Format("&%d, %s", n + 1, static_cast<LPCTSTR>(pApp->m_listRecentProjects.GetNext(pos)));
      pMenu->InsertMenu(nIndex + static_cast<UINT>(n), MF_BYPOSITION | MF_STRING, ID_RECENT_PROJECT_FIRST + n, strText);
    }
  }
  pCmdUI->m_nIndexMax = static_cast<UINT>(pMenu->GetMenuItemCount());
  pCmdUI->m_bEnableChanged = TRUE;
}

void CMainFrame::OnRecentProject(UINT nID) {
  auto* pApp = dynamic_cast<CInkwrightApp*>(AfxGetApp());
  if (pApp == nullptr) return;
  POSITION pos = pApp->m_listRecentProjects.FindIndex(static_cast<INT_PTR>(nID - ID_RECENT_PROJECT_FIRST));
  if (pos == nullptr) return;
  const CString strPath = pApp->m_listRecentProjects.GetAt(pos);
  CString strExt = strPath.Right(4);
  strExt.MakeUpper();
  if (strExt == ".DCP" && pApp->IsDifferentProject(strPath)) pApp->OpenProject(strPath);
}

// ---- the explorer ----

BOOL CMainFrame::ShowProjectExplorer(BOOL bShow) {
  if (!bShow == !m_wndProjectExplorer.IsVisible()) return FALSE;
  ShowControlBar(&m_wndProjectExplorer, bShow, FALSE);
  return TRUE;
}

void CMainFrame::OnProjectExplorer() {
  ShowControlBar(&m_wndProjectExplorer, !m_wndProjectExplorer.IsVisible(), TRUE);
}

void CMainFrame::OnUpdateProjectExplorer(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_wndProjectExplorer.IsVisible()); }

// ---- customising the toolbars ----

namespace {

// The commands of a popup and its submenus, in menu order, each once; the entries the program
// fills in as it runs (recent files, projects and layouts, the document windows) are left out.
void CollectMenuCommands(HMENU hMenu, std::vector<UINT>& ids) {
  for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
    if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
      CollectMenuCommands(hSub, ids);
      continue;
    }
    const UINT nID = ::GetMenuItemID(hMenu, i);
    const bool filledIn = (nID >= ID_FILE_MRU_FIRST && nID <= ID_FILE_MRU_LAST) ||
                          (nID >= ID_RECENT_PROJECT_FIRST && nID <= ID_RECENT_PROJECT_LAST) ||
                          (nID >= SECWorkspaceManagerEx::kFirstRecent && nID <= SECWorkspaceManagerEx::kLastRecent) ||
                          nID >= AFX_IDM_FIRST_MDICHILD;
    if (nID == 0 || nID == static_cast<UINT>(-1) || filledIn) continue;
    if (std::find(ids.begin(), ids.end(), nID) == ids.end()) ids.push_back(nID);
  }
}

}  // namespace

void CMainFrame::OnCustomizeToolbars() {
  auto* pManager = static_cast<SECToolBarManager*>(GetToolBarManager());
  if (pManager == nullptr) return;
  // The Commands page: the toolbar's own buttons first, then the commands of each menu.
  SECToolBarCmdPage commands;
  CString strToolBar;
  strToolBar.LoadString(IDS_TOOLBAR_TITLE);
  std::vector<UINT> buttons;
  for (UINT nID : kDefaultButtons)
    if (nID != 0) buttons.push_back(nID);
  commands.DefineBtnGroup(strToolBar, static_cast<int>(buttons.size()), buttons.data());
  if (HMENU hMenu = ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME)); hMenu != nullptr) {
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
      HMENU hPopup = ::GetSubMenu(hMenu, i);
      if (hPopup == nullptr) continue;
      char szName[64] = {};
      ::GetMenuString(hMenu, static_cast<UINT>(i), szName, sizeof szName, MF_BYPOSITION);
      CString strName(szName);
      strName.Remove('&');
      std::vector<UINT> ids;
      CollectMenuCommands(hPopup, ids);
      if (!ids.empty()) commands.DefineMenuGroup(strName, static_cast<int>(ids.size()), ids.data());
    }
    ::DestroyMenu(hMenu);
  }
  commands.SetManager(pManager);
  SECToolBarsPage toolbars;
  toolbars.SetManager(pManager);
  SECToolBarSheet sheet("Customize", this);
  sheet.AddPage(&commands);
  sheet.AddPage(&toolbars);
  m_pCustomizeSheet = &sheet;
  sheet.DoModal();
  m_pCustomizeSheet = nullptr;
  RecalcLayout();
}

// ---- flashing ----

void CMainFrame::FlashUntilActive() {
  m_bStopFlash = 0;
  // A post is safe from any thread and never waits for the frame's thread.
  if (HWND hWnd = m_hWnd; hWnd != nullptr) ::PostMessage(hWnd, kFlashMessage, 0, 0);
}

LRESULT CMainFrame::OnStartFlash(WPARAM, LPARAM) {
  if (m_bStopFlash != 0 || ::GetForegroundWindow() == m_hWnd) {
    StopFlashing();
    return 0;
  }
  if (!m_bFlashing) {
    m_bFlashing = TRUE;
    FlashWindow(TRUE);
    SetTimer(kFlashTimer, kFlashInterval, nullptr);
  }
  return 0;
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kFlashTimer) {
    SECWorkbook::OnTimer(nIDEvent);
    return;
  }
  if (m_bStopFlash != 0 || ::GetForegroundWindow() == m_hWnd)
    StopFlashing();
  else
    FlashWindow(TRUE);
}

void CMainFrame::StopFlashing() {
  if (!m_bFlashing) return;
  KillTimer(kFlashTimer);
  m_bFlashing = FALSE;
  FlashWindow(FALSE);
}

void CMainFrame::OnSetFocus(CWnd* pOldWnd) {
  m_bStopFlash = 1;
  StopFlashing();
  SECWorkbook::OnSetFocus(pOldWnd);
}

// ---- window commands ----

int CMainFrame::CountChildren() const {
  int nCount = 0;
  for (HWND hChild = ::GetWindow(m_hWndMDIClient, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    ++nCount;
  return nCount;
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
  // Only Alt+F4 sends this command from the keyboard (code 1); without a document window to
  // close it closes the program, as the key does everywhere else.
  if (LOWORD(wParam) == ID_WINDOW_CLOSE_CHILD && HIWORD(wParam) == 1 && MDIGetActive() == nullptr) {
    PostMessage(WM_SYSCOMMAND, SC_CLOSE);
    return TRUE;
  }
  return SECWorkbook::OnCommand(wParam, lParam);
}

void CMainFrame::OnWindowClose() {
  // Through the child's own close, so that a changed document is asked about.
  if (CMDIChildWnd* pChild = MDIGetActive(); pChild != nullptr) pChild->SendMessage(WM_CLOSE);
}

void CMainFrame::OnUpdateWindowClose(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }

void CMainFrame::OnWindowCloseAll() {
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr && pApp->SaveAllModified()) pApp->CloseAllDocuments(FALSE);
}

void CMainFrame::OnWindowNext() { ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 0); }

void CMainFrame::OnWindowPrevious() { ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 1); }

void CMainFrame::OnUpdateWindowNext(CCmdUI* pCmdUI) { pCmdUI->Enable(CountChildren() > 1); }

void CMainFrame::OnWindowList() {
  CWindowDlg dialog(this);
  dialog.DoModal();
}

// ---- full screen ----

void CMainFrame::OnFullScreen() {
  // The checked command leaves the mode again.
  if (m_FullScreen.IsFullScreen())
    m_FullScreen.LeaveFSMode();
  else
    m_FullScreen.SetFSMode(SECFullScreenView::SEC_FS_MENU_AT_TOP | SECFullScreenView::SEC_FS_TEXT_BUTTON,
                           "&Full Screen", this);
}

void CMainFrame::OnUpdateFullScreen(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_FullScreen.IsFullScreen()); }

LRESULT CMainFrame::OnFullScreenNotify(WPARAM wParam, LPARAM) {
  if (CMDIChildWnd* pChild = MDIGetActive(); pChild != nullptr) {
    if (CView* pView = pChild->GetActiveView(); pView != nullptr)
      pView->PostMessage(WM_FULLSCREEN_CHANGED, wParam, 0);
  }
  return 1;
}

// ---- help ----

void CMainFrame::OnWebLink(UINT /*nID*/) {
  CString strAddress = kDefaultHomePage;
  if (CWinApp* pApp = AfxGetApp(); pApp != nullptr) strAddress = pApp->GetProfileString("Web", "HomePage", kDefaultHomePage);
  ::ShellExecute(m_hWnd, "open", strAddress, nullptr, nullptr, SW_SHOW);
}

void CMainFrame::OnHelpTopic() {
  // F1 and Help > Contents: the page of the message box's prompt, the highlighted menu command or
  // the window or dialog the user is in; the contents (the default help) otherwise. A message
  // box whose prompt has no page of its own gives the page of the place that raised it.
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  const DWORD dwPrompt = pApp->m_dwPromptContext;
  if (dwPrompt != 0 && !help_topics::HasPage(dwPrompt)) pApp->m_dwPromptContext = 0;
  pApp->OnHelp();
  pApp->m_dwPromptContext = dwPrompt;
}

void CMainFrame::OnHelpFinder() {
  if (CWinApp* pApp = AfxGetApp(); pApp != nullptr) pApp->WinHelp(0, HELP_FINDER);
}

void CMainFrame::OnHelpIndex() {
  if (CWinApp* pApp = AfxGetApp(); pApp != nullptr) pApp->WinHelp(0, HELP_INDEX);
}

void CMainFrame::OnTechnicalSupport() {
  CBugReportDlg dialog(this);
  dialog.DoModal();
}

void CMainFrame::OnTipOfTheDay() {
  // The tip number lives in the system's profile; this command only reads it.
  m_nTipCurrent = SECTipOfDay::NextTip(::GetProfileInt("SampleTip", "CurrentTip", 0));
  COurOwnTipDlg dialog(CInkwrightApp::GetProgramFolder() + kTipsFile, m_nTipCurrent, m_bTipShowAtStartup, this);
  dialog.DoModal();
  m_bTipShowAtStartup = dialog.m_bShowAtStartup;
  m_nTipCurrent = dialog.m_nCurrentTip;
}

// Files dropped from another program on the frame, its bars or the explorer open as the
// framework's frame opens them: the frame comes forward, then each file goes through the
// application's OpenDocumentFile (a project file opens as the project), which reports a file it
// cannot open.
void CMainFrame::OnDropFiles(HDROP hDropInfo) {
  // A print preview shows one document and prints it: a file dropped meanwhile is refused.
  if (m_lpfnCloseProc != nullptr) {
    ::DragFinish(hDropInfo);
    ::MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  SetActiveWindow();
  const UINT nFiles = ::DragQueryFile(hDropInfo, 0xFFFFFFFF, nullptr, 0);
  std::vector<CString> files;
  for (UINT i = 0; i < nFiles; ++i) {
    std::vector<char> name(::DragQueryFile(hDropInfo, i, nullptr, 0) + 1);
    ::DragQueryFile(hDropInfo, i, name.data(), static_cast<UINT>(name.size()));
    files.emplace_back(name.data());
  }
  ::DragFinish(hDropInfo);
  for (const CString& file : files) AfxGetApp()->OpenDocumentFile(file);
}

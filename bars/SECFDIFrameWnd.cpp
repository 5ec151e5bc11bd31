// Floating-document frames: the main frame's list and Window menu, the document frames'
// cascade, activation and closing, and the "Windows" dialog that reaches every frame.
#include "bars/SECFDIFrameWnd.h"

#include "resources/Bars.h"

namespace {

// Where the next document frame opens.
int g_nNextX = 10;
int g_nNextY = 110;

}  // namespace

// ---- main frame ----

IMPLEMENT_DYNCREATE(SECFDIFrameWnd, SECFrameWnd)

BEGIN_MESSAGE_MAP(SECFDIFrameWnd, SECFrameWnd)
  ON_UPDATE_COMMAND_UI(ID_SEC_FDI_WINDOW_FIRST, OnUpdateWindowList)
  ON_COMMAND_RANGE(ID_SEC_FDI_WINDOW_FIRST, ID_SEC_FDI_WINDOW_LAST, OnWindowCommand)
END_MESSAGE_MAP()

SECFDIChildWnd* SECFDIFrameWnd::GetFrame(int nIndex) const {
  POSITION pos = m_listFrames.FindIndex(nIndex);
  return pos != nullptr ? static_cast<SECFDIChildWnd*>(m_listFrames.GetAt(pos)) : nullptr;
}

CString SECFDIFrameWnd::FrameTitle(CFrameWnd* pFrame) {
  CString strTitle;
  if (CDocument* pDoc = pFrame->GetActiveDocument()) strTitle = pDoc->GetTitle();
  if (strTitle.IsEmpty()) {
    pFrame->GetWindowText(strTitle);
    strTitle = strTitle.Left(260);
  }
  return strTitle;
}

CFrameWnd* SECFDIFrameWnd::GetActiveFrame() {
  if (m_pActiveDocFrame != nullptr && ::GetActiveWindow() == m_pActiveDocFrame->GetSafeHwnd()) return m_pActiveDocFrame;
  return this;
}

BOOL SECFDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (m_pActiveDocFrame != nullptr && m_pActiveDocFrame->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return SECFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void SECFDIFrameWnd::OnUpdateWindowList(CCmdUI* pCmdUI) {
  CMenu* pMenu = pCmdUI->m_pMenu;
  if (pMenu == nullptr) {
    pCmdUI->Enable(TRUE);
    return;
  }
  for (int i = static_cast<int>(pMenu->GetMenuItemCount()) - 1; i >= static_cast<int>(pCmdUI->m_nIndex); --i) {
    const UINT nID = pMenu->GetMenuItemID(i);
    if (nID >= ID_SEC_FDI_WINDOW_FIRST && nID <= ID_SEC_FDI_WINDOW_LAST) pMenu->DeleteMenu(i, MF_BYPOSITION);
  }
  UINT nPos = pCmdUI->m_nIndex;
  int k = 0;
  for (POSITION pos = m_listFrames.GetHeadPosition(); pos != nullptr && k < kSECFDIMenuFrames; ++k) {
    auto* pFrame = static_cast<SECFDIChildWnd*>(m_listFrames.GetNext(pos));
    CString strItem;
    strItem.Format("&%d %s", k + 1, static_cast<LPCTSTR>(FrameTitle(pFrame)));
    const UINT nFlags = MF_BYPOSITION | MF_STRING | (pFrame == m_pActiveDocFrame ? MF_CHECKED : MF_UNCHECKED);
    pMenu->InsertMenu(nPos++, nFlags, ID_SEC_FDI_WINDOW_FIRST + k, strItem);
  }
  CString strWindows;
  strWindows.LoadString(IDS_SEC_WINDOWS_ITEM);
  const UINT nFlags = MF_BYPOSITION | MF_STRING | (m_listFrames.IsEmpty() ? MF_GRAYED | MF_DISABLED : MF_ENABLED);
  pMenu->InsertMenu(nPos, nFlags, ID_SEC_FDI_WINDOW_FIRST + k, strWindows);
  // The items are done here; the framework's update leaves them alone.
  pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
  pCmdUI->m_bEnableChanged = TRUE;
}

void SECFDIFrameWnd::ActivateFrameAt(int nIndex) {
  SECFDIChildWnd* pFrame = GetFrame(nIndex);
  if (pFrame == nullptr) return;
  pFrame->ActivateFrame(-1);
}

void SECFDIFrameWnd::OnWindowCommand(UINT nID) {
  const UINT nIndex = nID - ID_SEC_FDI_WINDOW_FIRST;
  if (nID == ID_SEC_FDI_WINDOW_LAST || nIndex >= static_cast<UINT>(GetFrameCount())) {
    SECWindowsDialog dialog(this, this);
    dialog.DoModal();
    return;
  }
  ActivateFrameAt(static_cast<int>(nIndex));
}

// ---- document frames ----

IMPLEMENT_DYNCREATE(SECFDIChildWnd, SECFrameWnd)

BEGIN_MESSAGE_MAP(SECFDIChildWnd, SECFrameWnd)
  ON_WM_ACTIVATE()
  ON_WM_CLOSE()
END_MESSAGE_MAP()

SECFDIChildWnd::~SECFDIChildWnd() {
  if (m_hMenu != nullptr) ::DestroyMenu(m_hMenu);
}

void SECFDIChildWnd::ResetCascade() {
  g_nNextX = 10;
  g_nNextY = 110;
}

BOOL SECFDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
  cs.x = g_nNextX;
  cs.y = g_nNextY;
  g_nNextX += 40;
  g_nNextY += 40;
  if (cs.cx + g_nNextX > ::GetSystemMetrics(SM_CXSCREEN)) g_nNextX = ::GetSystemMetrics(SM_CXSCREEN) / 10;
  if (cs.cy + g_nNextY > ::GetSystemMetrics(SM_CYSCREEN)) g_nNextY = ::GetSystemMetrics(SM_CYSCREEN) / 10;
  return SECFrameWnd::PreCreateWindow(cs);
}

BOOL SECFDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  if (pParentWnd == nullptr) pParentWnd = AfxGetThread() != nullptr ? AfxGetThread()->m_pMainWnd : nullptr;
  m_pFDIFrame = dynamic_cast<SECFDIFrameWnd*>(pParentWnd);
  m_nIDHelp = nIDResource;
  const CString strTitle = SECFrameTitleFromResource(nIDResource);
  LPCTSTR lpszResource = MAKEINTRESOURCE(nIDResource);
  if (::FindResource(AfxFindResourceHandle(lpszResource, RT_MENU), lpszResource, RT_MENU) != nullptr)
    m_hMenu = ::LoadMenu(AfxFindResourceHandle(lpszResource, RT_MENU), lpszResource);
  const HICON hIcon = ::LoadIcon(AfxGetResourceHandle(), lpszResource);
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
  m_strTitle = strTitle;
  if (!CreateEx(0, lpszClass, strTitle, dwDefaultStyle | WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), m_hMenu, pContext)) {
    if (m_hMenu != nullptr) ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return FALSE;
  }
  m_hMenuDefault = ::GetMenu(m_hWnd);
  LoadAccelTable(lpszResource);
  if (pContext == nullptr) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  if (m_pFDIFrame != nullptr) m_pFDIFrame->m_listFrames.AddTail(this);
  return TRUE;
}

void SECFDIChildWnd::ActivateFrame(int nCmdShow) {
  if (m_pFDIFrame != nullptr) m_pFDIFrame->m_pActiveDocFrame = this;
  SECFrameWnd::ActivateFrame(nCmdShow);
}

BOOL SECFDIChildWnd::DestroyWindow() {
  if (m_pFDIFrame != nullptr) {
    POSITION pos = m_pFDIFrame->m_listFrames.Find(this);
    if (pos != nullptr) m_pFDIFrame->m_listFrames.RemoveAt(pos);
    if (m_pFDIFrame->m_pActiveDocFrame == this) m_pFDIFrame->m_pActiveDocFrame = nullptr;
    m_pFDIFrame = nullptr;
  }
  return SECFrameWnd::DestroyWindow();
}

BOOL SECFDIChildWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  // The active document keeps its active caption when another frame's activation turns it off.
  if (message == WM_NCACTIVATE && wParam == FALSE && ::GetActiveWindow() == m_hWnd) wParam = TRUE;
  if (message == WM_NCLBUTTONDOWN || (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_LBUTTONDOWN))
    BringWindowToTop();
  return SECFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void SECFDIChildWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  SECFrameWnd::OnActivate(nState, pWndOther, bMinimized);
  if (nState != WA_ACTIVE || m_pFDIFrame == nullptr) return;
  m_pFDIFrame->m_pActiveDocFrame = this;
  // Only the active document shows an active caption.
  int k = 0;
  for (POSITION pos = m_pFDIFrame->m_listFrames.GetHeadPosition(); pos != nullptr && k < kSECFDIMenuFrames; ++k) {
    auto* pFrame = static_cast<CFrameWnd*>(m_pFDIFrame->m_listFrames.GetNext(pos));
    if (pFrame->GetSafeHwnd() != nullptr) pFrame->SendMessage(WM_NCACTIVATE, FALSE);
  }
}

void SECFDIChildWnd::OnClose() {
  CDocument* pDoc = GetActiveDocument();
  // The user sees which document asks to be saved.
  if (pDoc != nullptr && pDoc->IsModified()) ActivateFrame(-1);
  SECFrameWnd::OnClose();
}

// ---- the "Windows" dialog ----

IMPLEMENT_DYNAMIC(SECWindowsDialog, CDialog)

BEGIN_MESSAGE_MAP(SECWindowsDialog, CDialog)
  ON_BN_CLICKED(IDC_SEC_WINDOWS_CLOSE, OnCloseWindows)
  ON_BN_CLICKED(IDC_SEC_WINDOWS_SAVE, OnSave)
END_MESSAGE_MAP()

SECWindowsDialog::SECWindowsDialog(SECFDIFrameWnd* pFrame, CWnd* pParent)
    : CDialog(IDD_SEC_WINDOWS, pParent), m_pFDIFrame(pFrame), m_pFrameList(&pFrame->m_listFrames) {}

BOOL SECWindowsDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  // Every document frame is listed, however many there are.
  auto* pList = static_cast<CListBox*>(GetDlgItem(IDC_SEC_WINDOWS_LIST));
  for (POSITION pos = m_pFrameList->GetHeadPosition(); pos != nullptr;)
    pList->AddString(SECFDIFrameWnd::FrameTitle(static_cast<CFrameWnd*>(m_pFrameList->GetNext(pos))));
  CRect rc;
  GetWindowRect(&rc);
  SetWindowPos(nullptr, ::GetSystemMetrics(SM_CXSCREEN) / 2 - rc.Width() / 2,
               ::GetSystemMetrics(SM_CYSCREEN) / 2 - rc.Height() / 2, 0, 0, SWP_NOSIZE);
  return TRUE;
}

std::vector<int> SECWindowsDialog::SelectedLines() {
  std::vector<int> lines;
  auto* pList = static_cast<CListBox*>(GetDlgItem(IDC_SEC_WINDOWS_LIST));
  const int nCount = pList != nullptr ? pList->GetSelCount() : 0;
  if (nCount <= 0) return lines;
  lines.resize(static_cast<size_t>(nCount));
  pList->GetSelItems(nCount, lines.data());
  return lines;
}

void SECWindowsDialog::OnOK() {
  const std::vector<int> lines = SelectedLines();
  CDialog::OnOK();
  for (int line : lines) m_pFDIFrame->ActivateFrameAt(line);
}

void SECWindowsDialog::OnCloseWindows() {
  const std::vector<int> lines = SelectedLines();
  CDialog::OnOK();
  auto* pList = static_cast<CListBox*>(GetDlgItem(IDC_SEC_WINDOWS_LIST));
  // From the last to the first, so that the positions before stay valid.
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    if (SECFDIChildWnd* pFrame = m_pFDIFrame->GetFrame(*it)) pFrame->SendMessage(WM_CLOSE);
    if (pList != nullptr && pList->GetSafeHwnd() != nullptr) pList->DeleteString(*it);
  }
}

void SECWindowsDialog::OnSave() {
  const std::vector<int> lines = SelectedLines();
  CDialog::OnOK();
  CPtrList frames;
  for (int line : lines)
    if (SECFDIChildWnd* pFrame = m_pFDIFrame->GetFrame(line)) frames.AddTail(pFrame);
  for (POSITION pos = frames.GetHeadPosition(); pos != nullptr;) {
    auto* pFrame = static_cast<SECFDIChildWnd*>(frames.GetNext(pos));
    pFrame->ActivateFrame(-1);
    pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE);
  }
}

// The workbook's child frame: joining and leaving the tab strip, its icon, and the repaint of its
// tab when it is renamed, shown, hidden or given a menu.
#include "bars/SECWorksheet.h"

#include "bars/SECWorkbook.h"

IMPLEMENT_DYNCREATE(SECWorksheet, SECMDIChildWnd)

BEGIN_MESSAGE_MAP(SECWorksheet, SECMDIChildWnd)
  ON_WM_DESTROY()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

SECWorksheet::~SECWorksheet() {
  if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
}

SECWorkbook* SECWorksheet::GetWorkbook() {
  return dynamic_cast<SECWorkbook*>(GetMDIFrame());
}

BOOL SECWorksheet::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_bInLoadFrame = TRUE;
  const BOOL bLoaded = SECMDIChildWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
  m_bInLoadFrame = FALSE;
  if (!bLoaded) return FALSE;
  if (SECWorkbook* pBook = GetWorkbook()) pBook->AddSheet(this);
  m_hIcon = static_cast<HICON>(
      ::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource), IMAGE_ICON, 16, 16, 0));
  return TRUE;
}

BOOL SECWorksheet::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
  if (!SECMDIChildWnd::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, pContext)) return FALSE;
  if (!m_bInLoadFrame)
    if (SECWorkbook* pBook = GetWorkbook()) pBook->AddSheet(this);
  return TRUE;
}

void SECWorksheet::OnUpdateFrameTitle(BOOL bAddToTitle) {
  SECMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
  if (SECWorkbook* pBook = GetWorkbook()) pBook->InvalidateTab(this);
}

void SECWorksheet::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) {
  SECMDIChildWnd::OnUpdateFrameMenu(bActive, pActivateWnd, hMenuAlt);
  CMDIFrameWnd* pFrame = GetMDIFrame();
  if (m_hMenuShared == nullptr && m_bMenuBarMode && pFrame != nullptr)
    ::SendMessage(pFrame->m_hWndMDIClient, WM_SECWB_REDRAWTABS, static_cast<WPARAM>(-1), -1);
}

void SECWorksheet::OnDestroy() {
  if (SECWorkbook* pBook = GetWorkbook()) pBook->RemoveSheet(this);
  SECMDIChildWnd::OnDestroy();
  if (m_hIcon != nullptr) {
    ::DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
  }
}

void SECWorksheet::OnShowWindow(BOOL bShow, UINT nStatus) {
  SECMDIChildWnd::OnShowWindow(bShow, nStatus);
  if (SECWorkbook* pBook = GetWorkbook()) pBook->InvalidateTab(this, TRUE);
}

// ---- the worksheet that holds a control bar ----

IMPLEMENT_DYNCREATE(SECControlBarWorksheet, SECWorksheet)

BEGIN_MESSAGE_MAP(SECControlBarWorksheet, SECWorksheet)
  ON_WM_SIZE()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_CLOSE()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

BOOL SECControlBarWorksheet::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                                       CCreateContext* pContext) {
  if (!SECWorksheet::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
  // The tab takes the bar's icon instead.
  if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
  m_hIcon = nullptr;
  return TRUE;
}

BOOL SECControlBarWorksheet::PreCreateWindow(CREATESTRUCT& cs) {
  if (!SECWorksheet::PreCreateWindow(cs)) return FALSE;
  cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  return TRUE;
}

BOOL SECControlBarWorksheet::OnCreateClient(LPCREATESTRUCT, CCreateContext*) { return m_support.CreateDockBar(); }

void SECControlBarWorksheet::RecalcLayout(BOOL bNotify) {
  if (m_support.m_bInLayout) return;
  SECWorksheet::RecalcLayout(bNotify);
  m_support.AfterLayout();
}

void SECControlBarWorksheet::OnUpdateFrameTitle(BOOL bAddToTitle) {
  CString strCaption;
  GetWindowText(strCaption);
  SECWorksheet::OnUpdateFrameTitle(bAddToTitle);
  SetWindowText(strCaption);
  if (m_hIcon != nullptr) return;
  HICON hIcon = nullptr;
  SECDockBar& dock = m_support.GetDockBar();
  for (int i = 0; i < dock.m_arrBars.GetSize() && hIcon == nullptr; ++i)
    if (CControlBar* pBar = dock.GetDockedControlBar(i))
      hIcon = reinterpret_cast<HICON>(pBar->SendMessage(WM_GETICON, ICON_BIG));
  if (hIcon == nullptr) hIcon = ::LoadIcon(nullptr, IDI_WINLOGO);
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
  m_hIcon = ::CopyIcon(hIcon);
}

void SECControlBarWorksheet::OnSize(UINT nType, int cx, int cy) {
  if (m_support.BeforeSize(nType)) return;
  m_support.OnSize(cx, cy);
  SECWorksheet::OnSize(nType, cx, cy);
}

void SECControlBarWorksheet::OnWindowPosChanged(WINDOWPOS* lpWndPos) {
  m_support.OnWindowPosChanged();
  SECWorksheet::OnWindowPosChanged(lpWndPos);
}

void SECControlBarWorksheet::OnClose() {
  if (!m_support.OnClose()) SECWorksheet::OnClose();
}

void SECControlBarWorksheet::OnShowWindow(BOOL bShow, UINT nStatus) {
  SECWorksheet::OnShowWindow(bShow, nStatus);
  m_support.AfterShowWindow(bShow);
}

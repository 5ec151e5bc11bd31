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

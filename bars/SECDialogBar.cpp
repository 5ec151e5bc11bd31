// SECDialogBar: creation from a dialog template and the record's template id.
#include "bars/SECDialogBar.h"

#include "bars/SECControlBarInfo.h"

IMPLEMENT_DYNCREATE(SECDialogBar, SECControlBar)

SECDialogBar::SECDialogBar() = default;
SECDialogBar::~SECDialogBar() = default;

BOOL SECDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, DWORD dwStyle, DWORD dwExStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  m_dwExStyle = dwExStyle;
  m_nIDTemplate = nIDTemplate;
  if (!AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG)) return FALSE;
  m_bInCreate = TRUE;
  const LPCTSTR name = MAKEINTRESOURCE(nIDTemplate);
  BOOL made = CreateDlg(name, pParentWnd);
  m_bInCreate = FALSE;
  if (!made) return FALSE;
  SetDlgCtrlID(static_cast<int>(nID));
  CRect rect;
  GetWindowRect(&rect);
  ModifyStyle(WS_CAPTION, WS_CLIPSIBLINGS);
  if (!ExecuteDlgInit(name)) return FALSE;
  RecordChildren();
  SetWindowPos(nullptr, 0, 0, 0, 0,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE |
                   ((dwStyle & WS_VISIBLE) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  m_szHorzDock = m_szVertDock = m_szFloat = rect.Size();
  return TRUE;
}

void SECDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void SECDialogBar::GetBarInfo(SECControlBarInfo* pInfo) {
  pInfo->m_nResourceID = m_nIDTemplate;
  SECControlBar::GetBarInfo(pInfo);
}

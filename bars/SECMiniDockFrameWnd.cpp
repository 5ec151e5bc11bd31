// SECMiniDockFrameWnd: creating the floating frame around a toolkit dock bar, its layout at a
// point, and caption presses that raise it before the drag.
#include "bars/SECMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(SECMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(SECMiniDockFrameWnd, CMiniDockFrameWnd)
  ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

SECMiniDockFrameWnd::SECMiniDockFrameWnd() : m_wndSECDockBar(TRUE) {}

SECMiniDockFrameWnd::~SECMiniDockFrameWnd() = default;

BOOL SECMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  m_bInLayout = TRUE;
  m_bInRecalcLayout = TRUE;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_4THICKFRAME | MFS_SYNCACTIVATE | MFS_BLOCKSYSMENU |
                FWS_SNAPTOBARS;
  if (!(dwBarStyle & CBRS_SIZE_DYNAMIC)) style |= MFS_MOVEFRAME;
  if (!CMiniFrameWnd::CreateEx(0, nullptr, "", style, rectDefault, pParent)) return FALSE;  // deleted
  if (CMenu* sysMenu = GetSystemMenu(FALSE)) {
    sysMenu->DeleteMenu(SC_SIZE, MF_BYCOMMAND);
    sysMenu->DeleteMenu(SC_MINIMIZE, MF_BYCOMMAND);
    sysMenu->DeleteMenu(SC_MAXIMIZE, MF_BYCOMMAND);
    sysMenu->DeleteMenu(SC_RESTORE, MF_BYCOMMAND);
    CString hide;
    if (hide.LoadString(AFX_IDS_HIDE)) sysMenu->ModifyMenu(SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, hide);
  }
  DWORD dockStyle = (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
  dockStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
  // Made as the docking frame's child, so it joins that frame's bars, then moved in here.
  if (!m_wndSECDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | dockStyle, 0, AFX_IDW_DOCKBAR_FLOAT)) {
    m_bInLayout = m_bInRecalcLayout = FALSE;
    DestroyWindow();
    return FALSE;
  }
  m_wndSECDockBar.SetParent(this);
  m_bInLayout = m_bInRecalcLayout = FALSE;
  return TRUE;
}

void SECMiniDockFrameWnd::RecalcLayout(BOOL bNotify) {
  if (m_bInLayout) return;
  CMiniDockFrameWnd::RecalcLayout(bNotify);
}

void SECMiniDockFrameWnd::RecalcLayoutAt(int x, int y) {
  if (m_bInLayout) return;
  m_nIdleFlags &= ~static_cast<UINT>(idleLayout | idleNotify);
  if (!(GetStyle() & FWS_SNAPTOBARS) || m_bInRecalcLayout) {
    RecalcLayout(TRUE);
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  // The size the bars need, asked without laying them out, so that the frame moves and takes
  // its size in one step and the bars are laid out once, in the frame's new client area.
  m_bInRecalcLayout = TRUE;
  CRect client(0, 0, 32767, 32767);
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &client, &client, FALSE);
  CRect window = client;
  CalcWindowRect(&window);
  SetWindowPos(nullptr, x, y, window.Width(), window.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &client, TRUE);
  m_bInRecalcLayout = FALSE;
  CString title, current;
  m_wndSECDockBar.GetWindowText(title);
  GetWindowText(current);
  if (current != title) SetWindowText(title);
}

void SECMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  BringWindowToTop();
  CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
}

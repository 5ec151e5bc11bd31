// The window-hosting toolbar button: its window's place, visibility and width, the saved width,
// and dragging or resizing it in customise mode.
#include "bars/SECWndBtn.h"

#include "bars/CommandBarsRes.h"
#include "bars/SECCustomToolBar.h"

const UINT wmSECToolBarWndNotify = ::RegisterWindowMessage("WM_SECTOOLBARWNDNOTIFY");

SECWndBtn::SECWndBtn() { m_nType = WndBtn; }

void SECWndBtn::Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) {
  m_pToolBar = pToolBar;
  DWORD dwStyle = WS_VISIBLE | WS_TABSTOP;
  if (pParams != nullptr) {
    m_nCtrlID = static_cast<UINT>(pParams[0]);
    dwStyle = static_cast<DWORD>(pParams[1]);
    m_nWndWidth = LOWORD(pParams[2]);
    m_bResizable = HIWORD(pParams[2]) != 0;
    m_nWndHeight = static_cast<int>(pParams[3]);
  }
  if (m_nCtrlID == 0) m_nCtrlID = m_nID;
  if (m_nWndHeight <= 0) m_nWndHeight = pToolBar != nullptr ? pToolBar->GetButtonHeight() : 22;
  if (pToolBar != nullptr && pToolBar->GetSafeHwnd() != nullptr &&
      CreateWnd(pToolBar, dwStyle | WS_CHILD, CRect(0, 0, m_nWndWidth, m_nWndHeight), m_nCtrlID)) {
    SendNotify(SEC_WNDBTN_CREATED);
  }
  AdjustSize();
  UpdateWndVisibility();
}

void SECWndBtn::SendNotify(UINT nCode) {
  if (m_pToolBar == nullptr) return;
  CWnd* pOwner = m_pToolBar->GetOwnerWnd();
  CWnd* pWnd = GetWnd();
  if (pOwner == nullptr || pWnd == nullptr) return;
  pOwner->SendMessage(wmSECToolBarWndNotify, MAKEWPARAM(m_nCtrlID, nCode), reinterpret_cast<LPARAM>(pWnd->GetSafeHwnd()));
}

void SECWndBtn::AdjustSize() {
  if (!m_bWndShown || m_pToolBar == nullptr) {
    SECStdBtn::AdjustSize();
    return;
  }
  m_cx = m_nWndWidth;
  m_cy = m_pToolBar->GetButtonHeight();
  m_pToolBar->RaiseWidestButton(m_cx);
}

void SECWndBtn::ShowAsButton(BOOL bAsButton) {
  m_bWndShown = !bAsButton;
  AdjustSize();
  UpdateWndVisibility();
  if (m_bWndShown) SetPos(m_x, m_y);
}

void SECWndBtn::SetStyle(UINT nStyle) {
  const UINT nOld = m_nStyle;
  SECStdBtn::SetStyle(nStyle);
  CWnd* pWnd = GetWnd();
  if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr) return;
  if ((nOld ^ nStyle) & TBBS_DISABLED) pWnd->EnableWindow(!(nStyle & TBBS_DISABLED));
  if ((nOld ^ nStyle) & TBBS_HIDDEN) UpdateWndVisibility();
}

void SECWndBtn::SetPos(int x, int y) {
  SECStdBtn::SetPos(x, y);
  CWnd* pWnd = GetWnd();
  if (!m_bWndShown || pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr || x < 0) return;
  CRect rect;
  pWnd->GetWindowRect(&rect);
  m_nVCenterOffset = std::max(0, (m_cy - rect.Height()) / 2);
  pWnd->SetWindowPos(nullptr, x, y + m_nVCenterOffset, m_nWndWidth, rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void SECWndBtn::UpdateWndVisibility() {
  CWnd* pWnd = GetWnd();
  if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr) return;
  const BOOL bShow = m_bWndShown && !(m_nStyle & TBBS_HIDDEN);
  if ((pWnd->IsWindowVisible() != FALSE) != (bShow != FALSE)) pWnd->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void SECWndBtn::Draw(CDC& dc, SECBtnDrawCache& cache) {
  // The window paints itself; only the plain-button form is drawn here.
  if (!m_bWndShown) SECStdBtn::Draw(dc, cache);
}

INT_PTR SECWndBtn::GetToolInfo(CPoint point, TOOLINFO* pTI) const {
  return m_bWndShown ? -1 : SECStdBtn::GetToolInfo(point, pTI);
}

void SECWndBtn::GetExtraData(int& nCount, BYTE*& pData) const {
  auto* self = const_cast<SECWndBtn*>(this);
  self->m_extra[0] = static_cast<BYTE>(m_nWndWidth & 0xFF);
  self->m_extra[1] = static_cast<BYTE>((m_nWndWidth >> 8) & 0xFF);
  nCount = 2;
  pData = self->m_extra;
}

void SECWndBtn::SetExtraData(int nCount, const BYTE* pData) {
  if (nCount != 2 || pData == nullptr) return;
  SetWndWidth(pData[0] | (pData[1] << 8));
}

void SECWndBtn::SetWndWidth(int nWidth) {
  const int nMin = m_pToolBar != nullptr ? m_pToolBar->GetButtonWidth() : 23;
  const int nMax = std::max(nMin, ::GetSystemMetrics(SM_CXSCREEN));
  m_nWndWidth = std::clamp(nWidth, nMin, nMax);
  CWnd* pWnd = GetWnd();
  if (pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr && m_bWndShown) {
    CRect rect;
    pWnd->GetWindowRect(&rect);
    pWnd->SetWindowPos(nullptr, 0, 0, m_nWndWidth, rect.Height(), SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  AdjustSize();
}

BOOL SECWndBtn::OnResizeEdge(CPoint pointBar) const {
  if (!m_bResizable || !m_bWndShown || !(m_nStyle & SEC_TBBS_SELECTED) || m_pToolBar == nullptr) return FALSE;
  if (m_pToolBar->IsKindOf(RUNTIME_CLASS(SECCustomizeToolBar))) return FALSE;
  const CRect rect = GetRect();
  return pointBar.y >= rect.top && pointBar.y < rect.bottom && pointBar.x >= rect.right - 3 && pointBar.x <= rect.right;
}

BOOL SECWndBtn::OnWndLButtonDown(UINT nFlags, CPoint point) {
  if (m_pToolBar == nullptr || GetWnd() == nullptr) return FALSE;
  const BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
  if (!m_pToolBar->InCustomizeMode() && !bAlt) return FALSE;
  CPoint pointBar = point;
  GetWnd()->MapWindowPoints(m_pToolBar, &pointBar, 1);
  if (m_pToolBar->InCustomizeMode() && OnResizeEdge(pointBar)) {
    TrackResize(pointBar);
    return TRUE;
  }
  m_pToolBar->SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(pointBar.x, pointBar.y));
  return TRUE;
}

void SECWndBtn::TrackResize(CPoint pointBar) {
  SECCustomToolBar* pBar = m_pToolBar;
  const int nStartWidth = m_nWndWidth;
  HCURSOR hCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_SEC_RESIZE_WNDBTN));
  if (hCursor != nullptr) ::SetCursor(hCursor);
  pBar->SetCapture();
  bool cancelled = false;
  for (bool tracking = true; tracking;) {
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      cancelled = true;
      break;
    }
    if (::GetCapture() != pBar->GetSafeHwnd()) {
      cancelled = true;
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP: {
        CPoint point(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
        if (msg.hwnd != pBar->GetSafeHwnd()) ::MapWindowPoints(msg.hwnd, pBar->GetSafeHwnd(), &point, 1);
        SetWndWidth(nStartWidth + point.x - pointBar.x);
        pBar->Invalidate();
        if (msg.message == WM_LBUTTONUP) tracking = false;
        break;
      }
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) cancelled = true, tracking = false;
        break;
      case WM_RBUTTONDOWN:
        cancelled = true;
        tracking = false;
        break;
      default:
        ::DispatchMessage(&msg);
        break;
    }
  }
  if (::GetCapture() == pBar->GetSafeHwnd()) ::ReleaseCapture();
  if (cancelled) SetWndWidth(nStartWidth);
  pBar->m_bMRUPending = pBar->m_bHorzPending = pBar->m_bVertPending = TRUE;
  if (CFrameWnd* pFrame = pBar->GetParentFrame()) pFrame->RecalcLayout();
  pBar->Invalidate();
}

// The layout of control bars: RepositionBars asks each bar for its part of the client area
// through WM_SIZEPARENT and gives the rest to the pane; the frame's RecalcLayout, border space
// and idle-time layout build on it.
#include "afx/CFrameWnd.h"

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
  if (hWnd == nullptr || lpLayout->hDWP == nullptr) return;
  // Positions are in the parent's client coordinates.
  CRect old;
  ::GetWindowRect(hWnd, &old);
  HWND parent = ::GetParent(hWnd);
  if (parent != nullptr) ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&old), 2);
  if (old == *lpRect) return;  // unchanged: no move, no repaint
  lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                    lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                    SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout{};
  layout.bStretch = bStretch;
  if (lpRectClient != nullptr)
    layout.rect = *lpRectClient;
  else
    ::GetClientRect(m_hWnd, &layout.rect);
  const bool query = (nFlags & ~static_cast<UINT>(reposNoPosLeftOver)) == reposQuery;
  layout.hDWP = query ? nullptr : ::BeginDeferWindowPos(8);

  HWND leftOver = nullptr;
  for (HWND child = ::GetTopWindow(m_hWnd); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
    if (id == nIDLeftOver) {
      leftOver = child;
    } else if (id >= nIDFirst && id <= nIDLast) {
      ::SendMessage(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }
  }

  if (query) {
    if (lpRectParam != nullptr) {
      if (bStretch)
        *lpRectParam = layout.rect;
      else
        ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
    }
    return;
  }
  if ((nFlags & ~static_cast<UINT>(reposNoPosLeftOver)) == reposExtra && lpRectParam != nullptr) {
    layout.rect.left += lpRectParam->left;
    layout.rect.top += lpRectParam->top;
    layout.rect.right -= lpRectParam->right;
    layout.rect.bottom -= lpRectParam->bottom;
  }
  if ((nFlags & reposNoPosLeftOver) == 0 && leftOver != nullptr) {
    CRect rect = layout.rect;
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    if (CWnd* pane = CWnd::FromHandlePermanent(leftOver))
      pane->CalcWindowRect(&rect, CWnd::adjustBorder);
    AfxRepositionWindow(&layout, leftOver, &rect);
  }
  if (layout.hDWP != nullptr) ::EndDeferWindowPos(layout.hDWP);
}

void CFrameWnd::RecalcLayout(BOOL) {
  if (m_hWnd == nullptr || m_bInRecalcLayout) return;
  m_bInRecalcLayout = TRUE;
  if (GetStyle() & FWS_SNAPTOBARS) {
    // The frame takes the size its bars need (a floating bar's mini frame).
    CRect rect(0, 0, 32767, 32767);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
    CalcWindowRect(&rect);
    SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
  } else {
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  }
  m_nIdleFlags &= ~static_cast<UINT>(idleLayout | idleNotify);
  m_bInRecalcLayout = FALSE;
}

BOOL CFrameWnd::NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) {
  switch (nBorderCmd) {
    case borderGet:
      // The space left for borders: the client area less the bars.
      RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, lpRectBorder);
      return TRUE;
    case borderRequest:
      return TRUE;  // any space inside the bars can be had
    case borderSet:
      if (lpRectBorder == nullptr) {
        if (!m_rectBorder.IsRectNull()) {
          m_rectBorder.SetRectEmpty();
          RecalcLayout();
        }
        return TRUE;
      }
      if (!::EqualRect(&m_rectBorder, lpRectBorder)) {
        m_rectBorder = *lpRectBorder;
        RecalcLayout();
      }
      return TRUE;
    default:
      return FALSE;
  }
}

CWnd* CFrameWnd::GetMessageBar() { return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR)); }

// CScrollView: logical sizes turned into device sizes, the scroll bars that the client size and the
// document call for, scrolling by bars, commands and wheel, and the device context's origin.
#include "afx/CScrollView.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "afx/AfxControls.h"
#include "afx/CFrameWnd.h"
#include "afx/WindowDCs.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)

const SIZE CScrollView::sizeDefault = {0, 0};

BEGIN_MESSAGE_MAP(CScrollView, CView)
  ON_WM_SIZE()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

namespace {

// A logical size in device units of a mapping mode, made positive.
CSize ToDevice(int mapMode, SIZE logical) {
  CSize size = logical;
  if (mapMode != MM_TEXT) {
    CWindowDC dc(nullptr);
    dc.SetMapMode(mapMode);
    POINT p{size.cx, size.cy}, origin{0, 0};
    dc.LPtoDP(&p);
    dc.LPtoDP(&origin);
    size = CSize(p.x - origin.x, p.y - origin.y);
  }
  return CSize(std::abs(size.cx), std::abs(size.cy));
}

}  // namespace

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine) {
  m_nMapMode = nMapMode;
  m_totalLog = sizeTotal;
  m_totalDev = ToDevice(nMapMode, sizeTotal);
  m_pageDev = ToDevice(nMapMode, sizePage);
  m_lineDev = ToDevice(nMapMode, sizeLine);
  if (m_pageDev.cx == 0) m_pageDev.cx = m_totalDev.cx / 10;
  if (m_pageDev.cy == 0) m_pageDev.cy = m_totalDev.cy / 10;
  if (m_lineDev.cx == 0) m_lineDev.cx = m_pageDev.cx / 10;
  if (m_lineDev.cy == 0) m_lineDev.cy = m_pageDev.cy / 10;
  if (m_hWnd != nullptr) {
    UpdateBars();
    Invalidate(TRUE);
  }
}

void CScrollView::SetScaleToFitSize(SIZE sizeTotal) {
  m_nMapMode = MM_SCALETOFIT;
  m_totalLog = sizeTotal;
  if (m_hWnd == nullptr) return;
  if (GetStyle() & (WS_HSCROLL | WS_VSCROLL)) {
    SetScrollPos(SB_HORZ, 0);
    SetScrollPos(SB_VERT, 0);
    EnableScrollBarCtrl(SB_BOTH, FALSE);
  }
  CRect client;
  GetClientRect(&client);
  m_totalDev = client.Size();
  Invalidate(TRUE);
}

CPoint CScrollView::GetDeviceScrollPosition() const {
  return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

CPoint CScrollView::GetScrollPosition() const {
  if (m_nMapMode == MM_SCALETOFIT) return CPoint(0, 0);
  CPoint pt = GetDeviceScrollPosition();
  if (m_nMapMode != MM_TEXT) {
    CWindowDC dc(nullptr);
    dc.SetMapMode(m_nMapMode);
    dc.DPtoLP(&pt);
  }
  return pt;
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const {
  nMapMode = m_nMapMode;
  sizeTotal = m_totalDev;
  sizePage = m_pageDev;
  sizeLine = m_lineDev;
}

void CScrollView::ScrollToPosition(POINT pt) {
  if (m_nMapMode == MM_SCALETOFIT) return;
  if (m_nMapMode != MM_TEXT) {
    CWindowDC dc(nullptr);
    dc.SetMapMode(m_nMapMode);
    dc.LPtoDP(&pt);
  }
  pt.x = std::clamp<LONG>(pt.x, 0, std::max(0, GetScrollLimit(SB_HORZ)));
  pt.y = std::clamp<LONG>(pt.y, 0, std::max(0, GetScrollLimit(SB_VERT)));
  ScrollToDevicePosition(pt);
}

void CScrollView::ScrollToDevicePosition(POINT ptDev) {
  int xOld = GetScrollPos(SB_HORZ);
  SetScrollPos(SB_HORZ, ptDev.x);
  int yOld = GetScrollPos(SB_VERT);
  SetScrollPos(SB_VERT, ptDev.y);
  // The bars may refuse a position: scroll by what they took.
  ScrollWindow(xOld - GetScrollPos(SB_HORZ), yOld - GetScrollPos(SB_VERT));
}

void CScrollView::CenterOnPoint(CPoint ptCenter) {
  CRect client;
  GetClientRect(&client);
  int x = ptCenter.x - client.Width() / 2, y = ptCenter.y - client.Height() / 2;
  x = (GetStyle() & WS_HSCROLL) ? std::clamp(x, 0, std::max(0, GetScrollLimit(SB_HORZ))) : 0;
  y = (GetStyle() & WS_VSCROLL) ? std::clamp(y, 0, std::max(0, GetScrollLimit(SB_VERT))) : 0;
  ScrollToDevicePosition(CPoint(x, y));
}

void CScrollView::FillOutsideRect(CDC* pDC, CBrush* pBrush) {
  CRect client;
  GetClientRect(&client);
  CRect right(m_totalDev.cx, 0, client.right, client.bottom);
  if (!right.IsRectEmpty()) pDC->FillRect(&right, pBrush);
  CRect below(0, m_totalDev.cy, std::min<LONG>(m_totalDev.cx, client.right), client.bottom);
  if (!below.IsRectEmpty()) pDC->FillRect(&below, pBrush);
}

void CScrollView::ResizeParentToFit(BOOL bShrinkOnly) {
  CFrameWnd* frame = GetParentFrame();
  if (frame == nullptr) return;
  // The client size the view would have without scroll bars, and the size the document asks for.
  CSize client, sizeSb;
  GetTrueClientSize(client, sizeSb);
  CSize wanted = m_totalDev;
  if (bShrinkOnly) {
    wanted.cx = std::min(wanted.cx, client.cx);
    wanted.cy = std::min(wanted.cy, client.cy);
  }
  CRect window;
  frame->GetWindowRect(&window);
  frame->SetWindowPos(nullptr, 0, 0, window.Width() + wanted.cx - client.cx, window.Height() + wanted.cy - client.cy,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  frame->RecalcLayout();
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  if (m_nMapMode == MM_SCALETOFIT) {
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_totalLog);
    pDC->SetViewportExt(m_totalDev);
  } else if (m_nMapMode != 0) {
    pDC->SetMapMode(m_nMapMode);
  }
  // On the screen the origin moves against the scrolling; a printed page is not scrolled.
  CPoint origin(0, 0);
  if (!pDC->IsPrinting()) {
    origin = -GetDeviceScrollPosition();
    if (m_bCenter) {
      CRect client;
      GetClientRect(&client);
      if (m_totalDev.cx < client.Width()) origin.x = (client.Width() - m_totalDev.cx) / 2;
      if (m_totalDev.cy < client.Height()) origin.y = (client.Height() - m_totalDev.cy) / 2;
    }
  }
  pDC->SetViewportOrg(origin);
  CView::OnPrepareDC(pDC, pInfo);
}

void CScrollView::GetScrollBarSizes(CSize& sizeSb) {
  sizeSb = CSize(0, 0);
  DWORD style = GetStyle();
  if (GetScrollBarCtrl(SB_VERT) == nullptr) {
    sizeSb.cx = ::GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_BORDER) sizeSb.cx -= ::GetSystemMetrics(SM_CXBORDER);
  }
  if (GetScrollBarCtrl(SB_HORZ) == nullptr) {
    sizeSb.cy = ::GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_BORDER) sizeSb.cy -= ::GetSystemMetrics(SM_CYBORDER);
  }
}

BOOL CScrollView::GetTrueClientSize(CSize& size, CSize& sizeSb) {
  CRect client;
  GetClientRect(&client);
  size = client.Size();
  GetScrollBarSizes(sizeSb);
  // Scroll bars shown now are given back to the client area.
  DWORD style = GetStyle();
  if (sizeSb.cx != 0 && (style & WS_VSCROLL)) size.cx += sizeSb.cx;
  if (sizeSb.cy != 0 && (style & WS_HSCROLL)) size.cy += sizeSb.cy;
  return size.cx > sizeSb.cx && size.cy > sizeSb.cy;
}

void CScrollView::GetScrollBarState(CSize sizeClient, CSize& needSb, CSize& sizeRange, CPoint& ptMove,
                                    BOOL bInsideClient) {
  CSize sizeSb;
  GetScrollBarSizes(sizeSb);
  sizeRange = m_totalDev - sizeClient;  // positive: that much is out of sight
  ptMove = GetDeviceScrollPosition();
  // Each bar shown takes room from the other direction, which may then need its bar too.
  bool horz = sizeRange.cx > 0;
  if (!horz) ptMove.x = 0;
  else if (bInsideClient) sizeRange.cy += sizeSb.cy;
  bool vert = sizeRange.cy > 0;
  if (!vert) ptMove.y = 0;
  else if (bInsideClient) sizeRange.cx += sizeSb.cx;
  if (vert && !horz && sizeRange.cx > 0) {
    horz = true;
    sizeRange.cy += sizeSb.cy;
  }
  if (sizeRange.cx > 0 && ptMove.x >= sizeRange.cx) ptMove.x = sizeRange.cx;
  if (sizeRange.cy > 0 && ptMove.y >= sizeRange.cy) ptMove.y = sizeRange.cy;
  needSb = CSize(horz, vert);
}

void CScrollView::UpdateBars() {
  if (m_bInsideUpdate || m_nMapMode == MM_SCALETOFIT) return;
  // Showing or hiding a bar sizes the window, which comes back here.
  m_bInsideUpdate = TRUE;
  CRect parentClient;
  CWnd* parent = GetParent();
  bool parentDecides = parent != nullptr &&
                       parent->SendMessage(WM_RECALCPARENT, 0, reinterpret_cast<LPARAM>(&parentClient)) != 0;
  CSize client, sizeSb;
  if (parentDecides) {
    // A splitter with shared scroll bars lays out the pane: its client area is all there is.
    GetScrollBarSizes(sizeSb);
    client = parentClient.Size();
  } else if (!GetTrueClientSize(client, sizeSb)) {
    CRect rect;
    GetClientRect(&rect);
    if (rect.right > 0 && rect.bottom > 0) EnableScrollBarCtrl(SB_BOTH, FALSE);
    m_bInsideUpdate = FALSE;
    return;
  }
  CSize needSb, sizeRange;
  CPoint ptMove;
  GetScrollBarState(client, needSb, sizeRange, ptMove, !parentDecides);
  if (needSb.cx) client.cy -= sizeSb.cy;
  if (needSb.cy) client.cx -= sizeSb.cx;
  ScrollToDevicePosition(ptMove);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_PAGE | SIF_RANGE;
  EnableScrollBarCtrl(SB_HORZ, needSb.cx);
  if (needSb.cx) {
    info.nPage = static_cast<UINT>(client.cx);
    info.nMax = m_totalDev.cx - 1;
    SetScrollInfo(SB_HORZ, &info, TRUE);
  }
  EnableScrollBarCtrl(SB_VERT, needSb.cy);
  if (needSb.cy) {
    info.nPage = static_cast<UINT>(client.cy);
    info.nMax = m_totalDev.cy - 1;
    SetScrollInfo(SB_VERT, &info, TRUE);
  }
  m_bInsideUpdate = FALSE;
}

void CScrollView::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  if (nAdjustType != adjustOutside) {
    CView::CalcWindowRect(lpClientRect, nAdjustType);
    return;
  }
  ::AdjustWindowRectEx(lpClientRect, 0, FALSE, GetExStyle());
  if (m_nMapMode == MM_SCALETOFIT) return;
  // In place the scroll bars go outside the client size asked for.
  CSize sizeClient(lpClientRect->right - lpClientRect->left, lpClientRect->bottom - lpClientRect->top);
  CSize sizeRange = m_totalDev - sizeClient, sizeSb;
  GetScrollBarSizes(sizeSb);
  if (sizeRange.cy > 0) lpClientRect->right += sizeSb.cx;
  if (sizeRange.cx > 0) lpClientRect->bottom += sizeSb.cy;
}

void CScrollView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_nMapMode == MM_SCALETOFIT)
    SetScaleToFitSize(m_totalLog);
  else
    UpdateBars();
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  // Scroll bars of other controls are theirs; only this view's (or its shared one) scroll it.
  if (pScrollBar != nullptr && pScrollBar != GetScrollBarCtrl(SB_HORZ)) return;
  OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (pScrollBar != nullptr && pScrollBar != GetScrollBarCtrl(SB_VERT)) return;
  OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT, BOOL bDoScroll) {
  // The thumb's position comes from the bar itself, whose range may be more than 16 bits.
  auto target = [this](int bar, UINT code, int pos, int line, int page) {
    switch (code) {
      case SB_TOP: return 0;
      case SB_BOTTOM: return INT_MAX / 2;
      case SB_LINEUP: return pos - line;
      case SB_LINEDOWN: return pos + line;
      case SB_PAGEUP: return pos - page;
      case SB_PAGEDOWN: return pos + page;
      case SB_THUMBTRACK: {
        SCROLLINFO info{};
        GetScrollInfo(bar, &info, SIF_TRACKPOS);
        return info.nTrackPos;
      }
      default: return pos;
    }
  };
  int x = GetScrollPos(SB_HORZ), y = GetScrollPos(SB_VERT);
  int nx = target(SB_HORZ, LOBYTE(nScrollCode), x, m_lineDev.cx, m_pageDev.cx);
  int ny = target(SB_VERT, HIBYTE(nScrollCode), y, m_lineDev.cy, m_pageDev.cy);
  BOOL moved = OnScrollBy(CSize(nx - x, ny - y), bDoScroll);
  if (moved && bDoScroll) UpdateWindow();
  return moved;
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll) {
  // A direction without a usable bar does not scroll.
  DWORD style = GetStyle();
  CScrollBar* vbar = GetScrollBarCtrl(SB_VERT);
  if ((vbar != nullptr && !vbar->IsWindowEnabled()) || (vbar == nullptr && !(style & WS_VSCROLL))) sizeScroll.cy = 0;
  CScrollBar* hbar = GetScrollBarCtrl(SB_HORZ);
  if ((hbar != nullptr && !hbar->IsWindowEnabled()) || (hbar == nullptr && !(style & WS_HSCROLL))) sizeScroll.cx = 0;
  int xOld = GetScrollPos(SB_HORZ), yOld = GetScrollPos(SB_VERT);
  int x = std::clamp(xOld + static_cast<int>(sizeScroll.cx), 0, std::max(0, GetScrollLimit(SB_HORZ)));
  int y = std::clamp(yOld + static_cast<int>(sizeScroll.cy), 0, std::max(0, GetScrollLimit(SB_VERT)));
  if (x == xOld && y == yOld) return FALSE;
  if (bDoScroll) {
    ScrollWindow(xOld - x, yOld - y);
    if (x != xOld) SetScrollPos(SB_HORZ, x);
    if (y != yOld) SetScrollPos(SB_VERT, y);
  }
  return TRUE;
}

BOOL CScrollView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
  // Shift and Ctrl with the wheel mean something else (zooming, for instance).
  if (nFlags & (MK_SHIFT | MK_CONTROL)) return FALSE;
  return DoMouseWheel(nFlags, zDelta, pt);
}

BOOL CScrollView::DoMouseWheel(UINT, short zDelta, CPoint) {
  DWORD style = GetStyle();
  CScrollBar* vbar = GetScrollBarCtrl(SB_VERT);
  CScrollBar* hbar = GetScrollBarCtrl(SB_HORZ);
  bool vertical = vbar != nullptr ? vbar->IsWindowEnabled() != FALSE : (style & WS_VSCROLL) != 0;
  bool horizontal = hbar != nullptr ? hbar->IsWindowEnabled() != FALSE : (style & WS_HSCROLL) != 0;
  if (!vertical && !horizontal) return FALSE;
  // The wheel scrolls the vertical bar, or the horizontal one when it is alone.
  UINT lines = 3;
  ::SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  int line = vertical ? m_lineDev.cy : m_lineDev.cx, page = vertical ? m_pageDev.cy : m_pageDev.cx;
  int distance;
  if (lines == WHEEL_PAGESCROLL) {
    distance = zDelta > 0 ? -page : page;
  } else {
    distance = ::MulDiv(-zDelta, static_cast<int>(lines), WHEEL_DELTA) * line;
    distance = std::clamp(distance, -page, page);
  }
  BOOL moved = OnScrollBy(vertical ? CSize(0, distance) : CSize(distance, 0), TRUE);
  if (moved) UpdateWindow();
  return moved;
}

// CRectTracker: borders, hatching and handles, hit testing and cursors, and the capture loop that
// moves, sizes or draws the rectangle with an XOR outline.
#include "afx/CRectTracker.h"

#include <algorithm>
#include <cstdlib>

#include "afx/WindowDCs.h"

namespace {

constexpr int kDefaultHandleSize = 6;

// Which edges of the rectangle a handle moves.
struct HandleEdges {
  LONG CRect::*x;  // null: the handle does not move horizontally
  LONG CRect::*y;
};

HandleEdges EdgesOf(int handle) {
  switch (handle) {
    case CRectTracker::hitTopLeft: return {&CRect::left, &CRect::top};
    case CRectTracker::hitTopRight: return {&CRect::right, &CRect::top};
    case CRectTracker::hitBottomRight: return {&CRect::right, &CRect::bottom};
    case CRectTracker::hitBottomLeft: return {&CRect::left, &CRect::bottom};
    case CRectTracker::hitTop: return {nullptr, &CRect::top};
    case CRectTracker::hitRight: return {&CRect::right, nullptr};
    case CRectTracker::hitBottom: return {nullptr, &CRect::bottom};
    case CRectTracker::hitLeft: return {&CRect::left, nullptr};
    default: return {&CRect::left, &CRect::top};  // the middle moves the whole rectangle
  }
}

// Keeps the edge `moved` at least `minimum` from its opposite; the rectangle may turn over only
// when that is allowed.
void KeepMinimum(CRect& r, LONG CRect::*moved, LONG CRect::*opposite, bool far, int minimum, bool allowInvert) {
  int extent = far ? r.*moved - r.*opposite : r.*opposite - r.*moved;
  int size = allowInvert ? std::abs(extent) : extent;
  if (size >= minimum) return;
  int wanted = allowInvert && extent < 0 ? -minimum : minimum;
  r.*moved = far ? r.*opposite + wanted : r.*opposite - wanted;
}

HBRUSH HatchBrush() {
  static HBRUSH brush = ::CreateHatchBrush(HS_BDIAGONAL, RGB(0, 0, 0));
  return brush;
}

}  // namespace

CRectTracker::CRectTracker(LPCRECT lpSrcRect, UINT nStyle) {
  Construct();
  m_rect = *lpSrcRect;
  m_nStyle = nStyle;
}

void CRectTracker::Construct() {
  m_nStyle = 0;
  m_nHandleSize = kDefaultHandleSize;
  m_sizeMin = CSize(m_nHandleSize * 2, m_nHandleSize * 2);
  m_rectLast.SetRectEmpty();
  m_sizeLast = CSize(0, 0);
  m_bErase = FALSE;
  m_bFinalErase = FALSE;
  m_bAllowInvert = FALSE;
}

int CRectTracker::GetHandleSize(LPCRECT lpRect) const {
  if (lpRect == nullptr) lpRect = &m_rect;
  int size = m_nHandleSize;
  if (!(m_nStyle & resizeOutside)) {
    // Handles inside the rectangle never take more than half of it.
    int most = std::min(std::abs(lpRect->right - lpRect->left), std::abs(lpRect->bottom - lpRect->top));
    if (size * 2 > most) size = most / 2;
  }
  return size;
}

UINT CRectTracker::GetHandleMask() const {
  UINT mask = 0x0F;  // the corners always
  int size = m_nHandleSize * 3;
  if (std::abs(m_rect.Width()) - size > 4) mask |= 0x50;   // top and bottom
  if (std::abs(m_rect.Height()) - size > 4) mask |= 0xA0;  // right and left
  return mask;
}

void CRectTracker::GetTrueRect(LPRECT lpTrueRect) const {
  CRect rect = m_rect;
  rect.NormalizeRect();
  int inflate = 0;
  if (m_nStyle & (resizeOutside | hatchedBorder)) inflate += GetHandleSize() - 1;
  if (m_nStyle & (solidLine | dottedLine)) ++inflate;
  rect.InflateRect(inflate, inflate);
  *lpTrueRect = rect;
}

int CRectTracker::NormalizeHit(int nHandle) const {
  if (nHandle < 0 || nHandle == hitMiddle) return nHandle;
  bool flipX = m_rect.Width() < 0, flipY = m_rect.Height() < 0;
  static const int kFlipX[8] = {hitTopRight, hitTopLeft, hitBottomLeft, hitBottomRight, hitTop, hitLeft, hitBottom, hitRight};
  static const int kFlipY[8] = {hitBottomLeft, hitBottomRight, hitTopRight, hitTopLeft, hitBottom, hitRight, hitTop, hitLeft};
  if (flipX) nHandle = kFlipX[nHandle];
  if (flipY) nHandle = kFlipY[nHandle];
  return nHandle;
}

void CRectTracker::GetHandleRect(int nHandle, CRect* pHandleRect) const {
  CRect r = m_rect;
  r.NormalizeRect();
  if (m_nStyle & (solidLine | dottedLine)) r.InflateRect(1, 1);
  int size = GetHandleSize();
  if (m_nStyle & resizeOutside) r.InflateRect(size - 1, size - 1);
  // Handle positions on the normalised rectangle: 0 left or top, 1 centre, 2 right or bottom.
  static const int kColumn[8] = {0, 2, 2, 0, 1, 2, 1, 0};
  static const int kRow[8] = {0, 0, 2, 2, 0, 1, 2, 1};
  int handle = NormalizeHit(nHandle);
  auto place = [size](int where, int from, int to) {
    return where == 0 ? from : where == 2 ? to - size : from + (to - from - size) / 2;
  };
  int x = place(kColumn[handle], r.left, r.right), y = place(kRow[handle], r.top, r.bottom);
  pHandleRect->SetRect(x, y, x + size, y + size);
}

std::vector<std::pair<int, CRect>> CRectTracker::VisibleHandles() const {
  std::vector<std::pair<int, CRect>> handles;
  if (!(m_nStyle & (resizeInside | resizeOutside))) return handles;
  UINT mask = GetHandleMask();
  for (int i = 0; i < 8; ++i) {
    if (!(mask & (1u << i))) continue;
    CRect rect;
    GetHandleRect(i, &rect);
    handles.emplace_back(i, rect);
  }
  return handles;
}

int CRectTracker::HitTestHandles(CPoint point) const {
  CRect truth;
  GetTrueRect(&truth);
  if (!truth.PtInRect(point)) return hitNothing;
  for (const auto& [handle, rect] : VisibleHandles())
    if (rect.PtInRect(point)) return handle;
  // Between outside handles is nothing, unless a hatched border is there to grab.
  if (!(m_nStyle & hatchedBorder)) {
    CRect rect = m_rect;
    rect.NormalizeRect();
    if (m_nStyle & (solidLine | dottedLine)) rect.InflateRect(1, 1);
    if (!rect.PtInRect(point)) return hitNothing;
  }
  return hitMiddle;
}

int CRectTracker::HitTest(CPoint point) const {
  CRect truth;
  GetTrueRect(&truth);
  if (!truth.PtInRect(point)) return hitNothing;
  return (m_nStyle & (resizeInside | resizeOutside)) ? HitTestHandles(point) : static_cast<int>(hitMiddle);
}

BOOL CRectTracker::SetCursor(CWnd* pWnd, UINT nHitTest) const {
  if (nHitTest != HTCLIENT) return FALSE;
  CPoint point;
  ::GetCursorPos(&point);
  pWnd->ScreenToClient(&point);
  int handle = HitTestHandles(point);
  if (handle < 0) return FALSE;
  handle = NormalizeHit(handle);
  static const LPCTSTR kCursors[9] = {IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENS,
                                      IDC_SIZEWE,   IDC_SIZENS,   IDC_SIZEWE,   IDC_SIZEALL};
  ::SetCursor(::LoadCursor(nullptr, kCursors[handle]));
  return TRUE;
}

void CRectTracker::Draw(CDC* pDC) const {
  int saved = pDC->SaveDC();
  pDC->SetMapMode(MM_TEXT);
  pDC->SetViewportOrg(0, 0);
  pDC->SetWindowOrg(0, 0);
  CRect rect = m_rect;
  rect.NormalizeRect();
  if (m_nStyle & (solidLine | dottedLine)) {
    CPen pen(m_nStyle & solidLine ? PS_SOLID : PS_DOT, 0, RGB(0, 0, 0));
    pDC->SelectObject(&pen);
    pDC->SelectStockObject(NULL_BRUSH);
    pDC->SetROP2(R2_COPYPEN);
    CRect line = rect;
    line.InflateRect(1, 1);  // the line lies just outside the rectangle
    pDC->Rectangle(&line);
    pDC->SelectStockObject(BLACK_PEN);
  }
  if (m_nStyle & hatchInside) {
    // Black hatching over what is inside, its gaps left alone.
    pDC->SelectStockObject(NULL_PEN);
    ::SelectObject(pDC->m_hDC, HatchBrush());
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetROP2(R2_MASKNOTPEN);
    pDC->Rectangle(rect.left + 1, rect.top + 1, rect.right, rect.bottom);
    pDC->SetROP2(R2_COPYPEN);
  }
  if (m_nStyle & hatchedBorder) {
    CRect truth;
    GetTrueRect(&truth);
    ::SelectObject(pDC->m_hDC, HatchBrush());
    pDC->SetBkMode(OPAQUE);
    pDC->SetBkColor(RGB(255, 255, 255));
    pDC->PatBlt(truth.left, truth.top, truth.Width(), rect.top - truth.top, PATCOPY);
    pDC->PatBlt(truth.left, rect.bottom, truth.Width(), truth.bottom - rect.bottom, PATCOPY);
    pDC->PatBlt(truth.left, rect.top, rect.left - truth.left, rect.Height(), PATCOPY);
    pDC->PatBlt(rect.right, rect.top, truth.right - rect.right, rect.Height(), PATCOPY);
  }
  for (const auto& [handle, rect] : VisibleHandles()) pDC->FillSolidRect(&rect, RGB(0, 0, 0));
  pDC->RestoreDC(saved);
}

void CRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) {
  CRect rect = *lpRect;
  rect.NormalizeRect();
  if (pWndClipTo != nullptr) {
    pWnd->ClientToScreen(&rect);
    pWndClipTo->ScreenToClient(&rect);
  }
  CSize size(0, 0);
  if (!m_bFinalErase) {
    // A hatched border is outlined as thick as it is drawn; others with a thin line.
    if (m_nStyle & hatchedBorder) {
      size.cx = size.cy = std::max(1, GetHandleSize(&rect) - 1);
      rect.InflateRect(size);
    } else {
      size = CSize(::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER));
    }
  }
  if (m_bFinalErase || !m_bErase) pDC->DrawDragRect(&rect, size, m_rectLast, m_sizeLast);
  m_rectLast = rect;
  m_sizeLast = size;
}

void CRectTracker::AdjustRect(int nHandle, LPRECT lpRect) {
  if (nHandle == hitMiddle) return;
  CRect r = *lpRect;
  HandleEdges edges = EdgesOf(nHandle);
  bool allow = m_bAllowInvert != FALSE;
  if (edges.x == &CRect::left) KeepMinimum(r, &CRect::left, &CRect::right, false, m_sizeMin.cx, allow);
  if (edges.x == &CRect::right) KeepMinimum(r, &CRect::right, &CRect::left, true, m_sizeMin.cx, allow);
  if (edges.y == &CRect::top) KeepMinimum(r, &CRect::top, &CRect::bottom, false, m_sizeMin.cy, allow);
  if (edges.y == &CRect::bottom) KeepMinimum(r, &CRect::bottom, &CRect::top, true, m_sizeMin.cy, allow);
  *lpRect = r;
}

void CRectTracker::OnChangedRect(const CRect&) {}

BOOL CRectTracker::Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert, CWnd* pWndClipTo) {
  int handle = HitTestHandles(point);
  if (handle < 0) return FALSE;
  m_bAllowInvert = bAllowInvert;
  return TrackHandle(handle, pWnd, point, pWndClipTo);
}

BOOL CRectTracker::TrackRubberBand(CWnd* pWnd, CPoint point, BOOL bAllowInvert) {
  m_bAllowInvert = bAllowInvert;
  m_rect.SetRect(point.x, point.y, point.x, point.y);
  if (!TrackHandle(hitBottomRight, pWnd, point, nullptr)) return FALSE;
  CRect drawn = m_rect;
  drawn.NormalizeRect();
  return !drawn.IsRectEmpty();
}

BOOL CRectTracker::TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo) {
  if (::GetCapture() != nullptr) return FALSE;
  // The mouse keeps its offset from the edges it moves.
  HandleEdges edges = EdgesOf(nHandle);
  CPoint offset(edges.x != nullptr ? point.x - m_rect.*edges.x : 0, edges.y != nullptr ? point.y - m_rect.*edges.y : 0);
  int width = m_rect.Width(), height = m_rect.Height();
  const CRect original = m_rect;
  pWnd->SetCapture();
  pWnd->UpdateWindow();
  if (pWndClipTo != nullptr) pWndClipTo->UpdateWindow();
  CWnd* drawOn = pWndClipTo != nullptr ? pWndClipTo : pWnd;
  CDC* dc = drawOn->GetDCEx(nullptr, DCX_CACHE);
  bool moved = false, done = false;
  while (!done) {
    MSG msg;
    if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (::GetCapture() != pWnd->m_hWnd) break;
      ::WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (::GetCapture() != pWnd->m_hWnd) {
      ::DispatchMessage(&msg);
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP: {
        CRect before = m_rect;
        CPoint at(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        if (edges.x != nullptr) m_rect.*edges.x = at.x - offset.x;
        if (edges.y != nullptr) m_rect.*edges.y = at.y - offset.y;
        if (nHandle == hitMiddle) {
          m_rect.right = m_rect.left + width;
          m_rect.bottom = m_rect.top + height;
        }
        AdjustRect(nHandle, &m_rect);
        m_bFinalErase = msg.message == WM_LBUTTONUP;
        if (before != m_rect || m_bFinalErase) {
          if (moved) {
            m_bErase = TRUE;
            DrawTrackerRect(&before, pWndClipTo, dc, pWnd);
          }
          OnChangedRect(before);
          if (!m_bFinalErase) moved = true;
        }
        if (m_bFinalErase) {
          done = true;
        } else if (before != m_rect) {
          m_bErase = FALSE;
          DrawTrackerRect(&m_rect, pWndClipTo, dc, pWnd);
        }
        break;
      }
      case WM_KEYDOWN:
        if (msg.wParam != VK_ESCAPE) break;
        [[fallthrough]];
      case WM_RBUTTONDOWN:
        // Cancelled: the outline goes and the rectangle is as it was.
        if (moved) {
          m_bErase = m_bFinalErase = TRUE;
          DrawTrackerRect(&m_rect, pWndClipTo, dc, pWnd);
        }
        m_rect = original;
        done = true;
        break;
      default:
        ::DispatchMessage(&msg);
        break;
    }
  }
  drawOn->ReleaseDC(dc);
  if (::GetCapture() == pWnd->m_hWnd) ::ReleaseCapture();
  if (!moved) m_rect = original;
  m_bFinalErase = FALSE;
  m_bErase = FALSE;
  return original != m_rect;
}

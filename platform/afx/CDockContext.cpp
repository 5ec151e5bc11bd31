// CDockContext: dragging a bar between the frame's dock bars and floating frames, resizing a
// floating bar by its frame's edges, and toggling between the last docked and floating places.
#include "afx/CDockContext.h"

#include "afx/CMiniFrameWnd.h"

namespace {

constexpr int kBorder2 = 2;

bool Horz(DWORD style) { return (style & CBRS_ORIENT_HORZ) != 0; }
bool Vert(DWORD style) { return (style & CBRS_ORIENT_VERT) != 0; }

// Moves rect so that pt lies inside it (the point a drag holds the outline by).
void KeepPointInside(CRect& rect, CPoint pt) {
  int dx = pt.x < rect.left ? pt.x - rect.left : pt.x >= rect.right ? pt.x - rect.right + 1 : 0;
  int dy = pt.y < rect.top ? pt.y - rect.top : pt.y >= rect.bottom ? pt.y - rect.bottom + 1 : 0;
  rect.OffsetRect(dx, dy);
}

// The window rectangle of a floating frame around a bar of client rectangle rect.
CRect FloatingFrameRect(const CRect& rect) {
  CRect frame = rect;
  CMiniFrameWnd::CalcBorders(&frame, WS_THICKFRAME | WS_CAPTION, WS_EX_TOOLWINDOW);
  frame.InflateRect(-kBorder2, -kBorder2);
  return frame;
}

}  // namespace

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar), m_pDockSite(pBar->m_pDockSite) {
  m_rectMRUDockPos.SetRectEmpty();
  m_rectLast.SetRectEmpty();
  m_sizeLast = CSize(0, 0);
}

CDockContext::~CDockContext() {
  if (m_pDC != nullptr) CancelLoop();
}

// ---- the loop ----

void CDockContext::InitLoop() {
  // Pending paints first, so the outline is not drawn over stale pixels.
  MSG msg;
  while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessage(&msg);
  if (m_pDockSite == nullptr) m_pDockSite = m_pBar->m_pDockSite;
  m_dwDockStyle = m_pBar->m_dwDockStyle;
  m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
  if (m_dwStyle == 0) m_dwStyle = CBRS_ALIGN_TOP;
  m_rectLast.SetRectEmpty();
  m_sizeLast = CSize(0, 0);
  m_bDitherLast = FALSE;
  // Ctrl or Shift already held when the drag starts count as pressed during it.
  m_bForceFrame = ::GetKeyState(VK_CONTROL) < 0;
  m_bFlip = ::GetKeyState(VK_SHIFT) < 0 && Horz(m_dwDockStyle) && Vert(m_dwDockStyle);
  // The outline goes to the screen overlay, over every window.
  CWnd* desktop = CWnd::GetDesktopWindow();
  if (desktop->LockWindowUpdate())
    m_pDC = desktop->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  else
    m_pDC = desktop->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE);
}

void CDockContext::CancelLoop() {
  DrawFocusRect(TRUE);
  if (::GetCapture() == m_pBar->m_hWnd) ::ReleaseCapture();
  CWnd* desktop = CWnd::GetDesktopWindow();
  desktop->UnlockWindowUpdate();
  if (m_pDC != nullptr) {
    desktop->ReleaseDC(m_pDC);
    m_pDC = nullptr;
  }
}

BOOL CDockContext::Track() {
  if (::GetCapture() != nullptr) {
    CancelLoop();
    return FALSE;
  }
  m_pBar->SetCapture();
  while (::GetCapture() == m_pBar->m_hWnd) {
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_LBUTTONUP:
        if (m_bDragging)
          EndDrag();
        else
          EndResize();
        return TRUE;
      case WM_MOUSEMOVE:
        if (m_bDragging)
          Move(msg.pt);
        else
          Stretch(msg.pt);
        break;
      case WM_KEYUP:
        if (m_bDragging) OnKey(static_cast<int>(msg.wParam), FALSE);
        break;
      case WM_KEYDOWN:
        if (m_bDragging) OnKey(static_cast<int>(msg.wParam), TRUE);
        if (msg.wParam == VK_ESCAPE) {
          CancelLoop();
          return FALSE;
        }
        break;
      case WM_RBUTTONDOWN:
        CancelLoop();
        return FALSE;
      default:
        ::DispatchMessage(&msg);
        break;
    }
  }
  CancelLoop();
  return FALSE;
}

// ---- dragging ----

void CDockContext::StartDrag(CPoint pt) {
  m_bDragging = TRUE;
  InitLoop();
  InitDragRects(pt, (m_pBar->m_dwStyle & (CBRS_SIZE_DYNAMIC | CBRS_SIZE_FIXED)) != 0);
  m_dwOverDockStyle = CanDock();
  Move(pt);
  Track();
}

void CDockContext::InitDragRects(CPoint pt, BOOL bSizesItself) {
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  m_ptLast = pt;
  if (bSizesItself) {
    const bool fixed = (m_pBar->m_dwStyle & CBRS_SIZE_FIXED) != 0;
    CSize horz = m_pBar->CalcDynamicLayout(fixed ? -1 : 0, LM_HORZ | LM_HORZDOCK);
    CSize vert = m_pBar->CalcDynamicLayout(fixed ? -1 : 0, LM_VERTDOCK);
    CSize floating = m_pBar->CalcDynamicLayout(fixed ? -1 : 0, LM_HORZ | LM_MRUWIDTH);
    m_rectDragHorz = CRect(rect.TopLeft(), horz);
    m_rectDragVert = CRect(rect.TopLeft(), vert);
    m_rectFrameDragHorz = FloatingFrameRect(CRect(rect.TopLeft(), floating));
    m_rectFrameDragVert = m_rectFrameDragHorz;
  } else {
    CSize horz = m_pBar->CalcFixedLayout(FALSE, TRUE);
    CSize vert = m_pBar->CalcFixedLayout(FALSE, FALSE);
    // The other orientation's outline turns about the point held.
    if (m_pBar->m_dwStyle & CBRS_ORIENT_HORZ) {
      m_rectDragHorz = rect;
      m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), vert);
    } else {
      m_rectDragVert = rect;
      m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), horz);
    }
    m_rectFrameDragHorz = FloatingFrameRect(m_rectDragHorz);
    m_rectFrameDragVert = FloatingFrameRect(m_rectDragVert);
  }
  KeepPointInside(m_rectDragHorz, pt);
  KeepPointInside(m_rectDragVert, pt);
  KeepPointInside(m_rectFrameDragHorz, pt);
  KeepPointInside(m_rectFrameDragVert, pt);
}

void CDockContext::Move(CPoint pt) {
  CPoint offset = pt - m_ptLast;
  m_rectDragHorz.OffsetRect(offset);
  m_rectDragVert.OffsetRect(offset);
  m_rectFrameDragHorz.OffsetRect(offset);
  m_rectFrameDragVert.OffsetRect(offset);
  m_ptLast = pt;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect();
}

void CDockContext::OnKey(int nChar, BOOL bDown) {
  BOOL* flag = nChar == VK_CONTROL ? &m_bForceFrame : nChar == VK_SHIFT ? &m_bFlip : nullptr;
  if (flag == nullptr || *flag == bDown) return;
  *flag = bDown;
  // Flipping only means something for a bar that docks both ways.
  if (!(Horz(m_dwDockStyle) && Vert(m_dwDockStyle))) m_bFlip = FALSE;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect();
}

DWORD CDockContext::CanDock() {
  if (m_pDockSite == nullptr) return 0;
  bool horz = Horz(m_dwStyle);
  if (m_bFlip) horz = !horz;
  DWORD dock = 0;
  if (horz && Horz(m_dwDockStyle))
    dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_VERT));
  else if (Vert(m_dwDockStyle))
    dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_HORZ));
  if (!m_bFlip) {
    // Over an edge of the other orientation: dock that way only when both outlines agree.
    if (dock == 0 && Horz(m_dwDockStyle)) {
      DWORD current = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_VERT));
      dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_VERT));
      if (dock != current) dock = 0;
    }
    if (dock == 0 && Vert(m_dwDockStyle)) {
      DWORD current = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_HORZ));
      dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_HORZ));
      if (dock != current) dock = 0;
    }
  }
  return dock;
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle) {
  CDockBar* bar = nullptr;
  if (Horz(dwOverDockStyle))
    m_pDockSite->CanDock(m_rectDragHorz, dwOverDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_VERT), &bar);
  else if (Vert(dwOverDockStyle))
    m_pDockSite->CanDock(m_rectDragVert, dwOverDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_HORZ), &bar);
  return bar;
}

void CDockContext::DrawFocusRect(BOOL bRemoveRect) {
  if (m_pDC == nullptr) return;
  CSize size(::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER));
  CBrush* white = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  CBrush* dither = CDC::GetHalftoneBrush();
  CBrush* brush = white;
  CRect rect;
  if (!m_bDragging) {
    rect = m_rectActualFrameSize;
    size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
    brush = dither;
  } else if (Horz(m_dwOverDockStyle)) {
    rect = m_rectDragHorz;
  } else if (Vert(m_dwOverDockStyle)) {
    rect = m_rectDragVert;
  } else {
    // Floating: the frame's thick outline in the halftone.
    size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
    rect = (Horz(m_dwStyle) && !m_bFlip) || (Vert(m_dwStyle) && m_bFlip) ? m_rectFrameDragHorz : m_rectFrameDragVert;
    brush = dither;
  }
  if (bRemoveRect) size = CSize(0, 0);
  // A docking outline sits one pixel in, as the bar would look pressed into the edge.
  if (m_bDragging && (Horz(m_dwOverDockStyle) || Vert(m_dwOverDockStyle))) rect.InflateRect(-1, -1);
  DrawOutline(rect, size, brush == dither);
}

void CDockContext::DrawOutline(const CRect& rect, CSize size, BOOL bDither) {
  CBrush* white = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  CBrush* dither = CDC::GetHalftoneBrush();
  m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, bDither ? dither : white, m_bDitherLast ? dither : white);
  m_rectLast = rect;
  m_sizeLast = size;
  m_bDitherLast = bDither;
}

void CDockContext::EndDrag() {
  CancelLoop();
  if (m_dwOverDockStyle != 0) {
    CDockBar* dockBar = GetDockBar(m_dwOverDockStyle);
    if (dockBar == nullptr) return;
    CRect rect = Vert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
    UINT id = static_cast<UINT>(dockBar->GetDlgCtrlID());
    if (id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM) {
      m_uMRUDockID = id;
      m_rectMRUDockPos = rect;
      dockBar->ScreenToClient(&m_rectMRUDockPos);
    }
    m_pDockSite->DockControlBar(m_pBar, dockBar, &rect);
    m_pDockSite->RecalcLayout();
    return;
  }
  const bool horzFrame = (m_dwStyle & CBRS_SIZE_DYNAMIC) || (Horz(m_dwStyle) && !m_bFlip) || (Vert(m_dwStyle) && m_bFlip);
  m_dwMRUFloatStyle = (horzFrame ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT) | (m_dwDockStyle & CBRS_FLOAT_MULTI);
  m_ptMRUFloatPos = horzFrame ? m_rectFrameDragHorz.TopLeft() : m_rectFrameDragVert.TopLeft();
  m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}

// ---- resizing ----

void CDockContext::StartResize(int nHitTest, CPoint pt) {
  m_bDragging = FALSE;
  InitLoop();
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  m_ptLast = pt;
  m_nHitTest = nHitTest;
  CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
  m_rectRequestedSize = CRect(rect.TopLeft(), size);
  m_rectActualSize = m_rectRequestedSize;
  m_rectActualFrameSize = FloatingFrameRect(m_rectActualSize);
  m_rectFrameBorders = CRect(CPoint(m_rectActualFrameSize.left - m_rectActualSize.left,
                                    m_rectActualFrameSize.top - m_rectActualSize.top),
                             CSize(m_rectActualFrameSize.Width() - m_rectActualSize.Width(),
                                   m_rectActualFrameSize.Height() - m_rectActualSize.Height()));
  m_dwOverDockStyle = 0;
  Stretch(pt);
  Track();
}

void CDockContext::Stretch(CPoint pt) {
  CPoint offset = pt - m_ptLast;
  int length = 0;
  DWORD mode = LM_HORZ;
  if (m_nHitTest == HTLEFT || m_nHitTest == HTRIGHT) {
    if (m_nHitTest == HTLEFT)
      m_rectRequestedSize.left += offset.x;
    else
      m_rectRequestedSize.right += offset.x;
    length = m_rectRequestedSize.Width();
  } else {
    mode |= LM_LENGTHY;
    if (m_nHitTest == HTTOP)
      m_rectRequestedSize.top += offset.y;
    else
      m_rectRequestedSize.bottom += offset.y;
    length = m_rectRequestedSize.Height();
  }
  CSize size = m_pBar->CalcDynamicLayout(std::max(length, 0), mode);
  CRect desk;
  ::GetWindowRect(::GetDesktopWindow(), &desk);
  CRect frame = m_rectActualFrameSize;
  // The edge held moves; the opposite one stays. A size that would leave the screen is refused.
  if (m_nHitTest == HTLEFT || m_nHitTest == HTTOP) {
    frame.left = frame.right - (size.cx + m_rectFrameBorders.Width());
    frame.top = frame.bottom - (size.cy + m_rectFrameBorders.Height());
    CRect meet;
    if (meet.IntersectRect(desk, frame)) {
      m_rectActualSize.left = m_rectActualSize.right - size.cx;
      m_rectActualSize.top = m_rectActualSize.bottom - size.cy;
      m_rectActualFrameSize.left = frame.left;
      m_rectActualFrameSize.top = frame.top;
    }
  } else {
    frame.right = frame.left + size.cx + m_rectFrameBorders.Width();
    frame.bottom = frame.top + size.cy + m_rectFrameBorders.Height();
    CRect meet;
    if (meet.IntersectRect(desk, frame)) {
      m_rectActualSize.right = m_rectActualSize.left + size.cx;
      m_rectActualSize.bottom = m_rectActualSize.top + size.cy;
      m_rectActualFrameSize.right = frame.right;
      m_rectActualFrameSize.bottom = frame.bottom;
    }
  }
  m_ptLast = pt;
  DrawFocusRect();
}

void CDockContext::EndResize() {
  CancelLoop();
  m_pBar->CalcDynamicLayout(m_rectActualSize.Width(), LM_HORZ | LM_COMMIT);
  m_pDockSite->FloatControlBar(m_pBar, m_rectActualFrameSize.TopLeft(),
                               CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
}

// ---- toggling ----

void CDockContext::ToggleDocking() {
  if (m_pDockSite == nullptr) m_pDockSite = m_pBar->m_pDockSite;
  if (m_pDockSite == nullptr) return;
  if (m_pBar->IsFloating()) {
    if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) return;
    CRect rect = m_rectMRUDockPos;
    CDockBar* dockBar = nullptr;
    if (m_uMRUDockID != 0) {
      CControlBar* found = m_pDockSite->GetControlBar(m_uMRUDockID);
      if (found != nullptr && found->IsDockBar()) {
        dockBar = static_cast<CDockBar*>(found);
        dockBar->ClientToScreen(&rect);
      }
    }
    m_pDockSite->ReDockControlBar(m_pBar, dockBar, dockBar != nullptr ? &rect : nullptr);
    m_pDockSite->RecalcLayout();
  } else {
    CPoint pt = m_ptMRUFloatPos;
    if (pt.x < 0 || pt.y < 0) {
      // Never floated: it floats where it is docked.
      pt = m_rectMRUDockPos.TopLeft();
      if (CWnd* parent = m_pBar->GetParent()) parent->ClientToScreen(&pt);
    }
    m_pDockSite->FloatControlBar(m_pBar, pt, m_dwMRUFloatStyle != 0 ? m_dwMRUFloatStyle : CBRS_ALIGN_TOP);
  }
}

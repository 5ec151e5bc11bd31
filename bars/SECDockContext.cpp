// SECDockContext: the drag loop's rectangles and decision, the outline, ending a drag by docking
// or floating through the frame, two-dimension resizing, and the docking toggles.
#include "bars/SECDockContext.h"

#include <cstdlib>

#include "bars/SECControlBar.h"
#include "bars/SECDockBar.h"
#include "bars/SECDockSite.h"

namespace {

constexpr int kBorder2 = 2;

bool Horz(DWORD style) { return (style & CBRS_ORIENT_HORZ) != 0; }
bool Vert(DWORD style) { return (style & CBRS_ORIENT_VERT) != 0; }

SECControlBar* AsSEC(CControlBar* bar) { return dynamic_cast<SECControlBar*>(bar); }

// A toolkit bar sized in both dimensions floats in a frame the user can size.
bool SizesBothWays(CControlBar* bar) {
  SECControlBar* sec = AsSEC(bar);
  return sec != nullptr && !(sec->m_dwExStyle & CBRS_EX_STRETCH_ONE_DIMENSION);
}

CRect FloatingFrameRect(const CRect& rect) {
  CRect frame = rect;
  CMiniFrameWnd::CalcBorders(&frame, WS_THICKFRAME | WS_CAPTION, WS_EX_TOOLWINDOW);
  frame.InflateRect(-kBorder2, -kBorder2);
  return frame;
}

void SendStatus(UINT id) {
  if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->m_hWnd != nullptr)
    main->SendMessage(WM_SETMESSAGESTRING, id);
}

}  // namespace

DWORD SECFloatingFrameStyle(CControlBar* pBar, DWORD dwStyle) {
  if (pBar == nullptr) return dwStyle;
  return (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) || SizesBothWays(pBar) ? dwStyle | CBRS_SIZE_DYNAMIC : dwStyle;
}

void SECSiteDock(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (SECDockSite* site = SECGetDockSite(pFrame))
    site->SECDockBarAt(pBar, pDockBar, lpRect);
  else
    pFrame->DockControlBar(pBar, pDockBar, lpRect);
}

void SECSiteReDock(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (SECDockSite* site = SECGetDockSite(pFrame))
    site->SECReDockBarAt(pBar, pDockBar, lpRect);
  else
    pFrame->ReDockControlBar(pBar, pDockBar, lpRect);
}

void SECSiteFloat(CFrameWnd* pFrame, CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (SECDockSite* site = SECGetDockSite(pFrame))
    site->SECFloatBar(pBar, point, dwStyle);
  else
    pFrame->FloatControlBar(pBar, point, dwStyle);
}

SECDockContext::SECDockContext(CControlBar* pBar) : CDockContext(pBar) {
  m_rectDrop.SetRectEmpty();
  m_sizeMinFloat = CSize(::GetSystemMetrics(SM_CXMENUSIZE) + 2 * (::GetSystemMetrics(SM_CXFRAME) + ::GetSystemMetrics(SM_CXBORDER)),
                         ::GetSystemMetrics(SM_CYSMCAPTION) + 2 * (::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYBORDER)));
  m_sizeMaxFloat = CSize(::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN));
}

SECDockContext::~SECDockContext() = default;

int SECDockContext::DistanceMoved() const {
  return std::abs(m_ptLast.x - m_ptDragStart.x) + std::abs(m_ptLast.y - m_ptDragStart.y);
}

BOOL SECDockContext::IsHorzAfterFlip() const {
  const bool horz = Horz(m_dwStyle);
  return m_bFlip ? !horz : horz;
}

// ---- dragging ----

void SECDockContext::StartDrag(CPoint pt) {
  if (::GetCapture() != nullptr) return;
  m_ptDragStart = pt;
  m_bDragging = TRUE;
  m_nDropPos = -1;
  m_nDropData[0] = -1;
  SendStatus(IDS_SEC_DRAGHINT);
  InitLoop();
  // A toolkit bar sizes itself in every state.
  InitDragRects(pt, (m_pBar->m_dwStyle & (CBRS_SIZE_DYNAMIC | CBRS_SIZE_FIXED)) || AsSEC(m_pBar) != nullptr);
  m_dwOverDockStyle = CanDock();
  Move(pt);
  Track();
  SendStatus(AFX_IDS_IDLEMESSAGE);
}

DWORD SECDockContext::CanDock() {
  if (m_pDockSite == nullptr) return 0;
  const DWORD horzSides = m_dwDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_VERT);
  const DWORD vertSides = m_dwDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_HORZ);
  DWORD dock = 0;
  if (IsHorzAfterFlip() && Horz(m_dwDockStyle)) {
    dock = m_pDockSite->CanDock(m_rectDragHorz, horzSides);
  } else if (Vert(m_dwDockStyle)) {
    CDockBar* dockBar = nullptr;
    dock = m_pDockSite->CanDock(m_rectDragVert, vertSides, &dockBar);
    // A side bar takes a dragged bar only when the mouse itself is over it.
    if (dock != 0 && dockBar != nullptr) {
      CRect rect;
      dockBar->GetWindowRect(&rect);
      if (rect.Width() == 0) rect.right++;
      if (rect.Height() == 0) rect.bottom++;
      if (!rect.PtInRect(m_ptLast)) dock = 0;
    }
  }
  if (m_bFlip || dock != 0) return dock;
  if (Horz(m_dwDockStyle)) {
    DWORD a = m_pDockSite->CanDock(m_rectDragVert, horzSides);
    DWORD b = m_pDockSite->CanDock(m_rectDragHorz, horzSides);
    if (a != 0 && a == b) return a;
  }
  if (Vert(m_dwDockStyle)) {
    DWORD a = m_pDockSite->CanDock(m_rectDragHorz, vertSides);
    DWORD b = m_pDockSite->CanDock(m_rectDragVert, vertSides);
    return a == b ? a : 0;
  }
  return 0;
}

void SECDockContext::DrawFocusRect(BOOL bRemoveRect) {
  if (m_pDC == nullptr) return;
  const CSize thin(::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER));
  const CSize thick(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
  CBrush* white = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  CBrush* dither = CDC::GetHalftoneBrush();
  CBrush* brush = white;
  CSize size = thin;
  CRect rect;
  const CRect& frameRect = IsHorzAfterFlip() ? m_rectFrameDragHorz : m_rectFrameDragVert;
  if (!m_bDragging) {
    rect = m_rectActualFrameSize;
    size = thick;
    brush = dither;
  } else if (m_dwOverDockStyle & CBRS_ALIGN_ANY) {
    if (m_pBar->IsFloating() && DistanceMoved() < kDockThreshold) {
      // Not far enough yet: still shown floating.
      rect = frameRect;
      size = thick;
      brush = dither;
    } else {
      const CRect& drag = Vert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
      CDockBar* dockBar = GetDockBar(m_dwOverDockStyle);
      if (auto* sec = dynamic_cast<SECDockBar*>(dockBar))
        rect = sec->GetDropRect(m_pBar, drag, m_ptLast, this);
      else
        rect = drag;
    }
  } else {
    rect = frameRect;
    size = thick;
    brush = dither;
    m_nDropPos = -1;
  }
  if (bRemoveRect) size = CSize(0, 0);
  DrawOutline(rect, size, brush == dither);
}

void SECDockContext::EndDrag() {
  CancelLoop();
  if ((m_dwOverDockStyle & CBRS_ALIGN_ANY) && (!m_pBar->IsFloating() || DistanceMoved() >= kDockThreshold)) {
    CDockBar* dockBar = GetDockBar(m_dwOverDockStyle);
    if (dockBar == nullptr) return;
    CRect rect = Vert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
    auto* sec = dynamic_cast<SECDockBar*>(dockBar);
    // The bar lands where the outline showed it.
    if (sec != nullptr && m_nDropPos != -1 && m_nDropData[1] == sec->GetDlgCtrlID()) rect = m_rectDrop;
    const UINT id = static_cast<UINT>(dockBar->GetDlgCtrlID());
    if (id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM) {
      m_uMRUDockID = id;
      m_rectMRUDockPos = rect;
      dockBar->ScreenToClient(&m_rectMRUDockPos);
    }
    if (m_pBar->IsFloating() && sec != nullptr) sec->m_pLastChanged = m_pBar;
    SECSiteDock(m_pDockSite, m_pBar, dockBar, &rect);
    m_pDockSite->RecalcLayout(TRUE);
    return;
  }
  CPoint point;
  DWORD style;
  if ((m_pBar->m_dwStyle & CBRS_SIZE_FIXED) && !IsHorzAfterFlip()) {
    style = CBRS_ALIGN_LEFT;
    point = m_rectFrameDragVert.TopLeft();
  } else {
    style = CBRS_ALIGN_TOP;
    // The frame rectangles lie a double border inside the frame they stand for: the frame is
    // put back by that much, so that it lands where the mouse took it (a customisable toolbar
    // too, which would otherwise creep down and right with each move).
    point = m_rectFrameDragHorz.TopLeft();
    point.Offset(-kBorder2, -kBorder2);
  }
  style |= m_dwDockStyle & CBRS_FLOAT_MULTI;
  m_dwMRUFloatStyle = style;
  m_ptMRUFloatPos = point;
  if (SECControlBar* bar = AsSEC(m_pBar); bar != nullptr && !bar->IsFloating()) bar->m_fSavedPctWidth = bar->m_fPctWidth;
  SECSiteFloat(m_pDockSite, m_pBar, point, SECFloatingFrameStyle(m_pBar, style));
}

// ---- resizing ----

void SECDockContext::StartResize(int nHitTest, CPoint pt) {
  if (::GetCapture() != nullptr) return;
  m_bDragging = FALSE;
  InitLoop();
  m_ptLast = pt;
  m_ptDragStart = pt;
  m_nHitTest = nHitTest;
  CRect bar;
  m_pBar->GetWindowRect(&bar);
  CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
  m_rectRequestedSize = CRect(bar.TopLeft(), size);
  m_rectActualSize = m_rectRequestedSize;
  // The floating frame as it is, so the outline starts on its edges.
  CRect frame;
  if (CFrameWnd* parent = m_pBar->GetParentFrame(); parent != nullptr && m_pBar->IsFloating())
    parent->GetWindowRect(&frame);
  else
    frame = FloatingFrameRect(m_rectActualSize);
  m_rectActualFrameSize = CRect(frame.TopLeft(), CSize(frame.Width() - bar.Width() + size.cx,
                                                       frame.Height() - bar.Height() + size.cy));
  m_rectFrameBorders = CRect(CPoint(bar.left - frame.left, bar.top - frame.top),
                             CSize(frame.Width() - bar.Width(), frame.Height() - bar.Height()));
  m_dwOverDockStyle = 0;
  Stretch(pt);
  Track();
  SendStatus(AFX_IDS_IDLEMESSAGE);
}

void SECDockContext::Stretch(CPoint pt) {
  if (!SizesBothWays(m_pBar)) {
    CDockContext::Stretch(pt);
    return;
  }
  const CPoint offset = pt - m_ptLast;
  const int h = m_nHitTest;
  const bool leftSide = h == HTLEFT || h == HTTOPLEFT || h == HTBOTTOMLEFT;
  const bool rightSide = h == HTRIGHT || h == HTTOPRIGHT || h == HTBOTTOMRIGHT;
  const bool topSide = h == HTTOP || h == HTTOPLEFT || h == HTTOPRIGHT;
  const bool bottomSide = h == HTBOTTOM || h == HTBOTTOMLEFT || h == HTBOTTOMRIGHT;
  const int bordersX = m_rectFrameBorders.Width(), bordersY = m_rectFrameBorders.Height();
  if (leftSide || rightSide) {
    CRect next = m_rectRequestedSize;
    (leftSide ? next.left : next.right) += offset.x;
    const int frameWidth = next.Width() + bordersX;
    // A width outside the floating limits is refused: the edge stays.
    if (frameWidth >= m_sizeMinFloat.cx && frameWidth <= m_sizeMaxFloat.cx) {
      m_rectRequestedSize = next;
      m_pBar->CalcDynamicLayout(next.Width(), LM_HORZ | LM_COMMIT);
    }
  }
  if (topSide || bottomSide) {
    CRect next = m_rectRequestedSize;
    (topSide ? next.top : next.bottom) += offset.y;
    const int frameHeight = next.Height() + bordersY;
    if (frameHeight >= m_sizeMinFloat.cy && frameHeight <= m_sizeMaxFloat.cy) {
      m_rectRequestedSize = next;
      m_pBar->CalcDynamicLayout(next.Height(), LM_LENGTHY | LM_HORZ | LM_COMMIT);
    }
  }
  const CSize size = m_pBar->CalcDynamicLayout(-1, LM_HORZ);
  // The dragged edges move; the opposite ones stay.
  if (leftSide)
    m_rectActualSize.left = m_rectActualSize.right - size.cx;
  else
    m_rectActualSize.right = m_rectActualSize.left + size.cx;
  if (topSide)
    m_rectActualSize.top = m_rectActualSize.bottom - size.cy;
  else
    m_rectActualSize.bottom = m_rectActualSize.top + size.cy;
  m_rectActualFrameSize = CRect(m_rectActualSize.left - m_rectFrameBorders.left, m_rectActualSize.top - m_rectFrameBorders.top,
                                m_rectActualSize.left - m_rectFrameBorders.left + size.cx + bordersX,
                                m_rectActualSize.top - m_rectFrameBorders.top + size.cy + bordersY);
  m_ptLast = pt;
  DrawFocusRect();
}

void SECDockContext::EndResize() {
  if (!SizesBothWays(m_pBar)) {
    CDockContext::EndResize();
    return;
  }
  CancelLoop();
  m_pBar->CalcDynamicLayout(m_rectActualSize.Width(), LM_HORZ | LM_COMMIT);
  m_pBar->CalcDynamicLayout(m_rectActualSize.Height(), LM_LENGTHY | LM_HORZ | LM_COMMIT);
  SECSiteFloat(m_pDockSite, m_pBar, m_rectActualFrameSize.TopLeft(),
               CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | (m_dwDockStyle & CBRS_FLOAT_MULTI));
}

// ---- toggles ----

void SECDockContext::ToggleDocking() {
  if (m_pDockSite == nullptr) m_pDockSite = m_pBar->m_pDockSite;
  if (m_pDockSite == nullptr) return;
  SECControlBar* sec = AsSEC(m_pBar);
  if (m_pBar->IsFloating()) {
    if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) return;
    if (sec != nullptr) sec->m_fPctWidth = sec->m_fSavedPctWidth;
    CRect rect = m_rectMRUDockPos;
    CDockBar* dockBar = nullptr;
    if (m_uMRUDockID != 0) {
      CControlBar* found = m_pDockSite->GetControlBar(m_uMRUDockID);
      if (found != nullptr && found->IsDockBar()) {
        dockBar = static_cast<CDockBar*>(found);
        dockBar->ClientToScreen(&rect);
        if (m_pBar->m_dwStyle & CBRS_BORDER_TOP) rect.bottom++;
      }
    }
    SECSiteReDock(m_pDockSite, m_pBar, dockBar, dockBar != nullptr ? &rect : nullptr);
    m_pDockSite->RecalcLayout(TRUE);
    return;
  }
  if (sec != nullptr) sec->m_fSavedPctWidth = sec->m_fPctWidth;
  CPoint pt = m_ptMRUFloatPos;
  if (pt.x < 0 || pt.y < 0) {
    pt = m_rectMRUDockPos.TopLeft();
    if (CWnd* parent = m_pBar->GetParent()) parent->ClientToScreen(&pt);
  }
  DWORD style = m_dwMRUFloatStyle != 0 ? m_dwMRUFloatStyle : static_cast<DWORD>(CBRS_ALIGN_TOP);
  SECSiteFloat(m_pDockSite, m_pBar, pt, SECFloatingFrameStyle(m_pBar, style));
}

void SECDockContext::ToggleFloatInMainWindow() {
  if (m_pDockSite == nullptr) m_pDockSite = m_pBar->m_pDockSite;
  SECDockSite* site = SECGetDockSite(m_pDockSite);
  if (site == nullptr) return;
  site->SECSetBusy(TRUE);
  SECControlBar* sec = AsSEC(m_pBar);
  if (sec != nullptr && sec->IsMDIChild()) {
    sec->m_fPctWidth = sec->m_fSavedPctWidth;
    if (m_bPrevFloating) {
      site->SECFloatBar(m_pBar, m_ptMRUFloatPos, SECFloatingFrameStyle(m_pBar, m_dwMRUFloatStyle | CBRS_ALIGN_TOP));
    } else if (m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY) {
      CRect rect = m_rectMRUDockPos;
      CDockBar* dockBar = nullptr;
      if (CControlBar* found = m_pDockSite->GetControlBar(m_uMRUDockID); found != nullptr && found->IsDockBar()) {
        dockBar = static_cast<CDockBar*>(found);
        dockBar->ClientToScreen(&rect);
      }
      site->SECReDockBarAt(m_pBar, dockBar, dockBar != nullptr ? &rect : nullptr);
      m_pDockSite->RecalcLayout(TRUE);
    }
  } else {
    if (sec != nullptr) sec->m_fSavedPctWidth = sec->m_fPctWidth;
    m_bPrevFloating = m_pBar->IsFloating();
    site->SECFloatBarInMainWindow(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle | CBRS_ALIGN_TOP);
  }
  site->SECSetBusy(FALSE);
}

// SECPanView and SECOverviewWnd: the overview's fit mapping, the mark of the visible part that
// follows the view's scrolling, and panning by dragging the mark (with the pointer confined to
// where the mark stays inside the document).
#include "bars/SECPanView.h"

#include <algorithm>
#include <cmath>

#include "resources/Menus.h"

IMPLEMENT_DYNAMIC(SECOverviewWnd, CWnd)
IMPLEMENT_DYNAMIC(SECPanView, SECZoomView)

// ---- the view ----

BEGIN_MESSAGE_MAP(SECPanView, SECZoomView)
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECPanView::~SECPanView() {
  if (m_pOverview != nullptr && ::IsWindow(m_pOverview->m_hWnd)) m_pOverview->DestroyWindow();
}

CSize SECPanView::FitExtent(CSize sizeDoc, CSize sizeWindow) {
  if (sizeDoc.cx <= 0 || sizeDoc.cy <= 0 || sizeWindow.cx <= 0 || sizeWindow.cy <= 0) return CSize(0, 0);
  const double ratio = static_cast<double>(sizeDoc.cx) / sizeDoc.cy;
  const double window = static_cast<double>(sizeWindow.cx) / sizeWindow.cy;
  CSize extent = sizeWindow;
  if (ratio >= window)
    extent.cy = std::max(1, static_cast<int>(std::lround(sizeWindow.cx / ratio)));
  else
    extent.cx = std::max(1, static_cast<int>(std::lround(sizeWindow.cy * ratio)));
  return extent;
}

void SECPanView::EnterOverviewFit(CSize sizeOverview) {
  m_sizeSavedViewport = m_sizeViewport;
  m_fSavedScale = m_fZoomScale;
  m_nSavedMode = m_nZoomMode;
  m_fZoomScale = 0.0f;
  m_nZoomMode = SEC_ZOOMNORMAL;
  m_sizeViewport = FitExtent(m_sizeDoc, sizeOverview);
  m_bInOverviewFit = TRUE;
}

void SECPanView::LeaveOverviewFit() {
  m_sizeViewport = m_sizeSavedViewport;
  m_fZoomScale = m_fSavedScale;
  m_nZoomMode = m_nSavedMode;
  m_bInOverviewFit = FALSE;
}

void SECPanView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  SECZoomView::OnPrepareDC(pDC, pInfo);
  // The overview shows the whole document, unscrolled.
  if (m_bInOverviewFit) pDC->SetViewportOrg(0, 0);
}

void SECPanView::DrawOverview(CDC* pDC, CSize sizeOverview) {
  if (FitExtent(m_sizeDoc, sizeOverview) == CSize(0, 0)) return;
  const int saved = pDC->SaveDC();
  EnterOverviewFit(sizeOverview);
  OnPrepareDC(pDC);
  OnDraw(pDC);
  LeaveOverviewFit();
  pDC->RestoreDC(saved);
}

SECOverviewWnd* SECPanView::ShowOverviewWnd(const CRect& rect) {
  if (m_pOverview == nullptr) {
    auto* overview = new SECOverviewWnd(this);
    if (!overview->Create(rect, GetParentFrame())) {
      delete overview;
      return nullptr;
    }
    m_pOverview = overview;
  }
  m_pOverview->ShowWindow(SW_SHOW);
  UpdateOverviewRect();
  return m_pOverview;
}

void SECPanView::UpdateOverviewRect() {
  if (m_pOverview == nullptr || m_hWnd == nullptr) return;
  CRect client;
  GetClientRect(&client);
  CClientDC dc(this);
  OnPrepareDC(&dc);
  dc.DPtoLP(&client);
  client.NormalizeRect();
  m_pOverview->SetVisibleRect(client);
}

BOOL SECPanView::PanView(CPoint ptLogical, BOOL bDrag) {
  const CSize delta = bDrag ? ptLogical - m_ptLastPan : m_ptLastPan - ptLogical;
  if (m_sizeDoc.cx <= 0 || m_sizeDoc.cy <= 0) return FALSE;
  const CSize device(static_cast<int>(std::lround(static_cast<double>(delta.cx) * m_sizeViewport.cx / m_sizeDoc.cx)),
                     static_cast<int>(std::lround(static_cast<double>(delta.cy) * m_sizeViewport.cy / m_sizeDoc.cy)));
  if (!OnScrollBy(device, TRUE)) return FALSE;
  UpdateWindow();
  return TRUE;
}

void SECPanView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  SECZoomView::OnHScroll(nSBCode, nPos, pScrollBar);
  UpdateOverviewRect();
}

void SECPanView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  SECZoomView::OnVScroll(nSBCode, nPos, pScrollBar);
  UpdateOverviewRect();
}

void SECPanView::OnSize(UINT nType, int cx, int cy) {
  SECZoomView::OnSize(nType, cx, cy);
  UpdateOverviewRect();
}

void SECPanView::OnDestroy() {
  if (m_pOverview != nullptr && ::IsWindow(m_pOverview->m_hWnd)) m_pOverview->DestroyWindow();
  m_pOverview = nullptr;
  SECZoomView::OnDestroy();
}

// ---- the overview window ----

BEGIN_MESSAGE_MAP(SECOverviewWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_SETCURSOR()
  ON_WM_CLOSE()
  ON_WM_CANCELMODE()
  ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

SECOverviewWnd::SECOverviewWnd(SECPanView* pPanView)
    : m_pPanView(pPanView), m_hDragCursor(::LoadCursor(nullptr, IDC_SIZEALL)) {}

BOOL SECOverviewWnd::Create(const CRect& rect, CWnd* pOwner) {
  CString title;
  title.LoadString(IDS_SEC_OVERVIEW_TITLE);
  return CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr,
                                                       static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))),
                  title, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, rect.left, rect.top, rect.Width(),
                  rect.Height(), pOwner != nullptr ? pOwner->m_hWnd : nullptr, nullptr);
}

CSize SECOverviewWnd::FitExtent() const {
  CRect client;
  GetClientRect(&client);
  return SECPanView::FitExtent(m_pPanView->GetDocSize(), client.Size());
}

CPoint SECOverviewWnd::ToLogical(CPoint ptOverview) const {
  const CSize fit = FitExtent(), doc = m_pPanView->GetDocSize();
  if (fit.cx <= 0 || fit.cy <= 0) return CPoint(0, 0);
  return CPoint(static_cast<int>(std::lround(static_cast<double>(ptOverview.x) * doc.cx / fit.cx)),
                static_cast<int>(std::lround(static_cast<double>(ptOverview.y) * doc.cy / fit.cy)));
}

CPoint SECOverviewWnd::ToOverview(CPoint ptLogical) const {
  const CSize fit = FitExtent(), doc = m_pPanView->GetDocSize();
  if (doc.cx <= 0 || doc.cy <= 0) return CPoint(0, 0);
  return CPoint(static_cast<int>(std::lround(static_cast<double>(ptLogical.x) * fit.cx / doc.cx)),
                static_cast<int>(std::lround(static_cast<double>(ptLogical.y) * fit.cy / doc.cy)));
}

void SECOverviewWnd::DrawVisibleRect(CDC* pDC) {
  if (m_rcVisible.IsRectEmpty()) return;
  CPen pen(PS_DOT, 1, RGB(0, 0, 0));
  CPen* oldPen = pDC->SelectObject(&pen);
  CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
  const int oldRop = pDC->SetROP2(R2_NOTXORPEN);
  pDC->Rectangle(&m_rcVisible);
  pDC->SetROP2(oldRop);
  pDC->SelectObject(oldBrush);
  pDC->SelectObject(oldPen);
}

void SECOverviewWnd::SetVisibleRect(const CRect& rcLogical) {
  const CSize fit = FitExtent();
  CRect rect(ToOverview(rcLogical.TopLeft()), ToOverview(rcLogical.BottomRight()));
  // Along an axis the view shows whole, the mark spans the whole document.
  rect.left = std::clamp<LONG>(rect.left, 0, fit.cx);
  rect.top = std::clamp<LONG>(rect.top, 0, fit.cy);
  rect.right = std::clamp<LONG>(rect.right, rect.left, fit.cx);
  rect.bottom = std::clamp<LONG>(rect.bottom, rect.top, fit.cy);
  if (rect == m_rcVisible) return;
  CClientDC dc(this);
  DrawVisibleRect(&dc);
  m_rcVisible = rect;
  DrawVisibleRect(&dc);
}

void SECOverviewWnd::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  m_pPanView->DrawOverview(&dc, client.Size());
  CRect clip;
  dc.GetClipBox(&clip);
  clip.InflateRect(2, 2);
  CRect meet;
  if (meet.IntersectRect(&clip, &m_rcVisible) || m_rcVisible.IsRectEmpty()) DrawVisibleRect(&dc);
}

void SECOverviewWnd::MoveRectTo(CPoint point) {
  const CSize fit = FitExtent();
  CPoint topLeft = point - m_ptDragOffset;
  topLeft.x = std::clamp<LONG>(topLeft.x, 0, std::max<LONG>(0, fit.cx - m_rcVisible.Width()));
  topLeft.y = std::clamp<LONG>(topLeft.y, 0, std::max<LONG>(0, fit.cy - m_rcVisible.Height()));
  if (topLeft == m_rcVisible.TopLeft()) return;
  CClientDC dc(this);
  DrawVisibleRect(&dc);
  m_rcVisible.OffsetRect(topLeft - m_rcVisible.TopLeft());
  DrawVisibleRect(&dc);
}

void SECOverviewWnd::OnLButtonDown(UINT, CPoint point) {
  if (m_rcVisible.IsRectEmpty() || !m_rcVisible.PtInRect(point)) return;
  m_bDragging = TRUE;
  m_ptDragOffset = point - m_rcVisible.TopLeft();
  SetCapture();
  ::SetCursor(m_hDragCursor);
  // The pointer stays where the whole mark stays inside the document.
  const CSize fit = FitExtent();
  CRect confine(m_ptDragOffset.x, m_ptDragOffset.y, fit.cx - m_rcVisible.Width() + m_ptDragOffset.x + 1,
                fit.cy - m_rcVisible.Height() + m_ptDragOffset.y + 1);
  ClientToScreen(&confine);
  ::ClipCursor(&confine);
  m_pPanView->m_ptLastPan = PanPoint();
}

void SECOverviewWnd::OnMouseMove(UINT, CPoint point) {
  if (!m_bDragging) return;
  MoveRectTo(point);
  if (m_pPanView->m_bLivePan) {
    m_pPanView->PanView(PanPoint());
    m_pPanView->m_ptLastPan = PanPoint();
  }
}

void SECOverviewWnd::OnLButtonUp(UINT, CPoint point) {
  if (!m_bDragging) return;
  EndDrag();
  MoveRectTo(point);
  m_pPanView->PanView(PanPoint());
  m_pPanView->m_ptLastPan = PanPoint();
}

void SECOverviewWnd::EndDrag() {
  m_bDragging = FALSE;
  ::ClipCursor(nullptr);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

LRESULT SECOverviewWnd::OnCaptureChanged(WPARAM, LPARAM) {
  // Losing the mouse to another window ends the drag and frees the pointer.
  if (m_bDragging) {
    m_bDragging = FALSE;
    ::ClipCursor(nullptr);
  }
  return 0;
}

void SECOverviewWnd::OnCancelMode() {
  if (m_bDragging) EndDrag();
  CWnd::OnCancelMode();
}

BOOL SECOverviewWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest != HTCLIENT) return CWnd::OnSetCursor(pWnd, nHitTest, message);
  ::SetCursor(m_bDragging ? m_hDragCursor : ::LoadCursor(nullptr, IDC_ARROW));
  return TRUE;
}

void SECOverviewWnd::OnClose() {
  if (m_bDragging) EndDrag();
  m_pPanView->OnOverviewClosed();
  DestroyWindow();
}

void SECOverviewWnd::PostNcDestroy() {
  if (m_pPanView != nullptr && m_pPanView->GetOverviewWnd() == this) m_pPanView->OnOverviewClosed();
  delete this;
}

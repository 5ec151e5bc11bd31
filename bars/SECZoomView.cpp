// SECZoomView: the zoom state and the mapping it gives the view's device contexts.
#include "bars/SECZoomView.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(SECZoomView, CScrollView)

BEGIN_MESSAGE_MAP(SECZoomView, CScrollView)
  ON_WM_SIZE()
END_MESSAGE_MAP()

void SECZoomView::SetZoomSizes(SIZE sizeTotal) {
  m_sizeDoc = sizeTotal;
  ApplyZoom();
}

void SECZoomView::SetZoomLevel(float fScale) {
  if (!(fScale > 0.0f)) return;
  m_fZoomScale = fScale;
  m_nZoomMode = SEC_ZOOMNORMAL;
  ApplyZoom();
}

void SECZoomView::SetZoomMode(int nMode) {
  m_nZoomMode = nMode;
  if (nMode == SEC_ZOOMFIT)
    ZoomFit();
  else
    ApplyZoom();
}

void SECZoomView::ZoomFit() {
  CRect client;
  if (m_hWnd != nullptr) GetClientRect(&client);
  // An empty document or window has no scale to fit: the present one stays.
  if (m_sizeDoc.cx > 0 && m_sizeDoc.cy > 0 && client.Width() > 0 && client.Height() > 0)
    m_fZoomScale = std::min(static_cast<float>(client.Width()) / static_cast<float>(m_sizeDoc.cx),
                            static_cast<float>(client.Height()) / static_cast<float>(m_sizeDoc.cy));
  ApplyZoom();
}

void SECZoomView::ApplyZoom() {
  const float scale = m_nZoomMode == SEC_ZOOMOFF ? 1.0f : m_fZoomScale;
  m_sizeViewport = CSize(static_cast<int>(std::lround(m_sizeDoc.cx * scale)),
                         static_cast<int>(std::lround(m_sizeDoc.cy * scale)));
  if (m_sizeViewport.cx > 0 && m_sizeViewport.cy > 0) {
    SetScrollSizes(MM_TEXT, m_sizeViewport);
    if (m_hWnd != nullptr) Invalidate();
  }
}

void SECZoomView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CScrollView::OnPrepareDC(pDC, pInfo);
  if (m_sizeDoc.cx <= 0 || m_sizeDoc.cy <= 0 || m_sizeViewport.cx <= 0 || m_sizeViewport.cy <= 0) return;
  // The viewport origin set for scrolling stays; only the scale changes.
  const CPoint origin = pDC->GetViewportOrg();
  pDC->SetMapMode(MM_ANISOTROPIC);
  pDC->SetWindowExt(m_sizeDoc);
  pDC->SetViewportExt(m_sizeViewport);
  pDC->SetViewportOrg(origin);
}

void SECZoomView::OnSize(UINT nType, int cx, int cy) {
  if (m_nZoomMode == SEC_ZOOMFIT) ZoomFit();
  CScrollView::OnSize(nType, cx, cy);
}

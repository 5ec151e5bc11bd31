// SECZoomView: a scroll view whose document can be shown at a scale or fitted to the window;
// the document keeps its logical size, the scroll bars work in zoomed pixels.
#pragma once

#include "afx/afx.h"

class SECZoomView : public CScrollView {
  DECLARE_DYNAMIC(SECZoomView)

 public:
  enum ZoomMode { SEC_ZOOMOFF = 0, SEC_ZOOMNORMAL = 1, SEC_ZOOMFIT = 3 };

  SECZoomView() = default;

  // The document's size in logical units (MM_TEXT pixels at scale 1).
  void SetZoomSizes(SIZE sizeTotal);
  CSize GetDocSize() const { return m_sizeDoc; }
  // Scale 1.0 shows the document as it is; the mode becomes normal.
  void SetZoomLevel(float fScale);
  float GetZoomLevel() const { return m_fZoomScale; }
  void SetZoomMode(int nMode);
  int GetZoomMode() const { return m_nZoomMode; }
  // Fits the whole document into the client area (the smaller of the two axis scales).
  void ZoomFit();
  // The document's extent on the device at the present scale.
  CSize GetViewportExtent() const { return m_sizeViewport; }

  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  // Sets the scroll bars for the zoomed extent.
  void ApplyZoom();

  int m_nZoomMode = SEC_ZOOMOFF;
  float m_fZoomScale = 1.0f;
  CSize m_sizeViewport{0, 0};
  CSize m_sizeDoc{0, 0};
};

// CScrollView: a view over a document larger than its window, scrolled with its scroll bars (or a
// splitter's shared ones), the keyboard's scroll commands and the mouse wheel, in any mapping mode;
// or scaled to fit the window.
#pragma once

#include "afx/CView.h"

#define MM_SCALETOFIT (-1)

class CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)

 public:
  static const SIZE sizeDefault;

  CScrollView() = default;

  // The document's size, a page and a line in logical units of nMapMode; page and line default to
  // a tenth of the size and a tenth of the page.
  void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                      const SIZE& sizeLine = sizeDefault);
  // Shows the whole document scaled to the window, without scroll bars.
  void SetScaleToFitSize(SIZE sizeTotal);
  // The top-left corner shown, in logical units (y negative in the modes whose y grows upwards).
  CPoint GetScrollPosition() const;
  CPoint GetDeviceScrollPosition() const;
  CSize GetTotalSize() const { return m_totalLog; }
  void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
  // Scrolls so that the logical point is the top-left corner, within the scroll limits.
  void ScrollToPosition(POINT pt);
  // Fills the parts of the window beyond the document (device coordinates, for OnEraseBkgnd).
  void FillOutsideRect(CDC* pDC, CBrush* pBrush);
  // Sizes the frame so the view shows the whole document (only smaller when bShrinkOnly).
  void ResizeParentToFit(BOOL bShrinkOnly = TRUE);
  BOOL DoMouseWheel(UINT fFlags, short zDelta, CPoint point);

  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
  // nScrollCode: the horizontal SB_ code in the low byte, the vertical one in the high byte (0xFF: none).
  BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE) override;
  // Scrolls by a device distance within the limits; FALSE when nothing moved.
  BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE) override;
  void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

 protected:
  void CenterOnPoint(CPoint ptCenter);
  void ScrollToDevicePosition(POINT ptDev);
  // Shows, hides and sets the scroll bars for the client size and the document.
  void UpdateBars();
  // The client size with no scroll bars shown; FALSE when there is no room for scroll bars.
  BOOL GetTrueClientSize(CSize& size, CSize& sizeSb);
  // How much of the client area scroll bars take (none for a splitter's shared bars).
  void GetScrollBarSizes(CSize& sizeSb);
  void GetScrollBarState(CSize sizeClient, CSize& needSb, CSize& sizeRange, CPoint& ptMove, BOOL bInsideClient);

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  DECLARE_MESSAGE_MAP()

  int m_nMapMode = 0;  // 0 until the sizes are set
  CSize m_totalLog;
  CSize m_totalDev;
  CSize m_pageDev;
  CSize m_lineDev;
  BOOL m_bCenter = FALSE;  // a document smaller than the window is centred in it
  BOOL m_bInsideUpdate = FALSE;
};

// SECPanView: a zooming view with an overview window that shows the whole document and marks
// the part the view shows; dragging the mark pans the view. SECOverviewWnd is that window.
#pragma once

#include "afx/afx.h"
#include "bars/SECZoomView.h"

class SECPanView;

class SECOverviewWnd : public CWnd {
  DECLARE_DYNAMIC(SECOverviewWnd)

 public:
  explicit SECOverviewWnd(SECPanView* pPanView);

  // A pop-up titled "Overview Window" at rect (screen coordinates, the whole window).
  using CWnd::Create;
  BOOL Create(const CRect& rect, CWnd* pOwner);
  // The part the view shows, in the document's logical units.
  void SetVisibleRect(const CRect& rcLogical);
  CRect GetVisibleRect() const { return m_rcVisible; }
  BOOL IsDragging() const { return m_bDragging; }
  // The document's extent in the client area and the conversions of points to and from it.
  CSize FitExtent() const;
  CPoint ToLogical(CPoint ptOverview) const;
  CPoint ToOverview(CPoint ptLogical) const;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnClose();
  afx_msg LRESULT OnCaptureChanged(WPARAM, LPARAM);
  afx_msg void OnCancelMode();
  void PostNcDestroy() override;
  DECLARE_MESSAGE_MAP()

  // The dotted mark in the NOT-XOR mix: drawn twice, it is gone.
  void DrawVisibleRect(CDC* pDC);
  // Moves the mark so that its drag point lies at point, kept inside the document.
  void MoveRectTo(CPoint point);
  CPoint PanPoint() const { return ToLogical(m_rcVisible.TopLeft() + m_ptDragOffset); }
  void EndDrag();

  SECPanView* m_pPanView;
  CRect m_rcVisible{0, 0, 0, 0};
  CPoint m_ptDragOffset{0, 0};
  BOOL m_bDragging = FALSE;
  HCURSOR m_hDragCursor;
};

class SECPanView : public SECZoomView {
  DECLARE_DYNAMIC(SECPanView)

 public:
  SECPanView() = default;
  ~SECPanView() override;

  // Shows the overview window at rect (screen coordinates), making it when there is none.
  virtual SECOverviewWnd* ShowOverviewWnd(const CRect& rect);
  SECOverviewWnd* GetOverviewWnd() const { return m_pOverview; }
  // Scrolls the view by the distance from the last pan point to ptLogical (reversed unless
  // bDrag); FALSE when nothing moved.
  virtual BOOL PanView(CPoint ptLogical, BOOL bDrag = TRUE);
  // The extent a document takes in a window when it keeps its aspect ratio; empty for an empty
  // document or window.
  static CSize FitExtent(CSize sizeDoc, CSize sizeWindow);

  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

  // 1: the view follows the mark while it is dragged; 0: only when it is dropped.
  BOOL m_bLivePan = TRUE;
  CPoint m_ptLastPan{0, 0};

 protected:
  friend class SECOverviewWnd;
  // The view's zoom set to fit the overview's client size, and put back.
  void EnterOverviewFit(CSize sizeOverview);
  void LeaveOverviewFit();
  void DrawOverview(CDC* pDC, CSize sizeOverview);
  void UpdateOverviewRect();
  void OnOverviewClosed() { m_pOverview = nullptr; }

  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  SECOverviewWnd* m_pOverview = nullptr;
  BOOL m_bInOverviewFit = FALSE;
  CSize m_sizeSavedViewport{0, 0};
  float m_fSavedScale = 1.0f;
  int m_nSavedMode = SEC_ZOOMOFF;
};

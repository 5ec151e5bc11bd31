// CRectTracker: a rectangle shown with a solid, dotted or hatched border and resize handles, moved
// and sized with the mouse in a local capture loop, and the rubber band that draws a new one.
#pragma once

#include <utility>
#include <vector>

#include "afx/CWnd.h"

class CRectTracker {
 public:
  enum StyleFlags {
    solidLine = 1,
    dottedLine = 2,
    hatchedBorder = 4,
    resizeInside = 8,
    resizeOutside = 16,
    hatchInside = 32,
  };
  // Hit codes; the handles are numbered clockwise from the top-left corner, then the edges.
  enum TrackerHit {
    hitNothing = -1,
    hitTopLeft = 0,
    hitTopRight = 1,
    hitBottomRight = 2,
    hitBottomLeft = 3,
    hitTop = 4,
    hitRight = 5,
    hitBottom = 6,
    hitLeft = 7,
    hitMiddle = 8,
  };

  CRectTracker() { Construct(); }
  CRectTracker(LPCRECT lpSrcRect, UINT nStyle);
  virtual ~CRectTracker() = default;

  void Draw(CDC* pDC) const;
  // The rectangle with its border and outside handles.
  void GetTrueRect(LPRECT lpTrueRect) const;
  // Sets the cursor of the part under the mouse; FALSE when the mouse is not over the tracker.
  BOOL SetCursor(CWnd* pWnd, UINT nHitTest) const;
  // Moves or sizes m_rect with the mouse from `point` (client coordinates of pWnd) until the
  // button is released (TRUE when the rectangle changed) or Escape or the other button cancels.
  BOOL Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert = FALSE, CWnd* pWndClipTo = nullptr);
  // Draws a new rectangle from `point`; TRUE when the mouse moved and the rectangle is not empty.
  BOOL TrackRubberBand(CWnd* pWnd, CPoint point, BOOL bAllowInvert = TRUE);
  int HitTest(CPoint point) const;
  // The handle that a hit code means once the rectangle is inverted (right above left).
  int NormalizeHit(int nHandle) const;

  virtual void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd);
  // Keeps the rectangle being tracked to the rules (m_sizeMin); called on every mouse move.
  virtual void AdjustRect(int nHandle, LPRECT lpRect);
  virtual void OnChangedRect(const CRect& rectOld);
  // Which of the eight handles show (bit n for handle n): corners only when the sides are short.
  virtual UINT GetHandleMask() const;
  virtual int GetHandleSize(LPCRECT lpRect = nullptr) const;

  UINT m_nStyle = 0;
  CRect m_rect;
  CSize m_sizeMin;
  int m_nHandleSize = 0;

 protected:
  void Construct();
  int HitTestHandles(CPoint point) const;
  void GetHandleRect(int nHandle, CRect* pHandleRect) const;
  // The handles shown (GetHandleMask) with their rectangles; none without a resize style.
  std::vector<std::pair<int, CRect>> VisibleHandles() const;
  BOOL TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo);

  BOOL m_bAllowInvert = FALSE;
  CRect m_rectLast;
  CSize m_sizeLast;
  BOOL m_bErase = FALSE;
  BOOL m_bFinalErase = FALSE;
};

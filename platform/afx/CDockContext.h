// CDockContext: a bar's drag and resize state. Dragging shows the bar's outline on the screen
// overlay (thin where it would dock, thick and dithered where it would float); Ctrl forces a
// float, Shift flips the orientation, Escape or a right click cancels.
#pragma once

#include "afx/CControlBar.h"

class CDockContext {
 public:
  explicit CDockContext(CControlBar* pBar);
  virtual ~CDockContext();

  // A drag from screen point pt: runs until the button is released or the drag cancelled.
  virtual void StartDrag(CPoint pt);
  // The four outlines of a drag from pt: from the bar's own sizes when it sizes itself
  // (CBRS_SIZE_DYNAMIC or CBRS_SIZE_FIXED), else from its window turned about the point.
  void InitDragRects(CPoint pt, BOOL bSizesItself);
  virtual void Move(CPoint pt);
  virtual void EndDrag();
  void OnKey(int nChar, BOOL bDown);
  // A resize of the floating frame's edge nHitTest (HTLEFT...HTBOTTOM) from pt.
  virtual void StartResize(int nHitTest, CPoint pt);
  virtual void Stretch(CPoint pt);
  virtual void EndResize();
  // Docks a floating bar where it was last docked, floats a docked one where it last floated.
  virtual void ToggleDocking();

  void InitLoop();
  void CancelLoop();
  // The loop: TRUE when the drag or resize ended with the button released.
  BOOL Track();
  virtual void DrawFocusRect(BOOL bRemoveRect = FALSE);
  // Moves the outline from the last one drawn to rect (size: its line widths, 0 removes it).
  void DrawOutline(const CRect& rect, CSize size, BOOL bDither);
  // The dock alignment (CBRS_ALIGN_*) the drag rectangles are over now, 0 to float.
  virtual DWORD CanDock();
  CDockBar* GetDockBar(DWORD dwOverDockStyle);

  CPoint m_ptLast;
  CRect m_rectLast;
  CSize m_sizeLast;
  BOOL m_bDitherLast = FALSE;
  // The outlines of the bar docked horizontally and vertically, and of its floating frame.
  CRect m_rectDragHorz;
  CRect m_rectDragVert;
  CRect m_rectFrameDragHorz;
  CRect m_rectFrameDragVert;

  CControlBar* m_pBar;
  CFrameWnd* m_pDockSite;
  DWORD m_dwDockStyle = 0;      // where the bar may dock
  DWORD m_dwOverDockStyle = 0;  // where it would dock now
  DWORD m_dwStyle = 0;          // the bar's alignment when the drag began
  BOOL m_bFlip = FALSE;         // Shift held: the other orientation
  BOOL m_bForceFrame = FALSE;   // Ctrl held: float
  CDC* m_pDC = nullptr;         // the desktop DC the outline goes to
  BOOL m_bDragging = FALSE;     // dragging, not resizing
  int m_nHitTest = 0;

  // Where the bar was last docked (dock bar id, rectangle in its client) and floated.
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle = 0;
  CPoint m_ptMRUFloatPos{-1, -1};

  // Resize state: the size asked for, the size the bar gives, its frame, and the frame's borders.
  CRect m_rectRequestedSize;
  CRect m_rectActualSize;
  CRect m_rectActualFrameSize;
  CRect m_rectFrameBorders;
};

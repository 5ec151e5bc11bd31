// SECDockContext: dragging a toolkit bar with an outline of where it lands (the dock bar's drop
// rectangle over a row), the docking decision, resizing a floating bar in both dimensions,
// toggling docked and floating with the row share kept, and floating inside the main window.
#pragma once

#include "afx/afx.h"
#include "bars/SECBarStyles.h"

class SECDockContext : public CDockContext {
 public:
  explicit SECDockContext(CControlBar* pBar);
  ~SECDockContext() override;

  void StartDrag(CPoint pt) override;
  void StartResize(int nHitTest, CPoint pt) override;
  void ToggleDocking() override;
  // Into a window inside the main window, or back where the bar was before.
  virtual void ToggleFloatInMainWindow();

  void EndDrag() override;
  DWORD CanDock() override;
  void DrawFocusRect(BOOL bRemoveRect = FALSE) override;
  void Stretch(CPoint pt) override;
  void EndResize() override;

  // Sum of the horizontal and vertical distance the mouse moved since the drag began.
  int DistanceMoved() const;
  // The drag's orientation after Shift.
  BOOL IsHorzAfterFlip() const;

  CRect m_rectDrop;          // the outline the dock bar computed
  CPoint m_ptDragStart;
  int m_nDropData[2] = {-1, 0};  // the row under the point, the dock bar's id
  int m_nDropPos = -1;           // -1 while not over a toolkit dock bar
  CPoint m_ptDropLast;           // the point the outline was computed at
  BOOL m_bPrevFloating = FALSE;  // floated before it went into the main window
  CSize m_sizeMinFloat;
  CSize m_sizeMaxFloat;

  // A floating bar must move this far (sum of both directions) before it docks.
  static constexpr int kDockThreshold = 5;
};

// The bar style a floating frame for this bar is made with: CBRS_SIZE_DYNAMIC added for a bar
// that sizes itself (a dynamically sized bar, or a toolkit bar sized in both dimensions), so
// that the frame's edges size the bar rather than move the frame.
DWORD SECFloatingFrameStyle(CControlBar* pBar, DWORD dwStyle);

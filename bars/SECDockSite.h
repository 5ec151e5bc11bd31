// What a toolkit frame offers the bars beyond the framework's frame: its own docking, re-docking
// and floating operations, floating inside the main window, the control-bar manager and the list
// of bars a restored layout created. Frames that implement it are used through it; any other
// frame is served by the framework's operations.
#pragma once

#include "afx/afx.h"

class SECControlBarManager;

class SECDockSite {
 public:
  virtual ~SECDockSite() = default;
  virtual void SECDockBarAt(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) = 0;
  virtual void SECReDockBarAt(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) = 0;
  virtual void SECFloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle) = 0;
  // Floats pBar in a window inside the main window (an MDI child); FALSE when the frame has none.
  virtual BOOL SECFloatBarInMainWindow(CControlBar* pBar, CPoint point, DWORD dwStyle) = 0;
  virtual SECControlBarManager* SECGetControlBarManager() = 0;
  // The frame's list of bars created while a layout was restored (the frame deletes them).
  virtual CPtrList* SECGetCreatedBars() = 0;
  // Set while the frame moves a bar into or out of the main window.
  virtual void SECSetBusy(BOOL bBusy) = 0;
  // For a restored layout: an empty window inside the main window lying as dwStyle says
  // (CBRS_ALIGN_TOP or CBRS_ALIGN_LEFT), its dock bar returned; null when the frame has none (the
  // bars then float in an ordinary floating frame).
  virtual CDockBar* SECCreateMainWindowFloat(DWORD /*dwStyle*/) { return nullptr; }
};

// The frame's toolkit operations, or null for a plain framework frame.
inline SECDockSite* SECGetDockSite(CWnd* pFrame) { return dynamic_cast<SECDockSite*>(pFrame); }

// The frame's docking, re-docking and floating, through its toolkit operations when it has them.
void SECSiteDock(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
void SECSiteReDock(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
void SECSiteFloat(CFrameWnd* pFrame, CControlBar* pBar, CPoint point, DWORD dwStyle);

// The default non-client layout of a window (frame, caption and its buttons, menu bar, client
// edge, window scroll bars) from its styles, shared by WM_NCCALCSIZE, WM_NCHITTEST, painting and
// AdjustWindowRectEx.
#pragma once

#include "win/WinUser.h"

namespace brambolt::wm {

struct Window;

// Widths of the non-client area on each side of the client area. Scroll bars count only when a
// window is given (AdjustWindowRectEx leaves them out, as on Windows).
RECT NonClientBorders(DWORD style, DWORD exStyle, bool menu, const Window* w);

// Rectangles in window coordinates (origin at the window's top-left corner); empty when absent.
struct NonClientLayout {
  RECT window{};
  int frame = 0;  // outer frame thickness (sizing, dialog or thin border)
  bool sizing = false;
  RECT caption{};
  RECT sysMenu{};
  RECT closeButton{};
  RECT maxButton{};
  RECT minButton{};
  RECT helpButton{};
  RECT menuBar{};
  RECT clientEdge{};  // the client area with its 3-D edge
  RECT vscroll{};
  RECT hscroll{};
  RECT sizeBox{};
  RECT client{};
};

NonClientLayout LayoutOf(const Window& w);
// Default hit-test code of a point in window coordinates.
LRESULT HitTest(const Window& w, POINT windowPoint);

// The work area: the whole screen (there is no task bar) unless a program set a smaller one.
void GetWorkArea(RECT* rect);

}  // namespace brambolt::wm

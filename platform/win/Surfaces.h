// The pixels of windows: one surface per top-level window (its children are parts of it), the
// screen overlay that desktop drawing goes to, and the composed screen.
#pragma once

#include "gdi/Surface.h"
#include "win/WinUser.h"

namespace brambolt {

// The surface of a top-level window (window coordinates: its top-left pixel is the window's
// top-left corner); null for a child window or a dead handle.
SurfacePtr GetWindowSurface(HWND topLevel);
// What desktop drawing (GetDC(NULL), DCX_LOCKWINDOWUPDATE) changed, as an XOR mask over the screen:
// black where nothing was drawn, so XOR-drawing the same figure twice clears it.
SurfacePtr GetScreenOverlay();
// The screen as a person would see it: the desktop, the visible top-level windows bottom to top,
// and the overlay over all of them.
void ComposeScreen(Surface& out);

namespace wm {
// Follows a top-level window's size (contents kept at the top-left).
void ResizeSurface(HWND topLevel);
// Shows what was drawn on the desktop through a DC that is still held (a drag's outline, drawn
// between the loop's messages until the drag ends), not only once the DC is released.
void ShowHeldDesktopDrawing();
}  // namespace wm

}  // namespace brambolt

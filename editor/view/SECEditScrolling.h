// What the editor's windows share about scrolling: the change of a scroll position for each
// scroll-bar code, and the repaint of only the strip a resize uncovered or removed.
#pragma once

#include "afx/CWnd.h"

namespace kelpwood::editor {

// The change of the first visible unit for a WM_VSCROLL/WM_HSCROLL code: pos is the first
// visible unit, last the greatest it may be, page the units visible, thumb the thumb's position.
int ScrollDelta(UINT code, int pos, int last, int page, int thumb);

// After a resize: invalidates (with erasing) only what lies in exactly one of the last and the
// new client rectangle when their top-left corners agree, else the whole client area; then
// updates the window. `last` holds the client rectangle in screen coordinates and is updated.
void RepaintResized(CWnd* wnd, CRect* last);

// The 32-bit position a scroll message means: the tracking position for SB_THUMBTRACK.
int ScrollMessagePosition(CWnd* wnd, int bar, UINT code);

}  // namespace kelpwood::editor

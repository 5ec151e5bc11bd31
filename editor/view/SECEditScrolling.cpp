// Scroll arithmetic and resize repainting shared by the editor view and the editor control.
#include "editor/view/SECEditScrolling.h"

#include "afx/GdiObjects.h"

namespace kelpwood::editor {

int ScrollDelta(UINT code, int pos, int last, int page, int thumb) {
  switch (code) {
    case SB_LINEUP: return pos > 0 ? -1 : 0;
    case SB_LINEDOWN: return pos < last ? 1 : 0;
    case SB_PAGEUP: return pos > 0 ? -std::min(page, pos) : 0;
    case SB_PAGEDOWN: return pos < last ? std::min(page, last - pos) : 0;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return std::clamp(thumb, 0, std::max(0, last)) - pos;
    default: return 0;
  }
}

void RepaintResized(CWnd* wnd, CRect* last) {
  wnd->ValidateRect(nullptr);
  CRect now;
  wnd->GetClientRect(&now);
  CRect before = *last;
  wnd->ScreenToClient(&before);
  if (before.TopLeft() == now.TopLeft()) {
    CRgn a, b, diff;
    if (a.CreateRectRgnIndirect(&before) && b.CreateRectRgnIndirect(&now) && diff.CreateRectRgn(0, 0, 0, 0) &&
        diff.CombineRgn(&a, &b, RGN_XOR) != ERROR)
      wnd->InvalidateRgn(&diff, TRUE);
    else
      wnd->Invalidate(TRUE);
  } else {
    wnd->Invalidate(TRUE);
  }
  wnd->UpdateWindow();
  *last = now;
  wnd->ClientToScreen(last);
}

int ScrollMessagePosition(CWnd* wnd, int bar, UINT code) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS | SIF_TRACKPOS;
  if (!wnd->GetScrollInfo(bar, &info, info.fMask)) return 0;
  return code == SB_THUMBTRACK ? info.nTrackPos : info.nPos;
}

}  // namespace kelpwood::editor

// Window scroll bars (WS_HSCROLL/WS_VSCROLL): their ranges and positions, showing and hiding with
// the range, painting, and the mouse tracking loop with auto-repeat and thumb tracking.
#include <algorithm>

#include "gdi/ClassicLook.h"
#include "gdi/Draw.h"
#include "gdi/SysColors.h"
#include "win/Internal.h"
#include "win/NonClient.h"
#include "win/DialogControls.h"
#include "win/ScrollBarGeometry.h"
#include "win/Timers.h"
#include "win/WindowManager.h"


namespace brambolt::wm {

ScrollBarParts ScrollBarLayout(const RECT& r, bool vertical, int min, int max, UINT page, int pos) {
  ScrollBarParts p;
  p.bar = r;
  int length = vertical ? r.bottom - r.top : r.right - r.left;
  int thickness = vertical ? r.right - r.left : r.bottom - r.top;
  int arrow = std::min(thickness, length / 2);
  int start = vertical ? r.top : r.left;
  p.arrowLow = vertical ? RECT{r.left, start, r.right, start + arrow}
                        : RECT{start, r.top, start + arrow, r.bottom};
  p.arrowHigh = vertical ? RECT{r.left, start + length - arrow, r.right, start + length}
                         : RECT{start + length - arrow, r.top, start + length, r.bottom};
  int shaftStart = start + arrow, shaftLength = std::max(0, length - 2 * arrow);
  int range = max - min;
  int span = range - std::max<int>(static_cast<int>(page) - 1, 0);
  int thumb = 0;
  if (range > 0 && span > 0 && shaftLength > 0) {
    thumb = page ? std::max(8, static_cast<int>(static_cast<long long>(shaftLength) * page / (range + 1)))
                 : std::min(thickness, shaftLength);
    if (thumb > shaftLength) thumb = 0;
  }
  p.shaftStart = shaftStart;
  p.shaftLength = shaftLength;
  p.thumbLength = thumb;
  if (thumb > 0) {
    int offset = static_cast<int>(static_cast<long long>(std::clamp(pos - min, 0, span)) *
                                  (shaftLength - thumb) / span);
    int t0 = shaftStart + offset;
    p.thumb = vertical ? RECT{r.left, t0, r.right, t0 + thumb} : RECT{t0, r.top, t0 + thumb, r.bottom};
    p.pageLow = vertical ? RECT{r.left, shaftStart, r.right, t0} : RECT{shaftStart, r.top, t0, r.bottom};
    p.pageHigh = vertical ? RECT{r.left, t0 + thumb, r.right, shaftStart + shaftLength}
                          : RECT{t0 + thumb, r.top, shaftStart + shaftLength, r.bottom};
  }
  return p;
}

int ScrollBarPosFromPoint(const ScrollBarParts& p, bool vertical, int min, int max, UINT page,
                          int grabOffset, POINT pt) {
  int span = max - min - std::max<int>(static_cast<int>(page) - 1, 0);
  int travel = p.shaftLength - p.thumbLength;
  if (travel <= 0 || span <= 0) return min;
  int at = (vertical ? pt.y : pt.x) - grabOffset - p.shaftStart;
  at = std::clamp(at, 0, travel);
  return min + static_cast<int>((static_cast<long long>(at) * span + travel / 2) / travel);
}

namespace {

ScrollBar* BarOf(Window& w, int bar) { return bar == SB_VERT ? &w.vscroll : &w.hscroll; }

bool Needed(const ScrollBar& s) {
  int range = s.max - s.min;
  if (range <= 0) return false;
  return s.page == 0 || static_cast<int>(s.page) <= range;
}

void ClampPos(ScrollBar& s) {
  int top = s.max - std::max<int>(static_cast<int>(s.page) - 1, 0);
  s.pos = std::clamp(s.pos, s.min, std::max(s.min, top));
}

void RedrawBars(HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN | RDW_NOERASE);
}

// Shows or hides a window scroll bar by its style bit; true when the frame changed.
bool SetShown(HWND hwnd, int bar, bool show) {
  DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return false;
    BarOf(*w, bar)->shown = show;
    if (((w->style & bit) != 0) == show) return false;
    if (show)
      w->style |= bit;
    else
      w->style &= ~bit;
  }
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

struct Tracking {
  HWND hwnd = nullptr;
  int bar = SB_VERT;
  int part = 0;  // SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN or SB_THUMBTRACK
  bool over = true;
  bool repeating = false;
  POINT mouse{};
};

thread_local Tracking t_tracking;

int PartAt(const ScrollBarParts& p, POINT pt) {
  if (Contains(p.arrowLow, pt)) return SB_LINEUP;
  if (Contains(p.arrowHigh, pt)) return SB_LINEDOWN;
  if (Contains(p.thumb, pt)) return SB_THUMBTRACK;
  if (Contains(p.pageLow, pt)) return SB_PAGEUP;
  if (Contains(p.pageHigh, pt)) return SB_PAGEDOWN;
  return -1;
}

bool PartsOf(HWND hwnd, int bar, ScrollBarParts& parts, ScrollBar& info, POINT& windowOrigin) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr) return false;
  NonClientLayout l = LayoutOf(*w);
  RECT r = bar == SB_VERT ? l.vscroll : l.hscroll;
  info = *BarOf(*w, bar);
  parts = ScrollBarLayout(r, bar == SB_VERT, info.min, info.max, info.page, info.pos);
  RECT screen = ScreenRect(*w, false);
  windowOrigin = POINT{screen.left, screen.top};
  return true;
}

void SendScroll(HWND hwnd, int bar, int code, int pos) {
  SendMessage(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
              MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
}

void CALLBACK RepeatTimer(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  Tracking& t = t_tracking;
  if (t.hwnd != hwnd) {
    KillSystemTimer(hwnd, id);
    return;
  }
  if (!t.repeating) {
    t.repeating = true;
    SetSystemTimer(hwnd, id, 50, RepeatTimer);
  }
  ScrollBarParts parts;
  ScrollBar info;
  POINT origin;
  if (!PartsOf(hwnd, t.bar, parts, info, origin)) return;
  POINT local{t.mouse.x - origin.x, t.mouse.y - origin.y};
  // A page repeat stops once the thumb reaches the pointer.
  if (PartAt(parts, local) == t.part) SendScroll(hwnd, t.bar, t.part, 0);
}

}  // namespace

void PaintWindowScrollBars(HWND hwnd, HDC hdc) {
  for (int bar : {SB_VERT, SB_HORZ}) {
    ScrollBarParts parts;
    ScrollBar info;
    POINT origin;
    if (!PartsOf(hwnd, bar, parts, info, origin)) return;
    if (parts.bar.right <= parts.bar.left || parts.bar.bottom <= parts.bar.top) continue;
    bool vertical = bar == SB_VERT;
    bool tracking = t_tracking.hwnd == hwnd && t_tracking.bar == bar;
    UINT disabledLow = (info.disabled & ESB_DISABLE_LTUP) || !Needed(info) ? DFCS_INACTIVE : 0;
    UINT disabledHigh = (info.disabled & ESB_DISABLE_RTDN) || !Needed(info) ? DFCS_INACTIVE : 0;
    UINT pushLow = tracking && t_tracking.part == SB_LINEUP && t_tracking.over ? DFCS_PUSHED | DFCS_FLAT : 0;
    UINT pushHigh = tracking && t_tracking.part == SB_LINEDOWN && t_tracking.over ? DFCS_PUSHED | DFCS_FLAT : 0;
    RECT low = parts.arrowLow, high = parts.arrowHigh;
    DrawFrameControl(hdc, &low, DFC_SCROLL,
                     (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | disabledLow | pushLow);
    DrawFrameControl(hdc, &high, DFC_SCROLL,
                     (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | disabledHigh | pushHigh);
    RECT shaft = vertical ? RECT{parts.bar.left, parts.arrowLow.bottom, parts.bar.right, parts.arrowHigh.top}
                          : RECT{parts.arrowLow.right, parts.bar.top, parts.arrowHigh.left, parts.bar.bottom};
    FillScrollShaft(hdc, shaft);
    if (parts.thumbLength > 0 && Needed(info) && info.disabled != ESB_DISABLE_BOTH) {
      RECT thumb = parts.thumb;
      FillRect(hdc, &thumb, GetSysColorBrush(COLOR_3DFACE));
      DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT);
    }
  }
  Guard g(Lock());
  Window* w = Get(hwnd);
  if (w == nullptr) return;
  NonClientLayout l = LayoutOf(*w);
  if (l.sizeBox.right > l.sizeBox.left) FillRect(hdc, &l.sizeBox, GetSysColorBrush(COLOR_3DFACE));
}

void ScrollBarLoop(HWND hwnd, int bar, POINT start) {
  ScrollBarParts parts;
  ScrollBar info;
  POINT origin;
  if (!PartsOf(hwnd, bar, parts, info, origin)) return;
  if (info.disabled == ESB_DISABLE_BOTH || !Needed(info)) return;
  POINT local{start.x - origin.x, start.y - origin.y};
  int part = PartAt(parts, local);
  if (part < 0) return;
  if ((part == SB_LINEUP && (info.disabled & ESB_DISABLE_LTUP)) ||
      (part == SB_LINEDOWN && (info.disabled & ESB_DISABLE_RTDN)))
    return;
  bool vertical = bar == SB_VERT;
  Tracking saved = t_tracking;
  t_tracking = Tracking{hwnd, bar, part, true, false, start};
  int grab = vertical ? local.y - parts.thumb.top : local.x - parts.thumb.left;
  int trackPos = info.pos;
  auto setTracking = [&](bool on, int pos) {
    Guard g(Lock());
    if (Window* w = Get(hwnd)) {
      BarOf(*w, bar)->tracking = on;
      BarOf(*w, bar)->trackPos = pos;
    }
  };
  if (part == SB_THUMBTRACK) {
    setTracking(true, trackPos);
  } else {
    SendScroll(hwnd, bar, part, 0);
    SetSystemTimer(hwnd, 0xFFFB, 300, RepeatTimer);
  }
  RedrawBars(hwnd);
  TrackLoop(hwnd, [&](MSG& msg) {
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      t_tracking.mouse = msg.pt;
      ScrollBarParts now;
      ScrollBar current;
      POINT o;
      if (!PartsOf(hwnd, bar, now, current, o)) return false;
      POINT p{msg.pt.x - o.x, msg.pt.y - o.y};
      if (part == SB_THUMBTRACK) {
        // Far from the bar the thumb goes back where it started, as on Windows.
        RECT near = now.bar;
        InflateRect(&near, vertical ? 180 : 60, vertical ? 60 : 180);
        int pos = Contains(near, p) ? ScrollBarPosFromPoint(now, vertical, current.min, current.max,
                                                            current.page, grab, p)
                                    : info.pos;
        if (pos != trackPos || msg.message == WM_LBUTTONUP) {
          trackPos = pos;
          setTracking(true, pos);
          if (msg.message == WM_MOUSEMOVE) SendScroll(hwnd, bar, SB_THUMBTRACK, pos);
        }
      } else {
        bool over = PartAt(now, p) == part;
        if (over != t_tracking.over) {
          t_tracking.over = over;
          RedrawBars(hwnd);
        }
      }
      return msg.message != WM_LBUTTONUP;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return false;
    if (!(msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) &&
        !(msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST))
      DispatchMessage(&msg);
    return true;
  });
  KillSystemTimer(hwnd, 0xFFFB);
  t_tracking = saved;
  if (!IsWindow(hwnd)) return;
  if (part == SB_THUMBTRACK) {
    SendScroll(hwnd, bar, SB_THUMBPOSITION, trackPos);
    setTracking(false, trackPos);
  }
  SendScroll(hwnd, bar, SB_ENDSCROLL, 0);
  RedrawBars(hwnd);
}

}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt::wm;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (bar == SB_CTL)
    return static_cast<int>(SendMessage(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
  if (info == nullptr || (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - 4) ||
      (bar != SB_HORZ && bar != SB_VERT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  bool needed, wasShown;
  int pos;
  {
    Guard g(Lock());
    Window* w = Checked(hwnd);
    if (w == nullptr) return 0;
    ScrollBar& s = *BarOf(*w, bar);
    if (info->fMask & SIF_RANGE) {
      s.min = info->nMin;
      s.max = std::max(info->nMax, info->nMin);
    }
    if (info->fMask & SIF_PAGE)
      s.page = std::min<UINT>(info->nPage, static_cast<UINT>(s.max - s.min + 1));
    if (info->fMask & SIF_POS) s.pos = info->nPos;
    if (info->fMask & (SIF_RANGE | SIF_PAGE | SIF_POS)) ClampPos(s);
    needed = Needed(s);
    wasShown = (w->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
    pos = s.pos;
    if (info->fMask & SIF_DISABLENOSCROLL) {
      s.disabled = needed ? (s.disabled == ESB_DISABLE_BOTH ? ESB_ENABLE_BOTH : s.disabled)
                          : ESB_DISABLE_BOTH;
    }
  }
  bool frameChanged = false;
  if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
    if (info->fMask & SIF_DISABLENOSCROLL)
      frameChanged = wasShown ? false : SetShown(hwnd, bar, true);
    else if (needed != wasShown)
      frameChanged = SetShown(hwnd, bar, needed);
  }
  if (redraw && !frameChanged) RedrawBars(hwnd);
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  if (bar == SB_CTL)
    return static_cast<BOOL>(SendMessage(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
  if (info == nullptr || (bar != SB_HORZ && bar != SB_VERT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Nothing asked for is nothing retrieved, which the function reports as failure.
  if (!(info->fMask & (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS))) return FALSE;
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return FALSE;
  const ScrollBar& s = *BarOf(*w, bar);
  if (info->fMask & SIF_RANGE) {
    info->nMin = s.min;
    info->nMax = s.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s.page;
  if (info->fMask & SIF_POS) info->nPos = s.pos;
  if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO))
    info->nTrackPos = s.tracking ? s.trackPos : s.pos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  int old = GetScrollPos(hwnd, bar);
  if (bar == SB_CTL) {
    // The control answers 0 for a position that stays; the function answers the previous one.
    SendMessage(hwnd, SBM_SETPOS, pos, redraw);
    return old;
  }
  SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  if (bar == SB_CTL) return static_cast<int>(SendMessage(hwnd, SBM_GETPOS, 0, 0));
  SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, 0, 0};
  return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  if (static_cast<long long>(maxPos) - minPos > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
    return FALSE;
  }
  if (bar == SB_CTL) {
    SendMessage(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, minPos, maxPos);
    return TRUE;
  }
  SCROLLINFO si{sizeof(si), SIF_RANGE, minPos, maxPos, 0, 0, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  if (minPos == nullptr || maxPos == nullptr) return FALSE;
  if (bar == SB_CTL) {
    SendMessage(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
    return TRUE;
  }
  SCROLLINFO si{sizeof(si), SIF_RANGE, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(hwnd, bar, &si)) return FALSE;
  *minPos = si.nMin;
  *maxPos = si.nMax;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (bar == SB_CTL) {
    ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  if (bar == SB_VERT || bar == SB_BOTH) SetShown(hwnd, SB_VERT, show != FALSE);
  if (bar == SB_HORZ || bar == SB_BOTH) SetShown(hwnd, SB_HORZ, show != FALSE);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  if (bar == SB_CTL) return static_cast<BOOL>(SendMessage(hwnd, SBM_ENABLE_ARROWS, arrows, 0));
  bool changed = false;
  {
    Guard g(Lock());
    Window* w = Checked(hwnd);
    if (w == nullptr) return FALSE;
    for (int b : {SB_HORZ, SB_VERT}) {
      if (bar != SB_BOTH && static_cast<int>(bar) != b) continue;
      ScrollBar& s = *BarOf(*w, b);
      changed |= s.disabled != arrows;
      s.disabled = arrows;
    }
  }
  if (changed) RedrawBars(hwnd);
  return changed ? TRUE : FALSE;
}

// The "ScrollBar" class: horizontal and vertical bars (SB_CTL) with range, page and position,
// arrows and page areas that repeat while held (on the thread's timers), thumb tracking, the
// keyboard, size boxes; the parent gets WM_HSCROLL / WM_VSCROLL with the bar as lParam.
#include <algorithm>

#include "controls/Controls.h"
#include "controls/ControlSupport.h"
#include "win/ScrollBarGeometry.h"

namespace brambolt::ctl {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatDelay = 400;
constexpr UINT kRepeatDelay = 50;

class ScrollBarState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  bool Vertical() const { return (style_ & SBS_VERT) != 0; }
  bool SizeBox() const { return (style_ & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0; }
  int MaxPos() const { return std::max(min_, max_ - std::max(0, static_cast<int>(page_) - 1)); }
  // Whether the range leaves anything to scroll past the page.
  bool Scrolls() const { return max_ > min_ && (page_ == 0 || static_cast<int>(page_) <= max_ - min_); }
  wm::ScrollBarParts Parts() const;
  int PartAt(POINT p) const;
  void Send(int code, int pos = 0);
  int SetPos(int pos, bool redraw);
  LRESULT SetInfo(const SCROLLINFO& si, bool redraw);
  void Paint(HDC hdc);
  void Redraw() { InvalidateRect(hwnd_, nullptr, TRUE); }

  HWND hwnd_ = nullptr;
  DWORD style_ = 0;
  int min_ = 0, max_ = 0, pos_ = 0, trackPos_ = 0;
  UINT page_ = 0;
  UINT disabledArrows_ = ESB_ENABLE_BOTH;
  int trackingPart_ = -1;  // SB_LINEUP ... SB_THUMBTRACK while the button is held
  bool over_ = false;
  int grab_ = 0;
  POINT mouse_{};
};

wm::ScrollBarParts ScrollBarState::Parts() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  int shown = trackingPart_ == SB_THUMBTRACK ? trackPos_ : pos_;
  return wm::ScrollBarLayout(r, Vertical(), min_, max_, page_, shown);
}

int ScrollBarState::PartAt(POINT p) const {
  wm::ScrollBarParts parts = Parts();
  if (PtInRect(&parts.arrowLow, p)) return SB_LINEUP;
  if (PtInRect(&parts.arrowHigh, p)) return SB_LINEDOWN;
  if (parts.thumbLength > 0 && PtInRect(&parts.thumb, p)) return SB_THUMBTRACK;
  if (PtInRect(&parts.pageLow, p)) return SB_PAGEUP;
  if (PtInRect(&parts.pageHigh, p)) return SB_PAGEDOWN;
  return -1;
}

void ScrollBarState::Send(int code, int pos) {
  HWND parent = ParentOf(hwnd_);
  if (parent == nullptr) return;
  SendMessage(parent, Vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
              reinterpret_cast<LPARAM>(hwnd_));
}

// SBM_SETPOS, SBM_SETRANGE and SBM_SETRANGEREDRAW answer the previous position when the position
// moved, 0 when it stayed.
int ScrollBarState::SetPos(int pos, bool redraw) {
  int old = pos_;
  pos_ = std::clamp(pos, min_, MaxPos());
  if (old == pos_) return 0;
  if (redraw) Redraw();
  return old;
}

LRESULT ScrollBarState::SetInfo(const SCROLLINFO& si, bool redraw) {
  if (si.fMask & SIF_RANGE) {
    min_ = si.nMin;
    max_ = std::max(si.nMin, si.nMax);
  }
  if (si.fMask & SIF_PAGE) page_ = std::min<UINT>(si.nPage, static_cast<UINT>(max_ - min_ + 1));
  if (si.fMask & SIF_POS) pos_ = si.nPos;
  pos_ = std::clamp(pos_, min_, MaxPos());
  if (redraw) Redraw();
  return pos_;
}

void ScrollBarState::Paint(HDC hdc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (SizeBox()) {
    FillRect(hdc, &client, GetSysColorBrush(COLOR_3DFACE));
    if (style_ & SBS_SIZEGRIP) DrawFrameControl(hdc, &client, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    return;
  }
  wm::ScrollBarParts parts = Parts();
  bool enabled = Enabled(hwnd_);
  const bool scrolls = Scrolls();
  UINT low = (!enabled || !scrolls || (disabledArrows_ & ESB_DISABLE_LTUP)) ? DFCS_INACTIVE : 0;
  UINT high = (!enabled || !scrolls || (disabledArrows_ & ESB_DISABLE_RTDN)) ? DFCS_INACTIVE : 0;
  if (trackingPart_ == SB_LINEUP && over_) low |= DFCS_PUSHED | DFCS_FLAT;
  if (trackingPart_ == SB_LINEDOWN && over_) high |= DFCS_PUSHED | DFCS_FLAT;
  RECT a = parts.arrowLow, b = parts.arrowHigh;
  DrawFrameControl(hdc, &a, DFC_SCROLL, (Vertical() ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | low);
  DrawFrameControl(hdc, &b, DFC_SCROLL, (Vertical() ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | high);
  RECT shaft = Vertical() ? RECT{client.left, parts.arrowLow.bottom, client.right, parts.arrowHigh.top}
                          : RECT{parts.arrowLow.right, client.top, parts.arrowHigh.left, client.bottom};
  HBRUSH brush = ParentBrush(hwnd_, hdc, WM_CTLCOLORSCROLLBAR);
  if (brush && brush != GetSysColorBrush(COLOR_SCROLLBAR))
    FillRect(hdc, &shaft, brush);
  else
    FillScrollShaft(hdc, shaft);
  if (trackingPart_ == SB_PAGEUP && over_) InvertRect(hdc, &parts.pageLow);
  if (trackingPart_ == SB_PAGEDOWN && over_) InvertRect(hdc, &parts.pageHigh);
  if (enabled && scrolls && parts.thumbLength > 0 && disabledArrows_ != ESB_DISABLE_BOTH) {
    RECT thumb = parts.thumb;
    FillRect(hdc, &thumb, GetSysColorBrush(COLOR_3DFACE));
    DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT);
  }
}

LRESULT ScrollBarState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  hwnd_ = hwnd;
  style_ = StyleOf(hwnd);
  LRESULT painted;
  if (HandlePaint(hwnd, msg, wParam, [this](HDC hdc) { Paint(hdc); }, &painted)) return painted;
  switch (msg) {
    case WM_CREATE:
      // A scroll-bar control starts with an empty range (window scroll bars start at 0-100).
      min_ = max_ = pos_ = 0;
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_ENABLE:
      Redraw();
      return 0;
    case WM_NCHITTEST:
      if (style_ & SBS_SIZEGRIP) return HTBOTTOMRIGHT;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (SizeBox()) break;
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      int part = PartAt(p);
      if (part < 0) return 0;
      if ((style_ & WS_TABSTOP) && GetFocus() != hwnd) SetFocus(hwnd);
      // A disabled arrow takes no click; a bar with both disabled or nothing to scroll takes none.
      if (!Scrolls() || disabledArrows_ == ESB_DISABLE_BOTH) return 0;
      if ((part == SB_LINEUP && (disabledArrows_ & ESB_DISABLE_LTUP)) ||
          (part == SB_LINEDOWN && (disabledArrows_ & ESB_DISABLE_RTDN)))
        return 0;
      trackingPart_ = part;
      over_ = true;
      mouse_ = p;
      SetCapture(hwnd);
      if (part == SB_THUMBTRACK) {
        wm::ScrollBarParts parts = Parts();
        grab_ = Vertical() ? p.y - parts.thumb.top : p.x - parts.thumb.left;
        trackPos_ = pos_;
        Redraw();
        return 0;
      }
      Redraw();
      Send(part);
      SetTimer(hwnd, kRepeatTimer, kFirstRepeatDelay, nullptr);
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (trackingPart_ < 0 || GetCapture() != hwnd) return 0;
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      mouse_ = p;
      if (trackingPart_ == SB_THUMBTRACK) {
        RECT r;
        GetClientRect(hwnd, &r);
        wm::ScrollBarParts parts = wm::ScrollBarLayout(r, Vertical(), min_, max_, page_, trackPos_);
        int pos = wm::ScrollBarPosFromPoint(parts, Vertical(), min_, max_, page_, grab_, p);
        if (pos != trackPos_) {
          trackPos_ = pos;
          Redraw();
          Send(SB_THUMBTRACK, trackPos_);
        }
        return 0;
      }
      bool over = PartAt(p) == trackingPart_;
      if (over != over_) {
        over_ = over;
        Redraw();
      }
      return 0;
    }
    case WM_TIMER:
      if (wParam != kRepeatTimer) break;
      if (trackingPart_ < 0 || trackingPart_ == SB_THUMBTRACK) {
        KillTimer(hwnd, kRepeatTimer);
        return 0;
      }
      SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
      // A page repeat stops once the thumb reaches the pointer.
      if (PartAt(mouse_) == trackingPart_) Send(trackingPart_);
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: {
      if (trackingPart_ < 0) return 0;
      int part = trackingPart_;
      trackingPart_ = -1;
      KillTimer(hwnd, kRepeatTimer);
      if (msg == WM_LBUTTONUP && GetCapture() == hwnd) ReleaseCapture();
      if (part == SB_THUMBTRACK) Send(SB_THUMBPOSITION, trackPos_);
      Send(SB_ENDSCROLL);
      Redraw();
      return 0;
    }
    case WM_KEYDOWN: {
      int code = -1;
      switch (wParam) {
        case VK_UP:
        case VK_LEFT: code = SB_LINEUP; break;
        case VK_DOWN:
        case VK_RIGHT: code = SB_LINEDOWN; break;
        case VK_PRIOR: code = SB_PAGEUP; break;
        case VK_NEXT: code = SB_PAGEDOWN; break;
        case VK_HOME: code = SB_TOP; break;
        case VK_END: code = SB_BOTTOM; break;
      }
      if (code >= 0) {
        Send(code);
        Send(SB_ENDSCROLL);
      }
      return 0;
    }
    case SBM_SETPOS:
      return SetPos(static_cast<int>(wParam), lParam != 0);
    case SBM_GETPOS:
      return pos_;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
      min_ = static_cast<int>(wParam);
      max_ = std::max(min_, static_cast<int>(lParam));
      const int moved = SetPos(pos_, false);
      if (msg == SBM_SETRANGEREDRAW) Redraw();
      return moved;
    }
    case SBM_GETRANGE:
      if (wParam) *reinterpret_cast<LPINT>(wParam) = min_;
      if (lParam) *reinterpret_cast<LPINT>(lParam) = max_;
      return 0;
    case SBM_ENABLE_ARROWS:
      // Arrows already as asked change nothing, which the message reports as 0.
      if (disabledArrows_ == static_cast<UINT>(wParam)) return FALSE;
      disabledArrows_ = static_cast<UINT>(wParam);
      Redraw();
      return TRUE;
    case SBM_SETSCROLLINFO:
      if (lParam == 0) return pos_;
      return SetInfo(*reinterpret_cast<const SCROLLINFO*>(lParam), wParam != 0);
    case SBM_GETSCROLLINFO: {
      auto* si = reinterpret_cast<SCROLLINFO*>(lParam);
      if (si == nullptr || !(si->fMask & (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS))) return FALSE;
      if (si->fMask & SIF_RANGE) {
        si->nMin = min_;
        si->nMax = max_;
      }
      if (si->fMask & SIF_PAGE) si->nPage = page_;
      if (si->fMask & SIF_POS) si->nPos = pos_;
      if (si->fMask & SIF_TRACKPOS) si->nTrackPos = trackingPart_ == SB_THUMBTRACK ? trackPos_ : pos_;
      return TRUE;
    }
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterScrollBarClass() {
  RegisterControlClass(WC_SCROLLBAR, ControlProc<ScrollBarState>, CS_DBLCLKS, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl

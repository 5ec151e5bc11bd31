// The progress bar ("msctls_progress32"): a range, a position and a step, drawn as blocks or a
// smooth bar, horizontal or vertical.
#include <algorithm>

#include "controls/CommCtrl.h"
#include "controls/CommonControls.h"
#include "controls/ControlSupport.h"

namespace brambolt::ctl {
namespace {

class ProgressState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT SetRange(HWND hwnd, int low, int high);
  int SetPos(HWND hwnd, int pos);
  void Paint(HWND hwnd, HDC hdc);

  HFONT font_ = nullptr;
  int low_ = 0, high_ = 100, pos_ = 0, step_ = 10;
  COLORREF bar_ = CLR_DEFAULT, background_ = CLR_DEFAULT;
};

LRESULT ProgressState::SetRange(HWND hwnd, int low, int high) {
  LRESULT previous = MAKELONG(static_cast<WORD>(low_), static_cast<WORD>(high_));
  low_ = low;
  high_ = high;
  SetPos(hwnd, pos_);
  InvalidateRect(hwnd, nullptr, TRUE);
  return previous;
}

// The bar is repainted before the message returns: a job running on the user-interface thread
// moves the bar without giving the message loop a turn.
int ProgressState::SetPos(HWND hwnd, int pos) {
  int previous = pos_;
  pos_ = low_ <= high_ ? std::clamp(pos, low_, high_) : low_;
  if (pos_ != previous) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
  }
  return previous;
}

void ProgressState::Paint(HWND hwnd, HDC hdc) {
  RECT r;
  GetClientRect(hwnd, &r);
  HBRUSH back = background_ == CLR_DEFAULT ? GetSysColorBrush(COLOR_3DFACE) : CreateSolidBrush(background_);
  FillRect(hdc, &r, back);
  if (background_ != CLR_DEFAULT) DeleteObject(back);
  InflateRect(&r, -1, -1);
  DWORD style = StyleOf(hwnd);
  bool vertical = (style & PBS_VERTICAL) != 0;
  int length = vertical ? r.bottom - r.top : r.right - r.left;
  int span = high_ - low_;
  if (length <= 0 || span <= 0) return;
  int filled = static_cast<int>(static_cast<long long>(length) * (pos_ - low_) / span);
  HBRUSH bar = bar_ == CLR_DEFAULT ? GetSysColorBrush(COLOR_HIGHLIGHT) : CreateSolidBrush(bar_);
  auto fill = [&](int from, int to) {  // along the bar, from its start
    RECT piece = r;
    if (vertical) {
      piece.bottom = r.bottom - from;
      piece.top = r.bottom - to;
    } else {
      piece.left = r.left + from;
      piece.right = r.left + to;
    }
    FillRect(hdc, &piece, bar);
  };
  if (style & PBS_SMOOTH) {
    fill(0, filled);
  } else {
    // Blocks two thirds of the bar's thickness wide with a two-pixel gap; the last one shows
    // whole once the position reaches into it.
    int thickness = vertical ? r.right - r.left : r.bottom - r.top;
    int block = std::max(2, thickness * 2 / 3), pitch = block + 2;
    for (int at = 0; at < filled; at += pitch) fill(at, std::min(at + block, length));
  }
  if (bar_ != CLR_DEFAULT) DeleteObject(bar);
}

LRESULT ProgressState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT common;
  if (HandleCommon(hwnd, msg, wParam, lParam, font_, [&](HDC hdc) { Paint(hwnd, hdc); }, &common)) return common;
  switch (msg) {
    case PBM_SETRANGE:
      return SetRange(hwnd, LOWORD(lParam), HIWORD(lParam));
    case PBM_SETRANGE32:
      return SetRange(hwnd, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE:
      if (lParam) {
        auto* range = reinterpret_cast<PBRANGE*>(lParam);
        range->iLow = low_;
        range->iHigh = high_;
      }
      return wParam ? low_ : high_;
    case PBM_SETPOS:
      return SetPos(hwnd, static_cast<int>(wParam));
    case PBM_DELTAPOS:
      return SetPos(hwnd, pos_ + static_cast<int>(wParam));
    case PBM_GETPOS:
      return pos_;
    case PBM_SETSTEP: {
      int previous = step_;
      step_ = static_cast<int>(wParam);
      return previous;
    }
    case PBM_STEPIT: {
      // Passing the top starts over at the bottom, and a negative step passing the bottom starts
      // over at the top.
      int next = pos_ + step_;
      if (next > high_) next = low_;
      else if (next < low_) next = high_;
      int previous = pos_;
      SetPos(hwnd, next);
      return previous;
    }
    case PBM_SETBARCOLOR:
    case PBM_SETBKCOLOR: {
      COLORREF& colour = msg == PBM_SETBARCOLOR ? bar_ : background_;
      COLORREF previous = colour;
      colour = static_cast<COLORREF>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return previous;
    }
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterProgressClass() { RegisterControlClass(PROGRESS_CLASS, ControlProc<ProgressState>, 0, IDC_ARROW, -1); }

}  // namespace brambolt::ctl

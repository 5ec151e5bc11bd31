// The up-down control ("msctls_updown32"): two arrows that step a position within a range, with
// acceleration while held, wrapping, and a buddy window that shows the position as text.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "controls/CommCtrl.h"
#include "controls/CommonControls.h"
#include "controls/ControlSupport.h"

namespace brambolt::ctl {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 500, kRepeatMs = 100;

class UpDownState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // One step up (+1) or down (-1) as a click or an arrow key does it.
  void Step(HWND hwnd, int direction);

 private:
  HWND SetBuddy(HWND hwnd, HWND buddy);
  void AlignToBuddy(HWND hwnd);
  int SetPos(HWND hwnd, int pos);
  bool ReadBuddy();
  void WriteBuddy(HWND hwnd);
  void Paint(HWND hwnd, HDC hdc);
  int ArrowAt(HWND hwnd, POINT p) const;  // +1 up, -1 down
  int Increment() const;

  HFONT font_ = nullptr;
  int low_ = 100, high_ = 0, pos_ = 0, base_ = 10;
  HWND buddy_ = nullptr;
  std::vector<UDACCEL> accel_{{0, 1}, {2, 5}, {5, 20}};
  int pressed_ = 0;          // the arrow held down
  DWORD pressedSince_ = 0;   // tick when it was pressed
};

UpDownState* UpDownOf(HWND hwnd) { return StateOf<UpDownState>(hwnd); }

// Arrow keys in the buddy step the up-down (left and right for a horizontal one).
bool WatchBuddy(HWND updown, HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
  if (msg != WM_KEYDOWN) return false;
  bool horizontal = (StyleOf(updown) & UDS_HORZ) != 0;
  int direction = 0;
  if (wParam == (horizontal ? VK_RIGHT : VK_UP)) direction = 1;
  if (wParam == (horizontal ? VK_LEFT : VK_DOWN)) direction = -1;
  UpDownState* state = UpDownOf(updown);
  if (direction == 0 || state == nullptr) return false;
  state->Step(updown, direction);
  *result = 0;
  return true;
}

// The step grows with the time an arrow is held, as the acceleration table says; a key steps by
// the first entry.
int UpDownState::Increment() const {
  DWORD held = pressed_ ? (GetTickCount() - pressedSince_) / 1000 : 0;
  int inc = 1;
  for (const UDACCEL& a : accel_)
    if (held >= a.nSec) inc = static_cast<int>(a.nInc);
  return inc;
}

HWND UpDownState::SetBuddy(HWND hwnd, HWND buddy) {
  HWND previous = buddy_;
  if (buddy_) UnwatchWindow(buddy_, hwnd);
  buddy_ = buddy;
  if (buddy_ == nullptr) return previous;
  DWORD style = StyleOf(hwnd);
  if (style & UDS_ARROWKEYS) WatchWindow(buddy_, hwnd, WatchBuddy);
  AlignToBuddy(hwnd);
  if (style & UDS_SETBUDDYINT) WriteBuddy(hwnd);
  return previous;
}

void UpDownState::AlignToBuddy(HWND hwnd) {
  DWORD style = StyleOf(hwnd);
  if (!(style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT)) || buddy_ == nullptr || GetParent(buddy_) != GetParent(hwnd))
    return;
  // The arrows take a slice of the buddy's width at its edge and its whole height.
  RECT b;
  GetWindowRect(buddy_, &b);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&b), 2);
  RECT own;
  GetWindowRect(hwnd, &own);
  int width = own.right - own.left;
  if (width <= 0) width = GetSystemMetrics(SM_CXVSCROLL);
  int buddyWidth = std::max(0, static_cast<int>(b.right - b.left) - width);
  int x = (style & UDS_ALIGNLEFT) ? b.left : b.left + buddyWidth;
  SetWindowPos(buddy_, nullptr, (style & UDS_ALIGNLEFT) ? b.left + width : b.left, b.top, buddyWidth, b.bottom - b.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(hwnd, nullptr, x, b.top, width, b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int UpDownState::SetPos(HWND hwnd, int pos) {
  int previous = pos_;
  pos_ = std::clamp(pos, std::min(low_, high_), std::max(low_, high_));
  if (StyleOf(hwnd) & UDS_SETBUDDYINT) WriteBuddy(hwnd);
  return previous;
}

// Reads the buddy's number, as UDM_GETPOS does whatever the style; false (and the position kept)
// without a buddy or when its text is no number within the range.
bool UpDownState::ReadBuddy() {
  if (buddy_ == nullptr) return false;
  std::string text;
  for (char c : TextOf(buddy_))
    if (c != ',' && c != ' ') text += c;
  if (text.empty()) return false;
  char* end = nullptr;
  long value = base_ == 16 ? std::strtol(text.c_str(), &end, 16) : std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0') return false;
  if (value < std::min(low_, high_) || value > std::max(low_, high_)) return false;
  pos_ = static_cast<int>(value);
  return true;
}

void UpDownState::WriteBuddy(HWND hwnd) {
  if (buddy_ == nullptr) return;
  char text[32];
  if (base_ == 16) {
    wsprintf(text, "0x%04X", static_cast<unsigned>(pos_) & 0xFFFF);
  } else {
    std::string digits = std::to_string(std::abs(static_cast<long long>(pos_)));
    bool grouped = !(StyleOf(hwnd) & UDS_NOTHOUSANDS);
    std::string shown = pos_ < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
      if (grouped && i > 0 && (digits.size() - i) % 3 == 0) shown += ',';
      shown += digits[i];
    }
    wsprintf(text, "%s", shown.c_str());
  }
  SetWindowText(buddy_, text);
}

void UpDownState::Step(HWND hwnd, int direction) {
  if (StyleOf(hwnd) & UDS_SETBUDDYINT) ReadBuddy();
  // "Up" moves toward the range's upper end, whichever number is larger.
  int delta = direction * Increment() * (high_ >= low_ ? 1 : -1);
  NMUPDOWN nm{};
  nm.iPos = pos_;
  nm.iDelta = delta;
  if (SendNotify(hwnd, UDN_DELTAPOS, &nm.hdr)) return;
  int lo = std::min(low_, high_), hi = std::max(low_, high_);
  int next = pos_ + nm.iDelta;
  if (next > hi || next < lo) {
    if (StyleOf(hwnd) & UDS_WRAP)
      next = next > hi ? lo + (next - hi - 1) % (hi - lo + 1) : hi - (lo - next - 1) % (hi - lo + 1);
    else
      next = std::clamp(next, lo, hi);
  }
  if (next != pos_) SetPos(hwnd, next);
  if (HWND parent = ParentOf(hwnd))
    SendMessage(parent, (StyleOf(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos_)), reinterpret_cast<LPARAM>(hwnd));
}

int UpDownState::ArrowAt(HWND hwnd, POINT p) const {
  RECT r;
  GetClientRect(hwnd, &r);
  if (StyleOf(hwnd) & UDS_HORZ) return p.x >= r.right / 2 ? 1 : -1;
  return p.y < r.bottom / 2 ? 1 : -1;
}

void UpDownState::Paint(HWND hwnd, HDC hdc) {
  RECT r;
  GetClientRect(hwnd, &r);
  bool horizontal = (StyleOf(hwnd) & UDS_HORZ) != 0;
  RECT first = r, second = r;
  if (horizontal) {
    first.right = second.left = r.right / 2;
  } else {
    first.bottom = second.top = r.bottom / 2;
  }
  UINT disabled = Enabled(hwnd) ? 0 : DFCS_INACTIVE;
  // first: up (or left, which steps down); second: down (or right, which steps up)
  UINT firstKind = horizontal ? DFCS_SCROLLLEFT : DFCS_SCROLLUP;
  UINT secondKind = horizontal ? DFCS_SCROLLRIGHT : DFCS_SCROLLDOWN;
  bool firstPressed = horizontal ? pressed_ < 0 : pressed_ > 0;
  bool secondPressed = horizontal ? pressed_ > 0 : pressed_ < 0;
  DrawFrameControl(hdc, &first, DFC_SCROLL, firstKind | disabled | (firstPressed ? DFCS_PUSHED : 0));
  DrawFrameControl(hdc, &second, DFC_SCROLL, secondKind | disabled | (secondPressed ? DFCS_PUSHED : 0));
}

LRESULT UpDownState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT common;
  if (HandleCommon(hwnd, msg, wParam, lParam, font_, [&](HDC hdc) { Paint(hwnd, hdc); }, &common)) return common;
  switch (msg) {
    case WM_CREATE:
      if (StyleOf(hwnd) & UDS_AUTOBUDDY) SetBuddy(hwnd, GetWindow(hwnd, GW_HWNDPREV));
      return 0;
    case UDM_SETRANGE:
      high_ = static_cast<short>(LOWORD(lParam));
      low_ = static_cast<short>(HIWORD(lParam));
      return 0;
    case UDM_GETRANGE:
      return MAKELONG(static_cast<WORD>(high_), static_cast<WORD>(low_));
    case UDM_SETRANGE32:
      low_ = static_cast<int>(wParam);
      high_ = static_cast<int>(lParam);
      return 0;
    case UDM_GETRANGE32:
      if (wParam) *reinterpret_cast<int*>(wParam) = low_;
      if (lParam) *reinterpret_cast<int*>(lParam) = high_;
      return 0;
    case UDM_SETPOS:
      return SetPos(hwnd, static_cast<short>(LOWORD(lParam)));
    case UDM_SETPOS32:
      return SetPos(hwnd, static_cast<int>(lParam));
    case UDM_GETPOS: {
      bool ok = ReadBuddy();
      return MAKELONG(static_cast<WORD>(pos_), ok ? 0 : 1);
    }
    case UDM_GETPOS32: {
      bool ok = ReadBuddy();
      if (lParam) *reinterpret_cast<BOOL*>(lParam) = ok ? FALSE : TRUE;
      return pos_;
    }
    case UDM_SETBUDDY:
      return reinterpret_cast<LRESULT>(SetBuddy(hwnd, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
      return reinterpret_cast<LRESULT>(buddy_);
    case UDM_SETBASE: {
      if (wParam != 10 && wParam != 16) return 0;
      int previous = base_;
      base_ = static_cast<int>(wParam);
      if (StyleOf(hwnd) & UDS_SETBUDDYINT) WriteBuddy(hwnd);
      return previous;
    }
    case UDM_GETBASE:
      return base_;
    case UDM_SETACCEL: {
      if (wParam == 0 || lParam == 0) return FALSE;
      const auto* table = reinterpret_cast<const UDACCEL*>(lParam);
      accel_.assign(table, table + wParam);
      return TRUE;
    }
    case UDM_GETACCEL: {
      size_t n = std::min<size_t>(wParam, accel_.size());
      if (lParam) std::copy_n(accel_.begin(), n, reinterpret_cast<UDACCEL*>(lParam));
      return static_cast<LRESULT>(accel_.size());
    }
    case WM_LBUTTONDOWN: {
      if (!Enabled(hwnd)) return 0;
      pressed_ = ArrowAt(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      pressedSince_ = GetTickCount();
      SetCapture(hwnd);
      if (buddy_ && IsWindowVisible(buddy_)) SetFocus(buddy_);
      InvalidateRect(hwnd, nullptr, FALSE);
      Step(hwnd, pressed_);
      SetTimer(hwnd, kRepeatTimer, kFirstRepeatMs, nullptr);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kRepeatTimer && pressed_ != 0) {
        SetTimer(hwnd, kRepeatTimer, kRepeatMs, nullptr);
        Step(hwnd, pressed_);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (pressed_ != 0) {
        pressed_ = 0;
        KillTimer(hwnd, kRepeatTimer);
        if (GetCapture() == hwnd) ReleaseCapture();
        InvalidateRect(hwnd, nullptr, FALSE);
        if (HWND parent = ParentOf(hwnd))
          SendMessage(parent, (StyleOf(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                      MAKEWPARAM(SB_ENDSCROLL, static_cast<WORD>(pos_)), reinterpret_cast<LPARAM>(hwnd));
      }
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd, kRepeatTimer);
      if (buddy_) UnwatchWindow(buddy_, hwnd);
      buddy_ = nullptr;
      return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterUpDownClass() { RegisterControlClass(UPDOWN_CLASS, ControlProc<UpDownState>, 0, IDC_ARROW, -1); }

}  // namespace brambolt::ctl

// Mouse and keyboard input: the system input queue, routing to windows (capture, hit testing,
// disabled windows, activation on click, WM_SETCURSOR, double clicks), key state, capture, the
// cursor position, TrackMouseEvent and DragDetect.
#include "win/Input.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

#include "base/Convert.h"
#include "os/Paths.h"
#include "gdi/SysColors.h"
#include "win/ModalLoop.h"
#include "win/Timers.h"
#include "gdi/Region.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

struct InputState {
  std::mutex mutex;
  std::deque<InputEvent> raw;
  POINT cursor{0, 0};
  RECT clip{};
  bool clipped = false;
  BYTE async[256] = {};
  // Double clicks.
  UINT lastDown = 0;
  DWORD lastTime = 0;
  POINT lastPoint{};
  HWND lastWindow = nullptr;
  int lastHit = 0;
  UINT doubleClickTime = 500;
  bool composing = false;
  // Refused characters counted by the window that had the focus.
  std::unordered_map<HWND, unsigned> refusals;
  // Capture, global as the pointer is.
  HWND capture = nullptr;
  // TrackMouseEvent.
  HWND tracked = nullptr;
  DWORD trackFlags = 0;
  DWORD hoverTime = 400;
  POINT hoverStart{};
};

InputState& Input() {
  static InputState* s = new InputState;
  return *s;
}

bool IsDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

UINT ButtonVk(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return VK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return VK_MBUTTON;
  }
  return 0;
}

WPARAM MouseKeys(const BYTE* state) {
  WPARAM k = 0;
  if (state[VK_LBUTTON] & 0x80) k |= MK_LBUTTON;
  if (state[VK_RBUTTON] & 0x80) k |= MK_RBUTTON;
  if (state[VK_MBUTTON] & 0x80) k |= MK_MBUTTON;
  if (state[VK_SHIFT] & 0x80) k |= MK_SHIFT;
  if (state[VK_CONTROL] & 0x80) k |= MK_CONTROL;
  return k;
}

void Signal() { WakeAll(QS_INPUT); }

void Deliver(HWND hwnd, const MSG& msg) {
  std::shared_ptr<ThreadQueue> q;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr || !w->queue) return;
    q = w->queue;
  }
  {
    std::lock_guard<std::mutex> lock(q->mutex);
    q->input.push_back(msg);
  }
  q->Signal(msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST
                ? QS_KEY
                : (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE ? QS_MOUSEMOVE
                                                                               : QS_MOUSEBUTTON));
}

bool SameThread(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr) == ThreadId(); }

// Whether a screen point inside a window's rectangle `box` lies in its window region.
bool InShape(const Window& w, const RECT& box, POINT pt) {
  return !w.shape || w.shape->Contains(pt.x - box.left, pt.y - box.top);
}

// The window under a screen point and its hit-test code, as mouse input is routed: hidden
// windows are passed over, a disabled child gives the point to its parent, HTTRANSPARENT passes
// it to the window below.
HWND WindowAt(POINT pt, int* hitOut, bool forInput) {
  std::vector<HWND> candidates;
  {
    Guard g(Lock());
    for (HWND h : Get(Desktop())->children) candidates.push_back(h);
  }
  for (HWND top : candidates) {
    HWND hwnd = nullptr;
    {
      Guard g(Lock());
      Window* w = Get(top);
      if (w == nullptr || !(w->style & WS_VISIBLE) || w->messageOnly) continue;
      if (!Contains(w->window, pt) || !InShape(*w, w->window, pt)) continue;
      hwnd = top;
      // Descend into enabled, visible children that hold the point, topmost first.
      for (bool deeper = true; deeper;) {
        deeper = false;
        Window* cur = Get(hwnd);
        if (!Contains(ScreenRect(*cur, true), pt) || (cur->style & WS_MINIMIZE)) break;
        for (HWND c : cur->children) {
          Window* cw = Get(c);
          if (cw == nullptr || !(cw->style & WS_VISIBLE)) continue;
          const RECT box = ScreenRect(*cw, false);
          if (!Contains(box, pt) || !InShape(*cw, box, pt)) continue;
          if (cw->style & WS_DISABLED) break;
          hwnd = c;
          deeper = true;
          break;
        }
      }
    }
    if (!forInput) {
      if (hitOut) *hitOut = HTCLIENT;
      if (!IsWindowEnabled(top)) return top;
    }
    int hit;
    if (!IsWindowEnabled(top)) {
      hit = HTERROR;
    } else if (SameThread(hwnd) || forInput) {
      hit = static_cast<int>(SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    } else {
      hit = HTCLIENT;
    }
    if (hit == HTTRANSPARENT) {
      // Try the siblings below the transparent window, then its parent.
      HWND below = GetWindow(hwnd, GW_HWNDNEXT);
      while (below) {
        RECT r;
        GetWindowRect(below, &r);
        if (IsWindowVisible(below) && Contains(r, pt)) {
          int h2 = static_cast<int>(SendMessage(below, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
          if (h2 != HTTRANSPARENT) {
            if (hitOut) *hitOut = h2;
            return below;
          }
        }
        below = GetWindow(below, GW_HWNDNEXT);
      }
      if (hwnd == top) continue;
      HWND parent = GetParent(hwnd);
      if (hitOut) *hitOut = static_cast<int>(SendMessage(parent, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
      return parent;
    }
    if (hitOut) *hitOut = hit;
    return hwnd;
  }
  if (hitOut) *hitOut = HTNOWHERE;
  return nullptr;
}

HWND CaptureWindow() {
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.capture && !IsWindow(s.capture)) s.capture = nullptr;
  return s.capture;
}

void CheckMouseLeave(HWND under) {
  InputState& s = Input();
  HWND tracked;
  DWORD flags;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    tracked = s.tracked;
    flags = s.trackFlags;
    if (tracked == nullptr || !(flags & TME_LEAVE) || tracked == under) return;
    s.tracked = nullptr;
    s.trackFlags = 0;
  }
  if (IsWindow(tracked)) {
    KillSystemTimer(tracked, 0xFFFA);
    PostMessage(tracked, (flags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
  }
}

void CookMouse(const InputEvent& e) {
  InputState& s = Input();
  HWND hwnd = CaptureWindow();
  int hit = HTCLIENT;
  bool captured = hwnd != nullptr;
  if (e.msg == WM_MOUSEWHEEL) {
    HWND fg = GetForegroundWindow();
    std::shared_ptr<ThreadQueue> q = fg ? QueueOf(GetWindowThreadProcessId(fg, nullptr)) : CurrentQueue();
    HWND target = q && q->threadId == ThreadId() ? GetFocus() : nullptr;
    if (target == nullptr) target = fg;
    if (target == nullptr) return;
    Deliver(target, MSG{target, WM_MOUSEWHEEL, MAKEWPARAM(e.keys, static_cast<short>(e.wheel)),
                        MAKELPARAM(e.pt.x, e.pt.y), e.time, e.pt});
    return;
  }
  if (!captured) hwnd = WindowAt(e.pt, &hit, true);
  CheckMouseLeave(hwnd);
  if (hwnd == nullptr) return;
  bool mine = SameThread(hwnd);
  if (!captured && mine) {
    if (hit == HTERROR) {
      SendMessage(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTERROR, e.msg));
      return;
    }
    if (IsDown(e.msg)) {
      HWND top = GetAncestor(hwnd, GA_ROOT);
      if (hwnd != GetActiveWindow()) {
        LRESULT ma = SendMessage(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                 MAKELPARAM(hit, e.msg));
        if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) && top != GetActiveWindow() &&
            !(GetWindowLongPtr(top, GWL_EXSTYLE) & WS_EX_NOACTIVATE))
          ActivateWindow(top, true, true);
        if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return;
        if (!IsWindow(hwnd)) return;
      }
    }
    SendMessage(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(hit, e.msg));
    if (!IsWindow(hwnd)) return;
  }
  UINT msg = e.msg;
  if (IsDown(msg)) {
    std::lock_guard<std::mutex> lock(s.mutex);
    bool dbl = s.lastDown == msg && s.lastWindow == hwnd && s.lastHit == hit &&
               e.time - s.lastTime <= s.doubleClickTime &&
               std::abs(e.pt.x - s.lastPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
               std::abs(e.pt.y - s.lastPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    bool classAllows = hit != HTCLIENT || (GetClassLongPtr(hwnd, GCL_STYLE) & CS_DBLCLKS);
    if (dbl && classAllows) {
      msg = msg + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
      s.lastDown = 0;
    } else {
      s.lastDown = msg;
      s.lastTime = e.time;
      s.lastPoint = e.pt;
      s.lastWindow = hwnd;
      s.lastHit = hit;
    }
  }
  MSG m{hwnd, msg, 0, 0, e.time, e.pt};
  if (hit == HTCLIENT || captured) {
    POINT c = e.pt;
    ScreenToClient(hwnd, &c);
    m.wParam = e.keys;
    m.lParam = MAKELPARAM(c.x, c.y);
  } else {
    m.message = msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    m.wParam = static_cast<WPARAM>(hit);
    m.lParam = MAKELPARAM(e.pt.x, e.pt.y);
  }
  Deliver(hwnd, m);
}

// A composition goes to the focus window as input messages, so that the characters its
// WM_IME_CHAR messages post are typed before the next committed character and the end arrives.
void CookComposition(const InputEvent& e, HWND target) {
  if (e.msg == WM_IME_STARTCOMPOSITION) {
    Deliver(target, MSG{target, WM_IME_STARTCOMPOSITION, 0, 0, e.time, e.pt});
    return;
  }
  for (size_t i = 0; i < e.text.size();) {
    size_t n = CharacterLength(e.text, i);
    WPARAM ch = static_cast<BYTE>(e.text[i]);
    if (n == 2) ch = ch << 8 | static_cast<BYTE>(e.text[i + 1]);
    Deliver(target, MSG{target, WM_IME_CHAR, ch, 1, e.time, e.pt});
    i += n;
  }
  Deliver(target, MSG{target, WM_IME_ENDCOMPOSITION, 0, 0, e.time, e.pt});
}

void CookKey(const InputEvent& e) {
  HWND fg = GetForegroundWindow();
  std::shared_ptr<ThreadQueue> q = fg ? QueueOf(GetWindowThreadProcessId(fg, nullptr)) : nullptr;
  if (!q) q = CurrentQueue();
  HWND target = q->focus && IsWindow(q->focus) ? q->focus : nullptr;
  bool sys = false;
  bool alt = e.alt || e.vk == VK_MENU, ctrl = e.ctrl;
  if (target == nullptr) {
    target = q->active && IsWindow(q->active) ? q->active : nullptr;
    sys = true;
  }
  if (target == nullptr) return;
  if ((alt && !ctrl) || e.vk == VK_F10) sys = true;
  if (e.kind == InputEvent::Composition) {
    if (!sys) CookComposition(e, target);
    return;
  }
  if (e.kind == InputEvent::Refusal) {
    InputState& s = Input();
    std::lock_guard<std::mutex> lock(s.mutex);
    ++s.refusals[target];
    return;
  }
  UINT msg = e.msg;
  if (msg == WM_CHAR) {
    Deliver(target, MSG{target, WM_CHAR, e.vk, static_cast<LPARAM>(e.scan), e.time, e.pt});
    return;
  }
  if (sys) msg += WM_SYSKEYDOWN - WM_KEYDOWN;
  LPARAM lp = static_cast<LPARAM>(e.extraInfo);
  if (alt && sys) lp |= 0x20000000;
  Deliver(target, MSG{target, msg, e.vk, lp, e.time, e.pt});
}

UINT DefaultScan(UINT vk) { return MapVirtualKey(vk, MAPVK_VK_TO_VSC); }

void Push(InputEvent e) {
  InputState& s = Input();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    e.time = Now();
    if (e.kind == InputEvent::Mouse && e.msg != WM_MOUSEWHEEL) {
      if (s.clipped) {
        e.pt.x = std::clamp<LONG>(e.pt.x, s.clip.left, s.clip.right - 1);
        e.pt.y = std::clamp<LONG>(e.pt.y, s.clip.top, s.clip.bottom - 1);
      }
      s.cursor = e.pt;
    }
    e.pt = e.kind == InputEvent::Mouse ? e.pt : s.cursor;
    if (UINT vk = ButtonVk(e.msg)) {
      if (IsDown(e.msg))
        s.async[vk] |= 0x80;
      else
        s.async[vk] &= static_cast<BYTE>(~0x80);
    }
    e.keys = MouseKeys(s.async);
    s.raw.push_back(e);
  }
  Signal();
}

}  // namespace

bool CookInput() {
  InputState& s = Input();
  InputEvent e;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.raw.empty()) return false;
    e = s.raw.front();
    s.raw.pop_front();
  }
  if (e.kind == InputEvent::Mouse)
    CookMouse(e);
  else
    CookKey(e);
  return true;
}

void UpdateKeyState(ThreadQueue& q, const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      UINT vk = static_cast<UINT>(msg.wParam) & 0xFF;
      // Any other key pressed while Alt is held makes its release no lone Alt, whichever window
      // took that key (a dialog that closed on Alt and its letter, say).
      if (vk != VK_MENU) q.altAlone = false;
      if (!(q.keyState[vk] & 0x80)) q.keyState[vk] ^= 0x01;
      q.keyState[vk] |= 0x80;
      return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      q.keyState[static_cast<UINT>(msg.wParam) & 0xFF] &= static_cast<BYTE>(~0x80);
      return;
  }
  if (msg.message >= WM_LBUTTONDOWN && msg.message <= WM_MBUTTONDBLCLK) {
    UINT m = msg.message;
    UINT vk = (m <= WM_LBUTTONDBLCLK) ? VK_LBUTTON : (m <= WM_RBUTTONDBLCLK) ? VK_RBUTTON : VK_MBUTTON;
    bool up = m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP;
    if (up) {
      q.keyState[vk] &= static_cast<BYTE>(~0x80);
    } else {
      q.keyState[vk] |= 0x80;
      // Alt held for a click or a drag is a modifier: its release does not open the menu.
      q.altAlone = false;
    }
  }
}

HWND InputCapture() { return CaptureWindow(); }

}  // namespace brambolt::wm

namespace brambolt {

using namespace wm;

void InjectMouseMove(POINT screen) {
  InputEvent e;
  e.kind = InputEvent::Mouse;
  e.msg = WM_MOUSEMOVE;
  e.pt = screen;
  Push(e);
}

void InjectMouseButton(UINT msg, POINT screen) {
  InputEvent e;
  e.kind = InputEvent::Mouse;
  e.msg = msg;
  e.pt = screen;
  Push(e);
}

void InjectMouseWheel(POINT screen, int delta) {
  InputEvent e;
  e.kind = InputEvent::Mouse;
  e.msg = WM_MOUSEWHEEL;
  e.pt = screen;
  e.wheel = delta;
  Push(e);
}

void InjectKey(UINT vk, bool down, UINT scan, bool extended) {
  vk &= 0xFF;
  InputState& s = Input();
  if (scan == 0) scan = DefaultScan(vk);
  bool wasDown, alt, ctrl;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    wasDown = (s.async[vk] & 0x80) != 0;
    auto set = [&](UINT k) {
      if (down) {
        if (!(s.async[k] & 0x80)) s.async[k] ^= 0x01;
        s.async[k] |= 0x80;
      } else {
        s.async[k] &= static_cast<BYTE>(~0x80);
      }
    };
    set(vk);
    // The generic modifier codes follow their left and right keys.
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) set(VK_SHIFT);
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) set(VK_CONTROL);
    if (vk == VK_LMENU || vk == VK_RMENU) set(VK_MENU);
    alt = (s.async[VK_MENU] & 0x80) != 0;
    ctrl = (s.async[VK_CONTROL] & 0x80) != 0;
  }
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) vk = VK_SHIFT;
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) vk = VK_CONTROL;
  if (vk == VK_LMENU || vk == VK_RMENU) vk = VK_MENU;
  InputEvent e;
  e.kind = InputEvent::Key;
  e.msg = down ? WM_KEYDOWN : WM_KEYUP;
  e.vk = vk;
  e.alt = alt;
  e.ctrl = ctrl;
  e.scan = scan;
  LPARAM lp = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
  if (extended) lp |= 0x01000000;
  if (down ? wasDown : true) lp |= 0x40000000;
  if (!down) lp |= static_cast<LPARAM>(0x80000000u);
  e.extraInfo = static_cast<ULONG_PTR>(lp);
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    e.time = Now();
    e.pt = s.cursor;
    s.raw.push_back(e);
  }
  Signal();
}

void InjectCharacters(const std::string& ansi) {
  InputState& s = Input();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    for (unsigned char c : ansi) {
      InputEvent e;
      e.kind = InputEvent::Key;
      e.msg = WM_CHAR;
      e.vk = c;
      e.scan = 1;
      e.time = Now();
      e.pt = s.cursor;
      s.raw.push_back(e);
    }
  }
  Signal();
}

namespace {

// The characters of UTF-8 text that the ANSI code page holds, in its bytes; a beep for each one
// it cannot hold, which is left out.
std::string CommittedCharacters(const std::string& utf8) {
  bool dropped = false;
  std::string ansi = CodePageTextOf(AnsiToUnicode(utf8, CP_UTF8), &dropped);
  if (dropped) InjectRefusedCharacters();
  return ansi;
}

void PushComposition(UINT msg, std::string text) {
  InputState& s = Input();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    s.composing = msg == WM_IME_STARTCOMPOSITION;
    InputEvent e;
    e.kind = InputEvent::Composition;
    e.msg = msg;
    e.text = std::move(text);
    e.time = Now();
    e.pt = s.cursor;
    s.raw.push_back(std::move(e));
  }
  Signal();
}

}  // namespace

void InjectRefusedCharacters() {
  InputState& s = Input();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    InputEvent e;
    e.kind = InputEvent::Refusal;
    e.time = Now();
    e.pt = s.cursor;
    s.raw.push_back(e);
  }
  Signal();
  MessageBeep(MB_OK);
}

void CountRefusedCharacters(HWND hwnd) {
  {
    InputState& s = Input();
    std::lock_guard<std::mutex> lock(s.mutex);
    ++s.refusals[hwnd];
  }
  MessageBeep(MB_OK);
}

const char* RefusedNameMessage() {
  return "The name is not valid: it holds characters that the program's or the system's character set does not "
         "have, so a file cannot be given that name as it was typed.\nType the name with other characters.";
}

void RefusedNameWatch::Watch(HWND field) {
  field_ = field;
  count_ = RefusedCharacterCount(field);
  refused_ = false;
}

void RefusedNameWatch::Changed() {
  refused_ = false;
  if (field_ && GetWindowTextLength(field_) == 0) count_ = RefusedCharacterCount(field_);
}

bool RefusedNameWatch::Refused(std::string_view madePath) {
  if (const unsigned count = RefusedCharacterCount(field_); count != count_) {
    count_ = count;
    refused_ = true;
  }
  return refused_ || (!madePath.empty() && !CanMakePath(madePath));
}

unsigned RefusedCharacterCount(HWND hwnd) {
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  const auto it = s.refusals.find(hwnd);
  return it == s.refusals.end() ? 0 : it->second;
}

void InjectCompositionStart() {
  if (!InjectedComposition()) PushComposition(WM_IME_STARTCOMPOSITION, {});
}

void InjectCompositionCommit(const std::string& utf8) {
  std::string ansi = CommittedCharacters(utf8);
  if (!InjectedComposition()) {
    if (ansi.empty()) return;
    PushComposition(WM_IME_STARTCOMPOSITION, {});
  }
  PushComposition(WM_IME_ENDCOMPOSITION, std::move(ansi));
}

bool InjectedComposition() {
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.composing;
}

void ForgetReleasedKeys(const std::vector<UINT>& keys) {
  InputState& s = Input();
  ThreadQueue& q = *CurrentQueue();
  std::lock_guard<std::mutex> lock(s.mutex);
  auto up = [&](UINT vk) {
    s.async[vk] &= static_cast<BYTE>(~0x80);
    q.keyState[vk] &= static_cast<BYTE>(~0x80);
    if (vk == VK_MENU) q.altAlone = false;
  };
  for (UINT vk : keys) {
    vk &= 0xFF;
    up(vk);
    // The generic modifier code goes up with the last of its two keys.
    const UINT pairs[][3] = {{VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
                             {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
                             {VK_MENU, VK_LMENU, VK_RMENU}};
    for (const auto& p : pairs) {
      if (vk == p[1] || vk == p[2]) {
        if (!(s.async[p[1]] & 0x80) && !(s.async[p[2]] & 0x80)) up(p[0]);
      } else if (vk == p[0]) {
        up(p[1]);
        up(p[2]);
      }
    }
  }
}

size_t PendingInputEvents() {
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.raw.size();
}

void ResetInputState() {
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.raw.clear();
  std::fill(std::begin(s.async), std::end(s.async), 0);
  s.lastDown = 0;
  s.composing = false;
  s.capture = nullptr;
  s.tracked = nullptr;
  s.clipped = false;
  ThreadQueue& q = *CurrentQueue();
  std::fill(std::begin(q.keyState), std::end(q.keyState), 0);
}

}  // namespace brambolt

using namespace brambolt;
using namespace brambolt::wm;

HWND SetCapture(HWND hwnd) {
  InputState& s = Input();
  HWND old;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    old = s.capture && IsWindow(s.capture) ? s.capture : nullptr;
    if (hwnd && !IsWindow(hwnd)) return nullptr;
    s.capture = hwnd;
  }
  CurrentQueue()->capture = hwnd;
  if (old && old != hwnd) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  InputState& s = Input();
  HWND old;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    old = s.capture;
    s.capture = nullptr;
  }
  CurrentQueue()->capture = nullptr;
  if (old && IsWindow(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  HWND c = CaptureWindow();
  if (c && GetWindowThreadProcessId(c, nullptr) != ThreadId()) return nullptr;
  return c;
}

BOOL GetCursorPos(LPPOINT point) {
  if (point == nullptr) return FALSE;
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  *point = s.cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  brambolt::InjectMouseMove(POINT{x, y});
  return TRUE;
}

BOOL ClipCursor(const RECT* rect) {
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (rect == nullptr) {
    s.clipped = false;
    return TRUE;
  }
  s.clip = *rect;
  s.clipped = true;
  s.cursor.x = std::clamp<LONG>(s.cursor.x, rect->left, std::max(rect->left, rect->right - 1));
  s.cursor.y = std::clamp<LONG>(s.cursor.y, rect->top, std::max(rect->top, rect->bottom - 1));
  return TRUE;
}

BOOL GetClipCursor(LPRECT rect) {
  if (rect == nullptr) return FALSE;
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.clipped) {
    *rect = s.clip;
  } else {
    SIZE screen = brambolt::GetScreenSize();
    *rect = RECT{0, 0, screen.cx, screen.cy};
  }
  return TRUE;
}

namespace {

void CALLBACK HoverTimer(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  InputState& s = Input();
  POINT pt, start;
  DWORD flags;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    pt = s.cursor;
    start = s.hoverStart;
    flags = s.trackFlags;
    if (s.tracked != hwnd || !(flags & TME_HOVER)) {
      KillSystemTimer(hwnd, id);
      return;
    }
    int w = GetSystemMetrics(SM_CXDOUBLECLK) / 2, h = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    if (std::abs(pt.x - start.x) > w || std::abs(pt.y - start.y) > h) {
      s.hoverStart = pt;
      return;
    }
    s.trackFlags &= ~TME_HOVER;
  }
  KillSystemTimer(hwnd, id);
  POINT c = pt;
  ScreenToClient(hwnd, &c);
  PostMessage(hwnd, WM_MOUSEHOVER, 0, MAKELPARAM(c.x, c.y));
}

}  // namespace

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
  if (track == nullptr || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  InputState& s = Input();
  if (track->dwFlags & TME_QUERY) {
    std::lock_guard<std::mutex> lock(s.mutex);
    track->dwFlags = s.tracked ? s.trackFlags : 0;
    track->hwndTrack = s.tracked;
    track->dwHoverTime = s.hoverTime;
    return TRUE;
  }
  if (!IsWindow(track->hwndTrack)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (track->dwFlags & TME_CANCEL) {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.tracked == track->hwndTrack) s.trackFlags &= ~(track->dwFlags & (TME_LEAVE | TME_HOVER));
    if (s.trackFlags == 0) s.tracked = nullptr;
    return TRUE;
  }
  POINT pt;
  GetCursorPos(&pt);
  int hit = HTNOWHERE;
  HWND under = WindowAt(pt, &hit, false);
  if (under != track->hwndTrack) {
    if (track->dwFlags & TME_LEAVE)
      PostMessage(track->hwndTrack, (track->dwFlags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    return TRUE;
  }
  UINT hoverTime = track->dwHoverTime;
  if (hoverTime == HOVER_DEFAULT) SystemParametersInfo(SPI_GETMOUSEHOVERTIME, 0, &hoverTime, 0);
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    s.tracked = track->hwndTrack;
    s.trackFlags = track->dwFlags & (TME_LEAVE | TME_HOVER | TME_NONCLIENT);
    s.hoverTime = hoverTime;
    s.hoverStart = pt;
  }
  if (track->dwFlags & TME_HOVER)
    SetSystemTimer(track->hwndTrack, 0xFFFA, s.hoverTime, HoverTimer);
  return TRUE;
}

UINT GetDoubleClickTime() {
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  return s.doubleClickTime;
}

BOOL SetDoubleClickTime(UINT ms) {
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.doubleClickTime = ms == 0 ? 500 : ms;
  return TRUE;
}

BOOL DragDetect(HWND hwnd, POINT point) {
  RECT zone{point.x - GetSystemMetrics(SM_CXDRAG), point.y - GetSystemMetrics(SM_CYDRAG),
            point.x + GetSystemMetrics(SM_CXDRAG) + 1, point.y + GetSystemMetrics(SM_CYDRAG) + 1};
  SetCapture(hwnd);
  BOOL dragged = FALSE;
  bool ended = false;
  // Every message of the loop, also those pumped from inside its wait, is judged here.
  ScopedLoopFilter filter([&](MSG& msg) {
    if (ended) return true;
    if (msg.message == WM_MOUSEMOVE) {
      if (!Contains(zone, msg.pt)) {
        dragged = TRUE;
        ended = true;
      }
      return true;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP ||
        (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
      ended = true;
      return true;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    if (!IsWindow(hwnd) || GetCapture() != hwnd) ended = true;
    return true;
  });
  while (!ended) {
    MSG msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsWindow(hwnd) || GetCapture() != hwnd) break;
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ApplyLoopFilter(msg);
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  return dragged;
}

HWND WindowFromPoint(POINT point) {
  int hit;
  return WindowAt(point, &hit, true);
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
  Guard g(Lock());
  Window* p = Get(parent);
  if (p == nullptr) return nullptr;
  RECT client{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
  if (!Contains(client, point)) return nullptr;
  for (HWND c : p->children) {
    Window* w = Get(c);
    if (w == nullptr || !Contains(w->window, point)) continue;
    if ((flags & CWP_SKIPINVISIBLE) && !(w->style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (w->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (w->exStyle & WS_EX_TRANSPARENT)) continue;
    return c;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
  return ChildWindowFromPointEx(parent, point, CWP_ALL);
}

HWND RealChildWindowFromPoint(HWND parent, POINT point) {
  POINT client = point;
  ScreenToClient(parent, &client);
  return ChildWindowFromPointEx(parent, client, CWP_SKIPINVISIBLE);
}

SHORT GetKeyState(int vk) {
  BYTE b = CurrentQueue()->keyState[vk & 0xFF];
  return static_cast<SHORT>(((b & 0x80) ? 0xFF80 : 0) | (b & 0x01));
}

SHORT GetAsyncKeyState(int vk) {
  InputState& s = Input();
  std::lock_guard<std::mutex> lock(s.mutex);
  return static_cast<SHORT>((s.async[vk & 0xFF] & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(PBYTE keyState) {
  if (keyState == nullptr) return FALSE;
  std::copy_n(CurrentQueue()->keyState, 256, keyState);
  return TRUE;
}

BOOL SetKeyboardState(PBYTE keyState) {
  if (keyState == nullptr) return FALSE;
  std::copy_n(keyState, 256, CurrentQueue()->keyState);
  return TRUE;
}

void keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR) {
  brambolt::InjectKey(vk, !(flags & KEYEVENTF_KEYUP), scan, (flags & KEYEVENTF_EXTENDEDKEY) != 0);
}

void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR) {
  POINT pt;
  GetCursorPos(&pt);
  if (flags & MOUSEEVENTF_MOVE) {
    if (flags & MOUSEEVENTF_ABSOLUTE) {
      SIZE screen = brambolt::GetScreenSize();
      pt = POINT{static_cast<LONG>(static_cast<long long>(dx) * screen.cx / 65536),
                 static_cast<LONG>(static_cast<long long>(dy) * screen.cy / 65536)};
    } else {
      pt.x += static_cast<LONG>(dx);
      pt.y += static_cast<LONG>(dy);
    }
    brambolt::InjectMouseMove(pt);
  }
  if (flags & MOUSEEVENTF_LEFTDOWN) brambolt::InjectMouseButton(WM_LBUTTONDOWN, pt);
  if (flags & MOUSEEVENTF_LEFTUP) brambolt::InjectMouseButton(WM_LBUTTONUP, pt);
  if (flags & MOUSEEVENTF_RIGHTDOWN) brambolt::InjectMouseButton(WM_RBUTTONDOWN, pt);
  if (flags & MOUSEEVENTF_RIGHTUP) brambolt::InjectMouseButton(WM_RBUTTONUP, pt);
  if (flags & MOUSEEVENTF_MIDDLEDOWN) brambolt::InjectMouseButton(WM_MBUTTONDOWN, pt);
  if (flags & MOUSEEVENTF_MIDDLEUP) brambolt::InjectMouseButton(WM_MBUTTONUP, pt);
  if (flags & MOUSEEVENTF_WHEEL) brambolt::InjectMouseWheel(pt, static_cast<int>(static_cast<LONG>(data)));
}

UINT SendInput(UINT count, LPINPUT inputs, int size) {
  if (inputs == nullptr || size != static_cast<int>(sizeof(INPUT))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  for (UINT i = 0; i < count; ++i) {
    const INPUT& in = inputs[i];
    if (in.type == INPUT_KEYBOARD) {
      if (in.ki.dwFlags & KEYEVENTF_UNICODE) continue;
      keybd_event(static_cast<BYTE>(in.ki.wVk), static_cast<BYTE>(in.ki.wScan), in.ki.dwFlags,
                  in.ki.dwExtraInfo);
    } else if (in.type == INPUT_MOUSE) {
      mouse_event(in.mi.dwFlags, static_cast<DWORD>(in.mi.dx), static_cast<DWORD>(in.mi.dy),
                  in.mi.mouseData, in.mi.dwExtraInfo);
    }
  }
  return count;
}

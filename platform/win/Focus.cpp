// Keyboard focus (per thread), activation of top-level windows with its message order, the
// foreground window, and enabling/disabling windows.
#include <algorithm>

#include "win/DialogInternal.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

HWND g_foreground = nullptr;  // guarded by Lock()

bool Alive(HWND h) { return h != nullptr && Get(h) != nullptr; }

void SendActivateApp(DWORD threadId, bool active, DWORD otherThread) {
  std::vector<HWND> tops;
  {
    Guard g(Lock());
    for (HWND h : Get(Desktop())->children)
      if (Window* w = Get(h); w && w->threadId == threadId && !w->messageOnly) tops.push_back(h);
  }
  for (HWND h : tops)
    if (IsWindow(h)) SendMessage(h, WM_ACTIVATEAPP, active ? TRUE : FALSE, otherThread);
}

// The window that takes activation when `leaving` stops being active: its owner when it can,
// else the next visible, enabled top-level window of the thread.
HWND NextToActivate(HWND leaving) {
  Guard g(Lock());
  Window* w = Get(leaving);
  DWORD tid = ThreadId();
  if (w && Alive(w->owner)) {
    Window* o = Get(w->owner);
    if ((o->style & WS_VISIBLE) && !(o->style & WS_DISABLED) && !o->destroying) return w->owner;
  }
  for (HWND h : Get(Desktop())->children) {
    Window* c = Get(h);
    if (h == leaving || c == nullptr || c->threadId != tid || c->destroying || c->messageOnly)
      continue;
    if (!(c->style & WS_VISIBLE) || (c->style & WS_DISABLED) || c->owner == leaving) continue;
    if (c->exStyle & WS_EX_NOACTIVATE) continue;
    return h;
  }
  return nullptr;
}

// True for a window of the calling thread; sets the error otherwise.
bool OwnWindow(HWND hwnd) {
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return false;
  if (w->threadId != ThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return true;
}

void Deactivate(HWND hwnd) {
  ThreadQueue& q = *CurrentQueue();
  if (q.active != hwnd) return;
  SendMessage(hwnd, WM_NCACTIVATE, FALSE, 0);
  SendMessage(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(hwnd) ? 1 : 0), 0);
  q.active = nullptr;
  {
    Guard g(Lock());
    if (g_foreground == hwnd) g_foreground = nullptr;
  }
  SendActivateApp(ThreadId(), false, 0);
  HWND focus = q.focus;
  if (focus) {
    q.focus = nullptr;
    if (IsWindow(focus)) SendMessage(focus, WM_KILLFOCUS, 0, 0);
  }
}

}  // namespace

bool ActivateWindow(HWND hwnd, bool mouse, bool setFocus) {
  (void)setFocus;
  ThreadQueue& q = *CurrentQueue();
  HWND old = q.active;
  if (old != nullptr && !IsWindow(old)) old = q.active = nullptr;
  if (old == hwnd) {
    Guard g(Lock());
    g_foreground = hwnd;
    return true;
  }
  if (HasHook(WH_CBT)) {
    // The activation is recorded before the hook hears of it: what the hook does to the window
    // (a focus set, a button pressed) finds it active instead of activating it again, which
    // would call the hook again without end.
    q.active = hwnd;
    CBTACTIVATESTRUCT cbt{mouse ? TRUE : FALSE, old};
    LRESULT refused = CallHooks(WH_CBT, HCBT_ACTIVATE, reinterpret_cast<WPARAM>(hwnd),
                                reinterpret_cast<LPARAM>(&cbt));
    if (q.active == hwnd) q.active = old;
    old = q.active != nullptr && IsWindow(q.active) ? q.active : nullptr;
    if (refused || !IsWindow(hwnd)) return false;
  }
  HWND oldForeground;
  {
    Guard g(Lock());
    oldForeground = Alive(g_foreground) ? g_foreground : nullptr;
  }
  if (old) {
    SendMessage(old, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd));
    if (IsWindow(old))
      SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0),
                  reinterpret_cast<LPARAM>(hwnd));
  }
  if (!IsWindow(hwnd)) return false;
  q.active = hwnd;
  {
    Guard g(Lock());
    g_foreground = hwnd;
  }
  DWORD oldThread = oldForeground ? GetWindowThreadProcessId(oldForeground, nullptr) : 0;
  DWORD me = ThreadId();
  if (oldThread != me) {
    if (oldThread) SendActivateApp(oldThread, false, me);
    SendActivateApp(me, true, oldThread);
  }
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!IsWindow(hwnd) || q.active != hwnd) return false;
  SendMessage(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(old));
  if (!IsWindow(hwnd) || q.active != hwnd) return false;
  {
    HWND outer = q.activating;
    q.activating = hwnd;
    SendMessage(hwnd, WM_ACTIVATE, MAKEWPARAM(mouse ? WA_CLICKACTIVE : WA_ACTIVE, IsIconic(hwnd) ? 1 : 0),
                reinterpret_cast<LPARAM>(old));
    q.activating = outer;
  }
  // A focus left in the window that lost activation goes with it.
  if (q.focus && q.active == hwnd && !(q.focus == hwnd || IsChild(hwnd, q.focus))) {
    HWND lost = q.focus;
    q.focus = nullptr;
    if (IsWindow(lost)) SendMessage(lost, WM_KILLFOCUS, 0, 0);
  }
  return true;
}

bool IsBeingActivated(HWND hwnd) { return hwnd != nullptr && CurrentQueue()->activating == hwnd; }

void WindowDying(HWND hwnd) {
  ThreadQueue& q = *CurrentQueue();
  bool destroying;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    destroying = w && w->destroying;
  }
  if (HWND c = GetCapture(); destroying && c && (c == hwnd || IsChild(hwnd, c))) ReleaseCapture();
  if (q.active == hwnd) {
    HWND next = NextToActivate(hwnd);
    if (next == nullptr || !ActivateWindow(next, false, true)) Deactivate(hwnd);
  }
  if (destroying && q.focus && (q.focus == hwnd || IsChild(hwnd, q.focus))) {
    HWND parent = nullptr;
    {
      Guard g(Lock());
      Window* w = Get(hwnd);
      if (w && (w->style & WS_CHILD)) {
        Window* p = Get(w->parent);
        if (p && !p->destroying) parent = w->parent;
      }
    }
    if (parent) {
      SetFocus(parent);
    } else {
      HWND lost = q.focus;
      q.focus = nullptr;
      SendMessage(lost, WM_KILLFOCUS, 0, 0);
    }
  }
}

}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt::wm;

HWND SetFocus(HWND hwnd) {
  ThreadQueue& q = *CurrentQueue();
  HWND old = q.focus && IsWindow(q.focus) ? q.focus : nullptr;
  if (hwnd != nullptr) {
    if (!OwnWindow(hwnd)) return nullptr;
    {
      // A window inside a minimised ancestor cannot take the focus.
      Guard g(Lock());
      for (Window* a = Get(Get(hwnd)->parent); a && a->handle != Desktop(); a = Get(a->parent))
        if (a->style & WS_MINIMIZE) return nullptr;
    }
    if (HasHook(WH_CBT) && CallHooks(WH_CBT, HCBT_SETFOCUS, reinterpret_cast<WPARAM>(hwnd),
                                     reinterpret_cast<LPARAM>(old)))
      return nullptr;
    HWND top = GetAncestor(hwnd, GA_ROOT);
    if (top != q.active && !ActivateWindow(top, false, false)) return nullptr;
    if (!IsWindow(hwnd)) return nullptr;
    old = q.focus && IsWindow(q.focus) ? q.focus : nullptr;
  } else if (HasHook(WH_CBT) &&
             CallHooks(WH_CBT, HCBT_SETFOCUS, 0, reinterpret_cast<LPARAM>(old))) {
    return nullptr;
  }
  if (old == hwnd) return old;
  q.focus = hwnd;
  if (old) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && q.focus == hwnd && IsWindow(hwnd))
    SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() {
  ThreadQueue& q = *CurrentQueue();
  if (q.focus && !IsWindow(q.focus)) q.focus = nullptr;
  return q.focus;
}

HWND SetActiveWindow(HWND hwnd) {
  ThreadQueue& q = *CurrentQueue();
  HWND old = q.active && IsWindow(q.active) ? q.active : nullptr;
  if (hwnd == nullptr) {
    if (old) Deactivate(old);
    return old;
  }
  if (!OwnWindow(hwnd)) return nullptr;
  hwnd = GetAncestor(hwnd, GA_ROOT);
  if (!ActivateWindow(hwnd, false, true)) return nullptr;
  return old;
}

HWND GetActiveWindow() {
  ThreadQueue& q = *CurrentQueue();
  if (q.active && !IsWindow(q.active)) q.active = nullptr;
  return q.active;
}

BOOL SetForegroundWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  HWND top = GetAncestor(hwnd, GA_ROOT);
  if (GetWindowThreadProcessId(top, nullptr) != ThreadId()) {
    // Another thread's window: it becomes the foreground when that thread activates it.
    PostMessage(top, WM_NULL, 0, 0);
    Guard g(Lock());
    g_foreground = top;
    return TRUE;
  }
  return ActivateWindow(top, false, true) ? TRUE : FALSE;
}

HWND GetForegroundWindow() {
  Guard g(Lock());
  return Alive(g_foreground) ? g_foreground : nullptr;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  bool wasDisabled;
  {
    Guard g(Lock());
    Window* w = Checked(hwnd);
    if (w == nullptr) return FALSE;
    wasDisabled = (w->style & WS_DISABLED) != 0;
  }
  if (enable && wasDisabled) {
    // The owner of a modal dialog stays disabled while the dialog runs, whoever enables it; the
    // dialog enables it when it ends.
    if (dlg::HoldOwnerDisabled(hwnd)) return TRUE;
    {
      Guard g(Lock());
      if (Window* w = Get(hwnd)) w->style &= ~WS_DISABLED;
    }
    SendMessage(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    SendMessage(hwnd, WM_CANCELMODE, 0, 0);
    {
      Guard g(Lock());
      if (Window* w = Get(hwnd)) w->style |= WS_DISABLED;
    }
    ThreadQueue& q = *CurrentQueue();
    if (q.focus && (q.focus == hwnd || IsChild(hwnd, q.focus))) SetFocus(nullptr);
    if (q.capture && (q.capture == hwnd || IsChild(hwnd, q.capture))) ReleaseCapture();
    if (IsWindow(hwnd)) SendMessage(hwnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Guard g(Lock());
  Window* w = Get(hwnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

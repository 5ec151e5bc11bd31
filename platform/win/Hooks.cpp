// Thread-local hook chains (WH_MSGFILTER, WH_GETMESSAGE, WH_CALLWNDPROC(RET), WH_KEYBOARD, WH_MOUSE,
// WH_CBT), newest first, called from the platform's own loops and sends.
#include <algorithm>
#include <atomic>

#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

std::atomic<std::uintptr_t> g_nextHook{0x4000};

bool Supported(int id) {
  switch (id) {
    case WH_MSGFILTER:
    case WH_GETMESSAGE:
    case WH_CALLWNDPROC:
    case WH_CALLWNDPROCRET:
    case WH_KEYBOARD:
    case WH_MOUSE:
    case WH_CBT:
    case WH_SYSMSGFILTER:
    case WH_FOREGROUNDIDLE:
      return true;
  }
  return false;
}

// How deep hook calls nest on a thread: a hook that causes its own event again (a CBT hook that
// activates, a call-window hook that sends) is not called again below this depth, so the
// recursion ends instead of running the stack out.
constexpr int kMaxHookDepth = 8;

// Calls the hooks of `id` older than position `from` (an index in the newest-first chain).
LRESULT CallFrom(ThreadQueue& q, int id, size_t from, int code, WPARAM wParam, LPARAM lParam) {
  if (q.hookDepth >= kMaxHookDepth) return 0;
  for (size_t i = from; i < q.hooks.size(); ++i) {
    const HookRecord& h = q.hooks[q.hooks.size() - 1 - i];
    if (h.id != id || h.removed) continue;
    HOOKPROC proc = h.proc;
    q.hookDepth++;
    LRESULT r = proc(code, wParam, lParam);
    q.hookDepth--;
    if (q.hookDepth == 0)
      q.hooks.erase(std::remove_if(q.hooks.begin(), q.hooks.end(),
                                   [](const HookRecord& r) { return r.removed; }),
                    q.hooks.end());
    return r;
  }
  return 0;
}

}  // namespace

bool HasHook(int id) {
  ThreadQueue& q = *CurrentQueue();
  for (const HookRecord& h : q.hooks)
    if (h.id == id && !h.removed) return true;
  return false;
}

LRESULT CallHooks(int id, int code, WPARAM wParam, LPARAM lParam) {
  return CallFrom(*CurrentQueue(), id, 0, code, wParam, lParam);
}

}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt::wm;

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
  if (!Supported(idHook)) {
    SetLastError(ERROR_INVALID_HOOK_FILTER);
    return nullptr;
  }
  if (proc == nullptr) {
    SetLastError(ERROR_INVALID_FILTER_PROC);
    return nullptr;
  }
  // Hooks are thread-local: a hook for the whole desktop watches the calling thread.
  if (threadId != 0 && threadId != ThreadId()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HookRecord h;
  h.id = idHook;
  h.proc = proc;
  h.handle = reinterpret_cast<HHOOK>(g_nextHook.fetch_add(1));
  CurrentQueue()->hooks.push_back(h);
  return h.handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  ThreadQueue& q = *CurrentQueue();
  for (auto it = q.hooks.begin(); it != q.hooks.end(); ++it) {
    if (it->handle != hook || it->removed) continue;
    if (q.hookDepth > 0)
      it->removed = true;
    else
      q.hooks.erase(it);
    return TRUE;
  }
  SetLastError(ERROR_INVALID_HOOK_HANDLE);
  return FALSE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  ThreadQueue& q = *CurrentQueue();
  for (size_t i = 0; i < q.hooks.size(); ++i) {
    const HookRecord& h = q.hooks[q.hooks.size() - 1 - i];
    if (h.handle == hook) return CallFrom(q, h.id, i + 1, code, wParam, lParam);
  }
  return 0;
}

BOOL CallMsgFilter(LPMSG msg, int code) {
  if (msg == nullptr) return FALSE;
  if (HasHook(WH_SYSMSGFILTER) &&
      CallHooks(WH_SYSMSGFILTER, code, 0, reinterpret_cast<LPARAM>(msg)))
    return TRUE;
  return HasHook(WH_MSGFILTER) &&
                 CallHooks(WH_MSGFILTER, code, 0, reinterpret_cast<LPARAM>(msg))
             ? TRUE
             : FALSE;
}

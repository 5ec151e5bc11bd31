// Window and thread timers. They are due on the tick count, so under a test's virtual clock they
// fire only as the test advances it; WM_TIMER is coalesced (one pending per timer).
#include <algorithm>

#include "base/Clock.h"
#include "win/Timers.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

constexpr UINT kMinimumElapse = 10;
constexpr UINT kMaximumElapse = 0x7FFFFFFF;

std::mutex& ThreadTimerIdsMutex() {
  static auto* m = new std::mutex;
  return *m;
}

void WakeOnClockAdvance() {
  static bool installed = [] {
    VirtualClock::AddListener([](ULONGLONG, ULONGLONG) { WakeAll(QS_TIMER); });
    return true;
  }();
  (void)installed;
}

// The queue that holds the timers of `hwnd` (the calling thread's for thread timers); null when
// the window is gone or belongs to another thread.
std::shared_ptr<ThreadQueue> TimerQueue(HWND hwnd) {
  if (hwnd == nullptr) return CurrentQueue();
  Guard g(Lock());
  Window* w = Checked(hwnd);
  if (w == nullptr) return nullptr;
  if (w->threadId != ThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return w->queue;
}

UINT_PTR AddTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc, bool system) {
  WakeOnClockAdvance();
  std::shared_ptr<ThreadQueue> q = TimerQueue(hwnd);
  if (!q) return 0;
  elapse = std::clamp(elapse, kMinimumElapse, kMaximumElapse);
  {
    std::lock_guard<std::mutex> lock(q->mutex);
    if (hwnd == nullptr) {
      // A thread timer keeps its id when the caller names an existing one, else gets a new one.
      bool existing = std::any_of(q->timers.begin(), q->timers.end(), [&](const Timer& t) {
        return t.hwnd == nullptr && t.id == id && t.isSystem == system;
      });
      if (!existing || id == 0) {
        std::lock_guard<std::mutex> ids(ThreadTimerIdsMutex());
        static UINT_PTR next = 0x7FF0;
        id = ++next;
      }
    }
    auto it = std::find_if(q->timers.begin(), q->timers.end(), [&](const Timer& t) {
      return t.hwnd == hwnd && t.id == id && t.isSystem == system;
    });
    Timer t{hwnd, id, elapse, proc, Now() + elapse, system};
    if (it != q->timers.end())
      *it = t;
    else
      q->timers.push_back(t);
  }
  q->Signal(QS_TIMER);
  return hwnd == nullptr ? id : (id == 0 ? 1 : id);
}

bool RemoveTimer(HWND hwnd, UINT_PTR id, bool system) {
  std::shared_ptr<ThreadQueue> q = TimerQueue(hwnd);
  if (!q) return false;
  std::lock_guard<std::mutex> lock(q->mutex);
  auto it = std::find_if(q->timers.begin(), q->timers.end(), [&](const Timer& t) {
    return t.hwnd == hwnd && t.id == id && t.isSystem == system;
  });
  if (it == q->timers.end()) return false;
  q->timers.erase(it);
  // A WM_TIMER already taken from the queue is still delivered; none is generated after this.
  return true;
}

}  // namespace

UINT_PTR SetSystemTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  return AddTimer(hwnd, id, elapse, proc, true);
}

BOOL KillSystemTimer(HWND hwnd, UINT_PTR id) { return RemoveTimer(hwnd, id, true) ? TRUE : FALSE; }

}  // namespace brambolt::wm

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  return brambolt::wm::AddTimer(hwnd, id, elapse, proc, false);
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  return brambolt::wm::RemoveTimer(hwnd, id, false) ? TRUE : FALSE;
}

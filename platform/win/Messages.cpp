// Message queues, one per thread: sent messages across threads, posted messages, retrieval in the
// documented order (sent, posted, input, paint, timers), dispatch, waits and queue status.
#include <algorithm>
#include <chrono>
#include <map>

#include <unistd.h>

#include "base/Clock.h"
#include "os/Threads.h"
#include "os/Waitable.h"
#include "win/Backend.h"
#include "win/Input.h"
#include "win/Mdi.h"
#include "win/ModalLoop.h"
#include "win/Surfaces.h"
#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {


struct QueueRegistry {
  std::mutex mutex;
  std::map<DWORD, std::shared_ptr<ThreadQueue>> byThread;
};

QueueRegistry& Registry() {
  static QueueRegistry* registry = new QueueRegistry;
  return *registry;
}

void Reply(const std::shared_ptr<SentMessage>& s, LRESULT result);

// Ends a thread's queue: senders waiting on it get 0, its windows go without messages.
void ThreadEnded(const std::shared_ptr<ThreadQueue>& q) {
  {
    QueueRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.byThread.erase(q->threadId);
  }
  std::deque<std::shared_ptr<SentMessage>> pending;
  {
    std::lock_guard<std::mutex> lock(q->mutex);
    q->alive = false;
    pending.swap(q->incoming);
    q->posted.clear();
    q->input.clear();
    q->timers.clear();
  }
  for (auto& s : pending) Reply(s, 0);
  std::vector<HWND> mine;
  {
    Guard g(Lock());
    for (HWND h : AllWindows())
      if (Window* w = Get(h); w && w->threadId == q->threadId && w->handle != Desktop())
        mine.push_back(h);
  }
  for (HWND h : mine) FreeWindow(h);
}

struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (queue) ThreadEnded(queue);
  }
};

thread_local QueueHolder t_holder;

void Reply(const std::shared_ptr<SentMessage>& s, LRESULT result) {
  std::shared_ptr<ThreadQueue> sender = s->sender;
  if (!sender) {
    s->replied = true;
    return;
  }
  {
    std::lock_guard<std::mutex> lock(sender->mutex);
    if (s->replied) return;
    s->result = result;
    s->replied = true;
    if (s->kind == ISMEX_CALLBACK) sender->replies.push_back(s);
  }
  sender->Signal(QS_SENDMESSAGE);
}

void DeliverCallbacks(ThreadQueue& q) {
  for (;;) {
    std::shared_ptr<SentMessage> s;
    {
      std::lock_guard<std::mutex> lock(q.mutex);
      if (q.replies.empty()) return;
      s = q.replies.front();
      q.replies.pop_front();
    }
    if (s->callback) s->callback(s->hwnd, s->msg, s->callbackData, s->result);
  }
}

bool InRange(UINT msg, UINT min, UINT max) {
  if (min == 0 && max == 0) return true;
  return msg >= min && msg <= max;
}

bool HwndMatches(HWND filter, HWND hwnd) {
  if (filter == nullptr) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return hwnd == nullptr;
  return hwnd == filter || IsChild(filter, hwnd);
}

bool IsKeyMessage(UINT m) { return m >= WM_KEYFIRST && m <= WM_KEYLAST; }
bool IsMouseMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

// Whether a message filter can take a key or mouse message. Raw input is turned into messages
// only for such a filter: a message is addressed by the capture and the windows of the moment it
// is taken, so one cooked early for a peek at paints would miss a capture set just after.
bool FilterTakesInput(UINT min, UINT max) {
  if (min == 0 && max == 0) return true;
  auto overlaps = [min, max](UINT first, UINT last) { return min <= last && max >= first; };
  return overlaps(WM_KEYFIRST, WM_KEYLAST) || overlaps(WM_MOUSEFIRST, WM_MOUSELAST) ||
         overlaps(WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK);
}

// Applies the WH_GETMESSAGE hook; true when the message survives.
void GetMessageHook(MSG* msg, UINT flags) {
  if (HasHook(WH_GETMESSAGE))
    CallHooks(WH_GETMESSAGE, HC_ACTION, flags & PM_REMOVE, reinterpret_cast<LPARAM>(msg));
}

bool TakePosted(ThreadQueue& q, MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  std::lock_guard<std::mutex> lock(q.mutex);
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (!InRange(it->message, min, max) || !HwndMatches(filter, it->hwnd)) continue;
    *out = *it;
    if (remove) q.posted.erase(it);
    return true;
  }
  return false;
}

bool TakeQuit(ThreadQueue& q, MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  std::lock_guard<std::mutex> lock(q.mutex);
  if (!q.quitPosted || filter != nullptr || !InRange(WM_QUIT, min, max)) return false;
  *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, Now(), q.lastPos};
  if (remove) q.quitPosted = false;
  return true;
}

bool TakeTimer(ThreadQueue& q, MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  DWORD now = Now();
  std::lock_guard<std::mutex> lock(q.mutex);
  Timer* best = nullptr;
  for (Timer& t : q.timers) {
    if (static_cast<int>(now - t.due) < 0) continue;
    if (!InRange(t.isSystem ? WM_SYSTIMER : WM_TIMER, min, max) || !HwndMatches(filter, t.hwnd))
      continue;
    if (best == nullptr || static_cast<int>(t.due - best->due) < 0) best = &t;
  }
  if (best == nullptr) return false;
  *out = MSG{best->hwnd, best->isSystem ? WM_SYSTIMER : WM_TIMER, best->id,
             reinterpret_cast<LPARAM>(best->proc), now, q.lastPos};
  if (remove) best->due = now + best->elapse;
  return true;
}

}  // namespace

void ThreadQueue::Signal(DWORD qsBits) {
  {
    std::lock_guard<std::mutex> lock(mutex);
    changed |= qsBits;
    arrived |= qsBits;
    ++wakeSerial;
  }
  NotifyWaiters();
}

DWORD ThreadId() { return ::GetCurrentThreadId(); }

long ProcessId() { return static_cast<long>(getpid()); }

DWORD Now() { return GetTickCount(); }

const std::shared_ptr<ThreadQueue>& CurrentQueue() {
  if (!t_holder.queue) {
    t_holder.queue = std::make_shared<ThreadQueue>(ThreadId());
    QueueRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.byThread[t_holder.queue->threadId] = t_holder.queue;
  }
  return t_holder.queue;
}

std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId) {
  QueueRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.byThread.find(threadId);
  return it == r.byThread.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<ThreadQueue>> AllQueues() {
  QueueRegistry& r = Registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::vector<std::shared_ptr<ThreadQueue>> out;
  for (auto& [id, q] : r.byThread) out.push_back(q);
  return out;
}

void WakeAll(DWORD qsBits) {
  for (auto& q : AllQueues()) q->Signal(qsBits);
}

LRESULT CallWndProcDirect(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (proc == nullptr) return DefWindowProc(hwnd, msg, wParam, lParam);
  return proc(hwnd, msg, wParam, lParam);
}

LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr) return 0;
    proc = w->proc;
  }
  return CallProcWithHooks(proc, hwnd, msg, wParam, lParam);
}

LRESULT CallProcWithHooks(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (HasHook(WH_CALLWNDPROC)) {
    CWPSTRUCT cwp{lParam, wParam, msg, hwnd};
    CallHooks(WH_CALLWNDPROC, HC_ACTION, CurrentQueue()->receiving.empty() ? 0 : 1,
              reinterpret_cast<LPARAM>(&cwp));
  }
  LRESULT result = CallWndProcDirect(proc, hwnd, msg, wParam, lParam);
  if (HasHook(WH_CALLWNDPROCRET)) {
    CWPRETSTRUCT ret{result, lParam, wParam, msg, hwnd};
    CallHooks(WH_CALLWNDPROCRET, HC_ACTION, CurrentQueue()->receiving.empty() ? 0 : 1,
              reinterpret_cast<LPARAM>(&ret));
  }
  return result;
}

bool ServeIncoming(ThreadQueue& q) {
  bool served = false;
  for (;;) {
    std::shared_ptr<SentMessage> s;
    {
      std::lock_guard<std::mutex> lock(q.mutex);
      if (q.incoming.empty()) return served;
      s = q.incoming.front();
      q.incoming.pop_front();
    }
    LRESULT result = 0;
    bool mine;
    {
      Guard g(Lock());
      Window* w = Get(s->hwnd);
      mine = w != nullptr && w->threadId == q.threadId;
    }
    if (mine) {
      q.receiving.push_back(s);
      result = CallProc(s->hwnd, s->msg, s->wParam, s->lParam);
      q.receiving.pop_back();
    }
    Reply(s, result);
    served = true;
  }
}

std::uint64_t WakeSerial(ThreadQueue& q) {
  std::lock_guard<std::mutex> lock(q.mutex);
  return q.wakeSerial;
}

void WaitSince(ThreadQueue& q, std::uint64_t serial, DWORD timeoutMs) {
  Backend& backend = GetBackend();
  if (backend.HasEventSource() && (timeoutMs == INFINITE || timeoutMs > 10)) timeoutMs = 10;
  WaitForObjects({}, false, timeoutMs, [&q, serial]() {
    std::lock_guard<std::mutex> lock(q.mutex);
    return q.wakeSerial != serial || !q.incoming.empty();
  });
}

DWORD NextTimerDelay(ThreadQueue& q, bool raw) {
  DWORD now = Now();
  std::lock_guard<std::mutex> lock(q.mutex);
  DWORD best = INFINITE;
  for (const Timer& t : q.timers) {
    int left = static_cast<int>(t.due - now);
    DWORD d = left <= 0 ? 0 : static_cast<DWORD>(left);
    best = std::min(best, d);
  }
  // On the virtual clock time moves only when a test advances it, which wakes every queue.
  if (!raw && best != 0 && VirtualClock::IsEnabled()) return INFINITE;
  return best;
}

bool HasPending(ThreadQueue& q) {
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    if (!q.incoming.empty() || !q.posted.empty() || !q.input.empty() || q.quitPosted ||
        !q.replies.empty())
      return true;
  }
  if (FindPaintWindow(q, nullptr)) return true;
  return NextTimerDelay(q) == 0;
}

bool PeekCore(MSG* out, HWND filter, UINT min, UINT max, UINT flags) {
  std::shared_ptr<ThreadQueue> qp = CurrentQueue();
  ThreadQueue& q = *qp;
  bool remove = (flags & PM_REMOVE) != 0;
  // PM_QS_ flags limit what is looked at, messages sent from other threads included.
  UINT kinds = flags >> 16;
  if (kinds == 0) kinds = QS_ALLINPUT | QS_ALLPOSTMESSAGE;
  ShowHeldDesktopDrawing();
  GetBackend().PumpEvents();
  for (;;) {
    if (kinds & QS_SENDMESSAGE) ServeIncoming(q);
    DeliverCallbacks(q);
    MSG msg{};
    bool found = false;
    if (kinds & (QS_POSTMESSAGE | QS_ALLPOSTMESSAGE))
      found = TakePosted(q, &msg, filter, min, max, remove) ||
              TakeQuit(q, &msg, filter, min, max, remove);
    if (!found && (kinds & QS_INPUT)) {
      bool discarded = false;
      for (;;) {
        {
          std::lock_guard<std::mutex> lock(q.mutex);
          for (auto it = q.input.begin(); it != q.input.end(); ++it) {
            if (!InRange(it->message, min, max) || !HwndMatches(filter, it->hwnd)) continue;
            msg = *it;
            found = true;
            if (remove) q.input.erase(it);
            break;
          }
        }
        if (found || !FilterTakesInput(min, max) || !CookInput()) break;
      }
      if (found && remove) {
        if (IsKeyMessage(msg.message)) {
          UpdateKeyState(q, msg);
          if (HasHook(WH_KEYBOARD) &&
              CallHooks(WH_KEYBOARD, HC_ACTION, msg.wParam, msg.lParam) != 0)
            discarded = true;
        } else if (IsMouseMessage(msg.message)) {
          UpdateKeyState(q, msg);
        }
        if (IsMouseMessage(msg.message) && HasHook(WH_MOUSE)) {
          MOUSEHOOKSTRUCT mh{msg.pt, msg.hwnd, HTCLIENT, 0};
          if (CallHooks(WH_MOUSE, HC_ACTION, msg.message, reinterpret_cast<LPARAM>(&mh)) != 0)
            discarded = true;
        }
      }
      if (discarded) continue;
    }
    if (!found && (kinds & QS_PAINT) && InRange(WM_PAINT, min, max)) {
      if (HWND h = FindPaintWindow(q, filter)) {
        msg = MSG{h, WM_PAINT, 0, 0, Now(), q.lastPos};
        found = true;
      }
    }
    if (!found && (kinds & QS_TIMER)) found = TakeTimer(q, &msg, filter, min, max, remove);
    if (!found) return false;
    if (remove) {
      q.lastTime = msg.time;
      q.lastPos = msg.pt;
      q.current = msg;
    }
    GetMessageHook(&msg, flags);
    *out = msg;
    return true;
  }
}

void RemoveMessagesFor(HWND hwnd) {
  for (auto& q : AllQueues()) {
    std::lock_guard<std::mutex> lock(q->mutex);
    auto gone = [hwnd](const MSG& m) { return m.hwnd == hwnd; };
    q->posted.erase(std::remove_if(q->posted.begin(), q->posted.end(), gone), q->posted.end());
    q->input.erase(std::remove_if(q->input.begin(), q->input.end(), gone), q->input.end());
    q->timers.erase(std::remove_if(q->timers.begin(), q->timers.end(),
                                   [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                    q->timers.end());
  }
}

LRESULT SendToThread(const std::shared_ptr<ThreadQueue>& target, HWND hwnd, UINT msg,
                     WPARAM wParam, LPARAM lParam, DWORD kind, DWORD timeoutMs, bool* timedOut,
                     SENDASYNCPROC callback, ULONG_PTR data) {
  if (timedOut) *timedOut = false;
  auto s = std::make_shared<SentMessage>();
  s->hwnd = hwnd;
  s->msg = msg;
  s->wParam = wParam;
  s->lParam = lParam;
  s->kind = kind;
  s->callback = callback;
  s->callbackData = data;
  std::shared_ptr<ThreadQueue> me = CurrentQueue();
  if (kind != ISMEX_NOTIFY) s->sender = me;
  {
    std::lock_guard<std::mutex> lock(target->mutex);
    if (!target->alive) return 0;
    target->incoming.push_back(s);
  }
  target->Signal(QS_SENDMESSAGE);
  if (kind != ISMEX_SEND) return 0;
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    ServeIncoming(*me);
    std::uint64_t serial;
    {
      std::lock_guard<std::mutex> lock(me->mutex);
      if (s->replied) return s->result;
      if (!me->incoming.empty()) continue;
      serial = me->wakeSerial;
    }
    DWORD wait = INFINITE;
    if (timeoutMs != INFINITE) {
      auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now() - start).count();
      if (spent >= timeoutMs) {
        if (timedOut) *timedOut = true;
        return 0;
      }
      wait = static_cast<DWORD>(timeoutMs - spent);
    }
    WaitSince(*me, serial, wait);
  }
}

}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt::wm;

namespace {

// The queue of the other thread that owns `hwnd` (null when it is the calling thread's window or
// the desktop); false when `hwnd` is no window. `proc`, when asked for, gets the window's
// procedure in the same look-up, for a message the calling thread delivers itself.
bool OwnerQueue(HWND hwnd, std::shared_ptr<ThreadQueue>& target, WNDPROC* proc = nullptr) {
  Guard g(Lock());
  Window* w = CheckedLocked(hwnd);
  if (w == nullptr) return false;
  if (w->threadId != ThreadId() && hwnd != Desktop()) target = w->queue;
  else target = nullptr;
  if (proc != nullptr) *proc = w->proc;
  return true;
}

}  // namespace

namespace {

// HWND_TOPMOST as the target of a message broadcasts as HWND_BROADCAST does.
bool IsBroadcast(HWND hwnd) { return hwnd == HWND_BROADCAST || hwnd == HWND_TOPMOST; }

// The windows a broadcast message goes to: every top-level window (pop-ups, hidden and owned ones
// included), never a child, not even one of the desktop, nor a message-only window. Messages of
// the private ranges (WM_USER..0xBFFF) mean something different to each class and go nowhere.
std::vector<HWND> BroadcastTargets(UINT msg) {
  if (msg >= WM_USER && msg < 0xC000) return {};
  Guard g(Lock());
  std::vector<HWND> tops;
  for (HWND h : Get(Desktop())->children)
    if (Window* w = Get(h); w && !(w->style & WS_CHILD) && !w->messageOnly) tops.push_back(h);
  return tops;
}

}  // namespace

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsBroadcast(hwnd)) {
    for (HWND h : BroadcastTargets(msg)) {
      DWORD_PTR ignored;
      SendMessageTimeout(h, msg, wParam, lParam, SMTO_NORMAL, 5000, &ignored);
    }
    return 1;
  }
  std::shared_ptr<ThreadQueue> target;
  WNDPROC proc = nullptr;
  if (!OwnerQueue(hwnd, target, &proc)) return 0;
  if (!target) return CallProcWithHooks(proc, hwnd, msg, wParam, lParam);
  return SendToThread(target, hwnd, msg, wParam, lParam, ISMEX_SEND, INFINITE, nullptr);
}

LRESULT SendMessageTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                           UINT timeout, PDWORD_PTR result) {
  if (IsBroadcast(hwnd)) {
    // Each window gets the whole timeout; one that does not answer in time is passed over.
    for (HWND h : BroadcastTargets(msg)) SendMessageTimeout(h, msg, wParam, lParam, flags, timeout, nullptr);
    if (result) *result = 0;
    return 1;
  }
  std::shared_ptr<ThreadQueue> target;
  if (!OwnerQueue(hwnd, target)) return 0;
  LRESULT r;
  if (!target) {
    r = CallProc(hwnd, msg, wParam, lParam);
  } else {
    bool timedOut = false;
    r = SendToThread(target, hwnd, msg, wParam, lParam, ISMEX_SEND, timeout, &timedOut);
    if (timedOut) {
      SetLastError(ERROR_TIMEOUT);
      return 0;
    }
  }
  if (result) *result = static_cast<DWORD_PTR>(r);
  return 1;
}

BOOL SendNotifyMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsBroadcast(hwnd)) {
    for (HWND h : BroadcastTargets(msg)) SendNotifyMessage(h, msg, wParam, lParam);
    return TRUE;
  }
  std::shared_ptr<ThreadQueue> target;
  if (!OwnerQueue(hwnd, target)) return FALSE;
  if (!target) {
    CallProc(hwnd, msg, wParam, lParam);
    return TRUE;
  }
  SendToThread(target, hwnd, msg, wParam, lParam, ISMEX_NOTIFY, 0, nullptr);
  return TRUE;
}

BOOL SendMessageCallback(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                         SENDASYNCPROC callback, ULONG_PTR data) {
  if (IsBroadcast(hwnd)) {
    for (HWND h : BroadcastTargets(msg)) SendMessageCallback(h, msg, wParam, lParam, callback, data);
    return TRUE;
  }
  std::shared_ptr<ThreadQueue> target;
  if (!OwnerQueue(hwnd, target)) return FALSE;
  if (!target) {
    LRESULT r = CallProc(hwnd, msg, wParam, lParam);
    if (callback) callback(hwnd, msg, data, r);
    return TRUE;
  }
  SendToThread(target, hwnd, msg, wParam, lParam, ISMEX_CALLBACK, 0, nullptr, callback, data);
  return TRUE;
}

namespace {

// The system messages whose parameters point at the sender's memory: they cannot wait in a queue,
// so posting them fails.
bool CarriesPointer(UINT msg) {
  switch (msg) {
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_NCCALCSIZE:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_COPYDATA:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
    case WM_HELP:
    case WM_SIZING:
    case WM_MOVING:
    case WM_MDICREATE:
      return true;
    default:
      return false;
  }
}

BOOL PostTo(const std::shared_ptr<ThreadQueue>& q, HWND hwnd, UINT msg, WPARAM wParam,
            LPARAM lParam) {
  if (CarriesPointer(msg)) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  POINT pt{};
  GetCursorPos(&pt);
  {
    std::lock_guard<std::mutex> lock(q->mutex);
    if (!q->alive) return FALSE;
    q->posted.push_back(MSG{hwnd, msg, wParam, lParam, Now(), pt});
  }
  q->Signal(QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
  return TRUE;
}

}  // namespace

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == nullptr) return PostThreadMessage(ThreadId(), msg, wParam, lParam);
  if (IsBroadcast(hwnd)) {
    for (HWND h : BroadcastTargets(msg)) PostMessage(h, msg, wParam, lParam);
    return TRUE;
  }
  std::shared_ptr<ThreadQueue> q;
  {
    Guard g(Lock());
    Window* w = Get(hwnd);
    if (w == nullptr || !w->queue) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    q = w->queue;
  }
  return PostTo(q, hwnd, msg, wParam, lParam);
}

BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<ThreadQueue> q =
      threadId == ThreadId() ? CurrentQueue() : QueueOf(threadId);
  if (!q) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  return PostTo(q, nullptr, msg, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  {
    std::lock_guard<std::mutex> lock(q->mutex);
    q->quitPosted = true;
    q->quitCode = exitCode;
  }
  q->Signal(QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
}

namespace {

// A window filter must name a window (or be null, or -1 for thread messages): a loop filtering on
// a window destroyed meanwhile would otherwise wait for messages that can never come.
bool FilterIsValid(HWND filter) {
  if (filter == nullptr || filter == reinterpret_cast<HWND>(-1) || IsWindow(filter)) return true;
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return false;
}

}  // namespace

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!FilterIsValid(hwnd)) return FALSE;
  MSG local;
  return PeekCore(msg ? msg : &local, hwnd, filterMin, filterMax, removeFlags) ? TRUE : FALSE;
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  MSG local;
  if (msg == nullptr) msg = &local;
  for (;;) {
    if (!FilterIsValid(hwnd)) return -1;
    std::uint64_t serial = WakeSerial(*q);
    if (PeekCore(msg, hwnd, filterMin, filterMax, PM_REMOVE))
      return msg->message == WM_QUIT ? FALSE : TRUE;
    if (RunIdleWaitHook()) continue;
    // A message served just now may have destroyed the window waited for.
    if (!FilterIsValid(hwnd)) return -1;
    WaitSince(*q, serial, NextTimerDelay(*q));
  }
}

LRESULT DispatchMessage(const MSG* msg) {
  if (msg == nullptr) return 0;
  if ((msg->message == WM_TIMER || msg->message == WM_SYSTIMER) && msg->lParam != 0) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, msg->message, msg->wParam, Now());
    return 0;
  }
  if (msg->hwnd == nullptr) return 0;
  WNDPROC proc;
  {
    Guard g(Lock());
    Window* w = Get(msg->hwnd);
    if (w == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    if (w->threadId != ThreadId() && msg->hwnd != Desktop()) return 0;
    proc = w->proc;
  }
  return CallWndProcDirect(proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WaitMessage() {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  std::uint64_t serial = WakeSerial(*q);
  // A sent message served here ends the wait: what it did (a dialog it closed) is for the
  // caller's loop to see.
  if (ServeIncoming(*q)) return TRUE;
  // Input injected before the wait that no queue has taken yet (a WM_ENTERIDLE handler's
  // keybd_event) is there for the caller's next PeekMessage, which hands it out.
  if (HasPending(*q) || brambolt::PendingInputEvents() > 0 || RunIdleWaitHook()) return TRUE;
  WaitSince(*q, serial, NextTimerDelay(*q));
  return TRUE;
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds,
                                  DWORD wakeMask, DWORD flags) {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  bool waitAll = (flags & MWMO_WAITALL) != 0;
  bool inputAvailable = (flags & MWMO_INPUTAVAILABLE) != 0;
  if (!inputAvailable) {
    std::lock_guard<std::mutex> lock(q->mutex);
    q->arrived = 0;
  }
  // New arrivals of the asked kinds end the wait; with MWMO_INPUTAVAILABLE so does anything
  // already waiting. Paint and due timers are states, not arrivals.
  auto ready = [&q, wakeMask, inputAvailable]() {
    std::lock_guard<std::mutex> lock(q->mutex);
    if (q->arrived & wakeMask) return true;
    if (!inputAvailable) return false;
    if ((wakeMask & QS_INPUT) && !q->input.empty()) return true;
    return (wakeMask & (QS_POSTMESSAGE | QS_ALLPOSTMESSAGE)) && (!q->posted.empty() || q->quitPosted);
  };
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    // Messages sent to this thread are served whatever the mask: a sender never waits on a
    // thread that is itself waiting.
    ServeIncoming(*q);
    if (!waitAll && (ready() || ((wakeMask & QS_PAINT) && FindPaintWindow(*q, nullptr)) ||
                     ((wakeMask & QS_TIMER) && NextTimerDelay(*q) == 0)))
      return WAIT_OBJECT_0 + count;
    DWORD remaining = INFINITE;
    if (milliseconds != INFINITE) {
      auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now() - start).count();
      remaining = spent >= milliseconds ? 0 : static_cast<DWORD>(milliseconds - spent);
    }
    DWORD slice = remaining;
    if (wakeMask & QS_TIMER) slice = std::min(slice, NextTimerDelay(*q));
    if (GetBackend().HasEventSource()) slice = std::min<DWORD>(slice, 10);
    DWORD r = WaitForHandles(count, handles, waitAll, slice, [&q, &ready]() {
      if (ready()) return true;
      std::lock_guard<std::mutex> lock(q->mutex);
      return !q->incoming.empty();
    });
    if (r == WAIT_FAILED) return r;
    if (r == WAIT_OBJECT_0 + count) {
      if (waitAll) return r;
      continue;
    }
    if (r != WAIT_TIMEOUT) return r;
    ShowHeldDesktopDrawing();
    GetBackend().PumpEvents();
    if (remaining == 0) return WAIT_TIMEOUT;
  }
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                DWORD milliseconds, DWORD wakeMask) {
  return MsgWaitForMultipleObjectsEx(count, handles, milliseconds, wakeMask,
                                     waitAll ? MWMO_WAITALL : 0);
}

BOOL InSendMessage() { return CurrentQueue()->receiving.empty() ? FALSE : TRUE; }

DWORD InSendMessageEx(LPVOID) {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  if (q->receiving.empty()) return ISMEX_NOSEND;
  const auto& s = q->receiving.back();
  DWORD result = s->kind;
  if (s->sender) {
    std::lock_guard<std::mutex> lock(s->sender->mutex);
    if (s->replied) result |= ISMEX_REPLIED;
  }
  return result;
}

BOOL ReplyMessage(LRESULT result) {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  if (q->receiving.empty()) return FALSE;
  Reply(q->receiving.back(), result);
  return TRUE;
}

DWORD GetMessagePos() {
  POINT p = CurrentQueue()->lastPos;
  return static_cast<DWORD>(MAKELONG(static_cast<short>(p.x), static_cast<short>(p.y)));
}

LONG GetMessageTime() { return static_cast<LONG>(CurrentQueue()->lastTime); }

LPARAM GetMessageExtraInfo() { return CurrentQueue()->extraInfo; }

LPARAM SetMessageExtraInfo(LPARAM lParam) {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  LPARAM old = q->extraInfo;
  q->extraInfo = lParam;
  return old;
}

DWORD GetQueueStatus(UINT flags) {
  std::shared_ptr<ThreadQueue> q = CurrentQueue();
  DWORD current = 0;
  bool paint = FindPaintWindow(*q, nullptr) != nullptr;
  bool timer = NextTimerDelay(*q) == 0;
  std::lock_guard<std::mutex> lock(q->mutex);
  if (!q->incoming.empty()) current |= QS_SENDMESSAGE;
  if (!q->posted.empty() || q->quitPosted) current |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  for (const MSG& m : q->input)
    current |= (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST)
                   ? QS_KEY
                   : (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE ? QS_MOUSEMOVE
                                                                              : QS_MOUSEBUTTON);
  if (paint) current |= QS_PAINT;
  if (timer) current |= QS_TIMER;
  // High word: what the queue holds; low word: what came since the last call and is still there.
  DWORD changed = q->changed & flags & current;
  q->changed &= ~flags;
  return MAKELONG(changed, current & flags);
}

BOOL GetInputState() { return (HIWORD(GetQueueStatus(QS_INPUT)) & QS_INPUT) ? TRUE : FALSE; }

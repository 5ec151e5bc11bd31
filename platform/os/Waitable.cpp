// The wait shared by every waitable object, and the per-thread state that tells objects when a
// thread ends.
#include "os/Waitable.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <vector>

#include "base/LastError.h"
#include "os/Threads.h"

namespace brambolt {

namespace {

// The shared state below is never destroyed: threads still blocked in a wait when the program
// ends would otherwise hang the destruction of the condition at exit.
std::condition_variable& WaitCondition() {
  static auto* condition = new std::condition_variable;
  return *condition;
}

// A wait in progress, listed so that PulseEvent can reach the waits present at that instant.
struct WaitRecord {
  std::span<const std::shared_ptr<Waitable>> objects;
  bool waitAll = false;
  int pulsedIndex = -1;
};

// Guarded by WaitLock().
std::vector<WaitRecord*>& CurrentWaits() {
  static auto* waits = new std::vector<WaitRecord*>;
  return *waits;
}

std::atomic<DWORD> g_nextThreadId{1};

struct ThreadState {
  ThreadState() : id(NewThreadId()) {}
  ~ThreadState() {
    std::lock_guard<std::mutex> lock(WaitLock());
    // An object told may unregister others; take the list first.
    std::vector<std::shared_ptr<Waitable>> watchers = std::move(exitWatchers);
    for (auto it = watchers.rbegin(); it != watchers.rend(); ++it) (*it)->OnThreadExit(id);
    WaitCondition().notify_all();
  }
  DWORD id = 0;
  std::vector<std::shared_ptr<Waitable>> exitWatchers;  // guarded by WaitLock()
};

thread_local ThreadState t_thread;

bool HasDuplicates(std::span<const std::shared_ptr<Waitable>> objects) {
  for (std::size_t i = 0; i < objects.size(); ++i)
    for (std::size_t j = i + 1; j < objects.size(); ++j)
      if (objects[i] == objects[j]) return true;
  return false;
}

// Looks whether the wait is satisfied and takes the objects when it is. WaitLock() is held.
bool TrySatisfy(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll,
                const std::function<bool()>& alsoWakeWhen, DWORD self, DWORD& result) {
  if (waitAll) {
    for (const auto& object : objects)
      if (!object->IsSignaled(self)) return false;
    if (alsoWakeWhen && !alsoWakeWhen()) return false;
    int abandoned = -1;
    for (std::size_t i = 0; i < objects.size(); ++i)
      if (objects[i]->Acquire(self) && abandoned < 0) abandoned = static_cast<int>(i);
    result = abandoned >= 0 ? WAIT_ABANDONED_0 + abandoned : WAIT_OBJECT_0;
    return true;
  }
  for (std::size_t i = 0; i < objects.size(); ++i) {
    if (!objects[i]->IsSignaled(self)) continue;
    const bool abandoned = objects[i]->Acquire(self);
    result = static_cast<DWORD>((abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + i);
    return true;
  }
  if (alsoWakeWhen && alsoWakeWhen()) {
    result = static_cast<DWORD>(WAIT_OBJECT_0 + objects.size());
    return true;
  }
  return false;
}

}  // namespace

std::mutex& WaitLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

void NotifyWaitersLocked() { WaitCondition().notify_all(); }

DWORD NewThreadId() {
  // Ids step by 4 as Windows gives them; 0 is never an id.
  return g_nextThreadId.fetch_add(1) * 4;
}

void AdoptThreadId(DWORD id) { t_thread.id = id; }

DWORD CurrentThreadId() { return t_thread.id; }

void BlockUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready) {
  WaitCondition().wait(lock, ready);
}

void WatchThreadExit(std::shared_ptr<Waitable> object) {
  t_thread.exitWatchers.push_back(std::move(object));
}

void UnwatchThreadExit(const Waitable* object) {
  auto& watchers = t_thread.exitWatchers;
  auto it = std::find_if(watchers.rbegin(), watchers.rend(),
                         [object](const auto& w) { return w.get() == object; });
  if (it != watchers.rend()) watchers.erase(std::next(it).base());
}

DWORD WaitForObjects(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll,
                     DWORD milliseconds, const std::function<bool()>& alsoWakeWhen) {
  if (waitAll && HasDuplicates(objects)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  const DWORD self = CurrentThreadId();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  std::unique_lock<std::mutex> lock(WaitLock());
  WaitRecord record{objects, waitAll};
  auto& waits = CurrentWaits();
  waits.push_back(&record);
  struct Unlist {
    std::vector<WaitRecord*>& waits;
    WaitRecord* record;
    ~Unlist() { waits.erase(std::find(waits.begin(), waits.end(), record)); }
  } unlist{waits, &record};

  for (;;) {
    if (record.pulsedIndex >= 0) return WAIT_OBJECT_0 + record.pulsedIndex;
    DWORD result = WAIT_FAILED;
    if (TrySatisfy(objects, waitAll, alsoWakeWhen, self, result)) return result;
    if (milliseconds == 0) return WAIT_TIMEOUT;
    if (milliseconds == INFINITE) {
      WaitCondition().wait(lock);
    } else if (WaitCondition().wait_until(lock, deadline) == std::cv_status::timeout) {
      if (record.pulsedIndex >= 0) return WAIT_OBJECT_0 + record.pulsedIndex;
      return TrySatisfy(objects, waitAll, alsoWakeWhen, self, result) ? result : WAIT_TIMEOUT;
    }
  }
}

std::shared_ptr<Waitable> LookupWaitable(HANDLE handle) {
  if (handle == GetCurrentThread()) return CurrentThreadObject();
  return std::dynamic_pointer_cast<Waitable>(LookupHandle(handle));
}

DWORD WaitForHandles(DWORD count, const HANDLE* handles, bool waitAll, DWORD milliseconds,
                     const std::function<bool()>& alsoWakeWhen) {
  if (count > MAXIMUM_WAIT_OBJECTS || (count == 0 && !alsoWakeWhen) || (count && !handles)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<Waitable>> objects;
  objects.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    std::shared_ptr<Waitable> object = LookupWaitable(handles[i]);
    if (!object) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }
  return WaitForObjects(objects, waitAll, milliseconds, alsoWakeWhen);
}

void NotifyWaiters() {
  std::lock_guard<std::mutex> lock(WaitLock());
  WaitCondition().notify_all();
}

void ReleaseCurrentWaiters(const Waitable* object, bool all) {
  for (WaitRecord* wait : CurrentWaits()) {
    if (wait->waitAll || wait->pulsedIndex >= 0) continue;
    auto it = std::find_if(wait->objects.begin(), wait->objects.end(),
                           [object](const auto& o) { return o.get() == object; });
    if (it == wait->objects.end()) continue;
    wait->pulsedIndex = static_cast<int>(it - wait->objects.begin());
    if (!all) break;
  }
  WaitCondition().notify_all();
}

}  // namespace brambolt

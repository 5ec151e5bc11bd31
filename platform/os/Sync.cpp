// Events, mutexes, semaphores, the process's name space for them, and critical sections.
#include "os/Sync.h"

#include <map>
#include <string>

#include "base/LastError.h"
#include "os/Threads.h"

namespace brambolt {

namespace {

class Event : public Waitable {
 public:
  Event(bool manualReset, bool signaled)
      : Waitable(Type::Event), manualReset(manualReset), signaled(signaled) {}
  bool IsSignaled(DWORD) const override { return signaled; }
  bool Acquire(DWORD) override {
    if (!manualReset) signaled = false;
    return false;
  }
  const bool manualReset;
  bool signaled;  // guarded by WaitLock()
};

class Mutex : public Waitable {
 public:
  Mutex() : Waitable(Type::Mutex) {}
  bool IsSignaled(DWORD threadId) const override { return owner == 0 || owner == threadId; }
  bool Acquire(DWORD threadId) override {
    if (owner == threadId) {
      ++recursion;
      return false;
    }
    owner = threadId;
    recursion = 1;
    WatchThreadExit(shared_from_this());
    const bool wasAbandoned = abandoned;
    abandoned = false;
    return wasAbandoned;
  }
  void OnThreadExit(DWORD threadId) override {
    if (owner != threadId) return;
    owner = 0;
    recursion = 0;
    abandoned = true;
    NotifyWaitersLocked();
  }
  // Guarded by WaitLock().
  DWORD owner = 0;
  DWORD recursion = 0;
  bool abandoned = false;
};

class Semaphore : public Waitable {
 public:
  Semaphore(LONG count, LONG maximum) : Waitable(Type::Semaphore), count(count), maximum(maximum) {}
  bool IsSignaled(DWORD) const override { return count > 0; }
  bool Acquire(DWORD) override {
    --count;
    return false;
  }
  LONG count;  // guarded by WaitLock()
  const LONG maximum;
};

// Named events, mutexes and semaphores of the process.
struct NameSpace {
  std::mutex mutex;
  std::map<std::string, std::weak_ptr<Waitable>> objects;
};

// Never destroyed, so that threads still running at exit may look names up.
NameSpace& Names() {
  static auto* names = new NameSpace;
  return *names;
}

// Creates an object, or opens the one that holds `name` already. `make` builds the new object.
template <class Make>
HANDLE CreateNamed(LPCSTR name, KernelObject::Type type, Make make) {
  if (!name || !*name) {
    HANDLE handle = AllocHandle(make());
    SetLastError(ERROR_SUCCESS);
    return handle;
  }
  NameSpace& names = Names();
  std::lock_guard<std::mutex> lock(names.mutex);
  std::weak_ptr<Waitable>& slot = names.objects[name];
  if (std::shared_ptr<Waitable> existing = slot.lock()) {
    if (existing->GetType() != type) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    HANDLE handle = AllocHandle(existing);
    SetLastError(ERROR_ALREADY_EXISTS);
    return handle;
  }
  std::shared_ptr<Waitable> object = make();
  slot = object;
  HANDLE handle = AllocHandle(object);
  SetLastError(ERROR_SUCCESS);
  return handle;
}

HANDLE OpenNamed(LPCSTR name, KernelObject::Type type) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  NameSpace& names = Names();
  std::lock_guard<std::mutex> lock(names.mutex);
  auto it = names.objects.find(name);
  std::shared_ptr<Waitable> object = it == names.objects.end() ? nullptr : it->second.lock();
  if (!object) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  if (object->GetType() != type) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return AllocHandle(object);
}

template <class T>
std::shared_ptr<T> Lookup(HANDLE handle, KernelObject::Type type) {
  std::shared_ptr<KernelObject> found = LookupHandle(handle);
  std::shared_ptr<T> object =
      found && found->GetType() == type ? std::dynamic_pointer_cast<T>(found) : nullptr;
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

std::recursive_mutex& LockOf(LPCRITICAL_SECTION section) {
  return *static_cast<std::recursive_mutex*>(section->LockSemaphore);
}

void InitSection(LPCRITICAL_SECTION section, DWORD spinCount) {
  section->DebugInfo = nullptr;
  section->LockCount = -1;
  section->RecursionCount = 0;
  section->OwningThread = nullptr;
  section->LockSemaphore = new std::recursive_mutex;
  section->SpinCount = spinCount;
}

// Called by the owner just after it got the lock.
void NoteEntered(LPCRITICAL_SECTION section) {
  if (++section->RecursionCount == 1)
    section->OwningThread = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(CurrentThreadId()));
}

}  // namespace

}  // namespace brambolt

using brambolt::KernelObject;
using brambolt::WaitLock;

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName) {
  return brambolt::CreateNamed(lpName, KernelObject::Type::Event, [&] {
    return std::make_shared<brambolt::Event>(bManualReset != FALSE, bInitialState != FALSE);
  });
}

HANDLE OpenEvent(DWORD, BOOL, LPCSTR lpName) {
  return brambolt::OpenNamed(lpName, KernelObject::Type::Event);
}

BOOL SetEvent(HANDLE hEvent) {
  auto event = brambolt::Lookup<brambolt::Event>(hEvent, KernelObject::Type::Event);
  if (!event) return FALSE;
  std::lock_guard<std::mutex> lock(WaitLock());
  event->signaled = true;
  brambolt::NotifyWaitersLocked();
  return TRUE;
}

BOOL ResetEvent(HANDLE hEvent) {
  auto event = brambolt::Lookup<brambolt::Event>(hEvent, KernelObject::Type::Event);
  if (!event) return FALSE;
  std::lock_guard<std::mutex> lock(WaitLock());
  event->signaled = false;
  return TRUE;
}

BOOL PulseEvent(HANDLE hEvent) {
  auto event = brambolt::Lookup<brambolt::Event>(hEvent, KernelObject::Type::Event);
  if (!event) return FALSE;
  std::lock_guard<std::mutex> lock(WaitLock());
  brambolt::ReleaseCurrentWaiters(event.get(), event->manualReset);
  event->signaled = false;
  return TRUE;
}

HANDLE CreateMutex(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCSTR lpName) {
  bool created = false;
  std::shared_ptr<brambolt::Mutex> mutex;
  HANDLE handle = brambolt::CreateNamed(lpName, KernelObject::Type::Mutex, [&] {
    created = true;
    mutex = std::make_shared<brambolt::Mutex>();
    return mutex;
  });
  if (handle && created && bInitialOwner) {
    const DWORD error = GetLastError();
    std::lock_guard<std::mutex> lock(WaitLock());
    mutex->Acquire(brambolt::CurrentThreadId());
    SetLastError(error);
  }
  return handle;
}

HANDLE OpenMutex(DWORD, BOOL, LPCSTR lpName) {
  return brambolt::OpenNamed(lpName, KernelObject::Type::Mutex);
}

BOOL ReleaseMutex(HANDLE hMutex) {
  auto mutex = brambolt::Lookup<brambolt::Mutex>(hMutex, KernelObject::Type::Mutex);
  if (!mutex) return FALSE;
  std::lock_guard<std::mutex> lock(WaitLock());
  if (mutex->owner != brambolt::CurrentThreadId()) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  if (--mutex->recursion == 0) {
    mutex->owner = 0;
    brambolt::UnwatchThreadExit(mutex.get());
    brambolt::NotifyWaitersLocked();
  }
  return TRUE;
}

HANDLE CreateSemaphore(LPSECURITY_ATTRIBUTES, LONG lInitialCount, LONG lMaximumCount,
                       LPCSTR lpName) {
  if (lMaximumCount <= 0 || lInitialCount < 0 || lInitialCount > lMaximumCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return brambolt::CreateNamed(lpName, KernelObject::Type::Semaphore, [&] {
    return std::make_shared<brambolt::Semaphore>(lInitialCount, lMaximumCount);
  });
}

HANDLE OpenSemaphore(DWORD, BOOL, LPCSTR lpName) {
  return brambolt::OpenNamed(lpName, KernelObject::Type::Semaphore);
}

BOOL ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount) {
  auto semaphore = brambolt::Lookup<brambolt::Semaphore>(hSemaphore, KernelObject::Type::Semaphore);
  if (!semaphore) return FALSE;
  if (lReleaseCount <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(WaitLock());
  if (lReleaseCount > semaphore->maximum - semaphore->count) {
    SetLastError(ERROR_TOO_MANY_POSTS);
    return FALSE;
  }
  if (lpPreviousCount) *lpPreviousCount = semaphore->count;
  semaphore->count += lReleaseCount;
  brambolt::NotifyWaitersLocked();
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  return brambolt::WaitForHandles(1, &hHandle, false, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll,
                             DWORD dwMilliseconds) {
  return brambolt::WaitForHandles(nCount, lpHandles, bWaitAll != FALSE, dwMilliseconds);
}

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  brambolt::InitSection(lpCriticalSection, 0);
}

BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION lpCriticalSection,
                                           DWORD dwSpinCount) {
  brambolt::InitSection(lpCriticalSection, dwSpinCount);
  return TRUE;
}

void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  brambolt::LockOf(lpCriticalSection).lock();
  brambolt::NoteEntered(lpCriticalSection);
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  if (!brambolt::LockOf(lpCriticalSection).try_lock()) return FALSE;
  brambolt::NoteEntered(lpCriticalSection);
  return TRUE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  if (--lpCriticalSection->RecursionCount == 0) lpCriticalSection->OwningThread = nullptr;
  brambolt::LockOf(lpCriticalSection).unlock();
}

void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  delete &brambolt::LockOf(lpCriticalSection);
  lpCriticalSection->LockSemaphore = nullptr;
}

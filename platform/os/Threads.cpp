// Threads over pthreads, and thread-local storage slots.
#include "os/Threads.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

#include "base/LastError.h"

namespace brambolt {

namespace {

class ThreadObject : public Waitable {
 public:
  ThreadObject() : Waitable(Type::Thread) {}

  bool IsSignaled(DWORD) const override { return finished; }
  void OnThreadExit(DWORD) override {
    finished = true;
    if (!exitCodeSet) exitCode = 0;  // ended without returning or ExitThread
    NotifyWaitersLocked();
  }

  // All guarded by WaitLock().
  DWORD id = 0;
  pid_t kernelId = 0;  // 0 until the thread runs
  DWORD suspendCount = 0;
  bool started = false;    // left the start gate (or is a thread CreateThread did not make)
  bool cancelled = false;  // TerminateThread before it started: the routine never runs
  bool finished = false;
  bool exitCodeSet = false;
  DWORD exitCode = STILL_ACTIVE;
  int priority = THREAD_PRIORITY_NORMAL;
  LPTHREAD_START_ROUTINE routine = nullptr;
  LPVOID parameter = nullptr;
};

thread_local std::shared_ptr<ThreadObject> t_self;

bool IsValidPriority(int priority) {
  switch (priority) {
    case THREAD_PRIORITY_IDLE:
    case THREAD_PRIORITY_LOWEST:
    case THREAD_PRIORITY_BELOW_NORMAL:
    case THREAD_PRIORITY_NORMAL:
    case THREAD_PRIORITY_ABOVE_NORMAL:
    case THREAD_PRIORITY_HIGHEST:
    case THREAD_PRIORITY_TIME_CRITICAL:
      return true;
    default:
      return false;
  }
}

// The idle level becomes the lowest niceness rather than the kernel's idle policy: a thread
// under that policy gets no processor at all while anything else runs, and a worker driving a
// progress dialog would stall for as long as the machine is busy (Windows boosts starving
// threads; Linux never does). Leaving the level again may be refused to an unprivileged
// process, in which case the level is still recorded.
void ApplyPriority(pid_t kernelId, int priority) {
  const int niceness = priority == THREAD_PRIORITY_IDLE ? 19 : 0;
  if (getpriority(PRIO_PROCESS, static_cast<id_t>(kernelId)) != niceness)
    setpriority(PRIO_PROCESS, static_cast<id_t>(kernelId), niceness);
}

// The thread object of a handle; null with ERROR_INVALID_HANDLE when it names no thread.
std::shared_ptr<ThreadObject> ThreadOf(HANDLE handle) {
  if (handle == GetCurrentThread()) {
    CurrentThreadObject();
    return t_self;
  }
  auto thread = std::dynamic_pointer_cast<ThreadObject>(LookupHandle(handle));
  if (!thread) SetLastError(ERROR_INVALID_HANDLE);
  return thread;
}

void* ThreadMain(void* arg) {
  std::shared_ptr<ThreadObject> self = std::move(*static_cast<std::shared_ptr<ThreadObject>*>(arg));
  delete static_cast<std::shared_ptr<ThreadObject>*>(arg);
  LPTHREAD_START_ROUTINE routine;
  LPVOID parameter;
  {
    std::unique_lock<std::mutex> lock(WaitLock());
    AdoptThreadId(self->id);
    t_self = self;
    WatchThreadExit(self);
    self->kernelId = static_cast<pid_t>(syscall(SYS_gettid));
    BlockUntil(lock, [&] { return self->suspendCount == 0 || self->cancelled; });
    if (self->cancelled) return nullptr;
    self->started = true;
    if (self->priority != THREAD_PRIORITY_NORMAL) ApplyPriority(self->kernelId, self->priority);
    routine = self->routine;
    parameter = self->parameter;
  }
  const DWORD code = routine(parameter);
  std::lock_guard<std::mutex> lock(WaitLock());
  self->exitCode = code;
  self->exitCodeSet = true;
  return nullptr;
}

// Thread-local storage: a slot's generation changes when it is allocated again, so a value a
// thread stored under an earlier owner of the slot reads as NULL.
constexpr DWORD kTlsSlots = 1088;

struct TlsSlots {
  std::mutex mutex;
  std::vector<bool> used = std::vector<bool>(kTlsSlots, false);
  std::vector<std::uint64_t> generation = std::vector<std::uint64_t>(kTlsSlots, 0);
};

// Never destroyed, so that threads still running at exit may use their slots.
TlsSlots& Slots() {
  static auto* slots = new TlsSlots;
  return *slots;
}

struct TlsValue {
  std::uint64_t generation = 0;
  LPVOID value = nullptr;
};
thread_local std::vector<TlsValue> t_tls;

// The slot's current generation, or false when the slot is not allocated.
bool SlotGeneration(DWORD index, std::uint64_t& generation) {
  TlsSlots& slots = Slots();
  std::lock_guard<std::mutex> lock(slots.mutex);
  if (index >= kTlsSlots || !slots.used[index]) return false;
  generation = slots.generation[index];
  return true;
}

}  // namespace

std::shared_ptr<Waitable> CurrentThreadObject() {
  if (!t_self) {
    auto self = std::make_shared<ThreadObject>();
    std::lock_guard<std::mutex> lock(WaitLock());
    self->id = CurrentThreadId();
    self->kernelId = static_cast<pid_t>(syscall(SYS_gettid));
    self->started = true;
    WatchThreadExit(self);
    t_self = std::move(self);
  }
  return t_self;
}

}  // namespace brambolt

using brambolt::ThreadObject;
using brambolt::WaitLock;

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T dwStackSize,
                    LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                    DWORD dwCreationFlags, LPDWORD lpThreadId) {
  if (!lpStartAddress) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<ThreadObject>();
  thread->id = brambolt::NewThreadId();
  thread->routine = lpStartAddress;
  thread->parameter = lpParameter;
  thread->suspendCount = (dwCreationFlags & CREATE_SUSPENDED) ? 1 : 0;

  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
  if (dwStackSize > 0)
    pthread_attr_setstacksize(&attr, std::max<std::size_t>(dwStackSize, PTHREAD_STACK_MIN));
  auto* arg = new std::shared_ptr<ThreadObject>(thread);
  pthread_t pthread;
  const int error = pthread_create(&pthread, &attr, brambolt::ThreadMain, arg);
  pthread_attr_destroy(&attr);
  if (error != 0) {
    delete arg;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (lpThreadId) *lpThreadId = thread->id;
  return brambolt::AllocHandle(thread);
}

DWORD ResumeThread(HANDLE hThread) {
  std::shared_ptr<ThreadObject> thread = brambolt::ThreadOf(hThread);
  if (!thread) return static_cast<DWORD>(-1);
  std::lock_guard<std::mutex> lock(WaitLock());
  const DWORD previous = thread->suspendCount;
  if (previous > 0 && --thread->suspendCount == 0) brambolt::NotifyWaitersLocked();
  return previous;
}

DWORD SuspendThread(HANDLE hThread) {
  std::shared_ptr<ThreadObject> thread = brambolt::ThreadOf(hThread);
  if (!thread) return static_cast<DWORD>(-1);
  std::unique_lock<std::mutex> lock(WaitLock());
  const bool self = thread->id == brambolt::CurrentThreadId();
  if (thread->started && !thread->finished && !self) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return static_cast<DWORD>(-1);
  }
  const DWORD previous = thread->suspendCount++;
  if (self) brambolt::BlockUntil(lock, [&] { return thread->suspendCount == 0; });
  return previous;
}

BOOL SetThreadPriority(HANDLE hThread, int nPriority) {
  std::shared_ptr<ThreadObject> thread = brambolt::ThreadOf(hThread);
  if (!thread) return FALSE;
  if (!brambolt::IsValidPriority(nPriority)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(WaitLock());
  thread->priority = nPriority;
  if (thread->started && !thread->finished) brambolt::ApplyPriority(thread->kernelId, nPriority);
  return TRUE;
}

int GetThreadPriority(HANDLE hThread) {
  std::shared_ptr<ThreadObject> thread = brambolt::ThreadOf(hThread);
  if (!thread) return THREAD_PRIORITY_ERROR_RETURN;
  std::lock_guard<std::mutex> lock(WaitLock());
  return thread->priority;
}

DWORD GetCurrentThreadId() { return brambolt::CurrentThreadId(); }

DWORD GetThreadId(HANDLE hThread) {
  std::shared_ptr<ThreadObject> thread = brambolt::ThreadOf(hThread);
  if (!thread) return 0;
  std::lock_guard<std::mutex> lock(WaitLock());
  return thread->id;
}

HANDLE GetCurrentThread() { return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2)); }

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

void ExitThread(DWORD dwExitCode) {
  std::shared_ptr<ThreadObject> self = brambolt::ThreadOf(GetCurrentThread());
  {
    std::lock_guard<std::mutex> lock(WaitLock());
    self->exitCode = dwExitCode;
    self->exitCodeSet = true;
  }
  self.reset();
  // Unwinds the thread's stack (destructors run) and ends it; the exit watchers then signal it.
  pthread_exit(nullptr);
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
  std::shared_ptr<ThreadObject> thread = brambolt::ThreadOf(hThread);
  if (!thread) return FALSE;
  if (!lpExitCode) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(WaitLock());
  *lpExitCode = thread->finished ? thread->exitCode : static_cast<DWORD>(STILL_ACTIVE);
  return TRUE;
}

BOOL TerminateThread(HANDLE hThread, DWORD dwExitCode) {
  std::shared_ptr<ThreadObject> thread = brambolt::ThreadOf(hThread);
  if (!thread) return FALSE;
  std::lock_guard<std::mutex> lock(WaitLock());
  if (thread->finished) return TRUE;
  if (thread->started) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  thread->cancelled = true;
  thread->exitCode = dwExitCode;
  thread->exitCodeSet = true;
  brambolt::NotifyWaitersLocked();
  return TRUE;
}

std::uintptr_t _beginthreadex(void* security, unsigned stackSize,
                              unsigned(WINAPI* startAddress)(void*), void* argList,
                              unsigned initFlag, unsigned* threadId) {
  DWORD id = 0;
  HANDLE handle = CreateThread(static_cast<LPSECURITY_ATTRIBUTES>(security), stackSize,
                               startAddress, argList, initFlag, &id);
  if (handle && threadId) *threadId = id;
  if (!handle) errno = startAddress ? EAGAIN : EINVAL;
  return reinterpret_cast<std::uintptr_t>(handle);
}

void _endthreadex(unsigned retval) { ExitThread(retval); }

DWORD TlsAlloc() {
  brambolt::TlsSlots& slots = brambolt::Slots();
  std::lock_guard<std::mutex> lock(slots.mutex);
  auto it = std::find(slots.used.begin(), slots.used.end(), false);
  if (it == slots.used.end()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return TLS_OUT_OF_INDEXES;
  }
  *it = true;
  const auto index = static_cast<DWORD>(it - slots.used.begin());
  ++slots.generation[index];
  return index;
}

LPVOID TlsGetValue(DWORD dwTlsIndex) {
  std::uint64_t generation = 0;
  if (!brambolt::SlotGeneration(dwTlsIndex, generation)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  auto& values = brambolt::t_tls;
  if (dwTlsIndex >= values.size() || values[dwTlsIndex].generation != generation) return nullptr;
  return values[dwTlsIndex].value;
}

BOOL TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue) {
  std::uint64_t generation = 0;
  if (!brambolt::SlotGeneration(dwTlsIndex, generation)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto& values = brambolt::t_tls;
  if (dwTlsIndex >= values.size()) values.resize(dwTlsIndex + 1);
  values[dwTlsIndex] = {generation, lpTlsValue};
  return TRUE;
}

BOOL TlsFree(DWORD dwTlsIndex) {
  brambolt::TlsSlots& slots = brambolt::Slots();
  std::lock_guard<std::mutex> lock(slots.mutex);
  if (dwTlsIndex >= brambolt::kTlsSlots || !slots.used[dwTlsIndex]) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  slots.used[dwTlsIndex] = false;
  return TRUE;
}

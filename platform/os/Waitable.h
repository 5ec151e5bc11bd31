// Waitable kernel objects (events, mutexes, semaphores, threads, processes, change notifications)
// and the single wait that every Win32 wait function, and the window manager's, is built on.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <span>

#include "base/WinTypes.h"
#include "os/KernelObject.h"

#define STATUS_WAIT_0 0x00000000u
#define STATUS_ABANDONED_WAIT_0 0x00000080u
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_ABANDONED_0 0x00000080u
#define WAIT_TIMEOUT 258u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64
#define STILL_ACTIVE 259

namespace brambolt {

// The state of every waitable object is read and changed under this one lock, so a wait on several
// objects sees them at a single instant and a wait-all takes them all at once.
std::mutex& WaitLock();

class Waitable : public KernelObject, public std::enable_shared_from_this<Waitable> {
 public:
  using KernelObject::KernelObject;

  // Called with WaitLock() held, on the thread that waits.
  virtual bool IsSignaled(DWORD threadId) const = 0;
  // Takes what a satisfied wait consumes (an auto-reset event's signal, a semaphore unit, a
  // mutex's ownership); true when the wait got an abandoned mutex. Called with WaitLock() held.
  virtual bool Acquire(DWORD threadId) {
    (void)threadId;
    return false;
  }
  // Told with WaitLock() held when a thread that registered this object with WatchThreadExit ends.
  virtual void OnThreadExit(DWORD threadId) { (void)threadId; }
};

// Wakes every wait so it looks again; call with WaitLock() held after changing a state.
void NotifyWaitersLocked();

// The calling thread's id (as GetCurrentThreadId), from a counter: unique in the process, never 0.
DWORD CurrentThreadId();

// Asks for object->OnThreadExit when the calling thread ends (with ExitThread, by returning, or
// any other way a thread ends). Call with WaitLock() held. Objects are told in the reverse order of
// registration. UnwatchThreadExit removes one registration of the object.
void WatchThreadExit(std::shared_ptr<Waitable> object);
void UnwatchThreadExit(const Waitable* object);

// Waits until one (waitAll false) or all (waitAll true) of `objects` are signalled, or until
// `milliseconds` have passed (INFINITE waits for ever, 0 only looks). Returns WAIT_OBJECT_0 + i,
// WAIT_ABANDONED_0 + i or WAIT_TIMEOUT; WAIT_FAILED with ERROR_INVALID_PARAMETER when a wait-all
// names one object twice.
//
// `alsoWakeWhen` is how the window manager waits for messages as well: it is evaluated under
// WaitLock() together with the objects. In a wait for any it ends the wait with
// WAIT_OBJECT_0 + objects.size(); in a wait for all it must hold as well as every object. Code
// that makes it true calls NotifyWaiters() afterwards. Since the predicate runs under WaitLock(),
// a lock it takes must never be held while calling anything that takes WaitLock() (SetEvent,
// NotifyWaiters, the waits ...); reading an atomic flag or counter avoids the question.
DWORD WaitForObjects(std::span<const std::shared_ptr<Waitable>> objects, bool waitAll,
                     DWORD milliseconds, const std::function<bool()>& alsoWakeWhen = {});

// WaitForObjects on handles (WaitForMultipleObjects and MsgWaitForMultipleObjects): WAIT_FAILED
// with ERROR_INVALID_PARAMETER for a count of more than MAXIMUM_WAIT_OBJECTS (or of 0 with no
// predicate), with ERROR_INVALID_HANDLE when a handle is not a waitable object.
DWORD WaitForHandles(DWORD count, const HANDLE* handles, bool waitAll, DWORD milliseconds,
                     const std::function<bool()>& alsoWakeWhen = {});

// The waitable object of a handle, including the pseudo-handle of the current thread; null when
// the handle names no waitable object.
std::shared_ptr<Waitable> LookupWaitable(HANDLE handle);

// Blocks, with `lock` (on WaitLock()) held around each look, until `ready` holds. Whatever makes it
// true changes the state under WaitLock() and wakes the waiters (Waitable::WakeWaiters or
// NotifyWaiters).
void BlockUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready);

// Gives the calling thread a thread id taken earlier from NewThreadId (a thread that CreateThread
// made, whose id was known before it ran).
DWORD NewThreadId();
void AdoptThreadId(DWORD id);

// Makes every wait look at its predicate again.
void NotifyWaiters();

// Ends the waits for any object that are waiting on `object` right now, as if it had been
// signalled for them: all of them, or only the first. Call with WaitLock() held (PulseEvent).
void ReleaseCurrentWaiters(const Waitable* object, bool all);

}  // namespace brambolt

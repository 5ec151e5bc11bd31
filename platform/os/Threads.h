// Threads under the Win32 names: creation (optionally suspended), suspend counts, priorities,
// exit codes, thread ids and thread-local storage slots.
//
// SuspendThread stops only a thread that has not started yet (it then starts when its count
// returns to 0) or the calling thread itself (which sleeps until another thread resumes it). A
// running thread cannot be stopped safely from outside on POSIX, so suspending another running
// thread fails with ERROR_CALL_NOT_IMPLEMENTED. TerminateThread likewise only ends a thread that
// has not started; for a running one it fails with ERROR_CALL_NOT_IMPLEMENTED.
#pragma once

#include <cstdint>
#include <memory>

#include "base/WinTypes.h"
#include "os/Waitable.h"

typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;

#define CREATE_SUSPENDED 0x00000004
#define STACK_SIZE_PARAM_IS_A_RESERVATION 0x00010000

#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF

#define TLS_MINIMUM_AVAILABLE 64
#define TLS_OUT_OF_INDEXES 0xFFFFFFFFu

// Starts `lpStartAddress(lpParameter)` on a new thread; with CREATE_SUSPENDED it waits until
// ResumeThread brings its suspend count to 0. The handle is signalled when the thread ends.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                    LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                    DWORD dwCreationFlags, LPDWORD lpThreadId);
// Both return the previous suspend count, or (DWORD)-1 on failure.
DWORD ResumeThread(HANDLE hThread);
DWORD SuspendThread(HANDLE hThread);
// THREAD_PRIORITY_IDLE runs the thread under SCHED_IDLE where the system permits it; the other
// levels are recorded and reported by GetThreadPriority only.
BOOL SetThreadPriority(HANDLE hThread, int nPriority);
int GetThreadPriority(HANDLE hThread);
DWORD GetCurrentThreadId();
DWORD GetThreadId(HANDLE hThread);
// The pseudo-handle (HANDLE)-2 that stands for the calling thread.
HANDLE GetCurrentThread();
DWORD GetCurrentProcessId();
[[noreturn]] void ExitThread(DWORD dwExitCode);
// STILL_ACTIVE while the thread runs.
BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
BOOL TerminateThread(HANDLE hThread, DWORD dwExitCode);

// The C runtime's form: the handle as an integer, 0 on failure.
std::uintptr_t _beginthreadex(void* security, unsigned stackSize,
                              unsigned(WINAPI* startAddress)(void*), void* argList,
                              unsigned initFlag, unsigned* threadId);
[[noreturn]] void _endthreadex(unsigned retval);

// Thread-local storage slots: a new slot reads NULL on every thread.
DWORD TlsAlloc();
LPVOID TlsGetValue(DWORD dwTlsIndex);
BOOL TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue);
BOOL TlsFree(DWORD dwTlsIndex);

namespace brambolt {

// The thread object of the calling thread (made on first use for a thread that CreateThread did
// not start); what the pseudo-handle GetCurrentThread() names.
std::shared_ptr<Waitable> CurrentThreadObject();

}  // namespace brambolt

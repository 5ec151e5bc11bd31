// Threads: suspended creation, suspend counts, exit codes, priorities, ids and TLS slots.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>
#include <sched.h>

#include <atomic>
#include <thread>

#include "base/LastError.h"
#include "os/Sync.h"
#include "os/Threads.h"

namespace {

constexpr DWORD kGenerous = 20000;  // a wait that must not time out

struct Flag {
  std::atomic<bool> ran{false};
};

DWORD WINAPI SetFlag(LPVOID p) {
  static_cast<Flag*>(p)->ran = true;
  return 7;
}

struct Gate {
  HANDLE go = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  ~Gate() { CloseHandle(go); }
};

DWORD WINAPI WaitForGateThenReturn42(LPVOID p) {
  WaitForSingleObject(static_cast<Gate*>(p)->go, INFINITE);
  return 42;
}

TEST(Threads, CreatedSuspendedRunsOnlyWhenResumed) {
  Flag flag;
  DWORD id = 0;
  HANDLE h = CreateThread(nullptr, 0, SetFlag, &flag, CREATE_SUSPENDED, &id);
  ASSERT_NE(h, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_EQ(WaitForSingleObject(h, 50), WAIT_TIMEOUT);
  EXPECT_FALSE(flag.ran);
  EXPECT_EQ(ResumeThread(h), 1u);
  ASSERT_EQ(WaitForSingleObject(h, kGenerous), WAIT_OBJECT_0);
  EXPECT_TRUE(flag.ran);
  EXPECT_EQ(ResumeThread(h), 0u);
  CloseHandle(h);
}

TEST(Threads, SuspendCountsNestBeforeTheThreadStarts) {
  Flag flag;
  HANDLE h = CreateThread(nullptr, 0, SetFlag, &flag, CREATE_SUSPENDED, nullptr);
  EXPECT_EQ(SuspendThread(h), 1u);
  EXPECT_EQ(ResumeThread(h), 2u);
  EXPECT_EQ(WaitForSingleObject(h, 50), WAIT_TIMEOUT);
  EXPECT_FALSE(flag.ran);
  EXPECT_EQ(ResumeThread(h), 1u);
  ASSERT_EQ(WaitForSingleObject(h, kGenerous), WAIT_OBJECT_0);
  EXPECT_TRUE(flag.ran);
  CloseHandle(h);
}

TEST(Threads, ExitCodeIsStillActiveUntilTheRoutineReturns) {
  Gate gate;
  HANDLE h = CreateThread(nullptr, 0, WaitForGateThenReturn42, &gate, 0, nullptr);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(h, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(code, 259u);
  SetEvent(gate.go);
  ASSERT_EQ(WaitForSingleObject(h, kGenerous), WAIT_OBJECT_0);
  ASSERT_TRUE(GetExitCodeThread(h, &code));
  EXPECT_EQ(code, 42u);
  CloseHandle(h);
}

struct Unwound {
  std::atomic<bool>* flag;
  ~Unwound() { *flag = true; }
};

DWORD WINAPI ExitEarly(LPVOID p) {
  Unwound guard{static_cast<std::atomic<bool>*>(p)};
  ExitThread(5);
}

TEST(Threads, ExitThreadEndsTheThreadWithItsCodeAfterUnwinding) {
  std::atomic<bool> unwound{false};
  HANDLE h = CreateThread(nullptr, 0, ExitEarly, &unwound, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(h, kGenerous), WAIT_OBJECT_0);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(h, &code));
  EXPECT_EQ(code, 5u);
  EXPECT_TRUE(unwound);
  CloseHandle(h);
}

TEST(Threads, WaitOnAThreadHandleOutlivesTheClosedHandle) {
  Gate gate;
  HANDLE h = CreateThread(nullptr, 0, WaitForGateThenReturn42, &gate, 0, nullptr);
  HANDLE hWait = h;
  std::thread closer([&] { SetEvent(gate.go); });
  EXPECT_EQ(WaitForSingleObject(hWait, kGenerous), WAIT_OBJECT_0);
  closer.join();
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

DWORD WINAPI SuspendSelf(LPVOID) { return SuspendThread(GetCurrentThread()) == 0 ? 1 : 0; }

TEST(Threads, AThreadThatSuspendsItselfSleepsUntilResumed) {
  HANDLE h = CreateThread(nullptr, 0, SuspendSelf, nullptr, 0, nullptr);
  // ResumeThread reports 0 until the thread has suspended itself.
  DWORD previous = 0;
  while ((previous = ResumeThread(h)) == 0) std::this_thread::yield();
  EXPECT_EQ(previous, 1u);
  ASSERT_EQ(WaitForSingleObject(h, kGenerous), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(h, &code);
  EXPECT_EQ(code, 1u);
  CloseHandle(h);
}

TEST(Threads, SuspendingAnotherRunningThreadIsRefused) {
  Gate gate;
  HANDLE h = CreateThread(nullptr, 0, WaitForGateThenReturn42, &gate, 0, nullptr);
  // Once running, the thread's own start has passed the gate; wait until then.
  DWORD result = 0;
  while ((result = SuspendThread(h)) != static_cast<DWORD>(-1)) {
    ResumeThread(h);
    std::this_thread::yield();
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
  SetEvent(gate.go);
  EXPECT_EQ(WaitForSingleObject(h, kGenerous), WAIT_OBJECT_0);
  CloseHandle(h);
}

TEST(Threads, TerminateEndsOnlyAThreadThatHasNotStarted) {
  Flag flag;
  HANDLE suspended = CreateThread(nullptr, 0, SetFlag, &flag, CREATE_SUSPENDED, nullptr);
  EXPECT_TRUE(TerminateThread(suspended, 9));
  ASSERT_EQ(WaitForSingleObject(suspended, kGenerous), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(suspended, &code);
  EXPECT_EQ(code, 9u);
  EXPECT_FALSE(flag.ran);
  CloseHandle(suspended);

  Gate gate;
  HANDLE running = CreateThread(nullptr, 0, WaitForGateThenReturn42, &gate, 0, nullptr);
  while (SuspendThread(running) != static_cast<DWORD>(-1)) ResumeThread(running);
  EXPECT_FALSE(TerminateThread(running, 9));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
  SetEvent(gate.go);
  WaitForSingleObject(running, kGenerous);
  GetExitCodeThread(running, &code);
  EXPECT_EQ(code, 42u);
  CloseHandle(running);
}

struct PriorityProbe {
  int policy = -1;
  int niceness = 0;
  int priority = 0;
};

DWORD WINAPI ReadOwnPriority(LPVOID p) {
  auto* probe = static_cast<PriorityProbe*>(p);
  probe->policy = sched_getscheduler(0);
  probe->niceness = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  probe->priority = GetThreadPriority(GetCurrentThread());
  return 0;
}

TEST(Threads, IdlePriorityRunsTheThreadAtTheLowestNicenessButStillScheduled) {
  PriorityProbe probe;
  HANDLE h = CreateThread(nullptr, 0, ReadOwnPriority, &probe, CREATE_SUSPENDED, nullptr);
  ASSERT_TRUE(SetThreadPriority(h, THREAD_PRIORITY_IDLE));
  EXPECT_EQ(GetThreadPriority(h), -15);
  ResumeThread(h);
  ASSERT_EQ(WaitForSingleObject(h, kGenerous), WAIT_OBJECT_0);
  EXPECT_EQ(probe.policy, SCHED_OTHER);
  EXPECT_EQ(probe.niceness, 19);
  EXPECT_EQ(probe.priority, THREAD_PRIORITY_IDLE);
  CloseHandle(h);
}

TEST(Threads, PriorityLevelsAreRecordedAndUnknownLevelsRefused) {
  const int levels[] = {THREAD_PRIORITY_LOWEST,        THREAD_PRIORITY_BELOW_NORMAL,
                        THREAD_PRIORITY_ABOVE_NORMAL,  THREAD_PRIORITY_HIGHEST,
                        THREAD_PRIORITY_TIME_CRITICAL, THREAD_PRIORITY_NORMAL};
  Flag flag;
  HANDLE h = CreateThread(nullptr, 0, SetFlag, &flag, CREATE_SUSPENDED, nullptr);
  for (int level : levels) {
    EXPECT_TRUE(SetThreadPriority(h, level));
    EXPECT_EQ(GetThreadPriority(h), level);
  }
  EXPECT_FALSE(SetThreadPriority(h, 7));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetThreadPriority(nullptr), THREAD_PRIORITY_ERROR_RETURN);
  ResumeThread(h);
  WaitForSingleObject(h, kGenerous);
  CloseHandle(h);
}

struct IdProbe {
  DWORD seen = 0;
};

DWORD WINAPI RecordId(LPVOID p) {
  static_cast<IdProbe*>(p)->seen = GetCurrentThreadId();
  return 0;
}

TEST(Threads, TheIdGivenAtCreationIsTheThreadsOwn) {
  IdProbe probe;
  DWORD id = 0;
  HANDLE h = CreateThread(nullptr, 0, RecordId, &probe, 0, &id);
  ASSERT_EQ(WaitForSingleObject(h, kGenerous), WAIT_OBJECT_0);
  EXPECT_EQ(probe.seen, id);
  EXPECT_EQ(GetThreadId(h), id);
  EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_EQ(GetThreadId(GetCurrentThread()), GetCurrentThreadId());
  EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
  CloseHandle(h);
}

TEST(Threads, WaitingOnTheCurrentThreadTimesOut) {
  EXPECT_EQ(WaitForSingleObject(GetCurrentThread(), 0), WAIT_TIMEOUT);
}

unsigned WINAPI RuntimeRoutine(void* p) {
  static_cast<Flag*>(p)->ran = true;
  return 3;
}

TEST(Threads, BeginThreadExGivesAWaitableHandle) {
  Flag flag;
  unsigned id = 0;
  auto h = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, RuntimeRoutine, &flag, 0, &id));
  ASSERT_NE(h, nullptr);
  EXPECT_NE(id, 0u);
  ASSERT_EQ(WaitForSingleObject(h, kGenerous), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(h, &code);
  EXPECT_EQ(code, 3u);
  EXPECT_TRUE(flag.ran);
  CloseHandle(h);
}

TEST(ThreadLocalStorage, EachThreadSeesItsOwnValue) {
  DWORD slot = TlsAlloc();
  ASSERT_NE(slot, TLS_OUT_OF_INDEXES);
  int mine = 1;
  int theirs = 2;
  EXPECT_EQ(TlsGetValue(slot), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_TRUE(TlsSetValue(slot, &mine));
  LPVOID seenBefore = &theirs;
  LPVOID seenAfter = nullptr;
  std::thread other([&] {
    seenBefore = TlsGetValue(slot);
    TlsSetValue(slot, &theirs);
    seenAfter = TlsGetValue(slot);
  });
  other.join();
  EXPECT_EQ(seenBefore, nullptr);
  EXPECT_EQ(seenAfter, &theirs);
  EXPECT_EQ(TlsGetValue(slot), &mine);
  EXPECT_TRUE(TlsFree(slot));
}

TEST(ThreadLocalStorage, AReallocatedSlotStartsEmptyAndAFreedOneIsRefused) {
  DWORD slot = TlsAlloc();
  int value = 1;
  TlsSetValue(slot, &value);
  ASSERT_TRUE(TlsFree(slot));
  EXPECT_FALSE(TlsFree(slot));
  EXPECT_FALSE(TlsSetValue(slot, &value));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  DWORD again = TlsAlloc();
  ASSERT_EQ(again, slot);
  EXPECT_EQ(TlsGetValue(again), nullptr);
  TlsFree(again);
}

}  // namespace

namespace {

DWORD WINAPI AnnounceThenWaitForever(LPVOID p) {
  auto* events = static_cast<HANDLE*>(p);
  SetEvent(events[0]);
  WaitForSingleObject(events[1], INFINITE);
  return 0;
}

[[noreturn]] void ExitWhileThreadsWait() {
  static HANDLE events[2] = {CreateEvent(nullptr, TRUE, FALSE, nullptr),
                             CreateEvent(nullptr, TRUE, FALSE, nullptr)};
  CreateThread(nullptr, 0, AnnounceThenWaitForever, events, 0, nullptr);
  CreateThread(nullptr, 0, AnnounceThenWaitForever, events, CREATE_SUSPENDED, nullptr);
  WaitForSingleObject(events[0], INFINITE);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::exit(0);
}

// A thread blocked in a wait (or never resumed) must not keep the program from ending.
TEST(ThreadsDeathTest, TheProgramEndsWhileThreadsStillWait) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ExitWhileThreadsWait(), ::testing::ExitedWithCode(0), "");
}

}  // namespace

// Events, mutexes, semaphores, the wait functions, critical sections and interlocked operations.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "base/LastError.h"
#include "os/Sync.h"
#include "os/Threads.h"

namespace {

constexpr DWORD kGenerous = 20000;  // a wait that must not time out

// Closes the handles it holds at the end of a test.
struct Handles {
  std::vector<HANDLE> list;
  HANDLE Add(HANDLE h) {
    list.push_back(h);
    return h;
  }
  ~Handles() {
    for (HANDLE h : list) CloseHandle(h);
  }
};

// Runs `body` on another thread and returns what it returned.
template <class F>
DWORD OnOtherThread(F body) {
  DWORD result = 0;
  std::thread t([&] { result = body(); });
  t.join();
  return result;
}

TEST(Events, AnAutoResetEventLetsOneWaitThrough) {
  Handles h;
  HANDLE event = h.Add(CreateEvent(nullptr, FALSE, TRUE, nullptr));
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  SetEvent(event);
  SetEvent(event);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 10), WAIT_TIMEOUT);
}

TEST(Events, AManualResetEventStaysSignalledUntilReset) {
  Handles h;
  HANDLE event = h.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr));
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  SetEvent(event);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(event, 0); }), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  ResetEvent(event);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
}

TEST(Events, SetEventWakesAThreadThatWaits) {
  Handles h;
  HANDLE event = h.Add(CreateEvent(nullptr, FALSE, FALSE, nullptr));
  DWORD result = WAIT_FAILED;
  std::thread waiter([&] { result = WaitForSingleObject(event, INFINITE); });
  SetEvent(event);
  waiter.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
}

TEST(Events, ANamedEventIsOpenedAgainByItsName) {
  Handles h;
  HANDLE first = h.Add(CreateEvent(nullptr, TRUE, FALSE, "brambolt-test-event"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE second = h.Add(CreateEvent(nullptr, FALSE, TRUE, "brambolt-test-event"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  // The second call opened the first event: manual-reset and not signalled.
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT);
  SetEvent(first);
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
  HANDLE opened = h.Add(OpenEvent(EVENT_ALL_ACCESS, FALSE, "brambolt-test-event"));
  EXPECT_NE(opened, nullptr);
}

TEST(Events, NamesAreSharedByEveryKindOfObject) {
  Handles h;
  h.Add(CreateMutex(nullptr, FALSE, "brambolt-test-shared-name"));
  EXPECT_EQ(CreateEvent(nullptr, TRUE, FALSE, "brambolt-test-shared-name"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(OpenSemaphore(SEMAPHORE_ALL_ACCESS, FALSE, "brambolt-test-shared-name"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(OpenEvent(EVENT_ALL_ACCESS, FALSE, "brambolt-test-no-such-name"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Events, ANameIsFreeAgainWhenItsLastHandleCloses) {
  HANDLE first = CreateEvent(nullptr, TRUE, TRUE, "brambolt-test-transient");
  CloseHandle(first);
  HANDLE second = CreateEvent(nullptr, TRUE, FALSE, "brambolt-test-transient");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT);
  CloseHandle(second);
}

TEST(Events, APulseWithNobodyWaitingLeavesTheEventReset) {
  Handles h;
  HANDLE manual = h.Add(CreateEvent(nullptr, TRUE, TRUE, nullptr));
  EXPECT_TRUE(PulseEvent(manual));
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
}

TEST(Events, APulseReleasesEveryThreadWaitingOnAManualEvent) {
  Handles h;
  HANDLE event = h.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr));
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i)
    waiters.emplace_back([&] {
      if (WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0) ++released;
    });
  // A pulse reaches only the waits present at that instant: pulse until all have been reached.
  while (released < 3) {
    PulseEvent(event);
    std::this_thread::yield();
  }
  for (auto& t : waiters) t.join();
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
}

TEST(Mutexes, TheOwnerMayTakeAMutexAgainAndMustReleaseItAsOften) {
  Handles h;
  HANDLE mutex = h.Add(CreateMutex(nullptr, TRUE, nullptr));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(mutex, 0); }), WAIT_TIMEOUT);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(mutex, 0); }), WAIT_TIMEOUT);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_FALSE(ReleaseMutex(mutex));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
  EXPECT_EQ(OnOtherThread([&] {
              DWORD r = WaitForSingleObject(mutex, 0);
              ReleaseMutex(mutex);
              return r;
            }),
            WAIT_OBJECT_0);
}

TEST(Mutexes, OnlyTheOwnerMayRelease) {
  Handles h;
  HANDLE mutex = h.Add(CreateMutex(nullptr, TRUE, nullptr));
  EXPECT_EQ(OnOtherThread([&] { return static_cast<DWORD>(ReleaseMutex(mutex)); }),
            static_cast<DWORD>(FALSE));
  EXPECT_TRUE(ReleaseMutex(mutex));
}

TEST(Mutexes, AMutexWhoseOwnerEndsIsAbandonedOnce) {
  Handles h;
  HANDLE mutex = h.Add(CreateMutex(nullptr, FALSE, nullptr));
  EXPECT_EQ(OnOtherThread([&] { return WaitForSingleObject(mutex, 0); }), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(mutex, kGenerous), WAIT_ABANDONED_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex));
}

TEST(Mutexes, AnAbandonedMutexIsReportedAtItsIndex) {
  Handles h;
  HANDLE event = h.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr));
  HANDLE mutex = h.Add(CreateMutex(nullptr, FALSE, nullptr));
  HANDLE pair[] = {event, mutex};
  OnOtherThread([&] { return WaitForSingleObject(mutex, 0); });
  EXPECT_EQ(WaitForMultipleObjects(2, pair, FALSE, kGenerous), WAIT_ABANDONED_0 + 1);
  ReleaseMutex(mutex);
}

TEST(Mutexes, AWaiterGetsTheMutexWhenTheOwnerReleasesIt) {
  Handles h;
  HANDLE mutex = h.Add(CreateMutex(nullptr, TRUE, nullptr));
  DWORD result = WAIT_FAILED;
  std::thread waiter([&] {
    result = WaitForSingleObject(mutex, kGenerous);
    ReleaseMutex(mutex);
  });
  ReleaseMutex(mutex);
  waiter.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
}

TEST(Semaphores, EachWaitTakesOneUnitUpToTheCount) {
  Handles h;
  HANDLE semaphore = h.Add(CreateSemaphore(nullptr, 2, 3, nullptr));
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_TIMEOUT);
  LONG previous = -1;
  EXPECT_TRUE(ReleaseSemaphore(semaphore, 3, &previous));
  EXPECT_EQ(previous, 0);
  EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, &previous));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TOO_MANY_POSTS));
  EXPECT_FALSE(ReleaseSemaphore(semaphore, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Semaphores, ImpossibleCountsAreRefused) {
  struct Case {
    LONG initial;
    LONG maximum;
  };
  for (Case c : {Case{0, 0}, Case{-1, 2}, Case{3, 2}}) {
    EXPECT_EQ(CreateSemaphore(nullptr, c.initial, c.maximum, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

TEST(Waits, AWaitForAnyReturnsTheLowestSignalledIndex) {
  Handles h;
  HANDLE events[3];
  for (HANDLE& e : events) e = h.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr));
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_TIMEOUT);
  SetEvent(events[2]);
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
  SetEvent(events[1]);
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
}

TEST(Waits, AWaitForAllTakesNothingUntilEveryObjectIsSignalled) {
  Handles h;
  HANDLE pair[] = {h.Add(CreateEvent(nullptr, FALSE, TRUE, nullptr)),
                   h.Add(CreateEvent(nullptr, FALSE, FALSE, nullptr))};
  EXPECT_EQ(WaitForMultipleObjects(2, pair, TRUE, 10), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(pair[0], 0), WAIT_OBJECT_0);  // still signalled: not consumed
  SetEvent(pair[0]);
  SetEvent(pair[1]);
  EXPECT_EQ(WaitForMultipleObjects(2, pair, TRUE, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(pair[0], 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(pair[1], 0), WAIT_TIMEOUT);
}

TEST(Waits, AWaitForAllEndsWhenAnotherThreadSignalsTheLastObject) {
  Handles h;
  HANDLE pair[] = {h.Add(CreateEvent(nullptr, TRUE, TRUE, nullptr)),
                   h.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr))};
  DWORD result = WAIT_FAILED;
  std::thread waiter([&] { result = WaitForMultipleObjects(2, pair, TRUE, kGenerous); });
  SetEvent(pair[1]);
  waiter.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
}

DWORD WINAPI ReturnAtOnce(LPVOID) { return 0; }

TEST(Waits, AThreadHandleAndAnEventWaitTogether) {
  Handles h;
  HANDLE stop = h.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr));
  HANDLE thread = h.Add(CreateThread(nullptr, 0, ReturnAtOnce, nullptr, 0, nullptr));
  HANDLE pair[] = {stop, thread};
  EXPECT_EQ(WaitForMultipleObjects(2, pair, FALSE, kGenerous), WAIT_OBJECT_0 + 1);
}

TEST(Waits, BadArgumentsFail) {
  Handles h;
  HANDLE event = h.Add(CreateEvent(nullptr, TRUE, TRUE, nullptr));
  HANDLE twice[] = {event, event};
  EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForMultipleObjects(0, twice, FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  std::vector<HANDLE> many(MAXIMUM_WAIT_OBJECTS + 1, event);
  EXPECT_EQ(WaitForMultipleObjects(static_cast<DWORD>(many.size()), many.data(), FALSE, 0),
            WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  HANDLE bogus = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x7FFF0));
  EXPECT_EQ(WaitForSingleObject(bogus, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Waits, AConditionEndsAWaitAfterTheObjects) {
  Handles h;
  HANDLE event = h.Add(CreateEvent(nullptr, TRUE, FALSE, nullptr));
  std::atomic<bool> message{false};
  auto arrived = [&] { return message.load(); };
  EXPECT_EQ(brambolt::WaitForHandles(1, &event, false, 0, arrived), WAIT_TIMEOUT);
  DWORD result = WAIT_FAILED;
  std::thread waiter(
      [&] { result = brambolt::WaitForHandles(1, &event, false, kGenerous, arrived); });
  message = true;
  brambolt::NotifyWaiters();
  waiter.join();
  EXPECT_EQ(result, WAIT_OBJECT_0 + 1);
  // Without objects the condition alone is waited for.
  EXPECT_EQ(brambolt::WaitForHandles(0, nullptr, false, 0, arrived), WAIT_OBJECT_0);
}

TEST(CriticalSections, TheOwnerMayEnterAgainAndOthersWaitUntilItLeavesAsOften) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_TRUE(TryEnterCriticalSection(&section));
  auto otherEnters = [&] {
    BOOL entered = FALSE;
    std::thread t([&] {
      entered = TryEnterCriticalSection(&section);
      if (entered) LeaveCriticalSection(&section);
    });
    t.join();
    return entered;
  };
  EXPECT_FALSE(otherEnters());
  LeaveCriticalSection(&section);
  EXPECT_FALSE(otherEnters());
  LeaveCriticalSection(&section);
  EXPECT_TRUE(otherEnters());
  DeleteCriticalSection(&section);
}

TEST(CriticalSections, ExcludeEachOther) {
  CRITICAL_SECTION section;
  InitializeCriticalSectionAndSpinCount(&section, 4000);
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; ++i) {
        EnterCriticalSection(&section);
        counter = counter + 1;
        LeaveCriticalSection(&section);
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 80000);
  DeleteCriticalSection(&section);
}

TEST(Interlocked, EachOperationReturnsTheDocumentedValue) {
  LONG volatile value = 5;
  EXPECT_EQ(InterlockedIncrement(&value), 6);
  EXPECT_EQ(InterlockedDecrement(&value), 5);
  EXPECT_EQ(InterlockedExchange(&value, 9), 5);
  EXPECT_EQ(InterlockedExchangeAdd(&value, 3), 9);
  EXPECT_EQ(value, 12);
  EXPECT_EQ(InterlockedCompareExchange(&value, 1, 7), 12);  // no match: unchanged
  EXPECT_EQ(value, 12);
  EXPECT_EQ(InterlockedCompareExchange(&value, 1, 12), 12);
  EXPECT_EQ(value, 1);
  int a = 0;
  int b = 0;
  PVOID volatile pointer = &a;
  EXPECT_EQ(InterlockedExchangePointer(&pointer, &b), &a);
  EXPECT_EQ(InterlockedCompareExchangePointer(&pointer, &a, &a), &b);
  EXPECT_EQ(InterlockedCompareExchangePointer(&pointer, &a, &b), &b);
  EXPECT_EQ(pointer, &a);
}

TEST(Interlocked, IncrementsFromManyThreadsAreNotLost) {
  LONG volatile counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 50000; ++i) InterlockedIncrement(&counter);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 200000);
}

}  // namespace

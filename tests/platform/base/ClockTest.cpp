#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "base/base.h"

namespace {

using brambolt::ScopedVirtualClock;
using brambolt::VirtualClock;

TEST(VirtualClock, StandsStillUntilAdvanced) {
  ScopedVirtualClock clock(5000);
  EXPECT_EQ(GetTickCount64(), 5000u);
  EXPECT_EQ(GetTickCount(), 5000u);
  EXPECT_EQ(timeGetTime(), 5000u);
  VirtualClock::Advance(250);
  EXPECT_EQ(GetTickCount(), 5250u);
  LARGE_INTEGER frequency, counter;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  ASSERT_TRUE(QueryPerformanceCounter(&counter));
  EXPECT_EQ(counter.QuadPart / (frequency.QuadPart / 1000), 5250);
}

TEST(VirtualClock, TickCountWrapsAt32Bits) {
  ScopedVirtualClock clock(0xFFFFFFF0ULL);
  VirtualClock::Advance(0x20);
  EXPECT_EQ(GetTickCount64(), 0x100000010ULL);
  EXPECT_EQ(GetTickCount(), 0x10u);
}

TEST(VirtualClock, SleepOnTheBoundThreadAdvancesTheClock) {
  ScopedVirtualClock clock(1000);
  EXPECT_TRUE(VirtualClock::IsCurrentThreadBound());
  Sleep(300);
  Sleep(20);
  EXPECT_EQ(GetTickCount(), 1320u);
}

TEST(VirtualClock, SleepOnOtherThreadsLeavesTheClockAlone) {
  ScopedVirtualClock clock(1000);
  bool bound = true;
  std::thread worker([&] {
    bound = VirtualClock::IsCurrentThreadBound();
    Sleep(1);
  });
  worker.join();
  EXPECT_FALSE(bound);
  EXPECT_EQ(GetTickCount(), 1000u);
  std::thread joined([] {
    VirtualClock::BindCurrentThread();
    Sleep(40);
  });
  joined.join();
  EXPECT_EQ(GetTickCount(), 1040u);
}

TEST(VirtualClock, ListenersHearEveryAdvance) {
  ScopedVirtualClock clock(100);
  std::vector<std::pair<ULONGLONG, ULONGLONG>> heard;
  int id = VirtualClock::AddListener([&](ULONGLONG previous, ULONGLONG now) { heard.emplace_back(previous, now); });
  VirtualClock::Advance(10);
  Sleep(5);
  VirtualClock::RemoveListener(id);
  VirtualClock::Advance(1);
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0], (std::pair<ULONGLONG, ULONGLONG>{100, 110}));
  EXPECT_EQ(heard[1], (std::pair<ULONGLONG, ULONGLONG>{110, 115}));
}

TEST(VirtualClock, ListenersMayReadTheClockAndAdvanceItAgain) {
  ScopedVirtualClock clock(0);
  std::vector<DWORD> seen;
  int id = VirtualClock::AddListener([&](ULONGLONG, ULONGLONG now) {
    seen.push_back(GetTickCount());
    if (now < 30) VirtualClock::Advance(10);
  });
  VirtualClock::Advance(10);
  VirtualClock::RemoveListener(id);
  EXPECT_EQ(seen, (std::vector<DWORD>{10, 20, 30}));
}

TEST(VirtualClock, ConcurrentAdvancesAreAllCounted) {
  ScopedVirtualClock clock(0);
  std::atomic<int> calls{0};
  int id = VirtualClock::AddListener([&](ULONGLONG, ULONGLONG) { ++calls; });
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 1000; ++i) VirtualClock::Advance(1);
    });
  for (auto& thread : threads) thread.join();
  VirtualClock::RemoveListener(id);
  EXPECT_EQ(GetTickCount64(), 8000u);
  EXPECT_EQ(calls.load(), 8000);
}

TEST(VirtualClock, DisablingReturnsToTheRealClock) {
  {
    ScopedVirtualClock clock(7);
  }
  EXPECT_FALSE(VirtualClock::IsEnabled());
  EXPECT_FALSE(VirtualClock::IsCurrentThreadBound());
  VirtualClock::Advance(1000000000);  // ignored while disabled
  ULONGLONG first = GetTickCount64();
  ULONGLONG second = GetTickCount64();
  EXPECT_LE(first, second);
  EXPECT_NE(first, 7u);
}

}  // namespace

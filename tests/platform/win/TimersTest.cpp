#include "WinTestSupport.h"

using namespace wintest;
using namespace brambolt::test;

class Timers : public WinTest {};

namespace {

int CountTimers(HWND w, UINT_PTR id) {
  int n = 0;
  for (const Logged& m : MessageLog::Instance().All())
    if (m.hwnd == w && m.msg == WM_TIMER && m.wParam == id) ++n;
  return n;
}

int g_procCalls = 0;
void CALLBACK CountingProc(HWND, UINT msg, UINT_PTR, DWORD) {
  if (msg == WM_TIMER) ++g_procCalls;
}

}  // namespace

TEST_F(Timers, FireOnlyAsTheVirtualClockAdvances) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  EXPECT_EQ(SetTimer(w, 45000, 100, nullptr), 45000u);
  RunUntilIdle();
  EXPECT_EQ(CountTimers(w, 45000), 0);
  AdvanceClock(99);
  EXPECT_EQ(CountTimers(w, 45000), 0);
  AdvanceClock(1);
  EXPECT_EQ(CountTimers(w, 45000), 1);
  AdvanceClock(1000);
  EXPECT_EQ(CountTimers(w, 45000), 11);
  EXPECT_TRUE(KillTimer(w, 45000));
  AdvanceClock(1000);
  EXPECT_EQ(CountTimers(w, 45000), 11);
  EXPECT_FALSE(KillTimer(w, 45000));
}

TEST_F(Timers, PendingTimerMessagesCoalesce) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  SetTimer(w, 1, 10, nullptr);
  brambolt::VirtualClock::Advance(1000);  // nobody pumps meanwhile
  RunUntilIdle();
  EXPECT_EQ(CountTimers(w, 1), 1);
  KillTimer(w, 1);
}

TEST_F(Timers, ResettingATimerRestartsItsPeriod) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  SetTimer(w, 3, 500, nullptr);
  AdvanceClock(400);
  SetTimer(w, 3, 500, nullptr);
  AdvanceClock(400);
  EXPECT_EQ(CountTimers(w, 3), 0);
  AdvanceClock(100);
  EXPECT_EQ(CountTimers(w, 3), 1);
}

TEST_F(Timers, ThreadTimersCallTheirProcedure) {
  g_procCalls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 250, CountingProc);
  ASSERT_NE(id, 0u);
  AdvanceClock(1000);
  EXPECT_EQ(g_procCalls, 4);
  EXPECT_TRUE(KillTimer(nullptr, id));
  AdvanceClock(1000);
  EXPECT_EQ(g_procCalls, 4);
}

TEST_F(Timers, WindowTimersWithAProcedureBypassTheWindow) {
  g_procCalls = 0;
  HWND w = MakeWindow(nullptr, WS_POPUP);
  SetTimer(w, 61680, 250, CountingProc);
  AdvanceClock(250);
  EXPECT_EQ(g_procCalls, 1);
  EXPECT_EQ(CountTimers(w, 61680), 0);
}

TEST_F(Timers, TimersDieWithTheirWindow) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  SetTimer(w, 2, 10, nullptr);
  DestroyWindow(w);
  EXPECT_EQ(brambolt::ThreadTimerDelay(), INFINITE);
  AdvanceClock(100);
  EXPECT_EQ(CountTimers(w, 2), 0);
}

TEST_F(Timers, SameIdOnDifferentWindowsAreDifferentTimers) {
  HWND a = MakeWindow(nullptr, WS_POPUP);
  HWND b = MakeWindow(nullptr, WS_POPUP);
  SetTimer(a, 3, 100, nullptr);
  SetTimer(b, 3, 300, nullptr);
  AdvanceClock(300);
  EXPECT_EQ(CountTimers(a, 3), 3);
  EXPECT_EQ(CountTimers(b, 3), 1);
}

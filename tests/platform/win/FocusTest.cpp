#include <thread>

#include "WinTestSupport.h"

using namespace wintest;
using namespace brambolt::test;

class Focus : public WinTest {};
class Activation : public WinTest {};

TEST_F(Focus, MovingFocusSendsKillThenSetWithTheOtherWindow) {
  HWND top = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND a = MakeWindow(top, WS_VISIBLE, RECT{0, 0, 10, 10}, 1);
  HWND b = MakeWindow(top, WS_VISIBLE, RECT{20, 0, 30, 10}, 2);
  SetFocus(a);
  MessageLog::Instance().Clear();
  EXPECT_EQ(SetFocus(b), a);
  auto all = MessageLog::Instance().All();
  std::vector<std::tuple<HWND, UINT, WPARAM>> seq;
  for (auto& m : all)
    if (m.msg == WM_KILLFOCUS || m.msg == WM_SETFOCUS) seq.emplace_back(m.hwnd, m.msg, m.wParam);
  std::vector<std::tuple<HWND, UINT, WPARAM>> expected = {
      {a, WM_KILLFOCUS, reinterpret_cast<WPARAM>(b)}, {b, WM_SETFOCUS, reinterpret_cast<WPARAM>(a)}};
  EXPECT_EQ(seq, expected);
  EXPECT_EQ(GetFocus(), b);
}

TEST_F(Focus, IsPerThread) {
  HWND top = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SetFocus(top);
  HWND seen = reinterpret_cast<HWND>(1);
  HWND refused = reinterpret_cast<HWND>(1);
  std::thread worker([&] {
    seen = GetFocus();
    refused = SetFocus(top);
  });
  worker.join();
  EXPECT_EQ(seen, nullptr);
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(GetFocus(), top);
}

TEST_F(Focus, FocusingAChildOfAnotherWindowActivatesItsTopLevel) {
  HWND a = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND b = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND aChild = MakeWindow(a, WS_VISIBLE, RECT{0, 0, 10, 10}, 1);
  EXPECT_EQ(GetActiveWindow(), b);
  SetFocus(aChild);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), aChild);
}

TEST_F(Focus, DisablingTheFocusWindowTakesTheFocusAway) {
  HWND top = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = MakeWindow(top, WS_VISIBLE, RECT{0, 0, 10, 10}, 1);
  SetFocus(child);
  MessageLog::Instance().Clear();
  EXPECT_FALSE(EnableWindow(child, FALSE));
  EXPECT_FALSE(IsWindowEnabled(child));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(MessageLog::Instance().For(child, {WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}),
            (std::vector<UINT>{WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}));
  EXPECT_TRUE(EnableWindow(child, TRUE));
  EXPECT_TRUE(IsWindowEnabled(child));
  EXPECT_FALSE(EnableWindow(child, TRUE));  // was already enabled
}

TEST_F(Activation, MessagesComeInTheDocumentedOrder) {
  HWND a = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND b = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW);
  MessageLog::Instance().Clear();
  ShowWindow(b, SW_SHOW);
  auto seq = MessageLog::Instance().Sequence({WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS});
  std::vector<std::pair<HWND, UINT>> expected = {
      {a, WM_NCACTIVATE}, {a, WM_ACTIVATE}, {b, WM_NCACTIVATE}, {b, WM_ACTIVATE}, {a, WM_KILLFOCUS}, {b, WM_SETFOCUS}};
  EXPECT_EQ(seq, expected);
  auto all = MessageLog::Instance().All();
  for (auto& m : all) {
    if (m.msg != WM_ACTIVATE) continue;
    if (m.hwnd == a) {
      EXPECT_EQ(LOWORD(m.wParam), WA_INACTIVE);
      EXPECT_EQ(m.lParam, reinterpret_cast<LPARAM>(b));
    } else {
      EXPECT_EQ(LOWORD(m.wParam), WA_ACTIVE);
      EXPECT_EQ(m.lParam, reinterpret_cast<LPARAM>(a));
    }
  }
  EXPECT_EQ(GetForegroundWindow(), b);
}

TEST_F(Activation, DestroyingTheActiveWindowActivatesItsOwner) {
  HWND owner = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND other = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND dialog = MakeWindow(owner, WS_POPUP | WS_CAPTION | WS_VISIBLE);
  EXPECT_EQ(GetActiveWindow(), dialog);
  DestroyWindow(dialog);
  EXPECT_EQ(GetActiveWindow(), owner);
  (void)other;
}

TEST_F(Activation, TheApplicationIsToldWhenItGainsActivation) {
  SetActiveWindow(nullptr);
  HWND a = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW);
  MessageLog::Instance().Clear();
  ShowWindow(a, SW_SHOW);
  auto app = MessageLog::Instance().For(a, {WM_ACTIVATEAPP});
  ASSERT_EQ(app.size(), 1u);
  HWND b = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_EQ(MessageLog::Instance().For(a, {WM_ACTIVATEAPP}).size(), 1u);  // same thread: no news
  EXPECT_EQ(SetActiveWindow(a), b);
  EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(Activation, PopupsShownWithoutActivationLeaveFocusAlone) {
  HWND main = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND edit = MakeWindow(main, WS_VISIBLE, RECT{0, 0, 10, 10}, 1);
  SetFocus(edit);
  HWND tip = MakeWindow(nullptr, WS_POPUP, RECT{0, 0, 30, 10}, 0, WS_EX_TOPMOST);
  SetWindowPos(tip, HWND_TOPMOST, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(GetActiveWindow(), main);
  EXPECT_EQ(GetTopWindow(nullptr), tip);
}

// The splash window: centred with its bitmap's size, closed by its timer on the virtual clock or
// by any key or mouse press, kept by the wait-for-close flag until Close, its owner disabled
// meanwhile, and a stand-by owner when the application has no window.
#include <gtest/gtest.h>

#include <functional>

#include "MenusTestIds.h"
#include "bars/SECSplashWnd.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

struct Owner {
  CFrameWnd* frame = new CFrameWnd;
  Owner() {
    EXPECT_TRUE(frame->Create(nullptr, "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200)));
    RunUntilIdle();
  }
  ~Owner() {
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
};

TEST(Splash, CentredWithItsBitmapAndClosedByItsTimer) {
  UiSession session;
  Owner owner;
  auto* splash = new SECSplashWnd(IDB_MENUS_SPLASH, 3000);
  ASSERT_TRUE(splash->Create(owner.frame));
  HWND hwnd = splash->m_hWnd;
  CRect rect;
  ::GetWindowRect(hwnd, &rect);
  EXPECT_EQ(CRect((::GetSystemMetrics(SM_CXSCREEN) - 66) / 2, (::GetSystemMetrics(SM_CYSCREEN) - 24) / 2, 0, 0).TopLeft(),
            rect.TopLeft());
  EXPECT_EQ(CSize(66, 24), rect.Size());
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  EXPECT_FALSE(owner.frame->IsWindowEnabled());
  EXPECT_EQ(RGB(255, 255, 0), WindowPixel(hwnd, 5, 5)) << "the bitmap is painted";
  AdvanceClock(2990);
  EXPECT_TRUE(::IsWindow(hwnd));
  AdvanceClock(20);
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_TRUE(owner.frame->IsWindowEnabled());
}

TEST(Splash, AnyKeyOrButtonClosesItUnlessItWaitsForClose) {
  UiSession session;
  const std::function<void(HWND)> inputs[] = {
      [](HWND) { PressKey(VK_SPACE); },
      [](HWND splash) { Click(splash, {3, 3}); },
      [](HWND splash) { Click(splash, {3, 3}, kNone, WM_RBUTTONDOWN); },
  };
  for (const auto& input : inputs) {
    Owner owner;
    auto* splash = new SECSplashWnd(IDB_MENUS_SPLASH, 3000);
    ASSERT_TRUE(splash->Create(owner.frame));
    HWND hwnd = splash->m_hWnd;
    input(hwnd);
    RunUntilIdle();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(owner.frame->IsWindowEnabled());
  }
  Owner owner;
  auto* waiting = new SECSplashWnd(IDB_MENUS_SPLASH, 3000, TRUE);
  ASSERT_TRUE(waiting->Create(owner.frame));
  HWND hwnd = waiting->m_hWnd;
  PressKey(VK_SPACE);
  Click(hwnd, {3, 3});
  AdvanceClock(10000);
  EXPECT_TRUE(::IsWindow(hwnd));
  waiting->Close();
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(Splash, WithoutAnyWindowAHiddenStandByOwnerComesAndGoes) {
  UiSession session;
  auto* splash = new SECSplashWnd(IDB_MENUS_SPLASH, 500, FALSE, FALSE);
  ASSERT_TRUE(splash->Create());
  HWND hwnd = splash->m_hWnd;
  HWND standBy = ::GetWindow(hwnd, GW_OWNER);
  ASSERT_NE(nullptr, standBy);
  char title[64] = {};
  ::GetWindowText(standBy, title, sizeof(title));
  EXPECT_STREQ("SECSplashWndParent", title);
  EXPECT_FALSE(::IsWindowVisible(standBy));
  EXPECT_TRUE(::GetWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ::GetWindowText(hwnd, title, sizeof(title));
  EXPECT_STREQ("SECSplashWnd", title);
  AdvanceClock(600);
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_FALSE(::IsWindow(standBy));
}

}  // namespace

#include <thread>

#include "WinTestSupport.h"

using namespace wintest;

namespace {

const std::vector<UINT> kLifeCycle = {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE,
                                      WM_SIZE,          WM_MOVE,     WM_SHOWWINDOW, WM_PARENTNOTIFY,
                                      WM_DESTROY,       WM_NCDESTROY};

}  // namespace

class Create : public WinTest {};
class Destroy : public WinTest {};

TEST_F(Create, OverlappedWindowGetsTheCreateSequenceInOrder) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(MessageLog::Instance().For(w, kLifeCycle),
            (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE,
                               WM_MOVE, WM_SHOWWINDOW}));
  EXPECT_TRUE(IsWindowVisible(w));
}

TEST_F(Create, ChildGetsTheSequenceAndItsParentIsNotified) {
  HWND parent = MakeWindow(nullptr, WS_POPUP);
  MessageLog::Instance().Clear();
  HWND child = MakeWindow(parent, WS_VISIBLE, RECT{1, 2, 31, 22}, 70002);
  auto seq = MessageLog::Instance().Sequence(kLifeCycle);
  std::vector<std::pair<HWND, UINT>> expected = {
      {child, WM_NCCREATE}, {child, WM_NCCALCSIZE}, {child, WM_CREATE},       {child, WM_SIZE},
      {child, WM_MOVE},     {child, WM_SHOWWINDOW}, {parent, WM_PARENTNOTIFY}};
  EXPECT_EQ(seq, expected);
  auto all = MessageLog::Instance().All();
  auto notify = std::find_if(all.begin(), all.end(), [](const Logged& m) { return m.msg == WM_PARENTNOTIFY; });
  ASSERT_NE(notify, all.end());
  EXPECT_EQ(LOWORD(notify->wParam), WM_CREATE);
  EXPECT_EQ(HIWORD(notify->wParam), static_cast<WORD>(70002 & 0xFFFF));
  EXPECT_EQ(notify->lParam, reinterpret_cast<LPARAM>(child));
  EXPECT_EQ(GetDlgCtrlID(child), 70002);
  EXPECT_EQ(GetDlgItem(parent, 70002), child);
}

TEST_F(Create, CreateStructCarriesTheArguments) {
  CREATESTRUCT seen{};
  std::string name;
  MessageLog::Instance().SetHandler([&](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT&) {
    if (msg == WM_CREATE) {
      seen = *reinterpret_cast<CREATESTRUCT*>(lp);
      name = seen.lpszName;
    }
    return false;
  });
  int param = 0;
  HWND w = CreateWindowEx(WS_EX_TOOLWINDOW, LoggingClass(), "Title", WS_POPUP | WS_VISIBLE, 5, 6, 70,
                          80, nullptr, nullptr, nullptr, &param);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(seen.lpCreateParams, &param);
  EXPECT_EQ(name, "Title");
  EXPECT_EQ(seen.x, 5);
  EXPECT_EQ(seen.y, 6);
  EXPECT_EQ(seen.cx, 70);
  EXPECT_EQ(seen.cy, 80);
  EXPECT_EQ(static_cast<DWORD>(seen.style) & WS_POPUP, static_cast<DWORD>(WS_POPUP));
  EXPECT_TRUE(seen.dwExStyle & WS_EX_TOOLWINDOW);
  char text[16];
  GetWindowText(w, text, sizeof(text));
  EXPECT_STREQ(text, "Title");
}

TEST_F(Create, FailsWhenNcCreateRefuses) {
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_NCCREATE) return false;
    r = FALSE;
    return true;
  });
  HWND w = MakeWindow(nullptr, WS_POPUP);
  EXPECT_EQ(w, nullptr);
  auto all = MessageLog::Instance().All();
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all.back().msg, static_cast<UINT>(WM_NCDESTROY));
  EXPECT_FALSE(IsWindow(all.back().hwnd));
  for (const Logged& m : all) EXPECT_NE(m.msg, static_cast<UINT>(WM_CREATE));
}

TEST_F(Create, FailsWhenCreateReturnsMinusOne) {
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_CREATE) return false;
    r = -1;
    return true;
  });
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(w, nullptr);
  auto all = MessageLog::Instance().All();
  ASSERT_GE(all.size(), 2u);
  EXPECT_EQ(all[all.size() - 2].msg, static_cast<UINT>(WM_DESTROY));
  EXPECT_EQ(all.back().msg, static_cast<UINT>(WM_NCDESTROY));
}

TEST_F(Create, ChildStyleWithoutParentFails) {
  EXPECT_EQ(CreateWindowEx(0, LoggingClass(), "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
}

TEST_F(Destroy, ParentIsToldFirstChildrenFinishBeforeIt) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  HWND child = MakeWindow(parent, WS_VISIBLE, RECT{0, 0, 10, 10}, 1);
  HWND grandchild = MakeWindow(child, WS_VISIBLE, RECT{0, 0, 5, 5}, 2);
  MessageLog::Instance().Clear();
  EXPECT_TRUE(DestroyWindow(parent));
  auto seq = MessageLog::Instance().Sequence({WM_DESTROY, WM_NCDESTROY});
  std::vector<std::pair<HWND, UINT>> expected = {
      {parent, WM_DESTROY},       {child, WM_DESTROY},      {grandchild, WM_DESTROY},
      {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY},    {parent, WM_NCDESTROY}};
  EXPECT_EQ(seq, expected);
  for (HWND h : {parent, child, grandchild}) {
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(MessageLog::Instance().For(h).back(), static_cast<UINT>(WM_NCDESTROY));
  }
}

TEST_F(Destroy, ChildNotifiesItsParentBeforeItGoes) {
  HWND parent = MakeWindow(nullptr, WS_POPUP);
  HWND child = MakeWindow(parent, 0, RECT{0, 0, 10, 10}, 9);
  MessageLog::Instance().Clear();
  DestroyWindow(child);
  auto seq = MessageLog::Instance().Sequence({WM_PARENTNOTIFY, WM_DESTROY});
  ASSERT_EQ(seq.size(), 2u);
  EXPECT_EQ(seq[0], std::make_pair(parent, static_cast<UINT>(WM_PARENTNOTIFY)));
  EXPECT_EQ(seq[1], std::make_pair(child, static_cast<UINT>(WM_DESTROY)));
}

TEST_F(Destroy, AWindowMayDestroyItselfInsideItsOwnHandler) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  int after = 0;
  MessageLog::Instance().SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_USER) {
      EXPECT_TRUE(DestroyWindow(h));
      EXPECT_FALSE(IsWindow(h));
      // Asking again while it is gone fails cleanly.
      EXPECT_FALSE(DestroyWindow(h));
      ++after;
      return true;
    }
    if (msg == WM_DESTROY) {
      EXPECT_TRUE(DestroyWindow(h));  // a nested request during destruction
    }
    return false;
  });
  SendMessage(w, WM_USER, 0, 0);
  EXPECT_EQ(after, 1);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 0);
}

TEST_F(Destroy, OwnedWindowsGoWithTheirOwner) {
  HWND owner = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND owned = MakeWindow(owner, WS_POPUP | WS_VISIBLE);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  EXPECT_EQ(GetParent(owned), owner);
  MessageLog::Instance().Clear();
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned));
  auto seq = MessageLog::Instance().Sequence({WM_NCDESTROY});
  ASSERT_EQ(seq.size(), 2u);
  EXPECT_EQ(seq[0].first, owned);
}

TEST_F(Destroy, DeadHandlesAreNeverValidAgain) {
  HWND first = MakeWindow(nullptr, WS_POPUP);
  DestroyWindow(first);
  HWND second = MakeWindow(nullptr, WS_POPUP);
  EXPECT_NE(first, second);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(IsWindow(second));
  EXPECT_FALSE(IsWindow(nullptr));
  EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(0x12345)));
}

TEST_F(Destroy, FocusInADestroyedChildReturnsToItsParent) {
  HWND top = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = MakeWindow(top, WS_VISIBLE, RECT{0, 0, 10, 10}, 1);
  SetFocus(child);
  EXPECT_EQ(GetFocus(), child);
  DestroyWindow(child);
  EXPECT_EQ(GetFocus(), top);
}

TEST_F(Destroy, AnotherThreadCannotDestroyTheWindow) {
  HWND w = MakeWindow(nullptr, WS_POPUP);
  BOOL result = TRUE;
  DWORD error = 0;
  std::thread t([&] {
    result = DestroyWindow(w);
    error = GetLastError();
  });
  t.join();
  EXPECT_FALSE(result);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(IsWindow(w));
}

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "WinTestSupport.h"

using namespace wintest;

class Positioning : public WinTest {};
class ShowStates : public WinTest {};

namespace {

// The WINDOWPOS of every WM_WINDOWPOSCHANGING/CHANGED a window receives.
struct PosLog {
  std::vector<std::pair<UINT, WINDOWPOS>> entries;
  void Install() {
    MessageLog::Instance().SetHandler([this](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT&) {
      if (msg == WM_WINDOWPOSCHANGING || msg == WM_WINDOWPOSCHANGED)
        entries.emplace_back(msg, *reinterpret_cast<WINDOWPOS*>(lp));
      return false;
    });
  }
};

constexpr UINT kPublicFlags = 0x07FF;

}  // namespace

TEST_F(Positioning, MovingAndSizingReportTheNewRectangle) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 300});
  HWND w = MakeWindow(parent, WS_VISIBLE, RECT{10, 10, 60, 40}, 1);
  PosLog log;
  log.Install();
  MessageLog::Instance().Clear();
  ASSERT_TRUE(SetWindowPos(w, nullptr, 20, 30, 100, 50, SWP_NOZORDER | SWP_NOACTIVATE));
  ASSERT_EQ(log.entries.size(), 2u);
  const WINDOWPOS& changing = log.entries[0].second;
  EXPECT_EQ(log.entries[0].first, static_cast<UINT>(WM_WINDOWPOSCHANGING));
  EXPECT_EQ(changing.hwnd, w);
  EXPECT_EQ(changing.x, 20);
  EXPECT_EQ(changing.y, 30);
  EXPECT_EQ(changing.cx, 100);
  EXPECT_EQ(changing.cy, 50);
  EXPECT_EQ(changing.flags & kPublicFlags, static_cast<UINT>(SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.bottom, 80);
  auto all = MessageLog::Instance().All();
  auto size = std::find_if(all.begin(), all.end(), [](const Logged& m) { return m.msg == WM_SIZE; });
  EXPECT_EQ(size->lParam, MAKELPARAM(100, 50));
}

TEST_F(Positioning, NoMoveAndNoSizeKeepTheOldValuesInWindowPos) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{10, 20, 110, 70});
  PosLog log;
  log.Install();
  MessageLog::Instance().Clear();
  SetWindowPos(w, nullptr, 500, 500, 1, 1, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_FALSE(log.entries.empty());
  const WINDOWPOS& p = log.entries[0].second;
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 20);
  EXPECT_EQ(p.cx, 100);
  EXPECT_EQ(p.cy, 50);
  EXPECT_TRUE(MessageLog::Instance().For(w, {WM_MOVE, WM_SIZE}).empty());
}

TEST_F(Positioning, ChangingMayAlterTheRequest) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT&) {
    if (msg == WM_WINDOWPOSCHANGING) {
      auto* p = reinterpret_cast<WINDOWPOS*>(lp);
      p->cx = std::min(p->cx, 80);
    }
    return false;
  });
  MoveWindow(w, 5, 5, 200, 60, TRUE);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 80);
  EXPECT_EQ(r.bottom - r.top, 60);
}

TEST_F(Positioning, ShowAndHideFlagsToggleVisibility) {
  HWND w = MakeWindow(nullptr, WS_POPUP, RECT{0, 0, 50, 50});
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(GetActiveWindow(), w);
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_NE(GetActiveWindow(), w);
}

TEST_F(Positioning, FrameChangedRecomputesTheClientArea) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  RECT c;
  GetClientRect(w, &c);
  EXPECT_EQ(c.right, 100);
  SetWindowLongPtr(w, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_BORDER);
  GetClientRect(w, &c);
  EXPECT_EQ(c.right, 100);  // a style change alone does not move the frame
  MessageLog::Instance().Clear();
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  GetClientRect(w, &c);
  EXPECT_EQ(c.right, 98);
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_NCCALCSIZE}).size(), 1u);
}

TEST_F(Positioning, DeferredPositionsApplyTogetherAndMerge) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 300});
  HWND a = MakeWindow(parent, WS_VISIBLE, RECT{0, 0, 10, 10}, 1);
  HWND b = MakeWindow(parent, WS_VISIBLE, RECT{0, 0, 10, 10}, 2);
  HDWP d = BeginDeferWindowPos(2);
  d = DeferWindowPos(d, a, nullptr, 5, 6, 20, 20, SWP_NOZORDER);
  d = DeferWindowPos(d, b, nullptr, 50, 60, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
  d = DeferWindowPos(d, b, nullptr, 0, 0, 30, 40, SWP_NOZORDER | SWP_NOMOVE);
  RECT r;
  GetWindowRect(a, &r);
  EXPECT_EQ(r.left, 0);  // nothing moves before the end
  ASSERT_TRUE(EndDeferWindowPos(d));
  GetWindowRect(a, &r);
  EXPECT_EQ(r.left, 5);
  GetWindowRect(b, &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.right - r.left, 30);
  EXPECT_EQ(r.bottom - r.top, 40);
}

TEST_F(Positioning, AdjustWindowRectAddsTheFrameForEachStyle) {
  struct Case {
    DWORD style, exStyle;
    RECT expected;
  } cases[] = {
      {WS_POPUP, 0, {0, 0, 100, 100}},
      {WS_POPUP | WS_BORDER, 0, {-1, -1, 101, 101}},
      {WS_POPUP | WS_DLGFRAME, 0, {-3, -3, 103, 103}},
      {WS_OVERLAPPEDWINDOW, 0, {-4, -23, 104, 104}},
      {WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, {-3, -22, 103, 103}},
      {WS_POPUP, WS_EX_CLIENTEDGE, {-2, -2, 102, 102}},
      {WS_POPUP | WS_BORDER, WS_EX_STATICEDGE, {-2, -2, 102, 102}},
      {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, {-3, -18, 103, 103}},
      {WS_POPUP | WS_VSCROLL, 0, {0, 0, 100, 100}},
  };
  for (const Case& c : cases) {
    RECT r{0, 0, 100, 100};
    AdjustWindowRectEx(&r, c.style, FALSE, c.exStyle);
    EXPECT_EQ(r.left, c.expected.left) << std::hex << c.style;
    EXPECT_EQ(r.top, c.expected.top) << std::hex << c.style;
    EXPECT_EQ(r.right, c.expected.right) << std::hex << c.style;
    EXPECT_EQ(r.bottom, c.expected.bottom) << std::hex << c.style;
  }
}

TEST_F(Positioning, ClientAreaExcludesWindowScrollBars) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, RECT{0, 0, 100, 80});
  RECT c;
  GetClientRect(w, &c);
  EXPECT_EQ(c.right, 100 - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(c.bottom, 80 - GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(95, 10)), HTVSCROLL);
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(10, 75)), HTHSCROLL);
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(10, 10)), HTCLIENT);
}

TEST_F(Positioning, HitTestCodesFollowTheFrame) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 400, 300});
  struct Case {
    POINT p;
    LRESULT hit;
  } cases[] = {
      {{101, 200}, HTLEFT},       {{398, 200}, HTRIGHT},     {{250, 101}, HTTOP},
      {{250, 298}, HTBOTTOM},     {{101, 101}, HTTOPLEFT},   {{398, 298}, HTBOTTOMRIGHT},
      {{250, 110}, HTCAPTION},    {{108, 112}, HTSYSMENU},   {{385, 112}, HTCLOSE},
      {{250, 200}, HTCLIENT},     {{50, 50}, HTNOWHERE},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(c.p.x, c.p.y)), c.hit) << c.p.x << "," << c.p.y;
  RECT close{};
  // Buttons sit right to left: close, maximise, minimise.
  LRESULT left = SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(385 - 18, 112));
  LRESULT further = SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(385 - 34, 112));
  EXPECT_EQ(left, HTMAXBUTTON);
  EXPECT_EQ(further, HTMINBUTTON);
  (void)close;
}

TEST_F(ShowStates, ShowWindowReturnsThePreviousVisibility) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW, RECT{10, 10, 200, 200});
  EXPECT_FALSE(ShowWindow(w, SW_SHOW));
  EXPECT_TRUE(ShowWindow(w, SW_SHOW));
  EXPECT_TRUE(ShowWindow(w, SW_HIDE));
  EXPECT_FALSE(ShowWindow(w, SW_HIDE));
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_SHOWWINDOW}).size(), 2u);
}

// SW_SHOW on a visible window changes nothing and sends nothing; SW_SHOWNA still places it (the
// position messages come, without WM_SHOWWINDOW and without activation).
TEST_F(ShowStates, ShowingAVisibleWindowSendsNothingEvenFromAnotherThread) {
  HWND other = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 10, 200, 200});
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 10, 200, 200});
  MessageLog::Instance().Clear();
  EXPECT_TRUE(ShowWindow(w, SW_SHOW));
  EXPECT_TRUE(MessageLog::Instance().For(w, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SHOWWINDOW}).empty());
  SetActiveWindow(other);
  MessageLog::Instance().Clear();
  EXPECT_TRUE(ShowWindow(w, SW_SHOWNA));
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SHOWWINDOW}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
  EXPECT_EQ(GetActiveWindow(), other);
  EXPECT_TRUE(IsWindowVisible(w));
  // The window's thread waits for the other one without pumping messages: a message sent to it
  // would never be answered.
  auto shown = std::make_shared<std::promise<BOOL>>();
  std::future<BOOL> answer = shown->get_future();
  std::thread([w, shown] { shown->set_value(ShowWindow(w, SW_SHOW)); }).detach();
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(30)), std::future_status::ready) << "ShowWindow never returned";
  EXPECT_TRUE(answer.get());
}

TEST_F(Positioning, ResizingKeepsWithinTheTrackingSizesTheWindowAsksFor) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW, RECT{10, 10, 310, 210});
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_GETMINMAXINFO) return false;
    auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
    mmi->ptMinTrackSize = POINT{200, 150};
    mmi->ptMaxTrackSize = POINT{400, 300};
    result = 0;
    return true;
  });
  MessageLog::Instance().Clear();
  struct Case {
    int cx, cy, expectedCx, expectedCy;
  };
  for (const Case& c : {Case{100, 100, 200, 150}, Case{500, 500, 400, 300}, Case{250, 200, 250, 200}}) {
    ASSERT_TRUE(SetWindowPos(w, nullptr, 0, 0, c.cx, c.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, c.expectedCx);
    EXPECT_EQ(r.bottom - r.top, c.expectedCy);
  }
  MoveWindow(w, 0, 0, 10, 10, TRUE);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 200) << "MoveWindow";
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_GETMINMAXINFO}).size(), 4u);
  SetWindowPos(w, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_GETMINMAXINFO}).size(), 4u) << "a move alone asks nothing";
  MessageLog::Instance().SetHandler(nullptr);
}

TEST_F(ShowStates, MaximiseAndRestoreKeepTheNormalRectangle) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 20, 210, 170});
  MessageLog::Instance().Clear();
  ShowWindow(w, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(w));
  RECT r;
  GetWindowRect(w, &r);
  SIZE screen = brambolt::GetScreenSize();
  int frame = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(r.left, -frame);
  EXPECT_EQ(r.right, screen.cx + frame);
  auto all = MessageLog::Instance().All();
  auto size = std::find_if(all.begin(), all.end(), [&](const Logged& m) { return m.msg == WM_SIZE && m.hwnd == w; });
  ASSERT_NE(size, all.end());
  EXPECT_EQ(size->wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  ASSERT_TRUE(GetWindowPlacement(w, &wp));
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_EQ(wp.rcNormalPosition.left, 10);
  EXPECT_EQ(wp.rcNormalPosition.bottom, 170);
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(w));
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right, 210);
}

TEST_F(ShowStates, MinimisedFromMaximisedRestoresToMaximised) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 20, 210, 170});
  ShowWindow(w, SW_SHOWMAXIMIZED);
  MessageLog::Instance().Clear();
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_FALSE(IsZoomed(w));
  auto sizes = MessageLog::Instance().All();
  auto size = std::find_if(sizes.begin(), sizes.end(), [&](const Logged& m) { return m.msg == WM_SIZE; });
  ASSERT_NE(size, sizes.end());
  EXPECT_EQ(size->wParam, static_cast<WPARAM>(SIZE_MINIMIZED));
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  GetWindowPlacement(w, &wp);
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
  EXPECT_EQ(wp.flags, static_cast<UINT>(WPF_RESTORETOMAXIMIZED));
  ShowWindow(w, SW_RESTORE);
  EXPECT_TRUE(IsZoomed(w));
  ShowWindow(w, SW_RESTORE);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 10);
}

namespace {

std::vector<std::pair<int, LPARAM>>& MinMaxHookCalls() {
  static std::vector<std::pair<int, LPARAM>> calls;
  return calls;
}

LRESULT CALLBACK RecordMinMax(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_MINMAX) MinMaxHookCalls().emplace_back(static_cast<int>(wp != 0), lp);
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

// Each change of the show state asks the CBT hook once with the command the caller gave, and the
// position messages it sends carry SWP_STATECHANGED (a plain move does not).
TEST_F(ShowStates, MinMaxChangesTellTheHookTheCommandAskedForAndMarkTheStateChange) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 20, 210, 170});
  static std::vector<UINT> changing, changed;
  changing.clear();
  changed.clear();
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT&) {
    if (msg == WM_WINDOWPOSCHANGING) changing.push_back(reinterpret_cast<WINDOWPOS*>(lp)->flags);
    if (msg == WM_WINDOWPOSCHANGED) changed.push_back(reinterpret_cast<WINDOWPOS*>(lp)->flags);
    return false;
  });
  MinMaxHookCalls().clear();
  HHOOK hook = SetWindowsHookEx(WH_CBT, RecordMinMax, nullptr, GetCurrentThreadId());
  const int commands[] = {SW_SHOWMINIMIZED, SW_SHOWNORMAL, SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE, SW_RESTORE,
                          SW_MINIMIZE, SW_SHOWNOACTIVATE};
  std::vector<std::pair<int, LPARAM>> expected;
  for (int cmd : commands) {
    changing.clear();
    changed.clear();
    ShowWindow(w, cmd);
    expected.emplace_back(1, cmd);
    ASSERT_EQ(changing.size(), 1u) << cmd;
    ASSERT_EQ(changed.size(), 1u) << cmd;
    EXPECT_TRUE(changing[0] & SWP_STATECHANGED) << cmd;
    EXPECT_TRUE(changed[0] & SWP_STATECHANGED) << cmd;
  }
  EXPECT_TRUE(IsZoomed(w)) << "restored to maximised after SW_SHOWNOACTIVATE of a minimised maximised window";
  EXPECT_EQ(MinMaxHookCalls(), expected);
  ShowWindow(w, SW_RESTORE);
  changed.clear();
  SetWindowPos(w, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_FALSE(changed[0] & SWP_STATECHANGED);
  UnhookWindowsHookEx(hook);
  MessageLog::Instance().SetHandler(nullptr);
}

// A window placed minimised with WPF_RESTORETOMAXIMIZED keeps the flag and is maximised when
// restored, whatever state it was in before.
TEST_F(ShowStates, PlacementKeepsRestoreToMaximised) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 20, 210, 170});
  for (int before : {SW_SHOWNORMAL, SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED}) {
    ShowWindow(w, before);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    wp.flags = WPF_RESTORETOMAXIMIZED;
    wp.showCmd = SW_SHOWMINIMIZED;
    wp.rcNormalPosition = RECT{30, 40, 230, 190};
    ASSERT_TRUE(SetWindowPlacement(w, &wp));
    WINDOWPLACEMENT got{};
    got.length = sizeof(got);
    ASSERT_TRUE(GetWindowPlacement(w, &got));
    EXPECT_EQ(got.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED)) << before;
    EXPECT_EQ(got.flags, static_cast<UINT>(WPF_RESTORETOMAXIMIZED)) << before;
    EXPECT_EQ(got.rcNormalPosition.left, 30) << before;
    ShowWindow(w, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(w)) << before;
    ShowWindow(w, SW_RESTORE);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 30) << before;
    EXPECT_EQ(r.bottom, 190) << before;
  }
}

TEST_F(ShowStates, PlacementOfExactly44BytesIsAppliedAndPulledOnScreen) {
  EXPECT_EQ(sizeof(WINDOWPLACEMENT), 44u);
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 20, 210, 170});
  WINDOWPLACEMENT wp{};
  wp.length = 40;
  wp.showCmd = SW_SHOWNORMAL;
  wp.rcNormalPosition = RECT{30, 40, 180, 140};
  EXPECT_FALSE(SetWindowPlacement(w, &wp));
  wp.length = sizeof(wp);
  EXPECT_TRUE(SetWindowPlacement(w, &wp));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.bottom, 140);
  wp.rcNormalPosition = RECT{5000, 6000, 5150, 6100};
  EXPECT_TRUE(SetWindowPlacement(w, &wp));
  GetWindowRect(w, &r);
  SIZE screen = brambolt::GetScreenSize();
  EXPECT_LE(r.right, screen.cx);
  EXPECT_LE(r.bottom, screen.cy);
  EXPECT_EQ(r.right - r.left, 150);
}

TEST_F(ShowStates, ShowingWithoutActivationLeavesTheActiveWindow) {
  HWND main = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND tip = MakeWindow(nullptr, WS_POPUP);
  EXPECT_EQ(GetActiveWindow(), main);
  ShowWindow(tip, SW_SHOWNA);
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(GetActiveWindow(), main);
  ShowWindow(tip, SW_HIDE);
  ShowWindow(tip, SW_SHOWNOACTIVATE);
  EXPECT_EQ(GetActiveWindow(), main);
  ShowWindow(tip, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), main) << "showing a visible window changes nothing";
  ShowWindow(tip, SW_HIDE);
  ShowWindow(tip, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), tip);
}

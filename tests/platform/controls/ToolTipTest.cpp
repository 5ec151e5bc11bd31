// The tooltip control: its tool list, delays on the virtual clock, showing and hiding as the
// mouse moves, clicks and leaves, text callbacks, centred tips and the topmost popup.
#include <cstring>

#include "ControlsTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

// A tool owner that answers text callbacks with "tip for <id>" in the notification's buffer.
LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (nm->code == TTN_NEEDTEXT) {
      auto* di = reinterpret_cast<NMTTDISPINFO*>(lParam);
      wsprintf(di->szText, "tip for %d", static_cast<int>(nm->idFrom));
      di->lpszText = di->szText;
    }
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class ToolTips : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASS wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "TipOwner";
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClass(&wc);
    owner_ = CreateWindowEx(0, "TipOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300, nullptr,
                            nullptr, nullptr, nullptr);
    left_ = CreateWindowEx(0, "Static", "left", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10, 100, 40, owner_, nullptr, nullptr,
                           nullptr);
    right_ = CreateWindowEx(0, "Static", "right", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 200, 10, 100, 40, owner_, nullptr, nullptr,
                            nullptr);
    tip_ = CreateWindowEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, owner_,
                          nullptr, nullptr, nullptr);
    ASSERT_NE(tip_, nullptr);
    SetActiveWindow(owner_);
    RunUntilIdle();
  }
  void TearDown() override { UnregisterClass("TipOwner", nullptr); }

  TOOLINFO Info(HWND window, LPSTR text, UINT flags = TTF_IDISHWND | TTF_SUBCLASS) {
    TOOLINFO ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = flags;
    ti.hwnd = owner_;
    ti.uId = reinterpret_cast<UINT_PTR>(window);
    ti.lpszText = text;
    return ti;
  }
  BOOL Add(TOOLINFO ti) { return static_cast<BOOL>(SendMessage(tip_, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti))); }
  bool Shown() { return IsWindowVisible(tip_) != FALSE; }
  std::string TipText() { return Text(tip_); }

  UiSession session_;
  HWND owner_ = nullptr, left_ = nullptr, right_ = nullptr, tip_ = nullptr;
};

TEST_F(ToolTips, ToolsAreAddedFoundChangedAndRemoved) {
  char text[] = "left tool";
  EXPECT_TRUE(Add(Info(left_, text)));
  EXPECT_FALSE(Add(Info(left_, text)));  // the same tool twice
  TOOLINFO rect = Info(nullptr, LPSTR_TEXTCALLBACK, 0);
  rect.uId = 7;
  rect.rect = RECT{0, 100, 50, 150};
  EXPECT_TRUE(Add(rect));
  EXPECT_EQ(SendMessage(tip_, TTM_GETTOOLCOUNT, 0, 0), 2);

  char buffer[80] = {};
  TOOLINFO query = Info(left_, buffer);
  ASSERT_TRUE(SendMessage(tip_, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&query)));
  EXPECT_STREQ(buffer, "left tool");
  EXPECT_EQ(query.uFlags, static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));

  char changed[] = "changed";
  TOOLINFO update = Info(left_, changed);
  SendMessage(tip_, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&update));
  TOOLINFO get = Info(left_, buffer);
  SendMessage(tip_, TTM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(&get));
  EXPECT_STREQ(buffer, "changed");

  TOOLINFO callback = Info(nullptr, buffer, 0);
  callback.uId = 7;
  SendMessage(tip_, TTM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(&callback));
  EXPECT_STREQ(buffer, "tip for 7");

  rect.rect = RECT{0, 200, 50, 250};
  SendMessage(tip_, TTM_NEWTOOLRECT, 0, reinterpret_cast<LPARAM>(&rect));
  TOOLINFO enumerated{};
  enumerated.cbSize = sizeof(enumerated);
  ASSERT_TRUE(SendMessage(tip_, TTM_ENUMTOOLS, 1, reinterpret_cast<LPARAM>(&enumerated)));
  EXPECT_EQ(enumerated.uId, 7u);
  EXPECT_EQ(enumerated.rect.top, 200);
  EXPECT_EQ(enumerated.lpszText, LPSTR_TEXTCALLBACK);
  EXPECT_FALSE(SendMessage(tip_, TTM_ENUMTOOLS, 2, reinterpret_cast<LPARAM>(&enumerated)));

  TTHITTESTINFO hit{};
  hit.hwnd = owner_;
  hit.pt = POINT{10, 210};
  hit.ti.cbSize = sizeof(TOOLINFO);
  EXPECT_TRUE(SendMessage(tip_, TTM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  EXPECT_EQ(hit.ti.uId, 7u);
  hit.pt = POINT{10, 110};
  EXPECT_FALSE(SendMessage(tip_, TTM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));

  SendMessage(tip_, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&query));
  EXPECT_EQ(SendMessage(tip_, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_FALSE(SendMessage(tip_, TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&query)));
}

TEST_F(ToolTips, DelaysFollowTheDoubleClickTimeUnlessSet) {
  UINT base = GetDoubleClickTime();
  EXPECT_EQ(SendMessage(tip_, TTM_GETDELAYTIME, TTDT_INITIAL, 0), base);
  EXPECT_EQ(SendMessage(tip_, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), base * 10);
  EXPECT_EQ(SendMessage(tip_, TTM_GETDELAYTIME, TTDT_RESHOW, 0), base / 5);
  SendMessage(tip_, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELONG(200, 0));
  EXPECT_EQ(SendMessage(tip_, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 200);
  EXPECT_EQ(SendMessage(tip_, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 2000);
  EXPECT_EQ(SendMessage(tip_, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 40);
  SendMessage(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELONG(30000, 0));
  EXPECT_EQ(SendMessage(tip_, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 30000);
  SendMessage(tip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELONG(-1, 0));
  EXPECT_EQ(SendMessage(tip_, TTM_GETDELAYTIME, TTDT_INITIAL, 0), base);
}

TEST_F(ToolTips, TheTipShowsAfterTheInitialDelayAndPopsAfterTheAutoPopDelay) {
  char text[] = "left tool";
  Add(Info(left_, text));
  SendMessage(tip_, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELONG(400, 0));
  MoveMouse(left_, POINT{20, 20});
  AdvanceClock(399);
  EXPECT_FALSE(Shown());
  AdvanceClock(1);
  ASSERT_TRUE(Shown());
  EXPECT_EQ(TipText(), "left tool");
  EXPECT_TRUE(GetWindowLong(tip_, GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(GetWindowLong(tip_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  TOOLINFO current{};
  current.cbSize = sizeof(current);
  EXPECT_TRUE(SendMessage(tip_, TTM_GETCURRENTTOOL, 0, reinterpret_cast<LPARAM>(&current)));
  EXPECT_EQ(current.uId, reinterpret_cast<UINT_PTR>(left_));
  // The tip lies below the cursor, in the tip colours with a frame.
  RECT r;
  GetWindowRect(tip_, &r);
  POINT cursor = ScreenPoint(left_, POINT{20, 20});
  EXPECT_GT(r.top, cursor.y);
  EXPECT_EQ(WindowPixel(tip_, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(WindowPixel(tip_, 2, 2), GetSysColor(COLOR_INFOBK));
  AdvanceClock(3999);
  EXPECT_TRUE(Shown());
  AdvanceClock(1);
  EXPECT_FALSE(Shown());
}

TEST_F(ToolTips, MovingToAnotherToolReshowsQuicklyAndLeavingHides) {
  char a[] = "left tool", b[] = "right tool";
  Add(Info(left_, a));
  Add(Info(right_, b));
  MoveMouse(left_, POINT{20, 20});
  AdvanceClock(GetDoubleClickTime());
  ASSERT_TRUE(Shown());
  MoveMouse(right_, POINT{20, 20});
  EXPECT_FALSE(Shown());
  AdvanceClock(GetDoubleClickTime() / 5);
  ASSERT_TRUE(Shown());
  EXPECT_EQ(TipText(), "right tool");
  MoveMouse(owner_, POINT{150, 150});  // not a tool
  AdvanceClock(200);
  EXPECT_FALSE(Shown());
}

// A shown tip goes when a modal box opens over its window, even a tip that shows for inactive
// windows; one without that style also goes when its window loses the activation.
TEST_F(ToolTips, ATipGivesWayToAModalBoxAndToAnotherActiveWindow) {
  char a[] = "left tool";
  Add(Info(left_, a));
  MoveMouse(left_, POINT{20, 20});
  AdvanceClock(GetDoubleClickTime());
  ASSERT_TRUE(Shown());
  bool shownUnderBox = true;
  ModalAnswers answers;
  answers.When(nullptr, "Question", [&](HWND box) {
    AdvanceClock(100);
    shownUnderBox = Shown();
    SendMessage(box, WM_COMMAND, IDYES, 0);
  });
  MessageBox(owner_, "Save new workspace?", "Question", MB_YESNO);
  EXPECT_FALSE(shownUnderBox);

  SetWindowLong(tip_, GWL_STYLE, GetWindowLong(tip_, GWL_STYLE) & ~TTS_ALWAYSTIP);
  MoveMouse(owner_, POINT{150, 150});
  AdvanceClock(200);
  MoveMouse(left_, POINT{20, 20});
  AdvanceClock(GetDoubleClickTime());
  ASSERT_TRUE(Shown());
  HWND other = CreateWindowEx(0, "TipOwner", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400, 100, 100, nullptr,
                              nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  AdvanceClock(100);
  EXPECT_FALSE(Shown());
  DestroyWindow(other);
}

TEST_F(ToolTips, AClickHidesTheTipUntilTheMouseMovesOn) {
  char a[] = "left tool";
  Add(Info(left_, a));
  MoveMouse(left_, POINT{20, 20});
  AdvanceClock(GetDoubleClickTime());
  ASSERT_TRUE(Shown());
  Click(left_, POINT{20, 20});
  EXPECT_FALSE(Shown());
  MoveMouse(left_, POINT{25, 22});
  AdvanceClock(GetDoubleClickTime() * 2);
  EXPECT_FALSE(Shown());
}

TEST_F(ToolTips, RelayedMessagesDriveToolsWithoutSubclassing) {
  char a[] = "area";
  TOOLINFO area = Info(nullptr, a, 0);
  area.uId = 3;
  area.rect = RECT{100, 100, 200, 200};
  Add(area);
  auto relay = [&](POINT p) {
    MSG m{};
    m.hwnd = owner_;
    m.message = WM_MOUSEMOVE;
    m.lParam = MAKELPARAM(p.x, p.y);
    SendMessage(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
  };
  MoveMouse(owner_, POINT{150, 150});
  relay(POINT{150, 150});
  AdvanceClock(GetDoubleClickTime());
  ASSERT_TRUE(Shown());
  EXPECT_EQ(TipText(), "area");
  SendMessage(tip_, TTM_ACTIVATE, FALSE, 0);
  EXPECT_FALSE(Shown());
  relay(POINT{10, 10});
  relay(POINT{150, 150});
  AdvanceClock(GetDoubleClickTime() * 2);
  EXPECT_FALSE(Shown());
  SendMessage(tip_, TTM_ACTIVATE, TRUE, 0);
  relay(POINT{10, 10});
  relay(POINT{150, 150});
  AdvanceClock(GetDoubleClickTime());
  EXPECT_TRUE(Shown());
}

TEST_F(ToolTips, CallbackTextIsAskedEachTimeAndCentredTipsSitUnderTheTool) {
  Add(Info(left_, LPSTR_TEXTCALLBACK, TTF_IDISHWND | TTF_SUBCLASS | TTF_CENTERTIP));
  MoveMouse(left_, POINT{5, 5});
  AdvanceClock(GetDoubleClickTime());
  ASSERT_TRUE(Shown());
  EXPECT_EQ(TipText(), "tip for " + std::to_string(static_cast<int>(reinterpret_cast<UINT_PTR>(left_))));
  RECT tip, tool;
  GetWindowRect(tip_, &tip);
  GetWindowRect(left_, &tool);
  EXPECT_LE(std::abs((tip.left + tip.right) - (tool.left + tool.right)), 1);
  EXPECT_GE(tip.top, tool.bottom);
}

TEST_F(ToolTips, TrackedToolsShowWhereTheyAreTold) {
  char a[] = "tracked";
  TOOLINFO t = Info(nullptr, a, TTF_TRACK | TTF_ABSOLUTE);
  t.uId = 9;
  Add(t);
  SendMessage(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(300, 250));
  SendMessage(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&t));
  ASSERT_TRUE(Shown());
  RECT r;
  GetWindowRect(tip_, &r);
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.top, 250);
  SendMessage(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&t));
  EXPECT_FALSE(Shown());
}

}  // namespace

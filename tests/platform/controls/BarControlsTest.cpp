// The progress bar, the up-down control with its buddy, and the hot-key control: their messages,
// notifications, input and drawing.
#include <cstring>

#include "ControlsTestSupport.h"
#include "controls/CommonControls.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class BarControls : public ::testing::Test {
 protected:
  HWND Child(const char* cls, DWORD style, int x, int y, int w, int h, int id, const char* text = nullptr) {
    HWND hwnd = CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, recorder_.Hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr) << cls;
    return hwnd;
  }
  std::vector<NotificationRecorder::Record> Of(UINT message) const {
    std::vector<NotificationRecorder::Record> out;
    for (const auto& r : recorder_.Records())
      if (r.message == message) out.push_back(r);
    return out;
  }

  UiSession session_;
  NotificationRecorder recorder_;
};

// ---- Progress bar

struct ProgressStep {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT returns;
  int posAfter;
};

TEST_F(BarControls, ProgressMessagesMoveThePositionWithinTheRange) {
  HWND bar = Child(PROGRESS_CLASS, 0, 10, 10, 200, 20, 1);
  const std::vector<ProgressStep> steps{
      {PBM_GETPOS, 0, 0, 0, 0},
      {PBM_SETPOS, 40, 0, 0, 40},
      {PBM_DELTAPOS, 15, 0, 40, 55},
      {PBM_SETPOS, 500, 0, 55, 100},          // clamped to the top
      {PBM_SETSTEP, 30, 0, 10, 100},          // answers the old step
      {PBM_SETPOS, 80, 0, 100, 80},
      {PBM_STEPIT, 0, 0, 80, 0},              // past the top: starts over at the bottom
      {PBM_STEPIT, 0, 0, 0, 30},
      {PBM_SETSTEP, static_cast<WPARAM>(-40), 0, 30, 30},
      {PBM_STEPIT, 0, 0, 30, 100},            // past the bottom: starts over at the top
      {PBM_STEPIT, 0, 0, 100, 60},
      {PBM_SETPOS, 40, 0, 60, 40},
      {PBM_SETRANGE, 0, MAKELPARAM(50, 60), MAKELONG(0, 100), 50},  // old range; position pulled in
      {PBM_SETRANGE32, 1000, 200000, MAKELONG(50, 60), 1000},
      {PBM_GETRANGE, TRUE, 0, 1000, 1000},
      {PBM_GETRANGE, FALSE, 0, 200000, 1000},
      {PBM_DELTAPOS, static_cast<WPARAM>(-5), 0, 1000, 1000},
      {PBM_SETPOS, 150000, 0, 1000, 150000},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    const ProgressStep& s = steps[i];
    EXPECT_EQ(SendMessage(bar, s.msg, s.wParam, s.lParam), s.returns) << "step " << i;
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), s.posAfter) << "step " << i;
  }
  PBRANGE range{};
  SendMessage(bar, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 1000);
  EXPECT_EQ(range.iHigh, 200000);
}

TEST_F(BarControls, ProgressFillsInProportionToThePosition) {
  HWND smooth = Child(PROGRESS_CLASS, PBS_SMOOTH, 10, 10, 202, 20, 1);
  HWND blocks = Child(PROGRESS_CLASS, 0, 10, 40, 202, 20, 2);
  HWND vertical = Child(PROGRESS_CLASS, PBS_SMOOTH | PBS_VERTICAL, 250, 10, 20, 102, 3);
  for (HWND h : {smooth, blocks, vertical}) SendMessage(h, PBM_SETPOS, 25, 0);
  SendMessage(smooth, PBM_SETBARCOLOR, 0, RGB(200, 0, 0));
  RunUntilIdle();
  const COLORREF face = GetSysColor(COLOR_3DFACE), highlight = GetSysColor(COLOR_HIGHLIGHT);
  // 200 inner pixels, a quarter filled.
  EXPECT_EQ(WindowPixel(smooth, 1, 10), RGB(200, 0, 0));
  EXPECT_EQ(WindowPixel(smooth, 50, 10), RGB(200, 0, 0));
  EXPECT_EQ(WindowPixel(smooth, 51, 10), face);
  EXPECT_EQ(WindowPixel(smooth, 0, 10), face);
  // Blocks of 12 pixels (two thirds of 18) with gaps of 2.
  EXPECT_EQ(WindowPixel(blocks, 1, 10), highlight);
  EXPECT_EQ(WindowPixel(blocks, 12, 10), highlight);
  EXPECT_EQ(WindowPixel(blocks, 13, 10), face);
  EXPECT_EQ(WindowPixel(blocks, 15, 10), highlight);
  EXPECT_EQ(WindowPixel(blocks, 150, 10), face);
  // Vertical bars fill from the bottom.
  EXPECT_EQ(WindowPixel(vertical, 10, 100), highlight);
  EXPECT_EQ(WindowPixel(vertical, 10, 76), highlight);
  EXPECT_EQ(WindowPixel(vertical, 10, 75), face);
}

TEST_F(BarControls, ProgressRepaintsBeforeTheMessageReturns) {
  HWND bar = Child(PROGRESS_CLASS, PBS_SMOOTH, 10, 10, 202, 20, 1);
  RunUntilIdle();
  const COLORREF face = GetSysColor(COLOR_3DFACE), highlight = GetSysColor(COLOR_HIGHLIGHT);
  ASSERT_EQ(WindowPixel(bar, 30, 10), face);
  // No message loop turns between the messages and the probes: a job on the UI thread.
  SendMessage(bar, PBM_SETPOS, 20, 0);
  EXPECT_EQ(WindowPixel(bar, 30, 10), highlight) << "PBM_SETPOS";
  SendMessage(bar, PBM_DELTAPOS, 20, 0);
  EXPECT_EQ(WindowPixel(bar, 70, 10), highlight) << "PBM_DELTAPOS";
  SendMessage(bar, PBM_STEPIT, 0, 0);
  EXPECT_EQ(WindowPixel(bar, 90, 10), highlight) << "PBM_STEPIT";
}

// ---- Up-down

class UpDown : public BarControls {
 protected:
  void SetUp() override {
    recorder_.ExpectStructure(UDN_DELTAPOS, sizeof(NMUPDOWN));
    recorder_.Watch(WM_VSCROLL);
    recorder_.Watch(WM_HSCROLL);
    buddy_ = Child("Edit", WS_BORDER, 20, 20, 80, 22, 10);
    spin_ = Child(UPDOWN_CLASS, UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 16, 0, 11);
    RunUntilIdle();
  }
  void ClickArrow(bool up) {
    RECT r;
    GetClientRect(spin_, &r);
    Click(spin_, POINT{r.right / 2, up ? 2 : r.bottom - 3});
  }
  HWND buddy_ = nullptr, spin_ = nullptr;
};

TEST_F(UpDown, AutoBuddyTakesThePreviousSiblingAndSitsAtItsRightEdge) {
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(spin_, UDM_GETBUDDY, 0, 0)), buddy_);
  RECT b = RectInParent(buddy_), s = RectInParent(spin_);
  EXPECT_EQ(b.left, 20);
  EXPECT_EQ(b.right - b.left, 64);
  EXPECT_EQ(s.left, b.right);
  EXPECT_EQ(s.right - s.left, 16);
  EXPECT_EQ(s.top, b.top);
  EXPECT_EQ(s.bottom, b.bottom);
  EXPECT_EQ(Text(buddy_), "0");
}

TEST_F(UpDown, RangeAndPositionMessages) {
  EXPECT_EQ(SendMessage(spin_, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));  // the default runs from 100 to 0
  SendMessage(spin_, UDM_SETRANGE, 0, MAKELONG(20, 0));
  EXPECT_EQ(SendMessage(spin_, UDM_GETRANGE, 0, 0), MAKELONG(20, 0));
  EXPECT_EQ(SendMessage(spin_, UDM_SETPOS, 0, MAKELONG(7, 0)), 0);
  EXPECT_EQ(Text(buddy_), "7");
  EXPECT_EQ(SendMessage(spin_, UDM_SETPOS, 0, MAKELONG(50, 0)), 7);
  EXPECT_EQ(LOWORD(SendMessage(spin_, UDM_GETPOS, 0, 0)), 20);
  SendMessage(spin_, UDM_SETRANGE32, static_cast<WPARAM>(-5000), 5000);
  int lo = 0, hi = 0;
  SendMessage(spin_, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
  EXPECT_EQ(lo, -5000);
  EXPECT_EQ(hi, 5000);
  SendMessage(spin_, UDM_SETPOS32, 0, -1234);
  EXPECT_EQ(Text(buddy_), "-1,234");
  BOOL error = TRUE;
  EXPECT_EQ(SendMessage(spin_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), -1234);
  EXPECT_FALSE(error);
  EXPECT_EQ(SendMessage(spin_, UDM_SETBASE, 16, 0), 10);
  EXPECT_EQ(SendMessage(spin_, UDM_GETBASE, 0, 0), 16);
  EXPECT_EQ(SendMessage(spin_, UDM_SETBASE, 7, 0), 0);
  SendMessage(spin_, UDM_SETPOS32, 0, 255);
  EXPECT_EQ(Text(buddy_), "0x00FF");
}

TEST_F(UpDown, TypedTextOutsideTheRangeIsReportedNotClamped) {
  SendMessage(spin_, UDM_SETRANGE, 0, MAKELONG(20, 0));
  SendMessage(spin_, UDM_SETPOS, 0, MAKELONG(5, 0));
  struct Case {
    const char* typed;
    int pos;
    bool error;
  };
  for (const Case& c : {Case{"12", 12, false}, Case{"99", 12, true}, Case{"abc", 12, true}, Case{"0", 0, false}}) {
    SetWindowText(buddy_, c.typed);
    LRESULT r = SendMessage(spin_, UDM_GETPOS, 0, 0);
    EXPECT_EQ(static_cast<short>(LOWORD(r)), c.pos) << c.typed;
    EXPECT_EQ(HIWORD(r) != 0, c.error) << c.typed;
    EXPECT_EQ(Text(buddy_), c.typed);
  }
}

TEST_F(UpDown, PositionReportsAnErrorWithoutANumberInTheBuddy) {
  HWND spin = Child(UPDOWN_CLASS, 0, 200, 60, 16, 30, 13);
  SendMessage(spin, UDM_SETRANGE, 0, MAKELONG(20, 0));
  SendMessage(spin, UDM_SETPOS, 0, MAKELONG(4, 0));
  LRESULT r = SendMessage(spin, UDM_GETPOS, 0, 0);
  EXPECT_EQ(LOWORD(r), 4);
  EXPECT_NE(HIWORD(r), 0) << "no buddy";
  BOOL error = FALSE;
  EXPECT_EQ(SendMessage(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 4);
  EXPECT_TRUE(error);
  // A buddy's text is read without UDS_SETBUDDYINT too.
  HWND buddy = Child("Edit", WS_BORDER, 220, 60, 60, 22, 14, "7");
  SendMessage(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  EXPECT_EQ(SendMessage(spin, UDM_GETPOS, 0, 0), MAKELONG(7, 0));
  SetWindowText(buddy, "seven");
  r = SendMessage(spin, UDM_GETPOS, 0, 0);
  EXPECT_EQ(LOWORD(r), 7);
  EXPECT_NE(HIWORD(r), 0) << "no number";
}

TEST_F(UpDown, ClicksAskTheParentThenStepAndScroll) {
  SendMessage(spin_, UDM_SETRANGE, 0, MAKELONG(10, 0));
  SendMessage(spin_, UDM_SETPOS, 0, MAKELONG(3, 0));
  recorder_.Clear();
  ClickArrow(true);
  auto notes = Of(WM_NOTIFY);
  ASSERT_EQ(notes.size(), 1u);
  NMUPDOWN nm;
  std::memcpy(&nm, notes[0].data.data(), sizeof(nm));
  EXPECT_EQ(nm.hdr.code, UDN_DELTAPOS);
  EXPECT_EQ(nm.hdr.hwndFrom, spin_);
  EXPECT_EQ(nm.iPos, 3);
  EXPECT_EQ(nm.iDelta, 1);
  EXPECT_EQ(Text(buddy_), "4");
  auto scrolls = Of(WM_VSCROLL);
  ASSERT_EQ(scrolls.size(), 2u);
  EXPECT_EQ(scrolls[0].wParam, MAKEWPARAM(SB_THUMBPOSITION, 4));
  EXPECT_EQ(reinterpret_cast<HWND>(scrolls[0].lParam), spin_);
  EXPECT_EQ(LOWORD(scrolls[1].wParam), SB_ENDSCROLL);
  ClickArrow(false);
  ClickArrow(false);
  EXPECT_EQ(Text(buddy_), "2");
  recorder_.SetResult(1);  // the parent refuses the change
  ClickArrow(true);
  EXPECT_EQ(Text(buddy_), "2");
}

TEST_F(UpDown, EndsClampOrWrap) {
  struct Case {
    DWORD wrap;
    int start;
    bool up;
    int expected;
  };
  for (const Case& c : {Case{0, 10, true, 10}, Case{0, 0, false, 0}, Case{UDS_WRAP, 10, true, 0},
                        Case{UDS_WRAP, 0, false, 10}}) {
    HWND spin = Child(UPDOWN_CLASS, c.wrap, 200, 10, 16, 30, 12);
    SendMessage(spin, UDM_SETRANGE, 0, MAKELONG(10, 0));
    SendMessage(spin, UDM_SETPOS, 0, MAKELONG(c.start, 0));
    Click(spin, POINT{8, c.up ? 2 : 27});
    EXPECT_EQ(LOWORD(SendMessage(spin, UDM_GETPOS, 0, 0)), c.expected) << c.wrap << " " << c.start;
    DestroyWindow(spin);
  }
}

TEST_F(UpDown, HoldingAnArrowRepeatsFasterOnTheClock) {
  SendMessage(spin_, UDM_SETRANGE32, 0, 1000);
  UDACCEL accel[] = {{0, 1}, {1, 10}};
  EXPECT_TRUE(SendMessage(spin_, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(accel)));
  RECT r;
  GetClientRect(spin_, &r);
  ButtonDown(spin_, POINT{r.right / 2, 2});
  EXPECT_EQ(Text(buddy_), "1");
  AdvanceClock(500);  // the first repeat waits half a second
  EXPECT_EQ(Text(buddy_), "2");
  AdvanceClock(400);  // then one step every 100 ms
  EXPECT_EQ(Text(buddy_), "6");
  AdvanceClock(200);  // from a second held on, steps of ten
  EXPECT_EQ(Text(buddy_), "26");
  ButtonUp(spin_, POINT{r.right / 2, 2});
  AdvanceClock(1000);
  EXPECT_EQ(Text(buddy_), "26");
}

TEST_F(UpDown, ArrowKeysInTheBuddyStep) {
  SendMessage(spin_, UDM_SETRANGE, 0, MAKELONG(10, 0));
  SetFocus(buddy_);
  ASSERT_EQ(GetFocus(), buddy_);
  PressKey(VK_UP);
  PressKey(VK_UP);
  PressKey(VK_DOWN);
  EXPECT_EQ(Text(buddy_), "1");
  EXPECT_EQ(Of(WM_NOTIFY).size(), 3u);
}

// ---- Hot-key

TEST(HotKeyNames, ModifiersComeBeforeTheKey) {
  struct Case {
    BYTE vk, mods;
    const char* text;
  };
  for (const Case& c : {Case{0, 0, "None"}, Case{'A', HOTKEYF_CONTROL | HOTKEYF_SHIFT, "Ctrl + Shift + A"},
                        Case{0, HOTKEYF_ALT, "Alt + "}, Case{'7', HOTKEYF_ALT | HOTKEYF_CONTROL, "Ctrl + Alt + 7"}})
    EXPECT_EQ(ctl::HotKeyText(c.vk, c.mods), c.text);
  EXPECT_NE(ctl::HotKeyText(VK_F5, HOTKEYF_SHIFT).find("Shift + F5"), std::string::npos);
}

TEST_F(BarControls, HotKeyTakesTypedKeysUnderItsRules) {
  HWND hot = Child(HOTKEY_CLASS, WS_BORDER, 10, 10, 150, 22, 5);
  SendMessage(hot, HKM_SETHOTKEY, MAKEWORD('Q', HOTKEYF_ALT), 0);
  EXPECT_EQ(SendMessage(hot, HKM_GETHOTKEY, 0, 0), MAKEWORD('Q', HOTKEYF_ALT));
  EXPECT_TRUE(Of(WM_COMMAND).empty());  // set by the program: no notification
  SetFocus(hot);
  PressKey('A', kCtrl | kShift);
  EXPECT_EQ(SendMessage(hot, HKM_GETHOTKEY, 0, 0), MAKEWORD('A', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
  auto commands = Of(WM_COMMAND);
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.back().code, static_cast<UINT>(EN_CHANGE));
  EXPECT_EQ(commands.back().id, 5u);
  // Bare keys and Shift alone are refused: they become Ctrl+Alt.
  SendMessage(hot, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
  PressKey('B');
  EXPECT_EQ(SendMessage(hot, HKM_GETHOTKEY, 0, 0), MAKEWORD('B', HOTKEYF_CONTROL | HOTKEYF_ALT));
  PressKey('C', kShift);
  EXPECT_EQ(SendMessage(hot, HKM_GETHOTKEY, 0, 0), MAKEWORD('C', HOTKEYF_CONTROL | HOTKEYF_ALT));
  PressKey('D', kCtrl);
  EXPECT_EQ(SendMessage(hot, HKM_GETHOTKEY, 0, 0), MAKEWORD('D', HOTKEYF_CONTROL));
  PressKey(VK_BACK);
  EXPECT_EQ(SendMessage(hot, HKM_GETHOTKEY, 0, 0), 0);
  EXPECT_EQ(SendMessage(hot, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_WANTARROWS);
}

}  // namespace

// The status-bar control: parts and their rectangles, texts with their drawing types, owner-drawn
// parts, the simple mode, the size grip, following the parent's bottom edge, and the pixels of
// sunken and borderless parts.
#include <vector>

#include "ControlsTestSupport.h"
#include "controls/CommonControls.h"

using namespace brambolt;
using namespace brambolt::test;

namespace {

class StatusBarControl : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    recorder_.Watch(WM_DRAWITEM);
    bar_ = CreateWindowEx(0, STATUSCLASSNAME, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                          recorder_.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(7)), nullptr, nullptr);
    ASSERT_NE(bar_, nullptr);
  }
  RECT Part(int index) {
    RECT r{};
    EXPECT_TRUE(SendMessage(bar_, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)));
    return r;
  }
  std::string TextOf(int index, LRESULT* answer = nullptr) {
    char buffer[128] = "";
    LRESULT r = SendMessage(bar_, SB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    if (answer != nullptr) *answer = r;
    return buffer;
  }

  UiSession session_;
  NotificationRecorder recorder_;
  HWND bar_ = nullptr;
};

TEST_F(StatusBarControl, PartsTextsAndTheirRectangles) {
  // It lies along the bottom of its parent, the whole width.
  RECT parent, bar;
  GetClientRect(recorder_.Hwnd(), &parent);
  GetWindowRect(bar_, &bar);
  MapWindowPoints(nullptr, recorder_.Hwnd(), reinterpret_cast<POINT*>(&bar), 2);
  EXPECT_EQ(bar.bottom, parent.bottom);
  EXPECT_EQ(bar.right - bar.left, parent.right);
  const int height = bar.bottom - bar.top;

  const int edges[] = {100, 200, -1};
  EXPECT_TRUE(SendMessage(bar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
  int got[3] = {};
  EXPECT_EQ(SendMessage(bar_, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(got)), 3);
  EXPECT_EQ(got[2], -1);
  int borders[3] = {};
  SendMessage(bar_, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  RECT second = Part(1);
  EXPECT_EQ(second.left, 100 + borders[2]);
  EXPECT_EQ(second.right, 200);
  EXPECT_EQ(second.top, borders[1]);
  EXPECT_EQ(second.bottom, height - borders[1]);
  EXPECT_EQ(Part(2).right, parent.right) << "-1 reaches the right edge";

  SendMessage(bar_, SB_SETTEXT, 0, reinterpret_cast<LPARAM>("Hello"));
  SendMessage(bar_, SB_SETTEXT, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("Raised"));
  LRESULT answer = 0;
  EXPECT_EQ(TextOf(0, &answer), "Hello");
  EXPECT_EQ(answer, MAKELONG(5, 0));
  EXPECT_EQ(TextOf(1, &answer), "Raised");
  EXPECT_EQ(HIWORD(answer), SBT_POPOUT);
  EXPECT_EQ(SendMessage(bar_, SB_GETTEXTLENGTH, 1, 0), MAKELONG(6, SBT_POPOUT));
  SetWindowText(bar_, "Window text");
  EXPECT_EQ(TextOf(0), "Window text") << "the window's text is the first part's";
  EXPECT_FALSE(SendMessage(bar_, SB_SETTEXT, 9, reinterpret_cast<LPARAM>("none"))) << "no such part";

  // The simple mode shows one text over the whole bar; the parts keep theirs.
  SendMessage(bar_, SB_SIMPLE, TRUE, 0);
  SendMessage(bar_, SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>("Menu help"));
  EXPECT_TRUE(SendMessage(bar_, SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(Part(0).right, parent.right);
  EXPECT_EQ(TextOf(SB_SIMPLEID), "Menu help");
  SendMessage(bar_, SB_SIMPLE, FALSE, 0);
  EXPECT_EQ(TextOf(0), "Window text");

  // The parent's size passed on: the bar follows its bottom edge.
  SetWindowPos(recorder_.Hwnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(recorder_.Hwnd(), &parent);
  SendMessage(bar_, WM_SIZE, 0, 0);
  GetWindowRect(bar_, &bar);
  MapWindowPoints(nullptr, recorder_.Hwnd(), reinterpret_cast<POINT*>(&bar), 2);
  EXPECT_EQ(bar.bottom, parent.bottom);
  EXPECT_EQ(bar.right, parent.right);
}

TEST_F(StatusBarControl, OwnerDrawnPartsAndTheGripAndBorders) {
  const int edges[] = {120, 240, -1};
  SendMessage(bar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  SendMessage(bar_, SB_SETTEXT, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(""));
  SendMessage(bar_, SB_SETTEXT, 1 | SBT_OWNERDRAW, 1234);
  EXPECT_EQ(SendMessage(bar_, SB_GETTEXT, 1, 0), 1234) << "an owner-drawn part answers its value";
  recorder_.Clear();
  InvalidateRect(bar_, nullptr, TRUE);
  RunUntilIdle();
  bool drawn = false;
  for (const auto& r : recorder_.Records()) {
    if (r.message != WM_DRAWITEM) continue;
    EXPECT_EQ(r.wParam, 7u) << "the control's id";
    drawn = true;
  }
  EXPECT_TRUE(drawn) << "the parent draws the owner-drawn part";

  // A sunken part has its shadow top-left; the borderless first part none.
  RECT first = Part(0), third = Part(2);
  EXPECT_EQ(WindowPixel(bar_, third.left, third.top), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(WindowPixel(bar_, third.left + 20, third.bottom - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(WindowPixel(bar_, first.left, first.top), GetSysColor(COLOR_BTNFACE));

  // The grip in the bottom-right corner sizes the window.
  RECT bar;
  GetWindowRect(bar_, &bar);
  EXPECT_EQ(SendMessage(bar_, WM_NCHITTEST, 0, MAKELPARAM(bar.right - 3, bar.bottom - 3)), HTBOTTOMRIGHT);
  EXPECT_EQ(SendMessage(bar_, WM_NCHITTEST, 0, MAKELPARAM(bar.left + 30, bar.bottom - 3)), HTCLIENT);
}

// With SBARS_TOOLTIPS a part's tip shows when its text is cut or it shows only an icon, and not
// over a part whose text fits.
TEST_F(StatusBarControl, TipsShowOverCutTextsAndLoneIcons) {
  HWND tipped = CreateWindowEx(0, STATUSCLASSNAME, "", WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS | CCS_TOP, 0, 0, 0, 0,
                               recorder_.Hwnd(), nullptr, nullptr, nullptr);
  const int edges[] = {40, 300, 330};
  SendMessage(tipped, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  SendMessage(tipped, SB_SETTEXT, 0, reinterpret_cast<LPARAM>("A text far too long for forty pixels"));
  SendMessage(tipped, SB_SETTEXT, 1, reinterpret_cast<LPARAM>("Fits"));
  // A black 16x16 icon: an empty AND mask, an all-black XOR image.
  std::vector<BYTE> andBits(16 * 2, 0x00), xorBits(16 * 2, 0x00);
  HICON icon = CreateIcon(nullptr, 16, 16, 1, 1, andBits.data(), xorBits.data());
  EXPECT_TRUE(SendMessage(tipped, SB_SETICON, 2, reinterpret_cast<LPARAM>(icon)));
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(tipped, SB_GETICON, 2, 0)), icon);
  const char* tips[] = {"the whole text", "never shown", "the icon's meaning"};
  for (int i = 0; i < 3; ++i) SendMessage(tipped, SB_SETTIPTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(tips[i]));
  char buffer[64] = {};
  SendMessage(tipped, SB_GETTIPTEXT, MAKEWPARAM(2, sizeof(buffer)), reinterpret_cast<LPARAM>(buffer));
  EXPECT_STREQ(buffer, "the icon's meaning");
  RunUntilIdle();

  auto tipAfterHovering = [&](int part) -> std::string {
    MoveMouse(recorder_.Hwnd(), POINT{250, 150});
    AdvanceClock(1000);
    RECT r{};
    SendMessage(tipped, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&r));
    MoveMouse(tipped, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    AdvanceClock(GetDoubleClickTime() + 10);
    HWND tip = FindWindowEx(nullptr, nullptr, TOOLTIPS_CLASS, nullptr);
    for (; tip != nullptr; tip = FindWindowEx(nullptr, tip, TOOLTIPS_CLASS, nullptr))
      if (IsWindowVisible(tip)) return ctltest::Text(tip);
    return "(none)";
  };
  EXPECT_EQ(tipAfterHovering(0), "the whole text");
  EXPECT_EQ(tipAfterHovering(1), "(none)");
  EXPECT_EQ(tipAfterHovering(2), "the icon's meaning");
  // The icon is drawn in its part.
  RECT r{};
  SendMessage(tipped, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&r));
  int inked = 0;
  for (int x = r.left + 2; x < r.right - 2; ++x)
    if (WindowPixel(tipped, x, (r.top + r.bottom) / 2) != GetSysColor(COLOR_BTNFACE)) ++inked;
  EXPECT_GT(inked, 4);
  DestroyIcon(icon);
}

}  // namespace

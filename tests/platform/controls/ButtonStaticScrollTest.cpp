// Buttons, statics and scroll-bar controls: dialog codes, check states, clicks by mouse and keyboard,
// notifications, owner drawing, images, and scrolling with thumb tracking.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class ControlFixture : public ::testing::Test {
 protected:
  HWND Make(const char* cls, DWORD style, const char* text = "Text", int id = 50, RECT r = {10, 10, 110, 40}) {
    HWND h = CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, recorder_.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            nullptr, nullptr);
    EXPECT_NE(h, nullptr);
    SendMessage(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    RunUntilIdle();
    recorder_.Clear();
    return h;
  }
  std::vector<UINT> Codes(UINT_PTR id) const {
    std::vector<UINT> out;
    for (const auto& r : recorder_.Records())
      if (r.message == WM_COMMAND && r.id == id) out.push_back(r.code);
    return out;
  }

  UiSession session_;
  NotificationRecorder recorder_;
};

struct ButtonKind {
  DWORD style;
  LRESULT dialogCode;
  UINT afterOneClick;
  UINT afterTwoClicks;
};

using Buttons = ControlFixture;

TEST_F(Buttons, EachKindAnswersItsDialogCodeAndChecksAsDocumented) {
  const ButtonKind kinds[] = {
      {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, 0, 0},
      {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON, 0, 0},
      {BS_CHECKBOX, DLGC_BUTTON, BST_UNCHECKED, BST_UNCHECKED},
      {BS_AUTOCHECKBOX, DLGC_BUTTON, BST_CHECKED, BST_UNCHECKED},
      {BS_3STATE, DLGC_BUTTON, BST_UNCHECKED, BST_UNCHECKED},
      {BS_AUTO3STATE, DLGC_BUTTON, BST_CHECKED, BST_INDETERMINATE},
      {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON, BST_UNCHECKED, BST_UNCHECKED},
      {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON, BST_CHECKED, BST_CHECKED},
      {BS_GROUPBOX, DLGC_STATIC, 0, 0},
      {BS_OWNERDRAW, DLGC_BUTTON, 0, 0},
  };
  for (const ButtonKind& k : kinds) {
    HWND b = Make("Button", k.style);
    EXPECT_EQ(SendMessage(b, WM_GETDLGCODE, 0, 0), k.dialogCode) << k.style;
    SendMessage(b, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(k.afterOneClick)) << k.style;
    SendMessage(b, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(k.afterTwoClicks)) << k.style;
    DestroyWindow(b);
  }
}

TEST_F(Buttons, MouseAndSpaceClickAndNotify) {
  HWND b = Make("Button", BS_AUTOCHECKBOX | WS_TABSTOP);
  Click(b, POINT{5, 5});
  EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(GetFocus(), b);
  PressKey(VK_SPACE);
  EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Codes(50), (std::vector<UINT>{BN_CLICKED, BN_CLICKED}));
  // Released outside, a press does nothing.
  recorder_.Clear();
  Drag(b, POINT{5, 5}, POINT{300, 200});
  EXPECT_TRUE(Codes(50).empty());
  EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Buttons, NotifyStyleReportsFocusAndHighlight) {
  HWND b = Make("Button", BS_PUSHBUTTON | BS_NOTIFY);
  ButtonDown(b, POINT{5, 5});
  EXPECT_EQ(SendMessage(b, BM_GETSTATE, 0, 0) & (BST_PUSHED | BST_FOCUS), BST_PUSHED | BST_FOCUS);
  ButtonUp(b, POINT{5, 5});
  EXPECT_EQ(Codes(50), (std::vector<UINT>{BN_SETFOCUS, BN_HILITE, BN_UNHILITE, BN_CLICKED}));
  recorder_.Clear();
  SetFocus(recorder_.Hwnd());
  EXPECT_EQ(Codes(50), (std::vector<UINT>{BN_KILLFOCUS}));
}

TEST_F(Buttons, AutoRadioButtonsUncheckTheirGroup) {
  HWND a = Make("Button", BS_AUTORADIOBUTTON | WS_GROUP, "A", 61, {10, 10, 80, 30});
  HWND b = Make("Button", BS_AUTORADIOBUTTON, "B", 62, {10, 30, 80, 50});
  HWND c = Make("Button", BS_AUTORADIOBUTTON, "C", 63, {10, 50, 80, 70});
  HWND other = Make("Button", BS_AUTORADIOBUTTON | WS_GROUP, "D", 64, {10, 70, 80, 90});
  SendMessage(other, BM_SETCHECK, BST_CHECKED, 0);
  Click(a, POINT{5, 5});
  Click(c, POINT{5, 5});
  EXPECT_EQ(SendMessage(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessage(c, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessage(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group is left alone";
}

TEST_F(Buttons, ReleaseOutsideNeverClicksAndProgramsPressWithoutNotifying) {
  HWND button = Make("Button", BS_PUSHBUTTON | BS_NOTIFY);
  // Press and release with no move in between: only where the release lands counts.
  SendMessage(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessage(button, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  std::vector<UINT> codes = Codes(50);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(BN_CLICKED)), 0);
  recorder_.Clear();
  SendMessage(button, BM_SETSTATE, TRUE, 0);
  EXPECT_TRUE(SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  SendMessage(button, BM_SETSTATE, FALSE, 0);
  EXPECT_TRUE(Codes(50).empty()) << "BM_SETSTATE sends no WM_COMMAND";
}

// Logs what a button and its parent see, in order: the button's mouse, state, capture and erase
// messages (with wParam) and the parent's WM_CTLCOLORBTN and WM_COMMAND; repeats in a row count once.
class ButtonSpy {
 public:
  ButtonSpy(HWND button, HWND parent) : button_(button), parent_(parent) {
    spy_ = this;
    buttonProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtr(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Button)));
    parentProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtr(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Parent)));
  }
  ~ButtonSpy() {
    SetWindowLongPtr(button_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProc_));
    SetWindowLongPtr(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(parentProc_));
    spy_ = nullptr;
  }
  std::vector<std::string> log;
  bool logErase = false;
  // Run by the parent on WM_CTLCOLORBTN and WM_DRAWITEM with the DC it was given.
  std::function<void(HDC)> onParentDraw;

 private:
  void Add(const std::string& entry) {
    if (log.empty() || log.back() != entry) log.push_back(entry);
  }
  static LRESULT CALLBACK Button(HWND h, UINT m, WPARAM w, LPARAM l) {
    const char* name = m == WM_LBUTTONDOWN ? "down" : m == WM_LBUTTONUP ? "up" : m == BM_SETSTATE ? "setstate"
                       : m == WM_CAPTURECHANGED ? "capturechanged"
                       : m == WM_ERASEBKGND && spy_->logErase ? "erase" : nullptr;
    if (name) spy_->Add(std::string(name) + (m == WM_ERASEBKGND ? "" : " " + std::to_string(w)));
    LRESULT r = CallWindowProc(spy_->buttonProc_, h, m, w, l);
    if (name && (m == BM_SETSTATE || m == WM_ERASEBKGND)) spy_->Add(std::string("/") + name);
    return r;
  }
  static LRESULT CALLBACK Parent(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_CTLCOLORBTN) spy_->Add("ctlcolor");
    if (m == WM_COMMAND) spy_->Add("command " + std::to_string(HIWORD(w)));
    if (spy_->onParentDraw && m == WM_CTLCOLORBTN) spy_->onParentDraw(reinterpret_cast<HDC>(w));
    if (spy_->onParentDraw && m == WM_DRAWITEM) spy_->onParentDraw(reinterpret_cast<DRAWITEMSTRUCT*>(l)->hDC);
    return CallWindowProc(spy_->parentProc_, h, m, w, l);
  }
  static inline ButtonSpy* spy_ = nullptr;
  HWND button_, parent_;
  WNDPROC buttonProc_ = nullptr, parentProc_ = nullptr;
};

TEST_F(Buttons, ClickShowsEachStateAtOnceAndLetsTheCaptureGoAfterTheState) {
  HWND button = Make("Button", BS_PUSHBUTTON);
  ButtonSpy spy(button, recorder_.Hwnd());
  // BM_CLICK comes as a press and a release, both with the left button's flag; each state change
  // goes through BM_SETSTATE and is painted (the parent is asked for its brush) before it returns;
  // the release puts the state back before it lets the capture go, then the click is reported.
  SendMessage(button, BM_CLICK, 0, 0);
  EXPECT_EQ(spy.log, (std::vector<std::string>{"down 1", "setstate 1", "ctlcolor", "/setstate", "up 1", "setstate 0",
                                               "ctlcolor", "/setstate", "capturechanged 0", "command 0"}));
  spy.log.clear();
  spy.logErase = true;
  // A font set with redraw erases the background before the button paints.
  SendMessage(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), TRUE);
  UpdateWindow(button);
  EXPECT_EQ(spy.log, (std::vector<std::string>{"erase", "ctlcolor", "/erase", "ctlcolor"}));
}

TEST_F(Buttons, TheCallersDcGetsItsFontBack) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 120, 40);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT callers = CreateFont(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
  HFONT parents = CreateFont(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "DejaVu Serif");
  HGDIOBJ oldFont = SelectObject(dc, callers);
  const HFONT buttonFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (DWORD style : {BS_PUSHBUTTON, BS_OWNERDRAW}) {
    HWND button = Make("Button", style);
    ButtonSpy spy(button, recorder_.Hwnd());
    std::vector<HGDIOBJ> seen;
    // The parent sees the button's font and leaves one of its own selected.
    spy.onParentDraw = [&](HDC given) {
      seen.push_back(GetCurrentObject(given, OBJ_FONT));
      SelectObject(given, parents);
    };
    SendMessage(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ASSERT_FALSE(seen.empty()) << style;
    EXPECT_EQ(seen.front(), buttonFont) << style;
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), callers) << style;
    SelectObject(dc, callers);
    spy.onParentDraw = nullptr;
    DestroyWindow(button);
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(callers);
  DeleteObject(parents);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(Buttons, SetStyleChangesOnlyTheKind) {
  HWND b = Make("Button", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP);
  SendMessage(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  LONG style = GetWindowLong(b, GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(style & BS_MULTILINE);
  EXPECT_TRUE(style & WS_TABSTOP);
}

TEST_F(Buttons, OwnerDrawnButtonsAreDrawnByTheParentWithTheirState) {
  OwnerParent parent;
  HWND b = CreateWindowEx(0, "Button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 60, 30, parent.Hwnd(),
                          reinterpret_cast<HMENU>(70), nullptr, nullptr);
  RunUntilIdle();
  parent.drawn.clear();
  ButtonDown(b, POINT{5, 5});
  UpdateWindow(b);
  ASSERT_FALSE(parent.drawn.empty());
  const DRAWITEMSTRUCT& pushed = parent.drawn.back();
  EXPECT_EQ(pushed.CtlType, static_cast<UINT>(ODT_BUTTON));
  EXPECT_EQ(pushed.CtlID, 70u);
  EXPECT_EQ(pushed.hwndItem, b);
  EXPECT_EQ(pushed.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
  EXPECT_EQ(pushed.itemState & (ODS_SELECTED | ODS_FOCUS), static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
  EXPECT_EQ(pushed.rcItem.right, 60);
  ButtonUp(b, POINT{5, 5});
  UpdateWindow(b);
  EXPECT_FALSE(parent.drawn.back().itemState & ODS_SELECTED);
  ASSERT_FALSE(parent.commands.empty());
  EXPECT_EQ(parent.commands.back(), static_cast<UINT>(BN_CLICKED));
}

TEST_F(Buttons, ImagesAreSetAndReturned) {
  HWND b = Make("Button", BS_PUSHBUTTON | BS_ICON);
  HICON icon = GetStandardIcon(IDI_ASTERISK);
  EXPECT_EQ(SendMessage(b, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)), 0);
  EXPECT_EQ(SendMessage(b, BM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(icon));
  EXPECT_EQ(SendMessage(b, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}

using Statics = ControlFixture;

TEST_F(Statics, NotifyStyleReportsClicksAndDoubleClicks) {
  HWND quiet = Make("Static", SS_LEFT, "quiet", 80, {10, 10, 100, 30});
  EXPECT_EQ(SendMessage(quiet, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  Click(quiet, POINT{5, 5});
  EXPECT_TRUE(Codes(80).empty());
  HWND loud = Make("Static", SS_LEFT | SS_NOTIFY, "loud", 81, {10, 40, 100, 60});
  Click(loud, POINT{5, 5});
  AdvanceClock(GetDoubleClickTime() + 1);
  DoubleClick(loud, POINT{5, 5});
  std::vector<UINT> codes = Codes(81);
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), static_cast<UINT>(STN_CLICKED));
  EXPECT_EQ(codes.back(), static_cast<UINT>(STN_DBLCLK));
  recorder_.Clear();
  EnableWindow(loud, FALSE);
  EXPECT_EQ(Codes(81), (std::vector<UINT>{STN_DISABLE}));
}

TEST_F(Statics, IconsTakeTheirSizeUnlessCentred) {
  HICON icon = GetStandardIcon(IDI_HAND);
  SIZE size{};
  ASSERT_TRUE(GetIconSize(icon, &size));
  HWND plain = Make("Static", SS_ICON, nullptr, 82, {10, 10, 100, 100});
  EXPECT_EQ(SendMessage(plain, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0), 0);
  EXPECT_EQ(SendMessage(plain, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(icon));
  RECT r;
  GetClientRect(plain, &r);
  EXPECT_EQ(r.right, size.cx);
  EXPECT_EQ(r.bottom, size.cy);
  HWND centred = Make("Static", SS_ICON | SS_CENTERIMAGE, nullptr, 83, {10, 10, 100, 100});
  SendMessage(centred, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  GetClientRect(centred, &r);
  EXPECT_EQ(r.right, 90);
  // A template names a system icon by its number.
  HWND named = Make("Static", SS_ICON, MAKEINTRESOURCE(32513), 84, {10, 10, 100, 100});
  EXPECT_EQ(SendMessage(named, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(icon));
}

using ScrollBarControls = ControlFixture;

TEST_F(ScrollBarControls, TheShaftIsTheClassicDither) {
  HWND bar = Make("ScrollBar", SBS_HORZ, nullptr, 90, {10, 10, 210, 27});
  SetScrollRange(bar, SB_CTL, 0, 10, TRUE);
  RunUntilIdle();
  // Beside each other, well past the thumb: one highlight and one face pixel.
  const COLORREF a = WindowPixel(bar, 150, 8), b = WindowPixel(bar, 151, 8);
  const COLORREF face = GetSysColor(COLOR_3DFACE), light = GetSysColor(COLOR_3DHILIGHT);
  EXPECT_TRUE((a == face && b == light) || (a == light && b == face)) << std::hex << a << " " << b;
}

TEST_F(ScrollBarControls, RangeAndPositionThroughTheScrollFunctions) {
  HWND bar = Make("ScrollBar", SBS_HORZ, nullptr, 90, {10, 10, 210, 27});
  int lo = -1, hi = -1;
  GetScrollRange(bar, SB_CTL, &lo, &hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 0);
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 95, 0};
  EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &si, TRUE), 91) << "the position stops where the page reaches the end";
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, 40, TRUE), 91);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 40);
  SCROLLINFO got{sizeof(got), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &got));
  EXPECT_EQ(got.nMax, 100);
  EXPECT_EQ(got.nPage, 10u);
  EXPECT_EQ(got.nTrackPos, 40);
}

struct BarMessage {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT want;
  int posAfter;
};

// The setting messages answer the previous position only when the position moved (0 when it
// stayed), the arrows' message whether it changed anything, and a query whether it filled in
// anything.
TEST_F(ScrollBarControls, SettingMessagesAnswerWhatChanged) {
  HWND bar = Make("ScrollBar", SBS_HORZ, nullptr, 92, {10, 10, 210, 27});
  SetScrollRange(bar, SB_CTL, 0, 100, FALSE);
  const BarMessage steps[] = {
      {SBM_SETPOS, 30, TRUE, 0, 30},         {SBM_SETPOS, 30, TRUE, 0, 30},
      {SBM_SETPOS, 50, FALSE, 30, 50},       {SBM_SETRANGE, 0, 200, 0, 50},
      {SBM_SETRANGE, 0, 40, 50, 40},         {SBM_SETRANGEREDRAW, 10, 60, 0, 40},
      {SBM_SETRANGEREDRAW, 45, 60, 40, 45},  {SBM_ENABLE_ARROWS, ESB_DISABLE_LTUP, 0, TRUE, 45},
      {SBM_ENABLE_ARROWS, ESB_DISABLE_LTUP, 0, FALSE, 45}, {SBM_ENABLE_ARROWS, ESB_ENABLE_BOTH, 0, TRUE, 45},
  };
  for (const BarMessage& s : steps) {
    EXPECT_EQ(SendMessage(bar, s.msg, s.wParam, s.lParam), s.want) << std::hex << s.msg << std::dec << " " << s.wParam;
    EXPECT_EQ(SendMessage(bar, SBM_GETPOS, 0, 0), s.posAfter) << std::hex << s.msg;
  }
  // The functions keep their own contract over the messages: SetScrollPos answers the previous
  // position whether or not it moved.
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, 45, TRUE), 45);
  SCROLLINFO none{sizeof(none), 0, -1, -1, 7, -1, -1};
  EXPECT_FALSE(GetScrollInfo(bar, SB_CTL, &none));
  EXPECT_EQ(none.nMin, -1);
  SCROLLINFO pos{sizeof(pos), SIF_POS, 0, 0, 0, -1, 0};
  EXPECT_TRUE(GetScrollInfo(bar, SB_CTL, &pos));
  EXPECT_EQ(pos.nPos, 45);
}

TEST_F(ScrollBarControls, ArrowsRepeatAndTheThumbTracks) {
  recorder_.Watch(WM_HSCROLL);
  HWND bar = Make("ScrollBar", SBS_HORZ, nullptr, 91, {10, 10, 210, 27});
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  recorder_.Clear();
  ButtonDown(bar, POINT{195, 8});  // the right arrow
  AdvanceClock(400 + 3 * 50);
  ButtonUp(bar, POINT{195, 8});
  std::vector<int> codes;
  for (const auto& r : recorder_.Records())
    if (r.message == WM_HSCROLL) {
      EXPECT_EQ(reinterpret_cast<HWND>(r.lParam), bar);
      codes.push_back(LOWORD(r.wParam));
    }
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes.front(), SB_LINEDOWN);
  EXPECT_GE(std::count(codes.begin(), codes.end(), SB_LINEDOWN), 3);
  EXPECT_EQ(codes.back(), SB_ENDSCROLL);

  recorder_.Clear();
  int arrow = GetSystemMetrics(SM_CXHSCROLL);
  Drag(bar, POINT{arrow + 3, 8}, POINT{arrow + 83, 8}, 4);
  std::vector<std::pair<int, int>> moves;
  for (const auto& r : recorder_.Records())
    if (r.message == WM_HSCROLL) moves.emplace_back(LOWORD(r.wParam), static_cast<short>(HIWORD(r.wParam)));
  ASSERT_GE(moves.size(), 3u);
  EXPECT_EQ(moves.front().first, SB_THUMBTRACK);
  EXPECT_EQ(moves[moves.size() - 2].first, SB_THUMBPOSITION);
  EXPECT_GT(moves[moves.size() - 2].second, 0);
  EXPECT_EQ(moves.back().first, SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0) << "the parent moves the bar, not the drag";
}

// A disabled arrow takes no click; with both arrows disabled, or nothing to scroll, the bar takes
// none at all, while the enabled arrow still scrolls.
TEST_F(ScrollBarControls, DisabledArrowsAndEmptyRangesTakeNoClick) {
  recorder_.Watch(WM_HSCROLL);
  HWND bar = Make("ScrollBar", SBS_HORZ, nullptr, 93, {10, 10, 210, 27});
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 50, 0};
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  const POINT left{arrow / 2, 8}, right{200 - arrow / 2, 8}, page{arrow + 5, 8};
  const auto codes = [&](POINT at) {
    recorder_.Clear();
    Click(bar, at);
    std::vector<int> out;
    for (const auto& r : recorder_.Records())
      if (r.message == WM_HSCROLL) out.push_back(LOWORD(r.wParam));
    return out;
  };
  EnableScrollBar(bar, SB_CTL, ESB_DISABLE_LTUP);
  EXPECT_TRUE(codes(left).empty());
  EXPECT_EQ(codes(right), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
  EnableScrollBar(bar, SB_CTL, ESB_DISABLE_BOTH);
  EXPECT_TRUE(codes(right).empty());
  EXPECT_TRUE(codes(page).empty());
  EnableScrollBar(bar, SB_CTL, ESB_ENABLE_BOTH);
  EXPECT_EQ(codes(page), (std::vector<int>{SB_PAGEUP, SB_ENDSCROLL}));
  SetScrollRange(bar, SB_CTL, 0, 0, TRUE);
  EXPECT_TRUE(codes(right).empty()) << "an empty range scrolls nothing";
}

}  // namespace


#include "WinTestSupport.h"

using namespace wintest;
using namespace brambolt::test;

class NonClient : public WinTest {};
class WindowScrollBars : public WinTest {};


TEST_F(NonClient, DraggingTheCaptionMovesTheWindow) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 300, 250});
  MessageLog::Instance().Clear();
  POINT from{200 - 100, 110 - 100};  // in window coordinates of the caption
  POINT start{200, 110};
  brambolt::InjectMouseMove(start);
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, start);
  brambolt::InjectMouseMove(POINT{230, 140});
  brambolt::InjectMouseMove(POINT{250, 160});
  brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{250, 160});
  RunUntilIdle();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 150);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(MessageLog::Instance().For(w, {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}),
            (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
  EXPECT_EQ(GetCapture(), nullptr);
  (void)from;
}

TEST_F(NonClient, DraggingTheBorderSizesWithinTheTrackingLimits) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 300, 250});
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT&) {
    if (msg == WM_GETMINMAXINFO) reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize.x = 150;
    return false;
  });
  POINT edge{298, 175};
  RECT r{};
  UiScript script;
  script.Then([&] { brambolt::InjectMouseMove(POINT{338, 175}); })
      .Then([&] {
        GetWindowRect(w, &r);
        EXPECT_EQ(r.right, 340);
        brambolt::InjectMouseMove(POINT{100, 175});  // narrower than allowed
        brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{100, 175});
      });
  brambolt::InjectMouseMove(edge);
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, edge);
  RunUntilIdle();
  EXPECT_EQ(script.Remaining(), 0u);
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 150);
  EXPECT_EQ(r.left, 100);
}

TEST_F(NonClient, CloseButtonSendsScCloseOnlyWhenReleasedOverIt) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 300, 250});
  std::vector<WPARAM> commands;
  MessageLog::Instance().SetHandler([&](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT&) {
    if (msg == WM_SYSCOMMAND) commands.push_back(wp & 0xFFF0);
    return false;
  });
  POINT close{285, 112};
  ASSERT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y)), HTCLOSE);
  brambolt::InjectMouseMove(close);
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, close);
  brambolt::InjectMouseMove(POINT{200, 200});
  brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{200, 200});
  RunUntilIdle();
  EXPECT_TRUE(commands.empty());
  EXPECT_TRUE(IsWindow(w));
  ClickAt(close);
  EXPECT_EQ(commands, (std::vector<WPARAM>{SC_CLOSE}));
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(NonClient, CaptionDoubleClickMaximisesAndRestores) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 300, 250});
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT&) {
    return msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_MOVE;  // no move loop on the first click
  });
  DoubleClick(w, POINT{50, -10});
  EXPECT_TRUE(IsZoomed(w));
}

TEST_F(NonClient, ContextMenuAndHelpTravelToTheParent) {
  HWND top = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 300, 300});
  HWND child = MakeWindow(top, WS_VISIBLE, RECT{10, 10, 60, 60}, 7);
  MessageLog::Instance().Clear();
  Click(child, POINT{5, 5}, kNone, WM_RBUTTONDOWN);
  auto menus = Of(top, WM_CONTEXTMENU);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].wParam, reinterpret_cast<WPARAM>(child));
  POINT screen = ScreenPoint(child, POINT{5, 5});
  EXPECT_EQ(GET_X_LPARAM(menus[0].lParam), screen.x);
  SetFocus(child);
  MessageLog::Instance().Clear();
  PressKey(VK_F10, kShift);
  menus = Of(top, WM_CONTEXTMENU);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].lParam, -1);  // the keyboard form
  HELPINFO info{sizeof(info), HELPINFO_WINDOW, 7, child, 0, {1, 2}};
  SendMessage(child, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(Of(top, WM_HELP).size(), 1u);
}

TEST_F(NonClient, ControlColoursDefaultToTheSystemColours) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  HDC dc = GetDC(w);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessage(w, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), 0)),
            GetSysColorBrush(COLOR_WINDOW));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessage(w, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0)),
            GetSysColorBrush(COLOR_3DFACE));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_3DFACE));
  ReleaseDC(w, dc);
}

TEST_F(WindowScrollBars, RangeAndPageShowOrHideTheBar) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 100});
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE, 0, 99, 20, 0, 0};
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  EXPECT_TRUE(GetWindowLongPtr(w, GWL_STYLE) & WS_VSCROLL);
  RECT c;
  GetClientRect(w, &c);
  EXPECT_EQ(c.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
  si.nPage = 100;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  EXPECT_FALSE(GetWindowLongPtr(w, GWL_STYLE) & WS_VSCROLL);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  EXPECT_TRUE(GetWindowLongPtr(w, GWL_STYLE) & WS_VSCROLL);  // kept, but disabled
}

TEST_F(WindowScrollBars, PositionsAreClampedToTheRangeLessThePage) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_HSCROLL, RECT{0, 0, 200, 100});
  SetScrollRange(w, SB_HORZ, 0, 100, FALSE);
  SCROLLINFO si{sizeof(si), SIF_PAGE, 0, 0, 10, 0, 0};
  SetScrollInfo(w, SB_HORZ, &si, FALSE);
  EXPECT_EQ(SetScrollPos(w, SB_HORZ, 500, TRUE), 0);
  EXPECT_EQ(GetScrollPos(w, SB_HORZ), 91);
  SetScrollPos(w, SB_HORZ, -5, TRUE);
  EXPECT_EQ(GetScrollPos(w, SB_HORZ), 0);
  int lo = -1, hi = -1;
  GetScrollRange(w, SB_HORZ, &lo, &hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 100);
  SCROLLINFO out{sizeof(out), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_HORZ, &out);
  EXPECT_EQ(out.nPage, 10u);
  EXPECT_EQ(out.nTrackPos, 0);
  EXPECT_EQ(sizeof(SCROLLINFO), 28u);
}

// A range wider than MAXLONG is refused; a query asking for nothing retrieves nothing and fails.
TEST_F(WindowScrollBars, RangesAndQueriesFailAsDocumented) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_HSCROLL, RECT{0, 0, 200, 100});
  ASSERT_TRUE(SetScrollRange(w, SB_HORZ, 0, 100, FALSE));
  SetLastError(0);
  EXPECT_FALSE(SetScrollRange(w, SB_HORZ, -2000000000, 2000000000, FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SCROLLBAR_RANGE));
  EXPECT_TRUE(SetScrollRange(w, SB_HORZ, -1000000000, 1000000000, FALSE));
  int lo = 0, hi = 0;
  GetScrollRange(w, SB_HORZ, &lo, &hi);
  EXPECT_EQ(hi - lo, 2000000000);
  SCROLLINFO none{sizeof(none), 0, 5, 5, 5, 5, 5};
  EXPECT_FALSE(GetScrollInfo(w, SB_HORZ, &none));
  EXPECT_EQ(none.nMax, 5);
}

TEST_F(WindowScrollBars, ArrowClicksScrollAndRepeatOnTheClock) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_VSCROLL, RECT{0, 0, 200, 200});
  SetScrollRange(w, SB_VERT, 0, 100, FALSE);
  RECT wr;
  GetWindowRect(w, &wr);
  POINT down{wr.right - 8, wr.bottom - 8};
  ASSERT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(down.x, down.y)), HTVSCROLL);
  MessageLog::Instance().Clear();
  UiScript script;
  script.Then([&] {
    EXPECT_EQ(Of(w, WM_VSCROLL).size(), 1u);  // at once on the press
    brambolt::VirtualClock::Advance(299);
  });
  script.Then([&] {
    EXPECT_EQ(Of(w, WM_VSCROLL).size(), 1u);
    brambolt::VirtualClock::Advance(1);  // the first repeat after 300 ms
  });
  for (int i = 0; i < 4; ++i) script.Then([&] { brambolt::VirtualClock::Advance(50); });
  script.Then([&] {
    EXPECT_EQ(Of(w, WM_VSCROLL).size(), 1u + 1 + 4);
    brambolt::InjectMouseButton(WM_LBUTTONUP, down);
  });
  brambolt::InjectMouseMove(down);
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, down);
  RunUntilIdle();
  EXPECT_EQ(script.Remaining(), 0u);
  auto scrolls = Of(w, WM_VSCROLL);
  for (size_t i = 0; i + 1 < scrolls.size(); ++i) EXPECT_EQ(LOWORD(scrolls[i].wParam), SB_LINEDOWN);
  EXPECT_EQ(LOWORD(scrolls.back().wParam), SB_ENDSCROLL);
  AdvanceClock(1000);
  EXPECT_EQ(Of(w, WM_VSCROLL).size(), scrolls.size());
}

TEST_F(WindowScrollBars, DraggingTheThumbTracksThenSetsThePosition) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_VSCROLL, RECT{0, 0, 200, 216});
  SetScrollRange(w, SB_VERT, 0, 100, FALSE);
  int trackPosSeen = -1;
  MessageLog::Instance().SetHandler([&](HWND h, UINT msg, WPARAM wp, LPARAM, LRESULT&) {
    if (msg == WM_VSCROLL && LOWORD(wp) == SB_THUMBTRACK) {
      SCROLLINFO si{sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(h, SB_VERT, &si);
      trackPosSeen = si.nTrackPos;
    }
    return false;
  });
  RECT wr;
  GetWindowRect(w, &wr);
  int x = wr.right - 8;
  // Shaft from 16 to 200 (184 px), thumb 16 px: travel 168 px for 100 positions.
  POINT thumb{x, wr.top + 16 + 8};
  brambolt::InjectMouseMove(thumb);
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, thumb);
  brambolt::InjectMouseMove(POINT{x, thumb.y + 84});
  brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{x, thumb.y + 84});
  RunUntilIdle();
  auto scrolls = Of(w, WM_VSCROLL);
  ASSERT_GE(scrolls.size(), 3u);
  EXPECT_EQ(LOWORD(scrolls[0].wParam), SB_THUMBTRACK);
  EXPECT_EQ(HIWORD(scrolls[0].wParam), 50);
  EXPECT_EQ(trackPosSeen, 50);
  EXPECT_EQ(LOWORD(scrolls[scrolls.size() - 2].wParam), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(scrolls[scrolls.size() - 2].wParam), 50);
  EXPECT_EQ(LOWORD(scrolls.back().wParam), SB_ENDSCROLL);
}

TEST_F(NonClient, FramesAndCaptionsArePaintedInTheClassicLook) {
  HWND inactive = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{20, 20, 220, 170}, 0, WS_EX_CLIENTEDGE);
  HWND active = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{300, 20, 500, 170});
  RunUntilIdle();
  ASSERT_EQ(GetActiveWindow(), active);
  EXPECT_EQ(WindowPixel(active, 60, 10), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(WindowPixel(inactive, 60, 10), GetSysColor(COLOR_INACTIVECAPTION));
  // Sizing frame: a raised edge, then the border colour; a sunken client edge inside it.
  EXPECT_EQ(WindowPixel(inactive, 0, 80), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(WindowPixel(inactive, 1, 80), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(WindowPixel(inactive, 4, 80), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(WindowPixel(inactive, 5, 80), GetSysColor(COLOR_3DDKSHADOW));
  SetActiveWindow(inactive);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(inactive, 60, 10), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(WindowPixel(active, 60, 10), GetSysColor(COLOR_INACTIVECAPTION));
}

// The default hit test answers from the client area WM_NCCALCSIZE left: a strip a window keeps
// for itself inside its border is nowhere (the window answers for it), the rest of the client
// area is client, the border still border; a window whose client area takes the whole window is
// client everywhere.
TEST_F(NonClient, TheHitTestFollowsTheClientAreaTheWindowComputed) {
  int reserve = 20;
  MessageLog::Instance().SetHandler([&](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_NCCALCSIZE) return false;
    RECT& r = wp ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : *reinterpret_cast<RECT*>(lp);
    if (reserve >= 0) {
      r.left += 1;
      r.top += 1;
      r.bottom -= 1;
      r.right -= 1 + reserve;
    }  // else the client area is the whole window
    result = 0;
    return true;
  });
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_BORDER | WS_VISIBLE, RECT{100, 100, 200, 140});
  const auto hit = [&](int x, int y) { return SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  EXPECT_EQ(hit(120, 120), HTCLIENT);
  EXPECT_EQ(hit(190, 120), HTNOWHERE) << "the strip kept on the right";
  EXPECT_EQ(hit(100, 120), HTBORDER);
  EXPECT_EQ(hit(199, 120), HTBORDER);
  reserve = -1;
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(hit(100, 120), HTCLIENT);
  EXPECT_EQ(hit(199, 139), HTCLIENT);
  DestroyWindow(w);
}

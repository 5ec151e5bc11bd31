#include "WinTestSupport.h"

using namespace wintest;
using namespace brambolt::test;

class Mouse : public WinTest {};
class Capture : public WinTest {};


TEST_F(Mouse, ClicksGoToTheWindowUnderThePointerInClientCoordinates) {
  HWND top = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
  HWND child = MakeWindow(top, WS_VISIBLE, RECT{50, 50, 150, 150}, 1);
  MessageLog::Instance().Clear();
  Click(child, POINT{7, 9}, kShift);
  auto downs = Of(child, WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 7);
  EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 9);
  EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));
  EXPECT_EQ(Of(child, WM_LBUTTONUP).size(), 1u);
  EXPECT_TRUE(Of(top, WM_LBUTTONDOWN).empty());
  // Each mouse message is preceded by WM_SETCURSOR with the hit-test code and the message.
  auto cursors = Of(child, WM_SETCURSOR);
  ASSERT_FALSE(cursors.empty());
  EXPECT_EQ(LOWORD(cursors.back().lParam), HTCLIENT);
}

TEST_F(Mouse, DoubleClicksNeedTheClassStyleTheTimeAndTheDistance) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  DoubleClick(w, POINT{20, 20});
  EXPECT_EQ(Of(w, WM_LBUTTONDBLCLK).size(), 1u);
  MessageLog::Instance().Clear();
  Click(w, POINT{20, 20});
  brambolt::VirtualClock::Advance(GetDoubleClickTime() + 1);
  Click(w, POINT{20, 20});
  EXPECT_TRUE(Of(w, WM_LBUTTONDBLCLK).empty());
  brambolt::VirtualClock::Advance(GetDoubleClickTime() + 1);
  MessageLog::Instance().Clear();
  Click(w, POINT{20, 20});
  Click(w, POINT{20 + GetSystemMetrics(SM_CXDOUBLECLK), 20});
  EXPECT_TRUE(Of(w, WM_LBUTTONDBLCLK).empty());
  // A class without CS_DBLCLKS gets two downs.
  WNDCLASS wc{};
  wc.lpfnWndProc = LoggingProc;
  wc.lpszClassName = "NoDouble";
  RegisterClass(&wc);
  HWND plain = CreateWindowEx(0, "NoDouble", "", WS_POPUP | WS_VISIBLE, 300, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  MessageLog::Instance().Clear();
  DoubleClick(plain, POINT{5, 5});
  EXPECT_EQ(Of(plain, WM_LBUTTONDOWN).size(), 2u);
  EXPECT_TRUE(Of(plain, WM_LBUTTONDBLCLK).empty());
  DestroyWindow(plain);
  UnregisterClass("NoDouble", nullptr);
}

TEST_F(Mouse, NonClientClicksCarryTheHitCodeAndScreenPoint) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 400, 300});
  MessageLog::Instance().SetHandler([](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    return msg == WM_NCLBUTTONDOWN;  // no move loop
  });
  ClickAt(POINT{250, 110});
  auto downs = Of(w, WM_NCLBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 250);
  EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 110);
}

TEST_F(Mouse, ClickingAnInactiveWindowAsksAndActivates) {
  HWND a = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 200, 200});
  HWND b = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{300, 0, 500, 200});
  HWND bChild = MakeWindow(b, WS_VISIBLE, RECT{10, 10, 50, 50}, 1);
  ASSERT_EQ(GetActiveWindow(), b);
  MessageLog::Instance().Clear();
  Click(a, POINT{50, 50});
  EXPECT_EQ(GetActiveWindow(), a);
  auto ma = Of(a, WM_MOUSEACTIVATE);
  ASSERT_EQ(ma.size(), 1u);
  EXPECT_EQ(LOWORD(ma[0].lParam), HTCLIENT);
  EXPECT_EQ(HIWORD(ma[0].lParam), WM_LBUTTONDOWN);
  auto act = Of(a, WM_ACTIVATE);
  ASSERT_FALSE(act.empty());
  EXPECT_EQ(LOWORD(act[0].wParam), WA_CLICKACTIVE);
  // MA_NOACTIVATEANDEAT: no activation and the click is dropped.
  MessageLog::Instance().SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_MOUSEACTIVATE || h != b) return false;
    r = MA_NOACTIVATEANDEAT;
    return true;
  });
  MessageLog::Instance().Clear();
  Click(bChild, POINT{5, 5});
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_TRUE(Of(bChild, WM_LBUTTONDOWN).empty());
  EXPECT_EQ(Of(bChild, WM_MOUSEACTIVATE).size(), 1u);  // the child asked its parent
  EXPECT_EQ(Of(b, WM_MOUSEACTIVATE).size(), 1u);
}

TEST_F(Mouse, DisabledWindowsGetNoInput) {
  HWND top = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  HWND child = MakeWindow(top, WS_VISIBLE, RECT{10, 10, 60, 60}, 1);
  EnableWindow(child, FALSE);
  MessageLog::Instance().Clear();
  Click(child, POINT{5, 5});
  EXPECT_TRUE(Of(child, WM_LBUTTONDOWN).empty());
  EXPECT_EQ(Of(top, WM_LBUTTONDOWN).size(), 1u);  // the parent takes the click
  EnableWindow(top, FALSE);
  MessageLog::Instance().Clear();
  Click(top, POINT{100, 100});
  EXPECT_TRUE(Of(top, WM_LBUTTONDOWN).empty());
  auto cursor = Of(top, WM_SETCURSOR);
  ASSERT_FALSE(cursor.empty());
  EXPECT_EQ(static_cast<short>(LOWORD(cursor[0].lParam)), HTERROR);
}

TEST_F(Mouse, TransparentWindowsLetThePointThrough) {
  HWND top = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  HWND below = MakeWindow(top, WS_VISIBLE, RECT{10, 10, 100, 100}, 1);
  HWND glass = MakeWindow(top, WS_VISIBLE, RECT{10, 10, 100, 100}, 2);
  SetWindowPos(glass, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  MessageLog::Instance().SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_NCHITTEST || h != glass) return false;
    r = HTTRANSPARENT;
    return true;
  });
  MessageLog::Instance().Clear();
  Click(top, POINT{20, 20});
  EXPECT_EQ(Of(below, WM_LBUTTONDOWN).size(), 1u);
  EXPECT_TRUE(Of(glass, WM_LBUTTONDOWN).empty());
}

TEST_F(Mouse, WheelGoesToTheFocusWithScreenCoordinatesAndBubblesUp) {
  HWND top = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 300, 300});
  HWND child = MakeWindow(top, WS_VISIBLE, RECT{10, 10, 60, 60}, 1);
  HWND other = MakeWindow(top, WS_VISIBLE, RECT{100, 100, 200, 200}, 2);
  SetFocus(child);
  MessageLog::Instance().Clear();
  Wheel(other, POINT{5, 5}, -WHEEL_DELTA);
  auto child_ = Of(child, WM_MOUSEWHEEL);
  ASSERT_EQ(child_.size(), 1u);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(child_[0].wParam), -WHEEL_DELTA);
  POINT screen = ScreenPoint(other, POINT{5, 5});
  EXPECT_EQ(GET_X_LPARAM(child_[0].lParam), screen.x);
  EXPECT_EQ(Of(top, WM_MOUSEWHEEL).size(), 1u);  // DefWindowProc passed it to the parent
}

TEST_F(Mouse, LeavingATrackedWindowPostsMouseLeave) {
  HWND a = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND b = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{200, 0, 300, 100});
  MoveMouse(a, POINT{10, 10});
  TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, a, HOVER_DEFAULT};
  ASSERT_TRUE(TrackMouseEvent(&t));
  MoveMouse(a, POINT{20, 20});
  EXPECT_TRUE(Of(a, WM_MOUSELEAVE).empty());
  MoveMouse(b, POINT{10, 10});
  EXPECT_EQ(Of(a, WM_MOUSELEAVE).size(), 1u);
  MoveMouse(a, POINT{10, 10});
  MoveMouse(b, POINT{10, 10});
  EXPECT_EQ(Of(a, WM_MOUSELEAVE).size(), 1u);  // tracking ends with the message
}

TEST_F(Mouse, HoverIsReportedAfterTheHoverTimeOnTheClock) {
  HWND a = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  MoveMouse(a, POINT{10, 10});
  TRACKMOUSEEVENT t{sizeof(t), TME_HOVER, a, 1000};
  TrackMouseEvent(&t);
  AdvanceClock(900);
  EXPECT_TRUE(Of(a, WM_MOUSEHOVER).empty());
  AdvanceClock(200);
  auto hover = Of(a, WM_MOUSEHOVER);
  ASSERT_EQ(hover.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(hover[0].lParam), 10);
}

TEST_F(Capture, CapturedMouseGoesToTheCaptureWindowWherever) {
  HWND a = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND b = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{200, 0, 300, 100});
  SetCapture(a);
  EXPECT_EQ(GetCapture(), a);
  MessageLog::Instance().Clear();
  MoveMouse(b, POINT{10, 10});
  auto moves = Of(a, WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 210);  // relative to a's client area, outside it
  EXPECT_TRUE(Of(b, WM_MOUSEMOVE).empty());
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Capture, LosingCaptureIsAnnouncedToTheLoser) {
  HWND a = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  HWND b = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  SetCapture(a);
  MessageLog::Instance().Clear();
  EXPECT_EQ(SetCapture(b), a);
  auto changed = Of(a, WM_CAPTURECHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].lParam, reinterpret_cast<LPARAM>(b));
  MessageLog::Instance().Clear();
  DestroyWindow(b);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Of(b, WM_CAPTURECHANGED).size(), 1u);
  SetCapture(a);
  MessageLog::Instance().Clear();
  SendMessage(a, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Of(a, WM_CAPTURECHANGED).size(), 1u);
}

TEST_F(Capture, TrackingLoopsEndWhenCaptureIsLost) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND thief = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{200, 0, 300, 100});
  PostMessage(thief, WM_USER, 0, 0);
  MessageLog::Instance().SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_USER && h == thief) SetCapture(thief);
    return false;
  });
  POINT p = ScreenPoint(w, POINT{5, 5});
  EXPECT_FALSE(DragDetect(w, p));
  EXPECT_EQ(GetCapture(), thief);
}

TEST_F(Capture, DragDetectSeesAMoveBeyondTheDragRectangle) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  POINT p = ScreenPoint(w, POINT{5, 5});
  brambolt::InjectMouseMove(POINT{p.x + 1, p.y});
  brambolt::InjectMouseMove(POINT{p.x + GetSystemMetrics(SM_CXDRAG) + 2, p.y});
  EXPECT_TRUE(DragDetect(w, p));
  brambolt::InjectMouseMove(POINT{p.x + 1, p.y});
  brambolt::InjectMouseButton(WM_LBUTTONUP, POINT{p.x + 1, p.y});
  EXPECT_FALSE(DragDetect(w, p));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Capture, CursorPositionFollowsInputAndStaysInTheClipRectangle) {
  brambolt::InjectMouseMove(POINT{40, 50});
  RunUntilIdle();
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 40);
  RECT clip{0, 0, 30, 30};
  ClipCursor(&clip);
  brambolt::InjectMouseMove(POINT{100, 10});
  RunUntilIdle();
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 29);
  ClipCursor(nullptr);
  SetCursorPos(500, 400);
  RunUntilIdle();
  GetCursorPos(&p);
  EXPECT_EQ(p.y, 400);
}

// The main window's bars as a person arranges them with the mouse: the Project Explorer and the
// toolbar dragged off the frame, floated, docked on other sides and docked back by a double click.
#include <gtest/gtest.h>

#include "Desk.h"
#include "Scenarios.h"
#include "app/CMainFrame.h"

namespace e2e {
namespace {

using brambolt::test::UiScript;

RECT WindowRect(HWND hwnd) {
  RECT rect{};
  ::GetWindowRect(hwnd, &rect);
  return rect;
}

// The client point of a screen point (the *At forms of the hands take screen points, the others
// client points, which may lie outside the client area, on a caption).
POINT ClientOf(HWND hwnd, POINT screen) {
  ::ScreenToClient(hwnd, &screen);
  return screen;
}

// The floating frame holding a bar, null while it is docked.
HWND FloatingFrameOf(CControlBar& bar) {
  if (!bar.IsFloating()) return nullptr;
  return ::GetAncestor(bar.m_hWnd, GA_ROOT);
}

// A point on the floating frame's caption, left of its buttons.
POINT CaptionOf(HWND frame) {
  const RECT rect = WindowRect(frame);
  return POINT{rect.left + 24, rect.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYSMCAPTION) / 2};
}

// A point on a docked bar's gripper (the bar's top edge when it stands on the left or right
// side, its left edge when it lies along the top or bottom).
POINT GripperOf(CControlBar& bar) {
  const RECT rect = WindowRect(bar.m_hWnd);
  if (bar.m_dwStyle & CBRS_ORIENT_HORZ) return POINT{rect.left + 4, (rect.top + rect.bottom) / 2};
  return POINT{rect.left + 24, rect.top + 5};
}

// A double click on a screen point; false when a loop of the program waited for input that never
// came (a drag that missed its button release): the guard then ends it by taking the mouse
// capture away, so the test fails instead of hanging.
bool DoubleClickGuarded(Desk& desk, HWND hwnd, POINT screen) {
  bool waited = false;
  {
    UiScript guard;
    for (int i = 0; i < 3; ++i)
      guard.Then([&waited] {
        waited = true;
        if (HWND capture = ::GetCapture()) {
          ::ReleaseCapture();
          ::PostMessage(capture, WM_NULL, 0, 0);  // wakes the loop to see the capture gone
        }
      });
    brambolt::test::DoubleClick(hwnd, ClientOf(hwnd, screen));
    desk.Pump();
  }
  return !waited;
}

// Which side of the main frame a docked bar stands on: its dock bar's id, 0 when floating.
UINT DockSide(CControlBar& bar) {
  if (bar.IsFloating() || bar.m_pDockBar == nullptr) return 0;
  return static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID());
}

TEST(UsersDay, DoubleClickOnAFloatingExplorersCaptionDocksItBackWithoutHanging) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = dynamic_cast<CMainFrame*>(desk.App().m_pMainWnd);
  ASSERT_NE(frame, nullptr);
  ProjectWorkspaceWnd& explorer = frame->m_wndProjectExplorer;
  ASSERT_EQ(DockSide(explorer), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
  const RECT docked = WindowRect(explorer.m_hWnd);

  // A double click on the gripper floats the explorer; one on the floating frame's caption
  // docks it again where it was, twice over.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(DoubleClickGuarded(desk, explorer.m_hWnd, GripperOf(explorer))) << "the gripper's double click waited";
    const HWND floating = FloatingFrameOf(explorer);
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(::IsWindowVisible(floating));
    EXPECT_EQ(::GetCapture(), nullptr);

    ASSERT_TRUE(DoubleClickGuarded(desk, floating, CaptionOf(floating))) << "the caption's double click waited";
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(DockSide(explorer), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
    const RECT back = WindowRect(explorer.m_hWnd);
    EXPECT_EQ(back.left, docked.left);
    EXPECT_EQ(back.right - back.left, docked.right - docked.left);
  }
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e

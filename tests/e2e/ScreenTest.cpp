// The main window's arrangements as a person changes them: workbook mode off and on, full screen
// entered and left.
#include <gtest/gtest.h>

#include "Desk.h"
#include "Scenarios.h"
#include "app/CMainFrame.h"

namespace e2e {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(UsersDay, WorkbookModeAndFullScreenComeAndGoAsAsked) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  const HWND main = desk.MainWindow();

  // View > Workbook Mode, twice.
  EXPECT_TRUE(frame->GetWorkbookMode());
  desk.Menu('V', "w");
  EXPECT_FALSE(frame->GetWorkbookMode());
  desk.Menu('V', "w");
  EXPECT_TRUE(frame->GetWorkbookMode());

  // View > Full Screen over an empty workspace (Window > Close All): the window covers the screen;
  // Escape gives the layout back.
  desk.Menu('W', "a");
  RECT before{};
  ::GetWindowRect(main, &before);
  desk.Menu('V', "f");
  EXPECT_TRUE(frame->m_FullScreen.IsFullScreen());
  RECT full{};
  ::GetWindowRect(main, &full);
  EXPECT_LE(full.left, 0);
  EXPECT_LE(full.top, 0);
  EXPECT_GE(full.right, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(full.bottom, ::GetSystemMetrics(SM_CYSCREEN));
  desk.Snapshot(main, "12-full-screen");
  desk.Press(VK_ESCAPE);
  EXPECT_FALSE(frame->m_FullScreen.IsFullScreen());
  RECT after{};
  ::GetWindowRect(main, &after);
  EXPECT_TRUE(SameRect(before, after));

  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e

// CRectTracker: hit codes of handles and border, moving and sizing with scripted mouse input, the
// rubber band, cancelling, the minimum size, and the drawn border and handles.
#include <gtest/gtest.h>

#include "afx/afx.h"
#include "afx/CRectTracker.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

class RectTracker : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)), "tracker",
                             WS_POPUP | WS_VISIBLE, 40, 30, 300, 240, nullptr, nullptr));
    RunUntilIdle();
  }
  void TearDown() override { wnd.DestroyWindow(); }

  // Runs `track` while the script presses at `from`, moves through `path` and ends with `last`.
  void Script(std::initializer_list<CPoint> path, std::function<void(CPoint)> last) {
    for (CPoint p : path) script.Then([this, p] { brambolt::InjectMouseMove(ScreenPoint(wnd.m_hWnd, p)); });
    CPoint end = *(path.end() - 1);
    script.Then([last, end] { last(end); });
  }
  void Release(CPoint at) { brambolt::InjectMouseButton(WM_LBUTTONUP, ScreenPoint(wnd.m_hWnd, at)); }

  UiSession session;
  CWnd wnd;
  UiScript script;
};

TEST_F(RectTracker, HitCodesOfHandlesBorderAndInside) {
  CRectTracker tracker(CRect(50, 50, 150, 130), CRectTracker::solidLine | CRectTracker::resizeInside);
  struct Case {
    CPoint at;
    int hit;
  } cases[] = {
      {{50, 50}, CRectTracker::hitTopLeft},     {{148, 52}, CRectTracker::hitTopRight},
      {{148, 128}, CRectTracker::hitBottomRight}, {{51, 129}, CRectTracker::hitBottomLeft},
      {{100, 51}, CRectTracker::hitTop},        {{149, 90}, CRectTracker::hitRight},
      {{100, 129}, CRectTracker::hitBottom},    {{51, 90}, CRectTracker::hitLeft},
      {{100, 90}, CRectTracker::hitMiddle},     {{30, 30}, CRectTracker::hitNothing},
      {{151, 131}, CRectTracker::hitNothing},
  };
  for (const Case& c : cases) EXPECT_EQ(tracker.HitTest(c.at), c.hit) << c.at.x << "," << c.at.y;
  // Turned over, the handles keep their places on the screen.
  CRectTracker inverted(CRect(150, 130, 50, 50), CRectTracker::resizeInside);
  EXPECT_EQ(inverted.HitTest(CPoint(52, 52)), CRectTracker::hitBottomRight);
  EXPECT_EQ(inverted.NormalizeHit(CRectTracker::hitBottomRight), CRectTracker::hitTopLeft);
  // A small rectangle shows its corner handles only.
  CRectTracker small(CRect(0, 0, 20, 20), CRectTracker::resizeOutside);
  EXPECT_EQ(small.GetHandleMask(), 0x0Fu);
  EXPECT_EQ(tracker.GetHandleMask(), 0xFFu);
  CRect truth;
  small.GetTrueRect(&truth);
  EXPECT_EQ(truth, CRect(-5, -5, 25, 25));
}

TEST_F(RectTracker, DraggingAHandleSizesAndTheMiddleMoves) {
  CRectTracker tracker(CRect(50, 50, 150, 130), CRectTracker::solidLine | CRectTracker::resizeInside);
  Script({CPoint(170, 150), CPoint(200, 180)}, [this](CPoint p) { Release(p); });
  EXPECT_TRUE(tracker.Track(&wnd, CPoint(148, 128)));
  EXPECT_EQ(tracker.m_rect, CRect(50, 50, 202, 182));
  EXPECT_EQ(::GetCapture(), nullptr);

  Script({CPoint(110, 100), CPoint(130, 110)}, [this](CPoint p) { Release(p); });
  EXPECT_TRUE(tracker.Track(&wnd, CPoint(100, 100)));
  EXPECT_EQ(tracker.m_rect, CRect(80, 60, 232, 192));

  // The left edge stops at the minimum width; it does not turn the rectangle over.
  Script({CPoint(200, 120), CPoint(260, 120)}, [this](CPoint p) { Release(p); });
  EXPECT_TRUE(tracker.Track(&wnd, CPoint(82, 126)));
  EXPECT_EQ(tracker.m_rect, CRect(220, 60, 232, 192));
  EXPECT_EQ(tracker.Track(&wnd, CPoint(5, 5)), FALSE) << "outside the tracker nothing is tracked";
}

TEST_F(RectTracker, EscapeCancelsAndTheOutlineLeavesNothingBehind) {
  CRectTracker tracker(CRect(50, 50, 150, 130), CRectTracker::hatchedBorder | CRectTracker::resizeOutside);
  // The outline of a hatched border is as thick as the border (5 pixels here): at x 162-166 once
  // the rectangle moved by 12. It is drawn with the halftone pattern, so one of two pixels changes.
  auto probe = [this] { return std::make_pair(WindowPixel(wnd.m_hWnd, 164, 100), WindowPixel(wnd.m_hWnd, 165, 100)); };
  auto before = probe();
  decltype(before) during;
  Script({CPoint(110, 100), CPoint(112, 102)}, [&](CPoint) {
    during = probe();
    brambolt::InjectKey(VK_ESCAPE, true);
  });
  EXPECT_FALSE(tracker.Track(&wnd, CPoint(100, 90)));
  EXPECT_EQ(tracker.m_rect, CRect(50, 50, 150, 130));
  EXPECT_NE(during, before) << "the outline was drawn while tracking";
  EXPECT_EQ(probe(), before) << "and erased when cancelled";
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(RectTracker, RubberBandDrawsANewRectangleEitherWay) {
  CRectTracker tracker;
  Script({CPoint(40, 30), CPoint(80, 60)}, [this](CPoint p) { Release(p); });
  EXPECT_TRUE(tracker.TrackRubberBand(&wnd, CPoint(20, 20)));
  EXPECT_EQ(tracker.m_rect, CRect(20, 20, 80, 60));
  // Up and to the left the rectangle turns over.
  Script({CPoint(60, 60), CPoint(30, 40)}, [this](CPoint p) { Release(p); });
  EXPECT_TRUE(tracker.TrackRubberBand(&wnd, CPoint(100, 100)));
  EXPECT_EQ(tracker.m_rect, CRect(100, 100, 30, 40));
}

TEST_F(RectTracker, DrawsBorderHatchingAndHandles) {
  CRectTracker tracker(CRect(50, 50, 150, 130), CRectTracker::solidLine | CRectTracker::resizeOutside);
  CRectTracker hatched(CRect(180, 50, 260, 130), CRectTracker::hatchedBorder);
  {
    CClientDC dc(&wnd);
    tracker.Draw(&dc);
    hatched.Draw(&dc);
  }
  const COLORREF black = RGB(0, 0, 0);
  EXPECT_EQ(WindowPixel(wnd.m_hWnd, 49, 90), black) << "the line lies just outside";
  EXPECT_EQ(WindowPixel(wnd.m_hWnd, 100, 90), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(WindowPixel(wnd.m_hWnd, 150 + 5, 130 + 5), black) << "outside handle at the bottom right";
  EXPECT_EQ(WindowPixel(wnd.m_hWnd, 100, 131 + 3), black) << "bottom handle";
  // The hatched border has black and white pixels along its width; inside stays untouched.
  int blacks = 0;
  for (int x = 180; x < 260; ++x) blacks += WindowPixel(wnd.m_hWnd, x, 47) == black;
  EXPECT_GT(blacks, 5);
  EXPECT_LT(blacks, 75);
  EXPECT_EQ(WindowPixel(wnd.m_hWnd, 220, 90), GetSysColor(COLOR_WINDOW));
}

}  // namespace

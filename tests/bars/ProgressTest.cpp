// The self-drawing progress bar: percentages of ordinary, empty and inverted ranges, positions
// that never wrap below the lower bound, the bar rectangles of each direction, the painted bar
// and its inverted text, hiding, the stepping timer and the native style.
#include <gtest/gtest.h>

#include "bars/SECProgressCtrl.h"
#include "testing/testing.h"

using brambolt::test::AdvanceClock;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using brambolt::test::WindowPixel;

namespace {

constexpr COLORREF kBar = RGB(0, 0, 200), kBk = RGB(255, 255, 0);

class Host : public CWnd {
 public:
  Host() { CreateEx(0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr); }
  ~Host() override { DestroyWindow(); }
};

struct ProgressFixture {
  UiSession session;
  Host host;
  SECProgressCtrl bar;
  explicit ProgressFixture(DWORD style = SECP_DEFAULT_STYLE, CRect rc = CRect(0, 0, 200, 20)) {
    bar.Create(WS_CHILD | WS_VISIBLE, rc, &host, 1, style);
    bar.SetBarColors(kBar, kBk);
    RunUntilIdle();
  }
};

TEST(Progress, PercentOfOrdinaryEmptyAndInvertedRanges) {
  struct Case {
    UINT lower, upper;
    int pos;
    double percent;
    const char* text;
  } cases[] = {
      {0, 100, 50, 50.0, "50 %"},  {10, 10, 10, 0.0, "0 %"},     {0, 100, 150, 100.0, "100 %"},
      {0, 200, 199, 99.5, "100 %"}, {0, 1000, 994, 99.4, "99 %"}, {50, 10, 30, 0.0, "0 %"},
      {100, 0, 100, 0.0, "0 %"},
  };
  ProgressFixture f;
  for (const Case& c : cases) {
    f.bar.SetRange(c.lower, c.upper);
    f.bar.SetPos(c.pos);
    EXPECT_DOUBLE_EQ(f.bar.GetPercent(), c.percent) << c.lower << ".." << c.upper << " at " << c.pos;
    EXPECT_STREQ(SECProgressCtrl::FormatPercent(f.bar.GetPercent()), c.text) << c.pos;
  }
}

TEST(Progress, NegativeOffsetsStopAtTheLowerBound) {
  ProgressFixture f;
  f.bar.SetRange(10, 110);
  f.bar.SetPos(20);
  EXPECT_EQ(f.bar.OffsetPos(-50), 20u);
  EXPECT_EQ(f.bar.GetPos(), 10u);
  EXPECT_DOUBLE_EQ(f.bar.GetPercent(), 0.0);
  f.bar.SetStep(-5);
  f.bar.StepIt();
  EXPECT_EQ(f.bar.GetPos(), 10u);
  f.bar.SetPos(-3);
  EXPECT_EQ(f.bar.GetPos(), 10u);
  f.bar.SetStep(30);
  f.bar.StepIt();
  EXPECT_EQ(f.bar.GetPos(), 40u);
  f.bar.Reset();
  EXPECT_EQ(f.bar.GetPos(), 10u);
}

TEST(Progress, BarAndBackgroundRectanglesOfEachDirection) {
  struct Case {
    DWORD style;
    CRect client, bar, bk;
  } cases[] = {
      {0, {0, 0, 100, 20}, {0, 0, 30, 20}, {30, 0, 100, 20}},
      {SECP_FROM_RIGHT, {0, 0, 100, 20}, {70, 0, 100, 20}, {0, 0, 70, 20}},
      {SECP_VERTICAL, {0, 0, 20, 100}, {0, 70, 20, 100}, {0, 0, 20, 70}},
      {SECP_VERTICAL | SECP_FROM_TOP, {0, 0, 20, 100}, {0, 0, 20, 30}, {0, 30, 20, 100}},
  };
  for (const Case& c : cases) {
    ProgressFixture f(c.style, c.client);
    CRect bar, bk;
    EXPECT_TRUE(f.bar.CalcRects(30.7, bar, bk));
    EXPECT_EQ(bar, c.bar) << c.style;
    EXPECT_EQ(bk, c.bk) << c.style;
  }
}

TEST(Progress, PaintsBarAndTextInInvertedColours) {
  ProgressFixture f(SECP_DEFAULT_STYLE | SECP_FROM_RIGHT);
  f.bar.SetPos(25);
  RunUntilIdle();
  const HWND hwnd = f.bar.GetSafeHwnd();
  EXPECT_EQ(WindowPixel(hwnd, 195, 2), kBar);
  EXPECT_EQ(WindowPixel(hwnd, 5, 2), kBk);

  // The centred "0 %" lies on the yellow background and is drawn in the blue of the bar; at
  // 100 % it lies on the bar and is drawn in yellow (glyph edges are blended, so count channels).
  auto countInMiddle = [&](auto channel) {
    int n = 0;
    for (int x = 80; x < 120; ++x)
      for (int y = 0; y < 20; ++y) n += channel(WindowPixel(hwnd, x, y)) > 100 ? 1 : 0;
    return n;
  };
  auto blue = [](COLORREF clr) { return GetBValue(clr); };
  auto red = [](COLORREF clr) { return GetRValue(clr); };
  f.bar.SetPos(0, TRUE);
  EXPECT_GT(countInMiddle(blue), 0);
  f.bar.SetPos(100, TRUE);
  EXPECT_GT(countInMiddle(red), 0);
  f.bar.SetBarStyle(SECP_FROM_RIGHT);  // no text
  RunUntilIdle();
  EXPECT_EQ(countInMiddle(red), 0);
}

// Thousands of small steps paint the bar only when a step moves it by a pixel or changes its
// percentage, and the last step always shows.
TEST(Progress, StepsThatChangeNoPixelPaintNothing) {
  struct CountingBar : SECProgressCtrl {
    int nPaints = 0;
    void DrawProgress(CDC* pDC) override {
      ++nPaints;
      SECProgressCtrl::DrawProgress(pDC);
    }
  };
  UiSession session;
  Host host;
  CountingBar bar;
  bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 20), &host, 1);  // with the percentage
  bar.SetBarColors(kBar, kBk);
  bar.SetRange(0, 10000);
  RunUntilIdle();
  bar.nPaints = 0;
  for (int nPos = 1; nPos <= 10000; ++nPos) bar.SetPos(nPos, TRUE);
  EXPECT_GE(bar.nPaints, 100);  // each percent at least
  EXPECT_LE(bar.nPaints, 300);  // not each step
  EXPECT_EQ(WindowPixel(bar.GetSafeHwnd(), 199, 2), kBar);
}

TEST(Progress, NothingIsPaintedWhileHidden) {
  ProgressFixture f;
  f.bar.SetPos(100);
  f.bar.SendMessage(WM_SHOWWINDOW, FALSE, 0);
  CClientDC screen(&f.host);
  CDC dc;
  dc.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, 200, 20);
  CBitmap* pOld = dc.SelectObject(&bitmap);
  dc.FillSolidRect(0, 0, 200, 20, RGB(1, 2, 3));
  f.bar.DrawProgress(&dc);
  EXPECT_EQ(dc.GetPixel(10, 10), RGB(1, 2, 3));
  f.bar.SendMessage(WM_SHOWWINDOW, TRUE, 0);
  f.bar.DrawProgress(&dc);
  EXPECT_EQ(dc.GetPixel(10, 10), kBar);
  dc.SelectObject(pOld);
}

TEST(Progress, TimerStepsUntilFullThenStops) {
  ProgressFixture f;
  f.bar.SetRange(0, 30);
  f.bar.SetStep(10);
  ASSERT_TRUE(f.bar.SetTimerStep(100));
  AdvanceClock(150);
  EXPECT_EQ(f.bar.GetPos(), 10u);
  AdvanceClock(500);
  EXPECT_EQ(f.bar.GetPos(), 30u);
  EXPECT_FALSE(f.bar.SetTimerStep(100));  // already full
}

TEST(Progress, NativeStyleLeavesPositionsToTheCommonControl) {
  ProgressFixture f;
  f.bar.SetRange(0, 100);
  f.bar.SetPos(40);
  f.bar.SetBarStyle(SECP_NATIVE);
  EXPECT_EQ(f.bar.CProgressCtrl::GetPos(), 40);  // the control was told the position on the switch
  EXPECT_EQ(f.bar.SetPos(60), 40u);
  EXPECT_EQ(f.bar.CProgressCtrl::GetPos(), 60);
  f.bar.OffsetPos(5);
  f.bar.SetStep(10);
  f.bar.StepIt();
  EXPECT_EQ(f.bar.GetPos(), 75u);
  EXPECT_EQ(f.bar.CProgressCtrl::GetPos(), 75);
}

}  // namespace

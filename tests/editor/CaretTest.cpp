// Points and positions: tabs and double-byte characters measured with the editor font, the snap
// rule of tabs, virtual columns beyond a line's end, the system caret after double-byte text, and
// the column ranges of a block (a pixel band) over lines with tabs.
#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "tests/editor/ControllerHost.h"

using editortest::ControllerHost;

namespace {

TEST(CaretMapping, EveryBoundaryRoundTripsAndNoPointLandsInsideADoubleByteCharacter) {
  brambolt::ScopedCodePage page(936);
  ControllerHost host;
  host.SetText("a\t\xD6\xD0\xCE\xC4x\tyz");  // a, tab, two double-byte characters, x, tab, y, z
  const int boundaries[] = {0, 1, 2, 4, 6, 7, 8, 9, 10};
  int lastX = -1;
  for (int col : boundaries) {
    CPoint pt;
    ASSERT_TRUE(host.Ctl().PositionToPoint(pt, SECEditLineCol(0, col)));
    EXPECT_GT(pt.x, lastX) << col;
    lastX = pt.x;
    SECEditLineCol pos;
    CPoint probe = pt;
    host.Ctl().PointToPosition(probe, pos, TRUE);
    EXPECT_EQ(pos, SECEditLineCol(0, col));
    EXPECT_EQ(probe, pt);
  }
  // A point anywhere over a double-byte character gives one of its two ends.
  CPoint left, right;
  host.Ctl().PositionToPoint(left, SECEditLineCol(0, 2));
  host.Ctl().PositionToPoint(right, SECEditLineCol(0, 4));
  for (int x = left.x; x < right.x; ++x) {
    CPoint probe(x, 3);
    SECEditLineCol pos;
    host.Ctl().PointToPosition(probe, pos, TRUE);
    EXPECT_TRUE(pos.m_nCol == 2 || pos.m_nCol == 4) << x;
  }
  // The system caret stands one pixel left of the character after the double-byte text.
  host.Ctl().SetCaretPos(0, 6, FALSE);
  CPoint expected;
  host.Ctl().PositionToPoint(expected, SECEditLineCol(0, 6));
  POINT caret{};
  ::GetCaretPos(&caret);
  EXPECT_EQ(caret.x, expected.x - 1);
  EXPECT_EQ(caret.y, 0);
  // Right and Left pass a double-byte character in one step.
  host.Ctl().SetCaretPos(0, 2, FALSE);
  host.Key(VK_RIGHT);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 4));
  host.Key(VK_LEFT);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 2));
}

TEST(CaretMapping, TabsSnapOnlyNearTheirRightEdgeAndVirtualColumnsLieBeyondTheEnd) {
  ControllerHost host;
  host.SetText("\tab\r\nxy");
  CPoint tabEnd;
  host.Ctl().PositionToPoint(tabEnd, SECEditLineCol(0, 1));
  const int g = host.Gutter();
  struct Case {
    int x;
    BOOL snap;
    int col;
  };
  const Case cases[] = {
      {tabEnd.x - 3, TRUE, 1},   // within 4 pixels of the tab's right edge
      {tabEnd.x - 6, TRUE, 0},   // farther: the tab's start
      {g + 1, FALSE, 1},         // without snapping, any point right of its left edge
      {g - 5, TRUE, 0},          // the gutter gives column 0
  };
  for (const Case& c : cases) {
    CPoint probe(c.x, 2);
    SECEditLineCol pos;
    host.Ctl().PointToPosition(probe, pos, c.snap);
    EXPECT_EQ(pos.m_nCol, c.col) << "x " << c.x << " snap " << c.snap;
  }
  const int w = host.CharWidth();
  CPoint end;
  host.Ctl().PositionToPoint(end, SECEditLineCol(1, 2));
  CPoint beyond(end.x + 3 * w + 1, host.LineHeight() + 1);
  SECEditLineCol pos;
  host.Ctl().PointToPosition(beyond, pos, TRUE);
  EXPECT_EQ(pos, SECEditLineCol(1, 2));
  host.lang.virtualWhitespace = TRUE;
  beyond = CPoint(end.x + 3 * w + 1, host.LineHeight() + 1);
  host.Ctl().PointToPosition(beyond, pos, TRUE);
  EXPECT_EQ(pos, SECEditLineCol(1, 5));
  EXPECT_EQ(beyond.x, end.x + 3 * w);
  CPoint back;
  host.Ctl().PositionToPoint(back, SECEditLineCol(1, 5));
  EXPECT_EQ(back, beyond);
}

TEST(CaretMapping, AColumnBlockIsAPixelBandAcrossTabsAndShortLines) {
  ControllerHost host;
  host.SetText("abcdefgh\r\n\tz\r\nab\r\nabcdefgh");
  host.Ctl().SetSelection(SECEditLineColPair(0, 5, 3, 7), SECEDIT_SEL_COLUMN);
  struct Case {
    int line, first, last;
  };
  const Case cases[] = {{0, 5, 7}, {1, 2, 4}, {2, 5, 7}, {3, 5, 7}};
  for (const Case& c : cases) {
    int first = -1, last = -1;
    ASSERT_TRUE(host.Ctl().GetColumnRange(c.line, &first, &last)) << c.line;
    EXPECT_EQ(std::make_pair(first, last), std::make_pair(c.first, c.last)) << c.line;
  }
  int first = 0, last = 0;
  EXPECT_FALSE(host.Ctl().GetColumnRange(4, &first, &last));
  // Beyond the short line the block is painted as selected blanks.
  ::InvalidateRect(host.Hwnd(), nullptr, FALSE);
  ::UpdateWindow(host.Hwnd());
  CPoint pt;
  host.Ctl().PositionToPoint(pt, SECEditLineCol(0, 6));
  const int lh = host.LineHeight();
  EXPECT_EQ(brambolt::test::WindowPixel(host.Hwnd(), pt.x, 2 * lh + lh - 1), RGB(0, 0, 128));
  EXPECT_EQ(brambolt::test::WindowPixel(host.Hwnd(), pt.x + 3 * host.CharWidth(), 2 * lh + lh - 1), RGB(255, 255, 255));
  // Tab indents the block's lines at its left edge, and the block moves with them.
  host.Key(VK_TAB);
  EXPECT_EQ(host.Text(), "abcde\tfgh\r\n\tz\t\r\nab\r\nabcde\tfgh");
}

}  // namespace

// Selecting with the mouse on a headless editor window: clicks with Shift, Ctrl and Alt, whole
// lines from the gutter, stream and column drags, the auto-scroll timer, and double clicks.
#include <gtest/gtest.h>

#include "tests/editor/ControllerHost.h"

using brambolt::test::kAlt;
using brambolt::test::kCtrl;
using brambolt::test::kShift;
using editortest::ControllerHost;

namespace {

SECEditLineColPair Selection(ControllerHost& host) {
  SECEditLineColPair pair;
  host.Ctl().GetSelectionPair(pair, TRUE);
  return pair;
}

TEST(MouseSelection, ClicksPlaceTheCaretAndModifiersExtendOrSelectWords) {
  ControllerHost host;
  host.SetText("alpha beta gamma\r\nsecond line\r\nthird");
  brambolt::test::Click(host.Hwnd(), host.PointOf(0, 7));
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 7));
  EXPECT_FALSE(host.Ctl().HasSelection());
  brambolt::test::Click(host.Hwnd(), host.PointOf(1, 3), kShift);
  EXPECT_EQ(Selection(host), SECEditLineColPair(0, 7, 1, 3));
  brambolt::test::Click(host.Hwnd(), host.PointOf(2, 2), kCtrl);
  EXPECT_EQ(Selection(host), SECEditLineColPair(2, 0, 2, 5));
  brambolt::test::DoubleClick(host.Hwnd(), host.PointOf(1, 2));
  EXPECT_EQ(Selection(host), SECEditLineColPair(1, 0, 1, 6));
  brambolt::test::DoubleClick(host.Hwnd(), POINT{5, host.PointOf(1, 0).y});
  EXPECT_FALSE(host.Ctl().HasSelection());
  // A drag selects a stream; an Alt+click without moving leaves nothing.
  brambolt::test::Drag(host.Hwnd(), host.PointOf(0, 2), host.PointOf(2, 3));
  EXPECT_EQ(Selection(host), SECEditLineColPair(0, 2, 2, 3));
  EXPECT_FALSE(host.Ctl().IsTrackingMouse());
  brambolt::test::Click(host.Hwnd(), host.PointOf(1, 4), kAlt);
  EXPECT_FALSE(host.Ctl().HasSelection());
  // Alt+drag ends as a column block.
  brambolt::test::Drag(host.Hwnd(), host.PointOf(0, 1), host.PointOf(2, 4), 4, kAlt);
  EXPECT_EQ(host.Ctl().GetSelectionMode(), SECEDIT_SEL_COLUMN);
  int first = -1, last = -1;
  ASSERT_TRUE(host.Ctl().GetColumnRange(1, &first, &last));
  EXPECT_EQ(std::make_pair(first, last), std::make_pair(1, 4));
}

TEST(MouseSelection, TheGutterSelectsWholeLinesUntilTheTextIsEntered) {
  ControllerHost host;
  host.SetText("one\r\ntwo\r\nthree\r\nfour\r\nfive");
  const int y1 = host.PointOf(1, 0).y, y3 = host.PointOf(3, 0).y;
  brambolt::test::Drag(host.Hwnd(), POINT{5, y1}, POINT{5, y3});
  EXPECT_EQ(host.Ctl().GetSelectionMode(), SECEDIT_SEL_LINES);
  EXPECT_EQ(Selection(host), SECEditLineColPair(1, 0, 4, 0));
  EXPECT_EQ(host.Caret(), SECEditLineCol(4, 0));
  brambolt::test::AdvanceClock(1000);  // not a double click
  brambolt::test::Drag(host.Hwnd(), POINT{5, y1}, host.PointOf(2, 2));
  EXPECT_EQ(host.Ctl().GetSelectionMode(), SECEDIT_SEL_STREAM);
  EXPECT_EQ(Selection(host), SECEditLineColPair(1, 0, 2, 2));
  // Ctrl in the gutter selects everything.
  brambolt::test::AdvanceClock(1000);
  brambolt::test::Click(host.Hwnd(), POINT{5, y1}, kCtrl);
  EXPECT_EQ(Selection(host), SECEditLineColPair(0, 0, 4, 4));
}

TEST(MouseSelection, HoldingTheButtonBelowTheViewKeepsExtendingOnTheTimer) {
  ControllerHost host(300, 120);
  std::string text;
  for (int i = 0; i < 60; ++i) text += "row " + std::to_string(i) + "\r\n";
  host.SetText(text);
  brambolt::test::ButtonDown(host.Hwnd(), host.PointOf(0, 1));
  brambolt::test::MoveMouse(host.Hwnd(), POINT{60, 140});
  brambolt::test::MoveMouse(host.Hwnd(), POINT{60, 150});
  const int caretBefore = host.Caret().m_nLine;
  const int topBefore = host.Ctl().GetTopLine();
  brambolt::test::AdvanceClock(1000);
  EXPECT_GT(host.Caret().m_nLine, caretBefore + 3);
  EXPECT_GT(host.Ctl().GetTopLine(), topBefore + 3);
  EXPECT_TRUE(host.Ctl().IsTrackingMouse());
  // Editing is refused while the mouse selects.
  const std::string before = host.Text();
  host.Type("x");
  EXPECT_EQ(host.Text(), before);
  brambolt::test::ButtonUp(host.Hwnd(), POINT{60, 150});
  EXPECT_FALSE(host.Ctl().IsTrackingMouse());
  EXPECT_EQ(Selection(host).m_start, SECEditLineCol(0, 1));
}

TEST(MouseSelection, AColumnDraggedWithAltCopiesAndPastesAsABlock) {
  ControllerHost host;
  host.SetText("abcdef\r\nab\r\nabcdef\r\nxyz");
  brambolt::test::Drag(host.Hwnd(), host.PointOf(0, 1), host.PointOf(2, 4), 4, kAlt);
  ASSERT_EQ(host.Ctl().GetSelectionMode(), SECEDIT_SEL_COLUMN);
  host.Key('C', kCtrl);
  CString copied;
  host.Ctl().GetSelectedText(copied);
  EXPECT_EQ(std::string(copied), "bcd\r\nb\r\nbcd\r\n");
  // Pasted at the last line, the block adds the lines it needs.
  host.Put(3, 1);
  host.Key('V', kCtrl);
  EXPECT_EQ(host.Text(), "abcdef\r\nab\r\nabcdef\r\nxbcdyz\r\n b\r\n bcd\r\n");
  host.model.Undo();
  EXPECT_EQ(host.Text(), "abcdef\r\nab\r\nabcdef\r\nxyz");
}

}  // namespace

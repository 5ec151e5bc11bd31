// The editor controller on a headless editor window: the key map and its routing, the status
// text, caret positioning, words, and every movement key with and without Shift.
#include <gtest/gtest.h>

#include "tests/editor/ControllerHost.h"

using brambolt::test::kCtrl;
using brambolt::test::kShift;
using editortest::ControllerHost;

namespace {

TEST(ControllerKeyMap, HoldsTheEditorsKeysWithF3TwiceAndLeavesTheF6PairToTheFrame) {
  ControllerHost host;
  HACCEL accel = ::LoadAccelerators(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_SECEDIT_ACCEL));
  ASSERT_NE(accel, nullptr);
  std::vector<ACCEL> entries(static_cast<size_t>(::CopyAcceleratorTable(accel, nullptr, 0)));
  ::CopyAcceleratorTable(accel, entries.data(), static_cast<int>(entries.size()));
  ::DestroyAcceleratorTable(accel);
  EXPECT_EQ(entries.size(), 67u);
  auto commandOf = [&](WORD key, BYTE mods) {
    int found = 0;
    WORD cmd = 0;
    for (const ACCEL& a : entries)
      if (a.key == key && (a.fVirt & (FCONTROL | FSHIFT | FALT)) == mods) {
        ++found;
        cmd = a.cmd;
      }
    return std::make_pair(found, cmd);
  };
  EXPECT_EQ(commandOf(VK_F3, 0), std::make_pair(2, WORD{45041}));
  EXPECT_EQ(commandOf(VK_F6, 0), std::make_pair(1, WORD{57680}));
  EXPECT_EQ(commandOf(VK_F6, FSHIFT), std::make_pair(1, WORD{57681}));
  EXPECT_EQ(commandOf('8', FCONTROL | FSHIFT), std::make_pair(1, WORD{45039}));
  EXPECT_EQ(commandOf(VK_PRIOR, FSHIFT), std::make_pair(1, WORD{45034}));
  EXPECT_EQ(commandOf(VK_BACK, FALT | FSHIFT), std::make_pair(1, WORD{57644}));

  // Ctrl+C becomes a command before the window sees a character; Ctrl+Shift+W selects the word.
  host.SetText("alpha beta");
  host.Key('C', kCtrl);
  EXPECT_EQ(host.Text(), "alpha beta");
  host.Put(0, 7);
  host.Key('W', kCtrl | kShift);
  SECEditLineColPair pair;
  ASSERT_TRUE(host.Ctl().GetSelectionPair(pair, TRUE));
  EXPECT_EQ(pair, SECEditLineColPair(0, 6, 0, 10));
}

TEST(ControllerState, StatusTextCaretClampingAndSelectionRanges) {
  ControllerHost host;
  host.SetText("first line\r\nsecond\r\n\r\nlast");
  EXPECT_EQ(std::string(host.Ctl().GetLineColText()), "Ln 1, Col 1");
  host.Ctl().SetCaretPos(9, 99, FALSE);
  EXPECT_EQ(host.Caret(), SECEditLineCol(3, 4));
  EXPECT_EQ(std::string(host.Ctl().GetLineColText()), "Ln 4, Col 5");
  host.Ctl().SetCaretPos(1, 10, TRUE);
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 10));
  EXPECT_TRUE(host.Ctl().IsBeyondLineEnd());

  int sl, sc, el, ec;
  SECEditSelection& sel = host.Ctl().GetSelection();
  sel.Set(1, 3, 0, 2, SECEDIT_SEL_STREAM);
  ASSERT_TRUE(host.Ctl().GetSelectionRange(sl, sc, el, ec, FALSE));
  EXPECT_EQ(SECEditLineColPair(sl, sc, el, ec), SECEditLineColPair(0, 2, 1, 3));
  sel.Set(0, 5, 1, 2, SECEDIT_SEL_LINES);  // whole lines reach column 0 of the next line
  ASSERT_TRUE(host.Ctl().GetSelectionRange(sl, sc, el, ec, FALSE));
  EXPECT_EQ(SECEditLineColPair(sl, sc, el, ec), SECEditLineColPair(0, 0, 2, 0));
  sel.Set(2, 0, 3, 1, SECEDIT_SEL_LINES);  // ... or the end of the last line
  ASSERT_TRUE(host.Ctl().GetSelectionRange(sl, sc, el, ec, FALSE));
  EXPECT_EQ(SECEditLineColPair(sl, sc, el, ec), SECEditLineColPair(2, 0, 3, 4));
  sel.Set(3, 0, 3, 0, SECEDIT_SEL_LINES);  // an empty whole-lines selection counts on a non-empty last line
  EXPECT_TRUE(host.Ctl().HasSelection());
  host.SetText("x\r\n");
  host.Ctl().GetSelection().Set(1, 0, 1, 0, SECEDIT_SEL_LINES);
  EXPECT_FALSE(host.Ctl().HasSelection());
  host.Ctl().GetSelection().Set(0, 1, 0, 1, SECEDIT_SEL_STREAM);
  EXPECT_FALSE(host.Ctl().HasSelection());
}

TEST(ControllerWords, RunsOfBlanksDelimitersAndWordsAroundAPosition) {
  ControllerHost host;
  host.SetText("  foo(bar, baz)  qux\r\nnext");
  struct Case {
    int col;
    const char* word;
    int start, end;
  };
  const Case cases[] = {
      {0, "", 0, 0},        // blanks on both sides: no word
      {2, "foo", 2, 5},     // blank before: the run after
      {4, "foo", 2, 5},     // inside a word
      {5, "foo", 2, 5},     // word before, delimiter after: the word
      {6, "bar", 6, 9},     // delimiter before, word after: the word
      {9, "bar", 6, 9},     // word before, delimiter after
      {15, ")", 14, 15},    // a delimiter run before a blank
      {20, "qux", 17, 20},  // the line end
  };
  for (const Case& c : cases) {
    CString word;
    int start = -1, end = -1;
    host.Ctl().GetWordAt(word, 0, c.col, start, end);
    EXPECT_EQ(std::string(word), c.word) << "column " << c.col;
    if (*c.word != '\0') {
      EXPECT_EQ(std::make_pair(start, end), std::make_pair(c.start, c.end)) << "column " << c.col;
    }
  }
  CString word;
  int line = -1, col = -1;
  ASSERT_TRUE(host.Ctl().FindWordBoundary(word, 0, 20, TRUE, line, col));
  EXPECT_EQ(std::make_pair(line, col), std::make_pair(1, 0));
  EXPECT_EQ(std::string(word), "\r\n");
  ASSERT_TRUE(host.Ctl().FindWordBoundary(word, 1, 0, FALSE, line, col));
  EXPECT_EQ(std::make_pair(line, col), std::make_pair(0, 20));
  ASSERT_TRUE(host.Ctl().FindWordBoundary(word, 0, 2, TRUE, line, col));
  EXPECT_EQ(std::string(word), "foo");
  EXPECT_FALSE(host.Ctl().FindWordBoundary(word, 7, 0, TRUE, line, col));

  // Ctrl+Right passes a word and the blanks after it; Ctrl+Left passes blanks back to a word.
  host.Put(0, 17);
  host.Key(VK_LEFT, kCtrl);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 14));
  host.Put(0, 10);
  host.Key(VK_RIGHT, kCtrl);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 11));
  host.Key(VK_RIGHT, kCtrl | kShift);
  SECEditLineColPair pair;
  ASSERT_TRUE(host.Ctl().GetSelectionPair(pair, TRUE));
  EXPECT_EQ(pair, SECEditLineColPair(0, 11, 0, 14));
}

TEST(ControllerMoves, EveryMovementKeyAtItsEdges) {
  ControllerHost host;
  host.SetText("    text here\r\nab\r\n    \r\nlonger line of text");
  const int lastLen = 19;
  struct Case {
    const char* name;
    SECEditLineCol from;
    UINT vk;
    UINT mods;
    SECEditLineCol to;
  };
  const Case cases[] = {
      {"left at the start", {0, 0}, VK_LEFT, 0, {0, 0}},
      {"left over a line end", {1, 0}, VK_LEFT, 0, {0, 13}},
      {"right over a line end", {1, 2}, VK_RIGHT, 0, {2, 0}},
      {"right at the text end", {3, lastLen}, VK_RIGHT, 0, {3, lastLen}},
      {"home to the first non-blank", {0, 9}, VK_HOME, 0, {0, 4}},
      {"home from it to column 0", {0, 4}, VK_HOME, 0, {0, 0}},
      {"home from column 0", {0, 0}, VK_HOME, 0, {0, 4}},
      {"home on a blank line", {2, 3}, VK_HOME, 0, {2, 0}},
      {"end", {0, 2}, VK_END, 0, {0, 13}},
      {"document start", {3, 5}, VK_HOME, kCtrl, {0, 0}},
      {"document end", {0, 5}, VK_END, kCtrl, {3, lastLen}},
      {"up at the top", {0, 5}, VK_UP, 0, {0, 5}},
      {"down at the bottom", {3, 5}, VK_DOWN, 0, {3, 5}},
  };
  for (const Case& c : cases) {
    host.Put(c.from.m_nLine, c.from.m_nCol);
    host.Ctl().RememberCaretX();
    host.Key(c.vk, c.mods);
    EXPECT_EQ(host.Caret(), c.to) << c.name;
    EXPECT_FALSE(host.Ctl().HasSelection()) << c.name;
  }
  // Down to a shorter line keeps the pixel x for the next longer one.
  host.Put(0, 10);
  host.Ctl().RememberCaretX();
  host.Key(VK_DOWN);
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 2));
  host.Key(VK_DOWN);
  host.Key(VK_DOWN);
  EXPECT_EQ(host.Caret(), SECEditLineCol(3, 10));
  // Shift+Right after Shift+Left leaves an empty selection that is no selection.
  host.Key(VK_LEFT, kShift);
  EXPECT_TRUE(host.Ctl().HasSelection());
  host.Key(VK_RIGHT, kShift);
  EXPECT_FALSE(host.Ctl().HasSelection());
  // Ctrl+A: anchor at the end, caret at the start; Esc clears.
  host.Key('A', kCtrl);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 0));
  EXPECT_EQ(host.Ctl().GetSelection().GetStart(), SECEditLineCol(3, lastLen));
  host.Key(VK_ESCAPE);
  EXPECT_FALSE(host.Ctl().HasSelection());
  host.SetText("");
  host.Key('A', kCtrl);
  EXPECT_FALSE(host.Ctl().HasSelection());
}

TEST(ControllerMoves, VirtualSpaceWithVirtualWhitespaceOnly) {
  ControllerHost host;
  host.SetText("ab\r\ncd");
  host.Put(0, 2);
  host.Key(VK_RIGHT);
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 0));
  host.lang.virtualWhitespace = TRUE;
  host.Put(0, 2);
  host.Key(VK_RIGHT);
  host.Key(VK_RIGHT);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 4));
  host.Key(VK_LEFT);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 3));
  host.lang.virtualWhitespace = FALSE;
  host.Key(VK_LEFT);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 2));
}

TEST(ControllerScrolling, PagesCaretFollowingAndFontChangesKeepTheTopLine) {
  ControllerHost host;
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + std::string(static_cast<size_t>(i), 'x') + "\r\n";
  host.SetText(text);
  const int visible = host.Ctl().GetViewport()->GetVisibleLogRect().Height() / host.LineHeight();
  ASSERT_GT(visible, 3);
  host.Key(VK_NEXT);
  EXPECT_EQ(host.Caret().m_nLine, visible - 1);
  EXPECT_EQ(host.Ctl().GetTopLine(), visible - 1);
  host.Key(VK_PRIOR);
  EXPECT_EQ(host.Caret().m_nLine, 0);
  EXPECT_EQ(host.Ctl().GetTopLine(), 0);
  host.Key(VK_END, kCtrl);
  EXPECT_EQ(host.Caret(), SECEditLineCol(100, 0));
  EXPECT_EQ(host.Ctl().GetTopLine(), 101 - visible);
  for (int i = 0; i < 5; ++i) host.Key(VK_NEXT);
  EXPECT_EQ(host.Caret().m_nLine, 100);
  // A caret that leaves the view on the right scrolls 8 characters past it.
  host.Put(99, 0);
  host.Key(VK_END);
  const CRect view = host.Ctl().GetViewport()->GetVisibleLogRect();
  const int x = host.Ctl().GetCaretPoint().x;
  EXPECT_GT(view.right - x, 7 * host.CharWidth());
  EXPECT_LE(view.right - x, 9 * host.CharWidth());
  // Ctrl+Down scrolls without moving the caret; a font change keeps the top line.
  host.Put(50, 0);
  const int top = host.Ctl().GetTopLine();
  host.Key(VK_DOWN, kCtrl);
  EXPECT_EQ(host.Ctl().GetTopLine(), top + 1);
  EXPECT_EQ(host.Caret(), SECEditLineCol(50, 0));
  SECEditMsg font(SECEDIT_MSG_FONT);
  host.model.UpdateAllObservers(nullptr, &font);
  EXPECT_EQ(host.Ctl().GetTopLine(), top + 1);
}

TEST(ControllerState, AnEditInOneViewShiftsTheCaretAndSelectionOfAnother) {
  ControllerHost host;
  host.SetText("one\r\ntwo three\r\nfour");
  SECEditCtrl other;
  other.SetEditModel(&host.model);
  other.Create(AfxRegisterWndClass(CS_DBLCLKS), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100),
               CWnd::FromHandle(host.parent.Hwnd()), 101);
  SECEditController& second = *other.GetController();
  second.SetCaretPos(1, 6, FALSE);
  second.GetSelection().Set(1, 4, 1, 9, SECEDIT_SEL_STREAM);
  host.ctl.SetFocus();
  brambolt::test::RunUntilIdle();
  // The focused view ends at its edit with no selection; the other keeps its place in the text.
  host.Put(1, 0);
  host.Type("xx");
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 2));
  EXPECT_EQ(second.GetCaretPosition(), SECEditLineCol(1, 8));
  EXPECT_EQ(second.GetSelection().GetStart(), SECEditLineCol(1, 6));
  host.Put(0, 3);
  host.Key(VK_RETURN);
  EXPECT_EQ(second.GetCaretPosition(), SECEditLineCol(2, 8));
  EXPECT_EQ(second.GetSelection().GetEnd(), SECEditLineCol(2, 11));
  host.Key(VK_BACK);
  EXPECT_EQ(second.GetCaretPosition(), SECEditLineCol(1, 8));
  EXPECT_FALSE(host.Ctl().HasSelection());
}

}  // namespace

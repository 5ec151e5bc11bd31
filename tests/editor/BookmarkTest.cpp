// Line-mark commands by key and by id range with their enabling, the line-changed mark that goes
// when the caret leaves its line, the context menu, and the overwrite and whitespace toggles.
#include <gtest/gtest.h>

#include "ControllerHost.h"
#include "UndoCommandState.h"
#include "win/Input.h"

using editortest::ControllerHost;

namespace {

editortest::CommandState Update(ControllerHost& host, UINT id) { return editortest::Update(&host.Ctl(), id); }

void Command(ControllerHost& host, UINT id) { ::SendMessage(host.Hwnd(), WM_COMMAND, id, 0); }

TEST(Bookmarks, KeysToggleWalkAndClearTheBookmark) {
  ControllerHost host;
  host.SetText("zero\r\none\r\ntwo\r\nthree");
  host.Put(1, 2);
  // No bookmark: F2 does nothing and is disabled.
  EXPECT_EQ(Update(host, 45300).enabled, 0);
  host.Key(VK_F2);
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 2));

  host.Key(VK_F2, brambolt::test::kCtrl);
  EXPECT_TRUE(host.model.HasLineMark(1, SECEDIT_MARK_BOOKMARK));
  // One bookmark on the caret line: F2 wraps round to that line again.
  host.Key(VK_F2);
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 0));
  host.Put(3, 0);
  host.Key(VK_F2, brambolt::test::kCtrl);
  host.Key(VK_F2, brambolt::test::kShift);
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 0));
  host.Key(VK_F2, brambolt::test::kShift);
  EXPECT_EQ(host.Caret(), SECEditLineCol(3, 0));
  host.Key(VK_F2, brambolt::test::kCtrl);
  EXPECT_FALSE(host.model.HasLineMark(3, SECEDIT_MARK_BOOKMARK));
  host.Key(VK_F2, brambolt::test::kCtrl | brambolt::test::kShift);
  EXPECT_EQ(host.model.CountMarkedLines(SECEDIT_MARK_BOOKMARK), 0);
  for (UINT id : {45300U, 45333U, 45366U}) EXPECT_EQ(Update(host, id).enabled, 0) << id;
  EXPECT_EQ(Update(host, 45267).enabled, 1);

  // Every mark number has its four commands; F9 is mark 16; 45270 highlights the caret line.
  Command(host, 45250 + 5);
  EXPECT_TRUE(host.model.HasLineMark(3, 5));
  EXPECT_EQ(Update(host, 45283 + 5).enabled, 1);
  Command(host, 45349 + 5);
  EXPECT_FALSE(host.model.HasLineMark(3, 5));
  host.Key(VK_F9);
  EXPECT_TRUE(host.model.HasLineMark(3, SECEDIT_MARK_F9));
  Command(host, 45270);
  EXPECT_TRUE(host.model.HasLineMark(3, SECEDIT_MARK_HIGHLIGHT));
  Command(host, 45270);
  EXPECT_FALSE(host.model.HasLineMark(3, SECEDIT_MARK_HIGHLIGHT));
}

TEST(Bookmarks, TheChangedMarkGoesWhenTheCaretLeavesItsLine) {
  ControllerHost host;
  host.SetText("one\r\ntwo\r\nthree");
  host.Put(1, 3);
  host.Type("x");
  ASSERT_TRUE(host.model.HasLineMark(1, SECEDIT_MARK_CHANGED));
  host.Key(VK_LEFT);
  brambolt::test::RunUntilIdle();
  EXPECT_TRUE(host.model.HasLineMark(1, SECEDIT_MARK_CHANGED));
  host.Key(VK_DOWN);
  brambolt::test::RunUntilIdle();
  EXPECT_FALSE(host.model.HasLineMark(1, SECEDIT_MARK_CHANGED));
}

TEST(Toggles, InsertSwitchesOverwriteAndCtrlShift8TheWhitespace) {
  ControllerHost host;
  host.SetText("abc");
  EXPECT_EQ(Update(host, 59140).enabled, 0);
  host.Key(VK_INSERT);
  EXPECT_TRUE(host.model.m_bOverwrite);
  EXPECT_EQ(Update(host, 59140).enabled, 1);
  host.Key(VK_INSERT);
  EXPECT_FALSE(host.model.m_bOverwrite);

  EXPECT_EQ(Update(host, 45039).checked, 0);
  host.Key('8', brambolt::test::kCtrl | brambolt::test::kShift);
  EXPECT_TRUE(host.lang.showWhitespace);
  EXPECT_EQ(Update(host, 45039).checked, 1);
}

TEST(ContextMenu, TheMenuKeyOpensItAtTheTextWithoutMovingTheCaret) {
  ControllerHost host;
  host.SetText("one two\r\nthree");
  host.Ctl().SetSelection(SECEditLineColPair(1, 0, 1, 3), SECEDIT_SEL_STREAM);
  std::vector<std::pair<UINT, UINT>> items;  // id, state
  brambolt::test::ModalAnswers answers;
  answers.When("#32768", nullptr, [&](HWND menu) {
    HMENU popup = reinterpret_cast<HMENU>(::SendMessage(menu, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i)
      items.emplace_back(::GetMenuItemID(popup, i), ::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION));
    brambolt::InjectKey(VK_ESCAPE, true);
    brambolt::InjectKey(VK_ESCAPE, false);
  });
  ::SendMessage(host.Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.Hwnd()), MAKELPARAM(-1, -1));
  ASSERT_EQ(items.size(), 8U);
  EXPECT_EQ(items[0].first, 57643U);
  EXPECT_TRUE(items[0].second & MF_GRAYED);   // nothing to undo
  EXPECT_FALSE(items[3].second & MF_GRAYED);  // cut: there is a selection
  EXPECT_EQ(host.Caret(), SECEditLineCol(1, 3));
  EXPECT_TRUE(host.Ctl().HasSelection());
}

}  // namespace

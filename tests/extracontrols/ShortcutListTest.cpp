// The shortcut list: its icon layout and hit testing, hot and pressed items and the click
// notification, the scroll buttons' repeat on the virtual clock, icon sizes, and dragging items
// between lists with the foreign data refused.
#include <gtest/gtest.h>

#include "extracontrols/SECShortcutListCtrl.h"
#include "testing/testing.h"
#include "win/Input.h"

using brambolt::test::AdvanceClock;
using brambolt::test::ButtonDown;
using brambolt::test::ButtonUp;
using brambolt::test::Click;
using brambolt::test::MoveMouse;
using brambolt::test::NotificationRecorder;
using brambolt::test::RunUntilIdle;
using brambolt::test::ScreenPoint;
using brambolt::test::UiScript;
using brambolt::test::UiSession;

namespace {

class ShortcutList : public ::testing::Test {
 protected:
  void SetUp() override {
    CWnd* parent = CWnd::FromHandle(m_parent.Hwnd());
    ASSERT_TRUE(m_left.Create(WS_VISIBLE | WS_CHILD, CRect(0, 0, 120, 260), parent, 1));
    ASSERT_TRUE(m_right.Create(WS_VISIBLE | WS_CHILD, CRect(200, 0, 320, 260), parent, 2));
    for (const char* name : {"Inbox", "Calendar", "Contacts"}) m_left.InsertItem(m_left.GetItemCount(), name, 0);
    m_right.InsertItem(0, "Notes", 0);
    m_right.InsertItem(1, "Tasks", 0);
    RunUntilIdle();
  }
  CPoint IconCentre(SECShortcutListCtrl& list, int row) {
    const CRect rect = list.RowRect(row);
    const SECListItem* item = list.GetItemRecord(row);
    return CPoint(rect.left + (item->m_rcIcon.left + item->m_rcIcon.right) / 2, rect.top + item->m_rcIcon.top + 8);
  }
  std::vector<CString> Labels(SECShortcutListCtrl& list) {
    std::vector<CString> labels;
    for (int i = 0; i < list.GetItemCount(); ++i) labels.push_back(list.GetItemText(i, 0));
    return labels;
  }
  // The click notifications the parent received.
  std::vector<NotificationRecorder::Record> Clicks() {
    std::vector<NotificationRecorder::Record> clicks;
    for (const auto& r : m_parent.Records())
      if (r.message == WM_NOTIFY && r.code == SCLN_ITEMCLICKED) clicks.push_back(r);
    return clicks;
  }
  UiSession m_session;
  NotificationRecorder m_parent{400, 300};
  SECShortcutListCtrl m_left, m_right;
};

TEST_F(ShortcutList, ItemsStandUnderEachOtherAndAreHitOnIconOrLabel) {
  const CRect first = m_left.RowRect(0), second = m_left.RowRect(1);
  EXPECT_EQ(first.top, 0);
  EXPECT_EQ(second.top, first.bottom);
  const SECListItem* item = m_left.GetItemRecord(0);
  EXPECT_EQ(item->m_rcIcon.right - item->m_rcIcon.left, 32);
  EXPECT_EQ((item->m_rcIcon.left + item->m_rcIcon.right) / 2, 60);  // centred
  struct Case {
    CPoint point;
    int result;
    UINT flags;
  };
  const Case cases[] = {
      {IconCentre(m_left, 1), 1, LVHT_ONITEMICON},
      {CPoint(60, second.top + item->m_rcText.top + 3), 1, LVHT_ONITEMLABEL},
      {CPoint(10, second.top + 10), -1, LVHT_NOWHERE},  // beside the icon
      {CPoint(60, 250), -1, LVHT_NOWHERE},              // below the last item
      {m_left.GetUpButton().m_rect.CenterPoint(), SCLHT_UPBUTTON, 0},
      {m_left.GetDownButton().m_rect.CenterPoint(), SCLHT_DOWNBUTTON, 0},
      {CPoint(130, 50), -1, LVHT_TORIGHT},
  };
  for (const Case& c : cases) {
    UINT flags = 0;
    EXPECT_EQ(m_left.HitTest(c.point, &flags), c.result) << c.point.x << "," << c.point.y;
    if (c.result > SCLHT_UPBUTTON) {
      EXPECT_EQ(flags, c.flags) << c.point.x << "," << c.point.y;
    }
  }
  // The scroll buttons sit 5 pixels in from the right, top and bottom edges.
  EXPECT_EQ(m_left.GetUpButton().m_rect.right, 115);
  EXPECT_EQ(m_left.GetUpButton().m_rect.top, 5);
  EXPECT_EQ(m_left.GetDownButton().m_rect.bottom, 255);
}

TEST_F(ShortcutList, PointerAndClicksRaisePressAndReportItems) {
  m_parent.ExpectStructure(SCLN_ITEMCLICKED, sizeof(SECShortcutListNotify));
  MoveMouse(m_left.m_hWnd, IconCentre(m_left, 1));
  EXPECT_EQ(m_left.GetHotItem(), 1);
  EXPECT_EQ(m_left.GetItemState(1, SCLIS_HOT | SCLIS_PRESSED), SCLIS_HOT);
  MoveMouse(m_left.m_hWnd, IconCentre(m_left, 2));
  EXPECT_EQ(m_left.GetItemState(1, SCLIS_HOT | SCLIS_PRESSED), 0u);
  ButtonDown(m_left.m_hWnd, IconCentre(m_left, 2));
  EXPECT_EQ(m_left.GetItemState(2, SCLIS_HOT | SCLIS_PRESSED), SCLIS_PRESSED);
  ButtonUp(m_left.m_hWnd, IconCentre(m_left, 2));
  EXPECT_EQ(m_left.GetItemState(2, SCLIS_HOT | SCLIS_PRESSED), SCLIS_HOT);
  EXPECT_TRUE(m_left.IsRowSelected(2));
  const auto clicks = Clicks();
  ASSERT_EQ(clicks.size(), 1u);
  const auto& record = clicks[0];
  EXPECT_EQ(record.id, 1u);
  ASSERT_EQ(record.data.size(), sizeof(SECShortcutListNotify));
  EXPECT_EQ(reinterpret_cast<const SECShortcutListNotify*>(record.data.data())->iItem, 2);
  // A press released off the item (moving too little to drag) reports nothing; leaving the
  // window ends the hot look.
  const CPoint edge(m_left.GetItemRecord(0)->m_rcIcon.left + 1, IconCentre(m_left, 0).y);
  ButtonDown(m_left.m_hWnd, edge);
  ButtonUp(m_left.m_hWnd, edge - CSize(4, 0));
  EXPECT_EQ(Clicks().size(), 1u);
  MoveMouse(m_parent.Hwnd(), CPoint(160, 100));
  AdvanceClock(kShortcutListTimerPeriod);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(m_left.GetItemState(i, SCLIS_HOT | SCLIS_PRESSED), 0u);
  EXPECT_EQ(m_left.GetHotItem(), -1);
}

TEST_F(ShortcutList, AHeldScrollButtonRepeatsWhileThePointerStaysOnIt) {
  for (int i = 0; i < 12; ++i) m_left.InsertItem(m_left.GetItemCount(), "More", 0);
  RunUntilIdle();
  const CPoint down = m_left.GetDownButton().m_rect.CenterPoint();
  ButtonDown(m_left.m_hWnd, down);
  EXPECT_EQ(m_left.GetTopIndex(), 1);  // one line at once
  EXPECT_TRUE(m_left.GetDownButton().IsPushed());
  AdvanceClock(249);
  EXPECT_EQ(m_left.GetTopIndex(), 1);
  AdvanceClock(1 + 2 * 250);
  EXPECT_EQ(m_left.GetTopIndex(), 4);
  MoveMouse(m_left.m_hWnd, CPoint(20, 20));  // off the button: it comes up, nothing scrolls
  EXPECT_FALSE(m_left.GetDownButton().IsPushed());
  AdvanceClock(500);
  EXPECT_EQ(m_left.GetTopIndex(), 4);
  ButtonUp(m_left.m_hWnd, CPoint(20, 20));
  Click(m_left.m_hWnd, m_left.GetUpButton().m_rect.CenterPoint());
  EXPECT_EQ(m_left.GetTopIndex(), 3);
  AdvanceClock(1000);
  EXPECT_EQ(m_left.GetTopIndex(), 3);
  // The wheel scrolls a line each notch.
  brambolt::test::Wheel(m_left.m_hWnd, CPoint(50, 50), -120);
  EXPECT_EQ(m_left.GetTopIndex(), 4);
  brambolt::test::Wheel(m_left.m_hWnd, CPoint(50, 50), 120);
  EXPECT_EQ(m_left.GetTopIndex(), 3);
}

TEST_F(ShortcutList, TheMenuSwitchesBetweenLargeAndSmallIcons) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_SHORTCUTLIST_MENU));
  ASSERT_NE(menu.GetSubMenu(0), nullptr);
  EXPECT_EQ(menu.GetSubMenu(0)->GetMenuItemID(1), ID_SHORTCUTLIST_SMALLICON);
  const int large = m_left.RowRect(0).Height();
  // The context menu's second item switches to small icons.
  brambolt::test::ModalAnswers answers;
  answers.When(MENU_WINDOW_CLASS, nullptr, [&](HWND) {
    for (UINT vk : {VK_DOWN, VK_DOWN, VK_RETURN}) {
      brambolt::InjectKey(vk, true);
      brambolt::InjectKey(vk, false);
    }
  });
  Click(m_left.m_hWnd, CPoint(30, 30), brambolt::test::kNone, WM_RBUTTONDOWN);
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_TRUE(m_left.IsSmallIcons());
  RunUntilIdle();
  EXPECT_LT(m_left.RowRect(0).Height(), large);
  UINT flags = 0;
  EXPECT_EQ(m_left.HitTest(CPoint(40, m_left.RowRect(1).CenterPoint().y), &flags), 1);
  m_left.SendMessage(WM_COMMAND, ID_SHORTCUTLIST_LARGEICON, 0);
  EXPECT_FALSE(m_left.IsSmallIcons());
  EXPECT_EQ(m_left.RowRect(0).Height(), large);
}

TEST_F(ShortcutList, ItemsAreDraggedBetweenListsOfThisProcessOnly) {
  // Five pixels of movement is not yet a drag.
  const CPoint press = IconCentre(m_left, 1);
  ButtonDown(m_left.m_hWnd, press);
  MoveMouse(m_left.m_hWnd, press + CPoint(5, 5));
  ButtonUp(m_left.m_hWnd, press + CPoint(5, 5));
  EXPECT_EQ(m_left.GetItemCount(), 3);
  // Further, it drags: over the gap between the right list's two items and dropped there.
  const CPoint gap = ScreenPoint(m_right.m_hWnd, CPoint(60, m_right.RowRect(1).top + 2));
  int markSeen = -2;
  UiScript script;
  script.Then([&] { brambolt::InjectMouseMove(gap); })
      .Then([&] { markSeen = m_right.GetInsertMark(); })
      .Then([&] { brambolt::InjectMouseButton(WM_LBUTTONUP, gap); });
  ButtonDown(m_left.m_hWnd, press);
  MoveMouse(m_left.m_hWnd, press + CPoint(0, 6));
  EXPECT_EQ(markSeen, 1);
  EXPECT_EQ(m_right.GetInsertMark(), -1);  // gone after the drop
  EXPECT_EQ(Labels(m_right), (std::vector<CString>{"Notes", "Calendar", "Tasks"}));
  EXPECT_EQ(Labels(m_left), (std::vector<CString>{"Inbox", "Contacts"}));
  // Moving an item up inside its own list deletes the row it came from, not the one now there.
  const CPoint top = ScreenPoint(m_right.m_hWnd, CPoint(60, 2));
  UiScript again;
  again.Then([&] { brambolt::InjectMouseMove(top); }).Then([&] { brambolt::InjectMouseButton(WM_LBUTTONUP, top); });
  ButtonDown(m_right.m_hWnd, IconCentre(m_right, 2));
  MoveMouse(m_right.m_hWnd, IconCentre(m_right, 2) - CSize(0, 8));
  EXPECT_EQ(Labels(m_right), (std::vector<CString>{"Tasks", "Notes", "Calendar"}));

  // The same format from elsewhere (another GUID) is refused.
  GUID foreign;
  ASSERT_EQ(::CoCreateGuid(&foreign), S_OK);
  LVITEM item{};
  item.mask = LVIF_TEXT;
  item.pszText = const_cast<char*>("Foreign");
  auto* source = new COleDataSource;
  source->CacheGlobalData(SECShortcutListCtrl::GetClipboardFormat(), SECShortcutListCtrl::MakeDragData(foreign, item));
  const CPoint target = ScreenPoint(m_right.m_hWnd, CPoint(60, 20));
  UiScript foreignDrag;
  foreignDrag.Then([&] { brambolt::InjectMouseMove(target); })
      .Then([&] { markSeen = m_right.GetInsertMark(); })
      .Then([&] { brambolt::InjectMouseButton(WM_LBUTTONUP, target); });
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, ScreenPoint(m_parent.Hwnd(), CPoint(160, 250)));
  RunUntilIdle();
  EXPECT_EQ(source->DoDragDrop(DROPEFFECT_MOVE), DROPEFFECT_NONE);
  source->InternalRelease();
  EXPECT_EQ(markSeen, -1);
  EXPECT_EQ(m_right.GetItemCount(), 3);
}

}  // namespace

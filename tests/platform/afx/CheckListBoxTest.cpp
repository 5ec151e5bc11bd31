// The framework's check list box over a real owner-drawn list: the user's clicks and Space on the
// check boxes, the check styles, disabled items, the application's item data beside the check
// state, and the drawing split between the check column and the application's part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlTestSupport.h"

using brambolt::test::Click;
using brambolt::test::DoubleClick;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using brambolt::test::WindowPixel;

namespace {

constexpr UINT kListId = 300;

// A dialog-like parent that handles the list's notifications through its message map.
class CheckHost : public CWnd {
 public:
  struct Change {
    int selection;
    int check;
  };
  CCheckListBox* list = nullptr;
  std::vector<Change> changes;
  int selChanges = 0;

 protected:
  afx_msg void OnCheckChange() { changes.push_back({list->GetCurSel(), list->GetCheck(list->GetCurSel())}); }
  afx_msg void OnSelChange() { ++selChanges; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CheckHost, CWnd)
  ON_CLBN_CHKCHANGE(kListId, OnCheckChange)
  ON_LBN_SELCHANGE(kListId, OnSelChange)
END_MESSAGE_MAP()

class CheckListBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                              nullptr, nullptr));
    host.list = &list;
  }
  // A list without a border, so that window and client coordinates agree.
  void Make(DWORD style, std::initializer_list<const char*> items) {
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY | style, CRect(10, 10, 210, 210), &host, kListId));
    for (const char* item : items) list.AddString(item);
  }
  CRect ItemRect(int index) {
    CRect r;
    list.GetItemRect(index, &r);
    return r;
  }
  POINT OnBox(int index) {
    CRect r = ItemRect(index);
    return POINT{r.left + 8, (r.top + r.bottom) / 2};
  }
  POINT OnText(int index) {
    CRect r = ItemRect(index);
    return POINT{r.left + 100, (r.top + r.bottom) / 2};
  }

  UiSession session;
  CheckHost host;
  CCheckListBox list;
};

constexpr DWORD kStrings = LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;

// ---- the user's clicks and keys ----

TEST_F(CheckListBoxes, ClickOnTheBoxTogglesSelectsAndNotifies) {
  Make(kStrings, {"Standard", "Formatting", "Drawing"});
  Click(list, OnBox(1));
  EXPECT_EQ(list.GetCheck(1), 1);
  EXPECT_EQ(list.GetCurSel(), 1);
  ASSERT_EQ(host.changes.size(), 1u);
  // The parent's handler already sees the clicked item selected and checked.
  EXPECT_EQ(host.changes[0].selection, 1);
  EXPECT_EQ(host.changes[0].check, 1);

  Click(list, OnBox(1));
  EXPECT_EQ(list.GetCheck(1), 0);
  EXPECT_EQ(host.changes.size(), 2u);
  EXPECT_EQ(list.GetCheck(0), 0);
  EXPECT_EQ(list.GetCheck(2), 0);
}

TEST_F(CheckListBoxes, ClickOnTheTextOnlySelects) {
  Make(kStrings, {"Standard", "Formatting"});
  Click(list, OnText(1));
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(host.selChanges, 1);
  EXPECT_EQ(list.GetCheck(1), 0);
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(CheckListBoxes, DoubleClickOnTheBoxTogglesTwice) {
  Make(kStrings, {"Standard"});
  DoubleClick(list, OnBox(0));
  EXPECT_EQ(list.GetCheck(0), 0);
  EXPECT_EQ(host.changes.size(), 2u);
}

TEST_F(CheckListBoxes, SpaceTogglesTheFocusItem) {
  Make(kStrings, {"Standard", "Formatting", "Drawing"});
  Click(list, OnText(2));
  PressKey(VK_SPACE);
  EXPECT_EQ(list.GetCheck(2), 1);
  ASSERT_EQ(host.changes.size(), 1u);
  EXPECT_EQ(host.changes[0].selection, 2);
  PressKey(VK_UP);
  PressKey(VK_SPACE);
  EXPECT_EQ(list.GetCheck(1), 1);
  EXPECT_EQ(list.GetCheck(2), 1);
  PressKey(VK_SPACE);
  EXPECT_EQ(list.GetCheck(1), 0);
  EXPECT_EQ(host.changes.size(), 3u);
}

// The states each click on the box leaves, by check style, starting unchecked.
struct StyleCase {
  UINT style;
  std::vector<int> afterClicks;
  size_t notifications;
};

class CheckStyles : public CheckListBoxes, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(CheckStyles, ClicksStepThroughTheStates) {
  Make(kStrings, {"Standard"});
  list.SetCheckStyle(GetParam().style);
  EXPECT_EQ(list.GetCheckStyle(), GetParam().style);
  std::vector<int> seen;
  for (size_t i = 0; i < GetParam().afterClicks.size(); ++i) {
    Click(list, OnBox(0));
    seen.push_back(list.GetCheck(0));
  }
  EXPECT_EQ(seen, GetParam().afterClicks);
  EXPECT_EQ(host.changes.size(), GetParam().notifications);
}

INSTANTIATE_TEST_SUITE_P(CheckListBoxes, CheckStyles,
                         ::testing::Values(StyleCase{BS_AUTOCHECKBOX, {1, 0, 1}, 3},
                                           StyleCase{BS_AUTO3STATE, {1, 2, 0, 1}, 4},
                                           StyleCase{BS_CHECKBOX, {0, 0}, 0},
                                           StyleCase{BS_3STATE, {0, 0}, 0}));

TEST_F(CheckListBoxes, TheIndeterminateStateBelongsToTheThreeStateStyles) {
  Make(kStrings, {"Standard"});
  EXPECT_EQ(list.GetCheckStyle(), static_cast<UINT>(BS_AUTOCHECKBOX));
  list.SetCheck(0, 2);
  EXPECT_EQ(list.GetCheck(0), 0);
  list.SetCheck(0, 3);
  EXPECT_EQ(list.GetCheck(0), 0);
  list.SetCheckStyle(BS_PUSHBUTTON);
  EXPECT_EQ(list.GetCheckStyle(), static_cast<UINT>(BS_AUTOCHECKBOX));

  list.SetCheckStyle(BS_3STATE);
  list.SetCheck(0, 2);
  EXPECT_EQ(list.GetCheck(0), 2);
  // Changes by the program are not the user's: no notification.
  EXPECT_TRUE(host.changes.empty());
}

TEST_F(CheckListBoxes, DisabledItemsRefuseClicksAndSpace) {
  Make(kStrings, {"Standard", "Formatting"});
  list.SetCheck(1, 1);
  list.Enable(1, FALSE);
  EXPECT_FALSE(list.IsEnabled(1));
  EXPECT_TRUE(list.IsEnabled(0));
  Click(list, OnBox(1));
  Click(list, OnText(1));
  EXPECT_EQ(list.GetCheck(1), 1);
  EXPECT_NE(list.GetCurSel(), 1);

  Click(list, OnText(0));
  PressKey(VK_DOWN);
  ASSERT_EQ(list.GetCaretIndex(), 1);
  PressKey(VK_SPACE);
  EXPECT_EQ(list.GetCheck(1), 1);
  EXPECT_TRUE(host.changes.empty());

  list.Enable(1, TRUE);
  PressKey(VK_SPACE);
  EXPECT_EQ(list.GetCheck(1), 0);
  EXPECT_EQ(host.changes.size(), 1u);
}

TEST_F(CheckListBoxes, BadIndexesChangeNothing) {
  Make(kStrings, {"Standard"});
  list.SetCheck(5, 1);
  list.Enable(-1, FALSE);
  EXPECT_EQ(list.GetCheck(5), 0);
  EXPECT_FALSE(list.IsEnabled(5));
  EXPECT_EQ(list.GetItemData(5), static_cast<DWORD_PTR>(LB_ERR));
  EXPECT_EQ(list.SetItemData(5, 1), LB_ERR);
}

TEST_F(CheckListBoxes, OnlyOwnerDrawnListsCanBeCreated) {
  EXPECT_FALSE(list.Create(WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS, CRect(0, 0, 100, 100), &host, kListId));
  EXPECT_EQ(list.m_hWnd, nullptr);
}

// A list made before the object was attached (a dialog's, taken over by SubclassDlgItem): its
// items keep their data, gain check states, and get room for the boxes.
TEST_F(CheckListBoxes, ASubclassedListKeepsItsItemsData) {
  HWND raw = ::CreateWindowEx(0, "ListBox", nullptr, WS_CHILD | WS_VISIBLE | LBS_NOTIFY | kStrings, 10, 10, 200, 200,
                              host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), nullptr, nullptr);
  ASSERT_NE(raw, nullptr);
  ::SendMessage(raw, LB_SETITEMHEIGHT, 0, 8);
  ::SendMessage(raw, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Standard"));
  ::SendMessage(raw, LB_SETITEMDATA, 0, 5);
  ASSERT_TRUE(list.SubclassWindow(raw));
  EXPECT_EQ(list.GetItemHeight(0), static_cast<int>(list.CalcMinimumItemHeight()));
  EXPECT_EQ(list.GetItemData(0), 5u);
  EXPECT_EQ(list.GetCheck(0), 0);
  Click(list, OnBox(0));
  EXPECT_EQ(list.GetCheck(0), 1);
  EXPECT_EQ(list.GetItemData(0), 5u);
  EXPECT_EQ(host.changes.size(), 1u);
}

// ---- the application's item data ----

TEST_F(CheckListBoxes, ItemDataRoundTripsBesideTheCheckState) {
  Make(kStrings, {"Standard", "Formatting"});
  list.SetItemData(0, 0xCAFE);
  list.SetCheck(0, 1);
  list.SetItemData(1, 7);
  list.SetItemData(0, 0xBEEF);
  EXPECT_EQ(list.GetCheck(0), 1);
  EXPECT_EQ(list.GetItemData(0), 0xBEEFu);
  EXPECT_EQ(::SendMessage(list, LB_GETITEMDATA, 1, 0), 7);
  list.InsertString(0, "Top");
  EXPECT_EQ(list.GetCheck(1), 1);
  EXPECT_EQ(list.GetItemData(1), 0xBEEFu);
  EXPECT_EQ(list.GetItemData(0), 0u);
  CString text;
  list.GetText(1, text);
  EXPECT_EQ(std::string(text), "Standard");
}

// A list without strings: the items are the application's values, sorted by its CompareItem.
class ValueList : public CCheckListBox {
 public:
  std::vector<DWORD_PTR> drawn, deleted;
  std::vector<int> drawnLeft;
  void DrawItem(LPDRAWITEMSTRUCT dis) override {
    drawn.push_back(dis->itemData);
    drawnLeft.push_back(dis->rcItem.left);
  }
  int CompareItem(LPCOMPAREITEMSTRUCT cis) override {
    return static_cast<int>(cis->itemData1) - static_cast<int>(cis->itemData2);
  }
  void DeleteItem(LPDELETEITEMSTRUCT dis) override { deleted.push_back(dis->itemData); }
};

TEST(CheckListBoxValues, TheApplicationSeesOnlyItsOwnValues) {
  UiSession session;
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300,
                            nullptr, nullptr));
  ValueList list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_SORT, CRect(0, 0, 200, 200), &host, 1));
  for (DWORD_PTR value : {30u, 10u, 20u}) list.AddString(reinterpret_cast<LPCTSTR>(value));
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetItemData(0), 10u);
  EXPECT_EQ(list.GetItemData(2), 30u);
  list.SetCheck(1, 1);
  EXPECT_EQ(list.FindString(-1, reinterpret_cast<LPCTSTR>(DWORD_PTR{20})), 1);
  EXPECT_EQ(list.FindStringExact(-1, reinterpret_cast<LPCTSTR>(DWORD_PTR{99})), LB_ERR);
  EXPECT_EQ(list.SelectString(-1, reinterpret_cast<LPCTSTR>(DWORD_PTR{30})), 2);
  EXPECT_EQ(list.GetCurSel(), 2);
  DWORD_PTR asText = 0;
  EXPECT_EQ(list.GetText(1, reinterpret_cast<LPTSTR>(&asText)), static_cast<int>(sizeof(DWORD_PTR)));
  EXPECT_EQ(asText, 20u);

  ::UpdateWindow(host);
  RunUntilIdle();
  EXPECT_EQ(list.drawn, (std::vector<DWORD_PTR>{10, 20, 30}));
  // The framework keeps the check column; the application draws right of it.
  for (int left : list.drawnLeft) EXPECT_GE(left, 13);

  list.DeleteString(1);
  EXPECT_EQ(list.deleted, (std::vector<DWORD_PTR>{20}));
  EXPECT_EQ(list.GetCheck(1), 0);
  list.ResetContent();
  EXPECT_EQ(list.deleted, (std::vector<DWORD_PTR>{20, 10, 30}));
}

TEST_F(CheckListBoxes, DisabledItemsReachTheApplicationsDrawingAsDisabled) {
  class Recording : public CCheckListBox {
   public:
    std::vector<UINT> states;
    void DrawItem(LPDRAWITEMSTRUCT dis) override { states.push_back(dis->itemState & ODS_DISABLED); }
  } recording;
  ASSERT_TRUE(recording.Create(WS_CHILD | WS_VISIBLE | kStrings, CRect(0, 0, 200, 100), &host, 2));
  recording.AddString("a");
  recording.AddString("b");
  recording.Enable(1, FALSE);
  ::UpdateWindow(host);
  RunUntilIdle();
  EXPECT_EQ(recording.states, (std::vector<UINT>{0, ODS_DISABLED}));
}

// ---- geometry and drawing ----

TEST_F(CheckListBoxes, ItemsAreAtLeastAsHighAsTheBoxAndTheFont) {
  Make(kStrings, {"Standard"});
  UINT least = list.CalcMinimumItemHeight();
  EXPECT_GE(least, 15u);
  EXPECT_EQ(list.GetItemHeight(0), static_cast<int>(least));
  CFont big;
  big.CreatePointFont(240, "Sans");
  list.SetFont(&big);
  EXPECT_GT(list.CalcMinimumItemHeight(), least);
  EXPECT_EQ(list.GetItemHeight(0), static_cast<int>(list.CalcMinimumItemHeight()));
}

// Dark pixels inside the check box of an item: the check mark.
int MarkPixels(HWND list, const CRect& item) {
  int dark = 0;
  int top = item.top + (item.Height() - 13) / 2;
  for (int y = top + 3; y < top + 10; ++y)
    for (int x = item.left + 2 + 3; x < item.left + 2 + 10; ++x) {
      COLORREF c = WindowPixel(list, x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++dark;
    }
  return dark;
}

TEST_F(CheckListBoxes, ACheckedItemShowsItsMark) {
  Make(kStrings, {"Standard", "Formatting"});
  list.SetCheck(1, 1);
  ::UpdateWindow(host);
  RunUntilIdle();
  EXPECT_EQ(MarkPixels(list, ItemRect(0)), 0);
  EXPECT_GT(MarkPixels(list, ItemRect(1)), 5);
  // The box's white face, then the text in the window colour area.
  EXPECT_EQ(WindowPixel(list, ItemRect(0).left + 2 + 6, ItemRect(0).top + ItemRect(0).Height() / 2),
            ::GetSysColor(COLOR_WINDOW));

  list.SetCheck(1, 0);
  ::UpdateWindow(list);
  RunUntilIdle();
  EXPECT_EQ(MarkPixels(list, ItemRect(1)), 0);
}

class MovedBox : public CCheckListBox {
 public:
  CRect OnGetCheckPosition(CRect rectItem, CRect rectCheckBox) override {
    rectCheckBox.OffsetRect(rectItem.Width() - rectCheckBox.right - 2, 0);
    return rectCheckBox;
  }
};

TEST_F(CheckListBoxes, TheBoxGoesWhereTheApplicationPutsIt) {
  MovedBox moved;
  ASSERT_TRUE(moved.Create(WS_CHILD | WS_VISIBLE | kStrings, CRect(0, 0, 200, 100), &host, kListId));
  moved.AddString("Standard");
  CRect item;
  moved.GetItemRect(0, &item);
  Click(moved, POINT{8, item.CenterPoint().y});
  EXPECT_EQ(moved.GetCheck(0), 0);
  Click(moved, POINT{item.right - 8, item.CenterPoint().y});
  EXPECT_EQ(moved.GetCheck(0), 1);
}

}  // namespace

// List boxes and combo boxes: their messages and notifications, selection by mouse and keyboard,
// keyboard search, owner-drawn items, and the drop-down list and how it closes.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class ListFixture : public ::testing::Test {
 protected:
  HWND MakeList(DWORD style, int height = 100) {
    HWND list = CreateWindowEx(WS_EX_CLIENTEDGE, "ListBox", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, 10,
                               10, 150, height, recorder_.Hwnd(), reinterpret_cast<HMENU>(20), nullptr, nullptr);
    EXPECT_NE(list, nullptr);
    SendMessage(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return list;
  }
  HWND MakeCombo(DWORD style, int id = 30) {
    HWND combo = CreateWindowEx(0, "ComboBox", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | style, 10,
                                10, 150, 120, recorder_.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                nullptr, nullptr);
    EXPECT_NE(combo, nullptr);
    SendMessage(combo, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    RunUntilIdle();
    return combo;
  }
  static void Add(HWND h, UINT msg, std::initializer_list<const char*> items) {
    for (const char* s : items) SendMessage(h, msg, 0, reinterpret_cast<LPARAM>(s));
  }
  static std::string ItemText(HWND list, int i) {
    char buffer[256] = {};
    SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  std::vector<UINT> Codes(UINT_PTR id) const {
    std::vector<UINT> out;
    for (const auto& r : recorder_.Records())
      if (r.message == WM_COMMAND && r.id == id) out.push_back(r.code);
    return out;
  }
  POINT ItemCenter(HWND list, int i) {
    RECT r;
    SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  UiSession session_;
  NotificationRecorder recorder_;
};

using ListBoxMessages = ListFixture;

TEST_F(ListBoxMessages, StringsAreAddedInsertedFoundAndDeleted) {
  HWND list = MakeList(LBS_NOTIFY);
  Add(list, LB_ADDSTRING, {"pear", "Apple", "fig"});
  EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("kiwi")), 1);
  EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("lime")), 4);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(ItemText(list, 1), "kiwi");
  EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, 2, 0), 5);
  EXPECT_EQ(SendMessage(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ap")), 2);
  EXPECT_EQ(SendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ap")), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("FIG")), 3);
  // A search starts after the given item and wraps.
  EXPECT_EQ(SendMessage(list, LB_FINDSTRING, 3, reinterpret_cast<LPARAM>("p")), 0);
  EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 0, 0), 4);
  EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 9, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETTEXT, 9, reinterpret_cast<LPARAM>("")), LB_ERR);
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxMessages, SortedBoxesPlaceStringsWithoutRegardToCase) {
  HWND list = MakeList(LBS_SORT);
  Add(list, LB_ADDSTRING, {"pear", "Apple", "fig", "apricot"});
  std::vector<std::string> order;
  for (int i = 0; i < 4; ++i) order.push_back(ItemText(list, i));
  EXPECT_EQ(order, (std::vector<std::string>{"Apple", "apricot", "fig", "pear"}));
}

TEST_F(ListBoxMessages, SelectionMessagesOfASingleSelectionBox) {
  HWND list = MakeList(LBS_NOTIFY);
  Add(list, LB_ADDSTRING, {"a", "b", "c"});
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessage(list, LB_GETSEL, 1, 0), 1);
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("C")), 2);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(Codes(20).empty()) << "selections made by the program are not notified";
  SendMessage(list, LB_SETITEMDATA, 2, 77);
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 2, 0), 77);
  SendMessage(list, LB_DELETESTRING, 2, 0);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR) << "deleting the selected item clears the selection";
}

TEST_F(ListBoxMessages, SelectionKindFollowsTheCreationStylesOnly) {
  HWND single = MakeList(LBS_NOTIFY);
  Add(single, LB_ADDSTRING, {"a", "b", "c"});
  SetWindowLong(single, GWL_STYLE, GetWindowLong(single, GWL_STYLE) | LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
  EXPECT_EQ(SendMessage(single, LB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(SendMessage(single, LB_GETSELCOUNT, 0, 0), LB_ERR);
  Click(single, ItemCenter(single, 0));
  Click(single, ItemCenter(single, 2), kCtrl);
  EXPECT_EQ(SendMessage(single, LB_GETCURSEL, 0, 0), 2) << "a click still selects one item";
  EXPECT_EQ(SendMessage(single, LB_GETSEL, 0, 0), 0);
  DestroyWindow(single);

  HWND multiple = MakeList(LBS_NOTIFY | LBS_MULTIPLESEL);
  Add(multiple, LB_ADDSTRING, {"a", "b", "c"});
  SetWindowLong(multiple, GWL_STYLE, GetWindowLong(multiple, GWL_STYLE) & ~LBS_MULTIPLESEL);
  EXPECT_EQ(SendMessage(multiple, LB_SETCURSEL, 1, 0), LB_ERR);
  Click(multiple, ItemCenter(multiple, 0));
  Click(multiple, ItemCenter(multiple, 2));
  EXPECT_EQ(SendMessage(multiple, LB_GETSELCOUNT, 0, 0), 2) << "clicks still toggle items";
}

TEST_F(ListBoxMessages, ClicksSelectAndNotify) {
  HWND list = MakeList(LBS_NOTIFY);
  Add(list, LB_ADDSTRING, {"a", "b", "c"});
  recorder_.Clear();
  Click(list, ItemCenter(list, 1));
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
  DoubleClick(list, ItemCenter(list, 2));
  std::vector<UINT> codes = Codes(20);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(LBN_SELCHANGE)), 2);
  EXPECT_EQ(codes.back(), static_cast<UINT>(LBN_DBLCLK));
  EXPECT_EQ(codes.front(), static_cast<UINT>(LBN_SETFOCUS));
}

TEST_F(ListBoxMessages, LosingTheFocusDuringAClickEndsTheClick) {
  HWND list = MakeList(LBS_NOTIFY);
  Add(list, LB_ADDSTRING, {"a", "b", "c"});
  ButtonDown(list, ItemCenter(list, 1));
  ASSERT_EQ(GetCapture(), list);
  recorder_.Clear();
  SetFocus(recorder_.Hwnd());
  RunUntilIdle();
  EXPECT_EQ(GetCapture(), nullptr) << "the list lets the mouse go with the focus";
  std::vector<UINT> codes = Codes(20);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(LBN_SELCHANGE)), 1) << "the click's choice is told";
  // The mouse moving on with the button still down no longer drags the selection.
  MoveMouse(list, ItemCenter(list, 2));
  ButtonUp(list, ItemCenter(list, 2));
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(ListBoxMessages, MultipleSelectionTogglesAndExtendedSelectsRanges) {
  HWND multiple = MakeList(LBS_NOTIFY | LBS_MULTIPLESEL);
  Add(multiple, LB_ADDSTRING, {"a", "b", "c", "d"});
  Click(multiple, ItemCenter(multiple, 0));
  Click(multiple, ItemCenter(multiple, 2));
  Click(multiple, ItemCenter(multiple, 0));
  EXPECT_EQ(SendMessage(multiple, LB_GETSELCOUNT, 0, 0), 1);
  SendMessage(multiple, LB_SETSEL, TRUE, -1);
  EXPECT_EQ(SendMessage(multiple, LB_GETSELCOUNT, 0, 0), 4);
  DestroyWindow(multiple);

  HWND extended = MakeList(LBS_NOTIFY | LBS_EXTENDEDSEL);
  Add(extended, LB_ADDSTRING, {"a", "b", "c", "d", "e"});
  Click(extended, ItemCenter(extended, 1));
  Click(extended, ItemCenter(extended, 3), kShift);
  Click(extended, ItemCenter(extended, 4), kCtrl);
  int items[8] = {};
  int n = static_cast<int>(SendMessage(extended, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(items)));
  EXPECT_EQ(std::vector<int>(items, items + n), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(SendMessage(extended, LB_GETANCHORINDEX, 0, 0), 4);
  Click(extended, ItemCenter(extended, 0));
  EXPECT_EQ(SendMessage(extended, LB_GETSELCOUNT, 0, 0), 1);
  SendMessage(extended, LB_SELITEMRANGEEX, 1, 2);
  EXPECT_EQ(SendMessage(extended, LB_GETSELCOUNT, 0, 0), 3);
}

TEST_F(ListBoxMessages, KeyboardMovesAndSearches) {
  HWND list = MakeList(LBS_NOTIFY | LBS_SORT);
  Add(list, LB_ADDSTRING, {"banana", "blueberry", "apple", "cherry", "brazil"});
  SetFocus(list);
  PressKey(VK_DOWN);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 0);
  PressKey(VK_END);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 4);
  TypeText("b");
  EXPECT_EQ(ItemText(list, static_cast<int>(SendMessage(list, LB_GETCURSEL, 0, 0))), "banana");
  AdvanceClock(2000);
  TypeText("b");
  EXPECT_EQ(ItemText(list, static_cast<int>(SendMessage(list, LB_GETCURSEL, 0, 0))), "blueberry");
  AdvanceClock(2000);
  TypeText("br");
  EXPECT_EQ(ItemText(list, static_cast<int>(SendMessage(list, LB_GETCURSEL, 0, 0))), "brazil");
  PressKey(VK_HOME);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 0);
}

// A box of several selections tells its parent of every arrow key, whether or not the selection
// changed; a box of one selection only of a change.
TEST_F(ListBoxMessages, ArrowKeysNotifyEveryMultipleSelectionBox) {
  const struct {
    DWORD style;
    std::vector<UINT> vks;
    size_t changes;
  } cases[] = {
      {LBS_MULTIPLESEL, {VK_DOWN, VK_UP, VK_UP}, 3},
      {LBS_EXTENDEDSEL, {VK_DOWN, VK_UP, VK_UP}, 3},
      {0, {VK_DOWN, VK_UP, VK_UP}, 2},
  };
  for (const auto& c : cases) {
    HWND list = MakeList(LBS_NOTIFY | c.style);
    Add(list, LB_ADDSTRING, {"a", "b", "c"});
    if (c.style == 0) SendMessage(list, LB_SETCURSEL, 0, 0);
    SetFocus(list);
    recorder_.Clear();
    for (UINT vk : c.vks) PressKey(vk);
    EXPECT_EQ(Codes(20), std::vector<UINT>(c.changes, LBN_SELCHANGE)) << std::hex << c.style;
    DestroyWindow(list);
  }
}

// Tab stops are for a box made with LBS_USETABSTOPS; any other box refuses them.
TEST_F(ListBoxMessages, TabStopsNeedTheirStyle) {
  HWND plain = MakeList(0);
  HWND tabbed = MakeList(LBS_USETABSTOPS);
  int stops[] = {20, 40};
  EXPECT_FALSE(SendMessage(plain, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops)));
  EXPECT_TRUE(SendMessage(tabbed, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops)));
  EXPECT_TRUE(SendMessage(tabbed, LB_SETTABSTOPS, 0, 0));
}

// DefWindowProc answers WM_VKEYTOITEM and WM_CHARTOITEM with -1, so a box that wants the keys
// under a parent leaving them to it moves as any box does.
TEST_F(ListBoxMessages, KeysAParentLeavesToDefWindowProcMoveAsUsual) {
  EXPECT_EQ(DefWindowProc(recorder_.Hwnd(), WM_VKEYTOITEM, MAKEWPARAM(VK_DOWN, 0), 0), -1);
  EXPECT_EQ(DefWindowProc(recorder_.Hwnd(), WM_CHARTOITEM, MAKEWPARAM('a', 0), 0), -1);
  HWND list = MakeList(LBS_NOTIFY | LBS_WANTKEYBOARDINPUT);
  Add(list, LB_ADDSTRING, {"a", "b", "c"});
  SendMessage(list, LB_SETCURSEL, 1, 0);
  SetFocus(list);
  PressKey(VK_DOWN);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
}

TEST_F(ListBoxMessages, ShowsWholeItemsUnlessToldOtherwise) {
  HWND list = MakeList(LBS_NOTIFY, 100);
  int h = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
  RECT r;
  GetClientRect(list, &r);
  EXPECT_EQ(r.bottom % h, 0);
  EXPECT_GT(r.bottom, 100 - h - 8);
  HWND free = CreateWindowEx(0, "ListBox", nullptr, WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 200, 10, 100, 101,
                             recorder_.Hwnd(), nullptr, nullptr, nullptr);
  GetClientRect(free, &r);
  EXPECT_EQ(r.bottom, 101);
}

TEST_F(ListBoxMessages, GeometryOfItemsAndColumns) {
  HWND list = MakeList(LBS_NOTIFY, 100);
  for (int i = 0; i < 20; ++i) SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
  int h = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(h, 0);
  RECT r;
  SendMessage(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.top, 2 * h);
  EXPECT_EQ(SendMessage(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 3 * h + 1)), MAKELONG(3, 0));
  SendMessage(list, LB_SETTOPINDEX, 5, 0);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 5);
  SendMessage(list, LB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.top, h);
  SendMessage(list, LB_SETCURSEL, 15, 0);
  EXPECT_LE(SendMessage(list, LB_GETTOPINDEX, 0, 0), 15);
  SendMessage(list, LB_SETHORIZONTALEXTENT, 500, 0);
  EXPECT_EQ(SendMessage(list, LB_GETHORIZONTALEXTENT, 0, 0), 500);
  // Outside the box the point is "outside" and names the nearest item shown: the top item above
  // the box, the last item shown below it.
  const int top = static_cast<int>(SendMessage(list, LB_GETTOPINDEX, 0, 0));
  RECT client;
  GetClientRect(list, &client);
  const int lastShown = top + static_cast<int>(client.bottom) / h - 1;
  ASSERT_GT(top, 0) << "items lie above the box";
  ASSERT_LT(lastShown, 19) << "items lie below the box";
  EXPECT_EQ(SendMessage(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 200)), MAKELONG(lastShown, 1));
  EXPECT_EQ(SendMessage(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, client.bottom + 1)), MAKELONG(lastShown, 1));
  EXPECT_EQ(SendMessage(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, -4)), MAKELONG(top, 1));

  // The horizontal bar of a box that asked for one follows the extent both ways.
  HWND wide = MakeList(LBS_NOTIFY | WS_HSCROLL, 100);
  SendMessage(wide, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
  SendMessage(wide, LB_SETHORIZONTALEXTENT, 400, 0);
  EXPECT_TRUE(GetWindowLongPtr(wide, GWL_STYLE) & WS_HSCROLL);
  SendMessage(wide, WM_HSCROLL, SB_PAGERIGHT, 0);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(wide, SB_HORZ, &si);
  EXPECT_EQ(si.nMax, 399);
  EXPECT_GT(si.nPos, 0);
  SendMessage(wide, LB_SETHORIZONTALEXTENT, 0, 0);
  EXPECT_FALSE(GetWindowLongPtr(wide, GWL_STYLE) & WS_HSCROLL);
  GetScrollInfo(wide, SB_HORZ, &si);
  EXPECT_EQ(si.nPos, 0);

  HWND columns = MakeList(LBS_MULTICOLUMN, 3 * h + 4);
  SendMessage(columns, LB_SETCOLUMNWIDTH, 40, 0);
  for (int i = 0; i < 7; ++i) SendMessage(columns, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("c"));
  int rows = 0;
  for (int i = 0; i < 7; ++i) {
    SendMessage(columns, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    if (r.left == 0) ++rows;
  }
  SendMessage(columns, LB_GETITEMRECT, static_cast<WPARAM>(rows), reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 40) << "the item after a full column starts the next one";
  EXPECT_EQ(r.top, 0);
}

using OwnerDrawLists = ListFixture;

TEST_F(OwnerDrawLists, VariableItemsAreMeasuredAndDrawnByTheParent) {
  OwnerParent parent;
  HWND list = CreateWindowEx(0, "ListBox", nullptr, WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_NOTIFY, 0, 0,
                             150, 200, parent.Hwnd(), reinterpret_cast<HMENU>(40), nullptr, nullptr);
  for (ULONG_PTR data : {3, 1, 2}) SendMessage(list, LB_ADDSTRING, 0, static_cast<LPARAM>(data));
  EXPECT_EQ(parent.measured, (std::vector<UINT>{0, 1, 2}));
  EXPECT_EQ(SendMessage(list, LB_GETITEMHEIGHT, 0, 0), 19);
  EXPECT_EQ(SendMessage(list, LB_GETITEMHEIGHT, 1, 0), 17);
  RECT r;
  SendMessage(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.top, 36);
  EXPECT_EQ(r.bottom, 54);
  EXPECT_EQ(SendMessage(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(&r)), static_cast<LRESULT>(sizeof(ULONG_PTR)));
  SendMessage(list, LB_SETCURSEL, 1, 0);
  RunUntilIdle();  // the new parent paints first, and the list after it
  InvalidateRect(list, nullptr, TRUE);
  parent.drawn.clear();
  UpdateWindow(list);
  RunUntilIdle();
  ASSERT_EQ(parent.drawn.size(), 3u);
  EXPECT_EQ(parent.drawn[1].CtlType, static_cast<UINT>(ODT_LISTBOX));
  EXPECT_EQ(parent.drawn[1].CtlID, 40u);
  EXPECT_EQ(parent.drawn[1].itemData, 1u);
  EXPECT_TRUE(parent.drawn[1].itemState & ODS_SELECTED);
  EXPECT_FALSE(parent.drawn[0].itemState & ODS_SELECTED);
  EXPECT_EQ(parent.drawn[2].rcItem.top, 36);
  SendMessage(list, LB_DELETESTRING, 0, 0);
  EXPECT_EQ(parent.deleted, (std::vector<ULONG_PTR>{3}));
  DestroyWindow(list);
  EXPECT_EQ(parent.deleted, (std::vector<ULONG_PTR>{3, 1, 2}));
}

TEST_F(OwnerDrawLists, SortedItemsWithoutStringsAreOrderedByTheParent) {
  OwnerParent parent;
  HWND list = CreateWindowEx(0, "ListBox", nullptr, WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_SORT, 0, 0, 150,
                             200, parent.Hwnd(), reinterpret_cast<HMENU>(41), nullptr, nullptr);
  EXPECT_EQ(parent.measured, (std::vector<UINT>{0})) << "a fixed height is asked once";
  for (ULONG_PTR data : {30, 10, 20}) SendMessage(list, LB_ADDSTRING, 0, static_cast<LPARAM>(data));
  EXPECT_GT(parent.compares, 0);
  std::vector<LRESULT> order;
  for (int i = 0; i < 3; ++i) order.push_back(SendMessage(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
  EXPECT_EQ(order, (std::vector<LRESULT>{10, 20, 30}));
  EXPECT_EQ(SendMessage(list, LB_GETITEMHEIGHT, 0, 0), 16);
}

TEST_F(OwnerDrawLists, NoDataBoxCountsItemsItDoesNotStore) {
  OwnerParent parent;
  HWND list = CreateWindowEx(0, "ListBox", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED,
                             0, 0, 150, 160, parent.Hwnd(), reinterpret_cast<HMENU>(44), nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessage(list, LB_SETCOUNT, 100000, 0), 0);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 100000);
  // Adding and inserting count an item and ignore the data given with it.
  EXPECT_EQ(SendMessage(list, LB_ADDSTRING, 0, 77), 100000);
  EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 3, 78), 3);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 100002);
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 100000, 0), 0);
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 3, 0), 0);
  // There is nothing to find.
  EXPECT_EQ(SendMessage(list, LB_FINDSTRING, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 5, 0), 5);
  EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 0, 0), 100001);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 4);
  // The parent draws each line by its number.
  RunUntilIdle();
  parent.drawn.clear();
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
  ASSERT_EQ(parent.drawn.size(), 10u);
  for (UINT i = 0; i < 10; ++i) {
    EXPECT_EQ(parent.drawn[i].itemID, i);
    EXPECT_EQ(parent.drawn[i].itemData, 0u);
    EXPECT_EQ((parent.drawn[i].itemState & ODS_SELECTED) != 0, i == 4);
  }
  EXPECT_EQ(SendMessage(list, LB_SETCOUNT, 3, 0), 0);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR) << "the selected line is gone";
  DestroyWindow(list);
  EXPECT_TRUE(parent.deleted.empty()) << "a no-data box has no items to report deleted";

  // Only a no-data box has a count to set.
  HWND strings = CreateWindowEx(0, "ListBox", nullptr, WS_CHILD | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 0,
                                0, 150, 160, parent.Hwnd(), nullptr, nullptr, nullptr);
  EXPECT_EQ(SendMessage(strings, LB_SETCOUNT, 10, 0), LB_ERR);
  EXPECT_EQ(SendMessage(strings, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("kept")), 0);
  char text[16] = {};
  SendMessage(strings, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "kept");
}

TEST_F(OwnerDrawLists, OwnerDrawnComboDrawsItsSelectionField) {
  OwnerParent parent;
  HWND combo = CreateWindowEx(0, "ComboBox", nullptr,
                              WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0, 0, 150,
                              120, parent.Hwnd(), reinterpret_cast<HMENU>(42), nullptr, nullptr);
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
  SendMessage(combo, CB_SETITEMDATA, 0, 5);
  SendMessage(combo, CB_SETCURSEL, 0, 0);
  parent.drawn.clear();
  InvalidateRect(combo, nullptr, TRUE);
  UpdateWindow(combo);
  ASSERT_FALSE(parent.drawn.empty());
  EXPECT_EQ(parent.drawn.back().CtlType, static_cast<UINT>(ODT_COMBOBOX));
  EXPECT_EQ(parent.drawn.back().itemID, 0u);
  EXPECT_EQ(parent.drawn.back().itemData, 5u);
  EXPECT_TRUE(parent.drawn.back().itemState & ODS_COMBOBOXEDIT);
  char text[16] = {};
  SendMessage(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "one");
}

TEST_F(OwnerDrawLists, DroppedListOfAnOwnerDrawnComboIsDrawnAsTheCombo) {
  OwnerParent parent;
  HWND combo = CreateWindowEx(0, "ComboBox", nullptr,
                              WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0, 0, 150,
                              120, parent.Hwnd(), reinterpret_cast<HMENU>(43), nullptr, nullptr);
  for (const char* s : {"one", "two"}) SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  parent.drawn.clear();
  InvalidateRect(info.hwndList, nullptr, TRUE);
  UpdateWindow(info.hwndList);
  std::vector<DRAWITEMSTRUCT> listDraws = parent.drawn;
  SendMessage(combo, CB_SHOWDROPDOWN, FALSE, 0);
  ASSERT_EQ(listDraws.size(), 2u) << "each item of the dropped list is drawn by the combo's owner";
  for (UINT i = 0; i < 2; ++i) {
    EXPECT_EQ(listDraws[i].CtlType, static_cast<UINT>(ODT_COMBOBOX));
    EXPECT_EQ(listDraws[i].CtlID, 43u);
    EXPECT_EQ(listDraws[i].hwndItem, combo) << "the owner and a reflecting wrapper find the combo box";
    EXPECT_EQ(listDraws[i].itemID, i);
    EXPECT_FALSE(listDraws[i].itemState & ODS_COMBOBOXEDIT);
  }
}

using ComboBoxes = ListFixture;

TEST_F(ComboBoxes, DropDownListSelectsByPrefixWithoutCase) {
  HWND combo = MakeCombo(CBS_DROPDOWNLIST | CBS_SORT);
  Add(combo, CB_ADDSTRING, {"Gamma", "alpha", "Beta"});
  EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("be")), 1);
  EXPECT_EQ(Text(combo), "Beta");
  EXPECT_EQ(SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("zz")), CB_ERR);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 1) << "a failed search keeps the selection";
  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 0, 0), 0);
  EXPECT_EQ(Text(combo), "alpha");
  EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
  EXPECT_EQ(Text(combo), "");
  EXPECT_TRUE(Codes(30).empty());
  RECT r;
  GetWindowRect(combo, &r);
  EXPECT_LT(r.bottom - r.top, 120) << "a drop-down keeps the height of its selection field";
  SendMessage(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.bottom - r.top, 120);
}

// A combo box without an edit has no text of its own to set: WM_SETTEXT answers CB_ERR and leaves
// the selection alone, even for the text of an item.
TEST_F(ComboBoxes, DropDownListTakesNoTextToSet) {
  HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  Add(combo, CB_ADDSTRING, {"alpha", "beta"});
  SendMessage(combo, CB_SETCURSEL, 0, 0);
  for (const char* text : {"beta", "gamma"}) {
    EXPECT_EQ(SendMessage(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)), CB_ERR) << text;
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 0) << text;
    EXPECT_EQ(Text(combo), "alpha");
  }
  HWND editable = MakeCombo(CBS_DROPDOWN, 31);
  EXPECT_EQ(SendMessage(editable, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("gamma")), TRUE);
  EXPECT_EQ(Text(editable), "gamma");
}

TEST_F(ComboBoxes, ArrowKeysChangeTheSelectionAndNotify) {
  HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  Add(combo, CB_ADDSTRING, {"one", "two", "three"});
  SetFocus(combo);
  recorder_.Clear();
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Codes(30), (std::vector<UINT>{CBN_SELCHANGE, CBN_SELCHANGE}));
  TypeText("t");
  EXPECT_EQ(Text(combo), "three");
}

HWND DroppedList(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo, &info);
  return info.hwndList;
}

bool Dropped(HWND combo) { return SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }

TEST_F(ComboBoxes, DroppingReturnsAtOnceAndTheListClosesOnItsOwnClicksKeysAndFocusLoss) {
  HangWatchdog watchdog("dropping a combo box's list");
  HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  Add(combo, CB_ADDSTRING, {"one", "two", "three"});
  SendMessage(combo, CB_SETCURSEL, 0, 0);
  recorder_.Clear();
  RECT client;
  GetClientRect(combo, &client);
  Click(combo, POINT{client.right - 5, client.bottom / 2});
  ASSERT_TRUE(Dropped(combo)) << "a click on the button drops the list and returns";
  HWND list = DroppedList(combo);
  EXPECT_TRUE(IsWindowVisible(list));
  Click(list, ItemCenter(list, 2));
  EXPECT_FALSE(Dropped(combo));
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Codes(30), (std::vector<UINT>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));

  PressKey(VK_DOWN, kAlt);
  ASSERT_TRUE(Dropped(combo)) << "Alt+Down drops it";
  PressKey(VK_DOWN, kAlt);
  EXPECT_FALSE(Dropped(combo)) << "and closes it";

  SendMessage(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - 5, client.bottom / 2));
  EXPECT_TRUE(Dropped(combo)) << "a button-down sent to it returns with the list dropped";
  SendMessage(combo, WM_LBUTTONUP, 0, MAKELPARAM(client.right - 5, client.bottom / 2));
  EXPECT_TRUE(Dropped(combo));
  ClickAt(POINT{600, 500});
  EXPECT_FALSE(Dropped(combo)) << "a click outside closes it";

  EXPECT_TRUE(SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0));
  EXPECT_TRUE(Dropped(combo));
  HWND other = MakeCombo(CBS_DROPDOWN, 31);
  SetFocus(other);
  RunUntilIdle();
  EXPECT_FALSE(Dropped(combo)) << "losing the focus closes it";
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(ComboBoxes, EscapeClosesTheListAndKeepsTheSelection) {
  HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  Add(combo, CB_ADDSTRING, {"one", "two", "three"});
  SendMessage(combo, CB_SETCURSEL, 1, 0);
  SetFocus(combo);
  recorder_.Clear();
  PressKey(VK_F4);
  ASSERT_TRUE(Dropped(combo));
  PressKey(VK_DOWN);
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 1);
  std::vector<UINT> codes = Codes(30);
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes.front(), static_cast<UINT>(CBN_DROPDOWN));
  EXPECT_EQ(codes[codes.size() - 2], static_cast<UINT>(CBN_SELENDCANCEL));
  EXPECT_EQ(codes.back(), static_cast<UINT>(CBN_CLOSEUP));
}

namespace {
WNDPROC g_editProc = nullptr;
int g_subclassChars = 0;
LRESULT CALLBACK CountingEdit(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR) ++g_subclassChars;
  return CallWindowProc(g_editProc, hwnd, msg, wParam, lParam);
}
}  // namespace

TEST_F(ComboBoxes, DropDownEditCanBeSubclassedAndReportsEditing) {
  HWND combo = MakeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
  Add(combo, CB_ADDSTRING, {"red", "green"});
  HWND edit = GetDlgItem(combo, 1001);
  ASSERT_NE(edit, nullptr);
  char cls[16];
  GetClassName(edit, cls, sizeof(cls));
  EXPECT_STREQ(cls, "Edit");
  g_subclassChars = 0;
  g_editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtr(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingEdit)));
  SendMessage(combo, CB_LIMITTEXT, 128, 0);
  EXPECT_EQ(SendMessage(edit, EM_GETLIMITTEXT, 0, 0), 128);
  SetWindowText(combo, "old");
  SetFocus(combo);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(SendMessage(combo, CB_GETEDITSEL, 0, 0), MAKELONG(0, 3)) << "the edit's text is selected";
  recorder_.Clear();
  TypeText("gr");
  EXPECT_EQ(g_subclassChars, 2);
  EXPECT_EQ(Text(combo), "gr");
  EXPECT_EQ(Codes(30), (std::vector<UINT>{CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
  recorder_.Clear();
  PressKey(VK_DOWN);
  EXPECT_EQ(Text(combo), "red") << "arrows in the edit step through the list";
  EXPECT_EQ(Codes(30), (std::vector<UINT>{CBN_SELCHANGE}));
  SetWindowText(combo, "blue");
  EXPECT_EQ(Text(edit), "blue");
  SetWindowLongPtr(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editProc));
}

// Without CBS_AUTOHSCROLL the edit takes only the text that fits it; CB_LIMITTEXT answers TRUE
// whatever the kind of combo box.
TEST_F(ComboBoxes, TheEditScrollsOnlyWithAutoHScroll) {
  const std::string typed(60, 'w');
  for (DWORD scroll : {DWORD{0}, DWORD{CBS_AUTOHSCROLL}}) {
    HWND combo = MakeCombo(CBS_DROPDOWN | scroll, 40 + static_cast<int>(scroll != 0));
    SetFocus(combo);
    TypeText(typed);
    const std::string text = Text(combo);
    if (scroll) {
      EXPECT_EQ(text, typed);
    } else {
      EXPECT_FALSE(text.empty());
      EXPECT_LT(text.size(), typed.size()) << "the text stops at the edit's width";
    }
    DestroyWindow(combo);
  }
  HWND list = MakeCombo(CBS_DROPDOWNLIST, 42);
  EXPECT_EQ(SendMessage(list, CB_LIMITTEXT, 5, 0), TRUE);
}

TEST_F(ComboBoxes, SimpleComboShowsItsListBelowTheEdit) {
  HWND combo = MakeCombo(CBS_SIMPLE);
  Add(combo, CB_ADDSTRING, {"x", "y"});
  HWND list = GetDlgItem(combo, 1000);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowVisible(list));
  RECT r;
  GetWindowRect(combo, &r);
  EXPECT_EQ(r.bottom - r.top, 120);
  recorder_.Clear();
  Click(list, ItemCenter(list, 1));
  EXPECT_EQ(Text(combo), "y");
  // Each selection of a simple combo box is ended at once: CBN_SELENDOK comes just before it.
  std::vector<UINT> codes = Codes(30);
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(std::vector<UINT>(codes.end() - 2, codes.end()), (std::vector<UINT>{CBN_SELENDOK, CBN_SELCHANGE}));
  recorder_.Clear();
  SetFocus(combo);
  PressKey(VK_UP);
  EXPECT_EQ(Text(combo), "x");
  codes = Codes(30);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), CBN_SELENDOK), 1);
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(std::vector<UINT>(codes.end() - 2, codes.end()), (std::vector<UINT>{CBN_SELENDOK, CBN_SELCHANGE}));
}

TEST_F(ComboBoxes, MalformedDialogInitDataStopsAtTheFault) {
  RecordingDialog::Reset();
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_LISTS), recorder_.Hwnd(), RecordingDialog::Proc, 0);
  ASSERT_NE(dialog, nullptr);
  SendDlgItemMessage(dialog, IDC_LIST, LB_RESETCONTENT, 0, 0);
  auto entry = [](std::vector<BYTE>& out, WORD id, WORD msg, const std::string& text, DWORD length) {
    for (WORD w : {id, msg}) {
      out.push_back(static_cast<BYTE>(w & 0xFF));
      out.push_back(static_cast<BYTE>(w >> 8));
    }
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<BYTE>(length >> (8 * i)));
    out.insert(out.end(), text.begin(), text.end());
  };
  std::vector<BYTE> good;
  entry(good, IDC_LIST, 0x0401, std::string("One\0", 4), 4);
  entry(good, IDC_LIST, 0x0401, std::string("Two\0", 4), 4);
  good.push_back(0);
  good.push_back(0);
  EXPECT_TRUE(ExecuteDialogInit(dialog, good.data(), good.size()));
  EXPECT_EQ(SendDlgItemMessage(dialog, IDC_LIST, LB_GETCOUNT, 0, 0), 2);
  std::vector<BYTE> cut;
  entry(cut, IDC_LIST, 0x0401, std::string("Three\0", 6), 6);
  entry(cut, IDC_LIST, 0x0401, "Fo", 1000);  // claims more bytes than there are
  EXPECT_FALSE(ExecuteDialogInit(dialog, cut.data(), cut.size()));
  EXPECT_EQ(SendDlgItemMessage(dialog, IDC_LIST, LB_GETCOUNT, 0, 0), 3);
  EXPECT_FALSE(ExecuteDialogInit(dialog, cut.data(), 5)) << "a header cut short";
}

TEST_F(ComboBoxes, DialogInitDataFillsTheCombo) {
  RecordingDialog::Reset();
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_LISTS), recorder_.Hwnd(), RecordingDialog::Proc, 0);
  ASSERT_NE(dialog, nullptr);
  HWND combo = GetDlgItem(dialog, IDC_COMBO);
  ASSERT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 2);
  char text[32] = {};
  SendMessage(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Banana");
  EXPECT_EQ(SendDlgItemMessage(dialog, IDC_LIST, LB_GETCOUNT, 0, 0), 1);
  RECT designed{0, 0, 100, 80}, dropped;
  MapDialogRect(dialog, &designed);
  SendMessage(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_EQ(dropped.bottom - dropped.top, designed.bottom) << "the dropped height is the template's";
}

}  // namespace

TEST_F(ListBoxMessages, ScrollBarShowsOnceItemsAddedAfterCreationOverflow) {
  HWND list = MakeList(0);
  RunUntilIdle();
  for (int i = 0; i < 30; ++i) Add(list, LB_ADDSTRING, {"item"});
  RunUntilIdle();
  EXPECT_TRUE(GetWindowLong(list, GWL_STYLE) & WS_VSCROLL);
  SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 29);
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  Add(list, LB_ADDSTRING, {"one"});
  EXPECT_FALSE(GetWindowLong(list, GWL_STYLE) & WS_VSCROLL) << "a list that fits hides its bar again";
}

TEST_F(ListBoxMessages, TopIndexStopsWhereTheLastItemFillsTheBox) {
  HWND list = MakeList(LBS_NOINTEGRALHEIGHT);
  for (int i = 0; i < 30; ++i) Add(list, LB_ADDSTRING, {"item"});
  const int page = static_cast<int>(100 / SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
  SendMessage(list, LB_SETTOPINDEX, 29, 0);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 30 - page);
  SendMessage(list, LB_SETTOPINDEX, 3, 0);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 3);
}

TEST_F(ComboBoxes, DroppedListShowsTheSelectionWithoutBlankSpaceAndScrolls) {
  for (DWORD kind : {DWORD{CBS_DROPDOWNLIST}, DWORD{CBS_DROPDOWN}}) {
    SCOPED_TRACE(kind);
    HWND combo = MakeCombo(kind);
    for (int i = 0; i < 20; ++i) Add(combo, CB_ADDSTRING, {("item " + std::to_string(100 + i)).c_str()});
    SendMessage(combo, CB_SETCURSEL, 18, 0);
    RECT field;
    GetWindowRect(combo, &field);
    int top = -1, page = 0;
    bool bar = false;
    RECT dropped{};
    SetFocus(combo);
    PressKey(VK_F4);
    {
      HWND list = DroppedList(combo);
      top = static_cast<int>(SendMessage(list, LB_GETTOPINDEX, 0, 0));
      RECT client;
      GetClientRect(list, &client);
      page = client.bottom / static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
      bar = (GetWindowLong(list, GWL_STYLE) & WS_VSCROLL) != 0;
      GetWindowRect(list, &dropped);
      PressKey(VK_ESCAPE);
    }
    const int room = 120 - (field.bottom - field.top), item = static_cast<int>(SendMessage(combo, CB_GETITEMHEIGHT, 0, 0));
    EXPECT_LE(dropped.bottom - dropped.top, room) << "the height given at creation, in whole items";
    EXPECT_GT(dropped.bottom - dropped.top, room - item);
    ASSERT_GT(page, 1);
    EXPECT_EQ(top, 20 - page) << "the last page, with item 18 on it";
    EXPECT_TRUE(bar);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    EXPECT_EQ(info.hwndCombo, combo);
    char listClass[32] = {};
    GetClassName(info.hwndList, listClass, sizeof listClass);
    EXPECT_STREQ(listClass, "ComboLBox");
    EXPECT_EQ(info.hwndItem != combo, kind == CBS_DROPDOWN) << "a drop-down's item is its edit";
    EXPECT_LT(info.rcItem.right, info.rcButton.left + 1);
    DestroyWindow(combo);
  }
}

// The height a dropping combo box is created with is its height with the list dropped. The list
// shows whole items of the list's item height (CB_SETITEMHEIGHT) unless CBS_NOINTEGRALHEIGHT: none
// when that height leaves no room for one.
TEST_F(ComboBoxes, DroppedListTakesTheCreationHeightInWholeItems) {
  struct Dropped {
    int window, client;
  };
  auto drop = [&](HWND combo) {
    SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
    RECT w, c;
    GetWindowRect(DroppedList(combo), &w);
    GetClientRect(DroppedList(combo), &c);
    SendMessage(combo, CB_SHOWDROPDOWN, FALSE, 0);
    return Dropped{static_cast<int>(w.bottom - w.top), static_cast<int>(c.bottom)};
  };
  auto fieldHeight = [](HWND combo) {
    RECT r;
    GetWindowRect(combo, &r);
    return static_cast<int>(r.bottom - r.top);
  };
  for (int height : {300, 173}) {
    SCOPED_TRACE(height);
    HWND exact = CreateWindowEx(0, "ComboBox", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST |
                                CBS_NOINTEGRALHEIGHT, 10, 10, 150, height, recorder_.Hwnd(), nullptr, nullptr, nullptr);
    HWND whole = CreateWindowEx(0, "ComboBox", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, 10, 40, 150,
                                height, recorder_.Hwnd(), nullptr, nullptr, nullptr);
    for (int i = 0; i < 40; ++i) {
      Add(exact, CB_ADDSTRING, {"item"});
      Add(whole, CB_ADDSTRING, {"item"});
    }
    EXPECT_EQ(drop(exact).window, height - fieldHeight(exact));
    for (int item : {0, 23}) {
      if (item) {
        EXPECT_EQ(SendMessage(whole, CB_SETITEMHEIGHT, 0, item), CB_OKAY);
      }
      const int itemHeight = static_cast<int>(SendMessage(whole, CB_GETITEMHEIGHT, 0, 0));
      const Dropped d = drop(whole);
      EXPECT_EQ(d.client % itemHeight, 0) << itemHeight;
      EXPECT_LE(d.window, height - fieldHeight(whole));
      EXPECT_GT(d.window, height - fieldHeight(whole) - itemHeight);
    }
    DestroyWindow(exact);
    DestroyWindow(whole);
  }
  HWND low = CreateWindowEx(0, "ComboBox", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 10, 150, 10,
                            recorder_.Hwnd(), nullptr, nullptr, nullptr);
  Add(low, CB_ADDSTRING, {"one", "two"});
  EXPECT_EQ(drop(low).client, 0) << "created too short for one item, it drops an empty list";

  // A list with fewer items than the room shows just its items, with or without integral height.
  for (DWORD integral : {DWORD{0}, DWORD{CBS_NOINTEGRALHEIGHT}}) {
    SCOPED_TRACE(integral);
    HWND few = CreateWindowEx(0, "ComboBox", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | integral, 10, 70,
                              150, 300, recorder_.Hwnd(), nullptr, nullptr, nullptr);
    Add(few, CB_ADDSTRING, {"one", "two", "three"});
    const int itemHeight = static_cast<int>(SendMessage(few, CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(drop(few).client, 3 * itemHeight);
    Add(few, CB_ADDSTRING, {"four"});
    EXPECT_EQ(drop(few).client, 4 * itemHeight) << "the list grows with its items";
    DestroyWindow(few);
  }
}

// A parent that answers each WM_CTLCOLOR* message with a brush of a colour of its own and records
// which window each was asked for.
class BrushParent {
 public:
  BrushParent() {
    WNDCLASS wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "BramboltBrushParent";
    RegisterClass(&wc);
    for (UINT m = WM_CTLCOLORMSGBOX; m <= WM_CTLCOLORSTATIC; ++m) brushes_.push_back(CreateSolidBrush(ColourOf(m)));
    hwnd_ = CreateWindowEx(0, wc.lpszClassName, "Brushes", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 400, nullptr,
                           nullptr, nullptr, nullptr);
    SetWindowLongPtr(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RunUntilIdle();
  }
  ~BrushParent() {
    DestroyWindow(hwnd_);
    for (HBRUSH b : brushes_) DeleteObject(b);
  }
  BrushParent(const BrushParent&) = delete;
  BrushParent& operator=(const BrushParent&) = delete;

  HWND Hwnd() const { return hwnd_; }
  HBRUSH BrushOf(UINT msg) const { return brushes_[msg - WM_CTLCOLORMSGBOX]; }
  static COLORREF ColourOf(UINT msg) { return RGB(30 * (msg - WM_CTLCOLORMSGBOX + 1), 90, 200); }
  bool Asked(UINT msg, HWND about) const {
    return std::find(asked.begin(), asked.end(), std::make_pair(msg, about)) != asked.end();
  }
  std::vector<std::pair<UINT, HWND>> asked;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<BrushParent*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    if (self == nullptr || msg < WM_CTLCOLORMSGBOX || msg > WM_CTLCOLORSTATIC)
      return DefWindowProc(hwnd, msg, wParam, lParam);
    self->asked.emplace_back(msg, reinterpret_cast<HWND>(lParam));
    return reinterpret_cast<LRESULT>(self->BrushOf(msg));
  }
  HWND hwnd_ = nullptr;
  std::vector<HBRUSH> brushes_;
};

// Every WM_CTLCOLOR* message of a combo box's parts reaches the combo's parent with the part's
// handle, and each part is painted with the brush the parent answers: the edit with
// WM_CTLCOLOREDIT's, the selection field of a drop-down list too, the list with
// WM_CTLCOLORLISTBOX's.
TEST_F(ComboBoxes, TheParentColoursEveryPartWithItsOwnBrush) {
  BrushParent parent;
  for (DWORD kind : {DWORD{CBS_DROPDOWN}, DWORD{CBS_DROPDOWNLIST}, DWORD{CBS_SIMPLE}}) {
    SCOPED_TRACE(kind);
    HWND combo = CreateWindowEx(0, "ComboBox", nullptr, WS_CHILD | WS_VISIBLE | kind, 10, 10, 150, 120, parent.Hwnd(),
                                reinterpret_cast<HMENU>(50), nullptr, nullptr);
    ASSERT_NE(combo, nullptr);
    Add(combo, CB_ADDSTRING, {"a", "b"});
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    HDC dc = GetDC(combo);
    for (UINT msg = WM_CTLCOLORMSGBOX; msg <= WM_CTLCOLORSTATIC; ++msg) {
      SCOPED_TRACE(msg);
      parent.asked.clear();
      EXPECT_EQ(SendMessage(combo, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(info.hwndList)),
                reinterpret_cast<LRESULT>(parent.BrushOf(msg)));
      EXPECT_TRUE(parent.Asked(msg, info.hwndList));
    }
    ReleaseDC(combo, dc);

    parent.asked.clear();
    RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const COLORREF edit = BrushParent::ColourOf(WM_CTLCOLOREDIT), list = BrushParent::ColourOf(WM_CTLCOLORLISTBOX);
    if (kind == CBS_DROPDOWNLIST) {
      EXPECT_TRUE(parent.Asked(WM_CTLCOLOREDIT, combo));
      EXPECT_EQ(WindowPixel(combo, info.rcItem.right - 3, info.rcItem.top + 2), edit) << "the selection field";
    } else {
      RECT r;
      GetClientRect(info.hwndItem, &r);
      EXPECT_TRUE(parent.Asked(WM_CTLCOLOREDIT, info.hwndItem));
      EXPECT_EQ(WindowPixel(info.hwndItem, r.right - 3, r.bottom - 2), edit) << "the edit";
    }
    if (kind != CBS_SIMPLE) {
      parent.asked.clear();
      SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
      UpdateWindow(info.hwndList);
    }
    RECT r;
    GetClientRect(info.hwndList, &r);
    EXPECT_TRUE(parent.Asked(WM_CTLCOLORLISTBOX, info.hwndList));
    EXPECT_EQ(WindowPixel(info.hwndList, r.right - 3, r.bottom - 2), list) << "the list";
    SendMessage(combo, CB_SHOWDROPDOWN, FALSE, 0);
    DestroyWindow(combo);
  }
}

TEST_F(ComboBoxes, DroppedWidthIsAtLeastTheComboWidth) {
  HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  EXPECT_EQ(SendMessage(combo, CB_GETDROPPEDWIDTH, 0, 0), 150);
  EXPECT_EQ(SendMessage(combo, CB_SETDROPPEDWIDTH, 50, 0), 150);
  EXPECT_EQ(SendMessage(combo, CB_SETDROPPEDWIDTH, 220, 0), 220);
  EXPECT_EQ(SendMessage(combo, CB_GETDROPPEDWIDTH, 0, 0), 220);
  HWND simple = MakeCombo(CBS_SIMPLE, 31);
  EXPECT_EQ(SendMessage(simple, CB_SETDROPPEDWIDTH, 220, 0), CB_ERR);
}

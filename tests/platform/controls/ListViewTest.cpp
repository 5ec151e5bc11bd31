// The list-view control: items, sub-items and columns through its messages, state changes and
// their notifications, callback texts, virtual lists, finding and sorting, selection by mouse and keyboard,
// scrolling a long report, its header, the icon views and what a report view looks like.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "NotifyHost.h"
#include "testing/UiTest.h"

using namespace brambolt::test;
using namespace ctltest;

namespace {

class ListView : public ::testing::Test {
 protected:
  HWND Make(DWORD style, int width = 300, int height = 200) {
    list_ = CreateWindowEx(0, WC_LISTVIEW, nullptr, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, host_.Hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(1226)), nullptr, nullptr);
    EXPECT_NE(list_, nullptr);
    SendMessage(list_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    RunUntilIdle();
    return list_;
  }
  HWND MakeReport(DWORD style = 0, int width = 300, int height = 200) {
    Make(LVS_REPORT | style, width, height);
    Column(0, "Name", 100);
    Column(1, "Size", 60);
    Column(2, "Type", 80);
    return list_;
  }
  int Column(int at, const char* text, int width, int fmt = LVCFMT_LEFT) {
    LVCOLUMN c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    c.pszText = const_cast<char*>(text);
    c.cx = width;
    c.fmt = fmt;
    c.iSubItem = at;
    return static_cast<int>(SendMessage(list_, LVM_INSERTCOLUMN, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&c)));
  }
  int Insert(int at, const char* text, LPARAM data = 0) {
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<char*>(text);
    item.lParam = data;
    return static_cast<int>(SendMessage(list_, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
  }
  void Fill(int count) {
    for (int i = 0; i < count; ++i) Insert(i, ("Item " + std::to_string(i)).c_str(), i);
    RunUntilIdle();
    host_.Clear();
  }
  void SetText(int item, int sub, const char* text) {
    LVITEM lv{};
    lv.iSubItem = sub;
    lv.pszText = const_cast<char*>(text);
    SendMessage(list_, LVM_SETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
  }
  std::string Text(int item, int sub = 0) {
    char buffer[64] = {};
    LVITEM lv{};
    lv.iSubItem = sub;
    lv.pszText = buffer;
    lv.cchTextMax = sizeof(buffer);
    SendMessage(list_, LVM_GETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
    return buffer;
  }
  UINT State(int item, UINT mask = LVIS_SELECTED | LVIS_FOCUSED) {
    return static_cast<UINT>(SendMessage(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
  }
  BOOL SetState(int item, UINT state, UINT mask) {
    LVITEM lv{};
    lv.state = state;
    lv.stateMask = mask;
    return static_cast<BOOL>(SendMessage(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
  }
  int Count() { return static_cast<int>(SendMessage(list_, LVM_GETITEMCOUNT, 0, 0)); }
  int Next(int start, UINT flags) {
    return static_cast<int>(SendMessage(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
  }
  std::vector<int> Selected() {
    std::vector<int> out;
    for (int i = Next(-1, LVNI_SELECTED); i >= 0; i = Next(i, LVNI_SELECTED)) out.push_back(i);
    return out;
  }
  int Focused() { return Next(-1, LVNI_FOCUSED); }
  RECT ItemRect(int item, int code = LVIR_BOUNDS) {
    RECT r{};
    r.left = code;
    SendMessage(list_, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  POINT LabelPoint(int item) {
    RECT r = ItemRect(item, LVIR_LABEL);
    return POINT{r.left + 4, (r.top + r.bottom) / 2};
  }
  int Top() { return static_cast<int>(SendMessage(list_, LVM_GETTOPINDEX, 0, 0)); }
  int PerPage() { return static_cast<int>(SendMessage(list_, LVM_GETCOUNTPERPAGE, 0, 0)); }
  HWND Header() { return reinterpret_cast<HWND>(SendMessage(list_, LVM_GETHEADER, 0, 0)); }

  UiSession session_;
  NotifyHost host_;
  HWND list_ = nullptr;
};

// ---- items and sub-items

TEST_F(ListView, ItemsAndSubItemsAreInsertedReadChangedAndDeleted) {
  MakeReport();
  EXPECT_EQ(Insert(0, "beta", 2), 0);
  EXPECT_EQ(Insert(0, "alpha", 1), 0);
  EXPECT_EQ(Insert(99, "gamma", 3), 2);  // past the end appends
  EXPECT_EQ(Insert(-1, "bad"), -1);
  EXPECT_EQ(Count(), 3);
  SetText(1, 1, "12 KB");
  SetText(1, 2, "Text");
  EXPECT_EQ(Text(1), "beta");
  EXPECT_EQ(Text(1, 1), "12 KB");
  EXPECT_EQ(Text(1, 2), "Text");
  EXPECT_EQ(Text(0, 2), "");
  LVITEM lv{};
  lv.mask = LVIF_PARAM | LVIF_IMAGE;
  lv.iItem = 2;
  ASSERT_TRUE(SendMessage(list_, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&lv)));
  EXPECT_EQ(lv.lParam, 3);
  EXPECT_EQ(lv.iImage, 0);
  lv.mask = LVIF_TEXT | LVIF_PARAM;
  lv.pszText = const_cast<char*>("delta");
  lv.lParam = 4;
  EXPECT_TRUE(SendMessage(list_, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&lv)));
  EXPECT_EQ(Text(2), "delta");
  // A short buffer gets what fits, ended.
  char small[3] = {'x', 'x', 'x'};
  LVITEM get{};
  get.pszText = small;
  get.cchTextMax = sizeof(small);
  EXPECT_EQ(SendMessage(list_, LVM_GETITEMTEXT, 2, reinterpret_cast<LPARAM>(&get)), 2);
  EXPECT_STREQ(small, "de");
  lv.iItem = 7;
  EXPECT_FALSE(SendMessage(list_, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&lv)));
  host_.Clear();
  EXPECT_TRUE(SendMessage(list_, LVM_DELETEITEM, 0, 0));
  EXPECT_FALSE(SendMessage(list_, LVM_DELETEITEM, 5, 0));
  EXPECT_EQ(Text(0), "beta");
  ASSERT_EQ(host_.Of(LVN_DELETEITEM).size(), 1u);
  EXPECT_EQ(host_.Of(LVN_DELETEITEM)[0].item, 0);
}

TEST_F(ListView, InsertAndDeleteAreNotified) {
  MakeReport();
  Insert(0, "one", 10);
  Insert(1, "two", 20);
  auto inserted = host_.Of(LVN_INSERTITEM);
  ASSERT_EQ(inserted.size(), 2u);
  EXPECT_EQ(inserted[1].item, 1);
  host_.Clear();
  EXPECT_TRUE(SendMessage(list_, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(host_.Codes(), (std::vector<UINT>{LVN_DELETEALLITEMS, LVN_DELETEITEM, LVN_DELETEITEM}));
  EXPECT_EQ(host_.Of(LVN_DELETEALLITEMS)[0].item, -1);
  Insert(0, "three");
  host_.Clear();
  // A parent answering TRUE to LVN_DELETEALLITEMS gets no LVN_DELETEITEM.
  host_.answer = [](NMHDR* nm) -> LRESULT { return nm->code == LVN_DELETEALLITEMS; };
  SendMessage(list_, LVM_DELETEALLITEMS, 0, 0);
  EXPECT_EQ(host_.Codes(), std::vector<UINT>{LVN_DELETEALLITEMS});
  EXPECT_EQ(Count(), 0);
}

struct SortedCase {
  const char* name;
  DWORD style;
  std::vector<std::string> expected;
};

class ListViewSorted : public ListView, public ::testing::WithParamInterface<SortedCase> {};

TEST_P(ListViewSorted, SortedStylesPlaceItemsWithoutRegardToCase) {
  MakeReport(GetParam().style);
  for (const char* s : {"pear", "Apple", "fig", "apple", "Kiwi"}) Insert(0, s);
  std::vector<std::string> got;
  for (int i = 0; i < Count(); ++i) got.push_back(Text(i));
  EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ListViewSorted,
    ::testing::Values(SortedCase{"Unsorted", 0, {"Kiwi", "apple", "fig", "Apple", "pear"}},
                      SortedCase{"Ascending", LVS_SORTASCENDING, {"Apple", "apple", "fig", "Kiwi", "pear"}},
                      SortedCase{"Descending", LVS_SORTDESCENDING, {"pear", "Kiwi", "fig", "Apple", "apple"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FindCase {
  const char* name;
  UINT flags;
  const char* text;
  LPARAM param;
  int start;
  int expected;
};

class ListViewFind : public ListView, public ::testing::WithParamInterface<FindCase> {};

TEST_P(ListViewFind, FindItemMatchesTextOrData) {
  MakeReport();
  Insert(0, "readme.txt", 100);
  Insert(1, "Main.cpp", 200);
  Insert(2, "main.h", 300);
  Insert(3, "Makefile", 400);
  LVFINDINFO find{};
  find.flags = GetParam().flags;
  find.psz = GetParam().text;
  find.lParam = GetParam().param;
  EXPECT_EQ(SendMessage(list_, LVM_FINDITEM, static_cast<WPARAM>(GetParam().start), reinterpret_cast<LPARAM>(&find)),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Queries, ListViewFind,
    ::testing::Values(FindCase{"ExactIgnoresCase", LVFI_STRING, "MAIN.CPP", 0, -1, 1},
                      FindCase{"ExactNeedsTheWholeText", LVFI_STRING, "main", 0, -1, -1},
                      FindCase{"PartialMatchesAPrefix", LVFI_STRING | LVFI_PARTIAL, "ma", 0, -1, 1},
                      FindCase{"SearchStartsAfterTheStart", LVFI_STRING | LVFI_PARTIAL, "ma", 0, 1, 2},
                      FindCase{"NoWrapStopsAtTheEnd", LVFI_STRING | LVFI_PARTIAL, "read", 0, 0, -1},
                      FindCase{"WrapGoesRound", LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP, "read", 0, 0, 0},
                      FindCase{"ByData", LVFI_PARAM, nullptr, 300, -1, 2},
                      FindCase{"ByMissingData", LVFI_PARAM, nullptr, 999, -1, -1}),
    [](const auto& info) { return std::string(info.param.name); });

int CALLBACK ByDataDescending(LPARAM a, LPARAM b, LPARAM sign) {
  return static_cast<int>(sign * (a < b ? -1 : a > b ? 1 : 0));
}

TEST_F(ListView, SortItemsOrdersByTheCallerAndKeepsStatesWithTheirItems) {
  MakeReport();
  Insert(0, "b", 2);
  Insert(1, "c", 3);
  Insert(2, "a", 1);
  SetText(0, 1, "bee");
  SetState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_TRUE(SendMessage(list_, LVM_SORTITEMS, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&ByDataDescending)));
  EXPECT_EQ(Text(0), "c");
  EXPECT_EQ(Text(1), "b");
  EXPECT_EQ(Text(1, 1), "bee");
  EXPECT_EQ(Text(2), "a");
  EXPECT_EQ(Focused(), 0);
  EXPECT_EQ(Selected(), std::vector<int>{0});
}

TEST_F(ListView, CallbackTextsAndImagesComeFromTheParent) {
  MakeReport();
  host_.answer = [](NMHDR* nm) -> LRESULT {
    if (nm->code != LVN_GETDISPINFO) return 0;
    auto* di = reinterpret_cast<NMLVDISPINFO*>(nm);
    if (di->item.mask & LVIF_TEXT) {
      std::string text = "row " + std::to_string(di->item.iItem) + "." + std::to_string(di->item.iSubItem);
      lstrcpyn(di->item.pszText, text.c_str(), di->item.cchTextMax);
    }
    if (di->item.mask & LVIF_IMAGE) di->item.iImage = 5;
    return 0;
  };
  LVITEM lv{};
  lv.mask = LVIF_TEXT | LVIF_IMAGE;
  lv.pszText = LPSTR_TEXTCALLBACK;
  lv.iImage = I_IMAGECALLBACK;
  SendMessage(list_, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&lv));
  SetText(0, 2, LPSTR_TEXTCALLBACK);
  EXPECT_EQ(Text(0), "row 0.0");
  EXPECT_EQ(Text(0, 2), "row 0.2");
  LVITEM get{};
  get.mask = LVIF_IMAGE;
  SendMessage(list_, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&get));
  EXPECT_EQ(get.iImage, 5);
  auto asked = host_.Of(LVN_GETDISPINFO);
  ASSERT_GE(asked.size(), 3u);
  EXPECT_EQ(asked[0].changed, static_cast<UINT>(LVIF_TEXT));
  // A parent that answers with LVIF_DI_SETITEM is not asked again.
  host_.answer = [](NMHDR* nm) -> LRESULT {
    if (nm->code == LVN_GETDISPINFO) {
      auto* di = reinterpret_cast<NMLVDISPINFO*>(nm);
      di->item.pszText = const_cast<char*>("kept");
      di->item.mask |= LVIF_DI_SETITEM;
    }
    return 0;
  };
  Insert(1, LPSTR_TEXTCALLBACK);
  LVITEM cb{};
  cb.mask = LVIF_TEXT;
  cb.iItem = 1;
  cb.pszText = LPSTR_TEXTCALLBACK;
  SendMessage(list_, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&cb));
  EXPECT_EQ(Text(1), "kept");
  host_.Clear();
  EXPECT_EQ(Text(1), "kept");
  EXPECT_TRUE(host_.Of(LVN_GETDISPINFO).empty());
}

// ---- state

TEST_F(ListView, StateChangesAreAskedTellAndCanBeRefused) {
  MakeReport();
  Fill(4);
  EXPECT_TRUE(SetState(2, LVIS_SELECTED, LVIS_SELECTED));
  auto changing = host_.Of(LVN_ITEMCHANGING);
  auto changed = host_.Of(LVN_ITEMCHANGED);
  ASSERT_EQ(changing.size(), 1u);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].item, 2);
  EXPECT_EQ(changed[0].newState, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(changed[0].oldState, 0u);
  EXPECT_EQ(changed[0].changed, static_cast<UINT>(LVIF_STATE));
  host_.Clear();
  EXPECT_TRUE(SetState(2, LVIS_SELECTED, LVIS_SELECTED));  // no change, no notification
  EXPECT_TRUE(host_.Codes().empty());
  host_.answer = [](NMHDR* nm) -> LRESULT { return nm->code == LVN_ITEMCHANGING; };
  EXPECT_FALSE(SetState(3, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(State(3), 0u);
  EXPECT_TRUE(host_.Of(LVN_ITEMCHANGED).empty());
  EXPECT_EQ(SendMessage(list_, LVM_GETSELECTEDCOUNT, 0, 0), 1);
}

TEST_F(ListView, OneItemHasTheFocusAndSingleSelectionOneSelection) {
  MakeReport(LVS_SINGLESEL);
  Fill(4);
  SetState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(Selected(), std::vector<int>{3});
  EXPECT_EQ(Focused(), 3);
  EXPECT_EQ(State(1), 0u);
  EXPECT_EQ(State(3), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
  EXPECT_EQ(State(3, LVIS_FOCUSED), static_cast<UINT>(LVIS_FOCUSED));
  // Item 1 lost its selection and its focus before item 3 took them.
  auto changed = host_.Of(LVN_ITEMCHANGED);
  ASSERT_EQ(changed.size(), 4u);
  EXPECT_EQ(changed[1].item, 1);
  EXPECT_EQ(changed[1].oldState & LVIS_SELECTED, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(changed[2].item, 1);
  EXPECT_EQ(changed[2].oldState & LVIS_FOCUSED, static_cast<UINT>(LVIS_FOCUSED));
  EXPECT_EQ(changed[3].item, 3);
}

TEST_F(ListView, SetItemStateOnEveryItemAndGetNextItem) {
  MakeReport();
  Fill(5);
  EXPECT_TRUE(SetState(-1, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(SendMessage(list_, LVM_GETSELECTEDCOUNT, 0, 0), 5);
  SetState(1, 0, LVIS_SELECTED);
  SetState(3, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_EQ(Selected(), (std::vector<int>{0, 2, 3, 4}));
  EXPECT_EQ(Next(-1, LVNI_ALL), 0);
  EXPECT_EQ(Next(2, LVNI_ALL), 3);
  EXPECT_EQ(Next(4, LVNI_ALL), -1);
  EXPECT_EQ(Next(-1, LVNI_FOCUSED), 3);
  EXPECT_EQ(Next(-1, LVNI_SELECTED | LVNI_FOCUSED), 3);
  EXPECT_EQ(Next(3, LVNI_ABOVE), 2);
  EXPECT_EQ(Next(3, LVNI_BELOW), 4);
  EXPECT_EQ(Next(2, LVNI_ABOVE | LVNI_SELECTED), 0);
  EXPECT_EQ(Next(0, LVNI_TOLEFT), -1);
  SetState(-1, 0, LVIS_SELECTED);
  EXPECT_TRUE(Selected().empty());
  // Deleting an item before the focus moves the focus with its item.
  SendMessage(list_, LVM_DELETEITEM, 0, 0);
  EXPECT_EQ(Focused(), 2);
}

// The first item given the focus, with no selection mark yet, becomes the mark: a Shift+click
// then selects from it.
TEST_F(ListView, TheFirstFocusItemBecomesTheSelectionMark) {
  MakeReport();
  Fill(5);
  ASSERT_EQ(SendMessage(list_, LVM_GETSELECTIONMARK, 0, 0), -1);
  SetState(2, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_EQ(SendMessage(list_, LVM_GETSELECTIONMARK, 0, 0), 2);
  SetState(3, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_EQ(SendMessage(list_, LVM_GETSELECTIONMARK, 0, 0), 2) << "a mark already set stays";
  Click(list_, LabelPoint(0), kShift);
  EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2}));
}

// Items of a list with check boxes have a check state from the start: unchecked (state image 1),
// whatever state image the item came with (the check is set after the insertion). Items there
// when the boxes are turned on become unchecked too.
TEST_F(ListView, ItemsOfAListWithCheckBoxesStartUnchecked) {
  MakeReport();
  // What ListView_GetCheckState answers: -1 without a check state, 0 unchecked, 1 checked.
  auto check = [&](int item) { return static_cast<int>(State(item, LVIS_STATEIMAGEMASK) >> 12) - 1; };
  Insert(0, "before");
  EXPECT_EQ(check(0), -1) << "no check boxes, no check state";
  SendMessage(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  Insert(1, "new");
  LVITEM checked{};
  checked.mask = LVIF_TEXT | LVIF_STATE;
  checked.iItem = 2;
  checked.pszText = const_cast<char*>("checked");
  checked.state = INDEXTOSTATEIMAGEMASK(2);
  checked.stateMask = LVIS_STATEIMAGEMASK;
  ASSERT_EQ(SendMessage(list_, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&checked)), 2);
  EXPECT_EQ(check(0), 0);
  EXPECT_EQ(check(1), 0);
  EXPECT_EQ(check(2), 0) << "inserted unchecked";
  LVITEM set{};
  set.state = INDEXTOSTATEIMAGEMASK(2);
  set.stateMask = LVIS_STATEIMAGEMASK;
  SendMessage(list_, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&set));
  EXPECT_EQ(check(2), 1);
  // The control made the state images: an unchecked and a checked box, drawn left of the label.
  auto images = reinterpret_cast<HIMAGELIST>(SendMessage(list_, LVM_GETIMAGELIST, LVSIL_STATE, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 2);
  InvalidateRect(list_, nullptr, TRUE);
  UpdateWindow(list_);
  RunUntilIdle();
  auto box = [&](int item) {
    const RECT label = ItemRect(item, LVIR_LABEL);
    std::vector<COLORREF> pixels;
    for (int y = label.top; y < label.bottom; ++y)
      for (int x = std::max(0, static_cast<int>(label.left) - 20); x < label.left; ++x)
        pixels.push_back(WindowPixel(list_, x, y));
    return pixels;
  };
  const std::vector<COLORREF> unchecked = box(1), checkedBox = box(2);
  EXPECT_EQ(unchecked, box(0));
  EXPECT_NE(unchecked, checkedBox);
  EXPECT_NE(std::count(unchecked.begin(), unchecked.end(), GetSysColor(COLOR_BTNSHADOW)), 0) << "the sunken box";
}

// ---- mouse

TEST_F(ListView, ClicksSelectWithControlAndShiftAsInEveryList) {
  MakeReport(0);
  Fill(6);
  Click(list_, LabelPoint(1));
  EXPECT_EQ(Selected(), std::vector<int>{1});
  EXPECT_EQ(Focused(), 1);
  EXPECT_EQ(GetFocus(), list_);
  Click(list_, LabelPoint(3), kCtrl);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 3}));
  Click(list_, LabelPoint(1), kCtrl);  // toggles off
  EXPECT_EQ(Selected(), std::vector<int>{3});
  Click(list_, LabelPoint(5), kShift);  // from the mark, item 1
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Focused(), 5);
  Click(list_, LabelPoint(0));
  EXPECT_EQ(Selected(), std::vector<int>{0});
  auto clicks = host_.Of(NM_CLICK);
  ASSERT_EQ(clicks.size(), 5u);
  EXPECT_EQ(clicks.back().item, 0);
  // A click below the items deselects and tells item -1.
  RECT client;
  GetClientRect(list_, &client);
  Click(list_, POINT{20, client.bottom - 3});
  EXPECT_TRUE(Selected().empty());
  EXPECT_EQ(host_.Of(NM_CLICK).back().item, -1);
}

TEST_F(ListView, SingleSelectionIgnoresControlAndShift) {
  MakeReport(LVS_SINGLESEL);
  Fill(4);
  Click(list_, LabelPoint(0));
  Click(list_, LabelPoint(2), kShift);
  EXPECT_EQ(Selected(), std::vector<int>{2});
  Click(list_, LabelPoint(3), kCtrl);
  EXPECT_EQ(Selected(), std::vector<int>{3});
}

TEST_F(ListView, SubItemsAreHitOnlyWithFullRowSelection) {
  MakeReport();
  Fill(3);
  RECT row = ItemRect(1);
  POINT inSize{150, (row.top + row.bottom) / 2};
  LVHITTESTINFO hit{};
  hit.pt = inSize;
  EXPECT_EQ(SendMessage(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(SendMessage(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.iSubItem, 1);
  Click(list_, inSize);
  EXPECT_TRUE(Selected().empty());
  SendMessage(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  EXPECT_EQ(SendMessage(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_FULLROWSELECT);
  hit.pt = inSize;
  EXPECT_EQ(SendMessage(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ONITEMLABEL));
  Click(list_, inSize);
  EXPECT_EQ(Selected(), std::vector<int>{1});
  EXPECT_EQ(host_.Of(NM_CLICK).back().subItem, 1);
}

// LVM_SUBITEMHITTEST names the report column under the point, on a row, below the rows or beyond
// the client area (which the flags tell), and -1 where no column is. Left or right of the client
// area a column reaching there finds the row too, whose item it answers as on the label; above or
// below it, no row is found. LVM_HITTEST finds nothing outside the client area.
TEST_F(ListView, SubItemHitTestNamesTheColumnUnderThePoint) {
  MakeReport();  // 300 pixels wide, columns of 100, 60 and 80 pixels
  Fill(3);
  RECT row = ItemRect(1), client;
  GetClientRect(list_, &client);
  const int onRow = (row.top + row.bottom) / 2, belowRows = ItemRect(2).bottom + 10, below = client.bottom + 5;
  struct Case {
    POINT pt;
    int item, subItem;
    UINT flags;
    int lastWidth = 80;  // of the third column
  };
  const Case cases[] = {
      {{130, onRow}, 1, 1, LVHT_ONITEMLABEL},  {{200, onRow}, 1, 2, LVHT_ONITEMLABEL},
      {{270, onRow}, -1, -1, LVHT_NOWHERE},    {{130, belowRows}, -1, 1, LVHT_NOWHERE},
      {{200, belowRows}, -1, 2, LVHT_NOWHERE}, {{270, belowRows}, -1, -1, LVHT_NOWHERE},
      {{130, below}, -1, 1, LVHT_BELOW},       {{50, -4}, -1, 0, LVHT_ABOVE},
      {{-4, onRow}, -1, -1, LVHT_TOLEFT},      {{310, onRow}, -1, -1, LVHT_TORIGHT},
      {{310, onRow}, 1, 2, LVHT_ONITEMLABEL, 200}, {{310, below}, -1, 2, LVHT_BELOW | LVHT_TORIGHT, 200},
      {{310, belowRows}, -1, 2, LVHT_TORIGHT, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pt.x << "," << c.pt.y << " last column " << c.lastWidth);
    SendMessage(list_, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(c.lastWidth, 0));
    LVHITTESTINFO hit{};
    hit.pt = c.pt;
    EXPECT_EQ(SendMessage(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), c.item);
    EXPECT_EQ(hit.iItem, c.item);
    EXPECT_EQ(hit.iSubItem, c.subItem);
    EXPECT_EQ(hit.flags, c.flags);
    if (c.pt.x >= client.right) {
      LVHITTESTINFO plain{};
      plain.pt = c.pt;
      EXPECT_EQ(SendMessage(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&plain)), -1);
      EXPECT_EQ(plain.flags & LVHT_TORIGHT, static_cast<UINT>(LVHT_TORIGHT));
    }
  }
}

TEST_F(ListView, DoubleClickAndRightClickAreNotified) {
  MakeReport();
  Fill(3);
  DoubleClick(list_, LabelPoint(2));
  auto dbl = host_.Of(NM_DBLCLK);
  ASSERT_EQ(dbl.size(), 1u);
  EXPECT_EQ(dbl[0].item, 2);
  EXPECT_EQ(host_.Of(LVN_ITEMACTIVATE).size(), 1u);
  Click(list_, LabelPoint(0), kNone, WM_RBUTTONDOWN);
  EXPECT_EQ(Selected(), std::vector<int>{0});
  auto right = host_.Of(NM_RCLICK);
  ASSERT_EQ(right.size(), 1u);
  EXPECT_EQ(right[0].item, 0);
}

TEST_F(ListView, DraggingAnItemBeginsADragAndKeepsTheSelection) {
  MakeReport();
  Fill(4);
  Click(list_, LabelPoint(1));
  Click(list_, LabelPoint(2), kCtrl);
  host_.Clear();
  POINT from = LabelPoint(1);
  Drag(list_, from, POINT{from.x + 40, from.y + 30}, 4);
  auto drags = host_.Of(LVN_BEGINDRAG);
  ASSERT_EQ(drags.size(), 1u);
  EXPECT_EQ(drags[0].item, 1);
  EXPECT_EQ(drags[0].action.x, from.x);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2}));
  EXPECT_TRUE(host_.Of(NM_CLICK).empty());
  // A plain click on one of several selected items selects it alone when the button comes up.
  Click(list_, LabelPoint(2));
  EXPECT_EQ(Selected(), std::vector<int>{2});
}

// ---- virtual lists

TEST_F(ListView, AVirtualListTellsShiftRangesAsOneChangeAndCountsTheSelection) {
  Make(LVS_REPORT | LVS_OWNERDATA);
  Column(0, "Name", 100);
  host_.answer = [](NMHDR* nm) -> LRESULT {
    auto* di = reinterpret_cast<NMLVDISPINFO*>(nm);
    if (nm->code == LVN_GETDISPINFO && (di->item.mask & LVIF_TEXT))
      lstrcpyn(di->item.pszText, ("Row " + std::to_string(di->item.iItem)).c_str(), di->item.cchTextMax);
    return 0;
  };
  ASSERT_TRUE(SendMessage(list_, LVM_SETITEMCOUNT, 6, 0));
  EXPECT_EQ(Count(), 6);
  EXPECT_EQ(Text(4), "Row 4");
  Click(list_, LabelPoint(1));
  ASSERT_EQ(Selected(), std::vector<int>{1});
  host_.Clear();
  PressKey(VK_DOWN, kShift);
  PressKey(VK_DOWN, kShift);
  auto ranges = host_.Of(LVN_ODSTATECHANGED);
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[0].item, 1);
  EXPECT_EQ(ranges[0].to, 2);
  EXPECT_EQ(ranges[1].item, 1);
  EXPECT_EQ(ranges[1].to, 3);
  EXPECT_EQ(ranges[1].newState, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(ranges[1].oldState, 0u);
  EXPECT_EQ(SendMessage(list_, LVM_GETSELECTEDCOUNT, 0, 0), 3);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Focused(), 3);
  // Shrinking the range deselects the rest as one change of every item.
  host_.Clear();
  PressKey(VK_UP, kShift);
  auto all = host_.Of(LVN_ITEMCHANGED);
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all[0].item, -1);
  EXPECT_EQ(all[0].oldState, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(SendMessage(list_, LVM_GETSELECTEDCOUNT, 0, 0), 2);
  // A smaller count drops the selected items past it; a count past what the list can hold is
  // refused.
  SendMessage(list_, LVM_SETITEMCOUNT, 2, 0);
  EXPECT_EQ(SendMessage(list_, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_FALSE(SendMessage(list_, LVM_SETITEMCOUNT, 0x7FFFFFFF, 0));
  EXPECT_EQ(Count(), 2);
}

// ---- keyboard

struct KeyCase {
  const char* name;
  UINT vk;
  UINT mods;
  int expectedFocus;
  std::vector<int> expectedSelection;
};

class ListViewKeys : public ListView, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ListViewKeys, KeysMoveTheFocusAndTheSelection) {
  MakeReport(0, 300, 120);
  Fill(30);
  Click(list_, LabelPoint(2));
  host_.Clear();
  PressKey(GetParam().vk, GetParam().mods);
  EXPECT_EQ(Focused(), GetParam().expectedFocus);
  EXPECT_EQ(Selected(), GetParam().expectedSelection);
  auto keys = host_.Of(LVN_KEYDOWN);
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.back().key, GetParam().vk);
}

std::vector<int> Range(int from, int to) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

INSTANTIATE_TEST_SUITE_P(Keys, ListViewKeys,
                         ::testing::Values(KeyCase{"Down", VK_DOWN, kNone, 3, {3}}, KeyCase{"Up", VK_UP, kNone, 1, {1}},
                                           KeyCase{"Home", VK_HOME, kNone, 0, {0}},
                                           KeyCase{"End", VK_END, kNone, 29, {29}},
                                           KeyCase{"ShiftDownExtends", VK_DOWN, kShift, 3, {2, 3}},
                                           KeyCase{"ShiftHomeExtends", VK_HOME, kShift, 0, {0, 1, 2}},
                                           KeyCase{"ShiftEndExtends", VK_END, kShift, 29, Range(2, 29)},
                                           KeyCase{"CtrlDownMovesOnlyTheFocus", VK_DOWN, kCtrl, 3, {2}},
                                           KeyCase{"CtrlSpaceTogglesTheFocusItem", VK_SPACE, kCtrl, 2, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListView, PageKeysGoToTheEdgeOfThePageThenAPageFurther) {
  MakeReport(0, 300, 120);
  Fill(40);
  Click(list_, LabelPoint(0));
  int page = PerPage();
  ASSERT_GT(page, 1);
  PressKey(VK_NEXT);
  EXPECT_EQ(Focused(), page - 1);
  EXPECT_EQ(Top(), 0);
  PressKey(VK_NEXT);
  EXPECT_EQ(Focused(), 2 * page - 2);
  EXPECT_EQ(Top(), page - 1);
  PressKey(VK_PRIOR);
  EXPECT_EQ(Focused(), page - 1);
  EXPECT_EQ(Selected(), std::vector<int>{page - 1});
}

TEST_F(ListView, ReturnAndTypedLettersAreHandled) {
  MakeReport();
  for (const char* s : {"apple", "banana", "blueberry", "cherry"}) Insert(Count(), s);
  SetFocus(list_);
  RunUntilIdle();
  TypeText("bl");
  EXPECT_EQ(Focused(), 2);
  EXPECT_EQ(Selected(), std::vector<int>{2});
  host_.Clear();
  PressKey(VK_RETURN);
  EXPECT_EQ(host_.Of(NM_RETURN).size(), 1u);
}

TEST_F(ListView, FocusComingAndGoingIsNotified) {
  MakeReport();
  SetFocus(list_);
  RunUntilIdle();
  SetFocus(host_.Hwnd());
  RunUntilIdle();
  EXPECT_EQ(host_.Codes(), (std::vector<UINT>{NM_SETFOCUS, NM_KILLFOCUS}));
  EXPECT_EQ(host_.notes[0].from, list_);
  EXPECT_EQ(host_.notes[0].id, 1226u);
}

// ---- columns and header

TEST_F(ListView, ColumnsAreInsertedReadChangedAndDeletedWithTheirHeader) {
  MakeReport();
  HWND header = Header();
  ASSERT_NE(header, nullptr);
  EXPECT_TRUE(IsWindowVisible(header));
  EXPECT_EQ(Header_GetItemCount(header), 3);
  Insert(0, "main.cpp");
  SetText(0, 1, "4 KB");
  SetText(0, 2, "C++ source");
  // A column inserted in the middle moves the later sub-items along.
  EXPECT_EQ(Column(1, "Date", 70), 1);
  EXPECT_EQ(Text(0, 1), "");
  EXPECT_EQ(Text(0, 2), "4 KB");
  EXPECT_EQ(Text(0, 3), "C++ source");
  char buffer[16] = {};
  LVCOLUMN c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  c.pszText = buffer;
  c.cchTextMax = sizeof(buffer);
  ASSERT_TRUE(SendMessage(list_, LVM_GETCOLUMN, 2, reinterpret_cast<LPARAM>(&c)));
  EXPECT_STREQ(buffer, "Size");
  EXPECT_EQ(c.cx, 60);
  c.mask = LVCF_TEXT | LVCF_FMT;
  c.pszText = const_cast<char*>("Bytes");
  c.fmt = LVCFMT_RIGHT;
  EXPECT_TRUE(SendMessage(list_, LVM_SETCOLUMN, 2, reinterpret_cast<LPARAM>(&c)));
  char headerText[16] = {};
  HDITEM h{};
  h.mask = HDI_TEXT | HDI_FORMAT;
  h.pszText = headerText;
  h.cchTextMax = sizeof(headerText);
  Header_GetItem(header, 2, &h);
  EXPECT_STREQ(headerText, "Bytes");
  EXPECT_EQ(h.fmt & HDF_JUSTIFYMASK, HDF_RIGHT);
  EXPECT_TRUE(SendMessage(list_, LVM_DELETECOLUMN, 1, 0));
  EXPECT_FALSE(SendMessage(list_, LVM_DELETECOLUMN, 9, 0));
  EXPECT_EQ(Header_GetItemCount(header), 3);
  EXPECT_EQ(Text(0, 1), "4 KB");
  EXPECT_TRUE(SendMessage(list_, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(90, 0)));
  EXPECT_EQ(SendMessage(list_, LVM_GETCOLUMNWIDTH, 1, 0), 90);
  RECT r;
  Header_GetItemRect(header, 1, &r);
  EXPECT_EQ(r.right - r.left, 90);
}

TEST_F(ListView, AutoSizeFitsTheWidestText) {
  MakeReport();
  Insert(0, "a");
  Insert(1, "a longer name");
  SendMessage(list_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(LVSCW_AUTOSIZE, 0));
  int width = static_cast<int>(SendMessage(list_, LVM_GETCOLUMNWIDTH, 0, 0));
  int text = static_cast<int>(
      SendMessage(list_, LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>("a longer name")));
  EXPECT_GE(width, text);
  EXPECT_LT(width, text + 30);
  // The last column with USEHEADER fills the rest of the client width.
  SendMessage(list_, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
  RECT client;
  GetClientRect(list_, &client);
  EXPECT_EQ(width + 60 + SendMessage(list_, LVM_GETCOLUMNWIDTH, 2, 0), client.right);
}

TEST_F(ListView, DraggingAHeaderDividerResizesTheColumnAndTellsTheParent) {
  MakeReport();
  Fill(3);
  HWND header = Header();
  RECT before = ItemRect(0, LVIR_LABEL);
  Drag(header, POINT{100, 5}, POINT{150, 5}, 4);
  EXPECT_EQ(SendMessage(list_, LVM_GETCOLUMNWIDTH, 0, 0), 150);
  RECT after = ItemRect(0, LVIR_LABEL);
  EXPECT_EQ(after.right - before.right, 50);
  // The header's notifications reach the list's parent.
  EXPECT_FALSE(host_.Of(HDN_BEGINTRACK).empty());
  auto changed = host_.Of(HDN_ITEMCHANGED);
  ASSERT_FALSE(changed.empty());
  EXPECT_EQ(changed.back().from, header);
  EXPECT_EQ(changed.back().width, 150);
  // A parent refusing the change keeps the column as it is.
  host_.answer = [](NMHDR* nm) -> LRESULT { return nm->code == HDN_ITEMCHANGING; };
  Drag(header, POINT{150, 5}, POINT{170, 5}, 2);
  EXPECT_EQ(SendMessage(list_, LVM_GETCOLUMNWIDTH, 0, 0), 150);
}

TEST_F(ListView, ClickingAColumnTitleNotifiesColumnClickUnlessTheHeaderDoesNotSort) {
  MakeReport();
  Click(Header(), POINT{130, 5});
  auto clicks = host_.Of(LVN_COLUMNCLICK);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].subItem, 1);
  EXPECT_EQ(clicks[0].item, -1);
  DestroyWindow(list_);
  host_.Clear();
  MakeReport(LVS_NOSORTHEADER);
  Click(Header(), POINT{130, 5});
  EXPECT_TRUE(host_.Of(LVN_COLUMNCLICK).empty());
}

TEST_F(ListView, NoColumnHeaderStyleHidesTheHeaderAndUsesTheWholeClient) {
  MakeReport(LVS_NOCOLUMNHEADER);
  Fill(2);
  EXPECT_FALSE(IsWindowVisible(Header()));
  EXPECT_EQ(ItemRect(0).top, 0);
}

// ---- long lists

TEST_F(ListView, ALongReportScrollsToTheItemsItShows) {
  MakeReport(0, 300, 200);
  SendMessage(list_, WM_SETREDRAW, FALSE, 0);
  Fill(10000);
  SendMessage(list_, WM_SETREDRAW, TRUE, 0);
  RunUntilIdle();
  EXPECT_TRUE(GetWindowLong(list_, GWL_STYLE) & WS_VSCROLL);
  int page = PerPage();
  ASSERT_GT(page, 3);
  SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(list_, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 9999);
  EXPECT_EQ(static_cast<int>(si.nPage), page);
  EXPECT_TRUE(SendMessage(list_, LVM_ENSUREVISIBLE, 5000, FALSE));
  EXPECT_EQ(Top(), 5000 - page + 1);
  EXPECT_EQ(ItemRect(5000).bottom, ItemRect(5000 - page + 1).top + page * (ItemRect(0).bottom - ItemRect(0).top));
  LVHITTESTINFO hit{};
  hit.pt = LabelPoint(Top());
  EXPECT_EQ(SendMessage(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), Top());
  SendMessage(list_, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Top(), 5000 - page + 2);
  SendMessage(list_, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Top(), 10000 - page);
  int rowHeight = ItemRect(0).bottom - ItemRect(0).top;
  SendMessage(list_, LVM_SCROLL, 0, -3 * rowHeight);
  EXPECT_EQ(Top(), 10000 - page - 3);
  Click(list_, LabelPoint(Top()));
  PressKey(VK_END);
  EXPECT_EQ(Focused(), 9999);
  PressKey(VK_HOME);
  EXPECT_EQ(Top(), 0);
}

TEST_F(ListView, PaintingAsksOnlyForTheRowsItShows) {
  MakeReport(0, 300, 200);
  for (int i = 0; i < 10000; ++i) Insert(i, LPSTR_TEXTCALLBACK);
  host_.answer = [](NMHDR* nm) -> LRESULT {
    if (nm->code == LVN_GETDISPINFO) {
      auto* di = reinterpret_cast<NMLVDISPINFO*>(nm);
      lstrcpyn(di->item.pszText, "x", di->item.cchTextMax);
    }
    return 0;
  };
  RunUntilIdle();
  host_.Clear();
  SendMessage(list_, LVM_ENSUREVISIBLE, 7000, FALSE);
  RunUntilIdle();
  auto asked = host_.Of(LVN_GETDISPINFO);
  ASSERT_FALSE(asked.empty());
  int page = PerPage();
  EXPECT_LE(asked.size(), static_cast<size_t>((page + 2) * 3));
  for (const auto& n : asked) {
    EXPECT_GE(n.item, Top());
    EXPECT_LE(n.item, Top() + page + 1);
  }
}

// ---- other views

TEST_F(ListView, IconViewLaysItemsOutInAGridAndArrowsMoveAcrossIt) {
  HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR24, 1, 1);
  Make(LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 320, 240);
  SendMessage(list_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessage(list_, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)), images);
  Fill(10);
  RECT first = ItemRect(0), second = ItemRect(1);
  EXPECT_EQ(first.top, second.top);
  EXPECT_GT(second.left, first.right - 1);
  DWORD spacing = static_cast<DWORD>(SendMessage(list_, LVM_GETITEMSPACING, 0, 0));
  int across = 320 / LOWORD(spacing);
  RECT below = ItemRect(across);
  EXPECT_EQ(below.left, first.left);
  EXPECT_EQ(below.top - first.top, HIWORD(spacing));
  RECT icon = ItemRect(3, LVIR_ICON);
  EXPECT_EQ(icon.right - icon.left, 32);
  LVHITTESTINFO hit{};
  hit.pt = POINT{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
  EXPECT_EQ(SendMessage(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 3);
  EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ONITEMICON));
  Click(list_, hit.pt);
  PressKey(VK_RIGHT);
  EXPECT_EQ(Focused(), 4);
  PressKey(VK_DOWN);
  EXPECT_EQ(Focused(), 4 + across);
  EXPECT_EQ(Next(4 + across, LVNI_ABOVE), 4);
  EXPECT_EQ(Next(4, LVNI_TORIGHT), 5);
  EXPECT_EQ(Selected(), std::vector<int>{4 + across});
  EXPECT_EQ(PerPage(), 10);
}

TEST_F(ListView, ListViewFillsColumnsTopToBottom) {
  Make(LVS_LIST, 300, 100);
  Fill(20);
  RECT first = ItemRect(0), next = ItemRect(1);
  EXPECT_EQ(next.left, first.left);
  EXPECT_EQ(next.top, first.bottom);
  SendMessage(list_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(120, 0));
  EXPECT_EQ(SendMessage(list_, LVM_GETCOLUMNWIDTH, 0, 0), 120);
  int perColumn = 0;
  while (perColumn < 20 && ItemRect(perColumn).left == ItemRect(0).left) ++perColumn;
  ASSERT_GT(perColumn, 1);
  ASSERT_LT(perColumn, 20);
  EXPECT_EQ(ItemRect(perColumn).left, 120);
  EXPECT_EQ(ItemRect(perColumn).top, first.top);
  EXPECT_EQ(Next(0, LVNI_TORIGHT), perColumn);
  EXPECT_EQ(Next(perColumn - 1, LVNI_BELOW), -1);  // the bottom of a column
  // Two whole columns fit in 300 pixels: a page holds both.
  EXPECT_EQ(PerPage(), 2 * perColumn);
}

// ---- label editing

class ListViewLabels : public ListView {
 protected:
  void SetUp() override {
    MakeReport(LVS_EDITLABELS);
    Fill(3);
    Click(list_, LabelPoint(1));
    host_.Clear();
  }
  HWND Editor() { return reinterpret_cast<HWND>(SendMessage(list_, LVM_GETEDITCONTROL, 0, 0)); }
};

TEST_F(ListViewLabels, F2EditsTheFocusItemAndEnterKeepsTheTextTheParentAccepts) {
  host_.answer = [](NMHDR* nm) -> LRESULT { return nm->code == LVN_ENDLABELEDIT; };
  PressKey(VK_F2);
  HWND edit = Editor();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(GetFocus(), edit);
  char shown[32] = {};
  GetWindowText(edit, shown, sizeof(shown));
  EXPECT_STREQ(shown, "Item 1");
  auto begin = host_.Of(LVN_BEGINLABELEDIT);
  ASSERT_EQ(begin.size(), 1u);
  EXPECT_EQ(begin[0].item, 1);
  EXPECT_EQ(begin[0].text, "Item 1");
  TypeText("Renamed");  // replaces the selected text
  PressKey(VK_RETURN);
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_FALSE(IsWindow(edit));
  auto end = host_.Of(LVN_ENDLABELEDIT);
  ASSERT_EQ(end.size(), 1u);
  EXPECT_TRUE(end[0].hasText);
  EXPECT_EQ(end[0].text, "Renamed");
  EXPECT_EQ(Text(1), "Renamed");
  EXPECT_EQ(GetFocus(), list_);
}

TEST_F(ListViewLabels, AParentAnsweringFalseKeepsTheOldText) {
  PressKey(VK_F2);
  TypeText("Other");
  PressKey(VK_RETURN);
  ASSERT_EQ(host_.Of(LVN_ENDLABELEDIT).size(), 1u);
  EXPECT_EQ(Text(1), "Item 1");
}

TEST_F(ListViewLabels, EscapeCancelsWithNoText) {
  host_.answer = [](NMHDR* nm) -> LRESULT { return nm->code == LVN_ENDLABELEDIT; };
  PressKey(VK_F2);
  TypeText("Other");
  PressKey(VK_ESCAPE);
  auto end = host_.Of(LVN_ENDLABELEDIT);
  ASSERT_EQ(end.size(), 1u);
  EXPECT_FALSE(end[0].hasText);
  EXPECT_EQ(Text(1), "Item 1");
}

// LVM_EDITLABEL with -1 cancels the edit under way: the parent is told of no text.
TEST_F(ListViewLabels, EditLabelOfMinusOneCancels) {
  host_.answer = [](NMHDR* nm) -> LRESULT { return nm->code == LVN_ENDLABELEDIT; };
  PressKey(VK_F2);
  TypeText("Other");
  EXPECT_EQ(SendMessage(list_, LVM_EDITLABEL, static_cast<WPARAM>(-1), 0), 0);
  EXPECT_EQ(Editor(), nullptr);
  auto end = host_.Of(LVN_ENDLABELEDIT);
  ASSERT_EQ(end.size(), 1u);
  EXPECT_FALSE(end[0].hasText);
  EXPECT_EQ(Text(1), "Item 1");
}

TEST_F(ListViewLabels, AParentRefusingTheBeginGetsNoEditor) {
  host_.answer = [](NMHDR* nm) -> LRESULT { return nm->code == LVN_BEGINLABELEDIT; };
  EXPECT_EQ(SendMessage(list_, LVM_EDITLABEL, 2, 0), 0);
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_TRUE(host_.Of(LVN_ENDLABELEDIT).empty());
}

TEST_F(ListViewLabels, ASecondClickOnTheSelectedLabelEditsAfterTheDoubleClickTime) {
  AdvanceClock(GetDoubleClickTime() + 10);  // no double click with the fixture's click
  Click(list_, LabelPoint(1));
  EXPECT_EQ(Editor(), nullptr);
  AdvanceClock(GetDoubleClickTime() + 10);
  ASSERT_NE(Editor(), nullptr);
  // Clicking elsewhere ends the edit, keeping the text offered.
  Click(list_, LabelPoint(0));
  EXPECT_EQ(Editor(), nullptr);
  auto end = host_.Of(LVN_ENDLABELEDIT);
  ASSERT_EQ(end.size(), 1u);
  EXPECT_TRUE(end[0].hasText);
}

TEST_F(ListViewLabels, TheEditorTakesAtMost259Characters) {
  ASSERT_NE(SendMessage(list_, LVM_EDITLABEL, 1, 0), 0);
  HWND edit = Editor();
  EXPECT_EQ(SendMessage(edit, EM_GETLIMITTEXT, 0, 0), 259);
  TypeText(std::string(300, 'x').c_str());
  EXPECT_EQ(GetWindowTextLength(edit), 259);
}

TEST_F(ListView, WithoutEditLabelsF2DoesNothing) {
  MakeReport();
  Fill(2);
  Click(list_, LabelPoint(0));
  PressKey(VK_F2);
  EXPECT_EQ(SendMessage(list_, LVM_GETEDITCONTROL, 0, 0), 0);
  AdvanceClock(GetDoubleClickTime() + 10);
  Click(list_, LabelPoint(0));
  AdvanceClock(GetDoubleClickTime() + 10);
  EXPECT_EQ(SendMessage(list_, LVM_GETEDITCONTROL, 0, 0), 0);
}

// ---- look

TEST_F(ListView, AReportShowsTheSelectedRowHighlightedWithGridLines) {
  HIMAGELIST small = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  MakeReport(LVS_SHOWSELALWAYS, 300, 160);
  SendMessage(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
  SendMessage(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  Fill(5);
  for (int i = 0; i < 5; ++i) {
    SetText(i, 1, (std::to_string(i * 3) + " KB").c_str());
    SetText(i, 2, "Source");
  }
  Click(list_, LabelPoint(2));
  RunUntilIdle();
  RECT row = ItemRect(2);
  RECT label = ItemRect(2, LVIR_LABEL);
  int y = row.top + 2;
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(WindowPixel(list_, label.left + 1, y), highlight);
  EXPECT_EQ(WindowPixel(list_, 200, y), highlight);  // a sub-item column, selected with the row
  EXPECT_EQ(WindowPixel(list_, 280, y), GetSysColor(COLOR_WINDOW));  // past the last column
  EXPECT_EQ(WindowPixel(list_, 200, ItemRect(1).top + 2), GetSysColor(COLOR_WINDOW));
  // Grid lines under each row and at each column's right edge.
  EXPECT_EQ(WindowPixel(list_, 150, ItemRect(0).bottom - 1), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(WindowPixel(list_, 99, ItemRect(4).top + 3), GetSysColor(COLOR_3DFACE));
  // Without the focus the selection stays shown (LVS_SHOWSELALWAYS) in the face colour.
  SetFocus(host_.Hwnd());
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(list_, 200, y), GetSysColor(COLOR_3DFACE));
  std::string png = (std::filesystem::temp_directory_path() / "listview-report.png").string();
  EXPECT_TRUE(SaveWindowPng(host_.Hwnd(), png));
  EXPECT_GT(std::filesystem::file_size(png), 0u);
  if (!getenv("KEEP_PNG")) std::filesystem::remove(png);
}

TEST_F(ListView, ItemsShowTheirImageAndStateImage) {
  MakeReport();
  SendMessage(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SolidImages({RGB(255, 0, 0)})));
  SendMessage(list_, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(SolidImages({RGB(0, 0, 255)})));
  Fill(2);
  SetState(1, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  RunUntilIdle();
  RECT icon = ItemRect(1, LVIR_ICON);
  POINT middle{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
  EXPECT_EQ(icon.right - icon.left, 16);
  EXPECT_EQ(WindowPixel(list_, middle.x, middle.y), RGB(255, 0, 0));
  EXPECT_EQ(WindowPixel(list_, middle.x - 16, middle.y), RGB(0, 0, 255));
  // Item 0 has no state image: the window shows through.
  RECT first = ItemRect(0, LVIR_ICON);
  EXPECT_EQ(WindowPixel(list_, first.left - 8, (first.top + first.bottom) / 2), GetSysColor(COLOR_WINDOW));
  LVHITTESTINFO hit{};
  hit.pt = POINT{middle.x - 16, middle.y};
  EXPECT_EQ(SendMessage(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ONITEMSTATEICON));
}

TEST_F(ListView, ImageListsAreDestroyedWithTheControlUnlessShared) {
  HIMAGELIST own = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  Make(LVS_REPORT);
  SendMessage(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(own));
  DestroyWindow(list_);
  EXPECT_FALSE(ImageList_Destroy(own));  // gone already
  HIMAGELIST shared = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  Make(LVS_REPORT | LVS_SHAREIMAGELISTS);
  SendMessage(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(shared));
  DestroyWindow(list_);
  EXPECT_TRUE(ImageList_Destroy(shared));
}

}  // namespace

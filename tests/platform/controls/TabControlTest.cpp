// The tab control: items, selection by program, click and key with the parent's consent, hit
// testing, the display rectangle and the look of the selected tab.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ControlsTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class Tabs : public ::testing::Test {
 protected:
  void SetUp() override {
    tab_ = CreateWindowEx(0, WC_TABCONTROL, nullptr, WS_CHILD | WS_VISIBLE, 10, 10, 300, 200, recorder_.Hwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(30)), nullptr, nullptr);
    ASSERT_NE(tab_, nullptr);
    for (const char* name : {"General", "Files", "Advanced"}) Insert(TabCtrl_GetItemCount(tab_), name);
    RunUntilIdle();
    recorder_.Clear();
  }
  int Insert(int at, const char* name, LPARAM data = 0) {
    TCITEM item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(name);
    item.lParam = data;
    return TabCtrl_InsertItem(tab_, at, &item);
  }
  std::string TextAt(int i) {
    char buffer[32] = {};
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    SendMessage(tab_, TCM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    return buffer;
  }
  std::vector<UINT> Codes() {
    std::vector<UINT> codes;
    for (const auto& r : recorder_.Records())
      if (r.message == WM_NOTIFY && (r.code == TCN_SELCHANGE || r.code == TCN_SELCHANGING)) codes.push_back(r.code);
    return codes;
  }
  POINT Middle(int i) {
    RECT r;
    SendMessage(tab_, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  UiSession session_;
  NotificationRecorder recorder_;
  HWND tab_ = nullptr;
};

TEST_F(Tabs, ItemsAreInsertedReadChangedAndDeleted) {
  EXPECT_EQ(TabCtrl_GetItemCount(tab_), 3);
  EXPECT_EQ(TabCtrl_GetCurSel(tab_), 0);  // the first item inserted is selected
  EXPECT_EQ(Insert(99, "Last", 5), 3);    // past the end appends
  EXPECT_EQ(Insert(1, "Second", 7), 1);
  EXPECT_EQ(TextAt(1), "Second");
  EXPECT_EQ(TextAt(4), "Last");
  TCITEM item{};
  item.mask = TCIF_PARAM;
  SendMessage(tab_, TCM_GETITEM, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.lParam, 7);
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>("Renamed");
  EXPECT_TRUE(SendMessage(tab_, TCM_SETITEM, 1, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(TextAt(1), "Renamed");
  EXPECT_EQ(TabCtrl_SetCurSel(tab_, 3), 0);
  EXPECT_TRUE(SendMessage(tab_, TCM_DELETEITEM, 1, 0));
  EXPECT_EQ(TabCtrl_GetCurSel(tab_), 2);  // follows its item
  EXPECT_TRUE(SendMessage(tab_, TCM_DELETEITEM, 2, 0));
  EXPECT_EQ(TabCtrl_GetCurSel(tab_), -1);
  EXPECT_FALSE(SendMessage(tab_, TCM_DELETEITEM, 9, 0));
  EXPECT_EQ(TabCtrl_SetCurSel(tab_, 9), -1);
  SendMessage(tab_, TCM_DELETEALLITEMS, 0, 0);
  EXPECT_EQ(TabCtrl_GetItemCount(tab_), 0);
  EXPECT_TRUE(Codes().empty());  // nothing the program does is notified
}

TEST_F(Tabs, ClicksAndKeysAskThenChangeTheSelection) {
  Click(tab_, Middle(2));
  EXPECT_EQ(TabCtrl_GetCurSel(tab_), 2);
  EXPECT_EQ(Codes(), (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
  EXPECT_EQ(GetFocus(), tab_);
  recorder_.Clear();
  PressKey(VK_LEFT);
  EXPECT_EQ(TabCtrl_GetCurSel(tab_), 1);
  PressKey(VK_HOME);
  EXPECT_EQ(TabCtrl_GetCurSel(tab_), 0);
  PressKey(VK_LEFT);  // already first
  EXPECT_EQ(TabCtrl_GetCurSel(tab_), 0);
  EXPECT_EQ(Codes().size(), 4u);
  recorder_.Clear();
  recorder_.SetResult(TRUE);  // the parent refuses to leave the page
  Click(tab_, Middle(1));
  EXPECT_EQ(TabCtrl_GetCurSel(tab_), 0);
  EXPECT_EQ(Codes(), std::vector<UINT>{TCN_SELCHANGING});
}

TEST_F(Tabs, HitTestingAndItemRectanglesAgree) {
  RECT first, second;
  SendMessage(tab_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  SendMessage(tab_, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  EXPECT_EQ(first.right, second.left);
  EXPECT_EQ(first.top, second.top);
  EXPECT_GT(first.right - first.left, 0);
  TCHITTESTINFO hit{Middle(1), 0};
  EXPECT_EQ(SendMessage(tab_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_ONITEMLABEL));
  hit.pt = POINT{290, 5};
  EXPECT_EQ(SendMessage(tab_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_NOWHERE));
}

TEST_F(Tabs, AdjustRectGoesBothWays) {
  RECT window{10, 10, 310, 210};
  RECT display = window;
  TabCtrl_AdjustRect(tab_, FALSE, &display);
  RECT first;
  SendMessage(tab_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_GT(display.top, window.top + first.bottom);
  EXPECT_GT(display.left, window.left);
  EXPECT_LT(display.right, window.right);
  EXPECT_LT(display.bottom, window.bottom);
  TabCtrl_AdjustRect(tab_, TRUE, &display);
  EXPECT_TRUE(EqualRect(&display, &window));
}

TEST_F(Tabs, TheSelectedTabOpensIntoTheDisplayArea) {
  TabCtrl_SetCurSel(tab_, 1);
  RunUntilIdle();
  RECT selected, other;
  SendMessage(tab_, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&selected));
  SendMessage(tab_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&other));
  int line = selected.bottom;  // the display frame's top edge
  int mid = (selected.left + selected.right) / 2;
  EXPECT_EQ(WindowPixel(tab_, mid, line), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(WindowPixel(tab_, (other.left + other.right) / 2, line), GetSysColor(COLOR_3DHIGHLIGHT));
  // The selected tab rises above the others.
  EXPECT_EQ(WindowPixel(tab_, mid, 0), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(WindowPixel(tab_, (other.left + other.right) / 2, 0), GetSysColor(COLOR_3DFACE));
}

// Tab widths: the text with the padding each side by default, never below the minimum width set,
// one width for all with TCS_FIXEDWIDTH and TCM_SETITEMSIZE, which answers the size before.
TEST_F(Tabs, WidthsFollowTextsPaddingMinimumAndFixedSize) {
  auto width = [&](HWND tab, int i) {
    RECT r;
    SendMessage(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return static_cast<int>(r.right - r.left);
  };
  const int files = width(tab_, 1), advanced = width(tab_, 2);
  EXPECT_LT(files, advanced) << "a longer text, a wider tab";
  SendMessage(tab_, TCM_SETPADDING, 0, MAKELPARAM(20, 3));
  EXPECT_EQ(width(tab_, 1), files + 2 * (20 - 6)) << "the padding counts on both sides";
  EXPECT_EQ(SendMessage(tab_, TCM_SETMINTABWIDTH, 0, 200), 0);
  EXPECT_EQ(width(tab_, 1), 200);
  EXPECT_EQ(SendMessage(tab_, TCM_SETMINTABWIDTH, 0, -1), 200) << "the minimum before";
  EXPECT_EQ(width(tab_, 1), files + 2 * (20 - 6)) << "-1 puts the default minimum back";

  HWND fixed = CreateWindowEx(0, WC_TABCONTROL, nullptr, WS_CHILD | WS_VISIBLE | TCS_FIXEDWIDTH, 10, 220, 300, 100,
                              recorder_.Hwnd(), nullptr, nullptr, nullptr);
  for (const char* name : {"A", "A much longer name"}) {
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(name);
    TabCtrl_InsertItem(fixed, TabCtrl_GetItemCount(fixed), &item);
  }
  SendMessage(fixed, TCM_SETITEMSIZE, 0, MAKELPARAM(90, 24));
  EXPECT_EQ(width(fixed, 0), 90);
  EXPECT_EQ(width(fixed, 1), 90);
  EXPECT_EQ(LOWORD(SendMessage(fixed, TCM_SETITEMSIZE, 0, MAKELPARAM(70, 24))), 90);
}

// With an image the label grows by the image, half the padding and a pixel; a tab with neither
// text nor image has no label and is only as wide as the minimum width.
TEST_F(Tabs, WidthsWithAnImageAndWithoutALabel) {
  auto width = [&](int i) {
    RECT r;
    SendMessage(tab_, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return static_cast<int>(r.right - r.left);
  };
  HIMAGELIST images = SolidImages({RGB(255, 0, 0)});
  SendMessage(tab_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  const int plain = width(1);
  TCITEM item{};
  item.mask = TCIF_IMAGE;
  item.iImage = 0;
  SendMessage(tab_, TCM_SETITEM, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(width(1), plain + 16 + 6 / 2 + 1);
  TabCtrl_InsertItem(tab_, 3, &item);  // an image and no text
  EXPECT_EQ(width(3), 2 * 6 + 16 + 6 / 2 + 1);
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>("");
  EXPECT_EQ(TabCtrl_InsertItem(tab_, 4, &item), 4);
  EXPECT_EQ(width(4), 0);
  SendMessage(tab_, TCM_SETMINTABWIDTH, 0, 40);
  EXPECT_EQ(width(4), 40);
  SendMessage(tab_, TCM_SETIMAGELIST, 0, 0);
  ImageList_Destroy(images);
}

// What the parent is asked to draw when the whole tab control repaints.
std::vector<DRAWITEMSTRUCT> Redrawn(OwnerParent& parent, HWND tab) {
  parent.drawn.clear();
  InvalidateRect(tab, nullptr, TRUE);
  UpdateWindow(tab);
  return parent.drawn;
}

// An owner-drawn tab control draws the tabs' frames and asks its parent to draw each tab.
TEST(OwnerDrawnTabs, TheParentDrawsEachTabWithItsData) {
  UiSession session;
  OwnerParent parent;
  HWND tab = CreateWindowEx(0, WC_TABCONTROL, nullptr, WS_CHILD | WS_VISIBLE | TCS_OWNERDRAWFIXED, 10, 10, 300, 200,
                            parent.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(31)), nullptr, nullptr);
  ASSERT_NE(tab, nullptr);
  const LPARAM data[] = {1001, 1002, 1003};
  for (int i = 0; i < 3; ++i) {
    TCITEM item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>("Page");
    item.lParam = data[i];
    TabCtrl_InsertItem(tab, i, &item);
  }
  TabCtrl_SetCurSel(tab, 1);
  RunUntilIdle();
  const std::vector<DRAWITEMSTRUCT> drawn = Redrawn(parent, tab);
  ASSERT_EQ(drawn.size(), 3u);
  for (const DRAWITEMSTRUCT& d : drawn) {
    SCOPED_TRACE(d.itemID);
    ASSERT_LT(d.itemID, 3u);
    EXPECT_EQ(d.CtlType, static_cast<UINT>(ODT_TAB));
    EXPECT_EQ(d.CtlID, 31u);
    EXPECT_EQ(d.hwndItem, tab);
    EXPECT_EQ(d.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(d.itemData, static_cast<ULONG_PTR>(data[d.itemID]));
    EXPECT_EQ((d.itemState & ODS_SELECTED) != 0, d.itemID == 1);
    RECT r;
    SendMessage(tab, TCM_GETITEMRECT, d.itemID, reinterpret_cast<LPARAM>(&r));
    RECT both;
    // The selected tab is drawn a little larger than its place in the row.
    EXPECT_TRUE(IntersectRect(&both, &d.rcItem, &r) && EqualRect(&both, &r));
    if (d.itemID != 1) {
      EXPECT_TRUE(EqualRect(&d.rcItem, &r));
    }
  }
}

// A control made without WS_CHILD but given a parent tells and asks that window, as a child tells
// its parent: an owner-drawn tab control's drawing and selection, an edit's changes.
TEST(ControlsWithoutWsChild, TellTheWindowTheyWereGivenAsParent) {
  UiSession session;
  for (DWORD kind : {DWORD{WS_POPUP}, DWORD{0}}) {
    SCOPED_TRACE(kind);
    OwnerParent parent;
    HWND tab = CreateWindowEx(0, WC_TABCONTROL, nullptr, kind | WS_VISIBLE | TCS_OWNERDRAWFIXED, 40, 40, 300, 200,
                              parent.Hwnd(), nullptr, nullptr, nullptr);
    ASSERT_NE(tab, nullptr);
    for (int i = 0; i < 2; ++i) {
      TCITEM item{};
      item.mask = TCIF_PARAM;
      item.lParam = 500 + i;
      TabCtrl_InsertItem(tab, i, &item);
    }
    RunUntilIdle();
    const std::vector<DRAWITEMSTRUCT> drawn = Redrawn(parent, tab);
    EXPECT_EQ(drawn.size(), 2u) << "the parent draws both tabs";
    for (const DRAWITEMSTRUCT& d : drawn) EXPECT_EQ(d.hwndItem, tab);
    parent.notified.clear();
    SendMessage(tab, TCM_SETCURFOCUS, 1, 0);
    EXPECT_EQ(TabCtrl_GetCurSel(tab), 1);
    EXPECT_EQ(parent.notified, (std::vector<UINT>{static_cast<UINT>(TCN_SELCHANGING), static_cast<UINT>(TCN_SELCHANGE)}));
    DestroyWindow(tab);

    HWND edit = CreateWindowEx(0, WC_EDIT, nullptr, kind | WS_VISIBLE, 40, 300, 200, 24, parent.Hwnd(), nullptr,
                               nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    parent.commands.clear();
    SendMessage(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("typed"));
    EXPECT_NE(std::find(parent.commands.begin(), parent.commands.end(), static_cast<UINT>(EN_CHANGE)),
              parent.commands.end());
    DestroyWindow(edit);
  }
}

// A program may keep data of its own of any size with each tab (TCM_SETITEMEXTRA while there are
// none): it is stored, given back and handed to the parent that draws the tab.
TEST(OwnerDrawnTabs, KeepTheProgramsDataOfAnySize) {
  UiSession session;
  OwnerParent parent;
  struct Page {
    TCITEMHEADER header;
    int number;
    char name[20];
    double weight;
  };
  HWND tab = CreateWindowEx(0, WC_TABCONTROL, nullptr, WS_CHILD | WS_VISIBLE | TCS_OWNERDRAWFIXED, 10, 10, 300, 200,
                            parent.Hwnd(), reinterpret_cast<HMENU>(32), nullptr, nullptr);
  ASSERT_NE(tab, nullptr);
  constexpr size_t kData = sizeof(Page) - sizeof(TCITEMHEADER);
  ASSERT_GT(kData, sizeof(LPARAM));
  ASSERT_TRUE(SendMessage(tab, TCM_SETITEMEXTRA, kData, 0));
  for (int i = 0; i < 2; ++i) {
    Page page{};
    page.header.mask = TCIF_TEXT | TCIF_PARAM;
    page.header.pszText = const_cast<char*>("Page");
    page.number = 70 + i;
    snprintf(page.name, sizeof page.name, "page %d", i);
    page.weight = 1.5 * (i + 1);
    ASSERT_EQ(SendMessage(tab, TCM_INSERTITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&page)), i);
  }
  EXPECT_FALSE(SendMessage(tab, TCM_SETITEMEXTRA, sizeof(LPARAM), 0)) << "not once there are tabs";
  Page back{};
  back.header.mask = TCIF_PARAM;
  ASSERT_TRUE(SendMessage(tab, TCM_GETITEM, 1, reinterpret_cast<LPARAM>(&back)));
  EXPECT_EQ(back.number, 71);
  EXPECT_STREQ(back.name, "page 1");
  EXPECT_EQ(back.weight, 3.0);

  const std::vector<DRAWITEMSTRUCT> drawn = Redrawn(parent, tab);
  ASSERT_EQ(drawn.size(), 2u);
  for (const DRAWITEMSTRUCT& d : drawn) {
    SCOPED_TRACE(d.itemID);
    // Data longer than the item data field comes as its address.
    const auto* data = reinterpret_cast<const BYTE*>(d.itemData);
    ASSERT_NE(data, nullptr);
    int number = 0;
    std::memcpy(&number, data, sizeof number);
    EXPECT_EQ(number, static_cast<int>(70 + d.itemID));
  }
  DestroyWindow(tab);
}

}  // namespace

// The header control: its items, layout and hit testing, divider dragging with its tracking and
// change notifications, and clicks on titles drawn as buttons.
#include <gtest/gtest.h>

#include "NotifyHost.h"
#include "testing/UiTest.h"

using namespace brambolt::test;
using namespace ctltest;

namespace {

class Header : public ::testing::Test {
 protected:
  void SetUp() override {
    header_ = CreateWindowEx(0, WC_HEADER, nullptr, WS_CHILD | WS_VISIBLE | HDS_BUTTONS | HDS_FULLDRAG, 0, 0, 400, 24,
                             host_.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(7)), nullptr, nullptr);
    ASSERT_NE(header_, nullptr);
    SendMessage(header_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    Add("Name", 100, 11);
    Add("Size", 60, 12);
    Add("Type", 80, 13);
    RunUntilIdle();
    host_.Clear();
  }
  int Add(const char* text, int width, LPARAM data, int at = 99) {
    HDITEM item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_LPARAM | HDI_FORMAT;
    item.pszText = const_cast<char*>(text);
    item.cxy = width;
    item.lParam = data;
    item.fmt = HDF_LEFT | HDF_STRING;
    return Header_InsertItem(header_, at, &item);
  }
  int Width(int i) {
    HDITEM item{};
    item.mask = HDI_WIDTH;
    Header_GetItem(header_, i, &item);
    return item.cxy;
  }
  std::string Text(int i) {
    char buffer[32] = {};
    HDITEM item{};
    item.mask = HDI_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    Header_GetItem(header_, i, &item);
    return buffer;
  }
  RECT Rect(int i) {
    RECT r{};
    Header_GetItemRect(header_, i, &r);
    return r;
  }

  UiSession session_;
  NotifyHost host_;
  HWND header_ = nullptr;
};

TEST_F(Header, ItemsAreInsertedReadChangedAndDeleted) {
  EXPECT_EQ(Header_GetItemCount(header_), 3);
  EXPECT_EQ(Add("First", 40, 10, 0), 0);
  EXPECT_EQ(Text(0), "First");
  EXPECT_EQ(Text(1), "Name");
  HDITEM item{};
  item.mask = HDI_LPARAM | HDI_FORMAT | HDI_ORDER;
  ASSERT_TRUE(Header_GetItem(header_, 3, &item));
  EXPECT_EQ(item.lParam, 13);
  EXPECT_EQ(item.iOrder, 3);
  EXPECT_EQ(item.fmt, HDF_LEFT | HDF_STRING);
  item.mask = HDI_TEXT;
  item.pszText = const_cast<char*>("Renamed");
  EXPECT_TRUE(Header_SetItem(header_, 1, &item));
  EXPECT_EQ(Text(1), "Renamed");
  EXPECT_TRUE(Header_DeleteItem(header_, 0));
  EXPECT_FALSE(Header_DeleteItem(header_, 5));
  EXPECT_FALSE(Header_GetItem(header_, 3, &item));
  EXPECT_EQ(Header_GetItemCount(header_), 3);
  EXPECT_EQ(Text(0), "Renamed");
}

TEST_F(Header, ItemRectanglesFollowEachOtherInDisplayOrder) {
  EXPECT_EQ(Rect(0).left, 0);
  EXPECT_EQ(Rect(0).right, 100);
  EXPECT_EQ(Rect(1).left, 100);
  EXPECT_EQ(Rect(2).right, 240);
  int order[] = {2, 0, 1};
  EXPECT_TRUE(SendMessage(header_, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
  EXPECT_EQ(Rect(2).left, 0);
  EXPECT_EQ(Rect(0).left, 80);
  EXPECT_EQ(SendMessage(header_, HDM_ORDERTOINDEX, 0, 0), 2);
  int bad[] = {0, 0, 1};
  EXPECT_FALSE(SendMessage(header_, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(bad)));
  int back[3] = {};
  EXPECT_TRUE(SendMessage(header_, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(back)));
  EXPECT_EQ(back[0], 2);
}

TEST_F(Header, LayoutPlacesTheHeaderOnTopAndShrinksTheRest) {
  RECT area{0, 0, 300, 200};
  WINDOWPOS pos{};
  HDLAYOUT layout{&area, &pos};
  ASSERT_TRUE(Header_Layout(header_, &layout));
  EXPECT_EQ(pos.x, 0);
  EXPECT_EQ(pos.y, 0);
  EXPECT_EQ(pos.cx, 300);
  EXPECT_GT(pos.cy, 10);
  EXPECT_EQ(area.top, pos.cy);
  EXPECT_EQ(area.bottom, 200);
}

struct HitCase {
  const char* name;
  POINT point;
  int item;
  UINT flags;
};

class HeaderHits : public Header, public ::testing::WithParamInterface<HitCase> {};

TEST_P(HeaderHits, HitTestNamesItemsAndDividers) {
  HDHITTESTINFO hit{};
  hit.pt = GetParam().point;
  EXPECT_EQ(SendMessage(header_, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), GetParam().item);
  EXPECT_EQ(hit.iItem, GetParam().item);
  EXPECT_EQ(hit.flags, GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(Points, HeaderHits,
                         ::testing::Values(HitCase{"OnTitle", {50, 10}, 0, HHT_ONHEADER},
                                           HitCase{"OnSecondTitle", {130, 10}, 1, HHT_ONHEADER},
                                           HitCase{"LeftOfDivider", {97, 10}, 0, HHT_ONDIVIDER},
                                           HitCase{"RightOfDivider", {103, 10}, 0, HHT_ONDIVIDER},
                                           HitCase{"LastDivider", {240, 10}, 2, HHT_ONDIVIDER},
                                           HitCase{"PastTheItems", {300, 10}, -1, HHT_NOWHERE},
                                           HitCase{"Below", {50, 30}, -1, HHT_BELOW},
                                           HitCase{"LeftOfControl", {-5, 10}, -1, HHT_TOLEFT}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Header, DraggingADividerTracksAndChangesTheWidth) {
  Drag(header_, POINT{100, 10}, POINT{140, 10}, 4);
  EXPECT_EQ(Width(0), 140);
  EXPECT_EQ(Rect(1).left, 140);
  std::vector<UINT> codes = host_.Codes();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), HDN_BEGINTRACK);
  EXPECT_EQ(host_.Of(HDN_BEGINTRACK)[0].width, 100);
  EXPECT_FALSE(host_.Of(HDN_TRACK).empty());
  auto end = host_.Of(HDN_ENDTRACK);
  ASSERT_EQ(end.size(), 1u);
  EXPECT_EQ(end[0].width, 140);
  auto changed = host_.Of(HDN_ITEMCHANGED);
  ASSERT_FALSE(changed.empty());
  EXPECT_EQ(changed.back().item, 0);
  EXPECT_EQ(changed.back().width, 140);
  EXPECT_EQ(host_.Of(HDN_ITEMCHANGING).size(), changed.size());
  EXPECT_TRUE(host_.Of(HDN_ITEMCLICK).empty());
}

TEST_F(Header, DraggingBelowZeroStopsAtZeroWidth) {
  Drag(header_, POINT{240, 10}, POINT{120, 10}, 3);
  EXPECT_EQ(Width(2), 0);
}

TEST_F(Header, AParentThatRefusesBeginTrackKeepsTheWidth) {
  host_.answer = [](NMHDR* nm) -> LRESULT { return nm->code == HDN_BEGINTRACK; };
  Drag(header_, POINT{100, 10}, POINT{150, 10}, 3);
  EXPECT_EQ(Width(0), 100);
  EXPECT_TRUE(host_.Of(HDN_ITEMCHANGED).empty());
  EXPECT_TRUE(host_.Of(HDN_ENDTRACK).empty());
}

TEST_F(Header, WithoutFullDragTheWidthChangesWhenTheButtonComesUp) {
  SetWindowLong(header_, GWL_STYLE, GetWindowLong(header_, GWL_STYLE) & ~HDS_FULLDRAG);
  ButtonDown(header_, POINT{100, 10});
  MoveMouse(header_, POINT{120, 10});
  EXPECT_EQ(Width(0), 100);
  ASSERT_FALSE(host_.Of(HDN_TRACK).empty());
  EXPECT_EQ(host_.Of(HDN_TRACK).back().width, 120);
  ButtonUp(header_, POINT{130, 10});
  EXPECT_EQ(Width(0), 130);
  EXPECT_EQ(host_.Of(HDN_ITEMCHANGED).size(), 1u);
}

TEST_F(Header, ClickingATitleButtonNotifiesItemClick) {
  Click(header_, POINT{130, 10});
  auto clicks = host_.Of(HDN_ITEMCLICK);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].item, 1);
  EXPECT_EQ(clicks[0].from, header_);
  EXPECT_EQ(clicks[0].id, 7u);
}

TEST_F(Header, ReleasingAwayFromThePressedTitleIsNoClick) {
  ButtonDown(header_, POINT{130, 10});
  MoveMouse(header_, POINT{200, 10});
  ButtonUp(header_, POINT{200, 10});
  EXPECT_TRUE(host_.Of(HDN_ITEMCLICK).empty());
}

TEST_F(Header, ARightClickIsNotified) {
  Click(header_, POINT{130, 10}, kNone, WM_RBUTTONDOWN);
  EXPECT_EQ(host_.Codes(), std::vector<UINT>{NM_RCLICK});
  EXPECT_TRUE(host_.Of(HDN_ITEMCLICK).empty());
}

TEST_F(Header, TitlesWithoutButtonsAreNotClicked) {
  SetWindowLong(header_, GWL_STYLE, GetWindowLong(header_, GWL_STYLE) & ~HDS_BUTTONS);
  Click(header_, POINT{130, 10});
  EXPECT_TRUE(host_.Of(HDN_ITEMCLICK).empty());
}

TEST_F(Header, SetItemAsksAndTellsAndCanBeRefused) {
  HDITEM item{};
  item.mask = HDI_WIDTH;
  item.cxy = 70;
  EXPECT_TRUE(Header_SetItem(header_, 1, &item));
  EXPECT_EQ(host_.Codes(), (std::vector<UINT>{HDN_ITEMCHANGING, HDN_ITEMCHANGED}));
  EXPECT_EQ(Width(1), 70);
  host_.answer = [](NMHDR* nm) -> LRESULT { return nm->code == HDN_ITEMCHANGING; };
  item.cxy = 10;
  EXPECT_FALSE(Header_SetItem(header_, 1, &item));
  EXPECT_EQ(Width(1), 70);
}

TEST_F(Header, TitlesShowImagesOfTheirImageList) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, 16, 16};
  HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
  FillRect(dc, &all, green);
  DeleteObject(green);
  SelectObject(dc, old);
  DeleteDC(dc);
  ImageList_Add(images, bitmap, nullptr);
  DeleteObject(bitmap);
  EXPECT_EQ(SendMessage(header_, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images)), 0);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessage(header_, HDM_GETIMAGELIST, 0, 0)), images);
  HDITEM item{};
  item.mask = HDI_IMAGE | HDI_FORMAT;
  item.iImage = 0;
  item.fmt = HDF_LEFT | HDF_STRING | HDF_IMAGE;
  Header_SetItem(header_, 1, &item);
  RunUntilIdle();
  RECT r = Rect(1);
  RECT client;
  GetClientRect(header_, &client);
  EXPECT_EQ(WindowPixel(header_, r.left + 6 + 8, client.bottom / 2), RGB(0, 160, 0));
  EXPECT_NE(WindowPixel(header_, Rect(0).left + 6 + 8, client.bottom / 2), RGB(0, 160, 0));
  SendMessage(header_, HDM_SETIMAGELIST, 0, 0);
  ImageList_Destroy(images);
}

TEST_F(Header, TitlesAreDrawnAsRaisedButtons) {
  RunUntilIdle();
  // A raised edge: highlight on the left and top, dark shadow on the right and bottom.
  RECT r = Rect(1);
  RECT client;
  GetClientRect(header_, &client);
  EXPECT_EQ(WindowPixel(header_, r.left, 10), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(WindowPixel(header_, r.right - 1, 10), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(WindowPixel(header_, 130, client.bottom - 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(WindowPixel(header_, 130, 0), GetSysColor(COLOR_3DHILIGHT));
}

}  // namespace

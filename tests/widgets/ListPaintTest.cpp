// The list engine's drawing, checked by pixel: selected rows with and without the focus, a
// disabled list, the header band, the scroll bars' corner square; and the colour decision table.
#include "tests/widgets/ListTestSupport.h"

using brambolt::test::RunUntilIdle;
using brambolt::test::WindowPixel;
using widgets_testing::FillLabels;
using widgets_testing::ListHost;

namespace {

// A point inside row `row`'s highlighted label area but clear of its text.
POINT FillPoint(SECListCtrl& list, int row) {
  CRect label;
  EXPECT_TRUE(list.GetSubItemRect(row, 0, &label, 2));
  return {label.left - 1, label.top + 1};
}

TEST(ListPaint, SelectedRowsShowTheHighlightWithFocusAndTheMenuColoursWithout) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, {"first", "second", "third"}, 120);
  host.list.AppendColumn("Other", LVCFMT_LEFT, 80);
  host.list.SetFocus();
  RunUntilIdle();
  POINT selected = FillPoint(host.list, 0), plain = FillPoint(host.list, 1);
  EXPECT_EQ(WindowPixel(host.Hwnd(), selected.x, selected.y), ::GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(WindowPixel(host.Hwnd(), plain.x, plain.y), ::GetSysColor(COLOR_WINDOW));
  // Only the label column is highlighted without full-row selection.
  EXPECT_EQ(WindowPixel(host.Hwnd(), 150, selected.y), ::GetSysColor(COLOR_WINDOW));
  host.list.ModifyExStyle(0, LVXS_FULLROWSELECT);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(host.Hwnd(), 150, selected.y), ::GetSysColor(COLOR_HIGHLIGHT));
  // Another window takes the focus: the selection shows in the menu colours while it shows.
  host.list.ModifyStyle(0, LVS_SHOWSELALWAYS);
  host.parent.SetFocus();
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(host.Hwnd(), selected.x, selected.y), ::GetSysColor(COLOR_MENU));
  // A disabled list draws everything on the inactive background.
  host.list.EnableWindow(FALSE);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(host.Hwnd(), plain.x, plain.y), ::GetSysColor(COLOR_MENU));
  // The header band is button face.
  EXPECT_EQ(WindowPixel(host.Hwnd(), 60, 10), ::GetSysColor(COLOR_BTNFACE));
}

TEST(ListPaint, BothScrollBarsLeaveAButtonFaceCornerAndNarrowColumnsNoHorizontalBar) {
  ListHost<SECListCtrl> host;
  std::vector<std::string> labels(30, "row");
  FillLabels(host.list, labels, 100);
  host.list.AppendColumn("Wide", LVCFMT_LEFT, 150);
  host.list.SetColumnWidth(0, 100);
  host.list.RecalcLayout();
  RunUntilIdle();
  CScrollBar* horz = host.list.GetScrollBarCtrl(SB_HORZ);
  EXPECT_TRUE(horz == nullptr || !horz->IsWindowVisible());
  EXPECT_EQ(host.list.GetHorzScrollOffset(), 0);
  host.list.SetColumnWidth(1, 400);
  host.list.RecalcLayout();
  host.list.Invalidate();
  RunUntilIdle();
  ASSERT_NE(host.list.GetScrollBarCtrl(SB_HORZ), nullptr);
  ASSERT_NE(host.list.GetScrollBarCtrl(SB_VERT), nullptr);
  EXPECT_TRUE(host.list.GetScrollBarCtrl(SB_HORZ)->IsWindowVisible());
  CRect client;
  host.list.GetClientRect(&client);
  EXPECT_EQ(WindowPixel(host.Hwnd(), client.right - 3, client.bottom - 3), ::GetSysColor(COLOR_BTNFACE));
  // SB_RIGHT reaches the largest offset from anywhere.
  host.list.SendMessage(WM_HSCROLL, SB_RIGHT, 0);
  CRect area;
  host.list.GetListArea(&area);
  EXPECT_EQ(host.list.GetHorzScrollOffset(), 500 - area.Width());
  host.list.SendMessage(WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_EQ(host.list.GetHorzScrollOffset(), 500 - area.Width());
}

TEST(ListPaint, AOneColumnListKeepsItsColumnAsWideAsTheListArea) {
  ListHost<SECListCtrl> host;
  FillLabels(host.list, {"a"}, 50);
  host.list.MoveWindow(0, 0, 250, 150);
  RunUntilIdle();
  CRect area;
  host.list.GetListArea(&area);
  EXPECT_EQ(host.list.GetColumnWidth(0), area.Width());
}

TEST(ListPaint, OneLineLabelsShowTheirFirstLineOnly) {
  ListHost<SECListCtrl> host(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOLABELWRAP);
  ListHost<SECListCtrl> wrapping;
  for (auto* list : {&host.list, &wrapping.list}) FillLabels(*list, {"first line\nsecond line"});
  RunUntilIdle();
  CRect oneLine, twoLines;
  host.list.GetSubItemRect(0, 0, &oneLine, 0);
  wrapping.list.GetSubItemRect(0, 0, &twoLines, 0);
  EXPECT_GT(twoLines.Height(), oneLine.Height() + 5);
}

TEST(ListPaint, IconViewLaysCellsOutInLinesAsTallAsTheirTallestCell) {
  ListHost<SECListCtrl> host(WS_CHILD | WS_VISIBLE | LVS_ICON, CRect(0, 0, 300, 200));
  CImageList images;
  widgets_testing::MakeSolidImage(images, RGB(255, 0, 0));
  host.list.SetImageList(&images, LVSIL_NORMAL);
  host.list.SetColumnWidth(0, 80);
  // Row 1's label wraps to more lines than the others and makes the first line taller.
  const char* labels[] = {"one", "a label long enough to wrap in its cell", "three", "four", "five"};
  host.list.SetAutoRedraw(TRUE);
  for (int i = 0; i < 5; ++i) {
    host.list.InsertItem(i, labels[i], 0);
    RunUntilIdle();  // each insertion shows at once
  }
  int firstLine = 0;
  for (int i = 0; i < 3; ++i) firstLine = std::max(firstLine, host.list.GetItemRecord(i)->m_cy);
  ASSERT_GT(host.list.GetItemRecord(1)->m_cy, host.list.GetItemRecord(0)->m_cy) << "a wrapped label is taller";
  // Three 80-pixel cells fit in 300 pixels; the fourth starts the next line, below the tallest cell.
  struct Cell {
    int row, x, y;
  };
  for (Cell cell : {Cell{0, 0, 0}, Cell{1, 80, 0}, Cell{2, 160, 0}, Cell{3, 0, firstLine}, Cell{4, 80, firstLine}}) {
    SCOPED_TRACE(cell.row);
    // The image is centred in the cell's width, 2 pixels below its top.
    int cx = cell.x + 40, top = cell.y + 2;
    EXPECT_EQ(WindowPixel(host.Hwnd(), cx, top + 1), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(host.Hwnd(), cx - 15, top + 30), RGB(255, 0, 0));
    EXPECT_NE(WindowPixel(host.Hwnd(), cx - 17, top + 16), RGB(255, 0, 0));
    EXPECT_NE(WindowPixel(host.Hwnd(), cx + 17, top + 16), RGB(255, 0, 0));
  }
  EXPECT_NE(WindowPixel(host.Hwnd(), 200, firstLine + 18), RGB(255, 0, 0)) << "no sixth cell";
  host.list.SetImageList(nullptr, LVSIL_NORMAL);
}

}  // namespace

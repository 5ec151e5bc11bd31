// Tests of the customisable toolbar's row layout: wrapping at separators, balancing the rows and
// the size of a horizontal or vertical layout.
#include <gtest/gtest.h>

#include <string>

#include "bars/SECCustomToolBarLayout.h"

namespace {

using namespace brambolt::toolbar;

// "B" a 23 x 22 button, "|" an 8 x 22 separator, "W" a 60 x 22 window button.
std::vector<LayoutItem> Bar(const std::string& spec) {
  std::vector<LayoutItem> items;
  for (char c : spec) {
    if (c == 'B') items.push_back({23, 22, false, false});
    if (c == 'W') items.push_back({60, 22, false, false});
    if (c == '|') items.push_back({8, 22, true, false});
  }
  return items;
}

// The bar with a '/' after every button that ends a row.
std::string Rows(const std::vector<LayoutItem>& items) {
  std::string out;
  for (const LayoutItem& item : items) {
    out += item.separator ? '|' : (item.cx == 60 ? 'W' : 'B');
    if (item.wrap) out += '/';
  }
  return out;
}

TEST(CustomToolBarLayout, WrapBreaksAtTheNearestSeparatorElseBeforeTheOverflowingButton) {
  struct Case {
    const char* bar;
    int width;
    std::vector<int> lasts;
    std::vector<bool> separatorBreaks;
    std::vector<int> widths;
  } cases[] = {
      {"BBB", 1000, {2}, {false}, {69}},
      {"BBB", 46, {1, 2}, {false, false}, {46, 23}},
      {"BBB", 43, {0, 1, 2}, {false, false, false}, {23, 23, 23}},  // 46 > 43 + 2
      {"BB|BB", 70, {2, 4}, {true, false}, {46, 46}},               // the closing separator is not counted
      {"B|BBB", 80, {1, 4}, {true, false}, {23, 69}},
      {"BBBB", 0, {0, 1, 2, 3}, {false, false, false, false}, {23, 23, 23, 23}},
      {"W", 10, {0}, {false}, {60}},  // a button wider than the width still takes a row
  };
  for (const Case& c : cases) {
    std::vector<LayoutItem> items = Bar(c.bar);
    std::vector<LayoutRow> rows;
    ASSERT_EQ(WrapButtons(items, c.width, rows), static_cast<int>(c.lasts.size())) << c.bar << " @" << c.width;
    for (size_t r = 0; r < rows.size(); ++r) {
      EXPECT_EQ(rows[r].last, c.lasts[r]) << c.bar << " row " << r;
      EXPECT_EQ(rows[r].separatorBreak, c.separatorBreaks[r]) << c.bar << " row " << r;
      EXPECT_EQ(rows[r].width, c.widths[r]) << c.bar << " row " << r;
      EXPECT_EQ(rows[r].height, 22);
    }
  }
}

TEST(CustomToolBarLayout, BalancingMovesButtonsDownUntilTheRowsAreEven) {
  // Four buttons wrapped at 70 come out 3 + 1; balanced they are 2 + 2.
  std::vector<LayoutItem> items = Bar("BBBB");
  std::vector<LayoutRow> rows;
  WrapButtons(items, 70, rows);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].width, 69);
  BalanceRows(items, rows);
  EXPECT_EQ(rows[0].last, 1);
  EXPECT_EQ(rows[1].width, 46);

  // A row broken at a separator hands its trailing group (with its closing separator) down.
  items = Bar("BB|BB|BB|BB");
  WrapButtons(items, 160, rows);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].last, 8);
  EXPECT_EQ(rows[0].width, 154);
  BalanceRows(items, rows);
  EXPECT_EQ(rows[0].last, 5);
  EXPECT_TRUE(rows[0].separatorBreak);
  EXPECT_EQ(rows[0].width, 100);
  EXPECT_EQ(rows[1].width, 100);

  // A move that would only make the next row the widest is not made.
  items = Bar("BB|BB|BB");
  WrapButtons(items, 120, rows);
  BalanceRows(items, rows);
  EXPECT_EQ(rows[0].last, 5);
}

TEST(CustomToolBarLayout, RowCanTakeAsksTheNextRowsWithoutChangingThem) {
  std::vector<LayoutItem> items = Bar("BB|BB|BB|B");
  std::vector<LayoutRow> rows;
  WrapButtons(items, 110, rows);
  ASSERT_GE(rows.size(), 2u);
  const std::vector<LayoutRow> before = rows;
  EXPECT_FALSE(RowCanTake(items, rows, static_cast<int>(rows.size()) - 1, 1000));  // the last row
  EXPECT_TRUE(RowCanTake(items, rows, 0, 1000));
  EXPECT_FALSE(RowCanTake(items, rows, 0, 10));
  ASSERT_EQ(rows.size(), before.size());
  for (size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(rows[r].last, before[r].last);
}

TEST(CustomToolBarLayout, WrapLayoutMarksRowEndsAndAddsTheGapAfterASeparatorBreak) {
  const LayoutMetrics metrics;
  ASSERT_EQ(metrics.RowGap(), 5);
  struct Case {
    const char* bar;
    int length;
    bool vertical;
    const char* rows;
    int cx, cy;
  } cases[] = {
      {"BBB|BB", 32767, false, "BBB|BB", 123, 22},
      // One column: every button a row, the separator closes its row and adds a 5-pixel gap.
      {"BB|B", 0, false, "B/B|/B", 23, 71},
      {"BBBBBB", 70, false, "BBB/BBB", 69, 44},
      // Vertical: as many rows as fit in the height, at least one button wide.
      {"BBBB", 44, true, "BB/BB", 46, 44},
      {"BBBB", 22, true, "BBBB", 92, 22},
      {"BBBB", 1000, true, "B/B/B/B", 23, 88},
  };
  for (const Case& c : cases) {
    std::vector<LayoutItem> items = Bar(c.bar);
    const LayoutSize size = WrapLayout(items, c.length, c.vertical, metrics);
    EXPECT_EQ(Rows(items), c.rows) << c.bar << " @" << c.length;
    EXPECT_EQ(size.cx, c.cx) << c.bar << " @" << c.length;
    EXPECT_EQ(size.cy, c.cy) << c.bar << " @" << c.length;
  }
  std::vector<LayoutItem> none;
  EXPECT_EQ(WrapLayout(none, 100, false, metrics).cx, 0);
}

}  // namespace

// How a customisable toolbar breaks its buttons into rows and evens the rows out.
#include "bars/SECCustomToolBarLayout.h"

#include <algorithm>

namespace brambolt::toolbar {
namespace {

using Items = std::span<const LayoutItem>;

int RowStart(const std::vector<LayoutRow>& rows, size_t row) { return row == 0 ? 0 : rows[row - 1].last + 1; }

LayoutRow MeasureRow(Items items, int first, int last, bool separatorBreak) {
  LayoutRow row{last, separatorBreak, 0, 0};
  int separatorHeight = 0;
  for (int i = first; i <= last; ++i) {
    const LayoutItem& item = items[static_cast<size_t>(i)];
    if (!(separatorBreak && i == last)) row.width += item.cx;
    if (item.separator)
      separatorHeight = std::max(separatorHeight, item.cy);
    else
      row.height = std::max(row.height, item.cy);
  }
  if (row.height == 0) row.height = separatorHeight;
  return row;
}

// Makes `row` end at newLast and gives the rest of it to the next row.
void MoveRowEnd(Items items, std::vector<LayoutRow>& rows, size_t row, int newLast, bool separatorBreak) {
  const int first = RowStart(rows, row);
  rows[row] = MeasureRow(items, first, newLast, separatorBreak);
  rows[row + 1] = MeasureRow(items, newLast + 1, rows[row + 1].last, rows[row + 1].separatorBreak);
}

// The last separator inside a row broken at a separator that has buttons after it, -1 when none.
int InnerSeparator(Items items, const std::vector<LayoutRow>& rows, size_t row) {
  const int first = RowStart(rows, row);
  const int close = rows[row].last;
  for (int i = close - 1; i > first; --i) {
    if (items[static_cast<size_t>(i)].separator) return i < close - 1 ? i : -1;
  }
  return -1;
}

int GroupWidth(Items items, int from, int to) {
  int width = 0;
  for (int i = from; i <= to; ++i) width += items[static_cast<size_t>(i)].cx;
  return width;
}

size_t WidestRow(const std::vector<LayoutRow>& rows) {
  size_t widest = 0;
  for (size_t r = 1; r < rows.size(); ++r) {
    if (rows[r].width > rows[widest].width) widest = r;
  }
  return widest;
}

int RowsHeight(const std::vector<LayoutRow>& rows, const LayoutMetrics& metrics) {
  int height = 0;
  for (const LayoutRow& row : rows) height += row.height + (row.separatorBreak ? metrics.RowGap() : 0);
  return height;
}

int RowsWidth(const std::vector<LayoutRow>& rows) {
  int width = 0;
  for (const LayoutRow& row : rows) width = std::max(width, row.width);
  return width;
}

}  // namespace

int WrapButtons(std::span<const LayoutItem> items, int width, std::vector<LayoutRow>& rows) {
  rows.clear();
  const int count = static_cast<int>(items.size());
  int start = 0;
  int x = 0;
  for (int i = 0; i < count;) {
    const int cx = items[static_cast<size_t>(i)].cx;
    if (i > start && x + cx > width + 2) {
      int separator = -1;
      for (int j = i; j > start && separator < 0; --j) {
        if (items[static_cast<size_t>(j)].separator) separator = j;
      }
      const int last = separator >= 0 ? separator : i - 1;
      rows.push_back(MeasureRow(items, start, last, separator >= 0));
      start = i = last + 1;
      x = 0;
      continue;
    }
    x += cx;
    ++i;
  }
  if (start < count) rows.push_back(MeasureRow(items, start, count - 1, false));
  return static_cast<int>(rows.size());
}

bool RowCanTake(std::span<const LayoutItem> items, std::vector<LayoutRow>& rows, int row, int limit) {
  const size_t r = static_cast<size_t>(row);
  if (r + 1 >= rows.size() || !rows[r].separatorBreak) return false;
  const int inner = InnerSeparator(items, rows, r);
  if (inner < 0) return false;
  if (rows[r + 1].width + GroupWidth(items, inner + 1, rows[r].last) < limit) return true;
  const LayoutRow saved[2] = {rows[r], rows[r + 1]};
  MoveRowEnd(items, rows, r, inner, true);
  const bool canTake = RowCanTake(items, rows, row + 1, limit);
  rows[r] = saved[0];
  rows[r + 1] = saved[1];
  return canTake;
}

void BalanceRows(std::span<const LayoutItem> items, std::vector<LayoutRow>& rows) {
  if (rows.size() < 2) return;
  // Every move hands width to a later row, so the loop ends; the bound only guards that proof.
  for (size_t moves = 0; moves <= items.size() * rows.size(); ++moves) {
    const size_t widest = WidestRow(rows);
    if (widest + 1 == rows.size()) return;
    LayoutRow& row = rows[widest];
    const LayoutRow& next = rows[widest + 1];
    if (!row.separatorBreak) {
      if (row.last - RowStart(rows, widest) < 1) return;
      const int buttonWidth = items[static_cast<size_t>(row.last)].cx;
      if (row.width <= buttonWidth + next.width) {
        size_t target = widest + 1;
        while (target + 1 < rows.size() && !rows[target].separatorBreak) ++target;
        if (target == widest + 1 || row.width < rows[target].width + buttonWidth) return;
      }
      MoveRowEnd(items, rows, widest, row.last - 1, false);
    } else {
      const int inner = InnerSeparator(items, rows, widest);
      if (inner < 0) return;
      // The group takes the row's closing separator down with it.
      const int groupWidth = GroupWidth(items, inner + 1, row.last);
      if (row.width <= next.width + groupWidth &&
          !RowCanTake(items, rows, static_cast<int>(widest), row.width))
        return;
      MoveRowEnd(items, rows, widest, inner, true);
    }
  }
}

LayoutSize WrapLayout(std::span<LayoutItem> items, int length, bool vertical, const LayoutMetrics& metrics) {
  if (items.empty()) return {};
  int widest = 0;
  int narrowest = 0;
  for (const LayoutItem& item : items) {
    widest = std::max(widest, item.cx);
    if (!item.separator) narrowest = narrowest == 0 ? item.cx : std::min(narrowest, item.cx);
  }
  if (narrowest == 0) narrowest = widest;

  std::vector<LayoutRow> rows;
  if (!vertical) {
    WrapButtons(items, std::max(length, widest), rows);
  } else {
    const int count = static_cast<int>(items.size());
    const int step = std::max(1, metrics.buttonWidth);
    const int fit = std::max(1, length / std::max(1, metrics.buttonHeight));
    int width = std::max(narrowest, count * metrics.buttonWidth / fit);
    WrapButtons(items, width, rows);
    if (RowsHeight(rows, metrics) > length) {
      while (RowsHeight(rows, metrics) > length && rows.size() > 1) WrapButtons(items, width += step, rows);
    } else {
      while (width - step >= narrowest) {
        WrapButtons(items, width - step, rows);
        if (RowsHeight(rows, metrics) > length) {
          WrapButtons(items, width, rows);
          break;
        }
        width -= step;
      }
    }
  }
  BalanceRows(items, rows);

  for (LayoutItem& item : items) item.wrap = false;
  for (size_t r = 0; r + 1 < rows.size(); ++r) items[static_cast<size_t>(rows[r].last)].wrap = true;
  return {RowsWidth(rows), RowsHeight(rows, metrics)};
}

}  // namespace brambolt::toolbar

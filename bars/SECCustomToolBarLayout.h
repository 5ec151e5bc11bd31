// How a customisable toolbar breaks its buttons into rows: the wrap, the balancing of row widths
// and the size of the result, over plain button records so that they are tested without windows.
#pragma once

#include <span>
#include <vector>

namespace brambolt::toolbar {

// One visible button as the layout sees it; `wrap` (the row ends after it) is the output.
struct LayoutItem {
  int cx = 0;
  int cy = 0;
  bool separator = false;
  bool wrap = false;
};

// One row: its last button (a closing separator when broken at one), its width without the
// closing separator and the height of its tallest button (of its tallest separator when it
// holds nothing else).
struct LayoutRow {
  int last = 0;
  bool separatorBreak = false;
  int width = 0;
  int height = 0;
};

// The metrics of the bar the buttons sit on.
struct LayoutMetrics {
  int buttonWidth = 23;
  int buttonHeight = 22;
  int separatorWidth = 8;
  // The gap below a row broken at a separator.
  int RowGap() const { return 2 * separatorWidth / 3; }
};

// Breaks the buttons into rows no wider than width + 2: at the nearest separator after the last
// break, searching back from the button that overflows, else before that button. Returns the
// number of rows.
int WrapButtons(std::span<const LayoutItem> items, int width, std::vector<LayoutRow>& rows);

// Moves buttons down from the widest row (one button, or the group after a row's last inner
// separator) while that evens the widths out.
void BalanceRows(std::span<const LayoutItem> items, std::vector<LayoutRow>& rows);

// Whether the trailing group of `row` can move down without the next rows growing to `limit`.
bool RowCanTake(std::span<const LayoutItem> items, std::vector<LayoutRow>& rows, int row, int limit);

// Lays the buttons out for a length: a width when !vertical, else a height that the rows should
// fit in. Sets every item's wrap mark and returns the size of the rows (gaps included).
struct LayoutSize {
  int cx = 0;
  int cy = 0;
};
LayoutSize WrapLayout(std::span<LayoutItem> items, int length, bool vertical, const LayoutMetrics& metrics);

}  // namespace brambolt::toolbar

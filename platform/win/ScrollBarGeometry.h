// The parts of a scroll bar (arrows, page areas, thumb) for a range, page and position; shared by
// window scroll bars and the scroll-bar control.
#pragma once

#include "base/base.h"

namespace brambolt::wm {

struct ScrollBarParts {
  RECT bar{};
  RECT arrowLow{};   // up or left
  RECT arrowHigh{};  // down or right
  RECT pageLow{};
  RECT pageHigh{};
  RECT thumb{};      // empty when the bar cannot scroll
  int shaftStart = 0;
  int shaftLength = 0;
  int thumbLength = 0;
};

ScrollBarParts ScrollBarLayout(const RECT& bar, bool vertical, int min, int max, UINT page, int pos);
// The position a thumb dragged to `pt` stands for; grabOffset is where the thumb was held.
int ScrollBarPosFromPoint(const ScrollBarParts& parts, bool vertical, int min, int max, UINT page,
                          int grabOffset, POINT pt);

}  // namespace brambolt::wm

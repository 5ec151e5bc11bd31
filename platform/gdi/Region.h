// Regions as y-x banded rectangle lists: the clip, visible and update areas of device contexts
// and windows, and the objects behind HRGN.
#pragma once

#include <vector>

#include "base/base.h"
#include "gdi/GdiTypes.h"

namespace brambolt {

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& r) { SetRect(r); }
  Region(int left, int top, int right, int bottom) { SetRect(RECT{left, top, right, bottom}); }

  static Region FromPolygons(const POINT* points, const int* counts, int polygonCount, int fillMode);
  static Region FromEllipse(const RECT& box);
  static Region FromRoundRect(const RECT& box, int cornerWidth, int cornerHeight);
  // The union of any rectangles (empty ones are skipped).
  static Region FromRects(const RECT* rects, size_t count);

  void SetEmpty();
  void SetRect(const RECT& r);
  bool IsEmpty() const { return rects_.empty(); }
  // The bounding box; all zero when empty.
  RECT Box() const { return box_; }
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Type() const;
  // Rectangles sorted by top then left; rectangles of one band share top and bottom.
  const std::vector<RECT>& Rects() const { return rects_; }

  void Offset(int dx, int dy);
  bool Contains(int x, int y) const;
  // True when any pixel of r (exclusive right/bottom) is in the region.
  bool Intersects(const RECT& r) const;
  // True when every pixel of r is in the region.
  bool ContainsRect(const RECT& r) const;

  // Combines a and b with RGN_AND/OR/XOR/DIFF/COPY (COPY takes a).
  static Region Combine(const Region& a, const Region& b, int mode);
  Region& Intersect(const Region& other) { return *this = Combine(*this, other, RGN_AND); }
  Region& Unite(const Region& other) { return *this = Combine(*this, other, RGN_OR); }
  Region& Subtract(const Region& other) { return *this = Combine(*this, other, RGN_DIFF); }
  Region& Xor(const Region& other) { return *this = Combine(*this, other, RGN_XOR); }
  Region& IntersectRect(const RECT& r);
  Region& SubtractRect(const RECT& r) { return Subtract(Region(r)); }

  bool operator==(const Region& other) const;
  bool operator!=(const Region& other) const { return !(*this == other); }

  // Calls f(x0, x1) for each piece of row y within [x0, x1) that lies in the region.
  template <class F>
  void ForEachSpan(int y, int x0, int x1, F&& f) const {
    if (y < box_.top || y >= box_.bottom || x1 <= box_.left || x0 >= box_.right) return;
    size_t i = FirstRectBelow(y);
    if (i >= rects_.size() || rects_[i].top > y) return;
    const LONG top = rects_[i].top;
    for (; i < rects_.size() && rects_[i].top == top; ++i) {
      if (rects_[i].right <= x0) continue;
      if (rects_[i].left >= x1) break;
      int a = rects_[i].left > x0 ? rects_[i].left : x0;
      int b = rects_[i].right < x1 ? rects_[i].right : x1;
      f(a, b);
    }
  }
  // Calls f(RECT) for each rectangle of the region clipped to r.
  template <class F>
  void ForEachRectIn(const RECT& r, F&& f) const {
    if (r.right <= box_.left || r.left >= box_.right || r.bottom <= box_.top || r.top >= box_.bottom) return;
    for (size_t i = FirstRectBelow(r.top); i < rects_.size() && rects_[i].top < r.bottom; ++i) {
      const RECT& q = rects_[i];
      RECT c{q.left > r.left ? q.left : r.left, q.top > r.top ? q.top : r.top,
             q.right < r.right ? q.right : r.right, q.bottom < r.bottom ? q.bottom : r.bottom};
      if (c.left < c.right && c.top < c.bottom) f(c);
    }
  }

 private:
  // Index of the first rectangle whose bottom is below y.
  size_t FirstRectBelow(int y) const;
  void UpdateBox();

  std::vector<RECT> rects_;
  RECT box_{0, 0, 0, 0};
};

}  // namespace brambolt

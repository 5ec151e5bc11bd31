// Region algebra over banded rectangle lists.
#include "gdi/Region.h"

#include <algorithm>

#include "gdi/Scan.h"

namespace brambolt {
namespace {

struct Span {
  LONG left, right;
  bool operator==(const Span&) const = default;
};

// Builds a banded list band by band, merging a band into the previous one when they touch
// vertically and have the same spans.
class BandWriter {
 public:
  explicit BandWriter(std::vector<RECT>& out) : out_(out) {}
  void Add(LONG top, LONG bottom, const std::vector<Span>& spans) {
    if (spans.empty() || top >= bottom) return;
    if (lastStart_ < out_.size() && out_.back().bottom == top && out_.size() - lastStart_ == spans.size()) {
      bool same = true;
      for (size_t i = 0; i < spans.size() && same; ++i)
        same = out_[lastStart_ + i].left == spans[i].left && out_[lastStart_ + i].right == spans[i].right;
      if (same) {
        for (size_t i = lastStart_; i < out_.size(); ++i) out_[i].bottom = bottom;
        return;
      }
    }
    lastStart_ = out_.size();
    for (const Span& s : spans) out_.push_back(RECT{s.left, top, s.right, bottom});
  }

 private:
  std::vector<RECT>& out_;
  size_t lastStart_ = SIZE_MAX;
};

// Combines two sorted disjoint span lists.
void CombineSpans(const RECT* a, const RECT* aEnd, const RECT* b, const RECT* bEnd, int mode,
                  std::vector<Span>& out) {
  out.clear();
  std::vector<LONG> xs;
  xs.reserve(2 * ((aEnd - a) + (bEnd - b)));
  for (const RECT* r = a; r != aEnd; ++r) xs.insert(xs.end(), {r->left, r->right});
  for (const RECT* r = b; r != bEnd; ++r) xs.insert(xs.end(), {r->left, r->right});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    LONG x = xs[i];
    while (a != aEnd && a->right <= x) ++a;
    while (b != bEnd && b->right <= x) ++b;
    bool inA = a != aEnd && a->left <= x;
    bool inB = b != bEnd && b->left <= x;
    bool in = false;
    switch (mode) {
      case RGN_AND: in = inA && inB; break;
      case RGN_OR: in = inA || inB; break;
      case RGN_XOR: in = inA != inB; break;
      case RGN_DIFF: in = inA && !inB; break;
      default: in = inA; break;
    }
    if (!in) continue;
    if (!out.empty() && out.back().right == x) out.back().right = xs[i + 1];
    else out.push_back({x, xs[i + 1]});
  }
}

struct BandRef {
  LONG top, bottom;
  const RECT* begin;
  const RECT* end;
};

std::vector<BandRef> BandsOf(const std::vector<RECT>& rects) {
  std::vector<BandRef> bands;
  for (size_t i = 0; i < rects.size();) {
    size_t j = i;
    while (j < rects.size() && rects[j].top == rects[i].top) ++j;
    bands.push_back({rects[i].top, rects[i].bottom, rects.data() + i, rects.data() + j});
    i = j;
  }
  return bands;
}

Region FromSpans(const std::function<void(const SpanSink&)>& scan) {
  std::vector<RECT> rects;
  BandWriter writer(rects);
  std::vector<Span> row;
  int rowY = INT32_MIN;
  auto flush = [&] {
    if (!row.empty()) writer.Add(rowY, rowY + 1, row);
    row.clear();
  };
  scan([&](int y, int x0, int x1) {
    if (y != rowY) {
      flush();
      rowY = y;
    }
    if (!row.empty() && row.back().right >= x0) row.back().right = std::max<LONG>(row.back().right, x1);
    else row.push_back({x0, x1});
  });
  flush();
  return Region::FromRects(rects.data(), rects.size());
}

}  // namespace

void Region::SetEmpty() {
  rects_.clear();
  box_ = RECT{0, 0, 0, 0};
}

void Region::SetRect(const RECT& r) {
  rects_.clear();
  if (r.left < r.right && r.top < r.bottom) rects_.push_back(r);
  UpdateBox();
}

int Region::Type() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Region::UpdateBox() {
  if (rects_.empty()) {
    box_ = RECT{0, 0, 0, 0};
    return;
  }
  box_ = RECT{rects_.front().left, rects_.front().top, rects_.front().right, rects_.back().bottom};
  for (const RECT& r : rects_) {
    box_.left = std::min(box_.left, r.left);
    box_.right = std::max(box_.right, r.right);
  }
}

size_t Region::FirstRectBelow(int y) const {
  return std::partition_point(rects_.begin(), rects_.end(), [y](const RECT& r) { return r.bottom <= y; }) -
         rects_.begin();
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : rects_) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
  UpdateBox();
}

bool Region::Contains(int x, int y) const {
  bool found = false;
  ForEachSpan(y, x, x + 1, [&](int, int) { found = true; });
  return found;
}

bool Region::Intersects(const RECT& r) const {
  bool found = false;
  ForEachRectIn(r, [&](const RECT&) { found = true; });
  return found;
}

bool Region::ContainsRect(const RECT& r) const {
  if (r.left >= r.right || r.top >= r.bottom) return true;
  long long covered = 0;
  ForEachRectIn(r, [&](const RECT& c) { covered += static_cast<long long>(c.right - c.left) * (c.bottom - c.top); });
  return covered == static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}

Region& Region::IntersectRect(const RECT& r) {
  if (rects_.size() == 1 || IsEmpty()) {
    RECT c = IsEmpty() ? RECT{0, 0, 0, 0} : rects_.front();
    c = RECT{std::max(c.left, r.left), std::max(c.top, r.top), std::min(c.right, r.right),
             std::min(c.bottom, r.bottom)};
    SetRect(c);
    return *this;
  }
  return Intersect(Region(r));
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
  if (mode == RGN_COPY) return a;
  Region result;
  if (mode == RGN_AND && (a.IsEmpty() || b.IsEmpty())) return result;
  if (mode == RGN_DIFF && (a.IsEmpty() || b.IsEmpty())) return a;
  if ((mode == RGN_OR || mode == RGN_XOR) && b.IsEmpty()) return a;
  if ((mode == RGN_OR || mode == RGN_XOR) && a.IsEmpty()) return b;

  std::vector<BandRef> bandsA = BandsOf(a.rects_), bandsB = BandsOf(b.rects_);
  std::vector<LONG> ys;
  for (const BandRef& band : bandsA) ys.insert(ys.end(), {band.top, band.bottom});
  for (const BandRef& band : bandsB) ys.insert(ys.end(), {band.top, band.bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  BandWriter writer(result.rects_);
  std::vector<Span> spans;
  size_t ia = 0, ib = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    LONG y0 = ys[k], y1 = ys[k + 1];
    while (ia < bandsA.size() && bandsA[ia].bottom <= y0) ++ia;
    while (ib < bandsB.size() && bandsB[ib].bottom <= y0) ++ib;
    bool hasA = ia < bandsA.size() && bandsA[ia].top <= y0;
    bool hasB = ib < bandsB.size() && bandsB[ib].top <= y0;
    if (!hasA && !hasB) continue;
    const RECT* aBegin = hasA ? bandsA[ia].begin : nullptr;
    const RECT* aEnd = hasA ? bandsA[ia].end : nullptr;
    const RECT* bBegin = hasB ? bandsB[ib].begin : nullptr;
    const RECT* bEnd = hasB ? bandsB[ib].end : nullptr;
    CombineSpans(aBegin, aEnd, bBegin, bEnd, mode, spans);
    writer.Add(y0, y1, spans);
  }
  result.UpdateBox();
  return result;
}

Region Region::FromRects(const RECT* rects, size_t count) {
  // Rows of rectangles already in banded order (as scan conversion produces) merge in one pass;
  // anything else is united pairwise.
  Region result;
  std::vector<RECT> pending;
  for (size_t i = 0; i < count; ++i) {
    const RECT& r = rects[i];
    if (r.left >= r.right || r.top >= r.bottom) continue;
    pending.push_back(r);
  }
  if (pending.empty()) return result;
  bool banded = true;
  for (size_t i = 1; i < pending.size() && banded; ++i) {
    const RECT& p = pending[i - 1];
    const RECT& q = pending[i];
    if (q.top == p.top) banded = q.bottom == p.bottom && q.left > p.right;
    else banded = q.top >= p.bottom;
  }
  if (banded) {
    BandWriter writer(result.rects_);
    std::vector<Span> spans;
    for (size_t i = 0; i < pending.size();) {
      size_t j = i;
      spans.clear();
      while (j < pending.size() && pending[j].top == pending[i].top) {
        spans.push_back({pending[j].left, pending[j].right});
        ++j;
      }
      writer.Add(pending[i].top, pending[i].bottom, spans);
      i = j;
    }
    result.UpdateBox();
    return result;
  }
  // Divide and conquer keeps the unions balanced.
  if (pending.size() == 1) {
    result.SetRect(pending[0]);
    return result;
  }
  size_t half = pending.size() / 2;
  return Combine(FromRects(pending.data(), half), FromRects(pending.data() + half, pending.size() - half), RGN_OR);
}

Region Region::FromPolygons(const POINT* points, const int* counts, int polygonCount, int fillMode) {
  return FromSpans([&](const SpanSink& sink) { ScanPolygons(points, counts, polygonCount, fillMode, sink); });
}

Region Region::FromEllipse(const RECT& box) {
  return FromSpans([&](const SpanSink& sink) { ScanEllipse(box, sink); });
}

Region Region::FromRoundRect(const RECT& box, int cornerWidth, int cornerHeight) {
  return FromSpans([&](const SpanSink& sink) { ScanRoundRect(box, cornerWidth, cornerHeight, sink); });
}

bool Region::operator==(const Region& other) const {
  if (rects_.size() != other.rects_.size()) return false;
  for (size_t i = 0; i < rects_.size(); ++i) {
    const RECT& a = rects_[i];
    const RECT& b = other.rects_[i];
    if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) return false;
  }
  return true;
}

}  // namespace brambolt

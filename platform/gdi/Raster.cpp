// Raster operations: the ROP2 and ROP3 truth tables and span painting with fast paths.
#include <algorithm>

#include "gdi/GdiInternal.h"

namespace brambolt::gdi {

uint8_t Rop2ToRop3(int rop2) {
  // ROP2 bit (P*2 + D) of (rop2 - 1) becomes ROP3 bit (P*4 + S*2 + D) for both values of S.
  unsigned table = static_cast<unsigned>(rop2 - 1) & 0xF;
  uint8_t rop3 = 0;
  for (int k = 0; k < 8; ++k) {
    int p = (k >> 2) & 1, d = k & 1;
    if ((table >> (p * 2 + d)) & 1) rop3 |= static_cast<uint8_t>(1u << k);
  }
  return rop3;
}

uint32_t Rop3Pixel(uint8_t rop, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  for (int k = 0; k < 8; ++k)
    if ((rop >> k) & 1) r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
  return r;
}

namespace {

// Result of a ROP3 that ignores the source, for one pattern pixel and destination pixel, on all
// 32 bits (the caller keeps those of its surface). Blackness and whiteness are the colours black
// and white, whose fourth byte is 0.
inline uint32_t ApplyPD(uint8_t rop, uint32_t p, uint32_t d) {
  switch (rop) {
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFF;
    case 0xF0: return p;
    case 0x0F: return ~p;
    case 0x55: return ~d;
    case 0x5A: return p ^ d;
    case 0xA5: return ~(p ^ d);
    case 0xA0: return p & d;
    case 0xFA: return p | d;
    case 0xAA: return d;
    default: return Rop3Pixel(rop, p, 0, d);
  }
}

// Paints [x0, x1) of a row from a pattern row, one pattern period at a time; `mrow` (null for an
// opaque pattern) marks the pattern pixels that paint.
template <class F>
void PatternSpan(uint32_t* row, int x0, int x1, const uint32_t* prow, const uint8_t* mrow, int px, int pw,
                 uint32_t mask, F f) {
  for (int x = x0; x < x1; px = 0) {
    const int n = std::min(x1 - x, pw - px);
    uint32_t* d = row + x;
    const uint32_t* p = prow + px;
    if (mrow) {
      const uint8_t* m = mrow + px;
      for (int i = 0; i < n; ++i)
        if (m[i]) d[i] = f(p[i], d[i]) & mask;
    } else {
      for (int i = 0; i < n; ++i) d[i] = f(p[i], d[i]) & mask;
    }
    x += n;
  }
}

}  // namespace

void PaintSpan(Surface& s, int y, int x0, int x1, const Paint& paint, uint8_t rop) {
  if (paint.none || x0 >= x1) return;
  uint32_t* row = s.Row(y);
  if (rop == 0xAA) return;
  const uint32_t mask = s.PixelMask();
  if (paint.solid) {
    uint32_t c = paint.color;
    switch (rop) {
      case 0xF0: std::fill(row + x0, row + x1, c & mask); return;
      case 0x00: std::fill(row + x0, row + x1, 0u); return;
      case 0xFF: std::fill(row + x0, row + x1, 0xFFFFFFu); return;
      case 0x55:
        for (int x = x0; x < x1; ++x) row[x] = ~row[x] & mask;
        return;
      case 0x5A:
        for (int x = x0; x < x1; ++x) row[x] = (row[x] ^ c) & mask;
        return;
      default:
        for (int x = x0; x < x1; ++x) row[x] = ApplyPD(rop, c, row[x]) & mask;
        return;
    }
  }
  bool masked = !paint.opaque.empty();
  int py = (y - paint.orgY) % paint.ph;
  if (py < 0) py += paint.ph;
  const uint32_t* prow = paint.pattern.data() + static_cast<size_t>(py) * paint.pw;
  const uint8_t* mrow = masked ? paint.opaque.data() + static_cast<size_t>(py) * paint.pw : nullptr;
  int px = (x0 - paint.orgX) % paint.pw;
  if (px < 0) px += paint.pw;
  using U = uint32_t;
  auto run = [&](auto f) { PatternSpan(row, x0, x1, prow, mrow, px, paint.pw, mask, f); };
  switch (rop) {
    case 0xF0: run([](U p, U) { return p; }); break;
    case 0x5A: run([](U p, U d) { return p ^ d; }); break;
    case 0xA0: run([](U p, U d) { return p & d; }); break;
    case 0xFA: run([](U p, U d) { return p | d; }); break;
    default: run([rop](U p, U d) { return ApplyPD(rop, p, d); }); break;
  }
}

void PaintSpanClipped(DeviceContext& dc, Surface& s, int y, int x0, int x1, const Paint& paint, uint8_t rop) {
  if (dc.page) return RecordRegion(dc, Region(x0, y, x1, y + 1), paint, rop);
  dc.Clip().ForEachSpan(y, x0, x1, [&](int a, int b) { PaintSpan(s, y, a, b, paint, rop); });
}

void PaintRectClipped(DeviceContext& dc, Surface& s, const RECT& r, const Paint& paint, uint8_t rop) {
  if (paint.none) return;
  if (dc.page) return RecordRegion(dc, Region(r), paint, rop);
  dc.Clip().ForEachRectIn(r, [&](const RECT& c) {
    for (int y = c.top; y < c.bottom; ++y) PaintSpan(s, y, c.left, c.right, paint, rop);
  });
}

void PaintRegion(DeviceContext& dc, Surface& s, const Region& region, const Paint& paint, uint8_t rop) {
  if (paint.none) return;
  if (dc.page) return RecordRegion(dc, region, paint, rop);
  Region r = Region::Combine(region, dc.Clip(), RGN_AND);
  for (const RECT& c : r.Rects())
    for (int y = c.top; y < c.bottom; ++y) PaintSpan(s, y, c.left, c.right, paint, rop);
}

}  // namespace brambolt::gdi

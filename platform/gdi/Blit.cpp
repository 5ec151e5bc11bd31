// BitBlt, StretchBlt, MaskBlt, TransparentBlt and AlphaBlend through one ternary raster engine,
// converting between monochrome and colour with the text and background colours.
#include <algorithm>
#include <cstring>
#include <vector>

#include "gdi/Draw.h"
#include "gdi/GdiInternal.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace {

bool UsesSource(uint8_t rop) { return (((rop >> 2) ^ rop) & 0x33) != 0; }
bool UsesPattern(uint8_t rop) { return (((rop >> 4) ^ rop) & 0x0F) != 0; }

SourceConverter MakeConverter(const DeviceContext& dst, const DeviceContext& src) {
  SourceConverter c;
  bool dm = dst.IsMono(), sm = src.IsMono();
  if (sm && !dm) {
    c.mode = SourceConverter::MonoToColor;
    c.fg = DevicePixel(dst, dst.st.textColor);
    c.bg = DevicePixel(dst, dst.st.bkColor);
  } else if (!sm && dm) {
    c.mode = SourceConverter::ColorToMono;
    c.srcBk = PixelFromColor(ResolveColor(src, src.st.bkColor));
  }
  return c;
}

// A DIB section read as a source needs its pixels brought up to date from its bits.
void SyncSource(DeviceContext* src, const DeviceContext& dst) {
  if (src && src != &dst && src->st.bitmap && src->st.bitmap->NeedsSync()) src->st.bitmap->SyncFromBits();
}

template <class F>
inline void RopLoop(uint32_t* d, const uint32_t* s, const uint32_t* p, uint32_t solid, int n, uint32_t mask, F f) {
  if (p) {
    for (int i = 0; i < n; ++i) d[i] = f(p[i], s[i], d[i]) & mask;
  } else {
    for (int i = 0; i < n; ++i) d[i] = f(solid, s[i], d[i]) & mask;
  }
}

// Applies a ternary code to n destination pixels; p is null for a solid pattern. The code works on
// the bits of `mask` (all 32 in a DIB section's memory); blackness and whiteness are the colours.
void ApplyRop3(uint8_t rop, uint32_t* d, const uint32_t* s, const uint32_t* p, uint32_t solid, int n, uint32_t mask) {
  using U = uint32_t;
  switch (rop) {
    case 0xCC: std::copy(s, s + n, d); break;  // a copy keeps the fourth byte of 32-bit pixels
    case 0x88: RopLoop(d, s, p, solid, n, mask, [](U, U S, U D) { return S & D; }); break;
    case 0xEE: RopLoop(d, s, p, solid, n, mask, [](U, U S, U D) { return S | D; }); break;
    case 0x66: RopLoop(d, s, p, solid, n, mask, [](U, U S, U D) { return S ^ D; }); break;
    case 0x33: RopLoop(d, s, p, solid, n, mask, [](U, U S, U) { return ~S; }); break;
    case 0x44: RopLoop(d, s, p, solid, n, mask, [](U, U S, U D) { return S & ~D; }); break;
    case 0x11: RopLoop(d, s, p, solid, n, mask, [](U, U S, U D) { return ~(S | D); }); break;
    case 0x22: RopLoop(d, s, p, solid, n, mask, [](U, U S, U D) { return ~S & D; }); break;
    case 0xBB: RopLoop(d, s, p, solid, n, mask, [](U, U S, U D) { return ~S | D; }); break;
    case 0xC0: RopLoop(d, s, p, solid, n, mask, [](U P, U S, U) { return P & S; }); break;
    case 0xFB: RopLoop(d, s, p, solid, n, mask, [](U P, U S, U D) { return P | ~S | D; }); break;
    case 0xB8: RopLoop(d, s, p, solid, n, mask, [](U P, U S, U D) { return ((P ^ D) & S) ^ P; }); break;
    case 0xE2: RopLoop(d, s, p, solid, n, mask, [](U P, U S, U D) { return ((P ^ D) & S) ^ D; }); break;
    case 0xF0: RopLoop(d, s, p, solid, n, mask, [](U P, U, U) { return P; }); break;
    case 0x5A: RopLoop(d, s, p, solid, n, mask, [](U P, U, U D) { return P ^ D; }); break;
    case 0x55: RopLoop(d, s, p, solid, n, mask, [](U, U, U D) { return ~D; }); break;
    case 0xAA: break;
    case 0x00: std::fill(d, d + n, U{0}); break;
    case 0xFF: std::fill(d, d + n, U{0xFFFFFF}); break;
    default: RopLoop(d, s, p, solid, n, mask, [rop](U P, U S, U D) { return Rop3Pixel(rop, P, S, D); }); break;
  }
}

// Signed surface-space extents of a logical rectangle.
void SurfaceBox(const DeviceContext& dc, int x, int y, int w, int h, int& x0, int& y0, int& sw, int& sh) {
  POINT a = ToSurface(dc, POINT{x, y}), b = ToSurface(dc, POINT{x + w, y + h});
  x0 = a.x;
  y0 = a.y;
  sw = b.x - a.x;
  sh = b.y - a.y;
}

// Maps destination offset i in [0, dn) to a source offset in [0, sn), nearest centre.
inline int MapIndex(int i, int dn, int sn) {
  return static_cast<int>((static_cast<long long>(2 * i + 1) * sn) / (2LL * dn));
}

// One axis of a stretch. Both rectangles are walked from their origin pixel, the corner the caller
// gives (with a negative extent the rectangle runs back from it, that pixel included), and
// mirroring is the two walks going opposite ways. Destination step k takes source step k * sn / dn
// when shrinking, so the lines between two taken ones are the eliminated lines; when enlarging it
// takes the source pixel under its centre.
struct StretchAxis {
  int dn = 0, sn = 0;                  // extents, positive
  bool dBack = false, sBack = false;  // walked from the high end (a negative extent)

  int Step(int k) const {
    if (sn == dn) return k;
    return sn > dn ? static_cast<int>(static_cast<long long>(k) * sn / dn) : MapIndex(k, dn, sn);
  }
  // The source offset (from the rectangle's low edge) for destination offset i.
  int Source(int i) const {
    int m = Step(dBack ? dn - 1 - i : i);
    return sBack ? sn - 1 - m : m;
  }
  // The source offsets [a, b) that meet in destination offset i: when shrinking, the taken line
  // and the lines eliminated after it; otherwise the one source pixel.
  void Span(int i, int& a, int& b) const {
    if (sn <= dn) {
      a = Source(i);
      b = a + 1;
      return;
    }
    long long k = dBack ? dn - 1 - i : i;
    int m0 = static_cast<int>(k * sn / dn), m1 = static_cast<int>((k + 1) * sn / dn);
    a = sBack ? sn - m1 : m0;
    b = sBack ? sn - m0 : m1;
  }
};

// The pixels [lo, hi) a signed extent covers from `origin`: a negative one runs back from the
// origin pixel, which it includes.
inline void Cover(int origin, int extent, int& lo, int& hi) {
  lo = extent < 0 ? origin + extent + 1 : origin;
  hi = extent < 0 ? origin + 1 : origin + extent;
}

// A blit onto a printer page: the source rectangle at its own resolution as an image over the
// destination rectangle. Pixels the raster code would leave as they are (a mask's "keep" half,
// the transparent colour, a ROP that leaves white paper white) become transparent.
bool RecordBlit(const BlitJob& job, const RECT& d, int sX, int sY, int sW, int sH, bool flipX, bool flipY,
                bool needSource, const Paint& pattern) {
  DeviceContext& dst = *job.dst;
  if (!needSource) {
    RecordRegion(dst, Region(d), pattern.none ? SolidPaint(dst, 0) : pattern, job.fore);
    return true;
  }
  const Surface& ss = *job.ss;
  auto image = std::make_shared<Surface>(sW, sH);
  std::vector<uint8_t> alpha(static_cast<size_t>(sW) * sH, 255);
  bool opaque = true;
  uint32_t p = pattern.none ? 0 : pattern.color;
  for (int y = 0; y < sH; ++y) {
    uint32_t* row = image->Row(flipY ? sH - 1 - y : y);
    uint8_t* arow = alpha.data() + static_cast<size_t>(flipY ? sH - 1 - y : y) * sW;
    for (int x = 0; x < sW; ++x) {
      int px = sX + x, py = sY + y, at = flipX ? sW - 1 - x : x;
      uint32_t raw = ss.GetPixel(px, py);
      uint32_t src = job.convert(raw);
      uint8_t rop = job.fore;
      if (job.mask) {
        int mx = job.mx + x, my = job.my + y;
        bool bit = job.mask->Contains(mx, my) && (job.mask->Row(my)[mx] & 0xFFFFFF) != 0;
        rop = bit ? job.fore : job.back;
      }
      bool keep = !ss.Contains(px, py) || rop == 0xAA || (job.transparent && raw == job.transparentPixel);
      uint32_t out = keep ? 0xFFFFFF : Rop3Pixel(rop, p, src, 0xFFFFFF) & 0xFFFFFF;
      if (keep || (rop != 0xCC && out == 0xFFFFFF)) {
        arow[at] = 0;
        opaque = false;
      }
      row[at] = out;
    }
  }
  if (opaque) alpha.clear();
  RecordImage(dst, std::move(image), std::move(alpha), d);
  return true;
}

}  // namespace

namespace {

// What a blit does, worked out once before any pixel moves: the normalised destination, the
// source rectangle and its mirroring, the surface read (a copy when the blit overlaps itself), the
// pattern, and which of the three copy paths runs.
struct BlitPlan {
  enum class Path { FastCopy, Rows, Pixels };

  bool needSource = false, needPattern = false;
  bool flipX = false, flipY = false;
  RECT d{};                         // destination, surface coordinates
  int dW = 0, dH = 0;
  int sX = 0, sY = 0, sW = 0, sH = 0;  // source rectangle, normalised
  StretchAxis ax, ay;               // how destination columns and rows find their source
  uint32_t mask = 0x00FFFFFF;       // the destination bits a ROP writes
  Paint pattern;
  std::unique_ptr<Surface> copy;    // the source read when it is the destination
  const Surface* ss = nullptr;
  int sOffX = 0, sOffY = 0;         // where `ss` starts in the source surface
  bool identity = false;            // no stretching
  bool shrink = false;              // a shrink that combines source pixels
  Path path = Path::Pixels;
  std::vector<int> columns;         // Rows: source x (in ss) per destination column, -1 outside

  // The source row (in ss) of destination row offset `oy`.
  int SourceRow(int oy) const { return sY + ay.Source(oy) - sOffY; }
};

// Plans the blit; false when there is nothing to draw (`ok` tells whether that is a failure).
bool MakePlan(BlitJob& job, BlitPlan& plan, bool& ok) {
  ok = true;
  plan.needSource = UsesSource(job.fore) || UsesSource(job.back) || job.transparent;
  plan.needPattern = UsesPattern(job.fore) || UsesPattern(job.back);
  if (plan.needSource && !job.ss) return ok = false;
  // A printer page being recorded has no pixels to read.
  if (plan.needSource && !job.ss->Pixels()) return false;

  // Normalise the rectangles; mirroring comes from opposite signs.
  plan.flipX = (job.dw < 0) != (plan.needSource ? job.sw < 0 : false);
  plan.flipY = (job.dh < 0) != (plan.needSource ? job.sh < 0 : false);
  Cover(job.dx, job.dw, plan.d.left, plan.d.right);
  Cover(job.dy, job.dh, plan.d.top, plan.d.bottom);
  plan.dW = plan.d.right - plan.d.left;
  plan.dH = plan.d.bottom - plan.d.top;
  if (plan.dW == 0 || plan.dH == 0) return false;
  int sRight, sBottom;
  Cover(job.sx, job.sw, plan.sX, sRight);
  Cover(job.sy, job.sh, plan.sY, sBottom);
  plan.sW = std::abs(job.sw);
  plan.sH = std::abs(job.sh);
  if (plan.needSource && (plan.sW == 0 || plan.sH == 0)) return false;
  plan.ax = StretchAxis{plan.dW, plan.sW, job.dw < 0, job.sw < 0};
  plan.ay = StretchAxis{plan.dH, plan.sH, job.dh < 0, job.sh < 0};
  plan.mask = job.ds->PixelMask();

  if (plan.needPattern) {
    plan.pattern = RealizeBrush(*job.dst, job.dst->st.brush.get());
    if (plan.pattern.none) plan.pattern = SolidPaint(*job.dst, 0);
  }
  // A printer page records the blit instead of running it.
  if (job.dst->page) {
    ok = RecordBlit(job, plan.d, plan.sX, plan.sY, plan.sW, plan.sH, plan.flipX, plan.flipY, plan.needSource,
                    plan.pattern);
    return false;
  }

  // Overlapping blits within one surface read from a copy.
  plan.ss = job.ss;
  if (plan.ss == job.ds) {
    const Surface* ss = plan.ss;
    RECT sr{std::max(plan.sX, 0), std::max(plan.sY, 0), std::min(plan.sX + plan.sW, ss->Width()),
            std::min(plan.sY + plan.sH, ss->Height())};
    if (sr.left < sr.right && sr.top < sr.bottom) {
      plan.copy = std::make_unique<Surface>(sr.right - sr.left, sr.bottom - sr.top);
      for (int y = sr.top; y < sr.bottom; ++y)
        std::memcpy(plan.copy->Row(y - sr.top), ss->Row(y) + sr.left, sizeof(uint32_t) * (sr.right - sr.left));
      plan.sOffX = sr.left;
      plan.sOffY = sr.top;
      plan.ss = plan.copy.get();
    }
  }
  plan.identity = !plan.needSource || (plan.sW == plan.dW && plan.sH == plan.dH);
  // Colour on colour deletes the eliminated lines: the column and row tables do that.
  plan.shrink = plan.needSource && !plan.identity && (plan.sW > plan.dW || plan.sH > plan.dH) &&
                job.dst->st.stretchMode != COLORONCOLOR;

  // A plain copy moves whole rows; masks, transparency and combining shrinks go pixel by pixel;
  // everything else runs whole rows through a source column table and one ROP loop.
  if (plan.identity && plan.needSource && job.fore == 0xCC && job.back == 0xCC && !job.transparent &&
      job.convert.mode == SourceConverter::Same && !plan.flipX && !plan.flipY)
    plan.path = BlitPlan::Path::FastCopy;
  else if (!job.mask && !job.transparent && !plan.shrink)
    plan.path = BlitPlan::Path::Rows;
  else
    plan.path = BlitPlan::Path::Pixels;
  if (plan.path == BlitPlan::Path::Rows && plan.needSource) {
    plan.columns.resize(static_cast<size_t>(plan.dW));
    for (int i = 0; i < plan.dW; ++i) {
      int sx = plan.sX + plan.ax.Source(i) - plan.sOffX;
      plan.columns[static_cast<size_t>(i)] = sx >= 0 && sx < plan.ss->Width() ? sx : -1;
    }
  }
  return true;
}

// The source pixel for destination offset (x, y), all 32 bits, combined over the pixels it
// eliminates in a shrink; false when it falls outside the source.
bool SourceAt(const BlitJob& job, const BlitPlan& plan, int x, int y, uint32_t& out) {
  const Surface* ss = plan.ss;
  if (!plan.shrink) {
    int px = plan.sX + plan.ax.Source(x) - plan.sOffX, py = plan.SourceRow(y);
    if (!ss->Contains(px, py)) return false;
    out = ss->Row(py)[px];
    return true;
  }
  const int stretchMode = job.dst->st.stretchMode;
  const bool average = stretchMode == HALFTONE && !job.monoSource;
  int x0, x1, y0, y1;
  plan.ax.Span(x, x0, x1);
  plan.ay.Span(y, y0, y1);
  uint32_t acc = stretchMode == WHITEONBLACK ? 0 : 0xFFFFFFFF;
  unsigned long sum[4] = {0, 0, 0, 0};
  int n = 0;
  for (int yy = y0; yy < y1; ++yy)
    for (int xx = x0; xx < x1; ++xx) {
      int px = plan.sX + xx - plan.sOffX, py = plan.sY + yy - plan.sOffY;
      if (!ss->Contains(px, py)) continue;
      uint32_t v = ss->Row(py)[px];
      ++n;
      if (stretchMode == WHITEONBLACK) acc |= v;
      else if (average)
        for (int c = 0; c < 4; ++c) sum[c] += (v >> (8 * c)) & 0xFF;
      else acc &= v;
    }
  if (n == 0) return false;
  if (average) {
    acc = 0;
    for (int c = 0; c < 4; ++c) acc |= static_cast<uint32_t>(sum[c] / n) << (8 * c);
  }
  out = acc;
  return true;
}

// A plain copy of the part of destination row `y` within [c.left, c.right).
void CopyRowFast(const BlitPlan& plan, uint32_t* row, int y, const RECT& c) {
  const Surface* ss = plan.ss;
  int py = plan.sY + (y - plan.d.top) - plan.sOffY;
  if (py < 0 || py >= ss->Height()) return;
  int x0 = std::max<int>(c.left, plan.d.left + plan.sOffX - plan.sX);
  int x1 = std::min<int>(c.right, plan.d.left + plan.sOffX - plan.sX + ss->Width());
  if (x0 < x1)
    std::memcpy(row + x0, ss->Row(py) + (plan.sX + (x0 - plan.d.left) - plan.sOffX), sizeof(uint32_t) * (x1 - x0));
}

// One ROP over the part of row `y` within [c.left, c.right), sources through the column table.
void BlitRow(const BlitJob& job, const BlitPlan& plan, uint32_t* row, int y, const RECT& c,
             std::vector<uint32_t>& sbuf, std::vector<uint32_t>& pbuf) {
  int x0 = c.left, x1 = c.right;
  const uint32_t* srow = nullptr;
  if (plan.needSource) {
    int py = plan.SourceRow(y - plan.d.top);
    if (py < 0 || py >= plan.ss->Height()) return;
    srow = plan.ss->Row(py);
    while (x0 < x1 && plan.columns[static_cast<size_t>(x0 - plan.d.left)] < 0) ++x0;
    while (x1 > x0 && plan.columns[static_cast<size_t>(x1 - 1 - plan.d.left)] < 0) --x1;
  }
  int n = x1 - x0;
  if (n <= 0) return;
  // An unstretched, unmirrored source of the same kind is read in place; others are gathered.
  const uint32_t* sp;
  if (plan.needSource && plan.identity && !plan.flipX && job.convert.mode == SourceConverter::Same) {
    sp = srow + plan.columns[static_cast<size_t>(x0 - plan.d.left)];
  } else {
    sbuf.assign(static_cast<size_t>(n), 0);
    if (plan.needSource)
      for (int i = 0; i < n; ++i) {
        const uint32_t raw = srow[plan.columns[static_cast<size_t>(x0 + i - plan.d.left)]];
        sbuf[static_cast<size_t>(i)] = job.convert.mode == SourceConverter::Same ? raw : job.convert(raw & 0xFFFFFF);
      }
    sp = sbuf.data();
  }
  const uint32_t* prow = nullptr;
  if (plan.needPattern && !plan.pattern.solid) {
    pbuf.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) pbuf[static_cast<size_t>(i)] = plan.pattern.At(x0 + i, y);
    prow = pbuf.data();
  }
  ApplyRop3(job.fore, row + x0, sp, prow, plan.pattern.solid ? plan.pattern.color : 0, n, plan.mask);
}

// Pixel by pixel: a mask picks the ROP, a transparent colour is skipped, shrinks combine.
void BlitPixels(const BlitJob& job, const BlitPlan& plan, uint32_t* row, int y, const RECT& c) {
  for (int x = c.left; x < c.right; ++x) {
    uint8_t rop = job.fore;
    if (job.mask) {
      int mxp = job.mx + (x - plan.d.left), myp = job.my + (y - plan.d.top);
      bool bit = job.mask->Contains(mxp, myp) && (job.mask->Row(myp)[mxp] & 0xFFFFFF) != 0;
      rop = bit ? job.fore : job.back;
    }
    uint32_t s = 0;
    if (plan.needSource) {
      uint32_t raw;
      if (!SourceAt(job, plan, x - plan.d.left, y - plan.d.top, raw)) continue;
      if (job.transparent && (raw & 0xFFFFFF) == job.transparentPixel) continue;
      s = job.convert.mode == SourceConverter::Same ? raw : job.convert(raw & 0xFFFFFF);
    }
    const bool patterned = plan.needPattern && !plan.pattern.solid;
    uint32_t p = plan.needPattern ? (plan.pattern.solid ? plan.pattern.color : plan.pattern.At(x, y)) : 0;
    ApplyRop3(rop, row + x, &s, patterned ? &p : nullptr, p, 1, plan.mask);
  }
}

}  // namespace

bool brambolt::gdi::RunBlit(BlitJob& job) {
  BlitPlan plan;
  bool ok;
  if (!MakePlan(job, plan, ok)) return ok;
  std::vector<uint32_t> sbuf, pbuf;
  job.dst->Clip().ForEachRectIn(plan.d, [&](const RECT& c) {
    for (int y = c.top; y < c.bottom; ++y) {
      uint32_t* row = job.ds->Row(y);
      switch (plan.path) {
        case BlitPlan::Path::FastCopy: CopyRowFast(plan, row, y, c); break;
        case BlitPlan::Path::Rows: BlitRow(job, plan, row, y, c, sbuf, pbuf); break;
        case BlitPlan::Path::Pixels: BlitPixels(job, plan, row, y, c); break;
      }
    }
  });
  return true;
}

namespace {

bool StretchCommon(const char* name, HDC hdcDest, int x, int y, int w, int h, HDC hdcSrc, int xs, int ys, int ws,
                   int hs, DWORD rop4, HBITMAP mask, int xm, int ym, bool transparent, UINT transparentColor) {
  auto dst = LookupDC(hdcDest);
  if (!dst) return false;
  CallLog log(*dst, name, {x, y, w, h, xs, ys, ws, hs, static_cast<int>(rop4)});
  std::shared_ptr<DeviceContext> src = hdcSrc ? LookupDC(hdcSrc) : nullptr;
  uint8_t fore = static_cast<uint8_t>(rop4 >> 16), back = mask ? static_cast<uint8_t>(rop4 >> 24) : fore;
  bool needSource = UsesSource(fore) || UsesSource(back) || transparent;
  if (needSource && !src) return false;
  DrawScope scope(*dst);
  if (!scope.surface()) return true;
  SyncSource(src.get(), *dst);
  BlitJob job{};
  job.dst = dst.get();
  job.ds = scope.surface();
  job.fore = fore;
  job.back = back;
  SurfaceBox(*dst, x, y, w, h, job.dx, job.dy, job.dw, job.dh);
  if (src) {
    job.ss = src->surface.get();
    job.convert = MakeConverter(*dst, *src);
    job.monoSource = src->IsMono();
    SurfaceBox(*src, xs, ys, ws, hs, job.sx, job.sy, job.sw, job.sh);
    if (needSource && !job.ss) return false;
  }
  std::shared_ptr<BitmapObject> maskBitmap;
  if (mask) {
    maskBitmap = LookupBitmap(mask);
    if (!maskBitmap || maskBitmap->bitsPixel != 1) return false;
    if (maskBitmap->NeedsSync()) maskBitmap->SyncFromBits();
    job.mask = maskBitmap->surface.get();
    job.mx = xm;
    job.my = ym;
  }
  if (transparent) {
    job.transparent = true;
    job.transparentPixel = PixelFromColor(ResolveColor(*src, transparentColor));
  }
  return RunBlit(job);
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource, DWORD rop) {
  return StretchCommon("BitBlt", dest, x, y, width, height, source, xSource, ySource, width, height, rop, nullptr, 0, 0,
                       false, 0);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource, int widthSource,
                int heightSource, DWORD rop) {
  return StretchCommon("StretchBlt", dest, x, y, width, height, source, xSource, ySource, widthSource, heightSource, rop,
                       nullptr, 0, 0, false, 0);
}

BOOL MaskBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource, HBITMAP mask,
             int xMask, int yMask, DWORD rop4) {
  return StretchCommon("MaskBlt", dest, x, y, width, height, source, xSource, ySource, width, height, rop4, mask, xMask,
                       yMask, false, 0);
}

BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSource, int ySource,
                    int widthSource, int heightSource, UINT transparentColor) {
  if (width < 0 || height < 0 || widthSource < 0 || heightSource < 0) return FALSE;
  return StretchCommon("TransparentBlt", dest, x, y, width, height, source, xSource, ySource, widthSource, heightSource,
                       SRCCOPY, nullptr, 0, 0, true, transparentColor);
}

BOOL AlphaBlend(HDC hdcDest, int x, int y, int w, int h, HDC hdcSrc, int xs, int ys, int ws, int hs,
                BLENDFUNCTION blend) {
  auto dst = LookupDC(hdcDest);
  auto src = LookupDC(hdcSrc);
  if (!dst || !src || w < 0 || h < 0 || ws < 0 || hs < 0) return FALSE;
  DrawScope scope(*dst);
  SyncSource(src.get(), *dst);
  Surface* ds = scope.surface();
  const Surface* ss = src->surface.get();
  if (!ds || !ss) return FALSE;
  if (!ss->Pixels()) return TRUE;
  int dx, dy, dw, dh, sx, sy, sw, sh;
  SurfaceBox(*dst, x, y, w, h, dx, dy, dw, dh);
  SurfaceBox(*src, xs, ys, ws, hs, sx, sy, sw, sh);
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return TRUE;
  bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
  unsigned ca = blend.SourceConstantAlpha;
  if (dst->page) {
    // The source's pixels with their alpha (premultiplied colours made straight again).
    auto image = std::make_shared<Surface>(sw, sh);
    std::vector<uint8_t> alpha(static_cast<size_t>(sw) * sh);
    for (int yy = 0; yy < sh; ++yy)
      for (int xx = 0; xx < sw; ++xx) {
        uint32_t s = ss->Contains(sx + xx, sy + yy) ? ss->Row(sy + yy)[sx + xx] : 0;
        unsigned sa = perPixel ? ((s >> 24) * ca + 127) / 255 : (ss->Contains(sx + xx, sy + yy) ? ca : 0);
        uint32_t c = s & 0xFFFFFF;
        if (perPixel && (s >> 24) > 0) {
          uint32_t straight = 0;
          for (int shift = 0; shift <= 16; shift += 8)
            straight |= std::min(255u, (((c >> shift) & 0xFF) * 255 + (s >> 24) / 2) / (s >> 24)) << shift;
          c = straight;
        }
        image->Row(yy)[xx] = c;
        alpha[static_cast<size_t>(yy) * sw + xx] = static_cast<uint8_t>(sa);
      }
    RecordImage(*dst, std::move(image), std::move(alpha), RECT{dx, dy, dx + dw, dy + dh});
    return TRUE;
  }
  dst->Clip().ForEachRectIn(RECT{dx, dy, dx + dw, dy + dh}, [&](const RECT& c) {
    for (int yy = c.top; yy < c.bottom; ++yy)
      for (int xx = c.left; xx < c.right; ++xx) {
        int px = sx + MapIndex(xx - dx, dw, sw), py = sy + MapIndex(yy - dy, dh, sh);
        if (!ss->Contains(px, py)) continue;
        uint32_t s = ss->Row(py)[px];
        uint32_t d = ds->Row(yy)[xx];
        unsigned sa = perPixel ? ((s >> 24) * ca + 127) / 255 : ca;
        uint32_t out = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
          unsigned sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
          unsigned v = perPixel ? (sc * ca + 127) / 255 + (dc * (255 - sa) + 127) / 255
                                : (sc * sa + dc * (255 - sa) + 127) / 255;
          out |= std::min(v, 255u) << shift;
        }
        ds->Row(yy)[xx] = out;
      }
  });
  return TRUE;
}

BOOL GdiFlush() { return TRUE; }

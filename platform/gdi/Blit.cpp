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
inline void RopLoop(uint32_t* d, const uint32_t* s, const uint32_t* p, uint32_t solid, int n, F f) {
  if (p) {
    for (int i = 0; i < n; ++i) d[i] = f(p[i], s[i], d[i] & 0xFFFFFF) & 0xFFFFFF;
  } else {
    for (int i = 0; i < n; ++i) d[i] = f(solid, s[i], d[i] & 0xFFFFFF) & 0xFFFFFF;
  }
}

// Applies a ternary code to n destination pixels; p is null for a solid pattern.
void ApplyRop3(uint8_t rop, uint32_t* d, const uint32_t* s, const uint32_t* p, uint32_t solid, int n) {
  using U = uint32_t;
  switch (rop) {
    case 0xCC: std::copy(s, s + n, d); break;  // a copy keeps the fourth byte of 32-bit pixels
    case 0x88: RopLoop(d, s, p, solid, n, [](U, U S, U D) { return S & D; }); break;
    case 0xEE: RopLoop(d, s, p, solid, n, [](U, U S, U D) { return S | D; }); break;
    case 0x66: RopLoop(d, s, p, solid, n, [](U, U S, U D) { return S ^ D; }); break;
    case 0x33: RopLoop(d, s, p, solid, n, [](U, U S, U) { return ~S; }); break;
    case 0x44: RopLoop(d, s, p, solid, n, [](U, U S, U D) { return S & ~D; }); break;
    case 0x11: RopLoop(d, s, p, solid, n, [](U, U S, U D) { return ~(S | D); }); break;
    case 0x22: RopLoop(d, s, p, solid, n, [](U, U S, U D) { return ~S & D; }); break;
    case 0xBB: RopLoop(d, s, p, solid, n, [](U, U S, U D) { return ~S | D; }); break;
    case 0xC0: RopLoop(d, s, p, solid, n, [](U P, U S, U) { return P & S; }); break;
    case 0xFB: RopLoop(d, s, p, solid, n, [](U P, U S, U D) { return P | ~S | D; }); break;
    case 0xB8: RopLoop(d, s, p, solid, n, [](U P, U S, U D) { return ((P ^ D) & S) ^ P; }); break;
    case 0xE2: RopLoop(d, s, p, solid, n, [](U P, U S, U D) { return ((P ^ D) & S) ^ D; }); break;
    case 0xF0: RopLoop(d, s, p, solid, n, [](U P, U, U) { return P; }); break;
    case 0x5A: RopLoop(d, s, p, solid, n, [](U P, U, U D) { return P ^ D; }); break;
    case 0x55: RopLoop(d, s, p, solid, n, [](U, U, U D) { return ~D; }); break;
    case 0xAA: break;
    case 0x00: RopLoop(d, s, p, solid, n, [](U, U, U) { return U{0}; }); break;
    case 0xFF: RopLoop(d, s, p, solid, n, [](U, U, U) { return U{0xFFFFFF}; }); break;
    default: RopLoop(d, s, p, solid, n, [rop](U P, U S, U D) { return Rop3Pixel(rop, P, S, D); }); break;
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

bool brambolt::gdi::RunBlit(BlitJob& job) {
  DeviceContext& dst = *job.dst;
  Surface& ds = *job.ds;
  bool needSource = UsesSource(job.fore) || UsesSource(job.back) || job.transparent;
  bool needPattern = UsesPattern(job.fore) || UsesPattern(job.back);
  if (needSource && !job.ss) return false;
  // A printer page being recorded has no pixels to read.
  if (needSource && !job.ss->Pixels()) return true;

  // Normalise the destination; mirroring comes from opposite signs.
  bool flipX = (job.dw < 0) != (needSource ? job.sw < 0 : false);
  bool flipY = (job.dh < 0) != (needSource ? job.sh < 0 : false);
  RECT d{std::min(job.dx, job.dx + job.dw), std::min(job.dy, job.dy + job.dh),
         std::max(job.dx, job.dx + job.dw), std::max(job.dy, job.dy + job.dh)};
  int dW = d.right - d.left, dH = d.bottom - d.top;
  if (dW == 0 || dH == 0) return true;
  int sX = std::min(job.sx, job.sx + job.sw), sY = std::min(job.sy, job.sy + job.sh);
  int sW = std::abs(job.sw), sH = std::abs(job.sh);
  if (needSource && (sW == 0 || sH == 0)) return true;

  Paint pattern;
  if (needPattern) {
    pattern = RealizeBrush(dst, dst.st.brush.get());
    if (pattern.none) pattern = SolidPaint(dst, 0);
  }
  if (dst.page) return RecordBlit(job, d, sX, sY, sW, sH, flipX, flipY, needSource, pattern);
  const SourceConverter& convert = job.convert;

  // Overlapping blits within one surface read from a copy.
  std::unique_ptr<Surface> copy;
  const Surface* ss = job.ss;
  int sOffX = 0, sOffY = 0;
  if (ss == &ds) {
    RECT sr{std::max(sX, 0), std::max(sY, 0), std::min(sX + sW, ss->Width()), std::min(sY + sH, ss->Height())};
    if (sr.left < sr.right && sr.top < sr.bottom) {
      copy = std::make_unique<Surface>(sr.right - sr.left, sr.bottom - sr.top);
      for (int y = sr.top; y < sr.bottom; ++y)
        std::memcpy(copy->Row(y - sr.top), ss->Row(y) + sr.left, sizeof(uint32_t) * (sr.right - sr.left));
      sOffX = sr.left;
      sOffY = sr.top;
      ss = copy.get();
    }
  }
  bool identity = !needSource || (sW == dW && sH == dH);
  bool shrink = needSource && !identity && (sW > dW || sH > dH) && dst.st.stretchMode != COLORONCOLOR;
  int stretchMode = dst.st.stretchMode;
  bool monoSource = job.monoSource;

  auto sourceAt = [&](int x, int y, uint32_t& out) -> bool {
    // x, y: offsets within the normalised destination.
    int ox = flipX ? dW - 1 - x : x, oy = flipY ? dH - 1 - y : y;
    int fx0 = identity ? ox : MapIndex(ox, dW, sW), fy0 = identity ? oy : MapIndex(oy, dH, sH);
    if (!shrink) {
      int px = sX + fx0 - sOffX, py = sY + fy0 - sOffY;
      if (!ss->Contains(px, py)) return false;
      out = ss->Row(py)[px] & 0xFFFFFF;
      return true;
    }
    int ax = static_cast<int>(static_cast<long long>(ox) * sW / dW), bx = static_cast<int>(static_cast<long long>(ox + 1) * sW / dW);
    int ay = static_cast<int>(static_cast<long long>(oy) * sH / dH), by = static_cast<int>(static_cast<long long>(oy + 1) * sH / dH);
    bx = std::max(bx, ax + 1);
    by = std::max(by, ay + 1);
    uint32_t acc = stretchMode == WHITEONBLACK ? 0 : 0xFFFFFF;
    unsigned long sum[3] = {0, 0, 0};
    int n = 0;
    for (int yy = ay; yy < by; ++yy)
      for (int xx = ax; xx < bx; ++xx) {
        int px = sX + xx - sOffX, py = sY + yy - sOffY;
        if (!ss->Contains(px, py)) continue;
        uint32_t v = ss->Row(py)[px] & 0xFFFFFF;
        ++n;
        if (stretchMode == WHITEONBLACK) acc |= v;
        else if (stretchMode == HALFTONE && !monoSource) {
          sum[0] += v >> 16;
          sum[1] += (v >> 8) & 0xFF;
          sum[2] += v & 0xFF;
        } else acc &= v;
      }
    if (n == 0) return false;
    if (stretchMode == HALFTONE && !monoSource)
      acc = static_cast<uint32_t>(((sum[0] / n) << 16) | ((sum[1] / n) << 8) | (sum[2] / n));
    out = acc;
    return true;
  };

  bool fastCopy = identity && needSource && job.fore == 0xCC && job.back == 0xCC && !job.transparent &&
                  convert.mode == SourceConverter::Same && !flipX && !flipY;
  // Row path: whole rows through a source column table and one ROP loop; masks, transparency
  // and combining shrinks go pixel by pixel.
  bool rowPath = !job.mask && !job.transparent && !shrink;
  std::vector<int> columns;  // source x (in ss) per destination column, -1 outside the source
  if (rowPath && needSource) {
    columns.resize(static_cast<size_t>(dW));
    for (int i = 0; i < dW; ++i) {
      int ox = flipX ? dW - 1 - i : i;
      int sx = sX + (identity ? ox : MapIndex(ox, dW, sW)) - sOffX;
      columns[static_cast<size_t>(i)] = sx >= 0 && sx < ss->Width() ? sx : -1;
    }
  }
  std::vector<uint32_t> sbuf, pbuf;
  dst.Clip().ForEachRectIn(d, [&](const RECT& c) {
    for (int y = c.top; y < c.bottom; ++y) {
      uint32_t* row = ds.Row(y);
      if (fastCopy) {
        int py = sY + (y - d.top) - sOffY;
        if (py < 0 || py >= ss->Height()) continue;
        int x0 = std::max<int>(c.left, d.left + sOffX - sX), x1 = std::min<int>(c.right, d.left + sOffX - sX + ss->Width());
        if (x0 < x1) std::memcpy(row + x0, ss->Row(py) + (sX + (x0 - d.left) - sOffX), sizeof(uint32_t) * (x1 - x0));
        continue;
      }
      if (rowPath) {
        int x0 = c.left, x1 = c.right;
        const uint32_t* srow = nullptr;
        if (needSource) {
          int oy = flipY ? dH - 1 - (y - d.top) : y - d.top;
          int py = sY + (identity ? oy : MapIndex(oy, dH, sH)) - sOffY;
          if (py < 0 || py >= ss->Height()) continue;
          srow = ss->Row(py);
          while (x0 < x1 && columns[static_cast<size_t>(x0 - d.left)] < 0) ++x0;
          while (x1 > x0 && columns[static_cast<size_t>(x1 - 1 - d.left)] < 0) --x1;
        }
        int n = x1 - x0;
        if (n <= 0) continue;
        sbuf.assign(static_cast<size_t>(n), 0);
        if (needSource)
          for (int i = 0; i < n; ++i) {
            const uint32_t raw = srow[columns[static_cast<size_t>(x0 + i - d.left)]];
            sbuf[static_cast<size_t>(i)] = convert.mode == SourceConverter::Same ? raw : convert(raw & 0xFFFFFF);
          }
        const uint32_t* prow = nullptr;
        if (needPattern && !pattern.solid) {
          pbuf.resize(static_cast<size_t>(n));
          for (int i = 0; i < n; ++i) pbuf[static_cast<size_t>(i)] = pattern.At(x0 + i, y);
          prow = pbuf.data();
        }
        ApplyRop3(job.fore, row + x0, sbuf.data(), prow, pattern.solid ? pattern.color : 0, n);
        continue;
      }
      for (int x = c.left; x < c.right; ++x) {
        uint8_t rop = job.fore;
        if (job.mask) {
          int mxp = job.mx + (x - d.left), myp = job.my + (y - d.top);
          bool bit = job.mask->Contains(mxp, myp) && (job.mask->Row(myp)[mxp] & 0xFFFFFF) != 0;
          rop = bit ? job.fore : job.back;
        }
        uint32_t s = 0;
        if (needSource) {
          uint32_t raw;
          if (!sourceAt(x - d.left, y - d.top, raw)) continue;
          if (job.transparent && raw == job.transparentPixel) continue;
          s = convert(raw);
        }
        uint32_t p = needPattern ? (pattern.solid ? pattern.color : pattern.At(x, y)) : 0;
        ApplyRop3(rop, row + x, &s, needPattern && !pattern.solid ? &p : nullptr, p, 1);
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

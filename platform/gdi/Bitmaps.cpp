// Bitmaps and DIBs: creation, bits in and out, DIB sections and DIB blits.
#include "gdi/Bitmaps.h"

#include <algorithm>
#include <cstring>

#include "gdi/DibFormat.h"
#include "gdi/GdiInternal.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace brambolt::gdi {

namespace {

DibFormat FormatOf(const BitmapObject& bm) {
  DibFormat f;
  f.width = bm.dib.biWidth;
  f.topDown = bm.dib.biHeight < 0;
  f.height = std::abs(bm.dib.biHeight);
  f.bpp = bm.bitsPixel;
  f.compression = bm.dib.biCompression;
  for (const RGBQUAD& q : bm.colors) f.colors.push_back((static_cast<uint32_t>(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue);
  std::memcpy(f.masks, bm.masks, sizeof f.masks);
  return f;
}

}  // namespace

void BitmapObject::SyncFromBits() {
  if (!NeedsSync() || !bits) return;
  DibFormat f = FormatOf(*this);
  DecodeDib(f, bits, f.ImageSize(), *surface);
}

void BitmapObject::SyncToBits() {
  if (!NeedsSync() || !bits) return;
  DibFormat f = FormatOf(*this);
  size_t stride = f.Stride();
  for (int y = 0; y < f.height; ++y) {
    int r = f.topDown ? y : f.height - 1 - y;
    EncodeRow(f, surface->Row(y), bits + r * stride);
  }
}

namespace {

std::shared_ptr<BitmapObject> NewBitmap(int w, int h, int bpp) {
  auto bm = std::make_shared<BitmapObject>();
  bm->bitsPixel = bpp;
  bm->surface = std::make_shared<Surface>(w, h, 0);
  return bm;
}

// Device bitmap rows: monochrome rows are MSB-first and padded to 16 bits, colour rows are
// 32-bit BGRX; 16 and 24-bit data (CreateBitmap) are padded to 16 bits as well.
int DdbStride(int width, int bpp) { return ((width * bpp + 15) / 16) * 2; }

void SetDdbBits(BitmapObject& bm, const uint8_t* src, size_t size, int bpp) {
  int w = bm.Width(), h = bm.Height();
  size_t stride = static_cast<size_t>(DdbStride(w, bpp));
  for (int y = 0; y < h && (y + 1) * stride <= size; ++y) {
    const uint8_t* row = src + y * stride;
    uint32_t* out = bm.surface->Row(y);
    for (int x = 0; x < w; ++x) {
      switch (bpp) {
        case 1: out[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 0xFFFFFF : 0; break;
        case 16: {
          unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
          out[x] = (((v >> 10) & 31) * 255 / 31) << 16 | (((v >> 5) & 31) * 255 / 31) << 8 | ((v & 31) * 255 / 31);
          break;
        }
        case 24: out[x] = (static_cast<uint32_t>(row[3 * x + 2]) << 16) | (row[3 * x + 1] << 8) | row[3 * x]; break;
        default: out[x] = (static_cast<uint32_t>(row[4 * x + 2]) << 16) | (row[4 * x + 1] << 8) | row[4 * x]; break;
      }
    }
  }
}

std::shared_ptr<DeviceContext> CompatibleWith(HDC hdc) { return hdc ? LookupDC(hdc) : nullptr; }

}  // namespace
}  // namespace brambolt::gdi

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width < 0 || height < 0 || planes != 1) return nullptr;
  if (width == 0 || height == 0) return CreateBitmap(1, 1, 1, 1, nullptr);
  if (!AllocatableSize(width, height)) return nullptr;
  int bpp = bitsPerPixel == 1 ? 1 : 32;
  if (bitsPerPixel != 1 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
  auto bm = NewBitmap(width, height, bpp);
  if (bits) {
    size_t size = static_cast<size_t>(DdbStride(width, static_cast<int>(bitsPerPixel))) * height;
    SetDdbBits(*bm, static_cast<const uint8_t*>(bits), size, static_cast<int>(bitsPerPixel));
  }
  return static_cast<HBITMAP>(Register(bm));
}

HBITMAP CreateBitmapIndirect(const BITMAP* b) {
  if (!b) return nullptr;
  return CreateBitmap(b->bmWidth, b->bmHeight, b->bmPlanes, b->bmBitsPixel, b->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  auto dc = CompatibleWith(hdc);
  if (!dc || width < 0 || height < 0) return nullptr;
  if (width == 0 || height == 0) return CreateBitmap(1, 1, 1, 1, nullptr);
  if (!AllocatableSize(width, height)) return nullptr;
  return static_cast<HBITMAP>(Register(NewBitmap(width, height, dc->IsMono() ? 1 : 32)));
}

HBITMAP CreateDiscardableBitmap(HDC hdc, int width, int height) { return CreateCompatibleBitmap(hdc, width, height); }

LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits) {
  auto bm = LookupBitmap(bitmap);
  if (!bm) return 0;
  if (bm->NeedsSync()) bm->SyncFromBits();
  int w = bm->Width(), h = bm->Height();
  int bpp = bm->IsMono() ? 1 : 32;
  LONG stride = DdbStride(w, bpp);
  if (!bits) return stride * h;
  auto* out = static_cast<uint8_t*>(bits);
  LONG done = 0;
  for (int y = 0; y < h && done + stride <= size; ++y, done += stride) {
    uint8_t* row = out + done;
    std::memset(row, 0, static_cast<size_t>(stride));
    const uint32_t* in = bm->surface->Row(y);
    for (int x = 0; x < w; ++x) {
      if (bpp == 1) {
        if (in[x] & 0xFFFFFF) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      } else {
        uint32_t v = in[x] & 0xFFFFFF;
        std::memcpy(row + 4 * x, &v, 4);
      }
    }
  }
  return done;
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits) {
  auto bm = LookupBitmap(bitmap);
  if (!bm || !bits) return 0;
  int bpp = bm->IsMono() ? 1 : 32;
  SetDdbBits(*bm, static_cast<const uint8_t*>(bits), size, bpp);
  if (bm->NeedsSync()) bm->SyncToBits();
  LONG total = DdbStride(bm->Width(), bpp) * bm->Height();
  return std::min<LONG>(total, static_cast<LONG>(size));
}

BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size) {
  auto bm = LookupBitmap(bitmap);
  if (!bm || !size) return FALSE;
  *size = bm->dimension;
  return TRUE;
}

BOOL SetBitmapDimensionEx(HBITMAP bitmap, int width, int height, LPSIZE previous) {
  auto bm = LookupBitmap(bitmap);
  if (!bm) return FALSE;
  if (previous) *previous = bm->dimension;
  bm->dimension = SIZE{width, height};
  return TRUE;
}

int SetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  auto bm = LookupBitmap(bitmap);
  auto dc = hdc ? LookupDC(hdc) : nullptr;
  DibFormat f;
  if (!bm || !bits || !ParseDibHeader(info, usage, dc.get(), f)) return 0;
  if (bm->NeedsSync()) bm->SyncFromBits();
  Surface& s = *bm->surface;
  int done = 0;
  if (f.compression == BI_RLE4 || f.compression == BI_RLE8) {
    DWORD sizeImage = info->bmiHeader.biSize >= 40 ? info->bmiHeader.biSizeImage : 0;
    Surface tmp(f.width, f.height, 0);
    if (!DecodeDib(f, bits, sizeImage ? sizeImage : SIZE_MAX / 2, tmp)) return 0;
    for (int y = 0; y < std::min(f.height, s.Height()); ++y)
      std::memcpy(s.Row(y), tmp.Row(y), sizeof(uint32_t) * std::min(f.width, s.Width()));
    done = f.height;
  } else {
    std::vector<uint32_t> line(static_cast<size_t>(f.width));
    auto* p = static_cast<const uint8_t*>(bits);
    for (UINT i = 0; i < lines; ++i) {
      int r = static_cast<int>(start + i);  // DIB row index: from the bottom unless top-down
      if (r >= f.height) break;
      DecodeRow(f, p + i * f.Stride(), line.data());
      int y = f.topDown ? r : f.height - 1 - r;
      // A DIB taller than the bitmap keeps its bottom-left corner on the bitmap's.
      if (!f.topDown) y -= f.height - s.Height();
      if (y >= 0 && y < s.Height()) {
        uint32_t* out = s.Row(y);
        int w = std::min(f.width, s.Width());
        for (int x = 0; x < w; ++x) out[x] = bm->IsMono() ? (MonoIsWhite(line[x]) ? 0xFFFFFF : 0) : line[x];
      }
      ++done;
    }
  }
  if (bm->NeedsSync()) bm->SyncToBits();
  return done;
}

int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage) {
  auto bm = LookupBitmap(bitmap);
  if (!bm || !info) return 0;
  (void)hdc;
  if (bm->NeedsSync()) bm->SyncFromBits();
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) && h.biSize != sizeof(BITMAPCOREHEADER)) return 0;
  if (h.biSize == sizeof(BITMAPCOREHEADER)) return 0;  // core headers are read, not written
  int depth = bm->IsMono() ? 1 : bm->bitsPixel;
  if (!bits && h.biBitCount == 0) {
    // Fill in the bitmap's own format.
    h.biWidth = bm->Width();
    h.biHeight = bm->Height();
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(depth);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(((bm->Width() * depth + 31) / 32) * 4 * bm->Height());
    h.biXPelsPerMeter = h.biYPelsPerMeter = 0;
    h.biClrUsed = h.biClrImportant = 0;
    return bm->Height() ? 1 : 0;
  }
  int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
  if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return 0;
  DibFormat f;
  f.width = h.biWidth;
  f.topDown = h.biHeight < 0;
  f.height = std::abs(h.biHeight);
  f.bpp = bpp;
  f.compression = h.biCompression;
  if (f.width != bm->Width()) f.width = bm->Width();
  if (bpp <= 8) {
    if (bm->dibSection && bm->bitsPixel == bpp && !bm->colors.empty()) {
      for (const RGBQUAD& q : bm->colors) f.colors.push_back((static_cast<uint32_t>(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue);
    } else {
      f.colors = StandardColorTable(bpp);
    }
    if (usage == DIB_RGB_COLORS) {
      for (size_t i = 0; i < f.colors.size(); ++i) {
        RGBQUAD q{static_cast<BYTE>(f.colors[i]), static_cast<BYTE>(f.colors[i] >> 8), static_cast<BYTE>(f.colors[i] >> 16), 0};
        std::memcpy(reinterpret_cast<uint8_t*>(info->bmiColors) + i * sizeof(RGBQUAD), &q, sizeof q);
      }
    } else {
      for (size_t i = 0; i < f.colors.size(); ++i) {
        WORD index = static_cast<WORD>(i);
        std::memcpy(reinterpret_cast<uint8_t*>(info->bmiColors) + i * 2, &index, 2);
      }
    }
    h.biClrUsed = 0;
  } else if (bpp == 16 || bpp == 32) {
    DWORD* m = reinterpret_cast<DWORD*>(info->bmiColors);
    if (h.biCompression == BI_BITFIELDS && m[0] && m[1] && m[2]) {
      std::memcpy(f.masks, m, sizeof f.masks);
    } else if (bpp == 16) {
      f.masks[0] = 0x7C00; f.masks[1] = 0x03E0; f.masks[2] = 0x001F;
    } else {
      f.masks[0] = 0xFF0000; f.masks[1] = 0x00FF00; f.masks[2] = 0x0000FF;
    }
  }
  h.biSizeImage = static_cast<DWORD>(f.ImageSize());
  if (!bits) return bm->Height() ? 1 : 0;
  // Scan lines are counted from the bottom of the bitmap, whichever way the buffer runs: a
  // top-down buffer gets lines [start, start + n) from the bottom, stored top row first.
  const int height = bm->Height();
  auto* out = static_cast<uint8_t*>(bits);
  const long long wanted = std::min<long long>({static_cast<long long>(lines), height - static_cast<long long>(start), f.height});
  if (wanted <= 0) return 0;
  const int n = static_cast<int>(wanted);
  for (int i = 0; i < n; ++i) {
    const int y = f.topDown ? height - static_cast<int>(start) - n + i : height - 1 - static_cast<int>(start) - i;
    EncodeRow(f, bm->surface->Row(y), out + static_cast<size_t>(i) * f.Stride());
  }
  return n;
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
  if (!header) return nullptr;
  auto dc = hdc ? LookupDC(hdc) : nullptr;
  DibFormat f;
  if (header->biSize == sizeof(BITMAPCOREHEADER)) {
    auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(header);
    f.width = core->bcWidth;
    f.height = core->bcHeight;
  } else {
    f.width = header->biWidth;
    f.height = std::abs(header->biHeight);
  }
  bool mono = dc ? dc->IsMono() : false;
  if (f.width <= 0 || f.height <= 0) return CreateBitmap(1, 1, 1, 1, nullptr);
  if (!AllocatableSize(f.width, f.height)) return nullptr;
  auto bm = NewBitmap(f.width, f.height, mono ? 1 : 32);
  HBITMAP h = static_cast<HBITMAP>(Register(bm));
  if ((init & CBM_INIT) && bits && info) {
    DibFormat src;
    if (ParseDibHeader(info, usage, dc.get(), src)) SetDIBits(hdc, h, 0, static_cast<UINT>(src.height), bits, info, usage);
  }
  return h;
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bitsOut, HANDLE, DWORD) {
  auto dc = hdc ? LookupDC(hdc) : nullptr;
  DibFormat f;
  if (bitsOut) *bitsOut = nullptr;
  if (!ParseDibHeader(info, usage, dc.get(), f) || !AllocatableSize(f.width, f.height)) return nullptr;
  if (f.compression != BI_RGB && f.compression != BI_BITFIELDS) return nullptr;
  auto bm = std::make_shared<BitmapObject>();
  bm->dibSection = true;
  bm->bitsPixel = f.bpp;
  bm->dib = info->bmiHeader;
  if (bm->dib.biSize == sizeof(BITMAPCOREHEADER)) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = f.width;
    h.biHeight = f.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(f.bpp);
    bm->dib = h;
  }
  bm->dib.biSize = sizeof(BITMAPINFOHEADER);
  bm->dib.biSizeImage = static_cast<DWORD>(f.ImageSize());
  for (uint32_t c : f.colors)
    bm->colors.push_back(RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0});
  std::memcpy(bm->masks, f.masks, sizeof bm->masks);
  bm->bitsStorage = std::shared_ptr<uint8_t[]>(new uint8_t[f.ImageSize()]());
  bm->bits = bm->bitsStorage.get();
  bool direct = f.bpp == 32 && f.masks[0] == 0xFF0000 && f.masks[1] == 0x00FF00 && f.masks[2] == 0x0000FF;
  if (direct) {
    // The surface wraps the bits; it keeps them alive for whoever still holds the surface.
    auto* words = reinterpret_cast<uint32_t*>(bm->bits);
    Surface* wrapped = f.topDown ? new Surface(words, f.width, f.height, f.width)
                                 : new Surface(words + static_cast<size_t>(f.height - 1) * f.width, f.width, f.height, -f.width);
    bm->surface = std::shared_ptr<Surface>(wrapped, [storage = bm->bitsStorage](Surface* surface) { delete surface; });
    bm->bitsPixel = 32;
  } else {
    bm->surface = std::make_shared<Surface>(f.width, f.height, 0);
    bm->SyncFromBits();
  }
  if (bitsOut) *bitsOut = bm->bits;
  return static_cast<HBITMAP>(Register(bm));
}

namespace {

int DibToDevice(HDC hdc, int xDest, int yDest, int dw, int dh, int xSrc, int ySrc, int sw, int sh, const Surface& src,
                DWORD rop) {
  auto dc = LookupDC(hdc);
  if (!dc) return 0;
  DrawScope scope(*dc);
  if (!scope.surface()) return 0;
  BlitJob job{};
  job.dst = dc.get();
  job.ds = scope.surface();
  job.ss = &src;
  job.fore = job.back = static_cast<uint8_t>(rop >> 16);
  if (dc->IsMono()) job.convert.mode = SourceConverter::NearestMono;
  POINT a = ToSurface(*dc, POINT{xDest, yDest}), b = ToSurface(*dc, POINT{xDest + dw, yDest + dh});
  job.dx = a.x;
  job.dy = a.y;
  job.dw = b.x - a.x;
  job.dh = b.y - a.y;
  job.sx = xSrc;
  job.sy = ySrc;
  job.sw = sw;
  job.sh = sh;
  return RunBlit(job) ? 1 : 0;
}

}  // namespace

int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  auto dc = LookupDC(hdc);
  DibFormat f;
  if (!dc || !ParseDibHeader(info, usage, dc.get(), f) || !AllocatableSize(f.width, f.height)) return 0;
  Surface src(f.width, f.height, 0);
  DWORD sizeImage = info->bmiHeader.biSize >= 40 ? info->bmiHeader.biSizeImage : 0;
  size_t size = (f.compression == BI_RLE4 || f.compression == BI_RLE8) ? (sizeImage ? sizeImage : SIZE_MAX / 2)
                                                                       : f.ImageSize();
  if (bits && !DecodeDib(f, bits, size, src)) return 0;
  // Bottom-up DIBs count the source rectangle from their lower-left corner.
  int top = f.topDown ? ySrc : f.height - (ySrc + srcHeight);
  if (!DibToDevice(hdc, xDest, yDest, destWidth, destHeight, xSrc, top, srcWidth, srcHeight, src, rop)) return 0;
  return f.height;
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  auto dc = LookupDC(hdc);
  DibFormat f;
  if (!dc || !bits || !ParseDibHeader(info, usage, dc.get(), f) || !AllocatableSize(f.width, f.height)) return 0;
  if (f.compression != BI_RGB && f.compression != BI_BITFIELDS) return 0;
  Surface src(f.width, f.height, 0);
  // Only rows [startScan, startScan + lines) (from the bottom, or the top for top-down DIBs) are given.
  std::vector<uint32_t> line(static_cast<size_t>(f.width));
  auto* p = static_cast<const uint8_t*>(bits);
  int bandTop = f.height, bandBottom = 0;  // surface rows supplied
  for (UINT i = 0; i < lines; ++i) {
    int r = static_cast<int>(startScan + i);
    if (r >= f.height) break;
    DecodeRow(f, p + i * f.Stride(), line.data());
    int y = f.topDown ? r : f.height - 1 - r;
    std::memcpy(src.Row(y), line.data(), sizeof(uint32_t) * f.width);
    bandTop = std::min(bandTop, y);
    bandBottom = std::max(bandBottom, y + 1);
  }
  int top = f.topDown ? ySrc : f.height - (ySrc + static_cast<int>(height));
  // Rows not supplied are not drawn: clip the destination to the supplied band.
  int y0 = std::max<int>(top, bandTop), y1 = std::min<int>(top + static_cast<int>(height), bandBottom);
  if (y0 >= y1) return 0;
  DibToDevice(hdc, xDest, yDest + (y0 - top), static_cast<int>(width), y1 - y0, xSrc, y0, static_cast<int>(width), y1 - y0,
              src, SRCCOPY);
  return static_cast<int>(lines);
}

UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors) {
  auto dc = LookupDC(hdc);
  if (!dc || !dc->st.bitmap || !dc->st.bitmap->dibSection || !colors) return 0;
  auto& table = dc->st.bitmap->colors;
  UINT n = 0;
  for (UINT i = start; i < table.size() && n < count; ++i) colors[n++] = table[i];
  return n;
}

UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors) {
  auto dc = LookupDC(hdc);
  if (!dc || !dc->st.bitmap || !dc->st.bitmap->dibSection || !colors) return 0;
  auto bm = dc->st.bitmap;
  UINT n = 0;
  for (UINT i = start; i < bm->colors.size() && n < count; ++i) bm->colors[i] = colors[n++];
  bm->SyncFromBits();
  return n;
}

namespace brambolt {

HBITMAP CreateBitmapFromSurface(const Surface& surface) {
  auto bm = NewBitmap(surface.Width(), surface.Height(), 32);
  for (int y = 0; y < surface.Height(); ++y)
    std::memcpy(bm->surface->Row(y), surface.Row(y), sizeof(uint32_t) * surface.Width());
  return static_cast<HBITMAP>(Register(bm));
}

std::shared_ptr<Surface> GetBitmapSurface(HBITMAP bitmap) {
  auto bm = LookupBitmap(bitmap);
  if (!bm) return nullptr;
  if (bm->NeedsSync()) bm->SyncFromBits();
  return bm->surface;
}

int GetBitmapDepth(HBITMAP bitmap) {
  auto bm = LookupBitmap(bitmap);
  if (!bm) return 0;
  return bm->IsMono() ? 1 : bm->bitsPixel;
}

}  // namespace brambolt

HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage) {
  DibFormat f;
  if (!ParseDibHeader(packedDib, usage, nullptr, f) || !AllocatableSize(f.width, f.height)) return nullptr;
  Surface pixels(f.width, f.height, 0);
  const uint8_t* bits = static_cast<const uint8_t*>(packedDib) + f.headerSize;
  if (!DecodeDib(f, bits, f.ImageSize(), pixels)) return nullptr;
  auto b = std::make_shared<BrushObject>();
  b->style = BS_DIBPATTERN;
  b->dibPattern = true;
  b->patternWidth = f.width;
  b->patternHeight = f.height;
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x) b->pattern.push_back(pixels.GetPixel(x, y));
  return static_cast<HBRUSH>(Register(b));
}

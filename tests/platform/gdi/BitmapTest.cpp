// Bitmaps and DIBs: monochrome row layout, DIB round trips at every depth, colour tables,
// DIB sections, StretchDIBits and SetDIBitsToDevice, palettes and PNG export.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "GdiTestUtil.h"

using gditest::MemoryCanvas;

namespace {

// A BITMAPINFO with room for a 256-entry colour table or bit masks.
struct Info {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[256]{};
  BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

Info MakeInfo(int w, int h, int bpp) {
  Info i;
  i.header.biSize = sizeof(BITMAPINFOHEADER);
  i.header.biWidth = w;
  i.header.biHeight = h;
  i.header.biPlanes = 1;
  i.header.biBitCount = static_cast<WORD>(bpp);
  i.header.biCompression = BI_RGB;
  return i;
}

TEST(Bitmaps, MonochromeRowsAreMsbFirstAndWordAligned) {
  const BYTE bits[] = {0xA0, 0x00, 0x5F, 0x00};  // 3 pixels wide, 2 rows, 16-bit rows
  HBITMAP bm = CreateBitmap(3, 2, 1, 1, bits);
  BITMAP info{};
  GetObject(bm, sizeof info, &info);
  EXPECT_EQ(info.bmWidthBytes, 2);
  auto s = brambolt::GetBitmapSurface(bm);
  EXPECT_EQ(s->GetPixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(s->GetPixel(1, 0), 0u);
  EXPECT_EQ(s->GetPixel(2, 0), 0xFFFFFFu);
  EXPECT_EQ(s->GetPixel(0, 1), 0u);
  EXPECT_EQ(s->GetPixel(1, 1), 0xFFFFFFu);
  BYTE back[4] = {};
  EXPECT_EQ(GetBitmapBits(bm, sizeof back, back), 4);
  EXPECT_EQ(back[0] & 0xE0, 0xA0);
  EXPECT_EQ(back[2] & 0xE0, 0x40);
  DeleteObject(bm);
}

TEST(Bitmaps, ImpossibleSizesAreRefusedNotFatal) {
  HDC screen = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(screen, 200000, 200000), nullptr);
  EXPECT_EQ(CreateBitmap(100000, 100000, 1, 32, nullptr), nullptr);
  Info huge = MakeInfo(65000, 65000, 32);
  void* bits = nullptr;
  EXPECT_EQ(CreateDIBSection(nullptr, huge.get(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
  DeleteDC(screen);
}

TEST(Dib, RoundTripsAtEveryDepth) {
  // A palette-friendly picture: every pixel one of the 16 VGA colours.
  const COLORREF vga[] = {RGB(0, 0, 0), RGB(128, 0, 0), RGB(0, 128, 0), RGB(128, 128, 0), RGB(0, 0, 128),
                          RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192), RGB(128, 128, 128),
                          RGB(255, 0, 0), RGB(0, 255, 0), RGB(255, 255, 0), RGB(0, 0, 255), RGB(255, 0, 255),
                          RGB(0, 255, 255), RGB(255, 255, 255)};
  const int w = 13, h = 5;
  MemoryCanvas canvas(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) canvas.surface().SetColor(x, y, vga[(x + 3 * y) % 16]);
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    Info info = MakeInfo(w, h, bpp);
    ASSERT_EQ(GetDIBits(canvas.dc(), canvas.bitmap(), 0, h, nullptr, info.get(), DIB_RGB_COLORS), 1);
    size_t stride = ((w * bpp + 31) / 32) * 4;
    EXPECT_EQ(info.header.biSizeImage, stride * h) << bpp;
    std::vector<BYTE> bits(info.header.biSizeImage);
    ASSERT_EQ(GetDIBits(canvas.dc(), canvas.bitmap(), 0, h, bits.data(), info.get(), DIB_RGB_COLORS), h) << bpp;
    MemoryCanvas back(w, h, RGB(1, 2, 3));
    ASSERT_EQ(SetDIBits(back.dc(), back.bitmap(), 0, h, bits.data(), info.get(), DIB_RGB_COLORS), h) << bpp;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        COLORREF want = canvas.at(x, y);
        if (bpp == 1) want = (GetRValue(want) + GetGValue(want) + GetBValue(want) > 382) ? RGB(255, 255, 255) : 0;
        if (bpp == 16) want = RGB(GetRValue(want) & 0xF8, GetGValue(want) & 0xF8, GetBValue(want) & 0xF8);
        COLORREF got = back.at(x, y);
        if (bpp == 16) got = RGB(GetRValue(got) & 0xF8, GetGValue(got) & 0xF8, GetBValue(got) & 0xF8);
        if (bpp == 1) got = (GetRValue(got) + GetGValue(got) + GetBValue(got) > 382) ? RGB(255, 255, 255) : 0;
        ASSERT_EQ(got, want) << "depth " << bpp << " at " << x << "," << y;
      }
  }
}

TEST(Dib, BottomUpAndTopDownRowsLandRightSideUp) {
  const int w = 2, h = 2;
  // 24-bit rows padded to 8 bytes; first stored row is the bottom one for bottom-up DIBs.
  BYTE rows[16] = {0, 0, 255, 0, 0, 255, 0, 0,       // red red
                   255, 0, 0, 255, 0, 0, 0, 0};      // blue blue
  Info up = MakeInfo(w, h, 24);
  MemoryCanvas a(w, h), b(w, h);
  SetDIBits(a.dc(), a.bitmap(), 0, h, rows, up.get(), DIB_RGB_COLORS);
  EXPECT_EQ(a.at(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(a.at(0, 0), RGB(0, 0, 255));
  Info down = MakeInfo(w, -h, 24);
  SetDIBits(b.dc(), b.bitmap(), 0, h, rows, down.get(), DIB_RGB_COLORS);
  EXPECT_EQ(b.at(0, 0), RGB(255, 0, 0));
}

TEST(Dib, ClrUsedLimitsTheColourTable) {
  // 4-bit DIB with only two colours in its table; the bits follow immediately.
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD c[2];
    BYTE bits[4];
  } packed{};
  packed.h.biSize = sizeof(BITMAPINFOHEADER);
  packed.h.biWidth = 2;
  packed.h.biHeight = 1;
  packed.h.biPlanes = 1;
  packed.h.biBitCount = 4;
  packed.h.biClrUsed = 2;
  packed.c[0] = RGBQUAD{0, 0, 255, 0};
  packed.c[1] = RGBQUAD{255, 0, 0, 0};
  packed.bits[0] = 0x01;
  HBRUSH brush = CreateDIBPatternBrushPt(&packed, DIB_RGB_COLORS);
  ASSERT_NE(brush, nullptr);
  MemoryCanvas canvas(2, 1);
  RECT r{0, 0, 2, 1};
  FillRect(canvas.dc(), &r, brush);
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(1, 0), RGB(0, 0, 255));
  DeleteObject(brush);
}

TEST(Dib, CoreHeaderBitmapsLoad) {
  struct {
    BITMAPCOREHEADER h;
    RGBTRIPLE c[2];
    BYTE pad[2];
    BYTE bits[4];
  } core{};
  core.h.bcSize = sizeof(BITMAPCOREHEADER);
  core.h.bcWidth = 3;
  core.h.bcHeight = 1;
  core.h.bcPlanes = 1;
  core.h.bcBitCount = 1;
  core.c[0] = RGBTRIPLE{0, 255, 0};
  core.c[1] = RGBTRIPLE{255, 0, 0};
  core.pad[0] = 0x40;  // the colour table is 6 bytes; bits follow at offset 18
  HDC screen = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  auto* info = reinterpret_cast<const BITMAPINFO*>(&core);
  const BYTE* bits = reinterpret_cast<const BYTE*>(&core) + 18;
  HBITMAP bm = CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(&core), CBM_INIT, bits, info,
                              DIB_RGB_COLORS);
  auto s = brambolt::GetBitmapSurface(bm);
  EXPECT_EQ(s->GetColor(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(s->GetColor(1, 0), RGB(0, 0, 255));
  DeleteObject(bm);
  DeleteDC(screen);
}

// 16-bit 5-6-5 pixels: the masks follow a 40-byte header and lie inside a larger one; a header
// that states bit fields but ends before their place is refused (nothing past it is read).
TEST(Dib, BitFieldMasksAreReadOnlyWhereTheHeaderKeepsThem) {
  for (DWORD size : {40u, 41u, 48u, 51u, 52u, 56u}) {
    const bool masks = size == 40 || size >= 52;
    std::vector<BYTE> info(size + (size == 40 ? 12 : 0), 0);  // just what the header says it is
    BITMAPINFOHEADER h{};
    h.biSize = size;
    h.biWidth = 1;
    h.biHeight = 1;
    h.biPlanes = 1;
    h.biBitCount = 16;
    h.biCompression = BI_BITFIELDS;
    std::memcpy(info.data(), &h, sizeof h);
    const DWORD fields[3] = {0xF800, 0x07E0, 0x001F};
    if (masks) std::memcpy(info.data() + 40, fields, sizeof fields);
    const BYTE bits[4] = {0x00, 0xF8, 0, 0};
    MemoryCanvas canvas(1, 1, RGB(9, 9, 9));
    const int lines =
        SetDIBits(canvas.dc(), canvas.bitmap(), 0, 1, bits, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    EXPECT_EQ(lines, masks ? 1 : 0) << size;
    EXPECT_EQ(canvas.at(0, 0), masks ? RGB(255, 0, 0) : RGB(9, 9, 9)) << size;
  }
}

TEST(Dib, Rle8RunsLiteralsAndEscapes) {
  Info info = MakeInfo(4, 2, 8);
  info.header.biCompression = BI_RLE8;
  info.colors[1] = RGBQUAD{0, 0, 255, 0};
  info.colors[2] = RGBQUAD{0, 255, 0, 0};
  // Bottom row: run of 3 x colour 1, end of line; top row: literal 2,1,2 (padded), end of bitmap.
  const BYTE rle[] = {3, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 1};
  info.header.biSizeImage = sizeof rle;
  MemoryCanvas canvas(4, 2, RGB(9, 9, 9));
  StretchDIBits(canvas.dc(), 0, 0, 4, 2, 0, 0, 4, 2, rle, info.get(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(canvas.at(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(2, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(3, 1), RGB(0, 0, 0));  // not covered by a run: index 0
  EXPECT_EQ(canvas.at(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(2, 0), RGB(0, 255, 0));
}

TEST(DibSection, DrawingReachesTheBitsAtEveryDepth) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    Info info = MakeInfo(8, 4, bpp);
    if (bpp <= 8) {
      info.colors[0] = RGBQUAD{255, 255, 255, 0};
      info.colors[1] = RGBQUAD{0, 0, 0, 0};
    }
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr) << bpp;
    ASSERT_NE(bits, nullptr);
    DIBSECTION ds{};
    ASSERT_EQ(GetObject(dib, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBitsPixel, bpp);
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    RECT all{0, 0, 8, 4};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetPixel(dc, 0, 0, RGB(0, 0, 0));  // top-left: the last row in memory (bottom-up)
    size_t stride = ((8 * bpp + 31) / 32) * 4;
    const BYTE* lastRow = static_cast<BYTE*>(bits) + 3 * stride;
    const BYTE* firstRow = static_cast<BYTE*>(bits);
    if (bpp == 1) {
      EXPECT_EQ(lastRow[0] & 0x80, 0x80) << "black is entry 1";
      EXPECT_EQ(firstRow[0] & 0x80, 0);
    } else if (bpp == 4) {
      EXPECT_EQ(lastRow[0] >> 4, 1);
    } else if (bpp == 8) {
      EXPECT_EQ(lastRow[0], 1);
      EXPECT_EQ(firstRow[0], 0);
    } else {
      EXPECT_EQ(lastRow[0], 0) << bpp;
      EXPECT_EQ(firstRow[0], 0xFF) << bpp;
    }
    // Writing the bits directly shows through the DC.
    if (bpp == 32) {
      static_cast<uint32_t*>(bits)[0] = 0x00FF0000;  // bottom-left, red
      EXPECT_EQ(GetPixel(dc, 0, 3), RGB(255, 0, 0));
    } else if (bpp == 8) {
      static_cast<BYTE*>(bits)[0] = 1;
      EXPECT_EQ(GetPixel(dc, 0, 3), RGB(0, 0, 0));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
  }
}

TEST(DibSection, SurfaceOutlivesTheDeletedSection) {
  Info info = MakeInfo(4, 4, 32);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
  auto surface = brambolt::GetBitmapSurface(dib);
  ASSERT_TRUE(DeleteObject(dib));
  surface->SetPixel(3, 3, 0x123456);  // still valid memory
  EXPECT_EQ(surface->GetPixel(3, 3), 0x123456u);
}

TEST(Dib, StretchDIBitsCountsSourceFromTheBottom) {
  Info info = MakeInfo(2, 2, 32);
  uint32_t pixels[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};  // bottom row: blue green; top: red white
  MemoryCanvas canvas(4, 4);
  StretchDIBits(canvas.dc(), 0, 0, 4, 4, 0, 0, 2, 2, pixels, info.get(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(3, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(0, 3), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(3, 3), RGB(0, 255, 0));
  MemoryCanvas part(2, 2);
  // Source rectangle (1,0)-(2,1) measured from the lower-left: the bottom-right pixel, green.
  StretchDIBits(part.dc(), 0, 0, 1, 1, 1, 0, 1, 1, pixels, info.get(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(part.at(0, 0), RGB(0, 255, 0));
  MemoryCanvas device(2, 2);
  EXPECT_EQ(SetDIBitsToDevice(device.dc(), 0, 0, 2, 2, 0, 0, 0, 2, pixels, info.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(device.at(0, 1), RGB(0, 0, 255));
  EXPECT_EQ(device.at(1, 0), RGB(255, 255, 255));
}

TEST(Dib, ThirtyTwoBitPixelsKeepTheirFourthByte) {
  constexpr uint32_t kPixel = 0xFEDCBA98;
  Info info = MakeInfo(4, -2, 32);
  void* sourceBits = nullptr;
  void* targetBits = nullptr;
  HBITMAP source = CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &sourceBits, nullptr, 0);
  HBITMAP target = CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &targetBits, nullptr, 0);
  ASSERT_TRUE(source && target);
  std::fill_n(static_cast<uint32_t*>(sourceBits), 8, kPixel);
  HDC sdc = CreateCompatibleDC(nullptr), tdc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldS = SelectObject(sdc, source), oldT = SelectObject(tdc, target);
  auto* out = static_cast<uint32_t*>(targetBits);
  ASSERT_TRUE(BitBlt(tdc, 0, 0, 2, 2, sdc, 0, 0, SRCCOPY));
  GdiFlush();
  EXPECT_EQ(out[0], kPixel) << "BitBlt";
  ASSERT_TRUE(StretchBlt(tdc, 0, 0, 4, 2, sdc, 0, 0, 2, 1, SRCCOPY));
  GdiFlush();
  EXPECT_EQ(out[7], kPixel) << "StretchBlt";
  const uint32_t given[8] = {1, 2, 3, 4, 0xFF000005, 0xFF000006, 0xFF000007, 0xFF000008};
  ASSERT_EQ(StretchDIBits(tdc, 0, 0, 4, 2, 0, 0, 4, 2, given, info.get(), DIB_RGB_COLORS, SRCCOPY), 2);
  GdiFlush();
  EXPECT_EQ(out[4], 0xFF000005u) << "StretchDIBits";
  SelectObject(sdc, oldS);
  SelectObject(tdc, oldT);
  uint32_t read[8] = {};
  Info query = MakeInfo(4, -2, 32);
  ASSERT_EQ(GetDIBits(tdc, target, 0, 2, read, query.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(read[7], 0xFF000008u) << "GetDIBits";
  DeleteDC(sdc);
  DeleteDC(tdc);
  DeleteObject(source);
  DeleteObject(target);
}

TEST(DibSection, RasterOperationsWorkOnAllFourBytes) {
  gditest::DibCanvas dst(8, 1), src(8, 1);
  const uint32_t before[8] = {0x80FFFFFF, 0x80123456, 0x80123456, 0x80123456,
                              0x80123456, 0x80123456, 0x80123456, 0x80123456};
  for (int x = 0; x < 8; ++x) {
    dst.bits(x, 0) = before[x];
    src.bits(x, 0) = x == 2 ? 0xC0FF00FF : 0;
  }
  HBRUSH brush = CreateSolidBrush(RGB(0xFF, 0, 0));
  HGDIOBJ oldBrush = SelectObject(dst.dc(), brush);
  ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, SRCINVERT));
  ASSERT_TRUE(PatBlt(dst.dc(), 1, 0, 1, 1, DSTINVERT));
  ASSERT_TRUE(BitBlt(dst.dc(), 2, 0, 1, 1, src.dc(), 2, 0, SRCAND));
  ASSERT_TRUE(PatBlt(dst.dc(), 3, 0, 1, 1, PATINVERT));
  ASSERT_TRUE(PatBlt(dst.dc(), 4, 0, 1, 1, PATCOPY));
  ASSERT_TRUE(PatBlt(dst.dc(), 5, 0, 1, 1, BLACKNESS));
  ASSERT_TRUE(PatBlt(dst.dc(), 6, 0, 1, 1, WHITENESS));
  ASSERT_TRUE(StretchBlt(dst.dc(), 7, 0, 1, 1, src.dc(), 0, 0, 2, 1, SRCPAINT));
  GdiFlush();
  EXPECT_EQ(dst.bits(0, 0), 0x80FFFFFFu) << "SRCINVERT with 0";
  EXPECT_EQ(dst.bits(1, 0), 0x7FEDCBA9u) << "DSTINVERT";
  EXPECT_EQ(dst.bits(2, 0), 0x80120056u) << "SRCAND";
  EXPECT_EQ(dst.bits(3, 0), 0x80ED3456u) << "PATINVERT";
  EXPECT_EQ(dst.bits(4, 0), 0x00FF0000u) << "PATCOPY: the brush's colour";
  EXPECT_EQ(dst.bits(5, 0), 0x00000000u) << "BLACKNESS";
  EXPECT_EQ(dst.bits(6, 0), 0x00FFFFFFu) << "WHITENESS";
  EXPECT_EQ(dst.bits(7, 0), 0x80123456u) << "SRCPAINT with 0";
  SelectObject(dst.dc(), oldBrush);
  DeleteObject(brush);
}

TEST(Dib, GetDIBitsCountsScanLinesFromTheBottomForTopDownBuffersToo) {
  // Rows 0..3 from the top, each a colour of its own.
  Info info = MakeInfo(1, -4, 32);
  const uint32_t rows[4] = {0x000010, 0x000020, 0x000030, 0x000040};
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  std::memcpy(bits, rows, sizeof rows);
  struct Case {
    LONG height;
    UINT start, lines;
    std::vector<uint32_t> expected;
  };
  const Case cases[] = {
      {-4, 1, 2, {0x000020, 0x000030}},  // scan lines 1 and 2 from the bottom, top row first
      {4, 1, 2, {0x000030, 0x000020}},   // the same lines, bottom row first
      {-4, 3, 5, {0x000010}},            // only what the bitmap holds
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height * 10 + static_cast<LONG>(c.start));
    Info query = MakeInfo(1, c.height, 32);
    std::vector<uint32_t> got(4, 0xDEAD);
    ASSERT_EQ(GetDIBits(dc, bitmap, c.start, c.lines, got.data(), query.get(), DIB_RGB_COLORS),
              static_cast<int>(c.expected.size()));
    got.resize(c.expected.size());
    EXPECT_EQ(got, c.expected);
  }
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(Palette, DefaultPaletteHasTwentyStaticColours) {
  HPALETTE pal = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 20u);
  PALETTEENTRY e[20];
  ASSERT_EQ(GetPaletteEntries(pal, 0, 20, e), 20u);
  EXPECT_EQ(e[0].peRed, 0);
  EXPECT_EQ(e[7].peRed, 192);
  EXPECT_EQ(e[19].peBlue, 255);
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(250, 5, 5)), 13u);
}

TEST(Palette, PaletteIndexResolvesThroughTheSelectedPalette) {
  std::vector<BYTE> raw(sizeof(LOGPALETTE) + 40 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(raw.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 40;
  for (int i = 0; i < 40; ++i) lp->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(i * 6), 0, 0, 0};
  HPALETTE pal = CreatePalette(lp);
  ASSERT_NE(pal, nullptr);
  MemoryCanvas canvas(2, 1);
  HPALETTE old = SelectPalette(canvas.dc(), pal, FALSE);
  RealizePalette(canvas.dc());
  SetPixel(canvas.dc(), 0, 0, PALETTEINDEX(30));
  EXPECT_EQ(canvas.at(0, 0), RGB(180, 0, 0));
  PALETTEENTRY changed{1, 2, 3, 0};
  EXPECT_EQ(SetPaletteEntries(pal, 30, 1, &changed), 1u);
  SetPixel(canvas.dc(), 1, 0, PALETTEINDEX(30));
  EXPECT_EQ(canvas.at(1, 0), RGB(1, 2, 3));
  SelectPalette(canvas.dc(), old, FALSE);
  EXPECT_TRUE(DeleteObject(pal));
}

TEST(Png, SurfaceIsWrittenAsRgbPng) {
  brambolt::Surface s(3, 2, 0x123456);
  std::string path = ::testing::TempDir() + "gdi_png_test.png";
  ASSERT_TRUE(brambolt::SavePng(s, path.c_str()));
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  unsigned char sig[8] = {};
  ASSERT_EQ(std::fread(sig, 1, 8, f), 8u);
  std::fclose(f);
  EXPECT_EQ(sig[1], 'P');
  EXPECT_EQ(sig[2], 'N');
  EXPECT_EQ(sig[3], 'G');
  std::remove(path.c_str());
  EXPECT_FALSE(brambolt::SavePng(s, "/nonexistent-folder/x.png"));
}

}  // namespace

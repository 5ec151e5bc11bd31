// Raster operations: ROP2 modes, ternary codes for blits against their truth tables, monochrome
// and colour conversions, stretching and pattern brush alignment.
#include <gtest/gtest.h>

#include <vector>

#include "GdiTestUtil.h"

using gditest::MemoryCanvas;

namespace {

// The reference: bit k of the code gives the result for P = k>>2, S = k>>1, D = k (per bit).
uint32_t Reference(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t out = 0;
  for (int bit = 0; bit < 24; ++bit) {
    int k = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
    out |= ((code >> k) & 1u) << bit;
  }
  return out;
}

COLORREF ToColor(uint32_t pixel) { return brambolt::ColorFromPixel(pixel); }

TEST(Rop3, EveryTernaryCodeMatchesItsTruthTable) {
  const uint32_t P = 0x0F33C5, S = 0x5A0FF0, D = 0x3C6A96;
  MemoryCanvas dst(1, 1), src(1, 1);
  HBRUSH brush = CreateSolidBrush(ToColor(P));
  SelectObject(dst.dc(), brush);
  src.surface().SetPixel(0, 0, S);
  for (int code = 0; code < 256; ++code) {
    dst.surface().SetPixel(0, 0, D);
    DWORD rop = static_cast<DWORD>(code) << 16;
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, rop));
    ASSERT_EQ(dst.surface().GetPixel(0, 0), Reference(static_cast<uint8_t>(code), P, S, D)) << "code " << code;
  }
  SelectObject(dst.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

TEST(Rop3, NamedCodesHaveTheirDocumentedEffect) {
  struct Case {
    DWORD rop;
    uint8_t code;
  } cases[] = {{SRCCOPY, 0xCC},   {SRCPAINT, 0xEE},  {SRCAND, 0x88},    {SRCINVERT, 0x66}, {SRCERASE, 0x44},
               {NOTSRCCOPY, 0x33}, {NOTSRCERASE, 0x11}, {MERGECOPY, 0xC0}, {MERGEPAINT, 0xBB}, {PATCOPY, 0xF0},
               {PATPAINT, 0xFB},  {PATINVERT, 0x5A}, {DSTINVERT, 0x55}, {BLACKNESS, 0x00}, {WHITENESS, 0xFF},
               {0x00B8074A, 0xB8}, {0x00E20746, 0xE2}};
  for (const Case& c : cases) EXPECT_EQ((c.rop >> 16) & 0xFF, c.code);
}

TEST(Rop3, PatBltAppliesPatternAndDestinationCodes) {
  MemoryCanvas canvas(4, 1, RGB(0x12, 0x34, 0x56));
  HBRUSH brush = CreateSolidBrush(RGB(0xF0, 0x0F, 0xFF));
  SelectObject(canvas.dc(), brush);
  PatBlt(canvas.dc(), 0, 0, 1, 1, PATCOPY);
  PatBlt(canvas.dc(), 1, 0, 1, 1, PATINVERT);
  PatBlt(canvas.dc(), 2, 0, 1, 1, DSTINVERT);
  PatBlt(canvas.dc(), 3, 0, 1, 1, WHITENESS);
  EXPECT_EQ(canvas.at(0, 0), RGB(0xF0, 0x0F, 0xFF));
  EXPECT_EQ(canvas.at(1, 0), RGB(0xF0 ^ 0x12, 0x0F ^ 0x34, 0xFF ^ 0x56));
  EXPECT_EQ(canvas.at(2, 0), RGB(0xFF - 0x12, 0xFF - 0x34, 0xFF - 0x56));
  EXPECT_EQ(canvas.at(3, 0), RGB(255, 255, 255));
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

TEST(Rop2, EveryModeMatchesItsTruthTable) {
  const COLORREF pen = RGB(0x0F, 0x33, 0xC5), dest = RGB(0x3C, 0x6A, 0x96);
  MemoryCanvas canvas(1, 1);
  HPEN hpen = CreatePen(PS_SOLID, 1, pen);
  SelectObject(canvas.dc(), hpen);
  for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode) {
    canvas.surface().SetColor(0, 0, dest);
    SetROP2(canvas.dc(), mode);
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    LineTo(canvas.dc(), 1, 0);
    // ROP2 bit (P*2 + D) of (mode - 1); as a ternary code it ignores S.
    uint8_t table = static_cast<uint8_t>(mode - 1), code = 0;
    for (int k = 0; k < 8; ++k)
      if ((table >> (((k >> 2) & 1) * 2 + (k & 1))) & 1) code |= static_cast<uint8_t>(1 << k);
    uint32_t expected = Reference(code, brambolt::PixelFromColor(pen), 0, brambolt::PixelFromColor(dest));
    ASSERT_EQ(canvas.surface().GetPixel(0, 0), expected) << "mode " << mode;
  }
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(hpen);
}

TEST(Rop2, XorDrawnTwiceRestoresThePixels) {
  MemoryCanvas canvas(20, 20, RGB(10, 200, 30));
  canvas.surface().SetColor(5, 5, RGB(1, 2, 3));
  HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
  SelectObject(canvas.dc(), pen);
  SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
  SetROP2(canvas.dc(), R2_NOTXORPEN);
  Rectangle(canvas.dc(), 2, 2, 15, 15);
  EXPECT_NE(canvas.Count(RGB(10, 200, 30)), 399);
  Rectangle(canvas.dc(), 2, 2, 15, 15);
  EXPECT_EQ(canvas.Count(RGB(10, 200, 30)), 399);
  EXPECT_EQ(canvas.at(5, 5), RGB(1, 2, 3));
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(MonoConversion, MonochromeSourceTakesDestinationTextAndBackgroundColours) {
  MemoryCanvas dst(2, 1);
  HDC monoDC = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(monoDC, 2, 1);
  HGDIOBJ old = SelectObject(monoDC, mono);
  SetPixel(monoDC, 0, 0, RGB(0, 0, 0));
  SetPixel(monoDC, 1, 0, RGB(255, 255, 255));
  SetTextColor(dst.dc(), RGB(200, 0, 0));
  SetBkColor(dst.dc(), RGB(0, 0, 100));
  BitBlt(dst.dc(), 0, 0, 2, 1, monoDC, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.at(0, 0), RGB(200, 0, 0));
  EXPECT_EQ(dst.at(1, 0), RGB(0, 0, 100));
  SelectObject(monoDC, old);
  DeleteObject(mono);
  DeleteDC(monoDC);
}

TEST(MonoConversion, ColourSourceBecomesWhiteWhereItMatchesSourceBackground) {
  MemoryCanvas src(3, 1);
  src.surface().SetColor(0, 0, RGB(255, 0, 255));
  src.surface().SetColor(1, 0, RGB(255, 255, 255));
  src.surface().SetColor(2, 0, RGB(0, 0, 0));
  SetBkColor(src.dc(), RGB(255, 0, 255));
  HDC monoDC = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateBitmap(3, 1, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(monoDC, mono);
  BitBlt(monoDC, 0, 0, 3, 1, src.dc(), 0, 0, SRCCOPY);
  BYTE bits[2] = {};
  ASSERT_EQ(GetBitmapBits(mono, sizeof bits, bits), 2);
  // Only the magenta pixel matched the background colour: bit pattern 100.
  EXPECT_EQ(bits[0] & 0xE0, 0x80);
  SelectObject(monoDC, old);
  DeleteObject(mono);
  DeleteDC(monoDC);
}

TEST(MonoConversion, ColoursDrawnOnMonochromeBitmapsBecomeNearestOfBlackAndWhite) {
  HDC monoDC = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateBitmap(3, 1, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(monoDC, mono);
  EXPECT_EQ(SetPixel(monoDC, 0, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
  EXPECT_EQ(SetPixel(monoDC, 1, 0, RGB(100, 20, 20)), RGB(0, 0, 0));
  EXPECT_EQ(GetNearestColor(monoDC, RGB(192, 192, 192)), RGB(255, 255, 255));
  SelectObject(monoDC, old);
  DeleteObject(mono);
  DeleteDC(monoDC);
}

TEST(MaskBlt, MaskSelectsForegroundOrBackgroundCode) {
  MemoryCanvas dst(2, 1, RGB(9, 9, 9)), src(2, 1, RGB(200, 100, 50));
  const BYTE maskBits[2] = {0x80, 0};  // pixel 0 set, pixel 1 clear
  HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskBits);
  MaskBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, 0x00AA0029));
  EXPECT_EQ(dst.at(0, 0), RGB(200, 100, 50));
  EXPECT_EQ(dst.at(1, 0), RGB(9, 9, 9));
  DeleteObject(mask);
}

TEST(Blit, OverlappingBlitWithinOneSurfaceReadsTheOriginal) {
  MemoryCanvas canvas(6, 1);
  for (int x = 0; x < 6; ++x) canvas.surface().SetPixel(x, 0, static_cast<uint32_t>(x));
  BitBlt(canvas.dc(), 1, 0, 5, 1, canvas.dc(), 0, 0, SRCCOPY);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(canvas.surface().GetPixel(x, 0), static_cast<uint32_t>(x - 1));
}

TEST(Blit, StretchEnlargesByPixelReplicationAndMirrors) {
  MemoryCanvas src(2, 1), dst(4, 2);
  src.surface().SetColor(0, 0, RGB(255, 0, 0));
  src.surface().SetColor(1, 0, RGB(0, 0, 255));
  StretchBlt(dst.dc(), 0, 0, 4, 2, src.dc(), 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(dst.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dst.at(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(dst.at(2, 0), RGB(0, 0, 255));
  EXPECT_EQ(dst.at(3, 1), RGB(0, 0, 255));
  StretchBlt(dst.dc(), 3, 0, -4, 1, src.dc(), 0, 0, 2, 1, SRCCOPY);
  // A negative width runs back from the given start column, which it includes.
  EXPECT_EQ(dst.at(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(dst.at(1, 0), RGB(0, 0, 255));
  EXPECT_EQ(dst.at(2, 0), RGB(255, 0, 0));
  EXPECT_EQ(dst.at(3, 0), RGB(255, 0, 0));
}

// Four 32-bit pixels with alpha bytes of their own, and what a stretch from them gives.
constexpr uint32_t kA = 0x80112233, kB = 0x40FF00F0, kC = 0x01ABCDEF, kD = 0xFE0F0F8F;

std::vector<uint32_t> Stretch(int mode, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh, bool column) {
  const uint32_t given[4] = {kA, kB, kC, kD};
  gditest::DibCanvas src(column ? 1 : 4, column ? 4 : 1), dst(column ? 1 : 4, column ? 4 : 1);
  for (int i = 0; i < 4; ++i) {
    src.bits(column ? 0 : i, column ? i : 0) = given[i];
    dst.bits(column ? 0 : i, column ? i : 0) = 0x12345678;
  }
  SetStretchBltMode(dst.dc(), mode);
  EXPECT_TRUE(StretchBlt(dst.dc(), dx, dy, dw, dh, src.dc(), sx, sy, sw, sh, SRCCOPY));
  GdiFlush();
  std::vector<uint32_t> out;
  for (int i = 0; i < 4; ++i) out.push_back(dst.bits(column ? 0 : i, column ? i : 0));
  return out;
}

TEST(Blit, ShrinkKeepsTakenLinesOrCombinesTheEliminatedOnesByStretchMode) {
  using V = std::vector<uint32_t>;
  constexpr uint32_t kUntouched = 0x12345678;
  // Destination pixel k takes source pixel k * 4 / 2 (or k * 3 / 2): the others are eliminated.
  EXPECT_EQ(Stretch(COLORONCOLOR, 0, 0, 2, 1, 0, 0, 4, 1, false), (V{kA, kC, kUntouched, kUntouched}));
  EXPECT_EQ(Stretch(COLORONCOLOR, 0, 0, 2, 1, 0, 0, 3, 1, false), (V{kA, kB, kUntouched, kUntouched}));
  // And-scans and or-scans fold each eliminated pixel into the one taken before it, all four bytes.
  EXPECT_EQ(Stretch(BLACKONWHITE, 0, 0, 2, 1, 0, 0, 4, 1, false), (V{kA & kB, kC & kD, kUntouched, kUntouched}));
  EXPECT_EQ(Stretch(BLACKONWHITE, 0, 0, 2, 1, 0, 0, 3, 1, false), (V{kA, kB & kC, kUntouched, kUntouched}));
  EXPECT_EQ(Stretch(WHITEONBLACK, 0, 0, 2, 1, 0, 0, 4, 1, false), (V{kA | kB, kC | kD, kUntouched, kUntouched}));
  // Halftone averages each byte over the pixels a destination pixel covers.
  EXPECT_EQ(Stretch(HALFTONE, 0, 0, 2, 1, 0, 0, 4, 1, false), (V{0x60881191, 0x7F5D6EBF, kUntouched, kUntouched}));
}

TEST(Blit, NegativeExtentsMirrorFromTheirOriginPixel) {
  using V = std::vector<uint32_t>;
  constexpr uint32_t kUntouched = 0x12345678;
  // A column of four mirrored by either extent covers rows 0..3 exactly.
  EXPECT_EQ(Stretch(COLORONCOLOR, 0, 3, 1, -4, 0, 0, 1, 4, true), (V{kD, kC, kB, kA}));
  EXPECT_EQ(Stretch(COLORONCOLOR, 0, 0, 1, 4, 0, 3, 1, -4, true), (V{kD, kC, kB, kA}));
  // Both negative: no mirror, the same rows.
  EXPECT_EQ(Stretch(COLORONCOLOR, 0, 3, 1, -4, 0, 3, 1, -4, true), (V{kA, kB, kC, kD}));
  // Shrunk while mirrored: each walk starts at its origin pixel and takes every second source row.
  EXPECT_EQ(Stretch(COLORONCOLOR, 0, 0, 1, 2, 0, 3, 1, -4, true), (V{kD, kB, kUntouched, kUntouched}));
  EXPECT_EQ(Stretch(COLORONCOLOR, 0, 1, 1, -2, 0, 0, 1, 4, true), (V{kC, kA, kUntouched, kUntouched}));
  // Enlarged while mirrored along x.
  EXPECT_EQ(Stretch(COLORONCOLOR, 3, 0, -4, 1, 0, 0, 2, 1, false), (V{kB, kB, kA, kA}));
}

TEST(Blit, ShrinkInBlackOnWhiteModeKeepsBlackPixels) {
  MemoryCanvas src(4, 1), dst(1, 1);
  src.surface().SetColor(2, 0, RGB(0, 0, 0));
  SetStretchBltMode(dst.dc(), BLACKONWHITE);
  StretchBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(dst.at(0, 0), RGB(0, 0, 0));
  SetStretchBltMode(dst.dc(), WHITEONBLACK);
  StretchBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(dst.at(0, 0), RGB(255, 255, 255));
}

TEST(PatternBrush, MonochromePatternUsesTextAndBackgroundAndFollowsBrushOrigin) {
  // Rows alternate 0xAA / 0x55: a checkerboard.
  WORD rows[8];
  for (int i = 0; i < 8; ++i) rows[i] = (i % 2) ? 0x55 : 0xAA;
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = CreatePatternBrush(pattern);
  DeleteObject(pattern);  // the brush keeps its own copy
  MemoryCanvas canvas(16, 16);
  SetTextColor(canvas.dc(), RGB(255, 0, 0));
  SetBkColor(canvas.dc(), RGB(0, 255, 0));
  RECT r{0, 0, 16, 16};
  FillRect(canvas.dc(), &r, brush);
  // Bit 1 (white) at (0,0) takes the background colour; bit 0 takes the text colour.
  EXPECT_EQ(canvas.at(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(8, 8), RGB(0, 255, 0));
  SetBrushOrgEx(canvas.dc(), 1, 0, nullptr);
  FillRect(canvas.dc(), &r, brush);
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(1, 0), RGB(0, 255, 0));
  DeleteObject(brush);
}

TEST(PatternBrush, HatchBrushesHonourBackgroundMode) {
  MemoryCanvas canvas(8, 8, RGB(1, 2, 3));
  HBRUSH hatch = CreateHatchBrush(HS_HORIZONTAL, RGB(255, 0, 0));
  RECT r{0, 0, 8, 8};
  SetBkMode(canvas.dc(), TRANSPARENT);
  FillRect(canvas.dc(), &r, hatch);
  EXPECT_EQ(canvas.Count(RGB(255, 0, 0)), 8);
  EXPECT_EQ(canvas.Count(RGB(1, 2, 3)), 56);
  SetBkMode(canvas.dc(), OPAQUE);
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  FillRect(canvas.dc(), &r, hatch);
  EXPECT_EQ(canvas.Count(RGB(0, 0, 255)), 56);
  DeleteObject(hatch);
}

}  // namespace

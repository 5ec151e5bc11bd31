// Device contexts: surface DCs and their visible region, memory DCs, selection, saved states,
// clipping and device capabilities.
#include <gtest/gtest.h>

#include "GdiTestUtil.h"

using brambolt::Region;
using brambolt::Surface;
using gditest::MemoryCanvas;

namespace {

TEST(SurfaceDC, DrawsRelativeToOriginInsideVisibleRegion) {
  auto surface = std::make_shared<Surface>(40, 30, 0xFFFFFF);
  Region visible(10, 10, 30, 20);
  HDC dc = brambolt::CreateSurfaceDC(surface, POINT{10, 5}, &visible);
  RECT all{-100, -100, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(surface->GetPixel(x, y), visible.Contains(x, y) ? 0u : 0xFFFFFFu) << x << "," << y;
  // Device (0,0) is surface (10,5): a pixel there is outside the visible area.
  EXPECT_EQ(SetPixel(dc, 0, 0, RGB(255, 0, 0)), CLR_INVALID);
  EXPECT_EQ(SetPixel(dc, 0, 5, RGB(255, 0, 0)), RGB(255, 0, 0));
  EXPECT_EQ(surface->GetColor(10, 10), RGB(255, 0, 0));
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 5);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.bottom, 15);
  brambolt::SetSurfaceDCVisibleRegion(dc, Region(0, 0, 40, 30));
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, -10);
  EXPECT_TRUE(DeleteDC(dc));
}

TEST(SurfaceDC, ClipRegionAppliesWithinVisibleRegion) {
  auto surface = std::make_shared<Surface>(20, 20, 0xFFFFFF);
  Region visible(0, 0, 10, 20);
  HDC dc = brambolt::CreateSurfaceDC(surface, POINT{0, 0}, &visible);
  HRGN clip = CreateRectRgn(5, 5, 15, 15);
  EXPECT_EQ(SelectClipRgn(dc, clip), SIMPLEREGION);
  RECT all{0, 0, 20, 20};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(surface->GetPixel(5, 5), 0u);
  EXPECT_EQ(surface->GetPixel(9, 14), 0u);
  EXPECT_EQ(surface->GetPixel(10, 10), 0xFFFFFFu);
  EXPECT_EQ(surface->GetPixel(4, 10), 0xFFFFFFu);
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, got), 1);
  EXPECT_TRUE(EqualRgn(got, clip));
  SelectClipRgn(dc, nullptr);
  EXPECT_EQ(GetClipRgn(dc, got), 0);
  DeleteObject(clip);
  DeleteObject(got);
  DeleteDC(dc);
}

TEST(MemoryDC, StartsWithOneByOneMonochromeBitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP current = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
  BITMAP bm{};
  ASSERT_EQ(GetObject(current, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmHeight, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  // A bitmap compatible with this DC is monochrome, as Windows does it.
  HBITMAP mono = CreateCompatibleBitmap(dc, 8, 8);
  ASSERT_EQ(GetObject(mono, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidthBytes, 2);
  HDC screen = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  HBITMAP color = CreateCompatibleBitmap(screen, 8, 8);
  ASSERT_EQ(GetObject(color, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(screen, PLANES), 1);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  EXPECT_EQ(SelectObject(dc, color), current);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  // A bitmap selected into one DC cannot go into another nor be deleted.
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, color), nullptr);
  EXPECT_FALSE(DeleteObject(color));
  SelectObject(dc, current);
  EXPECT_TRUE(DeleteObject(color));
  EXPECT_TRUE(DeleteObject(mono));
  DeleteDC(other);
  DeleteDC(dc);
  DeleteDC(screen);
}

TEST(MemoryDC, ObjectCounterSeesLeaksAndReleases) {
  size_t before = brambolt::GdiObjectCount();
  {
    MemoryCanvas canvas(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    EXPECT_EQ(brambolt::GdiObjectCount(), before + 4);
    DeleteObject(pen);
    DeleteObject(brush);
  }
  EXPECT_EQ(brambolt::GdiObjectCount(), before);
}

TEST(MemoryDC, SelectedObjectsCannotBeDeletedUntilDeselected) {
  MemoryCanvas canvas(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HGDIOBJ old = SelectObject(canvas.dc(), pen);
  EXPECT_EQ(old, GetStockObject(BLACK_PEN));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(SelectObject(canvas.dc(), old), pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), 0u);
}

TEST(MemoryDC, SaveAndRestoreBringBackAttributesAndObjects) {
  MemoryCanvas canvas(4, 4);
  HDC dc = canvas.dc();
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SetTextColor(dc, RGB(1, 1, 1));
  int first = SaveDC(dc);
  EXPECT_EQ(first, 1);
  SelectObject(dc, red);
  SetTextColor(dc, RGB(2, 2, 2));
  SetMapMode(dc, MM_LOMETRIC);
  IntersectClipRect(dc, 0, 0, 1, -1);
  EXPECT_EQ(SaveDC(dc), 2);
  SetTextColor(dc, RGB(3, 3, 3));
  EXPECT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
  EXPECT_TRUE(RestoreDC(dc, first));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 4);
  EXPECT_FALSE(RestoreDC(dc, 1));
  EXPECT_TRUE(DeleteObject(red));
}

TEST(Clipping, IntersectAndExcludeClipRects) {
  MemoryCanvas canvas(20, 20);
  HDC dc = canvas.dc();
  EXPECT_EQ(IntersectClipRect(dc, 2, 2, 18, 18), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(dc, 5, 5, 10, 10), COMPLEXREGION);
  EXPECT_TRUE(PtVisible(dc, 2, 2));
  EXPECT_FALSE(PtVisible(dc, 7, 7));
  EXPECT_FALSE(PtVisible(dc, 18, 5));
  RECT inHole{6, 6, 9, 9}, straddle{8, 8, 12, 12};
  EXPECT_FALSE(RectVisible(dc, &inHole));
  EXPECT_TRUE(RectVisible(dc, &straddle));
  PatBlt(dc, 0, 0, 20, 20, BLACKNESS);
  EXPECT_EQ(canvas.Count(RGB(0, 0, 0)), 16 * 16 - 25);
  EXPECT_EQ(OffsetClipRgn(dc, 1, 1), COMPLEXREGION);
  EXPECT_TRUE(PtVisible(dc, 7, 5));
  EXPECT_FALSE(PtVisible(dc, 7, 7));
}

TEST(Clipping, ClipBoxIsInLogicalUnits) {
  MemoryCanvas canvas(100, 50);
  HDC dc = canvas.dc();
  SetWindowOrgEx(dc, 10, 20, nullptr);
  RECT box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 20);
  EXPECT_EQ(box.right, 110);
  EXPECT_EQ(box.bottom, 70);
}

TEST(DeviceCaps, ScreenReportsClassicValues) {
  HDC dc = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  RECT box{};
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(box.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(GetDeviceCaps(dc, RASTERCAPS) & RC_BITBLT);
  EXPECT_TRUE(GetDeviceCaps(dc, RASTERCAPS) & RC_STRETCHDIB);
  EXPECT_FALSE(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE);
  EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASDISPLAY);
  EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), MulDiv(GetDeviceCaps(dc, HORZRES), 254, 960));
  DeleteDC(dc);
}

}  // namespace

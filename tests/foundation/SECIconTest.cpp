// Icon wrapper: loading an icon resource at a requested size and drawing it at the stored size.
#include <gtest/gtest.h>

#include <algorithm>

#include "afx/CDC.h"
#include "afx/GdiObjects.h"
#include "foundation/SECIcon.h"
#include "gdi/DC.h"

namespace {

constexpr UINT kIconId = 130;  // 16x16 and 32x32 images; the default icon size is 32
constexpr COLORREF kBackground = RGB(1, 2, 3);
constexpr int kCanvas = 48;

// A 48x48 bitmap filled with a colour the icon does not use, in a memory context.
class Canvas {
 public:
  Canvas() {
    screen.CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    dc.CreateCompatibleDC(&screen);
    bitmap.CreateCompatibleBitmap(&screen, kCanvas, kCanvas);
    old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, kCanvas, kCanvas, kBackground);
  }
  ~Canvas() { dc.SelectObject(old); }

  // The smallest square from the origin that holds every painted pixel.
  int PaintedExtent() {
    int extent = 0;
    for (int y = 0; y < kCanvas; ++y)
      for (int x = 0; x < kCanvas; ++x)
        if (dc.GetPixel(x, y) != kBackground) extent = std::max(extent, std::max(x, y) + 1);
    return extent;
  }

  CDC screen, dc;
  CBitmap bitmap;
  CBitmap* old = nullptr;
};

TEST(SECIcon, LoadKeepsTheRequestedSize) {
  struct Case {
    int cx, cy;
  };
  for (const Case& c : {Case{0, 0}, Case{16, 16}, Case{32, 32}, Case{24, 16}}) {
    SECIcon icon;
    ASSERT_TRUE(icon.LoadIcon(kIconId, c.cx, c.cy)) << c.cx << "x" << c.cy;
    EXPECT_NE(icon.m_hIcon, nullptr);
    EXPECT_EQ(icon.m_nWidth, c.cx);
    EXPECT_EQ(icon.m_nHeight, c.cy);
  }
}

TEST(SECIcon, NumericIdUsesOnlyItsLow16Bits) {
  SECIcon icon;
  EXPECT_TRUE(icon.LoadIcon(0x10000u | kIconId, 16, 16));
  EXPECT_NE(icon.m_hIcon, nullptr);
}

TEST(SECIcon, MissingResourceFailsAndLeavesTheWrapperEmpty) {
  SECIcon icon;
  EXPECT_FALSE(icon.LoadIcon(999u, 16, 16));
  EXPECT_FALSE(icon.LoadIcon("NO_SUCH_ICON", 16, 16));
  EXPECT_EQ(icon.m_hIcon, nullptr);
  EXPECT_EQ(icon.m_nWidth, -1);
  EXPECT_EQ(icon.m_nHeight, -1);
}

TEST(SECIcon, DrawUsesTheStoredSizeAndZeroMeansTheIconsOwn) {
  struct Case {
    int requested, drawn;
  };
  for (const Case& c : {Case{16, 16}, Case{0, 32}, Case{40, 40}}) {
    SECIcon icon;
    ASSERT_TRUE(icon.LoadIcon(kIconId, c.requested, c.requested));
    Canvas canvas;
    icon.Draw(&canvas.dc, 0, 0);
    EXPECT_EQ(canvas.PaintedExtent(), c.drawn) << "requested " << c.requested;
  }
}

TEST(SECIcon, DrawAtAGivenPlaceAndSize) {
  SECIcon icon;
  ASSERT_TRUE(icon.LoadIcon(kIconId, 0, 0));
  Canvas canvas;
  icon.Draw(&canvas.dc, 0, 0, 16, 16);
  EXPECT_EQ(canvas.PaintedExtent(), 16);
  Canvas moved;
  icon.Draw(&moved.dc, 8, 8, 16, 16);
  EXPECT_EQ(moved.PaintedExtent(), 24);
  EXPECT_EQ(moved.dc.GetPixel(7, 7), kBackground);
}

}  // namespace

// Memory device context: drawing in the target's coordinates lands on the target's rectangle
// when the context is destroyed, under the target's mapping, with nothing left behind.
#include <gtest/gtest.h>

#include "afx/CDC.h"
#include "core/CException.h"
#include "foundation/SECMemDC.h"
#include "gdi/DC.h"

namespace {

using kelpwood::foundation::SECMemDC;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A 60x40 white bitmap selected into a memory context compatible with the display.
class Target {
 public:
  Target() {
    screen.CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    dc.CreateCompatibleDC(&screen);
    bitmap.CreateCompatibleBitmap(&screen, 60, 40);
    old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 60, 40, kWhite);
  }
  ~Target() { dc.SelectObject(old); }
  CDC screen, dc;
  CBitmap bitmap;
  CBitmap* old = nullptr;
};

TEST(MemDC, DrawingInTargetCoordinatesLandsOnTheRectangle) {
  Target t;
  {
    SECMemDC mem(&t.dc, CRect(10, 5, 30, 25));
    mem.FillSolidRect(10, 5, 20, 20, kBlue);
    mem.FillSolidRect(12, 7, 3, 2, kRed);
    EXPECT_EQ(t.dc.GetPixel(12, 7), kWhite) << "nothing reaches the target before the copy";
  }
  EXPECT_EQ(t.dc.GetPixel(12, 7), kRed);
  EXPECT_EQ(t.dc.GetPixel(14, 8), kRed);
  EXPECT_EQ(t.dc.GetPixel(15, 8), kBlue);
  EXPECT_EQ(t.dc.GetPixel(10, 5), kBlue);
  EXPECT_EQ(t.dc.GetPixel(29, 24), kBlue);
  EXPECT_EQ(t.dc.GetPixel(30, 24), kWhite) << "right edge is exclusive";
  EXPECT_EQ(t.dc.GetPixel(9, 5), kWhite);
  EXPECT_EQ(t.dc.GetPixel(10, 25), kWhite);
}

TEST(MemDC, TheTargetsMappingIsCopied) {
  Target t;
  t.dc.SetViewportOrg(7, 3);
  {
    SECMemDC mem(&t.dc, CRect(0, 0, 10, 10));
    EXPECT_EQ(mem.GetMapMode(), MM_TEXT);
    mem.FillSolidRect(0, 0, 10, 10, kBlue);
    mem.FillSolidRect(2, 2, 1, 1, kRed);
  }
  EXPECT_EQ(t.dc.GetViewportOrg(), CPoint(7, 3)) << "the target is left as it was";
  t.dc.SetViewportOrg(0, 0);
  EXPECT_EQ(t.dc.GetPixel(9, 5), kRed);
  EXPECT_EQ(t.dc.GetPixel(7, 3), kBlue);
  EXPECT_EQ(t.dc.GetPixel(6, 3), kWhite);
}

TEST(MemDC, ANullTargetThrowsTheResourceException) {
  try {
    SECMemDC mem(nullptr, CRect(0, 0, 5, 5));
    ADD_FAILURE() << "no exception";
  } catch (CResourceException* e) {
    e->Delete();
  }
}

TEST(MemDC, EveryObjectItMadeIsGoneAfterwards) {
  Target t;
  size_t before = brambolt::GdiObjectCount();
  {
    RECT r = {1, 1, 20, 20};
    SECMemDC mem(&t.dc, &r);
    mem.FillSolidRect(1, 1, 5, 5, kRed);
  }
  EXPECT_EQ(brambolt::GdiObjectCount(), before);
  EXPECT_EQ(t.dc.GetPixel(1, 1), kRed);
}

}  // namespace

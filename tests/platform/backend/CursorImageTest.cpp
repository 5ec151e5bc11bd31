// Cursors made from AND and XOR planes, as the X11 backend sees them: shown or not, dark or
// light, their colour and opacity, and where the hot spot is.
#include <gtest/gtest.h>

#include "backend/CursorImage.h"
#include "gdi/gdi.h"
#include "win/win.h"

using namespace brambolt;

namespace {

TEST(CursorImage, EachPlaneCombinationGivesItsPixel) {
  // 16x2: one row of the four AND/XOR combinations in four-pixel groups, then a blank row.
  // AND 0 XOR 0 black, AND 0 XOR 1 white, AND 1 XOR 0 transparent, AND 1 XOR 1 inverted.
  const BYTE andPlane[] = {0x00, 0xFF, 0xFF, 0xFF};
  const BYTE xorPlane[] = {0x0F, 0x0F, 0x00, 0x00};
  HCURSOR cursor = CreateCursor(nullptr, 3, 1, 16, 2, andPlane, xorPlane);
  ASSERT_NE(cursor, nullptr);
  CursorImage image;
  ASSERT_TRUE(GetCursorImage(cursor, image));
  EXPECT_EQ(image.width, 16);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.hotspot.x, 3);
  EXPECT_EQ(image.hotspot.y, 1);
  const struct {
    int x;
    uint8_t shown, dark;
    uint32_t argb;
  } expected[] = {{0, 1, 1, 0xFF000000}, {3, 1, 1, 0xFF000000}, {4, 1, 0, 0xFFFFFFFF}, {7, 1, 0, 0xFFFFFFFF},
                  {8, 0, 0, 0},          {11, 0, 0, 0},          {12, 1, 1, 0xFF000000}, {15, 1, 1, 0xFF000000}};
  for (const auto& e : expected) {
    EXPECT_EQ(image.shown[static_cast<size_t>(e.x)], e.shown) << e.x;
    EXPECT_EQ(image.dark[static_cast<size_t>(e.x)], e.dark) << e.x;
    EXPECT_EQ(image.argb[static_cast<size_t>(e.x)], e.argb) << e.x;
  }
  for (int x = 0; x < 16; ++x) EXPECT_EQ(image.shown[static_cast<size_t>(16 + x)], 0) << x;
  DestroyCursor(cursor);
}

TEST(CursorImage, StandardCursorsAreKnownByTheirIds) {
  // The backend shows them from the X cursor font, whatever pictures they have.
  EXPECT_EQ(StandardCursorId(LoadCursor(nullptr, IDC_ARROW)), 32512);
  EXPECT_EQ(StandardCursorId(LoadCursor(nullptr, IDC_IBEAM)), 32513);
  CursorImage image;
  EXPECT_FALSE(GetCursorImage(nullptr, image));
}

}  // namespace

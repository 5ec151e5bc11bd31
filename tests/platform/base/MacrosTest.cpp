#include <gtest/gtest.h>

#include "base/base.h"

TEST(Macros, PackedCoordinatesAreReadSigned) {
  LPARAM lp = MAKELPARAM(-5, -32768);
  EXPECT_EQ(GET_X_LPARAM(lp), -5);
  EXPECT_EQ(GET_Y_LPARAM(lp), -32768);
  EXPECT_EQ(LOWORD(lp), 0xFFFB);
  EXPECT_EQ(HIWORD(lp), 0x8000);
}

TEST(Macros, ColourComponentsRoundTrip) {
  COLORREF c = RGB(0x12, 0x34, 0x56);
  EXPECT_EQ(c, 0x563412u);
  EXPECT_EQ(GetRValue(c), 0x12);
  EXPECT_EQ(GetGValue(c), 0x34);
  EXPECT_EQ(GetBValue(c), 0x56);
}

TEST(Macros, MulDivRoundsAndRefusesZeroDivisor) {
  EXPECT_EQ(MulDiv(10, 3, 4), 8);   // 7.5 rounds up
  EXPECT_EQ(MulDiv(-10, 3, 4), -8); // away from zero
  EXPECT_EQ(MulDiv(7, 2, 0), -1);
  EXPECT_EQ(MulDiv(1 << 30, 8, 2), -1);  // overflow
  EXPECT_EQ(MulDiv(2000000000, 3, 3), 2000000000);
}

TEST(Types, MessageParametersArePointerSized) {
  static_assert(sizeof(WPARAM) == sizeof(void*));
  static_assert(sizeof(LPARAM) == sizeof(void*));
  static_assert(sizeof(LRESULT) == sizeof(void*));
  static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(WORD) == 2);
  static_assert(sizeof(RECT) == 16);
  static_assert(sizeof(SYSTEMTIME) == 16);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(INVALID_HANDLE_VALUE), -1);
}

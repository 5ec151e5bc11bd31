// The Win32 rectangle functions, including their results for empty rectangles and NULL.
#include <gtest/gtest.h>

#include "base/base.h"

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// One case of a function that combines two rectangles into a third.
struct BinaryCase {
  RECT a, b, expected;
  BOOL result;
};

template <size_t N>
void CheckBinary(BOOL (*combine)(LPRECT, const RECT*, const RECT*), const BinaryCase (&cases)[N]) {
  for (const BinaryCase& c : cases) {
    RECT out{7, 7, 7, 7};
    EXPECT_EQ(combine(&out, &c.a, &c.b), c.result);
    EXPECT_TRUE(Same(out, c.expected)) << out.left << "," << out.top << "," << out.right << "," << out.bottom;
  }
}

}  // namespace

TEST(RectFunctions, IntersectRect) {
  const BinaryCase cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, TRUE},
      {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, TRUE},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, FALSE},  // touching
      {{0, 0, 10, 10}, {20, 20, 30, 30}, {0, 0, 0, 0}, FALSE},
      {{0, 0, 10, 10}, {3, 3, 3, 8}, {0, 0, 0, 0}, FALSE},  // empty source
      {{10, 10, 0, 0}, {0, 0, 10, 10}, {0, 0, 0, 0}, FALSE},  // reversed source is empty
  };
  CheckBinary(IntersectRect, cases);
}

TEST(RectFunctions, UnionRectIgnoresEmptyRectangles) {
  const BinaryCase cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, {0, 0, 15, 15}, TRUE},
      {{0, 0, 0, 0}, {5, 5, 15, 15}, {5, 5, 15, 15}, TRUE},
      {{-100, -100, -100, 100}, {5, 5, 15, 15}, {5, 5, 15, 15}, TRUE},
      {{5, 5, 15, 15}, {0, 0, 0, 0}, {5, 5, 15, 15}, TRUE},
      {{1, 1, 1, 1}, {2, 2, 2, 9}, {0, 0, 0, 0}, FALSE},
  };
  CheckBinary(UnionRect, cases);
}

TEST(RectFunctions, SubtractRect) {
  const BinaryCase cases[] = {
      {{0, 0, 10, 10}, {0, 0, 10, 3}, {0, 3, 10, 10}, TRUE},      // top band
      {{0, 0, 10, 10}, {-5, 7, 15, 20}, {0, 0, 10, 7}, TRUE},     // bottom band
      {{0, 0, 10, 10}, {-1, -1, 4, 11}, {4, 0, 10, 10}, TRUE},    // left band
      {{0, 0, 10, 10}, {8, 0, 10, 10}, {0, 0, 8, 10}, TRUE},      // right band
      {{0, 0, 10, 10}, {0, 0, 5, 5}, {0, 0, 10, 10}, TRUE},       // a corner: unchanged
      {{0, 0, 10, 10}, {20, 20, 30, 30}, {0, 0, 10, 10}, TRUE},   // no overlap
      {{0, 0, 10, 10}, {0, 0, 10, 10}, {0, 0, 0, 0}, FALSE},      // all of it
      {{3, 3, 3, 3}, {0, 0, 1, 1}, {0, 0, 0, 0}, FALSE},          // empty source
  };
  CheckBinary(SubtractRect, cases);
}

TEST(RectFunctions, SimpleSettersAndTests) {
  RECT r;
  EXPECT_TRUE(SetRect(&r, 1, 2, 3, 4));
  EXPECT_TRUE(OffsetRect(&r, 10, -2));
  EXPECT_TRUE(Same(r, {11, 0, 13, 2}));
  EXPECT_TRUE(InflateRect(&r, -1, 1));
  EXPECT_TRUE(Same(r, {12, -1, 12, 3}));
  EXPECT_TRUE(IsRectEmpty(&r));
  RECT copy;
  EXPECT_TRUE(CopyRect(&copy, &r));
  EXPECT_TRUE(EqualRect(&copy, &r));
  EXPECT_TRUE(SetRectEmpty(&copy));
  EXPECT_FALSE(EqualRect(&copy, &r));
  RECT box{0, 0, 2, 2};
  EXPECT_TRUE(PtInRect(&box, POINT{1, 1}));
  EXPECT_FALSE(PtInRect(&box, POINT{2, 1}));
}

TEST(RectFunctions, NullPointersFail) {
  RECT r{0, 0, 1, 1};
  EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
  EXPECT_FALSE(CopyRect(nullptr, &r));
  EXPECT_FALSE(CopyRect(&r, nullptr));
  EXPECT_TRUE(IsRectEmpty(nullptr));
  EXPECT_FALSE(EqualRect(&r, nullptr));
  EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
  EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
  EXPECT_FALSE(IntersectRect(nullptr, &r, &r));
  EXPECT_FALSE(IntersectRect(&r, nullptr, &r));
  EXPECT_TRUE(Same(r, {0, 0, 0, 0}));
}

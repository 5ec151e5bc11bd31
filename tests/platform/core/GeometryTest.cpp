// CPoint, CSize and CRect arithmetic and rectangle operations.
#include <gtest/gtest.h>

#include "core/core.h"

namespace {

void ExpectRect(const RECT& r, LONG l, LONG t, LONG rr, LONG b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rr);
  EXPECT_EQ(r.bottom, b);
}

}  // namespace

TEST(PointAndSize, Arithmetic) {
  CPoint p(3, 4);
  CSize s(10, 20);
  EXPECT_EQ(p + s, CPoint(13, 24));
  EXPECT_EQ(p - s, CPoint(-7, -16));
  EXPECT_EQ(CPoint(5, 5) - CPoint(2, 1), CSize(3, 4));
  EXPECT_EQ(-p, CPoint(-3, -4));
  EXPECT_EQ(s + CPoint(1, 1), CPoint(11, 21));
  EXPECT_EQ(-s, CSize(-10, -20));
  p += s;
  p -= CPoint(1, 1);
  EXPECT_EQ(p, CPoint(12, 23));
  p.Offset(-12, -23);
  EXPECT_EQ(p, CPoint(0, 0));
  s -= CSize(10, 10);
  EXPECT_EQ(s, CSize(0, 10));
  EXPECT_TRUE(s != CSize(0, 11));
}

TEST(PointAndSize, PackedCoordinatesAreSigned) {
  CPoint p(MAKELPARAM(-5, 300));
  EXPECT_EQ(p, CPoint(-5, 300));
  CSize s(static_cast<DWORD>(MAKELONG(-1, -2)));
  EXPECT_EQ(s, CSize(-1, -2));
}

TEST(Rect, Measures) {
  CRect r(10, 20, 50, 80);
  EXPECT_EQ(r.Width(), 40);
  EXPECT_EQ(r.Height(), 60);
  EXPECT_EQ(r.Size(), CSize(40, 60));
  EXPECT_EQ(r.CenterPoint(), CPoint(30, 50));
  EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
  EXPECT_EQ(r.BottomRight(), CPoint(50, 80));
  EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
  EXPECT_EQ(CRect(CPoint(1, 2), CPoint(3, 4)), CRect(1, 2, 3, 4));
}

TEST(Rect, CornersAreViewsOfTheRectangle) {
  CRect r(0, 0, 10, 10);
  r.TopLeft() = CPoint(2, 3);
  r.BottomRight().Offset(1, 1);
  ExpectRect(r, 2, 3, 11, 11);
}

TEST(Rect, EmptyAndNull) {
  EXPECT_TRUE(CRect().IsRectNull());
  EXPECT_TRUE(CRect().IsRectEmpty());
  EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
  EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
  EXPECT_TRUE(CRect(9, 0, 5, 4).IsRectEmpty());
  EXPECT_FALSE(CRect(0, 0, 1, 1).IsRectEmpty());
}

TEST(Rect, PointInsideExcludesRightAndBottomEdges) {
  CRect r(0, 0, 10, 10);
  EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
  EXPECT_TRUE(r.PtInRect(CPoint(9, 9)));
  EXPECT_FALSE(r.PtInRect(CPoint(10, 5)));
  EXPECT_FALSE(r.PtInRect(CPoint(5, 10)));
  EXPECT_FALSE(r.PtInRect(CPoint(-1, 5)));
  CRect flipped(10, 10, 0, 0);
  EXPECT_FALSE(flipped.PtInRect(CPoint(5, 5)));
  flipped.NormalizeRect();
  EXPECT_TRUE(flipped.PtInRect(CPoint(5, 5)));
}

TEST(Rect, NormalizeSwapsOnlyReversedSides) {
  CRect r(10, 0, 0, 5);
  r.NormalizeRect();
  ExpectRect(r, 0, 0, 10, 5);
  r = CRect(0, 9, 3, 1);
  r.NormalizeRect();
  ExpectRect(r, 0, 1, 3, 9);
}

TEST(Rect, InflateDeflateOffset) {
  CRect r(10, 10, 20, 20);
  r.InflateRect(2, 3);
  ExpectRect(r, 8, 7, 22, 23);
  r.DeflateRect(CSize(2, 3));
  ExpectRect(r, 10, 10, 20, 20);
  r.InflateRect(1, 2, 3, 4);
  ExpectRect(r, 9, 8, 23, 24);
  r.DeflateRect(CRect(1, 2, 3, 4));
  ExpectRect(r, 10, 10, 20, 20);
  r.OffsetRect(CPoint(-10, 5));
  ExpectRect(r, 0, 15, 10, 25);
  r -= CSize(0, 15);
  ExpectRect(r, 0, 0, 10, 10);
  ExpectRect(r + CPoint(1, 1), 1, 1, 11, 11);
  ExpectRect(r - CSize(1, 1), -1, -1, 9, 9);
  ExpectRect(r + CRect(1, 1, 1, 1), -1, -1, 11, 11);
}

TEST(Rect, IntersectionAndUnion) {
  CRect a(0, 0, 10, 10), b(5, 5, 15, 15), far(20, 20, 30, 30), empty;
  ExpectRect(a & b, 5, 5, 10, 10);
  ExpectRect(a | b, 0, 0, 15, 15);
  CRect r;
  EXPECT_FALSE(r.IntersectRect(a, far));
  EXPECT_TRUE(r.IsRectNull());
  EXPECT_TRUE(r.UnionRect(a, empty));
  EXPECT_EQ(r, a);
  EXPECT_TRUE(r.UnionRect(CRect(50, 50, 50, 60), b));  // an empty rectangle adds nothing
  EXPECT_EQ(r, b);
  r = a;
  r &= CRect(10, 0, 20, 10);  // touching edges do not overlap
  EXPECT_TRUE(r.IsRectNull());
  r = a;
  r |= far;
  ExpectRect(r, 0, 0, 30, 30);
}

TEST(Rect, SubtractRemovesAFullSide) {
  CRect r;
  EXPECT_TRUE(r.SubtractRect(CRect(0, 0, 10, 10), CRect(0, 0, 10, 4)));
  ExpectRect(r, 0, 4, 10, 10);
  EXPECT_TRUE(r.SubtractRect(CRect(0, 0, 10, 10), CRect(6, -5, 20, 20)));
  ExpectRect(r, 0, 0, 6, 10);
  // A hole in the middle leaves no rectangle: the source stays whole.
  EXPECT_TRUE(r.SubtractRect(CRect(0, 0, 10, 10), CRect(2, 2, 4, 4)));
  ExpectRect(r, 0, 0, 10, 10);
  EXPECT_FALSE(r.SubtractRect(CRect(0, 0, 10, 10), CRect(-1, -1, 11, 11)));
  EXPECT_TRUE(r.IsRectNull());
}

TEST(Rect, EqualityAndScaling) {
  EXPECT_TRUE(CRect(1, 2, 3, 4) == CRect(1, 2, 3, 4));
  EXPECT_TRUE(CRect(1, 2, 3, 4) != CRect(1, 2, 3, 5));
  EXPECT_FALSE(CRect(0, 0, 0, 0).EqualRect(CRect(1, 1, 1, 1)));
  ExpectRect(CRect(10, 20, 30, -45).MulDiv(1, 2), 5, 10, 15, -23);
  RECT raw{1, 2, 3, 4};
  CRect copy;
  copy = raw;
  EXPECT_TRUE(copy.EqualRect(&raw));
  LPRECT pRect = copy;
  EXPECT_EQ(pRect, static_cast<RECT*>(&copy));
}

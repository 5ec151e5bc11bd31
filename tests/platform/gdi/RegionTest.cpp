// Region algebra: combine modes, offsets, hit tests and the HRGN functions.
#include <gtest/gtest.h>

#include "gdi/gdi.h"

using brambolt::Region;

namespace {

// Pixel-by-pixel membership over a window, the reference for the banded algebra.
bool Member(const Region& r, int x, int y) { return r.Contains(x, y); }

TEST(Region, CombineModesMatchPixelwiseLogic) {
  Region a(0, 0, 10, 10), b(5, 5, 15, 15);
  b.Unite(Region(20, 0, 25, 3));
  struct Case {
    int mode;
    bool (*op)(bool, bool);
  } cases[] = {
      {RGN_AND, [](bool p, bool q) { return p && q; }},
      {RGN_OR, [](bool p, bool q) { return p || q; }},
      {RGN_XOR, [](bool p, bool q) { return p != q; }},
      {RGN_DIFF, [](bool p, bool q) { return p && !q; }},
      {RGN_COPY, [](bool p, bool) { return p; }},
  };
  for (const Case& c : cases) {
    Region r = Region::Combine(a, b, c.mode);
    for (int y = -2; y < 18; ++y)
      for (int x = -2; x < 28; ++x)
        ASSERT_EQ(Member(r, x, y), c.op(Member(a, x, y), Member(b, x, y))) << "mode " << c.mode << " at " << x << "," << y;
  }
}

TEST(Region, ResultIsCanonicalSoEqualRegionsCompareEqual) {
  // The same area built two ways: one rectangle, or two halves united.
  Region whole(0, 0, 10, 10);
  Region halves(0, 0, 10, 5);
  halves.Unite(Region(0, 5, 10, 10));
  EXPECT_EQ(whole, halves);
  EXPECT_EQ(halves.Type(), SIMPLEREGION);
  Region sides(0, 0, 5, 10);
  sides.Unite(Region(5, 0, 10, 10));
  EXPECT_EQ(whole, sides);
}

TEST(Region, TypesAndBox) {
  Region empty;
  EXPECT_EQ(empty.Type(), NULLREGION);
  Region l(0, 0, 10, 10);
  l.Subtract(Region(5, 5, 10, 10));
  EXPECT_EQ(l.Type(), COMPLEXREGION);
  RECT box = l.Box();
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 10);
  EXPECT_EQ(box.bottom, 10);
  Region gone(0, 0, 10, 10);
  gone.Subtract(Region(-1, -1, 11, 11));
  EXPECT_TRUE(gone.IsEmpty());
}

TEST(Region, ExclusiveRightAndBottomEdges) {
  Region r(2, 3, 6, 8);
  EXPECT_TRUE(r.Contains(2, 3));
  EXPECT_TRUE(r.Contains(5, 7));
  EXPECT_FALSE(r.Contains(6, 7));
  EXPECT_FALSE(r.Contains(5, 8));
  EXPECT_TRUE(r.Intersects(RECT{5, 7, 9, 9}));
  EXPECT_FALSE(r.Intersects(RECT{6, 0, 9, 9}));
  EXPECT_TRUE(r.ContainsRect(RECT{2, 3, 6, 8}));
  EXPECT_FALSE(r.ContainsRect(RECT{2, 3, 7, 8}));
  Region split(0, 0, 4, 4);
  split.Unite(Region(4, 0, 8, 2));
  EXPECT_TRUE(split.ContainsRect(RECT{2, 0, 6, 2}));
  EXPECT_FALSE(split.ContainsRect(RECT{2, 0, 6, 3}));
}

TEST(Region, PolygonRegionOfRectangleIsExact) {
  POINT pts[] = {{1, 1}, {9, 1}, {9, 6}, {1, 6}};
  int n = 4;
  EXPECT_EQ(Region::FromPolygons(pts, &n, 1, ALTERNATE), Region(1, 1, 9, 6));
}

TEST(Region, PolygonFillModesDifferOnSelfOverlap) {
  // A pentagram: ALTERNATE leaves the centre out, WINDING fills it.
  POINT star[] = {{50, 0}, {79, 90}, {2, 35}, {97, 35}, {21, 90}};
  int n = 5;
  Region alt = Region::FromPolygons(star, &n, 1, ALTERNATE);
  Region wind = Region::FromPolygons(star, &n, 1, WINDING);
  EXPECT_FALSE(alt.Contains(50, 50));
  EXPECT_TRUE(wind.Contains(50, 50));
  EXPECT_TRUE(alt.Contains(50, 10));
  EXPECT_TRUE(wind.Contains(50, 10));
}

TEST(Region, EllipseStaysInsideItsBox) {
  Region e = Region::FromEllipse(RECT{0, 0, 20, 10});
  RECT box = e.Box();
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.bottom, 10);
  EXPECT_TRUE(e.Contains(10, 5));
  EXPECT_FALSE(e.Contains(0, 0));
  EXPECT_FALSE(e.Contains(19, 9));
}

TEST(Region, OffsetMovesEveryRectangle) {
  Region r(0, 0, 4, 4);
  r.Unite(Region(10, 10, 12, 12));
  r.Offset(3, -2);
  EXPECT_TRUE(r.Contains(3, -2));
  EXPECT_TRUE(r.Contains(13, 8));
  EXPECT_FALSE(r.Contains(0, 0));
}

TEST(RegionApi, CombineRgnReportsResultComplexity) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(5, 5, 15, 15);
  HRGN d = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), SIMPLEREGION);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(d, a, b, RGN_XOR), COMPLEXREGION);
  HRGN far = CreateRectRgn(100, 100, 110, 110);
  EXPECT_EQ(CombineRgn(d, a, far, RGN_AND), NULLREGION);
  EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_AND), ERROR);
  EXPECT_TRUE(EqualRgn(d, a));
  EXPECT_EQ(OffsetRgn(d, 5, 5), SIMPLEREGION);
  EXPECT_FALSE(EqualRgn(d, a));
  RECT box;
  EXPECT_EQ(GetRgnBox(d, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.bottom, 15);
  EXPECT_TRUE(PtInRegion(d, 14, 14));
  EXPECT_FALSE(PtInRegion(d, 15, 14));
  RECT probe{0, 0, 6, 6};
  EXPECT_TRUE(RectInRegion(d, &probe));
  for (HRGN h : {a, b, d, far}) EXPECT_TRUE(DeleteObject(h));
}

TEST(RegionApi, PolygonsPastTheCoordinateRangeAreRefusedAtOnce) {
  const POINT far[] = {{0, 0}, {10, static_cast<LONG>(0x80000000u)}, {20, 10}};
  INT count = 3;
  EXPECT_EQ(CreatePolyPolygonRgn(far, &count, 1, ALTERNATE), nullptr);
  EXPECT_EQ(CreatePolygonRgn(far, 3, WINDING), nullptr);
  const POINT near[] = {{0, 0}, {10, 0}, {10, 10}};
  HRGN ok = CreatePolyPolygonRgn(near, &count, 1, ALTERNATE);
  ASSERT_NE(ok, nullptr);
  DeleteObject(ok);
}

TEST(RegionApi, RegionDataListsBandedRectangles) {
  HRGN r = CreateRectRgn(0, 0, 10, 10);
  HRGN hole = CreateRectRgn(3, 3, 6, 6);
  CombineRgn(r, r, hole, RGN_DIFF);
  DWORD size = GetRegionData(r, 0, nullptr);
  ASSERT_EQ(size, sizeof(RGNDATAHEADER) + 4 * sizeof(RECT));
  std::vector<char> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  ASSERT_EQ(GetRegionData(r, size, data), size);
  EXPECT_EQ(data->rdh.nCount, 4u);
  HRGN copy = ExtCreateRegion(nullptr, size, data);
  EXPECT_TRUE(EqualRgn(copy, r));
  for (HRGN h : {r, hole, copy}) DeleteObject(h);
}

}  // namespace

// Lines and shapes: exclusive right and bottom edges, the missing last pixel of lines, pens,
// fill modes and mapping of shapes through the DC's transform.
#include <gtest/gtest.h>

#include "GdiTestUtil.h"

using gditest::MemoryCanvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(Lines, LineToLeavesOutTheLastPixel) {
  struct Case {
    POINT from, to;
  } cases[] = {{{2, 5}, {10, 5}}, {{10, 5}, {2, 5}}, {{5, 2}, {5, 10}}, {{2, 2}, {10, 10}}, {{10, 2}, {2, 7}}};
  for (const Case& c : cases) {
    MemoryCanvas canvas(16, 16);
    MoveToEx(canvas.dc(), c.from.x, c.from.y, nullptr);
    LineTo(canvas.dc(), c.to.x, c.to.y);
    EXPECT_EQ(canvas.at(c.from.x, c.from.y), kBlack);
    EXPECT_EQ(canvas.at(c.to.x, c.to.y), kWhite);
    int dx = std::abs(c.to.x - c.from.x), dy = std::abs(c.to.y - c.from.y);
    EXPECT_EQ(canvas.Count(kBlack), std::max(dx, dy));
    POINT pos;
    GetCurrentPositionEx(canvas.dc(), &pos);
    EXPECT_EQ(pos.x, c.to.x);
    EXPECT_EQ(pos.y, c.to.y);
  }
}

TEST(Lines, PolylineJoinsSegmentsWithoutGaps) {
  MemoryCanvas canvas(16, 16);
  POINT pts[] = {{1, 1}, {8, 1}, {8, 8}, {1, 8}};
  Polyline(canvas.dc(), pts, 4);
  EXPECT_EQ(canvas.Count(kBlack), 7 + 7 + 7);
  EXPECT_EQ(canvas.at(8, 1), kBlack);
  EXPECT_EQ(canvas.at(1, 8), kWhite);  // the very last point is not drawn
}

TEST(Lines, DottedPenAlternatesAndOpaqueGapsTakeBackground) {
  MemoryCanvas canvas(40, 3);
  HPEN pen = CreatePen(PS_DOT, 1, kBlack);
  SelectObject(canvas.dc(), pen);
  SetBkMode(canvas.dc(), TRANSPARENT);
  MoveToEx(canvas.dc(), 0, 1, nullptr);
  LineTo(canvas.dc(), 36, 1);
  int on = canvas.Count(kBlack);
  EXPECT_EQ(on, 18);
  EXPECT_EQ(canvas.at(0, 1), kBlack);
  SetBkMode(canvas.dc(), OPAQUE);
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  MoveToEx(canvas.dc(), 0, 2, nullptr);
  LineTo(canvas.dc(), 36, 2);
  EXPECT_EQ(canvas.Count(RGB(0, 0, 255)), 18);
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(Lines, WidePenCoversItsWidth) {
  MemoryCanvas canvas(30, 30);
  HPEN pen = CreatePen(PS_SOLID, 5, kBlack);
  SelectObject(canvas.dc(), pen);
  MoveToEx(canvas.dc(), 5, 15, nullptr);
  LineTo(canvas.dc(), 25, 15);
  for (int y = 13; y <= 17; ++y) EXPECT_EQ(canvas.at(15, y), kBlack) << y;
  EXPECT_EQ(canvas.at(15, 12), kWhite);
  EXPECT_EQ(canvas.at(15, 18), kWhite);
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(Shapes, RectangleFramesWithPenAndFillsInsideExclusively) {
  MemoryCanvas canvas(20, 20);
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(canvas.dc(), brush);
  Rectangle(canvas.dc(), 2, 3, 12, 10);
  // Frame on columns 2 and 11, rows 3 and 9; nothing at x=12 or y=10.
  EXPECT_EQ(canvas.at(2, 3), kBlack);
  EXPECT_EQ(canvas.at(11, 9), kBlack);
  EXPECT_EQ(canvas.at(12, 5), kWhite);
  EXPECT_EQ(canvas.at(5, 10), kWhite);
  EXPECT_EQ(canvas.Count(RGB(255, 0, 0)), 8 * 5);
  EXPECT_EQ(canvas.Count(kBlack), 2 * 10 + 2 * 5);
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

TEST(Shapes, RectangleWithNullPenIsOnePixelSmaller) {
  MemoryCanvas canvas(20, 20);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  Rectangle(canvas.dc(), 2, 2, 12, 12);
  EXPECT_EQ(canvas.Count(kBlack), 9 * 9);
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
}

TEST(Shapes, FillRectAndFrameRectExcludeRightAndBottom) {
  MemoryCanvas canvas(20, 20);
  RECT r{3, 4, 9, 8};
  FillRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.Count(kBlack), 6 * 4);
  EXPECT_EQ(canvas.at(9, 4), kWhite);
  EXPECT_EQ(canvas.at(3, 8), kWhite);
  MemoryCanvas frame(20, 20);
  FrameRect(frame.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(frame.Count(kBlack), 2 * 6 + 2 * 2);
  EXPECT_EQ(frame.at(5, 5), kWhite);
  // System colour index + 1 works as a brush.
  FillRect(frame.dc(), &r, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
  EXPECT_EQ(frame.at(3, 4), GetSysColor(COLOR_HIGHLIGHT));
}

TEST(Shapes, EllipseAndRoundRectStayInsideTheirBox) {
  for (int kind = 0; kind < 2; ++kind) {
    MemoryCanvas canvas(30, 30);
    SelectObject(canvas.dc(), GetStockObject(GRAY_BRUSH));
    if (kind == 0) Ellipse(canvas.dc(), 5, 5, 25, 19);
    else RoundRect(canvas.dc(), 5, 5, 25, 19, 6, 6);
    int inside = 0, outside = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x) {
        bool painted = canvas.at(x, y) != kWhite;
        bool inBox = x >= 5 && x < 25 && y >= 5 && y < 19;
        (inBox ? inside : outside) += painted;
      }
    EXPECT_EQ(outside, 0) << kind;
    EXPECT_GT(inside, 150) << kind;
    EXPECT_EQ(canvas.at(15, 12), RGB(128, 128, 128)) << kind;
    EXPECT_EQ(canvas.at(5, 5), kWhite) << kind;  // corners are cut
    EXPECT_EQ(canvas.at(15, 5), kBlack) << kind;
    EXPECT_EQ(canvas.at(15, 18), kBlack) << kind;
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  }
}

TEST(Shapes, PolygonFillModes) {
  POINT star[] = {{50, 0}, {79, 90}, {2, 35}, {97, 35}, {21, 90}};
  for (int mode : {ALTERNATE, WINDING}) {
    MemoryCanvas canvas(100, 100);
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
    SetPolyFillMode(canvas.dc(), mode);
    Polygon(canvas.dc(), star, 5);
    EXPECT_EQ(canvas.at(50, 50), mode == WINDING ? kBlack : kWhite);
    EXPECT_EQ(canvas.at(50, 10), kBlack);
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
  }
}

TEST(Shapes, FilledTriangleOutlineAndInterior) {
  MemoryCanvas canvas(20, 20);
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  POINT tri[] = {{2, 2}, {16, 2}, {9, 12}};
  Polygon(canvas.dc(), tri, 3);
  EXPECT_EQ(canvas.at(9, 5), kBlack);
  EXPECT_EQ(canvas.at(2, 2), kBlack);
  EXPECT_EQ(canvas.at(1, 1), kWhite);
  EXPECT_EQ(canvas.at(9, 14), kWhite);
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
}

TEST(Shapes, PieCoversItsQuarter) {
  MemoryCanvas canvas(40, 40);
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  // Counter-clockwise from the right (3 o'clock) to the top (12 o'clock): the upper-right quarter.
  Pie(canvas.dc(), 0, 0, 40, 40, 40, 20, 20, 0);
  EXPECT_EQ(canvas.at(28, 12), kBlack);
  EXPECT_EQ(canvas.at(12, 12), kWhite);
  EXPECT_EQ(canvas.at(28, 28), kWhite);
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
}

TEST(Shapes, FloodFillStopsAtBorderColour) {
  MemoryCanvas canvas(20, 20);
  SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(canvas.dc(), 2, 2, 10, 10);
  SelectObject(canvas.dc(), GetStockObject(GRAY_BRUSH));
  EXPECT_TRUE(FloodFill(canvas.dc(), 5, 5, kBlack));
  EXPECT_EQ(canvas.Count(RGB(128, 128, 128)), 6 * 6);
  EXPECT_EQ(canvas.at(12, 12), kWhite);
  SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
}

TEST(Shapes, GradientFillRunsFromColourToColour) {
  MemoryCanvas canvas(11, 2);
  TRIVERTEX v[2] = {{0, 0, 0, 0, 0, 0}, {11, 2, 0xFF00, 0, 0, 0}};
  GRADIENT_RECT r{0, 1};
  GradientFill(canvas.dc(), v, 2, &r, 1, GRADIENT_FILL_RECT_H);
  EXPECT_EQ(canvas.at(0, 0), RGB(0, 0, 0));
  EXPECT_GT(GetRValue(canvas.at(10, 0)), 220);
  for (int x = 1; x < 11; ++x) EXPECT_GE(GetRValue(canvas.at(x, 1)), GetRValue(canvas.at(x - 1, 1)));
}

TEST(Mapping, FixedModesScaleAndFlipY) {
  MemoryCanvas canvas(200, 200);
  HDC dc = canvas.dc();
  SetMapMode(dc, MM_LOENGLISH);  // 0.01 inch, y up
  POINT p{100, -100};
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p.x, 96);
  EXPECT_EQ(p.y, 96);
  SetMapMode(dc, MM_TWIPS);
  POINT q{1440, -720};
  LPtoDP(dc, &q, 1);
  EXPECT_EQ(q.x, 96);
  EXPECT_EQ(q.y, 48);
  SetMapMode(dc, MM_HIMETRIC);
  POINT r{2540, -2540};
  LPtoDP(dc, &r, 1);
  EXPECT_EQ(r.x, 96);
  EXPECT_EQ(r.y, 96);
}

TEST(Mapping, RoundTripsThroughOriginsAndExtents) {
  MemoryCanvas canvas(10, 10);
  HDC dc = canvas.dc();
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 1000, 1000, nullptr);
  SetViewportExtEx(dc, 300, -200, nullptr);
  SetWindowOrgEx(dc, 50, 20, nullptr);
  SetViewportOrgEx(dc, 7, 190, nullptr);
  for (int x = -2000; x <= 2000; x += 250) {
    POINT p{x, x / 2};
    POINT d = p;
    LPtoDP(dc, &d, 1);
    EXPECT_EQ(d.x, MulDiv(x - 50, 300, 1000) + 7);
    EXPECT_EQ(d.y, MulDiv(x / 2 - 20, -200, 1000) + 190);
    DPtoLP(dc, &d, 1);
    // Device pixels are coarser than logical units: back within one pixel's worth.
    EXPECT_LE(std::abs(d.x - p.x), 1000 / 300 + 1);
    EXPECT_LE(std::abs(d.y - p.y), 1000 / 200 + 1);
  }
}

TEST(Mapping, IsotropicKeepsTheAspectRatio) {
  MemoryCanvas canvas(10, 10);
  HDC dc = canvas.dc();
  SetMapMode(dc, MM_ISOTROPIC);
  SetWindowExtEx(dc, 100, 100, nullptr);
  SetViewportExtEx(dc, 400, -200, nullptr);
  SIZE vp;
  GetViewportExtEx(dc, &vp);
  EXPECT_EQ(vp.cx, 200);
  EXPECT_EQ(vp.cy, -200);
}

TEST(Mapping, ShapesAndClipFollowTheTransform) {
  MemoryCanvas canvas(40, 40);
  HDC dc = canvas.dc();
  SetViewportOrgEx(dc, 10, 10, nullptr);
  RECT r{0, 0, 5, 5};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.at(10, 10), kBlack);
  EXPECT_EQ(canvas.at(9, 9), kWhite);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 1, 1, nullptr);
  SetViewportExtEx(dc, 2, 2, nullptr);
  RECT s{5, 5, 10, 10};
  FillRect(dc, &s, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  EXPECT_EQ(canvas.at(20, 20), RGB(128, 128, 128));
  EXPECT_EQ(canvas.at(29, 29), RGB(128, 128, 128));
  EXPECT_EQ(canvas.at(30, 30), kWhite);
}

}  // namespace

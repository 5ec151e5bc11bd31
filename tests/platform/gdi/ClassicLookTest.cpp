// The classic look: edge colours and geometry, frame controls, focus rectangles and state drawing.
#include <gtest/gtest.h>

#include "GdiTestUtil.h"

using gditest::MemoryCanvas;

namespace {

const COLORREF kFace = RGB(192, 192, 192), kShadow = RGB(128, 128, 128), kHilight = RGB(255, 255, 255),
               kDark = RGB(0, 0, 0), kLight = RGB(192, 192, 192);

TEST(DrawEdge, RaisedAndSunkenEdgeColours) {
  struct Case {
    UINT edge;
    COLORREF outerTL, outerBR, innerTL, innerBR;
  } cases[] = {
      {EDGE_RAISED, kLight, kDark, kHilight, kShadow},
      {EDGE_SUNKEN, kShadow, kHilight, kDark, kLight},
      {EDGE_ETCHED, kShadow, kHilight, kHilight, kShadow},
      {EDGE_BUMP, kLight, kDark, kDark, kLight},
  };
  for (const Case& c : cases) {
    MemoryCanvas canvas(20, 20, RGB(1, 2, 3));
    RECT r{2, 2, 18, 18};
    DrawEdge(canvas.dc(), &r, c.edge, BF_RECT);
    EXPECT_EQ(canvas.at(2, 10), c.outerTL) << c.edge;
    EXPECT_EQ(canvas.at(10, 2), c.outerTL) << c.edge;
    EXPECT_EQ(canvas.at(17, 10), c.outerBR) << c.edge;
    EXPECT_EQ(canvas.at(10, 17), c.outerBR) << c.edge;
    EXPECT_EQ(canvas.at(3, 10), c.innerTL) << c.edge;
    EXPECT_EQ(canvas.at(16, 10), c.innerBR) << c.edge;
    // Corners shared by both colours belong to the bottom-right one.
    EXPECT_EQ(canvas.at(17, 2), c.outerBR) << c.edge;
    EXPECT_EQ(canvas.at(2, 17), c.outerBR) << c.edge;
    EXPECT_EQ(canvas.at(10, 10), RGB(1, 2, 3)) << c.edge;  // no middle without BF_MIDDLE
    EXPECT_EQ(canvas.at(18, 18), RGB(1, 2, 3)) << c.edge;
  }
}

TEST(DrawEdge, SidesMiddleAndAdjust) {
  MemoryCanvas canvas(20, 20, RGB(1, 2, 3));
  RECT r{2, 2, 18, 18};
  DrawEdge(canvas.dc(), &r, EDGE_SUNKEN, BF_LEFT | BF_TOP | BF_MIDDLE | BF_ADJUST);
  EXPECT_EQ(r.left, 4);
  EXPECT_EQ(r.top, 4);
  EXPECT_EQ(r.right, 18);
  EXPECT_EQ(r.bottom, 18);
  EXPECT_EQ(canvas.at(10, 10), kFace);
  EXPECT_EQ(canvas.at(17, 10), kFace);  // no right side drawn
  EXPECT_EQ(canvas.at(2, 10), kShadow);
}

TEST(DrawEdge, SoftAndFlatAndMonoVariants) {
  MemoryCanvas canvas(20, 20);
  RECT r{0, 0, 20, 20};
  DrawEdge(canvas.dc(), &r, EDGE_RAISED, BF_RECT | BF_SOFT);
  EXPECT_EQ(canvas.at(0, 5), kHilight);
  EXPECT_EQ(canvas.at(1, 5), kLight);
  DrawEdge(canvas.dc(), &r, EDGE_RAISED, BF_RECT | BF_FLAT);
  EXPECT_EQ(canvas.at(0, 5), kShadow);
  EXPECT_EQ(canvas.at(19, 5), kShadow);
  DrawEdge(canvas.dc(), &r, EDGE_RAISED, BF_RECT | BF_MONO);
  EXPECT_EQ(canvas.at(0, 5), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(1, 5), RGB(255, 255, 255));
}

TEST(DrawFrameControl, PushButtonRaisedThenPressed) {
  MemoryCanvas canvas(30, 20, RGB(1, 2, 3));
  RECT r{0, 0, 30, 20};
  DrawFrameControl(canvas.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH);
  EXPECT_EQ(canvas.at(0, 10), kHilight);
  EXPECT_EQ(canvas.at(29, 10), kDark);
  EXPECT_EQ(canvas.at(15, 10), kFace);
  DrawFrameControl(canvas.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  EXPECT_EQ(canvas.at(0, 10), kDark);
  EXPECT_EQ(canvas.at(29, 10), kHilight);
  RECT adjusted = r;
  DrawFrameControl(canvas.dc(), &adjusted, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  EXPECT_EQ(adjusted.left, 2);
  EXPECT_EQ(adjusted.bottom, 18);
  // The flat pressed state of toolbar-like buttons (0x4210).
  DrawFrameControl(canvas.dc(), &r, DFC_BUTTON, 0x4210);
  EXPECT_EQ(canvas.at(0, 10), kShadow);
  EXPECT_EQ(canvas.at(29, 10), kShadow);
}

TEST(DrawFrameControl, CheckBoxShowsCheckMarkOnlyWhenChecked) {
  MemoryCanvas a(13, 13), b(13, 13);
  RECT r{0, 0, 13, 13};
  DrawFrameControl(a.dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK);
  DrawFrameControl(b.dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  EXPECT_EQ(a.at(0, 6), kShadow);
  EXPECT_EQ(a.at(1, 6), kDark);
  EXPECT_EQ(a.at(6, 6), RGB(255, 255, 255));
  EXPECT_EQ(a.Count(kDark, 2, 2, 11, 11), 0);
  EXPECT_EQ(b.Count(kDark, 2, 2, 11, 11), 21);
  EXPECT_EQ(b.at(5, 7), kDark);
}

TEST(DrawFrameControl, RadioButtonRingsAndDot) {
  MemoryCanvas a(13, 13, RGB(1, 2, 3)), b(13, 13, RGB(1, 2, 3));
  RECT r{0, 0, 13, 13};
  DrawFrameControl(a.dc(), &r, DFC_BUTTON, DFCS_BUTTONRADIO);
  DrawFrameControl(b.dc(), &r, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
  EXPECT_EQ(a.at(0, 0), RGB(1, 2, 3));       // outside the circle
  EXPECT_EQ(a.at(6, 0), kShadow);            // top of the outer ring
  EXPECT_EQ(a.at(6, 11), kHilight);          // bottom of the outer ring
  EXPECT_EQ(a.at(6, 6), RGB(255, 255, 255));
  EXPECT_EQ(b.at(6, 6), kDark);
  EXPECT_GT(b.Count(kDark, 3, 3, 9, 9), a.Count(kDark, 3, 3, 9, 9));
}

TEST(DrawFrameControl, CaptionAndScrollGlyphsAreCentred) {
  for (UINT type : {static_cast<UINT>(DFC_CAPTION), static_cast<UINT>(DFC_SCROLL)}) {
    MemoryCanvas canvas(16, 14);
    RECT r{0, 0, 16, 14};
    UINT state = type == DFC_CAPTION ? DFCS_CAPTIONCLOSE : DFCS_SCROLLDOWN;
    DrawFrameControl(canvas.dc(), &r, type, state);
    int glyph = canvas.Count(kDark, 2, 2, 14, 12);
    EXPECT_GT(glyph, 5) << type;
    // Balanced left and right of the centre.
    int left = canvas.Count(kDark, 2, 2, 8, 12), right = canvas.Count(kDark, 8, 2, 14, 12);
    EXPECT_LE(std::abs(left - right), glyph / 3 + 1) << type;
    MemoryCanvas inactive(16, 14);
    DrawFrameControl(inactive.dc(), &r, type, state | DFCS_INACTIVE);
    EXPECT_EQ(inactive.Count(kDark, 2, 2, 14, 12), 0) << type;
    EXPECT_GT(inactive.Count(kShadow, 2, 2, 14, 12), 3) << type;
  }
}

TEST(DrawFrameControl, MenuGlyphsAreBlackOnWhite) {
  MemoryCanvas canvas(13, 13, RGB(1, 2, 3));
  RECT r{0, 0, 13, 13};
  DrawFrameControl(canvas.dc(), &r, DFC_MENU, DFCS_MENUCHECK);
  EXPECT_EQ(canvas.Count(RGB(1, 2, 3)), 0);
  EXPECT_GT(canvas.Count(kDark), 5);
}

TEST(SystemBitmaps, CheckAndMenuArrowAreMonochromeGlyphs) {
  for (UINT id : {static_cast<UINT>(OBM_CHECK), static_cast<UINT>(OBM_MNARROW)}) {
    HBITMAP bm = brambolt::CreateSystemBitmap(id);
    ASSERT_NE(bm, nullptr);
    BITMAP info{};
    GetObject(bm, sizeof info, &info);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidth, 13);
    auto s = brambolt::GetBitmapSurface(bm);
    int black = 0;
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 13; ++x) black += s->GetPixel(x, y) == 0;
    EXPECT_GT(black, 5);
    EXPECT_LT(black, 13 * 13 / 2);
    DeleteObject(bm);
  }
  HBITMAP arrow = brambolt::CreateSystemBitmap(OBM_DNARROW);
  BITMAP info{};
  GetObject(arrow, sizeof info, &info);
  EXPECT_EQ(info.bmBitsPixel, 32);
  DeleteObject(arrow);
  EXPECT_EQ(brambolt::CreateSystemBitmap(1), nullptr);
}

TEST(DrawFocusRect, DottedXorFrameTwiceRestores) {
  MemoryCanvas canvas(20, 20, RGB(10, 100, 200));
  canvas.surface().SetColor(3, 3, RGB(1, 1, 1));
  RECT r{3, 3, 15, 12};
  DrawFocusRect(canvas.dc(), &r);
  int changed = 400 - canvas.Count(RGB(10, 100, 200));
  EXPECT_GT(changed, 10);
  EXPECT_EQ(canvas.at(8, 8), RGB(10, 100, 200));
  // Dotted: neighbours along an edge differ.
  EXPECT_NE(canvas.at(5, 3), canvas.at(6, 3));
  DrawFocusRect(canvas.dc(), &r);
  EXPECT_EQ(canvas.Count(RGB(10, 100, 200)), 399);
  EXPECT_EQ(canvas.at(3, 3), RGB(1, 1, 1));
}

TEST(DrawState, DisabledTextIsEmbossed) {
  MemoryCanvas canvas(80, 30, kFace);
  SelectObject(canvas.dc(), GetStockObject(DEFAULT_GUI_FONT));
  const char* text = "Disabled";
  DrawState(canvas.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, 4, 4, 0, 0, DST_TEXT | DSS_DISABLED);
  // Grey text over a highlight copy one pixel down and right, drawn as text: its anti-aliased
  // edges blend with the face instead of all counting as ink.
  int darker = 0, lighter = 0, blended = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) {
      const int v = GetRValue(canvas.at(x, y));
      darker += v < 192;
      lighter += v > 192;
      blended += v > 128 && v < 192;
      EXPECT_GE(v, 128) << "nothing darker than the shadow at " << x << "," << y;
    }
  EXPECT_GT(darker, 10);
  EXPECT_GT(lighter, 10);
  EXPECT_GT(blended, 0);
}

TEST(MenuGlyphs, TheArrowIsPaintedThroughItsImageOverWhatIsThere) {
  MemoryCanvas canvas(20, 20, kFace);
  brambolt::DrawMenuGlyph(canvas.dc(), RECT{2, 2, 17, 17}, DFCS_MENUARROW, RGB(255, 0, 0));
  EXPECT_GT(canvas.Count(RGB(255, 0, 0)), 5);
  EXPECT_EQ(canvas.Count(RGB(255, 255, 255)), 0) << "no white square behind the arrow";
  EXPECT_EQ(canvas.at(2, 2), kFace);
}

TEST(DrawState, MonoPaintsContentWithTheBrush) {
  MemoryCanvas canvas(40, 20);
  HBITMAP bm = CreateBitmap(8, 8, 1, 1, nullptr);  // black: all content
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  DrawState(canvas.dc(), red, nullptr, reinterpret_cast<LPARAM>(bm), 0, 2, 2, 0, 0, DST_BITMAP | DSS_MONO);
  EXPECT_EQ(canvas.Count(RGB(255, 0, 0)), 64);
  DeleteObject(red);
  DeleteObject(bm);
}

TEST(Helpers, FillSolidRectAndDraw3dRect) {
  MemoryCanvas canvas(10, 10);
  brambolt::FillSolidRect(canvas.dc(), RECT{1, 1, 9, 9}, RGB(0, 0, 255));
  EXPECT_EQ(canvas.Count(RGB(0, 0, 255)), 64);
  EXPECT_EQ(GetBkColor(canvas.dc()), RGB(0, 0, 255));
  brambolt::Draw3dRect(canvas.dc(), RECT{1, 1, 9, 9}, RGB(255, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(8, 1), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(1, 8), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(8, 8), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(4, 4), RGB(0, 0, 255));
}

TEST(SysColors, ClassicSchemeAndChanges) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128));
  EXPECT_EQ(GetSysColor(COLOR_GRADIENTACTIVECAPTION), RGB(0x10, 0x84, 0xD0));
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
  EXPECT_TRUE(DeleteObject(face));  // ignored for system brushes
  INT index = COLOR_BTNFACE;
  COLORREF pink = RGB(255, 200, 200);
  SetSysColors(1, &index, &pink);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), pink);
  MemoryCanvas canvas(2, 2);
  RECT r{0, 0, 2, 2};
  FillRect(canvas.dc(), &r, face);
  EXPECT_EQ(canvas.at(0, 0), pink);
  brambolt::ResetSysColors();
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
}

TEST(SysMetrics, ClassicValues) {
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
  EXPECT_EQ(GetSystemMetrics(SM_CYSIZE), 18);
  EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
  EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
  EXPECT_EQ(GetSystemMetrics(SM_CYMENUCHECK), 13);
  brambolt::SetScreenSize(800, 600);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  HDC dc = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 600);
  DeleteDC(dc);
  brambolt::SetScreenSize(1024, 768);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
}

}  // namespace

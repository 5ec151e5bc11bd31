// A test scene with every part of the classic look, text in three faces and a chart, saved as
// a PNG in the build folder for people to look at, with probes of the pixels the code decides.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "GdiTestUtil.h"

using gditest::MemoryCanvas;

namespace {

void Text(HDC dc, const char* face, int height, int weight, int x, int y, const char* text) {
  HFONT font = CreateFont(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
  HGDIOBJ old = SelectObject(dc, font);
  TextOut(dc, x, y, text, static_cast<int>(std::strlen(text)));
  SelectObject(dc, old);
  DeleteObject(font);
}

TEST(Scene, RendersTheClassicLookTextAndAChart) {
  MemoryCanvas canvas(480, 320, GetSysColor(COLOR_BTNFACE));
  HDC dc = canvas.dc();
  SetBkMode(dc, TRANSPARENT);

  // A window frame with a caption and its buttons.
  RECT frame{0, 0, 480, 320};
  DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT | BF_ADJUST);
  RECT caption{frame.left + 2, frame.top + 2, frame.right - 2, frame.top + 2 + 18};
  TRIVERTEX v[2] = {{caption.left, caption.top, 0x0000, 0x0000, 0x8000, 0},
                    {caption.right, caption.bottom, 0x1000, 0x8400, 0xD000, 0}};
  GRADIENT_RECT gr{0, 1};
  GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_H);
  SetTextColor(dc, RGB(255, 255, 255));
  Text(dc, "MS Sans Serif", -11, FW_BOLD, caption.left + 4, caption.top + 3, "Brambolt scene");
  for (int i = 0; i < 3; ++i) {
    RECT b{caption.right - 2 - 16 * (3 - i) - (i == 2 ? 0 : 2), caption.top + 2, 0, caption.top + 2 + 14};
    b.right = b.left + 16;
    UINT which[] = {DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONCLOSE};
    DrawFrameControl(dc, &b, DFC_CAPTION, which[i]);
  }

  // Buttons, a check box, a radio button and a focus rectangle.
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT ok{20, 40, 95, 63}, cancel{105, 40, 180, 63};
  DrawFrameControl(dc, &ok, DFC_BUTTON, DFCS_BUTTONPUSH);
  DrawText(dc, "OK", -1, &ok, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT focus{ok.left + 4, ok.top + 4, ok.right - 4, ok.bottom - 4};
  DrawFocusRect(dc, &focus);
  DrawFrameControl(dc, &cancel, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  DrawText(dc, "&Cancel", -1, &cancel, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT check{20, 75, 33, 88}, radio{20, 95, 33, 108};
  DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  DrawFrameControl(dc, &radio, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
  TextOut(dc, 40, 75, "Check box", 9);
  TextOut(dc, 40, 95, "Radio button", 12);
  RECT arrows{200, 40, 216, 56};
  DrawFrameControl(dc, &arrows, DFC_SCROLL, DFCS_SCROLLUP);
  OffsetRect(&arrows, 0, 16);
  DrawFrameControl(dc, &arrows, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE);

  // Text in three faces.
  Text(dc, "Arial", -16, FW_NORMAL, 20, 125, "Arial: the quick brown fox");
  Text(dc, "Times New Roman", -16, FW_NORMAL, 20, 147, "Times New Roman: jumps over");
  Text(dc, "Courier New", -14, FW_BOLD, 20, 169, "Courier New: the lazy dog");

  // A chart: sunken well, axes, bars, a line and a pie.
  RECT well{240, 40, 470, 300};
  DrawEdge(dc, &well, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_ADJUST);
  RECT inside = well;
  FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  MoveToEx(dc, 260, 60, nullptr);
  LineTo(dc, 260, 200);
  LineTo(dc, 450, 200);
  const COLORREF colors[] = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255), RGB(255, 128, 0)};
  const int values[] = {60, 110, 35, 90};
  for (int i = 0; i < 4; ++i) {
    HBRUSH b = CreateSolidBrush(colors[i]);
    HGDIOBJ old = SelectObject(dc, b);
    Rectangle(dc, 275 + 42 * i, 200 - values[i], 305 + 42 * i, 201);
    SelectObject(dc, old);
    DeleteObject(b);
  }
  HPEN dash = CreatePen(PS_DASH, 1, RGB(128, 0, 128));
  HGDIOBJ oldPen = SelectObject(dc, dash);
  POINT line[] = {{275, 150}, {317, 100}, {359, 170}, {401, 120}, {443, 90}};
  Polyline(dc, line, 5);
  SelectObject(dc, oldPen);
  DeleteObject(dash);
  HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 128));
  HGDIOBJ oldBrush = SelectObject(dc, hatch);
  Pie(dc, 300, 215, 370, 285, 370, 250, 335, 215);
  SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
  Ellipse(dc, 390, 220, 450, 280);
  SelectObject(dc, oldBrush);
  DeleteObject(hatch);
  SetTextColor(dc, RGB(0, 0, 0));
  Text(dc, "Arial", -11, FW_NORMAL, 262, 205, "Q1     Q2     Q3     Q4");

  // Into the build folder: the test program lives in its bin/ directory.
  std::string path = (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "gdi_scene.png").string();
  ASSERT_TRUE(brambolt::SavePng(canvas.surface(), path.c_str()));
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::fclose(f);

  // Probes: the frame's edge, the caption gradient, buttons, check and chart geometry.
  EXPECT_EQ(canvas.at(0, 100), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(canvas.at(1, 100), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(canvas.at(479, 100), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(canvas.at(caption.left, caption.top + 1), RGB(0, 0, 128));
  EXPECT_GT(GetBValue(canvas.at(caption.right - 60, caption.top + 1)), 180);
  EXPECT_EQ(canvas.at(ok.left, ok.top + 10), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(canvas.at(ok.right - 1, ok.top + 10), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(canvas.at(cancel.left, cancel.top + 10), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(canvas.at(check.left + 5, check.top + 7), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(260, 100), RGB(0, 0, 0));                     // the y axis
  EXPECT_EQ(canvas.at(290, 170), RGB(255, 0, 0));                   // first bar
  EXPECT_EQ(canvas.at(275 + 42 + 15, 200 - 110 + 5), RGB(0, 128, 0));  // tallest bar
  EXPECT_EQ(canvas.at(275 + 42 + 15, 200 - 110 - 5), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(420, 250), RGB(192, 192, 192));               // ellipse centre
  EXPECT_EQ(canvas.at(310, 275), RGB(255, 255, 255));               // outside the pie's quarter
}

}  // namespace

// Printer DCs and recording DCs.
#include <gtest/gtest.h>

#include "GdiTestUtil.h"

namespace {

brambolt::PrinterSettings SmallPrinter() {
  brambolt::PrinterSettings s;
  s.dpiX = s.dpiY = 100;
  s.paperWidth = 850;
  s.paperHeight = 1100;
  s.offsetX = s.offsetY = 25;
  return s;
}

TEST(Printer, ReportsPrinterCapabilities) {
  HDC dc = brambolt::CreatePrinterDC(SmallPrinter());
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 100);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 800);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 1050);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 850);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 25);
  EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
  EXPECT_TRUE(brambolt::IsPrinterDC(dc));
  // A memory DC made from it measures like the printer.
  HDC mem = CreateCompatibleDC(dc);
  EXPECT_EQ(GetDeviceCaps(mem, LOGPIXELSY), 100);
  DeleteDC(mem);
  DeleteDC(dc);
}

TEST(Printer, PagesAreRenderedAndHandedOver) {
  std::vector<int> numbers;
  HDC dc = brambolt::CreatePrinterDC(SmallPrinter(), [&](const std::string& doc, int n, const brambolt::PageRecord& page) {
    EXPECT_EQ(doc, "Report");
    EXPECT_EQ(page.width, 800);
    numbers.push_back(n);
  });
  DOCINFO info{sizeof(DOCINFO), "Report", nullptr, nullptr, 0};
  EXPECT_GT(StartDoc(dc, &info), 0);
  EXPECT_GT(StartPage(dc), 0);
  // Screen-sized drawing scaled to the printer: 96 dpi logical units.
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 96, 96, nullptr);
  SetViewportExtEx(dc, 100, 100, nullptr);
  RECT r{0, 0, 96, 48};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_GT(EndPage(dc), 0);
  EXPECT_GT(StartPage(dc), 0);
  EXPECT_GT(EndPage(dc), 0);
  EXPECT_GT(EndDoc(dc), 0);
  auto pages = brambolt::GetPrintedPages(dc);
  ASSERT_EQ(pages.size(), 2u);
  // Replayed at the printer's own size, the pages show what was drawn.
  gditest::MemoryCanvas first(800, 1050), second(800, 1050);
  brambolt::ReplayPage(*pages[0], first.dc(), RECT{0, 0, 800, 1050});
  brambolt::ReplayPage(*pages[1], second.dc(), RECT{0, 0, 800, 1050});
  EXPECT_EQ(first.at(99, 49), RGB(0, 0, 0));
  EXPECT_EQ(first.at(100, 10), RGB(255, 255, 255));
  EXPECT_EQ(second.Count(RGB(255, 255, 255)), 800 * 1050);
  EXPECT_EQ(numbers, (std::vector<int>{1, 2}));
  EXPECT_EQ(EndPage(dc), SP_ERROR);
  DeleteDC(dc);
}

TEST(Printer, AbortProcStopsTheJob) {
  HDC dc = brambolt::CreatePrinterDC(SmallPrinter());
  DOCINFO info{sizeof(DOCINFO), "x", nullptr, nullptr, 0};
  SetAbortProc(dc, [](HDC, int) -> BOOL { return FALSE; });
  StartDoc(dc, &info);
  StartPage(dc);
  EXPECT_EQ(EndPage(dc), SP_APPABORT);
  EXPECT_EQ(StartPage(dc), SP_ERROR);
  DeleteDC(dc);
}

TEST(Printer, CreateDCForAPrinterNameGivesThePrinterDefaults) {
  brambolt::SetDefaultPrinterSettings(SmallPrinter());
  HDC dc = CreateDC("WINSPOOL", "Office", nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 100);
  DeleteDC(dc);
  brambolt::SetDefaultPrinterSettings(brambolt::PrinterSettings{});
}

TEST(RecordingDC, LogsOutermostCallsWithColours) {
  HDC dc = brambolt::CreateRecordingDC(50, 50);
  size_t objects = brambolt::GdiObjectCount();
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 1, 2, nullptr);
  LineTo(dc, 10, 2);
  POINT tri[] = {{0, 0}, {10, 0}, {5, 8}};
  Polygon(dc, tri, 3);
  RECT r{0, 0, 40, 20};
  DrawText(dc, "Hi", -1, &r, DT_SINGLELINE);
  brambolt::FillSolidRect(dc, RECT{1, 1, 5, 5}, RGB(0, 255, 0));
  InvertRect(dc, &r);
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  auto calls = brambolt::GetRecordedCalls(dc);
  ASSERT_EQ(calls.size(), 7u);
  EXPECT_EQ(calls[0].name, "MoveToEx");
  EXPECT_EQ(calls[1].name, "LineTo");
  EXPECT_EQ(calls[1].pen, RGB(255, 0, 0));
  EXPECT_EQ(calls[1].args, (std::vector<int>{10, 2}));
  EXPECT_EQ(calls[2].name, "Polygon");
  EXPECT_EQ(calls[2].points.size(), 3u);
  EXPECT_EQ(calls[3].name, "DrawText");
  EXPECT_EQ(calls[3].text, "Hi");
  EXPECT_EQ(calls[4].name, "ExtTextOut");
  EXPECT_EQ(calls[4].background, RGB(0, 255, 0));
  EXPECT_EQ(calls[4].args, (std::vector<int>{0, 0, ETO_OPAQUE, 1, 1, 5, 5}));
  EXPECT_EQ(calls[5].name, "InvertRect");
  EXPECT_EQ(calls[6].name, "DrawEdge");
  // It draws as well.
  EXPECT_EQ(brambolt::GetDCSurface(dc)->GetColor(2, 2), RGB(255, 0, 255));  // green, inverted
  brambolt::ClearRecordedCalls(dc);
  EXPECT_TRUE(brambolt::GetRecordedCalls(dc).empty());
  SelectObject(dc, old);
  DeleteObject(pen);
  EXPECT_EQ(brambolt::GdiObjectCount(), objects);
  DeleteDC(dc);
}

}  // namespace

// A user prints: the open header from its editor window, and the class hierarchy chart from the
// picture view, each through File > Print, the print dialog and "Print to File", to PDF files a
// reader opens.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Desk.h"
#include "base/CodePage.h"
#include "Scenarios.h"
#include "controls/PrintDialog.h"
#include "gdi/Printer.h"
#include "platform/PdfProbe.h"

namespace e2e {
namespace {

bool HavePoppler() { return std::system("command -v pdftotext >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1") == 0; }

// File > Print by keyboard, the printer "Print to File" picked in the print dialog, OK, and the
// file's path typed into the dialog that asks for it.
void PrintToFile(Desk& desk, const fs::path& pdf, const std::string& snapshot) {
  desk.Expect("Print", [&](HWND dialog) {
    EXPECT_TRUE(desk.Pick(dialog, cmb4, brambolt::kPrintToFileName));
    desk.Snapshot(dialog, snapshot);
    EXPECT_TRUE(ClickButton(dialog, "OK"));
  });
  desk.Expect("Print to File", [&](HWND) {
    // The file name box holds a default name: it is replaced.
    brambolt::test::PressKey(VK_END);
    brambolt::test::PressKey(VK_HOME, brambolt::test::kShift);
    brambolt::test::PressKey(VK_DELETE);
    brambolt::test::TypeText(pdf.string());
    brambolt::test::PressKey(VK_RETURN);
  });
  desk.Menu('F', "p");
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
}

// A 24-bit Windows bitmap as the chart is written: its pixels as 0xRRGGBB, top row first.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

Picture ReadBitmap(const fs::path& path) {
  const std::string file = ReadFile(path);
  auto number = [&](size_t at, size_t bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(static_cast<unsigned char>(file[at + i])) << (8 * i);
    return value;
  };
  Picture picture;
  if (file.size() < 54 || file.compare(0, 2, "BM") != 0 || number(28, 2) != 24) return picture;
  const int width = static_cast<int>(number(18, 4));
  const int rawHeight = static_cast<int>(number(22, 4));
  const int height = std::abs(rawHeight);
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t bits = number(10, 4);
  if (bits + stride * static_cast<size_t>(height) > file.size()) return picture;
  picture.width = width;
  picture.height = height;
  for (int y = 0; y < height; ++y) {
    const size_t row = bits + stride * static_cast<size_t>(rawHeight > 0 ? height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const size_t at = row + static_cast<size_t>(x) * 3;
      picture.pixels.push_back(number(at + 2, 1) << 16 | number(at + 1, 1) << 8 | number(at, 1));
    }
  }
  return picture;
}

// The first picture placed on a PDF's pages, as pdfimages extracts it (a PGM or PPM file), with
// its dots per inch on the page as pdfimages lists it.
struct PrintedImage {
  Picture picture;
  int dpi = 0;
};

PrintedImage FirstImage(const fs::path& pdf) {
  PrintedImage image;
  // page num type width height color comp bpc enc interp object ID x-ppi ...
  std::istringstream list(pdfprobe::Run("pdfimages -list '" + pdf.string() + "' 2>/dev/null"));
  for (std::string line; std::getline(list, line) && image.dpi == 0;) {
    std::istringstream fields(line);
    std::string skip[12];
    for (std::string& field : skip) fields >> field;
    if (skip[0] == "1") fields >> image.dpi;
  }
  const std::string prefix = pdf.string() + ".image";
  pdfprobe::Run("pdfimages -f 1 -l 1 '" + pdf.string() + "' '" + prefix + "' 2>/dev/null");
  for (const char* extension : {"-000.pgm", "-000.ppm"}) {
    std::ifstream in(prefix + extension, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, max = 0;
    if (!(in >> magic >> width >> height >> max) || max != 255 || (magic != "P5" && magic != "P6")) continue;
    in.get();
    const int channels = magic == "P5" ? 1 : 3;
    std::string bytes(static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) continue;
    image.picture.width = width;
    image.picture.height = height;
    for (size_t i = 0; i < bytes.size(); i += static_cast<size_t>(channels)) {
      auto c = [&](int k) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + static_cast<size_t>(channels == 3 ? k : 0)])); };
      image.picture.pixels.push_back(c(0) << 16 | c(1) << 8 | c(2));
    }
  }
  return image;
}

TEST(UsersDay, TheOpenHeaderAndTheClassHierarchyChartPrintToPdf) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = AtelierProject(desk, "English");
  const fs::path header = project.folder / "Header Files" / "Layer.h";
  const HWND view = OpenFile(desk, header);
  ASSERT_NE(view, nullptr);
  ASSERT_NE(desk.MainTitle().find("Layer.h"), std::string::npos) << desk.MainTitle() << desk.Report();
  // The header shows as soon as it opens, before any key: its first line, a comment, in green.
  bool green = false;
  for (int y = 0; y < 20 && !green; ++y)
    for (int x = 0; x < 400 && !green; ++x) {
      const COLORREF pixel = brambolt::test::WindowPixel(view, x, y);
      green = GetGValue(pixel) > GetRValue(pixel) + 60 && GetGValue(pixel) > GetBValue(pixel) + 60;
    }
  EXPECT_TRUE(green);

  // Print Preview shows the page; Escape gives the editor back (and the program still ends well).
  desk.Menu('F', "v");
  desk.Snapshot(desk.MainWindow(), "33-print-preview");
  desk.Press(VK_ESCAPE);
  EXPECT_EQ(::GetFocus(), view);

  // The header: every line of it is in the PDF's text, under a title naming the file.
  const fs::path headerPdf = fs::path(desk.Folder("Printed")) / "Layer.pdf";
  PrintToFile(desk, headerPdf, "30-print-dialog");
  ASSERT_TRUE(fs::exists(headerPdf)) << desk.Report();
  EXPECT_EQ(ReadFile(headerPdf).substr(0, 5), "%PDF-");
  if (HavePoppler()) {
    const std::string text = pdfprobe::Text(headerPdf.string());
    EXPECT_NE(text.find("Layer.h"), std::string::npos) << text;
    EXPECT_NE(text.find("Page: 1"), std::string::npos) << text;
    std::istringstream lines(ReadFile(header));
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      line.erase(0, line.find_first_not_of(" \t"));
      if (line.empty()) continue;
      // Runs of blanks may be laid out differently: the line's first word stands for it.
      EXPECT_NE(text.find(line.substr(0, line.find_first_of(" \t"))), std::string::npos) << line;
    }
    EXPECT_NE(text.find("class CLayer"), std::string::npos) << text;
  }

  // The classes as the documentation draws them: the hierarchy chart, opened in the picture
  // view and printed whole, at its size on screen (96 pixels to the inch) or shrunk to the page.
  WriteDocumentation(desk, "English");
  const fs::path chart = project.folder / "Output_Eng" / "Htmls" / "Image2" / "A_Hierarchy_Chart.bmp";
  ASSERT_TRUE(fs::exists(chart));
  ASSERT_NE(OpenFile(desk, chart), nullptr);
  ASSERT_NE(desk.MainTitle().find("A_Hierarchy_Chart"), std::string::npos) << desk.MainTitle() << desk.Report();
  const fs::path chartPdf = fs::path(desk.Folder("Printed")) / "Chart.pdf";
  PrintToFile(desk, chartPdf, "31-print-chart");
  ASSERT_TRUE(fs::exists(chartPdf)) << desk.Report();
  if (HavePoppler()) {
    EXPECT_EQ(pdfprobe::ReadInfo(chartPdf.string()).pages, 1);
    const Picture picture = ReadBitmap(chart);
    ASSERT_GT(picture.width, 0);
    const PrintedImage image = FirstImage(chartPdf);
    // Every pixel of the chart is on the page as it is on disk, as large as on the screen unless
    // that is larger than the printable area, which it then fills.
    EXPECT_EQ(image.picture.width, picture.width);
    EXPECT_EQ(image.picture.height, picture.height);
    EXPECT_TRUE(image.picture.pixels == picture.pixels);
    const brambolt::PrinterSettings printer = brambolt::GetDefaultPrinterSettings();
    const auto margin = [](int far, int near) { return far < 0 ? near : far; };
    const double wide = double(printer.paperWidth - printer.offsetX - margin(printer.rightMargin, printer.offsetX)) / printer.dpiX;
    const double high = double(printer.paperHeight - printer.offsetY - margin(printer.bottomMargin, printer.offsetY)) / printer.dpiY;
    const double shrink = std::min({1.0, wide / (picture.width / 96.0), high / (picture.height / 96.0)});
    EXPECT_NEAR(image.dpi, 96.0 / shrink, 1.5);
  }
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// A user on a Traditional Chinese system prints a header whose comment is in Big5: the PDF's
// text is the Chinese the file holds.
TEST(UsersDay, AHeaderWithABig5CommentPrintsItsChineseText) {
  brambolt::ScopedCodePage big5(950);
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = AtelierProject(desk, "GB5");
  ASSERT_NE(OpenFile(desk, project.folder / "Header Files" / "ColorTable.h"), nullptr);
  const fs::path pdf = fs::path(desk.Folder("Printed")) / "ColorTable.pdf";
  PrintToFile(desk, pdf, "32-print-dialog-big5");
  ASSERT_TRUE(fs::exists(pdf)) << desk.Report();
  if (HavePoppler()) {
    const std::string text = pdfprobe::Text(pdf.string());
    EXPECT_NE(text.find("// \u7E6A\u5716\u4E2D\u5177\u540D\u7684\u984F\u8272\u3002"), std::string::npos) << text;
  }
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e

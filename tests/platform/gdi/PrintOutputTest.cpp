// Printer DCs writing PDF: pages, paper and orientation, text that stays text (Chinese included),
// vector shapes and images that look as the screen shows the same page, failures that leave no
// file, and printer jobs handed to the spooler.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "GdiTestUtil.h"
#include "base/CodePage.h"
#include "base/Convert.h"
#include "platform/PdfProbe.h"
#include "testing/FakeCups.h"

namespace {

namespace fs = std::filesystem;

// Each test writes into a folder of its own, removed afterwards.
class PrintToPdf : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) / ("brambolt-print-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string TempPdf(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

DEVMODE Paper(short paper, short orientation) {
  DEVMODE dm = brambolt::DefaultDevMode(brambolt::kPrintToFileName);
  dm.dmPaperSize = paper;
  dm.dmOrientation = orientation;
  return dm;
}

HFONT Font(int height, const char* face = "Arial") {
  return CreateFont(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
}

// Draws a test scene in device pixels of a 600 dpi page: a red box with a thick black frame, a
// blue ellipse, a 4x4 checkerboard bitmap enlarged to 480 pixels, and a line of text.
void DrawScene(HDC dc) {
  HPEN pen = CreatePen(PS_SOLID, 12, RGB(0, 0, 0));
  HBRUSH red = CreateSolidBrush(RGB(220, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 200));
  HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, red);
  Rectangle(dc, 300, 300, 1500, 1100);
  SelectObject(dc, blue);
  SelectObject(dc, GetStockObject(NULL_PEN));
  Ellipse(dc, 1800, 300, 3000, 1100);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(red);
  DeleteObject(blue);

  gditest::MemoryCanvas checker(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) SetPixel(checker.dc(), x, y, (x + y) % 2 ? RGB(0, 160, 0) : RGB(255, 200, 0));
  StretchBlt(dc, 300, 1400, 480, 480, checker.dc(), 0, 0, 4, 4, SRCCOPY);

  HFONT font = Font(100);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  TextOut(dc, 1000, 1500, "Printed text", 12);
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

TEST_F(PrintToPdf, APageLooksAsTheScreenShowsItAndKeepsItsText) {
  std::string path = TempPdf("scene.pdf");
  DEVMODE dm = Paper(DMPAPER_A5, DMORIENT_LANDSCAPE);
  HDC dc = CreateDC("winspool", brambolt::kPrintToFileName, path.c_str(), &dm);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 0);  // a PDF has no unprintable margin
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, PHYSICALWIDTH));
  DOCINFO info{sizeof(DOCINFO), "Scene", nullptr, nullptr, 0};
  ASSERT_GT(StartDoc(dc, &info), 0);
  ASSERT_GT(StartPage(dc), 0);
  DrawScene(dc);
  ASSERT_GT(EndPage(dc), 0);
  ASSERT_GT(EndDoc(dc), 0);
  auto pages = brambolt::GetPrintedPages(dc);
  ASSERT_EQ(pages.size(), 1u);

  pdfprobe::Info pdf = pdfprobe::ReadInfo(path);
  EXPECT_EQ(pdf.pages, 1);
  EXPECT_NEAR(pdf.width, 210 / 25.4 * 72, 1);  // A5 turned: 210 x 148 mm
  EXPECT_NEAR(pdf.height, 148 / 25.4 * 72, 1);
  EXPECT_NE(pdfprobe::Text(path).find("Printed text"), std::string::npos);

  // The PDF rendered at 100 dpi against the recorded page replayed at the same scale.
  auto printed = pdfprobe::Render(path, 1, 100);
  ASSERT_NE(printed, nullptr);
  int w = printed->Width(), h = printed->Height();
  EXPECT_NEAR(w, MulDiv(pages[0]->width, 100, 600), 1);
  gditest::MemoryCanvas screen(w, h);
  brambolt::ReplayPage(*pages[0], screen.dc(), RECT{0, 0, MulDiv(pages[0]->width, 100, 600), MulDiv(pages[0]->height, 100, 600)});
  if (const char* keep = std::getenv("BRAMBOLT_KEEP_RENDERINGS")) {
    brambolt::SavePng(*printed, (std::string(keep) + "/printed.png").c_str());
    brambolt::SavePng(screen.surface(), (std::string(keep) + "/screen.png").c_str());
  }
  long differing = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t a = printed->GetPixel(x, y), b = screen.surface().GetPixel(x, y);
      int worst = 0;
      for (int shift = 0; shift <= 16; shift += 8)
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
      differing += worst > 96;
    }
  EXPECT_LT(differing, static_cast<long>(w) * h / 100) << "pixels that differ";
  // Where the shapes are, both show their colours; the text leaves ink in its box.
  struct Probe {
    int x, y;
    COLORREF color;
  };
  for (const Probe& p : {Probe{150, 116, RGB(220, 0, 0)}, Probe{400, 116, RGB(0, 0, 200)}, Probe{60, 243, RGB(255, 200, 0)},
                         Probe{80, 243, RGB(0, 160, 0)}, Probe{50, 116, RGB(0, 0, 0)}, Probe{700, 50, RGB(255, 255, 255)}}) {
    EXPECT_EQ(brambolt::ColorFromPixel(printed->GetPixel(p.x, p.y)), p.color) << p.x << "," << p.y;
    EXPECT_EQ(screen.at(p.x, p.y), p.color) << p.x << "," << p.y;
  }
  int ink = 0;
  for (int y = 250; y < 270; ++y)
    for (int x = 167; x < 330; ++x) ink += printed->GetPixel(x, y) != 0xFFFFFF;
  EXPECT_GT(ink, 100);
  DeleteDC(dc);
}

TEST_F(PrintToPdf, EveryPageInOrderWithChineseTextInBothCodePages) {
  std::string path = TempPdf("pages.pdf");
  DEVMODE dm = Paper(DMPAPER_A4, DMORIENT_PORTRAIT);
  HDC dc = CreateDC("winspool", brambolt::kPrintToFileName, brambolt::kFilePort, &dm);
  DOCINFO info{sizeof(DOCINFO), "Lines", path.c_str(), nullptr, 0};  // the output named by StartDoc
  ASSERT_GT(StartDoc(dc, &info), 0);
  HFONT font = Font(60, "SimSun");
  std::string gb = brambolt::Utf8ToCodePage(u8"简体中文", 936), big5 = brambolt::Utf8ToCodePage(u8"繁體中文", 950);
  for (int page = 1; page <= 3; ++page) {
    ASSERT_GT(StartPage(dc), 0);
    SelectObject(dc, font);
    for (int line = 0; line < 5; ++line) {
      std::string text = "Page " + std::to_string(page) + " line " + std::to_string(line);
      TextOut(dc, 600, 600 + line * 120, text.c_str(), static_cast<int>(text.size()));
    }
    ASSERT_GT(EndPage(dc), 0);
  }
  // Double-byte text is read in the code page of the process: GB2312, then Big5.
  ASSERT_GT(StartPage(dc), 0);
  SelectObject(dc, font);
  {
    brambolt::ScopedCodePage simplified(936);
    TextOut(dc, 600, 600, gb.c_str(), static_cast<int>(gb.size()));
  }
  {
    brambolt::ScopedCodePage traditional(950);
    TextOut(dc, 600, 800, big5.c_str(), static_cast<int>(big5.size()));
  }
  ASSERT_GT(EndPage(dc), 0);
  ASSERT_GT(EndDoc(dc), 0);
  DeleteDC(dc);
  DeleteObject(font);

  pdfprobe::Info pdf = pdfprobe::ReadInfo(path);
  EXPECT_EQ(pdf.pages, 4);
  EXPECT_NEAR(pdf.width, 210 / 25.4 * 72, 1);
  EXPECT_NEAR(pdf.height, 297 / 25.4 * 72, 1);
  std::string text = pdfprobe::Text(path);
  size_t at = 0;
  for (int page = 1; page <= 3; ++page)
    for (int line = 0; line < 5; ++line) {
      std::string wanted = "Page " + std::to_string(page) + " line " + std::to_string(line);
      size_t found = text.find(wanted, at);
      ASSERT_NE(found, std::string::npos) << wanted;
      at = found + wanted.size();
    }
  EXPECT_NE(text.find("简体中文", at), std::string::npos);
  EXPECT_NE(text.find("繁體中文", at), std::string::npos);
}

TEST_F(PrintToPdf, CancelledAndFailedJobsLeaveNoFile) {
  // Cancelled by the abort procedure in the middle: the partial document goes.
  std::string path = TempPdf("cancelled.pdf");
  DEVMODE dm = Paper(DMPAPER_A5, DMORIENT_PORTRAIT);
  HDC dc = CreateDC("winspool", brambolt::kPrintToFileName, path.c_str(), &dm);
  static int pagesAllowed;
  pagesAllowed = 2;
  SetAbortProc(dc, [](HDC, int) -> BOOL { return --pagesAllowed >= 0; });
  DOCINFO info{sizeof(DOCINFO), "Cancelled", nullptr, nullptr, 0};
  ASSERT_GT(StartDoc(dc, &info), 0);
  int result = 0;
  for (int page = 0; page < 5 && result >= 0; ++page) {
    StartPage(dc);
    TextOut(dc, 100, 100, "x", 1);
    result = EndPage(dc);
  }
  EXPECT_EQ(result, SP_APPABORT);
  AbortDoc(dc);
  DeleteDC(dc);
  EXPECT_TRUE(fs::is_empty(dir_)) << "a partial file stayed";

  // A folder that cannot be written: StartDoc fails and says why; nothing appears.
  std::string unwritable = TempPdf("no-such-folder/out.pdf");
  dc = CreateDC("winspool", brambolt::kPrintToFileName, unwritable.c_str(), &dm);
  EXPECT_EQ(StartDoc(dc, &info), SP_ERROR);
  EXPECT_FALSE(brambolt::GetPrintJobError(dc).empty());
  EXPECT_FALSE(fs::exists(unwritable));
  DeleteDC(dc);

  // The file port without a file name cannot print.
  dc = CreateDC("winspool", brambolt::kPrintToFileName, brambolt::kFilePort, &dm);
  EXPECT_EQ(StartDoc(dc, &info), SP_ERROR);
  DeleteDC(dc);

  // A job given up without its end (the printing code left on an error, or in the middle of a
  // page): the DC deleted drops what was written, beside the file and in the temporary folder,
  // and a file printed over stays as it was.
  const fs::path temporary = dir_ / "temporary";
  fs::create_directories(temporary);
  const char* oldTemporary = std::getenv("TMPDIR");
  const std::string keptTemporary = oldTemporary ? oldTemporary : "";
  setenv("TMPDIR", temporary.c_str(), 1);
  const std::string over = TempPdf("over.pdf");
  std::ofstream(over) << "an older document";
  for (bool inPage : {false, true}) {
    dc = CreateDC("winspool", brambolt::kPrintToFileName, over.c_str(), &dm);
    ASSERT_GT(StartDoc(dc, &info), 0);
    StartPage(dc);
    TextOut(dc, 100, 100, "given up", 8);
    if (!inPage) EndPage(dc);
    DeleteDC(dc);
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"over.pdf", "temporary"})) << (inPage ? "in a page" : "between pages");
    std::ifstream overFile(over);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(overFile), {}), "an older document");
  }
  if (oldTemporary) setenv("TMPDIR", keptTemporary.c_str(), 1);
  else unsetenv("TMPDIR");
}

// Printing to a file over one that is there writes it as a save of the editor does: a private
// file stays private, a symbolic link stays a link and the file it names gets the PDF, and a
// file with another name (a hard link) shows the PDF under both names.
TEST_F(PrintToPdf, PrintingOverAFileKeepsItsPermissionsAndItsLinks) {
  auto print = [&](const std::string& path) {
    DEVMODE dm = Paper(DMPAPER_A5, DMORIENT_PORTRAIT);
    HDC dc = CreateDC("winspool", brambolt::kPrintToFileName, path.c_str(), &dm);
    DOCINFO info{sizeof(DOCINFO), "Over", nullptr, nullptr, 0};
    EXPECT_GT(StartDoc(dc, &info), 0) << path;
    StartPage(dc);
    TextOut(dc, 100, 100, "Printed over", 12);
    EndPage(dc);
    EXPECT_GT(EndDoc(dc), 0) << path << ": " << brambolt::GetPrintJobError(dc);
    DeleteDC(dc);
  };
  auto mode = [](const std::string& path) { return fs::status(path).permissions() & fs::perms::all; };
  auto printed = [](const std::string& path) { return pdfprobe::Text(path).find("Printed over") != std::string::npos; };
  const std::string old = "an older document";

  const std::string own = TempPdf("private.pdf");
  std::ofstream(own) << old;
  fs::permissions(own, fs::perms::owner_read | fs::perms::owner_write);
  print(own);
  EXPECT_TRUE(printed(own));
  EXPECT_EQ(mode(own), fs::perms::owner_read | fs::perms::owner_write);

  fs::create_directories(dir_ / "elsewhere");
  const std::string real = (dir_ / "elsewhere" / "real.pdf").string(), link = TempPdf("link.pdf");
  std::ofstream(real) << old;
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(real, link);
  print(link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(printed(real));
  EXPECT_EQ(mode(real), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  const std::string shared = TempPdf("shared.pdf"), other = TempPdf("other.pdf");
  std::ofstream(shared) << old;
  fs::create_hard_link(shared, other);
  print(other);
  EXPECT_TRUE(printed(other));
  EXPECT_TRUE(printed(shared));
  EXPECT_EQ(fs::hard_link_count(shared), 2u);

  // A read-only file is refused, whoever prints, as the editor's save refuses it: it stays as it was.
  const std::string kept = TempPdf("kept.pdf");
  std::ofstream(kept) << old;
  fs::permissions(kept, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  {
    DEVMODE dm = Paper(DMPAPER_A5, DMORIENT_PORTRAIT);
    HDC dc = CreateDC("winspool", brambolt::kPrintToFileName, kept.c_str(), &dm);
    DOCINFO info{sizeof(DOCINFO), "Over", nullptr, nullptr, 0};
    EXPECT_EQ(StartDoc(dc, &info), SP_ERROR);
    EXPECT_EQ(brambolt::GetPrintJobError(dc),
              "The file '" + kept + "' exists and is read-only. Please save to a different filename.");
    DeleteDC(dc);
  }
  std::ifstream keptFile(kept);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(keptFile), {}), old);

  // Nothing else is left beside them.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"elsewhere", "kept.pdf", "link.pdf", "other.pdf", "private.pdf", "shared.pdf"}));
}

TEST_F(PrintToPdf, APrinterJobGoesToTheSpoolerWithItsCopiesAndTheMarginsTheSpoolerGives) {
  brambolt::test::FakeCups cups({"Office"}, "Office");
  cups.SetMargins(brambolt::PaperMargins{18, 36, 18, 36});
  DEVMODE dm = brambolt::DefaultDevMode("Office");
  dm.dmPaperSize = DMPAPER_A4;
  dm.dmCopies = 3;
  dm.dmCollate = DMCOLLATE_TRUE;
  HDC dc = CreateDC("winspool", "Office", brambolt::kSpoolerPort, &dm);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 150);  // 18 points at 600 dpi
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 300);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, PHYSICALWIDTH) - 300);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, PHYSICALHEIGHT) - 600);
  EXPECT_TRUE(brambolt::PrinterMakesCopies(dc));
  DOCINFO info{sizeof(DOCINFO), "Job", nullptr, nullptr, 0};
  ASSERT_GT(StartDoc(dc, &info), 0);
  for (int i = 0; i < 2; ++i) {
    StartPage(dc);
    TextOut(dc, 0, 0, "Job", 3);
    EndPage(dc);
  }
  ASSERT_GT(EndDoc(dc), 0);
  EXPECT_EQ(brambolt::GetPrintJobId(dc), 101);
  ASSERT_EQ(cups.Jobs().size(), 1u);
  const auto& job = cups.Jobs()[0];
  EXPECT_EQ(job.printer, "Office");
  EXPECT_EQ(job.title, "Job");
  EXPECT_EQ(job.copies, 3);
  EXPECT_TRUE(job.collate);
  std::string copy = TempPdf("job.pdf");
  std::ofstream(copy, std::ios::binary) << job.pdf;
  EXPECT_EQ(pdfprobe::ReadInfo(copy).pages, 2);
  fs::remove(copy);
  EXPECT_TRUE(fs::is_empty(dir_));

  // A refused job is an error with the spooler's reason.
  cups.RefuseJobs("The printer is not accepting jobs.");
  ASSERT_GT(StartDoc(dc, &info), 0);
  StartPage(dc);
  EndPage(dc);
  EXPECT_EQ(EndDoc(dc), SP_ERROR);
  EXPECT_EQ(brambolt::GetPrintJobError(dc), "The printer is not accepting jobs.");
  DeleteDC(dc);
}

}  // namespace

// DEVMODE and DEVNAMES: layouts, global-memory blocks and their checks, the paper table, printer
// DCs made from a DEVMODE, and the printer list read from lpstat.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "GdiTestUtil.h"
#include "gdi/DevMode.h"
#include "testing/FakeCups.h"

using namespace brambolt;

namespace {

TEST(DevModeLayout, FieldsSitAtTheirDocumentedOffsets) {
  struct Field {
    const char* name;
    size_t offset, expected;
  };
  const Field fields[] = {
      {"dmSpecVersion", offsetof(DEVMODE, dmSpecVersion), 32},
      {"dmSize", offsetof(DEVMODE, dmSize), 36},
      {"dmFields", offsetof(DEVMODE, dmFields), 40},
      {"dmOrientation", offsetof(DEVMODE, dmOrientation), 44},
      {"dmPaperSize", offsetof(DEVMODE, dmPaperSize), 46},
      {"dmPaperLength", offsetof(DEVMODE, dmPaperLength), 48},
      {"dmPaperWidth", offsetof(DEVMODE, dmPaperWidth), 50},
      {"dmScale", offsetof(DEVMODE, dmScale), 52},
      {"dmCopies", offsetof(DEVMODE, dmCopies), 54},
      {"dmDefaultSource", offsetof(DEVMODE, dmDefaultSource), 56},
      {"dmPrintQuality", offsetof(DEVMODE, dmPrintQuality), 58},
      {"dmColor", offsetof(DEVMODE, dmColor), 60},
      {"dmDuplex", offsetof(DEVMODE, dmDuplex), 62},
      {"dmYResolution", offsetof(DEVMODE, dmYResolution), 64},
      {"dmCollate", offsetof(DEVMODE, dmCollate), 68},
      {"dmFormName", offsetof(DEVMODE, dmFormName), 70},
      {"dmLogPixels", offsetof(DEVMODE, dmLogPixels), 102},
      {"dmBitsPerPel", offsetof(DEVMODE, dmBitsPerPel), 104},
      {"dmNup", offsetof(DEVMODE, dmNup), 116},
      {"dmPanningHeight", offsetof(DEVMODE, dmPanningHeight), 152},
  };
  for (const Field& f : fields) EXPECT_EQ(f.offset, f.expected) << f.name;
  EXPECT_EQ(sizeof(DEVMODE), 156u);
  EXPECT_EQ(offsetof(DEVMODE, dmPosition), offsetof(DEVMODE, dmOrientation));
  EXPECT_EQ(sizeof(DEVNAMES), 8u);
}

TEST(PaperSizes, CarryTheirNumbersAndDimensions) {
  struct Expected {
    int id;
    const char* name;
    short width, length;
  };
  const Expected papers[] = {{1, "Letter", 2159, 2794}, {5, "Legal", 2159, 3556}, {7, "Executive", 1842, 2667},
                             {9, "A4", 2100, 2970},     {11, "A5", 1480, 2100},   {13, "B5", 1820, 2570}};
  ASSERT_EQ(PaperSizes().size(), std::size(papers));
  for (const Expected& e : papers) {
    const PaperSize* p = FindPaperSize(e.id);
    ASSERT_NE(p, nullptr) << e.name;
    EXPECT_STREQ(p->name, e.name);
    EXPECT_EQ(p->width, e.width) << e.name;
    EXPECT_EQ(p->length, e.length) << e.name;
  }
  EXPECT_EQ(FindPaperSize(DMPAPER_A3), nullptr);
}

TEST(DevNamesBlock, KeepsTheThreeNamesBehindTheHeader) {
  HGLOBAL block = CreateDevNamesBlock("winspool", "Office", "CUPS:", DN_DEFAULTPRN);
  ASSERT_NE(block, nullptr);
  auto* names = static_cast<DEVNAMES*>(GlobalLock(block));
  const char* base = reinterpret_cast<const char*>(names);
  EXPECT_EQ(names->wDriverOffset, 8);
  EXPECT_STREQ(base + names->wDriverOffset, "winspool");
  EXPECT_STREQ(base + names->wDeviceOffset, "Office");
  EXPECT_STREQ(base + names->wOutputOffset, "CUPS:");
  EXPECT_EQ(names->wDefault, DN_DEFAULTPRN);
  GlobalUnlock(block);
  DevNamesContent read;
  ASSERT_TRUE(ReadDevNamesBlock(block, &read));
  EXPECT_EQ(read.driver, "winspool");
  EXPECT_EQ(read.device, "Office");
  EXPECT_EQ(read.output, "CUPS:");
  EXPECT_EQ(read.flags, DN_DEFAULTPRN);
  GlobalFree(block);
}

TEST(DevNamesBlock, NamesOutsideTheBlockAreRefused) {
  DevNamesContent read;
  EXPECT_FALSE(ReadDevNamesBlock(nullptr, &read));
  HGLOBAL block = CreateDevNamesBlock("d", "p", "o", 0);
  auto corrupt = [&](auto change) {
    auto* names = static_cast<DEVNAMES*>(GlobalLock(block));
    DEVNAMES saved = *names;
    change(names, reinterpret_cast<char*>(names));
    GlobalUnlock(block);
    bool ok = ReadDevNamesBlock(block, &read);
    names = static_cast<DEVNAMES*>(GlobalLock(block));
    *names = saved;
    reinterpret_cast<char*>(names)[GlobalSize(block) - 1] = 0;
    GlobalUnlock(block);
    return ok;
  };
  EXPECT_FALSE(corrupt([&](DEVNAMES* n, char*) { n->wDeviceOffset = 0x4000; }));
  EXPECT_FALSE(corrupt([&](DEVNAMES* n, char*) { n->wOutputOffset = 2; }));                    // inside the header
  EXPECT_FALSE(corrupt([&](DEVNAMES*, char* bytes) { bytes[GlobalSize(block) - 1] = 'x'; }));  // no NUL
  EXPECT_TRUE(corrupt([](DEVNAMES*, char*) {}));
  GlobalFree(block);
}

TEST(DevModeBlock, RoundTripsAndChecksItsSize) {
  DEVMODE dm = DefaultDevMode("Office");
  dm.dmPaperSize = DMPAPER_A5;
  dm.dmCopies = 3;
  HGLOBAL block = CreateDevModeBlock(dm);
  DEVMODE back{};
  ASSERT_TRUE(ReadDevModeBlock(block, &back));
  EXPECT_EQ(std::memcmp(&dm, &back, sizeof dm), 0);
  EXPECT_STREQ(reinterpret_cast<char*>(back.dmDeviceName), "Office");

  // A shorter, older DEVMODE reads with the fields it lacks zeroed.
  auto* stored = static_cast<DEVMODE*>(GlobalLock(block));
  stored->dmSize = offsetof(DEVMODE, dmFormName);
  GlobalUnlock(block);
  ASSERT_TRUE(ReadDevModeBlock(block, &back));
  EXPECT_EQ(back.dmCopies, 3);
  EXPECT_EQ(back.dmFormName[0], 0);
  EXPECT_EQ(back.dmSize, sizeof(DEVMODE));

  // A size (or driver part) that runs past the block is refused.
  stored = static_cast<DEVMODE*>(GlobalLock(block));
  stored->dmSize = sizeof(DEVMODE);
  stored->dmDriverExtra = 64;
  GlobalUnlock(block);
  EXPECT_FALSE(ReadDevModeBlock(block, &back));
  GlobalFree(block);
  EXPECT_FALSE(ReadDevModeBlock(nullptr, &back));
}

TEST(DefaultDevMode, DescribesTheDefaultPrintersPaper) {
  DEVMODE dm = DefaultDevMode("Office");
  EXPECT_EQ(dm.dmSize, sizeof(DEVMODE));
  EXPECT_EQ(dm.dmSpecVersion, DM_SPECVERSION);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_LETTER);
  EXPECT_EQ(dm.dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_EQ(dm.dmCopies, 1);
  EXPECT_STREQ(reinterpret_cast<char*>(dm.dmFormName), "Letter");
  EXPECT_TRUE(dm.dmFields & DM_PAPERSIZE);
  EXPECT_EQ(dm.dmPaperWidth, 2159);
  EXPECT_FALSE(dm.dmFields & (DM_PAPERWIDTH | DM_PAPERLENGTH));  // they would outrank a new paper number

  PrinterSettings saved = GetDefaultPrinterSettings();
  PrinterSettings a4 = saved;
  a4.dpiX = a4.dpiY = 600;
  a4.paperWidth = 7016;  // 297 mm wide: A4 landscape
  a4.paperHeight = 4961;
  SetDefaultPrinterSettings(a4);
  dm = DefaultDevMode("Office");
  SetDefaultPrinterSettings(saved);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_A4);
  EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(dm.dmPrintQuality, 600);
}

TEST(PrinterDCFromDevMode, TakesPaperOrientationAndResolution) {
  struct Case {
    short paper, orientation, dpi;
    int width, height;  // PHYSICALWIDTH / PHYSICALHEIGHT
  };
  const Case cases[] = {
      {DMPAPER_LETTER, DMORIENT_PORTRAIT, 300, 2550, 3300},     {DMPAPER_A4, DMORIENT_LANDSCAPE, 300, 3508, 2480},
      {DMPAPER_LEGAL, DMORIENT_PORTRAIT, 100, 850, 1400},       {DMPAPER_A5, DMORIENT_PORTRAIT, 254, 1480, 2100},
      {DMPAPER_EXECUTIVE, DMORIENT_LANDSCAPE, 200, 2100, 1450}, {DMPAPER_B5, DMORIENT_PORTRAIT, 254, 1820, 2570},
  };
  for (const Case& c : cases) {
    DEVMODE dm = DefaultDevMode("Office");
    dm.dmPaperSize = c.paper;  // the number alone, as programs change it
    dm.dmOrientation = c.orientation;
    dm.dmPrintQuality = dm.dmYResolution = c.dpi;
    HDC dc = CreateDC("winspool", "Office", "CUPS:", &dm);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), c.width) << c.paper;
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), c.height) << c.paper;
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), c.dpi);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), c.dpi / 4);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), c.width - 2 * (c.dpi / 4));
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), c.height - 2 * (c.dpi / 4));
    DeleteDC(dc);
  }
}

TEST(PrinterDCFromDevMode, ExplicitDimensionsWinAndBadSizesFail) {
  DEVMODE dm = DefaultDevMode("Office");
  dm.dmPrintQuality = dm.dmYResolution = 254;
  dm.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
  dm.dmPaperWidth = 1000;  // 100 x 150 mm
  dm.dmPaperLength = 1500;
  HDC dc = CreateDC("winspool", "Office", nullptr, &dm);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 1000);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 1500);
  PrinterSettings settings;
  ASSERT_TRUE(GetPrinterSettings(dc, &settings));
  EXPECT_EQ(settings.name, "Office");
  DeleteDC(dc);
  dm.dmSize = 20;
  EXPECT_EQ(CreateDC("winspool", "Office", nullptr, &dm), nullptr);
}

TEST(SystemPrinters, AreCupsDestinationsThenPrintToFile) {
  struct Case {
    std::vector<std::string> cups;
    std::string cupsDefault;
    bool installed;
    std::vector<std::string> expected;
    int defaultIndex;
  };
  const Case cases[] = {
      {{"Office", "Lab"}, "Lab", true, {"Office", "Lab", "Print to File"}, 1},
      {{"Office"}, "", true, {"Office", "Print to File"}, 1},
      {{"Office"}, "Gone", true, {"Office", "Print to File"}, 1},
      {{}, "", true, {"Print to File"}, 0},
      {{"Office"}, "Office", false, {"Print to File"}, 0},
  };
  for (const Case& c : cases) {
    test::FakeCups cups(c.cups, c.cupsDefault, c.installed);
    PrinterList list = EnumerateSystemPrinters();
    std::vector<std::string> names;
    for (const PrinterEntry& p : list.printers) names.push_back(p.name);
    EXPECT_EQ(names, c.expected);
    EXPECT_EQ(list.defaultIndex, c.defaultIndex);
    EXPECT_TRUE(list.printers.back().toFile);
    EXPECT_EQ(list.printers.back().port, "FILE:");
    EXPECT_EQ(list.Find("print to file"), static_cast<int>(names.size()) - 1);
  }
}

}  // namespace

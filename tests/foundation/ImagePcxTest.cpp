// PCX format: round trips, the run-length coding, the layouts read (8-bit, two-level, planar,
// 24-bit), files made by ImageMagick, and damaged files.
#include <gtest/gtest.h>

#include "foundation/SECDib.h"
#include "foundation/SECPcx.h"
#include "tests/foundation/ImageTestSupport.h"

namespace {

using kelpwood::foundation::SECDib;
using namespace image_test;

// A PCX header for the layout, followed by the encoded bytes (and nothing else).
std::string PcxFile(int bits, int planes, int width, int height, int bytesPerLine, const std::string& data,
                    const std::string& headerColours = "") {
  std::string h(128, '\0');
  h[0] = 10;
  h[1] = 5;
  h[2] = 1;
  h[3] = static_cast<char>(bits);
  h[8] = static_cast<char>((width - 1) & 0xFF);
  h[9] = static_cast<char>((width - 1) >> 8);
  h[10] = static_cast<char>((height - 1) & 0xFF);
  h[11] = static_cast<char>((height - 1) >> 8);
  h.replace(16, headerColours.size(), headerColours);
  h[65] = static_cast<char>(planes);
  h[66] = static_cast<char>(bytesPerLine & 0xFF);
  h[67] = static_cast<char>(bytesPerLine >> 8);
  return h + data;
}

std::string Packet(int count, int value) { return {static_cast<char>(0xC0 | count), static_cast<char>(value)}; }

class PcxDepth : public ::testing::TestWithParam<int> {};
class PcxSavedDepth : public ::testing::TestWithParam<int> {};

TEST_P(PcxSavedDepth, RoundTripGivesAn8BitPictureOfTheSameColours) {
  int bits = GetParam();
  SECDib source;
  ASSERT_TRUE(LoadBytes(source, PatternBmp(bits, 29, 7)));
  SECPcx pcx;
  ASSERT_TRUE(pcx.MoveFrom(source));
  Picture before = PictureOf(pcx);
  std::string file = SaveBytes(pcx);
  ASSERT_FALSE(file.empty());
  EXPECT_TRUE(SamePicture(before, PictureOf(pcx))) << "saving restores the rows";
  SECPcx copy;
  ASSERT_TRUE(LoadBytes(copy, file));
  EXPECT_EQ(copy.GetBitsPerPixel(), 8u);
  EXPECT_TRUE(SamePicture(PictureOf(pcx), PictureOf(copy)));
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 29; ++x) ASSERT_EQ(IndexOf(copy, x, y), IndexOf(pcx, x, y));
  int colours = 1 << bits;
  for (int i = colours; i < 256; ++i) {
    RGBQUAD q = copy.GetColorTable()[i];
    ASSERT_EQ(q.rgbRed | q.rgbGreen | q.rgbBlue, 0) << "entries past the saved table are zero";
  }
}

TEST_P(PcxDepth, ImageMagickFilesDecodeAsImageMagickDecodesThem) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick is not installed";
  int bits = GetParam();
  brambolt::testing_os::TempDir dir;
  Picture picture = bits == 24 ? ColourPicture(33, 12) : PalettePicture(33, 12, bits == 1 ? 2 : bits == 4 ? 16 : 180);
  WriteFile(dir / "in.ppm", Ppm(picture));
  // ImageMagick writes 8-bit palette files (of 2, 16 or more colours) and 24-bit files.
  std::string type = bits == 24 ? "-type TrueColor" : "-type Palette -colors " + std::to_string(bits == 8 ? 180 : 1 << bits);
  ASSERT_TRUE(Convert("'" + (dir / "in.ppm") + "' " + type + " 'PCX:" + (dir / "in.pcx") + "'"));
  SECPcx image;
  ASSERT_TRUE(image.LoadImage((dir / "in.pcx").c_str()));
  EXPECT_TRUE(SamePicture(DecodeWithConvert(dir / "in.pcx"), PictureOf(image)));
  EXPECT_EQ(image.GetBitsPerPixel(), bits == 24 ? 24u : 8u);
  if (bits <= 8) {
    ASSERT_TRUE(image.SaveImage((dir / "out.pcx").c_str()));
    EXPECT_TRUE(SamePicture(PictureOf(image), DecodeWithConvert(dir / "out.pcx")));
  }
}

INSTANTIATE_TEST_SUITE_P(Pcx, PcxDepth, ::testing::Values(1, 4, 8, 24),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });
INSTANTIATE_TEST_SUITE_P(PcxSaved, PcxSavedDepth, ::testing::Values(1, 4, 8),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

TEST(PcxWrite, TwentyFourBitPicturesAreRefused) {
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, PatternBmp(24, 4, 4)));
  SECPcx image;
  image.MoveFrom(dib);
  Picture before = PictureOf(image);
  EXPECT_TRUE(SaveBytes(image).empty());
  EXPECT_TRUE(SamePicture(before, PictureOf(image)));
}

TEST(PcxWrite, RunsStopAt63AndSingletonsAreCounted) {
  SECDib dib;
  std::vector<Rgb> table = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 5, 5}, {6, 6, 6}, {7, 7, 7}};
  ASSERT_TRUE(LoadBytes(dib, BuildBmp(8, 66, 1, table, [](int x, int) { return x < 64 ? 7 : x - 63; }, nullptr)));
  SECPcx pcx;
  pcx.MoveFrom(dib);
  std::string file = SaveBytes(pcx);
  ASSERT_GE(file.size(), 128u + 8 + 769);
  EXPECT_EQ(file.substr(128, 8), Packet(63, 7) + Packet(1, 7) + Packet(1, 1) + Packet(1, 2));
  EXPECT_EQ(file[136], 0x0C);
  EXPECT_EQ(file.size(), 128u + 8 + 769);
  EXPECT_EQ(static_cast<unsigned char>(file[3]), 8) << "written as 8 bits per pixel";
  EXPECT_EQ(static_cast<unsigned char>(file[66]), 66) << "bytes per line is the width";
}

TEST(PcxRead, TwoLevelFileWithoutPaletteIsBlackAndWhiteOnAGreyRamp) {
  // 10 pixels: 1010 0000 11
  std::string file = PcxFile(1, 1, 10, 1, 2, Packet(1, 0xA0) + Packet(1, 0xC0));
  SECPcx image;
  ASSERT_TRUE(LoadBytes(image, file));
  EXPECT_EQ(image.GetBitsPerPixel(), 8u);
  std::vector<int> expected = {255, 0, 255, 0, 0, 0, 0, 0, 255, 255};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(IndexOf(image, x, 0), expected[x]) << x;
  EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(PixelOf(image, 1, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(image.GetColorTable()[77].rgbGreen, 77);
}

TEST(PcxRead, TwoLevelFileTakesItsColoursFromTheHeaderNotFromATrailingPalette) {
  const std::string data = Packet(1, 0x80) + Packet(1, 0x00);
  const std::string allBlack = std::string(1, '\x0C') + std::string(768, '\0');
  struct Case {
    const char* what;
    std::string headerColours;
    Rgb clear, set;
  };
  const Case cases[] = {{"no header colours", "", {0, 0, 0}, {255, 255, 255}},
                        {"header colours", std::string("\x10\x20\x30\xF0\xE0\xD0", 6), {0x10, 0x20, 0x30}, {0xF0, 0xE0, 0xD0}}};
  for (const Case& c : cases) {
    SECPcx image;
    ASSERT_TRUE(LoadBytes(image, PcxFile(1, 1, 2, 1, 2, data + allBlack, c.headerColours))) << c.what;
    EXPECT_EQ(PixelOf(image, 0, 0), c.set) << c.what;
    EXPECT_EQ(PixelOf(image, 1, 0), c.clear) << c.what;
  }
}

TEST(PcxRead, PlanarSixteenColourFileTakesTheHeaderColourMap) {
  std::string colours;
  for (int i = 0; i < 16; ++i) colours += {static_cast<char>(i * 16), static_cast<char>(i), static_cast<char>(255 - i)};
  // One line of 8 pixels, four planes: pixel x gets value x (plane p holds bit p).
  std::string data = Packet(1, 0x55) + Packet(1, 0x33) + Packet(1, 0x0F) + Packet(1, 0x00);
  SECPcx image;
  ASSERT_TRUE(LoadBytes(image, PcxFile(1, 4, 8, 1, 1, data, colours)));
  for (int x = 0; x < 8; ++x) {
    int v = x;
    EXPECT_EQ(IndexOf(image, x, 0), v) << x;
    EXPECT_EQ(PixelOf(image, x, 0), (Rgb{uint8_t(v * 16), uint8_t(v), uint8_t(255 - v)}));
  }
}

TEST(PcxRead, PadBytesOfALineAreDroppedNotTheNextLines) {
  // Width 3, four bytes a line: the fourth byte of each line is pad.
  std::string data = Packet(1, 1) + Packet(1, 2) + Packet(1, 3) + Packet(1, 99) + Packet(3, 4) + Packet(1, 98);
  SECPcx image;
  ASSERT_TRUE(LoadBytes(image, PcxFile(8, 1, 3, 2, 4, data)));
  std::vector<int> top = {1, 2, 3}, bottom = {4, 4, 4};
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(IndexOf(image, x, 0), top[x]);
    EXPECT_EQ(IndexOf(image, x, 1), bottom[x]);
  }
}

TEST(PcxRead, RunsPastTheLineEndAreClipped) {
  std::string data = Packet(63, 5) + Packet(2, 6);
  SECPcx image;
  ASSERT_TRUE(LoadBytes(image, PcxFile(8, 1, 4, 2, 4, data)));
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(IndexOf(image, x, 0), 5);
    EXPECT_EQ(IndexOf(image, x, 1), x < 2 ? 6 : 0);
  }
}

TEST(PcxRead, AFileThatEndsEarlyKeepsTheLinesDecodedSoFarAndSaysItIsIncomplete) {
  std::string data = Packet(5, 9) + Packet(5, 8) + Packet(2, 7);
  SECPcx image;
  const std::string palette = std::string(1, '\x0C') + std::string(768, '\0');
  ASSERT_TRUE(LoadBytes(image, PcxFile(8, 1, 5, 4, 5, data + Packet(3, 7) + Packet(5, 6) + palette)));
  EXPECT_FALSE(image.IsIncomplete());
  ASSERT_TRUE(LoadBytes(image, PcxFile(8, 1, 5, 4, 5, data)));
  EXPECT_TRUE(image.IsIncomplete());
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(IndexOf(image, x, 0), 9);
    EXPECT_EQ(IndexOf(image, x, 1), 8);
    EXPECT_EQ(IndexOf(image, x, 2), x < 2 ? 7 : 0);
    EXPECT_EQ(IndexOf(image, x, 3), 0);
  }
}

// A 256-colour file whose palette is cut short, or missing, shows its pixels on a grey ramp and
// says it is incomplete; with the whole palette it is complete and takes its colours.
TEST(PcxRead, APaletteCutShortLeavesAGreyRampAndSaysThePictureIsIncomplete) {
  const std::string rows = Packet(3, 9) + Packet(3, 200);
  std::string palette(1, '\x0C');
  for (int i = 0; i < 256; ++i) palette += {static_cast<char>(255 - i), static_cast<char>(i), '\x40'};
  SECPcx image;
  ASSERT_TRUE(LoadBytes(image, PcxFile(8, 1, 3, 2, 3, rows + palette)));
  EXPECT_FALSE(image.IsIncomplete());
  EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{246, 9, 64}));
  for (size_t keep : {size_t{0}, size_t{1}, size_t{28}, palette.size() - 1}) {
    ASSERT_TRUE(LoadBytes(image, PcxFile(8, 1, 3, 2, 3, rows + palette.substr(0, keep)))) << keep;
    EXPECT_TRUE(image.IsIncomplete()) << keep;
    EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{9, 9, 9})) << keep;
    EXPECT_EQ(PixelOf(image, 2, 1), (Rgb{200, 200, 200})) << keep;
  }
}

struct PcxDamage {
  const char* name;
  std::string file;
};

class PcxDamaged : public ::testing::TestWithParam<PcxDamage> {};

TEST_P(PcxDamaged, LoadFailsAndKeepsTheEarlierPicture) {
  SECPcx image;
  ASSERT_TRUE(LoadBytes(image, PcxFile(8, 1, 2, 2, 2, Packet(4, 1))));
  Picture before = PictureOf(image);
  EXPECT_FALSE(LoadBytes(image, GetParam().file));
  EXPECT_TRUE(SamePicture(before, PictureOf(image)));
}

std::string WithByte(std::string s, size_t at, int value) {
  s[at] = static_cast<char>(value);
  return s;
}

const std::string kGood = PcxFile(8, 1, 4, 4, 4, Packet(16, 3));

INSTANTIATE_TEST_SUITE_P(
    Pcx, PcxDamaged,
    ::testing::Values(PcxDamage{"Empty", ""}, PcxDamage{"ShortHeader", kGood.substr(0, 100)},
                      PcxDamage{"Manufacturer", WithByte(kGood, 0, 11)}, PcxDamage{"Version", WithByte(kGood, 1, 6)},
                      PcxDamage{"Encoding", WithByte(kGood, 2, 0)}, PcxDamage{"TwoBitPixels", WithByte(kGood, 3, 2)},
                      PcxDamage{"FivePlanes", PcxFile(1, 5, 8, 1, 1, Packet(5, 0))},
                      PcxDamage{"RightBeforeLeft", WithByte(WithByte(kGood, 4, 9), 8, 2)},
                      PcxDamage{"ZeroBytesPerLine", PcxFile(8, 1, 4, 4, 0, Packet(16, 3))},
                      PcxDamage{"AbsurdSize", PcxFile(8, 1, 32000, 32000, 32000, Packet(63, 3))}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// Targa format: every pixel kind read into 24 bits, run-length packets, orientation, the 2.0
// areas carried through a save, files made by ImageMagick, and damaged files.
#include <gtest/gtest.h>

#include "foundation/SECDib.h"
#include "foundation/SECTarga.h"
#include "tests/foundation/ImageTestSupport.h"

namespace {

using kelpwood::foundation::SECDib;
using namespace image_test;

struct Tga {
  int type = 2, depth = 24, width = 1, height = 1, descriptor = 0;
  int mapType = 0, mapFirst = 0, mapLength = 0, mapEntry = 0;
  std::string map, data, tail;
  std::string Bytes() const {
    std::string s;
    auto u8 = [&](int v) { s.push_back(static_cast<char>(v)); };
    auto u16 = [&](int v) {
      u8(v & 0xFF);
      u8((v >> 8) & 0xFF);
    };
    u8(0);
    u8(mapType);
    u8(type);
    u16(mapFirst);
    u16(mapLength);
    u8(mapEntry);
    u16(0);
    u16(0);
    u16(width);
    u16(height);
    u8(depth);
    u8(descriptor);
    return s + map + data + tail;
  }
};

std::string Le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string Le32(unsigned v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

class TargaDepth : public ::testing::TestWithParam<int> {};

TEST_P(TargaDepth, SavedPicturesComeBackAs24BitsWithTheirColours) {
  int bits = GetParam();
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, PatternBmp(bits, 19, 6)));
  SECTarga tga;
  tga.MoveFrom(dib);
  Picture before = PictureOf(tga);
  std::string file = SaveBytes(tga);
  ASSERT_EQ(file.size(), 18u + 19 * 6 * 3) << "no 2.0 areas for a picture that came from elsewhere";
  EXPECT_EQ(file[2], 2);
  EXPECT_EQ(file[16], 24);
  EXPECT_TRUE(SamePicture(before, PictureOf(tga))) << "the save leaves the picture as it was";
  SECTarga copy;
  ASSERT_TRUE(LoadBytes(copy, file));
  EXPECT_EQ(copy.GetBitsPerPixel(), 24u);
  EXPECT_TRUE(SamePicture(before, PictureOf(copy)));
}

INSTANTIATE_TEST_SUITE_P(Targa, TargaDepth, ::testing::Values(1, 4, 8, 24),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

TEST(TargaRead, SixteenBitPixelsSpreadFiveBitChannels) {
  Tga t;
  t.depth = 16;
  t.width = 3;
  t.data = Le16(0x7FFF) + Le16(0x0001) + Le16(0x0421);
  SECTarga image;
  ASSERT_TRUE(LoadBytes(image, t.Bytes()));
  EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(PixelOf(image, 1, 0), (Rgb{0, 0, 8}));
  EXPECT_EQ(PixelOf(image, 2, 0), (Rgb{8, 8, 8}));
}

TEST(TargaRead, GreyColourMappedAndAlphaPixelsBecomeTheirColours) {
  Tga grey;
  grey.type = 3;
  grey.depth = 8;
  grey.width = 2;
  grey.data = "\x10\xF0";
  SECTarga image;
  ASSERT_TRUE(LoadBytes(image, grey.Bytes()));
  EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{0x10, 0x10, 0x10}));
  EXPECT_EQ(PixelOf(image, 1, 0), (Rgb{0xF0, 0xF0, 0xF0}));

  Tga mapped;
  mapped.type = 1;
  mapped.depth = 8;
  mapped.width = 3;
  mapped.mapType = 1;
  mapped.mapFirst = 4;
  mapped.mapLength = 2;
  mapped.mapEntry = 24;
  mapped.map = std::string("\x01\x02\x03\x0A\x0B\x0C", 6);
  mapped.data = std::string("\x04\x05\x09", 3);
  ASSERT_TRUE(LoadBytes(image, mapped.Bytes()));
  EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{3, 2, 1}));
  EXPECT_EQ(PixelOf(image, 1, 0), (Rgb{12, 11, 10}));
  EXPECT_EQ(PixelOf(image, 2, 0), (Rgb{0, 0, 0})) << "an index outside the map is black";

  Tga alpha;
  alpha.depth = 32;
  alpha.width = 1;
  alpha.data = std::string("\x01\x02\x03\x80", 4);
  ASSERT_TRUE(LoadBytes(image, alpha.Bytes()));
  EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{3, 2, 1}));
}

TEST(TargaRead, RunLengthPacketsRepeatOrCopyPixels) {
  Tga t;
  t.type = 10;
  t.width = 5;
  t.height = 2;
  t.data = std::string("\x82\x01\x02\x03", 4) + std::string("\x01\x04\x05\x06\x07\x08\x09", 7) +
           std::string("\x84\x0A\x0B\x0C", 4);
  SECTarga image;
  ASSERT_TRUE(LoadBytes(image, t.Bytes()));
  // The first file line is the bottom one.
  for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelOf(image, x, 1), (Rgb{3, 2, 1}));
  EXPECT_EQ(PixelOf(image, 3, 1), (Rgb{6, 5, 4}));
  EXPECT_EQ(PixelOf(image, 4, 1), (Rgb{9, 8, 7}));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelOf(image, x, 0), (Rgb{12, 11, 10}));
}

TEST(TargaRead, APacketPassingTheLineEndFailsTheLoad) {
  Tga t;
  t.type = 10;
  t.width = 2;
  t.height = 2;
  t.data = std::string("\x82\x01\x02\x03", 4) + std::string("\x81\x01\x02\x03", 4);
  SECTarga image;
  EXPECT_FALSE(LoadBytes(image, t.Bytes()));
}

TEST(TargaRead, TopAndRightOriginsAreTurnedUpright) {
  Tga t;
  t.width = 2;
  t.height = 2;
  t.descriptor = 0x30;
  // File order with a top-right origin: first line is the top, first pixel the rightmost.
  t.data = std::string("\x01\x01\x01\x02\x02\x02\x03\x03\x03\x04\x04\x04", 12);
  SECTarga image;
  ASSERT_TRUE(LoadBytes(image, t.Bytes()));
  EXPECT_EQ(PixelOf(image, 1, 0), (Rgb{1, 1, 1}));
  EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{2, 2, 2}));
  EXPECT_EQ(PixelOf(image, 1, 1), (Rgb{3, 3, 3}));
  EXPECT_EQ(PixelOf(image, 0, 1), (Rgb{4, 4, 4}));
}

// A 2x1 picture with the 2.0 footer, an extension area naming an author, a 2x1 postage stamp,
// a scan-line table and a developer directory of one tag.
std::string Version2File() {
  Tga t;
  t.width = 2;
  t.data = std::string("\x01\x02\x03\x04\x05\x06", 6);
  size_t pixelsEnd = 18 + 6;
  std::string tail;
  unsigned devOffset = static_cast<unsigned>(pixelsEnd);
  tail += Le16(1) + Le16(7) + Le32(0) + Le32(0);
  unsigned extOffset = static_cast<unsigned>(pixelsEnd + tail.size());
  std::string ext = Le16(495);
  std::string author = "Ada";
  author.resize(41, '\0');
  ext += author + std::string(324, '\0') + std::string(12, '\0') + std::string(41, '\0') + std::string(6, '\0') +
         std::string(41, '\0') + Le16(0) + std::string(1, '\0') + Le32(0) + std::string(8, '\0');
  unsigned after = static_cast<unsigned>(extOffset + 495);
  unsigned stampOffset = after, scanOffset = after + 2 + 6;
  ext += Le32(0) + Le32(stampOffset) + Le32(scanOffset) + std::string(1, '\0');
  tail += ext + std::string("\x02\x01\x07\x08\x09\x0A\x0B\x0C", 8) + Le32(18);
  tail += Le32(extOffset) + Le32(devOffset) + std::string("TRUEVISION-XFILE.\0", 18);
  t.tail = tail;
  return t.Bytes();
}

TEST(TargaVersion2, AreasAreReadAndWrittenBackWithoutTheOldScanLineTable) {
  SECTarga image;
  ASSERT_TRUE(LoadBytes(image, Version2File()));
  EXPECT_TRUE(image.IsVersion2());
  EXPECT_EQ(PixelOf(image, 1, 0), (Rgb{6, 5, 4}));
  std::string saved = SaveBytes(image);
  ASSERT_GE(saved.size(), 24u + 2 + 495 + 5 + 26);
  EXPECT_EQ(saved.substr(saved.size() - 18), std::string("TRUEVISION-XFILE.\0", 18));
  auto le32 = [&](size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(saved[at]) | static_cast<unsigned char>(saved[at + 1]) << 8 |
                                 static_cast<unsigned char>(saved[at + 2]) << 16 |
                                 static_cast<unsigned char>(saved[at + 3]) << 24);
  };
  unsigned ext = le32(saved.size() - 26), dev = le32(saved.size() - 22);
  EXPECT_EQ(dev, 24u);
  EXPECT_EQ(saved.substr(dev, 2), Le16(0)) << "the dropped tags are not written";
  EXPECT_EQ(saved.substr(ext + 2, 3), "Ada");
  EXPECT_EQ(le32(ext + 490), 0u) << "no scan-line table";
  unsigned stamp = le32(ext + 486);
  ASSERT_NE(stamp, 0u);
  EXPECT_EQ(saved.substr(stamp, 8), std::string("\x02\x01\x07\x08\x09\x0A\x0B\x0C", 8));
  SECTarga again;
  ASSERT_TRUE(LoadBytes(again, saved));
  EXPECT_TRUE(again.IsVersion2());
}

TEST(TargaVersion2, ALaterPlainFileClearsTheAreas) {
  SECTarga image;
  ASSERT_TRUE(LoadBytes(image, Version2File()));
  Tga plain;
  plain.data = "\x01\x02\x03";
  ASSERT_TRUE(LoadBytes(image, plain.Bytes()));
  EXPECT_FALSE(image.IsVersion2());
  EXPECT_EQ(SaveBytes(image).size(), 18u + 3);
}

TEST(TargaVersion2, AStampThatNoLongerFitsIsDropped) {
  SECTarga image;
  ASSERT_TRUE(LoadBytes(image, Version2File()));
  SECDib small;
  ASSERT_TRUE(LoadBytes(small, PatternBmp(24, 1, 1)));
  // Only the pixels change: the image keeps its 2.0 areas.
  image.MoveFrom(small);
  std::string saved = SaveBytes(image);
  size_t ext = static_cast<unsigned char>(saved[saved.size() - 26]) |
               static_cast<unsigned char>(saved[saved.size() - 25]) << 8;
  EXPECT_EQ(saved.substr(ext + 486, 4), Le32(0));
}

struct TargaKind {
  const char* name;
  const char* options;
};

class TargaFromImageMagick : public ::testing::TestWithParam<TargaKind> {};

TEST_P(TargaFromImageMagick, DecodesAsImageMagickDoes) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick is not installed";
  brambolt::testing_os::TempDir dir;
  WriteFile(dir / "in.ppm", Ppm(std::string(GetParam().options).find("Palette") != std::string::npos
                                    ? PalettePicture(35, 14, 60)
                                    : ColourPicture(35, 14)));
  // ImageMagick labels the rows it writes top first only when asked to.
  ASSERT_TRUE(Convert("'" + (dir / "in.ppm") + "' -orient TopLeft " + GetParam().options + " 'TGA:" +
                      (dir / "in.tga") + "'"));
  SECTarga image;
  ASSERT_TRUE(image.LoadImage((dir / "in.tga").c_str()));
  EXPECT_TRUE(SamePicture(DecodeWithConvert(dir / "in.tga", "-auto-orient"), PictureOf(image)));
  ASSERT_TRUE(image.SaveImage((dir / "out.tga").c_str()));
  EXPECT_TRUE(SamePicture(PictureOf(image), DecodeWithConvert(dir / "out.tga", "-auto-orient")));
}

INSTANTIATE_TEST_SUITE_P(
    Targa, TargaFromImageMagick,
    ::testing::Values(TargaKind{"Rgb24", "-type TrueColor"}, TargaKind{"Rgb24Rle", "-type TrueColor -compress RLE"},
                      TargaKind{"Rgba32", "-type TrueColorAlpha"},
                      TargaKind{"Rgba32Rle", "-type TrueColorAlpha -compress RLE"},
                      TargaKind{"Grey8", "-type Grayscale"}, TargaKind{"Grey8Rle", "-type Grayscale -compress RLE"},
                      TargaKind{"Mapped8", "-type Palette"}, TargaKind{"Mapped8Rle", "-type Palette -compress RLE"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TargaDamage {
  const char* name;
  std::string file;
};

class TargaDamaged : public ::testing::TestWithParam<TargaDamage> {};

TEST_P(TargaDamaged, LoadFailsAndKeepsTheEarlierPicture) {
  SECTarga image;
  Tga good;
  good.data = "\x01\x02\x03";
  ASSERT_TRUE(LoadBytes(image, good.Bytes()));
  EXPECT_FALSE(LoadBytes(image, GetParam().file));
  EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{3, 2, 1}));
}

Tga With(std::function<void(Tga&)> change) {
  Tga t;
  t.width = 2;
  t.height = 2;
  t.data = std::string(12, '\x05');
  change(t);
  return t;
}

INSTANTIATE_TEST_SUITE_P(
    Targa, TargaDamaged,
    ::testing::Values(TargaDamage{"Empty", ""}, TargaDamage{"ShortHeader", std::string(10, '\0')},
                      TargaDamage{"ShortPixels", With([](Tga& t) { t.data.resize(11); }).Bytes()},
                      TargaDamage{"ShortRun", With([](Tga& t) {
                                    t.type = 10;
                                    t.data = "\x83\x01";
                                  }).Bytes()},
                      TargaDamage{"NoImageData", With([](Tga& t) { t.type = 0; }).Bytes()},
                      TargaDamage{"UnknownType", With([](Tga& t) { t.type = 32; }).Bytes()},
                      TargaDamage{"ZeroWidth", With([](Tga& t) { t.width = 0; }).Bytes()},
                      TargaDamage{"OddDepth", With([](Tga& t) { t.depth = 12; }).Bytes()},
                      TargaDamage{"MapWithoutMap", With([](Tga& t) {
                                    t.type = 1;
                                    t.depth = 8;
                                  }).Bytes()},
                      TargaDamage{"AbsurdSize", With([](Tga& t) {
                                    t.type = 10;
                                    t.width = 65535;
                                    t.height = 65535;
                                  }).Bytes()},
                      TargaDamage{"CutColourMap", With([](Tga& t) {
                                    t.mapType = 1;
                                    t.mapLength = 200;
                                    t.mapEntry = 24;
                                    t.data.clear();
                                  }).Bytes()}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// TIFF format: the layouts read (grey and palette of 1 to 8 bits, min-is-white and
// min-is-black, RGB, RGBA, 16-bit, separate planes, tiles, YCbCr), the declared depth of what is
// written, files made by ImageMagick, and refused or damaged files.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <functional>

#include "foundation/SECDib.h"
#include "foundation/SECTiff.h"
#include "tests/foundation/ImageTestSupport.h"

namespace {

using kelpwood::foundation::SECDib;
using namespace image_test;

// A new TIFF file of one strip of contiguous samples, its strip still to be written.
TIFF* StartTiff(const std::string& path, uint32_t width, uint32_t height, uint16_t bits, uint16_t samples,
                uint16_t photometric) {
  TIFF* t = TIFFOpen(path.c_str(), "w");
  if (t == nullptr) return nullptr;
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bits);
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric);
  TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, height);
  return t;
}

// Writes a one-strip TIFF of top-first packed rows; 'tags' sets anything more.
void WriteTiff(const std::string& path, uint32_t width, uint32_t height, uint16_t bits, uint16_t samples,
               uint16_t photometric, const std::string& rows, const std::function<void(TIFF*)>& tags = nullptr) {
  TIFF* t = StartTiff(path, width, height, bits, samples, photometric);
  ASSERT_NE(t, nullptr);
  if (tags) tags(t);
  TIFFWriteEncodedStrip(t, 0, const_cast<char*>(rows.data()), static_cast<tmsize_t>(rows.size()));
  TIFFClose(t);
}

// The strip of a file as libtiff decodes it, and a tag.
std::string ReadStrip(const std::string& path) {
  TIFF* t = TIFFOpen(path.c_str(), "r");
  if (!t) return {};
  std::string strip(static_cast<size_t>(TIFFStripSize(t)), '\0');
  TIFFReadEncodedStrip(t, 0, strip.data(), static_cast<tmsize_t>(strip.size()));
  TIFFClose(t);
  return strip;
}
uint16_t Tag16(const std::string& path, ttag_t tag) {
  TIFF* t = TIFFOpen(path.c_str(), "r");
  uint16_t v = 0;
  TIFFGetField(t, tag, &v);
  TIFFClose(t);
  return v;
}

class TiffDepth : public ::testing::TestWithParam<int> {};

TEST_P(TiffDepth, SavedPicturesComeBackWithTheirColours) {
  int bits = GetParam();
  brambolt::testing_os::TempDir dir;
  SECDib dib;
  std::string bmp = bits == 1 ? BuildBmp(1, 21, 5, {{0, 0, 0}, {255, 255, 255}}, [](int x, int y) { return (x + y) % 3 == 0; }, nullptr)
                              : PatternBmp(bits, 21, 5);
  ASSERT_TRUE(LoadBytes(dib, bmp));
  SECTiff tiff;
  tiff.MoveFrom(dib);
  Picture before = PictureOf(tiff);
  ASSERT_TRUE(tiff.SaveImage((dir / "a.tif").c_str()));
  EXPECT_TRUE(SamePicture(before, PictureOf(tiff))) << "the save leaves the picture as it was";
  EXPECT_EQ(Tag16(dir / "a.tif", TIFFTAG_BITSPERSAMPLE), bits == 1 ? 1 : 8) << "4-bit pictures are widened";
  SECTiff copy;
  ASSERT_TRUE(copy.LoadImage((dir / "a.tif").c_str()));
  EXPECT_EQ(copy.GetBitsPerPixel(), bits == 24 ? 24u : 8u);
  EXPECT_TRUE(SamePicture(before, PictureOf(copy)));
  if (HaveConvert()) {
    EXPECT_TRUE(SamePicture(before, DecodeWithConvert(dir / "a.tif")));
  }
}

INSTANTIATE_TEST_SUITE_P(Tiff, TiffDepth, ::testing::Values(1, 4, 8, 24),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

TEST(TiffWrite, OneBitRowsAreInvertedUnderMinIsWhite) {
  brambolt::testing_os::TempDir dir;
  SECDib dib;
  // Width 10: two bytes a row; pixel x is white (entry 1) for even x.
  ASSERT_TRUE(LoadBytes(dib, BuildBmp(1, 10, 2, {{0, 0, 0}, {255, 255, 255}}, [](int x, int) { return x % 2 == 0; }, nullptr)));
  SECTiff tiff;
  tiff.MoveFrom(dib);
  ASSERT_TRUE(tiff.SaveImage((dir / "b.tif").c_str()));
  EXPECT_EQ(Tag16(dir / "b.tif", TIFFTAG_PHOTOMETRIC), PHOTOMETRIC_MINISWHITE);
  std::string strip = ReadStrip(dir / "b.tif");
  ASSERT_EQ(strip.size(), 4u);
  EXPECT_EQ(strip, std::string("\x55\x7F\x55\x7F", 4)) << "pad bits come out set by the inversion";
}

TEST(TiffWrite, TwentyFourBitColoursStayInMemoryAfterTheSave) {
  brambolt::testing_os::TempDir dir;
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, PatternBmp(24, 3, 2)));
  SECTiff tiff;
  tiff.MoveFrom(dib);
  Picture before = PictureOf(tiff);
  ASSERT_TRUE(tiff.SaveImage((dir / "c.tif").c_str()));
  EXPECT_TRUE(SamePicture(before, PictureOf(tiff)));
  std::string strip = ReadStrip(dir / "c.tif");
  ASSERT_EQ(strip.size(), 18u);
  EXPECT_EQ(static_cast<uint8_t>(strip[0]), before.At(0, 0).r) << "red first in the file";
}

// Writes with another compression.
class CompressedTiff : public SECTiff {
 public:
  explicit CompressedTiff(DWORD compression) { m_nCompression = compression; }
};

TEST(TiffWrite, CompressedFilesReadBackTheSame) {
  brambolt::testing_os::TempDir dir;
  struct Case {
    DWORD compression;
    int bits;
  };
  for (Case c : {Case{COMPRESSION_LZW, 24}, Case{COMPRESSION_ADOBE_DEFLATE, 8}, Case{COMPRESSION_PACKBITS, 4},
                 Case{COMPRESSION_CCITTFAX3, 1}, Case{COMPRESSION_CCITTFAX4, 1}}) {
    SCOPED_TRACE(c.compression);
    SECDib dib;
    std::string bmp = c.bits == 1 ? BuildBmp(1, 40, 9, {{0, 0, 0}, {255, 255, 255}}, [](int x, int y) { return (x / 5 + y) & 1; }, nullptr)
                                  : PatternBmp(c.bits, 40, 9);
    ASSERT_TRUE(LoadBytes(dib, bmp));
    CompressedTiff tiff(c.compression);
    tiff.MoveFrom(dib);
    ASSERT_TRUE(tiff.SaveImage((dir / "z.tif").c_str()));
    EXPECT_EQ(Tag16(dir / "z.tif", TIFFTAG_COMPRESSION), c.compression);
    if (c.compression == COMPRESSION_CCITTFAX3) {
      TIFF* t = TIFFOpen((dir / "z.tif").c_str(), "r");
      uint32_t options = 0;
      TIFFGetField(t, TIFFTAG_GROUP3OPTIONS, &options);
      TIFFClose(t);
      EXPECT_EQ(options, 5u) << "two-dimensional coding with byte-aligned lines";
    }
    SECTiff copy;
    ASSERT_TRUE(copy.LoadImage((dir / "z.tif").c_str()));
    EXPECT_TRUE(SamePicture(PictureOf(tiff), PictureOf(copy)));
  }
}

TEST(TiffWrite, AnImpossibleCompressionFailsTheSave) {
  brambolt::testing_os::TempDir dir;
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, PatternBmp(24, 4, 4)));
  CompressedTiff tiff(COMPRESSION_CCITTFAX4);
  tiff.MoveFrom(dib);
  Picture before = PictureOf(tiff);
  EXPECT_FALSE(tiff.SaveImage((dir / "bad.tif").c_str())) << "fax coding holds only one-bit pictures";
  EXPECT_TRUE(SamePicture(before, PictureOf(tiff)));
}

TEST(TiffRead, AFileObjectCannotCarryATiff) {
  SECTiff tiff;
  ASSERT_TRUE(LoadBytes(tiff, PatternBmp(8, 2, 2)) == FALSE);
  CMemFile file;
  EXPECT_FALSE(tiff.LoadImage(&file));
  EXPECT_FALSE(tiff.SaveImage(&file));
}

struct GreyCase {
  const char* name;
  uint16_t bits, photometric;
};

class TiffGrey : public ::testing::TestWithParam<GreyCase> {};

TEST_P(TiffGrey, SampleValuesIndexAGreyTable) {
  GreyCase c = GetParam();
  brambolt::testing_os::TempDir dir;
  int levels = 1 << c.bits;
  // One row holding every level from 0 up.
  std::string row((levels * c.bits + 7) / 8, '\0');
  for (int v = 0; v < levels; ++v) {
    size_t bit = static_cast<size_t>(v) * c.bits;
    row[bit / 8] = static_cast<char>(row[bit / 8] | (v << (8 - c.bits - bit % 8)));
  }
  WriteTiff(dir / "g.tif", levels, 1, c.bits, 1, c.photometric, row);
  SECTiff tiff;
  ASSERT_TRUE(tiff.LoadImage((dir / "g.tif").c_str()));
  EXPECT_EQ(tiff.GetBitsPerPixel(), 8u);
  for (int v = 0; v < levels; ++v) {
    int grey = v * 255 / (levels - 1);
    if (c.photometric == PHOTOMETRIC_MINISWHITE) grey = 255 - grey;
    EXPECT_EQ(IndexOf(tiff, v, 0), v);
    EXPECT_EQ(PixelOf(tiff, v, 0), (Rgb{uint8_t(grey), uint8_t(grey), uint8_t(grey)})) << v;
  }
  // ImageMagick 6 reads 2- and 4-bit min-is-white samples as min-is-black; TIFF 6.0 says 0 is white
  // at every depth, as libtiff's own RGBA reader has it.
  bool imageMagickAgrees = c.photometric == PHOTOMETRIC_MINISBLACK || c.bits == 1 || c.bits == 8;
  if (HaveConvert() && imageMagickAgrees) {
    EXPECT_TRUE(SamePicture(DecodeWithConvert(dir / "g.tif"), PictureOf(tiff)));
  }
  std::vector<uint32_t> rgba(levels);
  TIFF* t = TIFFOpen((dir / "g.tif").c_str(), "r");
  ASSERT_TRUE(TIFFReadRGBAImage(t, levels, 1, rgba.data(), 0));
  TIFFClose(t);
  for (int v = 0; v < levels; ++v) EXPECT_EQ(PixelOf(tiff, v, 0).r, TIFFGetR(rgba[v])) << "libtiff agrees at " << v;
}

INSTANTIATE_TEST_SUITE_P(Tiff, TiffGrey,
                         ::testing::Values(GreyCase{"Black1", 1, PHOTOMETRIC_MINISBLACK},
                                           GreyCase{"White1", 1, PHOTOMETRIC_MINISWHITE},
                                           GreyCase{"Black2", 2, PHOTOMETRIC_MINISBLACK},
                                           GreyCase{"White2", 2, PHOTOMETRIC_MINISWHITE},
                                           GreyCase{"Black4", 4, PHOTOMETRIC_MINISBLACK},
                                           GreyCase{"White4", 4, PHOTOMETRIC_MINISWHITE},
                                           GreyCase{"Black8", 8, PHOTOMETRIC_MINISBLACK},
                                           GreyCase{"White8", 8, PHOTOMETRIC_MINISWHITE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TiffRead, PaletteMapsOfByteValuesAreKeptAndWideOnesScaled) {
  brambolt::testing_os::TempDir dir;
  for (bool wide : {false, true}) {
    std::vector<uint16_t> red(16), green(16), blue(16);
    for (int i = 0; i < 16; ++i) {
      int v = i * 16;
      red[i] = static_cast<uint16_t>(wide ? v * 257 : v);
      green[i] = static_cast<uint16_t>(wide ? (255 - v) * 257 : 255 - v);
      blue[i] = static_cast<uint16_t>(wide ? 40 * 257 : 40);
    }
    WriteTiff(dir / "p.tif", 4, 1, 4, 1, PHOTOMETRIC_PALETTE, std::string("\x01\x23", 2),
              [&](TIFF* t) { TIFFSetField(t, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data()); });
    SECTiff tiff;
    ASSERT_TRUE(tiff.LoadImage((dir / "p.tif").c_str()));
    EXPECT_EQ(tiff.GetBitsPerPixel(), 8u);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelOf(tiff, x, 0), (Rgb{uint8_t(x * 16), uint8_t(255 - x * 16), 40}));
  }
}

TEST(TiffRead, OrientationThreeIsTurnedUpright) {
  brambolt::testing_os::TempDir dir;
  // Bottom-right origin: the first stored pixel is the bottom right one.
  WriteTiff(dir / "o.tif", 2, 2, 8, 1, PHOTOMETRIC_MINISBLACK, std::string("\x01\x02\x03\x04", 4),
            [](TIFF* t) { TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_BOTRIGHT); });
  SECTiff tiff;
  ASSERT_TRUE(tiff.LoadImage((dir / "o.tif").c_str()));
  EXPECT_EQ(IndexOf(tiff, 1, 1), 1);
  EXPECT_EQ(IndexOf(tiff, 0, 1), 2);
  EXPECT_EQ(IndexOf(tiff, 1, 0), 3);
  EXPECT_EQ(IndexOf(tiff, 0, 0), 4);
}

TEST(TiffRead, OrientationsFiveToEightAreTransposedAsWellAsFlipped) {
  brambolt::testing_os::TempDir dir;
  // Stored 3 x 2: rows 1 2 3 and 4 5 6. Each orientation shows a 2 x 3 picture, rows from the top.
  struct Case {
    uint16_t orientation;
    int rows[3][2];
  };
  const Case cases[] = {{ORIENTATION_LEFTTOP, {{1, 4}, {2, 5}, {3, 6}}},
                        {ORIENTATION_RIGHTTOP, {{4, 1}, {5, 2}, {6, 3}}},
                        {ORIENTATION_RIGHTBOT, {{6, 3}, {5, 2}, {4, 1}}},
                        {ORIENTATION_LEFTBOT, {{3, 6}, {2, 5}, {1, 4}}}};
  for (const Case& c : cases) {
    WriteTiff(dir / "o.tif", 3, 2, 8, 1, PHOTOMETRIC_MINISBLACK, std::string("\x01\x02\x03\x04\x05\x06", 6),
              [&](TIFF* t) { TIFFSetField(t, TIFFTAG_ORIENTATION, c.orientation); });
    SECTiff tiff;
    ASSERT_TRUE(tiff.LoadImage((dir / "o.tif").c_str()));
    ASSERT_EQ(tiff.GetWidth(), 2) << c.orientation;
    ASSERT_EQ(tiff.GetHeight(), 3) << c.orientation;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 2; ++x) EXPECT_EQ(IndexOf(tiff, x, y), c.rows[y][x]) << c.orientation << " " << x << "," << y;
  }
  // A 24-bit picture of 23 x 37 stored pixels turned by orientation 6 (right-top) is 37 x 23.
  std::string rgb;
  for (int y = 0; y < 37; ++y)
    for (int x = 0; x < 23; ++x) rgb += {static_cast<char>(x), static_cast<char>(y), 9};
  WriteTiff(dir / "r.tif", 23, 37, 8, 3, PHOTOMETRIC_RGB, rgb,
            [](TIFF* t) { TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_RIGHTTOP); });
  SECTiff tiff;
  ASSERT_TRUE(tiff.LoadImage((dir / "r.tif").c_str()));
  ASSERT_EQ(tiff.GetWidth(), 37);
  ASSERT_EQ(tiff.GetHeight(), 23);
  EXPECT_EQ(PixelOf(tiff, 0, 0), (Rgb{0, 36, 9}));
  EXPECT_EQ(PixelOf(tiff, 36, 0), (Rgb{0, 0, 9}));
  EXPECT_EQ(PixelOf(tiff, 36, 22), (Rgb{22, 0, 9}));
  EXPECT_EQ(PixelOf(tiff, 10, 5), (Rgb{5, 26, 9}));
}

TEST(TiffRead, SixteenBitAndAlphaAndSeparatePlanesGiveTwentyFourBits) {
  brambolt::testing_os::TempDir dir;
  uint16_t wide[6] = {0x1234, 0xABCD, 0xFF00, 0x0001, 0x8000, 0x7FFF};
  WriteTiff(dir / "w.tif", 2, 1, 16, 3, PHOTOMETRIC_RGB, std::string(reinterpret_cast<char*>(wide), 12));
  SECTiff tiff;
  ASSERT_TRUE(tiff.LoadImage((dir / "w.tif").c_str()));
  EXPECT_EQ(tiff.GetBitsPerPixel(), 24u);
  EXPECT_EQ(PixelOf(tiff, 0, 0), (Rgb{0x12, 0xAB, 0xFF})) << "the high byte of each sample";
  EXPECT_EQ(PixelOf(tiff, 1, 0), (Rgb{0x00, 0x80, 0x7F}));

  uint16_t extra = EXTRASAMPLE_UNASSALPHA;
  WriteTiff(dir / "a.tif", 1, 1, 8, 4, PHOTOMETRIC_RGB, std::string("\x10\x20\x30\x00", 4),
            [&](TIFF* t) { TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &extra); });
  ASSERT_TRUE(tiff.LoadImage((dir / "a.tif").c_str()));
  EXPECT_EQ(PixelOf(tiff, 0, 0), (Rgb{0x10, 0x20, 0x30})) << "alpha is dropped, not applied";

  TIFF* t = TIFFOpen((dir / "s.tif").c_str(), "w");
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 2);
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, 1);
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE);
  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 1);
  for (int plane = 0; plane < 3; ++plane) {
    char data[2] = {static_cast<char>(plane + 1), static_cast<char>(10 * (plane + 1))};
    TIFFWriteEncodedStrip(t, plane, data, 2);
  }
  TIFFClose(t);
  ASSERT_TRUE(tiff.LoadImage((dir / "s.tif").c_str()));
  EXPECT_EQ(PixelOf(tiff, 0, 0), (Rgb{1, 2, 3}));
  EXPECT_EQ(PixelOf(tiff, 1, 0), (Rgb{10, 20, 30}));
}

TEST(TiffRead, TiledFilesAreReadTileByTile) {
  brambolt::testing_os::TempDir dir;
  TIFF* t = TIFFOpen((dir / "t.tif").c_str(), "w");
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 20);
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, 18);
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(t, TIFFTAG_TILEWIDTH, 16);
  TIFFSetField(t, TIFFTAG_TILELENGTH, 16);
  std::vector<unsigned char> tile(256);
  for (uint32_t ty = 0; ty < 18; ty += 16)
    for (uint32_t tx = 0; tx < 20; tx += 16) {
      for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c) tile[r * 16 + c] = static_cast<unsigned char>((tx + c) * 7 + (ty + r));
      TIFFWriteTile(t, tile.data(), tx, ty, 0, 0);
    }
  TIFFClose(t);
  SECTiff tiff;
  ASSERT_TRUE(tiff.LoadImage((dir / "t.tif").c_str()));
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(IndexOf(tiff, x, y), (x * 7 + y) & 0xFF) << x << "," << y;
}

TEST(TiffRead, AStripShorterThanItsRowsLoadsAndSaysThePictureIsIncomplete) {
  brambolt::testing_os::TempDir dir;
  // One PackBits strip of 4 x 4 grey pixels: a run of 16, or a run of 8 and then nothing.
  auto write = [](const std::string& path, const std::string& strip) {
    TIFF* t = StartTiff(path, 4, 4, 8, 1, PHOTOMETRIC_MINISBLACK);
    ASSERT_NE(t, nullptr);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS);
    TIFFWriteRawStrip(t, 0, const_cast<char*>(strip.data()), static_cast<tmsize_t>(strip.size()));
    TIFFClose(t);
  };
  write(dir / "whole.tif", "\xF1\x40");
  write(dir / "cut.tif", "\xF9\x40");
  SECTiff whole, cut;
  ASSERT_TRUE(whole.LoadImage((dir / "whole.tif").c_str()));
  EXPECT_FALSE(whole.IsIncomplete());
  ASSERT_TRUE(cut.LoadImage((dir / "cut.tif").c_str()));
  EXPECT_TRUE(cut.IsIncomplete());
  EXPECT_EQ(cut.GetHeight(), 4);
  // A later whole load is complete again.
  ASSERT_TRUE(cut.LoadImage((dir / "whole.tif").c_str()));
  EXPECT_FALSE(cut.IsIncomplete());
}

struct Refused {
  const char* name;
  std::function<void(const std::string&)> write;
};

class TiffRefused : public ::testing::TestWithParam<Refused> {};

TEST_P(TiffRefused, LoadFailsAndKeepsTheEarlierPicture) {
  brambolt::testing_os::TempDir dir;
  SECTiff tiff;
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, PatternBmp(8, 3, 3)));
  tiff.MoveFrom(dib);
  Picture before = PictureOf(tiff);
  GetParam().write(dir / "r.tif");
  EXPECT_FALSE(tiff.LoadImage((dir / "r.tif").c_str()));
  EXPECT_TRUE(SamePicture(before, PictureOf(tiff)));
}

INSTANTIATE_TEST_SUITE_P(
    Tiff, TiffRefused,
    ::testing::Values(
        Refused{"Missing", [](const std::string&) {}},
        Refused{"NotATiff", [](const std::string& p) { WriteFile(p, "II*\0garbage"); }},
        Refused{"CutHeader", [](const std::string& p) { WriteFile(p, "II"); }},
        Refused{"SixteenBitGrey",
                [](const std::string& p) { WriteTiff(p, 1, 1, 16, 1, PHOTOMETRIC_MINISBLACK, std::string(2, '\0')); }},
        Refused{"MaxNotAboveMin",
                [](const std::string& p) {
                  WriteTiff(p, 1, 1, 8, 1, PHOTOMETRIC_MINISBLACK, std::string(1, '\0'), [](TIFF* t) {
                    TIFFSetField(t, TIFFTAG_MINSAMPLEVALUE, 9);
                    TIFFSetField(t, TIFFTAG_MAXSAMPLEVALUE, 9);
                  });
                }},
        Refused{"Separated",
                [](const std::string& p) { WriteTiff(p, 1, 1, 8, 4, PHOTOMETRIC_SEPARATED, std::string(4, '\0')); }},
        Refused{"YCbCrWithFlatReference",
                [](const std::string& p) {
                  float reference[6] = {0, 0, 128, 255, 128, 255};
                  WriteTiff(p, 2, 2, 8, 3, PHOTOMETRIC_YCBCR, std::string(6, '\0'), [&](TIFF* t) {
                    TIFFSetField(t, TIFFTAG_YCBCRSUBSAMPLING, 2, 2);
                    TIFFSetField(t, TIFFTAG_REFERENCEBLACKWHITE, reference);
                  });
                }}),
    [](const auto& info) { return std::string(info.param.name); });

struct TiffKind {
  const char* name;
  const char* options;
};

class TiffFromImageMagick : public ::testing::TestWithParam<TiffKind> {};

TEST_P(TiffFromImageMagick, DecodesAsImageMagickDoes) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick is not installed";
  brambolt::testing_os::TempDir dir;
  std::string options = GetParam().options;
  bool palette = options.find("Palette") != std::string::npos || options.find("Bilevel") != std::string::npos;
  WriteFile(dir / "in.ppm", Ppm(palette ? PalettePicture(37, 21, 40) : ColourPicture(37, 21)));
  ASSERT_TRUE(Convert("'" + (dir / "in.ppm") + "' " + options + " 'TIFF:" + (dir / "in.tif") + "'"));
  SECTiff image;
  ASSERT_TRUE(image.LoadImage((dir / "in.tif").c_str()));
  int tolerance = options.find("JPEG") != std::string::npos ? 2 : 0;
  EXPECT_TRUE(SamePicture(DecodeWithConvert(dir / "in.tif"), PictureOf(image), tolerance));
}

INSTANTIATE_TEST_SUITE_P(
    Tiff, TiffFromImageMagick,
    ::testing::Values(TiffKind{"Rgb", "-type TrueColor -compress None"}, TiffKind{"RgbLzw", "-type TrueColor -compress LZW"},
                      TiffKind{"RgbDeflate", "-type TrueColor -compress Zip"},
                      TiffKind{"RgbPackBits", "-type TrueColor -compress RLE"},
                      TiffKind{"Rgb16", "-type TrueColor -depth 16"},
                      TiffKind{"RgbPlanes", "-type TrueColor -interlace Plane"},
                      TiffKind{"RgbTiles", "-type TrueColor -define tiff:tile-geometry=16x16"},
                      TiffKind{"Rgba", "-type TrueColorAlpha -alpha set -channel A -evaluate set 100% +channel"},
                      TiffKind{"YCbCrJpeg", "-type TrueColor -compress JPEG -quality 90"},
                      TiffKind{"Grey", "-type Grayscale"}, TiffKind{"GreyLzw", "-type Grayscale -compress LZW"},
                      TiffKind{"Palette", "-type Palette"}, TiffKind{"PaletteLzw", "-type Palette -compress LZW"},
                      TiffKind{"Bilevel", "-type Bilevel"}, TiffKind{"BilevelFax4", "-type Bilevel -compress Group4"},
                      TiffKind{"BilevelFax3", "-type Bilevel -compress Fax"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

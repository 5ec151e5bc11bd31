// JPEG format: round trips within the codec's loss, files made by ImageMagick (baseline,
// progressive, grey), quantising for palette displays, and damaged, cut and unwritable files.
#include <gtest/gtest.h>

#include <cmath>

#include "core/CException.h"
#include "foundation/SECDib.h"
#include "foundation/SECJpeg.h"
#include "tests/foundation/ImageTestSupport.h"

namespace {

using kelpwood::foundation::SECDib;
using kelpwood::foundation::SECJpeg;
using namespace image_test;

// Mean absolute difference over every channel of two pictures of one size.
double MeanError(const Picture& a, const Picture& b) {
  double sum = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    sum += std::abs(a.pixels[i].r - b.pixels[i].r) + std::abs(a.pixels[i].g - b.pixels[i].g) +
           std::abs(a.pixels[i].b - b.pixels[i].b);
  }
  return sum / (3.0 * a.pixels.size());
}

// A smooth picture that the codec keeps closely.
std::string SmoothBmp(int width, int height) {
  return BuildBmp(24, width, height, {}, nullptr, [&](int x, int y) {
    return Rgb{static_cast<uint8_t>(x * 255 / (width - 1)), static_cast<uint8_t>(y * 255 / (height - 1)), 128};
  });
}

// Plays a display with a palette of 256 colours.
class PaletteDisplayJpeg : public SECJpeg {
 public:
  PaletteDisplayJpeg() {
    m_nSysBitsPerPixel = 8;
    m_wSysColors = 256;
    m_bQuantize = TRUE;
  }
};

TEST(JpegRoundTrip, ColourPictureComesBackWithinTheCodecsLoss) {
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, SmoothBmp(64, 48)));
  SECJpeg jpeg;
  jpeg.MoveFrom(dib);
  Picture before = PictureOf(jpeg);
  std::string file = SaveBytes(jpeg);
  ASSERT_GT(file.size(), 100u);
  EXPECT_EQ(static_cast<unsigned char>(file[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(file[1]), 0xD8);
  EXPECT_TRUE(SamePicture(before, PictureOf(jpeg))) << "the save leaves the picture as it was";
  SECJpeg copy;
  ASSERT_TRUE(LoadBytes(copy, file));
  EXPECT_EQ(copy.GetBitsPerPixel(), 24u);
  EXPECT_TRUE(SamePicture(before, PictureOf(copy), 12));
  EXPECT_LT(MeanError(before, PictureOf(copy)), 2.0);
}

class JpegPaletteDepth : public ::testing::TestWithParam<int> {};

TEST_P(JpegPaletteDepth, PalettePicturesAreWrittenAsTheirColours) {
  int bits = GetParam();
  // Blocks of 16x16 pixels of one colour (the size of a subsampled colour block) survive the codec
  // almost unchanged.
  std::vector<Rgb> table = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {220, 220, 220}};
  int n = bits == 1 ? 2 : 4;
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, BuildBmp(bits, 64, 32, table, [n](int x, int y) { return (x / 16 + y / 16) % n; }, nullptr)));
  SECJpeg jpeg;
  jpeg.MoveFrom(dib);
  Picture before = PictureOf(jpeg);
  SECJpeg copy;
  ASSERT_TRUE(LoadBytes(copy, SaveBytes(jpeg)));
  EXPECT_EQ(copy.GetBitsPerPixel(), 24u);
  // Edges ring; the middle of every block keeps its colour.
  for (int by = 0; by < 2; ++by)
    for (int bx = 0; bx < 4; ++bx) {
      Rgb want = before.At(bx * 16 + 8, by * 16 + 8), got = PixelOf(copy, bx * 16 + 8, by * 16 + 8);
      EXPECT_NEAR(got.r, want.r, 8);
      EXPECT_NEAR(got.g, want.g, 8);
      EXPECT_NEAR(got.b, want.b, 8);
    }
}

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegPaletteDepth, ::testing::Values(1, 4, 8),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

struct JpegKind {
  const char* name;
  const char* options;
};

class JpegFromImageMagick : public ::testing::TestWithParam<JpegKind> {};

TEST_P(JpegFromImageMagick, DecodesAsImageMagickDoes) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick is not installed";
  brambolt::testing_os::TempDir dir;
  WriteFile(dir / "in.ppm", Ppm(ColourPicture(45, 30)));
  ASSERT_TRUE(Convert("'" + (dir / "in.ppm") + "' " + GetParam().options + " 'JPEG:" + (dir / "in.jpg") + "'"));
  SECJpeg image;
  ASSERT_TRUE(image.LoadImage((dir / "in.jpg").c_str()));
  EXPECT_TRUE(SamePicture(DecodeWithConvert(dir / "in.jpg"), PictureOf(image), 1));
  ASSERT_TRUE(image.SaveImage((dir / "out.jpg").c_str()));
  SECJpeg ours;
  ASSERT_TRUE(ours.LoadImage((dir / "out.jpg").c_str()));
  EXPECT_TRUE(SamePicture(PictureOf(ours), DecodeWithConvert(dir / "out.jpg"), 1));
}

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegFromImageMagick,
                         ::testing::Values(JpegKind{"Baseline", "-quality 90"},
                                           JpegKind{"Progressive", "-interlace Plane -quality 80"},
                                           JpegKind{"Grey", "-colorspace Gray -quality 85"},
                                           JpegKind{"NoSubsampling", "-sampling-factor 1x1 -quality 95"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JpegRead, GreyFileOnAColourDisplayIsEqualBlueGreenRed) {
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, SmoothBmp(16, 16)));
  SECJpeg colour;
  colour.MoveFrom(dib);
  std::string file = SaveBytes(colour);
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick is not installed";
  brambolt::testing_os::TempDir dir;
  WriteFile(dir / "c.jpg", file);
  ASSERT_TRUE(Convert("'" + (dir / "c.jpg") + "' -colorspace Gray 'JPEG:" + (dir / "g.jpg") + "'"));
  SECJpeg grey;
  ASSERT_TRUE(grey.LoadImage((dir / "g.jpg").c_str()));
  EXPECT_EQ(grey.GetBitsPerPixel(), 24u);
  Picture p = PictureOf(grey);
  for (const Rgb& c : p.pixels) {
    ASSERT_EQ(c.r, c.g);
    ASSERT_EQ(c.g, c.b);
  }
}

TEST(JpegRead, PaletteDisplayGetsAQuantised8BitPicture) {
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, SmoothBmp(40, 30)));
  SECJpeg writer;
  writer.MoveFrom(dib);
  Picture before = PictureOf(writer);
  std::string file = SaveBytes(writer);
  PaletteDisplayJpeg image;
  ASSERT_TRUE(LoadBytes(image, file));
  EXPECT_EQ(image.GetBitsPerPixel(), 8u);
  EXPECT_EQ(image.GetColorCount(), 256);
  EXPECT_NE(image.GetPalette(), nullptr);
  EXPECT_LT(MeanError(before, PictureOf(image)), 8.0);
}

TEST(JpegRead, AFileCutInTheScanLoadsAtFullSizeAndSaysItIsIncomplete) {
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, PatternBmp(24, 256, 256)));
  SECJpeg writer;
  writer.MoveFrom(dib);
  std::string file = SaveBytes(writer);
  ASSERT_GT(file.size(), 10000u) << "the scan, not the tables, makes most of the file";
  SECJpeg whole, cut;
  ASSERT_TRUE(LoadBytes(whole, file));
  ASSERT_TRUE(LoadBytes(cut, file.substr(0, file.size() * 2 / 3)));
  EXPECT_FALSE(whole.IsIncomplete());
  EXPECT_TRUE(cut.IsIncomplete());
  EXPECT_EQ(cut.GetWidth(), 256);
  EXPECT_EQ(cut.GetHeight(), 256);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 256; ++x) ASSERT_EQ(PixelOf(cut, x, y), PixelOf(whole, x, y)) << "lines before the cut";
}

class JpegDamaged : public ::testing::TestWithParam<std::string> {};

TEST_P(JpegDamaged, LoadFailsAndKeepsTheEarlierPicture) {
  SECJpeg image;
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, SmoothBmp(8, 8)));
  image.MoveFrom(dib);
  Picture before = PictureOf(image);
  EXPECT_FALSE(LoadBytes(image, GetParam()));
  EXPECT_TRUE(SamePicture(before, PictureOf(image)));
}

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegDamaged,
                         ::testing::Values(std::string(), std::string("\xFF\xD8", 2), std::string("not a jpeg at all"),
                                           PatternBmp(24, 4, 4)),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

// A memory file that refuses to take more than a few bytes.
class FullFile : public CMemFile {
 public:
  void Write(const void* p, UINT n) override {
    if (GetLength() + n > 300) AfxThrowFileException(CFileException::diskFull);
    CMemFile::Write(p, n);
  }
};

TEST(JpegWrite, AWriteErrorSurfacesAndLeavesThePictureAsItWas) {
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, PatternBmp(4, 200, 100)));
  SECJpeg image;
  image.MoveFrom(dib);
  Picture before = PictureOf(image);
  FullFile file;
  try {
    image.SaveImage(&file);
    ADD_FAILURE() << "the disk-full exception did not surface";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::diskFull);
    e->Delete();
  }
  EXPECT_TRUE(SamePicture(before, PictureOf(image)));
  EXPECT_TRUE(image.AreRowsPadded());
  EXPECT_EQ(image.GetCurrentFile(), nullptr);
}

}  // namespace

// Damaged files of every format: every truncation and random byte flips over sound fixtures.
// A load either fails and keeps the earlier picture or gives a consistent picture; nothing may
// crash, read out of bounds or leak (the suite is meant to run under AddressSanitizer too).
#include <gtest/gtest.h>

#include <random>

#include "core/CException.h"
#include "foundation/SECDib.h"
#include "foundation/SECJpeg.h"
#include "foundation/SECPcx.h"
#include "foundation/SECTNBitmap.h"
#include "foundation/SECTarga.h"
#include "foundation/SECTiff.h"
#include "tests/foundation/ImageTestSupport.h"

namespace {

using kelpwood::foundation::SECDib;
using kelpwood::foundation::SECImage;
using kelpwood::foundation::SECJpeg;
using namespace image_test;

// Reads every pixel, so an inconsistent picture shows up as a bad read under the sanitizer.
void Touch(const SECImage& image) {
  ASSERT_GT(image.GetWidth(), 0);
  ASSERT_GT(image.GetHeight(), 0);
  ASSERT_NE(image.GetBits(), nullptr);
  unsigned sum = 0;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x) sum += PixelOf(image, x, y).g;
  EXPECT_GE(sum, 0u);
}

// Loads the bytes into an image that holds a 3x2 picture; checks the protocol either way.
template <class Image>
void LoadDamaged(const std::string& bytes, const std::function<BOOL(Image&, const std::string&)>& load) {
  Image image;
  SECDib start;
  ASSERT_TRUE(LoadBytes(start, PatternBmp(24, 3, 2)));
  image.MoveFrom(start);
  BOOL loaded = FALSE;
  try {
    loaded = load(image, bytes);
  } catch (CException* e) {
    e->Delete();
  }
  if (loaded) {
    Touch(image);
  } else {
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.GetHeight(), 2);
  }
}

template <class Image>
void Torture(const std::string& fixture, const std::function<BOOL(Image&, const std::string&)>& load, int flips,
             size_t cuts = 200) {
  ASSERT_FALSE(fixture.empty());
  size_t step = std::max<size_t>(1, fixture.size() / cuts);
  for (size_t n = 0; n < fixture.size(); n += step) {
    SCOPED_TRACE("cut at " + std::to_string(n));
    LoadDamaged<Image>(fixture.substr(0, n), load);
  }
  std::mt19937 random(12345);
  for (int i = 0; i < flips; ++i) {
    std::string bytes = fixture;
    int count = 1 + static_cast<int>(random() % 4);
    for (int k = 0; k < count; ++k) {
      size_t at = random() % bytes.size();
      bytes[at] = static_cast<char>(random() % 2 ? random() & 0xFF : bytes[at] ^ (1 << (random() % 8)));
    }
    SCOPED_TRACE("flip round " + std::to_string(i));
    LoadDamaged<Image>(bytes, load);
  }
}

template <class Image>
BOOL FromMemory(Image& image, const std::string& bytes) {
  return LoadBytes(image, bytes);
}

template <class Image>
std::string Fixture(int bits, int width, int height) {
  SECDib dib;
  EXPECT_TRUE(LoadBytes(dib, PatternBmp(bits, width, height)));
  Image image;
  image.MoveFrom(dib);
  return SaveBytes(image);
}

TEST(DamagedFiles, Bmp) {
  for (int bits : {1, 4, 8, 24}) Torture<SECDib>(PatternBmp(bits, 13, 7), FromMemory<SECDib>, 300);
}

TEST(DamagedFiles, Pcx) {
  for (int bits : {1, 8}) Torture<SECPcx>(Fixture<SECPcx>(bits, 23, 9), FromMemory<SECPcx>, 300);
}

TEST(DamagedFiles, Targa) {
  Torture<SECTarga>(Fixture<SECTarga>(24, 17, 6), FromMemory<SECTarga>, 300);
}

TEST(DamagedFiles, TargaRunLength) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick makes the run-length fixture";
  brambolt::testing_os::TempDir dir;
  WriteFile(dir / "in.ppm", Ppm(PalettePicture(30, 10, 5)));
  ASSERT_TRUE(Convert("'" + (dir / "in.ppm") + "' -compress RLE 'TGA:" + (dir / "in.tga") + "'"));
  Torture<SECTarga>(ReadFile(dir / "in.tga"), FromMemory<SECTarga>, 300);
}

TEST(DamagedFiles, Jpeg) {
  Torture<SECJpeg>(Fixture<SECJpeg>(24, 40, 24), FromMemory<SECJpeg>, 300);
}

TEST(DamagedFiles, JpegHeaderPromisingAHugePicture) {
  std::string file = Fixture<SECJpeg>(24, 16, 16);
  size_t sof = file.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  // Height and width of the frame header become 30000 x 8000.
  file[sof + 5] = static_cast<char>(30000 >> 8);
  file[sof + 6] = static_cast<char>(30000 & 0xFF);
  file[sof + 7] = static_cast<char>(8000 >> 8);
  file[sof + 8] = static_cast<char>(8000 & 0xFF);
  LoadDamaged<SECJpeg>(file, FromMemory<SECJpeg>);
  SECJpeg image;
  EXPECT_FALSE(LoadBytes(image, file));
}

TEST(DamagedFiles, Tiff) {
  brambolt::testing_os::TempDir dir;
  for (int bits : {1, 8, 24}) {
    SECDib dib;
    ASSERT_TRUE(LoadBytes(dib, PatternBmp(bits, 19, 5)));
    SECTiff tiff;
    tiff.MoveFrom(dib);
    ASSERT_TRUE(tiff.SaveImage((dir / "f.tif").c_str()));
    std::string path = dir / "d.tif";
    Torture<SECTiff>(ReadFile(dir / "f.tif"), [&](SECTiff& image, const std::string& bytes) {
      WriteFile(path, bytes);
      return image.LoadImage(path.c_str());
    }, 80, 60);
  }
}

TEST(DamagedFiles, Thumbnail) {
  std::string fixture = PatternBmp(8, 9, 4);
  auto load = [](SECTNBitmap& bitmap, const std::string& bytes) {
    CMemFile file;
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    bitmap.Serialize(ar);
  };
  std::mt19937 random(7);
  for (int i = 0; i < 400; ++i) {
    std::string bytes = fixture;
    if (i % 2) {
      bytes.resize(random() % bytes.size());
    } else {
      bytes[random() % bytes.size()] = static_cast<char>(random());
    }
    SECTNBitmap bitmap;
    try {
      load(bitmap, bytes);
      BITMAP bm{};
      ASSERT_NE(bitmap.GetBitmap(&bm), 0);
      EXPECT_GT(bm.bmWidth, 0);
    } catch (CArchiveException* e) {
      e->Delete();
    }
  }
}

}  // namespace

// Thumbnails in archives and the GIF placeholder.
#include <gtest/gtest.h>

#include "afx/CDC.h"
#include "core/CException.h"
#include "foundation/SECDib.h"
#include "foundation/SECGif.h"
#include "foundation/SECTNBitmap.h"
#include "tests/foundation/ImageTestSupport.h"

namespace {

using kelpwood::foundation::SECDib;
using kelpwood::foundation::SECImage;
using namespace image_test;

// A 32-bit screen bitmap with a pattern.
void MakeScreenBitmap(CBitmap& bitmap, int width, int height) {
  CDC screen, dc;
  screen.CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  dc.CreateCompatibleDC(&screen);
  bitmap.CreateCompatibleBitmap(&screen, width, height);
  CBitmap* old = dc.SelectObject(&bitmap);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) dc.SetPixel(x, y, RGB(x * 20, y * 30, 99));
  dc.SelectObject(old);
}

TEST(Thumbnail, AScreenBitmapIsStoredAs24BitsAndReadBack) {
  SECTNBitmap bitmap;
  MakeScreenBitmap(bitmap, 5, 4);
  std::string bytes = StoredObject(bitmap);
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(Le32At(bytes, 2), bytes.size());
  EXPECT_EQ(Le32At(bytes, 10), 54u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, bytes)) << "the stream is a BMP file";
  EXPECT_EQ(PixelOf(dib, 4, 3), (Rgb{80, 90, 99}));

  SECTNBitmap copy;
  LoadObject(copy, bytes);
  ASSERT_NE(copy.GetSafeHandle(), nullptr);
  BITMAP bm{};
  copy.GetBitmap(&bm);
  EXPECT_EQ(bm.bmWidth, 5);
  EXPECT_EQ(bm.bmHeight, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(PixelOfBitmap(copy, x, y), RGB(x * 20, y * 30, 99));
}

TEST(Thumbnail, ABitmapWithoutAHandleStoresABlankPicture) {
  SECTNBitmap none;
  std::string bytes = StoredObject(none);
  SECTNBitmap copy;
  LoadObject(copy, bytes);
  BITMAP bm{};
  copy.GetBitmap(&bm);
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmHeight, 1);
  EXPECT_EQ(PixelOfBitmap(copy, 0, 0), RGB(255, 255, 255));
}

TEST(Thumbnail, PaletteDibsAreReadThroughTheirColourTable) {
  SECTNBitmap copy;
  LoadObject(copy, PatternBmp(4, 6, 3));
  auto table = PatternTable(4);
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, PatternBmp(4, 6, 3)));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) {
      Rgb c = PixelOf(dib, x, y);
      ASSERT_EQ(PixelOfBitmap(copy, x, y), RGB(c.r, c.g, c.b));
    }
}

struct BadThumbnail {
  const char* name;
  std::function<void(std::string&)> damage;
  int cause;
};

class ThumbnailDamaged : public ::testing::TestWithParam<BadThumbnail> {};

TEST_P(ThumbnailDamaged, LoadingThrowsTheArchiveException) {
  std::string bytes = PatternBmp(8, 7, 5);
  GetParam().damage(bytes);
  SECTNBitmap bitmap;
  try {
    LoadObject(bitmap, bytes);
    ADD_FAILURE() << "no exception";
  } catch (CArchiveException* e) {
    EXPECT_EQ(e->m_cause, GetParam().cause);
    e->Delete();
  }
  EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
}

void Put32(std::string& s, size_t at, unsigned v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

INSTANTIATE_TEST_SUITE_P(
    Thumbnail, ThumbnailDamaged,
    ::testing::Values(
        BadThumbnail{"NotBM", [](std::string& s) { s[0] = 'P'; }, CArchiveException::genericException},
        BadThumbnail{"SizeBelowHeaders", [](std::string& s) { Put32(s, 2, 20); }, CArchiveException::genericException},
        BadThumbnail{"SizePastTheStream", [](std::string& s) { Put32(s, 2, static_cast<unsigned>(s.size() + 100)); },
                     CArchiveException::endOfFile},
        BadThumbnail{"AbsurdSize", [](std::string& s) { Put32(s, 2, 0xFFFFFFF0u); }, CArchiveException::genericException},
        BadThumbnail{"Cut", [](std::string& s) { s.resize(10); }, CArchiveException::endOfFile},
        BadThumbnail{"HeaderSize", [](std::string& s) { Put32(s, 14, 20); }, CArchiveException::genericException},
        BadThumbnail{"Depth", [](std::string& s) { s[28] = 7; }, CArchiveException::genericException},
        BadThumbnail{"HeightBeyondTheBytes", [](std::string& s) { Put32(s, 22, 4000); },
                     CArchiveException::genericException},
        BadThumbnail{"LowestHeight", [](std::string& s) { Put32(s, 22, 0x80000000u); },
                     CArchiveException::genericException},
        BadThumbnail{"NoWidth", [](std::string& s) { Put32(s, 18, 0); }, CArchiveException::genericException},
        BadThumbnail{"TooManyColours", [](std::string& s) { Put32(s, 46, 300); }, CArchiveException::genericException}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Gif, EveryLoadAndSaveFailsAndKeepsThePicture) {
  SECDib dib;
  ASSERT_TRUE(LoadBytes(dib, PatternBmp(8, 4, 4)));
  SECGif gif;
  gif.MoveFrom(dib);
  Picture before = PictureOf(gif);
  brambolt::testing_os::TempDir dir;
  WriteFile(dir / "a.gif", "GIF89a");
  EXPECT_FALSE(gif.LoadImage((dir / "a.gif").c_str()));
  EXPECT_FALSE(LoadBytes(gif, PatternBmp(8, 2, 2)));
  EXPECT_TRUE(SaveBytes(gif).empty());
  EXPECT_TRUE(SamePicture(before, PictureOf(gif)));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    gif.Serialize(ar);
  }
  EXPECT_EQ(file.GetLength(), 0u) << "its archive form is empty";
}

TEST(ImageRuntimeClasses, FormatsAreCreatedByName) {
  for (const char* name : {"SECDib", "SECPcx", "SECTarga", "SECJpeg", "SECTiff", "SECGif"}) {
    CRuntimeClass* rc = CRuntimeClass::FromName(name);
    ASSERT_NE(rc, nullptr) << name;
    CObject* object = rc->CreateObject();
    ASSERT_NE(object, nullptr) << name;
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(SECImage))) << name;
    delete object;
  }
}

}  // namespace

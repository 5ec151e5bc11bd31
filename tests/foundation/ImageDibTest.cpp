// BMP format and the image base: round trips at every depth, the exact file layout, validation
// of damaged files, the load protocol that keeps the earlier picture, and row utilities.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "core/CArchive.h"
#include "core/CException.h"
#include "foundation/SECDib.h"
#include "tests/foundation/ImageTestSupport.h"

namespace {

using kelpwood::foundation::SECDib;
using kelpwood::foundation::SECImage;
using namespace image_test;

unsigned Le16(const std::string& s, size_t at) {
  return static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8;
}
unsigned Le32(const std::string& s, size_t at) { return Le16(s, at) | Le16(s, at + 2) << 16; }
void Set32(std::string& s, size_t at, unsigned v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}
void Set16(std::string& s, size_t at, unsigned v) {
  s[at] = static_cast<char>(v);
  s[at + 1] = static_cast<char>(v >> 8);
}

class DibDepth : public ::testing::TestWithParam<int> {};

TEST_P(DibDepth, RoundTripKeepsEveryPixelAndTheColourTable) {
  int bits = GetParam();
  SECDib source;
  ASSERT_TRUE(LoadBytes(source, PatternBmp(bits, 37, 13)));
  EXPECT_EQ(source.GetBitsPerPixel(), static_cast<DWORD>(bits));
  std::string saved = SaveBytes(source);
  ASSERT_FALSE(saved.empty());
  SECDib copy;
  ASSERT_TRUE(LoadBytes(copy, saved));
  EXPECT_EQ(copy.GetBitsPerPixel(), static_cast<DWORD>(bits));
  EXPECT_TRUE(SamePicture(PictureOf(source), PictureOf(copy)));
  if (bits <= 8) {
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 37; ++x) ASSERT_EQ(IndexOf(copy, x, y), (x * 3 + y * 5 + x * y) % (1 << bits));
  }
  std::string expected = PatternBmp(bits, 37, 13);
  Set32(expected, 34, static_cast<unsigned>(expected.size() - Le32(expected, 10)));
  EXPECT_TRUE(saved == expected) << "the writer's bytes differ from the reference layout";
}

TEST_P(DibDepth, FileImportedFromImageMagickDecodesAsItDoes) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick is not installed";
  int bits = GetParam();
  brambolt::testing_os::TempDir dir;
  Picture picture = bits == 24 ? ColourPicture(41, 17) : PalettePicture(41, 17, bits == 1 ? 2 : bits == 4 ? 16 : 200);
  WriteFile(dir / "in.ppm", Ppm(picture));
  std::string type = bits == 24 ? "-type TrueColor" : "-type Palette";
  ASSERT_TRUE(Convert("'" + (dir / "in.ppm") + "' " + type + " -compress None 'BMP3:" + (dir / "in.bmp") + "'"));
  std::string bytes = ReadFile(dir / "in.bmp");
  ASSERT_EQ(Le16(bytes, 28), static_cast<unsigned>(bits)) << "ImageMagick chose another depth";
  SECDib image;
  ASSERT_TRUE(image.LoadImage((dir / "in.bmp").c_str()));
  EXPECT_TRUE(SamePicture(DecodeWithConvert(dir / "in.bmp"), PictureOf(image)));
  ASSERT_TRUE(image.SaveImage((dir / "out.bmp").c_str()));
  EXPECT_TRUE(SamePicture(PictureOf(image), DecodeWithConvert(dir / "out.bmp")));
}

INSTANTIATE_TEST_SUITE_P(Bmp, DibDepth, ::testing::Values(1, 4, 8, 24),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

TEST(DibLayout, HeaderFieldsAreWrittenLittleEndianFieldByField) {
  struct Case {
    int bits, width, height;
    unsigned rowBytes, tableBytes;
  };
  for (Case c : {Case{24, 5, 3, 16, 0}, Case{1, 33, 2, 8, 8}, Case{4, 3, 4, 4, 64}, Case{8, 6, 2, 8, 1024}}) {
    SECDib image;
    ASSERT_TRUE(LoadBytes(image, PatternBmp(c.bits, c.width, c.height)));
    std::string file = SaveBytes(image);
    SCOPED_TRACE(c.bits);
    ASSERT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(Le32(file, 2), file.size()) << "bfSize is the file's length";
    EXPECT_EQ(Le32(file, 2), 54 + c.tableBytes + c.rowBytes * c.height);
    EXPECT_EQ(Le16(file, 6), 0u);
    EXPECT_EQ(Le16(file, 8), 0u);
    EXPECT_EQ(Le32(file, 10), 54 + c.tableBytes);
    EXPECT_EQ(Le32(file, 14), 40u);
    EXPECT_EQ(Le32(file, 18), static_cast<unsigned>(c.width));
    EXPECT_EQ(Le32(file, 22), static_cast<unsigned>(c.height));
    EXPECT_EQ(Le16(file, 26), 1u);
    EXPECT_EQ(Le16(file, 28), static_cast<unsigned>(c.bits));
    EXPECT_EQ(Le32(file, 30), 0u);
    EXPECT_EQ(Le32(file, 34), c.rowBytes * c.height);
  }
}

TEST(DibLayout, BitmapFromA32BitScreenBitmapSavesAs24Bits) {
  HDC dc = CreateCompatibleDC(nullptr);
  HDC screen = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 7, 5);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) SetPixel(dc, x, y, RGB(x * 30, y * 50, 200));
  SelectObject(dc, old);
  SECDib image;
  CDC wrapper;
  wrapper.Attach(dc);
  ASSERT_TRUE(image.CreateFromBitmap(&wrapper, CBitmap::FromHandle(bitmap)));
  wrapper.Detach();
  EXPECT_EQ(image.GetBitsPerPixel(), 24u);
  EXPECT_EQ(image.GetPalette(), nullptr);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(PixelOf(image, x, y), (Rgb{uint8_t(x * 30), uint8_t(y * 50), 200}));
  std::string file = SaveBytes(image);
  EXPECT_EQ(Le32(file, 34), 5u * 4 * ((24 * 7 + 31) / 32));
  EXPECT_EQ(Le32(file, 2), file.size());
  EXPECT_EQ(Le32(file, 10), 54u);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DeleteDC(screen);
}

TEST(DibDraw, DrawsTheImageStretchedWithTheRasterOperation) {
  SECDib image;
  ASSERT_TRUE(LoadBytes(image, PatternBmp(8, 4, 3)));
  HDC dc = CreateCompatibleDC(nullptr);
  HDC screen = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 6);
  HGDIOBJ old = SelectObject(dc, bitmap);
  CDC wrapper;
  wrapper.Attach(dc);
  ASSERT_TRUE(image.Draw(&wrapper, 0, 0, 8, 6, SRCCOPY));
  wrapper.Detach();
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      Rgb c = PixelOf(image, x / 2, y / 2);
      ASSERT_EQ(GetPixel(dc, x, y), RGB(c.r, c.g, c.b)) << x << "," << y;
    }
  ASSERT_TRUE(image.Draw(dc, 0, 0, 4, 3, DSTINVERT));
  Rgb c = PixelOf(image, 0, 0);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255 - c.r, 255 - c.g, 255 - c.b));
  SECDib empty;
  EXPECT_FALSE(empty.Draw(dc, 0, 0, 4, 3));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DeleteDC(screen);
}

// Each case damages a valid 8-bit file; the load fails and the earlier picture stays.
struct Damage {
  const char* name;
  std::function<void(std::string&)> apply;
};

class DibDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(DibDamage, LoadFailsAndKeepsTheEarlierPicture) {
  SECDib image;
  ASSERT_TRUE(LoadBytes(image, PatternBmp(24, 9, 4)));
  Picture before = PictureOf(image);
  std::string bytes = PatternBmp(8, 6, 5);
  GetParam().apply(bytes);
  EXPECT_FALSE(LoadBytes(image, bytes));
  EXPECT_EQ(image.GetBitsPerPixel(), 24u);
  EXPECT_TRUE(SamePicture(before, PictureOf(image)));
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, DibDamage,
    ::testing::Values(Damage{"NotBM", [](std::string& s) { s[0] = 'X'; }},
                      Damage{"Empty", [](std::string& s) { s.clear(); }},
                      Damage{"CutInHeader", [](std::string& s) { s.resize(30); }},
                      Damage{"CutInPixels", [](std::string& s) { s.resize(s.size() - 1); }},
                      Damage{"OffBitsBelowHeaders", [](std::string& s) { Set32(s, 10, 53); }},
                      Damage{"OffBitsPastTheEnd", [](std::string& s) { Set32(s, 10, static_cast<unsigned>(s.size() + 1)); }},
                      Damage{"ShortInfoHeader", [](std::string& s) { Set32(s, 14, 12); }},
                      Damage{"InfoHeaderPastOffBits", [](std::string& s) { Set32(s, 14, 2000); }},
                      Damage{"SixteenBits", [](std::string& s) { Set16(s, 28, 16); }},
                      Damage{"ThirtyTwoBits", [](std::string& s) { Set16(s, 28, 32); }},
                      Damage{"RunLengthEncoded", [](std::string& s) { Set32(s, 30, 1); }},
                      Damage{"ZeroWidth", [](std::string& s) { Set32(s, 18, 0); }},
                      Damage{"NegativeWidth", [](std::string& s) { Set32(s, 18, 0xFFFFFFFAu); }},
                      Damage{"NegativeHeight", [](std::string& s) { Set32(s, 22, 0xFFFFFFFBu); }},
                      Damage{"AbsurdWidth", [](std::string& s) { Set32(s, 18, 0x7FFFFFFF); }},
                      Damage{"HeightBeyondTheBytes", [](std::string& s) { Set32(s, 22, 30000); }},
                      Damage{"TooManyColours", [](std::string& s) { Set32(s, 46, 257); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DibLoad, ShortColourTableAndLongerHeaderAreRead) {
  // A version-5 style header (124 bytes) with a 3-entry table declared by biClrUsed.
  std::string base = PatternBmp(8, 4, 2);
  std::string bytes = base.substr(0, 14) + base.substr(14, 40) + std::string(84, '\0');
  Set32(bytes, 14, 124);
  Set32(bytes, 46, 3);
  std::string table("\x01\x02\x03\0\x04\x05\x06\0\x07\x08\x09\0", 12);
  bytes += table;
  std::string pixels(16, '\0');
  pixels[0] = 2;
  pixels[5] = 1;
  bytes += pixels;
  Set32(bytes, 10, 14 + 124 + 12);
  Set32(bytes, 2, static_cast<unsigned>(bytes.size()));
  SECDib image;
  ASSERT_TRUE(LoadBytes(image, bytes));
  EXPECT_EQ(PixelOf(image, 0, 1), (Rgb{9, 8, 7}));
  EXPECT_EQ(PixelOf(image, 1, 0), (Rgb{6, 5, 4}));
  EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{3, 2, 1}));
  std::string saved = SaveBytes(image);
  EXPECT_EQ(Le32(saved, 14), 40u) << "saved with the 40-byte header";
}

TEST(DibSerialize, ArchiveRoundTripAndBadMagicThrows) {
  SECDib image;
  ASSERT_TRUE(LoadBytes(image, PatternBmp(4, 10, 3)));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    image.Serialize(ar);
  }
  file.SeekToBegin();
  SECDib copy;
  {
    CArchive ar(&file, CArchive::load);
    copy.Serialize(ar);
  }
  EXPECT_TRUE(SamePicture(PictureOf(image), PictureOf(copy)));
  EXPECT_NE(copy.GetPalette(), nullptr);

  CMemFile bad;
  std::string bytes = PatternBmp(4, 10, 3);
  bytes[1] = 'X';
  bad.Write(bytes.data(), static_cast<UINT>(bytes.size()));
  bad.SeekToBegin();
  CArchive ar(&bad, CArchive::load);
  try {
    copy.Serialize(ar);
    ADD_FAILURE() << "no exception";
  } catch (CArchiveException* e) {
    EXPECT_EQ(e->m_cause, CArchiveException::genericException);
    e->Delete();
  }
  EXPECT_TRUE(SamePicture(PictureOf(image), PictureOf(copy)));
}

TEST(DibSerialize, AnArchiveCutInThePixelsThrowsAndKeepsThePicture) {
  SECDib image;
  ASSERT_TRUE(LoadBytes(image, PatternBmp(8, 3, 3)));
  Picture before = PictureOf(image);
  std::string bytes = PatternBmp(24, 2000, 2000).substr(0, 5000);
  CMemFile file;
  file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  try {
    image.Serialize(ar);
    ADD_FAILURE() << "no exception";
  } catch (CArchiveException* e) {
    EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
    e->Delete();
  }
  EXPECT_TRUE(SamePicture(before, PictureOf(image)));
}

TEST(ImageFiles, NameBasedSavesReuseTheImagesOwnFileObject) {
  brambolt::testing_os::TempDir dir;
  SECDib image;
  ASSERT_TRUE(LoadBytes(image, PatternBmp(8, 5, 5)));
  EXPECT_EQ(image.GetCurrentFile(), nullptr) << "a caller's file is not kept";
  ASSERT_TRUE(image.SaveImage((dir / "a.bmp").c_str()));
  CFile* own = image.GetCurrentFile();
  ASSERT_NE(own, nullptr);
  ASSERT_TRUE(image.SaveImage((dir / "b.bmp").c_str()));
  EXPECT_EQ(image.GetCurrentFile(), own);
  EXPECT_EQ(ReadFile(dir / "a.bmp"), ReadFile(dir / "b.bmp"));
  ASSERT_TRUE(LoadBytes(image, PatternBmp(1, 5, 5)));
  EXPECT_EQ(image.GetCurrentFile(), own) << "a caller's file leaves the own one in place";
  ASSERT_TRUE(image.LoadImage((dir / "a.bmp").c_str()));
  EXPECT_EQ(image.GetBitsPerPixel(), 8u);
  EXPECT_FALSE(image.LoadImage((dir / "missing.bmp").c_str())) << "reopening reports failure";
}

TEST(ImageFiles, OpeningAMissingFileByNameThrowsTheFileException) {
  SECDib image;
  try {
    image.LoadImage("/nonexistent/folder/x.bmp");
    ADD_FAILURE() << "no exception";
  } catch (CFileException* e) {
    e->Delete();
  }
}

// Exposes the buffered file access to the tests.
class BufferedDib : public SECDib {
 public:
  void Use(CFile* file) { m_pCurFile = file; }
};

TEST(ImageBuffer, WritesLongerThanTheBufferArriveOnceAndInOrder) {
  CMemFile file;
  BufferedDib image;
  image.Use(&file);
  ASSERT_TRUE(image.InitBuffer(7, 0));
  std::string data;
  for (int i = 0; i < 50; ++i) data.push_back(static_cast<char>('a' + i % 26));
  EXPECT_EQ(image.WriteBytes(data.data(), 3), 3u);
  EXPECT_EQ(image.WriteBytes(data.data() + 3, 47), 47u);
  image.FlushBuffer();
  ASSERT_EQ(file.GetLength(), 50u);
  std::string back(50, '\0');
  file.SeekToBegin();
  file.Read(back.data(), 50);
  EXPECT_EQ(back, data);

  file.SeekToBegin();
  ASSERT_TRUE(image.InitBuffer(8, 1));
  std::string read(60, '\0');
  EXPECT_EQ(image.ReadBytes(read.data(), 5), 5u);
  EXPECT_EQ(image.ReadBytes(read.data() + 5, 55), 45u) << "stops at the end of the file";
  EXPECT_EQ(read.substr(0, 50), data);
  image.FreeBuffer();
  image.Use(nullptr);
  EXPECT_FALSE(image.InitBuffer(8, 1)) << "no file, no buffer";
}

class RowUtilities : public ::testing::TestWithParam<int> {};

TEST_P(RowUtilities, FlipMirrorAndPaddingMoveEveryPixel) {
  int bits = GetParam();
  SECDib image;
  ASSERT_TRUE(LoadBytes(image, PatternBmp(bits, 11, 6)));
  Picture original = PictureOf(image);
  ASSERT_TRUE(image.FlipVertical());
  ASSERT_TRUE(image.MirrorHorizontal());
  Picture turned = PictureOf(image);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 11; ++x) ASSERT_EQ(turned.At(x, y), original.At(10 - x, 5 - y)) << x << "," << y;
  ASSERT_TRUE(image.UnpadRows());
  EXPECT_FALSE(image.AreRowsPadded());
  EXPECT_TRUE(SamePicture(turned, PictureOf(image)));
  ASSERT_TRUE(image.PadRows());
  EXPECT_TRUE(SamePicture(turned, PictureOf(image)));
}

INSTANTIATE_TEST_SUITE_P(Depths, RowUtilities, ::testing::Values(1, 4, 8, 24),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

TEST(ImageMove, MoveFromTakesThePictureAndEmptiesTheSource) {
  SECDib a, b;
  ASSERT_TRUE(LoadBytes(a, PatternBmp(8, 3, 3)));
  Picture picture = PictureOf(a);
  CPalette* palette = a.GetPalette();
  ASSERT_TRUE(b.MoveFrom(a));
  EXPECT_EQ(b.GetPalette(), palette);
  EXPECT_EQ(a.GetBits(), nullptr);
  EXPECT_EQ(a.GetBitmapInfo(), nullptr);
  EXPECT_EQ(a.GetPalette(), nullptr);
  EXPECT_TRUE(SamePicture(picture, PictureOf(b)));
}

TEST(ImagePalette, PaletteFollowsTheColourTable) {
  SECDib image;
  ASSERT_TRUE(LoadBytes(image, PatternBmp(4, 4, 4)));
  ASSERT_NE(image.GetPalette(), nullptr);
  PALETTEENTRY entries[16];
  ASSERT_EQ(image.GetPalette()->GetPaletteEntries(0, 16, entries), 16u);
  auto table = PatternTable(4);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(entries[i].peRed, table[i].r);
    EXPECT_EQ(entries[i].peGreen, table[i].g);
    EXPECT_EQ(entries[i].peBlue, table[i].b);
  }
  SECDib empty;
  EXPECT_FALSE(empty.CreatePalette()) << "no header, no palette";
}

}  // namespace

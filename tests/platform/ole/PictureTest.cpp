// The picture object: BMP, JPEG, ICO and GIF files made by ImageMagick load with their HIMETRIC
// size and their pixels, transparent parts leave the DC alone, SaveAsFile writes files
// ImageMagick reads back, and metafiles, damaged files and unknown interfaces fail cleanly.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/GlobalMemory.h"
#include "ole/ole.h"
#include "testing/testing.h"

using brambolt::test::PrivateStores;
using brambolt::test::UiSession;

namespace {

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, p)) out += buffer;
    pclose(p);
  }
  return out;
}

bool HaveImageMagick() { return std::system("convert -version > /dev/null 2>&1") == 0; }

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A picture made from bytes the way the picture view does it: a stream on a global block.
HRESULT Load(const std::vector<uint8_t>& bytes, IPicture** picture, REFIID iid = IID_IPicture) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  IStream* stream = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
  HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, iid, reinterpret_cast<void**>(picture));
  stream->Release();
  return hr;
}

// The picture drawn upright at its natural size over a background colour; pixels read back.
struct Drawn {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  Drawn(IPicture* picture, int width, int height, COLORREF background) {
    dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    EXPECT_EQ(picture->Render(dc, 0, 0, width, height, 0, h, w, -h, nullptr), S_OK);
  }
  ~Drawn() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
};

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    dir_ = stores_.TempDir();
    // Four quadrants of 20 x 15: red, green / blue, white.
    Shell("convert -size 20x15 xc:'#FF0000' xc:'#00FF00' +append \\( -size 20x15 xc:'#0000FF' xc:'#FFFFFF' "
        "+append \\) -append " + dir_ + "/q.png");
  }
  // `format` names the writer when the extension does not say enough ("BMP3").
  std::string Make(const std::string& name, const std::string& options = "", const std::string& format = "") {
    Shell("convert " + dir_ + "/q.png " + options + " " + (format.empty() ? "" : format + ":") + dir_ + "/" + name);
    return dir_ + "/" + name;
  }
  // ImageMagick's reading of a file: "format width height" and a pixel's hex colour.
  std::string Identify(const std::string& path) { return Shell("identify -format '%m %w %h' " + path); }
  std::string Pixel(const std::string& path, int x, int y) {
    std::string line = Shell("convert " + path + " -crop 1x1+" + std::to_string(x) + "+" + std::to_string(y) +
                           " -depth 8 txt:- | tail -1");
    size_t hash = line.find('#');
    return hash == std::string::npos ? line : line.substr(hash, 7);
  }

  UiSession session_;
  PrivateStores stores_;
  std::string dir_;
};

TEST_F(Pictures, FilesLoadWithTheirSizeAndPixels) {
  struct Case {
    const char* name;
    const char* options;
    const char* format;
    int tolerance;  // JPEG is lossy
    SHORT type;
  } cases[] = {
      {"q24.bmp", "-type truecolor", "BMP3", 0, PICTYPE_BITMAP},
      {"q8.bmp", "-type palette", "BMP3", 0, PICTYPE_BITMAP},
      {"q4.bmp", "-colors 4 -compress RLE", "BMP3", 0, PICTYPE_BITMAP},
      {"q32.bmp", "-type truecoloralpha", "BMP", 0, PICTYPE_BITMAP},
      {"q.jpg", "-quality 100", "", 12, PICTYPE_BITMAP},
      {"q.gif", "", "", 0, PICTYPE_BITMAP},
      {"qi.gif", "-interlace GIF", "", 0, PICTYPE_BITMAP},
      {"q.ico", "", "", 0, PICTYPE_ICON},
  };
  for (const Case& c : cases) {
    std::string name = c.name;
    std::string path = Make(name, c.options, c.format);
    IPicture* picture = nullptr;
    ASSERT_EQ(Load(ReadFile(path), &picture), S_OK) << name;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    EXPECT_EQ(w, 1058) << name;  // 40 pixels at 96 dpi
    EXPECT_EQ(h, 794) << name;   // 30 pixels
    EXPECT_EQ(MulDiv(w, 96, 2540), 40) << name;
    EXPECT_EQ(MulDiv(h, 96, 2540), 30) << name;
    SHORT type = 0;
    picture->get_Type(&type);
    EXPECT_EQ(type, c.type) << name;
    Drawn drawn(picture, 40, 30, RGB(0, 0, 0));
    const std::pair<POINT, COLORREF> expected[] = {{{5, 5}, RGB(255, 0, 0)},
                                                   {{30, 5}, RGB(0, 255, 0)},
                                                   {{5, 25}, RGB(0, 0, 255)},
                                                   {{30, 25}, RGB(255, 255, 255)}};
    for (const auto& [at, colour] : expected) {
      COLORREF got = drawn.At(at.x, at.y);
      EXPECT_NEAR(GetRValue(got), GetRValue(colour), c.tolerance) << name << " at " << at.x << "," << at.y;
      EXPECT_NEAR(GetGValue(got), GetGValue(colour), c.tolerance) << name << " at " << at.x << "," << at.y;
      EXPECT_NEAR(GetBValue(got), GetBValue(colour), c.tolerance) << name << " at " << at.x << "," << at.y;
    }
    picture->Release();
  }
}

TEST_F(Pictures, TransparentPartsLeaveTheBackground) {
  Shell("convert -size 10x10 xc:none -fill '#FF0000' -draw 'rectangle 0,0 4,9' " + dir_ + "/t.gif");
  Shell("convert -size 16x16 xc:none -fill '#00FF00' -draw 'rectangle 0,0 7,15' " + dir_ + "/t.ico");
  // An icon file whose one image is a PNG, as newer icon files store their large images.
  Shell("convert -size 16x16 xc:none -fill '#00FF00' -draw 'rectangle 0,0 7,15' " + dir_ + "/p.png");
  std::vector<uint8_t> pngBytes = ReadFile(dir_ + "/p.png");
  std::string png(pngBytes.begin(), pngBytes.end());
  std::string ico("\0\0\1\0\1\0", 6);
  ico += std::string("\x10\x10\0\0\1\0\x20\0", 8);
  for (uint32_t v : {static_cast<uint32_t>(png.size()), 22u})
    for (int b = 0; b < 4; ++b) ico += static_cast<char>((v >> (8 * b)) & 0xFF);
  std::ofstream(dir_ + "/p.ico", std::ios::binary) << ico + png;
  for (const char* name : {"t.gif", "t.ico", "p.ico"}) {
    IPicture* picture = nullptr;
    ASSERT_EQ(Load(ReadFile(dir_ + "/" + name), &picture), S_OK) << name;
    DWORD attributes = 0;
    picture->get_Attributes(&attributes);
    EXPECT_EQ(attributes & PICTURE_TRANSPARENT, static_cast<DWORD>(PICTURE_TRANSPARENT)) << name;
    Drawn drawn(picture, name[2] == 'g' ? 10 : 16, name[2] == 'g' ? 10 : 16, RGB(0, 0, 255));
    EXPECT_NE(drawn.At(1, 1), RGB(0, 0, 255)) << name;
    EXPECT_EQ(drawn.At(9, 5), RGB(0, 0, 255)) << name;
    picture->Release();
  }
}

TEST_F(Pictures, SavedPicturesAreFilesImageMagickReads) {
  for (const char* name : {"q.jpg", "q.ico"}) {
    IPicture* picture = nullptr;
    ASSERT_EQ(Load(ReadFile(Make(name, "-quality 100")), &picture), S_OK) << name;
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    LONG size = 0;
    ASSERT_EQ(picture->SaveAsFile(stream, TRUE, &size), S_OK);
    HGLOBAL block = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(stream, &block), S_OK);
    std::string saved = dir_ + "/saved-" + name + (name[2] == 'j' ? ".bmp" : ".ico");
    {
      std::ofstream out(saved, std::ios::binary);
      out.write(static_cast<const char*>(GlobalLock(block)), size);
      GlobalUnlock(block);
    }
    stream->Release();
    picture->Release();
    EXPECT_EQ(Identify(saved), name[2] == 'j' ? "BMP3 40 30" : "ICO 40 30") << name;
    EXPECT_EQ(Pixel(saved, 30, 25), "#FFFFFF") << name;
    if (name[2] == 'i') {
      EXPECT_EQ(Pixel(saved, 5, 25), "#0000FF");
    }
  }
}

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 2; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A 24-bit BMP file of one colour, without its rows when `rows` is false (what a header asks for).
std::vector<uint8_t> Bmp(uint32_t width, uint32_t height, COLORREF colour = 0, bool rows = true) {
  const size_t stride = (width * 3 + 3) / 4 * 4;
  std::vector<uint8_t> b{'B', 'M'};
  Put32(b, static_cast<uint32_t>(54 + stride * height));
  Put32(b, 0);
  Put32(b, 54);
  for (uint32_t v : {40u, width, height}) Put32(b, v);
  Put16(b, 1);
  Put16(b, 24);
  for (int i = 0; i < 6; ++i) Put32(b, 0);
  if (rows) {
    std::vector<uint8_t> row(stride, 0);
    for (uint32_t x = 0; x < width; ++x) {
      row[3 * x] = GetBValue(colour);
      row[3 * x + 1] = GetGValue(colour);
      row[3 * x + 2] = GetRValue(colour);
    }
    for (uint32_t y = 0; y < height; ++y) b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

// A GIF of a screen and one image of the given sizes, the image's data one clear code.
std::vector<uint8_t> Gif(uint16_t screenWidth, uint16_t screenHeight, uint16_t width, uint16_t height) {
  std::vector<uint8_t> b{'G', 'I', 'F', '8', '9', 'a'};
  Put16(b, screenWidth);
  Put16(b, screenHeight);
  b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x2C});  // two colours
  for (uint16_t v : {uint16_t{0}, uint16_t{0}, width, height}) Put16(b, v);
  b.insert(b.end(), {0, 2, 1, 0x04, 0, 0x3B});
  return b;
}

// The header of a baseline JPEG of one component (up to its scan), of the given size.
std::vector<uint8_t> JpegHeader(uint16_t width, uint16_t height) {
  std::vector<uint8_t> b{0xFF, 0xD8, 0xFF, 0xDB, 0, 0x43, 0};
  b.insert(b.end(), 64, 1);
  b.insert(b.end(), {0xFF, 0xC0, 0, 11, 8, static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height),
                     static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(width), 1, 1, 0x11, 0});
  for (uint8_t table : {0x00, 0x10}) {
    b.insert(b.end(), {0xFF, 0xC4, 0, 20, table, 1});
    b.insert(b.end(), 16, 0);  // one code of one bit (15 counts of 0, then the symbol 0)
  }
  b.insert(b.end(), {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 0x3F, 0, 0, 0, 0, 0, 0xFF, 0xD9});
  return b;
}

TEST(PictureLimits, HugeStatedSizesAreRefusedBeforeAnythingIsAllocated) {
  UiSession session;
  std::vector<uint8_t> core{'B', 'M'};
  Put32(core, 27);
  Put32(core, 0);
  Put32(core, 26);
  Put32(core, 12);
  for (uint16_t v : {uint16_t{32768}, uint16_t{32768}, uint16_t{1}, uint16_t{24}}) Put16(core, v);
  core.push_back(0);
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"GIF screen of 65535 a side", Gif(65535, 65535, 1, 1)},
      {"GIF image of 65535 a side", Gif(2, 2, 65535, 65535)},
      {"GIF screen within the sides, beyond the pixels", Gif(32768, 32768, 1, 1)},
      {"JPEG of 32768 a side", JpegHeader(32768, 32768)},
      {"JPEG beyond the pixels", JpegHeader(9000, 9000)},
      {"core DIB of 32768 a side", core},
      {"DIB beyond the pixels", Bmp(8193, 8192, 0, false)},
  };
  for (const auto& c : cases) {
    IPicture* picture = nullptr;
    EXPECT_EQ(Load(c.bytes, &picture), CTL_E_INVALIDPICTURE) << c.what;
    EXPECT_EQ(picture, nullptr) << c.what;
  }
  // The small versions of the same files do load.
  for (const auto& bytes : {Gif(2, 2, 2, 2), JpegHeader(8, 8), Bmp(2, 2)}) {
    IPicture* picture = nullptr;
    EXPECT_EQ(Load(bytes, &picture), S_OK);
    if (picture != nullptr) picture->Release();
  }
}

TEST(PictureLimits, PicturesWiderOrHigherThanNineThousandPixelsDrawWhole) {
  UiSession session;
  for (const auto& [width, height] : {std::pair{9010, 2}, std::pair{2, 10750}}) {
    IPicture* picture = nullptr;
    ASSERT_EQ(Load(Bmp(static_cast<uint32_t>(width), static_cast<uint32_t>(height), RGB(255, 0, 0)), &picture), S_OK);
    Drawn drawn(picture, width, height, RGB(0, 0, 255));
    EXPECT_EQ(drawn.At(0, 0), RGB(255, 0, 0)) << width << " x " << height;
    EXPECT_EQ(drawn.At(width - 1, height - 1), RGB(255, 0, 0)) << width << " x " << height;
    picture->Release();
  }
}

TEST_F(Pictures, MetafilesDamagedFilesAndOtherInterfacesFail) {
  IPicture* picture = nullptr;
  std::vector<uint8_t> emf{1, 0, 0, 0, 0x6C, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Load(emf, &picture), CTL_E_INVALIDPICTURE);
  EXPECT_EQ(picture, nullptr);
  std::vector<uint8_t> wmf{0xD7, 0xCD, 0xC6, 0x9A, 0, 0};
  EXPECT_EQ(Load(wmf, &picture), CTL_E_INVALIDPICTURE);
  const struct {
    const char* name;
    const char* options;
    const char* format;
    bool halfShown;  // cut in half, the picture still has rows or a scan to show
  } files[] = {
      {"q.gif", "", "", false},
      {"q.jpg", "", "", false},
      {"qbig.jpg", "-resize 400x300", "", true},
      {"q.bmp", "", "", true},
      {"q.ico", "", "", false},
      {"q4.bmp", "-colors 4 -compress RLE", "BMP3", false},
  };
  for (const auto& f : files) {
    const char* name = f.name;
    std::vector<uint8_t> bytes = ReadFile(Make(name, f.options, f.format));
    ASSERT_GT(bytes.size(), 60u) << name;
    picture = nullptr;
    ASSERT_EQ(Load(bytes, &picture), S_OK) << name;
    EXPECT_FALSE(brambolt::ole::IsPictureIncomplete(picture)) << name;
    picture->Release();
    // Cut short at several places: each is refused or shows what it has and is incomplete, and
    // nothing is read past the end (AddressSanitizer watches).
    // A bitmap lacks its last pixels (or its run-length end) without the last two bytes.
    std::vector<size_t> keeps{6, 30, bytes.size() / 2};
    if (std::string(name).find(".bmp") != std::string::npos) keeps.push_back(bytes.size() - 2);
    for (size_t keep : keeps) {
      std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(keep));
      picture = nullptr;
      HRESULT hr = Load(cut, &picture);
      EXPECT_TRUE(hr == S_OK || hr == CTL_E_INVALIDPICTURE) << name << " cut at " << keep;
      if (picture) {
        EXPECT_TRUE(brambolt::ole::IsPictureIncomplete(picture)) << name << " cut at " << keep;
        picture->Release();
      } else {
        // The rows of a bitmap and the scan of a JPEG cut in half are shown, not refused.
        EXPECT_TRUE(keep != bytes.size() / 2 || !f.halfShown) << name << " cut in half";
      }
    }
  }
  picture = nullptr;
  EXPECT_EQ(Load(ReadFile(Make("q.gif")), &picture, IID_IDataObject), E_NOINTERFACE);
  EXPECT_EQ(picture, nullptr);
}

// Where the markers of a JPEG file start (0xFF and the marker's code), in file order.
std::vector<size_t> JpegMarkers(const std::vector<uint8_t>& b, uint8_t code) {
  std::vector<size_t> at;
  for (size_t i = 0; i + 1 < b.size(); ++i)
    if (b[i] == 0xFF && b[i + 1] == code) at.push_back(i);
  return at;
}

// A file cut short never reads as a whole picture: it is refused, or shows what it holds and is
// said to be incomplete. Headers that do not hold what they state are refused.
TEST_F(Pictures, CutFilesAreIncompleteOrRefused) {
  // Two rows of a 24-bit BMP behind a gap of 32 bytes, the file cut in the gap, where it still
  // has as many bytes as the rows take.
  std::vector<uint8_t> gap = Bmp(2, 2, RGB(0, 255, 0));
  gap[10] = 54 + 32;
  gap.insert(gap.begin() + 54, 32, 0xEE);
  const std::vector<uint8_t> gapCut(gap.begin(), gap.begin() + 54 + 16);
  // A 41-byte header stating BI_BITFIELDS: its colour masks would lie beyond it.
  std::vector<uint8_t> fields{'B', 'M'};
  Put32(fields, 59);
  Put32(fields, 0);
  Put32(fields, 55);
  for (uint32_t v : {41u, 1u, 1u}) Put32(fields, v);
  Put16(fields, 1);
  Put16(fields, 32);
  Put32(fields, BI_BITFIELDS);
  fields.resize(59, 0x77);
  // A progressive JPEG cut after its first scan; a JPEG of one row cut inside that row.
  const std::vector<uint8_t> progressive = ReadFile(Make("p.jpg", "-resize 400x300 -interlace Plane"));
  const std::vector<size_t> scans = JpegMarkers(progressive, 0xDA);
  ASSERT_GE(scans.size(), 2u);
  const std::vector<uint8_t> oneRow = ReadFile(Make("r.jpg", "-resize 40x1!"));
  const std::vector<size_t> rowScan = JpegMarkers(oneRow, 0xDA);
  ASSERT_EQ(rowScan.size(), 1u);
  const size_t rowData = rowScan[0] + 2 + (oneRow[rowScan[0] + 2] << 8 | oneRow[rowScan[0] + 3]);
  ASSERT_LT(rowData + 8, oneRow.size());
  const struct {
    const char* what;
    std::vector<uint8_t> whole, cut;
    bool shown;  // the cut file loads (and is incomplete) rather than being refused
  } cases[] = {
      {"BMP cut before its rows", gap, gapCut, true},
      {"41-byte BMP header with bit fields", {}, fields, false},
      {"progressive JPEG after one scan", progressive, {progressive.begin(), progressive.begin() + scans[1]}, true},
      {"JPEG of one row cut in it", oneRow, {oneRow.begin(), oneRow.begin() + (rowData + oneRow.size() - 2) / 2}, true},
  };
  for (const auto& c : cases) {
    IPicture* picture = nullptr;
    if (!c.whole.empty()) {
      ASSERT_EQ(Load(c.whole, &picture), S_OK) << c.what;
      EXPECT_FALSE(brambolt::ole::IsPictureIncomplete(picture)) << c.what;
      picture->Release();
      picture = nullptr;
    }
    const HRESULT hr = Load(c.cut, &picture);
    EXPECT_EQ(hr, c.shown ? S_OK : CTL_E_INVALIDPICTURE) << c.what;
    if (picture == nullptr) continue;
    EXPECT_TRUE(brambolt::ole::IsPictureIncomplete(picture)) << c.what;
    picture->Release();
  }
  // The first scan of the progressive file is shown whole: its white quadrant is there.
  IPicture* picture = nullptr;
  ASSERT_EQ(Load(std::vector<uint8_t>(progressive.begin(), progressive.begin() + scans[1]), &picture), S_OK);
  {
    Drawn drawn(picture, 400, 300, RGB(0, 0, 0));
    const COLORREF white = drawn.At(350, 260);
    EXPECT_GT(GetRValue(white) + GetGValue(white) + GetBValue(white), 600) << std::hex << white;
  }
  picture->Release();
}

}  // namespace

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

TEST_F(Pictures, MetafilesDamagedFilesAndOtherInterfacesFail) {
  IPicture* picture = nullptr;
  std::vector<uint8_t> emf{1, 0, 0, 0, 0x6C, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Load(emf, &picture), CTL_E_INVALIDPICTURE);
  EXPECT_EQ(picture, nullptr);
  std::vector<uint8_t> wmf{0xD7, 0xCD, 0xC6, 0x9A, 0, 0};
  EXPECT_EQ(Load(wmf, &picture), CTL_E_INVALIDPICTURE);
  for (const char* name : {"q.gif", "q.jpg", "q.bmp", "q.ico"}) {
    std::vector<uint8_t> bytes = ReadFile(Make(name));
    ASSERT_GT(bytes.size(), 60u) << name;
    // Cut short at several places: each is refused or shows what it has, and nothing is read
    // past the end (AddressSanitizer watches).
    for (size_t keep : {size_t{6}, size_t{30}, bytes.size() / 2}) {
      std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(keep));
      picture = nullptr;
      HRESULT hr = Load(cut, &picture);
      EXPECT_TRUE(hr == S_OK || hr == CTL_E_INVALIDPICTURE) << name << " cut at " << keep;
      if (picture) picture->Release();
    }
  }
  picture = nullptr;
  EXPECT_EQ(Load(ReadFile(Make("q.gif")), &picture, IID_IDataObject), E_NOINTERFACE);
  EXPECT_EQ(picture, nullptr);
}

}  // namespace

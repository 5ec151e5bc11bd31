// Images from resources and files: bitmaps as device bitmaps or DIB sections, greys mapped to
// the system colours, icons of the size asked for, cursors with their hot spot, and image
// lists made from bitmap strips.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AfxTestResources.h"
#include "afx/afx.h"
#include "res/ResourceTemplates.h"
#include "platform/gdi/GdiTestUtil.h"

using gditest::MemoryCanvas;

namespace {

// Row 0 of the test bitmap: black, grey, light grey, white, then red.
COLORREF PixelOf(HBITMAP bitmap, int x) {
  MemoryCanvas canvas(16, 8);
  HDC source = ::CreateCompatibleDC(canvas.dc());
  HGDIOBJ old = ::SelectObject(source, bitmap);
  ::BitBlt(canvas.dc(), 0, 0, 16, 8, source, 0, 0, SRCCOPY);
  ::SelectObject(source, old);
  ::DeleteDC(source);
  return canvas.at(x, 0);
}

// Changes the 3-D and button colours for one test.
class ChangedSysColors {
 public:
  ChangedSysColors() {
    const INT indices[] = {COLOR_BTNTEXT, COLOR_3DSHADOW, COLOR_3DFACE, COLOR_3DHIGHLIGHT};
    const COLORREF colors[] = {RGB(1, 2, 3), RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)};
    ::SetSysColors(4, indices, colors);
  }
  ~ChangedSysColors() { brambolt::ResetSysColors(); }
};

TEST(ResourceBitmaps, LoadBitmapKeepsTheColours) {
  HBITMAP bitmap = ::LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(IDB_GREYS));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  ::GetObject(bitmap, sizeof(info), &info);
  EXPECT_EQ(info.bmWidth, 16);
  EXPECT_EQ(info.bmHeight, 8);
  const COLORREF expected[] = {RGB(0, 0, 0), RGB(128, 128, 128), RGB(192, 192, 192), RGB(255, 255, 255),
                               RGB(255, 0, 0)};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelOf(bitmap, x), expected[x]) << x;
  ::DeleteObject(bitmap);
  EXPECT_EQ(::LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(4242)), nullptr);
}

TEST(ResourceBitmaps, LoadImageMapsGreysAndMakesDibSections) {
  ChangedSysColors colors;
  auto bitmap = static_cast<HBITMAP>(::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(IDB_GREYS), IMAGE_BITMAP, 0,
                                                 0, LR_LOADMAP3DCOLORS | LR_CREATEDIBSECTION));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(brambolt::GetBitmapDepth(bitmap), 8) << "a DIB section keeps its depth";
  EXPECT_EQ(PixelOf(bitmap, 0), RGB(0, 0, 0)) << "black stays";
  EXPECT_EQ(PixelOf(bitmap, 1), RGB(10, 20, 30));
  EXPECT_EQ(PixelOf(bitmap, 2), RGB(40, 50, 60));
  EXPECT_EQ(PixelOf(bitmap, 3), RGB(255, 255, 255));
  ::DeleteObject(bitmap);
}

TEST(ResourceBitmaps, SysColorBitmapsTakeTheButtonColours) {
  ChangedSysColors colors;
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.LoadMappedBitmap(IDB_GREYS));
  const COLORREF expected[] = {RGB(1, 2, 3), RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90), RGB(255, 0, 0)};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelOf(bitmap, x), expected[x]) << x;
}

TEST(ResourceBitmaps, BitmapFilesLoadWithTheirFileHeader) {
  const std::string path = std::string(BRAMBOLT_TEST_DATA_DIR) + "/afx/greys.bmp";
  auto bitmap = static_cast<HBITMAP>(::LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(PixelOf(bitmap, 4), RGB(255, 0, 0));
  ::DeleteObject(bitmap);
  EXPECT_EQ(::LoadImage(nullptr, (path + ".missing").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put32(std::string& s, size_t at, unsigned v) {
  for (int i = 0; i < 4; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

TEST(ResourceBitmaps, PixelsReachingPastTheFileAreRefused) {
  const std::string whole = ReadAll(std::string(BRAMBOLT_TEST_DATA_DIR) + "/afx/greys.bmp");
  ASSERT_GT(whole.size(), 100u);
  const std::string path = (std::filesystem::temp_directory_path() / "brambolt-cut.bmp").string();
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string taller = whole, lowest = whole;
  Put32(taller, 14 + 8, 4000);
  Put32(lowest, 14 + 8, 0x80000000u);
  // Run-length compressed, with the file ending right after the colour table: no pixel bytes.
  std::string noRuns = whole.substr(0, 0x4A);
  Put32(noRuns, 14 + 16, BI_RLE8);
  const Case cases[] = {{"one byte short", whole.substr(0, whole.size() - 1)},
                        {"half the rows", whole.substr(0, whole.size() - 64)},
                        {"height beyond the bytes", taller},
                        {"lowest height", lowest},
                        {"run-length data of no bytes", noRuns}};
  for (const Case& c : cases) {
    std::ofstream(path, std::ios::binary) << c.bytes;
    for (UINT flags : {UINT{LR_LOADFROMFILE}, UINT{LR_LOADFROMFILE | LR_CREATEDIBSECTION}})
      EXPECT_EQ(::LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, flags), nullptr) << c.what;
  }
  std::filesystem::remove(path);
}

TEST(ResourceIcons, ImagesAndDirectoriesAreReadWithinTheirSize) {
  // A 32 x 32 icon image at 4 bits: header, 16 colours, colour rows, mask rows.
  std::string image(40 + 64 + 32 * 16 + 32 * 4, '\0');
  Put32(image, 0, 40);
  Put32(image, 4, 32);
  Put32(image, 8, 64);
  image[12] = 1;
  image[14] = 4;
  auto bytes = [](std::string& s) { return reinterpret_cast<PBYTE>(s.data()); };
  auto size = [](const std::string& s) { return static_cast<DWORD>(s.size()); };
  HICON icon = ::CreateIconFromResourceEx(bytes(image), size(image), TRUE, 0x00030000, 0, 0, 0);
  EXPECT_NE(icon, nullptr);
  ::DestroyIcon(icon);
  EXPECT_EQ(::CreateIconFromResourceEx(bytes(image), size(image) - 1, TRUE, 0x00030000, 0, 0, 0), nullptr);
  std::string huge = image;
  Put32(huge, 4, 0x7FFFFFF0u);
  EXPECT_EQ(::CreateIconFromResourceEx(bytes(huge), size(huge), TRUE, 0x00030000, 0, 0, 0), nullptr);
  std::string lowest = image;
  Put32(lowest, 8, 0x80000000u);
  EXPECT_EQ(::CreateIconFromResourceEx(bytes(lowest), size(lowest), TRUE, 0x00030000, 0, 0, 0), nullptr);

  // A directory that promises 200 entries but holds two: only those two are read.
  const BYTE group[] = {0, 0, 1, 0, 200, 0,                          // reserved, icon, count
                        16, 16, 0, 0, 1, 0, 4, 0, 0, 1, 0, 0, 7, 0,  // 16 x 16 -> id 7
                        32, 32, 0, 0, 1, 0, 4, 0, 0, 2, 0, 0, 9, 0};  // 32 x 32 -> id 9
  const std::vector<BYTE> exact(std::begin(group), std::end(group));
  EXPECT_EQ(brambolt::BestIconId(exact.data(), exact.size(), true, 16, 16), 7);
  EXPECT_EQ(brambolt::BestIconId(exact.data(), exact.size(), true, 0, 0), 9);
  EXPECT_EQ(brambolt::BestIconId(exact.data(), 5, true, 0, 0), 0);
}

TEST(ResourceIcons, TheSizeAskedForIsChosen) {
  HICON big = ::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_TESTICON));
  ASSERT_NE(big, nullptr);
  SIZE size{};
  ASSERT_TRUE(brambolt::GetIconSize(big, &size));
  EXPECT_EQ(size.cx, ::GetSystemMetrics(SM_CXICON));
  auto small = static_cast<HICON>(
      ::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_TESTICON), IMAGE_ICON, 16, 16, 0));
  ASSERT_NE(small, nullptr);
  ASSERT_TRUE(brambolt::GetIconSize(small, &size));
  EXPECT_EQ(size.cx, 16);
  EXPECT_EQ(size.cy, 16);
  ::DestroyIcon(big);
  ::DestroyIcon(small);
  EXPECT_NE(::LoadIcon(nullptr, IDI_APPLICATION), nullptr) << "the standard icons";
}

TEST(ResourceCursors, LoadCursorReadsTheHotSpot) {
  HCURSOR cursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_TESTCURSOR));
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 7u);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  ::DestroyCursor(cursor);
}

TEST(ResourceImageLists, StripsSplitIntoImagesWithTheirMask) {
  CImageList list;
  ASSERT_TRUE(list.Create(IDB_GREYS, 4, 0, RGB(255, 0, 0)));
  EXPECT_EQ(list.GetImageCount(), 4);
  int cx = 0, cy = 0;
  list.GetIconSize(&cx, &cy);
  EXPECT_EQ(cx, 4);
  EXPECT_EQ(cy, 8);
  MemoryCanvas canvas(8, 8, RGB(0, 255, 0));
  CDC* dc = CDC::FromHandle(canvas.dc());
  list.Draw(dc, 1, CPoint(0, 0), ILD_TRANSPARENT);
  EXPECT_EQ(canvas.at(0, 0), RGB(0, 255, 0)) << "red is the mask colour: transparent";
  list.Draw(dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
  EXPECT_EQ(canvas.at(1, 0), RGB(128, 128, 128));
  AfxLockTempMaps();
  AfxUnlockTempMaps();
}

}  // namespace

// Images from resources and files: bitmaps as device bitmaps or DIB sections, greys mapped to
// the system colours, icons of the size asked for, cursors with their hot spot, and image
// lists made from bitmap strips.
#include <gtest/gtest.h>

#include <string>

#include "AfxTestResources.h"
#include "afx/afx.h"
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

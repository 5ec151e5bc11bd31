// Icons, cursors and image lists: masks, transparency, overlays, blending, merging, dragging.
#include <gtest/gtest.h>

#include "GdiTestUtil.h"

using gditest::MemoryCanvas;

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A 4x4 icon: the left half opaque red, the right half transparent.
HICON RedHalfIcon() {
  HBITMAP mask = CreateBitmap(4, 4, 1, 1, nullptr);
  HBITMAP color = brambolt::CreateBitmapFromSurface(brambolt::Surface(4, 4, 0));
  auto m = brambolt::GetBitmapSurface(mask);
  auto c = brambolt::GetBitmapSurface(color);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      m->SetPixel(x, y, x < 2 ? 0 : 0xFFFFFF);
      c->SetPixel(x, y, x < 2 ? 0xFF0000 : 0);
    }
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(color);
  return icon;
}

TEST(Icons, DrawIconExHonoursTheMask) {
  HICON icon = RedHalfIcon();
  MemoryCanvas canvas(8, 8, RGB(0, 0, 255));
  ASSERT_TRUE(DrawIconEx(canvas.dc(), 2, 2, icon, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(canvas.at(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(3, 5), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(4, 2), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(6, 6), RGB(0, 0, 255));
  // Stretched to 8x8 with a flicker-free brush background.
  MemoryCanvas big(8, 8);
  DrawIconEx(big.dc(), 0, 0, icon, 8, 8, 0, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), DI_NORMAL);
  EXPECT_EQ(big.at(3, 7), RGB(255, 0, 0));
  EXPECT_EQ(big.at(4, 0), RGB(0, 0, 0));
  EXPECT_TRUE(DestroyIcon(icon));
}

TEST(Icons, IconInfoReturnsCopiesTheCallerDeletes) {
  HICON icon = RedHalfIcon();
  size_t before = brambolt::GdiObjectCount();
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  EXPECT_TRUE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 2u);
  BITMAP bm{};
  GetObject(info.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(brambolt::GdiObjectCount(), before + 2);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  HICON copy = CopyIcon(icon);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  SIZE size{};
  EXPECT_TRUE(brambolt::GetIconSize(copy, &size));
  EXPECT_EQ(size.cx, 4);
  HICON scaled = static_cast<HICON>(CopyImage(copy, IMAGE_ICON, 16, 16, LR_COPYDELETEORG));
  EXPECT_TRUE(brambolt::GetIconSize(scaled, &size));
  EXPECT_EQ(size.cx, 16);
  EXPECT_FALSE(brambolt::GetIconSize(copy, &size));
  DestroyIcon(scaled);
  EXPECT_EQ(brambolt::GdiObjectCount(), before - 1);
}

TEST(Icons, StandardCursorsAndIconsExist) {
  for (LPCSTR id : {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_UPARROW, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,
                    IDC_SIZENS, IDC_SIZEALL, IDC_NO, IDC_HAND, IDC_APPSTARTING, IDC_HELP}) {
    HCURSOR c = brambolt::GetStandardCursor(id);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(brambolt::GetStandardCursor(id), c);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(c, &info));
    EXPECT_FALSE(info.fIcon);
    MemoryCanvas canvas(32, 32, RGB(0, 128, 0));
    DrawIconEx(canvas.dc(), 0, 0, c, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_GT(32 * 32 - canvas.Count(RGB(0, 128, 0)), 10);
    EXPECT_GT(canvas.Count(RGB(0, 128, 0)), 100);
    EXPECT_TRUE(DestroyCursor(c));  // shared: stays usable
    EXPECT_TRUE(brambolt::GetIconSize(c, nullptr) == false);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
  }
  ICONINFO arrow{};
  GetIconInfo(brambolt::GetStandardCursor(IDC_ARROW), &arrow);
  EXPECT_EQ(arrow.xHotspot, 0u);
  DeleteObject(arrow.hbmMask);
  DeleteObject(arrow.hbmColor);
  for (LPCSTR id : {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK, IDI_WINLOGO})
    EXPECT_NE(brambolt::GetStandardIcon(id), nullptr);
  EXPECT_EQ(brambolt::GetStandardCursor(MAKEINTRESOURCE(1)), nullptr);
}

// A strip of two 4x4 images on magenta: image 0 has a red square, image 1 a green one.
HBITMAP TwoImages() {
  brambolt::Surface s(8, 4, brambolt::PixelFromColor(kMagenta));
  s.FillRect(1, 1, 3, 3, 0xFF0000);
  s.FillRect(5, 1, 7, 3, 0x00FF00);
  return brambolt::CreateBitmapFromSurface(s);
}

TEST(ImageList, AddMaskedMakesTheKeyColourTransparent) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_MASK | ILC_COLOR32, 2, 4);
  HBITMAP strip = TwoImages();
  EXPECT_EQ(ImageList_AddMasked(list, strip, kMagenta), 0);
  EXPECT_EQ(ImageList_GetImageCount(list), 2);
  MemoryCanvas canvas(8, 8, RGB(0, 0, 255));
  ImageList_Draw(list, 1, canvas.dc(), 2, 2, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.at(3, 3), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(2, 2), RGB(0, 0, 255));
  EXPECT_EQ(canvas.Count(kMagenta), 0);
  IMAGEINFO info{};
  ASSERT_TRUE(ImageList_GetImageInfo(list, 1, &info));
  EXPECT_EQ(info.rcImage.left, 4);
  EXPECT_EQ(info.rcImage.right, 8);
  auto mask = brambolt::GetBitmapSurface(info.hbmMask);
  EXPECT_EQ(mask->GetPixel(4, 0), 0xFFFFFFu);
  EXPECT_EQ(mask->GetPixel(5, 1), 0u);
  // With a background colour and ILD_NORMAL, masked pixels take that colour.
  ImageList_SetBkColor(list, RGB(1, 2, 3));
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(canvas.at(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(canvas.at(1, 1), RGB(255, 0, 0));
  ImageList_Draw(list, 0, canvas.dc(), 4, 4, ILD_MASK);
  EXPECT_EQ(canvas.at(4, 4), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(5, 5), RGB(0, 0, 0));
  DeleteObject(strip);
  ImageList_Destroy(list);
}

TEST(ImageList, AddWithMaskGrowsRemovesAndReplaces) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_MASK, 1, 1);
  HBITMAP strip = TwoImages();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ImageList_Add(list, strip, nullptr), 2 * i);
  EXPECT_EQ(ImageList_GetImageCount(list), 10);
  EXPECT_TRUE(ImageList_Remove(list, 0));
  EXPECT_EQ(ImageList_GetImageCount(list), 9);
  MemoryCanvas canvas(4, 4);
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(canvas.at(1, 1), RGB(0, 255, 0));  // the former image 1
  EXPECT_FALSE(ImageList_Remove(list, 9));
  HICON icon = RedHalfIcon();
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, icon), 9);
  MemoryCanvas icons(4, 4, RGB(0, 0, 255));
  ImageList_Draw(list, 9, icons.dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(icons.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(icons.at(3, 0), RGB(0, 0, 255));
  HICON back = ImageList_GetIcon(list, 9, 0);
  MemoryCanvas again(4, 4, RGB(0, 0, 255));
  DrawIconEx(again.dc(), 0, 0, back, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(again.at(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(again.at(2, 1), RGB(0, 0, 255));
  EXPECT_TRUE(ImageList_Remove(list, -1));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  DestroyIcon(icon);
  DestroyIcon(back);
  DeleteObject(strip);
  ImageList_Destroy(list);
}

TEST(ImageList, OverlayAndSelectionBlend) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_MASK, 2, 2);
  HBITMAP strip = TwoImages();
  ImageList_AddMasked(list, strip, kMagenta);
  ASSERT_TRUE(ImageList_SetOverlayImage(list, 1, 1));
  MemoryCanvas canvas(4, 4, RGB(0, 0, 0));
  // Image 0 with overlay 1 (image 1): both squares cover (1,1)-(3,3); the overlay is on top.
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1));
  EXPECT_EQ(canvas.at(1, 1), RGB(0, 255, 0));
  MemoryCanvas selected(4, 4, RGB(0, 0, 0));
  ImageList_Draw(list, 0, selected.dc(), 0, 0, ILD_TRANSPARENT | ILD_SELECTED);
  COLORREF c = selected.at(1, 1);
  EXPECT_LT(GetRValue(c), 255);
  EXPECT_GT(GetRValue(c), 64);
  EXPECT_GT(GetBValue(c), 0);  // mixed with the navy highlight
  EXPECT_EQ(selected.at(0, 0), RGB(0, 0, 0));
  DeleteObject(strip);
  ImageList_Destroy(list);
}

TEST(ImageList, MergePlacesTheSecondImageAtTheOffset) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_MASK, 2, 2);
  HBITMAP strip = TwoImages();
  ImageList_AddMasked(list, strip, kMagenta);
  HIMAGELIST merged = ImageList_Merge(list, 0, list, 1, 4 + 6, 0);
  ASSERT_NE(merged, nullptr);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(merged, &cx, &cy);
  EXPECT_EQ(cx, 14);
  EXPECT_EQ(cy, 4);
  MemoryCanvas canvas(14, 4, RGB(0, 0, 0));
  ImageList_Draw(merged, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.at(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(11, 1), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(6, 1), RGB(0, 0, 0));
  ImageList_Destroy(merged);
  DeleteObject(strip);
  ImageList_Destroy(list);
}

class RecordingSink : public brambolt::DragImageSink {
 public:
  void SetImage(std::shared_ptr<const brambolt::Surface> image, std::shared_ptr<const brambolt::Surface>, POINT hot) override {
    width = image->Width();
    hotspot = hot;
  }
  void Move(HWND, POINT p, bool visible) override {
    last = p;
    shown = visible;
    ++moves;
  }
  void End() override { ended = true; }
  int width = 0, moves = 0;
  POINT hotspot{}, last{};
  bool shown = false, ended = false;
};

TEST(ImageList, DragImageGoesToTheSink) {
  RecordingSink sink;
  brambolt::SetDragImageSink(&sink);
  HIMAGELIST list = ImageList_Create(4, 4, ILC_MASK, 2, 2);
  HBITMAP strip = TwoImages();
  ImageList_AddMasked(list, strip, kMagenta);
  ASSERT_TRUE(ImageList_BeginDrag(list, 1, 2, 3));
  EXPECT_EQ(sink.width, 4);
  EXPECT_EQ(sink.hotspot.y, 3);
  ImageList_Destroy(list);  // the drag keeps its own copy
  EXPECT_TRUE(ImageList_DragEnter(nullptr, 10, 20));
  EXPECT_TRUE(sink.shown);
  EXPECT_TRUE(ImageList_DragMove(30, 40));
  EXPECT_EQ(sink.last.x, 30);
  EXPECT_TRUE(ImageList_DragShowNolock(FALSE));
  EXPECT_FALSE(sink.shown);
  POINT pos{};
  EXPECT_NE(ImageList_GetDragImage(&pos, nullptr), nullptr);
  EXPECT_EQ(pos.y, 40);
  ImageList_DragLeave(nullptr);
  ImageList_EndDrag();
  EXPECT_TRUE(sink.ended);
  EXPECT_FALSE(ImageList_DragMove(1, 1));
  brambolt::SetDragImageSink(nullptr);
  DeleteObject(strip);
}

}  // namespace

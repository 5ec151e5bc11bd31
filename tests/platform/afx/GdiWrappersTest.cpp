// The framework's GDI classes: ownership of handles, the permanent and temporary handle maps,
// selection through CDC, attribute and output DCs, and the drawing helpers' pixels.
#include <gtest/gtest.h>

#include <thread>

#include "afx/afx.h"
#include "platform/gdi/GdiTestUtil.h"

using gditest::MemoryCanvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Temporary objects are deleted whenever the lock count of the thread returns to zero.
void RunIdleCleanup() {
  AfxLockTempMaps();
  AfxUnlockTempMaps();
}

TEST(GdiObjectOwnership, DestructorDeletesTheHandleDetachKeepsIt) {
  size_t before = brambolt::GdiObjectCount();
  {
    CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
    EXPECT_EQ(brambolt::GdiObjectCount(), before + 1);
  }
  EXPECT_EQ(brambolt::GdiObjectCount(), before);

  HBRUSH kept;
  {
    CBrush brush(RGB(9, 9, 9));
    kept = static_cast<HBRUSH>(brush.Detach());
    EXPECT_EQ(brush.m_hObject, nullptr);
  }
  EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_TRUE(DeleteObject(kept));
}

TEST(GdiObjectOwnership, CreationFailureThrowsFromConstructorsOnly) {
  CBrush brush;
  EXPECT_FALSE(brush.CreatePatternBrush(nullptr));
  EXPECT_EQ(brush.m_hObject, nullptr);
  bool thrown = false;
  try {
    CBrush failed{static_cast<CBitmap*>(nullptr)};
  } catch (CResourceException* e) {
    thrown = true;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
}

TEST(GdiHandleMap, AttachedObjectIsFoundFromItsHandle) {
  CPen pen(PS_DASH, 1, RGB(10, 20, 30));
  EXPECT_EQ(CGdiObject::FromHandle(pen.m_hObject), &pen);
  EXPECT_EQ(CPen::FromHandle(pen), &pen);
  RunIdleCleanup();
  EXPECT_EQ(CPen::FromHandle(pen), &pen) << "permanent objects survive idle time";
  HGDIOBJ handle = pen.Detach();
  CGdiObject* temporary = CGdiObject::FromHandle(handle);
  EXPECT_NE(temporary, &pen);
  RunIdleCleanup();
  DeleteObject(handle);
}

TEST(GdiHandleMap, TemporaryObjectHasTheClassOfTheHandleAndLeavesItAlive) {
  struct Case {
    HGDIOBJ handle;
    CRuntimeClass* expected;
  };
  HPEN pen = CreatePen(PS_SOLID, 2, kBlack);
  HBRUSH brush = CreateSolidBrush(kBlack);
  HRGN region = CreateRectRgn(0, 0, 5, 5);
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  const Case cases[] = {{pen, RUNTIME_CLASS(CPen)},
                        {brush, RUNTIME_CLASS(CBrush)},
                        {region, RUNTIME_CLASS(CRgn)},
                        {bitmap, RUNTIME_CLASS(CBitmap)},
                        {GetStockObject(DEFAULT_GUI_FONT), RUNTIME_CLASS(CFont)}};
  for (const Case& c : cases) {
    CGdiObject* temporary = CGdiObject::FromHandle(c.handle);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(temporary->GetRuntimeClass(), c.expected);
    EXPECT_EQ(CGdiObject::FromHandle(c.handle), temporary) << "one temporary object per handle";
  }
  RunIdleCleanup();
  for (const Case& c : cases) EXPECT_NE(GetObjectType(c.handle), 0u) << "the handle outlives its wrapper";
  EXPECT_EQ(CGdiObject::FromHandle(nullptr), nullptr);
  for (const Case& c : cases) DeleteObject(c.handle);
}

TEST(GdiHandleMap, LockedTempMapsSurviveUntilTheLastUnlock) {
  HBRUSH handle = CreateSolidBrush(RGB(1, 1, 1));
  AfxLockTempMaps();
  CBrush* temporary = CBrush::FromHandle(handle);
  RunIdleCleanup();
  EXPECT_EQ(CBrush::FromHandle(handle), temporary);
  EXPECT_TRUE(AfxUnlockTempMaps());
  // The old wrapper is gone; whichever object comes back wraps the same handle.
  EXPECT_EQ(CBrush::FromHandle(handle)->m_hObject, handle);
  RunIdleCleanup();
  DeleteObject(handle);
}

TEST(GdiHandleMap, MapsBelongToTheirThread) {
  CPen pen(PS_SOLID, 1, kBlack);
  CGdiObject* seen = &pen;
  std::thread([&] {
    seen = CGdiObject::FromHandle(pen.m_hObject);
    EXPECT_EQ(seen->m_hObject, pen.m_hObject);
  }).join();
  EXPECT_NE(seen, &pen);
}

TEST(CDCSelection, SelectReturnsThePreviousObjectAndRestores) {
  MemoryCanvas canvas(8, 8);
  CDC* dc = CDC::FromHandle(canvas.dc());
  CPen red(PS_SOLID, 1, RGB(255, 0, 0));
  CPen* old = dc->SelectObject(&red);
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(old->m_hObject, GetStockObject(BLACK_PEN));
  EXPECT_EQ(dc->GetCurrentPen(), &red);
  EXPECT_EQ(dc->SelectObject(old), &red) << "the attached pen comes back as itself";

  CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
  EXPECT_EQ(oldBrush->m_hObject, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(dc->GetCurrentBrush()->m_hObject, GetStockObject(NULL_BRUSH));
  dc->SelectObject(oldBrush);
  EXPECT_EQ(dc->SelectStockObject(-5), nullptr);
  RunIdleCleanup();
}

TEST(CDCSelection, SavedStateComesBack) {
  MemoryCanvas canvas(8, 8);
  CDC dc;
  dc.Attach(canvas.dc());
  dc.SetTextColor(RGB(1, 2, 3));
  int saved = dc.SaveDC();
  EXPECT_NE(saved, 0);
  dc.SetTextColor(RGB(4, 5, 6));
  EXPECT_EQ(dc.MoveTo(3, 4), CPoint(0, 0));
  EXPECT_EQ(dc.GetCurrentPosition(), CPoint(3, 4));
  EXPECT_TRUE(dc.RestoreDC(saved));
  EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
  dc.Detach();
}

TEST(CDCHandles, AttachDetachAndDestructor) {
  HDC screen = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  size_t before = brambolt::GdiObjectCount();
  {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    EXPECT_EQ(dc.m_hAttribDC, dc.m_hDC);
    EXPECT_EQ(CDC::FromHandle(dc.m_hDC), &dc);
  }
  EXPECT_EQ(brambolt::GdiObjectCount(), before) << "the destructor deletes the DC";

  CDC dc;
  dc.Attach(screen);
  EXPECT_EQ(dc.Detach(), screen);
  EXPECT_EQ(dc.m_hAttribDC, nullptr);
  CDC* temporary = CDC::FromHandle(screen);
  EXPECT_NE(temporary, &dc);
  EXPECT_EQ(temporary->m_hAttribDC, screen);
  RunIdleCleanup();
  EXPECT_NE(GetDeviceCaps(screen, LOGPIXELSY), 0) << "deleting a temporary CDC keeps the DC";
  DeleteDC(screen);

  CDC* none = nullptr;
  EXPECT_EQ(none->GetSafeHdc(), nullptr);
  CGdiObject* noObject = nullptr;
  EXPECT_EQ(noObject->GetSafeHandle(), nullptr);
}

TEST(CDCAttributes, SettersReachBothDCsGettersReadTheAttributeDC) {
  MemoryCanvas output(4, 4), attributes(4, 4);
  CDC dc;
  dc.m_hDC = output.dc();
  dc.SetAttribDC(attributes.dc());
  ::SetTextColor(attributes.dc(), RGB(7, 7, 7));
  EXPECT_EQ(dc.SetTextColor(RGB(50, 60, 70)), RGB(7, 7, 7));
  EXPECT_EQ(::GetTextColor(output.dc()), RGB(50, 60, 70));
  EXPECT_EQ(::GetTextColor(attributes.dc()), RGB(50, 60, 70));
  dc.SetMapMode(MM_LOMETRIC);
  EXPECT_EQ(::GetMapMode(output.dc()), MM_LOMETRIC);
  ::SetMapMode(attributes.dc(), MM_TEXT);
  EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
  dc.ReleaseAttribDC();
  dc.ReleaseOutputDC();
}

TEST(CDCAttributes, SizesConvertWithoutChangingSign) {
  MemoryCanvas canvas(4, 4);
  CDC* dc = CDC::FromHandle(canvas.dc());
  dc->SetMapMode(MM_ANISOTROPIC);
  dc->SetWindowExt(100, 100);
  dc->SetViewportExt(50, -25);
  CSize size(40, 40);
  dc->LPtoDP(&size);
  EXPECT_EQ(size, CSize(20, 10));
  dc->DPtoLP(&size);
  EXPECT_EQ(size, CSize(40, 40));
  dc->SetMapMode(MM_TEXT);
  RunIdleCleanup();
}

TEST(CDCHelpers, FillSolidRectFillsAndLeavesTheBackgroundColour) {
  MemoryCanvas canvas(10, 10);
  CDC* dc = CDC::FromHandle(canvas.dc());
  dc->FillSolidRect(2, 3, 4, 5, RGB(0, 128, 255));
  EXPECT_EQ(canvas.Count(RGB(0, 128, 255), 2, 3, 6, 8), 20);
  EXPECT_EQ(canvas.Count(RGB(0, 128, 255)), 20);
  EXPECT_EQ(dc->GetBkColor(), RGB(0, 128, 255));
  RunIdleCleanup();
}

TEST(CDCHelpers, Draw3dRectColoursEachSide) {
  MemoryCanvas canvas(12, 12);
  CDC* dc = CDC::FromHandle(canvas.dc());
  const COLORREF light = RGB(255, 0, 0), dark = RGB(0, 0, 255);
  dc->Draw3dRect(CRect(1, 1, 11, 9), light, dark);
  EXPECT_EQ(canvas.at(1, 1), light);
  EXPECT_EQ(canvas.at(9, 1), light);
  EXPECT_EQ(canvas.at(1, 7), light);
  EXPECT_EQ(canvas.at(10, 1), dark) << "the right column takes the top-right corner";
  EXPECT_EQ(canvas.at(1, 8), dark) << "the bottom row takes the bottom-left corner";
  EXPECT_EQ(canvas.at(10, 8), dark);
  EXPECT_EQ(canvas.Count(light), 9 + 7 - 1) << "top row and left column share a corner";
  EXPECT_EQ(canvas.Count(dark), 8 + 10 - 1);
  EXPECT_EQ(canvas.at(5, 5), kWhite);
  EXPECT_EQ(canvas.at(11, 9), kWhite);
  RunIdleCleanup();
}

TEST(CDCHelpers, DrawDragRectMovesAFrameAndErasesIt) {
  MemoryCanvas canvas(40, 40);
  CDC* dc = CDC::FromHandle(canvas.dc());
  CBrush white(kWhite);  // inverting white with white gives black
  const CRect first(2, 2, 20, 20), second(10, 10, 30, 30);
  const CSize thick(2, 2);
  auto frameOf = [&](const CRect& r, int x, int y) {
    CRect inner(r);
    inner.DeflateRect(thick);
    return r.PtInRect(CPoint(x, y)) && !inner.PtInRect(CPoint(x, y));
  };

  dc->DrawDragRect(first, thick, nullptr, thick, &white);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(canvas.at(x, y), frameOf(first, x, y) ? kBlack : kWhite) << x << "," << y;

  dc->DrawDragRect(second, thick, first, thick, &white);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(canvas.at(x, y), frameOf(second, x, y) ? kBlack : kWhite) << x << "," << y;

  dc->DrawDragRect(second, thick, nullptr, thick, &white);
  EXPECT_EQ(canvas.Count(kWhite), 40 * 40);
  CRect clip;
  EXPECT_EQ(dc->GetClipBox(&clip), SIMPLEREGION);
  EXPECT_EQ(clip, CRect(0, 0, 40, 40)) << "no clipping region is left behind";
  RunIdleCleanup();
}

TEST(CDCHelpers, HalftoneDragRectUndoesItself) {
  MemoryCanvas canvas(20, 20);
  CDC* dc = CDC::FromHandle(canvas.dc());
  const CRect r(3, 3, 17, 15);
  dc->DrawDragRect(r, CSize(3, 3), nullptr, CSize(3, 3));
  EXPECT_GT(canvas.Count(kBlack), 0);
  EXPECT_LT(canvas.Count(kBlack, 3, 3, 17, 15), 14 * 12 - 8 * 6) << "half the frame's pixels flip";
  dc->DrawDragRect(r, CSize(3, 3), nullptr, CSize(3, 3));
  EXPECT_EQ(canvas.Count(kWhite), 400);
  EXPECT_EQ(CDC::GetHalftoneBrush(), CDC::GetHalftoneBrush());
  RunIdleCleanup();
}

TEST(GdiObjectCreation, PointFontHeightFollowsTheScreenResolution) {
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(120, "Arial"));
  LOGFONT lf{};
  ASSERT_EQ(font.GetLogFont(&lf), static_cast<int>(sizeof(LOGFONT)));
  HDC screen = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  EXPECT_EQ(lf.lfHeight, -(GetDeviceCaps(screen, LOGPIXELSY) * 120 / 720));
  DeleteDC(screen);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
}

TEST(GdiObjectCreation, RegionsCombineAndAnswerHitTests) {
  CRgn a, b, both;
  a.CreateRectRgn(0, 0, 10, 10);
  b.CreateRectRgn(5, 5, 15, 15);
  both.CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(both.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
  CRect box;
  both.GetRgnBox(&box);
  EXPECT_EQ(box, CRect(5, 5, 10, 10));
  EXPECT_TRUE(both.PtInRegion(CPoint(7, 7)));
  EXPECT_FALSE(both.PtInRegion(2, 2));
  CRgn copy;
  copy.CreateRectRgn(0, 0, 0, 0);
  copy.CopyRgn(&both);
  EXPECT_TRUE(copy.EqualRgn(&both));
  copy.OffsetRgn(CPoint(1, 0));
  EXPECT_FALSE(copy.EqualRgn(&both));
}

TEST(GdiObjectCreation, BitmapsAndPalettesReportWhatTheyHold) {
  CBitmap bitmap;
  CDC screen;
  screen.CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 7, 5));
  BITMAP info{};
  bitmap.GetBitmap(&info);
  EXPECT_EQ(info.bmWidth, 7);
  EXPECT_EQ(info.bmHeight, 5);
  bitmap.SetBitmapDimension(70, 50);
  EXPECT_EQ(bitmap.GetBitmapDimension(), CSize(70, 50));

  struct {
    LOGPALETTE header;
    PALETTEENTRY more[2];
  } logical{};
  logical.header.palVersion = 0x300;
  logical.header.palNumEntries = 3;
  logical.header.palPalEntry[0] = {255, 0, 0, 0};
  logical.more[0] = {0, 255, 0, 0};
  logical.more[1] = {0, 0, 255, 0};
  CPalette palette;
  ASSERT_TRUE(palette.CreatePalette(&logical.header));
  EXPECT_EQ(palette.GetEntryCount(), 3);
  EXPECT_EQ(palette.GetNearestPaletteIndex(RGB(0, 250, 10)), 1u);
}

TEST(CImageListWrapper, OwnsItsListAndIsFoundFromTheHandle) {
  CImageList list;
  ASSERT_TRUE(list.Create(8, 8, ILC_COLOR32 | ILC_MASK, 0, 4));
  EXPECT_EQ(CImageList::FromHandle(list), &list);
  EXPECT_EQ(CImageList::FromHandlePermanent(list), &list);
  CDC screen;
  screen.CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  CBitmap strip;
  strip.CreateCompatibleBitmap(&screen, 16, 8);
  EXPECT_EQ(list.Add(&strip, RGB(255, 0, 255)), 0);
  EXPECT_EQ(list.GetImageCount(), 2);

  CImageList copy;
  ASSERT_TRUE(copy.Create(&list));
  EXPECT_EQ(copy.GetImageCount(), 2);
  HIMAGELIST handle = copy.Detach();
  EXPECT_EQ(CImageList::FromHandlePermanent(handle), nullptr);
  CImageList* temporary = CImageList::FromHandle(handle);
  EXPECT_EQ(temporary->GetImageCount(), 2);
  RunIdleCleanup();
  EXPECT_EQ(ImageList_GetImageCount(handle), 2) << "the temporary wrapper leaves the list";
  EXPECT_TRUE(ImageList_Destroy(handle));
}

}  // namespace

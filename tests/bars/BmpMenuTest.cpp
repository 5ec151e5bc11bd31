// The bitmap manager (images by command from toolbar resources, large and small, missing and
// caller-owned bitmaps) and the bitmap-menu plug-in (conversion, measuring, drawing, mnemonics).
#include <gtest/gtest.h>

#include <algorithm>

#include "MenusTestIds.h"
#include "bars/SECBmpMenuPlugIn.h"
#include "bars/SECBmpMgr.h"
#include "testing/testing.h"

using brambolt::test::UiSession;

namespace {

// The colour at the centre of an image of a strip.
COLORREF ImageColour(HBITMAP bitmap, UINT image, CSize size) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  COLORREF colour = ::GetPixel(dc, static_cast<int>(image) * size.cx + size.cx / 2, size.cy / 2);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return colour;
}

CSize BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  ::GetObject(bitmap, sizeof(info), &info);
  return CSize(info.bmWidth, info.bmHeight);
}

struct ImageCase {
  UINT id;
  COLORREF colour;
};

TEST(BmpMgr, MapsCommandsToImagesAndTheFirstBitmapWins) {
  UiSession session;
  auto* mgr = new SECBmpMgr;
  ASSERT_TRUE(mgr->LoadToolBarResource(IDR_MENUS_SMALL, 0, FALSE));
  ASSERT_TRUE(mgr->LoadToolBarResource(IDR_MENUS_OTHER, 0, FALSE));
  EXPECT_EQ(CSize(16, 15), mgr->GetImageSize());
  // The separator takes no image; ID_MT_SAVE stays with the first bitmap, ID_MT_CUT is the second
  // image of the other one.
  const ImageCase cases[] = {{ID_MT_NEW, RGB(255, 0, 0)},
                             {ID_MT_OPEN, RGB(0, 255, 0)},
                             {ID_MT_SAVE, RGB(0, 0, 255)},
                             {ID_MT_CUT, RGB(0, 128, 0)}};
  for (const ImageCase& c : cases) {
    HBITMAP bitmap = nullptr;
    UINT image = 99;
    ASSERT_TRUE(mgr->GetBitmap(c.id, bitmap, image)) << c.id;
    EXPECT_EQ(c.colour, ImageColour(bitmap, image, mgr->GetImageSize())) << c.id;
  }
  HBITMAP bitmap = nullptr;
  UINT image = 0;
  EXPECT_FALSE(mgr->GetBitmap(ID_MT_PLAIN, bitmap, image));
  EXPECT_FALSE(mgr->LoadToolBarResource(24399u));
  mgr->Release();
}

TEST(BmpMgr, LargeModeLoadsOrStretchesAndKeepsSmallImagesOnlyWhenAsked) {
  UiSession session;
  for (bool withLarge : {true, false}) {
    SCOPED_TRACE(withLarge ? "large bitmap" : "stretched");
    auto* mgr = new SECBmpMgr;
    ASSERT_TRUE(mgr->LoadToolBarResource(IDR_MENUS_SMALL, withLarge ? IDR_MENUS_LARGE : 0, FALSE));
    mgr->SetSmallImages(FALSE);
    EXPECT_EQ(CSize(22, 24), mgr->GetCurrentImageSize());
    HBITMAP bitmap = nullptr;
    UINT image = 0;
    ASSERT_TRUE(mgr->GetBitmap(ID_MT_OPEN, bitmap, image));
    EXPECT_EQ(CSize(66, 24), BitmapSize(bitmap));
    EXPECT_EQ(withLarge ? RGB(0, 255, 255) : RGB(0, 255, 0), ImageColour(bitmap, image, CSize(22, 24)));
    // Menus ask for small images: gone in large mode until the manager is told to keep them.
    EXPECT_FALSE(mgr->GetBitmap(ID_MT_OPEN, bitmap, image, TRUE));
    mgr->SetKeepSmall(TRUE);
    ASSERT_TRUE(mgr->GetBitmap(ID_MT_OPEN, bitmap, image, TRUE));
    EXPECT_EQ(RGB(0, 255, 0), ImageColour(bitmap, image, CSize(16, 15)));
    mgr->SetSmallImages(TRUE);
    ASSERT_TRUE(mgr->GetBitmap(ID_MT_SAVE, bitmap, image));
    EXPECT_EQ(CSize(48, 15), BitmapSize(bitmap));
    mgr->Release();
  }
}

TEST(BmpMgr, MissingBitmapKeepsTheCommandsButGivesNoImage) {
  UiSession session;
  SECBmpMgr mgr;
  EXPECT_FALSE(mgr.LoadToolBarResource(IDR_MENUS_NOBITMAP));
  EXPECT_TRUE(mgr.HasImage(ID_MT_NOIMAGE));
  HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
  UINT image = 0;
  EXPECT_FALSE(mgr.GetBitmap(ID_MT_NOIMAGE, bitmap, image));
  EXPECT_EQ(nullptr, bitmap);
}

TEST(BmpMgr, CallerOwnedBitmapsSurviveReloadAndRelease) {
  UiSession session;
  HDC screen = ::GetDC(nullptr);
  HBITMAP owned = ::CreateCompatibleBitmap(screen, 16, 15);
  ::ReleaseDC(nullptr, screen);
  const UINT ids[] = {ID_MT_PLAIN};
  auto* mgr = new SECBmpMgr;
  mgr->AddRef();
  ASSERT_TRUE(mgr->AddToolBarBitmap(owned, nullptr, ids, 1));
  EXPECT_TRUE(mgr->ReloadBitmaps(TRUE));
  HBITMAP bitmap = nullptr;
  UINT image = 5;
  ASSERT_TRUE(mgr->GetBitmap(ID_MT_PLAIN, bitmap, image));
  EXPECT_EQ(owned, bitmap);
  EXPECT_EQ(0u, image);
  mgr->Release();
  EXPECT_EQ(1, mgr->GetRefCount());
  mgr->Release();
  BITMAP info{};
  EXPECT_NE(0, ::GetObject(owned, sizeof(info), &info));
  ::DeleteObject(owned);
}

}  // namespace

// ---- the bitmap-menu plug-in ----

namespace {

// A frame with a bitmap-menu plug-in over a manager holding the small test toolbar.
struct PlugInFrame {
  CFrameWnd* frame = new CFrameWnd;
  SECBmpMenuPlugIn* plugIn = new SECBmpMenuPlugIn(FALSE);
  CMenu popup;

  PlugInFrame() {
    EXPECT_TRUE(frame->Create(nullptr, "Menus", WS_OVERLAPPEDWINDOW, CRect(10, 10, 410, 310)));
    auto* mgr = new SECBmpMgr;
    EXPECT_TRUE(mgr->LoadToolBarResource(IDR_MENUS_SMALL, 0, FALSE));
    plugIn->SetBmpMgr(mgr);
    mgr->Release();
    EXPECT_TRUE(plugIn->PlugInTo(frame));
    popup.CreatePopupMenu();
  }
  ~PlugInFrame() {
    delete plugIn;
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  void Open(BOOL system = FALSE) {
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), MAKELPARAM(0, system));
  }
  MENUITEMINFO Item(UINT position) {
    MENUITEMINFO mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    ::GetMenuItemInfo(popup.m_hMenu, position, TRUE, &mii);
    return mii;
  }
  CString Text(UINT position) {
    CString text;
    popup.GetMenuString(position, text, MF_BYPOSITION);
    return text;
  }
};

TEST(BmpMenuPlugIn, ConvertsTextItemsOnlyAndGivesThemBackWhole) {
  UiSession session;
  PlugInFrame f;
  const CString longText = CString('x', 300) + "\tCtrl+L";
  f.popup.AppendMenu(MF_STRING, ID_MT_NEW, "&New\tCtrl+N");
  f.popup.AppendMenu(MF_SEPARATOR, 0, static_cast<LPCTSTR>(nullptr));
  f.popup.AppendMenu(MF_OWNERDRAW, ID_MT_CUT, reinterpret_cast<LPCSTR>(0x1234));
  f.popup.AppendMenu(MF_STRING, SC_CLOSE, "&Close");
  f.popup.AppendMenu(MF_STRING, ID_MT_PLAIN, longText);
  f.Open(TRUE);
  EXPECT_FALSE(f.Item(0).fType & MFT_OWNERDRAW) << "a system menu stays ordinary";
  f.Open();
  f.Open();  // a second opening converts nothing twice
  struct Expect {
    UINT position;
    bool ownerDrawn;
  };
  for (const Expect& e : {Expect{0, true}, Expect{1, false}, Expect{3, false}, Expect{4, true}})
    EXPECT_EQ(e.ownerDrawn, (f.Item(e.position).fType & MFT_OWNERDRAW) != 0) << e.position;
  EXPECT_EQ(0x1234u, f.Item(2).dwItemData) << "someone else's owner-drawn item is left alone";
  auto* info = reinterpret_cast<SECBmpMenuItemInfo*>(f.Item(0).dwItemData);
  ASSERT_NE(nullptr, info);
  EXPECT_EQ('N', info->m_cMnemonic);
  // Drawing requests for the foreign item are not answered.
  DRAWITEMSTRUCT foreign{ODT_MENU, 0, ID_MT_CUT, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(f.popup.m_hMenu),
                         nullptr, {0, 0, 10, 10}, 0x1234};
  EXPECT_EQ(0, f.frame->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&foreign)));
  delete f.plugIn;
  f.plugIn = nullptr;
  EXPECT_FALSE(f.Item(0).fType & MFT_OWNERDRAW);
  EXPECT_EQ(CString("&New\tCtrl+N"), f.Text(0));
  EXPECT_EQ(longText, f.Text(4)) << "long texts come back whole";
}

TEST(BmpMenuPlugIn, MeasuresFromTheMenuFontAndTheImageSize) {
  UiSession session;
  PlugInFrame f;
  f.popup.AppendMenu(MF_STRING, ID_MT_OPEN, "&Open\tCtrl+O");
  f.popup.AppendMenu(MF_STRING, ID_MT_PLAIN, "&Open");
  f.Open();
  auto measure = [&](UINT position) {
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, f.Item(position).wID, 0, 0, f.Item(position).dwItemData};
    f.frame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    return mis;
  };
  const MEASUREITEMSTRUCT withAccel = measure(0), plain = measure(1);
  EXPECT_EQ(static_cast<UINT>(std::max(::GetSystemMetrics(SM_CYMENU), 15 + 4) + 1), plain.itemHeight);
  EXPECT_GT(plain.itemWidth, 32u);
  EXPECT_GT(withAccel.itemWidth, plain.itemWidth + 16) << "the accelerator text takes room";
}

TEST(BmpMenuPlugIn, MenuCharExecutesAnOnlyMatchAndCyclesSharedOnes) {
  UiSession session;
  PlugInFrame f;
  f.popup.AppendMenu(MF_STRING, ID_MT_NEW, "&Save");
  f.popup.AppendMenu(MF_STRING, ID_MT_OPEN, "&Open");
  f.popup.AppendMenu(MF_STRING, ID_MT_SAVE, "&Send");
  f.Open();
  auto menuChar = [&](char ch) {
    return f.frame->SendMessage(WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP), reinterpret_cast<LPARAM>(f.popup.m_hMenu));
  };
  EXPECT_EQ(MAKELRESULT(1, MNC_EXECUTE), menuChar('o'));
  EXPECT_EQ(MAKELRESULT(0, MNC_SELECT), menuChar('s'));
  ::HiliteMenuItem(f.frame->m_hWnd, f.popup.m_hMenu, 0, MF_BYPOSITION | MF_HILITE);
  EXPECT_EQ(MAKELRESULT(2, MNC_SELECT), menuChar('S'));
  ::HiliteMenuItem(f.frame->m_hWnd, f.popup.m_hMenu, 0, MF_BYPOSITION | MF_UNHILITE);
  ::HiliteMenuItem(f.frame->m_hWnd, f.popup.m_hMenu, 2, MF_BYPOSITION | MF_HILITE);
  EXPECT_EQ(MAKELRESULT(0, MNC_SELECT), menuChar('S')) << "past the last match it wraps";
  EXPECT_EQ(0, menuChar('z'));
}

// Draws one item into a bitmap and returns the colour at a point of it.
struct DrawnItem {
  CBitmap bitmap;
  CDC dc;
  DrawnItem(PlugInFrame& f, UINT position, UINT state) {
    CClientDC screen(nullptr);
    dc.CreateCompatibleDC(&screen);
    bitmap.CreateCompatibleBitmap(&screen, 200, 24);
    dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 200, 24, RGB(1, 2, 3));
    MENUITEMINFO mii = f.Item(position);
    DRAWITEMSTRUCT dis{ODT_MENU, 0, mii.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(f.popup.m_hMenu),
                       dc.GetSafeHdc(), {0, 0, 200, 24}, mii.dwItemData};
    EXPECT_TRUE(f.frame->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
  }
  COLORREF At(int x, int y) { return dc.GetPixel(x, y); }
  bool Has(COLORREF colour, int right) {
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < right; ++x)
        if (dc.GetPixel(x, y) == colour) return true;
    return false;
  }
};

TEST(BmpMenuPlugIn, DrawsImagesCheckMarksAndTheSelection) {
  UiSession session;
  PlugInFrame f;
  f.popup.AppendMenu(MF_STRING, ID_MT_NEW, "&New\tCtrl+N");
  f.popup.AppendMenu(MF_STRING | MF_CHECKED, ID_MT_PLAIN, "&Plain");
  f.Open();
  const COLORREF red = RGB(255, 0, 0);
  {
    DrawnItem item(f, 0, 0);
    EXPECT_EQ(red, item.At(11, 12)) << "the toolbar image in its box";
    EXPECT_EQ(::GetSysColor(COLOR_MENU), item.At(150, 2));
  }
  {
    DrawnItem item(f, 0, ODS_SELECTED);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), item.At(150, 2));
  }
  {
    DrawnItem item(f, 0, ODS_GRAYED);
    EXPECT_FALSE(item.Has(red, 22)) << "a disabled image is embossed, not coloured";
    EXPECT_TRUE(item.Has(::GetSysColor(COLOR_3DSHADOW), 22));
  }
  {
    DrawnItem unchecked(f, 1, 0), checked(f, 1, ODS_CHECKED);
    EXPECT_FALSE(unchecked.Has(::GetSysColor(COLOR_MENUTEXT), 22));
    EXPECT_TRUE(checked.Has(::GetSysColor(COLOR_MENUTEXT), 22)) << "a check mark without an image";
  }
}

}  // namespace

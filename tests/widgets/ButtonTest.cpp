// Owner-drawn and bitmap buttons: clicks by mouse and space bar, the bitmap's place and its
// colours following the system colours, the disabled emboss, flat buttons; the system-colour
// bitmap loader with short colour tables and true-colour bitmaps.
#include <gtest/gtest.h>

#include "gdi/SysColors.h"
#include "tests/widgets/TabTestSupport.h"
#include "widgets/SECBitmapButton.h"
#include "widgets/SECLoadSysColorBitmap.h"

using brambolt::test::ButtonDown;
using brambolt::test::ButtonUp;
using brambolt::test::Click;
using brambolt::test::MoveMouse;
using brambolt::test::PressKey;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using brambolt::test::WindowPixel;
using kelpwood::foundation::SECBitmapButton;
using kelpwood::foundation::SECLoadSysColorBitmap;
using kelpwood::foundation::SECOwnerDrawButton;
using widgets_test::TabParent;

namespace {

constexpr UINT kGreys = 300, kShortTable = 301, kTrueColour = 302;

// Sets the four button colours for its lifetime.
class ButtonColours {
 public:
  ButtonColours() {
    const INT indices[] = {COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
    const COLORREF colors[] = {RGB(1, 2, 3), RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)};
    ::SetSysColors(4, indices, colors);
  }
  ~ButtonColours() { brambolt::ResetSysColors(); }
};

COLORREF BitmapPixel(CBitmap& bitmap, int x) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* pOld = dc.SelectObject(&bitmap);
  const COLORREF clr = dc.GetPixel(x, 0);
  dc.SelectObject(pOld);
  return clr;
}

class CountingButton : public SECOwnerDrawButton {
 public:
  int clicks = 0;
  void OnClicked() override { ++clicks; }
};

TEST(SysColorBitmap, GreysFollowTheButtonColoursWhateverTheTableLength) {
  UiSession session;
  ButtonColours colours;
  const COLORREF mapped[] = {RGB(1, 2, 3), RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)};
  CBitmap bitmap;
  ASSERT_TRUE(SECLoadSysColorBitmap(&bitmap, MAKEINTRESOURCE(kGreys)));
  for (int x = 0; x < 4; ++x) EXPECT_EQ(BitmapPixel(bitmap, x), mapped[x]) << x;
  EXPECT_EQ(BitmapPixel(bitmap, 4), RGB(255, 0, 0));  // other colours stay

  // A table of four entries: the pixel bytes after it are not taken for colours.
  ASSERT_TRUE(SECLoadSysColorBitmap(&bitmap, MAKEINTRESOURCE(kShortTable)));
  BITMAP info{};
  bitmap.GetBitmap(&info);
  EXPECT_EQ(info.bmWidth, 4);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(BitmapPixel(bitmap, x), mapped[x]) << x;

  // No table at 24 bits: the bitmap loads as it is.
  ASSERT_TRUE(SECLoadSysColorBitmap(&bitmap, MAKEINTRESOURCE(kTrueColour)));
  EXPECT_EQ(BitmapPixel(bitmap, 1), RGB(128, 128, 128));

  EXPECT_FALSE(SECLoadSysColorBitmap(&bitmap, MAKEINTRESOURCE(999)));
  EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
}

TEST(OwnerDrawButton, ClicksByMouseAndSpaceCallOnClickedOnce) {
  UiSession session;
  TabParent parent;
  CountingButton button;
  ASSERT_TRUE(button.Create("Go", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 90, 40), &parent, 50, 0));
  EXPECT_EQ(button.GetStyle() & 0x0F, static_cast<DWORD>(BS_OWNERDRAW));
  Click(button.m_hWnd, CPoint(20, 10));
  EXPECT_EQ(button.clicks, 1);
  // Released outside the button: no click.
  ButtonDown(button.m_hWnd, CPoint(20, 10));
  ButtonUp(button.m_hWnd, CPoint(200, 100));
  EXPECT_EQ(button.clicks, 1);
  button.SetFocus();
  PressKey(VK_SPACE);
  EXPECT_EQ(button.clicks, 2);
  // The default-button flag: the focused button calls itself the default push button.
  EXPECT_EQ(button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON, 0u);
  button.m_dwFlags = SEC_BTN_DEFAULT_WHEN_FOCUSED;
  EXPECT_NE(button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON, 0u);
  // The dialog manager's style changes keep it owner-drawn.
  button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(button.GetStyle() & 0x0F, static_cast<DWORD>(BS_OWNERDRAW));
}

TEST(OwnerDrawButton, FlatButtonsShowAFrameOnlyUnderTheMouse) {
  UiSession session;
  TabParent parent;
  CountingButton button;
  button.SetFlat();
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 40), &parent, 51, 0));
  RunUntilIdle();
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(WindowPixel(button.m_hWnd, 0, 5), face);
  MoveMouse(button.m_hWnd, CPoint(20, 10));
  EXPECT_EQ(WindowPixel(button.m_hWnd, 0, 5), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(WindowPixel(button.m_hWnd, 49, 5), ::GetSysColor(COLOR_BTNSHADOW));
  MoveMouse(parent.m_hWnd, CPoint(300, 150));
  EXPECT_EQ(WindowPixel(button.m_hWnd, 0, 5), face);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(BitmapButton, TheBitmapTakesItsPlaceAndItsColoursFollowTheSystem) {
  UiSession session;
  TabParent parent;
  SECBitmapButton button;
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 40), &parent, 52, SECBitmapButton::Al_Center,
                            kGreys));
  // Centred in the button less 3 pixels at the right and the bottom, no caption.
  EXPECT_EQ(button.m_rcBitmap.left, (57 - 16) / 2);
  EXPECT_EQ(button.m_rcBitmap.top, (37 - 8) / 2);
  EXPECT_EQ(button.m_rcBitmap.right - button.m_rcBitmap.left, 16);
  EXPECT_TRUE(CRect(button.m_rcText).IsRectEmpty());
  RunUntilIdle();
  // Released, new look: the contents start 2 pixels in.
  const CPoint at(button.m_rcBitmap.left + 2, button.m_rcBitmap.top + 2);
  EXPECT_EQ(WindowPixel(button.m_hWnd, at.x + 4, at.y), RGB(255, 0, 0));
  EXPECT_EQ(WindowPixel(button.m_hWnd, at.x + 1, at.y), ::GetSysColor(COLOR_BTNSHADOW));
  {
    ButtonColours colours;
    button.SendMessage(WM_SYSCOLORCHANGE);
    RunUntilIdle();
    EXPECT_EQ(WindowPixel(button.m_hWnd, at.x + 1, at.y), RGB(10, 20, 30));
  }
  button.SendMessage(WM_SYSCOLORCHANGE);

  SECBitmapButton left;
  ASSERT_TRUE(left.Create("Caption", WS_CHILD | WS_VISIBLE, CRect(0, 50, 120, 80), &parent, 53, SECBitmapButton::Al_Left,
                          kGreys));
  EXPECT_EQ(left.m_rcBitmap.left, 5);
  EXPECT_EQ(left.m_rcText.left, left.m_rcBitmap.right + 1);
  SECBitmapButton missing;
  EXPECT_FALSE(missing.Create("", WS_CHILD, CRect(0, 0, 10, 10), &parent, 54, 0, 999u));
  EXPECT_EQ(missing.m_hWnd, nullptr);
}

TEST(BitmapButton, DisabledContentsAreEmbossed) {
  UiSession session;
  TabParent parent;
  SECBitmapButton button;
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | WS_DISABLED, CRect(0, 0, 60, 40), &parent, 55,
                            SECBitmapButton::Al_Center, kGreys));
  RunUntilIdle();
  // The red and black pixels become shadow and highlight; nothing keeps its own colour.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const COLORREF clr = WindowPixel(button.m_hWnd, x, y);
      ASSERT_TRUE(clr == ::GetSysColor(COLOR_BTNFACE) || clr == ::GetSysColor(COLOR_BTNSHADOW) ||
                  clr == ::GetSysColor(COLOR_BTNHIGHLIGHT))
          << x << "," << y;
    }
}

}  // namespace

// CScrollView: device sizes and scroll bars from logical sizes in MM_TEXT and MM_LOENGLISH,
// scrolling to positions, by commands and by the wheel, the origin of the device context, and
// scaling to fit.
#include <gtest/gtest.h>

#include "afx/afx.h"
#include "afx/CScrollView.h"
#include "testing/testing.h"
#include "ViewTestSupport.h"

using namespace brambolt::test;

namespace {

class PictureView : public CScrollView {
  DECLARE_DYNCREATE(PictureView)

 public:
  void OnDraw(CDC*) override {}
  using CScrollView::m_bCenter;
};

IMPLEMENT_DYNCREATE(PictureView, CScrollView)

class ScrollView : public ::testing::Test {
 protected:
  void SetUp() override {
    view = MakeFrameWithView<PictureView>(frame, RUNTIME_CLASS(PictureView), CRect(0, 0, 400, 300));
    ASSERT_NE(view, nullptr);
    RunUntilIdle();
  }
  void TearDown() override { frame->DestroyWindow(); }
  CSize Client() {
    CRect r;
    view->GetClientRect(&r);
    return r.Size();
  }

  UiSession session;
  CFrameWnd* frame = nullptr;
  PictureView* view = nullptr;
};

TEST_F(ScrollView, TextModeSizesBarsPositionsAndCommands) {
  view->SetScrollSizes(MM_TEXT, CSize(1000, 2000), CSize(100, 200), CSize(10, 20));
  EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
  EXPECT_TRUE(view->GetStyle() & WS_HSCROLL);
  SCROLLINFO info{};
  view->GetScrollInfo(SB_VERT, &info);
  EXPECT_EQ(info.nMax, 1999);
  EXPECT_EQ(static_cast<int>(info.nPage), Client().cy) << "a page of the bar is the client height";

  view->ScrollToPosition(CPoint(50, 300));
  EXPECT_EQ(view->GetScrollPosition(), CPoint(50, 300));
  view->ScrollToPosition(CPoint(5000, 5000));
  EXPECT_EQ(view->GetScrollPosition(), CPoint(1000 - Client().cx, 2000 - Client().cy)) << "kept within the limits";
  view->ScrollToPosition(CPoint(0, 0));

  view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(view->GetScrollPosition().y, 20);
  view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(view->GetScrollPosition().y, 220);
  view->SendMessage(WM_HSCROLL, SB_LINEDOWN);
  EXPECT_EQ(view->GetScrollPosition().x, 10);
  view->SendMessage(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(view->GetScrollPosition().y, 2000 - Client().cy);

  // The device context's origin follows the scrolling.
  {
    CClientDC dc(view);
    view->OnPrepareDC(&dc);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(-10, -(2000 - Client().cy)));
  }
  // The wheel scrolls three lines a notch, never more than a page.
  view->ScrollToPosition(CPoint(0, 0));
  Wheel(view->m_hWnd, CPoint(20, 20), -WHEEL_DELTA);
  EXPECT_EQ(view->GetScrollPosition().y, 60);
  Wheel(view->m_hWnd, CPoint(20, 20), -WHEEL_DELTA * 10);
  EXPECT_EQ(view->GetScrollPosition().y, 260);

  // A document that fits needs no bars and goes back to the origin.
  view->SetScrollSizes(MM_TEXT, CSize(50, 50));
  EXPECT_FALSE(view->GetStyle() & (WS_VSCROLL | WS_HSCROLL));
  EXPECT_EQ(view->GetScrollPosition(), CPoint(0, 0));
}

TEST_F(ScrollView, LoEnglishKeepsLogicalUnitsWithYUpwards) {
  // 1000 x 2000 hundredths of an inch, in device units of the screen.
  CSize device;
  {
    CWindowDC dc(nullptr);
    dc.SetMapMode(MM_LOENGLISH);
    CPoint corner(1000, -2000), line(0, -100);
    dc.LPtoDP(&corner);
    dc.LPtoDP(&line);
    device = CSize(corner.x, corner.y);
    ASSERT_GT(device.cx, 0);
  }
  view->SetScrollSizes(MM_LOENGLISH, CSize(1000, 2000), CScrollView::sizeDefault, CSize(0, 100));
  int mapMode = 0;
  SIZE total, page, line;
  view->GetDeviceScrollSizes(mapMode, total, page, line);
  EXPECT_EQ(mapMode, MM_LOENGLISH);
  EXPECT_EQ(CSize(total), device);
  EXPECT_EQ(page.cy, device.cy / 10);
  // Positions are logical: y goes down into negative numbers.
  view->ScrollToPosition(CPoint(0, -500));
  CPoint at = view->GetScrollPosition();
  EXPECT_EQ(at.x, 0);
  EXPECT_NEAR(at.y, -500, 2);
  EXPECT_EQ(view->GetDeviceScrollPosition().y, MulDiv(device.cy, 500, 2000));
  CClientDC dc(view);
  view->OnPrepareDC(&dc);
  EXPECT_EQ(dc.GetMapMode(), MM_LOENGLISH);
}

TEST_F(ScrollView, ScaleToFitAndFillOutside) {
  view->SetScrollSizes(MM_TEXT, CSize(100, 80));
  {
    CClientDC dc(view);
    CBrush grey(RGB(128, 128, 128));
    view->FillOutsideRect(&dc, &grey);
  }
  EXPECT_EQ(WindowPixel(view->m_hWnd, 150, 40), RGB(128, 128, 128));
  EXPECT_EQ(WindowPixel(view->m_hWnd, 50, 120), RGB(128, 128, 128));
  EXPECT_NE(WindowPixel(view->m_hWnd, 50, 40), RGB(128, 128, 128));

  view->SetScaleToFitSize(CSize(50, 50));
  CClientDC dc(view);
  view->OnPrepareDC(&dc);
  CPoint corner(50, 50);
  dc.LPtoDP(&corner);
  EXPECT_EQ(corner, CPoint(Client().cx, Client().cy)) << "the whole document fills the window";
  EXPECT_FALSE(view->GetStyle() & (WS_VSCROLL | WS_HSCROLL));
}

}  // namespace

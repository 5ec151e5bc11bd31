// Painting through the framework: CPaintDC in OnPaint validates what it paints, CClientDC and
// CWindowDC draw into the window's pixels and are released when they die.
#include <gtest/gtest.h>

#include "afx/afx.h"
#include "testing/testing.h"

using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using brambolt::test::WindowPixel;

namespace {

class PaintingWindow : public CWnd {
 public:
  int paints = 0;
  CRect paintRect;

 protected:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    ++paints;
    paintRect = dc.m_ps.rcPaint;
    dc.FillSolidRect(2, 3, 10, 5, RGB(0, 0, 255));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintingWindow, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(WindowPainting, PaintDCDrawsTheClientAreaAndValidatesIt) {
  UiSession session;
  PaintingWindow window;
  ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)), "", WS_POPUP | WS_VISIBLE,
                              0, 0, 40, 30, nullptr, nullptr));
  RunUntilIdle();
  EXPECT_EQ(window.paints, 1);
  EXPECT_EQ(window.paintRect, CRect(0, 0, 40, 30));
  EXPECT_EQ(WindowPixel(window.m_hWnd, 2, 3), RGB(0, 0, 255));
  EXPECT_EQ(WindowPixel(window.m_hWnd, 11, 7), RGB(0, 0, 255));
  EXPECT_NE(WindowPixel(window.m_hWnd, 12, 8), RGB(0, 0, 255));
  RunUntilIdle();
  EXPECT_EQ(window.paints, 1) << "EndPaint validated the window";
  window.InvalidateRect(CRect(5, 5, 8, 8), FALSE);
  RunUntilIdle();
  EXPECT_EQ(window.paints, 2);
  EXPECT_EQ(window.paintRect, CRect(5, 5, 8, 8));
  window.DestroyWindow();
}

TEST(WindowPainting, ClientAndWindowDCsDrawAndRelease) {
  UiSession session;
  PaintingWindow window;
  ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 0, 40, 30, nullptr,
                              nullptr));
  RunUntilIdle();
  size_t before = brambolt::GdiObjectCount();
  {
    CClientDC client(&window);
    client.FillSolidRect(0, 0, 1, 1, RGB(255, 0, 0));
    CWindowDC whole(&window);
    whole.FillSolidRect(0, 0, 1, 1, RGB(0, 255, 0));
  }
  EXPECT_EQ(brambolt::GdiObjectCount(), before) << "both DCs were released";
  EXPECT_EQ(WindowPixel(window.m_hWnd, 0, 0), RGB(0, 255, 0)) << "the window DC starts at the border";
  EXPECT_EQ(WindowPixel(window.m_hWnd, 1, 1), RGB(255, 0, 0)) << "the client DC starts inside it";
  window.DestroyWindow();
}

}  // namespace

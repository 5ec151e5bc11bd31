// The pan view: the overview's fit extent, the mark of the visible part following the view's
// scroll bars, dragging the mark (live and on drop), capture loss ending the drag and its
// pointer confinement, and the zoom view fitting its window.
#include <gtest/gtest.h>

#include "bars/SECPanView.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

class DocView : public SECPanView {
 public:
  void OnDraw(CDC* pDC) override { pDC->FillSolidRect(0, 0, GetDocSize().cx, GetDocSize().cy, RGB(0, 0, 200)); }
};

// A 2000 x 1000 document in a 400 x 300 view; its overview 200 x 200 (a 200 x 100 fit, 1:10).
struct PanFrame {
  CFrameWnd* frame = new CFrameWnd;
  DocView* view = new DocView;
  SECOverviewWnd* overview = nullptr;
  explicit PanFrame(BOOL livePan = TRUE) {
    EXPECT_TRUE(frame->Create(nullptr, "Pan", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 500)));
    EXPECT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, CRect(0, 0, 400, 300),
                             frame, AFX_IDW_PANE_FIRST));
    view->m_bLivePan = livePan;
    view->SetZoomSizes(CSize(2000, 1000));
    CRect client(CPoint(620, 0), CSize(200, 200));
    ::AdjustWindowRectEx(&client, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, FALSE, WS_EX_TOOLWINDOW);
    overview = view->ShowOverviewWnd(client);
    RunUntilIdle();
  }
  ~PanFrame() {
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  CPoint Scroll() const { return view->GetScrollPosition(); }
  CRect ViewClient() const {
    CRect rect;
    view->GetClientRect(&rect);
    return rect;
  }
};

TEST(PanView, FitExtentKeepsTheAspectRatioAndRefusesEmptySizes) {
  struct Case {
    CSize doc, window, fit;
  };
  const Case cases[] = {{{2000, 1000}, {200, 200}, {200, 100}},
                        {{500, 1000}, {200, 200}, {100, 200}},
                        {{300, 300}, {200, 100}, {100, 100}},
                        {{0, 1000}, {200, 200}, {0, 0}},
                        {{2000, 1000}, {0, 200}, {0, 0}}};
  for (const Case& c : cases) EXPECT_EQ(c.fit, SECPanView::FitExtent(c.doc, c.window)) << c.doc.cx << "x" << c.doc.cy;
}

TEST(PanView, MarkFollowsTheScrollBarsAndSpansAWhollyShownAxis) {
  UiSession session;
  PanFrame f;
  ASSERT_NE(nullptr, f.overview);
  const CRect client = f.ViewClient();
  EXPECT_EQ(CRect(0, 0, (client.Width() + 5) / 10, (client.Height() + 5) / 10), f.overview->GetVisibleRect());
  // A page is a tenth of the document: 200 across, 100 down.
  f.view->SendMessage(WM_HSCROLL, SB_PAGERIGHT, 0);
  f.view->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(CPoint(200, 100), f.Scroll());
  EXPECT_EQ(CPoint(20, 10), f.overview->GetVisibleRect().TopLeft());
  // The dotted mark is drawn into the overview (NOT-XOR over the document's blue): one of two
  // neighbouring pixels of its left edge is a dot.
  CRect window;
  ::GetWindowRect(f.overview->m_hWnd, &window);
  const POINT origin = ScreenPoint(f.overview->m_hWnd, {0, 0});
  auto pixel = [&](int x, int y) { return WindowPixel(f.overview->m_hWnd, origin.x - window.left + x, origin.y - window.top + y); };
  EXPECT_EQ(RGB(0, 0, 200), pixel(60, 50));
  EXPECT_TRUE(pixel(20, 15) != RGB(0, 0, 200) || pixel(20, 16) != RGB(0, 0, 200));

  PanFrame wide;
  wide.view->SetZoomSizes(CSize(300, 1000));
  wide.view->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
  EXPECT_EQ(0, wide.overview->GetVisibleRect().left);
  EXPECT_EQ(wide.overview->FitExtent().cx, wide.overview->GetVisibleRect().right) << "the whole width is shown";
}

TEST(PanView, DraggingTheMarkPansLiveOrOnDrop) {
  UiSession session;
  for (BOOL live : {TRUE, FALSE}) {
    SCOPED_TRACE(live ? "live" : "on drop");
    PanFrame f(live);
    HWND overview = f.overview->m_hWnd;
    ButtonDown(overview, {10, 10});
    EXPECT_TRUE(f.overview->IsDragging());
    RECT confine;
    ::GetClipCursor(&confine);
    EXPECT_LT(confine.right - confine.left, ::GetSystemMetrics(SM_CXSCREEN)) << "the pointer is confined";
    MoveMouse(overview, {30, 15});
    EXPECT_EQ(live ? CPoint(200, 50) : CPoint(0, 0), f.Scroll());
    ButtonUp(overview, {30, 15});
    EXPECT_FALSE(f.overview->IsDragging());
    EXPECT_EQ(CPoint(200, 50), f.Scroll());
    EXPECT_EQ(CPoint(20, 5), f.overview->GetVisibleRect().TopLeft());
    ::GetClipCursor(&confine);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), confine.right - confine.left) << "and freed again";
  }
}

TEST(PanView, LosingTheMouseEndsTheDragAndClosingForgetsTheOverview) {
  UiSession session;
  PanFrame f;
  ButtonDown(f.overview->m_hWnd, {10, 10});
  ASSERT_TRUE(f.overview->IsDragging());
  ::ReleaseCapture();
  RunUntilIdle();
  EXPECT_FALSE(f.overview->IsDragging());
  RECT confine;
  ::GetClipCursor(&confine);
  EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), confine.right - confine.left);
  f.overview->SendMessage(WM_CLOSE);
  EXPECT_EQ(nullptr, f.view->GetOverviewWnd());
}

TEST(PanView, ZoomViewRefitsItsScaleWhenSized) {
  UiSession session;
  PanFrame f;
  f.view->SetZoomMode(SECZoomView::SEC_ZOOMFIT);
  const CRect client = f.ViewClient();
  EXPECT_FLOAT_EQ(std::min(client.Width() / 2000.0f, client.Height() / 1000.0f), f.view->GetZoomLevel());
  f.view->MoveWindow(0, 0, 210, 300);
  RunUntilIdle();
  const CRect smaller = f.ViewClient();
  EXPECT_FLOAT_EQ(std::min(smaller.Width() / 2000.0f, smaller.Height() / 1000.0f), f.view->GetZoomLevel());
}

}  // namespace

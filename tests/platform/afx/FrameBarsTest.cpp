// The frame's bars: the layout of two toolbars, a status bar and a dock bar on each side;
// docking, floating and docking again by dragging (Ctrl floats, Shift turns, Escape cancels);
// showing and hiding; the saved docking layout through the registry and a profile file, and
// damaged layouts that must restore nothing harmful.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "afx/afx.h"
#include "testing/testing.h"
#include "win/Input.h"

using namespace brambolt::test;
using brambolt::InjectKey;
using brambolt::InjectMouseButton;
using brambolt::InjectMouseMove;
using brambolt::test::PrivateStores;

// Rectangles compare as text, so a failure shows both.
std::string R(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

namespace {

// A bar of a fixed size: `length` along its edge, `thickness` across it.
class BoxBar : public CControlBar {
 public:
  BoxBar(int length, int thickness) : length_(length), thickness_(thickness) {}

  using CControlBar::Create;
  BOOL Create(CWnd* parent, DWORD style, UINT id, LPCTSTR title = "Box") {
    m_dwStyle = style & CBRS_ALL;
    if (!AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG)) return FALSE;
    return CWnd::Create(AFX_WNDCONTROLBAR, title, (style & ~CBRS_ALL) | WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), parent,
                        id);
  }
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
    CSize size = bHorz ? CSize(length_, thickness_) : CSize(thickness_, length_);
    if (bStretch && bHorz) size.cx = 32767;
    if (bStretch && !bHorz) size.cy = 32767;
    return size;
  }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override { ++updates; }

  int updates = 0;

 private:
  int length_;
  int thickness_;
};

constexpr UINT kBarA = AFX_IDW_TOOLBAR;
constexpr UINT kBarB = AFX_IDW_TOOLBAR + 0x10;
constexpr UINT kBarLeft = AFX_IDW_TOOLBAR + 0x11;
constexpr UINT kBarRight = AFX_IDW_TOOLBAR + 0x12;

// A frame with a pane, a status bar made before docking (so it stays outermost), dock bars on
// all sides, two toolbars docked at the top (one row each unless told otherwise), and a bar on
// the left and on the right.
struct DockedFrame {
  CFrameWnd* frame = new CFrameWnd;
  CWnd pane;
  BoxBar status{0, 20};
  BoxBar barA{100, 26};
  BoxBar barB{120, 26};
  BoxBar left{150, 30};
  BoxBar right{150, 40};

  DockedFrame() {
    EXPECT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, CRect(20, 20, 660, 500)));
    EXPECT_TRUE(pane.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame,
                            AFX_IDW_PANE_FIRST));
    EXPECT_TRUE(status.Create(frame, CBRS_BOTTOM, AFX_IDW_STATUS_BAR, "Status"));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_TRUE(barA.Create(frame, CBRS_TOP, kBarA, "Bar A"));
    EXPECT_TRUE(barB.Create(frame, CBRS_TOP, kBarB, "Bar B"));
    EXPECT_TRUE(left.Create(frame, CBRS_LEFT, kBarLeft, "Left"));
    EXPECT_TRUE(right.Create(frame, CBRS_RIGHT, kBarRight, "Right"));
    for (BoxBar* bar : {&barA, &barB, &left, &right}) bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&barA);
    frame->DockControlBar(&barB);
    frame->DockControlBar(&left);
    frame->DockControlBar(&right);
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    RunUntilIdle();
  }
  ~DockedFrame() {
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  CDockBar* Dock(UINT id) { return static_cast<CDockBar*>(frame->GetControlBar(id)); }
  // A window's rectangle in the frame's client coordinates.
  CRect InFrame(const CWnd& wnd) const {
    CRect rect;
    wnd.GetWindowRect(&rect);
    frame->ScreenToClient(&rect);
    return rect;
  }
  CRect Client() const {
    CRect rect;
    frame->GetClientRect(&rect);
    return rect;
  }
};

TEST(FrameLayout, BarsTakeTheirEdgesAndThePaneTheRest) {
  UiSession session;
  DockedFrame f;
  CRect client = f.Client();
  // The status bar was made first: it lies outermost, along the whole bottom edge.
  EXPECT_EQ(R(f.InFrame(f.status)), R(CRect(0, client.bottom - 20, client.right, client.bottom)));
  // Two toolbar rows at the top: bars overlap the edge and each other by their 2-pixel borders,
  // and the dock bar adds its own 2-pixel border: 26 + 26 - 2 - 2 + 2.
  EXPECT_EQ(R(f.InFrame(*f.Dock(AFX_IDW_DOCKBAR_TOP))), R(CRect(0, 0, client.right, 48)));
  EXPECT_EQ(R(f.InFrame(f.barA)), R(CRect(-2, -2, 98, 24)));
  EXPECT_EQ(R(f.InFrame(f.barB)), R(CRect(-2, 22, 118, 48)));
  // The empty bottom dock bar takes nothing; the side ones lie between the top and the status bar.
  EXPECT_EQ(f.InFrame(*f.Dock(AFX_IDW_DOCKBAR_BOTTOM)).Height(), 0);
  CRect left = f.InFrame(*f.Dock(AFX_IDW_DOCKBAR_LEFT));
  CRect right = f.InFrame(*f.Dock(AFX_IDW_DOCKBAR_RIGHT));
  // Across: the bar less its two overlapping borders plus the dock bar's border (30 -> 28, 40 -> 38).
  EXPECT_EQ(R(left), R(CRect(0, 48, 28, client.bottom - 20)));
  EXPECT_EQ(R(right), R(CRect(client.right - 38, 48, client.right, client.bottom - 20)));
  EXPECT_EQ(R(f.InFrame(f.pane)), R(CRect(28, 48, client.right - 38, client.bottom - 20)));

  // Border space given away (an in-place part) comes off the pane.
  CRect border(5, 6, 7, 8);
  EXPECT_TRUE(f.frame->NegotiateBorderSpace(CFrameWnd::borderSet, &border));
  EXPECT_EQ(R(f.InFrame(f.pane)), R(CRect(33, 54, client.right - 45, client.bottom - 28)));
  EXPECT_TRUE(f.frame->NegotiateBorderSpace(CFrameWnd::borderSet, nullptr));
  EXPECT_EQ(R(f.InFrame(f.pane)), R(CRect(28, 48, client.right - 38, client.bottom - 20)));

  // The frame's size change lays everything out again.
  f.frame->SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
  client = f.Client();
  EXPECT_EQ(f.InFrame(f.status).bottom, client.bottom);
  EXPECT_EQ(R(f.InFrame(f.pane)), R(CRect(28, 48, client.right - 38, client.bottom - 20)));
}

TEST(FrameLayout, BarsDockedBesideEachOtherShareARowAndWrapWhenItIsTooShort) {
  UiSession session;
  DockedFrame f;
  CDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  // Bar B dropped right of bar A joins its row.
  CRect a;
  f.barA.GetWindowRect(&a);
  CRect drop(a.right + 10, a.top, a.right + 10 + 120, a.bottom);
  f.frame->DockControlBar(&f.barB, top, &drop);
  f.frame->RecalcLayout();
  EXPECT_EQ(R(f.InFrame(f.barA)), R(CRect(-2, -2, 98, 24)));
  EXPECT_EQ(R(f.InFrame(f.barB)), R(CRect(108, -2, 228, 24))) << "kept where it was dropped";
  EXPECT_EQ(f.InFrame(*top).Height(), 24);
  EXPECT_EQ(top->GetDockedCount(), 2);

  // A frame too narrow for both: B is pushed back left (never over A), then wraps to its own row.
  CRect window;
  f.frame->GetWindowRect(&window);
  const int nonClient = window.Width() - f.Client().Width();
  f.frame->SetWindowPos(nullptr, 0, 0, 220 + nonClient, 400, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(R(f.InFrame(f.barB)), R(CRect(102, -2, 222, 24))) << "pushed back so its end shows";
  f.frame->SetWindowPos(nullptr, 0, 0, 150 + nonClient, 400, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(f.InFrame(f.barB).left, 96) << "pushed back only as far as bar A ends";
  // Narrower than a frame's minimum tracking size: only without WM_WINDOWPOSCHANGING, whose
  // default handling would keep the frame at that size.
  f.frame->SetWindowPos(nullptr, 0, 0, 90 + nonClient, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOSENDCHANGING);
  f.frame->RecalcLayout();
  EXPECT_EQ(f.InFrame(f.barB).top, 22) << "nothing of it would show: a row of its own";
  EXPECT_EQ(f.InFrame(f.barB).left, -2);
}

TEST(FrameLayout, ShowControlBarNowAndDelayedAndTheViewMenuCommands) {
  UiSession session;
  DockedFrame f;
  CRect client = f.Client();
  f.frame->ShowControlBar(&f.status, FALSE, FALSE);
  EXPECT_FALSE(f.status.IsWindowVisible());
  EXPECT_EQ(f.InFrame(f.pane).bottom, client.bottom);
  // Delayed: nothing changes until the idle update lays the frame out.
  f.frame->ShowControlBar(&f.status, TRUE, TRUE);
  EXPECT_TRUE(f.status.IsVisible());
  EXPECT_FALSE(f.status.IsWindowVisible());
  f.frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_TRUE(f.status.IsWindowVisible());
  EXPECT_EQ(f.InFrame(f.pane).bottom, client.bottom - 20);

  // ID_VIEW_STATUS_BAR toggles the bar of that id; its update handler checks it.
  f.frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
  EXPECT_FALSE(f.status.IsWindowVisible());
  struct Probe : CCmdUI {
    int checked = -1;
    void SetCheck(int n) override { checked = n; }
    void Enable(BOOL) override {}
  } probe;
  probe.m_nID = ID_VIEW_STATUS_BAR;
  probe.DoUpdate(f.frame, FALSE);
  EXPECT_EQ(probe.checked, 0);
  f.frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
  probe.DoUpdate(f.frame, FALSE);
  EXPECT_EQ(probe.checked, 1);
}

// ---- dragging ----

CMiniDockFrameWnd* FloatingFrameOf(CControlBar& bar) {
  return bar.IsFloating() ? dynamic_cast<CMiniDockFrameWnd*>(bar.GetDockingFrame()) : nullptr;
}

TEST(FrameDocking, DraggingFloatsDocksAndDocksAgain) {
  UiSession session;
  DockedFrame f;
  // Dragged to the middle of the pane: the bar floats in a mini frame owned by the frame.
  Drag(f.barA.m_hWnd, POINT{50, 12}, POINT{250, 212});
  CMiniDockFrameWnd* floating = FloatingFrameOf(f.barA);
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->IsWindowVisible());
  EXPECT_EQ(::GetWindow(floating->m_hWnd, GW_OWNER), f.frame->m_hWnd);
  EXPECT_EQ(f.barA.m_pDockSite, f.frame) << "still the frame's bar";
  CString title;
  floating->GetWindowText(title);
  EXPECT_STREQ(title, "Bar A") << "the floating frame takes the bar's title";
  EXPECT_EQ(f.Dock(AFX_IDW_DOCKBAR_TOP)->GetDockedCount(), 1);
  // Its place in the top row is kept by a placeholder.
  EXPECT_GT(f.Dock(AFX_IDW_DOCKBAR_TOP)->FindBar(CDockBar::PlaceHolderOf(kBarA)), 0);
  // The frame around it is sized to it: the bar fills the client area.
  CRect inFrame;
  floating->GetClientRect(&inFrame);
  EXPECT_EQ(inFrame.Width(), 100 - 4);

  // Its frame's caption dragged onto the left edge docks it there, turned upright.
  CRect caption;
  floating->GetWindowRect(&caption);
  POINT grab{caption.left + 20, caption.top + 5};
  CRect leftDock;
  f.Dock(AFX_IDW_DOCKBAR_LEFT)->GetWindowRect(&leftDock);
  POINT onLeft{leftDock.left + 8, leftDock.top + 120};
  UiScript script;
  script.Then([&] {
    InjectMouseMove(POINT{(grab.x + onLeft.x) / 2, (grab.y + onLeft.y) / 2});
    InjectMouseMove(onLeft);
    InjectMouseButton(WM_LBUTTONUP, onLeft);
  });
  InjectMouseMove(grab);
  InjectMouseButton(WM_LBUTTONDOWN, grab);
  RunUntilIdle();
  EXPECT_FALSE(f.barA.IsFloating());
  EXPECT_EQ(f.barA.m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(f.barA.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
  RunUntilIdle();
  EXPECT_EQ(f.InFrame(f.barA).Width(), 26) << "upright: its thickness across";
  EXPECT_EQ(f.InFrame(f.barA).Height(), 100);
  EXPECT_EQ(f.Dock(AFX_IDW_DOCKBAR_LEFT)->GetDockedCount(), 2);
}

TEST(FrameDocking, CtrlFloatsShiftTurnsAndEscapeCancels) {
  UiSession session;
  DockedFrame f;
  CRect before = f.InFrame(f.barB);
  // Escape in the middle of a drag: nothing moves, the outline is gone from the screen.
  UiScript script;
  POINT start = ScreenPoint(f.barB.m_hWnd, POINT{60, 12});
  script.Then([&] {
    InjectMouseMove(POINT{start.x + 150, start.y + 200});
    InjectKey(VK_ESCAPE, true);
    InjectKey(VK_ESCAPE, false);
  });
  InjectMouseMove(start);
  InjectMouseButton(WM_LBUTTONDOWN, start);
  RunUntilIdle();
  InjectMouseButton(WM_LBUTTONUP, POINT{start.x + 150, start.y + 200});
  RunUntilIdle();
  EXPECT_EQ(R(f.InFrame(f.barB)), R(before));
  EXPECT_EQ(f.barB.m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(::GetCapture(), nullptr);

  // Dropped on the top edge with Ctrl held: it floats all the same.
  Drag(f.barB.m_hWnd, POINT{60, 12}, POINT{80, 14}, 4, kCtrl);
  ASSERT_TRUE(f.barB.IsFloating());
  CMiniDockFrameWnd* floating = FloatingFrameOf(f.barB);
  ASSERT_NE(floating, nullptr);
  EXPECT_NE(floating->m_wndDockBar.m_dwStyle & CBRS_ALIGN_TOP, 0u) << "floats lying as it was";

  // Bar A dragged into the pane with Shift held floats turned upright.
  Drag(f.barA.m_hWnd, POINT{50, 12}, POINT{300, 250}, 4, kShift);
  CMiniDockFrameWnd* upright = FloatingFrameOf(f.barA);
  ASSERT_NE(upright, nullptr);
  EXPECT_NE(upright->m_wndDockBar.m_dwStyle & CBRS_ALIGN_LEFT, 0u);
  CRect client;
  upright->GetClientRect(&client);
  EXPECT_GT(client.Height(), client.Width());
}

TEST(FrameDocking, DoubleClickTogglesBetweenTheLastDockedAndFloatingPlaces) {
  UiSession session;
  DockedFrame f;
  CRect docked = f.InFrame(f.barB);
  f.barB.m_pDockContext->ToggleDocking();
  CMiniDockFrameWnd* floating = FloatingFrameOf(f.barB);
  ASSERT_NE(floating, nullptr);
  // Double-clicking the floating frame's caption docks it back into its old row.
  CRect frameRect;
  floating->GetWindowRect(&frameRect);
  POINT caption{frameRect.left + 15, frameRect.top + 4};
  ASSERT_EQ(::SendMessage(floating->m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  HWND floatingWnd = floating->m_hWnd;  // the object goes with its window
  ::SendMessage(floatingWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.x, caption.y));
  RunUntilIdle();
  EXPECT_FALSE(f.barB.IsFloating());
  EXPECT_EQ(f.barB.m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_TOP));
  f.frame->RecalcLayout();
  EXPECT_EQ(R(f.InFrame(f.barB)), R(docked));
  EXPECT_LT(f.Dock(AFX_IDW_DOCKBAR_TOP)->FindBar(CDockBar::PlaceHolderOf(kBarB)), 0) << "the placeholder is used up";
  EXPECT_FALSE(::IsWindow(floatingWnd)) << "the empty frame went";
}

TEST(FrameDocking, FloatingFramesShowWithTheirBarsAndFollowTheFrameCaption) {
  UiSession session;
  DockedFrame f;
  f.frame->FloatControlBar(&f.left, ScreenPoint(f.frame->m_hWnd, POINT{200, 200}), CBRS_ALIGN_LEFT);
  CMiniDockFrameWnd* floating = FloatingFrameOf(f.left);
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->IsWindowVisible());
  // Hidden with the bar, delayed: the idle update hides the floating frame.
  f.frame->ShowControlBar(&f.left, FALSE, TRUE);
  EXPECT_TRUE(floating->IsWindowVisible());
  CWinApp app("Bars");
  app.OnIdle(0);
  EXPECT_FALSE(floating->IsWindowVisible());
  f.frame->ShowControlBar(&f.left, TRUE, TRUE);
  app.OnIdle(0);
  EXPECT_TRUE(floating->IsWindowVisible());
  EXPECT_TRUE(f.left.IsWindowVisible());

  // The floating frame's caption is active exactly when the frame is.
  f.frame->SetActiveWindow();
  RunUntilIdle();
  EXPECT_TRUE(floating->m_bActive);
  EXPECT_NE(f.frame->m_nFlags & WF_STAYACTIVE, 0u);
  auto* other = new CFrameWnd;  // deletes itself when destroyed
  ASSERT_TRUE(other->Create(nullptr, "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 100, 100)));
  other->SetActiveWindow();
  RunUntilIdle();
  EXPECT_FALSE(floating->m_bActive);
  EXPECT_EQ(f.frame->m_nFlags & WF_STAYACTIVE, 0u);
  other->DestroyWindow();
  // Activating the floating frame keeps the frame's caption active.
  floating->SetActiveWindow();
  RunUntilIdle();
  EXPECT_NE(f.frame->m_nFlags & WF_STAYACTIVE, 0u);
  // Activated while disabled, the frame and its floating frame draw inactive captions; enabled
  // again, both show active.
  const int captionY = ::GetSystemMetrics(SM_CYFRAME) + 3;
  f.frame->EnableWindow(FALSE);
  f.frame->SetActiveWindow();
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(f.frame->m_hWnd, 30, captionY), ::GetSysColor(COLOR_INACTIVECAPTION));
  f.frame->EnableWindow(TRUE);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(f.frame->m_hWnd, 30, captionY), ::GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_TRUE(floating->m_bActive);
}

// A bar that sizes itself (CBRS_SIZE_DYNAMIC) keeping its area: wider is shorter.
class AreaBar : public BoxBar {
 public:
  AreaBar() : BoxBar(100, 60) {}
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override {
    if (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) return CalcFixedLayout(dwMode & LM_STRETCH, dwMode & LM_HORZ);
    if (nLength > 0 && !(dwMode & LM_MRUWIDTH)) {
      CSize size = (dwMode & LM_LENGTHY) ? CSize(std::max(20, 6000 / nLength), nLength)
                                         : CSize(nLength, std::max(20, 6000 / nLength));
      if (dwMode & LM_COMMIT) mru = size;
      return size;
    }
    return mru;
  }
  CSize mru{100, 60};
};

// The floating frame of a bar that sizes itself: its sides size it (the bar laid out for the
// length asked), its corners act as the nearest side; a fixed-size bar's frame moves by its edges.
TEST(FrameDocking, FloatingFramesSizeByTheirSidesAndMoveByTheirEdges) {
  UiSession session;
  DockedFrame f;
  AreaBar sized;
  ASSERT_TRUE(sized.Create(f.frame, CBRS_TOP | CBRS_SIZE_DYNAMIC, AFX_IDW_TOOLBAR + 0x20, "Sized"));
  sized.EnableDocking(CBRS_ALIGN_ANY);
  f.frame->FloatControlBar(&sized, ScreenPoint(f.frame->m_hWnd, POINT{200, 200}));
  f.frame->FloatControlBar(&f.barA, ScreenPoint(f.frame->m_hWnd, POINT{200, 350}));
  CMiniDockFrameWnd* floating = FloatingFrameOf(sized);
  CMiniDockFrameWnd* fixed = FloatingFrameOf(f.barA);
  ASSERT_NE(floating, nullptr);
  ASSERT_NE(fixed, nullptr);
  RunUntilIdle();
  CRect frame;
  floating->GetWindowRect(&frame);
  auto hit = [](CWnd* wnd, POINT screen) {
    return static_cast<UINT>(wnd->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
  };
  // Sides size, corners become their side (each pixel of a side's border is that side's, the
  // top and bottom borders beside it are theirs), the caption still moves.
  CRect inside;
  floating->GetClientRect(&inside);
  floating->ClientToScreen(&inside);
  EXPECT_EQ(hit(floating, POINT{frame.right - 1, frame.CenterPoint().y}), static_cast<UINT>(HTRIGHT));
  EXPECT_EQ(hit(floating, POINT{frame.right - 1, frame.bottom - 1}), static_cast<UINT>(HTRIGHT));
  EXPECT_EQ(hit(floating, POINT{frame.left, frame.top}), static_cast<UINT>(HTLEFT));
  EXPECT_EQ(hit(floating, POINT{inside.right - 1, frame.bottom - 1}), static_cast<UINT>(HTBOTTOM));
  EXPECT_EQ(hit(floating, POINT{inside.left, frame.top}), static_cast<UINT>(HTTOP));
  CRect fixedFrame;
  fixed->GetWindowRect(&fixedFrame);
  EXPECT_EQ(hit(fixed, POINT{fixedFrame.right - 1, fixedFrame.CenterPoint().y}), static_cast<UINT>(HTCAPTION));

  // The right side dragged 100 further: the bar is laid out 200 wide, so 30 high, and the left
  // side stays where it was.
  CRect bar;
  sized.GetWindowRect(&bar);
  POINT grab{frame.right - 1, frame.CenterPoint().y};
  InjectMouseMove(grab);
  InjectMouseButton(WM_LBUTTONDOWN, grab);
  UiScript script;
  script.Then([&] { InjectMouseMove(POINT{grab.x + 50, grab.y}); });
  script.Then([&] { InjectMouseMove(POINT{grab.x + 100, grab.y}); });
  script.Then([&] { InjectMouseButton(WM_LBUTTONUP, POINT{grab.x + 100, grab.y}); });
  RunUntilIdle();
  RunUntilIdle();
  CRect after, barAfter;
  floating->GetWindowRect(&after);
  sized.GetWindowRect(&barAfter);
  EXPECT_EQ(barAfter.Width(), bar.Width() + 100);
  EXPECT_EQ(barAfter.Height(), 6000 / barAfter.Width());
  EXPECT_EQ(after.left, frame.left);
  EXPECT_EQ(::GetCapture(), nullptr);
}

// ---- the saved docking layout ----

class BarStateTest : public ::testing::Test {
 protected:
  PrivateStores stores;
  UiSession session;
};

// Floats bar B, docks the right bar at the top beside bar A, hides the left one, saves, undoes
// it all on a fresh frame and loads.
void RoundTrip(CWinApp& app) {
  CRect floatAt;
  CRect topRight;
  {
    DockedFrame f;
    f.frame->FloatControlBar(&f.barB, ScreenPoint(f.frame->m_hWnd, POINT{200, 150}));
    CRect a;
    f.barA.GetWindowRect(&a);
    CRect beside(a.right + 20, a.top, a.right + 20 + 150, a.top + 40);
    f.frame->DockControlBar(&f.right, AFX_IDW_DOCKBAR_TOP, &beside);
    f.frame->ShowControlBar(&f.left, FALSE, FALSE);
    f.frame->RecalcLayout();
    FloatingFrameOf(f.barB)->GetWindowRect(&floatAt);
    topRight = f.InFrame(f.right);
    f.frame->SaveBarState("Layout");
  }
  EXPECT_EQ(static_cast<int>(app.GetProfileInt("Layout-Summary", "Bars", 0)), 8) << "4 dock bars, 1 floating, 4 bars, less the empty bottom one";
  DockedFrame f;
  f.frame->LoadBarState("Layout");
  f.frame->RecalcLayout();
  RunUntilIdle();
  CMiniDockFrameWnd* floating = FloatingFrameOf(f.barB);
  ASSERT_NE(floating, nullptr) << "bar B floats again";
  CRect now;
  floating->GetWindowRect(&now);
  EXPECT_EQ(now.TopLeft(), floatAt.TopLeft());
  EXPECT_EQ(f.right.m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(R(f.InFrame(f.right)), R(topRight));
  EXPECT_EQ(f.right.GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_TOP));
  EXPECT_FALSE(f.left.IsVisible());
  EXPECT_TRUE(f.barA.IsVisible());
  // The top row keeps its order: bar A, then the right bar beside it.
  CDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  EXPECT_LT(top->FindBar(&f.barA), top->FindBar(&f.right));
}

// A layout put back while a bar still floats in the frame it was saved in: the bar moves into a
// new floating frame, titled as the bar, and outlives the old one, which closes once it is empty.
TEST_F(BarStateTest, AFloatingBarOutlivesTheFloatingFrameItLeavesWhenTheLayoutIsPutBack) {
  DockedFrame f;
  f.barB.SetWindowText("Bar B");
  f.frame->FloatControlBar(&f.barB, ScreenPoint(f.frame->m_hWnd, POINT{200, 150}));
  CMiniDockFrameWnd* before = FloatingFrameOf(f.barB);
  ASSERT_NE(before, nullptr);
  const HWND old = before->m_hWnd;
  CDockState state;
  f.frame->GetDockState(state);
  f.frame->SetDockState(state);
  RunUntilIdle();
  ASSERT_TRUE(::IsWindow(f.barB.m_hWnd));
  CMiniDockFrameWnd* after = FloatingFrameOf(f.barB);
  ASSERT_NE(after, nullptr);
  EXPECT_NE(after->m_hWnd, old);
  EXPECT_FALSE(::IsWindow(old));
  EXPECT_TRUE(after->IsWindowVisible() && f.barB.IsVisible());
  CString title;
  after->GetWindowText(title);
  EXPECT_EQ(std::string(title), "Bar B");
}

TEST_F(BarStateTest, RoundTripThroughTheRegistry) {
  CWinApp app("Bar State");
  app.SetRegistryKey("Brambolt Tests");
  RoundTrip(app);
}

TEST_F(BarStateTest, RoundTripThroughAProfileFile) {
  CWinApp app("Bar State Ini");
  std::string ini = stores.TempDir() + "/bars.ini";
  app.m_pszProfileName = ini.c_str();
  RoundTrip(app);
  std::string text;
  {
    FILE* file = std::fopen(ini.c_str(), "r");
    ASSERT_NE(file, nullptr);
    char buffer[4096];
    size_t n = std::fread(buffer, 1, sizeof(buffer), file);
    std::fclose(file);
    text.assign(buffer, n);
  }
  EXPECT_NE(text.find("[Layout-Summary]"), std::string::npos);
  EXPECT_NE(text.find("[Layout-Bar0]"), std::string::npos);
  EXPECT_EQ(text.find("MRUWidth"), std::string::npos) << "values at their defaults are not written";
  app.m_pszProfileName = nullptr;
}

TEST_F(BarStateTest, DamagedLayoutsRestoreNothingHarmful) {
  CWinApp app("Bar State Damaged");
  std::string ini = stores.TempDir() + "/damaged.ini";
  app.m_pszProfileName = ini.c_str();
  // A huge bar count, no screen size, a floating dock bar far off the screen listing an unknown
  // bar, a dock bar, itself and a bar twice, and a bar whose last dock bar is no dock bar.
  app.WriteProfileInt("Bad-Summary", "Bars", 2000000000);
  app.WriteProfileInt("Bad-Summary", "ScreenCX", 0);
  app.WriteProfileInt("Bad-Summary", "ScreenCY", -5);
  app.WriteProfileInt("Bad-Bar0", "BarID", AFX_IDW_DOCKBAR_FLOAT);
  app.WriteProfileInt("Bad-Bar0", "Floating", 1);
  app.WriteProfileInt("Bad-Bar0", "XPos", 900000);
  app.WriteProfileInt("Bad-Bar0", "YPos", -900000);
  app.WriteProfileInt("Bad-Bar0", "Bars", 2000000000);
  app.WriteProfileInt("Bad-Bar0", "Bar#1", 4242);
  app.WriteProfileInt("Bad-Bar0", "Bar#2", AFX_IDW_DOCKBAR_TOP);
  app.WriteProfileInt("Bad-Bar0", "Bar#3", kBarB);
  app.WriteProfileInt("Bad-Bar0", "Bar#4", kBarB);
  app.WriteProfileInt("Bad-Bar1", "BarID", kBarA);
  app.WriteProfileInt("Bad-Bar1", "Docking", 1);
  app.WriteProfileInt("Bad-Bar1", "MRUDockID", AFX_IDW_STATUS_BAR);
  app.WriteProfileInt("Bad-Bar1", "MRUFloatXPos", -77777);
  app.WriteProfileInt("Bad-Bar2", "BarID", kBarLeft);
  app.WriteProfileInt("Bad-Bar2", "Bars", 3);
  app.WriteProfileInt("Bad-Bar2", "Bar#1", kBarA);

  CDockState state;
  state.LoadState("Bad");
  EXPECT_LE(state.m_arrBarInfo.GetSize(), CDockState::kMaxBars);
  auto* first = static_cast<CControlBarInfo*>(state.m_arrBarInfo[0]);
  EXPECT_LE(first->m_arrBarID.GetSize(), CDockState::kMaxBars);
  EXPECT_EQ(state.GetScreenSize(), CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)))
      << "no scaling from a size that is not one";
  EXPECT_LE(std::abs(first->m_pointPos.x), ::GetSystemMetrics(SM_CXSCREEN)) << "kept near the screen";
  EXPECT_LE(std::abs(first->m_pointPos.y), ::GetSystemMetrics(SM_CYSCREEN));

  DockedFrame f;
  f.frame->LoadBarState("Bad");
  f.frame->RecalcLayout();
  RunUntilIdle();
  // Bar B floats once; the top dock bar stays where it is; nothing else moved.
  CMiniDockFrameWnd* floating = FloatingFrameOf(f.barB);
  ASSERT_NE(floating, nullptr);
  EXPECT_EQ(floating->m_wndDockBar.GetDockedCount(), 1);
  EXPECT_EQ(f.Dock(AFX_IDW_DOCKBAR_TOP)->GetParent(), f.frame);
  EXPECT_FALSE(f.Dock(AFX_IDW_DOCKBAR_TOP)->IsFloating());
  CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  CRect frameRect;
  floating->GetWindowRect(&frameRect);
  EXPECT_TRUE(screen.PtInRect(frameRect.TopLeft())) << "a floating frame stays reachable";
  // A record of an ordinary bar with a dock bar's list changes nothing.
  EXPECT_EQ(f.left.m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(f.barA.m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_TOP));
  // Toggling bar A goes nowhere strange: the status bar is no place to dock.
  EXPECT_EQ(f.barA.m_pDockContext->m_uMRUDockID, 0u);
  f.barA.m_pDockContext->ToggleDocking();
  ASSERT_TRUE(f.barA.IsFloating());
  f.barA.m_pDockContext->ToggleDocking();
  EXPECT_FALSE(f.barA.IsFloating());
  EXPECT_EQ(f.status.m_pDockBar, nullptr);
  app.m_pszProfileName = nullptr;
}

}  // namespace

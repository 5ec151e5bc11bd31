// Dragging toolkit bars on a frame: floating into the toolkit's floating frame and docking again
// on another side, Ctrl forcing a float, Escape cancelling, the 5-pixel threshold of a floating
// bar, double-click toggling with the row share kept, corner resizing of a floating bar, and
// splitters tracked to their limits or cancelled.
#include "DockTestSupport.h"
#include "bars/SECDockContext.h"
#include "bars/SECMiniDockFrameWnd.h"
#include "win/Input.h"

using namespace brambolt::test;
using brambolt::InjectKey;
using brambolt::InjectMouseButton;
using brambolt::InjectMouseMove;

namespace {

SECMiniDockFrameWnd* FloatingFrameOf(CControlBar& bar) {
  return bar.IsFloating() ? dynamic_cast<SECMiniDockFrameWnd*>(bar.GetParentFrame()) : nullptr;
}

// Presses at `from` (screen), then runs `moves` inside the drag loop and releases at the last.
void ScriptedDrag(POINT from, std::vector<POINT> moves, UINT keyHeld = 0) {
  UiScript script;
  script.Then([&] {
    for (POINT pt : moves) InjectMouseMove(pt);
    InjectMouseButton(WM_LBUTTONUP, moves.back());
    if (keyHeld != 0) InjectKey(keyHeld, false);
  });
  if (keyHeld != 0) InjectKey(keyHeld, true);
  InjectMouseMove(from);
  InjectMouseButton(WM_LBUTTONDOWN, from);
  RunUntilIdle();
}

// Presses at `from`, moves to `to` inside the loop and presses Escape there, then releases.
void EscapedDrag(POINT from, POINT to) {
  UiScript script;
  script.Then([&] {
    InjectMouseMove(to);
    InjectKey(VK_ESCAPE, true);
    InjectKey(VK_ESCAPE, false);
  });
  InjectMouseMove(from);
  InjectMouseButton(WM_LBUTTONDOWN, from);
  RunUntilIdle();
  InjectMouseButton(WM_LBUTTONUP, to);
  RunUntilIdle();
}

// A point on the bar's gripper (screen).
POINT Grip(SECControlBar& bar) { return ScreenPoint(bar.m_hWnd, POINT{8, 60}); }

}  // namespace

TEST(DockDrag, FloatsIntoTheToolkitFrameAndDocksOnAnotherSide) {
  UiSession session;
  DockFrame f;
  SECControlBar* keep = f.AddBar(CBRS_ALIGN_TOP);
  SECControlBar* bar = f.AddBar(CBRS_ALIGN_TOP);
  SECDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  top->DockControlBarAt(bar, 0, 1);
  f.Layout();
  bar->m_szFloat = CSize(150, 120);
  // Into the middle of the pane: a toolkit floating frame the user can size on every side.
  POINT grip = Grip(*bar);
  CRect pane;
  f.pane.GetWindowRect(&pane);
  ScriptedDrag(grip, {POINT{grip.x + 40, grip.y + 100}, pane.CenterPoint()});
  SECMiniDockFrameWnd* floating = FloatingFrameOf(*bar);
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->IsWindowVisible());
  EXPECT_FALSE(floating->GetStyle() & MFS_MOVEFRAME);
  EXPECT_FALSE(floating->GetStyle() & MFS_4THICKFRAME);
  CRect client;
  floating->GetClientRect(&client);
  EXPECT_EQ(client.Size(), CSize(150, 120));
  // Its place is kept, and the bar left behind takes the whole row.
  EXPECT_GT(top->FindBar(CDockBar::PlaceHolderOf(bar->GetDlgCtrlID())), 0);
  f.Layout();
  EXPECT_EQ(DockFrame::InParent(*keep).Width(), f.Client().Width());

  // Its caption dragged onto the frame's left edge docks it there, upright.
  CRect frameRect;
  floating->GetWindowRect(&frameRect);
  POINT caption{frameRect.left + 30, frameRect.top + 5};
  CRect frameClient = f.Client();
  f.frame->ClientToScreen(&frameClient);
  POINT onLeft{frameClient.left + 1, frameClient.top + 200};
  ScriptedDrag(caption, {POINT{caption.x - 50, caption.y}, onLeft});
  f.Layout();
  EXPECT_EQ(bar->m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(bar->GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
  EXPECT_EQ(DockFrame::InParent(*bar).Width(), bar->m_szVertDock.cx);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(DockDrag, CtrlFloatsAndEscapeCancels) {
  UiSession session;
  DockFrame f;
  SECControlBar* bar = f.AddBar(CBRS_ALIGN_TOP);
  f.Layout();
  CRect before = f.InFrame(*bar);
  POINT grip = Grip(*bar);
  // Escape in the middle of the drag: nothing moves.
  EscapedDrag(grip, POINT{grip.x + 150, grip.y + 200});
  EXPECT_EQ(R(f.InFrame(*bar)), R(before));
  EXPECT_FALSE(bar->IsFloating());
  // A drop on its own edge with Ctrl held floats it all the same.
  ScriptedDrag(grip, {POINT{grip.x + 3, grip.y + 2}, POINT{grip.x + 6, grip.y + 4}}, VK_CONTROL);
  EXPECT_TRUE(bar->IsFloating());
}

TEST(DockDrag, FloatingBarDocksOnlyAfterFivePixels) {
  struct Case {
    int moved;
    bool docks;
  } cases[] = {{4, false}, {5, true}};
  for (const Case& c : cases) {
    UiSession session;
    DockFrame f;
    f.AddBar(CBRS_ALIGN_TOP);
    SECControlBar* bar = f.AddBar(CBRS_ALIGN_TOP);
    f.Layout();
    bar->m_pDockContext->ToggleDocking();
    SECMiniDockFrameWnd* floating = FloatingFrameOf(*bar);
    ASSERT_NE(floating, nullptr);
    // The floating frame lies over the top dock bar, so the bar's outline is over that side.
    CRect top;
    f.Dock(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&top);
    floating->SetWindowPos(nullptr, top.left + 100, top.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect frameRect;
    floating->GetWindowRect(&frameRect);
    POINT caption{frameRect.left + 30, frameRect.top + 5};
    ScriptedDrag(caption, {POINT{caption.x + 1, caption.y}, POINT{caption.x + c.moved, caption.y}});
    EXPECT_EQ(!bar->IsFloating(), c.docks) << c.moved;
  }
}

TEST(DockDrag, DoubleClickFloatsAndDocksBackWithItsShare) {
  UiSession session;
  DockFrame f;
  auto row = f.AddTopRow(2);
  SECControlBar *a = row[0], *b = row[1];
  SECDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  a->m_fPctWidth = 0.7f;
  b->m_fPctWidth = 0.3f;
  f.Layout();
  f.Layout();
  const float share = b->m_fPctWidth;
  EXPECT_NEAR(share + a->m_fPctWidth, 1.0f, 1e-5);
  const int place = top->FindBar(b);
  const CRect docked = f.InFrame(*b);
  DoubleClick(b->m_hWnd, POINT{8, 60});
  ASSERT_TRUE(b->IsFloating());
  f.Layout();
  b->m_pDockContext->ToggleDocking();
  f.Layout();
  EXPECT_EQ(b->m_pDockBar, top);
  EXPECT_EQ(top->FindBar(b), place);
  EXPECT_NEAR(b->m_fPctWidth, share, 1e-5);
  EXPECT_EQ(R(f.InFrame(*b)), R(docked));
}

TEST(DockDrag, CornerResizeSizesBothWaysUnlessOneDimension) {
  struct Case {
    DWORD exStyle;
    bool both;
  } cases[] = {{CBRS_EX_GRIPPER, true}, {CBRS_EX_GRIPPER | CBRS_EX_STRETCH_ONE_DIMENSION, false}};
  for (const Case& c : cases) {
    UiSession session;
    DockFrame f;
    SECControlBar* bar = f.AddBar(CBRS_ALIGN_TOP, c.exStyle);
    bar->m_szFloat = CSize(160, 100);
    bar->m_pDockContext->ToggleDocking();
    SECMiniDockFrameWnd* floating = FloatingFrameOf(*bar);
    ASSERT_NE(floating, nullptr);
    floating->RecalcLayout();
    CRect before;
    floating->GetClientRect(&before);
    CRect frameRect;
    floating->GetWindowRect(&frameRect);
    POINT corner{frameRect.right - 1, frameRect.bottom - 1};
    UiScript script;
    script.Then([&] {
      InjectMouseMove(POINT{corner.x + 20, corner.y + 15});
      InjectMouseMove(POINT{corner.x + 40, corner.y + 30});
      InjectMouseButton(WM_LBUTTONUP, POINT{corner.x + 40, corner.y + 30});
    });
    InjectMouseMove(corner);
    InjectMouseButton(WM_LBUTTONDOWN, corner);
    bar->m_pDockContext->StartResize(HTBOTTOMRIGHT, corner);
    RunUntilIdle();
    floating = FloatingFrameOf(*bar);
    ASSERT_NE(floating, nullptr);
    CRect client;
    floating->GetClientRect(&client);
    if (c.both) {
      EXPECT_EQ(client.Size(), CSize(200, 130));
    } else {
      // Toolbar-like: sized along one dimension only.
      EXPECT_TRUE(client.Width() == before.Width() || client.Height() == before.Height())
          << client.Width() << "x" << client.Height();
    }
  }
}

TEST(DockDrag, SplittersStopAtTheirLimitsAndEscapeLeavesSizes) {
  UiSession session;
  DockFrame f;
  auto row = f.AddTopRow(2);
  SECControlBar *a = row[0], *b = row[1];
  SECDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  const CRect ra = DockFrame::InParent(*a);
  POINT splitter{ra.right + 3, ra.CenterPoint().y};
  POINT start = ScreenPoint(top->m_hWnd, splitter);
  // Escape: every size stays.
  EscapedDrag(start, POINT{start.x + 100, start.y});
  f.Layout();
  EXPECT_EQ(R(DockFrame::InParent(*a)), R(ra));
  // Dragged far past the end: b keeps 24 pixels.
  AdvanceClock(1000);
  ScriptedDrag(start, {POINT{start.x + 2000, start.y}});
  f.Layout();
  EXPECT_EQ(DockFrame::InParent(*b).Width(), 24);
  EXPECT_EQ(DockFrame::InParent(*b).right, f.Client().Width());
  // And back past the start: a keeps 24.
  CRect now = DockFrame::InParent(*a);
  POINT back = ScreenPoint(top->m_hWnd, POINT{now.right + 3, now.CenterPoint().y});
  AdvanceClock(1000);
  ScriptedDrag(back, {POINT{back.x - 3000, back.y}});
  f.Layout();
  EXPECT_EQ(DockFrame::InParent(*a).Width(), 24);
}

TEST(DockDrag, DockingDecisionTable) {
  UiSession session;
  DockFrame f;
  f.AddBar(CBRS_ALIGN_TOP);   // the top side has a row
  f.AddBar(CBRS_ALIGN_LEFT);  // and the left side
  SECControlBar* bar = f.AddBar(CBRS_ALIGN_BOTTOM);
  f.Layout();
  CRect top, left, pane;
  f.Dock(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&top);
  f.Dock(AFX_IDW_DOCKBAR_LEFT)->GetWindowRect(&left);
  f.pane.GetWindowRect(&pane);
  const CSize horz(200, 40), vert(40, 200);
  struct Case {
    const char* what;
    DWORD barSide, allowed;
    CPoint point;      // the mouse, inside both outlines
    CPoint horzAt, vertAt;  // where the outlines' top-left corners lie
    BOOL flip;
    DWORD expected;
  } cases[] = {
      {"lying bar over the top side", CBRS_ALIGN_TOP, CBRS_ALIGN_ANY, CPoint(top.left + 60, top.top + 20),
       CPoint(top.left + 10, top.top + 5), CPoint(top.left + 50, top.top + 5), FALSE, CBRS_ALIGN_TOP},
      {"lying bar, only left and right allowed, over the top", CBRS_ALIGN_TOP, CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT,
       CPoint(top.left + 60, top.top + 20), CPoint(top.left + 10, top.top + 5), CPoint(top.left + 50, top.top + 5),
       FALSE, 0},
      {"upright bar whose mouse is over the left side", CBRS_ALIGN_LEFT, CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT,
       CPoint(left.left + 10, left.top + 50), CPoint(left.left, left.top + 40), CPoint(left.left, left.top + 40),
       FALSE, CBRS_ALIGN_LEFT},
      {"upright outline over the left side, mouse in the pane", CBRS_ALIGN_LEFT, CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT,
       CPoint(left.right + 20, left.top + 50), CPoint(left.right + 1, left.top + 40),
       CPoint(left.right - 25, left.top + 40), FALSE, 0},
      {"lying bar turned by Shift over the left side", CBRS_ALIGN_TOP, CBRS_ALIGN_ANY,
       CPoint(left.left + 10, left.top + 50), CPoint(pane.left + 5, left.top + 40), CPoint(left.left, left.top + 40),
       TRUE, CBRS_ALIGN_LEFT},
      {"both outlines in the pane", CBRS_ALIGN_TOP, CBRS_ALIGN_ANY, pane.CenterPoint(), pane.CenterPoint(),
       pane.CenterPoint(), FALSE, 0},
  };
  for (const Case& c : cases) {
    SECDockContext context(bar);
    context.m_pDockSite = f.frame;
    context.m_dwStyle = c.barSide;
    context.m_dwDockStyle = c.allowed;
    context.m_bFlip = c.flip;
    context.m_ptLast = c.point;
    context.m_rectDragHorz = CRect(c.horzAt, horz);
    context.m_rectDragVert = CRect(c.vertAt, vert);
    EXPECT_EQ(context.CanDock(), c.expected) << c.what;
  }
}

TEST(DockDrag, FloatingWidthStaysWithinItsLimits) {
  UiSession session;
  DockFrame f;
  SECControlBar* bar = f.AddBar(CBRS_ALIGN_TOP);
  bar->m_szFloat = CSize(160, 100);
  bar->m_pDockContext->ToggleDocking();
  SECMiniDockFrameWnd* floating = FloatingFrameOf(*bar);
  ASSERT_NE(floating, nullptr);
  floating->RecalcLayout();
  CRect frameRect;
  floating->GetWindowRect(&frameRect);
  POINT edge{frameRect.left, frameRect.CenterPoint().y};
  // The left edge dragged far past the right one: the width stops at the floating minimum.
  UiScript script;
  script.Then([&] {
    InjectMouseMove(POINT{edge.x + 1000, edge.y});
    InjectMouseButton(WM_LBUTTONUP, POINT{edge.x + 1000, edge.y});
  });
  InjectMouseMove(edge);
  InjectMouseButton(WM_LBUTTONDOWN, edge);
  bar->m_pDockContext->StartResize(HTLEFT, edge);
  RunUntilIdle();
  auto* context = static_cast<SECDockContext*>(bar->m_pDockContext);
  EXPECT_EQ(bar->m_szFloat, CSize(160, 100)) << "a move past the limit is refused whole";
  EXPECT_GE(frameRect.Width(), context->m_sizeMinFloat.cx);
}

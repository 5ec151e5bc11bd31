// The toolkit's plain toolbar: creation rules, separator width, wrapping kept per docking state,
// the row share applied to stretched layouts, toolbar-only rows with 3-D borders, button rects,
// and the borders, gripper and margins outside the client area.
#include "DockTestSupport.h"
#include "bars/SECToolBar.h"

using namespace brambolt::test;

namespace {

const UINT kIds[] = {24050, 24051, 0, 24052, 24053, 24054, 0, 24055};
constexpr int kCount = static_cast<int>(sizeof(kIds) / sizeof(kIds[0]));

}  // namespace

TEST(ToolBarBase, CreationRulesAndSeparators) {
  UiSession session;
  DockFrame f;
  SECToolBar main, other;
  ASSERT_TRUE(main.Create(f.frame, "Main", WS_VISIBLE | CBRS_TOP, CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER, AFX_IDW_TOOLBAR));
  ASSERT_TRUE(other.Create(f.frame, "Other", WS_VISIBLE | CBRS_TOP, CBRS_EX_THIN_BORDERS, AFX_IDW_TOOLBAR + 1));
  // The frame's main toolbar hides while an in-place server is active; the toolbar never keeps
  // the thin-border bit, whatever gripper bits come with it.
  EXPECT_TRUE(main.GetBarStyle() & CBRS_HIDE_INPLACE);
  EXPECT_FALSE(other.GetBarStyle() & CBRS_HIDE_INPLACE);
  EXPECT_EQ(main.GetExBarStyle(), static_cast<DWORD>(CBRS_EX_GRIPPER));
  EXPECT_EQ(other.GetExBarStyle(), 0u);
  ASSERT_TRUE(main.SetButtons(kIds, kCount));
  TBBUTTON button{};
  ASSERT_TRUE(main.GetButton(2, &button));
  EXPECT_TRUE(button.fsStyle & TBSTYLE_SEP);
  EXPECT_EQ(button.iBitmap, SECToolBar::kSeparatorWidth);
  EXPECT_EQ(main.GetItemID(3), 24052u);
  EXPECT_FALSE(main.GetButton(kCount, &button));
  // Horizontally docked: one row of six 23-pixel buttons and two separators inside the margins.
  CSize horz = main.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
  CRect inside(0, 0, 0, 0);
  main.CalcInsideRect(inside, TRUE);
  EXPECT_EQ(horz.cx, 6 * 23 + 2 * SECToolBar::kSeparatorWidth - inside.Width());
  EXPECT_EQ(horz.cy, 22 - inside.Height());
  // Upright: one column, the separators wrapping as gaps between rows.
  CSize vert = main.CalcDynamicLayout(-1, LM_VERTDOCK);
  EXPECT_GT(vert.cy, 6 * 22);
  EXPECT_LT(vert.cx, horz.cx);
}

TEST(ToolBarBase, StretchedLayoutTakesTheRowShare) {
  UiSession session;
  DockFrame f;
  SECToolBar bar;
  ASSERT_TRUE(bar.Create(f.frame, "Bar", WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, 0, 24060));
  ASSERT_TRUE(bar.SetButtons(kIds, kCount));
  bar.m_fPctWidth = 0.5f;
  // Stretched over 140 pixels at half the row: wrapped as for 70.
  CSize stretched = bar.CalcLayout(LM_HORZ | LM_STRETCH, 140);
  CSize plain = bar.CalcLayout(LM_HORZ, 70);
  EXPECT_EQ(stretched, plain);
  EXPECT_GT(plain.cy, bar.CalcLayout(LM_HORZ, 140).cy);
}

TEST(ToolBarBase, ToolbarRowsGetThreeDimensionalBordersAndKeepTheirPlace) {
  UiSession session;
  DockFrame f;
  SECToolBar bar;
  ASSERT_TRUE(bar.Create(f.frame, "Tools", WS_VISIBLE | CBRS_TOP, CBRS_EX_STRETCH_ONE_DIMENSION, 24061));
  ASSERT_TRUE(bar.SetButtons(kIds, kCount));
  bar.EnableDocking(CBRS_ALIGN_ANY);
  f.frame->DockControlBar(&bar, f.Dock(AFX_IDW_DOCKBAR_TOP));
  SECControlBar* panel = f.AddBar(CBRS_ALIGN_TOP);
  f.Layout();
  EXPECT_TRUE(bar.GetExBarStyle() & CBRS_EX_BORDER_3D);
  EXPECT_FALSE(panel->GetExBarStyle() & CBRS_EX_BORDER_3D);
  // Moved along its row, it stays there at the next layout.
  bar.SetWindowPos(nullptr, 120, DockFrame::InParent(bar).top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  f.Layout();
  EXPECT_EQ(DockFrame::InParent(bar).left, 120);
  // Its buttons lie inside it, in order.
  CRect first, second;
  bar.GetItemRect(0, &first);
  bar.GetItemRect(1, &second);
  CRect client;
  bar.GetClientRect(&client);
  EXPECT_TRUE(client.PtInRect(first.TopLeft()));
  EXPECT_EQ(second.left, first.right);
  CRect none;
  bar.GetItemRect(kCount, &none);
  EXPECT_TRUE(none.IsRectEmpty());
}

TEST(ToolBarBase, BordersGripperAndMarginsLieOutsideTheClientAreaThatTheButtonsFill) {
  UiSession session;
  DockFrame f;
  SECToolBar bar;
  ASSERT_TRUE(bar.Create(f.frame, "Tools", WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_BORDER_ANY, CBRS_EX_BORDER_3D, 24062));
  ASSERT_TRUE(bar.SetButtons(kIds, kCount));
  f.Layout();
  CRect window, client, control, inside(0, 0, 0, 0);
  bar.GetWindowRect(&window);
  bar.GetClientRect(&client);
  bar.ClientToScreen(&client);
  bar.GetToolBarCtrl().GetWindowRect(&control);
  bar.CalcInsideRect(inside, TRUE);
  EXPECT_EQ(CRect(window.left + inside.left, window.top + inside.top, window.right + inside.right,
                  window.bottom + inside.bottom),
            client);
  EXPECT_EQ(client, control) << "the toolbar control fills the client area";
  EXPECT_GT(inside.left, inside.top) << "the gripper lies in the left margin";
  EXPECT_EQ(HTCLIENT, bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.left + 1, window.top + 1)));
  // Painted outside the client area: the 3-D border at the edge, the face inside it.
  bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  RunUntilIdle();
  const int midY = window.Height() / 2;
  EXPECT_NE(::GetSysColor(COLOR_BTNFACE), WindowPixel(bar.m_hWnd, 0, midY));
  EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), WindowPixel(bar.m_hWnd, inside.left - 1, midY));
}

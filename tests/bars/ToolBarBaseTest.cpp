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

// The two size messages a caller sends a toolbar change its buttons: the docked bar is laid out
// again with the new size; a size that is not positive is refused and changes nothing.
TEST(ToolBarBase, ButtonAndBitmapSizeMessagesResizeTheButtons) {
  UiSession session;
  DockFrame f;
  SECToolBar bar;
  ASSERT_TRUE(bar.Create(f.frame, "Tools", WS_VISIBLE | CBRS_TOP, 0, 24063));
  ASSERT_TRUE(bar.SetButtons(kIds, kCount));
  bar.EnableDocking(CBRS_ALIGN_ANY);
  f.frame->DockControlBar(&bar, f.Dock(AFX_IDW_DOCKBAR_TOP));
  f.Layout();
  auto buttonRect = [&] {
    CRect rect;
    bar.GetItemRect(0, &rect);
    return rect.Size();
  };
  ASSERT_EQ(buttonRect(), CSize(23, 22));
  const struct {
    UINT message;
    CSize size, image, button;
    LRESULT taken;
  } cases[] = {
      {TB_SETBUTTONSIZE, CSize(40, 36), CSize(16, 15), CSize(40, 36), TRUE},
      // The buttons keep room for their edges around a larger image.
      {TB_SETBITMAPSIZE, CSize(36, 32), CSize(36, 32), CSize(43, 38), TRUE},
      {TB_SETBUTTONSIZE, CSize(0, 30), CSize(36, 32), CSize(43, 38), FALSE},
      {TB_SETBITMAPSIZE, CSize(-4, 20), CSize(36, 32), CSize(43, 38), FALSE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.size.cx) + "x" + std::to_string(c.size.cy));
    EXPECT_EQ(bar.SendMessage(c.message, 0, MAKELPARAM(c.size.cx, c.size.cy)), c.taken);
    f.Layout();
    EXPECT_EQ(bar.m_sizeImage, c.image);
    EXPECT_EQ(bar.m_sizeButton, c.button);
    EXPECT_EQ(buttonRect(), c.button) << "the docked bar's buttons";
    CRect inside(0, 0, 0, 0);
    bar.CalcInsideRect(inside, TRUE);
    EXPECT_EQ(DockFrame::InParent(bar).Height(), c.button.cy - inside.Height());
  }
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

// The toolkit's gripper (bit 0x200) of a docked toolbar: its extent is kept free on the leading
// edge outside the buttons, its ridge and close button are drawn there, and the close button
// hides the bar; docked on a side, the gripper runs across the top instead. Thin borders, given
// after creation, leave a one-pixel border instead of the framework's.
TEST(ToolBarBase, TheToolkitsGripperHasItsRoomAndIsDrawnThere) {
  struct Case {
    DWORD side;
    UINT dockId;
    BOOL horz;
    BOOL thin;
  };
  for (const Case& c : {Case{CBRS_TOP, AFX_IDW_DOCKBAR_TOP, TRUE, FALSE}, Case{CBRS_LEFT, AFX_IDW_DOCKBAR_LEFT, FALSE, FALSE},
                        Case{CBRS_TOP, AFX_IDW_DOCKBAR_TOP, TRUE, TRUE}}) {
    SCOPED_TRACE(std::string(c.horz ? "horizontal" : "vertical") + (c.thin ? ", thin" : ""));
    UiSession session;
    DockFrame f;
    SECToolBar bar;
    ASSERT_TRUE(bar.Create(f.frame, "Tools", WS_VISIBLE | c.side | CBRS_BORDER_ANY,
                           CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE, 24063));
    ASSERT_TRUE(bar.SetButtons(kIds, kCount));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    f.frame->DockControlBar(&bar, f.Dock(c.dockId));
    if (c.thin) bar.ModifyExBarStyle(0, CBRS_EX_THIN_BORDERS);
    f.Layout();
    ASSERT_TRUE(bar.IsWindowVisible());
    const int extent = c.horz ? bar.m_gripper.GetWidth() : bar.m_gripper.GetHeight();
    const int border = c.thin ? 1 : 2 * ::GetSystemMetrics(SM_CXBORDER);
    const CPoint origin = bar.ClientOrigin();
    EXPECT_EQ(c.horz ? origin.x : origin.y, border + extent) << "the gripper's room, not the margin";
    CRect first;
    bar.GetItemRect(0, &first);
    EXPECT_GE(c.horz ? first.left : first.top, 0) << "the buttons start after the gripper";

    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    RunUntilIdle();
    CRect window;
    bar.GetWindowRect(&window);
    // The ridge, 3 pixels wide, 4 in from the strip that starts a pixel inside the borders.
    const int ridge = border + 1 + 4;
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_BTNSHADOW);
    // Clear of the close button, which sits at the top (horizontal) or the right end (vertical).
    const int across = c.horz ? window.Height() - border - 6 : border + 6;
    auto pixel = [&](int along, int at) {
      return c.horz ? WindowPixel(bar.m_hWnd, along, at) : WindowPixel(bar.m_hWnd, at, along);
    };
    EXPECT_EQ(pixel(ridge, across), light);
    EXPECT_EQ(pixel(ridge + 2, across), dark);
    EXPECT_EQ(pixel(ridge + 8, across), ::GetSysColor(COLOR_BTNFACE));
    ASSERT_FALSE(bar.m_rectClose.IsRectEmpty());

    // The close button, drawn outside the client area, answers the mouse there.
    const CPoint close = bar.m_rectClose.CenterPoint();
    EXPECT_LT(c.horz ? close.x : close.y, 0) << "left of (above) the client area";
    Click(bar.m_hWnd, close);
    RunUntilIdle();
    EXPECT_FALSE(bar.IsWindowVisible()) << "the close button hid the bar";
  }
}

// The toolkit control bar itself: inside areas with and without gripper and margins, children
// laid out in proportion (also when made after the bar), the right-click menu ("Allow Docking"
// restores exactly the sides it had; the keyboard form opens a quarter across), gripper tips,
// the floating frame's border following bit 0x4, and the pixels of grippers and splitters.
#include "DockTestSupport.h"
#include "bars/SECDockContext.h"
#include "win/Input.h"

using namespace brambolt::test;

namespace {

// A frame that adds an item to every bar's context menu and records who asked.
class MenuFrame : public CFrameWnd {
 public:
  CControlBar* asked = nullptr;

 protected:
  afx_msg LRESULT OnExtend(WPARAM wParam, LPARAM lParam) {
    asked = reinterpret_cast<CControlBar*>(wParam);
    reinterpret_cast<CMenu*>(lParam)->AppendMenu(MF_STRING, 24090, "Frame's own");
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuFrame, CFrameWnd)
  ON_MESSAGE(WM_SEC_EXTENDCONTEXTMENU, OnExtend)
END_MESSAGE_MAP()

struct MenuSeen {
  std::vector<std::pair<UINT, UINT>> items;  // id, state
  CRect window;
};

// Opens the bar's context menu at `point` (screen; -1, -1 from the keyboard), records it and
// chooses the item with `choose` (0: Escape).
MenuSeen OpenMenu(CWnd& bar, CPoint point, UINT choose) {
  MenuSeen seen;
  ModalAnswers answers;
  answers.When("#32768", nullptr, [&](HWND menu) {
    HMENU popup = reinterpret_cast<HMENU>(::SendMessage(menu, MN_GETHMENU, 0, 0));
    ::GetWindowRect(menu, &seen.window);
    int index = -1;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
      seen.items.emplace_back(::GetMenuItemID(popup, i), ::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION));
      if (::GetMenuItemID(popup, i) == choose) index = i;
    }
    for (int i = 0; i <= index; ++i) {
      brambolt::InjectKey(VK_DOWN, true);
      brambolt::InjectKey(VK_DOWN, false);
    }
    const UINT key = index >= 0 ? VK_RETURN : VK_ESCAPE;
    brambolt::InjectKey(key, true);
    brambolt::InjectKey(key, false);
  });
  bar.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(point.x, point.y));
  RunUntilIdle();
  return seen;
}

}  // namespace

TEST(ControlBar, InsideAreaFollowsGripperMarginsAndFloating) {
  UiSession session;
  DockFrame f;
  SECControlBar* top = f.AddBar(CBRS_ALIGN_TOP, CBRS_EX_GRIPPER, CSize(300, 100));
  SECControlBar* left = f.AddBar(CBRS_ALIGN_LEFT, CBRS_EX_GRIPPER, CSize(300, 100));
  SECControlBar* margins = f.AddBar(CBRS_ALIGN_BOTTOM, CBRS_EX_INNER_MARGINS, CSize(300, 100));
  f.Layout();
  struct Case {
    SECControlBar* bar;
    int left, top, rightLoss, bottomLoss;
  } cases[] = {
      {top, 17, 3, 3, 3},       // gripper across the leading edge, margin 3 elsewhere
      {left, 3, 17, 3, 3},      // the same turned
      {margins, 10, 10, 10, 10},  // the inner margins
  };
  for (const Case& c : cases) {
    CRect client, inside;
    c.bar->GetClientRect(&client);
    c.bar->GetInsideRect(inside);
    EXPECT_EQ(R(inside), R(CRect(c.left, c.top, client.right - c.rightLoss, client.bottom - c.bottomLoss)));
  }
  // Floating, the gripper and its buttons are gone: the children get the whole client area.
  top->ModifyExBarStyle(0, CBRS_EX_GRIPPER_CLOSE | CBRS_EX_GRIPPER_EXPAND, FALSE);
  top->m_pDockContext->ToggleDocking();
  ASSERT_TRUE(top->IsFloating());
  CRect client, inside;
  top->GetClientRect(&client);
  top->GetInsideRect(inside);
  EXPECT_EQ(R(inside), R(client));
}

TEST(ControlBar, ChildrenFollowTheBarInProportion) {
  UiSession session;
  DockFrame f;
  // Made with an empty rectangle, its children after it: the list is made at the first size.
  SECControlBar* bar = f.AddBar(CBRS_ALIGN_TOP, CBRS_EX_ALLOW_MULTIPLE_CHILDREN, CSize(400, 120));
  CWnd leftChild, rightChild;
  ASSERT_TRUE(leftChild.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 50), bar, 1));
  ASSERT_TRUE(rightChild.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(100, 50, 200, 100), bar, 2));
  bar->SetWindowPos(nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
  bar->SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(R(DockFrame::InParent(leftChild)), R(CRect(0, 0, 200, 150)));
  EXPECT_EQ(R(DockFrame::InParent(rightChild)), R(CRect(200, 150, 400, 300)));
  // Fit-first-child: the first child fills the inside area.
  SECControlBar* fit = f.AddBar(CBRS_ALIGN_LEFT, CBRS_EX_FIT_FIRST_CHILD | CBRS_EX_GRIPPER, CSize(300, 150));
  CWnd only;
  ASSERT_TRUE(only.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), fit, 3));
  f.Layout();
  fit->SetWindowPos(nullptr, 0, 0, 150, 301, SWP_NOMOVE | SWP_NOZORDER);
  CRect inside;
  fit->GetInsideRect(inside);
  EXPECT_EQ(R(DockFrame::InParent(only)), R(inside));
}

TEST(ControlBar, AllowDockingRestoresTheSidesAndTheFrameExtendsTheMenu) {
  UiSession session;
  auto* frame = new MenuFrame;
  DockFrame f(CRect(20, 20, 660, 500), frame);
  SECControlBar* bar = f.AddBar(CBRS_ALIGN_TOP, CBRS_EX_STDCONTEXTMENU | CBRS_EX_GRIPPER);
  bar->EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_RIGHT);
  f.Layout();
  // Keyboard form: a quarter across the bar, 10 pixels down; the frame added its item.
  CRect client;
  bar->GetClientRect(&client);
  MenuSeen seen = OpenMenu(*bar, CPoint(-1, -1), 0);
  EXPECT_EQ(frame->asked, bar);
  ASSERT_EQ(seen.items.size(), 3u);
  EXPECT_EQ(seen.items[0].first, ID_SEC_ALLOWDOCKING);
  EXPECT_TRUE(seen.items[0].second & MF_CHECKED);
  EXPECT_EQ(seen.items[1].first, ID_SEC_HIDE);
  EXPECT_EQ(seen.items[2].first, 24090u);
  EXPECT_EQ(seen.window.TopLeft(), CPoint(ScreenPoint(bar->m_hWnd, POINT{client.Width() / 4, 10})));
  // Unchecked: the docked bar floats and may not dock.
  OpenMenu(*bar, CPoint(-1, -1), ID_SEC_ALLOWDOCKING);
  EXPECT_TRUE(bar->IsFloating());
  EXPECT_EQ(bar->m_dwDockStyle & CBRS_ALIGN_ANY, 0u);
  seen = OpenMenu(*bar, CPoint(-1, -1), ID_SEC_ALLOWDOCKING);
  EXPECT_FALSE(seen.items[0].second & MF_CHECKED);
  EXPECT_EQ(bar->m_dwDockStyle & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_TOP | CBRS_ALIGN_RIGHT));
  // "Hide".
  OpenMenu(*bar, CPoint(-1, -1), ID_SEC_HIDE);
  EXPECT_FALSE(bar->IsVisible());
}

TEST(ControlBar, GripperButtonTipsAndFloatingFrameBorders) {
  UiSession session;
  DockFrame f;
  auto row = f.AddTopRow(2);
  SECControlBar *a = row[0], *b = row[1];
  struct Case {
    CPoint point;
    INT_PTR id;
    const char* text;
  } cases[] = {
      {a->m_rectClose.CenterPoint(), SEC_TOOLID_CLOSE, "Hide docked window"},
      {a->m_rectExpand.CenterPoint(), SEC_TOOLID_EXPAND, "Expand docked window"},
      {CPoint(200, 60), -1, nullptr},
  };
  for (const Case& c : cases) {
    TOOLINFO info{};
    info.cbSize = sizeof(info);
    EXPECT_EQ(a->OnToolHitTest(c.point, &info), c.id);
    if (c.text == nullptr) continue;
    EXPECT_STREQ(info.lpszText, c.text);
    std::free(info.lpszText);
  }
  // Expanded, the button contracts.
  f.Dock(AFX_IDW_DOCKBAR_TOP)->ExpandBar(a, 1);
  f.Layout();
  TOOLINFO info{};
  info.cbSize = sizeof(info);
  EXPECT_EQ(a->OnToolHitTest(a->m_rectExpand.CenterPoint(), &info), static_cast<INT_PTR>(SEC_TOOLID_EXPAND));
  EXPECT_STREQ(info.lpszText, "Contract docked window");
  std::free(info.lpszText);
  // Floating: a full sizing frame, or four thin sides for a one-dimension bar.
  b->m_pDockContext->ToggleDocking();
  CFrameWnd* floating = b->GetParentFrame();
  ASSERT_TRUE(b->IsFloating());
  EXPECT_TRUE(floating->GetStyle() & MFS_THICKFRAME);
  b->ModifyExBarStyle(0, CBRS_EX_STRETCH_ONE_DIMENSION);
  EXPECT_TRUE(floating->GetStyle() & MFS_4THICKFRAME);
  EXPECT_FALSE(floating->GetStyle() & MFS_THICKFRAME);
  EXPECT_TRUE(floating->GetStyle() & WS_THICKFRAME) << "the four sides still size it";
}

TEST(ControlBar, GripperAndSplitterPixels) {
  UiSession session;
  DockFrame f;
  SECControlBar* a = f.AddTopRow(2, CBRS_EX_GRIPPER)[0];
  SECDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  f.frame->UpdateWindow();
  RunUntilIdle();
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
  // The raised line of the gripper, 3 wide: inside the docked bar's 2-pixel borders, 1 pixel in,
  // then 4 into the strip.
  const int y = 40, x = 2 + 1 + 4;
  EXPECT_EQ(WindowPixel(a->m_hWnd, x - 1, y), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(WindowPixel(a->m_hWnd, x, y), light);
  EXPECT_EQ(WindowPixel(a->m_hWnd, x + 2, y), shadow);
  EXPECT_NE(WindowPixel(a->m_hWnd, x + 1, y), shadow);
  // The in-row splitter: raised edges, face between; the row's edge above: shadow then light.
  const CRect ra = DockFrame::InParent(*a);
  EXPECT_EQ(WindowPixel(top->m_hWnd, ra.right, y), light);
  EXPECT_EQ(WindowPixel(top->m_hWnd, ra.right + 3, y), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(WindowPixel(top->m_hWnd, ra.right + 5, y), shadow);
  EXPECT_EQ(WindowPixel(top->m_hWnd, 100, 0), shadow);
  EXPECT_EQ(WindowPixel(top->m_hWnd, 100, 1), light);
  SaveWindowPng(f.frame->m_hWnd, "dock_pixels.png");
}

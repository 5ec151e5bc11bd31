// Docking in the toolkit frames: dock bars on every side, a bar docked at a row and column with
// its length, floated in a resizable mini frame and docked again, floated in the main window as
// MDI children that cascade and hide when closed and come back there in a new frame, the bar's
// context menu, the layout saved and loaded again through the profile, the quiet moves of dock bars
// and a floating frame laid out at a point.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "bars/SECBarStyles.h"
#include "bars/SECControlBar.h"
#include "bars/SECDockBar.h"
#include "bars/SECMDIChildWnd.h"
#include "bars/SECMDIFrameWnd.h"
#include "bars/SECMiniDockFrameWnd.h"
#include "bars/SECStatusBar.h"
#include "bars/SECWorkbook.h"
#include "bars/SECWorksheet.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

template <class Frame>
struct DockingFrame {
  UiSession session;
  PrivateStores stores;
  CWinApp app{"Frame Docking"};
  Frame* frame = new Frame;
  std::vector<std::unique_ptr<SECControlBar>> bars;

  DockingFrame() {
    EXPECT_TRUE(frame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 500)));
    app.m_pMainWnd = frame;
    frame->EnableDocking(CBRS_ALIGN_ANY);
    RunUntilIdle();
  }
  ~DockingFrame() {
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
  }
  SECControlBar* AddBar(DWORD exStyle = CBRS_EX_GRIPPER) {
    auto bar = std::make_unique<SECControlBar>();
    const UINT id = 24110 + static_cast<UINT>(bars.size());
    EXPECT_TRUE(bar->Create(frame, "Explorer", WS_VISIBLE | CBRS_LEFT, exStyle, id));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    bars.push_back(std::move(bar));
    return bars.back().get();
  }
  CDockBar* Dock(UINT id) { return static_cast<CDockBar*>(frame->GetControlBar(id)); }
};

TEST(FrameDocking, DockBarsOnEverySideAndABarDockedAtItsWidth) {
  DockingFrame<SECMDIFrameWnd> f;
  for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
    ASSERT_NE(f.Dock(id), nullptr) << id;
    EXPECT_TRUE(f.Dock(id)->IsKindOf(RUNTIME_CLASS(SECDockBar))) << id;
  }
  EXPECT_EQ(f.frame->m_pFloatingFrameClass, RUNTIME_CLASS(SECMiniDockFrameWnd));
  SECControlBar* bar = f.AddBar();
  f.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 220);
  RunUntilIdle();
  EXPECT_EQ(bar->m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_FLOAT_EQ(bar->m_fPctWidth, 1.0f);
  CRect rc;
  bar->GetWindowRect(&rc);
  EXPECT_EQ(rc.Width(), 220);

  // Floated in a mini frame that can be resized, then docked again on the right.
  f.frame->FloatControlBar(bar, CPoint(200, 150));
  RunUntilIdle();
  ASSERT_TRUE(bar->IsFloating());
  CFrameWnd* floating = bar->GetParentFrame();
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->IsKindOf(RUNTIME_CLASS(SECMiniDockFrameWnd)));
  EXPECT_NE(floating->GetStyle() & WS_THICKFRAME, 0u);
  f.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 150);
  RunUntilIdle();
  EXPECT_FALSE(bar->IsFloating());
  EXPECT_EQ(bar->m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_RIGHT));

  // A point off the desktop keeps ten pixels of the floating bar on it.
  f.frame->FloatControlBar(bar, CPoint(100000, 100000));
  RunUntilIdle();
  CRect floatRect;
  bar->GetParentFrame()->GetWindowRect(&floatRect);
  CRect work;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(floatRect.left, work.right - 10);
  EXPECT_LE(floatRect.top, work.bottom - 10);
}

TEST(FrameDocking, BarsFloatInTheMainWindowAsCascadedChildren) {
  DockingFrame<SECMDIFrameWnd> f;
  std::vector<SECControlBar*> bars;
  for (int i = 0; i < 3; ++i) {
    bars.push_back(f.AddBar(CBRS_EX_GRIPPER | CBRS_EX_ALLOW_MDI_FLOAT));
    f.frame->DockControlBarEx(bars.back(), AFX_IDW_DOCKBAR_TOP, 0, i, 1.0f, 100);
  }
  const POINT expected[] = {{30, 30}, {50, 53}, {70, 76}};
  for (int i = 0; i < 3; ++i) {
    f.frame->FloatControlBarInMDIChild(bars[i], CPoint(-1, -1));
    RunUntilIdle();
    auto* child = dynamic_cast<SECControlBarMDIChildWnd*>(bars[i]->GetParentFrame());
    ASSERT_NE(child, nullptr) << i;
    EXPECT_TRUE(bars[i]->IsMDIChild()) << i;
    CRect rc;
    child->GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, f.frame->m_hWndMDIClient, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, expected[i].x) << i;
    EXPECT_EQ(rc.top, expected[i].y) << i;
  }

  // The bar's context menu: docking grayed, "Float In Main Window" checked.
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_SEC_ALLOWDOCKING, "Allow Docking");
  f.frame->SendMessage(WM_SEC_EXTENDCONTEXTMENU, reinterpret_cast<WPARAM>(bars[0]),
                       reinterpret_cast<LPARAM>(&menu));
  EXPECT_NE(menu.GetMenuState(ID_SEC_ALLOWDOCKING, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_NE(menu.GetMenuState(ID_SEC_MDIFLOAT, MF_BYCOMMAND) & MF_CHECKED, 0u);
  CString text;
  menu.GetMenuString(ID_SEC_MDIFLOAT, text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Float In Main Window");

  // Closing the child hides the bar; showing the bar brings the child back.
  CFrameWnd* child = bars[1]->GetParentFrame();
  child->SendMessage(WM_CLOSE);
  RunUntilIdle();
  ASSERT_TRUE(::IsWindow(child->GetSafeHwnd()));
  EXPECT_FALSE(bars[1]->IsWindowVisible());
  EXPECT_FALSE(child->IsWindowVisible());
  SECMDIFrameWnd::ShowControlBar(bars[1], TRUE, FALSE);
  RunUntilIdle();
  EXPECT_TRUE(bars[1]->IsWindowVisible());
  EXPECT_TRUE(child->IsWindowVisible());
}

TEST(FrameDocking, WorkbookBarChildrenAreWorksheetsWithTabs) {
  DockingFrame<SECWorkbook> f;
  f.frame->SetWorkbookMode(TRUE);
  SECControlBar* bar = f.AddBar(CBRS_EX_GRIPPER | CBRS_EX_ALLOW_MDI_FLOAT);
  f.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 200);
  f.frame->FloatControlBarInMDIChild(bar, CPoint(-1, -1));
  RunUntilIdle();
  auto* sheet = dynamic_cast<SECControlBarWorksheet*>(bar->GetParentFrame());
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(f.frame->GetSheetCount(), 1);
  EXPECT_EQ(f.frame->GetSheet(0), sheet);
  EXPECT_NE(sheet->m_hIcon, nullptr);  // the system's logo when the bar has no icon
}

// A bar floated in the main window over a maximised document, hidden from the frame: the document
// comes back maximised and active; shown again, the bar's worksheet comes in front of it, active.
TEST(FrameDocking, AWorksheetBarHiddenAndShownGivesTheFrontToTheDocumentAndTakesItBack) {
  DockingFrame<SECWorkbook> f;
  f.frame->SetWorkbookMode(TRUE);
  auto* document = new SECWorksheet;
  ASSERT_TRUE(document->Create(nullptr, "Alpha.cpp", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                               CFrameWnd::rectDefault, f.frame));
  f.frame->MDIMaximize(document);
  SECControlBar* bar = f.AddBar(CBRS_EX_GRIPPER | CBRS_EX_ALLOW_MDI_FLOAT);
  f.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 200);
  f.frame->FloatControlBarInMDIChild(bar, CPoint(-1, -1));
  RunUntilIdle();
  CFrameWnd* sheet = bar->GetParentFrame();
  BOOL maximized = FALSE;
  ASSERT_EQ(f.frame->MDIGetActive(&maximized), sheet);
  f.frame->ShowControlBar(bar, FALSE, FALSE);
  RunUntilIdle();
  EXPECT_EQ(f.frame->MDIGetActive(&maximized), document);
  EXPECT_TRUE(maximized);
  f.frame->ShowControlBar(bar, TRUE, FALSE);
  RunUntilIdle();
  EXPECT_TRUE(sheet->IsWindowVisible());
  EXPECT_EQ(f.frame->MDIGetActive(&maximized), sheet);
  EXPECT_TRUE(maximized);
}

// A bar floated in the main window beside a maximised document opens maximised; restored, in the
// workbook's frame and the plain MDI frame alike, its window takes the size the bar floats at,
// inside the documents' area, the bar whole in sight.
TEST(FrameDocking, ABarFloatedBesideAMaximisedDocumentIsRestoredToASoundSize) {
  auto check = [](auto& f, CMDIChildWnd* document) {
    f.frame->MDIMaximize(document);
    SECControlBar* bar = f.AddBar(CBRS_EX_GRIPPER | CBRS_EX_ALLOW_MDI_FLOAT);
    f.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 200);
    RunUntilIdle();
    f.frame->FloatControlBarInMDIChild(bar, CPoint(-1, -1));
    RunUntilIdle();
    CFrameWnd* child = bar->GetParentFrame();
    ASSERT_TRUE(child != nullptr && child->IsZoomed());
    child->SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    RunUntilIdle();
    ASSERT_FALSE(child->IsZoomed());
    CRect client, area, window, inBar;
    child->GetClientRect(&client);
    EXPECT_GE(client.Width(), 100);
    EXPECT_GE(client.Height(), 100);
    ::GetClientRect(f.frame->m_hWndMDIClient, &area);
    child->GetWindowRect(&window);
    ::MapWindowPoints(nullptr, f.frame->m_hWndMDIClient, reinterpret_cast<POINT*>(&window), 2);
    EXPECT_TRUE(window.left >= 0 && window.top >= 0 && window.right <= area.right && window.bottom <= area.bottom)
        << "the child reaches out of the documents' area";
    bar->GetWindowRect(&inBar);
    child->ScreenToClient(&inBar);
    EXPECT_LE(inBar.right, client.right);
    EXPECT_LE(inBar.bottom, client.bottom);
  };
  {
    DockingFrame<SECMDIFrameWnd> f;
    auto* document = new CMDIChildWnd;
    ASSERT_TRUE(document->Create(nullptr, "Alpha.cpp", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                 CFrameWnd::rectDefault, f.frame));
    check(f, document);
  }
  {
    DockingFrame<SECWorkbook> f;
    f.frame->SetWorkbookMode(TRUE);
    auto* document = new SECWorksheet;
    ASSERT_TRUE(document->Create(nullptr, "Alpha.cpp", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                 CFrameWnd::rectDefault, f.frame));
    check(f, document);
  }
}

TEST(FrameDocking, WorkbookStripLiesBetweenClientAndStatusBarAndNeverUnderBars) {
  DockingFrame<SECWorkbook> f;
  SECCustomStatusBar status;
  status.Create(f.frame);
  const UINT ids[] = {0, ID_INDICATOR_CAPS};
  status.SetIndicators(ids, 2);
  SECControlBar* bar = f.AddBar(CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE);
  f.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 180);
  f.frame->SetWorkbookMode(TRUE);
  for (const char* title : {"Alpha.cpp", "Beta.h", "A very long document title.cpp"}) {
    auto* sheet = new SECWorksheet;
    sheet->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, f.frame);
  }
  f.frame->RecalcLayout();
  RunUntilIdle();
  CRect client, statusRect, barRect;
  ::GetWindowRect(f.frame->m_hWndMDIClient, &client);
  status.GetWindowRect(&statusRect);
  bar->GetWindowRect(&barRect);
  EXPECT_EQ(client.bottom + 22, statusRect.top);
  EXPECT_GE(client.left, barRect.right);
  // No tab is painted over the docked bar beside the strip.
  CRect window;
  f.frame->GetWindowRect(&window);
  const int y = client.bottom + 8 - window.top;
  for (int x = barRect.left + 2; x < barRect.right - 2; x += 4)
    EXPECT_NE(WindowPixel(f.frame->GetSafeHwnd(), x - window.left, y), RGB(0x80, 0x80, 0x80)) << x;
  // The inactive tabs are grey, beside the bar.
  EXPECT_EQ(WindowPixel(f.frame->GetSafeHwnd(), client.left + 18 - window.left, client.bottom + 3 - window.top),
            RGB(0x80, 0x80, 0x80));
}

TEST(FrameDocking, LayoutSavedAndLoadedThroughTheProfile) {
  DockingFrame<SECMDIFrameWnd> f;
  SECControlBar* bar = f.AddBar();
  f.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 180);
  RunUntilIdle();
  f.frame->SaveBarState("Layout");
  f.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 80);
  RunUntilIdle();
  ASSERT_EQ(bar->m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_BOTTOM));
  f.frame->LoadBarState("Layout");
  RunUntilIdle();
  EXPECT_EQ(bar->m_pDockBar, f.Dock(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(f.app.GetProfileInt("Layout-Summary", "Bars", -1) > 0, true);
}

TEST(FrameDocking, BarsFloatingInTheMainWindowComeBackThereInANewFrame) {
  DockingFrame<SECMDIFrameWnd> f;
  SECControlBar* bar = f.AddBar(CBRS_EX_GRIPPER | CBRS_EX_ALLOW_MDI_FLOAT);
  f.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 180);
  f.frame->FloatControlBarInMDIChild(bar, CPoint(-1, -1));
  RunUntilIdle();
  auto inClient = [&](CWnd* wnd) {
    CRect rc;
    wnd->GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, f.frame->m_hWndMDIClient, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  };
  ASSERT_TRUE(bar->IsMDIChild());
  bar->GetParentFrame()->SetWindowPos(nullptr, 60, 40, 230, 170, SWP_NOZORDER | SWP_NOACTIVATE);
  RunUntilIdle();
  const CRect placed = inClient(bar->GetParentFrame());
  EXPECT_EQ(placed.Size(), CSize(230, 170)) << "the child keeps its size through its layout";
  f.frame->SaveBarState("Layout");
  const UINT id = bar->GetDlgCtrlID();
  f.frame->DestroyWindow();

  // The next start: the same bar docked in a new frame, then the saved layout.
  f.frame = new SECMDIFrameWnd;
  ASSERT_TRUE(f.frame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 500)));
  f.app.m_pMainWnd = f.frame;
  f.frame->EnableDocking(CBRS_ALIGN_ANY);
  f.bars.push_back(std::make_unique<SECControlBar>());
  bar = f.bars.back().get();
  ASSERT_TRUE(bar->Create(f.frame, "Explorer", WS_VISIBLE | CBRS_LEFT, CBRS_EX_GRIPPER | CBRS_EX_ALLOW_MDI_FLOAT, id));
  bar->EnableDocking(CBRS_ALIGN_ANY);
  f.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 180);
  RunUntilIdle();
  f.frame->LoadBarState("Layout");
  RunUntilIdle();
  ASSERT_TRUE(bar->IsMDIChild());
  auto* child = dynamic_cast<SECControlBarMDIChildWnd*>(bar->GetParentFrame());
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(inClient(child), placed);
  EXPECT_TRUE(child->IsWindowVisible());
  EXPECT_TRUE(bar->IsWindowVisible());
  EXPECT_EQ(f.Dock(AFX_IDW_DOCKBAR_LEFT)->GetDockedCount(), 0);
}

// A dock bar and a floating frame that record the flags of their moves.
class SpyDockBar : public SECDockBar {
  DECLARE_DYNCREATE(SpyDockBar)

 public:
  std::vector<UINT> moves;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_WINDOWPOSCHANGED) {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
        moves.push_back(pos->flags & (SWP_NOREDRAW | SWP_NOCOPYBITS));
    }
    return SECDockBar::WindowProc(message, wParam, lParam);
  }
};
IMPLEMENT_DYNCREATE(SpyDockBar, SECDockBar)

class SpyMiniFrame : public SECMiniDockFrameWnd {
  DECLARE_DYNCREATE(SpyMiniFrame)

 public:
  int moves = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_WINDOWPOSCHANGED &&
        (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
      ++moves;
    return SECMiniDockFrameWnd::WindowProc(message, wParam, lParam);
  }
};
IMPLEMENT_DYNCREATE(SpyMiniFrame, SECMiniDockFrameWnd)

TEST(FrameDocking, DockBarMovesOfALayoutCopyAndRedrawOnlyWhatTheyMust) {
  struct Case {
    BOOL horz;
    CSize before, after;
    UINT flags;
  } cases[] = {
      {TRUE, {300, 40}, {300, 40}, SWP_NOCOPYBITS}, {TRUE, {300, 40}, {300, 70}, SWP_NOREDRAW},
      {TRUE, {300, 40}, {320, 40}, 0},              {FALSE, {40, 300}, {70, 300}, SWP_NOREDRAW},
      {FALSE, {40, 300}, {40, 280}, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SECDockBar::QuietMoveFlags(c.horz, c.before, c.after), c.flags) << c.after.cx << "x" << c.after.cy;

  UiSession session;
  CWinApp app{"Quiet moves"};
  auto* frame = new SECMDIFrameWnd;
  frame->m_pDockBarClass = RUNTIME_CLASS(SpyDockBar);
  ASSERT_TRUE(frame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 500)));
  app.m_pMainWnd = frame;
  frame->EnableDocking(CBRS_ALIGN_ANY);
  std::vector<std::unique_ptr<SECControlBar>> bars;
  for (UINT id : {24110u, 24111u}) {
    bars.push_back(std::make_unique<SECControlBar>());
    ASSERT_TRUE(bars.back()->Create(frame, "Bar", WS_VISIBLE | CBRS_TOP, CBRS_EX_GRIPPER, id));
    bars.back()->EnableDocking(CBRS_ALIGN_ANY);
  }
  frame->DockControlBarEx(bars[0].get(), AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 40);
  RunUntilIdle();
  auto* top = static_cast<SpyDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
  top->moves.clear();
  // A second row: the dock bar grows across only, while its rows are being redrawn anyway.
  frame->DockControlBarEx(bars[1].get(), AFX_IDW_DOCKBAR_TOP, 0, 1, 1.0f, 40);
  RunUntilIdle();
  EXPECT_EQ(top->moves, std::vector<UINT>{SWP_NOREDRAW});
  // A longer frame lengthens the dock bar: an ordinary move.
  top->moves.clear();
  frame->SetWindowPos(nullptr, 0, 0, 760, 500, SWP_NOMOVE | SWP_NOZORDER);
  RunUntilIdle();
  EXPECT_EQ(top->moves, std::vector<UINT>{0u});
  // A layout made while the rows are redrawn anyway that leaves the dock bar where it was moves
  // nothing, and leaves nothing behind: the dock bar's next move, made by someone else, is an
  // ordinary one.
  top->moves.clear();
  top->m_nRedrawSuppress = 1;
  frame->RecalcLayout();
  EXPECT_TRUE(top->moves.empty());
  EXPECT_FALSE(top->m_bQuietMovePending);
  CRect dock;
  top->GetWindowRect(&dock);
  top->SetWindowPos(nullptr, 0, 0, dock.Width(), dock.Height() + 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(top->moves, std::vector<UINT>{0u}) << "no quiet flags on an unrelated move";
  RunUntilIdle();

  // A floating frame laid out at a point takes its place and size in one move.
  frame->m_pFloatingFrameClass = RUNTIME_CLASS(SpyMiniFrame);
  frame->FloatControlBar(bars[0].get(), CPoint(200, 150));
  RunUntilIdle();
  auto* floating = dynamic_cast<SpyMiniFrame*>(bars[0]->GetParentFrame());
  ASSERT_NE(floating, nullptr);
  bars[0]->CalcDynamicLayout(150, LM_HORZ | LM_COMMIT);
  bars[0]->CalcDynamicLayout(90, LM_HORZ | LM_LENGTHY | LM_COMMIT);
  floating->moves = 0;
  floating->RecalcLayoutAt(120, 140);
  EXPECT_EQ(floating->moves, 1);
  CRect window, client;
  floating->GetWindowRect(&window);
  floating->GetClientRect(&client);
  EXPECT_EQ(window.TopLeft(), CPoint(120, 140));
  EXPECT_EQ(client.Size(), CSize(150, 90));
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
}

}  // namespace

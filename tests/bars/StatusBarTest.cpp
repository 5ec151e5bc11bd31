// The toolkit's status bar: indicators and their widths, pane layout along the bar, texts sent
// only when they change, disabled panes, the window text, indexes outside the table, the bar's
// height, per-pane updates from the frame, the custom bar's cursors and parent layout, and a
// progress control shown in a pane.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bars/SECProgressCtrl.h"
#include "bars/SECStatusBar.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

constexpr UINT kMissingString = 24199;
constexpr UINT kUpdatedPane = 24198;

class StatusFrame : public CFrameWnd {
 public:
  // TRUE or FALSE: the handler enables or disables its pane; -1: it only sets the text.
  int enablePane = TRUE;
  CString paneText = "ready";
  // Whether anything answers the pane (off: the view that did has closed).
  bool answersPane = true;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (nID == kUpdatedPane && !answersPane) return FALSE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }

 protected:
  afx_msg void OnUpdatePane(CCmdUI* pCmdUI) {
    if (enablePane != -1) pCmdUI->Enable(enablePane);
    pCmdUI->SetText(paneText);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(StatusFrame, CFrameWnd)
  ON_UPDATE_COMMAND_UI(kUpdatedPane, OnUpdatePane)
END_MESSAGE_MAP()

std::string ControlText(SECStatusBar& bar, int index) {
  char text[128] = {};
  ::SendMessage(bar.GetSafeHwnd(), SB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

struct StatusFixture {
  UiSession session;
  StatusFrame* frame = new StatusFrame;
  SECCustomStatusBar bar;
  StatusFixture() {
    frame->Create(nullptr, "Status", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300));
    bar.Create(frame);
    const UINT ids[] = {0, kUpdatedPane, kMissingString};
    bar.SetIndicators(ids, 3);
    frame->RecalcLayout();
    RunUntilIdle();
  }
  ~StatusFixture() {
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
  }
};

TEST(StatusBar, IndicatorsSizeThePanesAndTheFirstSeparatorStretches) {
  StatusFixture f;
  UINT id = 0, style = 0;
  int width = 0;
  ASSERT_TRUE(f.bar.GetPaneInfo(0, id, style, width));
  EXPECT_EQ(id, 0u);
  EXPECT_EQ(style & (SBPS_STRETCH | SBPS_NOBORDERS), static_cast<UINT>(SBPS_STRETCH | SBPS_NOBORDERS));
  EXPECT_EQ(width, ::GetSystemMetrics(SM_CXSCREEN) / 4);
  EXPECT_TRUE(f.bar.GetPaneText(2).IsEmpty());  // no string of that id
  EXPECT_EQ(f.bar.CommandToIndex(kUpdatedPane), 1);
  EXPECT_EQ(f.bar.CommandToIndex(12345), -1);

  // The stretching pane takes what the others leave; the panes follow each other.
  CRect client, first, second, third;
  f.bar.GetClientRect(&client);
  f.bar.GetItemRect(0, &first);
  f.bar.GetItemRect(1, &second);
  f.bar.GetItemRect(2, &third);
  EXPECT_LT(first.right, second.left + 1);
  EXPECT_LT(second.right, third.left + 1);
  EXPECT_GT(first.Width(), ::GetSystemMetrics(SM_CXSCREEN) / 4 - 1);
  EXPECT_EQ(third.Width(), 6);  // an empty text and its margin

  // The bar lies along the frame's bottom edge.
  CRect frameClient, barRect;
  f.frame->GetClientRect(&frameClient);
  f.bar.GetWindowRect(&barRect);
  f.frame->ScreenToClient(&barRect);
  EXPECT_EQ(barRect.bottom, frameClient.bottom);
  EXPECT_EQ(barRect.Width(), frameClient.Width());
  EXPECT_EQ(barRect.Height(), f.bar.CalcFixedLayout(TRUE, TRUE).cy);
  EXPECT_EQ(f.bar.CalcFixedLayout(TRUE, FALSE), CSize(0, 0));
}

TEST(StatusBar, TextsAreSentOnceAndDisabledPanesShowNone) {
  StatusFixture f;
  ASSERT_TRUE(f.bar.SetPaneText(0, "Loading"));
  EXPECT_EQ(ControlText(f.bar, 0), "Loading");
  // Set behind the bar's back: the same text again sends nothing.
  ::SendMessage(f.bar.GetSafeHwnd(), SB_SETTEXT, 0, reinterpret_cast<LPARAM>("other"));
  f.bar.SetPaneText(0, "Loading");
  EXPECT_EQ(ControlText(f.bar, 0), "other");
  // Without update the text waits for the next paint.
  f.bar.SetPaneText(0, "Later", FALSE);
  EXPECT_EQ(ControlText(f.bar, 0), "other");
  f.bar.Invalidate();
  RunUntilIdle();
  EXPECT_EQ(ControlText(f.bar, 0), "Later");

  f.bar.SetPaneStyle(0, f.bar.GetPaneStyle(0) | SBPS_DISABLED);
  EXPECT_EQ(ControlText(f.bar, 0), "");
  EXPECT_STREQ(f.bar.GetPaneText(0), "Later");
  f.bar.SetPaneStyle(0, f.bar.GetPaneStyle(0) & ~static_cast<UINT>(SBPS_DISABLED));
  EXPECT_EQ(ControlText(f.bar, 0), "Later");
}

TEST(StatusBar, WindowTextIsTheFirstSeparatorPaneAndIsCutToTheBuffer) {
  StatusFixture f;
  f.bar.SetWindowText("Ready now");
  EXPECT_STREQ(f.bar.GetPaneText(0), "Ready now");
  EXPECT_EQ(f.bar.SendMessage(WM_GETTEXTLENGTH), 9);
  char buffer[8];
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(f.bar.SendMessage(WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 4);
  EXPECT_STREQ(buffer, "Rea");
  EXPECT_EQ(buffer[4], 'x');
  EXPECT_EQ(f.bar.SendMessage(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(buffer[0], 'R');

  SECStatusBar noSeparator;
  noSeparator.Create(f.frame, WS_CHILD | CBRS_BOTTOM, 24190);
  const UINT ids[] = {kUpdatedPane};
  noSeparator.SetIndicators(ids, 1);
  EXPECT_EQ(noSeparator.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x")), -1);
}

TEST(StatusBar, IndexesOutsideTheTableAreRefused) {
  StatusFixture f;
  for (int index : {-1, 3, 1000}) {
    UINT id = 7, style = 7;
    int width = 7;
    EXPECT_FALSE(f.bar.GetPaneInfo(index, id, style, width));
    EXPECT_EQ(id, 0u);
    EXPECT_FALSE(f.bar.SetPaneInfo(index, 1, 0, 10));
    EXPECT_FALSE(f.bar.SetPaneText(index, "x"));
    EXPECT_FALSE(f.bar.SetPaneStyle(index, 0));
    EXPECT_EQ(f.bar.GetPaneStyle(index), 0u);
    CRect rc(1, 1, 5, 5);
    f.bar.GetItemRect(index, &rc);
    EXPECT_TRUE(rc.IsRectNull());
  }
  EXPECT_EQ(f.bar.GetPaneCount(), 3);
}

TEST(StatusBar, PanesFollowTheFramesUpdateHandlersAndGoBlankWithoutOne) {
  StatusFixture f;
  f.bar.OnUpdateCmdUI(f.frame, TRUE);
  EXPECT_STREQ(f.bar.GetPaneText(1), "ready");
  f.frame->enablePane = FALSE;
  f.frame->paneText = "busy";
  f.bar.OnUpdateCmdUI(f.frame, TRUE);
  EXPECT_NE(f.bar.GetPaneStyle(1) & SBPS_DISABLED, 0u);
  EXPECT_STREQ(f.bar.GetPaneText(1), "busy");
  EXPECT_EQ(ControlText(f.bar, 1), "");
  // A handler that only sets the text shows it.
  f.frame->enablePane = -1;
  f.frame->paneText = "Ln 3, Col 7";
  f.bar.OnUpdateCmdUI(f.frame, TRUE);
  EXPECT_EQ(ControlText(f.bar, 1), "Ln 3, Col 7");
  // Its handler gone, the pane goes blank rather than keep the last text; the message pane
  // is never disabled.
  f.frame->answersPane = false;
  f.bar.SetPaneText(0, "Ready");
  f.bar.OnUpdateCmdUI(f.frame, TRUE);
  EXPECT_EQ(ControlText(f.bar, 1), "");
  EXPECT_NE(f.bar.GetPaneStyle(2) & SBPS_DISABLED, 0u);
  EXPECT_EQ(ControlText(f.bar, 0), "Ready");
}

TEST(StatusBar, MinimumHeightAndFontLayTheParentOut) {
  StatusFixture f;
  f.bar.SendMessage(SB_SETMINHEIGHT, 40);
  EXPECT_EQ(f.bar.m_nMinHeight, 40);
  EXPECT_EQ(f.bar.CalcFixedLayout(TRUE, TRUE).cy, 40);
  f.frame->RecalcLayout();
  CRect bar;
  f.bar.GetWindowRect(&bar);
  EXPECT_EQ(bar.Height(), 40);

  // A new font makes the parent lay its bars out again.
  NotificationRecorder parent(300, 100);
  parent.Watch(WM_SIZE);
  SECCustomStatusBar child;
  child.Create(CWnd::FromHandle(parent.Hwnd()), WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 24191);
  parent.Clear();
  child.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  ASSERT_EQ(parent.Records().size(), 1u);
  EXPECT_EQ(parent.Records()[0].wParam, static_cast<WPARAM>(SIZE_RESTORED));
  CRect window;
  ::GetWindowRect(parent.Hwnd(), &window);
  EXPECT_EQ(parent.Records()[0].lParam, MAKELPARAM(window.Width(), window.Height()));
}

TEST(StatusBar, PaneCursorShowsOverItsPane) {
  StatusFixture f;
  const HCURSOR cross = ::LoadCursor(nullptr, IDC_CROSS);
  const HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
  ASSERT_TRUE(f.bar.SetPaneCursor(1, cross));
  EXPECT_FALSE(f.bar.SetPaneCursor(9, cross));
  CRect pane1, pane0;
  f.bar.GetItemRect(1, &pane1);
  f.bar.GetItemRect(0, &pane0);
  EXPECT_EQ(f.bar.PaneFromPoint(pane1.CenterPoint()), 1);
  EXPECT_EQ(f.bar.PaneFromPoint(CPoint(-5, -5)), -1);
  ::SetCursor(arrow);
  MoveMouse(f.bar.GetSafeHwnd(), pane1.CenterPoint());
  EXPECT_EQ(::GetCursor(), cross);
  MoveMouse(f.bar.GetSafeHwnd(), pane0.CenterPoint());
  EXPECT_NE(::GetCursor(), cross);
  f.bar.SetPaneCursor(1, cross, 0);  // the flag off: no cursor of its own
  MoveMouse(f.bar.GetSafeHwnd(), pane1.CenterPoint());
  EXPECT_NE(::GetCursor(), cross);
}

TEST(StatusBar, ProgressInTheFirstPane) {
  StatusFixture f;
  CRect pane;
  f.bar.GetItemRect(0, &pane);
  SECProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, pane, &f.bar, 1));
  progress.SetBarColors(RGB(0, 0, 128), RGB(255, 255, 255));
  progress.SetRange(0, 4);
  progress.SetPos(3, TRUE);
  RunUntilIdle();
  CRect window;
  f.bar.GetWindowRect(&window);
  CRect inBar;
  progress.GetWindowRect(&inBar);
  const int x0 = inBar.left - window.left, y = inBar.top - window.top + 2;
  EXPECT_EQ(WindowPixel(f.bar.GetSafeHwnd(), x0 + 1, y), RGB(0, 0, 128));
  EXPECT_EQ(WindowPixel(f.bar.GetSafeHwnd(), x0 + inBar.Width() - 2, y), RGB(255, 255, 255));
}

}  // namespace

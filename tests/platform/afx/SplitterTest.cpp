// CSplitterWnd: static layout with row and column sizes, bars dragged with the mouse, dynamic
// splits from the split boxes and joins by dragging a bar away, shared scroll bars, active panes.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

#include "afx/afx.h"
#include "afx/CScrollView.h"
#include "afx/CSplitterWnd.h"
#include "testing/testing.h"

using namespace brambolt::test;

void PrintTo(const CRect& r, std::ostream* os) { *os << r.left << "," << r.top << "," << r.right << "," << r.bottom; }

namespace {

class PaneView : public CScrollView {
  DECLARE_DYNCREATE(PaneView)

 public:
  void OnInitialUpdate() override { SetScrollSizes(MM_TEXT, CSize(2000, 3000), CSize(100, 100), CSize(10, 10)); }
  void OnDraw(CDC*) override {}
};

IMPLEMENT_DYNCREATE(PaneView, CScrollView)

class PaneDoc : public CDocument {
  DECLARE_DYNCREATE(PaneDoc)
};

IMPLEMENT_DYNCREATE(PaneDoc, CDocument)

// A frame whose client is a splitter, static (2 columns) or dynamic (up to 2 x 2).
class SplitFrame : public CFrameWnd {
 public:
  explicit SplitFrame(bool dynamic) : dynamic_(dynamic) {}
  CSplitterWnd splitter;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    if (dynamic_) return splitter.Create(this, 2, 2, CSize(20, 20), pContext);
    if (!splitter.CreateStatic(this, 1, 2)) return FALSE;
    return splitter.CreateView(0, 0, RUNTIME_CLASS(PaneView), CSize(120, 0), pContext) &&
           splitter.CreateView(0, 1, RUNTIME_CLASS(PaneView), CSize(0, 0), pContext);
  }
  bool dynamic_;
};

class Splitter : public ::testing::Test {
 protected:
  void Make(bool dynamic) {
    doc.m_bAutoDelete = FALSE;  // the test owns it
    frame = new SplitFrame(dynamic);
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(PaneView);
    context.m_pCurrentDoc = &doc;
    ASSERT_TRUE(frame->Create(nullptr, "Split", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 400), nullptr,
                              nullptr, 0, &context));
    frame->InitialUpdateFrame(&doc, TRUE);
    frame->RecalcLayout();
    RunUntilIdle();
  }
  void TearDown() override {
    if (frame != nullptr && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  CSplitterWnd& S() { return frame->splitter; }
  CRect PaneRect(int row, int col) {
    CRect r;
    S().GetPane(row, col)->GetWindowRect(&r);
    S().ScreenToClient(&r);
    return r;
  }
  void DragInSplitter(CPoint from, CPoint to) { Drag(S().m_hWnd, from, to); }

  UiSession session;
  PaneDoc doc;
  SplitFrame* frame = nullptr;
};

TEST_F(Splitter, StaticColumnsTakeTheirSizesAndTheBarDrags) {
  Make(false);
  EXPECT_EQ(S().GetRowCount(), 1);
  EXPECT_EQ(S().GetColumnCount(), 2);
  CRect client;
  S().GetClientRect(&client);
  // A border of 2 around each pane, a gap of 7 between them.
  EXPECT_EQ(PaneRect(0, 0), CRect(2, 2, 122, client.bottom - 2));
  EXPECT_EQ(PaneRect(0, 1), CRect(129, 2, client.right - 2, client.bottom - 2));
  EXPECT_EQ(S().GetPane(0, 1)->GetDlgCtrlID(), AFX_IDW_PANE_FIRST + 1);
  int row = -1, col = -1;
  EXPECT_TRUE(S().IsChildPane(S().GetPane(0, 1), &row, &col));
  EXPECT_EQ(col, 1);
  EXPECT_EQ(S().HitTest(CPoint(125, 50)), CSplitterWnd::hSplitterBar1);
  EXPECT_EQ(S().HitTest(CPoint(60, 50)), CSplitterWnd::noHit);

  DragInSplitter(CPoint(124, 50), CPoint(204, 60));
  int cur = 0, min = 0;
  S().GetColumnInfo(0, cur, min);
  EXPECT_EQ(cur, 200);
  EXPECT_EQ(PaneRect(0, 1).left, 209);
  EXPECT_EQ(::GetCapture(), nullptr);
  // Escape in the middle of a drag leaves the sizes alone.
  UiScript script;
  script.Then([this] { brambolt::InjectMouseMove(ScreenPoint(S().m_hWnd, CPoint(100, 60))); })
      .Then([] { brambolt::InjectKey(VK_ESCAPE, true); });
  brambolt::InjectMouseMove(ScreenPoint(S().m_hWnd, CPoint(204, 50)));
  brambolt::InjectMouseButton(WM_LBUTTONDOWN, ScreenPoint(S().m_hWnd, CPoint(204, 50)));
  RunUntilIdle();
  S().GetColumnInfo(0, cur, min);
  EXPECT_EQ(cur, 200);

  // SetColumnInfo and RecalcLayout; the active pane follows the frame's active view.
  S().SetColumnInfo(0, 80, 10);
  S().RecalcLayout();
  EXPECT_EQ(PaneRect(0, 0).Width(), 80);
  S().SetActivePane(0, 1);
  EXPECT_EQ(S().GetActivePane(&row, &col), S().GetPane(0, 1));
  frame->SendMessage(WM_COMMAND, ID_NEXT_PANE);
  EXPECT_EQ(S().GetActivePane(), S().GetPane(0, 0));
}

TEST_F(Splitter, DynamicSplitFromTheBoxSharesScrollBarsAndJoinsAgain) {
  Make(true);
  EXPECT_EQ(S().GetRowCount(), 1);
  EXPECT_TRUE(S().GetStyle() & SPLS_DYNAMIC_SPLIT);
  ASSERT_NE(S().GetDlgItem(AFX_IDW_VSCROLL_FIRST), nullptr);
  CWnd* first = S().GetPane(0, 0);
  CRect box;
  S().GetDlgItem(AFX_IDW_VSCROLL_FIRST)->GetWindowRect(&box);
  S().ScreenToClient(&box);
  CPoint boxPoint(box.left + 5, 3);
  EXPECT_EQ(S().HitTest(boxPoint), CSplitterWnd::vSplitterBox);

  // Dragging the box down splits the rows there; the new pane shows the same document.
  DragInSplitter(boxPoint, CPoint(boxPoint.x, 150));
  ASSERT_EQ(S().GetRowCount(), 2);
  auto* second = static_cast<CView*>(S().GetPane(1, 0));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetDocument(), &doc);
  int cur = 0, min = 0;
  S().GetRowInfo(0, cur, min);
  EXPECT_EQ(cur, 150 - 3 - 2) << "the bar lands where its outline was, 3 below the mouse's place on the box";
  ASSERT_NE(S().GetDlgItem(AFX_IDW_VSCROLL_FIRST + 1), nullptr) << "each row has its scroll bar";

  // The panes of a column share its horizontal bar: both scroll together.
  auto* bar = static_cast<CScrollBar*>(S().GetDlgItem(AFX_IDW_HSCROLL_FIRST));
  S().SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), reinterpret_cast<LPARAM>(bar->m_hWnd));
  EXPECT_EQ(static_cast<CScrollView*>(first)->GetScrollPosition().x, 10);
  EXPECT_EQ(static_cast<CScrollView*>(second)->GetScrollPosition().x, 10);
  // Each row scrolls vertically on its own.
  second->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(static_cast<CScrollView*>(second)->GetScrollPosition().y, 100);
  EXPECT_EQ(static_cast<CScrollView*>(first)->GetScrollPosition().y, 0);

  // Dragging the bar to the bottom edge joins the rows again.
  CRect client;
  S().GetClientRect(&client);
  DragInSplitter(CPoint(50, 151), CPoint(50, client.bottom - 5));
  EXPECT_EQ(S().GetRowCount(), 1);
  EXPECT_EQ(S().GetPane(1, 0), nullptr);
  EXPECT_EQ(S().GetDlgItem(AFX_IDW_VSCROLL_FIRST + 1), nullptr);
  // A double-click on the column box splits in the middle.
  CRect hbox;
  S().GetDlgItem(AFX_IDW_HSCROLL_FIRST)->GetWindowRect(&hbox);
  S().ScreenToClient(&hbox);
  EXPECT_EQ(S().HitTest(CPoint(2, hbox.top + 3)), CSplitterWnd::hSplitterBox);
  DoubleClick(S().m_hWnd, CPoint(2, hbox.top + 3));
  EXPECT_EQ(S().GetColumnCount(), 2);
}

// The Split command from the keyboard: both bars start in the middle, the arrows move them,
// Enter splits there, and Escape leaves the panes as they were.
TEST_F(Splitter, TheSplitCommandSplitsWithTheArrowKeys) {
  Make(true);
  auto* view = static_cast<CView*>(S().GetPane(0, 0));
  view->SetFocus();
  frame->SendMessage(WM_COMMAND, ID_WINDOW_SPLIT);
  EXPECT_EQ(::GetFocus(), S().m_hWnd);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(S().GetRowCount(), 1);
  EXPECT_EQ(S().GetColumnCount(), 1);

  ASSERT_TRUE(S().DoKeyboardSplit());
  // The panes' area: the client less the shared scroll bars at the right and the bottom.
  CRect inside;
  S().GetClientRect(&inside);
  inside.right -= ::GetSystemMetrics(SM_CXVSCROLL);
  inside.bottom -= ::GetSystemMetrics(SM_CYHSCROLL);
  PressKey(VK_UP);    // 15 up
  PressKey(VK_LEFT);  // 15 left
  PressKey(VK_LEFT);
  PressKey(VK_RETURN);
  ASSERT_EQ(S().GetRowCount(), 2);
  ASSERT_EQ(S().GetColumnCount(), 2);
  // The first pane ends where the bars were left, against the first pane's top-left corner.
  int cy = 0, cx = 0, min = 0;
  S().GetRowInfo(0, cy, min);
  S().GetColumnInfo(0, cx, min);
  CRect first = PaneRect(0, 0);
  EXPECT_NEAR(first.top + cy, inside.CenterPoint().y - 15, 4);
  EXPECT_NEAR(first.left + cx, inside.CenterPoint().x - 30, 4);

  // Split already: the keys move the existing bars.
  ASSERT_TRUE(S().DoKeyboardSplit());
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  int cyAfter = 0;
  S().GetRowInfo(0, cyAfter, min);
  EXPECT_EQ(cyAfter, cy + 15);
}

}  // namespace

// The dock bar's rows on a frame: proportional lengths with splitters and edges, rows stacked
// away from the frame edge, bars of their own row, insertion by point and by row and column,
// expanding and contracting from the gripper, and removal with placeholders.
#include "DockTestSupport.h"
#include "bars/SECDockContext.h"

using namespace brambolt::test;

namespace {

constexpr int kSplit = 6;
constexpr int kEdge = 2;

}  // namespace

TEST(DockLayout, RowSharesTheDockLengthByProportion) {
  UiSession session;
  DockFrame f;
  SECControlBar* a = f.AddBar(CBRS_ALIGN_TOP);
  SECControlBar* b = f.AddBar(CBRS_ALIGN_TOP);
  SECControlBar* c = f.AddBar(CBRS_ALIGN_TOP);
  SECDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  // All three in the first row, shares 0.5, 0.25, 0.25.
  top->m_arrBars.RemoveAll();
  for (void* entry : {static_cast<void*>(nullptr), static_cast<void*>(a), static_cast<void*>(b), static_cast<void*>(c),
                      static_cast<void*>(nullptr)})
    top->m_arrBars.Add(entry);
  a->m_fPctWidth = 0.5f;
  b->m_fPctWidth = c->m_fPctWidth = 0.25f;
  b->m_szHorzDock.cy = 120;
  f.Layout();
  const int length = f.Client().Width();
  const int available = length - 2 * kSplit;
  CRect ra = DockFrame::InParent(*a), rb = DockFrame::InParent(*b), rc = DockFrame::InParent(*c);
  EXPECT_EQ(R(ra), R(CRect(0, kEdge, available / 2, kEdge + 120)));
  EXPECT_EQ(rb.left, ra.right + kSplit);
  EXPECT_EQ(rb.Width(), static_cast<int>(available * 0.25f));
  // The last bar ends exactly at the row's end, and every bar takes the row's thickness.
  EXPECT_EQ(rc.left, rb.right + kSplit);
  EXPECT_EQ(rc.right, length);
  EXPECT_EQ(rc.Height(), 120);
  // The dock bar: edge, row, splitter; two in-row splitters and one between rows.
  EXPECT_EQ(f.InFrame(*top).Height(), kEdge + 120 + kSplit);
  int inRow = 0, between = 0;
  for (auto& s : top->m_splitters) (s->m_bInRow ? inRow : between)++;
  EXPECT_EQ(inRow, 2);
  EXPECT_EQ(between, 1);
  EXPECT_EQ(top->m_edges.size(), 1u);
}

TEST(DockLayout, RowsStackAwayFromTheFrameEdge) {
  UiSession session;
  DockFrame f;
  SECControlBar* first = f.AddBar(CBRS_ALIGN_BOTTOM, 0, CSize(100, 50));
  SECControlBar* second = f.AddBar(CBRS_ALIGN_BOTTOM, 0, CSize(100, 70));
  SECControlBar* left = f.AddBar(CBRS_ALIGN_LEFT, 0, CSize(100, 90));
  f.Layout();
  CRect client = f.Client();
  CRect bottom = f.InFrame(*f.Dock(AFX_IDW_DOCKBAR_BOTTOM));
  EXPECT_EQ(bottom.bottom, client.bottom);
  EXPECT_EQ(bottom.Height(), 2 * (kEdge + kSplit) + 50 + 70);
  // The first row lies at the frame's edge (its edge below it), the second above it.
  CRect r1 = f.InFrame(*first), r2 = f.InFrame(*second);
  EXPECT_EQ(r1.bottom, client.bottom - kEdge);
  EXPECT_EQ(r2.bottom, r1.top - kSplit - kEdge);
  EXPECT_EQ(r2.top, bottom.top + kSplit);
  // A left row: edge at the frame's side, the bar across the rest of the height.
  CRect rl = DockFrame::InParent(*left);
  EXPECT_EQ(R(rl), R(CRect(kEdge, 0, kEdge + 90, f.InFrame(*f.Dock(AFX_IDW_DOCKBAR_LEFT)).Height())));
  EXPECT_EQ(f.InFrame(f.pane).left, kEdge + 90 + kSplit);
}

TEST(DockLayout, InsertionByRowAndColumnAndOwnRows) {
  UiSession session;
  DockFrame f;
  SECControlBar* a = f.AddBar(CBRS_ALIGN_TOP);
  SECControlBar* b = f.AddBar(CBRS_ALIGN_TOP);
  SECControlBar* own = f.AddBar(CBRS_ALIGN_TOP, CBRS_EX_OWN_ROW);
  SECDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  // Rows: a | b | own. b goes into a's row after it; then `own` is asked into a's row too.
  top->DockControlBarAt(b, 0, 1);
  EXPECT_EQ(top->RowStart(top->FindBar(b)), top->RowStart(top->FindBar(a)));
  EXPECT_EQ(top->FindBar(b), top->FindBar(a) + 1);
  top->DockControlBarAt(own, 0, 1);
  const int pos = top->FindBar(own);
  EXPECT_EQ(top->m_arrBars[pos - 1], nullptr);
  EXPECT_EQ(top->m_arrBars[pos + 1], nullptr);
  // Rows now: a | own | b. Counting from the last row, a new row before b.
  SECDockBar::Position where{0, 0, SECDockBar::kFromLastRow | SECDockBar::kNewRow};
  top->RemoveControlBar(a, -1, 0);
  top->InsertBarAt(a, where);
  a->m_pDockBar = top;
  EXPECT_EQ(top->FindBar(a) + 2, top->FindBar(b));
  EXPECT_LT(top->FindBar(own), top->FindBar(a));
  // Every row ends with a null; no row is empty.
  for (int i = 1; i < top->m_arrBars.GetSize(); ++i)
    EXPECT_FALSE(top->m_arrBars[i] == nullptr && top->m_arrBars[i - 1] == nullptr) << i;
  EXPECT_EQ(top->m_arrBars[top->m_arrBars.GetSize() - 1], nullptr);
}

TEST(DockLayout, ExpandAndContractFromTheGripper) {
  UiSession session;
  DockFrame f;
  auto row = f.AddTopRow(3);
  SECControlBar *a = row[0], *b = row[1], *c = row[2];
  SECDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  ASSERT_FALSE(b->m_rectExpand.IsRectEmpty());
  // b may expand: a click on its expand button gives it the row.
  EXPECT_TRUE(b->m_bExpandDirection);
  Click(b->m_hWnd, b->m_rectExpand.CenterPoint());
  EXPECT_FLOAT_EQ(b->m_fPctWidth, 1.0f);
  EXPECT_FLOAT_EQ(a->m_fPctWidth, top->m_fMinShare);
  f.Layout();
  // Laid out, the others keep 18 pixels each.
  EXPECT_EQ(DockFrame::InParent(*a).Width(), 18);
  EXPECT_EQ(DockFrame::InParent(*c).Width(), 18);
  EXPECT_FALSE(b->m_bExpandDirection);  // now it contracts
  AdvanceClock(1000);
  Click(b->m_hWnd, b->m_rectExpand.CenterPoint());
  f.Layout();
  EXPECT_NEAR(b->m_fPctWidth, 0.5f, 1e-5);
  EXPECT_NEAR(a->m_fPctWidth, 0.25f, 1e-5);
  EXPECT_NEAR(c->m_fPctWidth, 0.25f, 1e-5);
}

TEST(DockLayout, CloseButtonHidesOnlyWhenReleasedOnIt) {
  UiSession session;
  DockFrame f;
  SECControlBar* a = f.AddBar(CBRS_ALIGN_LEFT);
  f.Layout();
  ASSERT_FALSE(a->m_rectClose.IsRectEmpty());
  CPoint on = a->m_rectClose.CenterPoint();
  // Pressed, moved off, released: still shown.
  ButtonDown(a->m_hWnd, on);
  EXPECT_TRUE(a->m_bClosePressed);
  ButtonUp(a->m_hWnd, CPoint(on.x + 60, on.y + 60));
  EXPECT_FALSE(a->m_bClosePressed);
  EXPECT_TRUE(a->IsWindowVisible());
  AdvanceClock(1000);
  Click(a->m_hWnd, on);
  EXPECT_FALSE(a->IsWindowVisible());
}

TEST(DockLayout, DropsLandWhereTheOutlineShowsThem) {
  UiSession session;
  DockFrame f;
  SECControlBar* a = f.AddBar(CBRS_ALIGN_TOP);
  SECControlBar* c = f.AddBar(CBRS_ALIGN_TOP);
  SECControlBar* b = f.AddBar(CBRS_ALIGN_BOTTOM);
  SECDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  f.Layout();
  // Dropped on its own place: the rows do not change.
  std::vector<void*> rows(top->m_arrBars.GetData(), top->m_arrBars.GetData() + top->m_arrBars.GetSize());
  CRect own;
  a->GetWindowRect(&own);
  top->DockControlBar(a, &own);
  EXPECT_EQ(std::vector<void*>(top->m_arrBars.GetData(), top->m_arrBars.GetData() + top->m_arrBars.GetSize()), rows);

  // Over the right half of a's row: the outline takes the row's thickness and b's part of it.
  SECDockContext context(b);
  CRect ra;
  a->GetWindowRect(&ra);
  CPoint over(ra.left + ra.Width() * 3 / 4, ra.CenterPoint().y);
  CRect drag(over.x - 50, over.y - 20, over.x + 150, over.y + 60);
  CRect outline = top->GetDropRect(b, drag, over, &context);
  EXPECT_EQ(outline.top, ra.top);
  EXPECT_EQ(outline.Height(), ra.Height());
  EXPECT_EQ(outline.Width(), f.Client().Width() / 2);
  EXPECT_EQ(outline.CenterPoint().x, std::min<int>(over.x, ra.right - outline.Width() / 2));
  // Dropped there, b lands in that row after a.
  top->DockControlBar(b, &outline);
  EXPECT_EQ(top->FindBar(b), top->FindBar(a) + 1);
  EXPECT_EQ(top->RowStart(top->FindBar(c)), top->FindBar(c));
  f.Layout();
  EXPECT_NEAR(a->m_fPctWidth + b->m_fPctWidth, 1.0f, 1e-5);

  // Below the last row: a new last row.
  CRect rc;
  c->GetWindowRect(&rc);
  CRect below(rc.left, rc.bottom + 3, rc.left + 100, rc.bottom + 40);
  top->DockControlBar(a, &below);
  EXPECT_GT(top->FindBar(a), top->FindBar(c));
  EXPECT_EQ(top->m_arrBars[top->FindBar(a) - 1], nullptr);
}

TEST(DockLayout, NoSplitterMoveInARowWithoutRoom) {
  UiSession session;
  DockFrame f;
  auto row = f.AddTopRow(2);
  SECControlBar *a = row[0], *b = row[1];
  SECDockBar* top = f.Dock(AFX_IDW_DOCKBAR_TOP);
  const float shareA = a->m_fPctWidth, shareB = b->m_fPctWidth;
  // A side 5 pixels long leaves no length once the splitter is taken: shares stay finite and as
  // they were.
  top->m_rectLayout = CRect(0, 0, 5, 5);
  SECDockBar::Splitter splitter;
  splitter.m_bInRow = 1;
  splitter.m_nOrientation = 1;
  splitter.m_nIndex = top->FindBar(a);
  top->ApplySplitterMove(&splitter, 40);
  top->m_rectLayout.SetRectEmpty();
  EXPECT_EQ(a->m_fPctWidth, shareA);
  EXPECT_EQ(b->m_fPctWidth, shareB);
}

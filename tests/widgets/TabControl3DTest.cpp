// The 3-D tab control: the enlarged active tab, label shortening (at character boundaries in
// the double-byte code pages) and its tooltips, disabled tabs, keys, dragging the active tab.
#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "tests/widgets/TabTestSupport.h"
#include "widgets/SEC3DTabControl.h"

using brambolt::test::Click;
using brambolt::test::Drag;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using brambolt::test::WindowPixel;
using widgets_test::TabParent;

namespace {

class TabControl3D : public ::testing::Test {
 protected:
  void Create(DWORD dwStyle, int width, std::initializer_list<const char*> labels) {
    ASSERT_TRUE(m_tabs.Create(WS_VISIBLE | dwStyle, CRect(0, 0, width, 30), &m_parent, 5));
    for (const char* label : labels) m_tabs.AddTab(label);
    RunUntilIdle();
    m_parent.notes.clear();
  }
  CRect TabRect(int i) {
    CRect rc;
    m_tabs.GetTabRect(i, &rc);
    return rc;
  }
  UiSession m_session;
  TabParent m_parent{600, 200};
  SEC3DTabControl m_tabs;
};

TEST_F(TabControl3D, TheActiveTabIsLargerAndLiesOverItsNeighbours) {
  Create(TWS_TABS_ON_BOTTOM, 400, {"Hier", "Class", "File", "Output"});
  const CRect before = TabRect(1);
  m_tabs.ActivateTab(1);
  const CRect active = TabRect(1);
  EXPECT_EQ(active.left, before.left - 3);
  EXPECT_EQ(active.right, before.right + 3);
  EXPECT_EQ(active.top, before.top);
  EXPECT_EQ(active.bottom, before.bottom + 3);
  EXPECT_EQ(TabRect(0).top, 2);  // tabs hang from the strip's top edge
  EXPECT_EQ(TabRect(0).left, 7);
  m_parent.notes.clear();
  // A click in the overlap with the neighbour is the active tab's: one click, one tab.
  Click(m_tabs.m_hWnd, CPoint(active.left + 1, active.top + 5));
  EXPECT_EQ(m_parent.Count(TABN_SELECT), 0);
  EXPECT_EQ(m_parent.Count(TABN_REACTIVATE), 1);
  RunUntilIdle();
  // The active tab is painted last: its face covers the dividing edge along the strip's top.
  EXPECT_EQ(WindowPixel(m_tabs.m_hWnd, active.CenterPoint().x, 3), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(WindowPixel(m_tabs.m_hWnd, TabRect(3).CenterPoint().x, 3), RGB(0, 0, 0));

  m_tabs.ModifyStyle(0, TWS_NOACTIVE_TAB_ENLARGED);
  m_tabs.RecalcLayout();
  EXPECT_EQ(TabRect(1).Height(), m_tabs.m_nTabHeight);
}

TEST_F(TabControl3D, NarrowingShortensTheLongestLabelsAndHidesThemLast) {
  Create(TWS_TABS_ON_TOP, 600, {"Short", "A much longer label", "Mid label"});
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(m_tabs.Get3DTab(i)->m_bShortened) << i;
  m_tabs.SetWindowPos(nullptr, 0, 0, 200, 30, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_TRUE(m_tabs.m_bShowLabels);
  EXPECT_TRUE(m_tabs.Get3DTab(1)->m_bShortened);
  EXPECT_EQ(m_tabs.Get3DTab(1)->m_csLabel.Right(3), "...");
  EXPECT_EQ(m_tabs.Get3DTab(1)->m_csFullLabel, "A much longer label");
  EXPECT_FALSE(m_tabs.Get3DTab(0)->m_bShortened);  // the short label keeps its text
  EXPECT_LE(TabRect(2).right + 12, 200 + 7);
  // The shortened tab's tooltip shows the full label.
  TOOLINFO ti{};
  ti.cbSize = sizeof ti;
  EXPECT_EQ(m_tabs.OnToolHitTest(TabRect(1).CenterPoint(), &ti), 2);
  EXPECT_STREQ(ti.lpszText, "A much longer label");
  ::free(ti.lpszText);
  EXPECT_EQ(m_tabs.OnToolHitTest(TabRect(0).CenterPoint(), nullptr), -1);

  m_tabs.SetWindowPos(nullptr, 0, 0, 30, 30, SWP_NOZORDER | SWP_NOMOVE);  // not even "..." fits
  EXPECT_FALSE(m_tabs.m_bShowLabels);
  EXPECT_EQ(TabRect(0).Width(), 6);
  m_tabs.SetWindowPos(nullptr, 0, 0, 600, 30, SWP_NOZORDER | SWP_NOMOVE);  // widening restores them
  EXPECT_TRUE(m_tabs.m_bShowLabels);
  EXPECT_EQ(m_tabs.Get3DTab(1)->m_csLabel, "A much longer label");
}

TEST_F(TabControl3D, ShorteningCutsWholeDoubleByteCharacters) {
  brambolt::ScopedCodePage page(936);
  // "项目资源管理器文件视图" in GB2312: ten double-byte characters.
  const char label[] = "\xcf\xee\xc4\xbf\xd7\xca\xd4\xb4\xb9\xdc\xc0\xed\xc6\xf7\xce\xc4\xbc\xfe\xca\xd3\xcd\xbc";
  Create(TWS_TABS_ON_BOTTOM, 600, {label});
  for (int width = 120; width >= 40; width -= 7) {
    m_tabs.SetWindowPos(nullptr, 0, 0, width, 30, SWP_NOZORDER | SWP_NOMOVE);
    const CString shown = m_tabs.Get3DTab(0)->m_csLabel;
    if (!m_tabs.Get3DTab(0)->m_bShortened) continue;
    const int kept = shown.GetLength() - 3;
    EXPECT_EQ(kept % 2, 0) << width;  // never half a character before the "..."
    EXPECT_EQ(shown.Left(kept), CString(label).Left(kept)) << width;
  }
}

TEST_F(TabControl3D, DisabledTabsAreSkippedByClicksAndArrowKeys) {
  Create(TWS_TABS_ON_BOTTOM, 400, {"A", "B", "C", "D"});
  m_tabs.ActivateTab(0);
  m_tabs.EnableTab(1, FALSE);
  m_tabs.EnableTab(7, FALSE);  // no such tab: ignored
  EXPECT_FALSE(m_tabs.IsTabEnabled(1));
  EXPECT_FALSE(m_tabs.IsTabEnabled(7));
  m_parent.notes.clear();
  Click(m_tabs.m_hWnd, TabRect(1).CenterPoint());
  EXPECT_TRUE(m_parent.notes.empty());
  m_tabs.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  int nActive = -1;
  m_tabs.GetActiveTab(nActive);
  EXPECT_EQ(nActive, 2);
  m_tabs.SendMessage(WM_KEYDOWN, VK_LEFT, 0);
  m_tabs.GetActiveTab(nActive);
  EXPECT_EQ(nActive, 0);
  m_tabs.SendMessage(WM_KEYDOWN, VK_LEFT, 0);  // at the end: nothing
  m_tabs.GetActiveTab(nActive);
  EXPECT_EQ(nActive, 0);
  RunUntilIdle();
  // The disabled label is embossed: no pixel of it is in the text colour.
  const CRect rc = TabRect(1);
  for (int y = rc.top + 3; y < rc.bottom - 3; ++y)
    for (int x = rc.left + 3; x < rc.right - 3; ++x) ASSERT_NE(WindowPixel(m_tabs.m_hWnd, x, y), RGB(0, 0, 0));
}

TEST_F(TabControl3D, DraggingTheActiveTabMovesItAndKeepsItActive) {
  Create(TWS_TABS_ON_BOTTOM | TWS_DRAGTABS, 500, {"First", "Second", "Third"});
  m_tabs.ActivateTab(0);
  const CPoint from = TabRect(0).CenterPoint();
  const CPoint to(TabRect(1).right - 2, from.y);
  Drag(m_tabs.m_hWnd, from, to, 8);
  int nActive = -1;
  ASSERT_TRUE(m_tabs.GetActiveTab(nActive));
  EXPECT_EQ(nActive, 1);
  EXPECT_EQ(m_tabs.Get3DTab(1)->m_csFullLabel, "First");
  EXPECT_EQ(m_tabs.Get3DTab(0)->m_csFullLabel, "Second");
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(TabControl3D, VerticalStripsRunTheirTabsDownTheSide) {
  Create(TWS_TABS_ON_LEFT, 30, {"Alpha", "Beta"});
  m_tabs.SetWindowPos(nullptr, 0, 0, 30, 300, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(TabRect(0).top, 7);
  EXPECT_EQ(TabRect(1).top, TabRect(0).bottom);
  EXPECT_EQ(TabRect(0).Width(), 22);
  EXPECT_EQ(TabRect(0).right, 30 - 3);
  LOGFONT lf{};
  m_tabs.m_fonts[0].GetLogFont(&lf);
  EXPECT_EQ(lf.lfEscapement, 900);
  m_tabs.ModifyTabStyle(TWS_TABS_ON_LEFT, TWS_TABS_ON_RIGHT);
  m_tabs.m_fonts[1].GetLogFont(&lf);
  EXPECT_EQ(lf.lfEscapement, -900);
  EXPECT_EQ(TabRect(0).left, 2);
}

}  // namespace

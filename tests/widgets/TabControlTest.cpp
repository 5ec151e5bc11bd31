// The 2-D tab control: activation and its notifications, deletion and insertion around the
// active tab, multiple selection by mouse, the layout of overlapping tabs, the arrow buttons and
// their repeat, and the painted shape.
#include <gtest/gtest.h>

#include "tests/widgets/TabTestSupport.h"
#include "widgets/SECTabControl.h"

using brambolt::test::AdvanceClock;
using brambolt::test::ButtonDown;
using brambolt::test::ButtonUp;
using brambolt::test::Click;
using brambolt::test::DoubleClick;
using brambolt::test::kCtrl;
using brambolt::test::kShift;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiScript;
using brambolt::test::UiSession;
using widgets_test::TabParent;

namespace {

constexpr UINT kTabId = 77;

class TabControl2D : public ::testing::Test {
 protected:
  void Create(DWORD dwStyle, int width = 380, int tabs = 4) {
    ASSERT_TRUE(m_tabs.Create(WS_VISIBLE | dwStyle, CRect(0, 0, width, 20), &m_parent, kTabId));
    const char* labels[] = {"One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine", "Ten"};
    for (int i = 0; i < tabs; ++i) m_tabs.AddTab(labels[i % 10], reinterpret_cast<void*>(static_cast<INT_PTR>(100 + i)));
    RunUntilIdle();
    m_parent.notes.clear();
  }
  // A point inside tab i, halfway down, away from the overlaps.
  CPoint Inside(int i) {
    POINT pts[4];
    m_tabs.GetTabPolygon(i, pts);
    return CPoint((pts[0].x + pts[3].x) / 2, 6);
  }
  UiSession m_session;
  TabParent m_parent;
  SECTabControl m_tabs;
};

TEST_F(TabControl2D, ActivationNotifiesOnceWithTheOldAndNewClients) {
  Create(0);
  m_tabs.ActivateTab(1);
  m_tabs.ActivateTab(1);  // already active: nothing is sent
  m_tabs.ActivateTab(3);
  ASSERT_EQ(m_parent.Count(TABN_SELECT), 2);
  const TabSelectInfo& first = m_parent.notes[0].info;
  EXPECT_EQ(first.nID, kTabId);
  EXPECT_EQ(first.nNewTab, 1);
  EXPECT_EQ(first.nPrevTab, -1);
  EXPECT_EQ(first.pClientPrev, nullptr);
  const TabSelectInfo& second = m_parent.notes[1].info;
  EXPECT_EQ(second.nPrevTab, 1);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(second.pClientNew), 103);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(second.pClientPrev), 101);
  int nActive = -1;
  EXPECT_TRUE(m_tabs.GetActiveTab(nActive));
  EXPECT_EQ(nActive, 3);
  EXPECT_FALSE(m_tabs.GetTab(1)->m_bSelected);
  EXPECT_TRUE(m_tabs.GetTab(3)->m_bSelected);
}

TEST_F(TabControl2D, ClickOnTheActiveTabReactivatesAndDoubleClickNotifies) {
  Create(0);
  Click(m_tabs.m_hWnd, Inside(2));
  AdvanceClock(1000);  // two clicks, not a double-click
  Click(m_tabs.m_hWnd, Inside(2));
  AdvanceClock(1000);
  DoubleClick(m_tabs.m_hWnd, Inside(0));
  ASSERT_GE(m_parent.notes.size(), 3u);
  EXPECT_EQ(m_parent.notes[0].code, static_cast<UINT>(TABN_SELECT));
  EXPECT_EQ(m_parent.notes[1].code, static_cast<UINT>(TABN_REACTIVATE));
  EXPECT_EQ(m_parent.notes[1].index, 2);
  EXPECT_EQ(m_parent.Count(TABN_DBLCLK), 1);
  EXPECT_EQ(m_parent.notes.back().index, 0);
}

TEST_F(TabControl2D, DeletingAroundTheActiveTabKeepsTheRightTabActive) {
  Create(0, 380, 5);
  m_tabs.ActivateTab(3);
  m_parent.notes.clear();
  m_tabs.DeleteTab(1);  // before the active tab: the same tab ("Four") stays active and selected
  int nActive = -1;
  ASSERT_TRUE(m_tabs.GetActiveTab(nActive));
  EXPECT_EQ(nActive, 2);
  EXPECT_EQ(m_tabs.GetTab(2)->m_csLabel, "Four");
  EXPECT_TRUE(m_tabs.GetTab(2)->m_bSelected);
  for (int i = 0; i < m_tabs.GetTabCount(); ++i) EXPECT_EQ(m_tabs.GetTab(i)->m_bSelected, i == 2) << i;

  m_tabs.ActivateTab(3);  // the last tab
  m_tabs.DeleteTab(3);    // deleting the active last tab activates the new last tab
  ASSERT_TRUE(m_tabs.GetActiveTab(nActive));
  EXPECT_EQ(nActive, 2);
  EXPECT_EQ(m_parent.notes.back().info.nNewTab, 2);
  EXPECT_EQ(m_parent.notes.back().info.nPrevTab, -1);

  m_tabs.InsertTab(0, "Zero");  // an insertion before the active tab shifts its index
  ASSERT_TRUE(m_tabs.GetActiveTab(nActive));
  EXPECT_EQ(m_tabs.GetTab(nActive)->m_csLabel, "Four");

  while (m_tabs.GetTabCount() > 0) m_tabs.DeleteTab(0);
  EXPECT_FALSE(m_tabs.GetActiveTab(nActive));
}

TEST_F(TabControl2D, InvalidIndexesChangeNothing) {
  Create(0, 380, 2);
  EXPECT_EQ(m_tabs.InsertTab(3, "Far"), nullptr);
  EXPECT_EQ(m_tabs.InsertTab(-1, "Before"), nullptr);
  m_tabs.DeleteTab(2);
  m_tabs.DeleteTab(-1);
  m_tabs.RenameTab(5, "x");
  m_tabs.ActivateTab(9);
  m_tabs.SelectTab(-4);
  EXPECT_EQ(m_tabs.GetTabCount(), 2);
  EXPECT_TRUE(m_parent.notes.empty());
  CString label;
  BOOL bSelected;
  void *pClient, *pData1, *pData2;
  EXPECT_FALSE(m_tabs.GetTabInfo(2, label, bSelected, pClient, pData1, pData2));
  EXPECT_TRUE(m_tabs.GetTabInfo(1, label, bSelected, pClient, pData1, pData2));
  EXPECT_EQ(label, "Two");
  int nIndex = -1;
  EXPECT_TRUE(m_tabs.FindTab(reinterpret_cast<void*>(101), nIndex));
  EXPECT_EQ(nIndex, 1);
  EXPECT_FALSE(m_tabs.FindTab(reinterpret_cast<void*>(5), nIndex));
}

TEST_F(TabControl2D, CtrlAndShiftClicksSelectSeveralTabs) {
  Create(0, 380, 5);
  m_tabs.ActivateTab(1);
  Click(m_tabs.m_hWnd, Inside(3), kCtrl);  // toggles, no notification
  EXPECT_TRUE(m_tabs.GetTab(3)->m_bSelected);
  EXPECT_TRUE(m_tabs.GetTab(1)->m_bSelected);
  EXPECT_EQ(m_parent.Count(TABN_SELECT), 1);

  Click(m_tabs.m_hWnd, Inside(4), kShift);  // from the active tab (1) to 4
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m_tabs.GetTab(i)->m_bSelected, i >= 1 && i <= 4) << i;
  int nActive = -1;
  ASSERT_TRUE(m_tabs.GetActiveTab(nActive));
  EXPECT_EQ(nActive, 4);

  Click(m_tabs.m_hWnd, Inside(0));  // a plain click clears the others
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m_tabs.GetTab(i)->m_bSelected, i == 0) << i;
  m_tabs.ClearSelection();
  EXPECT_FALSE(m_tabs.GetActiveTab(nActive));
  EXPECT_EQ(m_parent.Count(TABN_CLEARSEL), 1);
}

TEST_F(TabControl2D, TabsAreTheirLabelPlusPaddingWideAndOverlapByFive) {
  Create(0);
  CClientDC dc(&m_tabs);
  CFont* pOld = dc.SelectObject(&m_tabs.m_fonts[SECTabControl::kActive]);
  for (int i = 0; i < m_tabs.GetTabCount(); ++i)
    EXPECT_EQ(m_tabs.GetTab(i)->m_nWidth, dc.GetTextExtent(m_tabs.GetTab(i)->m_csLabel).cx + 20) << i;
  dc.SelectObject(pOld);
  POINT a[4], b[4];
  m_tabs.GetTabPolygon(0, a);
  m_tabs.GetTabPolygon(1, b);
  EXPECT_EQ(b[0].x, a[3].x - 5);
  EXPECT_EQ(a[1].x - a[0].x, 6);  // the slant
  EXPECT_EQ(m_tabs.m_nTabHeight, ::GetSystemMetrics(SM_CYHSCROLL) + 1);
}

TEST_F(TabControl2D, ArrowButtonsScrollAndRepeatWhileHeld) {
  Create(1, 150, 10);  // previous and next buttons; ten tabs do not fit in 150 pixels
  EXPECT_EQ(m_tabs.m_nButtonMask, SECTabControl::kPrev | SECTabControl::kNext);
  EXPECT_EQ(m_tabs.m_nDisabledButtons & m_tabs.m_nButtonMask, SECTabControl::kPrev);
  const CPoint next = m_tabs.GetButtonRect(SECTabControl::kNext).CenterPoint();
  std::vector<int> offsets;
  UiScript script;
  script.Then([&] { offsets.push_back(m_tabs.m_nScrollOffset); })
      .Then([&] { AdvanceClock(299); offsets.push_back(m_tabs.m_nScrollOffset); })
      .Then([&] { AdvanceClock(1); offsets.push_back(m_tabs.m_nScrollOffset); })
      .Then([&] { AdvanceClock(60); offsets.push_back(m_tabs.m_nScrollOffset); })
      .Then([&] { ButtonUp(m_tabs.m_hWnd, next); });
  ButtonDown(m_tabs.m_hWnd, next);
  RunUntilIdle();
  ASSERT_EQ(offsets.size(), 4u);
  EXPECT_EQ(offsets[0], -10);  // once at once
  EXPECT_EQ(offsets[1], -10);  // not before 300 ms
  EXPECT_EQ(offsets[2], -20);  // then again
  EXPECT_EQ(offsets[3], -50);  // then every 20 ms
  EXPECT_EQ(m_tabs.m_nPressedButton, 0);
  EXPECT_EQ(m_tabs.m_nDisabledButtons & SECTabControl::kPrev, 0);
  EXPECT_EQ(::GetCapture(), nullptr);

  m_tabs.ActivateTab(0);  // scrolled back into view
  EXPECT_EQ(m_tabs.m_nScrollOffset, 0);
  m_tabs.ActivateTab(9);  // the last tab ends one margin before the right edge
  EXPECT_EQ(m_tabs.m_nDisabledButtons & SECTabControl::kNext, SECTabControl::kNext);
}

TEST_F(TabControl2D, WithoutTabsEveryArrowButtonIsDisabledAndIgnoresClicks) {
  Create(2, 200, 0);
  EXPECT_EQ(m_tabs.m_nDisabledButtons, 15);
  Click(m_tabs.m_hWnd, m_tabs.GetButtonRect(SECTabControl::kLast).CenterPoint());
  EXPECT_EQ(m_tabs.m_nScrollOffset, 0);
  EXPECT_EQ(m_tabs.m_nPressedButton, 0);
}

TEST_F(TabControl2D, ThePaintedStripIsOpenAboveTheActiveTab) {
  Create(0);
  m_tabs.ActivateTab(1);
  RunUntilIdle();
  POINT pts[4];
  m_tabs.GetTabPolygon(1, pts);
  const int mid = (pts[0].x + pts[3].x) / 2;
  // The top line is black beside the active tab and absent above it (the active face is white).
  EXPECT_EQ(brambolt::test::WindowPixel(m_tabs.m_hWnd, mid, 0), ::GetSysColor(COLOR_WINDOW));
  POINT other[4];
  m_tabs.GetTabPolygon(3, other);
  EXPECT_EQ(brambolt::test::WindowPixel(m_tabs.m_hWnd, (other[0].x + other[3].x) / 2, 0), RGB(0, 0, 0));
  // Inactive tabs have the button-face colour inside.
  EXPECT_EQ(brambolt::test::WindowPixel(m_tabs.m_hWnd, (other[0].x + other[3].x) / 2 - 12, 3),
            ::GetSysColor(COLOR_BTNFACE));
}

}  // namespace

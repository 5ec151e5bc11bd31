// Tabbed windows: one client shown at a time, clients made from run-time classes, the 3-D
// window's inside rectangle and its notifications, the 2-D window's shared scroll bars and the
// scroll state each tab keeps, also after a tab is inserted in the middle.
#include <gtest/gtest.h>

#include "tests/widgets/TabTestSupport.h"
#include "widgets/SEC3DTabWnd.h"
#include "widgets/SECTabWnd.h"

using brambolt::test::Click;
using brambolt::test::Drag;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using widgets_test::ClientRectOf;
using widgets_test::TabParent;

namespace {

// A client window made by the tabbed window from its run-time class.
class TabClient : public CWnd {
  DECLARE_DYNCREATE(TabClient)
 public:
  BOOL Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID,
              CCreateContext*) override {
    return CWnd::Create(AfxRegisterWndClass(0), "client", dwStyle, rect, pParent, nID);
  }
  void PostNcDestroy() override { delete this; }
};
IMPLEMENT_DYNCREATE(TabClient, CWnd)

// A plain child with the given scroll-bar styles.
HWND MakeChild(HWND parent, DWORD dwStyle) {
  return ::CreateWindowEx(0, AfxRegisterWndClass(0), "", WS_CHILD | dwStyle, 0, 0, 10, 10, parent, nullptr,
                          nullptr, nullptr);
}

int VisibleClients(SECTabWndBase& wnd) {
  int n = 0;
  for (int i = 0; i < wnd.GetTabCount(); ++i) {
    auto* pWnd = static_cast<CWnd*>(wnd.GetTabControl()->GetTab(i)->m_pClient);
    n += ::IsWindowVisible(pWnd->m_hWnd) ? 1 : 0;
  }
  return n;
}

TEST(TabWnd3D, ShowsExactlyOneClientInsideItsFrame) {
  UiSession session;
  TabParent parent(400, 300);
  SEC3DTabWnd tabs;
  ASSERT_TRUE(tabs.Create(&parent, WS_CHILD | WS_VISIBLE | TWS_TABS_ON_BOTTOM, 0xE900));
  EXPECT_EQ(tabs.GetStyle() & 0x0FF3, 0u);  // the tab bits go to the tab control only
  EXPECT_EQ(tabs.GetTabControl()->GetDlgCtrlID(), SEC_IDW_TABCTRL);
  ASSERT_NE(tabs.AddTab(RUNTIME_CLASS(TabClient), "Hier"), nullptr);
  ASSERT_NE(tabs.AddTab(RUNTIME_CLASS(TabClient), "Class"), nullptr);
  auto client = [&](int i) { return static_cast<CWnd*>(tabs.GetTabControl()->GetTab(i)->m_pClient); };
  EXPECT_EQ(client(0)->GetDlgCtrlID(), SEC_IDW_TABCLIENT_FIRST);
  EXPECT_EQ(client(1)->GetDlgCtrlID(), SEC_IDW_TABCLIENT_FIRST + 1);
  tabs.MoveWindow(0, 0, 300, 200);
  tabs.ActivateTab(1);
  RunUntilIdle();
  EXPECT_EQ(VisibleClients(tabs), 1);
  EXPECT_TRUE(client(1)->IsWindowVisible());

  // Tabs at the bottom, active tab enlarged: 4 pixels above, 6 left, 7 right, strip height + 1 below.
  CRect inside;
  tabs.GetInsideRect(&inside);
  EXPECT_EQ(inside, CRect(6, 4, 300 - 7, 200 - 31));
  CRect rcClient;
  client(1)->GetWindowRect(&rcClient);
  tabs.ScreenToClient(&rcClient);
  EXPECT_EQ(rcClient, CRect(6, 4, 300 - 8, 200 - 31));

  // A click on the other tab switches the client and tells the parent, under the window's id.
  parent.notes.clear();
  CRect rcTab;
  static_cast<SEC3DTabControl*>(tabs.GetTabControl())->GetTabRect(0, &rcTab);
  Click(tabs.GetTabControl()->m_hWnd, rcTab.CenterPoint());
  EXPECT_EQ(tabs.GetActiveWnd(), client(0));
  EXPECT_EQ(VisibleClients(tabs), 1);
  ASSERT_EQ(parent.Count(TABN_SELECT), 1);
  EXPECT_EQ(parent.notes[0].info.nID, 0xE900u);
  EXPECT_EQ(parent.notes[0].index, 0);

  // Deleting the shown tab leaves its client window alone.
  const HWND hClient0 = client(0)->m_hWnd;
  tabs.DeleteTab(0);
  EXPECT_TRUE(::IsWindow(hClient0));
  EXPECT_EQ(tabs.GetTabCount(), 1);
}

TEST(TabWnd3D, FontsForTheTabsAreCopiesOfTheCallers) {
  UiSession session;
  TabParent parent;
  SEC3DTabWnd tabs;
  ASSERT_TRUE(tabs.Create(&parent, WS_CHILD | WS_VISIBLE | 0x0420, 80122));
  {
    CFont font;
    font.CreateFont(-13, 0, 0, 0, 550, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
    EXPECT_TRUE(tabs.SetFontActiveTab(&font));
  }  // the caller's font is gone; the control keeps its own
  LOGFONT lf{};
  ASSERT_NE(tabs.Get3DTabControl()->m_fonts[1].GetLogFont(&lf), 0);
  EXPECT_EQ(lf.lfWeight, 550);
  EXPECT_FALSE(tabs.SetFontInactiveTab(nullptr));
  EXPECT_EQ(tabs.m_dwTabStyle & TWS_TAB_POSITIONS, static_cast<DWORD>(TWS_TABS_ON_TOP));
}

TEST(TabWnd2D, ScrollStateFollowsEachTabAlsoAfterAnInsertInTheMiddle) {
  UiSession session;
  TabParent parent(400, 300);
  SECTabWnd tabs;
  ASSERT_TRUE(tabs.Create(&parent, WS_CHILD | WS_VISIBLE | 1, 0xE900));
  tabs.MoveWindow(0, 0, 300, 200);
  CWnd a, b, c;
  a.Attach(MakeChild(tabs.m_hWnd, WS_HSCROLL));
  b.Attach(MakeChild(tabs.m_hWnd, WS_HSCROLL | WS_VSCROLL));
  c.Attach(MakeChild(tabs.m_hWnd, 0));
  tabs.AddTab(&a, "A");
  tabs.AddTab(&b, "B");
  tabs.InsertTab(&c, 1, "C");  // between them: A, C, B
  ASSERT_EQ(tabs.m_arrScrollStyle.GetSize(), 3);

  tabs.ActivateTab(&a);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 10, 40, 0};
  tabs.GetScrollBar(0)->SetScrollInfo(&si);
  tabs.ActivateTab(&b);
  si.nPos = 70;
  tabs.GetScrollBar(0)->SetScrollInfo(&si);
  EXPECT_NE(tabs.GetScrollBar(1), nullptr);
  tabs.ActivateTab(&c);  // no bars: both hidden
  EXPECT_EQ(tabs.GetScrollBar(0), nullptr);
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(tabs.m_hWnd, SEC_IDW_HSCROLL_FIRST)));
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(tabs.m_hWnd, SEC_IDW_VSCROLL_FIRST)));

  tabs.ActivateTab(&a);
  EXPECT_EQ(tabs.GetScrollBar(0)->GetScrollPos(), 40);
  tabs.ActivateTab(&b);
  EXPECT_EQ(tabs.GetScrollBar(0)->GetScrollPos(), 70);

  tabs.DeleteTab(1);  // C goes with its slots; A and B keep theirs
  tabs.ActivateTab(&a);
  EXPECT_EQ(tabs.GetScrollBar(0)->GetScrollPos(), 40);
  EXPECT_EQ(tabs.m_arrScrollStyle.GetSize(), 2);
  for (CWnd* w : {&a, &b, &c}) w->Detach();
}

TEST(TabWnd2D, TheSplitterBoxSharesTheBottomRowWithTheScrollBar) {
  UiSession session;
  TabParent parent(400, 300);
  SECTabWnd tabs;
  ASSERT_TRUE(tabs.Create(&parent, WS_CHILD | WS_VISIBLE, 0xE900));
  CWnd a;
  a.Attach(MakeChild(tabs.m_hWnd, WS_HSCROLL));
  tabs.AddTab(&a, "A");
  tabs.ActivateTab(0);
  tabs.MoveWindow(0, 0, 300, 200);
  RunUntilIdle();
  const int width = ClientRectOf(tabs).Width(), height = ClientRectOf(tabs).Height();
  EXPECT_EQ(tabs.m_nSplitterPos, width - 60);  // the first size leaves 60 pixels to the bar
  const CRect box = tabs.GetSplitterRect();
  Drag(tabs.m_hWnd, box.CenterPoint(), CPoint(box.CenterPoint().x - 100, box.CenterPoint().y));
  EXPECT_EQ(tabs.m_nSplitterPos, width - 60 - 100 - 1);  // the box sits one pixel left of the pointer
  CRect rcTabs;
  tabs.GetTabControl()->GetWindowRect(&rcTabs);
  EXPECT_EQ(rcTabs.Width(), tabs.m_nSplitterPos);
  Drag(tabs.m_hWnd, tabs.GetSplitterRect().CenterPoint(), CPoint(290, box.CenterPoint().y));
  EXPECT_EQ(tabs.m_nSplitterPos, width - 60);  // never closer than 60 pixels to the right edge
  EXPECT_FALSE(tabs.m_bTracking);
  CRect rcA;
  a.GetWindowRect(&rcA);
  EXPECT_EQ(rcA.Height(), height - ::GetSystemMetrics(SM_CYHSCROLL));
  a.Detach();
}

}  // namespace

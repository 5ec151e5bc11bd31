// The shortcut bar: the layout of buttons and the active client in both orientations, removing
// and disabling bars as tables, pressing buttons with and without tracking, the animation run on
// the virtual clock, list and view bars, and the hook that refuses a new bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extracontrols/SECShortcutBar.h"
#include "extracontrols/SECShortcutListCtrl.h"
#include "testing/testing.h"
#include "win/Input.h"
#include "tests/extracontrols/ExtraTestSupport.h"

using brambolt::test::ButtonDown;
using brambolt::test::ButtonUp;
using brambolt::test::Click;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using extracontrols_test::Host;

namespace {

// A client window that records the heights it is given.
class Pane : public CWnd {
  DECLARE_DYNCREATE(Pane)

 public:
  BOOL Make(CWnd* pParent) {
    return CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD, CRect(0, 0, 0, 0), pParent, 0);
  }
  std::vector<int> heights;
  std::vector<UINT> commands;

 protected:
  afx_msg void OnSize(UINT, int, int cy) { heights.push_back(cy); }
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    commands.push_back(LOWORD(wParam));
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(Pane, CWnd)

BEGIN_MESSAGE_MAP(Pane, CWnd)
  ON_WM_SIZE()
END_MESSAGE_MAP()

class NoteView : public CView {
  DECLARE_DYNCREATE(NoteView)

 public:
  void OnDraw(CDC*) override {}
};

IMPLEMENT_DYNCREATE(NoteView, CView)

class ShortcutBar : public ::testing::Test {
 protected:
  void Make(DWORD dwStyle, int count = 3) {
    ASSERT_TRUE(m_bar.Create(&m_host, WS_VISIBLE | dwStyle, 5));
    m_bar.MoveWindow(0, 0, 200, 300);
    for (int i = 0; i < count; ++i) {
      ASSERT_TRUE(m_panes[i].Make(&m_bar));
      ASSERT_NE(m_bar.AddBar(("Bar " + std::to_string(i)).c_str(), &m_panes[i]), nullptr);
    }
    RunUntilIdle();
  }
  std::string Labels() {
    std::string labels;
    for (int i = 0; i < m_bar.GetBarCount(); ++i) labels += std::string(m_bar.GetBar(i)->GetLabel()).back();
    return labels;
  }
  int ButtonsExtent() {
    int sum = 0;
    for (int i = 0; i < m_bar.GetBarCount(); ++i) sum += m_bar.GetBar(i)->m_nExtent;
    return sum;
  }
  UiSession m_session;
  Host m_host;
  SECShortcutBar m_bar;
  Pane m_panes[4];
};

TEST_F(ShortcutBar, TheActiveClientGetsWhatTheButtonsLeave) {
  Make(SEC_OBS_VERT);
  for (int active = 0; active < 3; ++active) {
    m_bar.SetActiveBar(active);
    RunUntilIdle();
    EXPECT_EQ(m_bar.GetActiveBar(), active);
    int y = 0;
    for (int i = 0; i < 3; ++i) {
      const SECBar* bar = m_bar.GetBar(i);
      EXPECT_EQ(bar->m_rcBar, CRect(0, y, 200, y + bar->m_nExtent)) << active << " " << i;
      y += bar->m_nExtent;
      EXPECT_EQ(bar->m_nClientExtent, i == active ? 300 - ButtonsExtent() : 0);
      EXPECT_EQ(m_panes[i].IsWindowVisible() != FALSE, i == active);
      if (i == active) {
        CRect pane;
        m_panes[i].GetWindowRect(pane);
        m_bar.ScreenToClient(pane);
        EXPECT_EQ(pane, CRect(0, y, 200, y + bar->m_nClientExtent));
        y += bar->m_nClientExtent;
      }
    }
    EXPECT_EQ(y, 300);
    EXPECT_EQ(::GetFocus(), m_panes[active].m_hWnd);
  }
  // A longer label keeps the button's height; a minimised or empty size changes nothing.
  m_bar.SetBarLabel(0, "A much longer label");
  EXPECT_EQ(m_bar.GetBar(0)->GetLabel(), CString("A much longer label"));
  const CRect before = m_bar.GetBar(2)->m_rcBar;
  m_bar.SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(200, 100));
  m_bar.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 100));
  EXPECT_EQ(m_bar.GetBar(2)->m_rcBar, before);
  bool thrown = false;
  try {
    m_bar.GetBar(3);
  } catch (CException* e) {
    e->Delete();
    thrown = true;
  }
  EXPECT_TRUE(thrown);
}

TEST_F(ShortcutBar, SideBySideBarsTakeTheirWidthFromTheLabelHeight) {
  Make(SEC_OBS_HORZ, 2);
  m_bar.SetActiveBar(0);
  const SECBar* first = m_bar.GetBar(0);
  const SECBar* second = m_bar.GetBar(1);
  EXPECT_EQ(first->m_rcBar.left, 0);
  EXPECT_EQ(first->m_rcBar.Height(), 300);
  EXPECT_EQ(first->m_rcClient, CRect(first->m_rcBar.right, 0, second->m_rcBar.left, 300));
  EXPECT_EQ(second->m_rcBar.right, 200);
  EXPECT_EQ(first->m_nExtent, first->m_rcBar.Width());
  EXPECT_LT(first->m_nExtent, 40);
}

TEST_F(ShortcutBar, RemovingAndDisablingMoveActivationByTheRules) {
  struct Case {
    const char* what;
    int active;
    bool remove;  // else disable
    std::vector<int> indices;
    const char* labels;
    int expected;  // the active bar's label digit, -1 for none
  };
  const Case cases[] = {
      {"remove the active last", 3, true, {3}, "012", 2},
      {"remove the active middle", 1, true, {1}, "023", 2},
      {"remove before the active", 2, true, {0}, "123", 2},
      {"remove after the active", 1, true, {3}, "012", 1},
      {"remove every bar", 0, true, {0, 0, 0, 0}, "", -1},
      {"disable the active", 1, false, {1}, "0123", 2},
      {"disable past a disabled", 1, false, {2, 1}, "0123", 3},
      {"disable the active last", 3, false, {3}, "0123", 2},
      {"disable one not active", 1, false, {3}, "0123", 1},
      {"disable all", 0, false, {1, 2, 3, 0}, "0123", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Make(SEC_OBS_VERT, 4);
    m_bar.SetActiveBar(c.active);
    for (int index : c.indices) {
      if (c.remove)
        EXPECT_TRUE(m_bar.RemoveBar(index));
      else
        EXPECT_TRUE(m_bar.DisableBar(index));
    }
    EXPECT_EQ(Labels(), c.labels);
    const int active = m_bar.GetActiveBar();
    EXPECT_EQ(active < 0 ? -1 : std::string(m_bar.GetBar(active)->GetLabel()).back() - '0', c.expected);
    if (active >= 0) {
      EXPECT_TRUE(m_bar.GetBar(active)->GetClientWindow()->IsWindowVisible());
    }
    m_bar.DestroyWindow();
    for (Pane& pane : m_panes)
      if (pane.m_hWnd != nullptr) pane.DestroyWindow();
  }
  // A removed bar's client window goes with it.
  Make(SEC_OBS_VERT, 2);
  m_bar.RemoveBar(0);
  EXPECT_FALSE(::IsWindow(m_panes[0].m_hWnd));
  EXPECT_TRUE(m_bar.EnableBar(0));
  EXPECT_FALSE(m_bar.DisableBar(5));
}

TEST_F(ShortcutBar, ButtonsActivateOnPressOrOnAReleaseOverThem) {
  Make(SEC_OBS_VERT);
  m_bar.SetActiveBar(0);
  Click(m_bar.m_hWnd, m_bar.GetBar(2)->m_rcBar.CenterPoint());
  EXPECT_EQ(m_bar.GetActiveBar(), 2);
  m_bar.DisableBar(1);
  Click(m_bar.m_hWnd, m_bar.GetBar(1)->m_rcBar.CenterPoint());  // a disabled bar stays put
  EXPECT_EQ(m_bar.GetActiveBar(), 2);
  m_bar.EnableBar(1);

  m_bar.ModifyBarStyle(0, SEC_OBS_BUTTONFEEDBACK | SEC_OBS_BUTTONFOCUS);
  EXPECT_NE(m_bar.GetBar(2)->m_dwFlags & SEC_BAR_FRAME, 0u);
  const CPoint first = m_bar.GetBar(0)->m_rcBar.CenterPoint();
  ButtonDown(m_bar.m_hWnd, first);
  EXPECT_NE(m_bar.GetBar(0)->m_dwFlags & SEC_BAR_PRESSED, 0u);
  EXPECT_EQ(m_bar.GetActiveBar(), 2);  // not yet
  ButtonUp(m_bar.m_hWnd, m_bar.GetBar(1)->m_rcBar.CenterPoint());  // released elsewhere
  EXPECT_EQ(m_bar.GetActiveBar(), 2);
  EXPECT_EQ(m_bar.GetBar(0)->m_dwFlags & SEC_BAR_PRESSED, 0u);
  ButtonDown(m_bar.m_hWnd, first);
  // Escape as the framework's message loop offers it to the windows around the focus.
  MSG escape{::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_TRUE(CWnd::WalkPreTranslateTree(m_host.m_hWnd, &escape));
  EXPECT_EQ(m_bar.GetBar(0)->m_dwFlags & SEC_BAR_PRESSED, 0u);
  ButtonUp(m_bar.m_hWnd, first);
  EXPECT_EQ(m_bar.GetActiveBar(), 2);  // Escape ended the press
  Click(m_bar.m_hWnd, first);
  EXPECT_EQ(m_bar.GetActiveBar(), 0);
  EXPECT_NE(m_bar.GetBar(0)->m_dwFlags & SEC_BAR_FRAME, 0u);
  EXPECT_EQ(m_bar.GetBar(2)->m_dwFlags & SEC_BAR_FRAME, 0u);
}

TEST_F(ShortcutBar, AButtonsMenuShowsOverItAndCommandsItsClient) {
  Make(SEC_OBS_VERT | SEC_OBS_CONTEXTMENU, 2);
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, 301, "Open");
  menu.AppendMenu(MF_STRING, 302, "Rename");
  m_bar.GetBar(1)->SetMenu(menu.GetSafeHmenu());
  brambolt::test::ModalAnswers answers;
  answers.When(MENU_WINDOW_CLASS, nullptr, [](HWND) {
    for (UINT vk : {VK_DOWN, VK_DOWN, VK_RETURN}) {
      brambolt::InjectKey(vk, true);
      brambolt::InjectKey(vk, false);
    }
  }, true);
  auto contextAt = [this](int bar) {
    Click(m_bar.m_hWnd, m_bar.GetBar(bar)->m_rcBar.CenterPoint(), brambolt::test::kNone, WM_RBUTTONDOWN);
  };
  contextAt(0);  // no menu there
  contextAt(1);
  EXPECT_TRUE(m_panes[0].commands.empty());
  EXPECT_EQ(m_panes[1].commands, std::vector<UINT>{302});
  m_bar.ModifyBarStyle(SEC_OBS_CONTEXTMENU, 0);
  contextAt(1);
  EXPECT_EQ(m_panes[1].commands.size(), 1u);
  m_bar.GetBar(1)->SetMenu(nullptr);
}

TEST_F(ShortcutBar, AnimationShrinksTheOldClientAsTheNewGrows) {
  Make(SEC_OBS_VERT | SEC_OBS_ANIMATESCROLL, 2);
  m_bar.SetActiveBar(0);
  const int free = 300 - ButtonsExtent();
  const DWORD start = ::GetTickCount();
  m_panes[1].heights.clear();
  m_bar.SetActiveBar(1);
  const int step = free / 8;
  // Frames every 7 ms until the old client has no full step left.
  EXPECT_EQ(static_cast<int>(::GetTickCount() - start), 7 * ((free - 1) / step));
  ASSERT_GE(m_panes[1].heights.size(), 3u);
  for (size_t i = 1; i < m_panes[1].heights.size(); ++i) EXPECT_GT(m_panes[1].heights[i], m_panes[1].heights[i - 1]);
  EXPECT_EQ(m_panes[1].heights.back(), free);
  EXPECT_FALSE(m_panes[0].IsWindowVisible());
  EXPECT_EQ(m_bar.GetBar(0)->m_nClientExtent, 0);
}

TEST_F(ShortcutBar, ListAndViewBarsMakeTheirOwnClients) {
  Make(SEC_OBS_VERT, 1);
  SECListBar* listBar = m_bar.AddListBar("Shortcuts");
  ASSERT_NE(listBar, nullptr);
  SECShortcutListCtrl* list = listBar->GetListCtrl();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(listBar->GetClientWindow(), static_cast<CWnd*>(list));
  EXPECT_EQ(list->GetParent(), &m_bar);
  list->InsertItem(0, "Inbox", 0);
  m_bar.SetActiveBar(1);
  RunUntilIdle();
  CRect rect;
  list->GetClientRect(rect);
  EXPECT_EQ(rect.Height(), 300 - ButtonsExtent());
  const HWND listWindow = list->m_hWnd;
  m_bar.RemoveBar(1);
  EXPECT_FALSE(::IsWindow(listWindow));
  EXPECT_EQ(m_bar.GetActiveBar(), 0);

  // A view made from its class gets the next id when none is given.
  SECBar* viewBar = m_bar.AddViewBar(RUNTIME_CLASS(NoteView), nullptr, "Notes");
  ASSERT_NE(viewBar, nullptr);
  CWnd* view = viewBar->GetClientWindow();
  ASSERT_NE(dynamic_cast<NoteView*>(CWnd::FromHandlePermanent(view->m_hWnd)), nullptr);
  EXPECT_EQ(view->GetDlgCtrlID(), static_cast<int>(kShortcutBarFirstViewId + 1));
  m_bar.SetActiveBar(1);
  EXPECT_EQ(::GetFocus(), view->m_hWnd);
  m_bar.RemoveBar(1);  // the view deletes itself with its window

  SECBar* owned = m_bar.AddBarWithClass(RUNTIME_CLASS(Pane), "Owned");
  ASSERT_NE(owned, nullptr);
  EXPECT_NE(owned->GetClientWindow(), nullptr);
  EXPECT_EQ(owned->GetClientWindow()->GetDlgCtrlID(), static_cast<int>(kShortcutBarFirstViewId + 1));
}

TEST_F(ShortcutBar, TheHookMayRefuseANewBar) {
  struct Choosy : SECShortcutBar {
    BOOL CanAddBar(SECBar* pBar) override { return pBar->GetLabel() != "No"; }
  };
  Choosy bar;
  ASSERT_TRUE(bar.Create(&m_host, WS_VISIBLE | SEC_OBS_VERT, 6));
  bar.MoveWindow(0, 0, 100, 200);
  Pane pane;
  ASSERT_TRUE(pane.Make(&bar));
  EXPECT_EQ(bar.AddBar("No", &pane), nullptr);
  EXPECT_TRUE(::IsWindow(pane.m_hWnd));  // the caller's window stays
  EXPECT_EQ(bar.AddListBar("No"), nullptr);
  EXPECT_EQ(bar.GetBarCount(), 0);
  EXPECT_NE(bar.AddBar("Yes", &pane), nullptr);
  EXPECT_EQ(bar.GetBarCount(), 1);
  // Bars given to a shortcut bar that never got its window go with it (the leak check sees).
  SECShortcutBar unmade;
  EXPECT_NE(unmade.AddBar("Early", nullptr), nullptr);
}

}  // namespace

// The menubar: buttons built from menu resources (bits per menu, a missing menu skipped), menus
// switched by id, mnemonics, Alt alone toggling menu mode (Alt held for a click not), Alt with a
// letter dropping a popup whose first item is selected, Right moving to the next menu (and into a
// submenu where there is one), Escape closing, a command chosen from the popup, the system menu,
// the open menu following the pointer; the MDI menubar's child buttons, height, double-click and
// full-screen placement.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "MenusTestIds.h"
#include "QueuedInput.h"
#include "bars/SECControlBarInfo.h"
#include "bars/SECDockBar.h"
#include "bars/SECMenuBar.h"
#include "bars/SECFrameWndServices.h"
#include "bars/SECMDIMenuBar.h"
#include "bars/SECMenuBarFeature.h"
#include "bars/SECTBMenuBtn.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

// A frame that answers "WM_SECGETMENU" from its menu resources and records its commands.
class MenuFrame : public CFrameWnd {
 public:
  std::vector<UINT> commands;
  ~MenuFrame() override {
    for (auto& [id, menu] : m_menus) ::DestroyMenu(menu);
  }

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) >= ID_MT_NEW && LOWORD(wParam) <= ID_MT_PLAIN) {
      commands.push_back(LOWORD(wParam));
      return TRUE;
    }
    return CFrameWnd::OnCommand(wParam, lParam);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SECMenuBarMessages::GetMenuMessage()) {
      HMENU& menu = m_menus[static_cast<UINT>(wParam)];
      if (menu == nullptr) menu = ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(wParam));
      return reinterpret_cast<LRESULT>(menu != nullptr ? ::GetSubMenu(menu, static_cast<int>(lParam)) : nullptr);
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  std::map<UINT, HMENU> m_menus;
};

struct MenuBarFrame {
  MenuFrame* frame = new MenuFrame;
  SECMenuBar bar;
  SECMenuBarFeature* feature = new SECMenuBarFeature;

  MenuBarFrame() {
    EXPECT_TRUE(frame->Create(nullptr, "Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
    frame->m_bAutoMenuEnable = FALSE;  // the commands are handled in OnCommand, not by the map
    EXPECT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, SEC_IDW_MENUBAR));
    const UINT menus[] = {IDR_MB_MAIN, IDR_MB_DOC};
    EXPECT_TRUE(bar.SetMenuInfo(2, menus));
    EXPECT_TRUE(bar.SwitchMenu(IDR_MB_MAIN));
    feature->SetMenuBar(&bar);
    EXPECT_TRUE(feature->PlugInTo(frame));
    frame->RecalcLayout();
    frame->SetActiveWindow();
    RunUntilIdle();
  }
  ~MenuBarFrame() {
    delete feature;
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  std::vector<CString> Shown() const {
    std::vector<CString> shown;
    for (int i = 0; i < bar.GetBtnCount(); ++i) {
      SECStdBtn* button = bar.GetButton(i);
      if (!(button->GetStyle() & TBBS_HIDDEN)) shown.push_back(static_cast<SECTBMenuBtn*>(button)->m_strCaption);
    }
    return shown;
  }
  BOOL Key(UINT message, WPARAM key, LPARAM lParam = 0) {
    MSG msg{frame->m_hWnd, message, key, lParam, 0, {0, 0}};
    return feature->PreTranslateMessage(&msg);
  }
};

TEST(MenuBar, ButtonsComeFromTheMenusAndOnlyTheCurrentMenusShow) {
  UiSession session;
  MenuBarFrame f;
  ASSERT_EQ(5, f.bar.GetBtnCount());
  EXPECT_EQ(SECMenuBar::kFirstButtonID, f.bar.GetItemID(0));
  EXPECT_EQ(SECMenuBar::kFirstButtonID + 4, f.bar.GetItemID(4));
  EXPECT_EQ((std::vector<CString>{"&File", "&Edit", "&Help"}), f.Shown());
  EXPECT_EQ(2, f.bar.FindMnemonic('h'));
  EXPECT_EQ(-1, f.bar.FindMnemonic('w'));
  ASSERT_TRUE(f.bar.SwitchMenu(IDR_MB_DOC));
  EXPECT_EQ((std::vector<CString>{"&File", "&Window"}), f.Shown());
  EXPECT_EQ(3, f.bar.FindMnemonic('F')) << "the File of the menu shown";
  EXPECT_EQ(4, f.bar.FindMnemonic('w'));
  EXPECT_FALSE(f.bar.SwitchMenu(24399));
  EXPECT_EQ(static_cast<UINT>(IDR_MB_DOC), f.bar.GetCurrentMenuID());

  // A missing menu takes no bit: the next one found gets the second.
  const UINT withGap[] = {IDR_MB_MAIN, 24399, IDR_MB_DOC};
  ASSERT_TRUE(f.bar.SetMenuInfo(3, withGap));
  EXPECT_EQ(2u, static_cast<SECTBMenuBtn*>(f.bar.GetButton(3))->m_dwMenuBit);
  const UINT none[] = {24399};
  EXPECT_FALSE(f.bar.SetMenuInfo(1, none));
}

// A restored layout (leaving full screen, loading a workspace) rebuilds every menu's buttons; only
// those of the menu shown stay visible.
TEST(MenuBar, ARestoredLayoutShowsOnlyTheCurrentMenusButtons) {
  UiSession session;
  MenuBarFrame f;
  ASSERT_TRUE(f.bar.SwitchMenu(IDR_MB_DOC));
  SECControlBarInfo info;
  f.bar.GetBarInfoEx(&info);
  f.bar.SetBarInfoEx(&info, f.frame);
  EXPECT_EQ(5, f.bar.GetBtnCount());
  EXPECT_EQ((std::vector<CString>{"&File", "&Window"}), f.Shown());
}

// A floating menubar resizes like a floating toolbar: dragged by a side edge, it lays its menus
// out in rows for the width the user gives it (it once always took its frame's width).
TEST(MenuBar, AFloatingMenubarIsResizedByItsSideEdges) {
  UiSession session;
  MenuBarFrame f;
  SECEnableDocking(f.frame, CBRS_ALIGN_ANY);
  f.bar.SetBarStyle(f.bar.GetBarStyle() | CBRS_SIZE_DYNAMIC);  // as the toolbar manager makes it
  f.bar.EnableDocking(CBRS_ALIGN_ANY);
  f.frame->FloatControlBar(&f.bar, CPoint(200, 200));
  f.frame->RecalcLayout();
  RunUntilIdle();
  ASSERT_TRUE(f.bar.IsFloating());
  CFrameWnd* floating = f.bar.GetParentFrame();
  CRect before;
  floating->GetWindowRect(&before);
  const CRect file = f.bar.GetButton(0)->GetRect();
  ASSERT_EQ(file.top, f.bar.GetButton(2)->GetRect().top) << "one row to start with";
  const POINT edge{before.right - 1, before.CenterPoint().y};
  ASSERT_EQ(floating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), HTRIGHT);
  const POINT to{before.left + file.Width() + 20, edge.y};
  DragInTrackingLoop(edge, to);
  f.frame->RecalcLayout();
  RunUntilIdle();
  ASSERT_TRUE(f.bar.IsFloating());
  CRect after;
  f.bar.GetParentFrame()->GetWindowRect(&after);
  EXPECT_LT(after.Width(), before.Width() * 2 / 3);
  EXPECT_GT(after.Height(), before.Height());
  EXPECT_GT(f.bar.GetButton(2)->GetRect().top, f.bar.GetButton(0)->GetRect().top) << "the menus wrap into rows";
}

TEST(MenuBar, AltAloneTogglesMenuModeAndArrowsMoveTheHotButton) {
  UiSession session;
  MenuBarFrame f;
  EXPECT_FALSE(f.Key(WM_SYSKEYDOWN, VK_MENU));
  EXPECT_TRUE(f.Key(WM_SYSKEYUP, VK_MENU));
  ASSERT_TRUE(f.bar.InMenuMode());
  EXPECT_EQ(0, f.bar.GetMenuBtnIndex());
  f.bar.NavigateMenus(1);
  EXPECT_EQ(1, f.bar.GetMenuBtnIndex());
  f.bar.NavigateMenus(1);
  f.bar.NavigateMenus(1);
  EXPECT_EQ(-1, f.bar.GetMenuBtnIndex()) << "past the last menu no button is hot";
  EXPECT_TRUE(f.bar.InMenuMode());
  f.Key(WM_SYSKEYDOWN, VK_MENU);
  EXPECT_FALSE(f.bar.InMenuMode()) << "Alt pressed again leaves menu mode";
  EXPECT_TRUE(f.Key(WM_SYSKEYUP, VK_MENU));
  EXPECT_FALSE(f.bar.InMenuMode()) << "and its release does not enter it again";
  // Alt with a letter no menu has is not the menubar's, and no lone Alt: its release leaves the
  // menus alone.
  KeyDown(VK_MENU);
  f.Key(WM_SYSKEYDOWN, VK_MENU);
  EXPECT_FALSE(f.Key(WM_SYSKEYDOWN, 'Q'));
  EXPECT_TRUE(f.Key(WM_SYSKEYUP, VK_MENU));
  EXPECT_FALSE(f.bar.InMenuMode());
  KeyUp(VK_MENU);
  // Alt held for a click (a toolbar button dragged with Alt) is a modifier: its release leaves
  // the menus alone.
  KeyDown(VK_MENU);
  f.Key(WM_SYSKEYDOWN, VK_MENU);
  EXPECT_FALSE(f.Key(WM_LBUTTONDOWN, MK_LBUTTON));
  f.Key(WM_LBUTTONUP, 0);
  EXPECT_TRUE(f.Key(WM_SYSKEYUP, VK_MENU));
  EXPECT_FALSE(f.bar.InMenuMode());
  KeyUp(VK_MENU);
  // An Alt that went down while a dialog had the keys, and is let go here, is no lone Alt of
  // this window.
  EXPECT_TRUE(f.Key(WM_SYSKEYUP, VK_MENU));
  EXPECT_FALSE(f.bar.InMenuMode());
}

TEST(MenuBar, AltLetterDropsThePopupAndRightMovesToTheNextMenu) {
  UiSession session;
  MenuBarFrame f;
  std::vector<int> open;
  UiScript script;
  script.Then([&] {
          KeyUp(VK_MENU);
          EXPECT_TRUE(SECMenuBarMessages::IsTrackingPopup());
          open.push_back(f.bar.GetMenuBtnIndex());
          PressKey(VK_RIGHT);
        })
      .Then([&] {
        open.push_back(f.bar.GetMenuBtnIndex());
        // Edit's first item opens a submenu: Right goes into it and stays on Edit.
        PressKey(VK_RIGHT);
      })
      .Then([&] {
        open.push_back(f.bar.GetMenuBtnIndex());
        PressKey(VK_ESCAPE);
        PressKey(VK_ESCAPE);
      });
  KeyDown(VK_MENU);
  EXPECT_TRUE(f.Key(WM_SYSKEYDOWN, 'F'));
  EXPECT_FALSE(SECMenuBarMessages::IsTrackingPopup());
  EXPECT_EQ((std::vector<int>{0, 1, 1}), open);
  EXPECT_EQ(-1, f.bar.GetMenuBtnIndex());
  EXPECT_EQ(0u, script.Remaining());
}

TEST(MenuBar, ACommandChosenFromTheDroppedMenuReachesTheFrame) {
  UiSession session;
  MenuBarFrame f;
  UiScript script;
  // The popup opened from the keyboard has its first item selected: Down once more is Save.
  script.Then([&] { PressKey(VK_DOWN); }).Then([&] { PressKey(VK_RETURN); });
  EXPECT_TRUE(f.Key(WM_SYSCOMMAND, SC_KEYMENU, 'f'));
  RunUntilIdle();
  EXPECT_EQ((std::vector<UINT>{ID_MT_SAVE}), f.frame->commands);
}

TEST(MenuBar, ThePointerMovingAlongTheBarSwitchesTheOpenMenu) {
  UiSession session;
  MenuBarFrame f;
  auto centre = [&](int index) { return ScreenPoint(f.bar.m_hWnd, f.bar.GetButton(index)->GetRect().CenterPoint()); };
  std::vector<int> open;
  UiScript script;
  // One move each, as a pointer that jumps gives: the first move after a popup opens counts.
  script
      .Then([&] {
        open.push_back(f.bar.GetMenuBtnIndex());
        brambolt::InjectMouseMove(centre(1));
      })
      .Then([&] {
        open.push_back(f.bar.GetMenuBtnIndex());
        brambolt::InjectMouseMove(centre(0));
      })
      .Then([&] {
        open.push_back(f.bar.GetMenuBtnIndex());
        EXPECT_TRUE(SECMenuBarMessages::IsTrackingPopup());
        QueueKey(VK_ESCAPE);
      });
  ClickAt(centre(0));
  RunUntilIdle();
  EXPECT_EQ((std::vector<int>{0, 1, 0}), open);
  EXPECT_FALSE(SECMenuBarMessages::IsTrackingPopup());
  EXPECT_EQ(0u, script.Remaining());
}

TEST(MenuBar, TheFramesSystemMenuDropsFromAltSpaceAndLeftOfTheFirstMenu) {
  UiSession session;
  MenuBarFrame f;
  std::vector<bool> system;
  UiScript script;
  script.Then([&] {
    system.push_back(SECMenuBarMessages::IsTrackingSystemMenu() != FALSE);
    QueueKey(VK_ESCAPE);
  });
  EXPECT_TRUE(f.Key(WM_SYSCOMMAND, SC_KEYMENU, ' '));
  RunUntilIdle();
  // From the first menu, Left goes round to the system menu.
  script.Then([&] {
          system.push_back(SECMenuBarMessages::IsTrackingSystemMenu() != FALSE);
          QueueKey(VK_LEFT);
        })
      .Then([&] {
        system.push_back(SECMenuBarMessages::IsTrackingSystemMenu() != FALSE);
        QueueKey(VK_ESCAPE);
      });
  EXPECT_TRUE(f.Key(WM_SYSCOMMAND, SC_KEYMENU, 'f'));
  RunUntilIdle();
  EXPECT_EQ((std::vector<bool>{true, false, true}), system);
  EXPECT_FALSE(SECMenuBarMessages::IsTrackingSystemMenu());
  EXPECT_EQ(0u, script.Remaining());
}

// An MDI frame with the MDI menubar and one child; the child's style decides its buttons.
struct MDIBarFrame {
  CMDIFrameWnd* frame = new CMDIFrameWnd;
  SECMDIMenuBar bar;
  CMDIChildWnd* child = new CMDIChildWnd;

  explicit MDIBarFrame(DWORD childStyle = WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
    EXPECT_TRUE(frame->LoadFrame(IDR_WS_FRAME, WS_OVERLAPPEDWINDOW));
    frame->ShowWindow(SW_SHOW);
    EXPECT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, SEC_IDW_MENUBAR));
    const UINT menus[] = {IDR_MB_MAIN};
    EXPECT_TRUE(bar.SetMenuInfo(1, menus));
    EXPECT_TRUE(child->Create(nullptr, "Child", childStyle, CRect(0, 0, 200, 150), frame));
    frame->RecalcLayout();
    RunUntilIdle();
  }
  ~MDIBarFrame() {
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  std::vector<int> Types() const {
    std::vector<int> types;
    for (int i = 0; i < bar.GetBtnCount(); ++i) types.push_back(bar.GetButton(i)->m_nType);
    return types;
  }
};

TEST(MDIMenuBar, AMaximisedChildPutsItsButtonsAtBothEndsAndRestoringTakesThemAway) {
  UiSession session;
  MDIBarFrame f;
  EXPECT_FALSE(f.bar.UpdateMDIButtons(FALSE)) << "a restored child has no buttons on the bar";
  f.child->MDIMaximize();
  RunUntilIdle();
  ASSERT_TRUE(f.bar.UpdateMDIButtons(FALSE));
  EXPECT_EQ((std::vector<int>{4, 3, 3, 3, 5}), f.Types());
  EXPECT_EQ(static_cast<DWORD>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), f.bar.m_btnCaption.m_dwStyleBits);
  EXPECT_FALSE(f.bar.UpdateMDIButtons(FALSE)) << "nothing changed";
  // Rebuilding the menu buttons keeps the two at the ends.
  const UINT menus[] = {IDR_MB_MAIN, IDR_MB_DOC};
  ASSERT_TRUE(f.bar.SetMenuInfo(2, menus));
  EXPECT_EQ(SECStdBtn::CapMenuBtn, f.bar.GetButton(0)->m_nType);
  EXPECT_EQ(SECStdBtn::CaptionBtn, f.bar.GetButton(f.bar.GetBtnCount() - 1)->m_nType);
  EXPECT_EQ(CSize(3 * (::GetSystemMetrics(SM_CXSIZE) - 2) + 2, ::GetSystemMetrics(SM_CYSIZE) - 4),
            f.bar.m_btnCaption.GetRect().Size());
  EXPECT_GE(f.bar.GetWidestButton(), f.bar.m_btnCaption.m_cx);
  // A layout saved and put back (a workspace, the next start) holds the menus only: the two
  // buttons come back once, with no blank button in their place.
  const std::vector<int> shown = f.Types();
  SECControlBarInfo info;
  f.bar.GetBarInfoEx(&info);
  EXPECT_EQ(shown, f.Types()) << "saving leaves the buttons shown";
  f.bar.SetBarInfoEx(&info, f.frame);
  f.bar.UpdateMDIButtons(FALSE);
  EXPECT_EQ(shown, f.Types());
  f.child->MDIRestore();
  RunUntilIdle();
  ASSERT_TRUE(f.bar.UpdateMDIButtons(FALSE));
  EXPECT_EQ((std::vector<int>{3, 3, 3, 3, 3}), f.Types());
}

TEST(MDIMenuBar, DockedAtTheTopItIsAsTallAsItsFontPlusTwelveWithItsButtonsInTheMiddle) {
  UiSession session;
  MDIBarFrame f;
  NONCLIENTMETRICS metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  const int height = std::abs(static_cast<int>(metrics.lfMenuFont.lfHeight)) + 12;
  for (BOOL maximised : {FALSE, TRUE}) {
    if (maximised) f.child->MDIMaximize();
    RunUntilIdle();
    f.bar.UpdateMDIButtons(FALSE);
    f.frame->RecalcLayout();
    RunUntilIdle();
    CRect window, bar;
    f.bar.GetWindowRect(&window);
    f.bar.GetClientRect(&bar);
    f.bar.CalcInsideRect(bar, TRUE);
    EXPECT_EQ(height, window.Height()) << maximised;
    const CRect file = f.bar.GetButton(maximised ? 1 : 0)->GetRect();
    EXPECT_LE(std::abs((file.top - bar.top) - (bar.bottom - file.bottom)), 1) << maximised;
  }
}

TEST(MDIMenuBar, ADoubleClickOnTheChildsIconClosesItThroughItsOpenSystemMenu) {
  UiSession session;
  MDIBarFrame f;
  auto* feature = new SECMenuBarFeature;
  feature->SetMenuBar(&f.bar);
  ASSERT_TRUE(feature->PlugInTo(f.frame));
  f.child->MDIMaximize();
  RunUntilIdle();
  ASSERT_TRUE(f.bar.UpdateMDIButtons(FALSE));
  f.frame->RecalcLayout();
  RunUntilIdle();
  const POINT icon = ScreenPoint(f.bar.m_hWnd, f.bar.m_btnSysMenu.GetRect().CenterPoint());
  HWND child = f.child->m_hWnd;
  // A second press later than the double-click time only closes the menu.
  bool tracked = false;
  UiScript late;
  late.Then([&] {
    tracked = SECMenuBarFeature::IsTrackingPopup();
    f.bar.m_dwPressTick = ::GetTickCount() - ::GetDoubleClickTime() - 100;
    QueueClick(icon);
  });
  ClickAt(icon);
  EXPECT_EQ(0u, late.Remaining());
  EXPECT_TRUE(tracked) << "the press dropped the child's system menu";
  EXPECT_FALSE(SECMenuBarFeature::IsTrackingPopup());
  EXPECT_TRUE(::IsWindow(child));
  // Within it, the two presses are the double-click that runs the menu's default command.
  UiScript quick;
  quick.Then([&] { QueueClick(icon); });
  ClickAt(icon);
  RunUntilIdle();
  EXPECT_EQ(0u, quick.Remaining());
  EXPECT_FALSE(::IsWindow(child)) << "closed";
  delete feature;
}

TEST(MDIMenuBar, InFullScreenTheCaptionButtonsSitTwoPixelsInsideTheDesktopsRightEdge) {
  UiSession session;
  MDIBarFrame f;
  f.child->MDIMaximize();
  RunUntilIdle();
  ASSERT_TRUE(f.bar.UpdateMDIButtons(FALSE));
  CRect desktop;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  f.bar.SetFullScreen(TRUE);
  f.bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
  EXPECT_EQ(desktop.Width() - 2, f.bar.m_btnCaption.GetRect().right);
  f.bar.SetFullScreen(FALSE);
  f.bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  EXPECT_LT(f.bar.m_btnCaption.GetRect().right, desktop.Width() - 2) << "after the last menu again";
}

TEST(MDIMenuBar, CaptionPartsFollowTheChildsStyleAndCloseIt) {
  UiSession session;
  MDIBarFrame f(WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_VISIBLE);
  f.child->MDIMaximize();
  RunUntilIdle();
  ASSERT_TRUE(f.bar.UpdateMDIButtons(FALSE));
  SECBtnCaption& caption = f.bar.m_btnCaption;
  EXPECT_FALSE(caption.m_dwStyleBits & WS_MINIMIZEBOX);
  EXPECT_EQ(-1, caption.HitTestPart(caption.PartRect(0).CenterPoint())) << "no minimise without the box";
  const CPoint close = caption.PartRect(2).CenterPoint();
  EXPECT_EQ(2, caption.HitTestPart(close));
  TOOLINFO info{};
  caption.GetToolInfo(close, &info);
  EXPECT_EQ(static_cast<UINT>(HTCLOSE), info.cbSize);
  HWND child = f.child->m_hWnd;
  EXPECT_TRUE(caption.BtnPressed(close));
  EXPECT_EQ(2, caption.m_nPressed);
  caption.BtnReleased(close);
  RunUntilIdle();
  EXPECT_FALSE(::IsWindow(child)) << "the close part closed the child";
}

TEST(MDIMenuBar, TheFramesReachTheMenubarThroughItsHooks) {
  UiSession session;
  MDIBarFrame f;
  SECMenuBarHooks* hooks = SECGetMenuBarHooks();
  ASSERT_NE(nullptr, hooks);
  std::unique_ptr<kelpwood::foundation::SECWndPlugIn> feature(hooks->CreateFeature(&f.bar));
  ASSERT_NE(nullptr, dynamic_cast<SECMenuBarFeature*>(feature.get()));
  EXPECT_EQ(&f.bar, static_cast<SECMenuBarFeature*>(feature.get())->m_pMenuBar);
  EXPECT_FALSE(hooks->SwitchMenu(feature.get(), &f.bar, 24399));
  EXPECT_TRUE(hooks->SwitchMenu(feature.get(), &f.bar, IDR_MB_MAIN));
  hooks->SkipNextHide(&f.bar);
  EXPECT_TRUE(f.bar.GetSkipNextHide());
  f.child->MDIMaximize();
  RunUntilIdle();
  EXPECT_TRUE(hooks->ShowChildButtons(&f.bar, TRUE));
  EXPECT_EQ(SECStdBtn::CapMenuBtn, f.bar.GetButton(0)->m_nType);
  EXPECT_TRUE(hooks->ShowChildButtons(&f.bar, FALSE));
}

}  // namespace

// The toolkit frames: the gradient bands and the caption title layout, the painted gradient
// caption, commands reaching the workspace plug-in and an active floating frame first, menus
// answered for "WM_SECGETMENU", a workspace plug-in that cannot attach, the workspace manager the
// frame makes saving in the user's registry, and help mode on the menubar (caption parts, menus
// opened and their commands, clicks beside the buttons).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HelpRecorder.h"
#include "MenusTestIds.h"
#include "QueuedInput.h"
#include "bars/SECBmpMenuPlugIn.h"
#include "bars/SECFrameWnd.h"
#include "bars/SECMDIChildWnd.h"
#include "bars/SECMDIFrameWnd.h"
#include "bars/SECMDIMenuBar.h"
#include "bars/SECMenuBarFeature.h"
#include "bars/SECWorkspaceManagerEx.h"
#include "testing/testing.h"

using brambolt::test::RunUntilIdle;
using brambolt::test::ScreenPoint;
using brambolt::test::UiScript;
using brambolt::test::PrivateStores;
using brambolt::test::UiSession;
using brambolt::test::WindowPixel;
using kelpwood::foundation::SECWndPlugIn;

namespace {

constexpr UINT kTestCommand = 43031;  // a workspace command
constexpr UINT kFloatCommand = 40001;

class CountingPlugIn : public SECWndPlugIn {
  DECLARE_DYNCREATE(CountingPlugIn)

 public:
  static int commands;

 protected:
  afx_msg void OnWorkspace() {
    ++commands;
    m_bHandled = TRUE;
  }
  DECLARE_MESSAGE_MAP()
};
int CountingPlugIn::commands = 0;
IMPLEMENT_DYNCREATE(CountingPlugIn, SECWndPlugIn)
BEGIN_MESSAGE_MAP(CountingPlugIn, SECWndPlugIn)
  ON_COMMAND(kTestCommand, OnWorkspace)
END_MESSAGE_MAP()

class FloatingFrame : public SECFrameWnd {
 public:
  int commands = 0;

 protected:
  afx_msg void OnFloat() { ++commands; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(FloatingFrame, SECFrameWnd)
  ON_COMMAND(kFloatCommand, OnFloat)
END_MESSAGE_MAP()

COLORREF Pixel(CDC& dc, int x) { return dc.GetPixel(x, 1); }


TEST(FrameCaption, GradientBandsReachTheRightEdgeWithoutPassingTheTarget) {
  UiSession session;
  CClientDC screen(nullptr);
  CDC dc;
  dc.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, 700, 4);
  CBitmap* pOld = dc.SelectObject(&bitmap);
  struct Case {
    int width;
    int bandWidth;  // width of every band but the last
  } cases[] = {{605, 10}, {30, 1}, {61, 1}};
  for (const Case& c : cases) {
    dc.FillSolidRect(0, 0, 700, 4, RGB(1, 2, 3));
    SECGradientFill(&dc, CRect(0, 0, c.width, 4), 60, RGB(0, 0, 0), RGB(0, 0, 240));
    const int bands = std::min(60, c.width);
    EXPECT_EQ(Pixel(dc, 0), RGB(0, 0, 0)) << c.width;
    EXPECT_EQ(Pixel(dc, c.bandWidth), RGB(0, 0, 240 * 256 / bands / 256)) << c.width;
    EXPECT_LE(GetBValue(Pixel(dc, c.width - 1)), 240) << c.width;
    EXPECT_NE(Pixel(dc, c.width - 1), RGB(1, 2, 3)) << c.width;  // the last band runs to the edge
    EXPECT_EQ(Pixel(dc, c.width), RGB(1, 2, 3)) << c.width;
  }
  dc.FillSolidRect(0, 0, 700, 4, RGB(1, 2, 3));
  SECGradientFill(&dc, CRect(5, 0, 5, 4), 60, RGB(0, 0, 0), RGB(0, 0, 240));
  EXPECT_EQ(Pixel(dc, 5), RGB(1, 2, 3));
  dc.SelectObject(pOld);
}

TEST(FrameCaption, TitleSplitsAtTheFirstDashAndDropsTheRestWhenNarrow) {
  CString lead, rest;
  SECSplitCaptionTitle("Brambolt - Doc - 2", lead, rest);
  EXPECT_STREQ(lead, "Brambolt ");
  EXPECT_STREQ(rest, "- Doc - 2");
  SECSplitCaptionTitle("Plain", lead, rest);
  EXPECT_STREQ(lead, "Plain");
  EXPECT_TRUE(rest.IsEmpty());

  struct Case {
    int width, align;
    int leadLeft;
    BOOL rest;
  } cases[] = {
      {300, 0, 10, TRUE},   {300, 1, 10 + (300 - 136) / 2, TRUE}, {300, 2, 310 - 136 - 1, TRUE},
      {80, 0, 10, FALSE},   {80, 1, 10 + (80 - 56) / 2, FALSE},   {50, 2, 10, FALSE},
  };
  for (const Case& c : cases) {
    // Lead 50 wide, rest 80, "W..." 30: the rest needs 30 + 50 + 6 pixels of room.
    const SECCaptionTextLayout layout = SECLayoutCaptionText(CRect(10, 0, 10 + c.width, 18), 50, 80, 30, c.align);
    EXPECT_EQ(layout.rcLead.left, c.leadLeft) << c.width << " " << c.align;
    EXPECT_EQ(layout.bDrawRest, c.rest) << c.width << " " << c.align;
    EXPECT_EQ(layout.nRestLeft, layout.rcLead.left + 56);
  }
}

class Frames : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new SECMDIFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Main - Doc", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
    app.m_pMainWnd = frame;
    RunUntilIdle();
  }
  void TearDown() override {
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
  }
  UiSession session;
  CWinApp app{"Frames"};
  SECMDIFrameWnd* frame = nullptr;
};

TEST_F(Frames, GradientCaptionIsPaintedFromBlack) {
  const CRect caption = SECFrameCaption::CaptionRect(frame);
  EXPECT_FALSE(frame->SetGradientCaption(TRUE));
  frame->SendMessage(WM_NCACTIVATE, TRUE);
  RunUntilIdle();
  const int x = caption.left + ::GetSystemMetrics(SM_CXSIZE) + 1;
  EXPECT_EQ(WindowPixel(frame->GetSafeHwnd(), x, caption.top + 2), RGB(0, 0, 0));
  EXPECT_EQ(WindowPixel(frame->GetSafeHwnd(), caption.left + 2, caption.top + 2), RGB(0, 0, 0));
  EXPECT_TRUE(frame->SetGradientCaption(FALSE));
  frame->SendMessage(WM_NCACTIVATE, TRUE);
  frame->SendMessage(WM_NCPAINT, 1);
  RunUntilIdle();
  EXPECT_NE(WindowPixel(frame->GetSafeHwnd(), x, caption.top + 2), RGB(0, 0, 0));

  // Where no gradient is available it cannot be switched on.
  frame->m_caption.m_bGradientAvailable = FALSE;
  EXPECT_FALSE(frame->SetGradientCaption(TRUE));
  EXPECT_FALSE(frame->m_caption.m_bGradientCaption);
}

TEST_F(Frames, WorkspacePlugInSeesCommandsFirst) {
  CountingPlugIn::commands = 0;
  ASSERT_NE(frame->CreateWorkspacePlugIn("key", FALSE, RUNTIME_CLASS(CountingPlugIn), FALSE), nullptr);
  frame->SendMessage(WM_COMMAND, kTestCommand);
  EXPECT_EQ(CountingPlugIn::commands, 1);
  EXPECT_EQ(frame->CreateWorkspacePlugIn("key", FALSE, nullptr, FALSE), nullptr);
}

TEST_F(Frames, WorkspaceManagerMadeByTheFrameSavesInTheUsersRegistry) {
  PrivateStores stores;
  brambolt::test::ModalAnswers answers;
  int boxes = 0;
  answers.When("#32770", nullptr, [&](HWND box) {
    ++boxes;
    ::SendMessage(box, WM_COMMAND, IDOK, 0);
  });
  auto* manager = dynamic_cast<SECWorkspaceManagerEx*>(frame->CreateWorkspacePlugIn(
      "Software\\MyCompany\\Brambolt\\v2.0", TRUE, RUNTIME_CLASS(SECWorkspaceManagerEx), FALSE));
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(manager->SaveWorkspace("Day"));
  EXPECT_EQ(boxes, 0);
  EXPECT_STREQ(manager->GetCurrentName(), "Day");
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\MyCompany\\Brambolt\\v2.0\\Day\\WorkState_v1_1\\Frames", 0,
                           KEY_READ, &key),
            ERROR_SUCCESS);
  ::RegCloseKey(key);
  // The test program keeps one registry in memory: the recent list is left empty for the others.
  CStringList none;
  manager->WriteRecentList(none);
}

TEST_F(Frames, ActiveFloatingFrameTakesCommandsBeforeTheChildren) {
  auto* child = new SECMDIChildWnd;
  ASSERT_TRUE(child->Create(nullptr, "Child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                            frame));
  auto* floating = new FloatingFrame;
  ASSERT_TRUE(floating->Create(nullptr, "Floating", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 250, 150)));
  RunUntilIdle();
  EXPECT_EQ(frame->GetActiveFrame(), child);
  frame->ActivateFloatingFrame(floating);
  EXPECT_EQ(frame->GetActiveFrame(), floating);
  EXPECT_EQ(frame->GetActiveFloatingFrame(), floating);
  frame->SendMessage(WM_COMMAND, kFloatCommand);
  EXPECT_EQ(floating->commands, 1);
  // A click into an MDI child gives the children the activation back.
  child->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame->GetSafeHwnd()), 0);
  EXPECT_EQ(frame->GetActiveFloatingFrame(), nullptr);
  EXPECT_EQ(frame->GetActiveFrame(), child);
  frame->SendMessage(WM_COMMAND, kFloatCommand);
  EXPECT_EQ(floating->commands, 1);
  floating->DestroyWindow();
}

TEST(FrameMenus, BitmapMenusPlugInWhenSwitchedOnBeforeCreation) {
  UiSession session;
  auto* plain = new SECFrameWnd;
  ASSERT_TRUE(plain->Create(nullptr, "Plain"));
  EXPECT_EQ(plain->m_pMenuPlugIn, nullptr);
  plain->DestroyWindow();
  auto* frame = new SECMDIFrameWnd;
  frame->EnableBmpMenus(TRUE);
  ASSERT_TRUE(frame->Create(nullptr, "Bitmap menus"));
  ASSERT_NE(frame->m_pMenuPlugIn, nullptr);
  EXPECT_TRUE(frame->m_pMenuPlugIn->IsKindOf(RUNTIME_CLASS(SECBmpMenuPlugIn)));
  EXPECT_TRUE(frame->m_pMenuPlugIn->IsPluggedIn());
  frame->DestroyWindow();
}

// A menubar seen through the hooks: it records what the frame asks of it.
class RecordingMenuBarHooks : public SECMenuBarHooks {
 public:
  std::vector<std::string> calls;
  SECWndPlugIn* CreateFeature(SECMenuBar*) override {
    calls.push_back("feature");
    return new CountingPlugIn;
  }
  BOOL SwitchMenu(SECWndPlugIn* pFeature, SECMenuBar*, UINT nMenuID) override {
    calls.push_back("switch " + std::to_string(nMenuID) + (pFeature != nullptr ? " by feature" : ""));
    return FALSE;
  }
  void SkipNextHide(SECMenuBar*) override { calls.push_back("skip"); }
  BOOL ShowChildButtons(SECMenuBar*, BOOL bShow) override {
    calls.push_back(bShow ? "buttons" : "no buttons");
    return FALSE;
  }
};

TEST(FrameMenus, MenubarFramesSwitchMenusThroughTheHooks) {
  UiSession session;
  CWinApp app{"Menubar"};
  RecordingMenuBarHooks hooks;
  SECSetMenuBarHooks(&hooks);
  int menubar = 0;  // any object stands for the menubar: the hooks only pass it on
  auto* frame = new SECMDIFrameWnd;
  frame->m_pMenuBar = reinterpret_cast<SECMenuBar*>(&menubar);
  ASSERT_TRUE(frame->Create(nullptr, "Menubar", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  app.m_pMainWnd = frame;
  ASSERT_NE(frame->m_pMenuPlugIn, nullptr);
  EXPECT_TRUE(frame->m_pMenuPlugIn->IsPluggedIn());
  frame->SetMenuBarMenu(700);
  frame->HideMenuBarChildButtons();
  CRect none(0, 0, 0, 0);
  frame->NegotiateBorderSpace(CFrameWnd::borderSet, &none);
  const std::vector<std::string> expected = {"feature", "switch 700 by feature", "buttons", "no buttons", "skip"};
  EXPECT_EQ(hooks.calls, expected);
  EXPECT_EQ(frame->GetCurrentMenuBarMenuId(), 700u);
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
  SECSetMenuBarHooks(nullptr);
}

TEST(FrameHelp, CommandHelpGoesToTheHelpFileWithTheTrackedCommand) {
  UiSession session;
  HelpRecorder app;
  auto* frame = new SECMDIFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, "Help", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  app.m_pMainWnd = frame;
  auto* child = new SECMDIChildWnd;
  ASSERT_TRUE(child->Create(nullptr, "Child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                            frame));
  EXPECT_EQ(frame->SendMessage(WM_COMMANDHELP, 0, 0x1234), TRUE);
  frame->m_nIDTracking = 500;
  EXPECT_EQ(frame->SendMessage(WM_COMMANDHELP, 0, 0), TRUE);
  frame->m_nIDTracking = 0;
  EXPECT_EQ(frame->SendMessage(WM_COMMANDHELP, 0, 0), FALSE);
  EXPECT_EQ(app.topics, (std::vector<DWORD_PTR>{0x1234, 0x10000 + 500}));
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
}

TEST(FrameHelp, MenubarHitCodesGiveTheSystemCommandsHelp) {
  const std::pair<UINT, DWORD_PTR> cases[] = {
      {0, 0}, {HTMINBUTTON, 0x1EF02}, {HTMAXBUTTON, 0x1EF12}, {HTCLOSE, 0x1EF06}, {HTCAPTION, 0x40002}};
  for (const auto& [code, context] : cases) EXPECT_EQ(SECMenuBarHelpContext(code), context) << code;
}

// Help mode of an MDI frame whose MDI menubar carries a maximised child's buttons: the main
// frame runs it (not the active child), the caption parts choose their help, a menu button still
// opens its menu and a click beside the buttons is eaten.
TEST(FrameHelp, MenubarClicksInHelpModeChooseCaptionPartsAndOpenMenus) {
  UiSession session;
  HelpRecorder app;
  SECMDIMenuBar bar;
  auto* frame = new SECMDIFrameWnd;
  frame->m_pMenuBar = &bar;  // the menubar feature is plugged in at creation
  ASSERT_TRUE(frame->Create(nullptr, "Help", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
  app.m_pMainWnd = frame;
  frame->m_bAutoMenuEnable = FALSE;  // the menu's commands have no handlers here
  ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, SEC_IDW_MENUBAR));
  const UINT menus[] = {IDR_MB_MAIN};
  ASSERT_TRUE(bar.SetMenuInfo(1, menus));
  frame->RegisterMenu(IDR_MB_MAIN, ::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MB_MAIN)));
  auto* child = new SECMDIChildWnd;
  ASSERT_TRUE(child->Create(nullptr, "Child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                            frame));
  child->m_nMenuBarMenuId = IDR_MB_MAIN;
  child->m_bMenuBarMode = TRUE;
  // Maximised once active: the child's caption buttons move into the menubar.
  child->MDIMaximize();
  RunUntilIdle();
  ASSERT_EQ(bar.GetButton(0), static_cast<SECStdBtn*>(&bar.m_btnSysMenu));

  const DWORD_PTR expected[] = {0x1EF02, 0x1EF12, 0x1EF06};
  for (int part = 0; part < 3; ++part) {
    const POINT at = ScreenPoint(bar.m_hWnd, bar.m_btnCaption.PartRect(part).CenterPoint());
    UiScript script;
    script.Then([&] {
      EXPECT_TRUE(frame->m_bHelpMode);
      EXPECT_FALSE(child->m_bHelpMode) << "the main frame's help mode, not the child's";
      QueueClick(at);
    });
    frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
    EXPECT_EQ(0u, script.Remaining());
    ASSERT_FALSE(app.topics.empty()) << part;
    EXPECT_EQ(app.topics.back(), expected[part]) << part;
    EXPECT_TRUE(child->IsZoomed()) << "the click chose help; it ran no command";
  }

  const CRect file = bar.GetButton(1)->GetRect();  // after the child's system-menu button
  const CPoint beside(bar.m_btnCaption.GetRect().left - 3, file.CenterPoint().y);
  ASSERT_LT(bar.HitTest(beside), 0);
  const size_t topics = app.topics.size();
  bool tracked = false;
  UiScript script;
  script.Then([&] { QueueClick(ScreenPoint(bar.m_hWnd, file.CenterPoint())); })
      .Then([&] {
        tracked = SECMenuBarFeature::IsTrackingPopup();
        QueueKey(VK_ESCAPE);
      })
      .Then([&] {
        EXPECT_FALSE(SECMenuBarFeature::IsTrackingPopup());
        EXPECT_TRUE(frame->m_bHelpMode) << "help mode goes on after the menu";
        QueueClick(ScreenPoint(bar.m_hWnd, beside));
      })
      .Then([&] {
        EXPECT_TRUE(frame->m_bHelpMode) << "a click beside the buttons is eaten";
        QueueKey(VK_ESCAPE);
      });
  frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
  EXPECT_EQ(0u, script.Remaining());
  EXPECT_TRUE(tracked) << "the menu button opened its menu";
  EXPECT_FALSE(frame->m_bHelpMode);
  EXPECT_EQ(app.topics.size(), topics);

  // A command chosen from the menu the click opened: help on that command.
  UiScript choose;
  choose.Then([&] { QueueClick(ScreenPoint(bar.m_hWnd, file.CenterPoint())); })
      .Then([&] {
        QueueKey(VK_DOWN);
        QueueKey(VK_RETURN);
      })
      .Then([&] { QueueKey(VK_ESCAPE); });  // only when the command did not end help mode
  frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
  EXPECT_EQ(1u, choose.Remaining()) << "the chosen command ended help mode";
  EXPECT_FALSE(frame->m_bHelpMode);
  EXPECT_EQ(app.topics.back(), HID_BASE_COMMAND + ID_MT_OPEN);
  frame->DestroyWindow();
  app.m_pMainWnd = nullptr;
}

TEST_F(Frames, RegisteredMenusAnswerTheGetMenuMessage) {
  HMENU bar = ::CreateMenu();
  HMENU popup = ::CreatePopupMenu();
  ::AppendMenu(popup, MF_STRING, 100, "&Item");
  ::AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&File");
  frame->RegisterMenu(700, bar);
  const UINT message = SECFrameServices::GetMenuMessage();
  EXPECT_EQ(message, ::RegisterWindowMessage("WM_SECGETMENU"));
  EXPECT_EQ(reinterpret_cast<HMENU>(frame->SendMessage(message, 700, 0)), popup);
  EXPECT_EQ(frame->SendMessage(message, 701, 0), 0);
}

}  // namespace

// The framework's toolbar, status bar and dialog bar in a frame: loading from resources, sizes
// and wrapping in every dock position, button updates and clicks, fly-by prompts in the status
// line, the key indicators, and the pixels of a gripper and of pressed, checked and disabled
// buttons.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "AfxTestResources.h"
#include "BarsTestIds.h"
#include "ControlTestSupport.h"
#include "afx/afx.h"
#include "testing/testing.h"
#include "win/Input.h"

using namespace brambolt::test;

namespace {

std::string R(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

class BarFrame : public CFrameWnd {
 public:
  std::vector<UINT> commands;
  std::vector<int> dropDowns;  // the commands of TBN_DROPDOWN
  LRESULT dropDownAnswer = TBDDRET_DEFAULT;
  BOOL twoEnabled = TRUE;
  int threeChecked = 0;

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    auto* info = reinterpret_cast<NMTOOLBAR*>(lParam);
    if (info->hdr.code != TBN_DROPDOWN) return CFrameWnd::OnNotify(wParam, lParam, pResult);
    dropDowns.push_back(info->iItem);
    *pResult = dropDownAnswer;
    return TRUE;
  }
  afx_msg void OnCommandRange(UINT nID) { commands.push_back(nID); }
  afx_msg void OnUpdateTwo(CCmdUI* pCmdUI) { pCmdUI->Enable(twoEnabled); }
  afx_msg void OnUpdateThree(CCmdUI* pCmdUI) { pCmdUI->SetCheck(threeChecked); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BarFrame, CFrameWnd)
  ON_COMMAND_RANGE(ID_TB_ONE, ID_TB_FOUR, OnCommandRange)
  ON_UPDATE_COMMAND_UI(ID_TB_TWO, OnUpdateTwo)
  ON_UPDATE_COMMAND_UI(ID_TB_THREE, OnUpdateThree)
END_MESSAGE_MAP()

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};

// A frame with a status bar and the test toolbar docked at the top with a gripper.
struct ToolFrame {
  BarFrame* frame = new BarFrame;
  CWnd pane;
  CStatusBar status;
  CToolBar toolbar;

  explicit ToolFrame(DWORD toolStyle = CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY) {
    EXPECT_TRUE(frame->Create(nullptr, "Tools", WS_OVERLAPPEDWINDOW, CRect(10, 10, 610, 410)));
    EXPECT_TRUE(pane.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame,
                            AFX_IDW_PANE_FIRST));
    EXPECT_TRUE(status.Create(frame));
    EXPECT_TRUE(status.SetIndicators(kIndicators, 3));
    EXPECT_TRUE(toolbar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | toolStyle));
    EXPECT_TRUE(toolbar.LoadToolBar(IDR_TESTBAR));
    toolbar.EnableDocking(CBRS_ALIGN_ANY);
    frame->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&toolbar);
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    frame->SetActiveWindow();
    RunUntilIdle();
  }
  ~ToolFrame() {
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  CRect Item(int index) const {
    CRect rect;
    toolbar.GetItemRect(index, &rect);
    return rect;
  }
  POINT ItemCentre(int index) const { return Item(index).CenterPoint(); }
  // What the status-bar control itself shows, read through the bar's control object.
  CString StatusText(int pane) const { return status.GetStatusBarCtrl().GetText(pane); }
  void Idle() {
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    RunUntilIdle();
  }
};

TEST(ToolBar, LoadsItsButtonsAndSizesInEveryDockPosition) {
  UiSession session;
  ToolFrame t;
  CToolBar& bar = t.toolbar;
  EXPECT_EQ(bar.GetCount(), 5);
  EXPECT_EQ(bar.CommandToIndex(ID_TB_THREE), 3);
  EXPECT_EQ(bar.GetItemID(2), 0u) << "the separator";
  UINT id, style;
  int image;
  bar.GetButtonInfo(3, id, style, image);
  EXPECT_EQ(id, static_cast<UINT>(ID_TB_THREE));
  EXPECT_EQ(image, 2) << "images go to buttons in order, skipping separators";
  EXPECT_EQ(style & TBBS_SEPARATOR, 0u);
  EXPECT_EQ(bar.m_sizeButton, CSize(23, 21));

  // Docked at the top: one row; 2-pixel borders (no insets: CreateEx's are 0) and the gripper.
  CRect rect;
  bar.GetWindowRect(&rect);
  EXPECT_EQ(rect.Height(), 21 + 2 * 2);
  EXPECT_EQ(rect.Width(), 4 * 23 + 8 + 2 * 2 + 7);
  EXPECT_EQ(R(t.Item(0)), R(CRect(2 + 7, 2, 2 + 7 + 23, 2 + 21)));
  EXPECT_EQ(t.Item(3).left, t.Item(1).right + 8);

  // Docked on the left: one button per row, the separator a gap between rows.
  t.frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
  t.frame->RecalcLayout();
  bar.GetWindowRect(&rect);
  EXPECT_EQ(rect.Width(), 23 + 2 * 2);
  EXPECT_EQ(t.Item(1).left, t.Item(0).left);
  EXPECT_EQ(t.Item(1).top, t.Item(0).bottom);
  EXPECT_EQ(t.Item(3).top, t.Item(1).bottom + 8 * 2 / 3);
  EXPECT_EQ(rect.Height(), 4 * 21 + 8 * 2 / 3 + 2 * 2 + 7);

  // Floating: one row again, no gripper.
  t.frame->FloatControlBar(&bar, CPoint(300, 200));
  bar.GetClientRect(&rect);
  EXPECT_EQ(rect.Height(), 21 + 2 * 2);
  EXPECT_EQ(t.Item(0).left, 2);
}

TEST(ToolBar, DynamicBarsWrapAtSeparatorsFirstToTheLengthAsked) {
  UiSession session;
  ToolFrame t(CBRS_TOP | CBRS_SIZE_DYNAMIC);
  CToolBar& bar = t.toolbar;
  // Room for three buttons: the row breaks at the separator, not after the third button.
  CSize size = bar.CalcDynamicLayout(3 * 23 + 8, LM_HORZ | LM_COMMIT);
  EXPECT_EQ(size.cx, 2 * 23 + 2 * 2) << "two buttons a row";
  EXPECT_NE(bar.GetButtonStyle(2) & TBBS_WRAPPED, 0u);
  EXPECT_EQ(bar.GetButtonStyle(1) & TBBS_WRAPPED, 0u);
  // Asked for a height of two rows: the narrowest layout of two rows.
  // Lengths asked for are the bar's outer ones, borders included.
  size = bar.CalcDynamicLayout(2 * 21 + 8 * 2 / 3 + 2 * 2, LM_HORZ | LM_LENGTHY | LM_COMMIT);
  EXPECT_EQ(size.cx, 2 * 23 + 2 * 2);
  // Room for one: a column.
  size = bar.CalcDynamicLayout(23, LM_HORZ | LM_COMMIT);
  EXPECT_EQ(size.cx, 23 + 2 * 2);
  EXPECT_EQ(bar.m_nMRUWidth, 32767u) << "only a floating bar remembers its width";
  // Floating with the width it was given last.
  t.frame->FloatControlBar(&bar, CPoint(300, 200));
  bar.CalcDynamicLayout(2 * 23 + 8, LM_HORZ | LM_COMMIT);
  EXPECT_EQ(bar.m_nMRUWidth, static_cast<UINT>(2 * 23));
  EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH).cx, 2 * 23 + 2 * 2);
}

TEST(ToolBar, UpdatesAndClicksGoThroughTheFrame) {
  UiSession session;
  ToolFrame t;
  t.frame->twoEnabled = FALSE;
  t.frame->threeChecked = 1;
  t.Idle();
  EXPECT_NE(t.toolbar.GetButtonStyle(1) & TBBS_DISABLED, 0u);
  EXPECT_NE(t.toolbar.GetButtonStyle(3) & TBBS_CHECKED, 0u);
  EXPECT_EQ(t.toolbar.GetButtonStyle(0) & TBBS_DISABLED, 0u) << "handled by the frame's command range";

  Click(t.toolbar.m_hWnd, t.ItemCentre(0));
  Click(t.toolbar.m_hWnd, t.ItemCentre(1));  // disabled: nothing
  // Pressed, dragged off and released elsewhere: no command.
  Drag(t.toolbar.m_hWnd, t.ItemCentre(4), POINT{t.ItemCentre(4).x, 200});
  EXPECT_EQ(t.frame->commands, std::vector<UINT>({ID_TB_ONE}));
  t.frame->twoEnabled = TRUE;
  t.Idle();
  Click(t.toolbar.m_hWnd, t.ItemCentre(1));
  EXPECT_EQ(t.frame->commands, std::vector<UINT>({ID_TB_ONE, ID_TB_TWO}));
}

// Texts under the images make the buttons taller; drop-down buttons tell the frame instead of
// sending their command, or only from their arrow when it is drawn apart; a separator widened
// with SetButtonInfo holds a control.
TEST(ToolBar, TextsDropDownsAndControlsInSeparators) {
  UiSession session;
  ToolFrame t;
  const int before = t.Item(0).Height();
  EXPECT_TRUE(t.toolbar.SetButtonText(0, "Open"));
  EXPECT_FALSE(t.toolbar.SetButtonText(99, "x"));
  EXPECT_EQ(t.toolbar.GetButtonText(0), CString("Open"));
  t.frame->RecalcLayout();
  RunUntilIdle();
  CRect first = t.Item(0);
  EXPECT_GT(first.Height(), before + 8);
  int ink = 0;  // the text's pixels in the lower part of the button
  for (int x = first.left + 2; x < first.right - 2; ++x)
    for (int y = first.bottom - 14; y < first.bottom - 3; ++y)
      if (GetRValue(WindowPixel(t.toolbar.m_hWnd, x, y)) < 100) ++ink;
  EXPECT_GT(ink, 10);

  // Button 1 drops down as a whole: the frame is told, no command is sent.
  t.toolbar.SetButtonStyle(1, t.toolbar.GetButtonStyle(1) | TBBS_DROPDOWN);
  Click(t.toolbar.m_hWnd, t.ItemCentre(1));
  EXPECT_EQ(t.frame->dropDowns, std::vector<int>({ID_TB_TWO}));
  EXPECT_TRUE(t.frame->commands.empty());
  // With the arrow apart the button is wider; its face sends the command, its arrow drops down,
  // and an answer of "treat as pressed" makes the arrow click a command too.
  const int narrow = t.Item(1).Width();
  EXPECT_EQ(t.toolbar.GetToolBarCtrl().SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS), 0u);
  EXPECT_EQ(t.toolbar.GetToolBarCtrl().GetExtendedStyle(), static_cast<DWORD>(TBSTYLE_EX_DRAWDDARROWS));
  t.frame->RecalcLayout();
  RunUntilIdle();
  CRect wide = t.Item(1);
  EXPECT_EQ(wide.Width(), narrow + 13);
  Click(t.toolbar.m_hWnd, CPoint(wide.left + 5, wide.CenterPoint().y));
  Click(t.toolbar.m_hWnd, CPoint(wide.right - 4, wide.CenterPoint().y));
  t.frame->dropDownAnswer = TBDDRET_TREATPRESSED;
  Click(t.toolbar.m_hWnd, CPoint(wide.right - 4, wide.CenterPoint().y));
  EXPECT_EQ(t.frame->dropDowns, std::vector<int>({ID_TB_TWO, ID_TB_TWO, ID_TB_TWO}));
  EXPECT_EQ(t.frame->commands, std::vector<UINT>({ID_TB_TWO, ID_TB_TWO}));

  // A separator 120 wide with an id holds a control; the bar's control finds it by index and id.
  t.toolbar.SetButtonInfo(2, 4321, TBBS_SEPARATOR, 120);
  t.frame->RecalcLayout();
  RunUntilIdle();
  CRect slot, byId;
  EXPECT_TRUE(t.toolbar.GetToolBarCtrl().GetItemRect(2, &slot));
  EXPECT_TRUE(t.toolbar.GetToolBarCtrl().GetRect(4321, &byId));
  EXPECT_EQ(slot.Width(), 120);
  EXPECT_EQ(slot, byId);
  EXPECT_EQ(t.toolbar.GetToolBarCtrl().GetButtonCount(), t.toolbar.GetCount());
  CComboBox combo;
  EXPECT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, slot, &t.toolbar, 4321));
  EXPECT_EQ(t.Item(3).left, slot.right) << "the next button comes after the control";
}

// The mouse moves to a point of a window, the move taken through the windows' pre-translation as
// the thread's pump does, and time passes.
void HoverAt(HWND hWnd, POINT client, HWND top) {
  brambolt::InjectMouseMove(ScreenPoint(hWnd, client));
  PumpThroughPreTranslate(top);
  AdvanceClock(1000);
}

// The text of the tooltip showing, empty when none does.
std::string ShownTip() {
  std::string shown;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM param) {
        char name[64] = {};
        ::GetClassName(hWnd, name, sizeof(name));
        if (std::strcmp(name, TOOLTIPS_CLASS) == 0 && ::IsWindowVisible(hWnd))
          *reinterpret_cast<std::string*>(param) = brambolt::test::Text(hWnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&shown));
  return shown;
}

TEST(ToolBar, HoveringAButtonShowsItsPromptInTheStatusLineAndItsTip) {
  UiSession session;
  ToolFrame t;
  t.frame->SetMessageText(AFX_IDS_IDLEMESSAGE);
  EXPECT_STREQ(t.StatusText(0), "Ready");
  HoverAt(t.toolbar.m_hWnd, t.ItemCentre(3), t.frame->m_hWnd);
  EXPECT_STREQ(t.StatusText(0), "Does the third thing") << "the text before the newline";
  EXPECT_STREQ(t.status.GetPaneText(0), "Does the third thing");
  EXPECT_EQ(ShownTip(), "Third") << "the text after it";
  HoverAt(t.toolbar.m_hWnd, t.ItemCentre(0), t.frame->m_hWnd);
  EXPECT_STREQ(t.StatusText(0), "Does the first thing");
  // The mouse leaves the bar: the idle message comes back.
  HoverAt(t.pane.m_hWnd, POINT{100, 100}, t.frame->m_hWnd);
  EXPECT_STREQ(t.StatusText(0), "Ready");
  EXPECT_EQ(ShownTip(), "");
}

TEST(StatusBar, PanesStretchAndIndicatorsFollowTheirKeys) {
  UiSession session;
  ToolFrame t;
  EXPECT_STREQ(t.StatusText(0), "Ready") << "a new frame's status line shows the idle message";
  CRect bar;
  t.status.GetClientRect(&bar);
  CRect first, caps, num;
  t.status.GetItemRect(0, &first);
  t.status.GetItemRect(1, &caps);
  t.status.GetItemRect(2, &num);
  UINT id, style;
  int width;
  t.status.GetPaneInfo(1, id, style, width);
  EXPECT_EQ(id, static_cast<UINT>(ID_INDICATOR_CAPS));
  EXPECT_EQ(caps.Width(), width + 6) << "the text's width and three pixels each side";
  EXPECT_NE(t.status.GetPaneStyle(0) & SBPS_STRETCH, 0u);
  EXPECT_EQ(num.right, bar.right - ::GetSystemMetrics(SM_CXVSCROLL)) << "the panes fill the bar up to the size grip";
  EXPECT_EQ(caps.left, first.right + 2);
  // A wider frame: the first pane takes all of the difference.
  t.frame->SetWindowPos(nullptr, 0, 0, 700, 400, SWP_NOMOVE | SWP_NOZORDER);
  RunUntilIdle();
  CRect wider;
  t.status.GetItemRect(0, &wider);
  EXPECT_EQ(wider.Width(), first.Width() + 100);
  t.status.GetItemRect(1, &caps);
  EXPECT_EQ(caps.Width(), width + 6);

  // CAP shows only while Caps Lock is on.
  bool on = (::GetKeyState(VK_CAPITAL) & 1) != 0;
  if (on) PressKey(VK_CAPITAL);
  t.Idle();
  EXPECT_STREQ(t.StatusText(1), "");
  EXPECT_STREQ(t.status.GetPaneText(1), "CAP") << "the pane keeps its text";
  PressKey(VK_CAPITAL);
  t.Idle();
  EXPECT_STREQ(t.StatusText(1), "CAP");
  PressKey(VK_CAPITAL);
  t.Idle();
  EXPECT_STREQ(t.StatusText(1), "");
  // The message pane takes the frame's messages; its window text is that pane.
  t.frame->SetMessageText("Working");
  CString text;
  t.status.GetWindowText(text);
  EXPECT_STREQ(text, "Working");
}

TEST(DialogBar, IsTheDialogOfItsTemplateAtItsSize) {
  UiSession session;
  BarFrame* frame = new BarFrame;
  ASSERT_TRUE(frame->Create(nullptr, "Dialog bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
  CDialogBar bar;
  ASSERT_TRUE(bar.Create(frame, IDD_TESTDIALOGBAR, CBRS_TOP, AFX_IDW_DIALOGBAR));
  ASSERT_NE(bar.GetDlgItem(IDC_TESTBAR_EDIT), nullptr);
  EXPECT_EQ(bar.GetDlgCtrlID(), AFX_IDW_DIALOGBAR);
  EXPECT_EQ(bar.m_pDockSite, frame);
  EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE), bar.m_sizeDefault);
  EXPECT_EQ(bar.CalcFixedLayout(FALSE, FALSE), bar.m_sizeDefault) << "the same size upright";
  frame->RecalcLayout();
  CRect rect, client;
  bar.GetWindowRect(&rect);
  frame->ScreenToClient(&rect);
  frame->GetClientRect(&client);
  EXPECT_EQ(R(rect), R(CRect(0, 0, client.right, bar.m_sizeDefault.cy))) << "stretched along the top";
  // Its button has no handler: the idle update disables it.
  frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(bar.m_hWnd, IDC_TESTBAR_BUTTON)));
  frame->DestroyWindow();
}

// ---- pixels ----

TEST(BarPainting, GripperAndPressedCheckedAndDisabledButtons) {
  UiSession session;
  ToolFrame t;
  t.frame->twoEnabled = FALSE;
  t.frame->threeChecked = 1;
  t.Idle();
  HWND bar = t.toolbar.m_hWnd;
  CRect client;
  t.toolbar.GetClientRect(&client);
  const int middle = client.Height() / 2;
  // The gripper: a ridge three pixels wide after the 2-pixel border and a 2-pixel gap.
  EXPECT_EQ(WindowPixel(bar, 4, middle), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(WindowPixel(bar, 6, middle), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(WindowPixel(bar, 8, middle), ::GetSysColor(COLOR_BTNFACE));

  // A flat button at rest has no edge; held down it is sunken.
  CRect one = t.Item(0);
  EXPECT_EQ(WindowPixel(bar, one.left, one.top), ::GetSysColor(COLOR_BTNFACE));
  ButtonDown(bar, one.CenterPoint());
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(bar, one.left, one.top), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(WindowPixel(bar, one.right - 1, one.bottom - 1), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  // Its image moved a pixel down and right: the red fill starts one further.
  const int imageLeft = one.left + (one.Width() - 16) / 2, imageTop = one.top + (one.Height() - 15) / 2;
  EXPECT_EQ(WindowPixel(bar, imageLeft + 5, imageTop + 4), RGB(255, 0, 0));
  ButtonUp(bar, one.CenterPoint());

  // Checked: sunken with the dither of highlight and face between edge and image.
  CRect three = t.Item(3);
  EXPECT_EQ(WindowPixel(bar, three.left, three.top), ::GetSysColor(COLOR_BTNSHADOW));
  COLORREF a = WindowPixel(bar, three.left + 2, three.top + 2);
  COLORREF b = WindowPixel(bar, three.left + 3, three.top + 2);
  EXPECT_NE(a, b);
  EXPECT_TRUE((a == ::GetSysColor(COLOR_BTNHIGHLIGHT) && b == ::GetSysColor(COLOR_BTNFACE)) ||
              (b == ::GetSysColor(COLOR_BTNHIGHLIGHT) && a == ::GetSysColor(COLOR_BTNFACE)));

  // Disabled: the image embossed, its frame in shadow with the highlight below-right of it.
  CRect two = t.Item(1);
  const int twoLeft = two.left + (two.Width() - 16) / 2, twoTop = two.top + (two.Height() - 15) / 2;
  EXPECT_EQ(WindowPixel(bar, twoLeft + 3, twoTop + 2), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(WindowPixel(bar, twoLeft + 13, twoTop + 13), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_NE(WindowPixel(bar, twoLeft + 6, twoTop + 6), RGB(0, 128, 0)) << "no colour";
  SaveWindowPng(t.frame->m_hWnd, ::testing::TempDir() + "toolbar.png");
}

}  // namespace

namespace {

class HelpApp : public CWinApp {
 public:
  HelpApp() : CWinApp("Help mode") {}
  void WinHelp(DWORD_PTR dwData, UINT nCmd) override {
    contexts.push_back(dwData);
    commands.push_back(nCmd);
  }
  std::vector<DWORD_PTR> contexts;
  std::vector<UINT> commands;
};

TEST(FrameHelpMode, AClickChoosesTheCommandHelpIsShownForAndEscapeLeaves) {
  UiSession session;
  HelpApp app;
  ToolFrame t;
  // The framework's cursors ship with the program.
  for (UINT id = AFX_IDC_CONTEXTHELP; id <= AFX_IDC_MOVE4WAY; ++id) {
    LPCTSTR name = MAKEINTRESOURCE(id);
    EXPECT_NE(::LoadCursor(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name), nullptr) << id;
  }
  POINT button = ScreenPoint(t.toolbar.m_hWnd, t.ItemCentre(3));
  UiScript script;
  script.Then([&] {
    EXPECT_TRUE(t.frame->m_bHelpMode);
    EXPECT_STREQ(t.status.GetPaneText(0), "Choose the item you want help on");
    brambolt::InjectMouseMove(button);
    brambolt::InjectMouseButton(WM_LBUTTONDOWN, button);
    brambolt::InjectMouseButton(WM_LBUTTONUP, button);
  });
  t.frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
  EXPECT_FALSE(t.frame->m_bHelpMode);
  ASSERT_EQ(app.contexts.size(), 1u);
  EXPECT_EQ(app.contexts[0], HID_BASE_COMMAND + ID_TB_THREE);
  EXPECT_TRUE(t.frame->commands.empty()) << "the click chose; it ran nothing";

  UiScript escape;
  escape.Then([] {
    brambolt::InjectKey(VK_ESCAPE, true);
    brambolt::InjectKey(VK_ESCAPE, false);
  });
  t.frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
  EXPECT_FALSE(t.frame->m_bHelpMode);
  EXPECT_EQ(app.contexts.size(), 1u) << "no help after Escape";
  EXPECT_EQ(::GetCapture(), nullptr);
}

// A command chosen from the frame's own menu in help mode, opened by a click or by its Alt key,
// or a system command, gives help on that command instead of running it, and help mode ends.
TEST(FrameHelpMode, ACommandChosenFromTheMenuGivesHelpInsteadOfRunning) {
  UiSession session;
  HelpApp app;
  ToolFrame t;
  CMenu bar, tools;
  ASSERT_TRUE(bar.CreateMenu());
  ASSERT_TRUE(tools.CreatePopupMenu());
  tools.AppendMenu(MF_STRING, ID_TB_ONE, "&One");
  tools.AppendMenu(MF_STRING, ID_TB_TWO, "&Two");
  bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(tools.Detach()), "&Tools");
  ASSERT_TRUE(t.frame->SetMenu(&bar));
  RunUntilIdle();
  CRect item;
  ASSERT_TRUE(::GetMenuItemRect(t.frame->m_hWnd, bar, 0, &item));
  const POINT onTools = item.CenterPoint();
  auto press = [](UINT vk) {
    brambolt::InjectKey(vk, true);
    brambolt::InjectKey(vk, false);
  };

  struct Case {
    const char* how;
    std::function<void()> open, choose;
    DWORD_PTR context;
  };
  const Case cases[] = {
      {"a click opens the menu",
       [&] {
         brambolt::InjectMouseMove(onTools);
         brambolt::InjectMouseButton(WM_LBUTTONDOWN, onTools);
         brambolt::InjectMouseButton(WM_LBUTTONUP, onTools);
       },
       [&] {
         press(VK_DOWN);
         press(VK_DOWN);
         press(VK_RETURN);
       },
       HID_BASE_COMMAND + ID_TB_TWO},
      {"Alt+T opens the menu",
       [] {
         brambolt::InjectKey(VK_MENU, true);
         brambolt::InjectKey('T', true);
         brambolt::InjectKey('T', false);
         brambolt::InjectKey(VK_MENU, false);
       },
       [&] { press(VK_RETURN); }, HID_BASE_COMMAND + ID_TB_ONE},
      {"Alt+F4 asks for the system command", [] {},
       [] {
         brambolt::InjectKey(VK_MENU, true);
         brambolt::InjectKey(VK_F4, true);
         brambolt::InjectKey(VK_F4, false);
         brambolt::InjectKey(VK_MENU, false);
       },
       HID_BASE_COMMAND + AFX_IDS_SCCLOSE},
  };
  for (const Case& c : cases) {
    app.contexts.clear();
    UiScript script;
    script.Then(c.open).Then(c.choose).Then([&] { press(VK_ESCAPE); });  // only when help mode went on
    t.frame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
    EXPECT_FALSE(t.frame->m_bHelpMode) << c.how;
    EXPECT_EQ(script.Remaining(), 1u) << c.how << ": the choice ended help mode";
    ASSERT_EQ(app.contexts.size(), 1u) << c.how;
    EXPECT_EQ(app.contexts[0], c.context) << c.how;
    EXPECT_TRUE(t.frame->commands.empty()) << c.how << ": the command did not run";
    EXPECT_TRUE(::IsWindow(t.frame->m_hWnd)) << c.how;
    EXPECT_EQ(::GetCapture(), nullptr) << c.how;
  }
}

}  // namespace

// CWnd's automatic tooltips: the mouse resting on a tool OnToolHitTest finds shows the thread's
// tip after the initial delay on the virtual clock, with the text after "\n" of the control's
// string; clicks put it away; windows choose their own tools and texts.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ControlWrapperTestIds.h"
#include "DialogTestIds.h"
#include "ControlTestSupport.h"
#include "win/Input.h"

using brambolt::test::AdvanceClock;
using brambolt::test::PumpThroughPreTranslate;
using brambolt::test::ScreenPoint;
using brambolt::test::Text;
using brambolt::test::UiScript;
using brambolt::test::UiSession;

namespace {

// Longer than any delay the tooltip waits before it shows.
constexpr DWORD kWellAfterDelay = 2000;

// The thread's tooltip windows.
std::vector<HWND> ToolTipWindows() {
  std::vector<HWND> found;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM param) {
        char name[64] = {};
        ::GetClassName(hWnd, name, sizeof(name));
        if (std::strcmp(name, TOOLTIPS_CLASS) == 0) reinterpret_cast<std::vector<HWND>*>(param)->push_back(hWnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The text of the tip on the screen, empty when none shows.
std::string ShownTip() {
  for (HWND tip : ToolTipWindows())
    if (::IsWindowVisible(tip)) return Text(tip);
  return "";
}

POINT CentreOf(HWND hWnd) {
  RECT rect;
  ::GetWindowRect(hWnd, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A dialog whose controls show tips from their strings.
class TipDialog : public CDialog {
 public:
  TipDialog() : CDialog(IDD_TOOLTIP_DIALOG) {}
  bool enableTips = true;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (enableTips) EnableToolTips();
    return TRUE;
  }
};

using Step = std::function<void(HWND)>;

// Runs `steps` inside the dialog's modal loop, one each time the loop waits, then closes it.
void RunInDialog(TipDialog& dialog, const std::vector<Step>& steps) {
  UiScript script;
  HWND hWnd = nullptr;
  script.Then([&] { hWnd = dialog.m_hWnd; });
  for (const Step& step : steps) script.Then([&hWnd, step] { step(hWnd); });
  script.Then([&] { dialog.EndDialog(IDOK); });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(script.Remaining(), 0u);
}

// Runs the tip dialog; after each move, and the time any delay takes, notes the tip shown.
std::vector<std::string> TipsAfter(const std::vector<Step>& moves, bool enableTips = true) {
  TipDialog dialog;
  dialog.enableTips = enableTips;
  std::vector<std::string> tips;
  std::vector<Step> steps;
  for (const Step& move : moves) {
    steps.push_back(move);
    steps.push_back([](HWND) { AdvanceClock(kWellAfterDelay); });
    steps.push_back([&tips](HWND) { tips.push_back(ShownTip()); });
  }
  RunInDialog(dialog, steps);
  return tips;
}

// The mouse moves onto a control of the dialog: injected only, so that the dialog's own loop
// takes the message through its filter.
Step HoverOver(int nID) {
  return [nID](HWND dialog) { brambolt::InjectMouseMove(CentreOf(::GetDlgItem(dialog, nID))); };
}

Step ClickOn(int nID) {
  return [nID](HWND dialog) {
    POINT at = CentreOf(::GetDlgItem(dialog, nID));
    brambolt::InjectMouseButton(WM_LBUTTONDOWN, at);
    brambolt::InjectMouseButton(WM_LBUTTONUP, at);
  };
}

// A client point of the dialog on its label, which has no id.
POINT OnTheLabel(HWND dialog) {
  RECT label{10, 50, 60, 58};
  ::MapDialogRect(dialog, &label);
  return POINT{label.left + 2, label.top + 2};
}

}  // namespace

TEST(ToolTipHooks, HoveringAControlShowsTheTipOfItsStringAfterTheDelay) {
  UiSession session;
  TipDialog dialog;
  std::string early, shown;
  RunInDialog(dialog, {HoverOver(IDC_TIP_BUTTON), [&](HWND) { early = ShownTip(); },
                       [](HWND) { AdvanceClock(kWellAfterDelay); }, [&](HWND) { shown = ShownTip(); }});
  EXPECT_EQ(early, "") << "nothing before the initial delay";
  EXPECT_EQ(shown, "Run it");
}

TEST(ToolTipHooks, TheTipFollowsTheMouseToTheNextControl) {
  UiSession session;
  Step onLabel = [](HWND dialog) { brambolt::InjectMouseMove(ScreenPoint(dialog, OnTheLabel(dialog))); };
  EXPECT_EQ(TipsAfter({HoverOver(IDC_TIP_BUTTON), HoverOver(IDC_TIP_EDIT), onLabel}),
            (std::vector<std::string>{"Run it", "Name", ""}))
      << "only the second field of a string, and nothing over a control without an id";
}

TEST(ToolTipHooks, AClickPutsTheTipAwayUntilTheMouseMovesOn) {
  UiSession session;
  EXPECT_EQ(TipsAfter({HoverOver(IDC_TIP_BUTTON), ClickOn(IDC_TIP_BUTTON)}),
            (std::vector<std::string>{"Run it", ""}));
}

TEST(ToolTipHooks, AKeyPutsTheTipAway) {
  UiSession session;
  Step typeKey = [](HWND) {
    brambolt::InjectKey(VK_SHIFT, true);
    brambolt::InjectKey(VK_SHIFT, false);
  };
  EXPECT_EQ(TipsAfter({HoverOver(IDC_TIP_BUTTON), typeKey}), (std::vector<std::string>{"Run it", ""}));
}

TEST(ToolTipHooks, DisabledControlsShowTheirTipsToo) {
  UiSession session;
  Step disable = [](HWND dialog) { ::EnableWindow(::GetDlgItem(dialog, IDC_TIP_BUTTON), FALSE); };
  EXPECT_EQ(TipsAfter({disable, HoverOver(IDC_TIP_BUTTON)}), (std::vector<std::string>{"", "Run it"}))
      << "the dialog gets the mouse and finds the disabled button under it";
}

TEST(ToolTipHooks, StringsWithoutATipShowNoneAndLongTipsAreCut) {
  UiSession session;
  EXPECT_EQ(TipsAfter({HoverOver(IDC_TIP_CHECK), HoverOver(IDC_TIP_LONG)}),
            (std::vector<std::string>{
                "", "0123456789012345678901234567890123456789012345678901234567890123456789012345678"}));
}

TEST(ToolTipHooks, WindowsWithoutTooltipsShowNone) {
  UiSession session;
  EXPECT_EQ(TipsAfter({HoverOver(IDC_TIP_BUTTON)}, false), (std::vector<std::string>{""}));
  EXPECT_TRUE(ToolTipWindows().empty()) << "no tooltip is made for windows that never asked";
}

TEST(ToolTipHooks, DefaultHitTestFindsTheControlUnderThePoint) {
  UiSession session;
  TipDialog dialog;
  INT_PTR onButton = 0, onGroupOnly = 0, onLabel = 0;
  TOOLINFO button{};
  RunInDialog(dialog, {[&](HWND hWnd) {
    button.cbSize = sizeof(button);
    POINT at = CentreOf(::GetDlgItem(hWnd, IDC_TIP_BUTTON));
    ::ScreenToClient(hWnd, &at);
    onButton = dialog.OnToolHitTest(at, &button);
    RECT group{150, 55, 160, 60};  // inside the group box, on no control
    ::MapDialogRect(hWnd, &group);
    TOOLINFO info{};
    info.cbSize = sizeof(info);
    onGroupOnly = dialog.OnToolHitTest(CPoint(group.left, group.top), &info);
    onLabel = dialog.OnToolHitTest(OnTheLabel(hWnd), &info);
  }});
  EXPECT_EQ(onButton, IDC_TIP_BUTTON);
  EXPECT_EQ(button.uFlags & TTF_IDISHWND, static_cast<UINT>(TTF_IDISHWND));
  EXPECT_EQ(button.uFlags & TTF_CENTERTIP, 0u) << "buttons keep the tip at the mouse";
  EXPECT_EQ(button.lpszText, LPSTR_TEXTCALLBACK);
  EXPECT_EQ(onGroupOnly, -1);
  EXPECT_EQ(onLabel, -1);
}

// ---- a window with tools of its own ----

namespace {

// Two rectangles of the client area are tools; their texts are copies the framework frees.
class Ruler : public CWnd {
 public:
  int hitTests = 0;

  // A visible top-level window with tooltips.
  bool Open() {
    if (!CreateEx(0, AfxRegisterWndClass(0), "Ruler", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                  nullptr))
      return false;
    EnableToolTips();
    return true;
  }

  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override {
    ++const_cast<Ruler*>(this)->hitTests;
    for (int index = 0; index < 2; ++index) {
      CRect rect(10 + index * 100, 10, 90 + index * 100, 50);
      if (!rect.PtInRect(point)) continue;
      pTI->hwnd = m_hWnd;
      pTI->uId = static_cast<UINT_PTR>(index + 1);
      pTI->rect = rect;
      pTI->lpszText = ::strdup(index == 0 ? "Left part" : "Right part");
      return index + 1;
    }
    return -1;
  }
};

void Hover(HWND hWnd, POINT client) {
  brambolt::InjectMouseMove(ScreenPoint(hWnd, client));
  PumpThroughPreTranslate(hWnd);
  AdvanceClock(kWellAfterDelay);
}

}  // namespace

TEST(ToolTipHooks, AWindowsOwnToolsShowTheirOwnTexts) {
  UiSession session;
  Ruler ruler;
  ASSERT_TRUE(ruler.Open());
  Hover(ruler, POINT{20, 20});
  EXPECT_EQ(ShownTip(), "Left part");
  Hover(ruler, POINT{150, 30});
  EXPECT_EQ(ShownTip(), "Right part");
  Hover(ruler, POINT{150, 150});
  EXPECT_EQ(ShownTip(), "");
  EXPECT_GE(ruler.hitTests, 3);

  ruler.EnableToolTips(FALSE);
  int tested = ruler.hitTests;
  Hover(ruler, POINT{20, 20});
  EXPECT_EQ(ShownTip(), "");
  EXPECT_EQ(ruler.hitTests, tested) << "a window without tooltips is not asked";
}

TEST(ToolTipHooks, TheTooltipGoesWithTheWindowThatOwnsIt) {
  UiSession session;
  {
    Ruler ruler;
    ASSERT_TRUE(ruler.Open());
    Hover(ruler, POINT{20, 20});
    ASSERT_EQ(ToolTipWindows().size(), 1u);
    EXPECT_EQ(::GetWindow(ToolTipWindows()[0], GW_OWNER), ruler.m_hWnd);
  }
  EXPECT_TRUE(ToolTipWindows().empty());
  // Another window makes a new one.
  Ruler other;
  ASSERT_TRUE(other.Open());
  Hover(other, POINT{150, 30});
  EXPECT_EQ(ShownTip(), "Right part");
}

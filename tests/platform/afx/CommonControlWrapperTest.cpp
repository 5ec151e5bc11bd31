// The framework's common control objects over real controls: progress, spin, hot-key, tab,
// animation and tooltip calls show in the controls' state as their raw messages report it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ControlWrapperTestIds.h"
#include "ControlTestSupport.h"
#include "win/Input.h"

using brambolt::test::AdvanceClock;
using brambolt::test::Text;
using brambolt::test::UiSession;

namespace {

using CommonControlWrappers = brambolt::test::HostedControls;

// ---- progress ----

// Each call of a progress bar, and the position it leaves.
struct ProgressStep {
  const char* name;
  std::function<int(CProgressCtrl&)> call;  // returns what the call returned
  int returned;
  int position;
};

class ProgressSteps : public CommonControlWrappers, public ::testing::WithParamInterface<ProgressStep> {};

TEST_P(ProgressSteps, MoveThePosition) {
  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_VISIBLE, At(10), &host, 200));
  progress.SetRange32(0, 200);
  progress.SetPos(50);
  EXPECT_EQ(GetParam().call(progress), GetParam().returned);
  EXPECT_EQ(::SendMessage(progress, PBM_GETPOS, 0, 0), GetParam().position);
  EXPECT_EQ(progress.GetPos(), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    CommonControlWrappers, ProgressSteps,
    ::testing::Values(ProgressStep{"SetPos", [](CProgressCtrl& p) { return p.SetPos(120); }, 50, 120},
                      ProgressStep{"SetPosClamped", [](CProgressCtrl& p) { return p.SetPos(900); }, 50, 200},
                      ProgressStep{"OffsetPos", [](CProgressCtrl& p) { return p.OffsetPos(-20); }, 50, 30},
                      ProgressStep{"StepIt", [](CProgressCtrl& p) { return p.StepIt(); }, 50, 60},
                      ProgressStep{"SetStepThenStepIt",
                                   [](CProgressCtrl& p) {
                                     p.SetStep(25);
                                     return p.StepIt();
                                   },
                                   50, 75},
                      ProgressStep{"SetRangeKeepsInside",
                                   [](CProgressCtrl& p) {
                                     p.SetRange(0, 40);
                                     return p.GetPos();
                                   },
                                   40, 40}),
    [](const ::testing::TestParamInfo<ProgressStep>& info) { return std::string(info.param.name); });

TEST_F(CommonControlWrappers, ProgressRangeReadsBack) {
  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_VISIBLE, At(10), &host, 201));
  progress.SetRange32(-5, 70000);
  int low = 0, high = 0;
  progress.GetRange(low, high);
  EXPECT_EQ(low, -5);
  EXPECT_EQ(high, 70000);
}

// ---- spin buttons ----

TEST_F(CommonControlWrappers, SpinButtonWithABuddy) {
  CEdit buddy;
  ASSERT_TRUE(buddy.Create(WS_VISIBLE | WS_BORDER, At(10), &host, 210));
  CSpinButtonCtrl spin;
  ASSERT_TRUE(spin.Create(WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, CRect(0, 0, 16, 24), &host,
                          211));
  EXPECT_EQ(spin.SetBuddy(&buddy)->GetSafeHwnd(), nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(::SendMessage(spin, UDM_GETBUDDY, 0, 0)), buddy.m_hWnd);
  EXPECT_EQ(spin.GetBuddy()->GetSafeHwnd(), buddy.m_hWnd);

  spin.SetRange(0, 20);
  int low = -1, high = -1;
  spin.GetRange(low, high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 20);
  EXPECT_EQ(::SendMessage(spin, UDM_GETRANGE, 0, 0), MAKELONG(20, 0));

  spin.SetBase(16);
  EXPECT_EQ(spin.SetBase(10), 16);
  EXPECT_EQ(spin.GetBase(), 10u);

  spin.SetPos(7);
  EXPECT_EQ(Text(buddy), "7");
  EXPECT_EQ(LOWORD(spin.GetPos()), 7);
  EXPECT_EQ(spin.SetPos(12), 7);
  EXPECT_EQ(Text(buddy), "12");

  UDACCEL accel[2] = {{0, 1}, {2, 5}};
  EXPECT_TRUE(spin.SetAccel(2, accel));
  UDACCEL read[4] = {};
  EXPECT_EQ(spin.GetAccel(4, read), 2u);
  EXPECT_EQ(read[1].nSec, 2u);
  EXPECT_EQ(read[1].nInc, 5u);

  spin.SetRange32(-100000, 100000);
  spin.GetRange32(low, high);
  EXPECT_EQ(low, -100000);
  EXPECT_EQ(high, 100000);
  spin.SetPos32(-70000);
  BOOL error = TRUE;
  EXPECT_EQ(spin.GetPos32(&error), -70000);
  EXPECT_FALSE(error);
}

// ---- hot keys ----

TEST_F(CommonControlWrappers, HotKeyControlKeyAndRules) {
  CHotKeyCtrl hotKey;
  ASSERT_TRUE(hotKey.Create(WS_VISIBLE | WS_BORDER, At(10), &host, 220));
  hotKey.SetHotKey('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT);
  EXPECT_EQ(::SendMessage(hotKey, HKM_GETHOTKEY, 0, 0), MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
  WORD key = 0, modifiers = 0;
  hotKey.GetHotKey(key, modifiers);
  EXPECT_EQ(key, 'K');
  EXPECT_EQ(modifiers, HOTKEYF_CONTROL | HOTKEYF_SHIFT);

  // A bare key is not allowed: the control puts Alt with it.
  hotKey.SetRules(HKCOMB_NONE, HOTKEYF_ALT);
  hotKey.SetFocus();
  brambolt::test::PressKey('Q');
  EXPECT_EQ(hotKey.GetHotKey(), static_cast<DWORD>(MAKEWORD('Q', HOTKEYF_ALT)));
}

// ---- tabs ----

TEST_F(CommonControlWrappers, TabControlItemsSelectionAndGeometry) {
  CTabCtrl tabs;
  ASSERT_TRUE(tabs.Create(WS_VISIBLE, CRect(10, 10, 410, 210), &host, 230));
  EXPECT_EQ(tabs.InsertItem(0, "One"), 0);
  EXPECT_EQ(tabs.InsertItem(1, "Two", 3), 1);
  EXPECT_EQ(tabs.InsertItem(TCIF_TEXT | TCIF_PARAM, 2, "Three", 0, 77), 2);
  EXPECT_EQ(tabs.GetItemCount(), 3);
  EXPECT_EQ(::SendMessage(tabs, TCM_GETITEMCOUNT, 0, 0), 3);

  char text[32] = {};
  TCITEM item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
  item.pszText = text;
  item.cchTextMax = sizeof(text);
  ASSERT_TRUE(tabs.GetItem(1, &item));
  EXPECT_STREQ(text, "Two");
  EXPECT_EQ(item.iImage, 3);
  ASSERT_TRUE(tabs.GetItem(2, &item));
  EXPECT_EQ(item.lParam, 77);

  item.mask = TCIF_TEXT;
  item.pszText = const_cast<LPSTR>("Deux");
  EXPECT_TRUE(tabs.SetItem(1, &item));
  item.pszText = text;
  item.cchTextMax = sizeof(text);
  tabs.GetItem(1, &item);
  EXPECT_STREQ(text, "Deux");

  EXPECT_EQ(tabs.SetCurSel(2), 0);
  EXPECT_EQ(::SendMessage(tabs, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(tabs.GetCurSel(), 2);

  CRect tab;
  ASSERT_TRUE(tabs.GetItemRect(1, &tab));
  TCHITTESTINFO hit{};
  hit.pt = tab.CenterPoint();
  EXPECT_EQ(tabs.HitTest(&hit), 1);
  EXPECT_NE(hit.flags & TCHT_ONITEM, 0u);

  CRect client;
  tabs.GetClientRect(&client);
  CRect display = client;
  tabs.AdjustRect(FALSE, &display);
  EXPECT_GT(display.top, client.top) << "the display area lies below the tabs";
  tabs.AdjustRect(TRUE, &display);
  EXPECT_EQ(display, client);

  EXPECT_TRUE(tabs.DeleteItem(0));
  EXPECT_EQ(tabs.GetItemCount(), 2);
  EXPECT_TRUE(tabs.DeleteAllItems());
  EXPECT_EQ(::SendMessage(tabs, TCM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(CommonControlWrappers, TabControlImageList) {
  CTabCtrl tabs;
  ASSERT_TRUE(tabs.Create(WS_VISIBLE, CRect(10, 10, 410, 210), &host, 231));
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32, 2, 2));
  EXPECT_EQ(tabs.SetImageList(&images)->GetSafeHandle(), nullptr);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SendMessage(tabs, TCM_GETIMAGELIST, 0, 0)), images.m_hImageList);
  EXPECT_EQ(tabs.GetImageList()->GetSafeHandle(), images.m_hImageList);
  tabs.SetImageList(nullptr);
}

// ---- animation ----

TEST_F(CommonControlWrappers, AnimationOpensPlaysAndStopsAClipResource) {
  CAnimateCtrl animation;
  ASSERT_TRUE(animation.Create(WS_VISIBLE | ACS_TRANSPARENT | ACS_CENTER, CRect(10, 10, 110, 110), &host, 240));
  EXPECT_FALSE(animation.Open(12345u)) << "no such clip";
  ASSERT_TRUE(animation.Open(IDR_WRAPPER_CLIP));
  EXPECT_TRUE(animation.Play(0, 0xFFFF, static_cast<UINT>(-1)));
  EXPECT_TRUE(animation.IsPlaying());
  EXPECT_TRUE(::SendMessage(animation, ACM_ISPLAYING, 0, 0));
  AdvanceClock(500);
  EXPECT_TRUE(animation.IsPlaying());
  EXPECT_TRUE(animation.Stop());
  EXPECT_FALSE(animation.IsPlaying());
  EXPECT_TRUE(animation.Seek(0));
  EXPECT_FALSE(animation.IsPlaying());
  EXPECT_TRUE(animation.Close());
  EXPECT_FALSE(animation.Play(0, 0xFFFF, 1)) << "nothing to play once closed";
}

// ---- tooltip controls ----

TEST_F(CommonControlWrappers, ToolTipControlTools) {
  CButton button;
  ASSERT_TRUE(button.Create("Button", WS_VISIBLE, At(10), &host, 250));
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(&host));
  EXPECT_EQ(::GetWindow(tip, GW_OWNER), host.m_hWnd);

  // The button as a whole, and a rectangle of the host.
  ASSERT_TRUE(tip.AddTool(&button, "Press me"));
  CRect area(300, 10, 400, 60);
  ASSERT_TRUE(tip.AddTool(&host, LPSTR_TEXTCALLBACK, &area, 7));
  EXPECT_EQ(tip.GetToolCount(), 2);
  EXPECT_FALSE(tip.AddTool(&button, "Twice")) << "one tool per window and id";

  CString text;
  tip.GetText(text, &button);
  EXPECT_EQ(text, "Press me");
  CToolInfo info;
  ASSERT_TRUE(tip.GetToolInfo(info, &button));
  EXPECT_EQ(info.hwnd, host.m_hWnd) << "the button's parent hears about it";
  EXPECT_EQ(info.uId, reinterpret_cast<UINT_PTR>(button.m_hWnd));
  EXPECT_NE(info.uFlags & TTF_IDISHWND, 0u);
  EXPECT_STREQ(info.szText, "Press me");

  tip.UpdateTipText("Press me now", &button);
  tip.GetText(text, &button);
  EXPECT_EQ(text, "Press me now");

  TOOLINFO hit{};
  hit.cbSize = sizeof(hit);
  EXPECT_TRUE(tip.HitTest(&host, CPoint(350, 30), &hit));
  EXPECT_EQ(hit.uId, 7u);
  EXPECT_FALSE(tip.HitTest(&host, CPoint(250, 200), &hit));

  CRect moved(0, 100, 50, 150);
  tip.SetToolRect(&host, 7, &moved);
  EXPECT_TRUE(tip.HitTest(&host, CPoint(10, 120), &hit));

  tip.DelTool(&button);
  EXPECT_EQ(tip.GetToolCount(), 1);
  EXPECT_FALSE(tip.GetToolInfo(info, &button));
}

TEST_F(CommonControlWrappers, ToolTipControlSettings) {
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(&host, TTS_ALWAYSTIP));
  tip.SetDelayTime(TTDT_INITIAL, 250);
  EXPECT_EQ(::SendMessage(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 250);
  tip.SetDelayTime(100);
  EXPECT_EQ(tip.GetDelayTime(TTDT_AUTOPOP), 1000);
  EXPECT_EQ(tip.SetMaxTipWidth(150), -1);
  EXPECT_EQ(tip.GetMaxTipWidth(), 150);
  tip.SetTipBkColor(RGB(1, 2, 3));
  EXPECT_EQ(tip.GetTipBkColor(), RGB(1, 2, 3));
  CRect margin(1, 2, 3, 4), read;
  tip.SetMargin(&margin);
  tip.GetMargin(&read);
  EXPECT_EQ(read, margin);
}

TEST_F(CommonControlWrappers, ToolTipControlShowsOnRelayedMovesAndPops) {
  CButton button;
  ASSERT_TRUE(button.Create("Button", WS_VISIBLE, At(10), &host, 251));
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(&host, TTS_ALWAYSTIP));
  ASSERT_TRUE(tip.AddTool(&button, "Relayed"));
  tip.SetDelayTime(TTDT_INITIAL, 100);
  MSG move{};
  move.hwnd = button;
  move.message = WM_MOUSEMOVE;
  move.lParam = MAKELPARAM(5, 5);
  POINT cursor{5, 5};
  ::ClientToScreen(button, &cursor);
  brambolt::InjectMouseMove(cursor);
  brambolt::test::RunUntilIdle();
  tip.RelayEvent(&move);
  AdvanceClock(150);
  EXPECT_TRUE(tip.IsWindowVisible());
  EXPECT_EQ(Text(tip), "Relayed");
  tip.Pop();
  EXPECT_FALSE(tip.IsWindowVisible());

  tip.Activate(FALSE);
  move.lParam = MAKELPARAM(6, 6);
  tip.RelayEvent(&move);
  AdvanceClock(150);
  EXPECT_FALSE(tip.IsWindowVisible()) << "an inactive tooltip shows nothing";
}

}  // namespace

// Tests of the customisable toolbar: sizes, buttons kept in even rows, hit testing, presses and
// commands, command UI, bar notifications, button maps, and the painted button states.
#include "CustomToolBarTestSupport.h"
#include "QueuedInput.h"

#include <stdexcept>

#include "bars/SECTwoPartBtn.h"

using namespace brambolt::test;

namespace {

class CustomToolBar : public ::testing::Test {
 protected:
  UiSession session;
};

TEST_F(CustomToolBar, SizesFollowTheImagesAndAnEmptyBarIsOneButton) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, 0, ID_MT_OPEN});
  EXPECT_EQ(bar->GetButtonWidth(), 23);
  EXPECT_EQ(bar->GetButtonHeight(), 22);
  EXPECT_EQ(bar->GetSeparatorWidth(), 8);
  CRect rect;
  bar->GetItemRect(1, &rect);
  EXPECT_EQ(rect.Size(), CSize(8, 22));

  CRect borders(0, 0, 0, 0);
  bar->CalcInsideRect(borders, TRUE);
  SECCustomToolBar* empty = f.AddBar(59393, {});
  EXPECT_EQ(empty->CalcFixedLayout(FALSE, TRUE), CSize(23 - borders.Width(), 22 - borders.Height()));

  f.manager->EnableLargeButtons(TRUE);
  EXPECT_EQ(bar->GetButtonWidth(), 29);
  EXPECT_EQ(bar->GetButtonHeight(), 31);
  bar->GetItemRect(0, &rect);
  EXPECT_EQ(rect.Size(), CSize(29, 31));
  EXPECT_EQ(bar->GetSeparatorWidth(), 10);
}

TEST_F(CustomToolBar, InsertAndRemoveKeepRowsEvenAndDropRedundantSeparators) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, 0, ID_MT_OPEN, 0, ID_MT_SAVE});
  // Removing the first button takes the separator now first with it.
  EXPECT_TRUE(bar->RemoveButton(0));
  EXPECT_EQ(ToolBarFrame::Ids(bar), (std::vector<UINT>{ID_MT_OPEN, 0, ID_MT_SAVE}));
  // A button between two separators: the second goes.
  bar->InsertButton(1, 0, TRUE);
  bar->InsertButton(2, ID_MT_CUT);
  EXPECT_EQ(ToolBarFrame::Ids(bar), (std::vector<UINT>{ID_MT_OPEN, 0, ID_MT_CUT, 0, ID_MT_SAVE}));
  EXPECT_TRUE(bar->RemoveButton(2));
  EXPECT_EQ(ToolBarFrame::Ids(bar), (std::vector<UINT>{ID_MT_OPEN, 0, ID_MT_SAVE}));
  // The last button: a separator now last goes.
  EXPECT_TRUE(bar->RemoveButton(2));
  EXPECT_EQ(ToolBarFrame::Ids(bar), (std::vector<UINT>{ID_MT_OPEN}));
  EXPECT_FALSE(bar->RemoveButton(5));
  EXPECT_FALSE(bar->RemoveButton(-1));
  // A negative index inserts at the start.
  bar->InsertButton(-3, ID_MT_NEW);
  EXPECT_EQ(bar->GetItemID(0), static_cast<UINT>(ID_MT_NEW));

  // An inserted separator takes the row's tallest button; a taller button raises the separators.
  bar->InsertButton(1, 0, TRUE);
  CRect rect;
  bar->GetItemRect(1, &rect);
  EXPECT_EQ(rect.Height(), 22);
  bar->GetButton(0)->m_cy = 30;
  bar->InsertButton(0, ID_MT_SAVE);
  bar->GetButton(0)->m_cy = 40;
  bar->RemoveButton(0);
  EXPECT_EQ(bar->GetButton(1)->m_cy, 30) << "separators follow the tallest remaining button";
}

TEST_F(CustomToolBar, AnEmptiedUserBarGoesOnlyAfterTheHandlerReturns) {
  ToolBarFrame f;
  SECCustomToolBar* user = f.AddBar(59424, {ID_MT_NEW});
  SECCustomToolBar* fixed = f.AddBar(59392, {ID_MT_NEW});
  const HWND hUser = user->GetSafeHwnd();
  EXPECT_FALSE(user->RemoveButton(0));
  EXPECT_TRUE(::IsWindow(hUser)) << "still there while the caller runs";
  EXPECT_FALSE(fixed->RemoveButton(0));
  RunUntilIdle();
  EXPECT_FALSE(::IsWindow(hUser));
  EXPECT_TRUE(::IsWindow(fixed->GetSafeHwnd()));
  EXPECT_EQ(f.manager->FindToolBar(59424), nullptr);
}

TEST_F(CustomToolBar, DockedUprightItIsOneColumnAndFloatingItKeepsItsWidth) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN, 0, ID_MT_SAVE});
  f.frame->DockControlBar(bar, AFX_IDW_DOCKBAR_LEFT);
  f.Layout();
  CRect first, second, third;
  bar->GetItemRect(0, &first);
  bar->GetItemRect(1, &second);
  bar->GetItemRect(3, &third);
  EXPECT_EQ(second.left, first.left);
  EXPECT_EQ(second.top, first.bottom);
  EXPECT_EQ(third.top, second.bottom + 5) << "the separator closes its row and leaves a gap";
  CRect window;
  bar->GetWindowRect(&window);
  EXPECT_LT(window.Width(), 2 * 23);

  f.frame->FloatControlBar(bar, CPoint(200, 200));
  f.Layout();
  ASSERT_TRUE(bar->IsFloating());
  bar->GetItemRect(0, &first);
  bar->GetItemRect(3, &third);
  EXPECT_EQ(third.top, first.top) << "floating, the buttons stand in one row";
}

TEST_F(CustomToolBar, AFloatingBarSizedInOneDimensionIsResizedByItsEdgesAndRewraps) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN, ID_MT_SAVE, ID_MT_CUT, ID_MT_NEW, ID_MT_OPEN},
                                   CBRS_EX_STRETCH_ONE_DIMENSION);
  f.frame->FloatControlBar(bar, CPoint(200, 200));
  f.Layout();
  ASSERT_TRUE(bar->IsFloating());
  CFrameWnd* floating = bar->GetParentFrame();
  EXPECT_TRUE(floating->GetStyle() & WS_THICKFRAME) << "a floating toolbar keeps its sizing border";
  CRect before;
  floating->GetWindowRect(&before);
  CRect first, last;
  bar->GetItemRect(0, &first);
  bar->GetItemRect(5, &last);
  ASSERT_EQ(last.top, first.top) << "one row to start with";
  // Every pixel of each side's border sizes that side, from the top row to the bottom one (the
  // corners' zones reach along most of a one-row bar's sides); beside it, the top and bottom
  // borders size vertically.
  CRect client;
  floating->GetClientRect(&client);
  floating->ClientToScreen(&client);
  auto hit = [&](int x, int y) { return floating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  for (int y = before.top; y < before.bottom; ++y) {
    for (int x = before.left; x < client.left; ++x) ASSERT_EQ(hit(x, y), HTLEFT) << x - before.left << "," << y - before.top;
    for (int x = client.right; x < before.right; ++x) ASSERT_EQ(hit(x, y), HTRIGHT) << before.right - x << "," << y - before.top;
  }
  EXPECT_EQ(hit(client.left, before.top), HTTOP);
  EXPECT_EQ(hit(client.right - 1, before.bottom - 1), HTBOTTOM);
  // The user presses the right edge and drags it to about half the width.
  const POINT edge{before.right - 2, before.CenterPoint().y};
  const POINT to{before.left + before.Width() / 2, edge.y};
  DragInTrackingLoop(edge, to);
  f.Layout();
  ASSERT_TRUE(bar->IsFloating());
  floating = bar->GetParentFrame();
  CRect after;
  floating->GetWindowRect(&after);
  EXPECT_LT(after.Width(), before.Width() * 2 / 3);
  EXPECT_GT(after.Height(), before.Height());
  bar->GetItemRect(0, &first);
  bar->GetItemRect(5, &last);
  EXPECT_GT(last.top, first.top) << "the buttons wrap into more rows";
}

TEST_F(CustomToolBar, AFloatingBarHiddenInCustomiseModeGoesAtOnce) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW});
  f.frame->FloatControlBar(bar, CPoint(300, 300));
  f.Layout();
  f.manager->SetCustomizeMode(TRUE);
  // A delayed hide would wait for an idle time that a disabled frame does not have.
  f.frame->ShowControlBar(bar, FALSE, TRUE);
  RunUntilIdle();
  EXPECT_FALSE(bar->IsWindowVisible());
  EXPECT_FALSE(bar->m_nStateFlags & CControlBar::delayHide);
  f.manager->SetCustomizeMode(FALSE);
}

TEST_F(CustomToolBar, ToolbarControlMessagesAddAndDeleteButtons) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW});
  TBBUTTON buttons[3] = {};
  buttons[0].idCommand = ID_MT_OPEN;
  buttons[0].fsState = TBSTATE_CHECKED;
  buttons[1].idCommand = 0;
  buttons[2].idCommand = ID_MT_SAVE;
  buttons[2].fsStyle = TBSTYLE_CHECK;
  EXPECT_EQ(bar->SendMessage(WM_USER + 20, 3, reinterpret_cast<LPARAM>(buttons)), TRUE);  // TB_ADDBUTTONS
  EXPECT_EQ(ToolBarFrame::Ids(bar), (std::vector<UINT>{ID_MT_NEW, ID_MT_OPEN, 0, ID_MT_SAVE}));
  EXPECT_TRUE(bar->GetButtonStyle(1) & TBBS_CHECKED);
  EXPECT_TRUE(bar->GetButtonStyle(3) & TBBS_CHECKBOX);
  EXPECT_EQ(bar->SendMessage(WM_USER + 22, 0), TRUE);  // TB_DELETEBUTTON
  EXPECT_EQ(ToolBarFrame::Ids(bar), (std::vector<UINT>{ID_MT_OPEN, 0, ID_MT_SAVE}));
}

TEST_F(CustomToolBar, HitTestFindsButtonsRowByRowAndNotSeparators) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN, 0, ID_MT_SAVE, ID_MT_CUT});
  bar->WrapLayout(60, FALSE);
  bar->CalcLayout(LM_HORZ | LM_HORZDOCK, -1);
  CRect rect;
  for (int i : {0, 1, 3, 4}) {
    bar->GetItemRect(i, &rect);
    CRect hit;
    EXPECT_EQ(bar->HitTest(rect.CenterPoint(), &hit), i);
    EXPECT_EQ(hit, rect);
  }
  bar->GetItemRect(3, &rect);
  CRect first;
  bar->GetItemRect(0, &first);
  EXPECT_GE(rect.top, first.bottom + 5) << "a row broken at a separator leaves a gap";
  bar->GetItemRect(2, &rect);
  EXPECT_EQ(bar->HitTest(rect.CenterPoint()), -1);
  EXPECT_EQ(bar->HitTest(CPoint(first.left, first.top - 1)), -1);
  EXPECT_EQ(bar->HitTest(CPoint(500, first.top + 2)), -1);
}

TEST_F(CustomToolBar, PressAndReleaseSendTheCommandAndCheckBoxesToggleOnlyInside) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN});
  Click(bar->m_hWnd, ToolBarFrame::Centre(bar, 0));
  EXPECT_EQ(f.Commands(), std::vector<UINT>{ID_MT_NEW});

  // Released outside: no command, no toggle.
  bar->SetButtonStyle(1, TBBS_CHECKBOX | SEC_TBBS_NODISABLE);
  f.owner.Clear();
  Drag(bar->m_hWnd, ToolBarFrame::Centre(bar, 1), CPoint(300, 5), 2);
  EXPECT_TRUE(f.Commands().empty());
  EXPECT_FALSE(bar->GetButtonStyle(1) & TBBS_CHECKED);
  EXPECT_FALSE(bar->GetButtonStyle(1) & TBBS_PRESSED);
  Click(bar->m_hWnd, ToolBarFrame::Centre(bar, 1));
  EXPECT_EQ(f.Commands(), std::vector<UINT>{ID_MT_OPEN});
  EXPECT_TRUE(bar->GetButtonStyle(1) & TBBS_CHECKED);
  Click(bar->m_hWnd, ToolBarFrame::Centre(bar, 1));
  EXPECT_FALSE(bar->GetButtonStyle(1) & (TBBS_CHECKED | TBBS_INDETERMINATE));

  // Disabled buttons take no press.
  bar->SetButtonStyle(0, TBBS_DISABLED);
  f.owner.Clear();
  Click(bar->m_hWnd, ToolBarFrame::Centre(bar, 0));
  EXPECT_TRUE(f.Commands().empty());
}

TEST_F(CustomToolBar, DropDownButtonsNotifyAndNeverSendACommand) {
  ToolBarFrame f;
  static const SECBtnMapEntry map[] = {
      {&SECStdBtn::s_btnClass, ID_MT_NEW, TBBS_DROPDOWN, {}},
      {&SECTwoPartBtn::s_btnClass, ID_MT_OPEN, TBBS_DROPDOWN, {ID_MT_SAVE, 0}},
      {&SECTwoPartBtn::s_btnClass, ID_MT_CUT, 0, {ID_MT_SAVE, ID_MT_PLAIN}},
      {nullptr, 0, 0, {}},
  };
  f.manager->SetButtonMap(map);
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN, ID_MT_CUT});
  ASSERT_EQ(bar->GetButton(1)->m_nType, SECStdBtn::TwoPartBtn);
  EXPECT_EQ(bar->GetButton(1)->m_cx, 37);

  Click(bar->m_hWnd, ToolBarFrame::Centre(bar, 0));
  EXPECT_TRUE(f.Commands().empty());
  EXPECT_EQ(f.NotifyCodes(), std::vector<int>{SEC_TBN_DROPDOWN});

  // The two-part button: the arrow notifies, the left part sends the button's own command.
  auto* twoPart = static_cast<SECTwoPartBtn*>(bar->GetButton(1));
  f.owner.Clear();
  Click(bar->m_hWnd, twoPart->GetArrowRect().CenterPoint());
  EXPECT_EQ(f.NotifyCodes(), std::vector<int>{SEC_TBN_DROPDOWN});
  EXPECT_TRUE(f.Commands().empty());
  Click(bar->m_hWnd, twoPart->GetLeftRect().CenterPoint());
  EXPECT_EQ(f.Commands(), std::vector<UINT>{ID_MT_OPEN});

  // Without the drop-down style the arrow's release sends the arrow-release command.
  auto* plain = static_cast<SECTwoPartBtn*>(bar->GetButton(2));
  f.owner.Clear();
  Click(bar->m_hWnd, plain->GetArrowRect().CenterPoint());
  EXPECT_EQ(f.Commands(), std::vector<UINT>{ID_MT_PLAIN});
  // Shown as a plain button (an upright bar) it has no arrow.
  plain->ShowAsButton(TRUE);
  EXPECT_EQ(plain->m_cx, 23);
  EXPECT_TRUE(plain->GetArrowRect().IsRectEmpty());
}

TEST_F(CustomToolBar, CommandUpdateSetsCheckedIndeterminateAndDisabledBits) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN, ID_MT_SAVE});
  struct Updater : CCmdTarget {
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO*) override {
      if (nCode != static_cast<int>(CN_UPDATE_COMMAND_UI)) return FALSE;
      auto* ui = static_cast<CCmdUI*>(pExtra);
      if (nID == ID_MT_NEW) ui->SetCheck(1);
      if (nID == ID_MT_OPEN) ui->SetCheck(2);
      if (nID == ID_MT_SAVE) ui->Enable(FALSE);
      return TRUE;
    }
  } updater;
  bar->OnUpdateCmdUI(reinterpret_cast<CFrameWnd*>(&updater), TRUE);
  EXPECT_EQ(bar->GetButtonStyle(0) & (TBBS_CHECKBOX | TBBS_CHECKED | TBBS_INDETERMINATE), TBBS_CHECKBOX | TBBS_CHECKED);
  EXPECT_EQ(bar->GetButtonStyle(1) & (TBBS_CHECKED | TBBS_INDETERMINATE), static_cast<UINT>(TBBS_INDETERMINATE));
  EXPECT_TRUE(bar->GetButtonStyle(2) & TBBS_DISABLED);

  // Without a handler, a button with the keep-enabled bit stays enabled.
  bar->SetButtonStyle(0, SEC_TBBS_NODISABLE);
  CCmdTarget nobody;
  bar->OnUpdateCmdUI(reinterpret_cast<CFrameWnd*>(&nobody), TRUE);
  EXPECT_FALSE(bar->GetButtonStyle(0) & TBBS_DISABLED);
  EXPECT_TRUE(bar->GetButtonStyle(1) & TBBS_DISABLED);
}

TEST_F(CustomToolBar, BarNotificationsReportCreationVisibilityAndDestruction) {
  ToolBarFrame f;
  BarNotifyRecorder recorder;
  f.manager->AddNotifyWindow(&recorder);
  SECCustomToolBar* bar = f.AddBar(59400, {ID_MT_NEW});
  auto has = [&](int code) {
    for (const auto& [id, c] : recorder.m_codes)
      if (id == 59400 && c == code) return true;
    return false;
  };
  EXPECT_TRUE(has(SEC_BAR_CREATED));
  recorder.m_codes.clear();
  f.frame->ShowControlBar(bar, FALSE, FALSE);
  EXPECT_TRUE(has(SEC_BAR_HIDDEN));
  f.frame->ShowControlBar(bar, TRUE, FALSE);
  EXPECT_TRUE(has(SEC_BAR_SHOWN));
  bar->DestroyWindow();
  EXPECT_TRUE(has(SEC_BAR_DESTROYED));
  f.manager->RemoveNotifyWindow(&recorder);
  recorder.DestroyWindow();
}

SECStdBtn* Throwing() { throw std::runtime_error("no button"); }
const SECButtonClass kThrowingClass = {&Throwing};

TEST_F(CustomToolBar, ButtonMapsUseTheLastMatchingEntryAndSkipFailingKinds) {
  ToolBarFrame f;
  static const SECBtnMapEntry first[] = {
      {&SECStdBtn::s_btnClass, ID_MT_NEW, TBBS_CHECKBOX, {}},
      {&SECTwoPartBtn::s_btnClass, ID_MT_NEW, 0, {ID_MT_SAVE}},
      {&kThrowingClass, ID_MT_OPEN, 0, {}},
      {nullptr, 0, 0, {}},
  };
  auto* second = new SECBtnMapEntry[2]{{&SECTwoPartBtn::s_btnClass, ID_MT_OPEN, TBBS_CHECKBOX, {}},
                                       {nullptr, 0, 0, {}}};
  f.manager->SetButtonMap(first);
  f.manager->SetSecondButtonMap(second);
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, ID_MT_OPEN, ID_MT_CUT});
  EXPECT_EQ(bar->GetButton(0)->m_nType, SECStdBtn::TwoPartBtn);
  EXPECT_EQ(bar->GetButtonStyle(0) & TBBS_CHECKBOX, 0u);
  EXPECT_EQ(bar->GetButton(1)->m_nType, SECStdBtn::TwoPartBtn) << "the second table after a failing kind";
  EXPECT_TRUE(bar->GetButtonStyle(1) & TBBS_CHECKBOX);
  EXPECT_EQ(bar->GetButton(2)->m_nType, SECStdBtn::StdBtn);
  EXPECT_EQ(bar->GetButton(2)->GetButtonClass(), &SECStdBtn::s_btnClass);
  EXPECT_EQ(bar->GetButton(2)->m_nImage, 0) << "a command without an image";
  EXPECT_EQ(bar->GetImageIndex(ID_MT_SAVE), 2);
}

TEST_F(CustomToolBar, ToolTipsNameTheButtonUnderTheMouse) {
  ToolBarFrame f;
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW, 0, ID_MT_OPEN});
  CRect rect;
  bar->GetItemRect(2, &rect);
  TOOLINFO info{};
  info.cbSize = sizeof(info);
  EXPECT_EQ(bar->OnToolHitTest(rect.CenterPoint(), &info), static_cast<INT_PTR>(ID_MT_OPEN));
  EXPECT_EQ(info.hwnd, bar->GetSafeHwnd());
  EXPECT_EQ(info.uId, static_cast<UINT_PTR>(ID_MT_OPEN));
  EXPECT_EQ(CRect(info.rect), rect);
  EXPECT_EQ(info.lpszText, LPSTR_TEXTCALLBACK);
  bar->GetItemRect(1, &rect);
  EXPECT_EQ(bar->OnToolHitTest(rect.CenterPoint(), &info), -1) << "separators have no tip";
}

// The colour of a bar's client pixel once it is painted.
COLORREF Pixel(SECCustomToolBar* bar, CPoint point) {
  bar->Invalidate();
  bar->UpdateWindow();
  CClientDC dc(bar);
  return dc.GetPixel(point);
}

TEST_F(CustomToolBar, FlatButtonsShowTheirStateInTheirEdgesAndImage) {
  ToolBarFrame f;
  f.manager->EnableCoolLook(TRUE);
  SECCustomToolBar* bar = f.AddBar(59392, {ID_MT_NEW}, CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER);
  CRect rect;
  bar->GetItemRect(0, &rect);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE), light = ::GetSysColor(COLOR_BTNHIGHLIGHT),
                 shadow = ::GetSysColor(COLOR_BTNSHADOW);
  const CPoint topLeft = rect.TopLeft(), bottomRight(rect.right - 1, rect.bottom - 1), centre = rect.CenterPoint();
  const COLORREF red = Pixel(bar, centre);
  EXPECT_EQ(GetRValue(red), 255) << "the first test image is red";
  EXPECT_EQ(GetGValue(red), 0);
  struct Case {
    UINT style;
    COLORREF topLeft, bottomRight;
    bool image;
  } cases[] = {
      {0, face, face, true},
      {SEC_TBBS_HOT, light, shadow, true},
      {TBBS_PRESSED, shadow, light, true},
      {TBBS_CHECKED, shadow, light, true},
      {TBBS_DISABLED, face, face, false},
  };
  for (const Case& c : cases) {
    bar->SetButtonStyle(0, c.style);
    EXPECT_EQ(Pixel(bar, topLeft), c.topLeft) << std::hex << c.style;
    EXPECT_EQ(Pixel(bar, bottomRight), c.bottomRight) << std::hex << c.style;
    EXPECT_EQ(Pixel(bar, c.style & (TBBS_PRESSED | TBBS_CHECKED) ? centre + CPoint(1, 1) : centre) == red, c.image)
        << std::hex << c.style;
  }
  // A checked face at rest shows the dither of face and highlight beside its image.
  bar->SetButtonStyle(0, TBBS_CHECKED);
  const COLORREF a = Pixel(bar, topLeft + CPoint(2, 2)), b = Pixel(bar, topLeft + CPoint(3, 2));
  EXPECT_NE(a, b);
  EXPECT_TRUE((a == face && b == light) || (a == light && b == face));
}

TEST_F(CustomToolBar, DitherBrushAlternatesFaceAndHighlight) {
  HBRUSH brush = SECCreateDitherBrush();
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
  HGDIOBJ old = ::SelectObject(mem, bitmap);
  RECT all{0, 0, 8, 8};
  ::FillRect(mem, &all, brush);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF even = ::GetPixel(mem, 0, 0);
  ASSERT_TRUE(even == face || even == light);
  const COLORREF odd = even == face ? light : face;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) ASSERT_EQ(::GetPixel(mem, x, y), (x + y) % 2 == 0 ? even : odd) << x << "," << y;
  }
  ::SelectObject(mem, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  ::DeleteObject(brush);
}

}  // namespace

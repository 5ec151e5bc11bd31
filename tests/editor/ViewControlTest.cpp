// The editor control window inside a parent: focus notices, the keys a dialog would take, and
// the scroll-bar arithmetic at its limits.
#include <gtest/gtest.h>

#include <string>

#include "afx/CDialog.h"
#include "editor/view/SECEditScrolling.h"
#include "tests/editor/ControllerHost.h"

using editortest::ControllerHost;

namespace {

// A dialog (the Go To template) with an editor control made at its start, which takes the focus.
class EditorDialog : public CDialog {
 public:
  EditorDialog() : CDialog(144) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    editor.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(5, 5, 200, 60), this, 100);
    editor.SetFocus();
    return FALSE;
  }
  SECEditCtrl editor;
};

TEST(ViewControl, EscInTheControlClosesItsDialog) {
  brambolt::test::UiSession session;
  CWinApp app{"Editor Dialog Test"};
  EditorDialog dialog;
  brambolt::test::ModalAnswers answers;
  std::string typed;
  answers.When(nullptr, nullptr, [&](HWND window) {
    brambolt::test::TypeText("ab");
    brambolt::test::PressKey(VK_ESCAPE);
    typed = std::to_string(dialog.editor.GetController()->GetCaretPosition().m_nCol);
    // A dialog that Esc left open ends here, so that the test goes on.
    if (::IsWindowVisible(window)) ::EndDialog(window, 99);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(typed, "2") << "the keys before went into the text";
}

TEST(ViewControl, ScrollArithmeticStopsAtTheLimits) {
  using kelpwood::editor::ScrollDelta;
  struct Case {
    UINT code;
    int pos, last, page, thumb, delta;
  };
  const Case cases[] = {
      {SB_LINEUP, 0, 50, 10, 0, 0},         {SB_LINEUP, 5, 50, 10, 0, -1},
      {SB_LINEDOWN, 50, 50, 10, 0, 0},      {SB_LINEDOWN, 49, 50, 10, 0, 1},
      {SB_PAGEUP, 4, 50, 10, 0, -4},        {SB_PAGEUP, 20, 50, 10, 0, -10},
      {SB_PAGEDOWN, 45, 50, 10, 0, 5},      {SB_PAGEDOWN, 50, 50, 10, 0, 0},
      {SB_THUMBTRACK, 3, 70000, 10, 69000, 68997}, {SB_THUMBPOSITION, 3, 50, 10, 90, 47},
      {SB_ENDSCROLL, 3, 50, 10, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScrollDelta(c.code, c.pos, c.last, c.page, c.thumb), c.delta) << "code " << c.code << " at " << c.pos;
}

TEST(ViewControl, TellsItsParentOfFocusAndTakesEveryKey) {
  ControllerHost host;
  host.SetText("a\r\nb");
  EXPECT_EQ(host.ctl.SendMessage(WM_GETDLGCODE), DLGC_WANTALLKEYS);
  host.parent.Clear();
  ::SetFocus(host.parent.Hwnd());
  brambolt::test::RunUntilIdle();
  host.ctl.SetFocus();
  brambolt::test::RunUntilIdle();
  std::vector<UINT> codes;
  for (const auto& r : host.parent.Records())
    if (r.message == WM_COMMAND && r.id == 100) codes.push_back(r.code);
  EXPECT_EQ(codes, (std::vector<UINT>{EN_KILLFOCUS, EN_SETFOCUS}));
  // Tab goes into the text; Esc goes on to the parent as well.
  host.Key(VK_TAB);
  EXPECT_EQ(host.Text(), "\ta\r\nb");
  ::SendMessage(host.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  MSG posted{};
  ASSERT_TRUE(::PeekMessage(&posted, host.parent.Hwnd(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  EXPECT_EQ(posted.wParam, static_cast<WPARAM>(VK_ESCAPE));
  // Scrolling by the bar moves the view and keeps within the text.
  std::string text;
  for (int i = 0; i < 80; ++i) text += "line\r\n";
  host.SetText(text);
  host.ctl.SendMessage(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(host.Ctl().GetTopLine(), 0);
  host.ctl.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  const int page = host.Ctl().GetViewport()->GetVisibleLogRect().Height() / host.LineHeight();
  EXPECT_EQ(host.Ctl().GetTopLine(), page);
}

}  // namespace

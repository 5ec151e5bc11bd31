// The font and colour dialog on a language configuration: automatic colours derived from the
// window colours through the text group, colours from the wells, Reset All, the font texts, the
// points-to-height round trip, and the controller's command opening it.
#include <gtest/gtest.h>

#include "editor/ctl/SECEditFontSizeDlg.h"
#include "tests/editor/ControllerHost.h"

using editortest::ControllerHost;

namespace {

TEST(ControllerFontDialog, AutomaticColoursFollowTheTextGroupAndResetAllRestores) {
  ControllerHost host;
  SECEditColorInfo* selection = host.lang.GetColorInfo(1);
  selection->m_bForeAuto = selection->m_bBackAuto = TRUE;
  SECEditFontSizeDlg dialog;
  LOGFONT lf{};
  dialog.SetConfiguration(&host.lang, lf);
  EXPECT_EQ(dialog.GetPointSize(), 10);
  EXPECT_EQ(std::string(dialog.GetLogFont().lfFaceName), "Courier");
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  bool ran = false;
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Font and Color Settings", [&](HWND hwnd) {
    ran = true;
    CListBox* list = static_cast<CListBox*>(dialog.GetDlgItem(1000));
    EXPECT_EQ(list->GetCount(), host.lang.GetColorGroupCount());
    EXPECT_EQ(dialog.GetSelectedGroup(), dialog.GetGroup(0));
    // Ticking the text group's automatic background takes the window colour, and the
    // selection's automatic foreground follows it.
    dialog.CheckDlgButton(1028, BST_CHECKED);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(1028, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, 1028)));
    EXPECT_TRUE(dialog.GetGroup(0)->m_bBackAuto);
    EXPECT_EQ(dialog.GetGroup(0)->m_clrBack, window);
    EXPECT_EQ(dialog.GetGroup(1)->m_clrFore, window);
    EXPECT_FALSE(dialog.GetDlgItem(1026)->IsWindowEnabled());
    // A colour from the foreground well: the text colour, and the selection's background.
    dialog.SendMessage(SEC_WM_COLORCHANGED, 1025, RGB(1, 2, 3));
    EXPECT_EQ(dialog.GetGroup(0)->m_clrFore, RGB(1, 2, 3));
    EXPECT_EQ(dialog.GetGroup(1)->m_clrBack, RGB(1, 2, 3));
    // Another group with automatic colours takes the text group's.
    list->SetCurSel(2);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(1000, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list->GetSafeHwnd()));
    dialog.CheckDlgButton(1027, BST_CHECKED);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(1027, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, 1027)));
    EXPECT_EQ(dialog.GetGroup(2)->m_clrFore, RGB(1, 2, 3));
    char text[64] = {};
    ::GetDlgItemText(hwnd, 1013, text, sizeof text);
    EXPECT_STREQ(text, "10 pt");
    ::GetDlgItemText(hwnd, 1012, text, sizeof text);
    EXPECT_STREQ(text, "Courier");
    // Reset All reads the configuration again.
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(1006, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, 1006)));
    EXPECT_FALSE(dialog.GetGroup(0)->m_bBackAuto);
    EXPECT_EQ(dialog.GetGroup(0)->m_clrFore, RGB(0, 0, 0));
    EXPECT_EQ(list->GetCurSel(), 0);
    dialog.SendMessage(SEC_WM_COLORCHANGED, 1026, RGB(9, 9, 9));
    dialog.EndDialog(IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(ran);
  dialog.ApplyToConfiguration(&host.lang);
  EXPECT_EQ(host.lang.GetColorInfo(0)->m_clrBack, RGB(9, 9, 9));

  // The controller's command runs the same dialog through the model; Cancel changes nothing.
  bool opened = false;
  answers.When(nullptr, "Font and Color Settings", [&](HWND hwnd) {
    opened = true;
    ::EndDialog(hwnd, IDCANCEL);
  });
  host.ctl.SendMessage(WM_COMMAND, 45022);
  EXPECT_TRUE(opened);
  EXPECT_EQ(host.lang.GetColorInfo(0)->m_clrBack, RGB(9, 9, 9));
}

}  // namespace

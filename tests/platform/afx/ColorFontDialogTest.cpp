// CColorDialog and CFontDialog answered by script: the colour chosen and the thread's custom
// colours, a derived class that sets the colour and refuses some, the font read back through
// every accessor, the font shown while the dialog is up, cancelling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "testing/testing.h"

using brambolt::test::ModalAnswers;
using brambolt::test::UiSession;

namespace {

void PressButton(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  RECT r;
  ::GetClientRect(button, &r);
  brambolt::test::Click(button, POINT{r.right / 2, r.bottom / 2});
}

// Selects a combo box line by its text, with the notification a person's choice sends.
void Choose(HWND dialog, int id, const char* text) {
  HWND combo = ::GetDlgItem(dialog, id);
  ::SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

UINT EditValue(HWND dialog, int id) { return ::GetDlgItemInt(dialog, id, nullptr, FALSE); }

class CommonDialogs : public ::testing::Test {
 protected:
  CommonDialogs() {
    COLORREF* custom = CColorDialog::GetSavedCustomColors();
    std::fill(custom, custom + 16, RGB(255, 255, 255));
  }
  UiSession session;
  ModalAnswers answers;
};

TEST_F(CommonDialogs, TheColourChosenAndTheCustomColoursComeBack) {
  CColorDialog dialog(RGB(10, 20, 30), CC_FULLOPEN);
  EXPECT_EQ(dialog.m_cc.lpCustColors, CColorDialog::GetSavedCustomColors());
  answers.When(nullptr, "Color", [&](HWND window) {
    EXPECT_EQ(EditValue(window, COLOR_GREEN), 20u) << "the initial colour is shown";
    ::SetDlgItemText(window, COLOR_RED, "200");
    PressButton(window, COLOR_ADD);
    PressButton(window, IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetColor(), RGB(200, 20, 30));
  EXPECT_EQ(CColorDialog::GetSavedCustomColors()[0], RGB(200, 20, 30));

  // The next dialog of the thread offers the custom colour; cancelling keeps its start colour.
  CColorDialog next(RGB(1, 2, 3));
  EXPECT_EQ(next.m_cc.lpCustColors[0], RGB(200, 20, 30));
  answers.When(nullptr, "Color", [&](HWND window) { PressButton(window, IDCANCEL); });
  EXPECT_EQ(next.DoModal(), IDCANCEL);
  EXPECT_EQ(next.GetColor(), RGB(1, 2, 3));
}

// Starts from a colour of its own and refuses dark ones.
class LightColourDialog : public CColorDialog {
 public:
  LightColourDialog() : CColorDialog(0, CC_FULLOPEN) {}
  int m_refused = 0;

 protected:
  BOOL OnInitDialog() override {
    BOOL result = CColorDialog::OnInitDialog();
    SetCurrentColor(RGB(0, 0, 128));
    return result;
  }
  BOOL OnColorOK() override {
    COLORREF c = m_cc.rgbResult;
    bool dark = GetRValue(c) + GetGValue(c) + GetBValue(c) < 384;
    if (dark) ++m_refused;
    return dark;
  }
};

TEST_F(CommonDialogs, ADerivedColourDialogSetsTheColourAndRefusesSome) {
  LightColourDialog dialog;
  answers.When(nullptr, "Color", [&](HWND window) {
    EXPECT_EQ(EditValue(window, COLOR_BLUE), 128u);
    EXPECT_EQ(EditValue(window, COLOR_RED), 0u);
    PressButton(window, IDOK);
    EXPECT_TRUE(::IsWindow(window)) << "a dark colour is refused";
    ::SetDlgItemText(window, COLOR_RED, "255");
    ::SetDlgItemText(window, COLOR_GREEN, "255");
    PressButton(window, IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_refused, 1);
  EXPECT_EQ(dialog.GetColor(), RGB(255, 255, 128));
}

// Reports the font the dialog shows when the user asks for it.
class WatchingFontDialog : public CFontDialog {
 public:
  WatchingFontDialog(LPLOGFONT initial, DWORD flags) : CFontDialog(initial, flags) {}
  LOGFONT m_shown{};
  void Look() { GetCurrentFont(&m_shown); }
};

TEST_F(CommonDialogs, TheChosenFontReadsBackThroughTheAccessors) {
  LOGFONT lf{};
  std::strcpy(lf.lfFaceName, "DejaVu Sans Mono");
  lf.lfHeight = -MulDiv(14, 96, 72);
  lf.lfWeight = FW_BOLD;
  WatchingFontDialog dialog(&lf, CF_SCREENFONTS | CF_EFFECTS);
  EXPECT_TRUE(dialog.m_cf.Flags & CF_INITTOLOGFONTSTRUCT);
  answers.When(nullptr, "Font", [&](HWND window) {
    dialog.Look();
    EXPECT_STREQ(dialog.m_shown.lfFaceName, "DejaVu Sans Mono");
    EXPECT_EQ(dialog.m_shown.lfWeight, FW_BOLD);
    Choose(window, IDC_FONT_STYLE, "Italic");
    Choose(window, IDC_FONT_SIZE, "12");
    Choose(window, IDC_FONT_COLOR, "Navy");
    PressButton(window, IDC_FONT_UNDERLINE);
    dialog.Look();
    EXPECT_EQ(dialog.m_shown.lfWeight, FW_NORMAL);
    EXPECT_TRUE(dialog.m_shown.lfItalic);
    EXPECT_EQ(dialog.m_shown.lfHeight, -16);
    PressButton(window, IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(std::string(dialog.GetFaceName()), "DejaVu Sans Mono");
  EXPECT_EQ(std::string(dialog.GetStyleName()), "Italic");
  EXPECT_EQ(dialog.GetSize(), 120);
  EXPECT_EQ(dialog.GetColor(), RGB(0, 0, 128));
  EXPECT_EQ(dialog.GetWeight(), FW_NORMAL);
  EXPECT_FALSE(dialog.IsBold());
  EXPECT_TRUE(dialog.IsItalic());
  EXPECT_TRUE(dialog.IsUnderline());
  EXPECT_FALSE(dialog.IsStrikeOut());
  EXPECT_TRUE(lf.lfItalic) << "the caller's LOGFONT holds the choice";
  LOGFONT current{};
  dialog.GetCurrentFont(&current);
  EXPECT_EQ(current.lfHeight, lf.lfHeight);
  EXPECT_STREQ(current.lfFaceName, lf.lfFaceName);
}

TEST_F(CommonDialogs, CancellingTheFontDialogLeavesTheFontAlone) {
  // The editor's flags: screen fonts, fixed pitch only, existing fonts, no vertical ones.
  LOGFONT lf{};
  std::strcpy(lf.lfFaceName, "DejaVu Sans Mono");
  lf.lfHeight = -13;
  CFontDialog dialog(&lf, 16859137);
  std::vector<std::string> faces;
  answers.When(nullptr, "Font", [&](HWND window) {
    HWND list = ::GetDlgItem(window, IDC_FONT_FACE);
    for (int i = 0; i < ::SendMessage(list, CB_GETCOUNT, 0, 0); ++i) {
      char face[LF_FACESIZE] = {};
      ::SendMessage(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(face));
      faces.emplace_back(face);
    }
    Choose(window, IDC_FONT_SIZE, "20");
    PressButton(window, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_NE(std::find(faces.begin(), faces.end(), "DejaVu Sans Mono"), faces.end());
  EXPECT_EQ(std::find(faces.begin(), faces.end(), "DejaVu Sans"), faces.end()) << "only fixed-pitch faces";
  EXPECT_EQ(lf.lfHeight, -13);
  LOGFONT current{};
  dialog.GetCurrentFont(&current);
  EXPECT_EQ(current.lfHeight, -13);
}

}  // namespace

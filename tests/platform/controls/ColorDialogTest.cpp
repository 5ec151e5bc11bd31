// The colour dialog: hue, saturation and luminosity conversions, choosing by click and by the
// edits, custom colours, full open and cancelling.
#include "CommonDialogTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

TEST(ColourSpaces, HlsFollowsTheDialogsScales) {
  struct Case {
    COLORREF rgb;
    int h, l, s;
  };
  for (const Case& c : {Case{RGB(255, 0, 0), 0, 120, 240}, Case{RGB(0, 255, 0), 80, 120, 240},
                        Case{RGB(0, 0, 255), 160, 120, 240}, Case{RGB(255, 255, 255), 160, 240, 0},
                        Case{RGB(0, 0, 0), 160, 0, 0}, Case{RGB(128, 128, 128), 160, 120, 0}}) {
    int h, l, s;
    ctl::RgbToHls(c.rgb, &h, &l, &s);
    EXPECT_EQ(h, c.h) << std::hex << c.rgb;
    EXPECT_EQ(l, c.l) << std::hex << c.rgb;
    EXPECT_EQ(s, c.s) << std::hex << c.rgb;
  }
  // Every basic colour survives the way there and back within rounding.
  for (int i = 0; i < 48; ++i) {
    COLORREF c = ctl::BasicColours()[i];
    int h, l, s;
    ctl::RgbToHls(c, &h, &l, &s);
    COLORREF back = ctl::HlsToRgb(h, l, s);
    EXPECT_LE(std::abs(GetRValue(back) - GetRValue(c)), 3) << i;
    EXPECT_LE(std::abs(GetGValue(back) - GetGValue(c)), 3) << i;
    EXPECT_LE(std::abs(GetBValue(back) - GetBValue(c)), 3) << i;
  }
}

class ColourDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    cc_.lStructSize = sizeof(cc_);
    cc_.hwndOwner = owner_.Hwnd();
    cc_.lpCustColors = custom_;
    for (COLORREF& c : custom_) c = RGB(255, 255, 255);
  }
  // The centre of a basic colour cell, in the dialog's client coordinates.
  static POINT BasicCell(HWND dialog, int index) {
    RECT r{6 + (index % 8) * 16, 14 + (index / 8) * 13, 6 + (index % 8) * 16 + 14, 14 + (index / 8) * 13 + 11};
    MapDialogRect(dialog, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  UiSession session_;
  NotificationRecorder owner_;
  ModalAnswers answers_;
  COLORREF custom_[16];
  CHOOSECOLOR cc_{};
};

TEST_F(ColourDialog, AClickOnABasicColourChoosesIt) {
  answers_.When(nullptr, "Color", [&](HWND dialog) {
    Click(dialog, BasicCell(dialog, 8));  // pure red
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(ChooseColor(&cc_));
  EXPECT_EQ(cc_.rgbResult, RGB(255, 0, 0));
}

TEST_F(ColourDialog, TheEditsOfTheFullDialogMixAColourAndAddItToTheCustomOnes) {
  cc_.Flags = CC_RGBINIT | CC_FULLOPEN;
  cc_.rgbResult = RGB(10, 20, 30);
  answers_.When(nullptr, "Color", [&](HWND dialog) {
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, COLOR_RED)));
    EXPECT_EQ(GetDlgItemInt(dialog, COLOR_GREEN, nullptr, FALSE), 20u);
    SetDlgItemText(dialog, COLOR_RED, "200");
    EXPECT_EQ(GetDlgItemInt(dialog, COLOR_LUM, nullptr, FALSE), 104u);  // (200 + 20) * 240 / 510, rounded
    SetDlgItemText(dialog, COLOR_LUM, "240");  // all the way to white
    EXPECT_EQ(GetDlgItemInt(dialog, COLOR_BLUE, nullptr, FALSE), 255u);
    SetDlgItemText(dialog, COLOR_LUM, "120");
    PressButton(dialog, COLOR_ADD);
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(ChooseColor(&cc_));
  EXPECT_EQ(custom_[0], cc_.rgbResult);
  EXPECT_EQ(custom_[1], RGB(255, 255, 255));
  int h, l, s;
  ctl::RgbToHls(cc_.rgbResult, &h, &l, &s);
  EXPECT_EQ(l, 120);
}

TEST_F(ColourDialog, DefineCustomColoursOpensTheFullPart) {
  answers_.When(nullptr, "Color", [&](HWND dialog) {
    RECT before, after;
    GetWindowRect(dialog, &before);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, COLOR_HUE)));
    PressButton(dialog, COLOR_MIX);
    GetWindowRect(dialog, &after);
    EXPECT_GT(after.right - after.left, before.right - before.left);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, COLOR_HUE)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, COLOR_MIX)));
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(ChooseColor(&cc_));
}

TEST_F(ColourDialog, CancellingKeepsTheColourAndTheCustomOnes) {
  cc_.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
  cc_.rgbResult = RGB(1, 2, 3);
  answers_.When(nullptr, "Color", [&](HWND dialog) {
    Click(dialog, BasicCell(dialog, 0));
    PressButton(dialog, COLOR_ADD);  // the custom colours change at once
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_FALSE(ChooseColor(&cc_));
  EXPECT_EQ(cc_.rgbResult, RGB(1, 2, 3));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(ColourDialog, BadRequestsFailWithTheirErrors) {
  cc_.lpCustColors = nullptr;
  EXPECT_FALSE(ChooseColor(&cc_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
  cc_.lpCustColors = custom_;
  cc_.lStructSize = 8;
  EXPECT_FALSE(ChooseColor(&cc_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
}

}  // namespace

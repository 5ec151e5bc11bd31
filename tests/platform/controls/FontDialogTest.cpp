// The font dialog: the faces it offers, choosing face, style, size and effects by script, starting
// from the caller's font, size limits and cancelling.
#include <cstring>

#include "CommonDialogTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class FontDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    cf_.lStructSize = sizeof(cf_);
    cf_.hwndOwner = owner_.Hwnd();
    cf_.lpLogFont = &lf_;
  }
  static std::vector<std::string> Items(HWND dialog, int id) {
    std::vector<std::string> items;
    for (int i = 0; i < SendDlgItemMessage(dialog, id, CB_GETCOUNT, 0, 0); ++i) {
      char text[64] = {};
      SendDlgItemMessage(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }
  static std::string Chosen(HWND dialog, int id) {
    char text[64] = {};
    int i = static_cast<int>(SendDlgItemMessage(dialog, id, CB_GETCURSEL, 0, 0));
    SendDlgItemMessage(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    return text;
  }
  static void Choose(HWND dialog, int id, const char* text) {
    HWND box = GetDlgItem(dialog, id);
    ASSERT_GE(SendMessage(box, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)), 0) << text;
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
  }

  UiSession session_;
  NotificationRecorder owner_;
  ModalAnswers answers_;
  LOGFONT lf_{};
  CHOOSEFONT cf_{};
};

TEST_F(FontDialog, FixedPitchOnlyOffersMonospacedFaces) {
  cf_.Flags = CF_SCREENFONTS | CF_FIXEDPITCHONLY | CF_FORCEFONTEXIST | CF_NOVERTFONTS;
  std::vector<std::string> faces;
  answers_.When(nullptr, "Font", [&](HWND dialog) {
    faces = Items(dialog, IDC_FONT_FACE);
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_FALSE(ChooseFont(&cf_));
  ASSERT_FALSE(faces.empty());
  HDC dc = GetDC(nullptr);
  for (const std::string& face : faces) {
    HFONT font = CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, face.c_str());
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    EXPECT_FALSE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH) << face << " is not monospaced";
    SelectObject(dc, old);
    DeleteObject(font);
  }
  ReleaseDC(nullptr, dc);
}

TEST_F(FontDialog, AScriptChoosesFaceStyleSizeAndEffects) {
  cf_.Flags = CF_SCREENFONTS | CF_EFFECTS;
  std::string face;
  answers_.When(nullptr, "Font", [&](HWND dialog) {
    face = Items(dialog, IDC_FONT_FACE).back();
    Choose(dialog, IDC_FONT_FACE, face.c_str());
    Choose(dialog, IDC_FONT_STYLE, "Bold Italic");
    Choose(dialog, IDC_FONT_SIZE, "12");
    Choose(dialog, IDC_FONT_COLOR, "Navy");
    PressButton(dialog, IDC_FONT_UNDERLINE);
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(ChooseFont(&cf_));
  EXPECT_EQ(std::string(lf_.lfFaceName), face);
  EXPECT_EQ(lf_.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf_.lfItalic);
  EXPECT_TRUE(lf_.lfUnderline);
  EXPECT_FALSE(lf_.lfStrikeOut);
  EXPECT_EQ(lf_.lfHeight, -16);  // 12 points at 96 pixels an inch
  EXPECT_EQ(cf_.iPointSize, 120);
  EXPECT_EQ(cf_.rgbColors, RGB(0, 0, 128));
  EXPECT_EQ(cf_.nFontType, SCREEN_FONTTYPE | BOLD_FONTTYPE | ITALIC_FONTTYPE);
}

TEST_F(FontDialog, StartsFromTheCallersFontAndKeepsSizesInTheLimits) {
  std::strcpy(lf_.lfFaceName, "DejaVu Sans Mono");
  lf_.lfHeight = -MulDiv(14, 96, 72);
  lf_.lfWeight = FW_BOLD;
  cf_.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE;
  cf_.nSizeMin = 10;
  cf_.nSizeMax = 20;
  answers_.When(nullptr, "Font", [&](HWND dialog) {
    EXPECT_EQ(Chosen(dialog, IDC_FONT_STYLE), "Bold");
    EXPECT_EQ(Chosen(dialog, IDC_FONT_SIZE), "14");
    std::vector<std::string> sizes = Items(dialog, IDC_FONT_SIZE);
    EXPECT_EQ(sizes.front(), "10");
    EXPECT_EQ(sizes.back(), "20");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_FONT_UNDERLINE)));  // no effects asked for
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_FALSE(ChooseFont(&cf_));
  EXPECT_STREQ(lf_.lfFaceName, "DejaVu Sans Mono");  // untouched by cancelling
  cf_.lStructSize = 4;
  EXPECT_FALSE(ChooseFont(&cf_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
}

}  // namespace

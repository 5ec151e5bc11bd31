// The page-setup dialog answered by scripts: paper and orientation into the DEVMODE and the paper
// size, margins in both units and their checks, the flags that disable parts, the defaults
// without a dialog, the printer through the setup dialog, and the sample with its paint hook.
#include "PrintDialogTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class PageSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    psd_.lStructSize = sizeof(psd_);
    psd_.hwndOwner = owner_.Hwnd();
  }

  UiSession session_;
  NotificationRecorder owner_;
  ModalAnswers answers_;
  FakeCups cups_{{"Office", "Lab"}, "Office"};
  PAGESETUPDLG psd_{};
  Blocks blocks_{&psd_.hDevMode, &psd_.hDevNames};
};

TEST_F(PageSetup, StartsFromInchMarginsOnLetterPaper) {
  psd_.Flags = PSD_INTHOUSANDTHSOFINCHES;
  answers_.When(nullptr, "Page Setup", [&](HWND dialog) {
    EXPECT_EQ(SelectedItem(dialog, cmb2), "Letter");
    EXPECT_EQ(Text(GetDlgItem(dialog, edt4)), "1");
    EXPECT_EQ(Text(GetDlgItem(dialog, grp4)), "Margins (inches)");
    EXPECT_EQ(IsDlgButtonChecked(dialog, rad1), static_cast<UINT>(BST_CHECKED));
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PageSetupDlg(&psd_));
  EXPECT_EQ(psd_.ptPaperSize.x, 8500);
  EXPECT_EQ(psd_.ptPaperSize.y, 11000);
  EXPECT_EQ(psd_.rtMargin.left, 1000);
  EXPECT_EQ(psd_.rtMargin.bottom, 1000);
  EXPECT_EQ(DevNamesOf(psd_.hDevNames).device, "Office");
}

TEST_F(PageSetup, PaperOrientationAndMarginsInMillimetresComeBack) {
  psd_.Flags = PSD_INHUNDREDTHSOFMILLIMETERS;
  answers_.When(nullptr, "Page Setup", [&](HWND dialog) {
    EXPECT_EQ(Text(GetDlgItem(dialog, edt5)), "25.4");
    ChooseItem(dialog, cmb2, "A4");
    PressButton(dialog, rad2);
    SetDlgItemText(dialog, edt4, "20");
    SetDlgItemText(dialog, edt5, "12.5");
    SetDlgItemText(dialog, edt6, "20.05");
    SetDlgItemText(dialog, edt7, "30");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PageSetupDlg(&psd_));
  EXPECT_EQ(psd_.ptPaperSize.x, 29700);  // landscape A4
  EXPECT_EQ(psd_.ptPaperSize.y, 21000);
  EXPECT_EQ(psd_.rtMargin.left, 2000);
  EXPECT_EQ(psd_.rtMargin.top, 1250);
  EXPECT_EQ(psd_.rtMargin.right, 2005);
  EXPECT_EQ(psd_.rtMargin.bottom, 3000);
  DEVMODE dm = DevModeOf(psd_.hDevMode);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_A4);
  EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
  // A DC made from the answer prints on that page.
  HDC dc = CreateDC("winspool", "Office", nullptr, &dm);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 7016);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 4961);
  DeleteDC(dc);
}

TEST_F(PageSetup, MarginsMustBeNumbersInsideThePrintableAreaThatLeaveRoom) {
  struct Case {
    const char* left;
    const char* right;
  };
  for (const Case& c : {Case{"abc", "1"}, Case{"0.1", "1"}, Case{"4.5", "4.5"}, Case{"1", "-1"}}) {
    int boxes = 0;
    answers_.When(nullptr, "Page Setup", [&](HWND dialog) {
      SetDlgItemText(dialog, edt4, c.left);
      SetDlgItemText(dialog, edt6, c.right);
      PressButton(dialog, IDOK);
      EXPECT_TRUE(IsWindow(dialog)) << c.left << " " << c.right;
      SetDlgItemText(dialog, edt4, "0.25");  // the printer's least margin is allowed
      SetDlgItemText(dialog, edt6, "0.5");
      PressButton(dialog, IDOK);
    });
    answers_.When("#32770", "Page Setup", [&](HWND box) {
      ++boxes;
      PressButton(box, IDOK);
    });
    psd_.Flags = PSD_INTHOUSANDTHSOFINCHES;
    ASSERT_TRUE(PageSetupDlg(&psd_));
    EXPECT_EQ(boxes, 1) << c.left << " " << c.right;
    EXPECT_EQ(psd_.rtMargin.left, 250);
    EXPECT_EQ(psd_.rtMargin.right, 500);
  }
}

TEST_F(PageSetup, TheCallersMarginsAndMinimumsAreHonoured) {
  psd_.Flags = PSD_INTHOUSANDTHSOFINCHES | PSD_MARGINS | PSD_MINMARGINS;
  psd_.rtMargin = {750, 500, 1250, 2000};
  psd_.rtMinMargin = {600, 0, 0, 0};
  int boxes = 0;
  answers_.When(nullptr, "Page Setup", [&](HWND dialog) {
    EXPECT_EQ(Text(GetDlgItem(dialog, edt4)), "0.75");
    EXPECT_EQ(Text(GetDlgItem(dialog, edt6)), "1.25");
    SetDlgItemText(dialog, edt4, "0.5");  // under the caller's minimum
    PressButton(dialog, IDOK);
    SetDlgItemText(dialog, edt4, "0.6");
    SetDlgItemText(dialog, edt5, "0");  // the caller allows no top margin
    PressButton(dialog, IDOK);
  });
  answers_.When("#32770", "Page Setup", [&](HWND box) {
    ++boxes;
    PressButton(box, IDOK);
  });
  ASSERT_TRUE(PageSetupDlg(&psd_));
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(psd_.rtMargin.left, 600);
  EXPECT_EQ(psd_.rtMargin.top, 0);
  EXPECT_EQ(psd_.rtMargin.right, 1250);
}

TEST_F(PageSetup, MarginsTooSmallForThePrinterStartAtItsLeast) {
  psd_.Flags = PSD_INHUNDREDTHSOFMILLIMETERS | PSD_MARGINS;  // and all four margins zero
  answers_.When(nullptr, "Page Setup", [&](HWND dialog) {
    EXPECT_EQ(Text(GetDlgItem(dialog, edt4)), "6.35");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PageSetupDlg(&psd_));
  EXPECT_EQ(psd_.rtMargin.left, 635);
  EXPECT_EQ(psd_.rtMargin.bottom, 635);
  EXPECT_TRUE(answers_.Unanswered().empty());
}

TEST_F(PageSetup, DisableFlagsDisableTheirControls) {
  struct Case {
    DWORD flag;
    std::vector<int> ids;
  };
  const Case cases[] = {{PSD_DISABLEMARGINS, {edt4, edt5, edt6, edt7}},
                        {PSD_DISABLEORIENTATION, {rad1, rad2}},
                        {PSD_DISABLEPAPER, {cmb2, cmb3}},
                        {PSD_DISABLEPRINTER, {psh3}}};
  for (const Case& c : cases) {
    psd_.Flags = c.flag;
    answers_.When(nullptr, "Page Setup", [&](HWND dialog) {
      for (int id : {edt4, rad1, cmb2, psh3}) {
        bool disabled = std::find(c.ids.begin(), c.ids.end(), id) != c.ids.end();
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, id)), !disabled) << std::hex << c.flag << " " << id;
      }
      PressButton(dialog, IDCANCEL);
    });
    EXPECT_FALSE(PageSetupDlg(&psd_));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
  }
}

TEST_F(PageSetup, ThePrinterButtonChoosesAnotherPrinter) {
  answers_.When(nullptr, "Page Setup", [&](HWND dialog) {
    PressButton(dialog, psh3);
    EXPECT_EQ(SelectedItem(dialog, cmb2), "Legal");  // the setup dialog's paper shows here
    PressButton(dialog, IDOK);
  });
  answers_.When(nullptr, "Print Setup", [&](HWND setup) {
    ChooseItem(setup, cmb1, "Lab");
    ChooseItem(setup, cmb2, "Legal");
    PressButton(setup, IDOK);
  });
  ASSERT_TRUE(PageSetupDlg(&psd_));
  DevNamesContent names = DevNamesOf(psd_.hDevNames);
  EXPECT_EQ(names.device, "Lab");
  EXPECT_EQ(names.flags, 0);
  EXPECT_EQ(DevModeOf(psd_.hDevMode).dmPaperSize, DMPAPER_LEGAL);
}

TEST_F(PageSetup, ReturnDefaultFillsTheStructureWithoutADialog) {
  psd_.Flags = PSD_RETURNDEFAULT | PSD_INHUNDREDTHSOFMILLIMETERS;
  ASSERT_TRUE(PageSetupDlg(&psd_));
  EXPECT_TRUE(answers_.Unanswered().empty());
  EXPECT_EQ(psd_.ptPaperSize.x, 21590);
  EXPECT_EQ(psd_.ptPaperSize.y, 27940);
  EXPECT_EQ(DevNamesOf(psd_.hDevNames).flags, DN_DEFAULTPRN);
  EXPECT_FALSE(PageSetupDlg(&psd_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(PDERR_RETDEFFAILURE));
}

TEST_F(PageSetup, WithoutAUnitTheLocalesMeasureIsUsedAndReported) {
  psd_.Flags = PSD_RETURNDEFAULT;
  ASSERT_TRUE(PageSetupDlg(&psd_));
  EXPECT_TRUE(psd_.Flags & PSD_INTHOUSANDTHSOFINCHES);  // the built-in locale measures in inches
  EXPECT_EQ(psd_.ptPaperSize.x, 8500);
}

TEST_F(PageSetup, AnApplicationsTemplateKeepsWhatItDoesNotShow) {
  psd_.Flags = PSD_ENABLEPAGESETUPTEMPLATE | PSD_INTHOUSANDTHSOFINCHES | PSD_MARGINS;
  psd_.rtMargin = {500, 600, 700, 800};
  psd_.lpPageSetupTemplateName = MAKEINTRESOURCE(1546);
  answers_.When(nullptr, "Report Page", [&](HWND dialog) {
    ChooseItem(dialog, cmb2, "A5");
    SetDlgItemText(dialog, edt4, "1.5");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PageSetupDlg(&psd_));
  EXPECT_EQ(psd_.rtMargin.left, 1500);
  EXPECT_EQ(psd_.rtMargin.top, 600);
  EXPECT_EQ(psd_.rtMargin.bottom, 800);
  EXPECT_EQ(psd_.ptPaperSize.x, MulDiv(1480, 1000, 254));
  DEVMODE dm = DevModeOf(psd_.hDevMode);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_A5);
  EXPECT_EQ(dm.dmOrientation, DMORIENT_PORTRAIT);
}

TEST_F(PageSetup, BadRequestsFailWithTheirErrors) {
  PAGESETUPDLG psd = psd_;
  psd.lStructSize = 12;
  EXPECT_FALSE(PageSetupDlg(&psd));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  psd = psd_;
  psd.Flags = PSD_INTHOUSANDTHSOFINCHES | PSD_INHUNDREDTHSOFMILLIMETERS;
  EXPECT_FALSE(PageSetupDlg(&psd));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
  psd = psd_;
  psd.Flags = PSD_ENABLEPAGEPAINTHOOK;
  EXPECT_FALSE(PageSetupDlg(&psd));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_NOHOOK));
}

// The page-paint hook's messages, recorded; it draws nothing itself.
struct PaintRecord {
  std::vector<UINT> messages;
  RECT full{}, margin{};
  WORD paper = 0, orientation = 0;
};
PaintRecord g_paint;

UINT_PTR CALLBACK PaintHook(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg < WM_PSD_PAGESETUPDLG || msg > WM_PSD_YAFULLPAGERECT) return 0;
  g_paint.messages.push_back(msg);
  if (msg == WM_PSD_PAGESETUPDLG) {
    g_paint.paper = LOWORD(wParam);
    g_paint.orientation = HIWORD(wParam);
  }
  if (msg == WM_PSD_FULLPAGERECT) g_paint.full = *reinterpret_cast<RECT*>(lParam);
  if (msg == WM_PSD_MARGINRECT) g_paint.margin = *reinterpret_cast<RECT*>(lParam);
  return 0;
}

TEST_F(PageSetup, TheSampleIsPaintedPartByPartForThePaintHook) {
  g_paint = {};
  psd_.Flags = PSD_ENABLEPAGEPAINTHOOK | PSD_INTHOUSANDTHSOFINCHES | PSD_MARGINS;
  psd_.rtMargin = {2125, 1000, 2125, 1000};  // a quarter of the width on each side
  psd_.lpfnPagePaintHook = PaintHook;
  answers_.When(nullptr, "Page Setup", [&](HWND dialog) {
    HWND sample = GetDlgItem(dialog, rct1);
    UpdateWindow(dialog);
    ASSERT_EQ(g_paint.messages, (std::vector<UINT>{WM_PSD_PAGESETUPDLG, WM_PSD_FULLPAGERECT, WM_PSD_MINMARGINRECT,
                                                   WM_PSD_MARGINRECT, WM_PSD_GREEKTEXTRECT}));
    EXPECT_EQ(g_paint.paper, DMPAPER_LETTER);
    RECT full = g_paint.full, margin = g_paint.margin;
    int width = full.right - full.left;
    EXPECT_NEAR(margin.left - full.left, width / 4, 1);
    EXPECT_NEAR(full.right - margin.right, width / 4, 1);
    // Letter stands upright: taller than wide, in proportion.
    EXPECT_NEAR((full.bottom - full.top) * 85, width * 110, 110);
    // The page is white inside its frame, the area around it the dialog's face.
    RECT r;
    GetWindowRect(sample, &r);
    RECT window;
    GetWindowRect(dialog, &window);
    POINT origin{r.left - window.left, r.top - window.top};
    EXPECT_EQ(WindowPixel(dialog, origin.x + full.left + 2, origin.y + full.top + 2), RGB(255, 255, 255));
    EXPECT_EQ(WindowPixel(dialog, origin.x + 1, origin.y + 1), GetSysColor(COLOR_3DFACE));

    g_paint = {};
    PressButton(dialog, rad2);
    UpdateWindow(dialog);
    ASSERT_FALSE(g_paint.messages.empty());
    EXPECT_EQ(g_paint.orientation, 0x0003);  // landscape paper
    EXPECT_GT(g_paint.full.right - g_paint.full.left, g_paint.full.bottom - g_paint.full.top);
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PageSetupDlg(&psd_));
  EXPECT_EQ(psd_.ptPaperSize.x, 11000);
}

}  // namespace

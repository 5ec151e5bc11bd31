// CPrintDialog, CPageSetupDialog and the application's printer: the dialogs run with the object
// attached and answered by scripts, the answer read through the classes' accessors, the
// defaults without a dialog, the sample hooks, and print setup keeping the application's choice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/CPrintDialog.h"
#include "afx/afx.h"
#include "testing/FakeCups.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

void Press(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  RECT r;
  ::GetClientRect(button, &r);
  Click(button, POINT{r.right / 2, r.bottom / 2});
}

void Choose(HWND dialog, int id, const char* text) {
  HWND combo = ::GetDlgItem(dialog, id);
  ASSERT_GE(::SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)), 0);
  ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

std::string Selected(HWND dialog, int id) {
  char text[64] = {};
  HWND combo = ::GetDlgItem(dialog, id);
  ::SendMessage(combo, CB_GETLBTEXT, ::SendMessage(combo, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
  return text;
}

class FrameworkPrinting : public ::testing::Test {
 protected:
  UiSession session_;
  ModalAnswers answers_;
  FakeCups cups_{{"Office", "Lab"}, "Lab"};
};

// A print dialog of the application's own: its OnInitDialog runs on the platform dialog.
class RangeDialog : public CPrintDialog {
 public:
  RangeDialog() : CPrintDialog(FALSE, PD_ALLPAGES | PD_HIDEPRINTTOFILE) {}
  HWND initialised = nullptr;

 protected:
  BOOL OnInitDialog() override {
    initialised = m_hWnd;
    return CPrintDialog::OnInitDialog();
  }
};

TEST_F(FrameworkPrinting, ThePrintDialogRunsWithItsObjectAndReportsTheRange) {
  RangeDialog dialog;
  dialog.m_pd.nMinPage = 1;
  dialog.m_pd.nMaxPage = 12;
  HWND seen = nullptr;
  answers_.When(nullptr, "Print", [&](HWND hwnd) {
    seen = hwnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &dialog);
    ::SetDlgItemText(hwnd, edt1, "4");
    ::SetDlgItemText(hwnd, edt2, "9");
    ::SetDlgItemText(hwnd, edt3, "3");
    Press(hwnd, IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.initialised, seen);
  EXPECT_TRUE(dialog.PrintRange());
  EXPECT_FALSE(dialog.PrintAll());
  EXPECT_FALSE(dialog.PrintSelection());
  EXPECT_EQ(dialog.GetFromPage(), 4);
  EXPECT_EQ(dialog.GetToPage(), 9);
  EXPECT_EQ(dialog.GetCopies(), 3);
  EXPECT_EQ(dialog.GetDeviceName(), CString("Lab"));
  EXPECT_EQ(dialog.GetDriverName(), CString("winspool"));
  EXPECT_EQ(dialog.GetPortName(), CString("CUPS:"));
  HDC dc = dialog.GetPrinterDC();
  ASSERT_NE(dc, nullptr);
  EXPECT_TRUE(brambolt::IsPrinterDC(dc));
  ::DeleteDC(dc);
  ::GlobalFree(dialog.m_pd.hDevMode);
  ::GlobalFree(dialog.m_pd.hDevNames);
}

TEST_F(FrameworkPrinting, TheFrameworksDefaultFlagsOfferWholeDocumentsWithDevModeCopies) {
  CPrintDialog dialog(FALSE);
  answers_.When(nullptr, "Print", [&](HWND hwnd) {
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hwnd, rad3)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hwnd, rad2)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hwnd, chx1)));
    ::SetDlgItemText(hwnd, edt3, "2");
    Press(hwnd, chx2);
    Press(hwnd, IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(dialog.PrintAll());
  EXPECT_EQ(dialog.GetFromPage(), -1);
  EXPECT_EQ(dialog.GetCopies(), 2);
  EXPECT_TRUE(dialog.PrintCollate());
  EXPECT_EQ(dialog.m_pd.nCopies, 1);
  LPDEVMODE dm = dialog.GetDevMode();
  ASSERT_NE(dm, nullptr);
  EXPECT_EQ(dm->dmCopies, 2);
  ::GlobalUnlock(dialog.m_pd.hDevMode);
  ::DeleteDC(dialog.m_pd.hDC);
  ::GlobalFree(dialog.m_pd.hDevMode);
  ::GlobalFree(dialog.m_pd.hDevNames);
}

TEST_F(FrameworkPrinting, GetDefaultsNamesTheDefaultPrinterWithoutADialog) {
  CPrintDialog dialog(TRUE);
  ASSERT_TRUE(dialog.GetDefaults());
  EXPECT_TRUE(answers_.Unanswered().empty());
  EXPECT_FALSE(dialog.m_pd.Flags & PD_RETURNDEFAULT);
  EXPECT_EQ(dialog.GetDeviceName(), CString("Lab"));
  LPDEVMODE dm = dialog.GetDevMode();
  EXPECT_EQ(dm->dmPaperSize, DMPAPER_LETTER);
  ::GlobalUnlock(dialog.m_pd.hDevMode);
  HDC dc = dialog.CreatePrinterDC();
  EXPECT_EQ(dialog.GetPrinterDC(), dc);
  EXPECT_EQ(::GetDeviceCaps(dc, PHYSICALWIDTH), 5100);
  ::DeleteDC(dc);
  ::GlobalFree(dialog.m_pd.hDevMode);
  ::GlobalFree(dialog.m_pd.hDevNames);
}

// A page-setup dialog that draws the sample's text itself and records what it was asked.
class SampleDialog : public CPageSetupDialog {
 public:
  SampleDialog() : CPageSetupDialog(PSD_INTHOUSANDTHSOFINCHES) {}
  std::vector<UINT> parts;
  std::vector<WORD> papers;
  bool hadDC = false;

  UINT PreDrawPage(WORD wPaper, WORD, LPPAGESETUPDLG) override {
    papers.push_back(wPaper);
    return 0;
  }
  UINT OnDrawPage(CDC* pDC, UINT nMessage, LPRECT) override {
    parts.push_back(nMessage);
    hadDC = pDC != nullptr && pDC->GetSafeHdc() != nullptr;
    return nMessage == WM_PSD_GREEKTEXTRECT;
  }
};

TEST_F(FrameworkPrinting, ThePageSetupDialogReportsPaperAndMarginsAndLetsTheObjectDraw) {
  HGLOBAL mode = nullptr, names = nullptr;
  {
    SampleDialog dialog;
    answers_.When(nullptr, "Page Setup", [&](HWND hwnd) {
      ::UpdateWindow(hwnd);
      Choose(hwnd, cmb2, "Legal");
      ::UpdateWindow(hwnd);
      ::SetDlgItemText(hwnd, edt4, "0.5");
      Press(hwnd, IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    // The first sample is of the Letter page, the last of the Legal one chosen after it.
    ASSERT_GE(dialog.papers.size(), 2u);
    EXPECT_EQ(dialog.papers.front(), DMPAPER_LETTER);
    EXPECT_EQ(dialog.papers.back(), DMPAPER_LEGAL);
    ASSERT_GE(dialog.parts.size(), 4u);
    EXPECT_EQ(std::vector<UINT>(dialog.parts.begin(), dialog.parts.begin() + 4),
              (std::vector<UINT>{WM_PSD_FULLPAGERECT, WM_PSD_MINMARGINRECT, WM_PSD_MARGINRECT, WM_PSD_GREEKTEXTRECT}));
    EXPECT_TRUE(dialog.hadDC);
    EXPECT_EQ(dialog.GetPaperSize(), CSize(8500, 14000));
    RECT margins, minimum;
    dialog.GetMargins(&margins, &minimum);
    EXPECT_EQ(margins.left, 500);
    EXPECT_EQ(margins.top, 1000);
    EXPECT_EQ(dialog.GetDeviceName(), CString("Lab"));
    LPDEVMODE dm = dialog.GetDevMode();
    EXPECT_EQ(dm->dmPaperSize, DMPAPER_LEGAL);
    ::GlobalUnlock(dialog.m_psd.hDevMode);
    HDC dc = dialog.CreatePrinterDC();
    EXPECT_EQ(::GetDeviceCaps(dc, PHYSICALHEIGHT), 8400);
    ::DeleteDC(dc);
    mode = dialog.m_psd.hDevMode;
    names = dialog.m_psd.hDevNames;
  }
  // The blocks went with the object.
  EXPECT_EQ(::GlobalSize(mode), 0u);
  EXPECT_EQ(::GlobalSize(names), 0u);
}

class PrintingApp : public CWinApp {
 public:
  PrintingApp() : CWinApp("Printing App") {}
};

TEST_F(FrameworkPrinting, TheApplicationStartsOnTheDefaultPrinter) {
  PrintingApp app;
  PRINTDLG pd{};
  ASSERT_TRUE(app.GetPrinterDeviceDefaults(&pd));
  EXPECT_EQ(pd.hDevNames, app.m_hDevNames);
  EXPECT_EQ(pd.hDevMode, app.m_hDevMode);
  brambolt::DevNamesContent names;
  ASSERT_TRUE(brambolt::ReadDevNamesBlock(pd.hDevNames, &names));
  EXPECT_EQ(names.device, "Lab");

  // While it uses the default printer, a new system default takes its place.
  {
    FakeCups moved({"Office", "Lab"}, "Office");
    app.UpdatePrinterSelection(FALSE);
  }
  ASSERT_TRUE(brambolt::ReadDevNamesBlock(app.m_hDevNames, &names));
  EXPECT_EQ(names.device, "Office");
}

TEST_F(FrameworkPrinting, PrintSetupKeepsTheApplicationsChoice) {
  PrintingApp app;
  answers_.When(nullptr, "Print Setup", [&](HWND hwnd) {
    Choose(hwnd, cmb1, "Office");
    Choose(hwnd, cmb2, "A4");
    Press(hwnd, rad2);
    Press(hwnd, IDOK);
  });
  app.OnFilePrintSetup();
  brambolt::DevNamesContent names;
  ASSERT_TRUE(brambolt::ReadDevNamesBlock(app.m_hDevNames, &names));
  EXPECT_EQ(names.device, "Office");

  // The next setup starts from it, and so does the application's printer DC.
  answers_.When(nullptr, "Print Setup", [&](HWND hwnd) {
    EXPECT_EQ(Selected(hwnd, cmb1), "Office");
    EXPECT_EQ(Selected(hwnd, cmb2), "A4");
    EXPECT_EQ(::IsDlgButtonChecked(hwnd, rad2), static_cast<UINT>(BST_CHECKED));
    Press(hwnd, IDCANCEL);
  });
  app.OnFilePrintSetup();
  // A picked printer is not the default one: a new system default leaves it alone.
  FakeCups moved({"Office", "Lab"}, "Office");
  CDC dc;
  ASSERT_TRUE(app.CreatePrinterDC(dc));
  EXPECT_TRUE(dc.IsPrinting());
  EXPECT_EQ(dc.GetDeviceCaps(PHYSICALWIDTH), 7016);
  EXPECT_EQ(dc.GetDeviceCaps(PHYSICALHEIGHT), 4961);
  dc.DeleteDC();
  EXPECT_EQ(moved.Calls(), 0);
}

TEST_F(FrameworkPrinting, PrintSetupRecoversFromBlocksOfDifferentPrinters) {
  PrintingApp app;
  app.SelectPrinter(brambolt::CreateDevNamesBlock("winspool", "Office", "CUPS:", 0),
                    brambolt::CreateDevModeBlock(brambolt::DefaultDevMode("Lab")));
  answers_.When(nullptr, "Print Setup", [&](HWND hwnd) {
    EXPECT_EQ(Selected(hwnd, cmb1), "Office");
    Press(hwnd, IDOK);
  });
  CPrintDialog dialog(TRUE);
  EXPECT_EQ(app.DoPrintDialog(&dialog), IDOK);
  EXPECT_EQ(app.m_hDevNames, dialog.m_pd.hDevNames);
  LPDEVMODE dm = static_cast<LPDEVMODE>(::GlobalLock(app.m_hDevMode));
  EXPECT_STREQ(reinterpret_cast<char*>(dm->dmDeviceName), "Office");
  ::GlobalUnlock(app.m_hDevMode);
}

}  // namespace

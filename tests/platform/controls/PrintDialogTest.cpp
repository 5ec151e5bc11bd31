// The print and print-setup dialogs answered by scripts: printers from CUPS and Print to File,
// page ranges and their checks, copies and collation, DEVMODE and DEVNAMES in and out, the
// defaults without a dialog, printer DCs from the answer, hooks and the errors of bad requests.
#include "PrintDialogTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class PrintDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    pd_.lStructSize = sizeof(pd_);
    pd_.hwndOwner = owner_.Hwnd();
    pd_.nMinPage = 1;
    pd_.nMaxPage = 20;
    pd_.nFromPage = 1;
    pd_.nToPage = 20;
    pd_.nCopies = 1;
  }
  void TearDown() override {
    if (pd_.hDC) DeleteDC(pd_.hDC);
  }

  UiSession session_;
  NotificationRecorder owner_;
  ModalAnswers answers_;
  FakeCups cups_{{"Office", "Lab"}, "Lab"};
  PRINTDLG pd_{};
  Blocks blocks_{&pd_.hDevMode, &pd_.hDevNames};
};

TEST_F(PrintDialog, OffersTheCupsPrintersAndPrintToFileWithTheDefaultChosen) {
  answers_.When(nullptr, "Print", [&](HWND dialog) {
    EXPECT_EQ(Items(dialog, cmb4), (std::vector<std::string>{"Office", "Lab", "Print to File"}));
    EXPECT_EQ(SelectedItem(dialog, cmb4), "Lab");
    EXPECT_EQ(IsDlgButtonChecked(dialog, rad1), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(GetDlgItemInt(dialog, edt3, nullptr, FALSE), 1u);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, pshHelp)));
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_FALSE(PrintDlg(&pd_));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(pd_.hDevMode, nullptr);
  EXPECT_EQ(pd_.hDevNames, nullptr);
}

TEST_F(PrintDialog, APageRangeCopiesAndCollationComeBack) {
  answers_.When(nullptr, "Print", [&](HWND dialog) {
    ChooseItem(dialog, cmb4, "Office");
    SetDlgItemText(dialog, edt1, "3");  // typing a page picks "Pages"
    SetDlgItemText(dialog, edt2, "7");
    EXPECT_EQ(IsDlgButtonChecked(dialog, rad3), static_cast<UINT>(BST_CHECKED));
    SetDlgItemText(dialog, edt3, "2");
    PressButton(dialog, chx2);
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_EQ(pd_.Flags & (PD_PAGENUMS | PD_SELECTION | PD_COLLATE | PD_PRINTTOFILE),
            static_cast<DWORD>(PD_PAGENUMS | PD_COLLATE));
  EXPECT_EQ(pd_.nFromPage, 3);
  EXPECT_EQ(pd_.nToPage, 7);
  EXPECT_EQ(pd_.nCopies, 2);
  DevNamesContent names = DevNamesOf(pd_.hDevNames);
  EXPECT_EQ(names.driver, "winspool");
  EXPECT_EQ(names.device, "Office");
  EXPECT_EQ(names.flags, 0);  // not the default printer
  DEVMODE dm = DevModeOf(pd_.hDevMode);
  EXPECT_STREQ(reinterpret_cast<char*>(dm.dmDeviceName), "Office");
  EXPECT_EQ(dm.dmCopies, 1);
}

TEST_F(PrintDialog, DevModeCopiesGoIntoTheDevMode) {
  pd_.Flags = PD_USEDEVMODECOPIESANDCOLLATE;
  answers_.When(nullptr, "Print", [&](HWND dialog) {
    SetDlgItemText(dialog, edt3, "4");
    PressButton(dialog, chx2);
    PressButton(dialog, rad2);  // Selection
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  DEVMODE dm = DevModeOf(pd_.hDevMode);
  EXPECT_EQ(dm.dmCopies, 4);
  EXPECT_EQ(dm.dmCollate, DMCOLLATE_TRUE);
  EXPECT_EQ(pd_.nCopies, 1);
  EXPECT_EQ(pd_.Flags & (PD_COLLATE | PD_SELECTION | PD_PAGENUMS), static_cast<DWORD>(PD_SELECTION));
  EXPECT_EQ(DevNamesOf(pd_.hDevNames).flags, DN_DEFAULTPRN);
}

TEST_F(PrintDialog, PagesOutsideTheRangeAreRefusedWithAMessage) {
  struct Case {
    const char* from;
    const char* to;
  };
  for (const Case& c : {Case{"0", "5"}, Case{"3", "21"}, Case{"9", "4"}, Case{"x", "4"}, Case{"", "4"}}) {
    int boxes = 0;
    answers_.When(nullptr, "Print", [&](HWND dialog) {
      SetDlgItemText(dialog, edt1, c.from);
      SetDlgItemText(dialog, edt2, c.to);
      PressButton(dialog, IDOK);
      EXPECT_TRUE(IsWindow(dialog)) << c.from << "-" << c.to;  // still open after the message
      SetDlgItemText(dialog, edt1, "2");
      SetDlgItemText(dialog, edt2, "20");
      PressButton(dialog, IDOK);
    });
    answers_.When("#32770", "Print", [&](HWND box) {
      ++boxes;
      PressButton(box, IDOK);
    });
    ASSERT_TRUE(PrintDlg(&pd_));
    EXPECT_EQ(boxes, 1) << c.from << "-" << c.to;
    EXPECT_EQ(pd_.nFromPage, 2);
    EXPECT_EQ(pd_.nToPage, 20);
  }
}

TEST_F(PrintDialog, CopiesMustBeACountOfOneOrMore) {
  int boxes = 0;
  answers_.When(nullptr, "Print", [&](HWND dialog) {
    SetDlgItemText(dialog, edt3, "0");
    PressButton(dialog, IDOK);
    SetDlgItemText(dialog, edt3, "3");
    PressButton(dialog, IDOK);
  });
  answers_.When("#32770", "Print", [&](HWND box) {
    ++boxes;
    PressButton(box, IDOK);
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(pd_.nCopies, 3);
}

TEST_F(PrintDialog, PrintingToAFileUsesTheFilePort) {
  answers_.When(nullptr, "Print", [&](HWND dialog) {
    PressButton(dialog, chx1);
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_TRUE(pd_.Flags & PD_PRINTTOFILE);
  DevNamesContent names = DevNamesOf(pd_.hDevNames);
  EXPECT_EQ(names.device, "Lab");
  EXPECT_EQ(names.output, "FILE:");
}

TEST_F(PrintDialog, ThePrintToFilePrinterAlwaysPrintsToAFile) {
  answers_.When(nullptr, "Print", [&](HWND dialog) {
    ChooseItem(dialog, cmb4, "Print to File");
    EXPECT_EQ(IsDlgButtonChecked(dialog, chx1), static_cast<UINT>(BST_CHECKED));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, chx1)));
    ChooseItem(dialog, cmb4, "Office");  // the box is the caller's again
    EXPECT_EQ(IsDlgButtonChecked(dialog, chx1), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, chx1)));
    ChooseItem(dialog, cmb4, "Print to File");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_TRUE(pd_.Flags & PD_PRINTTOFILE);
  EXPECT_EQ(DevNamesOf(pd_.hDevNames).device, "Print to File");
}

TEST_F(PrintDialog, FlagsDisableOrHideWhatTheCallerDoesNotOffer) {
  struct Case {
    DWORD flags;
    std::vector<int> disabled, hidden, enabled;
  };
  const Case cases[] = {
      {PD_NOPAGENUMS | PD_NOSELECTION, {rad3, edt1, edt2, rad2}, {}, {rad1, chx1}},
      {PD_DISABLEPRINTTOFILE | PD_SHOWHELP, {chx1}, {}, {rad3, rad2, pshHelp}},
      {PD_HIDEPRINTTOFILE, {}, {chx1}, {rad3}},
  };
  for (const Case& c : cases) {
    pd_.Flags = c.flags;
    answers_.When(nullptr, "Print", [&](HWND dialog) {
      for (int id : c.disabled)
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, id))) << std::hex << c.flags << " " << id;
      for (int id : c.hidden) EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, id))) << std::hex << c.flags << " " << id;
      for (int id : c.enabled) {
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, id))) << std::hex << c.flags << " " << id;
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, id))) << std::hex << c.flags << " " << id;
      }
      PressButton(dialog, rad3);  // a disabled range cannot be picked
      PressButton(dialog, IDOK);
    });
    ASSERT_TRUE(PrintDlg(&pd_));
    if (c.flags & PD_NOPAGENUMS) {
      EXPECT_FALSE(pd_.Flags & PD_PAGENUMS);
    }
  }
}

TEST_F(PrintDialog, TheCallersPrinterAndPaperAreKept) {
  DEVMODE dm = DefaultDevMode("Office");
  dm.dmPaperSize = DMPAPER_A5;
  pd_.hDevMode = CreateDevModeBlock(dm);
  pd_.hDevNames = CreateDevNamesBlock("winspool", "Office", "CUPS:", 0);
  pd_.Flags = PD_RETURNDC;
  answers_.When(nullptr, "Print", [&](HWND dialog) {
    EXPECT_EQ(SelectedItem(dialog, cmb4), "Office");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_EQ(DevModeOf(pd_.hDevMode).dmPaperSize, DMPAPER_A5);
  EXPECT_EQ(DevNamesOf(pd_.hDevNames).device, "Office");
  ASSERT_TRUE(IsPrinterDC(pd_.hDC));
  EXPECT_EQ(GetDeviceCaps(pd_.hDC, PHYSICALWIDTH), MulDiv(1480, 600, 254));
}

TEST_F(PrintDialog, PropertiesChangeThePaperOfThePrintJob) {
  pd_.Flags = PD_RETURNDC;
  answers_.When(nullptr, "Print", [&](HWND dialog) {
    PressButton(dialog, psh2);  // the setup dialog runs and ends inside
    PressButton(dialog, IDOK);
  });
  answers_.When(nullptr, "Print Setup", [&](HWND setup) {
    ChooseItem(setup, cmb2, "Legal");
    PressButton(setup, rad2);
    PressButton(setup, IDOK);
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  DEVMODE dm = DevModeOf(pd_.hDevMode);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_LEGAL);
  EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(GetDeviceCaps(pd_.hDC, PHYSICALWIDTH), 8400);  // 14 inches at 600 dpi
  EXPECT_EQ(GetDeviceCaps(pd_.hDC, PHYSICALHEIGHT), 5100);
}

TEST_F(PrintDialog, PrintSetupChangesPaperAndOrientation) {
  pd_.Flags = PD_PRINTSETUP | PD_RETURNDC;
  DEVMODE custom = DefaultDevMode("Lab");  // a page of its own size: 100 x 150 mm
  custom.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
  custom.dmPaperWidth = 1000;
  custom.dmPaperLength = 1500;
  pd_.hDevMode = CreateDevModeBlock(custom);
  answers_.When(nullptr, "Print Setup", [&](HWND setup) {
    EXPECT_EQ(SelectedItem(setup, cmb1), "Lab");
    EXPECT_EQ(SelectedItem(setup, cmb2), "Letter");
    ChooseItem(setup, cmb1, "Office");
    ChooseItem(setup, cmb2, "A4");
    ChooseItem(setup, cmb3, "Manual Feed");
    PressButton(setup, rad2);
    EXPECT_EQ(IsDlgButtonChecked(setup, rad1), static_cast<UINT>(BST_UNCHECKED));
    PressButton(setup, IDOK);
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  DEVMODE dm = DevModeOf(pd_.hDevMode);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_A4);
  EXPECT_EQ(dm.dmPaperWidth, 2100);
  EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(dm.dmDefaultSource, DMBIN_MANUAL);
  EXPECT_STREQ(reinterpret_cast<char*>(dm.dmFormName), "A4");
  EXPECT_EQ(DevNamesOf(pd_.hDevNames).device, "Office");
  EXPECT_EQ(GetDeviceCaps(pd_.hDC, PHYSICALWIDTH), 7016);
  EXPECT_EQ(GetDeviceCaps(pd_.hDC, PHYSICALHEIGHT), 4961);
}

TEST_F(PrintDialog, ReturnDefaultAnswersWithoutADialog) {
  pd_.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_TRUE(answers_.Unanswered().empty());
  DevNamesContent names = DevNamesOf(pd_.hDevNames);
  EXPECT_EQ(names.device, "Lab");
  EXPECT_EQ(names.output, "CUPS:");
  EXPECT_EQ(names.flags, DN_DEFAULTPRN);
  EXPECT_EQ(DevModeOf(pd_.hDevMode).dmPaperSize, DMPAPER_LETTER);
  EXPECT_TRUE(IsPrinterDC(pd_.hDC));

  // Blocks given with PD_RETURNDEFAULT are a caller's mistake.
  HGLOBAL mode = pd_.hDevMode;
  EXPECT_FALSE(PrintDlg(&pd_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(PDERR_RETDEFFAILURE));
  EXPECT_EQ(pd_.hDevMode, mode);
}

TEST_F(PrintDialog, WithoutCupsOnlyPrintToFileIsOffered) {
  FakeCups none({}, "", false);
  pd_.Flags = PD_RETURNDEFAULT;
  ASSERT_TRUE(PrintDlg(&pd_));
  DevNamesContent names = DevNamesOf(pd_.hDevNames);
  EXPECT_EQ(names.device, "Print to File");
  EXPECT_EQ(names.output, "FILE:");
}

TEST_F(PrintDialog, TheHookSeesTheStructureAndItsMessages) {
  struct Seen {
    LPARAM custom = 0;
    int commands = 0;
  };
  static Seen seen;
  seen = {};
  pd_.Flags = PD_ENABLEPRINTHOOK;
  pd_.lCustData = 77;
  pd_.lpfnPrintHook = [](HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) -> UINT_PTR {
    if (msg == WM_INITDIALOG) {
      seen.custom = reinterpret_cast<PRINTDLG*>(lParam)->lCustData;
      SetDlgItemText(dialog, edt3, "5");
      return TRUE;
    }
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) ++seen.commands;
    return 0;
  };
  answers_.When(nullptr, "Print", [&](HWND dialog) { PressButton(dialog, IDOK); });
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_EQ(seen.custom, 77);
  EXPECT_EQ(seen.commands, 1);
  EXPECT_EQ(pd_.nCopies, 5);
}

TEST_F(PrintDialog, AnApplicationsTemplateRunsWithTheControlsItHas) {
  pd_.Flags = PD_ENABLEPRINTTEMPLATE | PD_PAGENUMS;
  pd_.nFromPage = 2;
  pd_.nToPage = 3;
  pd_.lpPrintTemplateName = MAKEINTRESOURCE(1538);
  answers_.When(nullptr, "Print Report", [&](HWND dialog) {
    EXPECT_EQ(Text(GetDlgItem(dialog, 1600)), "Reports print on both sides.");
    EXPECT_EQ(SelectedItem(dialog, cmb4), "Lab");
    SetDlgItemText(dialog, edt3, "6");
    PressButton(dialog, IDOK);
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_EQ(pd_.nCopies, 6);
  // Without range buttons the whole document is asked for.
  EXPECT_FALSE(pd_.Flags & (PD_PAGENUMS | PD_SELECTION));
}

TEST_F(PrintDialog, BadRequestsFailWithTheirErrors) {
  struct Case {
    const char* what;
    std::function<void(PRINTDLG&)> change;
    DWORD error;
  };
  const Case cases[] = {
      {"size", [](PRINTDLG& pd) { pd.lStructSize = 20; }, CDERR_STRUCTSIZE},
      {"no hook", [](PRINTDLG& pd) { pd.Flags = PD_ENABLEPRINTHOOK; }, CDERR_NOHOOK},
      {"no template", [](PRINTDLG& pd) { pd.Flags = PD_ENABLEPRINTTEMPLATE; }, CDERR_NOTEMPLATE},
      {"no such template",
       [](PRINTDLG& pd) {
         pd.Flags = PD_PRINTSETUP | PD_ENABLESETUPTEMPLATE;
         pd.lpSetupTemplateName = MAKEINTRESOURCE(9999);
       },
       CDERR_FINDRESFAILURE},
      {"no template block", [](PRINTDLG& pd) { pd.Flags = PD_ENABLEPRINTTEMPLATEHANDLE; }, CDERR_NOTEMPLATE},
      {"min above max", [](PRINTDLG& pd) { pd.nMinPage = 5, pd.nMaxPage = 2; }, PDERR_INITFAILURE},
      {"from below min",
       [](PRINTDLG& pd) {
         pd.Flags = PD_PAGENUMS;
         pd.nFromPage = 0;
       },
       PDERR_INITFAILURE},
      {"names differ",
       [](PRINTDLG& pd) {
         pd.hDevMode = CreateDevModeBlock(DefaultDevMode("Office"));
         pd.hDevNames = CreateDevNamesBlock("winspool", "Lab", "CUPS:", 0);
       },
       PDERR_DNDMMISMATCH},
      {"broken names",
       [](PRINTDLG& pd) {
         pd.hDevNames = CreateDevNamesBlock("winspool", "Lab", "CUPS:", 0);
         static_cast<DEVNAMES*>(GlobalLock(pd.hDevNames))->wDeviceOffset = 0x7000;
         GlobalUnlock(pd.hDevNames);
       },
       PDERR_INITFAILURE},
  };
  for (const Case& c : cases) {
    PRINTDLG pd = pd_;
    c.change(pd);
    EXPECT_FALSE(PrintDlg(&pd)) << c.what;
    EXPECT_EQ(CommDlgExtendedError(), c.error) << c.what;
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
  }
  EXPECT_TRUE(answers_.Unanswered().empty());
}

}  // namespace

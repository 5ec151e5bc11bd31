// The print dialog (printer, print to file, page range, copies, collation) and the print-setup
// dialog (printer, paper, source, orientation), each our own dialog over a PrinterChoice; PrintDlg
// with the defaults returned without a dialog.
#include "controls/PrintDialog.h"

#include <string>

#include "controls/CommonDialogSupport.h"
#include "controls/PrinterChoice.h"

namespace brambolt::ctl {
namespace {

constexpr int kMaxCopies = 9999;

class SetupDialog {
 public:
  SetupDialog(PrinterChoice* choice, const SetupOptions& options) : choice_(choice), options_(options) {}
  INT_PTR Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  LPSETUPHOOKPROC Hook() const {
    return options_.pd && (options_.pd->Flags & PD_ENABLESETUPHOOK) ? options_.pd->lpfnSetupHook : nullptr;
  }
  PrinterChoice* choice_;
  SetupOptions options_;
  PrinterChoice working_;  // the dialog's copy; the caller's changes only on OK
};

INT_PTR SetupDialog::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = 0;
  if (msg == WM_INITDIALOG) {
    working_ = *choice_;
    FillPrinterCombo(GetDlgItem(hwnd, cmb1), working_);
    ShowPaperControls(hwnd, working_.DevMode());
    if (!options_.pd || !(options_.pd->Flags & PD_SHOWHELP)) ShowWindow(GetDlgItem(hwnd, pshHelp), SW_HIDE);
    // The hook's answer decides the focus, as the dialog procedure's would.
    if (!Hook()) return TRUE;
    CallDialogHook(Hook(), hwnd, msg, wParam, reinterpret_cast<LPARAM>(options_.pd), &result);
    return result;
  }
  if (CallDialogHook(Hook(), hwnd, msg, wParam, lParam, &result)) return result;
  if (msg != WM_COMMAND) return FALSE;
  int id = LOWORD(wParam);
  if (id == cmb1 && HIWORD(wParam) == CBN_SELCHANGE) {
    working_.Select(static_cast<int>(SendDlgItemMessage(hwnd, cmb1, CB_GETCURSEL, 0, 0)));
  } else if ((id == rad1 || id == rad2) && HIWORD(wParam) == BN_CLICKED) {
    CheckRadioButton(hwnd, rad1, rad2, id);
  } else if (id == IDOK) {
    ReadPaperControls(hwnd, &working_.DevMode());
    *choice_ = working_;
    EndDialog(hwnd, IDOK);
  } else if (id == IDCANCEL) {
    EndDialog(hwnd, IDCANCEL);
  }
  return TRUE;
}

DialogTemplate SetupTemplate() {
  DialogTemplate t = CommonDialogFrame("Print Setup", 280, 132);
  DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
  t.items = {
      DialogItem("Button", "Printer", BS_GROUPBOX, 6, 4, 268, 32, grp3),
      DialogItem("Static", "&Name:", SS_LEFT, 12, 18, 30, 9, -1),
      DialogItem("ComboBox", "", list | WS_GROUP, 44, 16, 222, 80, cmb1),
      DialogItem("Button", "Paper", BS_GROUPBOX, 6, 40, 164, 60, grp2),
      DialogItem("Static", "Si&ze:", SS_LEFT, 12, 56, 30, 9, -1),
      DialogItem("ComboBox", "", list | WS_GROUP, 44, 54, 118, 80, cmb2),
      DialogItem("Static", "&Source:", SS_LEFT, 12, 76, 30, 9, -1),
      DialogItem("ComboBox", "", list | WS_GROUP, 44, 74, 118, 60, cmb3),
      DialogItem("Button", "Orientation", BS_GROUPBOX, 176, 40, 98, 60, grp1),
      DialogItem("Button", "P&ortrait", BS_RADIOBUTTON | WS_GROUP | WS_TABSTOP, 184, 56, 80, 10, rad1),
      DialogItem("Button", "L&andscape", BS_RADIOBUTTON, 184, 74, 80, 10, rad2),
      DialogItem("Button", "&Help", WS_TABSTOP | WS_GROUP, 6, 110, 44, 14, pshHelp),
      DialogItem("Button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 180, 110, 44, 14, IDOK),
      DialogItem("Button", "Cancel", WS_TABSTOP, 230, 110, 44, 14, IDCANCEL),
  };
  return t;
}

class PrintDialog {
 public:
  PrintDialog(PRINTDLGA* pd, PrinterChoice* choice) : pd_(pd), choice_(choice) {}
  INT_PTR Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  LPPRINTHOOKPROC Hook() const { return (pd_->Flags & PD_ENABLEPRINTHOOK) ? pd_->lpfnPrintHook : nullptr; }
  bool UsesDevModeCopies() const { return (pd_->Flags & PD_USEDEVMODECOPIESANDCOLLATE) != 0; }
  void Init();
  void ShowPrinter();
  void SetRange(int id);
  bool Finish();

  PRINTDLGA* pd_;
  PrinterChoice* choice_;
  HWND hwnd_ = nullptr;
  bool filling_ = false;
};

void PrintDialog::Init() {
  filling_ = true;
  FillPrinterCombo(GetDlgItem(hwnd_, cmb4), *choice_);
  const DWORD flags = pd_->Flags;
  if (flags & PD_HIDEPRINTTOFILE) ShowWindow(GetDlgItem(hwnd_, chx1), SW_HIDE);
  CheckDlgButton(hwnd_, chx1, (flags & PD_PRINTTOFILE) ? BST_CHECKED : BST_UNCHECKED);
  ShowPrinter();
  if (flags & PD_NOSELECTION) EnableWindow(GetDlgItem(hwnd_, rad2), FALSE);
  bool pages = !(flags & PD_NOPAGENUMS) && pd_->nMinPage != pd_->nMaxPage;
  for (int id : {rad3, edt1, edt2, stc2, stc3}) EnableWindow(GetDlgItem(hwnd_, id), pages);
  if (!(flags & PD_NOPAGENUMS)) {
    SetDlgItemInt(hwnd_, edt1, pd_->nFromPage, FALSE);
    SetDlgItemInt(hwnd_, edt2, pd_->nToPage, FALSE);
  }
  int range = rad1;
  if ((flags & PD_SELECTION) && !(flags & PD_NOSELECTION)) range = rad2;
  if ((flags & PD_PAGENUMS) && pages) range = rad3;
  CheckRadioButton(hwnd_, rad1, rad3, range);
  const DEVMODE& dm = choice_->DevMode();
  int copies = UsesDevModeCopies() ? dm.dmCopies : pd_->nCopies;
  SetDlgItemInt(hwnd_, edt3, static_cast<UINT>(std::max(1, copies)), FALSE);
  bool collate = UsesDevModeCopies() ? dm.dmCollate == DMCOLLATE_TRUE : (flags & PD_COLLATE) != 0;
  CheckDlgButton(hwnd_, chx2, collate ? BST_CHECKED : BST_UNCHECKED);
  if (!(flags & PD_SHOWHELP)) ShowWindow(GetDlgItem(hwnd_, pshHelp), SW_HIDE);
  filling_ = false;
}

// The printer's port, and the print-to-file box: checked and fixed for the file printer.
void PrintDialog::ShowPrinter() {
  const PrinterEntry& printer = choice_->Printer();
  SetDlgItemText(hwnd_, stc6, printer.port.c_str());
  if (printer.toFile) CheckDlgButton(hwnd_, chx1, BST_CHECKED);
  bool enable = !printer.toFile && !(pd_->Flags & PD_DISABLEPRINTTOFILE);
  EnableWindow(GetDlgItem(hwnd_, chx1), enable);
}

void PrintDialog::SetRange(int id) {
  if (IsWindowEnabled(GetDlgItem(hwnd_, id))) CheckRadioButton(hwnd_, rad1, rad3, id);
}

bool PrintDialog::Finish() {
  int copies = 1;
  if (GetDlgItem(hwnd_, edt3) &&
      !ReadNumberOrComplain(hwnd_, edt3, 1, kMaxCopies,
                            "The number of copies must be between 1 and " + std::to_string(kMaxCopies) + ".", &copies))
    return false;
  DWORD range = PD_ALLPAGES;
  if (IsDlgButtonChecked(hwnd_, rad2) == BST_CHECKED) range = PD_SELECTION;
  int from = pd_->nFromPage, to = pd_->nToPage;
  if (IsDlgButtonChecked(hwnd_, rad3) == BST_CHECKED) {
    range = PD_PAGENUMS;
    std::string message = "This value is not within the page range.\nEnter a number between " +
                          std::to_string(pd_->nMinPage) + " and " + std::to_string(pd_->nMaxPage) + ".";
    if (!ReadNumberOrComplain(hwnd_, edt1, pd_->nMinPage, pd_->nMaxPage, message, &from)) return false;
    if (!ReadNumberOrComplain(hwnd_, edt2, from, pd_->nMaxPage,
                              "The last page must lie between the first page (" + std::to_string(from) + ") and " +
                                  std::to_string(pd_->nMaxPage) + ".",
                              &to))
      return false;
  }
  bool collate = IsDlgButtonChecked(hwnd_, chx2) == BST_CHECKED;
  bool toFile = IsDlgButtonChecked(hwnd_, chx1) == BST_CHECKED;
  DEVMODE& dm = choice_->DevMode();
  if (UsesDevModeCopies()) {
    dm.dmFields |= DM_COPIES | DM_COLLATE;
    dm.dmCopies = static_cast<short>(copies);
    dm.dmCollate = collate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    pd_->nCopies = 1;
    collate = false;
  } else {
    dm.dmCopies = 1;
    pd_->nCopies = static_cast<WORD>(copies);
  }
  pd_->Flags &= ~static_cast<DWORD>(PD_SELECTION | PD_PAGENUMS | PD_COLLATE | PD_PRINTTOFILE);
  pd_->Flags |= range | (collate ? PD_COLLATE : 0) | (toFile ? PD_PRINTTOFILE : 0);
  if (range == PD_PAGENUMS) {
    pd_->nFromPage = static_cast<WORD>(from);
    pd_->nToPage = static_cast<WORD>(to);
  }
  return true;
}

INT_PTR PrintDialog::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = 0;
  if (msg == WM_INITDIALOG) {
    hwnd_ = hwnd;
    Init();
    // The hook's answer decides the focus, as the dialog procedure's would.
    if (!Hook()) return TRUE;
    CallDialogHook(Hook(), hwnd, msg, wParam, reinterpret_cast<LPARAM>(pd_), &result);
    return result;
  }
  if (hwnd_ && CallDialogHook(Hook(), hwnd, msg, wParam, lParam, &result)) return result;
  if (msg != WM_COMMAND || filling_) return FALSE;
  int id = LOWORD(wParam), code = HIWORD(wParam);
  if (id == cmb4 && code == CBN_SELCHANGE) {
    bool wasFile = choice_->Printer().toFile;
    choice_->Select(static_cast<int>(SendDlgItemMessage(hwnd, cmb4, CB_GETCURSEL, 0, 0)));
    if (wasFile && !choice_->Printer().toFile)
      CheckDlgButton(hwnd, chx1, (pd_->Flags & PD_PRINTTOFILE) ? BST_CHECKED : BST_UNCHECKED);
    ShowPrinter();
  } else if (id == psh2 && code == BN_CLICKED) {
    DWORD error = 0;
    if (RunPrintSetup(hwnd, choice_, SetupOptions{}, &error) == IDOK) {
      FillPrinterCombo(GetDlgItem(hwnd, cmb4), *choice_);
      ShowPrinter();
    }
  } else if ((id == rad1 || id == rad2 || id == rad3) && code == BN_CLICKED) {
    SetRange(id);
  } else if ((id == edt1 || id == edt2) && code == EN_CHANGE) {
    SetRange(rad3);  // typing a page number asks for those pages
  } else if (id == IDOK) {
    if (Finish()) EndDialog(hwnd, IDOK);
  } else if (id == IDCANCEL) {
    EndDialog(hwnd, IDCANCEL);
  } else {
    return FALSE;
  }
  return TRUE;
}

DialogTemplate PrintTemplate() {
  DialogTemplate t = CommonDialogFrame("Print", 280, 156);
  DWORD number = ES_NUMBER | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
  t.items = {
      DialogItem("Button", "Printer", BS_GROUPBOX, 6, 4, 268, 48, grp4),
      DialogItem("Static", "&Name:", SS_LEFT, 12, 18, 30, 9, -1),
      DialogItem("ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 44, 16, 158, 80, cmb4),
      DialogItem("Button", "&Properties...", WS_TABSTOP, 208, 15, 60, 14, psh2),
      DialogItem("Static", "Where:", SS_LEFT, 12, 36, 30, 9, -1),
      DialogItem("Static", "", SS_LEFT | SS_NOPREFIX, 44, 36, 158, 9, stc6),
      DialogItem("Button", "Print to fi&le", BS_AUTOCHECKBOX | WS_TABSTOP, 208, 35, 60, 10, chx1),
      DialogItem("Button", "Print range", BS_GROUPBOX, 6, 56, 144, 70, grp1),
      DialogItem("Button", "&All", BS_RADIOBUTTON | WS_GROUP | WS_TABSTOP, 12, 70, 60, 10, rad1),
      DialogItem("Button", "Pa&ges", BS_RADIOBUTTON, 12, 88, 34, 10, rad3),
      DialogItem("Static", "&from:", SS_RIGHT, 46, 89, 20, 9, stc2),
      DialogItem("Edit", "", number | WS_GROUP, 68, 87, 26, 12, edt1),
      DialogItem("Static", "&to:", SS_RIGHT, 96, 89, 14, 9, stc3),
      DialogItem("Edit", "", number, 112, 87, 26, 12, edt2),
      DialogItem("Button", "&Selection", BS_RADIOBUTTON | WS_GROUP | WS_TABSTOP, 12, 106, 60, 10, rad2),
      DialogItem("Button", "Copies", BS_GROUPBOX, 156, 56, 118, 70, grp2),
      DialogItem("Static", "Number of &copies:", SS_LEFT, 162, 72, 64, 9, -1),
      DialogItem("Edit", "", number | WS_GROUP, 230, 70, 36, 12, edt3),
      DialogItem("Button", "C&ollate", BS_AUTOCHECKBOX | WS_TABSTOP, 162, 92, 60, 10, chx2),
      DialogItem("Button", "&Help", WS_TABSTOP | WS_GROUP, 6, 134, 44, 14, pshHelp),
      DialogItem("Button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 180, 134, 44, 14, IDOK),
      DialogItem("Button", "Cancel", WS_TABSTOP, 230, 134, 44, 14, IDCANCEL),
  };
  return t;
}

// The dialog's template: the caller's when its flags ask for one, else ours.
std::optional<DialogTemplate> ChooseTemplate(const PRINTDLGA* pd, bool setup, DWORD* error) {
  if (!pd) return ChooseDialogTemplate(false, nullptr, false, nullptr, nullptr, SetupTemplate, error);
  if (setup)
    return ChooseDialogTemplate(pd->Flags & PD_ENABLESETUPTEMPLATEHANDLE, pd->hSetupTemplate,
                                pd->Flags & PD_ENABLESETUPTEMPLATE, pd->hInstance, pd->lpSetupTemplateName,
                                SetupTemplate, error);
  return ChooseDialogTemplate(pd->Flags & PD_ENABLEPRINTTEMPLATEHANDLE, pd->hPrintTemplate,
                              pd->Flags & PD_ENABLEPRINTTEMPLATE, pd->hInstance, pd->lpPrintTemplateName, PrintTemplate,
                              error);
}

// PD_RETURNDC / PD_RETURNIC: the DC of the choice, to the structure.
bool ReturnDC(LPPRINTDLGA pd, const PrinterChoice& choice, const char* output) {
  pd->hDC = nullptr;
  if (!(pd->Flags & (PD_RETURNDC | PD_RETURNIC))) return true;
  pd->hDC = choice.CreateDC(!(pd->Flags & PD_RETURNDC), output);
  return pd->hDC != nullptr;
}

}  // namespace

INT_PTR RunPrintSetup(HWND owner, PrinterChoice* choice, const SetupOptions& options, DWORD* error) {
  std::optional<DialogTemplate> tmpl = ChooseTemplate(options.pd, true, error);
  if (!tmpl) return -1;
  SetupDialog dialog(choice, options);
  return RunObjectDialog(*tmpl, options.pd ? options.pd->hInstance : nullptr, owner, &dialog, error);
}

}  // namespace brambolt::ctl

BOOL PrintDlg(LPPRINTDLGA pd) {
  using namespace brambolt::ctl;
  SetCommDlgError(0);
  if (pd == nullptr || pd->lStructSize != sizeof(PRINTDLGA)) return CommDlgFailure(CDERR_STRUCTSIZE);
  const DWORD flags = pd->Flags;
  if ((flags & PD_RETURNDEFAULT) && (pd->hDevMode || pd->hDevNames)) return CommDlgFailure(PDERR_RETDEFFAILURE);
  bool setup = (flags & PD_PRINTSETUP) != 0;
  if (!(flags & PD_RETURNDEFAULT)) {
    if (((flags & PD_ENABLEPRINTHOOK) && !setup && !pd->lpfnPrintHook) ||
        ((flags & PD_ENABLESETUPHOOK) && setup && !pd->lpfnSetupHook))
      return CommDlgFailure(CDERR_NOHOOK);
    // The page range the caller offers must hold together before any dialog shows it.
    if (!setup && !(flags & PD_NOPAGENUMS)) {
      if (pd->nMinPage > pd->nMaxPage) return CommDlgFailure(PDERR_INITFAILURE);
      if ((flags & PD_PAGENUMS) &&
          (pd->nFromPage < pd->nMinPage || pd->nToPage > pd->nMaxPage || pd->nFromPage > pd->nToPage))
        return CommDlgFailure(PDERR_INITFAILURE);
    }
  }
  PrinterChoice choice;
  if (DWORD error = choice.Load(pd->hDevMode, pd->hDevNames)) return CommDlgFailure(error);
  if (flags & PD_RETURNDEFAULT) {
    if (!choice.Store(&pd->hDevMode, &pd->hDevNames)) return CommDlgFailure(CDERR_MEMALLOCFAILURE);
    return ReturnDC(pd, choice, nullptr) ? TRUE : CommDlgFailure(PDERR_CREATEICFAILURE);
  }
  DWORD error = 0;
  INT_PTR answer;
  if (setup) {
    answer = RunPrintSetup(pd->hwndOwner, &choice, SetupOptions{pd}, &error);
  } else {
    std::optional<brambolt::DialogTemplate> tmpl = ChooseTemplate(pd, false, &error);
    if (!tmpl) return CommDlgFailure(error);
    PrintDialog dialog(pd, &choice);
    answer = RunObjectDialog(*tmpl, pd->hInstance, pd->hwndOwner, &dialog, &error);
  }
  if (answer < 0) return CommDlgFailure(error);
  if (answer != IDOK) return FALSE;
  // Printing to a file goes to the file port whatever the printer.
  const char* output = !setup && (pd->Flags & PD_PRINTTOFILE) ? brambolt::kFilePort : nullptr;
  if (!choice.Store(&pd->hDevMode, &pd->hDevNames, output)) return CommDlgFailure(CDERR_MEMALLOCFAILURE);
  return ReturnDC(pd, choice, output) ? TRUE : CommDlgFailure(PDERR_CREATEICFAILURE);
}

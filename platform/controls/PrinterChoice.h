// What the print, print-setup and page-setup dialogs share: the printer being chosen with its
// DEVMODE, the caller's DEVMODE/DEVNAMES blocks read and replaced, and the paper, source and
// orientation controls.
#pragma once

#include <string>

#include "controls/PrintDialog.h"

namespace brambolt::ctl {

class PrinterChoice {
 public:
  // The printers the system knows and the one the caller's blocks name (either may be null: the
  // default printer and its defaults then). Returns 0 or the extended error: CDERR_MEMLOCKFAILURE
  // for a dead block, PDERR_INITFAILURE for one that does not hold what it should,
  // PDERR_DNDMMISMATCH when the two name different printers, PDERR_NODEFAULTPRN with no printer.
  DWORD Load(HGLOBAL devMode, HGLOBAL devNames);

  const PrinterList& Printers() const { return printers_; }
  int Index() const { return index_; }
  const PrinterEntry& Printer() const { return printers_.printers[static_cast<size_t>(index_)]; }
  DEVMODE& DevMode() { return devMode_; }
  const DEVMODE& DevMode() const { return devMode_; }
  // Another printer; paper, orientation and the other settings carry over (every printer here
  // offers the same ones).
  void Select(int index);

  // Frees the caller's blocks and puts new ones in their place describing the choice; `output`
  // replaces the printer's port (the print-to-file port). False when memory runs out.
  bool Store(HGLOBAL* devMode, HGLOBAL* devNames, const char* output = nullptr) const;
  // A DC (or information context) for the choice.
  HDC CreateDC(bool informationOnly, const char* output = nullptr) const;

 private:
  PrinterList printers_;
  int index_ = 0;
  DEVMODE devMode_{};
};

// The printer names into a drop-down list, the chosen one selected.
void FillPrinterCombo(HWND combo, const PrinterChoice& choice);
// Paper sizes (cmb2), paper sources (cmb3) and orientation (rad1 portrait, rad2 landscape) of a
// dialog shown from a DEVMODE, and read back into it; controls a template lacks are skipped.
void ShowPaperControls(HWND dialog, const DEVMODE& devMode);
void ReadPaperControls(HWND dialog, DEVMODE* devMode);

// Options of the print-setup dialog when PrintDlg runs it for PD_PRINTSETUP.
struct SetupOptions {
  LPPRINTDLGA pd = nullptr;  // for the hook's WM_INITDIALOG and the template
};
// The print-setup dialog over a choice: printer, paper, source, orientation. IDOK or IDCANCEL
// (the choice changes only on OK), -1 when the dialog cannot be made (*error set).
INT_PTR RunPrintSetup(HWND owner, PrinterChoice* choice, const SetupOptions& options, DWORD* error);

// The dialog's number from an edit: true with a whole number in [low, high]; otherwise a message
// box with `message` over the dialog, the edit focused with its text selected, and false.
bool ReadNumberOrComplain(HWND dialog, int id, int low, int high, const std::string& message, int* value);

}  // namespace brambolt::ctl

// The printer choice of the print dialogs, and the controls they share.
#include "controls/PrinterChoice.h"

#include <cstdlib>
#include <cstring>

#include "base/GlobalMemory.h"

namespace brambolt::ctl {
namespace {

struct Source {
  short bin;
  const char* name;
};
constexpr Source kSources[] = {
    {DMBIN_AUTO, "Automatically Select"}, {DMBIN_UPPER, "Upper Tray"}, {DMBIN_MANUAL, "Manual Feed"}};

void SetDeviceName(DEVMODE* dm, const std::string& name) {
  std::memset(dm->dmDeviceName, 0, sizeof dm->dmDeviceName);
  std::memcpy(dm->dmDeviceName, name.data(), std::min(name.size(), sizeof dm->dmDeviceName - 1));
}

// The block could not be locked at all, or it could and holds nonsense.
DWORD BadBlock(HGLOBAL block) { return GlobalSize(block) == 0 ? CDERR_MEMLOCKFAILURE : PDERR_INITFAILURE; }

// Selects the item whose data is `value`; false when none has it.
bool SelectByData(HWND combo, LPARAM value) {
  int count = static_cast<int>(SendMessage(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (SendMessage(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == value) {
      SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      return true;
    }
  return false;
}

}  // namespace

DWORD PrinterChoice::Load(HGLOBAL devMode, HGLOBAL devNames) {
  printers_ = EnumerateSystemPrinters();
  if (printers_.printers.empty()) return PDERR_NODEFAULTPRN;
  index_ = printers_.defaultIndex;
  std::string name;
  if (devNames) {
    DevNamesContent names;
    if (!ReadDevNamesBlock(devNames, &names)) return BadBlock(devNames);
    name = names.device;
  }
  if (devMode) {
    if (!ReadDevModeBlock(devMode, &devMode_)) return BadBlock(devMode);
    std::string modeName(reinterpret_cast<const char*>(devMode_.dmDeviceName));
    // The DEVMODE holds at most 31 characters of the name.
    if (devNames && name.compare(0, CCHDEVICENAME - 1, modeName) != 0) return PDERR_DNDMMISMATCH;
    if (!devNames) name = modeName;
  }
  // A printer that has gone since the blocks were made gives way to the default one.
  if (!name.empty() && printers_.Find(name) >= 0) index_ = printers_.Find(name);
  if (!devMode) devMode_ = DefaultDevMode(Printer().name);
  SetDeviceName(&devMode_, Printer().name);
  return 0;
}

void PrinterChoice::Select(int index) {
  if (index < 0 || index >= static_cast<int>(printers_.printers.size())) return;
  index_ = index;
  SetDeviceName(&devMode_, Printer().name);
}

bool PrinterChoice::Store(HGLOBAL* devMode, HGLOBAL* devNames, const char* output) const {
  HGLOBAL mode = CreateDevModeBlock(devMode_);
  HGLOBAL names = CreateDevNamesBlock(kPrinterDriver, Printer().name, output ? output : Printer().port,
                                      index_ == printers_.defaultIndex ? DN_DEFAULTPRN : 0);
  if (!mode || !names) {
    if (mode) GlobalFree(mode);
    if (names) GlobalFree(names);
    return false;
  }
  if (*devMode) GlobalFree(*devMode);
  if (*devNames) GlobalFree(*devNames);
  *devMode = mode;
  *devNames = names;
  return true;
}

HDC PrinterChoice::CreateDC(bool informationOnly, const char* output) const {
  const char* port = output ? output : Printer().port.c_str();
  return informationOnly ? CreateIC(kPrinterDriver, Printer().name.c_str(), port, &devMode_)
                         : ::CreateDC(kPrinterDriver, Printer().name.c_str(), port, &devMode_);
}

void FillPrinterCombo(HWND combo, const PrinterChoice& choice) {
  if (!combo) return;
  SendMessage(combo, CB_RESETCONTENT, 0, 0);
  for (const PrinterEntry& p : choice.Printers().printers)
    SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.name.c_str()));
  SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(choice.Index()), 0);
}

void ShowPaperControls(HWND dialog, const DEVMODE& dm) {
  if (HWND papers = GetDlgItem(dialog, cmb2)) {
    SendMessage(papers, CB_RESETCONTENT, 0, 0);
    for (const PaperSize& p : PaperSizes()) {
      auto at = static_cast<WPARAM>(SendMessage(papers, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.name)));
      SendMessage(papers, CB_SETITEMDATA, at, p.id);
    }
    if (!(dm.dmFields & DM_PAPERSIZE) || !SelectByData(papers, dm.dmPaperSize)) SelectByData(papers, DMPAPER_LETTER);
  }
  if (HWND sources = GetDlgItem(dialog, cmb3)) {
    SendMessage(sources, CB_RESETCONTENT, 0, 0);
    for (const Source& s : kSources) {
      auto at = static_cast<WPARAM>(SendMessage(sources, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.name)));
      SendMessage(sources, CB_SETITEMDATA, at, s.bin);
    }
    if (!SelectByData(sources, dm.dmDefaultSource)) SendMessage(sources, CB_SETCURSEL, 0, 0);
  }
  bool landscape = (dm.dmFields & DM_ORIENTATION) && dm.dmOrientation == DMORIENT_LANDSCAPE;
  CheckRadioButton(dialog, rad1, rad2, landscape ? rad2 : rad1);
}

void ReadPaperControls(HWND dialog, DEVMODE* dm) {
  if (HWND papers = GetDlgItem(dialog, cmb2)) {
    LRESULT at = SendMessage(papers, CB_GETCURSEL, 0, 0);
    const PaperSize* paper =
        at >= 0 ? FindPaperSize(static_cast<int>(SendMessage(papers, CB_GETITEMDATA, at, 0))) : nullptr;
    if (paper) {
      // A standard paper is its number; dimensions flagged by an earlier caller would override it.
      dm->dmFields = (dm->dmFields | DM_PAPERSIZE | DM_FORMNAME) & ~static_cast<DWORD>(DM_PAPERWIDTH | DM_PAPERLENGTH);
      dm->dmPaperSize = paper->id;
      dm->dmPaperWidth = paper->width;
      dm->dmPaperLength = paper->length;
      std::memset(dm->dmFormName, 0, sizeof dm->dmFormName);
      std::strncpy(reinterpret_cast<char*>(dm->dmFormName), paper->name, CCHFORMNAME - 1);
    }
  }
  if (HWND sources = GetDlgItem(dialog, cmb3)) {
    LRESULT at = SendMessage(sources, CB_GETCURSEL, 0, 0);
    if (at >= 0) {
      dm->dmFields |= DM_DEFAULTSOURCE;
      dm->dmDefaultSource = static_cast<short>(SendMessage(sources, CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
    }
  }
  if (GetDlgItem(dialog, rad1) && GetDlgItem(dialog, rad2)) {
    dm->dmFields |= DM_ORIENTATION;
    dm->dmOrientation = IsDlgButtonChecked(dialog, rad2) == BST_CHECKED ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  }
}

bool ReadNumberOrComplain(HWND dialog, int id, int low, int high, const std::string& message, int* value) {
  char text[32] = {};
  GetDlgItemText(dialog, id, text, sizeof text);
  char* end = nullptr;
  long number = std::strtol(text, &end, 10);
  while (end && *end == ' ') ++end;
  if (end != text && end && *end == 0 && number >= low && number <= high) {
    *value = static_cast<int>(number);
    return true;
  }
  char caption[64] = {};
  GetWindowText(dialog, caption, sizeof caption);
  MessageBox(dialog, message.c_str(), caption, MB_OK | MB_ICONEXCLAMATION);
  HWND edit = GetDlgItem(dialog, id);
  SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  SendMessage(edit, EM_SETSEL, 0, -1);
  return false;
}

}  // namespace brambolt::ctl

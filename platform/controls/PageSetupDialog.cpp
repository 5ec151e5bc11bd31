// The page-setup dialog over a PrinterChoice: paper, source, orientation, margins checked against
// the printable area and the paper, a sample page, the printer through the print-setup dialog.
#include "controls/PageSetupDialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "controls/CommonDialogSupport.h"
#include "controls/PrinterChoice.h"
#include "os/Locale.h"

namespace brambolt::ctl {
namespace {

// Orientation and printer-type bits of WM_PSD_PAGESETUPDLG for a laser printer's paper.
constexpr WORD kPaperPortrait = 0x0007, kPaperLandscape = 0x0003;

// Margins and paper in the dialog's units: thousandths of an inch or hundredths of a millimetre.
class Units {
 public:
  explicit Units(bool inches) : inches_(inches) {}
  bool Inches() const { return inches_; }
  int FromTenthsOfMm(int tenths) const { return inches_ ? MulDiv(tenths, 1000, 254) : tenths * 10; }
  // The printer cannot reach the outer quarter inch.
  int PrinterMinimum() const { return inches_ ? 250 : 635; }
  int DefaultMargin() const { return inches_ ? 1000 : 2540; }
  std::string Format(int value) const {
    char text[32];
    std::snprintf(text, sizeof text, inches_ ? "%.3f" : "%.2f", value / (inches_ ? 1000.0 : 100.0));
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
  }
  bool Parse(const char* text, int* value) const {
    char* end = nullptr;
    double number = std::strtod(text, &end);
    while (end && *end == ' ') ++end;
    if (end == text || !end || *end || !(number >= 0) || number > 1000) return false;
    *value = static_cast<int>(std::lround(number * (inches_ ? 1000 : 100)));
    return true;
  }

 private:
  bool inches_;
};

Units UnitsOf(DWORD flags) {
  if (flags & PSD_INTHOUSANDTHSOFINCHES) return Units(true);
  if (flags & PSD_INHUNDREDTHSOFMILLIMETERS) return Units(false);
  char measure[4] = {};
  GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, sizeof measure);
  return Units(measure[0] != '0');
}

POINT PaperSizeIn(const DEVMODE& dm, const Units& units) {
  SIZE paper = DevModePaperSize(dm);
  return POINT{units.FromTenthsOfMm(paper.cx), units.FromTenthsOfMm(paper.cy)};
}

constexpr int kMarginEdits[4] = {edt4, edt5, edt6, edt7};  // left, top, right, bottom

class PageSetupDialog {
 public:
  PageSetupDialog(PAGESETUPDLGA* psd, PrinterChoice* choice, Units units, RECT margins, RECT minimum)
      : psd_(psd), choice_(choice), units_(units), margins_(margins), minimum_(minimum) {}
  INT_PTR Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  RECT Margins() const { return margins_; }

 private:
  LPPAGESETUPHOOK Hook() const { return (psd_->Flags & PSD_ENABLEPAGESETUPHOOK) ? psd_->lpfnPageSetupHook : nullptr; }
  void Init();
  void ShowMargins();
  bool ReadMargins(RECT* margins) const;
  bool Finish();
  void PaintSample(HDC hdc, RECT area);
  void Changed() { InvalidateRect(GetDlgItem(hwnd_, rct1), nullptr, TRUE); }

  PAGESETUPDLGA* psd_;
  PrinterChoice* choice_;
  Units units_;
  RECT margins_, minimum_;
  HWND hwnd_ = nullptr;
  bool filling_ = false;
};

void PageSetupDialog::Init() {
  filling_ = true;
  ShowPaperControls(hwnd_, choice_->DevMode());
  ShowMargins();
  SetDlgItemText(hwnd_, grp4, units_.Inches() ? "Margins (inches)" : "Margins (millimeters)");
  const DWORD flags = psd_->Flags;
  auto enable = [&](std::initializer_list<int> ids, bool on) {
    for (int id : ids) EnableWindow(GetDlgItem(hwnd_, id), on);
  };
  enable({edt4, edt5, edt6, edt7}, !(flags & PSD_DISABLEMARGINS));
  enable({rad1, rad2}, !(flags & PSD_DISABLEORIENTATION));
  enable({cmb2, cmb3}, !(flags & PSD_DISABLEPAPER));
  enable({psh3}, !(flags & PSD_DISABLEPRINTER));
  if (!(flags & PSD_SHOWHELP)) ShowWindow(GetDlgItem(hwnd_, pshHelp), SW_HIDE);
  // The sample is ours to paint, whatever static the template made of it.
  if (HWND sample = GetDlgItem(hwnd_, rct1)) {
    LONG style = GetWindowLong(sample, GWL_STYLE);
    SetWindowLong(sample, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_OWNERDRAW);
  }
  filling_ = false;
}

void PageSetupDialog::ShowMargins() {
  const LONG values[4] = {margins_.left, margins_.top, margins_.right, margins_.bottom};
  for (int i = 0; i < 4; ++i) SetDlgItemText(hwnd_, kMarginEdits[i], units_.Format(values[i]).c_str());
}

bool PageSetupDialog::ReadMargins(RECT* margins) const {
  LONG* values[4] = {&margins->left, &margins->top, &margins->right, &margins->bottom};
  for (int i = 0; i < 4; ++i) {
    if (!GetDlgItem(hwnd_, kMarginEdits[i])) continue;
    char text[32] = {};
    GetDlgItemText(hwnd_, kMarginEdits[i], text, sizeof text);
    int value = 0;
    if (!units_.Parse(text, &value)) return false;
    *values[i] = value;
  }
  return true;
}

bool PageSetupDialog::Finish() {
  RECT margins = margins_;
  POINT paper = PaperSizeIn(choice_->DevMode(), units_);
  const char* problem = nullptr;
  if (!ReadMargins(&margins))
    problem = "Enter each margin as a number.";
  else if (margins.left < minimum_.left || margins.top < minimum_.top || margins.right < minimum_.right ||
           margins.bottom < minimum_.bottom)
    problem = "One or more margins are set outside the printable area of the page.\nEnter larger margins.";
  else if (margins.left + margins.right >= paper.x || margins.top + margins.bottom >= paper.y)
    problem = "The margins overlap or lie outside the paper.\nEnter smaller margins.";
  if (problem) {
    MessageBox(hwnd_, problem, "Page Setup", MB_OK | MB_ICONEXCLAMATION);
    SendMessage(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd_, edt4)), TRUE);
    return false;
  }
  margins_ = margins;
  return true;
}

void PageSetupDialog::PaintSample(HDC hdc, RECT area) {
  FillRect(hdc, &area, GetSysColorBrush(COLOR_3DFACE));
  if (psd_->Flags & PSD_DISABLEPAGEPAINTING) return;
  const DEVMODE& dm = choice_->DevMode();
  POINT paper = PaperSizeIn(dm, units_);
  RECT margins = margins_;
  ReadMargins(&margins);  // what is typed so far, where it reads
  // The page, scaled to fit the area with room for its shadow, centred.
  int roomX = area.right - area.left - 8, roomY = area.bottom - area.top - 8;
  int w = roomX, h = MulDiv(roomX, paper.y, paper.x);
  if (h > roomY) {
    h = roomY;
    w = MulDiv(roomY, paper.x, paper.y);
  }
  RECT page{area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2, 0, 0};
  page.right = page.left + w;
  page.bottom = page.top + h;
  auto inset = [&](const RECT& m) {
    return RECT{page.left + MulDiv(m.left, w, paper.x), page.top + MulDiv(m.top, h, paper.y),
                page.right - MulDiv(m.right, w, paper.x), page.bottom - MulDiv(m.bottom, h, paper.y)};
  };
  LPPAGEPAINTHOOK hook = (psd_->Flags & PSD_ENABLEPAGEPAINTHOOK) ? psd_->lpfnPagePaintHook : nullptr;
  auto hookDraws = [&](UINT msg, RECT* r) {
    return hook && hook(hwnd_, msg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(r)) != 0;
  };
  bool landscape = (dm.dmFields & DM_ORIENTATION) && dm.dmOrientation == DMORIENT_LANDSCAPE;
  if (hook && hook(hwnd_, WM_PSD_PAGESETUPDLG, MAKEWPARAM(dm.dmPaperSize, landscape ? kPaperLandscape : kPaperPortrait),
                   reinterpret_cast<LPARAM>(psd_)))
    return;
  RECT full = page;
  if (!hookDraws(WM_PSD_FULLPAGERECT, &full)) {
    RECT shadow = page;
    OffsetRect(&shadow, 3, 3);
    FillRect(hdc, &shadow, GetSysColorBrush(COLOR_3DSHADOW));
    FillRect(hdc, &page, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(hdc, &page, GetSysColorBrush(COLOR_WINDOWTEXT));
  }
  RECT minimum = inset(minimum_);
  hookDraws(WM_PSD_MINMARGINRECT, &minimum);  // nothing of ours to draw there
  RECT margin = inset(margins);
  if (!hookDraws(WM_PSD_MARGINRECT, &margin) && margin.right > margin.left && margin.bottom > margin.top) {
    HPEN dotted = CreatePen(PS_DOT, 1, GetSysColor(COLOR_3DSHADOW));
    HGDIOBJ oldPen = SelectObject(hdc, dotted);
    HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Rectangle(hdc, margin.left, margin.top, margin.right, margin.bottom);
    SelectObject(hdc, oldBrush);
    DeleteObject(SelectObject(hdc, oldPen));
  }
  RECT text = margin;
  InflateRect(&text, -1, -1);
  if (!hookDraws(WM_PSD_GREEKTEXTRECT, &text)) {
    // Lines of "text": grey bars two pixels high, every fourth a short one ending a paragraph.
    HBRUSH grey = GetSysColorBrush(COLOR_3DSHADOW);
    int line = 0;
    for (int y = text.top + 1; y + 2 <= text.bottom; y += 4, ++line) {
      RECT bar{text.left + 1, y, line % 4 == 3 ? text.left + (text.right - text.left) / 2 : text.right - 1, y + 2};
      if (bar.right > bar.left) FillRect(hdc, &bar, grey);
    }
  }
}

INT_PTR PageSetupDialog::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = 0;
  if (msg == WM_INITDIALOG) {
    hwnd_ = hwnd;
    Init();
    // The hook's answer decides the focus, as the dialog procedure's would.
    if (!Hook()) return TRUE;
    CallDialogHook(Hook(), hwnd, msg, wParam, reinterpret_cast<LPARAM>(psd_), &result);
    return result;
  }
  if (hwnd_ && CallDialogHook(Hook(), hwnd, msg, wParam, lParam, &result)) return result;
  if (msg == WM_DRAWITEM && wParam == rct1) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    PaintSample(item->hDC, item->rcItem);
    return TRUE;
  }
  if (msg != WM_COMMAND || filling_) return FALSE;
  int id = LOWORD(wParam), code = HIWORD(wParam);
  if (((id == cmb2 || id == cmb3) && code == CBN_SELCHANGE) || ((id == rad1 || id == rad2) && code == BN_CLICKED)) {
    if (id == rad1 || id == rad2) CheckRadioButton(hwnd, rad1, rad2, id);
    ReadPaperControls(hwnd, &choice_->DevMode());
    Changed();
  } else if (id >= edt4 && id <= edt7 && code == EN_CHANGE) {
    Changed();
  } else if (id == psh3 && code == BN_CLICKED) {
    DWORD error = 0;
    if (RunPrintSetup(hwnd, choice_, SetupOptions{}, &error) == IDOK) {
      filling_ = true;
      ShowPaperControls(hwnd, choice_->DevMode());
      filling_ = false;
      Changed();
    }
  } else if (id == IDOK) {
    if (Finish()) EndDialog(hwnd, IDOK);
  } else if (id == IDCANCEL) {
    EndDialog(hwnd, IDCANCEL);
  } else {
    return FALSE;
  }
  return TRUE;
}

DialogTemplate PageSetupTemplate() {
  DialogTemplate t = CommonDialogFrame("Page Setup", 260, 218);
  DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
  DWORD edit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
  t.items = {
      DialogItem("Static", "", SS_OWNERDRAW, 80, 4, 100, 86, rct1),
      DialogItem("Button", "Paper", BS_GROUPBOX, 6, 94, 248, 46, grp2),
      DialogItem("Static", "Si&ze:", SS_LEFT, 12, 108, 34, 9, -1),
      DialogItem("ComboBox", "", list, 48, 106, 200, 80, cmb2),
      DialogItem("Static", "&Source:", SS_LEFT, 12, 124, 34, 9, -1),
      DialogItem("ComboBox", "", list, 48, 122, 200, 60, cmb3),
      DialogItem("Button", "Orientation", BS_GROUPBOX, 6, 144, 70, 46, grp1),
      DialogItem("Button", "P&ortrait", BS_RADIOBUTTON | WS_GROUP | WS_TABSTOP, 12, 158, 58, 10, rad1),
      DialogItem("Button", "L&andscape", BS_RADIOBUTTON, 12, 174, 58, 10, rad2),
      DialogItem("Button", "Margins", BS_GROUPBOX, 82, 144, 172, 46, grp4),
      DialogItem("Static", "&Left:", SS_LEFT, 88, 158, 24, 9, -1),
      DialogItem("Edit", "", edit | WS_GROUP, 114, 156, 36, 12, edt4),
      DialogItem("Static", "&Right:", SS_LEFT, 164, 158, 26, 9, -1),
      DialogItem("Edit", "", edit, 192, 156, 36, 12, edt6),
      DialogItem("Static", "&Top:", SS_LEFT, 88, 174, 24, 9, -1),
      DialogItem("Edit", "", edit, 114, 172, 36, 12, edt5),
      DialogItem("Static", "&Bottom:", SS_LEFT, 164, 174, 26, 9, -1),
      DialogItem("Edit", "", edit, 192, 172, 36, 12, edt7),
      DialogItem("Button", "&Help", WS_TABSTOP | WS_GROUP, 6, 198, 44, 14, pshHelp),
      DialogItem("Button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 198, 44, 14, IDOK),
      DialogItem("Button", "Cancel", WS_TABSTOP, 160, 198, 44, 14, IDCANCEL),
      DialogItem("Button", "&Printer...", WS_TABSTOP, 210, 198, 44, 14, psh3),
  };
  return t;
}

}  // namespace
}  // namespace brambolt::ctl

BOOL PageSetupDlg(LPPAGESETUPDLGA psd) {
  using namespace brambolt::ctl;
  SetCommDlgError(0);
  if (psd == nullptr || psd->lStructSize != sizeof(PAGESETUPDLGA)) return CommDlgFailure(CDERR_STRUCTSIZE);
  if ((psd->Flags & PSD_RETURNDEFAULT) && (psd->hDevMode || psd->hDevNames)) return CommDlgFailure(PDERR_RETDEFFAILURE);
  if ((psd->Flags & (PSD_INTHOUSANDTHSOFINCHES | PSD_INHUNDREDTHSOFMILLIMETERS)) ==
      (PSD_INTHOUSANDTHSOFINCHES | PSD_INHUNDREDTHSOFMILLIMETERS))
    return CommDlgFailure(CDERR_INITIALIZATION);
  if ((psd->Flags & PSD_ENABLEPAGESETUPHOOK) && !psd->lpfnPageSetupHook) return CommDlgFailure(CDERR_NOHOOK);
  if ((psd->Flags & PSD_ENABLEPAGEPAINTHOOK) && !psd->lpfnPagePaintHook) return CommDlgFailure(CDERR_NOHOOK);
  Units units = UnitsOf(psd->Flags);
  psd->Flags |= units.Inches() ? PSD_INTHOUSANDTHSOFINCHES : PSD_INHUNDREDTHSOFMILLIMETERS;
  PrinterChoice choice;
  if (DWORD error = choice.Load(psd->hDevMode, psd->hDevNames)) return CommDlgFailure(error);

  int least = units.PrinterMinimum(), initial = units.DefaultMargin();
  RECT minimum = (psd->Flags & PSD_MINMARGINS) ? psd->rtMinMargin : RECT{least, least, least, least};
  RECT margins = (psd->Flags & PSD_MARGINS) ? psd->rtMargin : RECT{initial, initial, initial, initial};
  if (!(psd->Flags & PSD_RETURNDEFAULT)) {
    // Margins the page cannot have (the framework asks with zeros) start at the least it can.
    margins = RECT{std::max(margins.left, minimum.left), std::max(margins.top, minimum.top),
                   std::max(margins.right, minimum.right), std::max(margins.bottom, minimum.bottom)};
    DWORD error = 0;
    std::optional<brambolt::DialogTemplate> tmpl =
        ChooseDialogTemplate(psd->Flags & PSD_ENABLEPAGESETUPTEMPLATEHANDLE, psd->hPageSetupTemplate,
                             psd->Flags & PSD_ENABLEPAGESETUPTEMPLATE, psd->hInstance, psd->lpPageSetupTemplateName,
                             PageSetupTemplate, &error);
    if (!tmpl) return CommDlgFailure(error);
    PageSetupDialog dialog(psd, &choice, units, margins, minimum);
    INT_PTR answer = RunObjectDialog(*tmpl, psd->hInstance, psd->hwndOwner, &dialog, &error);
    if (answer < 0) return CommDlgFailure(error);
    if (answer != IDOK) return FALSE;
    psd->rtMargin = dialog.Margins();
  }
  if (!choice.Store(&psd->hDevMode, &psd->hDevNames)) return CommDlgFailure(CDERR_MEMALLOCFAILURE);
  psd->ptPaperSize = PaperSizeIn(choice.DevMode(), units);
  return TRUE;
}

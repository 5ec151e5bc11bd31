// The colour dialog: 48 basic and 16 custom colour cells painted by the dialog itself, a sample
// of the current colour, and (full open) its red, green, blue, hue, saturation and luminosity in
// edits that follow one another; "Add to Custom Colors" fills the custom cells in turn.
#include "controls/ColorDialog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/CommonDialogSupport.h"
#include "controls/ControlSupport.h"
#include "controls/FileDialog.h"
#include "res/Resources.h"

namespace brambolt::ctl {
namespace {

constexpr COLORREF kBasic[48] = {
    RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(0, 255, 128),   RGB(128, 255, 255),
    RGB(0, 128, 255),   RGB(255, 128, 192), RGB(255, 128, 255), RGB(255, 0, 0),     RGB(255, 255, 0),
    RGB(128, 255, 0),   RGB(0, 255, 64),    RGB(0, 255, 255),   RGB(0, 128, 192),   RGB(128, 128, 192),
    RGB(255, 0, 255),   RGB(128, 64, 64),   RGB(255, 128, 64),  RGB(0, 255, 0),     RGB(0, 128, 128),
    RGB(0, 64, 128),    RGB(128, 128, 255), RGB(128, 0, 64),    RGB(255, 0, 128),   RGB(128, 0, 0),
    RGB(255, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 64),    RGB(0, 0, 255),     RGB(0, 0, 160),
    RGB(128, 0, 128),   RGB(128, 0, 255),   RGB(64, 0, 0),      RGB(128, 64, 0),    RGB(0, 64, 0),
    RGB(0, 64, 64),     RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(64, 0, 64),     RGB(64, 0, 128),
    RGB(0, 0, 0),       RGB(128, 128, 0),   RGB(128, 128, 64),  RGB(128, 128, 128), RGB(64, 128, 128),
    RGB(192, 192, 192), RGB(64, 0, 64),     RGB(255, 255, 255)};

// Cell layout in dialog units: 8 columns of 14 x 11, basic rows from y 14, custom rows from y 100.
constexpr int kCellX = 6, kCellW = 14, kCellH = 11, kBasicY = 14, kCustomY = 100;
constexpr short kNarrow = 140, kWide = 300;

class ColourDialog {
 public:
  explicit ColourDialog(CHOOSECOLORA* cc) : cc_(cc) {}
  INT_PTR Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  RECT Cell(bool custom, int index) const;
  void SetCurrent(COLORREF colour, int except);
  void Paint(HDC hdc);
  void FullOpen();
  void Click(POINT p);
  void EditChanged(int id);

  CHOOSECOLORA* cc_;
  HWND hwnd_ = nullptr;
  COLORREF current_ = 0;
  int nextCustom_ = 0;
  bool updating_ = false;
  bool full_ = false;
};

RECT ColourDialog::Cell(bool custom, int index) const {
  RECT r{kCellX + (index % 8) * (kCellW + 2), (custom ? kCustomY : kBasicY) + (index / 8) * (kCellH + 2), 0, 0};
  r.right = r.left + kCellW;
  r.bottom = r.top + kCellH;
  MapDialogRect(hwnd_, &r);
  return r;
}

void ColourDialog::SetCurrent(COLORREF colour, int except) {
  current_ = colour & 0xFFFFFF;
  updating_ = true;
  int h, l, s;
  RgbToHls(current_, &h, &l, &s);
  const std::pair<int, int> values[] = {{COLOR_RED, GetRValue(current_)}, {COLOR_GREEN, GetGValue(current_)},
                                        {COLOR_BLUE, GetBValue(current_)}, {COLOR_HUE, h},
                                        {COLOR_SAT, s},                     {COLOR_LUM, l}};
  for (auto [id, value] : values)
    if (id != except) SetDlgItemInt(hwnd_, id, static_cast<UINT>(value), FALSE);
  updating_ = false;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ColourDialog::Paint(HDC hdc) {
  auto fill = [&](RECT r, COLORREF c, bool chosen) {
    DrawEdge(hdc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    HBRUSH b = CreateSolidBrush(c);
    FillRect(hdc, &r, b);
    DeleteObject(b);
    if (chosen) {
      InflateRect(&r, 3, 3);
      DrawFocusRect(hdc, &r);
    }
  };
  for (int i = 0; i < 48; ++i) fill(Cell(false, i), kBasic[i], kBasic[i] == current_);
  for (int i = 0; i < 16; ++i) fill(Cell(true, i), cc_->lpCustColors[i] & 0xFFFFFF, false);
  if (full_) {
    RECT sample;
    GetWindowRect(GetDlgItem(hwnd_, COLOR_CURRENT), &sample);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&sample), 2);
    fill(sample, current_, false);
  }
}

void ColourDialog::FullOpen() {
  full_ = true;
  RECT wide{0, 0, kWide, 0};
  MapDialogRect(hwnd_, &wide);
  RECT window, client;
  GetWindowRect(hwnd_, &window);
  GetClientRect(hwnd_, &client);
  int frame = (window.right - window.left) - client.right;
  SetWindowPos(hwnd_, nullptr, 0, 0, wide.right + frame, window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
  // Everything right of the narrow part belongs to the full-open part.
  RECT narrow{0, 0, kNarrow, 0};
  MapDialogRect(hwnd_, &narrow);
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    if (r.left >= narrow.right) ShowWindow(child, SW_SHOW);
  }
  EnableWindow(GetDlgItem(hwnd_, COLOR_MIX), FALSE);
}

void ColourDialog::Click(POINT p) {
  for (int i = 0; i < 48; ++i) {
    RECT r = Cell(false, i);
    if (PtInRect(&r, p)) return SetCurrent(kBasic[i], 0);
  }
  for (int i = 0; i < 16; ++i) {
    RECT r = Cell(true, i);
    if (PtInRect(&r, p)) {
      nextCustom_ = i;
      return SetCurrent(cc_->lpCustColors[i], 0);
    }
  }
}

void ColourDialog::EditChanged(int id) {
  if (updating_) return;
  BOOL ok = FALSE;
  int value = static_cast<int>(GetDlgItemInt(hwnd_, id, &ok, FALSE));
  if (!ok) return;
  bool rgb = id == COLOR_RED || id == COLOR_GREEN || id == COLOR_BLUE;
  value = std::clamp(value, 0, rgb ? 255 : 240);
  if (rgb) {
    int r = id == COLOR_RED ? value : GetRValue(current_), g = id == COLOR_GREEN ? value : GetGValue(current_);
    int b = id == COLOR_BLUE ? value : GetBValue(current_);
    SetCurrent(RGB(r, g, b), id);
  } else {
    auto read = [&](int which) { return static_cast<int>(GetDlgItemInt(hwnd_, which, nullptr, FALSE)); };
    int h = id == COLOR_HUE ? value : read(COLOR_HUE), s = id == COLOR_SAT ? value : read(COLOR_SAT);
    int l = id == COLOR_LUM ? value : read(COLOR_LUM);
    SetCurrent(HlsToRgb(h, l, s), id);
  }
}

INT_PTR ColourDialog::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    hwnd_ = hwnd;
    SetCurrent((cc_->Flags & CC_RGBINIT) ? cc_->rgbResult : 0, 0);
    if (cc_->Flags & CC_PREVENTFULLOPEN) EnableWindow(GetDlgItem(hwnd, COLOR_MIX), FALSE);
    if (!(cc_->Flags & CC_SHOWHELP)) ShowWindow(GetDlgItem(hwnd, pshHelp), SW_HIDE);
    if ((cc_->Flags & CC_FULLOPEN) && !(cc_->Flags & CC_PREVENTFULLOPEN)) FullOpen();
    if ((cc_->Flags & CC_ENABLEHOOK) && cc_->lpfnHook)
      return static_cast<INT_PTR>(cc_->lpfnHook(hwnd, msg, wParam, reinterpret_cast<LPARAM>(cc_)));
    return TRUE;
  }
  if (hwnd_ && (cc_->Flags & CC_ENABLEHOOK) && cc_->lpfnHook) {
    if (INT_PTR r = static_cast<INT_PTR>(cc_->lpfnHook(hwnd, msg, wParam, lParam))) return r;
  }
  if (msg == RegisterWindowMessage(SETRGBSTRING)) {
    SetCurrent(static_cast<COLORREF>(lParam) & 0xFFFFFF, 0);
    return TRUE;
  }
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      Paint(hdc);
      EndPaint(hwnd, &ps);
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      Click(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return TRUE;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (HIWORD(wParam) == EN_CHANGE && id >= COLOR_HUE && id <= COLOR_BLUE) {
        EditChanged(id);
        return TRUE;
      }
      if (id == COLOR_MIX) FullOpen();
      if (id == COLOR_ADD) {
        cc_->lpCustColors[nextCustom_] = current_;
        nextCustom_ = (nextCustom_ + 1) % 16;
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      if (id == IDOK) {
        COLORREF before = cc_->rgbResult;
        cc_->rgbResult = current_;
        bool refused = (cc_->Flags & CC_ENABLEHOOK) && cc_->lpfnHook &&
                       cc_->lpfnHook(hwnd, RegisterWindowMessage(COLOROKSTRING), 0, reinterpret_cast<LPARAM>(cc_)) != 0;
        if (refused)
          cc_->rgbResult = before;
        else
          EndDialog(hwnd, IDOK);
      }
      if (id == IDCANCEL) EndDialog(hwnd, IDCANCEL);
      return TRUE;
    }
  }
  return FALSE;
}

DialogTemplate ColourTemplate() {
  DialogTemplate t = CommonDialogFrame("Color", kNarrow, 160);
  DWORD edit = WS_BORDER | WS_TABSTOP | ES_NUMBER;
  auto hidden = [](DialogItemTemplate item) {
    item.style &= ~static_cast<DWORD>(WS_VISIBLE);
    return item;
  };
  t.items = {
      DialogItem("Static", "&Basic colors:", SS_LEFT, 6, 4, 120, 9, -1),
      DialogItem("Static", "&Custom colors:", SS_LEFT, 6, 90, 120, 9, -1),
      DialogItem("Button", "&Define Custom Colors >>", WS_TABSTOP, 6, 128, 128, 14, COLOR_MIX),
      DialogItem("Button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 6, 144, 40, 14, IDOK),
      DialogItem("Button", "Cancel", WS_TABSTOP, 50, 144, 40, 14, IDCANCEL),
      DialogItem("Button", "&Help", WS_TABSTOP, 94, 144, 40, 14, pshHelp),
      hidden(DialogItem("Static", "", SS_LEFT, 150, 14, 60, 40, COLOR_CURRENT)),
      hidden(DialogItem("Static", "Hu&e:", SS_RIGHT, 150, 64, 24, 9, -1)),
      hidden(DialogItem("Edit", "", edit, 176, 62, 22, 12, COLOR_HUE)),
      hidden(DialogItem("Static", "&Sat:", SS_RIGHT, 150, 80, 24, 9, -1)),
      hidden(DialogItem("Edit", "", edit, 176, 78, 22, 12, COLOR_SAT)),
      hidden(DialogItem("Static", "&Lum:", SS_RIGHT, 150, 96, 24, 9, -1)),
      hidden(DialogItem("Edit", "", edit, 176, 94, 22, 12, COLOR_LUM)),
      hidden(DialogItem("Static", "&Red:", SS_RIGHT, 214, 64, 30, 9, -1)),
      hidden(DialogItem("Edit", "", edit, 246, 62, 22, 12, COLOR_RED)),
      hidden(DialogItem("Static", "&Green:", SS_RIGHT, 214, 80, 30, 9, -1)),
      hidden(DialogItem("Edit", "", edit, 246, 78, 22, 12, COLOR_GREEN)),
      hidden(DialogItem("Static", "Bl&ue:", SS_RIGHT, 214, 96, 30, 9, -1)),
      hidden(DialogItem("Edit", "", edit, 246, 94, 22, 12, COLOR_BLUE)),
      hidden(DialogItem("Button", "&Add to Custom Colors", WS_TABSTOP, 150, 128, 142, 14, COLOR_ADD)),
  };
  return t;
}

}  // namespace

const COLORREF* BasicColours() { return kBasic; }

void RgbToHls(COLORREF rgb, int* hue, int* lum, int* sat) {
  int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
  int maxc = std::max({r, g, b}), minc = std::min({r, g, b});
  *lum = ((maxc + minc) * 240 + 255) / 510;
  if (maxc == minc) {
    *sat = 0;
    *hue = 160;  // undefined for greys; the dialog shows 160
    return;
  }
  int delta = maxc - minc;
  *sat = (maxc + minc <= 255) ? (delta * 240 + (maxc + minc) / 2) / (maxc + minc)
                              : (delta * 240 + (510 - maxc - minc) / 2) / (510 - maxc - minc);
  double h;
  if (r == maxc) h = static_cast<double>(g - b) / delta;
  else if (g == maxc) h = 2.0 + static_cast<double>(b - r) / delta;
  else h = 4.0 + static_cast<double>(r - g) / delta;
  int value = static_cast<int>(std::lround(h * 40.0));
  *hue = ((value % 240) + 240) % 240;
}

COLORREF HlsToRgb(int hue, int lum, int sat) {
  if (sat == 0) {
    int v = (lum * 255 + 120) / 240;
    return RGB(v, v, v);
  }
  double l = lum / 240.0, s = sat / 240.0;
  double q = l <= 0.5 ? l * (1 + s) : l + s - l * s, p = 2 * l - q;
  auto channel = [&](double t) {
    t -= std::floor(t);
    double v = t < 1.0 / 6 ? p + (q - p) * 6 * t : t < 0.5 ? q : t < 2.0 / 3 ? p + (q - p) * (2.0 / 3 - t) * 6 : p;
    return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
  };
  double h = hue / 240.0;
  return RGB(channel(h + 1.0 / 3), channel(h), channel(h - 1.0 / 3));
}

}  // namespace brambolt::ctl

BOOL ChooseColor(LPCHOOSECOLORA cc) {
  using namespace brambolt::ctl;
  SetCommDlgError(0);
  if (cc == nullptr || cc->lStructSize != sizeof(CHOOSECOLORA)) {
    SetCommDlgError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  if (cc->lpCustColors == nullptr) {
    SetCommDlgError(CDERR_INITIALIZATION);
    return FALSE;
  }
  if ((cc->Flags & CC_ENABLEHOOK) && cc->lpfnHook == nullptr) {
    SetCommDlgError(CDERR_NOHOOK);
    return FALSE;
  }
  std::optional<brambolt::DialogTemplate> tmpl = ColourTemplate();
  if (cc->Flags & CC_ENABLETEMPLATE) {
    DWORD error = 0;
    tmpl = CallerTemplate(reinterpret_cast<HINSTANCE>(cc->hInstance), cc->lpTemplateName, nullptr, &error);
    if (!tmpl) {
      SetCommDlgError(error);
      return FALSE;
    }
  }
  ColourDialog dialog(cc);
  HWND hwnd = brambolt::CreateDialogFromTemplate(nullptr, *tmpl, cc->hwndOwner, ObjectDialogProc<ColourDialog>,
                                                 reinterpret_cast<LPARAM>(&dialog));
  if (hwnd == nullptr) {
    SetCommDlgError(CDERR_DIALOGFAILURE);
    return FALSE;
  }
  return brambolt::RunModalDialog(hwnd, cc->hwndOwner) == IDOK;
}

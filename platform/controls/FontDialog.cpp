// The font dialog: faces from EnumFontFamilies (only fixed-pitch ones when asked), the four
// styles, the usual sizes within the allowed range, strikeout, underline and colour with effects,
// and a sample; OK fills the caller's LOGFONT, point size, colour and font type.
#include "controls/FontDialog.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <vector>

#include "controls/CommonDialogSupport.h"
#include "controls/ControlSupport.h"
#include "controls/FileDialog.h"

namespace brambolt::ctl {
namespace {

constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const char* const kStyles[] = {"Regular", "Italic", "Bold", "Bold Italic"};
struct NamedColour {
  const char* name;
  COLORREF colour;
};
constexpr NamedColour kColours[] = {
    {"Black", RGB(0, 0, 0)},       {"Maroon", RGB(128, 0, 0)},   {"Green", RGB(0, 128, 0)},
    {"Olive", RGB(128, 128, 0)},   {"Navy", RGB(0, 0, 128)},     {"Purple", RGB(128, 0, 128)},
    {"Teal", RGB(0, 128, 128)},    {"Gray", RGB(128, 128, 128)}, {"Silver", RGB(192, 192, 192)},
    {"Red", RGB(255, 0, 0)},       {"Lime", RGB(0, 255, 0)},     {"Yellow", RGB(255, 255, 0)},
    {"Blue", RGB(0, 0, 255)},      {"Fuchsia", RGB(255, 0, 255)}, {"Aqua", RGB(0, 255, 255)},
    {"White", RGB(255, 255, 255)}};

class FontDialog {
 public:
  explicit FontDialog(CHOOSEFONTA* cf) : cf_(cf) {}
  INT_PTR Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void Init();
  void UpdateSample();
  // The font the controls show now; false without a face or a size.
  bool ReadFont(LOGFONT& lf) const;
  bool Finish();
  int Selected(int id) const { return static_cast<int>(SendDlgItemMessage(hwnd_, id, CB_GETCURSEL, 0, 0)); }
  std::string SelectedText(int id) const;

  CHOOSEFONTA* cf_;
  HWND hwnd_ = nullptr;
  HFONT sample_ = nullptr;
};

std::string FontDialog::SelectedText(int id) const {
  int index = Selected(id);
  if (index < 0) return {};
  char text[LF_FACESIZE * 2] = {};
  SendDlgItemMessage(hwnd_, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

void FontDialog::Init() {
  using FaceSet = std::set<std::string, bool (*)(const std::string&, const std::string&)>;
  FaceSet faces([](const std::string& a, const std::string& b) { return lstrcmpi(a.c_str(), b.c_str()) < 0; });
  struct Context {
    FaceSet* names;
    DWORD flags;
  } context{&faces, cf_->Flags};
  HDC dc = GetDC(nullptr);
  EnumFontFamilies(
      dc, nullptr,
      [](const LOGFONT* lf, const TEXTMETRIC*, DWORD, LPARAM data) {
        auto* c = reinterpret_cast<Context*>(data);
        bool fixed = (lf->lfPitchAndFamily & 3) == FIXED_PITCH;
        bool vertical = lf->lfFaceName[0] == '@';
        if ((c->flags & CF_FIXEDPITCHONLY) && !fixed) return 1;
        if ((c->flags & CF_NOVERTFONTS) && vertical) return 1;
        c->names->insert(lf->lfFaceName);
        return 1;
      },
      reinterpret_cast<LPARAM>(&context));
  ReleaseDC(nullptr, dc);
  HWND face = GetDlgItem(hwnd_, IDC_FONT_FACE);
  for (const std::string& f : faces) SendMessage(face, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
  for (const char* s : kStyles) SendDlgItemMessage(hwnd_, IDC_FONT_STYLE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  int low = (cf_->Flags & CF_LIMITSIZE) ? cf_->nSizeMin : 0, high = (cf_->Flags & CF_LIMITSIZE) ? cf_->nSizeMax : 1000;
  for (int size : kSizes)
    if (size >= low && size <= high)
      SendDlgItemMessage(hwnd_, IDC_FONT_SIZE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(size).c_str()));
  for (const NamedColour& c : kColours)
    SendDlgItemMessage(hwnd_, IDC_FONT_COLOR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.name));
  if (!(cf_->Flags & CF_EFFECTS))
    for (int id : {IDC_FONT_STRIKEOUT, IDC_FONT_UNDERLINE, IDC_FONT_COLOR}) ShowWindow(GetDlgItem(hwnd_, id), SW_HIDE);
  if (!(cf_->Flags & CF_SHOWHELP)) ShowWindow(GetDlgItem(hwnd_, pshHelp), SW_HIDE);
  // Start from the caller's font when asked, else the first face, regular, 10 points.
  SendMessage(face, CB_SETCURSEL, 0, 0);
  SendDlgItemMessage(hwnd_, IDC_FONT_STYLE, CB_SETCURSEL, 0, 0);
  SendDlgItemMessage(hwnd_, IDC_FONT_SIZE, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("10"));
  SendDlgItemMessage(hwnd_, IDC_FONT_COLOR, CB_SETCURSEL, 0, 0);
  if ((cf_->Flags & CF_INITTOLOGFONTSTRUCT) && cf_->lpLogFont) {
    const LOGFONT& lf = *cf_->lpLogFont;
    SendMessage(face, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(lf.lfFaceName));
    int style = (lf.lfWeight >= FW_BOLD ? 2 : 0) + (lf.lfItalic ? 1 : 0);
    SendDlgItemMessage(hwnd_, IDC_FONT_STYLE, CB_SETCURSEL, static_cast<WPARAM>(style), 0);
    int points = cf_->iPointSize > 0 ? cf_->iPointSize / 10 : MulDiv(std::abs(lf.lfHeight), 72, 96);
    std::string size = std::to_string(points);
    SendDlgItemMessage(hwnd_, IDC_FONT_SIZE, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(size.c_str()));
    CheckDlgButton(hwnd_, IDC_FONT_UNDERLINE, lf.lfUnderline ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, IDC_FONT_STRIKEOUT, lf.lfStrikeOut ? BST_CHECKED : BST_UNCHECKED);
  }
  if ((cf_->Flags & CF_USESTYLE) && cf_->lpszStyle && *cf_->lpszStyle)
    SendDlgItemMessage(hwnd_, IDC_FONT_STYLE, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(cf_->lpszStyle));
  for (std::size_t i = 0; i < std::size(kColours); ++i)
    if (kColours[i].colour == (cf_->rgbColors & 0xFFFFFF))
      SendDlgItemMessage(hwnd_, IDC_FONT_COLOR, CB_SETCURSEL, i, 0);
  UpdateSample();
}

void FontDialog::UpdateSample() {
  LOGFONT lf{};
  std::string face = SelectedText(IDC_FONT_FACE);
  std::strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  int style = std::max(0, Selected(IDC_FONT_STYLE));
  lf.lfWeight = style >= 2 ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = static_cast<BYTE>(style & 1);
  lf.lfHeight = -MulDiv(std::max(1, std::atoi(SelectedText(IDC_FONT_SIZE).c_str())), 96, 72);
  lf.lfUnderline = IsDlgButtonChecked(hwnd_, IDC_FONT_UNDERLINE) == BST_CHECKED;
  lf.lfStrikeOut = IsDlgButtonChecked(hwnd_, IDC_FONT_STRIKEOUT) == BST_CHECKED;
  HFONT font = CreateFontIndirect(&lf);
  SendDlgItemMessage(hwnd_, IDC_FONT_SAMPLE, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (sample_) DeleteObject(sample_);
  sample_ = font;
}

bool FontDialog::ReadFont(LOGFONT& lf) const {
  std::string face = SelectedText(IDC_FONT_FACE);
  int points = std::atoi(SelectedText(IDC_FONT_SIZE).c_str());
  if (face.empty() || points <= 0) return false;
  std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
  std::strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  int style = std::max(0, Selected(IDC_FONT_STYLE));
  lf.lfWeight = style >= 2 ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = static_cast<BYTE>(style & 1);
  HDC dc = cf_->hDC ? cf_->hDC : GetDC(nullptr);
  lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  if (!cf_->hDC) ReleaseDC(nullptr, dc);
  lf.lfWidth = 0;
  if (cf_->Flags & CF_EFFECTS) {
    lf.lfUnderline = IsDlgButtonChecked(hwnd_, IDC_FONT_UNDERLINE) == BST_CHECKED;
    lf.lfStrikeOut = IsDlgButtonChecked(hwnd_, IDC_FONT_STRIKEOUT) == BST_CHECKED;
  }
  return true;
}

bool FontDialog::Finish() {
  LOGFONT chosen = cf_->lpLogFont ? *cf_->lpLogFont : LOGFONT{};
  if (!ReadFont(chosen)) return false;
  if (cf_->lpLogFont) {
    *cf_->lpLogFont = chosen;
    cf_->nFontType = static_cast<WORD>(SCREEN_FONTTYPE |
                                       (chosen.lfWeight >= FW_BOLD ? BOLD_FONTTYPE : REGULAR_FONTTYPE) |
                                       (chosen.lfItalic ? ITALIC_FONTTYPE : 0));
  }
  if (cf_->lpszStyle) {
    std::string style = SelectedText(IDC_FONT_STYLE);
    std::strncpy(cf_->lpszStyle, style.c_str(), LF_FACESIZE - 1);
    cf_->lpszStyle[std::min<std::size_t>(style.size(), LF_FACESIZE - 1)] = '\0';
  }
  cf_->iPointSize = std::atoi(SelectedText(IDC_FONT_SIZE).c_str()) * 10;
  if (cf_->Flags & CF_EFFECTS) {
    int colour = Selected(IDC_FONT_COLOR);
    if (colour >= 0) cf_->rgbColors = kColours[colour].colour;
  }
  return true;
}

INT_PTR FontDialog::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    hwnd_ = hwnd;
    Init();
    if ((cf_->Flags & CF_ENABLEHOOK) && cf_->lpfnHook)
      return static_cast<INT_PTR>(cf_->lpfnHook(hwnd, msg, wParam, reinterpret_cast<LPARAM>(cf_)));
    return TRUE;
  }
  if (hwnd_ && (cf_->Flags & CF_ENABLEHOOK) && cf_->lpfnHook) {
    if (INT_PTR r = static_cast<INT_PTR>(cf_->lpfnHook(hwnd, msg, wParam, lParam))) return r;
  }
  if (msg == WM_DESTROY && sample_) {
    SendDlgItemMessage(hwnd, IDC_FONT_SAMPLE, WM_SETFONT, 0, FALSE);
    DeleteObject(sample_);
    sample_ = nullptr;
  }
  if (msg == WM_CHOOSEFONT_GETLOGFONT && lParam) {
    ReadFont(*reinterpret_cast<LOGFONT*>(lParam));
    return TRUE;
  }
  if (msg != WM_COMMAND) return FALSE;
  int id = LOWORD(wParam), code = HIWORD(wParam);
  if ((code == CBN_SELCHANGE && id >= IDC_FONT_FACE && id <= IDC_FONT_COLOR) ||
      (code == BN_CLICKED && (id == IDC_FONT_UNDERLINE || id == IDC_FONT_STRIKEOUT))) {
    UpdateSample();
    return TRUE;
  }
  if (id == IDOK) {
    if (Finish()) EndDialog(hwnd, IDOK);
    return TRUE;
  }
  if (id == IDCANCEL) {
    EndDialog(hwnd, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

DialogTemplate FontTemplate() {
  DialogTemplate t = CommonDialogFrame("Font", 264, 150);
  DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
  t.items = {
      DialogItem("Static", "&Font:", SS_LEFT, 6, 4, 94, 9, -1),
      DialogItem("ComboBox", "", list | CBS_SORT, 6, 14, 94, 100, IDC_FONT_FACE),
      DialogItem("Static", "Font st&yle:", SS_LEFT, 108, 4, 64, 9, -1),
      DialogItem("ComboBox", "", list, 108, 14, 64, 60, IDC_FONT_STYLE),
      DialogItem("Static", "&Size:", SS_LEFT, 180, 4, 30, 9, -1),
      DialogItem("ComboBox", "", list, 180, 14, 30, 100, IDC_FONT_SIZE),
      DialogItem("Button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 218, 14, 40, 14, IDOK),
      DialogItem("Button", "Cancel", WS_TABSTOP, 218, 32, 40, 14, IDCANCEL),
      DialogItem("Button", "&Help", WS_TABSTOP, 218, 50, 40, 14, pshHelp),
      DialogItem("Button", "Stri&keout", WS_TABSTOP | BS_AUTOCHECKBOX, 6, 40, 60, 10, IDC_FONT_STRIKEOUT),
      DialogItem("Button", "&Underline", WS_TABSTOP | BS_AUTOCHECKBOX, 6, 54, 60, 10, IDC_FONT_UNDERLINE),
      DialogItem("ComboBox", "", list, 6, 70, 60, 100, IDC_FONT_COLOR),
      DialogItem("Static", "AaBbYyZz", SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN | SS_NOPREFIX, 76, 40, 134, 50,
                 IDC_FONT_SAMPLE),
  };
  return t;
}

}  // namespace
}  // namespace brambolt::ctl

BOOL ChooseFont(LPCHOOSEFONTA cf) {
  using namespace brambolt::ctl;
  SetCommDlgError(0);
  if (cf == nullptr || cf->lStructSize != sizeof(CHOOSEFONTA)) {
    SetCommDlgError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  if ((cf->Flags & CF_ENABLEHOOK) && cf->lpfnHook == nullptr) {
    SetCommDlgError(CDERR_NOHOOK);
    return FALSE;
  }
  // The caller's template (a resource, or a block in memory) lays the dialog out with the ids of
  // the controls it keeps; a control it leaves out is simply not there.
  DWORD error = 0;
  const bool byHandle = (cf->Flags & CF_ENABLETEMPLATEHANDLE) != 0;
  const bool byName = (cf->Flags & CF_ENABLETEMPLATE) != 0;
  std::optional<brambolt::DialogTemplate> layout =
      ChooseDialogTemplate(byHandle, reinterpret_cast<HGLOBAL>(cf->hInstance), byName, cf->hInstance, cf->lpTemplateName,
                           FontTemplate, &error);
  if (!layout) {
    SetCommDlgError(error);
    return FALSE;
  }
  FontDialog dialog(cf);
  HWND hwnd = brambolt::CreateDialogFromTemplate(byName && !byHandle ? cf->hInstance : nullptr, *layout, cf->hwndOwner,
                                                 ObjectDialogProc<FontDialog>, reinterpret_cast<LPARAM>(&dialog));
  if (hwnd == nullptr) {
    SetCommDlgError(CDERR_DIALOGFAILURE);
    return FALSE;
  }
  return brambolt::RunModalDialog(hwnd, cf->hwndOwner) == IDOK;
}

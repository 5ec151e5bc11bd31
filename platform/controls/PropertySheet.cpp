// Property sheets and wizards: a dialog with a tab control (hidden in wizards) and pages made
// from dialog templates when first shown; PSN_ notifications decide every page change, Apply, OK,
// Cancel, Back, Next and Finish; Ctrl+Tab and Ctrl+PageDown/PageUp turn the pages.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "controls/CommCtrl.h"
#include "controls/CommonControls.h"
#include "controls/ControlSupport.h"
#include "res/ResourceTemplates.h"
#include "res/Resources.h"

// A page made by CreatePropertySheetPage: a copy of the caller's whole structure (dwSize bytes,
// which may carry data of the caller's own after the documented fields).
struct _PSP {
  std::vector<std::max_align_t> storage;
  PROPSHEETPAGEA* Page() { return reinterpret_cast<PROPSHEETPAGEA*>(storage.data()); }
};

namespace brambolt::ctl {
namespace {

constexpr std::size_t kIndirectTemplateBound = 0x10000;

HPROPSHEETPAGE CopyPage(LPCPROPSHEETPAGEA page) {
  std::size_t size = std::max<std::size_t>(page->dwSize, sizeof(PROPSHEETPAGEA));
  auto* handle = new _PSP;
  handle->storage.resize((size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
  std::memcpy(handle->storage.data(), page, page->dwSize);
  handle->Page()->dwSize = page->dwSize;
  if (page->dwSize < sizeof(PROPSHEETPAGEA)) {  // fields the caller's older structure lacks
    handle->Page()->pszHeaderTitle = nullptr;
    handle->Page()->pszHeaderSubTitle = nullptr;
  }
  return handle;
}

std::string ResourceText(HINSTANCE instance, LPCSTR text) {
  if (text == nullptr) return {};
  if (!IS_INTRESOURCE(text)) return text;
  char buffer[256];
  int n = LoadString(instance, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)), buffer, sizeof(buffer));
  return std::string(buffer, static_cast<std::size_t>(std::max(n, 0)));
}

std::optional<DialogTemplate> PageTemplate(PROPSHEETPAGEA* psp) {
  if (psp->dwFlags & PSP_DLGINDIRECT) return ParseDialogTemplate(psp->pResource, kIndirectTemplateBound);
  HRSRC info = FindResource(psp->hInstance, psp->pszTemplate, RT_DIALOG);
  if (info == nullptr) return std::nullopt;
  HGLOBAL data = LoadResource(psp->hInstance, info);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  return ParseDialogTemplate(bytes, SizeofResource(psp->hInstance, info));
}

struct SheetPage {
  HPROPSHEETPAGE handle = nullptr;
  bool owned = false;  // destroyed by the sheet when removed or with it
  DialogTemplate tmpl;
  HWND hwnd = nullptr;
  bool changed = false;
  PROPSHEETPAGEA* Psp() const { return handle->Page(); }
};

class Sheet {
 public:
  Sheet(const PROPSHEETHEADERA& header) : header_(header) {}
  ~Sheet();
  bool AddPage(HPROPSHEETPAGE handle, bool owned);
  DialogTemplate SheetTemplate() const;
  INT_PTR Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Turns by `step` pages as Ctrl+Tab does; true when the message was for this.
  bool TurnPage(int step);
  bool Wizard() const { return (header_.dwFlags & PSH_WIZARD) != 0; }
  HWND Hwnd() const { return hwnd_; }
  INT_PTR result = 0;

 private:
  void Layout();
  HWND Button(int id, const char* text, bool visible);
  LRESULT NotifyPage(SheetPage& page, UINT code, LPARAM lParam = 0);
  bool CreatePageWindow(SheetPage& page);
  bool KillActive();
  // Shows page `index` after PSN_SETACTIVE; wizards follow -1 (the next page on the way) and
  // template ids. The old page must already have agreed to go.
  bool Activate(int index, int direction);
  int IndexOfId(LRESULT id) const;
  bool Apply(bool closing);
  void Cancel();
  void Close(INT_PTR code);
  void Press(int button);
  void SetWizardButtons(DWORD flags);
  std::string PageTitle(const SheetPage& page) const;

  PROPSHEETHEADERA header_;
  std::vector<SheetPage> pages_;
  HWND hwnd_ = nullptr, tab_ = nullptr;
  int current_ = -1;
  RECT pageRect_{};
  INT_PTR restart_ = 0;
};

Sheet::~Sheet() {
  for (SheetPage& p : pages_)
    if (p.owned) DestroyPropertySheetPage(p.handle);
}

bool Sheet::AddPage(HPROPSHEETPAGE handle, bool owned) {
  if (handle == nullptr) return false;
  std::optional<DialogTemplate> tmpl = PageTemplate(handle->Page());
  if (!tmpl) {
    if (owned) DestroyPropertySheetPage(handle);
    return false;
  }
  SheetPage page;
  page.handle = handle;
  page.owned = owned;
  page.tmpl = std::move(*tmpl);
  pages_.push_back(std::move(page));
  return true;
}

std::string Sheet::PageTitle(const SheetPage& page) const {
  if (page.Psp()->dwFlags & PSP_USETITLE) return ResourceText(page.Psp()->hInstance, page.Psp()->pszTitle);
  return page.tmpl.title;
}

DialogTemplate Sheet::SheetTemplate() const {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT;
  t.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  std::string caption = ResourceText(header_.hInstance, header_.pszCaption);
  t.title = (header_.dwFlags & PSH_PROPTITLE) ? caption + " Properties" : caption;
  const DialogTemplate& first = pages_.front().tmpl;
  t.hasFont = first.hasFont;
  t.pointSize = first.hasFont ? first.pointSize : 8;
  t.weight = first.weight;
  t.italic = first.italic;
  t.charSet = first.charSet;
  t.faceName = first.hasFont ? first.faceName : "MS Sans Serif";
  t.hasFont = true;
  for (const SheetPage& p : pages_) {
    t.cx = std::max(t.cx, p.tmpl.cx);
    t.cy = std::max(t.cy, p.tmpl.cy);
  }
  return t;
}

HWND Sheet::Button(int id, const char* text, bool visible) {
  HWND b = CreateWindowEx(0, "Button", text, WS_CHILD | WS_TABSTOP | (visible ? WS_VISIBLE : 0) | BS_PUSHBUTTON, 0, 0,
                          10, 10, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SendMessage(b, WM_SETFONT, SendMessage(hwnd_, WM_GETFONT, 0, 0), FALSE);
  return b;
}

void Sheet::Layout() {
  DialogTemplate t = SheetTemplate();
  RECT page{0, 0, t.cx, t.cy}, margin{0, 0, 7, 7}, button{0, 0, 50, 14}, gap{0, 0, 4, 4};
  MapDialogRect(hwnd_, &page);
  MapDialogRect(hwnd_, &margin);
  MapDialogRect(hwnd_, &button);
  MapDialogRect(hwnd_, &gap);
  const int m = margin.right, bw = button.right, bh = button.bottom, g = gap.right;
  int contentRight, contentBottom;
  if (Wizard()) {
    pageRect_ = RECT{m, m, m + page.right, m + page.bottom};
    contentRight = pageRect_.right;
    HWND line = GetDlgItem(hwnd_, IDC_PROPSHEET_LINE);
    SetWindowPos(line, nullptr, m, pageRect_.bottom + g, page.right, 2, SWP_NOZORDER | SWP_NOACTIVATE);
    contentBottom = pageRect_.bottom + g + 2;
  } else {
    pageRect_ = RECT{m, m, m + page.right, m + page.bottom};
    RECT tab = pageRect_;
    TabCtrl_AdjustRect(tab_, TRUE, &tab);
    // The tab control's frame starts at the margin; the page sits inside it.
    OffsetRect(&pageRect_, m - tab.left, m - tab.top);
    OffsetRect(&tab, m - tab.left, m - tab.top);
    SetWindowPos(tab_, HWND_BOTTOM, tab.left, tab.top, tab.right - tab.left, tab.bottom - tab.top, SWP_NOACTIVATE);
    contentRight = tab.right;
    contentBottom = tab.bottom;
  }
  // The buttons line up at the right under the pages, in the order the sheet made them.
  int y = contentBottom + g;
  std::vector<HWND> row;
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    int id = IdOf(child);
    bool isButton = id == IDOK || id == IDCANCEL || id == IDHELP || id == ID_APPLY_NOW || id == ID_WIZBACK ||
                    id == ID_WIZNEXT || id == ID_WIZFINISH;
    if (isButton) row.push_back(child);
  }
  int x = contentRight;
  for (auto it = row.rbegin(); it != row.rend(); ++it) {
    int id = IdOf(*it);
    // Next and Finish share a place unless the wizard always has Finish.
    bool shared = Wizard() && !(header_.dwFlags & PSH_WIZARDHASFINISH) && id == ID_WIZNEXT;
    if (!shared) x -= bw;
    SetWindowPos(*it, nullptr, x, y, bw, bh, SWP_NOZORDER | SWP_NOACTIVATE);
    // Back and Next touch; the others keep a gap.
    if (!shared) x -= (id == ID_WIZNEXT || (id == ID_WIZFINISH && !(header_.dwFlags & PSH_WIZARDHASFINISH))) ? 0 : g;
  }
  RECT client{0, 0, contentRight + m, y + bh + m};
  AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLong(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLong(hwnd_, GWL_EXSTYLE)));
  int w = client.right - client.left, h = client.bottom - client.top;
  RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (header_.hwndParent) GetWindowRect(header_.hwndParent, &around);
  SetWindowPos(hwnd_, nullptr, std::max(0, static_cast<int>(around.left + around.right - w) / 2),
               std::max(0, static_cast<int>(around.top + around.bottom - h) / 2), w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Sheet::NotifyPage(SheetPage& page, UINT code, LPARAM lParam) {
  if (page.hwnd == nullptr) return 0;
  PSHNOTIFY pn{};
  pn.hdr.hwndFrom = hwnd_;
  pn.hdr.idFrom = 0;
  pn.hdr.code = code;
  pn.lParam = lParam;
  SetWindowLongPtr(page.hwnd, DWLP_MSGRESULT, 0);
  return SendMessage(page.hwnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&pn));
}

bool Sheet::CreatePageWindow(SheetPage& page) {
  if (page.hwnd) return true;
  PROPSHEETPAGEA* psp = page.Psp();
  if ((psp->dwFlags & PSP_USECALLBACK) && psp->pfnCallback && psp->pfnCallback(nullptr, PSPCB_CREATE, psp) == 0)
    return false;
  DialogTemplate t = page.tmpl;
  t.style = (t.style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_BORDER | DS_MODALFRAME | WS_VISIBLE |
                         WS_DISABLED)) |
            WS_CHILD | DS_CONTROL | DS_3DLOOK;
  t.exStyle = (t.exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE)) | WS_EX_CONTROLPARENT;
  t.x = t.y = 0;
  page.hwnd = CreateDialogFromTemplate(psp->hInstance, t, hwnd_, psp->pfnDlgProc, reinterpret_cast<LPARAM>(psp));
  if (page.hwnd == nullptr) return false;
  SetWindowPos(page.hwnd, HWND_TOP, pageRect_.left, pageRect_.top, pageRect_.right - pageRect_.left,
               pageRect_.bottom - pageRect_.top, SWP_NOACTIVATE);
  return true;
}

bool Sheet::KillActive() {
  if (current_ < 0) return true;
  return NotifyPage(pages_[static_cast<std::size_t>(current_)], PSN_KILLACTIVE) == 0;
}

int Sheet::IndexOfId(LRESULT id) const {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    const PROPSHEETPAGEA* psp = pages_[i].Psp();
    if (!(psp->dwFlags & PSP_DLGINDIRECT) && IS_INTRESOURCE(psp->pszTemplate) &&
        reinterpret_cast<ULONG_PTR>(psp->pszTemplate) == static_cast<ULONG_PTR>(id))
      return static_cast<int>(i);
  }
  return -1;
}

bool Sheet::Activate(int index, int direction) {
  for (int guard = 0; guard <= static_cast<int>(pages_.size()) && index >= 0 &&
                      index < static_cast<int>(pages_.size());
       ++guard) {
    SheetPage& page = pages_[static_cast<std::size_t>(index)];
    if (!CreatePageWindow(page)) return false;
    LRESULT answer = NotifyPage(page, PSN_SETACTIVE);
    if (answer == 0 || !Wizard()) {
      if (current_ >= 0 && current_ != index) ShowWindow(pages_[static_cast<std::size_t>(current_)].hwnd, SW_HIDE);
      current_ = index;
      TabCtrl_SetCurSel(tab_, index);
      ShowWindow(page.hwnd, SW_SHOW);
      return true;
    }
    index = answer == -1 ? index + direction : IndexOfId(answer);
  }
  return false;
}

bool Sheet::Apply(bool closing) {
  if (!KillActive()) return false;
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    LRESULT answer = NotifyPage(pages_[i], PSN_APPLY, closing);
    if (answer == PSNRET_INVALID_NOCHANGEPAGE) return false;
    if (answer == PSNRET_INVALID) {
      if (static_cast<int>(i) != current_) Activate(static_cast<int>(i), 1);
      return false;
    }
  }
  for (SheetPage& p : pages_) p.changed = false;
  EnableWindow(GetDlgItem(hwnd_, ID_APPLY_NOW), FALSE);
  return true;
}

void Sheet::Cancel() {
  if (current_ >= 0 && NotifyPage(pages_[static_cast<std::size_t>(current_)], PSN_QUERYCANCEL) != 0) return;
  for (SheetPage& p : pages_) NotifyPage(p, PSN_RESET);
  Close(0);
}

void Sheet::Close(INT_PTR code) {
  result = code && restart_ ? restart_ : code;
  if (header_.dwFlags & PSH_MODELESS) {
    // A modeless sheet stays until its owner destroys it; it tells it is done by having no page.
    if (current_ >= 0) ShowWindow(pages_[static_cast<std::size_t>(current_)].hwnd, SW_HIDE);
    current_ = -1;
    ShowWindow(hwnd_, SW_HIDE);
  } else {
    EndDialog(hwnd_, result);
  }
}

void Sheet::Press(int button) {
  switch (button) {
    case ID_WIZNEXT:
    case ID_WIZBACK: {
      int step = button == ID_WIZNEXT ? 1 : -1;
      LRESULT answer = NotifyPage(pages_[static_cast<std::size_t>(current_)], step > 0 ? PSN_WIZNEXT : PSN_WIZBACK);
      if (answer == -1) return;
      int target = answer == 0 ? current_ + step : IndexOfId(answer);
      if (target < 0 || target >= static_cast<int>(pages_.size()) || !KillActive()) return;
      Activate(target, step);
      return;
    }
    case ID_WIZFINISH:
      if (NotifyPage(pages_[static_cast<std::size_t>(current_)], PSN_WIZFINISH) != 0) return;
      Close(1);
      return;
    case IDOK:
      if (Apply(true)) Close(1);
      return;
    case ID_APPLY_NOW:
      Apply(false);
      return;
    case IDCANCEL:
      Cancel();
      return;
    case IDHELP:
      if (current_ >= 0) NotifyPage(pages_[static_cast<std::size_t>(current_)], PSN_HELP);
      return;
  }
}

void Sheet::SetWizardButtons(DWORD flags) {
  EnableWindow(GetDlgItem(hwnd_, ID_WIZBACK), (flags & PSWIZB_BACK) != 0);
  HWND next = GetDlgItem(hwnd_, ID_WIZNEXT), finish = GetDlgItem(hwnd_, ID_WIZFINISH);
  bool finishWanted = (flags & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH)) != 0;
  if (header_.dwFlags & PSH_WIZARDHASFINISH) {
    EnableWindow(next, (flags & PSWIZB_NEXT) != 0);
    EnableWindow(finish, (flags & PSWIZB_FINISH) != 0);
  } else {
    ShowWindow(next, finishWanted ? SW_HIDE : SW_SHOW);
    ShowWindow(finish, finishWanted ? SW_SHOW : SW_HIDE);
    EnableWindow(next, (flags & PSWIZB_NEXT) != 0);
    EnableWindow(finish, (flags & PSWIZB_FINISH) != 0);
  }
  int defaultId = (flags & PSWIZB_NEXT) && IsWindowVisible(next) ? ID_WIZNEXT : ID_WIZFINISH;
  SendMessage(hwnd_, DM_SETDEFID, static_cast<WPARAM>(defaultId), 0);
}

bool Sheet::TurnPage(int step) {
  if (Wizard() || pages_.empty() || current_ < 0) return false;
  int n = static_cast<int>(pages_.size());
  int target = ((current_ + step) % n + n) % n;
  if (target != current_ && KillActive()) Activate(target, step);
  return true;
}

INT_PTR Sheet::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto answer = [&](LRESULT value) {
    SetWindowLongPtr(hwnd, DWLP_MSGRESULT, value);
    return TRUE;
  };
  switch (msg) {
    case WM_INITDIALOG: {
      hwnd_ = hwnd;
      DWORD tabStyle = WS_CHILD | WS_CLIPSIBLINGS | (Wizard() ? 0 : WS_VISIBLE | WS_TABSTOP);
      tab_ = CreateWindowEx(0, WC_TABCONTROL, nullptr, tabStyle, 0, 0, 10, 10, hwnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PROPSHEET_TAB)), nullptr, nullptr);
      SendMessage(tab_, WM_SETFONT, SendMessage(hwnd, WM_GETFONT, 0, 0), FALSE);
      for (std::size_t i = 0; i < pages_.size(); ++i) {
        std::string title = PageTitle(pages_[i]);
        TCITEM item{};
        item.mask = TCIF_TEXT;
        item.pszText = title.data();
        TabCtrl_InsertItem(tab_, static_cast<int>(i), &item);
      }
      if (Wizard()) {
        CreateWindowEx(0, "Static", nullptr, WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, 0, 10, 2, hwnd,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PROPSHEET_LINE)), nullptr, nullptr);
        Button(ID_WIZBACK, "< &Back", true);
        Button(ID_WIZNEXT, "&Next >", true);
        Button(ID_WIZFINISH, "Finish", (header_.dwFlags & PSH_WIZARDHASFINISH) != 0);
        Button(IDCANCEL, "Cancel", true);
      } else {
        Button(IDOK, "OK", true);
        Button(IDCANCEL, "Cancel", true);
        if (!(header_.dwFlags & PSH_NOAPPLYNOW)) EnableWindow(Button(ID_APPLY_NOW, "&Apply", true), FALSE);
      }
      if (header_.dwFlags & PSH_HASHELP) Button(IDHELP, "Help", true);
      SendMessage(hwnd, DM_SETDEFID, Wizard() ? ID_WIZNEXT : IDOK, 0);
      Layout();
      if ((header_.dwFlags & PSH_USECALLBACK) && header_.pfnCallback) header_.pfnCallback(hwnd, PSCB_INITIALIZED, 0);
      int start = 0;
      if (header_.dwFlags & PSH_USEPSTARTPAGE) {
        std::string wanted = ResourceText(header_.hInstance, header_.pStartPage);
        for (std::size_t i = 0; i < pages_.size(); ++i)
          if (PageTitle(pages_[i]) == wanted) start = static_cast<int>(i);
      } else if (header_.nStartPage < pages_.size()) {
        start = static_cast<int>(header_.nStartPage);
      }
      if (!Activate(start, 1)) Activate(0, 1);
      HWND focus = current_ >= 0 ? GetNextDlgTabItem(pages_[static_cast<std::size_t>(current_)].hwnd, nullptr, FALSE)
                                 : nullptr;
      SetFocus(Wizard() && focus ? focus : tab_);
      return FALSE;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED || lParam == 0) Press(LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      Press(IDCANCEL);
      return TRUE;
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lParam);
      if (nm->hwndFrom != tab_) return FALSE;
      if (nm->code == TCN_SELCHANGING) return answer(KillActive() ? FALSE : TRUE);
      if (nm->code == TCN_SELCHANGE) Activate(TabCtrl_GetCurSel(tab_), 1);
      return TRUE;
    }
    case PSM_SETCURSEL: {
      int index = static_cast<int>(wParam);
      if (lParam)
        for (std::size_t i = 0; i < pages_.size(); ++i)
          if (pages_[i].handle == reinterpret_cast<HPROPSHEETPAGE>(lParam)) index = static_cast<int>(i);
      if (index < 0 || index >= static_cast<int>(pages_.size()) || !KillActive()) return answer(FALSE);
      return answer(Activate(index, index >= current_ ? 1 : -1));
    }
    case PSM_SETCURSELID: {
      int index = IndexOfId(static_cast<LRESULT>(lParam));
      if (index < 0 || !KillActive()) return answer(FALSE);
      return answer(Activate(index, 1));
    }
    case PSM_ADDPAGE: {
      auto* handle = reinterpret_cast<HPROPSHEETPAGE>(lParam);
      if (!AddPage(handle, false)) return answer(FALSE);
      pages_.back().owned = true;  // an added page is the sheet's from now on, as a removed one goes with it
      std::string title = PageTitle(pages_.back());
      TCITEM item{};
      item.mask = TCIF_TEXT;
      item.pszText = title.data();
      TabCtrl_InsertItem(tab_, static_cast<int>(pages_.size()) - 1, &item);
      return answer(TRUE);
    }
    case PSM_REMOVEPAGE: {
      int index = static_cast<int>(wParam);
      if (lParam)
        for (std::size_t i = 0; i < pages_.size(); ++i)
          if (pages_[i].handle == reinterpret_cast<HPROPSHEETPAGE>(lParam)) index = static_cast<int>(i);
      if (index < 0 || index >= static_cast<int>(pages_.size()) || pages_.size() == 1) return answer(0);
      SheetPage& page = pages_[static_cast<std::size_t>(index)];
      if (page.hwnd) DestroyWindow(page.hwnd);
      if (page.owned) DestroyPropertySheetPage(page.handle);
      pages_.erase(pages_.begin() + index);
      SendMessage(tab_, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
      if (current_ == index) {
        current_ = -1;
        Activate(std::min(index, static_cast<int>(pages_.size()) - 1), 1);
      } else if (current_ > index) {
        --current_;
        TabCtrl_SetCurSel(tab_, current_);
      }
      return answer(0);
    }
    case PSM_CHANGED:
    case PSM_UNCHANGED:
      for (SheetPage& p : pages_)
        if (p.hwnd == reinterpret_cast<HWND>(wParam)) p.changed = msg == PSM_CHANGED;
      EnableWindow(GetDlgItem(hwnd, ID_APPLY_NOW),
                   std::any_of(pages_.begin(), pages_.end(), [](const SheetPage& p) { return p.changed; }));
      return answer(0);
    case PSM_RESTARTWINDOWS:
      restart_ = std::max<INT_PTR>(restart_, ID_PSRESTARTWINDOWS);
      return answer(0);
    case PSM_REBOOTSYSTEM:
      restart_ = ID_PSREBOOTSYSTEM;
      return answer(0);
    case PSM_CANCELTOCLOSE:
      EnableWindow(GetDlgItem(hwnd, IDCANCEL), FALSE);
      SetDlgItemText(hwnd, IDOK, "Close");
      return answer(0);
    case PSM_QUERYSIBLINGS:
      for (SheetPage& p : pages_)
        if (p.hwnd)
          if (LRESULT r = SendMessage(p.hwnd, PSM_QUERYSIBLINGS, wParam, lParam)) return answer(r);
      return answer(0);
    case PSM_APPLY:
      return answer(Apply(false));
    case PSM_SETTITLEA: {
      std::string title = ResourceText(header_.hInstance, reinterpret_cast<LPCSTR>(lParam));
      if (wParam & PSH_PROPTITLE) title += " Properties";
      SetWindowText(hwnd, title.c_str());
      return answer(0);
    }
    case PSM_SETWIZBUTTONS:
      SetWizardButtons(static_cast<DWORD>(lParam));
      return answer(0);
    case PSM_SETFINISHTEXTA: {
      HWND finish = GetDlgItem(hwnd, ID_WIZFINISH);
      SetWindowText(finish, reinterpret_cast<LPCSTR>(lParam));
      ShowWindow(finish, SW_SHOW);
      EnableWindow(finish, TRUE);
      ShowWindow(GetDlgItem(hwnd, ID_WIZNEXT), SW_HIDE);
      ShowWindow(GetDlgItem(hwnd, ID_WIZBACK), SW_HIDE);
      SendMessage(hwnd, DM_SETDEFID, ID_WIZFINISH, 0);
      return answer(0);
    }
    case PSM_PRESSBUTTON: {
      static const int ids[] = {ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, IDOK, ID_APPLY_NOW, IDCANCEL, IDHELP};
      if (wParam < std::size(ids)) {
        HWND b = GetDlgItem(hwnd, ids[wParam]);
        if (b && IsWindowEnabled(b)) PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(ids[wParam], BN_CLICKED),
                                                 reinterpret_cast<LPARAM>(b));
      }
      return answer(0);
    }
    case PSM_GETTABCONTROL:
      return answer(reinterpret_cast<LRESULT>(tab_));
    case PSM_GETCURRENTPAGEHWND:
      return answer(current_ >= 0 ? reinterpret_cast<LRESULT>(pages_[static_cast<std::size_t>(current_)].hwnd) : 0);
    case PSM_ISDIALOGMESSAGE: {
      auto* m = reinterpret_cast<MSG*>(lParam);
      if (m == nullptr) return answer(FALSE);
      if (m->message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0) {
        int step = m->wParam == VK_TAB ? (GetKeyState(VK_SHIFT) < 0 ? -1 : 1)
                   : m->wParam == VK_NEXT ? 1 : m->wParam == VK_PRIOR ? -1 : 0;
        if (step && TurnPage(step)) return answer(TRUE);
      }
      return answer(IsDialogMessage(hwnd, m));
    }
  }
  return FALSE;
}

Sheet* SheetOf(HWND hwnd) { return reinterpret_cast<Sheet*>(GetWindowLongPtr(hwnd, DWLP_USER)); }

INT_PTR CALLBACK SheetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) SetWindowLongPtr(hwnd, DWLP_USER, lParam);
  Sheet* sheet = SheetOf(hwnd);
  if (sheet == nullptr) return FALSE;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtr(hwnd, DWLP_USER, 0);
    // A modeless sheet owns itself; a modal one belongs to PropertySheet.
    if (GetWindowLongPtr(hwnd, GWLP_USERDATA) == 1) delete sheet;
    return FALSE;
  }
  return sheet->Proc(hwnd, msg, wParam, lParam);
}

// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp turn a modal sheet's pages wherever the
// focus is inside it; the dialog loop offers its messages here first.
thread_local HHOOK filterHook = nullptr;
thread_local int filterUsers = 0;

LRESULT CALLBACK PageKeys(int code, WPARAM wParam, LPARAM lParam) {
  auto* m = reinterpret_cast<MSG*>(lParam);
  if (code >= 0 && m && m->message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 && m->hwnd) {
    int step = m->wParam == VK_TAB ? (GetKeyState(VK_SHIFT) < 0 ? -1 : 1)
               : m->wParam == VK_NEXT ? 1 : m->wParam == VK_PRIOR ? -1 : 0;
    HWND root = GetAncestor(m->hwnd, GA_ROOT);
    if (step && root && GetWindowLongPtr(root, DWLP_DLGPROC) == reinterpret_cast<LONG_PTR>(&SheetProc))
      if (Sheet* sheet = SheetOf(root); sheet && sheet->TurnPage(step)) return 1;
  }
  return CallNextHookEx(filterHook, code, wParam, lParam);
}

class PageKeysHook {
 public:
  PageKeysHook() {
    if (filterUsers++ == 0) filterHook = SetWindowsHookEx(WH_MSGFILTER, PageKeys, nullptr, GetCurrentThreadId());
  }
  ~PageKeysHook() {
    if (--filterUsers == 0 && filterHook) {
      UnhookWindowsHookEx(filterHook);
      filterHook = nullptr;
    }
  }
  PageKeysHook(const PageKeysHook&) = delete;
  PageKeysHook& operator=(const PageKeysHook&) = delete;
};

}  // namespace
}  // namespace brambolt::ctl

HPROPSHEETPAGE CreatePropertySheetPage(LPCPROPSHEETPAGEA page) {
  if (page == nullptr || page->dwSize < PROPSHEETPAGEA_V1_SIZE) return nullptr;
  HPROPSHEETPAGE handle = brambolt::ctl::CopyPage(page);
  if ((page->dwFlags & PSP_USECALLBACK) && page->pfnCallback) page->pfnCallback(nullptr, PSPCB_ADDREF, handle->Page());
  return handle;
}

BOOL DestroyPropertySheetPage(HPROPSHEETPAGE page) {
  if (page == nullptr) return FALSE;
  PROPSHEETPAGEA* psp = page->Page();
  if ((psp->dwFlags & PSP_USECALLBACK) && psp->pfnCallback) psp->pfnCallback(nullptr, PSPCB_RELEASE, psp);
  delete page;
  return TRUE;
}

INT_PTR PropertySheet(LPCPROPSHEETHEADERA header) {
  using namespace brambolt::ctl;
  if (header == nullptr || header->dwSize < PROPSHEETHEADERA_V1_SIZE || header->nPages == 0) return -1;
  auto sheet = std::make_unique<Sheet>(*header);
  const BYTE* next = reinterpret_cast<const BYTE*>(header->ppsp);
  for (UINT i = 0; i < header->nPages; ++i) {
    bool ok;
    if (header->dwFlags & PSH_PROPSHEETPAGE) {
      // The array's elements are as long as each says.
      auto* psp = reinterpret_cast<LPCPROPSHEETPAGEA>(next);
      ok = sheet->AddPage(CreatePropertySheetPage(psp), true);
      next += psp->dwSize;
    } else {
      ok = sheet->AddPage(header->phpage[i], true);
    }
    if (!ok) {
      // Page handles are given to the sheet, also those it did not get to.
      if (!(header->dwFlags & PSH_PROPSHEETPAGE))
        for (UINT j = i + 1; j < header->nPages; ++j) DestroyPropertySheetPage(header->phpage[j]);
      return -1;
    }
  }
  brambolt::DialogTemplate tmpl = sheet->SheetTemplate();
  if (header->dwFlags & PSH_MODELESS) tmpl.style |= WS_VISIBLE;
  if ((header->dwFlags & PSH_USECALLBACK) && header->pfnCallback) header->pfnCallback(nullptr, PSCB_PRECREATE, 0);
  PageKeysHook keys;
  HWND hwnd = brambolt::CreateDialogFromTemplate(header->hInstance, tmpl, header->hwndParent, SheetProc,
                                                 reinterpret_cast<LPARAM>(sheet.get()));
  if (hwnd == nullptr) return -1;
  if (header->dwFlags & PSH_MODELESS) {
    SetWindowLongPtr(hwnd, GWLP_USERDATA, 1);
    sheet.release();
    return reinterpret_cast<INT_PTR>(hwnd);
  }
  brambolt::RunModalDialog(hwnd, header->hwndParent);
  return sheet->result;
}

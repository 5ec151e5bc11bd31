// Dialogs from templates: the dialog class, creation with fonts and dialog units, DefDlgProc,
// the modal loop and EndDialog.
#include "win/Dialog.h"

#include <algorithm>
#include <climits>
#include <map>
#include <mutex>
#include <vector>

#include "gdi/DC.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "gdi/Text.h"
#include "res/ResourceTemplates.h"
#include "res/Resources.h"
#include "win/DialogInternal.h"
#include "win/ModalLoop.h"
#include "win/WinSystem.h"
#include "win/WindowManager.h"

namespace brambolt::dlg {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<HWND, std::shared_ptr<DialogState>> states;
};

Registry& TheRegistry() {
  static auto* r = new Registry;
  return *r;
}

void Attach(HWND hwnd, std::shared_ptr<DialogState> state) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.states[hwnd] = std::move(state);
}

std::shared_ptr<DialogState> Detach(HWND hwnd) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.states.find(hwnd);
  if (it == r.states.end()) return nullptr;
  auto state = it->second;
  r.states.erase(it);
  return state;
}

}  // namespace

std::shared_ptr<DialogState> StateOf(HWND dialog) {
  if (dialog == nullptr) return nullptr;
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.states.find(dialog);
  return it == r.states.end() ? nullptr : it->second;
}

namespace {
// The modal dialogs whose loops run on this thread, innermost last.
thread_local std::vector<std::shared_ptr<DialogState>> t_runningModal;
// The owners that may be enabled while their modal dialogs run (LendModalOwner).
thread_local std::vector<HWND> t_lentOwners;
}  // namespace

bool IsOwnerLent(HWND owner) { return std::find(t_lentOwners.begin(), t_lentOwners.end(), owner) != t_lentOwners.end(); }

bool HoldOwnerDisabled(HWND owner) {
  if (IsOwnerLent(owner)) return false;
  bool held = false;
  for (const auto& state : t_runningModal) {
    if (state->ended || state->modalOwner != owner) continue;
    state->disabledOwner = owner;
    held = true;
  }
  return held;
}

HWND DialogOf(HWND hwnd) {
  for (HWND h = hwnd; h != nullptr; h = (GetWindowLong(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
    if (StateOf(h)) return h;
  return nullptr;
}

}  // namespace brambolt::dlg

namespace brambolt {
namespace {

using dlg::DialogState;
using dlg::StateOf;

constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

void EnsureDialogClass() {
  WNDCLASS existing;
  if (GetClassInfo(nullptr, BRAMBOLT_DIALOG_CLASS, &existing)) return;
  WNDCLASS wc{};
  wc.style = CS_DBLCLKS | CS_SAVEBITS | CS_GLOBALCLASS;
  wc.lpfnWndProc = DefDlgProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
  wc.lpszClassName = BRAMBOLT_DIALOG_CLASS;
  RegisterClass(&wc);
}

HFONT CreateTemplateFont(const DialogTemplate& t) {
  if (!t.hasFont) return nullptr;
  LOGFONT lf{};
  if (t.pointSize == 0x7FFF) {
    // The documented marker for "the message-box font".
    lf = NonClientFont(kMessageFont);
  } else {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    lf.lfHeight = -MulDiv(t.pointSize, dpi > 0 ? dpi : 96, 72);
    lf.lfWeight = t.weight;
    lf.lfItalic = t.italic;
    lf.lfCharSet = t.charSet;
    size_t n = std::min(t.faceName.size(), sizeof(lf.lfFaceName) - 1);
    std::copy_n(t.faceName.data(), n, lf.lfFaceName);
  }
  return CreateFontIndirect(&lf);
}

// Keeps a top-level rectangle on the screen's work area where it fits.
void KeepOnScreen(RECT& r) {
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = std::max(std::min(static_cast<int>(r.left), static_cast<int>(work.right) - w), static_cast<int>(work.left));
  int y = std::max(std::min(static_cast<int>(r.top), static_cast<int>(work.bottom) - h), static_cast<int>(work.top));
  r = RECT{x, y, x + w, y + h};
}

RECT PlaceDialog(const DialogTemplate& t, DWORD style, DWORD exStyle, HWND parent, SIZE base) {
  RECT r{0, 0, MulDiv(t.cx, base.cx, 4), MulDiv(t.cy, base.cy, 8)};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  int x = MulDiv(t.x, base.cx, 4) + r.left, y = MulDiv(t.y, base.cy, 8) + r.top;
  OffsetRect(&r, -r.left, -r.top);
  bool child = (style & WS_CHILD) != 0;
  if (child) {
    OffsetRect(&r, x, y);
    return r;
  }
  if (t.style & DS_CENTER) {
    RECT around{};
    if (parent && IsWindowVisible(parent) && !IsIconic(parent))
      GetWindowRect(parent, &around);
    else
      SystemParametersInfo(SPI_GETWORKAREA, 0, &around, 0);
    x = (around.left + around.right - r.right) / 2;
    y = (around.top + around.bottom - r.bottom) / 2;
  } else if (t.style & DS_CENTERMOUSE) {
    POINT cursor{};
    GetCursorPos(&cursor);
    x = cursor.x - r.right / 2;
    y = cursor.y - r.bottom / 2;
  } else if (parent && !(t.style & DS_ABSALIGN)) {
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    x += origin.x;
    y += origin.y;
  }
  OffsetRect(&r, x, y);
  KeepOnScreen(r);
  return r;
}

// The creation data of a control as CreateWindowEx hands it on: its size as a WORD, then the bytes.
std::vector<BYTE> CreationBlock(const DialogItemTemplate& item) {
  if (item.creationData.empty()) return {};
  std::vector<BYTE> block(2 + item.creationData.size());
  WORD size = static_cast<WORD>(block.size());
  block[0] = static_cast<BYTE>(size & 0xFF);
  block[1] = static_cast<BYTE>(size >> 8);
  std::copy(item.creationData.begin(), item.creationData.end(), block.begin() + 2);
  return block;
}

bool CreateControls(HWND dialog, HINSTANCE instance, const DialogTemplate& t, DialogState& state) {
  for (const DialogItemTemplate& item : t.items) {
    // Position and size convert separately, as the dialog manager has always done.
    int x = MulDiv(item.x, state.base.cx, 4), y = MulDiv(item.y, state.base.cy, 8);
    int cx = MulDiv(item.cx, state.base.cx, 4), cy = MulDiv(item.cy, state.base.cy, 8);
    std::string className = item.ClassName();
    LPCSTR title = item.title.isOrdinal ? MAKEINTRESOURCE(item.title.ordinal) : item.title.text.c_str();
    std::vector<BYTE> data = CreationBlock(item);
    DWORD style = item.style, exStyle = item.exStyle;
    // Every dialog has the 3-D look (the system gives it to programs of its own version, with or
    // without DS_3DLOOK): an edit's plain border becomes a sunken client edge.
    if ((style & WS_BORDER) && className == "Edit") {
      style &= ~WS_BORDER;
      exStyle |= WS_EX_CLIENTEDGE;
    }
    HWND control = CreateWindowEx(exStyle | WS_EX_NOPARENTNOTIFY, className.c_str(), title,
                                  style | WS_CHILD, x, y, cx, cy,
                                  dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance,
                                  data.empty() ? nullptr : data.data());
    if (!IsWindow(dialog)) return false;
    if (control == nullptr) {
      if (t.style & DS_NOFAILCREATE) continue;
      return false;
    }
    if (state.font) SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    if (state.defId == 0 && (SendMessage(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
      state.defId = static_cast<UINT>(item.id);
  }
  return true;
}

HWND CreateDialogCore(HINSTANCE instance, const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param,
                      LPCSTR initResource) {
  EnsureDialogClass();
  DWORD style = t.style, exStyle = t.exStyle;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  if (style & DS_CONTROL) {
    style &= ~(WS_CAPTION | WS_SYSMENU);
    exStyle |= WS_EX_CONTROLPARENT;
  }
  if (style & DS_SYSMODAL) exStyle |= WS_EX_TOPMOST;
  if (style & DS_CONTEXTHELP) exStyle |= WS_EX_CONTEXTHELP;
  if ((style & WS_CHILD) && (parent == nullptr || !IsWindow(parent))) return nullptr;

  auto state = std::make_shared<DialogState>();
  state->font = CreateTemplateFont(t);
  state->ownsFont = state->font != nullptr;
  state->base = DialogBaseUnitsOf(state->font);

  RECT r = PlaceDialog(t, style, exStyle, parent, state->base);
  LPCSTR className = t.windowClass.empty() ? BRAMBOLT_DIALOG_CLASS : t.windowClass.AsResource();
  HWND dialog = CreateWindowEx(exStyle, className, t.title.c_str(), style & ~WS_VISIBLE, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, parent, nullptr, instance,
                               reinterpret_cast<LPVOID>(param));
  if (dialog == nullptr) {
    if (state->ownsFont) DeleteObject(state->font);
    return nullptr;
  }
  dlg::Attach(dialog, state);
  SetWindowLongPtr(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  if (state->font) SendMessage(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
  if (!IsWindow(dialog) || !CreateControls(dialog, instance, t, *state)) {
    if (IsWindow(dialog)) DestroyWindow(dialog);
    return nullptr;
  }
  if (initResource) ExecuteDialogInitResource(dialog, instance, initResource);

  HWND first = dlg::FirstFocusControl(dialog);
  LRESULT focusDefault = SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  if (!IsWindow(dialog)) return nullptr;
  // The control focused now is not remembered: the dialog remembers the focus only when it is
  // left, so a focus the program moves afterwards stays where it put it.
  if (focusDefault && (!(style & DS_CONTROL) || (style & WS_VISIBLE))) {
    // The controls may have changed in WM_INITDIALOG: look for the first one again.
    if (HWND target = dlg::FirstFocusControl(dialog)) dlg::SetDialogFocus(target);
  }
  if (IsWindow(dialog) && (style & WS_VISIBLE) && !state->ended) ShowWindow(dialog, SW_SHOWNORMAL);
  return IsWindow(dialog) ? dialog : nullptr;
}

std::optional<DialogTemplate> LoadTemplate(HINSTANCE instance, LPCSTR name) {
  HRSRC found = FindResource(instance, name, RT_DIALOG);
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(instance, found);
  const void* data = LockResource(loaded);
  if (data == nullptr) return std::nullopt;
  return ParseDialogTemplate(data, SizeofResource(instance, found));
}

std::optional<DialogTemplate> ParseMemoryTemplate(LPCDLGTEMPLATE t) {
  if (t == nullptr) return std::nullopt;
  // A template in memory carries no size; the reader stops at the end of its last item.
  return ParseDialogTemplate(t, INT_MAX);
}

void FillBackground(HWND dialog, HDC hdc) {
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessage(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(dialog)));
  if (brush == nullptr) brush = GetSysColorBrush(COLOR_3DFACE);
  RECT r;
  GetClientRect(dialog, &r);
  FillRect(hdc, &r, brush);
}

void SaveFocus(HWND dialog, DialogState& state) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus)) state.savedFocus = focus;
}

// Gives the focus back to the control that had it when the dialog was left: the control is
// remembered once, so a later activation with nothing new remembered leaves the focus alone.
// False when there was none to give it to.
bool RestoreSavedFocus(HWND dialog, DialogState& state) {
  HWND saved = state.savedFocus;
  state.savedFocus = nullptr;
  if (saved == nullptr || !IsWindow(saved) || !IsChild(dialog, saved) || !IsWindowEnabled(saved)) return false;
  SetFocus(saved);
  return true;
}

void RestoreFocus(HWND dialog, DialogState& state) {
  if (RestoreSavedFocus(dialog, state)) return;
  if (HWND first = dlg::FirstFocusControl(dialog)) dlg::SetDialogFocus(first);
}

// An activated dialog takes the keyboard, as every activated window does unless it is minimised:
// the control remembered when it was left gets the focus back; a focus the program put inside the
// dialog stays; else its first control takes it (an edit's selection left as it is) or, when none
// can, the dialog itself, so Esc and Enter still reach the dialog manager. A WM_ACTIVATE that a
// program sends itself only gives the remembered control back: with none, the focus stays.
void TakeFocusOnActivation(HWND dialog, DialogState& state) {
  if (RestoreSavedFocus(dialog, state) || !wm::IsBeingActivated(dialog)) return;
  HWND focus = GetFocus();
  if (focus == dialog || (focus && IsChild(dialog, focus))) return;
  HWND first = dlg::FirstFocusControl(dialog);
  SetFocus(first ? first : dialog);
}

// A window whose class keeps the dialog's extra bytes and hands its messages to DefDlgProc is a
// dialog even when no template made it: it gets the dialog's state (default button, saved focus)
// the first time DefDlgProc sees it. A dialog made from a template gets its own state on creation.
void AdoptDialogWindow(HWND hwnd) {
  if (StateOf(hwnd) || !IsWindow(hwnd)) return;
  if (static_cast<int>(GetClassLongPtr(hwnd, GCL_CBWNDEXTRA)) < DLGWINDOWEXTRA) return;
  auto state = std::make_shared<DialogState>();
  state->base = DialogBaseUnitsOf(nullptr);
  dlg::Attach(hwnd, std::move(state));
}

// Messages whose answer is the dialog procedure's return value itself, not DWLP_MSGRESULT.
bool ReturnsDirectly(UINT msg) {
  switch (msg) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
    case WM_QUERYNEWPALETTE:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
  }
  return false;
}

LRESULT DefaultDialogHandling(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<DialogState> state = StateOf(dialog);
  if (state == nullptr) return DefWindowProc(dialog, msg, wParam, lParam);
  switch (msg) {
    case WM_ERASEBKGND:
      FillBackground(dialog, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_NCDESTROY:
      if (auto s = dlg::Detach(dialog); s && s->ownsFont && s->font) DeleteObject(s->font);
      return DefWindowProc(dialog, msg, wParam, lParam);
    case WM_SHOWWINDOW:
      if (!wParam) SaveFocus(dialog, *state);
      return DefWindowProc(dialog, msg, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        SaveFocus(dialog, *state);
      else if (!HIWORD(wParam))
        TakeFocusOnActivation(dialog, *state);
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(dialog, *state);
      return 0;
    case DM_SETDEFID:
      if (!state->ended) dlg::SetDefaultId(dialog, static_cast<UINT>(wParam));
      return TRUE;
    case DM_GETDEFID: {
      if (state->ended) return 0;
      if (state->defId != 0) return MAKELONG(state->defId, DC_HASDEFID);
      // No id set: a child push button in the default style stands for it.
      for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        if (SendMessage(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return MAKELONG(GetDlgCtrlID(c), DC_HASDEFID);
      return 0;
    }
    case DM_REPOSITION:
      if (!(GetWindowLong(dialog, GWL_STYLE) & WS_CHILD)) {
        RECT r;
        GetWindowRect(dialog, &r);
        KeepOnScreen(r);
        SetWindowPos(dialog, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    case WM_NEXTDLGCTL:
      dlg::NextDialogControl(dialog, wParam, lParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_SETFONT:
      if (state->ownsFont && state->font && state->font != reinterpret_cast<HFONT>(wParam)) {
        DeleteObject(state->font);
        state->ownsFont = false;
      }
      state->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(dialog, nullptr, TRUE);
      return 0;
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (cancel == nullptr || IsWindowEnabled(cancel))
        PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      else
        MessageBeep(0);
      return 0;
    }
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return -1;
  }
  return DefWindowProc(dialog, msg, wParam, lParam);
}

}  // namespace

SIZE DialogBaseUnitsOf(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SIZE extent{};
  GetTextExtentPoint32(dc, kLetters, 52, &extent);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  SIZE base{(extent.cx / 26 + 1) / 2, tm.tmHeight};
  if (base.cx <= 0) base.cx = 1;
  if (base.cy <= 0) base.cy = 1;
  return base;
}

HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND parent, DLGPROC proc,
                              LPARAM param) {
  return CreateDialogCore(instance, dialogTemplate, parent, proc, param, nullptr);
}

void LendModalOwner(HWND owner, bool lend) {
  auto& lent = dlg::t_lentOwners;
  lent.erase(std::remove(lent.begin(), lent.end(), owner), lent.end());
  if (lend && owner != nullptr) lent.push_back(owner);
}

bool DialogEnded(HWND dialog, INT_PTR* result) {
  auto state = StateOf(dialog);
  if (state == nullptr || !state->ended) return false;
  if (result) *result = state->result;
  return true;
}

INT_PTR RunModalDialog(HWND dialog, HWND owner, bool showAtOnce) {
  auto state = StateOf(dialog);
  if (state == nullptr) return -1;
  state->modal = true;
  if (owner && IsWindow(owner) && IsWindowEnabled(owner) && !state->ended) {
    // A lent owner stays enabled; it is enabled at the end all the same, since whoever lent it
    // may disable it again meanwhile.
    if (!dlg::IsOwnerLent(owner)) EnableWindow(owner, FALSE);
    state->disabledOwner = owner;
  }
  // The mouse is the dialog's now: a window that held the capture loses it.
  if (!state->ended && GetCapture() != nullptr) ReleaseCapture();
  auto show = [dialog, state]() {
    if (state->ended || !IsWindow(dialog) || IsWindowVisible(dialog)) return;
    ShowWindow(dialog, SW_SHOWNORMAL);
    if (GetWindowLong(dialog, GWL_STYLE) & DS_SETFOREGROUND) SetForegroundWindow(dialog);
  };
  if (showAtOnce) show();
  ModalLoopOptions options;
  options.filterCode = MSGF_DIALOGBOX;
  if (!(GetWindowLong(dialog, GWL_STYLE) & DS_NOIDLEMSG)) options.idleOwner = owner;
  options.preTranslate = [dialog](MSG& msg) { return IsDialogMessage(dialog, &msg) != FALSE; };
  options.done = [state]() { return state->ended; };
  // A dialog made without WS_VISIBLE shows once the messages its creation left are handled, or
  // once a timer message has been handled when a busy timer keeps the queue from running dry.
  options.onFirstEmpty = show;
  options.onTimerHandled = show;
  if (!state->ended) {
    state->modalOwner = owner;
    dlg::t_runningModal.push_back(state);
    RunModalLoop(dialog, options);
    dlg::t_runningModal.erase(std::find(dlg::t_runningModal.begin(), dlg::t_runningModal.end(), state));
    state->modalOwner = nullptr;
  }
  if (state->disabledOwner && IsWindow(state->disabledOwner)) EnableWindow(state->disabledOwner, TRUE);
  state->disabledOwner = nullptr;
  INT_PTR result = state->result;
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return result;
}

bool ExecuteDialogInit(HWND dialog, const void* data, std::size_t size) {
  const BYTE* p = static_cast<const BYTE*>(data);
  auto word = [&](std::size_t at) { return static_cast<WORD>(p[at] | (p[at + 1] << 8)); };
  std::size_t pos = 0;
  while (pos + 2 <= size) {
    WORD id = word(pos);
    if (id == 0) return true;
    if (pos + 8 > size) return false;
    WORD msg = word(pos + 2);
    DWORD length = word(pos + 4) | (static_cast<DWORD>(word(pos + 6)) << 16);
    pos += 8;
    if (length > size - pos) return false;
    // The 16-bit list and combo messages of the format stand for today's ones.
    UINT message = msg == 0x0401 ? LB_ADDSTRING : (msg == 0x0403 || msg == 0x1234) ? CB_ADDSTRING : msg;
    std::string text(reinterpret_cast<const char*>(p + pos), length);
    SendDlgItemMessage(dialog, id, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
    pos += length;
  }
  return pos == size;
}

bool ExecuteDialogInitResource(HWND dialog, HINSTANCE instance, LPCSTR templateName) {
  HRSRC found = FindResource(instance, templateName, RT_DLGINIT);
  if (found == nullptr) return true;
  const void* data = LockResource(LoadResource(instance, found));
  return data != nullptr && ExecuteDialogInit(dialog, data, SizeofResource(instance, found));
}

}  // namespace brambolt

using namespace brambolt;

HWND CreateDialogParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param) {
  auto t = LoadTemplate(instance, templateName);
  if (!t) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return CreateDialogCore(instance, *t, parent, proc, param, templateName);
}

HWND CreateDialogIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
                               LPARAM param) {
  auto t = ParseMemoryTemplate(dialogTemplate);
  if (!t) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateDialogCore(instance, *t, parent, proc, param, nullptr);
}

namespace {

HWND ModalOwner(HWND parent) {
  if (parent == nullptr || !IsWindow(parent)) return nullptr;
  return GetAncestor(parent, GA_ROOT);
}

INT_PTR RunTemplate(HINSTANCE instance, const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param,
                    LPCSTR initResource) {
  HWND owner = ModalOwner(parent);
  DialogTemplate modal = t;
  modal.style &= ~WS_CHILD;
  // A dialog made visible shows once its owner is disabled, so that it is shown as the modal
  // dialog of a disabled owner from the start (the desktop marks it so when it is mapped).
  const bool visible = (modal.style & WS_VISIBLE) != 0;
  modal.style &= ~WS_VISIBLE;
  HWND dialog = CreateDialogCore(instance, modal, owner, proc, param, initResource);
  if (dialog == nullptr) return -1;
  return RunModalDialog(dialog, owner, visible);
}

}  // namespace

INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param) {
  auto t = LoadTemplate(instance, templateName);
  if (!t) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return -1;
  }
  return RunTemplate(instance, *t, parent, proc, param, templateName);
}

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
                               LPARAM param) {
  auto t = ParseMemoryTemplate(dialogTemplate);
  if (!t) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  return RunTemplate(instance, *t, parent, proc, param, nullptr);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  auto state = StateOf(dialog);
  if (state == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  state->ended = true;
  state->result = result;
  // The owner comes back before the dialog hides, so activation returns to it. A modeless
  // dialog gives a disabled owner back too (its caller disabled it to make the dialog modal).
  HWND owner = state->disabledOwner;
  if (owner == nullptr && !state->modal) {
    HWND modelessOwner = GetWindow(dialog, GW_OWNER);
    if (modelessOwner && !IsWindowEnabled(modelessOwner)) owner = modelessOwner;
  }
  state->disabledOwner = nullptr;
  const bool wasActive = GetActiveWindow() == dialog;
  if (owner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindowVisible(dialog)) ShowWindow(dialog, SW_HIDE);
  if (owner && IsWindow(owner) && IsWindowEnabled(owner)) {
    if (wasActive && GetActiveWindow() != owner) {
      SetActiveWindow(owner);
    } else if (GetActiveWindow() == owner && GetFocus() == nullptr) {
      // Already active (a dialog that lends its owner lets the user click it meanwhile), the
      // owner gets the keyboard back as its activation would give it: the focus it lost while
      // the dialog held it disabled is nowhere now.
      SetFocus(owner);
    }
  }
  PostMessage(dialog, WM_NULL, 0, 0);
  return TRUE;
}

LRESULT DefDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_NCDESTROY) AdoptDialogWindow(dialog);
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtr(dialog, DWLP_DLGPROC));
  if (proc && dlg::StateOf(dialog)) {
    SetWindowLongPtr(dialog, DWLP_MSGRESULT, 0);
    INT_PTR handled = proc(dialog, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
      // The state goes whatever the procedure answered.
    } else if (ReturnsDirectly(msg)) {
      if (handled) return handled;
    } else if (handled || !IsWindow(dialog)) {
      return IsWindow(dialog) ? GetWindowLongPtr(dialog, DWLP_MSGRESULT) : 0;
    }
  }
  return DefaultDialogHandling(dialog, msg, wParam, lParam);
}

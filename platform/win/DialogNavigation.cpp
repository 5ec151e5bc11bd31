// Keyboard navigation in dialogs: the tab order and groups, mnemonics, the default button, and
// IsDialogMessage, which turns Tab, arrows, Enter, Esc and mnemonics into those moves.
#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include <strings.h>

#include "base/CodePage.h"
#include "win/DialogInternal.h"
#include "win/WinKeys.h"

namespace brambolt::dlg {
namespace {

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLong(h, GWL_STYLE)); }

UINT DialogCode(HWND h, WPARAM key = 0, LPMSG msg = nullptr) {
  return static_cast<UINT>(SendMessage(h, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(msg)));
}

// Controls in tab order: the dialog's children in z-order, with the children of visible, enabled
// control parents (WS_EX_CONTROLPARENT) in place of the parent itself.
void Collect(HWND parent, std::vector<HWND>& out) {
  for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    DWORD style = Style(c);
    bool container = (GetWindowLong(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && (style & WS_VISIBLE) &&
                     !(style & WS_DISABLED);
    if (container)
      Collect(c, out);
    else
      out.push_back(c);
  }
}

std::vector<HWND> Controls(HWND dialog) {
  std::vector<HWND> out;
  Collect(dialog, out);
  return out;
}

// Visible and enabled as far as the dialog goes (the dialog itself may still be hidden).
bool Usable(HWND dialog, HWND h) {
  for (HWND a = h; a != nullptr && a != dialog; a = GetParent(a)) {
    DWORD style = Style(a);
    if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) return false;
  }
  return true;
}

// Where a search that starts from `h` stands in the list: its index (first and last alike), or,
// for a control parent whose children stand in its place, the first and last of them; {-1, -1}
// when it is none of them and holds none of them.
std::pair<int, int> SpanOf(const std::vector<HWND>& list, HWND h) {
  int first = -1, last = -1;
  for (int i = 0; i < static_cast<int>(list.size()); ++i) {
    HWND c = list[static_cast<size_t>(i)];
    if (c != h && !(h != nullptr && IsChild(h, c))) continue;
    if (first < 0) first = i;
    last = i;
  }
  return {first, last};
}

// Index of `h` (or of its nearest ancestor among them) in the list; -1 when it is none of them.
int IndexOf(const std::vector<HWND>& list, HWND h) {
  for (HWND a = h; a != nullptr; a = GetParent(a)) {
    auto it = std::find(list.begin(), list.end(), a);
    if (it != list.end()) return static_cast<int>(it - list.begin());
    if (!(Style(a) & WS_CHILD)) break;
  }
  return -1;
}

// The dialog whose keyboard interface takes in `dialog`: a DS_CONTROL child dialog, and any child
// control parent, is part of the dialog that holds it, so the climb goes on through them and
// ends at the outermost dialog reached (a window that is no dialog never takes the keys).
HWND OutermostDialog(HWND dialog) {
  HWND outer = dialog;
  for (HWND h = dialog; h != nullptr && (Style(h) & WS_CHILD);) {
    bool controlDialog = (Style(h) & DS_CONTROL) && StateOf(h) != nullptr;
    if (!controlDialog && !(GetWindowLong(h, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) break;
    h = GetParent(h);
    if (h != nullptr && StateOf(h) != nullptr) outer = h;
  }
  return outer;
}

bool IsPushButton(UINT code) { return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0; }

void SetButtonLook(HWND button, bool asDefault) {
  UINT code = DialogCode(button);
  if (asDefault && (code & DLGC_UNDEFPUSHBUTTON))
    SendMessage(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  else if (!asDefault && (code & DLGC_DEFPUSHBUTTON))
    SendMessage(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
}

HWND DefaultButton(HWND dialog, const DialogState& state) {
  if (state.defId == 0) return nullptr;
  HWND h = GetDlgItem(dialog, static_cast<int>(state.defId));
  return h && IsPushButton(DialogCode(h)) ? h : nullptr;
}

// The mnemonic of a control text: the character after a single '&', upper-cased; 0 without one.
unsigned MnemonicOf(const std::string& text) {
  for (size_t i = 0; i < text.size(); i = NextCharacter(text, i)) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '&') {
      if (i + 1 >= text.size()) return 0;
      unsigned char next = static_cast<unsigned char>(text[i + 1]);
      if (next == '&') {
        ++i;
        continue;
      }
      return next < 0x80 ? static_cast<unsigned>(std::toupper(next)) : next;
    }
  }
  return 0;
}

bool CarriesText(HWND h, UINT code) {
  if (!(code & DLGC_STATIC)) return true;
  char cls[32] = {};
  GetClassName(h, cls, sizeof(cls));
  if (strcasecmp(cls, WC_BUTTON) == 0) return true;  // a group box
  DWORD style = Style(h), type = style & SS_TYPEMASK;
  bool textStatic = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
                    type == SS_LEFTNOWORDWRAP;
  return textStatic && !(style & SS_NOPREFIX);
}

// The mnemonic of a control that can take one: 0 for one that cannot.
unsigned ControlMnemonic(HWND dialog, HWND h) {
  if (!Usable(dialog, h) || !CarriesText(h, DialogCode(h))) return 0;
  char text[512] = {};
  GetWindowText(h, text, sizeof(text));
  return MnemonicOf(text);
}

bool HandleMnemonic(HWND dialog, HWND from, unsigned ch) {
  if (ch == 0 || ch == ' ' || ch < 0x20) return false;
  unsigned wanted = ch < 0x80 ? static_cast<unsigned>(std::toupper(static_cast<int>(ch))) : ch;
  std::vector<HWND> list = Controls(dialog);
  int n = static_cast<int>(list.size());
  int start = IndexOf(list, from);
  // A mnemonic that several controls share only moves the focus on to the next of them, so the
  // user reaches the one meant without pressing the others on the way; once the focus is on a push
  // button that carries it (which makes that button the default one), the mnemonic presses it.
  if (start >= 0 && list[static_cast<size_t>(start)] == from && ControlMnemonic(dialog, from) == wanted &&
      (DialogCode(from) & DLGC_DEFPUSHBUTTON)) {
    SendMessage(from, BM_CLICK, 0, 0);
    return true;
  }
  for (int k = 1; k <= n; ++k) {
    HWND h = list[static_cast<size_t>(((start + k) % n + n) % n)];
    if (ControlMnemonic(dialog, h) != wanted) continue;
    UINT code = DialogCode(h);
    const bool shared = std::any_of(list.begin(), list.end(),
                                    [&](HWND other) { return other != h && ControlMnemonic(dialog, other) == wanted; });
    if (code & DLGC_STATIC) {
      // A label hands the focus to the control that follows it.
      int at = IndexOf(list, h);
      for (int j = 1; j < n; ++j) {
        HWND next = list[static_cast<size_t>((at + j) % n)];
        if (!Usable(dialog, next) || (DialogCode(next) & DLGC_STATIC)) continue;
        SetDialogFocus(next);
        return true;
      }
      return true;
    }
    if (shared) {
      SetDialogFocus(h);
    } else if (IsPushButton(code)) {
      SendMessage(h, BM_CLICK, 0, 0);
    } else if (code & DLGC_BUTTON) {
      SetDialogFocus(h);
      SendMessage(h, BM_CLICK, 0, 0);
    } else {
      SetDialogFocus(h);
    }
    return true;
  }
  return false;
}

void PressEnter(HWND dialog, HWND focus, UINT code) {
  if ((code & DLGC_DEFPUSHBUTTON) && IsWindowEnabled(focus)) {
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
    return;
  }
  PressDialogDefault(dialog);
}

}  // namespace

HWND FirstFocusControl(HWND dialog) {
  if (HWND h = GetNextDlgTabItem(dialog, nullptr, FALSE)) return h;
  // No tab stop: the first control that can take the focus.
  for (HWND h : Controls(dialog))
    if (Usable(dialog, h)) return h;
  return nullptr;
}

void SetDialogFocus(HWND control) {
  if (control == nullptr) return;
  if (DialogCode(control) & DLGC_HASSETSEL) SendMessage(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

void SetDefaultId(HWND dialog, UINT id) {
  auto state = StateOf(dialog);
  if (state == nullptr) return;
  HWND old = DefaultButton(dialog, *state);
  state->defId = id;
  HWND focus = GetFocus();
  bool focusIsOtherButton = focus && IsChild(dialog, focus) && IsPushButton(DialogCode(focus));
  HWND now = DefaultButton(dialog, *state);
  if (old && old != now && old != focus) SetButtonLook(old, false);
  if (now && (!focusIsOtherButton || focus == now)) SetButtonLook(now, true);
}

void NextDialogControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
  HWND target;
  if (LOWORD(lParam)) {
    target = reinterpret_cast<HWND>(wParam);
  } else {
    HWND focus = GetFocus();
    if (focus && !IsChild(dialog, focus)) focus = nullptr;
    target = GetNextDlgTabItem(dialog, focus, wParam != 0);
  }
  if (target && IsChild(dialog, target)) SetDialogFocus(target);
}

}  // namespace brambolt::dlg

namespace brambolt {

void PressDialogDefault(HWND dialog, bool needControl) {
  dialog = dlg::OutermostDialog(dialog);
  LRESULT def = SendMessage(dialog, DM_GETDEFID, 0, 0);
  int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
  HWND button = GetDlgItem(dialog, id);
  if (needControl && button == nullptr && HIWORD(def) == DC_HASDEFID) return;
  if (button && !IsWindowEnabled(button)) {
    MessageBeep(0);
    return;
  }
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void DialogButtonFocusChanged(HWND button, bool gained) {
  HWND parent = GetParent(button);
  HWND dialog = dlg::DialogOf(parent);
  if (dialog != nullptr) dialog = dlg::OutermostDialog(dialog);
  auto state = dlg::StateOf(dialog);
  if (state == nullptr) return;
  HWND def = dlg::DefaultButton(dialog, *state);
  UINT code = dlg::DialogCode(button);
  if (gained) {
    if (!dlg::IsPushButton(code)) return;
    if (def && def != button) dlg::SetButtonLook(def, false);
    dlg::SetButtonLook(button, true);
    return;
  }
  HWND focus = GetFocus();
  bool toPushButton = focus && focus != button && IsChild(dialog, focus) && dlg::IsPushButton(dlg::DialogCode(focus));
  if (button != def) dlg::SetButtonLook(button, false);
  if (def && !toPushButton) dlg::SetButtonLook(def, true);
}

}  // namespace brambolt

using namespace brambolt;
using namespace brambolt::dlg;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  if (!IsWindow(dialog)) return nullptr;
  std::vector<HWND> list = Controls(dialog);
  int n = static_cast<int>(list.size());
  if (n == 0) return nullptr;
  // A control parent given as the start is left behind whole: the search goes on after (or
  // before) its children.
  auto [first, last] = SpanOf(list, control);
  int start = first < 0 ? IndexOf(list, control) : previous ? first : last;
  if (start < 0) start = previous ? n : -1;
  for (int k = 1; k <= n; ++k) {
    int i = ((start + (previous ? -k : k)) % n + n) % n;
    HWND h = list[static_cast<size_t>(i)];
    if ((Style(h) & WS_TABSTOP) && Usable(dialog, h)) return h;
  }
  return control;
}

// A group runs from a control with WS_GROUP up to the next one, in the order of the tab search:
// through the children of control parents at any depth, from a container's last child on to the
// control that follows the container. A child dialog (a page) holds its groups: they end with it.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  if (!IsWindow(dialog)) return nullptr;
  std::vector<HWND> list = Controls(dialog);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  int at = control != nullptr && IsChild(dialog, control) ? IndexOf(list, control) : -1;
  if (at < 0 && control != nullptr) {
    auto [first, last] = SpanOf(list, control);
    at = previous ? first : last;
  }
  // Without a control the search starts from the last control (the first one searching back),
  // which may itself be the answer: the first usable control of its group after it.
  const bool fromEnd = at < 0;
  if (fromEnd) at = previous ? 0 : n - 1;
  const HWND home = DialogOf(GetParent(list[static_cast<size_t>(at)]));
  auto inHome = [&](int i) { return DialogOf(GetParent(list[static_cast<size_t>(i)])) == home; };
  int first = at;
  while (first > 0 && !(Style(list[static_cast<size_t>(first)]) & WS_GROUP) && inHome(first - 1)) --first;
  int end = at + 1;
  while (end < n && !(Style(list[static_cast<size_t>(end)]) & WS_GROUP) && inHome(end)) ++end;
  int size = end - first;
  for (int k = 1; k < size + (fromEnd ? 1 : 0); ++k) {
    int offset = ((at - first + (previous ? -k : k)) % size + size) % size;
    HWND h = list[static_cast<size_t>(first + offset)];
    if (Usable(dialog, h)) return h;
  }
  return control;
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
  if (dialog == nullptr || msg == nullptr || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  HWND target = msg->hwnd;
  // A page inside a dialog is navigated together with the dialog around it.
  dialog = OutermostDialog(dialog);
  switch (msg->message) {
    case WM_KEYDOWN: {
      UINT code = DialogCode(target, msg->wParam, msg);
      if (code & DLGC_WANTMESSAGE) break;
      switch (msg->wParam) {
        case VK_TAB:
          if (code & DLGC_WANTTAB) break;
          SendMessage(dialog, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
          return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
          if (code & DLGC_WANTARROWS) break;
          bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
          HWND next = GetNextDlgGroupItem(dialog, target == dialog ? nullptr : target, back);
          if (next && next != target) {
            SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
            if (DialogCode(next) & DLGC_RADIOBUTTON) SendMessage(next, BM_CLICK, 0, 0);
          }
          return TRUE;
        }
        case VK_RETURN:
          PressEnter(dialog, target, code);
          return TRUE;
        case VK_ESCAPE: {
          HWND cancel = GetDlgItem(dialog, IDCANCEL);
          if (cancel == nullptr || IsWindowEnabled(cancel))
            SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
          return TRUE;
        }
      }
      break;
    }
    case WM_CHAR: {
      UINT code = DialogCode(target, msg->wParam, msg);
      if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) break;
      if (msg->wParam == '\t' && (code & DLGC_WANTTAB)) break;
      if (HandleMnemonic(dialog, target, static_cast<unsigned>(msg->wParam & 0xFF))) return TRUE;
      break;
    }
    case WM_SYSCHAR:
      if (HandleMnemonic(dialog, target, static_cast<unsigned>(msg->wParam & 0xFF))) return TRUE;
      break;
  }
  TranslateMessage(msg);
  DispatchMessage(msg);
  return TRUE;
}

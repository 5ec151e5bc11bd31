// Message boxes: a dialog laid out from the text, the icon and the buttons the type asks for.
#include "win/MessageBox.h"

#include <algorithm>
#include <string>
#include <vector>

#include "gdi/DC.h"
#include "gdi/Icons.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "gdi/Text.h"
#include "res/ResourceTemplates.h"
#include "win/Dialog.h"

namespace brambolt {
namespace {

struct Button {
  int id;
  const char* text;
};

struct Setup {
  std::string text;
  UINT type = 0;
  HWND owner = nullptr;
  std::vector<Button> buttons;
};

std::vector<Button> ButtonsOf(UINT type) {
  std::vector<Button> b;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: b = {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}; break;
    case MB_ABORTRETRYIGNORE: b = {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}}; break;
    case MB_YESNOCANCEL: b = {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}}; break;
    case MB_YESNO: b = {{IDYES, "&Yes"}, {IDNO, "&No"}}; break;
    case MB_RETRYCANCEL: b = {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}}; break;
    case MB_CANCELTRYCONTINUE: b = {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "&Try Again"}, {IDCONTINUE, "&Continue"}}; break;
    default: b = {{IDOK, "OK"}}; break;
  }
  if (type & MB_HELP) b.push_back({IDHELP, "Help"});
  return b;
}

LPCSTR IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
  }
  return nullptr;
}

bool HasButton(const Setup& s, int id) {
  return std::any_of(s.buttons.begin(), s.buttons.end(), [id](const Button& b) { return b.id == id; });
}

void Layout(HWND box, Setup& s) {
  auto font = reinterpret_cast<HFONT>(SendMessage(box, WM_GETFONT, 0, 0));
  SIZE base = DialogBaseUnitsOf(font);
  int margin = MulDiv(7, base.cx, 4);
  int gap = MulDiv(4, base.cx, 4);
  int buttonH = MulDiv(14, base.cy, 8);
  int buttonW = MulDiv(50, base.cx, 4);

  HDC dc = GetDC(box);
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  for (const Button& b : s.buttons) {
    SIZE e{};
    GetTextExtentPoint32(dc, b.text, static_cast<int>(strlen(b.text)), &e);
    buttonW = std::max<int>(buttonW, e.cx + 2 * base.cx);
  }
  RECT text{0, 0, GetSystemMetrics(SM_CXSCREEN) * 3 / 5, 0};
  DrawText(dc, s.text.c_str(), static_cast<int>(s.text.size()), &text,
           DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(box, dc);

  LPCSTR iconId = IconOf(s.type);
  HICON icon = iconId ? GetStandardIcon(iconId) : nullptr;
  int iconSize = icon ? GetSystemMetrics(SM_CXICON) : 0;
  int textLeft = margin + (icon ? iconSize + 2 * margin : 0);
  int textH = std::max<int>(text.bottom - text.top, icon ? iconSize : 0);
  int buttonsW = static_cast<int>(s.buttons.size()) * buttonW + static_cast<int>(s.buttons.size() - 1) * gap;
  int clientW = std::max<int>(textLeft + (text.right - text.left) + margin, buttonsW + 2 * margin);
  int buttonsTop = margin + textH + margin;
  int clientH = buttonsTop + buttonH + margin;

  HINSTANCE instance = nullptr;
  if (icon) {
    HWND hIcon = CreateWindowEx(0, WC_STATIC, nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, margin, margin, iconSize,
                                iconSize, box, reinterpret_cast<HMENU>(IDC_MESSAGEBOX_ICON), instance, nullptr);
    if (hIcon) SendMessage(hIcon, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
  int textTop = margin + (textH - (text.bottom - text.top)) / 2;
  DWORD align = (s.type & MB_RIGHT) ? SS_RIGHT : SS_LEFT;
  HWND label = CreateWindowEx(0, WC_STATIC, s.text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | align, textLeft,
                              textTop, text.right - text.left, text.bottom - text.top, box,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_MESSAGEBOX_TEXT)), instance, nullptr);
  if (label && font) SendMessage(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  size_t defIndex = std::min<size_t>((s.type & MB_DEFMASK) >> 8, s.buttons.size() - 1);
  int x = (clientW - buttonsW) / 2;
  HWND defButton = nullptr;
  for (size_t i = 0; i < s.buttons.size(); ++i) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                  (i == defIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND b = CreateWindowEx(0, WC_BUTTON, s.buttons[i].text, style, x, buttonsTop, buttonW, buttonH, box,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(s.buttons[i].id)), instance, nullptr);
    if (b && font) SendMessage(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (i == defIndex) defButton = b;
    x += buttonW + gap;
  }
  SendMessage(box, DM_SETDEFID, static_cast<WPARAM>(s.buttons[defIndex].id), 0);

  DWORD style = static_cast<DWORD>(GetWindowLong(box, GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(GetWindowLong(box, GWL_EXSTYLE));
  RECT frame{0, 0, clientW, clientH};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  int w = frame.right - frame.left, h = frame.bottom - frame.top;
  RECT around{};
  if (s.owner && IsWindowVisible(s.owner) && !IsIconic(s.owner))
    GetWindowRect(s.owner, &around);
  else
    SystemParametersInfo(SPI_GETWORKAREA, 0, &around, 0);
  SetWindowPos(box, nullptr, (around.left + around.right - w) / 2, (around.top + around.bottom - h) / 2, w, h,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessage(box, DM_REPOSITION, 0, 0);
  if (defButton) SetFocus(defButton);
}

INT_PTR CALLBACK MessageBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* s = reinterpret_cast<Setup*>(lParam);
      SetWindowLongPtr(box, DWLP_USER, lParam);
      Layout(box, *s);
      MessageBeep(s->type & MB_ICONMASK);
      return FALSE;
    }
    case WM_COMMAND: {
      auto* s = reinterpret_cast<Setup*>(GetWindowLongPtr(box, DWLP_USER));
      if (s == nullptr || HIWORD(wParam) != BN_CLICKED) return FALSE;
      int id = LOWORD(wParam);
      if (id == IDHELP) {
        HELPINFO info{};
        info.cbSize = sizeof(info);
        info.iContextType = HELPINFO_WINDOW;
        info.iCtrlId = IDHELP;
        info.hItemHandle = GetDlgItem(box, IDHELP);
        if (s->owner) SendMessage(s->owner, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        return TRUE;
      }
      if (id == IDCANCEL && !HasButton(*s, IDCANCEL)) {
        // Esc and the close box answer only where Cancel or OK is offered: OK is the answer then.
        if (HasButton(*s, IDOK)) EndDialog(box, IDOK);
        return TRUE;
      }
      if (HasButton(*s, id)) EndDialog(box, id);
      return TRUE;
    }
  }
  return FALSE;
}

std::vector<HWND> DisableThreadWindows() {
  std::vector<HWND> tops;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM p) {
        if (IsWindowEnabled(h) && IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tops));
  for (HWND h : tops) EnableWindow(h, FALSE);
  return tops;
}

}  // namespace
}  // namespace brambolt

using namespace brambolt;

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  // An owner that is no window fails the call: there is nobody to answer to.
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  Setup s;
  s.text = text ? text : "";
  s.type = type;
  s.owner = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  s.buttons = ButtonsOf(type);

  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  if (type & MB_SYSTEMMODAL) t.style |= DS_SYSMODAL;
  if (type & MB_SETFOREGROUND) t.style |= DS_SETFOREGROUND;
  if (type & MB_TOPMOST) t.exStyle |= WS_EX_TOPMOST;
  t.title = caption ? caption : "Error";
  t.hasFont = true;
  t.pointSize = 0x7FFF;

  std::vector<HWND> disabled;
  if ((type & MB_TASKMODAL) && s.owner == nullptr) disabled = DisableThreadWindows();
  HWND box = CreateDialogFromTemplate(nullptr, t, s.owner, MessageBoxProc, reinterpret_cast<LPARAM>(&s));
  int answer = 0;
  if (box) answer = static_cast<int>(RunModalDialog(box, s.owner));
  for (HWND h : disabled)
    if (IsWindow(h)) EnableWindow(h, TRUE);
  return answer;
}

int MessageBoxEx(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD languageId) {
  (void)languageId;
  return MessageBox(owner, text, caption, type);
}

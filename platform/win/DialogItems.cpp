// Dialog item helpers: numbers in controls, check and radio buttons, dialog units.
#include <cctype>
#include <climits>
#include <cstdio>

#include "win/DialogInternal.h"

using namespace brambolt;

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  char text[64] = {};
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) return 0;
  GetWindowText(item, text, sizeof(text));
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '-' && isSigned) {
    negative = true;
    ++p;
  } else if (*p == '+') {
    ++p;
  }
  if (!std::isdigit(static_cast<unsigned char>(*p))) return 0;
  unsigned long long value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
    value = value * 10 + static_cast<unsigned>(*p - '0');
    if (value > 0xFFFFFFFFull) return 0;
  }
  while (*p == ' ' || *p == '\t') ++p;
  if (*p != 0) return 0;
  if (isSigned) {
    unsigned long long limit = negative ? static_cast<unsigned long long>(INT_MAX) + 1 : INT_MAX;
    if (value > limit) return 0;
    if (translated) *translated = TRUE;
    long long v = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    return static_cast<UINT>(static_cast<int>(v));
  }
  if (translated) *translated = TRUE;
  return static_cast<UINT>(value);
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[16];
  if (isSigned)
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(value));
  else
    std::snprintf(text, sizeof(text), "%u", value);
  return SetDlgItemText(dialog, id, text);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) return FALSE;
  SendMessage(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item ? static_cast<UINT>(SendMessage(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
  if (!IsWindow(dialog)) return FALSE;
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(c);
    if (id >= firstId && id <= lastId) SendMessage(c, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}

LONG GetDialogBaseUnits() {
  SIZE base = DialogBaseUnitsOf(nullptr);
  return MAKELONG(base.cx, base.cy);
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  if (rect == nullptr || !IsWindow(dialog)) return FALSE;
  auto state = dlg::StateOf(dialog);
  SIZE base = state ? state->base
                    : DialogBaseUnitsOf(reinterpret_cast<HFONT>(SendMessage(dialog, WM_GETFONT, 0, 0)));
  rect->left = MulDiv(rect->left, base.cx, 4);
  rect->right = MulDiv(rect->right, base.cx, 4);
  rect->top = MulDiv(rect->top, base.cy, 8);
  rect->bottom = MulDiv(rect->bottom, base.cy, 8);
  return TRUE;
}

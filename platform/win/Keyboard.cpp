// The keyboard layout (US English): virtual keys, scan codes, characters and key names;
// TranslateMessage turns key messages into character messages with it.
#include <cstring>

#include "win/WindowManager.h"

namespace brambolt::wm {
namespace {

struct KeyInfo {
  BYTE vk;
  BYTE scan;
  bool extended;
  const char* name;
  char normal;
  char shifted;
};

// Set-1 scan codes of the US layout.
constexpr KeyInfo kKeys[] = {
    {VK_ESCAPE, 0x01, false, "Esc", 0x1B, 0x1B},
    {'1', 0x02, false, "1", '1', '!'},
    {'2', 0x03, false, "2", '2', '@'},
    {'3', 0x04, false, "3", '3', '#'},
    {'4', 0x05, false, "4", '4', '$'},
    {'5', 0x06, false, "5", '5', '%'},
    {'6', 0x07, false, "6", '6', '^'},
    {'7', 0x08, false, "7", '7', '&'},
    {'8', 0x09, false, "8", '8', '*'},
    {'9', 0x0A, false, "9", '9', '('},
    {'0', 0x0B, false, "0", '0', ')'},
    {VK_OEM_MINUS, 0x0C, false, "-", '-', '_'},
    {VK_OEM_PLUS, 0x0D, false, "=", '=', '+'},
    {VK_BACK, 0x0E, false, "Backspace", 0x08, 0x08},
    {VK_TAB, 0x0F, false, "Tab", '\t', '\t'},
    {'Q', 0x10, false, "Q", 'q', 'Q'},
    {'W', 0x11, false, "W", 'w', 'W'},
    {'E', 0x12, false, "E", 'e', 'E'},
    {'R', 0x13, false, "R", 'r', 'R'},
    {'T', 0x14, false, "T", 't', 'T'},
    {'Y', 0x15, false, "Y", 'y', 'Y'},
    {'U', 0x16, false, "U", 'u', 'U'},
    {'I', 0x17, false, "I", 'i', 'I'},
    {'O', 0x18, false, "O", 'o', 'O'},
    {'P', 0x19, false, "P", 'p', 'P'},
    {VK_OEM_4, 0x1A, false, "[", '[', '{'},
    {VK_OEM_6, 0x1B, false, "]", ']', '}'},
    {VK_RETURN, 0x1C, false, "Enter", '\r', '\r'},
    {VK_CONTROL, 0x1D, false, "Ctrl", 0, 0},
    {'A', 0x1E, false, "A", 'a', 'A'},
    {'S', 0x1F, false, "S", 's', 'S'},
    {'D', 0x20, false, "D", 'd', 'D'},
    {'F', 0x21, false, "F", 'f', 'F'},
    {'G', 0x22, false, "G", 'g', 'G'},
    {'H', 0x23, false, "H", 'h', 'H'},
    {'J', 0x24, false, "J", 'j', 'J'},
    {'K', 0x25, false, "K", 'k', 'K'},
    {'L', 0x26, false, "L", 'l', 'L'},
    {VK_OEM_1, 0x27, false, ";", ';', ':'},
    {VK_OEM_7, 0x28, false, "'", '\'', '"'},
    {VK_OEM_3, 0x29, false, "`", '`', '~'},
    {VK_SHIFT, 0x2A, false, "Shift", 0, 0},
    {VK_OEM_5, 0x2B, false, "\\", '\\', '|'},
    {'Z', 0x2C, false, "Z", 'z', 'Z'},
    {'X', 0x2D, false, "X", 'x', 'X'},
    {'C', 0x2E, false, "C", 'c', 'C'},
    {'V', 0x2F, false, "V", 'v', 'V'},
    {'B', 0x30, false, "B", 'b', 'B'},
    {'N', 0x31, false, "N", 'n', 'N'},
    {'M', 0x32, false, "M", 'm', 'M'},
    {VK_OEM_COMMA, 0x33, false, ",", ',', '<'},
    {VK_OEM_PERIOD, 0x34, false, ".", '.', '>'},
    {VK_OEM_2, 0x35, false, "/", '/', '?'},
    {VK_RSHIFT, 0x36, false, "Right Shift", 0, 0},
    {VK_MULTIPLY, 0x37, false, "Num *", '*', '*'},
    {VK_MENU, 0x38, false, "Alt", 0, 0},
    {VK_SPACE, 0x39, false, "Space", ' ', ' '},
    {VK_CAPITAL, 0x3A, false, "Caps Lock", 0, 0},
    {VK_F1, 0x3B, false, "F1", 0, 0},
    {VK_F2, 0x3C, false, "F2", 0, 0},
    {VK_F3, 0x3D, false, "F3", 0, 0},
    {VK_F4, 0x3E, false, "F4", 0, 0},
    {VK_F5, 0x3F, false, "F5", 0, 0},
    {VK_F6, 0x40, false, "F6", 0, 0},
    {VK_F7, 0x41, false, "F7", 0, 0},
    {VK_F8, 0x42, false, "F8", 0, 0},
    {VK_F9, 0x43, false, "F9", 0, 0},
    {VK_F10, 0x44, false, "F10", 0, 0},
    {VK_PAUSE, 0x45, false, "Pause", 0, 0},
    {VK_SCROLL, 0x46, false, "Scroll Lock", 0, 0},
    {VK_NUMPAD7, 0x47, false, "Num 7", '7', '7'},
    {VK_NUMPAD8, 0x48, false, "Num 8", '8', '8'},
    {VK_NUMPAD9, 0x49, false, "Num 9", '9', '9'},
    {VK_SUBTRACT, 0x4A, false, "Num -", '-', '-'},
    {VK_NUMPAD4, 0x4B, false, "Num 4", '4', '4'},
    {VK_NUMPAD5, 0x4C, false, "Num 5", '5', '5'},
    {VK_NUMPAD6, 0x4D, false, "Num 6", '6', '6'},
    {VK_ADD, 0x4E, false, "Num +", '+', '+'},
    {VK_NUMPAD1, 0x4F, false, "Num 1", '1', '1'},
    {VK_NUMPAD2, 0x50, false, "Num 2", '2', '2'},
    {VK_NUMPAD3, 0x51, false, "Num 3", '3', '3'},
    {VK_NUMPAD0, 0x52, false, "Num 0", '0', '0'},
    {VK_DECIMAL, 0x53, false, "Num Del", '.', '.'},
    {VK_OEM_102, 0x56, false, "\\", '\\', '|'},
    {VK_F11, 0x57, false, "F11", 0, 0},
    {VK_F12, 0x58, false, "F12", 0, 0},
    {VK_NUMLOCK, 0x45, true, "Num Lock", 0, 0},
    {VK_DIVIDE, 0x35, true, "Num /", '/', '/'},
    {VK_RCONTROL, 0x1D, true, "Right Ctrl", 0, 0},
    {VK_RMENU, 0x38, true, "Right Alt", 0, 0},
    {VK_HOME, 0x47, true, "Home", 0, 0},
    {VK_UP, 0x48, true, "Up", 0, 0},
    {VK_PRIOR, 0x49, true, "Page Up", 0, 0},
    {VK_LEFT, 0x4B, true, "Left", 0, 0},
    {VK_RIGHT, 0x4D, true, "Right", 0, 0},
    {VK_END, 0x4F, true, "End", 0, 0},
    {VK_DOWN, 0x50, true, "Down", 0, 0},
    {VK_NEXT, 0x51, true, "Page Down", 0, 0},
    {VK_INSERT, 0x52, true, "Insert", 0, 0},
    {VK_DELETE, 0x53, true, "Delete", 0, 0},
    {VK_LWIN, 0x5B, true, "Left Windows", 0, 0},
    {VK_RWIN, 0x5C, true, "Right Windows", 0, 0},
    {VK_APPS, 0x5D, true, "Application", 0, 0},
    {VK_SNAPSHOT, 0x37, true, "Prnt Scrn", 0, 0},
    {VK_LSHIFT, 0x2A, false, "Shift", 0, 0},
    {VK_LCONTROL, 0x1D, false, "Ctrl", 0, 0},
    {VK_LMENU, 0x38, false, "Alt", 0, 0},
};

const KeyInfo* ByVk(UINT vk) {
  for (const KeyInfo& k : kKeys)
    if (k.vk == vk) return &k;
  return nullptr;
}

const KeyInfo* ByScan(UINT scan, bool extended) {
  for (const KeyInfo& k : kKeys)
    if (k.scan == scan && k.extended == extended) return &k;
  return nullptr;
}

// The character a key gives with the thread's modifier state; -1 for none.
int CharacterOf(UINT vk, const BYTE* state) {
  bool shift = state[VK_SHIFT] & 0x80, ctrl = state[VK_CONTROL] & 0x80;
  bool caps = state[VK_CAPITAL] & 0x01, numLock = state[VK_NUMLOCK] & 0x01;
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return numLock ? '0' + static_cast<int>(vk - VK_NUMPAD0) : -1;
  if (vk == VK_DECIMAL && !numLock) return -1;
  const KeyInfo* k = ByVk(vk);
  if (k == nullptr || k->normal == 0) return -1;
  if (ctrl) {
    if (vk >= 'A' && vk <= 'Z') return static_cast<int>(vk - 'A' + 1);
    switch (vk) {
      case VK_OEM_4: return 0x1B;
      case VK_OEM_5: return 0x1C;
      case VK_OEM_6: return 0x1D;
      case VK_BACK: return 0x7F;
      case VK_RETURN: return '\n';
      case VK_SPACE: return ' ';
      case VK_ESCAPE: return 0x1B;
      case VK_CANCEL: return 0x03;
      case '6': return shift ? 0x1E : -1;
      case VK_OEM_MINUS: return shift ? 0x1F : -1;
      case '2': return shift ? 0x00 : -1;
    }
    return -1;
  }
  bool upper = shift;
  if (vk >= 'A' && vk <= 'Z' && caps) upper = !upper;
  return static_cast<unsigned char>(upper ? k->shifted : k->normal);
}

}  // namespace
}  // namespace brambolt::wm

using namespace brambolt;
using namespace brambolt::wm;

BOOL TranslateMessage(const MSG* msg) {
  if (msg == nullptr) return FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
    return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
  }
  // A plain F1 asks for help: the window gets WM_KEYF1, which its default handling makes WM_HELP.
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_F1 && GetKeyState(VK_SHIFT) >= 0 &&
      GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
    PostMessage(msg->hwnd, WM_KEYF1, 0, 0);
    return TRUE;
  }
  int ch = CharacterOf(static_cast<UINT>(msg->wParam), CurrentQueue()->keyState);
  if (ch >= 0)
    PostMessage(msg->hwnd, msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR,
                static_cast<WPARAM>(ch), msg->lParam);
  return TRUE;
}

UINT MapVirtualKey(UINT code, UINT mapType) {
  switch (mapType) {
    case MAPVK_VK_TO_VSC: {
      const KeyInfo* k = ByVk(code);
      return k ? k->scan : 0;
    }
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX: {
      const KeyInfo* k = ByScan(code & 0xFF, (code & 0xE000) == 0xE000);
      if (k == nullptr) return 0;
      if (mapType == MAPVK_VSC_TO_VK) {
        if (k->vk == VK_LSHIFT || k->vk == VK_RSHIFT) return VK_SHIFT;
        if (k->vk == VK_LCONTROL || k->vk == VK_RCONTROL) return VK_CONTROL;
        if (k->vk == VK_LMENU || k->vk == VK_RMENU) return VK_MENU;
      } else if (k->vk == VK_SHIFT) {
        return VK_LSHIFT;
      }
      return k->vk;
    }
    case MAPVK_VK_TO_CHAR: {
      if (code >= 'A' && code <= 'Z') return code;
      if (code >= VK_NUMPAD0 && code <= VK_NUMPAD9) return '0' + (code - VK_NUMPAD0);
      const KeyInfo* k = ByVk(code);
      return k ? static_cast<unsigned char>(k->normal) : 0;
    }
  }
  return 0;
}

UINT MapVirtualKeyEx(UINT code, UINT mapType, void*) { return MapVirtualKey(code, mapType); }

int GetKeyNameText(LONG lParam, LPSTR name, int size) {
  if (name == nullptr || size <= 0) return 0;
  UINT scan = (static_cast<DWORD>(lParam) >> 16) & 0xFF;
  bool extended = (lParam & 0x01000000) != 0;
  const KeyInfo* k = ByScan(scan, extended);
  // "Do not care" about left and right (bit 25) folds the right-hand modifiers.
  if (k && (lParam & 0x02000000)) {
    if (k->vk == VK_RSHIFT) k = ByVk(VK_SHIFT);
    if (k->vk == VK_RCONTROL) k = ByVk(VK_CONTROL);
    if (k->vk == VK_RMENU) k = ByVk(VK_MENU);
  }
  if (k == nullptr && extended) k = ByScan(scan, false);
  if (k == nullptr) {
    name[0] = 0;
    return 0;
  }
  int n = static_cast<int>(std::strlen(k->name));
  if (n > size - 1) n = size - 1;
  std::memcpy(name, k->name, static_cast<size_t>(n));
  name[n] = 0;
  return n;
}

SHORT VkKeyScan(CHAR ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  for (const KeyInfo& k : kKeys) {
    if (k.vk >= VK_NUMPAD0 && k.vk <= VK_DIVIDE) continue;
    if (static_cast<unsigned char>(k.normal) == c) return k.vk;
    if (static_cast<unsigned char>(k.shifted) == c && k.normal != k.shifted) return static_cast<SHORT>(k.vk | 0x100);
  }
  if (c >= 1 && c <= 26) return static_cast<SHORT>(('A' + c - 1) | 0x200);
  return -1;
}

SHORT VkKeyScanEx(CHAR ch, void*) { return VkKeyScan(ch); }

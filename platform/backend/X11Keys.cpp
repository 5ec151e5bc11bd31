// Keysyms to virtual keys and characters, pointer buttons to mouse messages.
#include "backend/X11Keys.h"

#include <X11/keysym.h>

#include "base/Convert.h"
#include "win/WinKeys.h"
#include "win/WinMessages.h"
#include "win/WinUser.h"

namespace brambolt::x11 {
namespace {

struct KeysymKey {
  unsigned long keysym;
  UINT vk;
  bool extended;
};

constexpr KeysymKey kKeysyms[] = {
    {XK_BackSpace, VK_BACK, false},     {XK_Tab, VK_TAB, false},
    {XK_ISO_Left_Tab, VK_TAB, false},   {XK_Return, VK_RETURN, false},
    {XK_Escape, VK_ESCAPE, false},      {XK_space, VK_SPACE, false},
    {XK_Pause, VK_PAUSE, false},        {XK_Break, VK_CANCEL, true},
    {XK_Scroll_Lock, VK_SCROLL, false}, {XK_Print, VK_SNAPSHOT, true},
    {XK_Sys_Req, VK_SNAPSHOT, true},    {XK_Caps_Lock, VK_CAPITAL, false},
    {XK_Num_Lock, VK_NUMLOCK, true},    {XK_Menu, VK_APPS, true},
    {XK_Shift_L, VK_LSHIFT, false},     {XK_Shift_R, VK_RSHIFT, false},
    {XK_Control_L, VK_LCONTROL, false}, {XK_Control_R, VK_RCONTROL, true},
    {XK_Alt_L, VK_LMENU, false},        {XK_Meta_L, VK_LMENU, false},
    {XK_Alt_R, VK_RMENU, true},         {XK_Meta_R, VK_RMENU, true},
    {XK_Super_L, VK_LWIN, true},        {XK_Super_R, VK_RWIN, true},
    // The editing block and the arrows are the extended keys; their keypad twins are not.
    {XK_Home, VK_HOME, true},           {XK_End, VK_END, true},
    {XK_Prior, VK_PRIOR, true},         {XK_Next, VK_NEXT, true},
    {XK_Left, VK_LEFT, true},           {XK_Right, VK_RIGHT, true},
    {XK_Up, VK_UP, true},               {XK_Down, VK_DOWN, true},
    {XK_Insert, VK_INSERT, true},       {XK_Delete, VK_DELETE, true},
    {XK_KP_Home, VK_HOME, false},       {XK_KP_End, VK_END, false},
    {XK_KP_Prior, VK_PRIOR, false},     {XK_KP_Next, VK_NEXT, false},
    {XK_KP_Left, VK_LEFT, false},       {XK_KP_Right, VK_RIGHT, false},
    {XK_KP_Up, VK_UP, false},           {XK_KP_Down, VK_DOWN, false},
    {XK_KP_Insert, VK_INSERT, false},   {XK_KP_Delete, VK_DELETE, false},
    {XK_KP_Begin, VK_CLEAR, false},     {XK_KP_Enter, VK_RETURN, true},
    {XK_KP_0, VK_NUMPAD0, false},       {XK_KP_1, VK_NUMPAD1, false},
    {XK_KP_2, VK_NUMPAD2, false},       {XK_KP_3, VK_NUMPAD3, false},
    {XK_KP_4, VK_NUMPAD4, false},       {XK_KP_5, VK_NUMPAD5, false},
    {XK_KP_6, VK_NUMPAD6, false},       {XK_KP_7, VK_NUMPAD7, false},
    {XK_KP_8, VK_NUMPAD8, false},       {XK_KP_9, VK_NUMPAD9, false},
    {XK_KP_Decimal, VK_DECIMAL, false}, {XK_KP_Separator, VK_DECIMAL, false},
    {XK_KP_Multiply, VK_MULTIPLY, false}, {XK_KP_Add, VK_ADD, false},
    {XK_KP_Subtract, VK_SUBTRACT, false}, {XK_KP_Divide, VK_DIVIDE, true},
    {XK_semicolon, VK_OEM_1, false},    {XK_equal, VK_OEM_PLUS, false},
    {XK_comma, VK_OEM_COMMA, false},    {XK_minus, VK_OEM_MINUS, false},
    {XK_period, VK_OEM_PERIOD, false},  {XK_slash, VK_OEM_2, false},
    {XK_grave, VK_OEM_3, false},        {XK_bracketleft, VK_OEM_4, false},
    {XK_backslash, VK_OEM_5, false},    {XK_bracketright, VK_OEM_6, false},
    {XK_apostrophe, VK_OEM_7, false},   {XK_less, VK_OEM_102, false},
};

bool IsKeypad(unsigned long keysym) { return keysym >= XK_KP_Space && keysym <= XK_KP_Equal; }

}  // namespace

VirtualKey KeysymToVirtualKey(unsigned long keysym, unsigned keycode) {
  // AltGr only selects characters here: as Alt it would open menus when released alone.
  if (keysym == XK_ISO_Level3_Shift || keysym == XK_Mode_switch) return {};
  if (keysym >= XK_a && keysym <= XK_z) return {static_cast<UINT>(keysym - XK_a + 'A'), false};
  if (keysym >= XK_A && keysym <= XK_Z) return {static_cast<UINT>(keysym), false};
  if (keysym >= XK_0 && keysym <= XK_9) return {static_cast<UINT>(keysym), false};
  if (keysym >= XK_F1 && keysym <= XK_F24) return {static_cast<UINT>(VK_F1 + (keysym - XK_F1)), false};
  for (const KeysymKey& k : kKeysyms)
    if (k.keysym == keysym) return {k.vk, k.extended};
  // Letters of other scripts and symbols of other layouts: the key at that place on the PC
  // keyboard, as the system's layouts assign virtual keys to them.
  if (keycode >= 9 && keycode < 9 + 0x59) {
    UINT vk = MapVirtualKey(keycode - 8, MAPVK_VSC_TO_VK_EX);
    if (vk != 0) return {vk, false};
  }
  return {};
}

char32_t KeysymToUnicode(unsigned long keysym) {
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF))
    return static_cast<char32_t>(keysym);
  // Keysyms of the form 0x01000000 + code point cover every character outside Latin-1.
  if (keysym >= 0x01000100 && keysym <= 0x0110FFFF) return static_cast<char32_t>(keysym & 0x1FFFFF);
  // The currency signs kept their old keysyms, U+20A0 to U+20AC (the euro).
  if (keysym >= 0x20A0 && keysym <= 0x20AC) return static_cast<char32_t>(keysym);
  switch (keysym) {
    case XK_BackSpace: return 0x08;
    case XK_Tab:
    case XK_ISO_Left_Tab: return 0x09;
    case XK_Return:
    case XK_KP_Enter: return 0x0D;
    case XK_Escape: return 0x1B;
    case XK_KP_Space: return ' ';
    case XK_KP_Multiply: return '*';
    case XK_KP_Add: return '+';
    case XK_KP_Subtract: return '-';
    case XK_KP_Decimal: return '.';
    case XK_KP_Divide: return '/';
    case XK_KP_Equal: return '=';
  }
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<char32_t>('0' + (keysym - XK_KP_0));
  return 0;
}

bool LayoutTypes(UINT vk, unsigned char ch, bool shift, bool capsLock, bool numLock) {
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return numLock && ch == '0' + (vk - VK_NUMPAD0);
  if (vk == VK_DECIMAL) return numLock && ch == '.';
  if (vk == VK_MULTIPLY || vk == VK_ADD || vk == VK_SUBTRACT || vk == VK_DIVIDE)
    return ch == MapVirtualKey(vk, MAPVK_VK_TO_CHAR);
  if (vk >= 'A' && vk <= 'Z') {
    bool upper = shift != capsLock;
    return ch == (upper ? vk : vk - 'A' + 'a');
  }
  SHORT scan = VkKeyScan(static_cast<CHAR>(ch));
  if (scan == -1 || (scan & 0xFF) != static_cast<SHORT>(vk) || (scan & 0x600)) return false;
  if (scan & 0x100) return shift;
  // Keys whose character ignores Shift (Tab, Enter, Esc, Backspace, Space).
  return !shift || ch < 0x20 || ch == ' ';
}

KeyTranslation TranslateKey(unsigned long keysym, unsigned long typed, unsigned keycode, bool shift,
                            bool ctrl, bool capsLock, bool numLock) {
  KeyTranslation out;
  out.key = KeysymToVirtualKey(IsKeypad(typed) ? typed : keysym, keycode);
  char32_t ch = ctrl ? 0 : KeysymToUnicode(typed);
  if (ch == 0) {
    // A dead key, or a character of an older keysym set this table does not convert: better
    // nothing typed than the character the US layout has at that place.
    bool character = (typed >= 0x100 && typed < 0x1000) || (typed >= XK_dead_grave && typed <= 0xFE93);
    if (!ctrl && character && out.key.vk != 0) out.key = {VK_PROCESSKEY, false};
    return out;
  }
  std::string ansi;
  if (!CodePageBytesOf(ch, ansi)) {
    // A character the code page cannot hold is refused (the backend beeps), never typed as
    // another; nor does the key type what the layout has at its place.
    if (out.key.vk != 0) out.key = {VK_PROCESSKEY, false};
    out.refused = true;
    return out;
  }
  if (ansi.size() == 1 && out.key.vk != 0 &&
      LayoutTypes(out.key.vk, static_cast<unsigned char>(ansi[0]), shift, capsLock, numLock))
    return out;
  // The layout would type something else (another keyboard, a dead key's result, a character of
  // the code page's second half): the key goes as one an input method took, the character apart.
  out.key = {VK_PROCESSKEY, false};
  out.characters = std::move(ansi);
  return out;
}

UINT ButtonMessage(unsigned button, bool press) {
  switch (button) {
    case 1: return press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case 2: return press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    case 3: return press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
  }
  return 0;
}

int WheelDelta(unsigned button) {
  if (button == 4) return WHEEL_DELTA;
  if (button == 5) return -WHEEL_DELTA;
  return 0;
}

}  // namespace brambolt::x11

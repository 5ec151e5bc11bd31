// How X keyboard and pointer events become the window manager's input: keysyms to virtual keys
// and characters, buttons to mouse messages. Pure tables, usable without a display.
#pragma once

#include <string>

#include "base/base.h"

namespace brambolt::x11 {

// A key as the platform sees it: the virtual key, and whether it is an extended key (bit 24 of
// the key messages' lParam: the right-hand Ctrl and Alt, the arrow and editing block, Num /).
struct VirtualKey {
  UINT vk = 0;
  bool extended = false;
};

// The virtual key of a keysym. `keysym` is the key's unshifted keysym, except on the keypad where
// it is the keysym with Num Lock applied (KP_1 gives VK_NUMPAD1, KP_End gives VK_END). Keys the
// table lacks fall back to the key's position: X keycodes of the PC keyboard are its set-1 scan
// codes plus 8. vk 0: no key for the platform (AltGr, which only selects characters).
VirtualKey KeysymToVirtualKey(unsigned long keysym, unsigned keycode);

// The Unicode character a keysym types (with the modifiers already applied), 0 when it types none.
char32_t KeysymToUnicode(unsigned long keysym);

// Whether TranslateMessage, with its keyboard layout, turns `vk` into the character `ch` (a byte
// of the ANSI code page) under these modifiers. When it does not, the backend delivers the
// character itself.
bool LayoutTypes(UINT vk, unsigned char ch, bool shift, bool capsLock, bool numLock);

// What a key event delivers: the key, then (when the layout would not type them) character bytes
// in the ANSI code page, a double-byte character as its two bytes. Keys whose character is not
// known (dead keys, older non-Latin keysyms) type nothing.
struct KeyTranslation {
  VirtualKey key;
  std::string characters;
  bool refused = false;  // the key types a character the code page cannot hold
};
// keysym: the unshifted keysym; typed: the keysym with the modifiers applied (XLookupString).
// ctrl: Control held, so the key is a shortcut and characters come from the layout alone.
KeyTranslation TranslateKey(unsigned long keysym, unsigned long typed, unsigned keycode, bool shift,
                            bool ctrl, bool capsLock, bool numLock);

// A pointer button: the message of a press or release of buttons 1 to 3 (left, middle, right), 0
// for other buttons.
UINT ButtonMessage(unsigned button, bool press);
// The wheel turn of a button press (4 away from the user, 5 towards), in WHEEL_DELTA units; 0
// for other buttons.
int WheelDelta(unsigned button);

}  // namespace brambolt::x11

// What the menu functions share with the tracking loop and the menu bar: snapshots of a menu's
// items and the highlight of an item.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "win/Menu.h"

namespace brambolt::menus {

struct Item {
  UINT type = MFT_STRING;
  UINT state = 0;
  UINT id = 0;
  HMENU sub = nullptr;
  std::string text;
  HBITMAP bitmap = nullptr;
  HBITMAP checked = nullptr;
  HBITMAP unchecked = nullptr;
  ULONG_PTR data = 0;

  bool IsSeparator() const { return (type & MFT_SEPARATOR) != 0; }
  bool IsDisabled() const { return (state & (MF_GRAYED | MF_DISABLED)) != 0; }
  bool IsOwnerDraw() const { return (type & MFT_OWNERDRAW) != 0; }
};

// A copy of the items of a menu; nullopt for a handle that is not a menu.
std::optional<std::vector<Item>> Items(HMENU menu);
// Sets or clears MF_HILITE of the item at a position.
void SetHilite(HMENU menu, int position, bool on);
// Whether an item may open the menu: it exists, destroyed or not while an item holds it.
bool Usable(HMENU menu);

// Where the items of a popup were on the screen when it was last shown; GetMenuItemRect answers
// with them once the popup is closed.
void SetShownRects(HMENU menu, std::vector<RECT> rects);
std::optional<RECT> ShownRect(HMENU menu, UINT item);

// Gives the window manager the menu bar's layout, painting and keyboard and mouse access.
void InstallMenuBarHooks();

// The mnemonic of a text: the character after the first single '&', upper-cased; 0 for none.
unsigned Mnemonic(const std::string& text);

}  // namespace brambolt::menus

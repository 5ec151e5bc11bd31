// Where the modules built on the window manager (menus, dialogs, MDI) plug into its default
// behaviour without the window manager knowing them.
#pragma once

#include "win/WinUser.h"

namespace brambolt {

// The menu module's part of the non-client area of top-level windows.
struct MenuBarHooks {
  // Height of the bar of `menu` laid out in `width` pixels.
  int (*height)(HWND hwnd, HMENU menu, int width) = nullptr;
  // Paints the bar into a window DC at `bar` (window coordinates).
  void (*paint)(HWND hwnd, HMENU menu, HDC hdc, const RECT& bar) = nullptr;
  // WM_SYSCOMMAND SC_KEYMENU (key: the character, 0 for a lone Alt or F10) and SC_MOUSEMENU
  // (point in screen coordinates, hit: HTMENU or HTSYSMENU).
  void (*keyMenu)(HWND hwnd, UINT key) = nullptr;
  void (*mouseMenu)(HWND hwnd, int hit, POINT screen) = nullptr;
};
void SetMenuBarHooks(const MenuBarHooks& hooks);
const MenuBarHooks& GetMenuBarHooks();

// Offers WM_CONTEXTMENU to the parents of `hwnd` as DefWindowProc does and tells whether none of
// them took it: the offer went up to the first window that is not a child, which left it to
// DefWindowProc too. A control with a menu of its own shows it then.
bool ContextMenuUnclaimed(HWND hwnd, WPARAM wParam, LPARAM lParam);

}  // namespace brambolt

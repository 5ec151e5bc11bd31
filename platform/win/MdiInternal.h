// Inside the MDI client: the record each client keeps, and the arrangement rules (cascade, tile,
// icon slots) as functions over rectangles. MdiClient.cpp owns the protocol and the window menu,
// MdiArrange.cpp the geometry, MdiProcs.cpp the frame and child procedures and the keyboard.
#pragma once

#include <string>
#include <vector>

#include "win/Mdi.h"
#include "win/Menu.h"

namespace brambolt::mdi {

struct Client {
  HWND hwnd = nullptr;
  HWND frame = nullptr;
  HMENU frameMenu = nullptr;   // the frame's menu the client maintains
  HMENU windowMenu = nullptr;  // the popup that lists the children
  UINT idFirst = 0;
  DWORD style = 0;
  std::vector<HWND> children;  // children[i] has id idFirst + i
  HWND active = nullptr;
  HWND buttonsFor = nullptr;   // the maximised child whose system menu and buttons are in frameMenu
  std::string frameTitle;      // the frame's own title, without the maximised child's
  int cascadeNext = 0;         // the slot of the next child placed by default
};

// The record of a client window; null for any other window.
Client* ClientOf(HWND hwnd);

// Activates a child (null: none), with the notifications, the caption states, the window menu's
// check and a maximised state that moves to the new child.
void Activate(Client& c, HWND child);
// The active child leaves (destroyed, or hidden, when `deactivate` tells it so first): the window
// below it is activated, maximised when the one that leaves was.
void Leave(Client& c, HWND child, bool deactivate);
// The child's window went (or is going) away: its id goes to the last child, the next is activated.
void Forget(Client& c, HWND child);
// Puts the system menu and the caption buttons of a maximised active child into the frame's menu
// bar (or takes them out) and the child's title into the frame's.
void SyncMaximized(Client& c);
// Rebuilds the child list at the end of the window menu.
void RefreshWindowMenu(Client& c);
// The frame title with the maximised child's title added.
void UpdateFrameTitle(Client& c);
// Children in z-order, topmost first, that `flags` (MDITILE_SKIPDISABLED) and `iconic` allow.
std::vector<HWND> Arrangeable(const Client& c, UINT flags, bool iconic);
void Cascade(Client& c, UINT flags);
void Tile(Client& c, UINT flags);
void ArrangeIcons(Client& c);
// Where a child that is being minimised goes: the first free slot at the bottom of the client.
POINT FreeIconSlot(Client& c, HWND child);
// The "Select Window" dialog of "More Windows...": the chosen child, or null.
HWND ChooseWindow(Client& c);
// The window rectangle that makes a child's client area cover the client (maximised).
RECT MaximizedRect(HWND client, HWND child);

// ---- geometry ----

// The offset from one cascaded window to the next: a caption and a frame.
int CascadeStep();
// Rectangles of `count` cascaded windows in `area`, back to front.
std::vector<RECT> CascadeRects(const RECT& area, int count);
// Rectangles of `count` tiled windows in `area`, in reading order.
std::vector<RECT> TileRects(const RECT& area, int count, bool horizontal);
// The rectangle of icon slot `index` in a client area of the given size: left to right along the
// bottom, then rows above.
RECT IconSlotRect(const RECT& area, int index);
// The height the icon rows take at the bottom of `area` for `icons` icons.
int IconRowsHeight(const RECT& area, int icons);

}  // namespace brambolt::mdi

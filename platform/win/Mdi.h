// The multiple-document interface: the MDI client window class ("MDICLIENT") and its messages,
// the default procedures of MDI frames and children, and the keyboard of MDI children.
#pragma once

#include "win/WinUser.h"

#define MDICLIENT_CLASS "MDICLIENT"

#define WM_MDICREATE 0x0220
#define WM_MDIDESTROY 0x0221
#define WM_MDIACTIVATE 0x0222
#define WM_MDIRESTORE 0x0223
#define WM_MDINEXT 0x0224
#define WM_MDIMAXIMIZE 0x0225
#define WM_MDITILE 0x0226
#define WM_MDICASCADE 0x0227
#define WM_MDIICONARRANGE 0x0228
#define WM_MDIGETACTIVE 0x0229
#define WM_MDISETMENU 0x0230
#define WM_MDIREFRESHMENU 0x0234

// WM_MDITILE and WM_MDICASCADE flags. Vertical tiling puts the windows side by side, horizontal
// tiling one above the other.
#define MDITILE_VERTICAL 0x0000
#define MDITILE_HORIZONTAL 0x0001
#define MDITILE_SKIPDISABLED 0x0002
#define MDITILE_ZORDER 0x0004

// MDI client style: children keep every style they ask for (otherwise they are overlapped
// windows with a caption, a system menu, a sizing frame and both boxes).
#define MDIS_ALLCHILDSTYLES 0x0001

typedef struct tagCLIENTCREATESTRUCT {
  HANDLE hWindowMenu;  // the popup the client lists its children in (may be null)
  UINT idFirstChild;   // the id of the first child and of its window-menu item
} CLIENTCREATESTRUCT, *LPCLIENTCREATESTRUCT;

typedef struct tagMDICREATESTRUCTA {
  LPCSTR szClass;
  LPCSTR szTitle;
  HANDLE hOwner;  // instance
  int x;
  int y;
  int cx;
  int cy;
  DWORD style;
  LPARAM lParam;  // reaches the child as lpCreateParams of its CREATESTRUCT's MDICREATESTRUCT
} MDICREATESTRUCT, MDICREATESTRUCTA, *LPMDICREATESTRUCT, *LPMDICREATESTRUCTA;

// The "More Windows..." item follows the first nine children in the window menu.
#define MDI_MOREWINDOWS_OFFSET 9

// The procedure a frame passes the messages it does not handle to: commands of the window menu
// and of a maximised child's menu-bar buttons, sizing of the client, activation of the active child.
LRESULT DefFrameProc(HWND frame, HWND mdiClient, UINT msg, WPARAM wParam, LPARAM lParam);
// The procedure of MDI children: activation, maximising and minimising inside the client, the
// system commands Ctrl+F4, Ctrl+F6 and Ctrl+Shift+F6, and the window menu's titles.
LRESULT DefMDIChildProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam);
// Turns Ctrl+F4, Ctrl+F6 and Ctrl+Shift+F6 into system commands of the active child; TRUE when it did.
BOOL TranslateMDISysAccel(HWND mdiClient, LPMSG msg);
HWND CreateMDIWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height,
                     HWND mdiClient, HINSTANCE instance, LPARAM lParam);
#define CreateMDIWindowA CreateMDIWindow
#define DefFrameProcA DefFrameProc
#define DefMDIChildProcA DefMDIChildProc

namespace brambolt {

// The client window of an MDI child (its parent when that is an MDI client), null otherwise.
HWND MdiClientOf(HWND child);
bool IsMdiClient(HWND hwnd);

}  // namespace brambolt

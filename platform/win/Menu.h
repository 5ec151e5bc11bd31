// Menus: menu objects and their items, menus from resource templates, window menus and the
// system menu, and the popup-menu tracking loop.
#pragma once

#include <string>
#include <vector>

#include "res/ResourceTypes.h"
#include "win/DialogControls.h"
#include "win/WinUser.h"

#ifndef ERROR_MENU_ITEM_NOT_FOUND
#define ERROR_MENU_ITEM_NOT_FOUND 1456L
#endif

// Item flags of AppendMenu, InsertMenu, ModifyMenu and friends (the template flags come from the
// resource module).
#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_ENABLED 0x00000000L
#define MF_UNCHECKED 0x00000000L
#define MF_USECHECKBITMAPS 0x00000200L
#define MF_STRING 0x00000000L
#define MF_DEFAULT 0x00001000L
#define MF_SYSMENU 0x00002000L
#define MF_UNHILITE 0x00000000L
#define MF_HILITE 0x00000080L
#define MF_MOUSESELECT 0x00008000L

#define MFT_STRING MF_STRING
#define MFT_BITMAP MF_BITMAP
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK MF_MENUBREAK
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFT_RADIOCHECK 0x00000200L
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_RIGHTORDER 0x00002000L
#define MFT_RIGHTJUSTIFY MF_RIGHTJUSTIFY

#define MFS_GRAYED 0x00000003L
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_ENABLED MF_ENABLED
#define MFS_UNCHECKED MF_UNCHECKED
#define MFS_UNHILITE MF_UNHILITE
#define MFS_DEFAULT MF_DEFAULT

#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_SUBMENU 0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE 0x00000010
#define MIIM_DATA 0x00000020
#define MIIM_STRING 0x00000040
#define MIIM_BITMAP 0x00000080
#define MIIM_FTYPE 0x00000100

// Predefined bitmaps of MFT_BITMAP items, drawn by the menu itself: the system-menu icon of a
// maximised MDI child (its HWND in the item data) and its caption buttons in the menu bar.
#define HBMMENU_CALLBACK ((HBITMAP)-1)
#define HBMMENU_SYSTEM ((HBITMAP)1)
#define HBMMENU_MBAR_RESTORE ((HBITMAP)2)
#define HBMMENU_MBAR_MINIMIZE ((HBITMAP)3)
#define HBMMENU_MBAR_CLOSE ((HBITMAP)5)
#define HBMMENU_MBAR_CLOSE_D ((HBITMAP)6)
#define HBMMENU_MBAR_MINIMIZE_D ((HBITMAP)7)
#define HBMMENU_POPUP_CLOSE ((HBITMAP)8)
#define HBMMENU_POPUP_RESTORE ((HBITMAP)9)
#define HBMMENU_POPUP_MAXIMIZE ((HBITMAP)10)
#define HBMMENU_POPUP_MINIMIZE ((HBITMAP)11)

#define GMDI_USEDISABLED 0x0001L
#define GMDI_GOINTOPOPUPS 0x0002L

// TrackPopupMenu
#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_HORIZONTAL 0x0000L
#define TPM_VERTICAL 0x0040L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L
#define TPM_RECURSE 0x0001L

// WM_MENUCHAR answers (high word of the result).
#define MNC_IGNORE 0
#define MNC_CLOSE 1
#define MNC_EXECUTE 2
#define MNC_SELECT 3

// The window class of popup menus.
#define MENU_WINDOW_CLASS "#32768"

typedef struct tagMENUITEMINFOA {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPSTR dwTypeData;
  UINT cch;
  HBITMAP hbmpItem;
} MENUITEMINFO, MENUITEMINFOA, *LPMENUITEMINFO, *LPMENUITEMINFOA;
typedef const MENUITEMINFO* LPCMENUITEMINFO;

// Menu-wide settings (GetMenuInfo / SetMenuInfo).
#define MIM_MAXHEIGHT 0x00000001
#define MIM_BACKGROUND 0x00000002
#define MIM_HELPID 0x00000004
#define MIM_MENUDATA 0x00000008
#define MIM_STYLE 0x00000010
#define MIM_APPLYTOSUBMENUS 0x80000000
#define MNS_NOCHECK 0x80000000
#define MNS_MODELESS 0x40000000
#define MNS_DRAGDROP 0x20000000
#define MNS_AUTODISMISS 0x10000000
#define MNS_NOTIFYBYPOS 0x08000000
#define MNS_CHECKORBMP 0x04000000

typedef struct tagMENUINFO {
  DWORD cbSize;
  DWORD fMask;
  DWORD dwStyle;
  UINT cyMax;
  HBRUSH hbrBack;
  DWORD dwContextHelpID;
  ULONG_PTR dwMenuData;
} MENUINFO, *LPMENUINFO;
typedef const MENUINFO* LPCMENUINFO;

// The menu bar, the system menu or a popup of a window (GetMenuBarInfo); rcBar in screen coordinates.
#define OBJID_SYSMENU (static_cast<LONG>(0xFFFFFFFF))
#define OBJID_MENU (static_cast<LONG>(0xFFFFFFFD))
#define OBJID_CLIENT (static_cast<LONG>(0xFFFFFFFC))
typedef struct tagMENUBARINFO {
  DWORD cbSize;
  RECT rcBar;
  HMENU hMenu;
  HWND hwndMenu;
  BOOL fBarFocused : 1;
  BOOL fFocused : 1;
} MENUBARINFO, *PMENUBARINFO, *LPMENUBARINFO;

// To a popup menu window: its menu.
#define MN_GETHMENU 0x01E1

typedef struct tagTPMPARAMS {
  UINT cbSize;
  RECT rcExclude;
} TPMPARAMS, *LPTPMPARAMS;

// ---- menu objects ----
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and every submenu it opens.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// Items are found by command (searching submenus too) or by position (MF_BYPOSITION).
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
// RemoveMenu keeps the submenu of the item; DeleteMenu destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);
// (UINT)-1 for an item that opens a submenu or a position out of range.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuString(HMENU menu, UINT item, LPSTR text, int maxCount, UINT flags);
// MF_ flags of the item; for a submenu item the submenu's item count in the high byte;
// (UINT)-1 when there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Both return the previous state (MF_CHECKED / MF_ENABLED, MF_GRAYED, MF_DISABLED) or (DWORD)-1.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFO info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info);
BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFO info);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
BOOL SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked);
LONG GetMenuCheckMarkDimensions();
BOOL GetMenuInfo(HMENU menu, LPMENUINFO info);
BOOL SetMenuInfo(HMENU menu, LPCMENUINFO info);

// ---- menus from templates ----
// A MENU or MENUEX template as LockResource gives it.
HMENU LoadMenuIndirect(const void* menuTemplate);
HMENU LoadMenu(HINSTANCE instance, LPCSTR name);

// ---- window menus ----
HMENU GetMenu(HWND hwnd);
// NULL removes the menu bar; the old menu is not destroyed.
BOOL SetMenu(HWND hwnd, HMENU menu);
BOOL DrawMenuBar(HWND hwnd);
// The window's copy of the system menu (made on first use); bRevert throws the copy away and
// returns NULL.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect);
// OBJID_MENU: the menu bar (idItem 0) or its item idItem (from 1); OBJID_CLIENT: the popup menu
// window hwnd while it is tracked.
BOOL GetMenuBarInfo(HWND hwnd, LONG idObject, LONG idItem, PMENUBARINFO info);

// ---- tracking ----
// Shows the popup at (x, y) in screen coordinates and runs a modal loop until an item is chosen
// or the menu is cancelled. With TPM_RETURNCMD the chosen id is returned (0 when cancelled);
// otherwise it is posted to the owner as WM_COMMAND and the result is TRUE.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
// Ends the menu loop of the calling thread, as if the menu were cancelled.
BOOL EndMenu();

#define AppendMenuA AppendMenu
#define InsertMenuA InsertMenu
#define ModifyMenuA ModifyMenu
#define GetMenuStringA GetMenuString
#define GetMenuItemInfoA GetMenuItemInfo
#define SetMenuItemInfoA SetMenuItemInfo
#define InsertMenuItemA InsertMenuItem
#define LoadMenuIndirectA LoadMenuIndirect
#define LoadMenuA LoadMenu

namespace brambolt {

// The owner of the menu loop running on this thread, and the popup it tracks (null when none).
HWND MenuLoopOwner();
HMENU TrackedMenu();

}  // namespace brambolt

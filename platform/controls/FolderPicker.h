// The folder picker in place of the shell's folder browser: SHBrowseForFolder with BROWSEINFO, its
// callback messages, item lists of our own that hold a path, SHGetPathFromIDList.
#pragma once

#include <string>

#include "win/WinUser.h"

// An item list here holds one absolute path: cb counts the bytes of the item (cb itself included),
// the path follows NUL-terminated, then a zero cb ends the list, as an item list ends.
typedef struct _SHITEMID {
  USHORT cb;
  BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
  SHITEMID mkid;
} ITEMIDLIST, *LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef LPITEMIDLIST PIDLIST_ABSOLUTE;
typedef LPCITEMIDLIST PCIDLIST_ABSOLUTE;

typedef int(CALLBACK* BFFCALLBACK)(HWND hwnd, UINT msg, LPARAM lParam, LPARAM data);

typedef struct _browseinfoA {
  HWND hwndOwner;
  PCIDLIST_ABSOLUTE pidlRoot;
  LPSTR pszDisplayName;
  LPCSTR lpszTitle;
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;
} BROWSEINFOA, *PBROWSEINFOA, *LPBROWSEINFOA, BROWSEINFO, *LPBROWSEINFO;

#define BIF_RETURNONLYFSDIRS 0x00000001
#define BIF_DONTGOBELOWDOMAIN 0x00000002
#define BIF_STATUSTEXT 0x00000004
#define BIF_RETURNFSANCESTORS 0x00000008
#define BIF_EDITBOX 0x00000010
#define BIF_VALIDATE 0x00000020
#define BIF_NEWDIALOGSTYLE 0x00000040
#define BIF_BROWSEFORCOMPUTER 0x00001000
#define BIF_BROWSEFORPRINTER 0x00002000
#define BIF_BROWSEINCLUDEFILES 0x00004000

#define BFFM_INITIALIZED 1
#define BFFM_SELCHANGED 2
#define BFFM_VALIDATEFAILEDA 3
#define BFFM_VALIDATEFAILED BFFM_VALIDATEFAILEDA
#define BFFM_SETSTATUSTEXTA (WM_USER + 100)
#define BFFM_ENABLEOK (WM_USER + 101)
#define BFFM_SETSELECTIONA (WM_USER + 102)
#define BFFM_SETSTATUSTEXT BFFM_SETSTATUSTEXTA
#define BFFM_SETSELECTION BFFM_SETSELECTIONA

// The ids of the picker's controls, for scripts and hooks.
#define IDC_BROWSE_TITLE 0x3742
#define IDC_BROWSE_STATUS 0x3743
#define IDC_BROWSE_PATH 0x3744
#define IDC_BROWSE_FOLDERS 0x3741

// Runs the picker as a modal dialog; the chosen folder as an item list (free it with ILFree or
// CoTaskMemFree), or null when cancelled. pszDisplayName receives the folder's name (MAX_PATH).
PIDLIST_ABSOLUTE SHBrowseForFolder(LPBROWSEINFOA bi);
#define SHBrowseForFolderA SHBrowseForFolder
// The path an item list holds (at most MAX_PATH bytes with the NUL); FALSE for an empty list.
BOOL SHGetPathFromIDList(PCIDLIST_ABSOLUTE pidl, LPSTR path);
#define SHGetPathFromIDListA SHGetPathFromIDList
// An item list for a path, and the way to free one.
PIDLIST_ABSOLUTE ILCreateFromPath(LPCSTR path);
#define ILCreateFromPathA ILCreateFromPath
void ILFree(PIDLIST_ABSOLUTE pidl);
void CoTaskMemFree(void* memory);

namespace brambolt {

// The picker in one call: the folder chosen, ending in a backslash, or false when cancelled.
bool BrowseForFolder(HWND owner, const char* title, const std::string& initial, std::string* chosen);

}  // namespace brambolt

// Shell execution with an association table, and the little of the desktop shell the program
// asks about: the taskbar state and the special folders.
//
// ShellExecute opens a document with the program associated with its extension (or a URL with
// the one of its scheme); everything without an association of its own goes to the desktop's
// opener (xdg-open) when it is installed. ".hhp" projects go to the HTML Help compiler chmcmd when
// it is installed and otherwise have no association, so the call fails as it does on Windows
// without the compiler. A regular executable file is run itself, with lpParameters as its
// arguments. Nothing is ever shown to the user: SEE_MASK_FLAG_NO_UI changes nothing.
#pragma once

#include <string>

#include "base/WinTypes.h"

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31
#define SE_ERR_DLLNOTFOUND 32

#define ERROR_NO_ASSOCIATION 1155

#define SEE_MASK_DEFAULT 0x00000000
#define SEE_MASK_CLASSNAME 0x00000001
#define SEE_MASK_CLASSKEY 0x00000003
#define SEE_MASK_IDLIST 0x00000004
#define SEE_MASK_INVOKEIDLIST 0x0000000C
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_CONNECTNETDRV 0x00000080
#define SEE_MASK_NOASYNC 0x00000100
#define SEE_MASK_FLAG_DDEWAIT 0x00000100
#define SEE_MASK_DOENVSUBST 0x00000200
#define SEE_MASK_FLAG_NO_UI 0x00000400

typedef struct _SHELLEXECUTEINFOA {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCSTR lpVerb;
  LPCSTR lpFile;
  LPCSTR lpParameters;
  LPCSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;
  void* lpIDList;
  LPCSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  union {
    HANDLE hIcon;
    HANDLE hMonitor;
  };
  HANDLE hProcess;
} SHELLEXECUTEINFOA, *LPSHELLEXECUTEINFOA, SHELLEXECUTEINFO, *LPSHELLEXECUTEINFO;

// The record's size in a 32-bit program; accepted in cbSize as well as sizeof(SHELLEXECUTEINFO).
#define SHELLEXECUTEINFO_SIZE_32 60

// A value above 32 on success, else an SE_ERR code; GetLastError() gives the Win32 error.
HINSTANCE ShellExecute(HWND hwnd, LPCSTR lpVerb, LPCSTR lpFile, LPCSTR lpParameters,
                       LPCSTR lpDirectory, INT nShowCmd);
// TRUE on success; hInstApp receives the same value as ShellExecute's result, and with
// SEE_MASK_NOCLOSEPROCESS hProcess the started program's process handle.
BOOL ShellExecuteEx(SHELLEXECUTEINFOA* pExecInfo);

#define ShellExecuteA ShellExecute
#define ShellExecuteExA ShellExecuteEx

// The taskbar: never "always on top", so the program leaves it alone.
#define ABM_NEW 0x00000000
#define ABM_REMOVE 0x00000001
#define ABM_QUERYPOS 0x00000002
#define ABM_SETPOS 0x00000003
#define ABM_GETSTATE 0x00000004
#define ABM_GETTASKBARPOS 0x00000005
#define ABM_ACTIVATE 0x00000006
#define ABM_GETAUTOHIDEBAR 0x00000007
#define ABM_SETAUTOHIDEBAR 0x00000008
#define ABM_WINDOWPOSCHANGED 0x00000009
#define ABS_AUTOHIDE 0x0000001
#define ABS_ALWAYSONTOP 0x0000002
#define ABE_LEFT 0
#define ABE_TOP 1
#define ABE_RIGHT 2
#define ABE_BOTTOM 3

typedef struct _AppBarData {
  DWORD cbSize;
  HWND hWnd;
  UINT uCallbackMessage;
  UINT uEdge;
  RECT rc;
  LPARAM lParam;
} APPBARDATA, *PAPPBARDATA;

// ABM_GETSTATE gives 0; every other message reports that there is no taskbar (0).
UINT_PTR SHAppBarMessage(DWORD dwMessage, PAPPBARDATA pData);

// Special folders: the documents folder is $HOME, the application-data folders are the XDG
// configuration folder ($XDG_CONFIG_HOME, else ~/.config), the temporary files' folder the
// system's; folders are made on request (CSIDL_FLAG_CREATE or fCreate).
#define CSIDL_DESKTOP 0x0000
#define CSIDL_PROGRAMS 0x0002
#define CSIDL_PERSONAL 0x0005
#define CSIDL_MYDOCUMENTS 0x0005
#define CSIDL_APPDATA 0x001A
#define CSIDL_LOCAL_APPDATA 0x001C
#define CSIDL_COMMON_APPDATA 0x0023
#define CSIDL_DESKTOPDIRECTORY 0x0010
#define CSIDL_PROFILE 0x0028
#define CSIDL_FLAG_CREATE 0x8000
#define SHGFP_TYPE_CURRENT 0
#define SHGFP_TYPE_DEFAULT 1

BOOL SHGetSpecialFolderPath(HWND hwnd, LPSTR pszPath, int csidl, BOOL fCreate);
// S_OK, or E_INVALIDARG for a folder the platform does not know; pszPath holds MAX_PATH bytes.
HRESULT SHGetFolderPath(HWND hwnd, int csidl, HANDLE hToken, DWORD dwFlags, LPSTR pszPath);

#define SHGetSpecialFolderPathA SHGetSpecialFolderPath
#define SHGetFolderPathA SHGetFolderPath

namespace brambolt {

// The association table. `key` is an extension with its dot (".hhp"), a URL scheme with its
// colon ("http:"), or "*" for everything without an entry of its own; matching ignores case.
// An empty program means "no association" and hides the "*" entry. The table starts with the
// programs found installed (chmcmd for ".hhp", xdg-open for "*").
void SetShellAssociation(const std::string& key, const std::string& program);
// The program ShellExecute would run for the key, "" when there is no association.
std::string FindShellAssociation(const std::string& key);
void RemoveShellAssociation(const std::string& key);
void ResetShellAssociations();

}  // namespace brambolt

// The help viewers: absent, so every request fails quietly.
#include "os/Help.h"

#include "base/LastError.h"

BOOL WinHelp(HWND, LPCSTR, UINT, ULONG_PTR) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  return FALSE;
}

HWND HtmlHelp(HWND, LPCSTR, UINT, DWORD_PTR) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  return nullptr;
}

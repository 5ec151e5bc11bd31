// The input-method calls without an input method: no window has an input context.
#include "backend/Imm.h"

#include "win/WinErrors.h"

HIMC ImmGetContext(HWND) { return nullptr; }

BOOL ImmReleaseContext(HWND, HIMC) { return TRUE; }

HIMC ImmAssociateContext(HWND, HIMC) { return nullptr; }

namespace {

BOOL NoContext() {
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

}  // namespace

BOOL ImmSetCompositionWindow(HIMC, LPCOMPOSITIONFORM) { return NoContext(); }

BOOL ImmGetCompositionWindow(HIMC, LPCOMPOSITIONFORM) { return NoContext(); }

BOOL ImmSetCompositionFont(HIMC, LPLOGFONT) { return NoContext(); }

LONG ImmGetCompositionString(HIMC, DWORD, LPVOID, DWORD) {
  NoContext();
  return 0;
}

BOOL ImmGetOpenStatus(HIMC) { return FALSE; }

BOOL ImmSetOpenStatus(HIMC, BOOL) { return NoContext(); }

BOOL ImmNotifyIME(HIMC, DWORD, DWORD, DWORD) { return NoContext(); }

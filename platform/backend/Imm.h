// The input-method calls. No input method is connected yet: windows have no input context, so
// callers that place the composition window skip it, and characters arrive as WM_CHAR.
#pragma once

#include "gdi/GdiTypes.h"
#include "win/WinUser.h"

DECLARE_HANDLE(HIMC);

#define CFS_DEFAULT 0x0000
#define CFS_RECT 0x0001
#define CFS_POINT 0x0002
#define CFS_FORCE_POSITION 0x0020
#define CFS_CANDIDATEPOS 0x0040
#define CFS_EXCLUDE 0x0080

#define GCS_COMPSTR 0x0008
#define GCS_CURSORPOS 0x0080
#define GCS_RESULTSTR 0x0800

#define NI_COMPOSITIONSTR 0x0015
#define CPS_COMPLETE 0x0001
#define CPS_CANCEL 0x0004

typedef struct tagCOMPOSITIONFORM {
  DWORD dwStyle;
  POINT ptCurrentPos;
  RECT rcArea;
} COMPOSITIONFORM, *PCOMPOSITIONFORM, *LPCOMPOSITIONFORM;

// Null: the window has no input context.
HIMC ImmGetContext(HWND hwnd);
BOOL ImmReleaseContext(HWND hwnd, HIMC context);
HIMC ImmAssociateContext(HWND hwnd, HIMC context);
// The calls on a context fail, as they do for a null context.
BOOL ImmSetCompositionWindow(HIMC context, LPCOMPOSITIONFORM form);
BOOL ImmGetCompositionWindow(HIMC context, LPCOMPOSITIONFORM form);
BOOL ImmSetCompositionFont(HIMC context, LPLOGFONT font);
LONG ImmGetCompositionString(HIMC context, DWORD index, LPVOID buffer, DWORD bufferLength);
BOOL ImmGetOpenStatus(HIMC context);
BOOL ImmSetOpenStatus(HIMC context, BOOL open);
BOOL ImmNotifyIME(HIMC context, DWORD action, DWORD index, DWORD value);

#define ImmSetCompositionFontA ImmSetCompositionFont
#define ImmGetCompositionStringA ImmGetCompositionString

// The input-method calls. While the backend has an input method (an X input method server on
// X11, a test's scripted one headless), each thread has a default input context shared by its
// windows; a window can be given another one or none. Without an input method no window has a
// context, and characters arrive as WM_CHAR alone.
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

// Null when the window has no input context.
HIMC ImmGetContext(HWND hwnd);
BOOL ImmReleaseContext(HWND hwnd, HIMC context);
// Gives the window `context` (null: none, so it types without the input method); returns the
// context it had.
HIMC ImmAssociateContext(HWND hwnd, HIMC context);
// The composition window, in the client coordinates of the window the context was last taken
// for: CFS_POINT puts the spot where composed text stands, CFS_RECT also bounds its area.
BOOL ImmSetCompositionWindow(HIMC context, LPCOMPOSITIONFORM form);
BOOL ImmGetCompositionWindow(HIMC context, LPCOMPOSITIONFORM form);
// The font the composition is drawn with: the face and height of the LOGFONT.
BOOL ImmSetCompositionFont(HIMC context, LPLOGFONT font);
// The composition is committed at once (WM_IME_CHAR), so there is never a string to read.
LONG ImmGetCompositionString(HIMC context, DWORD index, LPVOID buffer, DWORD bufferLength);
// A closed context types without the input method.
BOOL ImmGetOpenStatus(HIMC context);
BOOL ImmSetOpenStatus(HIMC context, BOOL open);
BOOL ImmNotifyIME(HIMC context, DWORD action, DWORD index, DWORD value);

#define ImmSetCompositionFontA ImmSetCompositionFont
#define ImmGetCompositionStringA ImmGetCompositionString

namespace brambolt {

// Whether keys typed into `hwnd` go through the input method: it has an input context, and
// that context is open.
bool TypesThroughInputMethod(HWND hwnd);

}  // namespace brambolt

// The font dialog: CHOOSEFONT over the faces the platform's font list enumerates, with styles,
// sizes, effects and colours.
#pragma once

#include "gdi/gdi.h"
#include "win/WinUser.h"

typedef UINT_PTR(CALLBACK* LPCFHOOKPROC)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

typedef struct tagCHOOSEFONTA {
  DWORD lStructSize;
  HWND hwndOwner;
  HDC hDC;
  LPLOGFONTA lpLogFont;
  INT iPointSize;
  DWORD Flags;
  COLORREF rgbColors;
  LPARAM lCustData;
  LPCFHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  HINSTANCE hInstance;
  LPSTR lpszStyle;
  WORD nFontType;
  WORD ___MISSING_ALIGNMENT__;
  INT nSizeMin;
  INT nSizeMax;
} CHOOSEFONTA, *LPCHOOSEFONTA, CHOOSEFONT, *LPCHOOSEFONT;

#define CF_SCREENFONTS 0x00000001
#define CF_PRINTERFONTS 0x00000002
#define CF_BOTH (CF_SCREENFONTS | CF_PRINTERFONTS)
#define CF_SHOWHELP 0x00000004
#define CF_ENABLEHOOK 0x00000008
#define CF_ENABLETEMPLATE 0x00000010
#define CF_ENABLETEMPLATEHANDLE 0x00000020
#define CF_INITTOLOGFONTSTRUCT 0x00000040
#define CF_USESTYLE 0x00000080
#define CF_EFFECTS 0x00000100
#define CF_APPLY 0x00000200
#define CF_ANSIONLY 0x00000400
#define CF_SCRIPTSONLY CF_ANSIONLY
#define CF_NOVECTORFONTS 0x00000800
#define CF_NOOEMFONTS CF_NOVECTORFONTS
#define CF_NOSIMULATIONS 0x00001000
#define CF_LIMITSIZE 0x00002000
#define CF_FIXEDPITCHONLY 0x00004000
#define CF_WYSIWYG 0x00008000
#define CF_FORCEFONTEXIST 0x00010000
#define CF_SCALABLEONLY 0x00020000
#define CF_TTONLY 0x00040000
#define CF_NOFACESEL 0x00080000
#define CF_NOSTYLESEL 0x00100000
#define CF_NOSIZESEL 0x00200000
#define CF_SELECTSCRIPT 0x00400000
#define CF_NOSCRIPTSEL 0x00800000
#define CF_NOVERTFONTS 0x01000000

#define BOLD_FONTTYPE 0x0100
#define ITALIC_FONTTYPE 0x0200
#define REGULAR_FONTTYPE 0x0400
#define SCREEN_FONTTYPE 0x2000
#define PRINTER_FONTTYPE 0x4000
#define SIMULATED_FONTTYPE 0x8000

// The dialog's control ids: face, style and size lists, effects, colour, sample.
#define IDC_FONT_FACE 0x0470
#define IDC_FONT_STYLE 0x0471
#define IDC_FONT_SIZE 0x0472
#define IDC_FONT_COLOR 0x0473
#define IDC_FONT_STRIKEOUT 0x0410
#define IDC_FONT_UNDERLINE 0x0411
#define IDC_FONT_SAMPLE 0x0444

// Sent to the dialog (a hook or the framework does): lParam, a LOGFONT, receives the font the
// dialog shows now.
#define WM_CHOOSEFONT_GETLOGFONT (WM_USER + 1)

// TRUE when the user chose OK: the LOGFONT, iPointSize (tenths of a point), rgbColors with
// effects, nFontType, and the style's name in lpszStyle (LF_FACESIZE bytes) when it is given.
BOOL ChooseFont(LPCHOOSEFONTA cf);
#define ChooseFontA ChooseFont

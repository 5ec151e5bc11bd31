// The colour dialog: CHOOSECOLOR with the basic and custom colours, the full-open part with red,
// green, blue, hue, saturation and luminosity, hooks and templates.
#pragma once

#include "win/WinUser.h"

typedef UINT_PTR(CALLBACK* LPCCHOOKPROC)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

typedef struct tagCHOOSECOLORA {
  DWORD lStructSize;
  HWND hwndOwner;
  HWND hInstance;
  COLORREF rgbResult;
  COLORREF* lpCustColors;
  DWORD Flags;
  LPARAM lCustData;
  LPCCHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
} CHOOSECOLORA, *LPCHOOSECOLORA, CHOOSECOLOR, *LPCHOOSECOLOR;

#define CC_RGBINIT 0x00000001
#define CC_FULLOPEN 0x00000002
#define CC_PREVENTFULLOPEN 0x00000004
#define CC_SHOWHELP 0x00000008
#define CC_ENABLEHOOK 0x00000010
#define CC_ENABLETEMPLATE 0x00000020
#define CC_ENABLETEMPLATEHANDLE 0x00000040
#define CC_SOLIDCOLOR 0x00000080
#define CC_ANYCOLOR 0x00000100

// The dialog's control ids.
#define COLOR_HUE 703
#define COLOR_SAT 704
#define COLOR_LUM 705
#define COLOR_RED 706
#define COLOR_GREEN 707
#define COLOR_BLUE 708
#define COLOR_CURRENT 709
#define COLOR_ADD 712
#define COLOR_MIX 719
#define COLOR_BOX1 720
#define COLOR_CUSTOM1 721

// Registered messages: the hook is asked about the colour chosen with OK (lParam the structure,
// rgbResult set; a nonzero answer keeps the dialog open); sent to the dialog, SETRGBSTRING makes
// lParam the current colour.
#define COLOROKSTRINGA "commdlg_ColorOK"
#define SETRGBSTRINGA "commdlg_SetRGBColor"
#define COLOROKSTRING COLOROKSTRINGA
#define SETRGBSTRING SETRGBSTRINGA

// TRUE with rgbResult set when the user chose OK; the custom colours are updated either way
// only through "Add to Custom Colors".
BOOL ChooseColor(LPCHOOSECOLORA cc);
#define ChooseColorA ChooseColor

namespace brambolt::ctl {
// The colour dialog's basic colours (48, row by row).
const COLORREF* BasicColours();
// Hue, saturation and luminosity on the dialog's 0..240 scales, and back.
void RgbToHls(COLORREF rgb, int* hue, int* lum, int* sat);
COLORREF HlsToRgb(int hue, int lum, int sat);
}  // namespace brambolt::ctl

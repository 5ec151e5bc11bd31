// The page-setup dialog: PAGESETUPDLG with paper, source, orientation and margins in thousandths
// of inches or hundredths of millimetres, a sample page painted with the page-paint hook's say.
#pragma once

#include "controls/PrintDialog.h"

typedef UINT_PTR(CALLBACK* LPPAGESETUPHOOK)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
typedef UINT_PTR(CALLBACK* LPPAGEPAINTHOOK)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

typedef struct tagPSDA {
  DWORD lStructSize;
  HWND hwndOwner;
  HGLOBAL hDevMode;
  HGLOBAL hDevNames;
  DWORD Flags;
  POINT ptPaperSize;
  RECT rtMinMargin;
  RECT rtMargin;
  HINSTANCE hInstance;
  LPARAM lCustData;
  LPPAGESETUPHOOK lpfnPageSetupHook;
  LPPAGEPAINTHOOK lpfnPagePaintHook;
  LPCSTR lpPageSetupTemplateName;
  HGLOBAL hPageSetupTemplate;
} PAGESETUPDLGA, *LPPAGESETUPDLGA, PAGESETUPDLG, *LPPAGESETUPDLG;

#define PSD_DEFAULTMINMARGINS 0x00000000
#define PSD_INWININIINTLMEASURE 0x00000000
#define PSD_MINMARGINS 0x00000001
#define PSD_MARGINS 0x00000002
#define PSD_INTHOUSANDTHSOFINCHES 0x00000004
#define PSD_INHUNDREDTHSOFMILLIMETERS 0x00000008
#define PSD_DISABLEMARGINS 0x00000010
#define PSD_DISABLEPRINTER 0x00000020
#define PSD_NOWARNING 0x00000080
#define PSD_DISABLEORIENTATION 0x00000100
#define PSD_DISABLEPAPER 0x00000200
#define PSD_RETURNDEFAULT 0x00000400
#define PSD_SHOWHELP 0x00000800
#define PSD_ENABLEPAGESETUPHOOK 0x00002000
#define PSD_ENABLEPAGESETUPTEMPLATE 0x00008000
#define PSD_ENABLEPAGESETUPTEMPLATEHANDLE 0x00020000
#define PSD_ENABLEPAGEPAINTHOOK 0x00040000
#define PSD_DISABLEPAGEPAINTING 0x00080000
#define PSD_NONETWORKBUTTON 0x00200000

// The page-paint hook's messages: first WM_PSD_PAGESETUPDLG (LOWORD of wParam the paper number,
// HIWORD the orientation and printer-type bits, lParam the PAGESETUPDLG), then one per part of
// the sample (wParam the HDC, lParam the part's RECT); a hook that answers TRUE draws that part.
#define WM_PSD_PAGESETUPDLG (WM_USER)
#define WM_PSD_FULLPAGERECT (WM_USER + 1)
#define WM_PSD_MINMARGINRECT (WM_USER + 2)
#define WM_PSD_MARGINRECT (WM_USER + 3)
#define WM_PSD_GREEKTEXTRECT (WM_USER + 4)
#define WM_PSD_ENVSTAMPRECT (WM_USER + 5)
#define WM_PSD_YAFULLPAGERECT (WM_USER + 6)

// TRUE on OK with the structure filled (the unit flag set when the caller gave none); FALSE on
// Cancel (CommDlgExtendedError 0) or failure. PSD_RETURNDEFAULT fills it without a dialog.
BOOL PageSetupDlg(LPPAGESETUPDLGA psd);
#define PageSetupDlgA PageSetupDlg

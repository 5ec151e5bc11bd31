// The common controls' class names, styles, messages, notifications and structures, with their
// documented values and layouts, and the functions that register and drive them.
#pragma once

#include "win/WinUser.h"

// Registration. Every class is registered when the program starts; these remain for callers that
// ask for them, and answer TRUE.
typedef struct tagINITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;

#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TREEVIEW_CLASSES 0x00000002
#define ICC_BAR_CLASSES 0x00000004
#define ICC_TAB_CLASSES 0x00000008
#define ICC_UPDOWN_CLASS 0x00000010
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_HOTKEY_CLASS 0x00000040
#define ICC_ANIMATE_CLASS 0x00000080
#define ICC_WIN95_CLASSES 0x000000FF
#define ICC_DATE_CLASSES 0x00000100
#define ICC_USEREX_CLASSES 0x00000200
#define ICC_COOL_CLASSES 0x00000400
#define ICC_INTERNET_CLASSES 0x00000800
#define ICC_PAGESCROLLER_CLASS 0x00001000
#define ICC_NATIVEFNTCTL_CLASS 0x00002000
#define ICC_STANDARD_CLASSES 0x00004000
#define ICC_LINK_CLASS 0x00008000

void InitCommonControls();
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc);

// Messages every common control answers.
#define CCM_FIRST 0x2000
#define CCM_SETBKCOLOR (CCM_FIRST + 1)
#define CCM_SETCOLORSCHEME (CCM_FIRST + 2)
#define CCM_GETCOLORSCHEME (CCM_FIRST + 3)
#define CCM_GETDROPTARGET (CCM_FIRST + 4)
#define CCM_SETUNICODEFORMAT (CCM_FIRST + 5)
#define CCM_GETUNICODEFORMAT (CCM_FIRST + 6)
#define CCM_SETVERSION (CCM_FIRST + 7)
#define CCM_GETVERSION (CCM_FIRST + 8)

// Common notification codes (WM_NOTIFY).
#define NM_FIRST (0U - 0U)
#define NM_OUTOFMEMORY (NM_FIRST - 1)
#define NM_CLICK (NM_FIRST - 2)
#define NM_DBLCLK (NM_FIRST - 3)
#define NM_RETURN (NM_FIRST - 4)
#define NM_RCLICK (NM_FIRST - 5)
#define NM_RDBLCLK (NM_FIRST - 6)
#define NM_SETFOCUS (NM_FIRST - 7)
#define NM_KILLFOCUS (NM_FIRST - 8)
#define NM_CUSTOMDRAW (NM_FIRST - 12)
#define NM_HOVER (NM_FIRST - 13)

#define LPSTR_TEXTCALLBACKA (reinterpret_cast<LPSTR>(static_cast<LONG_PTR>(-1)))
#define LPSTR_TEXTCALLBACK LPSTR_TEXTCALLBACKA
#define I_IMAGECALLBACK (-1)
#define I_IMAGENONE (-2)
#define I_CHILDRENCALLBACK (-1)

// Styles shared by the bar-like controls.
#define CCS_TOP 0x00000001L
#define CCS_NOMOVEY 0x00000002L
#define CCS_BOTTOM 0x00000003L
#define CCS_NORESIZE 0x00000004L
#define CCS_NOPARENTALIGN 0x00000008L
#define CCS_ADJUSTABLE 0x00000020L
#define CCS_NODIVIDER 0x00000040L
#define CCS_VERT 0x00000080L

// ---- Animation ("SysAnimate32"): plays silent AVI clips, uncompressed or RLE8.
#define ANIMATE_CLASSA "SysAnimate32"
#define ANIMATE_CLASS ANIMATE_CLASSA

#define ACS_CENTER 0x0001
#define ACS_TRANSPARENT 0x0002
#define ACS_AUTOPLAY 0x0004
#define ACS_TIMER 0x0008

#define ACM_OPENA (WM_USER + 100)
#define ACM_OPEN ACM_OPENA
#define ACM_PLAY (WM_USER + 101)
#define ACM_STOP (WM_USER + 102)
#define ACM_OPENW (WM_USER + 103)
#define ACM_ISPLAYING (WM_USER + 104)

#define ACN_START 1
#define ACN_STOP 2

#define Animate_Create(hwndP, id, dwStyle, hInstance)                                                   \
  CreateWindow(ANIMATE_CLASS, nullptr, dwStyle, 0, 0, 0, 0, hwndP, reinterpret_cast<HMENU>(id), hInstance, \
               nullptr)
inline BOOL Animate_OpenEx(HWND hwnd, HINSTANCE instance, LPCSTR name) {
  return static_cast<BOOL>(
      SendMessage(hwnd, ACM_OPEN, reinterpret_cast<WPARAM>(instance), reinterpret_cast<LPARAM>(name)));
}
inline BOOL Animate_Open(HWND hwnd, LPCSTR name) { return Animate_OpenEx(hwnd, nullptr, name); }
inline BOOL Animate_Play(HWND hwnd, UINT from, UINT to, UINT repeat) {
  return static_cast<BOOL>(SendMessage(hwnd, ACM_PLAY, repeat, MAKELONG(from, to)));
}
inline BOOL Animate_Stop(HWND hwnd) { return static_cast<BOOL>(SendMessage(hwnd, ACM_STOP, 0, 0)); }
inline BOOL Animate_IsPlaying(HWND hwnd) { return static_cast<BOOL>(SendMessage(hwnd, ACM_ISPLAYING, 0, 0)); }
inline BOOL Animate_Close(HWND hwnd) { return Animate_Open(hwnd, nullptr); }
inline BOOL Animate_Seek(HWND hwnd, UINT frame) { return Animate_Play(hwnd, frame, frame, 1); }

// Message boxes: a modal dialog of class "#32770" with the text (control 0xFFFF), an icon
// (control 20) and the buttons of the type, whose ids are the answers.
#pragma once

#include "win/WinUser.h"

#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_CANCELTRYCONTINUE 0x00000006L
#define MB_USERICON 0x00000080L
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFBUTTON4 0x00000300L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_HELP 0x00004000L
#define MB_NOFOCUS 0x00008000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_DEFAULT_DESKTOP_ONLY 0x00020000L
#define MB_TOPMOST 0x00040000L
#define MB_RIGHT 0x00080000L
#define MB_RTLREADING 0x00100000L
#define MB_SERVICE_NOTIFICATION 0x00200000L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L
#define MB_MODEMASK 0x00003000L
#define MB_MISCMASK 0x0000C000L

#define IDTRYAGAIN 10
#define IDCONTINUE 11

// The ids of the message box's own controls.
#define IDC_MESSAGEBOX_TEXT 0xFFFF
#define IDC_MESSAGEBOX_ICON 20

// The answer is the id of the button pressed (IDOK, IDCANCEL, IDYES ...); 0 when the box cannot
// be made. A null caption gives "Error".
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int MessageBoxEx(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD languageId);
#define MessageBoxA MessageBox
#define MessageBoxExA MessageBoxEx

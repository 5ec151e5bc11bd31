// Accelerator tables: made from ACCEL entries or loaded from resources, copied, and used by
// TranslateAccelerator to turn key presses into commands.
#pragma once

#include "res/ResourceTypes.h"
#include "win/WinUser.h"

HACCEL CreateAcceleratorTable(LPACCEL entries, int count);
BOOL DestroyAcceleratorTable(HACCEL accel);
// Copies up to count entries into entries and returns how many were copied; with entries null,
// returns the number of entries of the table.
int CopyAcceleratorTable(HACCEL accel, LPACCEL entries, int count);
HACCEL LoadAccelerators(HINSTANCE instance, LPCSTR name);
// A key message (WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR, WM_SYSCHAR) that matches an entry becomes
// WM_COMMAND (WM_SYSCOMMAND for the ids of the system menu) sent to hwnd with 1 in the high word
// of wParam; TRUE then. A command whose item on the window's menu is disabled is swallowed.
int TranslateAccelerator(HWND hwnd, HACCEL accel, LPMSG msg);

#define CreateAcceleratorTableA CreateAcceleratorTable
#define CopyAcceleratorTableA CopyAcceleratorTable
#define LoadAcceleratorsA LoadAccelerators
#define TranslateAcceleratorA TranslateAccelerator

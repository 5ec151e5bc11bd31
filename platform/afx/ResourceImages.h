// Bitmaps, icons and cursors from resources (and bitmap files): LoadBitmap, LoadIcon,
// LoadImage, CreateIconFromResourceEx, and the framework's system-colour bitmaps.
#pragma once

#include "base/base.h"
#include "gdi/gdi.h"

// A bitmap resource as a device-dependent bitmap of the screen.
HBITMAP LoadBitmap(HINSTANCE instance, LPCSTR name);
// NULL instance: the standard icons (IDI_*).
HICON LoadIcon(HINSTANCE instance, LPCSTR name);
// IMAGE_BITMAP, IMAGE_ICON or IMAGE_CURSOR, from a resource or (LR_LOADFROMFILE) a file.
// LR_CREATEDIBSECTION keeps a bitmap's own format; LR_LOADMAP3DCOLORS maps the greys of the
// classic palette to the 3-D system colours; LR_DEFAULTSIZE (or 0 sizes without it: the
// image's own size) picks the icon size.
HANDLE LoadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
// An icon or cursor from the bytes of an RT_ICON or RT_CURSOR resource (a cursor starts with
// its hot spot).
HICON CreateIconFromResourceEx(PBYTE bits, DWORD size, BOOL icon, DWORD version, int cx, int cy, UINT flags);
HICON CreateIconFromResource(PBYTE bits, DWORD size, BOOL icon, DWORD version);

#define LoadBitmapA LoadBitmap
#define LoadIconA LoadIcon
#define LoadImageA LoadImage

// A bitmap resource with black, dark grey, light grey and white replaced by the system colours
// of button text, shadow, face and highlight (for toolbar images).
HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono = FALSE);

// Device contexts: creation (window surfaces, memory, information), state, mapping modes,
// clipping and device capabilities.
#pragma once

#include <memory>

#include "gdi/GdiTypes.h"
#include "gdi/Region.h"
#include "gdi/Surface.h"

namespace brambolt {

// A DC drawing into 'surface'. Device coordinates are relative to deviceOrigin (surface
// coordinates); 'visible' (surface coordinates, copied; null = the whole surface) bounds every
// drawing, and SelectClipRgn and friends clip within it. Destroyed by DeleteDC.
HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT deviceOrigin, const Region* visible);
void SetSurfaceDCVisibleRegion(HDC hdc, const Region& visible);
void SetSurfaceDCOrigin(HDC hdc, POINT deviceOrigin);
// The surface a DC draws into (for memory DCs, the selected bitmap's); null for information DCs.
std::shared_ptr<Surface> GetDCSurface(HDC hdc);
// Writes the whole surface under a DC (a memory DC's bitmap, a window's surface) as PNG.
bool SavePng(HDC hdc, const char* path);
// What CreateDC("DISPLAY") returns; the window module installs a factory giving a screen DC.
using DisplayDCFactory = HDC (*)();
void SetDisplayDCFactory(DisplayDCFactory factory);
// Live GDI objects and DCs, stock objects excluded (for leak tests).
size_t GdiObjectCount();

}  // namespace brambolt

HDC CreateCompatibleDC(HDC hdc);
HDC CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
HDC CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
BOOL DeleteDC(HDC hdc);
int SaveDC(HDC hdc);
BOOL RestoreDC(HDC hdc, int savedDC);
int GetDeviceCaps(HDC hdc, int index);

COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
int SetROP2(HDC hdc, int rop2);
int GetROP2(HDC hdc);
int SetPolyFillMode(HDC hdc, int mode);
int GetPolyFillMode(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
int SetArcDirection(HDC hdc, int direction);
int GetArcDirection(HDC hdc);
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT previous);
BOOL GetBrushOrgEx(HDC hdc, LPPOINT origin);
COLORREF SetDCBrushColor(HDC hdc, COLORREF color);
COLORREF GetDCBrushColor(HDC hdc);
COLORREF SetDCPenColor(HDC hdc, COLORREF color);
COLORREF GetDCPenColor(HDC hdc);
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT point);

int SetMapMode(HDC hdc, int mode);
int GetMapMode(HDC hdc);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT previous);
BOOL GetWindowOrgEx(HDC hdc, LPPOINT origin);
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT previous);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous);
BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin);
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT previous);
BOOL SetWindowExtEx(HDC hdc, int x, int y, LPSIZE previous);
BOOL GetWindowExtEx(HDC hdc, LPSIZE extent);
BOOL SetViewportExtEx(HDC hdc, int x, int y, LPSIZE previous);
BOOL GetViewportExtEx(HDC hdc, LPSIZE extent);
BOOL ScaleViewportExtEx(HDC hdc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE previous);
BOOL ScaleWindowExtEx(HDC hdc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE previous);
BOOL LPtoDP(HDC hdc, LPPOINT points, int count);
BOOL DPtoLP(HDC hdc, LPPOINT points, int count);

int SelectClipRgn(HDC hdc, HRGN hrgn);
int ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode);
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC hdc, int dx, int dy);
int GetClipBox(HDC hdc, LPRECT rect);
int GetClipRgn(HDC hdc, HRGN hrgn);
BOOL PtVisible(HDC hdc, int x, int y);
BOOL RectVisible(HDC hdc, const RECT* rect);

#define CreateDCA CreateDC
#define CreateICA CreateIC

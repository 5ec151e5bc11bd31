// Device-dependent bitmaps (32-bit colour and 1-bit monochrome) and device-independent bitmaps
// of 1, 4, 8, 16, 24 and 32 bits.
#pragma once

#include <memory>

#include "gdi/GdiTypes.h"
#include "gdi/Surface.h"

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HBITMAP CreateDiscardableBitmap(HDC hdc, int width, int height);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size);
BOOL SetBitmapDimensionEx(HBITMAP bitmap, int width, int height, LPSIZE previous);

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
// 32-bit BI_RGB sections are drawn in place; other depths keep 32-bit pixels that are refreshed
// from the bits before each drawing call and written back (quantised) after it, so the bits and
// the drawing always agree between calls.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage);
int SetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors);
UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors);

namespace brambolt {
// A 32-bit bitmap holding a copy of the surface's pixels (for image loaders and tests).
HBITMAP CreateBitmapFromSurface(const Surface& surface);
// The pixels of a bitmap (DIB sections brought up to date); null for other handles.
std::shared_ptr<Surface> GetBitmapSurface(HBITMAP bitmap);
// 1 for monochrome bitmaps, the DIB depth for DIB sections, 32 otherwise; 0 for other handles.
int GetBitmapDepth(HBITMAP bitmap);
}  // namespace brambolt

// The class box shadow.
#include "app/DrawShadowRect.h"

void DrawShadowRect(HDC hDC, const RECT& rcBox, int nDepth, HBRUSH hPattern) {
  HBITMAP hOwnBitmap = nullptr;
  HBRUSH hBrush = hPattern;
  if (hBrush == nullptr) {
    // Black where the pattern masks the background, white where it leaves it.
    DWORD pixels[64];
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) pixels[y * 8 + x] = ((x + y) & 1) != 0 ? 0x00FFFFFF : 0x00000000;
    hOwnBitmap = ::CreateBitmap(8, 8, 1, 32, pixels);
    hBrush = ::CreatePatternBrush(hOwnBitmap);
  }
  const HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
  const HGDIOBJ hOldPen = ::SelectObject(hDC, ::GetStockObject(NULL_PEN));
  const int nOldRop = ::SetROP2(hDC, R2_MASKPEN);
  // A null pen leaves the right and bottom edges out, so the rectangle reaches one further.
  ::Rectangle(hDC, rcBox.left + nDepth, rcBox.top + nDepth, rcBox.right + nDepth + 1, rcBox.bottom + nDepth + 1);
  ::SetROP2(hDC, nOldRop);
  ::SelectObject(hDC, hOldPen);
  ::SelectObject(hDC, hOldBrush);
  if (hOwnBitmap != nullptr) {
    ::DeleteObject(hBrush);
    ::DeleteObject(hOwnBitmap);
  }
}

// A cursor drawn once over white and once over black tells each pixel apart: unchanged
// backgrounds are transparent, swapped ones inverted, anything else the cursor's own colour.
#include "backend/CursorImage.h"

#include "gdi/gdi.h"

namespace brambolt {
namespace {

// The cursor drawn over a background colour, as COLORREFs.
std::vector<COLORREF> DrawnOver(HCURSOR cursor, int width, int height, COLORREF background) {
  std::vector<COLORREF> pixels;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(width, height, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  DrawIconEx(dc, 0, 0, cursor, width, height, 0, nullptr, DI_NORMAL);
  pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y) & 0xFFFFFF);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

bool IsDark(COLORREF c) { return GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11 < 128 * 100; }

}  // namespace

bool GetCursorImage(HCURSOR cursor, CursorImage& image) {
  SIZE size{};
  if (cursor == nullptr || !GetIconSize(reinterpret_cast<HICON>(cursor), &size) || size.cx <= 0 || size.cy <= 0)
    return false;
  ICONINFO info{};
  if (!GetIconInfo(reinterpret_cast<HICON>(cursor), &info)) return false;
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  image.width = size.cx;
  image.height = size.cy;
  image.hotspot = info.fIcon ? POINT{size.cx / 2, size.cy / 2}
                             : POINT{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
  std::vector<COLORREF> onWhite = DrawnOver(cursor, size.cx, size.cy, RGB(255, 255, 255));
  std::vector<COLORREF> onBlack = DrawnOver(cursor, size.cx, size.cy, RGB(0, 0, 0));
  image.shown.assign(onWhite.size(), 0);
  image.dark.assign(onWhite.size(), 0);
  for (size_t i = 0; i < onWhite.size(); ++i) {
    COLORREF w = onWhite[i], b = onBlack[i];
    if (w == RGB(255, 255, 255) && b == RGB(0, 0, 0)) continue;  // transparent
    image.shown[i] = 1;
    image.dark[i] = (w == RGB(0, 0, 0) && b == RGB(255, 255, 255)) || IsDark(b) ? 1 : 0;
  }
  return true;
}

}  // namespace brambolt

// A cursor drawn once over white and once over black tells each pixel apart: unchanged
// backgrounds are transparent, swapped ones inverted, anything else the cursor's own colour.
#include "backend/CursorImage.h"

#include <algorithm>

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
  image.argb.assign(onWhite.size(), 0);
  for (size_t i = 0; i < onWhite.size(); ++i) {
    COLORREF w = onWhite[i], b = onBlack[i];
    if (w == RGB(255, 255, 255) && b == RGB(0, 0, 0)) continue;  // transparent
    bool inverts = w == RGB(0, 0, 0) && b == RGB(255, 255, 255);
    image.shown[i] = 1;
    image.dark[i] = inverts || IsDark(b) ? 1 : 0;
    if (inverts) {
      image.argb[i] = 0xFF000000u;
      continue;
    }
    // Over black a pixel shows colour times alpha; over white that plus (1 - alpha) of white.
    int spread = (GetRValue(w) - GetRValue(b)) + (GetGValue(w) - GetGValue(b)) + (GetBValue(w) - GetBValue(b));
    int alpha = std::clamp(255 - spread / 3, 1, 255);
    auto unmix = [alpha](int c) { return static_cast<uint32_t>(std::min(255, c * 255 / alpha)); };
    image.argb[i] = static_cast<uint32_t>(alpha) << 24 | unmix(GetRValue(b)) << 16 | unmix(GetGValue(b)) << 8 |
                    unmix(GetBValue(b));
  }
  return true;
}

}  // namespace brambolt

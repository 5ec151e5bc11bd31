// Logical palettes, the default 20-colour palette and nearest-colour queries. The screen is a
// 32-bit device, so realising a palette changes nothing on it.
#include <algorithm>

#include "gdi/DC.h"
#include "gdi/GdiInternal.h"
#include "gdi/Objects.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace brambolt::gdi {

std::vector<PALETTEENTRY> DefaultPaletteEntries() {
  static const PALETTEENTRY kDefault[20] = {
      {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
      {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
      {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
      {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
  };
  return std::vector<PALETTEENTRY>(std::begin(kDefault), std::end(kDefault));
}

}  // namespace brambolt::gdi

namespace {
std::shared_ptr<PaletteObject> LookupPalette(HPALETTE h) { return LookupAs<PaletteObject>(h, OBJ_PAL); }
}  // namespace

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palVersion != 0x300) return nullptr;
  auto p = std::make_shared<PaletteObject>();
  p->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return static_cast<HPALETTE>(Register(p));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
  auto dc = LookupDC(hdc);
  auto p = LookupPalette(palette);
  if (!dc || !p) return nullptr;
  auto prev = dc->st.palette;
  dc->st.palette = p;
  ++p->selections;
  if (prev) --prev->selections;
  return prev ? static_cast<HPALETTE>(prev->handle) : nullptr;
}

UINT RealizePalette(HDC hdc) { return LookupDC(hdc) ? 0 : GDI_ERROR; }

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries) {
  auto p = LookupPalette(palette);
  if (!p) return 0;
  UINT size = static_cast<UINT>(p->entries.size());
  if (!entries) return size;
  UINT n = 0;
  for (UINT i = start; i < size && n < count; ++i) entries[n++] = p->entries[i];
  return n;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
  auto p = LookupPalette(palette);
  if (!p || !entries || p->stock) return 0;
  UINT n = 0;
  for (UINT i = start; i < p->entries.size() && n < count; ++i) p->entries[i] = entries[n++];
  return n;
}

BOOL AnimatePalette(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
  auto p = LookupPalette(palette);
  if (!p || !entries) return FALSE;
  for (UINT i = 0; i < count && start + i < p->entries.size(); ++i)
    if (p->entries[start + i].peFlags & PC_RESERVED) p->entries[start + i] = entries[i];
  return TRUE;
}

BOOL ResizePalette(HPALETTE palette, UINT count) {
  auto p = LookupPalette(palette);
  if (!p || p->stock) return FALSE;
  p->entries.resize(count, PALETTEENTRY{0, 0, 0, 0});
  return TRUE;
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
  auto p = LookupPalette(palette);
  if (!p || p->entries.empty()) return CLR_INVALID;
  UINT best = 0;
  long bestDist = -1;
  for (UINT i = 0; i < p->entries.size(); ++i) {
    const PALETTEENTRY& e = p->entries[i];
    long dr = e.peRed - GetRValue(color), dg = e.peGreen - GetGValue(color), db = e.peBlue - GetBValue(color);
    long d = dr * dr + dg * dg + db * db;
    if (bestDist < 0 || d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  return best;
}

COLORREF GetNearestColor(HDC hdc, COLORREF color) {
  auto dc = LookupDC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF c = ResolveColor(*dc, color);
  if (dc->IsMono()) return MonoIsWhite(PixelFromColor(c)) ? RGB(255, 255, 255) : RGB(0, 0, 0);
  return c;
}

UINT GetSystemPaletteEntries(HDC hdc, UINT start, UINT count, LPPALETTEENTRY entries) {
  if (!LookupDC(hdc)) return 0;
  // A true-colour screen has no system palette.
  (void)start;
  (void)count;
  (void)entries;
  return 0;
}

UINT GetSystemPaletteUse(HDC hdc) { return LookupDC(hdc) ? SYSPAL_STATIC : SYSPAL_ERROR; }

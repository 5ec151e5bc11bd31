// The handle table, stock objects, pens and brushes, and selecting, querying and deleting objects.
#include <cstring>
#include <unordered_map>

#include "gdi/DC.h"
#include "gdi/GdiInternal.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"

namespace brambolt::gdi {
namespace {

constexpr int kStockCount = 20;

std::shared_ptr<BrushObject> MakeSolidBrush(COLORREF c) {
  auto b = std::make_shared<BrushObject>();
  b->style = BS_SOLID;
  b->color = c & 0x00FFFFFF;
  return b;
}

std::shared_ptr<PenObject> MakePen(DWORD style, int width, COLORREF c) {
  auto p = std::make_shared<PenObject>();
  p->style = style;
  p->width = width;
  p->color = c;
  return p;
}

std::shared_ptr<FontObject> MakeFont(int height, int weight, BYTE pitch, const char* face) {
  auto f = std::make_shared<FontObject>();
  f->lf.lfHeight = height;
  f->lf.lfWeight = weight;
  f->lf.lfPitchAndFamily = pitch;
  std::strncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
  return f;
}

struct Table {
  std::mutex mutex;
  std::unordered_map<uintptr_t, std::shared_ptr<GdiObject>> objects;
  uintptr_t next = 0x10000;
  HGDIOBJ stock[kStockCount] = {};
  HBITMAP defaultBitmap = nullptr;

  HGDIOBJ Add(std::shared_ptr<GdiObject> object) {
    HGDIOBJ h = reinterpret_cast<HGDIOBJ>(next);
    next += 4;
    object->handle = h;
    objects.emplace(reinterpret_cast<uintptr_t>(h), std::move(object));
    return h;
  }
  void AddStock(int index, std::shared_ptr<GdiObject> object) {
    object->stock = true;
    stock[index] = Add(std::move(object));
  }

  Table() {
    AddStock(WHITE_BRUSH, MakeSolidBrush(RGB(255, 255, 255)));
    AddStock(LTGRAY_BRUSH, MakeSolidBrush(RGB(192, 192, 192)));
    AddStock(GRAY_BRUSH, MakeSolidBrush(RGB(128, 128, 128)));
    AddStock(DKGRAY_BRUSH, MakeSolidBrush(RGB(64, 64, 64)));
    AddStock(BLACK_BRUSH, MakeSolidBrush(RGB(0, 0, 0)));
    auto hollow = std::make_shared<BrushObject>();
    hollow->style = BS_NULL;
    AddStock(NULL_BRUSH, hollow);
    AddStock(WHITE_PEN, MakePen(PS_SOLID, 0, RGB(255, 255, 255)));
    AddStock(BLACK_PEN, MakePen(PS_SOLID, 0, RGB(0, 0, 0)));
    AddStock(NULL_PEN, MakePen(PS_NULL, 0, 0));
    AddStock(OEM_FIXED_FONT, MakeFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Terminal"));
    AddStock(ANSI_FIXED_FONT, MakeFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier"));
    AddStock(ANSI_VAR_FONT, MakeFont(13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
    AddStock(SYSTEM_FONT, MakeFont(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"));
    AddStock(DEVICE_DEFAULT_FONT, MakeFont(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"));
    auto palette = std::make_shared<PaletteObject>();
    palette->entries = DefaultPaletteEntries();
    AddStock(DEFAULT_PALETTE, palette);
    AddStock(SYSTEM_FIXED_FONT, MakeFont(15, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Fixedsys"));
    AddStock(DEFAULT_GUI_FONT, MakeFont(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
    AddStock(DC_BRUSH, MakeSolidBrush(RGB(255, 255, 255)));
    AddStock(DC_PEN, MakePen(PS_SOLID, 0, RGB(0, 0, 0)));
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->stock = true;
    bitmap->bitsPixel = 1;
    bitmap->surface = std::make_shared<Surface>(1, 1, 0);
    defaultBitmap = static_cast<HBITMAP>(Add(bitmap));
  }
};

Table& TheTable() {
  // Never destroyed: worker threads may still use handles while the program exits.
  static auto* table = new Table;
  return *table;
}

}  // namespace

HGDIOBJ Register(std::shared_ptr<GdiObject> object) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  return t.Add(std::move(object));
}

std::shared_ptr<GdiObject> Lookup(HGDIOBJ handle) {
  if (!handle) return nullptr;
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
  return it == t.objects.end() ? nullptr : it->second;
}

bool Unregister(HGDIOBJ handle) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  return t.objects.erase(reinterpret_cast<uintptr_t>(handle)) != 0;
}

std::shared_ptr<DeviceContext> LookupDC(HDC hdc) {
  auto object = Lookup(hdc);
  if (!object || (object->type != OBJ_DC && object->type != OBJ_MEMDC)) return nullptr;
  return std::static_pointer_cast<DeviceContext>(object);
}
std::shared_ptr<RegionObject> LookupRegion(HRGN hrgn) { return LookupAs<RegionObject>(hrgn, OBJ_REGION); }
std::shared_ptr<BitmapObject> LookupBitmap(HBITMAP hbm) { return LookupAs<BitmapObject>(hbm, OBJ_BITMAP); }

HBITMAP DefaultBitmap() { return TheTable().defaultBitmap; }
std::shared_ptr<BitmapObject> DefaultBitmapObject() { return LookupBitmap(TheTable().defaultBitmap); }

size_t ObjectCount() {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  size_t n = 0;
  for (const auto& entry : t.objects) n += entry.second->stock ? 0 : 1;
  return n;
}

// Hatch patterns, one byte per row, most significant bit leftmost.
static const uint8_t kHatch[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // HS_HORIZONTAL
    {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL
    {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0xFF},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

Paint SolidPaint(const DeviceContext& dc, COLORREF c) {
  Paint p;
  p.none = false;
  p.solid = true;
  p.color = DevicePixel(dc, c);
  return p;
}

Paint RealizeBrush(const DeviceContext& dc, const BrushObject* brush) {
  Paint p;
  if (!brush || brush->style == BS_NULL) return p;
  if (brush->stock && brush->handle == TheTable().stock[DC_BRUSH]) return SolidPaint(dc, dc.st.dcBrushColor);
  if (brush->style == BS_SOLID) {
    COLORREF c = brush->sysColor >= 0 ? GetSysColor(brush->sysColor) : brush->color;
    return SolidPaint(dc, c);
  }
  p.none = false;
  p.solid = false;
  p.orgX = dc.origin.x + dc.st.brushOrg.x;
  p.orgY = dc.origin.y + dc.st.brushOrg.y;
  bool mono = dc.IsMono();
  if (brush->style == BS_HATCHED) {
    p.pw = p.ph = 8;
    p.pattern.resize(64);
    uint32_t fg = DevicePixel(dc, brush->color), bg = DevicePixel(dc, dc.st.bkColor);
    bool transparent = dc.st.bkMode == TRANSPARENT;
    if (transparent) p.opaque.resize(64);
    int h = brush->hatch >= 0 && brush->hatch < 6 ? brush->hatch : 0;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        bool on = (kHatch[h][y] >> (7 - x)) & 1;
        p.pattern[y * 8 + x] = on ? fg : bg;
        if (transparent) p.opaque[y * 8 + x] = on;
      }
    return p;
  }
  p.pw = brush->patternWidth;
  p.ph = brush->patternHeight;
  if (p.pw <= 0 || p.ph <= 0) return SolidPaint(dc, 0);
  p.pattern = brush->pattern;
  if (brush->monoPattern && !mono) {
    // Monochrome patterns: 0 bits take the text colour, 1 bits the background colour.
    uint32_t fg = DevicePixel(dc, dc.st.textColor), bg = DevicePixel(dc, dc.st.bkColor);
    for (uint32_t& px : p.pattern) px = px ? bg : fg;
  } else if (!brush->monoPattern && mono) {
    for (uint32_t& px : p.pattern) px = MonoIsWhite(px) ? 0xFFFFFF : 0;
  }
  return p;
}

}  // namespace brambolt::gdi

using namespace brambolt::gdi;

namespace brambolt {
size_t GdiObjectCount() { return ObjectCount(); }
}  // namespace brambolt

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
  auto p = std::make_shared<PenObject>();
  p->style = style;
  p->width = static_cast<int>(width);
  p->color = brush ? brush->lbColor : 0;
  if (brush && brush->lbStyle == BS_NULL) p->style = (style & ~PS_STYLE_MASK) | PS_NULL;
  if ((style & PS_STYLE_MASK) == PS_USERSTYLE && styles) p->userStyle.assign(styles, styles + styleCount);
  return static_cast<HPEN>(Register(p));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < 0 || style > PS_INSIDEFRAME) style = PS_SOLID;
  // Styled cosmetic pens are only dashed at width 1 or less; wider ones draw solid.
  if (width > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT) style = PS_SOLID;
  auto p = MakePen(static_cast<DWORD>(style), width < 0 ? 0 : width, color);
  return static_cast<HPEN>(Register(p));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) return nullptr;
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) { return static_cast<HBRUSH>(Register(MakeSolidBrush(color))); }

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  auto b = std::make_shared<BrushObject>();
  b->style = BS_HATCHED;
  b->color = color;
  b->hatch = hatch;
  return static_cast<HBRUSH>(Register(b));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  auto bm = LookupBitmap(bitmap);
  if (!bm || !bm->surface) return nullptr;
  if (bm->NeedsSync()) bm->SyncFromBits();
  auto b = std::make_shared<BrushObject>();
  b->style = BS_PATTERN;
  b->patternWidth = bm->Width();
  b->patternHeight = bm->Height();
  b->monoPattern = bm->IsMono();
  b->pattern.reserve(static_cast<size_t>(b->patternWidth) * b->patternHeight);
  for (int y = 0; y < b->patternHeight; ++y)
    for (int x = 0; x < b->patternWidth; ++x) b->pattern.push_back(bm->surface->GetPixel(x, y));
  return static_cast<HBRUSH>(Register(b));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  switch (brush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(brush->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    case BS_DIBPATTERNPT: return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(brush->lbHatch), brush->lbColor);
    default: return nullptr;
  }
}

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= kStockCount) return nullptr;
  return TheTable().stock[index];
}

DWORD GetObjectType(HGDIOBJ object) {
  auto o = Lookup(object);
  if (!o || o->type > OBJ_ENHMETAFILE) return 0;
  if (o->type == OBJ_PEN && !std::static_pointer_cast<PenObject>(o)->userStyle.empty()) return OBJ_EXTPEN;
  return static_cast<DWORD>(o->type);
}

static void CopyOut(LPVOID buffer, int size, const void* data, int dataSize) {
  std::memcpy(buffer, data, static_cast<size_t>(size < dataSize ? size : dataSize));
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
  auto o = Lookup(object);
  if (!o) return 0;
  switch (o->type) {
    case OBJ_PEN: {
      auto p = std::static_pointer_cast<PenObject>(o);
      if (!p->userStyle.empty() || (p->style & PS_TYPE_MASK) == PS_GEOMETRIC) {
        int need = static_cast<int>(offsetof(EXTLOGPEN, elpStyleEntry) + sizeof(DWORD) * std::max<size_t>(1, p->userStyle.size()));
        if (!buffer) return need;
        std::vector<uint8_t> raw(static_cast<size_t>(need));
        auto* e = reinterpret_cast<EXTLOGPEN*>(raw.data());
        e->elpPenStyle = p->style;
        e->elpWidth = static_cast<DWORD>(p->width);
        e->elpBrushStyle = p->IsNull() ? BS_NULL : BS_SOLID;
        e->elpColor = p->color;
        e->elpNumEntries = static_cast<DWORD>(p->userStyle.size());
        for (size_t i = 0; i < p->userStyle.size(); ++i) e->elpStyleEntry[i] = p->userStyle[i];
        CopyOut(buffer, size, raw.data(), need);
        return std::min(size, need);
      }
      if (!buffer) return sizeof(LOGPEN);
      LOGPEN lp{p->style, POINT{p->width, 0}, p->color};
      CopyOut(buffer, size, &lp, sizeof lp);
      return std::min<int>(size, sizeof lp);
    }
    case OBJ_BRUSH: {
      if (!buffer) return sizeof(LOGBRUSH);
      auto b = std::static_pointer_cast<BrushObject>(o);
      LOGBRUSH lb{b->style, b->sysColor >= 0 ? GetSysColor(b->sysColor) : b->color,
                  static_cast<ULONG_PTR>(b->style == BS_HATCHED ? b->hatch : 0)};
      CopyOut(buffer, size, &lb, sizeof lb);
      return std::min<int>(size, sizeof lb);
    }
    case OBJ_FONT: {
      if (!buffer) return sizeof(LOGFONT);
      auto f = std::static_pointer_cast<FontObject>(o);
      CopyOut(buffer, size, &f->lf, sizeof f->lf);
      return std::min<int>(size, sizeof f->lf);
    }
    case OBJ_PAL: {
      if (!buffer) return sizeof(WORD);
      WORD n = static_cast<WORD>(std::static_pointer_cast<PaletteObject>(o)->entries.size());
      CopyOut(buffer, size, &n, sizeof n);
      return std::min<int>(size, sizeof n);
    }
    case OBJ_BITMAP: {
      auto bm = std::static_pointer_cast<BitmapObject>(o);
      BITMAP b{};
      b.bmType = 0;
      b.bmWidth = bm->Width();
      b.bmHeight = bm->Height();
      b.bmPlanes = 1;
      b.bmBitsPixel = static_cast<WORD>(bm->bitsPixel);
      if (bm->dibSection) {
        b.bmWidthBytes = ((bm->Width() * bm->bitsPixel + 31) / 32) * 4;
        b.bmBits = bm->bits;
        if (buffer && size >= static_cast<int>(sizeof(DIBSECTION))) {
          DIBSECTION ds{};
          ds.dsBm = b;
          ds.dsBmih = bm->dib;
          std::memcpy(ds.dsBitfields, bm->masks, sizeof ds.dsBitfields);
          std::memcpy(buffer, &ds, sizeof ds);
          return sizeof ds;
        }
      } else {
        b.bmWidthBytes = ((bm->Width() * bm->bitsPixel + 15) / 16) * 2;
      }
      if (!buffer) return bm->dibSection ? sizeof(DIBSECTION) : sizeof(BITMAP);
      CopyOut(buffer, size, &b, sizeof b);
      return std::min<int>(size, sizeof b);
    }
    default: return 0;
  }
}

BOOL DeleteObject(HGDIOBJ object) {
  auto o = Lookup(object);
  if (!o || o->type == OBJ_DC || o->type == OBJ_MEMDC || o->type > OBJ_ENHMETAFILE) return FALSE;
  if (o->stock) return TRUE;
  if (o->selections > 0) return FALSE;
  if (o->type == OBJ_BITMAP && std::static_pointer_cast<BitmapObject>(o)->selectedInto) return FALSE;
  if (o->type == OBJ_BRUSH && std::static_pointer_cast<BrushObject>(o)->sysColor >= 0) return TRUE;
  return Unregister(object) ? TRUE : FALSE;
}

BOOL UnrealizeObject(HGDIOBJ object) { return Lookup(object) ? TRUE : FALSE; }

// Device contexts: creation and destruction, selection, saved states, attributes and clipping.
#include "gdi/DC.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "gdi/GdiInternal.h"
#include "gdi/Objects.h"
#include "gdi/DevMode.h"
#include "gdi/Printer.h"
#include "gdi/SysColors.h"

namespace brambolt::gdi {
namespace {

std::atomic<DisplayDCFactory> g_displayFactory{nullptr};

void Retain(const std::shared_ptr<GdiObject>& o) {
  if (o) ++o->selections;
}
void Release(const std::shared_ptr<GdiObject>& o) {
  if (o) --o->selections;
}

void RetainState(DeviceContext& dc, DcState& st) {
  Retain(st.pen);
  Retain(st.brush);
  Retain(st.font);
  Retain(st.palette);
  if (st.bitmap) {
    // The stock bitmap is in every memory DC at once, of any thread: it records none of them.
    if (!st.bitmap->stock) st.bitmap->selectedInto = static_cast<HDC>(dc.handle);
    dc.surface = st.bitmap->surface;
  }
}

void ReleaseState(DcState& st) {
  Release(st.pen);
  Release(st.brush);
  Release(st.font);
  Release(st.palette);
  if (st.bitmap && !st.bitmap->stock) st.bitmap->selectedInto = nullptr;
}

void InitState(DcState& st) {
  st.pen = LookupAs<PenObject>(GetStockObject(BLACK_PEN), OBJ_PEN);
  st.brush = LookupAs<BrushObject>(GetStockObject(WHITE_BRUSH), OBJ_BRUSH);
  st.font = LookupAs<FontObject>(GetStockObject(SYSTEM_FONT), OBJ_FONT);
  st.palette = LookupAs<PaletteObject>(GetStockObject(DEFAULT_PALETTE), OBJ_PAL);
}

HDC RegisterDC(std::shared_ptr<DeviceContext> dc) {
  InitState(dc->st);
  HDC h = static_cast<HDC>(Register(dc));
  RetainState(*dc, dc->st);
  return h;
}

// The DC's device area when no clip region is selected, in device coordinates.
RECT DeviceBounds(const DeviceContext& dc) {
  if (!dc.surface) return RECT{0, 0, 0, 0};
  return RECT{-dc.origin.x, -dc.origin.y, dc.surface->Width() - dc.origin.x, dc.surface->Height() - dc.origin.y};
}

int EffectiveType(DeviceContext& dc) { return dc.Clip().Type(); }

POINT ToLogical(const DeviceContext& dc, POINT p) {
  const DcState& s = dc.st;
  if (s.mapMode == MM_TEXT)
    return POINT{p.x - s.viewportOrg.x + s.windowOrg.x, p.y - s.viewportOrg.y + s.windowOrg.y};
  return POINT{MulDiv(p.x - s.viewportOrg.x, s.windowExt.cx, s.viewportExt.cx) + s.windowOrg.x,
               MulDiv(p.y - s.viewportOrg.y, s.windowExt.cy, s.viewportExt.cy) + s.windowOrg.y};
}

RECT LogicalRectToDevice(const DeviceContext& dc, int l, int t, int r, int b) {
  POINT a = ToDevice(dc, POINT{l, t}), c = ToDevice(dc, POINT{r, b});
  return RECT{std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)};
}

void CombineClip(DeviceContext& dc, const Region& region, int mode) {
  DcState& s = dc.st;
  Region current = s.hasClip ? s.clip : Region(DeviceBounds(dc));
  if (mode == RGN_COPY) {
    s.clip = region;
  } else {
    s.clip = Region::Combine(current, region, mode);
  }
  s.hasClip = true;
  dc.InvalidateClip();
}

void AdjustIsotropic(DcState& s) {
  if (s.mapMode != MM_ISOTROPIC || s.windowExt.cx == 0 || s.windowExt.cy == 0) return;
  long long xs = std::llabs(static_cast<long long>(s.viewportExt.cx)) * std::llabs(static_cast<long long>(s.windowExt.cy));
  long long ys = std::llabs(static_cast<long long>(s.viewportExt.cy)) * std::llabs(static_cast<long long>(s.windowExt.cx));
  if (xs < ys) {
    int v = std::abs(MulDiv(s.windowExt.cy, s.viewportExt.cx, s.windowExt.cx));
    s.viewportExt.cy = s.viewportExt.cy < 0 ? -v : v;
  } else if (xs > ys) {
    int v = std::abs(MulDiv(s.windowExt.cx, s.viewportExt.cy, s.windowExt.cy));
    s.viewportExt.cx = s.viewportExt.cx < 0 ? -v : v;
  }
}

bool FixedScaleMode(int mode) { return mode >= MM_LOMETRIC && mode <= MM_TWIPS; }

}  // namespace

const Region& DeviceContext::Clip() {
  if (!clipDirty) return effectiveClip;
  clipDirty = false;
  if (!surface) {
    effectiveClip.SetEmpty();
    return effectiveClip;
  }
  effectiveClip.SetRect(RECT{0, 0, surface->Width(), surface->Height()});
  if (hasVisible) effectiveClip.Intersect(visible);
  if (st.hasClip) {
    Region c = st.clip;
    c.Offset(origin.x, origin.y);
    effectiveClip.Intersect(c);
  }
  return effectiveClip;
}

POINT ToDevice(const DeviceContext& dc, POINT p) {
  const DcState& s = dc.st;
  if (s.mapMode == MM_TEXT)
    return POINT{p.x - s.windowOrg.x + s.viewportOrg.x, p.y - s.windowOrg.y + s.viewportOrg.y};
  return POINT{MulDiv(p.x - s.windowOrg.x, s.viewportExt.cx, s.windowExt.cx) + s.viewportOrg.x,
               MulDiv(p.y - s.windowOrg.y, s.viewportExt.cy, s.windowExt.cy) + s.viewportOrg.y};
}

POINT ToSurface(const DeviceContext& dc, POINT p) {
  POINT d = ToDevice(dc, p);
  return POINT{d.x + dc.origin.x, d.y + dc.origin.y};
}

RECT ToSurfaceRect(const DeviceContext& dc, const RECT& r) {
  POINT a = ToSurface(dc, POINT{r.left, r.top}), b = ToSurface(dc, POINT{r.right, r.bottom});
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

int ScaleWidth(const DeviceContext& dc, int w) {
  if (dc.st.mapMode == MM_TEXT) return w;
  return std::abs(MulDiv(w, dc.st.viewportExt.cx, dc.st.windowExt.cx));
}

int ScaleHeight(const DeviceContext& dc, int h) {
  if (dc.st.mapMode == MM_TEXT) return h;
  return std::abs(MulDiv(h, dc.st.viewportExt.cy, dc.st.windowExt.cy));
}

DrawScope::DrawScope(DeviceContext& dc) : dc_(dc), surface_(dc.surface.get()) {
  if (dc_.st.bitmap && dc_.st.bitmap->NeedsSync()) dc_.st.bitmap->SyncFromBits();
}

DrawScope::~DrawScope() {
  if (dc_.st.bitmap && dc_.st.bitmap->NeedsSync()) dc_.st.bitmap->SyncToBits();
}

COLORREF ResolveColor(const DeviceContext& dc, COLORREF c) {
  if ((c >> 24) == 0x01) {
    WORD index = static_cast<WORD>(c & 0xFFFF);
    const auto& entries = dc.st.palette ? dc.st.palette->entries : DefaultPaletteEntries();
    if (index >= entries.size()) index = 0;
    if (entries.empty()) return 0;
    const PALETTEENTRY& e = entries[index];
    return RGB(e.peRed, e.peGreen, e.peBlue);
  }
  return c & 0x00FFFFFF;
}

uint32_t DevicePixel(const DeviceContext& dc, COLORREF c) {
  uint32_t p = PixelFromColor(ResolveColor(dc, c));
  if (dc.IsMono()) return MonoIsWhite(p) ? 0xFFFFFF : 0;
  return p;
}

}  // namespace brambolt::gdi

using namespace brambolt;
using namespace brambolt::gdi;

namespace brambolt {

HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT deviceOrigin, const Region* visible) {
  auto dc = std::make_shared<DeviceContext>(DcKind::Surface);
  dc->surface = std::move(surface);
  dc->origin = deviceOrigin;
  if (visible) {
    dc->hasVisible = true;
    dc->visible = *visible;
  }
  SIZE screen = GetScreenSize();
  dc->horzRes = screen.cx;
  dc->vertRes = screen.cy;
  return RegisterDC(dc);
}

void SetSurfaceDCVisibleRegion(HDC hdc, const Region& visible) {
  auto dc = LookupDC(hdc);
  if (!dc) return;
  dc->hasVisible = true;
  dc->visible = visible;
  dc->InvalidateClip();
}

void SetSurfaceDCOrigin(HDC hdc, POINT deviceOrigin) {
  auto dc = LookupDC(hdc);
  if (!dc) return;
  dc->origin = deviceOrigin;
  dc->InvalidateClip();
}

std::shared_ptr<Surface> GetDCSurface(HDC hdc) {
  auto dc = LookupDC(hdc);
  if (!dc) return nullptr;
  if (dc->st.bitmap && dc->st.bitmap->NeedsSync()) dc->st.bitmap->SyncFromBits();
  return dc->surface;
}

void SetDisplayDCFactory(DisplayDCFactory factory) { g_displayFactory = factory; }

bool SavePng(HDC hdc, const char* path) {
  auto surface = GetDCSurface(hdc);
  return surface && SavePng(*surface, path);
}

}  // namespace brambolt

HDC CreateCompatibleDC(HDC hdc) {
  auto dc = std::make_shared<DeviceContext>(DcKind::Memory);
  SIZE screen = GetScreenSize();
  dc->horzRes = screen.cx;
  dc->vertRes = screen.cy;
  if (hdc) {
    auto ref = LookupDC(hdc);
    if (!ref) return nullptr;
    dc->dpiX = ref->dpiX;
    dc->dpiY = ref->dpiY;
    dc->horzRes = ref->horzRes;
    dc->vertRes = ref->vertRes;
    dc->printer = ref->printer;
  }
  dc->st.bitmap = DefaultBitmapObject();
  dc->surface = dc->st.bitmap->surface;
  return RegisterDC(dc);
}

static bool IsDisplay(LPCSTR driver, LPCSTR device) {
  auto eq = [](LPCSTR a, const char* b) { return a && strcasecmp(a, b) == 0; };
  return (!driver && !device) || eq(driver, "DISPLAY") || eq(device, "DISPLAY");
}

HDC CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData) {
  if (IsDisplay(driver, device)) {
    if (DisplayDCFactory f = g_displayFactory.load()) return f();
  }
  return CreateIC(driver, device, output, initData);
}

HDC CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData) {
  if (!IsDisplay(driver, device)) {
    PrinterSettings settings = GetDefaultPrinterSettings();
    DEVMODE full{};
    bool hasMode = initData != nullptr;
    if (hasMode) {
      const auto* dm = static_cast<const DEVMODE*>(initData);
      if (dm->dmSize < offsetof(DEVMODE, dmFields) + sizeof(DWORD)) return nullptr;
      // An older, shorter DEVMODE has no fields past its size.
      std::memcpy(&full, dm, std::min<size_t>(dm->dmSize, sizeof full));
      settings = ApplyDevMode(settings, full);
    }
    if (device && *device) settings.name = device;
    // The port: a file name, the file port, or the spooler (a printer's own port).
    bool toFile = settings.name == kPrintToFileName;
    settings.port = output && *output ? output : toFile ? kFilePort : kSpoolerPort;
    if (settings.port != kSpoolerPort) {
      // A PDF file has no unprintable margins.
      settings.offsetX = settings.offsetY = 0;
      settings.rightMargin = settings.bottomMargin = -1;
    } else {
      ApplyPrinterMargins(&settings, hasMode ? full : DefaultDevMode(settings.name));
    }
    return CreatePrinterDC(settings);
  }
  auto dc = std::make_shared<DeviceContext>(DcKind::Info);
  SIZE screen = GetScreenSize();
  dc->horzRes = screen.cx;
  dc->vertRes = screen.cy;
  return RegisterDC(dc);
}

BOOL DeleteDC(HDC hdc) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  ReleaseState(dc->st);
  dc->saved.clear();
  return Unregister(hdc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  auto dc = LookupDC(hdc);
  auto o = Lookup(object);
  if (!dc || !o) return nullptr;
  DcState& s = dc->st;
  switch (o->type) {
    case OBJ_PEN: {
      auto prev = s.pen;
      s.pen = std::static_pointer_cast<PenObject>(o);
      Retain(s.pen);
      Release(prev);
      return prev ? prev->handle : nullptr;
    }
    case OBJ_BRUSH: {
      auto prev = s.brush;
      s.brush = std::static_pointer_cast<BrushObject>(o);
      Retain(s.brush);
      Release(prev);
      return prev ? prev->handle : nullptr;
    }
    case OBJ_FONT: {
      auto prev = s.font;
      s.font = std::static_pointer_cast<FontObject>(o);
      Retain(s.font);
      Release(prev);
      return prev ? prev->handle : nullptr;
    }
    case OBJ_BITMAP: {
      if (dc->kind != DcKind::Memory) return nullptr;
      auto bm = std::static_pointer_cast<BitmapObject>(o);
      if (bm == s.bitmap) return bm->handle;
      if (bm->selectedInto && !bm->stock) return nullptr;
      auto prev = s.bitmap;
      if (prev && !prev->stock) prev->selectedInto = nullptr;
      s.bitmap = bm;
      if (!bm->stock) bm->selectedInto = hdc;
      dc->surface = bm->surface;
      dc->InvalidateClip();
      return prev ? prev->handle : nullptr;
    }
    case OBJ_REGION: {
      int type = SelectClipRgn(hdc, static_cast<HRGN>(object));
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(type));
    }
    default: return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  auto dc = LookupDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: case OBJ_EXTPEN: return dc->st.pen ? dc->st.pen->handle : nullptr;
    case OBJ_BRUSH: return dc->st.brush ? dc->st.brush->handle : nullptr;
    case OBJ_FONT: return dc->st.font ? dc->st.font->handle : nullptr;
    case OBJ_PAL: return dc->st.palette ? dc->st.palette->handle : nullptr;
    case OBJ_BITMAP: return dc->st.bitmap ? dc->st.bitmap->handle : nullptr;
    default: return nullptr;
  }
}

int SaveDC(HDC hdc) {
  auto dc = LookupDC(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->st);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int savedDC) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  int n = static_cast<int>(dc->saved.size());
  int target = savedDC < 0 ? n + savedDC + 1 : savedDC;
  if (target < 1 || target > n) return FALSE;
  DcState restored = dc->saved[static_cast<size_t>(target - 1)];
  // A saved bitmap now selected into another DC cannot come back.
  if (restored.bitmap && restored.bitmap != dc->st.bitmap && restored.bitmap->selectedInto &&
      !restored.bitmap->stock)
    return FALSE;
  dc->saved.resize(static_cast<size_t>(target - 1));
  ReleaseState(dc->st);
  dc->st = std::move(restored);
  RetainState(*dc, dc->st);
  dc->InvalidateClip();
  return TRUE;
}

static PrinterSettings PrinterPaper(HDC hdc) {
  PrinterSettings settings;
  GetPrinterSettings(hdc, &settings);
  return settings;
}

int GetDeviceCaps(HDC hdc, int index) {
  auto dc = LookupDC(hdc);
  if (!dc) return 0;
  bool printer = dc->printer != nullptr;
  int horzRes = dc->horzRes, vertRes = dc->vertRes;
  switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZSIZE: return MulDiv(horzRes, 254, dc->dpiX * 10);
    case VERTSIZE: return MulDiv(vertRes, 254, dc->dpiY * 10);
    case HORZRES: case DESKTOPHORZRES: return horzRes;
    case VERTRES: case DESKTOPVERTRES: return vertRes;
    case BITSPIXEL: return dc->IsMono() ? 1 : 32;
    case PLANES: return 1;
    case NUMBRUSHES: case NUMPENS: case NUMCOLORS: return -1;
    case NUMFONTS: return 0;
    case CURVECAPS: return CC_CIRCLES | CC_PIE | CC_CHORD | CC_ELLIPSES | CC_WIDE | CC_STYLED | CC_INTERIORS | CC_ROUNDRECT;
    case LINECAPS: return LC_POLYLINE | LC_WIDE | LC_STYLED | LC_INTERIORS;
    case POLYGONALCAPS: return PC_POLYGON | PC_RECTANGLE | PC_WINDPOLYGON | PC_SCANLINE | PC_WIDE | PC_STYLED | PC_INTERIORS;
    case TEXTCAPS: return TC_OP_CHARACTER | TC_CR_90 | TC_UA_ABLE | TC_SO_ABLE;
    case CLIPCAPS: return CP_RECTANGLE | CP_REGION;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV | RC_BIGFONT | RC_STRETCHBLT |
             RC_FLOODFILL | RC_STRETCHDIB | (printer ? RC_BANDING : 0);
    case ASPECTX: case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX: return dc->dpiX;
    case LOGPIXELSY: return dc->dpiY;
    case SIZEPALETTE: case NUMRESERVED: return 0;
    case COLORRES: return 24;
    case PHYSICALWIDTH: return printer ? PrinterPaper(hdc).paperWidth : 0;
    case PHYSICALHEIGHT: return printer ? PrinterPaper(hdc).paperHeight : 0;
    case PHYSICALOFFSETX: return printer ? PrinterPaper(hdc).offsetX : 0;
    case PHYSICALOFFSETY: return printer ? PrinterPaper(hdc).offsetY : 0;
    case VREFRESH: return printer ? 0 : 60;
    case BLTALIGNMENT: return 0;
    default: return 0;
  }
}

// ---- attributes ----
namespace {

template <class T>
T Exchange(HDC hdc, T DcState::*field, T value, T failure) {
  auto dc = LookupDC(hdc);
  if (!dc) return failure;
  T prev = dc->st.*field;
  dc->st.*field = value;
  return prev;
}

template <class T>
T Read(HDC hdc, T DcState::*field, T failure) {
  auto dc = LookupDC(hdc);
  return dc ? dc->st.*field : failure;
}

}  // namespace

#define DC_OR(value)         \
  auto dc = LookupDC(hdc);   \
  if (!dc) return value;     \
  DcState& s = dc->st

COLORREF SetTextColor(HDC hdc, COLORREF color) { return Exchange(hdc, &DcState::textColor, color, CLR_INVALID); }
COLORREF GetTextColor(HDC hdc) { return Read(hdc, &DcState::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC hdc, COLORREF color) { return Exchange(hdc, &DcState::bkColor, color, CLR_INVALID); }
COLORREF GetBkColor(HDC hdc) { return Read(hdc, &DcState::bkColor, CLR_INVALID); }
int SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return Exchange(hdc, &DcState::bkMode, mode, 0);
}
int GetBkMode(HDC hdc) { return Read(hdc, &DcState::bkMode, 0); }
int SetROP2(HDC hdc, int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  return Exchange(hdc, &DcState::rop2, rop2, 0);
}
int GetROP2(HDC hdc) { return Read(hdc, &DcState::rop2, 0); }
int SetPolyFillMode(HDC hdc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return Exchange(hdc, &DcState::polyFillMode, mode, 0);
}
int GetPolyFillMode(HDC hdc) { return Read(hdc, &DcState::polyFillMode, 0); }
int SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return Exchange(hdc, &DcState::stretchMode, mode, 0);
}
int GetStretchBltMode(HDC hdc) { return Read(hdc, &DcState::stretchMode, 0); }
int SetArcDirection(HDC hdc, int direction) {
  if (direction != AD_CLOCKWISE && direction != AD_COUNTERCLOCKWISE) return 0;
  return Exchange(hdc, &DcState::arcDirection, direction, 0);
}
int GetArcDirection(HDC hdc) { return Read(hdc, &DcState::arcDirection, 0); }
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
  DC_OR(FALSE);
  if (previous) *previous = s.brushOrg;
  s.brushOrg = POINT{x, y};
  return TRUE;
}
BOOL GetBrushOrgEx(HDC hdc, LPPOINT origin) {
  DC_OR(FALSE);
  if (origin) *origin = s.brushOrg;
  return TRUE;
}
COLORREF SetDCBrushColor(HDC hdc, COLORREF color) { return Exchange(hdc, &DcState::dcBrushColor, color, CLR_INVALID); }
COLORREF GetDCBrushColor(HDC hdc) { return Read(hdc, &DcState::dcBrushColor, CLR_INVALID); }
COLORREF SetDCPenColor(HDC hdc, COLORREF color) { return Exchange(hdc, &DcState::dcPenColor, color, CLR_INVALID); }
COLORREF GetDCPenColor(HDC hdc) { return Read(hdc, &DcState::dcPenColor, CLR_INVALID); }
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT point) {
  DC_OR(FALSE);
  if (point) *point = s.position;
  return TRUE;
}

// ---- mapping ----
int SetMapMode(HDC hdc, int mode) {
  DC_OR(0);
  if (mode < MM_MIN || mode > MM_MAX) return 0;
  int prev = s.mapMode;
  s.mapMode = mode;
  int dx = dc->dpiX, dy = dc->dpiY;
  switch (mode) {
    case MM_TEXT: s.windowExt = SIZE{1, 1}; s.viewportExt = SIZE{1, 1}; break;
    case MM_LOMETRIC: case MM_ISOTROPIC: s.windowExt = SIZE{254, 254}; s.viewportExt = SIZE{dx, -dy}; break;
    case MM_HIMETRIC: s.windowExt = SIZE{2540, 2540}; s.viewportExt = SIZE{dx, -dy}; break;
    case MM_LOENGLISH: s.windowExt = SIZE{100, 100}; s.viewportExt = SIZE{dx, -dy}; break;
    case MM_HIENGLISH: s.windowExt = SIZE{1000, 1000}; s.viewportExt = SIZE{dx, -dy}; break;
    case MM_TWIPS: s.windowExt = SIZE{1440, 1440}; s.viewportExt = SIZE{dx, -dy}; break;
    case MM_ANISOTROPIC: break;
  }
  return prev;
}
int GetMapMode(HDC hdc) { return Read(hdc, &DcState::mapMode, 0); }
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
  DC_OR(FALSE);
  if (previous) *previous = s.windowOrg;
  s.windowOrg = POINT{x, y};
  return TRUE;
}
BOOL GetWindowOrgEx(HDC hdc, LPPOINT origin) {
  DC_OR(FALSE);
  if (origin) *origin = s.windowOrg;
  return TRUE;
}
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT previous) {
  DC_OR(FALSE);
  if (previous) *previous = s.windowOrg;
  s.windowOrg.x += dx;
  s.windowOrg.y += dy;
  return TRUE;
}
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
  DC_OR(FALSE);
  if (previous) *previous = s.viewportOrg;
  s.viewportOrg = POINT{x, y};
  return TRUE;
}
BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin) {
  DC_OR(FALSE);
  if (origin) *origin = s.viewportOrg;
  return TRUE;
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT previous) {
  DC_OR(FALSE);
  if (previous) *previous = s.viewportOrg;
  s.viewportOrg.x += dx;
  s.viewportOrg.y += dy;
  return TRUE;
}
BOOL SetWindowExtEx(HDC hdc, int x, int y, LPSIZE previous) {
  DC_OR(FALSE);
  if (previous) *previous = s.windowExt;
  if (s.mapMode == MM_TEXT || FixedScaleMode(s.mapMode)) return TRUE;
  if (x == 0 || y == 0) return FALSE;
  s.windowExt = SIZE{x, y};
  AdjustIsotropic(s);
  return TRUE;
}
BOOL GetWindowExtEx(HDC hdc, LPSIZE extent) {
  DC_OR(FALSE);
  if (extent) *extent = s.windowExt;
  return TRUE;
}
BOOL SetViewportExtEx(HDC hdc, int x, int y, LPSIZE previous) {
  DC_OR(FALSE);
  if (previous) *previous = s.viewportExt;
  if (s.mapMode == MM_TEXT || FixedScaleMode(s.mapMode)) return TRUE;
  if (x == 0 || y == 0) return FALSE;
  s.viewportExt = SIZE{x, y};
  AdjustIsotropic(s);
  return TRUE;
}
BOOL GetViewportExtEx(HDC hdc, LPSIZE extent) {
  DC_OR(FALSE);
  if (extent) *extent = s.viewportExt;
  return TRUE;
}
BOOL ScaleViewportExtEx(HDC hdc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE previous) {
  DC_OR(FALSE);
  if (previous) *previous = s.viewportExt;
  if (s.mapMode != MM_ISOTROPIC && s.mapMode != MM_ANISOTROPIC) return TRUE;
  if (xDenom == 0 || yDenom == 0) return FALSE;
  SIZE e{MulDiv(s.viewportExt.cx, xNum, xDenom), MulDiv(s.viewportExt.cy, yNum, yDenom)};
  if (e.cx == 0 || e.cy == 0) return FALSE;
  s.viewportExt = e;
  AdjustIsotropic(s);
  return TRUE;
}
BOOL ScaleWindowExtEx(HDC hdc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE previous) {
  DC_OR(FALSE);
  if (previous) *previous = s.windowExt;
  if (s.mapMode != MM_ISOTROPIC && s.mapMode != MM_ANISOTROPIC) return TRUE;
  if (xDenom == 0 || yDenom == 0) return FALSE;
  SIZE e{MulDiv(s.windowExt.cx, xNum, xDenom), MulDiv(s.windowExt.cy, yNum, yDenom)};
  if (e.cx == 0 || e.cy == 0) return FALSE;
  s.windowExt = e;
  AdjustIsotropic(s);
  return TRUE;
}
BOOL LPtoDP(HDC hdc, LPPOINT points, int count) {
  auto dc = LookupDC(hdc);
  if (!dc || (count > 0 && !points)) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = ToDevice(*dc, points[i]);
  return TRUE;
}
BOOL DPtoLP(HDC hdc, LPPOINT points, int count) {
  auto dc = LookupDC(hdc);
  if (!dc || (count > 0 && !points)) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = ToLogical(*dc, points[i]);
  return TRUE;
}

// ---- clipping ----
int SelectClipRgn(HDC hdc, HRGN hrgn) { return ExtSelectClipRgn(hdc, hrgn, RGN_COPY); }

int ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode) {
  auto dc = LookupDC(hdc);
  if (!dc) return ERROR;
  if (!hrgn) {
    if (mode != RGN_COPY) return ERROR;
    dc->st.hasClip = false;
    dc->st.clip.SetEmpty();
    dc->InvalidateClip();
    return EffectiveType(*dc);
  }
  auto r = LookupRegion(hrgn);
  if (!r || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  CombineClip(*dc, r->region, mode);
  return EffectiveType(*dc);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  auto dc = LookupDC(hdc);
  if (!dc) return ERROR;
  CombineClip(*dc, Region(LogicalRectToDevice(*dc, left, top, right, bottom)), RGN_AND);
  return EffectiveType(*dc);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  auto dc = LookupDC(hdc);
  if (!dc) return ERROR;
  CombineClip(*dc, Region(LogicalRectToDevice(*dc, left, top, right, bottom)), RGN_DIFF);
  return EffectiveType(*dc);
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
  auto dc = LookupDC(hdc);
  if (!dc) return ERROR;
  if (dc->st.hasClip) {
    dc->st.clip.Offset(ScaleWidth(*dc, dx) * (dc->st.viewportExt.cx < 0 ? -1 : 1) * (dc->st.windowExt.cx < 0 ? -1 : 1),
                       ScaleHeight(*dc, dy) * (dc->st.viewportExt.cy < 0 ? -1 : 1) * (dc->st.windowExt.cy < 0 ? -1 : 1));
    dc->InvalidateClip();
  }
  return EffectiveType(*dc);
}

int GetClipBox(HDC hdc, LPRECT rect) {
  auto dc = LookupDC(hdc);
  if (!dc || !rect) return ERROR;
  if (!dc->surface) {
    // Information DCs, and printers between pages, report their whole device.
    RECT device{0, 0, dc->horzRes, dc->vertRes};
    if (dc->st.hasClip) device = dc->st.clip.Box();
    POINT a = ToLogical(*dc, POINT{device.left, device.top}), b = ToLogical(*dc, POINT{device.right, device.bottom});
    *rect = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    return SIMPLEREGION;
  }
  const Region& clip = dc->Clip();
  if (clip.IsEmpty()) {
    *rect = RECT{0, 0, 0, 0};
    return NULLREGION;
  }
  RECT box = clip.Box();
  POINT a = ToLogical(*dc, POINT{box.left - dc->origin.x, box.top - dc->origin.y});
  POINT b = ToLogical(*dc, POINT{box.right - dc->origin.x, box.bottom - dc->origin.y});
  *rect = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  return clip.Type();
}

int GetClipRgn(HDC hdc, HRGN hrgn) {
  auto dc = LookupDC(hdc);
  auto r = LookupRegion(hrgn);
  if (!dc || !r) return -1;
  if (!dc->st.hasClip) return 0;
  r->region = dc->st.clip;
  return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  auto dc = LookupDC(hdc);
  if (!dc) return -1;
  POINT p = ToSurface(*dc, POINT{x, y});
  return dc->Clip().Contains(p.x, p.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC hdc, const RECT* rect) {
  auto dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  return dc->Clip().Intersects(ToSurfaceRect(*dc, *rect)) ? TRUE : FALSE;
}

// Internals shared by the files of the gdi module: the object table, the objects behind the
// handles, the device context state and the realised pens and brushes. Not for other modules.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "gdi/GdiTypes.h"
#include "gdi/PageRecord.h"
#include "gdi/Region.h"
#include "gdi/Surface.h"

namespace brambolt::gdi {

struct GdiObject {
  explicit GdiObject(int t) : type(t) {}
  virtual ~GdiObject() = default;
  int type;
  bool stock = false;
  std::atomic<int> selections = 0;  // device contexts that currently have it selected
  HGDIOBJ handle = nullptr;
};

struct PenObject : GdiObject {
  PenObject() : GdiObject(OBJ_PEN) {}
  DWORD style = PS_SOLID;  // full style word (type, caps, joins, dash style)
  int width = 0;
  COLORREF color = 0;
  std::vector<DWORD> userStyle;
  int Dash() const { return static_cast<int>(style & PS_STYLE_MASK); }
  bool IsNull() const { return Dash() == PS_NULL; }
};

struct BitmapObject;

struct BrushObject : GdiObject {
  BrushObject() : GdiObject(OBJ_BRUSH) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
  int hatch = 0;
  int sysColor = -1;  // a system colour brush follows SetSysColors
  // Pattern brushes: pixels of the pattern; monochrome patterns take the DC's colours when used.
  std::vector<uint32_t> pattern;
  int patternWidth = 0, patternHeight = 0;
  bool monoPattern = false;
  bool dibPattern = false;
};

struct PaletteObject : GdiObject {
  PaletteObject() : GdiObject(OBJ_PAL) {}
  std::vector<PALETTEENTRY> entries;
};

struct RegionObject : GdiObject {
  RegionObject() : GdiObject(OBJ_REGION) {}
  Region region;
};

struct FontObject : GdiObject {
  FontObject() : GdiObject(OBJ_FONT) {}
  LOGFONT lf{};
};

struct BitmapObject : GdiObject {
  BitmapObject() : GdiObject(OBJ_BITMAP) {}
  SurfacePtr surface;
  int bitsPixel = 32;  // 1 for monochrome device bitmaps; the DIB depth for DIB sections
  SIZE dimension{0, 0};
  HDC selectedInto = nullptr;
  // DIB sections: the caller-visible bits and their format. Depths other than 32 keep the
  // surface as a 32-bit shadow converted from the bits before and back after each operation.
  bool dibSection = false;
  BITMAPINFOHEADER dib{};
  std::vector<RGBQUAD> colors;
  DWORD masks[3] = {0, 0, 0};
  uint8_t* bits = nullptr;
  std::shared_ptr<uint8_t[]> bitsStorage;  // shared with a surface that wraps it
  bool NeedsSync() const { return dibSection && bitsPixel != 32; }
  bool IsMono() const { return !dibSection && bitsPixel == 1; }
  void SyncFromBits();
  void SyncToBits();
  int Width() const { return surface ? surface->Width() : 0; }
  int Height() const { return surface ? surface->Height() : 0; }
};

struct PrinterJob;
struct Recorder;
struct DeviceContext;
// Logs a drawing call on recording DCs; calls made while another is being logged are not logged.
class CallLog {
 public:
  CallLog(DeviceContext& dc, const char* name, std::initializer_list<int> args, const POINT* points = nullptr,
          size_t pointCount = 0, const char* text = nullptr, size_t textLength = 0);
  ~CallLog();
  CallLog(const CallLog&) = delete;
  CallLog& operator=(const CallLog&) = delete;

 private:
  Recorder* recorder_;
};

// Everything SaveDC saves.
struct DcState {
  std::shared_ptr<PenObject> pen;
  std::shared_ptr<BrushObject> brush;
  std::shared_ptr<FontObject> font;
  std::shared_ptr<PaletteObject> palette;
  std::shared_ptr<BitmapObject> bitmap;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  COLORREF dcBrushColor = RGB(255, 255, 255);
  COLORREF dcPenColor = RGB(0, 0, 0);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int polyFillMode = ALTERNATE;
  int stretchMode = BLACKONWHITE;
  UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
  int charExtra = 0;
  int arcDirection = AD_COUNTERCLOCKWISE;
  int mapMode = MM_TEXT;
  POINT windowOrg{0, 0}, viewportOrg{0, 0};
  SIZE windowExt{1, 1}, viewportExt{1, 1};
  POINT brushOrg{0, 0};
  POINT position{0, 0};
  bool hasClip = false;
  Region clip;  // device coordinates
};

enum class DcKind { Surface, Memory, Printer, Info };

struct DeviceContext : GdiObject {
  DeviceContext(DcKind k) : GdiObject(k == DcKind::Memory ? OBJ_MEMDC : OBJ_DC), kind(k) {}
  DcKind kind;
  DcState st;
  std::vector<DcState> saved;
  SurfacePtr surface;           // the surface drawn on (for memory DCs, the selected bitmap's)
  POINT origin{0, 0};           // device (0,0) in surface coordinates
  bool hasVisible = false;
  Region visible;               // surface coordinates
  int dpiX = 96, dpiY = 96;
  int horzRes = 0, vertRes = 0;  // 0: from the surface or the screen
  std::shared_ptr<PrinterJob> printer;
  std::shared_ptr<Recorder> recorder;
  // A printer DC's page being drawn: drawing is recorded here instead of painted; the surface
  // then has the page's size and no pixels.
  std::shared_ptr<PageRecord> page;
  // Clip in surface coordinates: visible region, surface bounds and the DC's clip region.
  Region effectiveClip;
  bool clipDirty = true;
  const Region& Clip();
  void InvalidateClip() { clipDirty = true; }
  bool IsMono() const { return st.bitmap && st.bitmap->IsMono(); }
};

// Bitmaps beyond 2^28 pixels (1 GB) are refused, as Windows refuses what it cannot allocate.
inline bool AllocatableSize(long long w, long long h) { return w > 0 && h > 0 && w * h <= (1LL << 28); }

// ---- the handle table ----
HGDIOBJ Register(std::shared_ptr<GdiObject> object);
std::shared_ptr<GdiObject> Lookup(HGDIOBJ handle);
template <class T>
std::shared_ptr<T> LookupAs(HGDIOBJ handle, int type) {
  auto object = Lookup(handle);
  if (!object || object->type != type) return nullptr;
  return std::static_pointer_cast<T>(object);
}
std::shared_ptr<DeviceContext> LookupDC(HDC hdc);
std::shared_ptr<RegionObject> LookupRegion(HRGN hrgn);
std::shared_ptr<BitmapObject> LookupBitmap(HBITMAP hbm);
bool Unregister(HGDIOBJ handle);
HBITMAP DefaultBitmap();
std::shared_ptr<BitmapObject> DefaultBitmapObject();

// ---- colours ----
// Resolves PALETTEINDEX/PALETTERGB and strips flag bytes.
COLORREF ResolveColor(const DeviceContext& dc, COLORREF c);
// The pixel written for colour c on the DC's surface (black or white on monochrome bitmaps).
uint32_t DevicePixel(const DeviceContext& dc, COLORREF c);
inline bool MonoIsWhite(uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) > 382; }

// ---- coordinates ----
POINT ToDevice(const DeviceContext& dc, POINT p);  // logical -> device
POINT ToSurface(const DeviceContext& dc, POINT p);  // logical -> surface
RECT ToSurfaceRect(const DeviceContext& dc, const RECT& r);  // normalised
int ScaleWidth(const DeviceContext& dc, int logicalWidth);  // logical x length -> device
int ScaleHeight(const DeviceContext& dc, int logicalHeight);

// RAII bracket around drawing: brings a DIB section's shadow up to date and writes it back.
class DrawScope {
 public:
  explicit DrawScope(DeviceContext& dc);
  ~DrawScope();
  DrawScope(const DrawScope&) = delete;
  DrawScope& operator=(const DrawScope&) = delete;
  Surface* surface() const { return surface_; }

 private:
  DeviceContext& dc_;
  Surface* surface_;
};

// ---- painting ----
// A brush or pen colour ready for one destination.
struct Paint {
  bool none = true;
  bool solid = true;
  uint32_t color = 0;
  std::vector<uint32_t> pattern;   // pw x ph pixels
  std::vector<uint8_t> opaque;     // empty, or 1 where a transparent hatch paints
  int pw = 0, ph = 0;
  int orgX = 0, orgY = 0;          // surface coordinates of pattern pixel (0,0)
  uint32_t At(int x, int y) const {
    int px = (x - orgX) % pw, py = (y - orgY) % ph;
    if (px < 0) px += pw;
    if (py < 0) py += ph;
    return pattern[static_cast<size_t>(py) * pw + px];
  }
};
Paint RealizeBrush(const DeviceContext& dc, const BrushObject* brush);
Paint SolidPaint(const DeviceContext& dc, COLORREF c);
// ROP2 code -> equivalent ROP3 byte over pattern and destination.
uint8_t Rop2ToRop3(int rop2);
// Paints [x0,x1) of row y (surface coordinates, already clipped) with a ROP3 byte using no source.
void PaintSpan(Surface& s, int y, int x0, int x1, const Paint& paint, uint8_t rop3);
// Paints clipped spans/rectangles through the DC's clip.
void PaintSpanClipped(DeviceContext& dc, Surface& s, int y, int x0, int x1, const Paint& paint, uint8_t rop3);
void PaintRectClipped(DeviceContext& dc, Surface& s, const RECT& r, const Paint& paint, uint8_t rop3);
void PaintRegion(DeviceContext& dc, Surface& s, const Region& surfaceRegion, const Paint& paint, uint8_t rop3);
// The ternary code on all 32 bits of pattern, source and destination; callers keep the bits of
// their surface (Surface::PixelMask).
uint32_t Rop3Pixel(uint8_t rop, uint32_t p, uint32_t s, uint32_t d);

// Converts source pixels to the destination's format.
struct SourceConverter {
  enum Mode { Same, MonoToColor, ColorToMono, NearestMono } mode = Same;
  uint32_t fg = 0, bg = 0, srcBk = 0;
  uint32_t operator()(uint32_t p) const {
    switch (mode) {
      case MonoToColor: return p ? bg : fg;
      case ColorToMono: return p == srcBk ? 0xFFFFFF : 0;
      case NearestMono: return MonoIsWhite(p) ? 0xFFFFFF : 0;
      default: return p;
    }
  }
};

struct BlitJob {
  DeviceContext* dst;
  Surface* ds;
  SourceConverter convert;
  bool monoSource = false;
  const Surface* ss = nullptr;
  int dx, dy, dw, dh;  // signed
  int sx, sy, sw, sh;  // signed
  uint8_t fore, back;
  const Surface* mask = nullptr;
  int mx = 0, my = 0;
  bool transparent = false;
  uint32_t transparentPixel = 0;
};

// Runs a blit in surface coordinates through the destination's clip.
bool RunBlit(BlitJob& job);

// ---- page recording (printer DCs; PageRecord.cpp) ----
// Each records onto dc.page under the DC's clip, with ROP codes applied over white paper.
void RecordRegion(DeviceContext& dc, const Region& surfaceRegion, const Paint& paint, uint8_t rop3);
void RecordFill(DeviceContext& dc, PagePath path, bool winding, const Paint& paint, uint8_t rop3);
void RecordStroke(DeviceContext& dc, PagePath path, double width, std::vector<double> dashes, const Paint& ink,
                  uint8_t rop3, bool roundCaps);
void RecordText(DeviceContext& dc, const Region& clip, PageText text);
void RecordImage(DeviceContext& dc, std::shared_ptr<const Surface> pixels, std::vector<uint8_t> alpha, const RECT& dest);
// A solid line of `width` pixels through surface points, round ends, under the DC's clip.
void StrokeSurfacePolyline(DeviceContext& dc, Surface& s, const std::vector<POINT>& pts, int width, uint32_t pixel,
                           bool closed);
// The DC's font as a LOGFONT in device pixels.
LOGFONT DeviceLogFont(const DeviceContext& dc);

// ---- palettes ----
std::vector<PALETTEENTRY> DefaultPaletteEntries();

// Live objects that are not stock objects.
size_t ObjectCount();

}  // namespace brambolt::gdi

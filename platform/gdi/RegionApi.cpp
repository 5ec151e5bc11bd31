// The HRGN functions over brambolt::Region, and painting regions on a DC.
#include <algorithm>
#include <cstring>

#include "gdi/DC.h"
#include "gdi/GdiInternal.h"
#include "gdi/Objects.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace brambolt::gdi {
std::shared_ptr<BrushObject> BrushFromHandle(HBRUSH brush);
}

namespace brambolt {

const Region* RegionOf(HRGN hrgn) {
  auto r = LookupRegion(hrgn);
  return r ? &r->region : nullptr;
}

bool SetRegion(HRGN hrgn, const Region& region) {
  auto r = LookupRegion(hrgn);
  if (!r) return false;
  r->region = region;
  return true;
}

HRGN CreateRegionHandle(const Region& region) {
  auto r = std::make_shared<RegionObject>();
  r->region = region;
  return static_cast<HRGN>(Register(r));
}

}  // namespace brambolt

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return CreateRegionHandle(Region(std::min(left, right), std::min(top, bottom), std::max(left, right),
                                   std::max(top, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
  return CreateRegionHandle(Region::FromRoundRect(RECT{left, top, right, bottom}, width, height));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  return CreateRegionHandle(Region::FromEllipse(RECT{left, top, right, bottom}));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
  return rect ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

namespace {

// GDI coordinates hold 27 bits with the sign: a polygon reaching past them is refused, where
// scanning it row by row would take billions of rows.
bool PolygonsInRange(const POINT* points, const INT* counts, int polygonCount) {
  constexpr long kLimit = (1L << 27) - 1;
  long total = 0;
  for (int i = 0; i < polygonCount; ++i) {
    if (counts[i] < 0) return false;
    total += counts[i];
  }
  return std::all_of(points, points + total, [](const POINT& p) {
    return p.x >= -kLimit && p.x <= kLimit && p.y >= -kLimit && p.y <= kLimit;
  });
}

}  // namespace

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (count < 2) return nullptr;
  return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygonCount, int fillMode) {
  if (!points || !counts || polygonCount <= 0 || !PolygonsInRange(points, counts, polygonCount)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRegionHandle(Region::FromPolygons(points, counts, polygonCount, fillMode));
}

HRGN ExtCreateRegion(const void* transform, DWORD size, const RGNDATA* data) {
  if (transform || !data || size < sizeof(RGNDATAHEADER) || data->rdh.iType != RDH_RECTANGLES) return nullptr;
  if (sizeof(RGNDATAHEADER) + data->rdh.nCount * sizeof(RECT) > size) return nullptr;
  std::vector<RECT> rects(data->rdh.nCount);
  std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
  return CreateRegionHandle(Region::FromRects(rects.data(), rects.size()));
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
  auto d = LookupRegion(destination);
  auto a = LookupRegion(source1);
  if (!d || !a || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (mode == RGN_COPY) {
    d->region = a->region;
    return d->region.Type();
  }
  auto b = LookupRegion(source2);
  if (!b) return ERROR;
  d->region = Region::Combine(a->region, b->region, mode);
  return d->region.Type();
}

BOOL SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom) {
  auto r = LookupRegion(hrgn);
  if (!r) return FALSE;
  r->region.SetRect(RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
  return TRUE;
}

int OffsetRgn(HRGN hrgn, int dx, int dy) {
  auto r = LookupRegion(hrgn);
  if (!r) return ERROR;
  r->region.Offset(dx, dy);
  return r->region.Type();
}

int GetRgnBox(HRGN hrgn, LPRECT rect) {
  auto r = LookupRegion(hrgn);
  if (!r || !rect) return ERROR;
  *rect = r->region.Box();
  return r->region.Type();
}

BOOL PtInRegion(HRGN hrgn, int x, int y) {
  auto r = LookupRegion(hrgn);
  return r && r->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN hrgn, const RECT* rect) {
  auto r = LookupRegion(hrgn);
  if (!r || !rect) return FALSE;
  RECT n{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom), std::max(rect->left, rect->right),
         std::max(rect->top, rect->bottom)};
  return r->region.Intersects(n) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
  auto ra = LookupRegion(a);
  auto rb = LookupRegion(b);
  if (!ra || !rb) return ERROR;
  return ra->region == rb->region ? TRUE : FALSE;
}

DWORD GetRegionData(HRGN hrgn, DWORD size, LPRGNDATA data) {
  auto r = LookupRegion(hrgn);
  if (!r) return 0;
  const auto& rects = r->region.Rects();
  DWORD need = static_cast<DWORD>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  if (!data) return need;
  if (size < need) return 0;
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(rects.size());
  data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  data->rdh.rcBound = r->region.Box();
  if (!rects.empty()) std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return need;
}

namespace {

// Region handles are in logical units; with MM_TEXT and zero origins that is device units.
Region LogicalRegionOnSurface(const DeviceContext& dc, const Region& r) {
  const DcState& st = dc.st;
  if (st.mapMode == MM_TEXT) {
    Region s = r;
    s.Offset(st.viewportOrg.x - st.windowOrg.x + dc.origin.x, st.viewportOrg.y - st.windowOrg.y + dc.origin.y);
    return s;
  }
  std::vector<RECT> rects;
  for (const RECT& q : r.Rects()) rects.push_back(ToSurfaceRect(dc, q));
  return Region::FromRects(rects.data(), rects.size());
}

}  // namespace

BOOL FillRgn(HDC hdc, HRGN hrgn, HBRUSH brush) {
  auto dc = LookupDC(hdc);
  auto r = LookupRegion(hrgn);
  auto b = BrushFromHandle(brush);
  if (!dc || !r || !b) return FALSE;
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  PaintRegion(*dc, *scope.surface(), LogicalRegionOnSurface(*dc, r->region), RealizeBrush(*dc, b.get()), 0xF0);
  return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN hrgn) {
  auto dc = LookupDC(hdc);
  auto r = LookupRegion(hrgn);
  if (!dc || !r) return FALSE;
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  PaintRegion(*dc, *scope.surface(), LogicalRegionOnSurface(*dc, r->region), RealizeBrush(*dc, dc->st.brush.get()),
              Rop2ToRop3(dc->st.rop2));
  return TRUE;
}

BOOL InvertRgn(HDC hdc, HRGN hrgn) {
  auto dc = LookupDC(hdc);
  auto r = LookupRegion(hrgn);
  if (!dc || !r) return FALSE;
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  Paint p;
  p.none = false;
  PaintRegion(*dc, *scope.surface(), LogicalRegionOnSurface(*dc, r->region), p, 0x55);
  return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN hrgn, HBRUSH brush, int width, int height) {
  auto dc = LookupDC(hdc);
  auto r = LookupRegion(hrgn);
  auto b = BrushFromHandle(brush);
  if (!dc || !r || !b || width <= 0 || height <= 0) return FALSE;
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  // The frame is the region minus the region shrunk by width x height: a pixel stays inside
  // when its whole neighbourhood lies in the region.
  Region shrunk = r->region;
  for (int dx = -width; dx <= width; dx += width) {
    for (int dy = -height; dy <= height; dy += height) {
      Region moved = r->region;
      moved.Offset(dx, dy);
      shrunk.Intersect(moved);
    }
  }
  Region frame = Region::Combine(r->region, shrunk, RGN_DIFF);
  PaintRegion(*dc, *scope.surface(), LogicalRegionOnSurface(*dc, frame), RealizeBrush(*dc, b.get()), 0xF0);
  return TRUE;
}

static_assert(sizeof(RGNDATAHEADER) == 32);

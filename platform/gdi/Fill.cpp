// Rectangle fills, pattern blits, pixels, flood fills and gradients.
#include <algorithm>
#include <cmath>

#include "gdi/Draw.h"
#include "gdi/GdiInternal.h"
#include "gdi/SysColors.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace brambolt::gdi {

// FillRect and friends accept (HBRUSH)(COLOR_xxx + 1) as well as real brushes.
std::shared_ptr<BrushObject> BrushFromHandle(HBRUSH brush) {
  auto value = reinterpret_cast<uintptr_t>(brush);
  if (value > 0 && value <= 31) brush = GetSysColorBrush(static_cast<int>(value - 1));
  return LookupAs<BrushObject>(brush, OBJ_BRUSH);
}

}  // namespace brambolt::gdi

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto dc = LookupDC(hdc);
  auto b = BrushFromHandle(brush);
  if (!dc || !rect || !b) return FALSE;
  CallLog log(*dc, "FillRect", {rect->left, rect->top, rect->right, rect->bottom, static_cast<int>(b->color)});
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  RECT r = ToSurfaceRect(*dc, *rect);
  PaintRectClipped(*dc, *scope.surface(), r, RealizeBrush(*dc, b.get()), 0xF0);
  return TRUE;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto dc = LookupDC(hdc);
  auto b = BrushFromHandle(brush);
  if (!dc || !rect || !b) return FALSE;
  CallLog log(*dc, "FrameRect", {rect->left, rect->top, rect->right, rect->bottom, static_cast<int>(b->color)});
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  RECT r = ToSurfaceRect(*dc, *rect);
  if (r.left >= r.right || r.top >= r.bottom) return TRUE;
  int bw = std::max(1, ScaleWidth(*dc, 1)), bh = std::max(1, ScaleHeight(*dc, 1));
  Region frame(r);
  RECT inner{r.left + bw, r.top + bh, r.right - bw, r.bottom - bh};
  if (inner.left < inner.right && inner.top < inner.bottom) frame.SubtractRect(inner);
  PaintRegion(*dc, *scope.surface(), frame, RealizeBrush(*dc, b.get()), 0xF0);
  return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
  auto dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  CallLog log(*dc, "InvertRect", {rect->left, rect->top, rect->right, rect->bottom});
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  Paint p;
  p.none = false;
  PaintRectClipped(*dc, *scope.surface(), ToSurfaceRect(*dc, *rect), p, 0x55);
  return TRUE;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  CallLog log(*dc, "PatBlt", {x, y, width, height, static_cast<int>(rop)});
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  RECT r = ToSurfaceRect(*dc, RECT{x, y, x + width, y + height});
  uint8_t code = static_cast<uint8_t>(rop >> 16);
  Paint p = RealizeBrush(*dc, dc->st.brush.get());
  if (p.none) {
    // A null brush reads as pattern 0 for codes that use it; codes without P still apply.
    bool usesPattern = (((code >> 4) ^ code) & 0x0F) != 0;
    if (usesPattern) p = SolidPaint(*dc, 0);
    else p.none = false;
  }
  PaintRectClipped(*dc, *scope.surface(), r, p, code);
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  auto dc = LookupDC(hdc);
  if (!dc) return CLR_INVALID;
  CallLog log(*dc, "SetPixel", {x, y, static_cast<int>(color)});
  DrawScope scope(*dc);
  if (!scope.surface()) return CLR_INVALID;
  POINT p = ToSurface(*dc, POINT{x, y});
  if (!dc->Clip().Contains(p.x, p.y)) return CLR_INVALID;
  uint32_t pixel = DevicePixel(*dc, color);
  if (dc->page) RecordRegion(*dc, Region(p.x, p.y, p.x + 1, p.y + 1), SolidPaint(*dc, color), 0xF0);
  else scope.surface()->SetPixel(p.x, p.y, pixel);
  return ColorFromPixel(pixel);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) { return SetPixel(hdc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC hdc, int x, int y) {
  auto dc = LookupDC(hdc);
  if (!dc) return CLR_INVALID;
  DrawScope scope(*dc);
  if (!scope.surface()) return CLR_INVALID;
  POINT p = ToSurface(*dc, POINT{x, y});
  if (!dc->Clip().Contains(p.x, p.y)) return CLR_INVALID;
  return ColorFromPixel(scope.surface()->GetPixel(p.x, p.y));
}

BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  CallLog log(*dc, "ExtFloodFill", {x, y, static_cast<int>(color), static_cast<int>(type)});
  DrawScope scope(*dc);
  Surface* s = scope.surface();
  // A printer page has no pixels to find the area by.
  if (!s || dc->page) return FALSE;
  POINT start = ToSurface(*dc, POINT{x, y});
  const Region& clip = dc->Clip();
  if (!clip.Contains(start.x, start.y)) return FALSE;
  uint32_t ref = DevicePixel(*dc, color);
  auto inside = [&](int px, int py) {
    uint32_t v = s->GetPixel(px, py);
    return type == FLOODFILLSURFACE ? v == ref : v != ref;
  };
  if (!inside(start.x, start.y)) return FALSE;
  // Collect the area first, then paint it once so the brush and ROP apply to each pixel once.
  int w = s->Width(), h = s->Height();
  std::vector<uint8_t> seen(static_cast<size_t>(w) * h, 0);
  std::vector<RECT> spans;
  std::vector<POINT> stack{start};
  while (!stack.empty()) {
    POINT p = stack.back();
    stack.pop_back();
    size_t idx = static_cast<size_t>(p.y) * w + p.x;
    if (seen[idx] || !inside(p.x, p.y) || !clip.Contains(p.x, p.y)) continue;
    int l = p.x, r = p.x;
    while (l > 0 && !seen[idx - (p.x - l) - 1] && inside(l - 1, p.y) && clip.Contains(l - 1, p.y)) --l;
    while (r + 1 < w && !seen[idx + (r - p.x) + 1] && inside(r + 1, p.y) && clip.Contains(r + 1, p.y)) ++r;
    for (int i = l; i <= r; ++i) seen[static_cast<size_t>(p.y) * w + i] = 1;
    spans.push_back(RECT{l, p.y, r + 1, p.y + 1});
    for (int dy : {-1, 1}) {
      int ny = p.y + dy;
      if (ny < 0 || ny >= h) continue;
      for (int i = l; i <= r; ++i)
        if (!seen[static_cast<size_t>(ny) * w + i]) stack.push_back(POINT{i, ny});
    }
  }
  Paint paint = RealizeBrush(*dc, dc->st.brush.get());
  for (const RECT& r : spans) PaintSpan(*s, r.top, r.left, r.right, paint, 0xF0);
  return TRUE;
}

BOOL FloodFill(HDC hdc, int x, int y, COLORREF color) { return ExtFloodFill(hdc, x, y, color, FLOODFILLBORDER); }

namespace {

uint32_t Mix(const TRIVERTEX& a, const TRIVERTEX& b, double t) {
  auto ch = [t](COLOR16 p, COLOR16 q) {
    double v = (p + (q - p) * t) / 256.0;
    return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0));
  };
  return (ch(a.Red, b.Red) << 16) | (ch(a.Green, b.Green) << 8) | ch(a.Blue, b.Blue);
}

}  // namespace

BOOL GradientFill(HDC hdc, PTRIVERTEX v, ULONG vertexCount, PVOID mesh, ULONG meshCount, ULONG mode) {
  auto dc = LookupDC(hdc);
  if (!dc || !v || !mesh) return FALSE;
  CallLog log(*dc, "GradientFill", {static_cast<int>(vertexCount), static_cast<int>(meshCount), static_cast<int>(mode)});
  DrawScope scope(*dc);
  Surface* s = scope.surface();
  if (!s) return FALSE;
  const Region& clip = dc->Clip();
  bool mono = dc->IsMono();
  auto put = [&](int x, int y, uint32_t px) {
    if (mono) px = MonoIsWhite(px) ? 0xFFFFFF : 0;
    s->Row(y)[x] = px;
  };
  if (dc->page && mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return TRUE;
  if (mode == GRADIENT_FILL_RECT_H || mode == GRADIENT_FILL_RECT_V) {
    auto* rects = static_cast<GRADIENT_RECT*>(mesh);
    for (ULONG i = 0; i < meshCount; ++i) {
      if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) return FALSE;
      TRIVERTEX a = v[rects[i].UpperLeft], b = v[rects[i].LowerRight];
      POINT pa = ToSurface(*dc, POINT{a.x, a.y}), pb = ToSurface(*dc, POINT{b.x, b.y});
      if (pa.x > pb.x) { std::swap(pa.x, pb.x); if (mode == GRADIENT_FILL_RECT_H) std::swap(a, b); }
      if (pa.y > pb.y) { std::swap(pa.y, pb.y); if (mode == GRADIENT_FILL_RECT_V) std::swap(a, b); }
      RECT r{pa.x, pa.y, pb.x, pb.y};
      int span = mode == GRADIENT_FILL_RECT_H ? r.right - r.left : r.bottom - r.top;
      if (dc->page) {
        // On a page: bands of one colour each, as many as the colours differ in steps.
        int bands = std::clamp(span, 1, 256);
        for (int band = 0; band < bands; ++band) {
          int from = span * band / bands, to = span * (band + 1) / bands;
          RECT part = mode == GRADIENT_FILL_RECT_H ? RECT{r.left + from, r.top, r.left + to, r.bottom}
                                                   : RECT{r.left, r.top + from, r.right, r.top + to};
          Paint paint = SolidPaint(*dc, ColorFromPixel(Mix(a, b, span > 0 ? (from + to) / 2.0 / span : 0)));
          RecordRegion(*dc, Region(part), paint, 0xF0);
        }
        continue;
      }
      clip.ForEachRectIn(r, [&](const RECT& c) {
        for (int y = c.top; y < c.bottom; ++y)
          for (int x = c.left; x < c.right; ++x) {
            int off = mode == GRADIENT_FILL_RECT_H ? x - r.left : y - r.top;
            put(x, y, Mix(a, b, span > 0 ? static_cast<double>(off) / span : 0));
          }
      });
    }
    return TRUE;
  }
  if (mode != GRADIENT_FILL_TRIANGLE) return FALSE;
  auto* tris = static_cast<GRADIENT_TRIANGLE*>(mesh);
  for (ULONG i = 0; i < meshCount; ++i) {
    ULONG idx[3] = {tris[i].Vertex1, tris[i].Vertex2, tris[i].Vertex3};
    if (idx[0] >= vertexCount || idx[1] >= vertexCount || idx[2] >= vertexCount) return FALSE;
    POINT p[3];
    for (int k = 0; k < 3; ++k) p[k] = ToSurface(*dc, POINT{v[idx[k]].x, v[idx[k]].y});
    double det = static_cast<double>(p[1].y - p[2].y) * (p[0].x - p[2].x) + static_cast<double>(p[2].x - p[1].x) * (p[0].y - p[2].y);
    if (det == 0) continue;
    int count = 3;
    Region tri = Region::FromPolygons(p, &count, 1, ALTERNATE);
    tri.Intersect(clip);
    for (const RECT& c : tri.Rects())
      for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) {
          double px = x + 0.5, py = y + 0.5;
          double l0 = ((p[1].y - p[2].y) * (px - p[2].x) + (p[2].x - p[1].x) * (py - p[2].y)) / det;
          double l1 = ((p[2].y - p[0].y) * (px - p[2].x) + (p[0].x - p[2].x) * (py - p[2].y)) / det;
          double l2 = 1 - l0 - l1;
          auto ch = [&](COLOR16 TRIVERTEX::*m) {
            double val = (l0 * (v[idx[0]].*m) + l1 * (v[idx[1]].*m) + l2 * (v[idx[2]].*m)) / 256.0;
            return static_cast<uint32_t>(std::clamp(val, 0.0, 255.0));
          };
          put(x, y, (ch(&TRIVERTEX::Red) << 16) | (ch(&TRIVERTEX::Green) << 8) | ch(&TRIVERTEX::Blue));
        }
  }
  return TRUE;
}

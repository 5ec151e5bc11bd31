// Lines and shapes: pens with styles and widths, MoveToEx/LineTo without the last pixel,
// polylines, polygons, rectangles, rounded rectangles, ellipses, arcs, pies and chords.
#include <algorithm>
#include <cmath>

#include "gdi/Draw.h"
#include "gdi/GdiInternal.h"
#include "gdi/Objects.h"
#include "gdi/Scan.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A pen ready to draw on one DC.
struct PenPaint {
  bool none = true;
  int width = 1;                 // device pixels
  std::vector<int> dashes;       // on/off run lengths; empty for solid
  Paint ink, gap;                // gap is none when the background is transparent
  uint8_t rop = 0xF0;
  bool insideFrame = false;
  DWORD endCap = PS_ENDCAP_ROUND;
  int phase = 0;                 // position in the dash pattern, carried across segments
};

PenPaint RealizePen(DeviceContext& dc) {
  PenPaint p;
  const PenObject* pen = dc.st.pen.get();
  if (!pen || pen->IsNull()) return p;
  p.none = false;
  COLORREF color = pen->stock && pen->handle == GetStockObject(DC_PEN) ? dc.st.dcPenColor : pen->color;
  p.ink = SolidPaint(dc, color);
  p.rop = Rop2ToRop3(dc.st.rop2);
  bool geometric = (pen->style & PS_TYPE_MASK) == PS_GEOMETRIC;
  p.width = pen->width <= 1 && !geometric ? 1 : std::max(1, ScaleWidth(dc, pen->width));
  p.insideFrame = pen->Dash() == PS_INSIDEFRAME;
  p.endCap = geometric ? (pen->style & PS_ENDCAP_MASK) : PS_ENDCAP_ROUND;
  if (p.width == 1) {
    switch (pen->Dash()) {
      case PS_DASH: p.dashes = {18, 6}; break;
      case PS_DOT: p.dashes = {3, 3}; break;
      case PS_DASHDOT: p.dashes = {9, 6, 3, 6}; break;
      case PS_DASHDOTDOT: p.dashes = {9, 3, 3, 3, 3, 3}; break;
      case PS_ALTERNATE: p.dashes = {1, 1}; break;
      case PS_USERSTYLE:
        for (DWORD d : pen->userStyle) p.dashes.push_back(static_cast<int>(std::max<DWORD>(d, 1)));
        if (p.dashes.size() % 2) p.dashes.push_back(p.dashes.back());
        break;
      default: break;
    }
    if (!p.dashes.empty() && dc.st.bkMode == OPAQUE) p.gap = SolidPaint(dc, dc.st.bkColor);
  }
  return p;
}

bool DashOn(PenPaint& pen, bool& advanceOnly) {
  advanceOnly = false;
  if (pen.dashes.empty()) return true;
  int total = 0;
  for (int d : pen.dashes) total += d;
  int pos = pen.phase % total;
  ++pen.phase;
  for (size_t i = 0; i < pen.dashes.size(); ++i) {
    if (pos < pen.dashes[i]) return i % 2 == 0;
    pos -= pen.dashes[i];
  }
  return true;
}

void Plot(DeviceContext& dc, Surface& s, int x, int y, const Paint& paint, uint8_t rop, bool unclipped) {
  if (paint.none) return;
  if (unclipped || dc.Clip().Contains(x, y)) PaintSpan(s, y, x, x + 1, paint, rop);
}

// A one-pixel line from a to b in surface coordinates, the end point excluded.
void ThinLine(DeviceContext& dc, Surface& s, POINT a, POINT b, PenPaint& pen) {
  int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
  int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
  if (dy == 0 && pen.dashes.empty()) {
    // Left to right covers [a, b); right to left covers (b, a].
    int x0 = a.x < b.x ? a.x : b.x + 1, x1 = a.x < b.x ? b.x : a.x + 1;
    PaintSpanClipped(dc, s, a.y, x0, x1, pen.ink, pen.rop);
    return;
  }
  int steps = std::max(dx, dy);
  // Lines wholly inside the clip (the usual case) skip the per-pixel test.
  RECT box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
  bool unclipped = dc.Clip().ContainsRect(box);
  // Bresenham along the major axis; the error term decides minor steps.
  int x = a.x, y = a.y;
  int err = (dx > dy ? dx : -dy) / 2;
  for (int i = 0; i < steps; ++i) {
    bool advanceOnly;
    bool on = DashOn(pen, advanceOnly);
    Plot(dc, s, x, y, on ? pen.ink : pen.gap, pen.rop, unclipped);
    int e = err;
    if (e > -dx) {
      err -= dy;
      x += sx;
    }
    if (e < dy) {
      err += dx;
      y += sy;
    }
  }
}

Region Disc(double cx, double cy, int w) {
  int l = static_cast<int>(std::floor(cx - w / 2.0)), t = static_cast<int>(std::floor(cy - w / 2.0));
  return Region::FromEllipse(RECT{l, t, l + w, t + w});
}

// The area covered by a wide pen along a polyline (surface coordinates).
Region WideStroke(const std::vector<POINT>& pts, const PenPaint& pen, bool closed) {
  Region area;
  double hw = pen.width / 2.0;
  size_t n = pts.size();
  size_t segments = closed ? n : n - 1;
  for (size_t i = 0; i < segments; ++i) {
    POINT a = pts[i], b = pts[(i + 1) % n];
    double ax = a.x + 0.5, ay = a.y + 0.5, bx = b.x + 0.5, by = b.y + 0.5;
    double len = std::hypot(bx - ax, by - ay);
    if (len > 0) {
      double nx = -(by - ay) / len * hw, ny = (bx - ax) / len * hw;
      double ex = 0, ey = 0;
      if (pen.endCap == PS_ENDCAP_SQUARE) {
        ex = (bx - ax) / len * hw;
        ey = (by - ay) / len * hw;
      }
      double quad[8] = {ax + nx - ex, ay + ny - ey, bx + nx + ex, by + ny + ey,
                        bx - nx + ex, by - ny + ey, ax - nx - ex, ay - ny - ey};
      std::vector<RECT> spans;
      ScanPolygonF(quad, 4, WINDING, [&](int y, int x0, int x1) { spans.push_back(RECT{x0, y, x1, y + 1}); });
      area.Unite(Region::FromRects(spans.data(), spans.size()));
    }
    if (pen.endCap == PS_ENDCAP_ROUND || i > 0 || closed) area.Unite(Disc(ax, ay, pen.width));
  }
  if (!closed && n > 0 && pen.endCap == PS_ENDCAP_ROUND) area.Unite(Disc(pts[n - 1].x + 0.5, pts[n - 1].y + 0.5, pen.width));
  if (n == 1 && pen.endCap == PS_ENDCAP_ROUND) area.Unite(Disc(pts[0].x + 0.5, pts[0].y + 0.5, pen.width));
  return area;
}

// A polyline through pixel centres, for page recording.
PagePath CentredPath(const std::vector<POINT>& pts, bool closed) {
  PagePath path;
  for (size_t i = 0; i < pts.size(); ++i) {
    if (i == 0) path.MoveTo(pts[i].x + 0.5, pts[i].y + 0.5);
    else path.LineTo(pts[i].x + 0.5, pts[i].y + 0.5);
  }
  if (closed) path.ClosePath();
  return path;
}

// Styled lines on a page keep the dash lengths they have on the screen.
std::vector<double> PageDashes(const DeviceContext& dc, const PenPaint& pen) {
  std::vector<double> dashes;
  double scale = std::max(1.0, dc.dpiX / 96.0);
  for (int d : pen.dashes) dashes.push_back(d * scale);
  return dashes;
}

// Draws a polyline given in surface coordinates.
void StrokePolyline(DeviceContext& dc, Surface& s, const std::vector<POINT>& pts, PenPaint& pen, bool closed) {
  if (pen.none || pts.empty()) return;
  if (dc.page) {
    RecordStroke(dc, CentredPath(pts, closed), pen.width, PageDashes(dc, pen), pen.ink, pen.rop,
                 pen.endCap == PS_ENDCAP_ROUND);
    return;
  }
  if (pen.width > 1) {
    PaintRegion(dc, s, WideStroke(pts, pen, closed), pen.ink, pen.rop);
    return;
  }
  size_t n = pts.size();
  for (size_t i = 0; i + 1 < n; ++i) ThinLine(dc, s, pts[i], pts[i + 1], pen);
  if (closed && n > 1) ThinLine(dc, s, pts[n - 1], pts[0], pen);
}

std::vector<POINT> ToSurfacePoints(const DeviceContext& dc, const POINT* pts, size_t n) {
  std::vector<POINT> out(n);
  for (size_t i = 0; i < n; ++i) out[i] = ToSurface(dc, pts[i]);
  return out;
}

RECT Deflate(const RECT& r, int d) { return RECT{r.left + d, r.top + d, r.right - d, r.bottom - d}; }

// Fills 'inner' with the brush and 'outer - inner' with the pen, as Rectangle/Ellipse/RoundRect do.
void FillAndFrame(DeviceContext& dc, Surface& s, const Region& outer, const Region& inner, PenPaint& pen) {
  uint8_t rop = Rop2ToRop3(dc.st.rop2);
  PaintRegion(dc, s, inner, RealizeBrush(dc, dc.st.brush.get()), rop);
  if (!pen.none) PaintRegion(dc, s, Region::Combine(outer, inner, RGN_DIFF), pen.ink, pen.rop);
}

// Outer box of a closed figure drawn with a centred pen of width w around box b.
RECT PenOuter(const RECT& b, const PenPaint& pen) {
  if (pen.insideFrame || pen.width <= 1) return b;
  int grow = (pen.width - 1) / 2, extra = pen.width / 2;
  return RECT{b.left - grow, b.top - grow, b.right + extra, b.bottom + extra};
}

// A rectangle, rounded rectangle or ellipse on a page: the brush fills the figure and the pen
// runs centred on its outline, as the pixels on the screen lie.
void RecordFigure(DeviceContext& dc, const RECT& box, const PenPaint& pen, double cornerWidth, double cornerHeight,
                  bool ellipse) {
  auto figure = [&](double l, double t, double r, double b) {
    PagePath path;
    if (ellipse) path.AddEllipse(l, t, r, b);
    else if (cornerWidth > 0 && cornerHeight > 0) path.AddRoundRect(l, t, r, b, cornerWidth, cornerHeight);
    else path.AddRect(l, t, r, b);
    return path;
  };
  uint8_t rop = Rop2ToRop3(dc.st.rop2);
  if (pen.none) {
    RecordFill(dc, figure(box.left, box.top, box.right - 1, box.bottom - 1), true, RealizeBrush(dc, dc.st.brush.get()), rop);
    return;
  }
  RECT outer = PenOuter(box, pen);
  double half = pen.width / 2.0;
  double l = outer.left + half, t = outer.top + half, r = outer.right - half, b = outer.bottom - half;
  RecordFill(dc, figure(l, t, r, b), true, RealizeBrush(dc, dc.st.brush.get()), rop);
  RecordStroke(dc, figure(l, t, r, b), pen.width, {}, pen.ink, pen.rop, true);
}

template <class Shape>
BOOL ClosedFigure(HDC hdc, int left, int top, int right, int bottom, Shape shape, double cornerWidth = 0,
                  double cornerHeight = 0, bool ellipse = false) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  RECT box = ToSurfaceRect(*dc, RECT{left, top, right, bottom});
  PenPaint pen = RealizePen(*dc);
  if (dc->page) {
    RecordFigure(*dc, box, pen, cornerWidth, cornerHeight, ellipse);
    return TRUE;
  }
  if (pen.none) {
    // Without a pen the figure loses its right and bottom pixel rows.
    RECT fill{box.left, box.top, box.right - 1, box.bottom - 1};
    PaintRegion(*dc, *scope.surface(), shape(fill), RealizeBrush(*dc, dc->st.brush.get()), Rop2ToRop3(dc->st.rop2));
    return TRUE;
  }
  RECT outer = PenOuter(box, pen);
  FillAndFrame(*dc, *scope.surface(), shape(outer), shape(Deflate(outer, pen.width)), pen);
  return TRUE;
}

// Points of an elliptical arc from the start radial to the end radial, in surface coordinates.
std::vector<POINT> ArcPoints(const DeviceContext& dc, const RECT& box, POINT start, POINT end) {
  double cx = (box.left + box.right - 1) / 2.0, cy = (box.top + box.bottom - 1) / 2.0;
  double rx = (box.right - box.left - 1) / 2.0, ry = (box.bottom - box.top - 1) / 2.0;
  double a0 = std::atan2(-(start.y - cy) * (rx > 0 ? rx : 1), (start.x - cx) * (ry > 0 ? ry : 1));
  double a1 = std::atan2(-(end.y - cy) * (rx > 0 ? rx : 1), (end.x - cx) * (ry > 0 ? ry : 1));
  bool counterClockwise = dc.st.arcDirection == AD_COUNTERCLOCKWISE;
  double sweep = counterClockwise ? a1 - a0 : a0 - a1;
  while (sweep <= 0) sweep += 2 * kPi;
  int steps = std::max(8, static_cast<int>(sweep * std::max(rx, ry) / 2));
  std::vector<POINT> pts;
  for (int i = 0; i <= steps; ++i) {
    double a = a0 + (counterClockwise ? 1 : -1) * sweep * i / steps;
    POINT p{static_cast<LONG>(std::lround(cx + rx * std::cos(a))), static_cast<LONG>(std::lround(cy - ry * std::sin(a)))};
    if (pts.empty() || pts.back().x != p.x || pts.back().y != p.y) pts.push_back(p);
  }
  return pts;
}

enum class ArcKind { Arc, Pie, Chord };

BOOL ArcCommon(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye, ArcKind kind, bool moveTo) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  CallLog log(*dc, kind == ArcKind::Arc ? "Arc" : kind == ArcKind::Pie ? "Pie" : "Chord", {l, t, r, b, xs, ys, xe, ye});
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  RECT box = ToSurfaceRect(*dc, RECT{l, t, r, b});
  POINT start = ToSurface(*dc, POINT{xs, ys}), end = ToSurface(*dc, POINT{xe, ye});
  std::vector<POINT> pts = ArcPoints(*dc, box, start, end);
  PenPaint pen = RealizePen(*dc);
  if (kind != ArcKind::Arc) {
    std::vector<POINT> figure = pts;
    if (kind == ArcKind::Pie)  // the centre, rounded as the arc's points are
      figure.push_back(POINT{static_cast<LONG>(std::lround((box.left + box.right - 1) / 2.0)),
                             static_cast<LONG>(std::lround((box.top + box.bottom - 1) / 2.0))});
    int n = static_cast<int>(figure.size());
    if (dc->page)
      RecordFill(*dc, CentredPath(figure, true), false, RealizeBrush(*dc, dc->st.brush.get()), Rop2ToRop3(dc->st.rop2));
    else
      PaintRegion(*dc, *scope.surface(), Region::FromPolygons(figure.data(), &n, 1, ALTERNATE),
                  RealizeBrush(*dc, dc->st.brush.get()), Rop2ToRop3(dc->st.rop2));
    StrokePolyline(*dc, *scope.surface(), figure, pen, true);
  } else {
    StrokePolyline(*dc, *scope.surface(), pts, pen, false);
  }
  if (moveTo && !pts.empty()) dc->st.position = POINT{xe, ye};
  return TRUE;
}

}  // namespace

void brambolt::gdi::StrokeSurfacePolyline(DeviceContext& dc, Surface& s, const std::vector<POINT>& pts, int width,
                                          uint32_t pixel, bool closed) {
  PenPaint pen;
  pen.none = false;
  pen.width = std::max(width, 1);
  pen.ink.none = false;
  pen.ink.color = pixel;
  StrokePolyline(dc, s, pts, pen, closed);
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  CallLog log(*dc, "MoveToEx", {x, y});
  if (previous) *previous = dc->st.position;
  dc->st.position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  CallLog log(*dc, "LineTo", {x, y});
  DrawScope scope(*dc);
  POINT from = dc->st.position;
  dc->st.position = POINT{x, y};
  if (!scope.surface()) return TRUE;
  PenPaint pen = RealizePen(*dc);
  StrokePolyline(*dc, *scope.surface(), {ToSurface(*dc, from), ToSurface(*dc, POINT{x, y})}, pen, false);
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  auto dc = LookupDC(hdc);
  if (!dc || !points || count < 2) return FALSE;
  CallLog log(*dc, "Polyline", {count}, points, static_cast<size_t>(count));
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  PenPaint pen = RealizePen(*dc);
  StrokePolyline(*dc, *scope.surface(), ToSurfacePoints(*dc, points, static_cast<size_t>(count)), pen, false);
  return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* points, DWORD count) {
  auto dc = LookupDC(hdc);
  if (!dc || !points) return FALSE;
  if (count == 0) return TRUE;
  std::vector<POINT> all{dc->st.position};
  all.insert(all.end(), points, points + count);
  dc->st.position = points[count - 1];
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  PenPaint pen = RealizePen(*dc);
  StrokePolyline(*dc, *scope.surface(), ToSurfacePoints(*dc, all.data(), all.size()), pen, false);
  return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polylineCount) {
  if (!points || !counts) return FALSE;
  for (DWORD i = 0; i < polylineCount; ++i) {
    if (!Polyline(hdc, points, static_cast<int>(counts[i]))) return FALSE;
    points += counts[i];
  }
  return TRUE;
}

BOOL PolyPolygon(HDC hdc, const POINT* points, const INT* counts, int polygonCount) {
  auto dc = LookupDC(hdc);
  if (!dc || !points || !counts || polygonCount <= 0) return FALSE;
  CallLog log(*dc, "PolyPolygon", {polygonCount});
  DrawScope scope(*dc);
  if (!scope.surface()) return TRUE;
  size_t total = 0;
  for (int i = 0; i < polygonCount; ++i) {
    if (counts[i] < 2) return FALSE;
    total += static_cast<size_t>(counts[i]);
  }
  std::vector<POINT> pts = ToSurfacePoints(*dc, points, total);
  if (dc->page) {
    PagePath path;
    size_t at = 0;
    for (int i = 0; i < polygonCount; ++i) {
      std::vector<POINT> ring(pts.begin() + static_cast<long>(at), pts.begin() + static_cast<long>(at + counts[i]));
      PagePath one = CentredPath(ring, true);
      const auto& ops = one.Ops();
      const auto& coords = one.Coords();
      size_t c = 0;
      for (auto op : ops) {
        if (op == PagePath::Move) path.MoveTo(coords[c], coords[c + 1]), c += 2;
        else if (op == PagePath::Line) path.LineTo(coords[c], coords[c + 1]), c += 2;
        else path.ClosePath();
      }
      at += static_cast<size_t>(counts[i]);
    }
    RecordFill(*dc, std::move(path), dc->st.polyFillMode == WINDING, RealizeBrush(*dc, dc->st.brush.get()),
               Rop2ToRop3(dc->st.rop2));
  } else {
    Region area = Region::FromPolygons(pts.data(), counts, polygonCount, dc->st.polyFillMode);
    PaintRegion(*dc, *scope.surface(), area, RealizeBrush(*dc, dc->st.brush.get()), Rop2ToRop3(dc->st.rop2));
  }
  PenPaint pen = RealizePen(*dc);
  size_t start = 0;
  for (int i = 0; i < polygonCount; ++i) {
    std::vector<POINT> ring(pts.begin() + static_cast<long>(start), pts.begin() + static_cast<long>(start + counts[i]));
    StrokePolyline(*dc, *scope.surface(), ring, pen, true);
    start += static_cast<size_t>(counts[i]);
  }
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  auto dc = LookupDC(hdc);
  if (!dc || !points) return FALSE;
  CallLog log(*dc, "Polygon", {count}, points, static_cast<size_t>(std::max(count, 0)));
  return PolyPolygon(hdc, points, &count, 1);
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  CallLog log(*dc, "Rectangle", {left, top, right, bottom});
  PenPaint pen = RealizePen(*dc);
  if (!pen.none && pen.width == 1 && !pen.dashes.empty()) {
    // Styled outlines run around the rectangle as one closed figure.
    DrawScope scope(*dc);
    if (!scope.surface()) return TRUE;
    RECT b = ToSurfaceRect(*dc, RECT{left, top, right, bottom});
    if (b.right - b.left < 1 || b.bottom - b.top < 1) return TRUE;
    PaintRegion(*dc, *scope.surface(), Region(Deflate(b, 1)), RealizeBrush(*dc, dc->st.brush.get()),
                Rop2ToRop3(dc->st.rop2));
    std::vector<POINT> ring{{b.left, b.top}, {b.right - 1, b.top}, {b.right - 1, b.bottom - 1}, {b.left, b.bottom - 1}};
    StrokePolyline(*dc, *scope.surface(), ring, pen, true);
    return TRUE;
  }
  return ClosedFigure(hdc, left, top, right, bottom, [](const RECT& r) { return Region(r); });
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  CallLog log(*dc, "RoundRect", {left, top, right, bottom, width, height});
  int cw = ScaleWidth(*dc, width), ch = ScaleHeight(*dc, height);
  return ClosedFigure(
      hdc, left, top, right, bottom, [cw, ch](const RECT& r) { return Region::FromRoundRect(r, cw, ch); }, cw, ch);
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  auto dc = LookupDC(hdc);
  if (!dc) return FALSE;
  CallLog log(*dc, "Ellipse", {left, top, right, bottom});
  return ClosedFigure(
      hdc, left, top, right, bottom, [](const RECT& r) { return Region::FromEllipse(r); }, 0, 0, true);
}

BOOL Arc(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return ArcCommon(hdc, l, t, r, b, xs, ys, xe, ye, ArcKind::Arc, false);
}
BOOL ArcTo(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return ArcCommon(hdc, l, t, r, b, xs, ys, xe, ye, ArcKind::Arc, true);
}
BOOL Pie(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return ArcCommon(hdc, l, t, r, b, xs, ys, xe, ye, ArcKind::Pie, false);
}
BOOL Chord(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return ArcCommon(hdc, l, t, r, b, xs, ys, xe, ye, ArcKind::Chord, false);
}

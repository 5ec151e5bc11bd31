// Scan conversion of polygons, ellipses and rounded rectangles.
#include "gdi/Scan.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gdi/GdiTypes.h"

namespace brambolt {
namespace {

struct Edge {
  double x0, y0, x1, y1;
  int dir;  // +1 downwards, -1 upwards
  int yTop, yBottom;  // rows whose centres the edge crosses: [yTop, yBottom)
};

struct Crossing {
  double x;
  int dir;
};

// First pixel whose centre is at or right of x.
inline int FirstCentreAtOrAfter(double x) { return static_cast<int>(std::ceil(x - 0.5)); }

void AddEdge(std::vector<Edge>& edges, double ax, double ay, double bx, double by) {
  if (ay == by) return;
  Edge e;
  e.dir = by > ay ? 1 : -1;
  if (ay > by) {
    std::swap(ax, bx);
    std::swap(ay, by);
  }
  e.x0 = ax;
  e.y0 = ay;
  e.x1 = bx;
  e.y1 = by;
  e.yTop = FirstCentreAtOrAfter(ay);
  e.yBottom = FirstCentreAtOrAfter(by);
  if (e.yTop < e.yBottom) edges.push_back(e);
}

void ScanEdges(std::vector<Edge>& edges, int fillMode, const SpanSink& sink);

}  // namespace

void ScanPolygons(const POINT* points, const int* counts, int polygonCount, int fillMode,
                  const SpanSink& sink) {
  std::vector<Edge> edges;
  int start = 0;
  for (int p = 0; p < polygonCount; ++p) {
    int n = counts[p];
    for (int i = 0; i < n; ++i) {
      POINT a = points[start + i], b = points[start + (i + 1) % n];
      AddEdge(edges, a.x, a.y, b.x, b.y);
    }
    start += n;
  }
  ScanEdges(edges, fillMode, sink);
}

void ScanPolygonF(const double* xy, int n, int fillMode, const SpanSink& sink) {
  std::vector<Edge> edges;
  for (int i = 0; i < n; ++i) {
    int j = (i + 1) % n;
    AddEdge(edges, xy[2 * i], xy[2 * i + 1], xy[2 * j], xy[2 * j + 1]);
  }
  ScanEdges(edges, fillMode, sink);
}

namespace {

void ScanEdges(std::vector<Edge>& edges, int fillMode, const SpanSink& sink) {
  if (edges.empty()) return;
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });
  int yMin = edges.front().yTop, yMax = yMin;
  for (const Edge& e : edges) yMax = std::max(yMax, e.yBottom);

  std::vector<const Edge*> active;
  std::vector<Crossing> crossings;
  size_t next = 0;
  for (int y = yMin; y < yMax; ++y) {
    while (next < edges.size() && edges[next].yTop <= y) active.push_back(&edges[next++]);
    active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->yBottom <= y; }),
                 active.end());
    if (active.empty()) continue;
    double yc = y + 0.5;
    crossings.clear();
    for (const Edge* e : active)
      crossings.push_back({e->x0 + (yc - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0), e->dir});
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    int winding = 0;
    int spanStart = 0;
    bool inside = false;
    int lastEnd = INT32_MIN;
    for (size_t i = 0; i < crossings.size(); ++i) {
      bool wasInside = inside;
      if (fillMode == WINDING) {
        winding += crossings[i].dir;
        inside = winding != 0;
      } else {
        inside = !inside;
      }
      if (!wasInside && inside) {
        spanStart = FirstCentreAtOrAfter(crossings[i].x);
      } else if (wasInside && !inside) {
        int x0 = std::max(spanStart, lastEnd);
        int x1 = FirstCentreAtOrAfter(crossings[i].x);
        if (x0 < x1) {
          sink(y, x0, x1);
          lastEnd = x1;
        }
      }
    }
  }
}

}  // namespace

void ScanEllipse(const RECT& box, const SpanSink& sink) {
  RECT r = box;
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  ScanRoundRect(r, r.right - r.left, r.bottom - r.top, sink);
}

void ScanRoundRect(const RECT& box, int cornerWidth, int cornerHeight, const SpanSink& sink) {
  RECT r = box;
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  double rx = std::min(std::abs(cornerWidth), w) / 2.0;
  double ry = std::min(std::abs(cornerHeight), h) / 2.0;
  if (rx < 0.5 || ry < 0.5) {
    for (int y = r.top; y < r.bottom; ++y) sink(y, r.left, r.right);
    return;
  }
  // Corner ellipse centres.
  double cxLeft = r.left + rx, cxRight = r.right - rx;
  double cyTop = r.top + ry, cyBottom = r.bottom - ry;
  for (int y = r.top; y < r.bottom; ++y) {
    double yc = y + 0.5;
    double dy = 0;
    if (yc < cyTop) dy = cyTop - yc;
    else if (yc > cyBottom) dy = yc - cyBottom;
    double half = dy > 0 ? rx * std::sqrt(std::max(0.0, 1.0 - (dy * dy) / (ry * ry))) : rx;
    int x0 = FirstCentreAtOrAfter(cxLeft - half);
    int x1 = FirstCentreAtOrAfter(cxRight + half);
    // Rounding never takes a row outside the box.
    x0 = std::max(x0, static_cast<int>(r.left));
    x1 = std::min(x1, static_cast<int>(r.right));
    if (x0 < x1) sink(y, x0, x1);
  }
}

}  // namespace brambolt

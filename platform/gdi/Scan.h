// Scan conversion of filled shapes into horizontal spans, shared by regions and the rasterizer.
// A pixel belongs to a shape when its centre (x+0.5, y+0.5) lies inside it, so shapes with integer
// corners cover exactly [left,right) x [top,bottom).
#pragma once

#include <functional>

#include "base/base.h"

namespace brambolt {

// Receives the pixels [x0,x1) of row y. Spans of one row come in increasing x and do not overlap.
using SpanSink = std::function<void(int y, int x0, int x1)>;

// Polygons given as consecutive point runs (counts[i] points each), closed implicitly.
void ScanPolygons(const POINT* points, const int* counts, int polygonCount, int fillMode,
                  const SpanSink& sink);
// One polygon with fractional vertices (x, y pairs), closed implicitly.
void ScanPolygonF(const double* xy, int pointCount, int fillMode, const SpanSink& sink);
// The ellipse inscribed in [left,right) x [top,bottom).
void ScanEllipse(const RECT& box, const SpanSink& sink);
// A rectangle with corners rounded by ellipses of size cornerWidth x cornerHeight.
void ScanRoundRect(const RECT& box, int cornerWidth, int cornerHeight, const SpanSink& sink);

}  // namespace brambolt

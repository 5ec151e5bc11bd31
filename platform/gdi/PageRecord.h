// A printed page as a list of device-independent drawing operations in printer pixels: filled
// and stroked paths, text runs and images, each under a clip. Printer DCs record pages this way;
// the PDF writer and print preview replay them.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "gdi/GdiTypes.h"
#include "gdi/Region.h"
#include "gdi/Surface.h"

namespace brambolt {

// Straight lines and cubic Bézier curves in page pixels (x right, y down).
class PagePath {
 public:
  enum Op : uint8_t { Move, Line, Curve, Close };
  void MoveTo(double x, double y);
  void LineTo(double x, double y);
  void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3);
  void ClosePath();
  void AddRect(double left, double top, double right, double bottom);
  // An ellipse inside the box, clockwise from its rightmost point.
  void AddEllipse(double left, double top, double right, double bottom);
  // A rectangle whose corners are quarter ellipses of the given width and height.
  void AddRoundRect(double left, double top, double right, double bottom, double width, double height);
  bool Empty() const { return ops_.empty(); }
  const std::vector<Op>& Ops() const { return ops_; }
  const std::vector<double>& Coords() const { return coords_; }
  // The closed figures and open pieces as polygons, curves split until within `tolerance`
  // pixels, after scaling by (sx, sy) and moving by (dx, dy).
  std::vector<std::vector<POINT>> Flatten(double sx, double sy, double dx, double dy, double tolerance = 0.5) const;

 private:
  std::vector<Op> ops_;
  std::vector<double> coords_;
};

// A fill colour, or a brush pattern repeated from a page point.
struct PagePaint {
  COLORREF color = 0;
  std::shared_ptr<const Surface> tile;  // pattern pixels; empty for a solid colour
  std::vector<uint8_t> tileMask;        // empty, or 1 where the pattern paints (hatches on a transparent background)
  POINT tileOrigin{0, 0};
};

struct PageFill {
  PagePath path;
  bool winding = true;  // else even-odd
  PagePaint paint;
};

struct PageStroke {
  PagePath path;
  double width = 1;
  std::vector<double> dashes;  // on, off, ... in page pixels; empty for a solid line
  COLORREF color = 0;
  bool roundCaps = true;       // else square (flat for dashed lines)
};

// Text on a baseline: characters with their advances as the printer DC measured them.
struct PageText {
  std::u32string chars;
  std::vector<int> advances;  // page pixels, one per character
  POINT baseline{0, 0};       // where the first character's pen position starts
  LOGFONT font{};             // lfHeight and lfWidth in page pixels
  COLORREF color = 0;
};

// Pixels drawn into a page rectangle (scaled when sizes differ).
struct PageImage {
  std::shared_ptr<const Surface> pixels;
  std::vector<uint8_t> alpha;  // empty when opaque; else one 0-255 value a pixel
  RECT dest{0, 0, 0, 0};
};

struct PageOp {
  int clip = -1;  // index into PageRecord::clips; -1 for the whole page
  std::variant<PageFill, PageStroke, PageText, PageImage> item;
};

struct PageRecord {
  int width = 0, height = 0;  // the printable area in page pixels
  std::vector<Region> clips;
  std::vector<PageOp> ops;
};

// Draws a page scaled into `into` (device coordinates of the target DC), within the DC's clip.
void ReplayPage(const PageRecord& page, HDC target, const RECT& into);

}  // namespace brambolt

// Paths of recorded pages, the recording calls the rasterizer makes on printer DCs, and the
// replay of a page into any DC (print preview, and the screen twin of a printed page).
#include "gdi/PageRecord.h"

#include <algorithm>
#include <cmath>

#include "gdi/GdiInternal.h"
#include "gdi/TextInternal.h"

namespace brambolt {

// ---- paths ----

void PagePath::MoveTo(double x, double y) {
  ops_.push_back(Move);
  coords_.insert(coords_.end(), {x, y});
}

void PagePath::LineTo(double x, double y) {
  ops_.push_back(Line);
  coords_.insert(coords_.end(), {x, y});
}

void PagePath::CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
  ops_.push_back(Curve);
  coords_.insert(coords_.end(), {x1, y1, x2, y2, x3, y3});
}

void PagePath::ClosePath() { ops_.push_back(Close); }

void PagePath::AddRect(double left, double top, double right, double bottom) {
  MoveTo(left, top);
  LineTo(right, top);
  LineTo(right, bottom);
  LineTo(left, bottom);
  ClosePath();
}

namespace {

// The control distance of a cubic curve that draws a quarter circle of radius 1.
constexpr double kKappa = 0.5522847498307936;

}  // namespace

void PagePath::AddEllipse(double left, double top, double right, double bottom) {
  double cx = (left + right) / 2, cy = (top + bottom) / 2, rx = (right - left) / 2, ry = (bottom - top) / 2;
  double kx = rx * kKappa, ky = ry * kKappa;
  MoveTo(cx + rx, cy);
  CurveTo(cx + rx, cy + ky, cx + kx, cy + ry, cx, cy + ry);
  CurveTo(cx - kx, cy + ry, cx - rx, cy + ky, cx - rx, cy);
  CurveTo(cx - rx, cy - ky, cx - kx, cy - ry, cx, cy - ry);
  CurveTo(cx + kx, cy - ry, cx + rx, cy - ky, cx + rx, cy);
  ClosePath();
}

void PagePath::AddRoundRect(double left, double top, double right, double bottom, double width, double height) {
  double rx = std::min(width / 2, (right - left) / 2), ry = std::min(height / 2, (bottom - top) / 2);
  if (rx <= 0 || ry <= 0) {
    AddRect(left, top, right, bottom);
    return;
  }
  double kx = rx * kKappa, ky = ry * kKappa;
  MoveTo(left + rx, top);
  LineTo(right - rx, top);
  CurveTo(right - rx + kx, top, right, top + ry - ky, right, top + ry);
  LineTo(right, bottom - ry);
  CurveTo(right, bottom - ry + ky, right - rx + kx, bottom, right - rx, bottom);
  LineTo(left + rx, bottom);
  CurveTo(left + rx - kx, bottom, left, bottom - ry + ky, left, bottom - ry);
  LineTo(left, top + ry);
  CurveTo(left, top + ry - ky, left + rx - kx, top, left + rx, top);
  ClosePath();
}

std::vector<std::vector<POINT>> PagePath::Flatten(double sx, double sy, double dx, double dy, double tolerance) const {
  std::vector<std::vector<POINT>> out;
  std::vector<POINT> ring;
  auto at = [&](double x, double y) {
    return POINT{static_cast<LONG>(std::lround(x * sx + dx)), static_cast<LONG>(std::lround(y * sy + dy))};
  };
  auto add = [&](POINT p) {
    if (ring.empty() || ring.back().x != p.x || ring.back().y != p.y) ring.push_back(p);
  };
  auto finish = [&] {
    if (!ring.empty()) out.push_back(std::move(ring));
    ring.clear();
  };
  double cx = 0, cy = 0;
  size_t c = 0;
  for (Op op : ops_) {
    switch (op) {
      case Move:
        finish();
        cx = coords_[c], cy = coords_[c + 1];
        c += 2;
        add(at(cx, cy));
        break;
      case Line:
        cx = coords_[c], cy = coords_[c + 1];
        c += 2;
        add(at(cx, cy));
        break;
      case Curve: {
        const double* p = &coords_[c];
        c += 6;
        // Enough straight pieces that none strays further than the tolerance from the curve.
        double length = std::hypot((p[0] - cx) * sx, (p[1] - cy) * sy) + std::hypot((p[2] - p[0]) * sx, (p[3] - p[1]) * sy) +
                        std::hypot((p[4] - p[2]) * sx, (p[5] - p[3]) * sy);
        int steps = std::clamp(static_cast<int>(std::ceil(std::sqrt(length / std::max(tolerance, 0.01)) * 2)), 1, 256);
        for (int i = 1; i <= steps; ++i) {
          double t = static_cast<double>(i) / steps, u = 1 - t;
          double a = u * u * u, b = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
          add(at(a * cx + b * p[0] + d * p[2] + e * p[4], a * cy + b * p[1] + d * p[3] + e * p[5]));
        }
        cx = p[4], cy = p[5];
        break;
      }
      case Close:
        // A closed figure ends where it began.
        if (ring.size() > 1 && (ring.front().x != ring.back().x || ring.front().y != ring.back().y))
          ring.push_back(ring.front());
        finish();
        break;
    }
  }
  finish();
  return out;
}

}  // namespace brambolt

namespace brambolt::gdi {
namespace {

// What a fill with `rop` leaves on white paper; false when it leaves the paper as it is.
bool PaperInk(uint8_t rop, const Paint& paint, PagePaint* out) {
  if (paint.none || rop == 0xAA) return false;
  if (paint.solid || paint.pattern.empty()) {
    out->color = ColorFromPixel(Rop3Pixel(rop, paint.color, 0, 0xFFFFFF));
    return true;
  }
  auto tile = std::make_shared<Surface>(paint.pw, paint.ph);
  for (int y = 0; y < paint.ph; ++y)
    for (int x = 0; x < paint.pw; ++x)
      tile->Row(y)[x] = Rop3Pixel(rop, paint.pattern[static_cast<size_t>(y) * paint.pw + x], 0, 0xFFFFFF) & 0xFFFFFF;
  out->tile = std::move(tile);
  out->tileMask = paint.opaque;
  out->tileOrigin = POINT{paint.orgX, paint.orgY};
  return true;
}

// The index of a clip region in the page's list; consecutive operations share one entry.
int ClipIndex(DeviceContext& dc, const Region& clip) {
  PageRecord& page = *dc.page;
  if (clip.Type() == SIMPLEREGION && clip.Box().left <= 0 && clip.Box().top <= 0 && clip.Box().right >= page.width &&
      clip.Box().bottom >= page.height)
    return -1;
  if (page.clips.empty() || page.clips.back() != clip) page.clips.push_back(clip);
  return static_cast<int>(page.clips.size()) - 1;
}

}  // namespace

void RecordRegion(DeviceContext& dc, const Region& region, const Paint& paint, uint8_t rop) {
  PageFill fill;
  if (!PaperInk(rop, paint, &fill.paint)) return;
  Region area = Region::Combine(region, dc.Clip(), RGN_AND);
  if (area.IsEmpty()) return;
  for (const RECT& r : area.Rects()) fill.path.AddRect(r.left, r.top, r.right, r.bottom);
  dc.page->ops.push_back(PageOp{-1, std::move(fill)});
}

void RecordFill(DeviceContext& dc, PagePath path, bool winding, const Paint& paint, uint8_t rop) {
  PageFill fill;
  if (path.Empty() || !PaperInk(rop, paint, &fill.paint)) return;
  fill.path = std::move(path);
  fill.winding = winding;
  dc.page->ops.push_back(PageOp{ClipIndex(dc, dc.Clip()), std::move(fill)});
}

void RecordStroke(DeviceContext& dc, PagePath path, double width, std::vector<double> dashes, const Paint& ink,
                  uint8_t rop, bool roundCaps) {
  PagePaint paint;
  if (path.Empty() || !PaperInk(rop, ink, &paint)) return;
  PageStroke stroke;
  stroke.path = std::move(path);
  stroke.width = width;
  stroke.dashes = std::move(dashes);
  stroke.color = paint.color;
  stroke.roundCaps = roundCaps;
  dc.page->ops.push_back(PageOp{ClipIndex(dc, dc.Clip()), std::move(stroke)});
}

void RecordText(DeviceContext& dc, const Region& clip, PageText text) {
  if (text.chars.empty() || clip.IsEmpty()) return;
  dc.page->ops.push_back(PageOp{ClipIndex(dc, clip), std::move(text)});
}

void RecordImage(DeviceContext& dc, std::shared_ptr<const Surface> pixels, std::vector<uint8_t> alpha, const RECT& dest) {
  if (!pixels || pixels->Width() <= 0 || pixels->Height() <= 0 || dest.right <= dest.left || dest.bottom <= dest.top) return;
  if (!dc.Clip().Intersects(dest)) return;
  dc.page->ops.push_back(PageOp{ClipIndex(dc, dc.Clip()), PageImage{std::move(pixels), std::move(alpha), dest}});
}

}  // namespace brambolt::gdi

namespace brambolt {
namespace {

using namespace brambolt::gdi;

// Replays into one DC: page pixels map to surface pixels by scale and offset.
class Replay {
 public:
  Replay(DeviceContext& dc, Surface& s, const PageRecord& page, const RECT& into)
      : dc_(dc), s_(s), page_(page), saved_(dc.st) {
    sx_ = page.width > 0 ? static_cast<double>(into.right - into.left) / page.width : 1;
    sy_ = page.height > 0 ? static_cast<double>(into.bottom - into.top) / page.height : 1;
    dx_ = into.left;
    dy_ = into.top;
  }
  ~Replay() {
    dc_.st = saved_;
    dc_.InvalidateClip();
  }

  void Run() {
    for (const PageOp& op : page_.ops) {
      SetClip(op.clip);
      std::visit([this](const auto& item) { Draw(item); }, op.item);
    }
  }

 private:
  // Page rectangle to device rectangle, at least one pixel wide and high when not empty.
  RECT Scale(const RECT& r) const {
    RECT out{static_cast<LONG>(std::lround(r.left * sx_ + dx_)), static_cast<LONG>(std::lround(r.top * sy_ + dy_)),
             static_cast<LONG>(std::lround(r.right * sx_ + dx_)), static_cast<LONG>(std::lround(r.bottom * sy_ + dy_))};
    if (r.right > r.left && out.right <= out.left) out.right = out.left + 1;
    if (r.bottom > r.top && out.bottom <= out.top) out.bottom = out.top + 1;
    return out;
  }

  void SetClip(int index) {
    if (index == current_ && applied_) return;
    current_ = index;
    applied_ = true;
    Region clip;
    if (index < 0) {
      clip = Region(Scale(RECT{0, 0, page_.width, page_.height}));
    } else {
      std::vector<RECT> rects;
      for (const RECT& r : page_.clips[static_cast<size_t>(index)].Rects()) rects.push_back(Scale(r));
      clip = Region::FromRects(rects.data(), rects.size());
    }
    if (saved_.hasClip) clip.Intersect(saved_.clip);
    dc_.st.clip = std::move(clip);
    dc_.st.hasClip = true;
    dc_.InvalidateClip();
  }

  Paint PaintOf(const PagePaint& p) const {
    if (!p.tile) return SolidPaint(dc_, p.color);
    Paint paint;
    paint.none = false;
    paint.solid = false;
    paint.pw = p.tile->Width();
    paint.ph = p.tile->Height();
    for (int y = 0; y < paint.ph; ++y) paint.pattern.insert(paint.pattern.end(), p.tile->Row(y), p.tile->Row(y) + paint.pw);
    paint.opaque = p.tileMask;
    paint.orgX = static_cast<int>(std::lround(p.tileOrigin.x * sx_ + dx_)) + dc_.origin.x;
    paint.orgY = static_cast<int>(std::lround(p.tileOrigin.y * sy_ + dy_)) + dc_.origin.y;
    return paint;
  }

  // The path's figures in surface coordinates.
  std::vector<std::vector<POINT>> Rings(const PagePath& path) const {
    return path.Flatten(sx_, sy_, dx_ + dc_.origin.x, dy_ + dc_.origin.y);
  }

  void Draw(const PageFill& fill) {
    // Figures that are rectangles keep at least one pixel, so hairlines stay visible when
    // the page shrinks; others are filled as polygons.
    std::vector<RECT> rects;
    std::vector<POINT> points;
    std::vector<int> counts;
    const auto& ops = fill.path.Ops();
    const auto& coords = fill.path.Coords();
    size_t c = 0;
    for (size_t i = 0; i < ops.size();) {
      bool rect = i + 4 < ops.size() + 0 && ops[i] == PagePath::Move && ops[i + 1] == PagePath::Line &&
                  ops[i + 2] == PagePath::Line && ops[i + 3] == PagePath::Line && ops[i + 4] == PagePath::Close &&
                  coords[c + 1] == coords[c + 3] && coords[c + 2] == coords[c + 4] && coords[c + 5] == coords[c + 7] &&
                  coords[c] == coords[c + 6];
      if (rect) {
        RECT r{static_cast<LONG>(std::floor(std::min(coords[c], coords[c + 2]))),
               static_cast<LONG>(std::floor(std::min(coords[c + 1], coords[c + 5]))),
               static_cast<LONG>(std::ceil(std::max(coords[c], coords[c + 2]))),
               static_cast<LONG>(std::ceil(std::max(coords[c + 1], coords[c + 5])))};
        RECT d = Scale(r);
        OffsetRect(&d, dc_.origin.x, dc_.origin.y);
        rects.push_back(d);
        i += 5;
        c += 8;
        continue;
      }
      // The rest of the path goes as polygons.
      PagePath rest;
      for (; i < ops.size(); ++i) {
        switch (ops[i]) {
          case PagePath::Move: rest.MoveTo(coords[c], coords[c + 1]), c += 2; break;
          case PagePath::Line: rest.LineTo(coords[c], coords[c + 1]), c += 2; break;
          case PagePath::Curve:
            rest.CurveTo(coords[c], coords[c + 1], coords[c + 2], coords[c + 3], coords[c + 4], coords[c + 5]);
            c += 6;
            break;
          case PagePath::Close: rest.ClosePath(); break;
        }
      }
      for (auto& ring : Rings(rest)) {
        counts.push_back(static_cast<int>(ring.size()));
        points.insert(points.end(), ring.begin(), ring.end());
      }
    }
    Region area = Region::FromRects(rects.data(), rects.size());
    if (!counts.empty())
      area.Unite(Region::FromPolygons(points.data(), counts.data(), static_cast<int>(counts.size()),
                                      fill.winding ? WINDING : ALTERNATE));
    PaintRegion(dc_, s_, area, PaintOf(fill.paint), 0xF0);
  }

  void Draw(const PageStroke& stroke) {
    int width = std::max(1, static_cast<int>(std::lround(stroke.width * sx_)));
    double scale = std::max(sx_, 1e-6);
    for (auto& ring : Rings(stroke.path)) {
      if (stroke.dashes.empty()) {
        StrokeSurfacePolyline(dc_, s_, ring, width, PixelFromColor(stroke.color), false);
        continue;
      }
      // Dashes along the polyline, lengths scaled as the page is.
      size_t dash = 0;
      double left = std::max(stroke.dashes[0] * scale, 1.0);
      bool on = true;
      std::vector<POINT> piece{ring.front()};
      for (size_t k = 1; k < ring.size(); ++k) {
        double ax = ring[k - 1].x, ay = ring[k - 1].y, bx = ring[k].x, by = ring[k].y;
        double length = std::hypot(bx - ax, by - ay), done = 0;
        while (length - done > left) {
          done += left;
          POINT p{static_cast<LONG>(std::lround(ax + (bx - ax) * done / length)),
                  static_cast<LONG>(std::lround(ay + (by - ay) * done / length))};
          if (on) {
            piece.push_back(p);
            StrokeSurfacePolyline(dc_, s_, piece, width, PixelFromColor(stroke.color), false);
          }
          piece.assign(1, p);
          on = !on;
          dash = (dash + 1) % stroke.dashes.size();
          left = std::max(stroke.dashes[dash] * scale, 1.0);
        }
        left -= length - done;
        piece.push_back(ring[k]);
      }
      if (on && piece.size() > 1) StrokeSurfacePolyline(dc_, s_, piece, width, PixelFromColor(stroke.color), false);
    }
  }

  void Draw(const PageText& text) {
    LOGFONT lf = text.font;
    auto scaled = [](LONG v, double f) {
      if (v == 0) return LONG{0};
      return static_cast<LONG>((v < 0 ? -1 : 1) * std::max(1L, std::lround(std::abs(v) * f)));
    };
    lf.lfHeight = scaled(lf.lfHeight, sy_);
    lf.lfWidth = scaled(lf.lfWidth, sx_);
    auto font = RealizeFont(lf);
    auto object = std::make_shared<FontObject>();
    object->lf = lf;
    dc_.st.font = object;
    dc_.st.textColor = text.color;
    DecodedText decoded;
    decoded.chars = text.chars;
    decoded.bytes.assign(text.chars.size(), 1);
    // Characters stay where the page put them: each placed from the page's running advance.
    std::vector<int> advances;
    long pen = 0;
    int placed = 0;
    for (int a : text.advances) {
      pen += a;
      int next = static_cast<int>(std::lround(pen * sx_));
      advances.push_back(next - placed);
      placed = next;
    }
    TextRun run;
    run.text = &decoded;
    run.advances = &advances;
    run.reference = POINT{static_cast<LONG>(std::lround(text.baseline.x * sx_ + dx_)) + dc_.origin.x,
                          static_cast<LONG>(std::lround(text.baseline.y * sy_ + dy_)) + dc_.origin.y};
    run.align = TA_LEFT | TA_BASELINE;
    object->lf.lfUnderline = object->lf.lfStrikeOut = 0;  // the page holds those lines as fills
    DrawRun(dc_, s_, *font, run);
    dc_.st.font.reset();
  }

  void Draw(const PageImage& image) {
    RECT d = Scale(image.dest);
    OffsetRect(&d, dc_.origin.x, dc_.origin.y);
    const Surface& src = *image.pixels;
    int dw = d.right - d.left, dh = d.bottom - d.top;
    bool mono = dc_.IsMono();
    dc_.Clip().ForEachRectIn(d, [&](const RECT& c) {
      for (int y = c.top; y < c.bottom; ++y) {
        int sy = static_cast<int>((static_cast<long long>(y - d.top) * src.Height()) / dh);
        uint32_t* row = s_.Row(y);
        for (int x = c.left; x < c.right; ++x) {
          int sx = static_cast<int>((static_cast<long long>(x - d.left) * src.Width()) / dw);
          uint32_t p = src.Row(sy)[sx] & 0xFFFFFF;
          unsigned a = image.alpha.empty() ? 255 : image.alpha[static_cast<size_t>(sy) * src.Width() + sx];
          if (a == 0) continue;
          if (a < 255) {
            uint32_t q = row[x], out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
              unsigned v = (((p >> shift) & 0xFF) * a + ((q >> shift) & 0xFF) * (255 - a) + 127) / 255;
              out |= v << shift;
            }
            p = out;
          }
          row[x] = mono ? (MonoIsWhite(p) ? 0xFFFFFF : 0) : p;
        }
      }
    });
  }

  DeviceContext& dc_;
  Surface& s_;
  const PageRecord& page_;
  DcState saved_;
  double sx_, sy_, dx_, dy_;
  int current_ = -2;
  bool applied_ = false;
};

}  // namespace

void ReplayPage(const PageRecord& page, HDC target, const RECT& into) {
  auto dc = LookupDC(target);
  if (!dc || into.right <= into.left || into.bottom <= into.top) return;
  DrawScope scope(*dc);
  if (!scope.surface() || !scope.surface()->Pixels()) return;
  Replay(*dc, *scope.surface(), page, into).Run();
}

}  // namespace brambolt

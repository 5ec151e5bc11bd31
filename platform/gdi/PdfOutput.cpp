// PDF pages drawn by cairo from recorded pages: clips, filled and stroked paths, text through
// cairo's FreeType faces (the files the screen's fonts come from), and images.
#include "gdi/PdfOutput.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

#include "gdi/Fonts.h"

namespace brambolt {

// cairo's faces for the font files of the document, made once each.
struct PdfDocument::Fonts {
  std::map<std::tuple<std::string, int, bool, bool>, cairo_font_face_t*> faces;
  cairo_font_options_t* options = nullptr;

  Fonts() {
    // Outlines as designed: hinting belongs to the screen, not to a page that scales.
    options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  }
  ~Fonts() {
    for (auto& [key, face] : faces) cairo_font_face_destroy(face);
    cairo_font_options_destroy(options);
  }

  cairo_font_face_t* Face(const gdi::RealizedFont::Outline& o) {
    auto key = std::make_tuple(o.file, o.faceIndex, o.bold, o.oblique);
    auto it = faces.find(key);
    if (it != faces.end()) return it->second;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(o.file.c_str()));
    FcPatternAddInteger(pattern, FC_INDEX, o.faceIndex);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern);
    FcPatternDestroy(pattern);
    unsigned synth = (o.bold ? CAIRO_FT_SYNTHESIZE_BOLD : 0) | (o.oblique ? CAIRO_FT_SYNTHESIZE_OBLIQUE : 0);
    if (synth) cairo_ft_font_face_set_synthesize(face, synth);
    faces.emplace(key, face);
    return face;
  }
};

namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void SetColor(cairo_t* cr, COLORREF c) {
  cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

void AddPath(cairo_t* cr, const PagePath& path) {
  const auto& coords = path.Coords();
  size_t c = 0;
  for (PagePath::Op op : path.Ops()) {
    switch (op) {
      case PagePath::Move: cairo_move_to(cr, coords[c], coords[c + 1]), c += 2; break;
      case PagePath::Line: cairo_line_to(cr, coords[c], coords[c + 1]), c += 2; break;
      case PagePath::Curve:
        cairo_curve_to(cr, coords[c], coords[c + 1], coords[c + 2], coords[c + 3], coords[c + 4], coords[c + 5]);
        c += 6;
        break;
      case PagePath::Close: cairo_close_path(cr); break;
    }
  }
}

// Pixels (and their alpha) as a cairo image, premultiplied as cairo keeps them.
cairo_surface_t* ImageOf(const Surface& pixels, const std::vector<uint8_t>& alpha) {
  int w = pixels.Width(), h = pixels.Height();
  cairo_surface_t* image = cairo_image_surface_create(alpha.empty() ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, w, h);
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    const uint32_t* from = pixels.Row(y);
    for (int x = 0; x < w; ++x) {
      uint32_t p = from[x] & 0xFFFFFF;
      if (alpha.empty()) {
        row[x] = 0xFF000000u | p;
        continue;
      }
      uint32_t a = alpha[static_cast<size_t>(y) * w + x], out = a << 24;
      for (int shift = 0; shift <= 16; shift += 8) out |= ((((p >> shift) & 0xFF) * a + 127) / 255) << shift;
      row[x] = out;
    }
  }
  cairo_surface_mark_dirty(image);
  return image;
}

void SetPaint(cairo_t* cr, const PagePaint& paint) {
  if (!paint.tile) {
    SetColor(cr, paint.color);
    return;
  }
  std::vector<uint8_t> alpha;
  for (uint8_t m : paint.tileMask) alpha.push_back(m ? 255 : 0);
  cairo_surface_t* tile = ImageOf(*paint.tile, alpha);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_matrix_t m;
  cairo_matrix_init_translate(&m, -paint.tileOrigin.x, -paint.tileOrigin.y);
  cairo_pattern_set_matrix(pattern, &m);
  cairo_set_source(cr, pattern);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(tile);
}

}  // namespace

PdfDocument::PdfDocument(const std::string& path, double widthPt, double heightPt, int dpiX, int dpiY, int offsetX,
                         int offsetY)
    : scaleX_(72.0 / std::max(dpiX, 1)), scaleY_(72.0 / std::max(dpiY, 1)), offsetX_(offsetX), offsetY_(offsetY),
      fonts_(new Fonts) {
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    error_ = std::strerror(errno);
    return;
  }
  surface_ = cairo_pdf_surface_create_for_stream(
      [](void* closure, const unsigned char* data, unsigned int length) {
        return static_cast<cairo_status_t>(WriteChunk(closure, data, length));
      },
      this, widthPt, heightPt);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) Failed("PDF output");
}

PdfDocument::~PdfDocument() {
  if (surface_) cairo_surface_destroy(surface_);
  if (file_) std::fclose(file_);
  delete fonts_;
}

unsigned PdfDocument::WriteChunk(void* closure, const unsigned char* data, unsigned length) {
  auto* self = static_cast<PdfDocument*>(closure);
  if (self->writeErrno_ != 0) return CAIRO_STATUS_WRITE_ERROR;
  if (std::fwrite(data, 1, length, self->file_) != length) {
    self->writeErrno_ = errno ? errno : EIO;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

bool PdfDocument::Failed(const char* what) {
  if (error_.empty()) {
    if (writeErrno_ != 0) error_ = std::strerror(writeErrno_);
    else if (surface_) error_ = std::string(what) + ": " + cairo_status_to_string(cairo_surface_status(surface_));
    else error_ = what;
  }
  return false;
}

bool PdfDocument::AddPage(const PageRecord& page) {
  if (!error_.empty() || !surface_) return false;
  cairo_t* cr = cairo_create(surface_);
  cairo_scale(cr, scaleX_, scaleY_);
  cairo_translate(cr, offsetX_, offsetY_);
  cairo_set_font_options(cr, fonts_->options);
  int clip = -2;
  auto setClip = [&](int index) {
    if (index == clip) return;
    clip = index;
    cairo_reset_clip(cr);
    if (index < 0) {
      cairo_rectangle(cr, 0, 0, page.width, page.height);
    } else {
      for (const RECT& r : page.clips[static_cast<size_t>(index)].Rects())
        cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    cairo_clip(cr);
  };
  for (const PageOp& op : page.ops) {
    setClip(op.clip);
    if (const auto* fill = std::get_if<PageFill>(&op.item)) {
      AddPath(cr, fill->path);
      cairo_set_fill_rule(cr, fill->winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
      SetPaint(cr, fill->paint);
      cairo_fill(cr);
    } else if (const auto* stroke = std::get_if<PageStroke>(&op.item)) {
      AddPath(cr, stroke->path);
      cairo_set_line_width(cr, stroke->width);
      cairo_set_line_cap(cr, stroke->roundCaps ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      cairo_set_dash(cr, stroke->dashes.data(), static_cast<int>(stroke->dashes.size()), 0);
      SetColor(cr, stroke->color);
      cairo_stroke(cr);
      cairo_set_dash(cr, nullptr, 0, 0);
    } else if (const auto* text = std::get_if<PageText>(&op.item)) {
      auto font = gdi::RealizeFont(text->font);
      double em = font->EmPixels();
      double angle = text->font.lfEscapement * M_PI / 1800.0;
      double ax = std::cos(angle), ay = -std::sin(angle);
      SetColor(cr, text->color);
      // Runs of characters from one face, each glyph where the printer DC measured it.
      size_t i = 0;
      double pen = 0;
      while (i < text->chars.size()) {
        gdi::RealizedFont::Outline first = font->OutlineOf(text->chars[i]);
        std::vector<cairo_glyph_t> glyphs;
        std::vector<cairo_text_cluster_t> clusters;
        std::string utf8;
        size_t j = i;
        for (; j < text->chars.size(); ++j) {
          gdi::RealizedFont::Outline o = j == i ? first : font->OutlineOf(text->chars[j]);
          if (o.file != first.file || o.faceIndex != first.faceIndex || o.bold != first.bold ||
              o.oblique != first.oblique)
            break;
          size_t before = utf8.size();
          AppendUtf8(utf8, text->chars[j]);
          glyphs.push_back(cairo_glyph_t{o.glyph, text->baseline.x + pen * ax, text->baseline.y + pen * ay});
          clusters.push_back(cairo_text_cluster_t{static_cast<int>(utf8.size() - before), 1});
          pen += text->advances[j];
        }
        if (!first.file.empty()) {
          cairo_set_font_face(cr, fonts_->Face(first));
          cairo_matrix_t matrix;
          cairo_matrix_init_rotate(&matrix, -angle);
          cairo_matrix_scale(&matrix, em * first.xScale, em);
          cairo_set_font_matrix(cr, &matrix);
          cairo_show_text_glyphs(cr, utf8.data(), static_cast<int>(utf8.size()), glyphs.data(),
                                 static_cast<int>(glyphs.size()), clusters.data(), static_cast<int>(clusters.size()),
                                 static_cast<cairo_text_cluster_flags_t>(0));
        }
        i = j;
      }
    } else if (const auto* image = std::get_if<PageImage>(&op.item)) {
      cairo_surface_t* pixels = ImageOf(*image->pixels, image->alpha);
      double w = image->dest.right - image->dest.left, h = image->dest.bottom - image->dest.top;
      double sx = w / image->pixels->Width(), sy = h / image->pixels->Height();
      cairo_save(cr);
      cairo_translate(cr, image->dest.left, image->dest.top);
      cairo_scale(cr, sx, sy);
      cairo_set_source_surface(cr, pixels, 0, 0);
      // Enlarged pixels stay sharp squares, as on the screen.
      cairo_pattern_set_filter(cairo_get_source(cr), sx >= 1 && sy >= 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
      cairo_rectangle(cr, 0, 0, image->pixels->Width(), image->pixels->Height());
      cairo_fill(cr);
      cairo_restore(cr);
      cairo_surface_destroy(pixels);
    }
  }
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_show_page(surface_);
  if (status != CAIRO_STATUS_SUCCESS || cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS)
    return Failed("PDF page");
  return true;
}

bool PdfDocument::Finish() {
  if (!surface_) return Failed("PDF output");
  cairo_surface_finish(surface_);
  bool ok = cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS && writeErrno_ == 0;
  if (!ok) Failed("PDF output");
  cairo_surface_destroy(surface_);
  surface_ = nullptr;
  if (file_) {
    if (std::fflush(file_) != 0 && error_.empty()) error_ = std::strerror(errno);
    if (std::fclose(file_) != 0 && error_.empty()) error_ = std::strerror(errno);
    file_ = nullptr;
  }
  return error_.empty();
}

}  // namespace brambolt

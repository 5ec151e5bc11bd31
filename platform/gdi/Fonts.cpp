// Fonts through fontconfig and FreeType: the face substitution table, metrics with GDI's
// definitions, glyph rendering with a per-font cache, and the platform's own Marlett glyphs.
#include "gdi/Fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <strings.h>

#include "base/Convert.h"

namespace brambolt::gdi {

// One opened font file. FreeType objects are used under one lock: glyphs are rendered once and
// cached, so the lock is rarely contended.
struct FaceFile {
  FT_Face face = nullptr;
  std::string path;  // the file and the face's index in it
  int index = 0;
  bool bold = false;
  bool italic = false;
  ~FaceFile();
};

namespace {

std::mutex& FreeTypeMutex() {
  static auto* m = new std::mutex;  // never destroyed: threads may still draw at exit
  return *m;
}

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    FT_Init_FreeType(&lib);
    return lib;
  }();
  return library;
}

struct Substitution {
  const char* name;
  const char* family;
  bool bold;
  bool condensed;
};

// Face names the application uses (and their relatives), mapped to the fonts we ship with. The
// dialog faces, "System" and the Arial, Times and Courier families take the metric-compatible
// Liberation faces, so dialog base units and text widths come out as designed (DejaVu's wider
// letters made dialogs some 16 % wider); "System" is proportional and bold, as on Windows.
const Substitution kSubstitutions[] = {
    {"MS Sans Serif", "Liberation Sans", false, false},
    {"MS Shell Dlg", "Liberation Sans", false, false},
    {"MS Shell Dlg 2", "Liberation Sans", false, false},
    {"Microsoft Sans Serif", "Liberation Sans", false, false},
    {"Arial", "Liberation Sans", false, false},
    {"Ariel", "Liberation Sans", false, false},
    {"Tahoma", "Liberation Sans", false, false},
    {"Verdana", "DejaVu Sans", false, false},
    {"Helvetica", "Liberation Sans", false, false},
    {"Arial Narrow", "DejaVu Sans Condensed", false, true},
    {"Times New Roman", "Liberation Serif", false, false},
    {"Times Roman", "Liberation Serif", false, false},
    {"Times", "Liberation Serif", false, false},
    {"MS Serif", "Liberation Serif", false, false},
    {"Courier", "Liberation Mono", false, false},
    {"Courier New", "Liberation Mono", false, false},
    {"Lucida Console", "DejaVu Sans Mono", false, false},
    {"Fixedsys", "DejaVu Sans Mono", true, false},
    {"System", "Liberation Sans", true, false},
    {"Terminal", "DejaVu Sans Mono", true, false},
    {"\xE5\xAE\x8B\xE4\xBD\x93", "WenQuanYi Micro Hei", false, false},              // SimSun
    {"SimSun", "WenQuanYi Micro Hei", false, false},
    {"\xE6\x96\xB0\xE5\xAE\x8B\xE4\xBD\x93", "WenQuanYi Micro Hei", false, false},  // NSimSun
    {"NSimSun", "WenQuanYi Micro Hei", false, false},
    {"\xE9\xBB\x91\xE4\xBD\x93", "WenQuanYi Micro Hei", false, false},              // SimHei
    {"SimHei", "WenQuanYi Micro Hei", false, false},
    {"\xE7\xB4\xB0\xE6\x98\x8E\xE9\xAB\x94", "WenQuanYi Micro Hei", false, false},  // MingLiU
    {"\xE6\x96\xB0\xE7\xB4\xB0\xE6\x98\x8E\xE9\xAB\x94", "WenQuanYi Micro Hei", false, false},  // PMingLiU
    {"MingLiU", "WenQuanYi Micro Hei", false, false},
    {"PMingLiU", "WenQuanYi Micro Hei", false, false},
    {"DejaVu Sans", "DejaVu Sans", false, false},
    {"DejaVu Serif", "DejaVu Serif", false, false},
    {"DejaVu Sans Mono", "DejaVu Sans Mono", false, false},
    {"Liberation Sans", "Liberation Sans", false, false},
    {"Liberation Serif", "Liberation Serif", false, false},
    {"Liberation Mono", "Liberation Mono", false, false},
    {"WenQuanYi Micro Hei", "WenQuanYi Micro Hei", false, false},
    {"Marlett", "Marlett", false, false},
};

std::shared_ptr<FaceFile> OpenFace(const std::string& family, bool bold, bool italic, bool condensed) {
  static auto& cache = *new std::map<std::string, std::shared_ptr<FaceFile>>;
  std::string key = family + (bold ? "|b" : "|") + (italic ? "i" : "") + (condensed ? "c" : "");
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  auto file = std::make_shared<FaceFile>();
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (condensed) FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_CONDENSED);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  if (match) {
    FcChar8* path = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetString(match, FC_FILE, 0, &path);
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    if (path && FT_New_Face(Library(), reinterpret_cast<const char*>(path), index, &file->face) != 0) file->face = nullptr;
    if (file->face) {
      file->path = reinterpret_cast<const char*>(path);
      file->index = index;
    }
    file->bold = weight >= FC_WEIGHT_DEMIBOLD;
    file->italic = slant != FC_SLANT_ROMAN;
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  cache.emplace(key, file);
  return file;
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

void SetSize(FT_Face face, int em, int width) {
  FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(std::max(width, 0)), static_cast<FT_UInt>(std::max(em, 1)));
}

}  // namespace

FaceFile::~FaceFile() {
  if (face) FT_Done_Face(face);
}

FaceChoice SubstituteFace(const LOGFONT& lf) {
  char raw[LF_FACESIZE + 1] = {};
  std::memcpy(raw, lf.lfFaceName, LF_FACESIZE);
  std::string name = AnsiToUtf8(raw);
  for (const Substitution& s : kSubstitutions)
    if (strcasecmp(name.c_str(), s.name) == 0) return FaceChoice{s.family, s.bold, s.condensed};
  int pitch = lf.lfPitchAndFamily & 3, family = lf.lfPitchAndFamily & 0xF0;
  if (lf.lfCharSet == GB2312_CHARSET || lf.lfCharSet == CHINESEBIG5_CHARSET) return FaceChoice{"WenQuanYi Micro Hei"};
  if (pitch == FIXED_PITCH || family == FF_MODERN) return FaceChoice{"DejaVu Sans Mono"};
  if (family == FF_ROMAN) return FaceChoice{"DejaVu Serif"};
  return FaceChoice{"DejaVu Sans"};
}

std::vector<std::string> KnownFaceNames() {
  std::vector<std::string> names;
  for (const Substitution& s : kSubstitutions) {
    std::string ansi = Utf8ToAnsi(s.name);
    if (AnsiToUtf8(ansi) != s.name) continue;  // not expressible in this code page
    names.push_back(ansi);
  }
  return names;
}

RealizedFont::RealizedFont(const LOGFONT& lf, int emPixels, int widthPixels)
    : em_(std::max(emPixels, 1)), widthPx_(widthPixels) {
  FaceChoice choice = SubstituteFace(lf);
  bool wantBold = lf.lfWeight >= FW_SEMIBOLD || choice.bold;
  bool wantItalic = lf.lfItalic != 0;
  antialias_ = lf.lfQuality != NONANTIALIASED_QUALITY;
  char raw[LF_FACESIZE + 1] = {};
  std::memcpy(raw, lf.lfFaceName, LF_FACESIZE);
  faceName = raw[0] ? raw : choice.family;
  marlett = std::strcmp(choice.family, "Marlett") == 0;

  std::lock_guard lock(FreeTypeMutex());
  const char* family = marlett ? "DejaVu Sans" : choice.family;
  primary_ = OpenFace(family, wantBold, wantItalic, choice.condensed);
  fallback_ = OpenFace(std::strcmp(family, "WenQuanYi Micro Hei") == 0 ? "DejaVu Sans" : "WenQuanYi Micro Hei",
                       false, false, false);
  emboldenPrimary_ = wantBold && !primary_->bold;
  obliquePrimary_ = wantItalic && !primary_->italic;

  TEXTMETRIC& tm = metrics;
  tm.tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
  tm.tmItalic = lf.lfItalic;
  tm.tmUnderlined = lf.lfUnderline;
  tm.tmStruckOut = lf.lfStrikeOut;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet;
  tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
  if (marlett) {
    tm.tmHeight = tm.tmAscent = em_;
    tm.tmAveCharWidth = tm.tmMaxCharWidth = em_;
    tm.tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE | FF_DECORATIVE;
    tm.tmCharSet = SYMBOL_CHARSET;
    return;
  }
  FT_Face face = primary_->face;
  if (!face) {
    tm.tmHeight = em_;
    tm.tmAscent = em_ * 4 / 5;
    tm.tmDescent = em_ - tm.tmAscent;
    tm.tmAveCharWidth = std::max(1, em_ / 2);
    tm.tmMaxCharWidth = em_;
    return;
  }
  double upem = face->units_per_EM;
  double scale = em_ / upem;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
  double ascent = os2 ? os2->usWinAscent : face->ascender;
  double descent = os2 ? os2->usWinDescent : -face->descender;
  tm.tmAscent = Round(ascent * scale);
  tm.tmDescent = static_cast<LONG>(std::ceil(descent * scale - 1e-6));
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, static_cast<int>(tm.tmHeight) - em_);
  if (hhea) {
    double lineSpacing = (hhea->Ascender - hhea->Descender + hhea->Line_Gap) * scale;
    tm.tmExternalLeading = std::max(0, Round(lineSpacing) - static_cast<int>(tm.tmHeight));
  }
  double xScale = widthPx_ > 0 && os2 && os2->xAvgCharWidth > 0 ? widthPx_ / static_cast<double>(os2->xAvgCharWidth) : scale;
  tm.tmAveCharWidth = std::max(1, os2 && os2->xAvgCharWidth > 0 ? Round(os2->xAvgCharWidth * xScale) : em_ / 2);
  if (widthPx_ > 0) tm.tmAveCharWidth = widthPx_;
  tm.tmMaxCharWidth = std::max<LONG>(tm.tmAveCharWidth, Round(face->max_advance_width * xScale));
  bool fixed = FT_IS_FIXED_WIDTH(face);
  int familyBits = std::strstr(family, "Serif") ? FF_ROMAN : std::strstr(family, "Mono") ? FF_MODERN : FF_SWISS;
  // TMPF_FIXED_PITCH set means a variable-pitch font.
  tm.tmPitchAndFamily = static_cast<BYTE>((fixed ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE | familyBits);
  if (post) {
    underlinePosition = std::max(1, Round(-post->underlinePosition * scale));
    underlineThickness = std::max(1, Round(post->underlineThickness * scale));
  }
  if (os2 && os2->yStrikeoutPosition > 0) strikeoutPosition = std::max(1, Round(os2->yStrikeoutPosition * scale));
  else strikeoutPosition = std::max(1, static_cast<int>(tm.tmAscent) / 3);
  underlinePosition = std::min(underlinePosition, std::max(1, static_cast<int>(tm.tmDescent) - underlineThickness + 1));
}

RealizedFont::~RealizedFont() = default;

const Glyph& RealizedFont::GetGlyph(char32_t c) {
  std::lock_guard lock(mutex_);
  auto it = cache_.find(c);
  if (it != cache_.end()) return it->second;
  Glyph g = marlett ? RenderMarlett(c) : Render(c);
  return cache_.emplace(c, std::move(g)).first->second;
}

RealizedFont::Outline RealizedFont::OutlineOf(char32_t c) {
  Outline out;
  std::lock_guard lock(FreeTypeMutex());
  FaceFile* file = primary_.get();
  if (!file->face) return out;
  FT_UInt index = FT_Get_Char_Index(file->face, c);
  bool synthetic = true;
  if (index == 0 && fallback_->face && FT_Get_Char_Index(fallback_->face, c) != 0) {
    file = fallback_.get();
    index = FT_Get_Char_Index(file->face, c);
    synthetic = false;
  }
  out.file = file->path;
  out.faceIndex = file->index;
  out.glyph = index;
  out.bold = synthetic ? emboldenPrimary_ : metrics.tmWeight >= FW_SEMIBOLD;
  out.oblique = synthetic ? obliquePrimary_ : metrics.tmItalic != 0;
  if (widthPx_ > 0) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(file->face, FT_SFNT_OS2));
    if (os2 && os2->xAvgCharWidth > 0)
      out.xScale = static_cast<double>(widthPx_) * file->face->units_per_EM / os2->xAvgCharWidth / em_;
  }
  return out;
}

Glyph RealizedFont::Render(char32_t c) {
  Glyph g;
  std::lock_guard lock(FreeTypeMutex());
  FaceFile* file = primary_.get();
  FT_Face face = file->face;
  if (!face) {
    g.advance = std::max<int>(1, metrics.tmAveCharWidth);
    return g;
  }
  FT_UInt index = FT_Get_Char_Index(face, c);
  bool synthetic = true;
  if (index == 0 && fallback_->face && FT_Get_Char_Index(fallback_->face, c) != 0) {
    file = fallback_.get();
    face = file->face;
    index = FT_Get_Char_Index(face, c);
    synthetic = false;
  }
  int width = 0;
  if (widthPx_ > 0) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->xAvgCharWidth > 0) width = Round(static_cast<double>(widthPx_) * face->units_per_EM / os2->xAvgCharWidth);
  }
  SetSize(face, em_, width);
  FT_Int32 flags = antialias_ ? FT_LOAD_TARGET_LIGHT : FT_LOAD_TARGET_MONO;
  if (FT_Load_Glyph(face, index, flags) != 0) {
    g.advance = std::max<int>(1, metrics.tmAveCharWidth);
    return g;
  }
  FT_GlyphSlot slot = face->glyph;
  bool bold = synthetic ? emboldenPrimary_ : metrics.tmWeight >= FW_SEMIBOLD;
  bool oblique = synthetic ? obliquePrimary_ : metrics.tmItalic != 0;
  if (bold) FT_GlyphSlot_Embolden(slot);
  if (oblique) FT_GlyphSlot_Oblique(slot);
  FT_Render_Glyph(slot, antialias_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO);
  const FT_Bitmap& bm = slot->bitmap;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = static_cast<int>(bm.width);
  g.height = static_cast<int>(bm.rows);
  g.coverage.resize(static_cast<size_t>(g.width) * g.height);
  for (int y = 0; y < g.height; ++y) {
    const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
    for (int x = 0; x < g.width; ++x) {
      uint8_t v = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0) : row[x];
      g.coverage[static_cast<size_t>(y) * g.width + x] = v;
    }
  }
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  // A character that is present never measures zero (callers divide by blank widths).
  if (g.advance <= 0 && c >= 0x20) g.advance = std::max(1, g.width);
  return g;
}

Glyph RealizedFont::RenderMarlett(char32_t c) {
  if (c == U's') {
    // The help button's question mark: the text face's, placed in the square cell.
    Glyph q = Render(U'?');
    q.left = std::max(0, (em_ - q.width) / 2);
    q.top = std::min<int>(metrics.tmAscent, std::max(q.height, (em_ + q.height) / 2));
    q.advance = em_;
    return q;
  }
  Glyph g;
  int n = em_;
  g.advance = n;
  g.left = 0;
  g.top = metrics.tmAscent;
  g.width = g.height = n;
  g.coverage.assign(static_cast<size_t>(n) * n, 0);
  auto set = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < n && y < n) g.coverage[static_cast<size_t>(y) * n + x] = 255;
  };
  auto fill = [&](int l, int t, int r, int b) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) set(x, y);
  };
  int m = std::max(1, n / 4);           // margin
  int t = std::max(1, n / 12);          // stroke
  int cx = n / 2, cy = n / 2;
  int half = std::max(1, (n - 2 * m) / 2);
  auto triangle = [&](int dir) {        // 0 left, 1 right, 2 up, 3 down
    int h = std::max(1, half);          // depth of the arrow
    for (int i = 0; i < h; ++i) {
      int w = i;                        // half width at depth i
      for (int k = -w; k <= w; ++k) {
        switch (dir) {
          case 0: set(cx - h / 2 + i, cy + k); break;
          case 1: set(cx + h / 2 - i, cy + k); break;
          case 2: set(cx + k, cy - h / 2 + i); break;
          default: set(cx + k, cy + h / 2 - i); break;
        }
      }
    }
  };
  switch (c) {
    case U'3': triangle(0); break;
    case U'4': case U'8': triangle(1); break;
    case U'5': triangle(2); break;
    case U'6': case U'u': triangle(3); break;
    case U'0': fill(m, n - m - std::max(2, t), n - m - 1, n - m); break;
    case U'1':
      fill(m, m, n - m, m + std::max(2, t));
      fill(m, m, m + t, n - m);
      fill(n - m - t, m, n - m, n - m);
      fill(m, n - m - t, n - m, n - m);
      break;
    case U'2': {
      int s = (n - 2 * m) * 2 / 3;
      int ox = m + (n - 2 * m) - s, oy = m;
      fill(ox, oy, ox + s, oy + std::max(2, t));
      fill(ox + s - t, oy, ox + s, oy + s);
      int bx = m, by = n - m - s;
      fill(bx, by, bx + s, by + std::max(2, t));
      fill(bx, by, bx + t, by + s);
      fill(bx + s - t, by, bx + s, by + s);
      fill(bx, by + s - t, bx + s, by + s);
      break;
    }
    case U'r':
      for (int i = m; i < n - m; ++i)
        for (int k = 0; k <= t; ++k) {
          set(i + k, i);
          set(n - 1 - i - k, i);
        }
      break;
    case U'a': {
      int x0 = m, y0 = cy, x1 = cx - 1, y1 = n - m - 1, x2 = n - m;
      for (int x = x0; x <= x1; ++x)
        for (int k = 0; k <= t + 1; ++k) set(x, y0 + (x - x0) * (y1 - y0) / std::max(1, x1 - x0) - k + t);
      for (int x = x1; x < x2; ++x)
        for (int k = 0; k <= t + 1; ++k) set(x, y1 - (x - x1) * (y1 - m) / std::max(1, x2 - x1) - k + t);
      break;
    }
    case U'h': case U'i': case U'n': {
      double r = c == U'n' ? n / 2.0 - m / 2.0 : n / 6.0;
      for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
          if (std::hypot(x + 0.5 - n / 2.0, y + 0.5 - n / 2.0) <= r) set(x, y);
      break;
    }
    default: break;
  }
  return g;
}

std::shared_ptr<RealizedFont> RealizeFont(const LOGFONT& lf) {
  // Realised fonts are shared between DCs and threads; a small table keyed by the LOGFONT bytes.
  static auto& mutex = *new std::mutex;
  static auto& cache = *new std::map<std::string, std::shared_ptr<RealizedFont>>;
  LOGFONT key = lf;
  key.lfOrientation = 0;
  key.lfEscapement = 0;
  key.lfUnderline = 0;
  key.lfStrikeOut = 0;
  size_t nameLength = strnlen(key.lfFaceName, LF_FACESIZE);
  std::memset(key.lfFaceName + nameLength, 0, LF_FACESIZE - nameLength);
  std::string k(reinterpret_cast<const char*>(&key), sizeof key);
  std::lock_guard lock(mutex);
  auto it = cache.find(k);
  if (it != cache.end()) return it->second;
  int em = 0;
  if (lf.lfHeight < 0) {
    em = -lf.lfHeight;
  } else {
    // A positive height is the cell height: take the em size whose ascent plus descent fits it.
    int cell = lf.lfHeight == 0 ? 16 : std::min<int>(lf.lfHeight, 4000);
    RealizedFont probe(lf, 1000, 0);
    int probeCell = std::max<int>(1, probe.metrics.tmHeight);
    em = std::max(1, Round(cell * 1000.0 / probeCell));
    while (em > 1) {
      RealizedFont test(lf, em, 0);
      if (test.metrics.tmHeight <= cell) break;
      --em;
    }
  }
  // Glyphs are rendered as bitmaps: sizes beyond a few thousand pixels would only exhaust memory.
  constexpr int kLargestEm = 2000;
  em = std::min(em, kLargestEm);
  auto font = std::make_shared<RealizedFont>(lf, em, std::min(std::abs(lf.lfWidth), kLargestEm));
  cache.emplace(k, font);
  return font;
}

}  // namespace brambolt::gdi

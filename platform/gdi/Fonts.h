// Internal: fonts realised through fontconfig and FreeType, the face substitution table and the
// glyph cache. Public font and text functions are in Text.h.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "gdi/GdiTypes.h"

namespace brambolt::gdi {

// A rendered glyph: 8-bit coverage, placed relative to the pen position on the baseline.
struct Glyph {
  int left = 0;     // pixels right of the pen position
  int top = 0;      // pixels above the baseline
  int width = 0, height = 0;
  int advance = 0;  // whole pixels
  std::vector<uint8_t> coverage;
};

struct FaceFile;

// A font at one pixel size and style, with metrics in device pixels (GDI's definitions).
class RealizedFont {
 public:
  RealizedFont(const LOGFONT& lf, int emPixels, int widthPixels);
  ~RealizedFont();
  RealizedFont(const RealizedFont&) = delete;
  RealizedFont& operator=(const RealizedFont&) = delete;

  // Cached; the reference stays valid for the font's life.
  const Glyph& GetGlyph(char32_t c);
  int Advance(char32_t c) { return GetGlyph(c).advance; }

  // Where a character's outline comes from, for output that draws outlines (PDF): the font file,
  // the glyph, the styles FreeType makes up, and the horizontal stretch of a set width. An empty
  // file when the font has none.
  struct Outline {
    std::string file;
    int faceIndex = 0;
    unsigned glyph = 0;
    bool bold = false, oblique = false;
    double xScale = 1;
  };
  Outline OutlineOf(char32_t c);
  int EmPixels() const { return em_; }

  TEXTMETRIC metrics{};
  int underlinePosition = 1;  // pixels below the baseline
  int underlineThickness = 1;
  int strikeoutPosition = 3;  // pixels above the baseline
  std::string faceName;       // the name asked for, or the family used
  bool marlett = false;

 private:
  Glyph Render(char32_t c);
  Glyph RenderMarlett(char32_t c);

  int em_;
  int widthPx_;
  std::shared_ptr<FaceFile> primary_;
  std::shared_ptr<FaceFile> fallback_;
  bool emboldenPrimary_ = false, obliquePrimary_ = false;
  bool antialias_ = true;
  std::mutex mutex_;
  std::unordered_map<char32_t, Glyph> cache_;
};

// The realised font for a LOGFONT whose height and width are already in device pixels.
std::shared_ptr<RealizedFont> RealizeFont(const LOGFONT& deviceFont);

// The fontconfig family and style a face name stands for (the substitution table).
struct FaceChoice {
  const char* family;
  bool bold = false;
  bool condensed = false;
};
FaceChoice SubstituteFace(const LOGFONT& lf);
// Every face name the substitution table knows, for EnumFontFamilies.
std::vector<std::string> KnownFaceNames();

}  // namespace brambolt::gdi

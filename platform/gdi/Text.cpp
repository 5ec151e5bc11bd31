// Text output and measurement: fonts on DCs, glyph blending with the text colour, alignment,
// background cells, underline and strike-out, rotated text, extents, metrics and enumeration.
#include "gdi/Text.h"

#include <algorithm>
#include <cstring>

#include "base/Convert.h"
#include "gdi/DC.h"
#include "gdi/Objects.h"
#include "gdi/TextInternal.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace brambolt::gdi {

DecodedText DecodeAnsi(const char* text, size_t length, UINT codePage) {
  DecodedText out;
  if (!text || length == 0) return out;
  std::string_view bytes(text, length);
  out.bytes.reserve(length);
  bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) {
    out.chars.assign(bytes.begin(), bytes.end());
    out.bytes.assign(length, 1);
    return out;
  }
  for (size_t i = 0; i < length;) {
    size_t n = brambolt::NextCharacter(codePage, bytes, i) - i;
    out.bytes.push_back(static_cast<int>(n));
    i += n;
  }
  std::u32string all = AnsiToUnicode(bytes, codePage);
  if (all.size() == out.bytes.size()) {
    out.chars = std::move(all);
    return out;
  }
  // Malformed sequences: convert character by character so counts stay aligned.
  size_t offset = 0;
  for (int n : out.bytes) {
    std::u32string one = AnsiToUnicode(bytes.substr(offset, static_cast<size_t>(n)), codePage);
    out.chars.push_back(one.empty() ? U'\uFFFD' : one[0]);
    offset += static_cast<size_t>(n);
  }
  return out;
}

UINT TextCodePage(const DeviceContext& dc) {
  // A font made for the Chinese character sets takes its bytes in that set's code page, whatever
  // the system's; every other font takes the system's ANSI code page.
  const BYTE charSet = dc.st.font ? dc.st.font->lf.lfCharSet : DEFAULT_CHARSET;
  if (charSet == GB2312_CHARSET) return 936;
  if (charSet == CHINESEBIG5_CHARSET) return 950;
  return CP_ACP;
}

DecodedText DecodeAnsi(const DeviceContext& dc, const char* text, size_t length) {
  return DecodeAnsi(text, length, TextCodePage(dc));
}

LOGFONT DeviceLogFont(const DeviceContext& dc) {
  LOGFONT lf = dc.st.font ? dc.st.font->lf : LOGFONT{};
  if (dc.st.mapMode != MM_TEXT) {
    if (lf.lfHeight != 0) lf.lfHeight = (lf.lfHeight < 0 ? -1 : 1) * std::max(1, ScaleHeight(dc, std::abs(lf.lfHeight)));
    if (lf.lfWidth != 0) lf.lfWidth = std::max(1, ScaleWidth(dc, std::abs(lf.lfWidth)));
  }
  return lf;
}

std::shared_ptr<RealizedFont> DeviceFont(const DeviceContext& dc) { return RealizeFont(DeviceLogFont(dc)); }

int ToLogicalX(const DeviceContext& dc, int v) {
  if (dc.st.mapMode == MM_TEXT) return v;
  return std::abs(MulDiv(v, dc.st.windowExt.cx, dc.st.viewportExt.cx));
}

int ToLogicalY(const DeviceContext& dc, int v) {
  if (dc.st.mapMode == MM_TEXT) return v;
  return std::abs(MulDiv(v, dc.st.windowExt.cy, dc.st.viewportExt.cy));
}

std::vector<int> DeviceAdvances(const DeviceContext& dc, RealizedFont& font, const std::u32string& chars) {
  int extra = dc.st.charExtra ? ScaleWidth(dc, dc.st.charExtra) : 0;
  std::vector<int> out;
  out.reserve(chars.size());
  for (char32_t c : chars) out.push_back(font.Advance(c) + extra);
  return out;
}

namespace {

// Unit vectors of the text direction (along) and of "down" in the text's frame, for escapements
// in quarter turns.
struct Frame {
  int ax, ay, bx, by;
  POINT At(POINT origin, int along, int down) const {
    return POINT{origin.x + along * ax + down * bx, origin.y + along * ay + down * by};
  }
};

Frame FrameFor(int escapement) {
  int quarter = ((escapement % 3600 + 3600) % 3600 + 450) / 900 % 4;
  switch (quarter) {
    case 1: return Frame{0, -1, 1, 0};   // 90 degrees: text runs upwards
    case 2: return Frame{-1, 0, 0, -1};
    case 3: return Frame{0, 1, -1, 0};   // 270 degrees: text runs downwards
    default: return Frame{1, 0, 0, 1};
  }
}

// The pixels of [along0, along1) x [down0, down1) in the text frame, as a screen rectangle.
RECT FrameRect(const Frame& f, POINT origin, int along0, int along1, int down0, int down1) {
  if (along1 <= along0 || down1 <= down0) return RECT{0, 0, 0, 0};
  POINT a = f.At(origin, along0, down0), b = f.At(origin, along1 - 1, down1 - 1);
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
}

inline void Blend(uint32_t& px, unsigned a, uint32_t ink, bool mono) {
  if (mono) {
    if (a >= 128) px = ink;
    return;
  }
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int d = static_cast<int>((px >> shift) & 0xFF), i = static_cast<int>((ink >> shift) & 0xFF);
    d += ((i - d) * static_cast<int>(a) + (i > d ? 127 : -127)) / 255;
    out |= static_cast<uint32_t>(d) << shift;
  }
  px = out;
}

}  // namespace

int DrawRun(DeviceContext& dc, Surface& s, RealizedFont& font, const TextRun& run) {
  const DecodedText& t = *run.text;
  const std::vector<int>& adv = *run.advances;
  int width = 0;
  for (int a : adv) width += a;
  const TEXTMETRIC& tm = font.metrics;
  Frame f = FrameFor(dc.st.font ? dc.st.font->lf.lfEscapement : 0);
  int along = 0, down = 0;  // offset from the reference point to the baseline start
  UINT h = run.align & (TA_LEFT | TA_RIGHT | TA_CENTER);
  if (h == TA_CENTER) along = -width / 2;
  else if (h == TA_RIGHT) along = -width;
  UINT v = run.align & (TA_TOP | TA_BOTTOM | TA_BASELINE);
  if (v == TA_BASELINE) down = 0;
  else if (v == TA_BOTTOM) down = -static_cast<int>(tm.tmDescent);
  else down = tm.tmAscent;
  POINT baseline = f.At(run.reference, along, down);

  Region clip = dc.Clip();
  if (run.clipRect) clip.IntersectRect(*run.clipRect);
  if (run.opaqueRect) {
    Region area(*run.opaqueRect);
    if (run.clipRect) area.IntersectRect(*run.clipRect);
    PaintRegion(dc, s, area, SolidPaint(dc, dc.st.bkColor), 0xF0);
  }
  if (run.fillCell && width > 0) {
    RECT cell = FrameRect(f, baseline, 0, width, -static_cast<int>(tm.tmAscent), tm.tmDescent);
    Region area(cell);
    area.Intersect(clip);
    PaintRegion(dc, s, area, SolidPaint(dc, dc.st.bkColor), 0xF0);
  }
  uint32_t ink = DevicePixel(dc, dc.st.textColor);
  bool mono = dc.IsMono();
  bool upright = f.ax == 1;
  int pen = 0;
  if (dc.page && !font.marlett) {
    // A printed page keeps the text as text; the lines below are recorded as fills.
    PageText text;
    text.chars = t.chars;
    text.advances = adv;
    text.baseline = baseline;
    text.font = DeviceLogFont(dc);
    text.color = ColorFromPixel(ink);
    RecordText(dc, clip, std::move(text));
    pen = width;
    if (run.mnemonic >= 0 && static_cast<size_t>(run.mnemonic) < adv.size()) {
      int at = 0;
      for (int i = 0; i < run.mnemonic; ++i) at += adv[static_cast<size_t>(i)];
      Region line(FrameRect(f, baseline, at, at + adv[static_cast<size_t>(run.mnemonic)], font.underlinePosition,
                            font.underlinePosition + font.underlineThickness));
      line.Intersect(clip);
      PaintRegion(dc, s, line, SolidPaint(dc, dc.st.textColor), 0xF0);
    }
  }
  for (size_t i = 0; i < t.chars.size() && !(dc.page && !font.marlett); ++i) {
    const Glyph& g = font.GetGlyph(t.chars[i]);
    if (dc.page) {
      // Symbol glyphs drawn by the platform itself go on the page as images of their coverage.
      if (g.width > 0 && g.height > 0) {
        POINT topLeft = f.At(baseline, pen + g.left, -g.top);
        auto pixels = std::make_shared<Surface>(g.width, g.height, ink);
        RecordImage(dc, pixels, g.coverage, RECT{topLeft.x, topLeft.y, topLeft.x + g.width, topLeft.y + g.height});
      }
    } else if (g.width > 0 && g.height > 0) {
      if (upright) {
        POINT topLeft{baseline.x + pen + g.left, baseline.y - g.top};
        RECT box{topLeft.x, topLeft.y, topLeft.x + g.width, topLeft.y + g.height};
        clip.ForEachRectIn(box, [&](const RECT& c) {
          for (int y = c.top; y < c.bottom; ++y) {
            uint32_t* row = s.Row(y);
            const uint8_t* cov = g.coverage.data() + static_cast<size_t>(y - topLeft.y) * g.width - topLeft.x;
            for (int x = c.left; x < c.right; ++x)
              if (cov[x]) Blend(row[x], cov[x], ink, mono);
          }
        });
      } else {
        for (int w = 0; w < g.height; ++w)
          for (int u = 0; u < g.width; ++u) {
            unsigned a = g.coverage[static_cast<size_t>(w) * g.width + u];
            if (!a) continue;
            POINT p = f.At(baseline, pen + g.left + u, w - g.top);
            if (clip.Contains(p.x, p.y)) Blend(s.Row(p.y)[p.x], a, ink, mono);
          }
      }
    }
    if (static_cast<int>(i) == run.mnemonic) {
      Region line(FrameRect(f, baseline, pen, pen + adv[i], font.underlinePosition, font.underlinePosition + font.underlineThickness));
      line.Intersect(clip);
      PaintRegion(dc, s, line, SolidPaint(dc, dc.st.textColor), 0xF0);
    }
    pen += adv[i];
  }
  if (tm.tmUnderlined || tm.tmStruckOut || (dc.st.font && (dc.st.font->lf.lfUnderline || dc.st.font->lf.lfStrikeOut))) {
    const LOGFONT& lf = dc.st.font->lf;
    if (lf.lfUnderline) {
      Region line(FrameRect(f, baseline, 0, width, font.underlinePosition, font.underlinePosition + font.underlineThickness));
      line.Intersect(clip);
      PaintRegion(dc, s, line, SolidPaint(dc, dc.st.textColor), 0xF0);
    }
    if (lf.lfStrikeOut) {
      Region line(FrameRect(f, baseline, 0, width, -font.strikeoutPosition, -font.strikeoutPosition + font.underlineThickness));
      line.Intersect(clip);
      PaintRegion(dc, s, line, SolidPaint(dc, dc.st.textColor), 0xF0);
    }
  }
  return width;
}

}  // namespace brambolt::gdi

HFONT CreateFontIndirect(const LOGFONT* font) {
  if (!font) return nullptr;
  auto f = std::make_shared<FontObject>();
  f->lf = *font;
  f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(Register(f));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCSTR face) {
  LOGFONT lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length, const INT* dx) {
  auto dc = LookupDC(hdc);
  if (!dc || (length > 0 && !text)) return FALSE;
  RECT logged = rect ? *rect : RECT{0, 0, 0, 0};
  CallLog log(*dc, "ExtTextOut", {x, y, static_cast<int>(options), logged.left, logged.top, logged.right, logged.bottom},
              nullptr, 0, text, length);
  DrawScope scope(*dc);
  Surface* s = scope.surface();
  DecodedText t = DecodeAnsi(*dc, text, length);
  auto font = DeviceFont(*dc);
  std::vector<int> adv;
  if (dx) {
    // One entry per byte: a double-byte character advances by the sum of its two entries.
    size_t b = 0;
    for (int n : t.bytes) {
      int a = 0;
      for (int k = 0; k < n; ++k) a += dx[b + static_cast<size_t>(k)];
      adv.push_back(ScaleWidth(*dc, a));
      b += static_cast<size_t>(n);
    }
  } else {
    adv = DeviceAdvances(*dc, *font, t.chars);
  }
  bool useCP = dc->st.textAlign & TA_UPDATECP;
  POINT ref = useCP ? dc->st.position : POINT{x, y};
  int width = 0;
  for (int a : adv) width += a;
  if (s) {
    RECT r{};
    if (rect) r = ToSurfaceRect(*dc, *rect);
    TextRun run;
    run.text = &t;
    run.advances = &adv;
    run.reference = ToSurface(*dc, ref);
    run.align = dc->st.textAlign;
    run.fillCell = dc->st.bkMode == OPAQUE && !(rect && (options & ETO_OPAQUE));
    run.opaqueRect = rect && (options & ETO_OPAQUE) ? &r : nullptr;
    run.clipRect = rect && (options & ETO_CLIPPED) ? &r : nullptr;
    DrawRun(*dc, *s, *font, run);
  }
  if (useCP) {
    UINT h = dc->st.textAlign & (TA_LEFT | TA_RIGHT | TA_CENTER);
    int w = ToLogicalX(*dc, width);
    if (h == TA_LEFT) dc->st.position.x += w;
    else if (h == TA_RIGHT) dc->st.position.x -= w;
  }
  return TRUE;
}

BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int length) {
  auto dc = LookupDC(hdc);
  if (!dc || length < 0) return FALSE;
  CallLog log(*dc, "TextOut", {x, y}, nullptr, 0, text, static_cast<size_t>(length));
  return ExtTextOut(hdc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int length, LPSIZE size) {
  return GetTextExtentExPoint(hdc, text, length, 0, nullptr, nullptr, size);
}

BOOL GetTextExtentPoint(HDC hdc, LPCSTR text, int length, LPSIZE size) {
  return GetTextExtentPoint32(hdc, text, length, size);
}

BOOL GetTextExtentExPoint(HDC hdc, LPCSTR text, int length, int maxExtent, LPINT fit, LPINT dx, LPSIZE size) {
  auto dc = LookupDC(hdc);
  if (!dc || !size || length < 0 || (length > 0 && !text)) return FALSE;
  DecodedText t = DecodeAnsi(*dc, text, static_cast<size_t>(length));
  auto font = DeviceFont(*dc);
  std::vector<int> adv = DeviceAdvances(*dc, *font, t.chars);
  int total = 0, fitted = 0, byte = 0;
  bool fits = true;
  for (size_t i = 0; i < adv.size(); ++i) {
    total += adv[i];
    int logical = ToLogicalX(*dc, total);
    if (fits && fit && logical > maxExtent) fits = false;
    for (int k = 0; k < t.bytes[i]; ++k) {
      if (dx) dx[byte] = logical;
      ++byte;
    }
    if (fits) fitted = byte;
  }
  if (fit) *fit = fitted;
  size->cx = ToLogicalX(*dc, total);
  size->cy = ToLogicalY(*dc, font->metrics.tmHeight);
  return TRUE;
}

BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC metrics) {
  auto dc = LookupDC(hdc);
  if (!dc || !metrics) return FALSE;
  auto font = DeviceFont(*dc);
  TEXTMETRIC tm = font->metrics;
  if (dc->st.mapMode != MM_TEXT) {
    for (LONG* v : {&tm.tmHeight, &tm.tmAscent, &tm.tmDescent, &tm.tmInternalLeading, &tm.tmExternalLeading})
      *v = ToLogicalY(*dc, *v);
    tm.tmAveCharWidth = std::max(1, ToLogicalX(*dc, tm.tmAveCharWidth));
    tm.tmMaxCharWidth = std::max(1, ToLogicalX(*dc, tm.tmMaxCharWidth));
  }
  if (dc->st.font) {
    tm.tmUnderlined = dc->st.font->lf.lfUnderline;
    tm.tmStruckOut = dc->st.font->lf.lfStrikeOut;
  }
  *metrics = tm;
  return TRUE;
}

namespace {

template <class F>
BOOL ForEachCode(HDC hdc, UINT first, UINT last, F&& f) {
  auto dc = LookupDC(hdc);
  if (!dc || first > last || last > 0xFFFF) return FALSE;
  auto font = DeviceFont(*dc);
  for (UINT code = first; code <= last; ++code) {
    char bytes[2] = {static_cast<char>(code > 0xFF ? code >> 8 : code), static_cast<char>(code & 0xFF)};
    DecodedText t = DecodeAnsi(*dc, bytes, code > 0xFF ? 2 : 1);
    char32_t c = t.chars.empty() ? U'?' : t.chars[0];
    f(code - first, *dc, font->GetGlyph(c));
  }
  return TRUE;
}

}  // namespace

BOOL GetCharWidth32(HDC hdc, UINT first, UINT last, LPINT widths) {
  if (!widths) return FALSE;
  return ForEachCode(hdc, first, last, [&](UINT i, const DeviceContext& dc, const Glyph& g) {
    widths[i] = ToLogicalX(dc, g.advance);
  });
}

BOOL GetCharWidth(HDC hdc, UINT first, UINT last, LPINT widths) { return GetCharWidth32(hdc, first, last, widths); }

BOOL GetCharABCWidths(HDC hdc, UINT first, UINT last, LPABC widths) {
  if (!widths) return FALSE;
  return ForEachCode(hdc, first, last, [&](UINT i, const DeviceContext& dc, const Glyph& g) {
    int b = std::max(1, g.width);
    widths[i].abcA = g.width > 0 ? ToLogicalX(dc, g.left) : 0;
    widths[i].abcB = static_cast<UINT>(ToLogicalX(dc, b));
    widths[i].abcC = ToLogicalX(dc, g.advance) - widths[i].abcA - static_cast<int>(widths[i].abcB);
  });
}

int GetTextFace(HDC hdc, int count, LPSTR face) {
  auto dc = LookupDC(hdc);
  if (!dc) return 0;
  std::string name = DeviceFont(*dc)->faceName;
  if (!face) return static_cast<int>(name.size()) + 1;
  if (count <= 0) return 0;
  size_t n = std::min(name.size(), static_cast<size_t>(count - 1));
  std::memcpy(face, name.data(), n);
  face[n] = 0;
  return static_cast<int>(n);
}

int GetTextCharset(HDC hdc) {
  auto dc = LookupDC(hdc);
  if (!dc) return DEFAULT_CHARSET;
  return DeviceFont(*dc)->metrics.tmCharSet;
}

UINT SetTextAlign(HDC hdc, UINT align) {
  auto dc = LookupDC(hdc);
  if (!dc) return GDI_ERROR;
  UINT prev = dc->st.textAlign;
  dc->st.textAlign = align & TA_MASK;
  return prev;
}

UINT GetTextAlign(HDC hdc) {
  auto dc = LookupDC(hdc);
  return dc ? dc->st.textAlign : GDI_ERROR;
}

int SetTextCharacterExtra(HDC hdc, int extra) {
  auto dc = LookupDC(hdc);
  if (!dc) return static_cast<int>(0x80000000);
  int prev = dc->st.charExtra;
  dc->st.charExtra = extra;
  return prev;
}

int GetTextCharacterExtra(HDC hdc) {
  auto dc = LookupDC(hdc);
  return dc ? dc->st.charExtra : static_cast<int>(0x80000000);
}

namespace {

bool IsCjkFace(const std::string& utf8Family) { return utf8Family == "WenQuanYi Micro Hei"; }

int Enumerate(HDC hdc, const char* onlyFace, BYTE charSet, FONTENUMPROC proc, LPARAM lParam, bool extended) {
  auto dc = LookupDC(hdc);
  if (!dc || !proc) return 0;
  int result = 1;
  for (const std::string& name : KnownFaceNames()) {
    if (onlyFace && *onlyFace && strcasecmp(onlyFace, name.c_str()) != 0) continue;
    LOGFONT lf{};
    std::strncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    FaceChoice choice = SubstituteFace(lf);
    bool cjk = IsCjkFace(choice.family);
    std::vector<BYTE> sets;
    if (std::strcmp(choice.family, "Marlett") == 0) sets = {SYMBOL_CHARSET};
    else if (cjk) sets = {GB2312_CHARSET, CHINESEBIG5_CHARSET, ANSI_CHARSET};
    else sets = {ANSI_CHARSET};
    if (!extended) sets.resize(1);
    for (BYTE set : sets) {
      if (charSet != DEFAULT_CHARSET && set != charSet) continue;
      lf.lfHeight = 16;
      lf.lfWeight = choice.bold ? FW_BOLD : FW_NORMAL;
      lf.lfCharSet = set;
      lf.lfOutPrecision = OUT_STROKE_PRECIS;
      lf.lfClipPrecision = CLIP_STROKE_PRECIS;
      lf.lfQuality = DRAFT_QUALITY;
      TEXTMETRIC tm = RealizeFont(lf)->metrics;
      tm.tmCharSet = set;
      lf.lfPitchAndFamily = static_cast<BYTE>(((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? VARIABLE_PITCH : FIXED_PITCH) |
                                              (tm.tmPitchAndFamily & 0xF0));
      ENUMLOGFONTEX elf{};
      elf.elfLogFont = lf;
      std::strncpy(reinterpret_cast<char*>(elf.elfFullName), name.c_str(), LF_FULLFACESIZE - 1);
      std::strncpy(reinterpret_cast<char*>(elf.elfStyle), choice.bold ? "Bold" : "Regular", LF_FACESIZE - 1);
      NEWTEXTMETRICEX ntm{};
      static_cast<TEXTMETRIC&>(ntm.ntmTm) = tm;
      ntm.ntmTm.ntmSizeEM = 2048;
      ntm.ntmTm.ntmCellHeight = static_cast<UINT>(tm.tmHeight);
      ntm.ntmTm.ntmAvgWidth = static_cast<UINT>(tm.tmAveCharWidth);
      result = proc(&elf.elfLogFont, reinterpret_cast<const TEXTMETRIC*>(&ntm), TRUETYPE_FONTTYPE, lParam);
      if (!result) return 0;
    }
  }
  return result;
}

}  // namespace

int EnumFontFamilies(HDC hdc, LPCSTR family, FONTENUMPROC proc, LPARAM lParam) {
  return Enumerate(hdc, family, DEFAULT_CHARSET, proc, lParam, false);
}

int EnumFonts(HDC hdc, LPCSTR face, FONTENUMPROC proc, LPARAM lParam) {
  return Enumerate(hdc, face, DEFAULT_CHARSET, proc, lParam, false);
}

int EnumFontFamiliesEx(HDC hdc, LPLOGFONT font, FONTENUMPROC proc, LPARAM lParam, DWORD) {
  if (!font) return 0;
  return Enumerate(hdc, font->lfFaceName, font->lfCharSet, proc, lParam, true);
}

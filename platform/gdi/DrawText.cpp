// Text layout: DrawText with its DT_* formats (wrapping, alignment, ellipses, tab expansion,
// mnemonic prefixes, rectangle calculation), TabbedTextOut and GetTabbedTextExtent.
#include <algorithm>
#include <cstring>
#include <functional>

#include "gdi/DC.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/Text.h"
#include "gdi/TextInternal.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace {

// Where tabs go: every 'interval' pixels, or at explicit positions relative to 'origin'.
struct TabStops {
  int interval = 0;
  std::vector<int> positions;
  int origin = 0;
  int Next(int x) const {
    if (!positions.empty()) {
      for (int p : positions)
        if (origin + std::abs(p) > x) return origin + std::abs(p);
      int last = std::abs(positions.back());
      int step = positions.size() > 1 ? last - std::abs(positions[positions.size() - 2]) : last;
      if (step <= 0) return x;
      int pos = origin + last;
      while (pos <= x) pos += step;
      return pos;
    }
    if (interval <= 0) return x;
    int rel = x - origin;
    return origin + (rel / interval + 1) * interval;
  }
};

// Measures and draws runs of ANSI bytes on one DC in logical units.
class TextWriter {
 public:
  explicit TextWriter(DeviceContext& dc) : dc_(dc), font_(DeviceFont(dc)) {
    tm_ = font_->metrics;
    aveWidth_ = std::max(1, ToLogicalX(dc, tm_.tmAveCharWidth));
    height_ = ToLogicalY(dc, tm_.tmHeight);
    externalLeading_ = ToLogicalY(dc, tm_.tmExternalLeading);
  }
  int AveWidth() const { return aveWidth_; }
  int Height() const { return height_; }
  int ExternalLeading() const { return externalLeading_; }
  // The code page the font reads its bytes in.
  UINT CodePage() const { return TextCodePage(dc_); }

  // Width of bytes [0, i) for every i (character starts; a trail byte repeats the previous entry).
  std::vector<int> PrefixWidths(std::string_view bytes) const {
    DecodedText t = DecodeAnsi(dc_, bytes.data(), bytes.size());
    std::vector<int> adv = DeviceAdvances(dc_, *font_, t.chars);
    std::vector<int> out(bytes.size() + 1, 0);
    size_t b = 0;
    int device = 0;
    for (size_t i = 0; i < adv.size(); ++i) {
      for (int k = 1; k < t.bytes[i]; ++k) out[b + static_cast<size_t>(k)] = out[b];
      b += static_cast<size_t>(t.bytes[i]);
      device += adv[i];
      out[b] = ToLogicalX(dc_, device);
    }
    return out;
  }

  int Width(std::string_view bytes, const TabStops* tabs, int startX = 0) const {
    int x = startX;
    ForSegments(bytes, tabs, startX, [&](std::string_view seg, int segX) { x = segX + Measure(seg); }, &x);
    return x - startX;
  }

  // Draws bytes with their top-left at (x, y); mnemonic is a byte offset or -1.
  void Draw(std::string_view bytes, int x, int y, const TabStops* tabs, const RECT* clip, int mnemonic) {
    DrawScope scope(dc_);
    Surface* s = scope.surface();
    if (!s) return;
    RECT clipSurface{};
    if (clip) clipSurface = ToSurfaceRect(dc_, *clip);
    size_t consumed = 0;
    ForSegments(bytes, tabs, x, [&](std::string_view seg, int segX) {
      DecodedText t = DecodeAnsi(dc_, seg.data(), seg.size());
      std::vector<int> adv = DeviceAdvances(dc_, *font_, t.chars);
      TextRun run;
      run.text = &t;
      run.advances = &adv;
      run.reference = ToSurface(dc_, POINT{segX, y});
      run.align = TA_LEFT | TA_TOP;
      run.fillCell = dc_.st.bkMode == OPAQUE;
      run.clipRect = clip ? &clipSurface : nullptr;
      size_t segStart = static_cast<size_t>(seg.data() - bytes.data());
      if (mnemonic >= 0 && static_cast<size_t>(mnemonic) >= segStart && static_cast<size_t>(mnemonic) < segStart + seg.size()) {
        size_t b = segStart;
        for (size_t i = 0; i < t.bytes.size(); ++i) {
          if (b == static_cast<size_t>(mnemonic)) run.mnemonic = static_cast<int>(i);
          b += static_cast<size_t>(t.bytes[i]);
        }
      }
      DrawRun(dc_, *s, *font_, run);
      consumed = segStart + seg.size();
    });
    (void)consumed;
  }

 private:
  int Measure(std::string_view seg) const {
    DecodedText t = DecodeAnsi(dc_, seg.data(), seg.size());
    int w = 0;
    for (int a : DeviceAdvances(dc_, *font_, t.chars)) w += a;
    return ToLogicalX(dc_, w);
  }

  // Splits at tabs (when tab stops are given) and reports each segment with its x position.
  void ForSegments(std::string_view bytes, const TabStops* tabs, int startX,
                   const std::function<void(std::string_view, int)>& f, int* endX = nullptr) const {
    int x = startX;
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
      bool tab = i < bytes.size() && bytes[i] == '\t' && tabs;
      if (i < bytes.size() && !tab) {
        i = brambolt::NextCharacter(TextCodePage(dc_), bytes, i) - 1;
        continue;
      }
      std::string_view seg = bytes.substr(start, i - start);
      if (!seg.empty()) {
        f(seg, x);
        x += Measure(seg);
      }
      if (tab) x = tabs->Next(x);
      start = i + 1;
    }
    if (endX) *endX = x;
  }

  DeviceContext& dc_;
  std::shared_ptr<RealizedFont> font_;
  TEXTMETRIC tm_{};
  int aveWidth_ = 1, height_ = 0, externalLeading_ = 0;
};

// Byte offsets where characters start.
std::vector<size_t> CharStarts(UINT codePage, std::string_view s) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < s.size(); i = brambolt::NextCharacter(codePage, s, i)) starts.push_back(i);
  return starts;
}

struct Line {
  std::string text;
  int mnemonic = -1;  // byte offset in text
};

// Removes '&' prefixes: "&&" is a literal '&', "&x" marks x. Returns the marked byte or -1.
int StripPrefixes(UINT codePage, std::string& s) {
  std::string out;
  int mark = -1;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (brambolt::NextCharacter(codePage, s, i) - i == 2) {
      out += c;
      out += s[++i];
      continue;
    }
    if (c == '&') {
      if (i + 1 < s.size() && s[i + 1] == '&') {
        out += '&';
        ++i;
        continue;
      }
      if (i + 1 < s.size()) mark = static_cast<int>(out.size());
      continue;
    }
    out += c;
  }
  s = std::move(out);
  return mark;
}

std::string EndEllipsis(const TextWriter& w, const std::string& s, int width, const TabStops* tabs, bool wordsOnly) {
  if (w.Width(s, tabs) <= width) return s;
  std::vector<size_t> starts = CharStarts(w.CodePage(), s);
  for (size_t k = starts.size(); k-- > 0;) {
    size_t cut = starts[k];
    if (wordsOnly && cut > 0 && s[cut] != ' ' && s[cut - 1] != ' ') continue;
    std::string candidate = s.substr(0, cut);
    while (wordsOnly && !candidate.empty() && candidate.back() == ' ') candidate.pop_back();
    candidate += "...";
    if (w.Width(candidate, tabs) <= width) return candidate;
  }
  return "...";
}

std::string PathEllipsis(const TextWriter& w, const std::string& s, int width, const TabStops* tabs) {
  if (w.Width(s, tabs) <= width) return s;
  size_t slash = std::string::npos;
  for (size_t i : CharStarts(w.CodePage(), s))
    if (s[i] == '\\' || s[i] == '/') slash = i;
  if (slash == std::string::npos) return EndEllipsis(w, s, width, tabs, false);
  std::string tail = s.substr(slash);
  std::vector<size_t> starts = CharStarts(w.CodePage(), s.substr(0, slash));
  for (size_t k = starts.size(); k-- > 0;) {
    std::string candidate = s.substr(0, starts[k]) + "..." + tail;
    if (w.Width(candidate, tabs) <= width) return candidate;
  }
  return EndEllipsis(w, "..." + tail, width, tabs, false);
}

// Greedy wrapping at spaces; a double-byte character may also end a line.
std::vector<Line> Wrap(const TextWriter& w, const Line& para, int width, const TabStops* tabs, bool breakWords) {
  std::vector<Line> lines;
  const std::string& s = para.text;
  // Without tabs a range's width is a difference of prefix widths.
  std::vector<int> prefix = tabs ? std::vector<int>() : w.PrefixWidths(s);
  auto rangeWidth = [&](size_t a, size_t b) {
    return tabs ? w.Width(std::string_view(s).substr(a, b - a), tabs) : prefix[b] - prefix[a];
  };
  size_t lineStart = 0;
  while (lineStart < s.size() || lines.empty()) {
    std::vector<size_t> starts = CharStarts(w.CodePage(), std::string_view(s).substr(lineStart));
    size_t best = std::string::npos;  // end of the last fitting break
    size_t nextStart = std::string::npos;
    size_t end = s.size();
    if (rangeWidth(lineStart, end) <= width) {
      best = end;
      nextStart = end;
    } else {
      for (size_t k = 1; k <= starts.size(); ++k) {
        size_t pos = lineStart + (k < starts.size() ? starts[k] : s.size() - lineStart);
        size_t prev = lineStart + starts[k - 1];
        bool dbcs = pos - prev == 2;
        bool breakHere = pos == s.size() || s[pos] == ' ' || dbcs || brambolt::NextCharacter(w.CodePage(), s, pos) - pos == 2;
        size_t trimmed = pos;
        while (trimmed > lineStart && s[trimmed - 1] == ' ') --trimmed;
        bool fits = rangeWidth(lineStart, trimmed) <= width;
        if (!fits) {
          if (best == std::string::npos && breakWords && k > 1) {
            best = prev;
            nextStart = prev;
          }
          break;
        }
        if (breakHere && trimmed > lineStart) {  // leading spaces stay with the first word
          best = trimmed;
          nextStart = pos;
        }
      }
      if (best == std::string::npos) {
        // A word wider than the line stays whole up to the next space.
        size_t wordStart = s.find_first_not_of(' ', lineStart);
        size_t space = wordStart == std::string::npos ? std::string::npos : s.find(' ', wordStart);
        best = space == std::string::npos ? s.size() : space;
        nextStart = best;
      }
    }
    Line line;
    line.text = s.substr(lineStart, best - lineStart);
    if (para.mnemonic >= 0 && static_cast<size_t>(para.mnemonic) >= lineStart && static_cast<size_t>(para.mnemonic) < best)
      line.mnemonic = para.mnemonic - static_cast<int>(lineStart);
    lines.push_back(std::move(line));
    while (nextStart < s.size() && s[nextStart] == ' ') ++nextStart;
    if (nextStart <= lineStart && nextStart < s.size()) nextStart = lineStart + 1;
    lineStart = nextStart;
    if (lineStart >= s.size()) break;
  }
  return lines;
}

int DrawTextCore(HDC hdc, LPSTR writable, LPCSTR text, int length, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params) {
  auto dc = LookupDC(hdc);
  if (!dc || !rect || !text) return 0;
  if (length < 0) length = static_cast<int>(std::strlen(text));
  CallLog log(*dc, "DrawText", {rect->left, rect->top, rect->right, rect->bottom, static_cast<int>(format)}, nullptr, 0,
              text, static_cast<size_t>(length));
  int tabChars = 8;
  if (format & DT_TABSTOP) {
    tabChars = (format >> 8) & 0xFF;
    format &= ~0xFF00u;
  }
  if (params && params->iTabLength > 0) tabChars = params->iTabLength;
  TextWriter w(*dc);
  TabStops stops;
  stops.interval = tabChars * w.AveWidth();
  const TabStops* tabs = (format & DT_EXPANDTABS) ? &stops : nullptr;
  int leftMargin = params ? params->iLeftMargin : 0, rightMargin = params ? params->iRightMargin : 0;
  RECT area{rect->left + leftMargin, rect->top, rect->right - rightMargin, rect->bottom};
  int width = area.right - area.left;
  int lineHeight = w.Height() + ((format & DT_EXTERNALLEADING) ? w.ExternalLeading() : 0);

  std::string all(text, static_cast<size_t>(length));
  bool prefixes = !(format & DT_NOPREFIX);
  int mark = prefixes ? StripPrefixes(w.CodePage(), all) : -1;
  if (format & DT_HIDEPREFIX) mark = -1;
  if (!tabs)
    for (char& c : all)
      if (c == '\t') c = ' ';

  std::vector<Line> paragraphs;
  if (format & DT_SINGLELINE) {
    Line l;
    for (size_t i = 0; i < all.size(); ++i) {
      if (all[i] == '\r' || all[i] == '\n') continue;
      if (static_cast<int>(i) == mark) l.mnemonic = static_cast<int>(l.text.size());
      l.text += all[i];
    }
    paragraphs.push_back(std::move(l));
  } else {
    size_t start = 0;
    for (size_t i = 0; i <= all.size(); ++i) {
      if (i < all.size() && all[i] != '\r' && all[i] != '\n') continue;
      Line l;
      l.text = all.substr(start, i - start);
      if (mark >= static_cast<int>(start) && mark < static_cast<int>(i)) l.mnemonic = mark - static_cast<int>(start);
      paragraphs.push_back(std::move(l));
      if (i < all.size() && all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
      start = i + 1;
    }
    if (paragraphs.size() > 1 && paragraphs.back().text.empty() && !all.empty() &&
        (all.back() == '\n' || all.back() == '\r'))
      paragraphs.pop_back();
  }

  std::vector<Line> lines;
  bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
  for (const Line& p : paragraphs) {
    if (wrap) {
      for (Line& l : Wrap(w, p, width, tabs, (format & DT_EDITCONTROL) != 0)) lines.push_back(std::move(l));
    } else {
      lines.push_back(p);
    }
  }
  UINT ellipsis = format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS);
  bool modified = false;
  if (ellipsis) {
    for (Line& l : lines) {
      if (w.Width(l.text, tabs) <= width) continue;
      std::string shortened = (ellipsis & DT_PATH_ELLIPSIS) ? PathEllipsis(w, l.text, width, tabs)
                                                            : EndEllipsis(w, l.text, width, tabs, (ellipsis & DT_WORD_ELLIPSIS) != 0);
      if (l.mnemonic >= static_cast<int>(shortened.size()) || shortened.compare(0, std::max(l.mnemonic, 0), l.text, 0, std::max(l.mnemonic, 0)) != 0)
        l.mnemonic = -1;
      l.text = std::move(shortened);
      modified = true;
    }
  }
  if (modified && (format & DT_MODIFYSTRING) && writable && lines.size() == 1) {
    // The caller's buffer holds the text plus room for the ellipsis.
    std::memcpy(writable, lines[0].text.c_str(), lines[0].text.size() + 1);
  }

  int textHeight = static_cast<int>(lines.size()) * lineHeight;
  if (format & DT_SINGLELINE) textHeight = lineHeight;
  if (params) params->uiLengthDrawn = static_cast<UINT>(length);
  if (format & DT_CALCRECT) {
    int maxWidth = 0;
    for (const Line& l : lines) maxWidth = std::max(maxWidth, w.Width(l.text, tabs));
    rect->right = rect->left + leftMargin + maxWidth + rightMargin;
    rect->bottom = rect->top + textHeight;
    return textHeight;
  }
  int y = area.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) y = area.top + (area.bottom - area.top - lineHeight) / 2;
    else if (format & DT_BOTTOM) y = area.bottom - lineHeight;
  }
  const RECT* clip = (format & DT_NOCLIP) ? nullptr : rect;
  for (const Line& l : lines) {
    int lw = w.Width(l.text, tabs);
    int x = area.left;
    if (format & DT_CENTER) x = area.left + (width - lw) / 2;
    else if (format & DT_RIGHT) x = area.right - lw;
    int mnemonic = (format & DT_HIDEPREFIX) ? -1 : l.mnemonic;
    if (format & DT_PREFIXONLY) {
      // Only the underline: draw nothing else.
      if (mnemonic >= 0) {
        std::string before = l.text.substr(0, static_cast<size_t>(mnemonic));
        int x0 = x + w.Width(before, tabs);
        size_t n = brambolt::NextCharacter(w.CodePage(), l.text, static_cast<size_t>(mnemonic)) - static_cast<size_t>(mnemonic);
        int x1 = x0 + w.Width(l.text.substr(static_cast<size_t>(mnemonic), n), nullptr);
        RECT u{x0, y + w.Height() - 1, x1, y + w.Height()};
        HBRUSH brush = CreateSolidBrush(GetTextColor(hdc));
        FillRect(hdc, &u, brush);
        DeleteObject(brush);
      }
    } else {
      w.Draw(l.text, x, y, tabs, clip, mnemonic);
    }
    y += lineHeight;
  }
  if (format & DT_SINGLELINE && (format & (DT_VCENTER | DT_BOTTOM))) {
    int top = area.top;
    if (format & DT_VCENTER) top = area.top + (area.bottom - area.top - lineHeight) / 2;
    else top = area.bottom - lineHeight;
    return top - area.top + lineHeight;
  }
  return textHeight;
}

TabStops MakeStops(const TextWriter& w, int tabCount, const INT* tabStops, int origin) {
  TabStops stops;
  stops.origin = origin;
  if (tabCount <= 0 || !tabStops) stops.interval = 8 * w.AveWidth();
  else if (tabCount == 1) stops.interval = std::abs(tabStops[0]) > 0 ? std::abs(tabStops[0]) : 8 * w.AveWidth();
  else stops.positions.assign(tabStops, tabStops + tabCount);
  return stops;
}

}  // namespace

int DrawText(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format) {
  return DrawTextCore(hdc, const_cast<LPSTR>(text), text, length, rect, format, nullptr);
}

int DrawTextEx(HDC hdc, LPSTR text, int length, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params) {
  return DrawTextCore(hdc, text, text, length, rect, format, params);
}

LONG TabbedTextOut(HDC hdc, int x, int y, LPCSTR text, int length, int tabCount, const INT* tabStops, int tabOrigin) {
  auto dc = LookupDC(hdc);
  if (!dc || !text || length < 0) return 0;
  CallLog log(*dc, "TabbedTextOut", {x, y, tabCount, tabOrigin}, nullptr, 0, text, static_cast<size_t>(length));
  TextWriter w(*dc);
  TabStops stops = MakeStops(w, tabCount, tabStops, tabOrigin);
  std::string_view s(text, static_cast<size_t>(length));
  int width = w.Width(s, &stops, x);
  UINT savedAlign = dc->st.textAlign;
  // Vertical alignment is honoured; tabs are laid out left to right.
  int top = y;
  UINT v = savedAlign & (TA_TOP | TA_BOTTOM | TA_BASELINE);
  auto font = DeviceFont(*dc);
  if (v == TA_BOTTOM) top = y - w.Height();
  else if (v == TA_BASELINE) top = y - ToLogicalY(*dc, font->metrics.tmAscent);
  int left = x;
  UINT h = savedAlign & (TA_LEFT | TA_RIGHT | TA_CENTER);
  if (h == TA_RIGHT) left = x - width;
  else if (h == TA_CENTER) left = x - width / 2;
  w.Draw(s, left, top, &stops, nullptr, -1);
  return MAKELONG(width, w.Height());
}

DWORD GetTabbedTextExtent(HDC hdc, LPCSTR text, int length, int tabCount, const INT* tabStops) {
  auto dc = LookupDC(hdc);
  if (!dc || !text || length < 0) return 0;
  TextWriter w(*dc);
  TabStops stops = MakeStops(w, tabCount, tabStops, 0);
  return static_cast<DWORD>(MAKELONG(w.Width(std::string_view(text, static_cast<size_t>(length)), &stops), w.Height()));
}

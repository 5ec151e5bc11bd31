// Fonts and text: metrics, extents that match the drawn pixels, DrawText formats, tabs,
// alignment, background modes, rotation, double-byte text and font enumeration.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "GdiTestUtil.h"

using gditest::MemoryCanvas;

namespace {

HFONT MakeFont(const char* face, int height, int weight = FW_NORMAL, int escapement = 0) {
  return CreateFont(height, 0, escapement, escapement, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
}

// Bounding box of pixels that differ from the background colour.
RECT InkBox(const MemoryCanvas& c, COLORREF background) {
  RECT box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int y = 0; y < c.surface().Height(); ++y)
    for (int x = 0; x < c.surface().Width(); ++x)
      if (c.at(x, y) != background) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

class FontScope {
 public:
  FontScope(HDC dc, HFONT font) : dc_(dc), font_(font), old_(SelectObject(dc, font)) {}
  ~FontScope() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

TEST(TextMetrics, HeightsFollowLogfontConventions) {
  MemoryCanvas canvas(10, 10);
  {
    FontScope f(canvas.dc(), MakeFont("Arial", -11));
    TEXTMETRIC tm{};
    ASSERT_TRUE(GetTextMetrics(canvas.dc(), &tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11);  // negative: character height
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  }
  {
    FontScope f(canvas.dc(), MakeFont("Arial", 19, FW_BOLD));
    TEXTMETRIC tm{};
    GetTextMetrics(canvas.dc(), &tm);
    EXPECT_LE(tm.tmHeight, 19);  // positive: cell height
    EXPECT_GE(tm.tmHeight, 17);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
  }
}

TEST(TextMetrics, EveryStockAndNamedFaceHasNonZeroBlankAndAverageWidths) {
  MemoryCanvas canvas(10, 10);
  for (int stock : {SYSTEM_FONT, DEFAULT_GUI_FONT, ANSI_VAR_FONT, ANSI_FIXED_FONT, OEM_FIXED_FONT, SYSTEM_FIXED_FONT}) {
    SelectObject(canvas.dc(), GetStockObject(stock));
    TEXTMETRIC tm{};
    GetTextMetrics(canvas.dc(), &tm);
    EXPECT_GT(tm.tmAveCharWidth, 0) << stock;
    INT blank = 0;
    GetCharWidth32(canvas.dc(), ' ', ' ', &blank);
    EXPECT_GT(blank, 0) << stock;
  }
  for (const char* face : {"MS Sans Serif", "Arial", "Ariel", "Arial Narrow", "Times New Roman", "Times Roman", "Courier",
                           "Fixedsys", "FixedSys", "Terminal", "Marlett", "No Such Face"}) {
    FontScope f(canvas.dc(), MakeFont(face, 12));
    TEXTMETRIC tm{};
    GetTextMetrics(canvas.dc(), &tm);
    EXPECT_GT(tm.tmAveCharWidth, 0) << face;
    SIZE space{};
    GetTextExtentPoint32(canvas.dc(), " ", 1, &space);
    EXPECT_GT(space.cx, 0) << face;
  }
  SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
}

TEST(TextMetrics, FixedPitchFacesMeasureEveryCharacterAlike) {
  MemoryCanvas canvas(10, 10);
  FontScope f(canvas.dc(), MakeFont("Courier New", -13));
  INT widths[95];
  ASSERT_TRUE(GetCharWidth32(canvas.dc(), 32, 126, widths));
  for (int w : widths) EXPECT_EQ(w, widths[0]);
  TEXTMETRIC tm{};
  GetTextMetrics(canvas.dc(), &tm);
  EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);  // the bit means variable pitch
}

TEST(TextExtent, SumOfCharacterWidthsIsTheExtent) {
  MemoryCanvas canvas(10, 10);
  FontScope f(canvas.dc(), MakeFont("Arial", -13));
  const char* text = "Visual Brambolt";
  SIZE size{};
  GetTextExtentPoint32(canvas.dc(), text, static_cast<int>(std::strlen(text)), &size);
  int sum = 0;
  for (const char* p = text; *p; ++p) {
    INT w = 0;
    GetCharWidth32(canvas.dc(), static_cast<BYTE>(*p), static_cast<BYTE>(*p), &w);
    sum += w;
  }
  EXPECT_EQ(size.cx, sum);
  SetTextCharacterExtra(canvas.dc(), 2);
  SIZE wider{};
  GetTextExtentPoint32(canvas.dc(), text, static_cast<int>(std::strlen(text)), &wider);
  EXPECT_EQ(wider.cx, size.cx + 2 * static_cast<int>(std::strlen(text)));
}

TEST(TextExtent, DrawnPixelsStayInsideTheMeasuredBox) {
  for (const char* face : {"Arial", "Times New Roman", "Courier New", "Fixedsys"}) {
    MemoryCanvas canvas(200, 60);
    FontScope f(canvas.dc(), MakeFont(face, -16));
    const char* text = "Hamburgefonstiv";
    SIZE size{};
    GetTextExtentPoint32(canvas.dc(), text, static_cast<int>(std::strlen(text)), &size);
    SetBkMode(canvas.dc(), TRANSPARENT);
    TextOut(canvas.dc(), 20, 10, text, static_cast<int>(std::strlen(text)));
    RECT ink = InkBox(canvas, RGB(255, 255, 255));
    EXPECT_GE(ink.left, 20) << face;
    EXPECT_GE(ink.top, 10) << face;
    EXPECT_LE(ink.right, 20 + size.cx) << face;
    EXPECT_LE(ink.bottom, 10 + size.cy) << face;
    EXPECT_GT(ink.right - ink.left, size.cx / 2) << face;
  }
}

TEST(TextExtent, ExtentExPointCountsFittingBytes) {
  MemoryCanvas canvas(10, 10);
  FontScope f(canvas.dc(), MakeFont("Courier New", -13));
  SIZE one{};
  GetTextExtentPoint32(canvas.dc(), "W", 1, &one);
  INT fit = 0, dx[6] = {};
  SIZE size{};
  ASSERT_TRUE(GetTextExtentExPoint(canvas.dc(), "WWWWWW", 6, one.cx * 3 + 1, &fit, dx, &size));
  EXPECT_EQ(fit, 3);
  EXPECT_EQ(dx[0], one.cx);
  EXPECT_EQ(dx[5], size.cx);
}

TEST(TextOutput, BlendsGreyscaleWithTheTextColour) {
  MemoryCanvas canvas(100, 40);
  FontScope f(canvas.dc(), MakeFont("Arial", -20));
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  TextOut(canvas.dc(), 5, 5, "Ag", 2);
  bool sawBlack = false, sawGrey = false;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) {
      COLORREF c = canvas.at(x, y);
      EXPECT_EQ(GetRValue(c), GetGValue(c));
      EXPECT_EQ(GetGValue(c), GetBValue(c));
      sawBlack |= c == 0;
      sawGrey |= c != 0 && c != RGB(255, 255, 255);
    }
  EXPECT_TRUE(sawBlack);
  EXPECT_TRUE(sawGrey);
}

TEST(TextOutput, OpaqueModeFillsTheCellTransparentDoesNot) {
  MemoryCanvas canvas(100, 40);
  FontScope f(canvas.dc(), MakeFont("Arial", -16));
  SIZE size{};
  GetTextExtentPoint32(canvas.dc(), "ab", 2, &size);
  SetBkColor(canvas.dc(), RGB(0, 255, 0));
  SetBkMode(canvas.dc(), OPAQUE);
  TextOut(canvas.dc(), 10, 5, "ab", 2);
  EXPECT_EQ(canvas.at(10, 5), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(10 + size.cx - 1, 5 + size.cy - 1), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(10 + size.cx, 5), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(9, 5), RGB(255, 255, 255));
  MemoryCanvas other(100, 40);
  FontScope g(other.dc(), MakeFont("Arial", -16));
  SetBkColor(other.dc(), RGB(0, 255, 0));
  SetBkMode(other.dc(), TRANSPARENT);
  TextOut(other.dc(), 10, 5, "ab", 2);
  EXPECT_EQ(other.Count(RGB(0, 255, 0)), 0);
}

TEST(TextOutput, ExtTextOutOpaqueRectangleAndClipping) {
  MemoryCanvas canvas(100, 40);
  FontScope f(canvas.dc(), MakeFont("Arial", -20));
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  RECT r{10, 5, 20, 30};
  ExtTextOut(canvas.dc(), 10, 5, ETO_OPAQUE | ETO_CLIPPED, &r, "WWWW", 4, nullptr);
  RECT ink = InkBox(canvas, RGB(255, 255, 255));
  EXPECT_EQ(ink.left, 10);
  EXPECT_EQ(ink.top, 5);
  EXPECT_EQ(ink.right, 20);
  EXPECT_EQ(ink.bottom, 30);
  EXPECT_EQ(canvas.at(19, 29), RGB(0, 0, 255));
}

TEST(TextOutput, AlignmentAndCurrentPosition) {
  MemoryCanvas canvas(200, 60);
  FontScope f(canvas.dc(), MakeFont("Arial", -16));
  SIZE size{};
  GetTextExtentPoint32(canvas.dc(), "abc", 3, &size);
  SetBkColor(canvas.dc(), RGB(255, 0, 0));
  SetTextAlign(canvas.dc(), TA_RIGHT | TA_BOTTOM);
  TextOut(canvas.dc(), 100, 50, "abc", 3);
  RECT ink = InkBox(canvas, RGB(255, 255, 255));
  EXPECT_EQ(ink.right, 100);
  EXPECT_EQ(ink.bottom, 50);
  EXPECT_EQ(ink.left, 100 - size.cx);
  EXPECT_EQ(ink.top, 50 - size.cy);
  SetTextAlign(canvas.dc(), TA_LEFT | TA_TOP | TA_UPDATECP);
  MoveToEx(canvas.dc(), 5, 5, nullptr);
  TextOut(canvas.dc(), 0, 0, "abc", 3);
  POINT pos{};
  GetCurrentPositionEx(canvas.dc(), &pos);
  EXPECT_EQ(pos.x, 5 + size.cx);
  EXPECT_EQ(pos.y, 5);
}

TEST(TextOutput, EscapementOf900RunsUpwards) {
  MemoryCanvas canvas(60, 200);
  FontScope f(canvas.dc(), MakeFont("Arial", -16, FW_NORMAL, 900));
  SIZE size{};
  GetTextExtentPoint32(canvas.dc(), "Vertical", 8, &size);
  SetBkColor(canvas.dc(), RGB(255, 0, 0));
  TextOut(canvas.dc(), 10, 150, "Vertical", 8);
  RECT ink = InkBox(canvas, RGB(255, 255, 255));
  EXPECT_EQ(ink.bottom - ink.top, size.cx);
  EXPECT_EQ(ink.right - ink.left, size.cy);
  EXPECT_EQ(ink.bottom, 151);
  EXPECT_EQ(ink.left, 10);
}

TEST(TextOutput, UpperHalfOfLatin1HasGlyphs) {
  MemoryCanvas canvas(60, 30);
  FontScope f(canvas.dc(), MakeFont("Arial", -16));
  SetBkMode(canvas.dc(), TRANSPARENT);
  const char text[] = "\xBB\xB7";  // guillemet and middle dot in code page 1252
  TextOut(canvas.dc(), 2, 2, text, 2);
  EXPECT_GT(canvas.surface().Width() * canvas.surface().Height() - canvas.Count(RGB(255, 255, 255)), 4);
}

TEST(TextOutput, DoubleByteTextInCodePage936) {
  brambolt::ScopedCodePage page(936);
  MemoryCanvas canvas(100, 40);
  FontScope f(canvas.dc(), MakeFont("Arial", -16));
  std::string text = brambolt::Utf8ToCodePage("\xE4\xB8\xAD\xE6\x96\x87", 936);  // two Chinese characters
  ASSERT_EQ(text.size(), 4u);
  SIZE size{};
  GetTextExtentPoint32(canvas.dc(), text.c_str(), 4, &size);
  EXPECT_GE(size.cx, 24);
  INT fit = 0, dx[4] = {};
  GetTextExtentExPoint(canvas.dc(), text.c_str(), 4, size.cx / 2 + 1, &fit, dx, &size);
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(dx[0], dx[1]);
  SetBkMode(canvas.dc(), TRANSPARENT);
  TextOut(canvas.dc(), 2, 2, text.c_str(), 4);
  EXPECT_GT(100 * 40 - canvas.Count(RGB(255, 255, 255)), 20);
}

// A font made for a Chinese character set reads its bytes in that set's code page whatever the
// system's: GB2312 bytes under the Western page draw, measure and wrap as on a Chinese system.
TEST(TextOutput, ChineseCharsetFontReadsItsOwnCodePage) {
  const std::string text = brambolt::Utf8ToCodePage("\xE4\xB8\xAD\xE6\x96\x87 ab", 936);
  struct Output {
    std::vector<COLORREF> pixels;
    std::vector<INT> dx;
  };
  auto draw = [&](UINT page) {
    brambolt::ScopedCodePage cp(page);
    MemoryCanvas canvas(120, 60);
    FontScope f(canvas.dc(), CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "SimSun"));
    SetBkMode(canvas.dc(), TRANSPARENT);
    TextOut(canvas.dc(), 2, 2, text.c_str(), static_cast<int>(text.size()));
    RECT r{2, 22, 40, 60};
    DrawText(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &r, DT_WORDBREAK);
    Output out;
    out.dx.resize(text.size());
    SIZE size{};
    GetTextExtentExPoint(canvas.dc(), text.c_str(), static_cast<int>(text.size()), 0, nullptr, out.dx.data(), &size);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 120; ++x) out.pixels.push_back(canvas.at(x, y));
    return out;
  };
  const Output western = draw(1252), chinese = draw(936);
  EXPECT_EQ(western.dx[0], western.dx[1]);  // one character of two bytes
  EXPECT_EQ(western.dx, chinese.dx);
  EXPECT_TRUE(western.pixels == chinese.pixels);
}

TEST(TextOutput, ChineseFaceNamesInCodePage936) {
  brambolt::ScopedCodePage page(936);
  MemoryCanvas canvas(60, 30);
  std::string face = brambolt::Utf8ToCodePage("\xE5\xAE\x8B\xE4\xBD\x93", 936);  // SimSun
  FontScope f(canvas.dc(), MakeFont(face.c_str(), -16));
  char name[LF_FACESIZE] = {};
  GetTextFace(canvas.dc(), LF_FACESIZE, name);
  EXPECT_EQ(face, name);
  std::string text = brambolt::Utf8ToCodePage("\xE6\x96\x87", 936);
  SIZE size{};
  GetTextExtentPoint32(canvas.dc(), text.c_str(), 2, &size);
  EXPECT_GE(size.cx, 14);  // a full-width character
  SetBkMode(canvas.dc(), TRANSPARENT);
  TextOut(canvas.dc(), 2, 2, text.c_str(), 2);
  EXPECT_GT(60 * 30 - canvas.Count(RGB(255, 255, 255)), 20);
}

TEST(DrawText, CalcRectMatchesExtentForOneLine) {
  MemoryCanvas canvas(10, 10);
  FontScope f(canvas.dc(), MakeFont("Arial", -13));
  SIZE size{};
  GetTextExtentPoint32(canvas.dc(), "File name", 9, &size);
  RECT r{5, 5, 6, 6};
  int h = DrawText(canvas.dc(), "File name", -1, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(h, size.cy);
  EXPECT_EQ(r.right - r.left, size.cx);
  EXPECT_EQ(r.bottom - r.top, size.cy);
  RECT p{0, 0, 1, 1};
  DrawText(canvas.dc(), "&File name", -1, &p, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(p.right, size.cx);  // the prefix character takes no room
}

TEST(DrawText, WordBreakKeepsLinesInsideTheWidth) {
  MemoryCanvas canvas(10, 10);
  FontScope f(canvas.dc(), MakeFont("Arial", -13));
  TEXTMETRIC tm{};
  GetTextMetrics(canvas.dc(), &tm);
  const char* text = "the quick brown fox jumps over the lazy dog again and again";
  RECT r{0, 0, 80, 0};
  int h = DrawText(canvas.dc(), text, -1, &r, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GT(h, tm.tmHeight * 3);
  EXPECT_EQ(h % tm.tmHeight, 0);
  EXPECT_LE(r.right, 80);
  RECT narrow{0, 0, 1, 0};
  // One word per line, however narrow, and no empty line for leading spaces.
  EXPECT_EQ(DrawText(canvas.dc(), "  leading spaces   and gaps ", -1, &narrow, DT_CALCRECT | DT_WORDBREAK), 4 * tm.tmHeight);
  RECT multi{0, 0, 500, 0};
  EXPECT_EQ(DrawText(canvas.dc(), "one\ntwo\r\nthree", -1, &multi, DT_CALCRECT), 3 * tm.tmHeight);
}

TEST(DrawText, EndEllipsisFitsTheRectangle) {
  MemoryCanvas canvas(200, 30);
  FontScope f(canvas.dc(), MakeFont("Arial", -13));
  char text[64] = "A rather long caption that cannot fit";
  RECT r{10, 5, 90, 25};
  DrawText(canvas.dc(), text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  std::string shown = text;
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(shown.substr(shown.size() - 3), "...");
  SIZE size{};
  GetTextExtentPoint32(canvas.dc(), shown.c_str(), static_cast<int>(shown.size()), &size);
  EXPECT_LE(size.cx, 80);
  RECT ink = InkBox(canvas, RGB(255, 255, 255));
  EXPECT_LE(ink.right, 90);
}

TEST(DrawText, PathEllipsisKeepsTheFileName) {
  MemoryCanvas canvas(10, 10);
  FontScope f(canvas.dc(), MakeFont("Arial", -13));
  char path[128] = "C:\\Projects\\Documentation\\Sources\\Parser\\module.cpp";
  SIZE name{};
  GetTextExtentPoint32(canvas.dc(), "...\\module.cpp", 14, &name);
  RECT r{0, 0, name.cx + 30, 20};
  DrawText(canvas.dc(), path, -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
  std::string shown = path;
  EXPECT_NE(shown.find("...\\module.cpp"), std::string::npos) << shown;
  EXPECT_EQ(shown.rfind("C:", 0), 0u) << shown;
}

TEST(DrawText, CentredAndVerticallyCentredSingleLine) {
  MemoryCanvas canvas(200, 60);
  FontScope f(canvas.dc(), MakeFont("Arial", -13));
  SIZE size{};
  GetTextExtentPoint32(canvas.dc(), "OK", 2, &size);
  SetBkColor(canvas.dc(), RGB(255, 0, 0));
  RECT r{0, 0, 200, 60};
  DrawText(canvas.dc(), "OK", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  RECT ink = InkBox(canvas, RGB(255, 255, 255));
  EXPECT_EQ(ink.left, (200 - size.cx) / 2);
  EXPECT_EQ(ink.top, (60 - size.cy) / 2);
}

TEST(DrawText, MnemonicIsUnderlinedUnlessNoPrefix) {
  MemoryCanvas a(100, 30), b(100, 30);
  FontScope fa(a.dc(), MakeFont("Arial", -13));
  FontScope fb(b.dc(), MakeFont("Arial", -13));
  SetBkMode(a.dc(), TRANSPARENT);
  SetBkMode(b.dc(), TRANSPARENT);
  RECT r{0, 0, 100, 30};
  DrawText(a.dc(), "&Open", -1, &r, DT_SINGLELINE);
  DrawText(b.dc(), "Open", -1, &r, DT_SINGLELINE);
  TEXTMETRIC tm{};
  GetTextMetrics(a.dc(), &tm);
  // The underline lies below the baseline, under the first letter only.
  int extra = 0;
  for (int y = tm.tmAscent; y < tm.tmHeight; ++y)
    for (int x = 0; x < 100; ++x) extra += a.at(x, y) != b.at(x, y);
  EXPECT_GT(extra, 3);
  RECT c{0, 0, 1, 1};
  SIZE amp{};
  GetTextExtentPoint32(a.dc(), "&Open", 5, &amp);
  DrawText(a.dc(), "&Open", -1, &c, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  EXPECT_EQ(c.right, amp.cx);
}

TEST(Tabs, TabbedTextAlignsAtStops) {
  MemoryCanvas canvas(300, 30);
  FontScope f(canvas.dc(), MakeFont("Arial", -13));
  INT stop = 100;
  DWORD extent = GetTabbedTextExtent(canvas.dc(), "a\tb", 3, 1, &stop);
  SIZE b{};
  GetTextExtentPoint32(canvas.dc(), "b", 1, &b);
  EXPECT_EQ(LOWORD(extent), 100 + b.cx);
  SetBkColor(canvas.dc(), RGB(255, 0, 0));
  SetBkMode(canvas.dc(), OPAQUE);
  LONG drawn = TabbedTextOut(canvas.dc(), 0, 0, "a\tb", 3, 1, &stop, 0);
  EXPECT_EQ(static_cast<DWORD>(drawn), extent);
  EXPECT_EQ(canvas.at(100, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(99, 0), RGB(255, 255, 255));
  RECT r{0, 0, 300, 30};
  SIZE a{};
  GetTextExtentPoint32(canvas.dc(), "a", 1, &a);
  TEXTMETRIC tm{};
  GetTextMetrics(canvas.dc(), &tm);
  DrawText(canvas.dc(), "a\tb", -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
  EXPECT_EQ(r.right, 8 * tm.tmAveCharWidth + b.cx);
}

TEST(FontEnumeration, ListsSubstitutedFaces) {
  MemoryCanvas canvas(4, 4);
  std::vector<std::string> names;
  EnumFontFamilies(canvas.dc(), nullptr,
                   [](const LOGFONT* lf, const TEXTMETRIC* tm, DWORD type, LPARAM p) -> int {
                     EXPECT_EQ(type, static_cast<DWORD>(TRUETYPE_FONTTYPE));
                     EXPECT_GT(tm->tmAveCharWidth, 0);
                     reinterpret_cast<std::vector<std::string>*>(p)->push_back(lf->lfFaceName);
                     return 1;
                   },
                   reinterpret_cast<LPARAM>(&names));
  EXPECT_NE(std::find(names.begin(), names.end(), "Arial"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "Courier New"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "Marlett"), names.end());
  char face[LF_FACESIZE];
  FontScope f(canvas.dc(), MakeFont("Times New Roman", 12));
  EXPECT_GT(GetTextFace(canvas.dc(), LF_FACESIZE, face), 0);
  EXPECT_STREQ(face, "Times New Roman");
}

TEST(FontEnumeration, MarlettDrawsPlatformArrows) {
  MemoryCanvas canvas(20, 20);
  FontScope f(canvas.dc(), MakeFont("Marlett", -13));
  SetBkMode(canvas.dc(), TRANSPARENT);
  TextOut(canvas.dc(), 2, 2, "6", 1);
  RECT ink = InkBox(canvas, RGB(255, 255, 255));
  EXPECT_GT(ink.right - ink.left, 3);
  // A down arrow is wider at its top than at its bottom.
  int top = canvas.Count(RGB(0, 0, 0), 0, ink.top, 20, ink.top + 1);
  int bottom = canvas.Count(RGB(0, 0, 0), 0, ink.bottom - 1, 20, ink.bottom);
  EXPECT_GT(top, bottom);
}

}  // namespace

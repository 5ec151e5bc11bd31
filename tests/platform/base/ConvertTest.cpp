#include <gtest/gtest.h>

#include <string>

#include "base/base.h"

namespace {

struct Sample {
  UINT codePage;
  std::string bytes;
  std::u16string wide;
};

const Sample kSamples[] = {
    {936, "\xD6\xD0\xCE\xC4", u"中文"},
    {936, "Language=0x804 \xD6\xD0\xCE\xC4(\xD6\xD0\xB9\xFA)", u"Language=0x804 中文(中国)"},
    {950, "\xA4\xA4\xA4\xE5", u"中文"},
    {950, "\xA5\x5C\xAF\xE0", u"功能"},
    {1252, "caf\xE9 \x80 \x93x\x94", u"café € “x”"},
    {CP_UTF8, "\xE4\xB8\xAD\xF0\x9F\x98\x80", u"中😀"},
};

TEST(Convert, MultiByteToWideCharDecodesEachPage) {
  for (const auto& s : kSamples) {
    int needed = MultiByteToWideChar(s.codePage, 0, s.bytes.data(), static_cast<int>(s.bytes.size()), nullptr, 0);
    ASSERT_EQ(needed, static_cast<int>(s.wide.size())) << s.codePage;
    std::u16string out(needed, u'\0');
    EXPECT_EQ(MultiByteToWideChar(s.codePage, 0, s.bytes.data(), static_cast<int>(s.bytes.size()), out.data(), needed),
              needed);
    EXPECT_EQ(out, s.wide) << s.codePage;
  }
}

TEST(Convert, WideCharToMultiByteEncodesEachPage) {
  for (const auto& s : kSamples) {
    int needed = WideCharToMultiByte(s.codePage, 0, s.wide.data(), static_cast<int>(s.wide.size()), nullptr, 0,
                                     nullptr, nullptr);
    ASSERT_EQ(needed, static_cast<int>(s.bytes.size())) << s.codePage;
    std::string out(needed, '\0');
    EXPECT_EQ(WideCharToMultiByte(s.codePage, 0, s.wide.data(), static_cast<int>(s.wide.size()), out.data(), needed,
                                  nullptr, nullptr),
              needed);
    EXPECT_EQ(out, s.bytes) << s.codePage;
  }
}

TEST(Convert, AnsiCodePageFollowsTheConfiguredPage) {
  brambolt::ScopedCodePage page(936);
  WCHAR out[8] = {};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xD6\xD0\xCE\xC4", -1, out, 8), 3);  // with the terminator
  EXPECT_EQ(std::u16string(out), u"中文");
  EXPECT_EQ(brambolt::UnicodeToAnsi(U"中文"), "\xD6\xD0\xCE\xC4");
  brambolt::ScopedCodePage big5(950);
  EXPECT_EQ(brambolt::UnicodeToAnsi(U"中文"), "\xA4\xA4\xA4\xE5");
}

TEST(Convert, TerminatedInputCountsTheTerminator) {
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0), 4);
  EXPECT_EQ(WideCharToMultiByte(1252, 0, u"abc", -1, nullptr, 0, nullptr, nullptr), 4);
  char out[4];
  EXPECT_EQ(WideCharToMultiByte(1252, 0, u"abc", -1, out, 4, nullptr, nullptr), 4);
  EXPECT_STREQ(out, "abc");
}

TEST(Convert, TooSmallBufferFailsWithInsufficientBuffer) {
  WCHAR wide[2];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(936, 0, "\xD6\xD0\xCE\xC4", -1, wide, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  char narrow[3];
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"中文", 2, narrow, 3, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(Convert, BadArgumentsFailWithInvalidParameter) {
  WCHAR wide[4];
  const struct {
    UINT codePage;
    const char* text;
    int length;
    int outLength;
  } cases[] = {{1252, nullptr, 3, 4}, {1252, "abc", 0, 4}, {1252, "abc", 3, -1}, {437, "abc", 3, 4}};
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(c.codePage, 0, c.text, c.length, wide, c.outLength), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  BOOL used = FALSE;
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, nullptr, 0, nullptr, &used), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Convert, InvalidBytesAreReplacedOrRefused) {
  // D6 is a lead byte with nothing after it; 81 20 is a lead byte followed by a non-trail byte.
  std::u16string out(8, u'\0');
  int n = MultiByteToWideChar(936, 0, "a\x81 b\xD6", 5, out.data(), 8);
  out.resize(n);
  EXPECT_EQ(out, u"a\xFFFD b\xFFFD");
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, "a\xD6", 2, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(brambolt::AnsiToUnicode("\xC3(", CP_UTF8), U"\xFFFD(");
}

TEST(Convert, UnrepresentableCharactersUseTheDefaultCharacter) {
  BOOL used = FALSE;
  char out[8] = {};
  int n = WideCharToMultiByte(1252, 0, u"a中b", 3, out, 8, nullptr, &used);
  EXPECT_EQ(std::string(out, n), "a?b");
  EXPECT_TRUE(used);
  n = WideCharToMultiByte(936, 0, u"a\u0E01", 2, out, 8, "#", &used);  // Thai is not in GBK
  EXPECT_EQ(std::string(out, n), "a#");
  EXPECT_TRUE(used);
  WideCharToMultiByte(936, 0, u"ok", 2, out, 8, nullptr, &used);
  EXPECT_FALSE(used);
}

TEST(Convert, EveryWindows1252ByteRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(brambolt::UnicodeToAnsi(brambolt::AnsiToUnicode(all, 1252), 1252), all);
  EXPECT_EQ(brambolt::Utf8ToAnsi(brambolt::AnsiToUtf8(all, 1252), 1252), all);
}

TEST(Convert, Utf8LiteralsBecomeCodePageBytes) {
  EXPECT_EQ(brambolt::Utf8ToCodePage(u8"中文", 936), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(brambolt::Utf8ToCodePage(u8"中文", 950), "\xA4\xA4\xA4\xE5");
  EXPECT_EQ(brambolt::Utf8ToCodePage("plain", 950), "plain");
  EXPECT_EQ(brambolt::AnsiToUtf8("\xA5\x5C", 950), "功");
  EXPECT_EQ(brambolt::WideToAnsi(u"功", 950), "\xA5\x5C");
  EXPECT_EQ(brambolt::AnsiToWide("\xA5\x5C", 950), u"功");
}

TEST(Convert, SurrogatePairsRoundTripThroughUtf8) {
  std::u16string wide = u"x😀y";
  char out[16];
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out, 16, nullptr, nullptr);
  EXPECT_EQ(std::string(out, n), "x\xF0\x9F\x98\x80y");
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, u"\xD800z", 2, out, 16, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

struct BoundaryCase {
  UINT codePage;
  std::string text;
  size_t limit;
  size_t expected;
};

TEST(Convert, LongInputsAreCutAtCharacterBoundaries) {
  const BoundaryCase cases[] = {
      {936, "ab\xD6\xD0\xCE\xC4", 3, 2},    {936, "ab\xD6\xD0\xCE\xC4", 4, 4},
      {936, "\xB0\xA1\xB0\xA1\xB0\xA1", 5, 4}, {950, "\xA5\x5C\xA5\x5C", 3, 2},
      {950, "x\xA5", 5, 2},                  {1252, "\xD6\xD0\xCE", 2, 2},
      {CP_UTF8, "a\xE4\xB8\xAD", 3, 1},      {CP_UTF8, "a\xE4\xB8\xAD" "b", 4, 4},
      {936, "\xD6\xD0", 1, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(brambolt::CharacterBoundary(c.text, c.limit, c.codePage), c.expected) << c.codePage << " " << c.limit;
}

TEST(Convert, PiecewiseConversionMatchesWholeConversion) {
  brambolt::ScopedCodePage page(936);
  std::string text;
  for (int i = 0; i < 500; ++i) text += (i % 3 == 0) ? "\xD6\xD0" : (i % 3 == 1 ? "x" : "\xCE\xC4");
  std::u16string whole = brambolt::AnsiToWide(text);
  for (size_t piece : {1u, 2u, 7u, 64u}) {
    std::u16string joined;
    std::string_view rest = text;
    while (!rest.empty()) {
      size_t cut = brambolt::CharacterBoundary(rest, std::max<size_t>(piece, 2));
      joined += brambolt::AnsiToWide(rest.substr(0, cut));
      rest.remove_prefix(cut);
    }
    EXPECT_EQ(joined, whole) << piece;
  }
}

}  // namespace

namespace {

// A name as the program spells it under a locale, and as the system does.
struct NameCase {
  const char* locale;
  std::string program;
  std::string system;
};

TEST(Convert, FileNamesTakeTheLocalesCharsetAtTheSystemsBoundary) {
  const NameCase cases[] = {
      {"C.UTF-8", "/tmp/Gr\xF6\xDF" "e/x.h", "/tmp/Gr\xC3\xB6\xC3\x9F" "e/x.h"},
      {"de_DE.UTF-8", "Gr\xF6\xDF" "e.h", "Gr\xC3\xB6\xC3\x9F" "e.h"},
      {"zh_CN.UTF-8", "\xCE\xC4\xB5\xB5.h", "\xE6\x96\x87\xE6\xA1\xA3.h"},      // 文档
      {"zh_TW.UTF-8", "d/\xB3\x5C.h", "d/\xE8\xA8\xB1.h"},                      // 許, whose trail byte is '\'
      {"zh_CN.GB2312", "\xCE\xC4\xB5\xB5.h", "\xCE\xC4\xB5\xB5.h"},             // the charset is the page
      {"zh_TW.BIG5", "\xB3\x5C.h", "\xB3\x5C.h"},
      {"C", "Gr\xF6\xDF" "e.h", "Gr\xF6\xDF" "e.h"},
      // Names typed in the page whose bytes are also UTF-8 that no one would write (GBK 目录 reads
      // "Ŀ¼", 毛猫 "ëè", 路 "·"): the page's, converted.
      {"zh_CN.UTF-8", "\xC4\xBF\xC2\xBC", "\xE7\x9B\xAE\xE5\xBD\x95"},
      {"zh_CN.UTF-8", "d/\xC3\xAB\xC3\xA8.h", "d/\xE6\xAF\x9B\xE7\x8C\xAB.h"},
      {"zh_CN.UTF-8", "\xC2\xB7", "\xE8\xB7\xAF"},
      // The system's names the page cannot spell, whose bytes also read in the page: text, so kept.
      {"zh_CN.UTF-8", "Gr\xC3\xB6\xC3\x9F" "e.h", "Gr\xC3\xB6\xC3\x9F" "e.h"},  // Größe
      {"zh_CN.UTF-8", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1",        // Ελλάδα
       "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1"},
      {"ja_JP.UTF-8", "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88", "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"},  // テスト
      {"ja_JP.UTF-8", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1",
       "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1"},
      {"ja_JP.UTF-8", "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0",        // Москва
       "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0"},
  };
  for (const NameCase& c : cases) {
    brambolt::ScopedLocale locale(c.locale);
    EXPECT_EQ(brambolt::SystemNameOf(c.program), c.system) << c.locale;
    EXPECT_EQ(brambolt::ProgramNameOf(c.system), c.program) << c.locale;
  }
  // Names the other side cannot spell pass as their bytes, each name of a path on its own: a
  // Latin-1 name (no UTF-8) and a Japanese one (not in 1252) under a UTF-8 locale.
  brambolt::ScopedLocale locale("de_DE.UTF-8");
  for (const std::string& raw : {std::string("caf\xE9.h"), std::string("\xE6\x97\xA5.h")})
    EXPECT_EQ(brambolt::ProgramNameOf("/\xC3\xA4/" + raw), "/\xE4/" + raw);
  // The Japanese name goes back as it came; it is UTF-8 the page cannot spell.
  EXPECT_EQ(brambolt::SystemNameOf("/\xE4/\xE6\x97\xA5.h"), "/\xC3\xA4/\xE6\x97\xA5.h");
}

TEST(Convert, ACharacterThePageLacksHasNoBytesInIt) {
  brambolt::ScopedCodePage page(1252);
  std::string bytes = "kept";
  EXPECT_FALSE(brambolt::CodePageBytesOf(U'\u0130', bytes));  // Turkish capital I with dot
  EXPECT_EQ(bytes, "kept");
  ASSERT_TRUE(brambolt::CodePageBytesOf(U'\u00E4', bytes));
  EXPECT_EQ(bytes, "\xE4");
  EXPECT_TRUE(brambolt::CodePageBytesOf(U'\u6587', bytes, 936));
  EXPECT_EQ(bytes, "\xCE\xC4");
  bool dropped = false;
  EXPECT_EQ(brambolt::CodePageTextOf(U"\u0130stanbul \u20AC", &dropped), "stanbul \x80");
  EXPECT_TRUE(dropped);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/base.h"

namespace {

struct LocaleCase {
  const char* locale;
  UINT codePage;
};

TEST(CodePage, ChosenFromLocaleName) {
  const LocaleCase cases[] = {
      {"zh_CN.GB2312", 936}, {"zh_CN.UTF-8", 936}, {"zh_CN", 936},       {"zh_SG.GBK", 936},
      {"zh_TW.Big5", 950},   {"zh_HK.UTF-8", 950}, {"zh_TW", 950},       {"en_US.UTF-8", 1252},
      {"C", 1252},           {"POSIX", 1252},      {"de_DE@euro", 1252}, {"zh", 1252},
      {"", 1252},            {"ja_JP.eucJP", 1252}};
  for (const auto& c : cases) EXPECT_EQ(brambolt::CodePageFromLocale(c.locale), c.codePage) << c.locale;
  EXPECT_EQ(brambolt::CodePageFromLocale(nullptr), 1252u);
}

class EnvironmentGuard {
 public:
  EnvironmentGuard() {
    for (const char* name : kNames) {
      const char* value = getenv(name);
      saved_.emplace_back(value ? std::string(value) : std::string("\x01"));
      unsetenv(name);
    }
  }
  ~EnvironmentGuard() {
    for (size_t i = 0; i < std::size(kNames); ++i) {
      if (saved_[i] == "\x01")
        unsetenv(kNames[i]);
      else
        setenv(kNames[i], saved_[i].c_str(), 1);
    }
  }

 private:
  static constexpr const char* kNames[] = {"BRAMBOLT_CODEPAGE", "LC_ALL", "LC_CTYPE", "LANG"};
  std::vector<std::string> saved_;
};

TEST(CodePage, EnvironmentFollowsLocalePrecedenceAndOverride) {
  EnvironmentGuard guard;
  EXPECT_EQ(brambolt::CodePageFromEnvironment(), 1252u);
  setenv("LANG", "zh_TW.Big5", 1);
  EXPECT_EQ(brambolt::CodePageFromEnvironment(), 950u);
  setenv("LC_CTYPE", "zh_CN.GBK", 1);
  EXPECT_EQ(brambolt::CodePageFromEnvironment(), 936u);
  setenv("LC_ALL", "en_GB.UTF-8", 1);
  EXPECT_EQ(brambolt::CodePageFromEnvironment(), 1252u);
  setenv("LC_ALL", "", 1);  // an empty variable does not count
  EXPECT_EQ(brambolt::CodePageFromEnvironment(), 936u);
  setenv("BRAMBOLT_CODEPAGE", "950", 1);
  EXPECT_EQ(brambolt::CodePageFromEnvironment(), 950u);
  setenv("BRAMBOLT_CODEPAGE", "65001", 1);  // not an ANSI page we support: ignored
  EXPECT_EQ(brambolt::CodePageFromEnvironment(), 936u);
}

TEST(CodePage, FileNamesAreInTheLocalesCharsetWhenItIsUtf8) {
  const struct {
    const char* locale;
    bool utf8;
  } cases[] = {{"C.UTF-8", true},     {"de_DE.UTF-8", true},   {"zh_CN.utf8", true},  {"zh_TW.UTF-8@x", true},
               {"zh_CN.GB2312", false}, {"zh_TW.BIG5", false}, {"C", false},         {"POSIX", false},
               {"de_DE", false},      {"", false},            {"en_US.ISO-8859-1", false}};
  for (const auto& c : cases) EXPECT_EQ(brambolt::LocaleIsUtf8(c.locale), c.utf8) << c.locale;
  EnvironmentGuard guard;
  EXPECT_EQ(brambolt::SystemNameCodePageFromEnvironment(), static_cast<UINT>(CP_ACP));
  setenv("LANG", "de_DE.UTF-8", 1);
  EXPECT_EQ(brambolt::SystemNameCodePageFromEnvironment(), static_cast<UINT>(CP_UTF8));
  setenv("LC_ALL", "zh_CN.GB2312", 1);
  EXPECT_EQ(brambolt::SystemNameCodePageFromEnvironment(), brambolt::kGb2312);
  setenv("LC_ALL", "zh_TW.BIG5", 1);
  EXPECT_EQ(brambolt::SystemNameCodePageFromEnvironment(), static_cast<UINT>(CP_ACP));
  {
    brambolt::ScopedLocale locale("zh_TW.UTF-8");
    EXPECT_EQ(GetACP(), 950u);
    EXPECT_EQ(brambolt::GetSystemNameCodePage(), static_cast<UINT>(CP_UTF8));
  }
}

// The charset of file names is the one the locale itself names, not a guess from its name: a
// locale made here from zh_CN with GB2312, under a name that names no charset, has GB2312 names,
// and a GBK-only character (镕) is not one of them while a GB2312 one (中) is.
TEST(CodePage, FileNamesAreInTheCharsetTheLocaleNames) {
  char folder[] = "/tmp/brambolt-locales-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string made = std::string(folder) + "/plain";
  const std::string make = "localedef -i zh_CN -f GB2312 " + made + " > /dev/null 2>&1; test -f " + made + "/LC_CTYPE";
  ASSERT_EQ(std::system(make.c_str()), 0)
      << "localedef could not make a zh_CN locale in GB2312";
  EnvironmentGuard guard;
  const char* locpath = getenv("LOCPATH");
  const std::string savedLocpath = locpath != nullptr ? locpath : "";
  setenv("LOCPATH", folder, 1);
  setenv("LANG", "plain", 1);
  const UINT fromEnvironment = brambolt::SystemNameCodePageFromEnvironment();
  const UINT ofLocale = brambolt::NameCodePageOfLocale("plain");
  bool rongSpelled = true, zhongSpelled = false;
  {
    brambolt::ScopedLocale locale("plain");
    brambolt::ScopedCodePage page(936);
    rongSpelled = brambolt::SystemCanSpell("\xE9\x46.h");
    zhongSpelled = brambolt::SystemCanSpell("\xD6\xD0.h");
  }
  if (locpath != nullptr)
    setenv("LOCPATH", savedLocpath.c_str(), 1);
  else
    unsetenv("LOCPATH");
  std::system((std::string("rm -rf ") + folder).c_str());
  EXPECT_EQ(fromEnvironment, brambolt::kGb2312);
  EXPECT_EQ(ofLocale, brambolt::kGb2312);
  EXPECT_FALSE(rongSpelled);
  EXPECT_TRUE(zhongSpelled);
}

TEST(CodePage, TestsCanSwitchThePageAndRestoreIt) {
  UINT before = GetACP();
  {
    brambolt::ScopedCodePage page(936);
    EXPECT_EQ(GetACP(), 936u);
    EXPECT_EQ(GetOEMCP(), 936u);
    EXPECT_TRUE(g_bDBCSSystem);
    {
      brambolt::ScopedCodePage inner(1252);
      EXPECT_FALSE(g_bDBCSSystem);
    }
    EXPECT_EQ(GetACP(), 936u);
  }
  EXPECT_EQ(GetACP(), before);
  EXPECT_FALSE(brambolt::SetCodePageForTesting(65001));
  EXPECT_EQ(GetACP(), before);
}

TEST(CodePage, CpInfoDescribesLeadByteRanges) {
  CPINFO info;
  for (UINT page : {936u, 950u}) {
    ASSERT_TRUE(GetCPInfo(page, &info));
    EXPECT_EQ(info.MaxCharSize, 2u);
    EXPECT_EQ(info.LeadByte[0], 0x81);
    EXPECT_EQ(info.LeadByte[1], 0xFE);
    EXPECT_EQ(info.LeadByte[2], 0);
  }
  ASSERT_TRUE(GetCPInfo(1252, &info));
  EXPECT_EQ(info.MaxCharSize, 1u);
  EXPECT_EQ(info.LeadByte[0], 0);
  brambolt::ScopedCodePage page(950);
  ASSERT_TRUE(GetCPInfo(CP_OEMCP, &info));
  EXPECT_EQ(info.MaxCharSize, 2u);
  SetLastError(0);
  EXPECT_FALSE(GetCPInfo(12345, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(LeadBytes, FollowTheConfiguredPage) {
  {
    brambolt::ScopedCodePage page(936);
    EXPECT_FALSE(IsDBCSLeadByte(0x80));
    EXPECT_TRUE(IsDBCSLeadByte(0x81));
    EXPECT_TRUE(IsDBCSLeadByte(0xD6));
    EXPECT_TRUE(IsDBCSLeadByte(0xFE));
    EXPECT_FALSE(IsDBCSLeadByte(0xFF));
    EXPECT_FALSE(IsDBCSLeadByte('A'));
  }
  {
    brambolt::ScopedCodePage page(1252);
    for (int b = 0; b < 256; ++b) EXPECT_FALSE(IsDBCSLeadByte(static_cast<BYTE>(b)));
    EXPECT_TRUE(IsDBCSLeadByteEx(950, 0xA5));
  }
}

TEST(Stepping, CharNextAndCharPrevWalkWholeCharacters) {
  brambolt::ScopedCodePage page(950);
  // "A", 功 (A5 5C: the trail byte is a backslash), "\", 中 (A4 A4), "b"
  const char text[] = "A\xA5\x5C\\\xA4\xA4" "b";
  const char* expected[] = {text, text + 1, text + 3, text + 4, text + 6, text + 7};
  const char* p = text;
  for (size_t i = 1; i < std::size(expected); ++i) {
    p = CharNext(p);
    EXPECT_EQ(p, expected[i]) << i;
  }
  EXPECT_EQ(CharNext(p), p);  // stays on the terminator
  for (size_t i = std::size(expected) - 1; i > 0; --i) {
    p = CharPrev(text, p);
    EXPECT_EQ(p, expected[i - 1]) << i;
  }
  EXPECT_EQ(CharPrev(text, text), text);
}

TEST(Stepping, RunsOfLeadRangeBytesAreResolvedFromTheStart) {
  brambolt::ScopedCodePage page(936);
  // Three double-byte characters whose trail bytes are all in the lead range.
  const char text[] = "\xB0\xA1\xB0\xA1\xB0\xA1";
  EXPECT_EQ(CharPrev(text, text + 6), text + 4);
  EXPECT_EQ(CharPrev(text, text + 4), text + 2);
  EXPECT_EQ(CharPrev(text, text + 2), text);
  // A lead byte cut off by the terminator is one character.
  const char cut[] = "a\xB0";
  EXPECT_EQ(CharNext(cut + 1), cut + 2);
  EXPECT_EQ(CharNextExA(1252, text, 0), text + 1);
  EXPECT_EQ(CharNextExA(936, text, 0), text + 2);
  EXPECT_EQ(CharPrevExA(936, text, text + 6, 0), text + 4);
}

TEST(CaseFolding, TrailBytesAreNeverFolded) {
  brambolt::ScopedCodePage page(950);
  // 作 is A7 40 in Big5 (trail byte '@'), and A4 61 has the trail byte 'a'.
  char text[] = "ab\xA4\x61Z\xA7\x40z";
  CharUpper(text);
  EXPECT_STREQ(text, "AB\xA4\x61Z\xA7\x40Z");
  CharLower(text);
  EXPECT_STREQ(text, "ab\xA4\x61z\xA7\x40z");
  char buffer[] = "\xA4\x61x\xA4";
  EXPECT_EQ(CharUpperBuff(buffer, 3), 3u);
  EXPECT_EQ(std::memcmp(buffer, "\xA4\x61X\xA4", 4), 0);
}

TEST(CaseFolding, WesternPageFoldsAccentedLetters) {
  brambolt::ScopedCodePage page(1252);
  char text[] = "\xE9t\xE9 \x9A\xFF \xD7\xF7\xDF";  // été šÿ ×÷ß
  CharUpper(text);
  EXPECT_STREQ(text, "\xC9T\xC9 \x8A\x9F \xD7\xF7\xDF");
  CharLower(text);
  EXPECT_STREQ(text, "\xE9t\xE9 \x9A\xFF \xD7\xF7\xDF");
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(CharUpper(reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>('q')))),
            static_cast<ULONG_PTR>('Q'));
  EXPECT_TRUE(IsCharAlpha('\xE9'));
  EXPECT_TRUE(IsCharUpper('\xC9'));
  EXPECT_FALSE(IsCharAlpha('\xD7'));
  EXPECT_TRUE(IsCharAlphaNumeric('7'));
  EXPECT_FALSE(IsCharAlphaNumeric('-'));
}

TEST(CaseFolding, DoubleBytePagesFoldOnlyAscii) {
  brambolt::ScopedCodePage page(936);
  char text[] = "\xE9\xC9";  // one GBK character
  CharLower(text);
  EXPECT_STREQ(text, "\xE9\xC9");
  EXPECT_FALSE(IsCharAlpha('\xE9'));
  EXPECT_TRUE(IsCharLower('q'));
}

}  // namespace

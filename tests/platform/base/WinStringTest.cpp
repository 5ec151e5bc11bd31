#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/base.h"

namespace {

TEST(LStr, CopyNeverSplitsADoubleByteCharacter) {
  brambolt::ScopedCodePage page(936);
  char buffer[8];
  std::memset(buffer, 'X', sizeof(buffer));
  EXPECT_EQ(lstrcpyn(buffer, "ab\xD6\xD0\xCE\xC4", 4), buffer);
  EXPECT_STREQ(buffer, "ab");  // 3 bytes of room: the lead byte D6 would be cut off
  lstrcpyn(buffer, "ab\xD6\xD0\xCE\xC4", 5);
  EXPECT_STREQ(buffer, "ab\xD6\xD0");
  lstrcpyn(buffer, "abcdefghij", 8);
  EXPECT_STREQ(buffer, "abcdefg");
}

TEST(LStr, CopyWithNoRoomWritesNothing) {
  char buffer[4] = {'X', 'X', 'X', 'X'};
  for (int size : {0, -1, -100}) {
    EXPECT_EQ(lstrcpyn(buffer, "abc", size), buffer);
    EXPECT_EQ(buffer[0], 'X');
  }
  lstrcpyn(buffer, "abc", 1);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], 'X');
}

TEST(LStr, NullStringsCountAsEmpty) {
  EXPECT_EQ(lstrlen(nullptr), 0);
  EXPECT_EQ(lstrlen("\xD6\xD0x"), 3);
  char buffer[16] = "ab";
  lstrcat(buffer, nullptr);
  lstrcat(buffer, "cd");
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(lstrcmp(nullptr, ""), 0);
  EXPECT_LT(lstrcmp(nullptr, "a"), 0);
}

TEST(LStr, ComparisonIgnoresCaseBeforeOrderingLowerFirst) {
  EXPECT_LT(lstrcmp("a", "B"), 0);  // a byte compare would put 'B' first
  EXPECT_LT(lstrcmp("a", "A"), 0);
  EXPECT_GT(lstrcmp("Ab", "ab"), 0);
  EXPECT_LT(lstrcmp("Ab", "ac"), 0);
  EXPECT_EQ(lstrcmp("same", "same"), 0);
  EXPECT_EQ(lstrcmpi("MiXeD", "mixed"), 0);
  EXPECT_LT(lstrcmpi("apple", "Banana"), 0);
}

struct FormatCase {
  const char* expected;
  std::string actual;
};

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[1100];
  int n = wsprintf(buffer, format, args...);
  EXPECT_EQ(n, static_cast<int>(std::strlen(buffer)));
  return buffer;
}

TEST(Wsprintf, FormatsTheWindowsSubset) {
  const FormatCase cases[] = {
      {"42 -7 4294967295", Format("%d %i %u", 42, -7, 0xFFFFFFFFu)},
      {"ff FF 0x1f 0X1F", Format("%x %X %#x %#X", 255, 255, 31, 31)},
      {"[   12][12   ][00012][-0012]", Format("[%5d][%-5d][%05d][%05d]", 12, 12, 12, -12)},
      {"[007][  007]", Format("[%.3d][%5.3d]", 7, 7)},
      {"Ln 3, Col 14", Format("Ln %d, Col %d", 3, 14)},
      {"[abc][  abc][ab ][(null)]", Format("[%s][%5s][%-3.2s][%s]", "abc", "abc", "abc", static_cast<char*>(nullptr))},
      {"x=A 100%", Format("x=%c %d%%", 'A', 100)},
      {"-32768 65535", Format("%hd %hu", 32768, 0x1FFFF)},
      {"123 -5", Format("%ld %li", 123, -5)},
      {"9000000000 -1", Format("%I64d %I64d", 9000000000LL, -1LL)},
      {"wide", Format("%S", u"wide")},
      {"wide too", Format("%ls %hs", u"wide", "too")},
      {"0000000000001234", Format("%p", reinterpret_cast<void*>(0x1234))},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(Wsprintf, PrecisionAndLimitNeverSplitCharacters) {
  brambolt::ScopedCodePage page(936);
  EXPECT_EQ(Format("[%.3s]", "\xD6\xD0\xCE\xC4"), "[\xD6\xD0]");
  EXPECT_EQ(Format("%S", u"中"), "\xD6\xD0");
  std::string longText(2000, 'x');
  EXPECT_EQ(Format("%s", longText.c_str()).size(), 1023u);
  std::string doubleBytes;
  for (int i = 0; i < 600; ++i) doubleBytes += "\xD6\xD0";
  EXPECT_EQ(Format("a%s", doubleBytes.c_str()).size(), 1023u);  // 'a' + 511 whole characters
  EXPECT_EQ(Format("%s", doubleBytes.c_str()).size(), 1022u);
}

TEST(CRuntime, IntegerToText) {
  char buffer[70];
  const struct {
    std::string actual;
    const char* expected;
  } cases[] = {
      {_itoa(-42, buffer, 10), "-42"},
      {_itoa(255, buffer, 16), "ff"},
      {_itoa(-1, buffer, 16), "ffffffff"},
      {_itoa(5, buffer, 2), "101"},
      {_ltoa(-1, buffer, 16), "ffffffff"},
      {_ltoa(-2147483647L - 1, buffer, 10), "-2147483648"},
      {_ultoa(4294967295UL, buffer, 10), "4294967295"},
      {_i64toa(-1, buffer, 16), "ffffffffffffffff"},
      {_ui64toa(18446744073709551615ULL, buffer, 10), "18446744073709551615"},
      {_itoa(35, buffer, 36), "z"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
  EXPECT_EQ(_atoi64("-9000000000"), -9000000000LL);
}

TEST(CRuntime, CaseFunctionsAreLeadByteAware) {
  brambolt::ScopedCodePage page(950);
  char text[] = "Ab\xA4\x61\xA7\x40";
  EXPECT_STREQ(_strupr(text), "AB\xA4\x61\xA7\x40");
  EXPECT_STREQ(_strlwr(text), "ab\xA4\x61\xA7\x40");
  EXPECT_EQ(_stricmp("HeLLo", "hello"), 0);
  EXPECT_NE(_stricmp("\xA4\x61", "\xA4\x41"), 0);
  EXPECT_EQ(_strnicmp("ABCx", "abcy", 3), 0);
  EXPECT_LT(_stricmp("A_", "ab"), 0);
  char* copy = _strdup("dup");
  EXPECT_STREQ(copy, "dup");
  free(copy);
}

TEST(CRuntime, SnprintfReportsTruncationLikeWindows) {
  char buffer[8];
  std::memset(buffer, 'X', sizeof(buffer));
  EXPECT_EQ(_snprintf(buffer, 4, "%d", 123456), -1);
  EXPECT_EQ(std::string(buffer, 5), "1234X");  // no terminator
  EXPECT_EQ(_snprintf(buffer, 4, "%d", 1234), 4);
  EXPECT_EQ(_snprintf(buffer, 8, "%s", "ok"), 2);
  EXPECT_STREQ(buffer, "ok");
}

}  // namespace

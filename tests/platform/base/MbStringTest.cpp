#include <gtest/gtest.h>

#include <vector>

#include <cstring>
#include <string>

#include "base/base.h"

namespace {

const unsigned char* U(const char* s) { return reinterpret_cast<const unsigned char*>(s); }
unsigned char* U(char* s) { return reinterpret_cast<unsigned char*>(s); }

// Big5: 功 = A5 5C (trail '\'), 許 = B3 5C, 中 = A4 A4, 作 = A7 40 (trail '@').
const char kBig5[] = "a\xA5\x5C" "b\\\xB3\x5C";

TEST(MbString, LeadAndTrailBytesFollowThePage) {
  brambolt::ScopedCodePage big5(950);
  EXPECT_TRUE(_ismbblead(0xA5));
  EXPECT_FALSE(_ismbblead(0x5C));
  EXPECT_TRUE(_ismbbtrail(0x5C));
  EXPECT_FALSE(_ismbbtrail(0x80));  // not a Big5 trail byte
  EXPECT_TRUE(_ismbbtrail(0xA1));
  EXPECT_FALSE(_ismbblead(0x1A5));
  {
    brambolt::ScopedCodePage gbk(936);
    EXPECT_TRUE(_ismbbtrail(0x80));
  }
  EXPECT_TRUE(_ismbslead(U(kBig5), U(kBig5 + 1)));
  EXPECT_FALSE(_ismbslead(U(kBig5), U(kBig5 + 2)));
  EXPECT_TRUE(_ismbstrail(U(kBig5), U(kBig5 + 2)));
  EXPECT_FALSE(_ismbstrail(U(kBig5), U(kBig5 + 4)));
}

TEST(MbString, StepsAndCountsCharacters) {
  brambolt::ScopedCodePage big5(950);
  EXPECT_EQ(_mbslen(U(kBig5)), 5u);
  EXPECT_EQ(_mbsinc(U(kBig5 + 1)), U(kBig5 + 3));
  EXPECT_EQ(_mbsdec(U(kBig5), U(kBig5 + 3)), U(kBig5 + 1));
  EXPECT_EQ(_mbsdec(U(kBig5), U(kBig5 + 7)), U(kBig5 + 5));
  EXPECT_EQ(_mbsdec(U(kBig5), U(kBig5)), nullptr);
  EXPECT_EQ(_mbsnextc(U(kBig5 + 1)), 0xA55Cu);
  EXPECT_EQ(_mbsnextc(U(kBig5)), static_cast<unsigned>('a'));
  EXPECT_EQ(_mbclen(U(kBig5 + 1)), 2u);
  EXPECT_EQ(_mbsninc(U(kBig5), 2), U(kBig5 + 3));
  EXPECT_EQ(_mbsnbcnt(U(kBig5), 3), 4u);
  EXPECT_EQ(_mbsnccnt(U(kBig5), 4), 3u);
}

TEST(MbString, SearchesNeverMatchTrailBytes) {
  brambolt::ScopedCodePage big5(950);
  // The only real backslash is the one after 'b'.
  EXPECT_EQ(_mbschr(U(kBig5), '\\'), U(kBig5 + 4));
  EXPECT_EQ(_mbsrchr(U(kBig5), '\\'), U(kBig5 + 4));
  EXPECT_EQ(_mbschr(U(kBig5), 0xB35C), U(kBig5 + 5));
  EXPECT_EQ(_mbschr(U(kBig5), 0), U(kBig5 + 7));
  EXPECT_EQ(_mbsstr(U(kBig5), U("\\")), U(kBig5 + 4));
  const char mixed[] = "\xA4\xA4\xA4\xA4";  // 中中: "A4 A4" also appears across the middle
  EXPECT_EQ(_mbsstr(U(mixed), U("\xA4\xA4")), U(mixed));
  const char shifted[] = "x\xA5\xA4\xA4";  // A5 A4 is one character, A4 alone is cut
  EXPECT_EQ(_mbsstr(U(shifted), U("\xA4\xA4")), nullptr);
  EXPECT_EQ(_mbspbrk(U(kBig5), U("\\b")), U(kBig5 + 3));
  // A search string longer than what is left is compared only up to the end of the text.
  std::vector<unsigned char> exact{'a', 'b', 'c', 0};
  EXPECT_EQ(_mbsstr(exact.data(), U("bcdefghijklmnop")), nullptr);
  EXPECT_EQ(_mbsstr(exact.data(), U("c")), exact.data() + 2);
  EXPECT_EQ(_mbscspn(U(kBig5), U("\\")), 4u);
  EXPECT_EQ(_mbsspn(U("aab\xA5\x5C"), U("ab")), 3u);
  EXPECT_EQ(_tcschr(kBig5, '\\'), kBig5 + 4);
}

TEST(MbString, ComparisonsGoByCharacter) {
  brambolt::ScopedCodePage big5(950);
  EXPECT_EQ(_mbsicmp(U("Hello\xA4\x61"), U("hELLO\xA4\x61")), 0);
  EXPECT_NE(_mbsicmp(U("\xA4\x61"), U("\xA4\x41")), 0);  // trail bytes are not letters
  EXPECT_LT(_mbsicmp(U("abc"), U("ABD")), 0);
  EXPECT_LT(_mbsicmp(U("a_"), U("AB")), 0);  // folded to lower case, '_' sorts before letters
  EXPECT_GT(_mbscmp(U("\xA4\xA4"), U("z")), 0);
  EXPECT_LT(_mbscmp(U("ab"), U("abc")), 0);
  EXPECT_EQ(_mbsnbcmp(U("abX"), U("abY"), 2), 0);
  EXPECT_NE(_mbsnbcmp(U("abX"), U("abY"), 3), 0);
  EXPECT_EQ(_mbsnbicmp(U("ABx"), U("aby"), 2), 0);
  EXPECT_EQ(_mbsncmp(U("\xA4\xA4x"), U("\xA4\xA4y"), 1), 0);
  EXPECT_NE(_mbsncmp(U("\xA4\xA4x"), U("\xA4\xA4y"), 2), 0);
  EXPECT_EQ(_mbsnicmp(U("\xA4\xA4X"), U("\xA4\xA4x"), 2), 0);
  EXPECT_EQ(_tcsicmp("ABC", "abc"), 0);
}

TEST(MbString, CaseConversionLeavesTrailBytes) {
  brambolt::ScopedCodePage big5(950);
  char text[] = "ab\xA4\x61\xA7\x40Z";
  _mbsupr(U(text));
  EXPECT_STREQ(text, "AB\xA4\x61\xA7\x40Z");
  _mbslwr(U(text));
  EXPECT_STREQ(text, "ab\xA4\x61\xA7\x40z");
  EXPECT_EQ(_mbctoupper('q'), static_cast<unsigned>('Q'));
  EXPECT_EQ(_mbctoupper(0xA461), 0xA461u);
}

TEST(MbString, ReverseKeepsDoubleByteCharactersWhole) {
  brambolt::ScopedCodePage big5(950);
  char text[] = "a\xA4\xA4" "b\xA5\x5C";
  _mbsrev(U(text));
  EXPECT_STREQ(text, "\xA5\x5C" "b\xA4\xA4" "a");
  char empty[] = "";
  EXPECT_EQ(_mbsrev(U(empty)), U(empty));
  EXPECT_STREQ(empty, "");
}

struct BoundedCopyCase {
  UINT codePage;
  const char* source;
  size_t count;
  const char* expected;
};

TEST(MbString, BoundedCopiesNeverSplitACharacter) {
  const BoundedCopyCase cases[] = {
      {936, "ab\xD6\xD0\xCE\xC4", 3, "ab"},  {936, "ab\xD6\xD0\xCE\xC4", 4, "ab\xD6\xD0"},
      {936, "\xD6\xD0\xCE\xC4", 1, ""},      {950, "\xA5\x5C\xA5\x5C", 3, "\xA5\x5C"},
      {1252, "ab\xD6\xD0", 3, "ab\xD6"},     {936, "abc", 8, "abc"}};
  for (const auto& c : cases) {
    brambolt::ScopedCodePage page(c.codePage);
    unsigned char buffer[16];
    std::memset(buffer, 'X', sizeof(buffer));
    _mbsnbcpy(buffer, U(c.source), c.count);
    size_t expectedLength = std::strlen(c.expected);
    EXPECT_EQ(std::memcmp(buffer, c.expected, expectedLength), 0) << c.source << " " << c.count;
    for (size_t i = expectedLength; i < c.count; ++i) EXPECT_EQ(buffer[i], 0) << i;  // padded
    EXPECT_EQ(buffer[c.count], 'X');  // nothing beyond count
  }
}

TEST(MbString, BoundedCopyOfZeroBytesWritesNothing) {
  brambolt::ScopedCodePage page(936);
  unsigned char buffer[4] = {'X', 'X', 'X', 'X'};
  _mbsnbcpy(buffer, U("\xD6\xD0"), 0);
  EXPECT_EQ(buffer[0], 'X');
  char dest[8] = "ab";
  _mbsnbcat(U(dest), U("c\xD6\xD0"), 2);
  EXPECT_STREQ(dest, "abc");
}

TEST(MbString, SingleBytePageTreatsEveryByteAlone) {
  brambolt::ScopedCodePage page(1252);
  EXPECT_EQ(_mbslen(U("\xD6\xD0\xCE")), 3u);
  const char text[] = "\xD6\x5C";
  EXPECT_EQ(_mbschr(U(text), '\\'), U(text + 1));
}

}  // namespace

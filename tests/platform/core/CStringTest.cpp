// CString: value semantics, editing edge cases, formatting, buffers and double-byte safety.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/core.h"

namespace {

template <class... Args>
CString Fmt(LPCTSTR lpszFormat, const Args&... args) {
  CString s;
  s.Format(lpszFormat, args...);
  return s;
}

std::string Str(const CString& s) { return std::string(static_cast<LPCTSTR>(s), s.GetLength()); }

}  // namespace

TEST(CStringValue, CopiesAreIndependent) {
  CString a("shared");
  CString b = a;
  b.SetAt(0, 'S');
  b += "!";
  EXPECT_STREQ(a, "shared");
  EXPECT_STREQ(b, "Shared!");
}

TEST(CStringValue, CopiesOnManyThreadsStayIntact) {
  const CString source("thread-safe value");
  std::vector<std::thread> threads;
  std::vector<int> failures(8, 0);
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        CString copy = source;
        copy += static_cast<TCHAR>('a' + t);
        if (copy.GetLength() != source.GetLength() + 1 || copy.Left(source.GetLength()) != source) ++failures[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int f : failures) EXPECT_EQ(f, 0);
  EXPECT_STREQ(source, "thread-safe value");
}

TEST(CStringValue, ConstructionForms) {
  EXPECT_STREQ(CString('x', 3), "xxx");
  EXPECT_TRUE(CString('x', 0).IsEmpty());
  EXPECT_TRUE(CString(static_cast<LPCTSTR>(nullptr)).IsEmpty());
  CString withNul("ab\0cd", 5);
  EXPECT_EQ(withNul.GetLength(), 5);
  EXPECT_EQ(withNul[3], 'c');
  EXPECT_TRUE(CString("abc", -1).IsEmpty());
}

TEST(CStringValue, ConcatenationWithCharsAndPointers) {
  CString s("mid");
  EXPECT_STREQ(s + 'x', "midx");
  EXPECT_STREQ('x' + s, "xmid");
  EXPECT_STREQ(s + "end", "midend");
  EXPECT_STREQ("start" + s, "startmid");
  EXPECT_STREQ(s + s, "midmid");
  s += 'A';
  s += "B";
  s += CString("C");
  s += static_cast<LPCTSTR>(nullptr);
  EXPECT_STREQ(s, "midABC");
  s = s.Mid(1);  // assigning a part of itself
  EXPECT_STREQ(s, "idABC");
}

TEST(CStringValue, ComparisonsAreByteOrder) {
  CString b("b");
  EXPECT_TRUE(b == "b");
  EXPECT_TRUE("b" == b);
  EXPECT_TRUE(b != "B");
  EXPECT_TRUE(b > "a" && "a" < b && b >= "b" && b <= "c");
  EXPECT_LT(CString("abc").Compare("abd"), 0);
  EXPECT_EQ(CString("ABC").CompareNoCase("abc"), 0);
  EXPECT_GT(CString("abd").CompareNoCase("ABC"), 0);
  EXPECT_LT(CString("ab").CompareNoCase("abc"), 0);
  EXPECT_EQ(CString("Abc").CollateNoCase("aBC"), 0);
}

TEST(CStringValue, IndexingOutOfRangeIsHarmless) {
  CString s("ab");
  EXPECT_EQ(s.GetAt(1), 'b');
  EXPECT_EQ(s.GetAt(2), '\0');
  EXPECT_EQ(s.GetAt(-1), '\0');
  s.SetAt(5, 'x');
  s.SetAt(-1, 'x');
  EXPECT_STREQ(s, "ab");
}

TEST(CStringExtract, MidLeftRightClampTheirArguments) {
  CString s("abcdef");
  EXPECT_STREQ(s.Mid(2, 3), "cde");
  EXPECT_STREQ(s.Mid(4, 10), "ef");
  EXPECT_STREQ(s.Mid(-3, 2), "ab");
  EXPECT_STREQ(s.Mid(10), "");
  EXPECT_STREQ(s.Mid(2, -1), "");
  EXPECT_STREQ(s.Left(2), "ab");
  EXPECT_STREQ(s.Left(99), "abcdef");
  EXPECT_STREQ(s.Left(-1), "");
  EXPECT_STREQ(s.Right(2), "ef");
  EXPECT_STREQ(s.Right(99), "abcdef");
  EXPECT_STREQ(s.Right(-1), "");
}

TEST(CStringExtract, Spans) {
  CString s("12.5kg");
  EXPECT_STREQ(s.SpanIncluding("0123456789."), "12.5");
  EXPECT_STREQ(s.SpanIncluding("x"), "");
  EXPECT_STREQ(CString("name #comment").SpanExcluding(" #%;/\\"), "name");
  EXPECT_STREQ(CString("plain").SpanExcluding(" #%;/\\"), "plain");
}

TEST(CStringSearch, FindForms) {
  CString s("abcabc");
  EXPECT_EQ(s.Find('b'), 1);
  EXPECT_EQ(s.Find('b', 2), 4);
  EXPECT_EQ(s.Find('b', 5), -1);
  EXPECT_EQ(s.Find('b', 99), -1);
  EXPECT_EQ(s.Find('b', -4), 1);
  EXPECT_EQ(s.Find("ca"), 2);
  EXPECT_EQ(s.Find("bc", 2), 4);
  EXPECT_EQ(s.Find("bcd"), -1);
  EXPECT_EQ(s.Find(""), 0);
  EXPECT_EQ(s.ReverseFind('a'), 3);
  EXPECT_EQ(s.ReverseFind('z'), -1);
  EXPECT_EQ(s.FindOneOf("xyc"), 2);
  EXPECT_EQ(s.FindOneOf("xyz"), -1);
}

TEST(CStringEdit, ReplaceEdgeCases) {
  CString s("aaa");
  EXPECT_EQ(s.Replace("aa", "b"), 1);
  EXPECT_STREQ(s, "ba");
  s = "a.b.c";
  EXPECT_EQ(s.Replace(".", "::"), 2);
  EXPECT_STREQ(s, "a::b::c");
  EXPECT_EQ(s.Replace("::", ""), 2);
  EXPECT_STREQ(s, "abc");
  EXPECT_EQ(s.Replace("", "x"), 0);
  EXPECT_EQ(s.Replace("b", nullptr), 1);
  EXPECT_STREQ(s, "ac");
  EXPECT_EQ(s.Replace('a', 'z'), 1);
  EXPECT_STREQ(s, "zc");
  EXPECT_EQ(s.Replace('q', 'z'), 0);
}

TEST(CStringEdit, RemoveInsertDelete) {
  CString s("a-b-c");
  EXPECT_EQ(s.Remove('-'), 2);
  EXPECT_STREQ(s, "abc");
  EXPECT_EQ(s.Remove('x'), 0);
  EXPECT_EQ(s.Insert(1, 'X'), 4);
  EXPECT_STREQ(s, "aXbc");
  EXPECT_EQ(s.Insert(99, "end"), 7);
  EXPECT_STREQ(s, "aXbcend");
  EXPECT_EQ(s.Insert(-5, "<"), 8);
  EXPECT_STREQ(s, "<aXbcend");
  EXPECT_EQ(s.Delete(1, 2), 6);
  EXPECT_STREQ(s, "<bcend");
  EXPECT_EQ(s.Delete(3, 99), 3);
  EXPECT_STREQ(s, "<bc");
  EXPECT_EQ(s.Delete(99), 3);
  EXPECT_EQ(s.Delete(0, 0), 3);
  EXPECT_EQ(s.Delete(-2), 2);
  EXPECT_STREQ(s, "bc");
}

TEST(CStringEdit, CaseAndReverse) {
  CString s("Mixed Case 123");
  s.MakeUpper();
  EXPECT_STREQ(s, "MIXED CASE 123");
  s.MakeLower();
  EXPECT_STREQ(s, "mixed case 123");
  s.MakeReverse();
  EXPECT_STREQ(s, "321 esac dexim");
}

TEST(CStringTrim, OverloadsTrimOnlyTheirTargets) {
  struct Case {
    void (*trim)(CString&);
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {[](CString& s) { s.TrimLeft(); }, " \t\r\n\v\fx y ", "x y "},
      {[](CString& s) { s.TrimRight(); }, " x y \t\r\n", " x y"},
      {[](CString& s) { s.Trim(); }, "  x  ", "x"},
      {[](CString& s) { s.Trim(); }, " \t ", ""},
      {[](CString& s) { s.TrimLeft('x'); }, "xxaxx", "axx"},
      {[](CString& s) { s.TrimRight('x'); }, "xxaxx", "xxa"},
      {[](CString& s) { s.Trim('x'); }, "xxaxx", "a"},
      {[](CString& s) { s.TrimLeft("xy"); }, "yxyaxy", "axy"},
      {[](CString& s) { s.TrimRight("xy"); }, "yxaxyy", "yxa"},
      {[](CString& s) { s.Trim("xy"); }, "xyayx", "a"},
      {[](CString& s) { s.Trim(""); }, "xax", "xax"},
      // Only ASCII white space: NBSP (0xA0) and NEL (0x85) are text.
      {[](CString& s) { s.Trim(); }, "\xA0x\x85", "\xA0x\x85"},
  };
  for (const Case& c : cases) {
    CString s(c.input);
    c.trim(s);
    EXPECT_EQ(Str(s), c.expected) << "input: " << c.input;
  }
}

TEST(CStringFormat, PatternsOfTheApplication) {
  CString name("Bar");
  const std::pair<CString, const char*> cases[] = {
      {Fmt("%s%s%d", "a", "b", 3), "ab3"},
      {Fmt("%c", 'Q'), "Q"},
      {Fmt("%s(%u)", "file", 7u), "file(7)"},
      {Fmt("Ln %d, Col %d", 12, 4), "Ln 12, Col 4"},
      {Fmt("%d pt", 10), "10 pt"},
      {Fmt("%s-Bar%d", name, 2), "Bar-Bar2"},
      {Fmt("%s-Summary", name), "Bar-Summary"},
      {Fmt("Bar#%d", -1), "Bar#-1"},
      {Fmt("&%d %s", 1, "recent.dcp"), "&1 recent.dcp"},
      {Fmt("%d %%", 50), "50 %"},
      {Fmt("%s (%s)", name, CString("x")), "Bar (x)"},
      {Fmt("%s <%s>", "Name", "a@b"), "Name <a@b>"},
      {Fmt("%d,%d,%d,%d,%d,%d", 1, -2, 3, 4, 5, 6), "1,-2,3,4,5,6"},
      {Fmt("%.2d", 5), "05"},
      {Fmt("%5.1f|%-4s|", 3.14159, "ab"), "  3.1|ab  |"},
      {Fmt("%lu", 4000000000ul), "4000000000"},
      {Fmt("no arguments"), "no arguments"},
  };
  for (const auto& [actual, expected] : cases) EXPECT_STREQ(actual, expected);
}

TEST(CStringFormat, LongOutputAndSelfReference) {
  CString big('z', 5000);
  CString s;
  s.Format("[%s]", big);
  EXPECT_EQ(s.GetLength(), 5002);
  s = "abc";
  s.Format("%s-%s", static_cast<LPCTSTR>(s), static_cast<LPCTSTR>(s));
  EXPECT_STREQ(s, "abc-abc");
}

TEST(CStringBuffer, ReleaseBufferMeasuresOrTruncates) {
  CString s("old");
  LPTSTR p = s.GetBuffer(64);
  std::strcpy(p, "written by C");
  s.ReleaseBuffer();
  EXPECT_STREQ(s, "written by C");
  EXPECT_EQ(s.GetLength(), 12);

  p = s.GetBuffer(0);  // existing contents, edited in place
  p[0] = 'W';
  s.ReleaseBuffer(7);
  EXPECT_STREQ(s, "Written");

  p = s.GetBufferSetLength(3);
  EXPECT_EQ(s.GetLength(), 3);
  p[2] = 'X';
  s.ReleaseBuffer(-1);
  EXPECT_STREQ(s, "WrX");
  EXPECT_GE(s.GetAllocLength(), 3);
}

TEST(CStringResource, LoadStringGoesThroughTheLoader) {
  AfxSetStringLoader([](UINT nID, CString& rString) -> BOOL {
    if (nID == 100) rString = "Page: %d";
    else if (nID == 101) rString = "Hello";
    else return FALSE;
    return TRUE;
  });
  CString s;
  EXPECT_TRUE(s.LoadString(101));
  EXPECT_STREQ(s, "Hello");
  EXPECT_FALSE(s.LoadString(102));
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_STREQ(CString(MAKEINTRESOURCE(101)), "Hello");
  s.Format(100u, 3);
  EXPECT_STREQ(s, "Page: 3");
  AfxSetStringLoader(nullptr);
  EXPECT_FALSE(s.LoadString(101));
}

// In code page 936 a trail byte may equal '\\', '|' or a letter; it is part of its character.
class CStringDoubleByte : public ::testing::Test {
 protected:
  brambolt::ScopedCodePage codePage_{936};
};

TEST_F(CStringDoubleByte, TrailBytesAreNeverSeparators) {
  // "\x81\x5C" and "\x81\x7C" are double-byte characters whose trail bytes are '\\' and '|'.
  CString path("dir\\\x81\x5C" "file|\x81\x7C" "x");
  EXPECT_EQ(path.Find('\\'), 3);
  EXPECT_EQ(path.Find('\\', 4), -1);
  EXPECT_EQ(path.ReverseFind('\\'), 3);
  EXPECT_EQ(path.Find('|'), 10);
  EXPECT_EQ(path.ReverseFind('|'), 10);
  EXPECT_EQ(path.Find("\x5C" "f"), -1);
  EXPECT_EQ(path.Find("\x81\x5C"), 4);
  EXPECT_EQ(path.FindOneOf("|\\"), 3);
  EXPECT_EQ(CString("\x81\x5C" "a|").FindOneOf("|\\"), 3);
  EXPECT_STREQ(CString("\x81\x5C" "a|b").SpanExcluding("\\|"), "\x81\x5C" "a");
}

TEST_F(CStringDoubleByte, EditsKeepDoubleByteCharactersWhole) {
  CString s("\x81\x5C" "\\\x81\x7C" "|");
  EXPECT_EQ(s.Replace('\\', '/'), 1);
  EXPECT_EQ(Str(s), "\x81\x5C" "/\x81\x7C" "|");
  EXPECT_EQ(s.Remove('|'), 1);
  EXPECT_EQ(Str(s), "\x81\x5C" "/\x81\x7C");
  EXPECT_EQ(s.Replace("\x5C" "/", "!"), 0);

  CString t("a\x81\x5C");
  t.TrimRight('\\');
  EXPECT_EQ(Str(t), "a\x81\x5C");
  t = "\x81\x5C\\\\";
  t.TrimRight("\\");
  EXPECT_EQ(Str(t), "\x81\x5C");
  t = "\x81\x7C" "|";
  t.TrimRight("|\\");
  EXPECT_EQ(Str(t), "\x81\x7C");

  CString r("a\x81\x5C" "b");
  r.MakeReverse();
  EXPECT_EQ(Str(r), "b\x81\x5C" "a");
}

TEST_F(CStringDoubleByte, CaseFoldingSkipsTrailBytes) {
  CString s("a\x81\x61z\x81\x41");
  s.MakeUpper();
  EXPECT_EQ(Str(s), "A\x81\x61Z\x81\x41");
  s.MakeLower();
  EXPECT_EQ(Str(s), "a\x81\x61z\x81\x41");
  EXPECT_NE(CString("\x81\x41").CompareNoCase("\x81\x61"), 0);
  EXPECT_EQ(CString("X\x81\x41").CompareNoCase("x\x81\x41"), 0);
}

TEST(CStringSingleByte, Code1252TreatsEveryByteAsACharacter) {
  brambolt::ScopedCodePage codePage(1252);
  CString s("\x81\x5C");
  EXPECT_EQ(s.Find('\\'), 1);
  CString t("\x81\x41");
  EXPECT_EQ(t.CompareNoCase("\x81\x61"), 0);
  CString accented("\xE9t\xE9");  // "été"
  accented.MakeUpper();
  EXPECT_EQ(Str(accented), "\xC9T\xC9");
}

// The regular-expression object: the dialect's matching and replacement rules checked from a
// table, double-byte text, bounded work on hostile patterns, and the automation members the
// editor calls by dispatch identifier.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/CodePage.h"
#include "base/Convert.h"
#include "ole/RegExp.h"
#include "ole/ole.h"

using brambolt::ole::RegExp;
using brambolt::ole::RegExpMatch;
using brambolt::ole::RegExpStatus;

namespace {

// Every match as "index+length:text", joined by spaces; "error" when the call failed.
std::string Matches(RegExp& re, std::string_view subject) {
  std::vector<RegExpMatch> matches;
  if (!re.Execute(subject, matches)) return "error";
  std::string out;
  for (const RegExpMatch& m : matches) {
    if (!out.empty()) out += ' ';
    out += std::to_string(m.whole.index) + "+" + std::to_string(m.whole.length) + ":" +
           std::string(subject.substr(m.whole.index, m.whole.length));
  }
  return out;
}

struct MatchCase {
  const char* pattern;
  bool ignoreCase;
  bool global;
  const char* subject;
  const char* expected;  // as Matches() prints it
};

TEST(RegExp, MatchesFollowTheDialect) {
  const MatchCase cases[] = {
      // Quantifiers, greedy and lazy.
      {"a+", false, false, "baaac", "1+3:aaa"},
      {"a+?", false, false, "baaac", "1+1:a"},
      {"a{2}", false, true, "aaaaa", "0+2:aa 2+2:aa"},
      {"a{2,}", false, false, "caaaa", "1+4:aaaa"},
      {"a{1,2}?b", false, false, "aab", "0+3:aab"},
      {"<.*>", false, false, "<a><b>", "0+6:<a><b>"},
      {"<.*?>", false, true, "<a><b>", "0+3:<a> 3+3:<b>"},
      {"x{,2}", false, false, "x{,2}", "0+5:x{,2}"},  // not a quantifier: literal braces
      // Classes, groups, alternation, lookahead.
      {"[a-c]+", false, false, "xxbcay", "2+3:bca"},
      {"[^a-c]+", false, false, "abxyc", "2+2:xy"},
      {"[]", false, false, "abc", ""},
      {"[^]", false, false, "\nx", "0+1:\n"},
      {"(?:ab)+", false, false, "ababx", "0+4:abab"},
      {"cat|dog", false, true, "hotdog cat", "3+3:dog 7+3:cat"},
      {"foo(?=bar)", false, false, "foobaz foobar", "7+3:foo"},
      {"foo(?!bar)", false, false, "foobar foobaz", "7+3:foo"},
      // Back-references, including to a group that took no part, and octal past the group count.
      {"(a)\\1", false, false, "xaay", "1+2:aa"},
      {"(a)|b\\1", false, false, "b", "0+1:b"},
      {"(a)\\2", false, false, "a\x02", "0+2:a\x02"},
      {"\\101", false, false, "zA", "1+1:A"},
      {"a\\0?b", false, false, "ab", "0+2:ab"},
      // Escapes.
      {"\\d+\\s\\w+", false, false, "no 42 ab_c", "3+7:42 ab_c"},
      {"\\bis\\b", false, false, "this is", "5+2:is"},
      {"\\Bis", false, false, "is this", "5+2:is"},
      {"\\x41\\u0042", false, false, "zAB", "1+2:AB"},
      {"\\t\\v\\f", false, false, "a\t\v\fb", "1+3:\t\v\f"},
      {"\\cJ", false, false, "a\nb", "1+1:\n"},
      {"\\A\\z", false, false, "Az", "0+2:Az"},  // letters PCRE reads as anchors are letters here
      // Anchors hold only at the ends; dot excludes only LF.
      {"^b", false, false, "a\nb", ""},
      {"a$", false, false, "a\n", ""},
      {"a$", false, false, "ba", "1+1:a"},
      {"a.c", false, true, "a\nc a\rc", "4+3:a\rc"},
      // Case.
      {"ABC", true, false, "xabc", "1+3:abc"},
      {"ABC", false, false, "xabc", ""},
      // Empty matches step one character in a global search.
      {"x*", false, true, "ab", "0+0: 1+0: 2+0:"},
      {"a*", false, true, "aab", "0+2:aa 2+0: 3+0:"},
  };
  for (const MatchCase& c : cases) {
    RegExp re;
    re.SetPattern(c.pattern);
    re.SetIgnoreCase(c.ignoreCase);
    re.SetGlobal(c.global);
    EXPECT_EQ(Matches(re, c.subject), c.expected) << "/" << c.pattern << "/ on \"" << c.subject << "\"";
  }
}

struct ReplaceCase {
  const char* pattern;
  bool global;
  const char* subject;
  const char* with;
  const char* expected;
};

TEST(RegExp, ReplacementTemplateAndGlobalReplace) {
  const ReplaceCase cases[] = {
      {"(\\w+) (\\w+)", false, "hello world", "$2 $1", "world hello"},
      {"b", false, "abc", "[$`|$&|$']", "a[a|b|c]c"},
      {"b", false, "abc", "$$", "a$c"},
      {"b", false, "abc", "$3$0$", "a$3$0$c"},        // no such groups: literal
      {"(b)", false, "abc", "$12", "ab2c"},            // $1 then 2: group 12 does not exist
      {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", false, "abcdefghijk", "$11-$10", "k-j"},
      {"(x)?b", false, "ab", "[$1]", "a[]"},            // a group that took no part is empty
      {"o", true, "foo boo", "0", "f00 b00"},
      {"o", false, "foo boo", "0", "f0o boo"},
      {"x*", true, "abc", "-", "-a-b-c-"},
      {"a*", true, "baaac", "-", "-b--c-"},
      {"q", true, "abc", "-", "abc"},
  };
  for (const ReplaceCase& c : cases) {
    RegExp re;
    re.SetPattern(c.pattern);
    re.SetGlobal(c.global);
    std::string out;
    EXPECT_TRUE(re.Replace(c.subject, c.with, out)) << c.pattern;
    EXPECT_EQ(out, c.expected) << "/" << c.pattern << "/ on \"" << c.subject << "\" with \"" << c.with << "\"";
  }
}

TEST(RegExp, InvalidPatternsFailWithAReason) {
  for (const char* pattern : {"(", "a)", "[a", "*a", "a**", "a++", "a{3,1}", "(?<=a)b", "(?<n>a)", "(?i)a",
                              "\\", "(*LIMIT_MATCH=1)a", "[z-a]"}) {
    RegExp re;
    re.SetPattern(pattern);
    std::vector<RegExpMatch> matches;
    EXPECT_FALSE(re.Execute("abc", matches)) << pattern;
    EXPECT_EQ(re.Status(), RegExpStatus::badPattern) << pattern;
    EXPECT_NE(re.ErrorText().find("Syntax error"), std::string::npos) << pattern;
  }
}

TEST(RegExp, CatastrophicPatternsEndAsNoMatch) {
  std::string as(30000, 'a');
  for (const char* pattern : {"(a+)+b", "(a|aa)+c", "(a*)*b"}) {
    RegExp re;
    re.SetPattern(pattern);
    EXPECT_FALSE(re.Test(as)) << pattern;
    std::vector<RegExpMatch> matches;
    re.Execute(as + "!", matches);
    EXPECT_TRUE(matches.empty()) << pattern;
    EXPECT_TRUE(re.Status() == RegExpStatus::ok || re.Status() == RegExpStatus::tooComplex) << pattern;
  }
  // Nested quantifiers that the engine cannot cut short: the work limit ends them.
  RegExp re;
  re.SetPattern("^(\\w+\\s?)*$");
  std::string words;
  for (int i = 0; i < 40; ++i) words += "word ";
  words += "!";
  EXPECT_FALSE(re.Test(words));
  EXPECT_EQ(re.Status(), RegExpStatus::tooComplex);
  EXPECT_FALSE(re.ErrorText().empty());
}

TEST(RegExp, LargeSubjectsMatchWithoutExhaustingTheStack) {
  std::string text(256000, 'a');
  for (size_t i = 79; i < text.size(); i += 80) text[i] = '\n';
  text[200000] = 'x';
  RegExp re;
  re.SetPattern(".*x");
  std::vector<RegExpMatch> matches;
  ASSERT_TRUE(re.Execute(text, matches));
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].whole.index + matches[0].whole.length, 200001u);
  re.SetPattern("(a|\\n)*x");
  ASSERT_TRUE(re.Execute(text, matches));
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].whole.index, 0u);
}

TEST(RegExp, DoubleByteTextMatchesWholeCharactersAtByteOffsets) {
  brambolt::ScopedCodePage page(936);
  auto gb = [](const char* utf8) { return brambolt::Utf8ToAnsi(utf8, 936); };
  std::string zhong = gb("中");  // D6 D0
  std::string text = gb("中文ABC中文abc");
  RegExp re;
  re.SetIgnoreCase(true);
  re.SetPattern(gb("文abc"));
  std::vector<RegExpMatch> matches;
  ASSERT_TRUE(re.Execute(text, matches));
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].whole.index, 2u);  // bytes, after one double-byte character
  EXPECT_EQ(matches[0].whole.length, 5u);

  // A dot, a negated class and \W take a double-byte character whole.
  re.SetIgnoreCase(false);
  for (const char* pattern : {"^.", "^[^x]", "^\\W", "^[\\u4E2D]"}) {
    re.SetPattern(pattern);
    ASSERT_TRUE(re.Execute(text, matches)) << pattern;
    ASSERT_EQ(matches.size(), 1u) << pattern;
    EXPECT_EQ(matches[0].whole.length, 2u) << pattern;
  }

  // A trail byte that looks like a letter is not a letter: "@" is the trail of 0x81 0x40 here.
  std::string trailAt = std::string("\x81\x40", 2) + "@";
  re.SetPattern("@");
  ASSERT_TRUE(re.Execute(trailAt, matches));
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].whole.index, 2u);

  // With IgnoreCase the bytes of a double-byte character are compared as they are: 0x81 0x61
  // and 0x81 0x41 are different characters.
  re.SetIgnoreCase(true);
  re.SetPattern(std::string("\x81\x61", 2));
  EXPECT_FALSE(re.Test(std::string("\x81\x41", 2)));
  EXPECT_TRUE(re.Test(std::string("x\x81\x61", 3)));

  // Global replace steps over a whole character after an empty match.
  re.SetGlobal(true);
  re.SetPattern("x*");
  std::string out;
  ASSERT_TRUE(re.Replace(gb("中文"), "-", out));
  EXPECT_EQ(out, "-" + zhong + "-" + gb("文") + "-");
}

// On double-byte text the search costs what it costs on single-byte text: a match the engine
// finds inside a character is given up where it is found, not searched for again from the next
// character over the rest of the text (which took minutes on half a megabyte).
TEST(RegExp, DoubleByteTextIsSearchedInOnePass) {
  brambolt::ScopedCodePage page(936);
  std::string text;
  for (int i = 0; i < 250000; ++i) text += "\xD6\xD0";  // one character, whose trail byte is D0
  const std::string tail = text + "X";
  RegExp re;
  // D0 is only ever a trail byte here: no match may start there, though one to the end would.
  re.SetPattern("\\xD0[^X]*X");
  EXPECT_EQ(Matches(re, tail), "");
  EXPECT_EQ(re.Status(), RegExpStatus::ok);
  // A match that ends inside a character backtracks to the next end that does not.
  re.SetPattern(".*\\xD6");
  EXPECT_EQ(Matches(re, "\xD6\xD0\xD6\xD0" + std::string("\xD6")), "0+5:\xD6\xD0\xD6\xD0\xD6");
  EXPECT_EQ(Matches(re, std::string("\xD6\xD0\xD6\xD0")), "");
  re.SetGlobal(true);
  re.SetPattern("[^X]X");
  EXPECT_EQ(Matches(re, tail), std::to_string(tail.size() - 3) + "+3:\xD6\xD0X");
}

// IgnoreCase takes letters beyond ASCII in their other case too: accented letters of code page
// 1252, and full-width, Greek and Cyrillic letters of GB2312 and Big5; without it they differ.
TEST(RegExp, IgnoreCaseReachesLettersBeyondAscii) {
  struct Case {
    unsigned codePage;
    const char* pattern;  // UTF-8, converted to the code page
    const char* subject;
    bool withoutCase;  // matches when IgnoreCase is on
    bool withCase;     // matches when it is off
  };
  for (const Case& c : {Case{1252, "caf\u00e9", "CAF\u00c9", true, false},
                        Case{1252, "[\u00e0-\u00e9]", "\u00c8", true, false},
                        Case{1252, "[^\u00e9]", "\u00c9", false, true},
                        Case{936, "\uff41\u03b1", "\uff21\u0391", true, false},
                        Case{936, "[\u0430-\u044f]+", "\u0416\u0416", true, false},
                        Case{950, "\uff42", "\uff22", true, false}, Case{936, "\u4e2d", "\u4e2d", true, true}}) {
    brambolt::ScopedCodePage page(c.codePage);
    RegExp re;
    re.SetPattern("^" + brambolt::Utf8ToAnsi(c.pattern, c.codePage) + "$");
    const std::string subject = brambolt::Utf8ToAnsi(c.subject, c.codePage);
    re.SetIgnoreCase(true);
    EXPECT_EQ(re.Test(subject), c.withoutCase) << c.codePage << " " << c.pattern << " " << c.subject;
    re.SetIgnoreCase(false);
    EXPECT_EQ(re.Test(subject), c.withCase) << c.codePage << " " << c.pattern << " " << c.subject;
  }
}

// The members the editor's adapter calls by dispatch identifier.
TEST(RegExpObject, DriverCallsMembersByDispatchIdentifier) {
  COleDispatchDriver re;
  ASSERT_TRUE(re.CreateDispatch("VBScript.RegExp"));
  re.SetProperty(DISPID_REGEXP_GLOBAL, VT_BOOL, FALSE);
  re.SetProperty(DISPID_REGEXP_IGNORECASE, VT_BOOL, TRUE);
  re.SetProperty(DISPID_REGEXP_PATTERN, VT_BSTR, "(b+)(c)?");
  CString pattern;
  re.GetProperty(DISPID_REGEXP_PATTERN, VT_BSTR, &pattern);
  EXPECT_STREQ(pattern, "(b+)(c)?");
  BOOL ignoreCase = FALSE;
  re.GetProperty(DISPID_REGEXP_IGNORECASE, VT_BOOL, &ignoreCase);
  EXPECT_TRUE(ignoreCase);

  static const BYTE textParam[] = VTS_BSTR;
  LPDISPATCH matchesDispatch = nullptr;
  re.InvokeHelper(DISPID_REGEXP_EXECUTE, DISPATCH_METHOD, VT_DISPATCH, &matchesDispatch, textParam, "aBBd");
  ASSERT_NE(matchesDispatch, nullptr);
  COleDispatchDriver matches(matchesDispatch);
  LONG count = 0;
  matches.GetProperty(DISPID_MATCHES_COUNT, VT_I4, &count);
  ASSERT_EQ(count, 1);
  static const BYTE indexParam[] = VTS_I4;
  LPDISPATCH matchDispatch = nullptr;
  matches.InvokeHelper(DISPID_MATCHES_ITEM, DISPATCH_PROPERTYGET, VT_DISPATCH, &matchDispatch, indexParam, 0);
  COleDispatchDriver match(matchDispatch);
  CString value;
  LONG index = -1, length = -1;
  match.GetProperty(DISPID_MATCH_VALUE, VT_BSTR, &value);
  match.GetProperty(DISPID_MATCH_FIRSTINDEX, VT_I4, &index);
  match.GetProperty(DISPID_MATCH_LENGTH, VT_I4, &length);
  EXPECT_STREQ(value, "BB");
  EXPECT_EQ(index, 1);
  EXPECT_EQ(length, 2);
  LPDISPATCH subDispatch = nullptr;
  match.GetProperty(DISPID_MATCH_SUBMATCHES, VT_DISPATCH, &subDispatch);
  COleDispatchDriver subMatches(subDispatch);
  VARIANT second;
  subMatches.InvokeHelper(DISPID_VALUE, DISPATCH_PROPERTYGET, VT_VARIANT, &second, indexParam, 1);
  EXPECT_EQ(second.vt, VT_EMPTY);  // (c)? took no part
  CString first;
  subMatches.InvokeHelper(DISPID_VALUE, DISPATCH_PROPERTYGET, VT_BSTR, &first, indexParam, 0);
  EXPECT_STREQ(first, "BB");

  static const BYTE replaceParams[] = VTS_BSTR VTS_BSTR;
  re.SetProperty(DISPID_REGEXP_GLOBAL, VT_BOOL, TRUE);
  CString replaced;
  re.InvokeHelper(DISPID_REGEXP_REPLACE, DISPATCH_METHOD, VT_BSTR, &replaced, replaceParams, "ab abb", "<$1>");
  EXPECT_STREQ(replaced, "a<b> a<bb>");
  BOOL found = FALSE;
  re.InvokeHelper(DISPID_REGEXP_TEST, DISPATCH_METHOD, VT_BOOL, &found, textParam, "xyz");
  EXPECT_FALSE(found);
}

TEST(RegExpObject, BadPatternRaisesADispatchExceptionAndUnknownClassesFail) {
  COleDispatchDriver re;
  ASSERT_TRUE(re.CreateDispatch("vbscript.regexp"));
  re.SetProperty(DISPID_REGEXP_PATTERN, VT_BSTR, "a(");
  static const BYTE textParam[] = VTS_BSTR;
  LPDISPATCH matches = nullptr;
  bool caught = false;
  TRY { re.InvokeHelper(DISPID_REGEXP_EXECUTE, DISPATCH_METHOD, VT_DISPATCH, &matches, textParam, "a"); }
  CATCH(COleDispatchException, e) {
    caught = true;
    EXPECT_EQ(e->m_scError, REGEXP_E_SYNTAX);
    EXPECT_NE(e->m_strDescription.Find("Syntax error"), -1);
  }
  END_CATCH
  EXPECT_TRUE(caught);
  EXPECT_EQ(matches, nullptr);

  COleDispatchDriver none;
  COleException error;
  EXPECT_FALSE(none.CreateDispatch("No.Such.Object", &error));
  EXPECT_EQ(error.m_sc, CO_E_CLASSSTRING);
  EXPECT_EQ(none.m_lpDispatch, nullptr);
}

}  // namespace

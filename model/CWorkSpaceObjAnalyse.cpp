// The header analyser: a line-oriented reader of C++ headers that turns each class into a class
// record with its base names, member functions and member variables. It is not a parser of the
// language: it recognises class heads by their first word, follows the class body statement by
// statement, drops comments, preprocessor lines and bodies, and splits declarations at blanks.
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <iterator>
#include <memory>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "base/CodePage.h"
#include "foundation/SECFileSystem.h"
#include "model/AFBig2GBObj.h"
#include "model/BaseClassIndex.h"
#include "model/CWorkSpaceObj.h"
#include "model/DocPages.h"
#include "model/ShellServices.h"
#include "os/Paths.h"

namespace {

// Statements are examined through views and copied into strings only where a record keeps them.
using Text = std::string_view;
constexpr size_t npos = Text::npos;

Text View(const CString& str) { return Text(static_cast<LPCTSTR>(str), static_cast<size_t>(str.GetLength())); }
CString Str(Text text) { return CString(text.data(), static_cast<int>(text.size())); }
int Index(size_t nAt) { return nAt == npos ? -1 : static_cast<int>(nAt); }

// The token searches of CountOccurrences follow the code page: bytes below 0x40 are never part of
// a double-byte character, so tokens of them are matched byte by byte; other tokens are matched
// only at character starts in text with bytes of 0x80 and above.
bool IsLowByte(char ch) { return static_cast<unsigned char>(ch) < 0x40; }

bool HasHighBytes(Text text) {
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if ((word & 0x8080808080808080ull) != 0) return true;
  }
  for (; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return true;
  return false;
}

bool IsLowToken(Text token) { return std::all_of(token.begin(), token.end(), IsLowByte); }

size_t FindToken(Text text, Text token, size_t nFrom = 0) {
  if (IsLowToken(token) || !HasHighBytes(text)) return text.find(token, nFrom);
  for (size_t i = nFrom; i + token.size() <= text.size();) {
    if (text.compare(i, token.size(), token) == 0) return i;
    i = brambolt::NextCharacter(text, i);
  }
  return npos;
}

// Matches are counted from the character after the start of the previous one, so they overlap.
int Count(Text text, Text token) {
  if (token.empty()) return 0;
  int nCount = 0;
  for (size_t nAt = FindToken(text, token); nAt != npos; nAt = FindToken(text, token, nAt + 1)) ++nCount;
  return nCount;
}

int CountByte(Text code, char ch) { return static_cast<int>(std::count(code.begin(), code.end(), ch)); }

// The words compared are a few bytes long: a loop costs less than a call to memcmp.
bool SameBytes(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// The word test: the text's first characters are the word.
bool StartsWith(Text text, Text word) {
  return text.size() >= word.size() && SameBytes(text.data(), word.data(), word.size());
}

// Endings are tested on code (see Code below), where every byte is a character of its own.
bool EndsWith(Text code, Text end) {
  return code.size() >= end.size() && SameBytes(code.data() + code.size() - end.size(), end.data(), end.size());
}

bool IsBlankByte(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

Text Trimmed(Text text) {
  while (!text.empty() && IsBlankByte(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankByte(text.back())) text.remove_suffix(1);
  return text;
}

// Trims white space at both ends in place.
void TrimBlanks(CString& str) {
  Text all = View(str);
  Text kept = Trimmed(all);
  if (kept.size() == all.size()) return;
  LPTSTR p = str.GetBuffer(str.GetLength());
  std::memmove(p, kept.data(), kept.size());
  str.ReleaseBuffer(static_cast<int>(kept.size()));
}

// Cuts the string after nLength bytes and trims it, in place.
void CutAndTrim(CString& str, int nLength) {
  str.GetBuffer(str.GetLength());
  str.ReleaseBuffer(nLength);
  TrimBlanks(str);
}

bool IsNameByte(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return c == '_' || c >= 0x80 || (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

// ---- Literals, double-byte characters and code ----
// Headers are written in the double-byte code pages of the project (GB2312/GBK and Big5), whose
// trail bytes include "{", "}", "\" and "|"; whatever code page the program runs in, a lead byte
// 0x81-0xFE with such a trail is one character, and never punctuation.
bool IsDoubleByte(Text text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x81 || lead == 0xFF || i + 1 >= text.size()) return false;
  const auto trail = static_cast<unsigned char>(text[i + 1]);
  return (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFE);
}

// A "'" between the digits of a number (1'000) opens no character literal.
bool IsDigitSeparator(Text text, size_t nQuote) {
  size_t i = nQuote;
  while (i > 0 && (IsNameByte(text[i - 1]) || text[i - 1] == '\'')) --i;
  return i < nQuote && text[i] >= '0' && text[i] <= '9';
}

bool OpensLiteral(Text text, size_t i) { return text[i] == '"' || (text[i] == '\'' && !IsDigitSeparator(text, i)); }

// The offset after the literal whose quote is at nQuote: after its closing quote, or the end of
// the line for a literal that does not close on it. Escapes and double-byte characters are
// stepped over whole, so a trail byte "\" escapes nothing.
size_t LiteralEnd(Text text, size_t nQuote) {
  const char quote = text[nQuote];
  if (quote == '"' && nQuote > 0 && text[nQuote - 1] == 'R' &&
      (nQuote < 2 || !IsNameByte(text[nQuote - 2]) || std::strchr("8uUL", text[nQuote - 2]) != nullptr)) {
    // A raw string: R"delimiter( ... )delimiter".
    const size_t nParen = text.find('(', nQuote + 1);
    if (nParen != npos) {
      std::string close = ")" + std::string(text.substr(nQuote + 1, nParen - nQuote - 1)) + "\"";
      const size_t nClose = text.find(close, nParen + 1);
      return nClose == npos ? text.size() : nClose + close.size();
    }
  }
  for (size_t i = nQuote + 1; i < text.size();) {
    if (text[i] == quote) return i + 1;
    i += text[i] == '\\' || IsDoubleByte(text, i) ? 2 : 1;
  }
  return text.size();
}

// Whether the text holds a quote or a byte of 0x80 and above; eight bytes at a time.
bool NeedsCode(Text text) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHigh = 0x8080808080808080ull;
  auto hasByte = [](uint64_t word, uint64_t byte) {
    const uint64_t x = word ^ (byte * kOnes);
    return ((x - kOnes) & ~x & kHigh) != 0;
  };
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if ((word & kHigh) != 0 || hasByte(word, '"') || hasByte(word, '\'')) return true;
  }
  for (; i < text.size(); ++i)
    if (text[i] == '"' || text[i] == '\'' || static_cast<unsigned char>(text[i]) >= 0x80) return true;
  return false;
}

// The code of a comment-free text: the same bytes, but the characters inside string and
// character literals (not their quotes) and every byte of 0x80 and above become 'x', a letter.
// Offsets carry over between a text and its code, so punctuation is searched in the code and
// the text is cut at what is found. Text without quotes and high bytes is its own code.
Text Code(Text text, std::string& buffer) {
  if (!NeedsCode(text)) return text;
  buffer.assign(text);
  for (size_t i = 0; i < text.size();) {
    if (OpensLiteral(text, i)) {
      const size_t nEnd = LiteralEnd(text, i);
      const bool bClosed = nEnd > i + 1 && text[nEnd - 1] == text[i];
      std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(i + 1),
                buffer.begin() + static_cast<std::ptrdiff_t>(bClosed ? nEnd - 1 : nEnd), 'x');
      i = nEnd;
    } else if (static_cast<unsigned char>(text[i]) >= 0x80) {
      const size_t nLength = IsDoubleByte(text, i) ? 2 : 1;
      buffer[i] = 'x';
      buffer[i + nLength - 1] = 'x';
      i += nLength;
    } else {
      ++i;
    }
  }
  return buffer;
}

// A text and its code, cut and trimmed together.
struct Source {
  Text text;
  Text code;

  Source Sub(size_t nFrom, size_t nCount = npos) const { return {text.substr(nFrom, nCount), code.substr(nFrom, nCount)}; }
  Source Left(size_t nCount) const { return Sub(0, nCount); }
  Source Trim() const {
    size_t nBegin = 0;
    size_t nEnd = code.size();
    while (nBegin < nEnd && IsBlankByte(code[nBegin])) ++nBegin;
    while (nEnd > nBegin && IsBlankByte(code[nEnd - 1])) --nEnd;
    return Sub(nBegin, nEnd - nBegin);
  }
  bool Empty() const { return code.empty(); }
};

// Whether the line ends in a backslash that is code (not the trail byte of a double-byte
// character): the bytes of 0x81 and above before it pair up from the left.
bool EndsInBackslash(Text line) {
  if (line.empty() || line.back() != '\\') return false;
  size_t nRun = 0;
  for (size_t i = line.size() - 1; i > 0; --i) {
    const auto c = static_cast<unsigned char>(line[i - 1]);
    if (c < 0x81 || c == 0xFF) break;
    ++nRun;
  }
  return nRun % 2 == 0;
}

// Removes a word (and the blanks after it) from the front; TRUE when it was there.
bool StripWord(Text& text, Text word) {
  if (!StartsWith(text, word)) return false;
  text = Trimmed(text.substr(word.size()));
  return true;
}

bool StripWord(Source& source, Text word) {
  if (!StartsWith(source.code, word)) return false;
  source = source.Sub(word.size()).Trim();
  return true;
}

// The whole word at the front (not the start of a longer name).
bool StartsWithWord(Text code, Text word) {
  return StartsWith(code, word) && (code.size() == word.size() || !IsNameByte(code[word.size()]));
}

// Removes an ending of the code (and the blanks before it); TRUE when it was there.
bool DropEnd(Source& source, Text end) {
  if (!EndsWith(source.code, end)) return false;
  source = source.Left(source.code.size() - end.size()).Trim();
  return true;
}

// The last blank or tab outside parentheses, brackets and template arguments, or npos. Angle
// brackets count only while they balance; when they do not (a comparison), every blank counts.
size_t LastBlank(Text code) {
  if (code.find('<') == npos && code.find('(') == npos && code.find('[') == npos) {
    const size_t nBlank = code.rfind(' ');
    const size_t nTab = code.rfind('\t');
    return nBlank == npos ? nTab : nTab == npos ? nBlank : std::max(nBlank, nTab);
  }
  size_t nLast = npos;
  size_t nLastAnywhere = npos;
  int nAngles = 0;
  int nParens = 0;
  for (size_t i = 0; i < code.size(); ++i) {
    switch (code[i]) {
      case '<': ++nAngles; break;
      case '>': if (nAngles > 0) --nAngles; break;
      case '(': case '[': ++nParens; break;
      case ')': case ']': if (nParens > 0) --nParens; break;
      case ' ': case '\t':
        nLastAnywhere = i;
        if (nAngles == 0 && nParens == 0) nLast = i;
        break;
      default: break;
    }
  }
  return nAngles == 0 ? nLast : nLastAnywhere;
}

// Calls onEntry(entry, bLast) for each trimmed entry of a comma-separated list (at least one,
// maybe empty). Commas inside template arguments, parentheses or braces belong to their entry.
template <class OnEntry>
void ForEachListEntry(Source source, OnEntry&& onEntry) {
  int nDepth = 0;
  size_t nStart = 0;
  for (size_t i = 0; i < source.code.size(); ++i) {
    switch (source.code[i]) {
      case '<':
      case '(':
      case '{':
        ++nDepth;
        break;
      case '>':
      case ')':
      case '}':
        if (nDepth > 0) --nDepth;
        break;
      case ',':
        if (nDepth == 0) {
          onEntry(source.Sub(nStart, i - nStart).Trim(), false);
          nStart = i + 1;
        }
        break;
      default:
        break;
    }
  }
  onEntry(source.Sub(nStart).Trim(), true);
}

// The first ":" outside parentheses and braces that is not half of a "::" nor the ":" of a
// "?" before it.
size_t FindSingleColon(Text code) {
  if (code.find(':') == npos) return npos;
  int nDepth = 0;
  int nQuestions = 0;
  for (size_t i = 0; i < code.size(); ++i) {
    switch (code[i]) {
      case '(': case '[': case '{': ++nDepth; break;
      case ')': case ']': case '}': if (nDepth > 0) --nDepth; break;
      case '?': if (nDepth == 0) ++nQuestions; break;
      case ':':
        if (i + 1 < code.size() && code[i + 1] == ':') {
          ++i;
        } else if (nDepth == 0 && nQuestions > 0) {
          --nQuestions;
        } else if (nDepth == 0) {
          return i;
        }
        break;
      default: break;
    }
  }
  return npos;
}

// The "(" that opens the parenthesis closed at nClose, or npos.
size_t MatchingOpen(Text code, size_t nClose) {
  int nDepth = 0;
  for (size_t i = nClose + 1; i-- > 0;) {
    if (code[i] == ')') {
      ++nDepth;
    } else if (code[i] == '(' && --nDepth == 0) {
      return i;
    }
  }
  return npos;
}

// The end of the group that opens at nOpen ("<...>", "(...)", "[[...]]"); parentheses inside
// angle brackets or brackets are stepped over whole. code.size() when the group does not close.
size_t GroupEnd(Text code, size_t nOpen) {
  const char open = code[nOpen];
  const char close = open == '<' ? '>' : open == '(' ? ')' : ']';
  int nDepth = 0;
  int nParens = 0;
  for (size_t i = nOpen; i < code.size(); ++i) {
    const char ch = code[i];
    if (open != '(' && (ch == '(' || (ch == ')' && nParens > 0))) {
      nParens += ch == '(' ? 1 : -1;
    } else if (nParens == 0 && ch == open) {
      ++nDepth;
    } else if (nParens == 0 && ch == close && --nDepth == 0) {
      return i + 1;
    }
  }
  return code.size();
}

size_t SkipBlanks(Text code, size_t i) {
  while (i < code.size() && IsBlankByte(code[i])) ++i;
  return i;
}

// The offset after the last byte before i that is no blank.
size_t SkipBackBlanks(Text code, size_t i) {
  while (i > 0 && IsBlankByte(code[i - 1])) --i;
  return i;
}

// The identifier that ends the code (empty when it ends otherwise).
Text LastWord(Text code) {
  size_t n = code.size();
  while (n > 0 && IsNameByte(code[n - 1])) --n;
  return code.substr(n);
}

// Whether "operator" ends at nEnd as a word (so the "=" after it names an operator).
bool OperatorEndsAt(Text code, size_t nEnd) {
  Text before = Trimmed(code.substr(0, nEnd));
  return LastWord(before) == "operator";
}

// Whether the "<" at i opens template arguments: it follows a name ("vector<", not "a < b") and is
// no "<<", "<=" nor the name of operator<.
bool OpensTemplateArguments(Text code, size_t i) {
  return i > 0 && IsNameByte(code[i - 1]) && (i + 1 >= code.size() || (code[i + 1] != '<' && code[i + 1] != '=')) &&
         LastWord(code.substr(0, i)) != "operator";
}

// Whether the "=" at i assigns: it is not part of "==", "<=", "+=" and the like.
bool IsAssignment(Text code, size_t i) {
  return (i + 1 >= code.size() || code[i + 1] != '=') && (i == 0 || std::strchr("=!<>+-*/%&|^", code[i - 1]) == nullptr);
}

// The first "=" outside parentheses, brackets and braces that assigns: not part of "==", "<=",
// "+=" and the like, nor the name of operator=.
size_t FindAssignment(Text code) {
  if (code.find('=') == npos) return npos;
  int nDepth = 0;
  int nAngles = 0;
  for (size_t i = 0; i < code.size(); ++i) {
    const char ch = code[i];
    if (ch == '(' || ch == '[' || ch == '{') {
      ++nDepth;
    } else if (ch == ')' || ch == ']' || ch == '}') {
      if (nDepth > 0) --nDepth;
    } else if (ch == '<' && nDepth == 0 && OpensTemplateArguments(code, i)) {
      ++nAngles;
    } else if (ch == '>' && nDepth == 0 && nAngles > 0 && code[i - 1] != '-') {
      --nAngles;
    } else if (ch == '=' && nDepth == 0 && nAngles == 0 && IsAssignment(code, i) && !OperatorEndsAt(code, i)) {
      return i;
    }
  }
  return npos;
}

// The first "(" outside brackets, braces and template arguments ("std::function<void()> f;"),
// or npos.
size_t FindFirstParen(Text code) {
  const size_t nParen = code.find('(');
  const Text before = code.substr(0, nParen);
  if (before.find('<') == npos && before.find('[') == npos && before.find('{') == npos) return nParen;
  int nDepth = 0;
  int nAngles = 0;
  for (size_t i = 0; i < code.size(); ++i) {
    const char ch = code[i];
    if (ch == '[' || ch == '{') {
      ++nDepth;
    } else if ((ch == ']' || ch == '}') && nDepth > 0) {
      --nDepth;
    } else if (ch == '<' && OpensTemplateArguments(code, i)) {
      ++nAngles;
    } else if (ch == '>' && nAngles > 0 && code[i - 1] != '-') {
      --nAngles;
    } else if (ch == '(' && nDepth == 0 && nAngles == 0) {
      return i;
    }
  }
  return npos;
}

// The name declared by a parenthesised declarator that opens at nParen: "(*m_pfn)" of a pointer
// to a function, "(Class::*m_pmf)" of a pointer to a member function. Empty when the parenthesis
// is no such declarator.
Text ParenthesisedName(Text code, size_t nParen) {
  const size_t nEnd = GroupEnd(code, nParen);
  if (nEnd > code.size() || code[nEnd - 1] != ')') return Text();
  const Text inner = Trimmed(code.substr(nParen + 1, nEnd - nParen - 2));
  if (!StartsWith(inner, "*") && !StartsWith(inner, "&") && inner.find("::*") == npos) return Text();
  return LastWord(inner);
}

// The offset of the function's name in the head of a method declared through a macro, the macro's
// last argument ("STDMETHOD(QueryInterface)", "STDMETHOD_(ULONG, AddRef)", "IFACEMETHOD(Clone)"):
// only a macro whose name ends in "METHOD" or "METHOD_" declares one, so other macro calls before
// parentheses ("LOG(INFO)(value)") declare nothing. npos for any other head.
size_t MethodMacroName(Text head) {
  size_t n = 0;
  while (n < head.size() && IsNameByte(head[n])) ++n;
  const Text macro = head.substr(0, n);
  if (!EndsWith(macro, "METHOD") && !EndsWith(macro, "METHOD_")) return npos;
  const size_t nOpen = SkipBlanks(head, n);
  if (n == 0 || nOpen >= head.size() || head[nOpen] != '(' || GroupEnd(head, nOpen) != head.size()) return npos;
  for (char ch : head.substr(0, n))
    if (ch >= 'a' && ch <= 'z') return npos;
  size_t nEnd = head.size() - 1;
  while (nEnd > nOpen && IsBlankByte(head[nEnd - 1])) --nEnd;
  size_t nName = nEnd;
  while (nName > nOpen + 1 && IsNameByte(head[nName - 1])) --nName;
  if (nName == nEnd || (head[nName] >= '0' && head[nName] <= '9')) return npos;
  const size_t nBefore = SkipBackBlanks(head, nName);
  return head[nBefore - 1] == '(' || head[nBefore - 1] == ',' ? nName : npos;
}

// Words that may follow a function's parameter list: cv- and exception specifiers, virt-specifiers,
// attributes, and the macros that libraries put there (all capitals, or starting with "__").
bool IsMacroName(Text word) {
  bool bLetter = false;
  for (char ch : word) {
    if (ch >= 'a' && ch <= 'z') return false;
    bLetter = bLetter || (ch >= 'A' && ch <= 'Z');
  }
  return bLetter && word.size() > 1;
}

// Whether the word, in any case, is one that ends the name of an export macro.
bool IsExportWord(Text word) {
  std::string upper(word);
  for (char& ch : upper)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return upper == "API" || upper == "EXPORT" || upper == "EXPORTS" || upper == "IMPORT" || upper == "DLL";
}

// The name of an export macro that stands between "class" and the class's name: all capitals
// ("CV_EXPORTS"), a reserved name ("_OgreExport"), a module's name before an export word after
// the last underscore, in any case ("Core_API", "Ogre_Export", "Base_DLL"), or, without an
// underscore, before an export word that starts with a capital ("DllExport", "DllImport",
// "CoreAPI"). A mixed-case name with other capitals or digits there ("Vector_2D", "Image_RGB") is
// a class's name: a macro after it is no name.
bool IsExportMacroName(Text word) {
  if (IsMacroName(word) || (word.size() > 1 && word[0] == '_' && word[1] >= 'A' && word[1] <= 'Z')) return true;
  const size_t nUnderscore = word.rfind('_');
  if (nUnderscore != npos) return nUnderscore > 0 && IsExportWord(word.substr(nUnderscore + 1));
  for (size_t i = 1; i < word.size(); ++i)
    if (word[i] >= 'A' && word[i] <= 'Z' && IsExportWord(word.substr(i))) return true;
  return false;
}

bool IsTrailingSpecifier(Text word) {
  return word == "const" || word == "volatile" || word == "noexcept" || word == "override" || word == "final" ||
         word == "throw" || word == "try" || StartsWith(word, "__") || IsMacroName(word);
}

// The name of a macro that may wrap a declaration: all capitals ("XX_DEPRECATED"), maybe after a
// library's short lower-case prefix ("wxDEPRECATED_INLINE").
bool IsWrappingMacroName(Text word) {
  size_t nPrefix = 0;
  while (nPrefix < word.size() && nPrefix < 3 && word[nPrefix] >= 'a' && word[nPrefix] <= 'z') ++nPrefix;
  return IsMacroName(word.substr(nPrefix)) && word.size() - nPrefix >= (nPrefix > 0 ? 4 : 2);
}

// Whether the code starts with the call of such a macro: its name and a "(".
bool StartsWithMacroCall(Text code) {
  size_t n = 0;
  while (n < code.size() && IsNameByte(code[n])) ++n;
  const size_t nParen = SkipBlanks(code, n);
  return n > 0 && nParen < code.size() && code[nParen] == '(' && IsWrappingMacroName(code.substr(0, n));
}

// Whether the word stands in the code outside parentheses ("Foo() try : m_n(0)").
bool HasWordOutside(Text code, Text word) {
  int nDepth = 0;
  for (size_t i = 0; i < code.size(); ++i) {
    if (code[i] == '(') ++nDepth;
    if (code[i] == ')' && nDepth > 0) --nDepth;
    if (nDepth == 0 && (i == 0 || !IsNameByte(code[i - 1])) && StartsWithWord(code.substr(i), word)) return true;
  }
  return false;
}

// The parameter list of a function declaration (code without the final ";" and without a body):
// the offsets of its "(" and ")", or npos for both when the code declares no function. After the
// list may come a trailing return type, "= 0", "= default" or "= delete", a requires clause and
// trailing specifiers, some with arguments; the list is the leftmost parenthesis that only such
// things follow, so a function-like macro that declares a member (DECLARE_DYNAMIC(CFoo)) is one.
std::pair<size_t, size_t> FindParameterList(Text code) {
  // The end of the declarator: a "->", "=" or "requires" outside parentheses after a first one.
  size_t nEnd = code.size();
  int nDepth = 0;
  int nAngles = 0;
  bool bClosed = false;
  const bool bMayCut = code.find('=') != npos || code.find("->") != npos || code.find("requires") != npos;
  for (size_t i = 0; bMayCut && i < code.size() && nEnd == code.size(); ++i) {
    const char ch = code[i];
    if (ch == '(' || ch == '[' || ch == '{') {
      ++nDepth;
    } else if (ch == ')' || ch == ']' || ch == '}') {
      if (nDepth > 0 && --nDepth == 0 && ch == ')' && nAngles == 0) bClosed = true;
    } else if (ch == '<' && nDepth == 0 && OpensTemplateArguments(code, i)) {
      ++nAngles;
    } else if (ch == '>' && nDepth == 0 && nAngles > 0 && code[i - 1] != '-') {
      --nAngles;
    } else if (nDepth == 0 && nAngles == 0 && bClosed) {
      if ((ch == '-' && i + 1 < code.size() && code[i + 1] == '>') || (ch == '=' && IsAssignment(code, i)) ||
          (ch == 'r' && (i == 0 || !IsNameByte(code[i - 1])) && StartsWithWord(code.substr(i), "requires")))
        nEnd = i;
    }
  }
  std::pair<size_t, size_t> list(npos, npos);
  for (Text rest = Trimmed(code.substr(0, nEnd)); !rest.empty(); rest = Trimmed(rest)) {
    if (rest.back() == ')') {
      const size_t nOpen = MatchingOpen(rest, rest.size() - 1);
      if (nOpen == npos) break;
      list = {nOpen, rest.size() - 1};
      Text before = Trimmed(rest.substr(0, nOpen));
      Text word = LastWord(before);
      if (word.empty() || word.size() == before.size() || !IsTrailingSpecifier(word)) break;
      rest = before.substr(0, before.size() - word.size());
    } else if (rest.back() == '&') {
      rest.remove_suffix(1);
    } else {
      Text word = LastWord(rest);
      if (word.empty() || word.size() == rest.size() || !IsTrailingSpecifier(word)) break;
      rest.remove_suffix(word.size());
    }
  }
  // The name before the list: not empty, and no parenthesis of its own (a pointer to a function)
  // unless it is operator().
  if (list.first != npos) {
    Text head = Trimmed(code.substr(0, list.first));
    if (head.empty()) return {npos, npos};
    if (head.back() == ')') {
      const size_t nOpen = MatchingOpen(head, head.size() - 1);
      if (nOpen == npos || (LastWord(Trimmed(head.substr(0, nOpen))) != "operator" && MethodMacroName(head) == npos))
        return {npos, npos};
    }
  }
  return list;
}

// The end of a requires clause whose constraints start at i: names with template arguments or
// parenthesised expressions, joined by "&&" or "||".
size_t RequiresClauseEnd(Text code, size_t i) {
  for (;;) {
    i = SkipBlanks(code, i);
    if (i < code.size() && code[i] == '!') i = SkipBlanks(code, i + 1);
    if (i < code.size() && code[i] == '(') {
      i = GroupEnd(code, i);
    } else {
      // A qualified name with template arguments: "ranges::range<_Tp>", "is_ref<_It>::value".
      const size_t nName = i;
      while (i < code.size() && (IsNameByte(code[i]) || code[i] == ':' || code[i] == '<'))
        i = code[i] == '<' ? GroupEnd(code, i) : i + 1;
      if (i == nName) return i;
    }
    const size_t nNext = SkipBlanks(code, i);
    if (nNext + 1 >= code.size() || code[nNext] != code[nNext + 1] || (code[nNext] != '&' && code[nNext] != '|'))
      return i;
    i = nNext + 2;
  }
}

// Where the call of an annotation macro that starts the code ends: an all-capitals macro called
// with literals only (XX_DEPRECATED_VERSION(5, 80, "Use f(int)")). npos when the code starts with
// none.
size_t AnnotationEnd(Text code) {
  size_t n = 0;
  while (n < code.size() && IsNameByte(code[n])) ++n;
  const size_t nOpen = SkipBlanks(code, n);
  if (n == 0 || nOpen >= code.size() || code[nOpen] != '(' || !IsMacroName(code.substr(0, n))) return npos;
  const size_t nEnd = GroupEnd(code, nOpen);
  if (code[nEnd - 1] != ')') return npos;
  bool bLiterals = true;
  const Text arguments = code.substr(nOpen + 1, nEnd - nOpen - 2);
  ForEachListEntry(Source{arguments, arguments}, [&](Source entry, bool) {
    const Text argument = entry.code;
    bLiterals = bLiterals && !argument.empty() &&
                ((argument.front() >= '0' && argument.front() <= '9') || argument.back() == '"');
  });
  return bLiterals ? nEnd : npos;
}

// Skips what leads a member's declaration without being part of it: a template header, a
// requires clause, attributes, annotation macros. FALSE when nothing follows them.
bool SkipDeclarationPrefix(Source& source) {
  for (;;) {
    const Text code = source.code;
    const size_t nAnnotation = AnnotationEnd(code);
    const Text rest = nAnnotation != npos ? Trimmed(code.substr(nAnnotation)) : Text();
    if (!rest.empty() && rest != ";") {
      source = source.Sub(nAnnotation).Trim();
      continue;
    }
    if (code.empty() || std::strchr("tra[", code.front()) == nullptr) return true;
    size_t nEnd = 0;
    if (StartsWithWord(code, "template")) {
      const size_t nOpen = SkipBlanks(code, 8);
      if (nOpen >= code.size() || code[nOpen] != '<') return true;
      nEnd = GroupEnd(code, nOpen);
    } else if (StartsWithWord(code, "requires")) {
      nEnd = RequiresClauseEnd(code, 8);
    } else if (StartsWith(code, "[[")) {
      nEnd = GroupEnd(code, 0);
    } else if (StartsWithWord(code, "alignas") && SkipBlanks(code, 7) < code.size() &&
               code[SkipBlanks(code, 7)] == '(') {
      nEnd = GroupEnd(code, SkipBlanks(code, 7));
    } else {
      return true;
    }
    source = source.Sub(nEnd).Trim();
    if (source.Empty()) return false;
  }
}

// Whether a type keyword that leads the code names the type of a member ("struct timeval
// time(int)", "struct Node* m_head") rather than declaring the type: after the keyword comes a
// name (an export macro before it is skipped), and after the name more than "final".
bool NamesMemberType(Text code, Text keyword) {
  size_t i = SkipBlanks(code, keyword.size());
  if (keyword == "enum" && (StartsWithWord(code.substr(i), "class") || StartsWithWord(code.substr(i), "struct")))
    i = SkipBlanks(code, i + (code[i] == 'c' ? 5 : 6));
  for (bool bMacroSkipped = false;; bMacroSkipped = true) {
    const size_t nName = i;
    while (i < code.size() && (IsNameByte(code[i]) || code[i] == ':' || code[i] == '<'))
      i = code[i] == '<' ? GroupEnd(code, i) : i + 1;
    if (i == nName) return false;
    Text rest = Trimmed(code.substr(i));
    if (!rest.empty() && rest.back() == ';') rest = Trimmed(rest.substr(0, rest.size() - 1));
    if (rest.empty() || rest == "final" || rest.front() == '{' || rest.front() == '=') return false;
    if (bMacroSkipped || !IsMacroName(code.substr(nName, i - nName)) || !IsNameByte(rest.front())) return true;
    i = SkipBlanks(code, i);
  }
}

bool IsLeadingCall(Text word);

// Whether the text before a parameter list may be what a function's declaration has there: types,
// specifiers and a name (template arguments hold anything), or an operator's. An expression
// ("sizeof(wchar_t) == sizeof", "Base::d_ptr.data") is none: a macro call whose argument it leads
// is a call of its own (a static assertion, a private-data macro), not a declaration it wraps.
bool IsDeclarationHead(Text head) {
  static constexpr Text kOperators[] = {"sizeof", "alignof", "decltype", "typeid", "noexcept", "static_cast",
                                        "reinterpret_cast", "const_cast", "dynamic_cast", "return", "new", "delete"};
  if (std::find(std::begin(kOperators), std::end(kOperators), LastWord(head)) != std::end(kOperators)) return false;
  for (size_t i = 0; i < head.size(); ++i) {
    const char ch = head[i];
    if ((ch == '<' && OpensTemplateArguments(head, i)) ||
        (ch == '(' && IsLeadingCall(LastWord(Trimmed(head.substr(0, i)))))) {
      i = GroupEnd(head, i) - 1;
    } else if (StartsWithWord(head.substr(i), "operator") && (i == 0 || !IsNameByte(head[i - 1]))) {
      return true;
    } else if (!IsNameByte(ch) && !IsBlankByte(ch) && std::strchr(":*&~[]", ch) == nullptr) {
      return false;
    }
  }
  return true;
}

// The declaration of a function that a macro call wraps, as its first argument: "XX_DEPRECATED(
// void f(int) )", or with an inline body as a further argument. The call must be the whole
// statement, and the argument a function's declaration: a parameter list after a return type and
// a name, or after the class's name (a constructor). FALSE for any other statement; a macro call
// that declares members of its own (DECLARE_DYNAMIC(CFoo)) stays what it is.
bool UnwrapMacroCall(Source statement, Text className, Source& declaration) {
  if (!StartsWithMacroCall(statement.code)) return false;
  DropEnd(statement, ";");
  const size_t nOpen = statement.code.find('(');
  if (GroupEnd(statement.code, nOpen) != statement.code.size()) return false;
  bool bFirst = true;
  ForEachListEntry(statement.Sub(nOpen + 1, statement.code.size() - nOpen - 2), [&](Source entry, bool) {
    if (bFirst) declaration = entry;
    bFirst = false;
  });
  const std::pair<size_t, size_t> list = FindParameterList(declaration.code);
  if (list.first == npos) return false;
  const Text head = Trimmed(declaration.code.substr(0, list.first));
  const Text name = LastWord(head);
  return !name.empty() && (name.size() < head.size() || name == className) && IsDeclarationHead(head);
}

// Statements in a class body that declare no member: types, aliases, friends, assertions.
bool DeclaresNoMember(Text code) {
  if (code.empty() || std::strchr("ftuescn", code.front()) == nullptr) return false;
  static constexpr Text kWords[] = {"friend", "typedef", "using", "static_assert", "enum", "struct",
                                    "class",  "union",   "namespace", "template", "concept"};
  static constexpr Text kTypeKeywords[] = {"enum", "struct", "class", "union"};
  for (Text word : kWords) {
    if (!StartsWithWord(code, word)) continue;
    return std::find(std::begin(kTypeKeywords), std::end(kTypeKeywords), word) == std::end(kTypeKeywords) ||
           !NamesMemberType(code, word);
  }
  return false;
}

// What the class-body reader finds in a statement's code: the parentheses and template argument
// lists left open, and (npos when absent) the ":" that opens a constructor's initialiser list, the
// "{" that opens a body, the ";" that ends the statement and the first "=" that assigns. In an
// initialiser list a "{" right after a name ("m_a{1}", "Base<T>{}") initialises a member; the
// body's "{" follows a ")", a "}" or a blank. A ";" inside the braces of a lambda or a requires
// expression in parentheses ends nothing.
struct Shape {
  int nOpenParens = 0;
  int nOpenAngles = 0;
  size_t nInitColon = npos;
  size_t nBody = npos;
  size_t nSemicolon = npos;
  size_t nAssignment = npos;
  int nInitBraces = 0;
  int nBracesInParens = 0;
  size_t nRead = 0;
  // A statement that is a macro call takes the ";" inside its parentheses as text: the
  // macro's arguments may be a declaration and an inline body ("XX_DEPRECATED_INLINE(void f(),
  // return g(); )").
  bool bMacroCall = false;

  // Reads the code on from where the last call stopped: a statement grows at its end.
  void Read(Text code);
};

void Shape::Read(Text code) {
  if (nRead == 0) bMacroCall = StartsWithMacroCall(code);
  // Most declarations end with ";" and hold no brace: nothing else of their shape is asked then.
  const size_t nFirstSemicolon = nRead == 0 ? code.find(';') : npos;
  if (nFirstSemicolon != npos && !bMacroCall && code.find('{') == npos && code.find('}') == npos) {
    nSemicolon = nFirstSemicolon;
    nRead = code.size();
    return;
  }
  size_t i = nRead;
  for (; i < code.size() && nBody == npos; ++i) {
    const char ch = code[i];
    switch (ch) {
      case ';':
        if (nBracesInParens == 0 && nSemicolon == npos && (nOpenParens == 0 || !bMacroCall)) nSemicolon = i;
        break;
      case '=':
        if (nAssignment == npos && nOpenParens == 0 && nOpenAngles == 0 && IsAssignment(code, i) &&
            !OperatorEndsAt(code, i))
          nAssignment = i;
        break;
      case '(':
        ++nOpenParens;
        break;
      case ')':
        if (nOpenParens > 0) --nOpenParens;
        break;
      case ':':
        if (i + 1 < code.size() && code[i + 1] == ':') {
          ++i;
        } else if (nOpenParens == 0 && nInitColon == npos && (i == 0 || code[i - 1] != ':')) {
          Text before = Trimmed(code.substr(0, i));
          if (before.empty() || before.back() == ')' ||
              (before.find('(') != npos && IsTrailingSpecifier(LastWord(before))))
            nInitColon = i;
        }
        break;
      case '<':
      case '>': {
        // Template arguments: "<" and ">" alone, ">>" closing two; not "<<", "<=", "->", operator<.
        size_t nRun = i;
        while (nRun < code.size() && (code[nRun] == '<' || code[nRun] == '>' || code[nRun] == '=')) ++nRun;
        const Text run = code.substr(i, nRun - i);
        if (nOpenParens == 0 && !(ch == '>' && i > 0 && code[i - 1] == '-') &&
            LastWord(Trimmed(code.substr(0, i))) != "operator") {
          if (run == "<")
            ++nOpenAngles;
          else if (run.find_first_not_of('>') == npos)
            nOpenAngles = std::max(0, nOpenAngles - static_cast<int>(run.size()));
        }
        i = nRun - 1;
        break;
      }
      case '{':
        if (nOpenParens > 0) {
          ++nBracesInParens;
          break;
        }
        if (nInitColon != npos &&
            (nInitBraces > 0 || (i > nInitColon + 1 && (IsNameByte(code[i - 1]) || code[i - 1] == '>')))) {
          ++nInitBraces;
        } else {
          nBody = i;
        }
        break;
      case '}':
        if (nBracesInParens > 0) {
          --nBracesInParens;
        } else if (nInitBraces > 0) {
          --nInitBraces;
        }
        break;
      default:
        break;
    }
  }
  nRead = i;
}

// Words that, called, lead a declaration rather than name a function: a conditional explicit, a
// decltype return type, attributes, and the macros of the implementation's reserved names
// ("_GLIBCXX_DEPRECATED_SUGGEST(...)").
bool IsLeadingCall(Text word) {
  return word == "explicit" || word == "decltype" || word == "alignas" || word == "__attribute__" ||
         word == "__declspec" || (StartsWith(word, "_") && IsMacroName(word));
}

// The first "(" of a declaration that is not the argument list of what leads it (a conditional
// explicit, a decltype, an attribute): where its parameter list may start. npos when none.
size_t FindDeclaratorParen(Text code) {
  for (size_t nFrom = 0; nFrom < code.size();) {
    const size_t nParen = FindFirstParen(code.substr(nFrom));
    if (nParen == npos) return npos;
    if (!IsLeadingCall(LastWord(Trimmed(code.substr(0, nFrom + nParen))))) return nFrom + nParen;
    nFrom = GroupEnd(code, nFrom + nParen);
  }
  return npos;
}

// Whether a statement that ends its line without ";" may go on over the next: a template header, a
// requires clause, a return type or a macro on a line of its own (as GNU-style headers write them),
// and a function head whose specifiers or initialiser list may follow on the next line.
bool MayGoOn(Text code, size_t nParen) {
  if (code.empty()) return false;
  const char last = code.back();
  if (nParen == npos)
    return IsNameByte(last) || last == '*' || last == '&' || last == '>' || last == ']' || last == ')';
  return last == ')' || IsNameByte(last);
}

// An access label of its own: "public:", "signals:", "public slots:".
bool IsLabel(Text line) {
  if (StartsWithWord(line, "public") || StartsWithWord(line, "protected") || StartsWithWord(line, "private"))
    return true;
  if (!EndsWith(line, ":") || EndsWith(line, "::")) return false;
  return std::all_of(line.begin(), line.end() - 1, [](char ch) { return IsNameByte(ch) || IsBlankByte(ch); });
}

// Whether the next line goes on with the statement that MayGoOn: not a label nor a brace; after a
// function head only specifiers, "->", "=", "&" or an initialiser list. A function-like macro
// that stands alone (DECLARE_DYNAMIC(CFoo)) takes no macro of the next line.
bool GoesOn(Text code, size_t nParen, Text next) {
  if (next.empty() || next.front() == '{' || next.front() == '}' || IsLabel(next)) return false;
  // A macro alone on its line that a macro call follows (Q_OBJECT above Q_PROPERTY(...) or
  // DECLARE_DYNAMIC(CFoo)) declares what it declares by itself: the call is no member it leads.
  if (nParen == npos) return code != LastWord(code) || !IsMacroName(code) || !StartsWithMacroCall(next);
  if (next.front() == ':') return next.size() < 2 || next[1] != ':';
  const Text head = Trimmed(code.substr(0, nParen));
  // Specifiers, some with arguments, up to the end of the line or what ends the declarator.
  const bool bMacroAlone = head == LastWord(head) && IsTrailingSpecifier(head);
  // An all-capitals macro called alone on its line with literals for arguments annotates a member
  // declared on the next (XX_DEPRECATED_VERSION(5, 80, "Use f(int)") above "void g(int n);"),
  // as it does on the member's own line. A macro that takes names (DECLARE_DYNAMIC(CFoo)) or
  // nothing (DECLARE_MESSAGE_MAP()) declares members of its own; another macro, a friend, a type
  // or an assertion on the next line leaves the call alone as well.
  Source lead{code, code};
  SkipDeclarationPrefix(lead);  // a template header before the macro
  if (AnnotationEnd(lead.code) == lead.code.size()) {
    size_t nWord = 0;
    while (nWord < next.size() && IsNameByte(next[nWord])) ++nWord;
    const Text word = next.substr(0, nWord);
    if (word.empty() ? next.front() == '~' : !IsMacroName(word) && !DeclaresNoMember(next)) return true;
  }
  size_t i = 0;
  for (;;) {
    i = SkipBlanks(next, i);
    size_t nWord = i;
    while (nWord < next.size() && IsNameByte(next[nWord])) ++nWord;
    const Text word = next.substr(i, nWord - i);
    if (word.empty() || !IsTrailingSpecifier(word)) break;
    const bool bKeyword = word == "const" || word == "volatile" || word == "noexcept" || word == "override" ||
                          word == "final" || word == "throw";
    if (bMacroAlone && !bKeyword) return false;
    i = SkipBlanks(next, nWord);
    if (i < next.size() && next[i] == '(') i = GroupEnd(next, i);
  }
  return i >= next.size() || std::strchr(";{:=-&|", next[i]) != nullptr || StartsWithWord(next.substr(i), "requires");
}

// The code page of a header's text, decided from all of it before it is parsed (where the text
// cannot tell, by the project's language); the file is back at the start of its text afterwards,
// past a UTF-8 byte order mark, which is no part of the first line.
TextCodePage ReadCodePage(CFile& file, UINT nProjectCodePage) {
  std::string bytes;
  char block[16384];
  for (UINT nRead; (nRead = file.Read(block, sizeof block)) > 0;) bytes.append(block, nRead);
  constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
  file.Seek(std::string_view(bytes).starts_with(kUtf8ByteOrderMark) ? static_cast<LONGLONG>(kUtf8ByteOrderMark.size()) : 0,
            CFile::begin);
  return AFBig2GBObj::CodePageOfText(CString(bytes.data(), static_cast<int>(bytes.size())), nProjectCodePage);
}

// Whether the "{" at nBrace starts an initialiser ("int a = {1};", "int n{0};") or a type's body
// rather than a function's body: what comes before it has no parenthesis, or ends with "=".
bool OpensInitialiser(Text code, size_t nBrace) {
  Text before = Trimmed(code.substr(0, nBrace));
  return EndsWith(before, "=") || before.find('(') == npos;
}

// A member's comment without its markers: trimmed, then a leading "//", a leading "/*" and a
// final "*/" removed; what they leave is not trimmed again. The markers of documentation comments
// go with them: "///", "//!", "/**", "/*!" and a "<" that points back at the member.
CString CleanComment(const CString& strComment) {
  Text comment = Trimmed(View(strComment));
  if (StartsWith(comment, "//")) {
    comment.remove_prefix(2);
    while (StartsWith(comment, "/")) comment.remove_prefix(1);
    if (StartsWith(comment, "!")) comment.remove_prefix(1);
    if (StartsWith(comment, "<")) comment.remove_prefix(1);
  }
  if (StartsWith(comment, "/*")) {
    comment.remove_prefix(2);
    while (StartsWith(comment, "*") && !StartsWith(comment, "*/")) comment.remove_prefix(1);
    if (StartsWith(comment, "!")) comment.remove_prefix(1);
    if (StartsWith(comment, "<")) comment.remove_prefix(1);
  }
  if (EndsWith(comment, "*/")) comment.remove_suffix(2);
  return Str(comment);
}

// Splits "type name" at the last blank into a trimmed type and name. The pointer stars that
// lead the name go to the type (" *", " **"); stars are no part of a name. FALSE when no name is
// left.
bool SplitTypeAndName(Source source, CString& strType, CString& strName) {
  size_t nBlank = LastBlank(source.code);
  Text name = Trimmed(nBlank == npos ? source.text : source.text.substr(nBlank + 1));
  strType = Str(Trimmed(nBlank == npos ? Text() : source.text.substr(0, nBlank)));
  // A pointer to a member ("int Class::*pm") is named after the "::*".
  const size_t nMemberPointer = name.find("::*");
  if (nMemberPointer != npos) {
    strType += " " + Str(name.substr(0, nMemberPointer + 3));
    name.remove_prefix(nMemberPointer + 3);
  }
  // A type written against the name without a blank ("ClassData*GetClassData", "Node&next") is
  // the type up to the name's last "*" or "&" before an array's bounds ("val[m*n]").
  const size_t nLastMark = name.substr(0, name.find('[')).find_last_of("*&");
  if (nLastMark != npos && name.find_first_not_of("*&") < nLastMark && nLastMark + 1 < name.size() &&
      IsNameByte(name[nLastMark + 1]) && name.find('>', nLastMark) == npos) {
    if (!strType.IsEmpty()) strType += ' ';
    strType += Str(name.substr(0, nLastMark + 1));
    name.remove_prefix(nLastMark + 1);
  }
  const size_t nStars = std::min(name.find_first_not_of('*'), name.size());
  if (nStars > 0) strType += " " + Str(name.substr(0, nStars));
  if (name.find('*') == npos) {
    strName = Str(name);
  } else {
    std::string unstarred(name);
    std::replace(unstarred.begin(), unstarred.end(), '*', ' ');
    strName = Str(Trimmed(unstarred));
  }
  // So does a reference's "&" ("&&") that leads the name: "wxString &append" is append of type
  // "wxString &".
  const Text named = View(strName);
  const size_t nAmpersands = std::min<size_t>(named.find_first_not_of('&'), named.size());
  if (nAmpersands > 0) {
    strType += " " + Str(named.substr(0, nAmpersands));
    strName = Str(Trimmed(named.substr(nAmpersands)));
  }
  return !strName.IsEmpty();
}

// The return type and name of an operator function whose head holds the word "operator"; FALSE
// when it holds none. The name is "operator" and its symbol ("operator*", "operator()") or, for a
// conversion, new or delete, "operator" and the type ("operator const char*"), blanks made one.
bool SplitOperator(Source head, CString& strReturnType, CString& strName) {
  size_t nAt = 0;
  for (;; nAt += 8) {
    nAt = head.code.find("operator", nAt);
    if (nAt == npos) return false;
    if ((nAt == 0 || !IsNameByte(head.code[nAt - 1])) &&
        (nAt + 8 >= head.code.size() || !IsNameByte(head.code[nAt + 8])))
      break;
  }
  strReturnType = Str(Trimmed(head.text.substr(0, nAt)));
  Text rest = Trimmed(head.text.substr(nAt + 8));
  std::string name = "operator";
  if (!rest.empty() && IsNameByte(rest.front())) name += ' ';
  // An attribute between the name and its parameters ("operator() [[nodiscard]]") is no part of it.
  const size_t nAttribute = rest.find("[[");
  if (nAttribute != npos) rest = Trimmed(rest.substr(0, nAttribute));
  bool bBlank = false;
  for (char ch : rest) {
    if (IsBlankByte(ch)) {
      bBlank = true;
      continue;
    }
    // Blanks stay only between words: "operator unsigned int", "operator()".
    if (bBlank && IsNameByte(ch) && IsNameByte(name.back())) name += ' ';
    bBlank = false;
    name += ch;
  }
  strName = Str(name);
  return true;
}

// The return type and name of a method that a macro declares ("STDMETHOD(QueryInterface)"): the
// name is the macro's last argument, the type the macro with the arguments before it
// ("STDMETHOD_(ULONG)"). FALSE for any other head.
bool SplitMethodMacro(Source head, CString& strReturnType, CString& strName) {
  const size_t nName = MethodMacroName(head.code);
  if (nName == npos) return false;
  size_t nNameEnd = nName;
  while (nNameEnd < head.code.size() && IsNameByte(head.code[nNameEnd])) ++nNameEnd;
  strName = Str(head.text.substr(nName, nNameEnd - nName));
  const size_t nOpen = head.code.find('(');
  Text before = Trimmed(head.text.substr(nOpen + 1, SkipBackBlanks(head.code, nName) - nOpen - 1));
  if (!before.empty() && before.back() == ',') before = Trimmed(before.substr(0, before.size() - 1));
  strReturnType = Str(Trimmed(head.text.substr(0, nOpen)));
  if (!before.empty()) strReturnType += "(" + Str(before) + ")";
  return !strName.IsEmpty();
}

// The statement to split, with its tabs made blanks (in a copy only when it has any).
Text WithoutTabs(const CString& strStatement, CString& strCopy) {
  Text text = View(strStatement);
  if (text.find('\t') == npos) return text;
  std::string copy(text);
  std::replace(copy.begin(), copy.end(), '\t', ' ');
  strCopy = Str(copy);
  return View(strCopy);
}

// The first "//" or "/*" of the code from nFrom on, or npos: string and character literals are
// stepped over, so "http://" in a default argument opens no comment.
size_t FindCommentOpener(Text line, size_t nFrom) {
  for (size_t i = nFrom; i < line.size();) {
    const size_t nSlash = line.find('/', i);
    if (nSlash == npos || nSlash + 1 >= line.size()) return npos;
    // A quote before the slash opens a literal that may hold it.
    const Text before = line.substr(i, nSlash - i);
    const size_t nQuote = std::min(before.find('"'), before.find('\''));
    if (nQuote != npos) {
      i += nQuote;
      i = OpensLiteral(line, i) ? LiteralEnd(line, i) : i + 1;
      continue;
    }
    if (line[nSlash + 1] == '/' || line[nSlash + 1] == '*') return nSlash;
    i = nSlash + 1;
  }
  return npos;
}

// Removes the comments of a line, scanning left to right for whichever opener comes first. A
// "//" comment runs to the end of the line; a closed block comment is dropped; an unclosed one
// reads on (lines appended as they are) to its "*/" or the end of the file. The last comment
// found replaces strComment.
void StripComments(CStdioFile& file, CString& strLine, CString& strComment, int& nEndOfFile) {
  for (size_t nOpen = FindCommentOpener(View(strLine), 0); nOpen != npos;
       nOpen = FindCommentOpener(View(strLine), nOpen)) {
    if (strLine[Index(nOpen) + 1] == '/') {
      strComment = strLine.Mid(Index(nOpen));
      CutAndTrim(strLine, Index(nOpen));
      return;
    }
    size_t nClose = View(strLine).find("*/", nOpen + 2);
    if (nClose == npos) {
      CString strNext;
      while (nClose == npos) {
        if (!file.ReadString(strNext)) {
          nEndOfFile = -1;
          strComment = strLine.Mid(Index(nOpen));
          CutAndTrim(strLine, Index(nOpen));
          return;
        }
        // Search only what is new (and the byte before it, which may be the "*").
        size_t nSearch = std::max(nOpen + 2, static_cast<size_t>(strLine.GetLength()) - 1);
        strLine += strNext;
        nClose = View(strLine).find("*/", nSearch);
      }
      strComment = strLine.Mid(Index(nOpen), Index(nClose + 2 - nOpen));
    }
    strLine = strLine.Left(Index(nOpen)) + strLine.Mid(Index(nClose + 2));
  }
}

// The number of entries AddListEntries appends.
INT_PTR CountListEntries(Source source) {
  INT_PTR nCount = 0;
  ForEachListEntry(source, [&nCount](Source entry, bool bLast) { nCount += !bLast || !entry.Empty() ? 1 : 0; });
  return nCount;
}

// Appends the entries of a list text; an empty last entry is dropped.
void AddListEntries(Source source, CStringList& list) {
  ForEachListEntry(source, [&list](Source entry, bool bLast) {
    if (!bLast || !entry.Empty()) list.AddTail(Str(entry.text));
  });
}

// What the lines before a line make of it: a line inside a block comment, or one continuing a
// preprocessor directive (the line before ended in a backslash, as the lines of a macro's body
// do), is never a class head nor a directive of its own.
class LineContext {
 public:
  // Takes in the next line (trimmed); TRUE when it may be a class head. With pBraces, adds the
  // number of "{" less the number of "}" in its code (outside comments and literals).
  bool Next(Text line, int* pBraces = nullptr) {
    const bool bMayBeHead = !m_bInComment && !m_bInDirective;
    const bool bDirective = m_bInDirective || (!m_bInComment && StartsWith(line, "#"));
    for (size_t i = 0; i < line.size();) {
      if (m_bInComment) {
        const size_t nClose = line.find("*/", i);
        if (nClose == npos) break;
        m_bInComment = false;
        i = nClose + 2;
        continue;
      }
      const size_t nOpen = FindCommentOpener(line, i);
      if (pBraces != nullptr && !bDirective) *pBraces += CodeBraces(line.substr(i, nOpen == npos ? npos : nOpen - i));
      if (nOpen == npos || line[nOpen + 1] == '/') break;
      m_bInComment = true;
      i = nOpen + 2;
    }
    m_bInDirective = bDirective && EndsInBackslash(line);
    return bMayBeHead;
  }

 private:
  static int CodeBraces(Text text) {
    if (text.find('{') == npos && text.find('}') == npos) return 0;
    static thread_local std::string buffer;
    const Text code = Code(text, buffer);
    return CountByte(code, '{') - CountByte(code, '}');
  }

  bool m_bInComment = false;
  bool m_bInDirective = false;
};

// How a header's reader takes the branches of a conditional group (#if, #elif, #else, #endif)
// after the first, which is the one it takes as a compiler would: outside classes every branch
// is read, so classes defined in either are found; in a class head none, so the head is read with
// one branch; in a class body a later branch is read only when its braces balance, so braces are
// counted as a compiler that takes the first branch counts them, while declarations of the other
// branches are still read. A branch under "#if 0", and the branches after "#if 1", are never read.
enum class LaterBranches { kAll, kNone, kBalanced };

// A header read by the analyser: its lines with the conditional branches that the current
// reading leaves out dropped (their directive lines stay, as lines of their own); and the
// statement reader may give back the line it looked ahead at, with the comment found on the way
// to it.
class HeaderFile : public CStdioFile {
 public:
  using CStdioFile::ReadString;
  BOOL ReadString(CString& rString) override {
    if (m_bGivenBack) {
      rString = m_strLine;
      m_bGivenBack = false;
      m_bCommentBack = true;
      m_bMayBeHead = true;
      return TRUE;
    }
    Line line;
    if (!NextLine(line)) return FALSE;
    if (line.bDirective) TakeDirective(Trimmed(View(line.text)));
    rString = std::move(line.text);
    m_bMayBeHead = line.bMayBeHead;
    return TRUE;
  }
  // Whether the line read last may be a class head: it is neither inside a block comment nor
  // the continuation of a directive.
  bool MayBeHead() const { return m_bMayBeHead; }
  void SetLaterBranches(LaterBranches branches) { m_branches = branches; }
  void GiveBack(const CString& strLine, const CString& strComment) {
    m_strLine = strLine;
    m_strComment = strComment;
    m_bGivenBack = true;
  }
  // After a given-back line was read: its comment, when it had one, replaces strComment.
  void TakeComment(CString& strComment) {
    if (!m_bCommentBack) return;
    m_bCommentBack = false;
    if (!m_strComment.IsEmpty()) strComment = m_strComment;
  }

 private:
  struct Line {
    CString text;
    bool bDirective = false;
    bool bMayBeHead = true;
    int nBraces = 0;
  };
  // One conditional group: whether a branch was taken, and whether every later one is dead.
  struct Group {
    bool bTaken = false;
    bool bRestDead = false;
  };
  enum class Kind { kOpen, kBranch, kClose, kOther };

  static Kind KindOf(Text directive, Text& condition) {
    Text rest = Trimmed(directive.substr(1));
    size_t nWord = 0;
    while (nWord < rest.size() && IsNameByte(rest[nWord])) ++nWord;
    const Text word = rest.substr(0, nWord);
    condition = Trimmed(rest.substr(nWord));
    const size_t nComment = FindCommentOpener(condition, 0);
    if (nComment != npos) condition = Trimmed(condition.substr(0, nComment));
    if (word == "if" || word == "ifdef" || word == "ifndef") return Kind::kOpen;
    if (word == "elif" || word == "else" || word == "elifdef" || word == "elifndef") return Kind::kBranch;
    return word == "endif" ? Kind::kClose : Kind::kOther;
  }

  static bool IsLiterally(Text condition, char digit) {
    while (condition.size() >= 2 && condition.front() == '(' && condition.back() == ')')
      condition = Trimmed(condition.substr(1, condition.size() - 2));
    return condition.size() == 1 && condition[0] == digit;
  }

  // The next line, from the lines read ahead first; with bCountBraces, its net braces are counted.
  bool NextLine(Line& line, bool bCountBraces = false) {
    if (!m_ahead.empty()) {
      line = std::move(m_ahead.front());
      m_ahead.pop_front();
      return true;
    }
    if (!CStdioFile::ReadString(line.text)) return false;
    const Text text = Trimmed(View(line.text));
    line.nBraces = 0;
    line.bMayBeHead = m_context.Next(text, bCountBraces ? &line.nBraces : nullptr);
    line.bDirective = line.bMayBeHead && StartsWith(text, "#");
    return true;
  }

  void TakeDirective(Text directive) {
    Text condition;
    const Kind kind = KindOf(directive, condition);
    if (kind == Kind::kOpen) m_groups.emplace_back();
    if (kind == Kind::kClose && !m_groups.empty()) m_groups.pop_back();
    if ((kind != Kind::kOpen && kind != Kind::kBranch) || m_groups.empty()) return;
    Group& group = m_groups.back();
    bool bRead = true;
    bool bBalancedOnly = false;
    if (IsLiterally(condition, '0') || group.bRestDead) {
      bRead = false;
    } else if (!group.bTaken) {
      group.bTaken = true;
      group.bRestDead = IsLiterally(condition, '1');
    } else {
      bRead = m_branches != LaterBranches::kNone;
      bBalancedOnly = m_branches == LaterBranches::kBalanced;
    }
    if (!bRead || bBalancedOnly) SkipBranch(bBalancedOnly);
  }

  // Reads the branch that starts after the directive just read, up to the directive that ends it,
  // and drops it; with bKeepBalanced it is kept (read again next) when its braces balance and
  // never close more than they opened.
  void SkipBranch(bool bKeepBalanced) {
    std::deque<Line> branch;
    int nDepth = 0;
    int nBraces = 0;
    bool bBalanced = true;
    Line line;
    while (NextLine(line, bKeepBalanced)) {
      if (line.bDirective) {
        Text condition;
        const Kind kind = KindOf(Trimmed(View(line.text)), condition);
        if (nDepth == 0 && kind != Kind::kOpen && kind != Kind::kOther) {
          m_ahead.push_front(std::move(line));
          break;
        }
        nDepth += kind == Kind::kOpen ? 1 : kind == Kind::kClose ? -1 : 0;
      }
      nBraces += line.nBraces;
      bBalanced = bBalanced && nBraces >= 0;
      if (bKeepBalanced) branch.push_back(std::move(line));
    }
    if (!bKeepBalanced || !bBalanced || nBraces != 0) return;
    m_ahead.insert(m_ahead.begin(), std::make_move_iterator(branch.begin()), std::make_move_iterator(branch.end()));
  }

  LineContext m_context;
  std::deque<Line> m_ahead;
  std::vector<Group> m_groups;
  LaterBranches m_branches = LaterBranches::kAll;
  bool m_bMayBeHead = true;
  CString m_strLine;
  CString m_strComment;
  bool m_bGivenBack = false;
  bool m_bCommentBack = false;
};

// The text with the blanks between a name and a "<" after it removed.
std::string WithoutBlanksBeforeAngles(Text text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsBlankByte(text[i]) && !result.empty() && IsNameByte(result.back())) {
      const size_t nNext = SkipBlanks(text, i);
      if (nNext < text.size() && text[nNext] == '<') {
        i = nNext - 1;
        continue;
      }
    }
    result += text[i];
  }
  return result;
}

// Where a class head starts in a line: at its start ("class Name", or "class" alone with the
// rest of the head on the lines after), or after a template header on the same line
// ("template <class T> class Name"). npos when the line starts no class head.
size_t ClassHeadStart(Text line) {
  auto isHead = [](Text text) { return StartsWith(text, "class ") || StartsWith(text, "class\t") || text == "class"; };
  if (isHead(line)) return 0;
  if (!StartsWithWord(line, "template")) return npos;
  const size_t nOpen = SkipBlanks(line, 8);
  if (nOpen >= line.size() || line[nOpen] != '<') return npos;
  static thread_local std::string buffer;
  const size_t nHead = SkipBlanks(line, GroupEnd(Code(line, buffer), nOpen));
  return nHead < line.size() && isHead(line.substr(nHead)) ? nHead : npos;
}

// A class name as C++ writes one: an identifier (bytes of double-byte characters count as
// letters), maybe followed by template arguments in balanced angle brackets that end the name.
bool IsClassName(Text name) {
  size_t n = 0;
  while (n < name.size() && IsNameByte(name[n])) ++n;
  if (n == 0 || (name[0] >= '0' && name[0] <= '9')) return false;
  if (n == name.size()) return true;
  if (name[n] != '<') return false;
  int nDepth = 0;
  for (size_t i = n; i < name.size(); ++i) {
    if (name[i] == '<') ++nDepth;
    if (name[i] == '>' && --nDepth == 0 && i + 1 != name.size()) return false;
    if (nDepth < 0) return false;
  }
  return nDepth == 0;
}

}  // namespace

CWorkSpaceObj::HeaderStamp CWorkSpaceObj::StampOf(const CString& strPath) {
  HeaderStamp stamp;
  stamp.strPath = strPath;
  const std::string native = brambolt::NativePath(static_cast<LPCTSTR>(strPath));
  struct stat status {};
  // Only a file is a header: a folder put in a header's place leaves the header gone.
  if (::stat(native.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return stamp;
  stamp.bThere = true;
  stamp.nDevice = static_cast<unsigned long long>(status.st_dev);
  stamp.nFile = static_cast<unsigned long long>(status.st_ino);
  stamp.nSize = static_cast<long long>(status.st_size);
  stamp.nModified = static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
  stamp.nChanged = static_cast<long long>(status.st_ctim.tv_sec) * 1000000000LL + status.st_ctim.tv_nsec;
  struct stat link {};
  stamp.bLink = ::lstat(native.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
  return stamp;
}

void CWorkSpaceObj::AnalyseProjectFiles(CString strPattern) {
  ShellServices* pShell = GetShellServices();
  SECFileSystem fs;
  std::vector<HeaderStamp> stamps;
  if (std::unique_ptr<CStringList> pFiles{fs.GetFileList(strPattern, FILE_ATTRIBUTE_NORMAL)}; pFiles != nullptr)
    for (POSITION pos = pFiles->GetHeadPosition(); pos != nullptr;) stamps.push_back(StampOf(pFiles->GetNext(pos)));
  // Each file is read once, whatever names lead to it: under its first name that is no link, or
  // its first name when all are links.
  std::vector<const HeaderStamp*> toRead;
  for (const HeaderStamp& stamp : stamps) {
    const auto same = std::find_if(toRead.begin(), toRead.end(),
                                   [&stamp](const HeaderStamp* pRead) { return pRead->SameFile(stamp); });
    if (same == toRead.end())
      toRead.push_back(&stamp);
    else if ((*same)->bLink && !stamp.bLink)
      *same = &stamp;
  }
  std::sort(toRead.begin(), toRead.end());  // in the order the pattern listed them
  pShell->BeginProgress("Reading project file...", 0, std::max(static_cast<int>(toRead.size()), 1), FALSE, 0x4100);
  int nDone = 0;
  for (const HeaderStamp* pStamp : toRead) {
    ParseSourceFile(pStamp->strPath);
    pShell->SetProgressPos(++nDone);
  }
  pShell->EndProgress();
  m_analysedHeaders.emplace_back(strPattern, std::move(stamps));
}

BOOL CWorkSpaceObj::HeadersChangedOnDisk(CStringList* pGone) const {
  BOOL bChanged = FALSE;
  SECFileSystem fs;
  for (const auto& [strPattern, stamps] : m_analysedHeaders) {
    std::vector<HeaderStamp> listed;
    if (std::unique_ptr<CStringList> pFiles{fs.GetFileList(strPattern, FILE_ATTRIBUTE_NORMAL)}; pFiles != nullptr)
      for (POSITION pos = pFiles->GetHeadPosition(); pos != nullptr;) listed.push_back(StampOf(pFiles->GetNext(pos)));
    for (const HeaderStamp& stamp : stamps) {
      const HeaderStamp now = StampOf(stamp.strPath);
      if (now.SameState(stamp)) continue;
      bChanged = TRUE;
      // A file renamed or moved within the folder is read under its new name: it is not gone. A
      // rename keeps the file's size and time; a new file given the number of a deleted one does not.
      const bool bRenamed = std::any_of(listed.begin(), listed.end(), [&stamp](const HeaderStamp& other) {
        return other.SameFile(stamp) && other.nSize == stamp.nSize && other.nModified == stamp.nModified;
      });
      if (!now.bThere && stamp.bThere && !bRenamed && pGone != nullptr) pGone->AddTail(fs.GetFileName(stamp.strPath));
    }
    for (const HeaderStamp& file : listed) {
      if (std::none_of(stamps.begin(), stamps.end(),
                       [&file](const HeaderStamp& stamp) { return stamp.strPath == file.strPath; }))
        bChanged = TRUE;
    }
  }
  return bChanged;
}

BOOL CWorkSpaceObj::ParseSourceFile(CString strPath) {
  HeaderFile file;
  if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) return FALSE;
  TRY {
    const TextCodePage codePage = ReadCodePage(file, DocCodePage(DocLanguageOf(m_nOutputLanguage)));
    CString strLine;
    static thread_local std::string buffer;
    while (file.ReadString(strLine)) {
      if (!file.MayBeHead()) continue;
      const size_t nClass = ClassHeadStart(Trimmed(View(strLine)));
      if (nClass == npos) continue;
      TrimBlanks(strLine);
      if (nClass > 0) strLine = strLine.Mid(Index(nClass));
      ParseClassHead(file, strLine);
      // A ";" before any "{" ends a declaration ("class Forward;"). A body that opens on the
      // head's line ("class Empty : public Base {};", "class Pair { int a; };") is read as if it
      // started on the next line: the head keeps its "{" and the rest of the line is read again.
      const Text headCode = Code(View(strLine), buffer);
      const size_t nSemicolon = headCode.find(';');
      const size_t nOpen = headCode.find('{');
      if (nSemicolon != npos && nOpen > nSemicolon) continue;
      if (nOpen != npos && nOpen + 1 < headCode.size()) {
        file.GiveBack(strLine.Mid(Index(nOpen) + 1), CString());
        strLine = strLine.Left(Index(nOpen) + 1);
      }
      int nAccess = MEMBER_PRIVATE;
      CString strComment;
      file.SetLaterBranches(LaterBranches::kNone);
      CompleteClassHead(file, strLine, strComment);
      file.SetLaterBranches(LaterBranches::kBalanced);
      // A head that a ";" ended declares no class ("class" alone on a line of a template header).
      if (Code(View(strLine), buffer).find(';') != npos) {
        file.SetLaterBranches(LaterBranches::kAll);
        continue;
      }
      CFileObj* pClass = CreateClassRecord(strLine, strPath);
      if (pClass != nullptr) pClass->m_codePage = codePage;
      int nEndOfFile = 0;
      int nEndOfClass = 0;
      CString strStatement = ReadMemberStatement(file, nEndOfFile, nEndOfClass, strComment);
      while (nEndOfFile >= 0 && nEndOfClass >= 0) {
        Text statement = View(strStatement);
        if (StartsWith(statement, "public")) {
          nAccess = MEMBER_PUBLIC;
        } else if (StartsWith(statement, "protected")) {
          nAccess = MEMBER_PROTECTED;
        } else if (StartsWith(statement, "private")) {
          nAccess = MEMBER_PRIVATE;
        } else if (!StartsWith(statement, "#")) {
          Source source{statement, Code(statement, buffer)};
          // A macro call around a function's declaration documents the function.
          Source wrapped;
          if (UnwrapMacroCall(source, pClass != nullptr ? View(pClass->m_strClassName) : Text(), wrapped))
            source = wrapped;
          // Initialiser lists and bit-fields start at a single colon; "::" is part of a name.
          size_t nColon = FindSingleColon(source.code);
          if (nColon != npos) source = source.Left(nColon).Trim();
          Source declaration = source;
          bool bVariable = false;
          bool bFunction = false;
          if (SkipDeclarationPrefix(declaration) && !DeclaresNoMember(declaration.code)) {
            Source body = declaration;
            const bool bStatement = DropEnd(body, ";");
            const size_t nParen = FindDeclaratorParen(body.code);
            // A member initialised by a call ("int n = Count();") is a variable, and so is a pointer
            // to a function.
            if (bStatement && (nParen == npos || FindAssignment(body.code.substr(0, nParen)) != npos ||
                               !ParenthesisedName(body.code, nParen).empty()))
              bVariable = true;
            else
              bFunction = nParen != npos;  // ParseMemberFunction finds its parameter list or nothing
          }
          if (bVariable || bFunction) {
            // What is left is usually a front part of the statement, cut in place then.
            if (source.text.size() != static_cast<size_t>(strStatement.GetLength())) {
              if (source.text.data() == static_cast<LPCTSTR>(strStatement))
                CutAndTrim(strStatement, static_cast<int>(source.text.size()));
              else
                strStatement = Str(source.text);
            }
            // Both are emptied for the next statement anyway.
            if (bVariable)
              ParseMemberVariable(pClass, std::move(strStatement), nAccess, std::move(strComment));
            else
              ParseMemberFunction(pClass, std::move(strStatement), nAccess, std::move(strComment));
          }
        }
        strComment.Empty();
        strStatement = ReadMemberStatement(file, nEndOfFile, nEndOfClass, strComment);
      }
      file.SetLaterBranches(LaterBranches::kAll);
    }
  }
  CATCH(CFileException, e) {
    // A read error ends the file; the records made so far stay.
  }
  END_CATCH
  file.Abort();
  return TRUE;
}

CString CWorkSpaceObj::ReadCodeLine(CStdioFile& file, int& nEndOfFile, CString& strComment) {
  CString strLine;
  for (;;) {
    nEndOfFile = 0;
    if (!file.ReadString(strLine)) {
      nEndOfFile = -1;
      return CString();
    }
    TrimBlanks(strLine);
    StripComments(file, strLine, strComment, nEndOfFile);
    TrimBlanks(strLine);
    if (!strLine.IsEmpty() || nEndOfFile < 0) return strLine;
  }
}

CString CWorkSpaceObj::ReadMemberStatement(CStdioFile& file, int& nEndOfFile, int& nEndOfClass,
                                           CString& strComment) {
  nEndOfClass = 0;
  auto* pHeader = dynamic_cast<HeaderFile*>(&file);
  CString strStatement = ReadCodeLine(file, nEndOfFile, strComment);
  if (pHeader != nullptr) pHeader->TakeComment(strComment);
  // A directive takes its continued lines with it (a macro defined in the class body).
  if (StartsWith(View(strStatement), "#")) {
    for (CString strLine = strStatement; nEndOfFile >= 0 && EndsInBackslash(View(strLine));)
      strLine = ReadCodeLine(file, nEndOfFile, strComment);
    return strStatement;
  }
  // The statement goes on over the next lines while a parenthesis or a template argument list is
  // open, after a line that ends with "," or "=", and through a constructor's initialiser list up
  // to its body; and, looking a line ahead, while a declaration goes on as GNU-style headers write
  // them. The lines are joined with a blank; directives among them are dropped. A ";" ends it.
  static thread_local std::string buffer;
  Text code = Code(View(strStatement), buffer);
  Shape shape;
  shape.Read(code);
  while (shape.nBody == npos && nEndOfFile >= 0 && shape.nSemicolon == npos) {
    const bool bOpen = shape.nOpenParens > 0 || shape.nOpenAngles > 0 || EndsWith(code, ",") ||
                       EndsWith(code, "::") || shape.nInitColon != npos || shape.nAssignment != npos;
    const size_t nParen = bOpen || pHeader == nullptr ? npos : FindDeclaratorParen(code);
    const bool bLookAhead = !bOpen && pHeader != nullptr && MayGoOn(code, nParen);
    if (!bOpen && !bLookAhead) break;
    CString strLineComment;
    CString strLine = ReadCodeLine(file, nEndOfFile, strLineComment);
    if (strLine.IsEmpty()) break;
    if (StartsWith(View(strLine), "#")) continue;
    if (bLookAhead && !GoesOn(code, nParen, View(strLine))) {
      pHeader->GiveBack(strLine, strLineComment);
      break;
    }
    if (!strLineComment.IsEmpty()) strComment = strLineComment;
    const size_t nLineStart = static_cast<size_t>(strStatement.GetLength()) + 1;
    strStatement += ' ';
    strStatement += strLine;
    code = Code(View(strStatement), buffer);
    shape.Read(code);
    // A "{" that starts a line after an initialiser list opens the body.
    if (shape.nInitColon != npos && strLine[0] == '{') shape.nBody = nLineStart;
  }
  // A line may hold more than one statement ("int a; int b;", or "int a; };" of a class written
  // on one line): what follows the ";" is read as the next line.
  if (pHeader != nullptr && shape.nSemicolon != npos && shape.nSemicolon < shape.nBody &&
      !Trimmed(code.substr(shape.nSemicolon + 1)).empty()) {
    pHeader->GiveBack(strStatement.Mid(Index(shape.nSemicolon) + 1), CString());
    strStatement = strStatement.Left(Index(shape.nSemicolon) + 1);
    code = Code(View(strStatement), buffer);
    shape = Shape();
    shape.Read(code);
  }
  // A body: dropped up to the brace that closes it, the statement's own text counting first. A
  // surplus "}" ends the walk as well, and is what tells that the statement closed the class.
  // Braces inside literals and double-byte characters are text.
  int nBalance = code.find('{') == npos && code.find('}') == npos ? 0 : CountByte(code, '{') - CountByte(code, '}');
  static thread_local std::string lineBuffer;
  // Adds the braces of lines read until the balance is 0 or less (or the file ends).
  auto skipBraces = [&](int& nBraces, CString& strLineComment) {
    while (nBraces > 0 && nEndOfFile >= 0) {
      CString strLine = ReadCodeLine(file, nEndOfFile, strLineComment);
      if (strLine.IsEmpty()) break;
      Text line = View(strLine);
      if (line.find('{') == npos && line.find('}') == npos) continue;
      Text lineCode = Code(line, lineBuffer);
      nBraces += CountByte(lineCode, '{') - CountByte(lineCode, '}');
    }
  };
  if (shape.nBody != npos) {
    skipBraces(nBalance, strComment);
    const bool bInitialiser = OpensInitialiser(code, shape.nBody);
    const bool bTryBlock = nBalance == 0 && pHeader != nullptr && HasWordOutside(code.substr(0, shape.nBody), "try");
    CutAndTrim(strStatement, Index(shape.nBody));
    // "int n{0};" and "int a[] = {1, 2};" declare a variable.
    if (bInitialiser && !strStatement.IsEmpty()) strStatement += ';';
    // The handlers of a function-try-block belong to the function: "catch (...) { ... }".
    while (bTryBlock && nEndOfFile >= 0) {
      CString strLineComment;
      CString strLine = ReadCodeLine(file, nEndOfFile, strLineComment);
      if (strLine.IsEmpty()) break;
      if (!StartsWithWord(View(strLine), "catch")) {
        pHeader->GiveBack(strLine, strLineComment);
        break;
      }
      Text lineCode = Code(View(strLine), lineBuffer);
      int nHandler = CountByte(lineCode, '{') - CountByte(lineCode, '}');
      // The handler's body may start on a later line.
      while (lineCode.find('{') == npos && nEndOfFile >= 0) {
        strLine = ReadCodeLine(file, nEndOfFile, strLineComment);
        lineCode = Code(View(strLine), lineBuffer);
        nHandler = CountByte(lineCode, '{') - CountByte(lineCode, '}');
      }
      skipBraces(nHandler, strLineComment);
    }
  }
  nEndOfClass = std::min(nBalance, 0);
  return strStatement;
}

int CWorkSpaceObj::CountOccurrences(const CString& strText, LPCTSTR lpszToken) const {
  return lpszToken != nullptr ? Count(View(strText), lpszToken) : 0;
}

void CWorkSpaceObj::ParseClassHead(CStdioFile& file, CString& strHead) {
  CString strDropped;
  int nEndOfFile = 0;
  StripComments(file, strHead, strDropped, nEndOfFile);
  TrimBlanks(strHead);
}

void CWorkSpaceObj::CompleteClassHead(CStdioFile& file, CString& strHead, CString& strComment) {
  int nBrace = strHead.ReverseFind('{');
  if (nBrace >= 0) {
    CutAndTrim(strHead, nBrace);
    return;
  }
  // Lines of a head spread over several lines are joined with a blank, so words on either side
  // of a line break stay apart.
  CString strCollected;
  int nEndOfFile = 0;
  for (;;) {
    CString strLine = ReadCodeLine(file, nEndOfFile, strComment);
    if (nEndOfFile < 0 && strLine.IsEmpty()) return;  // the file ended first: the head stays
    // The directives of conditionals inside the head are no part of it (the file leaves out the
    // branches after the first).
    if (strLine[0] == '#') continue;
    nBrace = strLine.ReverseFind('{');
    if (nBrace >= 0) CutAndTrim(strLine, nBrace);
    if (!strLine.IsEmpty()) strCollected += ' ' + strLine;
    // A ";" ends what was no class head.
    if (nBrace >= 0 || strLine.Find(';') >= 0) break;
    if (nEndOfFile < 0) return;
  }
  strHead += strCollected;
}

CFileObj* CWorkSpaceObj::CreateClassRecord(CString strHead, CString strPath) {
  CString strFullHead = strHead;
  size_t nHash = FindToken(View(strHead), "#");
  if (nHash != npos && nHash > 0) CutAndTrim(strHead, Index(nHash));
  if (strHead.Find("::") >= 0) strHead.Replace("::", "$");
  // Template arguments belong to the name before them, blanks or not ("Traits <bool>").
  if (strHead.Find(" <") >= 0 || strHead.Find("\t<") >= 0) strHead = Str(WithoutBlanksBeforeAngles(View(strHead)));

  static thread_local std::string buffer;
  const Source head{View(strHead), Code(View(strHead), buffer)};
  Source className;
  Text baseText;
  size_t nColon = head.code.find(':');
  Source namePart = nColon != npos && nColon > 0 ? head.Left(nColon).Trim() : head;
  if (nColon != npos && nColon > 0) {
    baseText = Trimmed(head.text.substr(nColon + 1));
  } else if (head.code.find_first_of(" \t", 1) == npos) {
    return nullptr;
  }
  // The class name is the last word of the name part, template arguments with their blanks
  // included ("Runner<void, Arg, Owner>"); a "final" after it is no name.
  if (LastWord(namePart.code) == "final" && LastBlank(namePart.code) != npos)
    namePart = namePart.Left(namePart.code.size() - 5).Trim();
  // Nor is a macro after a name that is no macro ("CanonicalIterator U_FINAL").
  const Text lastWord = LastWord(namePart.code);
  if (IsMacroName(lastWord)) {
    const Source before = namePart.Left(namePart.code.size() - lastWord.size()).Trim();
    const Text previous = LastWord(before.code);
    if (!before.Empty() &&
        (previous.empty() ? before.code.back() == '>' : !IsExportMacroName(previous) && previous != "class"))
      namePart = before;
  }
  size_t nBlank = LastBlank(namePart.code);
  className = nBlank == npos ? namePart : namePart.Sub(nBlank + 1).Trim();

  // Qualified names keep their last part (template arguments may be qualified too).
  size_t nDollar = className.code.substr(0, className.code.find('<')).rfind('$');
  if (nDollar != npos && nDollar > 0) className = className.Sub(nDollar + 1);
  // What is no class name (text of a macro body or a comment that a head's rules took in) makes
  // no record.
  if (!IsClassName(className.code)) return nullptr;

  CFileObj* pClass = new CFileObj;
  // The bases are kept as written, with their "::".
  CString strBaseText = Str(baseText);
  strBaseText.Replace("$", "::");
  CString strFirstBase = SplitBaseList(strBaseText, pClass->m_BaseClassList);

  SECFileSystem fs;
  CString strBaseFileName = fs.GetBaseFileName(strPath);
  // The "::" of qualified template arguments stay ("Buffer<std::vector<T>>").
  pClass->m_strClassName = Str(className.text);
  if (pClass->m_strClassName.Find('$') >= 0) pClass->m_strClassName.Replace("$", "::");
  pClass->m_strBaseClassName = strFirstBase;
  pClass->m_strClassHead = strFullHead;
  pClass->m_nKnownClassId = static_cast<int>(LookUpKnownClass(Str(BaseClassIndex::KeyOf(strFirstBase))));
  pClass->m_strHeaderFile = strBaseFileName + ".h";
  pClass->m_strSourceFile = strBaseFileName + ".cpp";
  m_FileObjList.AddTail(pClass);
  return pClass;
}

CString CWorkSpaceObj::SplitBaseList(CString strText, CStringList& list) {
  CString strFirst;
  bool bFirst = true;
  static thread_local std::string buffer;
  const Text text = View(strText);
  ForEachListEntry(Source{text, Code(text, buffer)}, [&](Source source, bool bLast) {
    // One access word, and "virtual" on either side of it.
    Text entry = source.text;
    bool bVirtual = StripWord(entry, "virtual ");
    if (!StripWord(entry, "public") && !StripWord(entry, "protected")) StripWord(entry, "private");
    if (!bVirtual) StripWord(entry, "virtual ");
    CString strEntry = Str(entry);
    if (bLast && (strEntry.IsEmpty() || list.Find(strEntry) != nullptr)) return;
    list.AddTail(strEntry);
    if (bFirst) strFirst = strEntry;
    bFirst = false;
  });
  return strFirst;
}

void CWorkSpaceObj::SplitParameterList(CString strText, CStringList& list) {
  static thread_local std::string buffer;
  const Text text = View(strText);
  AddListEntries(Source{text, Code(text, buffer)}, list);
}

void CWorkSpaceObj::ParseMemberVariable(CFileObj* pClass, CString strStatement, int nAccess, CString strComment) {
  CString strCopy;
  static thread_local std::string buffer;
  const Text text = WithoutTabs(strStatement, strCopy);
  Source statement{text, Code(text, buffer)};
  SkipDeclarationPrefix(statement);
  BOOL bStatic = StripWord(statement, "static");
  bool bSeveral = false;
  ForEachListEntry(statement, [&bSeveral](Source, bool bLast) { bSeveral = bSeveral || !bLast; });
  if (bSeveral) return;  // several variables in one statement
  DropEnd(statement, ";");
  // A default member initialiser is no part of the name.
  const size_t nAssign = FindAssignment(statement.code);
  if (nAssign != npos) statement = statement.Left(nAssign).Trim();
  CString strType;
  CString strName;
  const size_t nParen = FindDeclaratorParen(statement.code);
  const Text parenthesised = nParen == npos ? Text() : ParenthesisedName(statement.code, nParen);
  if (!parenthesised.empty()) {
    // "int (*m_pfn)(int)" is m_pfn of type "int (*)(int)".
    const size_t nName = static_cast<size_t>(parenthesised.data() - statement.code.data());
    strName = Str(statement.text.substr(nName, parenthesised.size()));
    strType = Str(statement.text.substr(0, nName)) + Str(statement.text.substr(nName + parenthesised.size()));
  } else if (!SplitTypeAndName(statement, strType, strName)) {
    return;
  }
  if (pClass == nullptr) return;

  CVariableObj* pVariable = new CVariableObj;
  pVariable->m_nAccess = nAccess;
  pVariable->m_strType = strType;
  pVariable->m_strUniqueName = pClass->MakeUniqueVariableName(strName);
  pVariable->m_strName = std::move(strName);
  pVariable->m_strHeaderFile = pClass->m_strHeaderFile;
  pVariable->m_strClassName = pClass->m_strClassName;
  pVariable->m_strComment = CleanComment(strComment);
  pVariable->m_bStatic = bStatic;
  pVariable->m_strDeclaration = std::move(strStatement);  // last: the views above point into it
  pClass->m_VariableList.AddTail(pVariable);
}

void CWorkSpaceObj::ParseMemberFunction(CFileObj* pClass, CString strStatement, int nAccess, CString strComment) {
  CString strCopy;
  static thread_local std::string buffer;
  const Text text = WithoutTabs(strStatement, strCopy);
  Source statement{text, Code(text, buffer)};
  SkipDeclarationPrefix(statement);
  BOOL bStatic = StripWord(statement, "static");
  BOOL bVirtual = StripWord(statement, "virtual");
  DropEnd(statement, ";");
  // The parameter list, with what follows it (specifiers, "= 0", a trailing return type) dropped.
  const std::pair<size_t, size_t> list = FindParameterList(statement.code);
  if (list.first == npos || pClass == nullptr) return;
  Source head = statement.Left(list.first).Trim();
  Source parameters = statement.Sub(list.first + 1, list.second - list.first - 1);
  CString strReturnType;
  CString strName;
  if (!SplitOperator(head, strReturnType, strName) && !SplitMethodMacro(head, strReturnType, strName) &&
      !SplitTypeAndName(head, strReturnType, strName))
    return;

  CMemberFunctionObj* pFunction = new CMemberFunctionObj(std::max<INT_PTR>(CountListEntries(parameters), 1));
  pFunction->m_nAccess = nAccess;
  pFunction->m_strHeaderFile = pClass->m_strHeaderFile;
  pFunction->m_strSourceFile = pClass->m_strSourceFile;
  pFunction->m_strClassName = pClass->m_strClassName;
  pFunction->m_strUniqueName = pClass->MakeUniqueFunctionName(strName);
  pFunction->m_strReturnType = std::move(strReturnType);
  pFunction->m_strName = std::move(strName);
  pFunction->m_strComment = CleanComment(strComment);
  AddListEntries(parameters, pFunction->m_ParameterList);
  pFunction->m_bVirtual = bVirtual;
  pFunction->m_bStatic = bStatic;
  pFunction->m_strDeclaration = std::move(strStatement);  // last: the views above point into it
  pClass->m_MemberFunctionList.AddTail(pFunction);
}

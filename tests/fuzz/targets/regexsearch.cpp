// Fuzz target: the editor's regular-expression search. The input is a pattern, a NUL, then the
// subject; the first byte picks a double-byte code page (936, bit 0), ignoring case (bit 1) and
// a search up instead of down (bit 2). The subject goes into the editor's text buffer, which is
// searched from its start (or end) through the regular-expression adapter and the platform's
// object, and the replacement is made through the adapter. Every match found lies in the text and,
// in the double-byte page, at character boundaries. Run with libFuzzer's -timeout to hold each
// input to a time limit: a search costs the same order on double-byte text as on single-byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "base/CodePage.h"
#include "editor/SECEditBlockBuffer.h"
#include "editor/SECEditRegExp.h"

namespace {

void Fail(const char* what) {
  std::fprintf(stderr, "regular-expression search: %s\n", what);
  std::abort();
}

// Whether offset `at` of the text starts a character.
bool AtBoundary(const std::string& text, int at) {
  int i = 0;
  while (i < at) i += ::IsDBCSLeadByte(static_cast<BYTE>(text[static_cast<size_t>(i)])) && i + 1 < static_cast<int>(text.size()) ? 2 : 1;
  return i == at;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t nul = input.find('\0');
  if (nul == std::string::npos || nul == 0) return 0;
  const std::string pattern = input.substr(0, nul);
  std::string subject = input.substr(nul + 1);
  // The text holds no NUL: it ends the subject.
  subject = subject.substr(0, subject.find('\0'));
  brambolt::ScopedCodePage page(flags & 1 ? 936 : 1252);
  const BOOL matchCase = (flags & 2) == 0, forward = (flags & 4) == 0;

  SECEditBlockBuffer buffer;
  SECEditLineColPair where;
  if (!buffer.InsertText(where, subject.c_str(), static_cast<int>(subject.size()))) Fail("the subject was not taken");
  int line = 0, col = 0;
  if (!forward) {
    line = buffer.GetLineCount() - 1;
    col = buffer.GetLineLength(line);
  }
  int foundLine = 0, foundCol = 0;
  const int length =
      buffer.Find(line, col, &foundLine, &foundCol, pattern.c_str(), forward, TRUE, matchCase, FALSE, TRUE, -1, 0);
  if (length > 0) {
    const int at = buffer.LineColToOffset(foundLine, foundCol);
    if (at < 0 || at + length > buffer.GetTextLength()) Fail("a match lies outside the text");
    if (brambolt::IsDBCSCodePage() && (!AtBoundary(subject, at) || !AtBoundary(subject, at + length)))
      Fail("a match starts or ends inside a character");
  }

  SECEditRegExp regExp;
  if (regExp.Create()) {
    regExp.SetPattern(pattern.c_str());
    regExp.SetIgnoreCase(!matchCase);
    CString text(subject.c_str());
    regExp.Replace(text, "[$&]", TRUE);
  }
  return 0;
}

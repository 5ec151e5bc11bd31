// HTML-aware colouring: content outside tags is plain text. The bracket searches walk lines in a
// loop, so a long stretch of content costs no stack.
#include "editor/app/GWExtSECCodeEdit.h"

#include <string_view>

namespace {

// The last '<' or '>' in the first n bytes of a line, stepping over double-byte characters.
char LastBracket(std::string_view text) {
  char found = 0;
  for (size_t i = 0; i < text.size(); i = brambolt::NextCharacter(text, i))
    if (text[i] == '<' || text[i] == '>') found = text[i];
  return found;
}

char FirstBracket(std::string_view text, size_t from) {
  // Start on a character boundary.
  size_t i = from < text.size() ? brambolt::CharacterStart(text, from) : text.size();
  if (i < from) i = brambolt::NextCharacter(text, i);
  for (; i < text.size(); i = brambolt::NextCharacter(text, i))
    if (text[i] == '<' || text[i] == '>') return text[i];
  return 0;
}

}  // namespace

BOOL GWExtSECCodeEdit::IsHtml() {
  CString name;
  GetLanguageName(&name);
  return name.CompareNoCase("HTML") == 0;
}

char GWExtSECCodeEdit::FindBracketBefore(int line, int col, LPCTSTR lineText) {
  std::string_view text(lineText, static_cast<size_t>(col));
  CString copy;
  for (;;) {
    if (const char found = LastBracket(text)) return found;
    if (--line < 0) return 0;
    const int length = GetBuffer()->GetLineLength(line);
    if (!GetText(&copy, line, 0, line, length)) return 0;
    text = std::string_view(copy, static_cast<size_t>(std::max(0, length - 1)));
  }
}

char GWExtSECCodeEdit::FindBracketAfter(int line, int col, LPCTSTR lineText) {
  const int length = GetLineLength(line);
  std::string_view text(lineText, static_cast<size_t>(std::max(0, length)));
  size_t from = static_cast<size_t>(std::min(col, std::max(0, length)));
  CString copy;
  for (;;) {
    if (const char found = FirstBracket(text, from)) return found;
    if (++line > GetLastLine()) return 0;
    const int next = GetLineLength(line);
    if (!GetText(&copy, line, 0, line, next)) return 0;
    text = std::string_view(copy, static_cast<size_t>(next));
    from = 0;
  }
}

BOOL GWExtSECCodeEdit::IsOutsideTag(int line, LPCTSTR lineText, LPCTSTR pos) {
  const int c = static_cast<int>(pos - lineText);
  if (*pos == '>' && FindBracketBefore(line, c, lineText) == '<') return FALSE;
  if (*pos == '<' && FindBracketAfter(line, c + 1, lineText) == '>') return FALSE;
  const char before = FindBracketBefore(line, c, lineText);
  if (before == '>' || before == 0) return TRUE;
  const char after = FindBracketAfter(line, c, lineText);
  return after == '<' || after == 0;
}

int GWExtSECCodeEdit::NextToken(int line, LPCTSTR lineText, LPCTSTR pos, int wordLen, int remaining, WORD* pending,
                                SECEditLineColor* entry) {
  if (IsHtml() && wordLen >= 0 && IsOutsideTag(line, lineText, pos)) {
    int n = wordLen;
    if (n == 0) {
      n = static_cast<int>(brambolt::CharacterLength(std::string_view(pos, static_cast<size_t>(remaining)), 0));
      const UINT code = n == 2 ? static_cast<BYTE>(pos[0]) * 256U + static_cast<BYTE>(pos[1]) : static_cast<BYTE>(pos[0]);
      if (GetLangConfig() == nullptr || !GetLangConfig()->IsInCharSet(code, kDelimiters))
        return SECEdit::NextToken(line, lineText, pos, wordLen, remaining, pending, entry);
    }
    if (*pending + n > 0xFFFF) FlushPendingRun(entry, pending);
    *pending = static_cast<WORD>(*pending + n);
    return n;
  }
  return SECEdit::NextToken(line, lineText, pos, wordLen, remaining, pending, entry);
}

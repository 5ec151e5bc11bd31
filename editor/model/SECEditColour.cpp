// Syntax colouring: lines are split into runs of colour groups word by word (keyword, tag,
// operator, plain text, in that order), cached per line, with the ranges of multi-line tags kept
// sorted so that a line inside a block comment is coloured without rescanning from the top.
#include <algorithm>
#include <cstring>

#include "editor/model/SECEdit.h"

namespace {

// The character code at p: a byte, or lead × 256 + trail for a double-byte character.
UINT CharCode(LPCTSTR p, LPCTSTR end, int* length) {
  *length = static_cast<int>(brambolt::CharacterLength(std::string_view(p, static_cast<size_t>(end - p)), 0));
  const UINT lead = static_cast<BYTE>(p[0]);
  return *length == 2 ? lead * 256 + static_cast<BYTE>(p[1]) : lead;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void AppendRun(SECEditLineColor* entry, int length, WORD group) {
  entry->Add(SECEditTextColor{static_cast<WORD>(length), group});
}

SECEditLineColor* WholeLine(WORD group, int length = 0) {
  auto* entry = new SECEditLineColor;
  AppendRun(entry, length, group);
  return entry;
}

}  // namespace

void SECEdit::SetColourEntry(int line, SECEditLineColor* entry) {
  if (line < 0 || line >= m_colours.Length()) {
    delete entry;
    return;
  }
  SECEditLineColor*& slot = m_colours[line];
  if (slot != entry) delete slot;
  slot = entry;
}

void SECEdit::DropColourEntry(int line) { SetColourEntry(line, nullptr); }

void SECEdit::ClearColourCache() {
  for (ptrdiff_t i = 0; i < m_colours.Length(); ++i) {
    delete m_colours.ValueAt(i);
    m_colours.SetValueAt(i, nullptr);
  }
  m_mlRanges.RemoveAll();
  // Ranges are known for no line now, so colouring starts again from the top.
  m_nFirstUncoloured = 0;
}

int SECEdit::InvalidateMultiLineRanges(const SECEditLineColPair& range) {
  const SECEditLineCol start = range.Normalized().m_start;
  // Ranges do not overlap each other, so their ends are sorted like their starts: the first range
  // that ends at or after the edit's start overlaps it or starts after it.
  const SECEditMLComment* data = m_mlRanges.GetData();
  const INT_PTR count = m_mlRanges.GetSize();
  const INT_PTR first = std::lower_bound(data, data + count, start, [](const SECEditMLComment& c, const SECEditLineCol& pos) {
                          return c.m_range.m_end < pos;
                        }) - data;
  if (first >= count) return -1;
  const int firstLine = m_mlRanges[first].m_range.m_start.m_nLine;
  const int lastLine = m_mlRanges[count - 1].m_range.m_end.m_nLine;
  for (INT_PTR i = first; i < count; ++i) {
    const SECEditLineColPair& r = m_mlRanges[i].m_range;
    for (int l = r.m_start.m_nLine; l <= r.m_end.m_nLine; ++l) DropColourEntry(l);
  }
  m_mlRanges.RemoveAt(first, count - first);
  SECEditPaintMsg paint(firstLine, lastLine);
  UpdateAllObservers(nullptr, &paint);
  return firstLine;
}

LPCTSTR SECEdit::GetWordEnd(LPCTSTR p, int len) {
  if (len <= 0) return nullptr;
  LPCTSTR end = p + len;
  if (IsBlank(*p)) {
    while (p < end && IsBlank(*p)) ++p;
    return p;
  }
  auto inSet = [&](UINT code, int set) { return m_pLangConfig != nullptr && m_pLangConfig->IsInCharSet(code, set); };
  auto isWord = [&](LPCTSTR q, UINT code) { return !IsBlank(*q) && !inSet(code, kDelimiters); };
  int n = 0;
  UINT code = CharCode(p, end, &n);
  if (isWord(p, code) || inSet(code, kKeywordStart)) p += n;
  while (p < end) {
    code = CharCode(p, end, &n);
    if (!isWord(p, code) && !inSet(code, kKeywordMiddle)) break;
    p += n;
  }
  if (p < end && inSet(CharCode(p, end, &n), kKeywordEnd)) p += n;
  return p;
}

SECEditLineColor* SECEdit::GetLineColor(int line) {
  if (!m_bColouring || line < 0 || line >= m_colours.Length()) return nullptr;
  if (line >= m_nFirstUncoloured) ScanToLine(SECEditLineColPair(m_nFirstUncoloured, 0, line, 0));
  SECEditLineColor* entry = m_colours.ValueAt(line);
  if (entry == nullptr) entry = BuildLineColor(line, 0);
  if (entry != nullptr && m_pLangConfig != nullptr && HasLineMark(line, SECEDIT_MARK_HIGHLIGHT)) {
    for (int g = 0; g < m_pLangConfig->GetColorGroupCount(); ++g) {
      if (m_pLangConfig->GetColorInfo(g)->m_strName.CompareNoCase("Highlight") != 0) continue;
      entry->RemoveAll();
      AppendRun(entry, GetLineLength(line), static_cast<WORD>(g));
      break;
    }
  }
  return entry;
}

SECEditLineColor* SECEdit::BuildLineColor(int line, int startCol) {
  m_nFirstUncoloured = line + 1;
  // The line is scanned from a copy: finding a tag's end may move the buffer's gap.
  CString copy;
  const int length = GetLineLength(line);
  if (length < 0 || !GetText(&copy, line, 0, line, length)) return nullptr;
  if (length == 0) {
    SetColourEntry(line, WholeLine(0));
    return m_colours.ValueAt(line);
  }
  SECEditLineColor* entry = m_colours.ValueAt(line);
  if (startCol == 0 || entry == nullptr) {
    entry = new SECEditLineColor;
    SetColourEntry(line, entry);
  }
  if (startCol >= length) return entry;
  LPCTSTR lineText = copy;
  LPCTSTR pos = lineText + startCol;
  int remaining = length - startCol;
  WORD pending = 0;
  while (remaining > 0) {
    LPCTSTR end = GetWordEnd(pos, remaining);
    const int n = NextToken(line, lineText, pos, static_cast<int>(end - pos), remaining, &pending, entry);
    if (n <= 0) break;
    pos += n;
    remaining -= n;
  }
  if (pending > 0) AppendRun(entry, pending, m_pLangConfig != nullptr ? m_pLangConfig->GetStandardGroupIndex(kGroupText) : 0);
  return entry;
}

int SECEdit::NextToken(int line, LPCTSTR lineText, LPCTSTR pos, int wordLen, int remaining, WORD* pending,
                       SECEditLineColor* entry) {
  if (int n = MatchKeyword(line, lineText, pos, wordLen, remaining, pending, entry)) return n;
  if (int n = MatchTag(line, lineText, pos, wordLen, remaining, pending, entry)) return n;
  if (int n = MatchOperator(line, lineText, pos, wordLen, remaining, pending, entry)) return n;
  int n = wordLen;
  if (n == 0) CharCode(pos, pos + remaining, &n);
  // A run length is 16 bits: a longer plain stretch is written in parts.
  if (*pending + n > 0xFFFF) FlushPendingRun(entry, pending);
  *pending = static_cast<WORD>(*pending + n);
  return n;
}

int SECEdit::MatchKeyword(int, LPCTSTR, LPCTSTR pos, int wordLen, int, WORD* pending, SECEditLineColor* entry) {
  WORD group = 0;
  if (wordLen < 1 || !LookupKeyword(pos, wordLen, &group)) return 0;
  FlushPendingRun(entry, pending);
  AppendRun(entry, wordLen, group);
  return wordLen;
}

int SECEdit::MatchTag(int line, LPCTSTR lineText, LPCTSTR pos, int wordLen, int remaining, WORD* pending,
                      SECEditLineColor* entry) {
  SECEditKeywordInfo* tag = FindTag(line, lineText, pos, wordLen, remaining, 2);
  if (tag == nullptr) return 0;
  FlushPendingRun(entry, pending);
  return tag->m_bMultiLine ? ColourMultiLineTag(line, lineText, pos, remaining, entry, tag)
                           : ColourSingleLineTag(line, lineText, pos, remaining, entry, tag);
}

int SECEdit::MatchOperator(int, LPCTSTR, LPCTSTR pos, int, int remaining, WORD* pending, SECEditLineColor* entry) {
  int n = 0;
  const UINT code = CharCode(pos, pos + remaining, &n);
  if (m_pLangConfig == nullptr || !m_pLangConfig->IsInCharSet(code, kOperators)) return 0;
  FlushPendingRun(entry, pending);
  AppendRun(entry, n, m_pLangConfig->GetStandardGroupIndex(kGroupOperator));
  return n;
}

SECEditKeywordInfo* SECEdit::FindTag(int, LPCTSTR, LPCTSTR pos, int wordLen, int remaining, int mode) {
  return m_pLangConfig != nullptr ? m_pLangConfig->FindTag(pos, remaining, wordLen, mode) : nullptr;
}

void SECEdit::FlushPendingRun(SECEditLineColor* entry, WORD* pending) {
  if (*pending == 0) return;
  AppendRun(entry, *pending, m_pLangConfig != nullptr ? m_pLangConfig->GetStandardGroupIndex(kGroupText) : 0);
  *pending = 0;
}

int SECEdit::ColourSingleLineTag(int line, LPCTSTR lineText, LPCTSTR pos, int, SECEditLineColor* entry,
                                 SECEditKeywordInfo* tag) {
  const int s = static_cast<int>(pos - lineText);
  const SECEditLineCol end = FindTagEnd(SECEditLineCol(line, s + tag->m_strBegin.GetLength()), tag);
  const int n = end.m_nCol - s;
  AppendRun(entry, n, tag->m_wGroup);
  return n;
}

int SECEdit::ColourMultiLineTag(int line, LPCTSTR lineText, LPCTSTR pos, int remaining, SECEditLineColor* entry,
                                SECEditKeywordInfo* tag) {
  const int s = static_cast<int>(pos - lineText);
  const SECEditLineCol end = FindTagEnd(SECEditLineCol(line, s + tag->m_strBegin.GetLength()), tag);
  if (end.m_nLine == line) {
    AppendRun(entry, end.m_nCol - s, tag->m_wGroup);
    return end.m_nCol - s;
  }
  AppendRun(entry, remaining, tag->m_wGroup);
  for (int l = line + 1; l < end.m_nLine; ++l) SetColourEntry(l, WholeLine(tag->m_wGroup));
  // Into the sorted ranges, after the last one that starts before it.
  SECEditMLComment range;
  range.m_range = SECEditLineColPair(SECEditLineCol(line, s), end);
  INT_PTR at = m_mlRanges.GetSize();
  while (at > 0 && !(m_mlRanges[at - 1].m_range.m_start < range.m_range.m_start)) --at;
  m_mlRanges.InsertAt(at, range);
  SECEditPaintMsg paint(line, end.m_nLine);
  UpdateAllObservers(nullptr, &paint);
  SetColourEntry(end.m_nLine, WholeLine(tag->m_wGroup, end.m_nCol));
  BuildLineColor(end.m_nLine, end.m_nCol);
  return remaining;
}

SECEditLineCol SECEdit::FindTagEnd(SECEditLineCol start, SECEditKeywordInfo* tag) {
  if (tag->m_strEnd.IsEmpty()) return SECEditLineCol(start.m_nLine, GetLineLength(start.m_nLine));
  const bool escapes = !tag->m_strEscape.IsEmpty() && !tag->m_bMultiLine;
  const SECEditLineCol limit =
      tag->m_bMultiLine ? SECEditLineCol(GetLastLine(), GetLineLength(GetLastLine())) : SECEditLineCol(start.m_nLine, GetLineLength(start.m_nLine));
  if (!(start < limit)) return limit;
  const BOOL matchCase = m_pLangConfig == nullptr || m_pLangConfig->GetMatchCase();
  int line = 0, col = 0;
  if (Find(start.m_nLine, start.m_nCol, &line, &col, tag->m_strEnd, TRUE, FALSE, matchCase, FALSE, FALSE, limit.m_nLine,
           limit.m_nCol) == 0)
    return limit;
  if (escapes && SECEditLineCol(line, col) != start) {
    CString text;
    GetText(&text, line, 0, line, col);
    const CString& esc = tag->m_strEscape;
    const int escLen = esc.GetLength();
    int count = 0;
    for (int k = col; k - escLen >= (line == start.m_nLine ? start.m_nCol : 0) &&
                      std::memcmp(static_cast<LPCTSTR>(text) + k - escLen, esc, static_cast<size_t>(escLen)) == 0;
         k -= escLen)
      ++count;
    if (count % 2 == 1) return FindTagEnd(SECEditLineCol(line, col + tag->m_strEnd.GetLength()), tag);
  }
  return SECEditLineCol(line, col + tag->m_strEnd.GetLength());
}

int SECEdit::LookupKeyword(LPCTSTR word, int len, WORD* group) {
  return m_pLangConfig != nullptr ? m_pLangConfig->ClassifyWord(word, len, group) : 0;
}

BOOL SECEdit::FindTagInLine(int line, int* col, int* endCol) {
  CString copy;
  const int length = GetLineLength(line);
  if (length < 0 || *col >= length || !GetText(&copy, line, 0, line, length)) return FALSE;
  LPCTSTR text = copy;
  for (LPCTSTR p = text + *col; p < text + length;) {
    const int remaining = static_cast<int>(text + length - p);
    const int wordLen = static_cast<int>(GetWordEnd(p, remaining) - p);
    if (SECEditKeywordInfo* tag = FindTag(line, text, p, wordLen, remaining, 0)) {
      *col = static_cast<int>(p - text);
      const SECEditLineCol end = FindTagEnd(SECEditLineCol(line, *col + tag->m_strBegin.GetLength()), tag);
      *endCol = end.m_nLine == line ? end.m_nCol : length;
      return TRUE;
    }
    int n = wordLen;
    if (n == 0) CharCode(p, text + length, &n);
    p += n;
  }
  return FALSE;
}

BOOL SECEdit::GetTagSpanAt(SECEditLineCol pos, int* start, int* end) {
  int col = 0, endCol = 0;
  while (FindTagInLine(pos.m_nLine, &col, &endCol)) {
    if (col > pos.m_nCol) return FALSE;
    if (pos.m_nCol <= endCol) {
      *start = col;
      *end = endCol;
      return TRUE;
    }
    col = std::max(endCol, col + 1);
  }
  return FALSE;
}

void SECEdit::ScanToLine(const SECEditLineColPair& range) {
  // Known ranges among the lines asked for are found again from the first of them.
  const SECEditMLComment* data = m_mlRanges.GetData();
  for (INT_PTR i = 0; i < m_mlRanges.GetSize(); ++i) {
    if (!data[i].m_range.Overlaps(range)) continue;
    const int line = data[i].m_range.m_start.m_nLine;
    InvalidateMultiLineRanges(SECEditLineColPair(data[i].m_range.m_start, data[i].m_range.m_start));
    BuildLineColor(line, 0);
    break;
  }
  if (range.m_start.m_nLine == range.m_end.m_nLine || m_pLangConfig == nullptr) return;
  SECEditKeywordInfoList tags;
  m_pLangConfig->GetTags(tags, 1);
  const BOOL matchCase = m_pLangConfig->GetMatchCase();
  while (m_nFirstUncoloured < range.m_end.m_nLine) {
    SECEditLineCol best(-1, -1);
    const SECEditLineCol from(m_nFirstUncoloured, 0);
    for (INT_PTR t = 0; t < tags.GetSize(); ++t) {
      SECEditLineCol at = from;
      while (at < range.m_end) {
        int line = 0, col = 0;
        if (Find(at.m_nLine, at.m_nCol, &line, &col, tags[t]->m_strBegin, TRUE, FALSE, matchCase, FALSE, FALSE,
                 range.m_end.m_nLine, range.m_end.m_nCol) == 0)
          break;
        int spanStart = 0, spanEnd = 0;
        // A begin inside a string or after a line comment starts nothing.
        if (GetTagSpanAt(SECEditLineCol(line, col), &spanStart, &spanEnd)) {
          at = col < GetLineLength(line) ? SECEditLineCol(line, col + 1) : SECEditLineCol(line + 1, 0);
          continue;
        }
        if (best.m_nLine < 0 || SECEditLineCol(line, col) < best) best = SECEditLineCol(line, col);
        break;
      }
    }
    if (best.m_nLine < 0) {
      m_nFirstUncoloured = range.m_end.m_nLine + 1;
      return;
    }
    BuildLineColor(best.m_nLine, 0);
  }
}

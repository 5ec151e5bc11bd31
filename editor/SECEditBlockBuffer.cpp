// The text buffer: edits on the gap buffer and the line partitioning, positions and offsets,
// plain and regular-expression find with wrap and stop positions, and writing.
#include "editor/SECEditBlockBuffer.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "base/Convert.h"
#include "editor/SECEditRegExp.h"

namespace {

// The bytes of one character at p (two for a lead byte with a byte after it before end).
int CharLength(const char* p, const char* end) {
  return static_cast<int>(brambolt::CharacterLength(std::string_view(p, static_cast<size_t>(end - p)), 0));
}

// Compares len bytes, folding single-byte letters when case does not matter; double-byte
// characters compare exactly.
bool SameText(const char* a, const char* b, int len, BOOL bMatchCase) {
  if (bMatchCase) return std::memcmp(a, b, static_cast<size_t>(len)) == 0;
  for (int i = 0; i < len;) {
    const BYTE ca = static_cast<BYTE>(a[i]), cb = static_cast<BYTE>(b[i]);
    if (i + 1 < len && IsDBCSLeadByte(ca)) {
      if (ca != cb || a[i + 1] != b[i + 1]) return false;
      i += 2;
    } else {
      if (brambolt::ToLowerByte(ca) != brambolt::ToLowerByte(cb)) return false;
      ++i;
    }
  }
  return true;
}

}  // namespace

SECEditBlockBuffer::SECEditBlockBuffer() { InitEmpty(); }

BOOL SECEditBlockBuffer::InitEmpty() {
  m_text.Clear();
  m_text.Insert(0, '\0');
  m_lines.Reset();
  m_nLongestLoaded = 0;
  m_chLineEnd1 = 10;
  m_chLineEnd2 = 13;
  return TRUE;
}

BOOL SECEditBlockBuffer::LoadFrom(CFile* file) {
  const char end1 = m_chLineEnd1, end2 = m_chLineEnd2;
  InitEmpty();
  m_chLineEnd1 = end1;
  m_chLineEnd2 = end2;
  const ULONGLONG size = file->GetLength() - file->GetPosition();
  if (size >= static_cast<ULONGLONG>(INT_MAX)) AfxThrowMemoryException();
  // The text goes before the closing NUL, which is put back after it.
  m_text.DeleteRange(0, 1);
  char* text = m_text.AppendSpace(static_cast<ptrdiff_t>(size) + 1);
  constexpr UINT kPiece = 512000;
  size_t total = 0;
  while (total < size) {
    const UINT n = file->Read(text + total, static_cast<UINT>(std::min<ULONGLONG>(kPiece, size - total)));
    if (n == 0) break;
    total += n;
  }
  text[total] = '\0';
  m_text.Commit(static_cast<ptrdiff_t>(total) + 1);
  if (std::memchr(text, 0, total) != nullptr) {
    InitEmpty();
    return FALSE;
  }
  m_lines.InsertText(0, static_cast<ptrdiff_t>(total));
  m_nLongestLoaded = IndexLines(0, text, static_cast<int>(total), 0);
  return TRUE;
}

// Enters a partition after every line-end-1 character of the text just inserted at offset, which
// lies in `line`.
int SECEditBlockBuffer::IndexLines(int offset, const char* text, int len, int line) {
  std::vector<ptrdiff_t> starts;
  starts.reserve(static_cast<size_t>(len / 32));  // source lines run to a few dozen bytes
  const char* end = text + len;
  const char* start = text;
  ptrdiff_t longest = 0;
  for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, m_chLineEnd1, static_cast<size_t>(end - p)))) != nullptr;) {
    ++p;
    longest = std::max(longest, p - start);
    start = p;
    starts.push_back(offset + (p - text));
  }
  longest = std::max(longest, end - start);
  if (!starts.empty()) m_lines.InsertPartitions(line + 1, starts.data(), static_cast<ptrdiff_t>(starts.size()));
  return static_cast<int>(longest);
}

void SECEditBlockBuffer::RebuildIndex() {
  const int length = GetTextLength();
  const char* text = m_text.BufferPointer();
  m_lines.Reset();
  m_lines.InsertText(0, length);
  IndexLines(0, text, length, 0);
}

char SECEditBlockBuffer::SetLineEndChar1(char ch) {
  const char old = m_chLineEnd1;
  m_chLineEnd1 = ch;
  if (ch != old) RebuildIndex();
  return old;
}

char SECEditBlockBuffer::SetLineEndChar2(char ch) {
  const char old = m_chLineEnd2;
  m_chLineEnd2 = ch;
  return old;
}

int SECEditBlockBuffer::LineColToOffset(int line, int col) {
  if (line < 0 || line >= GetLineCount() || col < 0) return -1;
  const int start = LineStart(line);
  if (col > LineStart(line + 1) - start) return -1;
  return start + col;
}

BOOL SECEditBlockBuffer::OffsetToLineCol(int offset, int* line, int* col) {
  if (offset < 0 || offset > GetTextLength()) return FALSE;
  *line = static_cast<int>(m_lines.PartitionFromPosition(offset));
  *col = offset - LineStart(*line);
  return TRUE;
}

int SECEditBlockBuffer::GetLineLength(int line) {
  if (line < 0 || line >= GetLineCount()) return -1;
  return LineStart(line + 1) - LineStart(line);
}

int SECEditBlockBuffer::GetVisibleLineLength(int line) {
  if (line < 0 || line >= GetLineCount()) return -1;
  const int start = LineStart(line);
  int end = LineStart(line + 1);
  if (line + 1 < GetLineCount()) --end;  // the line-end-1 character
  if (m_chLineEnd2 == 0) return end - start;
  const char *a, *b;
  ptrdiff_t na, nb;
  m_text.Pieces(start, end - start, &a, &na, &b, &nb);
  if (const void* hit = std::memchr(a, m_chLineEnd2, static_cast<size_t>(na)))
    return static_cast<int>(static_cast<const char*>(hit) - a);
  if (const void* hit = std::memchr(b, m_chLineEnd2, static_cast<size_t>(nb)))
    return static_cast<int>(na + (static_cast<const char*>(hit) - b));
  return end - start;
}

int SECEditBlockBuffer::InsertTextAt(SECEditLineColPair& where, LPCTSTR text, int len) {
  const int offset = LineColToOffset(where.m_start.m_nLine, where.m_start.m_nCol);
  if (offset < 0) return -1;
  if (len < 0) len = static_cast<int>(std::strlen(text));
  if (len == 0) {
    where.m_end = where.m_start;
    return offset;
  }
  // A column just past a line's end is the start of the next line: the text goes there.
  OffsetToLineCol(offset, &where.m_start.m_nLine, &where.m_start.m_nCol);
  const int line = where.m_start.m_nLine;
  m_text.InsertFromArray(offset, text, len);
  m_lines.InsertText(line, len);
  IndexLines(offset, text, len, line);
  OffsetToLineCol(offset + len, &where.m_end.m_nLine, &where.m_end.m_nCol);
  return offset;
}

BOOL SECEditBlockBuffer::InsertText(SECEditLineColPair& where, LPCTSTR text, int len) {
  return InsertTextAt(where, text, len) >= 0;
}

BOOL SECEditBlockBuffer::DeleteText(const SECEditLineColPair& range) {
  const SECEditLineColPair r = range.Normalized();
  int endCol = r.m_end.m_nCol;
  // A column past the end line's text never reaches into its line end.
  const int visible = GetVisibleLineLength(r.m_end.m_nLine);
  if (visible >= 0 && endCol > visible) endCol = visible;
  const int startOffset = LineColToOffset(r.m_start.m_nLine, r.m_start.m_nCol);
  const int endOffset = LineColToOffset(r.m_end.m_nLine, endCol);
  if (startOffset < 0 || endOffset < 0) return FALSE;
  if (endOffset <= startOffset) return TRUE;
  // The lines that start inside the deleted bytes go with them.
  const ptrdiff_t first = m_lines.PartitionFromPosition(startOffset);
  const ptrdiff_t last = m_lines.PartitionFromPosition(endOffset);
  m_lines.RemovePartitions(first + 1, last - first);
  m_lines.InsertText(first, startOffset - endOffset);
  m_text.DeleteRange(startOffset, endOffset - startOffset);
  return TRUE;
}

bool SECEditBlockBuffer::ResolveRange(int line, int col, int endLine, int endCol, Range* range) {
  if (endLine == -1 || endCol == -1) {
    endLine = line;
    endCol = GetLineLength(line);
  }
  const int a = LineColToOffset(line, col);
  const int b = LineColToOffset(endLine, endCol);
  if (a < 0 || b < 0) return false;
  range->start = std::min(a, b);
  range->end = std::max(a, b);
  return true;
}

BOOL SECEditBlockBuffer::CopyRange(CString* out, int line, int col, int endLine, int endCol) {
  Range r{};
  if (!ResolveRange(line, col, endLine, endCol, &r)) return FALSE;
  const int n = r.end - r.start;
  char* p = out->GetBufferSetLength(n);
  m_text.GetRange(p, r.start, n);
  out->ReleaseBuffer(n);
  return TRUE;
}

int SECEditBlockBuffer::GetPointer(LPTSTR* out, int line, int col, int endLine, int endCol) {
  Range r{};
  if (!ResolveRange(line, col, endLine, endCol, &r)) return 0;
  // A range that reaches the end takes the closing NUL with it.
  const int n = r.end - r.start + (r.end == GetTextLength() ? 1 : 0);
  *out = m_text.RangePointer(r.start, n);
  return r.end - r.start;
}

bool SECEditBlockBuffer::IsWordDelimiter(char ch) {
  static const char kDelimiters[] = "\t \\\"'`~-=!@#$%^&*()_+[]{}|;:.,<>/?";
  return ch != 0 && std::memchr(kDelimiters, ch, sizeof kDelimiters - 1) != nullptr;
}

BOOL SECEditBlockBuffer::IsWholeWord(int offset, int len) {
  int line = 0, col = 0;
  if (!OffsetToLineCol(offset, &line, &col)) return FALSE;
  const bool before = col == 0 || IsWordDelimiter(CharAt(offset - 1));
  const bool after = col + len == GetVisibleLineLength(line) || IsWordDelimiter(CharAt(offset + len));
  return before && after;
}

// Whether an offset starts a character: the parity of the run of lead-range bytes before it in
// its line decides. Reads bytes in place, so the gap never moves for it.
bool SECEditBlockBuffer::IsCharStart(int offset) {
  if (!brambolt::IsDBCSCodePage()) return true;
  int line = 0, col = 0;
  if (!OffsetToLineCol(offset, &line, &col) || col == 0) return true;
  const int start = LineStart(line);
  int run = 0;
  for (int i = offset - 1; i >= start && IsDBCSLeadByte(static_cast<BYTE>(m_text.ValueAt(i))); --i) ++run;
  return run % 2 == 0;
}

int SECEditBlockBuffer::FindPlain(int start, int stop, LPCTSTR text, int len, BOOL bForward, BOOL bMatchCase,
                                  BOOL bWholeWord, int* found) {
  const int length = GetTextLength();
  // Only the searched bytes are made contiguous: the gap moves only when it lies among them.
  const int lo = bForward ? start : stop;
  const int hi = std::min(length, (bForward ? stop : start) + len);
  if (hi <= lo) return 0;
  const char* region = m_text.RangePointer(lo, hi - lo);
  const char* end = region + (hi - lo);
  if (bForward && bMatchCase && !bWholeWord) {
    // A match may begin at stop at the latest.
    for (const char* p = region; p < end;) {
      const char* hit = static_cast<const char*>(memmem(p, static_cast<size_t>(end - p), text, static_cast<size_t>(len)));
      if (hit == nullptr) return 0;
      if (IsCharStart(lo + static_cast<int>(hit - region))) {
        *found = lo + static_cast<int>(hit - region);
        return len;
      }
      p = hit + 1;
    }
    return 0;
  }
  auto matchesAt = [&](int offset) {
    const char* p = region + (offset - lo);
    return p + len <= end && SameText(p, text, len, bMatchCase) && (!bWholeWord || IsWholeWord(offset, len));
  };
  if (bForward) {
    for (int offset = start; offset <= stop && offset < hi; offset += CharLength(region + (offset - lo), end)) {
      if (matchesAt(offset)) {
        *found = offset;
        return len;
      }
    }
    return 0;
  }
  if (start <= stop) return 0;
  for (int offset = start; offset > stop;) {
    --offset;
    if (!IsCharStart(offset)) --offset;
    if (offset < stop) break;
    if (matchesAt(offset)) {
      *found = offset;
      return len;
    }
  }
  return 0;
}

int SECEditBlockBuffer::FindRegExp(int start, int stop, BOOL bForward, ISECEditRegExp* regExp, int* found) {
  // The whole remaining text in one call, with byte offsets: a match never falls between pieces.
  const int length = GetTextLength();
  const int from = bForward ? start : stop;
  CString subject;
  m_text.GetRange(subject.GetBufferSetLength(length - from), from, length - from);
  subject.ReleaseBuffer(length - from);
  int index = 0, matchLength = 0;
  if (bForward) {
    if (!regExp->FindFirst(subject, &index, &matchLength)) return 0;
    if (start + index > stop || matchLength <= 0) return 0;
    *found = start + index;
    return matchLength;
  }
  // Backward: the last match that begins at or after stop and before start.
  auto* adapter = dynamic_cast<SECEditRegExp*>(regExp);
  if (adapter == nullptr || !adapter->FindLast(subject, start - stop, &index, &matchLength)) return 0;
  *found = stop + index;
  return matchLength;
}

int SECEditBlockBuffer::FindDirect(int start, int stop, LPCTSTR text, int len, BOOL bForward, BOOL bMatchCase,
                                   BOOL bWholeWord, ISECEditRegExp* regExp, int* found) {
  if (regExp != nullptr) return FindRegExp(start, stop, bForward, regExp, found);
  return FindPlain(start, stop, text, len, bForward, bMatchCase, bWholeWord, found);
}

int SECEditBlockBuffer::FindRange(const SECEditLineCol& from, const SECEditLineCol& to, LPCTSTR text, BOOL bForward,
                                  BOOL bMatchCase, BOOL bWholeWord, ISECEditRegExp* regExp, int* outLine, int* outCol) {
  const int start = LineColToOffset(from.m_nLine, from.m_nCol);
  const int stop = LineColToOffset(to.m_nLine, to.m_nCol);
  int found = 0;
  const int n = FindDirect(start, stop, text, static_cast<int>(std::strlen(text)), bForward, bMatchCase, bWholeWord,
                           regExp, &found);
  if (n > 0) OffsetToLineCol(found, outLine, outCol);
  return n;
}

int SECEditBlockBuffer::Find(int line, int col, int* outLine, int* outCol, LPCTSTR text, BOOL bForward, BOOL bWrap,
                             BOOL bMatchCase, BOOL bWholeWord, BOOL bRegExp, int stopLine, int stopCol) {
  if (LineColToOffset(line, col) < 0 || text == nullptr || *text == '\0') return 0;
  SECEditRegExp regExp;
  ISECEditRegExp* engine = nullptr;
  if (bRegExp && regExp.Create()) {
    regExp.SetPattern(text);
    regExp.SetIgnoreCase(!bMatchCase);
    engine = &regExp;
  }
  const SECEditLineCol start(line, col);
  const SECEditLineCol origin(0, 0);
  const SECEditLineCol last(GetLineCount() - 1, GetLineLength(GetLineCount() - 1));
  SECEditLineCol stop = stopLine == -1 ? start : SECEditLineCol(stopLine, stopCol);
  if (stop > last) stop = SECEditLineCol(last.m_nLine, stopCol);
  if (LineColToOffset(stop.m_nLine, stop.m_nCol) < 0) return 0;
  auto search = [&](const SECEditLineCol& from, const SECEditLineCol& to) {
    return FindRange(from, to, text, bForward, bMatchCase, bWholeWord, engine, outLine, outCol);
  };
  if (bForward) {
    if (start < stop) return search(start, stop);
    if (start < last)
      if (const int n = search(start, last)) return n;
    return stop > origin && bWrap ? search(origin, stop) : 0;
  }
  if (start > stop) return search(start, stop);
  if (start > origin)
    if (const int n = search(start, origin)) return n;
  return start < last && bWrap ? search(last, stop) : 0;
}

BOOL SECEditBlockBuffer::ReplaceRanges(const std::vector<SECEditReplacement>& edits, const std::string& texts) {
  const int length = GetTextLength();
  long long newLength = length;
  int end = 0;
  for (const SECEditReplacement& e : edits) {
    if (e.offset < end || e.length < 0 || e.offset > length - e.length || e.size < 0 || e.textAt < 0 ||
        static_cast<size_t>(e.textAt) + static_cast<size_t>(e.size) > texts.size())
      return FALSE;
    end = e.offset + e.length;
    newLength += e.size - e.length;
  }
  if (edits.empty()) return TRUE;
  if (newLength >= INT_MAX) return FALSE;
  const char* old = m_text.BufferPointer();
  kelpwood::editor::SplitVector<char> fresh;
  char* out = fresh.AppendSpace(static_cast<ptrdiff_t>(newLength) + 1);
  int from = 0;
  for (const SECEditReplacement& e : edits) {
    std::memcpy(out, old + from, static_cast<size_t>(e.offset - from));
    out += e.offset - from;
    std::memcpy(out, texts.data() + e.textAt, static_cast<size_t>(e.size));
    out += e.size;
    from = e.offset + e.length;
  }
  std::memcpy(out, old + from, static_cast<size_t>(length - from));
  out[length - from] = '\0';
  fresh.Commit(static_cast<ptrdiff_t>(newLength) + 1);
  m_text = std::move(fresh);
  RebuildIndex();
  m_nLongestLoaded = 0;
  return TRUE;
}

void SECEditBlockBuffer::Write(CFile* file, BOOL bUnicode) {
  if (bUnicode) {
    static const BYTE kMark[2] = {0xFF, 0xFE};
    file->Write(kMark, 2);
  }
  const int length = GetTextLength();
  constexpr int kPiece = 256000;
  for (int offset = 0; offset < length;) {
    int count = std::min(kPiece, length - offset);
    // A piece converted on its own must not end inside a double-byte character.
    if (bUnicode && offset + count < length && !IsCharStart(offset + count)) --count;
    WriteRange(file, offset, count, bUnicode);
    offset += count;
  }
}

void SECEditBlockBuffer::WriteRange(CFile* file, int offset, int count, BOOL bUnicode) {
  if (count <= 0) return;
  if (!bUnicode) {
    const char *a, *b;
    ptrdiff_t na, nb;
    m_text.Pieces(offset, count, &a, &na, &b, &nb);
    if (na > 0) file->Write(a, static_cast<UINT>(na));
    if (nb > 0) file->Write(b, static_cast<UINT>(nb));
    return;
  }
  std::string bytes(static_cast<size_t>(count), '\0');
  m_text.GetRange(bytes.data(), offset, count);
  const int wide = MultiByteToWideChar(CP_ACP, 0, bytes.data(), count, nullptr, 0);
  if (wide <= 0) return;
  std::vector<WCHAR> units(static_cast<size_t>(wide));
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), count, units.data(), wide);
  std::vector<BYTE> out;
  out.reserve(units.size() * 2);
  for (WCHAR u : units) {
    out.push_back(static_cast<BYTE>(u & 0xFF));
    out.push_back(static_cast<BYTE>(u >> 8));
  }
  file->Write(out.data(), static_cast<UINT>(out.size()));
}

// Text positions (0-based line and byte column) and ranges of them, compared order-insensitively,
// with the rule that moves a position over an insert or a delete.
#pragma once

#include "base/WinTypes.h"

class SECEditLineColPair;

class SECEditLineCol {
 public:
  SECEditLineCol() = default;
  SECEditLineCol(int line, int col) : m_nLine(line), m_nCol(col) {}
  virtual ~SECEditLineCol() = default;
  SECEditLineCol(const SECEditLineCol&) = default;
  SECEditLineCol& operator=(const SECEditLineCol&) = default;

  bool operator<(const SECEditLineCol& b) const { return m_nLine < b.m_nLine || (m_nLine == b.m_nLine && m_nCol < b.m_nCol); }
  bool operator>(const SECEditLineCol& b) const { return b < *this; }
  bool operator<=(const SECEditLineCol& b) const { return !(b < *this); }
  bool operator>=(const SECEditLineCol& b) const { return !(*this < b); }
  bool operator==(const SECEditLineCol& b) const { return m_nLine == b.m_nLine && m_nCol == b.m_nCol; }
  bool operator!=(const SECEditLineCol& b) const { return !(*this == b); }

  bool IsBefore(const SECEditLineColPair& range) const;
  bool IsAtOrBeforeEnd(const SECEditLineColPair& range) const;
  // Moves the position over an edit (the range normalised); TRUE when it changed.
  BOOL Adjust(const SECEditLineColPair& edit, BOOL bInsert);

  int m_nLine = 0;
  int m_nCol = 0;
};

class SECEditLineColPair {
 public:
  SECEditLineColPair() = default;
  SECEditLineColPair(const SECEditLineCol& start, const SECEditLineCol& end) : m_start(start), m_end(end) {}
  SECEditLineColPair(int line, int col, int endLine, int endCol) : m_start(line, col), m_end(endLine, endCol) {}
  virtual ~SECEditLineColPair() = default;
  SECEditLineColPair(const SECEditLineColPair&) = default;
  SECEditLineColPair& operator=(const SECEditLineColPair&) = default;

  SECEditLineColPair Normalized() const {
    return m_end < m_start ? SECEditLineColPair(m_end, m_start) : *this;
  }
  bool IsOrdered() const { return m_start <= m_end; }
  void SetStart(int line, int col) { m_start = SECEditLineCol(line, col); }
  void SetEnd(int line, int col) { m_end = SECEditLineCol(line, col); }
  // Both ends inclusive.
  bool Contains(const SECEditLineCol& pos) const {
    const SECEditLineColPair n = Normalized();
    return n.m_start <= pos && pos <= n.m_end;
  }
  bool Overlaps(const SECEditLineColPair& other) const {
    const SECEditLineColPair a = Normalized(), b = other.Normalized();
    return a.Contains(b.m_start) || a.Contains(b.m_end) || b.Contains(a.m_start) || b.Contains(a.m_end);
  }
  bool operator==(const SECEditLineColPair& other) const {
    const SECEditLineColPair a = Normalized(), b = other.Normalized();
    return a.m_start == b.m_start && a.m_end == b.m_end;
  }
  bool operator!=(const SECEditLineColPair& other) const { return !(*this == other); }
  bool EndsAfter(const SECEditLineColPair& other) const { return Normalized().m_end > other.Normalized().m_end; }
  BOOL Adjust(const SECEditLineColPair& edit, BOOL bInsert) {
    const BOOL a = m_start.Adjust(edit, bInsert);
    const BOOL b = m_end.Adjust(edit, bInsert);
    return a || b;
  }

  SECEditLineCol m_start;
  SECEditLineCol m_end;
};

inline bool SECEditLineCol::IsBefore(const SECEditLineColPair& range) const { return *this < range.m_start; }
inline bool SECEditLineCol::IsAtOrBeforeEnd(const SECEditLineColPair& range) const { return *this <= range.m_end; }

inline BOOL SECEditLineCol::Adjust(const SECEditLineColPair& edit, BOOL bInsert) {
  const SECEditLineColPair e = edit.Normalized();
  const SECEditLineCol& s = e.m_start;
  if (*this < s) return FALSE;
  if (bInsert) {
    if (m_nLine == s.m_nLine) m_nCol += e.m_end.m_nCol - s.m_nCol;
    m_nLine += e.m_end.m_nLine - s.m_nLine;
    return TRUE;
  }
  if (*this == s) return FALSE;
  if (*this <= e.m_end) {
    *this = s;
    return TRUE;
  }
  if (m_nLine == e.m_end.m_nLine) m_nCol = m_nCol - e.m_end.m_nCol + s.m_nCol;
  m_nLine -= e.m_end.m_nLine - s.m_nLine;
  return TRUE;
}

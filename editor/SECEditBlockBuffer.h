// The editor's text buffer: the bytes in a gap buffer ending in a NUL, and the line starts in a
// partitioning with a pending step, so an edit costs time independent of the file's size.
#pragma once

#include "editor/ISECEditBuffer.h"
#include "editor/SplitVector.h"

class ISECEditRegExp;

// Lines are split at line-end character 1 (LF by default); the visible part of a line ends at
// the first of either line-end character. Columns are bytes of the program's code page.
class SECEditBlockBuffer : public ISECEditBuffer {
 public:
  SECEditBlockBuffer();
  ~SECEditBlockBuffer() override = default;

  BOOL InsertText(SECEditLineColPair& where, LPCTSTR text, int len) override;
  BOOL DeleteText(const SECEditLineColPair& range) override;
  int GetLineCount() override { return static_cast<int>(m_lines.Partitions()); }
  int GetLineLength(int line) override;
  int GetVisibleLineLength(int line) override;
  char SetLineEndChar1(char ch) override;
  char GetLineEndChar1() override { return m_chLineEnd1; }
  char SetLineEndChar2(char ch) override;
  char GetLineEndChar2() override { return m_chLineEnd2; }
  BOOL CopyRange(CString* out, int line, int col, int endLine, int endCol) override;
  int GetPointer(LPTSTR* out, int line, int col, int endLine, int endCol) override;
  BOOL InitEmpty() override;
  int LineColToOffset(int line, int col) override;
  BOOL OffsetToLineCol(int offset, int* line, int* col) override;
  int Find(int line, int col, int* outLine, int* outCol, LPCTSTR text, BOOL bForward, BOOL bWrap, BOOL bMatchCase,
           BOOL bWholeWord, BOOL bRegExp, int stopLine, int stopCol) override;
  void Write(CFile* file, BOOL bUnicode) override;
  // The new text is made in one piece and its lines indexed once.
  BOOL ReplaceRanges(const std::vector<SECEditReplacement>& edits, const std::string& texts) override;

  // Whether len bytes at offset stand between word delimiters (or line ends).
  virtual BOOL IsWholeWord(int offset, int len);
  // Writes count bytes from offset; with bUnicode as UTF-16 of the code page, cut into pieces
  // at character boundaries.
  virtual void WriteRange(CFile* file, int offset, int count, BOOL bUnicode);
  // The insert itself: the offset of the inserted text, or -1 for an invalid position. A start
  // just past a line's end is moved to the start of the next line.
  virtual int InsertTextAt(SECEditLineColPair& where, LPCTSTR text, int len);

  // Bytes of text (the closing NUL not counted).
  int GetTextLength() const { return static_cast<int>(m_text.Length()) - 1; }
  // The byte at an offset (0 at and past the end).
  char CharAt(int offset) const { return offset >= 0 && offset < GetTextLength() ? m_text.ValueAt(offset) : 0; }
  // Replaces the whole text with the rest of the file, read in pieces straight into place and
  // indexed in one pass; the line-end characters stay. FALSE, with the buffer empty, when the
  // file holds a NUL byte (it would end the text there). File errors are CFileExceptions.
  BOOL LoadFrom(CFile* file);
  // The longest line, line end included, when the text was loaded (0 after other edits).
  int GetLongestLoadedLine() const { return m_nLongestLoaded; }
  static bool IsWordDelimiter(char ch);

 private:
  struct Range {
    int start, end;  // offsets, start <= end
  };
  int LineStart(int line) const { return static_cast<int>(m_lines.PositionFromPartition(line)); }
  // The offset of a position whose end line or column may be -1 (end of `line` with its line end).
  bool ResolveRange(int line, int col, int endLine, int endCol, Range* range);
  // Enters the lines that start in the text just inserted; returns the longest line span seen.
  int IndexLines(int offset, const char* text, int len, int line);
  void RebuildIndex();
  int FindDirect(int start, int stop, LPCTSTR text, int len, BOOL bForward, BOOL bMatchCase, BOOL bWholeWord,
                 ISECEditRegExp* regExp, int* found);
  int FindPlain(int start, int stop, LPCTSTR text, int len, BOOL bForward, BOOL bMatchCase, BOOL bWholeWord, int* found);
  int FindRegExp(int start, int stop, BOOL bForward, ISECEditRegExp* regExp, int* found);
  int FindRange(const SECEditLineCol& from, const SECEditLineCol& to, LPCTSTR text, BOOL bForward, BOOL bMatchCase,
                BOOL bWholeWord, ISECEditRegExp* regExp, int* outLine, int* outCol);
  bool IsCharStart(int offset);

  kelpwood::editor::SplitVector<char> m_text;
  kelpwood::editor::Partitioning m_lines;
  char m_chLineEnd1 = 10;
  char m_chLineEnd2 = 13;
  int m_nLongestLoaded = 0;
};

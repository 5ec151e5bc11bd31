// The text store behind the editor model: insert and delete between positions, copy, positions
// and offsets, plain and regular-expression find, and writing the text to a file.
#pragma once

#include <string>
#include <vector>

#include "core/CFile.h"
#include "core/CString.h"
#include "editor/SECEditLineCol.h"

// One replacement of many made in one pass (a Replace All): `length` bytes at `offset` of the
// text before the pass become the `size` bytes at `textAt` of the pass's replacement texts.
struct SECEditReplacement {
  int offset = 0;
  int length = 0;
  int textAt = 0;
  int size = 0;
};

class ISECEditBuffer {
 public:
  // Inserts len bytes (-1: up to the NUL) at where.m_start and sets where.m_end to the end of the
  // inserted text (a start just past a line end becomes the next line's start); FALSE for an
  // invalid position. Records nothing.
  virtual BOOL InsertText(SECEditLineColPair& where, LPCTSTR text, int len) = 0;
  // Deletes the range (an end column past the end line's text is clamped to it); FALSE for an
  // invalid position.
  virtual BOOL DeleteText(const SECEditLineColPair& range) = 0;
  virtual int GetLineCount() = 0;
  // Bytes of the line including its line end; -1 for an invalid line.
  virtual int GetLineLength(int line) = 0;
  // Bytes of the line before its first line-end character; -1 for an invalid line.
  virtual int GetVisibleLineLength(int line) = 0;
  virtual char SetLineEndChar1(char ch) = 0;
  virtual char GetLineEndChar1() = 0;
  virtual char SetLineEndChar2(char ch) = 0;
  virtual char GetLineEndChar2() = 0;
  // An end line or column of -1 means the end of `line` with its line end.
  virtual BOOL CopyRange(CString* out, int line, int col, int endLine, int endCol) = 0;
  // The bytes of the range, contiguous, and the byte count (same end rule as CopyRange); 0 with
  // *out untouched for an invalid position. The pointer stays valid until the next edit or
  // pointer request; the text is NUL-terminated at its end.
  virtual int GetPointer(LPTSTR* out, int line, int col, int endLine, int endCol) = 0;
  virtual BOOL InitEmpty() = 0;
  // A column may equal the line's length with its line end (the start of the next line); -1
  // for an invalid position.
  virtual int LineColToOffset(int line, int col) = 0;
  virtual BOOL OffsetToLineCol(int offset, int* line, int* col) = 0;
  virtual ~ISECEditBuffer() = default;
  // The match length (0: none) with its position in *outLine, *outCol.
  virtual int Find(int line, int col, int* outLine, int* outCol, LPCTSTR text, BOOL bForward, BOOL bWrap,
                   BOOL bMatchCase, BOOL bWholeWord, BOOL bRegExp, int stopLine, int stopCol) = 0;
  // The whole text, as bytes or as UTF-16 after FF FE. File errors are CFileExceptions.
  virtual void Write(CFile* file, BOOL bUnicode) = 0;
  // Makes every replacement, in ascending order of offset and none overlapping the next, in one
  // pass over the text; `texts` holds their new bytes. FALSE, with the text unchanged, when one
  // lies outside the text or out of order. Records nothing.
  virtual BOOL ReplaceRanges(const std::vector<SECEditReplacement>& edits, const std::string& texts) = 0;
};

// AFBig2GBObj: converts a text file in place between the Chinese double-byte code pages GB2312
// and Big5, one table lookup per double-byte character.
#pragma once

#include <string>
#include <string_view>

#include "base/base.h"
#include "core/Arrays.h"
#include "core/CObject.h"
#include "core/CString.h"
#include "model/TextCodePage.h"

class CArchive;
class CFile;

class AFBig2GBObj : public CObject {
  DECLARE_DYNCREATE(AFBig2GBObj)

 public:
  // "GBTOBIG": 88 rows (GB2312 lead bytes A1-A9, then B0-FE) of 94 trail bytes A1-FE.
  // "BIGTOGB": 94 rows (Big5 lead bytes A1-FE) of 191 trail bytes 40-FE.
  // Each entry holds the target lead byte, then the target trail byte.
  static constexpr int GBToBig5TableSize = 88 * 94 * 2;
  static constexpr int Big5ToGBTableSize = 94 * 191 * 2;

  AFBig2GBObj();
  ~AFBig2GBObj() override;

  // Stores or loads the text as one string.
  void Serialize(CArchive& ar) override;
  // Writes the lines back, each with the line end it was read with (a line added since with a
  // line feed), so only converted characters differ; FALSE (old file untouched) on failure.
  virtual BOOL SaveToFile(LPCTSTR lpszPathName);
  // Reads the file's bytes as they are and splits them into lines; FALSE when it cannot be read.
  virtual BOOL LoadFromFile(LPCTSTR lpszPathName);
  // Closes (or abandons) and deletes a file of the record family.
  virtual void ReleaseFile(CFile* pFile, BOOL bAbort);

  void ClearText();
  // Rebuilds the lines from the text, each without its line end (a line feed, or a CR and a line
  // feed), which is kept for saving; a line feed ends a line without starting an empty one, and a
  // last line without a line end is saved without one. Returns the line count.
  int SplitLines();
  int GetTextLength() const;

  // Convert the lines split afresh from the text through the shell's tables; FALSE (nothing
  // converted) when the shell has no table.
  BOOL ConvertGBToBig5();
  BOOL ConvertBig5ToGB();

  // Converts a text in place, every byte of it kept but the converted pairs (no line handling):
  // through the shell's table, FALSE (text unchanged) when it has none, with the count of
  // characters that had no counterpart in *pnUnmapped; or through the given table, giving that
  // count. Such a character becomes the target's white square.
  static BOOL ConvertText(CString& strText, BOOL bGBToBig5, int* pnUnmapped = nullptr);
  static int ConvertText(CString& strText, BOOL bGBToBig5, const BYTE* pTable);

  // True when the whole text reads in the charset (iconv's name: "GB2312", "BIG5"): a text in
  // another code page (UTF-8 above all) is no text of it, and converting it would garble it.
  static BOOL DecodesFully(const CString& strText, LPCTSTR lpszCharset);
  // The code page of a file's text, decided once from all of it: each of code page 936 (GB2312
  // with GBK's characters), 950 (Big5 with its extensions and HKSCS's), 1252 and UTF-8 reads it,
  // each character weighing for or against the reading (a pair one cannot read is a miss of that
  // reading, not the end of it), and each line that reads clearly best in one gives that one its
  // weight: the one with the most is the file's, certain. Where the lines cannot tell (a few
  // characters that read alike), the project's code page, or for an English project the
  // program's, when the whole text reads about as well in it; else the best; not certain, with
  // the readings about as good noted for the run that documents it. ASCII alone: 0, certain.
  static TextCodePage CodePageOfText(const CString& strText, UINT nProjectCodePage);
  // The code page of one line of a file read in nFileCodePage: the file's, unless the line reads
  // far better in another (a fragment pasted from a file of that code page), or is valid UTF-8
  // made only of signs and letters two bytes of another code page seldom make.
  static UINT CodePageOfLine(std::string_view line, UINT nFileCodePage);
  // The characters of a text in a code page as the program reads it (936 and 950 with their
  // extensions, 950 with HKSCS's too), U+FFFD for each byte or pair it cannot read.
  static std::u32string ReadText(std::string_view text, UINT nCodePage);
  // The bytes of the character at i of a text in code page 936 or 950 (1 for ASCII, a single byte
  // above 0x7F, or a lead byte without its trail byte); 1 in other code pages.
  static size_t CharacterLength(std::string_view text, size_t i, UINT nCodePage);
  // Appends the counterpart of one GB2312 (or Big5) character in the other code page through the
  // shell's table; FALSE (nothing appended) when there is no table, the pair is no character of
  // the table's rows, or it has no counterpart.
  static BOOL ConvertCharacter(std::string_view pair, BOOL bGBToBig5, std::string& out);
  // The characters of a text of code page 936 (950) with each of GB2312 (Big5) replaced by its
  // counterpart in the other through the shell's tables; the others as ReadText reads them.
  static std::u32string CounterpartText(std::string_view text, UINT nSourceCodePage);

  int m_nLineCount;
  int m_nMode;
  CString m_strText;
  CStringArray m_arrLines;
  // The characters of the last conversion that had no counterpart (now white squares).
  int m_nUnmapped;
  // Why the last load or save failed, as the file's error says it.
  CString m_strError;

 private:
  BOOL ConvertLines(BOOL bGBToBig5);

  // The line end of each line of m_arrLines as read: "\r\n", "\n", or "" for a last open line.
  CStringArray m_arrLineEnds;
};

// The GB2312/Big5 converter: the file is read as raw bytes, split into lines and converted pair
// by pair through the application's tables.
#include "model/AFBig2GBObj.h"

#include <iconv.h>

#include <algorithm>
#include <string>

#include "base/Convert.h"
#include "core/CArchive.h"
#include "core/CException.h"
#include "core/CFile.h"
#include "core/CMirrorFile.h"
#include "model/RecordFile.h"
#include "model/ShellServices.h"

IMPLEMENT_DYNCREATE(AFBig2GBObj, CObject)

namespace {

constexpr BYTE kGBFirst = 0xA1;
constexpr BYTE kLast = 0xFE;
constexpr BYTE kBig5TrailFirst = 0x40;
constexpr int kGBColumns = 94;
constexpr int kBig5Columns = 191;

// The white squares the tables hold for a character with no counterpart (GB2312 A1 F5, Big5 A1
// BC); a white square in the text is one itself and is not counted.
constexpr BYTE kSquareLead = 0xA1;
constexpr BYTE kGBSquareTrail = 0xF5;
constexpr BYTE kBig5SquareTrail = 0xBC;

// Appends the table's entry, or the pair itself when the entry holds a zero byte (a zero byte
// would cut the text short); counts an entry that is the target's white square for a pair that
// is not the source's.
void AppendEntry(std::string& out, const BYTE* pEntry, BYTE lead, BYTE trail, BYTE squareTrail, int& nUnmapped) {
  if (pEntry[0] != 0 && pEntry[1] != 0) {
    out += static_cast<char>(pEntry[0]);
    out += static_cast<char>(pEntry[1]);
    const BYTE sourceSquareTrail = squareTrail == kGBSquareTrail ? kBig5SquareTrail : kGBSquareTrail;
    if (pEntry[0] == kSquareLead && pEntry[1] == squareTrail && !(lead == kSquareLead && trail == sourceSquareTrail))
      ++nUnmapped;
  } else {
    out += static_cast<char>(lead);
    out += static_cast<char>(trail);
  }
}

std::string GBToBig5(const BYTE* p, size_t n, const BYTE* pTable, int& nUnmapped) {
  std::string out;
  out.reserve(n);
  for (size_t j = 0; j < n;) {
    const BYTE c = p[j];
    if (j + 1 < n && c >= kGBFirst && c <= kLast && p[j + 1] >= kGBFirst && p[j + 1] <= kLast) {
      const BYTE t = p[j + 1];
      // Punctuation goes through the table like any character: the ideographic comma and full
      // stop and the quotes have their Big5 twins, so a page converted back is the page it was.
      if (c >= 0xAA && c <= 0xAF) {
        // GB2312 leaves these rows empty and the table has no rows for them.
        out += static_cast<char>(c);
        out += static_cast<char>(t);
      } else {
        const int row = c <= 0xA9 ? c - 0xA1 : c - 0xA7;
        AppendEntry(out, pTable + 2 * (row * kGBColumns + (t - kGBFirst)), c, t, kBig5SquareTrail, nUnmapped);
      }
      j += 2;
    } else {
      out += static_cast<char>(c);
      ++j;
    }
  }
  return out;
}

std::string Big5ToGB(const BYTE* p, size_t n, const BYTE* pTable, int& nUnmapped) {
  std::string out;
  out.reserve(n);
  for (size_t j = 0; j < n;) {
    const BYTE c = p[j];
    if (j + 1 < n && c >= kGBFirst && c <= kLast && p[j + 1] >= kBig5TrailFirst && p[j + 1] <= kLast) {
      const BYTE t = p[j + 1];
      AppendEntry(out, pTable + 2 * ((c - kGBFirst) * kBig5Columns + (t - kBig5TrailFirst)), c, t, kGBSquareTrail,
                  nUnmapped);
      j += 2;
    } else {
      out += static_cast<char>(c);
      ++j;
    }
  }
  return out;
}

// What a framework exception says went wrong.
CString ErrorText(const CException& e) {
  char szText[512] = {};
  if (!e.GetErrorMessage(szText, sizeof szText)) return "An unexpected error occurred.";
  return szText;
}

// Runs the reads or writes of an open file and closes it; a framework exception abandons the
// file, leaves what it says in strError and gives FALSE.
template <class Body>
BOOL RunAndClose(CFile& file, CString& strError, Body body) {
  TRY {
    body();
    file.Close();
  }
  CATCH_ALL(e) {
    strError = ErrorText(*e);
    e->Delete();
    file.Abort();
    return FALSE;
  }
  END_CATCH_ALL
  return TRUE;
}

const BYTE* ShellTable(BOOL bGBToBig5) {
  ShellServices* pShell = GetShellServices();
  return bGBToBig5 ? pShell->GetGBToBig5Table() : pShell->GetBig5ToGBTable();
}

}  // namespace

AFBig2GBObj::AFBig2GBObj() : m_nLineCount(0), m_nMode(1), m_nUnmapped(0) {}

AFBig2GBObj::~AFBig2GBObj() = default;

void AFBig2GBObj::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    ar << m_strText;
  else
    ar >> m_strText;
}

void AFBig2GBObj::ClearText() { m_strText.Empty(); }

int AFBig2GBObj::GetTextLength() const { return m_strText.GetLength(); }

BOOL AFBig2GBObj::LoadFromFile(LPCTSTR lpszPathName) {
  CFile file;
  CFileException error;
  if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &error)) {
    m_strError = ErrorText(error);
    return FALSE;
  }
  std::string bytes;
  const BOOL bRead = RunAndClose(file, m_strError, [&] {
    char block[16384];
    UINT nRead;
    while ((nRead = file.Read(block, sizeof block)) > 0) bytes.append(block, nRead);
  });
  if (!bRead) return FALSE;
  m_strText = CString(bytes.data(), static_cast<int>(bytes.size()));
  m_nLineCount = SplitLines();
  return TRUE;
}

BOOL AFBig2GBObj::SaveToFile(LPCTSTR lpszPathName) {
  std::string bytes;
  for (INT_PTR i = 0; i < m_arrLines.GetSize(); ++i) {
    const CString& line = m_arrLines[i];
    bytes.append(static_cast<LPCTSTR>(line), static_cast<size_t>(line.GetLength()));
    if (i < m_arrLineEnds.GetSize())
      bytes.append(static_cast<LPCTSTR>(m_arrLineEnds[i]), static_cast<size_t>(m_arrLineEnds[i].GetLength()));
    else
      bytes += '\n';
  }
  m_strText = CString(bytes.data(), static_cast<int>(bytes.size()));
  // Written beside the file and renamed over it, so a failed save keeps the old text.
  CMirrorFile file;
  CFileException error;
  if (!file.Open(lpszPathName, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &error)) {
    m_strError = ErrorText(error);
    return FALSE;
  }
  return RunAndClose(file, m_strError, [&] { file.Write(bytes.data(), static_cast<UINT>(bytes.size())); });
}

int AFBig2GBObj::SplitLines() {
  m_arrLines.RemoveAll();
  m_arrLineEnds.RemoveAll();
  const char* p = m_strText;
  const int n = m_strText.GetLength();
  int start = 0;
  for (int i = 0; i < n; ++i) {
    if (p[i] != '\n') continue;
    const bool bCarriageReturn = i > start && p[i - 1] == '\r';
    m_arrLines.Add(CString(p + start, i - start - (bCarriageReturn ? 1 : 0)));
    m_arrLineEnds.Add(bCarriageReturn ? "\r\n" : "\n");
    start = i + 1;
  }
  // A last line without a line end is a line too; a line end does not open an empty one.
  if (start < n) {
    m_arrLines.Add(CString(p + start, n - start));
    m_arrLineEnds.Add("");
  }
  m_nLineCount = static_cast<int>(m_arrLines.GetSize());
  return m_nLineCount;
}

void AFBig2GBObj::ReleaseFile(CFile* pFile, BOOL bAbort) { ReleaseRecordFile(pFile, bAbort); }

BOOL AFBig2GBObj::DecodesFully(const CString& strText, LPCTSTR lpszCharset) {
  iconv_t cd = iconv_open("UTF-8", lpszCharset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return FALSE;
  std::string input(static_cast<LPCTSTR>(strText), static_cast<size_t>(strText.GetLength()));
  std::string output(input.size() * 4 + 4, '\0');
  char* pIn = input.data();
  size_t nIn = input.size();
  char* pOut = output.data();
  size_t nOut = output.size();
  const bool bDecoded = iconv(cd, &pIn, &nIn, &pOut, &nOut) != static_cast<size_t>(-1) && nIn == 0;
  iconv_close(cd);
  return bDecoded ? TRUE : FALSE;
}

namespace {

// How well a text reads in one code page: whether it decodes, and a score that each character
// typical of text written in that code page raises and each typical of text in another lowers.
struct Reading {
  UINT nCodePage;
  bool bValid;
  int nScore;
};

// Readings closer than this are a tie: the text cannot tell.
constexpr int kClearMargin = 3;

bool IsLatinLetter(BYTE c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A letter of code page 1252 above 0x7F: the accented capitals and small letters (not × and ÷
// between them), and ƒ, Š, Œ, Ž, š, œ, ž, Ÿ.
bool Is1252Letter(BYTE c) {
  return (c >= 0xC0 && c != 0xD7 && c != 0xF7) || c == 0x83 || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A ||
         c == 0x9C || c == 0x9E || c == 0x9F;
}

// Whether the two bytes at i sit inside a word of Latin letters: a letter before them, and one as
// their second byte or after them. That is how an accented letter of code page 1252 looks when it
// is read as a character of two bytes ("Cr\xE9e", "r\xE9\xE9lu"), and seldom how Chinese is written.
bool InLatinWord(const BYTE* p, size_t n, size_t i) {
  return i > 0 && IsLatinLetter(p[i - 1]) && (IsLatinLetter(p[i + 1]) || (i + 2 < n && IsLatinLetter(p[i + 2])));
}

// GB2312 or Big5: every byte above 0x7F begins a character of the code page. The punctuation and
// the first level of Chinese characters (the common ones) count for it, and for GB2312 the rows of
// numbers, Greek letters and pinyin a Chinese comment uses too; for Big5 the rows the standard
// leaves to vendors count against it; and for both a character inside a Latin word.
Reading ReadDoubleByte(const CString& strText, bool bBig5) {
  const BYTE* p = reinterpret_cast<const BYTE*>(static_cast<LPCTSTR>(strText));
  const size_t n = static_cast<size_t>(strText.GetLength());
  Reading reading{bBig5 ? 950u : 936u, false, 0};
  for (size_t i = 0; i < n; ++i) {
    const BYTE c = p[i];
    if (c < 0x80) continue;
    if (i + 1 >= n) return reading;
    const BYTE t = p[i + 1];
    const int code = c << 8 | t;
    if (!bBig5) {
      if (c < kGBFirst || c > 0xF7 || t < kGBFirst || t > kLast) return reading;
      if (c == 0xA1 || c == 0xA2 || c == 0xA3 || c == 0xA6 || c == 0xA8 || (c >= 0xB0 && c <= 0xD7)) ++reading.nScore;
    } else {
      if (c < kGBFirst || c > 0xF9 || t < kBig5TrailFirst || (t > 0x7E && t < kGBFirst) || t > kLast) return reading;
      if (c == 0xA1 || (code >= 0xA440 && code <= 0xC67E))
        ++reading.nScore;
      else if (code >= 0xC6A1 && code <= 0xC8FE)
        --reading.nScore;
    }
    if (InLatinWord(p, n, i)) reading.nScore -= 2;
    ++i;
  }
  reading.bValid = AFBig2GBObj::DecodesFully(strText, bBig5 ? "BIG5" : "GB2312") != FALSE;
  return reading;
}

// Code page 1252, taken run by run of bytes above 0x7F: up to three accented letters in a Latin
// word count for it, a lone sign or letter counts neither way, and anything longer (two-byte
// characters read as Latin-1) counts against it. Its five undefined bytes make it no reading.
Reading Read1252(const CString& strText) {
  const BYTE* p = reinterpret_cast<const BYTE*>(static_cast<LPCTSTR>(strText));
  const size_t n = static_cast<size_t>(strText.GetLength());
  Reading reading{1252, true, 0};
  for (size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    size_t end = i;
    bool bLetters = true;
    for (; end < n && p[end] >= 0x80; ++end) {
      const BYTE c = p[end];
      if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) {
        reading.bValid = false;
        return reading;
      }
      bLetters = bLetters && Is1252Letter(c);
    }
    const int nRun = static_cast<int>(end - i);
    const bool bInWord = (i > 0 && IsLatinLetter(p[i - 1])) || (end < n && IsLatinLetter(p[end]));
    if (bLetters && nRun <= 3 && bInWord)
      reading.nScore += nRun;
    else if (nRun > 1)
      reading.nScore -= nRun;
    i = end;
  }
  return reading;
}

}  // namespace

TextCodePage AFBig2GBObj::CodePageOfText(const CString& strText, UINT nProjectCodePage) {
  const char* p = strText;
  const int n = strText.GetLength();
  if (std::all_of(p, p + n, [](char ch) { return static_cast<BYTE>(ch) < 0x80; })) return {0, true};
  if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, p, n, nullptr, 0) > 0) return {CP_UTF8, true};
  const Reading readings[] = {ReadDoubleByte(strText, false), ReadDoubleByte(strText, true), Read1252(strText)};
  const Reading* pBest = nullptr;
  for (const Reading& reading : readings)
    if (reading.bValid && (pBest == nullptr || reading.nScore > pBest->nScore)) pBest = &reading;
  if (pBest == nullptr) return {0, false};
  bool bClear = pBest->nScore > 0;
  for (const Reading& reading : readings)
    if (&reading != pBest && reading.bValid && reading.nScore > pBest->nScore - kClearMargin) bClear = false;
  if (bClear) return {pBest->nCodePage, true};
  for (const Reading& reading : readings)
    if (reading.bValid && reading.nCodePage == nProjectCodePage) return {nProjectCodePage, false};
  return {pBest->nCodePage, false};
}

int AFBig2GBObj::ConvertText(CString& strText, BOOL bGBToBig5, const BYTE* pTable) {
  const BYTE* p = reinterpret_cast<const BYTE*>(static_cast<LPCTSTR>(strText));
  const size_t n = static_cast<size_t>(strText.GetLength());
  int nUnmapped = 0;
  const std::string out = bGBToBig5 ? GBToBig5(p, n, pTable, nUnmapped) : Big5ToGB(p, n, pTable, nUnmapped);
  strText = CString(out.data(), static_cast<int>(out.size()));
  return nUnmapped;
}

BOOL AFBig2GBObj::ConvertText(CString& strText, BOOL bGBToBig5, int* pnUnmapped) {
  const BYTE* pTable = ShellTable(bGBToBig5);
  if (pTable == nullptr) return FALSE;
  const int nUnmapped = ConvertText(strText, bGBToBig5, pTable);
  if (pnUnmapped != nullptr) *pnUnmapped = nUnmapped;
  return TRUE;
}

BOOL AFBig2GBObj::ConvertLines(BOOL bGBToBig5) {
  const BYTE* pTable = ShellTable(bGBToBig5);
  if (pTable == nullptr) return FALSE;
  SplitLines();
  m_nUnmapped = 0;
  for (INT_PTR i = 0; i < m_arrLines.GetSize(); ++i) {
    if (!m_arrLines[i].IsEmpty()) m_nUnmapped += ConvertText(m_arrLines[i], bGBToBig5, pTable);
  }
  return TRUE;
}

BOOL AFBig2GBObj::ConvertGBToBig5() { return ConvertLines(TRUE); }

BOOL AFBig2GBObj::ConvertBig5ToGB() { return ConvertLines(FALSE); }

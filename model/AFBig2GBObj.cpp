// The GB2312/Big5 converter: the file is read as raw bytes, split into lines and converted pair
// by pair through the application's tables.
#include "model/AFBig2GBObj.h"

#include <iconv.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "base/Convert.h"
#include "core/CArchive.h"
#include "core/CException.h"
#include "core/CFile.h"
#include "core/CMirrorFile.h"
#include "model/CommonCharacters.h"
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

// How a character read in one code page weighs for that reading: a common Chinese character or
// punctuation mark of the code page counts for it, a rarer one neither way, a sign seldom written
// in Chinese text a little against it, a character of the code page's extensions (GBK's, Big5's
// vendor rows, HKSCS's) more, and bytes it cannot read at all most: a local miss, weighed with the
// rest of the text like any other character.
constexpr int kCommon = 2;
constexpr int kPlain = 0;
constexpr int kSymbol = -1;
constexpr int kExtension = -2;
constexpr int kMiss = -4;
// How often a Chinese character is written (tools/make-common-characters counted it over the
// machine's translation catalogues) weighs on top: one of the most common thousand of its script
// counts most, one of the next two thousand a little. The bytes of a text of one code page read
// in the other make characters of any frequency, most of them rare.
constexpr int kMostCommon = 3;
constexpr int kFrequent = 1;
// A character of two bytes inside a word of Latin letters: how an accented letter of code page
// 1252 looks when it is read as a double-byte character, and seldom how Chinese is written.
constexpr int kInLatinWord = -2;

// An accented letter of UTF-8 inside a word of Latin letters ("caf\xC3\xA9"), or a sign of Latin-1
// ("0\xC2\xB0").
constexpr int kLetterInWord = 2 * kCommon;

// Readings closer than this are a tie: the text cannot tell, and the project's language decides.
constexpr int kClearMargin = 3;
// A line of a file reads in another code page than the file's only with this much more weight:
// a fragment pasted from a file of that code page.
constexpr int kLineMargin = 8;

bool IsLatinLetter(BYTE c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A letter of code page 1252 above 0x7F: the accented capitals and small letters (not × and ÷
// between them), and ƒ, Š, Œ, Ž, š, œ, ž, Ÿ.
bool Is1252Letter(BYTE c) {
  return (c >= 0xC0 && c != 0xD7 && c != 0xF7) || c == 0x83 || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A ||
         c == 0x9C || c == 0x9E || c == 0x9F;
}

// Whether the n bytes at i sit inside a word of Latin letters: a letter just before them, and
// one as their last byte or just after them ("Cr\xE9e", "r\xE9\xE9lu").
bool InLatinWord(const BYTE* p, size_t n, size_t i, size_t nBytes) {
  return i > 0 && IsLatinLetter(p[i - 1]) &&
         (IsLatinLetter(p[i + nBytes - 1]) || (i + nBytes < n && IsLatinLetter(p[i + nBytes])));
}

// The punctuation Chinese text is written with: the ideographic comma, full stop and brackets,
// the full-width marks, the quotes, the dash and the ellipsis.
bool IsChinesePunctuation(char32_t ch) {
  return (ch >= 0x3000 && ch <= 0x3003) || (ch >= 0x3008 && ch <= 0x3011) || ch == 0x3014 || ch == 0x3015 ||
         ch == 0xFF01 || ch == 0xFF08 || ch == 0xFF09 || ch == 0xFF0C || ch == 0xFF0E || ch == 0xFF1A ||
         ch == 0xFF1B || ch == 0xFF1F || ch == 0xFF5E || ch == 0x2014 || ch == 0x2026 || ch == 0x2018 ||
         ch == 0x2019 || ch == 0x201C || ch == 0x201D || ch == 0x00B7 || ch == 0x2027;
}

bool IsIdeograph(char32_t ch) {
  return (ch >= 0x4E00 && ch <= 0x9FFF) || (ch >= 0x3400 && ch <= 0x4DBF) || (ch >= 0xF900 && ch <= 0xFAFF);
}

// Signs a Chinese comment writes among its characters as readily as the wrong reading makes them:
// Greek and Cyrillic letters, pinyin, numbers in circles, brackets or Roman figures, full-width
// digits and letters.
bool IsPlainSign(char32_t ch) {
  return (ch >= 0x0391 && ch <= 0x03C9) || (ch >= 0x0401 && ch <= 0x0451) || (ch >= 0x00C0 && ch <= 0x024F) ||
         (ch >= 0x2160 && ch <= 0x217F) || (ch >= 0x2460 && ch <= 0x24FF) || (ch >= 0xFF10 && ch <= 0xFF19) ||
         (ch >= 0xFF21 && ch <= 0xFF3A) || (ch >= 0xFF41 && ch <= 0xFF5A);
}

bool IsPrivateUse(char32_t ch) { return ch >= 0xE000 && ch <= 0xF8FF; }

// The weight of a sign (no ideograph) as any reading gives it.
int SignWeight(char32_t ch) {
  if (IsChinesePunctuation(ch)) return kCommon;
  if (IsPlainSign(ch)) return kPlain;
  if (IsPrivateUse(ch)) return kExtension;
  return kSymbol;
}

constexpr BYTE kLeadFirst = 0x81;
constexpr BYTE kTrailFirst = 0x40;
constexpr int kLeads = 0xFE - kLeadFirst + 1;
constexpr int kTrails = 0xFE - kTrailFirst + 1;

// The characters of one double-byte code page as iconv reads them, one per lead and trail byte
// (0 for a pair it cannot read), with the weight of each; built once.
class PairTable {
 public:
  explicit PairTable(UINT nCodePage) : m_nCodePage(nCodePage) {
    const bool bBig5 = nCodePage == 950;
    iconv_t cd = iconv_open("UTF-32LE", bBig5 ? "CP950" : nCodePage == kShiftJisCodePage ? "CP932" : "CP936");
    iconv_t hkscs = bBig5 ? iconv_open("UTF-32LE", "BIG5-HKSCS") : reinterpret_cast<iconv_t>(-1);
    for (int lead = kLeadFirst; lead <= 0xFE; ++lead) {
      for (int trail = kTrailFirst; trail <= 0xFE; ++trail) {
        Entry& entry = m_entries[lead - kLeadFirst][trail - kTrailFirst];
        entry.ch = Decode(cd, static_cast<BYTE>(lead), static_cast<BYTE>(trail));
        bool bHkscs = false;
        if (entry.ch == 0 && bBig5) {
          entry.ch = Decode(hkscs, static_cast<BYTE>(lead), static_cast<BYTE>(trail));
          bHkscs = entry.ch != 0;
        }
        entry.nWeight = static_cast<signed char>(Weigh(static_cast<BYTE>(lead), static_cast<BYTE>(trail), entry.ch, bHkscs));
      }
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    if (hkscs != reinterpret_cast<iconv_t>(-1)) iconv_close(hkscs);
  }

  static const PairTable& Of(UINT nCodePage) {
    static const PairTable gb(936);
    static const PairTable big5(950);
    static const PairTable shiftJis(kShiftJisCodePage);
    return nCodePage == 950 ? big5 : nCodePage == kShiftJisCodePage ? shiftJis : gb;
  }

  // The bytes the character at p[0] takes: 1 for ASCII, 936's euro sign 0x80, Shift-JIS's
  // half-width katakana, and a lead byte without its trail; else 2.
  size_t Length(const BYTE* p, size_t n) const {
    if (p[0] < kLeadFirst || p[0] == 0xFF || n < 2) return 1;
    if (m_nCodePage == kShiftJisCodePage && p[0] >= 0xA0 && p[0] <= 0xDF) return 1;
    return p[1] >= kTrailFirst && p[1] <= 0xFE && p[1] != 0x7F ? 2 : 1;
  }

  // The character of a pair, 0 when the code page cannot read it.
  char32_t Character(BYTE lead, BYTE trail) const { return Find(lead, trail).ch; }
  int Weight(BYTE lead, BYTE trail) const { return Find(lead, trail).nWeight; }

  // A single byte above 0x7F: 936's euro sign is a sign, Shift-JIS's half-width katakana are
  // letters seldom written now; anything else is a miss.
  int SingleByteWeight(BYTE c) const {
    if (m_nCodePage == 936 && c == 0x80) return kPlain;
    if (m_nCodePage == kShiftJisCodePage && c >= 0xA1 && c <= 0xDF) return kSymbol;
    return kMiss;
  }
  char32_t SingleByte(BYTE c) const { return m_nCodePage == 936 && c == 0x80 ? 0x20AC : 0; }

 private:
  struct Entry {
    char32_t ch = 0;
    signed char nWeight = kMiss;
  };

  const Entry& Find(BYTE lead, BYTE trail) const {
    static const Entry miss;
    if (lead < kLeadFirst || lead > 0xFE || trail < kTrailFirst || trail > 0xFE) return miss;
    return m_entries[lead - kLeadFirst][trail - kTrailFirst];
  }

  static char32_t Decode(iconv_t cd, BYTE lead, BYTE trail) {
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    unsigned char out[16] = {};
    char* pIn = in;
    size_t nIn = sizeof in;
    char* pOut = reinterpret_cast<char*>(out);
    size_t nOut = sizeof out;
    const size_t rc = iconv(cd, &pIn, &nIn, &pOut, &nOut);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (rc == static_cast<size_t>(-1) || nIn != 0 || sizeof out - nOut < 4) return 0;
    const char32_t ch = static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<unsigned>(out[3]) << 24);
    // C1 control characters are how iconv passes bytes it has no character for.
    return ch < 0xA0 ? 0 : ch;
  }

  int Weigh(BYTE lead, BYTE trail, char32_t ch, bool bHkscs) const {
    const int nWeight = WeighRange(lead, trail, ch, bHkscs);
    if (ch == 0 || bHkscs || m_nCodePage == kShiftJisCodePage || !IsIdeograph(ch)) return nWeight;
    const auto holds = [code = static_cast<unsigned short>(lead << 8 | trail)](const auto& characters) {
      return std::binary_search(std::begin(characters), std::end(characters), code);
    };
    const bool bBig5 = m_nCodePage == 950;
    if (bBig5 ? holds(kCommonBig5) : holds(kCommonGB)) return nWeight + kMostCommon;
    if (bBig5 ? holds(kFrequentBig5) : holds(kFrequentGB)) return nWeight + kFrequent;
    return nWeight;
  }

  // The weight of a character by where its code page has it.
  int WeighRange(BYTE lead, BYTE trail, char32_t ch, bool bHkscs) const {
    if (ch == 0) return kMiss;
    if (bHkscs || IsPrivateUse(ch)) return kExtension;
    const int code = lead << 8 | trail;
    if (m_nCodePage == kShiftJisCodePage) {
      // Japanese: its kana are written in every sentence; its kanji are Chinese characters, which
      // tell nothing against the Chinese readings.
      if ((ch >= 0x3041 && ch <= 0x3096) || (ch >= 0x30A1 && ch <= 0x30FC)) return kCommon;
      return IsIdeograph(ch) ? kPlain : SignWeight(ch);
    }
    if (m_nCodePage == 936) {
      // GB2312 within code page 936: its first level (the common characters) from row B0, its
      // second from row D8, its signs in rows A1 to A9; the rest is GBK's.
      if (lead < 0xA1 || lead > 0xF7 || trail < 0xA1) return kExtension;
      if (lead >= 0xB0 && lead <= 0xD7) return kCommon;
      if (lead >= 0xD8) return kPlain;
      if (lead <= 0xA9) return SignWeight(ch);
      return kExtension;
    }
    // Big5: the common characters from A440, the less common from C940, the signs in rows A1 to
    // A3; the rest is of the vendors' extensions.
    if (code >= 0xA440 && code <= 0xC67E) return kCommon;
    if (code >= 0xC940 && code <= 0xF9D5) return kPlain;
    if (code >= 0xA140 && code <= 0xA3BF) return SignWeight(ch);
    return kExtension;
  }

  UINT m_nCodePage;
  Entry m_entries[kLeads][kTrails];
};

// How well a text reads in one code page: the sum of the weights of its characters.
struct Reading {
  UINT nCodePage;
  int nScore;
  // UTF-8 only: every character above ASCII is one two bytes of another code page seldom make (a
  // sign of Latin-1, an accented letter in a Latin word, a word of Greek or Cyrillic letters).
  bool bTelling = false;
};

Reading ReadDoubleByte(std::string_view text, UINT nCodePage) {
  const PairTable& pairs = PairTable::Of(nCodePage);
  const BYTE* p = reinterpret_cast<const BYTE*>(text.data());
  const size_t n = text.size();
  Reading reading{nCodePage, 0};
  for (size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    const size_t nBytes = pairs.Length(p + i, n - i);
    if (nBytes == 1) {
      reading.nScore += pairs.SingleByteWeight(p[i]);
    } else {
      reading.nScore += pairs.Weight(p[i], p[i + 1]);
      if (InLatinWord(p, n, i, 2)) reading.nScore += kInLatinWord;
    }
    i += nBytes;
  }
  return reading;
}

// The character of UTF-8 at i and its length; a length of 0 for bytes of no valid sequence
// (nLength then the bytes to pass over).
struct Utf8Character {
  char32_t ch;
  size_t nLength;
  size_t nSkip;
};

Utf8Character ReadUtf8Character(const BYTE* p, size_t n, size_t i) {
  const BYTE b = p[i];
  const size_t nLength = (b >= 0xC2 && b <= 0xDF) ? 2 : (b >= 0xE0 && b <= 0xEF) ? 3 : (b >= 0xF0 && b <= 0xF4) ? 4 : 0;
  char32_t ch = nLength == 2 ? (b & 0x1F) : nLength == 3 ? (b & 0x0F) : (b & 0x07);
  size_t k = 1;
  for (; nLength > 1 && k < nLength && i + k < n && (p[i + k] & 0xC0) == 0x80; ++k) ch = ch << 6 | (p[i + k] & 0x3F);
  const bool bValid = nLength != 0 && k == nLength && !(nLength == 3 && (ch < 0x800 || (ch >= 0xD800 && ch <= 0xDFFF))) &&
                      !(nLength == 4 && (ch < 0x10000 || ch > 0x10FFFF));
  if (!bValid) return {0, 0, nLength == 0 ? 1 : k};
  return {ch, nLength, nLength};
}

// The script of a letter of two bytes in UTF-8: 1 for the Greek letters, 2 for the Cyrillic ones
// of Russian and its neighbours, 0 for anything else.
int ScriptOf(char32_t ch) {
  if (ch >= 0x0386 && ch <= 0x03CE && ch != 0x0387) return 1;
  if (ch >= 0x0400 && ch <= 0x045F) return 2;
  return 0;
}

// Whether the bytes above ASCII around i (up to ASCII on each side) are letters of one script in
// UTF-8: a Greek or Russian word, or a Greek letter among English words ("angle \xCE\xB8 in"). The
// pairs of GB2312 that happen to read so are rows of a few characters; a word of them all is rare.
bool InScriptWord(const BYTE* p, size_t n, size_t i) {
  size_t start = i;
  while (start > 0 && p[start - 1] >= 0x80) --start;
  int nScript = 0;
  for (size_t k = start; k < n && p[k] >= 0x80;) {
    const Utf8Character character = ReadUtf8Character(p, n, k);
    const int nThis = character.nLength == 2 ? ScriptOf(character.ch) : 0;
    if (nThis == 0 || (nScript != 0 && nThis != nScript)) return false;
    nScript = nThis;
    k += character.nLength;
  }
  return nScript != 0;
}

// UTF-8: Chinese characters and punctuation count for it, and accented letters in a Latin word,
// the signs of Latin-1 (the degree, copyright and micro signs, as English comments write them)
// and words of Greek or Cyrillic letters more (two bytes of another code page seldom make one);
// other characters of two bytes (how GB2312 text that happens to be valid UTF-8 reads: Hebrew,
// combining marks, the rarer Cyrillic letters) a little against it, and bytes of no sequence are
// misses. Validity alone is no evidence.
Reading ReadUtf8(std::string_view text) {
  const BYTE* p = reinterpret_cast<const BYTE*>(text.data());
  const size_t n = text.size();
  Reading reading{CP_UTF8, 0, true};
  for (size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    const Utf8Character character = ReadUtf8Character(p, n, i);
    const char32_t ch = character.ch;
    const size_t nLength = character.nLength;
    int nWeight = 0;
    if (nLength == 0)
      nWeight = kMiss;
    else if (IsIdeograph(ch))
      nWeight = kCommon;
    else if ((ch >= 0xA0 && ch <= 0xBF) || ch == 0xD7 || ch == 0xF7)
      nWeight = kLetterInWord;
    else if (ch >= 0xC0 && ch <= 0x24F)
      nWeight = (i > 0 && IsLatinLetter(p[i - 1])) || (i + nLength < n && IsLatinLetter(p[i + nLength])) ? kLetterInWord
                                                                                                        : kPlain;
    else if (nLength == 2)
      nWeight = InScriptWord(p, n, i) ? kLetterInWord : kSymbol;
    else
      nWeight = SignWeight(ch);
    reading.nScore += nWeight;
    reading.bTelling = reading.bTelling && nLength == 2 && nWeight == kLetterInWord;
    i += character.nSkip;
  }
  return reading;
}

// Whether the n bytes are UTF-8 of Latin letters of two bytes each (U+00C0 to U+024F, not the
// multiplication and division signs).
bool IsUtf8OfLetters(const BYTE* p, size_t n) {
  for (size_t i = 0; i < n; i += 2) {
    const Utf8Character character = ReadUtf8Character(p, n, i);
    if (character.nLength != 2 || character.ch < 0xC0 || character.ch > 0x24F || character.ch == 0xD7 ||
        character.ch == 0xF7)
      return false;
  }
  return n > 0;
}

// Code page 1252, taken run by run of bytes above 0x7F: up to three accented letters in a Latin
// word count for it, a lone sign or letter counts neither way, and anything longer (double-byte
// characters read as Latin-1) counts against it; its five undefined bytes are misses.
Reading Read1252(std::string_view text) {
  const BYTE* p = reinterpret_cast<const BYTE*>(text.data());
  const size_t n = text.size();
  Reading reading{1252, 0};
  for (size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    size_t end = i;
    bool bLetters = true;
    for (; end < n && p[end] >= 0x80; ++end) {
      const BYTE c = p[end];
      if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) reading.nScore += kMiss;
      bLetters = bLetters && Is1252Letter(c);
    }
    const int nRun = static_cast<int>(end - i);
    // A word of Latin letters has an ASCII letter beside the run, and at least as many ASCII
    // letters as others ("r\xE9\xE9lu", "Gr\xF6\xDFe"); the trail bytes of double-byte characters
    // that are letters ("\xE9" "F" "\xD6\xFD") make no word.
    size_t nWordStart = i;
    size_t nWordEnd = end;
    while (nWordStart > 0 && (IsLatinLetter(p[nWordStart - 1]) || Is1252Letter(p[nWordStart - 1]))) --nWordStart;
    while (nWordEnd < n && (IsLatinLetter(p[nWordEnd]) || Is1252Letter(p[nWordEnd]))) ++nWordEnd;
    const auto nAscii = std::count_if(p + nWordStart, p + nWordEnd, IsLatinLetter);
    const bool bInWord = ((i > 0 && IsLatinLetter(p[i - 1])) || (end < n && IsLatinLetter(p[end]))) &&
                         nAscii >= static_cast<long>(nWordEnd - nWordStart) - nAscii;
    // A letter of two bytes in UTF-8 reads in 1252 as two letters, a capital with a tilde, ring or
    // circumflex and another ("Ma\xC3\x9F", "\xC3\x9C" "ber", "\xC4\x9F"), which no word of 1252
    // writes: such a run does not count for 1252, and the UTF-8 reading tells.
    const bool bLetterWord = bLetters && nRun <= 3 && bInWord;
    if (bLetterWord && !IsUtf8OfLetters(p + i, static_cast<size_t>(nRun)))
      reading.nScore += kCommon * nRun;
    else if (!bLetterWord && nRun > 1)
      reading.nScore -= kCommon * nRun;
    i = end;
  }
  return reading;
}

// The readings of a text in the code pages the program reads: GB2312 with GBK (936), Big5 with
// its extensions (950), 1252 and UTF-8; and Shift-JIS, which the program does not convert: text
// that reads best as Japanese is no Chinese in any reading, and is left as it was written.
struct Readings {
  Reading all[5];
  explicit Readings(std::string_view text)
      : all{ReadDoubleByte(text, 936), ReadDoubleByte(text, 950), Read1252(text), ReadUtf8(text),
            ReadDoubleByte(text, kShiftJisCodePage)} {}
  const Reading* Of(UINT nCodePage) const {
    for (const Reading& reading : all)
      if (reading.nCodePage == nCodePage) return &reading;
    return nullptr;
  }
  // The best reading; of equal ones the first.
  const Reading& Best() const {
    const Reading* pBest = &all[0];
    for (const Reading& reading : all)
      if (reading.nScore > pBest->nScore) pBest = &reading;
    return *pBest;
  }
};

}  // namespace

TextCodePage AFBig2GBObj::CodePageOfText(const CString& strText, UINT nProjectCodePage) {
  const std::string_view text(strText, static_cast<size_t>(strText.GetLength()));
  if (brambolt::IsAsciiText(text)) return {0, true};
  // Each line that reads clearly better in one code page than in any other gives that one its
  // weight (its bytes above ASCII): a fragment pasted from another code page, a character one
  // reading lacks, are outweighed by the rest of the file.
  const Readings whole(text);
  long votes[std::size(whole.all)] = {};
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (brambolt::IsAsciiText(line)) continue;
    const Readings readings(line);
    const Reading& best = readings.Best();
    bool bClear = true;
    for (const Reading& reading : readings.all)
      if (&reading != &best && reading.nScore > best.nScore - kClearMargin) bClear = false;
    if (!bClear) continue;
    const auto nWeight = std::count_if(line.begin(), line.end(), [](char ch) { return static_cast<BYTE>(ch) >= 0x80; });
    votes[&best - readings.all] += nWeight;
  }
  const long nMost = *std::max_element(std::begin(votes), std::end(votes));
  int nTied = 0;
  for (const long nVotes : votes) nTied += nVotes == nMost ? 1 : 0;
  if (nMost > 0 && nTied == 1)
    return {whole.all[std::max_element(std::begin(votes), std::end(votes)) - votes].nCodePage, true};
  // Where the lines cannot tell, the whole text is weighed: the project's language decides where
  // its reading is about as good as the best, and for an English project the program's own code
  // page (its user's Chinese); else the best. Not certain.
  const Reading& best = whole.Best();
  // Valid UTF-8 that reads better as UTF-8 than in any other code page is UTF-8.
  const Reading* pUtf8 = whole.Of(CP_UTF8);
  if (nMost == 0 && &best == pUtf8 && brambolt::IsUtf8Text(text) &&
      std::none_of(std::begin(whole.all), std::end(whole.all),
                   [&](const Reading& reading) { return &reading != pUtf8 && reading.nScore == pUtf8->nScore; }))
    return {CP_UTF8, false};
  // The readings about as good as the best: the one a run documents in is read so.
  const auto close = [&](const Reading& reading) {
    return (nMost == 0 || votes[&reading - whole.all] == nMost) && reading.nScore > best.nScore - kClearMargin;
  };
  unsigned nClose = 0;
  for (const Reading& reading : whole.all)
    if (close(reading)) nClose |= TextCodePage::ReadingBit(reading.nCodePage);
  const auto uncertain = [nClose](UINT nCodePage) {
    TextCodePage codePage{nCodePage, false};
    codePage.nCloseReadings = nClose | TextCodePage::ReadingBit(nCodePage);
    return codePage;
  };
  // A Chinese project's language chooses for good; else the program's code page, which a run in
  // another language may read otherwise.
  const Reading* pProject = whole.Of(nProjectCodePage);
  if (pProject != nullptr && close(*pProject)) {
    TextCodePage codePage = uncertain(nProjectCodePage);
    codePage.bProjectChose = nProjectCodePage == 936 || nProjectCodePage == 950;
    return codePage;
  }
  const Reading* pProgram = whole.Of(::GetACP());
  if (pProgram != nullptr && close(*pProgram)) return uncertain(pProgram->nCodePage);
  if (nMost > 0) {
    // Of the readings the lines tie between, the one the whole text reads best in.
    const Reading* pTied = nullptr;
    for (const Reading& reading : whole.all)
      if (votes[&reading - whole.all] == nMost && (pTied == nullptr || reading.nScore > pTied->nScore))
        pTied = &reading;
    return uncertain(pTied->nCodePage);
  }
  return uncertain(best.nCodePage);
}

UINT AFBig2GBObj::CodePageOfLine(std::string_view line, UINT nFileCodePage) {
  if (brambolt::IsAsciiText(line)) return nFileCodePage;
  const Readings readings(line);
  const Reading* pFile = readings.Of(nFileCodePage);
  const Reading& best = readings.Best();
  if (pFile == nullptr || best.nScore - pFile->nScore >= kLineMargin) return best.nCodePage;
  // Valid UTF-8 made only of what two bytes of another code page seldom make ("Copyright \xC2\xA9")
  // is a line pasted in UTF-8 however long the file's other text is.
  const Reading* pUtf8 = readings.Of(CP_UTF8);
  if (&best == pUtf8 && pUtf8->bTelling) return CP_UTF8;
  return nFileCodePage;
}

std::u32string AFBig2GBObj::ReadText(std::string_view text, UINT nCodePage) {
  if (nCodePage != 936 && nCodePage != 950) return brambolt::AnsiToUnicode(text, nCodePage);
  const PairTable& pairs = PairTable::Of(nCodePage);
  const BYTE* p = reinterpret_cast<const BYTE*>(text.data());
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (p[i] < 0x80) {
      out += static_cast<char32_t>(p[i++]);
      continue;
    }
    const size_t nBytes = pairs.Length(p + i, text.size() - i);
    const char32_t ch = nBytes == 1 ? pairs.SingleByte(p[i]) : pairs.Character(p[i], p[i + 1]);
    out += ch != 0 ? ch : U'\xFFFD';
    i += nBytes;
  }
  return out;
}

size_t AFBig2GBObj::CharacterLength(std::string_view text, size_t i, UINT nCodePage) {
  const BYTE* p = reinterpret_cast<const BYTE*>(text.data()) + i;
  if (p[0] < 0x80 || (nCodePage != 936 && nCodePage != 950)) return 1;
  return PairTable::Of(nCodePage).Length(p, text.size() - i);
}

std::u32string AFBig2GBObj::CounterpartText(std::string_view text, UINT nSourceCodePage) {
  std::u32string out;
  out.reserve(text.size());
  const UINT nTarget = nSourceCodePage == 936 ? 950 : 936;
  for (size_t i = 0; i < text.size();) {
    const std::string_view character = text.substr(i, CharacterLength(text, i, nSourceCodePage));
    i += character.size();
    std::string converted;
    out += ConvertCharacter(character, nSourceCodePage == 936, converted) ? ReadText(converted, nTarget)
                                                                            : ReadText(character, nSourceCodePage);
  }
  return out;
}

BOOL AFBig2GBObj::ConvertCharacter(std::string_view pair, BOOL bGBToBig5, std::string& out) {
  const BYTE* pTable = ShellTable(bGBToBig5);
  if (pTable == nullptr || pair.size() != 2) return FALSE;
  const BYTE lead = static_cast<BYTE>(pair[0]);
  const BYTE trail = static_cast<BYTE>(pair[1]);
  const BYTE* pEntry = nullptr;
  if (bGBToBig5) {
    // GB2312's own rows: its signs A1 to A9 and its characters B0 to F7.
    if (lead < kGBFirst || lead > 0xF7 || (lead >= 0xAA && lead <= 0xAF) || trail < kGBFirst || trail > kLast) return FALSE;
    const int row = lead <= 0xA9 ? lead - 0xA1 : lead - 0xA7;
    pEntry = pTable + 2 * (row * kGBColumns + (trail - kGBFirst));
  } else {
    if (lead < kGBFirst || lead > 0xF9 || trail < kBig5TrailFirst || (trail > 0x7E && trail < kGBFirst) || trail > kLast)
      return FALSE;
    pEntry = pTable + 2 * ((lead - kGBFirst) * kBig5Columns + (trail - kBig5TrailFirst));
  }
  // An empty entry, or the target's white square for anything but the source's, is no counterpart.
  const BYTE squareTrail = bGBToBig5 ? kBig5SquareTrail : kGBSquareTrail;
  const BYTE sourceSquareTrail = bGBToBig5 ? kGBSquareTrail : kBig5SquareTrail;
  if (pEntry[0] == 0 || pEntry[1] == 0) return FALSE;
  if (pEntry[0] == kSquareLead && pEntry[1] == squareTrail && !(lead == kSquareLead && trail == sourceSquareTrail))
    return FALSE;
  // The entry must be a character the target reads.
  const char32_t ch = PairTable::Of(bGBToBig5 ? 950 : 936).Character(pEntry[0], pEntry[1]);
  if (ch == 0 || IsPrivateUse(ch)) return FALSE;
  out += static_cast<char>(pEntry[0]);
  out += static_cast<char>(pEntry[1]);
  return TRUE;
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

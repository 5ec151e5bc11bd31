// CString members. Searching, case folding and trimming walk the string character by character
// with the code page's lead-byte test, so a trail byte never matches a single-byte character.
#include "core/CString.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

#include "base/CodePage.h"
#include "base/MbString.h"

namespace {

std::atomic<AFX_STRING_LOADER> g_pfnStringLoader{nullptr};

// Byte length of the character at index i (2 for a lead byte followed by a trail byte).
inline size_t CharSize(const std::string& s, size_t i) {
  return std::max<size_t>(1, brambolt::CharacterLength(s, i));
}

inline bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Whether the character at p occurs, as a whole character, in the set.
bool SetContains(LPCTSTR lpszSet, const char* p) {
  unsigned c = _tcsnextc(p);
  return c != 0 && _tcschr(lpszSet, c) != nullptr;
}

// Bytes of the leading run of characters for which isTrimmed holds.
template <class Pred>
size_t LeadingRun(const std::string& s, Pred isTrimmed) {
  const bool dbcs = brambolt::IsDBCSCodePage();
  size_t i = 0;
  while (i < s.size()) {
    size_t n = dbcs ? CharSize(s, i) : 1;
    if (!isTrimmed(s.data() + i, n)) break;
    i += n;
  }
  return i;
}

// Start of the trailing run of characters for which isTrimmed holds. The walk goes forward
// because the kind of a byte (lead, trail, single) is known only from the start of the string.
template <class Pred>
size_t TrailingRunStart(const std::string& s, Pred isTrimmed) {
  if (!brambolt::IsDBCSCodePage()) {
    size_t i = s.size();
    while (i > 0 && isTrimmed(s.data() + i - 1, 1)) --i;
    return i;
  }
  size_t runStart = s.size();
  bool inRun = false;
  for (size_t i = 0; i < s.size();) {
    size_t n = CharSize(s, i);
    if (isTrimmed(s.data() + i, n)) {
      if (!inRun) runStart = i;
      inRun = true;
    } else {
      inRun = false;
      runStart = s.size();
    }
    i += n;
  }
  return runStart;
}

auto SpaceChar() {
  return [](const char* p, size_t n) { return n == 1 && IsAsciiSpace(*p); };
}
auto SingleChar(TCHAR ch) {
  return [ch](const char* p, size_t n) { return n == 1 && *p == ch; };
}
auto CharFromSet(LPCTSTR lpszTargets) {
  return [lpszTargets](const char* p, size_t) { return SetContains(lpszTargets, p); };
}

// Byte index of a pointer returned by a search in s, or -1 for none.
inline int IndexIn(const std::string& s, const char* p) { return p != nullptr ? static_cast<int>(p - s.c_str()) : -1; }

}  // namespace

void AfxSetStringLoader(AFX_STRING_LOADER pfnLoader) { g_pfnStringLoader.store(pfnLoader); }

CString::CString(TCHAR ch, int nRepeat) {
  if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString::CString(LPCTSTR lpsz) {
  if (lpsz == nullptr) return;
  if (IS_INTRESOURCE(lpsz))
    LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(lpsz)));
  else
    m_str = lpsz;
}

CString::CString(LPCTSTR lpch, int nLength) {
  if (lpch != nullptr && nLength > 0) m_str.assign(lpch, static_cast<size_t>(nLength));
}

const CString& CString::operator=(const CString& stringSrc) {
  m_str = stringSrc.m_str;
  return *this;
}

const CString& CString::operator=(CString&& stringSrc) noexcept {
  m_str = std::move(stringSrc.m_str);
  return *this;
}

const CString& CString::operator=(TCHAR ch) {
  m_str.assign(1, ch);
  return *this;
}

const CString& CString::operator=(LPCTSTR lpsz) {
  if (lpsz == nullptr)
    m_str.clear();
  else
    m_str = lpsz;  // std::string::assign copes with lpsz pointing into m_str
  return *this;
}

TCHAR CString::GetAt(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetLength()) return '\0';
  return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, TCHAR ch) {
  if (nIndex >= 0 && nIndex < GetLength()) m_str[static_cast<size_t>(nIndex)] = ch;
}

const CString& CString::operator+=(const CString& string) {
  m_str += string.m_str;
  return *this;
}

const CString& CString::operator+=(TCHAR ch) {
  m_str += ch;
  return *this;
}

const CString& CString::operator+=(LPCTSTR lpsz) {
  if (lpsz != nullptr) m_str += lpsz;
  return *this;
}

CString operator+(const CString& string1, const CString& string2) {
  CString s(string1);
  s += string2;
  return s;
}
CString operator+(const CString& string, TCHAR ch) {
  CString s(string);
  s += ch;
  return s;
}
CString operator+(TCHAR ch, const CString& string) {
  CString s(ch);
  s += string;
  return s;
}
CString operator+(const CString& string, LPCTSTR lpsz) {
  CString s(string);
  s += lpsz;
  return s;
}
CString operator+(LPCTSTR lpsz, const CString& string) {
  CString s(lpsz);
  s += string;
  return s;
}

int CString::Compare(LPCTSTR lpsz) const { return std::strcmp(m_str.c_str(), lpsz != nullptr ? lpsz : ""); }

int CString::CompareNoCase(LPCTSTR lpsz) const { return _tcsicmp(m_str.c_str(), lpsz != nullptr ? lpsz : ""); }

// Collation follows the byte order: the process never switches the C library's locale.
int CString::Collate(LPCTSTR lpsz) const { return Compare(lpsz); }

int CString::CollateNoCase(LPCTSTR lpsz) const { return CompareNoCase(lpsz); }

CString CString::Mid(int nFirst, int nCount) const {
  int nLength = GetLength();
  nFirst = std::clamp(nFirst, 0, nLength);
  nCount = std::clamp(nCount, 0, nLength - nFirst);
  return CString(m_str.data() + nFirst, nCount);
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
  nCount = std::clamp(nCount, 0, GetLength());
  return Mid(GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCTSTR lpszCharSet) const {
  if (lpszCharSet == nullptr) return CString();
  return Left(static_cast<int>(_tcsspn(m_str.c_str(), lpszCharSet)));
}

CString CString::SpanExcluding(LPCTSTR lpszCharSet) const {
  if (lpszCharSet == nullptr) return *this;
  return Left(static_cast<int>(_tcscspn(m_str.c_str(), lpszCharSet)));
}

void CString::MakeUpper() { CharUpperBuff(m_str.data(), static_cast<DWORD>(m_str.size())); }

void CString::MakeLower() { CharLowerBuff(m_str.data(), static_cast<DWORD>(m_str.size())); }

// Reverses the characters; a double-byte character keeps its byte order.
void CString::MakeReverse() {
  std::string reversed(m_str.size(), '\0');
  size_t end = m_str.size();
  for (size_t i = 0; i < m_str.size();) {
    size_t n = CharSize(m_str, i);
    end -= n;
    std::memcpy(&reversed[end], &m_str[i], n);
    i += n;
  }
  m_str.swap(reversed);
}

int CString::Replace(TCHAR chOld, TCHAR chNew) {
  int nCount = 0;
  for (size_t i = 0; i < m_str.size();) {
    size_t n = CharSize(m_str, i);
    if (n == 1 && m_str[i] == chOld) {
      m_str[i] = chNew;
      ++nCount;
    }
    i += n;
  }
  return nCount;
}

int CString::Replace(LPCTSTR lpszOld, LPCTSTR lpszNew) {
  if (lpszOld == nullptr || *lpszOld == '\0') return 0;
  if (lpszNew == nullptr) lpszNew = "";
  size_t nOldLen = std::strlen(lpszOld);
  std::string result;
  int nCount = 0;
  size_t i = 0;
  while (i < m_str.size()) {
    if (m_str.compare(i, nOldLen, lpszOld) == 0) {
      result += lpszNew;
      i += nOldLen;
      ++nCount;
    } else {
      size_t n = CharSize(m_str, i);
      result.append(m_str, i, n);
      i += n;
    }
  }
  if (nCount > 0) m_str.swap(result);
  return nCount;
}

int CString::Remove(TCHAR chRemove) {
  std::string result;
  result.reserve(m_str.size());
  for (size_t i = 0; i < m_str.size();) {
    size_t n = CharSize(m_str, i);
    if (n != 1 || m_str[i] != chRemove) result.append(m_str, i, n);
    i += n;
  }
  int nCount = GetLength() - static_cast<int>(result.size());
  m_str.swap(result);
  return nCount;
}

int CString::Insert(int nIndex, TCHAR ch) {
  nIndex = std::clamp(nIndex, 0, GetLength());
  m_str.insert(static_cast<size_t>(nIndex), 1, ch);
  return GetLength();
}

int CString::Insert(int nIndex, LPCTSTR pstr) {
  if (pstr != nullptr) {
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_str.insert(static_cast<size_t>(nIndex), std::string(pstr));
  }
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  nIndex = std::max(nIndex, 0);
  if (nCount > 0 && nIndex < GetLength())
    m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(std::min(nCount, GetLength() - nIndex)));
  return GetLength();
}

void CString::TrimLeft() { m_str.erase(0, LeadingRun(m_str, SpaceChar())); }
void CString::TrimLeft(TCHAR chTarget) { m_str.erase(0, LeadingRun(m_str, SingleChar(chTarget))); }
void CString::TrimLeft(LPCTSTR lpszTargets) {
  if (lpszTargets != nullptr) m_str.erase(0, LeadingRun(m_str, CharFromSet(lpszTargets)));
}

void CString::TrimRight() { m_str.resize(TrailingRunStart(m_str, SpaceChar())); }
void CString::TrimRight(TCHAR chTarget) { m_str.resize(TrailingRunStart(m_str, SingleChar(chTarget))); }
void CString::TrimRight(LPCTSTR lpszTargets) {
  if (lpszTargets != nullptr) m_str.resize(TrailingRunStart(m_str, CharFromSet(lpszTargets)));
}

void CString::Trim() {
  TrimRight();
  TrimLeft();
}
void CString::Trim(TCHAR chTarget) {
  TrimRight(chTarget);
  TrimLeft(chTarget);
}
void CString::Trim(LPCTSTR lpszTargets) {
  TrimRight(lpszTargets);
  TrimLeft(lpszTargets);
}

int CString::Find(TCHAR ch, int nStart) const {
  if (nStart < 0) nStart = 0;
  if (nStart >= GetLength()) return -1;
  return IndexIn(m_str, _tcschr(m_str.c_str() + nStart, static_cast<BYTE>(ch)));
}

int CString::Find(LPCTSTR lpszSub, int nStart) const {
  if (lpszSub == nullptr) return -1;
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  return IndexIn(m_str, _tcsstr(m_str.c_str() + nStart, lpszSub));
}

int CString::ReverseFind(TCHAR ch) const { return IndexIn(m_str, _tcsrchr(m_str.c_str(), static_cast<BYTE>(ch))); }

int CString::FindOneOf(LPCTSTR lpszCharSet) const {
  if (lpszCharSet == nullptr) return -1;
  return IndexIn(m_str, _tcspbrk(m_str.c_str(), lpszCharSet));
}

void CString::FormatArgs(LPCTSTR lpszFormat, ...) {
  va_list argList;
  va_start(argList, lpszFormat);
  FormatV(lpszFormat, argList);
  va_end(argList);
}

void CString::FormatV(LPCTSTR lpszFormat, va_list argList) {
  if (lpszFormat == nullptr) {
    m_str.clear();
    return;
  }
  va_list argCopy;
  va_copy(argCopy, argList);
  int nLength = std::vsnprintf(nullptr, 0, lpszFormat, argCopy);
  va_end(argCopy);
  if (nLength < 0) {
    m_str.clear();
    return;
  }
  // Formatting into a fresh buffer lets an argument point into this string.
  std::string result(static_cast<size_t>(nLength), '\0');
  std::vsnprintf(result.data(), result.size() + 1, lpszFormat, argList);
  m_str.swap(result);
}

BOOL CString::LoadString(UINT nID) {
  AFX_STRING_LOADER pfnLoader = g_pfnStringLoader.load();
  CString strLoaded;
  if (pfnLoader == nullptr || !pfnLoader(nID, strLoaded)) {
    m_str.clear();
    return FALSE;
  }
  m_str.swap(strLoaded.m_str);
  return TRUE;
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufLength));
  return m_str.data();
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
  m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
  return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
  size_t nLength = nNewLength < 0 ? std::strlen(m_str.c_str()) : static_cast<size_t>(nNewLength);
  m_str.resize(std::min(nLength, m_str.size()));
}

// CString: the framework's byte string in the ANSI code page, with value semantics (every copy
// owns its bytes, so strings may be copied freely between threads).
#pragma once

#include <cstdarg>
#include <string>
#include <type_traits>

#include "base/base.h"

class CString;

// Loads string resource nID into rString; installed by the resource module.
typedef BOOL (*AFX_STRING_LOADER)(UINT nID, CString& rString);
void AfxSetStringLoader(AFX_STRING_LOADER pfnLoader);

class CString {
 public:
  CString() = default;
  CString(const CString& stringSrc) = default;
  CString(CString&& stringSrc) noexcept = default;
  CString(TCHAR ch, int nRepeat = 1);
  // A pointer made with MAKEINTRESOURCE loads that string resource, as the framework does.
  CString(LPCTSTR lpsz);
  CString(LPCTSTR lpch, int nLength);
  CString(const unsigned char* psz) : CString(reinterpret_cast<LPCTSTR>(psz)) {}

  const CString& operator=(const CString& stringSrc);
  const CString& operator=(CString&& stringSrc) noexcept;
  const CString& operator=(TCHAR ch);
  const CString& operator=(LPCTSTR lpsz);
  const CString& operator=(const unsigned char* psz) { return *this = reinterpret_cast<LPCTSTR>(psz); }

  int GetLength() const { return static_cast<int>(m_str.size()); }
  BOOL IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }

  // Out-of-range indexes read as 0 and are not written.
  TCHAR GetAt(int nIndex) const;
  TCHAR operator[](int nIndex) const { return GetAt(nIndex); }
  void SetAt(int nIndex, TCHAR ch);
  operator LPCTSTR() const { return m_str.c_str(); }

  const CString& operator+=(const CString& string);
  const CString& operator+=(TCHAR ch);
  const CString& operator+=(LPCTSTR lpsz);

  int Compare(LPCTSTR lpsz) const;
  int CompareNoCase(LPCTSTR lpsz) const;
  int Collate(LPCTSTR lpsz) const;
  int CollateNoCase(LPCTSTR lpsz) const;

  CString Mid(int nFirst, int nCount) const;
  CString Mid(int nFirst) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCTSTR lpszCharSet) const;
  CString SpanExcluding(LPCTSTR lpszCharSet) const;

  void MakeUpper();
  void MakeLower();
  void MakeReverse();

  int Replace(TCHAR chOld, TCHAR chNew);
  int Replace(LPCTSTR lpszOld, LPCTSTR lpszNew);
  int Remove(TCHAR chRemove);
  int Insert(int nIndex, TCHAR ch);
  int Insert(int nIndex, LPCTSTR pstr);
  int Delete(int nIndex, int nCount = 1);

  // Trimming without an argument removes ASCII white space (space, \t, \n, \v, \f, \r) only.
  void TrimLeft();
  void TrimLeft(TCHAR chTarget);
  void TrimLeft(LPCTSTR lpszTargets);
  void TrimRight();
  void TrimRight(TCHAR chTarget);
  void TrimRight(LPCTSTR lpszTargets);
  void Trim();
  void Trim(TCHAR chTarget);
  void Trim(LPCTSTR lpszTargets);

  int Find(TCHAR ch) const { return Find(ch, 0); }
  int Find(TCHAR ch, int nStart) const;
  int Find(LPCTSTR lpszSub) const { return Find(lpszSub, 0); }
  int Find(LPCTSTR lpszSub, int nStart) const;
  int ReverseFind(TCHAR ch) const;
  int FindOneOf(LPCTSTR lpszCharSet) const;

  // printf formatting; a CString argument may be passed for %s as it is.
  template <class... Args>
  void Format(LPCTSTR lpszFormat, const Args&... args) {
    FormatArgs(lpszFormat, PassVarArg(args)...);
  }
  template <class... Args>
  void Format(UINT nFormatID, const Args&... args) {
    CString strFormat;
    strFormat.LoadString(nFormatID);
    FormatArgs(strFormat, PassVarArg(args)...);
  }
  void FormatV(LPCTSTR lpszFormat, va_list argList);

  BOOL LoadString(UINT nID);

  // A writable buffer of at least nMinBufLength bytes plus the terminator. The length is the
  // buffer size until ReleaseBuffer sets it (-1: up to the first NUL).
  LPTSTR GetBuffer(int nMinBufLength);
  LPTSTR GetBufferSetLength(int nNewLength);
  void ReleaseBuffer(int nNewLength = -1);
  void FreeExtra() { m_str.shrink_to_fit(); }
  LPTSTR LockBuffer() { return m_str.data(); }
  void UnlockBuffer() {}
  int GetAllocLength() const { return static_cast<int>(m_str.capacity()); }

 private:
  template <class T>
  static auto PassVarArg(const T& value) {
    if constexpr (std::is_convertible_v<const T&, LPCTSTR> && std::is_class_v<T>)
      return static_cast<LPCTSTR>(value);
    else
      return value;
  }
  void FormatArgs(LPCTSTR lpszFormat, ...);

  std::string m_str;
};

CString operator+(const CString& string1, const CString& string2);
CString operator+(const CString& string, TCHAR ch);
CString operator+(TCHAR ch, const CString& string);
CString operator+(const CString& string, LPCTSTR lpsz);
CString operator+(LPCTSTR lpsz, const CString& string);

inline bool operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
inline bool operator==(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) == 0; }
inline bool operator==(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
inline bool operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
inline bool operator!=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) != 0; }
inline bool operator!=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
inline bool operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
inline bool operator<(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) < 0; }
inline bool operator<(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
inline bool operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
inline bool operator>(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) > 0; }
inline bool operator>(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
inline bool operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
inline bool operator<=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) <= 0; }
inline bool operator<=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
inline bool operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
inline bool operator>=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) >= 0; }
inline bool operator>=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }

// The analysed-class record.
#include "model/CFileObj.h"

#include <strings.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

IMPLEMENT_SERIAL(CFileObj, CObject, 0)

namespace {

unsigned long long NextAnalysisOrder() {
  static std::atomic<unsigned long long> s_nNext{0};
  return ++s_nNext;
}

}  // namespace

CFileObj::CFileObj()
    : m_nKnownClassId(1001),
      m_rect(0, 0, 500, 400),
      m_strViewClass("CMyView"),
      m_strDocClass("CMyDoc"),
      m_dwReserved1(1),
      m_dwReserved2(0),
      m_nBoxWidth(180),
      m_nBoxHeight(20),
      m_nMoreAncestors(0),
      m_nBitmapWidth(180),
      m_nBitmapHeight(20),
      m_nAnalysisOrder(NextAnalysisOrder()) {}

CFileObj::~CFileObj() {
  DeleteAllVariables();
  DeleteAllMemberFunctions();
}

namespace {

// The rectangle travels as four raw 32-bit fields, not as an object.
void SerializeRect(CArchive& ar, CRect& rect) {
  if (ar.IsStoring()) {
    ar << static_cast<int>(rect.left) << static_cast<int>(rect.top) << static_cast<int>(rect.right)
       << static_cast<int>(rect.bottom);
  } else {
    int left = 0, top = 0, right = 0, bottom = 0;
    ar >> left >> top >> right >> bottom;
    rect.SetRect(left, top, right, bottom);
  }
}

// Whether the name itself is taken, then which numbers n already make a taken "name(n)". The
// first free number is never above the number of records. Names are compared ignoring case, as
// the files named after them are found: "Size" and "size" must not share a page.
template <class List>
CString MakeUniqueName(const List& list, const CString& strName) {
  const int nLength = strName.GetLength();
  auto startsWithName = [&strName, nLength](const CString& strUnique) {
    return strUnique.GetLength() >= nLength &&
           strncasecmp(static_cast<LPCTSTR>(strUnique), static_cast<LPCTSTR>(strName), static_cast<size_t>(nLength)) == 0;
  };
  bool bTaken = false;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr && !bTaken;) {
    const CString& strUnique = list.GetNext(pos)->m_strUniqueName;
    bTaken = strUnique.GetLength() == nLength && startsWithName(strUnique);
  }
  if (!bTaken) return strName;
  const size_t nLimit = static_cast<size_t>(list.GetCount()) + 1;
  std::vector<bool> numbers(nLimit, false);
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    const CString& strUnique = list.GetNext(pos)->m_strUniqueName;
    LPCTSTR p = strUnique;
    int nUnique = strUnique.GetLength();
    if (!startsWithName(strUnique)) continue;
    // "(digits)" as %u writes them: no sign, no leading zero.
    if (nUnique < nLength + 3 || p[nLength] != '(' || p[nUnique - 1] != ')') continue;
    const char* digits = p + nLength + 1;
    const char* digitsEnd = p + nUnique - 1;
    if (digits[0] == '0' && digitsEnd - digits > 1) continue;
    size_t n = 0;
    const char* q = digits;
    for (; q < digitsEnd && *q >= '0' && *q <= '9' && n < nLimit; ++q) n = n * 10 + static_cast<size_t>(*q - '0');
    if (q == digitsEnd && n < nLimit) numbers[n] = true;
  }
  size_t nFree = 0;
  while (numbers[nFree]) ++nFree;
  // "%s(%u)"
  return strName + "(" + CString(std::to_string(nFree).c_str()) + ")";
}

template <class List>
void DeleteAll(List& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
}

// Records archived before the bases were kept as written hold "$" for each "::" of a base, and
// as the first base the text after the first base's last "$" (all of it for a leading "$"). A
// base that holds "::" already is of the later kind.
// Only the bases after the first nEarlier, those read, are looked at.
void RestoreQualifiedBases(CStringList& bases, INT_PTR nEarlier, CString& strFirstBase) {
  POSITION pos = bases.FindIndex(nEarlier);
  for (bool bFirst = true; pos != nullptr; bFirst = false) {
    CString& strBase = bases.GetNext(pos);
    const int nDollar = strBase.ReverseFind('$');
    if (nDollar < 0 || strBase.Find("::") >= 0) continue;
    const bool bCutFirst = bFirst && (strFirstBase == strBase || strFirstBase == strBase.Mid(nDollar + 1));
    strBase.Replace("$", "::");
    if (bCutFirst) strFirstBase = strBase;
  }
}

}  // namespace

void CFileObj::Serialize(CArchive& ar) {
  const INT_PTR nEarlierBases = m_BaseClassList.GetCount();
  m_BaseClassList.Serialize(ar);
  if (ar.IsStoring()) {
    ar << m_strPath << static_cast<DWORD>(m_nKnownClassId) << m_strClassName << m_strBaseClassName
       << m_strHeaderFile << m_strSourceFile;
  } else {
    DWORD dwId = 0;
    ar >> m_strPath >> dwId >> m_strClassName >> m_strBaseClassName >> m_strHeaderFile >> m_strSourceFile;
    m_nKnownClassId = static_cast<int>(dwId);
    RestoreQualifiedBases(m_BaseClassList, nEarlierBases, m_strBaseClassName);
  }
  SerializeRect(ar, m_rect);
  if (ar.IsStoring())
    ar << m_strReserved;
  else
    ar >> m_strReserved;
}

void CFileObj::SerializeClassInfo(CArchive& ar) {
  m_ReservedStrings.Serialize(ar);
  if (ar.IsStoring())
    ar << m_strViewClass << m_strDocClass << m_dwReserved1;
  else
    ar >> m_strViewClass >> m_strDocClass >> m_dwReserved1;
  SerializeRect(ar, m_rect);
  if (ar.IsStoring())
    ar << m_strReserved << m_dwReserved2;
  else
    ar >> m_strReserved >> m_dwReserved2;
}

void CFileObj::DeleteAllVariables() { DeleteAll(m_VariableList); }

void CFileObj::DeleteAllMemberFunctions() { DeleteAll(m_MemberFunctionList); }

CString CFileObj::MakeUniqueVariableName(CString strName) const { return MakeUniqueName(m_VariableList, strName); }

CString CFileObj::MakeUniqueFunctionName(CString strName) const {
  return MakeUniqueName(m_MemberFunctionList, strName);
}

// The analysed-class record.
#include "model/CFileObj.h"

IMPLEMENT_SERIAL(CFileObj, CObject, 0)

CFileObj::CFileObj()
    : m_nKnownClassId(1001),
      m_rect(0, 0, 500, 400),
      m_strViewClass("CMyView"),
      m_strDocClass("CMyDoc"),
      m_dwReserved1(1),
      m_dwReserved2(0),
      m_nBoxWidth(180),
      m_nBoxHeight(20),
      m_nBitmapWidth(180),
      m_nBitmapHeight(20) {}

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

template <class List>
bool IsUniqueNameTaken(const List& list, const CString& strName) {
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
    if (list.GetNext(pos)->m_strUniqueName == strName) return true;
  return false;
}

template <class List>
CString MakeUniqueName(const List& list, const CString& strName) {
  if (!IsUniqueNameTaken(list, strName)) return strName;
  CString strUnique;
  for (UINT n = 0;; ++n) {
    strUnique.Format("%s(%u)", static_cast<LPCTSTR>(strName), n);
    if (!IsUniqueNameTaken(list, strUnique)) return strUnique;
  }
}

template <class List>
void DeleteAll(List& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
}

}  // namespace

void CFileObj::Serialize(CArchive& ar) {
  m_BaseClassList.Serialize(ar);
  if (ar.IsStoring()) {
    ar << m_strPath << static_cast<DWORD>(m_nKnownClassId) << m_strClassName << m_strBaseClassName
       << m_strHeaderFile << m_strSourceFile;
  } else {
    DWORD dwId = 0;
    ar >> m_strPath >> dwId >> m_strClassName >> m_strBaseClassName >> m_strHeaderFile >> m_strSourceFile;
    m_nKnownClassId = static_cast<int>(dwId);
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

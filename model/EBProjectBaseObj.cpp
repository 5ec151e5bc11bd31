// The imported project's items, the reader base class and the helpers the readers share.
#include "model/EBProjectBaseObj.h"

#include <cstring>

#include "core/CArchive.h"
#include "core/CException.h"
#include "core/TextStream.h"
#include "foundation/SECFileSystem.h"

IMPLEMENT_DYNAMIC(EBProjectBaseObj, CObject)
IMPLEMENT_RECORD_FILE(EBProjectBaseObj)
IMPLEMENT_DYNCREATE(EBMenuItemObj, CObject)
IMPLEMENT_RECORD_FILE(EBMenuItemObj)

EBProjectBaseObj::EBProjectBaseObj() : m_Items(10), m_dwFlags(0), m_nFirstGroupLine(0) {}

EBProjectBaseObj::~EBProjectBaseObj() { Clear(); }

void EBProjectBaseObj::Serialize(CArchive&) {}

BOOL EBProjectBaseObj::Clear() {
  m_strPath.Empty();
  while (!m_Items.IsEmpty()) delete m_Items.RemoveHead();
  m_NotRead.clear();
  return TRUE;
}

BOOL EBProjectBaseObj::WriteEnd(TextOutStream&) { return TRUE; }

EBProjectBaseObjItem* EBProjectBaseObj::AddItem(EBProjectBaseObjItem* pParent, const CString& strName,
                                                const CString& strFolder, int nKind) {
  auto* pItem = new EBProjectBaseObjItem;
  pItem->m_strName = strName;
  pItem->m_strFolder = strFolder;
  pItem->m_nKind = nKind;
  m_Items.AddTail(pItem);
  if (pParent != nullptr) pParent->m_Children.AddTail(pItem);
  return pItem;
}

CString EBProjectBaseObj::GetItemPath(const EBProjectBaseObjItem* pItem) const {
  if (project_import::IsAbsolutePath(pItem->m_strName)) return pItem->m_strName;
  return project_import::FolderPart(m_strPath) + pItem->m_strFolder + pItem->m_strName;
}

void EBMenuItemObj::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    ar << m_strName << m_strText << m_nID;
  else
    ar >> m_strName >> m_strText >> m_nID;
}

namespace project_import {

BOOL StartsWith(const CString& strLine, LPCTSTR lpszMarker) {
  const int nLength = static_cast<int>(std::strlen(lpszMarker));
  return strLine.GetLength() >= nLength && strLine.Left(nLength).CompareNoCase(lpszMarker) == 0;
}

CString Unquote(CString strText) {
  strText.Trim(" \t");
  if (strText.GetLength() >= 2 && strText[0] == '"' && strText[strText.GetLength() - 1] == '"')
    strText = strText.Mid(1, strText.GetLength() - 2);
  return strText;
}

CString SourceValue(const CString& strLine) {
  CString strValue = Unquote(strLine.Mid(static_cast<int>(std::strlen("SOURCE="))));
  if (strValue.Left(2) == ".\\") strValue = strValue.Mid(2);
  return strValue;
}

BOOL IsMacroReference(const CString& strValue) { return strValue.Find("$(") >= 0; }

BOOL IsAbsolutePath(const CString& strPath) {
  return (strPath.GetLength() >= 2 && strPath[1] == ':') || strPath[0] == '\\' || strPath[0] == '/';
}

CString FolderPart(const CString& strPath) { return SECFileSystem().GetPath(strPath, TRUE); }

BOOL LineReader::Open(LPCTSTR lpszPathName) {
  auto pFile = std::make_unique<CStdioFile>();
  // Text mode drops the CR of a CR LF line end.
  if (!pFile->Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) return FALSE;
  m_pFile = std::move(pFile);
  return TRUE;
}

BOOL LineReader::Next(CString& strLine) {
  if (m_pFile == nullptr) return FALSE;
  BOOL bRead = FALSE;
  TRY { bRead = m_pFile->ReadString(strLine); }
  CATCH_ALL(e) {
    // A read error ends the file where it happened.
    e->Delete();
    bRead = FALSE;
  }
  END_CATCH_ALL
  if (!bRead) m_pFile.reset();
  return bRead;
}

}  // namespace project_import

// The component-library entry and its list file.
#include "model/CGenMenuObj.h"

#include "core/CStdioFile.h"

IMPLEMENT_SERIAL(CGenMenuObj, CObject, 0)
IMPLEMENT_RECORD_FILE(CGenMenuObj)

CGenMenuObj::CGenMenuObj() : m_nId(0) {}
CGenMenuObj::~CGenMenuObj() = default;
void CGenMenuObj::Serialize(CArchive&) {}

BOOL LoadComponentList(LPCTSTR lpszFileName, CGenMenuObjList& list) {
  CStdioFile file;
  if (!file.Open(lpszFileName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) return FALSE;
  int nNextId = FIRST_COMPONENT_ID;
  TRY {
    CString strLine;
    while (file.ReadString(strLine)) {
      strLine.Trim();
      int nHash = strLine.ReverseFind('#');
      if (nHash <= 0) continue;  // no "#", or nothing before it
      CString strText = strLine.Mid(nHash + 1);
      if (strText.IsEmpty()) continue;
      CGenMenuObj* pEntry = new CGenMenuObj;
      pEntry->m_strComponentName = strLine.Left(nHash);
      pEntry->m_strComponentText = strText;
      pEntry->m_nId = nNextId++;
      list.AddTail(pEntry);
    }
  }
  CATCH(CFileException, e) {
    // A read error ends the list where it stands, as the end of the file would.
  }
  END_CATCH
  file.Abort();
  return TRUE;
}

CString FindComponentName(const CGenMenuObjList& list, int nId) {
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    const CGenMenuObj* pEntry = list.GetNext(pos);
    if (pEntry->m_nId == nId) return pEntry->m_strComponentName;
  }
  return CString();
}

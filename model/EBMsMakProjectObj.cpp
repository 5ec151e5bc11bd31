// Reading the source files of a Visual C++ makefile.
#include "model/EBMsMakProjectObj.h"

#include "model/ShellServices.h"

IMPLEMENT_DYNCREATE(EBMsMakProjectObj, EBProjectBaseObj)

using namespace project_import;

BOOL EBMsMakProjectObj::Open(LPCTSTR lpszPathName) {
  LineReader reader;
  if (!reader.Open(lpszPathName)) return FALSE;
  CStringList names;
  for (CString strLine; reader.Next(strLine);) {
    if (!StartsWith(strLine, "SOURCE=")) continue;
    const CString strValue = SourceValue(strLine);
    if (strValue.IsEmpty() || IsMacroReference(strValue)) continue;
    bool bSeen = false;
    for (POSITION pos = names.GetHeadPosition(); pos != nullptr && !bSeen;)
      bSeen = names.GetNext(pos).CompareNoCase(strValue) == 0;
    if (bSeen) continue;
    names.AddTail(strValue);
    AddItem(nullptr, strValue, CString(), EBITEM_FILE | EBITEM_TOPLEVEL);
  }
  m_strPath = lpszPathName;
  return TRUE;
}

BOOL EBMsMakProjectObj::Write(LPCTSTR) {
  GetShellServices()->ShowMessage("Not implemented yet.", 0 /* MB_OK */);
  return FALSE;
}

// Reading a Visual C++ 6 workspace: its "Project:" lines and the project files they name.
#include "model/EBMsDswProjectObj.h"

#include "model/ShellServices.h"
#include "os/FileApi.h"

IMPLEMENT_DYNCREATE(EBMsDswProjectObj, EBMsDspProjectObj)

using namespace project_import;

BOOL EBMsDswProjectObj::Open(LPCTSTR lpszPathName) { return ReadDswFile(lpszPathName); }

BOOL EBMsDswProjectObj::Write(LPCTSTR) {
  GetShellServices()->ShowMessage("Not implemented yet.", 0 /* MB_OK */);
  return FALSE;
}

BOOL EBMsDswProjectObj::WriteEnd(TextOutStream& out) { return EBProjectBaseObj::WriteEnd(out); }

CString EBMsDswProjectObj::ProjectPath(const CString& strLine) {
  // Project: "Name"=.\Folder\Name.dsp - Package Owner=<4>
  int nStart = strLine.Find("\"=");
  nStart = nStart >= 0 ? nStart + 2 : strLine.Find('=') + 1;
  if (nStart <= 0) return CString();
  int nEnd = -1;
  for (int nAt = strLine.Find(" - ", nStart); nAt >= 0; nAt = strLine.Find(" - ", nAt + 1)) nEnd = nAt;
  CString strPath = Unquote(nEnd >= 0 ? strLine.Mid(nStart, nEnd - nStart) : strLine.Mid(nStart));
  if (strPath.Left(2) == ".\\") strPath = strPath.Mid(2);
  return strPath;
}

BOOL EBMsDswProjectObj::ReadDswFile(LPCTSTR lpszPathName) {
  LineReader reader;
  if (!reader.Open(lpszPathName)) return FALSE;
  const CString strWorkspaceFolder = FolderPart(lpszPathName);
  for (CString strLine; reader.Next(strLine);) {
    if (!StartsWith(strLine, "Project:")) continue;
    const CString strPath = ProjectPath(strLine);
    if (strPath.IsEmpty()) continue;
    EBProjectBaseObjItem* pProject =
        AddItem(nullptr, strPath, CString(), EBITEM_PROJECT | EBITEM_TOPLEVEL | EBITEM_GROUP);
    CString strFolder = FolderPart(strPath);
    if (strFolder.IsEmpty()) strFolder = ".\\";
    const CString strProjectFile = strWorkspaceFolder + strPath;
    if (!ReadDspFile(pProject, strProjectFile, strFolder))
      m_NotRead.push_back({strProjectFile, GetFileAttributes(strProjectFile) == INVALID_FILE_ATTRIBUTES
                                               ? "this project of the workspace is not there, so none of its files"
                                               : "this project of the workspace could not be read, so none of its files"});
  }
  m_strPath = lpszPathName;
  return TRUE;
}

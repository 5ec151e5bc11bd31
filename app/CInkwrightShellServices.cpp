// The project model's services, answered by the application object.
#include "app/CInkwrightShellServices.h"

#include "app/CInkwrightApp.h"

CWorkSpaceObj* CInkwrightShellServices::GetWorkSpace() { return m_app.m_pWorkSpace; }

CString CInkwrightShellServices::GetProjectFolder() { return m_app.m_strProjectFolder; }

CString CInkwrightShellServices::GetProjectName() { return m_app.m_strProjectName; }

const BYTE* CInkwrightShellServices::GetGBToBig5Table() { return m_app.GetGBToBig5Table(); }

const BYTE* CInkwrightShellServices::GetBig5ToGBTable() { return m_app.GetBig5ToGBTable(); }

void CInkwrightShellServices::CopyFileIntoProject(CString strPath) { m_app.CopyFileIntoProject(strPath); }

BOOL CInkwrightShellServices::OpenDiagramFile(CString strName) {
  // The model asks for this when a project reopens the documents it had open: headers and sources
  // the user edited lie in the project's own folders, not among its diagrams. The name comes in
  // lower case; the file opens under the name it has on disk, which its title shows. Where no
  // folder holds it, the application says so.
  for (const char* folder : {"Header Files\\", "Source Code\\", "Diagrams\\"}) {
    if (m_app.m_strProjectFolder.IsEmpty() || strName.FindOneOf("*?") >= 0) break;  // a name, not a pattern
    const CString strFolder = m_app.m_strProjectFolder + folder;
    WIN32_FIND_DATA found{};
    HANDLE hFind = ::FindFirstFile(strFolder + strName, &found);
    if (hFind == INVALID_HANDLE_VALUE) continue;
    ::FindClose(hFind);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    m_app.OpenDocumentFile(strFolder + found.cFileName);
    return TRUE;
  }
  return m_app.OpenDiagramFile(strName);
}

void CInkwrightShellServices::OpenFormFile(CString strName) { m_app.OpenFormFile(strName); }

CString CInkwrightShellServices::GetComponentName(int nComponentId) {
  return m_app.GetComponentText(nComponentId);
}

void CInkwrightShellServices::BeginProgress(LPCTSTR lpszText, int nLower, int nUpper, BOOL bFlag, DWORD dwStyle) {
  m_app.BeginStatusProgress(lpszText, nLower, nUpper, bFlag, dwStyle);
}

void CInkwrightShellServices::SetProgressPos(int nPos) { m_app.SetStatusProgress(nPos); }

void CInkwrightShellServices::EndProgress() { m_app.EndStatusProgress(); }

void CInkwrightShellServices::RefreshOutputTree() { m_app.RefreshOutputTree(FALSE); }

void CInkwrightShellServices::DrawClassBox(HDC hDC, const RECT& rcBox, int nDepth) {
  m_app.DrawShadowRect(CDC::FromHandle(hDC), CRect(rcBox), nDepth);
}

int CInkwrightShellServices::ShowMessage(LPCTSTR lpszText, UINT nType) { return AfxMessageBox(lpszText, nType); }

HFONT CInkwrightShellServices::GetDialogFont() { return static_cast<HFONT>(g_fontFixedsys.GetSafeHandle()); }

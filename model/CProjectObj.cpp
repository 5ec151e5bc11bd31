// The opener of Visual C++ projects and the import of their source files.
#include "model/CProjectObj.h"

#include <memory>

#include "afx/CFileDialog.h"
#include "afx/CWinThread.h"
#include "foundation/SECFileSystem.h"
#include "model/EBMsDspProjectObj.h"
#include "model/EBMsDswProjectObj.h"
#include "model/EBMsMakProjectObj.h"
#include "model/ShellServices.h"

IMPLEMENT_DYNCREATE(CProjectObj, CObject)
IMPLEMENT_RECORD_FILE(CProjectObj)

namespace {

void Tell(LPCTSTR lpszText) { GetShellServices()->ShowMessage(lpszText, 0 /* MB_OK */); }

constexpr const char* kProjectFilter =
    "Supported Projects (.dsw;.dsp;.mak)|*.dsw;*.dsp;*.mak|MSVC Workspaces (.dsw)|*.dsw|MSVC Projects (.dsp)|*.dsp|"
    "MSVC Makefiles (.mak)|*.mak|All Files (*.*)|*.*||";

}  // namespace

CProjectObj::CProjectObj() : m_pProject(nullptr) {}

CProjectObj::~CProjectObj() {
  delete m_pProject;
  m_pProject = nullptr;
}

void CProjectObj::Serialize(CArchive&) {}

BOOL CProjectObj::BrowseAndOpenProject() {
  CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kProjectFilter, AfxGetMainWnd());
  dlg.m_ofn.lpstrInitialDir = "";
  if (dlg.DoModal() != IDOK) return FALSE;
  return OpenProjectFile(dlg.GetPathName());
}

BOOL CProjectObj::OpenProjectFile(LPCTSTR lpszPathName) {
  SECFileSystem fs;
  if (!fs.FileExists(lpszPathName)) {
    Tell("Project does not exist.");
    return FALSE;
  }
  CString strExtension = fs.GetExtension(lpszPathName);
  strExtension.MakeLower();
  std::unique_ptr<EBProjectBaseObj> pProject;
  if (strExtension == "dsw")
    pProject = std::make_unique<EBMsDswProjectObj>();
  else if (strExtension == "dsp")
    pProject = std::make_unique<EBMsDspProjectObj>();
  else if (strExtension == "mak")
    pProject = std::make_unique<EBMsMakProjectObj>();
  if (pProject == nullptr) {
    Tell("Unknown project type.");
    return FALSE;
  }
  if (!pProject->Open(lpszPathName)) {
    Tell("Project cannot be opened.");
    return FALSE;
  }
  delete m_pProject;
  m_pProject = pProject.release();
  return TRUE;
}

BOOL CProjectObj::ImportProjectFiles() {
  if (m_pProject == nullptr) return FALSE;
  // Items inside groups are reached through their group only, so each file is copied once.
  for (POSITION pos = m_pProject->m_Items.GetHeadPosition(); pos != nullptr;) {
    const EBProjectBaseObjItem* pItem = m_pProject->m_Items.GetNext(pos);
    if (!pItem->IsTopLevel()) continue;
    if (pItem->IsFile())
      CopyItem(pItem);
    else
      ImportGroupFiles(pItem);
  }
  // What the project lists but the reading could not bring in is named once, after the copies.
  if (!m_pProject->m_NotRead.empty())
    GetShellServices()->ShowMessage(DescribeFilesNotBroughtIn(m_pProject->m_NotRead), 0x30 /* MB_ICONEXCLAMATION */);
  return TRUE;
}

void CProjectObj::ImportGroupFiles(const EBProjectBaseObjItem* pItem) {
  for (POSITION pos = pItem->m_Children.GetHeadPosition(); pos != nullptr;) {
    const auto* pChild = static_cast<const EBProjectBaseObjItem*>(pItem->m_Children.GetNext(pos));
    if (pChild->IsFile())
      CopyItem(pChild);
    else
      ImportGroupFiles(pChild);
  }
}

void CProjectObj::CopyItem(const EBProjectBaseObjItem* pItem) {
  GetShellServices()->CopyFileIntoProject(m_pProject->GetItemPath(pItem));
}

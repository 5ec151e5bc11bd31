// The Organize files dialog.
#include "app/COrgSourceFileDlg.h"

#include <memory>

#include "app/ProjectDialogs.h"
#include "foundation/SECFileSystem.h"
#include "model/ShellServices.h"
#include "resources/ChildFramesRes.h"
#include "resources/ExplorerRes.h"

BEGIN_MESSAGE_MAP(COrgSourceFileDlg, CDialog)
  ON_CBN_SELCHANGE(IDC_ORG_FILE_TYPE, OnSelChangeFileType)
  ON_BN_CLICKED(IDC_ORG_REMOVE, OnRemove)
  ON_BN_CLICKED(IDC_ORG_RENAME, OnRename)
END_MESSAGE_MAP()

COrgSourceFileDlg::COrgSourceFileDlg(CWnd* pParent) : CDialog(IDD_ORGANIZE_FILES, pParent) {}

CString COrgSourceFileDlg::FolderOf(int nFileType) {
  return nFileType == HEADER_FILES ? "Header Files\\" : "Source Code\\";
}

BOOL COrgSourceFileDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_wndFileType.SubclassDlgItem(IDC_ORG_FILE_TYPE, this);
  m_wndFileList.SubclassDlgItem(IDC_ORG_FILE_LIST, this);
  SetFixedFont(this, {IDC_ORG_FILE_TYPE, IDC_ORG_FILE_LIST});
  m_wndFileType.SetItemData(m_wndFileType.AddString("Header Files"), HEADER_FILES);
  m_wndFileType.SetItemData(m_wndFileType.AddString("Source Code"), SOURCE_FILES);
  m_wndFileType.SetCurSel(0);
  m_nFileType = HEADER_FILES;
  FillFileList();
  return TRUE;
}

void COrgSourceFileDlg::FillFileList() {
  SECFileSystem fs;
  const CString strPattern = GetShellServices()->GetProjectFolder() + FolderOf(m_nFileType) + "*.*";
  for (std::unique_ptr<CString> pName(fs.GetNextFileName(strPattern, FILE_ATTRIBUTE_NORMAL)); pName != nullptr;
       pName.reset(fs.GetNextFileName(CString(), FILE_ATTRIBUTE_NORMAL)))
    m_wndFileList.AddString(*pName);
}

void COrgSourceFileDlg::OnSelChangeFileType() {
  const int nSel = m_wndFileType.GetCurSel();
  if (nSel < 0) return;
  m_wndFileList.ResetContent();
  m_nFileType = static_cast<int>(m_wndFileType.GetItemData(nSel));
  FillFileList();
}

void COrgSourceFileDlg::OnRemove() {
  const int nSel = m_wndFileList.GetCurSel();
  if (nSel < 0) return;
  if (AfxMessageBox(IDS_REMOVE_FROM_PROJECT, MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
  CString strName;
  m_wndFileList.GetText(nSel, strName);
  SECFileSystem fs;
  const CString strPath = GetShellServices()->GetProjectFolder() + FolderOf(m_nFileType) + strName;
  // A file that cannot be deleted stays listed; one already gone leaves the list.
  if (fs.FileExists(strPath) && !fs.DeleteFile(strPath)) return;
  m_wndFileList.DeleteString(static_cast<UINT>(nSel));
  if (m_wndFileList.GetCount() > 0) m_wndFileList.SetCurSel(nSel > 0 ? nSel - 1 : 0);
  m_bChanged = TRUE;
}

void COrgSourceFileDlg::OnRename() {}

// The new folder and rename dialogs.
#include "app/CNewFolderDlg.h"

#include "afx/DataExchange.h"
#include "app/ProjectDialogs.h"
#include "foundation/SECFileSystem.h"
#include "resources/AppResource.h"

namespace {

// OK follows whether the edit nID holds any text.
void EnableOkWhenFilled(CDialog* pDialog, int nID) {
  CString strText;
  pDialog->GetDlgItemText(nID, strText);
  if (CWnd* pOK = pDialog->GetDlgItem(IDOK)) pOK->EnableWindow(!strText.IsEmpty());
}

// The refusal: message nMessage, then the focus back on the edit nID.
void Refuse(CDialog* pDialog, UINT nMessage, int nID) {
  InformUser(nMessage);
  pDialog->GetDlgItem(nID)->SetFocus();
}

// Whether the name in the edit nID lost characters typed or pasted into it, or is one the system
// cannot make as typed in strFolder: then it is refused with the message every field that takes a
// name gives, and the focus goes back to it.
bool RefuseLostCharacters(CDialog* pDialog, brambolt::RefusedNameWatch& watch, int nID, const CString& strFolder) {
  CString strName;
  pDialog->GetDlgItemText(nID, strName);
  if (!watch.Refused(static_cast<LPCTSTR>(strFolder + strName))) return false;
  AfxMessageBox(brambolt::RefusedNameMessage(), MB_OK | MB_ICONEXCLAMATION);
  pDialog->GetDlgItem(nID)->SetFocus();
  return true;
}

}  // namespace

BEGIN_MESSAGE_MAP(CNewFolderDlg, CDialog)
  ON_EN_CHANGE(IDC_FOLDER_NAME, OnChangeName)
END_MESSAGE_MAP()

CNewFolderDlg::CNewFolderDlg(CWnd* pParent) : CDialog(IDD_NEW_FOLDER, pParent) {}

void CNewFolderDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_FOLDER_NAME, m_strFolderName);
}

BOOL CNewFolderDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetFixedFont(this, {IDC_FOLDER_NAME});
  m_nameRefusals.Watch(GetDlgItem(IDC_FOLDER_NAME)->GetSafeHwnd());
  return TRUE;
}

void CNewFolderDlg::OnChangeName() {
  m_nameRefusals.Changed();
  EnableOkWhenFilled(this, IDC_FOLDER_NAME);
}

void CNewFolderDlg::OnOK() {
  if (RefuseLostCharacters(this, m_nameRefusals, IDC_FOLDER_NAME, m_strParentFolder)) return;
  GetDlgItemText(IDC_FOLDER_NAME, m_strFolderName);
  if (!SECFileSystem::IsDirectory(m_strParentFolder)) SECFileSystem::MakePath(m_strParentFolder);
  const CString strFolder = m_strParentFolder + m_strFolderName;
  if (IsValidItemName(m_strFolderName) && SECFileSystem::IsDirectory(strFolder)) {
    Refuse(this, IDS_FOLDER_EXISTS, IDC_FOLDER_NAME);
    return;
  }
  if (!IsValidItemName(m_strFolderName) || !SECFileSystem::MakePath(strFolder)) {
    Refuse(this, IDS_BAD_FOLDER_NAME, IDC_FOLDER_NAME);
    return;
  }
  EndDialog(IDOK);
}

BEGIN_MESSAGE_MAP(CReNameFileDlg, CDialog)
  ON_EN_CHANGE(IDC_NEW_NAME, OnChangeName)
END_MESSAGE_MAP()

CReNameFileDlg::CReNameFileDlg(CWnd* pParent) : CDialog(IDD_RENAME, pParent) {}

void CReNameFileDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_CURRENT_NAME, m_strCurrentName);
  DDX_Text(pDX, IDC_NEW_NAME, m_strNewName);
}

BOOL CReNameFileDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_nameRefusals.Watch(GetDlgItem(IDC_NEW_NAME)->GetSafeHwnd());
  return TRUE;
}

void CReNameFileDlg::OnChangeName() {
  m_nameRefusals.Changed();
  EnableOkWhenFilled(this, IDC_NEW_NAME);
}

void CReNameFileDlg::OnOK() {
  if (RefuseLostCharacters(this, m_nameRefusals, IDC_NEW_NAME, m_strParentFolder)) return;
  CString strName;
  GetDlgItemText(IDC_NEW_NAME, strName);
  if (!IsValidItemName(strName)) {
    Refuse(this, IDS_BAD_FOLDER_NAME, IDC_NEW_NAME);
    return;
  }
  CDialog::OnOK();
}

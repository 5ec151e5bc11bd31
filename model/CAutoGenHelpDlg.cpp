// The dialog asking for the folder whose web files are copied into the project.
#include "model/CAutoGenHelpDlg.h"

#include "afx/CWinApp.h"
#include "model/ShellServices.h"
#include "resources/resource.h"

CAutoGenHelpDlg::CAutoGenHelpDlg(CWnd* pParentWnd) : CDialog(IDD_AUTO_GEN_HELP, pParentWnd) {}

BEGIN_MESSAGE_MAP(CAutoGenHelpDlg, CDialog)
  ON_BN_CLICKED(IDC_LOOK_IN_SUBFOLDERS, OnLookInSubfolders)
END_MESSAGE_MAP()

void CAutoGenHelpDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_CURRENT_LOCATION, m_strCurrentLocation);
  DDX_Text(pDX, IDC_SOURCE_FOLDER, m_strSourceFolder);
  DDX_Check(pDX, IDC_LOOK_IN_SUBFOLDERS, m_bLookInSubfolders);
}

BOOL CAutoGenHelpDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDialogFont(m_hWnd, {IDC_CURRENT_LOCATION, IDC_SOURCE_FOLDER});
  m_bLookInSubfoldersAtStart = m_bLookInSubfolders;
  m_editSourceFolder.Initialize(IDC_SOURCE_FOLDER, this);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SOURCE_FOLDER), m_bLookInSubfolders);
  return TRUE;
}

void CAutoGenHelpDlg::OnLookInSubfolders() {
  m_bLookInSubfolders = !m_bLookInSubfolders;
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SOURCE_FOLDER), m_bLookInSubfolders);
}

void CAutoGenHelpDlg::OnOK() {
  GetDlgItemText(IDC_CURRENT_LOCATION, m_strCurrentLocation);
  GetDlgItemText(IDC_SOURCE_FOLDER, m_strSourceFolder);
  if (m_strSourceFolder.IsEmpty()) {
    AfxMessageBox(IDS_SELECT_FILE_PATH, MB_ICONINFORMATION);
    return;
  }
  CDialog::OnOK();
}

void CAutoGenHelpDlg::OnCancel() {
  m_bLookInSubfolders = m_bLookInSubfoldersAtStart;
  CDialog::OnCancel();
}

// The live-folder dialog.
#include "model/CAddLiveFolderDlg.h"

#include "model/AddFolder.h"
#include "model/ShellServices.h"
#include "resources/resource.h"

CAddLiveFolderDlg::CAddLiveFolderDlg(CWnd* pParentWnd) : CDialog(IDD_ADD_LIVE_FOLDER, pParentWnd) {}

BEGIN_MESSAGE_MAP(CAddLiveFolderDlg, CDialog)
  ON_BN_CLICKED(IDC_LOOK_IN_SUBFOLDERS, OnLookInSubfolders)
  ON_EN_CHANGE(IDC_LOCATION, OnChangeLocation)
END_MESSAGE_MAP()

void CAddLiveFolderDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_LOCATION, m_strLocation);
}

BOOL CAddLiveFolderDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDialogFont(m_hWnd, {IDC_LOCATION, IDC_FILE_TYPES});
  m_bLookInSubfoldersAtStart = m_bLookInSubfolders;
  m_editLocation.Initialize(IDC_LOCATION, this);
  OnChangeLocation();
  int nCount = 0;
  const LiveFolderFileType* pTypes = GetLiveFolderFileTypes(nCount);
  for (int i = 0; i < nCount; ++i) {
    const LRESULT nIndex =
        SendDlgItemMessage(IDC_FILE_TYPES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pTypes[i].lpszText));
    SendDlgItemMessage(IDC_FILE_TYPES, CB_SETITEMDATA, static_cast<WPARAM>(nIndex), pTypes[i].dwItemData);
  }
  SendDlgItemMessage(IDC_FILE_TYPES, CB_SETCURSEL, 0, 0);
  return TRUE;
}

void CAddLiveFolderDlg::OnChangeLocation() {
  ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), ::GetWindowTextLength(::GetDlgItem(m_hWnd, IDC_LOCATION)) > 0);
}

void CAddLiveFolderDlg::OnLookInSubfolders() { m_bLookInSubfolders = !m_bLookInSubfolders; }

void CAddLiveFolderDlg::OnOK() {
  const LRESULT nIndex = SendDlgItemMessage(IDC_FILE_TYPES, CB_GETCURSEL, 0, 0);
  if (nIndex != CB_ERR)
    AppendLiveFolderFileTypeWords(
        static_cast<DWORD>(SendDlgItemMessage(IDC_FILE_TYPES, CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0)),
        m_fileTypes);
  CDialog::OnOK();
}

void CAddLiveFolderDlg::OnCancel() {
  m_bLookInSubfolders = m_bLookInSubfoldersAtStart;
  CDialog::OnCancel();
}

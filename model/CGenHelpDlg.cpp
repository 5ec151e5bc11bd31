// The HTML Help settings dialog.
#include "model/CGenHelpDlg.h"

#include "afx/CWinApp.h"
#include "model/ShellServices.h"
#include "resources/resource.h"

CGenHelpDlg::CGenHelpDlg(const CWorkSpaceObj& project, const CString& strProjectFolder, CWnd* pParentWnd)
    : CDialog(IDD_GENHELP, pParentWnd), m_project(project), m_strProjectFolder(strProjectFolder) {}

BEGIN_MESSAGE_MAP(CGenHelpDlg, CDialog)
  ON_CBN_SELCHANGE(IDC_DEFAULT_FILE, OnSelchangeDefaultFile)
END_MESSAGE_MAP()

void CGenHelpDlg::SetSettings(const HtmlHelpSettings& settings) {
  m_strContentsFile = settings.strContentsFile;
  m_strIndexFile = settings.strIndexFile;
  m_strProjectFile = settings.strProjectFile;
  m_strTitle = settings.strTitle;
  m_strCompiledFile = settings.strCompiledFile;
  m_strDefaultFile = settings.strDefaultTopic;
}

HtmlHelpSettings CGenHelpDlg::GetSettings() const {
  HtmlHelpSettings settings;
  settings.strContentsFile = m_strContentsFile;
  settings.strIndexFile = m_strIndexFile;
  settings.strProjectFile = m_strProjectFile;
  settings.strTitle = m_strTitle;
  settings.strCompiledFile = m_strCompiledFile;
  settings.strDefaultTopic = m_strDefaultFile;
  return settings;
}

void CGenHelpDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_CONTENTS_FILE, m_strContentsFile);
  DDX_Text(pDX, IDC_INDEX_FILE, m_strIndexFile);
  DDX_Text(pDX, IDC_PROJECT_FILE, m_strProjectFile);
  DDX_Text(pDX, IDC_HELP_TITLE, m_strTitle);
  DDX_Text(pDX, IDC_COMPILED_FILE, m_strCompiledFile);
}

BOOL CGenHelpDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDialogFont(m_hWnd, {IDC_CONTENTS_FILE, IDC_INDEX_FILE, IDC_PROJECT_FILE, IDC_HELP_TITLE, IDC_COMPILED_FILE,
                         IDC_DEFAULT_FILE});
  CStringList names;
  ListDefaultFileCandidates(m_project, m_strProjectFolder, names);
  for (POSITION pos = names.GetHeadPosition(); pos != nullptr;) {
    const CString& strName = names.GetNext(pos);
    SendDlgItemMessage(IDC_DEFAULT_FILE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LPCTSTR(strName)));
  }
  SendDlgItemMessage(IDC_DEFAULT_FILE, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(LPCTSTR(m_strDefaultFile)));
  return TRUE;
}

CString CGenHelpDlg::SelectedDefaultFile() const {
  const HWND hList = ::GetDlgItem(m_hWnd, IDC_DEFAULT_FILE);
  const LRESULT nIndex = ::SendMessage(hList, CB_GETCURSEL, 0, 0);
  CString strText;
  if (nIndex == CB_ERR) return strText;
  const LRESULT nLength = ::SendMessage(hList, CB_GETLBTEXTLEN, nIndex, 0);
  if (nLength > 0) {
    ::SendMessage(hList, CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(strText.GetBuffer(static_cast<int>(nLength))));
    strText.ReleaseBuffer(static_cast<int>(nLength));
  }
  return strText;
}

void CGenHelpDlg::OnSelchangeDefaultFile() {
  if (SendDlgItemMessage(IDC_DEFAULT_FILE, CB_GETCURSEL, 0, 0) != CB_ERR) m_strDefaultFile = SelectedDefaultFile();
}

void CGenHelpDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  const BOOL bSelected = SendDlgItemMessage(IDC_DEFAULT_FILE, CB_GETCURSEL, 0, 0) != CB_ERR;
  if (bSelected) m_strDefaultFile = SelectedDefaultFile();
  CString strMessage;
  UINT nControl = 0;
  if (CheckHtmlHelpSettings(GetSettings(), bSelected, strMessage, nControl) != 0) {
    AfxMessageBox(strMessage, MB_ICONINFORMATION);
    ::SetFocus(::GetDlgItem(m_hWnd, static_cast<int>(nControl)));
    return;
  }
  EndDialog(IDOK);
}

// The Write Documentation options dialog.
#include "model/GenHtmlDlg.h"

#include "model/CCopyFileProDlg.h"
#include "model/ModelIds.h"
#include "model/ShellServices.h"
#include "resources/resource.h"

GenHtmlDlg::GenHtmlDlg(CWnd* pParentWnd) : CDialog(IDD_GENHTML, pParentWnd) {}

BEGIN_MESSAGE_MAP(GenHtmlDlg, CDialog)
  ON_CBN_SELCHANGE(IDC_LANGUAGE, OnSelchangeLanguage)
END_MESSAGE_MAP()

void GenHtmlDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_FUNC_PROTECTED, m_options.bProtectedFunctions);
  DDX_Check(pDX, IDC_FUNC_PUBLIC, m_options.bPublicFunctions);
  DDX_Check(pDX, IDC_FUNC_PRIVATE, m_options.bPrivateFunctions);
  DDX_Check(pDX, IDC_VAR_PROTECTED, m_options.bProtectedVariables);
  DDX_Check(pDX, IDC_VAR_PUBLIC, m_options.bPublicVariables);
  DDX_Check(pDX, IDC_VAR_PRIVATE, m_options.bPrivateVariables);
  DDX_Text(pDX, IDC_PROJECT_TITLE, m_options.strTitle);
  DDX_Check(pDX, IDC_REWRITE_ALL, m_options.bRewrite);
}

BOOL GenHtmlDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDialogFont(m_hWnd, {IDC_PROJECT_TITLE, IDC_LANGUAGE});
  struct Item {
    UINT nText;
    int nLanguage;
  };
  for (const Item& item : {Item{IDS_LANGUAGE_CHS, LANGUAGE_CHS}, Item{IDS_LANGUAGE_CHT, LANGUAGE_CHT},
                           Item{IDS_LANGUAGE_ENG, LANGUAGE_ENG}}) {
    CString strText;
    strText.LoadString(item.nText);
    const LRESULT nIndex = SendDlgItemMessage(IDC_LANGUAGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LPCTSTR(strText)));
    SendDlgItemMessage(IDC_LANGUAGE, CB_SETITEMDATA, static_cast<WPARAM>(nIndex), item.nLanguage);
  }
  // A language the list does not hold (from an old project) shows no selection.
  const int nIndex = m_options.nLanguage - LANGUAGE_CHS;
  SendDlgItemMessage(IDC_LANGUAGE, CB_SETCURSEL, nIndex >= 0 && nIndex < 3 ? nIndex : -1, 0);
  return TRUE;
}

void GenHtmlDlg::OnSelchangeLanguage() {
  const LRESULT nIndex = SendDlgItemMessage(IDC_LANGUAGE, CB_GETCURSEL, 0, 0);
  if (nIndex != CB_ERR)
    m_options.nLanguage = static_cast<int>(SendDlgItemMessage(IDC_LANGUAGE, CB_GETITEMDATA, nIndex, 0));
}

BOOL WriteDocumentationWithDialogs(CWorkSpaceObj& project, const CString& strProjectFolder, CWnd* pParentWnd,
                                   const std::function<BOOL()>& beforeRun) {
  GenHtmlDlg options(pParentWnd);
  options.m_options = LoadDocumentationOptions(project);
  if (options.DoModal() != IDOK) return FALSE;
  StoreDocumentationOptions(project, options.m_options);
  if (beforeRun && !beforeRun()) return FALSE;
  CCopyFileProDlg progress(pParentWnd);
  progress.m_nLanguage = options.m_options.nLanguage;
  progress.m_strFolder = GetDocumentationFolder(strProjectFolder, progress.m_nLanguage);
  progress.m_bRewrite = options.m_options.bRewrite;
  progress.m_pProject = &project;
  progress.DoModal();
  if (const DocumentationProgress* pRun = progress.GetProgress()) ReportDocumentationFailures(*pRun);
  return TRUE;
}

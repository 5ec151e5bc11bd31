// Helpers of the project dialogs.
#include "app/ProjectDialogs.h"

#include <cstring>

#include "afx/CWinApp.h"
#include "app/CInkwrightApp.h"
#include "model/ModelIds.h"
#include "model/ShellServices.h"
#include "resources/AppResource.h"
#include "resources/resource.h"

void SetFixedFont(CWnd* pDialog, std::initializer_list<int> nIDs) {
  // The application's "Fixedsys" font once start-up has made it, the system's fixed font before.
  SetDialogFont(pDialog->GetSafeHwnd(), nIDs);
}

void FillLanguageBox(CComboBox& box) {
  const UINT nTexts[] = {IDS_LANGUAGE_CHS, IDS_LANGUAGE_CHT, IDS_LANGUAGE_ENG};
  for (int i = 0; i < 3; ++i) box.SetItemData(box.AddString(LoadAppString(nTexts[i])), LANGUAGE_CHS + i);
}

CString LoadAppString(UINT nID) {
  CString strText;
  strText.LoadString(nID);
  return strText;
}

void InformUser(UINT nID) { AfxMessageBox(nID, MB_ICONINFORMATION); }

BOOL IsValidItemName(const CString& strName) {
  if (strName.IsEmpty() || strName == "." || strName == "..") return FALSE;
  return std::strpbrk(strName, "\\/;*?\"<>|") == nullptr;
}

void CAuthorBlock::ExchangeAuthorBlock(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_AUTHOR, m_strAuthor);
  DDX_Text(pDX, IDC_DEPARTMENT, m_strDepartment);
  DDX_Text(pDX, IDC_EMAIL, m_strEmail);
  DDX_Text(pDX, IDC_URL, m_strURL);
  DDX_Text(pDX, IDC_COMPANY, m_strCompany);
  DDX_Text(pDX, IDC_COPYRIGHT, m_strCopyright);
}

void CAuthorBlock::SetAuthorBlockFont(CWnd* pDialog) {
  SetFixedFont(pDialog, {IDC_AUTHOR, IDC_DEPARTMENT, IDC_EMAIL, IDC_URL, IDC_COMPANY, IDC_COPYRIGHT});
}

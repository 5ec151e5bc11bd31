// The properties dialog of an output-tree item.
#include "app/CPropDlgMain.h"

#include <algorithm>

#include "core/CFile.h"
#include "resources/AppResource.h"

CPropDlgPage0::CPropDlgPage0() : CTabPage(IDD_PROPERTIES_PAGE) {}

CString CPropDlgPage0::ItemName(const CString& strPath) {
  const int nSeparator = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
  const CString strName = strPath.Mid(nSeparator + 1);
  return strName.IsEmpty() ? CString("Folder") : strName;
}

BOOL CPropDlgPage0::OnInitDialog() {
  CTabPage::OnInitDialog();
  const CString strName = ItemName(m_strPath);
  SetDlgItemText(IDC_ITEM_NAME, strName);
  SetDlgItemText(IDC_ITEM_SHORT_NAME, strName);
  const int nSeparator = std::max(m_strPath.ReverseFind('\\'), m_strPath.ReverseFind('/'));
  SetDlgItemText(IDC_ITEM_LOCATION, m_strPath.Left(nSeparator + 1));

  CFileStatus status;
  // A path ending in a separator names the folder itself.
  CString strStatusPath = m_strPath;
  while (strStatusPath.GetLength() > 1 && (strStatusPath.Right(1) == "\\" || strStatusPath.Right(1) == "/"))
    strStatusPath = strStatusPath.Left(strStatusPath.GetLength() - 1);
  const BOOL bStatus = CFile::GetStatus(strStatusPath, status);
  CString strSize;
  strSize.Format("%llu", bStatus ? static_cast<unsigned long long>(status.m_size) : 0ULL);
  SetDlgItemText(IDC_ITEM_SIZE, strSize);
  if (!bStatus) return TRUE;

  SetDlgItemText(IDC_ITEM_CREATED, status.m_ctime.Format("%A, %B %d, %Y"));
  SetDlgItemText(IDC_ITEM_MODIFIED, status.m_mtime.Format("%A, %B %d, %Y"));
  SetDlgItemText(IDC_ITEM_ACCESSED, status.m_atime.Format("%A, %B %d, %Y"));
  const struct {
    BYTE bit;
    int nID;
  } checks[] = {{0x01, IDC_READ_ONLY}, {0x02, IDC_HIDDEN}, {0x20, IDC_ARCHIVE}, {0x04, IDC_SYSTEM}};
  for (const auto& check : checks)
    CheckDlgButton(check.nID, (status.m_attribute & check.bit) != 0 ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

CPropDlgMain::CPropDlgMain(CWnd* pParent) : CTabbedPagesDlg(IDD_PROPERTIES, pParent) {
  AddPage(&m_Page, IDS_TAB_PROPERTIES);
}

BOOL CPropDlgMain::OnInitDialog() {
  CTabbedPagesDlg::OnInitDialog();
  m_strCaptionName += " Properties";
  SetWindowText(m_strCaptionName);
  return TRUE;
}

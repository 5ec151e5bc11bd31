// CPropDlgMain: the read-only properties of a file or folder of the output tree (name, folder,
// size, times and attributes) on one "General" tab; the caption reads "<name> Properties".
#pragma once

#include "app/CTabbedPagesDlg.h"

class CPropDlgPage0 : public CTabPage {
 public:
  CPropDlgPage0();

  // The part after the last "\" or "/", "Folder" when that is empty.
  static CString ItemName(const CString& strPath);

  CString m_strPath;  // set by the caller

 protected:
  BOOL OnInitDialog() override;
};

class CPropDlgMain : public CTabbedPagesDlg {
 public:
  explicit CPropDlgMain(CWnd* pParent = nullptr);

  CPropDlgPage0 m_Page;
  CString m_strCaptionName;  // set by the caller to the item's file name

 protected:
  BOOL OnInitDialog() override;
};

// CAutoGenHelpDlg: the folder of web files to copy into the chosen folder of the project.
#pragma once

#include "afx/CDialog.h"
#include "afx/DataExchange.h"
#include "foundation/SECBrowseEdit.h"

class CAutoGenHelpDlg : public CDialog {
 public:
  explicit CAutoGenHelpDlg(CWnd* pParentWnd = nullptr);

  BOOL OnInitDialog() override;

  CString m_strCurrentLocation;  // the project folder the files go into, shown read-only
  CString m_strSourceFolder;
  BOOL m_bLookInSubfolders = TRUE;
  SECBrowseDirEdit m_editSourceFolder;  // the source folder edit with its folder browse button

 private:
  BOOL m_bLookInSubfoldersAtStart = FALSE;  // given back on Cancel

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnLookInSubfolders();
  DECLARE_MESSAGE_MAP()
};

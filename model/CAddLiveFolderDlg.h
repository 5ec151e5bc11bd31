// CAddLiveFolderDlg: the folder, file types and subfolder choice of inserting a live folder.
#pragma once

#include "afx/CDialog.h"
#include "afx/DataExchange.h"
#include "core/Lists.h"
#include "foundation/SECBrowseEdit.h"

class CAddLiveFolderDlg : public CDialog {
 public:
  explicit CAddLiveFolderDlg(CWnd* pParentWnd = nullptr);

  BOOL OnInitDialog() override;

  CString m_strLocation;
  SECBrowseDirEdit m_editLocation;  // the location edit with its folder browse button
  BOOL m_bLookInSubfolders = FALSE;
  CStringList m_fileTypes{10};  // the extensions of the chosen type, filled on OK

 private:
  BOOL m_bLookInSubfoldersAtStart = FALSE;  // given back on Cancel

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnLookInSubfolders();
  afx_msg void OnChangeLocation();
  DECLARE_MESSAGE_MAP()
};

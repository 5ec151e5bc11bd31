// COrgSourceFileDlg: the "Organize files" dialog: the project's header or source files listed, and
// the chosen one removed from the disk after the user agrees.
#pragma once

#include "afx/AfxControls.h"
#include "afx/CDialog.h"

class COrgSourceFileDlg : public CDialog {
 public:
  // The kinds of file the dialog lists, with the sub-folder of the project that holds them.
  enum { HEADER_FILES = 1000, SOURCE_FILES = 2000 };
  static CString FolderOf(int nFileType);

  explicit COrgSourceFileDlg(CWnd* pParent = nullptr);

  int m_nFileType = HEADER_FILES;
  // TRUE once a file was deleted: the caller then analyses the project again.
  BOOL m_bChanged = FALSE;

 protected:
  BOOL OnInitDialog() override;
  // Lists the names of the files in the project's folder for the current file type.
  void FillFileList();

  afx_msg void OnSelChangeFileType();
  afx_msg void OnRemove();
  afx_msg void OnRename();
  DECLARE_MESSAGE_MAP()

  CComboBox m_wndFileType;
  CListBox m_wndFileList;
};

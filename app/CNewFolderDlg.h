// CNewFolderDlg makes a folder of the output tree; CReNameFileDlg asks for an item's new name.
// Both refuse names that would reach outside the folder or that the explorer cannot show.
#pragma once

#include "afx/CDialog.h"
#include "win/Input.h"

class CNewFolderDlg : public CDialog {
 public:
  explicit CNewFolderDlg(CWnd* pParent = nullptr);

  CString m_strFolderName = "New Folder";
  CString m_strParentFolder;  // set by the caller, ending in a separator

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Makes the folder; refuses an existing one, a name that is not one plain item and one whose
  // typed characters were left out or that the system cannot make as typed.
  void OnOK() override;
  afx_msg void OnChangeName();
  DECLARE_MESSAGE_MAP()

 private:
  brambolt::RefusedNameWatch m_nameRefusals;
};

class CReNameFileDlg : public CDialog {
 public:
  explicit CReNameFileDlg(CWnd* pParent = nullptr);

  CString m_strCurrentName;  // both set by the caller
  CString m_strNewName;
  CString m_strParentFolder;  // the folder the item is in, ending in a separator

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Refuses a new name that is not one plain item, with the folder name message, and one whose
  // typed characters were left out or that the system cannot make as typed.
  void OnOK() override;
  afx_msg void OnChangeName();
  DECLARE_MESSAGE_MAP()

 private:
  brambolt::RefusedNameWatch m_nameRefusals;
};

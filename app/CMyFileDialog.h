// CMyFileDialog: the file dialog made 120 pixels taller, the room going to the file list.
#pragma once

#include "afx/CFileDialog.h"

class CMyFileDialog : public CFileDialog {
 public:
  static constexpr int kExtraHeight = 120;

  explicit CMyFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

  // F1 in the dialog gives the help of this command (the one that opened it), not that of every
  // file dialog.
  void SetHelpCommand(UINT nID) { m_nIDHelpCommand = nID; }

 protected:
  BOOL OnInitDialog() override;
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  UINT m_nIDHelpCommand = 0;
};

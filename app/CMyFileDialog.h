// CMyFileDialog: the file dialog made 120 pixels taller, the room going to the file list.
#pragma once

#include "afx/CFileDialog.h"

class CMyFileDialog : public CFileDialog {
 public:
  static constexpr int kExtraHeight = 120;

  explicit CMyFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

 protected:
  BOOL OnInitDialog() override;
};

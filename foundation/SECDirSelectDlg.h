// SECDirSelectDlg: the folder picker, either the old-style file dialog on template 2000 showing
// only its folder list and drives, or the shell's folder browser.
#pragma once

#include "afx/CFileDialog.h"

class SECDirSelectDlg : public CFileDialog {
 public:
  // Overwrite prompt, read-only box hidden, Help shown, template 2000; never Explorer style.
  static constexpr DWORD kDefaultFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE;
  // Bit 0 of the mode: the old-style dialog.
  static constexpr WORD kOldStyle = 0x0001;
  static constexpr UINT kTemplate = 2000;
  // The file name the old-style dialog holds, so that OK returns a name inside the folder shown.
  static constexpr UINT kNoCloseString = 20624;
  // The file-name offset that marks a folder from the shell's browser (the buffer is all folder).
  static constexpr WORD kShellFolderOffset = 0xFFFF;

  SECDirSelectDlg(WORD wMode, LPCTSTR lpszTitle, LPCTSTR lpszInitialDir, CWnd* pParent = nullptr,
                  DWORD dwFlags = kDefaultFlags);

  // IDOK with a folder, IDCANCEL otherwise.
  INT_PTR DoModal() override;
  // The shell's browser, owned by the parent and starting at the initial folder (the current
  // one when none was given); TRUE with the chosen folder, ending in a separator.
  virtual BOOL BrowseForFolder(CString& csFolder);
  // The folder chosen.
  void GetPathName(CString& csPath) const;

 protected:
  // Hides the file name, the file list and the types, so only folders and drives remain.
  BOOL OnInitDialog() override;

  TCHAR m_szFolder[MAX_PATH];
  WORD m_wMode;
  CWnd* m_pParent;

 private:
  CString m_csTitle;
  CString m_csInitialDir;
};

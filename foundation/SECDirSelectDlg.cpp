// The folder picker: the old-style save dialog reduced to its folder list, or the shell's browser.
#include "SECDirSelectDlg.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "afx/AfxResources.h"
#include "controls/FolderPicker.h"
#include "os/FileApi.h"

SECDirSelectDlg::SECDirSelectDlg(WORD wMode, LPCTSTR lpszTitle, LPCTSTR lpszInitialDir, CWnd* pParent,
                                 DWORD dwFlags)
    : CFileDialog(FALSE, nullptr, nullptr, dwFlags, "(nofiles)|NOFILES.$$$||", pParent),
      m_wMode(wMode),
      m_pParent(pParent),
      m_csTitle(lpszTitle),
      m_csInitialDir(lpszInitialDir) {
  m_szFolder[0] = '\0';
  m_ofn.lpstrFile = m_szFolder;
  m_ofn.nMaxFile = MAX_PATH;
  m_ofn.lpstrTitle = m_csTitle;
  m_ofn.lpstrInitialDir = m_csInitialDir;
  m_ofn.hInstance = AfxGetResourceHandle();
  m_ofn.lpTemplateName = MAKEINTRESOURCE(kTemplate);
  m_ofn.lpstrDefExt = nullptr;
  // The folder list and the "noclose" name need the old-style dialog.
  m_ofn.Flags &= ~static_cast<DWORD>(OFN_EXPLORER);
}

INT_PTR SECDirSelectDlg::DoModal() {
  if (m_wMode & kOldStyle) return CFileDialog::DoModal();
  CString csFolder;
  if (!BrowseForFolder(csFolder)) return IDCANCEL;
  const std::size_t nLength = std::min<std::size_t>(static_cast<std::size_t>(csFolder.GetLength()), MAX_PATH - 1);
  std::memcpy(m_szFolder, LPCTSTR(csFolder), nLength);
  m_szFolder[nLength] = '\0';
  m_ofn.nFileOffset = kShellFolderOffset;
  return IDOK;
}

BOOL SECDirSelectDlg::BrowseForFolder(CString& csFolder) {
  csFolder = m_csInitialDir;
  if (csFolder.IsEmpty()) {
    char szCurrent[MAX_PATH] = {};
    if (::GetCurrentDirectory(MAX_PATH, szCurrent) > 0) csFolder = szCurrent;
  }
  std::string chosen;
  HWND hOwner = m_pParent != nullptr ? m_pParent->m_hWnd : nullptr;
  if (!brambolt::BrowseForFolder(hOwner, m_csTitle, LPCTSTR(csFolder), &chosen)) return FALSE;
  csFolder = chosen.c_str();
  return TRUE;
}

void SECDirSelectDlg::GetPathName(CString& csPath) const {
  if (m_ofn.nFileOffset == kShellFolderOffset) {
    csPath = m_szFolder;
    return;
  }
  const int nLength = static_cast<int>(strnlen(m_szFolder, MAX_PATH));
  csPath = CString(m_szFolder, std::min<int>(m_ofn.nFileOffset, nLength));
}

BOOL SECDirSelectDlg::OnInitDialog() {
  CFileDialog::OnInitDialog();
  for (int nID : {stc3, edt1, lst1, stc2, cmb1}) ::ShowWindow(::GetDlgItem(m_hWnd, nID), SW_HIDE);
  CString csNoClose;
  csNoClose.LoadString(kNoCloseString);
  ::SetDlgItemText(m_hWnd, edt1, csNoClose);
  ::SetFocus(::GetDlgItem(m_hWnd, lst2));
  return FALSE;  // the focus is set
}

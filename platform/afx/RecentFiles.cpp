// The recent-file list and the framework's command line.
#include "afx/RecentFiles.h"

#include <cstdio>

#include "afx/CMenu.h"
#include "afx/CWinApp.h"
#include "os/FileApi.h"
#include "os/Paths.h"

namespace {

// Whether a listed path and a path name one file.
bool IsListedFile(const CString& strListed, const CString& strPath) {
  return strListed.CompareNoCase(strPath) == 0 ||
         brambolt::IsSameFile(static_cast<LPCTSTR>(strListed), static_cast<LPCTSTR>(strPath));
}

}  // namespace

POSITION FindSameFile(const CList<CString, const CString&>& list, LPCTSTR lpszPath) {
  const CString strPath(lpszPath);
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    const POSITION at = pos;
    if (IsListedFile(list.GetNext(pos), strPath)) return at;
  }
  return nullptr;
}

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nStart(nStart),
      m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat),
      m_nMaxDisplayLength(nMaxDispLen),
      m_nSize(nSize) {}

void CRecentFileList::Add(LPCTSTR lpszPathName) {
  if (lpszPathName == nullptr || *lpszPathName == '\0') return;
  // Copied first: the name may be an entry of the list itself (a recent file opened again).
  const CString strName(lpszPathName);
  // An entry is the same file when its full path names it, however either is spelled: one opened
  // with '\\' separators matches the one read back from the profile with '/'.
  for (size_t i = 0; i < m_arrNames.size(); ++i) {
    if (IsListedFile(m_arrNames[i], strName)) {
      m_arrNames.erase(m_arrNames.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  m_arrNames.insert(m_arrNames.begin(), strName);
  if (static_cast<int>(m_arrNames.size()) > m_nSize) m_arrNames.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int nIndex) {
  if (nIndex >= 0 && nIndex < GetSize()) m_arrNames.erase(m_arrNames.begin() + nIndex);
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCTSTR, int, BOOL bAtLeastName) const {
  if (nIndex < 0 || nIndex >= GetSize()) return FALSE;
  strName = m_arrNames[static_cast<size_t>(nIndex)];
  if (strName.GetLength() > m_nMaxDisplayLength && bAtLeastName) {
    int slash = std::max(strName.ReverseFind('\\'), strName.ReverseFind('/'));
    strName = strName.Mid(slash + 1);
  }
  return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
  CMenu* menu = pCmdUI->m_pMenu;
  if (m_strOriginal.IsEmpty() && menu != nullptr) menu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
  if (GetSize() == 0) {
    // Nothing to list: the placeholder stays, disabled.
    if (!m_strOriginal.IsEmpty()) pCmdUI->SetText(m_strOriginal);
    pCmdUI->Enable(FALSE);
    return;
  }
  if (menu == nullptr) return;
  for (int i = 0; i < m_nSize; ++i) menu->DeleteMenu(pCmdUI->m_nID + static_cast<UINT>(i), MF_BYCOMMAND);
  for (int i = 0; i < GetSize(); ++i) {
    CString name;
    GetDisplayName(name, i, nullptr, 0);
    // A '&' in a file name is not a mnemonic.
    name.Replace("&", "&&");
    char text[16];
    std::snprintf(text, sizeof(text), "&%d ", (i + 1) % 10);
    menu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID++, CString(text) + name);
  }
  // The items added are updated already: the caller goes on after them.
  pCmdUI->m_nIndex--;
  pCmdUI->m_nIndexMax = menu->GetMenuItemCount();
  pCmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList() {
  CWinApp* app = AfxGetApp();
  m_arrNames.clear();
  for (int i = 0; i < m_nSize; ++i) {
    char entry[64];
    std::snprintf(entry, sizeof(entry), m_strEntryFormat, i + 1);
    CString name = app->GetProfileString(m_strSectionName, entry);
    if (!name.IsEmpty()) m_arrNames.push_back(brambolt::PathOfStored(static_cast<LPCTSTR>(name)).c_str());
  }
}

void CRecentFileList::WriteList() {
  CWinApp* app = AfxGetApp();
  // The section is written afresh, so entries removed from the list go from the profile too.
  app->WriteProfileString(m_strSectionName, nullptr, nullptr);
  for (int i = 0; i < GetSize(); ++i) {
    char entry[64];
    std::snprintf(entry, sizeof(entry), m_strEntryFormat, i + 1);
    app->WriteProfileString(m_strSectionName, entry,
                            brambolt::StoredPathOf(static_cast<LPCTSTR>(m_arrNames[static_cast<size_t>(i)])).c_str());
  }
}

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL) {
  if (bFlag) {
    CString flag(pszParam);
    if (flag.CompareNoCase("p") == 0) {
      m_nShellCommand = FilePrint;
    } else if (flag.CompareNoCase("pt") == 0) {
      m_nShellCommand = FilePrintTo;
    } else if (flag.CompareNoCase("dde") == 0) {
      m_nShellCommand = FileDDE;
    } else if (flag.CompareNoCase("Embedding") == 0) {
      m_bRunEmbedded = TRUE;
      m_bShowSplash = FALSE;
    } else if (flag.CompareNoCase("Automation") == 0) {
      m_bRunAutomated = TRUE;
      m_bShowSplash = FALSE;
    } else if (flag.CompareNoCase("Register") == 0 || flag.CompareNoCase("Regserver") == 0) {
      m_nShellCommand = AppRegister;
    } else if (flag.CompareNoCase("Unregister") == 0 || flag.CompareNoCase("Unregserver") == 0) {
      m_nShellCommand = AppUnregister;
    }
    return;
  }
  // The first plain argument is the file; after /pt come printer, driver and port.
  if (m_strFileName.IsEmpty()) {
    m_strFileName = pszParam;
    if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
  } else if (m_nShellCommand == FilePrintTo) {
    if (m_strPrinterName.IsEmpty())
      m_strPrinterName = pszParam;
    else if (m_strDriverName.IsEmpty())
      m_strDriverName = pszParam;
    else if (m_strPortName.IsEmpty())
      m_strPortName = pszParam;
  }
}

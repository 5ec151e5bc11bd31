// The recent-file list of the File menu, kept in the profile; and the command line the
// framework understands.
#pragma once

#include <vector>

#include "afx/CCmdTarget.h"
#include "core/Lists.h"

// The entry of a list of paths kept across sessions (recent projects, recent workspaces) that names
// the file `lpszPath` names, however either is spelled: separators, letter case, the code page's
// or the system's spelling of a name, or a value an earlier release stored (brambolt::IsSameFile);
// nullptr when none does.
POSITION FindSameFile(const CList<CString, const CString&>& list, LPCTSTR lpszPath);

class CRecentFileList {
 public:
  // Commands nStart, nStart + 1 ... stand for the entries; the profile keeps them in section
  // lpszSection as lpszEntryFormat with the 1-based index ("File%d").
  CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize, int nMaxDispLen = 30);
  virtual ~CRecentFileList() = default;

  int GetSize() const { return static_cast<int>(m_arrNames.size()); }
  CString& operator[](int nIndex) { return m_arrNames[static_cast<size_t>(nIndex)]; }
  // Puts the file first (once: a name already listed, in any case, moves up).
  virtual void Add(LPCTSTR lpszPathName);
  virtual void Remove(int nIndex);
  // The name the menu shows: the path, or only the file name when the path is too long.
  virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                              BOOL bAtLeastName = TRUE) const;
  // Replaces the items from pCmdUI's position with one item per entry ("&1 name" ...).
  virtual void UpdateMenu(CCmdUI* pCmdUI);
  virtual void ReadList();
  virtual void WriteList();

  UINT m_nStart;
  CString m_strSectionName;
  CString m_strEntryFormat;
  int m_nMaxDisplayLength;
  CString m_strOriginal;  // the text of the placeholder item

 protected:
  std::vector<CString> m_arrNames;
  int m_nSize;
};

class CCommandLineInfo : public CObject {
 public:
  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 } m_nShellCommand =
      FileNew;
  BOOL m_bShowSplash = TRUE;
  BOOL m_bRunEmbedded = FALSE;
  BOOL m_bRunAutomated = FALSE;
  CString m_strFileName;
  CString m_strPrinterName;
  CString m_strDriverName;
  CString m_strPortName;

  // One argument: pszParam without its '/' or '-' when bFlag; bLast for the last one.
  virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);
};

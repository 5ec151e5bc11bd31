// CFileFind: the framework's folder search over FindFirstFile/FindNextFile. FindNextFile steps
// to the next entry and answers FALSE when that entry is the last one, whose data stays valid.
#pragma once

#include "core/CFile.h"
#include "os/os.h"

class CFileFind : public CObject {
  DECLARE_DYNAMIC(CFileFind)

 public:
  CFileFind();
  ~CFileFind() override;

  ULONGLONG GetLength() const;
  virtual CString GetFileName() const;
  // The folder searched (a full native path) joined with the entry's name.
  virtual CString GetFilePath() const;
  // The name without its extension.
  virtual CString GetFileTitle() const;
  virtual CString GetFileURL() const;
  virtual CString GetRoot() const;

  virtual BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
  virtual BOOL GetLastAccessTime(FILETIME* pTimeStamp) const;
  virtual BOOL GetCreationTime(FILETIME* pTimeStamp) const;
  virtual BOOL GetLastWriteTime(CTime& refTime) const;
  virtual BOOL GetLastAccessTime(CTime& refTime) const;
  virtual BOOL GetCreationTime(CTime& refTime) const;

  virtual BOOL MatchesMask(DWORD dwMask) const;
  virtual BOOL IsDots() const;

  BOOL IsReadOnly() const;
  BOOL IsDirectory() const;
  BOOL IsCompressed() const;
  BOOL IsSystem() const;
  BOOL IsHidden() const;
  BOOL IsTemporary() const;
  BOOL IsNormal() const;
  BOOL IsArchived() const;

  void Close();
  // The pattern follows FindFirstFile's rules; NULL searches "*.*" in the current folder.
  virtual BOOL FindFile(LPCTSTR pstrName = nullptr, DWORD dwUnused = 0);
  virtual BOOL FindNextFile();

 protected:
  // The entry the getters describe (valid once FindNextFile has been called) and the one after.
  WIN32_FIND_DATA m_foundInfo;
  WIN32_FIND_DATA m_nextInfo;
  BOOL m_bHaveFound;
  HANDLE m_hContext;
  BOOL m_bGotLast;
  CString m_strRoot;
  TCHAR m_chDirSeparator;
};

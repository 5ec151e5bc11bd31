// CFileFind: one search handle, the entry handed out and the entry read ahead.
#include "core/CFileFind.h"

#include <cstring>
#include <string>

#include "os/Paths.h"

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind()
    : m_foundInfo{}, m_nextInfo{}, m_bHaveFound(FALSE), m_hContext(nullptr), m_bGotLast(FALSE), m_chDirSeparator('/') {}

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close() {
  if (m_hContext != nullptr && m_hContext != INVALID_HANDLE_VALUE) ::FindClose(m_hContext);
  m_hContext = nullptr;
  m_bHaveFound = FALSE;
  m_bGotLast = FALSE;
  m_strRoot.Empty();
}

BOOL CFileFind::FindFile(LPCTSTR pstrName, DWORD /*dwUnused*/) {
  Close();
  if (pstrName == nullptr) pstrName = "*.*";
  m_hContext = ::FindFirstFile(pstrName, &m_nextInfo);
  if (m_hContext == INVALID_HANDLE_VALUE) {
    DWORD dwError = GetLastError();
    m_hContext = nullptr;
    SetLastError(dwError);
    return FALSE;
  }
  // The root is the folder part of the pattern's full path.
  CString full = CFile::FullPath(pstrName);
  std::string_view path(static_cast<LPCTSTR>(full));
  std::size_t sep = brambolt::FindLastPathSeparator(path);
  if (sep != std::string_view::npos) path = path.substr(0, sep == 0 ? 1 : sep);
  m_strRoot = CString(path.data(), static_cast<int>(path.size()));
  return TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (m_hContext == nullptr) return FALSE;
  if (m_bGotLast) {
    // The last entry was handed out already; the search has nothing more.
    m_bHaveFound = FALSE;
    return FALSE;
  }
  m_foundInfo = m_nextInfo;
  m_bHaveFound = TRUE;
  if (!::FindNextFile(m_hContext, &m_nextInfo)) {
    m_bGotLast = TRUE;
    return FALSE;
  }
  return TRUE;
}

ULONGLONG CFileFind::GetLength() const {
  if (!m_bHaveFound) return 0;
  return (static_cast<ULONGLONG>(m_foundInfo.nFileSizeHigh) << 32) | m_foundInfo.nFileSizeLow;
}

CString CFileFind::GetFileName() const { return m_bHaveFound ? CString(m_foundInfo.cFileName) : CString(); }

CString CFileFind::GetFilePath() const {
  if (!m_bHaveFound) return CString();
  CString path = m_strRoot;
  int n = path.GetLength();
  if (n == 0 || !brambolt::IsPathSeparatorAt(static_cast<LPCTSTR>(path), static_cast<std::size_t>(n - 1)))
    path += m_chDirSeparator;
  path += m_foundInfo.cFileName;
  return path;
}

CString CFileFind::GetFileTitle() const {
  if (!m_bHaveFound) return CString();
  std::string_view name(m_foundInfo.cFileName);
  std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot != 0) name = name.substr(0, dot);
  return CString(name.data(), static_cast<int>(name.size()));
}

CString CFileFind::GetFileURL() const { return m_bHaveFound ? CString("file://") + GetFilePath() : CString(); }

CString CFileFind::GetRoot() const { return m_strRoot; }

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const {
  if (!m_bHaveFound || pTimeStamp == nullptr) return FALSE;
  *pTimeStamp = m_foundInfo.ftLastWriteTime;
  return TRUE;
}

BOOL CFileFind::GetLastAccessTime(FILETIME* pTimeStamp) const {
  if (!m_bHaveFound || pTimeStamp == nullptr) return FALSE;
  *pTimeStamp = m_foundInfo.ftLastAccessTime;
  return TRUE;
}

BOOL CFileFind::GetCreationTime(FILETIME* pTimeStamp) const {
  if (!m_bHaveFound || pTimeStamp == nullptr) return FALSE;
  *pTimeStamp = m_foundInfo.ftCreationTime;
  return TRUE;
}

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const {
  if (!m_bHaveFound) return FALSE;
  refTime = CTime(m_foundInfo.ftLastWriteTime);
  return TRUE;
}

BOOL CFileFind::GetLastAccessTime(CTime& refTime) const {
  if (!m_bHaveFound) return FALSE;
  refTime = CTime(m_foundInfo.ftLastAccessTime);
  return TRUE;
}

BOOL CFileFind::GetCreationTime(CTime& refTime) const {
  if (!m_bHaveFound) return FALSE;
  refTime = CTime(m_foundInfo.ftCreationTime);
  return TRUE;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const {
  return m_bHaveFound && (m_foundInfo.dwFileAttributes & dwMask) != 0;
}

BOOL CFileFind::IsDots() const {
  if (!IsDirectory()) return FALSE;
  return std::strcmp(m_foundInfo.cFileName, ".") == 0 || std::strcmp(m_foundInfo.cFileName, "..") == 0;
}

BOOL CFileFind::IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
BOOL CFileFind::IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
BOOL CFileFind::IsCompressed() const { return MatchesMask(FILE_ATTRIBUTE_COMPRESSED); }
BOOL CFileFind::IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
BOOL CFileFind::IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
BOOL CFileFind::IsTemporary() const { return MatchesMask(FILE_ATTRIBUTE_TEMPORARY); }
BOOL CFileFind::IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }
BOOL CFileFind::IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }

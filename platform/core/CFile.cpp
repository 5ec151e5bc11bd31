// CFile over the os module's Win32 file handles: the open flags become CreateFile's access,
// share and creation arguments, failures become CFileExceptions carrying the Win32 error.
#include "core/CFile.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "core/CException.h"
#include "core/SaveInPlace.h"
#include "os/FileApi.h"
#include "os/Paths.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

// The part of a path after its last separator.
std::string_view NamePart(std::string_view path) {
  std::size_t sep = brambolt::FindLastPathSeparator(path);
  return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

}  // namespace

CString CFile::FullPath(LPCTSTR lpszFileName) {
  DWORD needed = GetFullPathName(lpszFileName, 0, nullptr, nullptr);
  if (needed == 0) return CString(lpszFileName);
  std::string full(needed, '\0');
  DWORD written = GetFullPathName(lpszFileName, needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return CString(lpszFileName);
  return CString(full.data(), static_cast<int>(written));
}

void CFile::MapOpenFlags(UINT nOpenFlags, DWORD& dwAccess, DWORD& dwShareMode, DWORD& dwCreateFlag) {
  switch (nOpenFlags & 3) {
    case modeRead: dwAccess = GENERIC_READ; break;
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    default: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
  }
  // The compatibility mode is exclusive, as it is for the framework on Win32.
  switch (nOpenFlags & 0x70) {
    case shareDenyWrite: dwShareMode = FILE_SHARE_READ; break;
    case shareDenyRead: dwShareMode = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShareMode = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: dwShareMode = 0; break;
  }
  if (nOpenFlags & modeCreate) {
    dwCreateFlag = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  } else {
    dwCreateFlag = OPEN_EXISTING;
  }
}

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : CFile() {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_hFile != hFileNull) Abort();
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  auto fail = [&](LONG lOsError) {
    if (pError != nullptr) {
      pError->m_lOsError = lOsError;
      pError->m_cause = CFileException::OsErrorToException(lOsError);
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  };
  if (lpszFileName == nullptr || *lpszFileName == '\0') return fail(ERROR_PATH_NOT_FOUND);
  if ((nOpenFlags & 3) == 3) return fail(ERROR_INVALID_PARAMETER);

  DWORD dwAccess = 0;
  DWORD dwShareMode = 0;
  DWORD dwCreateFlag = 0;
  MapOpenFlags(nOpenFlags, dwAccess, dwShareMode, dwCreateFlag);
  // A save of the file killed while it wrote the file in place is completed before the file is
  // read or written again. While another instance writes the file in place (a save, or the
  // completion of one), what it holds is half written: it is not opened, and the user is told.
  if (!brambolt::mirror::CompleteInterruptedSave(lpszFileName)) {
    CString strText;
    strText.Format("%s is being written by another instance of the program, which is saving it or completing a "
                   "save of it that was interrupted. Open it again once that is done.",
                   static_cast<LPCTSTR>(FullPath(lpszFileName)));
    AfxReportErrorText(strText, 0x30);  // MB_ICONEXCLAMATION | MB_OK
    return fail(ERROR_SHARING_VIOLATION);
  }
  HANDLE hFile = CreateFile(lpszFileName, dwAccess, dwShareMode, nullptr, dwCreateFlag, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return fail(static_cast<LONG>(GetLastError()));
  m_hFile = hFile;
  m_bCloseOnDelete = TRUE;
  m_strFileName = FullPath(lpszFileName);
  return TRUE;
}

void CFile::ThrowLastError() const {
  CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

void CFile::CheckOpen() const {
  if (m_hFile == hFileNull) CFileException::ThrowOsError(ERROR_INVALID_HANDLE, m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  CheckOpen();
  if (nCount == 0) return 0;
  DWORD dwRead = 0;
  if (!ReadFile(m_hFile, lpBuf, nCount, &dwRead, nullptr)) ThrowLastError();
  return dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  CheckOpen();
  if (nCount == 0) return;
  DWORD nWritten = 0;
  if (!WriteFile(m_hFile, lpBuf, nCount, &nWritten, nullptr)) ThrowLastError();
  // A short write means the disk is full.
  if (nWritten != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  CheckOpen();
  DWORD method = nFrom == current ? FILE_CURRENT : nFrom == end ? FILE_END : FILE_BEGIN;
  if (nFrom > end) CFileException::ThrowOsError(ERROR_INVALID_PARAMETER, m_strFileName);
  LARGE_INTEGER distance;
  distance.QuadPart = lOff;
  LARGE_INTEGER newPos;
  newPos.QuadPart = 0;
  if (!SetFilePointerEx(m_hFile, distance, &newPos, method)) ThrowLastError();
  return static_cast<ULONGLONG>(newPos.QuadPart);
}

void CFile::SeekToBegin() { Seek(0, begin); }

ULONGLONG CFile::SeekToEnd() { return Seek(0, end); }

ULONGLONG CFile::GetPosition() const {
  CheckOpen();
  LARGE_INTEGER zero;
  zero.QuadPart = 0;
  LARGE_INTEGER pos;
  pos.QuadPart = 0;
  if (!SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT)) ThrowLastError();
  return static_cast<ULONGLONG>(pos.QuadPart);
}

ULONGLONG CFile::GetLength() const {
  CheckOpen();
  LARGE_INTEGER size;
  size.QuadPart = 0;
  if (!GetFileSizeEx(m_hFile, &size)) ThrowLastError();
  return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  Seek(static_cast<LONGLONG>(dwNewLen), begin);
  if (!SetEndOfFile(m_hFile)) ThrowLastError();
}

void CFile::Flush() {
  if (m_hFile == hFileNull) return;
  if (!FlushFileBuffers(m_hFile)) ThrowLastError();
}

void CFile::Close() {
  BOOL bError = FALSE;
  DWORD dwError = 0;
  if (m_hFile != hFileNull) {
    bError = !CloseHandle(m_hFile);
    if (bError) dwError = GetLastError();
  }
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  CString name = m_strFileName;
  m_strFileName.Empty();
  if (bError) CFileException::ThrowOsError(static_cast<LONG>(dwError), name);
}

void CFile::Abort() {
  if (m_hFile != hFileNull) CloseHandle(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

void CFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
  CheckOpen();
  if (!LockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32), static_cast<DWORD>(dwCount),
                static_cast<DWORD>(dwCount >> 32)))
    ThrowLastError();
}

void CFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) {
  CheckOpen();
  if (!UnlockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32), static_cast<DWORD>(dwCount),
                  static_cast<DWORD>(dwCount >> 32)))
    ThrowLastError();
}

CFile* CFile::Duplicate() const { AfxThrowNotSupportedException(); }

UINT CFile::GetBufferPtr(UINT, UINT, void**, void**) { return 0; }

CString CFile::GetFileName() const { return CString(std::string(NamePart(static_cast<LPCTSTR>(m_strFileName))).c_str()); }

CString CFile::GetFileTitle() const {
  std::string_view name = NamePart(static_cast<LPCTSTR>(m_strFileName));
  std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot != 0) name = name.substr(0, dot);
  return CString(name.data(), static_cast<int>(name.size()));
}

CString CFile::GetFilePath() const { return m_strFileName; }

void CFile::SetFilePath(LPCTSTR lpszNewName) { m_strFileName = lpszNewName; }

namespace {

void FillStatus(CFileStatus& rStatus, const WIN32_FILE_ATTRIBUTE_DATA& data) {
  rStatus.m_ctime = CTime(data.ftCreationTime);
  rStatus.m_atime = CTime(data.ftLastAccessTime);
  rStatus.m_mtime = CTime(data.ftLastWriteTime);
  // The framework has no "normal" bit: it is 0 there.
  rStatus.m_attribute = static_cast<BYTE>(data.dwFileAttributes & ~FILE_ATTRIBUTE_NORMAL);
  rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void CopyFullName(CFileStatus& rStatus, const CString& name) {
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(name.GetLength()), BRAMBOLT_MAX_FULLNAME - 1);
  std::memcpy(rStatus.m_szFullName, static_cast<LPCTSTR>(name), n);
  rStatus.m_szFullName[n] = '\0';
}

}  // namespace

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
  rStatus = CFileStatus{};
  CopyFullName(rStatus, m_strFileName);
  if (m_hFile == hFileNull) return FALSE;
  FILETIME created{}, accessed{}, written{};
  LARGE_INTEGER size;
  size.QuadPart = 0;
  if (!GetFileTime(m_hFile, &created, &accessed, &written) || !GetFileSizeEx(m_hFile, &size)) return FALSE;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  data.ftCreationTime = created;
  data.ftLastAccessTime = accessed;
  data.ftLastWriteTime = written;
  data.nFileSizeHigh = static_cast<DWORD>(static_cast<ULONGLONG>(size.QuadPart) >> 32);
  data.nFileSizeLow = static_cast<DWORD>(size.QuadPart);
  DWORD attributes = m_strFileName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributes(m_strFileName);
  data.dwFileAttributes = attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;
  FillStatus(rStatus, data);
  return TRUE;
}

BOOL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus) {
  rStatus = CFileStatus{};
  if (lpszFileName == nullptr || *lpszFileName == '\0') return FALSE;
  std::string_view name(lpszFileName);
  // "folder\" is refused as the framework's search-based status refuses it on Windows; callers
  // that mean the folder strip the separator.
  if (brambolt::IsPathSeparatorAt(name, name.size() - 1)) return FALSE;
  if (name.find_first_of("*?") != std::string_view::npos) return FALSE;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesEx(lpszFileName, GetFileExInfoStandard, &data)) return FALSE;
  CopyFullName(rStatus, FullPath(lpszFileName));
  FillStatus(rStatus, data);
  return TRUE;
}

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName) {
  if (!MoveFile(lpszOldName, lpszNewName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszOldName);
}

void CFile::Remove(LPCTSTR lpszFileName) {
  // DeleteFile never removes a folder (ERROR_ACCESS_DENIED), unlike the C library's remove.
  if (!DeleteFile(lpszFileName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
}

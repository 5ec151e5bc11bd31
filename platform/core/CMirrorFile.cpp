// CMirrorFile: the temporary file is created beside the target (same file system, so the final
// rename is atomic) with no more permission than the target's and then its bits, and is fsync'ed
// before the rename; core/SaveInPlace.h tells the way when the folder takes no new file.
#include "core/CMirrorFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "core/CException.h"
#include "core/SaveInPlace.h"
#include "os/FileApi.h"
#include "os/FileSupport.h"
#include "os/OwnedNames.h"
#include "os/Paths.h"

IMPLEMENT_DYNAMIC(CMirrorFile, CFile)

namespace {

// The tag of a save's temporary file: ".name.~<process>.<random>" beside its target.
constexpr const char* kMirrorTag = "~";

std::string FolderOf(const std::string& nativePath) {
  std::size_t slash = nativePath.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : nativePath.substr(0, slash);
}

std::string LeafOf(const std::string& nativePath) {
  const std::size_t slash = nativePath.rfind('/');
  return slash == std::string::npos ? nativePath : nativePath.substr(slash + 1);
}

void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A new temporary file of this process in the folder: private at its creation, then given the
// target's bits (a new file gets the usual ones). Its path, or "" with the last error set.
std::string CreateMirror(const std::string& folder, const std::string& stem, DWORD dwAccess, DWORD dwShareMode,
                         const struct stat* pTarget, HANDLE* phFile) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string mirror = brambolt::owned_name::Make(folder, stem, kMirrorTag);
    HANDLE hFile = brambolt::CreateFileAtSystemPath(mirror, dwAccess, dwShareMode, CREATE_NEW,
                                                    pTarget != nullptr ? FILE_ATTRIBUTE_TEMPORARY : FILE_ATTRIBUTE_NORMAL);
    if (hFile == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return std::string();
    }
    if (pTarget != nullptr) ::chmod(mirror.c_str(), pTarget->st_mode & 07777);
    *phFile = hFile;
    return mirror;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return std::string();
}

}  // namespace

CMirrorFile::~CMirrorFile() {
  if (m_hFile != hFileNull || !m_strMirrorName.IsEmpty()) Abort();
}

BOOL CMirrorFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  Abort();
  if (!(nOpenFlags & modeCreate) || (nOpenFlags & modeNoTruncate) || lpszFileName == nullptr || *lpszFileName == '\0')
    return CFile::Open(lpszFileName, nOpenFlags, pError);

  DWORD dwAccess = 0;
  DWORD dwShareMode = 0;
  DWORD dwCreateFlag = 0;
  MapOpenFlags(nOpenFlags, dwAccess, dwShareMode, dwCreateFlag);
  auto fail = [&](DWORD dwError, LPCTSTR lpszName) {
    if (pError != nullptr) {
      pError->m_lOsError = static_cast<LONG>(dwError);
      pError->m_cause = CFileException::OsErrorToException(static_cast<LONG>(dwError));
      pError->m_strFileName = lpszName;
    }
    return FALSE;
  };

  namespace mirror = brambolt::mirror;
  const std::string native = brambolt::NativePath(lpszFileName);
  std::string target = native;
  if (m_linkRule == followLinks && !brambolt::file_support::LinkTarget(native, target))
    return fail(errno == ELOOP ? ERROR_CANT_RESOLVE_FILENAME : ERROR_PATH_NOT_FOUND, lpszFileName);
  // A save of this file that was killed while it wrote the file in place is completed first.
  mirror::CompleteInterruptedSave(target);
  struct stat targetStat {};
  const bool exists = m_linkRule == followLinks ? ::stat(target.c_str(), &targetStat) == 0
                                                : ::lstat(target.c_str(), &targetStat) == 0 && !S_ISLNK(targetStat.st_mode);
  if (exists) {
    // Whatever would stop writing the file in place stops the save now, not at Close: a folder,
    // a read-only file, or another handle's share mode.
    HANDLE hProbe =
        brambolt::CreateFileAtSystemPath(target, GENERIC_WRITE, dwShareMode, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (hProbe == INVALID_HANDLE_VALUE) return fail(GetLastError(), lpszFileName);
    CloseHandle(hProbe);
  }

  const std::string folder = FolderOf(target);
  const std::string leaf = LeafOf(target);
  brambolt::owned_name::RemoveDeadLeftovers(folder, leaf, kMirrorTag);
  HANDLE hFile = INVALID_HANDLE_VALUE;
  std::string path;
  // A file that has other names too (hard links) is written in place, the way a file in a folder
  // that takes no new file is: a rename would leave the other names on the old text. When the
  // cache folder cannot serve, the save replaces the file as any other.
  if (exists && m_linkRule == followLinks && S_ISREG(targetStat.st_mode) && targetStat.st_nlink > 1) {
    std::string cache;
    DWORD dwCacheError = 0;
    if (mirror::CacheFolder(cache, dwCacheError))
      path = CreateMirror(cache, mirror::CacheStem(target), dwAccess, dwShareMode, &targetStat, &hFile);
    m_bMirrorInCache = m_bWriteInPlace = !path.empty();
  }
  if (path.empty()) path = CreateMirror(folder, leaf, dwAccess, dwShareMode, exists ? &targetStat : nullptr, &hFile);
  if (path.empty()) {
    const DWORD dwError = GetLastError();
    // A folder that takes no new file: the new text waits in the cache folder, and goes into
    // the existing file in place at Close. A new file cannot be made there at all.
    if (!exists || !mirror::FolderRefusesNewFiles(dwError)) return fail(dwError, lpszFileName);
    std::string cache;
    DWORD dwCacheError = 0;
    if (!mirror::CacheFolder(cache, dwCacheError)) return fail(dwCacheError, cache.empty() ? lpszFileName : cache.c_str());
    path = CreateMirror(cache, mirror::CacheStem(target), dwAccess, dwShareMode, &targetStat, &hFile);
    if (path.empty()) return fail(dwError, lpszFileName);
    m_bMirrorInCache = TRUE;
  }
  // The temporary file's lock, held until it has reached its place or is gone: a process that
  // takes the file's name for a killed process's (another machine's, on a shared home) leaves it.
  m_nMirrorLock = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (m_nMirrorLock >= 0) ::flock(m_nMirrorLock, LOCK_EX | LOCK_NB);
  m_hFile = hFile;
  m_bCloseOnDelete = TRUE;
  m_strFileName = FullPath(lpszFileName);
  m_strMirrorName = path.c_str();
  m_strTargetName = target.c_str();
  return TRUE;
}

void CMirrorFile::Close() {
  if (m_strMirrorName.IsEmpty()) {
    CFile::Close();
    return;
  }
  CString mirror = m_strMirrorName;
  CString target = m_strTargetName;
  CString name = m_strFileName;
  const BOOL bInCache = m_bMirrorInCache;
  const BOOL bInPlace = m_bWriteInPlace;
  try {
    CFile::Flush();
    CFile::Close();
  } catch (CException*) {
    Abort();
    throw;
  }
  // Released when the temporary file is in place, or gone, whichever way Close leaves.
  struct LockRelease {
    CMirrorFile* file;
    ~LockRelease() { file->ReleaseMirrorLock(); }
  } release{this};
  m_strMirrorName.Empty();
  m_strTargetName.Empty();
  m_bMirrorInCache = m_bWriteInPlace = FALSE;
  struct stat before {};
  const bool existed = ::stat(target, &before) == 0;
  if (bInPlace || !brambolt::MoveFileAtSystemPaths(std::string(mirror), std::string(target),
                                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD dwError = GetLastError();
    if (bInCache) {
      // Another file system, or a folder that refuses the rename too: written in place.
      brambolt::mirror::CopyIntoPlace(std::string(mirror), std::string(target), name);
      return;
    }
    brambolt::DeleteFileAtSystemPath(std::string(mirror));
    CFileException::ThrowOsError(static_cast<LONG>(dwError), name);
  }
  SyncFolder(FolderOf(std::string(static_cast<LPCTSTR>(target))));
  // The file holds this save's text: what older saves of it left waiting is superseded.
  brambolt::mirror::RetireInterruptedSaves(std::string(target), existed ? &before : nullptr);
}

void CMirrorFile::ReleaseMirrorLock() {
  if (m_nMirrorLock >= 0) ::close(m_nMirrorLock);
  m_nMirrorLock = -1;
}

void CMirrorFile::Abort() {
  CFile::Abort();
  if (!m_strMirrorName.IsEmpty()) brambolt::DeleteFileAtSystemPath(std::string(m_strMirrorName));
  ReleaseMirrorLock();
  m_strMirrorName.Empty();
  m_strTargetName.Empty();
  m_bMirrorInCache = m_bWriteInPlace = FALSE;
}

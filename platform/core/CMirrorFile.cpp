// CMirrorFile: the temporary file is created beside the target (same file system, so the final
// rename is atomic), takes the target's permission bits, and is fsync'ed before the rename.
#include "core/CMirrorFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <string>

#include "core/CException.h"
#include "os/FileApi.h"
#include "os/Paths.h"

IMPLEMENT_DYNAMIC(CMirrorFile, CFile)

namespace {

// The file a save must replace: symbolic links are followed, so the link itself survives.
std::string ResolveTarget(const std::string& nativePath) {
  char resolved[PATH_MAX];
  if (::realpath(nativePath.c_str(), resolved) != nullptr) return resolved;
  return nativePath;
}

std::string FolderOf(const std::string& nativePath) {
  std::size_t slash = nativePath.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : nativePath.substr(0, slash);
}

std::string LeafOf(const std::string& nativePath) {
  std::size_t slash = nativePath.rfind('/');
  return slash == std::string::npos ? nativePath : nativePath.substr(slash + 1);
}

std::string RandomSuffix() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  static const char digits[] = "0123456789abcdef";
  std::string suffix;
  std::uint64_t value = generator();
  for (int i = 0; i < 12; ++i, value >>= 4) suffix.push_back(digits[value & 15]);
  return suffix;
}

void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
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
  auto fail = [&](DWORD dwError) {
    if (pError != nullptr) {
      pError->m_lOsError = static_cast<LONG>(dwError);
      pError->m_cause = CFileException::OsErrorToException(static_cast<LONG>(dwError));
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  };

  std::string target = ResolveTarget(brambolt::NativePath(lpszFileName));
  struct stat targetStat {};
  bool exists = ::stat(target.c_str(), &targetStat) == 0;
  if (exists) {
    // Whatever would stop writing the file in place stops the save now, not at Close: a folder,
    // a read-only file, or another handle's share mode.
    HANDLE hProbe = CreateFile(target.c_str(), GENERIC_WRITE, dwShareMode, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hProbe == INVALID_HANDLE_VALUE) return fail(GetLastError());
    CloseHandle(hProbe);
  }

  std::string prefix = FolderOf(target) + "/." + LeafOf(target) + ".~";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string mirror = prefix + RandomSuffix();
    HANDLE hFile = CreateFile(mirror.c_str(), dwAccess, dwShareMode, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
      DWORD dwError = GetLastError();
      if (dwError == ERROR_FILE_EXISTS) continue;
      // A folder we cannot create files in: write in place, as the framework does.
      return CFile::Open(lpszFileName, nOpenFlags, pError);
    }
    if (exists) ::chmod(mirror.c_str(), targetStat.st_mode & 07777);
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    m_strFileName = FullPath(lpszFileName);
    m_strMirrorName = mirror.c_str();
    m_strTargetName = target.c_str();
    return TRUE;
  }
  return fail(ERROR_FILE_EXISTS);
}

void CMirrorFile::Close() {
  if (m_strMirrorName.IsEmpty()) {
    CFile::Close();
    return;
  }
  CString mirror = m_strMirrorName;
  CString target = m_strTargetName;
  CString name = m_strFileName;
  try {
    CFile::Flush();
    CFile::Close();
  } catch (CException*) {
    Abort();
    throw;
  }
  m_strMirrorName.Empty();
  m_strTargetName.Empty();
  if (!MoveFileEx(mirror, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD dwError = GetLastError();
    DeleteFile(mirror);
    CFileException::ThrowOsError(static_cast<LONG>(dwError), name);
  }
  SyncFolder(FolderOf(std::string(static_cast<LPCTSTR>(target))));
}

void CMirrorFile::Abort() {
  CFile::Abort();
  if (!m_strMirrorName.IsEmpty()) DeleteFile(m_strMirrorName);
  m_strMirrorName.Empty();
  m_strTargetName.Empty();
}

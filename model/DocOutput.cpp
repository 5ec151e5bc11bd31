// The documentation run's output folders, held open, and its page texts.
#include "model/DocOutput.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Convert.h"
#include "os/FileFaults.h"
#include "os/Paths.h"

namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool IsLink(int dirFd, const char* lpszName) {
  struct stat st {};
  return ::fstatat(dirFd, lpszName, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

bool IsEmptyFolder(int dirFd, const char* lpszName) {
  const int fd = ::openat(dirFd, lpszName, kDirectoryFlags | O_NOFOLLOW);
  if (fd < 0) return false;
  DIR* pDir = ::fdopendir(fd);
  if (pDir == nullptr) {
    ::close(fd);
    return false;
  }
  bool bEmpty = true;
  while (const dirent* pEntry = ::readdir(pDir)) {
    const std::string_view name(pEntry->d_name);
    if (name != "." && name != "..") {
      bEmpty = false;
      break;
    }
  }
  ::closedir(pDir);
  return bEmpty;
}

// A name in a folder, as the file layer's fault seam is told it.
std::string PathIn(const std::string& folder, const char* lpszName) { return folder + "/" + lpszName; }

// A name below an output folder as the system names it on disk.
std::string OnDisk(const CString& strName) {
  return brambolt::SystemNameOf(std::string_view(strName, static_cast<size_t>(strName.GetLength())));
}

void CloseHandle(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

CString LinkNameOf(const CString& strName) {
  static const char kHex[] = "0123456789ABCDEF";
  CString strLink;
  for (const char ch : OnDisk(strName)) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte < 0x80 && ch != '%') {
      strLink += ch;
      continue;
    }
    strLink += '%';
    strLink += kHex[byte >> 4];
    strLink += kHex[byte & 0xF];
  }
  return strLink;
}

OutputFolder::~OutputFolder() { CloseHandle(m_fd); }

OutputFolder::OutputFolder(OutputFolder&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)), m_nError(other.m_nError) {}

OutputFolder& OutputFolder::operator=(OutputFolder&& other) noexcept {
  if (this != &other) {
    CloseHandle(m_fd);
    m_fd = std::exchange(other.m_fd, -1);
    m_path = std::move(other.m_path);
    m_nError = other.m_nError;
  }
  return *this;
}

OutputFolder OutputFolder::Open(const CString& strPath, int nOwnLevels, bool bMake, bool bMakeAbove) {
  std::string native = brambolt::NativePath(static_cast<LPCTSTR>(strPath));
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  if (native.empty()) return {};
  // The run's own components, innermost last.
  std::vector<std::string> own;
  for (; nOwnLevels > 0; --nOwnLevels) {
    const size_t slash = native.rfind('/');
    if (slash == std::string::npos) {
      own.insert(own.begin(), native);
      native = ".";
      break;
    }
    own.insert(own.begin(), native.substr(slash + 1));
    native = slash == 0 ? "/" : native.substr(0, slash);
  }
  std::error_code error;
  if (bMake && bMakeAbove) std::filesystem::create_directories(native, error);
  const int fd = ::open(native.c_str(), kDirectoryFlags);
  // A folder that could not be made is not open for the reason it could not be made.
  OutputFolder folder(fd, native, fd >= 0 ? 0 : error ? error.value() : errno);
  for (const std::string& name : own) {
    if (!folder.IsOpen()) break;
    folder = folder.OpenSubfolder(name.c_str(), bMake);
  }
  return folder;
}

OutputFolder OutputFolder::OpenFolderOf(const CString& strPath, CString& strName, int nOwnLevels, bool bMake) {
  const std::string_view path(strPath, static_cast<size_t>(strPath.GetLength()));
  const size_t nSeparator = brambolt::FindLastPathSeparator(path);
  if (nSeparator == std::string_view::npos) {
    strName = strPath;
    return Open(".", nOwnLevels, bMake);
  }
  strName = strPath.Mid(static_cast<int>(nSeparator) + 1);
  return Open(nSeparator == 0 ? CString("/") : strPath.Left(static_cast<int>(nSeparator)), nOwnLevels, bMake);
}

OutputFolder OutputFolder::Subfolder(const CString& strName) const {
  return strName.IsEmpty() ? OutputFolder() : OpenSubfolder(OnDisk(strName).c_str(), true);
}

OutputFolder OutputFolder::OpenSubfolder(const char* lpszName, bool bMake) const {
  const std::string path = PathIn(m_path, lpszName);
  if (m_fd < 0) return OutputFolder(-1, path, m_nError != 0 ? m_nError : ENOENT);
  int nError = 0;
  for (int nTry = 0; nTry < 3; ++nTry) {
    const int fd = ::openat(m_fd, lpszName, kDirectoryFlags | O_NOFOLLOW);
    if (fd >= 0) return OutputFolder(fd, path);
    nError = errno;
    if (nError == ENOENT) {
      if (!bMake) return OutputFolder(-1, path, nError);
      if (::mkdirat(m_fd, lpszName, 0777) != 0 && errno != EEXIST) return OutputFolder(-1, path, errno);
    } else if (IsLink(m_fd, lpszName)) {
      // The link goes, and a folder of the run takes its place.
      ::unlinkat(m_fd, lpszName, 0);
      ::mkdirat(m_fd, lpszName, 0777);
    } else {
      return OutputFolder(-1, path, nError);  // a file of that name stays: the pages that needed the folder fail
    }
  }
  return OutputFolder(-1, path, nError);
}

BOOL OutputFolder::HasSubfolder(const CString& strName) const {
  struct stat st {};
  return m_fd >= 0 && ::fstatat(m_fd, OnDisk(strName).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

namespace {

// The name a file is written under until it is whole: beside it, hidden, and the same at every
// run, so what a killed run left is written over by the next. A name too long for that takes a
// hash of itself.
CString TemporaryName(const CString& strName) {
  constexpr int kLongestName = 255;
  CString strTemp = ".~" + strName + ".part";
  if (strTemp.GetLength() <= kLongestName) return strTemp;
  const size_t nHash = std::hash<std::string_view>()(std::string_view(strName, static_cast<size_t>(strName.GetLength())));
  char szHash[32];
  std::snprintf(szHash, sizeof szHash, ".~%016zx.part", nHash);
  return szHash;
}

}  // namespace

OutputFile OutputFolder::CreateFile(const CString& strProgramName) const {
  const CString strName = OnDisk(strProgramName).c_str();
  if (m_fd < 0) errno = m_nError != 0 ? m_nError : ENOENT;
  if (strName.IsEmpty() || strName == "." || strName == "..") errno = EINVAL;
  if (m_fd < 0 || strName.IsEmpty() || strName == "." || strName == "..") return {};
  if (const int fault = brambolt::FileFault(brambolt::FileStep::Create, PathIn(m_path, strName))) {
    errno = fault;
    return {};
  }
  OutputFile file;
  file.m_strTemp = TemporaryName(strName);
  // Never blocks on a pipe planted under the name, never follows a link: whatever holds the
  // temporary name (what a killed run left, or something planted) goes, and a new file is made.
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  int fd = -1;
  for (int nTry = 0; nTry < 3 && fd < 0; ++nTry) {
    fd = ::openat(m_fd, file.m_strTemp, kFlags, 0666);
    if (fd < 0 && errno != EEXIST) return {};
    if (fd < 0 && ::unlinkat(m_fd, file.m_strTemp, 0) != 0 && errno == EISDIR) return {};
  }
  if (fd < 0) {
    errno = EEXIST;
    return {};
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file.m_fd = fd;
  file.m_dirFd = m_fd;
  file.m_folderPath = m_path;
  file.m_strName = strName;
  return file;
}

BOOL OutputFolder::WriteFile(const CString& strName, const void* pData, size_t nBytes) const {
  OutputFile file = CreateFile(strName);
  if (!file.IsOpen()) return FALSE;
  const BOOL bWritten = file.Write(pData, nBytes);
  if (!bWritten) {
    file.Discard();
    return FALSE;
  }
  return file.Close();
}

void OutputFolder::Remove(const CString& strName) const {
  if (m_fd < 0) return;
  const std::string name = OnDisk(strName);
  if (::unlinkat(m_fd, name.c_str(), 0) != 0 && errno == EISDIR) ::unlinkat(m_fd, name.c_str(), AT_REMOVEDIR);
}

namespace {

bool Before(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// The run writes three levels deep; a tree planted deeper than this is left below this depth.
constexpr int kDeepestSweep = 64;

void RemoveOlderFiles(int dirFd, const struct timespec& since,
                      const std::function<void(const CString&)>& removingFolder, int nDepth) {
  // The names first: the folder is not changed while it is read.
  std::vector<std::string> names;
  const int listFd = ::openat(dirFd, ".", kDirectoryFlags);
  if (listFd < 0) return;
  DIR* pDir = ::fdopendir(listFd);
  if (pDir == nullptr) {
    ::close(listFd);
    return;
  }
  while (const dirent* pEntry = ::readdir(pDir)) {
    const std::string_view name(pEntry->d_name);
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(pDir);
  for (const std::string& name : names) {
    struct stat st {};
    if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISDIR(st.st_mode)) {
      if (Before(st.st_mtim, since)) ::unlinkat(dirFd, name.c_str(), 0);
      continue;
    }
    if (nDepth >= kDeepestSweep) continue;
    const int subFd = ::openat(dirFd, name.c_str(), kDirectoryFlags | O_NOFOLLOW);
    if (subFd < 0) continue;
    RemoveOlderFiles(subFd, since, removingFolder, nDepth + 1);
    ::close(subFd);
    if (IsEmptyFolder(dirFd, name.c_str())) {
      if (removingFolder) removingFolder(CString(brambolt::ProgramNameOf(name).c_str()));
      ::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR);
    }
  }
}

}  // namespace

bool OutputFolder::TakeFileTime(struct timespec& time) const {
  if (m_fd < 0) return false;
  static const char kMarker[] = ".brambolt-run-start";
  // Whatever holds the name (a link planted there too) goes; the marker is a new file of the run.
  ::unlinkat(m_fd, kMarker, 0);
  const int fd = ::openat(m_fd, kMarker, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  // File times tick coarsely (a few milliseconds, seconds on some file systems): a file written
  // just before this call can carry the very stamp the marker gets. Stamp the marker again until
  // the file system's clock has moved on, so that every file written before the call is older.
  struct stat first {}, st {};
  bool bStamped = ::fstat(fd, &first) == 0;
  st = first;
  for (int nTry = 0; bStamped && nTry < 3000 && !Before(first.st_mtim, st.st_mtim); ++nTry) {
    ::usleep(1000);
    bStamped = ::futimens(fd, nullptr) == 0 && ::fstat(fd, &st) == 0;
  }
  bStamped = bStamped && Before(first.st_mtim, st.st_mtim);
  ::close(fd);
  ::unlinkat(m_fd, kMarker, 0);
  time = st.st_mtim;
  return bStamped;
}

void OutputFolder::RemoveFilesWrittenBefore(const struct timespec& since,
                                            const std::function<void(const CString&)>& removingFolder) const {
  if (m_fd >= 0) RemoveOlderFiles(m_fd, since, removingFolder, 0);
}

OutputFile::~OutputFile() { Discard(); }

OutputFile::OutputFile(OutputFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_dirFd(std::exchange(other.m_dirFd, -1)),
      m_folderPath(std::move(other.m_folderPath)),
      m_strName(other.m_strName),
      m_strTemp(other.m_strTemp),
      m_bFailed(other.m_bFailed),
      m_nError(other.m_nError) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    Discard();
    m_fd = std::exchange(other.m_fd, -1);
    m_dirFd = std::exchange(other.m_dirFd, -1);
    m_folderPath = std::move(other.m_folderPath);
    m_strName = other.m_strName;
    m_strTemp = other.m_strTemp;
    m_bFailed = other.m_bFailed;
    m_nError = other.m_nError;
  }
  return *this;
}

BOOL OutputFile::Write(const void* pData, size_t nBytes) {
  if (m_fd < 0 || m_bFailed) return FALSE;
  if (const int fault = brambolt::FileFault(brambolt::FileStep::Write, PathIn(m_folderPath, m_strTemp))) {
    errno = fault;
    m_nError = fault;
    m_bFailed = true;
    return FALSE;
  }
  const char* p = static_cast<const char*>(pData);
  while (nBytes > 0) {
    const ssize_t n = ::write(m_fd, p, nBytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      m_nError = n < 0 ? errno : ENOSPC;
      m_bFailed = true;
      return FALSE;
    }
    p += n;
    nBytes -= static_cast<size_t>(n);
  }
  return TRUE;
}

BOOL OutputFile::Close() {
  if (m_fd < 0) return FALSE;
  const auto fail = [this](int nError) {
    if (!m_bFailed) m_nError = nError;
    m_bFailed = true;
  };
  if (::close(std::exchange(m_fd, -1)) != 0) fail(errno);
  if (!m_bFailed) {
    if (const int fault = brambolt::FileFault(brambolt::FileStep::Rename, PathIn(m_folderPath, m_strName)))
      fail(fault);
    else if (::renameat(m_dirFd, m_strTemp, m_dirFd, m_strName) != 0)
      fail(errno);
  }
  if (m_bFailed) {
    ::unlinkat(m_dirFd, m_strTemp, 0);
    errno = m_nError != 0 ? m_nError : EIO;
  }
  m_dirFd = -1;
  return !m_bFailed;
}

void OutputFile::Discard() {
  if (m_fd < 0) return;
  m_bFailed = true;
  Close();
}

PageText& PageText::write(const char* pData, size_t nCount) {
  const char* end = pData + nCount;
  while (pData < end) {
    const char* lf = static_cast<const char*>(std::memchr(pData, '\n', static_cast<size_t>(end - pData)));
    if (lf == nullptr) {
      m_bytes.append(pData, end);
      break;
    }
    m_bytes.append(pData, lf);
    m_bytes.append("\r\n", 2);
    pData = lf + 1;
  }
  return *this;
}

PageText& PageText::operator<<(const char* lpsz) {
  if (lpsz != nullptr) write(lpsz, std::strlen(lpsz));
  return *this;
}

PageText& PageText::operator<<(const CString& str) {
  return write(static_cast<LPCTSTR>(str), static_cast<size_t>(str.GetLength()));
}

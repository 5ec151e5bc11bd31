// Entry attributes, error translation and buffer rules shared by the file functions.
#include "os/FileSupport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "os/FileApi.h"

namespace brambolt::file_support {

namespace {

FILETIME FromTimestamp(const struct statx_timestamp& t) { return FileTimeFromUnix(t.tv_sec, t.tv_nsec); }

}  // namespace

bool QueryEntry(const std::string& nativePath, std::string_view name, EntryInfo& info) {
  return QueryEntryAt(AT_FDCWD, nativePath.c_str(), name, info);
}

bool QueryEntryAt(int folderFd, const char* path, std::string_view name, EntryInfo& info) {
  struct statx link;
  if (::statx(folderFd, path, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &link) != 0) return false;
  struct statx target = link;
  const bool isLink = S_ISLNK(link.stx_mode);
  if (isLink && ::statx(folderFd, path, 0, STATX_BASIC_STATS | STATX_BTIME, &target) != 0) target = link;

  DWORD attributes = 0;
  const mode_t mode = target.stx_mode;
  if (S_ISDIR(mode)) {
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  } else if (S_ISREG(mode)) {
    attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (IsReadOnlyAt(folderFd, path, mode)) attributes |= FILE_ATTRIBUTE_READONLY;
  } else if (!S_ISLNK(mode)) {  // a dangling link reports only its reparse point
    attributes |= FILE_ATTRIBUTE_DEVICE;
  }
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (isLink) attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;

  info.attributes = attributes;
  info.lastWriteTime = FromTimestamp(target.stx_mtime);
  info.lastAccessTime = FromTimestamp(target.stx_atime);
  info.creationTime = (target.stx_mask & STATX_BTIME) ? FromTimestamp(target.stx_btime) : info.lastWriteTime;
  info.size = S_ISDIR(mode) ? 0 : target.stx_size;
  return true;
}

bool IsReadOnly(const std::string& nativePath, unsigned mode) { return IsReadOnlyAt(AT_FDCWD, nativePath.c_str(), mode); }

bool IsReadOnlyAt(int folderFd, const char* path, unsigned mode) {
  if (::geteuid() == 0) return (mode & 0222) == 0;
  return ::faccessat(folderFd, path, W_OK, AT_EACCESS) != 0 && errno != ENOENT;
}

std::string ParentOf(const std::string& nativePath) {
  std::string path = nativePath;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string LeafOf(const std::string& nativePath) {
  std::string path = nativePath;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool LinkTarget(const std::string& nativePath, std::string& target) {
  char resolved[PATH_MAX];
  if (::realpath(nativePath.c_str(), resolved) != nullptr) {
    target = resolved;
    return true;
  }
  // Nothing there, or a link that names no file: its links are followed one by one.
  std::string path = nativePath;
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    if (hops == 40) {
      target = path;
      errno = ELOOP;
      return false;
    }
    std::string named(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), named.data(), named.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= named.size()) {
      target = path;
      if (n >= 0) errno = ENOENT;
      return false;
    }
    named.resize(static_cast<std::size_t>(n));
    path = named[0] == '/' ? named : ParentOf(path) + "/" + named;
  }
  if (path == nativePath) {
    target = nativePath;
    return true;
  }
  // A dangling link: the file it names is made in its folder, which must be there.
  const std::string folder = ParentOf(path);
  struct stat st {};
  if (::realpath(folder.c_str(), resolved) == nullptr || ::stat(resolved, &st) != 0 || !S_ISDIR(st.st_mode)) {
    target = path;
    errno = ENOENT;
    return false;
  }
  target = std::string(resolved) + (std::string(resolved) == "/" ? "" : "/") + LeafOf(path);
  return true;
}

void SetLastErrorFromErrno(int error, const std::string& nativePath) {
  if (error == ENOENT) {
    struct stat st;
    const std::string parent = ParentOf(nativePath);
    if (::stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return;
    }
  }
  SetLastError(ErrnoToWin32Error(error));
}

DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size) {
  if (!buffer || size <= text.size()) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return static_cast<DWORD>(text.size());
}

}  // namespace brambolt::file_support

// File handles, file and folder operations, and the well-known folders, on POSIX.
#include "os/FileApi.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string_view>
#include <vector>

#include "base/Convert.h"
#include "os/FileFaults.h"
#include "os/FileSupport.h"
#include "os/OwnedNames.h"
#include "os/Paths.h"

using brambolt::NativePath;
using brambolt::ProgramNameOf;
using brambolt::file_support::CopyOut;
using brambolt::file_support::SetLastErrorFromErrno;

namespace brambolt {

namespace {

constexpr std::int64_t kUnixEpochIn100ns = 116444736000000000LL;

// The tag of a copy's temporary file: ".name.copy-<process>.<random>" beside its target.
constexpr const char* kCopyTag = "copy-";

bool WantsRead(DWORD access) { return access & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA); }
bool WantsWrite(DWORD access) {
  return access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA);
}

// The handles of this process open on one file, for the share-mode rules.
struct ShareEntry {
  const void* owner;
  DWORD access;
  DWORD share;
};

class ShareTable {
 public:
  using Key = std::pair<dev_t, ino_t>;

  // Enters an open unless it conflicts with one already there.
  bool Enter(const Key& key, const void* owner, DWORD access, DWORD share) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<ShareEntry>& entries = m_files[key];
    for (const ShareEntry& e : entries) {
      if ((WantsRead(access) && !(e.share & FILE_SHARE_READ)) ||
          (WantsWrite(access) && !(e.share & FILE_SHARE_WRITE)) ||
          ((access & DELETE) && !(e.share & FILE_SHARE_DELETE)) ||
          (WantsRead(e.access) && !(share & FILE_SHARE_READ)) ||
          (WantsWrite(e.access) && !(share & FILE_SHARE_WRITE)) ||
          ((e.access & DELETE) && !(share & FILE_SHARE_DELETE))) {
        if (entries.empty()) m_files.erase(key);
        return false;
      }
    }
    entries.push_back({owner, access, share});
    return true;
  }

  void Leave(const Key& key, const void* owner) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_files.find(key);
    if (it == m_files.end()) return;
    std::erase_if(it->second, [owner](const ShareEntry& e) { return e.owner == owner; });
    if (it->second.empty()) m_files.erase(it);
  }

  // True when every open handle on the file lets others delete or rename it.
  bool AllowsDelete(const Key& key) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_files.find(key);
    if (it == m_files.end()) return true;
    return std::all_of(it->second.begin(), it->second.end(),
                       [](const ShareEntry& e) { return (e.share & FILE_SHARE_DELETE) != 0; });
  }

 private:
  std::mutex m_mutex;
  std::map<Key, std::vector<ShareEntry>> m_files;
};

ShareTable& Shares() {
  static ShareTable table;
  return table;
}

struct LockedRange {
  std::uint64_t offset;
  std::uint64_t length;
};

class FileObject : public KernelObject {
 public:
  FileObject(int fd, std::string path, ShareTable::Key key, DWORD access)
      : KernelObject(Type::File), m_fd(fd), m_path(std::move(path)), m_key(key), m_access(access) {}
  ~FileObject() override {
    if (m_deleteOnClose) ::unlink(m_path.c_str());
    ::close(m_fd);
    Shares().Leave(m_key, this);
  }

  void DeleteOnClose() { m_deleteOnClose = true; }
  int Fd() const { return m_fd; }
  const std::string& Path() const { return m_path; }
  DWORD Access() const { return m_access; }

  // Windows locks are exclusive even against the same handle, and an unlock must name exactly
  // a range that was locked.
  bool AddLock(std::uint64_t offset, std::uint64_t length) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const LockedRange& r : m_locks)
      if (offset < r.offset + r.length && r.offset < offset + length) return false;
    m_locks.push_back({offset, length});
    return true;
  }
  bool RemoveLock(std::uint64_t offset, std::uint64_t length) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = std::find_if(m_locks.begin(), m_locks.end(), [&](const LockedRange& r) {
      return r.offset == offset && r.length == length;
    });
    if (it == m_locks.end()) return false;
    m_locks.erase(it);
    return true;
  }

 private:
  int m_fd;
  std::string m_path;
  ShareTable::Key m_key;
  DWORD m_access;
  bool m_deleteOnClose = false;
  std::mutex m_mutex;
  std::vector<LockedRange> m_locks;
};

std::shared_ptr<FileObject> LookupFile(HANDLE handle) {
  auto file = LookupHandleAs<FileObject>(handle, KernelObject::Type::File);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

bool StatOf(const std::string& path, struct stat& st) { return ::stat(path.c_str(), &st) == 0; }

ShareTable::Key KeyOf(const struct stat& st) { return {st.st_dev, st.st_ino}; }

bool DeletionShared(const std::string& path) {
  struct stat st;
  return !StatOf(path, st) || Shares().AllowsDelete(KeyOf(st));
}

std::uint64_t Combine(DWORD low, DWORD high) { return (static_cast<std::uint64_t>(high) << 32) | low; }

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Copies the bytes, permissions and times of an open file into a new temporary file beside
// `target` and returns that file's path, or "" with errno set. What killed copies into the
// folder left is removed first.
std::string CopyToTemporary(int source, const struct stat& sourceStat, const std::string& target) {
  const std::string folder = file_support::ParentOf(target);
  owned_name::RemoveDeadLeftovers(folder, std::string(), kCopyTag);
  if (const int fault = FileFault(FileStep::Create, target)) {
    errno = fault;
    return std::string();
  }
  std::string temp;
  const int out = owned_name::Create(folder, file_support::LeafOf(target), kCopyTag, temp);
  if (out < 0) return std::string();
  std::vector<char> buffer(1 << 16);
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(source, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    if (const int fault = FileFault(FileStep::Write, temp)) {
      errno = fault;
      ok = false;
      break;
    }
    if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(n))) {
      ok = false;
      break;
    }
  }
  const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
  if (ok) ok = ::fchmod(out, sourceStat.st_mode & 07777) == 0 && ::futimens(out, times) == 0;
  const int savedErrno = errno;
  if (::close(out) != 0 && ok) ok = false;
  if (!ok) {
    ::unlink(temp.c_str());
    errno = savedErrno;
    return std::string();
  }
  return temp;
}

std::atomic<UINT> g_errorMode{0};
std::atomic<BeforeCopyHook> g_beforeCopy{nullptr};

// Paths the system gives (the program's own, the current folder ...) are the system's spelling;
// the program is given them as it spells names.
std::string ExecutablePath() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<std::size_t>(n));
    buffer.resize(buffer.size() * 2);
  }
}

std::string WindowsDirectory() {
  if (const char* dir = std::getenv("BRAMBOLT_WINDOWS_DIR"); dir && *dir) return dir;
  const std::string programDir = file_support::ParentOf(ExecutablePath());
  const std::string share = file_support::ParentOf(programDir) + "/share";
  struct stat st;
  return StatOf(share, st) && S_ISDIR(st.st_mode) ? share : programDir;
}

std::string CurrentDirectory() {
  std::vector<char> buffer(PATH_MAX);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

// The absolute, lexically normalised native form of a path (".", ".." and repeated separators
// gone), resolved case-insensitively where it exists.
std::string FullNativePath(const char* path) {
  std::string native = NativePathSyntax(path);
  if (native.empty() || native[0] != '/') native = ProgramNameOf(CurrentDirectory()) + "/" + native;
  const bool trailing = native.back() == '/';
  std::vector<std::string> parts;
  std::size_t start = 1;
  while (start <= native.size()) {
    std::size_t end = native.find('/', start);
    if (end == std::string::npos) end = native.size();
    std::string part = native.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(std::move(part));
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  if (out.empty() || trailing) out += "/";
  return NativePath(out);
}

}  // namespace

FILETIME FileTimeFromUnix(std::int64_t seconds, long nanoseconds) {
  const std::int64_t ticks = seconds * 10000000LL + nanoseconds / 100 + kUnixEpochIn100ns;
  const auto value = static_cast<std::uint64_t>(ticks < 0 ? 0 : ticks);
  return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}

void UnixFromFileTime(const FILETIME& fileTime, std::int64_t& seconds, long& nanoseconds) {
  const auto ticks = static_cast<std::int64_t>(Combine(fileTime.dwLowDateTime, fileTime.dwHighDateTime)) -
                     kUnixEpochIn100ns;
  seconds = ticks / 10000000LL;
  std::int64_t rest = ticks % 10000000LL;
  if (rest < 0) {
    rest += 10000000LL;
    --seconds;
  }
  nanoseconds = static_cast<long>(rest * 100);
}

void SetBeforeCopyHook(BeforeCopyHook hook) { g_beforeCopy.store(hook); }

namespace {

FileIdentity IdentityOf(const struct stat& st) {
  FileIdentity id;
  id.kind = S_ISREG(st.st_mode)   ? FileIdentity::Kind::regular
            : S_ISDIR(st.st_mode) ? FileIdentity::Kind::folder
                                  : FileIdentity::Kind::special;
  id.device = static_cast<std::uint64_t>(st.st_dev);
  id.inode = static_cast<std::uint64_t>(st.st_ino);
  id.size = static_cast<std::uint64_t>(st.st_size);
  id.seconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
  id.nanoseconds = st.st_mtim.tv_nsec;
  return id;
}

}  // namespace

FileIdentity QueryFileIdentity(const char* path) {
  struct stat st;
  const std::string native = NativePath(path);
  if (native.empty() || ::stat(native.c_str(), &st) != 0) return FileIdentity{};
  return IdentityOf(st);
}

std::string ResolvedFilePath(const char* path) {
  const std::string native = NativePath(path);
  if (native.empty()) return native;
  if (char* real = ::realpath(native.c_str(), nullptr)) {
    std::string resolved(real);
    std::free(real);
    return resolved;
  }
  const std::string leaf = file_support::LeafOf(native);
  const std::string parent = file_support::ParentOf(native);
  if (char* real = ::realpath(parent.c_str(), nullptr)) {
    std::string resolved(real);
    std::free(real);
    return resolved == "/" ? "/" + leaf : resolved + "/" + leaf;
  }
  return native;
}

bool IsSameFile(const char* a, const char* b) {
  const FileIdentity first = QueryFileIdentity(a);
  const FileIdentity second = QueryFileIdentity(b);
  if (first.Exists() && second.Exists()) return first.SameFile(second);
  if (first.Exists() != second.Exists()) return false;
  return ResolvedFilePath(a) == ResolvedFilePath(b);
}


}  // namespace brambolt

using namespace brambolt;

BOOL CloseHandle(HANDLE hObject) {
  // Searches have their own closing function, as on Windows.
  auto closable = [](const KernelObject& o) { return o.GetType() != KernelObject::Type::FindSearch; };
  if (!ReleaseHandle(hObject, closable)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

namespace {

// CreateFile on a native path.
HANDLE CreateNativeFile(const std::string& path, DWORD dwDesiredAccess, DWORD dwShareMode, DWORD dwCreationDisposition,
                        DWORD dwFlagsAndAttributes) {
  const bool read = WantsRead(dwDesiredAccess);
  const bool write = WantsWrite(dwDesiredAccess);
  int flags = O_CLOEXEC;
  flags |= read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
  if ((dwDesiredAccess & FILE_APPEND_DATA) &&
      !(dwDesiredAccess & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA)))
    flags |= O_APPEND;
  if (dwFlagsAndAttributes & FILE_FLAG_WRITE_THROUGH) flags |= O_DSYNC;
  switch (dwCreationDisposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL | O_NOFOLLOW; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING:
      if (!write) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
      }
      flags |= O_TRUNC;
      break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
  }

  struct stat before;
  const bool existed = ::lstat(path.c_str(), &before) == 0;
  if (existed && dwCreationDisposition == CREATE_NEW) {
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
  }
  struct stat target;
  if (existed && StatOf(path, target) && S_ISDIR(target.st_mode)) {
    if (!(dwFlagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS) || write ||
        dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING) {
      SetLastError(ERROR_ACCESS_DENIED);
      return INVALID_HANDLE_VALUE;
    }
    flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  }
  // Windows refuses to replace a read-only file even when the access asks no writing.
  if (existed && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING) &&
      file_support::IsReadOnly(path, before.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  // A temporary file is the owner's alone until its maker gives it the permissions it is to have.
  const mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_TEMPORARY) ? 0600
                      : (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444
                                                                          : 0666;
  if (!existed && (flags & O_CREAT)) {
    if (const int fault = FileFault(FileStep::Create, path)) {
      SetLastErrorFromErrno(fault, path);
      return INVALID_HANDLE_VALUE;
    }
  }

  // Truncation waits until the share check has passed, so a refused open changes nothing.
  const bool truncate = flags & O_TRUNC;
  // Never blocks: a named pipe opens at once (for writing only while a reader holds it), as
  // Windows opens a pipe or fails; the handle reads and writes blocking as any other afterwards.
  int fd = ::open(path.c_str(), (flags & ~O_TRUNC) | O_NONBLOCK, mode);
  if (fd < 0 && errno == EACCES && !read && !write) fd = ::open(path.c_str(), O_PATH | O_CLOEXEC);
  if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (fd < 0) {
    const int error = errno;
    if (error == EEXIST)  // created by someone else since the check above
      SetLastError(ERROR_FILE_EXISTS);
    else
      SetLastErrorFromErrno(error, path);
    return INVALID_HANDLE_VALUE;
  }
  struct stat st;
  ::fstat(fd, &st);
  auto file = std::make_shared<FileObject>(fd, path, KeyOf(st), dwDesiredAccess);
  if (!Shares().Enter(KeyOf(st), file.get(), dwDesiredAccess, dwShareMode)) {
    file.reset();
    if (!existed) ::unlink(path.c_str());
    SetLastError(ERROR_SHARING_VIOLATION);
    return INVALID_HANDLE_VALUE;
  }
  if (dwFlagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) file->DeleteOnClose();
  // Only a file with content is truncated: truncating a new, empty file changes nothing but makes
  // ext4 write it to disk at its close.
  if (truncate && st.st_size > 0 && ::ftruncate(fd, 0) != 0) {
    SetLastErrorFromErrno(errno, path);
    return INVALID_HANDLE_VALUE;
  }
  const bool reportsExisting = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS;
  SetLastError(reportsExisting && existed ? ERROR_ALREADY_EXISTS : NO_ERROR);
  return AllocHandle(std::move(file));
}

}  // namespace

HANDLE CreateFile(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                  DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE) {
  if (!lpFileName || !*lpFileName) {
    SetLastError(lpFileName ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  return CreateNativeFile(NativePath(lpFileName), dwDesiredAccess, dwShareMode, dwCreationDisposition,
                          dwFlagsAndAttributes);
}

HANDLE brambolt::CreateFileAtSystemPath(const std::string& systemPath, DWORD dwDesiredAccess, DWORD dwShareMode,
                                        DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes) {
  if (systemPath.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return CreateNativeFile(systemPath, dwDesiredAccess, dwShareMode, dwCreationDisposition, dwFlagsAndAttributes);
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  if (!WantsRead(file->Access())) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  char* out = static_cast<char*>(lpBuffer);
  DWORD done = 0;
  std::uint64_t offset = lpOverlapped ? Combine(lpOverlapped->Offset, lpOverlapped->OffsetHigh) : 0;
  while (done < nNumberOfBytesToRead) {
    const std::size_t want = nNumberOfBytesToRead - done;
    const ssize_t n = lpOverlapped ? ::pread(file->Fd(), out + done, want, static_cast<off_t>(offset + done))
                                   : ::read(file->Fd(), out + done, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastError(errno == EISDIR ? ERROR_INVALID_FUNCTION : ErrnoToWin32Error(errno));
      if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
      return FALSE;
    }
    if (n == 0) break;
    done += static_cast<DWORD>(n);
  }
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
  if (lpOverlapped) lpOverlapped->InternalHigh = done;
  return TRUE;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  if (!WantsWrite(file->Access())) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (const int fault = FileFault(FileStep::Write, file->Path())) {
    SetLastError(ErrnoToWin32Error(fault));
    return FALSE;
  }
  const char* in = static_cast<const char*>(lpBuffer);
  DWORD done = 0;
  std::uint64_t offset = lpOverlapped ? Combine(lpOverlapped->Offset, lpOverlapped->OffsetHigh) : 0;
  while (done < nNumberOfBytesToWrite) {
    const std::size_t want = nNumberOfBytesToWrite - done;
    const ssize_t n = lpOverlapped ? ::pwrite(file->Fd(), in + done, want, static_cast<off_t>(offset + done))
                                   : ::write(file->Fd(), in + done, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetLastError(ErrnoToWin32Error(errno));
      if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
      return FALSE;
    }
    done += static_cast<DWORD>(n);
  }
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
  if (lpOverlapped) lpOverlapped->InternalHigh = done;
  return TRUE;
}

namespace {

// The position a move would reach, without moving; false with the last error set.
bool TargetPosition(int fd, std::int64_t distance, DWORD method, std::int64_t& target) {
  std::int64_t base = 0;
  struct stat st;
  switch (method) {
    case FILE_BEGIN: break;
    case FILE_CURRENT: base = ::lseek(fd, 0, SEEK_CUR); break;
    case FILE_END:
      if (::fstat(fd, &st) != 0) {
        SetLastError(ErrnoToWin32Error(errno));
        return false;
      }
      base = st.st_size;
      break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return false;
  }
  if (base < 0 || __builtin_add_overflow(base, distance, &target)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return false;
  }
  return true;
}

bool MoveTo(int fd, std::int64_t target) {
  if (::lseek(fd, static_cast<off_t>(target), SEEK_SET) < 0) {
    SetLastError(ErrnoToWin32Error(errno));
    return false;
  }
  SetLastError(NO_ERROR);
  return true;
}

}  // namespace

BOOL SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                      DWORD dwMoveMethod) {
  auto file = LookupFile(hFile);
  std::int64_t target;
  if (!file || !TargetPosition(file->Fd(), liDistanceToMove.QuadPart, dwMoveMethod, target) ||
      !MoveTo(file->Fd(), target))
    return FALSE;
  if (lpNewFilePointer) lpNewFilePointer->QuadPart = target;
  return TRUE;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
  LARGE_INTEGER distance;
  if (lpDistanceToMoveHigh) {
    distance.LowPart = static_cast<DWORD>(lDistanceToMove);
    distance.HighPart = *lpDistanceToMoveHigh;
  } else {
    distance.QuadPart = lDistanceToMove;
  }
  auto file = LookupFile(hFile);
  std::int64_t target;
  if (!file || !TargetPosition(file->Fd(), distance.QuadPart, dwMoveMethod, target))
    return INVALID_SET_FILE_POINTER;
  // Without a high part the caller could not learn a position past 32 bits: Windows refuses it.
  if (!lpDistanceToMoveHigh && target > 0xFFFFFFFFLL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (!MoveTo(file->Fd(), target)) return INVALID_SET_FILE_POINTER;
  if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(target >> 32);
  return static_cast<DWORD>(target);
}

BOOL SetEndOfFile(HANDLE hFile) {
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  if (const int fault = FileFault(FileStep::Resize, file->Path())) {
    SetLastError(ErrnoToWin32Error(fault));
    return FALSE;
  }
  const off_t position = ::lseek(file->Fd(), 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(file->Fd(), position) != 0) {
    SetLastError(errno == EINVAL || errno == EBADF ? ERROR_ACCESS_DENIED : ErrnoToWin32Error(errno));
    return FALSE;
  }
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile) {
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  if (const int fault = FileFault(FileStep::Sync, file->Path())) {
    SetLastError(ErrnoToWin32Error(fault));
    return FALSE;
  }
  if (::fsync(file->Fd()) != 0 && errno != EINVAL) {
    SetLastError(ErrnoToWin32Error(errno));
    return FALSE;
  }
  return TRUE;
}

BOOL GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize) {
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  struct stat st;
  if (::fstat(file->Fd(), &st) != 0) {
    SetLastError(ErrnoToWin32Error(errno));
    return FALSE;
  }
  if (lpFileSize) lpFileSize->QuadPart = S_ISDIR(st.st_mode) ? 0 : st.st_size;
  return TRUE;
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(hFile, &size)) return INVALID_FILE_SIZE;
  if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(size.HighPart);
  SetLastError(NO_ERROR);
  return size.LowPart;
}

BOOL GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                 LPFILETIME lpLastWriteTime) {
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  struct statx st;
  if (::statx(file->Fd(), "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &st) != 0) {
    SetLastError(ErrnoToWin32Error(errno));
    return FALSE;
  }
  const FILETIME written = FileTimeFromUnix(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
  if (lpLastWriteTime) *lpLastWriteTime = written;
  if (lpLastAccessTime) *lpLastAccessTime = FileTimeFromUnix(st.stx_atime.tv_sec, st.stx_atime.tv_nsec);
  if (lpCreationTime)
    *lpCreationTime =
        (st.stx_mask & STATX_BTIME) ? FileTimeFromUnix(st.stx_btime.tv_sec, st.stx_btime.tv_nsec) : written;
  return TRUE;
}

BOOL SetFileTime(HANDLE hFile, const FILETIME*, const FILETIME* lpLastAccessTime,
                 const FILETIME* lpLastWriteTime) {
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  struct timespec times[2];
  const FILETIME* given[2] = {lpLastAccessTime, lpLastWriteTime};
  for (int i = 0; i < 2; ++i) {
    if (!given[i]) {
      times[i].tv_sec = 0;
      times[i].tv_nsec = UTIME_OMIT;
      continue;
    }
    std::int64_t seconds;
    long nanoseconds;
    UnixFromFileTime(*given[i], seconds, nanoseconds);
    times[i].tv_sec = static_cast<time_t>(seconds);
    times[i].tv_nsec = nanoseconds;
  }
  if (::futimens(file->Fd(), times) != 0) {
    SetLastError(ErrnoToWin32Error(errno));
    return FALSE;
  }
  return TRUE;
}

namespace brambolt {

FileIdentity QueryFileIdentity(HANDLE hFile) {
  auto file = LookupFile(hFile);
  struct stat st;
  if (!file || ::fstat(file->Fd(), &st) != 0) return FileIdentity{};
  return IdentityOf(st);
}

}  // namespace brambolt

DWORD GetFileType(HANDLE hFile) {
  auto file = LookupFile(hFile);
  if (!file) return FILE_TYPE_UNKNOWN;
  struct stat st;
  if (::fstat(file->Fd(), &st) != 0) return FILE_TYPE_UNKNOWN;
  SetLastError(NO_ERROR);
  if (S_ISCHR(st.st_mode)) return FILE_TYPE_CHAR;
  if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return FILE_TYPE_PIPE;
  return FILE_TYPE_DISK;
}

namespace {

// Takes or drops an open-file-description lock, which conflicts between handles of one process
// as Windows locks do.
bool SetRangeLock(int fd, short type, std::uint64_t offset, std::uint64_t length) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(std::min<std::uint64_t>(offset, LLONG_MAX));
  lock.l_len = static_cast<off_t>(std::min<std::uint64_t>(length, LLONG_MAX - lock.l_start));
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

}  // namespace

BOOL LockFile(HANDLE hFile, DWORD dwFileOffsetLow, DWORD dwFileOffsetHigh, DWORD nNumberOfBytesToLockLow,
              DWORD nNumberOfBytesToLockHigh) {
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  const std::uint64_t offset = Combine(dwFileOffsetLow, dwFileOffsetHigh);
  const std::uint64_t length = Combine(nNumberOfBytesToLockLow, nNumberOfBytesToLockHigh);
  if (length == 0) return TRUE;
  if (!file->AddLock(offset, length)) {
    SetLastError(ERROR_LOCK_VIOLATION);
    return FALSE;
  }
  const short type = WantsWrite(file->Access()) ? F_WRLCK : F_RDLCK;
  if (!SetRangeLock(file->Fd(), type, offset, length)) {
    file->RemoveLock(offset, length);
    SetLastError(ERROR_LOCK_VIOLATION);
    return FALSE;
  }
  return TRUE;
}

BOOL UnlockFile(HANDLE hFile, DWORD dwFileOffsetLow, DWORD dwFileOffsetHigh, DWORD nNumberOfBytesToUnlockLow,
                DWORD nNumberOfBytesToUnlockHigh) {
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  const std::uint64_t offset = Combine(dwFileOffsetLow, dwFileOffsetHigh);
  const std::uint64_t length = Combine(nNumberOfBytesToUnlockLow, nNumberOfBytesToUnlockHigh);
  if (!file->RemoveLock(offset, length)) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  SetRangeLock(file->Fd(), F_UNLCK, offset, length);
  return TRUE;
}

DWORD GetFileAttributes(LPCSTR lpFileName) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesEx(lpFileName, GetFileExInfoStandard, &data)) return INVALID_FILE_ATTRIBUTES;
  return data.dwFileAttributes;
}

BOOL GetFileAttributesEx(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation) {
  if (!lpFileName || fInfoLevelId != GetFileExInfoStandard || !lpFileInformation) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string path = NativePath(lpFileName);
  file_support::EntryInfo info;
  if (path.empty() || !file_support::QueryEntry(path, file_support::LeafOf(path), info)) {
    SetLastErrorFromErrno(path.empty() ? ENOENT : errno, path);
    return FALSE;
  }
  auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(lpFileInformation);
  data->dwFileAttributes = info.attributes;
  data->ftCreationTime = info.creationTime;
  data->ftLastAccessTime = info.lastAccessTime;
  data->ftLastWriteTime = info.lastWriteTime;
  data->nFileSizeHigh = static_cast<DWORD>(info.size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(info.size);
  return TRUE;
}

BOOL SetFileAttributes(LPCSTR lpFileName, DWORD dwFileAttributes) {
  if (!lpFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string path = NativePath(lpFileName);
  struct stat st;
  if (!StatOf(path, st)) {
    SetLastErrorFromErrno(errno, path);
    return FALSE;
  }
  if (S_ISDIR(st.st_mode)) return TRUE;
  mode_t mode = st.st_mode & 07777;
  if (dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
    mode &= ~static_cast<mode_t>(0222);
  } else if (!(mode & S_IWUSR)) {
    // Writable again for the owner, and for those who may read it where the umask allows.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    mode |= S_IWUSR | ((mode & 0044) >> 1 & ~mask);
  }
  if (::chmod(path.c_str(), mode) != 0) {
    SetLastErrorFromErrno(errno, path);
    return FALSE;
  }
  return TRUE;
}

BOOL CopyFile(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
  if (!lpExistingFileName || !lpNewFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string source = NativePath(lpExistingFileName);
  const std::string target = NativePath(lpNewFileName);
  if (const BeforeCopyHook hook = g_beforeCopy.load(); hook != nullptr && !hook(source)) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    SetLastErrorFromErrno(errno, source);
    return FALSE;
  }
  struct InClose {
    int fd;
    ~InClose() { ::close(fd); }
  } inClose{in};
  struct stat sourceStat;
  ::fstat(in, &sourceStat);
  if (S_ISDIR(sourceStat.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  struct stat targetStat;
  if (StatOf(target, targetStat)) {
    if (bFailIfExists) {
      SetLastError(ERROR_FILE_EXISTS);
      return FALSE;
    }
    if (KeyOf(targetStat) == KeyOf(sourceStat)) {
      SetLastError(ERROR_SHARING_VIOLATION);
      return FALSE;
    }
    if (S_ISDIR(targetStat.st_mode) || file_support::IsReadOnly(target, targetStat.st_mode)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
  }
  const std::string temp = CopyToTemporary(in, sourceStat, target);
  if (temp.empty()) {
    SetLastErrorFromErrno(errno, target);
    return FALSE;
  }
  const int fault = FileFault(FileStep::Rename, target);
  const int renamed =
      fault != 0      ? (errno = fault, -1)
      : bFailIfExists ? ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE)
                      : ::rename(temp.c_str(), target.c_str());
  if (renamed != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    if (error == EEXIST)
      SetLastError(ERROR_FILE_EXISTS);
    else
      SetLastErrorFromErrno(error, target);
    return FALSE;
  }
  return TRUE;
}

namespace {

// MoveFileEx between native paths; `spelledLeaf` is the new name as the caller spelled it, for a
// target that is the source under another letter case.
BOOL MoveNativeFile(const std::string& source, std::string target, const std::string& spelledLeaf, DWORD dwFlags) {
  struct stat sourceStat;
  if (::lstat(source.c_str(), &sourceStat) != 0) {
    SetLastErrorFromErrno(errno, source);
    return FALSE;
  }
  if (!DeletionShared(source)) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }
  struct stat targetStat;
  if (::lstat(target.c_str(), &targetStat) == 0) {
    if (targetStat.st_dev == sourceStat.st_dev && targetStat.st_ino == sourceStat.st_ino) {
      // The same entry under another letter case: the new spelling is what the caller asked for.
      target = file_support::ParentOf(target) + "/" + spelledLeaf;
    } else if (!(dwFlags & MOVEFILE_REPLACE_EXISTING) || S_ISDIR(sourceStat.st_mode)) {
      SetLastError(ERROR_ALREADY_EXISTS);
      return FALSE;
    } else if (S_ISDIR(targetStat.st_mode) || !DeletionShared(target)) {
      SetLastError(S_ISDIR(targetStat.st_mode) ? ERROR_ACCESS_DENIED : ERROR_SHARING_VIOLATION);
      return FALSE;
    }
  }
  if (const int fault = FileFault(FileStep::Rename, target)) {
    SetLastErrorFromErrno(fault, target);
    return FALSE;
  }
  const bool replace = dwFlags & MOVEFILE_REPLACE_EXISTING;
  int result = replace ? ::rename(source.c_str(), target.c_str())
                       : ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
  if (result != 0 && errno == EXDEV) {
    if (!(dwFlags & MOVEFILE_COPY_ALLOWED) || !S_ISREG(sourceStat.st_mode)) {
      SetLastError(ERROR_NOT_SAME_DEVICE);
      return FALSE;
    }
    if (!CopyFile(source.c_str(), target.c_str(), !replace)) return FALSE;
    if (::unlink(source.c_str()) != 0) {
      SetLastErrorFromErrno(errno, source);
      return FALSE;
    }
    return TRUE;
  }
  if (result != 0) {
    const int error = errno;
    if (error == EEXIST)
      SetLastError(ERROR_ALREADY_EXISTS);
    else
      SetLastErrorFromErrno(error, target);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

BOOL MoveFileEx(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags) {
  if (!lpExistingFileName || !lpNewFileName || (dwFlags & MOVEFILE_DELAY_UNTIL_REBOOT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return MoveNativeFile(NativePath(lpExistingFileName), NativePath(lpNewFileName),
                        file_support::LeafOf(NativePathSyntax(lpNewFileName)), dwFlags);
}

BOOL brambolt::RenameToSystemName(const char* path, const std::string& systemName) {
  if (path == nullptr || systemName.empty() || systemName.find('/') != std::string::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string source = NativePath(path);
  return MoveNativeFile(source, file_support::ParentOf(source) + "/" + systemName, systemName, 0);
}

BOOL brambolt::MoveFileAtSystemPaths(const std::string& systemSource, const std::string& systemTarget, DWORD dwFlags) {
  if (systemSource.empty() || systemTarget.empty() || (dwFlags & MOVEFILE_DELAY_UNTIL_REBOOT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return MoveNativeFile(systemSource, systemTarget, file_support::LeafOf(systemTarget), dwFlags);
}

BOOL MoveFile(LPCSTR lpExistingFileName, LPCSTR lpNewFileName) {
  return MoveFileEx(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

namespace {

BOOL DeleteNativeFile(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) {
    SetLastErrorFromErrno(errno, path);
    return FALSE;
  }
  if (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && file_support::IsReadOnly(path, st.st_mode))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!S_ISLNK(st.st_mode) && !Shares().AllowsDelete(KeyOf(st))) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }
  if (::unlink(path.c_str()) != 0) {
    SetLastErrorFromErrno(errno, path);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

BOOL DeleteFile(LPCSTR lpFileName) {
  if (!lpFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return DeleteNativeFile(NativePath(lpFileName));
}

BOOL brambolt::DeleteFileAtSystemPath(const std::string& systemPath) { return DeleteNativeFile(systemPath); }

BOOL CreateDirectory(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES) {
  if (!lpPathName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string path = NativePath(lpPathName);
  if (path.empty() || ::mkdir(path.c_str(), 0777) != 0) {
    const int error = path.empty() ? ENOENT : errno;
    SetLastError(error == EEXIST ? ERROR_ALREADY_EXISTS : error == ENOENT ? ERROR_PATH_NOT_FOUND
                                                                          : ErrnoToWin32Error(error));
    return FALSE;
  }
  return TRUE;
}

BOOL RemoveDirectory(LPCSTR lpPathName) {
  if (!lpPathName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string path = NativePath(lpPathName);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  struct stat link;
  if (::lstat(path.c_str(), &link) != 0) {
    SetLastErrorFromErrno(errno, path);
    return FALSE;
  }
  if (S_ISLNK(link.st_mode)) {
    struct stat target;
    if (!StatOf(path, target) || !S_ISDIR(target.st_mode)) {
      SetLastError(ERROR_DIRECTORY);
      return FALSE;
    }
    if (::unlink(path.c_str()) != 0) {
      SetLastErrorFromErrno(errno, path);
      return FALSE;
    }
    return TRUE;
  }
  if (::rmdir(path.c_str()) != 0) {
    SetLastError(errno == ENOTDIR ? ERROR_DIRECTORY : errno == EEXIST ? ERROR_DIR_NOT_EMPTY
                                                                      : ErrnoToWin32Error(errno));
    return FALSE;
  }
  return TRUE;
}

DWORD GetCurrentDirectory(DWORD nBufferLength, LPSTR lpBuffer) {
  const std::string cwd = ProgramNameOf(CurrentDirectory());
  if (cwd.empty()) {
    SetLastError(ErrnoToWin32Error(errno));
    return 0;
  }
  return CopyOut(cwd, lpBuffer, nBufferLength);
}

BOOL SetCurrentDirectory(LPCSTR lpPathName) {
  if (!lpPathName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string path = NativePath(lpPathName);
  if (path.empty() || ::chdir(path.c_str()) != 0) {
    if (path.empty())
      SetLastError(ERROR_PATH_NOT_FOUND);
    else
      SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : errno == ENOTDIR ? ERROR_DIRECTORY
                                                                              : ErrnoToWin32Error(errno));
    return FALSE;
  }
  return TRUE;
}

DWORD GetFullPathName(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart) {
  if (!lpFileName || !*lpFileName) {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  const std::string full = ProgramNameOf(FullNativePath(lpFileName));
  const DWORD result = CopyOut(full, lpBuffer, nBufferLength);
  if (lpFilePart && result < nBufferLength) {
    const std::size_t slash = full.rfind('/');
    *lpFilePart = slash + 1 < full.size() ? lpBuffer + slash + 1 : nullptr;
  }
  return result;
}

namespace {

// The folders SearchPath looks in when it is given none.
std::vector<std::string> DefaultSearchFolders() {
  std::vector<std::string> folders;
  char buffer[4096];
  if (DWORD n = GetModuleFileName(nullptr, buffer, sizeof buffer); n > 0 && n < sizeof buffer)
    folders.push_back(brambolt::file_support::ParentOf(std::string(buffer, n)));
  folders.emplace_back(".");
  if (UINT n = GetSystemDirectory(buffer, sizeof buffer); n > 0 && n < sizeof buffer) folders.emplace_back(buffer, n);
  if (UINT n = GetWindowsDirectory(buffer, sizeof buffer); n > 0 && n < sizeof buffer) folders.emplace_back(buffer, n);
  if (const char* path = std::getenv("PATH")) {
    std::string_view rest(path);
    for (std::size_t colon; !rest.empty(); rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon + 1)) {
      colon = rest.find(':');
      if (colon != 0) folders.emplace_back(rest.substr(0, colon));
    }
  }
  return folders;
}

}  // namespace

DWORD SearchPath(LPCSTR lpPath, LPCSTR lpFileName, LPCSTR lpExtension, DWORD nBufferLength, LPSTR lpBuffer,
                 LPSTR* lpFilePart) {
  if (!lpFileName || !*lpFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string name = lpFileName;
  const std::size_t leaf = brambolt::FindLastPathSeparator(name);
  if (lpExtension && name.find('.', leaf == std::string::npos ? 0 : leaf + 1) == std::string::npos) name += lpExtension;
  std::vector<std::string> folders;
  if (leaf != std::string::npos || (name.size() >= 2 && name[1] == ':')) {
    folders.emplace_back();  // a name with a folder is looked up as it stands
  } else if (lpPath) {
    std::string_view rest(lpPath);
    for (std::size_t semi; !rest.empty(); rest.remove_prefix(semi == std::string_view::npos ? rest.size() : semi + 1)) {
      semi = rest.find(';');
      if (semi != 0) folders.emplace_back(rest.substr(0, semi));
    }
  } else {
    folders = DefaultSearchFolders();
  }
  for (const std::string& folder : folders) {
    const std::string candidate = folder.empty() ? name : folder + "\\" + name;
    const DWORD attributes = GetFileAttributes(candidate.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      return GetFullPathName(candidate.c_str(), nBufferLength, lpBuffer, lpFilePart);
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return 0;
}

DWORD GetEnvironmentVariable(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize) {
  const char* value = lpName ? std::getenv(lpName) : nullptr;
  if (value == nullptr) {
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  return CopyOut(value, lpBuffer, nSize);
}

BOOL SetEnvironmentVariable(LPCSTR lpName, LPCSTR lpValue) {
  if (!lpName || !*lpName || std::strchr(lpName, '=') != nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (lpValue == nullptr) return ::unsetenv(lpName) == 0 ? TRUE : FALSE;
  return ::setenv(lpName, lpValue, 1) == 0 ? TRUE : FALSE;
}

namespace {

DWORD SamePathIfExists(LPCSTR in, LPSTR out, DWORD size) {
  if (!in) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string path = NativePath(in);
  struct stat st;
  if (path.empty() || ::lstat(path.c_str(), &st) != 0) {
    SetLastErrorFromErrno(path.empty() ? ENOENT : errno, path);
    return 0;
  }
  return CopyOut(in, out, size);
}

}  // namespace

DWORD GetLongPathName(LPCSTR lpszShortPath, LPSTR lpszLongPath, DWORD cchBuffer) {
  return SamePathIfExists(lpszShortPath, lpszLongPath, cchBuffer);
}

DWORD GetShortPathName(LPCSTR lpszLongPath, LPSTR lpszShortPath, DWORD cchBuffer) {
  return SamePathIfExists(lpszLongPath, lpszShortPath, cchBuffer);
}

DWORD GetTempPath(DWORD nBufferLength, LPSTR lpBuffer) {
  const char* tmp = std::getenv("TMPDIR");
  std::string path = tmp && *tmp ? ProgramNameOf(tmp) : "/tmp";
  if (path.back() != '/') path += '/';
  return CopyOut(path, lpBuffer, nBufferLength);
}

UINT GetTempFileName(LPCSTR lpPathName, LPCSTR lpPrefixString, UINT uUnique, LPSTR lpTempFileName) {
  if (!lpPathName || !lpTempFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string folder = lpPathName;
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
  const std::string prefix = std::string(lpPrefixString ? lpPrefixString : "").substr(0, 3);
  auto nameFor = [&](UINT unique) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X", unique & 0xFFFF);
    return folder + prefix + hex + ".TMP";
  };
  auto deliver = [&](const std::string& name) {
    // The caller's buffer holds MAX_PATH bytes.
    const std::size_t n = std::min<std::size_t>(name.size(), MAX_PATH - 1);
    std::memcpy(lpTempFileName, name.data(), n);
    lpTempFileName[n] = '\0';
  };
  if (uUnique != 0) {
    deliver(nameFor(uUnique));
    return uUnique & 0xFFFF;
  }
  const std::string nativeFolder = NativePath(folder.c_str());
  struct stat st;
  if (!StatOf(nativeFolder.empty() ? "." : nativeFolder, st) || !S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return 0;
  }
  // Start from a value that differs between processes and calls, then probe upwards.
  static std::atomic<unsigned> counter{static_cast<unsigned>(::getpid())};
  const UINT start = (counter.fetch_add(7919) % 0xFFFF) + 1;
  for (UINT i = 0; i < 0xFFFF; ++i) {
    const UINT unique = (start + i - 1) % 0xFFFF + 1;
    const std::string name = nameFor(unique);
    const int fd = ::open(NativePath(name.c_str()).c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      deliver(name);
      return unique;
    }
    if (errno != EEXIST) {
      SetLastError(ErrnoToWin32Error(errno));
      return 0;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}

DWORD GetModuleFileName(HMODULE, LPSTR lpFilename, DWORD nSize) {
  const std::string path = ProgramNameOf(ExecutablePath());
  if (path.empty() || !lpFilename || nSize == 0) {
    SetLastError(path.empty() ? ERROR_FILE_NOT_FOUND : ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() >= nSize) {
    // Cut and terminated, returning the buffer's size.
    std::memcpy(lpFilename, path.data(), nSize - 1);
    lpFilename[nSize - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::memcpy(lpFilename, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

UINT GetWindowsDirectory(LPSTR lpBuffer, UINT uSize) {
  return CopyOut(ProgramNameOf(WindowsDirectory()), lpBuffer, uSize);
}

UINT GetSystemDirectory(LPSTR lpBuffer, UINT uSize) { return GetWindowsDirectory(lpBuffer, uSize); }

UINT GetDriveType(LPCSTR lpRootPathName) {
  if (!lpRootPathName) return DRIVE_FIXED;
  struct stat st;
  const std::string path = NativePath(lpRootPathName);
  return StatOf(path.empty() ? "/" : path, st) && S_ISDIR(st.st_mode) ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
}

namespace {

bool FileSystemOf(LPCSTR root, struct statvfs& vfs) {
  std::string path = root ? NativePath(root) : std::string();
  if (path.empty()) path.assign(1, '.');
  if (::statvfs(path.c_str(), &vfs) != 0) {
    SetLastErrorFromErrno(errno, path);
    return false;
  }
  return true;
}

DWORD Clamp32(std::uint64_t value) { return static_cast<DWORD>(std::min<std::uint64_t>(value, 0xFFFFFFFFu)); }

}  // namespace

BOOL GetDiskFreeSpace(LPCSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
                      LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters) {
  struct statvfs vfs;
  if (!FileSystemOf(lpRootPathName, vfs)) return FALSE;
  const std::uint64_t cluster = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  if (lpBytesPerSector) *lpBytesPerSector = 512;
  if (lpSectorsPerCluster) *lpSectorsPerCluster = static_cast<DWORD>(std::max<std::uint64_t>(cluster / 512, 1));
  if (lpNumberOfFreeClusters) *lpNumberOfFreeClusters = Clamp32(vfs.f_bavail);
  if (lpTotalNumberOfClusters) *lpTotalNumberOfClusters = Clamp32(vfs.f_blocks);
  return TRUE;
}

BOOL GetDiskFreeSpaceEx(LPCSTR lpDirectoryName, PULARGE_INTEGER lpFreeBytesAvailableToCaller,
                        PULARGE_INTEGER lpTotalNumberOfBytes, PULARGE_INTEGER lpTotalNumberOfFreeBytes) {
  struct statvfs vfs;
  if (!FileSystemOf(lpDirectoryName, vfs)) return FALSE;
  const std::uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  if (lpFreeBytesAvailableToCaller) lpFreeBytesAvailableToCaller->QuadPart = unit * vfs.f_bavail;
  if (lpTotalNumberOfBytes) lpTotalNumberOfBytes->QuadPart = unit * vfs.f_blocks;
  if (lpTotalNumberOfFreeBytes) lpTotalNumberOfFreeBytes->QuadPart = unit * vfs.f_bfree;
  return TRUE;
}

DWORD GetLogicalDrives() { return 1u << 2; }

DWORD GetLogicalDriveStrings(DWORD nBufferLength, LPSTR lpBuffer) {
  static const char kDrives[] = "C:\\\0";  // one drive, then the list's closing NUL
  constexpr DWORD kLength = sizeof kDrives - 1;
  if (!lpBuffer || nBufferLength < kLength + 1) return kLength + 1;
  std::memcpy(lpBuffer, kDrives, kLength + 1);
  return kLength;
}

UINT SetErrorMode(UINT uMode) { return g_errorMode.exchange(uMode); }

LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2) {
  const std::uint64_t a = Combine(lpFileTime1->dwLowDateTime, lpFileTime1->dwHighDateTime);
  const std::uint64_t b = Combine(lpFileTime2->dwLowDateTime, lpFileTime2->dwHighDateTime);
  return a < b ? -1 : a > b ? 1 : 0;
}

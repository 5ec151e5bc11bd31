// A safe save's way into a folder that takes no new file, and the completion of killed ones.
#include "core/SaveInPlace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "base/LastError.h"
#include "core/CException.h"
#include "core/CString.h"
#include "os/FileApi.h"
#include "os/FileFaults.h"
#include "os/OwnedNames.h"
#include "os/Paths.h"

namespace brambolt::mirror {

namespace {

constexpr UINT kInformation = 0x40;  // MB_ICONINFORMATION | MB_OK
constexpr const char* kStageTag = "~";

// What ends a stage, after the text and the target's path: the stage is complete when it is
// there whole and its checksum matches.
struct StageRecord {
  std::uint64_t textLength;
  std::uint64_t pathLength;
  std::uint64_t checksum;
  char magic[8];
};
constexpr char kStageMagic[8] = {'V', 'B', 'S', 'T', 'A', 'G', 'E', '1'};

std::string LeafOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The cache folder's path, "" when the user has no home.
std::string CacheFolderPath() {
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/')
    return std::string(cache) + "/visual-brambolt/saves";
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
    return std::string(home) + "/.cache/visual-brambolt/saves";
  return std::string();
}

std::uint64_t Fnv(std::uint64_t hash, const char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
  return hash;
}
constexpr std::uint64_t kFnvStart = 14695981039346656037ull;

// A stable short name for a target's path, so that its files in the cache folder are found again
// by the next process.
std::string PathKey(const std::string& target) {
  std::uint64_t hash = Fnv(kFnvStart, target.data(), target.size());
  static const char digits[] = "0123456789abcdef";
  std::string key;
  for (int i = 0; i < 16; ++i, hash >>= 4) key.push_back(digits[hash & 15]);
  return key;
}

bool MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = slash == std::string::npos ? path : path.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// Whether an existing folder may hold the files of a save: a real folder (no link) of this user
// that no one else may write into.
bool TrustedFolder(const std::string& folder) {
  struct stat st {};
  return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A file of the cache folder opened for reading: never through a link, never waiting on a FIFO,
// only a regular file of this user. -1 otherwise.
int OpenOwnedFile(const std::string& path, int flags, struct stat& st) {
  const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool ReadAt(int fd, char* data, std::size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t n = ::pread(fd, data, size, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
    offset += n;
  }
  return true;
}

// The checksum of a stage's text (read from the file) and the target's path.
bool StageChecksum(int fd, std::uint64_t textLength, const std::string& target, std::uint64_t& checksum) {
  std::vector<char> buffer(1 << 16);
  std::uint64_t hash = kFnvStart;
  for (std::uint64_t done = 0; done < textLength;) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), textLength - done));
    if (!ReadAt(fd, buffer.data(), want, static_cast<off_t>(done))) return false;
    hash = Fnv(hash, buffer.data(), want);
    done += want;
  }
  checksum = Fnv(hash, target.data(), target.size());
  return true;
}

// The length of the text of a complete stage of the target, or -1 when the stage is incomplete
// (`other` set when it is a complete stage of another file that shares the key).
long long CompleteStageLength(int fd, const struct stat& st, const std::string& target, bool& other) {
  other = false;
  StageRecord record{};
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (size < sizeof record || !ReadAt(fd, reinterpret_cast<char*>(&record), sizeof record, static_cast<off_t>(size - sizeof record)) ||
      std::memcmp(record.magic, kStageMagic, sizeof kStageMagic) != 0 || record.pathLength > PATH_MAX ||
      record.textLength > size || record.textLength + record.pathLength + sizeof record != size)
    return -1;
  std::string path(static_cast<std::size_t>(record.pathLength), '\0');
  std::uint64_t checksum = 0;
  if (!ReadAt(fd, path.data(), path.size(), static_cast<off_t>(record.textLength)) ||
      !StageChecksum(fd, record.textLength, path, checksum) || checksum != record.checksum)
    return -1;
  if (path != target) {
    other = true;
    return -1;
  }
  return static_cast<long long>(record.textLength);
}

class Handle {
 public:
  explicit Handle(HANDLE h) : m_h(h) {}
  ~Handle() {
    if (m_h != INVALID_HANDLE_VALUE) CloseHandle(m_h);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE Get() const { return m_h; }
  bool Valid() const { return m_h != INVALID_HANDLE_VALUE; }
  bool Close() {
    const bool ok = CloseHandle(m_h);
    m_h = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE m_h;
};

// A descriptor of the target that holds the lock of its in-place writes while it lives, so that
// two processes writing the file in place take turns instead of mixing their texts.
class InPlaceLock {
 public:
  explicit InPlaceLock(const std::string& target) : m_fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC)) {
    if (m_fd >= 0)
      while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
      }
  }
  ~InPlaceLock() {
    if (m_fd >= 0) ::close(m_fd);
  }
  InPlaceLock(const InPlaceLock&) = delete;
  InPlaceLock& operator=(const InPlaceLock&) = delete;
  int Fd() const { return m_fd; }

 private:
  int m_fd;
};

// Writes the first `length` bytes of the stage over the target from its start, sets its end when
// every byte is there (never before) and makes it durable. The room the text needs is taken
// first, so a full disk refuses the write before a byte of the file has changed. The Win32 error,
// or 0; `touched` tells whether the file was changed.
DWORD WriteStageOver(int stage, std::uint64_t length, const std::string& target, bool& touched) {
  touched = false;
  const InPlaceLock lock(target);
  if (lock.Fd() >= 0 && length > 0 && ::fallocate(lock.Fd(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(length)) != 0 &&
      (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
    return ErrnoToWin32Error(errno);
  Handle out(CreateFile(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!out.Valid()) return GetLastError();
  std::vector<char> buffer(1 << 16);
  for (std::uint64_t done = 0; done < length;) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), length - done));
    if (!ReadAt(stage, buffer.data(), want, static_cast<off_t>(done))) return ERROR_READ_FAULT;
    DWORD nWritten = 0;
    if (!WriteFile(out.Get(), buffer.data(), static_cast<DWORD>(want), &nWritten, nullptr)) {
      touched = touched || nWritten > 0;
      return GetLastError();
    }
    touched = true;
    done += want;
  }
  touched = true;
  if (!SetEndOfFile(out.Get()) || !FlushFileBuffers(out.Get()) || !out.Close()) return GetLastError();
  return 0;
}

// Stages whose in-place write failed after it began while their process goes on: they are
// completed like those of ended processes.
std::mutex g_stagesMutex;
std::set<std::string>& KeptStages() {
  static std::set<std::string> stages;
  return stages;
}

// Whether the cache folder holds nothing, known without listing it when it has not changed since
// it was last found empty.
bool NothingStaged(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return true;
  static std::mutex mutex;
  static struct stat empty {};
  static bool known = false;
  std::lock_guard<std::mutex> lock(mutex);
  if (known && empty.st_dev == st.st_dev && empty.st_ino == st.st_ino && empty.st_mtim.tv_sec == st.st_mtim.tv_sec &&
      empty.st_mtim.tv_nsec == st.st_mtim.tv_nsec)
    return true;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return true;
  bool nothing = true;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      nothing = false;
      break;
    }
  }
  ::closedir(dir);
  known = nothing;
  if (nothing) empty = st;
  return nothing;
}

struct FoundStage {
  std::string path;
  int fd;
  std::uint64_t length;
  struct timespec time;
};

// Completes the killed saves of the target found in the cache folder.
void CompleteStagesOf(const std::string& folder, const std::string& target) {
  const std::string stem = CacheStem(target);
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      const pid_t owner = owned_name::OwnerOf(name, stem, kStageTag);
      if (owner == 0) continue;
      if (owned_name::OwnerGone(owner)) {
        names.push_back(name);
      } else {
        std::lock_guard<std::mutex> lock(g_stagesMutex);
        if (KeptStages().count(folder + "/" + name) != 0) names.push_back(name);
      }
    }
    ::closedir(dir);
  }
  std::vector<FoundStage> complete;
  for (const std::string& name : names) {
    const std::string path = folder + "/" + name;
    struct stat st {};
    const int fd = OpenOwnedFile(path, O_RDONLY, st);
    if (fd < 0) continue;
    // Another process completing the same stage holds it; one that completed it removed it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || st.st_nlink == 0) {
      ::close(fd);
      continue;
    }
    bool other = false;
    const long long length = CompleteStageLength(fd, st, target, other);
    if (length >= 0) {
      complete.push_back({path, fd, static_cast<std::uint64_t>(length), st.st_mtim});
      continue;
    }
    if (!other) ::unlink(path.c_str());  // the file was not touched yet
    ::close(fd);
  }
  if (complete.empty()) return;
  // Of two killed saves, the later one's text is the newer.
  const FoundStage* newest = &complete.front();
  for (const FoundStage& stage : complete) {
    if (stage.time.tv_sec > newest->time.tv_sec ||
        (stage.time.tv_sec == newest->time.tv_sec && stage.time.tv_nsec > newest->time.tv_nsec))
      newest = &stage;
  }
  struct stat st {};
  bool touched = false;
  const bool gone = ::stat(target.c_str(), &st) != 0 && errno == ENOENT;
  const bool written = !gone && WriteStageOver(newest->fd, newest->length, target, touched) == 0;
  if (written || gone) {
    for (const FoundStage& stage : complete) {
      ::unlink(stage.path.c_str());
      std::lock_guard<std::mutex> lock(g_stagesMutex);
      KeptStages().erase(stage.path);
    }
  }
  for (const FoundStage& stage : complete) ::close(stage.fd);
  if (written) {
    CString strText;
    strText.Format("A save of %s was interrupted before it was complete. The save has now been completed: the "
                   "file holds the text that was being saved.",
                   target.c_str());
    AfxReportErrorText(strText, kInformation);
  }
}

// Appends the record that makes the temporary file a complete stage, and makes it durable.
DWORD MakeStage(int fd, const std::string& mirror, const struct stat& st, const std::string& target) {
  StageRecord record{};
  record.textLength = static_cast<std::uint64_t>(st.st_size);
  record.pathLength = target.size();
  std::memcpy(record.magic, kStageMagic, sizeof kStageMagic);
  if (!StageChecksum(fd, record.textLength, target, record.checksum)) return ERROR_READ_FAULT;
  std::string tail = target;
  tail.append(reinterpret_cast<const char*>(&record), sizeof record);
  if (const int fault = FileFault(FileStep::Write, mirror)) return ErrnoToWin32Error(fault);
  for (std::size_t done = 0; done < tail.size();) {
    const ssize_t n = ::pwrite(fd, tail.data() + done, tail.size() - done, static_cast<off_t>(record.textLength + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return ErrnoToWin32Error(n < 0 ? errno : ENOSPC);
    done += static_cast<std::size_t>(n);
  }
  if (const int fault = FileFault(FileStep::Sync, mirror)) return ErrnoToWin32Error(fault);
  if (::fsync(fd) != 0) return ErrnoToWin32Error(errno);
  return 0;
}

}  // namespace

bool CacheFolder(std::string& folder, DWORD& dwError) {
  folder = CacheFolderPath();
  if (folder.empty()) {
    dwError = ERROR_PATH_NOT_FOUND;
    return false;
  }
  if (!MakeFolders(folder) || !TrustedFolder(folder)) {
    dwError = ERROR_ACCESS_DENIED;
    return false;
  }
  return true;
}

std::string CacheStem(const std::string& target) { return PathKey(target) + "." + LeafOf(target); }

bool FolderRefusesNewFiles(DWORD dwError) {
  return dwError == ERROR_ACCESS_DENIED || dwError == ERROR_DISK_FULL || dwError == ERROR_HANDLE_DISK_FULL;
}

void CompleteInterruptedSave(LPCTSTR lpszFileName) {
  if (lpszFileName == nullptr || *lpszFileName == '\0') return;
  const std::string folder = CacheFolderPath();
  if (folder.empty() || NothingStaged(folder)) return;
  CompleteInterruptedSave(NativePath(lpszFileName));
}

void CompleteInterruptedSave(const std::string& nativePath) {
  const std::string folder = CacheFolderPath();
  if (folder.empty() || nativePath.empty() || NothingStaged(folder) || !TrustedFolder(folder)) return;
  CompleteStagesOf(folder, nativePath);
  // A save through a link staged the file the link names.
  char resolved[PATH_MAX];
  if (::realpath(nativePath.c_str(), resolved) != nullptr && nativePath != resolved) CompleteStagesOf(folder, resolved);
}

void CopyIntoPlace(const std::string& mirror, const std::string& target, const char* lpszName) {
  struct stat st {};
  const int fd = OpenOwnedFile(mirror, O_RDWR, st);
  if (fd < 0) {
    const DWORD dwError = ErrnoToWin32Error(errno);
    ::unlink(mirror.c_str());
    CFileException::ThrowOsError(static_cast<LONG>(dwError != 0 ? dwError : ERROR_ACCESS_DENIED), lpszName);
  }
  const auto length = static_cast<std::uint64_t>(st.st_size);
  DWORD dwError = MakeStage(fd, mirror, st, target);
  bool touched = false;
  if (dwError == 0) dwError = WriteStageOver(fd, length, target, touched);
  ::close(fd);
  if (dwError != 0 && touched) {
    // The file may be cut: the stage stays until the file is opened or saved again.
    std::lock_guard<std::mutex> lock(g_stagesMutex);
    KeptStages().insert(mirror);
  } else {
    ::unlink(mirror.c_str());
  }
  CFileException::ThrowOsError(static_cast<LONG>(dwError), lpszName);
}

}  // namespace brambolt::mirror

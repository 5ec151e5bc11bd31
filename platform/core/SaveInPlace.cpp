// A safe save's way into a folder that takes no new file, and the completion of killed ones.
#include "core/SaveInPlace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "base/LastError.h"
#include "core/CException.h"
#include "core/CString.h"
#include "os/FileApi.h"
#include "os/FileFaults.h"
#include "os/FileSupport.h"
#include "os/OwnedNames.h"
#include "os/Paths.h"

namespace brambolt::mirror {

namespace {

using u64 = std::uint64_t;

constexpr UINT kInformation = 0x40;  // MB_ICONINFORMATION | MB_OK
constexpr UINT kWarning = 0x30;      // MB_ICONEXCLAMATION | MB_OK
// The temporary file of a save in the cache folder (CMirrorFile names it), and what it becomes
// once its text and record are on the disk, before the file is written in place.
constexpr const char* kMirrorTag = "~";
constexpr const char* kStageTag = "stage-";

// A stage: the text, the target's path, a digest of each block of the file as the write in place
// found it, a slot holding the bytes of the block being written as they were before, a header, the
// progress of the write in place and a mark. The file is written in blocks of kStepBytes from its
// start, one step each.
constexpr std::size_t kStepBytes = 1 << 16;
struct StageHeader {
  u64 textLength;
  u64 pathLength;
  u64 textChecksum;
  u64 device;  // the file the text goes into, as it was when the stage was made
  u64 inode;
  u64 madeSeconds;  // when the stage was made
  u64 madeNanoseconds;
  u64 checksum;  // of the fields above and the path
};
// How far the write in place had got: the file's size and times as the last finished step left
// them, with the text's first `done` bytes at its start and the bytes the write found (the base,
// `baseSize` long, described by the block digests) after them; while a step is under way
// (`pending`, the time in nanoseconds after 1970 at which it was recorded), the step's bytes up to
// `pendingEnd` may be partly in, and the slot holds what the block from `slotStart` held before.
struct StageProgress {
  u64 done;
  u64 pending;
  u64 pendingEnd;
  u64 pendingSize;
  u64 size;
  u64 mtimeSeconds;
  u64 mtimeNanoseconds;
  u64 ctimeSeconds;
  u64 ctimeNanoseconds;
  u64 baseSize;
  u64 slotStart;
  u64 slotLength;
  u64 checksum;  // of the fields above
};
constexpr char kStageMark[8] = {'V', 'B', 'S', 'T', 'A', 'G', 'E', '3'};
// Stages of the previous version: the text, the path, the same header, a progress record of 80
// bytes without the base, and this mark. They do not tell enough to check the file's bytes.
constexpr char kEarlierStageMark[8] = {'V', 'B', 'S', 'T', 'A', 'G', 'E', '2'};
constexpr u64 kEarlierStageTail = sizeof(StageHeader) + 80 + sizeof kEarlierStageMark;
// How long after a step was recorded the write it records may have changed the file: a file
// changed later than that was written by someone else.
constexpr u64 kStepWindowNanoseconds = 2'000'000'000ull;
// How long an open waits for another process to finish writing a stage of the file in place.
constexpr int kWaitForOtherWriterMilliseconds = 5000;
constexpr u64 kStageTail = sizeof(StageHeader) + sizeof(StageProgress) + sizeof kStageMark;

// The end of a stage that earlier versions of the program made under the temporary file's name:
// the text, the path, then this. It tells neither the file's identity nor the write's progress.
struct OldStageRecord {
  u64 textLength;
  u64 pathLength;
  u64 checksum;
  char mark[8];
};
constexpr char kOldStageMark[8] = {'V', 'B', 'S', 'T', 'A', 'G', 'E', '1'};

std::string LeafOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// A folder of the user's below $XDG_<kind>_HOME, else below the home folder; "" without a home.
std::string UserFolder(const char* variable, const char* fallback, const char* below) {
  if (const char* base = std::getenv(variable); base != nullptr && *base == '/') return std::string(base) + below;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
    return std::string(home) + fallback + below;
  return std::string();
}

// The cache folder's path, "" when the user has no home.
std::string CacheFolderPath() { return UserFolder("XDG_CACHE_HOME", "/.cache", "/visual-brambolt/saves"); }

// Where texts of saves that could not be completed are kept for the user: with the program's
// data, not in the cache, which cleaners empty.
std::string RecoveryFolderPath() {
  return UserFolder("XDG_DATA_HOME", "/.local/share", "/visual-brambolt/recovered");
}

constexpr u64 kFnvStart = 14695981039346656037ull;
u64 Fnv(u64 hash, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

u64 HeaderChecksum(const StageHeader& header, const std::string& path) {
  return Fnv(Fnv(kFnvStart, &header, offsetof(StageHeader, checksum)), path.data(), path.size());
}
u64 ProgressChecksum(const StageProgress& progress) {
  return Fnv(kFnvStart, &progress, offsetof(StageProgress, checksum));
}

// A stable short name for a target's path, so that its files in the cache folder are found again
// by the next process.
std::string PathKey(const std::string& target) {
  u64 hash = Fnv(kFnvStart, target.data(), target.size());
  static const char digits[] = "0123456789abcdef";
  std::string key;
  for (int i = 0; i < 16; ++i, hash >>= 4) key.push_back(digits[hash & 15]);
  return key;
}

std::string Hex(u64 value) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  do {
    hex.insert(hex.begin(), digits[value & 15]);
    value >>= 4;
  } while (value != 0);
  return hex;
}

// The identity of a file (its device and inode) as a stage's name carries it.
std::string IdentityKey(const struct stat& st) {
  return "i" + Hex(static_cast<u64>(st.st_dev)) + "-" + Hex(static_cast<u64>(st.st_ino));
}

// The stem of a stage's name: the key of the target's path, the identity of the file and its
// name, so that a stage whose record is damaged is still found through the file's path or
// through any other name of the file.
std::string StageStem(const std::string& target, const struct stat& file) {
  return PathKey(target) + "." + IdentityKey(file) + "." + LeafOf(target);
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

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A file of the cache folder opened: never through a link, never waiting on a FIFO, only a
// regular file of this user. -1 otherwise.
int OpenOwnedFile(const std::string& path, int flags, struct stat& st) {
  const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool ReadAt(int fd, void* data, std::size_t size, u64 offset) {
  auto* bytes = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::pread(fd, bytes, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<std::size_t>(n);
    offset += static_cast<u64>(n);
  }
  return true;
}

// The Win32 error of a failed write, or 0.
DWORD WriteAt(int fd, const void* data, std::size_t size, u64 offset) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, bytes, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return ErrnoToWin32Error(n < 0 ? errno : ENOSPC);
    bytes += n;
    size -= static_cast<std::size_t>(n);
    offset += static_cast<u64>(n);
  }
  return 0;
}

bool TextChecksum(int fd, u64 length, u64& checksum) {
  std::vector<char> buffer(1 << 16);
  u64 hash = kFnvStart;
  for (u64 done = 0; done < length;) {
    const auto want = static_cast<std::size_t>(std::min<u64>(buffer.size(), length - done));
    if (!ReadAt(fd, buffer.data(), want, done)) return false;
    hash = Fnv(hash, buffer.data(), want);
    done += want;
  }
  checksum = hash;
  return true;
}

// Whether the first `count` bytes of two files are the same.
bool SameBytes(int one, int other, u64 count) {
  std::vector<char> a(1 << 16);
  std::vector<char> b(1 << 16);
  for (u64 done = 0; done < count;) {
    const auto want = static_cast<std::size_t>(std::min<u64>(a.size(), count - done));
    if (!ReadAt(one, a.data(), want, done) || !ReadAt(other, b.data(), want, done) ||
        std::memcmp(a.data(), b.data(), want) != 0)
      return false;
    done += want;
  }
  return true;
}

u64 Nanoseconds(const struct timespec& time) {
  return time.tv_sec < 0 ? 0 : static_cast<u64>(time.tv_sec) * 1'000'000'000ull + static_cast<u64>(time.tv_nsec);
}

u64 NowNanoseconds() {
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return std::max<u64>(Nanoseconds(now), 2);
}

bool SameTime(u64 seconds, u64 nanoseconds, const struct timespec& time) {
  return seconds == static_cast<u64>(time.tv_sec) && nanoseconds == static_cast<u64>(time.tv_nsec);
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
// two processes writing the file in place (or one writing, one checking it) take turns.
class InPlaceLock {
 public:
  explicit InPlaceLock(const std::string& target) : m_fd(::open(target.c_str(), O_RDWR | O_CLOEXEC)) {
    if (m_fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
      m_fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
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

// Takes the room the text needs, so that a full disk refuses the write before a byte of the file
// has changed. The Win32 error, or 0.
DWORD Reserve(int fd, u64 length) {
  if (length > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(length)) != 0 &&
      (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
    return ErrnoToWin32Error(errno);
  return 0;
}

u64 BlocksOf(u64 size) { return (size + kStepBytes - 1) / kStepBytes; }

// The digest of `length` bytes of a file from `start`; false when they cannot all be read.
bool DigestOf(int fd, u64 start, u64 length, u64& digest) {
  std::vector<char> buffer(std::min<u64>(length, kStepBytes));
  u64 hash = kFnvStart;
  for (u64 done = 0; done < length;) {
    const auto want = static_cast<std::size_t>(std::min<u64>(buffer.size(), length - done));
    if (!ReadAt(fd, buffer.data(), want, start + done)) return false;
    hash = Fnv(hash, buffer.data(), want);
    done += want;
  }
  digest = hash;
  return true;
}

// The digest of each block of a file of `size` bytes; false when it cannot all be read.
bool BlockDigests(int fd, u64 size, std::vector<u64>& digests) {
  digests.assign(static_cast<std::size_t>(BlocksOf(size)), 0);
  for (u64 k = 0; k < digests.size(); ++k)
    if (!DigestOf(fd, k * kStepBytes, std::min<u64>(kStepBytes, size - k * kStepBytes), digests[k])) return false;
  return true;
}

// The progress record of a stage, rewritten at each step of the write in place, with the stage's
// block digests and slot, which describe the bytes the write found.
struct Progress {
  int fd = -1;
  u64 at = 0;         // the progress record
  u64 digestsAt = 0;  // the block digests
  u64 blocks = 0;     // how many digests there is room for
  u64 slotAt = 0;     // the slot, kStepBytes long
  std::string path;
  StageProgress p{};

  // Records the digest of each block of the file (`size` bytes, read through `file`) as the write
  // in place finds it. The Win32 error, or 0.
  DWORD DescribeBase(int file, u64 size) {
    if (BlocksOf(size) > blocks) return ERROR_INVALID_DATA;
    std::vector<u64> digests;
    if (!BlockDigests(file, size, digests)) return ERROR_READ_FAULT;
    if (const int fault = FileFault(FileStep::Write, path)) return ErrnoToWin32Error(fault);
    if (const DWORD dwError = WriteAt(fd, digests.data(), digests.size() * sizeof(u64), digestsAt)) return dwError;
    p.baseSize = size;
    p.slotStart = p.slotLength = 0;
    return 0;
  }
  // Keeps in the slot what the block from `start` holds of the base before a step writes it.
  DWORD FillSlot(int file, u64 start) {
    p.slotStart = start;
    p.slotLength = start < p.baseSize ? std::min<u64>(kStepBytes, p.baseSize - start) : 0;
    if (p.slotLength == 0) return 0;
    std::vector<char> bytes(static_cast<std::size_t>(p.slotLength));
    if (!ReadAt(file, bytes.data(), bytes.size(), start)) return ERROR_READ_FAULT;
    if (const int fault = FileFault(FileStep::Write, path)) return ErrnoToWin32Error(fault);
    return WriteAt(fd, bytes.data(), bytes.size(), slotAt);
  }

  // The file as a finished step left it.
  void Settle(const struct stat& st) {
    p.pending = 0;
    p.pendingEnd = p.pendingSize = 0;
    p.size = static_cast<u64>(st.st_size);
    p.mtimeSeconds = static_cast<u64>(st.st_mtim.tv_sec);
    p.mtimeNanoseconds = static_cast<u64>(st.st_mtim.tv_nsec);
    p.ctimeSeconds = static_cast<u64>(st.st_ctim.tv_sec);
    p.ctimeNanoseconds = static_cast<u64>(st.st_ctim.tv_nsec);
  }
  DWORD Put() {
    p.checksum = ProgressChecksum(p);
    if (const int fault = FileFault(FileStep::Write, path)) return ErrnoToWin32Error(fault);
    return WriteAt(fd, &p, sizeof p, at);
  }
};

// Writes the first `length` bytes of the stage over the target from its start, sets its end when
// every byte is there (never before) and makes it durable, recording each step in the stage
// before and after it. `lockFd` is the target's locked descriptor, with the room taken. The Win32
// error, or 0; `touched` tells whether the file was changed.
DWORD WriteText(int stage, u64 length, int lockFd, const std::string& target, Progress& progress, bool& touched) {
  touched = false;
  Handle out(CreateFileAtSystemPath(target, GENERIC_WRITE, 0, OPEN_EXISTING, 0));
  if (!out.Valid()) return GetLastError();
  std::vector<char> buffer(kStepBytes);
  struct stat st {};
  for (u64 done = 0; done < length;) {
    const auto want = static_cast<std::size_t>(std::min<u64>(buffer.size(), length - done));
    if (!ReadAt(stage, buffer.data(), want, done)) return ERROR_READ_FAULT;
    if (const DWORD dwError = progress.FillSlot(lockFd, done)) return dwError;
    progress.p.pending = NowNanoseconds();
    progress.p.pendingEnd = done + want;
    progress.p.pendingSize = std::max<u64>(progress.p.size, done + want);
    if (const DWORD dwError = progress.Put()) return dwError;
    DWORD nWritten = 0;
    if (!WriteFile(out.Get(), buffer.data(), static_cast<DWORD>(want), &nWritten, nullptr)) {
      touched = touched || nWritten > 0;
      return GetLastError();
    }
    touched = true;
    done += want;
    if (::fstat(lockFd, &st) != 0) return ErrnoToWin32Error(errno);
    progress.p.done = done;
    progress.Settle(st);
    if (const DWORD dwError = progress.Put()) return dwError;
  }
  progress.p.pending = NowNanoseconds();
  progress.p.pendingEnd = progress.p.pendingSize = length;
  if (const DWORD dwError = progress.Put()) return dwError;
  touched = true;
  if (!SetEndOfFile(out.Get()) || !FlushFileBuffers(out.Get()) || !out.Close()) return GetLastError();
  // The file is whole; a record that could not say so is found to match it.
  if (::fstat(lockFd, &st) == 0) {
    progress.p.done = length;
    progress.Settle(st);
    progress.Put();
  }
  return 0;
}

// What a stage file says, read from its end.
struct StageFile {
  std::string name;  // in the cache folder
  std::string path;
  int fd = -1;
  struct stat st {};
  bool old = false;       // made by an earlier version, under the temporary file's name
  bool earlier = false;   // made by the previous version, whose record cannot check the file's bytes
  bool readable = false;  // its header (or older record) holds
  std::string target;     // the path the save wrote
  StageHeader header{};
  bool progressKnown = false;
  Progress progress;
  bool textWhole = false;  // the text's checksum holds
  u64 keep = 0;            // the bytes a user is given: the text, or all of a damaged stage
  struct timespec made {};
};

// Reads the header (or older record) of a stage file; with `text`, checks its text too.
void ReadStage(StageFile& stage, bool text) {
  const auto size = static_cast<u64>(stage.st.st_size);
  stage.keep = size;
  stage.made = stage.st.st_mtim;
  char mark[8] = {};
  if (size < sizeof mark || !ReadAt(stage.fd, mark, sizeof mark, size - sizeof mark)) return;
  if (std::memcmp(mark, kOldStageMark, sizeof mark) == 0) {
    stage.old = true;
    OldStageRecord record{};
    if (size < sizeof record || !ReadAt(stage.fd, &record, sizeof record, size - sizeof record) ||
        record.pathLength > PATH_MAX || record.textLength > size ||
        record.textLength + record.pathLength + sizeof record != size)
      return;
    std::string path(static_cast<std::size_t>(record.pathLength), '\0');
    if (!ReadAt(stage.fd, path.data(), path.size(), record.textLength)) return;
    stage.readable = true;
    stage.target = path;
    stage.keep = record.textLength;
    u64 checksum = 0;
    stage.textWhole = text && TextChecksum(stage.fd, record.textLength, checksum) &&
                      Fnv(checksum, path.data(), path.size()) == record.checksum;
    return;
  }
  StageHeader& header = stage.header;
  stage.earlier = std::memcmp(mark, kEarlierStageMark, sizeof mark) == 0;
  const u64 tail = stage.earlier ? kEarlierStageTail : kStageTail;
  if ((!stage.earlier && std::memcmp(mark, kStageMark, sizeof mark) != 0) || size < tail ||
      !ReadAt(stage.fd, &header, sizeof header, size - tail) || header.pathLength > PATH_MAX ||
      header.textLength > size - tail || header.pathLength > size - tail - header.textLength)
    return;
  // Between the path and the header: nothing in a stage of the previous version; the block
  // digests and the slot in this one.
  const u64 between = size - tail - header.textLength - header.pathLength;
  if (stage.earlier ? between != 0 : (between < kStepBytes || (between - kStepBytes) % sizeof(u64) != 0)) return;
  std::string path(static_cast<std::size_t>(header.pathLength), '\0');
  if (!ReadAt(stage.fd, path.data(), path.size(), header.textLength) || HeaderChecksum(header, path) != header.checksum)
    return;
  stage.readable = true;
  stage.target = path;
  stage.keep = header.textLength;
  stage.made.tv_sec = static_cast<time_t>(header.madeSeconds);
  stage.made.tv_nsec = static_cast<long>(header.madeNanoseconds);
  Progress& progress = stage.progress;
  progress.fd = stage.fd;
  progress.path = stage.path;
  if (!stage.earlier) {
    progress.at = size - sizeof(StageProgress) - sizeof kStageMark;
    progress.digestsAt = header.textLength + header.pathLength;
    progress.blocks = (between - kStepBytes) / sizeof(u64);
    progress.slotAt = progress.digestsAt + progress.blocks * sizeof(u64);
    stage.progressKnown = ReadAt(stage.fd, &progress.p, sizeof(StageProgress), progress.at) &&
                          ProgressChecksum(progress.p) == progress.p.checksum &&
                          BlocksOf(progress.p.baseSize) <= progress.blocks && progress.p.slotLength <= kStepBytes;
  }
  u64 checksum = 0;
  stage.textWhole = text && TextChecksum(stage.fd, header.textLength, checksum) && checksum == header.textChecksum;
}

// A stage of the cache folder as the index knows it.
struct Indexed {
  std::string name;
  bool old = false;
  bool readable = false;
  std::string target;
  u64 device = 0;
  u64 inode = 0;
};

// The stages of the cache folder, listed again only when the folder has changed, so that an open
// costs one stat of the folder while nothing waits there, and no listing while it is unchanged.
// A listing made while the folder's time could still move within its granularity is not trusted
// the next time.
struct FolderIndex {
  std::string folder;
  bool known = false;
  bool trusted = false;
  bool settled = false;
  dev_t device = 0;
  ino_t inode = 0;
  struct timespec time {};
  std::vector<Indexed> stages;
};
std::mutex g_indexMutex;

// Lists the folder: its stages and older stages, and removes what saves killed before their text
// was staged left (the file was not touched yet).
std::vector<Indexed> ListStages(const std::string& folder) {
  std::vector<Indexed> stages;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return stages;
  std::vector<std::string> unstaged;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    const bool staged = owned_name::OwnerOf(name, std::string(), kStageTag) != 0;
    const owned_name::Owner mirrorOwner = staged ? owned_name::Owner() : owned_name::OwnerOfName(name, std::string(), kMirrorTag);
    if (!staged && mirrorOwner.pid == 0) continue;
    StageFile stage;
    stage.path = folder + "/" + name;
    stage.fd = OpenOwnedFile(stage.path, O_RDONLY, stage.st);
    if (stage.fd < 0) continue;
    ReadStage(stage, false);
    // A save still writing its temporary file holds its lock, whatever its name says of it (a
    // home shared by two machines shows another boot's process as ended).
    const bool free = !staged && !stage.old && ::flock(stage.fd, LOCK_SH | LOCK_NB) == 0;
    ::close(stage.fd);
    if (!staged && !stage.old) {
      if (free && owned_name::MakerGone(mirrorOwner, &stage.st)) unstaged.push_back(stage.path);
      continue;
    }
    stages.push_back({name, stage.old, stage.readable, stage.target, static_cast<u64>(stage.header.device),
                      static_cast<u64>(stage.header.inode)});
  }
  ::closedir(dir);
  for (const std::string& path : unstaged) ::unlink(path.c_str());
  return stages;
}

// The names of stages in a folder that is not the user's own: nothing in it is opened.
std::vector<Indexed> StageNamesIn(const std::string& folder) {
  std::vector<Indexed> stages;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return stages;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (owned_name::OwnerOf(name, std::string(), kStageTag) != 0) stages.push_back({name, false, false, {}, 0, 0});
  }
  ::closedir(dir);
  return stages;
}

// The stages of the cache folder; `trusted` tells whether it is the user's own folder, whose
// stages are read: of another folder (a link, one others may write) only the names are listed.
std::vector<Indexed> StagesIn(const std::string& folder, bool* trusted = nullptr) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return {};
  static FolderIndex index;
  std::lock_guard<std::mutex> lock(g_indexMutex);
  if (index.known && index.settled && index.folder == folder && index.device == st.st_dev && index.inode == st.st_ino &&
      index.time.tv_sec == st.st_mtim.tv_sec && index.time.tv_nsec == st.st_mtim.tv_nsec) {
    if (trusted != nullptr) *trusted = index.trusted;
    return index.stages;
  }
  // Nothing is read or removed in a folder that is not the user's own.
  index.trusted = TrustedFolder(folder);
  if (trusted != nullptr) *trusted = index.trusted;
  index.stages = index.trusted ? ListStages(folder) : StageNamesIn(folder);
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  index.folder = folder;
  index.known = true;
  index.device = st.st_dev;
  index.inode = st.st_ino;
  index.time = st.st_mtim;
  index.settled = now.tv_sec > st.st_mtim.tv_sec + 1;
  return index.stages;
}

bool Before(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

enum class Taken {
  Yes,
  Gone,  // no longer there (or not a file of the user's)
  Held,  // another process holds it: the save that made it is writing, or another completes it
};

// Opens a stage and takes its lock, waiting up to `waitMilliseconds` for another process that
// holds it.
Taken TakeStage(const std::string& folder, const std::string& name, StageFile& stage, int waitMilliseconds = 0) {
  stage.name = name;
  stage.path = folder + "/" + name;
  stage.fd = OpenOwnedFile(stage.path, O_RDWR, stage.st);
  if (stage.fd < 0) return Taken::Gone;
  int waited = 0;
  while (::flock(stage.fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= waitMilliseconds) {
      const bool held = errno == EWOULDBLOCK;
      ::close(stage.fd);
      stage.fd = -1;
      return held ? Taken::Held : Taken::Gone;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    waited += 10;
  }
  if (::fstat(stage.fd, &stage.st) != 0 || stage.st.st_nlink == 0) {
    ::close(stage.fd);
    stage.fd = -1;
    return Taken::Gone;
  }
  return Taken::Yes;
}

// Whether no one but the user (and the system) may rename or remove what lies in the folder and
// in each folder above it: each is the user's or the system's, and one others may write into
// keeps their entries to their owners (the sticky bit of /tmp).
bool OnlyTheUserMovesIn(const std::string& folder) {
  char resolved[PATH_MAX];
  if (::realpath(folder.c_str(), resolved) == nullptr) return false;
  for (std::string path = resolved;; path = FolderOf(path)) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || (st.st_uid != ::geteuid() && st.st_uid != 0) ||
        ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (st.st_mode & S_ISVTX) == 0))
      return false;
    if (path == "/") return true;
  }
}

// The recovery folder, made when missing: a real folder of the user's that no one else may
// write, and so is the program's folder that holds it, below folders where no one else may
// move them; "" otherwise (another user could move a kept text away from where the user is told
// it is).
std::string RecoveryFolder() {
  const std::string root = RecoveryFolderPath();
  if (root.empty()) return std::string();
  if (const int fault = FileFault(FileStep::Create, root)) {
    errno = fault;
    return std::string();
  }
  if (!MakeFolders(root) || !TrustedFolder(root) || !TrustedFolder(FolderOf(root)) || !OnlyTheUserMovesIn(root))
    return std::string();
  return root;
}

// Copies the first `count` bytes of the stage into a new file of the user's recovery folder,
// named as the saved file in a folder of its own; its path, or "". The copy is made under a
// hidden name and takes the saved file's name only once it is whole and on the disk, so a copy
// cut by a kill is never taken for the text.
std::string SaveForRecovery(int fd, u64 count, const std::string& leaf) {
  const std::string root = RecoveryFolder();
  if (root.empty()) return std::string();
  const std::time_t now = std::time(nullptr);
  std::tm local {};
  ::localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H.%M.%S", &local);
  std::string folder;
  for (int n = 1;; ++n) {
    folder = root + "/" + stamp + (n > 1 ? " (" + std::to_string(n) + ")" : std::string());
    if (FileFault(FileStep::Create, folder) != 0) return std::string();
    if (::mkdir(folder.c_str(), 0700) == 0) break;
    if (errno != EEXIST || n == 100) return std::string();
  }
  const std::string name = leaf.empty() || leaf == "." || leaf == ".." ? "recovered" : leaf;
  const std::string path = folder + "/" + name;
  std::string partial;
  const int out = FileFault(FileStep::Create, path) == 0 ? owned_name::Create(folder, name, kMirrorTag, partial) : -1;
  if (out < 0) {
    ::rmdir(folder.c_str());
    return std::string();
  }
  std::vector<char> buffer(1 << 16);
  bool ok = true;
  for (u64 done = 0; ok && done < count;) {
    const auto want = static_cast<std::size_t>(std::min<u64>(buffer.size(), count - done));
    ok = ReadAt(fd, buffer.data(), want, done) && FileFault(FileStep::Write, partial) == 0 &&
         WriteAt(out, buffer.data(), want, done) == 0;
    done += want;
  }
  ok = ok && ::fsync(out) == 0;
  if (::close(out) != 0) ok = false;
  ok = ok && FileFault(FileStep::Rename, path) == 0 &&
       ::renameat2(AT_FDCWD, partial.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0;
  if (!ok) {
    ::unlink(partial.c_str());
    ::rmdir(folder.c_str());
    return std::string();
  }
  SyncFolder(folder);
  return path;
}

// Stages the user was told of that could not be set aside: this process neither completes,
// retires nor tells of them again.
std::set<std::string>& ToldStages() {
  static std::set<std::string> told;
  return told;
}

bool Told(const std::string& path) {
  std::lock_guard<std::mutex> lock(g_indexMutex);
  return ToldStages().count(path) != 0;
}

// Sets a stage whose text the recovery folder could not take aside in the cache folder, under
// the saved file's name and the time, a name no save reads, completes or removes: the copy the
// user is told of stays until the user removes it. Its first `keep` bytes are what the user is
// given (the text of a whole stage, all of a damaged one). Its new path, or "".
std::string SetAside(const StageFile& stage, const std::string& leaf) {
  const std::string folder = FolderOf(stage.path);
  const std::time_t now = std::time(nullptr);
  std::tm local {};
  ::localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H.%M.%S", &local);
  const std::string name = leaf.empty() || leaf == "." || leaf == ".." ? std::string("recovered") : leaf;
  for (int n = 1; n <= 100; ++n) {
    const std::string path = folder + "/" + name + " (interrupted save " + stamp +
                             (n > 1 ? " " + std::to_string(n) : std::string()) + ")";
    if (FileFault(FileStep::Rename, path) != 0) return std::string();
    if (::renameat2(AT_FDCWD, stage.path.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
      SyncFolder(folder);
      // What follows the text is the program's record: the user gets the text alone.
      if (stage.keep < static_cast<u64>(stage.st.st_size) && ::ftruncate(stage.fd, static_cast<off_t>(stage.keep)) == 0)
        ::fsync(stage.fd);
      return path;
    }
    if (errno != EEXIST) return std::string();
  }
  return std::string();
}

// The texts of the stages of one file kept for the user at one open, told in one message once
// they are all kept: a file with many stages gives one message, not one per stage.
struct KeptTexts {
  std::vector<std::string> messages;  // what each kept text alone would tell
  std::vector<std::string> places;    // where each text is
  std::string saved;                  // the file the saves were writing
  std::string file;                   // how the message names the file opened
  bool unsafe = false;                // a text stays where another instance may remove it
};

// Keeps the text of a stage that will not be written over the file for the user, with what to
// tell the user: that the file may be incomplete, why, and where the text is: a copy in the
// recovery folder, else the stage itself set aside. When neither can be made, the user is told
// that the text is where it lies only for now.
void KeepForUser(StageFile& stage, const std::string& opened, KeptTexts& kept, const char* why) {
  const std::string saved = stage.readable ? stage.target : opened;
  std::string where = SaveForRecovery(stage.fd, stage.keep, LeafOf(saved));
  bool safe = true;
  if (!where.empty()) {
    ::unlink(stage.path.c_str());
  } else if (where = SetAside(stage, LeafOf(saved)); where.empty()) {
    std::lock_guard<std::mutex> lock(g_indexMutex);
    if (!ToldStages().insert(stage.path).second) return;
    where = stage.path;
    safe = false;
  }
  const std::string file = saved == opened ? std::string("the file") : opened;
  CString strText;
  if (stage.textWhole) {
    strText.Format("A save of %s was interrupted before it was complete, so %s may be incomplete. The text that was "
                   "being saved was not written into it because %s. The whole text is kept in %s.",
                   saved.c_str(), file.c_str(), why, where.c_str());
  } else {
    strText.Format("A save of %s was interrupted before it was complete, so %s may be incomplete. What is left of "
                   "the text that was being saved cannot be checked because %s; it is kept in %s.",
                   saved.c_str(), file.c_str(), why, where.c_str());
  }
  kept.messages.emplace_back(static_cast<LPCTSTR>(strText));
  kept.places.push_back(where);
  kept.saved = saved;
  kept.file = file;
  kept.unsafe = kept.unsafe || !safe;
}

// Tells the user of the texts kept at one open: the message of the one text, or, for several,
// how many there are and the folders that hold them.
void TellKeptTexts(const KeptTexts& kept) {
  if (kept.messages.empty()) return;
  std::string strText;
  if (kept.messages.size() == 1) {
    strText = kept.messages.front();
  } else {
    std::vector<std::string> folders;
    for (const std::string& place : kept.places)
      if (std::find(folders.begin(), folders.end(), FolderOf(place)) == folders.end()) folders.push_back(FolderOf(place));
    std::string where;
    for (std::size_t i = 0; i < folders.size(); ++i) where += (i == 0 ? "" : i + 1 == folders.size() ? " and " : ", ") + folders[i];
    CString strAll;
    strAll.Format("%zu saves of %s were interrupted before they were complete, so %s may be incomplete. The texts "
                  "that were being saved were not written into it; each is kept, under the file's name, in %s.",
                  kept.messages.size(), kept.saved.c_str(), kept.file.c_str(), where.c_str());
    strText = static_cast<LPCTSTR>(strAll);
  }
  if (kept.unsafe) {
    CString strMore;
    strMore.Format(" No copy of %s could be made in %s, nor could it be set aside, and the program's own record "
                   "follows the text there: copy the text elsewhere now, as another instance of the program may "
                   "remove it.",
                   kept.messages.size() == 1 ? "it" : "some of them", RecoveryFolderPath().c_str());
    strText += static_cast<LPCTSTR>(strMore);
  }
  AfxReportErrorText(strText.c_str(), kWarning);
}

// What the file is to a stage of it.
enum class Fit {
  Whole,    // it holds the stage's text
  Cut,      // as the stage's write left it, or not touched yet
  Changed,  // written since by someone else, or no longer the file the stage wrote
};

// How many bytes from `from` (up to `to`) the file and the stage's text have in common.
u64 CommonRun(int fd, int stage, u64 from, u64 to) {
  std::vector<char> a(kStepBytes);
  std::vector<char> b(kStepBytes);
  for (u64 at = from; at < to;) {
    const auto want = static_cast<std::size_t>(std::min<u64>(a.size(), to - at));
    if (!ReadAt(fd, a.data(), want, at) || !ReadAt(stage, b.data(), want, at)) return at - from;
    const auto differ = std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(want), b.begin());
    const auto same = static_cast<u64>(differ.first - a.begin());
    if (same < want) return at + same - from;
    at += want;
  }
  return to - from;
}

// Whether the file's bytes from `from` to its end (`size`) are those the write in place found
// there: each whole block as its digest says, and the part of a block that a step was writing as
// the slot kept it.
bool BaseFrom(const StageFile& stage, int fd, u64 from, u64 size) {
  const StageProgress& p = stage.progress.p;
  if (from >= size) return from == size;
  if (size != p.baseSize) return false;
  std::vector<char> kept;
  std::vector<char> found;
  for (u64 block = from / kStepBytes; block * kStepBytes < size; ++block) {
    const u64 start = block * kStepBytes;
    const u64 end = std::min<u64>(start + kStepBytes, size);
    if (from <= start) {
      u64 digest = 0;
      u64 recorded = 0;
      if (!DigestOf(fd, start, end - start, digest) ||
          !ReadAt(stage.fd, &recorded, sizeof recorded, stage.progress.digestsAt + block * sizeof(u64)) || digest != recorded)
        return false;
      continue;
    }
    // The block the write was in: its bytes from `from` on are as the slot kept them.
    if (p.slotStart != start || p.slotLength != end - start) return false;
    const auto count = static_cast<std::size_t>(end - from);
    kept.resize(count);
    found.resize(count);
    if (!ReadAt(stage.fd, kept.data(), count, stage.progress.slotAt + (from - start)) ||
        !ReadAt(fd, found.data(), count, from) || kept != found)
      return false;
  }
  return true;
}

// What the file is to a stage of it. A write in place puts the text's bytes from the start, so
// a file it was cutting holds the text up to some point and, after it, the bytes the write found
// there; it is as long as those or as the text put in, whichever is longer. Every byte is checked
// against that, and the file's times tell that nothing wrote it since.
Fit FitOf(const StageFile& stage, int fd, const struct stat& st) {
  const u64 size = static_cast<u64>(st.st_size);
  if (size == stage.header.textLength && SameBytes(fd, stage.fd, size)) return Fit::Whole;
  if (stage.header.device != static_cast<u64>(st.st_dev) || stage.header.inode != static_cast<u64>(st.st_ino))
    return Fit::Changed;
  const StageProgress& p = stage.progress.p;
  // Not written since the last record...
  const bool asRecorded = size == p.size && SameTime(p.mtimeSeconds, p.mtimeNanoseconds, st.st_mtim) &&
                          SameTime(p.ctimeSeconds, p.ctimeNanoseconds, st.st_ctim);
  // ... or killed inside a step, which was the last to write the file: its modification and change
  // times are one (as a write leaves them; a copy that keeps the times, or a change of mode, parts
  // them) and fall within the window after the step was recorded.
  const u64 changed = Nanoseconds(st.st_ctim);
  const bool inStep = p.pending != 0 && Nanoseconds(st.st_mtim) == changed &&
                      changed + kStepWindowNanoseconds >= p.pending && changed <= p.pending + kStepWindowNanoseconds;
  if (!asRecorded && !inStep) return Fit::Changed;
  if (p.done > size || !SameBytes(fd, stage.fd, p.done)) return Fit::Changed;
  // Where the text stops: after the finished steps, or somewhere in the step under way.
  const u64 cut = asRecorded ? p.done : p.done + CommonRun(fd, stage.fd, p.done, std::min(p.pendingEnd, size));
  if (size != std::max(p.size, cut) || !BaseFrom(stage, fd, cut, size)) return Fit::Changed;
  return Fit::Cut;
}

// Writes the stage's text over the file it fits, under the file's lock. The Win32 error, or 0.
DWORD CompleteWith(StageFile& stage, int lockFd, const std::string& target) {
  if (const DWORD dwError = Reserve(lockFd, stage.header.textLength)) return dwError;
  struct stat st {};
  if (::fstat(lockFd, &st) != 0) return ErrnoToWin32Error(errno);
  stage.progress.p.done = 0;
  stage.progress.Settle(st);
  // The completion's write finds the file as the cut left it: that is now the base it checks.
  if (const DWORD dwError = stage.progress.DescribeBase(lockFd, static_cast<u64>(st.st_size))) return dwError;
  if (const DWORD dwError = stage.progress.Put()) return dwError;
  bool touched = false;
  return WriteText(stage.fd, stage.header.textLength, lockFd, target, stage.progress, touched);
}

// Whether the index entry is a stage of the file at `target` (whose status is `st`).
bool StageOf(const Indexed& entry, const std::string& target, const struct stat& st) {
  if (entry.readable)
    return entry.target == target ||
           (!entry.old && entry.device == static_cast<u64>(st.st_dev) && entry.inode == static_cast<u64>(st.st_ino));
  // Its record cannot be read: its name tells the path it was made for and (for stages of this
  // version) the identity of the file, so it is found through any name of the file.
  if (entry.old) {
    const std::string prefix = owned_name::Prefix(CacheStem(target), kMirrorTag);
    return entry.name.compare(0, prefix.size(), prefix) == 0;
  }
  const std::string byPath = "." + PathKey(target) + ".";
  const std::string byIdentity = IdentityKey(st) + ".";
  return entry.name.compare(0, byPath.size(), byPath) == 0 ||
         (entry.name.size() > byPath.size() && entry.name.compare(byPath.size(), byIdentity.size(), byIdentity) == 0);
}

// Completes the killed saves of the file at `target` found in the cache folder, or keeps their
// text for the user. A stage another process is writing in place (a save, or a completion) is
// waited for; false when one is still being written after the wait.
bool CompleteStagesOf(const std::string& folder, const std::string& target, const std::vector<Indexed>& entries) {
  struct stat file {};
  // A file that is away (a drive not mounted) keeps its stages for when it is back.
  if (::stat(target.c_str(), &file) != 0 || !S_ISREG(file.st_mode)) return true;
  std::vector<StageFile> stages;
  bool whole = true;
  for (const Indexed& entry : entries) {
    if (!StageOf(entry, target, file)) continue;
    StageFile stage;
    const Taken taken = TakeStage(folder, entry.name, stage, kWaitForOtherWriterMilliseconds);
    if (taken == Taken::Held) whole = false;
    if (taken != Taken::Yes) continue;
    if (Told(stage.path)) {
      ::close(stage.fd);
      continue;
    }
    if (entry.old && !owned_name::MakerGone(owned_name::OwnerOfName(entry.name, std::string(), kMirrorTag), &stage.st)) {
      ::close(stage.fd);
      continue;
    }
    ReadStage(stage, true);
    stages.push_back(std::move(stage));
  }
  // The newest first: once one is written, older ones are superseded.
  std::sort(stages.begin(), stages.end(), [](const StageFile& a, const StageFile& b) { return Before(b.made, a.made); });
  bool completed = false;
  struct timespec completedMade {};
  KeptTexts kept;
  for (StageFile& stage : stages) {
    if (stage.old) {
      KeepForUser(stage, target, kept, "it was made by an earlier version of the program, which did not record how far it had got");
      continue;
    }
    if (!stage.readable) {
      KeepForUser(stage, target, kept, "the record kept with it is damaged");
      continue;
    }
    if (completed && !Before(completedMade, stage.made)) {
      ::unlink(stage.path.c_str());
      continue;
    }
    const InPlaceLock lock(target);
    struct stat st {};
    if (lock.Fd() < 0 || ::fstat(lock.Fd(), &st) != 0) {
      KeepForUser(stage, target, kept, "the file cannot be read");
      continue;
    }
    const Fit fit = stage.progressKnown && stage.textWhole ? FitOf(stage, lock.Fd(), st) : Fit::Changed;
    if (!stage.textWhole) {
      // Damaged text: removed only when the record shows the write in place never began.
      const StageProgress& p = stage.progress.p;
      if (stage.progressKnown && p.done == 0 && p.pending == 0 && p.size == static_cast<u64>(st.st_size) &&
          SameTime(p.mtimeSeconds, p.mtimeNanoseconds, st.st_mtim) && SameTime(p.ctimeSeconds, p.ctimeNanoseconds, st.st_ctim) &&
          stage.header.device == static_cast<u64>(st.st_dev) && stage.header.inode == static_cast<u64>(st.st_ino))
        ::unlink(stage.path.c_str());
      else
        KeepForUser(stage, target, kept, "its text does not match its checksum");
      continue;
    }
    if (stage.earlier) {
      if (static_cast<u64>(st.st_size) == stage.header.textLength && SameBytes(lock.Fd(), stage.fd, stage.header.textLength))
        ::unlink(stage.path.c_str());  // the save had put the whole text in
      else
        KeepForUser(stage, target, kept, "it was made by an earlier version of the program, whose record cannot show which of the file's bytes the save had written");
      continue;
    }
    if (!stage.progressKnown) {
      KeepForUser(stage, target, kept, "the record of how far the save had got is damaged");
      continue;
    }
    if (fit == Fit::Whole) {
      ::unlink(stage.path.c_str());  // the save had put the whole text in
      continue;
    }
    if (fit == Fit::Changed) {
      const bool same = stage.header.device == static_cast<u64>(st.st_dev) && stage.header.inode == static_cast<u64>(st.st_ino);
      KeepForUser(stage, target, kept,
                  !same                                         ? "another file now has its name"
                  : file_support::IsReadOnly(target, st.st_mode) ? "the file has been made read-only"
                                                                 : "the file has changed since");
      continue;
    }
    if (CompleteWith(stage, lock.Fd(), target) != 0) {
      KeepForUser(stage, target, kept, "the file cannot be written");
      continue;
    }
    ::unlink(stage.path.c_str());
    completed = true;
    completedMade = stage.made;
    CString strText;
    strText.Format("A save of %s was interrupted before it was complete. The save has now been completed: the "
                   "file holds the text that was being saved.",
                   target.c_str());
    AfxReportErrorText(strText, kInformation);
  }
  TellKeptTexts(kept);
  for (const StageFile& stage : stages) ::close(stage.fd);
  return whole;
}

// Tells the user once of the stages of the file at `target` that lie in a cache folder that is
// not the user's own (a link to another folder, one that others may write): they are not read,
// so the file may be incomplete without the program knowing.
void TellOfUnreadStages(const std::string& folder, const std::string& target, const std::vector<Indexed>& entries) {
  struct stat file {};
  if (::stat(target.c_str(), &file) != 0) return;
  bool any = false;
  for (const Indexed& entry : entries) {
    if (!StageOf(entry, target, file)) continue;
    std::lock_guard<std::mutex> lock(g_indexMutex);
    any = ToldStages().insert(folder + "/" + entry.name).second || any;
  }
  if (!any) return;
  CString strText;
  strText.Format("A save of %s may have been interrupted before it was complete, so the file may be incomplete. "
                 "What the save left is in %s, which is not a folder of your own that only you may write (it may "
                 "be a link to another folder), so the program does not read it. Check the file, and move that "
                 "folder's files to a folder of your own if you need the text.",
                 target.c_str(), folder.c_str());
  AfxReportErrorText(strText, kWarning);
}

// Retires the stages of a file that a save has just written whole: those made before it, that
// no process is writing. `before` is the file's status before the save, when it was there.
void RetireStagesOf(const std::string& folder, const std::string& target, const struct stat* before) {
  const std::vector<Indexed> entries = StagesIn(folder);
  if (entries.empty() || !TrustedFolder(folder)) return;
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  for (const Indexed& entry : entries) {
    if (entry.old || !entry.readable || Told(folder + "/" + entry.name)) continue;
    if (entry.target != target &&
        (before == nullptr || entry.device != static_cast<u64>(before->st_dev) || entry.inode != static_cast<u64>(before->st_ino)))
      continue;
    StageFile stage;
    if (TakeStage(folder, entry.name, stage) != Taken::Yes) continue;
    ReadStage(stage, false);
    if (stage.readable && Before(stage.made, now)) ::unlink(stage.path.c_str());
    ::close(stage.fd);
  }
}

// Appends the target's path, the header and the first progress record to the temporary file, so
// that it becomes a stage, and makes it durable.
DWORD MakeStage(int fd, const std::string& mirror, u64 length, const std::string& target, const struct stat& file,
                int lockFd, Progress& progress) {
  StageHeader header{};
  header.textLength = length;
  header.pathLength = target.size();
  if (!TextChecksum(fd, length, header.textChecksum)) return ERROR_READ_FAULT;
  header.device = static_cast<u64>(file.st_dev);
  header.inode = static_cast<u64>(file.st_ino);
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  header.madeSeconds = static_cast<u64>(now.tv_sec);
  header.madeNanoseconds = static_cast<u64>(now.tv_nsec);
  header.checksum = HeaderChecksum(header, target);
  const auto base = static_cast<u64>(file.st_size);
  std::vector<u64> digests;
  if (!BlockDigests(lockFd, base, digests)) return ERROR_READ_FAULT;
  // Room for the digests of a completion's base too, which may be as long as the text.
  digests.resize(static_cast<std::size_t>(BlocksOf(std::max(base, length))), 0);
  progress.fd = fd;
  progress.digestsAt = length + target.size();
  progress.blocks = digests.size();
  progress.slotAt = progress.digestsAt + digests.size() * sizeof(u64);
  progress.at = progress.slotAt + kStepBytes + sizeof header;
  progress.path = mirror;
  progress.p = StageProgress{};
  progress.Settle(file);
  progress.p.baseSize = base;
  progress.p.checksum = ProgressChecksum(progress.p);
  std::string tail = target;
  tail.append(reinterpret_cast<const char*>(digests.data()), digests.size() * sizeof(u64));
  tail.append(kStepBytes, '\0');
  tail.append(reinterpret_cast<const char*>(&header), sizeof header);
  tail.append(reinterpret_cast<const char*>(&progress.p), sizeof progress.p);
  tail.append(kStageMark, sizeof kStageMark);
  if (const int fault = FileFault(FileStep::Write, mirror)) return ErrnoToWin32Error(fault);
  if (const DWORD dwError = WriteAt(fd, tail.data(), tail.size(), length)) return dwError;
  if (const int fault = FileFault(FileStep::Sync, mirror)) return ErrnoToWin32Error(fault);
  if (::fsync(fd) != 0) return ErrnoToWin32Error(errno);
  return 0;
}

// Gives the durable stage its stage name, and makes the name durable: only then may the file be
// written in place. The Win32 error, or 0; `stage` takes the new path.
DWORD NameStage(const std::string& mirror, const std::string& target, const struct stat& file, std::string& stage) {
  const std::string folder = FolderOf(mirror);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = owned_name::Make(folder, StageStem(target, file), kStageTag);
    if (const int fault = FileFault(FileStep::Rename, name)) return ErrnoToWin32Error(fault);
    if (::renameat2(AT_FDCWD, mirror.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
      stage = name;
      SyncFolder(folder);
      return 0;
    }
    if (errno != EEXIST) return ErrnoToWin32Error(errno);
  }
  return ERROR_FILE_EXISTS;
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

bool CompleteInterruptedSave(LPCTSTR lpszFileName) {
  if (lpszFileName == nullptr || *lpszFileName == '\0') return true;
  const std::string folder = CacheFolderPath();
  if (folder.empty() || StagesIn(folder).empty()) return true;
  return CompleteInterruptedSave(NativePath(lpszFileName));
}

bool CompleteInterruptedSave(const std::string& nativePath) {
  const std::string folder = CacheFolderPath();
  if (folder.empty() || nativePath.empty()) return true;
  bool trusted = false;
  const std::vector<Indexed> entries = StagesIn(folder, &trusted);
  if (entries.empty()) return true;
  if (!trusted || !TrustedFolder(folder)) {
    TellOfUnreadStages(folder, nativePath, entries);
    return true;
  }
  return CompleteStagesOf(folder, nativePath, entries);
}

void RetireInterruptedSaves(const std::string& target, const struct stat* before) {
  const std::string folder = CacheFolderPath();
  if (!folder.empty() && !target.empty()) RetireStagesOf(folder, target, before);
}

void CopyIntoPlace(const std::string& mirror, const std::string& target, const char* lpszName) {
  struct stat st {};
  const int fd = OpenOwnedFile(mirror, O_RDWR, st);
  if (fd < 0) {
    const DWORD dwError = ErrnoToWin32Error(errno);
    ::unlink(mirror.c_str());
    CFileException::ThrowOsError(static_cast<LONG>(dwError != 0 ? dwError : ERROR_ACCESS_DENIED), lpszName);
  }
  // Held until the stage is gone or kept: no other process takes it for a killed save's meanwhile.
  ::flock(fd, LOCK_EX | LOCK_NB);
  const auto length = static_cast<u64>(st.st_size);
  std::string stage;
  bool touched = false;
  struct stat before {};
  DWORD dwError = 0;
  {
    const InPlaceLock lock(target);
    if (lock.Fd() < 0) dwError = ErrnoToWin32Error(errno);
    if (dwError == 0) dwError = Reserve(lock.Fd(), length);
    if (dwError == 0 && ::fstat(lock.Fd(), &before) != 0) dwError = ErrnoToWin32Error(errno);
    Progress progress;
    if (dwError == 0) dwError = MakeStage(fd, mirror, length, target, before, lock.Fd(), progress);
    if (dwError == 0) dwError = NameStage(mirror, target, before, stage);
    if (dwError == 0) {
      progress.path = stage;
      dwError = WriteText(fd, length, lock.Fd(), target, progress, touched);
    }
  }
  // A write cut after it began leaves the stage, to be completed when the file is opened or saved
  // again; otherwise the file has its old or its new text whole.
  if (dwError == 0 || !touched) ::unlink((stage.empty() ? mirror : stage).c_str());
  ::close(fd);
  if (dwError == 0) RetireInterruptedSaves(target, &before);
  CFileException::ThrowOsError(static_cast<LONG>(dwError), lpszName);
}

// Insert Files and every other copy of a user's file read the completed text.
[[maybe_unused]] const bool g_copiesComplete = (SetBeforeCopyHook([](const std::string& nativePath) { return CompleteInterruptedSave(nativePath); }), true);

}  // namespace brambolt::mirror

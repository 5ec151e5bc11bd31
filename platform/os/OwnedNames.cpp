// Owned temporary names: made, recognised and cleared by one set of rules.
#include "os/OwnedNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <random>
#include <vector>

namespace brambolt::owned_name {

namespace {

constexpr std::size_t kPidDigits = 10;     // the most a process id takes
constexpr std::size_t kStartDigits = 20;   // the most a start time takes
constexpr std::size_t kBootDigits = 8;     // the part of the boot's id a name carries
constexpr std::size_t kRandomDigits = 12;  // the random part, lowercase hex
const std::string kUnknownBoot(kBootDigits, '0');

// The stem cut to what a name of this tag leaves for it, never through a UTF-8 sequence, and
// never to nothing: a stem with no character boundary in reach (bytes that are not UTF-8) is cut
// where the room ends.
std::string ShortStem(const std::string& stem, const std::string& tag) {
  const std::size_t overhead =
      1 + 1 + tag.size() + kPidDigits + 1 + kStartDigits + 1 + kBootDigits + 1 + kRandomDigits;
  const std::size_t room = overhead + 1 < kNameLimit ? kNameLimit - overhead : 1;
  if (stem.size() <= room) return stem;
  std::size_t cut = room;
  while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
  return stem.substr(0, cut > 0 ? cut : room);
}

std::string RandomPart() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  static const char digits[] = "0123456789abcdef";
  std::string part;
  std::uint64_t value = generator();
  for (std::size_t i = 0; i < kRandomDigits; ++i, value >>= 4) part.push_back(digits[value & 15]);
  return part;
}

bool IsLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number of name[from, to): digits only, no leading zero, at most `most` digits, and
// no more than the largest value a number holds (one past it would be read as another number).
bool Number(const std::string& name, std::size_t from, std::size_t to, std::size_t most, unsigned long long& value) {
  if (to <= from || to - from > most || (name[from] == '0' && to - from > 1)) return false;
  value = 0;
  for (std::size_t i = from; i < to; ++i) {
    if (!IsDigit(name[i])) return false;
    const auto digit = static_cast<unsigned long long>(name[i] - '0');
    if (value > (ULLONG_MAX - digit) / 10) return false;
    value = value * 10 + digit;
  }
  return true;
}

// Where the random part's dot is, when the name ends in "." + 12 hex digits; else npos.
std::size_t TailDot(const std::string& name) {
  if (name.size() < kRandomDigits + 2) return std::string::npos;
  const std::size_t dot = name.size() - kRandomDigits - 1;
  if (name[dot] != '.') return std::string::npos;
  for (std::size_t i = dot + 1; i < name.size(); ++i)
    if (!IsLowerHex(name[i])) return std::string::npos;
  return dot;
}

// The owner written in name[start, dot): "<pid>" or "<pid>-<start>-<boot>".
Owner OwnerBetween(const std::string& name, std::size_t start, std::size_t dot) {
  Owner owner;
  unsigned long long pid = 0;
  const std::size_t dash = name.find('-', start);
  if (dash == std::string::npos || dash > dot) {
    if (Number(name, start, dot, kPidDigits, pid) && pid > 0 && pid <= INT_MAX) owner.pid = static_cast<pid_t>(pid);
    return owner;
  }
  if (dot < start + kBootDigits + 4 || name[dot - kBootDigits - 1] != '-') return owner;
  const std::size_t bootAt = dot - kBootDigits;
  for (std::size_t i = bootAt; i < dot; ++i)
    if (!IsLowerHex(name[i])) return owner;
  unsigned long long startTime = 0;
  if (!Number(name, start, dash, kPidDigits, pid) || pid == 0 || pid > INT_MAX ||
      !Number(name, dash + 1, bootAt - 1, kStartDigits, startTime))
    return owner;
  owner.pid = static_cast<pid_t>(pid);
  owner.identified = true;
  owner.start = startTime;
  owner.boot = name.substr(bootAt, kBootDigits);
  return owner;
}

// Where the owner begins in a name of any stem, read back from the random part: the start of
// "<pid>-<start>-<boot>" or of "<pid>"; npos when neither is there.
std::size_t OwnerStart(const std::string& name, std::size_t dot) {
  std::size_t at = dot;
  if (dot >= kBootDigits + 1 && name[dot - kBootDigits - 1] == '-') {
    bool hex = true;
    for (std::size_t i = dot - kBootDigits; i < dot; ++i) hex = hex && IsLowerHex(name[i]);
    std::size_t start = dot - kBootDigits - 1;
    std::size_t digits = start;
    while (digits > 0 && IsDigit(name[digits - 1])) --digits;
    if (hex && digits < start && digits > 0 && name[digits - 1] == '-') {
      std::size_t pid = digits - 1;
      while (pid > 0 && IsDigit(name[pid - 1])) --pid;
      if (pid < digits - 1) return pid;
    }
  }
  while (at > 0 && IsDigit(name[at - 1])) --at;
  return at < dot ? at : std::string::npos;
}

std::string ReadLine(const char* path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// The first hex digits of this boot's id, or zeros when the system does not tell it.
const std::string& BootId() {
  static const std::string boot = [] {
    std::string digits;
    for (const char c : ReadLine("/proc/sys/kernel/random/boot_id"))
      if (IsLowerHex(c) && digits.size() < kBootDigits) digits.push_back(c);
    return digits.size() == kBootDigits ? digits : kUnknownBoot;
  }();
  return boot;
}

// The start time of a process (clock ticks after boot), 0 when it cannot be read.
unsigned long long StartTimeOf(pid_t pid) {
  const std::string line = ReadLine(("/proc/" + std::to_string(pid) + "/stat").c_str());
  // The command name may hold blanks and parentheses: the fields that follow start after the
  // last ')', with the state (the third field); the start time is the 22nd.
  const std::size_t close = line.rfind(')');
  if (close == std::string::npos) return 0;
  std::size_t at = close + 1;
  for (int field = 3; field < 22; ++field) {
    at = line.find(' ', at + 1);
    if (at == std::string::npos) return 0;
  }
  return std::strtoull(line.c_str() + at + 1, nullptr, 10);
}

// The time of the boot in seconds since 1970, 0 when unknown.
long long BootTime() {
  static const long long boot = [] {
    std::ifstream in("/proc/stat");
    std::string word;
    while (in >> word)
      if (word == "btime" && (in >> word)) return std::atoll(word.c_str());
    return 0LL;
  }();
  return boot;
}

// This process's owner part: "<pid>-<start>-<boot>". A forked child has its own.
std::string SelfOwner() {
  static std::mutex mutex;
  static pid_t cachedPid = 0;
  static std::string cached;
  const pid_t pid = ::getpid();
  std::lock_guard<std::mutex> lock(mutex);
  if (pid != cachedPid) {
    cached = std::to_string(pid) + "-" + std::to_string(StartTimeOf(pid)) + "-" + BootId();
    cachedPid = pid;
  }
  return cached;
}

// Whether a process holds the lock of the folder's file: its maker, still writing it, whatever
// its name says of it (a home shared by two machines shows another boot's process as ended).
bool LockHeld(int folderFd, const std::string& name) {
  const int fd = ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

}  // namespace

std::string Prefix(const std::string& stem, const std::string& tag) {
  return "." + ShortStem(stem, tag) + "." + tag;
}

std::string Make(const std::string& folder, const std::string& stem, const std::string& tag) {
  return folder + "/" + Prefix(stem, tag) + SelfOwner() + "." + RandomPart();
}

int Create(const std::string& folder, const std::string& stem, const std::string& tag, std::string& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = Make(folder, stem, tag);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) ::flock(fd, LOCK_EX | LOCK_NB);  // held while the maker has it open
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  path.clear();
  return -1;
}

Owner OwnerOfName(const std::string& name, const std::string& stem, const std::string& tag) {
  const std::size_t dot = TailDot(name);
  if (dot == std::string::npos || name.empty() || name[0] != '.') return Owner();
  if (!stem.empty()) {
    const std::string prefix = Prefix(stem, tag);
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 || dot < prefix.size()) return Owner();
    return OwnerBetween(name, prefix.size(), dot);
  }
  // Any stem: "." + at least one byte + "." + tag before the owner.
  const std::size_t start = OwnerStart(name, dot);
  const std::string mark = "." + tag;
  if (start == std::string::npos || start < 2 + mark.size() || name.compare(start - mark.size(), mark.size(), mark) != 0)
    return Owner();
  return OwnerBetween(name, start, dot);
}

pid_t OwnerOf(const std::string& name, const std::string& stem, const std::string& tag) {
  return OwnerOfName(name, stem, tag).pid;
}

bool OwnerGone(pid_t pid) {
  if (pid <= 0 || pid == ::getpid()) return false;
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

bool MakerGone(const Owner& owner, const struct stat* entry) {
  if (owner.pid <= 0) return false;
  if (owner.identified) {
    if (owner.boot != kUnknownBoot && BootId() != kUnknownBoot && owner.boot != BootId()) return true;
    if (owner.pid != ::getpid() && ::kill(owner.pid, 0) != 0 && errno == ESRCH) return true;
    const unsigned long long start = StartTimeOf(owner.pid);
    return start != 0 && start != owner.start;
  }
  if (OwnerGone(owner.pid)) return true;
  if (owner.pid == ::getpid() || entry == nullptr) return false;
  // A process of that id that started after the entry last changed did not make it.
  const long ticks = ::sysconf(_SC_CLK_TCK);
  const unsigned long long start = StartTimeOf(owner.pid);
  if (ticks <= 0 || start == 0 || BootTime() == 0) return false;
  const long long startedAt = BootTime() + static_cast<long long>(start / static_cast<unsigned long long>(ticks));
  return startedAt > static_cast<long long>(entry->st_ctim.tv_sec) + 1;
}

void RemoveDeadLeftovers(const std::string& folder, const std::string& stem, const std::string& tag) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const int folderFd = ::dirfd(dir);
  std::vector<std::string> dead;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    const Owner owner = OwnerOfName(name, stem, tag);
    if (owner.pid == 0) continue;
    struct stat st {};
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        st.st_uid == ::geteuid() && MakerGone(owner, &st) && !LockHeld(folderFd, name))
      dead.push_back(name);
  }
  for (const std::string& name : dead) ::unlinkat(folderFd, name.c_str(), 0);
  ::closedir(dir);
}

}  // namespace brambolt::owned_name

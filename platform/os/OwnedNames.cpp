// Owned temporary names: made, recognised and cleared by one set of rules.
#include "os/OwnedNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace brambolt::owned_name {

namespace {

constexpr std::size_t kPidDigits = 10;     // the most a process id takes
constexpr std::size_t kRandomDigits = 12;  // the random part, lowercase hex

// The stem cut to what a name of this tag leaves for it, never through a UTF-8 sequence.
std::string ShortStem(const std::string& stem, const std::string& tag) {
  const std::size_t overhead = 1 + 1 + tag.size() + kPidDigits + 1 + kRandomDigits;
  const std::size_t room = overhead < kNameLimit ? kNameLimit - overhead : 0;
  if (stem.size() <= room) return stem;
  std::size_t cut = room;
  while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
  return stem.substr(0, cut);
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

// The process id of "<pid>.<random>" that ends the name from `start`, else 0.
pid_t OwnerInTail(const std::string& name, std::size_t start) {
  if (name.size() < start + 2 + kRandomDigits) return 0;
  const std::size_t dot = name.size() - kRandomDigits - 1;
  if (name[dot] != '.') return 0;
  for (std::size_t i = dot + 1; i < name.size(); ++i)
    if (!IsLowerHex(name[i])) return 0;
  const std::size_t digits = dot - start;
  if (digits == 0 || digits > kPidDigits || name[start] == '0') return 0;
  long long pid = 0;
  for (std::size_t i = start; i < dot; ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    pid = pid * 10 + (name[i] - '0');
  }
  return pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

}  // namespace

std::string Prefix(const std::string& stem, const std::string& tag) {
  return "." + ShortStem(stem, tag) + "." + tag;
}

std::string Make(const std::string& folder, const std::string& stem, const std::string& tag) {
  return folder + "/" + Prefix(stem, tag) + std::to_string(::getpid()) + "." + RandomPart();
}

int Create(const std::string& folder, const std::string& stem, const std::string& tag, std::string& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = Make(folder, stem, tag);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  path.clear();
  return -1;
}

pid_t OwnerOf(const std::string& name, const std::string& stem, const std::string& tag) {
  if (!stem.empty()) {
    const std::string prefix = Prefix(stem, tag);
    return name.compare(0, prefix.size(), prefix) == 0 ? OwnerInTail(name, prefix.size()) : 0;
  }
  // Any stem: "." + at least one byte + "." + tag before the tail; the tag is found from the end,
  // after the tail's shape is known.
  const std::size_t tailDot = name.size() >= kRandomDigits + 1 ? name.size() - kRandomDigits - 1 : 0;
  if (name.size() < 3 + tag.size() + 2 + kRandomDigits || name[0] != '.') return 0;
  std::size_t start = tailDot;
  while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9') --start;
  const std::string mark = "." + tag;
  if (start < 2 + mark.size() || name.compare(start - mark.size(), mark.size(), mark) != 0) return 0;
  return OwnerInTail(name, start);
}

bool OwnerGone(pid_t pid) {
  if (pid <= 0 || pid == ::getpid()) return false;
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

void RemoveDeadLeftovers(const std::string& folder, const std::string& stem, const std::string& tag) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const int folderFd = ::dirfd(dir);
  std::vector<std::string> dead;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!OwnerGone(OwnerOf(name, stem, tag))) continue;
    struct stat st {};
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        st.st_uid == ::geteuid())
      dead.push_back(name);
  }
  for (const std::string& name : dead) ::unlinkat(folderFd, name.c_str(), 0);
  ::closedir(dir);
}

}  // namespace brambolt::owned_name

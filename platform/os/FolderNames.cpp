// Case-insensitive name lookup in folders: a read of the folder, or the cached names of the
// folder, which one inotify instance per process keeps current from the kernel's change events.
#include "os/FolderNames.h"

#include "base/CodePage.h"
#include "base/Convert.h"
#include "os/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <list>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace brambolt {

namespace {

using Names = std::unordered_multimap<std::string, std::string>;  // folded name -> name

// Two names fold alike exactly when FileNamesEqualNoCase holds for them: the trail byte of a
// double-byte character is kept, every other byte is upper-cased.
std::string FoldName(std::string_view name) {
  std::string folded(name);
  bool trail = false;
  for (char& c : folded) {
    const auto byte = static_cast<unsigned char>(c);
    if (!trail) c = static_cast<char>(ToUpperByte(byte));
    trail = !trail && IsPathLeadByte(byte);
  }
  return folded;
}

bool IsDotName(std::string_view name) { return name == "." || name == ".."; }

// Calls onName for each entry of an open folder but "." and "..".
template <class OnName>
void ReadFolder(DIR* d, OnName&& onName) {
  while (struct dirent* e = ::readdir(d)) {
    std::string_view entry(e->d_name);
    if (!IsDotName(entry)) onName(entry);
  }
}

bool ScanFolder(const std::string& dir, std::string_view name, std::string& found) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  bool any = false;
  ReadFolder(d, [&](std::string_view entry) {
    if (!FileNamesEqualNoCase(ProgramNameOf(entry), name)) return;
    if (!any || entry < std::string_view(found)) found.assign(entry);
    any = true;
  });
  ::closedir(d);
  return any;
}

bool FindIn(const Names& names, std::string_view name, std::string& found) {
  auto [first, last] = names.equal_range(FoldName(name));
  bool any = false;
  for (; first != last; ++first) {
    if (!any || first->second < found) found = first->second;
    any = true;
  }
  return any;
}

// File systems whose every change, by any process on the machine, raises inotify events. Network
// and user-space file systems are left out: changes made by other machines raise none there.
bool IsEventCompleteFileSystem(int dirFd) {
  struct statfs fs;
  if (::fstatfs(dirFd, &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:  // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case RAMFS_MAGIC:
    case F2FS_SUPER_MAGIC:
    case OVERLAYFS_SUPER_MAGIC:
      return true;
    default:
      return false;
  }
}

struct Folder {
  dev_t dev = 0;
  ino_t ino = 0;
  UINT codePage = 0;  // the page the names were folded in
  UINT namePage = 0;  // the charset the system's names were read in
  Names names;
  std::list<int>::iterator recent;

  // Names are kept as the system spells them, folded as the program spells them.
  void Add(std::string_view name) {
    std::string folded = FoldName(ProgramNameOf(name));
    auto [first, last] = names.equal_range(folded);
    for (; first != last; ++first)
      if (first->second == name) return;
    names.emplace(std::move(folded), std::string(name));
  }

  void Remove(std::string_view name) {
    auto [first, last] = names.equal_range(FoldName(ProgramNameOf(name)));
    for (; first != last; ++first)
      if (first->second == name) {
        names.erase(first);
        return;
      }
  }
};

// A folder's names are read once, after its watch is in place, and changed by each event of the
// watch from then on. Events are drained before every answer, and the kernel queues an event
// before the call that made the change returns, so any change made before a lookup began is
// known to it. Applying the events in order to a read taken after the watch began gives each name
// the state of its last event, or the state it kept all along when it had none.
class FolderNameCache {
 public:
  bool Find(const std::string& dir, std::string_view name, std::string& found) {
    const char* path = dir.empty() ? "." : dir.c_str();
    struct stat st;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!Ready()) {
        lock.unlock();
        return ScanFolder(dir, name, found);
      }
      Drain();
      if (::stat(path, &st) != 0 || !S_ISDIR(st.st_mode)) return false;
      if (const Folder* folder = Kept(st)) return FindIn(folder->names, name, found);
    }
    // A folder not kept is read without the lock, so that lookups elsewhere go on meanwhile.
    const int dirFd = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return false;
    struct stat opened;
    DIR* d = ::fstat(dirFd, &opened) == 0 && opened.st_dev == st.st_dev && opened.st_ino == st.st_ino
                 ? ::fdopendir(dirFd)
                 : nullptr;
    if (!d) {
      ::close(dirFd);
      return ScanFolder(path, name, found);
    }
    Folder folder;
    folder.dev = st.st_dev;
    folder.ino = st.st_ino;
    folder.codePage = GetACP();
    folder.namePage = GetSystemNameCodePage();
    ReadFolder(d, [&folder](std::string_view entry) { folder.Add(entry); });
    bool answered = FindIn(folder.names, name, found);
    if (folder.names.size() < kFolderNameCacheMinNames || folder.names.size() > kFolderNameCacheMaxNames ||
        !IsEventCompleteFileSystem(dirFd)) {
      ::closedir(d);
      return answered;
    }
    // Worth keeping: watched and read again under the lock, so that no event of the watch is
    // drained before the folder it belongs to is kept.
    std::lock_guard<std::mutex> lock(mutex_);
    if (Ready()) {
      Drain();
      if (const Folder* kept = Kept(st)) {
        answered = FindIn(kept->names, name, found);
      } else if (Keep(d, std::move(folder))) {
        answered = FindIn(folders_.at(byIdentity_.at({st.st_dev, st.st_ino})).names, name, found);
      }
    }
    ::closedir(d);
    return answered;
  }

  FolderNameCacheSize Size() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Ready()) Drain();
    return {folders_.size(), nNames_};
  }

 private:
  static constexpr uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_ONLYDIR;

  // The inotify instance of this process. A child made by fork shares its parent's instance: it
  // neither reads the parent's events nor removes its watches, it starts an instance of its own.
  bool Ready() {
    const pid_t pid = ::getpid();
    if (fd_ >= 0 && pid_ == pid) return true;
    if (fd_ >= 0) {
      ::close(fd_);
      fd_ = -1;
      folders_.clear();
      byIdentity_.clear();
      recent_.clear();
      nNames_ = 0;
    }
    if (unavailableIn_ == pid) return false;
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) {
      unavailableIn_ = pid;
      return false;
    }
    pid_ = pid;
    return true;
  }

  void Drain() {
    alignas(struct inotify_event) char buffer[16384];
    for (;;) {
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(struct inotify_event)) <= n;) {
        struct inotify_event event;
        std::memcpy(&event, buffer + at, sizeof event);
        const char* name = buffer + at + sizeof event;
        Apply(event, event.len > 0 ? std::string_view(name, ::strnlen(name, event.len)) : std::string_view());
        at += static_cast<ssize_t>(sizeof event + event.len);
      }
    }
    Trim();
  }

  void Apply(const struct inotify_event& event, std::string_view name) {
    if (event.mask & IN_Q_OVERFLOW) {
      // Events were lost: nothing cached can be trusted.
      while (!folders_.empty()) Drop(folders_.begin()->first, true);
      return;
    }
    auto it = folders_.find(event.wd);
    if (it == folders_.end()) return;
    if (event.mask & (IN_IGNORED | IN_DELETE_SELF | IN_UNMOUNT)) {
      Drop(event.wd, false);
      return;
    }
    Folder& folder = it->second;
    const std::size_t before = folder.names.size();
    if (event.mask & (IN_CREATE | IN_MOVED_TO))
      folder.Add(name);
    else if (event.mask & (IN_DELETE | IN_MOVED_FROM))
      folder.Remove(name);
    nNames_ = nNames_ - before + folder.names.size();
    if (folder.names.size() > kFolderNameCacheMaxNames) Drop(event.wd, true);
  }

  // The kept folder of that identity (now the most recently used), or null. A folder whose
  // names were folded in another code page is let go.
  const Folder* Kept(const struct stat& st) {
    auto known = byIdentity_.find({st.st_dev, st.st_ino});
    if (known == byIdentity_.end()) return nullptr;
    Folder& folder = folders_.at(known->second);
    if (folder.codePage != GetACP() || folder.namePage != GetSystemNameCodePage()) {
      Drop(known->second, true);
      return nullptr;
    }
    recent_.splice(recent_.begin(), recent_, folder.recent);
    Trim();
    return &folder;
  }

  // Watches the open folder, reads it again from its start and keeps it; false when it cannot
  // be watched.
  bool Keep(DIR* d, Folder folder) {
    // The watch goes on the folder that was opened, not on whatever the path names by now.
    const std::string openedPath = "/proc/self/fd/" + std::to_string(::dirfd(d));
    const int wd = ::inotify_add_watch(fd_, openedPath.c_str(), kEvents);
    if (wd < 0) return false;
    // Only a read begun under the watch may be amended by its events.
    ::rewinddir(d);
    folder.names.clear();
    ReadFolder(d, [&folder](std::string_view entry) { folder.Add(entry); });
    if (folder.names.size() > kFolderNameCacheMaxNames) {
      ::inotify_rm_watch(fd_, wd);
      return false;
    }
    // A folder still kept under this watch gives way to the fresh read.
    if (folders_.find(wd) != folders_.end()) Drop(wd, false);
    recent_.push_front(wd);
    folder.recent = recent_.begin();
    nNames_ += folder.names.size();
    byIdentity_[{folder.dev, folder.ino}] = wd;
    folders_.emplace(wd, std::move(folder));
    Trim();
    return true;
  }

  void Drop(int wd, bool removeWatch) {
    auto it = folders_.find(wd);
    if (it == folders_.end()) return;
    nNames_ -= it->second.names.size();
    byIdentity_.erase({it->second.dev, it->second.ino});
    recent_.erase(it->second.recent);
    folders_.erase(it);
    if (removeWatch) ::inotify_rm_watch(fd_, wd);
  }

  // Leaves out the least recently used folders beyond the bounds; the most recent one stays.
  void Trim() {
    while (recent_.size() > 1 && (folders_.size() > kFolderNameCacheMaxFolders || nNames_ > kFolderNameCacheMaxNames))
      Drop(recent_.back(), true);
  }

  std::mutex mutex_;
  int fd_ = -1;
  pid_t pid_ = 0;
  pid_t unavailableIn_ = 0;
  std::unordered_map<int, Folder> folders_;  // by watch
  std::map<std::pair<dev_t, ino_t>, int> byIdentity_;
  std::list<int> recent_;  // watches, most recently used first
  std::size_t nNames_ = 0;
};

FolderNameCache& Cache() {
  // Never destroyed: lookups may still come from other objects' destructors at exit.
  static FolderNameCache* cache = new FolderNameCache;
  return *cache;
}

}  // namespace

bool FindFileNameNoCase(const std::string& dir, std::string_view name, std::string& found) {
  if (IsDotName(name)) return false;
  return Cache().Find(dir, name, found);
}

FolderNameCacheSize GetFolderNameCacheSize() { return Cache().Size(); }

}  // namespace brambolt

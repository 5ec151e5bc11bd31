// Change notifications over inotify: one watcher thread per handle reads the folder's events and
// signals the handle; an eventfd stops it when the handle goes away.
#include "os/ChangeNotification.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "base/LastError.h"
#include "os/Paths.h"
#include "os/Waitable.h"

namespace brambolt {

namespace {

constexpr DWORD kKnownFilters = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_LAST_ACCESS |
                                FILE_NOTIFY_CHANGE_CREATION | FILE_NOTIFY_CHANGE_SECURITY;

constexpr uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
// A file saved by writing it elsewhere and renaming it over the old one is a new inode: its new
// contents arrive as a create or a move into the folder.
constexpr uint32_t kWriteEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO;

// The inotify events that report a change the filter asks for, for an entry that is a folder or
// not.
uint32_t EventsFor(DWORD filter, bool directory) {
  uint32_t events = 0;
  if (filter & (directory ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME))
    events |= kNameEvents;
  if (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)) events |= IN_ATTRIB;
  if (!directory && (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)))
    events |= kWriteEvents;
  if (filter & FILE_NOTIFY_CHANGE_LAST_ACCESS) events |= IN_ACCESS;
  if (filter & FILE_NOTIFY_CHANGE_CREATION) events |= IN_CREATE | IN_MOVED_TO;
  return events;
}

class ChangeNotification : public Waitable {
 public:
  ChangeNotification(int inotifyFd, int stopFd, bool subtree, DWORD filter)
      : Waitable(Type::ChangeNotification),
        m_inotify(inotifyFd),
        m_stop(stopFd),
        m_subtree(subtree),
        m_filter(filter) {}

  ~ChangeNotification() override {
    if (m_watcher.joinable()) {
      const uint64_t one = 1;
      [[maybe_unused]] ssize_t n = ::write(m_stop, &one, sizeof one);
      m_watcher.join();
    }
    ::close(m_inotify);
    ::close(m_stop);
  }

  // Watches `folder` (and with a subtree its folders, never following links); false when the
  // folder itself cannot be watched.
  bool Start(const std::string& folder) {
    if (!Watch(folder)) return false;
    m_watcher = std::thread([this] { Run(); });
    return true;
  }

  bool IsSignaled(DWORD) const override { return m_changes > m_armedAt; }
  bool Acquire(DWORD) override {
    m_seen = m_changes;
    return false;
  }
  // With WaitLock() held.
  void Rearm() { m_armedAt = m_seen; }

 private:
  bool Watch(const std::string& folder) {
    uint32_t mask = EventsFor(m_filter, false) | EventsFor(m_filter, true) | IN_ONLYDIR;
    if (m_subtree) mask |= IN_CREATE | IN_MOVED_TO;
    const int wd = inotify_add_watch(m_inotify, folder.c_str(), mask);
    if (wd < 0) return false;
    m_folders[wd] = folder;
    if (m_subtree) {
      std::error_code ec;
      for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
           it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) Watch(it->path().string());
      }
    }
    return true;
  }

  void Run() {
    alignas(inotify_event) char buffer[16384];
    pollfd fds[2] = {{m_inotify, POLLIN, 0}, {m_stop, POLLIN, 0}};
    for (;;) {
      if (::poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (fds[1].revents) return;
      const ssize_t length = ::read(m_inotify, buffer, sizeof buffer);
      if (length <= 0) continue;
      bool changed = false;
      for (ssize_t offset = 0; offset < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
        offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        changed |= Handle(*event);
      }
      if (changed) {
        std::lock_guard<std::mutex> lock(WaitLock());
        ++m_changes;
        NotifyWaitersLocked();
      }
    }
  }

  // True when the event is a change the filter asks for.
  bool Handle(const inotify_event& event) {
    if (event.mask & IN_Q_OVERFLOW) return true;
    if (event.mask & IN_IGNORED) {
      m_folders.erase(event.wd);
      return false;
    }
    // Events without a name concern a watched folder itself; its parent reports them by name.
    if (event.len == 0 || !event.name[0]) return false;
    const bool directory = (event.mask & IN_ISDIR) != 0;
    bool changed = (event.mask & EventsFor(m_filter, directory)) != 0;
    if (m_subtree && directory && (event.mask & (IN_CREATE | IN_MOVED_TO))) {
      auto folder = m_folders.find(event.wd);
      if (folder != m_folders.end()) {
        const std::string path = folder->second + "/" + event.name;
        Watch(path);
        // Entries made in a new folder before its watch existed were not reported one by one.
        if ((event.mask & IN_CREATE) && (EventsFor(m_filter, false) & IN_CREATE)) {
          std::error_code ec;
          changed |= !std::filesystem::is_empty(path, ec) && !ec;
        }
      }
    }
    return changed;
  }

  const int m_inotify;
  const int m_stop;
  const bool m_subtree;
  const DWORD m_filter;
  std::map<int, std::string> m_folders;  // watch descriptor -> folder; the watcher thread's
  std::thread m_watcher;
  // Guarded by WaitLock(): changes seen so far, the count the last satisfied wait saw, and the
  // count at the last re-arming.
  uint64_t m_changes = 0;
  uint64_t m_seen = 0;
  uint64_t m_armedAt = 0;
};

bool IsChangeNotification(const KernelObject& object) {
  return object.GetType() == KernelObject::Type::ChangeNotification;
}

}  // namespace

}  // namespace brambolt

HANDLE FindFirstChangeNotification(LPCSTR lpPathName, BOOL bWatchSubtree, DWORD dwNotifyFilter) {
  if (!lpPathName || !*lpPathName || dwNotifyFilter == 0 ||
      (dwNotifyFilter & ~brambolt::kKnownFilters)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::string folder = brambolt::NativePath(lpPathName);
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                     : ErrnoToWin32Error(errno));
    return INVALID_HANDLE_VALUE;
  }
  if (!S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return INVALID_HANDLE_VALUE;
  }
  const int inotifyFd = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (inotifyFd < 0) {
    SetLastError(ErrnoToWin32Error(errno));
    return INVALID_HANDLE_VALUE;
  }
  const int stopFd = eventfd(0, EFD_CLOEXEC);
  if (stopFd < 0) {
    SetLastError(ErrnoToWin32Error(errno));
    ::close(inotifyFd);
    return INVALID_HANDLE_VALUE;
  }
  auto notification = std::make_shared<brambolt::ChangeNotification>(
      inotifyFd, stopFd, bWatchSubtree != FALSE, dwNotifyFilter);
  if (!notification->Start(folder)) {
    SetLastError(ErrnoToWin32Error(errno));
    return INVALID_HANDLE_VALUE;
  }
  return brambolt::AllocHandle(notification);
}

BOOL FindNextChangeNotification(HANDLE hChangeHandle) {
  auto notification = std::dynamic_pointer_cast<brambolt::ChangeNotification>(
      brambolt::LookupHandle(hChangeHandle));
  if (!notification) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(brambolt::WaitLock());
  notification->Rearm();
  return TRUE;
}

BOOL FindCloseChangeNotification(HANDLE hChangeHandle) {
  if (!brambolt::ReleaseHandle(hChangeHandle, brambolt::IsChangeNotification)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

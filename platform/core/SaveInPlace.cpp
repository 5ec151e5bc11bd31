// A safe save's way into a folder that takes no new file, and the clean-up after killed saves.
#include "core/SaveInPlace.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/CException.h"
#include "core/CString.h"
#include "os/FileApi.h"

namespace brambolt::mirror {

namespace {

constexpr UINT kInformation = 0x40;  // MB_ICONINFORMATION | MB_OK

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

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

// A stable short name for a target's path, so that its files in the cache folder are found again
// by the next process (FNV-1a).
std::string PathKey(const std::string& target) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : target) hash = (hash ^ c) * 1099511628211ull;
  static const char digits[] = "0123456789abcdef";
  std::string key;
  for (int i = 0; i < 16; ++i, hash >>= 4) key.push_back(digits[hash & 15]);
  return key;
}

// The copy of the original an in-place save keeps while it writes; its presence says the file
// may be cut.
std::string OriginalCopyOf(const std::string& target) {
  return CacheFolderPath() + "/" + LeafOf(target) + "." + PathKey(target) + ".original";
}

// Where that copy is kept once it has been put back.
std::string KeptCopyOf(const std::string& target) {
  return CacheFolderPath() + "/" + LeafOf(target) + "." + PathKey(target) + ".before-interrupted-save";
}

bool MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = slash == std::string::npos ? path : path.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// Whether the process that made a temporary file of this name may still be writing it.
bool OwnerMayBeAlive(const std::string& rest) {
  char* end = nullptr;
  const long pid = std::strtol(rest.c_str(), &end, 10);
  if (end == rest.c_str() || *end != '.' || pid <= 0) return false;
  if (pid == ::getpid()) return true;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
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

// Writes the bytes of the file `source` over the open file `out` from its start, sets its end
// when every byte is there (never before) and makes it durable. The Win32 error, or 0.
DWORD WriteWhole(const std::string& source, Handle& out) {
  Handle in(CreateFile(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!in.Valid() || !out.Valid()) return GetLastError();
  std::vector<char> buffer(1 << 16);
  for (;;) {
    DWORD nRead = 0;
    if (!ReadFile(in.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &nRead, nullptr)) return GetLastError();
    if (nRead == 0) break;
    DWORD nWritten = 0;
    if (!WriteFile(out.Get(), buffer.data(), nRead, &nWritten, nullptr)) return GetLastError();
  }
  if (!SetEndOfFile(out.Get()) || !FlushFileBuffers(out.Get()) || !out.Close()) return GetLastError();
  return 0;
}

DWORD OverwriteInPlace(const std::string& target, const std::string& source) {
  Handle out(CreateFile(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  return WriteWhole(source, out);
}

// A copy of the target in the cache folder, on the disk before anything is written over the
// target. It is written under a temporary name of this process, so a kill leaves nothing that
// the next save would take for a whole copy.
DWORD CopyDurably(const std::string& target, const std::string& copy) {
  const std::string temp = CachePrefix(target) + std::to_string(::getpid()) + ".copy";
  Handle out(CreateFile(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
  DWORD dwError = WriteWhole(target, out);
  if (out.Valid()) out.Close();
  if (dwError == 0 && !MoveFileEx(temp.c_str(), copy.c_str(), MOVEFILE_REPLACE_EXISTING)) dwError = GetLastError();
  if (dwError != 0) DeleteFile(temp.c_str());
  return dwError;
}

}  // namespace

std::string CacheFolder() {
  const std::string folder = CacheFolderPath();
  return !folder.empty() && MakeFolders(folder) ? folder : std::string();
}

std::string BesidePrefix(const std::string& target) { return FolderOf(target) + "/." + LeafOf(target) + ".~"; }

std::string CachePrefix(const std::string& target) {
  const std::string folder = CacheFolder();
  return folder.empty() ? std::string() : folder + "/" + LeafOf(target) + "." + PathKey(target) + ".~";
}

void RemoveStaleMirrors(const std::string& prefix) {
  if (prefix.empty()) return;
  const std::string folder = FolderOf(prefix);
  const std::string start = LeafOf(prefix);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() > start.size() && name.compare(0, start.size(), start) == 0 &&
        !OwnerMayBeAlive(name.substr(start.size())))
      stale.push_back(folder + "/" + name);
  }
  ::closedir(dir);
  for (const std::string& path : stale) ::unlink(path.c_str());
}

bool FolderRefusesNewFiles(DWORD dwError) {
  return dwError == ERROR_ACCESS_DENIED || dwError == ERROR_DISK_FULL || dwError == ERROR_HANDLE_DISK_FULL;
}

void RestoreInterruptedSave(const std::string& target) {
  if (CacheFolderPath().empty()) return;
  const std::string original = OriginalCopyOf(target);
  struct stat st {};
  if (::lstat(original.c_str(), &st) != 0) return;
  CString strText;
  const std::string kept = KeptCopyOf(target);
  if (OverwriteInPlace(target, original) == 0 &&
      MoveFileEx(original.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    strText.Format("A save of %s was interrupted before it was complete. The file has been put back as it was "
                   "before that save; a copy of it is kept as %s.",
                   target.c_str(), kept.c_str());
  } else {
    strText.Format("A save of %s was interrupted before it was complete. The file as it was before that save is "
                   "kept as %s.",
                   target.c_str(), original.c_str());
  }
  AfxReportErrorText(strText, kInformation);
}

void CopyIntoPlace(const std::string& mirror, const std::string& target, const char* lpszName) {
  if (CacheFolder().empty()) CFileException::ThrowOsError(ERROR_PATH_NOT_FOUND, lpszName);
  const std::string original = OriginalCopyOf(target);
  if (const DWORD dwError = CopyDurably(target, original)) CFileException::ThrowOsError(static_cast<LONG>(dwError), lpszName);
  if (const DWORD dwError = OverwriteInPlace(target, mirror)) {
    // Put back, the copy is no longer needed; if even that fails, it stays for the next save.
    if (OverwriteInPlace(target, original) == 0) DeleteFile(original.c_str());
    CFileException::ThrowOsError(static_cast<LONG>(dwError), lpszName);
  }
  DeleteFile(original.c_str());
}

}  // namespace brambolt::mirror

// GWExtFileSystem: backslash-only path handling and the caption-reporting tree operations over
// SECFileSystem's listings and copies.
#include "model/GWExtFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/AddFolder.h"
#include "os/FileApi.h"
#include "os/Paths.h"
#include "win/WinUser.h"

namespace {

constexpr DWORD kCopyBufferSize = 10240;

bool IsSymbolicLink(const CString& path) {
  const DWORD attributes = GetFileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void ShowCaption(HWND hWnd, const CString& text) {
  if (hWnd == nullptr) return;
  SetWindowText(hWnd, text);
  UpdateWindow(hWnd);
}

// Names each file in the caption; a file already in the target is kept, never replaced.
class CaptionListener final : public AddFolderListener {
 public:
  CaptionListener(GWExtFileSystem& fs, HWND hWnd) : m_fs(fs), m_hWnd(hWnd) {}
  void CopyingFile(const CString& strSource) override { ShowCaption(m_hWnd, m_fs.GetFileName(strSource)); }
  BOOL ConfirmOverwrite(const CString&) override { return FALSE; }
  BOOL IsCancelled() override { return FALSE; }

 private:
  GWExtFileSystem& m_fs;
  HWND m_hWnd;
};

}  // namespace

GWExtFileSystem::GWExtFileSystem() = default;

GWExtFileSystem::~GWExtFileSystem() = default;

// The search is the file system's own: each step here goes on to the next entry that passes.
BOOL GWExtFileSystem::FindEntry(const CString& pattern, DWORD attributes, CString& name) {
  name.Empty();
  std::unique_ptr<CString> next(m_fs.GetNextFileName(pattern, attributes));
  if (next == nullptr) return FALSE;
  name = *next;
  return TRUE;
}

CString* GWExtFileSystem::GetNextFileName(const CString& pattern, DWORD attributes) {
  return m_fs.GetNextFileName(pattern, attributes);
}

CStringList* GWExtFileSystem::GetFileList(const CString& pattern, DWORD attributes) {
  return m_fs.GetFileList(pattern, attributes);
}

CStringList* GWExtFileSystem::GetFileListEx(const CString& pattern, DWORD attributes, BOOL recurse,
                                            CStringList* list) {
  return m_fs.GetFileListEx(pattern, attributes, recurse, list);
}

CStringList* GWExtFileSystem::GetDirectoryList(const CString& path, BOOL fullPaths) {
  return m_fs.GetDirectoryList(path, fullPaths);
}

BOOL GWExtFileSystem::DeleteFiles(const CString& pattern, DWORD attributes) {
  return m_fs.DeleteFiles(pattern, attributes);
}

BOOL GWExtFileSystem::DeleteFile(const CString& path) { return m_fs.DeleteFile(path); }

BOOL GWExtFileSystem::CloseFile(CFile* file) { return m_fs.CloseFile(file); }

BOOL GWExtFileSystem::CreateDirectoryPath(const CString& path) { return SECFileSystem::MakePath(path); }

BOOL GWExtFileSystem::IsDirectory(const CString& path) { return SECFileSystem::IsDirectory(path); }

CString GWExtFileSystem::GetFileName(const CString& path) {
  const int separator = path.ReverseFind('\\');
  return separator < 0 ? path : path.Mid(separator + 1);
}

CString GWExtFileSystem::GetPath(const CString& path, BOOL includeDrive) {
  const int separator = path.ReverseFind('\\');
  if (separator < 0) return CString();
  CString folder = path.Left(separator + 1);
  if (!includeDrive) {
    const int colon = folder.Find(':');
    if (colon >= 0) folder = folder.Mid(colon + 1);
  }
  return folder;
}

CString GWExtFileSystem::AppendPath(const CString& directory, const CString& name) {
  if (directory.IsEmpty() || directory[directory.GetLength() - 1] == '\\') return directory + name;
  return directory + "\\" + name;
}

BOOL GWExtFileSystem::CopyFile(HWND hWnd, const CString& source, const CString& target, DWORD bufferSize) {
  ShowCaption(hWnd, GetFileName(source));
  return m_fs.CopyFile(source, target, bufferSize);
}

BOOL GWExtFileSystem::CopyFiles(HWND hWnd, const CString& pattern, const CString& targetFolder, BOOL bContinue,
                                DWORD attributes) {
  std::unique_ptr<CStringList> entries(GetFileListEx(pattern, attributes, FALSE, nullptr));
  BOOL bAllCopied = TRUE;
  for (POSITION pos = entries->GetHeadPosition(); pos != nullptr;) {
    const CString& entry = entries->GetNext(pos);
    if (!CopyFile(hWnd, entry, AppendPath(targetFolder, GetFileName(entry)), kCopyBufferSize)) {
      bAllCopied = FALSE;
      if (!bContinue) break;
    }
  }
  return bAllCopied;
}

BOOL GWExtFileSystem::CreateFolders(const CString& path) {
  if (path.IsEmpty()) return FALSE;
  CString rest = path;
  if (rest[rest.GetLength() - 1] != '\\') rest += '\\';
  BOOL bResult = TRUE;
  CString prefix;
  for (int start = 0, end; (end = rest.Find('\\', start)) >= 0; start = end + 1) {
    prefix += rest.Mid(start, end - start);
    if (!prefix.IsEmpty() && prefix[prefix.GetLength() - 1] != ':') bResult = CreateDirectoryPath(prefix);
    prefix += '\\';
  }
  return bResult;
}

CString GWExtFileSystem::LiteralFolder(const CString& path) {
  std::string native = brambolt::NativePath(static_cast<LPCTSTR>(path));
  if (native.empty() || native.back() != '/') native += '/';
  return CString("\\\\?\\") + native.c_str();
}

namespace {

bool Before(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

}  // namespace

bool GWExtFileSystem::TakeFileTime(const CString& folder, struct timespec& time) {
  const std::string marker = brambolt::NativePath(static_cast<LPCTSTR>(folder)) + "/.brambolt-run-start";
  const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  // File times tick coarsely (a few milliseconds, seconds on some file systems): a file written
  // just before this call can carry the very stamp the marker gets. Stamp the marker again until
  // the file system's clock has moved on, so that every file written before the call is older.
  struct stat first {}, st {};
  bool bStamped = ::fstat(fd, &first) == 0;
  st = first;
  for (int tries = 0; bStamped && tries < 3000 && !Before(first.st_mtim, st.st_mtim); ++tries) {
    ::usleep(1000);
    bStamped = ::futimens(fd, nullptr) == 0 && ::fstat(fd, &st) == 0;
  }
  bStamped = bStamped && Before(first.st_mtim, st.st_mtim);
  ::close(fd);
  ::unlink(marker.c_str());
  time = st.st_mtim;
  return bStamped;
}

void GWExtFileSystem::RemoveFilesWrittenBefore(const CString& folder, const struct timespec& since, HWND hWnd) {
  // A walk of its own (the folders to look at, then the ones to try removing, deepest first), so
  // deep trees cost no call stack.
  const std::string root = brambolt::NativePath(static_cast<LPCTSTR>(folder));
  std::vector<std::string> pending{root}, visited;
  while (!pending.empty()) {
    const std::string dir = std::move(pending.back());
    pending.pop_back();
    visited.push_back(dir);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
      const std::string path = entry.path().string();
      struct stat st {};
      if (::lstat(path.c_str(), &st) != 0) continue;
      if (S_ISDIR(st.st_mode))
        pending.push_back(path);
      else if (Before(st.st_mtim, since))
        ::unlink(path.c_str());
    }
  }
  for (auto it = visited.rbegin(); it != visited.rend(); ++it) {
    if (*it == root) continue;
    std::error_code error;
    if (!std::filesystem::is_empty(*it, error) || error) continue;
    ShowCaption(hWnd, CString("Removing -") + std::filesystem::path(*it).filename().string().c_str());
    ::rmdir(it->c_str());
  }
}

BOOL GWExtFileSystem::RemoveFolderTree(const CString& path, HWND hWnd, BOOL bRecursive) {
  if (bRecursive && !IsSymbolicLink(path)) {
    std::unique_ptr<CStringList> folders(GetDirectoryList(path, TRUE));
    for (POSITION pos = folders->GetHeadPosition(); pos != nullptr;) {
      const CString& folder = folders->GetNext(pos);
      // A link to a folder goes as a link; what it points at stays.
      if (IsSymbolicLink(folder))
        RemoveDirectory(folder);
      else
        RemoveFolderTree(folder, hWnd, TRUE);
    }
    folders.reset();
    DeleteFiles(AppendPath(path, "*.*"), SECFILESYSTEM_ALL_ENTRIES);
  }
  CString name = path;
  if (!name.IsEmpty() && (name[name.GetLength() - 1] == '\\' || name[name.GetLength() - 1] == '/'))
    name = name.Left(name.GetLength() - 1);
  // The caption names the folder whichever separator the caller's path uses.
  ShowCaption(hWnd, "Removing -" + m_fs.GetFileName(name));
  return RemoveDirectory(path);
}

BOOL GWExtFileSystem::AddFolderToProject(HWND hWnd, const CString& source, const CString& target) {
  CaptionListener listener(*this, hWnd);
  AddFolderFiles(source, target, TRUE, listener);
  return TRUE;
}

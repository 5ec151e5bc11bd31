// GWExtFileSystem: backslash-only path handling and the caption-reporting tree operations over
// SECFileSystem's listings and copies.
#include "model/GWExtFileSystem.h"

#include <memory>

#include "model/AddFolder.h"
#include "os/FileApi.h"
#include "win/WinUser.h"

namespace {

constexpr DWORD kCopyBufferSize = 10240;

bool IsSymbolicLink(const CString& path) {
  const DWORD attributes = GetFileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The path without the separators that end it (a lone "/" stays).
CString WithoutTrailingSeparators(CString path) {
  while (path.GetLength() > 1 && (path.Right(1) == "\\" || path.Right(1) == "/"))
    path = path.Left(path.GetLength() - 1);
  return path;
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
  // The caption names the folder whichever separator the caller's path uses.
  ShowCaption(hWnd, "Removing -" + m_fs.GetFileName(WithoutTrailingSeparators(path)));
  return RemoveDirectory(path);
}

BOOL GWExtFileSystem::AddFolderToProject(HWND hWnd, const CString& source, const CString& target) {
  // Each folder of the tree that holds an entry (a folder, or a file left out) is there under the
  // target with its relative path, as when its files are copied; an empty folder is not made.
  const CString sourceFolder = WithoutTrailingSeparators(source);
  std::unique_ptr<CStringList> entries(
      GetFileListEx(m_fs.AppendPath(sourceFolder, "*.*"), SECFILESYSTEM_ALL_ENTRIES, TRUE, nullptr));
  for (POSITION pos = entries->GetHeadPosition(); pos != nullptr;) {
    const CString relative =
        WithoutTrailingSeparators(m_fs.GetPath(entries->GetNext(pos)).Mid(sourceFolder.GetLength() + 1));
    CreateFolders(relative.IsEmpty() ? target : AppendPath(target, relative));
  }
  entries.reset();
  CaptionListener listener(*this, hWnd);
  AddFolderFiles(source, target, TRUE, listener);
  return TRUE;
}

// SECFileSystem: path handling, status, listings, copies and removal over the platform's file API.
#include "foundation/SECFileSystem.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "core/CException.h"
#include "os/CrtFiles.h"
#include "os/FileApi.h"
#include "os/Paths.h"

namespace {

// The attribute bits that make an entry something other than an ordinary file.
constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x08 /* volume label */ |
                               FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;

bool PassesFilter(DWORD entryAttributes, DWORD filter) {
  if (filter == 0 || filter == FILE_ATTRIBUTE_NORMAL) return (entryAttributes & kNotOrdinary) == 0;
  if (filter == SECFILESYSTEM_ALL_ENTRIES) return true;
  return (entryAttributes & filter) != 0;
}

bool IsDotEntry(const CString& name) { return name == "." || name == ".."; }

// A symbolic link is never entered by a recursive walk: it may lead outside the tree or back up it.
bool IsSymbolicLink(const CString& path) {
  const DWORD attributes = GetFileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool QueryStatus(const CString& path, CFileStatus& status) { return CFile::GetStatus(path, status) != FALSE; }

// Hands the path's status to `use`; FALSE, without calling it, when the path has none.
template <class Use>
BOOL WithStatus(const CString& path, Use&& use) {
  CFileStatus status;
  if (!QueryStatus(path, status)) return FALSE;
  use(status);
  return TRUE;
}

// Runs `action`; a file exception it raises becomes FALSE.
template <class Action>
BOOL FalseOnFileException(Action&& action) {
  TRY {
    action();
  }
  CATCH(CFileException, e) {
    return FALSE;
  }
  END_CATCH
  return TRUE;
}

// Position of the next separator at or after `from` (or the end), never inside a double-byte character.
std::size_t NextSeparator(std::string_view path, std::size_t from) {
  std::size_t i = from;
  while (i < path.size()) {
    if (brambolt::IsPathSeparatorAt(path, i)) return i;
    i = brambolt::NextCharacter(path, i);
  }
  return path.size();
}

}  // namespace

SECFileSystem::SECFileSystem() : m_FileData{}, m_hFind(INVALID_HANDLE_VALUE) {}

SECFileSystem::~SECFileSystem() { CloseSearch(); }

void SECFileSystem::CloseSearch() {
  if (m_hFind != INVALID_HANDLE_VALUE) FindClose(m_hFind);
  m_hFind = INVALID_HANDLE_VALUE;
}

BOOL SECFileSystem::GetFileCreationTime(const CString& path, CTime& time) {
  return WithStatus(path, [&](const CFileStatus& status) { time = status.m_ctime; });
}

BOOL SECFileSystem::GetFileModifyTime(const CString& path, CTime& time) {
  return WithStatus(path, [&](const CFileStatus& status) { time = status.m_mtime; });
}

BOOL SECFileSystem::GetFileAccessTime(const CString& path, CTime& time) {
  return WithStatus(path, [&](const CFileStatus& status) { time = status.m_atime; });
}

BOOL SECFileSystem::GetFileSize(const CString& path, LONG& size) {
  CFileStatus status;
  if (!QueryStatus(path, status)) return FALSE;
  if (status.m_size > static_cast<ULONGLONG>(std::numeric_limits<LONG>::max())) return FALSE;
  size = static_cast<LONG>(status.m_size);
  return TRUE;
}

BOOL SECFileSystem::GetFileAttribute(const CString& path, BYTE& attribute) {
  return WithStatus(path, [&](const CFileStatus& status) { attribute = status.m_attribute; });
}

BOOL SECFileSystem::FileExists(const CString& path) {
  return WithStatus(path, [](const CFileStatus&) {});
}

BOOL SECFileSystem::IsDirectory(const CString& path) {
  const DWORD attributes = GetFileAttributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return FALSE;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? TRUE : FALSE;
}

BOOL SECFileSystem::ChangeDirectory(const CString& path) { return SetCurrentDirectory(path); }

// Whether a new name that the case-blind lookup finds is the old entry itself, spelled in other
// letter case: then it is not taken, and the rename gives the entry that spelling. (Another name
// of the same file, a hard link, is taken.)
BOOL SECFileSystem::IsOtherCaseOf(const CString& oldName, const CString& newName) {
  return GetFileName(oldName).CompareNoCase(GetFileName(newName)) == 0 && brambolt::IsSameFile(oldName, newName);
}

BOOL SECFileSystem::RenameFile(const CString& oldName, const CString& newName) {
  if (oldName == newName) return TRUE;
  if (!FileExists(oldName) || (FileExists(newName) && !IsOtherCaseOf(oldName, newName))) return FALSE;
  return FalseOnFileException([&] { CFile::Rename(oldName, newName); });
}

BOOL SECFileSystem::RenameDirectory(const CString& oldName, const CString& newName) {
  if (oldName == newName) return TRUE;
  if (!IsDirectory(oldName) || (IsDirectory(newName) && !IsOtherCaseOf(oldName, newName))) return FALSE;
  return FalseOnFileException([&] { CFile::Rename(oldName, newName); });
}

BOOL SECFileSystem::DeleteFile(const CString& path) {
  return FalseOnFileException([&] { CFile::Remove(path); });
}

BOOL SECFileSystem::DeleteFiles(const CString& pattern, DWORD attributes) {
  std::unique_ptr<CStringList> entries(GetFileListEx(pattern, attributes, FALSE, nullptr));
  BOOL allDeleted = TRUE;
  for (POSITION pos = entries->GetHeadPosition(); pos != nullptr;) {
    if (!DeleteFile(entries->GetNext(pos))) allDeleted = FALSE;
  }
  return allDeleted;
}

BOOL SECFileSystem::DeleteDirectory(const CString& path, BOOL recursive) {
  if (recursive && !IsSymbolicLink(path)) {
    std::unique_ptr<CStringList> folders(GetDirectoryList(path, TRUE));
    for (POSITION pos = folders->GetHeadPosition(); pos != nullptr;) {
      const CString& folder = folders->GetNext(pos);
      // A link to a folder goes as a link; what it points at stays.
      if (IsSymbolicLink(folder))
        RemoveDirectory(folder);
      else
        DeleteDirectory(folder, TRUE);
    }
    folders.reset();
    DeleteFiles(AppendPath(path, "*.*"), SECFILESYSTEM_ALL_ENTRIES);
  }
  return RemoveDirectory(path);
}

BOOL SECFileSystem::MakePath(const CString& path) {
  try {
    const std::string_view text(path, static_cast<std::size_t>(path.GetLength()));
    if (text.empty()) return FALSE;
    auto isSeparator = [&](std::size_t i) { return brambolt::IsPathSeparatorAt(text, i); };
    std::size_t pos = 0;
    if (text.size() >= 2 && isSeparator(0) && isSeparator(1)) {
      // The server and share of a network path exist or not; they are never created.
      pos = NextSeparator(text, 2);
      if (pos < text.size()) pos = NextSeparator(text, pos + 1);
    }
    while (pos < text.size()) {
      pos = NextSeparator(text, pos + 1);
      const CString prefix(path, static_cast<int>(pos));
      if (_access(prefix, 0) != 0 && !CreateDirectory(prefix, nullptr)) return FALSE;
    }
    return TRUE;
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
}

BOOL SECFileSystem::CopyFile(const CString& source, const CString& target, DWORD bufferSize) {
  // A buffer of no bytes would "copy" nothing and call it done.
  if (bufferSize == 0) return FALSE;
  std::vector<BYTE> buffer(bufferSize);
  CFileStatus status;
  if (QueryStatus(target, status)) return FALSE;

  CFile input;
  if (!input.Open(source, CFile::modeRead)) return FALSE;
  CFile output;
  if (!output.Open(target, CFile::modeCreate | CFile::modeWrite)) {
    CloseFile(&input);
    return FALSE;
  }
  try {
    ULONGLONG remaining = input.GetLength();
    while (remaining > 0) {
      const UINT chunk = static_cast<UINT>(std::min<ULONGLONG>(remaining, bufferSize));
      const UINT got = input.Read(buffer.data(), chunk);
      if (got == 0) break;
      output.Write(buffer.data(), got);
      remaining -= got;
    }
  } catch (...) {
    output.Abort();
    ::DeleteFile(target);
    throw;
  }
  CloseFile(&input);
  if (!CloseFile(&output)) {
    ::DeleteFile(target);
    return FALSE;
  }
  return TRUE;
}

BOOL SECFileSystem::CloseFile(CFile* file) {
  if (file == nullptr) return FALSE;
  return FalseOnFileException([&] { file->Close(); });
}

CString SECFileSystem::GetFileName(const CString& path) {
  const std::size_t separator = brambolt::FindLastPathSeparator(static_cast<LPCTSTR>(path));
  if (separator == std::string_view::npos) return path;
  return path.Mid(static_cast<int>(separator) + 1);
}

CString SECFileSystem::GetPath(const CString& path, BOOL includeDrive) {
  const std::size_t separator = brambolt::FindLastPathSeparator(static_cast<LPCTSTR>(path));
  if (separator == std::string_view::npos) return CString();
  CString folder = path.Left(static_cast<int>(separator) + 1);
  if (!includeDrive) {
    const int colon = folder.Find(':');
    if (colon >= 0) folder = folder.Mid(colon + 1);
  }
  return folder;
}

CString SECFileSystem::GetExtension(const CString& path) {
  const CString name = GetFileName(path);
  const int dot = name.ReverseFind('.');
  if (dot < 0 || dot == name.GetLength() - 1) return CString();
  return name.Mid(dot + 1);
}

CString SECFileSystem::GetBaseFileName(const CString& path) {
  const CString name = GetFileName(path);
  if (name.Find('.') < 0) return name;
  return name.Left(name.GetLength() - GetExtension(path).GetLength() - 1);
}

CString SECFileSystem::AppendPath(const CString& directory, const CString& name) {
  const int length = directory.GetLength();
  if (length == 0 ||
      brambolt::IsPathSeparatorAt(std::string_view(directory, static_cast<std::size_t>(length)),
                                  static_cast<std::size_t>(length) - 1))
    return directory + name;
  return directory + "\\" + name;
}

BOOL SECFileSystem::FindEntry(const CString& pattern, DWORD attributes, CString& name) {
  name.Empty();
  if (!pattern.IsEmpty()) {
    CloseSearch();
    m_hFind = FindFirstFile(pattern, &m_FileData);
    m_dwFindError = m_hFind == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    if (m_hFind == INVALID_HANDLE_VALUE) return FALSE;
  } else if (m_hFind == INVALID_HANDLE_VALUE || !FindNextFile(m_hFind, &m_FileData)) {
    return FALSE;
  }
  if (PassesFilter(m_FileData.dwFileAttributes, attributes)) name = m_FileData.cFileName;
  return TRUE;
}

CString* SECFileSystem::GetNextFileName(const CString& pattern, DWORD attributes) {
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  CString name;
  BOOL more = FindEntry(pattern, attributes, name);
  while (name.IsEmpty() && more) more = FindEntry(CString(), attributes, name);
  SetErrorMode(previousMode);
  return name.IsEmpty() ? nullptr : new CString(name);
}

void SECFileSystem::LeaveOutFolder(const CString& path, const CString& reason) {
  CString folder = path;
  while (folder.GetLength() > 1 && (folder.Right(1) == "\\" || folder.Right(1) == "/"))
    folder = folder.Left(folder.GetLength() - 1);
  for (const SECFolderLeftOut& known : m_foldersLeftOut)
    if (known.strPath == folder) return;
  m_foldersLeftOut.push_back({folder, reason});
}

void SECFileSystem::LeaveOutLinkedFolder(const CString& path) {
  LeaveOutFolder(path, "it is a link to a folder, which is not followed");
}

void SECFileSystem::NoteUnreadableFolder(const CString& pattern) {
  switch (m_dwFindError) {
    case ERROR_SUCCESS:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
      return;  // nothing there, or nothing that matches: not a folder left out
    default:
      break;
  }
  const CString folder = GetPath(pattern, TRUE);
  LeaveOutFolder(folder.IsEmpty() ? CString(".") : folder, "it cannot be read (" + DescribeError(m_dwFindError) + ")");
}

CString SECFileSystem::DescribeError(DWORD error) {
  char text[512] = {};
  if (FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                    nullptr) == 0)
    std::snprintf(text, sizeof text, "error %lu", static_cast<unsigned long>(error));
  CString description = text;
  description.TrimRight();
  while (!description.IsEmpty() && description.Right(1) == ".")
    description = description.Left(description.GetLength() - 1);
  return description;
}

CStringList* SECFileSystem::GetFileList(const CString& pattern, DWORD attributes) {
  auto list = std::make_unique<CStringList>(10);
  const CString folder = GetPath(pattern, TRUE);
  for (std::unique_ptr<CString> name(GetNextFileName(pattern, attributes)); name != nullptr;
       name.reset(GetNextFileName(CString(), attributes))) {
    if (!IsDotEntry(*name)) list->AddTail(folder + *name);
  }
  if (m_hFind == INVALID_HANDLE_VALUE) NoteUnreadableFolder(pattern);
  CloseSearch();
  return list.release();
}

CStringList* SECFileSystem::GetFileListEx(const CString& pattern, DWORD attributes, BOOL recurse,
                                          CStringList* list) {
  std::unique_ptr<CStringList> created(list == nullptr ? new CStringList(10) : nullptr);
  CStringList* result = list != nullptr ? list : created.get();
  std::unique_ptr<CStringList> entries(GetFileList(pattern, attributes));
  result->AddTail(entries.get());
  if (recurse) {
    const CString namePattern = GetFileName(pattern);
    std::unique_ptr<CStringList> folders(GetDirectoryList(GetPath(pattern, TRUE), TRUE));
    for (POSITION pos = folders->GetHeadPosition(); pos != nullptr;) {
      const CString& folder = folders->GetNext(pos);
      if (IsSymbolicLink(folder))
        LeaveOutLinkedFolder(folder);
      else
        GetFileListEx(AppendPath(folder, namePattern), attributes, TRUE, result);
    }
  }
  created.release();
  return result;
}

CStringList* SECFileSystem::GetDirectoryList(const CString& path, BOOL fullPaths) {
  auto list = std::make_unique<CStringList>(10);
  const CString pattern = AppendPath(path, "*.*");
  const CString folder = GetPath(pattern, TRUE);
  for (std::unique_ptr<CString> name(GetNextFileName(pattern, FILE_ATTRIBUTE_DIRECTORY)); name != nullptr;
       name.reset(GetNextFileName(CString(), FILE_ATTRIBUTE_DIRECTORY))) {
    if (IsDotEntry(*name)) continue;
    const CString fullPath = folder + *name;
    CFileStatus status;
    if (QueryStatus(fullPath, status) && (status.m_attribute & CFile::directory) != 0)
      list->AddTail(fullPaths ? fullPath : *name);
  }
  if (m_hFind == INVALID_HANDLE_VALUE) NoteUnreadableFolder(pattern);
  CloseSearch();
  return list.release();
}

// Helpers shared by the file, search and profile functions of the os module (not public API).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/base.h"

namespace brambolt::file_support {

// What Win32 reports of a folder entry.
struct EntryInfo {
  DWORD attributes = 0;
  FILETIME creationTime{};
  FILETIME lastAccessTime{};
  FILETIME lastWriteTime{};
  std::uint64_t size = 0;
};

// Fills `info` for the native path; `name` is the entry's name as listed (it decides "hidden").
// A symbolic link reports its target's attributes plus FILE_ATTRIBUTE_REPARSE_POINT (a dangling
// one those of the link). False, with errno set, when the entry does not exist.
bool QueryEntry(const std::string& nativePath, std::string_view name, EntryInfo& info);
// The same for `path` taken from the open folder `folderFd` (AT_FDCWD: the current folder), as a
// folder listing asks about its entries without resolving the folder's path again for each.
bool QueryEntryAt(int folderFd, const char* path, std::string_view name, EntryInfo& info);

// Whether a regular file counts as read-only: not writable for this process, and for a
// superuser, who may write anything, when no write permission bit is set.
bool IsReadOnly(const std::string& nativePath, unsigned mode);
bool IsReadOnlyAt(int folderFd, const char* path, unsigned mode);

// Sets the last error for a failed call on `nativePath`: ENOENT becomes ERROR_PATH_NOT_FOUND when
// the folder holding the path is missing too, as Windows tells the two apart.
void SetLastErrorFromErrno(int error, const std::string& nativePath);

// Copies `text` into a caller's buffer of `size` bytes the Win32 way: the length copied without
// the terminator, or the size needed with it (nothing copied) when the buffer is too small.
DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size);

// The folder part of a native path ("." for a bare name, "/" for a name at the root).
std::string ParentOf(const std::string& nativePath);

// The last component of a native path, without a trailing '/'.
std::string LeafOf(const std::string& nativePath);

// The file a write that replaces `nativePath` must replace: the file a symbolic link there
// names (through every link on the way), so that the link stays a link and the file it names
// gets the new text; the path itself when nothing is there. A link that names no file yet (a
// dangling one) gives the path it names, when its folder is there. False, with errno set
// (ENOENT, ELOOP) and `target` the path the link names, when the link leads nowhere a file can
// be written: the link is never replaced by a file.
bool LinkTarget(const std::string& nativePath, std::string& target);

}  // namespace brambolt::file_support

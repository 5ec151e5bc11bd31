// Case-insensitive lookup of a name in a folder, answered from a cache of each folder's names
// that kernel change events (inotify) keep current, so a large folder is not read per lookup.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brambolt {

// The entry of folder `dir` ("" is the current folder; the system's spelling) whose name, as the
// program spells it (ProgramNameOf), equals `name` as FileNamesEqualNoCase compares them; the smallest such name by bytes when several differ only
// in case, so the choice repeats. `found` is the entry as the system spells it. False when none does or the folder cannot be read. "." and
// ".." are never answered.
//
// Folders on local file systems are cached by identity (device and inode) and kept current by
// their change events, whoever makes the change; the answer is that of a fresh read of the folder.
// Folders elsewhere (network and user-space file systems, whose changes by other machines raise
// no events) are read per lookup.
bool FindFileNameNoCase(const std::string& dir, std::string_view name, std::string& found);

// The bounds of the cache: the folders kept, and the names kept over all of them. A folder with
// fewer names than the least kept, or more than the whole bound, is read per lookup.
inline constexpr std::size_t kFolderNameCacheMinNames = 128;
inline constexpr std::size_t kFolderNameCacheMaxFolders = 64;
inline constexpr std::size_t kFolderNameCacheMaxNames = 1u << 18;

// What the cache holds now, for tests of its bounds.
struct FolderNameCacheSize {
  std::size_t nFolders = 0;
  std::size_t nNames = 0;
};
FolderNameCacheSize GetFolderNameCacheSize();

}  // namespace brambolt

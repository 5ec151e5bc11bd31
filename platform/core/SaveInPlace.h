// The ways a safe save (CMirrorFile) reaches a file whose folder takes no new file, and what it
// cleans up after a save that was killed. Internal to the core module.
//
// The temporary file of a save lies beside the target, named "." + name + ".~" + process id +
// "." + random letters, so the final rename replaces the file in one step. When the folder
// refuses a new file (no inode left, no write permission, a quota), the temporary file lies in
// the user's cache folder instead ($XDG_CACHE_HOME, else ~/.cache, then visual-brambolt/saves):
// renamed over the target when both are on one file system and the folder allows it, else copied
// into the file in place, while a copy of the original waits in the cache folder until the copy
// is complete and is put back when it fails. A copy of an original that a killed save left there
// is put back at the next save of that file and kept beside it under a name the user is told.
#pragma once

#include <string>

#include "base/base.h"

namespace brambolt::mirror {

// The folder of the temporary files that cannot lie beside their target, made when missing
// (owner only); "" when it cannot be made.
std::string CacheFolder();

// The name prefix of the temporary files of a save of the target: beside it, or in the cache.
std::string BesidePrefix(const std::string& target);
std::string CachePrefix(const std::string& target);

// Removes the temporary files with the prefix whose process has ended (and those that name no
// process): what killed saves left.
void RemoveStaleMirrors(const std::string& prefix);

// Whether a failure to create a file says that the folder takes no new file, while a file that
// is there may still be written.
bool FolderRefusesNewFiles(DWORD dwError);

// Puts back the original that a killed in-place save left in the cache folder, and tells the
// user where a copy of it is kept.
void RestoreInterruptedSave(const std::string& target);

// Copies the finished temporary file into the target in place, the original kept in the cache
// folder until the copy is complete and put back when it fails. Throws CFileException (with the
// target's name) when the file could not be written; the target then holds its old bytes.
void CopyIntoPlace(const std::string& mirror, const std::string& target, const char* lpszName);

}  // namespace brambolt::mirror

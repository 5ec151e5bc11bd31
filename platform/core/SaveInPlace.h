// The ways a safe save (CMirrorFile) reaches a file whose folder takes no new file, and how a
// save killed on that way is completed. Internal to the core module.
//
// The temporary file of a save lies beside the target under an owned name (os/OwnedNames.h), so
// the final rename replaces the file in one step. When the folder refuses a new file (no inode
// left, no write permission, a quota), or the file has other names (hard links) that a rename
// would leave on the old text, the temporary file lies in the user's cache folder instead
// ($XDG_CACHE_HOME, else ~/.cache, then visual-brambolt/saves; the owner's alone): renamed over
// the target when both are on one file system and the folder allows it, else written into the
// file in place. Before that write the temporary file becomes a stage: the new text followed by
// the target's path, the identity of the file it goes into, a digest of each block of the file as
// the write found it, and a record of how far the write in place has got (the file's size and
// times after each step, the step under way with the time it began, and what the step's block
// held before it); all but the progress is durable before the file is touched. The stage's name carries
// the key of the target's path and the file's identity, so that a stage whose record is damaged
// is still found through any name of the file. The stage is removed once the file holds the new
// text. Every temporary file is locked (flock) by the process writing it, and a file whose lock
// is held is never taken for a killed save's, whatever its name says.
//
// A stage that no process is writing (its lock is free) is completed (its text written over the
// file, and the user told once) only when the file is the one its write was cutting and has not
// been written since: same device and inode, the size and times its record says (a save killed
// inside a step: written by nothing after that step, its change time within a short window after
// the step began), and every byte as the cut left it: the text up to a point inside the step
// under way, the bytes the write found after it. A file that holds the text already
// retires it. Otherwise (the file changed, replaced, reached by another name, read-only, the stage
// damaged, or made by an earlier version of the program) its text is kept for the user in the
// recovery folder ($XDG_DATA_HOME, else ~/.local/share, then visual-brambolt/recovered: used only
// when no one else may move what it holds), copied under a hidden name and given the file's name
// once whole; when that folder takes no copy, the stage is set aside in the cache folder under the
// file's name and a time, a name no save reads or removes. The user is told once that the file
// may be incomplete and where the text is; a copy the user was told of is never removed by the
// program. A damaged stage is removed without a word only when its record shows that the file was
// never touched. A file that is away keeps its stages; a successful save of a file retires the
// older stages of it. The old text is never written back over the file. While another process
// writes a stage of the file in place, an open waits for it, and is refused with a word when it
// is not done in a few seconds. Stages in a cache folder that is not the user's own are not read:
// the user is told of them.
#pragma once

#include <sys/stat.h>

#include <string>

#include "base/base.h"

namespace brambolt::mirror {

// The cache folder, made when missing (owner only). False, with the Win32 error, when it cannot
// be made or is not a real folder of this user that no one else may write.
bool CacheFolder(std::string& folder, DWORD& dwError);

// The stem of the cache folder's files of a save of the target.
std::string CacheStem(const std::string& target);

// Whether a failure to create a file says that the folder takes no new file, while a file that
// is there may still be written.
bool FolderRefusesNewFiles(DWORD dwError);

// Completes the saves of the file (a native path, also reached by another name) that were killed
// while they wrote it in place, or keeps their text for the user and says where, as told above.
// A stage of the file that another process is writing in place (its save, or a completion) is
// waited for a few seconds; false when one is still being written, so the file may be half
// written. One stat of the cache folder when nothing is staged or it has not changed since it was
// listed. Stages in a cache folder that is not the user's own are not read: the user is told.
bool CompleteInterruptedSave(const std::string& nativePath);
// The same for a file's name as the program gives it.
bool CompleteInterruptedSave(LPCTSTR lpszFileName);

// Retires the stages of a file that a save has just written whole, made before it by any process
// and not being written; `before` is the file's status before the save (nullptr when it was new).
void RetireInterruptedSaves(const std::string& target, const struct stat* before);

// Makes the finished temporary file in the cache folder a stage, writes its text into the target
// in place and removes it. Throws CFileException (with the target's name) when the file could not
// be written: the target then holds its old bytes, or, when the write was cut after it began, the
// stage stays and the next open or save of the file completes it.
void CopyIntoPlace(const std::string& mirror, const std::string& target, const char* lpszName);

}  // namespace brambolt::mirror

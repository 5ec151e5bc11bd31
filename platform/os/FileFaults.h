// A seam of the file layer for tests: the refusals a user's disk gives (a full disk, a folder
// that takes no new file, a kill in the middle of a save) made to happen on any disk.
#pragma once

#include <functional>
#include <string>

namespace brambolt {

// The steps of the file layer that change what is on disk, and the listing of a folder (whose
// refusal, a folder this user may not read, root cannot meet by file modes).
enum class FileStep {
  Create,  // a new file is made (CreateFile of a missing file, the temporary file of a copy or a save)
  Write,   // bytes are written to a file
  Sync,    // a file's bytes are made durable
  Rename,  // an entry is renamed over another, or moved
  Resize,  // a file's end is set
  List,    // a folder's entries are read (FindFirstFile), with the folder's path ending in '/'
};

// While a hook is installed, each step asks it first with the native path it works on: 0 lets
// the step run, an errno value makes it fail with that error as the system would (ENOSPC for a
// full disk, EACCES for a folder that refuses new files). The hook may also end the process
// there. Hooks nest; the object removes its own. Without a hook the steps run as they are.
using FileFaultHook = std::function<int(FileStep step, const std::string& nativePath)>;
class ScopedFileFaultHook {
 public:
  explicit ScopedFileFaultHook(FileFaultHook hook);
  ~ScopedFileFaultHook();
  ScopedFileFaultHook(const ScopedFileFaultHook&) = delete;
  ScopedFileFaultHook& operator=(const ScopedFileFaultHook&) = delete;

 private:
  FileFaultHook m_previous;
};

// The error the installed hook gives the step (0 without a hook). The file layer calls it, and
// so does code of the platform that makes these steps with POSIX calls of its own.
int FileFault(FileStep step, const std::string& nativePath);

}  // namespace brambolt

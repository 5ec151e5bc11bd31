// CMirrorFile where the disk is against it: a folder that takes no new file, a full disk, and a
// save killed at each of its steps; refusals come from the file layer's fault seam, or from a
// small tmpfs mounted in a private mount namespace when the system allows it.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/CMirrorFile.h"
#include "FilesTestSupport.h"
#include "os/FileFaults.h"

using brambolt::FileStep;
using brambolt::ScopedFileFaultHook;
using brambolt::testing_os::ScopedEnv;
using files_test::ReadAll;
using files_test::TempFolder;
using files_test::WriteAll;

namespace {

namespace fs = std::filesystem;

const UINT kSaveFlags = CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive;
const std::string kOld(70000, 'o');
const std::string kNew = std::string(90000, 'n') + "end";

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) names.insert(entry.path().filename().string());
  return names;
}

// A save as the editor and the project make one, in three writes; an exception goes to the caller.
void Save(const std::string& path, const std::string& text) {
  CMirrorFile file;
  CFileException error;
  if (!file.Open(path.c_str(), kSaveFlags, &error)) AfxThrowFileException(error.m_cause, error.m_lOsError, path.c_str());
  const std::size_t third = text.size() / 3;
  file.Write(text.data(), static_cast<UINT>(third));
  file.Write(text.data() + third, static_cast<UINT>(third));
  file.Write(text.data() + 2 * third, static_cast<UINT>(text.size() - 2 * third));
  file.Close();
}

// The cause of the CFileException a call raises, or -1.
int FileCause(const std::function<void()>& call) {
  try {
    call();
  } catch (CFileException* e) {
    const int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

// A folder that refuses new entries, as one without write permission does (root may write any
// folder, so the refusal comes from the seam): creating a file in it or renaming onto it fails.
int RefuseNewEntriesIn(const std::string& folder, FileStep step, const std::string& path) {
  const bool inFolder = path.compare(0, folder.size() + 1, folder + "/") == 0;
  return inFolder && (step == FileStep::Create || step == FileStep::Rename) ? EACCES : 0;
}

// The texts told to the user while it lives.
struct ToldTexts {
  ToldTexts() {
    Texts().clear();
    AfxSetErrorReporter([](LPCTSTR text, UINT) {
      Texts().push_back(text);
      return 1;
    });
  }
  ~ToldTexts() { AfxSetErrorReporter(nullptr); }
  static std::vector<std::string>& Texts() {
    static std::vector<std::string> texts;
    return texts;
  }
};

// Runs the body in a child process and gives its exit status, or 128 + the signal that ended it.
int InChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(SaveInPlace, AFolderThatTakesNoNewFileStillGetsTheSaveAndNeverLosesTheOriginal) {
  TempFolder folder;
  TempFolder cache;
  ScopedEnv cacheHome("XDG_CACHE_HOME", cache.Path());
  const std::string shared = folder / "shared";
  fs::create_directory(shared);
  const std::string path = shared + "/notes.h";
  WriteAll(path, kOld);
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ScopedFileFaultHook refuse([&](FileStep step, const std::string& p) { return RefuseNewEntriesIn(shared, step, p); });

  Save(path, kNew);
  EXPECT_TRUE(ReadAll(path) == kNew) << "the new text";
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(Entries(shared), std::set<std::string>{"notes.h"});
  EXPECT_EQ(Entries(cache / "visual-brambolt/saves"), std::set<std::string>{});

  // The disk fills while the new text goes in: the original comes back whole.
  {
    int writes = 0;
    ScopedFileFaultHook full([&](FileStep step, const std::string& p) {
      if (int refused = RefuseNewEntriesIn(shared, step, p)) return refused;
      return p == path && step == FileStep::Write && ++writes == 1 ? ENOSPC : 0;
    });
    EXPECT_EQ(FileCause([&] { Save(path, kOld + kOld); }), CFileException::diskFull);
  }
  EXPECT_TRUE(ReadAll(path) == kNew) << "the new text";
  EXPECT_EQ(Entries(cache / "visual-brambolt/saves"), std::set<std::string>{});

  // Without a cache folder to write to, the save is refused and the file kept.
  {
    ScopedEnv noCache("XDG_CACHE_HOME", path + "/cannot-be-a-folder");
    EXPECT_EQ(FileCause([&] { Save(path, "lost"); }), CFileException::accessDenied);
  }
  EXPECT_TRUE(ReadAll(path) == kNew) << "the new text";
  // A new file cannot be made there at all: said at once.
  EXPECT_EQ(FileCause([&] { Save(shared + "/new.h", "x"); }), CFileException::accessDenied);
  EXPECT_EQ(Entries(shared), std::set<std::string>{"notes.h"});
}

TEST(SaveInPlace, ASaveKilledAtAnyStepLeavesTheOldOrTheNewText) {
  TempFolder folder;
  TempFolder cache;
  ScopedEnv cacheHome("XDG_CACHE_HOME", cache.Path());
  const std::string saves = cache / "visual-brambolt/saves";
  for (const bool bRefusing : {false, true}) {
    SCOPED_TRACE(bRefusing ? "a folder that takes no new file" : "an ordinary folder");
    const std::string dir = folder / (bRefusing ? "refusing" : "ordinary");
    fs::create_directory(dir);
    const std::string path = dir + "/project.dcp";
    auto refusal = [&](FileStep step, const std::string& p) { return bRefusing ? RefuseNewEntriesIn(dir, step, p) : 0; };
    int kills = 0;
    for (int step = 1;; ++step) {
      WriteAll(path, kOld);
      const int status = InChild([&] {
        int seen = 0;
        ScopedFileFaultHook killer([&](FileStep s, const std::string& p) {
          if (++seen == step) ::raise(SIGKILL);
          return refusal(s, p);
        });
        Save(path, kNew);
        return 0;
      });
      if (status == 0) break;
      ASSERT_EQ(status, 128 + SIGKILL);
      ++kills;
      const std::string after = ReadAll(path);
      if (after != kOld && after != kNew) {
        // Only a save in place may leave the file cut, and only with the original in the cache.
        EXPECT_TRUE(bRefusing) << "step " << step;
        EXPECT_EQ(Entries(saves).size(), 2u) << "step " << step;  // the original and the new text
      }
      // The next save of the file puts the original back and clears what the killed one left.
      ToldTexts told;
      {
        ScopedFileFaultHook again(refusal);
        CMirrorFile next;
        ASSERT_TRUE(next.Open(path.c_str(), kSaveFlags));
        next.Abort();
      }
      const std::string restored = ReadAll(path);
      EXPECT_TRUE(restored == kOld || restored == kNew) << "step " << step << ": " << restored.size() << " bytes";
      EXPECT_EQ(Entries(dir), std::set<std::string>{"project.dcp"}) << "step " << step;
      if (after != kOld && after != kNew) {
        ASSERT_EQ(told.Texts().size(), 1u);
        EXPECT_NE(told.Texts()[0].find(saves + "/project.dcp."), std::string::npos) << told.Texts()[0];
      }
      for (const std::string& name : Entries(saves)) {
        EXPECT_NE(name.find(".before-interrupted-save"), std::string::npos) << name;
        fs::remove(saves + "/" + name);
      }
    }
    EXPECT_GE(kills, bRefusing ? 12 : 5);
  }
}

// In a private mount namespace, a tmpfs of three inodes (its root, the file and a filler) and a
// few pages: first no inode is left for a temporary file, then no space for a longer text.
TEST(SaveInPlace, OnADiskWithNoInodeOrSpaceLeftTheSaveIsWholeOrNotAtAll) {
  TempFolder cache;
  TempFolder mountPoint;
  const int status = InChild([&] {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", mountPoint.Path().c_str(), "tmpfs", 0, "size=256k,nr_inodes=3") != 0)
      return 77;
    ::setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    const std::string path = mountPoint / "big.h";
    WriteAll(path, kOld);
    try {
      Save(path, kNew);
    } catch (CException* e) {
      e->Delete();
      return 1;
    }
    if (ReadAll(path) != kNew) return 2;
    // Fill what space is left, then ask for more than there is.
    {
      std::ofstream filler(mountPoint / "filler", std::ios::binary);
      const std::string block(4096, 'f');
      while (filler.write(block.data(), block.size())) {
      }
    }
    if (FileCause([&] { Save(path, kNew + kNew + kNew); }) != CFileException::diskFull) return 3;
    if (ReadAll(path) != kNew) return 4;
    if (!Entries(cache / "visual-brambolt/saves").empty()) return 5;
    return 0;
  });
  if (status == 77) GTEST_SKIP() << "no private mount namespace with a tmpfs here";
  EXPECT_EQ(status, 0) << "1: the save failed, 2: not the new text, 3: no disk-full error, 4: the file was cut, "
                          "5: files left in the cache folder";
}

}  // namespace

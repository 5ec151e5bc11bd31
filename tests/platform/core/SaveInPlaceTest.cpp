// CMirrorFile where the disk is against it: a folder that takes no new file, a full disk, a save
// killed at each of its steps, names planted in the cache folder, two processes saving one file
// and the longest file names; refusals come from the file layer's fault seam, or from a small
// tmpfs mounted in a private mount namespace when the system allows it.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <fcntl.h>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/CMirrorFile.h"
#include "core/SaveInPlace.h"
#include "FilesTestSupport.h"
#include "os/FileApi.h"
#include "os/FileFaults.h"
#include "os/OwnedNames.h"

using brambolt::FileStep;
using brambolt::ScopedFileFaultHook;
using brambolt::testing_os::ScopedEnv;
using files_test::ReadAll;
using files_test::TempFolder;
using files_test::WriteAll;

namespace {

namespace fs = std::filesystem;

std::string& LastReported() {
  static std::string text;
  return text;
}

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
  if (!file.Open(path.c_str(), kSaveFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
  const std::size_t third = text.size() / 3;
  file.Write(text.data(), static_cast<UINT>(third));
  file.Write(text.data() + third, static_cast<UINT>(third));
  file.Write(text.data() + 2 * third, static_cast<UINT>(text.size() - 2 * third));
  file.Close();
}

// The cause of the CFileException a call raises, or -1; `message` takes the text the user is shown.
int FileCause(const std::function<void()>& call, std::string* message = nullptr) {
  try {
    call();
  } catch (CFileException* e) {
    const int cause = e->m_cause;
    if (message != nullptr) {
      AfxSetErrorReporter([](LPCTSTR text, UINT) {
        LastReported() = text;
        return 1;
      });
      e->ReportError();
      AfxSetErrorReporter(nullptr);
      *message = LastReported();
    }
    e->Delete();
    return cause;
  }
  return -1;
}

// The text as the program opens the file (what the editor shows of it).
std::string OpenAndRead(const std::string& path) {
  CFile file;
  if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone)) return "<not opened>";
  std::string text(static_cast<std::size_t>(file.GetLength()), '\0');
  text.resize(file.Read(text.data(), static_cast<UINT>(text.size())));
  return text;
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

// Runs the body in a child process and gives its exit status, or 128 + the signal that ended it;
// a child still running after 20 seconds (hung on a FIFO, say) ends with SIGALRM.
int InChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(20);
    ::_exit(body());
  }
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

// A save killed at each of its steps, then the file opened and saved again with the disk full:
// the program shows the old or the new text whole, completes a save that was cut while it wrote
// the file in place, and never puts older text over newer.
TEST(SaveInPlace, ASaveKilledAtAnyStepLeavesTheOldOrTheNewTextAndNeverOlderOverNewer) {
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
    int cuts = 0;
    int completed = 0;
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
      const std::string onDisk = ReadAll(path);
      const bool cut = onDisk != kOld && onDisk != kNew;
      if (cut) {
        EXPECT_TRUE(bRefusing) << "step " << step << ": only a save in place may cut the file";
        ++cuts;
      }
      ToldTexts told;
      const std::string shown = OpenAndRead(path);
      EXPECT_TRUE(shown == kOld || shown == kNew) << "step " << step << ": " << shown.size() << " bytes shown";
      if (cut || onDisk == kNew) {
        EXPECT_TRUE(shown == kNew) << "step " << step << ": not the newest text";
      }
      EXPECT_LE(told.Texts().size(), 1u) << "step " << step;
      if (shown != onDisk) {
        ++completed;
        ASSERT_EQ(told.Texts().size(), 1u) << "step " << step;
        EXPECT_NE(told.Texts()[0].find(path), std::string::npos) << told.Texts()[0];
        EXPECT_NE(told.Texts()[0].find("completed"), std::string::npos) << told.Texts()[0];
      }
      // The next save meets a full disk where it writes: the file keeps what was shown.
      {
        int writes = 0;
        ScopedFileFaultHook full([&](FileStep s, const std::string& p) {
          if (int refused = refusal(s, p)) return refused;
          return s == FileStep::Write && (p == path || !bRefusing) && ++writes == 1 ? ENOSPC : 0;
        });
        EXPECT_EQ(FileCause([&] { Save(path, kOld + kOld); }), CFileException::diskFull) << "step " << step;
      }
      EXPECT_TRUE(ReadAll(path) == shown) << "step " << step;
      EXPECT_LE(told.Texts().size(), 1u) << "step " << step;
      EXPECT_EQ(Entries(dir), std::set<std::string>{"project.dcp"}) << "step " << step;
      EXPECT_EQ(Entries(saves), std::set<std::string>{}) << "step " << step;
    }
    EXPECT_GE(kills, bRefusing ? 12 : 5);
    if (bRefusing) {
      EXPECT_GE(cuts, 1) << "no kill came while the file was written in place";
      EXPECT_GT(completed, cuts) << "a kill after the staging";
    }
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

// A process id no process has: that of a child that has ended and been waited for.
pid_t EndedProcessId() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return pid;
}

constexpr uid_t kOtherUser = 65534;  // nobody

// The kinds of entry planted at a name: each must be neither followed, read, written nor removed.
enum class Planted { LinkToSecret, LinkToStage, Fifo, Folder, OtherOwnersStage };

// Plants the entry; false when this system cannot make it (a file of another user needs root).
bool Plant(Planted kind, const std::string& at, const std::string& secret, const std::string& stage) {
  switch (kind) {
    case Planted::LinkToSecret: return ::symlink(secret.c_str(), at.c_str()) == 0;
    case Planted::LinkToStage: return ::symlink(stage.c_str(), at.c_str()) == 0;
    case Planted::Fifo: return ::mkfifo(at.c_str(), 0600) == 0;
    case Planted::Folder: return ::mkdir(at.c_str(), 0700) == 0;
    case Planted::OtherOwnersStage:
      if (::geteuid() != 0) return false;
      fs::copy_file(stage, at);
      return ::chown(at.c_str(), kOtherUser, kOtherUser) == 0;
  }
  return false;
}

// A file in a folder shared with others that takes no new file (the refusal installed by each
// test), and a private cache folder.
class SaveInPlaceShared : public ::testing::Test {
 protected:
  SaveInPlaceShared() { fs::create_directory(shared); }

  TempFolder folder;
  TempFolder cache;
  ScopedEnv cacheHome{"XDG_CACHE_HOME", cache.Path()};
  const std::string saves = cache / "visual-brambolt/saves";
  const std::string shared = folder / "shared";
  const std::string path = shared + "/notes.h";
};

// Names planted in the cache folder where a save and its completion look: the names a killed save
// of the file would have (an ended process's), and those earlier versions read by a fixed name.
// The file is opened and saved in a folder that takes no new file; nothing planted is followed,
// read (a FIFO hangs nothing), written or removed.
TEST_F(SaveInPlaceShared, NamesPlantedInTheCacheFolderAreNeitherFollowedReadNorRemoved) {
  auto refusal = [&](FileStep step, const std::string& p) { return RefuseNewEntriesIn(shared, step, p); };
  const std::string secret = folder / "secret.txt";
  WriteAll(secret, "the secret");
  // A complete stage of the file with a text of its own, as a save killed before its in-place
  // write leaves it, moved out of the cache folder for links to point at.
  const std::string staged = "staged text " + std::string(1000, 's');
  WriteAll(path, kOld);
  ASSERT_EQ(InChild([&] {
              ScopedFileFaultHook killer([&](FileStep s, const std::string& p) {
                if (s == FileStep::Write && p == path) ::raise(SIGKILL);
                return refusal(s, p);
              });
              Save(path, staged);
              return 0;
            }),
            128 + SIGKILL);
  ASSERT_FALSE(Entries(saves).empty());
  const std::string stage = folder / "stage";
  for (const std::string& name : Entries(saves)) fs::rename(saves + "/" + name, stage);
  const std::string stageBytes = ReadAll(stage);

  const std::string stem = brambolt::mirror::CacheStem(path);
  const std::string key = stem.substr(0, stem.find('.'));
  const std::string prefix = brambolt::owned_name::Prefix(stem, "~");
  const std::string ended = std::to_string(EndedProcessId());
  const std::vector<std::string> names = {prefix + ended + ".0123456789ab", prefix + ended + ".fedcba987654",
                                          "notes.h." + key + ".original", "notes.h." + key + ".before-interrupted-save"};
  for (const Planted kind : {Planted::LinkToSecret, Planted::LinkToStage, Planted::Fifo, Planted::Folder,
                             Planted::OtherOwnersStage}) {
    SCOPED_TRACE(static_cast<int>(kind));
    WriteAll(path, kOld);
    bool planted = true;
    for (const std::string& name : names) planted = planted && Plant(kind, saves + "/" + name, secret, stage);
    if (!planted) {
      EXPECT_EQ(kind, Planted::OtherOwnersStage) << "cannot plant";
      fs::remove_all(saves);
      fs::create_directory(saves);
      continue;
    }
    std::map<std::string, fs::file_type> before;
    for (const std::string& name : names) before[name] = fs::symlink_status(saves + "/" + name).type();
    const int status = InChild([&] {
      int told = 0;
      AfxSetErrorReporter([](LPCTSTR, UINT) { return ::raise(SIGUSR1), 1; });
      (void)told;
      ScopedFileFaultHook refuse(refusal);
      if (OpenAndRead(path) != kOld) return 1;
      Save(path, kNew);
      if (ReadAll(path) != kNew) return 2;
      if (OpenAndRead(path) != kNew) return 3;
      return 0;
    });
    EXPECT_EQ(status, 0) << "1: the opened text was not the file's, 2 and 3: the save did not hold, " << 128 + SIGUSR1
                         << ": the user was told of an interrupted save, " << 128 + SIGALRM << ": it hung";
    EXPECT_EQ(ReadAll(secret), "the secret");
    EXPECT_TRUE(ReadAll(stage) == stageBytes);
    std::map<std::string, fs::file_type> after;
    for (const std::string& name : names) after[name] = fs::symlink_status(saves + "/" + name).type();
    EXPECT_EQ(after, before);
    EXPECT_EQ(Entries(saves).size(), names.size());
    EXPECT_EQ(Entries(shared), std::set<std::string>{"notes.h"});
    fs::remove_all(saves);
    fs::create_directory(saves);
  }
}

// A cache folder that is not the user's own real folder is not used: the save fails, names the
// folder, and the file keeps its text.
TEST_F(SaveInPlaceShared, ACacheFolderThatIsNotTheUsersOwnIsNotUsed) {
  ScopedFileFaultHook refuse([&](FileStep step, const std::string& p) { return RefuseNewEntriesIn(shared, step, p); });
  fs::create_directories(cache / "visual-brambolt");
  const std::string elsewhere = folder / "elsewhere";
  fs::create_directory(elsewhere);
  ::chmod(elsewhere.c_str(), 0700);
  const std::vector<std::pair<std::string, std::function<bool()>>> cases = {
      {"a link to a folder of the user", [&] { return ::symlink(elsewhere.c_str(), saves.c_str()) == 0; }},
      {"a folder anyone may write", [&] { return ::mkdir(saves.c_str(), 0700) == 0 && ::chmod(saves.c_str(), 0777) == 0; }},
      {"a folder its group may write", [&] { return ::mkdir(saves.c_str(), 0700) == 0 && ::chmod(saves.c_str(), 0770) == 0; }},
      {"a folder of another user",
       [&] { return ::geteuid() == 0 && ::mkdir(saves.c_str(), 0700) == 0 && ::chown(saves.c_str(), kOtherUser, kOtherUser) == 0; }},
      {"a FIFO", [&] { return ::mkfifo(saves.c_str(), 0600) == 0; }},
      {"a file", [&] { return WriteAll(saves, ""), true; }},
  };
  for (const auto& [what, plant] : cases) {
    SCOPED_TRACE(what);
    WriteAll(path, kOld);
    fs::remove_all(saves);
    if (!plant()) {
      EXPECT_EQ(what, "a folder of another user") << "cannot plant";
      continue;
    }
    std::string message;
    EXPECT_EQ(FileCause([&] { Save(path, kNew); }, &message), CFileException::accessDenied);
    EXPECT_NE(message.find(saves), std::string::npos) << message;
    EXPECT_TRUE(ReadAll(path) == kOld);
    EXPECT_EQ(Entries(elsewhere), std::set<std::string>{});
    EXPECT_EQ(Entries(shared), std::set<std::string>{"notes.h"});
  }
  // A missing one is made for the owner alone.
  fs::remove_all(saves);
  Save(path, kNew);
  EXPECT_TRUE(ReadAll(path) == kNew);
  struct stat st {};
  ASSERT_EQ(::lstat(saves.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 077, 0u);
}

// Two processes save one file, in place, again and again: neither takes the other's files for a
// killed save's, no one is told of an interrupted save, and the file ends whole.
TEST_F(SaveInPlaceShared, TwoProcessesSavingOneFileLeaveEachOthersFilesAlone) {
  WriteAll(path, kOld);
  const std::string texts[2] = {kNew, std::string(80000, 'b') + "other"};
  pid_t children[2] = {};
  for (int i = 0; i < 2; ++i) {
    children[i] = ::fork();
    if (children[i] == 0) {
      ::alarm(60);
      AfxSetErrorReporter([](LPCTSTR, UINT) { return ::_exit(3), 1; });
      ScopedFileFaultHook refuse([&](FileStep step, const std::string& p) { return RefuseNewEntriesIn(shared, step, p); });
      for (int round = 0; round < 40; ++round) {
        try {
          Save(path, texts[i]);
        } catch (CException* e) {
          e->Delete();
          ::_exit(1);
        }
      }
      ::_exit(0);
    }
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "1: a save failed, 3: the user was told of an interrupted save; status " << status;
  }
  const std::string last = ReadAll(path);
  EXPECT_TRUE(last == texts[0] || last == texts[1]) << last.size() << " bytes";
  EXPECT_EQ(Entries(shared), std::set<std::string>{"notes.h"});
  EXPECT_EQ(Entries(saves), std::set<std::string>{});
}

// A name of 250 bytes (83 Chinese characters and a letter) saves beside itself and in place, and
// the message of a failed save holds the whole path and reason.
TEST(SaveInPlace, TheLongestFileNamesSaveAndTheirErrorsNameThemWhole) {
  TempFolder folder;
  TempFolder cache;
  ScopedEnv cacheHome("XDG_CACHE_HOME", cache.Path());
  std::string leaf;
  for (int i = 0; i < 83; ++i) leaf += "\xE6\x96\x87";  // one Chinese character
  leaf += "h";
  ASSERT_EQ(leaf.size(), 250u);
  for (const bool bRefusing : {false, true}) {
    SCOPED_TRACE(bRefusing ? "in place" : "beside");
    const std::string dir = folder / (bRefusing ? "refusing" : "ordinary");
    fs::create_directory(dir);
    const std::string path = dir + "/" + leaf;
    WriteAll(path, kOld);
    ScopedFileFaultHook refuse([&](FileStep step, const std::string& p) { return bRefusing ? RefuseNewEntriesIn(dir, step, p) : 0; });
    EXPECT_EQ(FileCause([&] { Save(path, kNew); }), -1);
    EXPECT_TRUE(ReadAll(path) == kNew);
    EXPECT_EQ(Entries(dir), std::set<std::string>{leaf});
    // A kill in the middle of the in-place write is completed under the long name too.
    if (bRefusing) {
      EXPECT_EQ(InChild([&] {
                  int writes = 0;
                  ScopedFileFaultHook killer([&](FileStep s, const std::string& p) {
                    if (s == FileStep::Write && p == path && ++writes == 2) ::raise(SIGKILL);
                    return RefuseNewEntriesIn(dir, s, p);
                  });
                  Save(path, kOld);
                  return 0;
                }),
                128 + SIGKILL);
      ToldTexts told;
      EXPECT_TRUE(OpenAndRead(path) == kOld);
      EXPECT_EQ(told.Texts().size(), 1u);
      EXPECT_EQ(Entries(cache / "visual-brambolt/saves"), std::set<std::string>{});
    }
  }
  // A file that cannot be made: the message names it whole and says why.
  const std::string missing = folder / ("no-such-folder/" + leaf);
  std::string message;
  EXPECT_EQ(FileCause([&] { Save(missing, "x"); }, &message), CFileException::badPath);
  EXPECT_NE(message.find(missing), std::string::npos) << message;
  EXPECT_NE(message.find("incorrect path"), std::string::npos) << message;
}

// Files below a folder, by path, with their bytes.
std::map<std::string, std::string> FilesBelow(const std::string& folder) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(folder, ec))
    if (entry.is_regular_file()) files[entry.path().string()] = ReadAll(entry.path().string());
  return files;
}

// Writes the bytes into the file in place, as an editor that keeps the file's inode does.
void WriteInPlace(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  ::close(fd);
}

// A name of the temporary-file form in the folder with this process's id and start time but
// another boot's id: to a process that reads it, the maker of another machine or an ended boot.
std::string OtherBootsName(const std::string& folder, const std::string& stem) {
  const std::string made = brambolt::owned_name::Make(folder, stem, "~");
  const std::regex boot("-([0-9a-f]{8})(\\.[0-9a-f]{12})$");
  std::smatch parts;
  if (!std::regex_search(made, parts, boot)) return made;
  const std::string other = parts.str(1) == "0badb00f" ? "0badb00e" : "0badb00f";
  return made.substr(0, static_cast<std::size_t>(parts.position(0))) + "-" + other + parts.str(2);
}

std::string LeafOfPath(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// A file in a folder that takes no new file, whose save in place is killed at its second write
// into the file: the file holds the first part of the new text and the rest of the old, and the
// whole new text waits in the cache folder. Recovered texts go below the user's data folder.
class InterruptedSave : public ::testing::Test {
 protected:
  InterruptedSave() { fs::create_directory(dir); }

  // Kills a save of `text` half-way; the file is then cut.
  void KillHalfWay(const std::string& text) {
    ASSERT_EQ(InChild([&] {
                int writes = 0;
                ScopedFileFaultHook killer([&](FileStep s, const std::string& p) {
                  if (s == FileStep::Write && p == path && ++writes == 2) ::raise(SIGKILL);
                  return RefuseNewEntriesIn(dir, s, p);
                });
                Save(path, text);
                return 0;
              }),
              128 + SIGKILL);
    cut = ReadAll(path);
    ASSERT_TRUE(cut != kOld && cut != text && cut.size() == kOld.size()) << cut.size();
    ASSERT_EQ(Entries(saves).size(), 1u);
  }

  TempFolder folder;
  TempFolder cache;
  TempFolder data;
  ScopedEnv cacheHome{"XDG_CACHE_HOME", cache.Path()};
  ScopedEnv dataHome{"XDG_DATA_HOME", data.Path()};
  const std::string saves = cache / "visual-brambolt/saves";
  const std::string dir = folder / "shared";
  const std::string path = dir + "/notes.h";
  const std::string kNewer = std::string(50000, 'w') + "newer";
  std::string cut;
};

// What the program must do with the waiting save, after something happened to the file.
enum class Expect { Completed, KeptAndTold };

// After a killed save in place, the file is changed by others, reached by another name, made
// read-only, away, damaged or copied: the saved text is written over the file only when the file
// is the one the save was cutting and nothing wrote it since; otherwise the user is told once that
// the file may be incomplete and where the whole text is kept, and that file holds it.
TEST_F(InterruptedSave, IsCompletedOnlyOverTheFileItCutAndOtherwiseKeptWhereTheUserIsToldIt) {
  const std::string other = dir + "/renamed.h";
  const std::string project = folder / "project";
  fs::create_directory(project);
  pid_t sleeper = 0;
  struct Case {
    const char* what;
    std::function<void()> after;     // what happens between the kill and the open
    std::string open;                // the name opened
    Expect expect;
    std::string shown;               // the text the open gives ("" for the cut text)
  };
  const std::vector<Case> cases = {
      {"newer text written in place", [&] { WriteInPlace(path, kNewer); }, path, Expect::KeptAndTold, kNewer},
      {"the file replaced by newer text",
       [&] {
         WriteAll(dir + "/checkout.tmp", kNewer);
         fs::rename(dir + "/checkout.tmp", path);
       },
       path, Expect::KeptAndTold, kNewer},
      {"the stage given the id of a live process",
       [&] {
         sleeper = ::fork();
         if (sleeper == 0) {
           ::pause();
           ::_exit(0);
         }
         const std::regex owner("^(.*\\.[^.]*?)([0-9]+)((-[0-9]+-[0-9a-f]{8})?\\.[0-9a-f]{12})$");
         for (const std::string& name : Entries(saves)) {
           std::smatch parts;
           ASSERT_TRUE(std::regex_match(name, parts, owner)) << name;
           const std::string renamed = parts.str(1) + std::to_string(sleeper) + parts.str(3);
           fs::rename(saves + "/" + name, saves + "/" + renamed);
         }
       },
       path, Expect::Completed, kNew},
      {"the file made read-only", [&] { ::chmod(path.c_str(), 0444); }, path, Expect::KeptAndTold, ""},
      {"the file renamed", [&] { fs::rename(path, other); }, other, Expect::KeptAndTold, ""},
      {"a hard link to the file", [&] { ASSERT_EQ(::link(path.c_str(), other.c_str()), 0); }, other, Expect::KeptAndTold, ""},
      {"a hard link to the file, and the stage's record cut",
       [&] {
         ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
         for (const std::string& name : Entries(saves)) {
           const std::string stage = saves + "/" + name;
           fs::resize_file(stage, fs::file_size(stage) - 20);
         }
       },
       other, Expect::KeptAndTold, ""},
      {"the folder away and back",
       [&] {
         fs::rename(dir, dir + ".away");
         ToldTexts told;
         EXPECT_EQ(OpenAndRead(path), "<not opened>");
         EXPECT_EQ(told.Texts(), std::vector<std::string>{});
         EXPECT_EQ(Entries(saves).size(), 1u) << "the only whole text was removed";
         fs::rename(dir + ".away", dir);
       },
       path, Expect::Completed, kNew},
      {"one bit of the stage flipped",
       [&] {
         for (const std::string& name : Entries(saves)) {
           std::string bytes = ReadAll(saves + "/" + name);
           bytes[100] = static_cast<char>(bytes[100] ^ 4);
           WriteAll(saves + "/" + name, bytes);
         }
       },
       path, Expect::KeptAndTold, ""},
      {"the stage's record cut",
       [&] {
         for (const std::string& name : Entries(saves)) {
           const std::string stage = saves + "/" + name;
           fs::resize_file(stage, fs::file_size(stage) - 20);
         }
       },
       path, Expect::KeptAndTold, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(other);
    WriteAll(path, kOld);
    ::chmod(path.c_str(), 0644);
    ASSERT_NO_FATAL_FAILURE(KillHalfWay(kNew));
    c.after();
    const std::map<std::string, std::string> recoveredBefore = FilesBelow(data.Path());
    ToldTexts told;
    const std::string shown = OpenAndRead(c.open);
    if (sleeper != 0) {
      ::kill(sleeper, SIGKILL);
      ::waitpid(sleeper, nullptr, 0);
      sleeper = 0;
    }
    EXPECT_TRUE(shown == (c.shown.empty() ? cut : c.shown)) << shown.size() << " bytes shown";
    EXPECT_EQ(told.Texts().size(), 1u);
    if (told.Texts().size() != 1) {
      fs::remove_all(saves);
      continue;
    }
    const std::string& message = told.Texts()[0];
    if (c.expect == Expect::Completed) {
      EXPECT_NE(message.find("completed"), std::string::npos) << message;
    } else {
      EXPECT_NE(message.find(c.open), std::string::npos) << message;
      EXPECT_NE(message.find("may be incomplete"), std::string::npos) << message;
      if (std::string(c.what) == "the file made read-only") {
        EXPECT_NE(message.find("read-only"), std::string::npos) << message;
      }
      std::vector<std::string> recovered;
      for (const auto& [file, bytes] : FilesBelow(data.Path()))
        if (recoveredBefore.count(file) == 0) recovered.push_back(file);
      EXPECT_EQ(recovered.size(), 1u);
      if (recovered.size() != 1) continue;
      EXPECT_NE(message.find(recovered[0]), std::string::npos) << message;
      // The text the save was writing, or with a damaged stage all that is left of it.
      const std::string kept = ReadAll(recovered[0]);
      EXPECT_TRUE(kept.size() >= kNew.size() && kept.compare(0, 64, kNew, 0, 64) == 0) << kept.size();
      if (std::string(c.what).find("stage") == std::string::npos) {
        EXPECT_TRUE(kept == kNew);
      }
    }
    // Told once: the next open says nothing, and nothing waits any more.
    EXPECT_TRUE(OpenAndRead(c.open) == shown);
    if (fs::exists(path)) {
      EXPECT_TRUE(OpenAndRead(path) == ReadAll(path));
    }
    EXPECT_EQ(told.Texts().size(), 1u);
    EXPECT_EQ(Entries(saves), std::set<std::string>{});
  }
}

// Many waiting texts of one file that cannot be written over it (here the file was written since)
// are all kept, and the user is told once, with their number and the folder that holds them.
TEST_F(InterruptedSave, ManyTextsKeptAtOneOpenAreToldInOneMessage) {
  WriteAll(path, kOld);
  ASSERT_NO_FATAL_FAILURE(KillHalfWay(kNew));
  // The same stage as 40 killed saves left it.
  const std::string stage = *Entries(saves).begin();
  for (int i = 1; i < 40; ++i) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%012x", 0xabc000 + i);
    fs::copy_file(saves + "/" + stage, saves + "/" + stage.substr(0, stage.size() - 12) + suffix);
  }
  ASSERT_EQ(Entries(saves).size(), 40u);
  WriteInPlace(path, kNewer);
  const std::map<std::string, std::string> recoveredBefore = FilesBelow(data.Path());
  ToldTexts told;
  EXPECT_TRUE(OpenAndRead(path) == kNewer);
  std::vector<std::string> recovered;
  for (const auto& [file, bytes] : FilesBelow(data.Path()))
    if (recoveredBefore.count(file) == 0) recovered.push_back(file);
  ASSERT_EQ(recovered.size(), 40u);
  for (const std::string& file : recovered) EXPECT_TRUE(ReadAll(file) == kNew) << file;
  ASSERT_EQ(told.Texts().size(), 1u);
  const std::string& message = told.Texts()[0];
  EXPECT_EQ(message.rfind("40 saves of " + path + " were interrupted before they were complete, so the file may be "
                          "incomplete.", 0),
            0u)
      << message;
  EXPECT_NE(message.find(fs::path(recovered[0]).parent_path().string()), std::string::npos) << message;
  EXPECT_TRUE(Entries(saves).empty());
}

// A damaged stage whose record shows that the file was never touched (the save was killed as it
// was about to write the file in place) is removed without a word: the file holds its old text.
TEST_F(InterruptedSave, ADamagedStageGoesSilentlyOnlyWhenTheFileWasNeverTouched) {
  WriteAll(path, kOld);
  ASSERT_EQ(InChild([&] {
              ScopedFileFaultHook killer([&](FileStep s, const std::string& p) {
                if (s == FileStep::Write && p.compare(0, saves.size(), saves) == 0 && p.find(".stage-") != std::string::npos)
                  ::raise(SIGKILL);
                return RefuseNewEntriesIn(dir, s, p);
              });
              Save(path, kNew);
              return 0;
            }),
            128 + SIGKILL);
  ASSERT_EQ(Entries(saves).size(), 1u);
  for (const std::string& name : Entries(saves)) {
    std::string bytes = ReadAll(saves + "/" + name);
    bytes[100] = static_cast<char>(bytes[100] ^ 4);
    WriteAll(saves + "/" + name, bytes);
  }
  ToldTexts told;
  EXPECT_TRUE(OpenAndRead(path) == kOld);
  EXPECT_EQ(told.Texts(), std::vector<std::string>{});
  EXPECT_EQ(Entries(saves), std::set<std::string>{});
  EXPECT_EQ(FilesBelow(data.Path()).size(), 0u);
}

// Insert Files copies a file whose save in place was killed: the copy holds the whole saved text.
TEST_F(InterruptedSave, ACopyIntoAProjectTakesTheCompletedText) {
  WriteAll(path, kOld);
  ASSERT_NO_FATAL_FAILURE(KillHalfWay(kNew));
  const std::string copy = folder / "copy.h";
  ToldTexts told;
  ASSERT_TRUE(CopyFile(path.c_str(), copy.c_str(), TRUE));
  EXPECT_TRUE(ReadAll(copy) == kNew) << ReadAll(copy).size();
  EXPECT_TRUE(ReadAll(path) == kNew);
  EXPECT_EQ(told.Texts().size(), 1u);
}

// A first process's save in place fails half-way while it lives on; a second saves newer text;
// the first ends. The newer text stays, and no one is told of the older save any more.
TEST_F(InterruptedSave, ALaterSaveRetiresTheWaitingTextOfAnEarlierOne) {
  WriteAll(path, kOld);
  int ready[2];
  int done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t first = ::fork();
  if (first == 0) {
    ::alarm(20);
    int writes = 0;
    ScopedFileFaultHook failing([&](FileStep s, const std::string& p) {
      if (s == FileStep::Write && p == path && ++writes == 2) return EIO;
      return RefuseNewEntriesIn(dir, s, p);
    });
    const int cause = FileCause([&] { Save(path, kNew); });
    char byte = cause == -1 ? 'n' : 'y';
    (void)!::write(ready[1], &byte, 1);
    (void)!::read(done[0], &byte, 1);
    ::_exit(0);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  EXPECT_EQ(byte, 'y') << "the first save did not fail";
  EXPECT_EQ(Entries(saves).size(), 1u) << "no text waits for the cut file";
  {
    ToldTexts told;
    ScopedFileFaultHook refuse([&](FileStep s, const std::string& p) { return RefuseNewEntriesIn(dir, s, p); });
    Save(path, kNewer);
  }
  EXPECT_TRUE(ReadAll(path) == kNewer);
  ASSERT_EQ(::write(done[1], &byte, 1), 1);
  ASSERT_EQ(::waitpid(first, nullptr, 0), first);
  for (const int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);
  ToldTexts told;
  EXPECT_TRUE(OpenAndRead(path) == kNewer);
  EXPECT_EQ(told.Texts(), std::vector<std::string>{});
  EXPECT_EQ(Entries(saves), std::set<std::string>{});
}

// The recovered files below the data folder that the user may take for a text: not hidden.
std::vector<std::string> VisibleFilesBelow(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& [file, bytes] : FilesBelow(folder))
    if (fs::path(file).filename().string()[0] != '.') files.push_back(file);
  return files;
}

// The path the message gives for the kept text: what follows "kept in " up to the final dot.
std::string KeptPath(const std::string& message) {
  const std::size_t at = message.find("kept in ");
  if (at == std::string::npos) return std::string();
  const std::size_t end = message.find(". ", at);
  const std::size_t stop = end != std::string::npos ? end : message.rfind('.');
  return message.substr(at + 8, stop - at - 8);
}

// A save killed inside a step (the step's bytes are in the file, its record not yet): a file
// that another program changed later at the same size, or replaced by a copy that keeps the
// times (cp -p), is never written over; its text is kept for the user.
TEST_F(InterruptedSave, AKillInsideAStepIsNeverCompletedOverALaterWriteOrACopyThatKeepsTheTimes) {
  const std::string old(200000, 'o');
  const std::string text = std::string(200000, 'n') + "end";
  for (const bool copy : {true, false}) {
    SCOPED_TRACE(copy ? "replaced by a copy that keeps the times" : "a same-size edit beyond the step, seconds later");
    WriteAll(path, old);
    ASSERT_EQ(InChild([&] {
                int writes = 0;
                ScopedFileFaultHook killer([&](FileStep s, const std::string& p) {
                  if (s == FileStep::Write && p == path) ++writes;
                  else if (s == FileStep::Write && writes == 2 && p.find(".stage-") != std::string::npos) ::raise(SIGKILL);
                  return RefuseNewEntriesIn(dir, s, p);
                });
                Save(path, text);
                return 0;
              }),
              128 + SIGKILL);
    const std::string cutText = ReadAll(path);
    ASSERT_TRUE(cutText.size() == old.size() && cutText[131071] == 'n' && cutText[131072] == 'o');
    ASSERT_EQ(Entries(saves).size(), 1u);
    struct stat cutStat {};
    ASSERT_EQ(::stat(path.c_str(), &cutStat), 0);
    std::string later = cutText;
    if (copy) {
      // cp -p over the file: the same bytes and times, written again.
      WriteInPlace(path, later);
      const struct timespec times[2] = {cutStat.st_atim, cutStat.st_mtim};
      ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    } else {
      later[150000] = 'e';
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      for (struct stat st {};;) {
        WriteInPlace(path, later);
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        if (st.st_ctim.tv_sec >= cutStat.st_ctim.tv_sec + 4) break;
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the clock did not move";
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
      }
    }
    ToldTexts told;
    EXPECT_TRUE(OpenAndRead(path) == later);
    EXPECT_TRUE(ReadAll(path) == later);
    ASSERT_EQ(told.Texts().size(), 1u);
    EXPECT_NE(told.Texts()[0].find("may be incomplete"), std::string::npos) << told.Texts()[0];
    EXPECT_TRUE(ReadAll(KeptPath(told.Texts()[0])) == text) << told.Texts()[0];
    EXPECT_EQ(Entries(saves), std::set<std::string>{});
  }
}

// A save killed inside a step (all or only the first bytes of the step are in, the rest of the
// file as it was) is completed. When another program then changes a few bytes at once, beyond
// the step or inside it where a cut would not leave them, the file is not written over: its text
// is kept for the user.
TEST_F(InterruptedSave, AKillInsideAStepIsCompletedOnlyWhenEveryByteIsAsTheCutLeftIt) {
  const std::string old(200000, 'o');
  const std::string text = std::string(150000, 'n') + "end";
  const std::size_t step = 65536;  // the second step of the write in place starts here
  const std::size_t npos = std::string::npos;
  const struct {
    const char* what;
    std::size_t in;     // how many of the step's bytes are in when the kill comes
    std::size_t at;     // where the other program then writes, or npos
    std::string bytes;  // what it writes
    bool completed;
  } cases[] = {
      {"the step's bytes in, nothing else", step, npos, "", true},
      {"the step's bytes in, one byte changed beyond the step", step, 150000, "e", false},
      {"the step's bytes in, eight bytes changed beyond it", step, 199990, "eeeeeeee", false},
      {"a thousand bytes in, nothing else", 1000, npos, "", true},
      {"a thousand bytes in, a byte changed beyond the step", 1000, 140000, "e", false},
      {"a thousand bytes in, a byte changed inside the step after the cut", 1000, 100000, "x", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(saves);
    WriteAll(path, old);
    ASSERT_EQ(InChild([&] {
                int writes = 0;
                ScopedFileFaultHook killer([&](FileStep s, const std::string& p) {
                  if (s == FileStep::Write && p == path && ++writes == 2 && c.in < step) {
                    const int fd = ::open(path.c_str(), O_WRONLY);
                    (void)!::pwrite(fd, text.data() + step, c.in, static_cast<off_t>(step));
                    ::close(fd);
                    ::raise(SIGKILL);
                  }
                  // The whole step is in: the kill comes before its record.
                  if (s == FileStep::Write && writes == 2 && p.find(".stage-") != std::string::npos) ::raise(SIGKILL);
                  return RefuseNewEntriesIn(dir, s, p);
                });
                Save(path, text);
                return 0;
              }),
              128 + SIGKILL);
    std::string later = ReadAll(path);
    ASSERT_TRUE(later.size() == old.size() && later[step + c.in - 1] == 'n' && later[step + c.in] == 'o');
    if (c.at != npos) {
      const int fd = ::open(path.c_str(), O_WRONLY);
      ASSERT_EQ(::pwrite(fd, c.bytes.data(), c.bytes.size(), static_cast<off_t>(c.at)), static_cast<ssize_t>(c.bytes.size()));
      ::close(fd);
      later.replace(c.at, c.bytes.size(), c.bytes);
    }
    ToldTexts told;
    const std::string shown = OpenAndRead(path);
    ASSERT_EQ(told.Texts().size(), 1u);
    if (c.completed) {
      EXPECT_TRUE(shown == text);
      EXPECT_NE(told.Texts()[0].find("has now been completed"), std::string::npos) << told.Texts()[0];
    } else {
      EXPECT_TRUE(shown == later) << "the other program's bytes were written over";
      EXPECT_NE(told.Texts()[0].find("may be incomplete"), std::string::npos) << told.Texts()[0];
      EXPECT_TRUE(ReadAll(KeptPath(told.Texts()[0])) == text) << told.Texts()[0];
    }
    EXPECT_TRUE(ReadAll(path) == shown);
    EXPECT_EQ(Entries(saves), std::set<std::string>{});
  }
}

// When the recovered folder takes no copy (it refuses new files, or its disk is full), the text
// the user is told of stays where the message says, through later saves of the file and opens of
// other processes; when it cannot even be set aside, the message says so.
TEST_F(InterruptedSave, ACopyTheUserWasToldOfIsNeverRemovedByLaterSaves) {
  const std::string recovered = data / "visual-brambolt";
  for (const int refusal : {EACCES, ENOSPC, EROFS}) {
    SCOPED_TRACE(refusal);
    fs::remove_all(saves);
    WriteAll(path, kOld);
    ASSERT_NO_FATAL_FAILURE(KillHalfWay(kNew));
    WriteInPlace(path, kNewer);
    auto refuse = [&](FileStep s, const std::string& p) {
      if (p.compare(0, recovered.size(), recovered) == 0 &&
          (s == FileStep::Create || (refusal == ENOSPC && s == FileStep::Write)))
        return refusal == EROFS ? EACCES : refusal;
      // EROFS: the cache folder takes no new name either.
      if (refusal == EROFS && s == FileStep::Rename && p.compare(0, saves.size(), saves) == 0 &&
          p.find(".stage-") == std::string::npos)
        return EROFS;
      return RefuseNewEntriesIn(dir, s, p);
    };
    std::string kept;
    {
      ToldTexts told;
      ScopedFileFaultHook hook(refuse);
      EXPECT_TRUE(OpenAndRead(path) == kNewer);
      ASSERT_EQ(told.Texts().size(), 1u);
      kept = KeptPath(told.Texts()[0]);
      EXPECT_TRUE(ReadAll(kept).compare(0, kNew.size(), kNew) == 0) << told.Texts()[0];
      EXPECT_EQ(told.Texts()[0].find("copy the text elsewhere") != std::string::npos, refusal == EROFS) << told.Texts()[0];
      // The user saves the file again.
      Save(path, kNewer + "more");
      EXPECT_TRUE(OpenAndRead(path) == kNewer + "more");
      EXPECT_EQ(told.Texts().size(), 1u);
    }
    EXPECT_TRUE(ReadAll(kept).compare(0, kNew.size(), kNew) == 0) << kept;
    if (refusal != EROFS) {
      EXPECT_TRUE(ReadAll(kept) == kNew) << kept;
      // Another instance opens and saves the file: the copy stays, and nothing more is said.
      EXPECT_EQ(InChild([&] {
                  AfxSetErrorReporter([](LPCTSTR, UINT) { return ::raise(SIGUSR1), 1; });
                  ScopedFileFaultHook refuseNew([&](FileStep s, const std::string& p) { return RefuseNewEntriesIn(dir, s, p); });
                  if (OpenAndRead(path) != kNewer + "more") return 1;
                  Save(path, kNewer);
                  return 0;
                }),
                0);
      EXPECT_TRUE(ReadAll(kept) == kNew) << kept;
    }
    EXPECT_EQ(FilesBelow(data.Path()).size(), 0u);
  }
}

// A second instance opens the file while the first is inside the completion of its killed save:
// it does not show the half-written file; it waits, and tells the user when the first is not done.
TEST_F(InterruptedSave, ASecondInstanceNeverShowsTheFileWhileTheFirstCompletesIt) {
  WriteAll(path, kOld);
  ASSERT_NO_FATAL_FAILURE(KillHalfWay(kNew));
  int inside[2];
  int release[2];
  ASSERT_EQ(::pipe(inside), 0);
  ASSERT_EQ(::pipe(release), 0);
  const pid_t first = ::fork();
  if (first == 0) {
    ::alarm(60);
    AfxSetErrorReporter([](LPCTSTR, UINT) { return 1; });
    bool held = false;
    ScopedFileFaultHook hold([&](FileStep s, const std::string& p) {
      if (s == FileStep::Write && p == path && !held) {
        held = true;
        char byte = 'i';
        (void)!::write(inside[1], &byte, 1);
        (void)!::read(release[0], &byte, 1);
      }
      return 0;
    });
    ::_exit(OpenAndRead(path) == kNew ? 0 : 1);
  }
  char byte = 0;
  ASSERT_EQ(::read(inside[0], &byte, 1), 1);
  {
    ToldTexts told;
    const std::string shown = OpenAndRead(path);
    EXPECT_FALSE(shown == cut) << "the half-written file was shown";
    EXPECT_EQ(shown, "<not opened>");
    ASSERT_EQ(told.Texts().size(), 1u);
    EXPECT_NE(told.Texts()[0].find("another instance"), std::string::npos) << told.Texts()[0];
    EXPECT_NE(told.Texts()[0].find(path), std::string::npos) << told.Texts()[0];
    // Insert Files copies no half-written file either.
    const std::string copy = folder / "copy.h";
    EXPECT_FALSE(CopyFile(path.c_str(), copy.c_str(), TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(fs::exists(copy));
  }
  ASSERT_EQ(::write(release[1], &byte, 1), 1);
  int status = 0;
  ASSERT_EQ(::waitpid(first, &status, 0), first);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  for (const int fd : {inside[0], inside[1], release[0], release[1]}) ::close(fd);
  ToldTexts told;
  EXPECT_TRUE(OpenAndRead(path) == kNew);
  Save(path, kNewer);
  EXPECT_TRUE(ReadAll(path) == kNewer);
  EXPECT_EQ(told.Texts(), std::vector<std::string>{});
}

// The recovered folder under a data folder shared with others: a recovered folder (or the
// program's folder above it) that others may write is not used, so no one can move the text
// away from where the user is told it is.
TEST_F(InterruptedSave, ARecoveredFolderOthersMayWriteIsNotUsed) {
  const std::string program = data / "visual-brambolt";
  const std::string recovered = program + "/recovered";
  const std::vector<std::pair<std::string, std::function<void()>>> cases = {
      {"a recovered folder anyone may write",
       [&] {
         fs::create_directories(recovered);
         ::chmod(recovered.c_str(), 0777);
       }},
      {"the program's folder anyone may write",
       [&] {
         fs::create_directories(recovered);
         ::chmod(recovered.c_str(), 0700);
         ::chmod(program.c_str(), 0777);
       }},
      {"the data folder anyone may write, without the sticky bit",
       [&] {
         fs::create_directories(recovered);
         ::chmod(recovered.c_str(), 0700);
         ::chmod(program.c_str(), 0700);
         ::chmod(data.Path().c_str(), 0777);
       }},
  };
  for (const auto& [what, share] : cases) {
    SCOPED_TRACE(what);
    fs::remove_all(program);
    fs::remove_all(saves);
    WriteAll(path, kOld);
    ASSERT_NO_FATAL_FAILURE(KillHalfWay(kNew));
    WriteInPlace(path, kNewer);
    share();
    ToldTexts told;
    ScopedFileFaultHook refuse([&](FileStep s, const std::string& p) { return RefuseNewEntriesIn(dir, s, p); });
    EXPECT_TRUE(OpenAndRead(path) == kNewer);
    ASSERT_EQ(told.Texts().size(), 1u);
    const std::string kept = KeptPath(told.Texts()[0]);
    EXPECT_TRUE(ReadAll(kept) == kNew) << told.Texts()[0];
    EXPECT_NE(kept.compare(0, data.Path().size(), data.Path()), 0) << kept;
    EXPECT_EQ(FilesBelow(data.Path()).size(), 0u);
    ::chmod(data.Path().c_str(), 0700);
  }
}

// A cache folder that is a link to another folder is not read, but its stages of the file are
// told of: a cut file never opens without a word.
TEST_F(InterruptedSave, StagesInACacheFolderThatIsALinkAreToldOf) {
  WriteAll(path, kOld);
  ASSERT_NO_FATAL_FAILURE(KillHalfWay(kNew));
  const std::string elsewhere = folder / "elsewhere";
  fs::rename(saves, elsewhere);
  ASSERT_EQ(::symlink(elsewhere.c_str(), saves.c_str()), 0);
  const std::set<std::string> left = Entries(elsewhere);
  ToldTexts told;
  EXPECT_TRUE(OpenAndRead(path) == cut);
  ASSERT_EQ(told.Texts().size(), 1u);
  EXPECT_NE(told.Texts()[0].find(path), std::string::npos) << told.Texts()[0];
  EXPECT_NE(told.Texts()[0].find(saves), std::string::npos) << told.Texts()[0];
  EXPECT_NE(told.Texts()[0].find("may be incomplete"), std::string::npos) << told.Texts()[0];
  EXPECT_TRUE(OpenAndRead(path) == cut);
  EXPECT_EQ(told.Texts().size(), 1u);
  EXPECT_EQ(Entries(elsewhere), left);
}

// A kill while the text is copied into the recovered folder leaves no partial copy under the
// saved file's name; the next open makes the whole copy and tells of it.
TEST_F(InterruptedSave, AKillDuringTheCopyIntoTheRecoveredFolderLeavesNoPartialCopyToBeTakenForIt) {
  WriteAll(path, kOld);
  ASSERT_NO_FATAL_FAILURE(KillHalfWay(kNew));
  WriteInPlace(path, kNewer);
  ASSERT_EQ(InChild([&] {
              int writes = 0;
              AfxSetErrorReporter([](LPCTSTR, UINT) { return 1; });
              ScopedFileFaultHook killer([&](FileStep s, const std::string& p) {
                if (s == FileStep::Write && p.compare(0, data.Path().size(), data.Path()) == 0 && ++writes == 2)
                  ::raise(SIGKILL);
                return RefuseNewEntriesIn(dir, s, p);
              });
              OpenAndRead(path);
              return 0;
            }),
            128 + SIGKILL);
  EXPECT_EQ(VisibleFilesBelow(data.Path()), std::vector<std::string>{});
  ToldTexts told;
  EXPECT_TRUE(OpenAndRead(path) == kNewer);
  ASSERT_EQ(told.Texts().size(), 1u);
  const std::vector<std::string> visible = VisibleFilesBelow(data.Path());
  ASSERT_EQ(visible.size(), 1u);
  EXPECT_EQ(KeptPath(told.Texts()[0]), visible[0]);
  EXPECT_TRUE(ReadAll(visible[0]) == kNew);
}

// A temporary file whose maker holds its lock is never removed, whatever its name says of the
// maker (another boot's process, on a home shared by two machines); a save holds the lock of its
// temporary file while it writes it.
TEST_F(InterruptedSave, ATemporaryFileWhoseLockIsHeldIsNeverRemoved) {
  WriteAll(path, kOld);
  const std::string beside = OtherBootsName(dir, LeafOfPath(path));
  fs::create_directories(saves);
  const std::string cached = OtherBootsName(saves, brambolt::mirror::CacheStem(path));
  for (const std::string& file : {beside, cached}) WriteAll(file, "a save of another machine");
  const int besideFd = ::open(beside.c_str(), O_RDONLY);
  const int cachedFd = ::open(cached.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(besideFd, LOCK_EX), 0);
  ASSERT_EQ(::flock(cachedFd, LOCK_EX), 0);
  EXPECT_TRUE(OpenAndRead(path) == kOld);
  Save(path, kNew);
  EXPECT_TRUE(fs::exists(beside));
  EXPECT_TRUE(fs::exists(cached));
  ::close(besideFd);
  ::close(cachedFd);
  // Released (the other machine's process ended): what it left goes.
  Save(path, kOld);
  EXPECT_TRUE(OpenAndRead(path) == kOld);
  EXPECT_FALSE(fs::exists(beside));
  EXPECT_FALSE(fs::exists(cached));
  // The save's own temporary file is locked while it is written, beside the file and in place.
  for (const bool bRefusing : {false, true}) {
    SCOPED_TRACE(bRefusing ? "in place" : "beside");
    int checked = 0;
    ScopedFileFaultHook probe([&](FileStep s, const std::string& p) {
      if (s == FileStep::Write && p != path && p.find(".~") != std::string::npos && checked++ == 0) {
        const int fd = ::open(p.c_str(), O_RDONLY);
        EXPECT_GE(fd, 0) << p;
        EXPECT_NE(::flock(fd, LOCK_SH | LOCK_NB), 0) << p;
        ::close(fd);
      }
      return bRefusing ? RefuseNewEntriesIn(dir, s, p) : 0;
    });
    Save(path, kNew);
    EXPECT_GT(checked, 0);
  }
  EXPECT_EQ(Entries(dir), std::set<std::string>{"notes.h"});
}

}  // namespace

// Two instances open the file of a killed save at the same moment: exactly one completes it, and
// the other shows the completed text or says that the file is being completed.
TEST_F(InterruptedSave, TwoInstancesOpeningAtOnceCompleteTheSaveOnce) {
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE(round);
    fs::remove_all(saves);
    WriteAll(path, kOld);
    ASSERT_NO_FATAL_FAILURE(KillHalfWay(kNew));
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> children;
    for (int n = 0; n < 2; ++n) {
      const pid_t pid = ::fork();
      if (pid == 0) {
        ::alarm(60);
        ::close(go[1]);
        char byte = 0;
        (void)!::read(go[0], &byte, 1);
        ToldTexts told;
        const std::string shown = OpenAndRead(path);
        int completed = 0;
        bool beingWritten = false;
        for (const std::string& text : told.Texts()) {
          completed += text.find("has now been completed") != std::string::npos;
          beingWritten = beingWritten || text.find("another instance") != std::string::npos;
        }
        // 10: completed here; 20: shown whole without a word; 30: refused with a word; else wrong.
        if (completed == 1 && told.Texts().size() == 1 && shown == kNew) ::_exit(10);
        if (told.Texts().empty() && shown == kNew) ::_exit(20);
        if (beingWritten && told.Texts().size() == 1 && shown == "<not opened>") ::_exit(30);
        ::_exit(1);
      }
      children.push_back(pid);
    }
    ::close(go[0]);
    ASSERT_EQ(::write(go[1], "gg", 2), 2);
    ::close(go[1]);
    std::multiset<int> results;
    for (const pid_t pid : children) {
      int status = 0;
      ASSERT_EQ(::waitpid(pid, &status, 0), pid);
      results.insert(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    }
    EXPECT_EQ(results.count(10), 1u) << "exactly one instance completes the save";
    EXPECT_EQ(results.count(20) + results.count(30), 1u) << "the other shows the text or says it is being written";
    EXPECT_TRUE(ReadAll(path) == kNew);
    EXPECT_EQ(Entries(saves), std::set<std::string>{});
  }
}

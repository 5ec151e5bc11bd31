// Case-insensitive lookup through the folder-name cache: every change to a folder, made by this
// process or another, through the platform or around it, shows in the next lookup.
#include "os/FolderNames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "TempDir.h"
#include "base/CodePage.h"
#include "os/FileApi.h"
#include "os/Paths.h"

namespace brambolt {
namespace {

using testing_os::TempDir;

// What the cache answers for `name` in `dir`, "" for nothing.
std::string Resolved(const std::string& dir, const std::string& name) {
  std::string found;
  return FindFileNameNoCase(dir, name, found) ? found : std::string();
}

// The same question answered by reading the folder now, without the cache.
std::string ReadAfresh(const std::string& dir, const std::string& name) {
  std::string best;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string entryName = entry.path().filename().string();
    if (FileNamesEqualNoCase(entryName, name) && (best.empty() || entryName < best)) best = entryName;
  }
  return best;
}

// Only system calls, so that it may run in a forked child.
void Touch(const std::string& path) {
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
  if (fd >= 0) ::close(fd);
}

// Enough other names in the folder for the cache to keep it.
void MakeLarge(const std::string& dir) {
  std::filesystem::create_directories(dir);
  for (std::size_t i = 0; i < kFolderNameCacheMinNames; ++i) Touch(dir + "/Filler" + std::to_string(i));
}

// Runs `action` in a child process and waits for it; the child's exit code is its verdict.
void InOtherProcess(const std::function<int()>& action) {
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) ::_exit(action());
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

struct ChangeCase {
  const char* what;
  std::vector<const char*> files;  // made before the lookup that fills the cache; "x/" is a folder
  std::function<void(const std::string& dir)> change;
  const char* lookup;
  const char* expected;  // "" for no match
};

void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.what; }

std::vector<ChangeCase> ChangeCases() {
  auto in = [](const std::string& dir, const char* name) { return dir + "/" + name; };
  return {
      {"Created", {"Other.txt"}, [=](const std::string& d) { Touch(in(d, "Page.htm")); }, "PAGE.HTM", "Page.htm"},
      {"Deleted", {"Page.htm"}, [=](const std::string& d) { ::unlink(in(d, "Page.htm").c_str()); }, "page.htm", ""},
      {"RenamedAway",
       {"Old.txt"},
       [=](const std::string& d) { ::rename(in(d, "Old.txt").c_str(), in(d, "New.txt").c_str()); },
       "OLD.TXT",
       ""},
      {"RenamedInto",
       {"Old.txt"},
       [=](const std::string& d) { ::rename(in(d, "Old.txt").c_str(), in(d, "New.txt").c_str()); },
       "new.TXT",
       "New.txt"},
      {"ReplacedByRename",
       {"Target.txt", "Source.txt"},
       [=](const std::string& d) { ::rename(in(d, "Source.txt").c_str(), in(d, "Target.txt").c_str()); },
       "SOURCE.TXT",
       ""},
      {"MovedInFromAnotherFolder",
       {"Sub/Moved.txt"},
       [=](const std::string& d) { ::rename(in(d, "Sub/Moved.txt").c_str(), in(d, "Moved.txt").c_str()); },
       "MOVED.TXT",
       "Moved.txt"},
      {"SmallerCaseVariantAppears",
       {"abc.txt"},
       [=](const std::string& d) { Touch(in(d, "ABC.txt")); },
       "Abc.txt",
       "ABC.txt"},
      {"SmallerCaseVariantGoes",
       {"abc.txt", "ABC.txt"},
       [=](const std::string& d) { ::unlink(in(d, "ABC.txt").c_str()); },
       "Abc.txt",
       "abc.txt"},
      {"FolderCreated", {"Other.txt"}, [=](const std::string& d) { ::mkdir(in(d, "Htmls").c_str(), 0755); }, "HTMLS", "Htmls"},
      {"FolderRemoved", {"Htmls/"}, [=](const std::string& d) { ::rmdir(in(d, "Htmls").c_str()); }, "htmls", ""},
  };
}

// Each change in a folder small enough to be read per lookup and in one the cache keeps.
class FolderNameChanges : public ::testing::TestWithParam<std::tuple<ChangeCase, bool, bool>> {};

TEST_P(FolderNameChanges, ShowInTheNextLookup) {
  const auto& [c, byOtherProcess, large] = GetParam();
  TempDir dir;
  if (large) MakeLarge(dir.Path());
  for (const char* file : c.files) {
    const std::string name = file;
    if (name.back() == '/')
      std::filesystem::create_directories(dir / name);
    else
      dir.Write(name);
  }
  // Fills the cache with the folder as it is before the change.
  Resolved(dir.Path(), c.lookup);
  Resolved(dir.Path(), "NoSuchName");
  if (byOtherProcess) {
    const std::string path = dir.Path();
    const ChangeCase& change = c;  // a lambda takes no structured binding in clang 14
    InOtherProcess([&] {
      change.change(path);
      return 0;
    });
  } else {
    c.change(dir.Path());
  }
  EXPECT_EQ(Resolved(dir.Path(), c.lookup), c.expected);
  EXPECT_EQ(Resolved(dir.Path(), c.lookup), ReadAfresh(dir.Path(), c.lookup));
}

INSTANTIATE_TEST_SUITE_P(FolderNames, FolderNameChanges,
                         ::testing::Combine(::testing::ValuesIn(ChangeCases()), ::testing::Bool(), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<ChangeCase, bool, bool>>& info) {
                           return std::string(std::get<0>(info.param).what) +
                                  (std::get<1>(info.param) ? "ByOtherProcess" : "ByThisProcess") +
                                  (std::get<2>(info.param) ? "InLargeFolder" : "InSmallFolder");
                         });

TEST(FolderNames, FilesCreatedThroughThePlatformResolveInAnyCase) {
  TempDir dir;
  const std::string folder = dir.Path() + "\\Htmls\\";
  MakeLarge(dir / "Htmls");
  for (int i = 0; i < 50; ++i) {
    const std::string name = "Page" + std::to_string(i) + ".htm";
    EXPECT_EQ(NativePath(folder + "PAGE" + std::to_string(i) + ".HTM"), dir / "Htmls/PAGE" + std::to_string(i) + ".HTM");
    HANDLE file = CreateFile((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(NativePath(folder + "page" + std::to_string(i) + ".HTM"), dir / "Htmls/" + name);
  }
  ASSERT_TRUE(DeleteFile((folder + "Page7.htm").c_str()));
  EXPECT_EQ(NativePath(folder + "PAGE7.HTM"), dir / "Htmls/PAGE7.HTM");
}

TEST(FolderNames, AFolderPutInPlaceOfACachedOneIsReadAfresh) {
  TempDir dir;
  const std::string sub = dir / "Sub";
  MakeLarge(sub);
  dir.Write("Sub/One.txt");
  ASSERT_EQ(Resolved(sub, "ONE.TXT"), "One.txt");
  ASSERT_EQ(::rename(sub.c_str(), (dir / "Moved").c_str()), 0);
  dir.Write("Sub/Two.txt");
  EXPECT_EQ(Resolved(sub, "ONE.TXT"), "");
  EXPECT_EQ(Resolved(sub, "TWO.TXT"), "Two.txt");
  // The moved folder is still the same folder with the same names.
  EXPECT_EQ(Resolved(dir / "Moved", "one.txt"), "One.txt");
}

TEST(FolderNames, AFolderDeletedAndMadeAgainIsReadAfresh) {
  TempDir dir;
  const std::string sub = dir / "Sub";
  MakeLarge(sub);
  dir.Write("Sub/One.txt");
  ASSERT_EQ(Resolved(sub, "ONE.TXT"), "One.txt");
  std::filesystem::remove_all(sub);
  EXPECT_EQ(Resolved(sub, "ONE.TXT"), "");
  MakeLarge(sub);
  dir.Write("Sub/Two.txt");
  EXPECT_EQ(Resolved(sub, "ONE.TXT"), "");
  EXPECT_EQ(Resolved(sub, "two.TXT"), "Two.txt");
}

TEST(FolderNames, MissingFoldersAndFilesAnswerNothing) {
  TempDir dir;
  dir.Write("File.txt");
  EXPECT_EQ(Resolved(dir / "Missing", "x"), "");
  EXPECT_EQ(Resolved(dir / "File.txt", "x"), "");
  EXPECT_EQ(Resolved(dir.Path(), "."), "");
  EXPECT_EQ(Resolved(dir.Path(), ".."), "");
}

// The same bytes are one name in two cases under 1252 and two different characters under 936.
TEST(FolderNames, FollowsTheCodePageOfEachLookup) {
  TempDir dir;
  MakeLarge(dir.Path());
  dir.Write("\x81" "a.txt");
  {
    ScopedCodePage cp(1252);
    EXPECT_EQ(Resolved(dir.Path(), "\x81" "A.TXT"), "\x81" "a.txt");
  }
  {
    ScopedCodePage cp(936);
    EXPECT_EQ(Resolved(dir.Path(), "\x81" "A.TXT"), "");
    EXPECT_EQ(Resolved(dir.Path(), "\x81" "a.TXT"), "\x81" "a.txt");
  }
}

TEST(FolderNames, AForkedChildAndItsParentEachSeeEveryChange) {
  TempDir dir;
  MakeLarge(dir.Path());
  dir.Write("Parent.txt");
  ASSERT_EQ(Resolved(dir.Path(), "PARENT.TXT"), "Parent.txt");
  const std::string path = dir.Path();
  InOtherProcess([&] {
    Touch(path + "/Child.txt");
    if (Resolved(path, "CHILD.TXT") != "Child.txt") return 1;
    if (Resolved(path, "PARENT.TXT") != "Parent.txt") return 2;
    Touch(path + "/Second.txt");
    return Resolved(path, "SECOND.TXT") == "Second.txt" ? 0 : 3;
  });
  EXPECT_EQ(Resolved(path, "CHILD.TXT"), "Child.txt");
  EXPECT_EQ(Resolved(path, "SECOND.TXT"), "Second.txt");
  Touch(path + "/Third.txt");
  EXPECT_EQ(Resolved(path, "THIRD.TXT"), "Third.txt");
}

TEST(FolderNames, ThreadsCreatingAndResolvingInOneFolderAgree) {
  TempDir dir;
  const std::string folder = dir.Path();
  constexpr int kThreads = 8;
  constexpr int kFiles = 100;
  std::vector<int> wrong(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < kFiles; ++i) {
        const std::string name = "T" + std::to_string(t) + "_File" + std::to_string(i) + ".htm";
        Touch(folder + "/" + name);
        if (NativePath(folder + "\\t" + std::to_string(t) + "_FILE" + std::to_string(i) + ".HTM") != folder + "/" + name)
          ++wrong[t];
      }
    });
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kFiles; i += 17) {
      const std::string name = "T" + std::to_string(t) + "_File" + std::to_string(i) + ".htm";
      EXPECT_EQ(Resolved(folder, "t" + std::to_string(t) + "_file" + std::to_string(i) + ".htm"), name);
    }
}

TEST(FolderNames, KeepsNoMoreFoldersThanItsBound) {
  TempDir dir;
  const int nFolders = static_cast<int>(kFolderNameCacheMaxFolders) + 8;
  for (int i = 0; i < nFolders; ++i) {
    const std::string sub = "F" + std::to_string(i);
    MakeLarge(dir / sub);
    dir.Write(sub + "/Name.txt");
    EXPECT_EQ(Resolved(dir / sub, "NAME.TXT"), "Name.txt");
  }
  const FolderNameCacheSize size = GetFolderNameCacheSize();
  EXPECT_GT(size.nFolders, 0u);
  EXPECT_LE(size.nFolders, kFolderNameCacheMaxFolders);
  EXPECT_LE(size.nNames, kFolderNameCacheMaxNames);
  // A folder that was let go is read again when asked.
  dir.Write("F0/Later.txt");
  EXPECT_EQ(Resolved(dir / "F0", "LATER.TXT"), "Later.txt");
}

// More changes than the kernel queues between two lookups: the lost events must not leave a
// stale answer.
TEST(FolderNames, ChangesBeyondTheEventQueueAreNotLost) {
  std::ifstream limit("/proc/sys/fs/inotify/max_queued_events");
  int nQueued = 0;
  if (!(limit >> nQueued) || nQueued > 100000) GTEST_SKIP() << "event queue too long to overflow here";
  TempDir dir;
  MakeLarge(dir.Path());
  dir.Write("First.txt");
  ASSERT_EQ(Resolved(dir.Path(), "FIRST.TXT"), "First.txt");
  ASSERT_GT(GetFolderNameCacheSize().nFolders, 0u);
  for (int i = 0; i <= nQueued; ++i) Touch(dir / ("N" + std::to_string(i)));
  ::unlink((dir / "First.txt").c_str());
  Touch(dir / "Last.txt");
  EXPECT_EQ(Resolved(dir.Path(), "FIRST.TXT"), "");
  EXPECT_EQ(Resolved(dir.Path(), "LAST.TXT"), "Last.txt");
  EXPECT_EQ(Resolved(dir.Path(), "n" + std::to_string(nQueued)), "N" + std::to_string(nQueued));
}

}  // namespace
}  // namespace brambolt

// CMirrorFile (safe save) and CFileFind (folder search) on a private temporary folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/CFileFind.h"
#include "base/CodePage.h"
#include "core/CMirrorFile.h"
#include "FilesTestSupport.h"

using files_test::ReadAll;
using files_test::TempFolder;
using files_test::WriteAll;

namespace {

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

const UINT kSaveFlags = CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive;

TEST(MirrorFile, CloseReplacesTheFileOnlyAtTheEnd) {
  TempFolder folder;
  std::string path = folder / "project.dcp";
  WriteAll(path, "old content");
  CMirrorFile file;
  ASSERT_TRUE(file.Open(path.c_str(), kSaveFlags));
  file.Write("new", 3);
  file.Flush();
  EXPECT_EQ(ReadAll(path), "old content");
  EXPECT_STREQ(static_cast<LPCTSTR>(file.GetFilePath()), path.c_str());
  file.Close();
  EXPECT_EQ(ReadAll(path), "new");
  EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"project.dcp"});
}

TEST(MirrorFile, AbortOrDestructionKeepsTheOldFile) {
  TempFolder folder;
  std::string path = folder / "project.dcp";
  WriteAll(path, "old content");
  {
    CMirrorFile file;
    ASSERT_TRUE(file.Open(path.c_str(), kSaveFlags));
    file.Write("partial", 7);
    file.Abort();
  }
  EXPECT_EQ(ReadAll(path), "old content");
  {
    CMirrorFile file;
    ASSERT_TRUE(file.Open(path.c_str(), kSaveFlags));
    file.Write("partial", 7);
  }
  EXPECT_EQ(ReadAll(path), "old content");
  EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"project.dcp"});
}

TEST(MirrorFile, ANewFileAppearsOnlyOnClose) {
  TempFolder folder;
  std::string path = folder / "new.dcp";
  CMirrorFile file;
  ASSERT_TRUE(file.Open(path.c_str(), kSaveFlags));
  file.Write("x", 1);
  EXPECT_FALSE(std::filesystem::exists(path));
  file.Close();
  EXPECT_EQ(ReadAll(path), "x");
}

TEST(MirrorFile, KeepsThePermissionsAndFollowsSymbolicAndHardLinks) {
  TempFolder folder;
  std::string real = folder / "real.dcp";
  std::string link = folder / "link.dcp";
  WriteAll(real, "old");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  std::filesystem::create_symlink(real, link);
  CMirrorFile file;
  ASSERT_TRUE(file.Open(link.c_str(), kSaveFlags));
  file.Write("new", 3);
  file.Close();
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadAll(real), "new");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A file with another name (a hard link) stays one file: both names show the new text.
  TempFolder cache;
  brambolt::testing_os::ScopedEnv cacheHome("XDG_CACHE_HOME", cache.Path());
  const std::string other = folder / "other.dcp";
  std::filesystem::create_hard_link(real, other);
  CMirrorFile again;
  ASSERT_TRUE(again.Open(other.c_str(), kSaveFlags));
  again.Write("newer", 5);
  again.Close();
  EXPECT_EQ(ReadAll(other), "newer");
  EXPECT_EQ(ReadAll(real), "newer");
  EXPECT_EQ(std::filesystem::hard_link_count(real), 2u);
  EXPECT_EQ(Entries(folder.Path()), (std::set<std::string>{"link.dcp", "other.dcp", "real.dcp"}));
}

// A link that names no file yet: the save makes the file where it points and the link stays;
// a link into a folder that is not there fails the save at Open, and stays a link.
TEST(MirrorFile, ASaveThroughADanglingLinkMakesItsFileOrFails) {
  TempFolder folder;
  const std::string real = folder / "real.dcp";
  const std::string link = folder / "link.dcp";
  std::filesystem::create_symlink(real, link);
  {
    CMirrorFile file;
    ASSERT_TRUE(file.Open(link.c_str(), kSaveFlags));
    file.Write("new", 3);
    file.Close();
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadAll(real), "new");

  std::filesystem::remove(link);
  std::filesystem::create_symlink(folder / "missing/real.dcp", link);
  CMirrorFile file;
  CFileException error;
  EXPECT_FALSE(file.Open(link.c_str(), kSaveFlags, &error));
  EXPECT_EQ(error.m_cause, CFileException::badPath);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Entries(folder.Path()), (std::set<std::string>{"link.dcp", "real.dcp"}));
}

TEST(MirrorFile, ASaveOverAFileOpenElsewhereFailsAtOpen) {
  TempFolder folder;
  std::string path = folder / "busy.dcp";
  WriteAll(path, "old");
  CFile reader(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
  CMirrorFile file;
  CFileException e;
  EXPECT_FALSE(file.Open(path.c_str(), kSaveFlags, &e));
  EXPECT_EQ(e.m_cause, CFileException::sharingViolation);
  EXPECT_EQ(ReadAll(path), "old");
}

// Beside the file, only a temporary file of the exact form a save makes, whose process has ended,
// is removed by the next save: the user's files of like names, and those of a process still
// running, stay.
TEST(MirrorFile, ASaveRemovesOnlyTheTemporaryFilesOfEndedSaves) {
  TempFolder folder;
  const std::string path = folder / "name.cpp";
  WriteAll(path, "old");
  pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  int status = 0;
  ::waitpid(ended, &status, 0);
  const pid_t running = ::fork();
  if (running == 0) {
    ::pause();
    ::_exit(0);
  }
  const std::string endedName = ".name.cpp.~" + std::to_string(ended) + ".0123456789ab";
  const std::set<std::string> kept = {
      "name.cpp", ".name.cpp.~1", ".name.cpp.~old", ".name.cpp.~" + std::to_string(ended),
      ".name.cpp.~" + std::to_string(ended) + ".0123456789ab.bak", ".name.cpp.~" + std::to_string(ended) + ".0123456789AB",
      ".name.cpp.~0" + std::to_string(ended) + ".0123456789ab", ".name.cpp.~" + std::to_string(running) + ".0123456789ab",
      ".other.cpp.~" + std::to_string(ended) + ".0123456789ab"};
  for (const std::string& name : kept)
    if (name != "name.cpp") WriteAll(folder / name, "the user's");
  WriteAll(folder / endedName, "left by a killed save");
  CMirrorFile file;
  ASSERT_TRUE(file.Open(path.c_str(), kSaveFlags));
  file.Write("new", 3);
  file.Close();
  ::kill(running, SIGKILL);
  ::waitpid(running, &status, 0);
  EXPECT_EQ(ReadAll(path), "new");
  EXPECT_EQ(Entries(folder.Path()), kept);
  for (const std::string& name : kept) {
    if (name != "name.cpp") {
      EXPECT_EQ(ReadAll(folder / name), "the user's") << name;
    }
  }
}

// The name given is the program's (the code page); the file on disk has the system's name for it,
// converted once: the temporary file beside it and the rename into place take the name resolved at
// Open, never converted again. A file that exists under either spelling is the one replaced.
TEST(MirrorFile, ANewNameReachesTheDiskInTheLocalesCharsetAndAnOldOneIsReplaced) {
  const struct {
    const char* locale;
    std::string typed, onDisk;
  } cases[] = {
      {"en_US.UTF-8", "Gr\xF6\xDF" "e.h", "Gr\xC3\xB6\xC3\x9F" "e.h"},
      {"de_DE.UTF-8", "\xC4rger.h", "\xC3\x84rger.h"},
      {"zh_CN.UTF-8", "\xCE\xC4\xB5\xB5.h", "\xE6\x96\x87\xE6\xA1\xA3.h"},
      {"zh_CN.GB2312", "\xCE\xC4\xB5\xB5.h", "\xCE\xC4\xB5\xB5.h"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    brambolt::ScopedLocale locale(c.locale);
    TempFolder folder;
    for (const char* text : {"first", "second"}) {
      CMirrorFile file;
      ASSERT_TRUE(file.Open((folder.Path() + "\\" + c.typed).c_str(), kSaveFlags));
      file.Write(text, static_cast<UINT>(std::strlen(text)));
      file.Close();
      EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{c.onDisk});
      EXPECT_EQ(ReadAll(folder / c.onDisk), text);
    }
  }
}

TEST(MirrorFile, WithoutCreateTheFileItselfIsOpened) {
  TempFolder folder;
  std::string path = folder / "data.bin";
  WriteAll(path, "abc");
  CMirrorFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeReadWrite));
  file.SeekToEnd();
  file.Write("d", 1);
  file.Close();
  EXPECT_EQ(ReadAll(path), "abcd");
}

class FileFindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteAll(folder / "b.txt", "bb");
    WriteAll(folder / "A.txt", "aaaaa");
    WriteAll(folder / ".hidden", "");
    WriteAll(folder / "noext", "");
    std::filesystem::create_directory(folder / "sub");
    struct utimbuf times {};
    times.actime = times.modtime = 1200000000;
    ::utime((folder / "A.txt").c_str(), &times);
  }
  TempFolder folder;
};

TEST_F(FileFindTest, ListsEveryEntrySortedWithItsKind) {
  CFileFind finder;
  std::vector<std::string> names;
  std::vector<std::string> dots;
  std::vector<std::string> folders;
  BOOL working = finder.FindFile((folder.Path() + "\\*.*").c_str());
  ASSERT_TRUE(working);
  while (working) {
    working = finder.FindNextFile();
    std::string name = static_cast<LPCTSTR>(finder.GetFileName());
    names.push_back(name);
    if (finder.IsDots()) dots.push_back(name);
    if (finder.IsDirectory()) folders.push_back(name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", ".hidden", "A.txt", "b.txt", "noext", "sub"}));
  EXPECT_EQ(dots, (std::vector<std::string>{".", ".."}));
  EXPECT_EQ(folders, (std::vector<std::string>{".", "..", "sub"}));
}

TEST_F(FileFindTest, DescribesTheEntryFound) {
  CFileFind finder;
  ASSERT_TRUE(finder.FindFile((folder / "a.TXT").c_str()));
  // The only match: FindNextFile says so, and the entry stays readable.
  EXPECT_FALSE(finder.FindNextFile());
  EXPECT_STREQ(static_cast<LPCTSTR>(finder.GetFileName()), "A.txt");
  EXPECT_STREQ(static_cast<LPCTSTR>(finder.GetFileTitle()), "A");
  EXPECT_STREQ(static_cast<LPCTSTR>(finder.GetFilePath()), (folder / "A.txt").c_str());
  EXPECT_STREQ(static_cast<LPCTSTR>(finder.GetRoot()), folder.Path().c_str());
  EXPECT_EQ(finder.GetLength(), 5u);
  EXPECT_FALSE(finder.IsDirectory());
  EXPECT_FALSE(finder.IsHidden());
  EXPECT_FALSE(finder.IsReadOnly());
  EXPECT_TRUE(finder.IsArchived());
  CTime written;
  ASSERT_TRUE(finder.GetLastWriteTime(written));
  EXPECT_EQ(written.GetTime(), 1200000000);
}

TEST_F(FileFindTest, HiddenNamesAndPatternsWithoutMatches) {
  CFileFind finder;
  ASSERT_TRUE(finder.FindFile((folder / ".hidden").c_str()));
  finder.FindNextFile();
  EXPECT_TRUE(finder.IsHidden());
  EXPECT_FALSE(finder.FindFile((folder / "*.doc").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(finder.FindNextFile());
  EXPECT_FALSE(finder.FindFile((folder / "missing/*.*").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

}  // namespace

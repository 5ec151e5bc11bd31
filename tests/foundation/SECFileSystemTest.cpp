// SECFileSystem: path splitting and joining, status queries, filtered and recursive listings,
// copies that never overwrite, renames, removal and step-by-step folder creation.
#include "foundation/SECFileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "FoundationTestSupport.h"
#include "base/CodePage.h"
#include "core/CException.h"
#include "platform/os/TempDir.h"

namespace {

using brambolt::testing_os::ScopedEnv;
using brambolt::testing_os::TempDir;
using foundation_testing::ScopedFileSizeLimit;

std::vector<std::string> Items(const CStringList* list) {
  std::vector<std::string> items;
  for (POSITION pos = list->GetHeadPosition(); pos != nullptr;) items.emplace_back(list->GetNext(pos));
  return items;
}

std::vector<std::string> TakeItems(CStringList* list) {
  std::unique_ptr<CStringList> owned(list);
  return Items(owned.get());
}

struct SplitCase {
  const char* path;
  const char* fileName;
  const char* folder;
  const char* folderWithoutDrive;
  const char* extension;
  const char* baseName;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.path; }

class PathSplitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(PathSplitting, SplitsAtTheLastSeparatorAndDot) {
  const SplitCase& c = GetParam();
  SECFileSystem fs;
  EXPECT_EQ(std::string(fs.GetFileName(c.path)), c.fileName);
  EXPECT_EQ(std::string(fs.GetPath(c.path, TRUE)), c.folder);
  EXPECT_EQ(std::string(fs.GetPath(c.path, FALSE)), c.folderWithoutDrive);
  EXPECT_EQ(std::string(fs.GetExtension(c.path)), c.extension);
  EXPECT_EQ(std::string(fs.GetBaseFileName(c.path)), c.baseName);
}

INSTANTIATE_TEST_SUITE_P(
    SECFileSystem, PathSplitting,
    ::testing::Values(SplitCase{"C:\\src\\a.h", "a.h", "C:\\src\\", "\\src\\", "h", "a"},
                      SplitCase{"C:\\dir/file.txt", "file.txt", "C:\\dir/", "\\dir/", "txt", "file"},
                      SplitCase{"file.txt", "file.txt", "", "", "txt", "file"},
                      SplitCase{"archive.tar.gz", "archive.tar.gz", "", "", "gz", "archive.tar"},
                      SplitCase{"name.", "name.", "", "", "", "name"},
                      SplitCase{"C:\\dir.d\\name", "name", "C:\\dir.d\\", "\\dir.d\\", "", "name"},
                      SplitCase{"a.b.txt", "a.b.txt", "", "", "txt", "a.b"},
                      SplitCase{".profile", ".profile", "", "", "profile", ""},
                      SplitCase{"C:\\dir\\", "", "C:\\dir\\", "\\dir\\", "", ""},
                      SplitCase{"/home/u/x.cpp", "x.cpp", "/home/u/", "/home/u/", "cpp", "x"}));

struct AppendCase {
  const char* folder;
  const char* name;
  const char* joined;
};

void PrintTo(const AppendCase& c, std::ostream* os) { *os << c.folder << " + " << c.name; }

class PathJoining : public ::testing::TestWithParam<AppendCase> {};

TEST_P(PathJoining, InsertsOneBackslashWhereNeeded) {
  const AppendCase& c = GetParam();
  SECFileSystem fs;
  EXPECT_EQ(std::string(fs.AppendPath(c.folder, c.name)), c.joined);
}

INSTANTIATE_TEST_SUITE_P(SECFileSystem, PathJoining,
                         ::testing::Values(AppendCase{"C:\\dir", "*.*", "C:\\dir\\*.*"},
                                           AppendCase{"C:\\dir\\", "*.*", "C:\\dir\\*.*"},
                                           AppendCase{"C:/dir/", "x", "C:/dir/x"},
                                           AppendCase{"", "x", "x"}));

TEST(SECFileSystemPaths, DoubleByteTrailBackslashIsNotASeparator) {
  // In code page 936 the second byte of this character is 0x5C.
  brambolt::ScopedCodePage gbk(936);
  SECFileSystem fs;
  const CString path("C:\\d\\\x81\x5C.txt");
  EXPECT_EQ(std::string(fs.GetFileName(path)), "\x81\x5C.txt");
  EXPECT_EQ(std::string(fs.GetPath(path)), "C:\\d\\");
  EXPECT_EQ(std::string(fs.AppendPath("\x81\x5C", "x")), "\x81\x5C\\x");
}

class FileSystemOnDisk : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir / name; }
  TempDir dir;
  SECFileSystem fs;
};

TEST_F(FileSystemOnDisk, StatusQueriesReportFilesAndFolders) {
  dir.Write("a.txt", "12345");
  ::mkdir(Path("sub").c_str(), 0755);
  LONG size = -1;
  EXPECT_TRUE(fs.GetFileSize(Path("a.txt").c_str(), size));
  EXPECT_EQ(size, 5);
  BYTE attribute = 0;
  EXPECT_TRUE(fs.GetFileAttribute(Path("sub").c_str(), attribute));
  EXPECT_NE(attribute & CFile::directory, 0);
  EXPECT_TRUE(fs.FileExists(Path("sub").c_str()));
  EXPECT_TRUE(SECFileSystem::IsDirectory(Path("sub").c_str()));
  EXPECT_FALSE(SECFileSystem::IsDirectory(Path("a.txt").c_str()));
  CTime modified;
  EXPECT_TRUE(fs.GetFileModifyTime(Path("a.txt").c_str(), modified));
  EXPECT_GT(modified.GetTime(), 0);
}

TEST_F(FileSystemOnDisk, StatusOfAMissingPathFailsAndLeavesOutputs) {
  LONG size = 77;
  BYTE attribute = 9;
  CTime time(1234);
  const CString missing = Path("missing").c_str();
  EXPECT_FALSE(fs.GetFileSize(missing, size));
  EXPECT_FALSE(fs.GetFileAttribute(missing, attribute));
  EXPECT_FALSE(fs.GetFileCreationTime(missing, time));
  EXPECT_FALSE(fs.GetFileAccessTime(missing, time));
  EXPECT_FALSE(fs.FileExists(missing));
  EXPECT_FALSE(SECFileSystem::IsDirectory(missing));
  EXPECT_EQ(size, 77);
  EXPECT_EQ(attribute, 9);
  EXPECT_EQ(time.GetTime(), 1234);
}

TEST_F(FileSystemOnDisk, PathsWithBackslashesReachNativeFiles) {
  dir.Write("Sub/Inner.H", "x");
  const CString windowsPath = (dir.Path() + "\\sub\\inner.h").c_str();
  EXPECT_TRUE(fs.FileExists(windowsPath));
}

struct FilterCase {
  DWORD filter;
  std::vector<std::string> names;
};

void PrintTo(const FilterCase& c, std::ostream* os) { *os << "filter " << c.filter; }

class ListingFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ListingFilters, SelectEntriesByAttribute) {
  TempDir dir;
  dir.Write("b.txt");
  dir.Write("a.h");
  dir.Write(".hidden");
  dir.Write("ro.txt");
  ::chmod((dir / "ro.txt").c_str(), 0444);
  std::filesystem::create_directories(dir / "Folder");
  std::filesystem::create_directories(dir / ".git");
  SECFileSystem fs;
  const std::string prefix = dir.Path() + "\\";
  std::vector<std::string> expected;
  for (const std::string& name : GetParam().names) expected.push_back(prefix + name);
  EXPECT_EQ(TakeItems(fs.GetFileList((prefix + "*.*").c_str(), GetParam().filter)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    SECFileSystem, ListingFilters,
    ::testing::Values(FilterCase{FILE_ATTRIBUTE_NORMAL, {"a.h", "b.txt", "ro.txt"}},
                      FilterCase{0, {"a.h", "b.txt", "ro.txt"}},
                      FilterCase{SECFILESYSTEM_ALL_ENTRIES, {".git", ".hidden", "a.h", "b.txt", "Folder", "ro.txt"}},
                      FilterCase{FILE_ATTRIBUTE_DIRECTORY, {".git", "Folder"}},
                      FilterCase{FILE_ATTRIBUTE_HIDDEN, {".git", ".hidden"}},
                      FilterCase{FILE_ATTRIBUTE_READONLY, {"ro.txt"}}));

TEST_F(FileSystemOnDisk, PatternWithoutFolderListsBareNames) {
  dir.Write("one.h");
  dir.Write("two.cpp");
  char previous[4096];
  ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
  ASSERT_TRUE(fs.ChangeDirectory(dir.Path().c_str()));
  const auto items = TakeItems(fs.GetFileList("*.h", FILE_ATTRIBUTE_NORMAL));
  ASSERT_EQ(::chdir(previous), 0);
  EXPECT_EQ(items, std::vector<std::string>{"one.h"});
}

TEST_F(FileSystemOnDisk, ListingOfAMissingFolderIsEmpty) {
  std::unique_ptr<CStringList> files(fs.GetFileList(Path("none\\*.*").c_str(), FILE_ATTRIBUTE_NORMAL));
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(files->GetCount(), 0);
  std::unique_ptr<CStringList> folders(fs.GetDirectoryList(Path("none").c_str(), TRUE));
  ASSERT_NE(folders, nullptr);
  EXPECT_EQ(folders->GetCount(), 0);
}

TEST_F(FileSystemOnDisk, RecursiveListingGoesDepthFirstWithTheSameFilePattern) {
  dir.Write("p/top.h");
  dir.Write("p/top.cpp");
  dir.Write("p/b/deep/d.h");
  dir.Write("p/a/x.h");
  dir.Write("p/b/y.h");
  const std::string p = Path("p");
  const auto items = TakeItems(fs.GetFileListEx((p + "\\*.h").c_str(), FILE_ATTRIBUTE_NORMAL, TRUE, nullptr));
  EXPECT_EQ(items, (std::vector<std::string>{p + "\\top.h", p + "\\a\\x.h", p + "\\b\\y.h",
                                             p + "\\b\\deep\\d.h"}));
}

TEST_F(FileSystemOnDisk, ListingAppendsToAGivenList) {
  dir.Write("f.h");
  CStringList list;
  list.AddTail("first");
  EXPECT_EQ(fs.GetFileListEx(Path("*.h").c_str(), FILE_ATTRIBUTE_NORMAL, FALSE, &list), &list);
  EXPECT_EQ(Items(&list), (std::vector<std::string>{"first", Path("f.h")}));
}

TEST_F(FileSystemOnDisk, RecursiveListingDoesNotEnterLinkedFolders) {
  dir.Write("p/a.h");
  ASSERT_EQ(::symlink(Path("p").c_str(), Path("p/loop").c_str()), 0);
  const auto items = TakeItems(fs.GetFileListEx(Path("p/*.h").c_str(), FILE_ATTRIBUTE_NORMAL, TRUE, nullptr));
  EXPECT_EQ(items, std::vector<std::string>{Path("p/a.h")});
}

TEST_F(FileSystemOnDisk, DirectoryListGivesFullOrBareNames) {
  dir.Write("root/file.txt");
  std::filesystem::create_directories(Path("root/Beta"));
  std::filesystem::create_directories(Path("root/alpha"));
  const std::string root = Path("root");
  EXPECT_EQ(TakeItems(fs.GetDirectoryList(root.c_str(), TRUE)),
            (std::vector<std::string>{root + "\\alpha", root + "\\Beta"}));
  EXPECT_EQ(TakeItems(fs.GetDirectoryList((root + "/").c_str(), FALSE)), (std::vector<std::string>{"alpha", "Beta"}));
}

TEST_F(FileSystemOnDisk, NextFileNameWalksOneSearchAndEndsWithNull) {
  dir.Write("x1.h");
  dir.Write("x2.h");
  std::unique_ptr<CString> first(fs.GetNextFileName(Path("x*.h").c_str(), FILE_ATTRIBUTE_NORMAL));
  std::unique_ptr<CString> second(fs.GetNextFileName("", FILE_ATTRIBUTE_NORMAL));
  std::unique_ptr<CString> end(fs.GetNextFileName("", FILE_ATTRIBUTE_NORMAL));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(std::string(*first), "x1.h");
  EXPECT_EQ(std::string(*second), "x2.h");
  EXPECT_EQ(end, nullptr);
}

TEST_F(FileSystemOnDisk, CopyNeverOverwritesAnExistingTarget) {
  dir.Write("src.txt", "new");
  dir.Write("dst.txt", "old");
  EXPECT_FALSE(fs.CopyFile(Path("src.txt").c_str(), Path("dst.txt").c_str(), 10240));
  EXPECT_EQ(dir.Read("dst.txt"), "old");
  EXPECT_EQ(dir.Read("src.txt"), "new");
}

TEST_F(FileSystemOnDisk, CopyThroughSmallBuffersKeepsEveryByte) {
  std::string bytes;
  for (int i = 0; i < 10000; ++i) bytes += static_cast<char>(i * 7);
  dir.Write("big.bin", bytes);
  dir.Write("empty.bin");
  EXPECT_TRUE(fs.CopyFile(Path("big.bin").c_str(), Path("copy.bin").c_str(), 333));
  EXPECT_EQ(dir.Read("copy.bin"), bytes);
  EXPECT_TRUE(fs.CopyFile(Path("empty.bin").c_str(), Path("empty2.bin").c_str(), 10240));
  EXPECT_TRUE(dir.Exists("empty2.bin"));
  EXPECT_EQ(dir.Read("empty2.bin"), "");
}

TEST_F(FileSystemOnDisk, CopyFailsWithoutASourceOrABuffer) {
  EXPECT_FALSE(fs.CopyFile(Path("missing").c_str(), Path("t").c_str(), 100));
  EXPECT_FALSE(dir.Exists("t"));
  dir.Write("s", "data");
  EXPECT_FALSE(fs.CopyFile(Path("s").c_str(), Path("t").c_str(), 0));
  EXPECT_FALSE(dir.Exists("t"));
}

TEST_F(FileSystemOnDisk, CopyErrorLeavesNoPartialTargetAndRaises) {
  dir.Write("big.bin", std::string(20000, 'z'));
  bool raised = false;
  {
    ScopedFileSizeLimit limit(5000);
    try {
      fs.CopyFile(Path("big.bin").c_str(), Path("partial.bin").c_str(), 1000);
    } catch (CFileException* e) {
      raised = true;
      e->Delete();
    }
  }
  EXPECT_TRUE(raised);
  EXPECT_FALSE(dir.Exists("partial.bin"));
  EXPECT_EQ(dir.Read("big.bin").size(), 20000u);
}

TEST_F(FileSystemOnDisk, RenameFileChecksBothNames) {
  dir.Write("a", "1");
  dir.Write("b", "2");
  EXPECT_TRUE(fs.RenameFile(Path("nothing").c_str(), Path("nothing").c_str()));
  EXPECT_FALSE(fs.RenameFile(Path("a").c_str(), Path("b").c_str()));
  EXPECT_FALSE(fs.RenameFile(Path("none").c_str(), Path("c").c_str()));
  EXPECT_TRUE(fs.RenameFile(Path("a").c_str(), Path("c").c_str()));
  EXPECT_FALSE(dir.Exists("a"));
  EXPECT_EQ(dir.Read("c"), "1");
}

TEST_F(FileSystemOnDisk, RenameDirectoryNeedsAFolderAndAFreeName) {
  std::filesystem::create_directories(Path("d1"));
  std::filesystem::create_directories(Path("d2"));
  dir.Write("f");
  EXPECT_FALSE(fs.RenameDirectory(Path("f").c_str(), Path("d3").c_str()));
  EXPECT_FALSE(fs.RenameDirectory(Path("d1").c_str(), Path("d2").c_str()));
  EXPECT_TRUE(fs.RenameDirectory(Path("d1").c_str(), Path("d3").c_str()));
  EXPECT_TRUE(std::filesystem::is_directory(Path("d3")));
}

TEST_F(FileSystemOnDisk, DeleteFileRemovesFilesOnly) {
  dir.Write("f");
  std::filesystem::create_directories(Path("d"));
  EXPECT_TRUE(fs.DeleteFile(Path("f").c_str()));
  EXPECT_FALSE(dir.Exists("f"));
  EXPECT_FALSE(fs.DeleteFile(Path("f").c_str()));
  EXPECT_FALSE(fs.DeleteFile(Path("d").c_str()));
  EXPECT_TRUE(dir.Exists("d"));
}

TEST_F(FileSystemOnDisk, DeleteFilesGoesOnAfterAFailure) {
  dir.Write("x/a.tmp");
  dir.Write("x/b.tmp");
  dir.Write("x/keep.txt");
  std::filesystem::create_directories(Path("x/d.tmp"));
  EXPECT_FALSE(fs.DeleteFiles(Path("x\\*.tmp").c_str(), SECFILESYSTEM_ALL_ENTRIES));
  EXPECT_FALSE(dir.Exists("x/a.tmp"));
  EXPECT_FALSE(dir.Exists("x/b.tmp"));
  EXPECT_TRUE(dir.Exists("x/keep.txt"));
  EXPECT_TRUE(dir.Exists("x/d.tmp"));
  EXPECT_TRUE(fs.DeleteFiles(Path("x\\*.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_FALSE(dir.Exists("x/keep.txt"));
}

TEST_F(FileSystemOnDisk, NonRecursiveRemovalOfAFullFolderRemovesNothing) {
  dir.Write("t/a.txt");
  EXPECT_FALSE(fs.DeleteDirectory(Path("t").c_str(), FALSE));
  EXPECT_TRUE(dir.Exists("t/a.txt"));
}

TEST_F(FileSystemOnDisk, RecursiveRemovalTakesTheWholeTree) {
  dir.Write("t/a.txt");
  dir.Write("t/.hidden");
  dir.Write("t/s/b.txt");
  dir.Write("t/s/u/c.txt");
  EXPECT_TRUE(fs.DeleteDirectory(Path("t").c_str(), TRUE));
  EXPECT_FALSE(dir.Exists("t"));
}

TEST_F(FileSystemOnDisk, RecursiveRemovalDoesNotFollowLinkedFolders) {
  dir.Write("outside/precious.txt", "keep");
  dir.Write("t/a.txt");
  ASSERT_EQ(::symlink(Path("outside").c_str(), Path("t/link").c_str()), 0);
  EXPECT_TRUE(fs.DeleteDirectory(Path("t").c_str(), TRUE));
  EXPECT_FALSE(dir.Exists("t"));
  EXPECT_EQ(dir.Read("outside/precious.txt"), "keep");
}

TEST_F(FileSystemOnDisk, RecursiveRemovalOfALinkRemovesOnlyTheLink) {
  dir.Write("outside/sub/precious.txt", "keep");
  ASSERT_EQ(::symlink(Path("outside").c_str(), Path("link").c_str()), 0);
  EXPECT_TRUE(fs.DeleteDirectory(Path("link").c_str(), TRUE));
  EXPECT_FALSE(dir.Exists("link"));
  EXPECT_EQ(dir.Read("outside/sub/precious.txt"), "keep");
}

TEST_F(FileSystemOnDisk, MakePathCreatesEveryMissingLevel) {
  const std::string target = dir.Path() + "\\a\\b\\c";
  EXPECT_TRUE(SECFileSystem::MakePath(target.c_str()));
  EXPECT_TRUE(std::filesystem::is_directory(Path("a/b/c")));
  EXPECT_TRUE(SECFileSystem::MakePath((target + "\\").c_str()));
  EXPECT_FALSE(SECFileSystem::MakePath(""));
}

TEST_F(FileSystemOnDisk, MakePathFailsBelowAFile) {
  dir.Write("file");
  EXPECT_FALSE(SECFileSystem::MakePath((dir.Path() + "\\file\\sub").c_str()));
}

TEST_F(FileSystemOnDisk, MakePathNeverCreatesTheServerAndShare) {
  ScopedEnv uncRoot("BRAMBOLT_UNC_ROOT", dir.Path());
  EXPECT_FALSE(SECFileSystem::MakePath("\\\\srv\\share\\a\\b"));
  EXPECT_FALSE(dir.Exists("srv"));
  std::filesystem::create_directories(Path("srv/share"));
  EXPECT_TRUE(SECFileSystem::MakePath("\\\\srv\\share\\a\\b"));
  EXPECT_TRUE(std::filesystem::is_directory(Path("srv/share/a/b")));
}

}  // namespace

// The output-folder utilities: backslash-only names, folder creation step by step, tree removal
// that names each folder in a caption and never follows a link, and the mirroring of a folder tree
// that keeps every file already in the target.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "model/GWExtFileSystem.h"
#include "CaptionWindow.h"
#include "ModelTestSupport.h"

using doc_test::CaptionWindow;
using model_test::S;
using model_test::TempFolder;

namespace {

namespace fs = std::filesystem;

CString C(const std::string& text) { return CString(text.c_str()); }

TEST(GWExtFileSystem, NamesSplitAndJoinAtBackslashesOnly) {
  GWExtFileSystem gw;
  struct {
    const char* path;
    const char* name;
    const char* folder;
  } cases[] = {{"C:\\a\\b.txt", "b.txt", "C:\\a\\"}, {"a/b\\c/d", "c/d", "a/b\\"}, {"plain", "plain", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(S(gw.GetFileName(c.path)), c.name) << c.path;
    EXPECT_EQ(S(gw.GetPath(c.path)), c.folder) << c.path;
  }
  EXPECT_EQ(S(gw.GetPath("C:\\a\\b.txt", FALSE)), "\\a\\");
  EXPECT_EQ(S(gw.AppendPath("dir", "x")), "dir\\x");
  EXPECT_EQ(S(gw.AppendPath("dir\\", "x")), "dir\\x");
  EXPECT_EQ(S(gw.AppendPath("dir/", "x")), "dir/\\x");
  EXPECT_EQ(S(gw.AppendPath("", "x")), "x");
}

TEST(GWExtFileSystem, CreateFoldersMakesEveryLevelAndRefusesAnEmptyPath) {
  TempFolder tmp;
  GWExtFileSystem gw;
  EXPECT_FALSE(gw.CreateFolders(""));
  EXPECT_TRUE(gw.CreateFolders(C(tmp.Path() + "\\a\\b\\c")));
  EXPECT_TRUE(fs::is_directory(tmp / "a/b/c"));
  EXPECT_TRUE(gw.CreateFolders(C(tmp.Path() + "\\a\\b\\c\\")));
  EXPECT_TRUE(gw.CreateFolders("C:\\"));  // a bare drive is never created
}

TEST(GWExtFileSystem, ListingsAndFindEntryFollowTheFilters) {
  TempFolder tmp;
  tmp.Write("b.txt", "b");
  tmp.Write("a.htm", "a");
  tmp.Write(".hidden", "h");
  fs::create_directories(tmp / "sub");
  GWExtFileSystem gw;
  std::unique_ptr<CStringList> files(gw.GetFileList(C(tmp.Path() + "\\*.*"), FILE_ATTRIBUTE_NORMAL));
  ASSERT_EQ(files->GetCount(), 2);
  EXPECT_EQ(S(gw.GetFileName(files->GetHead())), "a.htm");
  std::unique_ptr<CStringList> folders(gw.GetDirectoryList(C(tmp.Path()), FALSE));
  ASSERT_EQ(folders->GetCount(), 1);
  EXPECT_EQ(S(folders->GetHead()), "sub");

  CString name;
  std::vector<std::string> seen;
  for (BOOL more = gw.FindEntry(C(tmp.Path() + "\\*.*"), FILE_ATTRIBUTE_DIRECTORY, name); more;
       more = gw.FindEntry("", FILE_ATTRIBUTE_DIRECTORY, name))
    if (!name.IsEmpty()) seen.push_back(S(name));
  EXPECT_EQ(seen, (std::vector<std::string>{".", "..", "sub"}));
}

TEST(GWExtFileSystem, RemoveFolderTreeNamesEachFolderInnermostFirst) {
  TempFolder tmp;
  tmp.Write("out/x.htm", "x");
  tmp.Write("out/A/B/y.htm", "y");
  tmp.Write("out/C/z.htm", "z");
  CaptionWindow window;
  GWExtFileSystem gw;
  EXPECT_TRUE(gw.RemoveFolderTree(C(tmp.Path() + "/out\\"), window.Get(), TRUE));
  EXPECT_FALSE(fs::exists(tmp / "out"));
  EXPECT_EQ(window.captions, (std::vector<std::string>{"Removing -B", "Removing -A", "Removing -C", "Removing -out"}));
}

TEST(GWExtFileSystem, RemoveFolderTreeRemovesALinkedFolderButNotWhatItPointsAt) {
  TempFolder tmp;
  tmp.Write("keep/precious.txt", "p");
  tmp.Write("out/a.txt", "a");
  fs::create_directory_symlink(tmp / "keep", tmp / "out/link");
  GWExtFileSystem gw;
  gw.RemoveFolderTree(C(tmp.Path() + "/out"), nullptr, TRUE);
  EXPECT_FALSE(fs::exists(tmp / "out"));
  EXPECT_TRUE(fs::exists(tmp / "keep/precious.txt"));
}

TEST(GWExtFileSystem, CopyFileShowsTheNameAndNeverOverwrites) {
  TempFolder tmp;
  tmp.Write("src/a.txt", "new");
  tmp.Write("dst/a.txt", "old");
  CaptionWindow window;
  GWExtFileSystem gw;
  EXPECT_FALSE(gw.CopyFile(window.Get(), C(tmp.Path() + "/src\\a.txt"), C(tmp.Path() + "/dst\\a.txt"), 10240));
  EXPECT_EQ(tmp.Read("dst/a.txt"), "old");
  EXPECT_TRUE(gw.CopyFile(window.Get(), C(tmp.Path() + "/src\\a.txt"), C(tmp.Path() + "/dst\\b.txt"), 3));
  EXPECT_EQ(tmp.Read("dst/b.txt"), "new");
  EXPECT_EQ(window.captions, (std::vector<std::string>{"a.txt", "a.txt"}));
}

TEST(GWExtFileSystem, CopyFilesStopsAtTheFirstFailureUnlessToldToContinue) {
  for (BOOL bContinue : {FALSE, TRUE}) {
    TempFolder tmp;
    tmp.Write("src/a.txt", "a");
    tmp.Write("src/b.txt", "b");
    tmp.Write("src/c.txt", "c");
    tmp.Write("dst/b.txt", "old");
    GWExtFileSystem gw;
    EXPECT_FALSE(gw.CopyFiles(nullptr, C(tmp.Path() + "/src\\*.*"), C(tmp.Path() + "/dst"), bContinue,
                              FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(tmp.Exists("dst/a.txt"));
    EXPECT_EQ(tmp.Read("dst/b.txt"), "old");
    EXPECT_EQ(tmp.Exists("dst/c.txt"), bContinue != FALSE);
  }
}

TEST(GWExtFileSystem, AddFolderToProjectMirrorsTheTreeAndKeepsExistingFiles) {
  for (const char* suffix : {"", "\\"}) {
    TempFolder tmp;
    tmp.Write("web/index.htm", "i");
    tmp.Write("web/b.htm", "new b");
    tmp.Write("web/c.htm", "c");
    tmp.Write("web/.hidden", "h");
    tmp.Write("web/img/a.gif", "g");
    tmp.Write("web/deep/inner/x.txt", "x");
    fs::create_directories(tmp / "web/empty");
    // A folder that holds only a folder, or only a hidden file, is made; an empty one is not.
    fs::create_directories(tmp / "web/outer/empty");
    tmp.Write("web/quiet/.hidden", "h");
    tmp.Write("proj/b.htm", "old b");
    CaptionWindow window;
    GWExtFileSystem gw;
    EXPECT_TRUE(gw.AddFolderToProject(window.Get(), C(tmp.Path() + "/web" + suffix), C(tmp.Path() + "/proj")));
    EXPECT_EQ(tmp.Read("proj/b.htm"), "old b");
    EXPECT_EQ(tmp.Read("proj/c.htm"), "c");  // copying goes on past a file that exists
    EXPECT_EQ(tmp.Read("proj/img/a.gif"), "g");
    EXPECT_EQ(tmp.Read("proj/deep/inner/x.txt"), "x");
    EXPECT_FALSE(tmp.Exists("proj/.hidden"));
    EXPECT_FALSE(tmp.Exists("proj/empty"));
    EXPECT_TRUE(fs::is_directory(tmp / "proj/outer"));
    EXPECT_FALSE(tmp.Exists("proj/outer/empty"));
    EXPECT_TRUE(fs::is_directory(tmp / "proj/quiet"));
    EXPECT_FALSE(tmp.Exists("proj/quiet/.hidden"));
    EXPECT_NE(std::find(window.captions.begin(), window.captions.end(), "a.gif"), window.captions.end());
  }
}

TEST(GWExtFileSystem, IsDirectoryAndCreateDirectoryPathShareTheFileSystemContracts) {
  TempFolder tmp;
  EXPECT_FALSE(GWExtFileSystem::IsDirectory(C(tmp.Path() + "/n\\m")));
  EXPECT_TRUE(GWExtFileSystem::CreateDirectoryPath(C(tmp.Path() + "/n\\m\\")));
  EXPECT_TRUE(GWExtFileSystem::IsDirectory(C(tmp.Path() + "/n\\m")));
  tmp.Write("f.txt", "f");
  EXPECT_FALSE(GWExtFileSystem::IsDirectory(C(tmp.Path() + "/f.txt")));
  GWExtFileSystem gw;
  EXPECT_TRUE(gw.DeleteFile(C(tmp.Path() + "/f.txt")));
  EXPECT_FALSE(gw.DeleteFile(C(tmp.Path() + "/f.txt")));
}

}  // namespace

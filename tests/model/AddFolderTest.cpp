// Folder adding: the live-folder file types and the copy of a folder, with and without its
// subfolders, that keeps existing files unless told otherwise and never follows links.
#include "model/AddFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/os/TempDir.h"

namespace {

using brambolt::testing_os::TempDir;

std::vector<std::string> Words(DWORD dwItemData) {
  CStringList words;
  EXPECT_TRUE(AppendLiveFolderFileTypeWords(dwItemData, words));
  std::vector<std::string> out;
  for (POSITION pos = words.GetHeadPosition(); pos != nullptr;) out.emplace_back(words.GetNext(pos));
  return out;
}

TEST(LiveFolderFileTypes, ListedInOrderWithTheFirstSelectable) {
  int nCount = 0;
  const LiveFolderFileType* pTypes = GetLiveFolderFileTypes(nCount);
  ASSERT_EQ(nCount, 10);
  EXPECT_STREQ(pTypes[0].lpszText, ".h;.hpp;.tlh;.inl;.rc;.c;.cpp;.cxx;.tli");
  EXPECT_EQ(pTypes[0].dwItemData, 100u);
  EXPECT_STREQ(pTypes[nCount - 1].lpszText, "*.*");
  EXPECT_EQ(pTypes[nCount - 1].dwItemData, 103u);
}

TEST(LiveFolderFileTypes, ItemDataGivesTheExtensionsInTheirOrder) {
  EXPECT_EQ(Words(109), (std::vector<std::string>{"h", "cpp", "inl"}));
  EXPECT_EQ(Words(103), (std::vector<std::string>{"*"}));
  EXPECT_EQ(Words(100), (std::vector<std::string>{"c", "cpp", "cxx", "tli", "h", "hpp", "tlh", "inl", "rc"}));
  CStringList words;
  EXPECT_FALSE(AppendLiveFolderFileTypeWords(99, words));
  EXPECT_TRUE(words.IsEmpty());
}

// The name after the last separator; the copy joins paths with backslashes.
std::string NameOf(const CString& strPath) {
  const std::string path(strPath);
  return path.substr(path.find_last_of("\\/") + 1);
}

// Answers the copy's questions from a script and records what it was told.
class ScriptedListener : public AddFolderListener {
 public:
  void CopyingFile(const CString& strSource) override {
    shown.push_back(NameOf(strSource));
  }
  BOOL ConfirmOverwrite(const CString& strTarget) override {
    asked.push_back(NameOf(strTarget));
    return replace;
  }
  BOOL IsCancelled() override { return cancelAfter >= 0 && static_cast<int>(shown.size()) >= cancelAfter; }

  BOOL replace = FALSE;
  int cancelAfter = -1;
  std::vector<std::string> shown;
  std::vector<std::string> asked;
};

// Every file below the folder, as relative paths, sorted.
std::vector<std::string> Tree(const std::string& folder) {
  std::vector<std::string> files;
  if (!std::filesystem::exists(folder)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string relative = std::filesystem::relative(entry.path(), folder).string();
    files.push_back(entry.is_directory() ? relative + "/" : relative);
  }
  std::sort(files.begin(), files.end());
  return files;
}

class AddFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("web/index.htm", "index");
    dir.Write("web/style.css", "style");
    dir.Write("web/.hidden", "hidden");
    dir.Write("web/img/a.gif", "gif");
    dir.Write("web/img/icons/b.png", "png");
    dir.Write("web/only-folders/inner/c.txt", "c");
    std::filesystem::create_directories(dir / "web/empty");
    std::filesystem::create_directories(dir / "proj/Source Code");
  }

  AddFolderResult Add(const std::string& source, BOOL bSubfolders) {
    return AddFolderFiles(source.c_str(), (dir / "proj/Source Code").c_str(), bSubfolders, listener);
  }

  std::vector<std::string> Target() { return Tree(dir / "proj/Source Code"); }

  TempDir dir;
  ScriptedListener listener;
};

TEST_F(AddFolder, WithoutSubfoldersCopiesTheFolderOwnFiles) {
  const AddFolderResult result = Add(dir / "web", FALSE);
  EXPECT_EQ(result.nCopied, 2);
  EXPECT_EQ(Target(), (std::vector<std::string>{"index.htm", "style.css"}));
  EXPECT_EQ(listener.shown, (std::vector<std::string>{"index.htm", "style.css"}));
}

TEST_F(AddFolder, WithSubfoldersMirrorsTheTreeOfOrdinaryFiles) {
  const AddFolderResult result = Add(dir / "web", TRUE);
  EXPECT_EQ(result.nCopied, 5);
  EXPECT_EQ(result.nKept + result.nFailed, 0);
  EXPECT_EQ(Target(), (std::vector<std::string>{"img/", "img/a.gif", "img/icons/", "img/icons/b.png", "index.htm",
                                                "only-folders/", "only-folders/inner/", "only-folders/inner/c.txt",
                                                "style.css"}));
  EXPECT_EQ(dir.Read("proj/Source Code/img/icons/b.png"), "png");
  // The folder's own files come first, then each subfolder's.
  EXPECT_EQ(listener.shown.front(), "index.htm");
}

TEST_F(AddFolder, TrailingSeparatorAndBackslashesGiveTheSameResult) {
  Add(dir / "web/", TRUE);
  const std::vector<std::string> slash = Target();
  std::filesystem::remove_all(dir / "proj/Source Code");
  std::filesystem::create_directories(dir / "proj/Source Code");
  Add(dir.Path() + "\\web\\", TRUE);
  EXPECT_EQ(Target(), slash);
}

TEST_F(AddFolder, ExistingFilesAreKeptAndTheOthersStillCopied) {
  dir.Write("proj/Source Code/index.htm", "mine");
  const AddFolderResult result = Add(dir / "web", FALSE);
  EXPECT_EQ(result.nKept, 1);
  EXPECT_EQ(result.nCopied, 1);
  EXPECT_EQ(listener.asked, std::vector<std::string>{"index.htm"});
  EXPECT_EQ(dir.Read("proj/Source Code/index.htm"), "mine");
  EXPECT_EQ(dir.Read("proj/Source Code/style.css"), "style");
}

TEST_F(AddFolder, ExistingFileIsReplacedWhenTheUserSaysYes) {
  dir.Write("proj/Source Code/index.htm", "mine, longer than the new one");
  listener.replace = TRUE;
  const AddFolderResult result = Add(dir / "web", FALSE);
  EXPECT_EQ(result.nCopied, 2);
  EXPECT_EQ(dir.Read("proj/Source Code/index.htm"), "index");
  // Nothing of the temporary copy is left beside it.
  EXPECT_EQ(Target(), (std::vector<std::string>{"index.htm", "style.css"}));
}

TEST_F(AddFolder, SymbolicLinksAreNotFollowed) {
  dir.Write("outside/secret.txt", "secret");
  ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "web/linked-folder").c_str()), 0);
  ASSERT_EQ(::symlink((dir / "outside/secret.txt").c_str(), (dir / "web/linked.txt").c_str()), 0);
  const AddFolderResult result = Add(dir / "web", TRUE);
  EXPECT_EQ(result.nCopied, 5);
  for (const std::string& file : Target()) {
    EXPECT_EQ(file.find("linked"), std::string::npos) << file;
    EXPECT_EQ(file.find("secret"), std::string::npos) << file;
  }
}

TEST_F(AddFolder, CancelStopsBeforeTheNextFileAndKeepsWhatWasCopied) {
  listener.cancelAfter = 2;
  const AddFolderResult result = Add(dir / "web", TRUE);
  EXPECT_TRUE(result.bCancelled);
  EXPECT_EQ(result.nCopied, 2);
  EXPECT_EQ(Target(), (std::vector<std::string>{"index.htm", "style.css"}));
}

TEST_F(AddFolder, NothingToCopyIsReportedAsSuch) {
  EXPECT_EQ(Add(dir / "web/empty", TRUE).nCopied, 0);
  const AddFolderResult missing = Add(dir / "no-such-folder", TRUE);
  EXPECT_EQ(missing.nCopied + missing.nKept + missing.nFailed, 0);
  EXPECT_FALSE(missing.bCancelled);
  EXPECT_TRUE(Target().empty());
}

TEST_F(AddFolder, FileThatCannotBeCopiedDoesNotStopTheOthers) {
  // A folder of the file's name stands in the target.
  std::filesystem::create_directories(dir / "proj/Source Code/index.htm");
  listener.replace = TRUE;
  const AddFolderResult result = Add(dir / "web", FALSE);
  EXPECT_EQ(result.nFailed, 1);
  EXPECT_EQ(result.nCopied, 1);
  EXPECT_EQ(dir.Read("proj/Source Code/style.css"), "style");
}

}  // namespace

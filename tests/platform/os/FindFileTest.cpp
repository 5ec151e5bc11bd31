// Folder searches: wildcard rules, sorted listings, dot entries, attributes and errors.
#include "os/FindFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "base/CodePage.h"
#include "os/FileApi.h"

namespace brambolt {
namespace {

using testing_os::TempDir;

struct PatternCase {
  const char* pattern;
  const char* name;
  bool matches;
};

class FilePattern : public ::testing::TestWithParam<PatternCase> {};

TEST_P(FilePattern, MatchesAsWindows) {
  EXPECT_EQ(MatchesFilePattern(GetParam().pattern, GetParam().name), GetParam().matches)
      << GetParam().pattern << " vs " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    FindFile, FilePattern,
    ::testing::Values(PatternCase{"*.*", "README", true}, PatternCase{"*.*", "a.b.c", true},
                      PatternCase{"*.*", ".profile", true}, PatternCase{"*", "README", true},
                      PatternCase{"*.htm", "Index.HTM", true}, PatternCase{"*.htm", "index.html", false},
                      PatternCase{"*.h", "a.b.h", true}, PatternCase{"*.", "Makefile", true},
                      PatternCase{"*.", "a.txt", false}, PatternCase{"a?c", "abc", true},
                      PatternCase{"a?c", "ac", false}, PatternCase{"file?.txt", "file.txt", true},
                      PatternCase{"x.*", "x", true}, PatternCase{"x.*", "xy", false},
                      PatternCase{"Index.htm", "index.HTM", true}, PatternCase{"*.dsp", "x.DSP", true},
                      PatternCase{"a*b*c", "aXbYc", true}, PatternCase{"a*b*c", "aXcYb", false}),
    [](const ::testing::TestParamInfo<PatternCase>& info) { return "Case" + std::to_string(info.index); });

std::vector<std::string> List(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATA data;
  HANDLE h = FindFirstFile(pattern.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFile(h, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(h));
  return names;
}

// NTFS orders by the upper-cased names, so '_' (0x5F) comes after the letters.
TEST(FindFile, ListsSortedIgnoringCaseWithDotEntriesFirst) {
  TempDir dir;
  for (const char* name : {"beta.h", "Alpha.cpp", "gamma", "ALPHA.h", "_x", "Delta", "1"}) dir.Write(name);
  EXPECT_EQ(List(dir.Path() + "\\*.*"),
            (std::vector<std::string>{".", "..", "1", "Alpha.cpp", "ALPHA.h", "beta.h", "Delta", "gamma", "_x"}));
}

TEST(FindFile, TypeFilterMatchesIgnoringCase) {
  TempDir dir;
  for (const char* name : {"b.H", "a.h", "c.hpp", "d.cpp"}) dir.Write(name);
  EXPECT_EQ(List(dir.Path() + "/*.h"), (std::vector<std::string>{"a.h", "b.H"}));
}

TEST(FindFile, FolderPartResolvesIgnoringCase) {
  TempDir dir;
  dir.Write("Header Files/x.h");
  EXPECT_EQ(List(dir.Path() + "\\header files\\*.H"), (std::vector<std::string>{"x.h"}));
}

TEST(FindFile, RelativePatternSearchesTheCurrentFolder) {
  TempDir dir;
  dir.Write("one.txt");
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  EXPECT_EQ(List("*.txt"), (std::vector<std::string>{"one.txt"}));
  std::filesystem::current_path(old);
}

TEST(FindFile, RootHasNoDotEntries) {
  for (const std::string& name : List("C:\\*.*")) {
    EXPECT_NE(name, ".");
    EXPECT_NE(name, "..");
  }
}

TEST(FindFile, ReportsSynthesisedAttributesAndSizes) {
  TempDir dir;
  dir.Write("file.txt", "12345");
  dir.Write(".hidden");
  dir.Write("readonly.txt");
  ::chmod((dir / "readonly.txt").c_str(), 0444);
  std::filesystem::create_directory(dir / "sub");
  ::symlink((dir / "sub").c_str(), (dir / "link").c_str());
  ::mkfifo((dir / "pipe").c_str(), 0600);

  std::map<std::string, WIN32_FIND_DATA> found;
  WIN32_FIND_DATA data;
  HANDLE h = FindFirstFile((dir / "*").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  do found[data.cFileName] = data;
  while (FindNextFile(h, &data));
  FindClose(h);

  EXPECT_EQ(found["."].dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(found[".."].dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(found["file.txt"].dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(found["file.txt"].nFileSizeLow, 5u);
  EXPECT_EQ(found[".hidden"].dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(found["readonly.txt"].dwFileAttributes,
            static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(found["sub"].dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(found["link"].dwFileAttributes,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  EXPECT_EQ(found["link"].dwReserved0, IO_REPARSE_TAG_SYMLINK);
  EXPECT_EQ(found["pipe"].dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DEVICE));
  EXPECT_STREQ(found["file.txt"].cAlternateFileName, "");
}

TEST(FindFile, ErrorsTellMissingFolderFromNoMatch) {
  TempDir dir;
  WIN32_FIND_DATA data;
  EXPECT_EQ(FindFirstFile((dir / "*.xyz").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFile((dir / "missing\\*.*").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(FindFile, HandlesCloseOnlyByTheirOwnFunction) {
  TempDir dir;
  dir.Write("a");
  WIN32_FIND_DATA data;
  HANDLE h = FindFirstFile((dir / "*").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(FindClose(h));
  EXPECT_FALSE(FindClose(h));
  EXPECT_FALSE(FindNextFile(h, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(FindFile, DoubleByteNamesMatchWholeCharacters) {
  ScopedCodePage cp(950);
  TempDir dir;
  dir.Write("\xA5\x5C.h");  // the trail byte is a backslash
  EXPECT_EQ(List(dir.Path() + "\\*.h"), (std::vector<std::string>{"\xA5\x5C.h"}));
  EXPECT_TRUE(MatchesFilePattern("?.h", "\xA5\x5C.h"));
}

TEST(ErrorMode, SetReturnsThePreviousMode) {
  const UINT original = SetErrorMode(SEM_FAILCRITICALERRORS);
  EXPECT_EQ(SetErrorMode(original), static_cast<UINT>(SEM_FAILCRITICALERRORS));
}

}  // namespace
}  // namespace brambolt

// Path rules: separators, drive prefixes, UNC names, case-insensitive lookup and DBCS names.
#include "os/Paths.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "base/CodePage.h"

namespace brambolt {
namespace {

using testing_os::ScopedEnv;
using testing_os::TempDir;

struct SyntaxCase {
  const char* in;
  const char* out;
};

class PathSyntax : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(PathSyntax, ConvertsToNative) {
  EXPECT_EQ(NativePathSyntax(GetParam().in), GetParam().out) << GetParam().in;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathSyntax,
    ::testing::Values(SyntaxCase{"Header Files\\*.*", "Header Files/*.*"},
                      SyntaxCase{"a/b\\c", "a/b/c"},
                      SyntaxCase{"a\\\\b//c", "a/b/c"},
                      SyntaxCase{"C:\\src\\a.h", "/src/a.h"},
                      SyntaxCase{"d:/src/", "/src/"},
                      SyntaxCase{"C:", "/"},
                      SyntaxCase{"C:\\", "/"},
                      SyntaxCase{"C:rel\\x", "rel/x"},
                      SyntaxCase{"\\Component.dat", "/Component.dat"},
                      SyntaxCase{"\\\\srv\\share\\a", "/srv/share/a"},
                      SyntaxCase{"", ""},
                      SyntaxCase{"1:x", "1:x"}),
    [](const ::testing::TestParamInfo<SyntaxCase>& info) { return "Case" + std::to_string(info.index); });

TEST(Paths, NullGivesEmpty) { EXPECT_EQ(NativePath(static_cast<const char*>(nullptr)), ""); }

TEST(Paths, UncNamesLiveUnderTheUncRoot) {
  ScopedEnv root("BRAMBOLT_UNC_ROOT", "/mnt/unc");
  EXPECT_EQ(NativePathSyntax("\\\\srv\\share\\a\\b"), "/mnt/unc/srv/share/a/b");
}

TEST(Paths, ExistingPathIsKeptAsSpelled) {
  TempDir dir;
  dir.Write("Sub/File.txt");
  EXPECT_EQ(NativePath(dir.Path() + "\\Sub\\File.txt"), dir / "Sub/File.txt");
}

TEST(Paths, ResolvesLetterCaseComponentByComponent) {
  TempDir dir;
  dir.Write("Htmls/Index.htm", "x");
  EXPECT_EQ(NativePath(dir.Path() + "\\htmls\\index.HTM"), dir / "Htmls/Index.htm");
  EXPECT_EQ(NativePath(dir.Path() + "/HTMLS/"), dir / "Htmls/");
}

TEST(Paths, LiteralPathsAreNeverLookedUp) {
  TempDir dir;
  dir.Write("Htmls/Index.htm", "x");
  EXPECT_EQ(NativePath("\\\\?\\" + dir.Path() + "\\htmls\\index.HTM"), dir / "htmls/index.HTM");
  EXPECT_EQ(NativePath("\\\\?\\" + dir.Path() + "/Htmls/Index.htm"), dir / "Htmls/Index.htm");
  EXPECT_EQ(NativePath("\\\\?\\C:\\a\\b"), "/a/b");
  EXPECT_EQ(NativePathSyntax("\\\\?\\/tmp/a"), "/tmp/a");
}

TEST(Paths, DotComponentsStayWhileNamesAroundThemResolve) {
  TempDir dir;
  dir.Write("Htmls/Index.htm");
  EXPECT_EQ(NativePath(dir.Path() + "\\Htmls\\.\\index.HTM"), dir / "Htmls/./Index.htm");
  EXPECT_EQ(NativePath(dir.Path() + "\\htmls\\..\\HTMLS\\INDEX.htm"), dir / "Htmls/../Htmls/Index.htm");
  EXPECT_EQ(NativePath(dir.Path() + "\\Htmls\\..\\htmls\\"), dir / "Htmls/../Htmls/");
}

TEST(Paths, NewTrailingComponentsKeepTheirSpelling) {
  TempDir dir;
  dir.Write("Htmls/Index.htm");
  EXPECT_EQ(NativePath(dir.Path() + "\\htmls\\New\\Page.HTM"), dir / "Htmls/New/Page.HTM");
}

TEST(Paths, PrefersTheExactSpellingAmongCaseVariants) {
  TempDir dir;
  dir.Write("a.txt");
  dir.Write("A.txt");
  EXPECT_EQ(NativePath(dir / "A.txt"), dir / "A.txt");
  EXPECT_EQ(NativePath(dir / "a.TXT"), dir / "A.txt");  // the smaller name by bytes
}

TEST(Paths, RelativePathsResolveFromTheCurrentFolder) {
  TempDir dir;
  dir.Write("Docs/Read.me");
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  EXPECT_EQ(NativePath("docs\\READ.ME"), "Docs/Read.me");
  std::filesystem::current_path(old);
}

TEST(Paths, SplittingFindsTheLastSeparator) {
  EXPECT_EQ(FindLastPathSeparator("C:\\dir/file.txt"), 6u);
  EXPECT_EQ(FindLastPathSeparator("file.txt"), std::string_view::npos);
}

TEST(Paths, FileNameComparisonFoldsLetters) {
  EXPECT_TRUE(FileNamesEqualNoCase("Index.HTM", "index.htm"));
  EXPECT_FALSE(FileNamesEqualNoCase("index.htm", "index.html"));
  EXPECT_LT(CompareFileNamesNoCase("apple", "Banana"), 0);
  EXPECT_GT(CompareFileNamesNoCase("b", "A"), 0);
}

// In Big5, U+529F is A5 5C: its trail byte is a backslash and must not split the name.
TEST(PathsDbcs, TrailByteBackslashIsNoSeparator) {
  ScopedCodePage cp(950);
  const std::string name = "dir\\\xA5\x5C\\x";
  EXPECT_EQ(NativePathSyntax(name), "dir/\xA5\x5C/x");
  EXPECT_EQ(FindLastPathSeparator(name), 6u);
  EXPECT_FALSE(IsPathSeparatorAt(name, 5));
  EXPECT_TRUE(IsPathSeparatorAt(name, 6));
}

TEST(PathsDbcs, TrailBytesAreNotCaseFolded) {
  ScopedCodePage cp(936);
  // 0x81 0x61 and 0x81 0x41 are two different characters, not one in two cases.
  EXPECT_FALSE(FileNamesEqualNoCase("\x81\x61", "\x81\x41"));
  EXPECT_TRUE(FileNamesEqualNoCase("\x81\x61z", "\x81\x61Z"));
}

TEST(PathsDbcs, SingleByteCodePageSplitsEveryBackslash) {
  ScopedCodePage cp(1252);
  EXPECT_EQ(NativePathSyntax("dir\\\xA5\\x"), "dir/\xA5/x");
}

TEST(PathsDbcs, ResolvesDoubleByteNamesOnDisk) {
  ScopedCodePage cp(950);
  TempDir dir;
  dir.Write("\xA5\x5C" "Ab/f");
  EXPECT_EQ(NativePath(dir.Path() + "\\\xA5\x5C" "aB\\F"), dir / "\xA5\x5C" "Ab/f");
}

}  // namespace
}  // namespace brambolt

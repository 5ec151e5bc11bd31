// The C runtime's file functions: splitting and joining paths, status, searches, text streams.
#include "os/CrtFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TempDir.h"
#include "base/CodePage.h"
#include "os/FileApi.h"

namespace brambolt {
namespace {

using testing_os::TempDir;

struct SplitCase {
  const char* path;
  const char* drive;
  const char* dir;
  const char* fname;
  const char* ext;
};

class SplitPath : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPath, SplitsIntoFourParts) {
  char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath(GetParam().path, drive, dir, fname, ext);
  EXPECT_STREQ(drive, GetParam().drive);
  EXPECT_STREQ(dir, GetParam().dir);
  EXPECT_STREQ(fname, GetParam().fname);
  EXPECT_STREQ(ext, GetParam().ext);
}

INSTANTIATE_TEST_SUITE_P(
    CrtFiles, SplitPath,
    ::testing::Values(SplitCase{"C:\\src\\a.b.h", "C:", "\\src\\", "a.b", ".h"},
                      SplitCase{"dir/file", "", "dir/", "file", ""},
                      SplitCase{"name.", "", "", "name", "."},
                      SplitCase{".profile", "", "", "", ".profile"},
                      SplitCase{"C:\\dir.d\\name", "C:", "\\dir.d\\", "name", ""}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return "Case" + std::to_string(info.index); });

TEST(CrtFiles, SplitNeverCutsADoubleByteCharacter) {
  ScopedCodePage cp(950);
  char dir[_MAX_DIR], fname[_MAX_FNAME];
  _splitpath("a\\\xA5\x5C.txt", nullptr, dir, fname, nullptr);
  EXPECT_STREQ(dir, "a\\");
  EXPECT_STREQ(fname, "\xA5\x5C");
}

TEST(CrtFiles, MakePathAddsMissingSeparators) {
  char path[_MAX_PATH];
  _makepath(path, "C", "\\src", "a", "h");
  EXPECT_STREQ(path, "C:\\src\\a.h");
  _makepath(path, nullptr, "dir/", "b", ".txt");
  EXPECT_STREQ(path, "dir/b.txt");
}

TEST(CrtFiles, StatAccessAndFolders) {
  TempDir dir;
  dir.Write("Sub/file.txt", "abc");
  struct _stat st;
  ASSERT_EQ(_stat((dir / "sub\\FILE.TXT").c_str(), &st), 0);
  EXPECT_EQ(st.st_size, 3);
  EXPECT_TRUE(st.st_mode & _S_IFREG);
  EXPECT_GT(st.st_mtime, 0);
  EXPECT_EQ(_stat((dir / "none").c_str(), &st), -1);
  EXPECT_EQ(errno, ENOENT);

  EXPECT_EQ(_access((dir / "SUB").c_str(), 0), 0);
  EXPECT_EQ(_access((dir / "sub\\file.txt").c_str(), 6), 0);
  EXPECT_EQ(_access((dir / "missing").c_str(), 0), -1);

  EXPECT_EQ(_mkdir((dir / "made").c_str()), 0);
  EXPECT_EQ(_rmdir((dir / "MADE").c_str()), 0);
  EXPECT_EQ(_unlink((dir / "Sub").c_str()), -1);
  EXPECT_EQ(_unlink((dir / "sub/file.txt").c_str()), 0);
}

TEST(CrtFiles, FullPathAndCurrentFolder) {
  TempDir dir;
  char* saved = _getcwd(nullptr, 0);
  ASSERT_NE(saved, nullptr);
  ASSERT_EQ(_chdir(dir.Path().c_str()), 0);
  char* cwd = _getcwd(nullptr, 0);
  EXPECT_EQ(std::string(cwd), dir.Path());
  std::free(cwd);
  char small[2];
  EXPECT_EQ(_getcwd(small, sizeof small), nullptr);
  char* full = _fullpath(nullptr, "a\\..\\b.txt", 0);
  EXPECT_EQ(std::string(full), dir / "b.txt");
  std::free(full);
  EXPECT_EQ(_fullpath(small, "b.txt", sizeof small), nullptr);
  _chdir(saved);
  std::free(saved);
}

TEST(CrtFiles, FindWalksSortedEntries) {
  TempDir dir;
  dir.Write("b.txt", "12");
  dir.Write("A.txt");
  _finddata_t info;
  intptr_t h = _findfirst((dir / "*.txt").c_str(), &info);
  ASSERT_NE(h, -1);
  EXPECT_STREQ(info.name, "A.txt");
  EXPECT_EQ(info.attrib, static_cast<unsigned>(_A_ARCH));
  EXPECT_EQ(_findnext(h, &info), 0);
  EXPECT_STREQ(info.name, "b.txt");
  EXPECT_EQ(info.size, 2u);
  EXPECT_EQ(_findnext(h, &info), -1);
  EXPECT_EQ(_findclose(h), 0);
  EXPECT_EQ(_findfirst((dir / "*.none").c_str(), &info), -1);
  EXPECT_EQ(errno, ENOENT);
}

TEST(TextStreams, WriteCrLfAndReadLf) {
  TempDir dir;
  FILE* out = _tfopen((dir / "t.txt").c_str(), "w");
  ASSERT_NE(out, nullptr);
  std::fputs("one\ntwo\n", out);
  std::fclose(out);
  EXPECT_EQ(dir.Read("t.txt"), "one\r\ntwo\r\n");

  dir.Write("mixed.txt", "a\r\nb\rc\nd\x1A" "ignored");
  FILE* in = _tfopen((dir / "MIXED.TXT").c_str(), "rt");
  ASSERT_NE(in, nullptr);
  std::string text;
  for (int c; (c = std::fgetc(in)) != EOF;) text += static_cast<char>(c);
  std::fclose(in);
  EXPECT_EQ(text, "a\nb\rc\nd");
}

TEST(TextStreams, CrLfSplitAcrossReadsStillJoins) {
  TempDir dir;
  std::string content;
  for (int i = 0; i < 5000; ++i) content += "line\r\n";
  dir.Write("big.txt", content);
  FILE* in = _tfopen((dir / "big.txt").c_str(), "r");
  ASSERT_NE(in, nullptr);
  std::string text;
  char buffer[777];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
  std::fclose(in);
  std::string expected;
  for (int i = 0; i < 5000; ++i) expected += "line\n";
  EXPECT_EQ(text, expected);
}

TEST(TextStreams, BinaryModeKeepsBytes) {
  TempDir dir;
  FILE* out = _tfopen((dir / "b.bin").c_str(), "wb");
  std::fwrite("a\nb\r\n\x1A", 1, 6, out);
  std::fclose(out);
  EXPECT_EQ(dir.Read("b.bin"), std::string("a\nb\r\n\x1A", 6));
  EXPECT_EQ(_tfopen((dir / "none\\x").c_str(), "r"), nullptr);
}

}  // namespace
}  // namespace brambolt

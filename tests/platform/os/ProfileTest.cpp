// Profile files: lookups, listings and their truncation returns, writes and deletions, structs,
// and the empty WIN.INI.
#include "os/Profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"
#include "base/CodePage.h"
#include "os/FileApi.h"

namespace brambolt {
namespace {

using testing_os::ScopedEnv;
using testing_os::TempDir;

class Profile : public ::testing::Test {
 protected:
  std::string Get(const char* section, const char* key, const char* fallback = "?", DWORD size = 1024) {
    std::vector<char> buffer(size + 1, '#');
    const DWORD n = GetPrivateProfileString(section, key, fallback, buffer.data(), size, file.c_str());
    return std::string(buffer.data(), n);
  }
  // A listing form: the bytes up to the returned length, then the two NULs checked.
  std::vector<std::string> List(const char* section, DWORD size, DWORD* returned = nullptr) {
    std::vector<char> buffer(size, '#');
    const DWORD n = GetPrivateProfileString(section, nullptr, "", buffer.data(), size, file.c_str());
    if (returned) *returned = n;
    EXPECT_EQ(buffer[n], '\0');
    std::vector<std::string> items;
    for (std::size_t i = 0; i < n; i += items.back().size() + 1) items.emplace_back(buffer.data() + i);
    return items;
  }

  TempDir dir;
  std::string file = dir / "test.ini";
};

TEST_F(Profile, ValuesAreTrimmedAndLoseOnePairOfQuotes) {
  dir.Write("test.ini",
            "; comment\n"
            "[Main]\n"
            "  Plain  =  some value  \n"
            "Quoted=\"  padded  \"\n"
            "Single='x'\n"
            "Twice=\"\"two\"\"\n"
            "Unbalanced=\"open\n"
            "Semicolon=a;b ; not a comment\n"
            "Equals=k=v\n"
            "Empty=\n"
            ";Hidden=1\n");
  EXPECT_EQ(Get("Main", "Plain"), "some value");
  EXPECT_EQ(Get("Main", "Quoted"), "  padded  ");
  EXPECT_EQ(Get("Main", "Single"), "x");
  EXPECT_EQ(Get("Main", "Twice"), "\"two\"");
  EXPECT_EQ(Get("Main", "Unbalanced"), "\"open");
  EXPECT_EQ(Get("Main", "Semicolon"), "a;b ; not a comment");
  EXPECT_EQ(Get("Main", "Equals"), "k=v");
  EXPECT_EQ(Get("Main", "Empty"), "");
  EXPECT_EQ(Get("Main", "Hidden"), "?");
}

TEST_F(Profile, SectionsAndKeysIgnoreCase) {
  dir.Write("test.ini", "[Layout.Bar1]\r\nVisible=1\r\n");
  EXPECT_EQ(Get("layout.bar1", "VISIBLE"), "1");
  EXPECT_TRUE(WritePrivateProfileString("LAYOUT.BAR1", "visible", "0", file.c_str()));
  EXPECT_EQ(dir.Read("test.ini"), "[Layout.Bar1]\r\nVisible=0\r\n");
}

TEST_F(Profile, CallersNamesAreTrimmedLikeTheFilesNames) {
  EXPECT_TRUE(WritePrivateProfileString("x ", " k\t", "1", file.c_str()));
  EXPECT_TRUE(WritePrivateProfileString(" x", "k ", "2", file.c_str()));
  EXPECT_EQ(Get("x ", " k\t"), "2");
  EXPECT_EQ(Get("x", "k"), "2");
  EXPECT_EQ(List(" x ", 100), std::vector<std::string>{"k"});
  EXPECT_TRUE(WritePrivateProfileString("x\t", " k", nullptr, file.c_str()));
  EXPECT_EQ(Get("x", "k"), "?");
}

TEST_F(Profile, DefaultsForMissingFilesSectionsAndKeys) {
  EXPECT_EQ(Get("S", "k", "fallback  "), "fallback");
  EXPECT_EQ(Get("S", "k", nullptr), "");
  dir.Write("test.ini", "[S]\nother=1\n");
  EXPECT_EQ(Get("S", "k", "d"), "d");
  EXPECT_EQ(Get("T", "k", "d"), "d");
  EXPECT_EQ(GetPrivateProfileInt("S", "other", 7, file.c_str()), 1u);
  EXPECT_EQ(GetPrivateProfileInt("S", "k", 7, file.c_str()), 7u);
}

TEST_F(Profile, IntegersReadTheLeadingNumber) {
  dir.Write("test.ini", "[N]\na=42\nb= 17 apples\nc=-3\nd=none\n");
  EXPECT_EQ(GetPrivateProfileInt("N", "a", 0, file.c_str()), 42u);
  EXPECT_EQ(GetPrivateProfileInt("N", "b", 0, file.c_str()), 17u);
  EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("N", "c", 0, file.c_str())), -3);
  EXPECT_EQ(GetPrivateProfileInt("N", "d", 5, file.c_str()), 0u);
}

TEST_F(Profile, CutValueReturnsSizeMinusOne) {
  dir.Write("test.ini", "[S]\nk=abcdef\n");
  EXPECT_EQ(Get("S", "k", "", 4), "abc");
  char buffer[4];
  EXPECT_EQ(GetPrivateProfileString("S", "k", "", buffer, 4, file.c_str()), 3u);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(GetPrivateProfileString("S", "k", "", buffer, 0, file.c_str()), 0u);
}

TEST_F(Profile, ListsSectionsAndKeys) {
  dir.Write("test.ini", "[One]\na=1\nB=2\n[Two]\n[Three]\nx=3\n");
  DWORD n = 0;
  EXPECT_EQ(List(nullptr, 100, &n), (std::vector<std::string>{"One", "Two", "Three"}));
  EXPECT_EQ(n, 14u);
  EXPECT_EQ(List("one", 100, &n), (std::vector<std::string>{"a", "B"}));
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(List("Two", 100, &n), std::vector<std::string>{});
  EXPECT_EQ(n, 0u);
  char names[64];
  EXPECT_EQ(GetPrivateProfileSectionNames(names, sizeof names, file.c_str()), 14u);
}

TEST_F(Profile, LinesEndAtCrLfLfOrALoneCrAndKeysNeedAnEqualsSign) {
  const char* files[] = {"[S]\r\na=1\r\nplain\r\nb=2\r\n", "[S]\na=1\nplain\nb=2\n", "[S]\ra=1\rplain\rb=2\r",
                         "[S]\ra=1\nplain\r\nb=2"};
  for (const char* text : files) {
    SCOPED_TRACE(text);
    dir.Write("test.ini", text);
    DWORD n = 0;
    EXPECT_EQ(List("S", 100, &n), (std::vector<std::string>{"a", "b"}));
    char value[16];
    EXPECT_EQ(GetPrivateProfileString("S", "b", "", value, sizeof value, file.c_str()), 1u);
    EXPECT_STREQ(value, "2");
  }
}

TEST_F(Profile, CutListReturnsSizeMinusTwoWithTwoNuls) {
  dir.Write("test.ini", "[S]\nalpha=1\nbeta=2\n");
  char buffer[9];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(GetPrivateProfileString("S", nullptr, "", buffer, sizeof buffer, file.c_str()), 7u);
  EXPECT_EQ(std::string(buffer, 9), std::string("alpha\0be\0\0", 9).substr(0, 7) + std::string("\0\0", 2));
  // Exactly fitting: "alpha\0beta\0\0" needs 12 bytes and returns 11.
  char exact[12];
  EXPECT_EQ(GetPrivateProfileString("S", nullptr, "", exact, sizeof exact, file.c_str()), 11u);
  EXPECT_EQ(GetPrivateProfileString("S", nullptr, "", exact, 11, file.c_str()), 9u);
}

TEST_F(Profile, SectionBlockHoldsTheLines) {
  dir.Write("test.ini", "[S]\n k = \"v\" \n;c\nplain\n[T]\nx=1\n");
  char buffer[64];
  const DWORD n = GetPrivateProfileSection("s", buffer, sizeof buffer, file.c_str());
  EXPECT_EQ(std::string(buffer, n + 1), std::string("k = \"v\"\0plain\0\0", 15));
}

TEST_F(Profile, LongValuesAndKeyListsHaveNoLimit) {
  const std::string big(70000, 'v');
  EXPECT_TRUE(WritePrivateProfileString("Keywords", "list", big.c_str(), file.c_str()));
  const std::string longKey(60, 'k');
  for (int i = 0; i < 200; ++i)  // a key list far beyond 8192 characters
    WritePrivateProfileString("Many", (longKey + std::to_string(i)).c_str(), "x", file.c_str());
  EXPECT_EQ(Get("Keywords", "list", "", 80000), big);
  DWORD n = 0;
  EXPECT_EQ(List("Many", 20000, &n).size(), 200u);
  EXPECT_GT(n, 12000u);
}

TEST_F(Profile, WritesCreateUpdateAndDelete) {
  EXPECT_TRUE(WritePrivateProfileString("S", "a", "1", file.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("S", "b", "two words", file.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("T", "c", "3", file.c_str()));
  EXPECT_EQ(dir.Read("test.ini"), "[S]\r\na=1\r\nb=two words\r\n[T]\r\nc=3\r\n");
  EXPECT_TRUE(WritePrivateProfileString("S", "a", nullptr, file.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("S", "absent", nullptr, file.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("Absent", nullptr, nullptr, file.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("t", nullptr, nullptr, file.c_str()));
  EXPECT_EQ(dir.Read("test.ini"), "[S]\r\nb=two words\r\n");
  EXPECT_FALSE(WritePrivateProfileString(nullptr, "k", "v", file.c_str()));
  EXPECT_TRUE(WritePrivateProfileString(nullptr, nullptr, nullptr, file.c_str()));
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", (dir / "missing/x.ini").c_str()));
}

// A profile file kept as a symbolic link is written through it: the file it names gets the
// entries and the link stays a link.
TEST_F(Profile, AFileKeptAsASymbolicLinkStaysOne) {
  dir.Write("own/real.ini", "[S]\r\nold=1\r\n");
  ASSERT_EQ(::symlink((dir / "own/real.ini").c_str(), file.c_str()), 0);
  ASSERT_TRUE(WritePrivateProfileString("S", "new", "2", file.c_str()));
  struct stat st {};
  ASSERT_EQ(::lstat(file.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(dir.Read("own/real.ini"), "[S]\r\nold=1\r\nnew=2\r\n");
}

// A profile file kept as a link that names no file yet gets the file made where it points, and
// the link stays; one that points into a folder that is not there fails, and stays a link.
TEST_F(Profile, ADanglingLinkGetsItsFileOrTheWriteFailsAndItStaysALink) {
  std::filesystem::create_directories(dir / "own");
  ASSERT_EQ(::symlink((dir / "own/real.ini").c_str(), file.c_str()), 0);
  ASSERT_TRUE(WritePrivateProfileString("S", "new", "2", file.c_str()));
  struct stat st {};
  ASSERT_EQ(::lstat(file.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(dir.Read("own/real.ini"), "[S]\r\nnew=2\r\n");

  ASSERT_EQ(::unlink(file.c_str()), 0);
  ASSERT_EQ(::symlink((dir / "missing/real.ini").c_str(), file.c_str()), 0);
  EXPECT_FALSE(WritePrivateProfileString("S", "new", "3", file.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  ASSERT_EQ(::lstat(file.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

// A write removes what a killed write of the file left beside it (its temporary file, named with
// the ended process's id), and nothing else: the user's files of like names stay.
TEST_F(Profile, AWriteRemovesOnlyWhatKilledWritesLeft) {
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  int status = 0;
  ::waitpid(ended, &status, 0);
  const std::string left = ".test.ini.~" + std::to_string(ended) + ".0123456789ab";
  const std::vector<std::string> users = {".test.ini.~1", ".test.ini.~old", ".test.ini.Xa1b2C"};
  dir.Write(left, "left");
  for (const std::string& name : users) dir.Write(name, "the user's");
  ASSERT_TRUE(WritePrivateProfileString("s", "k", "v", file.c_str()));
  EXPECT_EQ(Get("s", "k"), "v");
  EXPECT_NE(::access((dir / left).c_str(), F_OK), 0);
  for (const std::string& name : users) EXPECT_EQ(dir.Read(name), "the user's") << name;
}

TEST_F(Profile, NewKeysGoAfterTheSectionsEntriesKeepingComments) {
  dir.Write("test.ini", "; head\n[S]\na=1\n\n; about T\n[T]\n");
  EXPECT_TRUE(WritePrivateProfileString("S", "b", "2", file.c_str()));
  EXPECT_EQ(dir.Read("test.ini"), "; head\r\n[S]\r\na=1\r\nb=2\r\n\r\n; about T\r\n[T]\r\n");
}

TEST_F(Profile, DelimiterTextsRoundTrip) {
  const char* tricky = "; = \" ' [x] \\ \xA5\x5C";
  EXPECT_TRUE(WritePrivateProfileString("Lang", "Delims", tricky, file.c_str()));
  EXPECT_EQ(Get("Lang", "Delims"), tricky);
}

TEST_F(Profile, SectionWritesReplaceEntries) {
  dir.Write("test.ini", "[S]\nold=1\n; keep\n[T]\nx=1\n");
  EXPECT_TRUE(WritePrivateProfileSection("S", "a=1\0b=2\0", file.c_str()));
  EXPECT_EQ(Get("S", "old"), "?");
  EXPECT_EQ(Get("S", "b"), "2");
  EXPECT_EQ(dir.Read("test.ini"), "[S]\r\na=1\r\nb=2\r\n; keep\r\n[T]\r\nx=1\r\n");
  EXPECT_TRUE(WritePrivateProfileSection("New", "k=v\0", file.c_str()));
  EXPECT_EQ(Get("New", "k"), "v");
  EXPECT_TRUE(WritePrivateProfileSection("S", nullptr, file.c_str()));
  EXPECT_EQ(Get("S", "a"), "?");
}

TEST_F(Profile, DoubleByteSectionNamesKeepTrailBrackets) {
  ScopedCodePage cp(950);
  const std::string section = "\xA4\x5D";  // its trail byte is ']'
  EXPECT_TRUE(WritePrivateProfileString(section.c_str(), "k", "v", file.c_str()));
  EXPECT_EQ(Get(section.c_str(), "k"), "v");
  EXPECT_EQ(List(nullptr, 16), std::vector<std::string>{section});
  // A name that ends in a lead byte without its trail is found again too.
  const std::string cut = "ab\xA4";
  EXPECT_TRUE(WritePrivateProfileString(cut.c_str(), "k", "w", file.c_str()));
  EXPECT_EQ(Get(cut.c_str(), "k"), "w");
  EXPECT_EQ(Get(section.c_str(), "k"), "v");
  EXPECT_EQ(List(nullptr, 16), (std::vector<std::string>{section, cut}));
}

TEST_F(Profile, StructsCarryAChecksum) {
  const BYTE data[3] = {0x01, 0xAB, 0xFF};
  EXPECT_TRUE(WritePrivateProfileStruct("S", "blob", data, sizeof data, file.c_str()));
  EXPECT_EQ(Get("S", "blob"), "01ABFFAB");
  BYTE back[3] = {};
  EXPECT_TRUE(GetPrivateProfileStruct("S", "blob", back, sizeof back, file.c_str()));
  EXPECT_EQ(std::memcmp(back, data, sizeof data), 0);
  EXPECT_FALSE(GetPrivateProfileStruct("S", "blob", back, 2, file.c_str()));
  WritePrivateProfileString("S", "bad", "01ABFF00", file.c_str());
  EXPECT_FALSE(GetPrivateProfileStruct("S", "bad", back, sizeof back, file.c_str()));
  EXPECT_FALSE(GetPrivateProfileStruct("S", "none", back, sizeof back, file.c_str()));
}

TEST_F(Profile, BareNamesLiveInTheWindowsDirectory) {
  ScopedEnv windows("BRAMBOLT_WINDOWS_DIR", dir.Path());
  EXPECT_TRUE(WritePrivateProfileString("S", "k", "v", "bare.ini"));
  EXPECT_TRUE(dir.Exists("bare.ini"));
  EXPECT_EQ(Get("S", "k"), "?");  // test.ini is another file
  char buffer[8];
  GetPrivateProfileString("S", "k", "", buffer, sizeof buffer, "BARE.INI");
  EXPECT_STREQ(buffer, "v");
}

TEST_F(Profile, ChangesMadeBehindTheCacheAreSeen) {
  WritePrivateProfileString("S", "k", "1", file.c_str());
  EXPECT_EQ(Get("S", "k"), "1");
  dir.Write("test.ini", "[S]\r\nk=changed elsewhere\r\n");
  EXPECT_EQ(Get("S", "k"), "changed elsewhere");
}

TEST_F(Profile, ConcurrentWritersKeepEveryKey) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 20; ++i)
        WritePrivateProfileString(("T" + std::to_string(t)).c_str(), ("k" + std::to_string(i)).c_str(), "v",
                                  file.c_str());
    });
  for (std::thread& t : threads) t.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(List(("T" + std::to_string(t)).c_str(), 1000).size(), 20u);
}

TEST(WinIni, ReadsEmptyAndKeepsNothing) {
  TempDir dir;
  ScopedEnv windows("BRAMBOLT_WINDOWS_DIR", dir.Path());
  EXPECT_TRUE(WriteProfileString("Tips", "SampleTip", "5"));
  EXPECT_EQ(GetProfileInt("Tips", "SampleTip", 1), 1u);
  char buffer[16];
  EXPECT_EQ(GetProfileString("Tips", "SampleTip", "def", buffer, sizeof buffer), 3u);
  EXPECT_STREQ(buffer, "def");
  EXPECT_EQ(GetProfileString(nullptr, nullptr, "", buffer, sizeof buffer), 0u);
  EXPECT_FALSE(dir.Exists("win.ini"));
}

}  // namespace
}  // namespace brambolt

// The version report's texts, the e-mail test, comma-joined lists and file snapshots.
#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "app/CEditLink.h"
#include "app/CFileSnapshot.h"
#include "app/CVersion.h"
#include "os/SystemInfo.h"

namespace {

// The report names the system the program really runs on: the kernel, then the distribution
// that os-release names; and the program's own version.
TEST(Version, ReportsTheRealKernelAndDistributionAndTheProgramsVersion) {
  const std::pair<const char*, const char*> releases[] = {
      {"PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n"
       "VERSION=\"12 (bookworm)\"\n",
       "Debian GNU/Linux 12 (bookworm)"},
      {"# a comment\nNAME=Fedora\nVERSION_ID=40\n", "Fedora 40"},
      {"NAME='Arch Linux'\n", "Arch Linux"},
      {"PRETTY_NAME=\"Only Pretty\"\n", "Only Pretty"},
      {"", ""},
  };
  for (const auto& [text, distribution] : releases)
    EXPECT_EQ(brambolt::DistributionFromOsRelease(text), distribution) << text;

  CVersion version;
  EXPECT_STREQ(version.GetBuild(), "Build 12/19/2001 V3.3.0.1219");
  EXPECT_STREQ(version.GetProgramVersion(), "3.3.0.1219");
  utsname names{};
  ASSERT_EQ(uname(&names), 0);
  const std::string system = static_cast<LPCTSTR>(version.GetOSVersion());
  EXPECT_EQ(system.rfind(std::string(names.sysname) + " " + names.release, 0), 0u) << system;
  std::ifstream release("/etc/os-release");
  const std::string distribution = brambolt::DistributionFromOsRelease(
      std::string(std::istreambuf_iterator<char>(release), std::istreambuf_iterator<char>()));
  if (!distribution.empty()) {
    EXPECT_NE(system.find(" (" + distribution + ")"), std::string::npos) << system;
  }
  EXPECT_EQ(system.find("Windows"), std::string::npos);
}

TEST(EditLink, AnAddressNeedsFiveCharactersAnAtSignAndAPeriod) {
  const std::pair<const char*, BOOL> cases[] = {
      {"a@b.c", TRUE},  {"a@.c", FALSE}, {"ab.cd", FALSE},     {"abc@de", FALSE},
      {"", FALSE},      {"x.y@z", TRUE}, {"me@example.org", TRUE},
  };
  for (const auto& [address, valid] : cases) EXPECT_EQ(CEditLink::IsValidEmail(address), valid) << address;
  EXPECT_FALSE(CEditLink::IsValidEmail(nullptr));
}

TEST(JoinWithCommas, AppendsToTheTextAndDropsOnlyTheLastComma) {
  CStringList list;
  CString text = "start:";
  EXPECT_EQ(JoinWithCommas(text, list), 0);
  EXPECT_STREQ(text, "start:");
  list.AddTail("a");
  list.AddTail("");
  list.AddTail("c");
  EXPECT_EQ(JoinWithCommas(text, list), 3);
  EXPECT_STREQ(text, "start:a,,c");
  CString ending = "x,";
  CStringList none;
  JoinWithCommas(ending, none);
  EXPECT_STREQ(ending, "x");
}

TEST(FileSnapshot, RecordsFolderTimeAndSizeAndZerosForAMissingFile) {
  char folder[] = "/tmp/appsnapXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/data.bin";
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite("12345", 1, 5, file);
  std::fclose(file);
  CFileSnapshot snapshot(path.c_str());
  EXPECT_STREQ(snapshot.m_strFolder, (std::string(folder) + "/").c_str());
  EXPECT_EQ(snapshot.m_nSize, 5u);
  EXPECT_NE(snapshot.m_ftLastWrite.dwLowDateTime | snapshot.m_ftLastWrite.dwHighDateTime, 0u);
  CFileSnapshot missing("C:\\nowhere\\at\\all.txt");
  EXPECT_STREQ(missing.m_strFolder, "C:\\nowhere\\at\\");
  EXPECT_EQ(missing.m_nSize, 0u);
  EXPECT_EQ(missing.m_ftLastWrite.dwLowDateTime | missing.m_ftLastWrite.dwHighDateTime, 0u);
  EXPECT_STREQ(CFileSnapshot("D:name").m_strFolder, "D:");
  std::remove(path.c_str());
  rmdir(folder);
}

}  // namespace

// The version report's texts, the e-mail test, comma-joined lists and file snapshots.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/CEditLink.h"
#include "app/CFileSnapshot.h"
#include "app/CVersion.h"

namespace {

TEST(Version, TextsNameThePlatformAndKeepTheBlankBeforeAMissingServicePack) {
  struct Case {
    DWORD platform, major, minor, build;
    const char* servicePack;
    const char* text;
  } cases[] = {
      {VER_PLATFORM_WIN32_NT, 5, 0, 2195, "Service Pack 4", "Windows NT 5.0.2195 Service Pack 4"},
      {VER_PLATFORM_WIN32_NT, 4, 0, 1381, "", "Windows NT 4.0.1381 "},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0x040A08AE, " A ", "Windows 98 4.10.2222  A "},
      {VER_PLATFORM_WIN32s, 3, 1, 0, "", " 3.1.0 "},
  };
  for (const Case& c : cases) {
    OSVERSIONINFO info{};
    info.dwPlatformId = c.platform;
    info.dwMajorVersion = c.major;
    info.dwMinorVersion = c.minor;
    info.dwBuildNumber = c.build;
    std::strcpy(info.szCSDVersion, c.servicePack);
    EXPECT_STREQ(CVersion::FormatOSVersion(info), c.text);
  }
  CVersion version;
  EXPECT_STREQ(version.GetBuild(), "Build 12/19/2001 V3.3.0.1219");
  EXPECT_STREQ(version.GetOSVersion(), "Windows NT 5.0.2195 Service Pack 4");
  EXPECT_STREQ(version.GetComCtlVersion(), "5.81.4916");
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

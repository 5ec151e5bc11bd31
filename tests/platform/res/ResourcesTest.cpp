#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestResources.h"
#include "base/CodePage.h"
#include "os/SystemInfo.h"
#include "res/ResourceTemplates.h"
#include "res/Resources.h"

namespace {

std::vector<BYTE> BlobBytes() {
  std::vector<BYTE> expected;
  for (int r = 0; r < 3; ++r)
    for (int i = 0; i < 256; ++i) expected.push_back(static_cast<BYTE>(i));
  for (char c : std::string("\0\0tail", 6)) expected.push_back(static_cast<BYTE>(c));
  return expected;
}

std::vector<BYTE> ResourceBytes(LPCTSTR name, LPCTSTR type) {
  HRSRC info = FindResource(nullptr, name, type);
  if (!info) return {};
  auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, info)));
  return std::vector<BYTE>(data, data + SizeofResource(nullptr, info));
}

}  // namespace

TEST(ResourceLookup, RawDataComesBackExactlyAsCompiled) {
  EXPECT_EQ(ResourceBytes(MAKEINTRESOURCE(IDR_BLOB), RT_RCDATA), BlobBytes());
}

TEST(ResourceLookup, NamesMatchWithoutCaseAndByNumberText) {
  EXPECT_EQ(ResourceBytes("TABLEDATA", RT_RCDATA), BlobBytes());
  EXPECT_EQ(ResourceBytes("tableData", RT_RCDATA), BlobBytes());
  EXPECT_EQ(ResourceBytes("#151", RT_RCDATA), BlobBytes());
  EXPECT_EQ(ResourceBytes(MAKEINTRESOURCE(IDR_BLOB), "#10"), BlobBytes());
}

TEST(ResourceLookup, TheProgramModuleHandleFindsTheProgramsResources) {
  EXPECT_EQ(brambolt::ProgramResourceModule(), GetModuleHandle(nullptr));
  EXPECT_NE(FindResource(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDR_BLOB), RT_RCDATA), nullptr);
}

TEST(ResourceLookup, MissingResourceGivesNullAndAnError) {
  SetLastError(0);
  EXPECT_EQ(FindResource(nullptr, "NOSUCHTHING", RT_RCDATA), nullptr);
  EXPECT_NE(GetLastError(), 0u);
  EXPECT_EQ(FindResource(nullptr, MAKEINTRESOURCE(IDR_BLOB), RT_BITMAP), nullptr);
  EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);
  EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
}

TEST(ResourceLookup, LanguageSpecificLookup) {
  EXPECT_NE(FindResourceEx(nullptr, RT_RCDATA, MAKEINTRESOURCE(IDR_BLOB), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
            nullptr);
  EXPECT_EQ(FindResourceEx(nullptr, RT_RCDATA, MAKEINTRESOURCE(IDR_BLOB), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)),
            nullptr);
}

TEST(ResourceImages, MalformedImagesAreRefused) {
  const BYTE truncated[] = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF};
  EXPECT_FALSE(brambolt::RegisterResourceImage(reinterpret_cast<HINSTANCE>(0x1234), truncated, sizeof truncated));
  BYTE lying[32] = {0xFF, 0xFF, 0xFF, 0x7F, 0x20, 0, 0, 0, 0xFF, 0xFF, 10, 0, 0xFF, 0xFF, 1, 0};
  EXPECT_FALSE(brambolt::RegisterResourceImage(reinterpret_cast<HINSTANCE>(0x1235), lying, sizeof lying));
}

TEST(StringTable, LoadsStringsOfEveryBlock) {
  char buffer[64];
  EXPECT_EQ(LoadString(nullptr, IDS_HELLO, buffer, sizeof buffer), 5);
  EXPECT_STREQ(buffer, "Hello");
  EXPECT_EQ(LoadString(nullptr, IDS_QUOTED, buffer, sizeof buffer), 8);
  EXPECT_STREQ(buffer, "Say \"hi\"");
  EXPECT_EQ(LoadString(nullptr, IDS_SECOND_BLOCK, buffer, sizeof buffer), 9);
  EXPECT_STREQ(buffer, "Block two");
}

TEST(StringTable, MissingStringGivesEmptyBufferAndZero) {
  char buffer[8] = "junk";
  EXPECT_EQ(LoadString(nullptr, 161, buffer, sizeof buffer), 0);  // same block, absent id
  EXPECT_STREQ(buffer, "");
  std::strcpy(buffer, "junk");
  EXPECT_EQ(LoadString(nullptr, 9999, buffer, sizeof buffer), 0);  // absent block
  EXPECT_STREQ(buffer, "");
}

TEST(StringTable, TruncatesToTheBuffer) {
  char buffer[4];
  EXPECT_EQ(LoadString(nullptr, IDS_HELLO, buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "Hel");
}

TEST(StringTable, ZeroSizedBufferGivesTheReadOnlyText) {
  const char16_t* text = nullptr;
  EXPECT_EQ(LoadString(nullptr, IDS_HELLO, reinterpret_cast<LPSTR>(&text), 0), 5);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::u16string(text, 5), u"Hello");
}

TEST(StringTable, TextsAreConvertedToTheCodePageWithoutSplittingCharacters) {
  UINT previous = GetACP();
  brambolt::SetCodePageForTesting(936);
  char buffer[16];
  EXPECT_EQ(LoadString(nullptr, IDS_CHINESE, buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "\xD6\xD0\xCE\xC4");
  char small[4];  // room for one double-byte character and a half
  EXPECT_EQ(LoadString(nullptr, IDS_CHINESE, small, sizeof small), 2);
  EXPECT_STREQ(small, "\xD6\xD0");
  brambolt::SetCodePageForTesting(950);
  EXPECT_EQ(LoadString(nullptr, IDS_CHINESE, buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "\xA4\xA4\xA4\xE5");
  brambolt::SetCodePageForTesting(previous);
}

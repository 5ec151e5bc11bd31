// SECRegistry: connections and their error codes, typed values and their stored form, bounded
// reads, enumeration and subtree deletion, on a private registry folder.
#include "foundation/SECRegistry.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "os/SystemInfo.h"
#include "platform/os/TempDir.h"

namespace {

using brambolt::testing_os::ScopedEnv;
using brambolt::testing_os::TempDir;

class RegistryWrapper : public ::testing::Test {
 protected:
  void SetUp() override { brambolt::ResetRegistryForTesting(); }
  void TearDown() override { brambolt::ResetRegistryForTesting(); }

  // A wrapper connected to HKEY_CURRENT_USER with `path` created and open.
  void OpenCreated(SECRegistry& reg, const char* path) {
    ASSERT_TRUE(reg.Connect(HKEY_CURRENT_USER, nullptr, TRUE));
    ASSERT_TRUE(reg.Create(path, nullptr, 0, KEY_ALL_ACCESS, nullptr, nullptr));
  }
  bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  std::string StoredBytes(SECRegistry& reg, const char* name, DWORD& type) {
    BYTE buffer[256] = {};
    DWORD size = sizeof buffer;
    EXPECT_TRUE(reg.QueryValueRaw(name, &type, buffer, &size));
    return std::string(reinterpret_cast<const char*>(buffer), size);
  }

  TempDir dir;
  ScopedEnv registryDir{"BRAMBOLT_REGISTRY_DIR", dir.Path()};
};

TEST_F(RegistryWrapper, PerUserRootsAreNeverRemote) {
  SECRegistry reg;
  EXPECT_FALSE(reg.Connect(HKEY_CURRENT_USER, "FARAWAY", TRUE));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg.m_hKey, nullptr);
  EXPECT_EQ(reg.m_hRootKey, nullptr);
  EXPECT_FALSE(reg.m_bRemote);
  EXPECT_FALSE(reg.Connect(HKEY_CLASSES_ROOT, "FARAWAY", FALSE));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_INVALID_HANDLE);
}

TEST_F(RegistryWrapper, UnknownRootIsRefused) {
  SECRegistry reg;
  EXPECT_FALSE(reg.Connect(reinterpret_cast<HKEY>(0x1234), nullptr, TRUE));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_INVALID_HANDLE);
}

TEST_F(RegistryWrapper, LocalConnectionNamesTheComputerAndTheRoot) {
  char name[260] = {};
  DWORD size = sizeof name;
  ASSERT_TRUE(GetComputerName(name, &size));
  SECRegistry reg;
  ASSERT_TRUE(reg.Connect(HKEY_LOCAL_MACHINE, nullptr, TRUE));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_SUCCESS);
  EXPECT_EQ(std::string(reg.m_strComputerName), name);
  EXPECT_EQ(std::string(reg.m_strRootName), "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(reg.m_hKey, reg.m_hRootKey);
  EXPECT_TRUE(reg.Close());
  EXPECT_EQ(reg.m_hRootKey, nullptr);
  EXPECT_TRUE(reg.m_strRootName.IsEmpty());
}

TEST_F(RegistryWrapper, OpenDropsOneTrailingBackslashAndKeepsTheNameAsGiven) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\Test");
  ASSERT_TRUE(reg.SetStringValue("v", "x"));
  SECRegistry other;
  ASSERT_TRUE(other.Connect(HKEY_CURRENT_USER, nullptr, TRUE));
  ASSERT_TRUE(other.Open("Software\\Test\\", KEY_READ));
  EXPECT_EQ(std::string(other.m_strKeyName), "Software\\Test\\");
  EXPECT_EQ(other.m_dwNumberOfValues, 1u);
  CString value;
  EXPECT_TRUE(other.GetStringValue("v", value));
  EXPECT_EQ(std::string(value), "x");
}

TEST_F(RegistryWrapper, FailedOpenLeavesTheRootCurrent) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\A");
  EXPECT_FALSE(reg.Open("Software\\Missing", KEY_READ));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.m_hKey, reg.m_hRootKey);
  EXPECT_TRUE(reg.Close());
}

TEST_F(RegistryWrapper, NullNamesAreInvalidParameters) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\A");
  CString text;
  DWORD number = 0;
  CByteArray bytes;
  CStringArray strings;
  BYTE data = 0;
  const std::vector<std::pair<const char*, BOOL>> calls = {
      {"Open", reg.Open(nullptr, KEY_READ)},
      {"Create", reg.Create(nullptr)},
      {"DeleteKey", reg.DeleteKey(nullptr, FALSE)},
      {"GetStringValue", reg.GetStringValue(nullptr, text)},
      {"GetDWordValue", reg.GetDWordValue(nullptr, number)},
      {"GetBinaryValue", reg.GetBinaryValue(nullptr, bytes)},
      {"GetStringArrayValue", reg.GetStringArrayValue(nullptr, strings)},
      {"SetStringValue", reg.SetStringValue(nullptr, text)},
      {"SetDWordValue", reg.SetDWordValue(nullptr, 1)},
      {"SetBinaryValue", reg.SetBinaryValue(nullptr, bytes)},
      {"SetStringArrayValue", reg.SetStringArrayValue(nullptr, strings)},
      {"SetValueRaw", reg.SetValueRaw("x", REG_BINARY, nullptr, 0)},
      {"SetValueRaw name", reg.SetValueRaw(nullptr, REG_BINARY, &data, 1)},
      {"GetKeySecurity", reg.GetKeySecurity(0, nullptr, nullptr)},
  };
  for (const auto& [what, result] : calls) EXPECT_FALSE(result) << what;
  EXPECT_EQ(reg.m_lErrorCode, ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryWrapper, WholeRootIsNeverDeleted) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\A");
  EXPECT_FALSE(reg.DeleteKey("", TRUE));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(KeyExists("Software\\A"));
}

TEST_F(RegistryWrapper, TypedValuesKeepTheirTypesAndBytes) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\Types");
  CByteArray binary;
  for (BYTE b : {0x00, 0xFF, 0x10}) binary.Add(b);
  CStringArray list;
  list.Add("a");
  list.Add("bc");
  ASSERT_TRUE(reg.SetStringValue("s", "text"));
  ASSERT_TRUE(reg.SetDWordValue("d", 0x01020304));
  ASSERT_TRUE(reg.SetBinaryValue("b", binary));
  ASSERT_TRUE(reg.SetStringArrayValue("m", list));

  struct Expected {
    const char* name;
    DWORD type;
    std::string bytes;
  };
  const Expected expected[] = {{"s", REG_SZ, std::string("text\0", 5)},
                               {"d", REG_DWORD, std::string("\x04\x03\x02\x01", 4)},
                               {"b", REG_BINARY, std::string("\x00\xFF\x10", 3)},
                               {"m", REG_MULTI_SZ, std::string("a\0bc\0\0", 6)}};
  for (const Expected& e : expected) {
    DWORD type = 0;
    EXPECT_EQ(StoredBytes(reg, e.name, type), e.bytes) << e.name;
    EXPECT_EQ(type, e.type) << e.name;
  }

  CString text;
  DWORD number = 0;
  CByteArray readBinary;
  CStringArray readList;
  EXPECT_TRUE(reg.GetStringValue("s", text));
  EXPECT_TRUE(reg.GetDWordValue("d", number));
  EXPECT_TRUE(reg.GetBinaryValue("b", readBinary));
  EXPECT_TRUE(reg.GetStringArrayValue("m", readList));
  EXPECT_EQ(std::string(text), "text");
  EXPECT_EQ(number, 0x01020304u);
  ASSERT_EQ(readBinary.GetSize(), 3);
  EXPECT_EQ(readBinary[1], 0xFF);
  ASSERT_EQ(readList.GetSize(), 2);
  EXPECT_EQ(std::string(readList[0]), "a");
  EXPECT_EQ(std::string(readList[1]), "bc");
}

TEST_F(RegistryWrapper, ValuesSurviveAReloadOfTheStore) {
  {
    SECRegistry reg;
    OpenCreated(reg, "Software\\Keep");
    ASSERT_TRUE(reg.SetDWordValue("n", 42));
  }
  brambolt::ResetRegistryForTesting();
  SECRegistry reg;
  ASSERT_TRUE(reg.Connect(HKEY_CURRENT_USER, nullptr, TRUE));
  ASSERT_TRUE(reg.Open("Software\\Keep", KEY_READ));
  DWORD n = 0;
  EXPECT_TRUE(reg.QueryValue("n", n));
  EXPECT_EQ(n, 42u);
}

TEST_F(RegistryWrapper, ReadsStopAtTheStoredSize) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\Raw");
  // Followed by a byte other than zero, a string is stored without a terminator.
  ASSERT_TRUE(reg.SetValueRaw("unterminated", REG_SZ, reinterpret_cast<const BYTE*>("abcd"), 3));
  ASSERT_TRUE(reg.SetValueRaw("list", REG_MULTI_SZ, reinterpret_cast<const BYTE*>("a\0bc"), 4));
  ASSERT_TRUE(reg.SetValueRaw("empty", REG_MULTI_SZ, reinterpret_cast<const BYTE*>(""), 1));
  ASSERT_TRUE(reg.SetValueRaw("none", REG_SZ, reinterpret_cast<const BYTE*>(""), 0));
  CString text;
  EXPECT_TRUE(reg.QueryValue("unterminated", text));
  EXPECT_EQ(std::string(text), "abc");
  EXPECT_TRUE(reg.QueryValue("none", text));
  EXPECT_EQ(std::string(text), "");
  CStringArray list;
  EXPECT_TRUE(reg.QueryValue("list", list));
  ASSERT_EQ(list.GetSize(), 2);
  EXPECT_EQ(std::string(list[1]), "bc");
  list.Add("stale");
  EXPECT_TRUE(reg.QueryValue("empty", list));
  EXPECT_EQ(list.GetSize(), 0);
}

TEST_F(RegistryWrapper, StringsOfAnyLengthReadBack) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\Long");
  for (int length : {2047, 2048, 4000, 100000}) {
    ASSERT_TRUE(reg.SetStringValue("long", CString('x', length)));
    CString text("before");
    EXPECT_TRUE(reg.GetStringValue("long", text)) << length;
    EXPECT_EQ(text.GetLength(), length);
    text = "before";
    EXPECT_TRUE(reg.QueryValue("long", text)) << length;
    EXPECT_EQ(text.GetLength(), length);
  }
}

TEST_F(RegistryWrapper, MissingValueFails) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\None");
  CString text;
  DWORD n = 7;
  EXPECT_FALSE(reg.GetStringValue("absent", text));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(reg.GetDWordValue("absent", n));
  EXPECT_EQ(n, 7u);
}

TEST_F(RegistryWrapper, ValueReadAfterTheOpenIsNotLimitedByTheOpenTimeSizes) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\Grow");
  ASSERT_TRUE(reg.Open("Software\\Grow", KEY_ALL_ACCESS));
  CByteArray big;
  for (int i = 0; i < 5000; ++i) big.Add(static_cast<BYTE>(i));
  ASSERT_TRUE(reg.SetBinaryValue("big", big));
  CByteArray read;
  EXPECT_TRUE(reg.GetBinaryValue("big", read));
  EXPECT_EQ(read.GetSize(), 5000);
}

TEST_F(RegistryWrapper, EnumeratesKeysAndValues) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\Enum\\Beta");
  ASSERT_TRUE(reg.Create("Software\\Enum\\alpha"));
  ASSERT_TRUE(reg.Open("Software\\Enum", KEY_ALL_ACCESS));
  ASSERT_TRUE(reg.SetStringValue("one", "1"));
  ASSERT_TRUE(reg.SetDWordValue("two", 2));
  std::vector<std::string> keys;
  CString name;
  for (DWORD i = 0; reg.EnumKey(i, name); ++i) keys.emplace_back(name);
  EXPECT_EQ(keys, (std::vector<std::string>{"alpha", "Beta"}));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_NO_MORE_ITEMS);

  std::vector<std::pair<std::string, DWORD>> values;
  DWORD type = 0;
  for (DWORD i = 0; reg.EnumValue(i, name, type); ++i) values.emplace_back(std::string(name), type);
  EXPECT_EQ(values, (std::vector<std::pair<std::string, DWORD>>{{"one", REG_SZ}, {"two", REG_DWORD}}));

  BYTE data[16] = {};
  DWORD size = sizeof data;
  ASSERT_TRUE(reg.EnumValue(1, name, type, data, size));
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(data[0], 2);
}

TEST_F(RegistryWrapper, OpenReadsTheKeyInformation) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\Info");
  DWORD disposition = 0;
  ASSERT_TRUE(reg.Create("Software\\Info\\Sub", "Kind", 0, KEY_ALL_ACCESS, nullptr, &disposition));
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  ASSERT_TRUE(reg.Create("Software\\Info\\Sub", nullptr, 0, KEY_ALL_ACCESS, nullptr, &disposition));
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  ASSERT_TRUE(reg.SetStringValue("longest name", "twelve chars"));
  ASSERT_TRUE(reg.Open("Software\\Info", KEY_READ));
  EXPECT_EQ(reg.m_dwNumberOfSubKeys, 1u);
  EXPECT_EQ(reg.m_dwNumberOfValues, 0u);
  EXPECT_EQ(reg.m_dwMaxSubKeyNameLength, 3u);
  CString name, className;
  ASSERT_TRUE(reg.EnumKey(0, name, className));
  EXPECT_EQ(std::string(name), "Sub");
  EXPECT_EQ(std::string(className), "Kind");
  ASSERT_TRUE(reg.Open("Software\\Info\\Sub", KEY_READ));
  EXPECT_EQ(std::string(reg.m_strClassName), "Kind");
  EXPECT_EQ(reg.m_dwNumberOfValues, 1u);
  EXPECT_EQ(reg.m_dwMaxValueNameLength, 12u);
  EXPECT_EQ(reg.m_dwMaxValueLength, 13u);
}

TEST_F(RegistryWrapper, NonRecursiveDeleteKeepsAKeyWithSubkeys) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\Tree\\Child");
  ASSERT_TRUE(reg.Open("Software", KEY_ALL_ACCESS));
  EXPECT_FALSE(reg.DeleteKey("Tree", FALSE));
  EXPECT_NE(reg.m_lErrorCode, ERROR_SUCCESS);
  EXPECT_TRUE(KeyExists("Software\\Tree\\Child"));
}

TEST_F(RegistryWrapper, RecursiveDeleteRelativeToTheOpenKey) {
  SECRegistry reg;
  OpenCreated(reg, "Software\\Tree\\A\\B\\C");
  ASSERT_TRUE(reg.SetStringValue("v", "x"));
  ASSERT_TRUE(reg.Create("Software\\Tree\\A\\D"));
  ASSERT_TRUE(reg.Open("Software\\Tree", KEY_ALL_ACCESS));
  EXPECT_TRUE(reg.DeleteKey("A", TRUE));
  EXPECT_FALSE(KeyExists("Software\\Tree\\A"));
  EXPECT_TRUE(KeyExists("Software\\Tree"));
}

TEST_F(RegistryWrapper, DeleteFromTheRootMovesAnOpenKeyInsideTheTreeToTheParent) {
  SECRegistry reg;
  OpenCreated(reg, "X\\Y\\Z");
  ASSERT_TRUE(reg.Open("X\\Y\\Z", KEY_ALL_ACCESS));
  EXPECT_TRUE(reg.DeleteKey("\\X\\Y", TRUE));
  EXPECT_FALSE(KeyExists("X\\Y"));
  EXPECT_TRUE(KeyExists("X"));
  EXPECT_EQ(std::string(reg.m_strKeyName), "X");
}

// A subtree is deleted only below the key it was given: a subkey that cannot be opened there by
// the name the enumeration gives (here a double-byte name made in code page 950 and enumerated
// in 1252, which splits it at its trail byte) stops the delete, and a key of that name elsewhere
// in the root is never touched.
TEST_F(RegistryWrapper, ARecursiveDeleteNeverLeavesTheKeyItWasGiven) {
  SECRegistry reg;
  {
    brambolt::ScopedCodePage big5(950);
    OpenCreated(reg, "Software\\Tree\\\xA5\\Other");
  }
  ASSERT_TRUE(reg.Create("\xA5\\Other\\Keep"));
  ASSERT_TRUE(reg.SetStringValue("v", "kept"));
  ASSERT_TRUE(reg.Open("Software", KEY_ALL_ACCESS));
  EXPECT_FALSE(reg.DeleteKey("Tree", TRUE));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(KeyExists("\xA5\\Other\\Keep"));
  EXPECT_TRUE(KeyExists("Software\\Tree"));
}

TEST_F(RegistryWrapper, DeleteOfAMissingKeyFails) {
  SECRegistry reg;
  OpenCreated(reg, "Software");
  EXPECT_FALSE(reg.DeleteKey("Nothing", TRUE));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryWrapper, HiveAndSecurityCallsReportThePlatformResult) {
  SECRegistry reg;
  OpenCreated(reg, "Software");
  BYTE descriptor[64];
  DWORD size = sizeof descriptor;
  EXPECT_FALSE(reg.GetKeySecurity(OWNER_SECURITY_INFORMATION, descriptor, &size));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_FALSE(reg.SaveKey((dir / "hive").c_str(), nullptr));
  EXPECT_EQ(reg.m_lErrorCode, ERROR_CALL_NOT_IMPLEMENTED);
}

struct KeyNameCase {
  const char* first;
  const char* second;
  const char* combined;
};

void PrintTo(const KeyNameCase& c, std::ostream* os) { *os << c.first << " + " << c.second; }

class KeyNames : public ::testing::TestWithParam<KeyNameCase> {};

TEST_P(KeyNames, CombineWithOneBackslash) {
  const KeyNameCase& c = GetParam();
  EXPECT_EQ(std::string(SECRegistry::CombineKeyNames(c.first, c.second)), c.combined);
}

INSTANTIATE_TEST_SUITE_P(SECRegistry, KeyNames,
                         ::testing::Values(KeyNameCase{"A", "B", "A\\B"}, KeyNameCase{"A\\", "\\B\\", "A\\B"},
                                           KeyNameCase{"", "B", "\\B"}, KeyNameCase{"A\\B", "C\\D", "A\\B\\C\\D"}));

TEST(SECRegistryNames, RootNamesMatchExactly) {
  const std::pair<HKEY, const char*> roots[] = {
      {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},   {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
      {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}, {HKEY_USERS, "HKEY_USERS"},
      {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"}, {HKEY_DYN_DATA, "HKEY_DYN_DATA"}};
  for (const auto& [key, name] : roots) {
    CString text;
    EXPECT_TRUE(SECRegistry::RootKeyToName(key, text));
    EXPECT_EQ(std::string(text), name);
    EXPECT_EQ(SECRegistry::NameToRootKey(name), key);
  }
  CString text("x");
  EXPECT_FALSE(SECRegistry::RootKeyToName(HKEY_PERFORMANCE_DATA, text));
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(SECRegistry::NameToRootKey("hkey_current_user"), nullptr);
  EXPECT_EQ(SECRegistry::NameToRootKey(""), nullptr);
}

TEST(SECRegistryNames, NormalizeStripsOneBackslashAtEachEnd) {
  CString name("\\\\A\\\\");
  SECRegistry::NormalizeKeyName(name, TRUE);
  EXPECT_EQ(std::string(name), "\\A\\");
  CString kept("\\A");
  SECRegistry::NormalizeKeyName(kept, FALSE);
  EXPECT_EQ(std::string(kept), "\\A");
}

}  // namespace

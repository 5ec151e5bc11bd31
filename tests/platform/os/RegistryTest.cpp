// The registry: values and keys across reloads of the store, names, enumeration, error codes,
// the file format and concurrent writers.
#include "os/Registry.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"
#include "base/CodePage.h"
#include "base/Convert.h"
#include "os/FileFaults.h"

namespace brambolt {
namespace {

using namespace std::string_literals;

using testing_os::ScopedEnv;
using testing_os::TempDir;

// A child process that file modes bind, started by RunBoundByModes.
struct BoundChild {
  pid_t pid = -1;
  int errors = -1;  // the read end of its standard error
};

// Starts `body` in a child process whose file access the modes bind: as `nobody` when the test
// runs as root, whom no mode stops (the registry folder is handed to that user first, so that it
// may use it; files the test made stay root's, another account's), else as this user. The child
// starts with the registry reloaded, and its exit status is the body's result (77: no such user
// could be had).
BoundChild RunBoundByModes(const std::string& folder, const std::function<int()>& body) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid != 0) {
    ::close(pipeFds[1]);
    return {pid, pipeFds[0]};
  }
  // Only the standard descriptors go on: a lock the test holds on a descriptor the child inherited
  // would be the child's too.
  ::dup2(pipeFds[1], 2);
  ::close_range(3, ~0u, 0);
  if (::geteuid() == 0) {
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody || ::chown(folder.c_str(), nobody->pw_uid, nobody->pw_gid) != 0 || ::setgroups(0, nullptr) != 0 ||
        ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0 || ::access(folder.c_str(), W_OK | X_OK) != 0)
      ::_exit(77);
  }
  ResetRegistryForTesting();
  ::_exit(body());
}

// Waits for the child; its exit status, with what it wrote on its standard error in `errors`.
int Finish(const BoundChild& child, std::string& errors) {
  char buffer[4096];
  for (ssize_t n; (n = ::read(child.errors, buffer, sizeof buffer)) > 0;) errors.append(buffer, static_cast<std::size_t>(n));
  ::close(child.errors);
  int status = 0;
  ::waitpid(child.pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The times `part` occurs in `text`.
int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { ResetRegistryForTesting(); }
  void TearDown() override { ResetRegistryForTesting(); }

  HKEY Create(HKEY root, const char* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, disposition), ERROR_SUCCESS);
    return key;
  }
  // Sets the bytes, given with the byte `after` following them in the caller's memory.
  void Set(HKEY key, const char* name, DWORD type, const std::string& bytes, char after = '\0') {
    const std::string memory = bytes + after;
    EXPECT_EQ(RegSetValueEx(key, name, 0, type, reinterpret_cast<const BYTE*>(memory.data()),
                            static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
  }
  // The stored bytes and type of a value, or nullopt when it is absent.
  std::optional<std::pair<DWORD, std::string>> Get(HKEY key, const char* name) {
    DWORD type = 0, size = 0;
    if (RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    std::string bytes(size, '\0');
    EXPECT_EQ(RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size), ERROR_SUCCESS);
    return std::make_pair(type, bytes);
  }
  void Reload() { ResetRegistryForTesting(); }

  TempDir dir;
  ScopedEnv env{"BRAMBOLT_REGISTRY_DIR", dir.Path()};
};

TEST_F(Registry, PredefinedKeysHaveTheDocumentedValues) {
  EXPECT_EQ(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT)), 0x80000000u);
  EXPECT_EQ(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_USER)), 0x80000001u);
  EXPECT_EQ(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(HKEY_LOCAL_MACHINE)), 0x80000002u);
  EXPECT_EQ(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(HKEY_DYN_DATA)), 0x80000006u);
  // The value without sign extension names the same key.
  HKEY plain = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001u));
  HKEY key = Create(plain, "Software\\Plain");
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Plain", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(Registry, ValuesSurviveReload) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Brambolt\\Settings");
  const std::string unterminated = "no end";
  const std::string control("a\nb\r\"\\\x01\0c", 9);
  const std::string gbk = "\xD6\xD0\xCE\xC4\\x";
  Set(key, "Text", REG_SZ, std::string("hello\0", 6));
  Set(key, "Count", REG_DWORD, std::string("\x0A\x00\x00\x80", 4));
  Set(key, "Blob", REG_BINARY, std::string("\x00\xFF\x10", 3));
  Set(key, "Path", REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9));
  Set(key, "Raw", REG_SZ, unterminated, '#');
  Set(key, "Control", REG_SZ, control, 'x');
  Set(key, "Chinese", REG_SZ, gbk + '\0');
  Set(key, "Empty", REG_BINARY, "");
  Set(key, nullptr, REG_SZ, std::string("default\0", 8));
  Set(key, "Big", REG_DWORD_BIG_ENDIAN, "\x01\x02\x03\x04");
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  Reload();
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Brambolt\\Settings", 0, KEY_READ, &key), ERROR_SUCCESS);
  using P = std::pair<DWORD, std::string>;
  EXPECT_EQ(Get(key, "Text"), P(REG_SZ, std::string("hello\0", 6)));
  EXPECT_EQ(Get(key, "Count"), P(REG_DWORD, std::string("\x0A\x00\x00\x80", 4)));
  EXPECT_EQ(Get(key, "Blob"), P(REG_BINARY, std::string("\x00\xFF\x10", 3)));
  EXPECT_EQ(Get(key, "Path"), P(REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9)));
  // Strings given without their terminator were stored as given.
  EXPECT_EQ(Get(key, "Raw"), P(REG_SZ, unterminated));
  EXPECT_EQ(Get(key, "Control"), P(REG_SZ, control));
  EXPECT_EQ(Get(key, "Chinese"), P(REG_SZ, gbk + '\0'));
  EXPECT_EQ(Get(key, "Empty"), P(REG_BINARY, ""));
  EXPECT_EQ(Get(key, ""), P(REG_SZ, std::string("default\0", 8)));
  EXPECT_EQ(Get(key, "Big"), P(REG_DWORD_BIG_ENDIAN, "\x01\x02\x03\x04"));
  RegCloseKey(key);
}

// The registered owner is the user's full name (the password database's comment field up to its
// first comma), else the login name; it is answered under both version keys, never written to the
// file, and a value the file holds wins.
TEST_F(Registry, RegisteredOwnerIsTheUser) {
  std::string expected;
  if (const passwd* entry = ::getpwuid(::getuid())) {
    if (entry->pw_gecos) expected.assign(entry->pw_gecos, std::strcspn(entry->pw_gecos, ","));
    if (expected.empty()) expected = entry->pw_name;
  }
  ASSERT_FALSE(expected.empty());
  using P = std::pair<DWORD, std::string>;
  for (const char* path : {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "Software\\Microsoft\\Windows\\CurrentVersion"}) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key), ERROR_SUCCESS) << path;
    EXPECT_EQ(Get(key, "RegisteredOwner"), P(REG_SZ, Utf8ToAnsi(expected) + '\0')) << path;
    RegCloseKey(key);
  }
  HKEY key = Create(HKEY_LOCAL_MACHINE, "Software\\Other");
  Set(key, "x", REG_SZ, std::string("1\0", 2));
  ASSERT_EQ(RegFlushKey(key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(dir.Read("HKEY_LOCAL_MACHINE.reg").find("RegisteredOwner"), std::string::npos);

  key = Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  Set(key, "RegisteredOwner", REG_SZ, std::string("Ada Lovelace\0", 13));
  RegCloseKey(key);
  Reload();
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(Get(key, "RegisteredOwner"), P(REG_SZ, std::string("Ada Lovelace\0", 13)));
  RegCloseKey(key);
}

TEST_F(Registry, DoubleByteKeyNamesAreNotSplitAtTrailBytes) {
  ScopedCodePage cp(950);
  const std::string name = "Software\\\xA5\x5C\xAF\xE0";  // the first character ends in 0x5C
  RegCloseKey(Create(HKEY_CURRENT_USER, name.c_str()));
  Reload();
  HKEY key;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
  char found[16];
  EXPECT_EQ(RegEnumKey(key, 0, found, sizeof found), ERROR_SUCCESS);
  EXPECT_STREQ(found, "\xA5\x5C\xAF\xE0");
  EXPECT_EQ(RegEnumKey(key, 1, found, sizeof found), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);
}

TEST_F(Registry, EmptyKeysSurviveReloadAndOtherRootsAreSeparate) {
  RegCloseKey(Create(HKEY_CLASSES_ROOT, ".dcp"));
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, "Software\\Empty"));
  Reload();
  HKEY key;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, ".DCP", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software\\empty", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, ".dcp", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(dir.Exists("HKEY_CLASSES_ROOT.reg"));
  EXPECT_TRUE(dir.Exists("HKEY_LOCAL_MACHINE.reg"));
}

TEST_F(Registry, UnflushedChangesOfOpenKeysAreNotWrittenYet) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Pending");
  Set(key, "v", REG_DWORD, "\x01\x00\x00\x00");
  EXPECT_FALSE(dir.Exists("HKEY_CURRENT_USER.reg"));
  EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
  EXPECT_TRUE(dir.Exists("HKEY_CURRENT_USER.reg"));
  RegCloseKey(key);
}

TEST_F(Registry, MissingFolderIsMadeButARemovedOneIsNot) {
  {
    TempDir parent;
    ScopedEnv nested("BRAMBOLT_REGISTRY_DIR", parent / "a/b");
    Reload();
    RegCloseKey(Create(HKEY_CURRENT_USER, "Made"));
    EXPECT_TRUE(parent.Exists("a/b/HKEY_CURRENT_USER.reg"));
    Reload();
  }
  HKEY key = Create(HKEY_CURRENT_USER, "Gone");
  std::filesystem::remove_all(dir.Path());
  EXPECT_EQ(RegFlushKey(key), ERROR_REGISTRY_IO_FAILED);
  EXPECT_FALSE(std::filesystem::exists(dir.Path()));
  RegCloseKey(key);
}

TEST_F(Registry, NamesIgnoreCaseAndKeepTheirSpelling) {
  DWORD disposition = 0;
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\MixedCase", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  Set(key, "ValueName", REG_SZ, std::string("x\0", 2));
  Set(key, "VALUENAME", REG_SZ, std::string("y\0", 2));  // the same value
  RegCloseKey(key);

  key = Create(HKEY_CURRENT_USER, "SOFTWARE\\mixedcase\\", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  EXPECT_EQ(Get(key, "valuename")->second, std::string("y\0", 2));
  char name[64];
  DWORD size = sizeof name;
  EXPECT_EQ(RegEnumValue(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "ValueName");
  EXPECT_EQ(size, 9u);
  EXPECT_EQ(RegEnumValue(key, 1, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);

  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software", 0, KEY_READ, &key), ERROR_SUCCESS);
  size = sizeof name;
  EXPECT_EQ(RegEnumKeyEx(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "MixedCase");
  RegCloseKey(key);
}

// Key names kept in UTF-8 (the names users type, as the program stores them) are as many keys as
// names under Windows-1252, whose case rules would take pieces of their characters for letters:
// Ú and Ê, 上 and 业 differ in one byte that the page reads as š or Š. Their ASCII letters still
// ignore case.
TEST_F(Registry, KeyNamesInUtf8AreDistinctByTheirCharacters) {
  ScopedCodePage page(1252);
  const std::vector<std::string> names{"\xC3\x9A", "\xC3\x8A", "a\xE4\xB8\x8A", "a\xE4\xB8\x9A"};
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Utf8Names");
  for (const std::string& name : names) {
    DWORD disposition = 0;
    RegCloseKey(Create(key, name.c_str(), &disposition));
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY)) << name;
  }
  DWORD disposition = 0;
  RegCloseKey(Create(key, "A\xE4\xB8\x8A", &disposition));
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  RegCloseKey(key);
  Reload();
  key = Create(HKEY_CURRENT_USER, "Software\\Utf8Names");
  std::set<std::string> listed;
  char name[32];
  for (DWORD i = 0; RegEnumKey(key, i, name, sizeof name) == ERROR_SUCCESS; ++i) listed.insert(name);
  EXPECT_EQ(listed, std::set<std::string>(names.begin(), names.end()));
  RegCloseKey(key);
}

TEST_F(Registry, EnumerationIsSortedStableAndEndsWithNoMoreItems) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Enum");
  for (const char* sub : {"beta", "Alpha", "gamma", "ALPHA2"}) RegCloseKey(Create(key, sub));
  for (const char* value : {"z", "a", "m"}) Set(key, value, REG_DWORD, "\0\0\0\0");
  auto keys = [&] {
    std::vector<std::string> names;
    char name[32];
    DWORD i = 0;
    LONG result;
    while ((result = RegEnumKey(key, i++, name, sizeof name)) == ERROR_SUCCESS) names.push_back(name);
    EXPECT_EQ(result, ERROR_NO_MORE_ITEMS);
    return names;
  };
  auto values = [&] {
    std::vector<std::string> names;
    char name[32];
    DWORD size = sizeof name;
    for (DWORD i = 0; RegEnumValue(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, size = sizeof name)
      names.push_back(name);
    return names;
  };
  const std::vector<std::string> expectedKeys{"Alpha", "ALPHA2", "beta", "gamma"};
  const std::vector<std::string> expectedValues{"z", "a", "m"};
  EXPECT_EQ(keys(), expectedKeys);
  EXPECT_EQ(values(), expectedValues);
  RegCloseKey(key);
  Reload();
  key = Create(HKEY_CURRENT_USER, "Software\\Enum");
  EXPECT_EQ(keys(), expectedKeys);
  EXPECT_EQ(values(), expectedValues);
  RegCloseKey(key);
}

TEST_F(Registry, SmallBuffersGetTheSizeNeeded) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Sizes");
  Set(key, "s", REG_SZ, std::string("12345\0", 6));
  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueEx(key, "s", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  BYTE small[3] = {'x', 'x', 'x'};
  size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(key, "s", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(small[0], 'x');
  EXPECT_EQ(RegQueryValueEx(key, "s", nullptr, nullptr, small, nullptr), ERROR_INVALID_PARAMETER);
  // A missing value: a caller asking only for its size is told 0 (also at a root key); one with a
  // buffer keeps its size.
  size = 14;
  EXPECT_EQ(RegQueryValueEx(key, "none", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(size, 0u);
  size = 14;
  EXPECT_EQ(RegQueryValueEx(HKEY_CLASSES_ROOT, "none", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(size, 0u);
  size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(key, "none", nullptr, nullptr, small, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(size, sizeof small);
  // A DWORD fits four bytes, also when the caller hands one variable for the type and the size.
  const DWORD number = 0x01020304;
  ASSERT_EQ(RegSetValueEx(key, "n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
  DWORD read = 0;
  size = 4;
  EXPECT_EQ(RegQueryValueEx(key, "n", nullptr, &size, reinterpret_cast<BYTE*>(&read), &size), ERROR_SUCCESS);
  EXPECT_EQ(read, number);
  EXPECT_EQ(size, static_cast<DWORD>(REG_DWORD));

  char name[2];
  DWORD nameSize = sizeof name;
  BYTE data[2];
  DWORD dataSize = sizeof data;
  EXPECT_EQ(RegEnumValue(key, 0, name, &nameSize, nullptr, &type, data, &dataSize), ERROR_MORE_DATA);
  EXPECT_STREQ(name, "s");
  EXPECT_EQ(dataSize, 6u);

  RegCloseKey(Create(key, "LongName"));
  nameSize = 5;
  char cut[5];
  EXPECT_EQ(RegEnumKeyEx(key, 0, cut, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  EXPECT_STREQ(cut, "Long");
  RegCloseKey(key);
}

// A string whose size leaves out only its terminator is stored with it; one cut shorter (the byte
// after it is not a zero) is stored as exactly the bytes given, and data that ends where readable
// memory ends is taken as given. Such a string reads back into a buffer of its own size, and a
// larger buffer gets the terminator after it; so does a string stored without it by a file.
TEST_F(Registry, StringsGivenWithoutTerminatorAreStoredAsGivenAndReadOnlyWithinTheirSize) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Unterminated");
  const struct {
    DWORD type;
    std::string bytes;
    char after;
    std::string stored;
  } cases[] = {
      {REG_SZ, "1234", '\0', std::string("1234\0", 5)},
      {REG_SZ, "1234", '#', "1234"},
      {REG_EXPAND_SZ, "%A%", '\0', std::string("%A%\0", 4)},
      {REG_EXPAND_SZ, "%A%", '#', "%A%"},
      {REG_MULTI_SZ, std::string("a\0b", 3), '\0', std::string("a\0b\0", 4)},
      {REG_SZ, std::string("1234\0", 5), '#', std::string("1234\0", 5)},
      {REG_SZ, std::string("1234\0", 5), '\0', std::string("1234\0", 5)},
      {REG_SZ, "", '\0', ""},
      {REG_BINARY, "1234", '\0', "1234"},
  };
  for (const auto& c : cases) {
    Set(key, "s", c.type, c.bytes, c.after);
    EXPECT_EQ(Get(key, "s"), std::make_pair(c.type, c.stored)) << c.bytes << " followed by " << int(c.after);
  }
  // "FullString" given with a size of 10 is stored with its terminator: 10 bytes are too few for it.
  const char full[] = "FullString";
  ASSERT_EQ(RegSetValueEx(key, "full", 0, REG_SZ, reinterpret_cast<const BYTE*>(full), 10), ERROR_SUCCESS);
  char got[16];
  DWORD gotSize = 10;
  EXPECT_EQ(RegQueryValueEx(key, "full", nullptr, nullptr, reinterpret_cast<BYTE*>(got), &gotSize), ERROR_MORE_DATA);
  EXPECT_EQ(gotSize, 11u);
  // Nine bytes written are nine bytes read, into nine bytes; a tenth byte gets the terminator, and
  // listing the values answers the same way.
  Set(key, "nine", REG_SZ, "123456789", '#');
  char nine[11];
  std::memset(nine, '#', sizeof nine);
  DWORD size = 9;
  EXPECT_EQ(RegQueryValueEx(key, "nine", nullptr, nullptr, reinterpret_cast<BYTE*>(nine), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 9u);
  EXPECT_EQ(std::string(nine, 10), "123456789#");
  size = 10;
  EXPECT_EQ(RegQueryValueEx(key, "nine", nullptr, nullptr, reinterpret_cast<BYTE*>(nine), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 9u);
  EXPECT_EQ(std::string(nine, 11), std::string("123456789\0#", 11));
  for (DWORD index = 0;; ++index) {
    char name[16];
    DWORD nameSize = sizeof name;
    std::memset(nine, '#', sizeof nine);
    size = 10;
    LONG result = RegEnumValue(key, index, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(nine), &size);
    ASSERT_NE(result, ERROR_NO_MORE_ITEMS) << "the value is listed";
    if (std::string(name) != "nine") continue;
    EXPECT_EQ(result, ERROR_SUCCESS);
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(std::string(nine, 11), std::string("123456789\0#", 11));
    break;
  }
  size = 8;
  EXPECT_EQ(RegQueryValueEx(key, "nine", nullptr, nullptr, reinterpret_cast<BYTE*>(nine), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 9u);
  // The given bytes end at the end of a page the next of which cannot be read.
  const long page = ::sysconf(_SC_PAGESIZE);
  void* pages = ::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(pages, MAP_FAILED);
  ASSERT_EQ(::mprotect(static_cast<char*>(pages) + page, page, PROT_NONE), 0);
  BYTE* text = static_cast<BYTE*>(pages) + page - 4;
  std::memcpy(text, "edge", 4);
  for (DWORD type : {REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ}) {
    EXPECT_EQ(RegSetValueEx(key, "edge", 0, type, text, 4), ERROR_SUCCESS);
    EXPECT_EQ(Get(key, "edge"), std::make_pair(type, std::string("edge")));
  }
  ::munmap(pages, 2 * page);
  // What was stored is what a new session reads.
  RegCloseKey(key);
  Reload();
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Unterminated", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(Get(key, "nine"), std::make_pair(DWORD{REG_SZ}, std::string("123456789")));
  RegCloseKey(key);

  dir.Write("HKEY_CURRENT_USER.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Unterminated]\n\"s\"=hex(1):31,32,33,34\n");
  Reload();
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Unterminated", 0, KEY_READ, &key), ERROR_SUCCESS);
  size = 0;
  EXPECT_EQ(RegQueryValueEx(key, "s", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 4u);
  // A buffer of exactly the stored size is filled, and nothing is written beyond it.
  char exact[5];
  std::memset(exact, '#', sizeof exact);
  size = 4;
  EXPECT_EQ(RegQueryValueEx(key, "s", nullptr, nullptr, reinterpret_cast<BYTE*>(exact), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(std::string(exact, 5), "1234#");
  // A larger buffer gets the terminator after the data; the size stays the stored one.
  char room[8];
  std::memset(room, '#', sizeof room);
  size = sizeof room;
  EXPECT_EQ(RegQueryValueEx(key, "s", nullptr, nullptr, reinterpret_cast<BYTE*>(room), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 4u);
  EXPECT_STREQ(room, "1234");
  size = 3;
  EXPECT_EQ(RegQueryValueEx(key, "s", nullptr, nullptr, reinterpret_cast<BYTE*>(room), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
  RegCloseKey(key);
  HKEY missing = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\NoSuchKey", 0, KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, nullptr) << "a failed open leaves NULL behind";
}

// Text read through ReadRegistryString ends at the data's end or its first zero, whatever the
// value holds, and always within the caller's buffer.
TEST_F(Registry, StringsReadAsTextAlwaysEndWithinTheirBuffer) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Text");
  const std::string longText(300, 'x');
  const struct {
    DWORD type;
    std::string bytes;
    char after;
    std::string text;
  } cases[] = {
      {REG_SZ, "", '\0', ""},
      {REG_SZ, "1234", '#', "1234"},
      {REG_SZ, std::string(260, 'p'), '#', std::string(260, 'p')},
      {REG_SZ, std::string("ab\0cd", 5), '#', "ab"},
      {REG_EXPAND_SZ, std::string("%A%\0", 4), '\0', "%A%"},
      {REG_BINARY, "raw", '#', "raw"},
      {REG_SZ, longText, '\0', longText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    Set(key, "s", c.type, c.bytes, c.after);
    std::string text = "stale";
    DWORD type = 0;
    EXPECT_EQ(ReadRegistryString(key, "s", text, &type), ERROR_SUCCESS);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(type, c.type);
    // A buffer of MAX_PATH bytes, with more room after it that must stay untouched.
    char buffer[MAX_PATH + 8];
    std::memset(buffer, '#', sizeof buffer);
    const bool fits = c.text.size() < MAX_PATH;
    EXPECT_EQ(ReadRegistryString(key, "s", buffer, MAX_PATH), fits ? ERROR_SUCCESS : ERROR_MORE_DATA);
    EXPECT_EQ(std::string(buffer), fits ? c.text : c.text.substr(0, MAX_PATH - 1));
    EXPECT_EQ(std::string(buffer + MAX_PATH, 8), std::string(8, '#'));
  }
  std::string text = "stale";
  char buffer[4] = "abc";
  EXPECT_EQ(ReadRegistryString(key, "missing", text), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(text, "");
  EXPECT_EQ(ReadRegistryString(key, "missing", buffer, sizeof buffer), ERROR_FILE_NOT_FOUND);
  EXPECT_STREQ(buffer, "");
  RegCloseKey(key);
}

TEST_F(Registry, StringListIsStoredAsExactBytes) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Multi");
  const std::string list("a\0bc\0\0", 6);
  Set(key, "List", REG_MULTI_SZ, list);
  RegCloseKey(key);
  Reload();
  key = Create(HKEY_CURRENT_USER, "Software\\Multi");
  const auto got = Get(key, "List");
  ASSERT_TRUE(got);
  EXPECT_EQ(got->first, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(got->second, list);
  RegCloseKey(key);
  EXPECT_NE(dir.Read("HKEY_CURRENT_USER.reg").find("\"List\"=hex(7):61,00,62,63,00,00"), std::string::npos);
}

TEST_F(Registry, InfoReportsCountsAndLongestNames) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Info");
  RegCloseKey(Create(key, "abc"));
  RegCloseKey(Create(key, "abcdef"));
  Set(key, "v1", REG_BINARY, "12345678");
  Set(key, "value2", REG_BINARY, "1");
  DWORD subKeys, maxSubKey, values, maxValueName, maxValue;
  FILETIME written{};
  EXPECT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxValueName,
                            &maxValue, nullptr, &written),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 2u);
  EXPECT_EQ(maxSubKey, 6u);
  EXPECT_EQ(values, 2u);
  EXPECT_EQ(maxValueName, 6u);
  EXPECT_EQ(maxValue, 8u);
  EXPECT_NE(written.dwHighDateTime, 0u);
  RegCloseKey(key);
}

TEST_F(Registry, DeletingFollowsTheNtRules) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Del\\Child");
  HKEY parent = Create(HKEY_CURRENT_USER, "Software\\Del");
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Del"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKey(parent, "child"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(parent, "child"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueEx(key, "x", 0, REG_BINARY, nullptr, 0), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKey(parent, nullptr), ERROR_INVALID_PARAMETER);

  Set(parent, "v", REG_BINARY, "1");
  EXPECT_EQ(RegDeleteValue(parent, "V"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(parent, "v"), ERROR_FILE_NOT_FOUND);
  RegCloseKey(parent);
  Reload();
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Del\\Child", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, HandlesCheckTheirAccess) {
  RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Access"));
  HKEY key;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Access", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(key, "x", 0, REG_BINARY, reinterpret_cast<const BYTE*>("1"), 1), ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyEx(key, "x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "x", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, ConnectingReachesOnlyThisComputer) {
  HKEY result = nullptr;
  EXPECT_EQ(RegConnectRegistry(nullptr, HKEY_LOCAL_MACHINE, &result), ERROR_SUCCESS);
  EXPECT_EQ(result, HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RegConnectRegistry("", HKEY_USERS, &result), ERROR_SUCCESS);
  EXPECT_EQ(RegConnectRegistry("\\\\OTHER", HKEY_LOCAL_MACHINE, &result), ERROR_BAD_NETPATH);
  EXPECT_EQ(RegConnectRegistry("OTHER", HKEY_CURRENT_USER, &result), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(Registry, LegacyFormsUseTheDefaultValue) {
  EXPECT_EQ(RegSetValue(HKEY_CLASSES_ROOT, ".htm", REG_SZ, "htmlfile", 0), ERROR_SUCCESS);
  char text[32];
  LONG size = sizeof text;
  EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, ".HTM", text, &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "htmlfile");
  EXPECT_EQ(size, 9);
  HKEY key;
  EXPECT_EQ(RegCreateKey(HKEY_CLASSES_ROOT, "htmlfile\\shell", &key), ERROR_SUCCESS);
  size = sizeof text;
  EXPECT_EQ(RegQueryValue(key, nullptr, text, &size), ERROR_SUCCESS);  // no default value yet
  EXPECT_STREQ(text, "");
  HKEY same;
  EXPECT_EQ(RegOpenKey(key, "", &same), ERROR_SUCCESS);
  EXPECT_EQ(same, key);
  RegCloseKey(key);
  EXPECT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "none", text, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "x", REG_BINARY, "1", 1), ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, HivesSecurityAndNotificationAreNotImplemented) {
  EXPECT_EQ(RegLoadKey(HKEY_USERS, "x", "f"), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_EQ(RegUnLoadKey(HKEY_USERS, "x"), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_EQ(RegReplaceKey(HKEY_USERS, "x", "a", "b"), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_EQ(RegRestoreKey(HKEY_USERS, "f", 0), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_EQ(RegSaveKey(HKEY_USERS, "f", nullptr), ERROR_CALL_NOT_IMPLEMENTED);
  DWORD size = 0;
  EXPECT_EQ(RegGetKeySecurity(HKEY_USERS, OWNER_SECURITY_INFORMATION, nullptr, &size), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_EQ(RegSetKeySecurity(HKEY_USERS, OWNER_SECURITY_INFORMATION, nullptr), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_EQ(RegNotifyChangeKeyValue(HKEY_USERS, TRUE, REG_NOTIFY_CHANGE_NAME, nullptr, FALSE),
            ERROR_CALL_NOT_IMPLEMENTED);
}

TEST_F(Registry, VolatileKeysAreNotWritten) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           &key, nullptr),
            ERROR_SUCCESS);
  HKEY child;
  EXPECT_EQ(RegCreateKeyEx(key, "Lasting", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
            ERROR_CHILD_MUST_BE_VOLATILE);
  RegCloseKey(key);
  RegCloseKey(Create(HKEY_CURRENT_USER, "Lasting"));
  Reload();
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Volatile", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Lasting", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(Registry, ReadsRegFilesWrittenByHand) {
  dir.Write("HKEY_CURRENT_USER.reg",
            "REGEDIT4\n"
            "; a comment\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Hand]\n"
            "\"Quoted\"=\"say \\\"hi\\\" C:\\\\dir\"\n"
            "\"Number\"=dword:0000002a\n"
            "\"Long\"=hex:01,02,\\\n"
            "  03,04\n"
            "@=\"def\"\n"
            "broken line\n"
            "[HKEY_LOCAL_MACHINE\\Elsewhere]\n"
            "\"Ignored\"=\"x\"\n");
  HKEY key;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Hand", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(Get(key, "Quoted")->second, std::string("say \"hi\" C:\\dir\0", 16));
  EXPECT_EQ(Get(key, "Number")->second, std::string("\x2a\0\0\0", 4));
  EXPECT_EQ(Get(key, "Long")->second, "\x01\x02\x03\x04");
  EXPECT_EQ(Get(key, nullptr)->second, std::string("def\0", 4));
  DWORD values = 0;
  RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                  nullptr);
  EXPECT_EQ(values, 4u);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Elsewhere", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

// Records what the store tells the user (each message answered as read) for the test that calls it.
std::vector<std::string>& RecordTold() {
  static std::vector<std::string> told;
  told.clear();
  SetRegistryFailureHandler([](const std::string& text) {
    told.push_back(text);
    return true;
  });
  return told;
}

// Mistakes made by hand in the file (a key's header without its ']', a string without its closing
// quote, a stray line before the first key, a key under a misspelt root; one with a NUL byte, one
// written in UTF-8): what was read is used, the user is told once which lines were not read, and the file as
// the user wrote it is kept beside the store rather than written away by the next write.
TEST_F(Registry, LinesWrittenByHandThatCannotBeReadAreToldOnceAndKeptAside) {
  std::vector<std::string>& told = RecordTold();
  const std::string text =
      "REGEDIT4\n"
      "stray\n"
      "[HKEY_CURRENT_USER\\Software\\Hand\\Font\n"
      "\"Size\"=dword:0000000e\n"
      "[HKEY_CURRENT_USER\\Software\\Hand]\n"
      "\"Name\"=\"unclosed\n"
      "\"Good\"=\"yes\"\n"
      "[HKEY_CURENT_USER\\Software\\TestC]\n"
      "\"C\"=\"c\"\n"
      "[HKEY_CURRENT_USER\\Software\\Hand]\n"
      "\"Caf\xC3\xA9\"=\"unclosed\n" +
      std::string("\"Nul\"=\"a\0b\n", 10);
  dir.Write("HKEY_CURRENT_USER.reg", text);
  for (int round = 0; round < 3; ++round) {
    if (round == 2) Reload();  // the next start reads the file the writes made
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Hand");
    EXPECT_EQ(Get(key, "Good")->second, std::string("yes\0", 4));
    Set(key, ("New" + std::to_string(round)).c_str(), REG_SZ, "x");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  }
  SetRegistryFailureHandler(nullptr);
  ASSERT_EQ(told.size(), 1u) << ::testing::PrintToString(told);
  const std::string aside = dir.Path() + "/HKEY_CURRENT_USER.reg.unread";
  EXPECT_NE(told[0].find(dir.Path() + "/HKEY_CURRENT_USER.reg"), std::string::npos) << told[0];
  for (const char* named : {"line 2 (", "line 3 (", "line 6 (", "line 8 (", "line 11 (", "line 12 ("})
    EXPECT_NE(told[0].find(named), std::string::npos) << named << "\n" << told[0];
  for (const char* readOrOfAKeyTold : {"line 7 ", "line 9 "})
    EXPECT_EQ(told[0].find(readOrOfAKeyTold), std::string::npos) << readOrOfAKeyTold << "\n" << told[0];
  EXPECT_NE(told[0].find("HKEY_CURENT_USER\\Software\\TestC"), std::string::npos) << told[0];
  // The NUL byte is shown escaped, the UTF-8 text in the program's code page (1252 here).
  EXPECT_EQ(told[0].find('\0'), std::string::npos) << told[0];
  EXPECT_NE(told[0].find("\"Nul\"=\"a\\x00b"), std::string::npos) << told[0];
  EXPECT_NE(told[0].find("\"Caf\xE9\"=\"unclosed"), std::string::npos) << told[0];
  EXPECT_NE(told[0].find("kept as " + aside), std::string::npos) << told[0];
  EXPECT_EQ(dir.Read("HKEY_CURRENT_USER.reg.unread"), text);
  const std::string written = dir.Read("HKEY_CURRENT_USER.reg");
  for (const char* value : {"\"Good\"=\"yes\"", "\"New0\"", "\"New1\"", "\"New2\""})
    EXPECT_EQ(Count(written, value), 1) << value << "\n" << written;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    files += entry.path().filename().string().starts_with("HKEY_CURRENT_USER.reg.") ? 1 : 0;
  EXPECT_EQ(files, 1) << "one copy kept";
}

// Text a write would change without a word is told and kept aside as the other mistakes are: a
// backslash typed alone in a string ("D:\Projects\x", "\d+", "\x4"), a type that is no hex
// number (hex(7z):), a name given twice in one key (in any case: the later line holds the value), a
// comment, and a hex list continued with '\' onto a key's header, whose key and values are read
// as the key's and not the one before.
TEST_F(Registry, TextAWriteWouldChangeIsToldAndKeptAside) {
  std::vector<std::string>& told = RecordTold();
  const std::string text =
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
      "\"Dir\"=\"D:\\Projects\\x\"\r\n"                       // line 4
      "\"Pattern\"=\"\\d+\\.h\"\r\n"                            // line 5
      "\"x41\"=\"\\x4\"\r\n"                                     // line 6
      "\"Multi\"=hex(7z):61,00,00\r\n"                             // line 7
      "\"dup\"=\"one\"\r\n"                                       // line 8
      "\"dup\"=\"two\"\r\n"                                       // line 9
      "\"DUP\"=\"three\"\r\n"                                     // line 10
      "; note\r\n"                                               // line 11
      "\"Name\"=\"first\"\r\n"                                    // line 12
      "\"name\"=\"second\"\r\n"                                   // line 13
      "\"Good\"=\"C:\\\\dir \\\"q\\\" \\x41\"\r\n"                   // line 14
      "\"hexbadcont\"=hex:01,\\\r\n"                              // line 15
      "[HKEY_CURRENT_USER\\Software\\Test\\After]\r\n"             // line 16
      "\"Kept\"=dword:00000005\r\n";                                // line 17
  dir.Write("HKEY_CURRENT_USER.reg", text);
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Test");
  EXPECT_EQ(Get(key, "Good")->second, std::string("C:\\dir \"q\" A\0", 13));
  EXPECT_EQ(Get(key, "dup")->second, std::string("three\0", 6));
  EXPECT_EQ(Get(key, "NAME")->second, std::string("second\0", 7));
  for (const char* notRead : {"Dir", "Pattern", "x41", "Multi", "hexbadcont", "Kept"})
    EXPECT_FALSE(Get(key, notRead).has_value()) << notRead;
  Set(key, "New", REG_SZ, "x");
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  HKEY after = Create(HKEY_CURRENT_USER, "Software\\Test\\After");
  EXPECT_EQ(Get(after, "Kept")->second, std::string("\x05\0\0\0", 4));
  EXPECT_EQ(RegCloseKey(after), ERROR_SUCCESS);
  SetRegistryFailureHandler(nullptr);
  ASSERT_EQ(told.size(), 1u) << ::testing::PrintToString(told);
  for (int line : {4, 5, 6, 7, 8, 9, 11, 12, 15})
    EXPECT_NE(told[0].find("line " + std::to_string(line) + " ("), std::string::npos) << line << "\n" << told[0];
  for (int line : {10, 13, 14, 16, 17})
    EXPECT_EQ(told[0].find("line " + std::to_string(line) + " ("), std::string::npos) << line << "\n" << told[0];
  EXPECT_EQ(dir.Read("HKEY_CURRENT_USER.reg.unread"), text);
  const std::string written = dir.Read("HKEY_CURRENT_USER.reg");
  EXPECT_EQ(Count(written, "[HKEY_CURRENT_USER\\Software\\Test\\After]\r\n\"Kept\"=dword:00000005"), 1) << written;
  EXPECT_EQ(Count(written, "\"Good\"=\"C:\\\\dir \\\"q\\\" A\""), 1) << written;
}

// A folder that takes no copy of the file: the lines not read are told all the same, with why
// the copy could not be made, and the file is not written over; once the copy can be made, it is,
// and the write goes on.
TEST_F(Registry, LinesNotReadAreToldWhenTheFileCannotBeKeptAside) {
  std::vector<std::string>& told = RecordTold();
  const std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Hand]\r\n\"Name\"=\"unclosed\r\n";
  const std::string path = dir.Write("HKEY_CURRENT_USER.reg", text);
  {
    ScopedFileFaultHook refuse([](FileStep step, const std::string& file) {
      return step == FileStep::Create && file.find(".unread") != std::string::npos ? EACCES : 0;
    });
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Hand");
    Set(key, "New", REG_SZ, "x");
    EXPECT_NE(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_NE(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  }
  ASSERT_EQ(told.size(), 2u) << ::testing::PrintToString(told);
  EXPECT_NE(told[0].find("line 4 ("), std::string::npos) << told[0];
  EXPECT_NE(told[0].find("could not be kept aside as " + path + ".unread: " + std::strerror(EACCES)), std::string::npos)
      << told[0];
  EXPECT_NE(told[1].find("Settings are not saved"), std::string::npos) << told[1];
  EXPECT_EQ(dir.Read("HKEY_CURRENT_USER.reg"), text);
  EXPECT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  SetRegistryFailureHandler(nullptr);
  ASSERT_EQ(told.size(), 3u) << ::testing::PrintToString(told);
  EXPECT_NE(told[2].find("kept as " + path + ".unread."), std::string::npos) << told[2];
  EXPECT_EQ(dir.Read("HKEY_CURRENT_USER.reg.unread"), text);
  EXPECT_EQ(Count(dir.Read("HKEY_CURRENT_USER.reg"), "\"New\"=\"x\""), 1);
}

// Files that cannot be read much or at all: one with many lines that cannot be read (a long line
// of control bytes among them), one written in UTF-16 as a Windows editor exports it, one with a
// dword too long for 32 bits. The message names a few lines, each short, counts the rest and says
// where the file is kept; the file is kept as it was, and no value is made up from what was not read.
TEST_F(Registry, FilesThatCannotBeReadMuchAreToldShortAndWhole) {
  static std::vector<std::string> told;
  std::string many = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Hand]\r\n\"Ctl\"=\"" + std::string(100, '\x01') + "\r\n";
  for (int i = 0; i < 186; ++i) many += "\"V" + std::to_string(i) + "\"=dwrd:0000000a\r\n";
  const std::string ascii = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Hand]\r\n\"Good\"=\"yes\"\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char c : ascii) utf16 += std::string{c, '\0'};
  const std::string big = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Hand]\r\n\"Good\"=\"yes\"\r\n"
                          "\"Size\"=dword:10000000e\r\n\"Width\"=dword:00000007\r\n";
  // Text a write would drop: after a value's closing quote (a quote inside the text not escaped,
  // a word after it), after a key's ']' (whose values are read), a key the store cannot hold, a
  // value name with a NUL. A line of blanks alone holds nothing to lose.
  const std::string longKey = "[HKEY_CURRENT_USER\\Software\\Hand\\" + std::string(256, 'n') + "]";
  const std::string after = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Hand]\r\n\"Good\"=\"yes\"\r\n"
                            "\"Note\"=\"say \"hi\" to all\"\r\n\"Other\"=\"x\" trailing\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Hand\\Sub] extra\r\n\"Depth\"=dword:00000001\r\n" +
                            longKey + "\r\n\"Size\"=dword:00000002\r\n[HKEY_CURRENT_USER\\Software\\Hand]\r\n"
                            "\"Width\"=dword:00000007\r\n\"A\\x00B\"=\"z\"\r\n \t\r\n";
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> lines;  // the lines of the message after its first, in order
    bool good;                       // the value "Good" is read
  };
  const Case cases[] = {
      {"many", many, {}, false},
      {"utf16", utf16, {"the whole file: it is written in UTF-16, which is not read"}, false},
      {"big", big, {"line 5 (a dword of more than eight hex digits): \"Size\"=dword:10000000e"}, true},
      {"after",
       after,
       {"line 5 (text after the value's closing quote (a quote inside it is written \\\")): \"Note\"=\"say \"hi\" to all\"",
        "line 6 (text after the value's closing quote (a quote inside it is written \\\")): \"Other\"=\"x\" trailing",
        "line 7 (text after the key's closing ']', which is not kept): "
        "[HKEY_CURRENT_USER\\Software\\Hand\\Sub] extra",
        "line 9 (a key the store cannot hold, so its values are not read either): " + longKey.substr(0, 77) + "...",
        "line 13 (a value name with a NUL byte in it): \"A\\x00B\"=\"z\""},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("HKEY_CURRENT_USER.reg", c.text);
    std::filesystem::remove(dir.Path() + "/HKEY_CURRENT_USER.reg.unread");
    Reload();
    told.clear();
    SetRegistryFailureHandler([](const std::string& text) {
      told.push_back(text);
      return true;
    });
    // The program reads the file as it starts, then writes a setting.
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Hand");
    EXPECT_EQ(Get(key, "Good").has_value(), c.good);
    EXPECT_FALSE(Get(key, "Size").has_value());
    Set(key, "New", REG_SZ, "x");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    ASSERT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    SetRegistryFailureHandler(nullptr);
    ASSERT_EQ(told.size(), 1u) << ::testing::PrintToString(told);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start <= told[0].size(); start = end + 1) {
      end = std::min(told[0].find('\n', start), told[0].size());
      lines.push_back(told[0].substr(start, end - start));
    }
    EXPECT_EQ(lines.front(), "Settings not read from " + dir.Path() + "/HKEY_CURRENT_USER.reg:");
    EXPECT_EQ(lines.back(), "The file as it was is kept as " + dir.Path() + "/HKEY_CURRENT_USER.reg.unread.");
    for (const std::string& line : lines) EXPECT_LE(line.size(), 160u) << line;
    EXPECT_EQ(told[0].find('\0'), std::string::npos);
    // The program's message box shows 1023 characters.
    EXPECT_LE(told[0].size(), 1023u) << told[0];
    if (std::string(c.name) == "many") {
      // Some lines are named, the first of them cut, the rest counted.
      const std::size_t named = lines.size() - 3;
      EXPECT_GE(named, 3u) << told[0];
      if (lines.size() < 6) continue;
      EXPECT_TRUE(lines[1].starts_with("line 4 (") && lines[1].ends_with("...")) << lines[1];
      EXPECT_EQ(lines[1].find("\"Ctl\"=\"\\x01\\x01"), lines[1].find("): ") + 3) << lines[1];
      for (std::size_t i = 2; i <= named; ++i)
        EXPECT_EQ(lines[i], "line " + std::to_string(i + 3) +
                                " (a value that cannot be read: a quote, '=' or digit missing): \"V" +
                                std::to_string(i - 2) + "\"=dwrd:0000000a");
      EXPECT_EQ(lines[named + 1], "...and " + std::to_string(187 - named) + " more.");
    } else {
      EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end() - 1), c.lines) << told[0];
    }
    EXPECT_EQ(dir.Read("HKEY_CURRENT_USER.reg.unread"), c.text);
    const std::string written = dir.Read("HKEY_CURRENT_USER.reg");
    EXPECT_EQ(Count(written, "\"New\"=\"x\""), 1) << written;
    EXPECT_EQ(Count(written, "Size"), 0) << written;
    EXPECT_EQ(Count(written, "\"Width\"=dword:00000007"), c.good ? 1 : 0) << written;
    if (std::string(c.name) == "after") {
      EXPECT_EQ(Count(written, "[HKEY_CURRENT_USER\\Software\\Hand\\Sub]\r\n\"Depth\"=dword:00000001"), 1) << written;
    }
  }
}

TEST_F(Registry, KeyNamesAndDepthStayWithinTheDocumentedLimits) {
  HKEY key = nullptr;
  const std::string longest(255, 'n');
  EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, ("A\\" + longest).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                           &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, ("A\\" + longest + "n").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                           nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);

  // 512 levels are allowed, one more is refused, also when made from a deep open key.
  std::string path;
  for (int i = 0; i < 511; ++i) path += "k\\";
  HKEY deep = Create(HKEY_CURRENT_USER, (path + "k").c_str());
  EXPECT_EQ(RegCreateKeyEx(deep, "more", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);
  RegCloseKey(deep);

  // A file nested far deeper loads without overflowing the stack; the too-deep key is skipped.
  std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Top]\n\"v\"=\"1\"\n[HKEY_CURRENT_USER";
  for (int i = 0; i < 100000; ++i) text += "\\d";
  dir.Write("HKEY_CURRENT_USER.reg", text + "]\n\"x\"=\"y\"\n");
  Reload();
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Top", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "d", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

// Every key name the store holds can be named as it is and reads back as it is written. A name
// ending in the lead byte of a double-byte character without its trail (which would take the
// backslash after it as its trail) is refused, and a file's key whose name holds a NUL or ends
// so is not loaded, so no write brings it back; the keys around it stay.
TEST_F(Registry, KeyNamesThatCannotBeNamedOrReadBackAreNeitherMadeNorLoaded) {
  for (UINT codePage : {936u, 950u}) {
    SCOPED_TRACE(codePage);
    ScopedCodePage cp(codePage);
    dir.Write("HKEY_CURRENT_USER.reg",
              "REGEDIT4\n\n[HKEY_CURRENT_USER\\Ws\\Other\0x]\n\"v\"=\"1\"\n"
                          "[HKEY_CURRENT_USER\\Ws\\Software\0]\n\"v\"=\"2\"\n"
                          "[HKEY_CURRENT_USER\\Ws\\lone\x81]\n\"v\"=\"3\"\n"
                          "[HKEY_CURRENT_USER\\Ws\\Kept]\n\"v\"=\"4\"\n\"n\0ul\"=\"5\"\n"
                          "[HKEY_CURRENT_USER\\Other\\Keep]\n\"v\"=\"6\"\n"s);
    Reload();
    HKEY ws = Create(HKEY_CURRENT_USER, "Ws");
    HKEY key = nullptr;
    for (const char* name : {"a\x81", "a\\b\x81", "\x81"})
      EXPECT_EQ(RegCreateKeyEx(ws, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_INVALID_PARAMETER)
          << name;
    // A whole character, also one whose trail byte is a backslash, is a name's end as any other.
    RegCloseKey(Create(ws, "a\x81\x40\\c"));
    RegCloseKey(Create(ws, "b\x81\\\\c"));
    RegCloseKey(ws);
    ASSERT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    Reload();
    ws = Create(HKEY_CURRENT_USER, "Ws");
    std::set<std::string> children;
    char name[300];
    for (DWORD i = 0; RegEnumKey(ws, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
      children.insert(name);
      EXPECT_EQ(RegOpenKeyEx(ws, name, 0, KEY_READ, &key), ERROR_SUCCESS) << name;
      RegCloseKey(key);
    }
    EXPECT_EQ(children, (std::set<std::string>{"Kept", "a\x81\x40", "b\x81\\"}));
    EXPECT_EQ(RegOpenKeyEx(ws, "a\x81\x40\\c", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyEx(ws, "b\x81\\\\c", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyEx(ws, "Kept", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                    nullptr);
    EXPECT_EQ(values, 1u);
    RegCloseKey(key);
    RegCloseKey(ws);
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Other\\Keep", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
  }
}

// A store kept as a symbolic link (into a folder of the user's own) is written through it: the
// file it names gets the settings, beside it, and the link stays a link.
TEST_F(Registry, AStoreKeptAsASymbolicLinkStaysOneAndItsFileGetsTheSettings) {
  TempDir own;
  own.Write("settings/user.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Old]\n\"v\"=\"1\"\n");
  const std::string store = dir / "HKEY_CURRENT_USER.reg";
  ASSERT_EQ(::symlink((own / "settings/user.reg").c_str(), store.c_str()), 0);
  Reload();
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\New");
  Set(key, "v", REG_SZ, std::string("2\0", 2));
  RegCloseKey(key);
  ASSERT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  struct stat st {};
  ASSERT_EQ(::lstat(store.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  const std::string linked = own.Read("settings/user.reg");
  EXPECT_NE(linked.find("[HKEY_CURRENT_USER\\Software\\New]"), std::string::npos) << linked;
  EXPECT_NE(linked.find("[HKEY_CURRENT_USER\\Software\\Old]"), std::string::npos) << linked;
  Reload();
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\New", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(Get(key, "v"), std::make_pair(DWORD{REG_SZ}, std::string("2\0", 2)));
  RegCloseKey(key);
  // Nothing is left beside either name but the store itself (and the lock in its folder).
  for (const std::string& folder : {dir.Path(), own / "settings"})
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string leaf = entry.path().filename().string();
      EXPECT_TRUE(leaf == "HKEY_CURRENT_USER.reg" || leaf == "user.reg" || leaf == ".registry.lock") << leaf;
    }
}

// A store kept as a link that names no file yet gets its file where the link points; a link into
// a folder that is not there makes the flush fail, and stays a link.
TEST_F(Registry, AStoreKeptAsADanglingLinkGetsItsFileOrFailsAndStaysALink) {
  TempDir own;
  std::filesystem::create_directories(own / "settings");
  const std::string store = dir / "HKEY_CURRENT_USER.reg";
  ASSERT_EQ(::symlink((own / "settings/user.reg").c_str(), store.c_str()), 0);
  Reload();
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\New");
  Set(key, "v", REG_SZ, std::string("2\0", 2));
  RegCloseKey(key);
  ASSERT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  struct stat st {};
  ASSERT_EQ(::lstat(store.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_NE(own.Read("settings/user.reg").find("[HKEY_CURRENT_USER\\Software\\New]"), std::string::npos);

  ASSERT_EQ(::unlink(store.c_str()), 0);
  ASSERT_EQ(::symlink((own / "missing/user.reg").c_str(), store.c_str()), 0);
  Reload();
  key = Create(HKEY_CURRENT_USER, "Software\\Newer");
  Set(key, "v", REG_SZ, std::string("3\0", 2));
  RegCloseKey(key);
  EXPECT_NE(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  ASSERT_EQ(::lstat(store.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_FALSE(std::filesystem::exists(own / "missing"));
}

TEST_F(Registry, ThreadsWritingTogetherKeepEveryValue) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 25; ++i) {
        HKEY key;
        const std::string path = "Software\\Threads\\T" + std::to_string(t);
        RegCreateKeyEx(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        const std::string name = "v" + std::to_string(i);
        RegSetValueEx(key, name.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(name.data()),
                      static_cast<DWORD>(name.size()));
        RegCloseKey(key);
      }
    });
  }
  for (std::thread& t : threads) t.join();
  Reload();
  for (int t = 0; t < 4; ++t) {
    HKEY key;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, ("Software\\Threads\\T" + std::to_string(t)).c_str(), 0, KEY_READ,
                           &key),
              ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                    nullptr);
    EXPECT_EQ(values, 25u);
    RegCloseKey(key);
  }
}

// Two processes that write the same root: the file is always one complete version, and each
// write merges with what the other wrote, so both keep every value.
TEST_F(Registry, ProcessesWritingTogetherNeverCorruptTheFileAndKeepEachOthersValues) {
  constexpr int kWrites = 20;
  std::vector<pid_t> children;
  for (int p = 0; p < 2; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ResetRegistryForTesting();
      HKEY key;
      const std::string path = "Software\\Process" + std::to_string(p);
      RegCreateKeyEx(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
      for (int i = 0; i < kWrites; ++i) {
        const std::string name = "v" + std::to_string(i);
        RegSetValueEx(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                      static_cast<DWORD>(name.size() + 1));
        if (RegFlushKey(key) != ERROR_SUCCESS) ::_exit(1);
      }
      RegCloseKey(key);
      ::_exit(0);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  Reload();
  int complete = 0;
  for (int p = 0; p < 2; ++p) {
    HKEY key;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, ("Software\\Process" + std::to_string(p)).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
      continue;
    DWORD values = 0;
    RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                    nullptr);
    complete += values == kWrites;
    RegCloseKey(key);
  }
  EXPECT_EQ(complete, 2);
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "HKEY_CURRENT_USER.reg" || name == ".registry.lock") << name;
  }
}

// A key read again from the file shows what another process wrote there since this one loaded
// it, under this process's changes not yet written; handles on keys still there stay valid, a
// handle on a key the other process removed tells so.
TEST_F(Registry, RefreshedKeyShowsAnotherProcessWritesUnderThisOnesPendingChanges) {
  HKEY app = Create(HKEY_CURRENT_USER, "Software\\Refresh");
  Set(app, "mine", REG_SZ, "old");
  Set(app, "theirs", REG_SZ, "old");
  HKEY gone = Create(app, "Gone");
  HKEY kept = Create(app, "Kept");
  ASSERT_EQ(RegFlushKey(app), ERROR_SUCCESS);
  {
    RegistryWriteBatch pending;  // this process's change stays in memory
    Set(app, "mine", REG_SZ, "new");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ResetRegistryForTesting();
      HKEY key = nullptr;
      RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Refresh", 0, KEY_ALL_ACCESS, &key);
      RegSetValueEx(key, "theirs", 0, REG_SZ, reinterpret_cast<const BYTE*>("other"), 6);
      RegSetValueEx(key, "mine", 0, REG_SZ, reinterpret_cast<const BYTE*>("other"), 6);
      RegDeleteKey(key, "Gone");
      HKEY added = nullptr;
      RegCreateKeyEx(key, "Added", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &added, nullptr);
      RegCloseKey(added);
      ::_exit(RegFlushKey(key) == ERROR_SUCCESS ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Get(app, "theirs")->second, std::string("old", 4)) << "memory until refreshed";
    RegistryStoredUpdate update(HKEY_CURRENT_USER);
    ASSERT_EQ(update.ReadResult(), ERROR_SUCCESS);
    EXPECT_EQ(Get(app, "theirs")->second, std::string("other", 6));
    EXPECT_EQ(Get(app, "mine")->second, std::string("new", 4)) << "this process's pending change on top";
    EXPECT_EQ(Get(gone, "x"), std::nullopt);
    EXPECT_EQ(RegSetValueEx(gone, "x", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2), ERROR_KEY_DELETED);
    EXPECT_EQ(RegSetValueEx(kept, "x", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2), ERROR_SUCCESS);
    HKEY added = nullptr;
    EXPECT_EQ(RegOpenKeyEx(app, "Added", 0, KEY_READ, &added), ERROR_SUCCESS);
    RegCloseKey(added);
  }
  RegCloseKey(gone);
  RegCloseKey(kept);
  RegCloseKey(app);
  Reload();
  HKEY reread = Create(HKEY_CURRENT_USER, "Software\\Refresh");
  EXPECT_EQ(Get(reread, "mine")->second, std::string("new", 4));
  EXPECT_EQ(Get(reread, "theirs")->second, std::string("other", 6));
  RegCloseKey(reread);
}

// Settings writes killed while they wrote their temporary file leave it beside the store; the next
// write removes those, and leaves the user's files of like names and live writers' files alone.
TEST_F(Registry, TheNextWriteRemovesWhatKilledWritesLeft) {
  const std::string temporary = dir / ".HKEY_CURRENT_USER.reg.";
  for (int kill = 0; kill < 3; ++kill) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ResetRegistryForTesting();
      ScopedFileFaultHook killer([&](FileStep step, const std::string& path) {
        if (step == FileStep::Write && path.compare(0, temporary.size(), temporary) == 0) ::raise(SIGKILL);
        return 0;
      });
      HKEY key = nullptr;
      RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Killed", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
      RegSetValueEx(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("v"), 2);
      RegFlushKey(key);
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  }
  std::set<std::string> leftovers;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) leftovers.insert(entry.path().filename().string());
  EXPECT_EQ(leftovers.size(), 2u);  // the lock, and the last one's file: each write removed the one before
  const std::set<std::string> users = {".HKEY_CURRENT_USER.reg.old", ".HKEY_CURRENT_USER.reg.~1",
                                       ".HKEY_CURRENT_USER.reg.Xa1b2C"};
  for (const std::string& name : users) dir.Write(name, "the user's");

  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Brambolt");
  Set(key, "After", REG_SZ, std::string("yes", 4));
  ASSERT_EQ(RegFlushKey(key), ERROR_SUCCESS);
  RegCloseKey(key);
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) names.insert(entry.path().filename().string());
  std::set<std::string> expected = users;
  expected.insert({"HKEY_CURRENT_USER.reg", ".registry.lock"});
  EXPECT_EQ(names, expected);
  for (const std::string& name : users) EXPECT_EQ(dir.Read(name), "the user's");
}

// An instance started earlier writes after another one changed the settings: the other's new
// value and its deletion both survive, and this instance's change is added to them.
TEST_F(Registry, AWriteMergesWithWhatAnotherInstanceWroteSinceTheStart) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Brambolt\\Settings");
  Set(key, "Old", REG_SZ, std::string("old"));
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  // This instance has read its settings; the other one starts now.
  key = Create(HKEY_CURRENT_USER, "Software\\Brambolt\\Settings");
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ResetRegistryForTesting();
    HKEY other = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Brambolt\\Settings", 0, KEY_ALL_ACCESS, &other) != ERROR_SUCCESS)
      ::_exit(1);
    const DWORD one = 1;
    RegSetValueEx(other, "Other", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    RegDeleteValue(other, "Old");
    HKEY created = nullptr;
    RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Brambolt\\Recent", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                   nullptr);
    RegCloseKey(created);
    ::_exit(RegCloseKey(other) == ERROR_SUCCESS && RegFlushKey(HKEY_CURRENT_USER) == ERROR_SUCCESS ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  Set(key, "Mine", REG_SZ, std::string("mine", 5));
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  Reload();
  key = Create(HKEY_CURRENT_USER, "Software\\Brambolt\\Settings");
  EXPECT_EQ(Get(key, "Mine"), std::make_pair(DWORD{REG_SZ}, std::string("mine", 5)));
  EXPECT_EQ(Get(key, "Other"), std::make_pair(DWORD{REG_DWORD}, std::string("\1\0\0\0", 4)));
  EXPECT_EQ(Get(key, "Old"), std::nullopt);
  RegCloseKey(key);
  HKEY recent = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Brambolt\\Recent", 0, KEY_READ, &recent), ERROR_SUCCESS);
  RegCloseKey(recent);
}

// A value two instances keep (a list each adds to) is read within a stored update as the other
// instance stored it meanwhile, with this instance's unwritten changes still on top, and the
// update's change reaches the file when it ends.
TEST_F(Registry, AStoredUpdateReadsWhatAnotherInstanceStoredMeanwhile) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Brambolt");
  Set(key, "List", REG_SZ, std::string("a", 2));
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  key = Create(HKEY_CURRENT_USER, "Software\\Brambolt");
  Set(key, "Pending", REG_SZ, std::string("mine", 5));  // not written yet: the key is open
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ResetRegistryForTesting();
    HKEY other = nullptr;
    RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Brambolt", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &other, nullptr);
    RegSetValueEx(other, "List", 0, REG_SZ, reinterpret_cast<const BYTE*>("b;a"), 4);
    ::_exit(RegCloseKey(other) == ERROR_SUCCESS ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Get(key, "List"), std::make_pair(DWORD{REG_SZ}, std::string("a", 2)));  // this process's copy
  {
    RegistryStoredUpdate update(HKEY_CURRENT_USER);
    EXPECT_EQ(update.ReadResult(), ERROR_SUCCESS);
    EXPECT_EQ(Get(key, "List"), std::make_pair(DWORD{REG_SZ}, std::string("b;a", 4)));
    EXPECT_EQ(Get(key, "Pending"), std::make_pair(DWORD{REG_SZ}, std::string("mine", 5)));
    Set(key, "List", REG_SZ, std::string("c;b;a", 6));
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(Count(dir.Read("HKEY_CURRENT_USER.reg"), "c;b;a"), 0);  // written when the update ends
  }
  EXPECT_EQ(Count(dir.Read("HKEY_CURRENT_USER.reg"), "\"List\"=\"c;b;a\""), 1);
  EXPECT_EQ(Count(dir.Read("HKEY_CURRENT_USER.reg"), "\"Pending\"=\"mine\""), 1);
}

// A settings file that is there but cannot be read (mode 000, or another account's after a run
// with sudo) is never replaced: every write fails, names the file and the reason once, and the
// calls that asked for it return the error; the file keeps its 100 settings.
TEST_F(Registry, AStoreThatCannotBeReadIsKeptAndItsWritesReportTheError) {
  std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brambolt\\Settings]\r\n";
  for (int i = 0; i < 100; ++i) text += "\"v" + std::to_string(i) + "\"=dword:0000000" + std::to_string(i % 10) + "\r\n";
  const std::string path = dir.Write("HKEY_CURRENT_USER.reg", text);
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  const BoundChild child = RunBoundByModes(dir.Path(), [] {
    HKEY key = nullptr;
    RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Brambolt\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                   nullptr);
    const DWORD one = 1;
    const LONG set = RegSetValueEx(key, "New", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    const LONG closed = RegCloseKey(key);
    const LONG flushed = RegFlushKey(HKEY_CURRENT_USER);
    std::fprintf(stderr, "set=%ld closed=%ld flushed=%ld\n", static_cast<long>(set), static_cast<long>(closed),
                 static_cast<long>(flushed));
    return 0;
  });
  std::string errors;
  const int status = Finish(child, errors);
  ::chmod(path.c_str(), 0600);
  if (status == 77) GTEST_SKIP() << "no unprivileged user to run as";
  ASSERT_EQ(status, 0) << errors;
  EXPECT_NE(errors.find("set=0 closed=5 flushed=5"), std::string::npos) << errors;
  EXPECT_EQ(Count(errors, path + ": " + std::strerror(EACCES)), 1) << errors;
  EXPECT_EQ(dir.Read("HKEY_CURRENT_USER.reg"), text);
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "HKEY_CURRENT_USER.reg" || name == ".registry.lock") << name;
  }
}

// A lock file that this user may read but not write (another account's) still locks: the write
// waits for another writer's lock and merges with what that one wrote. One it cannot even open
// makes the write fail, named with its reason, and the close returns the error.
TEST_F(Registry, ALockFileOfAnotherAccountStillLocksOrTheWriteReportsTheError) {
  const std::string store = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brambolt]\r\n\"Old\"=\"old\"\r\n\r\n";
  for (const mode_t mode : {0444, 0000}) {
    SCOPED_TRACE(mode);
    const std::string storePath = dir.Write("HKEY_CURRENT_USER.reg", store);
    ::chmod(storePath.c_str(), 0644);
    // Another writer holds the lock while the child writes.
    const std::string lockPath = dir.Write(".registry.lock");
    const int held = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    ASSERT_EQ(::chmod(lockPath.c_str(), mode), 0);
    const BoundChild child = RunBoundByModes(dir.Path(), [] {
      HKEY key = nullptr;
      RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Brambolt", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
      RegSetValueEx(key, "Mine", 0, REG_SZ, reinterpret_cast<const BYTE*>("mine"), 5);
      std::fprintf(stderr, "closed=%ld\n", static_cast<long>(RegCloseKey(key)));
      return 0;
    });
    if (mode != 0) {
      // Once the child waits for the lock, the other writer changes the file and lets go.
      const std::string waiting = " " + std::to_string(child.pid) + " ";
      bool blocked = false;
      for (int i = 0; i < 20000 && !blocked; ++i) {
        std::ifstream locks("/proc/locks");
        for (std::string line; std::getline(locks, line);)
          blocked = blocked || (line.find("-> FLOCK") != std::string::npos && line.find(waiting) != std::string::npos);
        if (!blocked) ::usleep(500);
      }
      EXPECT_TRUE(blocked) << "the write did not wait for the lock";
      dir.Write("HKEY_CURRENT_USER.reg", store.substr(0, store.size() - 2) + "\"Other\"=\"other\"\r\n\r\n");
    }
    ::close(held);
    std::string errors;
    const int status = Finish(child, errors);
    if (status == 77) GTEST_SKIP() << "no unprivileged user to run as";
    ASSERT_EQ(status, 0) << errors;
    const std::string stored = dir.Read("HKEY_CURRENT_USER.reg");
    if (mode != 0) {
      EXPECT_NE(errors.find("closed=0"), std::string::npos) << errors;
      EXPECT_NE(stored.find("\"Mine\"=\"mine\""), std::string::npos) << stored;
      EXPECT_NE(stored.find("\"Other\"=\"other\""), std::string::npos) << stored;
      EXPECT_NE(stored.find("\"Old\"=\"old\""), std::string::npos) << stored;
    } else {
      EXPECT_NE(errors.find("closed=5"), std::string::npos) << errors;
      EXPECT_NE(errors.find(lockPath + ": " + std::strerror(EACCES)), std::string::npos) << errors;
      EXPECT_EQ(stored, store);
    }
    ::chmod(lockPath.c_str(), 0600);
    std::filesystem::remove(lockPath);
  }
}

}  // namespace
}  // namespace brambolt

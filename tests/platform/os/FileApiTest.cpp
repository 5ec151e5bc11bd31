// File handles and file and folder operations through the Win32 names.
#include "os/FileApi.h"

#include <gtest/gtest.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <strings.h>

#include <cstring>
#include <set>
#include <string>

#include "TempDir.h"
#include "os/FileFaults.h"

namespace brambolt {
namespace {

using testing_os::ScopedEnv;
using testing_os::TempDir;

DWORD Error() { return GetLastError(); }

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir))
      if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) names.insert(entry->d_name);
    ::closedir(dir);
  }
  return names;
}

HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags = 0) {
  return CreateFile(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

std::string ReadAll(HANDLE h) {
  char buffer[256];
  DWORD n = 0;
  std::string out;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
  return out;
}

TEST(CreateFile, DispositionsCreateOpenAndTruncate) {
  TempDir dir;
  const std::string path = dir / "f.txt";
  EXPECT_EQ(Open(path, GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(Open(dir / "no\\f.txt", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  HANDLE h = Open(path, GENERIC_WRITE, 0, CREATE_NEW);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(h, "hello", 5, &written, nullptr));
  EXPECT_EQ(written, 5u);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  EXPECT_EQ(Open(path, GENERIC_WRITE, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_FILE_EXISTS));

  h = Open(path, GENERIC_READ, 0, OPEN_ALWAYS);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(ReadAll(h), "hello");
  CloseHandle(h);

  h = Open(path, GENERIC_WRITE, 0, TRUNCATE_EXISTING);
  EXPECT_EQ(GetFileSize(h, nullptr), 0u);
  CloseHandle(h);
  EXPECT_EQ(Open(path, GENERIC_READ, 0, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  h = Open(dir / "new.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
  EXPECT_EQ(Error(), static_cast<DWORD>(NO_ERROR));
  CloseHandle(h);
}

TEST(CreateFile, ShareModesRuleOtherOpens) {
  TempDir dir;
  const std::string path = dir.Write("shared.txt", "x");
  HANDLE reader = Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  HANDLE second = Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_NE(second, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  // A refused truncating open leaves the contents alone.
  EXPECT_EQ(Open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(dir.Read("shared.txt"), "x");
  EXPECT_FALSE(DeleteFile(path.c_str()));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(reader);
  CloseHandle(second);
  HANDLE writer = Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE);
  CloseHandle(writer);
  EXPECT_TRUE(DeleteFile(path.c_str()));
}

TEST(CreateFile, FoldersOpenOnlyWithBackupSemantics) {
  TempDir dir;
  EXPECT_EQ(Open(dir.Path(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  HANDLE h = Open(dir.Path(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  FILETIME written;
  EXPECT_TRUE(GetFileTime(h, nullptr, nullptr, &written));
  CloseHandle(h);
}

TEST(CreateFile, DeleteOnCloseRemovesTheFile) {
  TempDir dir;
  HANDLE h = Open(dir / "t", GENERIC_WRITE, 0, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE);
  EXPECT_TRUE(dir.Exists("t"));
  CloseHandle(h);
  EXPECT_FALSE(dir.Exists("t"));
}

TEST(CreateFile, RefusedDeleteOnCloseOpenLeavesTheFile) {
  TempDir dir;
  const std::string path = dir.Write("kept", "x");
  HANDLE holder = Open(path, GENERIC_READ, 0, OPEN_EXISTING);
  EXPECT_EQ(Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(holder);
  EXPECT_TRUE(dir.Exists("kept"));
}

TEST(FileHandles, AccessIsCheckedPerHandle) {
  TempDir dir;
  const std::string path = dir.Write("f", "abc");
  HANDLE h = Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  DWORD n = 7;
  EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(n, 0u);
  CloseHandle(h);
}

TEST(FileHandles, PointerMovesAndSizes) {
  TempDir dir;
  HANDLE h = Open(dir / "f", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
  DWORD n;
  WriteFile(h, "0123456789", 10, &n, nullptr);
  EXPECT_EQ(SetFilePointer(h, 2, nullptr, FILE_BEGIN), 2u);
  EXPECT_EQ(SetFilePointer(h, 3, nullptr, FILE_CURRENT), 5u);
  EXPECT_EQ(SetFilePointer(h, -1, nullptr, FILE_END), 9u);
  EXPECT_EQ(SetFilePointer(h, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  LARGE_INTEGER where;
  EXPECT_TRUE(SetFilePointerEx(h, LARGE_INTEGER{}, &where, FILE_CURRENT));
  EXPECT_EQ(where.QuadPart, 9);  // a failed move leaves the pointer

  LONG high = 1;  // beyond 4 GiB through the high part
  EXPECT_EQ(SetFilePointer(h, 0, &high, FILE_BEGIN), 0u);
  EXPECT_EQ(Error(), static_cast<DWORD>(NO_ERROR));
  EXPECT_EQ(high, 1);

  SetFilePointer(h, 4, nullptr, FILE_BEGIN);
  EXPECT_TRUE(SetEndOfFile(h));
  DWORD sizeHigh = 9;
  EXPECT_EQ(GetFileSize(h, &sizeHigh), 4u);
  EXPECT_EQ(sizeHigh, 0u);
  LARGE_INTEGER size;
  EXPECT_TRUE(GetFileSizeEx(h, &size));
  EXPECT_EQ(size.QuadPart, 4);
  EXPECT_EQ(GetFileType(h), static_cast<DWORD>(FILE_TYPE_DISK));
  EXPECT_TRUE(FlushFileBuffers(h));

  OVERLAPPED at{};
  at.Offset = 1;
  char two[2];
  EXPECT_TRUE(ReadFile(h, two, 2, &n, &at));
  EXPECT_EQ(std::string(two, 2), "12");
  CloseHandle(h);
}

TEST(FileHandles, TimesRoundTrip) {
  TempDir dir;
  HANDLE h = Open(dir / "f", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
  FILETIME set = FileTimeFromUnix(1000000000, 500000000);
  EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &set));
  FILETIME got;
  EXPECT_TRUE(GetFileTime(h, nullptr, nullptr, &got));
  EXPECT_EQ(CompareFileTime(&set, &got), 0);
  CloseHandle(h);
  // 2001-09-09 01:46:40 UTC in 100-ns units since 1601.
  EXPECT_EQ((static_cast<std::uint64_t>(set.dwHighDateTime) << 32) | set.dwLowDateTime,
            126444736005000000ull);
  WIN32_FILE_ATTRIBUTE_DATA data;
  EXPECT_TRUE(GetFileAttributesEx((dir / "f").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &set), 0);
}

TEST(FileHandles, LocksConflictBetweenHandles) {
  TempDir dir;
  const std::string path = dir.Write("f", "0123456789");
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE a = Open(path, GENERIC_READ | GENERIC_WRITE, share, OPEN_EXISTING);
  HANDLE b = Open(path, GENERIC_READ | GENERIC_WRITE, share, OPEN_EXISTING);
  EXPECT_TRUE(LockFile(a, 0, 0, 5, 0));
  EXPECT_FALSE(LockFile(a, 2, 0, 1, 0));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_LOCK_VIOLATION));
  EXPECT_FALSE(LockFile(b, 4, 0, 2, 0));
  EXPECT_TRUE(LockFile(b, 5, 0, 5, 0));
  EXPECT_FALSE(UnlockFile(a, 0, 0, 4, 0));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_TRUE(UnlockFile(a, 0, 0, 5, 0));
  EXPECT_TRUE(LockFile(b, 0, 0, 5, 0));
  CloseHandle(a);
  CloseHandle(b);
}

TEST(FileAttributes, ReadOnlyMapsToWritePermissions) {
  TempDir dir;
  const std::string path = dir.Write("f");
  EXPECT_EQ(GetFileAttributes(path.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_TRUE(SetFileAttributes(path.c_str(), FILE_ATTRIBUTE_READONLY));
  struct stat st;
  ::stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  EXPECT_TRUE(GetFileAttributes(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(DeleteFile(path.c_str()));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_TRUE(SetFileAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  ::stat(path.c_str(), &st);
  EXPECT_NE(st.st_mode & S_IWUSR, 0u);
  EXPECT_TRUE(DeleteFile(path.c_str()));
  EXPECT_EQ(GetFileAttributes(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(FileAttributes, LinksAreToldFromFolders) {
  TempDir dir;
  std::filesystem::create_directory(dir / "real");
  ::symlink((dir / "real").c_str(), (dir / "link").c_str());
  EXPECT_EQ(GetFileAttributes((dir / "real").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(GetFileAttributes((dir / "LINK").c_str()),
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

TEST(CopyFile, FailIfExistsLeavesBothFiles) {
  TempDir dir;
  const std::string from = dir.Write("from", "new");
  const std::string to = dir.Write("to", "old");
  EXPECT_FALSE(CopyFile(from.c_str(), to.c_str(), TRUE));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(dir.Read("to"), "old");
  EXPECT_TRUE(CopyFile(from.c_str(), to.c_str(), FALSE));
  EXPECT_EQ(dir.Read("to"), "new");
  EXPECT_TRUE(CopyFile(from.c_str(), (dir / "empty-copy").c_str(), TRUE));
  EXPECT_EQ(dir.Read("empty-copy"), "new");
}

TEST(CopyFile, KeepsTimeAndLeavesNoPartialTarget) {
  TempDir dir;
  const std::string from = dir.Write("from", std::string(100000, 'x'));
  HANDLE h = Open(from, GENERIC_WRITE, 0, OPEN_EXISTING);
  FILETIME when = FileTimeFromUnix(1234567890, 0);
  SetFileTime(h, nullptr, nullptr, &when);
  CloseHandle(h);
  EXPECT_TRUE(CopyFile(from.c_str(), (dir / "to").c_str(), TRUE));
  WIN32_FILE_ATTRIBUTE_DATA data;
  GetFileAttributesEx((dir / "to").c_str(), GetFileExInfoStandard, &data);
  EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &when), 0);
  EXPECT_EQ(data.nFileSizeLow, 100000u);

  // A copy that cannot be made (the source is a folder, the target folder is missing) leaves
  // nothing behind.
  std::filesystem::create_directory(dir / "folder");
  EXPECT_FALSE(CopyFile((dir / "folder").c_str(), (dir / "x").c_str(), FALSE));
  EXPECT_FALSE(CopyFile(from.c_str(), (dir / "missing/x").c_str(), FALSE));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);
}

// Copies killed while they wrote their temporary file beside the target leave it there; the next
// copy into that folder removes those, and leaves the user's files of like names alone.
TEST(CopyFile, TheNextCopyIntoTheFolderRemovesWhatKilledCopiesLeft) {
  TempDir dir;
  const std::string from = dir.Write("from", std::string(300000, 'x'));
  const std::string into = dir / "into";
  ::mkdir(into.c_str(), 0700);
  for (int kill = 0; kill < 3; ++kill) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int writes = 0;
      ScopedFileFaultHook killer([&](FileStep step, const std::string& path) {
        if (step == FileStep::Write && path.find("/.big.copy-") != std::string::npos && ++writes == 2) ::raise(SIGKILL);
        return 0;
      });
      CopyFile(from.c_str(), (into + "/big").c_str(), FALSE);
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  }
  EXPECT_EQ(Names(into).size(), 1u);  // each copy removed what the one before it left
  const std::set<std::string> users = {".big.copy-Xa1b2C", ".big.copy-1", ".big.copy-old", ".big.copy-1.0123456789ab.x"};
  for (const std::string& name : users) dir.Write("into/" + name, "the user's");
  ASSERT_TRUE(CopyFile(from.c_str(), (into + "/small").c_str(), FALSE));
  std::set<std::string> expected = users;
  expected.insert("small");
  EXPECT_EQ(Names(into), expected);
  for (const std::string& name : users) EXPECT_EQ(dir.Read("into/" + name), "the user's");
}


TEST(CopyFile, CopyOntoItselfIsRefused) {
  TempDir dir;
  const std::string path = dir.Write("f", "data");
  EXPECT_FALSE(CopyFile(path.c_str(), (dir / "F").c_str(), FALSE));
  EXPECT_EQ(dir.Read("f"), "data");
}

TEST(MoveFile, RefusesAnExistingTargetUnlessAskedToReplace) {
  TempDir dir;
  const std::string a = dir.Write("a", "A");
  const std::string b = dir.Write("b", "B");
  EXPECT_FALSE(MoveFile(a.c_str(), b.c_str()));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(MoveFileEx(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(dir.Read("b"), "A");
  EXPECT_FALSE(dir.Exists("a"));
}

TEST(MoveFile, ChangesOnlyTheLetterCase) {
  TempDir dir;
  const std::string a = dir.Write("index.htm", "x");
  EXPECT_TRUE(MoveFile(a.c_str(), (dir / "Index.HTM").c_str()));
  EXPECT_TRUE(dir.Exists("Index.HTM"));
  EXPECT_FALSE(dir.Exists("index.htm"));
}

TEST(Folders, CreateRemoveAndErrors) {
  TempDir dir;
  EXPECT_TRUE(CreateDirectory((dir / "New").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectory((dir / "new").c_str(), nullptr));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectory((dir / "a\\b").c_str(), nullptr));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  dir.Write("New/f");
  EXPECT_FALSE(RemoveDirectory((dir / "NEW").c_str()));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
  EXPECT_FALSE(DeleteFile((dir / "New").c_str()));
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(DeleteFile((dir / "new\\F").c_str()));
  EXPECT_TRUE(RemoveDirectory((dir / "new\\").c_str()));
  EXPECT_FALSE(dir.Exists("New"));
}

TEST(Folders, LinksAreRemovedAsLinks) {
  TempDir dir;
  dir.Write("real/keep");
  ::symlink((dir / "real").c_str(), (dir / "dirlink").c_str());
  ::symlink((dir / "real/keep").c_str(), (dir / "filelink").c_str());
  EXPECT_TRUE(RemoveDirectory((dir / "dirlink").c_str()));
  EXPECT_TRUE(DeleteFile((dir / "filelink").c_str()));
  EXPECT_TRUE(dir.Exists("real/keep"));
  EXPECT_FALSE(dir.Exists("dirlink"));
  EXPECT_FALSE(dir.Exists("filelink"));
}

TEST(Folders, CurrentAndFullPaths) {
  TempDir dir;
  dir.Write("Sub/file.txt");
  char saved[4096];
  ASSERT_GT(GetCurrentDirectory(sizeof saved, saved), 0u);
  EXPECT_TRUE(SetCurrentDirectory((dir / "sub").c_str()));
  char buffer[4096];
  const DWORD length = GetCurrentDirectory(sizeof buffer, buffer);
  EXPECT_EQ(std::string(buffer, length), dir / "Sub");
  EXPECT_EQ(GetCurrentDirectory(3, buffer), length + 1);

  LPSTR part = nullptr;
  const DWORD n = GetFullPathName("..\\SUB\\.\\File.txt", sizeof buffer, buffer, &part);
  EXPECT_EQ(std::string(buffer, n), dir / "Sub/file.txt");
  EXPECT_STREQ(part, "file.txt");
  EXPECT_EQ(GetFullPathName("x", 2, buffer, nullptr), (dir / "Sub/x").size() + 1);
  EXPECT_FALSE(SetCurrentDirectory((dir / "none").c_str()));
  EXPECT_TRUE(SetCurrentDirectory(saved));
}

TEST(Folders, LongAndShortNamesAreTheGivenPath) {
  TempDir dir;
  const std::string path = dir.Write("Long Name.text");
  char buffer[4096];
  EXPECT_EQ(GetShortPathName(path.c_str(), buffer, sizeof buffer), path.size());
  EXPECT_EQ(buffer, path);
  EXPECT_EQ(GetLongPathName((dir / "none").c_str(), buffer, sizeof buffer), 0u);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(KnownFolders, TemporaryFilesAreCreatedUnique) {
  TempDir dir;
  ScopedEnv tmp("TMPDIR", dir.Path());
  char folder[MAX_PATH];
  const DWORD n = GetTempPath(sizeof folder, folder);
  EXPECT_EQ(std::string(folder, n), dir.Path() + "/");
  char first[MAX_PATH], second[MAX_PATH];
  EXPECT_NE(GetTempFileName(folder, "jpgxx", 0, first), 0u);
  EXPECT_NE(GetTempFileName(folder, "jpg", 0, second), 0u);
  EXPECT_STRNE(first, second);
  EXPECT_EQ(std::string(first).substr(n, 3), "jpg");
  EXPECT_EQ(std::string(first).substr(std::strlen(first) - 4), ".TMP");
  EXPECT_EQ(GetFileAttributes(first), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(GetTempFileName(folder, "ab", 0x1F, first), 0x1Fu);
  EXPECT_EQ(std::string(first), dir.Path() + "/ab1F.TMP");
  EXPECT_EQ(GetFileAttributes(first), INVALID_FILE_ATTRIBUTES);
}

TEST(KnownFolders, ProgramAndWindowsFolders) {
  char buffer[4096];
  const DWORD n = GetModuleFileName(nullptr, buffer, sizeof buffer);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(std::string(buffer, n), std::filesystem::read_symlink("/proc/self/exe").string());
  char small[4];
  EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), 4u);
  EXPECT_EQ(Error(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(small[3], '\0');

  TempDir dir;
  ScopedEnv windows("BRAMBOLT_WINDOWS_DIR", dir.Path());
  EXPECT_EQ(GetWindowsDirectory(buffer, sizeof buffer), dir.Path().size());
  EXPECT_EQ(buffer, dir.Path());
  EXPECT_EQ(GetWindowsDirectory(buffer, 1), dir.Path().size() + 1);
}

TEST(KnownFolders, OneFixedDriveForTheRoot) {
  EXPECT_EQ(GetLogicalDrives(), 4u);
  char drives[8];
  EXPECT_EQ(GetLogicalDriveStrings(sizeof drives, drives), 4u);
  EXPECT_EQ(std::string(drives, 5), std::string("C:\\\0\0", 5));
  EXPECT_EQ(GetLogicalDriveStrings(4, drives), 5u);
  EXPECT_EQ(GetDriveType("C:\\"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(GetDriveType("C:\\no such folder\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  ULARGE_INTEGER total{}, available{};
  EXPECT_TRUE(GetDiskFreeSpaceEx("C:\\", &available, &total, nullptr));
  EXPECT_GT(total.QuadPart, 0u);
  EXPECT_LE(available.QuadPart, total.QuadPart);
}

TEST(SearchPath, FindsTheFileInTheGivenFoldersAddingTheExtension) {
  TempDir dir;
  dir.Write("one/readme.txt", "x");
  dir.Write("two/Tool.exe", "x");
  const std::string folders = dir / "none" + ";" + (dir / "one") + ";" + (dir / "two");
  char found[4096];
  LPSTR leaf = nullptr;
  struct Case {
    const char* name;
    const char* extension;
    std::string expected;  // empty: not found
  };
  const Case cases[] = {
      {"readme.txt", nullptr, dir / "one/readme.txt"},
      {"README", ".txt", dir / "one/readme.txt"},  // names match without case, as on Windows
      {"tool", ".exe", dir / "two/tool.exe"},
      {"missing", ".txt", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DWORD n = SearchPath(folders.c_str(), c.name, c.extension, sizeof found, found, &leaf);
    if (c.expected.empty()) {
      EXPECT_EQ(n, 0u);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
      continue;
    }
    ASSERT_GT(n, 0u);
    EXPECT_EQ(strcasecmp(found, c.expected.c_str()), 0) << found;
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(strcasecmp(leaf, c.expected.substr(c.expected.rfind('/') + 1).c_str()), 0);
  }
  EXPECT_EQ(SearchPath(folders.c_str(), "readme.txt", nullptr, 4, found, nullptr), (dir / "one/readme.txt").size() + 1)
      << "a short buffer gets the size needed";
}

TEST(Environment, VariablesAreSetReadAndRemoved) {
  const char* name = "BRAMBOLT_TEST_VARIABLE";
  char value[16];
  ASSERT_TRUE(SetEnvironmentVariable(name, "forty-two"));
  EXPECT_EQ(GetEnvironmentVariable(name, value, sizeof value), 9u);
  EXPECT_STREQ(value, "forty-two");
  EXPECT_EQ(GetEnvironmentVariable(name, value, 4), 10u) << "the size needed, terminator included";
  ASSERT_TRUE(SetEnvironmentVariable(name, nullptr));
  EXPECT_EQ(GetEnvironmentVariable(name, value, sizeof value), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
  EXPECT_FALSE(SetEnvironmentVariable("A=B", "x"));
}

}  // namespace
}  // namespace brambolt

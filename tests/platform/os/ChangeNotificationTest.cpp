// Change notifications: signalled by matching changes in the folder, re-armed by
// FindNextChangeNotification, waited for together with a stop event.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <functional>
#include <thread>

#include "TempDir.h"
#include "base/LastError.h"
#include "os/ChangeNotification.h"
#include "os/Sync.h"

namespace {

using brambolt::testing_os::TempDir;

constexpr DWORD kGenerous = 20000;  // a wait that must not time out
constexpr DWORD kQuiet = 100;       // how long nothing must happen

// One change may arrive as several events; re-arm until the handle stays quiet.
void Settle(HANDLE h) {
  do FindNextChangeNotification(h);
  while (WaitForSingleObject(h, kQuiet) == WAIT_OBJECT_0);
}

struct Notification {
  HANDLE h;
  Notification(const std::string& folder, BOOL subtree, DWORD filter)
      : h(FindFirstChangeNotification(folder.c_str(), subtree, filter)) {}
  ~Notification() {
    if (h != INVALID_HANDLE_VALUE) FindCloseChangeNotification(h);
  }
};

constexpr DWORD kEditorFilter =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

TEST(ChangeNotifications, AFileWrittenIntoTheFolderSignalsTheHandle) {
  TempDir dir;
  dir.Write("a.cpp", "int a;");
  Notification n(dir.Path(), FALSE, kEditorFilter);
  ASSERT_NE(n.h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(kEditorFilter, 25u);
  EXPECT_EQ(WaitForSingleObject(n.h, 0), WAIT_TIMEOUT);
  dir.Write("a.cpp", "int a; int b;");
  EXPECT_EQ(WaitForSingleObject(n.h, kGenerous), WAIT_OBJECT_0);
  // It stays signalled until re-armed.
  EXPECT_EQ(WaitForSingleObject(n.h, 0), WAIT_OBJECT_0);
  Settle(n.h);
  EXPECT_EQ(WaitForSingleObject(n.h, 0), WAIT_TIMEOUT);
  dir.Write("b.cpp", "");
  EXPECT_EQ(WaitForSingleObject(n.h, kGenerous), WAIT_OBJECT_0);
}

TEST(ChangeNotifications, AFileRenamedOverAnotherSignalsTheHandle) {
  TempDir dir;
  dir.Write("a.cpp", "old");
  dir.Write("a.cpp.tmp", "new");
  Notification n(dir.Path(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE);
  ASSERT_NE(n.h, INVALID_HANDLE_VALUE);
  ASSERT_EQ(std::rename((dir / "a.cpp.tmp").c_str(), (dir / "a.cpp").c_str()), 0);
  EXPECT_EQ(WaitForSingleObject(n.h, kGenerous), WAIT_OBJECT_0);
}

TEST(ChangeNotifications, AChangeMadeBeforeReArmingIsNotLost) {
  TempDir dir;
  Notification n(dir.Path(), FALSE, kEditorFilter);
  dir.Write("a.cpp", "1");
  ASSERT_EQ(WaitForSingleObject(n.h, kGenerous), WAIT_OBJECT_0);
  Settle(n.h);
  dir.Write("a.cpp", "2");
  // Give the change time to arrive while the handle is still signalled from before.
  std::this_thread::sleep_for(std::chrono::milliseconds(kQuiet));
  FindNextChangeNotification(n.h);
  EXPECT_EQ(WaitForSingleObject(n.h, kGenerous), WAIT_OBJECT_0);
}

TEST(ChangeNotifications, TheFilterDecidesWhichChangesCount) {
  struct Case {
    const char* what;
    DWORD filter;
    std::function<void(const TempDir&)> change;
    bool signalled;
  };
  const Case cases[] = {
      {"write, attributes only", FILE_NOTIFY_CHANGE_ATTRIBUTES,
       [](const TempDir& d) { d.Write("f.txt", "more"); }, false},
      {"chmod, attributes", FILE_NOTIFY_CHANGE_ATTRIBUTES,
       [](const TempDir& d) { ::chmod((d / "f.txt").c_str(), 0400); }, true},
      {"new folder, file names only", FILE_NOTIFY_CHANGE_FILE_NAME,
       [](const TempDir& d) { ::mkdir((d / "sub").c_str(), 0755); }, false},
      {"new folder, folder names", FILE_NOTIFY_CHANGE_DIR_NAME,
       [](const TempDir& d) { ::mkdir((d / "sub").c_str(), 0755); }, true},
      {"delete, file names", FILE_NOTIFY_CHANGE_FILE_NAME,
       [](const TempDir& d) { std::remove((d / "f.txt").c_str()); }, true},
      {"write, size", FILE_NOTIFY_CHANGE_SIZE,
       [](const TempDir& d) { d.Write("f.txt", "longer text"); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.Write("f.txt", "x");
    Notification n(dir.Path(), FALSE, c.filter);
    ASSERT_NE(n.h, INVALID_HANDLE_VALUE);
    c.change(dir);
    EXPECT_EQ(WaitForSingleObject(n.h, c.signalled ? kGenerous : kQuiet),
              c.signalled ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
  }
}

TEST(ChangeNotifications, FoldersBelowCountOnlyWhenTheSubtreeIsWatched) {
  TempDir dir;
  dir.Write("sub/deeper/f.txt", "x");
  Notification flat(dir.Path(), FALSE, kEditorFilter);
  Notification deep(dir.Path(), TRUE, kEditorFilter);
  dir.Write("sub/deeper/f.txt", "changed");
  EXPECT_EQ(WaitForSingleObject(deep.h, kGenerous), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(flat.h, kQuiet), WAIT_TIMEOUT);
}

TEST(ChangeNotifications, AFolderMadeAfterTheStartIsWatchedInASubtree) {
  TempDir dir;
  Notification deep(dir.Path(), TRUE, FILE_NOTIFY_CHANGE_LAST_WRITE);
  ASSERT_EQ(::mkdir((dir / "new").c_str(), 0755), 0);
  // A new folder alone is no last-write change; the file written in it is.
  std::this_thread::sleep_for(std::chrono::milliseconds(kQuiet));
  Settle(deep.h);
  dir.Write("new/f.txt", "x");
  EXPECT_EQ(WaitForSingleObject(deep.h, kGenerous), WAIT_OBJECT_0);
}

TEST(ChangeNotifications, AWatcherWaitsForAChangeOrItsStopEvent) {
  TempDir dir;
  Notification n(dir.Path(), FALSE, kEditorFilter);
  HANDLE stop = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  HANDLE both[] = {stop, n.h};
  dir.Write("a.cpp", "x");
  ASSERT_EQ(WaitForMultipleObjects(2, both, FALSE, kGenerous), WAIT_OBJECT_0 + 1);
  Settle(n.h);
  DWORD result = WAIT_FAILED;
  std::thread watcher([&] { result = WaitForMultipleObjects(2, both, FALSE, INFINITE); });
  SetEvent(stop);
  watcher.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
  CloseHandle(stop);
}

TEST(ChangeNotifications, BadFoldersAndFiltersAreRefused) {
  TempDir dir;
  dir.Write("file.txt", "x");
  EXPECT_EQ(FindFirstChangeNotification((dir / "missing").c_str(), FALSE, kEditorFilter),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(FindFirstChangeNotification((dir / "file.txt").c_str(), FALSE, kEditorFilter),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
  EXPECT_EQ(FindFirstChangeNotification(dir.Path().c_str(), FALSE, 0), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(FindNextChangeNotification(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(ChangeNotifications, AWindowsSpelledFolderIsWatched) {
  TempDir dir;
  dir.Write("Sub/a.txt", "x");
  std::string spelled = dir.Path() + "\\SUB";
  Notification n(spelled, FALSE, kEditorFilter);
  ASSERT_NE(n.h, INVALID_HANDLE_VALUE);
  dir.Write("Sub/a.txt", "changed");
  EXPECT_EQ(WaitForSingleObject(n.h, kGenerous), WAIT_OBJECT_0);
  EXPECT_TRUE(FindCloseChangeNotification(n.h));
  EXPECT_FALSE(FindCloseChangeNotification(n.h));
  n.h = INVALID_HANDLE_VALUE;
}

}  // namespace

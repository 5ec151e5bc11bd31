// The file watcher's worker against files changed, deleted and renamed by another process.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <thread>

#include "editor/doc/CFileEvent.h"
#include "testing/UiTest.h"

namespace {

class RecordingWatcher : public CFileEvent {
 public:
  ~RecordingWatcher() override { Stop(); }
  void OnFileChanged(UINT flags, LPCTSTR path) override {
    std::lock_guard<std::mutex> hold(lock);
    reports.emplace_back(flags, path);
  }
  // The reports so far, once at least `count` arrived (empty after ten seconds without them).
  std::vector<std::pair<UINT, std::string>> WaitFor(size_t count) {
    for (int i = 0; i < 1000; ++i) {
      {
        std::lock_guard<std::mutex> hold(lock);
        if (reports.size() >= count) return reports;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
  }

  std::mutex lock;
  std::vector<std::pair<UINT, std::string>> reports;
};

// Runs a shell command: the change comes from another process, as in use.
void Shell(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

class WatcherTest : public ::testing::Test {
 protected:
  std::string MakeFile(const std::string& name, const std::string& text) {
    const std::string path = stores.TempDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  brambolt::test::PrivateStores stores;
};

TEST_F(WatcherTest, ReportsChangesDeletionAndRenamingOfWatchedFiles) {
  const std::string a = MakeFile("a.cpp", "int a;\n");
  const std::string b = MakeFile("b.cpp", "int b;\n");
  const std::string c = MakeFile("c.cpp", "int c;\n");
  RecordingWatcher watcher;
  watcher.AddFile(a.c_str());
  watcher.AddFile(b.c_str());
  watcher.AddFile(c.c_str());
  watcher.Start();
  EXPECT_TRUE(watcher.IsRunning());

  Shell("printf 'more\\n' >> '" + a + "'");
  auto reports = watcher.WaitFor(1);
  ASSERT_EQ(reports.size(), 1U);
  EXPECT_EQ(reports[0].second, a);
  EXPECT_TRUE(reports[0].first & CFileEvent::kSizeChanged);

  Shell("rm '" + b + "'");
  reports = watcher.WaitFor(2);
  ASSERT_EQ(reports.size(), 2U);
  EXPECT_EQ(reports[1], std::make_pair(UINT{CFileEvent::kGone}, b));

  Shell("mv '" + c + "' '" + c + ".bak'");
  reports = watcher.WaitFor(3);
  ASSERT_EQ(reports.size(), 3U);
  EXPECT_EQ(reports[2], std::make_pair(UINT{CFileEvent::kGone}, c));

  // A vanished file stays watched: made again under its name (as a checkout deletes and writes
  // files), it is reported, and so is every later change of it.
  // (A pass may see the file made empty before it is written: that is one report more of it.)
  EXPECT_TRUE(watcher.IsWatched(b.c_str()));
  Shell("printf 'x' > '" + b + "'");
  reports = watcher.WaitFor(4);
  ASSERT_GE(reports.size(), 4U);
  for (size_t i = 3; i < reports.size(); ++i) EXPECT_EQ(reports[i].second, b);
  const size_t before = reports.size();
  Shell("rm '" + b + "' && printf 'yy' > '" + b + "'");
  reports = watcher.WaitFor(before + 1);
  ASSERT_GE(reports.size(), before + 1);
  for (size_t i = before; i < reports.size(); ++i) EXPECT_EQ(reports[i].second, b);
  watcher.Stop();
  EXPECT_FALSE(watcher.IsRunning());
}

// What a comparison of the time going forward and of the size misses: a file reached through a
// link in another folder, written where the file lies; an older copy of the same size put back.
TEST_F(WatcherTest, ReportsAFileWrittenThroughALinkAndAnOlderCopyPutBack) {
  Shell("mkdir -p '" + stores.TempDir() + "/real' '" + stores.TempDir() + "/links'");
  const std::string real = MakeFile("real/r.cpp", "int r;\n");
  const std::string link = stores.TempDir() + "/links/r.cpp";
  Shell("ln -s ../real/r.cpp '" + link + "'");
  const std::string copy = MakeFile("c.cpp", "one\n");
  Shell("cp -p '" + copy + "' '" + copy + ".bak' && touch -d '2001-01-01' '" + copy + ".bak'");
  RecordingWatcher watcher;
  watcher.AddFile(link.c_str());
  watcher.AddFile(copy.c_str());
  watcher.Start();

  Shell("printf 'int s;\\n' >> '" + real + "'");
  auto reports = watcher.WaitFor(1);
  ASSERT_EQ(reports.size(), 1U);
  EXPECT_EQ(reports[0].second, link);

  Shell("mv '" + copy + ".bak' '" + copy + "'");
  reports = watcher.WaitFor(2);
  ASSERT_EQ(reports.size(), 2U);
  EXPECT_EQ(reports[1].second, copy);
  EXPECT_NE(reports[1].first, 0U);
}

TEST_F(WatcherTest, AddingAFileInANewFolderWatchesThatFolderToo) {
  const std::string a = MakeFile("a.h", "a\n");
  Shell("mkdir -p '" + stores.TempDir() + "/sub'");
  const std::string b = MakeFile("sub/b.h", "b\n");
  RecordingWatcher watcher;
  watcher.AddFile(a.c_str());
  watcher.Start();
  watcher.AddFile(b.c_str());
  EXPECT_TRUE(watcher.IsRunning());
  Shell("printf 'b2\\n' >> '" + b + "'");
  auto reports = watcher.WaitFor(1);
  ASSERT_EQ(reports.size(), 1U);
  EXPECT_EQ(reports[0].second, b);
  // Removing one file of a folder leaves the folder's other file watched.
  watcher.RemoveFile(b.c_str());
  EXPECT_FALSE(watcher.IsWatched(b.c_str()));
  EXPECT_TRUE(watcher.IsWatched(a.c_str()));
}

}  // namespace

// Two running instances of the program keep one list of recent projects: each writes its list
// merged with the one stored at that moment, so neither drops a project the other opened. The
// other instance is a process of its own (this test program run again), with its own store.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "InkwrightAppSession.h"
#include "app/CRegKeyHolder.h"
#include "os/Registry.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const CString kAppKey = CString("Software\\") + CInkwrightApp::kRegistryKey;
constexpr const char* kSignals = "BRAMBOLT_OTHER_INSTANCE_SIGNALS";

// The list as stored on disk now (read from the store's file, so that this process's copy of
// the store stays as the running instance holds it).
std::string StoredList() {
  std::ifstream in(fs::path(std::getenv("BRAMBOLT_REGISTRY_DIR")) / "HKEY_CURRENT_USER.reg");
  const std::string prefix = "\"RecentProjects\"=\"";
  std::string found;
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0) found = line.substr(prefix.size(), line.rfind('"') - prefix.size());
  return found;
}

// Waits (bounded) for a file that the other process makes as its signal, while that process runs.
bool WaitFor(const fs::path& path, pid_t process = 0) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!fs::exists(path)) {
    if (std::chrono::steady_clock::now() > end) return false;
    if (process != 0 && ::waitpid(process, nullptr, WNOHANG) == process) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// The other instance, run only by the test below: it reads the list at its start, waits until
// the first instance has written its own, then opens /p/b.dcp.
TEST(RecentProjectsOtherInstance, DISABLED_OpensAProject) {
  const char* signals = std::getenv(kSignals);
  ASSERT_NE(signals, nullptr);
  apptest::TestApp app;
  app.LoadRecentProjects();
  std::ofstream(fs::path(signals) / "loaded") << "";
  ASSERT_TRUE(WaitFor(fs::path(signals) / "go"));
  app.MoveRecentProjectToFront("/p/b.dcp");
}

TEST(RecentProjectsInstances, NeitherDropsTheProjectsTheOtherOpened) {
  apptest::AppHome home;
  {
    CRegKeyHolder seed;
    seed.Create(HKEY_CURRENT_USER, kAppKey);
    seed.SetString("RecentProjects", "/p/old.dcp;");
  }
  brambolt::ResetRegistryForTesting();
  apptest::TestApp app;
  app.LoadRecentProjects();
  // The other instance starts and reads the list too.
  const std::string signals = home.Folder("signals");
  setenv(kSignals, signals.c_str(), 1);
  char program[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string filter = "--gtest_filter=RecentProjectsOtherInstance.DISABLED_OpensAProject";
  std::string disabled = "--gtest_also_run_disabled_tests";
  char* argv[] = {program, filter.data(), disabled.data(), nullptr};
  // It starts in a folder that is there: the one of this process may have been removed.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, signals.c_str());
  pid_t child = 0;
  const int spawned = ::posix_spawn(&child, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  unsetenv(kSignals);
  ASSERT_EQ(spawned, 0);
  ASSERT_TRUE(WaitFor(fs::path(signals) / "loaded", child));
  // This instance opens a project and writes its list; then the other one opens another.
  app.MoveRecentProjectToFront("/p/a.dcp");
  EXPECT_EQ(StoredList(), "/p/a.dcp;/p/old.dcp;");
  std::ofstream(fs::path(signals) / "go") << "";
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(StoredList(), "/p/b.dcp;/p/old.dcp;/p/a.dcp;");
  // This instance writes again (as at its exit): the other's project stays.
  app.SaveRecentProjects();
  EXPECT_EQ(StoredList(), "/p/a.dcp;/p/old.dcp;/p/b.dcp;");
}

}  // namespace

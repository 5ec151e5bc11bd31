// Processes: command-line splitting, real system programs' exit codes, termination, WinExec.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "TempDir.h"
#include "base/CodePage.h"
#include "base/LastError.h"
#include "os/Process.h"
#include "os/Sync.h"
#include "os/Waitable.h"

extern char** environ;

namespace {

using brambolt::SplitCommandLine;
using brambolt::testing_os::TempDir;

constexpr DWORD kGenerous = 20000;  // a wait that must not time out

// The test program started with BRAMBOLT_ENDING_CHILD_HELPER stands for the program: before its
// tests it starts a long-running child that is to end with it (in a group of its own, as the
// HTML Help compiler runs) that starts one of its own, writes its own pid and then the pids of the
// child and the grandchild, and waits to be ended.
const bool kEndingChildHelper = [] {
  if (std::getenv("BRAMBOLT_ENDING_CHILD_HELPER") == nullptr) return false;
  const std::string pid = std::to_string(::getpid()) + "\n";
  (void)!::write(1, pid.data(), pid.size());
  brambolt::SpawnRequest request;
  request.program = "sh";
  request.argv = {"sh", "-c", "sleep 300 & echo $$ $!; wait"};
  request.ownGroup = true;
  request.endWithParent = true;
  DWORD error = 0;
  if (!brambolt::Spawn(request, &error)) ::_exit(2);
  // Waits in short sleeps rather than one pause: under ThreadSanitizer a signal's handler runs
  // only when the program next returns from a call the sanitizer watches.
  for (;;) ::sleep(1);
}();

// Whether a process runs (a zombie has ended and only waits to be reaped).
bool Running(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  if (!std::getline(in, stat)) return false;
  const size_t close = stat.rfind(')');
  return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

TEST(CommandLines, AreSplitByTheWindowsRules) {
  struct Case {
    const char* line;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"prog a b", {"prog", "a", "b"}},
      {"  prog   a\tb  ", {"prog", "a", "b"}},
      {R"("C:\Program Files\Tool\tool.exe" "%1")", {R"(C:\Program Files\Tool\tool.exe)", "%1"}},
      {R"(C:\dir\prog.exe C:\a\b.htm)", {R"(C:\dir\prog.exe)", R"(C:\a\b.htm)"}},
      {R"(prog "a b" c)", {"prog", "a b", "c"}},
      {R"(prog a\"b)", {"prog", "a\"b"}},
      {R"(prog a\\"b c")", {"prog", R"(a\b c)"}},
      {R"(prog a\\\"b)", {"prog", R"(a\"b)"}},
      {R"(prog a\\b)", {"prog", R"(a\\b)"}},
      {R"(prog "a ""quoted"" word")", {"prog", R"(a "quoted" word)"}},
      {R"(prog "")", {"prog", ""}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

struct Started {
  PROCESS_INFORMATION info{};
  BOOL ok = FALSE;
  explicit Started(std::string commandLine, const char* directory = nullptr,
                   const char* environment = nullptr) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    ok = CreateProcess(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                       const_cast<char*>(environment), directory, &startup, &info);
  }
  ~Started() {
    if (ok) {
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
  }
  DWORD ExitCode() const {
    DWORD code = 0xDEAD;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
  }
};

TEST(Processes, ExitCodesComeFromTheProgram) {
  struct Case {
    const char* commandLine;
    DWORD code;
  };
  for (Case c : {Case{"true", 0}, Case{"false", 1}, Case{R"(sh -c "exit 7")", 7}}) {
    Started p(c.commandLine);
    ASSERT_TRUE(p.ok) << c.commandLine;
    EXPECT_NE(p.info.dwProcessId, 0u);
    ASSERT_EQ(WaitForSingleObject(p.info.hProcess, kGenerous), WAIT_OBJECT_0);
    EXPECT_EQ(p.ExitCode(), c.code) << c.commandLine;
    EXPECT_EQ(WaitForSingleObject(p.info.hThread, 0), WAIT_OBJECT_0);
  }
}

TEST(Processes, ARunningProgramIsStillActiveUntilTerminated) {
  Started p("sleep 30");
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WaitForSingleObject(p.info.hProcess, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(TerminateProcess(p.info.hProcess, 99));
  ASSERT_EQ(WaitForSingleObject(p.info.hProcess, kGenerous), WAIT_OBJECT_0);
  EXPECT_EQ(p.ExitCode(), 99u);
  EXPECT_FALSE(TerminateProcess(p.info.hProcess, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(Processes, ArgumentsFolderAndEnvironmentReachTheProgram) {
  TempDir dir;
  Started p(R"(sh -c "printf '%s|' \"$@\" \"$GREETING\" > out.txt" sh "a b" c\"d)",
            dir.Path().c_str(), "GREETING=hello\0");
  ASSERT_TRUE(p.ok);
  ASSERT_EQ(WaitForSingleObject(p.info.hProcess, kGenerous), WAIT_OBJECT_0);
  EXPECT_EQ(p.ExitCode(), 0u);
  EXPECT_EQ(dir.Read("out.txt"), "a b|c\"d|hello|");
}

TEST(Processes, ArgumentsReachTheProgramInTheLocalesCharset) {
  for (const char* locale : {"de_DE.UTF-8", "C"}) {
    brambolt::ScopedLocale names(locale);
    TempDir dir;
    Started p("sh -c \"printf '%s' \\\"$1\\\" > out.txt\" sh Gr\xF6\xDF" "e", dir.Path().c_str());
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(WaitForSingleObject(p.info.hProcess, kGenerous), WAIT_OBJECT_0);
    EXPECT_EQ(dir.Read("out.txt"), std::string(locale) == "C" ? "Gr\xF6\xDF" "e" : "Gr\xC3\xB6\xC3\x9F" "e") << locale;
  }
}

TEST(Processes, StartsThatCannotWorkFail) {
  TempDir dir;
  const std::string plain = dir.Write("plain.txt", "not a program");
  struct Case {
    std::string commandLine;
    const char* directory;
    DWORD error;
  };
  const Case cases[] = {
      {"brambolt-no-such-program", nullptr, ERROR_FILE_NOT_FOUND},
      {dir / "missing/prog", nullptr, ERROR_FILE_NOT_FOUND},
      {plain, nullptr, ERROR_ACCESS_DENIED},
      {"true", "/brambolt/no/such/folder", ERROR_DIRECTORY},
  };
  for (const Case& c : cases) {
    Started p(c.commandLine, c.directory);
    EXPECT_FALSE(p.ok) << c.commandLine;
    EXPECT_EQ(GetLastError(), c.error) << c.commandLine;
  }
  PROCESS_INFORMATION info{};
  EXPECT_FALSE(CreateProcess(nullptr, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             nullptr, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Processes, TheApplicationNameIsTheProgramAndTheCommandLineItsArguments) {
  TempDir dir;
  std::string commandLine = R"(sh -c "echo ran > out.txt")";
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcess("/bin/sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            dir.Path().c_str(), nullptr, &info));
  ASSERT_EQ(WaitForSingleObject(info.hProcess, kGenerous), WAIT_OBJECT_0);
  EXPECT_EQ(dir.Read("out.txt"), "ran\n");
  EXPECT_EQ(GetProcessId(info.hProcess), info.dwProcessId);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
}

TEST(Processes, AProgramInheritsOnlyTheStandardStreams) {
  const int ours = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(ours, 3);
  Started p("sh -c \"test -e /proc/self/fd/" + std::to_string(ours) + "\"");
  ASSERT_TRUE(p.ok);
  ASSERT_EQ(WaitForSingleObject(p.info.hProcess, kGenerous), WAIT_OBJECT_0);
  EXPECT_EQ(p.ExitCode(), 1u);
  ::close(ours);
}

TEST(Processes, WinExecReports33OrTheError) {
  EXPECT_EQ(WinExec("true", 5), 33u);
  EXPECT_EQ(WinExec("brambolt-no-such-program", 5), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
}

TEST(Processes, TheSpawnHookAnswersInsteadOfTheSystem) {
  std::vector<brambolt::SpawnRequest> seen;
  DWORD answer = 0;
  brambolt::ScopedSpawnHook hook([&](const brambolt::SpawnRequest& r) {
    seen.push_back(r);
    return answer;
  });
  EXPECT_EQ(WinExec(R"("C:\Tools\msinfo32.exe" /report)", 5), 33u);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].program, "/Tools/msinfo32.exe");
  EXPECT_EQ(seen[0].argv, (std::vector<std::string>{R"(C:\Tools\msinfo32.exe)", "/report"}));

  Started p("anything at all");
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(WaitForSingleObject(p.info.hProcess, 0), WAIT_OBJECT_0);
  EXPECT_EQ(p.ExitCode(), 0u);
  EXPECT_FALSE(TerminateProcess(p.info.hProcess, 1));

  answer = ERROR_BAD_FORMAT;
  EXPECT_EQ(WinExec("tool", 5), static_cast<UINT>(ERROR_BAD_FORMAT));
}

TEST(Processes, AChildThatEndsWithTheProgramDoesNotOutliveItHoweverTheProgramEnds) {
  char self[4096] = {};
  ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
  environment.emplace_back("BRAMBOLT_ENDING_CHILD_HELPER=1");
  // Ended by a signal it can handle, the program ends its child's whole group; killed, the kernel
  // still ends the child (a grandchild is then the child's to end).
  const std::pair<int, bool> cases[] = {{SIGTERM, true}, {SIGHUP, true}, {SIGKILL, false}};
  for (const auto& [signal, bGroupEnds] : cases) {
    const bool bWholeGroup = bGroupEnds;  // a plain variable, for the lambda below
    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    brambolt::SpawnRequest request;
    request.program = self;
    request.argv = {self, "--gtest_filter=-*"};
    request.standardOutput = out[1];
    DWORD error = 0;
    const auto program = brambolt::Spawn(request, &error, &environment);
    ::close(out[1]);
    ASSERT_TRUE(program) << error;
    // Its pid, then its child's and grandchild's.
    std::string said;
    char buffer[64];
    while (std::count(said.begin(), said.end(), '\n') < 2) {
      pollfd readable{out[0], POLLIN, 0};
      if (::poll(&readable, 1, static_cast<int>(kGenerous)) <= 0) break;
      const ssize_t n = ::read(out[0], buffer, sizeof buffer);
      if (n <= 0) break;
      said.append(buffer, static_cast<size_t>(n));
    }
    ::close(out[0]);
    const pid_t helper = static_cast<pid_t>(std::atol(said.c_str()));
    pid_t child = 0, grandchild = 0;
    ASSERT_EQ(std::sscanf(said.c_str() + said.find('\n') + 1, "%d %d", &child, &grandchild), 2) << said;
    ASSERT_GT(helper, 0) << said;
    ASSERT_TRUE(Running(child) && Running(grandchild));
    ASSERT_EQ(::kill(helper, signal), 0);
    const std::shared_ptr<brambolt::Waitable> objects[] = {std::dynamic_pointer_cast<brambolt::Waitable>(program)};
    ASSERT_EQ(brambolt::WaitForObjects(objects, true, kGenerous), WAIT_OBJECT_0);
    // The kernel's signal to an orphan takes a moment; a process left running fails the test.
    auto left = [&] { return Running(child) || (bWholeGroup && Running(grandchild)); };
    bool bLeft = left();
    for (int n = 0; n < 400 && bLeft; ++n) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
      bLeft = left();
    }
    EXPECT_FALSE(bLeft) << "a process outlived the program ended by signal " << signal;
    for (pid_t pid : {child, grandchild})
      if (Running(pid)) ::kill(pid, SIGKILL);
  }
}

}  // namespace

// Processes: command-line splitting, real system programs' exit codes, termination, WinExec.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TempDir.h"
#include "base/LastError.h"
#include "os/Process.h"
#include "os/Sync.h"

namespace {

using brambolt::SplitCommandLine;
using brambolt::testing_os::TempDir;

constexpr DWORD kGenerous = 20000;  // a wait that must not time out

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

}  // namespace

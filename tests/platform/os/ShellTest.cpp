// Shell execution through the association table (programs are never started: a spawn hook
// records them), the taskbar state, special folders and the help viewers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempDir.h"
#include "base/CodePage.h"
#include "base/LastError.h"
#include "os/Help.h"
#include "os/Process.h"
#include "os/Shell.h"
#include "os/Sync.h"

namespace {

using brambolt::SpawnRequest;
using brambolt::testing_os::ScopedEnv;
using brambolt::testing_os::TempDir;

constexpr int kShow = 5;

class ShellExecution : public ::testing::Test {
 protected:
  void SetUp() override {
    brambolt::ResetShellAssociations();
    brambolt::SetShellAssociation("*", "opener");
    brambolt::SetShellAssociation(".hhp", "chmcmd");
  }
  void TearDown() override { brambolt::ResetShellAssociations(); }

  // ShellExecuteEx as the project-file command calls it: record of 60 bytes, mask 12.
  BOOL OpenProject(const std::string& file, SHELLEXECUTEINFOA& info) {
    info = {};
    info.cbSize = SHELLEXECUTEINFO_SIZE_32;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.lpFile = file.c_str();
    info.nShow = kShow;
    return ShellExecuteEx(&info);
  }
  static INT_PTR Code(HINSTANCE h) { return reinterpret_cast<INT_PTR>(h); }

  std::vector<SpawnRequest> started;
  DWORD answer = 0;
  brambolt::ScopedSpawnHook hook{[this](const SpawnRequest& r) {
    started.push_back(r);
    return answer;
  }};
  TempDir dir;
};

TEST_F(ShellExecution, AProjectFileRunsTheHelpCompilerInItsFolder) {
  const std::string project = dir.Write("help/Brambolt.hhp", "[OPTIONS]\r\n");
  SHELLEXECUTEINFOA info;
  ASSERT_TRUE(OpenProject(project, info));
  EXPECT_GT(Code(info.hInstApp), 32);
  EXPECT_EQ(info.hProcess, nullptr);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].argv, (std::vector<std::string>{"chmcmd", project}));
  EXPECT_EQ(started[0].directory, dir / "help");
}

TEST_F(ShellExecution, AProjectFileFailsWithoutTheHelpCompiler) {
  brambolt::SetShellAssociation(".hhp", "");
  const std::string project = dir.Write("Brambolt.hhp");
  SHELLEXECUTEINFOA info;
  EXPECT_FALSE(OpenProject(project, info));
  EXPECT_EQ(Code(info.hInstApp), SE_ERR_NOASSOC);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_ASSOCIATION));
  EXPECT_TRUE(started.empty());
}

TEST_F(ShellExecution, FailuresCarryTheirShellCodes) {
  dir.Write("page.htm", "<html>");
  struct Case {
    const char* what;
    const char* verb;
    std::string file;
    DWORD hookAnswer;
    INT_PTR code;
    DWORD error;
  };
  const Case cases[] = {
      {"missing file", "open", dir / "none.htm", 0, SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
      {"missing folder", "open", dir / "none/page.htm", 0, SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
      {"unknown verb", "print", dir / "page.htm", 0, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
      {"denied", "open", dir / "page.htm", ERROR_ACCESS_DENIED, SE_ERR_ACCESSDENIED,
       ERROR_ACCESS_DENIED},
      {"out of memory", "open", dir / "page.htm", ERROR_NOT_ENOUGH_MEMORY, SE_ERR_OOM,
       ERROR_NOT_ENOUGH_MEMORY},
      {"program missing", nullptr, dir / "page.htm", ERROR_FILE_NOT_FOUND, SE_ERR_FNF,
       ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    answer = c.hookAnswer;
    HINSTANCE result = ShellExecute(nullptr, c.verb, c.file.c_str(), nullptr, nullptr, kShow);
    EXPECT_EQ(Code(result), c.code) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
}

TEST_F(ShellExecution, URLsGoToTheProgramOfTheirScheme) {
  brambolt::SetShellAssociation("HTTP:", "browser");
  HINSTANCE web = ShellExecute(nullptr, "open", "http://www.example.com/", nullptr, nullptr, kShow);
  HINSTANCE mail =
      ShellExecute(nullptr, "open", "mailto:support@example.com", nullptr, nullptr, kShow);
  EXPECT_GT(Code(web), 32);
  EXPECT_GT(Code(mail), 32);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[0].argv, (std::vector<std::string>{"browser", "http://www.example.com/"}));
  EXPECT_EQ(started[1].argv, (std::vector<std::string>{"opener", "mailto:support@example.com"}));
}

TEST_F(ShellExecution, WithoutAnOpenerDocumentsHaveNoAssociation) {
  brambolt::RemoveShellAssociation("*");
  const std::string page = dir.Write("index.htm");
  EXPECT_EQ(Code(ShellExecute(nullptr, "open", page.c_str(), nullptr, nullptr, kShow)),
            SE_ERR_NOASSOC);
  EXPECT_EQ(Code(ShellExecute(nullptr, "open", "http://x/", nullptr, nullptr, kShow)),
            SE_ERR_NOASSOC);
  EXPECT_TRUE(started.empty());
}

TEST_F(ShellExecution, AnExecutableRunsWithItsParametersSplit) {
  const std::string tool = dir.Write("tool", "#!/bin/sh\n");
  ::chmod(tool.c_str(), 0755);
  HINSTANCE result = ShellExecute(nullptr, nullptr, tool.c_str(), R"(-x "a b")", nullptr, kShow);
  EXPECT_GT(Code(result), 32);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].argv, (std::vector<std::string>{tool, "-x", "a b"}));
  // The parameters (file names most of all) reach the program in the locale's charset.
  for (const char* locale : {"de_DE.UTF-8", "C"}) {
    brambolt::ScopedLocale names(locale);
    started.clear();
    ShellExecute(nullptr, nullptr, tool.c_str(), "Gr\xF6\xDF" "e.h", nullptr, kShow);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].argv.back(), std::string(locale) == "C" ? "Gr\xF6\xDF" "e.h" : "Gr\xC3\xB6\xC3\x9F" "e.h");
  }
}

TEST_F(ShellExecution, AWindowsSpelledPathIsFoundRelativeToTheDirectory) {
  const std::string page = dir.Write("Htmls/Index.htm");
  HINSTANCE result =
      ShellExecute(nullptr, "open", "htmls\\index.htm", nullptr, dir.Path().c_str(), kShow);
  EXPECT_GT(Code(result), 32);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].argv, (std::vector<std::string>{"opener", page}));
}

TEST_F(ShellExecution, NoCloseProcessGivesAWaitableProcessHandle) {
  const std::string page = dir.Write("index.htm");
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpFile = page.c_str();
  ASSERT_TRUE(ShellExecuteEx(&info));
  ASSERT_NE(info.hProcess, nullptr);
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_OBJECT_0);
  DWORD code = 1;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 0u);
  CloseHandle(info.hProcess);
}

TEST_F(ShellExecution, ARecordOfAnUnknownSizeIsRefused) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = 12;
  info.lpFile = "http://x/";
  EXPECT_FALSE(ShellExecuteEx(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_TRUE(started.empty());
}

TEST(DesktopShell, TheTaskbarIsNeverAlwaysOnTop) {
  APPBARDATA data{};
  data.cbSize = sizeof data;
  EXPECT_EQ(SHAppBarMessage(ABM_GETSTATE, &data), 0u);
  EXPECT_EQ(SHAppBarMessage(ABM_GETSTATE, &data) & ABS_ALWAYSONTOP, 0u);
}

TEST(DesktopShell, SpecialFoldersFollowTheHomeAndConfigurationFolders) {
  TempDir home;
  ScopedEnv setHome("HOME", home.Path());
  ScopedEnv setConfig("XDG_CONFIG_HOME", home / "config");
  char path[MAX_PATH];
  ASSERT_EQ(SHGetFolderPath(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
  EXPECT_EQ(std::string(path), home.Path());
  // The configuration folder does not exist until asked to be made.
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, CSIDL_APPDATA, FALSE));
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_APPDATA, TRUE));
  EXPECT_EQ(std::string(path), home / "config");
  EXPECT_TRUE(home.Exists("config"));
  EXPECT_EQ(SHGetFolderPath(nullptr, 0x7F, nullptr, SHGFP_TYPE_CURRENT, path), E_INVALIDARG);
}

TEST(HelpViewers, ReportFailureAndShowNothing) {
  EXPECT_FALSE(WinHelp(nullptr, "Brambolt.hlp", HELP_CONTEXT, 0x1EF02));
  EXPECT_EQ(HtmlHelp(nullptr, "Brambolt.chm", HH_DISPLAY_TOPIC, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace

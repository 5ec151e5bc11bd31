// The HTML Help compile beside the window: a fake compiler that writes slowly and never ends keeps
// the compile's window filling and answering, Cancel and the program's end leave no compiler
// process behind, and a compile that ends shows its whole output with the result under it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "model/CGenHtmlHelpClass.h"
#include "model/HelpCompilerRun.h"
#include "os/FileFaults.h"
#include "os/Shell.h"
#include "resources/resource.h"
#include "testing/testing.h"
#include "ModelTestSupport.h"

using namespace brambolt::test;

namespace {

namespace fs = std::filesystem;

// Processes of the group that still run (a zombie has ended and only waits to be reaped).
int RunningInGroup(long nGroup) {
  int nRunning = 0;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::ifstream in(entry.path() / "stat");
    std::string stat;
    if (!std::getline(in, stat)) continue;
    // pid (name) state ppid pgrp ...: the name may hold blanks, so read after its last ')'.
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    char state = 0;
    long ppid = 0, pgrp = 0;
    if (std::sscanf(stat.c_str() + close + 1, " %c %ld %ld", &state, &ppid, &pgrp) == 3 && pgrp == nGroup &&
        state != 'Z')
      ++nRunning;
  }
  return nRunning;
}

// The processes of the group left once the kill reached them all: a child of the compiler may need
// a moment after the compiler itself was reaped (bounded, so a survivor still fails the test).
int LeftInGroup(long nGroup) {
  int nRunning = RunningInGroup(nGroup);
  for (int n = 0; n < 200 && nRunning > 0; ++n) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    nRunning = RunningInGroup(nGroup);
  }
  return nRunning;
}

std::string EditText(HWND hDialog) {
  HWND hEdit = ::GetDlgItem(hDialog, IDC_COMPILER_OUTPUT);
  std::string text(static_cast<size_t>(::GetWindowTextLengthA(hEdit)) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowTextA(hEdit, text.data(), static_cast<int>(text.size()))));
  return text;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The process id the fake compiler printed after "started ", or 0 before it has printed it.
long PidOfStarted(const std::string& text) {
  const size_t at = text.find("started ");
  return at == std::string::npos ? 0 : std::atol(text.c_str() + at + 8);
}

// A help project folder with a fake compiler for ".hhp" files and a window to own the compile.
class HelpCompile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = stores.TempDir() + "/Output_Eng/";
    fs::create_directories(folder);
    compiler = stores.TempDir() + "/fake-compiler";
    std::ofstream(folder + "Help.hhp", std::ios::binary) << "[OPTIONS]\r\nCompiled file=Help.chm\r\nTitle=Help\r\n";
  }
  void TearDown() override { brambolt::ResetShellAssociations(); }

  // The script finds the help file to write in the project it is given, as "$out".
  void Compiler(const std::string& script) {
    std::ofstream(compiler) << "#!/bin/sh\nout=$(sed -n 's/^Compiled file=//p' \"$1\" | tr -d '\\r')\n" << script;
    ::chmod(compiler.c_str(), 0755);
    brambolt::SetShellAssociation(".hhp", compiler.c_str());
  }
  // Pumps the compile window's messages until its output holds the text n times.
  static void WaitForOutput(HWND hDialog, const std::string& part, size_t n = 1) {
    while (Count(EditText(hDialog), part) < n) {
      ::WaitMessage();
      RunUntilIdle();
    }
  }
  static long StartedPid(HWND hDialog) {
    return PidOfStarted(EditText(hDialog));
  }
  BOOL Compile(HWND hOwner) { return CompileHtmlHelp(folder.c_str(), "Help.hhp", "Help.chm", hOwner); }

  UiSession session;
  PrivateStores stores;
  model_test::RecordingShell shell;
  NotificationRecorder owner;
  ModalAnswers answers;
  std::string folder, compiler;
};

// Empties its help file as it starts, as the HTML Help compiler does, and never ends.
constexpr const char* kEndless =
    "echo started $$\n: > \"$out\"\nwhile :; do echo compiling a page; sleep 0.01; done\n";

// The files of the project's folder, with what each holds.
std::map<std::string, std::string> FolderFiles(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] =
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  return files;
}

TEST_F(HelpCompile, TheWindowFillsAndAnswersWhileTheCompilerRunsAndCancelLeavesNoProcessAndTheOldHelpFile) {
  Compiler(kEndless);
  std::ofstream(folder + "Help.chm", std::ios::binary) << "ITSF the help from before";
  long nCompiler = 0;
  LRESULT nAnswered = 0;
  answers.When(nullptr, "HTML Help Compiler", [&](HWND hDialog) {
    WaitForOutput(hDialog, "compiling a page", 3);  // the output comes as it is written
    nCompiler = StartedPid(hDialog);
    EXPECT_GE(RunningInGroup(nCompiler), 1) << "the compiler runs";
    // A message sent from another thread is answered while the compiler runs.
    std::atomic<bool> bDone{false};
    std::thread other([&] {
      nAnswered = ::SendMessage(hDialog, WM_GETTEXTLENGTH, 0, 0);
      bDone = true;
      ::PostMessage(hDialog, WM_NULL, 0, 0);
    });
    while (!bDone) {
      ::WaitMessage();
      RunUntilIdle();
    }
    other.join();
    Click(::GetDlgItem(hDialog, IDCANCEL), {5, 5});
  });
  EXPECT_TRUE(Compile(owner.Hwnd()));
  EXPECT_EQ(nAnswered, static_cast<LRESULT>(std::string("HTML Help Compiler").size()));
  ASSERT_GT(nCompiler, 0);
  EXPECT_EQ(LeftInGroup(nCompiler), 0);
  // The help file from before is there as it was, nothing of the compile is left, and the user is told.
  EXPECT_EQ(FolderFiles(folder), (std::map<std::string, std::string>{
                                     {"Help.chm", "ITSF the help from before"},
                                     {"Help.hhp", "[OPTIONS]\r\nCompiled file=Help.chm\r\nTitle=Help\r\n"}}));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0], "ShowMessage 64 The HTML Help compile was cancelled. The help file " +
                                (fs::path(folder) / "Help.chm").string() + " is the one from before.");
}

TEST_F(HelpCompile, TheProgramEndingDuringACompileLeavesNoProcess) {
  Compiler(kEndless);
  long nCompiler = 0;
  answers.When(nullptr, "HTML Help Compiler", [&](HWND hDialog) {
    WaitForOutput(hDialog, "compiling a page");
    nCompiler = StartedPid(hDialog);
    ::PostQuitMessage(3);
  });
  EXPECT_TRUE(Compile(owner.Hwnd()));
  ASSERT_GT(nCompiler, 0);
  EXPECT_EQ(LeftInGroup(nCompiler), 0);
  MSG msg;
  ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit goes on to the program's loop";
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_TRUE(shell.calls.empty());
}

// Holds the compile window's output edit while it shows the compiler's line 59: the compiler is
// let go on (it writes its last line and ends) and the edit goes on once the compiler has ended,
// so the compiler's last line and its end are read while the window is busy showing what came
// before.
struct HeldOutput {
  static inline WNDPROC s_original = nullptr;
  static inline std::string s_go;
  static LRESULT CALLBACK Proc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    const char* lpszText = reinterpret_cast<const char*>(lParam);
    // The line may come in two pieces: the whole text is looked at.
    const std::string text = nMessage == EM_REPLACESEL && lpszText != nullptr && !s_go.empty()
                                 ? EditText(hWnd) + lpszText
                                 : std::string();
    if (text.find("line 59 of") != std::string::npos) {
      const long nCompiler = PidOfStarted(text);
      std::ofstream(s_go) << "go";
      s_go.clear();
      for (int n = 0; n < 1000 && nCompiler > 0 && ::kill(static_cast<pid_t>(nCompiler), 0) == 0; ++n)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the reader takes the end in
    }
    return ::CallWindowProc(s_original, hWnd, nMessage, wParam, lParam);
  }
};

// The window learns that the compiler has ended together with the output it takes: the compiler's
// last lines, read while the window was still showing the ones before, come above the result, and
// an error the compiler prints last fails the compile, the help file from before staying.
TEST_F(HelpCompile, TheCompilersLastLinesAreShownBeforeTheResultThoughReadWhileTheWindowWasBusy) {
  std::ofstream(folder + "Help.chm", std::ios::binary) << "ITSF the help from before";
  HeldOutput::s_go = stores.TempDir() + "/go";
  const std::string ready = stores.TempDir() + "/ready";
  // Each wait of the compiler is bounded, so that a test that fails does not hang.
  const auto waitFor = [](const std::string& file) {
    return "n=0; while [ ! -e '" + file + "' ] && [ $n -lt 6000 ]; do sleep 0.01; n=$((n+1)); done\n";
  };
  Compiler("echo started $$\n" + waitFor(ready) +
           "i=1; while [ $i -le 59 ]; do echo \"line $i of the compiler\"; i=$((i+1)); done\n" + waitFor(HeldOutput::s_go) +
           "printf 'ITSF' > \"$out\"\necho 'Error: line 60, a page could not be compiled'\n");
  std::string shown;
  answers.When(nullptr, "HTML Help Compiler", [&](HWND hDialog) {
    HWND hEdit = ::GetDlgItem(hDialog, IDC_COMPILER_OUTPUT);
    HeldOutput::s_original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HeldOutput::Proc)));
    std::ofstream(ready) << "ready";  // the compiler writes its lines now
    WaitForOutput(hDialog, "The compiler made no help file");
    shown = EditText(hDialog);
    Click(::GetDlgItem(hDialog, IDCANCEL), {5, 5});
  });
  EXPECT_TRUE(Compile(owner.Hwnd()));
  EXPECT_TRUE(HeldOutput::s_go.empty()) << "the compiler's line 59 was never shown";
  const size_t nLast = shown.find("Error: line 60, a page could not be compiled\r\n");
  ASSERT_NE(nLast, std::string::npos) << shown;
  EXPECT_LT(nLast, shown.find("The compiler made no help file: the compiler reported an error.")) << shown;
  EXPECT_EQ(FolderFiles(folder)["Help.chm"], "ITSF the help from before");
}

TEST_F(HelpCompile, AnEndedCompileShowsItsWholeOutputAndTheResultAndAnEmptyHelpFileIsAFailure) {
  Compiler("i=1; while [ $i -le 60 ]; do echo \"line $i of the compiler\"; i=$((i+1)); done\n"
           "printf 'ITSF' > \"$out\"\n");
  std::string shown;
  answers.When(nullptr, "HTML Help Compiler", [&](HWND hDialog) {
    WaitForOutput(hDialog, "Compiled file: ");
    shown = EditText(hDialog);
    char button[16] = {};
    ::GetDlgItemTextA(hDialog, IDCANCEL, button, sizeof button);
    EXPECT_STREQ(button, "Close");
    Click(::GetDlgItem(hDialog, IDCANCEL), {5, 5});
  });
  EXPECT_TRUE(Compile(owner.Hwnd()));
  EXPECT_NE(shown.find("line 1 of the compiler\r\n"), std::string::npos);
  EXPECT_NE(shown.find("line 60 of the compiler\r\n"), std::string::npos);
  EXPECT_NE(shown.find("Compiled file: " + (fs::path(folder) / "Help.chm").string()), std::string::npos);

  EXPECT_EQ(FolderFiles(folder)["Help.chm"], "ITSF");

  // Without a window the result is a message; a help file of no bytes was not made, and the one
  // from the compile before stays.
  Compiler("echo the compiler failed\n: > \"$out\"\n");
  EXPECT_TRUE(Compile(nullptr));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].rfind("ShowMessage 48 ", 0), 0u) << shell.calls[0];
  EXPECT_NE(shell.calls[0].find("the compiler failed\n\nThe compiler made no help file."), std::string::npos)
      << shell.calls[0];
  EXPECT_EQ(FolderFiles(folder).size(), 2u) << "no working file is left";
  EXPECT_EQ(FolderFiles(folder)["Help.chm"], "ITSF");
}

// A compile that fails leaves the help file from before as it was, though the compiler wrote part
// of a new one: it failed when it ended with a status other than 0 (chmcmd on a full disk) or said
// so in its output. A disk too full for the working copy of the project compiles nothing: the
// compiler would write over the help file itself. Each says what there is now.
TEST_F(HelpCompile, AFailedCompileKeepsTheHelpFileFromBeforeAndSaysWhy) {
  const std::string before = "ITSF the help from before";
  const std::string kept =
      "The help file " + (fs::path(folder) / "Help.chm").string() + " is the one from before, as it was.";
  const struct {
    const char* script;
    const char* told;
  } cases[] = {
      {"printf 'ITSF cut' > \"$out\"\necho 'An unhandled exception occurred at $00000000004161F1:'\n"
       "echo 'EWriteError: Stream write error'\nexit 217\n",
       "EWriteError: Stream write error\n\nThe compiler made no help file: the compiler failed (exit status 217). "},
      {"printf 'ITSF cut' > \"$out\"\necho 'Error: Help.hhc: no room left'\n",
       "Error: Help.hhc: no room left\n\nThe compiler made no help file: the compiler reported an error. "},
  };
  const std::map<std::string, std::string> files{{"Help.chm", before},
                                                 {"Help.hhp", "[OPTIONS]\r\nCompiled file=Help.chm\r\nTitle=Help\r\n"}};
  std::ofstream(folder + "Help.chm", std::ios::binary) << before;
  for (const auto& c : cases) {
    Compiler(c.script);
    shell.calls.clear();
    EXPECT_TRUE(Compile(nullptr));
    EXPECT_EQ(FolderFiles(folder), files);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].rfind("ShowMessage 48 ", 0), 0u) << shell.calls[0];
    EXPECT_NE(shell.calls[0].find(c.told + kept), std::string::npos) << shell.calls[0];
  }

  // It would empty the help file, compiled in place.
  Compiler(": > \"$out\"\n: > ran\n");
  brambolt::ScopedFileFaultHook full([](brambolt::FileStep step, const std::string& path) {
    return step == brambolt::FileStep::Create && path.find("compiling") != std::string::npos ? ENOSPC : 0;
  });
  shell.calls.clear();
  EXPECT_TRUE(Compile(nullptr));
  EXPECT_EQ(FolderFiles(folder), files) << "nothing compiled, nothing left";
  EXPECT_EQ(shell.calls, (std::vector<std::string>{
                             "ShowMessage 48 The HTML Help was not compiled: its working copy of " + folder +
                             "Help.hhp could not be written in " + fs::path(folder).parent_path().string() +
                             " (No space left on device). " + kept}));
}

// A compile of another instance still running into the same folder keeps its files; once that
// instance has been killed, the next compile there removes what it left. The compile's window,
// and its message without a window, name the help file asked for, not the file written meanwhile.
TEST_F(HelpCompile, LeftoversOfAKilledCompileGoAtTheNextCompileAndTheOutputNamesTheHelpFile) {
  // With a file "hold" in the folder the compiler says so with "held" and waits.
  Compiler("echo \"Writing CHM $out\"\nprintf ITSF > \"$out\"\n"
           "if [ -f hold ]; then : > held; sleep 600; fi\n");
  std::ofstream(folder + "hold") << "";
  const pid_t other = ::fork();
  if (other == 0) {
    CompileHtmlHelp(folder.c_str(), "Help.hhp", "Help.chm", nullptr);
    ::_exit(0);
  }
  ASSERT_GT(other, 0);
  for (int n = 0; n < 2000 && !fs::exists(folder + "held"); ++n)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(fs::exists(folder + "held"));
  fs::remove(folder + "hold");
  fs::remove(folder + "held");
  const std::map<std::string, std::string> during = FolderFiles(folder);
  ASSERT_EQ(during.size(), 3u) << ::testing::PrintToString(during);  // the project, its copy, the help file written

  std::string shown;
  answers.When(nullptr, "HTML Help Compiler", [&](HWND hDialog) {
    WaitForOutput(hDialog, "Compiled file: ");
    shown = EditText(hDialog);
    Click(::GetDlgItem(hDialog, IDCANCEL), {5, 5});
  });
  EXPECT_TRUE(Compile(owner.Hwnd()));
  EXPECT_NE(shown.find("Writing CHM Help.chm\r\n"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("compiling"), std::string::npos) << shown;
  std::map<std::string, std::string> expected = during;
  expected["Help.chm"] = "ITSF";
  EXPECT_EQ(FolderFiles(folder), expected) << "the running compile's files stay";

  ASSERT_EQ(::kill(other, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(other, &status, 0), other);
  EXPECT_TRUE(Compile(nullptr));
  EXPECT_EQ(FolderFiles(folder), (std::map<std::string, std::string>{
                                     {"Help.chm", "ITSF"},
                                     {"Help.hhp", "[OPTIONS]\r\nCompiled file=Help.chm\r\nTitle=Help\r\n"}}));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_NE(shell.calls[0].find("\nWriting CHM Help.chm\n"), std::string::npos) << shell.calls[0];
  EXPECT_EQ(shell.calls[0].find("compiling"), std::string::npos) << shell.calls[0];
}

}  // namespace

// The HTML Help compiler as a child process beside the window: what it writes is read on a thread
// of its own and handed to a watching window as it comes, and the compiler, with every process it
// started, is ended on request and always before the run object dies.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/base.h"
#include "os/Process.h"
#include "win/WinMessages.h"

// Posted to the watching window when the compiler wrote more, or when it has ended (its output
// closed and the program gone). The window then asks the run what is new.
inline constexpr UINT WM_HELP_COMPILER_NEWS = WM_APP + 0x1C0;

class HelpCompilerRun {
 public:
  HelpCompilerRun() = default;
  ~HelpCompilerRun();
  HelpCompilerRun(const HelpCompilerRun&) = delete;
  HelpCompilerRun& operator=(const HelpCompilerRun&) = delete;

  // Starts the program in a process group of its own, its standard output and error into the run;
  // FALSE with *pError set when it cannot start.
  BOOL Start(brambolt::SpawnRequest request, DWORD* pError);
  // The window told of what comes from now on (and at once of anything already there); NULL stops.
  void Watch(HWND hWnd);
  // Names the output shows as others: the compiler's working files as the files they become.
  // Set before the compiler writes.
  void ShowNamesAs(std::vector<std::pair<std::string, std::string>> names);
  // What the compiler wrote since the last call, with the names shown as set. While the compiler
  // runs, an end that may be the start of such a name waits for what follows. With pbEnded, also
  // whether the compiler has ended and what was returned is the whole rest of its output (told
  // together, so nothing read after the answer is missed).
  std::string TakeNewOutput(bool* pbEnded = nullptr);
  std::string GetOutput() const;
  // TRUE once the compiler has ended and everything it wrote has been read.
  BOOL IsFinished() const;
  // The compiler's exit status once it has ended (128 + the signal for one killed by a signal);
  // FALSE while it runs or when it never started.
  BOOL GetExitCode(DWORD* pCode) const;
  // Waits without a window until the compiler ends; FALSE when it wrote nothing for nSilenceMs.
  BOOL WaitFinished(DWORD nSilenceMs);
  // Ends the compiler and every process of its group, and waits until none is left.
  void End();

 private:
  void Read(int nOutput, int nWake);
  void NotifyLocked();
  std::string ShownLocked(size_t nFrom, size_t nTo) const;

  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::string m_output;
  std::vector<std::pair<std::string, std::string>> m_names;
  size_t m_nTaken = 0;
  bool m_bFinished = false;
  bool m_bNotified = false;  // a notice is on its way to the window and not yet answered
  HWND m_hWnd = nullptr;
  std::shared_ptr<brambolt::KernelObject> m_process;
  int m_nWake = -1;      // written to wake the reader when the run ends
  int m_nWakeRead = -1;  // what the reader watches for it
  std::thread m_reader;
};

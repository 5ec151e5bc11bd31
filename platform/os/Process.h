// Processes under the Win32 names: CreateProcess, WinExec, exit codes and TerminateProcess for
// the programs we start, all through posix_spawn with an argument list (never a shell).
//
// A process handle is signalled when the program ends. A program killed by a signal that we did
// not send with TerminateProcess reports 128 + the signal number as its exit code.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/WinTypes.h"
#include "os/KernelObject.h"

typedef struct _STARTUPINFOA {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
} STARTUPINFOA, *LPSTARTUPINFOA, STARTUPINFO, *LPSTARTUPINFO;

typedef struct _PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
} PROCESS_INFORMATION, *PPROCESS_INFORMATION, *LPPROCESS_INFORMATION;

#define STARTF_USESHOWWINDOW 0x00000001
#define STARTF_USESTDHANDLES 0x00000100
#define DEBUG_PROCESS 0x00000001
#define CREATE_NEW_CONSOLE 0x00000010
#define DETACHED_PROCESS 0x00000008
#define NORMAL_PRIORITY_CLASS 0x00000020
#define IDLE_PRIORITY_CLASS 0x00000040
#define CREATE_NO_WINDOW 0x08000000

// Starts a program. The program is lpApplicationName when given, else the first word of
// lpCommandLine (found on PATH when it has no folder); the command line is split into arguments
// by the Windows rules (quotes group, backslashes escape only quotes). Standard handles are
// inherited; CREATE_SUSPENDED and DEBUG_PROCESS are refused with ERROR_NOT_SUPPORTED.
BOOL CreateProcess(LPCSTR lpApplicationName, LPSTR lpCommandLine,
                   LPSECURITY_ATTRIBUTES lpProcessAttributes,
                   LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles,
                   DWORD dwCreationFlags, LPVOID lpEnvironment, LPCSTR lpCurrentDirectory,
                   LPSTARTUPINFOA lpStartupInfo, LPPROCESS_INFORMATION lpProcessInformation);
// STILL_ACTIVE while the program runs.
BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);
// Kills a program we started; FALSE with ERROR_ACCESS_DENIED when it has ended already.
BOOL TerminateProcess(HANDLE hProcess, UINT uExitCode);
// The pseudo-handle (HANDLE)-1 of the calling process.
HANDLE GetCurrentProcess();
DWORD GetProcessId(HANDLE hProcess);
// CreateProcess of the command line: 33 when the program started, else ERROR_FILE_NOT_FOUND,
// ERROR_PATH_NOT_FOUND, ERROR_BAD_FORMAT, or 0 when resources ran out.
UINT WinExec(LPCSTR lpCmdLine, UINT uCmdShow);

#define CreateProcessA CreateProcess

namespace brambolt {

// Splits a Windows command line into arguments: the first (the program) ends at the closing
// quote or the first blank; in the others 2n backslashes before a quote give n backslashes and
// the quote groups, 2n+1 give n backslashes and a literal quote, and "" inside quotes is a quote.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The full path of a program found on PATH, or "" when there is none.
std::string FindProgram(std::string_view name);

// A program start as the platform is about to perform it.
struct SpawnRequest {
  std::string program;            // a path, or a name looked up on PATH
  std::vector<std::string> argv;  // argv[0] included
  std::string directory;          // native working folder, "" for the current one
  int standardOutput = -1;        // a descriptor the program writes its standard output to, -1: ours
  bool errorsToOutput = false;    // its standard error goes where its standard output goes
  bool ownGroup = false;          // it leads a process group of its own (see EndProgramGroup)
  // It does not outlive this program, however the program ends: the kernel kills it when the
  // thread that started it ends (start it from a thread that lives as long as the program), and
  // SIGTERM, SIGHUP and SIGINT to the program first end its group (with ownGroup).
  bool endWithParent = false;
};

// While a hook is installed, every program start (CreateProcess, WinExec, ShellExecute) goes to
// it instead of the system: it returns 0 to act as if the program started (it then ends at once
// with exit code 0) or a Win32 error code to make the start fail. Tests use it so that they never
// launch real programs. Hooks nest; the object removes its own.
using SpawnHook = std::function<DWORD(const SpawnRequest&)>;
class ScopedSpawnHook {
 public:
  explicit ScopedSpawnHook(SpawnHook hook);
  ~ScopedSpawnHook();
  ScopedSpawnHook(const ScopedSpawnHook&) = delete;
  ScopedSpawnHook& operator=(const ScopedSpawnHook&) = delete;

 private:
  SpawnHook m_previous;
};

// Starts a program; on success returns its process object (waitable, of type Process), else
// null with *error set to a Win32 code. `environment` is "name=value" entries, or null to pass
// ours.
std::shared_ptr<KernelObject> Spawn(const SpawnRequest& request, DWORD* error,
                                    const std::vector<std::string>* environment = nullptr);

// Runs a program in the "C" locale and collects what it writes to its standard output (and its
// standard error, when the request asks) until it closes it, waiting at most `timeoutMs` for more. False with *error set when it cannot start.
// A spawn hook sees the request with the pipe in standardOutput and may write the output there.
bool ReadProgramOutput(SpawnRequest request, std::string* output, DWORD* error, DWORD timeoutMs = 5000);

// Ends a program that Spawn started with ownGroup, and every process of its group (the programs
// it started), and returns once the program has ended. Nothing for one that has ended already.
void EndProgramGroup(const std::shared_ptr<KernelObject>& process);

}  // namespace brambolt

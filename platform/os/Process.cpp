// Processes over posix_spawn (over fork where a child must end with the program); a reaper
// thread per child waits for its end and signals its handle.
#include "os/Process.h"

#include "base/Convert.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "base/LastError.h"
#include "os/Paths.h"
#include "os/Threads.h"
#include "os/Waitable.h"

extern char** environ;

namespace brambolt {

namespace {

class ProcessObject : public Waitable {
 public:
  explicit ProcessObject(pid_t pid) : Waitable(Type::Process), pid(pid) {}
  bool IsSignaled(DWORD) const override { return exited; }

  const pid_t pid;  // 0 for a start that a spawn hook answered
  // Guarded by WaitLock(). The child is reaped under it, so while `exited` is false the pid is
  // still ours and TerminateProcess may signal it.
  bool exited = false;
  bool terminated = false;
  DWORD exitCode = STILL_ACTIVE;
};

// The main thread of a child: it ends with the program.
class ProcessThread : public Waitable {
 public:
  explicit ProcessThread(std::shared_ptr<ProcessObject> process)
      : Waitable(Type::Thread), process(std::move(process)) {}
  bool IsSignaled(DWORD threadId) const override { return process->IsSignaled(threadId); }
  const std::shared_ptr<ProcessObject> process;
};

void Forget(pid_t pid);

void Reap(std::shared_ptr<ProcessObject> process) {
  siginfo_t info{};
  int result;
  do result = ::waitid(P_PID, static_cast<id_t>(process->pid), &info, WEXITED | WNOWAIT);
  while (result != 0 && errno == EINTR);
  std::lock_guard<std::mutex> lock(WaitLock());
  Forget(process->pid);  // while the ended child still holds its pid
  int status = 0;
  if (::waitpid(process->pid, &status, 0) == process->pid && !process->terminated) {
    if (WIFEXITED(status))
      process->exitCode = static_cast<DWORD>(WEXITSTATUS(status));
    else if (WIFSIGNALED(status))
      process->exitCode = 128 + static_cast<DWORD>(WTERMSIG(status));
  } else if (!process->terminated) {
    process->exitCode = 0;  // reaped elsewhere: the status is lost
  }
  process->exited = true;
  NotifyWaitersLocked();
}

// The children that end with the program: their pids, for the handler of the signals that end
// it, which may only read these slots and send signals.
constexpr int kEndingSlots = 64;
std::atomic<pid_t> endingChildren[kEndingSlots];
std::atomic<bool> endingHandlerSet{false};

void EndChildrenOnSignal(int signal) {
  for (std::atomic<pid_t>& slot : endingChildren)
    if (const pid_t pid = slot.load(); pid > 0 && ::kill(-pid, SIGKILL) != 0) ::kill(pid, SIGKILL);
  // Then the signal does what it did before: the program ends.
  struct sigaction plain {};
  plain.sa_handler = SIG_DFL;
  ::sigaction(signal, &plain, nullptr);
  ::raise(signal);
}

// Installs the handler for the signals that end the program, where the program has none of its own.
void EndChildrenWithProgram() {
  if (endingHandlerSet.exchange(true)) return;
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
        (current.sa_flags & SA_SIGINFO) != 0)
      continue;
    struct sigaction ending {};
    ending.sa_handler = EndChildrenOnSignal;
    sigemptyset(&ending.sa_mask);
    ::sigaction(signal, &ending, nullptr);
  }
}

void Remember(pid_t pid) {
  for (std::atomic<pid_t>& slot : endingChildren) {
    pid_t empty = 0;
    if (slot.compare_exchange_strong(empty, pid)) return;
  }
}

void Forget(pid_t pid) {
  for (std::atomic<pid_t>& slot : endingChildren) {
    pid_t mine = pid;
    if (slot.compare_exchange_strong(mine, 0)) return;
  }
}

// Starts a child that the kernel kills when the starting thread ends: fork, the death signal asked
// for in the child, then the same set-up posix_spawn would do, and exec. Only calls that are safe
// between fork and exec run in the child; an exec that fails sends its errno back through a pipe.
int ForkEndingWithParent(const SpawnRequest& request, const std::string& program, char** argv, char** env,
                         pid_t* pid) {
  int report[2], go[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return errno;
  if (::pipe2(go, O_CLOEXEC) != 0) {
    const int error = errno;
    ::close(report[0]);
    ::close(report[1]);
    return error;
  }
  const pid_t parent = ::getpid();
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    for (int fd : {report[0], report[1], go[0], go[1]}) ::close(fd);
    return error;
  }
  if (child == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);  // the parent ended before the request was made
    // The program runs only once the parent knows it as a child to end.
    char ready = 0;
    while (::read(go[0], &ready, 1) < 0 && errno == EINTR) {
    }
    if (request.ownGroup) ::setpgid(0, 0);
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) ::sigaction(signal, &plain, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    int error = 0;
    if (!request.directory.empty() && ::chdir(request.directory.c_str()) != 0) error = errno;
    if (error == 0 && request.standardOutput >= 0) {
      if (::dup2(request.standardOutput, 1) < 0 || (request.errorsToOutput && ::dup2(request.standardOutput, 2) < 0))
        error = errno;
    }
    if (error == 0) {
      // The program gets the standard streams only; the report pipe closes itself at exec.
      for (int fd = 3; fd < report[1]; ++fd) ::close(fd);
      ::close_range(static_cast<unsigned>(report[1]) + 1, ~0U, 0);
      ::execve(program.c_str(), argv, env);
      error = errno;
    }
    (void)!::write(report[1], &error, sizeof error);
    ::_exit(127);
  }
  ::close(report[1]);
  ::close(go[0]);
  Remember(child);
  const char ready = 1;
  (void)!::write(go[1], &ready, 1);
  ::close(go[1]);
  int error = 0;
  ssize_t n;
  do n = ::read(report[0], &error, sizeof error);
  while (n < 0 && errno == EINTR);
  ::close(report[0]);
  if (n == static_cast<ssize_t>(sizeof error) && error != 0) {
    Forget(child);
    int status;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return error;
  }
  *pid = child;
  return 0;
}

struct HookSlot {
  std::mutex mutex;
  SpawnHook hook;
};

HookSlot& Hook() {
  static HookSlot slot;
  return slot;
}

DWORD SpawnError(int error) {
  switch (error) {
    case ENOEXEC:
    case E2BIG:
      return ERROR_BAD_FORMAT;
    case EISDIR:
    case EACCES:
    case EPERM:
      return ERROR_ACCESS_DENIED;
    default:
      return ErrnoToWin32Error(error);
  }
}

std::shared_ptr<ProcessObject> ProcessOf(HANDLE handle) {
  auto process = std::dynamic_pointer_cast<ProcessObject>(LookupHandle(handle));
  if (!process) SetLastError(ERROR_INVALID_HANDLE);
  return process;
}

bool HasSeparator(std::string_view path) {
  return path.find_first_of("\\/") != std::string_view::npos ||
         (path.size() >= 2 && path[1] == ':');
}

// "name=value\0name=value\0\0" into its entries.
std::vector<std::string> EnvironmentBlock(const char* block) {
  std::vector<std::string> entries;
  while (*block) {
    entries.emplace_back(block);
    block += entries.back().size() + 1;
  }
  return entries;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const auto blank = [&](std::size_t at) { return line[at] == ' ' || line[at] == '\t'; };
  while (i < line.size() && blank(i)) ++i;
  if (i == line.size()) return args;
  // The program: no escapes, a quote runs to the next quote.
  std::string program;
  if (line[i] == '"') {
    std::size_t end = line.find('"', i + 1);
    if (end == std::string_view::npos) end = line.size();
    program.assign(line.substr(i + 1, end - i - 1));
    i = end < line.size() ? end + 1 : end;
  }
  while (i < line.size() && !blank(i)) program += line[i++];
  args.push_back(std::move(program));

  for (;;) {
    while (i < line.size() && blank(i)) ++i;
    if (i == line.size()) break;
    std::string arg;
    bool quoted = false;
    while (i < line.size() && (quoted || !blank(i))) {
      if (line[i] == '\\') {
        std::size_t run = 0;
        while (i < line.size() && line[i] == '\\') ++run, ++i;
        if (i < line.size() && line[i] == '"') {
          arg.append(run / 2, '\\');
          if (run % 2) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(run, '\\');
        }
      } else if (line[i] == '"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += line[i++];
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string FindProgram(std::string_view name) {
  if (name.empty()) return {};
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t colon = dirs.find(':');
    std::string dir(dirs.substr(0, colon));
    if (dir.empty()) dir = ".";
    std::string candidate = dir + "/" + std::string(name);
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (colon == std::string_view::npos) return {};
    dirs.remove_prefix(colon + 1);
  }
}

ScopedSpawnHook::ScopedSpawnHook(SpawnHook hook) {
  HookSlot& slot = Hook();
  std::lock_guard<std::mutex> lock(slot.mutex);
  m_previous = std::exchange(slot.hook, std::move(hook));
}

ScopedSpawnHook::~ScopedSpawnHook() {
  HookSlot& slot = Hook();
  std::lock_guard<std::mutex> lock(slot.mutex);
  slot.hook = std::move(m_previous);
}

std::shared_ptr<KernelObject> Spawn(const SpawnRequest& request, DWORD* error,
                                    const std::vector<std::string>* environment) {
  SpawnHook hook;
  {
    HookSlot& slot = Hook();
    std::lock_guard<std::mutex> lock(slot.mutex);
    hook = slot.hook;
  }
  if (hook) {
    if ((*error = hook(request)) != 0) return nullptr;
    auto process = std::make_shared<ProcessObject>(0);
    process->exited = true;
    process->exitCode = 0;
    return process;
  }

  std::vector<char*> argv;
  for (const std::string& arg : request.argv) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  if (environment) {
    for (const std::string& entry : *environment) envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!request.directory.empty())
    posix_spawn_file_actions_addchdir_np(&actions, request.directory.c_str());
  if (request.standardOutput >= 0) posix_spawn_file_actions_adddup2(&actions, request.standardOutput, 1);
  if (request.standardOutput >= 0 && request.errorsToOutput)
    posix_spawn_file_actions_adddup2(&actions, request.standardOutput, 2);
  // The program gets the standard streams only, not our files, sockets and notification handles.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  // The child starts with no blocked signals and default dispositions, whatever ours are.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
  if (request.ownGroup) {
    posix_spawnattr_setpgroup(&attributes, 0);
    flags |= POSIX_SPAWN_SETPGROUP;
  }
  posix_spawnattr_setflags(&attributes, flags);

  pid_t pid = 0;
  const bool search = request.program.find('/') == std::string::npos;
  char** env = environment ? envp.data() : environ;
  int result = 0;
  if (request.endWithParent) {
    // The program is looked up before the fork: the child only execs.
    const std::string program = search ? FindProgram(request.program) : request.program;
    EndChildrenWithProgram();
    result = program.empty() ? ENOENT : ForkEndingWithParent(request, program, argv.data(), env, &pid);
  } else {
    result = search ? posix_spawnp(&pid, request.program.c_str(), &actions, &attributes, argv.data(), env)
                    : posix_spawn(&pid, request.program.c_str(), &actions, &attributes, argv.data(), env);
  }
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (result != 0) {
    *error = SpawnError(result);
    return nullptr;
  }
  auto process = std::make_shared<ProcessObject>(pid);
  std::thread(Reap, process).detach();
  return process;
}

bool ReadProgramOutput(SpawnRequest request, std::string* output, DWORD* error, DWORD timeoutMs) {
  output->clear();
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    *error = ErrnoToWin32Error(errno);
    return false;
  }
  request.standardOutput = ends[1];
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    std::string_view e(*entry);
    if (!e.starts_with("LC_") && !e.starts_with("LANG=") && !e.starts_with("LANGUAGE=")) environment.emplace_back(e);
  }
  environment.emplace_back("LC_ALL=C");
  auto process = Spawn(request, error, &environment);
  ::close(ends[1]);
  if (!process) {
    ::close(ends[0]);
    return false;
  }
  // A program that hangs (a print server that does not answer) costs at most the timeout; it
  // gets SIGPIPE when it writes after we stop listening.
  char buffer[4096];
  for (;;) {
    pollfd readable{ends[0], POLLIN, 0};
    int ready = ::poll(&readable, 1, static_cast<int>(timeoutMs));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    ssize_t n = ::read(ends[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    output->append(buffer, static_cast<size_t>(n));
  }
  ::close(ends[0]);
  return true;
}

void EndProgramGroup(const std::shared_ptr<KernelObject>& process) {
  auto object = std::dynamic_pointer_cast<ProcessObject>(process);
  if (!object || object->pid == 0) return;
  {
    // Under the lock the program is not reaped yet, so its pid still names its group.
    std::lock_guard<std::mutex> lock(WaitLock());
    if (object->exited) return;
    if (::kill(-object->pid, SIGKILL) != 0) ::kill(object->pid, SIGKILL);
  }
  const std::shared_ptr<Waitable> objects[] = {object};
  WaitForObjects(objects, true, INFINITE);
}

}  // namespace brambolt

BOOL CreateProcess(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES,
                   LPSECURITY_ATTRIBUTES, BOOL, DWORD dwCreationFlags, LPVOID lpEnvironment,
                   LPCSTR lpCurrentDirectory, LPSTARTUPINFOA,
                   LPPROCESS_INFORMATION lpProcessInformation) {
  if (dwCreationFlags & (CREATE_SUSPENDED | DEBUG_PROCESS)) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  brambolt::SpawnRequest request;
  request.argv = brambolt::SplitCommandLine(lpCommandLine ? lpCommandLine : "");
  std::string program = lpApplicationName ? lpApplicationName : "";
  if (program.empty() && !request.argv.empty()) program = request.argv.front();
  if (program.empty()) {
    SetLastError(lpApplicationName || lpCommandLine ? ERROR_FILE_NOT_FOUND
                                                    : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (request.argv.empty()) request.argv.push_back(program);
  request.program = brambolt::HasSeparator(program) ? brambolt::NativePath(program) : program;
  // The program's arguments (file names most of all) go in the locale's charset, as it reads them.
  for (std::string& arg : request.argv) arg = brambolt::SystemNameOf(arg);
  if (lpCurrentDirectory && *lpCurrentDirectory) {
    request.directory = brambolt::NativePath(lpCurrentDirectory);
    struct stat st {};
    if (::stat(request.directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      SetLastError(ERROR_DIRECTORY);
      return FALSE;
    }
  }
  std::vector<std::string> environment;
  if (lpEnvironment)
    environment = brambolt::EnvironmentBlock(static_cast<const char*>(lpEnvironment));

  DWORD error = 0;
  std::shared_ptr<brambolt::KernelObject> spawned =
      brambolt::Spawn(request, &error, lpEnvironment ? &environment : nullptr);
  if (!spawned) {
    SetLastError(error);
    return FALSE;
  }
  auto process = std::static_pointer_cast<brambolt::ProcessObject>(spawned);
  if (lpProcessInformation) {
    lpProcessInformation->hProcess = brambolt::AllocHandle(process);
    lpProcessInformation->hThread =
        brambolt::AllocHandle(std::make_shared<brambolt::ProcessThread>(process));
    lpProcessInformation->dwProcessId = static_cast<DWORD>(process->pid);
    lpProcessInformation->dwThreadId = static_cast<DWORD>(process->pid);
  }
  return TRUE;
}

BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode) {
  if (hProcess == GetCurrentProcess()) {
    if (lpExitCode) *lpExitCode = STILL_ACTIVE;
    return lpExitCode != nullptr;
  }
  auto process = brambolt::ProcessOf(hProcess);
  if (!process) return FALSE;
  if (!lpExitCode) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(brambolt::WaitLock());
  *lpExitCode = process->exited ? process->exitCode : static_cast<DWORD>(STILL_ACTIVE);
  return TRUE;
}

BOOL TerminateProcess(HANDLE hProcess, UINT uExitCode) {
  auto process = brambolt::ProcessOf(hProcess);
  if (!process) return FALSE;
  std::lock_guard<std::mutex> lock(brambolt::WaitLock());
  if (process->exited || process->terminated) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (::kill(process->pid, SIGKILL) != 0) {
    SetLastError(ErrnoToWin32Error(errno));
    return FALSE;
  }
  process->terminated = true;
  process->exitCode = uExitCode;
  return TRUE;
}

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)); }

DWORD GetProcessId(HANDLE hProcess) {
  if (hProcess == GetCurrentProcess()) return GetCurrentProcessId();
  auto process = brambolt::ProcessOf(hProcess);
  return process ? static_cast<DWORD>(process->pid) : 0;
}

UINT WinExec(LPCSTR lpCmdLine, UINT) {
  if (!lpCmdLine) return ERROR_FILE_NOT_FOUND;
  std::string commandLine = lpCmdLine;
  PROCESS_INFORMATION info{};
  if (!CreateProcess(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     nullptr, &info)) {
    const DWORD error = GetLastError();
    switch (error) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
      case ERROR_BAD_FORMAT:
        return error;
      case ERROR_NOT_ENOUGH_MEMORY:
        return 0;
      default:
        return ERROR_FILE_NOT_FOUND;
    }
  }
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  return 33;
}

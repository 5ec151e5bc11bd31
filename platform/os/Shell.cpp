// ShellExecute over the association table and Spawn; the taskbar and special-folder answers.
#include "os/Shell.h"

#include "base/Convert.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

#include "base/LastError.h"
#include "os/Paths.h"
#include "os/Process.h"

namespace brambolt {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

struct Associations {
  std::mutex mutex;
  bool loaded = false;
  std::map<std::string, std::string> programs;  // lower-case key -> program ("" = none)
};

Associations& Table() {
  static Associations table;
  return table;
}

// With the table's mutex held.
void LoadDefaults(Associations& table) {
  table.programs.clear();
  table.programs[".hhp"] = FindProgram("chmcmd").empty() ? "" : "chmcmd";
  if (!FindProgram("xdg-open").empty()) table.programs["*"] = "xdg-open";
  table.loaded = true;
}

// The program for `key`, falling back to "*"; nullopt when there is no association.
std::optional<std::string> ProgramFor(const std::string& key) {
  Associations& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (!table.loaded) LoadDefaults(table);
  auto it = table.programs.find(Lower(key));
  if (it == table.programs.end()) it = table.programs.find("*");
  if (it == table.programs.end() || it->second.empty()) return std::nullopt;
  return it->second;
}

bool HasOwnEntry(const std::string& key) {
  if (key.empty()) return false;
  Associations& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (!table.loaded) LoadDefaults(table);
  return table.programs.count(Lower(key)) != 0;
}

// "http:" for "http://host/", "" when the text is no URL. One letter before the colon is a drive.
std::string UrlScheme(std::string_view file) {
  const std::size_t colon = file.find(':');
  if (colon == std::string_view::npos || colon < 2 ||
      !std::isalpha(static_cast<unsigned char>(file[0])))
    return {};
  for (std::size_t i = 0; i < colon; ++i) {
    const auto c = static_cast<unsigned char>(file[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return {};
  }
  return std::string(file.substr(0, colon + 1));
}

bool IsAbsolute(std::string_view path) {
  return !path.empty() &&
         (path[0] == '\\' || path[0] == '/' || (path.size() >= 2 && path[1] == ':'));
}

INT_PTR ShellErrorCode(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
      return SE_ERR_PNF;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return SE_ERR_OOM;
    case ERROR_BAD_FORMAT:
    case ERROR_BAD_EXE_FORMAT:
      return ERROR_BAD_FORMAT;
    case ERROR_SHARING_VIOLATION:
      return SE_ERR_SHARE;
    case ERROR_NO_ASSOCIATION:
      return SE_ERR_NOASSOC;
    default:
      return SE_ERR_ACCESSDENIED;
  }
}

// argv for a program run with the caller's parameter text.
std::vector<std::string> ProgramArguments(const std::string& program, LPCSTR parameters) {
  // The splitter treats the first word as the program; put a stand-in there.
  std::vector<std::string> argv =
      SplitCommandLine("x " + std::string(parameters ? parameters : ""));
  argv.front() = program;
  // The parameters (file names most of all) go in the locale's charset, as the program reads them.
  for (auto arg = argv.begin() + 1; arg != argv.end(); ++arg) *arg = SystemNameOf(*arg);
  return argv;
}

// What ShellExecuteEx is to start, or the Win32 error that stops it.
struct Launch {
  SpawnRequest request;
  DWORD error = 0;
};

Launch Fail(DWORD error) {
  Launch launch;
  launch.error = error;
  return launch;
}

Launch Plan(const SHELLEXECUTEINFOA& info) {
  const std::string verb = Lower(info.lpVerb ? info.lpVerb : "");
  const bool open = verb.empty() || verb == "open" || verb == "explore";
  if (!info.lpFile || !*info.lpFile) return Fail(ERROR_FILE_NOT_FOUND);
  const std::string_view file = info.lpFile;

  Launch launch;
  SpawnRequest& request = launch.request;
  if (info.lpDirectory && *info.lpDirectory) {
    request.directory = NativePath(info.lpDirectory);
    struct stat st {};
    if (::stat(request.directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
      return Fail(ERROR_PATH_NOT_FOUND);
  }

  if (const std::string scheme = UrlScheme(file); !scheme.empty()) {
    std::optional<std::string> program = ProgramFor(scheme);
    if (!open || !program) return Fail(ERROR_NO_ASSOCIATION);
    request.program = *program;
    request.argv = {*program, std::string(file)};
    return launch;
  }

  std::string spelled(file);
  if (!IsAbsolute(file) && info.lpDirectory && *info.lpDirectory)
    spelled = std::string(info.lpDirectory) + "\\" + spelled;
  const std::string path = NativePath(spelled);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    // A bare program name is looked up on PATH, as Windows looks for it on its search path.
    if (file.find_first_of("\\/") == std::string_view::npos) {
      if (std::string program = FindProgram(file); !program.empty() && open) {
        request.program = program;
        request.argv = ProgramArguments(program, info.lpParameters);
        return launch;
      }
    }
    const std::string folder = std::filesystem::path(path).parent_path().string();
    struct stat parent {};
    const bool folderExists =
        folder.empty() || (::stat(folder.c_str(), &parent) == 0 && S_ISDIR(parent.st_mode));
    return Fail(folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
  }
  if (!open) return Fail(ERROR_NO_ASSOCIATION);

  std::optional<std::string> program;
  if (S_ISDIR(st.st_mode)) {
    program = ProgramFor("*");
  } else {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string key = hasExtension ? path.substr(dot) : "";
    if (!HasOwnEntry(key) && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0) {
      request.program = path;
      request.argv = ProgramArguments(path, info.lpParameters);
      return launch;
    }
    program = ProgramFor(key.empty() ? "*" : key);
    // A document's program runs in the document's folder unless the caller names one.
    if (request.directory.empty() && slash != std::string::npos)
      request.directory = slash == 0 ? "/" : path.substr(0, slash);
  }
  if (!program) return Fail(ERROR_NO_ASSOCIATION);
  request.program = *program;
  request.argv = {*program, path};
  return launch;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/";
}

std::string ConfigFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) return config;
  return HomeFolder() + "/.config";
}

}  // namespace

void SetShellAssociation(const std::string& key, const std::string& program) {
  Associations& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (!table.loaded) LoadDefaults(table);
  table.programs[Lower(key)] = program;
}

std::string FindShellAssociation(const std::string& key) { return ProgramFor(key).value_or(std::string()); }

void RemoveShellAssociation(const std::string& key) {
  Associations& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (!table.loaded) LoadDefaults(table);
  table.programs.erase(Lower(key));
}

void ResetShellAssociations() {
  Associations& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  LoadDefaults(table);
}

}  // namespace brambolt

BOOL ShellExecuteEx(SHELLEXECUTEINFOA* pExecInfo) {
  if (!pExecInfo || (pExecInfo->cbSize != sizeof(SHELLEXECUTEINFOA) &&
                     pExecInfo->cbSize != SHELLEXECUTEINFO_SIZE_32)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  pExecInfo->hProcess = nullptr;
  brambolt::Launch launch = brambolt::Plan(*pExecInfo);
  std::shared_ptr<brambolt::KernelObject> process;
  if (launch.error == 0) process = brambolt::Spawn(launch.request, &launch.error);
  if (!process) {
    pExecInfo->hInstApp =
        reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(brambolt::ShellErrorCode(launch.error)));
    SetLastError(launch.error);
    return FALSE;
  }
  // Any value above 32 means success; Windows gives 42.
  pExecInfo->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
  if (pExecInfo->fMask & SEE_MASK_NOCLOSEPROCESS)
    pExecInfo->hProcess = brambolt::AllocHandle(process);
  return TRUE;
}

HINSTANCE ShellExecute(HWND hwnd, LPCSTR lpVerb, LPCSTR lpFile, LPCSTR lpParameters,
                       LPCSTR lpDirectory, INT nShowCmd) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = hwnd;
  info.lpVerb = lpVerb;
  info.lpFile = lpFile;
  info.lpParameters = lpParameters;
  info.lpDirectory = lpDirectory;
  info.nShow = nShowCmd;
  ShellExecuteEx(&info);
  return info.hInstApp;
}

UINT_PTR SHAppBarMessage(DWORD, PAPPBARDATA) { return 0; }

HRESULT SHGetFolderPath(HWND, int csidl, HANDLE, DWORD, LPSTR pszPath) {
  if (!pszPath) return E_INVALIDARG;
  *pszPath = '\0';
  std::string folder;
  switch (csidl & 0xFF) {
    case CSIDL_PERSONAL:
    case CSIDL_PROFILE:
      folder = brambolt::HomeFolder();
      break;
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: {
      // Without a desktop folder the home folder is the desktop.
      folder = brambolt::HomeFolder() + "/Desktop";
      struct stat st {};
      if (!(csidl & CSIDL_FLAG_CREATE) && ::stat(folder.c_str(), &st) != 0)
        folder = brambolt::HomeFolder();
      break;
    }
    case CSIDL_APPDATA:
    case CSIDL_LOCAL_APPDATA:
    case CSIDL_COMMON_APPDATA:
      folder = brambolt::ConfigFolder();
      break;
    default:
      return E_INVALIDARG;
  }
  if (csidl & CSIDL_FLAG_CREATE) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
  }
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return E_FAIL;
  // The system's spelling of the folder, given as the program spells names.
  folder = brambolt::ProgramNameOf(folder);
  if (folder.size() >= MAX_PATH) return E_FAIL;
  std::memcpy(pszPath, folder.c_str(), folder.size() + 1);
  return S_OK;
}

BOOL SHGetSpecialFolderPath(HWND hwnd, LPSTR pszPath, int csidl, BOOL fCreate) {
  return SHGetFolderPath(hwnd, csidl | (fCreate ? CSIDL_FLAG_CREATE : 0), nullptr,
                         SHGFP_TYPE_CURRENT, pszPath) == S_OK;
}

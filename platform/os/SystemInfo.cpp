// Names of the machine and the user, the reported Windows version and the real system, and the
// built-in modules.
#include "os/SystemInfo.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/LastError.h"
#include "base/WinMacros.h"

namespace {

constexpr DWORD kMajor = 5;
constexpr DWORD kMinor = 0;
constexpr DWORD kBuild = 2195;
constexpr const char* kServicePack = "Service Pack 4";

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Copies `value` when it fits in *size bytes with its terminator.
bool Deliver(const std::string& value, LPSTR buffer, LPDWORD size) {
  if (buffer == nullptr || *size < value.size() + 1) return false;
  std::memcpy(buffer, value.c_str(), value.size() + 1);
  return true;
}

struct Export {
  const char* name;
  FARPROC address;
};

struct Module {
  const char* name;
  std::vector<Export> exports;
};

template <DWORD Major, DWORD Minor, DWORD Build>
HRESULT CALLBACK DllGetVersion(DLLVERSIONINFO* info) {
  if (info == nullptr || info->cbSize < sizeof(DLLVERSIONINFO)) return E_INVALIDARG;
  info->dwMajorVersion = Major;
  info->dwMinorVersion = Minor;
  info->dwBuildNumber = Build;
  info->dwPlatformID = DLLVER_PLATFORM_NT;
  return S_OK;
}

template <typename Function>
FARPROC AsProc(Function function) {
  return reinterpret_cast<FARPROC>(function);
}

const std::vector<Module>& Modules() {
  static const std::vector<Module> modules = {
      {"kernel32.dll", {}},
      {"user32.dll", {}},
      {"shell32.dll", {{"DllGetVersion", AsProc(&DllGetVersion<5, 0, 3900>)}}},
      {"comctl32.dll", {{"DllGetVersion", AsProc(&DllGetVersion<5, 81, 4916>)}}},
  };
  return modules;
}

HMODULE HandleOf(const Module& module) { return reinterpret_cast<HMODULE>(const_cast<Module*>(&module)); }

const Module* FindModule(LPCSTR name) {
  std::string key(name);
  size_t slash = key.find_last_of("\\/");
  if (slash != std::string::npos) key.erase(0, slash + 1);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (key.find('.') == std::string::npos) key += ".dll";
  for (const Module& module : Modules())
    if (key == module.name) return &module;
  return nullptr;
}

const Module* ModuleOfHandle(HMODULE handle) {
  for (const Module& module : Modules())
    if (HandleOf(module) == handle) return &module;
  return nullptr;
}

std::string HostName() {
  char name[256] = {};
  if (gethostname(name, sizeof(name) - 1) != 0 || name[0] == '\0') return "LOCALHOST";
  std::string host(name);
  host = host.substr(0, host.find('.'));
  if (host.size() > MAX_COMPUTERNAME_LENGTH) host.resize(MAX_COMPUTERNAME_LENGTH);
  for (char& c : host) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return host;
}

std::string LoginName() {
  std::vector<char> buffer(4096);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_name != nullptr && found->pw_name[0] != '\0')
    return found->pw_name;
  const char* user = std::getenv("USER");
  return user != nullptr && *user != '\0' ? user : "user";
}

}  // namespace

BOOL GetComputerName(LPSTR buffer, LPDWORD size) {
  if (size == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::string name = HostName();
  if (!Deliver(name, buffer, size)) {
    *size = static_cast<DWORD>(name.size() + 1);
    return Fail(ERROR_BUFFER_OVERFLOW);
  }
  *size = static_cast<DWORD>(name.size());
  return TRUE;
}

BOOL GetUserName(LPSTR buffer, LPDWORD size) {
  if (size == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::string name = LoginName();
  bool delivered = Deliver(name, buffer, size);
  *size = static_cast<DWORD>(name.size() + 1);
  return delivered ? TRUE : Fail(ERROR_INSUFFICIENT_BUFFER);
}

DWORD GetVersion() { return kMajor | (kMinor << 8) | (kBuild << 16); }

BOOL GetVersionEx(LPOSVERSIONINFO info) {
  if (info == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  DWORD declared = info->dwOSVersionInfoSize;
  if (declared != sizeof(OSVERSIONINFO) && declared != sizeof(OSVERSIONINFOEX)) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memset(reinterpret_cast<BYTE*>(info) + sizeof(DWORD), 0, declared - sizeof(DWORD));
  info->dwMajorVersion = kMajor;
  info->dwMinorVersion = kMinor;
  info->dwBuildNumber = kBuild;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::strcpy(info->szCSDVersion, kServicePack);
  if (declared == sizeof(OSVERSIONINFOEX)) {
    auto* extended = reinterpret_cast<LPOSVERSIONINFOEX>(info);
    extended->wServicePackMajor = 4;
    extended->wProductType = VER_NT_WORKSTATION;
  }
  return TRUE;
}

void GetSystemInfo(LPSYSTEM_INFO info) {
  std::memset(info, 0, sizeof(*info));
#if defined(__aarch64__)
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM64;
#else
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
  info->dwProcessorType = PROCESSOR_AMD_X8664;
#endif
  long page = sysconf(_SC_PAGESIZE);
  info->dwPageSize = page > 0 ? static_cast<DWORD>(page) : 4096;
  info->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(static_cast<UINT_PTR>(0x10000));
  info->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(static_cast<UINT_PTR>(0x7FFFFFFEFFFF));
  long processors = sysconf(_SC_NPROCESSORS_ONLN);
  info->dwNumberOfProcessors = processors > 0 ? static_cast<DWORD>(processors) : 1;
  DWORD_PTR bits = static_cast<DWORD_PTR>(sizeof(DWORD_PTR) * 8);
  info->dwActiveProcessorMask =
      info->dwNumberOfProcessors >= bits ? ~DWORD_PTR{0} : (DWORD_PTR{1} << info->dwNumberOfProcessors) - 1;
  info->dwAllocationGranularity = 65536;
  info->wProcessorLevel = 6;
}

namespace brambolt {
HMODULE MainModuleHandle() { return reinterpret_cast<HMODULE>(static_cast<UINT_PTR>(0x00400000)); }

std::string DistributionFromOsRelease(const std::string& text) {
  std::map<std::string, std::string> values;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const size_t equals = line.find('=');
    if (line.empty() || line[0] == '#' || equals == std::string::npos) continue;
    std::string value = line.substr(equals + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    values[line.substr(0, equals)] = value;
  }
  const std::string& name = values["NAME"];
  const std::string& version = !values["VERSION"].empty() ? values["VERSION"] : values["VERSION_ID"];
  if (name.empty()) return values["PRETTY_NAME"];
  return version.empty() ? name : name + " " + version;
}

std::string DescribeSystem() {
  utsname names{};
  std::string system = uname(&names) == 0 ? std::string(names.sysname) + " " + names.release : "Linux";
  // The file's two places, the one under /etc first.
  for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
    std::ifstream file(path);
    if (!file) continue;
    const std::string distribution =
        DistributionFromOsRelease(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    if (!distribution.empty()) return system + " (" + distribution + ")";
    break;
  }
  return system;
}
}  // namespace brambolt

HMODULE GetModuleHandle(LPCSTR name) {
  if (name == nullptr) return brambolt::MainModuleHandle();
  const Module* module = FindModule(name);
  if (module == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return HandleOf(*module);
}

HMODULE LoadLibrary(LPCSTR name) {
  if (name == nullptr || *name == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return GetModuleHandle(name);
}

BOOL FreeLibrary(HMODULE module) {
  return ModuleOfHandle(module) != nullptr ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

FARPROC GetProcAddress(HMODULE handle, LPCSTR name) {
  const Module* module = ModuleOfHandle(handle);
  if (module == nullptr && handle != brambolt::MainModuleHandle()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (module != nullptr && name != nullptr && !IS_INTRESOURCE(name))
    for (const Export& entry : module->exports)
      if (std::strcmp(entry.name, name) == 0) return entry.address;
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

// Computer and user names, the Windows version the platform reports (and the real system, for
// support reports), processor facts, and the small table of built-in modules that
// LoadLibrary/GetProcAddress can reach.
#pragma once

#include <string>

#include "base/WinTypes.h"

#define MAX_COMPUTERNAME_LENGTH 15
#define UNLEN 256

// The name of this machine up to its first dot, upper-cased and cut to 15 characters. On success
// *size becomes the length without the terminator; when the buffer is too small the call fails
// with ERROR_BUFFER_OVERFLOW and *size is the size needed with the terminator.
BOOL GetComputerName(LPSTR buffer, LPDWORD size);
// The login name. *size becomes the length with the terminator, also when the call fails with
// ERROR_INSUFFICIENT_BUFFER.
BOOL GetUserName(LPSTR buffer, LPDWORD size);
#define GetComputerNameA GetComputerName
#define GetUserNameA GetUserName

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
#define VER_NT_WORKSTATION 0x0000001

typedef struct _OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
} OSVERSIONINFOA, OSVERSIONINFO, *POSVERSIONINFO, *LPOSVERSIONINFO, *LPOSVERSIONINFOA;

// The extended form continues the plain one field for field.
typedef struct _OSVERSIONINFOEXA : OSVERSIONINFOA {
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
} OSVERSIONINFOEXA, OSVERSIONINFOEX, *POSVERSIONINFOEX, *LPOSVERSIONINFOEX;

// The platform reports Windows NT 5.0 (build 2195, Service Pack 4): GetVersion packs the major
// version in the low byte, the minor in the next and the build in the high word (bit 31 clear
// for NT). GetVersionEx needs dwOSVersionInfoSize set to the size of OSVERSIONINFO or
// OSVERSIONINFOEX, and fails with ERROR_INSUFFICIENT_BUFFER otherwise.
DWORD GetVersion();
BOOL GetVersionEx(LPOSVERSIONINFO info);
#define GetVersionExA GetVersionEx

#define PROCESSOR_ARCHITECTURE_INTEL 0
#define PROCESSOR_ARCHITECTURE_ARM64 12
#define PROCESSOR_ARCHITECTURE_AMD64 9
#define PROCESSOR_ARCHITECTURE_UNKNOWN 0xFFFF
#define PROCESSOR_INTEL_PENTIUM 586
#define PROCESSOR_AMD_X8664 8664

typedef struct _SYSTEM_INFO {
  union {
    DWORD dwOemId;
    struct {
      WORD wProcessorArchitecture;
      WORD wReserved;
    };
  };
  DWORD dwPageSize;
  LPVOID lpMinimumApplicationAddress;
  LPVOID lpMaximumApplicationAddress;
  DWORD_PTR dwActiveProcessorMask;
  DWORD dwNumberOfProcessors;
  DWORD dwProcessorType;
  DWORD dwAllocationGranularity;
  WORD wProcessorLevel;
  WORD wProcessorRevision;
} SYSTEM_INFO, *LPSYSTEM_INFO;

void GetSystemInfo(LPSYSTEM_INFO info);

// Callers cast it to the export's real type; as a function taking and returning nothing it
// converts to any function pointer without a cast-function-type warning.
typedef void(CALLBACK* FARPROC)();

#define DLLVER_PLATFORM_WINDOWS 0x00000001
#define DLLVER_PLATFORM_NT 0x00000002

typedef struct _DllVersionInfo {
  DWORD cbSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformID;
} DLLVERSIONINFO;
typedef HRESULT(CALLBACK* DLLGETVERSIONPROC)(DLLVERSIONINFO*);

// Modules: NULL names the program itself. The built-in system modules are kernel32.dll,
// user32.dll, shell32.dll (DllGetVersion 5.0.3900) and comctl32.dll (DllGetVersion 5.81.4916);
// names match without case, path or ".dll". Anything else fails with ERROR_MOD_NOT_FOUND, an
// unknown export with ERROR_PROC_NOT_FOUND. Built-in modules stay loaded: FreeLibrary accepts
// their handles and does nothing.
HMODULE GetModuleHandle(LPCSTR name);
HMODULE LoadLibrary(LPCSTR name);
BOOL FreeLibrary(HMODULE module);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
#define GetModuleHandleA GetModuleHandle
#define LoadLibraryA LoadLibrary

namespace brambolt {
// The handle of the program's own module, as GetModuleHandle(NULL) gives it.
HMODULE MainModuleHandle();
// The system the program really runs on, for support reports: the kernel's name and release,
// then the distribution's name and version from os-release in brackets
// ("Linux 6.1.0-18-amd64 (Debian GNU/Linux 12 (bookworm))"); the brackets are left out when no
// os-release file names a distribution.
std::string DescribeSystem();
// The distribution an os-release text names: NAME and VERSION (VERSION_ID when VERSION is
// missing), else PRETTY_NAME; values may be quoted. Empty when it names none.
std::string DistributionFromOsRelease(const std::string& text);
}  // namespace brambolt

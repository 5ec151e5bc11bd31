#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "os/os.h"

namespace {

TEST(SystemInfo, ComputerNameIsShortUpperCaseAndSized) {
  char name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = sizeof(name);
  ASSERT_TRUE(GetComputerName(name, &size));
  EXPECT_EQ(size, std::strlen(name));
  EXPECT_GT(size, 0u);
  EXPECT_LE(size, static_cast<DWORD>(MAX_COMPUTERNAME_LENGTH));
  EXPECT_EQ(std::string(name).find('.'), std::string::npos);
  for (char c : std::string(name)) EXPECT_FALSE(std::islower(static_cast<unsigned char>(c)));
  DWORD tooSmall = size;  // no room for the terminator
  SetLastError(0);
  EXPECT_FALSE(GetComputerName(name, &tooSmall));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  EXPECT_EQ(tooSmall, size + 1);
}

TEST(SystemInfo, UserNameCountsItsTerminator) {
  char name[UNLEN + 1];
  DWORD size = sizeof(name);
  ASSERT_TRUE(GetUserName(name, &size));
  EXPECT_EQ(size, std::strlen(name) + 1);
  DWORD tooSmall = 1;
  SetLastError(0);
  EXPECT_FALSE(GetUserName(name, &tooSmall));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(tooSmall, size);
}

TEST(SystemInfo, VersionIsWindowsNtFive) {
  DWORD version = GetVersion();
  EXPECT_GE(LOBYTE(LOWORD(version)), 4);
  EXPECT_EQ(version & 0x80000000u, 0u);  // NT
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof(info);
  ASSERT_TRUE(GetVersionEx(&info));
  EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_EQ(info.dwMajorVersion, LOBYTE(LOWORD(version)));
  EXPECT_EQ(info.dwMinorVersion, HIBYTE(LOWORD(version)));
  EXPECT_EQ(info.dwBuildNumber, HIWORD(version));
  EXPECT_LT(std::strlen(info.szCSDVersion), sizeof(info.szCSDVersion));
  OSVERSIONINFOEX extended{};
  extended.dwOSVersionInfoSize = sizeof(extended);
  ASSERT_TRUE(GetVersionEx(reinterpret_cast<LPOSVERSIONINFO>(&extended)));
  EXPECT_EQ(extended.wProductType, VER_NT_WORKSTATION);
  OSVERSIONINFO unsized{};
  SetLastError(0);
  EXPECT_FALSE(GetVersionEx(&unsized));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  static_assert(sizeof(OSVERSIONINFO) == 148 && sizeof(OSVERSIONINFOEX) == 156);
}

TEST(SystemInfo, ProcessorFacts) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  EXPECT_GE(info.dwPageSize, 4096u);
  EXPECT_GE(info.dwNumberOfProcessors, 1u);
  EXPECT_NE(info.dwActiveProcessorMask, 0u);
  EXPECT_EQ(info.dwAllocationGranularity, 65536u);
}

TEST(Modules, CommonControlsReportTheirVersion) {
  HMODULE comctl = LoadLibrary("COMCTL32.DLL");
  ASSERT_NE(comctl, nullptr);
  EXPECT_EQ(GetModuleHandle("comctl32"), comctl);
  EXPECT_EQ(GetModuleHandle("C:\\WINNT\\System32\\ComCtl32.dll"), comctl);
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(comctl, "DllGetVersion"));
  ASSERT_NE(getVersion, nullptr);
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_EQ(getVersion(&info), S_OK);
  EXPECT_GE(MAKELONG(info.dwMinorVersion, info.dwMajorVersion), MAKELONG(71, 4));
  DLLVERSIONINFO unsized{};
  EXPECT_EQ(getVersion(&unsized), E_INVALIDARG);
  EXPECT_TRUE(FreeLibrary(comctl));
  EXPECT_EQ(GetModuleHandle("comctl32.dll"), comctl);  // built-in modules stay
}

TEST(Modules, UnknownModulesAndExportsFail) {
  SetLastError(0);
  EXPECT_EQ(LoadLibrary("hhctrl.ocx"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  HMODULE kernel = GetModuleHandle("kernel32.dll");
  ASSERT_NE(kernel, nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(kernel, "NoSuchFunction"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(kernel, MAKEINTRESOURCE(1)), nullptr);
  EXPECT_EQ(GetModuleHandle(nullptr), brambolt::MainModuleHandle());
  EXPECT_NE(GetModuleHandle(nullptr), nullptr);
  EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&kernel)));
}

}  // namespace

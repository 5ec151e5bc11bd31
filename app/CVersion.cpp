// The version report.
#include "app/CVersion.h"

CVersion::CVersion() : m_strBuild("Build 12/19/2001 V3.3.0.1219") {}

CString CVersion::FormatOSVersion(const OSVERSIONINFO& info) {
  CString strName;
  if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
    strName = info.dwMinorVersion != 0 ? "Windows 98" : "Windows 95";
  else if (info.dwPlatformId == VER_PLATFORM_WIN32_NT)
    strName = "Windows NT";
  CString strNumbers;
  // The service-pack text follows a blank even when it is empty.
  strNumbers.Format("%d.%d.%d %s", static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion),
                    static_cast<int>(LOWORD(info.dwBuildNumber)), info.szCSDVersion);
  return strName + " " + strNumbers;
}

CString CVersion::GetOSVersion() const {
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionEx(&info)) info = OSVERSIONINFO{};
  return FormatOSVersion(info);
}

CString CVersion::GetComCtlVersion() const {
  HMODULE hModule = GetModuleHandle("COMCTL32.DLL");
  auto pGetVersion = hModule != nullptr
                         ? reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(hModule, "DllGetVersion"))
                         : nullptr;
  if (pGetVersion == nullptr) return CString();
  DLLVERSIONINFO info{};
  info.cbSize = 20;
  if (FAILED(pGetVersion(&info))) info = DLLVERSIONINFO{};
  CString strVersion;
  strVersion.Format("%d.%d.%d", static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion),
                    static_cast<int>(info.dwBuildNumber));
  return strVersion;
}

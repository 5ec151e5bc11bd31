// Fuzz target: profile (INI) files, read through every query.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "os/Profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteFile("fuzz.ini", data, size);
  std::vector<char> names(4096), items(4096), value(512);
  const DWORD n = GetPrivateProfileSectionNames(names.data(), static_cast<DWORD>(names.size()), path.c_str());
  for (DWORD at = 0; at < n && names[at] != '\0'; at += static_cast<DWORD>(std::strlen(&names[at])) + 1) {
    const char* section = &names[at];
    GetPrivateProfileSection(section, items.data(), static_cast<DWORD>(items.size()), path.c_str());
    const DWORD nKeys = GetPrivateProfileString(section, nullptr, "", items.data(), static_cast<DWORD>(items.size()),
                                                path.c_str());
    for (DWORD k = 0; k < nKeys && items[k] != '\0'; k += static_cast<DWORD>(std::strlen(&items[k])) + 1) {
      GetPrivateProfileString(section, &items[k], "-", value.data(), static_cast<DWORD>(value.size()), path.c_str());
      GetPrivateProfileInt(section, &items[k], 7, path.c_str());
      BYTE bytes[16];
      GetPrivateProfileStruct(section, &items[k], bytes, sizeof bytes, path.c_str());
    }
  }
  std::error_code error;
  std::filesystem::remove(path, error);
  return 0;
}

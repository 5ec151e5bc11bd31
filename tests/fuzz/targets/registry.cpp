// Fuzz target: the registry's .reg files, loaded and walked key by key.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "os/Registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool bFolder = (::setenv("BRAMBOLT_REGISTRY_DIR", fuzz::Folder().c_str(), 1), true);
  (void)bFolder;
  const std::string file = fuzz::Folder() + "/HKEY_CURRENT_USER.reg";
  std::filesystem::rename(fuzz::WriteFile("registry", data, size), file);
  brambolt::ResetRegistryForTesting();
  // Every key, with its values, without recursion.
  std::vector<HKEY> open;
  HKEY top = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, "", 0, KEY_READ, &top) == ERROR_SUCCESS) open.push_back(top);
  std::vector<char> name(1024);
  std::vector<BYTE> bytes(1024);
  while (!open.empty()) {
    HKEY key = open.back();
    open.pop_back();
    for (DWORD i = 0;; ++i) {
      DWORD nameSize = static_cast<DWORD>(name.size()), type = 0, dataSize = static_cast<DWORD>(bytes.size());
      const LONG result = RegEnumValue(key, i, name.data(), &nameSize, nullptr, &type, bytes.data(), &dataSize);
      if (result == ERROR_NO_MORE_ITEMS) break;
      // Read as text the way the program's fixed buffers read it: within the buffer, always ended,
      // also for a string stored without its terminator at exactly the buffer's size.
      if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
      char text[MAX_PATH];
      std::memset(text, 'x', sizeof text);
      brambolt::ReadRegistryString(key, name.data(), text, sizeof text);
      if (::strnlen(text, sizeof text) == sizeof text) std::abort();
      std::string whole;
      if (brambolt::ReadRegistryString(key, name.data(), whole) == ERROR_SUCCESS && whole.size() > dataSize) std::abort();
    }
    for (DWORD i = 0;; ++i) {
      DWORD nameSize = static_cast<DWORD>(name.size());
      const LONG result = RegEnumKeyEx(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_NO_MORE_ITEMS) break;
      HKEY child = nullptr;
      if (result == ERROR_SUCCESS && RegOpenKeyEx(key, name.data(), 0, KEY_READ, &child) == ERROR_SUCCESS)
        open.push_back(child);
    }
    RegCloseKey(key);
  }
  brambolt::ResetRegistryForTesting();
  return 0;
}

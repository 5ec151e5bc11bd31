// Fuzz target: the registry's .reg files, loaded and walked key by key, in code page 1252 and in
// the double-byte code page 936. Every key name the store lists opens by that name; every string
// value reads within its buffer; each value set again from a buffer of exactly its size and a
// subkey made below each key are written and read back the same. A failure aborts.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "base/CodePage.h"
#include "os/Registry.h"

namespace {

// Calls visit(key, path) for every key below HKEY_CURRENT_USER, the top first, without
// recursion; a key the store lists that does not open by its listed name aborts.
template <class Visit>
void ForEachKey(Visit&& visit) {
  std::vector<std::pair<HKEY, std::string>> open;
  HKEY top = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, "", 0, KEY_ALL_ACCESS, &top) == ERROR_SUCCESS) open.emplace_back(top, "");
  std::vector<char> name(1024);
  while (!open.empty()) {
    auto [key, path] = open.back();
    open.pop_back();
    visit(key, path);
    for (DWORD i = 0;; ++i) {
      DWORD nameSize = static_cast<DWORD>(name.size());
      const LONG result = RegEnumKeyEx(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_NO_MORE_ITEMS) break;
      if (result != ERROR_SUCCESS) continue;
      HKEY child = nullptr;
      if (RegOpenKeyEx(key, name.data(), 0, KEY_ALL_ACCESS, &child) != ERROR_SUCCESS) std::abort();
      open.emplace_back(child, path + "\\" + std::string(name.data(), nameSize));
    }
    RegCloseKey(key);
  }
}

// The values of a key: name, type and bytes of each, read from buffers of exactly their size.
std::vector<std::pair<std::string, std::pair<DWORD, std::vector<BYTE>>>> Values(HKEY key) {
  std::vector<std::pair<std::string, std::pair<DWORD, std::vector<BYTE>>>> values;
  std::vector<char> name(1024);
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size()), type = 0, dataSize = 0;
    const LONG result = RegEnumValue(key, i, name.data(), &nameSize, nullptr, &type, nullptr, &dataSize);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) continue;
    std::vector<BYTE> bytes(dataSize);
    if (RegQueryValueEx(key, name.data(), nullptr, &type, bytes.data(), &dataSize) != ERROR_SUCCESS) continue;
    values.push_back({std::string(name.data(), nameSize), {type, std::move(bytes)}});
  }
  return values;
}

// Every key's path with its values, as text.
std::string Dump() {
  std::string out;
  ForEachKey([&](HKEY key, const std::string& path) {
    out += "[" + path + "]\n";
    for (const auto& [name, value] : Values(key)) {
      out += name + "=" + std::to_string(value.first) + ":";
      out.append(value.second.begin(), value.second.end());
      out += "\n";
    }
  });
  return out;
}

void Run(const uint8_t* data, size_t size, UINT codePage) {
  brambolt::ScopedCodePage scoped(codePage);
  const std::string file = fuzz::Folder() + "/HKEY_CURRENT_USER.reg";
  std::filesystem::rename(fuzz::WriteFile("registry", data, size), file);
  brambolt::ResetRegistryForTesting();
  std::vector<std::string> paths;
  ForEachKey([&](HKEY, const std::string& path) { paths.push_back(path); });
  for (const std::string& path : paths) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) std::abort();
    for (const auto& [name, value] : Values(key)) {
      const DWORD type = value.first;
      // Read as text the way the program's fixed buffers read it: within the buffer, always
      // ended, also for a string stored without its terminator at exactly the buffer's size.
      if (type == REG_SZ || type == REG_EXPAND_SZ) {
        char text[MAX_PATH];
        std::memset(text, 'x', sizeof text);
        brambolt::ReadRegistryString(key, name.c_str(), text, sizeof text);
        if (::strnlen(text, sizeof text) == sizeof text) std::abort();
        std::string whole;
        if (brambolt::ReadRegistryString(key, name.c_str(), whole) == ERROR_SUCCESS && whole.size() > value.second.size())
          std::abort();
      }
      // Set again from a copy of exactly its size: nothing past it may be read.
      auto copy = std::make_unique<BYTE[]>(value.second.size());
      std::copy(value.second.begin(), value.second.end(), copy.get());
      if (RegSetValueEx(key, name.c_str(), 0, type, copy.get(), static_cast<DWORD>(value.second.size())) != ERROR_SUCCESS)
        std::abort();
    }
    HKEY child = nullptr;
    if (RegCreateKeyEx(key, "made", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr) == ERROR_SUCCESS) {
      RegSetValueEx(child, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
      RegCloseKey(child);
    }
    RegCloseKey(key);
  }
  // What the store holds is what it writes and reads back.
  const std::string before = Dump();
  if (RegFlushKey(HKEY_CURRENT_USER) != ERROR_SUCCESS) std::abort();
  brambolt::ResetRegistryForTesting();
  if (Dump() != before) std::abort();
  brambolt::ResetRegistryForTesting();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool bFolder = (::setenv("BRAMBOLT_REGISTRY_DIR", fuzz::Folder().c_str(), 1), true);
  (void)bFolder;
  Run(data, size, 1252);
  Run(data, size, 936);
  return 0;
}

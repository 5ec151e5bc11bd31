// The settings file with one key of many values (as a tool that records every file it saw makes
// one): the start's first read of the key, and a value set and flushed, which reads the file
// again under its lock. Both should grow with the number of values, not with its square.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "os/Registry.h"

namespace brambolt {
namespace {

// A new registry folder whose HKEY_CURRENT_USER file holds `count` values in one key; the
// registry of this process starts again from it.
std::string FolderWithValues(int count) {
  std::string folder = (std::filesystem::temp_directory_path() / "brambolt-bench-registry-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) std::abort();
  std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Bench]\r\n";
  for (int i = 0; i < count; ++i) text += "\"File" + std::to_string(i) + "\"=\"C:\\\\src\\\\file" + std::to_string(i) + ".h\"\r\n";
  std::ofstream(folder + "/HKEY_CURRENT_USER.reg", std::ios::binary) << text;
  ::setenv("BRAMBOLT_REGISTRY_DIR", folder.c_str(), 1);
  ResetRegistryForTesting();
  return folder;
}

void BM_ReadAKeyOfManyValues(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    const std::string folder = FolderWithValues(count);
    state.ResumeTiming();
    HKEY key;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Bench", 0, KEY_READ, &key) != ERROR_SUCCESS) std::abort();
    DWORD size = 0;
    RegQueryValueEx(key, "File0", nullptr, nullptr, nullptr, &size);
    RegCloseKey(key);
    state.PauseTiming();
    ResetRegistryForTesting();
    std::filesystem::remove_all(folder);
    state.ResumeTiming();
  }
  state.SetComplexityN(count);
}

void BM_SetAValueBesideManyValues(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string folder = FolderWithValues(count);
  HKEY key;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Bench", 0, KEY_WRITE, &key) != ERROR_SUCCESS) std::abort();
  int n = 0;
  for (auto _ : state) {
    const std::string text = std::to_string(++n);
    RegSetValueEx(key, "Last", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
    RegFlushKey(key);
  }
  RegCloseKey(key);
  ResetRegistryForTesting();
  std::filesystem::remove_all(folder);
  state.SetComplexityN(count);
}

BENCHMARK(BM_ReadAKeyOfManyValues)->Arg(12500)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_SetAValueBesideManyValues)->Arg(12500)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace brambolt

BENCHMARK_MAIN();

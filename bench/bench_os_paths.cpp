// Files made and opened by their Windows spelling in one folder of 20,000 names, against plain
// open(): the price of the case-insensitive lookup that a new or differently spelled name needs.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "os/FileApi.h"

namespace {

constexpr int kFiles = 20000;

std::string NewFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "brambolt-bench-os-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

std::string PageName(int i) { return "Page" + std::to_string(i) + ".htm"; }

// Makes the 20,000 files in a new folder per iteration with make(path); making and removing the
// folder are not timed.
template <class Make>
void CreateInNewFolders(benchmark::State& state, const char* separator, Make&& make) {
  for (auto _ : state) {
    state.PauseTiming();
    const std::string folder = NewFolder();
    const std::string prefix = folder + separator;
    state.ResumeTiming();
    for (int i = 0; i < kFiles; ++i) make(prefix + PageName(i));
    state.PauseTiming();
    std::filesystem::remove_all(folder);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}

// CreateFile(CREATE_NEW) on "<folder>\PageN.htm": every name is new, so every call looks it up
// case-insensitively in a folder that grows to 20,000 names.
void BM_CreateFilesInOneFolder(benchmark::State& state) {
  CreateInNewFolders(state, "\\", [](const std::string& path) {
    HANDLE file = CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) std::abort();
    CloseHandle(file);
  });
}

void BM_CreateFilesPlainOpen(benchmark::State& state) {
  CreateInNewFolders(state, "/", [](const std::string& path) {
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) std::abort();
    ::close(fd);
  });
}

// OPEN_EXISTING of every file of the full folder spelled in capitals ("PAGEN.HTM").
void BM_OpenFilesSpelledInOtherCase(benchmark::State& state) {
  const std::string folder = NewFolder();
  for (int i = 0; i < kFiles; ++i) {
    const int fd = ::open((folder + "/" + PageName(i)).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0) ::close(fd);
  }
  for (auto _ : state) {
    for (int i = 0; i < kFiles; ++i) {
      HANDLE file = CreateFile((folder + "\\PAGE" + std::to_string(i) + ".HTM").c_str(), GENERIC_READ, FILE_SHARE_READ,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file == INVALID_HANDLE_VALUE) std::abort();
      CloseHandle(file);
    }
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
  std::filesystem::remove_all(folder);
}

BENCHMARK(BM_CreateFilesInOneFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateFilesPlainOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFilesSpelledInOtherCase)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The Write Documentation run. "bench_documentation <project folder> <Chs|GB5|Eng>" analyses the
// project's "Header Files" and writes its documentation tree into the project's output folder as
// the application does, printing the time of each phase, the pages and bitmaps written and the
// peak memory. Without a folder it generates a project of 1,000 classes with 20 members each and
// measures the English run (all members documented) against writing as many bytes into as many
// files with plain fwrite.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/CWorkSpaceObj.h"
#include "model/DocumentationRun.h"

namespace {

namespace fs = std::filesystem;

std::string g_projectFolder;  // ends in '/'

long PeakMemoryKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// 1,000 classes in 100 headers, each deriving from an earlier one, with 10 member functions and 10
// member variables of mixed access.
std::string GenerateProject() {
  std::string pattern = (fs::temp_directory_path() / "brambolt-bench-doc-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  const std::string folder = pattern + "/";
  fs::create_directories(folder + "Header Files");
  const char* const access[] = {"public", "protected", "private"};
  const char* const types[] = {"int", "CString", "BOOL", "CWnd*", "DWORD"};
  for (int nFile = 0; nFile < 100; ++nFile) {
    std::string text = "// Generated classes " + std::to_string(nFile) + "\n#pragma once\n\n";
    for (int c = 0; c < 10; ++c) {
      const int n = nFile * 10 + c;
      const std::string name = "CGen" + std::to_string(n);
      const std::string base = n == 0 ? "CObject" : "CGen" + std::to_string(n / 3);
      text += "class " + name + " : public " + base + "\n{\n";
      for (int m = 0; m < 10; ++m) {
        text += std::string(access[m % 3]) + ":\n";
        text += "  // Member " + std::to_string(m) + " of " + name + ".\n";
        text += "  " + std::string(m % 4 == 0 ? "virtual " : "") + types[m % 5] + " Get" + std::to_string(m) +
                "(int nIndex, LPCTSTR lpszName);\n";
        text += "  " + std::string(types[(m + 2) % 5]) + " m_value" + std::to_string(m) + ";\n";
      }
      text += "};\n\n";
    }
    std::ofstream(folder + "Header Files/Gen" + std::to_string(nFile) + ".h", std::ios::binary) << text;
  }
  return folder;
}

struct TreeSize {
  int nFiles = 0;
  uintmax_t nBytes = 0;
};

TreeSize MeasureTree(const std::string& folder) {
  TreeSize size;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) {
      ++size.nFiles;
      size.nBytes += entry.file_size();
    }
  return size;
}

TreeSize g_lastRun;

void BM_WriteDocumentation(benchmark::State& state) {
  CWorkSpaceObj project;
  project.AnalyseProjectFiles((g_projectFolder + "Header Files\\*.*").c_str());
  const CString strFolder = GetDocumentationFolder(g_projectFolder.c_str(), LANGUAGE_ENG);
  DocumentationProgress progress;
  for (auto _ : state) GenerateDocumentation(project, strFolder, TRUE, LANGUAGE_ENG, progress);
  g_lastRun = MeasureTree(g_projectFolder + "Output_Eng");
  state.SetBytesProcessed(static_cast<int64_t>(g_lastRun.nBytes) * state.iterations());
  state.counters["classes"] = static_cast<double>(project.m_FileObjList.GetCount());
  state.counters["files"] = g_lastRun.nFiles;
  state.counters["MB"] = static_cast<double>(g_lastRun.nBytes) / 1e6;
}

// The same number of bytes in the same number of files, written with fwrite in 4 KB pieces.
void BM_FwriteSameBytes(benchmark::State& state) {
  const std::string folder = g_projectFolder + "fwrite/";
  const TreeSize size = g_lastRun;
  std::vector<char> chunk(4096, 'x');
  for (auto _ : state) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    const uintmax_t nPerFile = size.nFiles > 0 ? size.nBytes / static_cast<uintmax_t>(size.nFiles) : 0;
    for (int i = 0; i < size.nFiles; ++i) {
      FILE* pFile = std::fopen((folder + std::to_string(i) + ".htm").c_str(), "wb");
      if (pFile == nullptr) continue;
      for (uintmax_t left = nPerFile; left > 0;) {
        const size_t n = static_cast<size_t>(std::min<uintmax_t>(left, chunk.size()));
        std::fwrite(chunk.data(), 1, n, pFile);
        left -= n;
      }
      std::fclose(pFile);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(size.nBytes) * state.iterations());
  state.counters["files"] = size.nFiles;
}

BENCHMARK(BM_WriteDocumentation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FwriteSameBytes)->Unit(benchmark::kMillisecond);

int LanguageOf(const char* lpszName) {
  if (std::strcmp(lpszName, "GB5") == 0) return LANGUAGE_CHT;
  if (std::strcmp(lpszName, "Eng") == 0) return LANGUAGE_ENG;
  return LANGUAGE_CHS;
}

// The application's run over a real project, phase by phase.
int DocumentProject(std::string folder, const char* lpszLanguage) {
  if (folder.back() != '/' && folder.back() != '\\') folder += '/';
  const int nLanguage = LanguageOf(lpszLanguage);
  using Clock = std::chrono::steady_clock;
  auto seconds = [](Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); };

  CWorkSpaceObj project;
  auto start = Clock::now();
  project.AnalyseProjectFiles((folder + "Header Files\\*.*").c_str());
  std::printf("analysis:      %8.3f s  %d classes\n", seconds(start), static_cast<int>(project.m_FileObjList.GetCount()));

  const CString strFolder = GetDocumentationFolder(folder.c_str(), nLanguage);
  DocumentationProgress progress;
  start = Clock::now();
  const int nFailed = GenerateDocumentation(project, strFolder, TRUE, nLanguage, progress);
  std::printf("documentation: %8.3f s  %d pages, %d bitmaps, %d classes failed\n", seconds(start),
              progress.GetPageCount(), progress.GetBitmapCount(), nFailed);
  std::printf("output folder: %s\n", static_cast<LPCTSTR>(strFolder));
  std::printf("peak memory:   %ld KiB\n", PeakMemoryKiB());
  return nFailed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && argv[1][0] != '-' && argv[2][0] != '-') return DocumentProject(argv[1], argv[2]);
  g_projectFolder = GenerateProject();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("peak memory: %ld KiB\n", PeakMemoryKiB());
  fs::remove_all(g_projectFolder);
  return 0;
}

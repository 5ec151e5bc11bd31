// The Write Documentation run. "bench_documentation <project folder> <Chs|GB5|Eng>" analyses the
// project's "Header Files" and writes its documentation tree into the project's output folder as
// the application does (the user's Rewrite: the previous tree is removed first), twice: fresh,
// then again over the tree of the first run. It prints each run's time beside the time to copy
// the tree it made ("cp -r", right after), the bytes and files written, the threads that wrote the
// class folders, the hierarchy chart's size and the boxes it shows, and the peak memory. Without
// a folder it generates a project of 1,000 classes with 20 members each and reports the same for
// the English run, then the bytes written for a chain of 1,000 classes with the same members (each
// deriving from the one before), and the run of
// the generated project as the user starts it: the program's application object on the headless
// backend, the project opened, F5 with the Options dialog answered, timed beside the library's run.
// The Google Benchmark cases (run with --benchmark_filter=...) measure the run against writing as
// many bytes into as many files with fwrite, and the two layouts that must grow near-linearly: the
// class diagrams of a chain of 2,000 classes and the chart of 8,000 sibling classes.
// "bench_documentation --real-headers [source tree]" times the program's whole F5 command (the
// Options dialog answered, the progress dialog, the output tree's refresh) against the library's
// run on a project of the real headers below the tree (this program's own by default), fresh and
// again.
// The projects and their trees lie in /dev/shm (a RAM disk) where there is one and TMPDIR is not
// set, so that the disk's own speed, which varies from run to run, does not decide the ratios.
// Targets: fresh within 1.2x of the copy, again within 1.0x, peak memory under 64 MB; the chain's
// bytes within 10x of the generated project's; the program's run within 1.2x of the library's.
#include <benchmark/benchmark.h>

#include <algorithm>

#include <sys/resource.h>
#include <unistd.h>

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
#include "os/Paths.h"
#include "resources/ShellRes.h"
#include "tests/app/InkwrightAppSession.h"

namespace {

namespace fs = std::filesystem;

std::string g_projectFolder;  // ends in '/'

// Where the projects and their trees are made: TMPDIR when set, else a RAM disk when there is one.
fs::path ScratchFolder() {
  std::error_code error;
  if (std::getenv("TMPDIR") == nullptr && fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0)
    return "/dev/shm";
  return fs::temp_directory_path();
}

long PeakMemoryKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// 1,000 classes in 100 headers, each deriving from an earlier one (with bChain the one just
// before, else the one a third of its number), with 10 member functions and 10 member variables
// of mixed access.
std::string GenerateProject(bool bChain = false) {
  std::string pattern = (ScratchFolder() / "brambolt-bench-doc-XXXXXX").string();
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
      const std::string base = n == 0 ? "CObject" : "CGen" + std::to_string(bChain ? n - 1 : n / 3);
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
double g_dLibraryRun = 0;  // the first run of DocumentProject, in seconds

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

// The application's run over a real project, phase by phase: fresh, then again over its tree.
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
  // The language's output folder: the Htmls folder's parent.
  const std::string output = fs::path(brambolt::NativePath(static_cast<LPCTSTR>(strFolder))).parent_path().parent_path();
  fs::remove_all(output);
  int nFailed = 0;
  for (const char* run : {"fresh", "again"}) {
    DocumentationProgress progress;
    start = Clock::now();
    nFailed += GenerateDocumentation(project, strFolder, TRUE, nLanguage, progress);
    const double dRun = seconds(start);
    // The copy of what the run made, right after it: what writing that tree costs at the least.
    const std::string copy = folder + "copy-of-output";
    fs::remove_all(copy);
    start = Clock::now();
    const int nCopy = std::system(("cp -r '" + output + "' '" + copy + "'").c_str());
    const double dCopy = seconds(start);
    fs::remove_all(copy);
    std::printf("documentation (%s): %8.3f s  %d pages, %d bitmaps; cp -r %8.3f s%s; %.2fx the copy\n", run, dRun,
                progress.GetPageCount(), progress.GetBitmapCount(), dCopy, nCopy == 0 ? "" : " (failed)",
                dCopy > 0 ? dRun / dCopy : 0.0);
    if (g_dLibraryRun == 0) g_dLibraryRun = dRun;
  }
  g_lastRun = MeasureTree(output);
  std::printf("written:       %llu bytes in %d files\n", static_cast<unsigned long long>(g_lastRun.nBytes),
              g_lastRun.nFiles);
  std::printf("threads:       %d\n", GetDocumentationThreads());
  const int nChartBoxes = static_cast<int>(project.m_ChartBoxes.size());
  std::printf("chart: %d x %d pixels, %d of %d boxes\n", project.m_nChartWidth, project.m_nChartHeight,
              nChartBoxes - project.m_nChartBoxesCut, nChartBoxes + project.m_nChartRepeatsLeftOut);
  std::printf("output folder: %s\n", static_cast<LPCTSTR>(strFolder));
  std::printf("peak memory:   %ld KiB\n", PeakMemoryKiB());
  return nFailed == 0 ? 0 : 1;
}

// The class diagrams of a chain of 2,000 classes, each deriving from the one before.
void BM_PrepareDiagramsOfAChain(benchmark::State& state) {
  CWorkSpaceObj project;
  for (int i = 0; i < 2000; ++i) {
    auto* pClass = new CFileObj;
    pClass->m_strClassName.Format("CChain%d", i);
    if (i > 0) {
      pClass->m_strBaseClassName.Format("CChain%d", i - 1);
      pClass->m_BaseClassList.AddTail(pClass->m_strBaseClassName);
    }
    project.m_FileObjList.AddTail(pClass);
  }
  for (auto _ : state) {
    project.ClearAncestorChains();
    project.PrepareClassDiagrams(nullptr);
  }
}

// The chart of 8,000 classes under one base.
void BM_LayoutChartOfSiblings(benchmark::State& state) {
  CWorkSpaceObj project;
  for (int i = 0; i < 8000; ++i) {
    auto* pClass = new CFileObj;
    pClass->m_strClassName.Format("CSibling%d", i);
    pClass->m_strBaseClassName = "CBase";
    pClass->m_BaseClassList.AddTail("CBase");
    project.m_FileObjList.AddTail(pClass);
  }
  for (auto _ : state) project.LayoutHierarchyChart();
}

// The run as the user starts it: the application object on the headless backend opens the
// project (its .dcp written into the folder), F5 runs with the Options dialog answered (the
// project's language, Rewrite All) and the progress dialog runs until the pages are written.
// Returns the seconds from F5 until the command returned; dRefresh gets the time of the output
// tree's refresh that ends the command, timed again on its own.
double RunThroughTheProgram(const std::string& folder, double& dRefresh, double* pAgain = nullptr) {
  apptest::AppHome home;
  brambolt::test::UiSession session;
  apptest::AnsweredBoxes boxes;
  apptest::TestApp app;
  if (!app.InitInstance()) return -1;
  CWorkSpaceObj project;
  project.m_nOutputLanguage = LANGUAGE_ENG;
  project.m_strProjectTitle = "Generated";
  const std::string file = folder + "Generated.dcp";
  project.SaveToFile(file.c_str());
  app.OpenDocumentFile(file.c_str());
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Options", [](HWND dialog) {
    ::CheckDlgButton(dialog, 1017, BST_CHECKED);  // Rewrite All
    ::PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
  }, true);
  const auto start = std::chrono::steady_clock::now();
  ::SendMessage(app.m_pMainWnd->GetSafeHwnd(), WM_COMMAND, ID_WRITE_DOCUMENTATION, 0);
  const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (pAgain != nullptr) {
    // F5 again over the tree the first one wrote.
    const auto again = std::chrono::steady_clock::now();
    ::SendMessage(app.m_pMainWnd->GetSafeHwnd(), WM_COMMAND, ID_WRITE_DOCUMENTATION, 0);
    *pAgain = std::chrono::duration<double>(std::chrono::steady_clock::now() - again).count();
  }
  const auto refresh = std::chrono::steady_clock::now();
  app.RefreshOutputTree(FALSE);
  dRefresh = std::chrono::duration<double>(std::chrono::steady_clock::now() - refresh).count();
  app.End();
  return dSeconds;
}

// A project of real C++ headers: every header below the given source tree, copied flat into the
// project's "Header Files" (named after their folders, so none hides another).
std::string ProjectOfRealHeaders(const std::string& root, int& nHeaders) {
  std::string pattern = (ScratchFolder() / "brambolt-bench-real-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  const std::string folder = pattern + "/";
  fs::create_directories(folder + "Header Files");
  nHeaders = 0;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (it->is_directory() && (name.rfind("build", 0) == 0 || name == ".git" || name == "tests")) {
      it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file() || it->path().extension() != ".h") continue;
    std::string flat = fs::relative(it->path(), root).generic_string();
    std::replace(flat.begin(), flat.end(), '/', '_');
    fs::copy_file(it->path(), folder + "Header Files/" + flat, fs::copy_options::overwrite_existing);
    ++nHeaders;
  }
  return folder;
}

// The whole F5 command of the program against the library's run on the same real headers (each
// on a project of its own, fresh and then again over its tree): the command within 1.2x of the
// library's run is the target.
int CompareOnRealHeaders(const std::string& root) {
  int nHeaders = 0;
  const std::string library = ProjectOfRealHeaders(root, nHeaders);
  const std::string program = ProjectOfRealHeaders(root, nHeaders);
  using Clock = std::chrono::steady_clock;
  auto seconds = [](Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); };
  CWorkSpaceObj project;
  project.m_nOutputLanguage = LANGUAGE_ENG;
  project.m_strProjectTitle = "Generated";
  project.AnalyseProjectFiles((library + "Header Files\\*.*").c_str());
  const CString strFolder = GetDocumentationFolder(library.c_str(), LANGUAGE_ENG);
  double dLibrary[2] = {0, 0};
  int nPages = 0;
  for (double& dRun : dLibrary) {
    DocumentationProgress progress;
    const auto start = Clock::now();
    GenerateDocumentation(project, strFolder, TRUE, LANGUAGE_ENG, progress);
    dRun = seconds(start);
    nPages = progress.GetPageCount();
  }
  double dRefresh = 0, dAgain = 0;
  const double dProgram = RunThroughTheProgram(program, dRefresh, &dAgain);
  fs::current_path(ScratchFolder());
  // Both runs must have written the same tree, or the times compare different work.
  auto filesBelow = [](std::string top) {
    std::replace(top.begin(), top.end(), '\\', '/');
    long nFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(top))
      if (entry.is_regular_file()) ++nFiles;
    return nFiles;
  };
  const long nLibraryFiles = filesBelow(static_cast<LPCTSTR>(strFolder));
  const long nProgramFiles = filesBelow(static_cast<LPCTSTR>(GetDocumentationFolder(program.c_str(), LANGUAGE_ENG)));
  std::printf("scratch:       %s\n", ScratchFolder().c_str());
  std::printf("real headers:  %d headers from %s, %d classes, %d pages\n", nHeaders, root.c_str(),
              static_cast<int>(project.m_FileObjList.GetCount()), nPages);
  std::printf("files written: %ld by the library's run, %ld by the program's\n", nLibraryFiles, nProgramFiles);
  std::printf("library run:   %8.3f s fresh, %8.3f s again\n", dLibrary[0], dLibrary[1]);
  std::printf("program (F5):  %8.3f s fresh (%.2fx the library's), %8.3f s again (%.2fx); output tree's refresh "
              "%.3f s\n",
              dProgram, dLibrary[0] > 0 ? dProgram / dLibrary[0] : 0.0, dAgain,
              dLibrary[1] > 0 ? dAgain / dLibrary[1] : 0.0, dRefresh);
  fs::remove_all(library);
  fs::remove_all(program);
  return 0;
}

BENCHMARK(BM_PrepareDiagramsOfAChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutChartOfSiblings)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--real-headers") == 0)
    return CompareOnRealHeaders(argc > 2 ? argv[2] : BRAMBOLT_SOURCE_DIR);
  if (argc > 2 && argv[1][0] != '-' && argv[2][0] != '-') return DocumentProject(argv[1], argv[2]);
  g_projectFolder = GenerateProject();
  const bool bBenchmarks = argc > 1;
  int nResult = 0;
  if (!bBenchmarks) {
    nResult = DocumentProject(g_projectFolder, "Eng");
    const TreeSize ordinary = g_lastRun;
    const double dLibrary = g_dLibraryRun;
    // The same fresh run started by the user in the program, on a project of its own (files made
    // right after the removal of as many are slower to make, which would burden the program).
    const std::string programFolder = GenerateProject();
    double dRefresh = 0;
    const double dProgram = RunThroughTheProgram(programFolder, dRefresh);
    fs::current_path(ScratchFolder());  // the program made the project's folder the current one
    fs::remove_all(programFolder);
    std::printf("program (F5):  %8.3f s fresh; %.2fx the library's fresh run (its output tree's refresh: %.3f s)\n",
                dProgram, dLibrary > 0 ? dProgram / dLibrary : 0.0, dRefresh);
    std::printf("peak memory:   %ld KiB (with the program)\n", PeakMemoryKiB());
    // A chain of as many classes with the same members.
    const std::string chain = GenerateProject(true);
    std::printf("-- a chain of 1,000 classes --\n");
    nResult |= DocumentProject(chain, "Eng");
    std::printf("chain's bytes: %.2fx the generated project's\n",
                ordinary.nBytes > 0 ? static_cast<double>(g_lastRun.nBytes) / static_cast<double>(ordinary.nBytes) : 0.0);
    fs::remove_all(chain);
  } else {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("peak memory: %ld KiB\n", PeakMemoryKiB());
  }
  fs::remove_all(g_projectFolder);
  return nResult;
}

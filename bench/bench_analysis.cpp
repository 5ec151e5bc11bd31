// Header analysis of a project's "Header Files" folder against simply reading the same bytes
// line by line. "bench_analysis [project folder] [benchmark flags]": without a folder a project
// of 1,000 generated headers (about 10 MB) is made in a temporary folder.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/CStdioFile.h"
#include "foundation/SECFileSystem.h"
#include "model/CWorkSpaceObj.h"

namespace {

std::string g_projectFolder;  // ends in '/'

std::string HeaderPattern() { return g_projectFolder + "Header Files\\*.*"; }

// One generated header: classes with bases, commented members, overloads, inline bodies and
// parameter lists over several lines, as real headers have them (with fewer comments: members
// are denser here than in most real headers, which makes analysis look costlier).
std::string GenerateHeader(int nFile, std::mt19937& random) {
  std::string text = "// Generated header " + std::to_string(nFile) + "\n#pragma once\n#include <string>\n\n";
  int nClasses = 1 + static_cast<int>(random() % 3);
  for (int c = 0; c < nClasses; ++c) {
    std::string name = "CGen" + std::to_string(nFile) + "_" + std::to_string(c);
    std::string base = nFile == 0 ? "CWnd" : "CGen" + std::to_string(random() % static_cast<unsigned>(nFile)) + "_0";
    text += "/*\n * " + name + ": a generated class.\n */\nclass AFX_EXT_CLASS " + name + " : public " + base +
            ", protected CHelper\n{\npublic:\n  " + name + "();\n  virtual ~" + name + "();\n\n";
    int nMembers = 12 + static_cast<int>(random() % 16);
    for (int m = 0; m < nMembers; ++m) {
      std::string member = std::to_string(m);
      if (m % 4 == 0) text += "\n  // Group " + member + " of the members of " + name + ", documented as headers do.\n";
      switch (random() % 6) {
        case 0:
          text += "  // Returns value " + member + ".\n  int GetValue" + member + "() const { return m_nValue" +
                  member + "; }\n";
          break;
        case 1:
          text += "  virtual BOOL Create" + member + "(LPCTSTR lpszName,\n                 DWORD dwStyle,\n" +
                  "                 CWnd* pParent = NULL); // creates\n";
          break;
        case 2:
          text += "  void Set(int n" + member + ");\n  void Set(const CString& str" + member + ");\n";
          break;
        case 3:
          text += "protected:\n  CString m_str" + member + "; // name " + member + "\n  static int s_n" + member +
                  ";\npublic:\n";
          break;
        case 4:
          text += "  void Update" + member + "()\n  {\n    if (m_nValue > 0)\n    {\n      m_nValue--;\n    }\n  }\n";
          break;
        default:
          text += "  int m_nValue" + member + "; /* value */\n  std::string m_name" + member + ";\n";
          break;
      }
    }
    text += "#ifdef _DEBUG\n  virtual void AssertValid() const;\n#endif\n  DECLARE_MESSAGE_MAP()\n};\n\n";
  }
  return text;
}

// Writes 1,000 headers of about 10 KB each into a new temporary project folder.
std::string GenerateProject() {
  std::string pattern = (std::filesystem::temp_directory_path() / "brambolt-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  std::string folder = pattern + "/";
  std::filesystem::create_directories(folder + "Header Files");
  std::mt19937 random(2026);
  for (int nFile = 0; nFile < 1000; ++nFile) {
    std::string text;
    while (text.size() < 10000) text += GenerateHeader(nFile, random);
    std::ofstream(folder + "Header Files/Gen" + std::to_string(nFile) + ".h", std::ios::binary) << text;
  }
  return folder;
}

std::vector<CString> HeaderPaths() {
  SECFileSystem fs;
  std::unique_ptr<CStringList> list(fs.GetFileList(HeaderPattern().c_str(), FILE_ATTRIBUTE_NORMAL));
  std::vector<CString> paths;
  if (list)
    for (POSITION pos = list->GetHeadPosition(); pos != nullptr;) paths.push_back(list->GetNext(pos));
  return paths;
}

void BM_ReadLines(benchmark::State& state) {
  std::vector<CString> paths = HeaderPaths();
  int64_t nBytes = 0;
  for (auto _ : state) {
    for (const CString& path : paths) {
      CStdioFile file;
      if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) continue;
      CString line;
      while (file.ReadString(line)) nBytes += line.GetLength() + 1;
      benchmark::DoNotOptimize(line);
    }
  }
  state.SetBytesProcessed(nBytes);
  state.counters["files"] = static_cast<double>(paths.size());
}

void BM_AnalyseProject(benchmark::State& state) {
  CWorkSpaceObj project;
  for (auto _ : state) {
    state.PauseTiming();
    project.DeleteAllFileObjs();
    // The allocator merges what the deletion freed here, not in the analysis that follows.
    malloc_trim(0);
    state.ResumeTiming();
    project.AnalyseProjectFiles(HeaderPattern().c_str());
  }
  int nFunctions = 0;
  int nVariables = 0;
  for (POSITION pos = project.m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = project.m_FileObjList.GetNext(pos);
    nFunctions += static_cast<int>(pClass->m_MemberFunctionList.GetCount());
    nVariables += static_cast<int>(pClass->m_VariableList.GetCount());
  }
  state.counters["files"] = static_cast<double>(HeaderPaths().size());
  state.counters["classes"] = static_cast<double>(project.m_FileObjList.GetCount());
  state.counters["functions"] = nFunctions;
  state.counters["variables"] = nVariables;
}

void BM_BuildRootClassList(benchmark::State& state) {
  CWorkSpaceObj project;
  project.AnalyseProjectFiles(HeaderPattern().c_str());
  for (auto _ : state) project.BuildRootClassList();
  state.counters["classes"] = static_cast<double>(project.m_FileObjList.GetCount());
  state.counters["roots"] = static_cast<double>(project.m_RootClassList.GetCount());
}

BENCHMARK(BM_ReadLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalyseProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildRootClassList)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bool bGenerated = false;
  if (argc > 1 && argv[1][0] != '-') {
    g_projectFolder = argv[1];
    if (g_projectFolder.back() != '/' && g_projectFolder.back() != '\\') g_projectFolder += '/';
    for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
    --argc;
  } else {
    g_projectFolder = GenerateProject();
    bGenerated = true;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory: %ld KiB\n", usage.ru_maxrss);
  if (bGenerated) std::filesystem::remove_all(g_projectFolder);
  return 0;
}

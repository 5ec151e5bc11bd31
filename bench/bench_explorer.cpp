// The Project Explorer's trees over large projects: the file view of a 20,000-file project, the
// output view of 20,000 generated pages and the class views of 1,000 classes with 20,000
// members, filled and expanded whole, beside the analysis of the same headers.
#include <benchmark/benchmark.h>

#include <string>

#include <malloc.h>

#include "app/ClassView.h"
#include "app/ClassViewStruct.h"
#include "app/DatabaseView.h"
#include "app/FileView.h"
#include "model/ModelIds.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ExplorerTestSupport.h"

namespace {

constexpr int kFilesPerFolder = 10000;

// The heap memory in use, in kilobytes.
double HeapKb() { return static_cast<double>(::mallinfo2().uordblks) / 1024.0; }

// A project "Large", open in the shell once its files are written, and a window for its trees.
struct LargeProject {
  brambolt::test::UiSession session;
  CWinApp app{"Explorer Bench"};
  explorertest::ProjectFolder project;
  explorertest::ProjectShell shell;
  apptest::Host host{300, 600};

  void Open() {
    shell.name = "Large";
    shell.folder = project.Folder();
  }
};

// Makes the tree in the project's window (which fills it), then times its refresh as the explorer
// shows it (range 0) or refreshed and expanded whole (range 1).
template <class Tree>
void MeasureRefresh(benchmark::State& state, LargeProject& p, Tree& tree, UINT nId) {
  const double before = HeapKb();
  tree.Create(WS_CHILD | WS_VISIBLE | 0x37, 0x02000000, CRect(0, 0, 300, 600), &p.host, nId);
  state.counters["filled_kb"] = HeapKb() - before;  // the heap the filled tree holds
  for (auto _ : state) {
    tree.Refresh();
    if (state.range(0) != 0) tree.ExpandAll(tree.GetRootItem());
    brambolt::test::RunUntilIdle();
  }
  state.counters["items"] = tree.GetCount();
}

// The file tree of kFilesPerFolder sources and as many headers.
void BM_FileViewRefresh(benchmark::State& state) {
  LargeProject p;
  for (int i = 0; i < kFilesPerFolder; ++i) {
    std::string name = "file" + std::to_string(i * 7919 % kFilesPerFolder);
    p.project.Write("Source Code/" + name + ".cpp");
    p.project.Write("Header Files/" + name + ".h");
  }
  p.Open();
  FileView tree;
  MeasureRefresh(state, p, tree, 70004);
}
BENCHMARK(BM_FileViewRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

constexpr int kPageFolders = 100;
constexpr int kPagesPerFolder = 200;

// The output tree of kPageFolders folders of kPagesPerFolder pages each.
void BM_OutputViewRefresh(benchmark::State& state) {
  LargeProject p;
  for (int folder = 0; folder < kPageFolders; ++folder) {
    const std::string path = "Output_Chs/Htmls/classes" + std::to_string(folder * 37 % kPageFolders) + "/";
    for (int page = 0; page < kPagesPerFolder; ++page)
      p.project.Write(path + "page" + std::to_string(page * 7919 % kPagesPerFolder) + ".htm");
  }
  p.Open();
  p.shell.workspace.m_nOutputLanguage = LANGUAGE_CHS;
  DatabaseView tree;
  MeasureRefresh(state, p, tree, 70002);
}
BENCHMARK(BM_OutputViewRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

constexpr int kClasses = 1000;
constexpr int kMembersPerKind = 10;  // variables and as many functions: 20 members a class

// A project "Large" of kClasses headers, each a class deriving from the one before every tenth,
// analysed once.
struct LargeClassProject : LargeProject {
  LargeClassProject() {
    for (int i = 0; i < kClasses; ++i) {
      std::string name = "Class" + std::to_string(i * 7919 % kClasses);
      std::string text = "class " + name;
      if (i % 10 != 0) text += " : public Class" + std::to_string((i - 1) * 7919 % kClasses);
      text += " {\npublic:\n";
      for (int m = 0; m < kMembersPerKind; ++m) {
        text += "  int Method" + std::to_string(m) + "(int nValue);\n";
        text += (m % 2 ? "protected:\n" : "private:\n");
        text += "  int m_nField" + std::to_string(m) + ";\n";
        text += "public:\n";
      }
      text += "};\n";
      project.Write("Header Files/" + name + ".h", text);
    }
    Open();
    Analyse();
  }
  void Analyse() {
    shell.workspace.DeleteAllFileObjs();
    shell.workspace.AnalyseProjectFiles(shell.folder + "Header Files\\*.*");
  }
};

void BM_AnalyseLargeProject(benchmark::State& state) {
  LargeClassProject p;
  for (auto _ : state) p.Analyse();
  state.counters["classes"] = static_cast<double>(p.shell.workspace.m_FileObjList.GetCount());
}
BENCHMARK(BM_AnalyseLargeProject)->Unit(benchmark::kMillisecond);

template <class Tree>
void BM_ClassTreeRefresh(benchmark::State& state) {
  LargeClassProject p;
  Tree tree;
  MeasureRefresh(state, p, tree, 101);
}
BENCHMARK(BM_ClassTreeRefresh<ClassView>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassTreeRefresh<ClassViewStruct>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

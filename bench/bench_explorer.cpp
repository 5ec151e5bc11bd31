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

// A project "Large" of kFilesPerFolder sources and as many headers, open in the shell, and its
// file tree in a window.
struct LargeFileTree {
  brambolt::test::UiSession session;
  CWinApp app{"Explorer Bench"};
  explorertest::ProjectFolder project;
  explorertest::ProjectShell shell;
  apptest::Host host{300, 600};
  FileView tree;

  LargeFileTree() {
    for (int i = 0; i < kFilesPerFolder; ++i) {
      std::string name = "file" + std::to_string(i * 7919 % kFilesPerFolder);
      project.Write("Source Code/" + name + ".cpp");
      project.Write("Header Files/" + name + ".h");
    }
    shell.name = "Large";
    shell.folder = project.Folder();
    const double before = HeapKb();
    tree.Create(WS_CHILD | WS_VISIBLE | 0x37, 0x02000000, CRect(0, 0, 300, 600), &host, 70004);
    filledKb = HeapKb() - before;
  }
  double filledKb = 0;  // the heap the filled tree holds
};

void BM_FileViewRefresh(benchmark::State& state) {
  LargeFileTree f;
  state.counters["filled_kb"] = f.filledKb;
  for (auto _ : state) {
    f.tree.Refresh();
    if (state.range(0) != 0) f.tree.ExpandAll(f.tree.GetRootItem());
    brambolt::test::RunUntilIdle();
  }
  state.counters["items"] = f.tree.GetCount();
}
// 0: refreshed as the explorer shows it; 1: then expanded whole.
BENCHMARK(BM_FileViewRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

constexpr int kPageFolders = 100;
constexpr int kPagesPerFolder = 200;

// A project "Large" whose output holds kPageFolders folders of kPagesPerFolder pages each, open
// in the shell, and its output tree in a window.
struct LargeOutputTree {
  brambolt::test::UiSession session;
  CWinApp app{"Explorer Bench"};
  explorertest::ProjectFolder project;
  explorertest::ProjectShell shell;
  apptest::Host host{300, 600};
  DatabaseView tree;

  LargeOutputTree() {
    for (int folder = 0; folder < kPageFolders; ++folder) {
      const std::string path = "Output_Chs/Htmls/classes" + std::to_string(folder * 37 % kPageFolders) + "/";
      for (int page = 0; page < kPagesPerFolder; ++page)
        project.Write(path + "page" + std::to_string(page * 7919 % kPagesPerFolder) + ".htm");
    }
    shell.name = "Large";
    shell.folder = project.Folder();
    shell.workspace.m_nOutputLanguage = LANGUAGE_CHS;
    const double before = HeapKb();
    tree.Create(WS_CHILD | WS_VISIBLE | 0x37, 0x02000000, CRect(0, 0, 300, 600), &host, 70002);
    filledKb = HeapKb() - before;
  }
  double filledKb = 0;  // the heap the filled tree holds
};

void BM_OutputViewRefresh(benchmark::State& state) {
  LargeOutputTree f;
  state.counters["filled_kb"] = f.filledKb;
  for (auto _ : state) {
    f.tree.Refresh();
    if (state.range(0) != 0) f.tree.ExpandAll(f.tree.GetRootItem());
    brambolt::test::RunUntilIdle();
  }
  state.counters["items"] = f.tree.GetCount();
}
// 0: refreshed as the explorer shows it; 1: then expanded whole.
BENCHMARK(BM_OutputViewRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

constexpr int kClasses = 1000;
constexpr int kMembersPerKind = 10;  // variables and as many functions: 20 members a class

// A project "Large" of kClasses headers, each a class deriving from the one before every tenth,
// analysed once.
struct LargeClassProject {
  brambolt::test::UiSession session;
  CWinApp app{"Explorer Bench"};
  explorertest::ProjectFolder project;
  explorertest::ProjectShell shell;
  apptest::Host host{300, 600};

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
    shell.name = "Large";
    shell.folder = project.Folder();
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
  const double before = HeapKb();
  tree.Create(WS_CHILD | WS_VISIBLE | 0x37, 0x02000000, CRect(0, 0, 300, 600), &p.host, 101);
  state.counters["filled_kb"] = HeapKb() - before;
  for (auto _ : state) {
    tree.Refresh();
    if (state.range(0) != 0) tree.ExpandAll(tree.GetRootItem());
    brambolt::test::RunUntilIdle();
  }
  state.counters["items"] = tree.GetCount();
}
BENCHMARK(BM_ClassTreeRefresh<ClassView>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassTreeRefresh<ClassViewStruct>)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

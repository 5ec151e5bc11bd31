// The Project Explorer's trees over large projects: the file view of a 20,000-file project
// filled, refreshed and expanded whole.
#include <benchmark/benchmark.h>

#include <string>

#include "app/FileView.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ExplorerTestSupport.h"

namespace {

constexpr int kFilesPerFolder = 10000;

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
    tree.Create(WS_CHILD | WS_VISIBLE | 0x37, 0x02000000, CRect(0, 0, 300, 600), &host, 70004);
  }
};

void BM_FileViewRefresh(benchmark::State& state) {
  LargeFileTree f;
  for (auto _ : state) {
    f.tree.Refresh();
    if (state.range(0) != 0) f.tree.ExpandAll(f.tree.GetRootItem());
    brambolt::test::RunUntilIdle();
  }
  state.counters["items"] = f.tree.GetCount();
}
// 0: refreshed as the explorer shows it; 1: then expanded whole.
BENCHMARK(BM_FileViewRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Typing into the editor window: keystrokes with automatic indentation at the first and at the
// last line of a 100,000-line file (each including the repaint of what it changed), select-all
// and copy of 100 MB, and paging through 100,000 lines.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/editor/ControllerHost.h"

namespace {

// The generated files go when the program ends.
struct TempFiles {
  ~TempFiles() {
    for (const std::string& path : paths) std::filesystem::remove(path);
  }
  std::vector<std::string> paths;
};

// A file of `lines` indented C-like lines, about `bytesPerLine` bytes each.
std::string MakeFile(const char* name, int lines, int bytesPerLine) {
  static TempFiles files;
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  if (std::find(files.paths.begin(), files.paths.end(), path) != files.paths.end()) return path;
  files.paths.push_back(path);
  std::ofstream out(path, std::ios::binary);
  std::string body(static_cast<size_t>(std::max(0, bytesPerLine - 12)), 'x');
  for (int i = 0; i < lines; ++i) out << (i % 3 == 0 ? "if (a) {\r\n" : "\tcall(" + body + ");\r\n");
  return path;
}

// Opens a file into the host's model (the model keeps its own copy).
void Open(editortest::ControllerHost& host, const std::string& path) {
  host.model.OpenFile(path.c_str());
  host.Ctl().ResetState();
  host.Ctl().GetViewport()->SetLogOrigin(0, 0);
  brambolt::test::RunUntilIdle();
}

// One keystroke: a character, and every 40th an Enter with automatic indentation.
void TypeAt(benchmark::State& state, bool atEnd) {
  editortest::ControllerHost host(800, 600);
  Open(host, MakeFile("bench_editor_input_100k.cpp", 100000, 40));
  if (atEnd) host.Ctl().SetCaretPos(host.model.GetLastLine(), 0, FALSE);
  host.Ctl().EnsureCaretVisible();
  ::UpdateWindow(host.Hwnd());
  const std::string typed = "value = compute(first, second) + 42;";
  size_t i = 0;
  for (auto _ : state) {
    if (i % 40 == 39) {
      host.Ctl().OnEnter();
    } else {
      CString c(typed[i % typed.size()], 1);
      host.Ctl().InsertTypedText(c);
    }
    ++i;
    ::UpdateWindow(host.Hwnd());
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_KeystrokeAtFirstLine(benchmark::State& state) { TypeAt(state, false); }
void BM_KeystrokeAtLastLine(benchmark::State& state) { TypeAt(state, true); }
BENCHMARK(BM_KeystrokeAtFirstLine)->Iterations(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeAtLastLine)->Iterations(10000)->Unit(benchmark::kMicrosecond);

void BM_SelectAllAndCopy100MB(benchmark::State& state) {
  editortest::ControllerHost host;
  Open(host, MakeFile("bench_editor_input_100MB.cpp", 100 << 20 >> 6, 64));
  for (auto _ : state) {
    host.Ctl().SelectAll();
    benchmark::DoNotOptimize(host.Ctl().Copy());
  }
  state.SetBytesProcessed(state.iterations() * (100LL << 20));
}
BENCHMARK(BM_SelectAllAndCopy100MB)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_PageDownThrough100kLines(benchmark::State& state) {
  editortest::ControllerHost host(800, 600);
  Open(host, MakeFile("bench_editor_input_100k.cpp", 100000, 40));
  for (auto _ : state) {
    host.Ctl().RememberCaretX();
    if (!host.Ctl().MovePageDown()) host.Ctl().SetCaretPos(0, 0, FALSE);
    if (host.Ctl().GetCaretPosition().m_nLine >= host.model.GetLastLine()) {
      host.Ctl().SetCaretPos(0, 0, FALSE);
      host.Ctl().SetTopLine(0);
    }
    host.Ctl().EnsureCaretVisible();
    ::UpdateWindow(host.Hwnd());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PageDownThrough100kLines)->Iterations(3000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// Replace All of 200,000 matches in a 50 MB file: through the editor window on the headless
// backend (the command as the Replace dialog gives it, its count message answered, the window
// repainted), and the same replacement made on the text buffer alone, the measure the window is
// held to (within three times of it).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "editor/SECEditBlockBuffer.h"
#include "tests/editor/ControllerHost.h"

namespace {

constexpr int kMatches = 200000;
constexpr int kLineBytes = 262;  // 200,000 lines of this make 50 MB

// 200,000 lines of about 262 bytes, each with one "value" among other words.
const std::string& SourceFile() {
  static struct File {
    std::string path = (std::filesystem::temp_directory_path() / "bench_editor_replace_50mb.cpp").string();
    File() {
      std::ofstream out(path, std::ios::binary);
      const std::string head = "\tresult = compute(first, second, value, third);";
      const std::string tail(static_cast<size_t>(kLineBytes) - head.size() - 2, 'x');
      for (int i = 0; i < kMatches; ++i) out << head << tail << "\r\n";
    }
    ~File() { std::filesystem::remove(path); }
  } file;
  return file.path;
}

void BM_ReplaceAllInTheEditorWindow(benchmark::State& state) {
  editortest::ControllerHost host(800, 600);
  brambolt::test::ModalAnswers answers;
  answers.When("#32770", nullptr, [](HWND box) { ::EndDialog(box, IDOK); }, true);
  _SEC_FIND_REPLACE_STATE* find = host.Ctl().GetFindReplaceState();
  find->m_strFind = "value";
  find->m_strReplace = "amount";
  find->m_bCase = TRUE;
  find->m_bNext = TRUE;
  find->m_bRegExp = find->m_bWord = find->m_bInSelection = FALSE;
  for (auto _ : state) {
    state.PauseTiming();
    host.model.OpenFile(SourceFile().c_str());
    host.Ctl().ResetState();
    ::UpdateWindow(host.Hwnd());
    state.ResumeTiming();
    host.Ctl().ReplaceAll(find);
    ::UpdateWindow(host.Hwnd());
  }
  state.counters["lines"] = host.model.GetLineCount();
}

void BM_ReplaceAllOnTheTextBuffer(benchmark::State& state) {
  int replaced = 0;
  for (auto _ : state) {
    state.PauseTiming();
    SECEditBlockBuffer buffer;
    CFile file(SourceFile().c_str(), CFile::modeRead);
    buffer.LoadFrom(&file);
    state.ResumeTiming();
    std::vector<SECEditReplacement> edits;
    const std::string amount = "amount";
    int line = 0, col = 0;
    while (buffer.Find(line, col, &line, &col, "value", TRUE, FALSE, TRUE, FALSE, FALSE, -1, 0) > 0) {
      const int offset = buffer.LineColToOffset(line, col);
      if (!edits.empty() && offset <= edits.back().offset) break;
      edits.push_back({offset, 5, 0, 6});
      col += 5;
    }
    buffer.ReplaceRanges(edits, amount);
    replaced = static_cast<int>(edits.size());
  }
  state.counters["replaced"] = replaced;
}

}  // namespace

BENCHMARK(BM_ReplaceAllInTheEditorWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReplaceAllOnTheTextBuffer)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();

// The editor model on generated C++ files of 1, 10 and 100 MB: opening against fread, colouring
// the first screen, single-character edits at the start, middle and end, undo and redo of 10,000
// edits, plain search against memmem, regular-expression search and replacing a frequent word.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "editor/model/SECEdit.h"
#include "tests/editor/TestLanguage.h"

namespace {

constexpr const char* kNeedle = "needle_at_the_very_end";

// A C++-looking file of about `megabytes` MB with the needle only in its last line.
const std::string& SourceFile(int megabytes) {
  static std::map<int, std::string> paths;
  std::string& path = paths[megabytes];
  if (!path.empty()) return path;
  path = (std::filesystem::temp_directory_path() / ("bench_editor_" + std::to_string(megabytes) + "MB.cpp")).string();
  std::ofstream out(path, std::ios::binary);
  const std::string chunk =
      "/* A block comment\n   over two lines */\n"
      "int function_name(int value, const char* text) {\n"
      "  // a line comment with a word\n"
      "  if (value > 10) return printf(\"%s %d\\n\", text, value);\n"
      "  return value * 2 + strlen(text);\n"
      "}\n\n";
  const size_t target = static_cast<size_t>(megabytes) << 20;
  for (size_t written = 0; written < target; written += chunk.size()) out << chunk;
  out << "int " << kNeedle << " = 1;\n";
  return path;
}

struct Session {
  Session() : c("C"), scope({&c}) { editortest::MakeC(c); }
  CWinApp app{"Editor Benchmark"};
  editortest::TestLanguage c;
  editortest::LanguageScope scope;
};

Session& TheSession() {
  static Session session;
  return session;
}

std::unique_ptr<SECEdit> OpenModel(int megabytes) {
  TheSession();
  auto model = std::make_unique<SECEdit>();
  model->ResetWithLanguage("C");
  model->OpenFile(SourceFile(megabytes).c_str());
  return model;
}

// The baseline: the file read with fread into memory allocated for it, as any reader must.
void BM_ReadWithFread(benchmark::State& state) {
  const std::string& path = SourceFile(static_cast<int>(state.range(0)));
  const size_t size = std::filesystem::file_size(path);
  for (auto _ : state) {
    std::unique_ptr<char[]> bytes(new char[size]);
    FILE* file = std::fopen(path.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(bytes.get(), 1, size, file));
    std::fclose(file);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

void BM_Open(benchmark::State& state) {
  const std::string& path = SourceFile(static_cast<int>(state.range(0)));
  TheSession();
  SECEdit model;
  model.ResetWithLanguage("C");
  for (auto _ : state) benchmark::DoNotOptimize(model.OpenFile(path.c_str()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

void BM_ColourFirstScreen(benchmark::State& state) {
  auto model = OpenModel(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    model->ClearColourCache();
    for (int line = 0; line < 60; ++line) benchmark::DoNotOptimize(model->GetLineColor(line));
  }
}

// Inserts one character at a place, colours the lines around it as a view would, deletes it again.
void EditAt(benchmark::State& state, double where) {
  auto model = OpenModel(static_cast<int>(state.range(0)));
  const int line = static_cast<int>(model->GetLastLine() * where);
  for (auto _ : state) {
    model->InsertTextAt(line, 0, "x", 1);
    for (int l = line; l < line + 40 && l < model->GetLineCount(); ++l) benchmark::DoNotOptimize(model->GetLineColor(l));
    model->DeleteText(line, 0, line, 1);
  }
}

void BM_EditAtStart(benchmark::State& state) { EditAt(state, 0.0); }
void BM_EditInMiddle(benchmark::State& state) { EditAt(state, 0.5); }
void BM_EditAtEnd(benchmark::State& state) { EditAt(state, 1.0); }

void BM_UndoRedo10000Edits(benchmark::State& state) {
  auto model = OpenModel(static_cast<int>(state.range(0)));
  model->SetHistorySize(10000);  // the editor keeps 256; the measure asks for 10,000
  const int line = model->GetLastLine() / 2;
  for (int i = 0; i < 10000; ++i) model->InsertTextAt(line, i % 20, "y", 1);
  for (auto _ : state) {
    while (model->Undo() != nullptr) {
    }
    while (model->Redo() != nullptr) {
    }
  }
}

void BM_FindPlain(benchmark::State& state) {
  auto model = OpenModel(static_cast<int>(state.range(0)));
  int line = 0, col = 0;
  for (auto _ : state) benchmark::DoNotOptimize(model->Find(0, 0, &line, &col, kNeedle, TRUE, FALSE, TRUE, FALSE, FALSE, -1, 0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(SourceFile(static_cast<int>(state.range(0))))));
}

void BM_MemmemSameBytes(benchmark::State& state) {
  std::ifstream in(SourceFile(static_cast<int>(state.range(0))), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  for (auto _ : state) benchmark::DoNotOptimize(memmem(text.data(), text.size(), kNeedle, std::strlen(kNeedle)));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_FindRegExp(benchmark::State& state) {
  auto model = OpenModel(static_cast<int>(state.range(0)));
  int line = 0, col = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(model->Find(0, 0, &line, &col, "needle_\\w+_end", TRUE, FALSE, TRUE, FALSE, TRUE, -1, 0));
}

// Replaces every "value" by "amount" as Replace All does: find, delete, insert, in one group.
void BM_ReplaceAllFrequentWord(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto model = OpenModel(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    model->GroupCommands(TRUE);
    int line = 0, col = 0, count = 0;
    while (model->Find(line, col, &line, &col, "value", TRUE, FALSE, TRUE, TRUE, FALSE, model->GetLastLine(), 0) > 0) {
      model->DeleteText(line, col, line, col + 5);
      model->InsertTextAt(line, col, "amount", 6);
      col += 6;
      ++count;
    }
    model->GroupCommands(FALSE);
    state.counters["replaced"] = count;
  }
}

}  // namespace

BENCHMARK(BM_ReadWithFread)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColourFirstScreen)->Arg(1)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditAtStart)->Arg(1)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditInMiddle)->Arg(1)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditAtEnd)->Arg(1)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedo10000Edits)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPlain)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemmemSameBytes)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRegExp)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAllFrequentWord)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();

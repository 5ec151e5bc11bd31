// What users wait on in the foundation's file classes: writing and reading a 64 MB gzip file
// (with the system's gzip at levels 1 and 6 and its decompression on the same data for the
// ratio), and listing a folder of 100,000 files.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "foundation/SECCompressFile.h"
#include "foundation/SECFileSystem.h"

namespace {

constexpr std::size_t kDataSize = 64u << 20;
constexpr UINT kChunk = 64 * 1024;
constexpr int kListedFiles = 100000;

// A private temporary folder, made on first use and removed when the program ends.
class Scratch {
 public:
  static Scratch& Get() {
    static Scratch scratch;
    return scratch;
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  std::string Path(const std::string& name) const { return m_path + "/" + name; }

  // Source-like text with some noise: compresses about as well as the program's own files.
  const std::string& Data() {
    if (m_data.empty()) {
      std::mt19937 random(42);
      const char* words[] = {"class ", "CString ", "m_strName", "(", ") ", "{\n", "}\n", "return ", "BOOL ",
                             "int ", "const ", "& ", "; ", "// ", "TRUE", "FALSE", "if ", "for ", "\n    "};
      m_data.reserve(kDataSize);
      while (m_data.size() < kDataSize) {
        m_data += words[random() % std::size(words)];
        if (random() % 16 == 0) m_data += std::to_string(random());
      }
      m_data.resize(kDataSize);
      std::ofstream(Path("data.bin"), std::ios::binary).write(m_data.data(), static_cast<std::streamsize>(m_data.size()));
    }
    return m_data;
  }

  // The folder of kListedFiles empty files.
  const std::string& ListingFolder() {
    if (m_listing.empty()) {
      m_listing = Path("listing");
      std::filesystem::create_directories(m_listing);
      for (int i = 0; i < kListedFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/File%06d.h", i);
        std::ofstream(m_listing + name);
      }
    }
    return m_listing;
  }

 private:
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brambolt-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    m_path = pattern;
  }
  std::string m_path;
  std::string m_data;
  std::string m_listing;
};

void Shell(benchmark::State& state, const std::string& command) {
  if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
}

void BM_GzipWrite(benchmark::State& state) {
  Scratch& scratch = Scratch::Get();
  const std::string& data = scratch.Data();
  const std::string path = scratch.Path("ours.gz");
  for (auto _ : state) {
    SECCompressFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    for (std::size_t pos = 0; pos < data.size(); pos += kChunk) file.Write(data.data() + pos, kChunk);
    file.Close();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
  state.counters["ratio"] = static_cast<double>(std::filesystem::file_size(path)) / static_cast<double>(data.size());
}
BENCHMARK(BM_GzipWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GzipRead(benchmark::State& state) {
  Scratch& scratch = Scratch::Get();
  const std::string path = scratch.Path("ours.gz");
  {
    const std::string& data = scratch.Data();
    SECCompressFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write(data.data(), static_cast<UINT>(data.size()));
  }
  std::vector<char> buffer(kChunk);
  for (auto _ : state) {
    SECCompressFile file(path.c_str(), CFile::modeRead);
    while (file.Read(buffer.data(), kChunk) != 0) {
    }
    file.Close();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataSize));
}
BENCHMARK(BM_GzipRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SystemGzip(benchmark::State& state) {
  Scratch& scratch = Scratch::Get();
  scratch.Data();
  const std::string command = "gzip -" + std::to_string(state.range(0)) + " -c '" + scratch.Path("data.bin") + "' > '" +
                              scratch.Path("system.gz") + "'";
  for (auto _ : state) Shell(state, command);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataSize));
  state.counters["ratio"] =
      static_cast<double>(std::filesystem::file_size(scratch.Path("system.gz"))) / static_cast<double>(kDataSize);
}
BENCHMARK(BM_SystemGzip)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SystemGunzip(benchmark::State& state) {
  Scratch& scratch = Scratch::Get();
  scratch.Data();
  Shell(state, "gzip -6 -c '" + scratch.Path("data.bin") + "' > '" + scratch.Path("system.gz") + "'");
  const std::string command = "gzip -dc '" + scratch.Path("system.gz") + "' > /dev/null";
  for (auto _ : state) Shell(state, command);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataSize));
}
BENCHMARK(BM_SystemGunzip)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ListFolderOfFiles(benchmark::State& state) {
  const std::string pattern = Scratch::Get().ListingFolder() + "\\*.*";
  std::size_t listed = 0;
  for (auto _ : state) {
    SECFileSystem fs;
    std::unique_ptr<CStringList> list(fs.GetFileList(pattern.c_str(), FILE_ATTRIBUTE_NORMAL));
    listed = static_cast<std::size_t>(list->GetCount());
  }
  if (listed != kListedFiles) state.SkipWithError("the listing missed files");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kListedFiles);
}
BENCHMARK(BM_ListFolderOfFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

// Replays every committed input of every fuzz target (its seeds and the reproducers of faults
// that fuzzing found), which must all run clean; under the sanitizers in their build. A
// regression check that takes seconds: tools/run-fuzz runs a real fuzzing session.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#define FUZZ_TARGET(name) extern "C" int Fuzz_##name(const uint8_t* data, size_t size);
#include "FuzzTargets.inc"
#undef FUZZ_TARGET

namespace {

namespace fs = std::filesystem;

struct Target {
  const char* name;
  int (*run)(const uint8_t* data, size_t size);
};

const Target kTargets[] = {
#define FUZZ_TARGET(name) {#name, &Fuzz_##name},
#include "FuzzTargets.inc"
#undef FUZZ_TARGET
};

void PrintTo(const Target& target, std::ostream* os) { *os << target.name; }

class FuzzReplay : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzReplay, EveryCommittedInputRunsClean) {
  const fs::path corpus = fs::path(BRAMBOLT_FUZZ_CORPUS_DIR) / GetParam().name;
  ASSERT_TRUE(fs::is_directory(corpus / "seeds")) << corpus;
  int nInputs = 0;
  for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    SCOPED_TRACE(entry.path().string());
    // An exact copy, as libFuzzer hands it over: a read past the end is one past the allocation.
    auto copy = std::make_unique<uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), copy.get());
    EXPECT_EQ(GetParam().run(copy.get(), bytes.size()), 0);
    ++nInputs;
  }
  EXPECT_GT(nInputs, 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

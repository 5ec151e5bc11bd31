// The analyser's expected-output suite: every header under tests/data/analyser is analysed and its
// records dumped; the dump must equal the <header>.records file checked in beside it. Run with
// BRAMBOLT_UPDATE_GOLDEN=1 to rewrite the expected files, so a change shows as a difference in review.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AnalyserDump.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t nStart = 0; nStart < text.size();) {
    size_t nEnd = text.find('\n', nStart);
    if (nEnd == std::string::npos) nEnd = text.size();
    lines.push_back(text.substr(nStart, nEnd - nStart));
    nStart = nEnd + 1;
  }
  return lines;
}

// The lines of a difference, "-" for expected lines that are missing and "+" for found lines that
// were not expected, in order (a longest common subsequence of lines).
std::string LineDifference(const std::string& expected, const std::string& found) {
  const std::vector<std::string> a = Lines(expected);
  const std::vector<std::string> b = Lines(found);
  std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1, 0));
  for (size_t i = a.size(); i-- > 0;)
    for (size_t j = b.size(); j-- > 0;)
      common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
  std::string difference;
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() || j < b.size()) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      ++i;
      ++j;
    } else if (i < a.size() && (j == b.size() || common[i + 1][j] >= common[i][j + 1])) {
      difference += "-" + a[i++] + "\n";
    } else {
      difference += "+" + b[j++] + "\n";
    }
  }
  return difference;
}

}  // namespace

TEST(AnalyserExpectedOutput, EveryFixtureGivesItsCheckedInRecords) {
  const fs::path folder = fs::path(BRAMBOLT_TEST_DATA_DIR) / "analyser";
  std::vector<fs::path> headers;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".h") headers.push_back(entry.path());
  std::sort(headers.begin(), headers.end());
  ASSERT_FALSE(headers.empty()) << folder;
  const char* update = std::getenv("BRAMBOLT_UPDATE_GOLDEN");
  const bool bUpdate = update != nullptr && std::string(update) == "1";
  for (const fs::path& header : headers) {
    CWorkSpaceObj project;
    ASSERT_TRUE(project.ParseSourceFile(header.string().c_str())) << header;
    const std::string dump = model_test::Dump(project);
    fs::path expected = header;
    expected += ".records";
    if (bUpdate) std::ofstream(expected, std::ios::binary) << dump;
    ASSERT_TRUE(fs::exists(expected)) << expected << " is missing: run with BRAMBOLT_UPDATE_GOLDEN=1";
    const std::string expectedDump = ReadAll(expected);
    EXPECT_TRUE(dump == expectedDump) << header.filename().string() << ":\n" << LineDifference(expectedDump, dump);
  }
}

// The include rules of the code folders: no file includes one from a folder above its own, and
// every quoted include names exactly one file. Reads the sources; compiles nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kRoot = BRAMBOLT_SOURCE_DIR;

// Each folder with the folders its files may include; a folder always includes its own. The
// platform's modules stand in their order (base < core, os < gdi, res < win < backend, testing,
// controls < afx < ole); modules of one rank may include each other.
const std::map<std::string, std::set<std::string>>& Allowed() {
  static const std::map<std::string, std::set<std::string>> allowed = [] {
    const std::vector<std::vector<std::string>> ranks = {
        {"base"}, {"core", "os"}, {"gdi", "res"}, {"win"}, {"backend", "testing", "controls"}, {"afx"}, {"ole"}};
    std::map<std::string, std::set<std::string>> a;
    std::set<std::string> below;
    for (const auto& rank : ranks) {
      for (const auto& m : rank) below.insert("platform/" + m);
      for (const auto& m : rank) a["platform/" + m] = below;
    }
    const std::set<std::string> platform = below;
    auto with = [&](std::initializer_list<const char*> more) {
      std::set<std::string> s = platform;
      for (const char* m : more) s.insert(m);
      return s;
    };
    a["foundation"] = with({"foundation"});
    a["model"] = with({"foundation", "model"});
    a["widgets"] = with({"foundation", "widgets"});
    a["editor"] = with({"foundation", "widgets", "editor", "bars"});
    a["bars"] = with({"foundation", "widgets", "editor", "bars"});
    a["extracontrols"] = with({"foundation", "widgets", "extracontrols"});
    a["app"] = with({"foundation", "model", "widgets", "editor", "bars", "extracontrols", "app"});
    return a;
  }();
  return allowed;
}

// The folder a file belongs to ("platform/win", "model"), or empty outside the code folders.
std::string FolderOf(const fs::path& file) {
  const fs::path rel = file.lexically_relative(kRoot);
  auto it = rel.begin();
  if (it == rel.end()) return {};
  std::string top = it->string();
  if (top == "platform") {
    if (++it == rel.end() || std::next(it) == rel.end()) return {};
    top += "/" + it->string();
  }
  return Allowed().count(top) ? top : std::string();
}

struct Include {
  fs::path file;
  int line;
  std::string name;
};

std::vector<fs::path> CodeFiles() {
  std::vector<fs::path> files;
  for (const char* top : {"platform", "foundation", "model", "widgets", "editor", "bars", "app", "extracontrols"}) {
    if (!fs::exists(kRoot / top)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / top)) {
      const std::string ext = entry.path().extension().string();
      if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp") && !FolderOf(entry.path()).empty())
        files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<Include> QuotedIncludes(const std::vector<fs::path>& files) {
  static const std::regex quoted(R"re(^\s*#\s*include\s*"([^"]+)")re");
  std::vector<Include> out;
  for (const fs::path& file : files) {
    std::ifstream in(file);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
      std::smatch m;
      if (std::regex_search(text, m, quoted)) out.push_back({file, line, m[1]});
    }
  }
  return out;
}

// The files a quoted include can reach: beside the including file, then in the include roots.
std::vector<fs::path> Candidates(const Include& inc) {
  std::vector<fs::path> found;
  for (const fs::path& base : {inc.file.parent_path(), kRoot / "platform", kRoot}) {
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(base / inc.name, ec);
    if (!ec && fs::is_regular_file(p) && std::find(found.begin(), found.end(), p) == found.end()) found.push_back(p);
  }
  return found;
}

std::string Where(const Include& inc) {
  return inc.file.lexically_relative(kRoot).string() + ":" + std::to_string(inc.line) + " \"" + inc.name + "\"";
}

class IncludeLayering : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { includes_ = QuotedIncludes(CodeFiles()); }
  static std::vector<Include> includes_;
};
std::vector<Include> IncludeLayering::includes_;

TEST_F(IncludeLayering, TheCodeFoldersAreFound) {
  EXPECT_GT(includes_.size(), 1000u) << "run from a checkout with the sources beside the build";
}

TEST_F(IncludeLayering, EveryIncludeNamesExactlyOneFile) {
  std::vector<std::string> ambiguous;
  for (const Include& inc : includes_) {
    const std::vector<fs::path> found = Candidates(inc);
    if (found.size() < 2) continue;
    std::string all;
    for (const fs::path& p : found) all += " " + p.lexically_relative(kRoot).string();
    ambiguous.push_back(Where(inc) + " could be" + all);
  }
  EXPECT_TRUE(ambiguous.empty()) << ::testing::PrintToString(ambiguous);
}

TEST_F(IncludeLayering, NoFileIncludesOneFromAFolderAboveItsOwn) {
  std::vector<std::string> upward;
  for (const Include& inc : includes_) {
    const std::vector<fs::path> found = Candidates(inc);
    if (found.empty()) continue;
    const std::string from = FolderOf(inc.file), to = FolderOf(found.front());
    if (to.empty() || Allowed().at(from).count(to)) continue;
    upward.push_back(Where(inc) + ": " + from + " may not include " + to);
  }
  EXPECT_TRUE(upward.empty()) << ::testing::PrintToString(upward);
}

}  // namespace

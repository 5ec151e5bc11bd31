// The reader's checks of a documentation tree.
#include "DocumentationCheck.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <regex>
#include <sstream>

namespace e2e {

std::vector<std::string> DeclaredClasses(const fs::path& headers) {
  static const std::regex declaration(R"(^(?:class|struct)\s+(\w+)\s*(?::[^;]*)?$)");
  std::vector<std::string> classes;
  for (const std::string& file : ListFiles(headers)) {
    std::istringstream in(ReadFile(headers / file));
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::smatch match;
      if (std::regex_match(line, match, declaration)) classes.push_back(match[1]);
    }
  }
  return classes;
}

bool DecodesAs(const std::string& bytes, const std::string& charset) {
  iconv_t converter = iconv_open("UTF-8", charset.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in = bytes;
  char* src = in.data();
  size_t left = in.size();
  std::string out(in.size() * 4 + 16, '\0');
  bool ok = true;
  while (left > 0 && ok) {
    char* dst = out.data();
    size_t room = out.size();
    if (iconv(converter, &src, &left, &dst, &room) == static_cast<size_t>(-1) && errno != E2BIG) ok = false;
  }
  iconv_close(converter);
  return ok;
}

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

TreeFaults CheckDocumentationTree(const fs::path& htmls, const std::vector<std::string>& classes) {
  TreeFaults faults;
  for (const std::string& name : classes)
    if (!fs::exists(htmls / name / (name + ".htm"))) faults.missingPages.push_back(name);
  static const std::regex link(R"re((?:href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
  static const std::regex charset(R"re(charset=([A-Za-z0-9_-]+))re", std::regex::icase);
  for (const std::string& page : ListFiles(htmls)) {
    const std::string extension = Lower(fs::path(page).extension().string());
    if (extension != ".htm" && extension != ".html") continue;
    ++faults.pages;
    const std::string text = ReadFile(htmls / page);
    std::smatch declared;
    const std::string set = std::regex_search(text, declared, charset) ? Lower(declared[1]) : "iso-8859-1";
    if (!DecodesAs(text, set)) faults.undecodable.push_back(page + " (" + set + ")");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), link); it != std::sregex_iterator(); ++it) {
      std::string target = (*it)[1];
      if (target.empty() || target[0] == '#' || target.find(':') != std::string::npos) continue;
      target = target.substr(0, target.find('#'));
      std::replace(target.begin(), target.end(), '\\', '/');
      ++faults.links;
      if (!fs::exists((htmls / page).parent_path() / target)) faults.brokenLinks.push_back(page + " -> " + target);
    }
  }
  return faults;
}

std::string ListChm(const fs::path& chm) {
  std::string listing;
  const std::string command = "cd / && chmls list '" + chm.string() + "' 2>/dev/null";
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) listing.append(buffer, n);
    ::pclose(pipe);
  }
  return listing;
}

std::string TreeFaults::Text() const {
  std::ostringstream out;
  out << pages << " pages, " << links << " links";
  auto list = [&out](const char* what, const std::vector<std::string>& items) {
    if (items.empty()) return;
    out << "; " << items.size() << " " << what << ":";
    for (size_t i = 0; i < items.size() && i < 8; ++i) out << " [" << items[i] << "]";
  };
  list("classes without a page", missingPages);
  list("broken links", brokenLinks);
  list("pages that do not decode", undecodable);
  return out.str();
}

}  // namespace e2e

// What a reader of the written documentation checks: a page for every class, every link leading
// to a file that exists, every page readable in the code page it declares.
#pragma once

#include <string>
#include <vector>

#include "Desk.h"

namespace e2e {

// The classes declared in a folder's headers ("class Name" or "struct Name" followed by a body
// or a base list), in file order.
// Only top-level classes count: a class nested in another has no page of its own.
std::vector<std::string> DeclaredClasses(const fs::path& headers);

struct TreeFaults {
  std::vector<std::string> missingPages;  // classes without <Htmls>/<Class>/<Class>.htm
  std::vector<std::string> brokenLinks;   // "page -> target"
  std::vector<std::string> undecodable;   // "page (charset)"
  int pages = 0;
  int links = 0;
  std::string Text() const;
};

// Checks the tree under an output folder's "Htmls".
TreeFaults CheckDocumentationTree(const fs::path& htmls, const std::vector<std::string>& classes);

// True when the bytes are valid text in the character set (gb2312, big5, iso-8859-1, ...).
bool DecodesAs(const std::string& bytes, const std::string& charset);

// The files a compiled HTML Help file holds, as chmls lists them.
std::string ListChm(const fs::path& chm);

}  // namespace e2e

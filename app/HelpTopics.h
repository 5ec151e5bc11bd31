// The program's help: which page of the guide answers a help request (the command and data the
// framework hands to WinHelp), and how the page is shown on this desktop.
#pragma once

#include <string>
#include <vector>

#include "base/WinTypes.h"

namespace help_topics {

inline constexpr const char* kHelpFileName = "Brambolt.chm";
// The guide's pages as HTML, in this folder beside the program.
inline constexpr const char* kPagesFolderName = "help";
inline constexpr const char* kContentsPage = "index.html";
inline constexpr const char* kIndexPage = "topics.html";

// The page for a request: contents, index, or the page of a context id (a command, a window or a
// dialog); the contents page for any id the guide has no page for.
const char* PageFor(UINT nCmd, DWORD_PTR dwData);
// Whether a context id has a page of its own (else it opens the contents).
bool HasPage(DWORD_PTR dwContext);
// Every page a request can lead to.
std::vector<std::string> AllPages();

enum class Shown { InViewer, InBrowser, Not };
// Opens the page: in the compiled help file of the folder with the CHM viewer (xchm) when both
// are there, else the same page of the folder's guide pages in the browser through xdg-open.
Shown OpenPage(const std::string& folder, const char* page);

}  // namespace help_topics

// The map from help requests to the pages of the guide, and the page opened in the CHM viewer or
// in the browser.
#include "app/HelpTopics.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "afx/AfxConstants.h"
#include "os/Help.h"
#include "os/Paths.h"
#include "os/Process.h"

namespace help_topics {

namespace {

namespace fs = std::filesystem;

// A context id range (inclusive) and its page. The ids are the framework's: a command's id plus
// HID_BASE_COMMAND, a dialog's template id plus HID_BASE_RESOURCE, a frame window's resource id
// plus HID_BASE_FRAME, a message box's prompt id plus HID_BASE_PROMPT, a part of a window's frame
// plus HID_BASE_NCAREAS. Each kind has a base of its own, so a dialog and a frame that share a
// number (the wizard's first page and the hierarchy picture are both 131) reach their own pages.
// The first range holding the id wins.
struct Topic {
  DWORD_PTR first, last;
  const char* page;
};

constexpr DWORD_PTR Cmd(UINT id) { return HID_BASE_COMMAND + id; }
constexpr DWORD_PTR Res(UINT id) { return HID_BASE_RESOURCE + id; }
constexpr DWORD_PTR Frame(UINT id) { return HID_BASE_FRAME + id; }
constexpr DWORD_PTR Prompt(UINT id) { return HID_BASE_PROMPT + id; }
constexpr DWORD_PTR Control(UINT id) { return HID_BASE_CONTROL + id; }
constexpr Topic One(DWORD_PTR id, const char* page) { return {id, id, page}; }

constexpr Topic kTopics[] = {
    // Windows: the main frame (the guide's contents) and the three kinds of document.
    One(Frame(128), kContentsPage),
    One(Frame(129), "editor.html"),
    One(Frame(130), "projects.html"),
    One(Frame(131), "hierarchy.html"),
    // Dialogs, by their templates (F1 and their Help buttons).
    One(Res(100), "getting-started.html"),             // About Brambolt
    {Res(130), Res(132), "projects.html"},             // New Project and its first two pages
    {Res(153), Res(154), "projects.html"},             // its last two pages
    One(Res(162), "projects.html"),                    // Project Settings: General
    {Res(168), Res(169), "projects.html"},             // Project Settings and its Diagram page
    One(Res(171), "projects.html"),                    // its Owner page
    One(Res(133), "dlg-windows.html"),                 // Window > Windows
    One(Res(20501), "dlg-windows.html"),               // the toolkit's Windows
    One(Res(134), "problem-report.html"),              // Technical Support
    One(Res(147), "adding-files.html"),                // Organize files (Current Project)
    One(Res(149), "adding-files.html"),                // Insert Files into Project
    One(Res(152), "adding-files.html"),                // copying the files
    One(Res(165), "adding-files.html"),                // copying a live folder
    One(Res(156), "write-documentation.html"),         // Options
    One(Res(163), "output-view.html"),                 // Please select a folder
    One(Res(164), "output-view.html"),                 // New Folder
    One(Res(166), "output-view.html"),                 // Rename
    {Res(173), Res(174), "output-view.html"},          // Properties and its General page
    One(Res(167), "html-help.html"),                   // HTML Help
    One(Res(175), "html-help.html"),                   // HTML Help Compiler
    One(Res(170), "dlg-tip-of-the-day.html"),          // the program's Tips Of Day
    One(Res(20500), "dlg-tip-of-the-day.html"),        // the toolkit's Tip of the Day
    One(Res(20502), "dlg-workspace-manager.html"),
    {Res(20509), Res(20510), "dlg-toolbars.html"},     // Commands page, Toolbars
    One(Res(20513), "dlg-toolbars.html"),              // Toolbars page
    One(Res(20511), "dlg-new-toolbar.html"),
    One(Res(2000), "dlg-select-directory.html"),
    {Res(22701), Res(22702), "find-replace.html"},     // the editor's Find and Replace
    One(Res(22710), "find-replace.html"),              // the progress of Replace All
    {Res(28682), Res(28683), "find-replace.html"},     // the framework's Find and Replace
    One(Res(144), "editor.html"),                      // Go To Line
    One(Res(22700), "editor.html"),                    // Font and Color Settings
    One(Res(22703), "editor.html"),                    // its font dialog
    {Res(30721), Res(30722), "editor.html"},           // Printing, the print preview's bar
    {Res(28680), Res(28681), "editor.html"},           // Print, Print Setup (and Print to File's name)
    // Questions and messages of the message boxes (their prompts' string ids).
    One(Prompt(173), "projects.html"),            // save the changed project?
    One(Prompt(156), "projects.html"),            // not a project file
    One(Prompt(203), "adding-files.html"),        // remove the item from the project?
    One(Prompt(134), "adding-files.html"),        // choose the folder to take files from
    One(Prompt(20673), "dlg-workspace-manager.html"),  // select a workspace
    One(Prompt(20666), "dlg-workspace-manager.html"),  // a workspace's name
    One(Prompt(20690), "dlg-workspace-manager.html"),  // not a workspace
    One(Prompt(157), "class-file-views.html"),         // the file does not exist
    One(Prompt(159), "adding-files.html"),             // the file exists in the project: overwrite?
    One(Prompt(145), "problem-report.html"),           // thanks for the report
    // The Project Explorer's trees (their window ids).
    One(Control(70005), "class-file-views.html"),  // Hier
    One(Control(101), "class-file-views.html"),    // Class
    One(Control(70004), "class-file-views.html"),  // File
    One(Control(70002), "output-view.html"),       // Output
    // Other questions and messages open the page of the place they were raised in.
    // Commands: File.
    {Cmd(32771), Cmd(32775), "projects.html"},  // new, open, save, close project, save all
    {Cmd(33040), Cmd(33055), "projects.html"},  // recent projects
    {Cmd(57600), Cmd(57615), "editor.html"},    // new, open, save, print a file
    {Cmd(57616), Cmd(57631), "editor.html"},    // recent files
    One(Cmd(57665), "getting-started.html"),    // exit
    // Edit.
    {Cmd(57636), Cmd(57636), "find-replace.html"},
    {Cmd(57641), Cmd(57641), "find-replace.html"},
    {Cmd(45041), Cmd(45044), "find-replace.html"},  // find next, previous, word
    {Cmd(57632), Cmd(57644), "editor.html"},        // clipboard, undo, redo, select all
    {Cmd(32794), Cmd(32798), "editor.html"},        // clear all, go to line, comments
    {Cmd(45000), Cmd(45399), "editor.html"},        // the editor's own commands and bookmarks
    // View.
    One(Cmd(32793), "class-file-views.html"),
    One(Cmd(32784), "bars-workspaces.html"),
    One(Cmd(32795), "dlg-toolbars.html"),  // customize toolbars
    One(Cmd(32791), "bars-workspaces.html"),
    {Cmd(32832), Cmd(32833), "hierarchy.html"},  // zoom
    // Project and Build.
    One(Cmd(32799), "adding-files.html"),
    One(Cmd(32803), "adding-files.html"),
    One(Cmd(32809), "adding-files.html"),
    One(Cmd(32825), "adding-files.html"),
    One(Cmd(32804), "projects.html"),
    {Cmd(32800), Cmd(32801), "write-documentation.html"},
    One(Cmd(32802), "html-help.html"),
    // The output view's commands.
    {Cmd(32829), Cmd(32830), "conversion.html"},
    {Cmd(32817), Cmd(32828), "output-view.html"},
    // Tools (workspaces) and Window.
    {Cmd(43000), Cmd(43099), "bars-workspaces.html"},
    {Cmd(32779), Cmd(32783), "bars-workspaces.html"},
    {Cmd(57648), Cmd(57653), "bars-workspaces.html"},  // arrange, cascade, tile
    {Cmd(0xFF00), Cmd(0xFFFF), "bars-workspaces.html"},  // the Window menu's list of windows
    // Help.
    One(Cmd(57664), "getting-started.html"),  // about
    {Cmd(57667), Cmd(57671), kContentsPage},
    {Cmd(32787), Cmd(32790), "getting-started.html"},
    One(Cmd(32785), "dlg-tip-of-the-day.html"),
    One(Cmd(32786), "problem-report.html"),
    // The bars (the framework's bar ids) and the menubar; the parts of a window's frame.
    {Cmd(0xE800), Cmd(0xE8FF), "bars-workspaces.html"},
    {Cmd(0xEF00), Cmd(0xEFFF), "getting-started.html"},
    {HID_BASE_NCAREAS, HID_BASE_NCAREAS + 0xFFFF, "getting-started.html"},
};

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool Start(std::vector<std::string> argv) {
  brambolt::SpawnRequest request;
  request.program = argv.front();
  request.argv = std::move(argv);
  DWORD error = 0;
  return brambolt::Spawn(request, &error) != nullptr;
}

}  // namespace

const char* PageFor(UINT nCmd, DWORD_PTR dwData) {
  switch (nCmd) {
    case HELP_INDEX: return kIndexPage;
    case HELP_CONTEXT:
    case HELP_CONTEXTPOPUP:
      for (const Topic& topic : kTopics)
        if (dwData >= topic.first && dwData <= topic.last) return topic.page;
      return kContentsPage;
    default: return kContentsPage;  // HELP_FINDER and the others open the contents
  }
}

bool HasPage(DWORD_PTR dwContext) {
  return std::any_of(std::begin(kTopics), std::end(kTopics),
                     [dwContext](const Topic& topic) { return dwContext >= topic.first && dwContext <= topic.last; });
}

std::vector<std::string> AllPages() {
  std::vector<std::string> pages = {kContentsPage, kIndexPage};
  std::transform(std::begin(kTopics), std::end(kTopics), std::back_inserter(pages),
                 [](const Topic& topic) { return std::string(topic.page); });
  std::sort(pages.begin(), pages.end());
  pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
  return pages;
}

Shown OpenPage(const std::string& folder, const char* page) {
  const fs::path helpFile = fs::path(folder) / kHelpFileName;
  // xchm opens a page of a help file given as file:<help file>#xchm:/<page>.
  if (Exists(helpFile) && !brambolt::FindProgram("xchm").empty() &&
      Start({"xchm", "file:" + helpFile.string() + "#xchm:/" + page}))
    return Shown::InViewer;
  const fs::path pageFile = fs::path(folder) / kPagesFolderName / page;
  if (Exists(pageFile) && !brambolt::FindProgram("xdg-open").empty() && Start({"xdg-open", pageFile.string()}))
    return Shown::InBrowser;
  return Shown::Not;
}

}  // namespace help_topics

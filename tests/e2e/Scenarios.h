// Steps the scenarios share, each done as a person does it: a project made with the wizard, a
// folder of headers taken in, the documentation written in one language.
#pragma once

#include <string>

#include "Desk.h"
#include "widgets/SECTreeBase.h"

namespace e2e {

struct Project {
  std::string name;
  fs::path folder;  // the project's folder, holding <name>.dcp
};

// Ctrl+N, the wizard filled in (name, a new folder under the desk's "Projects", the language whose
// text starts with `language`, the author) and finished.
Project MakeProject(Desk& desk, const std::string& name, const std::string& language);
// Ctrl+F7: the live-folder dialog given the folder, its first file type kept, OK.
void AddLiveFolder(Desk& desk, const std::string& folder);
// The start of most days: a project named Atelier in that language, the drawing library's
// headers taken in.
Project AtelierProject(Desk& desk, const std::string& language);

}  // namespace e2e

namespace e2e {

// F5: the options dialog given the output language (text start), OK; the pages are written under
// the progress dialog.
void WriteDocumentation(Desk& desk, const std::string& language);

}  // namespace e2e

namespace e2e {

// Ctrl+O, the path typed into the file dialog, Enter; the editor view that opened (it has the
// focus), or null.
HWND OpenFile(Desk& desk, const fs::path& path);
// Tools > Save Workspace As: `name` typed into the list's new row (Insert, the name, Enter), the
// question that follows answered Yes.
void SaveWorkspaceAs(Desk& desk, const std::string& name);
// The caret's place in its window's client area after moving there as a person does: Ctrl+Home,
// then `line` times Down and `column` times Right.
POINT CaretAt(Desk& desk, int line, int column);
// The 0-based number of the first line of a file holding `text`, -1 when none does.
int LineOf(const fs::path& file, const std::string& text);

}  // namespace e2e

namespace e2e {

// The explorer's tabs, in their fixed order.
enum ExplorerTab { kHierarchyTab = 0, kClassTab = 1, kFileTab = 2, kOutputTab = 3 };
// A click on the tab of the main frame's Project Explorer.
void ClickExplorerTab(Desk& desk, ExplorerTab tab);
// The item with the text anywhere under `parent`, depth first; null when none has it.
HTREEITEM FindItem(SECTreeBaseC& tree, HTREEITEM parent, const std::string& text);
// The tree scrolled to the item with its parents open, as a person would; a point on its label.
POINT ShowItem(Desk& desk, SECTreeBaseC& tree, HTREEITEM item);
// The texts of an item's children.
std::vector<std::string> ChildTexts(SECTreeBaseC& tree, HTREEITEM parent);

}  // namespace e2e

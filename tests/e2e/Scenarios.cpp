// The steps the scenarios share.
#include "Scenarios.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/CMainFrame.h"
#include "app/ExplorerTestSupport.h"
#include "resources/AppResource.h"
#include "widgets/SEC3DTabControl.h"

namespace e2e {

namespace {
// The live-folder dialog's location edit (the model's dialog).
constexpr int kLiveFolderLocation = 1031;
// The options dialog's output-language list.
constexpr int kLanguageList = 1000;
}  // namespace

Project MakeProject(Desk& desk, const std::string& name, const std::string& language) {
  const std::string location = desk.Folder("Projects");
  desk.Expect("New Project", [&](HWND wizard) {
    brambolt::test::TypeText(name);  // the wizard opens on the name: typed at once, no click
    TypeInto(wizard, IDC_PROJECT_LOCATION, location);
    EXPECT_TRUE(ClickButton(wizard, "Next >>"));
    EXPECT_TRUE(desk.Pick(wizard, IDC_PROJECT_LANGUAGE, language)) << language;
    EXPECT_TRUE(ClickButton(wizard, "Next >>"));
    EXPECT_TRUE(ClickButton(wizard, "Next >>"));
    TypeInto(wizard, IDC_AUTHOR, "Mei Lin");
    desk.Snapshot(wizard, "02-new-project-wizard");
    EXPECT_TRUE(ClickButton(wizard, "Finish"));
  });
  desk.Press('N', brambolt::test::kCtrl);
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
  return Project{name, fs::path(location) / name};
}

void AddLiveFolder(Desk& desk, const std::string& folder) {
  desk.Expect("Insert Files into Project", [&](HWND dialog) {
    TypeInto(dialog, kLiveFolderLocation, folder);
    desk.Snapshot(dialog, "03-insert-live-folder");
    EXPECT_TRUE(ClickButton(dialog, "OK"));
  });
  desk.Press(VK_F7, brambolt::test::kCtrl);
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
}

Project AtelierProject(Desk& desk, const std::string& language) {
  const Project project = MakeProject(desk, "Atelier", language);
  AddLiveFolder(desk, Fixture("Atelier"));
  return project;
}

}  // namespace e2e

namespace e2e {

void SaveWorkspaceAs(Desk& desk, const std::string& name) {
  constexpr int kWorkspaceList = 43072;  // the list of the workspace manager's dialog
  desk.Expect("Save Workspace", [&](HWND dialog) {
    ClickItem(dialog, kWorkspaceList);
    brambolt::test::PressKey(VK_INSERT);
    brambolt::test::TypeText(name);
    brambolt::test::PressKey(VK_RETURN);
    // The confirmation saves through a posted click on Save.
    brambolt::test::RunUntilIdle();
  });
  desk.Expect("Workspace Manager", [](HWND box) { EXPECT_TRUE(ClickButton(box, "Yes")); });
  desk.Menu('T', "a");
}

void WriteDocumentation(Desk& desk, const std::string& language) {
  desk.Expect("Options", [&](HWND dialog) {
    EXPECT_TRUE(desk.Pick(dialog, kLanguageList, language)) << language;
    desk.Snapshot(dialog, "04-documentation-options");
    EXPECT_TRUE(ClickButton(dialog, "OK"));
  });
  desk.ExpectRunning("");  // the progress dialog ends by itself when the pages are written
  desk.Press(VK_F5);
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
}

}  // namespace e2e

namespace e2e {

HWND OpenFile(Desk& desk, const fs::path& path) {
  desk.Expect("Open", [&](HWND) {
    brambolt::test::TypeText(path.string());
    brambolt::test::PressKey(VK_RETURN);
  });
  desk.Press('O', brambolt::test::kCtrl);
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
  return ::GetFocus();
}

POINT CaretAt(Desk& desk, int line, int column) {
  desk.Press(VK_HOME, brambolt::test::kCtrl);
  for (int i = 0; i < line; ++i) desk.Press(VK_DOWN);
  for (int i = 0; i < column; ++i) desk.Press(VK_RIGHT);
  POINT caret{};
  ::GetCaretPos(&caret);
  return caret;
}

int LineOf(const fs::path& file, const std::string& text) {
  std::istringstream in(ReadFile(file));
  int number = 0;
  for (std::string line; std::getline(in, line); ++number)
    if (line.find(text) != std::string::npos) return number;
  return -1;
}

}  // namespace e2e

namespace e2e {

void ClickExplorerTab(Desk& desk, ExplorerTab tab) {
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  auto* tabs = dynamic_cast<SEC3DTabControl*>(frame->m_wndProjectExplorer.m_wndTab.GetTabControl());
  ASSERT_NE(tabs, nullptr);
  RECT rect{};
  tabs->GetTabRect(tab, &rect);
  brambolt::test::Click(tabs->GetSafeHwnd(), POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  desk.Pump();
}

HTREEITEM FindItem(SECTreeBaseC& tree, HTREEITEM parent, const std::string& text) {
  for (HTREEITEM item = tree.GetChildItem(parent); item != nullptr; item = tree.GetNextSiblingItem(item)) {
    if (std::string(tree.GetItemText(item)) == text) return item;
    if (HTREEITEM inner = FindItem(tree, item, text)) return inner;
  }
  return nullptr;
}

POINT ShowItem(Desk& desk, SECTreeBaseC& tree, HTREEITEM item) {
  tree.EnsureVisible(item, TRUE);
  desk.Pump();
  return explorertest::LabelPoint(tree, item);
}

std::vector<std::string> ChildTexts(SECTreeBaseC& tree, HTREEITEM parent) {
  std::vector<std::string> texts;
  for (HTREEITEM item = tree.GetChildItem(parent); item != nullptr; item = tree.GetNextSiblingItem(item))
    texts.emplace_back(tree.GetItemText(item));
  return texts;
}

}  // namespace e2e

// A workspace kept and brought back: two headers and the project open, the windows saved as a
// named workspace from the Tools menu, everything closed, then the workspace opened again from the
// menu with its documents, frames and bars as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Desk.h"
#include "Scenarios.h"
#include "app/CMainFrame.h"

namespace e2e {
namespace {

constexpr int kWorkspaceList = 43072;  // the list of the workspace manager's dialog
constexpr int kOpenButton = 43001;

// What a person sees of the workbook: each MDI child's title and document, the active one first.
struct Windows {
  std::vector<std::string> children;  // "title|document path", sorted
  std::string active;                 // the active child's title
  bool explorer = false;
  bool operator==(const Windows&) const = default;
};

std::string Text(HWND hwnd) {
  char text[512] = {};
  ::GetWindowText(hwnd, text, sizeof text);
  return text;
}

Windows Look(Desk& desk) {
  Windows seen;
  auto* frame = desk.MainFrame();
  if (frame == nullptr) return seen;
  seen.explorer = frame->m_wndProjectExplorer.IsWindowVisible() != FALSE;
  for (HWND child = ::GetWindow(frame->m_hWndMDIClient, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    auto* childFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(child));
    CDocument* doc = childFrame != nullptr ? childFrame->GetActiveDocument() : nullptr;
    seen.children.push_back(Text(child) + "|" + (doc != nullptr ? std::string(doc->GetPathName()) : ""));
  }
  std::sort(seen.children.begin(), seen.children.end());
  if (CMDIChildWnd* active = frame->MDIGetActive()) seen.active = Text(active->m_hWnd);
  return seen;
}

std::string Describe(const Windows& seen) {
  std::string text = "active [" + seen.active + "] explorer " + (seen.explorer ? "shown" : "hidden");
  for (const std::string& child : seen.children) text += "\n  " + child;
  return text;
}

TEST(UsersDay, AWorkspaceSavedFromTheToolsMenuBringsBackItsDocumentsFramesAndBars) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  ASSERT_TRUE(desk.HasMainFrame());
  const Project project = AtelierProject(desk, "Simple Chinese");
  ASSERT_NE(OpenFile(desk, project.folder / "Header Files" / "Circle.h"), nullptr);
  ASSERT_NE(OpenFile(desk, project.folder / "Header Files" / "Layer.h"), nullptr);
  const Windows before = Look(desk);
  ASSERT_GE(before.children.size(), 2u) << Describe(before);

  SaveWorkspaceAs(desk, "Day");
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
  EXPECT_TRUE(desk.Boxes().empty()) << desk.Report();
  EXPECT_TRUE(desk.Unexpected().empty()) << "asked once: " << desk.Report();

  // Tools > Close Workspace: every document window goes.
  desk.Menu('T', "c");
  EXPECT_TRUE(Look(desk).children.empty()) << Describe(Look(desk));

  // Tools > Open Workspace: the newest (and only) workspace chosen, Open.
  desk.Expect("Open Workspace", [](HWND dialog) {
    HWND list = Item(dialog, kWorkspaceList);
    char name[64] = {};
    ::SendMessage(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(name, "Day");
    RECT row{};
    ::SendMessage(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    brambolt::test::Click(list, {row.left + 5, row.top + 3});
    ClickItem(dialog, kOpenButton);
  });
  desk.Menu('T', "o");
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
  const Windows after = Look(desk);
  EXPECT_EQ(after, before) << "before:\n" << Describe(before) << "\nafter:\n" << Describe(after);
  desk.Snapshot(desk.MainWindow(), "10-workspace-reopened");
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e

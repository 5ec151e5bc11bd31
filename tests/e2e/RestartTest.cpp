// The end of a day and the next morning: the program closed with a project open, started again,
// finds the tip turned off, the project in the recent list and reopened with its output language,
// and the explorer as it was left.
#include <gtest/gtest.h>

#include "Desk.h"
#include "Scenarios.h"
#include "app/CMainFrame.h"

namespace e2e {
namespace {

// The explorer bar as a person sees it: shown or not.
bool ExplorerShown(Desk& desk) {
  auto* frame = desk.MainFrame();
  return frame != nullptr && frame->m_wndProjectExplorer.IsWindowVisible();
}

// The output language the documentation options offer first.
std::string OfferedLanguage(Desk& desk) {
  std::string shown;
  desk.Expect("Options", [&](HWND dialog) {
    shown = ItemText(dialog, 1000);
    EXPECT_TRUE(ClickButton(dialog, "Cancel"));
  });
  desk.Press(VK_F5);
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
  return shown;
}

TEST(UsersDay, TheNextStartFindsTheTipOffTheRecentProjectItsLanguageAndTheExplorerAsLeft) {
  Desk desk;
  ASSERT_TRUE(desk.Start(TurnTipOff)) << desk.Report();
  ASSERT_TRUE(desk.HasMainFrame());
  const Project project = AtelierProject(desk, "Simple Chinese");
  ASSERT_NE(OpenFile(desk, project.folder / "Header Files" / "Layer.h"), nullptr);
  EXPECT_EQ(OfferedLanguage(desk), "Simple Chinese(China)");
  ASSERT_TRUE(ExplorerShown(desk));
  desk.Menu('V', "e");  // View > Project Explorer: hidden
  EXPECT_FALSE(ExplorerShown(desk));
  desk.Menu('F', "x");  // File > Exit: the project is unchanged since it was saved, nothing is asked
  EXPECT_TRUE(desk.Boxes().empty()) << desk.Report();
  desk.Quit();

  // The next morning: no tip, the explorer still hidden, the project in File > Recent Workspaces.
  ASSERT_TRUE(desk.Start(nullptr)) << desk.Report();
  EXPECT_FALSE(ExplorerShown(desk));
  desk.MenuKeys('F', {'r', 'r', VK_RIGHT, '1'});
  EXPECT_NE(desk.MainTitle().find("Atelier - Visual Brambolt"), std::string::npos) << desk.MainTitle();
  EXPECT_EQ(OfferedLanguage(desk), "Simple Chinese(China)");
  desk.Snapshot(desk.MainWindow(), "09-next-start");
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// Started with the tip turned off, the program's first click is the person's: the splash has had
// its three seconds by the time they click, so no press of theirs goes to closing it.
TEST(UsersDay, TheFirstClickOfAStartWithoutTheTipReachesTheWindow) {
  Desk desk;
  ASSERT_TRUE(desk.Start(TurnTipOff)) << desk.Report();
  desk.Quit();
  ASSERT_TRUE(desk.Start(nullptr)) << desk.Report();
  ASSERT_TRUE(ExplorerShown(desk));
  ClickExplorerTab(desk, kClassTab);
  auto* tabs = dynamic_cast<SEC3DTabControl*>(desk.MainFrame()->m_wndProjectExplorer.m_wndTab.GetTabControl());
  int active = -1;
  ASSERT_NE(tabs, nullptr);
  EXPECT_TRUE(tabs->GetActiveTab(active));
  EXPECT_EQ(active, kClassTab);
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e

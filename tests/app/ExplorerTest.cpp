// The Project Explorer bar docked in an MDI frame: its tabs, their order, labels and the tab in
// front, the trees it owns and the tab window filling the bar as it is resized.
#include <gtest/gtest.h>

#include "app/FileView.h"
#include "app/ProjectWorkspaceWnd.h"
#include "bars/SECMDIFrameWnd.h"
#include "resources/ExplorerRes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ExplorerTestSupport.h"

using brambolt::test::RunUntilIdle;
using explorertest::TextsOf;

namespace {

struct ExplorerFrame {
  brambolt::test::PrivateStores stores;
  brambolt::test::UiSession session;
  explorertest::RecordingApp app;
  explorertest::ProjectFolder project;
  explorertest::ProjectShell shell;
  SECMDIFrameWnd* frame = new SECMDIFrameWnd;
  ProjectWorkspaceWnd bar;

  explicit ExplorerFrame(bool open) {
    project.Write("Source Code/main.cpp");
    project.Write("Header Files/Shape.h", "class Shape {\npublic:\n  int m_nSides;\n};\n");
    if (open) {
      shell.name = "Demo";
      shell.folder = project.Folder();
    }
    EXPECT_TRUE(frame->Create(nullptr, "Explorer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 500)));
    app.m_pMainWnd = frame;
    frame->EnableDocking(0xF000);
    EXPECT_TRUE(bar.Create(frame, "Project Explorer", 0x10004104, 0xF31, 2003));
    bar.EnableDocking(0xF000);
    frame->DockControlBarEx(&bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 220);
    frame->RecalcLayout();
    RunUntilIdle();
  }
  ~ExplorerFrame() {
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
  }
  // The label of the tab showing a window, "" when no tab shows it.
  std::string LabelOf(CWnd* pWnd) {
    SECTabControlBase* tabs = bar.m_wndTab.GetTabControl();
    int index = -1;
    CString label;
    BOOL selected = FALSE;
    void *client = nullptr, *data1 = nullptr, *data2 = nullptr;
    if (!tabs->FindTab(pWnd, index) || !tabs->GetTabInfo(index, label, selected, client, data1, data2)) return "";
    return std::string(label);
  }
  // The tab index of a window, -1 when no tab shows it.
  int IndexOf(CWnd* pWnd) {
    int index = -1;
    return bar.m_wndTab.GetTabControl()->FindTab(pWnd, index) ? index : -1;
  }
};

TEST(ProjectExplorer, TabsStandInTheirOrderWithTheirLabelsAndFileInFront) {
  ExplorerFrame f(true);
  const char* labels[] = {"Hier", "Class", "File", "Output"};
  const UINT ids[] = {IDW_EXPLORER_HIER, IDW_EXPLORER_CLASS, IDW_EXPLORER_FILE, IDW_EXPLORER_OUTPUT};
  int shown = 0;
  for (int tab = 0; tab < ProjectWorkspaceWnd::kTabCount; ++tab) {
    SECTreeCtrl* tree = f.bar.GetTree(tab);
    if (tree == nullptr) continue;  // a tree whose class is not built in has no tab
    EXPECT_EQ(f.IndexOf(tree), shown) << labels[tab];
    EXPECT_EQ(f.LabelOf(tree), labels[tab]);
    EXPECT_EQ(tree->GetDlgCtrlID(), static_cast<int>(ids[tab]));
    EXPECT_EQ(tree->GetParent(), &f.bar.m_wndTab);
    EXPECT_EQ(tree->GetTreeStyle() & 0x37, 0x37u) << labels[tab];
    ++shown;
  }
  EXPECT_EQ(f.bar.m_wndTab.GetTabCount(), shown);
  ASSERT_NE(f.bar.GetFileView(), nullptr);
  EXPECT_EQ(f.bar.m_wndTab.GetActiveWnd(), f.bar.GetFileView());
  EXPECT_TRUE(f.bar.GetFileView()->IsWindowVisible());
  EXPECT_EQ(f.bar.m_wndTab.GetDlgCtrlID(), IDW_EXPLORER_TABS);
  // The file tree filled itself at creation from the open project.
  FileView& files = *f.bar.GetFileView();
  EXPECT_EQ(TextsOf(files, files.m_hHeaderFolder), std::vector<std::string>{"Shape.h"});
}

TEST(ProjectExplorer, TheTabWindowFillsTheBarsInsideAsTheBarChangesSize) {
  ExplorerFrame f(false);
  for (int width : {220, 300, 160}) {
    f.bar.SetWindowPos(nullptr, 0, 0, width, 380, SWP_NOMOVE | SWP_NOZORDER);
    RunUntilIdle();
    CRect inside;
    f.bar.GetInsideRect(inside);
    CRect tabs;
    f.bar.m_wndTab.GetWindowRect(&tabs);
    f.bar.ScreenToClient(&tabs);
    EXPECT_EQ(tabs, inside) << width;
  }
  // Without a project the file tree starts empty and holds its fixed items only once refreshed.
  FileView& files = *f.bar.GetFileView();
  EXPECT_EQ(files.GetCount(), 0);
  files.Refresh();
  EXPECT_EQ(std::string(files.GetItemText(files.GetRootItem())), " Files");
  EXPECT_EQ(files.GetCount(), 3);
}

}  // namespace

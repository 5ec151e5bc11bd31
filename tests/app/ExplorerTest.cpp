// The Project Explorer bar docked in an MDI frame: its tabs, their order, labels and the tab in
// front, the trees it owns and the tab window filling the bar as it is resized.
#include <gtest/gtest.h>

#include "app/ClassView.h"
#include "app/ClassViewStruct.h"
#include "app/DatabaseView.h"
#include "app/FileView.h"
#include "app/ProjectWorkspaceWnd.h"
#include "bars/SECMDIFrameWnd.h"
#include "resources/ExplorerRes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ExplorerTestSupport.h"
#include "win/Input.h"
#include "win/Surfaces.h"

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
      shell.workspace.AnalyseProjectFiles(shell.folder + "Header Files\\*.*");
    }
    EXPECT_TRUE(frame->Create(nullptr, "Explorer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 500)));
    app.m_pMainWnd = frame;
    frame->EnableDocking(0xF000);
    EXPECT_TRUE(bar.Create(frame, "Project Explorer", 0x10004104, 0xF31, 2003));
    bar.EnableDocking(0xF000);
    frame->DockControlBarEx(&bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, ProjectWorkspaceWnd::kDefaultWidth);
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
  ASSERT_EQ(f.bar.m_wndTab.GetTabCount(), ProjectWorkspaceWnd::kTabCount);
  for (int tab = 0; tab < ProjectWorkspaceWnd::kTabCount; ++tab) {
    SECTreeCtrl* tree = f.bar.GetTree(tab);
    ASSERT_NE(tree, nullptr) << labels[tab];
    EXPECT_EQ(f.IndexOf(tree), tab) << labels[tab];
    EXPECT_EQ(f.LabelOf(tree), labels[tab]);
    EXPECT_EQ(tree->GetDlgCtrlID(), static_cast<int>(ids[tab]));
    EXPECT_EQ(tree->GetParent(), &f.bar.m_wndTab);
    EXPECT_EQ(tree->GetTreeStyle() & 0x37, 0x37u) << labels[tab];
  }
  EXPECT_EQ(f.bar.GetClassViewStruct(), f.bar.GetTree(ProjectWorkspaceWnd::kTabHier));
  EXPECT_EQ(f.bar.GetClassView(), f.bar.GetTree(ProjectWorkspaceWnd::kTabClass));
  EXPECT_EQ(f.bar.GetDatabaseView(), f.bar.GetTree(ProjectWorkspaceWnd::kTabOutput));
  EXPECT_EQ(f.bar.m_wndTab.GetActiveWnd(), f.bar.GetFileView());
  EXPECT_TRUE(f.bar.GetFileView()->IsWindowVisible());
  EXPECT_EQ(f.bar.m_wndTab.GetDlgCtrlID(), IDW_EXPLORER_TABS);
  // The tabs stand at the bottom, the active label heavier than the others.
  SEC3DTabControl* strip = f.bar.m_wndTab.Get3DTabControl();
  EXPECT_EQ(strip->GetTabPosition(), static_cast<DWORD>(TWS_TABS_ON_BOTTOM));
  LOGFONT active{}, inactive{};
  strip->m_fonts[1].GetLogFont(&active);
  strip->m_fonts[0].GetLogFont(&inactive);
  EXPECT_EQ(active.lfWeight, 550);
  EXPECT_EQ(inactive.lfWeight, 450);
  // The file tree filled itself at creation from the open project.
  FileView& files = *f.bar.GetFileView();
  EXPECT_EQ(TextsOf(files, files.m_hHeaderFolder), std::vector<std::string>{"Shape.h"});
}

TEST(ProjectExplorer, RemovingAHeaderFromTheFileTreeRebuildsTheClassTrees) {
  ExplorerFrame f(true);
  ClassView& classes = *f.bar.GetClassView();
  ClassViewStruct& hierarchy = *f.bar.GetClassViewStruct();
  EXPECT_EQ(TextsOf(classes, classes.GetRootItem()), std::vector<std::string>{"Shape"});
  EXPECT_EQ(TextsOf(hierarchy, hierarchy.GetRootItem()), std::vector<std::string>{"Shape"});
  FileView& files = *f.bar.GetFileView();
  files.SelectItem(explorertest::ChildNamed(files, files.m_hHeaderFolder, "Shape.h"));
  brambolt::afx::SetMessageBoxPresenter([](HWND, LPCTSTR, LPCTSTR, UINT) { return IDYES; });
  files.SendMessage(WM_COMMAND, ID_EXPLORER_REMOVE);
  brambolt::afx::SetMessageBoxPresenter(nullptr);
  EXPECT_FALSE(f.project.Exists("Header Files/Shape.h"));
  EXPECT_TRUE(TextsOf(files, files.m_hHeaderFolder).empty());
  EXPECT_TRUE(TextsOf(classes, classes.GetRootItem()).empty());
  EXPECT_TRUE(TextsOf(hierarchy, hierarchy.GetRootItem()).empty());
  EXPECT_EQ(std::string(classes.GetItemText(classes.GetRootItem())), "Demo Classes");
}

// At the bar's default width every tab shows its whole label, and the "Output" tab's icon is a
// picture, not a blank page.
TEST(ProjectExplorer, TabsShowWholeLabelsAndTheirPicturesAtTheDefaultWidth) {
  ExplorerFrame f(false);
  SEC3DTabControl* strip = f.bar.m_wndTab.Get3DTabControl();
  for (int tab = 0; tab < ProjectWorkspaceWnd::kTabCount; ++tab) {
    EXPECT_FALSE(strip->Get3DTab(tab)->m_bShortened) << tab;
    EXPECT_EQ(strip->Get3DTab(tab)->m_csLabel, strip->Get3DTab(tab)->m_csFullLabel) << tab;
  }
  const RECT& output = strip->Get3DTab(ProjectWorkspaceWnd::kTabOutput)->m_rcTab;
  int red = 0, cyan = 0;
  for (int y = output.top; y < output.bottom; ++y)
    for (int x = output.left; x < output.right; ++x) {
      const COLORREF c = brambolt::test::WindowPixel(strip->GetSafeHwnd(), x, y);
      red += c == RGB(255, 0, 0);
      cyan += c == RGB(0, 255, 255);
    }
  EXPECT_GT(red, 3);
  EXPECT_GT(cyan, 3);
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

// The pixels of a top-level window as its surface holds them.
std::vector<uint32_t> PixelsOf(CWnd* pWnd) {
  brambolt::SurfacePtr surface = brambolt::GetWindowSurface(pWnd->GetSafeHwnd());
  std::vector<uint32_t> pixels;
  for (int y = 0; surface && y < surface->Height(); ++y)
    pixels.insert(pixels.end(), surface->Row(y), surface->Row(y) + surface->Width());
  return pixels;
}

TEST(ProjectExplorer, AFloatingExplorerResizedByItsFrameIsPaintedWholeWithNoTraceOfItsOldEdges) {
  ExplorerFrame f(false);
  f.frame->FloatControlBar(&f.bar, CPoint(300, 200));
  RunUntilIdle();
  ASSERT_TRUE(f.bar.IsFloating());
  // The user drags the frame's bottom-right corner out, in and out again, then its top-left
  // corner out (the bar grows toward the left and the top).
  const struct {
    UINT hit;
    CSize grow;
  } drags[] = {{HTBOTTOMRIGHT, CSize(60, 40)}, {HTBOTTOMRIGHT, CSize(-30, -20)}, {HTBOTTOMRIGHT, CSize(25, 15)},
               {HTTOPLEFT, CSize(25, 20)}};
  for (const auto& [hit, grow] : drags) {
    CFrameWnd* floating = f.bar.GetParentFrame();
    CRect before;
    floating->GetWindowRect(&before);
    const bool topLeft = hit == HTTOPLEFT;
    const POINT corner = topLeft ? POINT{before.left + 1, before.top + 1} : POINT{before.right - 2, before.bottom - 2};
    ASSERT_EQ(floating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), hit);
    const POINT to = topLeft ? POINT{corner.x - grow.cx, corner.y - grow.cy} : POINT{corner.x + grow.cx, corner.y + grow.cy};
    brambolt::test::UiScript script;
    script.Then([&] {
      brambolt::InjectMouseMove(POINT{(corner.x + to.x) / 2, (corner.y + to.y) / 2});
      brambolt::InjectMouseMove(to);
      brambolt::InjectMouseButton(WM_LBUTTONUP, to);
    });
    brambolt::InjectMouseMove(corner);
    brambolt::InjectMouseButton(WM_LBUTTONDOWN, corner);
    RunUntilIdle();
    ASSERT_TRUE(f.bar.IsFloating());
    floating = f.bar.GetParentFrame();
    CRect after;
    floating->GetWindowRect(&after);
    EXPECT_EQ(after.Size(), before.Size() + grow);
    // The bar fills the frame's client area and the tab window the bar's inside.
    CRect client, bar, inside, tabs;
    floating->GetClientRect(&client);
    f.bar.GetWindowRect(&bar);
    floating->ScreenToClient(&bar);
    EXPECT_EQ(bar.right, client.right) << grow.cx;
    EXPECT_EQ(bar.bottom, client.bottom) << grow.cy;
    f.bar.GetInsideRect(inside);
    f.bar.m_wndTab.GetWindowRect(&tabs);
    f.bar.ScreenToClient(&tabs);
    EXPECT_EQ(tabs, inside);
    // What the resize left on the screen is what a whole repaint draws.
    const std::vector<uint32_t> shown = PixelsOf(floating);
    floating->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RunUntilIdle();
    const std::vector<uint32_t> repainted = PixelsOf(floating);
    ASSERT_EQ(shown.size(), repainted.size());
    size_t differ = 0;
    for (size_t i = 0; i < shown.size(); ++i) differ += shown[i] != repainted[i];
    EXPECT_EQ(differ, 0u) << "pixels left from before the resize, growing by " << grow.cx << " x " << grow.cy;
  }
}

}  // namespace

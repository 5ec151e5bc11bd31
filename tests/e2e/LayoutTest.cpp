// The main window's bars as a person arranges them with the mouse: the Project Explorer and the
// toolbar dragged off the frame, floated, docked on other sides and docked back by a double click;
// toolbar buttons moved with Alt and copied with Ctrl onto a toolbar of the user's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "Desk.h"
#include "Scenarios.h"
#include "afx/CPreviewView.h"
#include "app/CMainFrame.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECMenuBar.h"
#include "bars/SECToolBarManager.h"
#include "resources/MainFrameRes.h"

namespace e2e {
namespace {

using brambolt::test::UiScript;

RECT WindowRect(HWND hwnd) {
  RECT rect{};
  ::GetWindowRect(hwnd, &rect);
  return rect;
}

// The pixels of a band of rows of a window, from window row `top`, `rows` high.
std::vector<COLORREF> Rows(HWND hwnd, int top, int rows) {
  const RECT rect = WindowRect(hwnd);
  std::vector<COLORREF> pixels;
  for (int y = top; y < top + rows; ++y)
    for (int x = 0; x < rect.right - rect.left; ++x) pixels.push_back(brambolt::test::WindowPixel(hwnd, x, y));
  return pixels;
}

// The client point of a screen point (the *At forms of the hands take screen points, the others
// client points, which may lie outside the client area, on a caption).
POINT ClientOf(HWND hwnd, POINT screen) {
  ::ScreenToClient(hwnd, &screen);
  return screen;
}

// The floating frame holding a bar, null while it is docked.
HWND FloatingFrameOf(CControlBar& bar) {
  if (!bar.IsFloating()) return nullptr;
  return ::GetAncestor(bar.m_hWnd, GA_ROOT);
}

// A point on the floating frame's caption, left of its buttons.
POINT CaptionOf(HWND frame) {
  const RECT rect = WindowRect(frame);
  return POINT{rect.left + 24, rect.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYSMCAPTION) / 2};
}

// A point on a docked bar's gripper (the bar's top edge when it stands on the left or right
// side, its left edge when it lies along the top or bottom).
POINT GripperOf(CControlBar& bar) {
  const RECT rect = WindowRect(bar.m_hWnd);
  if (bar.m_dwStyle & CBRS_ORIENT_HORZ) return POINT{rect.left + 4, (rect.top + rect.bottom) / 2};
  return POINT{rect.left + 24, rect.top + 5};
}

// A double click on a screen point; false when a loop of the program waited for input that never
// came (a drag that missed its button release): the guard then ends it by taking the mouse
// capture away, so the test fails instead of hanging.
bool DoubleClickGuarded(Desk& desk, HWND hwnd, POINT screen) {
  bool waited = false;
  {
    UiScript guard;
    for (int i = 0; i < 3; ++i)
      guard.Then([&waited] {
        waited = true;
        if (HWND capture = ::GetCapture()) {
          ::ReleaseCapture();
          ::PostMessage(capture, WM_NULL, 0, 0);  // wakes the loop to see the capture gone
        }
      });
    brambolt::test::DoubleClick(hwnd, ClientOf(hwnd, screen));
    desk.Pump();
  }
  return !waited;
}

// A drag of the mouse between two screen points, in steps as a hand moves; then the program's
// idle time, which lays the frame out.
void DragAt(Desk& desk, HWND hwnd, POINT from, POINT to, UINT mods = brambolt::test::kNone) {
  brambolt::test::Drag(hwnd, ClientOf(hwnd, from), ClientOf(hwnd, to), 8, mods);
  desk.Pump();
}

// Where the pointer goes to dock a bar on a side of the frame: on that side's dock bar, half way
// along it.
POINT OnSide(CFrameWnd& frame, UINT side) {
  const RECT rect = WindowRect(frame.GetControlBar(side)->m_hWnd);
  if (side == AFX_IDW_DOCKBAR_LEFT || side == AFX_IDW_DOCKBAR_RIGHT)
    return POINT{side == AFX_IDW_DOCKBAR_LEFT ? rect.left : std::max(rect.left, rect.right - 1),
                 (rect.top + rect.bottom) / 2};
  return POINT{(rect.left + rect.right) / 2, rect.top};
}

// Which side of the main frame a docked bar stands on: its dock bar's id, 0 when floating.
UINT DockSide(CControlBar& bar) {
  if (bar.IsFloating() || bar.m_pDockBar == nullptr) return 0;
  return static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID());
}

TEST(UsersDay, DoubleClickOnAFloatingExplorersCaptionDocksItBackWithoutHanging) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  ProjectWorkspaceWnd& explorer = frame->m_wndProjectExplorer;
  ASSERT_EQ(DockSide(explorer), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
  const RECT docked = WindowRect(explorer.m_hWnd);

  // A double click on the gripper floats the explorer; one on the floating frame's caption
  // docks it again where it was, twice over.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(DoubleClickGuarded(desk, explorer.m_hWnd, GripperOf(explorer))) << "the gripper's double click waited";
    const HWND floating = FloatingFrameOf(explorer);
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(::IsWindowVisible(floating));
    EXPECT_EQ(::GetCapture(), nullptr);

    ASSERT_TRUE(DoubleClickGuarded(desk, floating, CaptionOf(floating))) << "the caption's double click waited";
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(DockSide(explorer), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
    const RECT back = WindowRect(explorer.m_hWnd);
    EXPECT_EQ(back.left, docked.left);
    EXPECT_EQ(back.right - back.left, docked.right - docked.left);
  }
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

TEST(UsersDay, ExplorerAndToolbarAreDraggedOffTheFrameOntoOtherSidesAndBack) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  const HWND main = desk.MainWindow();
  ProjectWorkspaceWnd& explorer = frame->m_wndProjectExplorer;
  CControlBar* toolbar = frame->GetControlBar(AFX_IDW_TOOLBAR);
  ASSERT_NE(toolbar, nullptr);
  ASSERT_EQ(DockSide(explorer), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
  ASSERT_EQ(DockSide(*toolbar), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
  const HWND client = frame->m_hWndMDIClient;
  const RECT clientDocked = WindowRect(client);
  const RECT explorerDocked = WindowRect(explorer.m_hWnd);
  const POINT middle{(clientDocked.left + clientDocked.right) / 2, (clientDocked.top + clientDocked.bottom) / 2};

  // The explorer's gripper dragged into the middle of the window: it floats there, and the
  // documents' area takes its place on the left.
  DragAt(desk, explorer.m_hWnd, GripperOf(explorer), middle);
  HWND floating = FloatingFrameOf(explorer);
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(::IsWindowVisible(floating));
  const RECT floatingRect = WindowRect(floating);
  EXPECT_TRUE(::PtInRect(&floatingRect, middle));
  EXPECT_LT(WindowRect(client).left, clientDocked.left);
  brambolt::test::SaveScreenPng(Desk::Gallery() + "/20-explorer-floating.png");

  // Its caption dragged onto the right edge: docked on the right, the documents left of it.
  DragAt(desk, floating, CaptionOf(floating), OnSide(*frame, AFX_IDW_DOCKBAR_RIGHT));
  ASSERT_EQ(DockSide(explorer), static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT));
  EXPECT_FALSE(::IsWindowVisible(floating) && ::IsWindow(floating) && FloatingFrameOf(explorer) == floating);
  const RECT onRight = WindowRect(explorer.m_hWnd);
  EXPECT_GE(onRight.left, WindowRect(client).right);
  EXPECT_GT(onRight.left, middle.x);
  desk.Snapshot(main, "21-explorer-right");

  // Its gripper dragged back onto the left edge: where it was, as wide as it was.
  DragAt(desk, explorer.m_hWnd, GripperOf(explorer), OnSide(*frame, AFX_IDW_DOCKBAR_LEFT));
  ASSERT_EQ(DockSide(explorer), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
  const RECT back = WindowRect(explorer.m_hWnd);
  EXPECT_EQ(back.left, explorerDocked.left);
  EXPECT_EQ(back.right - back.left, explorerDocked.right - explorerDocked.left);
  EXPECT_LE(back.right, WindowRect(client).left);

  // The toolbar dragged into the middle floats; dragged onto the left edge it stands upright
  // there beside the explorer; dragged onto the top edge it lies along it again.
  DragAt(desk, toolbar->m_hWnd, GripperOf(*toolbar), middle);
  floating = FloatingFrameOf(*toolbar);
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(::IsWindowVisible(floating));
  EXPECT_LE(WindowRect(client).top, WindowRect(toolbar->m_hWnd).top);
  brambolt::test::SaveScreenPng(Desk::Gallery() + "/22-toolbar-floating.png");

  DragAt(desk, floating, CaptionOf(floating), OnSide(*frame, AFX_IDW_DOCKBAR_LEFT));
  ASSERT_EQ(DockSide(*toolbar), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_TRUE(toolbar->m_dwStyle & CBRS_ORIENT_VERT);
  const RECT upright = WindowRect(toolbar->m_hWnd);
  EXPECT_GT(upright.bottom - upright.top, upright.right - upright.left);
  desk.Snapshot(main, "23-toolbar-left");

  DragAt(desk, toolbar->m_hWnd, GripperOf(*toolbar), OnSide(*frame, AFX_IDW_DOCKBAR_TOP));
  ASSERT_EQ(DockSide(*toolbar), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
  const RECT along = WindowRect(toolbar->m_hWnd);
  EXPECT_GT(along.right - along.left, along.bottom - along.top);
  EXPECT_LE(along.bottom, WindowRect(client).top);
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

TEST(UsersDay, PrintPreviewGivesTheLayoutBackAsItWas) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  const HWND main = desk.MainWindow();
  ProjectWorkspaceWnd& explorer = frame->m_wndProjectExplorer;
  // The explorer made wider by its splitter first, as a person likes it.
  const RECT docked = WindowRect(explorer.m_hWnd);
  const POINT splitter{docked.right + 3, (docked.top + docked.bottom) / 2};
  DragAt(desk, main, splitter, POINT{splitter.x + 90, splitter.y});
  const RECT explorerBefore = WindowRect(explorer.m_hWnd);
  ASSERT_EQ(explorerBefore.right - explorerBefore.left, docked.right - docked.left + 90);
  const RECT clientBefore = WindowRect(frame->m_hWndMDIClient);
  // The band where the bars above meet the documents' area, as it looks before the preview.
  const int band = clientBefore.top - WindowRect(main).top - 4;
  const std::vector<COLORREF> bandBefore = Rows(main, band, 8);

  // File > Print Preview, left with Escape: the explorer comes back as wide as it was, and the
  // sunken edge of the documents' area is drawn again where the preview covered it.
  desk.Menu('F', "v");
  EXPECT_FALSE(::IsWindowVisible(explorer.m_hWnd));
  desk.Press(VK_ESCAPE);
  desk.Pump();
  desk.Snapshot(main, "24-after-preview");
  ASSERT_TRUE(::IsWindowVisible(explorer.m_hWnd));
  const RECT explorerAfter = WindowRect(explorer.m_hWnd);
  const RECT clientAfter = WindowRect(frame->m_hWndMDIClient);
  EXPECT_EQ(explorerAfter.left, explorerBefore.left);
  EXPECT_EQ(explorerAfter.right, explorerBefore.right);
  EXPECT_EQ(clientAfter.left, clientBefore.left);
  EXPECT_EQ(clientAfter.top, clientBefore.top);
  EXPECT_TRUE(Rows(main, band, 8) == bandBefore) << "the documents' area's top edge kept a trace of the preview";
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// A document, beside.cpp, open and its window active; the Project Explorer floated in the main
// window from its gripper's menu (Float In Main Window, its last item), which brings the explorer's
// window in front; Ctrl+F6 back to the document, and "a" typed into it.
struct ExplorerBesideADocument {
  fs::path file;
  CMDIChildWnd* document = nullptr;
  CMDIChildWnd* holder = nullptr;
};
void FloatExplorerBesideADocument(Desk& desk, ExplorerBesideADocument& beside) {
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  ProjectWorkspaceWnd& explorer = frame->m_wndProjectExplorer;
  beside.file = fs::path(desk.Folder("Beside")) / "beside.cpp";
  std::ofstream(beside.file, std::ios::binary) << "int beside;\r\n";
  ASSERT_NE(OpenFile(desk, beside.file), nullptr);
  beside.document = frame->MDIGetActive();
  ASSERT_NE(beside.document, nullptr);
  desk.ExpectMenu({VK_UP, VK_RETURN});
  brambolt::test::Click(explorer.m_hWnd, ClientOf(explorer.m_hWnd, GripperOf(explorer)), brambolt::test::kNone,
                        WM_RBUTTONDOWN);
  desk.Pump();
  beside.holder = dynamic_cast<CMDIChildWnd*>(explorer.GetParentFrame());
  ASSERT_NE(beside.holder, nullptr) << "the explorer did not float in the main window";
  ASSERT_EQ(frame->MDIGetActive(), beside.holder);
  desk.Press(VK_F6, brambolt::test::kCtrl);
  ASSERT_EQ(frame->MDIGetActive(), beside.document) << desk.MainTitle();
  desk.Type("a");
}

// The Project Explorer floated in the main window beside a document, the document's window active:
// Print Preview closed with Escape gives the document its window and the keyboard back; the
// explorer, shown again, stays behind it.
TEST(UsersDay, PrintPreviewGivesTheKeyboardBackToTheDocumentBesideTheExplorerInTheMainWindow) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ExplorerBesideADocument beside;
  ASSERT_NO_FATAL_FAILURE(FloatExplorerBesideADocument(desk, beside));
  const fs::path& file = beside.file;
  CMDIChildWnd* const document = beside.document;
  CMDIChildWnd* const holder = beside.holder;

  desk.Menu('F', "v");
  ASSERT_FALSE(::IsWindowVisible(holder->m_hWnd)) << "no preview";
  desk.Press(VK_ESCAPE);
  EXPECT_TRUE(::IsWindowVisible(holder->m_hWnd)) << "the explorer did not come back";
  BOOL maximized = FALSE;
  EXPECT_EQ(frame->MDIGetActive(&maximized), document) << "after the preview: " << desk.MainTitle();
  EXPECT_TRUE(maximized) << "the document's window is no longer maximised";
  desk.Type("b");
  desk.Menu('F', "s");
  EXPECT_EQ(ReadFile(file), "abint beside;\r\n") << "the keys typed after the preview went astray";
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// The same with full screen: left with Escape, the frame gives the explorer back in the same
// window of the documents' area, where it was and as large, behind the document's window, which is
// active and maximised again and takes the keys; the next start floats the explorer there again.
TEST(UsersDay, LeavingFullScreenGivesTheKeyboardBackToTheDocumentBesideTheExplorerInTheMainWindow) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ExplorerBesideADocument beside;
  ASSERT_NO_FATAL_FAILURE(FloatExplorerBesideADocument(desk, beside));
  const fs::path& file = beside.file;
  CMDIChildWnd* const document = beside.document;
  CMDIChildWnd* holder = beside.holder;
  const HWND holderWnd = holder->m_hWnd;
  const CRect placed(WindowRect(holderWnd));

  desk.Menu('V', "f");
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  desk.Type("b");
  desk.Press(VK_ESCAPE);
  desk.Pump();
  ASSERT_FALSE(frame->m_FullScreen.IsFullScreen());
  holder = dynamic_cast<CMDIChildWnd*>(frame->m_wndProjectExplorer.GetParentFrame());
  ASSERT_NE(holder, nullptr) << "the explorer no longer floats in the main window";
  EXPECT_EQ(holder->m_hWnd, holderWnd) << "the explorer came back in another window";
  EXPECT_TRUE(::IsWindowVisible(holder->m_hWnd)) << "the explorer did not come back";
  EXPECT_EQ(CRect(WindowRect(holder->m_hWnd)), placed) << "the explorer's window moved";
  BOOL maximized = FALSE;
  EXPECT_EQ(frame->MDIGetActive(&maximized), document) << "after full screen: " << desk.MainTitle();
  EXPECT_TRUE(maximized) << "the document's window is no longer maximised";
  desk.Type("c");
  desk.Menu('F', "s");
  EXPECT_EQ(ReadFile(file), "abcint beside;\r\n") << "the keys typed after full screen went astray";
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();

  // The next start: the explorer floats in the main window again, as large as it was.
  desk.Quit();
  ASSERT_TRUE(desk.Start()) << desk.Report();
  frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  holder = dynamic_cast<CMDIChildWnd*>(frame->m_wndProjectExplorer.GetParentFrame());
  ASSERT_NE(holder, nullptr) << "the next start docked the explorer";
  EXPECT_TRUE(::IsWindowVisible(holder->m_hWnd));
  EXPECT_EQ(CRect(WindowRect(holder->m_hWnd)).Size(), placed.Size()) << "the next start changed the explorer's size";
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// In Print Preview the preview bar takes Alt and its letters and the hidden menus take none; File
// > Print Preview starts no second preview over the first; Alt+C closes it and gives the frame
// back with its menubar, toolbar and explorer, and Window > Close All then closes the documents
// only.
TEST(UsersDay, PrintPreviewTakesItsBarsKeysAndClosesToTheFrameAsItWas) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  const HWND main = desk.MainWindow();
  const UINT bars[] = {SEC_IDW_MENUBAR, AFX_IDW_TOOLBAR, IDW_PROJECT_EXPLORER};
  for (UINT id : bars) ASSERT_TRUE(::IsWindowVisible(frame->GetControlBar(id)->m_hWnd)) << id;
  auto previews = [&] {
    int count = 0;
    for (HWND child = ::GetWindow(main, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
      count += dynamic_cast<CPreviewView*>(CWnd::FromHandlePermanent(child)) != nullptr;
    return count;
  };
  desk.Menu('F', "v");
  ASSERT_EQ(previews(), 1) << desk.Report();
  ASSERT_TRUE(::IsWindowVisible(::GetDlgItem(main, AFX_IDW_PREVIEW_BAR)));
  // The menus' letters open nothing (a menu would be an unexpected modal loop).
  for (UINT key : {'F', 'W', 'H'}) desk.Press(key, brambolt::test::kAlt);
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
  auto* menus = dynamic_cast<SECMenuBar*>(frame->GetControlBar(SEC_IDW_MENUBAR));
  ASSERT_NE(menus, nullptr);
  EXPECT_FALSE(menus->InMenuMode());
  // File > Print Preview as the menu or a key sends it: the preview stays the only one.
  ::SendMessage(main, WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
  desk.Pump();
  EXPECT_EQ(previews(), 1);
  desk.Press('C', brambolt::test::kAlt);
  EXPECT_EQ(previews(), 0) << "the preview bar's Close";
  EXPECT_EQ(::GetDlgItem(main, AFX_IDW_PREVIEW_BAR), nullptr);
  for (UINT id : bars) EXPECT_TRUE(::IsWindowVisible(frame->GetControlBar(id)->m_hWnd)) << id;
  desk.Menu('W', "a");
  EXPECT_TRUE(::IsWindow(main)) << "Close All leaves the program running";
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// Print Preview opened from full screen: Escape closes the preview and the frame stays in full
// screen; the preview takes its keys and the document behind it none; Alt+F4 in the preview ends
// the preview only and saves nothing; leaving full screen afterwards gives the toolbar back.
TEST(UsersDay, PrintPreviewFromFullScreenTakesItsKeysAndClosesBackIntoFullScreen) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  const HWND main = desk.MainWindow();
  std::string text;
  for (int i = 0; i < 400; ++i) text += "int line" + std::to_string(i) + ";\r\n";
  const fs::path file = fs::path(desk.Folder("Pages")) / "pages.cpp";
  std::ofstream(file, std::ios::binary) << text;
  ASSERT_NE(OpenFile(desk, file), nullptr);
  desk.Type("x");  // modified, not saved
  CControlBar* toolbar = frame->GetControlBar(AFX_IDW_TOOLBAR);
  ASSERT_TRUE(toolbar != nullptr && toolbar->IsVisible());
  auto preview = [&] {
    return dynamic_cast<CPreviewView*>(CWnd::FromHandlePermanent(::GetDlgItem(main, AFX_IDW_PANE_FIRST)));
  };
  desk.Menu('V', "f");
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  desk.Menu('F', "v");
  ASSERT_NE(preview(), nullptr) << desk.Report();
  desk.Press(VK_NEXT);
  EXPECT_EQ(preview()->GetCurrentPage(), 2u);
  desk.Press(VK_END);
  EXPECT_GT(preview()->GetCurrentPage(), 2u);
  desk.Press(VK_HOME);
  EXPECT_EQ(preview()->GetCurrentPage(), 1u);
  desk.Type("q");
  desk.Press(VK_ESCAPE);
  EXPECT_EQ(preview(), nullptr) << "Escape left full screen under the preview";
  EXPECT_TRUE(frame->m_FullScreen.IsFullScreen());

  desk.Menu('F', "v");
  ASSERT_NE(preview(), nullptr) << desk.Report();
  desk.Press(VK_F4, brambolt::test::kAlt);
  ASSERT_TRUE(::IsWindow(main));
  EXPECT_EQ(preview(), nullptr);
  EXPECT_EQ(ReadFile(file), text) << "Alt+F4 saved a document it did not close";
  EXPECT_TRUE(frame->m_FullScreen.IsFullScreen());

  desk.Menu('V', "f");
  EXPECT_FALSE(frame->m_FullScreen.IsFullScreen());
  EXPECT_TRUE(toolbar->IsVisible());
  desk.Menu('F', "s");
  EXPECT_EQ(ReadFile(file), "x" + text) << "a key typed in the preview reached the document";
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// Print Preview from full screen beside the Project Explorer floated in a window of its own: the
// explorer's window stays hidden under the preview and after it, while full screen lasts, and
// comes back with the explorer, where it was, when full screen ends.
TEST(UsersDay, PrintPreviewFromFullScreenLeavesTheFloatingExplorerHidden) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  ProjectWorkspaceWnd& explorer = frame->m_wndProjectExplorer;
  ASSERT_TRUE(DoubleClickGuarded(desk, explorer.m_hWnd, GripperOf(explorer))) << "the gripper's double click waited";
  const HWND floating = FloatingFrameOf(explorer);
  ASSERT_NE(floating, nullptr);
  ASSERT_TRUE(::IsWindowVisible(floating));
  const CRect placed(WindowRect(floating));
  desk.Menu('V', "f");
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  EXPECT_FALSE(::IsWindowVisible(floating)) << "full screen showed the explorer's window";
  desk.Menu('F', "v");
  EXPECT_FALSE(::IsWindowVisible(floating)) << "the preview showed the explorer's window";
  desk.Press(VK_ESCAPE);
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen()) << "Escape left full screen under the preview";
  EXPECT_FALSE(::IsWindowVisible(floating)) << "after the preview the explorer's empty window shows";
  EXPECT_FALSE(::IsWindowVisible(explorer.m_hWnd));
  desk.Press(VK_ESCAPE);
  ASSERT_FALSE(frame->m_FullScreen.IsFullScreen());
  const HWND back = FloatingFrameOf(explorer);
  ASSERT_NE(back, nullptr) << "the explorer no longer floats";
  EXPECT_TRUE(::IsWindowVisible(back) && ::IsWindowVisible(explorer.m_hWnd)) << "the explorer did not come back";
  EXPECT_EQ(CRect(WindowRect(back)).TopLeft(), placed.TopLeft()) << "the explorer's window moved";
  EXPECT_TRUE(back == floating || !::IsWindowVisible(floating)) << "an empty window of the explorer stayed";
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// The commands of a toolbar's buttons, its separators left out.
std::vector<UINT> Commands(const SECCustomToolBar& bar) {
  std::vector<UINT> ids;
  for (int i = 0; i < bar.GetBtnCount(); ++i)
    if (bar.GetItemID(i) != 0) ids.push_back(bar.GetItemID(i));
  return ids;
}

// The screen centre of a toolbar's button.
POINT ButtonCentre(const SECCustomToolBar& bar, UINT command) {
  RECT rect{};
  bar.GetItemRect(bar.CommandToIndex(command), &rect);
  ::MapWindowPoints(bar.m_hWnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The toolbar of the main frame with this title, null when there is none.
SECCustomToolBar* ToolBarTitled(CMainFrame& frame, const std::string& title) {
  auto* manager = static_cast<SECToolBarManager*>(frame.GetToolBarManager());
  for (SECCustomToolBar* bar : manager->GetToolBars()) {
    CString text;
    bar->GetWindowText(text);
    if (bar->GetSafeHwnd() != nullptr && std::string(text) == title) return bar;
  }
  return nullptr;
}

TEST(UsersDay, AltDragMovesAndDropsToolbarButtonsACtrlCopyMakesAUserToolbarFullScreenAndTheNextStartKeepThem) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  auto* toolbar = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(AFX_IDW_TOOLBAR));
  ASSERT_NE(toolbar, nullptr);
  std::vector<UINT> expected = Commands(*toolbar);
  ASSERT_GE(expected.size(), 3u);
  const UINT first = expected.front(), last = expected.back();

  // The first button dragged with Alt onto the right half of the last: it moves to the end.
  const POINT end = ButtonCentre(*toolbar, last);
  DragAt(desk, toolbar->m_hWnd, ButtonCentre(*toolbar, first), POINT{end.x + 6, end.y}, brambolt::test::kAlt);
  expected.erase(expected.begin());
  expected.push_back(first);
  EXPECT_EQ(Commands(*toolbar), expected);
  EXPECT_EQ(ToolBarTitled(*frame, "ToolBar1"), nullptr);
  auto* menus = dynamic_cast<SECMenuBar*>(frame->GetControlBar(SEC_IDW_MENUBAR));
  ASSERT_NE(menus, nullptr);
  EXPECT_FALSE(menus->InMenuMode()) << "the Alt that moved the button opened the menus";

  // Open, now where the moved button was, dragged with Alt and Ctrl into the documents' area a
  // moment later (not a double click): a floating "ToolBar1" holds a copy.
  brambolt::test::AdvanceClock(1000);
  const RECT client = WindowRect(frame->m_hWndMDIClient);
  const POINT empty{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
  DragAt(desk, toolbar->m_hWnd, ButtonCentre(*toolbar, ID_FILE_OPEN), empty,
         brambolt::test::kAlt | brambolt::test::kCtrl);
  EXPECT_EQ(Commands(*toolbar), expected) << "a copy leaves the bar as it was";
  SECCustomToolBar* user = ToolBarTitled(*frame, "ToolBar1");
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(Commands(*user), std::vector<UINT>{ID_FILE_OPEN});
  EXPECT_TRUE(user->IsFloating());
  EXPECT_TRUE(::IsWindowVisible(FloatingFrameOf(*user)));
  desk.Snapshot(desk.MainWindow(), "25-user-toolbar");

  // The last button before the moved one dragged with Alt alone off every bar, into the
  // documents' area away from the new toolbar: it is gone.
  brambolt::test::AdvanceClock(1000);
  const UINT dropped = expected[expected.size() - 2];
  DragAt(desk, toolbar->m_hWnd, ButtonCentre(*toolbar, dropped), POINT{client.left + 60, client.bottom - 60},
         brambolt::test::kAlt);
  expected.erase(expected.end() - 2);
  EXPECT_EQ(Commands(*toolbar), expected);
  EXPECT_EQ(Commands(*user), std::vector<UINT>{ID_FILE_OPEN});

  // Full screen entered and left: the user's toolbar floats again where it was.
  const RECT userFrame = WindowRect(FloatingFrameOf(*user));
  desk.Menu('V', "f");
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  desk.Press(VK_ESCAPE);
  desk.Pump();
  ASSERT_FALSE(frame->m_FullScreen.IsFullScreen());
  user = ToolBarTitled(*frame, "ToolBar1");
  ASSERT_NE(user, nullptr);
  ASSERT_NE(FloatingFrameOf(*user), nullptr);
  EXPECT_TRUE(::IsWindowVisible(FloatingFrameOf(*user)));
  char caption[64] = {};
  ::GetWindowText(FloatingFrameOf(*user), caption, sizeof caption);
  EXPECT_STREQ(caption, "ToolBar1");
  EXPECT_EQ(WindowRect(FloatingFrameOf(*user)).left, userFrame.left);
  EXPECT_EQ(WindowRect(FloatingFrameOf(*user)).top, userFrame.top);

  // The next start: the toolbar's buttons and the user's toolbar as they were left.
  desk.Quit();
  ASSERT_TRUE(desk.Start()) << desk.Report();
  frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  toolbar = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(AFX_IDW_TOOLBAR));
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(Commands(*toolbar), expected);
  user = ToolBarTitled(*frame, "ToolBar1");
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(Commands(*user), std::vector<UINT>{ID_FILE_OPEN});
  EXPECT_TRUE(user->IsFloating() && ::IsWindowVisible(FloatingFrameOf(*user)));
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e

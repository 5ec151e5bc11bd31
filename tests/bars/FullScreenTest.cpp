// Full-screen mode: the frame without caption, menu and bars across the desktop and exactly as it
// was afterwards (bars hidden before stay hidden), Escape leaving through the copied accelerator
// table, the notice to the frame, a failed entry undone, print preview refused, the menu back at
// the top edge, the button bar's three kinds, commands after the menu loop, and the button's tip
// cut to its buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "MenusTestIds.h"
#include "bars/SECBmpMgr.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECDockBar.h"
#include "bars/SECFrameWnd.h"
#include "bars/SECFullScreenView.h"
#include "bars/SECMenuBar.h"
#include "bars/SECToolBar.h"
#include "win/ModalLoop.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

constexpr UINT kCmdOpen = 24380;

class NoticeFrame : public CFrameWnd {
 public:
  std::vector<WPARAM> notices;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SECFullScreenView::kNotifyMessage) notices.push_back(wParam);
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
};

// An SDI frame with a menu, Ctrl+O, a shown toolbar, a hidden one and a status bar.
struct FSFrame {
  NoticeFrame* frame = new NoticeFrame;
  CToolBar shown, hidden;
  CStatusBar status;
  CMenu menu;
  HACCEL accel;
  CRect rect{40, 30, 640, 430};

  FSFrame() {
    EXPECT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect));
    menu.CreateMenu();
    menu.AppendMenu(MF_STRING, kCmdOpen, "&Open");
    frame->SetMenu(&menu);
    ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'O', static_cast<WORD>(kCmdOpen)}};
    accel = ::CreateAcceleratorTable(entries, 1);
    frame->m_hAccelTable = accel;
    const UINT ids[] = {kCmdOpen};
    EXPECT_TRUE(shown.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), 24390));
    shown.SetButtons(ids, 1);
    EXPECT_TRUE(hidden.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | CBRS_TOP, CRect(0, 0, 0, 0), 24391));
    EXPECT_TRUE(status.Create(frame));
    frame->RecalcLayout();
    RunUntilIdle();
  }
  ~FSFrame() {
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    ::DestroyAcceleratorTable(accel);
  }
  CRect Window() const {
    CRect r;
    frame->GetWindowRect(&r);
    return r;
  }
  bool Visible(CWnd& wnd) const { return (wnd.GetStyle() & WS_VISIBLE) != 0; }
  void ExpectAsBefore() {
    EXPECT_EQ(rect, Window());
    EXPECT_TRUE(frame->GetStyle() & WS_CAPTION);
    EXPECT_TRUE(frame->GetStyle() & WS_THICKFRAME);
    EXPECT_EQ(menu.m_hMenu, ::GetMenu(frame->m_hWnd));
    EXPECT_EQ(accel, frame->m_hAccelTable);
    EXPECT_TRUE(Visible(shown));
    EXPECT_TRUE(Visible(status));
    EXPECT_FALSE(Visible(hidden)) << "a bar hidden before stays hidden";
  }
};

TEST(FullScreen, CoversTheDesktopAndEscapeBringsTheFrameBack) {
  UiSession session;
  FSFrame f;
  SECFullScreenView fs;
  ASSERT_TRUE(fs.SetFSMode(3, "&Full Screen", f.frame));
  EXPECT_TRUE(fs.IsFullScreen());
  CRect desktop;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  EXPECT_EQ(CRect(desktop.left - 1, desktop.top, desktop.right + 1, desktop.bottom + 1), f.Window());
  EXPECT_FALSE(f.frame->GetStyle() & (WS_THICKFRAME | WS_DLGFRAME));
  EXPECT_TRUE(f.frame->GetStyle() & WS_BORDER);
  EXPECT_EQ(nullptr, ::GetMenu(f.frame->m_hWnd));
  EXPECT_FALSE(f.Visible(f.shown));
  EXPECT_FALSE(f.Visible(f.status));
  ASSERT_NE(nullptr, fs.GetFSToolBar());
  EXPECT_TRUE(fs.GetFSToolBar()->IsFloating());
  auto* button = dynamic_cast<SECCustomToolBar*>(fs.GetFSToolBar());
  ASSERT_NE(nullptr, button) << "without option 0x8 the button bar is a customisable toolbar";
  EXPECT_EQ(SECFullScreenView::kLeaveCommand, button->GetItemID(0));
  ASSERT_NE(nullptr, button->GetBmpMgr());
  EXPECT_TRUE(button->GetBmpMgr()->HasImage(SECFullScreenView::kLeaveCommand)) << "the title drawn as its image";
  ACCEL entries[2] = {};
  ASSERT_EQ(2, ::CopyAcceleratorTable(f.frame->m_hAccelTable, entries, 2));
  EXPECT_EQ(VK_ESCAPE, entries[0].key);
  EXPECT_EQ(SECFullScreenView::kLeaveCommand, entries[0].cmd);
  EXPECT_EQ(kCmdOpen, entries[1].cmd);
  EXPECT_EQ(std::vector<WPARAM>{1}, f.frame->notices);

  MSG escape{f.frame->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
  EXPECT_TRUE(f.frame->PreTranslateMessage(&escape));
  RunUntilIdle();
  EXPECT_FALSE(fs.IsFullScreen());
  EXPECT_EQ(nullptr, fs.GetFSToolBar());
  EXPECT_EQ(nullptr, fs.m_hWnd);
  f.ExpectAsBefore();
  EXPECT_EQ((std::vector<WPARAM>{1, 0}), f.frame->notices);
}

// A focused view with an Escape accelerator of its own, as the code editor has.
class EscapeView : public CWnd {
 public:
  int escapes = 0;
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) return ++escapes, TRUE;
    return CWnd::PreTranslateMessage(pMsg);
  }
};

TEST(FullScreen, EscapeLeavesEvenWhenTheActiveChildsViewHasAnEscapeOfItsOwn) {
  UiSession session;
  CWinApp app{"Full Screen Test"};
  auto* frame = new CMDIFrameWnd;
  ASSERT_TRUE(frame->LoadFrame(IDR_WS_FRAME, WS_OVERLAPPEDWINDOW));
  frame->ShowWindow(SW_SHOW);
  app.m_pMainWnd = frame;
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  auto* child = new CMDIChildWnd;
  ASSERT_TRUE(child->Create(nullptr, "Child", WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 150), frame));
  ACCEL childEntries[] = {{FVIRTKEY | FCONTROL, 'O', static_cast<WORD>(kCmdOpen)}};
  child->m_hAccelTable = ::CreateAcceleratorTable(childEntries, 1);
  EscapeView view;
  ASSERT_TRUE(view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), child, AFX_IDW_PANE_FIRST));
  view.SetFocus();
  RunUntilIdle();

  PressKey(VK_ESCAPE);
  EXPECT_EQ(1, view.escapes) << "outside full screen the view's Escape stays its own";
  SECFullScreenView fs;
  ASSERT_TRUE(fs.SetFSMode(0, nullptr, frame));
  view.SetFocus();
  PressKey(VK_ESCAPE);
  RunUntilIdle();
  EXPECT_FALSE(fs.IsFullScreen());
  EXPECT_EQ(1, view.escapes);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(2, view.escapes) << "the view has its Escape back after the mode";

  app.m_pMainWnd = nullptr;
  view.DestroyWindow();
  ::DestroyAcceleratorTable(child->m_hAccelTable);
  child->m_hAccelTable = nullptr;
  frame->DestroyWindow();
}

TEST(FullScreen, TheButtonBarIsAToolbarOfTheKindTheOptionsAndFrameAsk) {
  UiSession session;
  auto* plain = new CFrameWnd;
  ASSERT_TRUE(plain->Create(nullptr, "Plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 30, 640, 430)));
  auto* toolkit = new SECFrameWnd;
  ASSERT_TRUE(toolkit->Create(nullptr, "Toolkit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 30, 640, 430)));
  SECEnableDocking(toolkit, CBRS_ALIGN_ANY);
  struct Case {
    CFrameWnd* frame;
    UINT options;
    CRuntimeClass* kind;
  } cases[] = {
      {plain, 3, RUNTIME_CLASS(SECCustomToolBar)},
      {toolkit, 3, RUNTIME_CLASS(SECCustomToolBar)},
      {toolkit, 3 | SECFullScreenView::SEC_FS_PLAIN_BAR, RUNTIME_CLASS(SECToolBar)},
      {plain, 3 | SECFullScreenView::SEC_FS_PLAIN_BAR, RUNTIME_CLASS(CToolBar)},
  };
  for (const Case& c : cases) {
    SECFullScreenView fs;
    ASSERT_TRUE(fs.SetFSMode(c.options, "&Full Screen", c.frame));
    CControlBar* bar = fs.GetFSToolBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(bar->IsKindOf(c.kind)) << c.options << " " << bar->GetRuntimeClass()->m_lpszClassName;
    EXPECT_TRUE(bar->IsFloating());
    EXPECT_EQ(static_cast<int>(SECFullScreenView::kToolBarID), bar->GetDlgCtrlID());
    // The button stays enabled and leaves the mode.
    bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    if (auto* custom = dynamic_cast<SECCustomToolBar*>(bar)) {
      EXPECT_FALSE(custom->GetButtonStyle(0) & TBBS_DISABLED);
    }
    fs.SendMessage(WM_COMMAND, SECFullScreenView::kLeaveCommand);
    EXPECT_FALSE(fs.IsFullScreen());
    EXPECT_EQ(nullptr, fs.GetFSToolBar());
  }
  toolkit->DestroyWindow();
  plain->DestroyWindow();
}

class OpenFS : public SECFullScreenView {
 public:
  using SECFullScreenView::m_mainListener;
};

TEST(FullScreen, AfterTheMenuLoopAnOleCommandKeepsTheChildsMenuAndAnyOtherTakesItAway) {
  UiSession session;
  CMenu childMenu;
  ASSERT_TRUE(childMenu.LoadMenu(IDR_MB_DOC));
  auto* frame = new CMDIFrameWnd;
  ASSERT_TRUE(frame->LoadFrame(IDR_WS_FRAME, WS_OVERLAPPEDWINDOW));
  frame->ShowWindow(SW_SHOW);
  auto* child = new CMDIChildWnd;
  child->m_hMenuShared = childMenu.m_hMenu;
  ASSERT_TRUE(child->Create(nullptr, "Child", WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 150), frame));
  child->MDIMaximize();
  RunUntilIdle();
  OpenFS fs;
  ASSERT_TRUE(fs.SetFSMode(SECFullScreenView::SEC_FS_MENU_AT_TOP, nullptr, frame));
  // The menu loop has ended with no menu kept for the top edge.
  SECFSMainFrmListener& listener = fs.m_mainListener;
  listener.m_bHasSavedMenu = FALSE;
  listener.m_hSavedMenu = nullptr;
  struct Case {
    UINT command;
    BOOL menuShown;
    HMENU menu;
  } cases[] = {{0xE201, TRUE, childMenu.m_hMenu}, {kCmdOpen, FALSE, nullptr}};
  for (const Case& c : cases) {
    listener.m_bMenuShown = FALSE;
    frame->PostMessage(WM_COMMAND, c.command);
    frame->SendMessage(SECFullScreenView::kAfterMenuLoop);
    RunUntilIdle();
    EXPECT_EQ(c.menuShown, listener.m_bMenuShown) << c.command;
    EXPECT_EQ(c.menu, ::GetMenu(frame->m_hWnd)) << c.command;
    EXPECT_TRUE(child->IsZoomed()) << c.command;
  }
  fs.LeaveFSMode();
  ::SetMenu(frame->m_hWnd, nullptr);
  frame->DestroyWindow();
}

class FailingFS : public SECFullScreenView {
 public:
  int CreateFSToolBar() override { return -1; }
};

TEST(FullScreen, AFailedEntryOrPrintPreviewLeavesTheFrameAsItWas) {
  UiSession session;
  FSFrame f;
  FailingFS failing;
  EXPECT_FALSE(failing.SetFSMode(3, nullptr, f.frame));
  EXPECT_FALSE(failing.IsFullScreen());
  f.ExpectAsBefore();

  f.frame->m_lpfnCloseProc = [](CFrameWnd*) {};
  SECFullScreenView preview;
  EXPECT_FALSE(preview.SetFSMode(3, nullptr, f.frame));
  f.frame->m_lpfnCloseProc = nullptr;
  f.ExpectAsBefore();
}

TEST(FullScreen, TheMenuComesBackAtTheTopEdgeAndGoesWhenThePointerLeaves) {
  UiSession session;
  FSFrame f;
  SECFullScreenView fs;
  ASSERT_TRUE(fs.SetFSMode(SECFullScreenView::SEC_FS_MENU_AT_TOP, nullptr, f.frame));
  f.frame->SendMessage(WM_NCMOUSEMOVE, HTBORDER, 0);
  EXPECT_EQ(f.menu.m_hMenu, ::GetMenu(f.frame->m_hWnd));
  MENUBARINFO bar{};
  bar.cbSize = sizeof(bar);
  ASSERT_TRUE(::GetMenuBarInfo(f.frame->m_hWnd, OBJID_MENU, 0, &bar));
  MoveMouseAt({bar.rcBar.left + 5, bar.rcBar.top + 2});
  AdvanceClock(300);
  EXPECT_EQ(f.menu.m_hMenu, ::GetMenu(f.frame->m_hWnd)) << "kept while the pointer is on it";
  const CRect window = f.Window();
  MoveMouseAt(window.CenterPoint());
  AdvanceClock(150);
  EXPECT_EQ(nullptr, ::GetMenu(f.frame->m_hWnd));
  fs.LeaveFSMode();
  f.ExpectAsBefore();
}

TEST(FullScreen, TheButtonTipIsTheTitleCutToItsBuffer) {
  UiSession session;
  FSFrame f;
  SECFullScreenView fs;
  const CString title('t', 120);
  ASSERT_TRUE(fs.SetFSMode(0, title, f.frame));
  TOOLTIPTEXT text{};
  text.hdr.hwndFrom = nullptr;
  text.hdr.idFrom = SECFullScreenView::kLeaveCommand;
  text.hdr.code = TTN_NEEDTEXT;
  fs.SendMessage(WM_NOTIFY, SECFullScreenView::kLeaveCommand, reinterpret_cast<LPARAM>(&text));
  EXPECT_EQ(CString('t', 79), CString(text.szText));
  fs.GetFSToolBar()->SendMessage(WM_COMMAND, SECFullScreenView::kLeaveCommand);
  fs.SendMessage(WM_COMMAND, SECFullScreenView::kLeaveCommand);
  EXPECT_FALSE(fs.IsFullScreen());
  f.ExpectAsBefore();
}

TEST(FullScreen, AFramesMenubarFloatsAcrossTheTopEdgeAndDocksAgainAfter) {
  UiSession session;
  auto* frame = new SECFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, "Menubar frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 30, 640, 430)));
  SECEnableDocking(frame, CBRS_ALIGN_ANY);
  SECMenuBar bar;
  ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, SEC_IDW_MENUBAR));
  const UINT menus[] = {IDR_MB_MAIN};
  ASSERT_TRUE(bar.SetMenuInfo(1, menus));
  bar.EnableDocking(CBRS_ALIGN_ANY);
  frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
  frame->m_pMenuBar = &bar;
  frame->RecalcLayout();
  RunUntilIdle();
  auto dockedTop = [&] { return ::GetDlgCtrlID(::GetParent(bar.m_hWnd)) == static_cast<int>(AFX_IDW_DOCKBAR_TOP); };
  ASSERT_TRUE(dockedTop());

  SECFullScreenView fs;
  ASSERT_TRUE(fs.SetFSMode(SECFullScreenView::SEC_FS_MENU_AT_TOP, nullptr, frame));
  EXPECT_FALSE(bar.GetStyle() & WS_VISIBLE);
  frame->SendMessage(WM_NCMOUSEMOVE, HTBORDER, 0);
  RunUntilIdle();
  ASSERT_TRUE(bar.GetStyle() & WS_VISIBLE);
  ASSERT_TRUE(bar.IsFloating());
  CRect desktop, floating;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  bar.GetParentFrame()->GetWindowRect(&floating);
  EXPECT_EQ(CPoint(desktop.left, desktop.top - 4), floating.TopLeft());
  // It spans the desktop, and stays while the pointer is on it beside the menu names.
  CRect shown;
  bar.GetWindowRect(&shown);
  EXPECT_LE(shown.left, desktop.left + 2);
  EXPECT_GE(shown.right, desktop.right - 2);
  CRect names;
  bar.GetItemRect(bar.GetBtnCount() - 1, &names);
  bar.ClientToScreen(&names);
  const CPoint beside(std::max<LONG>(names.right + 40, (names.right + desktop.right) / 2), desktop.top + 4);
  ASSERT_LT(beside.x, desktop.right - 4);
  MoveMouseAt(beside);
  AdvanceClock(300);
  EXPECT_TRUE(bar.GetStyle() & WS_VISIBLE) << "the pointer beside the menu names keeps the menubar";
  MoveMouseAt(CRect(desktop).CenterPoint());
  AdvanceClock(150);
  EXPECT_FALSE(bar.GetStyle() & WS_VISIBLE) << "the pointer left: the menubar goes";
  fs.LeaveFSMode();
  RunUntilIdle();
  EXPECT_TRUE(bar.GetStyle() & WS_VISIBLE);
  EXPECT_TRUE(dockedTop()) << "docked where it was";
  frame->m_pMenuBar = nullptr;
  bar.DestroyWindow();
  frame->DestroyWindow();
}

}  // namespace

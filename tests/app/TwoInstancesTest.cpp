// Two instances of the program at once, each a process of its own with the settings store in
// memory: the user toolbar each one makes and keeps is there at the next start, whichever exits
// last.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

#include "ExplorerTestSupport.h"
#include "app/CInkwrightApp.h"
#include "app/CMainFrame.h"
#include "bars/CommandBarsRes.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECMenuBarFeature.h"
#include "bars/SECToolBarCmdPage.h"
#include "bars/SECToolBarManager.h"
#include "os/Registry.h"
#include "resources/MainFrameRes.h"
#include "win/ModalLoop.h"

using namespace brambolt::test;

namespace {

// One run of the program: started with the stores as they are, ended by closing its window.
class Instance {
 public:
  Instance() {
    app.SetRegistryKey("Two Instances Test");
    SECInstallMenuBarHooks();
    frame = new CMainFrame;
    EXPECT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    RunUntilIdle();
  }
  ~Instance() {
    if (::IsWindow(frame->GetSafeHwnd())) {
      frame->SendMessage(WM_CLOSE);
      RunUntilIdle();
    }
    app.m_pMainWnd = nullptr;
    MSG quit;
    ::PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  // View > Customize Toolbars..., then `work` with the sheet open, then OK.
  void Customize(const std::function<void(CPropertySheet*)>& work) {
    brambolt::ScopedLoopFilter loop([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
    ModalAnswers answers;
    answers.When(nullptr, "Customize", [&](HWND window) {
      work(static_cast<CPropertySheet*>(CWnd::FromHandle(window)));
      Click(::GetDlgItem(window, IDOK), CPoint(5, 5));
    });
    ModalAnswers menu;
    menu.When("#32768", nullptr, [](HWND) { TypeText("c"); });
    frame->SetFocus();
    PressKey('V', kAlt);
    RunUntilIdle();
  }
  // A command of the Commands page's first group dragged onto empty space: a new toolbar.
  void MakeToolBarOf(int nButton) {
    Customize([&](CPropertySheet* sheet) {
      auto* page = static_cast<SECToolBarCmdPage*>(sheet->GetPage(0));
      auto* group = static_cast<SECToolBarCmdPage::CBarGroup*>(page->GetGroups()[0].get())->m_pBar;
      CRect button, client;
      group->GetItemRect(nButton, &button);
      frame->GetClientRect(&client);
      Drag(nullptr, ScreenPoint(group->m_hWnd, button.CenterPoint()),
           ScreenPoint(frame->m_hWnd, CPoint(client.right - 60, client.bottom - 80)));
    });
  }
  SECToolBarManager* Manager() const { return static_cast<SECToolBarManager*>(frame->GetToolBarManager()); }
  // The user toolbars, as (first command, title) in id order.
  std::vector<std::pair<UINT, CString>> UserToolBars() const {
    std::vector<std::pair<UINT, CString>> bars;
    for (UINT nID = SEC_IDW_FIRST_USER_TOOLBAR; nID <= SEC_IDW_LAST_USER_TOOLBAR; ++nID) {
      SECCustomToolBar* bar = Manager()->FindToolBar(nID);
      if (bar == nullptr) continue;
      CString title;
      bar->GetWindowText(title);
      bars.emplace_back(bar->GetBtnCount() > 0 ? bar->GetItemID(0) : 0, title);
    }
    return bars;
  }

  UiSession session;
  explorertest::ProjectShell shell;
  CInkwrightApp app;
  CMainFrame* frame = nullptr;
};

// A process running `body` with the store read afresh; its exit status tells whether every check
// in it held.
pid_t Start(const std::function<void()>& body) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  brambolt::ResetRegistryForTesting();
  body();
  ::_exit(::testing::Test::HasFailure() ? 1 : 0);
}

bool Ended(pid_t pid) {
  int status = 0;
  return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Signal(int fd) { EXPECT_EQ(::write(fd, "x", 1), 1); }
void Await(int fd) {
  char c = 0;
  EXPECT_EQ(::read(fd, &c, 1), 1);
}

// The first instance makes a toolbar and stays open; the second starts, makes one of its own
// (the same first free id, the same default name) and exits; then the first exits. The next start
// has both, each with its command; one the user deletes stays deleted.
TEST(TwoInstances, EachKeepsTheUserToolbarItMadeWhicheverExitsLast) {
  PrivateStores stores;
  UINT commands[2] = {};
  int firstReady[2], secondDone[2];
  ASSERT_EQ(::pipe(firstReady), 0);
  ASSERT_EQ(::pipe(secondDone), 0);
  const pid_t first = Start([&] {
    ::close(firstReady[0]);
    ::close(secondDone[1]);
    Instance program;
    program.MakeToolBarOf(0);
    EXPECT_EQ(program.UserToolBars().size(), 1u);
    Signal(firstReady[1]);
    Await(secondDone[0]);
  });
  const pid_t second = Start([&] {
    ::close(firstReady[1]);
    ::close(secondDone[0]);
    ::close(secondDone[1]);
    Await(firstReady[0]);
    Instance program;
    program.MakeToolBarOf(1);
    EXPECT_EQ(program.UserToolBars().size(), 1u) << "the first one's toolbar is not saved yet";
    // Docked at the top, where it is to come back.
    SECCustomToolBar* bar = program.Manager()->FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR);
    ASSERT_NE(bar, nullptr);
    program.frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_TOP, 0, 1, 1.0f, 0);
    program.frame->RecalcLayout();
    RunUntilIdle();
    EXPECT_FALSE(bar->IsFloating());
  });
  for (int fd : {firstReady[0], firstReady[1], secondDone[0]}) ::close(fd);
  const bool secondEnded = Ended(second);
  Signal(secondDone[1]);
  ::close(secondDone[1]);
  ASSERT_TRUE(Ended(first));
  ASSERT_TRUE(secondEnded);

  brambolt::ResetRegistryForTesting();
  {
    Instance program;
    const auto bars = program.UserToolBars();
    ASSERT_EQ(bars.size(), 2u);
    auto* group = static_cast<SECCustomToolBar*>(program.frame->GetControlBar(AFX_IDW_TOOLBAR));
    ASSERT_NE(group, nullptr);
    // The Commands page's first group is the toolbar's own buttons.
    for (int i = 0, n = 0; i < group->GetBtnCount() && n < 2; ++i)
      if (group->GetItemID(i) != 0) commands[n++] = group->GetItemID(i);
    EXPECT_EQ(bars[0].first, commands[0]) << "the first instance's, exited last, at its id";
    EXPECT_EQ(bars[1].first, commands[1]) << "the second instance's, under a free id";
    EXPECT_EQ(bars[0].second, "ToolBar1");
    EXPECT_EQ(bars[1].second, "ToolBar1");
    SECCustomToolBar* second = program.Manager()->FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR + 1);
    EXPECT_TRUE(second->IsFloating() == FALSE && second->IsWindowVisible());
    EXPECT_EQ(::GetDlgCtrlID(::GetParent(second->GetSafeHwnd())), static_cast<int>(AFX_IDW_DOCKBAR_TOP));
    EXPECT_TRUE(program.Manager()->FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR)->IsFloating());
    // The second one deleted on the Toolbars page.
    program.Customize([&](CPropertySheet* sheet) {
      ModalAnswers box;
      box.When("#32770", "Customize", [](HWND window) { Click(::GetDlgItem(window, IDYES), CPoint(5, 5)); });
      sheet->SetActivePage(1);
      RunUntilIdle();
      CWnd* page = sheet->GetActivePage();
      auto* list = static_cast<CCheckListBox*>(page->GetDlgItem(IDC_SEC_TOOLBAR_LIST));
      for (int i = 0; i < list->GetCount(); ++i)
        if (list->GetItemData(i) == SEC_IDW_FIRST_USER_TOOLBAR + 1) list->SetCurSel(i);
      page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_TOOLBAR_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list->m_hWnd));
      Click(page->GetDlgItem(IDC_SEC_TOOLBAR_RESET)->m_hWnd, CPoint(5, 5));
    });
    EXPECT_EQ(program.UserToolBars().size(), 1u);
  }
  Instance program;
  const auto bars = program.UserToolBars();
  ASSERT_EQ(bars.size(), 1u) << "deleted by the user, it stays deleted";
  EXPECT_EQ(bars[0].first, commands[0]);
}

}  // namespace

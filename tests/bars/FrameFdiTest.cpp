// Floating-document and top-level frames: the cascade of new document frames, the Window menu's
// fifteen entries and its "&Windows..." item, activation by command, the "Windows" dialog
// reaching every frame to activate, save and close them, and peer top-level frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bars/SECFDIFrameWnd.h"
#include "bars/SECToplevelFrame.h"
#include "resources/Bars.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

constexpr UINT kNoResource = 24100;

class DocFrame : public SECFDIChildWnd {
 public:
  int saves = 0;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    cs.cx = 400;
    cs.cy = 300;
    return SECFDIChildWnd::PreCreateWindow(cs);
  }

 protected:
  afx_msg void OnSave() { ++saves; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DocFrame, SECFDIChildWnd)
  ON_COMMAND(ID_FILE_SAVE, OnSave)
END_MESSAGE_MAP()

class Fdi : public ::testing::Test {
 protected:
  void SetUp() override {
    SECFDIChildWnd::ResetCascade();
    main = new SECFDIFrameWnd;
    ASSERT_TRUE(main->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200)));
    app.m_pMainWnd = main;
  }
  void TearDown() override {
    while (main->GetFrameCount() > 0) main->GetFrame(0)->DestroyWindow();
    if (::IsWindow(main->GetSafeHwnd())) main->DestroyWindow();
    app.m_pMainWnd = nullptr;
  }
  DocFrame* Open(int n) {
    DocFrame* last = nullptr;
    for (int i = 0; i < n; ++i) {
      last = new DocFrame;
      EXPECT_TRUE(last->LoadFrame(kNoResource, WS_OVERLAPPEDWINDOW | WS_VISIBLE, main));
      last->SetWindowText(("Doc " + std::to_string(main->GetFrameCount())).c_str());
    }
    RunUntilIdle();
    return last;
  }
  std::string MenuText(HMENU menu, int pos) {
    char text[64] = {};
    ::GetMenuString(menu, static_cast<UINT>(pos), text, sizeof(text), MF_BYPOSITION);
    return text;
  }

  UiSession session;
  CWinApp app{"Fdi"};
  SECFDIFrameWnd* main = nullptr;
};

TEST_F(Fdi, NewFramesCascadeAndStartAgainAtTheScreenEdge) {
  Open(4);
  const POINT expected[] = {{10, 110}, {50, 150}, {90, 190}, {130, 230}};
  for (int i = 0; i < 4; ++i) {
    CRect rc;
    main->GetFrame(i)->GetWindowRect(&rc);
    EXPECT_EQ(rc.left, expected[i].x) << i;
    EXPECT_EQ(rc.top, expected[i].y) << i;
  }
  // Frames 400 x 300 run past the screen's height after a few steps, then its width.
  const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
  int y = 230;
  bool wrapped = false;
  for (int i = 4; i < 40 && !wrapped; ++i) {
    Open(1);
    CRect rc;
    main->GetFrame(i)->GetWindowRect(&rc);
    wrapped = rc.top == cyScreen / 10;
    EXPECT_TRUE(wrapped || rc.top == y + 40) << i;
    EXPECT_LE(rc.top + 300 - 40, cyScreen) << i;  // placed inside the screen
    y = rc.top;
  }
  EXPECT_TRUE(wrapped);
}

TEST_F(Fdi, WindowMenuListsFifteenFramesThenTheDialogItem) {
  Open(17);
  HMENU popup = ::CreatePopupMenu();
  ::AppendMenu(popup, MF_STRING, ID_WINDOW_NEW, "&New Window");
  ::AppendMenu(popup, MF_STRING, ID_SEC_FDI_WINDOW_FIRST, "placeholder");
  main->GetFrame(2)->ActivateFrame(-1);
  RunUntilIdle();
  main->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(1, FALSE));
  ASSERT_EQ(::GetMenuItemCount(popup), 1 + 16);
  EXPECT_EQ(MenuText(popup, 1), "&1 Doc 1");
  EXPECT_EQ(MenuText(popup, 15), "&15 Doc 15");
  EXPECT_EQ(::GetMenuItemID(popup, 16), ID_SEC_FDI_WINDOW_LAST);
  EXPECT_EQ(MenuText(popup, 16), "&Windows...");
  EXPECT_NE(::GetMenuState(popup, ID_SEC_FDI_WINDOW_FIRST + 2, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(::GetMenuState(popup, ID_SEC_FDI_WINDOW_FIRST + 3, MF_BYCOMMAND) & MF_CHECKED, 0u);
  // Built again, it does not grow.
  main->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(1, FALSE));
  EXPECT_EQ(::GetMenuItemCount(popup), 1 + 16);
  ::DestroyMenu(popup);

  main->SendMessage(WM_COMMAND, ID_SEC_FDI_WINDOW_FIRST + 4);
  RunUntilIdle();
  EXPECT_EQ(main->m_pActiveDocFrame, main->GetFrame(4));
  EXPECT_EQ(::GetActiveWindow(), main->GetFrame(4)->GetSafeHwnd());
  EXPECT_EQ(main->GetActiveFrame(), main->GetFrame(4));
}

TEST_F(Fdi, WindowsDialogReachesEveryFrame) {
  Open(20);
  ModalAnswers answers;
  int listed = 0;
  auto pick = [&](std::vector<int> lines, UINT button) {
    return [&listed, lines, button](HWND dialog) {
      const HWND list = ::GetDlgItem(dialog, IDC_SEC_WINDOWS_LIST);
      listed = static_cast<int>(::SendMessage(list, LB_GETCOUNT, 0, 0));
      for (int line : lines) ::SendMessage(list, LB_SETSEL, TRUE, line);
      ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, button)));
    };
  };
  // Activate the 19th, beyond the menu's reach.
  answers.When(nullptr, "Windows", pick({18}, IDOK));
  main->SendMessage(WM_COMMAND, ID_SEC_FDI_WINDOW_LAST);
  RunUntilIdle();
  EXPECT_EQ(listed, 20);
  EXPECT_EQ(main->m_pActiveDocFrame, main->GetFrame(18));

  // Save two, then close three from the end of the list.
  auto* first = static_cast<DocFrame*>(main->GetFrame(16));
  auto* second = static_cast<DocFrame*>(main->GetFrame(19));
  answers.When(nullptr, "Windows", pick({16, 19}, IDC_SEC_WINDOWS_SAVE));
  main->SendMessage(WM_COMMAND, ID_SEC_FDI_WINDOW_LAST);
  RunUntilIdle();
  EXPECT_EQ(first->saves, 1);
  EXPECT_EQ(second->saves, 1);
  answers.When(nullptr, "Windows", pick({17, 18, 19}, IDC_SEC_WINDOWS_CLOSE));
  main->SendMessage(WM_COMMAND, ID_SEC_FDI_WINDOW_LAST);
  RunUntilIdle();
  EXPECT_EQ(main->GetFrameCount(), 17);
  EXPECT_TRUE(answers.Unanswered().empty());
}

TEST(ToplevelFrame, ClosingOneOfTwoLeavesTheOtherAsMainWindow) {
  UiSession session;
  CWinApp app{"Peers"};
  auto* first = new SECToplevelFrame;
  ASSERT_TRUE(first->LoadFrame(kNoResource, WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  auto* second = new SECToplevelFrame;
  ASSERT_TRUE(second->LoadFrame(kNoResource, WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  EXPECT_EQ(SECToplevelFrame::GetFrameList().GetCount(), 2);
  EXPECT_EQ(::GetWindow(second->GetSafeHwnd(), GW_OWNER), nullptr);
  EXPECT_EQ(app.m_pMainWnd, second);
  first->ActivateFrame(SW_SHOW);
  first->SetActiveWindow();
  RunUntilIdle();
  EXPECT_EQ(app.m_pMainWnd, first);
  first->SendMessage(WM_CLOSE);
  RunUntilIdle();
  EXPECT_EQ(SECToplevelFrame::GetFrameList().GetCount(), 1);
  EXPECT_EQ(app.m_pMainWnd, second);
  MSG msg;
  EXPECT_FALSE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  second->DestroyWindow();
  EXPECT_EQ(SECToplevelFrame::GetFrameList().GetCount(), 0);
  app.m_pMainWnd = nullptr;
}

}  // namespace

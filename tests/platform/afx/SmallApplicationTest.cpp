// A whole small application under the framework's own loop: a frame loaded from resources with a
// menu bar and accelerators, commands chosen by accelerator keys, by the keyboard in the menu bar
// and by clicks in a popup menu, and a clean exit through the File menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AfxTestResources.h"
#include "afx/afx.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

class AppFrame : public CFrameWnd {
 public:
  explicit AppFrame(std::vector<std::string>& log) : log_(log) {}
  ~AppFrame() override { log_.push_back("frame deleted"); }

 protected:
  afx_msg void OnFirst() { log_.push_back("first"); }
  afx_msg void OnSecond() { log_.push_back("second"); }
  afx_msg void OnThird() { log_.push_back("third"); }
  afx_msg void OnNested() { log_.push_back("nested"); }
  afx_msg void OnDisabled() { log_.push_back("disabled item ran"); }
  afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  DECLARE_MESSAGE_MAP()

 private:
  std::vector<std::string>& log_;
};

BEGIN_MESSAGE_MAP(AppFrame, CFrameWnd)
  ON_COMMAND(ID_TEST_FIRST, OnFirst)
  ON_COMMAND(ID_TEST_SECOND, OnSecond)
  ON_COMMAND(ID_TEST_THIRD, OnThird)
  ON_COMMAND(ID_TEST_NESTED, OnNested)
  ON_COMMAND(ID_TEST_DISABLED, OnDisabled)
  ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, OnUpdateDisabled)
END_MESSAGE_MAP()

class SmallApp : public CWinApp {
 public:
  explicit SmallApp(std::vector<std::string>& log) : CWinApp("Small Application"), log_(log) {}

  BOOL InitInstance() override {
    auto* frame = new AppFrame(log_);
    if (!frame->LoadFrame(IDR_MAINFRAME)) return FALSE;
    m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return TRUE;
  }
  int ExitInstance() override {
    log_.push_back("exit instance");
    return CWinApp::ExitInstance();
  }

 private:
  std::vector<std::string>& log_;
};

// The centre of a menu-bar item or of an item of the popup menu on screen, in screen coordinates.
POINT MenuItemCentre(HWND owner, HMENU menu, UINT position) {
  RECT r{};
  EXPECT_TRUE(::GetMenuItemRect(owner, menu, position, &r));
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(SmallApplication, RoutesAcceleratorAndMenuCommandsAndExitsCleanly) {
  UiSession session;
  std::vector<std::string> log;
  SmallApp app(log);
  ASSERT_TRUE(app.InitInstance());
  HWND frame = app.m_pMainWnd->m_hWnd;
  HMENU bar = ::GetMenu(frame);
  ASSERT_NE(bar, nullptr) << "the frame's menu comes from its resource";
  EXPECT_EQ(::GetMenuItemCount(bar), 3);

  UiScript script;
  script.Then([] { PressKey(VK_F2); })                      // accelerator: F2
      .Then([] { PressKey('N', kCtrl | kShift); })          // accelerator: Ctrl+Shift+N
      .Then([] { PressKey('T', kAlt); })                    // the Test menu by its mnemonic ...
      .Then([] { PressKey('D'); })                          // ... a disabled item's letter closes it ...
      .Then([] { PressKey('T', kAlt); })                    // ... open again ...
      .Then([] { PressKey('H'); })                          // ... T&hird is chosen
      .Then([=] { ClickAt(MenuItemCentre(frame, bar, 1)); })  // the Test menu by a click ...
      .Then([] { PressKey('M'); })                          // ... its submenu ...
      .Then([] { PressKey('N'); })                          // ... and the item in it
      .Then([] { PressKey('F', kAlt); })                    // File ...
      .Then([] { PressKey('X'); });                         // ... E&xit closes the application

  int code = app.Run();
  EXPECT_EQ(code, 0);
  EXPECT_EQ(script.Remaining(), 0u);
  EXPECT_EQ(log, (std::vector<std::string>{"first", "second", "third", "nested", "frame deleted", "exit instance"}));
  EXPECT_FALSE(::IsWindow(frame));
  EXPECT_EQ(app.m_pMainWnd, nullptr);
}

}  // namespace

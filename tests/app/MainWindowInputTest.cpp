// The main window between other windows and programs: its keys after a dialog closed with Alt and
// a letter.
#include <gtest/gtest.h>

#include <string>

#include "StartedApp.h"
#include "app/CNewWizDialog.h"
#include "resources/AppResource.h"
#include "resources/ShellRes.h"
#include "win/Input.h"
#include "win/ModalLoop.h"

using brambolt::test::RunUntilIdle;

namespace {

// The New Project wizard finished with Alt+F, the Alt let go only once the wizard is gone: the main
// window is not left in menu mode, and its shortcut Ctrl+N opens the wizard again.
TEST(MainWindowKeys, AShortcutWorksAfterADialogClosedWithAltAndALetter) {
  apptest::StartedApp s;
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return s.app.PreTranslateMessage(&msg) != FALSE; });
  const std::string location = s.home.Folder("Projects");
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "New Project", [&](HWND h) {
    auto* wizard = dynamic_cast<CNewWizDialog*>(CWnd::FromHandle(h));
    ASSERT_NE(wizard, nullptr);
    const HWND p0 = wizard->GetActivePage()->GetSafeHwnd();
    ::SetDlgItemText(p0, IDC_PROJECT_NAME, "Keys");
    ::SetDlgItemText(p0, IDC_PROJECT_LOCATION, location.c_str());
    for (int i = 0; i < 3; ++i) ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
    brambolt::InjectKey(VK_MENU, true);
    brambolt::InjectKey('F', true);
    brambolt::InjectKey('F', false);
    RunUntilIdle();
  });
  int reopened = 0;
  answers.When(nullptr, "New Project", [&](HWND h) {
    ++reopened;
    ::SendMessage(h, WM_COMMAND, IDCANCEL, 0);
  });
  brambolt::test::HangWatchdog watchdog("a menu or wizard left waiting", 60);
  s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_NEW_PROJECT);
  ASSERT_STREQ(s.app.m_strProjectName, "Keys");
  brambolt::InjectKey(VK_MENU, false);
  RunUntilIdle();
  brambolt::test::PressKey('N', brambolt::test::kCtrl);
  RunUntilIdle();
  EXPECT_EQ(reopened, 1) << "Ctrl+N did not reach the main window";
  EXPECT_TRUE(answers.Unanswered().empty());
}

}  // namespace

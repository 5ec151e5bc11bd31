// The main window between other windows and programs: files dropped on it from another program,
// handed over as the X11 backend hands an XDND drop over (through the program's drop targets when
// it has registered any, else straight to the window that accepts files), and its keys after a
// dialog closed with Alt and a letter.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "StartedApp.h"
#include "afx/AfxRes.h"
#include "afx/CPreviewView.h"
#include "bars/SECMenuBar.h"
#include "afx/CDocument.h"
#include "app/CMainFrame.h"
#include "app/CNewWizDialog.h"
#include "backend/DropFiles.h"
#include "resources/AppResource.h"
#include "resources/ShellRes.h"
#include "win/Input.h"
#include "win/ModalLoop.h"

using brambolt::test::RunUntilIdle;

namespace {

// A drop of local files at a screen point; true when the program reports it taken.
bool DropFromAnotherProgram(POINT at, const std::vector<std::string>& files) {
  brambolt::ForeignDropTargets* targets = brambolt::GetForeignDropTargets();
  if (targets == nullptr) return brambolt::DropFiles(at, files);
  brambolt::ForeignDrag drag;
  drag.offersFiles = true;
  drag.files = [files](std::vector<std::string>& out) {
    out = files;
    return true;
  };
  if (targets->DragOver(at, MK_LBUTTON, DROPEFFECT_COPY | DROPEFFECT_MOVE, drag) == 0) {
    targets->DragLeave();
    return false;
  }
  return targets->Drop(MK_LBUTTON) != 0;
}

CPoint Centre(HWND hwnd) {
  CRect r;
  ::GetWindowRect(hwnd, &r);
  return r.CenterPoint();
}

// Dropped on the frame's empty area, on its toolbar or on the Project Explorer, each file opens in
// a document window, and the drop is reported taken.
TEST(DroppedFiles, OpenWhereverTheyFallOnTheMainWindow) {
  apptest::StartedApp s;
  auto* frame = dynamic_cast<CMainFrame*>(s.app.m_pMainWnd);
  ASSERT_NE(frame, nullptr);
  s.app.CloseAllDocuments(FALSE);  // the new file the program starts with: the area is empty
  frame->ShowProjectExplorer(TRUE);
  frame->RecalcLayout();
  RunUntilIdle();
  CControlBar* toolbar = frame->GetControlBar(AFX_IDW_TOOLBAR);
  ASSERT_NE(toolbar, nullptr);
  struct Place {
    const char* name;
    CPoint at;
  } const places[] = {
      {"empty area", Centre(frame->m_hWndMDIClient)},
      {"toolbar", Centre(toolbar->GetSafeHwnd())},
      {"explorer", Centre(frame->m_wndProjectExplorer.GetSafeHwnd())},
  };
  const std::string folder = s.home.Folder("sources");
  int n = 0;
  for (const Place& place : places) {
    SCOPED_TRACE(place.name);
    const std::string name = "dropped" + std::to_string(n++) + ".h";
    std::ofstream(folder + "/" + name) << "class Dropped {};\n";
    EXPECT_TRUE(DropFromAnotherProgram(place.at, {folder + "/" + name}));
    RunUntilIdle();
    CMDIChildWnd* child = frame->MDIGetActive();
    ASSERT_NE(child, nullptr);
    CDocument* document = child->GetActiveDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(std::string(document->GetTitle()), name);
  }
}

// While Print Preview shows a document, a file dropped from another program is refused: no
// window opens behind the preview, which keeps its document, and none opens once it is closed.
TEST(DroppedFiles, AreRefusedWhilePrintPreviewShowsADocument) {
  apptest::StartedApp s;
  auto* frame = dynamic_cast<CMainFrame*>(s.app.m_pMainWnd);
  ASSERT_NE(frame, nullptr);
  CMDIChildWnd* previewed = frame->MDIGetActive();
  ASSERT_NE(previewed, nullptr);
  frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
  RunUntilIdle();
  auto preview = [&] {
    return dynamic_cast<CPreviewView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST)));
  };
  ASSERT_NE(preview(), nullptr);
  const std::string path = s.home.Folder("sources") + "/late.h";
  std::ofstream(path) << "class Late {};\n";
  DropFromAnotherProgram(Centre(frame->m_hWnd), {path});
  RunUntilIdle();
  EXPECT_NE(preview(), nullptr);
  EXPECT_EQ(frame->MDIGetActive(), previewed);
  frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
  RunUntilIdle();
  EXPECT_EQ(preview(), nullptr);
  for (HWND child = ::GetWindow(frame->m_hWndMDIClient, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT))
    EXPECT_EQ(child, previewed->m_hWnd) << "the dropped file opened";
}

// Alt with Shift or Ctrl, in either order (Alt+Shift switches the keyboard layout), is no lone
// Alt: the menus stay shut. A lone Alt still enters the menus.
TEST(MainWindowKeys, AltWithShiftOrCtrlIsNoLoneAlt) {
  apptest::StartedApp s;
  brambolt::ScopedLoopFilter loop([&](MSG& msg) { return s.app.PreTranslateMessage(&msg) != FALSE; });
  auto* frame = dynamic_cast<CMainFrame*>(s.app.m_pMainWnd);
  ASSERT_NE(frame, nullptr);
  auto* menus = dynamic_cast<SECMenuBar*>(frame->GetControlBar(SEC_IDW_MENUBAR));
  ASSERT_NE(menus, nullptr);
  struct Stroke {
    UINT vk;
    bool down;
  };
  const std::vector<std::vector<Stroke>> chords = {
      {{VK_MENU, true}, {VK_SHIFT, true}, {VK_SHIFT, false}, {VK_MENU, false}},
      {{VK_MENU, true}, {VK_SHIFT, true}, {VK_MENU, false}, {VK_SHIFT, false}},
      {{VK_SHIFT, true}, {VK_MENU, true}, {VK_MENU, false}, {VK_SHIFT, false}},
      {{VK_MENU, true}, {VK_CONTROL, true}, {VK_CONTROL, false}, {VK_MENU, false}},
      {{VK_CONTROL, true}, {VK_MENU, true}, {VK_MENU, false}, {VK_CONTROL, false}},
  };
  int n = 0;
  for (const auto& chord : chords) {
    SCOPED_TRACE(n++);
    for (const Stroke& stroke : chord) brambolt::InjectKey(stroke.vk, stroke.down);
    RunUntilIdle();
    EXPECT_FALSE(menus->InMenuMode());
    if (menus->InMenuMode()) menus->ExitMenuMode();
  }
  brambolt::InjectKey(VK_MENU, true);
  brambolt::InjectKey(VK_MENU, false);
  RunUntilIdle();
  EXPECT_TRUE(menus->InMenuMode());
  brambolt::test::PressKey(VK_ESCAPE);
}

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

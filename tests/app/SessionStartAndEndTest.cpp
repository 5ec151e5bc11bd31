// The start and the end of a session as the user meets them: a message of the start, shown while
// the splash is up, waits for the user; a project given on the command line names the main window
// at once; closing the program after an edit to a file that cannot be written offers another name
// or leaving the change, and then ends; a long session that opens and closes windows keeps no
// memory for each.
#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/stat.h>

#include <cerrno>

#include <filesystem>
#include <string>
#include <vector>

#include "StartedApp.h"
#include "afx/afx.h"
#include "controls/controls.h"
#include "editor/doc/CEditCodeDoc.h"
#include "model/CWorkSpaceObj.h"
#include "os/FileFaults.h"
#include "win/ModalLoop.h"
#include "resources/resource.h"

namespace {

namespace fs = std::filesystem;
using apptest::ReadText;
using apptest::WriteText;

// Every text of a window and of its children, one after the other.
std::string TextsOf(HWND hWnd) {
  char text[2048] = {};
  ::GetWindowText(hWnd, text, sizeof text);
  std::string all = text;
  for (HWND child = ::GetWindow(hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    all += "|" + TextsOf(child);
  return all;
}

TEST(SessionStart, AMessageShownWhileTheSplashIsUpWaitsForTheUser) {
  struct Case {
    const char* name;
    const char* file;
    const char* content;
    const char* told;
    const char* title;  // of the window that opens, or null
  } cases[] = {
      {"a damaged project", "damaged.dcp", "not a project\n", "not a valid project file", nullptr},
      {"a UTF-8 file the code page cannot show", "wide.cpp", "// \xE4\xB8\xAD\xE6\x96\x87\n", "opened read-only",
       "wide.cpp [Read Only]"},
  };
  for (const Case& c : cases) {
    apptest::AppHome home;
    brambolt::test::UiSession session;
    apptest::TestApp app;
    const std::string file = home.Folder("given") + "/" + c.file;
    WriteText(file, c.content);
    char program[] = "visual-brambolt";
    std::string given = file;
    char* argv[] = {program, given.data()};
    brambolt::afx::SetCommandLine(2, argv);
    std::string told;
    bool readable = false;
    brambolt::test::ModalAnswers answers;
    answers.When("#32770", nullptr, [&](HWND box) {
      char caption[256] = {};
      ::GetWindowText(box, caption, sizeof caption);
      if (std::string(caption) == "Tips Of Day") return;  // the home answers it
      // The user reads for a while: the splash's time runs out meanwhile.
      brambolt::test::AdvanceClock(5000);
      brambolt::test::RunUntilIdle();
      readable = ::IsWindow(box) && ::IsWindowVisible(box);
      if (!::IsWindow(box)) return;
      told = TextsOf(box);
      ::PostMessage(box, WM_COMMAND, IDOK, 0);
    }, true);
    const BOOL bStarted = app.InitInstance();
    char* none[] = {program};
    brambolt::afx::SetCommandLine(1, none);
    EXPECT_TRUE(bStarted) << c.name;
    brambolt::test::AdvanceClock(1000);
    brambolt::test::RunUntilIdle();
    EXPECT_TRUE(readable) << c.name;
    EXPECT_NE(told.find(c.told), std::string::npos) << c.name << ": " << told;
    EXPECT_EQ(::FindWindow(nullptr, "SECSplashWnd"), nullptr) << c.name << ": the splash has gone after it";
    if (c.title != nullptr) {
      auto* main = dynamic_cast<CMDIFrameWnd*>(app.m_pMainWnd);
      ASSERT_NE(main, nullptr);
      CMDIChildWnd* child = main->MDIGetActive();
      ASSERT_NE(child, nullptr) << c.name;
      CString title;
      child->GetWindowText(title);
      EXPECT_EQ(std::string(title), c.title) << c.name;
    }
    app.End();
  }
}

// A project given on the command line (how the desktop opens one) names the main window as it
// opens: the tip of the day, up before the program's loop has run once, shows the window named.
TEST(SessionStart, AProjectGivenOnTheCommandLineNamesTheMainWindowWhileTheTipIsUp) {
  apptest::AppHome home;
  brambolt::test::UiSession session;
  apptest::AnsweredBoxes boxes;
  apptest::TestApp app;
  const std::string folder = home.Folder("Desktop");
  CWorkSpaceObj project;
  ASSERT_TRUE(project.SaveToFile((folder + "/Desktop.dcp").c_str()));
  char program[] = "visual-brambolt";
  std::string given = folder + "/Desktop.dcp";
  char* argv[] = {program, given.data()};
  brambolt::afx::SetCommandLine(2, argv);
  auto title = [&app] {
    CString text;
    if (app.m_pMainWnd != nullptr) app.m_pMainWnd->GetWindowText(text);
    return std::string(text);
  };
  std::string whileTheTipIsUp;
  home.onTip = [&] { whileTheTipIsUp = title(); };
  const BOOL bStarted = app.InitInstance();
  char* none[] = {program};
  brambolt::afx::SetCommandLine(1, none);
  ASSERT_TRUE(bStarted);
  brambolt::test::AdvanceClock(3500);
  brambolt::test::RunUntilIdle();
  EXPECT_EQ(home.TipsShown().size(), 1u);
  EXPECT_EQ(whileTheTipIsUp, "Desktop - Visual Brambolt");
  EXPECT_EQ(title(), "Desktop - Visual Brambolt");
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{});
  app.End();
}

TEST(SessionEnd, CloseAfterAnEditToAFileThatCannotBeWrittenOffersAnotherNameOrLeavingTheChange) {
  enum Refusal { kReadOnly, kFolderGone, kDiskFull, kReadOnlyMount };
  struct Case {
    const char* name;
    Refusal refusal;  // why the file cannot be written
    int answer;       // to the question about the unsaved change
    bool ends;        // the program ends (the window, closed with Ctrl+F4)
    bool byCtrlF4 = false;  // the document's window is closed, not the program
  } cases[] = {
      {"read-only, saved under another name", kReadOnly, IDYES, true},
      {"read-only, change left", kReadOnly, IDNO, true},
      {"read-only, close cancelled", kReadOnly, IDCANCEL, false},
      {"folder gone, saved under another name", kFolderGone, IDYES, true},
      {"disk full, saved under another name", kDiskFull, IDYES, true},
      {"disk full, change left", kDiskFull, IDNO, true},
      {"read-only mount, saved under another name", kReadOnlyMount, IDYES, true},
      {"read-only mount, close cancelled", kReadOnlyMount, IDCANCEL, false},
      {"disk full, window closed with Ctrl+F4 and saved under another name", kDiskFull, IDYES, true, true},
  };
  for (const Case& c : cases) {
    apptest::StartedApp s;
    const std::string folder = s.home.Folder("theirs");
    const std::string file = folder + "/shared.cpp";
    const std::string elsewhere = s.home.Folder("mine") + "/shared.cpp";
    WriteText(file, "int shared;\r\n");
    CDocument* doc = s.app.OpenDocumentFile(file.c_str());
    ASSERT_NE(doc, nullptr) << c.name;
    brambolt::test::RunUntilIdle();
    brambolt::test::TypeText("// mine\r");
    ASSERT_TRUE(doc->IsModified()) << c.name;
    // The disk refuses the file's folder as a full disk or a read-only mount does, whatever the
    // file's mode and whoever runs the test.
    const int errorOfDisk = c.refusal == kDiskFull ? ENOSPC : c.refusal == kReadOnlyMount ? EROFS : 0;
    brambolt::ScopedFileFaultHook disk([&](brambolt::FileStep step, const std::string& path) {
      const bool refused = step == brambolt::FileStep::Write ||
                           (errorOfDisk == EROFS && step == brambolt::FileStep::Create);
      return errorOfDisk != 0 && refused && path.rfind(folder + "/", 0) == 0 ? errorOfDisk : 0;
    });
    if (c.refusal == kFolderGone) fs::remove_all(folder);
    if (c.refusal == kReadOnly) ::chmod(file.c_str(), 0444);

    const HWND hMain = s.app.m_pMainWnd->GetSafeHwnd();
    s.boxes.boxes.clear();
    // At the program's close the save is tried first; Ctrl+F4 asks first.
    if (c.byCtrlF4) {
      s.boxes.Answer(c.answer);
      s.boxes.Answer(IDOK);  // why the file could not be saved
    } else {
      s.boxes.Answer(IDOK);
      s.boxes.Answer(c.answer);
    }
    POSITION viewPos = doc->GetFirstViewPosition();
    const HWND hDocFrame = doc->GetNextView(viewPos)->GetParentFrame()->GetSafeHwnd();
    bool askedForName = false;
    brambolt::test::ModalAnswers answers;
    answers.When(nullptr, "Save As", [&](HWND dialog) {
      askedForName = true;
      brambolt::test::RunUntilIdle();
      ::SendDlgItemMessage(dialog, edt1, EM_SETSEL, 0, -1);
      brambolt::test::TypeText(elsewhere);
      brambolt::test::PressKey(VK_RETURN);
      brambolt::test::RunUntilIdle();
    });
    // Keys pass the application's pre-translation, as in its message loop.
    brambolt::ScopedLoopFilter loop([&](MSG& msg) { return s.app.PreTranslateMessage(&msg); });
    if (c.byCtrlF4)
      brambolt::test::PressKey(VK_F4, brambolt::test::kCtrl);
    else
      ::SendMessage(hMain, WM_CLOSE, 0, 0);
    brambolt::test::RunUntilIdle();
    // What the window of a file gone says of it, whenever its watch tells it, is not counted.
    std::vector<std::string> told;
    for (const std::string& text : s.boxes.Texts())
      if (text.find("deleted or moved by another program") == std::string::npos) told.push_back(text);
    ASSERT_EQ(told.size(), 2u) << c.name << ::testing::PrintToString(told);
    EXPECT_NE(told[c.byCtrlF4 ? 1 : 0].find(file), std::string::npos) << c.name << told[0];
    EXPECT_NE(told[c.byCtrlF4 ? 0 : 1].find("Save the changes to"), std::string::npos) << c.name << told[1];
    EXPECT_EQ(::IsWindow(c.byCtrlF4 ? hDocFrame : hMain) == FALSE, c.ends) << c.name;
    EXPECT_TRUE(answers.Unanswered().empty()) << c.name;
    EXPECT_EQ(askedForName, c.answer == IDYES) << c.name;
    EXPECT_EQ(fs::exists(elsewhere), c.answer == IDYES) << c.name;
    if (c.answer == IDYES) {
      EXPECT_EQ(ReadText(elsewhere), "// mine\r\nint shared;\r\n") << c.name;
    }
    if (c.refusal != kFolderGone) {
      EXPECT_EQ(ReadText(file), "int shared;\r\n") << c.name;
    }
    if (!c.ends) {
      // Still open, the change still to be saved.
      EXPECT_TRUE(doc->IsModified()) << c.name;
      s.app.CloseAllDocuments(TRUE);
      brambolt::test::RunUntilIdle();
    }
  }
}

// The question about unsaved changes names a new file by its name, not by the title its window
// shows with the modified mark.
TEST(SessionEnd, TheQuestionAboutChangesNamesTheDocumentWithoutItsMark) {
  apptest::StartedApp s;
  s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_NEW);
  brambolt::test::RunUntilIdle();
  brambolt::test::TypeText("int typed;\r");
  auto* main = dynamic_cast<CMDIFrameWnd*>(s.app.m_pMainWnd);
  ASSERT_NE(main, nullptr);
  CMDIChildWnd* child = main->MDIGetActive();
  ASSERT_NE(child, nullptr);
  CString shown;
  child->GetWindowText(shown);
  ASSERT_NE(std::string(shown).find('*'), std::string::npos) << shown;
  s.boxes.boxes.clear();
  s.boxes.Answer(IDCANCEL);
  child->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  brambolt::test::RunUntilIdle();
  const std::vector<std::string> told = s.boxes.Texts();
  ASSERT_EQ(told.size(), 1u) << ::testing::PrintToString(told);
  std::string name = std::string(shown);
  name = name.substr(name.rfind(' ', name.find('*')) + 1);  // the window's caption: "Title - Name*"
  name = name.substr(0, name.find('*'));
  EXPECT_EQ(told[0], "Save the changes to " + name + "?");
  EXPECT_TRUE(::IsWindow(child->GetSafeHwnd()));
  s.app.CloseAllDocuments(TRUE);
  brambolt::test::RunUntilIdle();
}

// Hundreds of document windows (source files of each kind, pictures) opened, typed into and
// closed in one session, the program idle between them as the message loop leaves it: once the
// first ones have made what the program keeps for good (fonts, the language files, images of the
// resources), the heap in use does not grow with their number.
TEST(SessionLength, OpeningAndClosingWindowsKeepsNoMemoryForEach) {
  apptest::StartedApp s;
  const std::string folder = s.home.Folder("many");
  const std::string files[] = {folder + "/one.cpp", folder + "/two.h", folder + "/three.txt", folder + "/four.bmp"};
  for (int i = 0; i < 3; ++i) WriteText(files[i], "int shared;\r\n// some text\r\n");
  apptest::WriteRedBitmap(files[3]);
  int opened = 0;
  auto cycle = [&](int windows) {
    for (int i = 0; i < windows; ++i) {
      const std::string& file = files[opened++ % 4];
      if (file.ends_with(".bmp")) {
        ASSERT_TRUE(s.app.OpenClassHirPicture(file.c_str()));
      } else {
        CDocument* doc = s.app.OpenDocumentFile(file.c_str());
        ASSERT_NE(doc, nullptr);
        brambolt::test::RunUntilIdle();
        brambolt::test::TypeText("x");
        doc->SetModifiedFlag(FALSE);
      }
      brambolt::test::RunUntilIdle();
      s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
      brambolt::test::RunUntilIdle();
      // The idle time the message loop gives between the user's actions.
      for (LONG count = 0; s.app.OnIdle(count); ++count) {
      }
    }
  };
  cycle(40);  // warm
  ::malloc_trim(0);
  const size_t warm = ::mallinfo2().uordblks;
  constexpr int kWindows = 240;
  cycle(kWindows);
  ::malloc_trim(0);
  const size_t after = ::mallinfo2().uordblks;
  const long long grown = static_cast<long long>(after) - static_cast<long long>(warm);
  // A kilobyte a window would be a quarter of a megabyte here; a day's work opens thousands.
  EXPECT_LT(grown, 256 * 1024) << grown / kWindows << " bytes kept for each window";
  EXPECT_TRUE(s.boxes.boxes.empty()) << ::testing::PrintToString(s.boxes.Texts());
}

}  // namespace

// Save As onto a file that another window holds with unsaved changes: the user agrees to close
// that window, and the save fails (a full disk, a read-only mount, a folder gone meanwhile). The
// other window stays, with its text, and the file stays as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

#include "StartedApp.h"
#include "afx/afx.h"
#include "controls/controls.h"
#include "editor/doc/CEditCodeDoc.h"
#include "editor/model/SECEdit.h"
#include "os/FileFaults.h"
#include "resources/resource.h"

namespace {

namespace fs = std::filesystem;
using apptest::ReadText;
using apptest::WriteText;

// The text a source-file window holds.
std::string WindowText(CDocument* doc) {
  auto* source = dynamic_cast<CEditCodeDoc*>(doc);
  if (source == nullptr) return "";
  SECEdit* edit = source->GetEdit();
  CString text;
  const SECEditLineCol end = edit->GetEndPosition();
  edit->GetText(&text, 0, 0, end.m_nLine, end.m_nCol);
  return std::string(text, static_cast<size_t>(text.GetLength()));
}

HWND FrameOf(CDocument* doc) {
  POSITION pos = doc->GetFirstViewPosition();
  return doc->GetNextView(pos)->GetParentFrame()->GetSafeHwnd();
}

TEST(SaveAsOverAnOpenWindow, AFailedSaveKeepsTheOtherWindowAndItsText) {
  apptest::StartedApp s;
  brambolt::test::AdvanceClock(3500);  // the splash window, which a key would close, has gone
  struct Case {
    const char* failure;
    std::function<brambolt::FileFaultHook(const std::string& folder)> disk;  // the disk's refusals
    bool folderGoes;  // the folder is removed while the user answers the question
  } cases[] = {
      {"a full disk",
       [](const std::string& folder) {
         return [folder](brambolt::FileStep step, const std::string& path) {
           return step == brambolt::FileStep::Write && path.rfind(folder + "/", 0) == 0 ? ENOSPC : 0;
         };
       },
       false},
      {"a read-only mount",
       [](const std::string& folder) {
         return [folder](brambolt::FileStep step, const std::string& path) {
           return (step == brambolt::FileStep::Create || step == brambolt::FileStep::Write) &&
                          path.rfind(folder + "/", 0) == 0
                      ? EROFS
                      : 0;
         };
       },
       false},
      {"a folder gone", [](const std::string&) { return brambolt::FileFaultHook(); }, true},
  };
  int round = 0;
  for (const Case& c : cases) {
    const std::string folder = s.home.Folder("work" + std::to_string(++round));
    const std::string theirs = folder + "/a.cpp";
    WriteText(theirs, "int a;\r\n");
    WriteText(folder + "/b.cpp", "int b;\r\n");
    // Window A holds the user's typing; window B is then saved as A's file.
    CDocument* a = s.app.OpenDocumentFile(theirs.c_str());
    ASSERT_NE(a, nullptr) << c.failure;
    brambolt::test::RunUntilIdle();
    brambolt::test::TypeText("// typed in A\r");
    CDocument* b = s.app.OpenDocumentFile((folder + "/b.cpp").c_str());
    ASSERT_NE(b, nullptr) << c.failure;
    brambolt::test::RunUntilIdle();
    brambolt::test::TypeText("// typed in B\r");
    const HWND frameA = FrameOf(a);
    ASSERT_TRUE(a->IsModified()) << c.failure;
    ASSERT_TRUE(::IsWindow(frameA));
    const std::string typedInA = WindowText(a);
    ASSERT_NE(typedInA.find("// typed in A"), std::string::npos) << typedInA;

    s.boxes.boxes.clear();
    s.boxes.Answer(IDYES);  // close that window and lose its changes
    s.boxes.whileUp = [&] {
      if (c.folderGoes && s.boxes.boxes.size() == 1) fs::remove_all(folder);
    };
    brambolt::ScopedFileFaultHook disk(c.disk(folder));
    brambolt::test::ModalAnswers answers;
    answers.When(nullptr, "Save As", [&](HWND dialog) {
      answers.When(nullptr, "Save As", [](HWND box) { ::PostMessage(box, WM_COMMAND, IDYES, 0); });  // replace it
      brambolt::test::RunUntilIdle();
      ::SendDlgItemMessage(dialog, edt1, EM_SETSEL, 0, -1);
      brambolt::test::TypeText(theirs);
      brambolt::test::PressKey(VK_RETURN);
      brambolt::test::RunUntilIdle();
    });
    s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    brambolt::test::RunUntilIdle();
    s.boxes.whileUp = nullptr;
    EXPECT_TRUE(answers.Unanswered().empty()) << c.failure;
    // Asked, then told why the save failed.
    ASSERT_EQ(s.boxes.boxes.size(), 2u) << c.failure;
    EXPECT_NE(s.boxes.boxes[0].text.find("Close that window and lose its changes"), std::string::npos);
    EXPECT_NE(s.boxes.boxes[1].text.find(theirs), std::string::npos) << s.boxes.boxes[1].text;
    // Window A is still there, with the user's typing, still to be saved.
    ASSERT_TRUE(::IsWindow(frameA)) << c.failure;
    EXPECT_TRUE(a->IsModified()) << c.failure;
    EXPECT_EQ(WindowText(a), typedInA) << c.failure;
    if (!c.folderGoes) {
      EXPECT_EQ(ReadText(theirs), "int a;\r\n") << c.failure;
    }
    s.app.CloseAllDocuments(TRUE);
    brambolt::test::RunUntilIdle();
  }
  // With room on the disk the same save closes window A and writes B's text in the file.
  const std::string folder = s.home.Folder("room");
  const std::string theirs = folder + "/a.cpp";
  WriteText(theirs, "int a;\r\n");
  WriteText(folder + "/b.cpp", "int b;\r\n");
  CDocument* a = s.app.OpenDocumentFile(theirs.c_str());
  brambolt::test::RunUntilIdle();
  brambolt::test::TypeText("// typed in A\r");
  const HWND frameA = FrameOf(a);
  CDocument* b = s.app.OpenDocumentFile((folder + "/b.cpp").c_str());
  brambolt::test::RunUntilIdle();
  s.boxes.boxes.clear();
  s.boxes.Answer(IDYES);
  EXPECT_TRUE(b->DoSave(theirs.c_str()));
  brambolt::test::RunUntilIdle();
  EXPECT_EQ(s.boxes.boxes.size(), 1u);
  EXPECT_FALSE(::IsWindow(frameA));
  EXPECT_EQ(ReadText(theirs), "int b;\r\n");
}

}  // namespace

// Files that another program changed while their windows hold the user's typing: the questions
// about them are answered with Enter, as a hurried user does, and Save All goes over every file.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "StartedApp.h"
#include "afx/afx.h"
#include "editor/doc/CEditCodeDoc.h"
#include "editor/model/SECEdit.h"
#include "resources/ShellRes.h"

namespace {

using apptest::ReadText;
using apptest::WriteText;

std::string WindowText(CEditCodeDoc* doc) {
  SECEdit* edit = doc->GetEdit();
  CString text;
  const SECEditLineCol end = edit->GetEndPosition();
  edit->GetText(&text, 0, 0, end.m_nLine, end.m_nCol);
  return std::string(text, static_cast<size_t>(text.GetLength()));
}

// The longest text a box's children show: its question.
std::string BoxText(HWND box) {
  std::string longest;
  for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    char text[2048] = {};
    ::GetWindowText(child, text, sizeof text);
    if (std::string(text).size() > longest.size()) longest = text;
  }
  return longest;
}

// Enter in each question: the default button answers. Both questions about a file changed
// outside the editor default to the answer that loses nothing (No), and Save All, after a No,
// still saves the other files.
TEST(ChangedOutsideTheEditor, EnterLosesNothingAndSaveAllSavesTheOtherFiles) {
  apptest::StartedApp s;
  brambolt::test::AdvanceClock(3500);
  brambolt::afx::SetMessageBoxPresenter(nullptr);  // the program's real boxes, answered by keys
  const std::string folder = s.home.Folder("sources");
  std::vector<CEditCodeDoc*> docs;
  for (const char* name : {"a.cpp", "b.cpp", "c.cpp"}) {
    WriteText(folder + "/" + name, "int x;\r\n");
    docs.push_back(dynamic_cast<CEditCodeDoc*>(s.app.OpenDocumentFile((folder + "/" + name).c_str())));
    ASSERT_NE(docs.back(), nullptr) << name;
    brambolt::test::RunUntilIdle();
    brambolt::test::TypeText(std::string("// typed in ") + name + "\r");
  }
  // Another program writes a.cpp and b.cpp; the watcher tells their windows.
  for (int i : {0, 1}) {
    WriteText(folder + (i == 0 ? "/a.cpp" : "/b.cpp"), "int theirs = 1;\r\n");
    for (int wait = 0; wait < 1000 && !docs[i]->IsChangedOnDisk(); ++wait) {
      brambolt::test::RunUntilIdle();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(docs[i]->IsChangedOnDisk());
  }
  const std::vector<std::string> typed = {WindowText(docs[0]), WindowText(docs[1]), WindowText(docs[2])};

  std::vector<std::string> asked;
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, nullptr, [&](HWND box) {
    asked.push_back(BoxText(box));
    brambolt::test::RunUntilIdle();
    brambolt::test::PressKey(VK_RETURN);
  }, true);
  s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_SAVE_ALL);
  brambolt::test::RunUntilIdle();

  // For each of the two files: reload and lose the typing? Then: save over the other program's
  // text and lose it? Enter says No to both.
  ASSERT_EQ(asked.size(), 4u) << ::testing::PrintToString(asked);
  for (int i : {0, 1}) {
    const std::string name = folder + (i == 0 ? "/a.cpp" : "/b.cpp");
    EXPECT_EQ(asked[2 * i], name + "\n\nThis file has been changed outside the editor. Reload it and lose your changes?");
    EXPECT_EQ(asked[2 * i + 1].rfind(name + "\n\nThis file has been changed outside the editor since", 0), 0u)
        << asked[2 * i + 1];
    EXPECT_EQ(ReadText(name), "int theirs = 1;\r\n") << name;
    EXPECT_EQ(WindowText(docs[i]), typed[i]) << name;
    EXPECT_TRUE(docs[i]->IsModified()) << name;
  }
  // The third file, after the two Noes, is saved.
  EXPECT_EQ(ReadText(folder + "/c.cpp"), typed[2]);
  EXPECT_FALSE(docs[2]->IsModified());
}

}  // namespace

// CEditView: an edit control as a view, find and replace through the modeless Find and Replace
// dialogs pressed like a person would, and the text read and written raw and counted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/afx.h"
#include "afx/CEditView.h"
#include "afx/CFindReplaceDialog.h"
#include "core/CMemFile.h"
#include "testing/testing.h"
#include "ViewTestSupport.h"

using namespace brambolt::test;

// Counts the searches that found nothing.
class CountingEditView : public CEditView {
  DECLARE_DYNCREATE(CountingEditView)

 public:
  void OnTextNotFound(LPCTSTR lpszFind) override {
    notFound.push_back(lpszFind);
    CEditView::OnTextNotFound(lpszFind);
  }
  std::vector<std::string> notFound;
};
IMPLEMENT_DYNCREATE(CountingEditView, CEditView)

namespace {

class EditView : public ::testing::Test {
 protected:
  void SetUp() override {
    view = MakeFrameWithView<CountingEditView>(frame, RUNTIME_CLASS(CountingEditView), CRect(0, 0, 500, 300));
    ASSERT_NE(view, nullptr);
    frameWnd = frame->m_hWnd;
    RunUntilIdle();
  }
  void TearDown() override {
    // A test may have closed the frame, which deleted the object: ask by the handle.
    if (::IsWindow(frameWnd)) frame->DestroyWindow();
  }
  std::string Text() {
    CString text;
    view->GetWindowText(text);
    return static_cast<LPCTSTR>(text);
  }
  std::pair<int, int> Selection() {
    int start = 0, end = 0;
    view->GetEditCtrl().GetSel(start, end);
    return {start, end};
  }
  // The open Find or Replace dialog (the active window after the command).
  HWND Dialog(const char* caption) {
    HWND dialog = ::GetActiveWindow();
    char text[64] = {};
    ::GetWindowText(dialog, text, sizeof(text));
    EXPECT_STREQ(text, caption);
    return dialog;
  }
  void Press(HWND dialog, int id) {
    HWND button = ::GetDlgItem(dialog, id);
    ASSERT_NE(button, nullptr);
    RECT r;
    ::GetClientRect(button, &r);
    Click(button, CPoint(r.right / 2, r.bottom / 2));
  }

  UiSession session;
  CFrameWnd* frame = nullptr;
  HWND frameWnd = nullptr;
  CountingEditView* view = nullptr;
};

TEST_F(EditView, FindNextThroughTheDialogSelectsEachMatchAndStopsAtTheEnds) {
  view->SetWindowText("alpha Beta ALPHA beta alpha");
  view->GetEditCtrl().SetSel(0, 0);
  view->SendMessage(WM_COMMAND, ID_EDIT_FIND);
  HWND find = Dialog("Find");
  ASSERT_NE(find, nullptr);
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(find, 0x0410))) << "the edit view does not search whole words";
  ::SetDlgItemText(find, 0x0480, "alpha");
  ::CheckDlgButton(find, 0x0411, BST_CHECKED);  // match case
  Press(find, IDOK);
  EXPECT_EQ(Selection(), std::make_pair(0, 5));
  Press(find, IDOK);
  EXPECT_EQ(Selection(), std::make_pair(22, 27)) << "ALPHA does not match the case";
  EXPECT_TRUE(view->notFound.empty());
  Press(find, IDOK);
  EXPECT_EQ(Selection(), std::make_pair(22, 27)) << "no round from the top";
  EXPECT_EQ(view->notFound, std::vector<std::string>{"alpha"});
  ::CheckDlgButton(find, 0x0411, BST_UNCHECKED);
  view->GetEditCtrl().SetSel(6, 6);
  Press(find, IDOK);
  EXPECT_EQ(Selection(), std::make_pair(11, 16));
  // Up, from there.
  ::CheckRadioButton(find, 0x0420, 0x0421, 0x0420);
  Press(find, IDOK);
  EXPECT_EQ(Selection(), std::make_pair(0, 5));
  // Repeat finds again without the dialog; closing the dialog ends it.
  Press(find, IDCANCEL);
  EXPECT_FALSE(::IsWindow(find));
  view->SendMessage(WM_COMMAND, ID_EDIT_REPEAT);
  EXPECT_EQ(Selection(), std::make_pair(0, 5)) << "up from the first match: no round from the bottom";
  EXPECT_EQ(view->notFound.size(), 2U);
}

TEST_F(EditView, ReplaceAndReplaceAllThroughTheDialog) {
  view->SetWindowText("one two one two one");
  view->GetEditCtrl().SetSel(0, 3);  // the selection is what to find
  view->SendMessage(WM_COMMAND, ID_EDIT_REPLACE);
  HWND replace = Dialog("Replace");
  char what[32] = {};
  ::GetDlgItemText(replace, 0x0480, what, sizeof(what));
  EXPECT_STREQ(what, "one");
  ::SetDlgItemText(replace, 0x0481, "1");
  Press(replace, 0x0400);  // Replace: the selection is a match, so it goes and the next is found
  EXPECT_EQ(Text(), "1 two one two one");
  EXPECT_EQ(Selection(), std::make_pair(6, 9));
  Press(replace, 0x0401);  // Replace All
  EXPECT_EQ(Text(), "1 two 1 two 1");
  view->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
  EXPECT_EQ(Text(), "1 two one two one") << "Replace All is one step to undo";
  // Nothing to find greys the buttons.
  ::SetDlgItemText(replace, 0x0480, "");
  RunUntilIdle();
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(replace, IDOK)));
  // The Find command replaces the Replace dialog by the Find dialog.
  view->SendMessage(WM_COMMAND, ID_EDIT_FIND);
  EXPECT_FALSE(::IsWindow(replace));
  HWND find = Dialog("Find");
  frame->DestroyWindow();
  EXPECT_FALSE(::IsWindow(find)) << "the dialog goes with its view";
}

TEST_F(EditView, RawAndCountedTextRoundTrip) {
  CMemFile file;
  view->SetWindowText("line one\r\nline two");
  {
    CArchive ar(&file, CArchive::store);
    view->SerializeRaw(ar);
  }
  EXPECT_EQ(file.GetLength(), 18u);
  view->SetWindowText("");
  file.SeekToBegin();
  {
    CArchive ar(&file, CArchive::load);
    view->SerializeRaw(ar);
  }
  EXPECT_EQ(Text(), "line one\r\nline two");

  CMemFile counted;
  {
    CArchive ar(&counted, CArchive::store);
    view->Serialize(ar);
    ar << static_cast<DWORD>(77);
  }
  view->SetWindowText("");
  counted.SeekToBegin();
  {
    CArchive ar(&counted, CArchive::load);
    view->Serialize(ar);
    DWORD after = 0;
    ar >> after;
    EXPECT_EQ(after, 77u) << "the count keeps what follows in the archive readable";
  }
  EXPECT_EQ(Text(), "line one\r\nline two");
}

}  // namespace

// The editor controller's find and replace through the shared state: Find Next with wrapping and
// its messages, the F3 family, Replace finding first, Replace All as one undo step in the whole
// file or the selection, regular-expression replacements, Mark All and the line-length check.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ControllerHost.h"
#include "editor/ctl/SECEditSearchProgress.h"

using editortest::ControllerHost;

namespace {

class FindTest : public ::testing::Test {
 protected:
  FindTest() {
    // The message of a box is its longest child text.
    answers.When("#32770", nullptr, [this](HWND box) {
      std::string longest;
      ::EnumChildWindows(
          box,
          [](HWND child, LPARAM out) -> BOOL {
            char buffer[512] = {};
            ::GetWindowText(child, buffer, sizeof buffer);
            auto& s = *reinterpret_cast<std::string*>(out);
            if (std::strlen(buffer) > s.size()) s = buffer;
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&longest));
      lastMessage = longest;
      ++boxes;
      ::EndDialog(box, IDOK);
    }, true);
    state = host.Ctl().GetFindReplaceState();
    Reset(state);
  }
  ~FindTest() override { Reset(state); }
  // The process's state as a new process would have it.
  static void Reset(_SEC_FIND_REPLACE_STATE* s) {
    s->m_pDialog = nullptr;
    s->m_bFindOnly = TRUE;
    s->m_strFind.Empty();
    s->m_strReplace.Empty();
    s->m_findHistory.RemoveAll();
    s->m_replaceHistory.RemoveAll();
    s->m_bCase = s->m_bWord = s->m_bInSelection = s->m_bRegExp = FALSE;
    s->m_bNext = TRUE;
    s->m_pOwner = nullptr;
  }
  std::string Selected() {
    CString text;
    host.Ctl().GetSelectedText(text);
    return std::string(text, static_cast<size_t>(text.GetLength()));
  }
  std::string TakeMessage() {
    std::string message = lastMessage;
    lastMessage.clear();
    return message;
  }

  ControllerHost host;
  brambolt::test::ModalAnswers answers;
  _SEC_FIND_REPLACE_STATE* state = nullptr;
  std::string lastMessage;
  int boxes = 0;
};

TEST_F(FindTest, FindNextWrapsAndReportsByTheLastDialog) {
  host.SetText("alpha beta\r\nbeta gamma\r\nalpha");
  state->m_strFind = "beta";
  host.Put(0, 0);
  ASSERT_TRUE(host.Ctl().FindNext(state));
  EXPECT_EQ(host.Ctl().GetSelection().GetMin(), SECEditLineCol(0, 6));
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 10));
  ASSERT_TRUE(host.Ctl().FindNext(state));
  EXPECT_EQ(host.Ctl().GetSelection().GetMin(), SECEditLineCol(1, 0));
  // From the end the search wraps back to the first match.
  ASSERT_TRUE(host.Ctl().FindNext(state));
  EXPECT_EQ(host.Ctl().GetSelection().GetMin(), SECEditLineCol(0, 6));

  // F3 and Shift+F3 go both ways without ever reporting the end.
  host.Key(VK_F3);
  EXPECT_EQ(host.Ctl().GetSelection().GetMin(), SECEditLineCol(1, 0));
  host.Key(VK_F3, brambolt::test::kShift);
  EXPECT_EQ(host.Ctl().GetSelection().GetMin(), SECEditLineCol(0, 6));
  EXPECT_EQ(boxes, 0);

  state->m_strFind = "delta";
  EXPECT_FALSE(host.Ctl().FindNext(state));
  EXPECT_EQ(TakeMessage(), "Cannot find the string 'delta'.");
  EXPECT_FALSE(host.Ctl().HasSelection());
  state->m_bFindOnly = FALSE;
  EXPECT_FALSE(host.Ctl().FindNext(state));
  EXPECT_EQ(TakeMessage(), "Finished searching for 'delta'.");

  // Ctrl+F3 searches for the word at the caret.
  host.Put(2, 2);
  host.Key(VK_F3, brambolt::test::kCtrl);
  EXPECT_EQ(state->m_strFind, "alpha");
  EXPECT_EQ(host.Ctl().GetSelection().GetMin(), SECEditLineCol(0, 0));
}

TEST_F(FindTest, ReplaceFindsFirstThenReplacesAndReplaceAllIsOneUndoStep) {
  host.SetText("a-a\r\nxa");
  state->m_strFind = "a";
  state->m_strReplace = "aa";
  host.Put(0, 0);
  EXPECT_TRUE(host.Ctl().IsSelectionNotMatch(state));
  ASSERT_TRUE(host.Ctl().FindNext(state));
  EXPECT_FALSE(host.Ctl().IsSelectionNotMatch(state));
  ASSERT_TRUE(host.Ctl().ReplaceCurrent(state));
  EXPECT_EQ(host.Text(), "aa-a\r\nxa");
  host.Ctl().Undo();

  // Three letters doubled make three replacements: the inserted letters are not searched again.
  host.Put(0, 0);
  ASSERT_TRUE(host.Ctl().ReplaceAll(state));
  EXPECT_EQ(host.Text(), "aa-aa\r\nxaa");
  EXPECT_EQ(TakeMessage(), "The document has been searched and 3 replacements were made.");
  EXPECT_TRUE(host.Ctl().Undo());
  EXPECT_EQ(host.Text(), "a-a\r\nxa");

  // Started after the first match, the run wraps and still replaces every match once.
  host.Put(1, 0);
  ASSERT_TRUE(host.Ctl().ReplaceAll(state));
  EXPECT_EQ(host.Text(), "aa-aa\r\nxaa");
  host.Ctl().Undo();

  // Only inside the selection.
  host.Ctl().SetSelection(SECEditLineColPair(0, 1, 1, 1), SECEDIT_SEL_STREAM);
  state->m_bInSelection = TRUE;
  ASSERT_TRUE(host.Ctl().ReplaceAll(state));
  EXPECT_EQ(host.Text(), "a-aa\r\nxa");
  EXPECT_EQ(TakeMessage(), "The selection has been searched and 1 replacements were made.");
  state->m_bInSelection = FALSE;

  state->m_strFind = "zzz";
  EXPECT_FALSE(host.Ctl().ReplaceAll(state));
  EXPECT_EQ(TakeMessage(), "Finished searching for 'zzz'.");
}

// Upward from a caret inside a word, the word the caret stands in is not the match: the search
// starts at the word's beginning (from a word's edge it starts at the caret).
TEST_F(FindTest, SearchingUpFromInsideAWordStartsAtTheWordsBeginning) {
  host.SetText("hello world hello");
  state->m_strFind = "hello";
  host.Put(0, 14);
  host.Key(VK_F3, brambolt::test::kShift);
  EXPECT_EQ(host.Ctl().GetSelection().GetMin(), SECEditLineCol(0, 0));
  host.Put(0, 17);
  host.Key(VK_F3, brambolt::test::kShift);
  EXPECT_EQ(host.Ctl().GetSelection().GetMin(), SECEditLineCol(0, 12));
  EXPECT_EQ(boxes, 0);
}

namespace {

std::vector<std::pair<std::string, UINT>> g_boxTypes;

int RecordBoxType(HWND, LPCTSTR text, LPCTSTR, UINT type) {
  g_boxTypes.emplace_back(text, type);
  return IDOK;
}

}  // namespace

// The count of replacements is news, shown in a box without an icon; a search that finds
// nothing warns with the exclamation icon.
TEST_F(FindTest, TheCountOfReplacementsComesInAPlainBox) {
  g_boxTypes.clear();
  const auto previous = brambolt::afx::GetMessageBoxPresenter();
  brambolt::afx::SetMessageBoxPresenter(&RecordBoxType);
  host.SetText("a-a");
  state->m_strFind = "a";
  state->m_strReplace = "b";
  EXPECT_TRUE(host.Ctl().ReplaceAll(state));
  host.Ctl().SetSelection(SECEditLineColPair(0, 0, 0, 3), SECEDIT_SEL_STREAM);
  state->m_strFind = "b";
  state->m_strReplace = "c";
  state->m_bInSelection = TRUE;
  EXPECT_TRUE(host.Ctl().ReplaceAll(state));
  state->m_bInSelection = FALSE;
  state->m_strFind = "zzz";
  EXPECT_FALSE(host.Ctl().ReplaceAll(state));
  brambolt::afx::SetMessageBoxPresenter(previous);
  ASSERT_EQ(g_boxTypes.size(), 3u);
  EXPECT_EQ(g_boxTypes[0].first, "The document has been searched and 2 replacements were made.");
  EXPECT_EQ(g_boxTypes[1].first, "The selection has been searched and 2 replacements were made.");
  for (int i : {0, 1}) {
    const UINT icon = g_boxTypes[static_cast<size_t>(i)].second & MB_ICONMASK;
    EXPECT_TRUE(icon != MB_ICONEXCLAMATION && icon != MB_ICONHAND && icon != MB_ICONQUESTION && icon != MB_ICONASTERISK)
        << g_boxTypes[static_cast<size_t>(i)].first;
  }
  EXPECT_EQ(g_boxTypes[2].second & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
}

// Thousands of matches are replaced as one edit: one undo step brings the text back whole, and
// a Replace All that runs long shows its progress, whose Cancel leaves the text as it was.
TEST_F(FindTest, ReplaceAllOfManyMatchesIsOneUndoStepAndCanBeCancelled) {
  std::string text, replaced;
  for (int i = 0; i < 3000; ++i) {
    text += "value = value + " + std::to_string(i) + ";\r\n";
    replaced += "amount = amount + " + std::to_string(i) + ";\r\n";
  }
  host.SetText(text);
  state->m_strFind = "value";
  state->m_strReplace = "amount";
  host.Put(1500, 3);
  ASSERT_TRUE(host.Ctl().ReplaceAll(state));
  EXPECT_EQ(host.Text(), replaced);
  EXPECT_EQ(TakeMessage(), "The document has been searched and 6000 replacements were made.");
  EXPECT_TRUE(host.model.IsModified());
  EXPECT_TRUE(host.Ctl().Undo());
  EXPECT_EQ(host.Text(), text);
  EXPECT_EQ(host.model.PeekUndo(), nullptr) << "one step";
  EXPECT_TRUE(host.Ctl().Redo());
  EXPECT_EQ(host.Text(), replaced);
  EXPECT_TRUE(host.Ctl().Undo());

  // A clock that moves a tenth of a second at each look: the progress shows after half a
  // second, and its Cancel is pressed as soon as it is there.
  int looks = 0;
  bool shown = false;
  RECT progressRect{}, ownerRect{};
  ::GetWindowRect(host.parent.Hwnd(), &ownerRect);
  const auto previous = SECEditSearchProgress::SetClock([&]() -> ULONGLONG {
    if (HWND progress = ::FindWindow(nullptr, "Replace All"); progress != nullptr && !shown) {
      shown = true;
      ::GetWindowRect(progress, &progressRect);
      EXPECT_FALSE(::IsWindowEnabled(host.parent.Hwnd())) << "the editor takes no input meanwhile";
      ::PostMessage(::GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
    }
    return 100ULL * static_cast<ULONGLONG>(++looks);
  });
  const int before = boxes;
  EXPECT_FALSE(host.Ctl().ReplaceAll(state));
  SECEditSearchProgress::SetClock(previous);
  EXPECT_TRUE(shown);
  // The progress stands centred over the editor's window, as its other boxes do.
  EXPECT_NEAR((progressRect.left + progressRect.right) / 2, (ownerRect.left + ownerRect.right) / 2, 1);
  EXPECT_NEAR((progressRect.top + progressRect.bottom) / 2, (ownerRect.top + ownerRect.bottom) / 2, 1);
  EXPECT_LT(looks, 100) << "the run stopped at the cancel";
  EXPECT_EQ(host.Text(), text);
  EXPECT_EQ(host.model.PeekUndo(), nullptr);
  EXPECT_EQ(boxes, before) << "a cancel says nothing more";
  EXPECT_EQ(::FindWindow(nullptr, "Replace All"), nullptr);
  EXPECT_TRUE(::IsWindowEnabled(host.parent.Hwnd()));
}

TEST_F(FindTest, RegularExpressionReplacementAndTheLineLengthCheck) {
  host.SetText("int a = f(1);\r\nint b = f(22);");
  state->m_strFind = "f\\((\\d+)\\)";
  state->m_strReplace = "g($1, 0)";
  state->m_bRegExp = TRUE;
  host.Put(0, 0);
  ASSERT_TRUE(host.Ctl().ReplaceAll(state));
  EXPECT_EQ(host.Text(), "int a = g(1, 0);\r\nint b = g(22, 0);");

  // A replacement that would make a line longer than the model allows changes nothing.
  state->m_bRegExp = FALSE;
  state->m_strFind = "int";
  state->m_strReplace = CString('x', host.model.GetMaxLineLength());
  host.Put(0, 0);
  EXPECT_FALSE(host.Ctl().ReplaceAll(state));
  EXPECT_EQ(TakeMessage(), "Cannot replace text. Line would exceed " + std::to_string(host.model.GetMaxLineLength()) +
                               " characters.");
  EXPECT_EQ(host.Text(), "int a = g(1, 0);\r\nint b = g(22, 0);");
}

TEST_F(FindTest, MarkAllSetsTheBookmarkOnEveryMatchingLineAndF2WalksThem) {
  host.SetText("x.y\r\nnothing\r\nx.y again\r\nxzy");
  state->m_strFind = "x.y";
  state->m_bRegExp = TRUE;  // Mark All searches for the literal text all the same
  host.Put(1, 0);
  ASSERT_TRUE(host.Ctl().MarkAll(state));
  EXPECT_EQ(host.model.CountMarkedLines(SECEDIT_MARK_BOOKMARK), 2);
  EXPECT_FALSE(host.model.HasLineMark(3, SECEDIT_MARK_BOOKMARK));
  EXPECT_EQ(host.Caret(), SECEditLineCol(2, 0));
  host.Key(VK_F2);
  EXPECT_EQ(host.Caret(), SECEditLineCol(0, 0));
  host.Key(VK_F2);
  EXPECT_EQ(host.Caret(), SECEditLineCol(2, 0));

  state->m_strFind = "absent";
  EXPECT_FALSE(host.Ctl().MarkAll(state));
  EXPECT_EQ(TakeMessage(), "Cannot find the string 'absent'.");
}

// A modeless dialog goes with the controller that owns it; while it is open F3 only brings it up.
TEST(FindDialogOwner, AModelessDialogClosesWithItsController) {
  _SEC_FIND_REPLACE_STATE* state = SECEditGetFindReplaceState();
  {
    ControllerHost host;
    host.SetText("word word");
    host.Ctl().SetModalFindDialog(FALSE);
    host.Put(0, 1);
    host.Key('F', brambolt::test::kCtrl);
    ASSERT_NE(state->m_pDialog, nullptr);
    EXPECT_EQ(state->m_pDialog->GetFindString(), "word");
    host.Key(VK_F3);
    EXPECT_FALSE(host.Ctl().HasSelection());
  }
  EXPECT_EQ(state->m_pDialog, nullptr);
  EXPECT_EQ(state->m_pOwner, nullptr);
}

}  // namespace

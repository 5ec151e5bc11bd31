// The Find and Replace dialogs against an owner that records requests: histories, the enabling
// of the buttons, the regular-expression option, the Selection scope, and closing.
#include <gtest/gtest.h>

#include "afx/CWinApp.h"
#include "editor/ctl/SECEditFindReplaceDlg.h"
#include "testing/UiTest.h"

namespace {

struct RecordingOwner : ISECEditFindReplaceNotify {
  BOOL OnFindReplaceCommand(SECEditFindReplaceDlg* dlg) override {
    commands.push_back(dlg->GetCommand());
    finds.push_back(static_cast<LPCTSTR>(dlg->GetFindString()));
    return result;
  }
  BOOL CanReplaceInSelection() override { return selection; }
  std::vector<int> commands;
  std::vector<std::string> finds;
  BOOL result = TRUE;
  BOOL selection = FALSE;
};

class FindDialogTest : public ::testing::Test {
 protected:
  SECEditFindReplaceDlg* Open(BOOL findOnly) {
    auto* dlg = new SECEditFindReplaceDlg;
    dlg->Setup(findOnly, &owner, &findHistory, &replaceHistory);
    if (!findOnly) dlg->AllowSelection(TRUE);
    EXPECT_TRUE(dlg->CreateModeless(nullptr));
    brambolt::test::RunUntilIdle();
    return dlg;
  }
  static void Click(SECEditFindReplaceDlg* dlg, UINT id) {
    ::SendMessage(dlg->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                  reinterpret_cast<LPARAM>(::GetDlgItem(dlg->GetSafeHwnd(), static_cast<int>(id))));
  }
  static void Type(SECEditFindReplaceDlg* dlg, UINT id, const char* text) {
    HWND combo = ::GetDlgItem(dlg->GetSafeHwnd(), static_cast<int>(id));
    ::SetWindowText(combo, text);
    ::SendMessage(dlg->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(combo));
  }
  static BOOL Enabled(SECEditFindReplaceDlg* dlg, UINT id) {
    return ::IsWindowEnabled(::GetDlgItem(dlg->GetSafeHwnd(), static_cast<int>(id)));
  }

  brambolt::test::UiSession session;
  CWinApp app{"Find Dialog Test"};
  RecordingOwner owner;
  CStringList findHistory, replaceHistory;
};

TEST_F(FindDialogTest, HistoryKeepsSixteenNewestFirstWithoutDuplicates) {
  SECEditFindReplaceDlg* dlg = Open(TRUE);
  EXPECT_FALSE(Enabled(dlg, IDOK));
  EXPECT_FALSE(Enabled(dlg, IDC_SECEDIT_MARKALL));
  for (int i = 0; i < 20; ++i) {
    Type(dlg, IDC_SECEDIT_FINDTEXT, ("word" + std::to_string(i)).c_str());
    Click(dlg, IDOK);
  }
  Type(dlg, IDC_SECEDIT_FINDTEXT, "word12");
  EXPECT_TRUE(Enabled(dlg, IDOK));
  Click(dlg, IDC_SECEDIT_MARKALL);
  ASSERT_EQ(findHistory.GetCount(), SECEditFindReplaceDlg::kHistoryMax);
  EXPECT_EQ(findHistory.GetHead(), "word12");
  EXPECT_EQ(findHistory.GetTail(), "word4");
  EXPECT_EQ(findHistory.Find("word12"), findHistory.GetHeadPosition());
  int count12 = 0;
  for (POSITION pos = findHistory.GetHeadPosition(); pos != nullptr;) count12 += findHistory.GetNext(pos) == "word12";
  EXPECT_EQ(count12, 1);
  EXPECT_EQ(owner.commands.size(), 21U);
  EXPECT_EQ(owner.commands.back(), SECEditFindReplaceDlg::kMarkAll);
  EXPECT_EQ(owner.finds.back(), "word12");
  EXPECT_EQ(::SendDlgItemMessage(dlg->GetSafeHwnd(), IDC_SECEDIT_FINDTEXT, CB_GETCOUNT, 0, 0), 16);

  // Cancel of a modeless dialog tells the owner it closes, and the object goes with its window.
  Click(dlg, IDCANCEL);
  EXPECT_EQ(owner.commands.back(), SECEditFindReplaceDlg::kClosing);
}

TEST_F(FindDialogTest, RegularExpressionForcesDownAndClearsWholeWord) {
  auto* dlg = new SECEditFindReplaceDlg;
  dlg->Setup(TRUE, &owner, &findHistory, &replaceHistory);
  dlg->SetRegularExpression(FALSE, TRUE);
  dlg->SetMatchWholeWord(TRUE);
  dlg->SetDirection(FALSE);
  dlg->SetFindString("a+");
  ASSERT_TRUE(dlg->CreateModeless(nullptr));
  EXPECT_FALSE(dlg->SearchDown());
  ::CheckDlgButton(dlg->GetSafeHwnd(), IDC_SECEDIT_REGEXP, BST_CHECKED);
  Click(dlg, IDC_SECEDIT_REGEXP);
  EXPECT_TRUE(dlg->RegularExpression());
  EXPECT_TRUE(dlg->SearchDown());
  EXPECT_FALSE(dlg->MatchWholeWord());
  EXPECT_FALSE(Enabled(dlg, IDC_SECEDIT_WHOLEWORD));
  EXPECT_FALSE(Enabled(dlg, IDC_SECEDIT_CHOICE_FIRST));
  EXPECT_EQ(::IsDlgButtonChecked(dlg->GetSafeHwnd(), IDC_SECEDIT_CHOICE_SECOND), BST_CHECKED);
  ::CheckDlgButton(dlg->GetSafeHwnd(), IDC_SECEDIT_REGEXP, BST_UNCHECKED);
  Click(dlg, IDC_SECEDIT_REGEXP);
  EXPECT_TRUE(Enabled(dlg, IDC_SECEDIT_WHOLEWORD));
  EXPECT_TRUE(Enabled(dlg, IDC_SECEDIT_CHOICE_FIRST));
  dlg->DestroyWindow();
}

TEST_F(FindDialogTest, ReplaceScopeSelectionDisablesFindNextAndReplace) {
  owner.selection = TRUE;
  auto* dlg = new SECEditFindReplaceDlg;
  dlg->Setup(FALSE, &owner, &findHistory, &replaceHistory);
  dlg->AllowSelection(TRUE);
  dlg->SetScope(TRUE);
  dlg->SetFindString("x");
  dlg->SetReplaceString("y");
  ASSERT_TRUE(dlg->CreateModeless(nullptr));
  ::SendMessage(dlg->GetSafeHwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(dlg->InSelection());
  EXPECT_FALSE(Enabled(dlg, IDOK));
  EXPECT_FALSE(Enabled(dlg, IDC_SECEDIT_REPLACE));
  EXPECT_TRUE(Enabled(dlg, IDC_SECEDIT_REPLACEALL));
  Click(dlg, IDC_SECEDIT_REPLACEALL);
  EXPECT_EQ(owner.commands.back(), SECEditFindReplaceDlg::kReplaceAll);
  EXPECT_EQ(replaceHistory.GetHead(), "y");

  // Without a usable selection the scope falls back to the whole file.
  owner.selection = FALSE;
  ::SendMessage(dlg->GetSafeHwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_FALSE(dlg->InSelection());
  EXPECT_FALSE(Enabled(dlg, IDC_SECEDIT_CHOICE_FIRST));
  EXPECT_TRUE(Enabled(dlg, IDOK));
  EXPECT_TRUE(Enabled(dlg, IDC_SECEDIT_REPLACE));
  dlg->DestroyWindow();
}

TEST_F(FindDialogTest, ModalFindNextClosesOnlyOnSuccess) {
  SECEditFindReplaceDlg dlg;
  dlg.Setup(TRUE, &owner, &findHistory, &replaceHistory);
  dlg.SetFindString("needle");
  owner.result = FALSE;
  // The second step runs only while the dialog is still up after a search without a match.
  brambolt::test::UiScript script;
  script.Then([&] { Click(&dlg, IDOK); }).Then([&] {
    owner.result = TRUE;
    Click(&dlg, IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(script.Remaining(), 0U);
  EXPECT_EQ(owner.commands, (std::vector<int>{1, 1}));
  EXPECT_EQ(findHistory.GetHead(), "needle");
}

}  // namespace

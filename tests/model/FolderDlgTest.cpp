// The dialogs of folder adding: the live-folder choice, the folder to copy and the progress
// dialog whose worker copies a folder with or without its subfolders.
#include <gtest/gtest.h>

#include <vector>

#include "DlgTestSupport.h"
#include "ModelTestSupport.h"
#include "controls/FileDialog.h"
#include "model/CAddFolderProressDlg.h"
#include "model/CAddLiveFolderDlg.h"
#include "model/CAutoGenHelpDlg.h"
#include "resources/resource.h"

namespace {

using brambolt::test::ModalAnswers;
using namespace dlg_test;

std::vector<std::string> Words(const CStringList& list) {
  std::vector<std::string> words;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) words.emplace_back(LPCTSTR(list.GetNext(pos)));
  return words;
}

TEST(CAddLiveFolderDlg, OpensWithOkDisabledAndTheFirstTypeAndTypingALocationEnablesOk) {
  DialogSession session;
  ModalAnswers answers;
  std::string firstType;
  std::vector<bool> okEnabled;
  answers.When(nullptr, "Insert Files into Project", [&](HWND h) {
    firstType = SelectedText(h, IDC_FILE_TYPES);
    HWND hOk = ::GetDlgItem(h, IDOK);
    okEnabled.push_back(::IsWindowEnabled(hOk) != FALSE);
    ::SetDlgItemText(h, IDC_LOCATION, "/src");
    okEnabled.push_back(::IsWindowEnabled(hOk) != FALSE);
    ::SetDlgItemText(h, IDC_LOCATION, "");
    okEnabled.push_back(::IsWindowEnabled(hOk) != FALSE);
    ClickCheck(h, IDC_LOOK_IN_SUBFOLDERS);
    Command(h, IDCANCEL);
  });
  CAddLiveFolderDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(firstType, ".h;.hpp;.tlh;.inl;.rc;.c;.cpp;.cxx;.tli");
  EXPECT_EQ(okEnabled, (std::vector<bool>{false, true, false}));
  EXPECT_TRUE(dlg.m_fileTypes.IsEmpty());
  EXPECT_FALSE(dlg.m_bLookInSubfolders);
}

TEST(CAddLiveFolderDlg, OkGivesTheLocationTheFlagAndTheWordsOfTheChosenType) {
  struct Case {
    const char* pszType;
    bool bSubfolders;
    std::vector<std::string> words;
  };
  for (const Case& c : {Case{".h;.inl;.cpp", true, {"h", "cpp", "inl"}}, Case{"*.*", false, {"*"}}}) {
    DialogSession session;
    ModalAnswers answers;
    answers.When(nullptr, "Insert Files into Project", [&](HWND h) {
      ::SetDlgItemText(h, IDC_LOCATION, "/src/live");
      ChooseItem(h, IDC_FILE_TYPES, c.pszType);
      if (c.bSubfolders) ClickCheck(h, IDC_LOOK_IN_SUBFOLDERS);
      Command(h, IDOK);
    });
    CAddLiveFolderDlg dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_strLocation, "/src/live");
    EXPECT_EQ(dlg.m_bLookInSubfolders != FALSE, c.bSubfolders);
    EXPECT_EQ(Words(dlg.m_fileTypes), c.words);
  }
}

TEST(CAutoGenHelpDlg, TheCheckBoxEnablesTheSourceFolder) {
  DialogSession session;
  ModalAnswers answers;
  std::vector<bool> seen;
  std::string location;
  answers.When(nullptr, "Please select a folder", [&](HWND h) {
    location = ItemText(h, IDC_CURRENT_LOCATION);
    HWND hSource = ::GetDlgItem(h, IDC_SOURCE_FOLDER);
    seen.push_back(IsChecked(h, IDC_LOOK_IN_SUBFOLDERS));
    seen.push_back(::IsWindowEnabled(hSource) != FALSE);
    ClickCheck(h, IDC_LOOK_IN_SUBFOLDERS);
    seen.push_back(::IsWindowEnabled(hSource) != FALSE);
    Command(h, IDCANCEL);
  });
  CAutoGenHelpDlg dlg;
  dlg.m_strCurrentLocation = "/project/web";
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(location, "/project/web");
  EXPECT_EQ(seen, (std::vector<bool>{true, true, false}));
  EXPECT_TRUE(dlg.m_bLookInSubfolders);  // Cancel changes nothing
  EXPECT_TRUE(dlg.m_strSourceFolder.IsEmpty());
}

TEST(CAutoGenHelpDlg, OkWithoutASourceFolderShowsTheMessageAndStays) {
  DialogSession session;
  ModalAnswers answers;
  int nMessages = 0;
  bool bStillOpen = false;
  answers.When(nullptr, "Please select a folder", [&](HWND h) {
    Command(h, IDOK);
    bStillOpen = ::IsWindowVisible(h) != FALSE;
    ::SetDlgItemText(h, IDC_SOURCE_FOLDER, "/web");
    Command(h, IDOK);
  });
  answers.When(nullptr, nullptr, [&](HWND h) {
    ++nMessages;
    ::PostMessage(h, WM_COMMAND, IDOK, 0);
  });
  CAutoGenHelpDlg dlg;
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(nMessages, 1);
  EXPECT_TRUE(bStillOpen);
  EXPECT_STREQ(dlg.m_strSourceFolder, "/web");
  EXPECT_TRUE(dlg.m_bLookInSubfolders);
}

TEST(CAddFolderProressDlg, CopiesTheFolderWithAndWithoutSubfolders) {
  for (BOOL bSubfolders : {TRUE, FALSE}) {
    DialogSession session;
    model_test::TempFolder source, target;
    source.Write("top.htm", "top");
    source.Write("sub/inner.htm", "inner");
    target.Write("top.htm", "kept");
    source.Write("new.htm", "new");
    CAddFolderProressDlg dlg;
    dlg.m_strSource = source.Path().c_str();
    dlg.m_strTarget = target.Path().c_str();
    dlg.m_bLookInSubfolders = bSubfolders;
    dlg.DoModal();
    EXPECT_FALSE(dlg.HasWorker());
    EXPECT_EQ(target.Read("top.htm"), "kept") << bSubfolders;
    EXPECT_EQ(target.Read("new.htm"), "new") << bSubfolders;
    EXPECT_EQ(target.Exists("sub/inner.htm"), bSubfolders != FALSE);
  }
}

TEST(CAddFolderProressDlg, CancelStopsTheCopyAndEndsAfterTheWorker) {
  DialogSession session;
  model_test::TempFolder source, target;
  for (int i = 0; i < 20; ++i) source.Write("f" + std::to_string(i) + ".htm", "x");
  struct CancelAtFirstFile : CAddFolderProressDlg {
    int nCaptions = 0;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override {
      if (nMsg == WM_SETTEXT && ++nCaptions == 1) brambolt::test::PressKey(VK_ESCAPE);  // while the first file is named
      return CAddFolderProressDlg::WindowProc(nMsg, wParam, lParam);
    }
  } dlg;
  dlg.m_strSource = source.Path().c_str();
  dlg.m_strTarget = target.Path().c_str();
  dlg.m_bLookInSubfolders = TRUE;
  dlg.DoModal();
  EXPECT_TRUE(dlg.IsStopRequested());
  EXPECT_FALSE(dlg.HasWorker());
  int nCopied = 0;
  for (int i = 0; i < 20; ++i) nCopied += target.Exists("f" + std::to_string(i) + ".htm") ? 1 : 0;
  EXPECT_EQ(dlg.nCaptions, 1);
  EXPECT_LE(nCopied, 1);
}

// The old-style folder picker of a browse edit: into the subfolder, then OK.
void PickSubfolder(HWND hPicker, const std::string& name) {
  HWND hList = ::GetDlgItem(hPicker, lst2);
  const int nCount = static_cast<int>(::SendMessage(hList, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < nCount; ++i) {
    char line[MAX_PATH] = {};
    ::SendMessage(hList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
    std::string text = line;
    if (text.substr(text.find_first_not_of(' ')) != name) continue;
    ::SendMessage(hList, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    Command(hPicker, lst2, LBN_DBLCLK);
    break;
  }
  Command(hPicker, IDOK);
}

TEST(CAddLiveFolderDlg, LocationIsPickedWithTheBrowseButtonAndEnablesOk) {
  DialogSession session;
  model_test::TempFolder dir;
  dir.Write("live/a.h", "x");
  ModalAnswers answers;
  CAddLiveFolderDlg dlg;
  std::vector<bool> okEnabled;
  std::string cancelled;
  answers.When(nullptr, "Insert Files into Project", [&](HWND h) {
    ASSERT_NE(dlg.m_editLocation.m_pBrowseButton, nullptr);
    HWND hBrowse = dlg.m_editLocation.m_pBrowseButton->m_hWnd;
    okEnabled.push_back(::IsWindowEnabled(::GetDlgItem(h, IDOK)) != FALSE);
    ::SetDlgItemText(h, IDC_LOCATION, dir.Path().c_str());
    ::SendMessage(hBrowse, BM_CLICK, 0, 0);  // cancelled below: the text stays
    cancelled = ItemText(h, IDC_LOCATION);
    ::SendMessage(hBrowse, BM_CLICK, 0, 0);
    okEnabled.push_back(::IsWindowEnabled(::GetDlgItem(h, IDOK)) != FALSE);
    Command(h, IDOK);
  });
  answers.When(nullptr, "Select Directory", [&](HWND h) { Command(h, IDCANCEL); });
  answers.When(nullptr, "Select Directory", [&](HWND h) { PickSubfolder(h, "live"); });
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(cancelled, dir.Path());
  EXPECT_EQ(okEnabled, (std::vector<bool>{false, true}));
  EXPECT_STREQ(dlg.m_strLocation, (dir.Path() + "/live/").c_str());
  EXPECT_TRUE(answers.Unanswered().empty());
}

TEST(CAutoGenHelpDlg, SourceFolderIsPickedWithTheBrowseButtonWhichFollowsTheCheckBox) {
  DialogSession session;
  model_test::TempFolder dir;
  dir.Write("web/index.htm", "x");
  ModalAnswers answers;
  CAutoGenHelpDlg dlg;
  std::vector<bool> browseEnabled;
  answers.When(nullptr, "Please select a folder", [&](HWND h) {
    ASSERT_NE(dlg.m_editSourceFolder.m_pBrowseButton, nullptr);
    HWND hBrowse = dlg.m_editSourceFolder.m_pBrowseButton->m_hWnd;
    browseEnabled.push_back(::IsWindowEnabled(hBrowse) != FALSE);
    ClickCheck(h, IDC_LOOK_IN_SUBFOLDERS);
    browseEnabled.push_back(::IsWindowEnabled(hBrowse) != FALSE);
    ClickCheck(h, IDC_LOOK_IN_SUBFOLDERS);
    browseEnabled.push_back(::IsWindowEnabled(hBrowse) != FALSE);
    ::SetDlgItemText(h, IDC_SOURCE_FOLDER, dir.Path().c_str());
    ::SendMessage(hBrowse, BM_CLICK, 0, 0);
    Command(h, IDOK);
  });
  answers.When(nullptr, "Select Directory", [&](HWND h) { PickSubfolder(h, "web"); });
  dlg.m_strCurrentLocation = "/project/web";
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(browseEnabled, (std::vector<bool>{true, false, true}));
  EXPECT_STREQ(dlg.m_strSourceFolder, (dir.Path() + "/web/").c_str());
  EXPECT_TRUE(dlg.m_bLookInSubfolders);
}

TEST(CAutoGenHelpDlg, SourceFolderStartsDisabledWithItsButtonWhenSubfoldersAreOff) {
  DialogSession session;
  ModalAnswers answers;
  CAutoGenHelpDlg dlg;
  dlg.m_bLookInSubfolders = FALSE;
  bool bBrowseEnabled = true;
  answers.When(nullptr, "Please select a folder", [&](HWND h) {
    bBrowseEnabled = ::IsWindowEnabled(dlg.m_editSourceFolder.m_pBrowseButton->m_hWnd) != FALSE;
    Command(h, IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_FALSE(bBrowseEnabled);
}

}  // namespace

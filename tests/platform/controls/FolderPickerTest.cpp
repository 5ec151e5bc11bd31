// The folder picker: answered by a script and by clicks, its callback messages, the typed path,
// validation, cancelling, and the item lists that carry paths.
#include <filesystem>

#include "CommonDialogTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

class FolderPicker : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::weakly_canonical(stores_.TempDir()).string() + "/tree";
    for (const char* d : {"/alpha/inner", "/beta"}) std::filesystem::create_directories(root_ + d);
  }
  static int IndexOf(HWND dialog, const char* name) {
    return static_cast<int>(
        SendDlgItemMessage(dialog, IDC_BROWSE_FOLDERS, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(name)));
  }
  // Enters a listed folder as a script does: select it and tell the dialog it was double-clicked.
  static void Enter(HWND dialog, const char* name) {
    HWND list = GetDlgItem(dialog, IDC_BROWSE_FOLDERS);
    SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(IndexOf(dialog, name)), 0);
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_FOLDERS, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  }
  static void ClickItem(HWND dialog, const char* name, bool twice) {
    HWND list = GetDlgItem(dialog, IDC_BROWSE_FOLDERS);
    RECT r;
    SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(IndexOf(dialog, name)), reinterpret_cast<LPARAM>(&r));
    POINT p{r.left + 5, (r.top + r.bottom) / 2};
    if (twice) DoubleClick(list, p);
    else Click(list, p);
  }

  UiSession session_;
  PrivateStores stores_;
  NotificationRecorder owner_;
  ModalAnswers answers_;
  std::string root_;
};

TEST_F(FolderPicker, AScriptWalksDownAndUpAndTheResultEndsInASeparator) {
  answers_.When(nullptr, "Browse for Folder", [&](HWND dialog) {
    EXPECT_EQ(Text(GetDlgItem(dialog, IDC_BROWSE_TITLE)), "Choose the output folder");
    EXPECT_EQ(ListLines(dialog, IDC_BROWSE_FOLDERS), (std::vector<std::string>{"..", "alpha", "beta"}));
    EXPECT_EQ(Text(GetDlgItem(dialog, IDC_BROWSE_PATH)), root_);
    Enter(dialog, "alpha");
    EXPECT_EQ(ListLines(dialog, IDC_BROWSE_FOLDERS), (std::vector<std::string>{"..", "inner"}));
    Enter(dialog, "..");
    Enter(dialog, "beta");
    PostMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  std::string chosen;
  ASSERT_TRUE(BrowseForFolder(owner_.Hwnd(), "Choose the output folder", root_, &chosen));
  EXPECT_EQ(chosen, root_ + "/beta\\");
}

TEST_F(FolderPicker, ClicksChooseAFolderAndCancelChoosesNothing) {
  answers_.When(nullptr, "Browse for Folder", [&](HWND dialog) {
    ClickItem(dialog, "alpha", true);
    ClickItem(dialog, "inner", false);  // selected, not entered
    EXPECT_EQ(Text(GetDlgItem(dialog, IDC_BROWSE_PATH)), root_ + "/alpha/inner");
    PressButton(dialog, IDOK);
  });
  std::string chosen;
  ASSERT_TRUE(BrowseForFolder(owner_.Hwnd(), "t", root_, &chosen));
  EXPECT_EQ(chosen, root_ + "/alpha/inner\\");
  answers_.When(nullptr, "Browse for Folder", [&](HWND dialog) { PressButton(dialog, IDCANCEL); });
  EXPECT_FALSE(BrowseForFolder(owner_.Hwnd(), "t", root_, &chosen));
}

struct CallbackLog {
  std::vector<UINT> messages;
  std::vector<std::string> selections;
  std::string start;
  int validateFailures = 0;
};

int CALLBACK LoggingCallback(HWND hwnd, UINT msg, LPARAM lParam, LPARAM data) {
  auto* log = reinterpret_cast<CallbackLog*>(data);
  log->messages.push_back(msg);
  if (msg == BFFM_INITIALIZED) {
    PIDLIST_ABSOLUTE pidl = ILCreateFromPath(log->start.c_str());
    SendMessage(hwnd, BFFM_SETSELECTION, FALSE, reinterpret_cast<LPARAM>(pidl));
    ILFree(pidl);
  } else if (msg == BFFM_SELCHANGED) {
    char path[MAX_PATH];
    if (SHGetPathFromIDList(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path)) log->selections.push_back(path);
  } else if (msg == BFFM_VALIDATEFAILED) {
    ++log->validateFailures;
    return 1;
  }
  return 0;
}

TEST_F(FolderPicker, TheCallbackHearsTheStartAndEverySelection) {
  CallbackLog log;
  log.start = root_ + "/alpha";
  char name[MAX_PATH] = {};
  BROWSEINFO bi{};
  bi.hwndOwner = owner_.Hwnd();
  bi.pszDisplayName = name;
  bi.lpszTitle = "t";
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE;
  bi.lpfn = LoggingCallback;
  bi.lParam = reinterpret_cast<LPARAM>(&log);
  answers_.When(nullptr, "Browse for Folder", [&](HWND dialog) {
    EXPECT_EQ(ListLines(dialog, IDC_BROWSE_FOLDERS), (std::vector<std::string>{"..", "inner"}));
    SetDlgItemText(dialog, IDC_BROWSE_PATH, (root_ + "/missing").c_str());
    PressButton(dialog, IDOK);  // refused: no such folder
    EXPECT_TRUE(IsWindowVisible(dialog));
    SetDlgItemText(dialog, IDC_BROWSE_PATH, (root_ + "/BETA").c_str());  // typed, in any case
    PressButton(dialog, IDOK);
  });
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolder(&bi);
  ASSERT_NE(pidl, nullptr);
  char path[MAX_PATH];
  ASSERT_TRUE(SHGetPathFromIDList(pidl, path));
  ILFree(pidl);
  EXPECT_EQ(std::string(path), root_ + "/beta");
  EXPECT_STREQ(name, "beta");
  ASSERT_GE(log.messages.size(), 3u);
  EXPECT_EQ(log.messages[1], static_cast<UINT>(BFFM_INITIALIZED));
  EXPECT_EQ(log.selections.back(), root_ + "/alpha");
  EXPECT_EQ(log.validateFailures, 1);
}

TEST(ItemLists, CarryAPathAndRefuseWhatTheyCannotHold) {
  PIDLIST_ABSOLUTE pidl = ILCreateFromPath("/home/someone/docs");
  char path[MAX_PATH] = "x";
  ASSERT_TRUE(SHGetPathFromIDList(pidl, path));
  EXPECT_STREQ(path, "/home/someone/docs");
  ILFree(pidl);
  EXPECT_FALSE(SHGetPathFromIDList(nullptr, path));
  EXPECT_STREQ(path, "");
  std::string tooLong(MAX_PATH + 10, 'a');
  pidl = ILCreateFromPath(tooLong.c_str());
  EXPECT_FALSE(SHGetPathFromIDList(pidl, path));
  CoTaskMemFree(pidl);
}

}  // namespace

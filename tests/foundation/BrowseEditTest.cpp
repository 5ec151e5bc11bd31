// The directory browse edit: the "..." button beside a dialog's edit, the folder it starts the
// picker at, both pickers answered by script, and the edit's life with listeners and its dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/afx.h"
#include "controls/FileDialog.h"
#include "controls/FolderPicker.h"
#include "foundation/SECBrowseEdit.h"
#include "foundation/SECDirSelectDlg.h"
#include "foundation/SECWndListener.h"
#include "testing/testing.h"
#include "tests/platform/os/TempDir.h"

using brambolt::test::ModalAnswers;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using brambolt::testing_os::TempDir;

namespace {

constexpr UINT kTestDialog = 141;
constexpr int kEdit = 1001;
constexpr int kDisabledEdit = 1002;
constexpr const char* kOldStyleCaption = "Select Directory";
constexpr const char* kShellCaption = "Browse for Folder";

std::string TextOf(HWND hWnd) {
  char text[MAX_PATH * 2] = {};
  ::GetWindowText(hWnd, text, sizeof text);
  return text;
}

CRect RectInParent(HWND hWnd) {
  CRect rc;
  ::GetWindowRect(hWnd, &rc);
  ::ScreenToClient(::GetParent(hWnd), reinterpret_cast<LPPOINT>(&rc.left));
  ::ScreenToClient(::GetParent(hWnd), reinterpret_cast<LPPOINT>(&rc.right));
  return rc;
}

// A dialog whose two edits become folder browse edits while it initialises.
class BrowseDlg : public CDialog {
 public:
  BrowseDlg() : CDialog(kTestDialog) {}
  SECBrowseDirEdit m_edit;
  SECBrowseDirEdit m_disabledEdit;
  CRect m_rcEditBefore;
  BOOL m_bInitialized = FALSE;
  int m_nButtonCommands = 0;  // clicks of the first button that reached the dialog's own map

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_rcEditBefore = RectInParent(::GetDlgItem(m_hWnd, kEdit));
    m_bInitialized = m_edit.Initialize(kEdit, this) && m_disabledEdit.Initialize(kDisabledEdit, this);
    return TRUE;
  }

 protected:
  afx_msg void OnButtonCommand() { ++m_nButtonCommands; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BrowseDlg, CDialog)
  ON_BN_CLICKED(32765, OnButtonCommand)
END_MESSAGE_MAP()

class BrowseEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dlg.Create(kTestDialog));
    m_dlg.ShowWindow(SW_SHOW);
    ASSERT_TRUE(m_dlg.m_bInitialized);
    RunUntilIdle();
  }
  void TearDown() override {
    if (m_dlg.GetSafeHwnd() != nullptr) m_dlg.DestroyWindow();
  }

  HWND Button() const { return m_dlg.m_edit.m_pBrowseButton->m_hWnd; }
  // A person's click on the "..." button; the picker runs inside it.
  void ClickBrowse() {
    CRect rc;
    ::GetClientRect(Button(), &rc);
    brambolt::test::Click(Button(), rc.CenterPoint());
  }
  std::string EditText() const { return TextOf(m_dlg.m_edit.m_hWnd); }

  UiSession m_session;
  BrowseDlg m_dlg;
  TempDir m_dir;
};

// The folder list entries of the old-style dialog are indented by depth.
int FindFolderLine(HWND hList, const std::string& name) {
  const int nCount = static_cast<int>(::SendMessage(hList, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < nCount; ++i) {
    char line[MAX_PATH] = {};
    ::SendMessage(hList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
    std::string text = line;
    if (text.substr(text.find_first_not_of(' ')) == name) return i;
  }
  return -1;
}

void DoubleClickFolder(HWND hPicker, const std::string& name) {
  HWND hList = ::GetDlgItem(hPicker, lst2);
  const int nLine = FindFolderLine(hList, name);
  ASSERT_GE(nLine, 0) << name;
  ::SendMessage(hList, LB_SETCURSEL, static_cast<WPARAM>(nLine), 0);
  ::SendMessage(hPicker, WM_COMMAND, MAKEWPARAM(lst2, LBN_DBLCLK), reinterpret_cast<LPARAM>(hList));
}

void Press(HWND hDialog, int nID) { ::SendMessage(::GetDlgItem(hDialog, nID), BM_CLICK, 0, 0); }

TEST_F(BrowseEdit, ButtonTakesTheRightEndOfTheEditUnderAFreeId) {
  const CRect rcEdit = RectInParent(m_dlg.m_edit.m_hWnd);
  const CRect& before = m_dlg.m_rcEditBefore;
  EXPECT_EQ(rcEdit, CRect(before.left, before.top, before.right - 26, before.bottom));
  EXPECT_EQ(RectInParent(Button()), CRect(before.right - 25, before.top, before.right, before.bottom));
  EXPECT_EQ(TextOf(Button()), "...");
  // 32767 and 32766 are the dialog's own; each edit's button took the next free id down.
  EXPECT_EQ(m_dlg.m_edit.m_pBrowseButton->m_nID, 32765u);
  EXPECT_EQ(::GetDlgCtrlID(Button()), 32765);
  EXPECT_EQ(m_dlg.m_disabledEdit.m_pBrowseButton->m_nID, 32764u);
  EXPECT_EQ(::GetWindow(m_dlg.m_edit.m_hWnd, GW_HWNDNEXT), Button()) << "the button follows its edit in tab order";
  const LONG style = ::GetWindowLong(Button(), GWL_STYLE);
  EXPECT_TRUE(style & WS_TABSTOP);
  EXPECT_TRUE(::IsWindowVisible(Button()));
  EXPECT_EQ(::SendMessage(Button(), WM_GETFONT, 0, 0), m_dlg.SendMessage(WM_GETFONT));
}

TEST_F(BrowseEdit, ButtonFollowsTheEditsEnabledAndShownState) {
  HWND hDisabledButton = m_dlg.m_disabledEdit.m_pBrowseButton->m_hWnd;
  EXPECT_TRUE(::IsWindowEnabled(Button()));
  EXPECT_FALSE(::IsWindowEnabled(hDisabledButton)) << "made like its edit";
  m_dlg.m_disabledEdit.EnableWindow(TRUE);
  EXPECT_TRUE(::IsWindowEnabled(hDisabledButton));
  m_dlg.m_edit.EnableWindow(FALSE);
  EXPECT_FALSE(::IsWindowEnabled(Button()));
  m_dlg.m_edit.EnableWindow(TRUE);
  EXPECT_TRUE(::IsWindowEnabled(Button()));
  m_dlg.m_edit.ShowWindow(SW_HIDE);
  EXPECT_FALSE(::IsWindowVisible(Button()));
  m_dlg.m_edit.ShowWindow(SW_SHOW);
  EXPECT_TRUE(::IsWindowVisible(Button()));
}

TEST_F(BrowseEdit, EditIsSubclassedByItsObject) {
  EXPECT_EQ(CWnd::FromHandlePermanent(::GetDlgItem(m_dlg.m_hWnd, kEdit)), &m_dlg.m_edit);
  EXPECT_EQ(m_dlg.m_edit.GetDlgCtrlID(), kEdit);
  SECBrowseDirEdit missing;
  EXPECT_FALSE(missing.Initialize(4242, &m_dlg));
  EXPECT_EQ(missing.m_pBrowseButton, nullptr);
  EXPECT_FALSE(m_dlg.m_edit.Initialize(kEdit, &m_dlg)) << "an edit has one button";
}

TEST_F(BrowseEdit, TitleIsTheSelectDirectoryString) { EXPECT_STREQ(m_dlg.m_edit.m_csTitle, "Select Directory"); }

TEST_F(BrowseEdit, OldStylePickerShowsOnlyFoldersAndFillsTheEditWithTheFolderChosen) {
  m_dir.Write("Sub Folder/inner.txt", "x");
  m_dlg.m_edit.SetWindowText(m_dir.Path().c_str());
  ModalAnswers answers;
  std::vector<int> hidden;
  std::string shownFolder, noClose;
  bool folderListHasFocus = false;
  std::vector<std::string> drives;
  answers.When(nullptr, kOldStyleCaption, [&](HWND h) {
    for (int nID : {stc3, edt1, lst1, stc2, cmb1})
      if (!::IsWindowVisible(::GetDlgItem(h, nID))) hidden.push_back(nID);
    shownFolder = TextOf(::GetDlgItem(h, stc1));
    noClose = TextOf(::GetDlgItem(h, edt1));
    folderListHasFocus = ::GetFocus() == ::GetDlgItem(h, lst2);
    HWND hDrives = ::GetDlgItem(h, cmb2);
    for (int i = 0; i < static_cast<int>(::SendMessage(hDrives, CB_GETCOUNT, 0, 0)); ++i) {
      char drive[MAX_PATH] = {};
      ::SendMessage(hDrives, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(drive));
      drives.push_back(drive);
    }
    DoubleClickFolder(h, "Sub Folder");
    Press(h, IDOK);
  });
  ClickBrowse();
  EXPECT_EQ(hidden, (std::vector<int>{stc3, edt1, lst1, stc2, cmb1}));
  EXPECT_EQ(shownFolder, m_dir.Path());
  EXPECT_EQ(noClose, "noclose");
  EXPECT_TRUE(folderListHasFocus);
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(drives.front(), "/");
  EXPECT_EQ(EditText(), m_dir.Path() + "/Sub Folder/") << "the folder part of the path the dialog returned";
  EXPECT_EQ(m_dlg.m_nButtonCommands, 0) << "the button handles its own click";
  EXPECT_TRUE(answers.Unanswered().empty());
}

TEST_F(BrowseEdit, ShellPickerStartsAtTheEditsFolderAndGivesTheChosenOneWithABackslash) {
  m_dir.Write("alpha/a.txt");
  m_dir.Write("beta/b.txt");
  m_dlg.m_edit.m_wPickerMode = 0;
  m_dlg.m_edit.SetWindowText((m_dir.Path() + "\\").c_str());
  ModalAnswers answers;
  std::string start;
  answers.When(nullptr, kShellCaption, [&](HWND h) {
    start = TextOf(::GetDlgItem(h, IDC_BROWSE_PATH));
    HWND hList = ::GetDlgItem(h, IDC_BROWSE_FOLDERS);
    ::SendMessage(hList, LB_SETCURSEL, ::SendMessage(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                     reinterpret_cast<LPARAM>("beta")), 0);
    ::SendMessage(h, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_FOLDERS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(hList));
    Press(h, IDOK);
  });
  ClickBrowse();
  EXPECT_EQ(start, m_dir.Path());
  EXPECT_EQ(EditText(), m_dir.Path() + "/beta\\");
}

// A drive starts either picker at the root; cancelling leaves the edit as it was.
TEST_F(BrowseEdit, DriveStartsAtTheRootAndCancelKeepsTheText) {
  struct Mode {
    WORD wMode;
    const char* pszCaption;
    int nFolderShown;
  };
  for (const Mode& mode : {Mode{SECDirSelectDlg::kOldStyle, kOldStyleCaption, stc1}, Mode{0, kShellCaption, IDC_BROWSE_PATH}}) {
    m_dlg.m_edit.m_wPickerMode = mode.wMode;
    m_dlg.m_edit.SetWindowText("C:");
    ModalAnswers answers;
    std::string start;
    answers.When(nullptr, mode.pszCaption, [&](HWND h) {
      start = TextOf(::GetDlgItem(h, mode.nFolderShown));
      Press(h, IDCANCEL);
    });
    ClickBrowse();
    EXPECT_EQ(start, "/") << mode.wMode;
    EXPECT_EQ(EditText(), "C:") << mode.wMode;
    EXPECT_TRUE(answers.Unanswered().empty());
  }
}

TEST_F(BrowseEdit, InitialFolderIsOnlyAFolderThatExists) {
  m_dir.Write("file.txt");
  const std::string root = m_dir.Path();
  struct Case {
    std::string text, folder;
  };
  const Case cases[] = {
      {"", ""},
      {root, root},
      {root + "\\", root},
      {root + "/", root},
      {"/", "/"},
      {"C:", "C:\\"},
      {"C:\\", "C:\\"},
      {root + "/file.txt", ""},
      {root + "/missing", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::string(LPCTSTR(SECBrowseDirEdit::InitialFolder(c.text.c_str()))), c.folder) << c.text;
}

// Listens to the browse edit's own messages for a while.
class KeyListener : public kelpwood::foundation::SECWndListener {
 public:
  int m_nChars = 0;

 protected:
  afx_msg void OnChar(UINT, UINT, UINT) { ++m_nChars; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(KeyListener, kelpwood::foundation::SECWndListener)
  ON_WM_CHAR()
END_MESSAGE_MAP()

TEST_F(BrowseEdit, EditKeepsWorkingAfterAListenerLeft) {
  for (CWnd* pListened : {static_cast<CWnd*>(&m_dlg.m_edit), static_cast<CWnd*>(&m_dlg)}) {
    m_dlg.m_edit.SetWindowText("");
    {
      KeyListener listener;
      ASSERT_TRUE(listener.PlugInTo(pListened));
      m_dlg.m_edit.SetFocus();
      brambolt::test::TypeText("ab");
      EXPECT_EQ(listener.m_nChars, pListened == &m_dlg.m_edit ? 2 : 0);
      listener.UnPlug();
    }
    m_dlg.m_edit.SetFocus();
    brambolt::test::TypeText("c");
    EXPECT_EQ(EditText(), "abc");
    EXPECT_EQ(CWnd::FromHandlePermanent(m_dlg.m_edit.m_hWnd), &m_dlg.m_edit);
    m_dlg.m_edit.EnableWindow(FALSE);
    EXPECT_FALSE(::IsWindowEnabled(Button())) << "the edit's own handlers still run";
    m_dlg.m_edit.EnableWindow(TRUE);

    m_dlg.m_edit.SetWindowText(m_dir.Path().c_str());
    ModalAnswers answers;
    answers.When(nullptr, kOldStyleCaption, [&](HWND h) { Press(h, IDOK); });
    ClickBrowse();
    EXPECT_EQ(EditText(), m_dir.Path() + "/") << "the button still browses";
  }
}

TEST_F(BrowseEdit, ButtonGoesWithTheDialog) {
  HWND hButton = Button();
  m_dlg.DestroyWindow();
  EXPECT_FALSE(::IsWindow(hButton));
  EXPECT_EQ(m_dlg.m_edit.m_pBrowseButton, nullptr);
  EXPECT_EQ(m_dlg.m_edit.m_hWnd, nullptr);
}

TEST(DirSelectDlg, GetPathNameGivesTheFolderPartOrTheShellsWholeFolder) {
  UiSession session;
  TempDir dir;
  dir.Write("Chosen/x.txt");
  for (WORD wMode : {SECDirSelectDlg::kOldStyle, WORD{0}}) {
    ModalAnswers answers;
    // The old-style dialog shows the title as its caption; the shell's browser above its folders.
    answers.When(nullptr, (wMode & SECDirSelectDlg::kOldStyle) ? "Where" : kShellCaption, [&](HWND h) {
      if (wMode & SECDirSelectDlg::kOldStyle) {
        DoubleClickFolder(h, "Chosen");
      } else {
        ::SetDlgItemText(h, IDC_BROWSE_PATH, (dir.Path() + "/Chosen").c_str());
      }
      Press(h, IDOK);
    });
    SECDirSelectDlg dlg(wMode, "Where", dir.Path().c_str(), nullptr);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    CString csPath;
    dlg.GetPathName(csPath);
    EXPECT_STREQ(csPath, (dir.Path() + (wMode ? "/Chosen/" : "/Chosen\\")).c_str());
  }
}

}  // namespace

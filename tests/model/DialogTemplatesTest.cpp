// The application's dialog templates: each opens headless with the controls its code binds, of
// the kinds the code drives, and the messages the dialogs show are in the string table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/controls.h"
#include "os/SystemInfo.h"
#include "res/Resources.h"
#include "resources/resource.h"
#include "testing/testing.h"
#include "win/win.h"

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT nMsg, WPARAM, LPARAM) { return nMsg == WM_INITDIALOG ? TRUE : FALSE; }

struct Item {
  int nId;
  const char* pszClass;
  const char* pszText;  // null: not checked
};

struct Template {
  int nId;
  const char* pszCaption;
  std::vector<Item> items;
};

std::string ClassOf(HWND hWnd) {
  char sz[64] = {};
  GetClassName(hWnd, sz, sizeof sz);
  return sz;
}

std::string TextOf(HWND hWnd) {
  char sz[256] = {};
  GetWindowText(hWnd, sz, sizeof sz);
  return sz;
}

const std::vector<Template>& Templates() {
  static const std::vector<Template> templates = {
      {IDD_GENHTML,
       "Options",
       {{IDC_LANGUAGE, "ComboBox", nullptr},
        {IDC_PROJECT_TITLE, "Edit", ""},
        {IDC_FUNC_PROTECTED, "Button", "P&rotected"},
        {IDC_FUNC_PUBLIC, "Button", "P&ublic"},
        {IDC_FUNC_PRIVATE, "Button", "Pri&vate"},
        {IDC_VAR_PROTECTED, "Button", "Prot&ected"},
        {IDC_VAR_PUBLIC, "Button", "Pu&blic"},
        {IDC_VAR_PRIVATE, "Button", "Priv&ate"},
        {IDC_REWRITE_ALL, "Button", "Rewrite &All Documentations"},
        {IDOK, "Button", "&OK"},
        {IDCANCEL, "Button", "&Cancel"}}},
      {IDD_COPYFILE_PROGRESS,
       "",
       {{IDC_ANIMATE, "SysAnimate32", nullptr}, {IDC_WAIT_TEXT, "Static", "Please wait..."}}},
      {IDD_ADD_FOLDER_PROGRESS,
       "",
       {{IDC_ANIMATE, "SysAnimate32", nullptr}, {IDC_WAIT_TEXT, "Static", "Please Wait..."}}},
      {IDD_GENHELP,
       "HTML Help",
       {{IDC_CONTENTS_FILE, "Edit", ""},
        {IDC_INDEX_FILE, "Edit", ""},
        {IDC_PROJECT_FILE, "Edit", ""},
        {IDC_HELP_TITLE, "Edit", ""},
        {IDC_COMPILED_FILE, "Edit", ""},
        {IDC_DEFAULT_FILE, "ComboBox", nullptr},
        {IDOK, "Button", "&OK"},
        {IDCANCEL, "Button", "&Cancel"}}},
      {IDD_ADD_LIVE_FOLDER,
       "Insert Files into Project",
       {{IDC_LOCATION, "Edit", ""},
        {IDC_FILE_TYPES, "ComboBox", nullptr},
        {IDC_LOOK_IN_SUBFOLDERS, "Button", "Look in &subfolders"},
        {IDOK, "Button", "&OK"},
        {IDCANCEL, "Button", "&Cancel"}}},
      {IDD_AUTO_GEN_HELP,
       "Please select a folder",
       {{IDC_CURRENT_LOCATION, "Edit", ""},
        {IDC_SOURCE_FOLDER, "Edit", ""},
        {IDC_LOOK_IN_SUBFOLDERS, "Button", "Look &in subfolders"},
        {IDOK, "Button", "&OK"},
        {IDCANCEL, "Button", "&Cancel"}}},
  };
  return templates;
}

TEST(DialogTemplates, EachOpensWithTheControlsItsCodeBinds) {
  brambolt::test::UiSession session;
  InitCommonControls();
  for (const Template& t : Templates()) {
    SCOPED_TRACE(t.nId);
    HWND hDlg = CreateDialogParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(t.nId), nullptr, PlainDialogProc, 0);
    ASSERT_NE(hDlg, nullptr);
    EXPECT_EQ(TextOf(hDlg), t.pszCaption);
    for (const Item& item : t.items) {
      SCOPED_TRACE(item.nId);
      HWND hItem = GetDlgItem(hDlg, item.nId);
      ASSERT_NE(hItem, nullptr);
      EXPECT_STRCASEEQ(ClassOf(hItem).c_str(), item.pszClass);
      if (item.pszText != nullptr) {
        EXPECT_EQ(TextOf(hItem), item.pszText);
      }
    }
    DestroyWindow(hDlg);
  }
}

TEST(DialogTemplates, DropListsAreListsAndTheDefaultFileListIsSorted) {
  brambolt::test::UiSession session;
  InitCommonControls();
  struct Case {
    int nDialog;
    int nList;
    bool bSorted;
  };
  for (const Case& c : {Case{IDD_GENHTML, IDC_LANGUAGE, false}, Case{IDD_GENHELP, IDC_DEFAULT_FILE, true},
                        Case{IDD_ADD_LIVE_FOLDER, IDC_FILE_TYPES, false}}) {
    SCOPED_TRACE(c.nDialog);
    HWND hDlg = CreateDialogParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(c.nDialog), nullptr, PlainDialogProc, 0);
    ASSERT_NE(hDlg, nullptr);
    const LONG style = GetWindowLong(GetDlgItem(hDlg, c.nList), GWL_STYLE);
    EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ((style & CBS_SORT) != 0, c.bSorted);
    DestroyWindow(hDlg);
  }
}

TEST(DialogTemplates, TheSourceFolderIsEditableAndTheCurrentLocationIsNot) {
  brambolt::test::UiSession session;
  InitCommonControls();
  HWND hDlg =
      CreateDialogParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_AUTO_GEN_HELP), nullptr, PlainDialogProc, 0);
  ASSERT_NE(hDlg, nullptr);
  EXPECT_NE(GetWindowLong(GetDlgItem(hDlg, IDC_CURRENT_LOCATION), GWL_STYLE) & ES_READONLY, 0);
  EXPECT_EQ(GetWindowLong(GetDlgItem(hDlg, IDC_SOURCE_FOLDER), GWL_STYLE) & ES_READONLY, 0);
  DestroyWindow(hDlg);
}

TEST(DialogTemplates, TheDialogsMessagesAreInTheStringTable) {
  struct Case {
    UINT nId;
    const char* pszText;
  };
  const Case cases[] = {
      {IDS_SELECT_FILE_PATH, "Select a file path before you click \"Next\" button"},
      {IDS_NEED_DEFAULT_FILE, "You must specify a default HTML file for the HTML Help Project file you want to create."},
      {IDS_NEED_COMPILED_FILE,
       "You must specify a Compiled file name for the HTML Help Project file you want to create."},
      {IDS_LANGUAGE_CHS, "Simple Chinese(China)"},
      {IDS_LANGUAGE_CHT, "GB5(TaiWan)"},
      {IDS_LANGUAGE_ENG, "English(U.S.A)"},
  };
  for (const Case& c : cases) {
    char sz[256] = {};
    ASSERT_GT(LoadString(GetModuleHandle(nullptr), c.nId, sz, sizeof sz), 0) << c.nId;
    EXPECT_STREQ(sz, c.pszText);
  }
}

}  // namespace

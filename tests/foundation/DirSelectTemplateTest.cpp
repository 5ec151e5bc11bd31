// The directory picker's dialog template and texts, and a dialog's edit subclassed by a window
// object while a listener hooks the dialog itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/afx.h"
#include "foundation/SECWndListener.h"
#include "res/Resources.h"
#include "testing/testing.h"

using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;
using kelpwood::foundation::SECWndListener;

namespace {

constexpr UINT kDirSelectTemplate = 2000;
constexpr UINT kNoCloseString = 20624;
constexpr UINT kSelectDirectoryString = 20625;
constexpr int kFileNameEdit = 1152;

INT_PTR CALLBACK PlainDlgProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

HWND MakeDirSelectDialog() {
  return ::CreateDialogParam(brambolt::ProgramResourceModule(), MAKEINTRESOURCE(kDirSelectTemplate), nullptr,
                             &PlainDlgProc, 0);
}

std::string ClassOf(HWND hWnd) {
  char name[64] = {};
  ::GetClassName(hWnd, name, sizeof name);
  return name;
}

std::string TextOf(HWND hWnd) {
  char text[128] = {};
  ::GetWindowText(hWnd, text, sizeof text);
  return text;
}

TEST(DirSelectTemplate, HasTheControlsOfTheOldStyleFileDialog) {
  UiSession session;
  HWND dialog = MakeDirSelectDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TextOf(dialog), "Select Directory");
  struct Control {
    int id;
    const char* className;
    const char* text;
  };
  const Control controls[] = {
      {1090, "Static", "File &name:"}, {1152, "Edit", ""},
      {1120, "ListBox", ""},           {1088, "Static", ""},
      {1121, "ListBox", ""},           {1089, "Static", "List files of &type:"},
      {1136, "ComboBox", ""},          {1091, "Static", "Dri&ves:"},
      {1137, "ComboBox", ""},          {IDOK, "Button", "OK"},
      {IDCANCEL, "Button", "Cancel"},  {1038, "Button", "&Help"},
      {1040, "Button", "&Read only"},  {1037, "Button", "Net&work..."},
  };
  for (const Control& control : controls) {
    HWND item = ::GetDlgItem(dialog, control.id);
    ASSERT_NE(item, nullptr) << control.id;
    EXPECT_STRCASEEQ(ClassOf(item).c_str(), control.className) << control.id;
    EXPECT_EQ(TextOf(item), control.text) << control.id;
  }
  ::DestroyWindow(dialog);
}

TEST(DirSelectTemplate, TextsOfThePicker) {
  char text[64] = {};
  ASSERT_GT(::LoadString(brambolt::ProgramResourceModule(), kNoCloseString, text, sizeof text), 0);
  EXPECT_STREQ(text, "noclose");
  ASSERT_GT(::LoadString(brambolt::ProgramResourceModule(), kSelectDirectoryString, text, sizeof text), 0);
  EXPECT_STREQ(text, "Select Directory");
}

// Counts the characters that reach the edit, then lets the edit handle them.
class EditWatcher : public CWnd {
 public:
  std::string typed;

 protected:
  afx_msg void OnChar(UINT nChar, UINT, UINT) {
    typed += static_cast<char>(nChar);
    Default();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(EditWatcher, CWnd)
  ON_WM_CHAR()
END_MESSAGE_MAP()

// Hears the edit's change notifications at the dialog.
class ChangeListener : public SECWndListener {
 public:
  int changes = 0;

 protected:
  afx_msg void OnEditChange() { ++changes; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ChangeListener, SECWndListener)
  ON_EN_CHANGE(kFileNameEdit, OnEditChange)
END_MESSAGE_MAP()

TEST(DialogEdit, SubclassedEditAndListenedDialogBothSeeTyping) {
  UiSession session;
  HWND dialog = MakeDirSelectDialog();
  ASSERT_NE(dialog, nullptr);
  ::ShowWindow(dialog, SW_SHOW);
  CWnd* parent = CWnd::FromHandle(dialog);

  EditWatcher edit;
  ASSERT_TRUE(edit.SubclassDlgItem(kFileNameEdit, parent));
  EXPECT_EQ(CWnd::FromHandlePermanent(edit.m_hWnd), &edit);
  ChangeListener listener;
  ASSERT_TRUE(listener.PlugInTo(parent));

  edit.SetFocus();
  brambolt::test::TypeText("abc");
  RunUntilIdle();
  EXPECT_EQ(edit.typed, "abc");
  EXPECT_EQ(TextOf(edit.m_hWnd), "abc") << "the edit itself still works";
  EXPECT_EQ(listener.changes, 3);

  listener.UnPlug();
  EXPECT_EQ(edit.UnsubclassWindow(), ::GetDlgItem(dialog, kFileNameEdit));
  brambolt::test::TypeText("d");
  EXPECT_EQ(edit.typed, "abc");
  EXPECT_EQ(TextOf(::GetDlgItem(dialog, kFileNameEdit)), "abcd");
  ::DestroyWindow(dialog);
}

}  // namespace

// Shortcut keys: hot-key values and accelerator entries both ways, assigning (overwriting an
// equal key), removing and resetting in the dialogs, reserved keys, key texts, and the table
// saved to an archive and read back.
#include <gtest/gtest.h>

#include "bars/SECShortcutDlg.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

constexpr UINT kCmdOpen = 24380, kCmdSave = 24381;

TEST(Shortcut, HotKeysAndAcceleratorEntriesConvertBothWays) {
  struct Case {
    WORD hotKey;
    BYTE fVirt;
    WORD backAgain;
  };
  const Case cases[] = {
      {MAKEWORD('A', HOTKEYF_CONTROL | HOTKEYF_SHIFT), FVIRTKEY | FNOINVERT | FCONTROL | FSHIFT, 0},
      {MAKEWORD(VK_F5, HOTKEYF_ALT), FVIRTKEY | FNOINVERT | FALT, 0},
      {MAKEWORD(VK_DELETE, 0), FVIRTKEY | FNOINVERT, MAKEWORD(VK_DELETE, HOTKEYF_EXT)},
      {MAKEWORD(VK_HOME, HOTKEYF_CONTROL), FVIRTKEY | FNOINVERT | FCONTROL, MAKEWORD(VK_HOME, HOTKEYF_CONTROL | HOTKEYF_EXT)},
      {MAKEWORD(VK_LWIN, 0), FVIRTKEY | FNOINVERT, MAKEWORD(VK_LWIN, HOTKEYF_EXT)},
      {MAKEWORD(VK_DIVIDE, 0), FVIRTKEY | FNOINVERT, MAKEWORD(VK_DIVIDE, HOTKEYF_EXT)},
      {MAKEWORD(VK_MULTIPLY, 0), FVIRTKEY | FNOINVERT, 0},
  };
  for (const Case& c : cases) {
    ACCEL accel;
    SECAccelTable::HotKeyToAccel(c.hotKey, accel);
    EXPECT_EQ(c.fVirt, accel.fVirt) << c.hotKey;
    EXPECT_EQ(LOBYTE(c.hotKey), accel.key);
    WORD back = 0;
    SECAccelTable::AccelToHotKey(accel, back);
    EXPECT_EQ(c.backAgain != 0 ? c.backAgain : c.hotKey, back) << c.hotKey;
  }
  CString text;
  SECAccelTable::HotKeyText(MAKEWORD('K', HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT), text);
  EXPECT_EQ(SECAccelTable::KeyName(VK_CONTROL, FALSE) + "+" + SECAccelTable::KeyName(VK_MENU, FALSE) + "+" +
                SECAccelTable::KeyName(VK_SHIFT, FALSE) + "+" + SECAccelTable::KeyName('K', FALSE),
            text);
  EXPECT_FALSE(SECAccelTable::KeyName('K', FALSE).IsEmpty());
  SECAccelTable::HotKeyText(0, text);
  EXPECT_TRUE(text.IsEmpty());
  const struct {
    WORD hotKey;
    BOOL reserved;
  } reserved[] = {{MAKEWORD(VK_F1, 0), TRUE},          {MAKEWORD(VK_F1, HOTKEYF_SHIFT), TRUE},
                  {MAKEWORD(VK_F4, HOTKEYF_ALT), TRUE}, {MAKEWORD(VK_F6, HOTKEYF_CONTROL), TRUE},
                  {MAKEWORD(VK_F4, 0), FALSE},          {MAKEWORD(VK_F2, HOTKEYF_ALT), FALSE}};
  for (const auto& r : reserved) EXPECT_EQ(r.reserved, SECAssignKeyDlg::IsReservedKey(r.hotKey)) << r.hotKey;
}

// A current table of Ctrl+O for Open.
struct CurrentTable {
  HACCEL table;
  CurrentTable() {
    ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'O', static_cast<WORD>(kCmdOpen)}};
    table = ::CreateAcceleratorTable(entries, 1);
    SECAccelTable::SetCurrentTable(table);
  }
  ~CurrentTable() {
    SECAccelTable::SetCurrentTable(nullptr);
    ::DestroyAcceleratorTable(table);
  }
};

TEST(Shortcut, DialogAssignsRemovesAndResetsKeysThatSurviveAnArchive) {
  UiSession session;
  CurrentTable current;
  SECCommandList commands;
  commands.Add(kCmdOpen, "FileOpen", "Opens a file");
  commands.Add(kCmdSave, "FileSave", "Saves the file");
  SECAccelTable table;
  table.LoadCurrentTable();
  ASSERT_EQ(1, table.GetSize());

  ModalAnswers answers;
  CString assignment;
  // Ctrl+O goes to Save (taken from Open), then Ctrl+Shift+S is added for Save too.
  auto assign = [&](WORD hotKey) {
    return [&, hotKey](HWND hwnd) {
      ::SendDlgItemMessage(hwnd, SECAssignKeyDlg::kHotKey, HKM_SETHOTKEY, hotKey, 0);
      ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(SECAssignKeyDlg::kHotKey, EN_CHANGE),
                    reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, SECAssignKeyDlg::kHotKey)));
      char text[128] = {};
      ::GetDlgItemText(hwnd, SECAssignKeyDlg::kAssignment, text, sizeof(text));
      assignment += CString(text) + ";";
      ::SendMessage(hwnd, WM_COMMAND, IDOK, 0);
    };
  };
  answers.When(nullptr, "Assign Shortcut", assign(MAKEWORD('O', HOTKEYF_CONTROL)));
  answers.When(nullptr, "Assign Shortcut", assign(MAKEWORD('S', HOTKEYF_CONTROL | HOTKEYF_SHIFT)));
  answers.When(nullptr, "Shortcut Keys", [&](HWND hwnd) {
    HWND list = ::GetDlgItem(hwnd, SECShortcutDlg::kCommands);
    ::SendMessage(list, LB_SETCURSEL, 1, 0);
    ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(SECShortcutDlg::kCommands, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    char description[64] = {};
    ::GetDlgItemText(hwnd, SECShortcutDlg::kDescription, description, sizeof(description));
    EXPECT_STREQ("Saves the file", description);
    ::SendMessage(hwnd, WM_COMMAND, SECShortcutDlg::kCreate, 0);
    ::SendMessage(hwnd, WM_COMMAND, SECShortcutDlg::kCreate, 0);
    EXPECT_EQ(2, ::SendDlgItemMessage(hwnd, SECShortcutDlg::kShortcuts, LB_GETCOUNT, 0, 0));
    ::SendMessage(hwnd, WM_COMMAND, IDOK, 0);
  });
  SECShortcutDlg dialog(commands, table);
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_TRUE(dialog.m_bChanged);
  EXPECT_EQ(CString("Opens a file;(Unassigned);"), assignment);
  ASSERT_EQ(2, table.GetSize());
  EXPECT_EQ(kCmdSave, table.GetAt(0).cmd) << "the existing entry for the key is overwritten";
  EXPECT_EQ(kCmdSave, table.GetAt(1).cmd);

  CMemFile file;
  {
    CArchive out(&file, CArchive::store);
    table.Serialize(out);
  }
  file.SeekToBegin();
  SECAccelTable reloaded;
  {
    CArchive in(&file, CArchive::load);
    reloaded.Serialize(in);
  }
  ASSERT_EQ(2, reloaded.GetSize());
  EXPECT_EQ(table.GetAt(1).fVirt, reloaded.GetAt(1).fVirt);
  EXPECT_EQ(WORD('S'), reloaded.GetAt(1).key);
  HACCEL made = reloaded.CreateTable();
  EXPECT_EQ(2, ::CopyAcceleratorTable(made, nullptr, 0));
  ::DestroyAcceleratorTable(made);

  // Remove without a selection is refused; with one it removes; Reset All brings back Ctrl+O.
  // (The message boxes are dialogs too: their rules come after the dialog's.)
  answers.When(nullptr, "Shortcut Keys", [&](HWND hwnd) {
    HWND list = ::GetDlgItem(hwnd, SECShortcutDlg::kCommands);
    ::SendMessage(list, LB_SETCURSEL, 1, 0);
    ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(SECShortcutDlg::kCommands, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    ::SendMessage(hwnd, WM_COMMAND, SECShortcutDlg::kRemove, 0);
    EXPECT_EQ(2, table.GetSize());
    ::SendDlgItemMessage(hwnd, SECShortcutDlg::kShortcuts, LB_SETCURSEL, 1, 0);
    ::SendMessage(hwnd, WM_COMMAND, SECShortcutDlg::kRemove, 0);
    EXPECT_EQ(1, table.GetSize());
    ::SendMessage(hwnd, WM_COMMAND, SECShortcutDlg::kResetAll, 0);
    ::SendMessage(hwnd, WM_COMMAND, IDOK, 0);
  });
  int boxes = 0;
  answers.When("#32770", nullptr, [&](HWND box) {
    ++boxes;
    ::SendMessage(box, WM_COMMAND, IDOK, 0);
  }, true);
  SECShortcutDlg again(commands, table);
  EXPECT_EQ(IDOK, again.DoModal());
  EXPECT_EQ(2, boxes) << "the refused Remove and the Reset All question";
  ASSERT_EQ(1, table.GetSize());
  EXPECT_EQ(kCmdOpen, table.GetAt(0).cmd);
}

}  // namespace

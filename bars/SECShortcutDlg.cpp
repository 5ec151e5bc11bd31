// The shortcut-key dialogs: listing commands and their keys, assigning a key read by the hot-key
// control (reserved keys refused), removing a key and resetting to the current table.
#include "bars/SECShortcutDlg.h"

#include "resources/Menus.h"

IMPLEMENT_DYNAMIC(SECAssignKeyDlg, CDialog)
IMPLEMENT_DYNAMIC(SECShortcutDlg, CDialog)

void SECCommandList::Add(UINT nID, LPCTSTR lpszName, LPCTSTR lpszDescription) {
  Entry entry;
  entry.nID = nID;
  entry.strName = lpszName;
  entry.strDescription = lpszDescription;
  m_entries.Add(entry);
}

int SECCommandList::Find(UINT nID) const {
  for (int i = 0; i < GetSize(); ++i)
    if (m_entries[i].nID == nID) return i;
  return -1;
}

// ---- Assign Shortcut ----

BEGIN_MESSAGE_MAP(SECAssignKeyDlg, CDialog)
  ON_EN_CHANGE(SECAssignKeyDlg::kHotKey, OnKeyChange)
END_MESSAGE_MAP()

SECAssignKeyDlg::SECAssignKeyDlg(const SECCommandList& commands, const SECAccelTable& table, CWnd* pParent)
    : CDialog(IDD, pParent), m_commands(commands), m_table(table) {}

BOOL SECAssignKeyDlg::IsReservedKey(WORD wHotKey) {
  const BYTE key = LOBYTE(wHotKey);
  const BYTE modifiers = HIBYTE(wHotKey) & (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT);
  return key == VK_F1 || ((key == VK_F4 || key == VK_F6) && modifiers != 0);
}

BOOL SECAssignKeyDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendDlgItemMessage(kHotKey, HKM_SETRULES, m_commands.m_wInvalidComb, MAKELPARAM(m_commands.m_wModifiers, 0));
  OnKeyChange();
  return TRUE;
}

void SECAssignKeyDlg::OnKeyChange() {
  WORD hotKey = static_cast<WORD>(SendDlgItemMessage(kHotKey, HKM_GETHOTKEY));
  const BYTE key = LOBYTE(hotKey);
  // Pause and the lock keys cannot be shortcuts: the control is cleared of them.
  if (key == VK_PAUSE || key == VK_NUMLOCK || key == VK_SCROLL) {
    SendDlgItemMessage(kHotKey, HKM_SETHOTKEY, 0);
    hotKey = 0;
  }
  const BOOL hasKey = LOBYTE(hotKey) != 0;
  GetDlgItem(kAssignment)->ShowWindow(hasKey ? SW_SHOW : SW_HIDE);
  GetDlgItem(kAssignmentLabel)->ShowWindow(hasKey ? SW_SHOW : SW_HIDE);
  GetDlgItem(IDOK)->EnableWindow(hasKey);
  if (!hasKey) return;
  CString text;
  const int entry = m_table.FindKey(hotKey);
  if (entry < 0) {
    text.LoadString(IDS_SEC_UNASSIGNED);
  } else {
    const int command = m_commands.Find(m_table.GetAt(entry).cmd);
    if (command < 0)
      text.LoadString(IDS_SEC_NO_DESCRIPTION);
    else
      text = m_commands.GetAt(command).strDescription;
  }
  SetDlgItemText(kAssignment, text);
}

void SECAssignKeyDlg::OnOK() {
  const WORD hotKey = static_cast<WORD>(SendDlgItemMessage(kHotKey, HKM_GETHOTKEY));
  if (IsReservedKey(hotKey)) {
    AfxMessageBox(IDS_SEC_RESERVED_KEY, MB_OK | MB_ICONEXCLAMATION);
    GetDlgItem(kHotKey)->SetFocus();
    return;
  }
  m_wHotKey = hotKey;
  CDialog::OnOK();
}

// ---- Shortcut Keys ----

BEGIN_MESSAGE_MAP(SECShortcutDlg, CDialog)
  ON_LBN_SELCHANGE(SECShortcutDlg::kCommands, OnSelectCommand)
  ON_LBN_DBLCLK(SECShortcutDlg::kCommands, OnCreateShortcut)
  ON_BN_CLICKED(SECShortcutDlg::kCreate, OnCreateShortcut)
  ON_BN_CLICKED(SECShortcutDlg::kRemove, OnRemoveShortcut)
  ON_BN_CLICKED(SECShortcutDlg::kResetAll, OnResetAll)
END_MESSAGE_MAP()

SECShortcutDlg::SECShortcutDlg(const SECCommandList& commands, SECAccelTable& table, CWnd* pParent)
    : CDialog(IDD, pParent), m_commands(commands), m_table(table) {}

BOOL SECShortcutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  auto* list = static_cast<CListBox*>(GetDlgItem(kCommands));
  for (int i = 0; i < m_commands.GetSize(); ++i) {
    const int item = list->AddString(m_commands.GetAt(i).strName);
    list->SetItemData(item, m_commands.GetAt(i).nID);
  }
  OnSelectCommand();
  return TRUE;
}

UINT SECShortcutDlg::SelectedCommand() {
  auto* list = static_cast<CListBox*>(GetDlgItem(kCommands));
  const int selection = list->GetCurSel();
  return selection == LB_ERR ? 0 : static_cast<UINT>(list->GetItemData(selection));
}

void SECShortcutDlg::FillShortcuts() {
  auto* shortcuts = static_cast<CListBox*>(GetDlgItem(kShortcuts));
  shortcuts->ResetContent();
  const UINT command = SelectedCommand();
  if (command == 0) return;
  for (int i = 0; i < m_table.GetSize(); ++i) {
    if (m_table.GetAt(i).cmd != command) continue;
    WORD hotKey;
    SECAccelTable::AccelToHotKey(m_table.GetAt(i), hotKey);
    CString text;
    SECAccelTable::HotKeyText(hotKey, text);
    const int item = shortcuts->AddString(text);
    shortcuts->SetItemData(item, static_cast<DWORD_PTR>(i));
  }
}

void SECShortcutDlg::OnSelectCommand() {
  const int entry = m_commands.Find(SelectedCommand());
  SetDlgItemText(kDescription, entry >= 0 ? static_cast<LPCTSTR>(m_commands.GetAt(entry).strDescription) : "");
  FillShortcuts();
}

void SECShortcutDlg::OnCreateShortcut() {
  const UINT command = SelectedCommand();
  if (command == 0) {
    AfxMessageBox(IDS_SEC_CREATE_NEEDS_MACRO, MB_OK | MB_ICONINFORMATION);
    GetDlgItem(kCommands)->SetFocus();
    return;
  }
  SECAssignKeyDlg dialog(m_commands, m_table, this);
  if (dialog.DoModal() != IDOK) return;
  m_table.SetCommandKey(dialog.m_wHotKey, command);
  m_bChanged = TRUE;
  OnSelectCommand();
}

void SECShortcutDlg::OnRemoveShortcut() {
  auto* shortcuts = static_cast<CListBox*>(GetDlgItem(kShortcuts));
  const int selection = shortcuts->GetCurSel();
  if (selection == LB_ERR) {
    AfxMessageBox(IDS_SEC_REMOVE_NEEDS_SHORTCUT, MB_OK | MB_ICONINFORMATION);
    return;
  }
  m_table.RemoveAt(static_cast<int>(shortcuts->GetItemData(selection)));
  m_bChanged = TRUE;
  FillShortcuts();
}

void SECShortcutDlg::OnResetAll() {
  if (AfxMessageBox(IDS_SEC_RESET_ALL_KEYS, MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL) return;
  m_table.LoadCurrentTable();
  m_bChanged = TRUE;
  OnSelectCommand();
}

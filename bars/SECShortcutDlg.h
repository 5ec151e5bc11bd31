// The "Shortcut Keys" dialog (SECShortcutDlg), which lists commands and the keys assigned to
// them, and the "Assign Shortcut" dialog (SECAssignKeyDlg) that reads a new key; SECCommandList,
// the commands they offer with their descriptions.
#pragma once

#include "afx/afx.h"
#include "bars/SECAccelTable.h"

class SECCommandList {
 public:
  struct Entry {
    UINT nID = 0;
    CString strName;
    CString strDescription;
  };
  void Add(UINT nID, LPCTSTR lpszName, LPCTSTR lpszDescription);
  int GetSize() const { return static_cast<int>(m_entries.GetSize()); }
  const Entry& GetAt(int nIndex) const { return m_entries[nIndex]; }
  // The entry of a command, -1 when it is not listed.
  int Find(UINT nID) const;

  // Rules of the hot-key control: combinations it refuses (HKCOMB_) and the modifiers it puts
  // in their place.
  WORD m_wInvalidComb = 0;
  WORD m_wModifiers = 0;

 private:
  CArray<Entry, const Entry&> m_entries;
};

class SECAssignKeyDlg : public CDialog {
  DECLARE_DYNAMIC(SECAssignKeyDlg)

 public:
  enum { IDD = 20508 };
  static constexpr UINT kHotKey = 43069, kAssignment = 43070, kAssignmentLabel = 43071;

  SECAssignKeyDlg(const SECCommandList& commands, const SECAccelTable& table, CWnd* pParent = nullptr);

  // The key chosen (a hot-key value), read when the dialog ends with OK.
  WORD m_wHotKey = 0;

  // F1 in any form, and F4 or F6 with a modifier, stay with the system.
  static BOOL IsReservedKey(WORD wHotKey);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnKeyChange();
  DECLARE_MESSAGE_MAP()

  const SECCommandList& m_commands;
  const SECAccelTable& m_table;
};

class SECShortcutDlg : public CDialog {
  DECLARE_DYNAMIC(SECShortcutDlg)

 public:
  enum { IDD = 20507 };
  static constexpr UINT kCreate = 43063, kRemove = 43064, kShortcuts = 43065, kDescription = 43066,
                        kResetAll = 43067, kCommands = 43068;

  SECShortcutDlg(const SECCommandList& commands, SECAccelTable& table, CWnd* pParent = nullptr);

  // TRUE once a key was assigned, removed or the keys were reset.
  BOOL m_bChanged = FALSE;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnSelectCommand();
  afx_msg void OnCreateShortcut();
  afx_msg void OnRemoveShortcut();
  afx_msg void OnResetAll();
  DECLARE_MESSAGE_MAP()

  // The command selected in the list, 0 when none is.
  UINT SelectedCommand();
  void FillShortcuts();

  const SECCommandList& m_commands;
  SECAccelTable& m_table;
};

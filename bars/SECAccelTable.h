// SECAccelTable: the keyboard shortcuts of the current accelerator table as an editable array,
// with the conversions between ACCEL entries, hot-key values and key names.
#pragma once

#include "afx/afx.h"

class SECAccelTable {
 public:
  SECAccelTable() = default;

  // The table shortcuts are taken from: the one set here, else the main frame's.
  static void SetCurrentTable(HACCEL hAccel) { s_hAccelTable = hAccel; }
  static HACCEL GetCurrentTable();

  // Copies every entry of the current table (empty when there is none).
  void LoadCurrentTable();
  // The key gets the command: an entry with the same key and modifiers is given it, else a new
  // entry is appended.
  void SetCommandKey(WORD wHotKey, UINT nCommand);
  void RemoveAt(int nIndex);
  void RemoveAll() { m_entries.SetSize(0); }
  int GetSize() const { return static_cast<int>(m_entries.GetSize()); }
  const ACCEL& GetAt(int nIndex) const { return m_entries[nIndex]; }
  // The index of the entry with this key and these modifiers, -1 when none has them.
  int FindKey(WORD wHotKey) const;
  // A new table of the entries; the caller destroys it. NULL when the array is empty.
  HACCEL CreateTable() const;
  // The entries in an archive: a count, then flags, key and command of each.
  void Serialize(CArchive& ar);

  static void HotKeyToAccel(WORD wHotKey, ACCEL& accel);
  static void AccelToHotKey(const ACCEL& accel, WORD& wHotKey);
  static CString KeyName(UINT nVirtualKey, BOOL bExtended);
  static void HotKeyText(WORD wHotKey, CString& strText);

 private:
  // CArray's own growth: an eighth of its size, at least 4 and at most 1024 entries at a time.
  CArray<ACCEL, const ACCEL&> m_entries;
  static HACCEL s_hAccelTable;
};

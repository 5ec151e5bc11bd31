// CRegKeyHolder: the application's small registry key holder, one open key at a time, with
// string values read and written directly or through a subkey opened for the one call.
#pragma once

#include "afx/afx.h"

class CRegKeyHolder {
 public:
  CRegKeyHolder() = default;
  ~CRegKeyHolder() { Close(); }
  CRegKeyHolder(const CRegKeyHolder&) = delete;
  CRegKeyHolder& operator=(const CRegKeyHolder&) = delete;

  // Opens (RegOpenKeyEx) or creates (RegCreateKeyEx) the key and holds it, closing the one held
  // before; the key, or 0 when that failed.
  HKEY Open(HKEY hRoot, LPCTSTR lpszSubKey, REGSAM samAccess = KEY_READ);
  HKEY Create(HKEY hRoot, LPCTSTR lpszSubKey, REGSAM samAccess = KEY_WRITE);
  void Close();
  HKEY GetKey() const { return m_hKey; }

  // Reads a REG_SZ, REG_EXPAND_SZ, REG_LINK or REG_MULTI_SZ value; FALSE (and the string
  // emptied) for any other type or when there is no such value. With a subkey, the subkey of
  // the held key is opened for reading for this call.
  BOOL QueryString(LPCTSTR lpszValueName, CString& strValue, LPCTSTR lpszSubKey = nullptr);
  // Writes the text as REG_SZ (its length plus the terminating zero). With a subkey, the subkey
  // of the held key is created for this call.
  BOOL SetString(LPCTSTR lpszValueName, LPCTSTR lpszText, LPCTSTR lpszSubKey = nullptr);

 private:
  HKEY m_hKey = nullptr;
};

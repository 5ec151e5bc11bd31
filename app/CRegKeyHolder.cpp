// The application's registry key holder.
#include "app/CRegKeyHolder.h"

#include <string>

HKEY CRegKeyHolder::Open(HKEY hRoot, LPCTSTR lpszSubKey, REGSAM samAccess) {
  Close();
  if (::RegOpenKeyExA(hRoot, lpszSubKey, 0, samAccess, &m_hKey) != ERROR_SUCCESS) m_hKey = nullptr;
  return m_hKey;
}

HKEY CRegKeyHolder::Create(HKEY hRoot, LPCTSTR lpszSubKey, REGSAM samAccess) {
  Close();
  DWORD dwDisposition = 0;
  if (::RegCreateKeyExA(hRoot, lpszSubKey, 0, nullptr, 0, samAccess, nullptr, &m_hKey, &dwDisposition) !=
      ERROR_SUCCESS)
    m_hKey = nullptr;
  return m_hKey;
}

void CRegKeyHolder::Close() {
  if (m_hKey != nullptr) ::RegCloseKey(m_hKey);
  m_hKey = nullptr;
}

BOOL CRegKeyHolder::QueryString(LPCTSTR lpszValueName, CString& strValue, LPCTSTR lpszSubKey) {
  strValue.Empty();
  if (m_hKey == nullptr) return FALSE;
  CRegKeyHolder sub;
  HKEY hKey = m_hKey;
  if (lpszSubKey != nullptr && (hKey = sub.Open(m_hKey, lpszSubKey, KEY_READ)) == nullptr) return FALSE;
  DWORD dwType = 0;
  std::string text;
  if (brambolt::ReadRegistryString(hKey, lpszValueName, text, &dwType) != ERROR_SUCCESS) return FALSE;
  if (dwType != REG_SZ && dwType != REG_EXPAND_SZ && dwType != REG_LINK && dwType != REG_MULTI_SZ) return FALSE;
  strValue = CString(text.data(), static_cast<int>(text.size()));
  return TRUE;
}

BOOL CRegKeyHolder::SetString(LPCTSTR lpszValueName, LPCTSTR lpszText, LPCTSTR lpszSubKey) {
  if (m_hKey == nullptr) return FALSE;
  CRegKeyHolder sub;
  HKEY hKey = m_hKey;
  if (lpszSubKey != nullptr && (hKey = sub.Create(m_hKey, lpszSubKey, KEY_WRITE)) == nullptr) return FALSE;
  const CString strText = lpszText != nullptr ? lpszText : "";
  return ::RegSetValueExA(hKey, lpszValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<LPCTSTR>(strText)),
                          static_cast<DWORD>(strText.GetLength() + 1)) == ERROR_SUCCESS;
}

// SECRegistry: one connection to a registry root and one open key below it, with typed value
// access, enumeration, subtree deletion and the hive and security calls of the registry API.
#pragma once

#include <vector>

#include "base/base.h"
#include "core/Arrays.h"
#include "core/CObject.h"
#include "core/CString.h"
#include "core/CTime.h"
#include "os/Registry.h"

// Every operation stores the Win32 result in m_lErrorCode and returns TRUE when it is
// ERROR_SUCCESS; callers read m_lErrorCode for the reason of a failure.
class SECRegistry : public CObject {
  DECLARE_DYNAMIC(SECRegistry)

 public:
  SECRegistry();
  ~SECRegistry() override;

  void Serialize(CArchive& ar) override;

  virtual void Initialize();
  virtual BOOL Create(LPCTSTR lpszSubKey, LPCTSTR lpszClass = nullptr, DWORD dwOptions = REG_OPTION_NON_VOLATILE,
                      REGSAM samDesired = KEY_ALL_ACCESS, LPSECURITY_ATTRIBUTES lpSecurityAttributes = nullptr,
                      LPDWORD lpdwDisposition = nullptr);
  virtual BOOL Close();
  virtual BOOL Connect(HKEY hRootKey = HKEY_CURRENT_USER, LPCTSTR lpszComputerName = nullptr,
                       BOOL bCloseRoot = TRUE);
  virtual BOOL DeleteKey(LPCTSTR lpszSubKey, BOOL bRecursive = FALSE);
  virtual BOOL DeleteValue(LPCTSTR lpszValueName);
  // Returns the Win32 code itself (also stored).
  virtual LONG EnumKeyRaw(DWORD dwIndex, LPTSTR lpszName, LPDWORD lpcchName, LPTSTR lpszClass,
                          LPDWORD lpcchClass);
  virtual BOOL EnumKey(DWORD dwIndex, CString& strName, CString& strClassName);
  virtual BOOL EnumKey(DWORD dwIndex, CString& strName);
  virtual BOOL EnumValue(DWORD dwIndex, CString& strName, DWORD& dwType, LPBYTE lpData, DWORD& dwDataSize);
  virtual BOOL EnumValue(DWORD dwIndex, CString& strName, DWORD& dwType);
  virtual BOOL EnumValue(DWORD dwIndex, CString& strName, LPDWORD lpdwType, LPBYTE lpData, LPDWORD lpdwDataSize);
  virtual BOOL Flush();
  virtual BOOL QueryValue(LPCTSTR lpszValueName, CByteArray& data);
  virtual BOOL QueryValue(LPCTSTR lpszValueName, DWORD& dwValue);
  virtual BOOL GetKeySecurity(SECURITY_INFORMATION securityInformation, PSECURITY_DESCRIPTOR pSecurityDescriptor,
                              LPDWORD lpcbSecurityDescriptor);
  // A REG_SZ value; the string is emptied when the read fails.
  virtual BOOL QueryValue(LPCTSTR lpszValueName, CString& strValue);
  virtual BOOL QueryValue(LPCTSTR lpszValueName, CStringArray& strings);
  virtual BOOL GetStringValue(LPCTSTR lpszValueName, CString& strValue);
  virtual BOOL GetStringArrayValue(LPCTSTR lpszValueName, CStringArray& strings);
  virtual BOOL GetDWordValue(LPCTSTR lpszValueName, DWORD& dwValue);
  virtual BOOL GetBinaryValue(LPCTSTR lpszValueName, CByteArray& data);
  virtual BOOL LoadKey(LPCTSTR lpszSubKey, LPCTSTR lpszFileName);
  virtual BOOL NotifyChange(HANDLE hEvent, DWORD dwNotifyFilter, BOOL bWatchSubtree, BOOL bAsynchronous);
  virtual BOOL Open(LPCTSTR lpszSubKey, REGSAM samDesired = KEY_ALL_ACCESS);
  virtual BOOL QueryInfo();
  // The stored type comes back in *lpdwType; the type passed in is not compared with it.
  virtual BOOL QueryValueRaw(LPCTSTR lpszValueName, LPDWORD lpdwType, LPBYTE lpData, LPDWORD lpdwDataSize);
  virtual BOOL ReplaceKey(LPCTSTR lpszSubKey, LPCTSTR lpszNewFile, LPCTSTR lpszOldFile);
  virtual BOOL RestoreKey(LPCTSTR lpszFileName, DWORD dwFlags);
  virtual BOOL SaveKey(LPCTSTR lpszFileName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
  virtual BOOL SetValue(LPCTSTR lpszValueName, const CByteArray& data);
  virtual BOOL SetValue(LPCTSTR lpszValueName, DWORD dwValue);
  virtual BOOL SetKeySecurity(SECURITY_INFORMATION& securityInformation, PSECURITY_DESCRIPTOR pSecurityDescriptor);
  virtual BOOL SetValue(LPCTSTR lpszValueName, const CString& strValue);
  virtual BOOL SetValue(LPCTSTR lpszValueName, const CStringArray& strings);
  virtual BOOL SetValueRaw(LPCTSTR lpszValueName, DWORD dwType, const BYTE* lpData, DWORD dwDataSize);
  virtual BOOL SetStringValue(LPCTSTR lpszValueName, const CString& strValue);
  virtual BOOL SetStringArrayValue(LPCTSTR lpszValueName, const CStringArray& strings);
  virtual BOOL SetDWordValue(LPCTSTR lpszValueName, DWORD dwValue);
  virtual BOOL SetBinaryValue(LPCTSTR lpszValueName, const CByteArray& data);
  virtual BOOL UnLoadKey(LPCTSTR lpszSubKey);

  // "HKEY_CLASSES_ROOT" and the other root names; FALSE (name emptied) for a key without one.
  static BOOL RootKeyToName(HKEY hKey, CString& strName);
  // The predefined key of an exact root name, or NULL.
  static HKEY NameToRootKey(const CString& strName);
  // Removes one trailing "\" and, when asked, one leading "\".
  static void NormalizeKeyName(CString& strName, BOOL bStripLeading);
  static CString CombineKeyNames(const CString& strFirst, const CString& strSecond);

  LONG m_lErrorCode;
  HKEY m_hKey;
  HKEY m_hRootKey;
  DWORD m_dwMaxSubKeyNameLength;
  DWORD m_dwMaxClassNameLength;
  DWORD m_dwMaxValueNameLength;
  DWORD m_dwMaxValueLength;
  DWORD m_dwSecurityDescriptorLength;
  FILETIME m_fileTimeLastWrite;
  CString m_strClassName;
  CString m_strComputerName;
  CString m_strKeyName;
  CString m_strRootName;
  DWORD m_dwNumberOfSubKeys;
  DWORD m_dwNumberOfValues;
  CTime m_timeLastWrite;
  BOOL m_bRemote;
  BOOL m_bCloseRootOnClose;

 private:
  BOOL Result(LONG error);
  BOOL InvalidParameter();
  // Closes the open key unless it is the root, leaving the root as the current key.
  void CloseOpenKey();
  // The bytes of a value, sized by asking the store first.
  BOOL ReadValueBytes(LPCTSTR lpszValueName, std::vector<BYTE>& bytes);
};

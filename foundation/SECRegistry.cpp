// SECRegistry over the platform's registry API.
#include "foundation/SECRegistry.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "base/ByteOrder.h"
#include "os/Paths.h"
#include "os/SystemInfo.h"

IMPLEMENT_DYNAMIC(SECRegistry, CObject)

namespace {

constexpr DWORD kNameBufferSize = 2048;

struct RootEntry {
  HKEY key;
  const char* name;
};

const RootEntry kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},   {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}, {HKEY_USERS, "HKEY_USERS"},
    {HKEY_PERFORMANCE_DATA, ""},                {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA"},
};

bool IsPredefinedKey(HKEY key) {
  for (const RootEntry& root : kRoots)
    if (root.key == key) return true;
  return false;
}

// The text of a buffer the registry filled: never past the bytes it reported, never past a NUL.
CString BoundedText(const char* buffer, std::size_t size) { return CString(buffer, static_cast<int>(strnlen(buffer, size))); }

// Position of the last "\\" of a key path that is not the second byte of a double-byte character, or -1.
int LastBackslash(const CString& path) {
  const std::string_view text(path, static_cast<std::size_t>(path.GetLength()));
  int last = -1;
  for (std::size_t i = 0; i < text.size(); i = brambolt::NextCharacter(text, i))
    if (text[i] == '\\') last = static_cast<int>(i);
  return last;
}

// Deletes every subkey of `key` with its subtree, each named only below its parent: a name that
// cannot be opened there (a name the enumeration had to cut) ends the delete with its error and
// is never looked for anywhere else. The result is the first error, or ERROR_SUCCESS.
LONG DeleteSubkeys(HKEY key) {
  std::vector<char> name(kNameBufferSize, '\0');
  for (;;) {
    DWORD size = kNameBufferSize - 1;
    LONG error = RegEnumKeyEx(key, 0, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (error != ERROR_SUCCESS) return error;
    HKEY child = nullptr;
    if ((error = RegOpenKeyEx(key, name.data(), 0, KEY_ALL_ACCESS, &child)) != ERROR_SUCCESS) return error;
    error = DeleteSubkeys(child);
    RegCloseKey(child);
    if (error == ERROR_SUCCESS) error = RegDeleteKey(key, name.data());
    if (error != ERROR_SUCCESS) return error;
  }
}

}  // namespace

SECRegistry::SECRegistry() { Initialize(); }

SECRegistry::~SECRegistry() {
  if (m_hKey != nullptr || m_hRootKey != nullptr) Close();
  Initialize();
}

void SECRegistry::Serialize(CArchive&) {}

BOOL SECRegistry::Result(LONG error) {
  m_lErrorCode = error;
  return error == ERROR_SUCCESS ? TRUE : FALSE;
}

BOOL SECRegistry::InvalidParameter() { return Result(ERROR_INVALID_PARAMETER); }

void SECRegistry::Initialize() {
  m_strClassName.Empty();
  m_strComputerName.Empty();
  m_strKeyName.Empty();
  m_strRootName.Empty();
  m_bCloseRootOnClose = TRUE;
  m_hKey = nullptr;
  m_hRootKey = nullptr;
  m_bRemote = FALSE;
  m_lErrorCode = ERROR_SUCCESS;
  m_dwMaxSubKeyNameLength = 0;
  m_dwMaxClassNameLength = 0;
  m_dwMaxValueNameLength = 0;
  m_dwMaxValueLength = 0;
  m_dwSecurityDescriptorLength = 0;
  m_dwNumberOfSubKeys = 0;
  m_dwNumberOfValues = 0;
  m_fileTimeLastWrite = FILETIME{};
  m_timeLastWrite = CTime();
}

void SECRegistry::CloseOpenKey() {
  if (m_hKey != nullptr && m_hKey != m_hRootKey) RegCloseKey(m_hKey);
  // A stale handle is never kept: a failed open leaves the root as the current key.
  m_hKey = m_hRootKey;
}

BOOL SECRegistry::Create(LPCTSTR lpszSubKey, LPCTSTR lpszClass, DWORD dwOptions, REGSAM samDesired,
                         LPSECURITY_ATTRIBUTES lpSecurityAttributes, LPDWORD lpdwDisposition) {
  if (lpszSubKey == nullptr) return InvalidParameter();
  CloseOpenKey();
  CString subKey(lpszSubKey);
  NormalizeKeyName(subKey, FALSE);
  CString className(lpszClass != nullptr ? lpszClass : "");
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (!Result(RegCreateKeyEx(m_hRootKey, subKey, 0, className.GetBuffer(0), dwOptions, samDesired,
                             lpSecurityAttributes, &key, &disposition)))
    return FALSE;
  m_hKey = key;
  if (lpdwDisposition != nullptr) *lpdwDisposition = disposition;
  m_strKeyName = lpszSubKey;
  return TRUE;
}

BOOL SECRegistry::Close() {
  LONG error = ERROR_SUCCESS;
  if (m_hKey != nullptr && m_hKey != m_hRootKey) error = RegCloseKey(m_hKey);
  if (m_hRootKey != nullptr && m_bCloseRootOnClose) {
    const LONG rootError = RegCloseKey(m_hRootKey);
    if (error == ERROR_SUCCESS) error = rootError;
  }
  Initialize();
  return Result(error);
}

BOOL SECRegistry::Connect(HKEY hRootKey, LPCTSTR lpszComputerName, BOOL bCloseRoot) {
  if (m_hKey != nullptr || m_hRootKey != nullptr) Close();
  const BOOL previousCloseRoot = m_bCloseRootOnClose;
  m_bCloseRootOnClose = bCloseRoot;
  m_bRemote = lpszComputerName != nullptr && *lpszComputerName != '\0';

  LONG error = ERROR_INVALID_HANDLE;
  if (hRootKey == HKEY_CLASSES_ROOT || hRootKey == HKEY_CURRENT_USER) {
    if (!m_bRemote) {
      m_hRootKey = m_hKey = hRootKey;
      error = ERROR_SUCCESS;
    }
  } else if (IsPredefinedKey(hRootKey)) {
    HKEY connected = nullptr;
    error = RegConnectRegistry(m_bRemote ? lpszComputerName : nullptr, hRootKey, &connected);
    if (error == ERROR_SUCCESS) m_hRootKey = m_hKey = connected;
  }
  if (!Result(error)) {
    m_bCloseRootOnClose = previousCloseRoot;
    m_bRemote = FALSE;
    return FALSE;
  }
  if (m_bRemote) {
    m_strComputerName = lpszComputerName;
  } else {
    char name[260] = {};
    DWORD size = sizeof name;
    m_strComputerName = GetComputerName(name, &size) ? BoundedText(name, sizeof name) : CString();
  }
  RootKeyToName(hRootKey, m_strRootName);
  return TRUE;
}

BOOL SECRegistry::DeleteKey(LPCTSTR lpszSubKey, BOOL bRecursive) {
  if (lpszSubKey == nullptr) return InvalidParameter();
  // A whole root is never emptied.
  if (bRecursive && *lpszSubKey == '\0' && IsPredefinedKey(m_hRootKey)) return InvalidParameter();

  SECRegistry inner;
  if (!inner.Connect(NameToRootKey(m_strRootName), m_bRemote ? static_cast<LPCTSTR>(m_strComputerName) : nullptr,
                     FALSE))
    return Result(inner.m_lErrorCode);

  const bool fromRoot = *lpszSubKey == '\\';
  bool relative = !fromRoot && inner.Open(CombineKeyNames(m_strKeyName, lpszSubKey), KEY_ALL_ACCESS);
  CString rootPath(lpszSubKey);
  NormalizeKeyName(rootPath, TRUE);
  if (!relative && !inner.Open(rootPath, KEY_ALL_ACCESS)) return Result(inner.m_lErrorCode);

  // The subtree is deleted below the key just opened, never from the root: a subkey's name is
  // looked for only under its parent.
  if (bRecursive && !Result(DeleteSubkeys(inner.m_hKey))) return FALSE;

  if (relative) return Result(RegDeleteKey(m_hKey, lpszSubKey));

  const int split = LastBackslash(rootPath);
  const CString parent = split < 0 ? CString() : rootPath.Left(split);
  const CString leaf = split < 0 ? rootPath : rootPath.Mid(split + 1);
  if (!inner.Open(parent, KEY_ALL_ACCESS)) return Result(inner.m_lErrorCode);
  const LONG error = RegDeleteKey(inner.m_hKey, leaf);
  // When this object's own key was inside the deleted tree, it moves up to the parent.
  if (error == ERROR_SUCCESS && !m_strKeyName.IsEmpty() && !inner.Open(m_strKeyName, KEY_ALL_ACCESS))
    Open(parent, KEY_ALL_ACCESS);
  return Result(error);
}

BOOL SECRegistry::DeleteValue(LPCTSTR lpszValueName) { return Result(RegDeleteValue(m_hKey, lpszValueName)); }

LONG SECRegistry::EnumKeyRaw(DWORD dwIndex, LPTSTR lpszName, LPDWORD lpcchName, LPTSTR lpszClass,
                             LPDWORD lpcchClass) {
  m_lErrorCode = RegEnumKeyEx(m_hKey, dwIndex, lpszName, lpcchName, nullptr, lpszClass, lpcchClass,
                              &m_fileTimeLastWrite);
  return m_lErrorCode;
}

BOOL SECRegistry::EnumKey(DWORD dwIndex, CString& strName, CString& strClassName) {
  std::vector<char> name(kNameBufferSize, '\0');
  std::vector<char> className(kNameBufferSize, '\0');
  DWORD nameSize = kNameBufferSize - 1;
  DWORD classSize = kNameBufferSize - 1;
  const LONG error = EnumKeyRaw(dwIndex, name.data(), &nameSize, className.data(), &classSize);
  if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA) return FALSE;
  strName = BoundedText(name.data(), kNameBufferSize - 1);
  strClassName = BoundedText(className.data(), kNameBufferSize - 1);
  return Result(ERROR_SUCCESS);
}

BOOL SECRegistry::EnumKey(DWORD dwIndex, CString& strName) {
  std::vector<char> name(kNameBufferSize, '\0');
  DWORD nameSize = kNameBufferSize - 1;
  const LONG error = EnumKeyRaw(dwIndex, name.data(), &nameSize, nullptr, nullptr);
  if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA) return FALSE;
  strName = BoundedText(name.data(), kNameBufferSize - 1);
  return Result(ERROR_SUCCESS);
}

BOOL SECRegistry::EnumValue(DWORD dwIndex, CString& strName, DWORD& dwType, LPBYTE lpData, DWORD& dwDataSize) {
  return EnumValue(dwIndex, strName, &dwType, lpData, &dwDataSize);
}

BOOL SECRegistry::EnumValue(DWORD dwIndex, CString& strName, DWORD& dwType) {
  return EnumValue(dwIndex, strName, &dwType, nullptr, nullptr);
}

BOOL SECRegistry::EnumValue(DWORD dwIndex, CString& strName, LPDWORD lpdwType, LPBYTE lpData,
                            LPDWORD lpdwDataSize) {
  std::vector<char> name(kNameBufferSize, '\0');
  DWORD nameSize = kNameBufferSize - 1;
  DWORD type = 0;
  const LONG error = RegEnumValue(m_hKey, dwIndex, name.data(), &nameSize, nullptr, &type, lpData, lpdwDataSize);
  if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA) return Result(error);
  strName = BoundedText(name.data(), kNameBufferSize - 1);
  if (lpdwType != nullptr) *lpdwType = type;
  return Result(ERROR_SUCCESS);
}

BOOL SECRegistry::Flush() { return Result(RegFlushKey(m_hKey)); }

BOOL SECRegistry::ReadValueBytes(LPCTSTR lpszValueName, std::vector<BYTE>& bytes) {
  DWORD type = 0;
  DWORD size = 0;
  if (!QueryValueRaw(lpszValueName, &type, nullptr, &size)) return FALSE;
  bytes.assign(size, 0);
  if (!QueryValueRaw(lpszValueName, &type, bytes.data(), &size)) return FALSE;
  bytes.resize(size);
  return TRUE;
}

BOOL SECRegistry::QueryValue(LPCTSTR lpszValueName, CByteArray& data) {
  std::vector<BYTE> bytes;
  if (!ReadValueBytes(lpszValueName, bytes)) return FALSE;
  data.RemoveAll();
  for (BYTE b : bytes) data.Add(b);
  return TRUE;
}

BOOL SECRegistry::QueryValue(LPCTSTR lpszValueName, DWORD& dwValue) {
  BYTE bytes[4] = {};
  DWORD type = REG_DWORD;
  DWORD size = sizeof bytes;
  if (!QueryValueRaw(lpszValueName, &type, bytes, &size)) return FALSE;
  dwValue = brambolt::ReadLE32(bytes);
  return TRUE;
}

BOOL SECRegistry::GetKeySecurity(SECURITY_INFORMATION securityInformation, PSECURITY_DESCRIPTOR pSecurityDescriptor,
                                 LPDWORD lpcbSecurityDescriptor) {
  if (pSecurityDescriptor == nullptr) return InvalidParameter();
  return Result(RegGetKeySecurity(m_hKey, securityInformation, pSecurityDescriptor, lpcbSecurityDescriptor));
}

// Any length, up to the value's end or its first zero; an empty value reads as the empty string.
BOOL SECRegistry::QueryValue(LPCTSTR lpszValueName, CString& strValue) {
  std::string text;
  const BOOL read = Result(brambolt::ReadRegistryString(m_hKey, lpszValueName, text));
  strValue = CString(text.data(), static_cast<int>(text.size()));
  return read;
}

BOOL SECRegistry::QueryValue(LPCTSTR lpszValueName, CStringArray& strings) {
  std::vector<BYTE> bytes;
  if (!ReadValueBytes(lpszValueName, bytes)) return FALSE;
  strings.RemoveAll();
  const char* text = reinterpret_cast<const char*>(bytes.data());
  // Each string ends at its NUL or at the end of the data; an empty string ends the list.
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = strnlen(text + pos, bytes.size() - pos);
    if (length == 0) break;
    strings.Add(CString(text + pos, static_cast<int>(length)));
    pos += length + 1;
  }
  return TRUE;
}

BOOL SECRegistry::GetStringValue(LPCTSTR lpszValueName, CString& strValue) {
  if (lpszValueName == nullptr) return InvalidParameter();
  return QueryValue(lpszValueName, strValue);
}

BOOL SECRegistry::GetStringArrayValue(LPCTSTR lpszValueName, CStringArray& strings) {
  if (lpszValueName == nullptr) return InvalidParameter();
  return QueryValue(lpszValueName, strings);
}

BOOL SECRegistry::GetDWordValue(LPCTSTR lpszValueName, DWORD& dwValue) {
  if (lpszValueName == nullptr) return InvalidParameter();
  return QueryValue(lpszValueName, dwValue);
}

BOOL SECRegistry::GetBinaryValue(LPCTSTR lpszValueName, CByteArray& data) {
  if (lpszValueName == nullptr) return InvalidParameter();
  return QueryValue(lpszValueName, data);
}

BOOL SECRegistry::LoadKey(LPCTSTR lpszSubKey, LPCTSTR lpszFileName) {
  if (lpszSubKey == nullptr || lpszFileName == nullptr) return InvalidParameter();
  return Result(RegLoadKey(m_hRootKey, lpszSubKey, lpszFileName));
}

BOOL SECRegistry::NotifyChange(HANDLE hEvent, DWORD dwNotifyFilter, BOOL bWatchSubtree, BOOL bAsynchronous) {
  return Result(RegNotifyChangeKeyValue(m_hKey, bWatchSubtree, dwNotifyFilter, hEvent, bAsynchronous));
}

BOOL SECRegistry::Open(LPCTSTR lpszSubKey, REGSAM samDesired) {
  if (lpszSubKey == nullptr) return InvalidParameter();
  if (m_hRootKey == nullptr) {
    m_hRootKey = HKEY_CLASSES_ROOT;
    RootKeyToName(m_hRootKey, m_strRootName);
  }
  CloseOpenKey();
  CString subKey(lpszSubKey);
  NormalizeKeyName(subKey, FALSE);
  HKEY key = nullptr;
  if (!Result(RegOpenKeyEx(m_hRootKey, subKey, 0, samDesired, &key))) return FALSE;
  m_hKey = key;
  QueryInfo();
  m_strKeyName = lpszSubKey;
  return Result(ERROR_SUCCESS);
}

BOOL SECRegistry::QueryInfo() {
  std::vector<char> className(kNameBufferSize, '\0');
  DWORD classSize = kNameBufferSize - 1;
  if (!Result(RegQueryInfoKey(m_hKey, className.data(), &classSize, nullptr, &m_dwNumberOfSubKeys,
                              &m_dwMaxSubKeyNameLength, &m_dwMaxClassNameLength, &m_dwNumberOfValues,
                              &m_dwMaxValueNameLength, &m_dwMaxValueLength, &m_dwSecurityDescriptorLength,
                              &m_fileTimeLastWrite)))
    return FALSE;
  m_strClassName = BoundedText(className.data(), kNameBufferSize - 1);
  m_timeLastWrite = CTime(m_fileTimeLastWrite, -1);
  return TRUE;
}

BOOL SECRegistry::QueryValueRaw(LPCTSTR lpszValueName, LPDWORD lpdwType, LPBYTE lpData, LPDWORD lpdwDataSize) {
  return Result(RegQueryValueEx(m_hKey, lpszValueName, nullptr, lpdwType, lpData, lpdwDataSize));
}

BOOL SECRegistry::ReplaceKey(LPCTSTR lpszSubKey, LPCTSTR lpszNewFile, LPCTSTR lpszOldFile) {
  if (lpszSubKey == nullptr || lpszNewFile == nullptr || lpszOldFile == nullptr) return InvalidParameter();
  return Result(RegReplaceKey(m_hKey, lpszSubKey, lpszNewFile, lpszOldFile));
}

BOOL SECRegistry::RestoreKey(LPCTSTR lpszFileName, DWORD dwFlags) {
  if (lpszFileName == nullptr) return InvalidParameter();
  return Result(RegRestoreKey(m_hKey, lpszFileName, dwFlags));
}

BOOL SECRegistry::SaveKey(LPCTSTR lpszFileName, LPSECURITY_ATTRIBUTES lpSecurityAttributes) {
  if (lpszFileName == nullptr) return InvalidParameter();
  return Result(RegSaveKey(m_hKey, lpszFileName, lpSecurityAttributes));
}

BOOL SECRegistry::SetValue(LPCTSTR lpszValueName, const CByteArray& data) {
  const std::vector<BYTE> bytes(data.GetData(), data.GetData() + data.GetSize());
  return Result(RegSetValueEx(m_hKey, lpszValueName, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size())));
}

BOOL SECRegistry::SetValue(LPCTSTR lpszValueName, DWORD dwValue) {
  BYTE bytes[4];
  brambolt::WriteLE32(bytes, 0, dwValue);
  return Result(RegSetValueEx(m_hKey, lpszValueName, 0, REG_DWORD, bytes, sizeof bytes));
}

BOOL SECRegistry::SetKeySecurity(SECURITY_INFORMATION& securityInformation, PSECURITY_DESCRIPTOR pSecurityDescriptor) {
  if (pSecurityDescriptor == nullptr) return InvalidParameter();
  return Result(RegSetKeySecurity(m_hKey, securityInformation, pSecurityDescriptor));
}

BOOL SECRegistry::SetValue(LPCTSTR lpszValueName, const CString& strValue) {
  return Result(RegSetValueEx(m_hKey, lpszValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<LPCTSTR>(strValue)),
                              static_cast<DWORD>(strValue.GetLength()) + 1));
}

BOOL SECRegistry::SetValue(LPCTSTR lpszValueName, const CStringArray& strings) {
  std::vector<BYTE> block;
  for (INT_PTR i = 0; i < strings.GetSize(); ++i) {
    const CString& text = strings[i];
    const auto* bytes = reinterpret_cast<const BYTE*>(static_cast<LPCTSTR>(text));
    block.insert(block.end(), bytes, bytes + text.GetLength() + 1);
  }
  block.push_back(0);
  return Result(RegSetValueEx(m_hKey, lpszValueName, 0, REG_MULTI_SZ, block.data(), static_cast<DWORD>(block.size())));
}

BOOL SECRegistry::SetValueRaw(LPCTSTR lpszValueName, DWORD dwType, const BYTE* lpData, DWORD dwDataSize) {
  if (lpszValueName == nullptr || lpData == nullptr) return InvalidParameter();
  return Result(RegSetValueEx(m_hKey, lpszValueName, 0, dwType, lpData, dwDataSize));
}

BOOL SECRegistry::SetStringValue(LPCTSTR lpszValueName, const CString& strValue) {
  if (lpszValueName == nullptr) return InvalidParameter();
  return SetValue(lpszValueName, strValue);
}

BOOL SECRegistry::SetStringArrayValue(LPCTSTR lpszValueName, const CStringArray& strings) {
  if (lpszValueName == nullptr) return InvalidParameter();
  return SetValue(lpszValueName, strings);
}

BOOL SECRegistry::SetDWordValue(LPCTSTR lpszValueName, DWORD dwValue) {
  if (lpszValueName == nullptr) return InvalidParameter();
  return SetValue(lpszValueName, dwValue);
}

BOOL SECRegistry::SetBinaryValue(LPCTSTR lpszValueName, const CByteArray& data) {
  if (lpszValueName == nullptr) return InvalidParameter();
  return SetValue(lpszValueName, data);
}

BOOL SECRegistry::UnLoadKey(LPCTSTR lpszSubKey) {
  if (lpszSubKey == nullptr) return InvalidParameter();
  return Result(RegUnLoadKey(m_hKey, lpszSubKey));
}

BOOL SECRegistry::RootKeyToName(HKEY hKey, CString& strName) {
  for (const RootEntry& root : kRoots) {
    if (root.key == hKey) {
      strName = root.name;
      return !strName.IsEmpty();
    }
  }
  strName.Empty();
  return FALSE;
}

HKEY SECRegistry::NameToRootKey(const CString& strName) {
  if (strName.IsEmpty()) return nullptr;
  for (const RootEntry& root : kRoots)
    if (strName == root.name) return root.key;
  return nullptr;
}

void SECRegistry::NormalizeKeyName(CString& strName, BOOL bStripLeading) {
  const int length = strName.GetLength();
  if (length > 0 && LastBackslash(strName) == length - 1) strName = strName.Left(length - 1);
  if (bStripLeading && !strName.IsEmpty() && strName[0] == '\\') strName = strName.Mid(1);
}

CString SECRegistry::CombineKeyNames(const CString& strFirst, const CString& strSecond) {
  CString first(strFirst);
  CString second(strSecond);
  NormalizeKeyName(first, FALSE);
  NormalizeKeyName(second, TRUE);
  return first + "\\" + second;
}

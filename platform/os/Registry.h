// The Win32 registry API over a store of our own: one text file per root key in the `.reg`
// syntax (HKEY_CURRENT_USER.reg, HKEY_LOCAL_MACHINE.reg, HKEY_CLASSES_ROOT.reg) under
// $BRAMBOLT_REGISTRY_DIR, else $XDG_CONFIG_HOME/visual-brambolt/registry (~/.config when unset).
// A root is loaded on first use and kept in memory; it is written back atomically when a key of
// it is flushed (then synced to the disk), or closed after a change, and at exit. A write merges:
// under a lock shared with the other processes, the file is read again and this process's
// changes since its last write are applied to it, so what another instance wrote meanwhile
// survives (a value is replaced whole: to merge with a value another instance wrote, read it
// within a RegistryStoredUpdate). A missing folder is made, unless it existed at loading (then it
// was removed on purpose and the write fails). The other roots live in memory only.
#pragma once

#include <string>

#include "base/base.h"
#include "os/KernelObject.h"

#ifndef ERROR_CHILD_MUST_BE_VOLATILE
#define ERROR_CHILD_MUST_BE_VOLATILE 1021
#endif

typedef DWORD REGSAM;
typedef DWORD ACCESS_MASK;
typedef DWORD SECURITY_INFORMATION;
typedef PVOID PSECURITY_DESCRIPTOR;

// Win64 sign-extends the predefined keys; their low 32 bits are the documented values.
#define BRAMBOLT_PREDEFINED_KEY(v) (reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(v))))
#define HKEY_CLASSES_ROOT BRAMBOLT_PREDEFINED_KEY(0x80000000u)
#define HKEY_CURRENT_USER BRAMBOLT_PREDEFINED_KEY(0x80000001u)
#define HKEY_LOCAL_MACHINE BRAMBOLT_PREDEFINED_KEY(0x80000002u)
#define HKEY_USERS BRAMBOLT_PREDEFINED_KEY(0x80000003u)
#define HKEY_PERFORMANCE_DATA BRAMBOLT_PREDEFINED_KEY(0x80000004u)
#define HKEY_CURRENT_CONFIG BRAMBOLT_PREDEFINED_KEY(0x80000005u)
#define HKEY_DYN_DATA BRAMBOLT_PREDEFINED_KEY(0x80000006u)

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_RESOURCE_LIST 8
#define REG_FULL_RESOURCE_DESCRIPTOR 9
#define REG_RESOURCE_REQUIREMENTS_LIST 10
#define REG_QWORD 11

#define REG_OPTION_RESERVED 0x00000000
#define REG_OPTION_NON_VOLATILE 0x00000000
#define REG_OPTION_VOLATILE 0x00000001
#define REG_OPTION_CREATE_LINK 0x00000002
#define REG_OPTION_BACKUP_RESTORE 0x00000004
#define REG_CREATED_NEW_KEY 0x00000001
#define REG_OPENED_EXISTING_KEY 0x00000002

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define KEY_READ 0x20019
#define KEY_EXECUTE 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F
#ifndef MAXIMUM_ALLOWED
#define MAXIMUM_ALLOWED 0x02000000
#endif

#define REG_NOTIFY_CHANGE_NAME 0x00000001
#define REG_NOTIFY_CHANGE_ATTRIBUTES 0x00000002
#define REG_NOTIFY_CHANGE_LAST_SET 0x00000004
#define REG_NOTIFY_CHANGE_SECURITY 0x00000008

#define REG_WHOLE_HIVE_VOLATILE 0x00000001
#define REG_REFRESH_HIVE 0x00000002
#define REG_NO_LAZY_FLUSH 0x00000004
#define REG_FORCE_RESTORE 0x00000008

#ifndef OWNER_SECURITY_INFORMATION
#define OWNER_SECURITY_INFORMATION 0x00000001
#define GROUP_SECURITY_INFORMATION 0x00000002
#define DACL_SECURITY_INFORMATION 0x00000004
#define SACL_SECURITY_INFORMATION 0x00000008
#endif

// Access is checked per handle as on Windows: values are set through a handle with
// KEY_SET_VALUE, read with KEY_QUERY_VALUE, subkeys listed with KEY_ENUMERATE_SUB_KEYS.
LONG RegOpenKeyEx(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG RegCreateKeyEx(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                    REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                    LPDWORD lpdwDisposition);
// Closing a key after a change writes its root's file (see above); when that write fails, the
// handle is closed all the same and the result is the write's error (the changes stay pending and
// go with the next write). A flush returns the error of its write too. The store's file is never
// replaced by a write that could not read it first, nor written without its lock; the reason of a
// failed write, naming the file, is told on the standard error.
LONG RegCloseKey(HKEY hKey);
LONG RegFlushKey(HKEY hKey);
// The stored bytes exactly: a string is returned with the terminator it was stored with, and one
// stored without it fills a buffer of exactly its size unterminated (ReadRegistryString below
// always terminates).
LONG RegQueryValueEx(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                     LPDWORD lpcbData);
// A REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ given without its terminator, whose next byte is zero,
// is stored with that zero, as on Windows.
LONG RegSetValueEx(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData, DWORD cbData);
// As on Windows NT: a key that has subkeys is not deleted (ERROR_ACCESS_DENIED); open handles
// on a deleted key fail with ERROR_KEY_DELETED.
LONG RegDeleteKey(HKEY hKey, LPCSTR lpSubKey);
LONG RegDeleteValue(HKEY hKey, LPCSTR lpValueName);
// Subkeys enumerate sorted by name ignoring case, values in the order they were first set;
// past the end the result is ERROR_NO_MORE_ITEMS. A name longer than the buffer is cut to it
// and ERROR_MORE_DATA returned.
LONG RegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                  LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);
LONG RegEnumKey(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName);
LONG RegEnumValue(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                  LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
LONG RegQueryInfoKey(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                     LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                     LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                     PFILETIME lpftLastWriteTime);
// No other computer is reachable: a computer name fails with ERROR_BAD_NETPATH, except for the
// per-user roots, which are never remote (ERROR_INVALID_HANDLE). Without one, the predefined
// key itself is the result.
LONG RegConnectRegistry(LPCSTR lpMachineName, HKEY hKey, PHKEY phkResult);

LONG RegOpenKey(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
LONG RegCreateKey(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
LONG RegQueryValue(HKEY hKey, LPCSTR lpSubKey, LPSTR lpData, PLONG lpcbData);
LONG RegSetValue(HKEY hKey, LPCSTR lpSubKey, DWORD dwType, LPCSTR lpData, DWORD cbData);

// Hives, security and change notification do not exist in this store: ERROR_CALL_NOT_IMPLEMENTED.
LONG RegLoadKey(HKEY hKey, LPCSTR lpSubKey, LPCSTR lpFile);
LONG RegUnLoadKey(HKEY hKey, LPCSTR lpSubKey);
LONG RegReplaceKey(HKEY hKey, LPCSTR lpSubKey, LPCSTR lpNewFile, LPCSTR lpOldFile);
LONG RegRestoreKey(HKEY hKey, LPCSTR lpFile, DWORD dwFlags);
LONG RegSaveKey(HKEY hKey, LPCSTR lpFile, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
LONG RegGetKeySecurity(HKEY hKey, SECURITY_INFORMATION SecurityInformation,
                       PSECURITY_DESCRIPTOR pSecurityDescriptor, LPDWORD lpcbSecurityDescriptor);
LONG RegSetKeySecurity(HKEY hKey, SECURITY_INFORMATION SecurityInformation, PSECURITY_DESCRIPTOR pSecurityDescriptor);
LONG RegNotifyChangeKeyValue(HKEY hKey, BOOL bWatchSubtree, DWORD dwNotifyFilter, HANDLE hEvent, BOOL fAsynchronous);

#define RegOpenKeyExA RegOpenKeyEx
#define RegCreateKeyExA RegCreateKeyEx
#define RegQueryValueExA RegQueryValueEx
#define RegSetValueExA RegSetValueEx
#define RegDeleteKeyA RegDeleteKey
#define RegDeleteValueA RegDeleteValue
#define RegEnumKeyExA RegEnumKeyEx
#define RegEnumKeyA RegEnumKey
#define RegEnumValueA RegEnumValue
#define RegQueryInfoKeyA RegQueryInfoKey
#define RegConnectRegistryA RegConnectRegistry
#define RegOpenKeyA RegOpenKey
#define RegCreateKeyA RegCreateKey
#define RegQueryValueA RegQueryValue
#define RegSetValueA RegSetValue
#define RegLoadKeyA RegLoadKey
#define RegUnLoadKeyA RegUnLoadKey
#define RegReplaceKeyA RegReplaceKey
#define RegRestoreKeyA RegRestoreKey
#define RegSaveKeyA RegSaveKey

namespace brambolt {

// While one lives (in any thread), closing a changed key does not write its root's file: a run of
// changes reaches the file in one write when the outermost batch ends (a flush still writes).
class RegistryWriteBatch {
 public:
  RegistryWriteBatch();
  ~RegistryWriteBatch();
  RegistryWriteBatch(const RegistryWriteBatch&) = delete;
  RegistryWriteBatch& operator=(const RegistryWriteBatch&) = delete;

  // Ends the batch now: whether every changed root's file was written (TRUE when nothing changed
  // or an outer batch still holds the writes). A root that could not be written keeps its
  // changes for the next write.
  BOOL Commit();

 private:
  bool m_bEnded = false;
  BOOL m_bResult = TRUE;
};

// A read-modify-write of values that several processes keep (the program's recent projects, a
// toolbar a user made, when two instances run). While one lives, this process holds the store's
// lock that writers of every process take, so no other process writes in between; it begins by
// reading the file of the key's root again, so what another process stored shows through the
// usual calls (the stored keys and values replace this process's copy of them, and a key removed
// there is removed here, its handles then reporting ERROR_KEY_DELETED; its changes not yet written
// go on top again, as its next write puts them on the file). Changes made while it lives are written when it ends (or at Commit),
// before the lock is let go. Updates may nest, and other threads of this process share the lock
// (their writes wait for the end, as in a batch). Hold one only for the few calls of the change:
// other processes wait meanwhile.
class RegistryStoredUpdate {
 public:
  // `hKey` is a predefined root or an open key of it.
  explicit RegistryStoredUpdate(HKEY hKey = HKEY_CURRENT_USER);
  ~RegistryStoredUpdate();
  RegistryStoredUpdate(const RegistryStoredUpdate&) = delete;
  RegistryStoredUpdate& operator=(const RegistryStoredUpdate&) = delete;

  // Whether the stored file was read: ERROR_SUCCESS (also when there is none yet), else why not
  // (the copy of this process is then used as it was).
  LONG ReadResult() const { return m_lRead; }
  // Ends the update now, as RegistryWriteBatch::Commit does.
  BOOL Commit();

 private:
  LONG m_lRead = ERROR_SUCCESS;
  bool m_bUpdate = false;
  bool m_bEnded = false;
  BOOL m_bResult = TRUE;
};

// Reads a value as text, whatever its length: its bytes up to the first zero, so a string stored
// without its terminator ends with its data, and an empty value is an empty text. `type`, when
// given, receives the value's type; the result is RegQueryValueEx's (ERROR_FILE_NOT_FOUND when
// there is no such value), and the text is empty on failure.
LONG ReadRegistryString(HKEY hKey, LPCSTR lpValueName, std::string& text, LPDWORD lpType = nullptr);
// The same into a caller's buffer of `size` bytes, always terminated within it: a longer text is
// cut to `size - 1` bytes with ERROR_MORE_DATA; on failure the buffer holds the empty string.
LONG ReadRegistryString(HKEY hKey, LPCSTR lpValueName, LPSTR buffer, DWORD size, LPDWORD lpType = nullptr);

// What tells the user that a write of the store failed: called with a text that names the file
// and the reason ("Settings are not saved: cannot read <path>: <reason>; ...") when a write fails
// for another reason than the last failed write, from the thread that wrote and while the store
// is locked (so it must not use the registry, and should only take the text to show it later).
// It returns whether it took the text; without a handler, or when it did not, the text goes to
// the standard error. Null removes the handler.
using RegistryFailureHandler = bool (*)(const std::string& text);
void SetRegistryFailureHandler(RegistryFailureHandler handler);

// Forgets everything held in memory (unsaved changes included) and invalidates every open key,
// so that the next call loads the roots again from the current registry folder.
void ResetRegistryForTesting();

}  // namespace brambolt

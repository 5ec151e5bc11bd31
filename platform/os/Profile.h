// Profile (INI) files through the Win32 names. Sections and keys match ignoring case, lines whose
// first character is ';' are comments, values are trimmed and lose one pair of enclosing quotes,
// and a value holds everything after the first '=' (no comments inside values). There is no
// length limit. Each write rewrites the file at once (CR LF lines, a temporary file renamed over
// it); LF files are read as well. A file name without a folder lives in the Windows directory.
#pragma once

#include <string>

#include "base/base.h"

// NULL section: the double-NUL list of section names; NULL key: the list of the section's keys.
// A cut list returns size - 2 (ending in two NULs), a cut value size - 1.
DWORD GetPrivateProfileString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                              DWORD nSize, LPCSTR lpFileName);
// The leading decimal number of the value (with its sign), 0 when it has none; the default when
// the key is missing.
UINT GetPrivateProfileInt(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName);
// The section's "key=value" lines as a double-NUL list (values as written, quotes kept).
DWORD GetPrivateProfileSection(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
DWORD GetPrivateProfileSectionNames(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName);
// A NULL key deletes the section, a NULL value the key; deleting what is absent succeeds.
BOOL WritePrivateProfileString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName);
// Replaces the section's lines by the double-NUL list of "key=value" lines; NULL deletes it.
BOOL WritePrivateProfileSection(LPCSTR lpAppName, LPCSTR lpString, LPCSTR lpFileName);
// Bytes as upper-case hexadecimal followed by a checksum byte (the sum of the bytes, modulo 256).
BOOL GetPrivateProfileStruct(LPCSTR lpszSection, LPCSTR lpszKey, LPVOID lpStruct, UINT uSizeStruct, LPCSTR szFile);
BOOL WritePrivateProfileStruct(LPCSTR lpszSection, LPCSTR lpszKey, LPCVOID lpStruct, UINT uSizeStruct,
                               LPCSTR szFile);

// WIN.INI does not exist here: it reads as an empty file and writes are dropped (they report
// success, as a program expects of WIN.INI).
DWORD GetProfileString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize);
UINT GetProfileInt(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault);
DWORD GetProfileSection(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize);
BOOL WriteProfileString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString);
BOOL WriteProfileSection(LPCSTR lpAppName, LPCSTR lpString);

namespace brambolt {

// While one lives, the writes to that profile file change a copy in memory (reads see it too),
// and the file is written once, whole, when the outermost batch on it ends: a reader or a crash
// meets the old text or the new one, never a part. Meant for one thread's run of writes.
class ProfileWriteBatch {
 public:
  explicit ProfileWriteBatch(const char* fileName);
  ~ProfileWriteBatch();
  ProfileWriteBatch(const ProfileWriteBatch&) = delete;
  ProfileWriteBatch& operator=(const ProfileWriteBatch&) = delete;

  // Ends the batch now: whether the file was written (TRUE when nothing changed, or when an
  // outer batch still holds it). The last error says why it was not.
  BOOL Commit();

 private:
  std::string m_path;
  BOOL m_bResult = TRUE;
};

}  // namespace brambolt

#define GetPrivateProfileStringA GetPrivateProfileString
#define GetPrivateProfileIntA GetPrivateProfileInt
#define GetPrivateProfileSectionA GetPrivateProfileSection
#define GetPrivateProfileSectionNamesA GetPrivateProfileSectionNames
#define WritePrivateProfileStringA WritePrivateProfileString
#define WritePrivateProfileSectionA WritePrivateProfileSection
#define GetPrivateProfileStructA GetPrivateProfileStruct
#define WritePrivateProfileStructA WritePrivateProfileStruct
#define GetProfileStringA GetProfileString
#define GetProfileIntA GetProfileInt
#define GetProfileSectionA GetProfileSection
#define WriteProfileStringA WriteProfileString
#define WriteProfileSectionA WriteProfileSection

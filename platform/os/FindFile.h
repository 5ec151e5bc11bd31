// Folder searches: FindFirstFile/FindNextFile/FindClose with the Windows wildcard rules.
#pragma once

#include <string_view>

#include "base/base.h"

// Linux names have at most 255 bytes, so every name fits cFileName whole. No short names exist:
// cAlternateFileName is always empty. dwReserved0 holds IO_REPARSE_TAG_SYMLINK for a link.
typedef struct _WIN32_FIND_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
} WIN32_FIND_DATA, *PWIN32_FIND_DATA, *LPWIN32_FIND_DATA;
typedef WIN32_FIND_DATA WIN32_FIND_DATAA;
typedef LPWIN32_FIND_DATA LPWIN32_FIND_DATAA;

#define IO_REPARSE_TAG_SYMLINK 0xA000000Cu

// Lists the entries of one folder whose names match the last component of the pattern, sorted
// by name ignoring case ("." and ".." first, reported for every folder but the root). Patterns
// match ignoring case; "*.*" matches every name, "*." names without a dot, "?" one character
// (or none before a dot or the end). Fails with ERROR_PATH_NOT_FOUND when the folder is missing
// and ERROR_FILE_NOT_FOUND when nothing matches; FindNextFile ends with ERROR_NO_MORE_FILES.
HANDLE FindFirstFile(LPCSTR lpFileName, LPWIN32_FIND_DATA lpFindFileData);
BOOL FindNextFile(HANDLE hFindFile, LPWIN32_FIND_DATA lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

#define FindFirstFileA FindFirstFile
#define FindNextFileA FindNextFile

namespace brambolt {

// Whether a file name matches a search pattern by the rules above.
bool MatchesFilePattern(std::string_view pattern, std::string_view name);

}  // namespace brambolt

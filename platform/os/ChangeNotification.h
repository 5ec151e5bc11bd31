// Folder change notifications: a waitable handle that is signalled when something matching its
// filter changes in a folder (and, on request, in the folders below it).
//
// The handle stays signalled until FindNextChangeNotification; changes that arrived after the
// wait that saw the signal make it signalled again at once, so none is lost between a wait and
// the re-arming call. Only changes to the entries in a folder count, not those of the folder itself.
#pragma once

#include "base/WinTypes.h"

#define FILE_NOTIFY_CHANGE_FILE_NAME 0x00000001
#define FILE_NOTIFY_CHANGE_DIR_NAME 0x00000002
#define FILE_NOTIFY_CHANGE_ATTRIBUTES 0x00000004
#define FILE_NOTIFY_CHANGE_SIZE 0x00000008
#define FILE_NOTIFY_CHANGE_LAST_WRITE 0x00000010
#define FILE_NOTIFY_CHANGE_LAST_ACCESS 0x00000020
#define FILE_NOTIFY_CHANGE_CREATION 0x00000040
#define FILE_NOTIFY_CHANGE_SECURITY 0x00000100

// INVALID_HANDLE_VALUE on failure: ERROR_PATH_NOT_FOUND for a missing folder, ERROR_DIRECTORY for
// a path that is not a folder, ERROR_INVALID_PARAMETER for an empty or unknown filter.
HANDLE FindFirstChangeNotification(LPCSTR lpPathName, BOOL bWatchSubtree, DWORD dwNotifyFilter);
BOOL FindNextChangeNotification(HANDLE hChangeHandle);
BOOL FindCloseChangeNotification(HANDLE hChangeHandle);

#define FindFirstChangeNotificationA FindFirstChangeNotification

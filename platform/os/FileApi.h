// The Win32 file and folder API on POSIX. Every path goes through the path rules of os/Paths.h,
// which convert its names to the system's once. Paths the system hands back (current folder, full
// paths, the program's path, the temporary and Windows folders) are spelled as the program spells
// names, with '/' separators, which the path rules accept again.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/base.h"
#include "os/KernelObject.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define GENERIC_EXECUTE 0x20000000u
#define GENERIC_ALL 0x10000000u
#define FILE_READ_DATA 0x0001
#define FILE_WRITE_DATA 0x0002
#define FILE_APPEND_DATA 0x0004
#define FILE_READ_ATTRIBUTES 0x0080
#define FILE_WRITE_ATTRIBUTES 0x0100
#define DELETE 0x00010000
#define SYNCHRONIZE 0x00100000

#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_DEVICE 0x00000040
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100
#define FILE_ATTRIBUTE_SPARSE_FILE 0x00000200
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400
#define FILE_ATTRIBUTE_COMPRESSED 0x00000800
#define FILE_ATTRIBUTE_OFFLINE 0x00001000
#define FILE_ATTRIBUTE_NOT_CONTENT_INDEXED 0x00002000
#define FILE_ATTRIBUTE_ENCRYPTED 0x00004000
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu

#define FILE_FLAG_WRITE_THROUGH 0x80000000u
#define FILE_FLAG_OVERLAPPED 0x40000000
#define FILE_FLAG_NO_BUFFERING 0x20000000
#define FILE_FLAG_RANDOM_ACCESS 0x10000000
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000
#define FILE_FLAG_DELETE_ON_CLOSE 0x04000000
#define FILE_FLAG_BACKUP_SEMANTICS 0x02000000
#define FILE_FLAG_POSIX_SEMANTICS 0x01000000
#define FILE_FLAG_OPEN_REPARSE_POINT 0x00200000
#define FILE_FLAG_OPEN_NO_RECALL 0x00100000

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu
#define INVALID_FILE_SIZE 0xFFFFFFFFu

#define FILE_TYPE_UNKNOWN 0x0000
#define FILE_TYPE_DISK 0x0001
#define FILE_TYPE_CHAR 0x0002
#define FILE_TYPE_PIPE 0x0003

#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_COPY_ALLOWED 0x00000002
#define MOVEFILE_DELAY_UNTIL_REBOOT 0x00000004
#define MOVEFILE_WRITE_THROUGH 0x00000008

#define DRIVE_UNKNOWN 0
#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_REMOVABLE 2
#define DRIVE_FIXED 3
#define DRIVE_REMOTE 4
#define DRIVE_CDROM 5
#define DRIVE_RAMDISK 6

#define SEM_FAILCRITICALERRORS 0x0001
#define SEM_NOGPFAULTERRORBOX 0x0002
#define SEM_NOALIGNMENTFAULTEXCEPT 0x0004
#define SEM_NOOPENFILEERRORBOX 0x8000

#ifndef ERROR_NOT_LOCKED
#define ERROR_NOT_LOCKED 158
#endif

typedef struct _OVERLAPPED {
  ULONG_PTR Internal;
  ULONG_PTR InternalHigh;
  union {
    struct {
      DWORD Offset;
      DWORD OffsetHigh;
    };
    PVOID Pointer;
  };
  HANDLE hEvent;
} OVERLAPPED, *LPOVERLAPPED;

typedef enum _GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard, GetFileExMaxInfoLevel } GET_FILEEX_INFO_LEVELS;

typedef struct _WIN32_FILE_ATTRIBUTE_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
} WIN32_FILE_ATTRIBUTE_DATA, *LPWIN32_FILE_ATTRIBUTE_DATA;

// File handles. A file created with FILE_ATTRIBUTE_TEMPORARY is readable and writable by its
// owner alone (0600), whatever the umask; its maker gives it its final permissions. Share modes are enforced among the handles of this process (an open that
// conflicts fails with ERROR_SHARING_VIOLATION, as do DeleteFile and MoveFile of a file open
// without FILE_SHARE_DELETE). A folder opens only with FILE_FLAG_BACKUP_SEMANTICS.
HANDLE CreateFile(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                  LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                  DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped);
// On success the last error is NO_ERROR, so a low part of 0xFFFFFFFF can be told from failure.
DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod);
BOOL SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                      DWORD dwMoveMethod);
BOOL SetEndOfFile(HANDLE hFile);
BOOL FlushFileBuffers(HANDLE hFile);
DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
BOOL GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize);
BOOL GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                 LPFILETIME lpLastWriteTime);
// The creation time cannot be set on POSIX and is ignored.
BOOL SetFileTime(HANDLE hFile, const FILETIME* lpCreationTime, const FILETIME* lpLastAccessTime,
                 const FILETIME* lpLastWriteTime);
DWORD GetFileType(HANDLE hFile);
// Byte-range locks conflict between handles as on Windows, but are advisory: reads and writes
// through other handles are not refused.
BOOL LockFile(HANDLE hFile, DWORD dwFileOffsetLow, DWORD dwFileOffsetHigh,
              DWORD nNumberOfBytesToLockLow, DWORD nNumberOfBytesToLockHigh);
BOOL UnlockFile(HANDLE hFile, DWORD dwFileOffsetLow, DWORD dwFileOffsetHigh,
                DWORD nNumberOfBytesToUnlockLow, DWORD nNumberOfBytesToUnlockHigh);

// Attributes are synthesised: directory, read-only when not writable (files only), archive for
// regular files, hidden for names starting with a dot, device for other entries, reparse point
// for a symbolic link (with the attributes of its target), normal when none applies.
DWORD GetFileAttributes(LPCSTR lpFileName);
BOOL GetFileAttributesEx(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation);
// Only FILE_ATTRIBUTE_READONLY has an effect: it clears (or restores) the write permissions.
BOOL SetFileAttributes(LPCSTR lpFileName, DWORD dwFileAttributes);

// Copies through a temporary file in the target's folder renamed into place at the end, so a
// failed copy leaves no partial target; the last write time and permissions go with the data.
BOOL CopyFile(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists);
BOOL MoveFile(LPCSTR lpExistingFileName, LPCSTR lpNewFileName);
BOOL MoveFileEx(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags);
// Deletes a file, or a symbolic link as a link; a folder or a read-only file fails with
// ERROR_ACCESS_DENIED.
BOOL DeleteFile(LPCSTR lpFileName);
BOOL CreateDirectory(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
// Removes an empty folder, or a symbolic link to a folder as a link.
BOOL RemoveDirectory(LPCSTR lpPathName);

// The functions that fill a buffer return the length written (without the terminator), or the
// size needed (with it) when the buffer is too small.
DWORD GetCurrentDirectory(DWORD nBufferLength, LPSTR lpBuffer);
BOOL SetCurrentDirectory(LPCSTR lpPathName);
DWORD GetFullPathName(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart);
// No short names exist: both return the path as given, when it exists.
DWORD GetLongPathName(LPCSTR lpszShortPath, LPSTR lpszLongPath, DWORD cchBuffer);
DWORD GetShortPathName(LPCSTR lpszLongPath, LPSTR lpszShortPath, DWORD cchBuffer);
// $TMPDIR or /tmp, with a trailing '/'.
DWORD GetTempPath(DWORD nBufferLength, LPSTR lpBuffer);
UINT GetTempFileName(LPCSTR lpPathName, LPCSTR lpPrefixString, UINT uUnique, LPSTR lpTempFileName);
// The executable's path (from /proc/self/exe) for any module handle.
DWORD GetModuleFileName(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
// The installation's `share/` folder beside `bin/` (`<program folder>/../share`); the program's
// own folder when there is no such folder (the build tree); `$BRAMBOLT_WINDOWS_DIR` overrides.
UINT GetWindowsDirectory(LPSTR lpBuffer, UINT uSize);
// The same folder as GetWindowsDirectory: nothing of a system folder exists here.
UINT GetSystemDirectory(LPSTR lpBuffer, UINT uSize);
// One drive, C:, standing for the root. Any existing folder counts as a fixed drive's root.
UINT GetDriveType(LPCSTR lpRootPathName);
BOOL GetDiskFreeSpace(LPCSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
                      LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters);
BOOL GetDiskFreeSpaceEx(LPCSTR lpDirectoryName, PULARGE_INTEGER lpFreeBytesAvailableToCaller,
                        PULARGE_INTEGER lpTotalNumberOfBytes, PULARGE_INTEGER lpTotalNumberOfFreeBytes);
DWORD GetLogicalDrives();
DWORD GetLogicalDriveStrings(DWORD nBufferLength, LPSTR lpBuffer);
// Looks for a file in the folders of lpPath (separated by ';'), or when it is NULL in the program's
// folder, the current folder, the system and Windows folders and then those of PATH; lpExtension
// is added to a name without one. Returns the full path's length as GetFullPathName does, or 0
// with ERROR_FILE_NOT_FOUND.
DWORD SearchPath(LPCSTR lpPath, LPCSTR lpFileName, LPCSTR lpExtension, DWORD nBufferLength, LPSTR lpBuffer,
                 LPSTR* lpFilePart);
// The process's environment; a NULL value removes the variable. A missing variable gives 0 with
// ERROR_ENVVAR_NOT_FOUND.
DWORD GetEnvironmentVariable(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize);
BOOL SetEnvironmentVariable(LPCSTR lpName, LPCSTR lpValue);
// Critical-error boxes do not exist here: the mode is only remembered (process-wide).
UINT SetErrorMode(UINT uMode);
LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2);

#define CreateFileA CreateFile
#define GetFileAttributesA GetFileAttributes
#define GetFileAttributesExA GetFileAttributesEx
#define SetFileAttributesA SetFileAttributes
#define CopyFileA CopyFile
#define MoveFileA MoveFile
#define MoveFileExA MoveFileEx
#define DeleteFileA DeleteFile
#define CreateDirectoryA CreateDirectory
#define RemoveDirectoryA RemoveDirectory
#define GetCurrentDirectoryA GetCurrentDirectory
#define SetCurrentDirectoryA SetCurrentDirectory
#define GetFullPathNameA GetFullPathName
#define GetLongPathNameA GetLongPathName
#define GetShortPathNameA GetShortPathName
#define GetTempPathA GetTempPath
#define GetTempFileNameA GetTempFileName
#define GetModuleFileNameA GetModuleFileName
#define SearchPathA SearchPath
#define GetEnvironmentVariableA GetEnvironmentVariable
#define SetEnvironmentVariableA SetEnvironmentVariable
#define GetWindowsDirectoryA GetWindowsDirectory
#define GetSystemDirectoryA GetSystemDirectory
#define GetDriveTypeA GetDriveType
#define GetDiskFreeSpaceA GetDiskFreeSpace
#define GetDiskFreeSpaceExA GetDiskFreeSpaceEx
#define GetLogicalDriveStringsA GetLogicalDriveStrings

namespace brambolt {

// The FILETIME of a POSIX time (seconds and nanoseconds since 1970) and back.
FILETIME FileTimeFromUnix(std::int64_t seconds, long nanoseconds);
void UnixFromFileTime(const FILETIME& fileTime, std::int64_t& seconds, long& nanoseconds);

// What tells one file from another, and one state of a file from the next: the device and inode
// of the file a path names (symbolic links followed), its kind, its size and its last-write time
// to the nanosecond. A file written again in place keeps its device and inode and changes its time
// (or its size); a file put in its place (a rename over it) has another inode.
struct FileIdentity {
  enum class Kind { missing, regular, folder, special };  // special: a device, pipe or socket
  Kind kind = Kind::missing;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t seconds = 0;
  long nanoseconds = 0;

  bool Exists() const { return kind != Kind::missing; }
  // One file (device and inode), whatever its content.
  bool SameFile(const FileIdentity& other) const {
    return Exists() && other.Exists() && device == other.device && inode == other.inode;
  }
  // One file, unchanged: the same size and last-write time too.
  bool operator==(const FileIdentity& other) const {
    return kind == other.kind && device == other.device && inode == other.inode && size == other.size &&
           seconds == other.seconds && nanoseconds == other.nanoseconds;
  }
  bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of the file a path names, through the path rules; kind missing when nothing is there
// (or the path leads nowhere).
FileIdentity QueryFileIdentity(const char* path);
// The identity of the file an open handle reads or writes.
FileIdentity QueryFileIdentity(HANDLE file);

// The path of the file a path names with every symbolic link and every "." and ".." resolved (the
// native path of the file itself); for a path where nothing is there, its folder resolved and its
// name as spelled.
std::string ResolvedFilePath(const char* path);

// Whether two paths, however spelled (separators, letter case resolved by the path rules, links,
// ".."), name one file: the same device and inode; when either names nothing, the same resolved
// path.
bool IsSameFile(const char* a, const char* b);

// Renames the file a path names to `systemName` in its folder, a name spelled as the system
// spells it: its bytes reach the disk as they are, with no conversion to the locale's charset
// (for a name that must stay in the bytes of a code page under a UTF-8 locale). Fails as MoveFile
// does, and when a file of that name exists.
BOOL RenameToSystemName(const char* path, const std::string& systemName);

// The file calls for a path the system already spells: a native path the platform resolved itself
// (a save's temporary file beside its target, the target a link names). Its bytes reach the system
// as they are, never converted to the locale's charset or looked up again (os/Paths.h). Otherwise
// as CreateFile, MoveFileEx and DeleteFile.
HANDLE CreateFileAtSystemPath(const std::string& systemPath, DWORD dwDesiredAccess, DWORD dwShareMode,
                              DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes);
BOOL MoveFileAtSystemPaths(const std::string& systemSource, const std::string& systemTarget, DWORD dwFlags);
BOOL DeleteFileAtSystemPath(const std::string& systemPath);

// fopen with the path rules and the C runtime's modes of Windows: without 'b' the stream is in
// text mode (CR LF read as LF, LF written as CR LF); 't' is accepted. In text mode a position
// from ftell counts the stream's bytes, not the file's.
FILE* OpenStdioFile(const char* path, const char* mode);

// Called with the native path of a file before CopyFile reads it, so that the layer that saves
// files can first complete (or tell the user of) a save of it that was killed half-way. False
// when another process is still writing the file in place: the copy then fails with
// ERROR_SHARING_VIOLATION rather than copy a half-written file. Set once by that layer; none by
// default.
using BeforeCopyHook = bool (*)(const std::string& nativePath);
void SetBeforeCopyHook(BeforeCopyHook hook);

}  // namespace brambolt

inline FILE* _tfopen(const char* path, const char* mode) { return brambolt::OpenStdioFile(path, mode); }
inline FILE* _fsopen(const char* path, const char* mode, int /*shflag*/) {
  return brambolt::OpenStdioFile(path, mode);
}

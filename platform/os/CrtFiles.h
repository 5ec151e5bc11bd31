// The file functions of the Windows C runtime (_access, _stat, _splitpath, _findfirst ...) over
// the path rules. They report failure through errno as the runtime does.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <ctime>

#include "base/base.h"

#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256

// The mode bits of _stat have the same values as POSIX's.
#define _S_IFMT 0xF000
#define _S_IFDIR 0x4000
#define _S_IFCHR 0x2000
#define _S_IFIFO 0x1000
#define _S_IFREG 0x8000
#define _S_IREAD 0x0100
#define _S_IWRITE 0x0080
#define _S_IEXEC 0x0040

#define _A_NORMAL 0x00
#define _A_RDONLY 0x01
#define _A_HIDDEN 0x02
#define _A_SYSTEM 0x04
#define _A_SUBDIR 0x10
#define _A_ARCH 0x20

// glibc spells st_mtime and friends as macros over timespec members; the runtime's structures
// carry those members so that `s.st_mtime` reads the same on both.
struct _stati64 {
  std::uint64_t st_dev;
  std::uint64_t st_ino;
  unsigned short st_mode;
  short st_nlink;
  std::uint32_t st_uid;
  std::uint32_t st_gid;
  std::uint64_t st_rdev;
  std::int64_t st_size;
#ifdef st_mtime
  struct timespec st_atim;
  struct timespec st_mtim;
  struct timespec st_ctim;
#else
  time_t st_atime;
  time_t st_mtime;
  time_t st_ctime;
#endif
};
struct _stat : _stati64 {};

int _stat(const char* path, struct _stat* buffer);
int _stati64(const char* path, struct _stati64* buffer);
// 0 when the path exists with the access asked (0 existence, 2 write, 4 read, 6 both).
int _access(const char* path, int mode);
int _mkdir(const char* dirname);
int _rmdir(const char* dirname);
int _chdir(const char* dirname);
int _unlink(const char* filename);
// With a NULL buffer the result is allocated with malloc (at least maxlen bytes).
char* _getcwd(char* buffer, int maxlen);
char* _fullpath(char* absPath, const char* relPath, std::size_t maxLength);

// Splits at the drive ("C:"), the folder (with its trailing separator), the name and the
// extension (from the last dot, with it); any output may be NULL. Separators are `\` and `/`,
// double-byte characters are never split.
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
// Joins the four parts, adding the ':' of the drive, a `\` after the folder and the '.' of the
// extension where missing.
void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext);

typedef unsigned long _fsize_t;
struct _finddata_t {
  unsigned attrib;
  time_t time_create;
  time_t time_access;
  time_t time_write;
  _fsize_t size;
  char name[260];
};

// Search handles of the runtime: -1 on failure with errno ENOENT (no match or no folder).
intptr_t _findfirst(const char* filespec, struct _finddata_t* fileinfo);
int _findnext(intptr_t handle, struct _finddata_t* fileinfo);
int _findclose(intptr_t handle);

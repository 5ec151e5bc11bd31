// Global and local memory handles: fixed blocks whose handle is their address, and moveable
// blocks reached through a handle, a lock count and GlobalLock.
#pragma once

#include "base/WinTypes.h"

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_NOCOMPACT 0x0010
#define GMEM_NODISCARD 0x0020
#define GMEM_ZEROINIT 0x0040
#define GMEM_MODIFY 0x0080
#define GMEM_DISCARDABLE 0x0100
#define GMEM_NOT_BANKED 0x1000
#define GMEM_LOWER GMEM_NOT_BANKED
#define GMEM_SHARE 0x2000
#define GMEM_DDESHARE 0x2000
#define GMEM_NOTIFY 0x4000
#define GMEM_VALID_FLAGS 0x7F72
#define GMEM_INVALID_HANDLE 0x8000
#define GMEM_DISCARDED 0x4000
#define GMEM_LOCKCOUNT 0x00FF
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_NOCOMPACT 0x0010
#define LMEM_NODISCARD 0x0020
#define LMEM_ZEROINIT 0x0040
#define LMEM_MODIFY 0x0080
#define LMEM_DISCARDABLE 0x0F00
#define LMEM_DISCARDED 0x4000
#define LMEM_INVALID_HANDLE 0x8000
#define LMEM_LOCKCOUNT 0x00FF
#define LHND (LMEM_MOVEABLE | LMEM_ZEROINIT)
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
#define NONZEROLHND LMEM_MOVEABLE
#define NONZEROLPTR LMEM_FIXED

// New memory is always zeroed, with or without GMEM_ZEROINIT. A moveable block of size 0 is
// "discarded": its handle is valid but GlobalLock gives NULL. GlobalSize is the size asked for.
// GlobalReAlloc keeps a locked block in place: it fails with ERROR_NOT_ENOUGH_MEMORY when the
// block would have to move and GMEM_MOVEABLE does not allow it. Calls on something that is not
// a live handle fail with ERROR_INVALID_HANDLE.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags);
SIZE_T GlobalSize(HGLOBAL memory);
LPVOID GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
HGLOBAL GlobalHandle(LPCVOID pointer);
UINT GlobalFlags(HGLOBAL memory);
HGLOBAL GlobalFree(HGLOBAL memory);

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalReAlloc(HLOCAL memory, SIZE_T bytes, UINT flags);
SIZE_T LocalSize(HLOCAL memory);
LPVOID LocalLock(HLOCAL memory);
BOOL LocalUnlock(HLOCAL memory);
HLOCAL LocalHandle(LPCVOID pointer);
UINT LocalFlags(HLOCAL memory);
HLOCAL LocalFree(HLOCAL memory);

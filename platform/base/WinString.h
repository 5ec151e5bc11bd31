// The Win32 lstr* string functions, wsprintf, and the C runtime string names glibc lacks.
// All of them step over double-byte characters of the ANSI code page whole.
#pragma once

#include <cstdarg>
#include <cstddef>

#include "base/WinTypes.h"

// A NULL string counts as empty.
int lstrlen(LPCSTR text);
LPSTR lstrcpy(LPSTR dest, LPCSTR src);
// Copies at most maxLength - 1 bytes and a terminator, never half of a double-byte character;
// writes nothing when maxLength <= 0.
LPSTR lstrcpyn(LPSTR dest, LPCSTR src, int maxLength);
LPSTR lstrcat(LPSTR dest, LPCSTR src);
// Ordering as the system sorts words: letters compare without case first and a lower-case
// letter comes before its upper-case form only when the strings are otherwise equal.
int lstrcmp(LPCSTR a, LPCSTR b);
int lstrcmpi(LPCSTR a, LPCSTR b);

// The Windows subset of printf: %c %d %i %u %x %X %s %S %hs %ls %p and %%, with the flags
// - 0 #, width, precision and the size prefixes h l I64; no floating point. Output is cut at
// 1024 bytes including the terminator. Returns the number of bytes stored.
int wsprintf(LPSTR buffer, LPCSTR format, ...);
int wvsprintf(LPSTR buffer, LPCSTR format, va_list args);

#define lstrlenA lstrlen
#define lstrcpyA lstrcpy
#define lstrcpynA lstrcpyn
#define lstrcatA lstrcat
#define lstrcmpA lstrcmp
#define lstrcmpiA lstrcmpi
#define wsprintfA wsprintf
#define wvsprintfA wvsprintf

// Radix 2..36; a negative value gets a minus sign only in radix 10, other radices show its
// 32-bit (or, for the 64-bit forms, 64-bit) two's complement.
char* _itoa(int value, char* buffer, int radix);
char* _ltoa(long value, char* buffer, int radix);
char* _ultoa(unsigned long value, char* buffer, int radix);
char* _i64toa(long long value, char* buffer, int radix);
char* _ui64toa(unsigned long long value, char* buffer, int radix);
long long _atoi64(const char* text);

// Case-insensitive comparisons fold the code page's single-byte letters to lower case (so '_'
// sorts before letters); double-byte characters are compared whole and never folded.
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, size_t count);
// In-place case conversion that leaves double-byte characters alone.
char* _strlwr(char* text);
char* _strupr(char* text);
char* _strrev(char* text);
char* _strdup(const char* text);

// Windows' _snprintf: returns -1 and leaves the buffer unterminated when the text does not fit.
int _snprintf(char* buffer, size_t count, const char* format, ...) __attribute__((format(printf, 3, 4)));
int _vsnprintf(char* buffer, size_t count, const char* format, va_list args);

#define _strcmpi _stricmp
#define stricmp _stricmp
#define strnicmp _strnicmp
#define _itot _itoa
#define _ltot _ltoa
#define _ultot _ultoa

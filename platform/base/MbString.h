// The C runtime's multibyte string family (_mbs*, _ismbb*) over the ANSI code page, and the
// _tcs* names of a multibyte build mapped onto it.
#pragma once

#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/CodePage.h"

int _ismbblead(unsigned int c);
int _ismbbtrail(unsigned int c);
// Whether `current` is a lead / trail byte, judged from the start of the string.
int _ismbslead(const unsigned char* start, const unsigned char* current);
int _ismbstrail(const unsigned char* start, const unsigned char* current);

unsigned char* _mbsinc(const unsigned char* current);
// The start of the character before `current`, or NULL when `current` is not after `start`.
unsigned char* _mbsdec(const unsigned char* start, const unsigned char* current);
unsigned char* _mbsninc(const unsigned char* str, size_t count);
// A double-byte character as lead << 8 | trail, a single byte as itself.
unsigned int _mbsnextc(const unsigned char* str);
size_t _mbclen(const unsigned char* c);
size_t _mbslen(const unsigned char* str);
// The number of bytes in the first `characters` characters / characters in the first `bytes` bytes.
size_t _mbsnbcnt(const unsigned char* str, size_t characters);
size_t _mbsnccnt(const unsigned char* str, size_t bytes);

unsigned char* _mbschr(const unsigned char* str, unsigned int c);
unsigned char* _mbsrchr(const unsigned char* str, unsigned int c);
unsigned char* _mbsstr(const unsigned char* str, const unsigned char* sub);
unsigned char* _mbspbrk(const unsigned char* str, const unsigned char* set);
size_t _mbsspn(const unsigned char* str, const unsigned char* set);
size_t _mbscspn(const unsigned char* str, const unsigned char* set);

// Comparisons go character by character; the case-insensitive ones fold single-byte letters
// to lower case and compare double-byte characters as they are. Results are -1, 0 or 1.
int _mbscmp(const unsigned char* a, const unsigned char* b);
int _mbsicmp(const unsigned char* a, const unsigned char* b);
int _mbsncmp(const unsigned char* a, const unsigned char* b, size_t characters);
int _mbsnicmp(const unsigned char* a, const unsigned char* b, size_t characters);
int _mbsnbcmp(const unsigned char* a, const unsigned char* b, size_t bytes);
int _mbsnbicmp(const unsigned char* a, const unsigned char* b, size_t bytes);

unsigned char* _mbslwr(unsigned char* str);
unsigned char* _mbsupr(unsigned char* str);
unsigned char* _mbsrev(unsigned char* str);
unsigned int _mbctolower(unsigned int c);
unsigned int _mbctoupper(unsigned int c);

// Copies whole characters while they fit in `count` bytes, then pads with NULs up to `count`
// (no terminator when the source fills the buffer), as strncpy does.
unsigned char* _mbsnbcpy(unsigned char* dest, const unsigned char* src, size_t count);
// Appends whole characters of `src` while they fit in `count` bytes, then a terminator.
unsigned char* _mbsnbcat(unsigned char* dest, const unsigned char* src, size_t count);

// The _tcs names of a multibyte build take and return plain `char` strings.
namespace brambolt::detail {
inline const unsigned char* U(const char* s) { return reinterpret_cast<const unsigned char*>(s); }
inline unsigned char* U(char* s) { return reinterpret_cast<unsigned char*>(s); }
inline char* C(unsigned char* s) { return reinterpret_cast<char*>(s); }
}  // namespace brambolt::detail

inline char* _tcsinc(const char* p) { return brambolt::detail::C(_mbsinc(brambolt::detail::U(p))); }
inline char* _tcsdec(const char* start, const char* p) {
  return brambolt::detail::C(_mbsdec(brambolt::detail::U(start), brambolt::detail::U(p)));
}
inline char* _tcsninc(const char* p, size_t n) { return brambolt::detail::C(_mbsninc(brambolt::detail::U(p), n)); }
inline unsigned int _tcsnextc(const char* p) { return _mbsnextc(brambolt::detail::U(p)); }
inline size_t _tclen(const char* p) { return _mbclen(brambolt::detail::U(p)); }
inline size_t _tcsclen(const char* p) { return _mbslen(brambolt::detail::U(p)); }
inline char* _tcschr(const char* s, unsigned int c) { return brambolt::detail::C(_mbschr(brambolt::detail::U(s), c)); }
inline char* _tcsrchr(const char* s, unsigned int c) {
  return brambolt::detail::C(_mbsrchr(brambolt::detail::U(s), c));
}
inline char* _tcsstr(const char* s, const char* sub) {
  return brambolt::detail::C(_mbsstr(brambolt::detail::U(s), brambolt::detail::U(sub)));
}
inline char* _tcspbrk(const char* s, const char* set) {
  return brambolt::detail::C(_mbspbrk(brambolt::detail::U(s), brambolt::detail::U(set)));
}
inline size_t _tcsspn(const char* s, const char* set) {
  return _mbsspn(brambolt::detail::U(s), brambolt::detail::U(set));
}
inline size_t _tcscspn(const char* s, const char* set) {
  return _mbscspn(brambolt::detail::U(s), brambolt::detail::U(set));
}
inline int _tcscmp(const char* a, const char* b) { return _mbscmp(brambolt::detail::U(a), brambolt::detail::U(b)); }
inline int _tcsicmp(const char* a, const char* b) { return _mbsicmp(brambolt::detail::U(a), brambolt::detail::U(b)); }
inline int _tcsncmp(const char* a, const char* b, size_t n) {
  return _mbsnbcmp(brambolt::detail::U(a), brambolt::detail::U(b), n);
}
inline int _tcsnicmp(const char* a, const char* b, size_t n) {
  return _mbsnbicmp(brambolt::detail::U(a), brambolt::detail::U(b), n);
}
inline int _tcsnccmp(const char* a, const char* b, size_t n) {
  return _mbsncmp(brambolt::detail::U(a), brambolt::detail::U(b), n);
}
inline int _tcsncicmp(const char* a, const char* b, size_t n) {
  return _mbsnicmp(brambolt::detail::U(a), brambolt::detail::U(b), n);
}
inline char* _tcslwr(char* s) { return brambolt::detail::C(_mbslwr(brambolt::detail::U(s))); }
inline char* _tcsupr(char* s) { return brambolt::detail::C(_mbsupr(brambolt::detail::U(s))); }
inline char* _tcsrev(char* s) { return brambolt::detail::C(_mbsrev(brambolt::detail::U(s))); }
inline char* _tcsncpy(char* d, const char* s, size_t n) {
  return brambolt::detail::C(_mbsnbcpy(brambolt::detail::U(d), brambolt::detail::U(s), n));
}
inline char* _tcsncat(char* d, const char* s, size_t n) {
  return brambolt::detail::C(_mbsnbcat(brambolt::detail::U(d), brambolt::detail::U(s), n));
}
inline int _istlead(unsigned int c) { return _ismbblead(c); }
inline unsigned int _totlower(unsigned int c) { return _mbctolower(c); }
inline unsigned int _totupper(unsigned int c) { return _mbctoupper(c); }

#define _tcslen strlen
#define _tcscpy strcpy
#define _tcscat strcat
#define _tcsdup strdup
#define _tcstok strtok
#define _tcstol strtol
#define _tcstoul strtoul
#define _tcstod strtod
#define _tcsftime strftime
#define _ttoi atoi
#define _ttol atol
#define _tstoi atoi
#define _tstol atol
#define _ttof atof
#define _stprintf sprintf
#define _sntprintf snprintf
#define _vstprintf vsprintf
#define _vsntprintf vsnprintf
#define _stscanf sscanf
#define _tprintf printf
#define _ftprintf fprintf
#define _istdigit isdigit
#define _istspace isspace
#define _istalpha isalpha
#define _istalnum isalnum
#define _istupper isupper
#define _istlower islower
#define _istprint isprint
#define _istxdigit isxdigit
#define _istpunct ispunct
#define _tcscoll strcoll
#define _tcsicoll _tcsicmp
#define _tcsnbcnt(s, n) _mbsnbcnt(reinterpret_cast<const unsigned char*>(s), n)
#define _tcsnccnt(s, n) _mbsnccnt(reinterpret_cast<const unsigned char*>(s), n)
#define _TINT int
#define _TEOF EOF

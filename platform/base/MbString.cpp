// The multibyte string family over the ANSI code page.
#include "base/MbString.h"

#include <vector>

namespace {

using uchar = unsigned char;

bool Lead(uchar c) { return IsDBCSLeadByte(c); }

// Length in bytes of the character at `p`; a lead byte stands alone before the terminator and
// before any byte no character of the page ends in (a "." after bytes of another charset).
size_t CharLength(const uchar* p) { return (Lead(*p) && brambolt::IsTrailByteEx(CP_ACP, p[1])) ? 2 : 1; }

unsigned int CharAt(const uchar* p) {
  return CharLength(p) == 2 ? (static_cast<unsigned int>(p[0]) << 8) | p[1] : p[0];
}

unsigned int FoldLower(unsigned int c) { return c <= 0xFF ? brambolt::ToLowerByte(static_cast<BYTE>(c)) : c; }
unsigned int FoldUpper(unsigned int c) { return c <= 0xFF ? brambolt::ToUpperByte(static_cast<BYTE>(c)) : c; }
unsigned int Same(unsigned int c) { return c; }

int Sign(long long difference) { return difference < 0 ? -1 : (difference > 0 ? 1 : 0); }

// Compares character by character, at most `characters` characters and `bytes` bytes.
// A double-byte character cut by the byte limit is compared by its lead byte alone.
template <unsigned int (*Fold)(unsigned int)>
int Compare(const uchar* a, const uchar* b, size_t characters, size_t bytes) {
  size_t used = 0;
  for (size_t n = 0; n < characters && used < bytes; ++n) {
    // ASCII is a character of its own in every code page and folds as ASCII.
    if (*a < 0x80 && *b < 0x80) {
      unsigned int ca = Fold(*a), cb = Fold(*b);
      if (ca != cb) return Sign(static_cast<long long>(ca) - cb);
      if (ca == 0) return 0;
      ++a, ++b, ++used;
      continue;
    }
    bool cut = bytes - used < 2;
    unsigned int ca = cut ? *a : CharAt(a);
    unsigned int cb = cut ? *b : CharAt(b);
    if (Fold(ca) != Fold(cb)) return Sign(static_cast<long long>(Fold(ca)) - Fold(cb));
    if (ca == 0) return 0;
    size_t step = cut ? 1 : CharLength(a);
    a += step;
    b += step;
    used += step;
  }
  return 0;
}

bool InSet(const uchar* set, unsigned int c) {
  for (const uchar* s = set; *s; s += CharLength(s))
    if (CharAt(s) == c) return true;
  return false;
}

}  // namespace

int _ismbblead(unsigned int c) { return c <= 0xFF && Lead(static_cast<uchar>(c)) ? 1 : 0; }

int _ismbbtrail(unsigned int c) { return c <= 0xFF && brambolt::IsTrailByteEx(CP_ACP, static_cast<BYTE>(c)) ? 1 : 0; }

int _ismbslead(const unsigned char* start, const unsigned char* current) {
  const uchar* p = start;
  while (p < current && *p) p += CharLength(p);
  return p == current && *p && CharLength(p) == 2 ? -1 : 0;
}

int _ismbstrail(const unsigned char* start, const unsigned char* current) {
  if (current <= start) return 0;
  return _mbsdec(start, current) == current - 1 && _ismbslead(start, current - 1) ? -1 : 0;
}

unsigned char* _mbsinc(const unsigned char* current) {
  return const_cast<uchar*>(current + (*current ? CharLength(current) : 1));
}

unsigned char* _mbsdec(const unsigned char* start, const unsigned char* current) {
  if (current <= start) return nullptr;
  return reinterpret_cast<uchar*>(
      CharPrev(reinterpret_cast<const char*>(start), reinterpret_cast<const char*>(current)));
}

unsigned char* _mbsninc(const unsigned char* str, size_t count) {
  if (str == nullptr) return nullptr;
  while (count-- > 0 && *str) str += CharLength(str);
  return const_cast<uchar*>(str);
}

unsigned int _mbsnextc(const unsigned char* str) { return CharAt(str); }

size_t _mbclen(const unsigned char* c) { return Lead(*c) ? 2 : 1; }

size_t _mbslen(const unsigned char* str) {
  size_t n = 0;
  for (; *str; str += CharLength(str)) ++n;
  return n;
}

size_t _mbsnbcnt(const unsigned char* str, size_t characters) {
  return static_cast<size_t>(_mbsninc(str, characters) - str);
}

size_t _mbsnccnt(const unsigned char* str, size_t bytes) {
  size_t n = 0;
  for (size_t used = 0; used < bytes && str[used]; ++n) used += CharLength(str + used);
  return n;
}

unsigned char* _mbschr(const unsigned char* str, unsigned int c) {
  for (const uchar* p = str;; p += CharLength(p)) {
    if (CharAt(p) == c) return const_cast<uchar*>(p);
    if (*p == 0) return nullptr;
  }
}

unsigned char* _mbsrchr(const unsigned char* str, unsigned int c) {
  const uchar* found = nullptr;
  for (const uchar* p = str;; p += CharLength(p)) {
    if (CharAt(p) == c) found = p;
    if (*p == 0) return const_cast<uchar*>(found);
  }
}

unsigned char* _mbsstr(const unsigned char* str, const unsigned char* sub) {
  size_t length = std::strlen(reinterpret_cast<const char*>(sub));
  if (length == 0) return const_cast<uchar*>(str);
  // strncmp stops at the end of str, so a match is never looked for past it.
  for (const uchar* p = str; *p; p += CharLength(p))
    if (std::strncmp(reinterpret_cast<const char*>(p), reinterpret_cast<const char*>(sub), length) == 0)
      return const_cast<uchar*>(p);
  return nullptr;
}

unsigned char* _mbspbrk(const unsigned char* str, const unsigned char* set) {
  for (const uchar* p = str; *p; p += CharLength(p))
    if (InSet(set, CharAt(p))) return const_cast<uchar*>(p);
  return nullptr;
}

size_t _mbsspn(const unsigned char* str, const unsigned char* set) {
  const uchar* p = str;
  while (*p && InSet(set, CharAt(p))) p += CharLength(p);
  return static_cast<size_t>(p - str);
}

size_t _mbscspn(const unsigned char* str, const unsigned char* set) {
  const uchar* p = str;
  while (*p && !InSet(set, CharAt(p))) p += CharLength(p);
  return static_cast<size_t>(p - str);
}

int _mbscmp(const unsigned char* a, const unsigned char* b) { return Compare<Same>(a, b, SIZE_MAX, SIZE_MAX); }
int _mbsicmp(const unsigned char* a, const unsigned char* b) {
  return Compare<FoldLower>(a, b, SIZE_MAX, SIZE_MAX);
}
int _mbsncmp(const unsigned char* a, const unsigned char* b, size_t characters) {
  return Compare<Same>(a, b, characters, SIZE_MAX);
}
int _mbsnicmp(const unsigned char* a, const unsigned char* b, size_t characters) {
  return Compare<FoldLower>(a, b, characters, SIZE_MAX);
}
int _mbsnbcmp(const unsigned char* a, const unsigned char* b, size_t bytes) {
  return Compare<Same>(a, b, SIZE_MAX, bytes);
}
int _mbsnbicmp(const unsigned char* a, const unsigned char* b, size_t bytes) {
  return Compare<FoldLower>(a, b, SIZE_MAX, bytes);
}

unsigned char* _mbslwr(unsigned char* str) {
  auto* text = reinterpret_cast<char*>(str);
  CharLowerBuff(text, static_cast<DWORD>(std::strlen(text)));
  return str;
}

unsigned char* _mbsupr(unsigned char* str) {
  auto* text = reinterpret_cast<char*>(str);
  CharUpperBuff(text, static_cast<DWORD>(std::strlen(text)));
  return str;
}

unsigned char* _mbsrev(unsigned char* str) {
  size_t length = std::strlen(reinterpret_cast<char*>(str));
  if (length == 0) return str;  // an empty vector's data() may be null, which memcpy must not get
  std::vector<uchar> reversed(length);
  size_t out = length;
  for (const uchar* p = str; *p;) {
    size_t step = CharLength(p);
    out -= step;
    std::memcpy(reversed.data() + out, p, step);
    p += step;
  }
  std::memcpy(str, reversed.data(), length);
  return str;
}

unsigned int _mbctolower(unsigned int c) { return FoldLower(c); }
unsigned int _mbctoupper(unsigned int c) { return FoldUpper(c); }

unsigned char* _mbsnbcpy(unsigned char* dest, const unsigned char* src, size_t count) {
  size_t used = 0;
  while (used < count && *src) {
    size_t length = CharLength(src);
    if (used + length > count) break;
    std::memcpy(dest + used, src, length);
    used += length;
    src += length;
  }
  std::memset(dest + used, 0, count - used);
  return dest;
}

unsigned char* _mbsnbcat(unsigned char* dest, const unsigned char* src, size_t count) {
  uchar* end = dest + std::strlen(reinterpret_cast<char*>(dest));
  size_t used = 0;
  while (used < count && src[used]) {
    size_t length = CharLength(src + used);
    if (used + length > count) break;
    used += length;
  }
  std::memcpy(end, src, used);
  end[used] = 0;
  return dest;
}

// The lstr* functions, wsprintf and the C runtime string names, all lead-byte aware.
#include "base/WinString.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/CodePage.h"
#include "base/Convert.h"
#include "base/MbString.h"

namespace {

const unsigned char* U(const char* s) { return reinterpret_cast<const unsigned char*>(s); }
unsigned char* U(char* s) { return reinterpret_cast<unsigned char*>(s); }
const char* OrEmpty(const char* s) { return s != nullptr ? s : ""; }

std::string Digits(unsigned long long value, int radix, bool upper) {
  if (radix < 2 || radix > 36) return std::string();
  const char* symbols = upper ? "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ" : "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string text;
  do {
    text.push_back(symbols[value % static_cast<unsigned>(radix)]);
    value /= static_cast<unsigned>(radix);
  } while (value != 0);
  std::reverse(text.begin(), text.end());
  return text;
}

char* Store(const std::string& text, char* buffer) {
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return buffer;
}

char* SignedToText(long long value, unsigned long long asUnsigned, char* buffer, int radix) {
  if (radix == 10 && value < 0)
    return Store("-" + Digits(0ULL - static_cast<unsigned long long>(value), 10, false), buffer);
  return Store(Digits(radix == 10 ? static_cast<unsigned long long>(value) : asUnsigned, radix, false), buffer);
}

// The copy of at most `limit` bytes of `text` that ends on a character boundary.
std::string_view CutAtCharacter(std::string_view text, size_t limit) {
  return text.substr(0, brambolt::CharacterBoundary(text, limit));
}

constexpr size_t kWsprintfLimit = 1024;

struct Spec {
  bool left = false;
  bool zero = false;
  bool alternate = false;
  size_t width = 0;
  int precision = -1;
  enum { Default, Short, Long, Int64 } size = Default;
};

void Pad(std::string& out, std::string_view body, const Spec& spec, std::string_view prefix = {}) {
  size_t length = prefix.size() + body.size();
  size_t fill = spec.width > length ? spec.width - length : 0;
  if (spec.left) {
    out.append(prefix).append(body).append(fill, ' ');
  } else if (spec.zero) {
    out.append(prefix).append(fill, '0').append(body);
  } else {
    out.append(fill, ' ').append(prefix).append(body);
  }
}

void AppendNumber(std::string& out, unsigned long long magnitude, bool negative, int radix, bool upper, Spec spec) {
  std::string digits = Digits(magnitude, radix, upper);
  if (spec.precision >= 0) {
    spec.zero = false;
    if (spec.precision == 0 && magnitude == 0) digits.clear();
    if (digits.size() < static_cast<size_t>(spec.precision)) digits.insert(0, spec.precision - digits.size(), '0');
  }
  std::string prefix = negative ? "-" : "";
  if (spec.alternate && radix == 16 && magnitude != 0) prefix += upper ? "0X" : "0x";
  Pad(out, digits, spec, prefix);
}

void AppendText(std::string& out, std::string_view text, const Spec& spec) {
  if (spec.precision >= 0) text = CutAtCharacter(text, static_cast<size_t>(spec.precision));
  Spec plain = spec;
  plain.zero = false;
  Pad(out, text, plain);
}

}  // namespace

int lstrlen(LPCSTR text) { return text != nullptr ? static_cast<int>(std::strlen(text)) : 0; }

LPSTR lstrcpy(LPSTR dest, LPCSTR src) {
  if (dest == nullptr) return nullptr;
  return std::strcpy(dest, OrEmpty(src));
}

LPSTR lstrcpyn(LPSTR dest, LPCSTR src, int maxLength) {
  if (dest == nullptr || maxLength <= 0) return dest;
  std::string_view text = CutAtCharacter(OrEmpty(src), static_cast<size_t>(maxLength) - 1);
  std::memcpy(dest, text.data(), text.size());
  dest[text.size()] = '\0';
  return dest;
}

LPSTR lstrcat(LPSTR dest, LPCSTR src) {
  if (dest == nullptr) return nullptr;
  return std::strcat(dest, OrEmpty(src));
}

int lstrcmpi(LPCSTR a, LPCSTR b) { return _mbsicmp(U(OrEmpty(a)), U(OrEmpty(b))); }

int lstrcmp(LPCSTR a, LPCSTR b) {
  a = OrEmpty(a);
  b = OrEmpty(b);
  if (int primary = lstrcmpi(a, b)) return primary;
  // Equal but for case: the first differing letter decides, lower case first.
  for (; *a; ++a, ++b)
    if (*a != *b) return IsCharLower(*a) ? -1 : 1;
  return 0;
}

int wsprintf(LPSTR buffer, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  int n = wvsprintf(buffer, format, args);
  va_end(args);
  return n;
}

int wvsprintf(LPSTR buffer, LPCSTR format, va_list args) {
  std::string out;
  for (const char* p = OrEmpty(format); *p;) {
    if (*p != '%') {
      size_t step = _mbclen(U(p)) == 2 && p[1] != '\0' ? 2 : 1;
      out.append(p, step);
      p += step;
      continue;
    }
    ++p;
    Spec spec;
    for (;; ++p) {
      if (*p == '-') spec.left = true;
      else if (*p == '0') spec.zero = true;
      else if (*p == '#') spec.alternate = true;
      else break;
    }
    while (*p >= '0' && *p <= '9') spec.width = spec.width * 10 + static_cast<size_t>(*p++ - '0');
    if (*p == '.') {
      spec.precision = 0;
      for (++p; *p >= '0' && *p <= '9'; ++p) spec.precision = spec.precision * 10 + (*p - '0');
    }
    if (*p == 'h') {
      spec.size = Spec::Short;
      ++p;
    } else if (*p == 'l') {
      spec.size = Spec::Long;
      ++p;
    } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
      spec.size = Spec::Int64;
      p += 3;
    }
    char type = *p;
    if (type == '\0') break;
    ++p;
    switch (type) {
      case 'd':
      case 'i': {
        long long value = spec.size == Spec::Int64 ? va_arg(args, long long) : va_arg(args, int);
        if (spec.size == Spec::Short) value = static_cast<short>(value);
        unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
        AppendNumber(out, magnitude, value < 0, 10, false, spec);
        break;
      }
      case 'u':
      case 'x':
      case 'X': {
        unsigned long long value =
            spec.size == Spec::Int64 ? va_arg(args, unsigned long long) : va_arg(args, unsigned int);
        if (spec.size == Spec::Short) value = static_cast<unsigned short>(value);
        AppendNumber(out, value, false, type == 'u' ? 10 : 16, type == 'X', spec);
        break;
      }
      case 'p': {
        Spec pointer = spec;
        pointer.precision = static_cast<int>(2 * sizeof(void*));
        AppendNumber(out, reinterpret_cast<ULONG_PTR>(va_arg(args, void*)), false, 16, true, pointer);
        break;
      }
      case 'c':
      case 'C': {
        int value = va_arg(args, int);
        bool wide = type == 'C' ? spec.size != Spec::Short : spec.size == Spec::Long;
        std::string text = wide ? brambolt::WideToAnsi(std::u16string(1, static_cast<char16_t>(value)))
                                : std::string(1, static_cast<char>(value));
        Spec plain = spec;
        plain.precision = -1;
        AppendText(out, text, plain);
        break;
      }
      case 's':
      case 'S': {
        bool wide = type == 'S' ? spec.size != Spec::Short : spec.size == Spec::Long;
        if (wide) {
          const WCHAR* text = va_arg(args, const WCHAR*);
          AppendText(out, text != nullptr ? brambolt::WideToAnsi(text) : "(null)", spec);
        } else {
          const char* text = va_arg(args, const char*);
          AppendText(out, text != nullptr ? text : "(null)", spec);
        }
        break;
      }
      default:
        out.push_back(type);
        break;
    }
  }
  std::string_view result = CutAtCharacter(out, kWsprintfLimit - 1);
  std::memcpy(buffer, result.data(), result.size());
  buffer[result.size()] = '\0';
  return static_cast<int>(result.size());
}

char* _itoa(int value, char* buffer, int radix) {
  return SignedToText(value, static_cast<unsigned int>(value), buffer, radix);
}

char* _ltoa(long value, char* buffer, int radix) {
  // Windows' long is 32 bits: a negative value that fits shows its 32-bit complement.
  bool fits = value >= INT32_MIN && value <= INT32_MAX;
  return SignedToText(value, fits ? static_cast<unsigned int>(value) : static_cast<unsigned long>(value), buffer,
                      radix);
}

char* _ultoa(unsigned long value, char* buffer, int radix) { return Store(Digits(value, radix, false), buffer); }

char* _i64toa(long long value, char* buffer, int radix) {
  return SignedToText(value, static_cast<unsigned long long>(value), buffer, radix);
}

char* _ui64toa(unsigned long long value, char* buffer, int radix) { return Store(Digits(value, radix, false), buffer); }

long long _atoi64(const char* text) { return std::strtoll(OrEmpty(text), nullptr, 10); }

int _stricmp(const char* a, const char* b) { return _mbsicmp(U(a), U(b)); }

int _strnicmp(const char* a, const char* b, size_t count) { return _mbsnbicmp(U(a), U(b), count); }

char* _strlwr(char* text) { return reinterpret_cast<char*>(_mbslwr(U(text))); }

char* _strupr(char* text) { return reinterpret_cast<char*>(_mbsupr(U(text))); }

char* _strrev(char* text) { return reinterpret_cast<char*>(_mbsrev(U(text))); }

char* _strdup(const char* text) {
  if (text == nullptr) return nullptr;
  size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (copy != nullptr) std::memcpy(copy, text, size);
  return copy;
}

int _vsnprintf(char* buffer, size_t count, const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length < 0) return -1;
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  size_t stored = std::min(static_cast<size_t>(length), count);
  std::memcpy(buffer, text.data(), stored);
  if (stored < count) buffer[stored] = '\0';
  return static_cast<size_t>(length) <= count ? length : -1;
}

int _snprintf(char* buffer, size_t count, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = _vsnprintf(buffer, count, format, args);
  va_end(args);
  return n;
}

// Code-page conversion: Windows-1252 and UTF-8 by table and rule, GBK and Big5 through iconv.
#include "base/Convert.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

#include "base/LastError.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 0x80..0x9F; the five bytes the page leaves undefined map to the C1 controls of
// the same value so that any byte string round-trips.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

UINT Resolve(UINT codePage) {
  return (codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP) ? GetACP() : codePage;
}

bool IsSupported(UINT codePage) {
  return codePage == 936 || codePage == 950 || codePage == 1252 || codePage == CP_UTF8 || codePage == brambolt::kGb2312;
}

struct Decoded {
  std::u32string text;
  bool invalid = false;
};

struct Encoded {
  std::string text;
  bool usedDefault = false;
};

// iconv descriptors are not thread-safe, so each thread keeps its own, opened on first use.
class IconvCache {
 public:
  iconv_t Get(const char* to, const char* from) {
    auto key = std::string(to) + '<' + from;
    auto it = handles_.find(key);
    if (it == handles_.end()) it = handles_.emplace(key, Handle(iconv_open(to, from))).first;
    iconv(it->second.get(), nullptr, nullptr, nullptr, nullptr);
    return it->second.get();
  }

 private:
  struct Closer {
    void operator()(void* cd) const {
      if (cd != reinterpret_cast<void*>(-1)) iconv_close(static_cast<iconv_t>(cd));
    }
  };
  using Handle = std::unique_ptr<void, Closer>;
  std::map<std::string, Handle> handles_;
};

iconv_t Descriptor(const char* to, const char* from) {
  thread_local IconvCache cache;
  return cache.Get(to, from);
}

const char* IconvName(UINT codePage) {
  return codePage == 936 ? "CP936" : codePage == brambolt::kGb2312 ? "GB2312" : "CP950";
}

Decoded DecodeDoubleByte(UINT codePage, std::string_view text) {
  Decoded result;
  iconv_t cd = Descriptor("UTF-32LE", IconvName(codePage));
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    result.text.assign(text.size(), kReplacement);
    result.invalid = !text.empty();
    return result;
  }
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  std::u32string buffer(text.size() + 1, U'\0');
  while (inLeft > 0) {
    char* out = reinterpret_cast<char*>(buffer.data());
    size_t outLeft = buffer.size() * sizeof(char32_t);
    size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    int error = errno;
    result.text.append(buffer.data(), (buffer.size() * sizeof(char32_t) - outLeft) / sizeof(char32_t));
    if (rc != static_cast<size_t>(-1)) break;
    if (error == E2BIG) continue;
    // Undecodable: a lead byte with a valid trail byte is one bad character, anything else one byte.
    result.invalid = true;
    result.text.push_back(kReplacement);
    BYTE lead = static_cast<BYTE>(*in);
    size_t skip = (inLeft >= 2 && IsDBCSLeadByteEx(codePage, lead) &&
                   brambolt::IsTrailByteEx(codePage, static_cast<BYTE>(in[1])))
                      ? 2
                      : 1;
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return result;
}

Decoded DecodeUtf8(std::string_view text) {
  Decoded result;
  result.text.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    BYTE b = static_cast<BYTE>(text[i]);
    size_t length = b < 0x80 ? 1 : (b >= 0xC2 && b <= 0xDF) ? 2 : (b >= 0xE0 && b <= 0xEF) ? 3
                               : (b >= 0xF0 && b <= 0xF4) ? 4 : 0;
    char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
    size_t k = 1;
    for (; length > 1 && k < length && i + k < text.size(); ++k) {
      BYTE next = static_cast<BYTE>(text[i + k]);
      if ((next & 0xC0) != 0x80) break;
      c = (c << 6) | (next & 0x3F);
    }
    bool valid = length != 0 && k == length;
    if (valid && length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) valid = false;
    if (valid && length == 4 && (c < 0x10000 || c > 0x10FFFF)) valid = false;
    if (valid) {
      result.text.push_back(c);
      i += length;
    } else {
      result.invalid = true;
      result.text.push_back(kReplacement);
      i += length == 0 ? 1 : k;
    }
  }
  return result;
}

Decoded Decode(UINT codePage, std::string_view text) {
  if (codePage == CP_UTF8) return DecodeUtf8(text);
  if (codePage == 936 || codePage == 950 || codePage == brambolt::kGb2312) return DecodeDoubleByte(codePage, text);
  Decoded result;
  result.text.reserve(text.size());
  for (char ch : text) {
    BYTE b = static_cast<BYTE>(ch);
    result.text.push_back(b >= 0x80 && b < 0xA0 ? k1252High[b - 0x80] : b);
  }
  return result;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool IsEncodable(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

int Encode1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i)
    if (k1252High[i] == c) return 0x80 + i;
  return -1;
}

// `defaultChar` replaces what the page cannot represent; empty means '?'.
Encoded Encode(UINT codePage, std::u32string_view text, std::string_view defaultChar) {
  Encoded result;
  if (defaultChar.empty()) defaultChar = "?";
  auto replace = [&] {
    result.text.append(defaultChar);
    result.usedDefault = true;
  };
  if (codePage == CP_UTF8) {
    for (char32_t c : text) AppendUtf8(result.text, IsEncodable(c) ? c : kReplacement);
    return result;
  }
  if (codePage == 1252) {
    for (char32_t c : text) {
      int b = Encode1252(c);
      if (b < 0)
        replace();
      else
        result.text.push_back(static_cast<char>(b));
    }
    return result;
  }
  iconv_t cd = Descriptor(IconvName(codePage), "UTF-32LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    for (char32_t c : text) c < 0x80 ? result.text.push_back(static_cast<char>(c)) : replace();
    return result;
  }
  char* in = reinterpret_cast<char*>(const_cast<char32_t*>(text.data()));
  size_t inLeft = text.size() * sizeof(char32_t);
  std::string buffer(text.size() * 2 + 2, '\0');
  while (inLeft > 0) {
    char* out = buffer.data();
    size_t outLeft = buffer.size();
    size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    int error = errno;
    result.text.append(buffer.data(), buffer.size() - outLeft);
    if (rc != static_cast<size_t>(-1)) break;
    if (error == E2BIG) continue;
    replace();
    size_t skip = std::min<size_t>(inLeft, sizeof(char32_t));
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return result;
}

std::u16string ToUtf16(std::u32string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c >= 0x10000 && c <= 0x10FFFF) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

// Unpaired surrogates are kept as they are; the encoders treat them as unrepresentable.
std::u32string FromUtf16(std::u16string_view text, bool* invalid = nullptr) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF && invalid != nullptr) {
      *invalid = true;
    }
    out.push_back(c);
  }
  return out;
}

template <typename Char>
int Deliver(const std::basic_string<Char>& text, Char* out, int outLength) {
  if (outLength == 0) return static_cast<int>(text.size());
  if (text.size() > static_cast<size_t>(outLength)) {
    std::memcpy(out, text.data(), static_cast<size_t>(outLength) * sizeof(Char));
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(out, text.data(), text.size() * sizeof(Char));
  return static_cast<int>(text.size());
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteLength, LPWSTR wide,
                        int wideLength) {
  codePage = Resolve(codePage);
  if (multiByte == nullptr || multiByteLength == 0 || multiByteLength < -1 || wideLength < 0 ||
      (wideLength > 0 && wide == nullptr) || !IsSupported(codePage))
    return Fail(ERROR_INVALID_PARAMETER);
  if (codePage == CP_UTF8 && (flags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) != 0)
    return Fail(ERROR_INVALID_FLAGS);
  size_t length = multiByteLength < 0 ? std::strlen(multiByte) + 1 : static_cast<size_t>(multiByteLength);
  Decoded decoded = Decode(codePage, std::string_view(multiByte, length));
  if (decoded.invalid && (flags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(ToUtf16(decoded.text), wide, wideLength);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR multiByte,
                        int multiByteLength, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
  codePage = Resolve(codePage);
  if (wide == nullptr || wideLength == 0 || wideLength < -1 || multiByteLength < 0 ||
      (multiByteLength > 0 && multiByte == nullptr) || !IsSupported(codePage))
    return Fail(ERROR_INVALID_PARAMETER);
  if (codePage == CP_UTF8) {
    if (defaultChar != nullptr || usedDefaultChar != nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if ((flags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0) return Fail(ERROR_INVALID_FLAGS);
  }
  size_t length = wideLength;
  if (wideLength < 0) {
    length = 0;
    while (wide[length] != 0) ++length;
    ++length;
  }
  bool invalid = false;
  std::u32string text = FromUtf16(std::u16string_view(wide, length), &invalid);
  if (invalid && (flags & WC_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  Encoded encoded = Encode(codePage, text, defaultChar != nullptr ? std::string_view(defaultChar) : "");
  if (usedDefaultChar != nullptr) *usedDefaultChar = encoded.usedDefault ? TRUE : FALSE;
  return Deliver(encoded.text, multiByte, multiByteLength);
}

namespace brambolt {

std::u32string AnsiToUnicode(std::string_view text, UINT codePage) {
  codePage = Resolve(codePage);
  return IsSupported(codePage) ? Decode(codePage, text).text : std::u32string(text.begin(), text.end());
}

std::string UnicodeToAnsi(std::u32string_view text, UINT codePage) {
  codePage = Resolve(codePage);
  return Encode(IsSupported(codePage) ? codePage : 1252, text, "").text;
}

std::u16string AnsiToWide(std::string_view text, UINT codePage) { return ToUtf16(AnsiToUnicode(text, codePage)); }

std::string WideToAnsi(std::u16string_view text, UINT codePage) { return UnicodeToAnsi(FromUtf16(text), codePage); }

std::string AnsiToUtf8(std::string_view text, UINT codePage) {
  return Encode(CP_UTF8, AnsiToUnicode(text, codePage), "").text;
}

std::string Utf8ToAnsi(std::string_view utf8, UINT codePage) { return UnicodeToAnsi(DecodeUtf8(utf8).text, codePage); }

bool CodePageBytesOf(char32_t c, std::string& bytes, UINT codePage) {
  codePage = Resolve(codePage);
  if (!IsSupported(codePage) || c == kReplacement || !IsEncodable(c)) return false;
  Encoded encoded = Encode(codePage, std::u32string_view(&c, 1), "");
  if (encoded.usedDefault) return false;
  bytes = std::move(encoded.text);
  return true;
}

std::string CodePageTextOf(std::u32string_view text, bool* dropped, UINT codePage) {
  std::string out;
  bool any = false;
  std::string bytes;
  for (char32_t c : text) {
    if (CodePageBytesOf(c, bytes, codePage))
      out += bytes;
    else
      any = true;
  }
  if (dropped != nullptr) *dropped = any;
  return out;
}

bool ConvertExactly(std::string_view text, UINT from, UINT to, std::string& out) {
  from = Resolve(from);
  to = Resolve(to);
  if (!IsSupported(from) || !IsSupported(to)) return false;
  Decoded decoded = Decode(from, text);
  if (decoded.invalid) return false;
  Encoded encoded = Encode(to, decoded.text, "");
  if (encoded.usedDefault) return false;
  // Some characters share bytes (or come back as others): only a conversion that undoes itself
  // keeps the name's file reachable both ways.
  Decoded back = Decode(to, encoded.text);
  if (back.invalid || Encode(from, back.text, "").text != text) return false;
  out = std::move(encoded.text);
  return true;
}

bool IsAsciiText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<BYTE>(c) < 0x80; });
}

bool IsUtf8Text(std::string_view text) {
  return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0) > 0;
}

namespace {

// Converts each name between '/' separators (the system's; '/' is no trail byte in any page, and a
// program path that reaches here has its separators already made '/') on its own, so one name
// that cannot be spelled leaves the others converted. `keep` tells which names stay as they are.
template <class Keep>
std::string ConvertNames(std::string_view path, UINT from, UINT to, Keep keep) {
  if (IsAsciiText(path) || Resolve(from) == Resolve(to)) return std::string(path);
  std::string out;
  out.reserve(path.size() + path.size() / 2);
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view name = path.substr(start, end - start);
    std::string converted;
    if (!IsAsciiText(name) && !keep(name) && ConvertExactly(name, from, to, converted))
      out += converted;
    else
      out += name;
    if (end < path.size()) out += '/';
    start = end + 1;
  }
  return out;
}

// What a character of a name is, for judging whether the name reads as text.
enum class Script { kOther, kAsciiLetter, kLatin, kMark, kRun, kWide };

struct ScriptRange {
  char32_t first;
  char32_t last;
  Script script;
  int group;  // the script a kRun letter belongs to: a run holds letters of one group
};

// Letters and marks by range, in order. kRun letters are those of the alphabets below U+0800
// (Greek, Cyrillic, Armenian, Hebrew, Arabic, Syriac, Thaana, NKo), kLatin the Latin letters
// beyond ASCII, kWide the scripts of the three-byte range (Indic, Thai, Georgian, Hangul and the
// like, kana and the CJK ideographs with their punctuation and full-width forms). Anything not
// listed (digits, symbols, punctuation, controls) is kOther.
constexpr ScriptRange kScripts[] = {
    {0x00AA, 0x00AA, Script::kLatin, 0},  {0x00B5, 0x00B5, Script::kLatin, 0},
    {0x00BA, 0x00BA, Script::kLatin, 0},  {0x00C0, 0x00D6, Script::kLatin, 0},
    {0x00D8, 0x00F6, Script::kLatin, 0},  {0x00F8, 0x02AF, Script::kLatin, 0},
    {0x0300, 0x036F, Script::kMark, 0},   {0x0370, 0x0373, Script::kRun, 1},
    {0x0376, 0x0377, Script::kRun, 1},    {0x037B, 0x037D, Script::kRun, 1},
    {0x037F, 0x037F, Script::kRun, 1},    {0x0386, 0x0386, Script::kRun, 1},
    {0x0388, 0x038A, Script::kRun, 1},    {0x038C, 0x038C, Script::kRun, 1},
    {0x038E, 0x03A1, Script::kRun, 1},    {0x03A3, 0x03F5, Script::kRun, 1},
    {0x03F7, 0x03FF, Script::kRun, 1},    {0x0400, 0x0481, Script::kRun, 2},
    {0x0483, 0x0489, Script::kMark, 0},   {0x048A, 0x052F, Script::kRun, 2},
    {0x0531, 0x0556, Script::kRun, 3},    {0x0561, 0x0587, Script::kRun, 3},
    {0x0591, 0x05BD, Script::kMark, 0},   {0x05BF, 0x05BF, Script::kMark, 0},
    {0x05C1, 0x05C2, Script::kMark, 0},   {0x05C4, 0x05C5, Script::kMark, 0},
    {0x05C7, 0x05C7, Script::kMark, 0},   {0x05D0, 0x05EA, Script::kRun, 4},
    {0x05EF, 0x05F2, Script::kRun, 4},    {0x0610, 0x061A, Script::kMark, 0},
    {0x0620, 0x064A, Script::kRun, 5},    {0x064B, 0x065F, Script::kMark, 0},
    {0x066E, 0x066F, Script::kRun, 5},    {0x0670, 0x0670, Script::kMark, 0},
    {0x0671, 0x06D3, Script::kRun, 5},    {0x06D5, 0x06D5, Script::kRun, 5},
    {0x06D6, 0x06DC, Script::kMark, 0},   {0x06E5, 0x06E6, Script::kRun, 5},
    {0x06EE, 0x06EF, Script::kRun, 5},    {0x06FA, 0x06FC, Script::kRun, 5},
    {0x06FF, 0x06FF, Script::kRun, 5},    {0x0710, 0x072F, Script::kRun, 6},
    {0x0730, 0x074A, Script::kMark, 0},   {0x074D, 0x074F, Script::kRun, 6},
    {0x0780, 0x07A5, Script::kRun, 7},    {0x07A6, 0x07B0, Script::kMark, 0},
    {0x07B1, 0x07B1, Script::kRun, 7},    {0x07CA, 0x07EA, Script::kRun, 8},
    {0x07EB, 0x07F3, Script::kMark, 0},   {0x0800, 0x1DFF, Script::kWide, 0},
    {0x1E00, 0x1EFF, Script::kLatin, 0},  {0x1F00, 0x1FFF, Script::kRun, 1},
    {0x2C00, 0x2DFF, Script::kWide, 0},   {0x2E80, 0x2FDF, Script::kWide, 0},
    {0x3000, 0x303F, Script::kWide, 0},   {0x3040, 0x9FFF, Script::kWide, 0},
    {0xA000, 0xA4CF, Script::kWide, 0},   {0xAC00, 0xD7FF, Script::kWide, 0},
    {0xF900, 0xFAFF, Script::kWide, 0},   {0xFF00, 0xFFEF, Script::kWide, 0},
    {0x20000, 0x3FFFF, Script::kWide, 0},
};

const ScriptRange* ScriptOf(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
    static constexpr ScriptRange kAscii{0, 0, Script::kAsciiLetter, 0};
    return &kAscii;
  }
  const ScriptRange* end = std::end(kScripts);
  const ScriptRange* it = std::lower_bound(std::begin(kScripts), end, c,
                                           [](const ScriptRange& r, char32_t value) { return r.last < value; });
  return it != end && it->first <= c ? it : nullptr;
}

// Whether `text`, as the system's charset reads it, is plausibly a name someone gave: every
// character beyond ASCII is a letter, a mark after a letter, or of a wide script; Latin letters
// beyond ASCII stand only in a word (a run of letters and marks) that also holds an ASCII letter
// (Größe, not ëè); letters of the other alphabets stand only in runs of two or more of one script.
bool ReadsAsText(const std::u32string& text) {
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] < 0x80 && ScriptOf(text[i]) == nullptr) {
      ++i;
      continue;
    }
    // One word: letters and marks up to the next character that is neither.
    size_t end = i;
    bool asciiLetter = false;
    bool latin = false;
    while (end < text.size()) {
      const ScriptRange* script = ScriptOf(text[end]);
      if (script == nullptr) break;
      if (script->script == Script::kAsciiLetter) asciiLetter = true;
      if (script->script == Script::kLatin) latin = true;
      if (script->script == Script::kMark && end == i) return false;  // a mark after no letter
      if (script->script == Script::kRun) {
        // The run of this script, marks included, must hold two letters.
        size_t letters = 0;
        size_t k = end;
        for (; k < text.size(); ++k) {
          const ScriptRange* next = ScriptOf(text[k]);
          if (next == nullptr || (next->script != Script::kMark && next->group != script->group) ||
              (next->script != Script::kMark && next->script != Script::kRun))
            break;
          if (next->script == Script::kRun) ++letters;
        }
        if (letters < 2) return false;
        end = k;
        continue;
      }
      ++end;
    }
    if (end == i) return false;  // a character beyond ASCII that is no letter
    if (latin && !asciiLetter) return false;
    i = end;
  }
  return true;
}

// A name the system gave that the code page cannot spell came to the program as its bytes, and
// goes back as them: it is text of the system's charset that does not convert to the page. Bytes
// that also read whole in the page may be the page's own spelling that happens to be valid in the
// system's charset (GBK 目录 is UTF-8 "Ŀ¼"): those are the system's only when its reading is text
// (ReadsAsText), and otherwise the page's, to be converted.
bool IsSystemBytesName(UINT system, std::string_view name) {
  std::string unused;
  const Decoded decoded = Decode(Resolve(system), name);
  if (decoded.invalid || ConvertExactly(name, system, CP_ACP, unused)) return false;
  return Decode(Resolve(CP_ACP), name).invalid || ReadsAsText(decoded.text);
}

}  // namespace

bool ReadsAsTextIn(std::string_view text, UINT codePage) {
  const Decoded decoded = Decode(Resolve(codePage), text);
  return !decoded.invalid && ReadsAsText(decoded.text);
}

std::string SystemNameOf(std::string_view programName) {
  const UINT system = GetSystemNameCodePage();
  return ConvertNames(programName, CP_ACP, system, [system](std::string_view name) { return IsSystemBytesName(system, name); });
}

bool IsCodePageName(std::string_view programName) {
  const UINT system = GetSystemNameCodePage();
  if (IsAsciiText(programName) || Resolve(system) == Resolve(CP_ACP)) return true;
  for (size_t start = 0; start <= programName.size();) {
    size_t end = programName.find('/', start);
    if (end == std::string_view::npos) end = programName.size();
    const std::string_view name = programName.substr(start, end - start);
    if (!IsAsciiText(name) && IsSystemBytesName(system, name)) return false;
    start = end + 1;
  }
  return true;
}

bool SystemCanSpell(std::string_view programName) {
  const UINT system = GetSystemNameCodePage();
  if (IsAsciiText(programName) || Resolve(system) == Resolve(CP_ACP)) return true;
  std::string converted;
  for (size_t start = 0; start <= programName.size();) {
    size_t end = programName.find('/', start);
    if (end == std::string_view::npos) end = programName.size();
    const std::string_view name = programName.substr(start, end - start);
    if (!IsAsciiText(name) && !IsSystemBytesName(system, name) && !ConvertExactly(name, CP_ACP, system, converted))
      return false;
    start = end + 1;
  }
  return true;
}

std::string ProgramNameOf(std::string_view systemName) {
  return ConvertNames(systemName, GetSystemNameCodePage(), CP_ACP, [](std::string_view) { return false; });
}

size_t CharacterBoundary(std::string_view text, size_t maxBytes, UINT codePage) {
  if (text.size() <= maxBytes) return text.size();
  codePage = Resolve(codePage);
  if (codePage == CP_UTF8) {
    size_t cut = maxBytes;
    while (cut > 0 && maxBytes - cut < 3 && (static_cast<BYTE>(text[cut]) & 0xC0) == 0x80) --cut;
    return cut;
  }
  return CharacterStart(codePage, text, maxBytes);
}

}  // namespace brambolt

// The ANSI code page and its lead-byte aware character functions.
#include "base/CodePage.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <string_view>

#include "base/LastError.h"

namespace brambolt {
namespace {

bool IsSupportedAnsiPage(UINT codePage) {
  return codePage == 936 || codePage == 950 || codePage == 1252;
}

std::atomic<UINT>& CurrentPage() {
  static std::atomic<UINT> page{CodePageFromEnvironment()};
  return page;
}

std::atomic<UINT>& CurrentNamePage() {
  static std::atomic<UINT> page{SystemNameCodePageFromEnvironment()};
  return page;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Resolves CP_ACP/CP_OEMCP/CP_THREAD_ACP to the configured page.
UINT Resolve(UINT codePage) {
  if (codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP) return GetACP();
  return codePage;
}

// 20936 is GB2312 alone (EUC-CN): the charset of a zh_CN.GB2312 locale, a part of 936.
bool IsDoubleBytePage(UINT codePage) { return codePage == 936 || codePage == 950 || codePage == kGb2312; }

// Windows-1252 letters outside ASCII and their case partners.
bool IsUpper1252(BYTE c) {
  return (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F;
}
bool IsLower1252(BYTE c) {
  return (c >= 0xDF && c != 0xF7) || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x83 ||
         c == 0xAA || c == 0xB5 || c == 0xBA;
}

}  // namespace

UINT CodePageFromLocale(const char* locale) {
  if (locale == nullptr) return 1252;
  std::string_view name(locale);
  size_t end = name.find_first_of(".@");
  if (end != std::string_view::npos) name = name.substr(0, end);
  size_t sep = name.find_first_of("_-");
  if (sep == std::string_view::npos || !EqualsNoCase(name.substr(0, sep), "zh")) return 1252;
  std::string_view territory = name.substr(sep + 1);
  if (EqualsNoCase(territory, "CN") || EqualsNoCase(territory, "SG")) return 936;
  if (EqualsNoCase(territory, "TW") || EqualsNoCase(territory, "HK")) return 950;
  return 1252;
}

bool LocaleIsUtf8(const char* locale) {
  if (locale == nullptr) return false;
  std::string_view name(locale);
  size_t dot = name.find('.');
  if (dot == std::string_view::npos) return false;
  std::string_view charset = name.substr(dot + 1);
  charset = charset.substr(0, charset.find('@'));
  return EqualsNoCase(charset, "UTF-8") || EqualsNoCase(charset, "utf8");
}

namespace {

UINT NameCodePageOfCharset(std::string_view charset) {
  if (EqualsNoCase(charset, "UTF-8") || EqualsNoCase(charset, "utf8")) return CP_UTF8;
  if (EqualsNoCase(charset, "GB2312") || EqualsNoCase(charset, "EUC-CN") || EqualsNoCase(charset, "euccn"))
    return kGb2312;
  return CP_ACP;
}

}  // namespace

UINT NameCodePageOfLocale(const char* locale) {
  if (locale == nullptr || *locale == '\0') return CP_ACP;
  // The locale's own charset: "zh_CN" alone is GB2312, and a locale may be named anyhow.
  if (locale_t installed = ::newlocale(LC_CTYPE_MASK, locale, nullptr); installed != nullptr) {
    const UINT page = NameCodePageOfCharset(::nl_langinfo_l(CODESET, installed));
    ::freelocale(installed);
    return page;
  }
  std::string_view name(locale);
  const size_t dot = name.find('.');
  if (dot == std::string_view::npos) return CP_ACP;
  const std::string_view charset = name.substr(dot + 1);
  return NameCodePageOfCharset(charset.substr(0, charset.find('@')));
}

UINT SystemNameCodePageFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return NameCodePageOfLocale(value);
  }
  return CP_ACP;
}

UINT GetSystemNameCodePage() { return CurrentNamePage().load(std::memory_order_relaxed); }

BOOL SetSystemNameCodePageForTesting(UINT codePage) {
  if (codePage != CP_UTF8 && codePage != CP_ACP && codePage != kGb2312) return FALSE;
  CurrentNamePage().store(codePage);
  return TRUE;
}

ScopedSystemNameCodePage::ScopedSystemNameCodePage(UINT codePage) : previous_(GetSystemNameCodePage()) {
  SetSystemNameCodePageForTesting(codePage);
}
ScopedSystemNameCodePage::~ScopedSystemNameCodePage() { SetSystemNameCodePageForTesting(previous_); }

UINT CodePageFromEnvironment() {
  if (const char* forced = std::getenv("BRAMBOLT_CODEPAGE"); forced != nullptr && *forced != '\0') {
    char* end = nullptr;
    unsigned long value = std::strtoul(forced, &end, 10);
    if (*end == '\0' && IsSupportedAnsiPage(static_cast<UINT>(value))) return static_cast<UINT>(value);
  }
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return CodePageFromLocale(value);
  }
  return 1252;
}

BOOL SetCodePageForTesting(UINT codePage) {
  if (!IsSupportedAnsiPage(codePage)) return FALSE;
  CurrentPage().store(codePage);
  return TRUE;
}

bool IsDBCSCodePage() { return IsDoubleBytePage(GetACP()); }

ScopedCodePage::ScopedCodePage(UINT codePage) : previous_(GetACP()) { SetCodePageForTesting(codePage); }
ScopedCodePage::~ScopedCodePage() { SetCodePageForTesting(previous_); }

bool IsTrailByteEx(UINT codePage, BYTE byte) {
  switch (Resolve(codePage)) {
    case 936:
      return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
    case 950:
      return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE);
    case kGb2312:
      return byte >= 0xA1 && byte <= 0xFE;
    default:
      return false;
  }
}

BYTE ToUpperByte(BYTE c) {
  if (c >= 'a' && c <= 'z') return static_cast<BYTE>(c - 0x20);
  if (c < 0x80 || GetACP() != 1252) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<BYTE>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
  }
}

BYTE ToLowerByte(BYTE c) {
  if (c >= 'A' && c <= 'Z') return static_cast<BYTE>(c + 0x20);
  if (c < 0x80 || GetACP() != 1252) return c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<BYTE>(c + 0x20);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

std::size_t CharacterStart(UINT codePage, std::string_view text, std::size_t offset) {
  if (offset >= text.size()) return text.size();
  // A byte no character of the page ends in (a "." or a blank) starts one, whatever precedes it.
  if (!IsTrailByteEx(codePage, static_cast<BYTE>(text[offset]))) return offset;
  std::size_t run = offset;
  while (run > 0 && IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[run - 1]))) --run;
  return ((offset - run) & 1) ? offset - 1 : offset;
}

std::size_t CharacterStart(std::string_view text, std::size_t offset) { return CharacterStart(CP_ACP, text, offset); }

std::size_t NextCharacter(UINT codePage, std::string_view text, std::size_t offset) {
  if (offset >= text.size()) return text.size();
  // An ASCII byte is a character of its own in every page: paths and names are mostly ASCII.
  if (static_cast<BYTE>(text[offset]) < 0x80) return offset + 1;
  // A lead byte takes the next only where that can end a character of the page: a name in other
  // bytes than the page's (UTF-8 listed under a GBK locale) keeps the "." or blank after a byte
  // that would lead one.
  return offset + (offset + 1 < text.size() && IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[offset])) &&
                           IsTrailByteEx(codePage, static_cast<BYTE>(text[offset + 1]))
                       ? 2
                       : 1);
}

std::size_t NextCharacter(std::string_view text, std::size_t offset) { return NextCharacter(CP_ACP, text, offset); }

std::size_t PreviousCharacter(UINT codePage, std::string_view text, std::size_t offset) {
  if (offset == 0) return 0;
  return CharacterStart(codePage, text, std::min(offset, text.size()) - 1);
}

std::size_t PreviousCharacter(std::string_view text, std::size_t offset) {
  return PreviousCharacter(CP_ACP, text, offset);
}

std::size_t CharacterLength(std::string_view text, std::size_t offset) {
  return NextCharacter(text, offset) - std::min(offset, text.size());
}

}  // namespace brambolt

UINT GetACP() { return brambolt::CurrentPage().load(std::memory_order_relaxed); }

UINT GetOEMCP() { return GetACP(); }

BOOL IsValidCodePage(UINT codePage) {
  return codePage == 936 || codePage == 950 || codePage == 1252 || codePage == CP_UTF8 || codePage == brambolt::kGb2312;
}

BOOL GetCPInfo(UINT codePage, LPCPINFO info) {
  codePage = brambolt::Resolve(codePage);
  if (info == nullptr || !IsValidCodePage(codePage)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::memset(info, 0, sizeof(*info));
  info->DefaultChar[0] = '?';
  if (brambolt::IsDoubleBytePage(codePage)) {
    info->MaxCharSize = 2;
    info->LeadByte[0] = codePage == brambolt::kGb2312 ? 0xA1 : 0x81;
    info->LeadByte[1] = codePage == brambolt::kGb2312 ? 0xF7 : 0xFE;
  } else {
    info->MaxCharSize = codePage == CP_UTF8 ? 4 : 1;
  }
  return TRUE;
}

BOOL IsDBCSLeadByteEx(UINT codePage, BYTE testChar) {
  // The byte first: most text is ASCII, and no page has a lead byte there.
  if (testChar < 0x81 || testChar > 0xFE) return FALSE;
  codePage = brambolt::Resolve(codePage);
  if (codePage == brambolt::kGb2312) return testChar >= 0xA1 && testChar <= 0xF7;
  return brambolt::IsDoubleBytePage(codePage);
}

BOOL IsDBCSLeadByte(BYTE testChar) { return IsDBCSLeadByteEx(CP_ACP, testChar); }

namespace {

// A C string's end is unknown, so the view for stepping forward is the character's two bytes at most.
const char* StepForward(UINT codePage, const char* p) {
  if (*p == '\0') return p;
  return p + brambolt::NextCharacter(codePage, std::string_view(p, p[1] == '\0' ? 1 : 2), 0);
}

const char* StepBack(UINT codePage, const char* start, const char* current) {
  if (current <= start) return start;
  std::string_view text(start, static_cast<std::size_t>(current - start));
  return start + brambolt::PreviousCharacter(codePage, text, text.size());
}

bool IsCharacterArgument(LPCSTR p) { return reinterpret_cast<ULONG_PTR>(p) <= 0xFFFF; }

template <BYTE (*Fold)(BYTE)>
DWORD FoldBuffer(LPSTR text, DWORD length) {
  if (text == nullptr) return 0;
  DWORD i = 0;
  while (i < length) {
    BYTE c = static_cast<BYTE>(text[i]);
    if (IsDBCSLeadByte(c) && i + 1 < length) {
      i += 2;
      continue;
    }
    text[i] = static_cast<char>(Fold(c));
    ++i;
  }
  return length;
}

template <BYTE (*Fold)(BYTE)>
LPSTR FoldString(LPSTR text) {
  if (IsCharacterArgument(text)) {
    BYTE c = static_cast<BYTE>(reinterpret_cast<ULONG_PTR>(text) & 0xFF);
    return reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(Fold(c)));
  }
  FoldBuffer<Fold>(text, static_cast<DWORD>(std::strlen(text)));
  return text;
}

}  // namespace

LPSTR CharNext(LPCSTR current) { return const_cast<LPSTR>(StepForward(CP_ACP, current)); }

LPSTR CharPrev(LPCSTR start, LPCSTR current) { return const_cast<LPSTR>(StepBack(CP_ACP, start, current)); }

LPSTR CharNextExA(WORD codePage, LPCSTR current, DWORD) {
  return const_cast<LPSTR>(StepForward(codePage, current));
}

LPSTR CharPrevExA(WORD codePage, LPCSTR start, LPCSTR current, DWORD) {
  return const_cast<LPSTR>(StepBack(codePage, start, current));
}

LPSTR CharUpper(LPSTR text) { return FoldString<brambolt::ToUpperByte>(text); }
LPSTR CharLower(LPSTR text) { return FoldString<brambolt::ToLowerByte>(text); }
DWORD CharUpperBuff(LPSTR text, DWORD length) { return FoldBuffer<brambolt::ToUpperByte>(text, length); }
DWORD CharLowerBuff(LPSTR text, DWORD length) { return FoldBuffer<brambolt::ToLowerByte>(text, length); }

BOOL IsCharUpper(CHAR ch) {
  BYTE c = static_cast<BYTE>(ch);
  if (c >= 'A' && c <= 'Z') return TRUE;
  return GetACP() == 1252 && brambolt::IsUpper1252(c);
}

BOOL IsCharLower(CHAR ch) {
  BYTE c = static_cast<BYTE>(ch);
  if (c >= 'a' && c <= 'z') return TRUE;
  return GetACP() == 1252 && brambolt::IsLower1252(c);
}

BOOL IsCharAlpha(CHAR ch) { return IsCharUpper(ch) || IsCharLower(ch); }

BOOL IsCharAlphaNumeric(CHAR ch) { return IsCharAlpha(ch) || (ch >= '0' && ch <= '9'); }

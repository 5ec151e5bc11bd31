// The process's ANSI code page (936, 950 or 1252, chosen from the locale) and the lead-byte
// aware character functions that follow it: stepping, case folding and character classes.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/WinTypes.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_SYMBOL 42
#define CP_UTF7 65000
#define CP_UTF8 65001

#define MAX_LEADBYTES 12
#define MAX_DEFAULTCHAR 2

typedef struct _cpinfo {
  UINT MaxCharSize;
  BYTE DefaultChar[MAX_DEFAULTCHAR];
  BYTE LeadByte[MAX_LEADBYTES];
} CPINFO, *LPCPINFO;

namespace brambolt {

// GB2312 alone (EUC-CN), a part of 936: the charset of a zh_CN.GB2312 locale's file names.
inline constexpr UINT kGb2312 = 20936;

// The code page a locale name such as "zh_CN.GB2312" or "en_US.UTF-8" selects:
// zh_CN/zh_SG give 936, zh_TW/zh_HK give 950, anything else (or NULL) 1252.
UINT CodePageFromLocale(const char* locale);

// The code page the environment selects: BRAMBOLT_CODEPAGE (936, 950 or 1252) when set to one
// of those, otherwise the first non-empty of LC_ALL, LC_CTYPE, LANG through CodePageFromLocale.
UINT CodePageFromEnvironment();

// Replaces the process's ANSI code page (936, 950 or 1252; anything else is refused with FALSE).
// Meant for tests: the switch is process-wide, so a test restores the previous page when done
// (ScopedCodePage does that).
BOOL SetCodePageForTesting(UINT codePage);

// Whether a locale name such as "de_DE.UTF-8" or "C.utf8" names UTF-8 as its charset.
bool LocaleIsUtf8(const char* locale);

// The charset of a locale's file names, as a code page: the charset the locale itself names
// (nl_langinfo(CODESET)) when the locale is installed, else the one its name gives. CP_UTF8 for
// UTF-8; kGb2312 for GB2312, whose names are the part of 936 that GB2312 holds; otherwise CP_ACP,
// for names that are the program's own bytes (the C locale, and legacy locales whose charset is
// the ANSI code page, such as zh_CN.GBK or zh_TW.BIG5).
UINT NameCodePageOfLocale(const char* locale);

// The charset of file names the environment selects: NameCodePageOfLocale of the first non-empty
// of LC_ALL, LC_CTYPE, LANG, otherwise CP_ACP.
UINT SystemNameCodePageFromEnvironment();

// The charset of the system's file names, as a code page (CP_UTF8, kGb2312 or CP_ACP): the one
// SystemNameCodePageFromEnvironment selects, or the one a test set.
UINT GetSystemNameCodePage();

// Replaces the charset of file names (CP_UTF8, kGb2312 or CP_ACP; anything else is refused with
// FALSE).
// For tests, process-wide like SetCodePageForTesting; ScopedSystemNameCodePage restores it.
BOOL SetSystemNameCodePageForTesting(UINT codePage);

class ScopedSystemNameCodePage {
 public:
  explicit ScopedSystemNameCodePage(UINT codePage);
  ~ScopedSystemNameCodePage();
  ScopedSystemNameCodePage(const ScopedSystemNameCodePage&) = delete;
  ScopedSystemNameCodePage& operator=(const ScopedSystemNameCodePage&) = delete;

 private:
  UINT previous_;
};

// True when the ANSI code page has double-byte characters.
bool IsDBCSCodePage();

// Sets the ANSI code page for its lifetime and restores the previous one afterwards.
class ScopedCodePage {
 public:
  explicit ScopedCodePage(UINT codePage);
  ~ScopedCodePage();
  ScopedCodePage(const ScopedCodePage&) = delete;
  ScopedCodePage& operator=(const ScopedCodePage&) = delete;

 private:
  UINT previous_;
};

// What a locale selects, for its lifetime: the ANSI code page of its language and the charset of
// file names of its charset ("zh_CN.UTF-8": 936 and UTF-8; "zh_CN.GB2312": 936 and GB2312;
// "zh_TW.BIG5": 950 and the code page).
class ScopedLocale {
 public:
  explicit ScopedLocale(const char* locale)
      : page_(CodePageFromLocale(locale)), names_(NameCodePageOfLocale(locale)) {}

 private:
  ScopedCodePage page_;
  ScopedSystemNameCodePage names_;
};

// Whether `byte` can follow a lead byte in `codePage` (GBK: 0x40-0x7E, 0x80-0xFE;
// Big5: 0x40-0x7E, 0xA1-0xFE).
bool IsTrailByteEx(UINT codePage, BYTE byte);

// Character positions over a string view, for the ANSI code page or a given one: the one answer to
// "where does the character at this byte start, and where is the next or previous one". Offsets
// are byte offsets into `text`; a lead byte that ends the view is a character of its own, so
// stepping never leaves the view. A byte outside the lead range always ends a character, so the
// parity of the run of lead-range bytes before an offset decides where its character starts.
std::size_t CharacterStart(UINT codePage, std::string_view text, std::size_t offset);
std::size_t CharacterStart(std::string_view text, std::size_t offset);
// The offset after the character that starts at `offset` (text.size() at or past the end).
std::size_t NextCharacter(UINT codePage, std::string_view text, std::size_t offset);
std::size_t NextCharacter(std::string_view text, std::size_t offset);
// The start of the character before `offset` (0 at the start).
std::size_t PreviousCharacter(UINT codePage, std::string_view text, std::size_t offset);
std::size_t PreviousCharacter(std::string_view text, std::size_t offset);
// Bytes in the character starting at `offset`: 2 for a lead byte with a byte after it, 0 at the end.
std::size_t CharacterLength(std::string_view text, std::size_t offset);
inline bool IsCharacterStart(std::string_view text, std::size_t offset) {
  return CharacterStart(text, offset) == offset;
}

// Single-byte case folding and classes of the ANSI code page; bytes of double-byte
// characters are never passed here by the callers below.
BYTE ToUpperByte(BYTE c);
BYTE ToLowerByte(BYTE c);

}  // namespace brambolt

// Editor switch between the double-byte and the Western look. The OEM and the ANSI code page
// are one here, so this follows the configured page (and a test's switch of it).
#define g_bDBCSSystem (::brambolt::IsDBCSCodePage() ? TRUE : FALSE)

UINT GetACP();
UINT GetOEMCP();
BOOL GetCPInfo(UINT codePage, LPCPINFO info);
BOOL IsValidCodePage(UINT codePage);

BOOL IsDBCSLeadByte(BYTE testChar);
BOOL IsDBCSLeadByteEx(UINT codePage, BYTE testChar);

// A lead byte directly followed by the terminator counts as one character, so stepping
// never runs past the end of a string.
LPSTR CharNext(LPCSTR current);
LPSTR CharPrev(LPCSTR start, LPCSTR current);
LPSTR CharNextExA(WORD codePage, LPCSTR current, DWORD flags);
LPSTR CharPrevExA(WORD codePage, LPCSTR start, LPCSTR current, DWORD flags);

// Case conversion in place; trail bytes of double-byte characters are left alone. CharUpper and
// CharLower also take a single character in the low word of the pointer and return it converted.
LPSTR CharUpper(LPSTR text);
LPSTR CharLower(LPSTR text);
DWORD CharUpperBuff(LPSTR text, DWORD length);
DWORD CharLowerBuff(LPSTR text, DWORD length);

BOOL IsCharAlpha(CHAR ch);
BOOL IsCharAlphaNumeric(CHAR ch);
BOOL IsCharUpper(CHAR ch);
BOOL IsCharLower(CHAR ch);

#define CharNextA CharNext
#define CharPrevA CharPrev
#define CharUpperA CharUpper
#define CharLowerA CharLower
#define CharUpperBuffA CharUpperBuff
#define CharLowerBuffA CharLowerBuff
#define IsCharAlphaA IsCharAlpha
#define IsCharAlphaNumericA IsCharAlphaNumeric
#define IsCharUpperA IsCharUpper
#define IsCharLowerA IsCharLower
#define GetCPInfoA GetCPInfo

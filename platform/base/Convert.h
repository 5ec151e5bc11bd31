// Conversion between the code pages (936, 950, 1252, UTF-8) and Unicode: the Win32 calls and
// the helpers the drawing, keyboard and clipboard boundaries use.
#pragma once

#include <string>
#include <string_view>

#include "base/CodePage.h"

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008

#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_COMPOSITECHECK 0x00000200
#define WC_NO_BEST_FIT_CHARS 0x00000400

// WCHAR text is UTF-16. A length of -1 means a terminated input whose terminator is converted
// too; an output size of 0 asks for the size needed. Too small an output fails with
// ERROR_INSUFFICIENT_BUFFER. Bytes that do not decode become U+FFFD unless MB_ERR_INVALID_CHARS
// asks for ERROR_NO_UNICODE_TRANSLATION; characters a page lacks become the default character.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteLength, LPWSTR wide,
                        int wideLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR multiByte,
                        int multiByteLength, LPCSTR defaultChar, LPBOOL usedDefaultChar);

namespace brambolt {

// Text in a code page (CP_ACP by default) to and from Unicode, replacing as the calls above do.
std::u32string AnsiToUnicode(std::string_view text, UINT codePage = CP_ACP);
std::string UnicodeToAnsi(std::u32string_view text, UINT codePage = CP_ACP);
std::u16string AnsiToWide(std::string_view text, UINT codePage = CP_ACP);
std::string WideToAnsi(std::u16string_view text, UINT codePage = CP_ACP);
std::string AnsiToUtf8(std::string_view text, UINT codePage = CP_ACP);
std::string Utf8ToAnsi(std::string_view utf8, UINT codePage = CP_ACP);

// Whether every byte of `text` is ASCII; whether `text` is valid UTF-8 (an empty text is).
bool IsAsciiText(std::string_view text);
bool IsUtf8Text(std::string_view text);

// The bytes of character `c` in a code page (CP_ACP by default); false when the page cannot hold
// it. Text typed or committed goes in through this: a character the page lacks is refused, never
// turned into the default character.
bool CodePageBytesOf(char32_t c, std::string& bytes, UINT codePage = CP_ACP);

// Text in a code page (CP_ACP by default) of the Unicode characters of `text` the page holds; the
// others are left out, and `dropped` (when given) tells whether any was.
std::string CodePageTextOf(std::u32string_view text, bool* dropped = nullptr, UINT codePage = CP_ACP);

// `text` converted from page `from` to page `to` when every character converts, and converts back
// to the same bytes; false (and `out` untouched) otherwise.
bool ConvertExactly(std::string_view text, UINT from, UINT to, std::string& out);

// A file name or path between the program's spelling (the ANSI code page) and the system's (the
// charset of GetSystemNameCodePage), as Windows converts an ANSI program's names: converted where
// every character converts both ways, otherwise its bytes unchanged, so a name the other side
// cannot spell still reaches its file. Under a locale whose charset is the code page both give
// the name back as it is. Paths convert name by name between the separators.
std::string SystemNameOf(std::string_view programName);
std::string ProgramNameOf(std::string_view systemName);
// Whether a name (or path) as the program spells it is text of the code page: false when a name
// of it is one the code page cannot spell, held as the system's bytes, which read as other
// characters in the code page (text made of it, such as an #include line, would name another file
// once converted as the code page's text).
bool IsCodePageName(std::string_view programName);
// Whether the system can spell a name (or path) as the program spells it: every name of it
// converts to the system's charset, or is held as the system's bytes already. False for a name
// with a character the locale's charset lacks (a GBK-only character under zh_CN.GB2312), whose
// bytes on disk would be no name of that charset.
bool SystemCanSpell(std::string_view programName);

// Whether `text`, read in `codePage`, is plausibly text someone wrote: every byte decodes and every
// character beyond ASCII is a letter (or a mark after one) that stands in a word as names have
// them (Größe, 工作区), not a stray symbol or letter of another charset's bytes read in this one.
bool ReadsAsTextIn(std::string_view text, UINT codePage);

// A UTF-8 literal of the sources in the bytes of `codePage` (936 gives GB2312/GBK, 950 Big5).
inline std::string Utf8ToCodePage(std::string_view utf8, UINT codePage) { return Utf8ToAnsi(utf8, codePage); }
#if defined(__cpp_char8_t)
inline std::string Utf8ToCodePage(std::u8string_view utf8, UINT codePage) {
  return Utf8ToAnsi(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()), codePage);
}
#endif

// The largest length <= maxBytes at which `text` can be cut without splitting a character of
// `codePage`; long inputs are converted piece by piece at such boundaries. It is 0 only when the
// first character is longer than maxBytes.
size_t CharacterBoundary(std::string_view text, size_t maxBytes, UINT codePage = CP_ACP);

}  // namespace brambolt

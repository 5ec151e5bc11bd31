// Path rules at the system boundary: the application spells paths the Windows way (backslashes,
// drive letters, any letter case); every file call of the platform converts them here.
//
// The one owner of a name's charset. Above the platform's file calls a name is held only as the
// program spells it (the ANSI code page) and never converted there: the file calls convert it to
// the system's name (the locale's charset) here, once. A name converted twice (a system name given
// back to a file call) is a name the user never typed. Where a layer needs the system's bytes
// (a path stored for a later session or for another program, a URI), it asks for them here:
// NativePath, StoredPathOf, and SystemNameOf/ProgramNameOf in base/Convert.h. Text the user
// typed that the settings keep is converted here once too (StoredTextOf), and only there.
#pragma once

#include <string>
#include <string_view>

namespace brambolt {

// The native path for a path as the application spells it:
// - `\` and `/` both separate; runs of separators collapse to one `/`. A byte that is the trail
//   byte of a double-byte character in the ANSI code page is never a separator.
// - A drive prefix `X:` stands for the root: `C:\a` is `/a`, `C:` is `/`, `C:a` is `a`.
// - A UNC path `\\server\share\rest` is `<unc root>/server/share/rest`; the UNC root is `/`,
//   or `$BRAMBOLT_UNC_ROOT` when set.
// - When the path does not exist as spelled, the longest existing prefix is resolved
//   case-insensitively, component by component; components past it keep their spelling.
// - A path starting `\\?\` is taken literally, as Windows takes it: the rest is converted as
//   above (`\\?\C:\a` is `/a`, `\\?\/tmp/a` is `/tmp/a`) but never looked up. A caller that
//   resolved a folder once names the files it makes there this way.
// - Each name is spelled in the locale's charset (SystemNameOf): under a UTF-8 locale a name the
//   program makes is UTF-8. A name that exists only in its other spelling (its bytes, made under
//   another locale, or one the code page cannot spell) is that file, so every file on disk stays
//   reachable by the name it was listed under.
// NULL and "" give "".
std::string NativePath(const char* winPath);
std::string NativePath(std::string_view winPath);

// Whether the file or folder `winPath` names can be made as the program spells it: true when it
// exists (in either spelling), or when the system can spell every name past the folders of it
// that exist (SystemCanSpell). A name typed with a character the locale's charset lacks cannot be
// made as typed, and a window that makes names refuses it.
bool CanMakePath(std::string_view winPath);

// A path kept across sessions (settings, recent lists, workspaces' file lists): stored as the
// system names the file (NativePath: the spelling on disk, '/' separators), so that it reaches the
// same file under any locale the user runs in later, and read back through PathOfStored, which
// gives it as the program spells it. A value an earlier release stored as the program spelled it
// reads back as it was when that still reaches the file and the conversion does not.
std::string StoredPathOf(std::string_view programPath);
std::string PathOfStored(std::string_view storedPath);

// Text the user typed that is kept across sessions and is no path (a workspace's name, which is
// also a key of the settings, a toolbar's name, the problem report's sender): stored in UTF-8, the
// one charset every locale reads, converted here once from the program's spelling (the ANSI code
// page), and read back through TextOfStored, which gives it as the program spells it. Paths are
// never stored this way: they keep StoredPathOf, whose value is already the system's name.
// - A text the program holds is in its code page and is stored converted. StoredTextOf keeps it as
//   raw stored bytes only when it cannot be that: its code-page reading is no text (UTF-8 工作区
//   read under 1252 or 936), or is text only through the page's rare extension characters
//   (outside GB2312 in GBK) while its UTF-8 reading is text (UTF-8 Größe, read under 936). That is how the program holds a text the code page cannot spell
//   (工作区 stored under zh_CN and read under en_US): as its stored bytes, which StoredTextOf gives
//   back unchanged, so it stays the same key and the same entry, whatever the locale. Bytes that
//   read as text in the code page are the code page's, even where they are also valid UTF-8 (GBK
//   "Qt平台" is UTF-8 "Qtƽ̨").
// - A value an earlier release stored in the code page of its session reads back as it was: bytes
//   that are no UTF-8, or whose UTF-8 reading is no plausible text while the code page's is (GBK
//   目录 is also the UTF-8 "Ŀ¼"), are taken as the code page's.
std::string StoredTextOf(std::string_view programText);
std::string TextOfStored(std::string_view storedText);

// NativePath without the case-insensitive lookup and the charset: the syntax only, as the program
// spells names.
std::string NativePathSyntax(std::string_view winPath);

// True when the byte at `pos` of `path` is a path separator (`\` or `/`) rather than the trail
// byte of a double-byte character.
bool IsPathSeparatorAt(std::string_view path, std::size_t pos);

// Position of the last separator of `path` (DBCS-aware), or npos.
std::size_t FindLastPathSeparator(std::string_view path);

// Case-insensitive comparison of two file names as the file system of Windows compares them:
// ASCII letters fold, the two bytes of a double-byte character compare exactly.
bool FileNamesEqualNoCase(std::string_view a, std::string_view b);
int CompareFileNamesNoCase(std::string_view a, std::string_view b);

// True for the lead byte of a double-byte character in the ANSI code page.
bool IsPathLeadByte(unsigned char c);

}  // namespace brambolt

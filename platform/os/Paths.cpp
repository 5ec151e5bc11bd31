// Path rules at the system boundary: separator and drive conversion, case-insensitive lookup.
#include "os/Paths.h"

#include "base/CodePage.h"
#include "base/Convert.h"
#include "os/FolderNames.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

namespace brambolt {

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

bool IsSeparatorByte(char c) { return c == '\\' || c == '/'; }

// The prefix of a path that is taken literally, as on Windows: no case-insensitive lookup.
constexpr std::string_view kLiteralPrefix = "\\\\?\\";

bool IsLiteral(std::string_view path) { return path.substr(0, kLiteralPrefix.size()) == kLiteralPrefix; }

}  // namespace

bool IsPathLeadByte(unsigned char c) {
  return IsDBCSLeadByte(c) != FALSE;
}

namespace {

// Whether a lead byte and the byte after it are one character of a name: the byte after must be
// one a character of the program's code page ends in, and under a locale whose names are GB2312 a
// "\\" never is (no GB2312 character ends in it, and the program spells no name so), so the bytes
// of another charset before one (a UTF-8 name under zh_CN.GB2312) end at it.
bool IsNameCharacterPair(unsigned char lead, unsigned char next) {
  if (!IsPathLeadByte(lead) || !IsTrailByteEx(CP_ACP, next)) return false;
  return !(IsSeparatorByte(static_cast<char>(next)) && GetSystemNameCodePage() == kGb2312);
}

// The offset of the character after the one at `i` of a path.
std::size_t NextPathCharacter(std::string_view path, std::size_t i) {
  if (i + 1 < path.size() && IsNameCharacterPair(static_cast<unsigned char>(path[i]), static_cast<unsigned char>(path[i + 1])))
    return i + 2;
  return i + 1;
}

}  // namespace

bool IsPathSeparatorAt(std::string_view path, std::size_t pos) {
  if (pos >= path.size() || !IsSeparatorByte(path[pos])) return false;
  // The characters are read from the first byte of the run of lead bytes before the separator:
  // the byte before that run, whatever it is, ends a character.
  std::size_t at = pos;
  while (at > 0 && IsPathLeadByte(static_cast<unsigned char>(path[at - 1]))) --at;
  while (at < pos) {
    const std::size_t next = NextPathCharacter(path, at);
    if (next > pos) return false;
    at = next;
  }
  return true;
}

std::size_t FindLastPathSeparator(std::string_view path) {
  std::size_t last = std::string_view::npos;
  // ASCII bytes are characters of their own; only a byte above them may start a double-byte
  // character whose trail byte looks like a separator.
  for (std::size_t i = 0; i < path.size();) {
    if (static_cast<unsigned char>(path[i]) >= 0x80) {
      i = NextPathCharacter(path, i);
      continue;
    }
    if (IsSeparatorByte(path[i])) last = i;
    ++i;
  }
  return last;
}

int CompareFileNamesNoCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  bool trail = false;  // the byte at i (in both names, while they agree) is a trail byte
  for (; i < a.size() && i < b.size(); ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    if (!trail) {
      ca = ToUpperByte(ca);
      cb = ToUpperByte(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
    // Lead bytes lie above 0x80 in every double-byte page: ASCII needs no look at the code page.
    trail = !trail && static_cast<unsigned char>(a[i]) > 0x80 && IsPathLeadByte(static_cast<unsigned char>(a[i]));
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool FileNamesEqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareFileNamesNoCase(a, b) == 0;
}

std::string NativePathSyntax(std::string_view in) {
  if (IsLiteral(in)) in.remove_prefix(kLiteralPrefix.size());
  std::string out;
  out.reserve(in.size() + 1);
  std::size_t i = 0;
  auto isSep = [&](std::size_t k) { return k < in.size() && IsSeparatorByte(in[k]); };
  if (in.size() >= 2 && isSep(0) && isSep(1)) {
    // UNC: \\server\share\rest lives under the UNC root.
    const char* uncRoot = std::getenv("BRAMBOLT_UNC_ROOT");
    out = uncRoot && *uncRoot ? uncRoot : "/";
    if (out.back() != '/') out += '/';
    i = 2;
    while (isSep(i)) ++i;
  } else if (in.size() >= 2 && in[1] == ':' &&
             ((in[0] >= 'A' && in[0] <= 'Z') || (in[0] >= 'a' && in[0] <= 'z'))) {
    i = 2;
    if (in.size() == 2) return "/";
  }
  bool lastWasSep = !out.empty();
  while (i < in.size()) {
    const char c = in[i];
    if (i + 1 < in.size() && IsNameCharacterPair(static_cast<unsigned char>(c), static_cast<unsigned char>(in[i + 1]))) {
      out += c;
      out += in[i + 1];
      i += 2;
      lastWasSep = false;
      continue;
    }
    if (IsSeparatorByte(c)) {
      if (!lastWasSep) out += '/';
      lastWasSep = true;
    } else {
      out += c;
      lastWasSep = false;
    }
    ++i;
  }
  return out;
}

std::string NativePath(std::string_view winPath) {
  // The program's spelling with '/' separators, then the system's: every name converted to the
  // locale's charset where it converts.
  const std::string spelled = NativePathSyntax(winPath);
  if (spelled.empty()) return spelled;
  std::string path = SystemNameOf(spelled);
  const bool literal = IsLiteral(winPath);
  const bool converted = path != spelled;
  if (Exists(path) || (literal && !converted)) return path;

  // The converted path has single '/' separators; a trailing one is kept. Most often only the last
  // name is new or spelled otherwise, in a folder that exists as spelled: then that name alone
  // is looked up. Every folder of such a path exists, so the walk below would keep them all.
  const bool trailing = path.size() > 1 && path.back() == '/';
  if (!converted) {
    const std::size_t nameEnd = trailing ? path.size() - 1 : path.size();
    const std::size_t slash = path.rfind('/', nameEnd - 1);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string lastName = path.substr(nameStart, nameEnd - nameStart);
    const std::string lastDir = slash == std::string::npos ? "" : path.substr(0, slash == 0 ? 1 : slash);
    if (lastName != "." && lastName != ".." && (lastDir.empty() || Exists(lastDir))) {
      std::string found;
      if (!FindFileNameNoCase(lastDir, lastName, found)) return path;
      path.replace(nameStart, nameEnd - nameStart, found);
      return path;
    }
  }

  // Resolve the existing prefix one name at a time: a name that exists only as its bytes (made
  // under another locale) is that file, and one that exists in neither spelling is looked up
  // case-insensitively; names past the existing prefix are made in the system's charset.
  const bool absolute = spelled[0] == '/';
  std::string out = absolute ? "/" : "";
  bool resolving = !literal;
  std::size_t start = absolute ? 1 : 0;
  while (start < spelled.size()) {
    std::size_t end = spelled.find('/', start);
    if (end == std::string::npos) end = spelled.size();
    const std::string name = spelled.substr(start, end - start);
    start = end + 1;
    if (name.empty()) continue;
    const std::string dir = out;
    if (!out.empty() && out.back() != '/') out += '/';
    std::string native = SystemNameOf(name);
    if (!Exists(out + native)) {
      // The name in its other spelling (its bytes, or converted) is the file another locale made.
      std::string other = name;
      if (native == name) ConvertExactly(name, CP_ACP, GetSystemNameCodePage(), other);
      if (other != native && Exists(out + other)) native = other;
    }
    if (resolving && name != "." && name != ".." && !Exists(out + native)) {
      std::string found;
      if (FindFileNameNoCase(dir, name, found))
        native = found;
      else
        resolving = false;
    }
    out += native;
  }
  if (trailing && out.back() != '/') out += '/';
  return out;
}

bool CanMakePath(std::string_view winPath) {
  const std::string spelled = NativePathSyntax(winPath);
  if (SystemCanSpell(spelled)) return true;
  // A name the system cannot spell is refused only where the path would make it: a folder or file
  // of that name that exists (made under another locale) is the name on disk.
  for (std::size_t end = spelled.size(); end > 0;) {
    const std::size_t slash = spelled.rfind('/', end - 1);
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    if (!SystemCanSpell(std::string_view(spelled).substr(start, end - start)) &&
        !Exists(NativePath(std::string_view(spelled).substr(0, end))))
      return false;
    if (slash == std::string::npos) break;
    end = slash;
  }
  return true;
}

std::string StoredPathOf(std::string_view programPath) { return NativePath(programPath); }

std::string PathOfStored(std::string_view storedPath) {
  std::string path = ProgramNameOf(storedPath);
  if (path == storedPath) return path;
  // Stored by an earlier release in the code page of its session: valid text of the system's
  // charset by chance, so the conversion read it as another name. It stays as stored when only
  // that spelling reaches a file.
  if (!Exists(NativePath(path)) && Exists(NativePath(storedPath))) return std::string(storedPath);
  return path;
}

namespace {

// Whether stored bytes are text in UTF-8 rather than in the code page: they decode as UTF-8, and
// read as text there, or do not read as text in the code page either (a symbol such as €).
bool ReadsAsUtf8(std::string_view text) {
  return IsUtf8Text(text) && (ReadsAsTextIn(text, CP_UTF8) || !ReadsAsTextIn(text, CP_ACP));
}

// Whether every double-byte character of `text` in the code page lies in the page's main area
// (GB2312 within GBK): one whose trail byte is 0x80-0xA0 is of the extension, characters rare in
// what people type, and it is what the UTF-8 of Latin letters such as ß reads as there.
bool InCodePageMainArea(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const auto lead = static_cast<BYTE>(text[i]);
    if (lead < 0x80 || !IsDBCSLeadByte(lead)) continue;
    const auto trail = static_cast<BYTE>(text[++i]);
    if (trail >= 0x80 && trail < 0xA1) return false;
  }
  return true;
}

}  // namespace

std::string StoredTextOf(std::string_view programText) {
  std::string utf8;
  if (IsAsciiText(programText)) return std::string(programText);
  // The program's text is in its code page. Only bytes that cannot be that are the stored bytes of
  // a text the page cannot spell, held as they are: their code-page reading is no text, or is
  // text only through the page's rare extension characters while the UTF-8 reading is text
  // ("Größe" held under zh_CN reads "Gr枚脽e"). That the UTF-8 reading looks like text next to ASCII
  // decides nothing by itself (GBK "Qt平台" is also UTF-8 "Qtƽ̨").
  const bool heldBytes =
      IsUtf8Text(programText) && !ConvertExactly(programText, CP_UTF8, CP_ACP, utf8) &&
      (!ReadsAsTextIn(programText, CP_ACP) || (!InCodePageMainArea(programText) && ReadsAsTextIn(programText, CP_UTF8)));
  if (heldBytes) return std::string(programText);
  if (ConvertExactly(programText, CP_ACP, CP_UTF8, utf8)) return utf8;
  return std::string(programText);
}

std::string TextOfStored(std::string_view storedText) {
  std::string text;
  if (IsAsciiText(storedText) || !ReadsAsUtf8(storedText)) return std::string(storedText);
  if (ConvertExactly(storedText, CP_UTF8, CP_ACP, text)) return text;
  return std::string(storedText);
}

std::string NativePath(const char* winPath) {
  if (!winPath) return std::string();
  return NativePath(std::string_view(winPath));
}

}  // namespace brambolt

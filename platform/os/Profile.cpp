// Profile files: parsing into lines, the documented lookup and listing rules, and whole-file
// rewrites. Parsed files are cached by path and kept while the file on disk is unchanged.
#include "os/Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "os/FileApi.h"
#include "os/FileFaults.h"
#include "os/FileSupport.h"
#include "os/OwnedNames.h"
#include "os/Paths.h"

namespace brambolt {

namespace {

struct Line {
  enum class Kind { Other, Section, Entry };
  Kind kind = Kind::Other;
  std::string raw;    // the line as read, without its line end
  std::string name;   // section name or key, trimmed
  std::string value;  // an entry's text after the first '=', trimmed
};

using Lines = std::vector<Line>;

std::string Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string();
  const std::size_t last = s.find_last_not_of(" \t");
  return std::string(s.substr(first, last - first + 1));
}

Line ParseLine(std::string raw) {
  Line line;
  line.raw = std::move(raw);
  const std::string text = Trim(line.raw);
  if (text.empty() || text[0] == ';') return line;
  if (text[0] == '[') {
    line.kind = Line::Kind::Section;
    std::size_t close = 1;  // the first ']' that is a character of its own
    while (close < text.size() && text[close] != ']')
      close += IsPathLeadByte(static_cast<unsigned char>(text[close])) && close + 1 < text.size() ? 2 : 1;
    // None: the name ended in a lead byte without its trail, which took the closing ']' as its
    // trail; the last ']' closes it, as it was written.
    if (close >= text.size()) close = text.rfind(']');
    line.name = Trim(std::string_view(text).substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return line;
  }
  line.kind = Line::Kind::Entry;
  const std::size_t equals = text.find('=');
  line.name = Trim(std::string_view(text).substr(0, equals));
  if (equals != std::string::npos) line.value = Trim(std::string_view(text).substr(equals + 1));
  return line;
}

Lines ParseText(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  // A line ends at CR LF, LF or a lone CR (files written by old Mac editors).
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(ParseLine(text.substr(start, end - start)));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// The path a profile name stands for: a bare name lives in the Windows directory.
std::string ProfilePath(const char* fileName) {
  const std::string_view name(fileName);
  if (FindLastPathSeparator(name) == std::string_view::npos && !(name.size() >= 2 && name[1] == ':')) {
    char folder[4096];
    const DWORD n = GetWindowsDirectory(folder, sizeof folder);
    if (n > 0 && n < sizeof folder) return NativePath(std::string(folder, n) + "/" + std::string(name));
  }
  return NativePath(name);
}

// Parsed files by path, valid while the file keeps its identity, size and modification time.
class ProfileCache {
 public:
  std::mutex mutex;  // held across each read-modify-write of a file

  // The file's lines; null when it does not exist. A staged file gives its copy in memory.
  std::shared_ptr<const Lines> Load(const std::string& path) {
    if (auto staged = m_staged.find(path); staged != m_staged.end()) return staged->second.lines;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
      m_files.erase(path);
      return nullptr;
    }
    auto it = m_files.find(path);
    if (it != m_files.end() && Same(it->second.st, st)) return it->second.lines;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return nullptr;
    std::string text;
    char buffer[16384];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
    auto lines = std::make_shared<const Lines>(ParseText(text));
    m_files[path] = {st, lines};
    return lines;
  }

  // Writes the lines with CR LF ends through a temporary file beside the target; a file kept as
  // a symbolic link is written beside the file it names, so the link stays one.
  bool Store(const std::string& path, const Lines& lines) {
    std::string text;
    for (const Line& line : lines) {
      text += line.raw;
      text += "\r\n";
    }
    std::string target;
    if (!file_support::LinkTarget(path, target)) {
      // A link to a file in a folder that is not there: the link stays, and nothing is written.
      file_support::SetLastErrorFromErrno(errno, target);
      return false;
    }
    const std::string folder = file_support::ParentOf(target);
    const std::string leaf = file_support::LeafOf(target);
    owned_name::RemoveDeadLeftovers(folder, leaf, "~");
    std::string temp;
    const int fd = owned_name::Create(folder, leaf, "~", temp);
    if (fd < 0) {
      file_support::SetLastErrorFromErrno(errno, path);
      return false;
    }
    struct stat old;
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0666 & ~CurrentUmask();
    bool ok = true;
    if (const int fault = FileFault(FileStep::Write, temp)) {
      errno = fault;
      ok = false;
    }
    for (std::size_t done = 0; ok && done < text.size();) {
      const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      ok = n > 0;
      if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ::fchmod(fd, mode) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
      SetLastError(ErrnoToWin32Error(errno));
      ::unlink(temp.c_str());
      m_files.erase(path);
      return false;
    }
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
      m_files[path] = {st, std::make_shared<const Lines>(lines)};
    else
      m_files.erase(path);
    return true;
  }

 private:
  struct Cached {
    struct stat st;
    std::shared_ptr<const Lines> lines;
  };

  static bool Same(const struct stat& a, const struct stat& b) {
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
  }

  static mode_t CurrentUmask() {
    static const mode_t mask = [] {
      const mode_t m = ::umask(022);
      ::umask(m);
      return m;
    }();
    return mask;
  }

  std::map<std::string, Cached> m_files;

 public:
  // Files whose writes go to a copy in memory until the outermost batch on them ends.
  struct Staged {
    std::shared_ptr<Lines> lines;
    int depth = 0;
    bool changed = false;
  };
  std::map<std::string, Staged> m_staged;

  // The staged copy of a file, or null when it is not staged.
  Staged* FindStaged(const std::string& path) {
    auto it = m_staged.find(path);
    return it == m_staged.end() ? nullptr : &it->second;
  }
};

ProfileCache& Cache() {
  static ProfileCache cache;
  return cache;
}

// The lines [first, last) of the first section of that name, header included; nullopt when absent.
// The caller's name is trimmed of blanks as the names in the file are.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const Lines& lines, std::string_view section) {
  const std::string wanted = Trim(section);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != Line::Kind::Section || !FileNamesEqualNoCase(lines[i].name, wanted)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && lines[end].kind != Line::Kind::Section) ++end;
    return std::make_pair(i, end);
  }
  return std::nullopt;
}

std::optional<std::size_t> FindEntry(const Lines& lines, std::pair<std::size_t, std::size_t> range,
                                     std::string_view key) {
  const std::string wanted = Trim(key);
  for (std::size_t i = range.first + 1; i < range.second; ++i)
    if (lines[i].kind == Line::Kind::Entry && FileNamesEqualNoCase(lines[i].name, wanted)) return i;
  return std::nullopt;
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

// A value into the caller's buffer: cut to size - 1 characters (never inside a double-byte
// character), terminated, returning the characters copied.
DWORD CopyValue(const std::string& value, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  std::size_t n = value.size();
  if (n > size - 1) {
    n = 0;
    while (n < value.size()) {
      const std::size_t step = IsPathLeadByte(static_cast<unsigned char>(value[n])) && n + 1 < value.size() ? 2 : 1;
      if (n + step > size - 1) break;
      n += step;
    }
  }
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

// A double-NUL list into the caller's buffer; a list that does not fit is cut, ends in two NULs
// and returns size - 2.
DWORD CopyList(const std::vector<std::string>& items, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  std::string list;
  for (const std::string& item : items) {
    list += item;
    list += '\0';
  }
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty() && size > 1) buffer[1] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

std::shared_ptr<const Lines> Read(const char* fileName) {
  if (!fileName) return nullptr;
  ProfileCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  return cache.Load(ProfilePath(fileName));
}

// Applies `change` to the file's lines and writes them back when it reports a change.
template <class Change>
BOOL Modify(const char* fileName, Change change) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ProfileCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  const std::string path = ProfilePath(fileName);
  if (ProfileCache::Staged* staged = cache.FindStaged(path)) {
    // Changed in place, unless a reader still holds the copy: the file is written once, when
    // the batch ends.
    if (staged->lines.use_count() > 1) staged->lines = std::make_shared<Lines>(*staged->lines);
    if (change(*staged->lines)) staged->changed = true;
    return TRUE;
  }
  const std::shared_ptr<const Lines> loaded = cache.Load(path);
  Lines lines = loaded ? *loaded : Lines();
  if (!change(lines)) return TRUE;
  return cache.Store(path, lines) ? TRUE : FALSE;
}

std::vector<std::string> SectionNames(const Lines& lines) {
  std::vector<std::string> names;
  for (const Line& line : lines)
    if (line.kind == Line::Kind::Section) names.push_back(line.name);
  return names;
}

// The section's entries: their keys, or whole "key=value" lines.
std::vector<std::string> SectionItems(const Lines& lines, std::string_view section, bool whole) {
  std::vector<std::string> items;
  const auto range = FindSection(lines, section);
  if (!range) return items;
  for (std::size_t i = range->first + 1; i < range->second; ++i) {
    const Line& line = lines[i];
    // A line without '=' is no key, though the section's block still holds it.
    if (line.kind != Line::Kind::Entry || (!whole && line.raw.find('=') == std::string::npos)) continue;
    items.push_back(whole ? Trim(line.raw) : line.name);
  }
  return items;
}

Line EntryLine(const std::string& key, const std::string& value) { return ParseLine(key + "=" + value); }

// Sets a key in a section, adding the section or the key where missing.
void SetEntry(Lines& lines, const std::string& section, const std::string& key, const std::string& value) {
  auto range = FindSection(lines, section);
  if (!range) {
    lines.push_back(ParseLine("[" + section + "]"));
    lines.push_back(EntryLine(key, value));
    return;
  }
  if (auto entry = FindEntry(lines, *range, key)) {
    lines[*entry] = EntryLine(lines[*entry].name, value);
    return;
  }
  // After the section's last entry, so blank lines and comments between sections stay put.
  std::size_t at = range->first + 1;
  for (std::size_t i = range->first + 1; i < range->second; ++i)
    if (lines[i].kind == Line::Kind::Entry) at = i + 1;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), EntryLine(key, value));
}

bool DeleteSection(Lines& lines, const std::string& section) {
  const auto range = FindSection(lines, section);
  if (!range) return false;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(range->first),
              lines.begin() + static_cast<std::ptrdiff_t>(range->second));
  return true;
}

std::string StructText(const BYTE* data, UINT size) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  BYTE sum = 0;
  for (UINT i = 0; i <= size; ++i) {
    const BYTE b = i < size ? data[i] : sum;
    sum = static_cast<BYTE>(sum + b);
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

}  // namespace

ProfileWriteBatch::ProfileWriteBatch(const char* fileName) {
  if (!fileName) return;
  ProfileCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  m_path = ProfilePath(fileName);
  ProfileCache::Staged* staged = cache.FindStaged(m_path);
  if (!staged) {
    const std::shared_ptr<const Lines> loaded = cache.Load(m_path);
    staged = &cache.m_staged[m_path];
    staged->lines = std::make_shared<Lines>(loaded ? *loaded : Lines());
  }
  ++staged->depth;
}

ProfileWriteBatch::~ProfileWriteBatch() { Commit(); }

BOOL ProfileWriteBatch::Commit() {
  if (m_path.empty()) return m_bResult;
  ProfileCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  const std::string path = std::move(m_path);
  m_path.clear();
  ProfileCache::Staged* staged = cache.FindStaged(path);
  if (!staged || --staged->depth > 0) return m_bResult;
  const ProfileCache::Staged done = std::move(*staged);
  cache.m_staged.erase(path);
  m_bResult = !done.changed || cache.Store(path, *done.lines) ? TRUE : FALSE;
  return m_bResult;
}

}  // namespace brambolt

using namespace brambolt;

DWORD GetPrivateProfileString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                              DWORD nSize, LPCSTR lpFileName) {
  if (!lpReturnedString || nSize == 0) return 0;
  const std::shared_ptr<const Lines> lines = Read(lpFileName);
  if (!lpAppName) return CopyList(lines ? SectionNames(*lines) : std::vector<std::string>(), lpReturnedString, nSize);
  if (!lpKeyName)
    return CopyList(lines ? SectionItems(*lines, lpAppName, false) : std::vector<std::string>(), lpReturnedString,
                    nSize);
  if (lines) {
    if (const auto range = FindSection(*lines, lpAppName)) {
      if (const auto entry = FindEntry(*lines, *range, lpKeyName))
        return CopyValue(Unquote((*lines)[*entry].value), lpReturnedString, nSize);
    }
  }
  // The default loses its trailing blanks, as on Windows.
  std::string fallback = lpDefault ? lpDefault : "";
  fallback.erase(fallback.find_last_not_of(" \t") + 1);
  SetLastError(ERROR_FILE_NOT_FOUND);
  return CopyValue(fallback, lpReturnedString, nSize);
}

UINT GetPrivateProfileInt(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName) {
  if (!lpAppName || !lpKeyName) return static_cast<UINT>(nDefault);
  const std::shared_ptr<const Lines> lines = Read(lpFileName);
  if (!lines) return static_cast<UINT>(nDefault);
  const auto range = FindSection(*lines, lpAppName);
  const auto entry = range ? FindEntry(*lines, *range, lpKeyName) : std::nullopt;
  if (!entry) return static_cast<UINT>(nDefault);
  const std::string text = Unquote((*lines)[*entry].value);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
  return negative ? 0u - value : value;
}

DWORD GetPrivateProfileSection(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
  if (!lpReturnedString || nSize == 0) return 0;
  const std::shared_ptr<const Lines> lines = Read(lpFileName);
  return CopyList(lines && lpAppName ? SectionItems(*lines, lpAppName, true) : std::vector<std::string>(),
                  lpReturnedString, nSize);
}

DWORD GetPrivateProfileSectionNames(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName) {
  return GetPrivateProfileString(nullptr, nullptr, nullptr, lpszReturnBuffer, nSize, lpFileName);
}

BOOL WritePrivateProfileString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName) {
  if (!lpAppName) {
    // All three NULL asks to flush a cache; every write here is already on disk.
    if (!lpKeyName && !lpString) return TRUE;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string section = lpAppName;
  return Modify(lpFileName, [&](Lines& lines) {
    if (!lpKeyName) return DeleteSection(lines, section);
    const auto range = FindSection(lines, section);
    if (!lpString) {
      const auto entry = range ? FindEntry(lines, *range, lpKeyName) : std::nullopt;
      if (!entry) return false;
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*entry));
      return true;
    }
    SetEntry(lines, section, Trim(lpKeyName), lpString);
    return true;
  });
}

BOOL WritePrivateProfileSection(LPCSTR lpAppName, LPCSTR lpString, LPCSTR lpFileName) {
  if (!lpAppName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::string section = lpAppName;
  return Modify(lpFileName, [&](Lines& lines) {
    if (!lpString) return DeleteSection(lines, section);
    Lines entries;
    for (const char* p = lpString; *p; p += std::strlen(p) + 1) entries.push_back(ParseLine(p));
    auto range = FindSection(lines, section);
    if (!range) {
      lines.push_back(ParseLine("[" + section + "]"));
      range = std::make_pair(lines.size() - 1, lines.size());
    }
    // The section's entries go; its comments and blank lines stay.
    Lines kept;
    for (std::size_t i = range->first + 1; i < range->second; ++i)
      if (lines[i].kind != Line::Kind::Entry) kept.push_back(lines[i]);
    entries.insert(entries.end(), kept.begin(), kept.end());
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(range->first + 1),
                lines.begin() + static_cast<std::ptrdiff_t>(range->second));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(range->first + 1), entries.begin(), entries.end());
    return true;
  });
}

BOOL GetPrivateProfileStruct(LPCSTR lpszSection, LPCSTR lpszKey, LPVOID lpStruct, UINT uSizeStruct, LPCSTR szFile) {
  if (!lpszSection || !lpszKey || !lpStruct) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::shared_ptr<const Lines> lines = Read(szFile);
  const auto range = lines ? FindSection(*lines, lpszSection) : std::nullopt;
  const auto entry = range ? FindEntry(*lines, *range, lpszKey) : std::nullopt;
  if (!entry) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  const std::string& text = (*lines)[*entry].value;
  if (text.size() != 2 * static_cast<std::size_t>(uSizeStruct) + 2) {
    SetLastError(ERROR_BAD_LENGTH);
    return FALSE;
  }
  std::vector<BYTE> bytes(uSizeStruct + 1);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    unsigned value = 0;
    if (std::sscanf(text.c_str() + 2 * i, "%2x", &value) != 1) {
      SetLastError(ERROR_INVALID_DATA);
      return FALSE;
    }
    bytes[i] = static_cast<BYTE>(value);
  }
  BYTE sum = 0;
  for (UINT i = 0; i < uSizeStruct; ++i) sum = static_cast<BYTE>(sum + bytes[i]);
  if (sum != bytes[uSizeStruct]) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  std::memcpy(lpStruct, bytes.data(), uSizeStruct);
  return TRUE;
}

BOOL WritePrivateProfileStruct(LPCSTR lpszSection, LPCSTR lpszKey, LPCVOID lpStruct, UINT uSizeStruct,
                               LPCSTR szFile) {
  if (!lpszSection || !lpszKey) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!lpStruct) return WritePrivateProfileString(lpszSection, lpszKey, nullptr, szFile);
  const std::string text = StructText(static_cast<const BYTE*>(lpStruct), uSizeStruct);
  return WritePrivateProfileString(lpszSection, lpszKey, text.c_str(), szFile);
}

DWORD GetProfileString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize) {
  if (!lpReturnedString || nSize == 0) return 0;
  if (!lpAppName || !lpKeyName) return CopyList({}, lpReturnedString, nSize);
  std::string fallback = lpDefault ? lpDefault : "";
  fallback.erase(fallback.find_last_not_of(" \t") + 1);
  return CopyValue(fallback, lpReturnedString, nSize);
}

UINT GetProfileInt(LPCSTR, LPCSTR, INT nDefault) { return static_cast<UINT>(nDefault); }

DWORD GetProfileSection(LPCSTR, LPSTR lpReturnedString, DWORD nSize) {
  return CopyList({}, lpReturnedString, nSize);
}

BOOL WriteProfileString(LPCSTR, LPCSTR, LPCSTR) { return TRUE; }

BOOL WriteProfileSection(LPCSTR, LPCSTR) { return TRUE; }

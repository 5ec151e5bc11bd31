// Folder searches over readdir, matched by the Windows wildcard rules and sorted as NTFS lists.
#include "os/FindFile.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include "base/Convert.h"
#include "os/FileApi.h"
#include "os/FileFaults.h"
#include "os/FileSupport.h"
#include "os/KernelObject.h"
#include "os/Paths.h"

namespace brambolt {

namespace {

// Pattern elements after the conversion Windows applies to search patterns.
enum class Token { Literal, Star, DosStar, DosQm, DosDot };

struct Element {
  Token token;
  std::string_view text;  // the character of a literal (one or two bytes)
};

// Splits a name into characters of one or two bytes.
std::vector<std::string_view> Characters(std::string_view s) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < s.size(); i = NextCharacter(s, i)) out.push_back(s.substr(i, CharacterLength(s, i)));
  return out;
}

std::vector<Element> Compile(std::string_view pattern) {
  const std::vector<std::string_view> chars = Characters(pattern);
  std::vector<Element> out;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const std::string_view c = chars[i];
    const std::string_view next = i + 1 < chars.size() ? chars[i + 1] : std::string_view();
    if (c == "*") {
      out.push_back({next == "." ? Token::DosStar : Token::Star, c});
    } else if (c == "?") {
      out.push_back({Token::DosQm, c});
    } else if (c == "." && (next.empty() || next == "?" || next == "*")) {
      out.push_back({Token::DosDot, c});
    } else {
      out.push_back({Token::Literal, c});
    }
  }
  return out;
}

bool Match(const std::vector<Element>& p, std::size_t pi, const std::vector<std::string_view>& n, std::size_t ni) {
  while (pi < p.size()) {
    const Element& e = p[pi];
    switch (e.token) {
      case Token::Literal:
        if (ni >= n.size() || !FileNamesEqualNoCase(e.text, n[ni])) return false;
        ++pi;
        ++ni;
        break;
      case Token::Star:
        for (std::size_t k = ni; k <= n.size(); ++k)
          if (Match(p, pi + 1, n, k)) return true;
        return false;
      case Token::DosStar: {
        // Any characters up to the name's last dot (or to the end of a name without one).
        std::size_t limit = n.size();
        for (std::size_t k = n.size(); k > ni; --k)
          if (n[k - 1] == ".") {
            limit = k - 1;
            break;
          }
        for (std::size_t k = ni; k <= limit; ++k)
          if (Match(p, pi + 1, n, k)) return true;
        return false;
      }
      case Token::DosQm:
        // One character, or none at a dot or at the end of the name.
        if (ni < n.size() && n[ni] != ".") {
          ++ni;
        }
        ++pi;
        break;
      case Token::DosDot:
        // A dot, or nothing at the end of the name.
        if (ni < n.size()) {
          if (n[ni] != ".") return false;
          ++ni;
        }
        ++pi;
        break;
    }
  }
  return ni == n.size();
}

struct FoundEntry {
  std::string name;
  file_support::EntryInfo info;
};

class FindSearch : public KernelObject {
 public:
  explicit FindSearch(std::vector<FoundEntry> entries) : KernelObject(Type::FindSearch), m_entries(std::move(entries)) {}

  // The next entry, false at the end.
  bool Next(WIN32_FIND_DATA& data) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_next >= m_entries.size()) return false;
    Fill(m_entries[m_next++], data);
    return true;
  }

 private:
  static void Fill(const FoundEntry& e, WIN32_FIND_DATA& data) {
    std::memset(&data, 0, sizeof data);
    data.dwFileAttributes = e.info.attributes;
    data.ftCreationTime = e.info.creationTime;
    data.ftLastAccessTime = e.info.lastAccessTime;
    data.ftLastWriteTime = e.info.lastWriteTime;
    data.nFileSizeHigh = static_cast<DWORD>(e.info.size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(e.info.size);
    if (e.info.attributes & FILE_ATTRIBUTE_REPARSE_POINT) data.dwReserved0 = IO_REPARSE_TAG_SYMLINK;
    const std::size_t n = std::min(e.name.size(), sizeof data.cFileName - 1);
    std::memcpy(data.cFileName, e.name.data(), n);
  }

  std::mutex m_mutex;
  std::vector<FoundEntry> m_entries;
  std::size_t m_next = 0;
};

}  // namespace

bool MatchesFilePattern(std::string_view pattern, std::string_view name) {
  return Match(Compile(pattern), 0, Characters(name), 0);
}

}  // namespace brambolt

using namespace brambolt;

HANDLE FindFirstFile(LPCSTR lpFileName, LPWIN32_FIND_DATA lpFindFileData) {
  if (!lpFileName || !lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::string_view spelled(lpFileName);
  const std::size_t cut = FindLastPathSeparator(spelled);
  std::string_view pattern = cut == std::string_view::npos ? spelled : spelled.substr(cut + 1);
  std::string folder;
  if (cut != std::string_view::npos) {
    folder = NativePath(std::string(spelled.substr(0, cut + 1)));
  } else if (spelled.size() >= 2 && spelled[1] == ':') {  // "C:*.*": the drive's current folder
    pattern = spelled.substr(2);
  }
  if (pattern.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  if (folder.empty()) folder = "./";
  if (folder.back() != '/') folder += '/';

  const int fault = FileFault(FileStep::List, folder);
  DIR* dir = fault == 0 ? ::opendir(folder.c_str()) : (errno = fault, nullptr);
  if (!dir) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrnoToWin32Error(errno));
    return INVALID_HANDLE_VALUE;
  }
  const std::vector<Element> compiled = Compile(pattern);
  const bool root = folder == "/";
  std::vector<FoundEntry> found;
  while (struct dirent* e = ::readdir(dir)) {
    const std::string_view native(e->d_name);
    const bool dots = native == "." || native == "..";
    if (dots && root) continue;
    // Matched and reported as the program spells the name.
    const std::string name = ProgramNameOf(native);
    if (!Match(compiled, 0, Characters(name), 0)) continue;
    FoundEntry entry{name, {}};
    // Entries that vanish while the folder is read are not reported. Each is asked about from the
    // open folder: its path is not resolved again for every entry.
    if (file_support::QueryEntryAt(::dirfd(dir), e->d_name, dots ? std::string_view() : std::string_view(name),
                                   entry.info))
      found.push_back(std::move(entry));
  }
  ::closedir(dir);
  if (found.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto rank = [](const std::string& n) { return n == "." ? 0 : n == ".." ? 1 : 2; };
  std::sort(found.begin(), found.end(), [&](const FoundEntry& a, const FoundEntry& b) {
    if (rank(a.name) != rank(b.name)) return rank(a.name) < rank(b.name);
    const int c = CompareFileNamesNoCase(a.name, b.name);
    return c != 0 ? c < 0 : a.name < b.name;
  });
  auto search = std::make_shared<FindSearch>(std::move(found));
  search->Next(*lpFindFileData);
  return AllocHandle(std::move(search));
}

BOOL FindNextFile(HANDLE hFindFile, LPWIN32_FIND_DATA lpFindFileData) {
  auto search = LookupHandleAs<FindSearch>(hFindFile, KernelObject::Type::FindSearch);
  if (!search || !lpFindFileData) {
    SetLastError(search ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!search->Next(*lpFindFileData)) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  return TRUE;
}

BOOL FindClose(HANDLE hFindFile) {
  auto isSearch = [](const KernelObject& o) { return o.GetType() == KernelObject::Type::FindSearch; };
  if (!ReleaseHandle(hFindFile, isSearch)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

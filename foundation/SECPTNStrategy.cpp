// The INI and registry storage strategies of the persistent trees.
#include "foundation/SECPTNStrategy.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/SECRegistry.h"
#include "os/Paths.h"
#include "os/Profile.h"

namespace {

constexpr DWORD kFirstBufferSize = 512;

// The names of a path from the root down to the node.
template <class Visit>
void ForEachFromRoot(const CStringList& path, Visit&& visit) {
  for (POSITION pos = path.GetTailPosition(); pos != nullptr;) visit(path.GetPrev(pos));
}

// Calls read(buffer, size) with a growing buffer until the result is not cut (`cut` says when it
// is); the result and the buffer that holds it.
template <class Read, class IsCut>
DWORD ReadGrowing(std::vector<char>& buffer, Read&& read, IsCut&& cut) {
  for (DWORD size = kFirstBufferSize;; size *= 2) {
    buffer.assign(size, '\0');
    const DWORD length = read(buffer.data(), size);
    if (!cut(length, size)) return length;
  }
}

// A double-NUL list of names, as the profile functions return it, `length` bytes long. A name
// that holds a NUL (a damaged file's) comes as its pieces, with an empty one between them where
// it held two: an empty name is passed over, so the names after it are listed too.
void SplitNameList(const std::vector<char>& buffer, DWORD length, CStringList& names) {
  for (DWORD pos = 0; pos < length;) {
    const DWORD nameLength = static_cast<DWORD>(strnlen(buffer.data() + pos, length - pos));
    if (nameLength > 0) names.AddTail(CString(buffer.data() + pos, static_cast<int>(nameLength)));
    pos += nameLength + 1;
  }
}

bool IsCutList(DWORD length, DWORD size) { return size >= 2 && length == size - 2; }

std::string Text(const CString& text) { return std::string(static_cast<LPCTSTR>(text), text.GetLength()); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Whether a byte can follow a lead byte as the trail of a double-byte character: no control
// character, no blank or sign below '@' (the readers split a line at '=' byte by byte).
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c != 0x7F && c != 0xFF; }

// Whether `name` can be a name in a store that takes none of the `forbidden` characters: not
// empty, no control character, and not ending in the lead byte of a double-byte character
// without its trail (which would take the next character of the stored path as its trail). A
// lead byte before a byte that cannot be a trail is no pair: that byte is checked as any other.
bool NameFits(std::string_view name, std::string_view forbidden) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || c == 0x7F || forbidden.find(static_cast<char>(c)) != std::string_view::npos) return false;
    if (c > 0x80 && brambolt::IsPathLeadByte(c)) {
      if (i + 1 >= name.size()) return false;
      i += IsTrailByte(static_cast<unsigned char>(name[i + 1])) ? 2 : 1;
    } else {
      ++i;
    }
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && brambolt::FileNamesEqualNoCase(text.substr(0, prefix.size()), prefix);
}

// Whether two of the names are the same ignoring case: they would name one place.
bool HasSameNames(const CStringList& names) {
  std::vector<std::string> seen;
  for (POSITION pos = names.GetHeadPosition(); pos != nullptr;) {
    std::string name = Text(names.GetNext(pos));
    for (const std::string& other : seen)
      if (brambolt::FileNamesEqualNoCase(name, other)) return true;
    seen.push_back(std::move(name));
  }
  return false;
}

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char b : bytes) {
    hex += digits[static_cast<unsigned char>(b) >> 4];
    hex += digits[static_cast<unsigned char>(b) & 15];
  }
  return hex;
}

// The bytes of hexadecimal text (either case); false when it is not such text.
bool FromHex(std::string_view hex, std::string& bytes) {
  if (hex.size() % 2 != 0) return false;
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  bytes.clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes += static_cast<char>(high * 16 + low);
  }
  return true;
}

// A value of one line as the profile file holds it: the reader trims a value and takes off one
// pair of enclosing quotes, so a value they would change is put in quotes.
std::string StoredValue(const std::string& v) {
  const bool quoted = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()) ||
                                     (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()));
  return quoted ? "\"" + v + "\"" : v;
}

// Keys of the profile store's own start with this (ignoring case, as the file compares keys).
constexpr std::string_view kReservedKeyPrefix = "ptn_";
// A pair written in hexadecimal: "ptn_Key_<key>=<value>".
constexpr std::string_view kEncodedKeyPrefix = "ptn_Key_";
// The registry value that lists a node's children in their order.
constexpr char kChildOrderValue[] = "ptn_ChildOrder";
// The longest value name a registry read gets back whole (names are enumerated into 2047
// characters, the terminator included).
constexpr std::size_t kLongestValueName = 2046;

// The registry value name of a pair. Value names ignore case, keys of a node do not: a key that
// another value of the node already takes ignoring case (`taken`) goes under its encoded name,
// and so does one that starts with the encoded names' prefix, which a read would decode.
std::string ValueNameOf(const std::string& key, bool taken) {
  if (!taken && !StartsWithNoCase(key, kEncodedKeyPrefix)) return key;
  return std::string(kEncodedKeyPrefix) + Hex(key);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// SECPTNStrategyProfile

SECPTNStrategyProfile::SECPTNStrategyProfile(const CString& iniFileName)
    : m_strIniFileName(iniFileName), m_strChildKeyPrefix("ptn_Child"), m_strSectionSeparator(".") {}

CString SECPTNStrategyProfile::SectionName(const CStringList& path) const {
  CString section;
  ForEachFromRoot(path, [&](const CString& name) {
    if (!section.IsEmpty()) section += m_strSectionSeparator;
    section += name;
  });
  return section;
}

void SECPTNStrategyProfile::BeginSave() {
  if (m_nSaveDepth++ == 0) m_pBatch = std::make_unique<brambolt::ProfileWriteBatch>(m_strIniFileName);
}

BOOL SECPTNStrategyProfile::EndSave() {
  if (m_nSaveDepth == 0 || --m_nSaveDepth > 0) return TRUE;
  BOOL ok = TRUE;
  for (PendingSection& pending : m_pending) {
    pending.entries += '\0';
    ok = WritePrivateProfileSection(pending.section, pending.entries.c_str(), m_strIniFileName) && ok;
  }
  m_pending.clear();
  m_pendingIndex.clear();
  m_deletedInSave.clear();
  ok = m_pBatch->Commit() && ok;
  m_pBatch.reset();
  return ok;
}

SECPTNStrategyProfile::PendingSection& SECPTNStrategyProfile::Pending(const CString& section) {
  CString key = section;
  key.MakeUpper();
  const auto [it, added] = m_pendingIndex.emplace(static_cast<LPCTSTR>(key), m_pending.size());
  if (added) m_pending.push_back({section, std::string(), {}});
  return m_pending[it->second];
}

bool SECPTNStrategyProfile::DeletedInSave(const CString& section) const {
  for (const CString& deleted : m_deletedInSave) {
    const CString prefix = deleted + m_strSectionSeparator;
    if (section.CompareNoCase(deleted) == 0 ||
        (section.GetLength() > prefix.GetLength() && section.Left(prefix.GetLength()).CompareNoCase(prefix) == 0))
      return true;
  }
  return false;
}

BOOL SECPTNStrategyProfile::DeleteNode(const CStringList& path) {
  const CString section = SectionName(path);
  if (section.IsEmpty()) return FALSE;
  // Within a save, a node below one already deleted has nothing stored yet.
  if (m_nSaveDepth > 0) {
    if (DeletedInSave(section)) return TRUE;
    m_deletedInSave.push_back(section);
  }
  BOOL ok = WritePrivateProfileString(section, nullptr, nullptr, m_strIniFileName);

  std::vector<char> buffer;
  const DWORD length = ReadGrowing(
      buffer, [&](char* text, DWORD size) { return GetPrivateProfileSectionNames(text, size, m_strIniFileName); },
      IsCutList);
  CStringList sections;
  SplitNameList(buffer, length, sections);
  const CString prefix = section + m_strSectionSeparator;
  for (POSITION pos = sections.GetHeadPosition(); pos != nullptr;) {
    const CString& name = sections.GetNext(pos);
    // Section names match ignoring case, as the profile functions compare them. A damaged file
    // may hold a section twice (a line cut by a lone carriage return can read as another header
    // of it): every copy goes, each listed once and deleted first to last, so none is left to
    // be read after the save in place of what it wrote.
    if (name.CompareNoCase(section) == 0 ||
        (name.GetLength() > prefix.GetLength() && name.Left(prefix.GetLength()).CompareNoCase(prefix) == 0))
      ok = WritePrivateProfileString(name, nullptr, nullptr, m_strIniFileName) && ok;
  }
  return ok;
}

std::string SECPTNStrategyProfile::EntryLine(const CString& key, const CString& value,
                                             std::vector<std::string>* taken) const {
  const std::string k = Text(key), v = Text(value);
  // The reader trims a key, ends it at the first '=', and takes a line starting with ';' or '['
  // for a comment or a section; keys match ignoring case.
  bool plain = NameFits(k, "=") && !IsBlank(k.front()) && !IsBlank(k.back()) && k.front() != ';' &&
               k.front() != '[' && !StartsWithNoCase(k, kReservedKeyPrefix) &&
               v.find_first_of(std::string_view("\0\r\n", 3)) == std::string::npos;
  if (plain && taken != nullptr)
    for (const std::string& other : *taken)
      if (brambolt::FileNamesEqualNoCase(k, other)) plain = false;
  if (!plain) {
    const std::string encoded = std::string(kEncodedKeyPrefix) + Hex(k);
    if (taken != nullptr) taken->push_back(encoded);
    return encoded + "=" + Hex(v);
  }
  if (taken != nullptr) taken->push_back(k);
  return k + "=" + StoredValue(v);
}

BOOL SECPTNStrategyProfile::WriteKeyValue(const CStringList& path, const CString& key, const CString& value) {
  const CString section = SectionName(path);
  if (section.IsEmpty() || key.IsEmpty()) return FALSE;
  if (m_nSaveDepth == 0) {
    const std::string line = EntryLine(key, value, nullptr);
    const std::size_t equals = line.find('=');
    return WritePrivateProfileString(section, line.substr(0, equals).c_str(), line.substr(equals + 1).c_str(),
                                     m_strIniFileName);
  }
  PendingSection& pending = Pending(section);
  pending.entries += EntryLine(key, value, &pending.keys);
  pending.entries += '\0';
  return TRUE;
}

BOOL SECPTNStrategyProfile::WriteChildList(const CStringList& path, const CStringList& childNames) {
  const CString section = SectionName(path);
  if (section.IsEmpty()) return FALSE;
  BOOL ok = TRUE;
  int index = 1;
  for (POSITION pos = childNames.GetHeadPosition(); pos != nullptr; ++index) {
    const CString& name = childNames.GetNext(pos);
    CString key;
    key.Format("%s%d", static_cast<LPCTSTR>(m_strChildKeyPrefix), index);
    // A name that can name a section is one line (CanStoreNode); it may need quotes.
    const std::string value = StoredValue(Text(name));
    if (m_nSaveDepth == 0) {
      ok = WritePrivateProfileString(section, key, value.c_str(), m_strIniFileName) && ok;
    } else {
      PendingSection& pending = Pending(section);
      pending.entries += Text(key) + "=" + value;
      pending.entries += '\0';
      pending.keys.push_back(Text(key));
    }
  }
  return ok;
}

BOOL SECPTNStrategyProfile::CanNameSection(const CString& name) const {
  const std::string n = Text(name);
  return NameFits(n, "[]" + Text(m_strSectionSeparator)) && !IsBlank(n.front()) && !IsBlank(n.back());
}

BOOL SECPTNStrategyProfile::CanStoreNode(const CStringList& childNames, const CStringList&) {
  for (POSITION pos = childNames.GetHeadPosition(); pos != nullptr;)
    if (!CanNameSection(childNames.GetNext(pos))) return FALSE;
  return !HasSameNames(childNames);
}

BOOL SECPTNStrategyProfile::GetSectionKeys(const CString& section, CStringList& keys) {
  keys.RemoveAll();
  if (section.IsEmpty()) return FALSE;
  std::vector<char> buffer;
  const DWORD length = ReadGrowing(
      buffer,
      [&](char* text, DWORD size) {
        return GetPrivateProfileString(section, nullptr, "", text, size, m_strIniFileName);
      },
      IsCutList);
  if (length == 0) return FALSE;
  SplitNameList(buffer, length, keys);
  return TRUE;
}

BOOL SECPTNStrategyProfile::ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                                     CStringList& values) {
  childNames.RemoveAll();
  keys.RemoveAll();
  values.RemoveAll();
  const CString section = SectionName(path);
  // A node never reads a section of a node above it (which would read itself again without end).
  CStringList above;
  for (POSITION pos = path.GetHeadPosition(); pos != nullptr;) above.AddTail(path.GetNext(pos));
  while (above.GetCount() > 1) {
    above.RemoveHead();
    if (brambolt::FileNamesEqualNoCase(Text(SectionName(above)), Text(section))) return FALSE;
  }
  CStringList sectionKeys;
  if (!GetSectionKeys(section, sectionKeys)) return FALSE;
  std::vector<char> buffer;
  std::string decodedKey, decodedValue;
  for (POSITION pos = sectionKeys.GetHeadPosition(); pos != nullptr;) {
    const CString& key = sectionKeys.GetNext(pos);
    const DWORD length = ReadGrowing(
        buffer,
        [&](char* text, DWORD size) { return GetPrivateProfileString(section, key, "", text, size, m_strIniFileName); },
        [](DWORD got, DWORD size) { return got == size - 1; });
    const CString value(buffer.data(), static_cast<int>(length));
    const std::string k = Text(key);
    if (StartsWithNoCase(k, Text(m_strChildKeyPrefix))) {
      // A name that cannot name a section of its own is no child.
      if (CanNameSection(value)) childNames.AddTail(value);
    } else if (StartsWithNoCase(k, kEncodedKeyPrefix)) {
      if (FromHex(std::string_view(k).substr(kEncodedKeyPrefix.size()), decodedKey) && !decodedKey.empty() &&
          FromHex(std::string_view(buffer.data(), length), decodedValue)) {
        keys.AddTail(CString(decodedKey.data(), static_cast<int>(decodedKey.size())));
        values.AddTail(CString(decodedValue.data(), static_cast<int>(decodedValue.size())));
      }
    } else {
      keys.AddTail(key);
      values.AddTail(value);
    }
  }
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// SECPTNStrategyRegistry

SECPTNStrategyRegistry::SECPTNStrategyRegistry(const CString& baseKey, HKEY hRootKey)
    : m_strBaseKey(baseKey), m_hRootKey(hRootKey) {
  SECRegistry::NormalizeKeyName(m_strBaseKey, FALSE);
  m_strBaseKey += "\\";
}

void SECPTNStrategyRegistry::GetNodeKeyPath(CString& out, const CStringList& path) {
  out = m_strBaseKey;
  ForEachFromRoot(path, [&](const CString& name) { out += name + "\\"; });
}

BOOL SECPTNStrategyRegistry::CanStoreNode(const CStringList& childNames, const CStringList& keys) {
  for (POSITION pos = childNames.GetHeadPosition(); pos != nullptr;) {
    const std::string name = Text(childNames.GetNext(pos));
    if (name.size() > 255 || !NameFits(name, "\\")) return FALSE;
  }
  // The value that keeps the children's order is no pair of the node, and every pair's value
  // name must read back whole. A key is taken when one written before it matches ignoring case.
  std::vector<std::string> written;
  for (POSITION pos = keys.GetHeadPosition(); pos != nullptr;) {
    std::string key = Text(keys.GetNext(pos));
    if (brambolt::FileNamesEqualNoCase(key, kChildOrderValue)) return FALSE;
    const bool taken = std::any_of(written.begin(), written.end(),
                                   [&](const std::string& other) { return brambolt::FileNamesEqualNoCase(key, other); });
    if (ValueNameOf(key, taken).size() > kLongestValueName) return FALSE;
    written.push_back(std::move(key));
  }
  return !HasSameNames(childNames);
}

void SECPTNStrategyRegistry::BeginSave() {
  if (m_nSaveDepth++ == 0) m_pBatch = std::make_unique<brambolt::RegistryWriteBatch>();
}

BOOL SECPTNStrategyRegistry::EndSave() {
  if (m_nSaveDepth == 0 || --m_nSaveDepth > 0) return TRUE;
  const BOOL written = m_pBatch->Commit();
  m_pBatch.reset();
  return written;
}

BOOL SECPTNStrategyRegistry::DeleteNode(const CStringList& path) {
  SECRegistry reg;
  if (!reg.Connect(m_hRootKey, nullptr, TRUE)) return FALSE;
  CString keyPath;
  GetNodeKeyPath(keyPath, path);
  if (!reg.Open(keyPath, KEY_ALL_ACCESS)) return reg.m_lErrorCode == ERROR_FILE_NOT_FOUND ? TRUE : FALSE;
  SECRegistry::NormalizeKeyName(keyPath, FALSE);
  // The leading backslash names the key from the root, not below the key just opened.
  return reg.DeleteKey("\\" + keyPath, TRUE);
}

// Every pair keeps a value of its own and reads back as it was: a key another value of the node
// takes ignoring case (in a save, a key written before it) is stored under its encoded name.
BOOL SECPTNStrategyRegistry::WriteKeyValue(const CStringList& path, const CString& key, const CString& value) {
  SECRegistry reg;
  if (!reg.Connect(m_hRootKey, nullptr, TRUE)) return FALSE;
  CString keyPath;
  GetNodeKeyPath(keyPath, path);
  if (!reg.Create(keyPath, "", 0, KEY_ALL_ACCESS, nullptr, nullptr)) return FALSE;
  const std::string k = Text(key);
  DWORD type = 0, size = 0;
  bool taken = reg.QueryValueRaw(key, &type, nullptr, &size);
  CString other;
  for (DWORD index = 0; taken && reg.EnumValue(index, other, type); ++index) taken = Text(other) != k;
  const std::string valueName = ValueNameOf(k, taken);
  const CString name(valueName.data(), static_cast<int>(valueName.size()));
  // A string value ends at its first NUL: a value that holds one is kept as bytes.
  const std::string bytes = Text(value);
  if (bytes.find('\0') != std::string::npos)
    return reg.SetValueRaw(name, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  return reg.SetValue(name, value);
}

// Children are subkeys, so no list is written; the node's key is made here, as every node is
// saved through this call: a node without values keeps its key (and so its place in the tree).
BOOL SECPTNStrategyRegistry::WriteChildList(const CStringList& path, const CStringList& childNames) {
  SECRegistry reg;
  if (!reg.Connect(m_hRootKey, nullptr, TRUE)) return FALSE;
  CString keyPath;
  GetNodeKeyPath(keyPath, path);
  if (!reg.Create(keyPath, "", 0, KEY_ALL_ACCESS, nullptr, nullptr)) return FALSE;
  if (childNames.GetCount() < 2) return TRUE;
  // The registry lists subkeys by name: their order is kept beside them.
  std::string order;
  for (POSITION pos = childNames.GetHeadPosition(); pos != nullptr;) order += Text(childNames.GetNext(pos)) + '\0';
  order += '\0';
  return reg.SetValueRaw(kChildOrderValue, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(order.data()),
                         static_cast<DWORD>(order.size()));
}

BOOL SECPTNStrategyRegistry::ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                                      CStringList& values) {
  SECRegistry reg;
  if (!reg.Connect(m_hRootKey, nullptr, TRUE)) return FALSE;
  CString keyPath;
  GetNodeKeyPath(keyPath, path);
  if (!reg.Open(keyPath, KEY_ALL_ACCESS)) return FALSE;
  childNames.RemoveAll();
  keys.RemoveAll();
  values.RemoveAll();
  CString name;
  std::vector<std::string> subkeys;
  for (DWORD index = 0; reg.EnumKey(index, name); ++index) {
    // A name that cannot name a key of its own below this one is no child.
    std::string text = Text(name);
    if (text.size() <= 255 && NameFits(text, "\\")) subkeys.push_back(std::move(text));
  }
  std::string order;
  DWORD type = 0;
  for (DWORD index = 0; reg.EnumValue(index, name, type); ++index) {
    // Read whole, whatever its length: the size first, then the bytes.
    DWORD size = 0;
    if (!reg.QueryValueRaw(name, &type, nullptr, &size)) continue;
    std::vector<char> text(size + 1, '\0');
    if (!reg.QueryValueRaw(name, &type, reinterpret_cast<LPBYTE>(text.data()), &size)) continue;
    if (brambolt::FileNamesEqualNoCase(Text(name), kChildOrderValue)) {
      if (type == REG_MULTI_SZ) order.assign(text.data(), size);
      continue;
    }
    std::string decodedKey;
    const std::string n = Text(name);
    if (StartsWithNoCase(n, kEncodedKeyPrefix) && FromHex(std::string_view(n).substr(kEncodedKeyPrefix.size()), decodedKey) &&
        !decodedKey.empty())
      keys.AddTail(CString(decodedKey.data(), static_cast<int>(decodedKey.size())));
    else
      keys.AddTail(name);
    const std::size_t length = type == REG_BINARY ? size : strnlen(text.data(), size);
    values.AddTail(CString(text.data(), static_cast<int>(length)));
  }
  // The children in the order they were saved (a store written before has no order: the
  // registry's), then any the order does not name.
  for (std::size_t at = 0; at < order.size();) {
    const std::size_t end = std::min(order.find('\0', at), order.size());
    const auto it = std::find(subkeys.begin(), subkeys.end(), order.substr(at, end - at));
    if (it != subkeys.end()) {
      childNames.AddTail(CString(it->data(), static_cast<int>(it->size())));
      subkeys.erase(it);
    }
    at = end + 1;
  }
  for (const std::string& subkey : subkeys) childNames.AddTail(CString(subkey.data(), static_cast<int>(subkey.size())));
  return TRUE;
}

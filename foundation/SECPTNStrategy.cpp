// The INI and registry storage strategies of the persistent trees.
#include "foundation/SECPTNStrategy.h"

#include <cstring>
#include <vector>

#include "foundation/SECRegistry.h"
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

// A double-NUL list of names, as the profile functions return it.
void SplitNameList(const std::vector<char>& buffer, DWORD length, CStringList& names) {
  for (DWORD pos = 0; pos < length;) {
    const DWORD nameLength = static_cast<DWORD>(strnlen(buffer.data() + pos, length - pos));
    if (nameLength == 0) break;
    names.AddTail(CString(buffer.data() + pos, static_cast<int>(nameLength)));
    pos += nameLength + 1;
  }
}

bool IsCutList(DWORD length, DWORD size) { return size >= 2 && length == size - 2; }

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
  if (added) m_pending.push_back({section, std::string()});
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
    // Section names match ignoring case, as the profile functions compare them.
    if (name.GetLength() > prefix.GetLength() && name.Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
      ok = WritePrivateProfileString(name, nullptr, nullptr, m_strIniFileName) && ok;
  }
  return ok;
}

BOOL SECPTNStrategyProfile::WriteKeyValue(const CStringList& path, const CString& key, const CString& value) {
  const CString section = SectionName(path);
  if (section.IsEmpty()) return FALSE;
  if (m_nSaveDepth == 0) return WritePrivateProfileString(section, key, value, m_strIniFileName);
  std::string& entries = Pending(section).entries;
  entries.append(static_cast<LPCTSTR>(key)).append("=").append(static_cast<LPCTSTR>(value));
  entries += '\0';
  return TRUE;
}

BOOL SECPTNStrategyProfile::WriteChildList(const CStringList& path, const CStringList& childNames) {
  BOOL ok = TRUE;
  int index = 1;
  for (POSITION pos = childNames.GetHeadPosition(); pos != nullptr; ++index) {
    CString key;
    key.Format("%s%d", static_cast<LPCTSTR>(m_strChildKeyPrefix), index);
    ok = WriteKeyValue(path, key, childNames.GetNext(pos)) && ok;
  }
  return ok && !SectionName(path).IsEmpty();
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
  CStringList sectionKeys;
  if (!GetSectionKeys(section, sectionKeys)) return FALSE;
  std::vector<char> buffer;
  for (POSITION pos = sectionKeys.GetHeadPosition(); pos != nullptr;) {
    const CString& key = sectionKeys.GetNext(pos);
    const DWORD length = ReadGrowing(
        buffer,
        [&](char* text, DWORD size) { return GetPrivateProfileString(section, key, "", text, size, m_strIniFileName); },
        [](DWORD got, DWORD size) { return got == size - 1; });
    const CString value(buffer.data(), static_cast<int>(length));
    if (key.Left(m_strChildKeyPrefix.GetLength()) == m_strChildKeyPrefix) {
      childNames.AddTail(value);
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

void SECPTNStrategyRegistry::BeginSave() {
  if (m_nSaveDepth++ == 0) m_pBatch = std::make_unique<brambolt::RegistryWriteBatch>();
}

BOOL SECPTNStrategyRegistry::EndSave() {
  if (m_nSaveDepth > 0 && --m_nSaveDepth == 0) m_pBatch.reset();
  return TRUE;
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

BOOL SECPTNStrategyRegistry::WriteKeyValue(const CStringList& path, const CString& key, const CString& value) {
  SECRegistry reg;
  if (!reg.Connect(m_hRootKey, nullptr, TRUE)) return FALSE;
  CString keyPath;
  GetNodeKeyPath(keyPath, path);
  if (!reg.Create(keyPath, "", 0, KEY_ALL_ACCESS, nullptr, nullptr)) return FALSE;
  return reg.SetValue(key, value);
}

// Children are subkeys, so no list is written; the node's key is made here, as every node is
// saved through this call: a node without values keeps its key (and so its place in the tree).
BOOL SECPTNStrategyRegistry::WriteChildList(const CStringList& path, const CStringList&) {
  SECRegistry reg;
  if (!reg.Connect(m_hRootKey, nullptr, TRUE)) return FALSE;
  CString keyPath;
  GetNodeKeyPath(keyPath, path);
  return reg.Create(keyPath, "", 0, KEY_ALL_ACCESS, nullptr, nullptr);
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
  for (DWORD index = 0; reg.EnumKey(index, name); ++index) childNames.AddTail(name);
  DWORD type = 0;
  for (DWORD index = 0; reg.EnumValue(index, name, type); ++index) {
    // Read whole, whatever its length, up to its end or its first zero.
    CString text;
    if (!reg.QueryValue(name, text)) continue;
    keys.AddTail(name);
    values.AddTail(text);
  }
  return TRUE;
}

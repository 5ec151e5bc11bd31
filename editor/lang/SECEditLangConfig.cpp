// The language configuration's groups, tags, sets and keywords, its word classification and tag
// search, and the process-wide manager of configurations by language name.
#include "editor/lang/SECEditLangConfig.h"

#include <algorithm>
#include <memory>

#include "core/CArchive.h"
#include "editor/model/SECEdit.h"
#include "gdi/SysColors.h"

using kelpwood::foundation::IMessage;
using kelpwood::foundation::IObserver;

IMPLEMENT_SERIAL(SECEditLangConfig, CObject, VERSIONABLE_SCHEMA | 1)

namespace {

const char* const kStandardNames[4] = {"Text", "Text Selection", "Number", "Operator"};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The manager

class SECEditLangConfig::Manager {
 public:
  Manager() {
    auto* config = new SECEditLangConfig;
    m_configs.SetAt("Default", config);
  }
  ~Manager() {
    for (POSITION pos = m_configs.GetStartPosition(); pos != nullptr;) {
      CString name;
      SECEditLangConfig* config = nullptr;
      m_configs.GetNextAssoc(pos, name, config);
      config->Release();
    }
    ReleaseAll(m_readers);
    ReleaseAll(m_writers);
  }

  CMap<CString, LPCTSTR, SECEditLangConfig*, SECEditLangConfig*> m_configs;
  CMap<CString, LPCTSTR, Reader*, Reader*> m_readers;
  CMap<CString, LPCTSTR, Writer*, Writer*> m_writers;

 private:
  template <class T>
  static void ReleaseAll(CMap<CString, LPCTSTR, T*, T*>& map) {
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
      CString name;
      T* item = nullptr;
      map.GetNextAssoc(pos, name, item);
      item->Release();
    }
    map.RemoveAll();
  }
};

namespace {

// Made on first use, by whoever asks first (the editor model for "Default", or the program
// registering its languages), so no static initialiser and no linker's choice decides whether
// it exists.
SECEditLangConfig::Manager& TheManager() {
  static SECEditLangConfig::Manager manager;
  return manager;
}

template <class T>
void Replace(CMap<CString, LPCTSTR, T*, T*>& map, LPCTSTR name, T* item) {
  item->AddRef();
  T* old = nullptr;
  if (map.Lookup(name, old) && old != nullptr) old->Release();
  map.SetAt(name, item);
}

}  // namespace

BOOL SECEditLangConfig::RegisterLanguage(LPCTSTR name, Reader* reader, Writer* writer) {
  if (name == nullptr) return FALSE;
  if (reader != nullptr) Replace(TheManager().m_readers, name, reader);
  if (writer != nullptr) Replace(TheManager().m_writers, name, writer);
  return TRUE;
}

SECEditLangConfig* SECEditLangConfig::GetLanguage(LPCTSTR name) {
  if (name == nullptr) return nullptr;
  SECEditLangConfig* config = nullptr;
  if (TheManager().m_configs.Lookup(name, config)) return config;
  Reader* reader = nullptr;
  if (!TheManager().m_readers.Lookup(name, reader)) return nullptr;
  config = new SECEditLangConfig;
  config->SetName(name);
  reader->Read(config);
  TheManager().m_configs.SetAt(name, config);
  return config;
}

BOOL SECEditLangConfig::SaveLanguage(LPCTSTR name) {
  if (name != nullptr) {
    SECEditLangConfig* config = nullptr;
    Writer* writer = nullptr;
    if (!TheManager().m_configs.Lookup(name, config) || !TheManager().m_writers.Lookup(name, writer)) return FALSE;
    return writer->Write(config);
  }
  BOOL result = FALSE;
  for (POSITION pos = TheManager().m_configs.GetStartPosition(); pos != nullptr;) {
    CString key;
    SECEditLangConfig* config = nullptr;
    TheManager().m_configs.GetNextAssoc(pos, key, config);
    Writer* writer = nullptr;
    if (TheManager().m_writers.Lookup(key, writer)) result |= writer->Write(config);
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// Construction, defaults and the subject

SECEditLangConfig::SECEditLangConfig() : m_strName("Default") { SetDefaults(); }

SECEditLangConfig::~SECEditLangConfig() { Clear(); }

void SECEditLangConfig::Clear() {
  for (POSITION pos = m_tags.GetStartPosition(); pos != nullptr;) {
    CString key;
    SECEditKeywordInfo* tag = nullptr;
    m_tags.GetNextAssoc(pos, key, tag);
    delete tag;
  }
  m_tags.RemoveAll();
  m_foldMap.RemoveAll();
  m_keywords.RemoveAll();
  for (INT_PTR i = 0; i < m_colorGroups.GetSize(); ++i) delete m_colorGroups[i];
  m_colorGroups.RemoveAll();
  m_groupNames.RemoveAll();
  for (auto& set : m_charSets) set.SetAll(FALSE);
}

void SECEditLangConfig::SetDefaults() {
  Clear();
  if (g_bDBCSSystem) {
    m_strFaceName = "FixedSys";
    m_nFontSize = 12;
  } else {
    m_strFaceName = "Courier";
    m_nFontSize = 10;
  }
  m_bFontItalic = m_bFontBold = FALSE;
  for (int which = 0; which < 4; ++which) AddDefaultGroup(kStandardNames[which], which);
  m_nTabSize = 4;
  m_bAutoIndent = m_bShowWhitespace = m_bReplaceTabs = m_bVirtualWhitespace = FALSE;
}

// Text, Number and Operator draw in the window colours, the selection inverted; only Text and
// Text Selection are offered for configuration.
void SECEditLangConfig::AddDefaultGroup(LPCTSTR name, int which) {
  auto* info = new SECEditColorInfo;
  const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  const bool selection = which == kGroupSelection;
  info->m_clrFore = selection ? window : text;
  info->m_clrBack = selection ? text : window;
  info->m_bForeAuto = info->m_bBackAuto = TRUE;
  info->m_wReserved = 0;
  info->m_strName = name;
  info->m_bConfigurable = which <= kGroupSelection;
  m_standard[which] = static_cast<WORD>(AddColorGroup(name, info));
}

bool SECEditLangConfig::QueryGuid(REFGUID id, void** out) {
  *out = nullptr;
  if (id == IID_ISECEditLangConfig || id == kelpwood::foundation::IID_ISubject ||
      id == kelpwood::foundation::IID_IQueryGuid || id == kelpwood::foundation::IID_IRefCount) {
    *out = static_cast<ISECEditLangConfig*>(this);
    return true;
  }
  return false;
}

ULONG SECEditLangConfig::AddRef() { return ++m_nRefs; }

ULONG SECEditLangConfig::Release() {
  const ULONG count = --m_nRefs;
  if (count == 0) delete this;
  return count;
}

void SECEditLangConfig::AddObserver(IObserver* obs) {
  if (obs != nullptr) m_observers.push_back(obs);
}

void SECEditLangConfig::RemoveObserver(IObserver* obs) { std::erase(m_observers, obs); }

void SECEditLangConfig::UpdateAllObservers(IObserver* except, IMessage* msg) {
  // A copy: an observer may remove itself while it hears the message.
  const std::vector<IObserver*> observers = m_observers;
  for (IObserver* obs : observers)
    if (obs != except && std::find(m_observers.begin(), m_observers.end(), obs) != m_observers.end())
      obs->OnUpdate(this, msg);
}

// ---------------------------------------------------------------------------------------------
// Groups

SECEditColorInfo* SECEditLangConfig::GetColorInfo(int index) {
  if (m_colorGroups.GetSize() == 0) return nullptr;
  if (index < 0 || index >= m_colorGroups.GetSize()) index = 0;
  return m_colorGroups[index];
}

WORD SECEditLangConfig::GetStandardGroupIndex(int which) {
  return which >= 0 && which < 4 ? m_standard[which] : m_standard[kGroupText];
}

int SECEditLangConfig::AddColorGroup(LPCTSTR name, SECEditColorInfo* info) {
  WORD index = 0;
  if (m_groupNames.Lookup(name, index) && index < m_colorGroups.GetSize()) {
    delete m_colorGroups[index];
    m_colorGroups[index] = info;
    return index;
  }
  index = static_cast<WORD>(m_colorGroups.Add(info));
  m_groupNames.SetAt(name, index);
  return index;
}

CString SECEditLangConfig::GetColorGroupName(int index) const {
  for (POSITION pos = m_groupNames.GetStartPosition(); pos != nullptr;) {
    CString name;
    WORD at = 0;
    m_groupNames.GetNextAssoc(pos, name, at);
    if (at == index) return name;
  }
  return CString();
}

int SECEditLangConfig::FindColorGroup(LPCTSTR name) const {
  WORD index = 0;
  return m_groupNames.Lookup(name, index) ? index : -1;
}

void SECEditLangConfig::RepairGroups() {
  const INT_PTR count = m_colorGroups.GetSize();
  std::vector<CString> stale;
  for (POSITION pos = m_groupNames.GetStartPosition(); pos != nullptr;) {
    CString name;
    WORD index = 0;
    m_groupNames.GetNextAssoc(pos, name, index);
    if (index >= count) stale.push_back(name);
  }
  for (const CString& name : stale) m_groupNames.RemoveKey(name);
  for (int which = 0; which < 4; ++which) {
    const int index = FindColorGroup(kStandardNames[which]);
    if (index >= 0)
      m_standard[which] = static_cast<WORD>(index);
    else
      AddDefaultGroup(kStandardNames[which], which);
  }
  const INT_PTR groups = m_colorGroups.GetSize();
  for (POSITION pos = m_keywords.GetStartPosition(); pos != nullptr;) {
    CString keyword;
    WORD group = 0;
    m_keywords.GetNextAssoc(pos, keyword, group);
    if (group >= groups) m_keywords.SetAt(keyword, 0);
  }
  for (POSITION pos = m_tags.GetStartPosition(); pos != nullptr;) {
    CString key;
    SECEditKeywordInfo* tag = nullptr;
    m_tags.GetNextAssoc(pos, key, tag);
    if (tag != nullptr && tag->m_wGroup >= groups) tag->m_wGroup = 0;
  }
}

// ---------------------------------------------------------------------------------------------
// Tags

UINT SECEditLangConfig::CharCodeAt(LPCTSTR text, int avail, int* length) {
  const auto* p = reinterpret_cast<const BYTE*>(text);
  if (avail >= 2 && ::IsDBCSLeadByte(p[0]) && p[1] != 0) {
    *length = 2;
    return p[0] * 256U + p[1];
  }
  *length = avail > 0 ? 1 : 0;
  return avail > 0 ? p[0] : 0;
}

void SECEditLangConfig::RegisterTag(SECEditKeywordInfo* tag) {
  const CString& begin = tag->m_strBegin;
  const int total = begin.GetLength();
  int end = 0;
  while (end < total) {
    int step = 0;
    CharCodeAt(static_cast<LPCTSTR>(begin) + end, total - end, &step);
    end += step;
    if (end >= total) break;
    const CString prefix = begin.Left(end);
    SECEditKeywordInfo* old = nullptr;
    if (m_tags.Lookup(prefix, old)) delete old;
    m_tags.SetAt(prefix, nullptr);
  }
  SECEditKeywordInfo* old = nullptr;
  if (m_tags.Lookup(begin, old) && old != tag) delete old;
  m_tags.SetAt(begin, tag);
}

SECEditKeywordInfo* SECEditLangConfig::FindTag(LPCTSTR text, int maxLen, int beginLen, int kind) {
  if (text == nullptr || maxLen <= 0) return nullptr;
  SECEditKeywordInfo* match = nullptr;
  int length = 0;
  for (;;) {
    int step = 0;
    CharCodeAt(text + length, maxLen - length, &step);
    if (step == 0) return nullptr;  // the candidate would grow past the maximum length
    if (text[length] == '\0') return nullptr;
    length += step;
    SECEditKeywordInfo* found = nullptr;
    if (!m_tags.Lookup(CString(text, length), found)) return nullptr;
    if (found != nullptr) {
      match = found;
      break;
    }
  }
  if (beginLen != 0 && match->m_strBegin.GetLength() != beginLen) return nullptr;
  switch (kind) {
    case 2: return match;
    case 1: return match->m_bMultiLine ? match : nullptr;
    case 0: return match->m_bMultiLine ? nullptr : match;
    default: return nullptr;
  }
}

void SECEditLangConfig::GetTags(SECEditKeywordInfoList& list, int kind) {
  list.RemoveAll();
  if (kind < 0 || kind > 2) return;
  for (POSITION pos = m_tags.GetStartPosition(); pos != nullptr;) {
    CString key;
    SECEditKeywordInfo* tag = nullptr;
    m_tags.GetNextAssoc(pos, key, tag);
    if (tag != nullptr && (kind == 2 || (kind == 1) == (tag->m_bMultiLine != FALSE))) list.Add(tag);
  }
}

// ---------------------------------------------------------------------------------------------
// Words and character sets

int SECEditLangConfig::ClassifyWord(LPCTSTR text, int len, WORD* group) {
  if (text == nullptr || len <= 0) return 0;
  const CString word(text, len);
  WORD found = 0;
  if (m_keywords.Lookup(word, found)) {
    *group = found;
    return len;
  }
  if (!m_bMatchCase) {
    CString folded = word;
    folded.MakeLower();
    CString stored;
    if (m_foldMap.Lookup(folded, stored) && m_keywords.Lookup(stored, found)) {
      *group = found;
      return len;
    }
  }
  if (word[0] >= '0' && word[0] <= '9') {
    *group = m_standard[kGroupNumber];
    return len;
  }
  return 0;
}

void SECEditLangConfig::RebuildFoldMap() {
  m_foldMap.RemoveAll();
  for (POSITION pos = m_keywords.GetStartPosition(); pos != nullptr;) {
    CString keyword;
    WORD group = 0;
    m_keywords.GetNextAssoc(pos, keyword, group);
    CString folded = keyword;
    folded.MakeLower();
    m_foldMap.SetAt(folded, keyword);
  }
}

SECBitArray<SECEditLangConfig::kCharCodes>* SECEditLangConfig::CharSet(int set) {
  return set >= 0 && set < 5 ? &m_charSets[set] : nullptr;
}

BOOL SECEditLangConfig::IsInCharSet(UINT code, int set) {
  const SECBitArray<kCharCodes>* bits = CharSet(set);
  return bits != nullptr && bits->Get(code);
}

void SECEditLangConfig::AddToCharSet(LPCTSTR text, int set) {
  SECBitArray<kCharCodes>* bits = CharSet(set);
  if (bits == nullptr || text == nullptr) return;
  const int total = static_cast<int>(std::strlen(text));
  for (int at = 0; at < total;) {
    int step = 0;
    const UINT code = CharCodeAt(text + at, total - at, &step);
    if (code == 0) break;
    // A lead byte without its trail (the text's last byte) is no character: kept, it would pair
    // with whatever follows it in the stored form of the set, which then read back another set.
    if (!(step == 1 && ::IsDBCSLeadByte(static_cast<BYTE>(code)))) bits->Set(code, TRUE);
    at += step;
  }
}

void SECEditLangConfig::SetCharSet(LPCTSTR text, int set, BOOL bClearFirst) {
  SECBitArray<kCharCodes>* bits = CharSet(set);
  if (bits == nullptr) return;
  if (bClearFirst) bits->SetAll(FALSE);
  AddToCharSet(text, set);
  SECEditMsg msg(SECEDIT_MSG_LANGUAGE);
  UpdateAllObservers(nullptr, &msg);
}

CString SECEditLangConfig::GetCharSetString(int set) const {
  CString out;
  if (set < 0 || set >= 5) return out;
  const SECBitArray<kCharCodes>& bits = m_charSets[set];
  if (bits.IsEmpty()) return out;
  for (UINT code = 1; code < static_cast<UINT>(kCharCodes); ++code) {
    if (!bits.Get(code)) continue;
    if (code > 255) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// The composite reader and the factories

BOOL SECEditLangConfigCompositeReader::Read(SECEditLangConfig* config) {
  BOOL all = TRUE;
  for (SECEditLangConfig::Reader* member : m_members)
    if (!member->Read(config)) all = FALSE;
  return all;
}

// Reading and writing language configurations: the INI form, the registry profile form, and the
// archive form shared by archive files and the built-in resource.
#include "editor/lang/SECEditLangConfigStorage.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "afx/AfxResources.h"
#include "afx/CWinApp.h"
#include "core/CArchive.h"
#include "core/CFile.h"
#include "core/CMemFile.h"
#include "os/Profile.h"

namespace {

// The [Parser] keys, by character set number.
const char* const kSetKeys[5] = {"KWStartChars", "KWMiddleChars", "KWEndChars", "Delimiters", "Operators"};

// Reading buffers of the INI form.
constexpr DWORD kParserBuffer = 4096;
constexpr DWORD kGroupBuffer = 1024;
constexpr DWORD kFaceBuffer = 32;

CString IniString(LPCTSTR section, LPCTSTR key, LPCTSTR def, DWORD size, LPCTSTR file) {
  std::string buffer(size, '\0');
  const DWORD n = ::GetPrivateProfileString(section, key, def, buffer.data(), size, file);
  return CString(buffer.data(), static_cast<int>(n));
}

int IniInt(LPCTSTR section, LPCTSTR key, int def, LPCTSTR file) {
  return static_cast<int>(::GetPrivateProfileInt(section, key, def, file));
}

CString Numbered(LPCTSTR format, int n) {
  CString text;
  text.Format(format, n);
  return text;
}

// "r,g,b" with missing numbers as 0, each number cut to its low 8 bits.
COLORREF ParseColor(const CString& text) {
  int rgb[3] = {0, 0, 0};
  std::sscanf(static_cast<LPCTSTR>(text), "%d,%d,%d", &rgb[0], &rgb[1], &rgb[2]);
  return RGB(rgb[0] & 0xFF, rgb[1] & 0xFF, rgb[2] & 0xFF);
}

CString FormatColor(COLORREF color) {
  CString text;
  text.Format("%d,%d,%d", GetRValue(color), GetGValue(color), GetBValue(color));
  return text;
}

const char* Flag(BOOL on) { return on ? "1" : "0"; }

// A text as an INI value that reads back the same: reading trims blanks at its ends and takes
// off a pair of quotes around it, so such a text is written inside quotes.
CString IniValue(const CString& text) {
  const int n = text.GetLength();
  if (n == 0) return text;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const bool quoted = n >= 2 && (text[0] == '"' || text[0] == '\'') && text[n - 1] == text[0];
  return blank(text[0]) || blank(text[n - 1]) || quoted ? "\"" + text + "\"" : text;
}

// The whole section as "key=value" lines, however long it is.
std::vector<CString> IniSectionLines(LPCTSTR section, LPCTSTR file) {
  std::vector<char> buffer(32760);
  DWORD n = 0;
  for (;;) {
    n = ::GetPrivateProfileSection(section, buffer.data(), static_cast<DWORD>(buffer.size()), file);
    if (n + 2 < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  std::vector<CString> lines;
  for (DWORD at = 0; at < n && buffer[at] != '\0';) {
    const CString line(buffer.data() + at);
    at += static_cast<DWORD>(line.GetLength()) + 1;
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// INI form

BOOL SECEditLangConfigIniReader::Read(SECEditLangConfig* config) {
  if (config == nullptr) return FALSE;
  if (m_bReset) config->SetDefaults();
  const BOOL ok = ReadColorGroups(config) && ReadParser(config) && ReadFont(config) && ReadKeywords(config) &&
                  ReadEditor(config);
  config->RepairGroups();
  return ok;
}

BOOL SECEditLangConfigIniReader::ReadColorGroups(SECEditLangConfig* config) {
  if (config == nullptr) return FALSE;
  const int count = IniInt("ColorGroups", "NumGroups", 0, m_strPath);
  for (int i = 1; i <= count && i <= SECEditLangConfig::kMaxGroups; ++i) {
    const CString section = IniString("ColorGroups", Numbered("Group%d", i), "", kGroupBuffer, m_strPath);
    if (section.IsEmpty()) continue;
    auto info = std::make_unique<SECEditColorInfo>();
    info->m_wReserved = 0;
    info->m_strName = IniString(section, "DisplayName", section, kGroupBuffer, m_strPath);
    info->m_bConfigurable = IniInt(section, "Configurable", 1, m_strPath);
    const CString fore = IniString(section, "Foreground", "", kGroupBuffer, m_strPath);
    if (fore.IsEmpty()) {
      info->m_clrFore = 0;
      info->m_bForeAuto = TRUE;
    } else {
      info->m_clrFore = ParseColor(fore);
      info->m_bForeAuto = IniInt(section, "ForeColorAutomatic", 0, m_strPath);
    }
    const CString back = IniString(section, "Background", "", kGroupBuffer, m_strPath);
    if (back.IsEmpty()) {
      info->m_clrBack = RGB(255, 255, 255);
      info->m_bBackAuto = TRUE;
    } else {
      info->m_clrBack = ParseColor(back);
      info->m_bBackAuto = IniInt(section, "BackColorAutomatic", 0, m_strPath);
    }
    config->AddColorGroup(section, info.release());
  }
  config->RepairGroups();
  return TRUE;
}

BOOL SECEditLangConfigIniReader::ReadParser(SECEditLangConfig* config) {
  if (config == nullptr) return FALSE;
  for (int set = 0; set < 5; ++set)
    config->AddToCharSet(IniString("Parser", kSetKeys[set], "", kParserBuffer, m_strPath), set);
  // The count is bounded, and the tags end at the first one missing whatever the count says: a
  // damaged file costs no more than the tags it holds.
  const int count = IniInt("Parser", "NumTags", 0, m_strPath);
  for (int i = 1; i <= count && i <= SECEditLangConfig::kMaxTags; ++i) {
    const CString section = Numbered("Tag%d", i);
    if (IniSectionLines(section, m_strPath).empty()) break;
    auto tag = std::make_unique<SECEditKeywordInfo>();
    const int group = config->FindColorGroup(IniString(section, "ColorGroup", "", kParserBuffer, m_strPath));
    tag->m_wGroup = static_cast<WORD>(group < 0 ? 0 : group);
    tag->m_strBegin = IniString(section, "BeginTag", "", kParserBuffer, m_strPath);
    tag->m_strEnd = IniString(section, "EndTag", "", kParserBuffer, m_strPath);
    tag->m_strEscape = IniString(section, "EscapeChar", "", kParserBuffer, m_strPath);
    tag->m_bMultiLine = IniInt(section, "MultiLine", 0, m_strPath);
    // A tag without a begin text could never be found; it is not entered.
    if (!tag->m_strBegin.IsEmpty()) config->RegisterTag(tag.release());
  }
  return TRUE;
}

BOOL SECEditLangConfigIniReader::ReadFont(SECEditLangConfig* config) {
  if (config == nullptr) return FALSE;
  config->SetFontFaceName(IniString("Font", "FaceName", config->GetFontFaceName(), kFaceBuffer, m_strPath));
  config->SetFontSize(IniInt("Font", "Size", config->GetFontSize(), m_strPath));
  config->SetFontItalic(IniInt("Font", "Italic", config->GetFontItalic(), m_strPath));
  config->SetFontBold(IniInt("Font", "Bold", config->GetFontBold(), m_strPath));
  return TRUE;
}

BOOL SECEditLangConfigIniReader::ReadKeywords(SECEditLangConfig* config) {
  if (config == nullptr) return FALSE;
  for (const CString& line : IniSectionLines("Keywords", m_strPath)) {
    const int equals = line.Find('=');
    if (equals < 0) continue;
    CString keyword = line.Left(equals);
    CString groupName = line.Mid(equals + 1);
    keyword.Trim();
    groupName.Trim();
    if (keyword.IsEmpty() || groupName.IsEmpty()) continue;
    const int group = config->FindColorGroup(groupName);
    if (group < 0) continue;
    config->SetKeyword(keyword, static_cast<WORD>(group));
  }
  config->RebuildFoldMap();
  return TRUE;
}

BOOL SECEditLangConfigIniReader::ReadEditor(SECEditLangConfig* config) {
  if (config == nullptr) return FALSE;
  config->SetTabSize(IniInt("Editor", "TabSize", 4, m_strPath));
  config->SetAutoIndent(IniInt("Editor", "AutoIndent", 0, m_strPath));
  config->SetShowWhitespace(IniInt("Editor", "ShowWhitespace", 0, m_strPath));
  config->SetVirtualWhitespace(IniInt("Editor", "VirtualWhitespace", 0, m_strPath));
  config->SetReplaceTabs(IniInt("Editor", "ReplaceTabs", 0, m_strPath));
  config->SetMatchCase(IniInt("Editor", "MatchCase", 1, m_strPath));
  return TRUE;
}

BOOL SECEditLangConfigIniWriter::Write(SECEditLangConfig* config) {
  return config != nullptr && WriteColorGroups(config) && WriteParser(config) && WriteFont(config) &&
         WriteKeywords(config) && WriteEditor(config);
}

BOOL SECEditLangConfigIniWriter::WriteColorGroups(SECEditLangConfig* config) {
  int written = 0;
  for (int index = 0; index < config->GetColorGroupCount(); ++index) {
    SECEditColorInfo* info = config->GetColorInfo(index);
    const CString name = config->GetColorGroupName(index);
    if (name.IsEmpty()) continue;
    CString value;
    auto put = [&](LPCTSTR section, LPCTSTR key, LPCTSTR text) {
      return ::WritePrivateProfileString(section, key, IniValue(text), m_strPath) != FALSE;
    };
    auto putInt = [&](LPCTSTR key, int n) {
      value.Format("%d", n);
      return put(name, key, value);
    };
    if (!put("ColorGroups", Numbered("Group%d", written + 1), name) ||
        !put(name, "Foreground", FormatColor(info->m_clrFore)) || !putInt("ForeColorAutomatic", info->m_bForeAuto) ||
        !put(name, "Background", FormatColor(info->m_clrBack)) || !putInt("BackColorAutomatic", info->m_bBackAuto) ||
        !put(name, "DisplayName", info->m_strName) || !putInt("Configurable", info->m_bConfigurable))
      return FALSE;
    ++written;
  }
  if (written > 0 && !::WritePrivateProfileString("ColorGroups", "NumGroups", Numbered("%d", written), m_strPath))
    return FALSE;
  return TRUE;
}

BOOL SECEditLangConfigIniWriter::WriteParser(SECEditLangConfig* config) {
  for (int set = 0; set < 5; ++set)
    if (!::WritePrivateProfileString("Parser", kSetKeys[set], IniValue(config->GetCharSetString(set)), m_strPath))
      return FALSE;
  std::vector<SECEditKeywordInfo*> tags;
  const SECEditTagMap& map = config->GetTagMap();
  for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
    CString key;
    SECEditKeywordInfo* tag = nullptr;
    map.GetNextAssoc(pos, key, tag);
    if (tag != nullptr) tags.push_back(tag);
  }
  if (!::WritePrivateProfileString("Parser", "NumTags", Numbered("%d", static_cast<int>(tags.size())), m_strPath))
    return FALSE;
  for (size_t i = 0; i < tags.size(); ++i) {
    const CString section = Numbered("Tag%d", static_cast<int>(i) + 1);
    const SECEditKeywordInfo* tag = tags[i];
    if (!::WritePrivateProfileString(section, "ColorGroup", IniValue(config->GetColorGroupName(tag->m_wGroup)), m_strPath) ||
        !::WritePrivateProfileString(section, "BeginTag", IniValue(tag->m_strBegin), m_strPath) ||
        !::WritePrivateProfileString(section, "EndTag", IniValue(tag->m_strEnd), m_strPath) ||
        !::WritePrivateProfileString(section, "EscapeChar", IniValue(tag->m_strEscape), m_strPath) ||
        !::WritePrivateProfileString(section, "MultiLine", Flag(tag->m_bMultiLine), m_strPath))
      return FALSE;
  }
  return TRUE;
}

BOOL SECEditLangConfigIniWriter::WriteFont(SECEditLangConfig* config) {
  return ::WritePrivateProfileString("Font", "FaceName", IniValue(config->GetFontFaceName()), m_strPath) &&
         ::WritePrivateProfileString("Font", "Size", Numbered("%d", config->GetFontSize()), m_strPath) &&
         ::WritePrivateProfileString("Font", "Italic", Flag(config->GetFontItalic()), m_strPath) &&
         ::WritePrivateProfileString("Font", "Bold", Flag(config->GetFontBold()), m_strPath);
}

BOOL SECEditLangConfigIniWriter::WriteKeywords(SECEditLangConfig* config) {
  const CMapStringToWord& keywords = config->GetKeywordMap();
  for (POSITION pos = keywords.GetStartPosition(); pos != nullptr;) {
    CString keyword;
    WORD group = 0;
    keywords.GetNextAssoc(pos, keyword, group);
    if (!::WritePrivateProfileString("Keywords", keyword, IniValue(config->GetColorGroupName(group)), m_strPath)) return FALSE;
  }
  return TRUE;
}

BOOL SECEditLangConfigIniWriter::WriteEditor(SECEditLangConfig* config) {
  return ::WritePrivateProfileString("Editor", "TabSize", Numbered("%d", config->GetTabSize()), m_strPath) &&
         ::WritePrivateProfileString("Editor", "AutoIndent", Flag(config->GetAutoIndent()), m_strPath) &&
         ::WritePrivateProfileString("Editor", "ShowWhitespace", Flag(config->GetShowWhitespace()), m_strPath) &&
         ::WritePrivateProfileString("Editor", "VirtualWhitespace", Flag(config->GetVirtualWhitespace()), m_strPath) &&
         ::WritePrivateProfileString("Editor", "ReplaceTabs", Flag(config->GetReplaceTabs()), m_strPath) &&
         ::WritePrivateProfileString("Editor", "MatchCase", Flag(config->GetMatchCase()), m_strPath);
}

// ---------------------------------------------------------------------------------------------
// Registry form: the application's profile, one section per part.

namespace {

CString WithBackslash(LPCTSTR key) {
  CString text = key != nullptr ? key : "";
  if (text.IsEmpty() || text[text.GetLength() - 1] != '\\') text += '\\';
  return text;
}

// Reads or writes every value of the three registry sections through one walk, so the two
// directions always visit the same names.
template <class Visit>
BOOL VisitRegistry(SECEditLangConfig* config, const CString& key, Visit&& visit) {
  const CString editor = key + "Editor";
  BOOL ok = TRUE;
  auto step = [&](BOOL result) { ok = ok && result; };
  int tab = config->GetTabSize();
  BOOL indent = config->GetAutoIndent(), show = config->GetShowWhitespace(), virt = config->GetVirtualWhitespace(),
       replace = config->GetReplaceTabs(), match = config->GetMatchCase();
  step(visit.Int(editor, "TabSize", tab) && visit.Int(editor, "AutoIndent", indent) &&
       visit.Int(editor, "ShowWhitespace", show) && visit.Int(editor, "VirtualWhitespace", virt) &&
       visit.Int(editor, "ReplaceTabs", replace) && visit.Int(editor, "MatchCase", match));
  config->SetTabSize(tab);
  config->SetAutoIndent(indent);
  config->SetShowWhitespace(show);
  config->SetVirtualWhitespace(virt);
  config->SetReplaceTabs(replace);
  config->SetMatchCase(match);
  if (!ok) return FALSE;

  for (int index = 0; index < config->GetColorGroupCount() && ok; ++index) {
    SECEditColorInfo* info = config->GetColorInfo(index);
    const CString name = config->GetColorGroupName(index);
    if (name.IsEmpty()) continue;
    const CString section = key + "Color Groups\\" + name;
    int fore = static_cast<int>(info->m_clrFore), back = static_cast<int>(info->m_clrBack);
    step(visit.Int(section, "BackColorAutomatic", info->m_bBackAuto) &&
         visit.Int(section, "ForeColorAutomatic", info->m_bForeAuto) && visit.Int(section, "Background", back) &&
         visit.Int(section, "Foreground", fore) && visit.Int(section, "Configurable", info->m_bConfigurable) &&
         visit.String(section, "DisplayName", info->m_strName));
    info->m_clrFore = static_cast<COLORREF>(fore);
    info->m_clrBack = static_cast<COLORREF>(back);
  }
  if (!ok) return FALSE;

  const CString font = key + "Font";
  CString face = config->GetFontFaceName();
  int size = config->GetFontSize();
  BOOL bold = config->GetFontBold(), italic = config->GetFontItalic();
  step(visit.String(font, "Facename", face) && visit.Int(font, "Size", size) && visit.Int(font, "Bold", bold) &&
       visit.Int(font, "Italic", italic));
  config->SetFontFaceName(face);
  config->SetFontSize(size);
  config->SetFontBold(bold);
  config->SetFontItalic(italic);
  return ok;
}

struct RegistryRead {
  CWinApp* app;
  BOOL Int(LPCTSTR section, LPCTSTR name, int& value) const {
    value = static_cast<int>(app->GetProfileInt(section, name, value));
    return TRUE;
  }
  BOOL String(LPCTSTR section, LPCTSTR name, CString& value) const {
    value = app->GetProfileString(section, name, value);
    return TRUE;
  }
};

struct RegistryWrite {
  CWinApp* app;
  BOOL Int(LPCTSTR section, LPCTSTR name, int& value) const { return app->WriteProfileInt(section, name, value); }
  BOOL String(LPCTSTR section, LPCTSTR name, CString& value) const {
    return app->WriteProfileString(section, name, value);
  }
};

}  // namespace

SECEditLangConfigRegReader::SECEditLangConfigRegReader(LPCTSTR keyName) : m_strKey(WithBackslash(keyName)) {}

BOOL SECEditLangConfigRegReader::Read(SECEditLangConfig* config) {
  CWinApp* app = AfxGetApp();
  if (config == nullptr || app == nullptr) return FALSE;
  if (m_bReset) config->SetDefaults();
  return VisitRegistry(config, m_strKey, RegistryRead{app});
}

SECEditLangConfigRegWriter::SECEditLangConfigRegWriter(LPCTSTR keyName) : m_strKey(WithBackslash(keyName)) {}

BOOL SECEditLangConfigRegWriter::Write(SECEditLangConfig* config) {
  CWinApp* app = AfxGetApp();
  if (config == nullptr || app == nullptr) return FALSE;
  return VisitRegistry(config, m_strKey, RegistryWrite{app});
}

// ---------------------------------------------------------------------------------------------
// Archive form

namespace {

// The fewest bytes a stored colour group and a stored tag entry take, to check counts against
// what the stream still holds before anything is allocated for them.
constexpr ULONGLONG kMinGroupBytes = 2 + 4 * 4 + 1 + 4;
constexpr ULONGLONG kMinTagBytes = 1 + 4;

void StoreBool(CArchive& ar, BOOL value) { ar << static_cast<DWORD>(value); }
BOOL LoadBool(CArchive& ar) {
  DWORD value = 0;
  ar >> value;
  return static_cast<BOOL>(value);
}

}  // namespace

void SECEditLangConfig::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << static_cast<DWORD>(m_colorGroups.GetSize());
    for (INT_PTR i = 0; i < m_colorGroups.GetSize(); ++i) {
      const SECEditColorInfo* info = m_colorGroups[i];
      ar << info->m_wReserved << static_cast<DWORD>(info->m_clrFore) << static_cast<DWORD>(info->m_clrBack);
      StoreBool(ar, info->m_bForeAuto);
      StoreBool(ar, info->m_bBackAuto);
      ar << info->m_strName;
      StoreBool(ar, info->m_bConfigurable);
    }
    ar << static_cast<DWORD>(m_tags.GetCount());
    for (POSITION pos = m_tags.GetStartPosition(); pos != nullptr;) {
      CString key;
      SECEditKeywordInfo* tag = nullptr;
      m_tags.GetNextAssoc(pos, key, tag);
      ar << key;
      StoreBool(ar, tag != nullptr);
      if (tag == nullptr) continue;
      ar << tag->m_strBegin << tag->m_strEnd << tag->m_strEscape << tag->m_wGroup;
      StoreBool(ar, tag->m_bMultiLine);
    }
    for (BOOL flag : {m_bMatchCase, m_bShowWhitespace, m_bReplaceTabs, m_bVirtualWhitespace}) StoreBool(ar, flag);
    ar << static_cast<DWORD>(m_nTabSize);
    StoreBool(ar, m_bAutoIndent);
    ar << m_strFaceName << static_cast<DWORD>(m_nFontSize);
    StoreBool(ar, m_bFontItalic);
    StoreBool(ar, m_bFontBold);
    for (int set = 0; set < 5; ++set) ar << GetCharSetString(set);
    for (const CMapStringToWord* map : {&m_keywords, &m_groupNames}) {
      ar.WriteCount(map->GetCount());
      for (POSITION pos = map->GetStartPosition(); pos != nullptr;) {
        CString key;
        WORD value = 0;
        map->GetNextAssoc(pos, key, value);
        ar << key << value;
      }
    }
    return;
  }

  Clear();
  DWORD groups = 0;
  ar >> groups;
  if (groups > static_cast<DWORD>(kMaxGroups)) AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
  ar.EnsureAvailable(groups * kMinGroupBytes);
  for (DWORD i = 0; i < groups; ++i) {
    auto info = std::make_unique<SECEditColorInfo>();
    DWORD fore = 0, back = 0;
    ar >> info->m_wReserved >> fore >> back;
    info->m_clrFore = fore;
    info->m_clrBack = back;
    info->m_bForeAuto = LoadBool(ar);
    info->m_bBackAuto = LoadBool(ar);
    ar >> info->m_strName;
    info->m_bConfigurable = LoadBool(ar);
    m_colorGroups.Add(info.release());
  }
  DWORD tags = 0;
  ar >> tags;
  ar.EnsureAvailable(static_cast<ULONGLONG>(tags) * kMinTagBytes);
  for (DWORD i = 0; i < tags; ++i) {
    CString key;
    ar >> key;
    std::unique_ptr<SECEditKeywordInfo> tag;
    if (LoadBool(ar)) {
      tag = std::make_unique<SECEditKeywordInfo>();
      ar >> tag->m_strBegin >> tag->m_strEnd >> tag->m_strEscape >> tag->m_wGroup;
      tag->m_bMultiLine = LoadBool(ar);
    }
    SECEditKeywordInfo* old = nullptr;
    if (m_tags.Lookup(key, old)) delete old;
    m_tags.SetAt(key, tag.release());
  }
  for (BOOL* flag : {&m_bMatchCase, &m_bShowWhitespace, &m_bReplaceTabs, &m_bVirtualWhitespace}) *flag = LoadBool(ar);
  DWORD number = 0;
  ar >> number;
  SetTabSize(static_cast<int>(std::min<DWORD>(number, kMaxTabSize)));
  m_bAutoIndent = LoadBool(ar);
  ar >> m_strFaceName >> number;
  m_nFontSize = static_cast<int>(number);
  m_bFontItalic = LoadBool(ar);
  m_bFontBold = LoadBool(ar);
  for (int set = 0; set < 5; ++set) {
    CString chars;
    ar >> chars;
    AddToCharSet(chars, set);
  }
  for (CMapStringToWord* map : {&m_keywords, &m_groupNames}) {
    const DWORD_PTR count = ar.ReadCount();
    for (DWORD_PTR i = 0; i < count; ++i) {
      CString key;
      WORD value = 0;
      ar >> key >> value;
      map->SetAt(key, value);
    }
  }
  RebuildFoldMap();
  RepairGroups();
}

namespace {

// Loads an archive stream into the configuration; a truncated or corrupt stream leaves the
// defaults and answers FALSE.
BOOL LoadArchive(SECEditLangConfig* config, CFile* file) {
  TRY {
    CArchive ar(file, CArchive::load, 4096);
    config->Serialize(ar);
    ar.Close();
    return TRUE;
  }
  CATCH(CArchiveException, e) {}
  AND_CATCH(CFileException, e) {}
  END_CATCH
  config->SetDefaults();
  return FALSE;
}

}  // namespace

BOOL SECEditLangConfigBinReader::Read(SECEditLangConfig* config) {
  if (config == nullptr) return FALSE;
  if (m_bReset) config->SetDefaults();
  CFile file;
  if (!file.Open(m_strPath, CFile::modeRead | CFile::shareDenyWrite)) return FALSE;
  return LoadArchive(config, &file);
}

BOOL SECEditLangConfigResReader::Read(SECEditLangConfig* config) {
  if (config == nullptr) return FALSE;
  const LPCTSTR name = MAKEINTRESOURCE(m_nResourceId);
  HINSTANCE module = AfxFindResourceHandle(name, SECEDIT_LANGCONFIG_RESTYPE);
  HRSRC found = ::FindResource(module, name, SECEDIT_LANGCONFIG_RESTYPE);
  if (found == nullptr) return FALSE;
  HGLOBAL loaded = ::LoadResource(module, found);
  const DWORD size = ::SizeofResource(module, found);
  void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr || size == 0) return FALSE;
  // The memory file only reads: the resource's bytes are never written.
  CMemFile file(static_cast<BYTE*>(bytes), size);
  if (m_bReset) config->SetDefaults();
  return LoadArchive(config, &file);
}

// ---------------------------------------------------------------------------------------------
// Factories

namespace {

SECEditLangConfig::Reader* Compose(SECEditLangConfig::Reader* first, LPCTSTR registryKey) {
  auto* composite = new SECEditLangConfigCompositeReader;
  composite->Add(first);
  first->Release();
  auto* registry = new SECEditLangConfigRegReader(registryKey);
  composite->Add(registry);
  registry->Release();
  return composite;
}

}  // namespace

SECEditLangConfig::Reader* CreateIniRegLangReader(LPCTSTR iniFile, LPCTSTR registryKey) {
  return Compose(new SECEditLangConfigIniReader(iniFile), registryKey);
}

SECEditLangConfig::Reader* CreateResRegLangReader(UINT resourceId, LPCTSTR registryKey) {
  return Compose(new SECEditLangConfigResReader(resourceId), registryKey);
}

SECEditLangConfig::Reader* CreateBinRegLangReader(LPCTSTR file, LPCTSTR registryKey) {
  return Compose(new SECEditLangConfigBinReader(file), registryKey);
}

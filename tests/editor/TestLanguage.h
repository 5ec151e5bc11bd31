// A small language configuration built in a test (keywords, tags, character sets, groups) and
// a scope that makes the editor model find it by name.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "editor/lang/ISECEditLangConfig.h"

namespace editortest {

class TestLanguage : public ISECEditLangConfig {
 public:
  explicit TestLanguage(const char* name) : m_name(name) {
    for (const char* group : {"Text", "Text Selection", "Number", "Operator"}) AddGroup(group);
  }
  ~TestLanguage() {
    for (auto& [begin, tag] : m_tags) delete tag;
    for (INT_PTR i = 0; i < m_groups.GetSize(); ++i) delete m_groups[i];
  }

  WORD AddGroup(const char* name) {
    auto* info = new SECEditColorInfo;
    info->m_strName = name;
    m_groups.Add(info);
    return static_cast<WORD>(m_groups.GetSize() - 1);
  }
  void AddTag(const char* begin, const char* end, const char* escape, WORD group, BOOL multiLine) {
    auto* tag = new SECEditKeywordInfo;
    tag->m_strBegin = begin;
    tag->m_strEnd = end;
    tag->m_strEscape = escape;
    tag->m_wGroup = group;
    tag->m_bMultiLine = multiLine;
    m_tags[begin] = tag;
  }
  void AddKeyword(const char* word, WORD group) { m_keywords[word] = group; }
  void AddChars(const char* chars, int set) {
    for (const char* p = chars; *p != '\0'; ++p) m_sets[set].insert(static_cast<BYTE>(*p));
  }

  // ISubject
  bool QueryGuid(REFGUID, void** out) override {
    *out = nullptr;
    return false;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  void AddObserver(kelpwood::foundation::IObserver* obs) override { observers.push_back(obs); }
  void RemoveObserver(kelpwood::foundation::IObserver* obs) override { std::erase(observers, obs); }
  void UpdateAllObservers(kelpwood::foundation::IObserver* except, kelpwood::foundation::IMessage* msg) override {
    for (auto* obs : std::vector(observers))
      if (obs != except) obs->OnUpdate(this, msg);
  }

  BOOL GetAutoIndent() override { return FALSE; }
  SECEditColorInfo* GetColorInfo(int index) override { return m_groups[index]; }
  int GetColorGroupCount() override { return static_cast<int>(m_groups.GetSize()); }
  SECEditColorInfo* GetStandardColorInfo(int which) override { return m_groups[which]; }
  WORD GetStandardGroupIndex(int which) override { return static_cast<WORD>(which); }
  SECEditColorInfoArray* GetColorInfoArray() override { return &m_groups; }
  BOOL GetFontBold() override { return FALSE; }
  CString GetFontFaceName() override { return "Courier"; }
  BOOL GetFontItalic() override { return FALSE; }
  int GetFontSize() override { return 10; }
  CString GetName() override { return m_name.c_str(); }
  BOOL GetMatchCase() override { return matchCase; }
  BOOL GetReplaceTabs() override { return replaceTabs; }
  BOOL GetShowWhitespace() override { return FALSE; }
  SECEditKeywordInfo* FindTag(LPCTSTR text, int maxLen, int beginLen, int kind) override {
    // The shortest begin tag that starts the text.
    for (int n = 1; n <= maxLen; ++n) {
      auto it = m_tags.find(std::string(text, static_cast<size_t>(n)));
      if (it == m_tags.end()) continue;
      SECEditKeywordInfo* tag = it->second;
      if (beginLen != 0 && tag->m_strBegin.GetLength() != beginLen) return nullptr;
      if (kind == 2 || (kind == 1) == (tag->m_bMultiLine != FALSE)) return tag;
      return nullptr;
    }
    return nullptr;
  }
  void GetTags(SECEditKeywordInfoList& list, int kind) override {
    list.RemoveAll();
    for (auto& [begin, tag] : m_tags)
      if (kind == 2 || (kind == 1) == (tag->m_bMultiLine != FALSE)) list.Add(tag);
  }
  int GetTabSize() override { return tabSize; }
  BOOL GetVirtualWhitespace() override { return FALSE; }
  int ClassifyWord(LPCTSTR text, int len, WORD* group) override {
    std::string word(text, static_cast<size_t>(len));
    for (auto& [keyword, g] : m_keywords) {
      if (keyword == word || (!matchCase && CString(keyword.c_str()).CompareNoCase(word.c_str()) == 0)) {
        *group = g;
        return len;
      }
    }
    return 0;
  }
  BOOL IsInCharSet(UINT code, int set) override { return set >= 0 && set < 5 && m_sets[set].count(code) > 0; }
  void SetAutoIndent(BOOL) override {}
  void SetFontBold(BOOL) override {}
  void SetFontFaceName(LPCTSTR) override {}
  void SetFontItalic(BOOL) override {}
  void SetFontSize(int) override {}
  void SetCharSet(LPCTSTR, int, BOOL) override {}
  void SetName(LPCTSTR name) override { m_name = name; }
  void SetMatchCase(BOOL on) override { matchCase = on; }
  void SetReplaceTabs(BOOL on) override { replaceTabs = on; }
  void SetShowWhitespace(BOOL) override {}
  void SetTabSize(int size) override { tabSize = size; }
  void SetVirtualWhitespace(BOOL) override {}

  int refs = 0;
  BOOL matchCase = TRUE;
  BOOL replaceTabs = FALSE;
  int tabSize = 4;
  std::vector<kelpwood::foundation::IObserver*> observers;

 private:
  std::string m_name;
  SECEditColorInfoArray m_groups;
  std::map<std::string, SECEditKeywordInfo*> m_tags;
  std::map<std::string, WORD> m_keywords;
  std::set<UINT> m_sets[5];
};

// Makes a set of configurations known by name to the editor model for the scope's lifetime.
class LanguageScope {
 public:
  explicit LanguageScope(std::vector<TestLanguage*> languages) {
    s_languages = std::move(languages);
    m_previous = kelpwood::editor::SetLanguageLookup([](LPCTSTR name) -> ISECEditLangConfig* {
      for (TestLanguage* language : s_languages)
        if (language->GetName().CompareNoCase(name) == 0) return language;
      return nullptr;
    });
  }
  ~LanguageScope() {
    kelpwood::editor::SetLanguageLookup(m_previous);
    s_languages.clear();
  }

 private:
  inline static std::vector<TestLanguage*> s_languages;
  kelpwood::editor::LanguageLookup m_previous;
};

// A C-like configuration: block and line comments, strings with escapes, a few keywords.
inline void MakeC(TestLanguage& c) {
  const WORD comment = c.AddGroup("Comment");
  const WORD string = c.AddGroup("String");
  const WORD keyword = c.AddGroup("Keyword");
  c.AddGroup("Highlight");
  c.AddTag("/*", "*/", "", comment, TRUE);
  c.AddTag("//", "", "", comment, FALSE);
  c.AddTag("\"", "\"", "\\", string, FALSE);
  for (const char* word : {"int", "return", "if"}) c.AddKeyword(word, keyword);
  c.AddChars(" \t()[]{};,.+-*/=<>!&|\"'\\", kDelimiters);
  c.AddChars("+-*/=<>!&|;", kOperators);
}

}  // namespace editortest

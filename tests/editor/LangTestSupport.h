// Helpers of the language configuration tests: a full text dump of a configuration, so two
// configurations compare in one assertion, and readers and writers that count their calls.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "editor/lang/SECEditLangConfigStorage.h"

namespace editortest {

// Everything a configuration holds, keywords sorted (map order is not part of the contents).
inline std::string DumpConfig(SECEditLangConfig& c) {
  std::string out;
  auto add = [&](const CString& s) { out.append(static_cast<LPCTSTR>(s), static_cast<size_t>(s.GetLength())); };
  CString line;
  for (int i = 0; i < c.GetColorGroupCount(); ++i) {
    const SECEditColorInfo* g = c.GetColorInfo(i);
    line.Format("group %d [%s] %s fore %06X/%d back %06X/%d conf %d spare %d\n", i, static_cast<LPCTSTR>(c.GetColorGroupName(i)),
                static_cast<LPCTSTR>(g->m_strName), g->m_clrFore, g->m_bForeAuto, g->m_clrBack, g->m_bBackAuto, g->m_bConfigurable,
                g->m_wReserved);
    add(line);
  }
  std::vector<std::string> tags;
  for (POSITION pos = c.GetTagMap().GetStartPosition(); pos != nullptr;) {
    CString key;
    SECEditKeywordInfo* tag = nullptr;
    c.GetTagMap().GetNextAssoc(pos, key, tag);
    if (tag == nullptr)
      line.Format("tag [%s] partial\n", static_cast<LPCTSTR>(key));
    else
      line.Format("tag [%s] [%s] [%s] [%s] group %d multi %d\n", static_cast<LPCTSTR>(key), static_cast<LPCTSTR>(tag->m_strBegin),
                  static_cast<LPCTSTR>(tag->m_strEnd), static_cast<LPCTSTR>(tag->m_strEscape), tag->m_wGroup, tag->m_bMultiLine);
    tags.emplace_back(static_cast<LPCTSTR>(line));
  }
  std::sort(tags.begin(), tags.end());
  for (const std::string& t : tags) out += t;
  line.Format("match %d ws %d tabs %d virtual %d tab %d indent %d font %s %d %d %d\n", c.GetMatchCase(),
              c.GetShowWhitespace(), c.GetReplaceTabs(), c.GetVirtualWhitespace(), c.GetTabSize(), c.GetAutoIndent(),
              static_cast<LPCTSTR>(c.GetFontFaceName()), c.GetFontSize(), c.GetFontItalic(), c.GetFontBold());
  add(line);
  for (int set = 0; set < 5; ++set) {
    line.Format("set %d [%s]\n", set, static_cast<LPCTSTR>(c.GetCharSetString(set)));
    add(line);
  }
  std::vector<std::string> keywords;
  for (POSITION pos = c.GetKeywordMap().GetStartPosition(); pos != nullptr;) {
    CString word;
    WORD group = 0;
    c.GetKeywordMap().GetNextAssoc(pos, word, group);
    keywords.push_back(std::string(static_cast<LPCTSTR>(word)) + "=" + std::to_string(group));
  }
  std::sort(keywords.begin(), keywords.end());
  for (const std::string& k : keywords) out += k + "\n";
  for (int which = 0; which < 4; ++which) out += "standard " + std::to_string(c.GetStandardGroupIndex(which)) + "\n";
  return out;
}

// A reader or writer that records its calls and its deletion.
struct CallLog {
  int reads = 0;
  int writes = 0;
  int deleted = 0;
};

class LoggingReader : public SECEditLangConfigRefCounted<SECEditLangConfig::Reader> {
 public:
  LoggingReader(CallLog* log, BOOL result) : m_log(log), m_result(result) {}
  ~LoggingReader() override { ++m_log->deleted; }
  BOOL Read(SECEditLangConfig* config) override {
    ++m_log->reads;
    config->SetTabSize(7);
    return m_result;
  }

 private:
  CallLog* m_log;
  BOOL m_result;
};

class LoggingWriter : public SECEditLangConfigRefCounted<SECEditLangConfig::Writer> {
 public:
  LoggingWriter(CallLog* log, BOOL result) : m_log(log), m_result(result) {}
  ~LoggingWriter() override { ++m_log->deleted; }
  BOOL Write(SECEditLangConfig*) override {
    ++m_log->writes;
    return m_result;
  }

 private:
  CallLog* m_log;
  BOOL m_result;
};

}  // namespace editortest

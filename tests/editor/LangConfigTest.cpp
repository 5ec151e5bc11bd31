// The language configuration: the manager's build-once lookup and saving, word classification,
// the tag search with its partial matches, character sets and the guards on group indexes.
#include <gtest/gtest.h>

#include "LangTestSupport.h"
#include "editor/model/SECEdit.h"

using editortest::CallLog;
using editortest::LoggingReader;
using editortest::LoggingWriter;

namespace {

struct MessageLog : kelpwood::foundation::IObserver {
  bool QueryGuid(REFGUID, void** out) override {
    *out = nullptr;
    return false;
  }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  void OnUpdate(kelpwood::foundation::ISubject*, kelpwood::foundation::IMessage* msg) override {
    ids.push_back(msg != nullptr ? msg->GetTypeID() : 0);
  }
  std::vector<UINT> ids;
};

SECEditKeywordInfo* MakeTag(const char* begin, const char* end, WORD group, BOOL multiLine) {
  auto* tag = new SECEditKeywordInfo;
  tag->m_strBegin = begin;
  tag->m_strEnd = end;
  tag->m_wGroup = group;
  tag->m_bMultiLine = multiLine;
  return tag;
}

}  // namespace

// A program that never names the manager (no lookup installed by anyone) still gets "Default".
TEST(LangManager, AModelFindsDefaultWhenNothingInstalledALookup) {
  const kelpwood::editor::LanguageLookup previous = kelpwood::editor::SetLanguageLookup(nullptr);
  {
    SECEdit model;
    model.NewDocument();
    EXPECT_NE(model.GetLangConfig(), nullptr);
    EXPECT_TRUE(model.SelectLangConfig("Default"));
  }
  kelpwood::editor::SetLanguageLookup(previous);
}

TEST(LangManager, BuildsOnceSavesBuiltLanguagesAndReleasesReplacedReaders) {
  CallLog first, second, built, unbuilt;
  auto* reader = new LoggingReader(&first, TRUE);
  SECEditLangConfig::RegisterLanguage("LangTest Built", reader, nullptr);
  reader->Release();
  // A second reader under the name releases the first, which goes at count 0.
  reader = new LoggingReader(&second, TRUE);
  SECEditLangConfig::RegisterLanguage("LangTest Built", reader, nullptr);
  reader->Release();
  EXPECT_EQ(first.deleted, 1);
  EXPECT_EQ(second.deleted, 0);

  auto* writer = new LoggingWriter(&built, FALSE);
  SECEditLangConfig::RegisterLanguage("LangTest Built", nullptr, writer);
  writer->Release();
  reader = new LoggingReader(&unbuilt, TRUE);
  writer = new LoggingWriter(&unbuilt, TRUE);
  SECEditLangConfig::RegisterLanguage("LangTest Unbuilt", reader, writer);
  reader->Release();
  writer->Release();

  SECEditLangConfig* config = SECEditLangConfig::GetLanguage("LangTest Built");
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(SECEditLangConfig::GetLanguage("LangTest Built"), config);
  EXPECT_EQ(second.reads, 1);
  EXPECT_EQ(config->GetName(), "LangTest Built");
  EXPECT_EQ(config->GetTabSize(), 7);
  EXPECT_EQ(SECEditLangConfig::GetLanguage("LangTest Unknown"), nullptr);

  // "Default" exists from the start, has no writer, and is what the editor model finds.
  SECEditLangConfig* def = SECEditLangConfig::GetLanguage("Default");
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(kelpwood::editor::FindLanguage("Default"), def);
  EXPECT_FALSE(SECEditLangConfig::SaveLanguage("Default"));

  // A null name writes only what was built: the unbuilt language's writer never runs.
  EXPECT_FALSE(SECEditLangConfig::SaveLanguage(nullptr));
  EXPECT_EQ(built.writes, 1);
  EXPECT_EQ(unbuilt.writes, 0);
  EXPECT_FALSE(SECEditLangConfig::SaveLanguage("LangTest Unbuilt"));
  EXPECT_EQ(unbuilt.reads, 0);
}

TEST(LangConfig, DefaultsAreFourStandardGroupsInWindowColours) {
  SECEditLangConfig c;
  ASSERT_EQ(c.GetColorGroupCount(), 4);
  const char* names[] = {"Text", "Text Selection", "Number", "Operator"};
  for (int which = 0; which < 4; ++which) {
    EXPECT_EQ(c.GetStandardGroupIndex(which), which);
    EXPECT_EQ(c.GetColorGroupName(which), names[which]);
    EXPECT_EQ(c.GetStandardColorInfo(which)->m_bConfigurable, which < 2) << names[which];
  }
  EXPECT_EQ(c.GetColorInfo(1)->m_clrFore, c.GetColorInfo(0)->m_clrBack);
  EXPECT_EQ(c.GetTabSize(), 4);
  EXPECT_EQ(c.GetFontFaceName(), "Courier");
  EXPECT_EQ(c.GetFontSize(), 10);
  // An index from a corrupt file never reaches past the groups.
  EXPECT_EQ(c.GetColorInfo(4), c.GetColorInfo(0));
  EXPECT_EQ(c.GetColorInfo(-1), c.GetColorInfo(0));
  {
    brambolt::ScopedCodePage chinese(936);
    SECEditLangConfig dbcs;
    EXPECT_EQ(dbcs.GetFontFaceName(), "FixedSys");
    EXPECT_EQ(dbcs.GetFontSize(), 12);
  }
}

TEST(LangConfig, ClassifyWordByKeywordFoldedCaseAndNumber) {
  SECEditLangConfig c;
  auto* info = new SECEditColorInfo;
  const WORD keyword = static_cast<WORD>(c.AddColorGroup("Keyword", info));
  c.SetKeyword("if", keyword);
  c.SetKeyword("While", keyword);
  c.RebuildFoldMap();
  struct Case {
    const char* text;
    int len;
    BOOL matchCase;
    int expected;
    WORD group;
  };
  const Case cases[] = {
      {"IF", 2, FALSE, 2, keyword}, {"IF", 2, TRUE, 0, 0},       {"if(x)", 2, TRUE, 2, keyword},
      {"while", 5, FALSE, 5, keyword}, {"0x1F", 4, TRUE, 4, 2},  {"a1", 2, FALSE, 0, 0},
      {"", 0, FALSE, 0, 0},
  };
  for (const Case& k : cases) {
    c.SetMatchCase(k.matchCase);
    WORD group = 99;
    EXPECT_EQ(c.ClassifyWord(k.text, k.len, &group), k.expected) << k.text;
    if (k.expected != 0) {
      EXPECT_EQ(group, k.group) << k.text;
    }
  }
}

TEST(LangConfig, FindTagFollowsPartialMatchesAndKinds) {
  SECEditLangConfig c;
  SECEditKeywordInfo* line = MakeTag("//", "", 0, FALSE);
  SECEditKeywordInfo* block = MakeTag("/*", "*/", 0, TRUE);
  c.RegisterTag(line);
  c.RegisterTag(block);
  struct Case {
    const char* text;
    int maxLen, beginLen, kind;
    SECEditKeywordInfo* expected;
  };
  const Case cases[] = {
      {"/* x", 4, 0, 2, block}, {"// x", 4, 0, 2, line},  {"/ x", 3, 0, 2, nullptr}, {"/", 1, 0, 2, nullptr},
      {"/* x", 4, 0, 1, block}, {"/* x", 4, 0, 0, nullptr}, {"// x", 4, 0, 0, line}, {"// x", 4, 0, 3, nullptr},
      {"/* x", 4, 3, 2, nullptr}, {"/* x", 4, 2, 2, block}, {"x", 1, 0, 2, nullptr}, {"/*", 1, 0, 2, nullptr},
  };
  for (const Case& k : cases)
    EXPECT_EQ(c.FindTag(k.text, k.maxLen, k.beginLen, k.kind), k.expected) << k.text << " kind " << k.kind;

  SECEditKeywordInfoList list;
  c.GetTags(list, 2);
  EXPECT_EQ(list.GetSize(), 2);
  c.GetTags(list, 1);
  ASSERT_EQ(list.GetSize(), 1);
  EXPECT_EQ(list[0], block);
  c.GetTags(list, 3);
  EXPECT_EQ(list.GetSize(), 0);

  // A longer tag deletes a shorter one stored under one of its prefixes.
  c.RegisterTag(MakeTag("<", ">", 0, FALSE));
  c.RegisterTag(MakeTag("<!--", "-->", 0, TRUE));
  EXPECT_EQ(c.FindTag("<p>", 3, 0, 2), nullptr);
  ASSERT_NE(c.FindTag("<!-- c", 6, 0, 2), nullptr);
  EXPECT_EQ(c.FindTag("<!-- c", 6, 0, 2)->m_strEnd, "-->");
}

TEST(LangConfig, CharacterSetsTakeCodesBelow65535AndNotify) {
  SECEditLangConfig c;
  MessageLog log;
  c.AddObserver(&log);
  c.SetCharSet("+-", kOperators, FALSE);
  c.SetCharSet("*", kOperators, FALSE);
  EXPECT_EQ(c.GetCharSetString(kOperators), "*+-");
  c.SetCharSet("/", kOperators, TRUE);
  EXPECT_EQ(c.GetCharSetString(kOperators), "/");
  EXPECT_EQ(log.ids, (std::vector<UINT>{SECEDIT_MSG_LANGUAGE, SECEDIT_MSG_LANGUAGE, SECEDIT_MSG_LANGUAGE}));
  EXPECT_FALSE(c.IsInCharSet('/', 5));
  EXPECT_FALSE(c.IsInCharSet(70000, kOperators));
  c.RemoveObserver(&log);

  // Double-byte characters are one code each, stored lead byte first.
  brambolt::ScopedCodePage chinese(936);
  c.SetCharSet("\xA1\xA2x", kDelimiters, TRUE);
  EXPECT_TRUE(c.IsInCharSet(0xA1A2, kDelimiters));
  EXPECT_FALSE(c.IsInCharSet(0xA1, kDelimiters));
  EXPECT_EQ(c.GetCharSetString(kDelimiters), "x\xA1\xA2");
  EXPECT_EQ(log.ids.size(), 3U);
}

TEST(LangConfig, RepairGroupsRestoresStandardGroupsAndClampsIndexes) {
  SECEditLangConfig c;
  c.Clear();
  auto* only = new SECEditColorInfo;
  c.AddColorGroup("Number", only);
  c.SetKeyword("int", 9);
  c.RegisterTag(MakeTag("#", "", 12, FALSE));
  c.RepairGroups();
  ASSERT_EQ(c.GetColorGroupCount(), 4);
  EXPECT_EQ(c.GetStandardGroupIndex(kGroupNumber), 0);
  EXPECT_EQ(c.GetColorGroupName(c.GetStandardGroupIndex(kGroupText)), "Text");
  EXPECT_EQ(c.GetColorGroupName(c.GetStandardGroupIndex(kGroupOperator)), "Operator");
  WORD group = 99;
  EXPECT_EQ(c.ClassifyWord("int", 3, &group), 3);
  EXPECT_EQ(group, 0);
  EXPECT_EQ(c.FindTag("#x", 2, 0, 2)->m_wGroup, 0);
}

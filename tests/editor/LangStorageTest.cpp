// Language configuration storage: the built-in resource, round trips through the INI, registry
// and archive forms, the INI reading rules, and corrupt archive files that fall back to defaults.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "LangTestSupport.h"
#include "afx/CWinApp.h"
#include "base/CodePage.h"
#include "core/CArchive.h"
#include "core/CMemFile.h"
#include "res/Resources.h"
#include "testing/UiTest.h"

using editortest::DumpConfig;

namespace {

class LangStorageTest : public ::testing::Test {
 protected:
  LangStorageTest() { app.SetRegistryKey("Lang Storage Test"); }

  std::string TempPath(const char* name) const { return stores.TempDir() + "/" + name; }
  std::string WriteFile(const char* name, const std::string& bytes) const {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The built-in C/C++ configuration, as the resource reader loads it.
  static void LoadBuiltIn(SECEditLangConfig& c) {
    SECEditLangConfigResReader reader(SECEDIT_LANGCONFIG_RESID);
    ASSERT_TRUE(reader.Read(&c));
  }
  static std::string Store(SECEditLangConfig& c) {
    CMemFile file;
    {
      CArchive ar(&file, CArchive::store);
      c.Serialize(ar);
    }
    const auto size = static_cast<size_t>(file.GetLength());
    std::string bytes(size, '\0');
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(size));
    return bytes;
  }

  brambolt::test::PrivateStores stores;
  CWinApp app{"Lang Storage Test"};
};

TEST_F(LangStorageTest, BuiltInResourceHoldsTheCConfiguration) {
  HRSRC found = ::FindResource(nullptr, MAKEINTRESOURCE(SECEDIT_LANGCONFIG_RESID), SECEDIT_LANGCONFIG_RESTYPE);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(::SizeofResource(nullptr, found), 1200U);

  SECEditLangConfig c;
  LoadBuiltIn(c);
  ASSERT_EQ(c.GetColorGroupCount(), 7);
  EXPECT_EQ(c.GetColorGroupName(5), "Keyword");
  EXPECT_EQ(c.GetColorInfo(5)->m_clrFore, 0xFF0000U);
  EXPECT_FALSE(c.GetColorInfo(4)->m_bForeAuto);
  EXPECT_EQ(c.GetTagMap().GetCount(), 5);
  EXPECT_EQ(c.GetKeywordMap().GetCount(), 79);
  EXPECT_TRUE(c.GetAutoIndent());
  EXPECT_EQ(c.GetCharSetString(kDelimiters), "!\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~");
  EXPECT_EQ(c.GetCharSetString(kOperators), "!%&()*+,-./:;<=>?[]^{|}~");
  WORD group = 0;
  EXPECT_EQ(c.ClassifyWord("#include", 8, &group), 8);
  EXPECT_EQ(group, 5);
  ASSERT_NE(c.FindTag("/* x", 4, 0, 1), nullptr);

  // Stored again, the stream is the resource byte for byte, and loads to the same configuration.
  const std::string bytes = Store(c);
  EXPECT_EQ(bytes, std::string(static_cast<const char*>(::LockResource(::LoadResource(nullptr, found))), 1200));
  SECEditLangConfigBinReader reader(WriteFile("c.lcf", bytes).c_str());
  SECEditLangConfig again;
  EXPECT_TRUE(reader.Read(&again));
  EXPECT_EQ(DumpConfig(again), DumpConfig(c));
}

TEST_F(LangStorageTest, IniAndRegistryRoundTripsKeepEverything) {
  SECEditLangConfig c;
  LoadBuiltIn(c);
  c.SetShowWhitespace(TRUE);
  c.SetFontBold(TRUE);
  c.GetColorInfo(6)->m_clrFore = RGB(1, 2, 3);
  c.GetColorInfo(6)->m_bForeAuto = FALSE;
  const std::string ini = TempPath("c.ini");
  SECEditLangConfigIniWriter iniWriter(ini.c_str());
  ASSERT_TRUE(iniWriter.Write(&c));
  SECEditLangConfig fromIni;
  SECEditLangConfigIniReader iniReader(ini.c_str());
  ASSERT_TRUE(iniReader.Read(&fromIni));
  EXPECT_EQ(DumpConfig(fromIni), DumpConfig(c));
  EXPECT_NE(ReadFile(ini).find("FaceName=Courier"), std::string::npos);

  // The registry keeps the adjustable part: options, groups and font.
  SECEditLangConfigRegWriter regWriter("Round");
  ASSERT_TRUE(regWriter.Write(&c));
  EXPECT_EQ(app.GetProfileString("Round\\Font", "Facename"), "Courier");
  EXPECT_EQ(app.GetProfileInt("Round\\Color Groups\\String", "Foreground", 0), RGB(1, 2, 3));
  SECEditLangConfig fromRegistry;
  LoadBuiltIn(fromRegistry);
  SECEditLangConfigRegReader regReader("Round\\");
  ASSERT_TRUE(regReader.Read(&fromRegistry));
  EXPECT_EQ(DumpConfig(fromRegistry), DumpConfig(c));
}

TEST_F(LangStorageTest, IniReadingRules) {
  const std::string ini = WriteFile("rules.ini",
                                    "[ColorGroups]\nNumGroups=2\nGroup1=\nGroup2=Keyword\n"
                                    "[Keyword]\nForeground=255\nBackground=1,2,3\nBackColorAutomatic=1\n"
                                    "[Parser]\nNumTags=2\nOperators=+-\n"
                                    "[Tag1]\nColorGroup=Nowhere\nBeginTag=//\n"
                                    "[Tag2]\nColorGroup=Keyword\nBeginTag=\"\nEndTag=\"\nEscapeChar=\\\n"
                                    "[Keywords]\n  while  =  Keyword  \nfor=Missing\nbroken line\n=Keyword\n"
                                    "[Editor]\nTabSize=8\n");
  SECEditLangConfig c;
  SECEditLangConfigIniReader reader(ini.c_str());
  ASSERT_TRUE(reader.Read(&c));
  ASSERT_EQ(c.GetColorGroupCount(), 5);
  const int keyword = c.FindColorGroup("Keyword");
  ASSERT_EQ(keyword, 4);
  const SECEditColorInfo* info = c.GetColorInfo(keyword);
  EXPECT_EQ(info->m_clrFore, RGB(255, 0, 0));
  EXPECT_FALSE(info->m_bForeAuto);
  EXPECT_EQ(info->m_clrBack, RGB(1, 2, 3));
  EXPECT_TRUE(info->m_bBackAuto);
  EXPECT_EQ(info->m_strName, "Keyword");
  EXPECT_EQ(c.GetKeywordMap().GetCount(), 1);
  WORD group = 0;
  EXPECT_EQ(c.ClassifyWord("while", 5, &group), 5);
  EXPECT_EQ(group, keyword);
  EXPECT_EQ(c.FindTag("// x", 4, 0, 2)->m_wGroup, 0);
  EXPECT_EQ(c.FindTag("\"s\"", 3, 0, 2)->m_strEscape, "\\");
  EXPECT_EQ(c.GetCharSetString(kOperators), "+-");
  EXPECT_EQ(c.GetTabSize(), 8);
  EXPECT_TRUE(c.GetMatchCase());

  // A missing file reads every default and still succeeds.
  SECEditLangConfig missing;
  SECEditLangConfigIniReader none(TempPath("none.ini").c_str());
  EXPECT_TRUE(none.Read(&missing));
  EXPECT_EQ(DumpConfig(missing), DumpConfig(*std::make_unique<SECEditLangConfig>()));
}

TEST_F(LangStorageTest, LargeKeywordSectionIsReadWhole) {
  std::string text = "[ColorGroups]\nNumGroups=1\nGroup1=Keyword\n[Keywords]\n";
  for (int i = 0; i < 4000; ++i) text += "keyword_number_" + std::to_string(i) + "=Keyword\n";
  SECEditLangConfig c;
  SECEditLangConfigIniReader reader(WriteFile("big.ini", text).c_str());
  ASSERT_TRUE(reader.Read(&c));
  EXPECT_EQ(c.GetKeywordMap().GetCount(), 4000);
}

TEST_F(LangStorageTest, RegistryOverridesIniButNeverAddsGroups) {
  const std::string ini = WriteFile("lang.ini",
                                    "[ColorGroups]\nNumGroups=1\nGroup1=Comment\n"
                                    "[Comment]\nForeground=0,128,0\n[Editor]\nTabSize=2\n");
  app.WriteProfileInt("Mine\\Editor", "TabSize", 6);
  app.WriteProfileInt("Mine\\Color Groups\\Comment", "Foreground", static_cast<int>(RGB(9, 9, 9)));
  app.WriteProfileInt("Mine\\Color Groups\\Extra", "Foreground", 1);
  SECEditLangConfig::Reader* reader = CreateIniRegLangReader(ini.c_str(), "Mine");
  SECEditLangConfig c;
  c.SetKeyword("stale", 0);
  EXPECT_TRUE(reader->Read(&c));
  reader->Release();
  EXPECT_EQ(c.GetTabSize(), 6);
  EXPECT_EQ(c.GetColorInfo(c.FindColorGroup("Comment"))->m_clrFore, RGB(9, 9, 9));
  EXPECT_EQ(c.FindColorGroup("Extra"), -1);
  EXPECT_EQ(c.GetKeywordMap().GetCount(), 0);
}

// Truncated streams, huge counts and group indexes past the groups: the reader answers FALSE and
// leaves the defaults; an index past the groups is sent to group 0. The registry still applies.
TEST_F(LangStorageTest, CorruptArchiveFilesFallBackToDefaults) {
  SECEditLangConfig built;
  LoadBuiltIn(built);
  const std::string good = Store(built);
  const std::string defaults = DumpConfig(*std::make_unique<SECEditLangConfig>());

  for (size_t cut : {size_t{0}, size_t{3}, size_t{40}, size_t{250}, size_t{700}, good.size() - 1}) {
    SECEditLangConfig c;
    SECEditLangConfigBinReader reader(WriteFile("cut.lcf", good.substr(0, cut)).c_str());
    EXPECT_FALSE(reader.Read(&c)) << cut;
    EXPECT_EQ(DumpConfig(c), defaults) << cut;
  }
  std::string huge = good;
  huge.replace(0, 4, std::string("\x60\xEA\x00\x00", 4));
  std::string manyGroups = good;
  manyGroups.replace(0, 4, std::string("\x70\x11\x01\x00", 4));
  for (const std::string& bytes : {huge, manyGroups}) {
    SECEditLangConfig c;
    SECEditLangConfigBinReader reader(WriteFile("huge.lcf", bytes).c_str());
    EXPECT_FALSE(reader.Read(&c));
    EXPECT_EQ(DumpConfig(c), defaults);
  }

  // A keyword whose group index (last WORD of the keyword map) points past the seven groups.
  SECEditLangConfig bad;
  LoadBuiltIn(bad);
  bad.SetKeyword("zz", 200);
  SECEditLangConfig c;
  SECEditLangConfigBinReader reader(WriteFile("index.lcf", Store(bad)).c_str());
  EXPECT_TRUE(reader.Read(&c));
  WORD group = 99;
  EXPECT_EQ(c.ClassifyWord("zz", 2, &group), 2);
  EXPECT_EQ(group, 0);

  // A missing archive keeps the defaults; the registry reader of the composite still runs.
  app.WriteProfileInt("Broken\\Editor", "TabSize", 3);
  SECEditLangConfig::Reader* composite = CreateBinRegLangReader(TempPath("missing.lcf").c_str(), "Broken");
  SECEditLangConfig fallback;
  EXPECT_FALSE(composite->Read(&fallback));
  composite->Release();
  EXPECT_EQ(fallback.GetColorGroupCount(), 4);
  EXPECT_EQ(fallback.GetTabSize(), 3);
}

// Damaged values cost no more than the file holds: a huge tag count ends at the first tag that
// is missing, and a huge tab size is cut to the editor's range in every form.
TEST_F(LangStorageTest, HugeCountsAndTabSizesAreBounded) {
  SECEditLangConfig c;
  SECEditLangConfigIniReader reader(WriteFile("huge.ini",
                                              "[Parser]\nNumTags=2000000000\n[Tag1]\nBeginTag=//\n[Tag3]\nBeginTag=#\n"
                                              "[Editor]\nTabSize=1000000000\n")
                                        .c_str());
  ASSERT_TRUE(reader.Read(&c));
  EXPECT_NE(c.FindTag("// x", 4, 0, 2), nullptr);
  EXPECT_EQ(c.FindTag("# x", 3, 0, 2), nullptr) << "after the missing second tag";
  EXPECT_EQ(c.GetTabSize(), SECEditLangConfig::kMaxTabSize);

  app.WriteProfileInt("Huge\\Editor", "TabSize", -5);
  SECEditLangConfigRegReader regReader("Huge\\");
  ASSERT_TRUE(regReader.Read(&c));
  EXPECT_EQ(c.GetTabSize(), 1);

  // The archive holds the tab size as a 32-bit number after the four option flags.
  SECEditLangConfig built;
  LoadBuiltIn(built);
  built.SetTabSize(7);
  std::string bytes = Store(built);
  const std::string seven("\x07\x00\x00\x00", 4);
  const size_t at = bytes.rfind(seven, bytes.find("Courier"));
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, 4, std::string("\xFF\xFF\xFF\x7F", 4));
  SECEditLangConfig fromArchive;
  SECEditLangConfigBinReader binReader(WriteFile("tab.lcf", bytes).c_str());
  ASSERT_TRUE(binReader.Read(&fromArchive));
  EXPECT_EQ(fromArchive.GetTabSize(), SECEditLangConfig::kMaxTabSize);
}

// The stored form of a character set reads back to the same set whatever bytes it was read from,
// in a double-byte code page too: a lead byte without its trail is no member.
TEST_F(LangStorageTest, CharacterSetsReadBackTheSameAfterEverySave) {
  brambolt::ScopedCodePage page(936);
  SECEditLangConfig c;
  SECEditLangConfigIniReader reader(WriteFile("dbcs.ini", "[Parser]\nDelimiters=(\xB0\xA1\xA1\n").c_str());
  ASSERT_TRUE(reader.Read(&c));
  const CString first = c.GetCharSetString(kDelimiters);
  EXPECT_EQ(first, "(\xB0\xA1");
  for (int save = 0; save < 2; ++save) {
    const std::string ini = TempPath("saved.ini");
    std::filesystem::remove(ini);
    SECEditLangConfigIniWriter writer(ini.c_str());
    ASSERT_TRUE(writer.Write(&c));
    SECEditLangConfig again;
    SECEditLangConfigIniReader back(ini.c_str());
    ASSERT_TRUE(back.Read(&again));
    EXPECT_EQ(again.GetCharSetString(kDelimiters), first) << "save " << save;
    SECEditLangConfig fromArchive;
    SECEditLangConfigBinReader binReader(WriteFile("dbcs.lcf", Store(again)).c_str());
    ASSERT_TRUE(binReader.Read(&fromArchive));
    EXPECT_EQ(fromArchive.GetCharSetString(kDelimiters), first) << "save " << save;
  }
}

// The hand-written language files of the program load with their groups, tags and keywords.
TEST_F(LangStorageTest, DocSysLanguageFilesLoad) {
  const std::filesystem::path docsys = std::filesystem::path(BRAMBOLT_TEST_DATA_DIR) / "../../DocSys";
  struct Case {
    const char* file;
    const char* keyword;
    BOOL matchCase;
    const char* comment;
  };
  const Case cases[] = {{"JScript.ini", "function", TRUE, "// c"},
                        {"VBScript.ini", "ELSEIF", FALSE, "' c"},
                        {"HTML.ini", "TABLE", FALSE, "<!-- c"},
                        {"idl.ini", "dispinterface", TRUE, "/* c"}};
  for (const Case& k : cases) {
    SECEditLangConfig c;
    SECEditLangConfigIniReader reader((docsys / k.file).string().c_str());
    ASSERT_TRUE(reader.Read(&c)) << k.file;
    EXPECT_EQ(c.GetMatchCase(), k.matchCase) << k.file;
    WORD group = 0;
    EXPECT_GT(c.ClassifyWord(k.keyword, static_cast<int>(strlen(k.keyword)), &group), 0) << k.file;
    EXPECT_EQ(c.GetColorGroupName(group), "Keyword") << k.file;
    SECEditKeywordInfo* comment = c.FindTag(k.comment, static_cast<int>(strlen(k.comment)), 0, 2);
    ASSERT_NE(comment, nullptr) << k.file;
    EXPECT_EQ(c.GetColorGroupName(comment->m_wGroup), "Comment") << k.file;
    EXPECT_GT(c.GetKeywordMap().GetCount(), 40) << k.file;
  }
}

}  // namespace

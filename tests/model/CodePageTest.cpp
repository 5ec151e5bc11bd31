// Headers written in code page 1252 (French, German), GB2312, Big5 and UTF-8, documented in the
// three languages: each header's code page is decided once, from all its text, and its pages are
// compared byte for byte with the expected pages under tests/data/docs/codepage
// (BRAMBOLT_UPDATE_GOLDEN=1 rewrites them from the output).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "base/Convert.h"
#include "model/AFBig2GBObj.h"
#include "model/CFileObj.h"
#include "model/CWorkSpaceObj.h"
#include "model/ModelIds.h"
#include "DocTestSupport.h"
#include "ModelTestSupport.h"

namespace {

namespace fs = std::filesystem;

fs::path Fixtures() { return doc_test::GoldenRoot() / "codepage"; }

// A project whose "Header Files" holds the fixture headers, analysed in a project of the language,
// with a title and a description in code page 1252.
struct FixtureProject {
  model_test::TempFolder folder;
  model_test::TablesShell shell;
  CWorkSpaceObj project;
  CString strFolder;

  explicit FixtureProject(int nProjectLanguage) {
    for (const auto& entry : fs::directory_iterator(Fixtures() / "headers"))
      folder.Write("Header Files/" + entry.path().filename().string(), doc_test::ReadFile(entry.path()));
    strFolder = CString(folder.Path().c_str()) + "/";
    project.m_nOutputLanguage = nProjectLanguage;
    project.m_strProjectTitle = "Biblioth\xE8que des fen\xEAtres";
    project.m_strDescription = "Classes cr\xE9\xE9" "es \xE0 Paris, Berlin, P\xE9kin et Taipei.";
    project.AnalyseProjectFiles(strFolder + "Header Files\\*.*");
  }

  const CFileObj& Class(const char* lpszName) const {
    const CFileObj* pClass = project.FindClassByName(lpszName);
    EXPECT_NE(pClass, nullptr) << lpszName;
    static const CFileObj none;
    return pClass != nullptr ? *pClass : none;
  }

  // The pages that carry the headers' text: the index, each class page and one member page of
  // each class.
  std::map<std::string, std::string> WrittenPages(int nLanguage) {
    project.GeneratePages(nLanguage, strFolder + "Htmls\\", nullptr);
    static const char* const kPages[] = {
        "Index.htm",
        "CFenetre/CFenetre.htm",     "CFenetre/Member Functions/Creer.htm",
        "CFenster/CFenster.htm",     "CFenster/Member Functions/Hoehe.htm",
        "CChuangKou/CChuangKou.htm", "CChuangKou/Member Functions/Open.htm",
        "CShiChuang/CShiChuang.htm", "CShiChuang/Member Functions/Open.htm",
        "CUnicode/CUnicode.htm",     "CUnicode/Member Functions/Open.htm",
        "CMixed/CMixed.htm",         "CMixed/Member Functions/Resize.htm",
        "CShortGb/CShortGb.htm",     "CShortGb/Member Functions/Show.htm",
        "CShortBig5/CShortBig5.htm", "CShortBig5/Member Functions/Show.htm"};
    std::map<std::string, std::string> pages;
    for (const char* lpszPage : kPages) pages[lpszPage] = folder.Read(std::string("Htmls/") + lpszPage);
    return pages;
  }
};

struct LanguageCase {
  int nLanguage;
  const char* name;
};

void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.name; }

class CodePagePages : public ::testing::TestWithParam<LanguageCase> {};

// The pages of a language are the same whatever the project's language: where a header cannot
// tell its code page and the project's language chose, its text goes to the pages as it is.
TEST_P(CodePagePages, MatchTheExpectedPagesByteForByte) {
  for (const int nProjectLanguage : {LANGUAGE_CHS, LANGUAGE_CHT, LANGUAGE_ENG}) {
    SCOPED_TRACE("project language " + std::to_string(nProjectLanguage));
    FixtureProject p(nProjectLanguage);
    doc_test::ExpectGolden(p.WrittenPages(GetParam().nLanguage), std::string("codepage/") + GetParam().name);
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, CodePagePages,
                         ::testing::Values(LanguageCase{LANGUAGE_CHS, "chs"}, LanguageCase{LANGUAGE_CHT, "cht"},
                                           LanguageCase{LANGUAGE_ENG, "eng"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Each header's code page as the analyser decided it for the whole file, in projects of each
// language: its text decides when it can; a few characters that read in both Chinese code pages
// alike leave it to the project's language, as a reading that is not certain.
TEST(CodePage, IsDecidedOnceForTheWholeHeader) {
  const struct {
    const char* lpszClass;
    UINT nCodePage;  // 0: the project's
  } cases[] = {{"CFenetre", 1252},   {"CFenster", 1252}, {"CChuangKou", 936}, {"CShiChuang", 950},
               {"CUnicode", CP_UTF8}, {"CMixed", 936},   {"CShortGb", 0},     {"CShortBig5", 0}};
  const struct {
    int nLanguage;
    UINT nCodePage;
  } projects[] = {{LANGUAGE_CHS, 936}, {LANGUAGE_CHT, 950}, {LANGUAGE_ENG, 1252}};
  for (const auto& project : projects) {
    FixtureProject p(project.nLanguage);
    for (const auto& c : cases) {
      const TextCodePage& codePage = p.Class(c.lpszClass).m_codePage;
      const std::string what = std::string(c.lpszClass) + " in a project of " + std::to_string(project.nLanguage);
      EXPECT_EQ(codePage.nCodePage, c.nCodePage != 0 ? c.nCodePage : project.nCodePage) << what;
      EXPECT_EQ(codePage.bCertain, c.nCodePage != 0) << what;
    }
  }
}

// Texts of each kind alone, as the whole text of a file, in projects of each code page: the
// accented letters of code page 1252 are no Chinese, and a few Chinese characters that read in both
// code pages alike are left to the project, not certain.
TEST(CodePage, IsReadFromAllTheTextWhereItCanTell) {
  const std::string big5Words = brambolt::Utf8ToCodePage("視窗 關閉 參數 隱藏 網路", 950);
  const std::string gbLong = brambolt::Utf8ToCodePage("返回窗口的宽度，以像素为单位。", 936);
  const std::string big5Long = brambolt::Utf8ToCodePage("傳回視窗的寬度，以像素為單位。", 950);
  const struct {
    std::string text;
    UINT nProject;
    UINT nCodePage;
    bool bCertain;
  } cases[] = {
      {"H\xF6he", 936, 1252, true},
      {"Schlie\xDFt", 950, 1252, true},
      {"r\xE9\xE9lu par d\xE9" "faut", 936, 1252, true},
      {"Cr\xE9" "e la fen\xEAtre principale", 950, 1252, true},
      {brambolt::Utf8ToCodePage("参见①", 936), 936, 936, false},
      {brambolt::Utf8ToCodePage("见①", 936), 950, 950, false},
      {brambolt::Utf8ToCodePage("α", 936), 936, 936, false},
      {brambolt::Utf8ToCodePage("ā", 936), 950, 950, false},
      {big5Words, 936, 936, false},
      {big5Words, 950, 950, false},
      {gbLong, 950, 936, true},
      {big5Long, 936, 950, true},
      {"Fen\xC3\xAAtre \xE7\xAA\x97\xE5\x8F\xA3", 936, CP_UTF8, true},
      {"plain", 950, 0, true},
      {"\x81\x81", 936, 0, false},  // reads in none
  };
  for (const auto& c : cases) {
    const TextCodePage codePage = AFBig2GBObj::CodePageOfText(c.text.c_str(), c.nProject);
    EXPECT_EQ(codePage.nCodePage, c.nCodePage) << c.text << " in a project of " << c.nProject;
    EXPECT_EQ(codePage.bCertain, c.bCertain) << c.text << " in a project of " << c.nProject;
  }
}

}  // namespace

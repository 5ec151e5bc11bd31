// The documentation pages: golden trees in the three languages, member selection by the run's
// options, file names, escaping, links to bases, the index variants, failed classes and stopping.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <set>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "base/Convert.h"
#include "model/DocOutput.h"
#include "model/ModelIds.h"
#include "model/CFileObj.h"
#include "model/CWorkSpaceObj.h"
#include "model/DocumentationProgress.h"
#include "DocTestSupport.h"
#include "ModelTestSupport.h"

using doc_test::ReadTree;
using doc_test::ShapesProject;
using model_test::S;

namespace {

namespace fs = std::filesystem;

std::string Htmls(const ShapesProject& p) { return p.folder.Path() + "/Htmls/"; }

// Writes the pages of a language into "<project>/Htmls/" and returns the failed-class count.
int Generate(ShapesProject& p, int nLanguage, DocumentationProgress* pProgress = nullptr) {
  return p.project.GeneratePages(nLanguage, p.strProjectFolder + "Htmls\\", pProgress);
}

std::string Page(const ShapesProject& p, const std::string& relative) { return p.folder.Read("Htmls/" + relative); }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

struct GoldenCase {
  int nLanguage;
  const char* name;
};

// Short test names: ctest keeps properties only for names it can quote.
void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

class DocGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(DocGolden, PagesMatchByteForByte) {
  ShapesProject p;
  EXPECT_EQ(Generate(p, GetParam().nLanguage), 0);
  doc_test::ExpectGolden(ReadTree(Htmls(p), {".htm"}), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Languages, DocGolden,
                         ::testing::Values(GoldenCase{LANGUAGE_ENG, "eng"}, GoldenCase{LANGUAGE_CHS, "chs"},
                                           GoldenCase{LANGUAGE_CHT, "cht"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DocPages, EveryLineEndsInCarriageReturnLineFeed) {
  ShapesProject p;
  Generate(p, LANGUAGE_ENG);
  for (const auto& [path, bytes] : ReadTree(Htmls(p), {".htm"})) {
    EXPECT_EQ(Count(bytes, "\n"), Count(bytes, "\r\n")) << path;
    EXPECT_GT(Count(bytes, "\r\n"), 5) << path;
  }
}

// The attributes of each link and anchor tag ("<a ...>") of a page as a markup checker reads them,
// name and value; a value that is not quoted, or an attribute without one, is reported as a failure.
std::vector<std::vector<std::pair<std::string, std::string>>> AnchorTags(const std::string& page,
                                                                        const std::string& where) {
  std::vector<std::vector<std::pair<std::string, std::string>>> tags;
  for (size_t at = 0; (at = page.find('<', at)) != std::string::npos; ++at) {
    if (at + 2 >= page.size() || (page[at + 1] != 'a' && page[at + 1] != 'A') || page[at + 2] != ' ') continue;
    const size_t end = page.find('>', at);
    const std::string tag = page.substr(at, end - at + 1);
    auto& attributes = tags.emplace_back();
    for (size_t i = 2; i < tag.size();) {
      while (i < tag.size() && tag[i] == ' ') ++i;
      if (tag[i] == '>') break;
      const size_t nameEnd = tag.find_first_of("= >", i);
      const std::string name = tag.substr(i, nameEnd - i);
      if (tag[nameEnd] != '=' || tag[nameEnd + 1] != '"') {
        ADD_FAILURE() << where << ": the attribute " << name << " has no quoted value in " << tag;
        break;
      }
      const size_t valueEnd = tag.find('"', nameEnd + 2);
      attributes.emplace_back(name, tag.substr(nameEnd + 2, valueEnd - nameEnd - 2));
      i = valueEnd + 1;
    }
  }
  return tags;
}

// Every page in every language as a markup checker and a link checker read it, for a project
// without a home page or an e-mail address and a member whose name holds a blank: each attribute of
// a link or anchor has a quoted value, no link has an empty target, and each member page's anchor
// holds the whole name.
TEST(DocPages, EveryLinkAndAnchorIsQuotedAndNoLinkIsEmpty) {
  for (int nLanguage : {LANGUAGE_ENG, LANGUAGE_CHS, LANGUAGE_CHT}) {
    SCOPED_TRACE(nLanguage);
    ShapesProject p("class TPair\n{\npublic:\n    void* operator new(size_t n);\n    int Size() const;\n};\n");
    p.project.m_strHomePage.Empty();
    p.project.m_strEmail.Empty();
    Generate(p, nLanguage);
    std::set<std::string> anchors;
    for (const auto& [path, page] : ReadTree(Htmls(p), {".htm"})) {
      for (const auto& attributes : AnchorTags(page, path))
        for (const auto& [name, value] : attributes) {
          if (name == "href") {
            EXPECT_FALSE(value.empty()) << path << " links to nowhere";
          }
          if ((name == "name" || name == "NAME") && path.find("Member Functions") != std::string::npos)
            anchors.insert(value);
        }
    }
    EXPECT_EQ(anchors, (std::set<std::string>{"TPair__operator new", "TPair__Size"}));
    if (nLanguage == LANGUAGE_ENG) {
      EXPECT_TRUE(Contains(Page(p, "Index.htm"), "Home page:,E-Mail:"));
    }
  }
}

// The project's home page and e-mail address on the index page, shown as the project holds them:
// the address links to a mail to it, whether it was typed alone or after the scheme the
// new-project wizard offers; the wizard's offered text alone is no address and gets no link.
TEST(DocPages, TheIndexPageLinksTheHomePageAndAMailToTheAddress) {
  const struct {
    const char* lpszHomePage;
    const char* lpszEmail;
    const char* lpszLine;
  } cases[] = {
      {"http://example.org/", "mail@example.org",
       ":<a href=\"http://example.org/\">http://example.org/</a>,E-Mail:<a href=\"mailto:mail@example.org\">"
       "mail@example.org</a></font></b></p>"},
      {"https://example.org/", "mailto:ann@example.org",
       ":<a href=\"https://example.org/\">https://example.org/</a>,E-Mail:<a href=\"mailto:ann@example.org\">"
       "mailto:ann@example.org</a></font></b></p>"},
      {"", "MailTo:ann@example.org",
       ":,E-Mail:<a href=\"MailTo:ann@example.org\">MailTo:ann@example.org</a></font></b></p>"},
      {"http://", "mailto:", ":,E-Mail:</font></b></p>"},
  };
  for (int nLanguage : {LANGUAGE_ENG, LANGUAGE_CHS})
    for (const auto& c : cases) {
      SCOPED_TRACE(std::to_string(nLanguage) + " " + c.lpszHomePage + " " + c.lpszEmail);
      ShapesProject p;
      p.project.m_strHomePage = c.lpszHomePage;
      p.project.m_strEmail = c.lpszEmail;
      Generate(p, nLanguage);
      EXPECT_TRUE(Contains(Page(p, "Index.htm"), c.lpszLine)) << Page(p, "Index.htm");
    }
}

TEST(DocPages, TreeHoldsIndexChartBitmapsAndAPagePerDocumentedMember) {
  ShapesProject p;
  DocumentationProgress progress;
  Generate(p, LANGUAGE_ENG, &progress);
  for (const char* path : {"Index.htm", "Hierarchy_Chart.htm", "Image2/A_Hierarchy_Chart.bmp", "Image2/CShape.bmp",
                           "Image2/CCircle.bmp", "CShape/CShape.htm", "CShape/Member Vars/m_values.htm",
                           "CShape/Member Functions/Draw.htm", "CShape/Member Functions/Draw(0).htm",
                           "CCircle/CCircle.htm", "CCircle/Member Functions/GetRadius.htm"})
    EXPECT_TRUE(p.folder.Exists(std::string("Htmls/") + path)) << path;
  // 2 + 2 class pages + CShape's 7 functions and 4 variables + CCircle's 2 functions and 1 variable.
  EXPECT_EQ(progress.GetPageCount(), 18);
  EXPECT_EQ(progress.GetBitmapCount(), 3);
}

TEST(DocPages, OverloadsGetPagesOfTheirOwnAndEntriesLinkToThem) {
  ShapesProject p;
  Generate(p, LANGUAGE_ENG);
  const std::string page = Page(p, "CShape/CShape.htm");
  EXPECT_TRUE(Contains(page, "<a href=\"Member Functions/Draw.htm\">Draw</a>"));
  EXPECT_TRUE(Contains(page, "<a href=\"Member Functions/Draw(0).htm\">Draw</a>"));
  EXPECT_TRUE(Contains(Page(p, "CShape/Member Functions/Draw(0).htm"), "<title>Draw(0)</title>"));
}

struct OptionCase {
  const char* what;
  BOOL bPublicFunctions, bProtectedFunctions, bPrivateFunctions;
  BOOL bPublicVariables, bProtectedVariables, bPrivateVariables;
  std::vector<std::string> present, absent;
};

void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.what; }

class DocOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(DocOptions, OnlyDocumentedMembersAreListedAndGetPages) {
  const OptionCase& c = GetParam();
  ShapesProject p;
  p.project.m_bDocPublicFunctions = c.bPublicFunctions;
  p.project.m_bDocProtectedFunctions = c.bProtectedFunctions;
  p.project.m_bDocPrivateFunctions = c.bPrivateFunctions;
  p.project.m_bDocPublicVariables = c.bPublicVariables;
  p.project.m_bDocProtectedVariables = c.bProtectedVariables;
  p.project.m_bDocPrivateVariables = c.bPrivateVariables;
  Generate(p, LANGUAGE_ENG);
  const std::string page = Page(p, "CShape/CShape.htm");
  for (const std::string& name : c.present) {
    EXPECT_TRUE(p.folder.Exists("Htmls/CShape/" + name)) << name;
    EXPECT_TRUE(Contains(page, "href=\"" + name + "\"")) << name;
  }
  for (const std::string& name : c.absent) {
    EXPECT_FALSE(p.folder.Exists("Htmls/CShape/" + name)) << name;
    EXPECT_FALSE(Contains(page, "href=\"" + name + "\"")) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Access, DocOptions,
    ::testing::Values(
        OptionCase{"PublicVariablesOnly", FALSE, FALSE, FALSE, TRUE, FALSE, FALSE,
                   {"Member Vars/m_strName.htm"},
                   {"Member Functions/Draw.htm", "Member Vars/m_rect.htm", "Member Vars/m_values.htm"}},
        OptionCase{"PrivateFunctionsOnly", FALSE, FALSE, TRUE, FALSE, FALSE, FALSE,
                   {"Member Functions/SetName.htm"},
                   {"Member Functions/Draw.htm", "Member Functions/GetCount.htm", "Member Vars/m_strName.htm"}},
        OptionCase{"EverythingButProtected", TRUE, FALSE, TRUE, TRUE, FALSE, TRUE,
                   {"Member Functions/Draw.htm", "Member Vars/m_values.htm"},
                   {"Member Vars/m_rect.htm", "Member Vars/m_nCount.htm"}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(DocPages, AccessHeadingsAppearOnlyForSectionsThatHaveMembers) {
  ShapesProject p("class CHidden\n{\nprivate:\n    void Run();\n};\n");
  Generate(p, LANGUAGE_ENG);
  const std::string page = Page(p, "CHidden/CHidden.htm");
  EXPECT_TRUE(Contains(page, "> private</font></h4>"));
  EXPECT_FALSE(Contains(page, "> public</font></h4>"));
  EXPECT_FALSE(Contains(page, "> protected</font></h4>"));
}

TEST(DocPages, StaticVariablePageCarriesTheStaticSentenceOnce) {
  ShapesProject p;
  Generate(p, LANGUAGE_ENG);
  EXPECT_EQ(Count(Page(p, "CShape/Member Vars/m_nCount.htm"), "This member is also a static member."), 1);
  EXPECT_EQ(Count(Page(p, "CShape/Member Vars/m_rect.htm"), "static member"), 0);
}

TEST(DocPages, ProjectTextsAreEscapedWhileTheFixedMarkupStays) {
  ShapesProject p;
  Generate(p, LANGUAGE_ENG);
  const std::string page = Page(p, "CShape/CShape.htm");
  EXPECT_TRUE(Contains(page, "<b><font face=\"verdana,arial,helvetica\" size=\"2\">CArray&lt;int,int&gt;</font></b>"));
  const std::string index = Page(p, "Index.htm");
  EXPECT_TRUE(Contains(index, "<title>Shapes &amp; Lines</title>"));
  EXPECT_TRUE(Contains(index, "<p>Classes &lt;of&gt; the drawing.</p>"));
}

TEST(DocPages, QualifiedAndOperatorNamesMakeNoSeparatorsInPaths) {
  CString strName = "A::B;C/E\\F";
  CFileObj::FixFileName(strName);
  EXPECT_EQ(S(strName), "A B C E F");

  ShapesProject p("class CVec\n{\npublic:\n    CVec operator/(int n);\n};\n");
  Generate(p, LANGUAGE_ENG);
  EXPECT_TRUE(p.folder.Exists("Htmls/CVec/Member Functions/operator .htm"));
  EXPECT_TRUE(Contains(Page(p, "CVec/CVec.htm"), "<a href=\"Member Functions/operator .htm\">operator/</a>"));
}

TEST(DocPages, GeneratedNamesHoldNoCharacterTheHelpCompilerOrAPlatformRefuses) {
  struct Case {
    const char* name;
    const char* fixed;
  };
  const Case cases[] = {{"operator=", "operator@3D"},
                        {"operator==", "operator@3D@3D"},
                        {"operator|", "operator@7C"},
                        {"operator*", "operator@2A"},
                        {"CList<CWnd*>", "CList@3CCWnd@2A@3E"},
                        {"a?\"b:#%@", "a@3F@22b@3A@23@25@40"},
                        {"tab\there", "tab@09here"},
                        {"operator&", "operator@26"}};
  for (const Case& c : cases) {
    CString strName = c.name;
    CFileObj::FixFileName(strName);
    EXPECT_EQ(S(strName), c.fixed) << c.name;
  }
  ShapesProject p(
      "class CBox\n{\npublic:\n    CBox& operator=(const CBox& o);\n    BOOL operator==(const CBox& o);\n"
      "    int operator%(int n);\n};\n");
  Generate(p, LANGUAGE_ENG);
  for (const auto& entry : fs::recursive_directory_iterator(Htmls(p))) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(name.find_first_of("=*?\"<>|:#%"), std::string::npos) << name;
  }
  const std::string page = Page(p, "CBox/CBox.htm");
  for (const char* href : {"operator@3D.htm", "operator@3D@3D.htm", "operator@25.htm"}) {
    EXPECT_TRUE(Contains(page, std::string("<a href=\"Member Functions/") + href)) << href;
    EXPECT_TRUE(p.folder.Exists(std::string("Htmls/CBox/Member Functions/") + href)) << href;
  }
}

TEST(DocPages, ClassesNamedDotAndDotDotGetFoldersOfTheirOwnInsideHtmls) {
  ShapesProject p;
  for (const char* name : {".", ".."}) {
    auto* pClass = new CFileObj;
    pClass->m_strClassName = name;
    pClass->m_strHeaderFile = "Dots.h";
    p.project.m_FileObjList.AddTail(pClass);
  }
  EXPECT_EQ(Generate(p, LANGUAGE_ENG), 0);
  EXPECT_TRUE(p.folder.Exists("Htmls/@2E/@2E.htm"));
  EXPECT_TRUE(p.folder.Exists("Htmls/@2E@2E/@2E@2E.htm"));
  EXPECT_TRUE(p.folder.Exists("Htmls/Image2/@2E.bmp"));
  EXPECT_FALSE(p.folder.Exists("Htmls/..htm"));
  EXPECT_FALSE(p.folder.Exists("...htm"));
  EXPECT_TRUE(Contains(Page(p, "Index.htm"), "<a href=\"@2E@2E/@2E@2E.htm\">..</a>"));
}

// A class defined twice in one header (under different conditions) and classes of equal
// descendant counts: the explorer's class trees built any number of times before, and runs in
// two languages, list the classes in one order and give the two definitions the same pages.
TEST(DocPages, AClassDefinedTwiceKeepsItsPageNamesAndTheClassesTheirOrderAtEveryRun) {
  ShapesProject p(
      "#if USE_STD\nclass wxArrayString : public wxBase\n{\npublic:\n    void FromStd();\n};\n#else\n"
      "class wxArrayString\n{\npublic:\n    void Own();\n};\n#endif\n"
      "class wxSorted : public wxArrayString\n{\n};\nclass wxLone\n{\n};\nclass wxOther\n{\n};\n");
  // The page of each class (by its first member function) and the index's links in order.
  auto run = [&p](int nLanguage, int nBuilds) {
    for (int i = 0; i < nBuilds; ++i) p.project.BuildRootClassList();
    Generate(p, nLanguage);
    std::set<std::string> pages;
    for (POSITION pos = p.project.m_FileObjList.GetHeadPosition(); pos != nullptr;) {
      const CFileObj* pClass = p.project.m_FileObjList.GetNext(pos);
      const CMemberFunctionObj* pFirst =
          pClass->m_MemberFunctionList.IsEmpty() ? nullptr : pClass->m_MemberFunctionList.GetHead();
      pages.insert(S(pClass->FileName()) + (pFirst != nullptr ? " " + S(pFirst->m_strName) : ""));
    }
    const std::string index = Page(p, "Index.htm");
    std::vector<std::string> links;
    for (size_t at = index.find("<a href=\""); at != std::string::npos; at = index.find("<a href=\"", at + 1))
      if (const std::string link = index.substr(at + 9, index.find('"', at + 9) - at - 9);
          link.find('/') != std::string::npos && link.rfind("http", 0) != 0)
        links.push_back(link);
    return std::make_pair(pages, links);
  };
  const auto english = run(LANGUAGE_ENG, 0);
  EXPECT_EQ(english.first,
            (std::set<std::string>{"wxArrayString FromStd", "wxArrayString(0) Own", "wxSorted", "wxLone", "wxOther"}));
  const std::vector<std::string> order = {"wxArrayString/wxArrayString.htm", "wxArrayString(0)/wxArrayString(0).htm",
                                          "wxSorted/wxSorted.htm", "wxLone/wxLone.htm", "wxOther/wxOther.htm"};
  EXPECT_EQ(english.second, order);
  for (int nBuilds : {1, 2, 3}) {
    const auto chinese = run(LANGUAGE_CHS, nBuilds);
    EXPECT_EQ(chinese.first, english.first) << nBuilds << " builds";
    EXPECT_EQ(chinese.second, english.second) << nBuilds << " builds";
    const auto again = run(LANGUAGE_ENG, nBuilds);
    EXPECT_EQ(again.first, english.first) << nBuilds << " builds";
    EXPECT_EQ(again.second, english.second) << nBuilds << " builds";
  }
}

TEST(DocPages, NamesDifferingOnlyInCaseKeepPagesOfTheirOwn) {
  ShapesProject p(
      "class CItem\n{\npublic:\n    int Size();\n    int size();\n    int m_n;\n    int m_N;\n};\n"
      "class CITEM : public CItem\n{\npublic:\n    int m_x;\n};\n");
  Generate(p, LANGUAGE_ENG);
  const CFileObj* pItem = p.project.FindClassByName("CItem");
  ASSERT_NE(pItem, nullptr);
  EXPECT_TRUE(pItem->ContainsFunction("size(0)"));
  EXPECT_TRUE(pItem->ContainsVariable("m_N(0)"));
  EXPECT_TRUE(pItem->ContainsFunction("SIZE"));
  EXPECT_TRUE(p.folder.Exists("Htmls/CItem/Member Functions/Size.htm"));
  EXPECT_TRUE(p.folder.Exists("Htmls/CItem/Member Functions/size(0).htm"));
  EXPECT_TRUE(p.folder.Exists("Htmls/CItem/Member Vars/m_N(0).htm"));
  EXPECT_TRUE(Contains(Page(p, "CItem/Member Functions/size(0).htm"), "size"));
  // The second class takes a name of its own, and the links to both resolve.
  EXPECT_TRUE(Contains(Page(p, "CItem/CItem.htm"), "<a name=\"CItem\">"));
  EXPECT_TRUE(Contains(Page(p, "CITEM(0)/CITEM(0).htm"), "<a name=\"CITEM\">"));
  EXPECT_TRUE(Contains(Page(p, "CITEM(0)/CITEM(0).htm"), "<a href=\"../CItem/CItem.htm\">CItem</a>"));
  const std::string index = Page(p, "Index.htm");
  EXPECT_TRUE(Contains(index, "<a href=\"CItem/CItem.htm\">"));
  EXPECT_TRUE(Contains(index, "<a href=\"CITEM(0)/CITEM(0).htm\">"));
  EXPECT_TRUE(p.folder.Exists("Htmls/Image2/CITEM(0).bmp"));
}

TEST(DocPages, Utf8CommentsAreWrittenInThePagesCodePage) {
  // "returns the width" in simplified Chinese, a check mark no Chinese page has, and a comment
  // in GB2312 bytes ("width"). The file is UTF-8, and its line of GB2312 (as if pasted from
  // another file) reads as GB2312: each is converted into every page.
  const std::string header = "class CBox\n{\npublic:\n    // \xE8\xBF\x94\xE5\x9B\x9E\xE5\xAE\xBD\xE5\xBA\xA6 \xE2\x9C\x93 <ok>\n"
                             "    int GetWidth();\n    // \xBF\xED\xB6\xC8\n    int m_nWidth;\n};\n";
  struct Case {
    int nLanguage;
    std::string function;  // the function's comment as the class page shows it
    std::string variable;  // the variable's
  };
  const Case cases[] = {{LANGUAGE_CHS, "\xB7\xB5\xBB\xD8\xBF\xED\xB6\xC8 &#10003; &lt;ok&gt;", "\xBF\xED\xB6\xC8"},
                        {LANGUAGE_CHT, "\xAA\xF0\xA6\x5E&#23485;\xAB\xD7 &#10003; &lt;ok&gt;", "&#23485;\xAB\xD7"},
                        {LANGUAGE_ENG, "&#36820;&#22238;&#23485;&#24230; &#10003; &lt;ok&gt;", "&#23485;&#24230;"}};
  for (const Case& c : cases) {
    ShapesProject p(header.c_str());
    Generate(p, c.nLanguage);
    const std::string page = Page(p, "CBox/CBox.htm");
    EXPECT_TRUE(Contains(page, c.function)) << c.nLanguage;
    EXPECT_TRUE(Contains(page, " " + c.variable)) << c.nLanguage;
  }
}

std::string InCodePage(const char* utf8, UINT codePage) { return brambolt::Utf8ToCodePage(utf8, codePage); }

std::string References(const char* utf8) {
  std::string out;
  for (char32_t ch : brambolt::AnsiToUnicode(utf8, CP_UTF8))
    out += "&#" + std::to_string(static_cast<unsigned long>(ch)) + ";";
  return out;
}

// A project whose header comments, default arguments, title and description are in GB2312, or
// in Big5 (the title and description typed in a program of that code page), documented in every
// language: each page holds them in the code page it declares, converted through the program's
// tables between the two.
TEST(DocPages, ProjectTextInEitherCodePageIsWrittenInTheCodePageOfThePage) {
  const struct Text {
    const char* simplified;
    const char* traditional;
  } comment{"功能：检查许可证", "功能：檢查許可證"}, argument{"许可", "許可"}, title{"许可证管理", "許可證管理"},
      description{"检查许可证。", "檢查許可證。"}, missing{"硷", "龘"};  // a character the other lacks
  model_test::TablesShell shell;
  for (const UINT source : {936u, 950u}) {
    brambolt::ScopedCodePage programCodePage(source);
    auto in = [&](const Text& t) { return InCodePage(source == 936 ? t.simplified : t.traditional, source); };
    const std::string header = "class CLicense\n{\npublic:\n    // " + in(comment) + in(missing) +
                               "\n    BOOL Check(LPCTSTR name = \"" + in(argument) + "\");\n    void " + in(argument) +
                               "();\n};\n";
    for (const int nLanguage : {LANGUAGE_CHS, LANGUAGE_CHT, LANGUAGE_ENG}) {
      ShapesProject p(header.c_str());
      p.project.m_strProjectTitle = in(title).c_str();
      p.project.m_strDescription = in(description).c_str();
      Generate(p, nLanguage);
      auto out = [&](const Text& t) {
        return nLanguage == LANGUAGE_CHS   ? InCodePage(t.simplified, 936)
               : nLanguage == LANGUAGE_CHT ? InCodePage(t.traditional, 950)
                                           : References(source == 936 ? t.simplified : t.traditional);
      };
      const std::string classPage = Page(p, "CLicense/CLicense.htm");
      const std::string functionPage = Page(p, "CLicense/Member Functions/Check.htm");
      const std::string index = Page(p, "Index.htm");
      const std::string what = std::to_string(source) + " into " + std::to_string(nLanguage);
      EXPECT_TRUE(Contains(classPage, out(comment))) << what;
      // Written as itself where the page's code page lacks it.
      const bool bOwnCodePage = (source == 936) == (nLanguage == LANGUAGE_CHS) && nLanguage != LANGUAGE_ENG;
      EXPECT_TRUE(Contains(
          classPage, bOwnCodePage ? in(missing) : References(source == 936 ? missing.simplified : missing.traditional)))
          << what;
      EXPECT_TRUE(Contains(classPage, out(argument))) << what;
      EXPECT_TRUE(Contains(functionPage, out(comment))) << what;
      EXPECT_TRUE(Contains(functionPage, out(argument))) << what;
      EXPECT_TRUE(Contains(index, "<title>" + out(title) + "</title>")) << what;
      EXPECT_TRUE(Contains(index, out(description))) << what;
      // The anchors of the class's and the member's pages name them as the pages show them.
      std::string anchors;
      for (const auto& entry : fs::directory_iterator(fs::path(p.folder.Path()) / "Htmls/CLicense/Member Functions"))
        anchors += doc_test::ReadFile(entry.path());
      EXPECT_TRUE(Contains(anchors, "name=\"CLicense__" + out(argument) + "\"")) << what;
    }
  }
}

TEST(DocPages, ClassPageNamesABaseOutsideTheProjectWithoutALink) {
  ShapesProject p;
  Generate(p, LANGUAGE_ENG);
  EXPECT_TRUE(Contains(Page(p, "CShape/CShape.htm"), "<P><B>CObject</P></B>\r\n"));
  EXPECT_TRUE(Contains(Page(p, "CCircle/CCircle.htm"), "<P><B><a href=\"../CShape/CShape.htm\">CShape</a></P></B>\r\n"));
}

TEST(DocPages, ClassWithoutBaseGetsTheConstructorSentenceAndAOneBoxDiagram) {
  ShapesProject p("class CAlone\n{\npublic:\n    int m_n;\n};\n");
  Generate(p, LANGUAGE_ENG);
  const std::string page = Page(p, "CAlone/CAlone.htm");
  EXPECT_TRUE(Contains(page, "<p><b>class CAlone</b></p> \r\n"));
  EXPECT_TRUE(Contains(page, "To use a CAlone object, just call the constructor."));
  const CFileObj* pClass = p.project.FindClassByName("CAlone");
  ASSERT_NE(pClass, nullptr);
  EXPECT_EQ(pClass->m_nBitmapWidth, pClass->m_nBoxWidth + 20);
  EXPECT_EQ(pClass->m_nBitmapHeight, 50);
}

struct IndexCase {
  int nLanguage;
  std::string expected;
};

void PrintTo(const IndexCase& c, std::ostream* os) { *os << c.nLanguage; }

class DocIndexTitle : public ::testing::TestWithParam<IndexCase> {};

TEST_P(DocIndexTitle, EmptyTitleGivesTheLanguagesStandInHeading) {
  ShapesProject p;
  p.project.m_strProjectTitle.Empty();
  Generate(p, GetParam().nLanguage);
  EXPECT_TRUE(Contains(Page(p, "Index.htm"), GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, DocIndexTitle,
    ::testing::Values(IndexCase{LANGUAGE_ENG, "</a>Welcome to our world!.</font></h1> \r\n"},
                      IndexCase{LANGUAGE_CHT, "<h1><a name=\"secbrowseeditbase\"></a>Help Title</h1> \r\n"},
                      IndexCase{LANGUAGE_CHS, "<h1><a name=\"secbrowseeditbase\"></a>\xB1\xEA\xCC\xE2\xCE\xC4\xB1\xBE</h1>"}),
    [](const auto& info) { return std::to_string(info.param.nLanguage); });

TEST(DocPages, EmptyProjectWritesIndexChartAndNoClassFolders) {
  model_test::TempFolder folder;
  CWorkSpaceObj project;
  const CString strFolder = CString(folder.Path().c_str()) + "/Out/Htmls\\";
  EXPECT_EQ(project.GenerateEnglishPages(strFolder, nullptr), 0);
  const auto pages = ReadTree(folder.Path() + "/Out/Htmls", {".htm", ".bmp"});
  std::vector<std::string> names;
  for (const auto& page : pages) names.push_back(page.first);
  EXPECT_EQ(names, (std::vector<std::string>{"Hierarchy_Chart.htm", "Image2/A_Hierarchy_Chart.bmp", "Index.htm"}));
  EXPECT_TRUE(Contains(pages.at("Index.htm"), "  <tbody>\r\n  </tbody>\r\n"));
}

TEST(DocPages, AncestorChainHoldsEachNameOnceThroughALoopOfBases) {
  ShapesProject p("class A : public B\n{\n};\nclass B : public A\n{\n};\n");
  p.project.PrepareClassDiagrams(nullptr);
  const CFileObj* pA = p.project.FindClassByName("A");
  ASSERT_NE(pA, nullptr);
  EXPECT_EQ(pA->m_AncestorList.GetCount(), 2);
  EXPECT_EQ(S(pA->m_AncestorList.GetHead()), "A");
  EXPECT_EQ(S(pA->m_AncestorList.GetTail()), "B");
}

// Blocks the creation of one class's page by putting a file where its folder belongs.
TEST(DocPages, AClassWhosePageFailsIsSkippedAndCounted) {
  ShapesProject p;
  p.folder.Write("Htmls/CShape", "not a folder");
  EXPECT_EQ(Generate(p, LANGUAGE_ENG), 1);
  EXPECT_TRUE(p.folder.Exists("Htmls/CCircle/CCircle.htm"));
  EXPECT_TRUE(p.folder.Exists("Htmls/CCircle/Member Functions/GetRadius.htm"));
}

// Stops the run from inside, as the dialog's cancel does, once the given number of pages exist.
class StopAfter : public DocumentationProgress {
 public:
  explicit StopAfter(int nPages) : m_nPages(nPages) {}
  void PageWritten(const CString& strPath) override {
    DocumentationProgress::PageWritten(strPath);
    if (GetPageCount() == m_nPages) RequestStop();
  }
  void SetCaption(const CString& strText) override { captions.push_back(S(strText)); }
  std::vector<std::string> captions;

 private:
  int m_nPages;
};

TEST(DocPages, StoppingAfterNPagesWritesNoFurtherPage) {
  doc_test::ScopedDocumentationThreads oneThread(1);  // a page in hand on another thread would be finished
  for (int n : {1, 3, 7}) {
    ShapesProject p;
    StopAfter progress(n);
    Generate(p, LANGUAGE_ENG, &progress);
    EXPECT_EQ(ReadTree(Htmls(p), {".htm"}).size(), static_cast<size_t>(n)) << n;
  }
}

TEST(DocPages, EnglishRunNamesItsStepsAndEachPageInTheCaption) {
  doc_test::ScopedDocumentationThreads oneThread(1);  // the captions in the order of one writer
  ShapesProject p;
  StopAfter progress(1000);
  Generate(p, LANGUAGE_ENG, &progress);
  const auto& c = progress.captions;
  ASSERT_GE(c.size(), 6u);
  EXPECT_EQ(c[0], "Loading - CShape");
  EXPECT_NE(std::find(c.begin(), c.end(), "Creating class Hierarchy..."), c.end());
  EXPECT_NE(std::find(c.begin(), c.end(), "Creating chart html file..."), c.end());
  EXPECT_NE(std::find(c.begin(), c.end(), "CCircle.htm"), c.end());
  EXPECT_NE(std::find(c.begin(), c.end(), "Draw(0).htm"), c.end());
}

TEST(DocPages, PathUtilitiesSplitAtBackslashesAndColons) {
  EXPECT_EQ(CFileObj::FindExtension("C:\\dir.x\\name.cpp"), 13);
  EXPECT_EQ(CFileObj::FindExtension("C:\\dir.x\\name"), 13);
  EXPECT_EQ(S(CFileObj::GetFileExtension("a\\b.txt")), "txt");
  EXPECT_EQ(S(CFileObj::GetFileExtension("a.b\\c")), "");
  EXPECT_EQ(S(CFileObj::GetFileExtension("")), "");
  EXPECT_EQ(CFileObj::FindFileNamePos("C:name"), 2);
  EXPECT_EQ(CFileObj::FindFileNamePos("name"), 0);
  struct {
    const char* path;
    BOOL bKeep;
    const char* expected;
  } cases[] = {{"C:\\a\\b.h", FALSE, "C:\\a"}, {"C:\\a\\b.h", TRUE, "C:\\a\\"}, {"C:\\b.h", FALSE, "C:\\"},
               {"\\b.h", FALSE, "\\"},         {"C:b.h", FALSE, "C:"},        {"b.h", TRUE, ".\\"},
               {"b.h", FALSE, "."},            {"", TRUE, ""}};
  for (const auto& c : cases) EXPECT_EQ(S(CFileObj::GetFolderPart(c.path, c.bKeep)), c.expected) << c.path;
}

TEST(DocPages, DefaultTextsFollowTheFirstMatchingKey) {
  ShapesProject p;
  const CFileObj* pShape = p.project.FindClassByName("CShape");
  ASSERT_NE(pShape, nullptr);
  PageText stream;
  for (POSITION pos = pShape->m_VariableList.GetHeadPosition(); pos != nullptr;)
    pShape->WriteEnglishVariableDefault(stream, pShape->m_VariableList.GetNext(pos));
  for (POSITION pos = pShape->m_MemberFunctionList.GetHeadPosition(); pos != nullptr;)
    pShape->WriteEnglishFunctionDefault(stream, pShape->m_MemberFunctionList.GetNext(pos));
  const std::string text = stream.bytes();
  EXPECT_TRUE(Contains(text, "This member sets a CString value."));    // CString m_strName
  EXPECT_TRUE(Contains(text, "This member sets a CRect value."));      // CRect m_rect
  EXPECT_TRUE(Contains(text, "This member sets an int value."));       // CArray<int,int>
  EXPECT_TRUE(Contains(text, "Constructs a CShape object."));          // CShape()
  EXPECT_TRUE(Contains(text, "Destructor of class CShape"));           // ~CShape()
  EXPECT_TRUE(Contains(text, "Sets a specify value to current class CShape"));  // SetName
  EXPECT_TRUE(Contains(text, "Tests the specified state of the object."));      // IsEmpty
}

TEST(DocPages, ClassFoldersAreMadeOnceAndAnExistingOneIsLeftAlone) {
  ShapesProject p;
  const CFileObj* pShape = p.project.FindClassByName("CShape");
  ASSERT_NE(pShape, nullptr);
  const CString strFolder = CString(p.folder.Path().c_str()) + "/H\\";
  pShape->CreateClassFolders(strFolder);
  EXPECT_TRUE(p.folder.Exists("H/CShape/Member Vars"));
  EXPECT_TRUE(p.folder.Exists("H/CShape/Member Functions"));
  fs::remove(p.folder.Path() + "/H/CShape/Member Vars");
  pShape->CreateClassFolders(strFolder);
  EXPECT_FALSE(p.folder.Exists("H/CShape/Member Vars"));
}

TEST(DocPages, HasNoAndContainsLookAtAccessAndUniqueNames) {
  ShapesProject p;
  const CFileObj* pCircle = p.project.FindClassByName("CCircle");
  ASSERT_NE(pCircle, nullptr);
  EXPECT_FALSE(pCircle->HasNoPublicFunctions());
  EXPECT_TRUE(pCircle->HasNoProtectedFunctions());
  EXPECT_TRUE(pCircle->HasNoPrivateFunctions());
  EXPECT_FALSE(pCircle->HasNoProtectedVariables());
  EXPECT_TRUE(pCircle->HasNoPublicVariables());
  EXPECT_TRUE(pCircle->HasNoPrivateVariables());
  const CFileObj* pShape = p.project.FindClassByName("CShape");
  EXPECT_TRUE(pShape->ContainsFunction("Draw(0)"));
  EXPECT_FALSE(pShape->ContainsFunction("Draw(1)"));
  EXPECT_TRUE(pShape->ContainsVariable("m_rect"));
  EXPECT_FALSE(pShape->ContainsVariable("Draw"));
}

}  // namespace

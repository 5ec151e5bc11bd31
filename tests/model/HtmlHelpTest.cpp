// The HTML Help writer: the project, contents and index files per language (golden), which pages
// and folders they take, the command's defaults and checks, and the shell's compile of the project.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "base/CodePage.h"
#include "base/Convert.h"
#include "model/CGenHtmlHelpClass.h"
#include "model/CWorkSpaceObj.h"
#include "model/DocumentationRun.h"
#include "os/FileFaults.h"
#include "os/Process.h"
#include "os/Shell.h"
#include "DocTestSupport.h"
#include "ModelTestSupport.h"

using doc_test::ShapesProject;
using model_test::RecordingShell;
using model_test::S;
using model_test::TempFolder;

namespace {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A shell that knows the project and has the conversion tables; the association of ".hhp" is
// the test's to choose.
struct HelpShell : RecordingShell {
  HelpShell(CWorkSpaceObj& project, const CString& strFolder, const char* lpszName = "Shapes") {
    m_pWorkSpace = &project;
    m_strFolder = strFolder;
    m_strName = lpszName;
  }
  ~HelpShell() override { brambolt::ResetShellAssociations(); }
  const BYTE* GetGBToBig5Table() override { return model_test::TablesShell::Table("GBTOBIG"); }
  const BYTE* GetBig5ToGBTable() override { return model_test::TablesShell::Table("BIGTOGB"); }
};

// Every program start, recorded instead of run; a program that writes its output gets `output`.
struct RecordedStarts {
  std::vector<brambolt::SpawnRequest> requests;
  std::string output;
  brambolt::ScopedSpawnHook hook{[this](const brambolt::SpawnRequest& request) {
    requests.push_back(request);
    if (request.standardOutput >= 0 && !output.empty()) {
      EXPECT_EQ(::write(request.standardOutput, output.data(), output.size()), static_cast<ssize_t>(output.size()));
    }
    return DWORD{0};
  }};
};

const char* LanguageFolder(int nLanguage) {
  return nLanguage == LANGUAGE_ENG ? "Output_Eng" : nLanguage == LANGUAGE_CHT ? "Output_GB5" : "Output_Chs";
}

// The Shapes project documented in the language, then its HTML Help files written.
struct HelpRun {
  ShapesProject p;
  HelpShell shell{p.project, p.strProjectFolder};
  RecordedStarts starts;
  BOOL bOpened = FALSE;

  explicit HelpRun(int nLanguage, const std::string& compilerOutput = "", const std::string& title = "") {
    starts.output = compilerOutput;
    p.project.m_nOutputLanguage = nLanguage;
    if (!title.empty()) p.project.m_strProjectTitle = title.c_str();
    p.project.GeneratePages(nLanguage, GetDocumentationFolder(p.strProjectFolder, nLanguage), nullptr);
    brambolt::SetShellAssociation(".hhp", "chmcmd");
    const HtmlHelpSettings settings = FillHtmlHelpDefaults(p.project, "Shapes");
    bOpened = GenerateHtmlHelp(p.project, settings, nullptr);
  }
  std::string Read(const char* name) const {
    return p.folder.Read(std::string(LanguageFolder(p.project.m_nOutputLanguage)) + "/" + name);
  }
};

struct LanguageCase {
  int nLanguage;
  const char* name;
};
void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.name; }

class HtmlHelpGolden : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(HtmlHelpGolden, ProjectContentsAndIndexMatchByteForByte) {
  HelpRun run(GetParam().nLanguage);
  std::map<std::string, std::string> files;
  for (const char* name : {"Shapes.hhp", "Shapes.hhc", "Shapes.hhk"}) files[name] = run.Read(name);
  doc_test::ExpectGolden(files, std::string("help_") + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Languages, HtmlHelpGolden,
                         ::testing::Values(LanguageCase{LANGUAGE_ENG, "eng"}, LanguageCase{LANGUAGE_CHS, "chs"},
                                           LanguageCase{LANGUAGE_CHT, "cht"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HtmlHelp, EachLanguageNamesItselfInTheProjectFile) {
  EXPECT_TRUE(Contains(HelpRun(LANGUAGE_ENG).Read("Shapes.hhp"), "Language=0x409 English (United States)\r\n"));
  EXPECT_TRUE(Contains(HelpRun(LANGUAGE_CHS).Read("Shapes.hhp"),
                       "Language=0x804 \xD6\xD0\xCE\xC4\x28\xD6\xD0\xB9\xFA\x29\r\n"));
  // The Big5 run names Traditional Chinese (Taiwan) in Big5, not the Simplified line.
  const std::string big5 = HelpRun(LANGUAGE_CHT).Read("Shapes.hhp");
  EXPECT_TRUE(Contains(big5, "Language=0x404 \xA4\xA4\xA4\xE5(\xA5\x78\xC6\x57)\r\n"));
  EXPECT_FALSE(Contains(big5, "0x804"));
}

// The title, typed in the program and so in its code page, is in the help's language in the
// project file and in the contents.
TEST(HtmlHelp, TheTitleIsInTheHelpsLanguage) {
  brambolt::ScopedCodePage programCodePage(936);
  const std::string title = brambolt::Utf8ToCodePage("图形库文档", 936);
  const struct {
    int nLanguage;
    std::string expected;
  } cases[] = {{LANGUAGE_CHS, title},
               {LANGUAGE_CHT, brambolt::Utf8ToCodePage("圖形庫文檔", 950)},
               {LANGUAGE_ENG, "&#22270;&#24418;&#24211;&#25991;&#26723;"}};
  for (const auto& c : cases) {
    HelpRun run(c.nLanguage, "", title);
    EXPECT_TRUE(Contains(run.Read("Shapes.hhp"), "Title=" + c.expected + "\r\n")) << c.nLanguage;
    EXPECT_TRUE(Contains(run.Read("Shapes.hhc"), "<param name=\"Name\" value=\"" + c.expected + "\">")) << c.nLanguage;
  }
}

TEST(HtmlHelp, DefaultsComeFromTheProjectNameAndStayInTheProject) {
  CWorkSpaceObj project;
  project.m_strProjectTitle = "Demo Library";
  project.m_strHelpIndexFile = "Own.hhk";
  const HtmlHelpSettings s = FillHtmlHelpDefaults(project, "Demo");
  EXPECT_EQ(S(s.strContentsFile), "Demo.hhc");
  EXPECT_EQ(S(s.strIndexFile), "Own.hhk");
  EXPECT_EQ(S(s.strCompiledFile), "Demo.chm");
  EXPECT_EQ(S(s.strProjectFile), "Demo.hhp");
  EXPECT_EQ(S(s.strTitle), "Demo Library");
  EXPECT_EQ(S(s.strDefaultTopic), "index.htm");
  EXPECT_EQ(S(project.m_strHelpContentsFile), "Demo.hhc");
  EXPECT_EQ(S(project.m_strHelpDefaultTopic), "index.htm");
}

TEST(HtmlHelp, ChecksRunInOrderAndNameTheControlToFocus) {
  HtmlHelpSettings full{"a.hhc", "a.hhk", "a.chm", "a.hhp", "Title", "Index.htm"};
  CString strMessage;
  UINT nControl = 0;
  EXPECT_EQ(CheckHtmlHelpSettings(full, TRUE, strMessage, nControl), 0u);
  struct {
    CString HtmlHelpSettings::*field;
    BOOL bDefault;
    UINT nMessage, nControl;
  } cases[] = {{&HtmlHelpSettings::strTitle, FALSE, 162, 1000},
               {&HtmlHelpSettings::strContentsFile, TRUE, 163, 1018},
               {&HtmlHelpSettings::strIndexFile, TRUE, 164, 1019},
               {&HtmlHelpSettings::strProjectFile, TRUE, 165, 1034},
               {&HtmlHelpSettings::strTitle, TRUE, 166, 1219},
               {&HtmlHelpSettings::strCompiledFile, TRUE, 167, 1020}};
  for (const auto& c : cases) {
    HtmlHelpSettings s = full;
    (s.*c.field).Empty();
    EXPECT_EQ(CheckHtmlHelpSettings(s, c.bDefault, strMessage, nControl), c.nMessage);
    EXPECT_EQ(nControl, c.nControl);
  }
  HtmlHelpSettings empty;
  EXPECT_EQ(CheckHtmlHelpSettings(empty, TRUE, strMessage, nControl), 163u);
  EXPECT_EQ(S(strMessage), "You must specify a Content file name for the HTML Help Project file you want to create.");
}

// A page folder with pages, other files and folders that the sitemaps leave out.
struct SelectionTree {
  TempFolder folder;
  CWorkSpaceObj project;
  HelpShell shell{project, CString(folder.Path().c_str()) + "/"};

  SelectionTree() {
    project.m_nOutputLanguage = LANGUAGE_ENG;
    for (const char* name : {"Htmls/Index.htm", "Htmls/Hierarchy_Chart.htm", "Htmls/logo.gif", "Htmls/Report.HTML",
                             "Htmls/page.htm.bak", "Htmls/images/pic.htm", "Htmls/_private/secret.htm",
                             "Htmls/A/a.htm", "Htmls/A/B/b.htm", "Htmls/A/B/C/c.htm"})
      folder.Write(std::string("Output_Eng/") + name, "x");
    CGenHtmlHelpClass writer("t.hhc", "t.hhk", "t.chm", "Index.htm", "Title");
    writer.WriteProjectFile(writer.GetLanguageFolder() + "t.hhp");
    writer.WriteContentsFile(writer.GetLanguageFolder() + "t.hhc");
    writer.WriteIndexFile(writer.GetLanguageFolder() + "t.hhk");
  }
  std::string Read(const char* name) const { return folder.Read(std::string("Output_Eng/") + name); }
};

// Pages keep the names the locale they were written under gave them (UTF-8 under zh_CN.UTF-8, the
// code page's bytes under zh_CN.GB2312): a help made under the other locale finds every page, lists
// the class's folder, and names the entries of a GB2312 header's class and members in its Big5
// contents and index as their pages name them, never after their files' bytes.
TEST(HtmlHelp, EntriesNameTheMembersWhateverLocaleNamedTheirPages) {
  static constexpr const char* kWorkshop =
      "Please make sure you have correct installed Microsoft HTML Help Workshop Version 4.74.8702.0!";
  // A Big5 header whose names hold bytes of a path ("功" and "許" end in a backslash, "四" in a
  // bar): a run under one locale numbers them, a run under another spells them.
  static constexpr const char* kBig5Header =
      "// 功能 類別\nclass 功能\n{\npublic:\n    // 修改時間不同\n    int 許可;\n    // 一四\n    void 一四();\n};\n"
      "// 許可 視窗\nclass 許可 : public 功能\n{\npublic:\n    // 無效的號碼\n    int 數據;\n};\n";
  struct Case {
    UINT nHeaderCodePage;
    const char* written;
    const char* helped;
    int nLanguage = LANGUAGE_CHT;
  };
  for (const auto& [nHeaderCodePage, written, helped, nLanguage] :
       {Case{936, "zh_CN.UTF-8", "zh_CN.GB2312"}, Case{936, "zh_CN.GB2312", "zh_CN.UTF-8"},
        Case{936, "zh_CN.GB2312", "zh_TW.BIG5"}, Case{950, "zh_TW.BIG5", "C.UTF-8"},
        Case{950, "zh_TW.BIG5", "zh_CN.GB2312"}, Case{936, "zh_CN.GB2312", "C.UTF-8"},
        Case{0, "zh_TW.UTF-8", "zh_CN.GB2312", LANGUAGE_CHS}, Case{0, "zh_TW.UTF-8", "zh_TW.BIG5", LANGUAGE_CHS},
        Case{0, "zh_CN.UTF-8", "zh_TW.UTF-8"}, Case{0, "zh_CN.UTF-8", "zh_CN.GB2312"},
        Case{0, "zh_CN.UTF-8", "zh_TW.BIG5"}}) {
    SCOPED_TRACE(std::string(written) + ", then " + helped);
    const std::string header =
        nHeaderCodePage == 0
            ? brambolt::Utf8ToCodePage(kBig5Header, 950)
            : brambolt::Utf8ToCodePage(
                  nHeaderCodePage == 936
                      ? "// 范围\nclass C范围\n{\npublic:\n    // 设置范围\n    void Set范围(int n);\n    // 范围\n    int m_n范围;\n};\n"
                      : "// 範圍\nclass C範圍\n{\npublic:\n    // 設置範圍\n    void Set範圍(int n);\n    // 範圍\n    int m_n範圍;\n};\n",
                  nHeaderCodePage);
    // The headers are read and the pages written under one locale, the help made under the other.
    std::optional<brambolt::ScopedLocale> writing(std::in_place, written);
    ShapesProject p(header.c_str());
    HelpShell shell(p.project, p.strProjectFolder);
    p.project.m_nOutputLanguage = nLanguage;
    p.project.GeneratePages(nLanguage, GetDocumentationFolder(p.strProjectFolder, nLanguage), nullptr);
    writing.reset();
    brambolt::ScopedLocale locale(helped);
    brambolt::SetShellAssociation(".hhp", "");
    RecordedStarts starts;
    GenerateHtmlHelp(p.project, FillHtmlHelpDefaults(p.project, "t"), nullptr);
    // No page is said to be missing: the compile is only told to be impossible here.
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"ShowMessage 64 " + std::string(kWorkshop), "RefreshOutputTree"}));
    const bool bSimple = nLanguage == LANGUAGE_CHS;
    const std::vector<const char*> names =
        nHeaderCodePage != 0 ? std::vector<const char*>{"m_n範圍", "Set範圍", "C範圍"}
        : bSimple            ? std::vector<const char*>{"功能", "许可", "一四", "数据"}
                             : std::vector<const char*>{"功能", "許可", "一四", "數據"};
    const std::string folder = bSimple ? "Output_Chs/" : "Output_GB5/";
    for (const char* file : {"t.hhc", "t.hhk"}) {
      const std::string sitemap = p.folder.Read(folder + file);
      for (const char* name : names)
        EXPECT_TRUE(Contains(sitemap, "<param name=\"Name\" value=\"" + brambolt::Utf8ToCodePage(name, bSimple ? 936 : 950) + "\">"))
            << file << " names no " << name << ":\n" << sitemap;
    }
    // The project lists every page: the index, the chart and each class's and member's.
    const std::string hhp = p.folder.Read(folder + "t.hhp");
    size_t nPages = 0;
    for (size_t at = hhp.find(".htm\r\n"); at != std::string::npos; at = hhp.find(".htm\r\n", at + 1)) ++nPages;
    EXPECT_EQ(nPages, nHeaderCodePage == 0 ? 8u : 6u) << hhp;  // with the default topic
  }
}

// Folders in the listing's order (names compared as upper case, so "_" follows the letters).
TEST(HtmlHelp, ProjectFileListsEveryFileTheChartPageToo) {
  SelectionTree tree;
  const std::string hhp = tree.Read("t.hhp");
  EXPECT_TRUE(Contains(hhp, "Default topic=Htmls\\Index.htm\r\n"));
  const std::string files = hhp.substr(hhp.find("[FILES]\r\n") + 9);
  EXPECT_EQ(files,
            "Htmls\\Hierarchy_Chart.htm\r\nHtmls\\Index.htm\r\nHtmls\\logo.gif\r\nHtmls\\page.htm.bak\r\nHtmls\\Report.HTML\r\n"
            "Htmls\\A\\a.htm\r\nHtmls\\A\\B\\b.htm\r\nHtmls\\A\\B\\C\\c.htm\r\nHtmls\\images\\pic.htm\r\n"
            "Htmls\\_private\\secret.htm\r\n");
}

TEST(HtmlHelp, SitemapsTakePagesByExtensionAndSkipImagesAndUnderscoreFolders) {
  SelectionTree tree;
  for (const char* name : {"t.hhc", "t.hhk"}) {
    const std::string map = tree.Read(name);
    EXPECT_TRUE(Contains(map, "value=\"Htmls\\Index.htm\"")) << name;
    EXPECT_TRUE(Contains(map, "value=\"Htmls\\Report.HTML\"")) << name;
    EXPECT_TRUE(Contains(map, "value=\"Htmls\\A\\B\\C\\c.htm\"")) << name;
    for (const char* absent : {"Hierarchy_Chart", "logo", "page.htm", "pic", "secret"})
      EXPECT_FALSE(Contains(map, absent)) << name << " " << absent;
  }
}

TEST(HtmlHelp, DeeperFoldersAreBooksAfterTheirParentsBookInsideTheTopLevelBook) {
  SelectionTree tree;
  const std::string hhc = tree.Read("t.hhc");
  const std::string expected =
      "\t\t\t<LI> <OBJECT type=\"text/sitemap\">\r\n"
      "\t\t\t\t<param name=\"Name\" value=\"A\">\r\n"
      "\t\t\t\t</OBJECT>\r\n"
      "\t\t<UL>\r\n"
      "\t\t\t\t<LI> <OBJECT type=\"text/sitemap\">\r\n"
      "\t\t\t\t\t<param name=\"Name\" value=\"a\">\r\n"
      "\t\t\t\t\t<param name=\"Local\" value=\"Htmls\\A\\a.htm\">\r\n"
      "\t\t\t\t\t</OBJECT>\r\n"
      "\t\t\t\t<LI> <OBJECT type=\"text/sitemap\">\r\n"
      "\t\t\t\t\t<param name=\"Name\" value=\"B\">\r\n"
      "\t\t\t\t\t</OBJECT>\r\n"
      "\t\t\t\t<UL>\r\n"
      "\t\t\t\t\t <LI> <OBJECT type=\"text/sitemap\">\r\n"
      "\t\t\t\t\t\t<param name=\"Name\" value=\"b\">\r\n"
      "\t\t\t\t\t\t<param name=\"Local\" value=\"Htmls\\A\\B\\b.htm\">\r\n"
      "\t\t\t\t\t\t</OBJECT>\r\n"
      "\t\t\t\t</UL>\r\n"
      "\t\t\t\t\t<LI> <OBJECT type=\"text/sitemap\">\r\n"
      "\t\t\t\t\t\t<param name=\"Name\" value=\"C\">\r\n"
      "\t\t\t\t\t\t</OBJECT>\r\n"
      "\t\t\t\t\t<UL>\r\n"
      "\t\t\t\t\t\t <LI> <OBJECT type=\"text/sitemap\">\r\n"
      "\t\t\t\t\t\t\t<param name=\"Name\" value=\"c\">\r\n"
      "\t\t\t\t\t\t\t<param name=\"Local\" value=\"Htmls\\A\\B\\C\\c.htm\">\r\n"
      "\t\t\t\t\t\t\t</OBJECT>\r\n"
      "\t\t\t\t\t</UL>\r\n"
      "\t\t\t</UL>\r\n";
  EXPECT_TRUE(Contains(hhc, expected)) << hhc;
}

TEST(HtmlHelp, DefaultFileListOffersThePagesOfTheLanguage) {
  SelectionTree tree;
  CStringList names;
  ListDefaultFileCandidates(tree.project, CString(tree.folder.Path().c_str()) + "/", names);
  std::vector<std::string> got;
  for (POSITION pos = names.GetHeadPosition(); pos != nullptr;) got.push_back(S(names.GetNext(pos)));
  EXPECT_EQ(got, (std::vector<std::string>{"Hierarchy_Chart.htm", "Index.htm"}));
}

TEST(HtmlHelp, TheCompilerRunsInTheLanguageFolderAndItsOutputIsShown) {
  HelpRun run(LANGUAGE_ENG, "line one\nchmcmd: no help file\n");
  EXPECT_TRUE(run.bOpened);
  ASSERT_EQ(run.starts.requests.size(), 1u);
  const auto& request = run.starts.requests[0];
  EXPECT_EQ(request.program, "chmcmd");
  ASSERT_EQ(request.argv.size(), 2u);
  // The compiler gets a working copy of the project beside it, which names a working help file; the
  // copy keeps the extension by which the compiler knows a project.
  EXPECT_EQ(fs::path(request.argv[1]).parent_path(), fs::path(run.p.folder.Path()) / "Output_Eng");
  EXPECT_EQ(fs::path(request.argv[1]).extension(), ".hhp");
  EXPECT_NE(fs::path(request.argv[1]).filename(), "Shapes.hhp");
  EXPECT_EQ(fs::path(request.directory), fs::path(run.p.folder.Path()) / "Output_Eng");
  ASSERT_EQ(run.shell.calls.size(), 2u);
  EXPECT_TRUE(run.shell.calls[0].starts_with("ShowMessage 48 Compiling ")) << run.shell.calls[0];
  EXPECT_TRUE(Contains(run.shell.calls[0], "Shapes.hhp\n\nline one\nchmcmd: no help file\n\nThe compiler made no help file."))
      << run.shell.calls[0];
  EXPECT_EQ(run.shell.calls[1], "RefreshOutputTree");
  EXPECT_TRUE(run.p.project.IsModified());
}

// A shell that answers its questions with one button.
struct AnsweringHelpShell : HelpShell {
  using HelpShell::HelpShell;
  int ShowMessage(LPCTSTR lpszText, UINT nType) override {
    HelpShell::ShowMessage(lpszText, nType);
    return nAnswer;
  }
  int nAnswer = 7;  // IDNO
};

// After a header left the project its class folder stays on disk, but the help lists only the
// classes the project has now (a folder of the user's own stays listed, also one holding a page of
// its own name); a page removed by hand is named before the compile, which runs only when the user
// says so.
TEST(HtmlHelp, TheHelpListsTheClassesOfNowAndNamesPagesRemovedByHand) {
  ShapesProject p;
  AnsweringHelpShell shell(p.project, p.strProjectFolder);
  p.project.m_nOutputLanguage = LANGUAGE_ENG;
  p.project.GenerateEnglishPages(GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), nullptr);
  p.folder.Write("Output_Eng/Htmls/CGone/CGone.htm", "a former class");
  p.folder.Write("Output_Eng/Htmls/CGone/Member Vars/m_old.htm", "its member");
  p.folder.Write("Output_Eng/Htmls/Notes/read me.htm", "the user's page");
  p.folder.Write("Output_Eng/Htmls/Guide/Guide.htm", "the user's guide");
  p.folder.Write("Output_Eng/Htmls/Guide/faq.htm", "the user's questions");
  fs::remove(fs::path(p.folder.Path()) / "Output_Eng/Htmls/CShape/Member Vars/m_rect.htm");
  brambolt::SetShellAssociation(".hhp", "chmcmd");
  RecordedStarts starts;
  EXPECT_FALSE(GenerateHtmlHelp(p.project, FillHtmlHelpDefaults(p.project, "Shapes"), nullptr));
  EXPECT_TRUE(starts.requests.empty()) << "No: nothing compiled";
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0], "ShowMessage 52 1 page(s) of the project's documentation are not in " +
                                S(p.strProjectFolder) +
                                "Output_Eng\\Htmls\\, so the help would lack them and links to them would lead "
                                "nowhere:\nCShape\\Member Vars\\m_rect.htm\nWrite Documentation writes them again. "
                                "Compile the help without them?");
  EXPECT_EQ(shell.calls[1], "RefreshOutputTree");
  for (const char* name : {"Output_Eng/Shapes.hhp", "Output_Eng/Shapes.hhc", "Output_Eng/Shapes.hhk"}) {
    const std::string text = p.folder.Read(name);
    EXPECT_FALSE(Contains(text, "CGone")) << name;
    EXPECT_TRUE(Contains(text, "CCircle")) << name;
    EXPECT_TRUE(Contains(text, "read me")) << name;
    EXPECT_TRUE(Contains(text, "Htmls\\Guide\\Guide.htm")) << name;
    EXPECT_TRUE(Contains(text, "Htmls\\Guide\\faq.htm")) << name;
  }
  EXPECT_TRUE(p.folder.Exists("Output_Eng/Htmls/CGone/Member Vars/m_old.htm"));

  shell.calls.clear();
  shell.nAnswer = 6;  // IDYES
  EXPECT_TRUE(GenerateHtmlHelp(p.project, FillHtmlHelpDefaults(p.project, "Shapes"), nullptr));
  EXPECT_EQ(starts.requests.size(), 1u) << "Yes: compiled without the page";
}

// A page on disk that the help's listing cannot reach (its folder cannot be read) would be left
// out of the help as silently as a removed one: it is named in the question before the compile.
TEST(HtmlHelp, PagesOnDiskTheHelpCannotListAreNamedBeforeTheCompile) {
  ShapesProject p;
  AnsweringHelpShell shell(p.project, p.strProjectFolder);
  p.project.m_nOutputLanguage = LANGUAGE_ENG;
  p.project.GenerateEnglishPages(GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), nullptr);
  const std::string unread = (fs::path(p.folder.Path()) / "Output_Eng/Htmls/CShape/Member Vars/").string();
  ASSERT_TRUE(p.folder.Exists("Output_Eng/Htmls/CShape/Member Vars/m_rect.htm"));
  brambolt::ScopedFileFaultHook hook([&](brambolt::FileStep step, const std::string& path) {
    return step == brambolt::FileStep::List && path == unread ? EACCES : 0;
  });
  brambolt::SetShellAssociation(".hhp", "chmcmd");
  RecordedStarts starts;
  EXPECT_FALSE(GenerateHtmlHelp(p.project, FillHtmlHelpDefaults(p.project, "Shapes"), nullptr));
  EXPECT_TRUE(starts.requests.empty()) << "No: nothing compiled";
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_TRUE(shell.calls[0].starts_with("ShowMessage 52 ")) << shell.calls[0];
  EXPECT_TRUE(Contains(shell.calls[0], " page(s) of the project's documentation are not in ")) << shell.calls[0];
  EXPECT_TRUE(Contains(shell.calls[0], "\nCShape\\Member Vars\\m_rect.htm")) << shell.calls[0];
  EXPECT_EQ(shell.calls[1], "RefreshOutputTree");
}

// A project file that cannot be written keeps what it held; the user is told which files were
// written and which were not, and nothing is compiled over the stale file.
TEST(HtmlHelp, AProjectFileThatCannotBeWrittenIsNamedAndNothingIsCompiled) {
  ShapesProject p;
  HelpShell shell(p.project, p.strProjectFolder);
  p.project.m_nOutputLanguage = LANGUAGE_ENG;
  p.project.GenerateEnglishPages(GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), nullptr);
  p.folder.Write("Output_Eng/Shapes.hhc", "the contents from before");
  brambolt::SetShellAssociation(".hhp", "chmcmd");
  RecordedStarts starts;
  brambolt::ScopedFileFaultHook full([](brambolt::FileStep step, const std::string& path) {
    return step == brambolt::FileStep::Write && Contains(path, "Shapes.hhc") ? ENOSPC : 0;
  });
  EXPECT_FALSE(GenerateHtmlHelp(p.project, FillHtmlHelpDefaults(p.project, "Shapes"), nullptr));
  EXPECT_TRUE(starts.requests.empty()) << "nothing compiled";
  EXPECT_EQ(p.folder.Read("Output_Eng/Shapes.hhc"), "the contents from before");
  EXPECT_TRUE(Contains(p.folder.Read("Output_Eng/Shapes.hhk"), "CCircle"));
  const std::string strFolder = S(p.strProjectFolder) + "Output_Eng\\";
  EXPECT_EQ(shell.calls,
            (std::vector<std::string>{"ShowMessage 48 The HTML Help was not compiled: these project files could not be "
                                      "written, and each keeps what it held before, if it was there:\n" +
                                          strFolder + "Shapes.hhc: No space left on device\nWritten:\n" + strFolder +
                                          "Shapes.hhp\n" + strFolder + "Shapes.hhk",
                                      "RefreshOutputTree"}));
}

TEST(HtmlHelp, WithoutACompilerTheUserIsToldAndTheFilesStay) {
  ShapesProject p;
  HelpShell shell(p.project, p.strProjectFolder);
  p.project.m_nOutputLanguage = LANGUAGE_ENG;
  p.project.GenerateEnglishPages(GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), nullptr);
  brambolt::SetShellAssociation(".hhp", "");
  RecordedStarts starts;
  EXPECT_FALSE(GenerateHtmlHelp(p.project, FillHtmlHelpDefaults(p.project, "Shapes"), nullptr));
  EXPECT_TRUE(starts.requests.empty());
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"ShowMessage 64 Please make sure you have correct installed "
                                                   "Microsoft HTML Help Workshop Version 4.74.8702.0!",
                                                   "RefreshOutputTree"}));
  EXPECT_TRUE(p.folder.Exists("Output_Eng/Shapes.hhp"));
  EXPECT_TRUE(p.folder.Exists("Output_Eng/Shapes.hhk"));
}

TEST(HtmlHelp, AFileInAMissingFolderIsNotWrittenAndTheWriterSaysSo) {
  ShapesProject p;
  HelpShell shell(p.project, p.strProjectFolder);
  p.project.m_nOutputLanguage = LANGUAGE_ENG;
  CGenHtmlHelpClass writer("a.hhc", "a.hhk", "a.chm", "Index.htm", "T");
  EXPECT_FALSE(writer.WriteProjectFile(CString(p.folder.Path().c_str()) + "/missing/a.hhp"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(p.folder.Exists("missing"));
}

TEST(HtmlHelp, LinksPlantedAtTheHelpFilesAreReplacedAndWhatTheyNameStays) {
  ShapesProject p;
  HelpShell shell(p.project, p.strProjectFolder);
  p.project.m_nOutputLanguage = LANGUAGE_ENG;
  TempFolder outside;
  const fs::path language = fs::path(p.folder.Path()) / "Output_Eng";
  fs::create_directories(language);
  for (const char* name : {"a.hhp", "a.hhc", "a.hhk"}) {
    outside.Write(name, "the user's own text");
    fs::create_symlink(fs::path(outside.Path()) / name, language / name);
  }
  CGenHtmlHelpClass writer("a.hhc", "a.hhk", "a.chm", "Index.htm", "T");
  const CString strFolder = writer.GetLanguageFolder();
  writer.WriteProjectFile(strFolder + "a.hhp");
  writer.WriteContentsFile(strFolder + "a.hhc");
  writer.WriteIndexFile(strFolder + "a.hhk");
  for (const char* name : {"a.hhp", "a.hhc", "a.hhk"}) {
    EXPECT_EQ(outside.Read(name), "the user's own text") << name;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(language / name))) << name;
  }
  EXPECT_TRUE(Contains(p.folder.Read("Output_Eng/a.hhp"), "[OPTIONS]"));
}

// One entry of a sitemap as a viewer reads it: its name and location (entities read back) and how
// deep it stands (1 in the outermost list).
struct SitemapEntry {
  std::string name, local;
  int nDepth = 0;
};

// A contents or index file as the viewers read it: each list opens below the last entry of the list
// around it. A list outside every other is a tree of its own; a list that opens before any entry of
// the list around it has no item to hang from.
struct Sitemap {
  int nTrees = 0;
  int nListsWithoutItem = 0;
  std::vector<SitemapEntry> entries;
  std::vector<std::string> emptyBooks;  // books whose list holds no entry, or that have no list
  std::vector<std::string> namesWithAngleReferences;  // names giving "<" or ">" as a reference
};

std::string ReadEntities(std::string text) {
  for (const auto& [entity, ch] : {std::pair<std::string, std::string>{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""},
                                   {"&#39;", "'"}, {"&amp;", "&"}})
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + ch.size()))
      text.replace(at, entity.size(), ch);
  return text;
}

std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

// The value of an attribute of a tag (as written, quoted), "" when it has none.
std::string Attribute(const std::string& tag, const std::string& name) {
  const size_t at = Lower(tag).find(name + "=\"");
  if (at == std::string::npos) return std::string();
  const size_t start = at + name.size() + 2;
  return tag.substr(start, tag.find('"', start) - start);
}

Sitemap ReadSitemap(const std::string& text) {
  Sitemap map;
  std::vector<int> open;  // the entries so far of each open list
  std::vector<std::string> listBooks;  // the book each open list belongs to ("" for none)
  std::string book;  // the book just read, until a list or another entry follows it
  SitemapEntry entry;
  bool bInEntry = false;
  size_t end = 0;
  for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', end + 1)) {
    // A tag ends at the first ">" outside its quoted values, which may hold "<" and ">".
    end = at;
    for (bool bQuoted = false; end < text.size() && (bQuoted || text[end] != '>'); ++end)
      if (text[end] == '"') bQuoted = !bQuoted;
    const std::string tag = text.substr(at, end - at + 1);
    const std::string lower = Lower(tag);
    if (lower.starts_with("<ul")) {
      if (open.empty())
        ++map.nTrees;
      else if (open.back() == 0)
        ++map.nListsWithoutItem;
      open.push_back(0);
      listBooks.push_back(std::exchange(book, std::string()));
    } else if (lower.starts_with("</ul") && !open.empty()) {
      if (!book.empty()) map.emptyBooks.push_back(std::exchange(book, std::string()));
      if (open.back() == 0 && !listBooks.back().empty()) map.emptyBooks.push_back(listBooks.back());
      open.pop_back();
      listBooks.pop_back();
    } else if (lower.starts_with("<object") && Attribute(tag, "type") == "text/sitemap") {
      if (!book.empty()) map.emptyBooks.push_back(std::exchange(book, std::string()));
      entry = SitemapEntry{};
      entry.nDepth = static_cast<int>(open.size());
      bInEntry = true;
    } else if (lower.starts_with("<param") && bInEntry) {
      const std::string name = Attribute(tag, "name");
      if (name == "Name") {
        entry.name = ReadEntities(Attribute(tag, "value"));
        // A viewer that reads the name without its references drops a "&lt;...&gt;" whole.
        if (Attribute(tag, "value").find("&lt;") != std::string::npos ||
            Attribute(tag, "value").find("&gt;") != std::string::npos)
          map.namesWithAngleReferences.push_back(entry.name);
      }
      if (name == "Local") entry.local = ReadEntities(Attribute(tag, "value"));
    } else if (lower.starts_with("</object") && bInEntry) {
      bInEntry = false;
      if (!open.empty()) ++open.back();
      if (entry.local.empty()) book = entry.name;
      map.entries.push_back(entry);
    }
  }
  if (!book.empty()) map.emptyBooks.push_back(book);
  return map;
}

// The text of a page's first heading, its tags left out and its entities read back.
std::string FirstHeading(const std::string& page) {
  const size_t start = Lower(page).find("<h1>");
  if (start == std::string::npos) return std::string();
  std::string text;
  for (size_t at = start + 4; at < page.size() && Lower(page.substr(at, 5)) != "</h1>"; ++at) {
    if (page[at] == '<')
      at = page.find('>', at);
    else
      text += page[at];
  }
  return ReadEntities(text);
}

// The names of every object a compiled help file holds, from its directory: each listing chunk of
// the directory read in turn, whatever chunk its header names as the first.
std::set<std::string> ReadHelpDirectory(const std::string& bytes) {
  std::set<std::string> names;
  const auto number = [&](size_t at, size_t size) {
    uint64_t value = 0;
    for (size_t n = size; n-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes.at(at + n));
    return value;
  };
  if (bytes.substr(0, 4) != "ITSF") return names;
  const size_t directory = number(0x48, 8);
  if (bytes.substr(directory, 4) != "ITSP") return names;
  const size_t headerSize = number(directory + 8, 4), chunkSize = number(directory + 0x10, 4);
  const size_t nChunks = number(directory + 0x2C, 4);
  for (size_t nChunk = 0; nChunk < nChunks; ++nChunk) {
    const size_t chunk = directory + headerSize + nChunk * chunkSize;
    if (bytes.substr(chunk, 4) != "PMGL") continue;
    const size_t end = chunk + chunkSize - number(chunk + 4, 4);
    size_t at = chunk + 0x14;
    const auto encoded = [&] {
      uint64_t value = 0;
      for (unsigned char ch = 0x80; ch & 0x80; ++at) {
        ch = static_cast<unsigned char>(bytes.at(at));
        value = (value << 7) | (ch & 0x7F);
      }
      return value;
    };
    while (at < end) {
      const size_t nName = encoded();
      names.insert(bytes.substr(at, nName));
      at += nName;
      for (int n = 0; n < 3; ++n) encoded();  // section, offset, length
    }
  }
  return names;
}

// The keywords of the index a help file holds compiled (its keyword tree's listing blocks, each
// keyword in UTF-16), in the code page given: what a viewer lists as the help's index when the help
// holds one.
std::multiset<std::string> ReadCompiledIndex(const std::string& tree, UINT nCodePage) {
  std::multiset<std::string> keywords;
  const auto number = [&](size_t at, size_t size) {
    uint32_t value = 0;
    for (size_t n = size; n-- > 0;) value = (value << 8) | static_cast<unsigned char>(tree.at(at + n));
    return value;
  };
  const auto text = [&](size_t& at) {
    std::u16string word;
    for (; number(at, 2) != 0; at += 2) word += static_cast<char16_t>(number(at, 2));
    at += 2;
    return word;
  };
  constexpr size_t kHeader = 0x4C;
  const size_t nBlockSize = number(4, 2);
  // From the last listing block back to the first.
  for (auto nBlock = static_cast<int32_t>(number(0x1A, 4)); nBlock != -1;) {
    const size_t block = kHeader + static_cast<size_t>(nBlock) * nBlockSize;
    const size_t nEntries = number(block + 2, 2);
    size_t at = block + 12;
    for (size_t n = 0; n < nEntries; ++n) {
      keywords.insert(brambolt::WideToAnsi(text(at), nCodePage));
      const bool bSeeAlso = number(at, 2) == 2;
      const size_t nTopics = number(at + 12, 4);
      at += 16;
      if (bSeeAlso)
        text(at);
      else
        at += 4 * nTopics;
      at += 8;
    }
    nBlock = static_cast<int32_t>(number(block + 4, 4));
  }
  return keywords;
}

// An object of a compiled help file, looked up by its name as a viewer opens it.
std::string ReadFromHelp(const fs::path& chm, const fs::path& scratch, const std::string& name) {
  const fs::path file = scratch / "object";
  fs::remove(file);
  const std::string command =
      "test_chmLib '" + chm.string() + "' '/" + name + "' '" + file.string() + "' > /dev/null 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << name;
  return fs::exists(file) ? doc_test::ReadFile(file) : std::string();
}

// A class of many members: the help file's directory then takes several chunks.
std::string ManyMembers() {
  std::string text = "class CWide\n{\npublic:\n";
  for (int n = 0; n < 150; ++n) text += "    int m_nValue" + std::to_string(n) + ";\n";
  return text + "};\n";
}

// Compiles with the real compiler where it is installed: the help file holds every page, the
// chart and the diagrams, also of classes with operators, of a template's specialisation and of
// classes named as folders the contents leave out ("_Impl", "images"); its contents and index,
// read from the help file as a viewer reads them, are one tree whose every entry opens a page the
// help holds, each page of a class named as its page names the class or the member, and the index
// a viewer lists names them so too.
TEST(HtmlHelp, TheCompiledHelpHoldsEveryPageAndShowsOneTreeOfEntriesNamedAsTheirPages) {
  if (brambolt::FindProgram("chmcmd").empty()) GTEST_SKIP() << "chmcmd is not installed";
  ShapesProject p((std::string(doc_test::ShapesHeader()) +
                   "class CBox\n{\npublic:\n    CBox();\n    CBox(int n);\n    CBox& operator=(const CBox& o);\n"
                   "    BOOL operator==(const CBox& o);\n    BOOL operator<(const CBox& o);\n"
                   "    int operator%(int n);\n    BOOL operator>=(const CBox& o);\n    CShape* operator->();\n"
                   "    int m_nSize;\n};\n"
                   "template <> class Matcher<const std::string&>\n{\npublic:\n    Matcher(const char* s);\n"
                   "    bool Matches(const std::string& s) const;\n};\n"
                   "class _Impl\n{\npublic:\n    int m_nImpl;\n};\nclass images\n{\npublic:\n    int Count();\n};\n" +
                   ManyMembers())
                      .c_str());
  HelpShell shell(p.project, p.strProjectFolder);
  p.project.m_nOutputLanguage = LANGUAGE_ENG;
  p.project.GeneratePages(LANGUAGE_ENG, GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), nullptr);
  // The public variables' pages stay from the run, their kind no longer documented: they are in
  // the help all the same, under their members' names.
  p.project.m_bDocPublicVariables = FALSE;
  brambolt::SetShellAssociation(".hhp", "chmcmd");
  ASSERT_TRUE(GenerateHtmlHelp(p.project, FillHtmlHelpDefaults(p.project, "Shapes"), nullptr));
  const fs::path chm = fs::path(p.folder.Path()) / "Output_Eng" / "Shapes.chm";
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_TRUE(shell.calls[0].starts_with("ShowMessage 64 Compiling ")) << shell.calls[0];
  EXPECT_TRUE(Contains(shell.calls[0], "Compiled file: " + chm.string())) << shell.calls[0];
  ASSERT_TRUE(fs::exists(chm));
  const std::string bytes = doc_test::ReadFile(chm);
  EXPECT_EQ(bytes.substr(0, 4), "ITSF");
  if (brambolt::FindProgram("test_chmLib").empty()) GTEST_SKIP() << "test_chmLib is not installed";
  std::set<std::string> held;
  for (const std::string& name : ReadHelpDirectory(bytes))
    if (name.starts_with("/") && !name.ends_with("/")) held.insert(name.substr(1));
  const fs::path scratch = fs::path(p.folder.Path());
  const auto read = [&](const std::string& name) { return ReadFromHelp(chm, scratch, name); };
  std::set<std::string> written;
  const fs::path htmls = fs::path(p.folder.Path()) / "Output_Eng";
  for (const auto& entry : fs::recursive_directory_iterator(htmls / "Htmls"))
    if (entry.is_regular_file()) written.insert(fs::relative(entry.path(), htmls).generic_string());
  for (const std::string& file : written) EXPECT_TRUE(held.count(file)) << file << " is not in the help file";
  EXPECT_TRUE(held.count("Htmls/Hierarchy_Chart.htm"));
  EXPECT_TRUE(held.count("Htmls/Image2/A_Hierarchy_Chart.bmp"));
  EXPECT_TRUE(held.count("Htmls/CBox/Member Functions/operator@3D.htm"));

  for (const char* file : {"Shapes.hhc", "Shapes.hhk"}) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(held.count(file)) << "the help file holds no " << file;
    const Sitemap map = ReadSitemap(read(file));
    EXPECT_EQ(map.nTrees, 1);
    EXPECT_EQ(map.nListsWithoutItem, 0);
    EXPECT_EQ(map.emptyBooks, std::vector<std::string>{});
    EXPECT_EQ(map.namesWithAngleReferences, std::vector<std::string>{});
    std::multiset<std::string> boxNames;
    std::set<std::string> books;
    size_t nPages = 0;
    for (const SitemapEntry& entry : map.entries) {
      if (entry.local.empty()) {
        books.insert(entry.name);
        continue;
      }
      ++nPages;
      std::string local = entry.local;
      std::replace(local.begin(), local.end(), '\\', '/');
      ASSERT_TRUE(held.count(local)) << entry.name << ": " << entry.local << " is not in the help file";
      // A class's page and its members' pages: the entry names what the page's heading names.
      const std::string heading = FirstHeading(read(local));
      if (local.starts_with("Htmls/Index") || local.find('/', 6) == std::string::npos) continue;
      EXPECT_TRUE(heading == entry.name + " Class Members" || heading.ends_with("::" + entry.name))
          << entry.name << " for the page headed " << heading;
      if (local.starts_with("Htmls/CBox/")) boxNames.insert(entry.name);
    }
    EXPECT_EQ(nPages, static_cast<size_t>(std::count_if(written.begin(), written.end(), [](const std::string& f) {
                        return f.ends_with(".htm") && f != "Htmls/Hierarchy_Chart.htm";
                      })));
    EXPECT_EQ(boxNames, (std::multiset<std::string>{"CBox", "CBox", "CBox", "operator=", "operator==", "operator<",
                                                    "operator%", "operator>=", "operator->", "m_nSize"}));
    // A viewer lists the index the help holds compiled where it holds one, else the index file's.
    if (std::string(file) == "Shapes.hhk" && held.count("$WWKeywordLinks/BTree")) {
      std::multiset<std::string> names;
      for (const SitemapEntry& entry : map.entries) names.insert(entry.name);
      EXPECT_EQ(ReadCompiledIndex(read("$WWKeywordLinks/BTree"), 1252), names);
    }
    if (std::string(file) == "Shapes.hhc") {
      ASSERT_FALSE(map.entries.empty());
      EXPECT_EQ(map.entries[0].name, "Shapes & Lines");
      EXPECT_EQ(map.entries[0].nDepth, 1);
      for (const char* book : {"CBox", "Matcher<const std::string&>", "CShape", "Member Functions", "_Impl", "images"})
        EXPECT_TRUE(books.count(book)) << book;
    }
  }
}


// A Big5 header on a Big5 desktop whose class and member are named in characters that have a "\"
// as their second byte (功 A5 5C, 許 B3 5C, 蓋 BB 5C): their folders and pages are named in the
// desktop's letters, each such character as its number (a "\" in a name would part the path, a
// blank in its place leaves half a character), and the help compiled from them holds every page
// its contents and index open, each entry named as the class and member are.
TEST(HtmlHelp, Big5NamesWhoseSecondByteIsABackslashNameTheirFilesReadablyAndTheHelpOpensThem) {
  brambolt::ScopedLocale locale("zh_TW.BIG5");
  // class 功能 : public CShape { public: int 許功蓋(); int m_n寬度; }, in Big5.
  ShapesProject p((std::string(doc_test::ShapesHeader()) +
                   "class \xA5\x5C\xAF\xE0 : public CShape\n{\npublic:\n    int \xB3\x5C\xA5\x5C\xBB\x5C();\n"
                   "    int m_n\xBC\x65\xAB\xD7;\n};\n")
                      .c_str());
  HelpShell shell(p.project, p.strProjectFolder);
  p.project.m_nOutputLanguage = LANGUAGE_CHT;
  p.project.GeneratePages(LANGUAGE_CHT, GetDocumentationFolder(p.strProjectFolder, LANGUAGE_CHT), nullptr);
  const fs::path language = fs::path(p.folder.Path()) / "Output_GB5";
  const std::string strClass = "(U+529F)\xAF\xE0";  // 功能
  std::set<std::string> written;
  for (const auto& entry : fs::recursive_directory_iterator(language / "Htmls")) {
    const std::string name = fs::relative(entry.path(), language).generic_string();
    EXPECT_TRUE(brambolt::ReadsAsTextIn(name, 950)) << name;
    if (entry.is_regular_file()) written.insert(name);
  }
  for (const std::string& file : {"Htmls/" + strClass + "/" + strClass + ".htm",
                                  "Htmls/" + strClass + "/Member Functions/(U+8A31)(U+529F)(U+84CB).htm",
                                  "Htmls/" + strClass + "/Member Vars/m_n\xBC\x65\xAB\xD7.htm",
                                  "Htmls/Image2/" + strClass + ".bmp"})
    EXPECT_TRUE(written.count(file)) << file;
  // Every link of the pages opens its file.
  for (const std::string& page : written) {
    if (!page.ends_with(".htm")) continue;
    const std::string text = doc_test::ReadFile(language / page);
    for (size_t at = text.find("href=\""); at != std::string::npos; at = text.find("href=\"", at + 1)) {
      std::string link = text.substr(at + 6, text.find('"', at + 6) - at - 6);
      link = link.substr(0, link.find('#'));
      if (link.empty() || link.find(':') != std::string::npos) continue;
      const std::string target = doc_test::LinkedFileName(link);
      EXPECT_TRUE(fs::is_regular_file((language / page).parent_path() / target)) << page << " links " << link;
    }
  }
  if (brambolt::FindProgram("chmcmd").empty()) GTEST_SKIP() << "chmcmd is not installed";
  brambolt::SetShellAssociation(".hhp", "chmcmd");
  ASSERT_TRUE(GenerateHtmlHelp(p.project, FillHtmlHelpDefaults(p.project, "Shapes"), nullptr));
  const std::string bytes = doc_test::ReadFile(language / "Shapes.chm");
  std::set<std::string> held;
  for (const std::string& name : ReadHelpDirectory(bytes))
    if (name.starts_with("/") && !name.ends_with("/")) held.insert(name.substr(1));
  for (const std::string& file : written) EXPECT_TRUE(held.count(file)) << file << " is not in the help file";
  for (const char* file : {"Shapes.hhc", "Shapes.hhk"}) {
    const Sitemap map = ReadSitemap(doc_test::ReadFile(language / file));
    std::set<std::string> names;
    for (const SitemapEntry& entry : map.entries) {
      names.insert(entry.name);
      std::string local = entry.local;
      std::replace(local.begin(), local.end(), '\\', '/');
      if (!local.empty()) {
        EXPECT_TRUE(held.count(local)) << file << ": " << entry.name << " opens " << local;
      }
    }
    for (const char* name : {"\xA5\x5C\xAF\xE0", "\xB3\x5C\xA5\x5C\xBB\x5C", "m_n\xBC\x65\xAB\xD7"})
      EXPECT_TRUE(names.count(name)) << file << " has no entry " << name;
    // The index a viewer lists, where the help holds one compiled, names them so too.
    if (std::string(file) == "Shapes.hhk" && held.count("$WWKeywordLinks/BTree")) {
      std::multiset<std::string> entries;
      for (const SitemapEntry& entry : map.entries) entries.insert(entry.name);
      EXPECT_EQ(ReadCompiledIndex(ReadFromHelp(language / "Shapes.chm", p.folder.Path(), "$WWKeywordLinks/BTree"), 950),
                entries);
    }
  }
}

// A Big5 header whose classes and members are named with characters whose second byte is "\", "@"
// or "|" (功 A5 5C, 一 A4 40, 四 A5 7C, 世 A5 40), documented in traditional Chinese and in English
// and its help made, on a Big5 desktop and on one whose names are UTF-8: the class folders are
// named alike on both, and the contents and index list every page the run wrote, each class and
// member named as its page names it, none of them said to be missing.
TEST(HtmlHelp, Big5NamesWithPathBytesAreListedWholeUnderAUtf8LocaleToo) {
  static constexpr const char* kWorkshop =
      "Please make sure you have correct installed Microsoft HTML Help Workshop Version 4.74.8702.0!";
  const auto big5 = [](const char* text) { return brambolt::Utf8ToCodePage(text, 950); };
  const std::string header = big5(
      "class 功能\n{\npublic:\n    int 許可(int n);\n    int 世;\n};\n"
      "class 一四 : public 功能\n{\npublic:\n    void 加也();\n};\n"
      "class 四B\n{\npublic:\n    void 丙();\n};\n"
      "class F乙\n{\npublic:\n    void 四();\n    void 功();\n};\n");
  struct Case {
    const char* locale;
    int nLanguage;
  };
  for (const Case& c : {Case{"zh_TW.UTF-8", LANGUAGE_CHT}, Case{"zh_TW.UTF-8", LANGUAGE_ENG},
                        Case{"zh_TW.BIG5", LANGUAGE_CHT}, Case{"zh_TW.BIG5", LANGUAGE_ENG}}) {
    SCOPED_TRACE(std::string(c.locale) + " " + LanguageFolder(c.nLanguage));
    brambolt::ScopedLocale locale(c.locale);
    const bool bUtf8 = std::string(c.locale).ends_with("UTF-8");
    ShapesProject p(header.c_str());
    HelpShell shell(p.project, p.strProjectFolder);
    p.project.m_nOutputLanguage = c.nLanguage;
    p.project.GeneratePages(c.nLanguage, GetDocumentationFolder(p.strProjectFolder, c.nLanguage), nullptr);
    brambolt::SetShellAssociation(".hhp", "");
    RecordedStarts starts;
    GenerateHtmlHelp(p.project, FillHtmlHelpDefaults(p.project, "t"), nullptr);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"ShowMessage 64 " + std::string(kWorkshop), "RefreshOutputTree"}));
    const fs::path language = fs::path(p.folder.Path()) / LanguageFolder(c.nLanguage);
    // The class folders: each such character as its number, the others in the desktop's charset.
    const auto onDisk = [&](const char* utf8) { return bUtf8 ? std::string(utf8) : big5(utf8); };
    std::set<std::string> folders;
    for (const auto& entry : fs::directory_iterator(language / "Htmls"))
      if (entry.is_directory() && fs::exists(entry.path() / "Member Functions"))
        folders.insert(entry.path().filename().string());
    EXPECT_EQ(folders, (std::set<std::string>{onDisk("(U+529F)能"), onDisk("(U+4E00)(U+56DB)"), "(U+56DB)B",
                                              onDisk("F乙")}));
    std::set<std::string> written;
    for (const auto& entry : fs::recursive_directory_iterator(language / "Htmls")) {
      const std::string name = fs::relative(entry.path(), language).generic_string();
      if (entry.is_regular_file() && name.ends_with(".htm") && name != "Htmls/Hierarchy_Chart.htm") written.insert(name);
    }
    // A Chinese name as the pages of the language give it.
    const auto shown = [&](const char* utf8) {
      if (c.nLanguage == LANGUAGE_CHT) return big5(utf8);
      std::string references;
      for (const char16_t ch : brambolt::AnsiToWide(big5(utf8), 950))
        references += ch < 0x80 ? std::string(1, static_cast<char>(ch)) : "&#" + std::to_string(static_cast<unsigned>(ch)) + ";";
      return references;
    };
    for (const char* file : {"t.hhc", "t.hhk"}) {
      SCOPED_TRACE(file);
      const Sitemap map = ReadSitemap(doc_test::ReadFile(language / file));
      std::set<std::string> listed;
      std::set<std::string> names;
      for (const SitemapEntry& entry : map.entries) {
        names.insert(entry.name);
        std::string local = entry.local;
        std::replace(local.begin(), local.end(), '\\', '/');
        if (!local.empty()) listed.insert(local);
      }
      EXPECT_EQ(listed, written);
      for (const char* name : {"功能", "許可", "世", "一四", "加也", "四B", "丙", "F乙", "四", "功"})
        EXPECT_TRUE(names.count(shown(name))) << file << " has no entry " << name;
    }
  }
}

}  // namespace

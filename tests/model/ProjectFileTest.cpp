// The .dcp project file: its exact bytes, what loading repairs, damaged files, safe saving, and
// reopening the documents it names.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "core/CException.h"
#include "core/CMemFile.h"
#include "gdi/DC.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "model/CWorkSpaceObj.h"
#include "ModelTestSupport.h"

using model_test::ArchiveImage;
using model_test::LoadBytes;
using model_test::RecordingShell;
using model_test::S;
using model_test::StoreBytes;
using model_test::TempFolder;

namespace {

// The .dcp image of a project, written field by field from the file layout.
struct ProjectImage {
  std::string reserved7 = "none", reserved1, reserved2, reserved3, title;
  uint32_t dwReserved1 = 0, dwReserved2 = 0, dwReserved3 = 1;
  std::string helpContents, helpIndex, helpCompiled, helpProject, helpCompiled2, helpTitle, helpTopic;
  uint32_t componentId = 0, dwReserved4 = 0, dwReserved5 = 0;
  std::string reserved4, reserved5, reserved6;
  uint32_t dwReserved6 = 0, dwReserved7 = 100, dwReserved8 = 0xC0C0C0;
  uint32_t options[13] = {0, 0, 0, 1, 102, 1, 0, 1, 1, 0, 3, 600, 4};
  std::string reserved8;
  uint32_t dwReserved9 = 0, language = 1002, dwReserved10 = 102;
  std::string author = "Your Name", department, email, homePage, company = "You Company",
              copyright = "Copyright ?2001.";
  uint32_t dwReserved11 = 0;
  std::string reserved9 = "MY_WND_CLASS_NAME";
  uint32_t colors[4] = {0xFFFFFF, 0xC0C0C0, 0xFFFFFF, 0xFFCC99};
  std::string description;
  std::vector<std::string> titles;

  std::string Bytes() const {
    ArchiveImage a;
    a.String(reserved7).String(reserved1).String(reserved2).String(reserved3).String(title);
    a.Dword(dwReserved1).Dword(dwReserved2).Dword(dwReserved3);
    a.String(helpContents).String(helpIndex).String(helpCompiled).String(helpProject).String(helpCompiled2);
    a.String(helpTitle).String(helpTopic);
    a.Dword(componentId).Dword(dwReserved4).Dword(dwReserved5);
    a.String(reserved4).String(reserved5).String(reserved6);
    a.Dword(dwReserved6).Dword(dwReserved7).Dword(dwReserved8);
    for (uint32_t option : options) a.Dword(option);
    a.String(reserved8).Dword(dwReserved9).Dword(language).Dword(dwReserved10);
    a.String(author).String(department).String(email).String(homePage).String(company).String(copyright);
    a.Dword(dwReserved11).String(reserved9);
    for (uint32_t color : colors) a.Dword(color);
    a.String(description);
    a.Count(static_cast<uint32_t>(titles.size()));
    for (const std::string& t : titles) a.String(t);
    return a.Bytes();
  }
};

int EntryCount(const TempFolder& folder) {
  auto entries = std::filesystem::directory_iterator(folder.Path());
  return static_cast<int>(std::distance(begin(entries), end(entries)));
}

// Every stored field of a project, through Serialize itself (used to compare states).
std::string StoredState(CWorkSpaceObj& project) {
  return StoreBytes([&project](CArchive& ar) { project.Serialize(ar); });
}

// A project whose every stored field differs from its default, with string lengths on each
// side of the archive's prefix boundaries.
void Fill(CWorkSpaceObj& p) {
  p.m_strReserved7 = "r7";
  p.m_strReserved1 = "r1";
  p.m_strReserved2 = "r2";
  p.m_strReserved3 = "r3";
  p.m_strProjectTitle = CString('T', 254);
  // The member choices share the first reserved number: its low six bits, set for a kind left out.
  p.m_dwReserved1 = 0x140;
  p.m_bDocPrivateFunctions = FALSE;
  p.m_bDocPublicVariables = FALSE;
  p.m_dwReserved2 = 12;
  p.m_dwReserved3 = 13;
  p.m_strHelpContentsFile = "toc.hhc";
  p.m_strHelpIndexFile = "index.hhk";
  p.m_strHelpCompiledFile = "help.chm";
  p.m_strHelpProjectFile = "help.hhp";
  p.m_strHelpTitle = "Help title";
  p.m_strHelpDefaultTopic = "start.htm";
  p.m_nComponentId = 1003;
  p.m_dwReserved4 = 14;
  p.m_dwReserved5 = 15;
  p.m_strReserved4 = "r4";
  p.m_strReserved5 = "r5";
  p.m_strReserved6 = "r6";
  p.m_dwReserved6 = 16;
  p.m_dwReserved7 = 17;
  p.m_dwReserved8 = 18;
  for (int i = 0; i < CWorkSpaceObj::OPTION_COUNT; ++i) p.m_dwOptions[i] = static_cast<DWORD>(200 + i);
  p.m_strReserved8 = "r8";
  p.m_dwReserved9 = 19;
  p.m_nOutputLanguage = LANGUAGE_CHT;
  p.m_dwReserved10 = 20;
  p.m_strAuthor = CString('A', 255);
  p.m_strDepartment = CString('D', 0xFFFD);
  p.m_strEmail = CString('E', 0xFFFE);
  p.m_strHomePage = "http://example.org/";
  p.m_strCompany = "Company";
  p.m_strCopyright = "(c) 2026";
  p.m_dwReserved11 = 21;
  p.m_strReserved9 = "r9";
  p.m_crChartBack = 0x010203;
  p.m_crBaseClass = 0x040506;
  p.m_crDerivedClass = 0x070809;
  p.m_crComponentClass = 0x0A0B0C;
  p.m_strDescription = "Description\r\nof the project";
  p.m_DocTitleList.AddTail("Main.cpp");
  p.m_DocTitleList.AddTail("");
  p.m_DocTitleList.AddTail("View.h");
}

ProjectImage FilledImage() {
  ProjectImage image;
  image.reserved7 = "r7";
  image.reserved1 = "r1";
  image.reserved2 = "r2";
  image.reserved3 = "r3";
  image.title = std::string(254, 'T');
  image.dwReserved1 = 0x140 | 0x04 | 0x10;  // private functions and public variables left out
  image.dwReserved2 = 12;
  image.dwReserved3 = 13;
  image.helpContents = "toc.hhc";
  image.helpIndex = "index.hhk";
  image.helpCompiled = image.helpCompiled2 = "help.chm";
  image.helpProject = "help.hhp";
  image.helpTitle = "Help title";
  image.helpTopic = "start.htm";
  image.componentId = 1003;
  image.dwReserved4 = 14;
  image.dwReserved5 = 15;
  image.reserved4 = "r4";
  image.reserved5 = "r5";
  image.reserved6 = "r6";
  image.dwReserved6 = 16;
  image.dwReserved7 = 17;
  image.dwReserved8 = 18;
  for (int i = 0; i < 13; ++i) image.options[i] = static_cast<uint32_t>(200 + i);
  image.reserved8 = "r8";
  image.dwReserved9 = 19;
  image.language = 1001;
  image.dwReserved10 = 20;
  image.author = std::string(255, 'A');
  image.department = std::string(0xFFFD, 'D');
  image.email = std::string(0xFFFE, 'E');
  image.homePage = "http://example.org/";
  image.company = "Company";
  image.copyright = "(c) 2026";
  image.dwReserved11 = 21;
  image.reserved9 = "r9";
  uint32_t colors[4] = {0x010203, 0x040506, 0x070809, 0x0A0B0C};
  std::memcpy(image.colors, colors, sizeof colors);
  image.description = "Description\r\nof the project";
  image.titles = {"Main.cpp", "", "View.h"};
  return image;
}

}  // namespace

TEST(ProjectFile, DefaultProjectWritesTheGoldenBytes) {
  TempFolder folder;
  CWorkSpaceObj project;
  ASSERT_TRUE(project.SaveToFile((folder / "Default.dcp").c_str()));
  // The whole file, byte for byte: no header, strings with one-byte prefixes, little-endian words.
  const std::string golden = std::string("\x04none\x00\x00\x00\x00", 9) +
                              std::string("\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00", 12) +
                              std::string(7, '\0') + std::string(12, '\0') + std::string(3, '\0') +
                              std::string(4, '\0') + std::string("\x64\x00\x00\x00\xC0\xC0\xC0\x00", 8) +
                              std::string("\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00"
                                          "\x66\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00"
                                          "\x01\x00\x00\x00\x00\x00\x00\x00\x03\x00\x00\x00\x58\x02\x00\x00"
                                          "\x04\x00\x00\x00",
                                          52) +
                              std::string("\x00\x00\x00\x00\x00\xEA\x03\x00\x00\x66\x00\x00\x00", 13) +
                              "\x09Your Name" + std::string(3, '\0') + "\x0BYou Company" + "\x10" +
                              "Copyright ?2001." + std::string(4, '\0') + "\x11MY_WND_CLASS_NAME" +
                              std::string("\xFF\xFF\xFF\x00\xC0\xC0\xC0\x00\xFF\xFF\xFF\x00\x99\xCC\xFF\x00", 16) +
                              std::string("\x00\x00\x00", 3);
  EXPECT_EQ(folder.Read("Default.dcp"), golden);
  EXPECT_EQ(folder.Read("Default.dcp"), ProjectImage().Bytes());
}

TEST(ProjectFile, FilledProjectWritesEveryFieldInFileOrder) {
  TempFolder folder;
  CWorkSpaceObj project;
  Fill(project);
  ASSERT_TRUE(project.SaveToFile((folder / "Filled.dcp").c_str()));
  std::string bytes = folder.Read("Filled.dcp");
  EXPECT_EQ(bytes, FilledImage().Bytes());
  // The prefixes of the boundary lengths: 254 in one byte, 255 and 0xFFFD after 0xFF, 0xFFFE in
  // the 32-bit form.
  EXPECT_NE(bytes.find(std::string("\xFE") + std::string(254, 'T')), std::string::npos);
  EXPECT_NE(bytes.find(std::string("\xFF\xFF\x00", 3) + std::string(255, 'A')), std::string::npos);
  EXPECT_NE(bytes.find(std::string("\xFF\xFD\xFF", 3) + "DDDD"), std::string::npos);
  EXPECT_NE(bytes.find(std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7) + "EEEE"), std::string::npos);
}

TEST(ProjectFile, RoundTripGivesBackEveryStoredFieldAndNothingElse) {
  TempFolder folder;
  std::string path = folder / "Round.dcp";
  CWorkSpaceObj saved;
  Fill(saved);
  ASSERT_TRUE(saved.SaveToFile(path.c_str()));

  CWorkSpaceObj loaded;
  loaded.m_bDocPublicFunctions = FALSE;
  loaded.m_bDocProtectedVariables = FALSE;
  loaded.m_nBoxWidth = 77;
  loaded.m_nChartHeight = 500;
  loaded.m_ComponentClassList.AddTail("SECListCtrl");
  HFONT hBoxFont = loaded.m_hBoxFont;
  ASSERT_TRUE(loaded.LoadFromFile(path.c_str()));

  EXPECT_EQ(StoredState(loaded), StoredState(saved));
  EXPECT_EQ(S(loaded.m_strDepartment), std::string(0xFFFD, 'D'));
  EXPECT_EQ(S(loaded.m_strEmail), std::string(0xFFFE, 'E'));
  EXPECT_EQ(loaded.m_DocTitleList.GetCount(), 3);
  // The member choices are the file's, none left from before.
  const BOOL choices[] = {loaded.m_bDocProtectedFunctions, loaded.m_bDocPublicFunctions,
                          loaded.m_bDocPrivateFunctions,   loaded.m_bDocProtectedVariables,
                          loaded.m_bDocPublicVariables,    loaded.m_bDocPrivateVariables};
  EXPECT_EQ(std::vector<BOOL>(std::begin(choices), std::end(choices)),
            (std::vector<BOOL>{TRUE, TRUE, FALSE, TRUE, FALSE, TRUE}));
  EXPECT_EQ(loaded.m_dwReserved1, 0x154u);
  // Settings that are not stored keep what they were.
  EXPECT_EQ(loaded.m_nBoxWidth, 77);
  EXPECT_EQ(loaded.m_nChartHeight, 500);
  EXPECT_EQ(loaded.m_ComponentClassList.GetCount(), 1);
  EXPECT_EQ(loaded.m_hBoxFont, hBoxFont);
  EXPECT_FALSE(loaded.IsModified());
}

// A file that stored no member choices (every older file: the word is 0), and an empty file,
// list every kind of member, whatever the project open before them had chosen.
TEST(ProjectFile, AFileWithoutMemberChoicesListsEveryKind) {
  TempFolder folder;
  const std::string older = folder.Write("Older.dcp", ProjectImage().Bytes());
  const std::string empty = folder.Write("Empty.dcp");
  for (const std::string& path : {older, empty}) {
    CWorkSpaceObj project;
    project.m_bDocProtectedFunctions = project.m_bDocPrivateVariables = FALSE;
    ASSERT_TRUE(project.LoadFromFile(path.c_str()));
    EXPECT_TRUE(project.m_bDocProtectedFunctions && project.m_bDocPublicFunctions && project.m_bDocPrivateFunctions &&
                project.m_bDocProtectedVariables && project.m_bDocPublicVariables && project.m_bDocPrivateVariables)
        << path;
  }
}

TEST(ProjectFile, LoadRepairsOutputLanguageAndShadowSize) {
  struct Case {
    uint32_t language;
    uint32_t shadowSize;
    int expectedLanguage;
    int expectedShadowSize;
  };
  const Case cases[] = {
      {0, 600, 1002, 3},          {999, 599, 1002, 599},  {1000, 3, 1000, 3},
      {1001, 0, 1001, 0},         {1002, 601, 1002, 3},   {1003, 0x7FFFFFFF, 1002, 3},
      {0xFFFFFFFF, 0x80000000, 1002, INT32_MIN},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    ProjectImage image;
    image.language = c.language;
    image.options[CWorkSpaceObj::OPTION_SHADOW_SIZE] = c.shadowSize;
    std::string path = folder.Write("Repair.dcp", image.Bytes());
    CWorkSpaceObj project;
    ASSERT_TRUE(project.LoadFromFile(path.c_str()));
    EXPECT_EQ(project.m_nOutputLanguage, c.expectedLanguage) << c.language;
    EXPECT_EQ(project.GetShadowSize(), c.expectedShadowSize) << c.shadowSize;
  }
}

TEST(ProjectFile, SecondCopyOfTheCompiledFileNameWins) {
  TempFolder folder;
  ProjectImage image;
  image.helpCompiled = "first.chm";
  image.helpCompiled2 = "second.chm";
  std::string path = folder.Write("Twice.dcp", image.Bytes());
  CWorkSpaceObj project;
  ASSERT_TRUE(project.LoadFromFile(path.c_str()));
  EXPECT_EQ(S(project.m_strHelpCompiledFile), "second.chm");
}

TEST(ProjectFile, EmptyFileLoadsWithoutChangingSettings) {
  TempFolder folder;
  std::string path = folder.Write("Empty.dcp");
  CWorkSpaceObj project;
  project.m_strProjectTitle = "Kept";
  project.m_nOutputLanguage = LANGUAGE_CHS;
  project.m_DocTitleList.AddTail("Old.cpp");
  ASSERT_TRUE(project.LoadFromFile(path.c_str()));
  EXPECT_EQ(S(project.m_strProjectTitle), "Kept");
  EXPECT_EQ(project.m_nOutputLanguage, LANGUAGE_CHS);
  // The titles were the previous project's.
  EXPECT_TRUE(project.m_DocTitleList.IsEmpty());
}

TEST(ProjectFile, LoadReplacesThePreviousProjectsTitles) {
  TempFolder folder;
  ProjectImage image;
  image.titles = {"New.h", "New.cpp"};
  std::string path = folder.Write("Titles.dcp", image.Bytes());
  CWorkSpaceObj project;
  project.m_DocTitleList.AddTail("Old.cpp");
  ASSERT_TRUE(project.LoadFromFile(path.c_str()));
  ASSERT_EQ(project.m_DocTitleList.GetCount(), 2);
  EXPECT_EQ(S(project.m_DocTitleList.GetHead()), "New.h");
  EXPECT_EQ(S(project.m_DocTitleList.GetTail()), "New.cpp");
}

TEST(ProjectFile, EveryTruncationFailsAndLeavesTheProjectAsItWas) {
  TempFolder folder;
  ProjectImage image;
  image.title = "Title";
  image.titles = {"A.h", "B.cpp"};
  const std::string whole = image.Bytes();
  CWorkSpaceObj project;
  Fill(project);
  project.m_DocTitleList.RemoveAll();
  project.m_DocTitleList.AddTail("Open.h");
  const std::string before = StoredState(project);
  for (size_t length = 1; length < whole.size(); ++length) {
    std::string path = folder.Write("Cut.dcp", whole.substr(0, length));
    ASSERT_FALSE(project.LoadFromFile(path.c_str())) << length;
    ASSERT_EQ(StoredState(project), before) << length;
  }
  std::string path = folder.Write("Cut.dcp", whole);
  EXPECT_TRUE(project.LoadFromFile(path.c_str()));
  EXPECT_EQ(S(project.m_strProjectTitle), "Title");
}

TEST(ProjectFile, LyingLengthsAndCountsFailAndLeaveTheProjectAsItWas) {
  TempFolder folder;
  ProjectImage image;
  const std::string whole = image.Bytes();
  // A first string that claims 4 GiB, a 16-bit and a 32-bit title count far beyond the file.
  const std::string lies[] = {
      std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7) + whole.substr(5),
      std::string("\xFF\x00\x10", 3) + whole.substr(5),
      whole.substr(0, whole.size() - 2) + std::string("\xFE\xFF", 2) + "\x01x",
      whole.substr(0, whole.size() - 2) + std::string("\xFF\xFF\x00\x00\x00\x40", 6),
  };
  CWorkSpaceObj project;
  project.m_strAuthor = "Someone";
  project.m_DocTitleList.AddTail("Open.h");
  const std::string before = StoredState(project);
  for (const std::string& lie : lies) {
    std::string path = folder.Write("Lie.dcp", lie);
    EXPECT_FALSE(project.LoadFromFile(path.c_str()));
    EXPECT_EQ(StoredState(project), before);
  }
}

TEST(ProjectFile, MissingFileFailsWithoutChangingAnything) {
  TempFolder folder;
  CWorkSpaceObj project;
  project.m_DocTitleList.AddTail("Open.h");
  EXPECT_FALSE(project.LoadFromFile((folder / "Missing.dcp").c_str()));
  EXPECT_EQ(project.m_DocTitleList.GetCount(), 1);
}

TEST(ProjectFile, SaveReplacesTheFileWholeAndLeavesNoTemporaryFile) {
  TempFolder folder;
  std::string path = folder.Write("Proj.dcp", std::string(100000, 'x'));
  CWorkSpaceObj project;
  ASSERT_TRUE(project.SaveToFile(path.c_str()));
  EXPECT_EQ(folder.Read("Proj.dcp"), ProjectImage().Bytes());
  EXPECT_EQ(EntryCount(folder), 1);  // no temporary file left behind
}

// A project whose archiving fails after it has written part of the file.
class CFailingWorkSpaceObj : public CWorkSpaceObj {
 public:
  void Serialize(CArchive& ar) override {
    CWorkSpaceObj::Serialize(ar);
    ar.Flush();
    AfxThrowFileException(CFileException::diskFull);
  }
};

TEST(ProjectFile, SaveThatFailsMidwayLeavesTheOldFileWhole) {
  TempFolder folder;
  ProjectImage image;
  image.title = "Old";
  std::string path = folder.Write("Proj.dcp", image.Bytes());
  CFailingWorkSpaceObj project;
  project.m_strProjectTitle = "New";
  EXPECT_FALSE(project.SaveToFile(path.c_str()));
  EXPECT_EQ(folder.Read("Proj.dcp"), image.Bytes());
  EXPECT_EQ(EntryCount(folder), 1);  // no temporary file left behind
}

TEST(ProjectFile, SaveThatCannotOpenFailsAndLeavesTheOldFile) {
  TempFolder folder;
  std::string path = folder.Write("Dir.dcp/Keep.txt", "kept");
  CWorkSpaceObj project;
  EXPECT_FALSE(project.SaveToFile((folder / "Dir.dcp").c_str()));
  EXPECT_EQ(folder.Read("Dir.dcp/Keep.txt"), "kept");
  EXPECT_FALSE(project.SaveToFile((folder / "No/Such/Folder.dcp").c_str()));
}

TEST(ProjectFile, SettingsLayoutIsTheShortOrder) {
  CWorkSpaceObj project;
  project.m_nOutputLanguage = LANGUAGE_CHS;
  project.m_DocTitleList.AddTail("A.h");
  std::string bytes = StoreBytes([&project](CArchive& ar) { project.SerializeSettings(ar); });
  auto settingsImage = [](uint32_t language, uint32_t shadowSize) {
    ArchiveImage image;
    image.String("none").String("").String("").String("").String("");
    image.Dword(0).Dword(0).Dword(1).Dword(0).Dword(0);
    image.String("").String("").String("").Dword(0).Dword(100).Dword(0xC0C0C0);
    for (uint32_t option : {0u, 0u, 0u, 1u, 102u, 1u, 0u, 1u, 1u, 0u, shadowSize, 600u, 4u}) image.Dword(option);
    image.String("").Dword(0).Dword(language).Dword(102);
    image.String("Your Name").String("").String("").String("").String("You Company").String("Copyright ?2001.");
    image.Dword(0).String("MY_WND_CLASS_NAME").Count(1).String("A.h");
    return image.Bytes();
  };
  EXPECT_EQ(bytes, settingsImage(1000, 3));

  // Loading repairs the language only (a shadow size of 600 stays).
  CWorkSpaceObj loaded;
  LoadBytes(settingsImage(5, 600), [&loaded](CArchive& ar) { loaded.SerializeSettings(ar); });
  EXPECT_EQ(loaded.m_nOutputLanguage, LANGUAGE_ENG);
  EXPECT_EQ(loaded.GetShadowSize(), 600);
}

TEST(ProjectDefaults, MatchTheDocumentedValues) {
  CWorkSpaceObj project;
  EXPECT_EQ(project.m_nOutputLanguage, LANGUAGE_ENG);
  EXPECT_FALSE(project.GetShadow());
  EXPECT_EQ(project.GetShadowSize(), 3);
  EXPECT_EQ(project.m_crBaseClass, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(project.m_crComponentClass, RGB(153, 204, 255));
  EXPECT_EQ(project.m_nBoxWidth, 180);
  EXPECT_EQ(project.m_nBoxHeight, 20);
  LOGFONT box{};
  LOGFONT title{};
  ASSERT_EQ(GetObject(project.m_hBoxFont, sizeof box, &box), static_cast<int>(sizeof box));
  ASSERT_EQ(GetObject(project.m_hTitleFont, sizeof title, &title), static_cast<int>(sizeof title));
  EXPECT_STREQ(box.lfFaceName, "Fixedsys");
  EXPECT_EQ(box.lfHeight, 11);
  EXPECT_EQ(box.lfWeight, FW_NORMAL);
  EXPECT_STREQ(title.lfFaceName, "Fixedsys");
  EXPECT_EQ(title.lfHeight, 32);
  EXPECT_EQ(title.lfWeight, FW_BOLD);
  LOGFONT gui{};
  GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  EXPECT_EQ(box.lfCharSet, gui.lfCharSet);
  EXPECT_EQ(box.lfPitchAndFamily, gui.lfPitchAndFamily);
  EXPECT_TRUE(project.m_bDocProtectedFunctions && project.m_bDocPublicFunctions && project.m_bDocPrivateFunctions &&
              project.m_bDocProtectedVariables && project.m_bDocPublicVariables && project.m_bDocPrivateVariables);
}

TEST(ProjectDefaults, ChartFontsLiveAndDieWithTheProject) {
  size_t before = brambolt::GdiObjectCount();
  {
    CWorkSpaceObj project;
    EXPECT_EQ(brambolt::GdiObjectCount(), before + 2);
  }
  EXPECT_EQ(brambolt::GdiObjectCount(), before);
}

TEST(ReopenDocuments, OpensEachTitleByItsEndingInLowerCase) {
  RecordingShell shell;
  CWorkSpaceObj project;
  for (const char* title : {"View.H", "MAIN.CPP", "Form.XRS", "a.dbp", "b.xms", "c.rpp", "notes.txt", "Page.HTM",
                            "Letter.DOC", "h", ".h", "Makefile"})
    project.m_DocTitleList.AddTail(title);
  project.ReopenDocuments();
  const std::vector<std::string> expected = {
      "OpenDiagramFile view.h", "OpenDiagramFile main.cpp", "OpenFormFile form.xrs", "OpenFormFile a.dbp",
      "OpenFormFile b.xms",     "OpenFormFile c.rpp",       "OpenDiagramFile notes.txt",
      "OpenDiagramFile page.htm", "OpenDiagramFile .h",
  };
  EXPECT_EQ(shell.calls, expected);
}

TEST(ReportSaveLoadException, ShowsOneExclamationBoxExceptForUserCancels) {
  RecordingShell shell;
  CWorkSpaceObj project;
  CUserException user(FALSE);
  project.ReportSaveLoadException("/p/Proj.dcp", &user, FALSE, 0);
  EXPECT_TRUE(shell.calls.empty());

  CFileException denied(CFileException::accessDenied, -1, "/p/Proj.dcp");
  project.ReportSaveLoadException("/p/Proj.dcp", &denied, TRUE, 0);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].rfind("ShowMessage 48 ", 0), 0u);
  EXPECT_NE(shell.calls[0].find("Proj.dcp"), std::string::npos);

  CArchiveException eof(CArchiveException::endOfFile);
  project.ReportSaveLoadException("/p/Proj.dcp", &eof, FALSE, 0);
  EXPECT_EQ(shell.calls.size(), 2u);
}

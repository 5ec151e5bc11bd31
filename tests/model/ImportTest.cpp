// Visual C++ project import: workspaces, projects and makefiles in the shapes Visual C++ 6
// wrote them, the opener's messages, the copy of every listed file, and the project writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DlgTestSupport.h"
#include "controls/FileDialog.h"
#include "foundation/SECFileSystem.h"
#include "model/CProjectObj.h"
#include "model/EBMsDspProjectObj.h"
#include "model/EBMsDswProjectObj.h"
#include "model/EBMsMakProjectObj.h"
#include "model/ModelTestSupport.h"

namespace {

using model_test::RecordingShell;
using model_test::S;
using model_test::TempFolder;

// Visual C++ wrote its project files with CR LF line ends.
std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

const std::string kDspHead =
    "# Microsoft Developer Studio Project File - Name=\"App\" - Package Owner=<4>\n"
    "# Microsoft Developer Studio Generated Build File, Format Version 6.00\n"
    "# ** DO NOT EDIT **\n"
    "\n"
    "# TARGTYPE \"Win32 (x86) Application\" 0x0101\n"
    "\n"
    "CFG=App - Win32 Debug\n"
    "!MESSAGE This is not a valid makefile. To build this project using NMAKE,\n"
    "\n"
    "# Begin Project\n"
    "# PROP AllowPerConfigDependencies 0\n"
    "CPP=cl.exe\n"
    "\n"
    "!IF  \"$(CFG)\" == \"App - Win32 Release\"\n"
    "# ADD CPP /nologo /MD /W3 /GX /O2 " + std::string(600, 'D') + "\n"
    "!ENDIF \n"
    "\n"
    "# Begin Target\n"
    "\n"
    "# Name \"App - Win32 Release\"\n"
    "# Name \"App - Win32 Debug\"\n";

const std::string kDspGroups =
    "# Begin Group \"Source Files\"\n"
    "\n"
    "# PROP Default_Filter \"cpp;c;cxx;rc;def;r;odl;idl;hpj;bat\"\n"
    "# Begin Source File\n"
    "\n"
    "SOURCE=.\\App.cpp\n"
    "# End Source File\n"
    "# Begin Source File\n"
    "\n"
    "SOURCE=.\\StdAfx.cpp\n"
    "# ADD CPP /Yc\"stdafx.h\"\n"
    "# End Source File\n"
    "# Begin Group \"Parsers\"\n"
    "\n"
    "# PROP Default_Filter \"\"\n"
    "# Begin Source File\n"
    "\n"
    "SOURCE=\"..\\Common Code\\Parser Util.cpp\"\n"
    "# End Source File\n"
    "# End Group\n"
    "# End Group\n"
    "# Begin Group \"Header Files\"\n"
    "\n"
    "# PROP Default_Filter \"h;hpp;hxx;hm;inl\"\n"
    "# Begin Source File\n"
    "\n"
    "SOURCE=.\\App.h\n"
    "# End Source File\n"
    "# End Group\n"
    "# Begin Group \"Resource Files\"\n"
    "\n"
    "# PROP Default_Filter \"ico;cur;bmp;dlg;rc2;rct;bin;rgs;gif;jpg;jpeg;jpe\"\n"
    "# Begin Source File\n"
    "\n"
    "SOURCE=.\\hlp\\App.hpj\n"
    "\n"
    "!IF  \"$(CFG)\" == \"App - Win32 Release\"\n"
    "\n"
    "# PROP Ignore_Default_Tool 1\n"
    "USERDEP__APP_H=\"hlp\\AfxCore.rtf\"\n"
    "# Begin Custom Build - Making help file...\n"
    "OutDir=.\\Release\n"
    "InputPath=.\\hlp\\App.hpj\n"
    "InputName=App\n"
    "\n"
    "\"$(OutDir)\\$(InputName).hlp\" : $(SOURCE) \"$(INTDIR)\" \"$(OUTDIR)\"\n"
    "\tstart /wait hcw /C /E /M \"hlp\\$(InputName).hpj\"\n"
    "\n"
    "# End Custom Build\n"
    "\n"
    "!ENDIF \n"
    "\n"
    "# End Source File\n"
    "# End Group\n"
    "# Begin Source File\n"
    "\n"
    "SOURCE=.\\ReadMe.txt\n"
    "# End Source File\n"
    "# End Target\n"
    "# End Project\n";

const std::vector<std::string> kDspFiles = {"App.cpp", "StdAfx.cpp", "..\\Common Code\\Parser Util.cpp", "App.h",
                                            "hlp\\App.hpj", "ReadMe.txt"};

// The paths handed to the shell's copy, in order.
std::vector<std::string> Copied(const RecordingShell& shell) {
  std::vector<std::string> paths;
  const std::string prefix = "CopyFileIntoProject ";
  for (const std::string& call : shell.calls)
    if (call.rfind(prefix, 0) == 0) paths.push_back(call.substr(prefix.size()));
  return paths;
}

std::vector<std::string> Messages(const RecordingShell& shell) {
  std::vector<std::string> texts;
  const std::string prefix = "ShowMessage 0 ";
  for (const std::string& call : shell.calls)
    if (call.rfind(prefix, 0) == 0) texts.push_back(call.substr(prefix.size()));
  return texts;
}

std::vector<std::string> Prefixed(const std::string& folder, const std::vector<std::string>& names) {
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back(folder + name);
  return paths;
}

struct ItemShape {
  std::string name;
  std::string folder;
  int kind;
  int children;
};

bool operator==(const ItemShape& a, const ItemShape& b) {
  return a.name == b.name && a.folder == b.folder && a.kind == b.kind && a.children == b.children;
}

void PrintTo(const ItemShape& s, std::ostream* os) {
  *os << "{" << s.name << ", " << s.folder << ", " << s.kind << ", " << s.children << "}";
}

std::vector<ItemShape> Shapes(const EBProjectBaseObj& project) {
  std::vector<ItemShape> shapes;
  for (POSITION pos = project.m_Items.GetHeadPosition(); pos != nullptr;) {
    const EBProjectBaseObjItem* pItem = project.m_Items.GetNext(pos);
    shapes.push_back({S(pItem->m_strName), S(pItem->m_strFolder), pItem->m_nKind,
                      static_cast<int>(pItem->m_Children.GetCount())});
  }
  return shapes;
}

TEST(ImportDsp, ReadsGroupsNestedGroupsAndFilesInOrder) {
  TempFolder dir;
  const std::string path = dir.Write("App/App.dsp", Crlf(kDspHead + kDspGroups));
  EBMsDspProjectObj project;
  ASSERT_TRUE(project.Open(path.c_str()));
  EXPECT_EQ(S(project.m_strPath), path);
  const std::vector<ItemShape> expected = {
      {"Source Files", "", 5, 3}, {"App.cpp", "", 2, 0},
      {"StdAfx.cpp", "", 2, 0},   {"Parsers", "", 1, 1},
      {"..\\Common Code\\Parser Util.cpp", "", 2, 0},
      {"Header Files", "", 5, 1}, {"App.h", "", 2, 0},
      {"Resource Files", "", 5, 1}, {"hlp\\App.hpj", "", 2, 0},
      {"ReadMe.txt", "", 6, 0}};
  EXPECT_EQ(Shapes(project), expected);
}

TEST(ImportDsp, CopiesEveryListedFileOnceFromTheProjectFolder) {
  RecordingShell shell;
  TempFolder dir;
  const std::string path = dir.Write("App/App.dsp", Crlf(kDspHead + kDspGroups));
  for (const char* name : {"App/App.cpp", "App/StdAfx.cpp", "Common Code/Parser Util.cpp", "App/App.h",
                           "App/hlp/App.hpj", "App/ReadMe.txt"})
    dir.Write(name, "x");
  CProjectObj opener;
  ASSERT_TRUE(opener.OpenProjectFile(path.c_str()));
  ASSERT_TRUE(opener.ImportProjectFiles());
  const std::vector<std::string> copied = Copied(shell);
  EXPECT_EQ(copied, Prefixed(dir / "App/", kDspFiles));
  // Every path, with its backslashes and "..", names the file that is there.
  SECFileSystem fs;
  for (const std::string& copiedPath : copied) EXPECT_TRUE(fs.FileExists(copiedPath.c_str())) << copiedPath;
  EXPECT_TRUE(Messages(shell).empty());
}

TEST(ImportDsp, ReadsLinesOfAnyLengthAndPlainLineFeeds) {
  TempFolder dir;
  const std::string longLine = "# ADD LINK32 " + std::string(5000, 'x') + "\n";
  const std::string path = dir.Write("a.dsp", "# Begin Project\n" + longLine + "# Begin Source File\n" + longLine +
                                                  "SOURCE=.\\After.cpp\n# End Source File\n# End Project\n");
  EBMsDspProjectObj project;
  ASSERT_TRUE(project.Open(path.c_str()));
  EXPECT_EQ(Shapes(project), (std::vector<ItemShape>{{"After.cpp", "", 6, 0}}));
}

struct SourceCase {
  const char* line;
  const char* name;
};

void PrintTo(const SourceCase& c, std::ostream* os) { *os << c.line; }

class ImportSourceLines : public ::testing::TestWithParam<SourceCase> {};

TEST_P(ImportSourceLines, NameTheFileAsTheProjectGivesIt) {
  TempFolder dir;
  const std::string path =
      dir.Write("a.dsp", Crlf(std::string("# Begin Project\n# Begin Source File\n\n") + GetParam().line +
                              "\n# End Source File\n# End Project\n"));
  EBMsDspProjectObj project;
  ASSERT_TRUE(project.Open(path.c_str()));
  ASSERT_EQ(project.m_Items.GetCount(), 1);
  EXPECT_EQ(S(project.m_Items.GetHead()->m_strName), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(VisualCpp6, ImportSourceLines,
                         ::testing::Values(SourceCase{"SOURCE=.\\Main.cpp", "Main.cpp"},
                                           SourceCase{"SOURCE=..\\Common\\Util.cpp", "..\\Common\\Util.cpp"},
                                           SourceCase{"SOURCE=C:\\Lib\\x.cpp", "C:\\Lib\\x.cpp"},
                                           SourceCase{"SOURCE=\".\\My Files\\a b.cpp\"", "My Files\\a b.cpp"},
                                           SourceCase{"source=.\\lower.c", "lower.c"},
                                           SourceCase{"SOURCE=.\\res\\App.rc2 ", "res\\App.rc2"}));

TEST(ImportDsp, AbsolutePathIsCopiedFromWhereItIs) {
  TempFolder dir;
  EBMsDspProjectObj project;
  project.m_strPath = (dir / "proj/a.dsp").c_str();
  EBProjectBaseObjItem* pDrive = project.AddItem(nullptr, "C:\\Lib\\x.cpp", "", 6);
  EBProjectBaseObjItem* pRelative = project.AddItem(nullptr, "..\\y.cpp", "sub\\", 6);
  EXPECT_EQ(S(project.GetItemPath(pDrive)), "C:\\Lib\\x.cpp");
  EXPECT_EQ(S(project.GetItemPath(pRelative)), dir / "proj/sub\\..\\y.cpp");
}

TEST(ImportDsp, EndBeforeBeginCannotBeOpened) {
  RecordingShell shell;
  TempFolder dir;
  const std::string path = dir.Write("a.dsp", "# End Project\r\n# Begin Project\r\n# End Project\r\n");
  CProjectObj opener;
  EXPECT_FALSE(opener.OpenProjectFile(path.c_str()));
  EXPECT_EQ(Messages(shell), std::vector<std::string>{"Project cannot be opened."});
  EXPECT_EQ(opener.GetOpenedProject(), nullptr);
}

TEST(ImportDsp, ExtraEndGroupKeepsFilesInsideTheWorkspaceProject) {
  TempFolder dir;
  dir.Write("Lib/Lib.dsp",
            "# Begin Project\n# End Group\n# Begin Source File\nSOURCE=.\\Lib.cpp\n# End Source File\n# End Project\n");
  const std::string path = dir.Write("w.dsw", "Project: \"Lib\"=.\\Lib\\Lib.dsp - Package Owner=<4>\n");
  EBMsDswProjectObj workspace;
  ASSERT_TRUE(workspace.Open(path.c_str()));
  EXPECT_EQ(Shapes(workspace), (std::vector<ItemShape>{{"Lib\\Lib.dsp", "", 13, 1}, {"Lib.cpp", "Lib\\", 2, 0}}));
}

const char kDsw[] =
    "Microsoft Developer Studio Workspace File, Format Version 6.00\n"
    "# WARNING: DO NOT EDIT OR DELETE THIS WORKSPACE FILE!\n"
    "\n"
    "###############################################################################\n"
    "\n"
    "Project: \"App\"=.\\App\\App.dsp - Package Owner=<4>\n"
    "\n"
    "Package=<5>\n"
    "{{{\n"
    "}}}\n"
    "\n"
    "Package=<4>\n"
    "{{{\n"
    "    Begin Project Dependency\n"
    "    Project_Dep_Name Core - Lib\n"
    "    End Project Dependency\n"
    "}}}\n"
    "\n"
    "###############################################################################\n"
    "\n"
    "Project: \"Core - Lib\"=\".\\Core Lib\\Core - Lib.dsp\" - Package Owner=<4>\n"
    "\n"
    "###############################################################################\n"
    "\n"
    "Project: \"Tool\"=Tool.dsp - Package Owner=<4>\n"
    "\n"
    "###############################################################################\n"
    "\n"
    "Project: \"Gone\"=.\\Gone\\Gone.dsp - Package Owner=<4>\n"
    "\n"
    "###############################################################################\n"
    "\n"
    "Global:\n"
    "\n"
    "Package=<5>\n"
    "{{{\n"
    "}}}\n";

TEST(ImportDsw, ProjectPathsFollowTheWorkspaceRules) {
  EXPECT_EQ(S(EBMsDswProjectObj::ProjectPath("Project: \"App\"=.\\App\\App.dsp - Package Owner=<4>")), "App\\App.dsp");
  EXPECT_EQ(S(EBMsDswProjectObj::ProjectPath("Project: \"A - B\"=\".\\A B\\A - B.dsp\" - Package Owner=<4>")),
            "A B\\A - B.dsp");
  EXPECT_EQ(S(EBMsDswProjectObj::ProjectPath("Project: \"Tool\"=Tool.dsp - Package Owner=<4>")), "Tool.dsp");
  EXPECT_EQ(S(EBMsDswProjectObj::ProjectPath("Project: \"Up\"=..\\Up\\Up.dsp - Package Owner=<4>")),
            "..\\Up\\Up.dsp");
  EXPECT_EQ(S(EBMsDswProjectObj::ProjectPath("Project: nothing")), "");
}

TEST(ImportDsw, CopiesTheFilesOfEveryProjectFromTheirOwnFolders) {
  RecordingShell shell;
  TempFolder dir;
  dir.Write("ws/App/App.dsp", Crlf(kDspHead + kDspGroups));
  dir.Write("ws/Core Lib/Core - Lib.dsp",
            Crlf("# Begin Project\n# Begin Target\n# Begin Group \"Source Files\"\n"
                 "# Begin Group \"Deep\"\n# Begin Group \"Deeper\"\n# Begin Source File\n\nSOURCE=.\\deep.cpp\n"
                 "# End Source File\n# End Group\n# End Group\n# Begin Source File\n\nSOURCE=.\\core.cpp\n"
                 "# End Source File\n# End Group\n# End Target\n# End Project\n"));
  dir.Write("ws/Tool.dsp", Crlf("# Begin Project\n# Begin Source File\nSOURCE=.\\tool.cpp\n# End Source File\n"
                                "# Begin Source File\nSOURCE=$(MSDEVDIR)\\..\\include\\afxwin.h\n# End Source File\n"
                                "# End Project\n"));
  const std::string path = dir.Write("ws/All.dsw", Crlf(kDsw));
  CProjectObj opener;
  ASSERT_TRUE(opener.OpenProjectFile(path.c_str()));
  EXPECT_EQ(S(opener.GetOpenedProject()->m_strPath), path);
  ASSERT_TRUE(opener.ImportProjectFiles());
  std::vector<std::string> expected = Prefixed(dir / "ws/App\\", kDspFiles);
  expected.push_back(dir / "ws/Core Lib\\deep.cpp");
  expected.push_back(dir / "ws/Core Lib\\core.cpp");
  expected.push_back(dir / "ws/.\\tool.cpp");
  EXPECT_EQ(Copied(shell), expected);
  // The project whose file is missing stays without children, and the entry that names a build
  // macro is not copied: both are named, with why, in one message after the copies.
  std::vector<std::string> told;
  for (const std::string& call : shell.calls)
    if (call.rfind("ShowMessage", 0) == 0) told.push_back(call);
  EXPECT_EQ(told,
            (std::vector<std::string>{"ShowMessage 48 2 file(s) were not brought in:\n"
                                      "$(MSDEVDIR)\\..\\include\\afxwin.h: it names a folder by a build macro, which is "
                                      "not known here.\n" + (dir / "ws/") +
                                      "Gone\\Gone.dsp: this project of the workspace is not there, so none of its files."}));
  const std::vector<ItemShape> shapes = Shapes(*opener.GetOpenedProject());
  EXPECT_EQ(shapes.back(), (ItemShape{"Gone\\Gone.dsp", "", 13, 0}));
}

TEST(ImportMak, EachSourceLineNamesAFileOnce) {
  RecordingShell shell;
  TempFolder dir;
  const std::string path = dir.Write(
      "mk/App.mak",
      Crlf("# Microsoft Developer Studio Generated NMAKE File, Based on App.dsp\n"
           "!IF \"$(CFG)\" == \"\"\nCFG=App - Win32 Debug\n!ENDIF \n\n"
           "!IF \"$(CFG)\" == \"App - Win32 Release\" || \"$(CFG)\" == \"App - Win32 Debug\"\n"
           "SOURCE=.\\App.cpp\n\n\"$(INTDIR)\\App.obj\" : $(SOURCE) \"$(INTDIR)\"\n\n"
           "SOURCE=..\\Shared\\Util.cpp\n\n"
           "SOURCE=\".\\My Dialog.cpp\"\n\n"
           "!IF  \"$(CFG)\" == \"App - Win32 Release\"\nSOURCE=.\\app.cpp\n!ENDIF \n\n"
           "InputPath=.\\Release\\App.dll\nSOURCE=\"$(InputPath)\"\n\n"
           "!ENDIF \n"));
  CProjectObj opener;
  ASSERT_TRUE(opener.OpenProjectFile(path.c_str()));
  EXPECT_EQ(Shapes(*opener.GetOpenedProject()),
            (std::vector<ItemShape>{{"App.cpp", "", 6, 0}, {"..\\Shared\\Util.cpp", "", 6, 0},
                                    {"My Dialog.cpp", "", 6, 0}}));
  ASSERT_TRUE(opener.ImportProjectFiles());
  EXPECT_EQ(Copied(shell), Prefixed(dir / "mk/", {"App.cpp", "..\\Shared\\Util.cpp", "My Dialog.cpp"}));
}

struct OpenCase {
  const char* file;
  bool exists;
  bool opened;
  const char* message;
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.file; }

class ImportOpener : public ::testing::TestWithParam<OpenCase> {};

TEST_P(ImportOpener, ChoosesTheReaderByExtension) {
  RecordingShell shell;
  TempFolder dir;
  const OpenCase& c = GetParam();
  const std::string project = "# Begin Project\n# Begin Source File\nSOURCE=.\\a.cpp\n# End Source File\n# End Project\n";
  const std::string path = c.exists ? dir.Write(c.file, project) : dir / c.file;
  CProjectObj opener;
  EXPECT_EQ(opener.OpenProjectFile(path.c_str()) != FALSE, c.opened);
  EXPECT_EQ(opener.GetOpenedProject() != nullptr, c.opened);
  const std::vector<std::string> expected = c.message[0] ? std::vector<std::string>{c.message} : std::vector<std::string>{};
  EXPECT_EQ(Messages(shell), expected);
}

INSTANTIATE_TEST_SUITE_P(Files, ImportOpener,
                         ::testing::Values(OpenCase{"a.dsp", true, true, ""}, OpenCase{"A.DSP", true, true, ""},
                                           OpenCase{"a.Mak", true, true, ""}, OpenCase{"a.dsw", true, true, ""},
                                           OpenCase{"a.txt", true, false, "Unknown project type."},
                                           OpenCase{"dsp", true, false, "Unknown project type."},
                                           OpenCase{"a.dsp", false, false, "Project does not exist."}));

TEST(ImportOpener, FailedOpenKeepsTheProjectOpenedBefore) {
  RecordingShell shell;
  TempFolder dir;
  const std::string good = dir.Write("good.mak", "SOURCE=.\\a.cpp\n");
  const std::string bad = dir.Write("bad.dsp", "no project here\n");
  CProjectObj opener;
  ASSERT_TRUE(opener.OpenProjectFile(good.c_str()));
  EXPECT_FALSE(opener.OpenProjectFile(bad.c_str()));
  ASSERT_NE(opener.GetOpenedProject(), nullptr);
  EXPECT_EQ(S(opener.GetOpenedProject()->m_strPath), good);
}

TEST(ImportOpener, NothingToImportWithoutAProject) {
  RecordingShell shell;
  CProjectObj opener;
  EXPECT_FALSE(opener.ImportProjectFiles());
  EXPECT_TRUE(shell.calls.empty());
}

TEST(ImportOpener, WorkspacesAndMakefilesAreNotWritten) {
  RecordingShell shell;
  TempFolder dir;
  const std::string path = dir.Write("a.mak", "SOURCE=.\\a.cpp\n");
  EBMsMakProjectObj makefile;
  EBMsDswProjectObj workspace;
  EXPECT_FALSE(makefile.Write(path.c_str()));
  EXPECT_FALSE(workspace.Write(path.c_str()));
  EXPECT_EQ(Messages(shell), (std::vector<std::string>{"Not implemented yet.", "Not implemented yet."}));
  EXPECT_EQ(dir.Read("a.mak"), "SOURCE=.\\a.cpp\n");
}

TEST(DspWriter, RewritesTheGroupsAfterTheHeadUnchanged) {
  TempFolder dir;
  const std::string path = dir.Write("App/App.dsp", Crlf(kDspHead + kDspGroups));
  EBMsDspProjectObj project;
  ASSERT_TRUE(project.Open(path.c_str()));
  project.m_dwFlags = 1;
  ASSERT_TRUE(project.Write(path.c_str()));
  EXPECT_EQ(project.m_dwFlags, 0u);
  EXPECT_EQ(project.m_Lines.GetSize(), 0);
  EXPECT_GT(project.m_nFirstGroupLine, 0);

  const std::string written = dir.Read("App/App.dsp");
  EXPECT_EQ(written.substr(0, Crlf(kDspHead).size()), Crlf(kDspHead));
  EXPECT_NE(written.find(Crlf("# Begin Source File\n\nSOURCE=\"..\\Common Code\\Parser Util.cpp\"\n# End Source File\n")),
            std::string::npos);
  EXPECT_EQ(written.substr(written.size() - Crlf("# End Target\n# End Project\n").size()),
            Crlf("# End Target\n# End Project\n"));

  // Read again, the project has the same groups and files, and writing it again changes nothing.
  EBMsDspProjectObj reread;
  ASSERT_TRUE(reread.Open(path.c_str()));
  EXPECT_EQ(Shapes(reread), Shapes(project));
  ASSERT_TRUE(reread.Write(path.c_str()));
  EXPECT_EQ(dir.Read("App/App.dsp"), written);
}

TEST(DspWriter, WritesStdafxWithItsPrecompiledHeaderAndPathsFromTheProjectFolder) {
  TempFolder dir;
  const std::string path = dir.Write("p/p.dsp", "# Begin Project\n# Begin Target\n# Begin Group \"Old\"\n# End Group\n");
  EBMsDspProjectObj project;
  project.m_strPath = path.c_str();
  EBProjectBaseObjItem* pGroup = project.AddItem(nullptr, "Src", "", 5);
  project.AddItem(pGroup, "stdafx.cpp", "", 2);
  project.AddItem(pGroup, "x.cpp", (dir / "p/").c_str(), 2);
  project.AddItem(pGroup, "..\\up.cpp", "", 2);
  ASSERT_TRUE(project.Write(path.c_str()));
  EXPECT_EQ(dir.Read("p/p.dsp"),
            Crlf("# Begin Project\n# Begin Target\n"
                 "# Begin Group \"Src\"\n\n"
                 "# PROP Default_Filter \"h;hpp;hxx;hm;inl;cpp;c;cxx;rc;def;r;odl;idl;hpj;bat\"\n"
                 "# Begin Source File\n\nSOURCE=.\\stdafx.cpp\n# ADD CPP /Yc\"stdafx.h\"\n# End Source File\n"
                 "# Begin Source File\n\nSOURCE=.\\x.cpp\n# End Source File\n"
                 "# Begin Source File\n\nSOURCE=..\\up.cpp\n# End Source File\n"
                 "# End Group\n\n"
                 "# End Target\n# End Project\n"));
}

TEST(DspWriter, GroupsNestedAHundredThousandDeepAreWrittenWithoutRecursion) {
  constexpr int kDepth = 100000;
  std::string text = "# Begin Project\n# Begin Target\n";
  for (int i = 0; i < kDepth; ++i) text += "# Begin Group \"g\"\n";
  text += "# Begin Source File\nSOURCE=.\\deep.cpp\n# End Source File\n";
  for (int i = 0; i < kDepth; ++i) text += "# End Group\n";
  TempFolder dir;
  const std::string path = dir.Write("deep.dsp", text + "# End Target\n# End Project\n");
  EBMsDspProjectObj project;
  ASSERT_TRUE(project.Open(path.c_str()));
  ASSERT_TRUE(project.Write(path.c_str()));
  const std::string written = dir.Read("deep.dsp");
  std::size_t begins = 0, ends = 0;
  for (std::size_t at = 0; (at = written.find("# Begin Group", at)) != std::string::npos; ++at) ++begins;
  for (std::size_t at = 0; (at = written.find("# End Group", at)) != std::string::npos; ++at) ++ends;
  EXPECT_EQ(begins, std::size_t{kDepth});
  EXPECT_EQ(ends, std::size_t{kDepth});
  EXPECT_NE(written.find("SOURCE=.\\deep.cpp"), std::string::npos);
}

TEST(DspWriter, FileWithoutGroupsIsLeftUntouched) {
  TempFolder dir;
  const std::string text = "# Begin Project\r\n# Begin Target\r\n# End Target\r\n# End Project\r\n";
  const std::string path = dir.Write("a.dsp", text);
  EBMsDspProjectObj project;
  ASSERT_TRUE(project.Open(path.c_str()));
  project.AddItem(nullptr, "a.cpp", "", 6);
  EXPECT_FALSE(project.Write(path.c_str()));
  EXPECT_EQ(dir.Read("a.dsp"), text);
  EXPECT_FALSE(project.Write((dir / "missing.dsp").c_str()));
  EXPECT_FALSE(dir.Exists("missing.dsp"));
}

// The open dialog of BrowseAndOpenProject, answered by a person who types a name and presses OK.
TEST(BrowseAndOpenProject, OpensTheProjectChosenInTheOpenDialog) {
  dlg_test::DialogSession session;
  RecordingShell shell;
  TempFolder dir;
  const std::string path = dir.Write("App/App.dsp", Crlf(kDspHead + kDspGroups));
  brambolt::test::ModalAnswers answers;
  std::string firstFilter;
  bool bReadOnlyShown = true;
  answers.When(nullptr, "Open", [&](HWND h) {
    firstFilter = dlg_test::SelectedText(h, cmb1);
    bReadOnlyShown = ::IsWindowVisible(::GetDlgItem(h, chx1)) != FALSE;
    ::SetDlgItemText(h, edt1, path.c_str());
    dlg_test::Command(h, IDOK);
  });
  CProjectObj opener;
  ASSERT_TRUE(opener.BrowseAndOpenProject());
  EXPECT_EQ(firstFilter, "Supported Projects (.dsw;.dsp;.mak)");
  EXPECT_FALSE(bReadOnlyShown);
  ASSERT_NE(opener.GetOpenedProject(), nullptr);
  EXPECT_EQ(S(opener.GetOpenedProject()->m_strPath), path);
  EXPECT_TRUE(Messages(shell).empty());
}

TEST(BrowseAndOpenProject, CancelOpensNothing) {
  dlg_test::DialogSession session;
  RecordingShell shell;
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Open", [](HWND h) { dlg_test::Command(h, IDCANCEL); });
  CProjectObj opener;
  EXPECT_FALSE(opener.BrowseAndOpenProject());
  EXPECT_EQ(opener.GetOpenedProject(), nullptr);
  EXPECT_TRUE(shell.calls.empty());
}

// The dialog itself refuses a file that is not there; a chosen file of another kind is refused
// by the opener with its message.
TEST(BrowseAndOpenProject, MissingFileIsRefusedByTheDialogAndAnotherKindByTheOpener) {
  dlg_test::DialogSession session;
  RecordingShell shell;
  TempFolder dir;
  const std::string text = dir.Write("notes.txt", "x");
  brambolt::test::ModalAnswers answers;
  int nRefusals = 0;
  answers.When(nullptr, "Open", [&](HWND h) {
    ::SetDlgItemText(h, edt1, (dir / "missing.dsp").c_str());
    dlg_test::Command(h, IDOK);
    ::SetDlgItemText(h, edt1, text.c_str());
    dlg_test::Command(h, IDOK);
  });
  answers.When(nullptr, "Open", [&](HWND h) {
    ++nRefusals;
    ::PostMessage(h, WM_COMMAND, IDOK, 0);
  });
  CProjectObj opener;
  EXPECT_FALSE(opener.BrowseAndOpenProject());
  EXPECT_EQ(nRefusals, 1);
  EXPECT_EQ(Messages(shell), (std::vector<std::string>{"Unknown project type."}));
}

}  // namespace

// The project commands on real project files: open, save, close and reopen, an invalid file that
// brings the open project back, New Project through the wizard, files copied in by type with the
// overwrite question, the live-folder walk, the recent list and the commands' enabling.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

#include "AppTestSupport.h"
#include "StartedApp.h"
#include "app/CMainFrame.h"
#include "app/CMainProjectSetDlg.h"
#include "app/CNewProjectMain.h"
#include "app/CNewWizDialog.h"
#include "foundation/SECFileSystem.h"
#include "model/CWorkSpaceObj.h"
#include "os/FileFaults.h"
#include "os/Shell.h"
#include "resources/AppResource.h"
#include "resources/ShellRes.h"
#include "resources/resource.h"
#include "win/ModalLoop.h"

namespace {

namespace fs = std::filesystem;
using apptest::AnsweredBoxes;
using apptest::AppHome;
using apptest::StartedApp;
using apptest::ReadText;
using apptest::TestApp;
using apptest::WriteText;

// A project on disk: its folder with a header of one class, and its project file.
std::string MakeProject(const AppHome& home, const std::string& name, const std::string& title) {
  const std::string folder = home.Folder(name);
  WriteText(folder + "/Header Files/" + name + "Shape.h", "class C" + name + "Shape {\npublic:\n  int m_nSides;\n};\n");
  CWorkSpaceObj project;
  project.m_strProjectTitle = title.c_str();
  const std::string file = folder + "/" + name + ".dcp";
  EXPECT_TRUE(project.SaveToFile(file.c_str()));
  return file;
}

std::string TitleInFile(const std::string& file) {
  CWorkSpaceObj project;
  return project.LoadFromFile(file.c_str()) ? std::string(project.m_strProjectTitle) : "<unreadable>";
}

std::vector<std::string> Recent(const CInkwrightApp& app) {
  std::vector<std::string> paths;
  for (POSITION pos = app.m_listRecentProjects.GetHeadPosition(); pos != nullptr;)
    paths.emplace_back(app.m_listRecentProjects.GetNext(pos));
  return paths;
}

// The items of the explorer's class tree.
int ClassTreeItems(CInkwrightApp& app) {
  auto* pFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
  SECTreeCtrl* pTree = pFrame != nullptr ? pFrame->m_wndProjectExplorer.GetTree(ProjectWorkspaceWnd::kTabClass) : nullptr;
  return pTree != nullptr ? pTree->GetCount() : -1;
}

std::vector<std::string> OpenTitles(CInkwrightApp& app) {
  std::vector<std::string> titles;
  for (POSITION pos = app.GetFirstDocTemplatePosition(); pos != nullptr;) {
    CDocTemplate* pTemplate = app.GetNextDocTemplate(pos);
    for (POSITION docPos = pTemplate->GetFirstDocPosition(); docPos != nullptr;)
      titles.emplace_back(pTemplate->GetNextDoc(docPos)->GetTitle());
  }
  std::sort(titles.begin(), titles.end());
  return titles;
}

int OpenDocuments(CInkwrightApp& app) { return static_cast<int>(OpenTitles(app).size()); }

// The project of that name set as the open one, with its folders made; its folder.
std::string SetUpProject(StartedApp& s, const std::string& name) {
  const std::string project = s.home.Folder(name);
  s.app.SetProjectPath((project + "/" + name + ".dcp").c_str());
  s.app.CreateProjectFolders();
  return project;
}

constexpr UINT kProjectCommands[] = {ID_SAVE_PROJECT,        ID_CLOSE_PROJECT,       ID_INSERT_FILES,
                                     ID_INSERT_MSVC_PROJECT, ID_WRITE_DOCUMENTATION, ID_CURRENT_PROJECT,
                                     ID_GENERATE_HTML_HELP,  ID_INSERT_LIVE_FOLDER,  ID_PROJECT_SETTINGS};
constexpr UINT kAlwaysCommands[] = {ID_NEW_PROJECT, ID_OPEN_PROJECT, ID_SAVE_ALL, ID_FILE_NEW, ID_WRITE_RTF};

void ExpectProjectCommandsEnabled(TestApp& app, BOOL bEnabled) {
  for (UINT nId : kProjectCommands) EXPECT_EQ(app.IsEnabled(nId), bEnabled) << nId;
  for (UINT nId : kAlwaysCommands) EXPECT_EQ(app.IsEnabled(nId), TRUE) << nId;
}

TEST(ProjectCommands, OpenSaveCloseAndReopenARealProject) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string file = MakeProject(s.home, "Alpha", "First");
  const std::string folder = fs::path(file).parent_path().string();
  ExpectProjectCommandsEnabled(app, FALSE);

  // Named with its extension in capitals, the project file opens as the project, not a document.
  const std::string upper = folder + "/Alpha.DCP";
  EXPECT_EQ(app.OpenDocumentFile(upper.c_str()), nullptr);
  EXPECT_STREQ(app.m_strProjectName, "Alpha");
  EXPECT_EQ(std::string(app.m_strProjectFolder), folder + "/");
  EXPECT_EQ(fs::current_path(), fs::path(folder));
  EXPECT_NE(app.m_pWorkSpace->FindClassByName("CAlphaShape"), nullptr);
  EXPECT_GT(ClassTreeItems(app), 0);
  EXPECT_EQ(OpenDocuments(app), 0);
  EXPECT_EQ(Recent(app), std::vector<std::string>{upper});
  ExpectProjectCommandsEnabled(app, TRUE);

  // The same project under another spelling of its folder and name leaves the open documents.
  WriteText(folder + "/Diagrams/Chart.cpp", "// the chart\n");
  EXPECT_TRUE(app.OpenDiagramFile("Chart.cpp"));
  EXPECT_EQ(OpenDocuments(app), 1);
  EXPECT_FALSE(app.IsDifferentProject((folder + "/ALPHA.dcp ").c_str()));
  app.OpenDocumentFile((folder + "/alpha.dcp").c_str());
  EXPECT_EQ(OpenDocuments(app), 1);

  ASSERT_TRUE(app.OpenHeaderFile("AlphaShape.h"));
  EXPECT_EQ(OpenDocuments(app), 2);
  // A header the code page cannot show opens read-only, its title saying so: the project keeps
  // the file's name, without the mark.
  WriteText(folder + "/Header Files/Wide.h", "// \xE4\xB8\xAD\xE6\x96\x87\n");
  ASSERT_TRUE(app.OpenHeaderFile("Wide.h"));
  brambolt::test::RunUntilIdle();
  ASSERT_EQ(OpenDocuments(app), 3);
  ASSERT_EQ(OpenTitles(app)[2], "Wide.h [Read Only]");
  app.m_pWorkSpace->m_strProjectTitle = "Changed";
  app.OnSaveProject();
  EXPECT_EQ(TitleInFile(file), "Changed");
  {
    CWorkSpaceObj stored;
    ASSERT_TRUE(stored.LoadFromFile(file.c_str()));
    std::vector<std::string> names;
    for (POSITION pos = stored.m_DocTitleList.GetHeadPosition(); pos != nullptr;)
      names.emplace_back(stored.m_DocTitleList.GetNext(pos));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"AlphaShape.h", "Chart.cpp", "Wide.h"}));
  }

  app.OnCloseProject();
  EXPECT_TRUE(app.m_strProjectName.IsEmpty());
  EXPECT_TRUE(app.m_strProjectFolder.IsEmpty());
  EXPECT_EQ(app.m_pWorkSpace->FindClassByName("CAlphaShape"), nullptr);
  EXPECT_EQ(ClassTreeItems(app), 0);
  EXPECT_EQ(OpenDocuments(app), 0);
  EXPECT_EQ(Recent(app).front(), folder + "/Alpha.dcp");
  ExpectProjectCommandsEnabled(app, FALSE);

  // Reopened by the shell's DDE open: the title stored with it and the documents it had open, the
  // diagram and the header.
  std::string command = "[open(\"" + Recent(app).front() + "\")]";
  EXPECT_TRUE(app.OnDDECommand(command.data()));
  EXPECT_STREQ(app.m_strProjectName, "Alpha");
  EXPECT_STREQ(app.m_pWorkSpace->m_strProjectTitle, "Changed");
  EXPECT_EQ(OpenTitles(app), (std::vector<std::string>{"AlphaShape.h", "Chart.cpp", "Wide.h [Read Only]"}));
  // Only the read-only header's note, once for each time it opened.
  for (const std::string& text : s.boxes.Texts()) EXPECT_NE(text.find("read-only"), std::string::npos) << text;
}

TEST(ProjectCommands, AnInvalidProjectFileBringsBackTheProjectThatWasOpen) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string file = MakeProject(s.home, "Beta", "Kept");
  const std::string bad = s.home.Folder("Broken") + "/Broken.dcp";
  WriteText(bad, "not a project file at all");
  app.OpenProject(file.c_str());
  app.m_pWorkSpace->m_strHelpTitle = "Beta Help";
  app.m_listRecentProjects.AddHead(bad.c_str());

  app.OpenProject(bad.c_str());
  EXPECT_EQ(s.boxes.Texts(), std::vector<std::string>{"This project file is not a valid project file and cannot be opened."});
  EXPECT_EQ(Recent(app), std::vector<std::string>{file});
  EXPECT_STREQ(app.m_strProjectName, "Beta");
  EXPECT_STREQ(app.m_pWorkSpace->m_strProjectTitle, "Kept");
  EXPECT_STREQ(app.m_pWorkSpace->m_strHelpTitle, "Beta Help");
  EXPECT_NE(app.m_pWorkSpace->FindClassByName("CBetaShape"), nullptr);
  // Saving now writes the project as it was, not an emptied one.
  app.OnSaveAll();
  EXPECT_EQ(TitleInFile(file), "Kept");

  // A file that is gone leaves the recent list, and the user is told it is not there any more.
  const std::string gone = s.home.Folder("Gone") + "/Gone.dcp";
  app.m_listRecentProjects.AddHead(gone.c_str());
  app.OpenProject(gone.c_str());
  EXPECT_EQ(Recent(app), std::vector<std::string>{file});
  ASSERT_EQ(s.boxes.boxes.size(), 2u);
  EXPECT_EQ(s.boxes.Texts()[1], "The project " + gone + " is not there any more: it was deleted or moved.");

  // With no project to go back to, the project is closed.
  app.OnCloseProject();
  app.OpenProject(bad.c_str());
  EXPECT_TRUE(app.m_strProjectName.IsEmpty());
  EXPECT_EQ(s.boxes.boxes.size(), 3u);
}

// A project given on the command line opens at start-up, by its path in any case or by a name
// relative to the folder the program starts in; whatever the program keeps of it (its folder, the
// recent list, the documents' paths) is the full path, which still names it from any other folder.
TEST(ProjectCommands, AProjectFileOnTheCommandLineOpensAtStartUp) {
  for (const bool relative : {false, true}) {
    AppHome home;
    const std::string file = MakeProject(home, "Gamma", "Started");
    const std::string folder = fs::path(file).parent_path().string();
    WriteText(folder + "/Source Code/a.cpp", "int a;\n");
    brambolt::test::UiSession session;
    AnsweredBoxes boxes;
    TestApp app;
    fs::current_path(folder);
    std::string given = relative ? "Gamma.dcp" : folder + "/GAMMA.DCP";
    const std::string full = folder + (relative ? "/Gamma.dcp" : "/GAMMA.DCP");
    char program[] = "visual-brambolt";
    char* argv[] = {program, given.data()};
    brambolt::afx::SetCommandLine(2, argv);
    const BOOL bStarted = app.InitInstance();
    char* none[] = {program};
    brambolt::afx::SetCommandLine(1, none);
    EXPECT_TRUE(bStarted) << given;
    EXPECT_STREQ(app.m_strProjectName, relative ? "Gamma" : "GAMMA");
    EXPECT_EQ(std::string(app.m_strProjectFolder), folder + "/") << given;
    EXPECT_STREQ(app.m_pWorkSpace->m_strProjectTitle, "Started");
    EXPECT_EQ(OpenDocuments(app), 0);
    EXPECT_EQ(Recent(app), std::vector<std::string>{full});
    // A document opened by a relative name is kept by its full path, in the recent-file list too.
    CDocument* doc = app.OpenDocumentFile("Source Code/a.cpp");
    ASSERT_NE(doc, nullptr) << given;
    EXPECT_EQ(std::string(doc->GetPathName()), folder + "/Source Code/a.cpp") << given;
    EXPECT_EQ(std::string((*app.m_pRecentFileList)[0]), folder + "/Source Code/a.cpp") << given;
    fs::current_path("/");
    app.End();
    EXPECT_TRUE(boxes.boxes.empty()) << ::testing::PrintToString(boxes.Texts());
  }
}

// A new project whose location is typed relative to the current folder is kept by its full path:
// its folder, the recent list and the project file written at Exit name it from any other folder.
TEST(ProjectCommands, ANewProjectAtALocationTypedRelativeIsKeptByItsFullPath) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string home = s.home.Folder("here");
  fs::create_directories(home + "/work");
  fs::current_path(home);
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "New Project", [&](HWND h) {
    auto* wizard = dynamic_cast<CNewWizDialog*>(CWnd::FromHandle(h));
    ASSERT_NE(wizard, nullptr);
    const HWND p0 = wizard->GetActivePage()->GetSafeHwnd();
    brambolt::test::TypeText("Rel");
    ::SetFocus(::GetDlgItem(p0, IDC_PROJECT_LOCATION));
    ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
    brambolt::test::TypeText("work");
    for (UINT id : {ID_WIZNEXT, ID_WIZNEXT, ID_WIZNEXT, ID_WIZFINISH}) ::SendMessage(h, WM_COMMAND, id, 0);
  });
  app.m_pMainWnd->SendMessage(WM_COMMAND, ID_NEW_PROJECT);
  ASSERT_TRUE(answers.Unanswered().empty());
  ASSERT_STREQ(app.m_strProjectName, "Rel");
  const std::string full = home + "/work/Rel/Rel.dcp";
  EXPECT_EQ(std::string(app.m_strProjectFolder), home + "/work/Rel/");
  EXPECT_EQ(Recent(app), std::vector<std::string>{full});
  EXPECT_TRUE(fs::exists(full));
  fs::current_path("/");
  app.OnSaveProject();
  EXPECT_EQ(s.boxes.Texts(), std::vector<std::string>{});
  app.OnCloseProject();
  app.OpenProject(full.c_str());
  EXPECT_STREQ(app.m_strProjectName, "Rel");
  EXPECT_EQ(Recent(app), std::vector<std::string>{full});
}

TEST(ProjectCommands, FilesAreCopiedInByTypeAndAnExistingOneOnlyWhenTheUserSaysYes) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string project = SetUpProject(s, "Delta");
  for (const char* sub : {"Header Files", "Source Code", "Output_Chs", "Output_GB5", "Output_Eng"})
    EXPECT_TRUE(fs::is_directory(project + "/" + sub)) << sub;

  const std::string in = s.home.Folder("in");
  struct Case {
    const char* name;
    const char* target;  // null: not copied
  };
  const Case cases[] = {{"a.H", "Header Files"}, {"b.cpp", "Source Code"}, {"c.rc2", "Source Code"},
                        {"d.hm", "Header Files"}, {"e.cxx", "Source Code"}, {"f.txt", nullptr}};
  for (const Case& c : cases) {
    WriteText(in + "/" + c.name, c.name);
    EXPECT_TRUE(app.CopyFileIntoProject((in + "/" + c.name).c_str())) << c.name;
    if (c.target != nullptr) {
      EXPECT_EQ(ReadText(project + "/" + c.target + "/" + c.name), c.name);
    }
  }
  EXPECT_FALSE(fs::exists(project + "/Header Files/f.txt") || fs::exists(project + "/Source Code/f.txt"));
  EXPECT_TRUE(s.boxes.boxes.empty());

  WriteText(in + "/b.cpp", "newer");
  s.boxes.Answer(IDNO);
  EXPECT_FALSE(app.CopyFileIntoProject((in + "/b.cpp").c_str()));
  EXPECT_EQ(ReadText(project + "/Source Code/b.cpp"), "b.cpp");
  EXPECT_EQ(s.boxes.boxes.back().text, "The file b.cpp already exists in your project,do you want to overwrite it?");
  EXPECT_EQ(s.boxes.boxes.back().type, UINT(MB_YESNO | MB_ICONINFORMATION));
  s.boxes.Answer(IDYES);
  EXPECT_FALSE(app.CopyFileIntoProject((in + "/b.cpp").c_str()));
  EXPECT_EQ(ReadText(project + "/Source Code/b.cpp"), "newer");

  // Into any folder, under its own name, with the same question.
  const std::string out = s.home.Folder("out");
  EXPECT_TRUE(app.CopyFileIntoFolder((in + "/f.txt").c_str(), out.c_str()));
  EXPECT_EQ(ReadText(out + "/f.txt"), "f.txt");
  EXPECT_EQ(s.boxes.boxes.size(), 2u);
  WriteText(in + "/f.txt", "changed");
  s.boxes.Answer(IDNO);
  EXPECT_TRUE(app.CopyFileIntoFolder((in + "/f.txt").c_str(), out.c_str()));
  EXPECT_EQ(s.boxes.boxes.size(), 3u);
  EXPECT_EQ(ReadText(out + "/f.txt"), "f.txt");
}

// A disk that fills as soon as anything is written into the folder.
brambolt::ScopedFileFaultHook FullDiskIn(const std::string& folder) {
  return brambolt::ScopedFileFaultHook([folder](brambolt::FileStep step, const std::string& path) {
    return step == brambolt::FileStep::Write && path.compare(0, folder.size() + 1, folder + "/") == 0 ? ENOSPC : 0;
  });
}

TEST(ProjectCommands, InsertingAProjectFileOverItselfOrOntoAFullDiskKeepsIt) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string project = SetUpProject(s, "Theta");
  const std::string headers = project + "/Header Files";
  WriteText(headers + "/Shape.h", "class CShape {};\n");

  // Picked where the dialog starts, by another spelling of its folder, or through a link: the
  // file is the target itself and stays, without a question.
  const std::string link = s.home.Folder("elsewhere") + "/Shape.h";
  fs::create_symlink(headers + "/Shape.h", link);
  for (const std::string& picked : {headers + "/Shape.h", project + "/Source Code/../Header Files/Shape.h", link}) {
    EXPECT_FALSE(app.CopyFileIntoProject(picked.c_str())) << picked;
    EXPECT_EQ(ReadText(headers + "/Shape.h"), "class CShape {};\n") << picked;
  }
  EXPECT_TRUE(s.boxes.boxes.empty());

  // Another Shape.h over it on a full disk: the project's copy stays whole and the user is told.
  const std::string newer = s.home.Folder("newer") + "/Shape.h";
  WriteText(newer, "class CShape { int m_nSides; };\n");
  {
    auto full = FullDiskIn(headers);
    s.boxes.Answer(IDYES);
    EXPECT_FALSE(app.CopyFileIntoProject(newer.c_str()));
    // A new file is not left half-written either.
    WriteText(s.home.Folder("newer") + "/Circle.h", "class CCircle {};\n");
    app.CopyFileIntoProject((s.home.Folder("newer") + "/Circle.h").c_str());
  }
  EXPECT_EQ(ReadText(headers + "/Shape.h"), "class CShape {};\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(headers), fs::directory_iterator()), 1);
  ASSERT_EQ(s.boxes.boxes.size(), 3u);
  // Named as the application joins the path.
  EXPECT_EQ(s.boxes.boxes[1].text, "Disk full while accessing " + project + "/Header Files\\Shape.h.");
  EXPECT_EQ(s.boxes.boxes[2].text, "Disk full while accessing " + project + "/Header Files\\Circle.h.");

  // With room again, Yes replaces it.
  s.boxes.Answer(IDYES);
  app.CopyFileIntoProject(newer.c_str());
  EXPECT_EQ(ReadText(headers + "/Shape.h"), "class CShape { int m_nSides; };\n");
}

TEST(ProjectCommands, AFailedProjectSaveSaysWhyAndTheCloseThatFollowsStops) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string file = MakeProject(s.home, "Iota", "Saved");
  const std::string folder = fs::path(file).parent_path().string();
  app.OpenProject(file.c_str());
  app.m_pWorkSpace->m_strProjectTitle = "Changed";
  app.m_pWorkSpace->m_bModified = TRUE;
  const std::string reason = "Disk full while accessing " + folder + "/Iota.dcp.";
  {
    auto full = FullDiskIn(folder);
    app.OnSaveProject();
    EXPECT_EQ(s.boxes.Texts(), std::vector<std::string>{reason});
    // Closing: the question, Yes, the same reason, and the window stays with the project open.
    s.boxes.Answer(IDYES);
    app.m_pMainWnd->SendMessage(WM_CLOSE);
    brambolt::test::RunUntilIdle();
    ASSERT_EQ(s.boxes.boxes.size(), 3u);
    EXPECT_EQ(s.boxes.boxes[2].text, reason);
    EXPECT_TRUE(::IsWindow(app.m_pMainWnd->GetSafeHwnd()));
    // Closing the project stops there too.
    app.OnCloseProject();
    EXPECT_EQ(s.boxes.boxes.size(), 4u);
    EXPECT_STREQ(app.m_strProjectName, "Iota");
  }
  EXPECT_EQ(TitleInFile(file), "Saved");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);  // the file and its headers
  app.OnSaveProject();
  EXPECT_EQ(TitleInFile(file), "Changed");
}

TEST(ProjectCommands, TheRecentListsSurviveAKill) {
  AppHome home;
  const std::string file = MakeProject(home, "Kappa", "Killed");
  const std::string header = fs::path(file).parent_path().string() + "/Header Files/KappaShape.h";
  const pid_t pid = ::fork();
  if (pid == 0) {
    brambolt::test::UiSession session;
    AnsweredBoxes boxes;
    TestApp app;
    if (app.InitInstance()) {
      app.OpenProject(file.c_str());
      app.OpenDocumentFile(header.c_str());
    }
    ::raise(SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFSIGNALED(status));
  brambolt::ResetRegistryForTesting();
  brambolt::test::UiSession session;
  AnsweredBoxes boxes;
  TestApp app;
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(Recent(app), std::vector<std::string>{file});
  ASSERT_NE(app.m_pRecentFileList, nullptr);
  ASSERT_GT(app.m_pRecentFileList->GetSize(), 0);
  EXPECT_EQ(std::string((*app.m_pRecentFileList)[0]), header);
  app.End();
}

TEST(ProjectCommands, LiveFolderWalkTakesTheChosenTypesAtEveryDepthWithoutFollowingLinks) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string project = SetUpProject(s, "Epsilon");
  const std::string src = s.home.Folder("live");
  const std::string outside = s.home.Folder("outside");
  for (const char* file : {"/a.h", "/x.txt", "/sub/b.cpp", "/sub/deep/c.h", "/sub/deep/z.c"}) WriteText(src + file, file);
  WriteText(outside + "/o.h", "outside");
  fs::create_directory_symlink(src, src + "/sub/loop");
  fs::create_directory_symlink(outside, src + "/away");
  app.m_listLiveFolderTypes.AddTail("h");
  app.m_listLiveFolderTypes.AddTail("cpp");

  SECFileSystem walk;
  app.CopyLiveFolder(src.c_str(), FALSE, 0, walk);
  EXPECT_TRUE(fs::exists(project + "/Header Files/a.h"));
  EXPECT_FALSE(fs::exists(project + "/Source Code/b.cpp"));
  app.CopyLiveFolder((src + "/").c_str(), TRUE, 0, walk);
  EXPECT_TRUE(fs::exists(project + "/Source Code/b.cpp"));
  EXPECT_TRUE(fs::exists(project + "/Header Files/c.h"));
  EXPECT_FALSE(fs::exists(project + "/Source Code/z.c"));
  EXPECT_FALSE(fs::exists(project + "/Header Files/o.h"));
  EXPECT_FALSE(fs::exists(project + "/Header Files/x.txt"));
  EXPECT_TRUE(app.IsLiveFolderType("h"));
  EXPECT_FALSE(app.IsLiveFolderType("H"));
  // The second walk met a.h again and asked about it once.
  EXPECT_EQ(s.boxes.boxes.size(), 1u);
}

// The Live Folder command names the folders whose files it did not look at: one it cannot read
// and a link to a folder (not followed); the files of the others come in.
TEST(ProjectCommands, LiveFolderCommandNamesTheFoldersItCouldNotEnter) {
  StartedApp s;
  brambolt::test::AdvanceClock(3500);  // the splash window, which a key would close, has gone
  const std::string project = SetUpProject(s, "Eta");
  const std::string src = s.home.Folder("live");
  const std::string outside = s.home.Folder("elsewhere");
  for (const char* file : {"/a.h", "/sub/b.h", "/locked/c.h"}) WriteText(src + file, file);
  WriteText(outside + "/o.h", "outside");
  fs::create_directory_symlink(outside, src + "/sub/away");
  brambolt::ScopedFileFaultHook locked([&](brambolt::FileStep step, const std::string& path) {
    return step == brambolt::FileStep::List && path == src + "/locked/" ? EACCES : 0;
  });
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Insert Files into Project", [&](HWND h) {
    brambolt::test::RunUntilIdle();  // the dialog is up, its location taking the keys
    ::SetFocus(::GetDlgItem(h, IDC_LOCATION));
    brambolt::test::TypeText(src);
    brambolt::test::Click(::GetDlgItem(h, IDC_LOOK_IN_SUBFOLDERS), {3, 3});
    brambolt::test::Click(::GetDlgItem(h, IDOK), {3, 3});
  });
  s.app.m_pMainWnd->SendMessage(WM_COMMAND, ID_INSERT_LIVE_FOLDER);
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_TRUE(fs::exists(project + "/Header Files/a.h"));
  EXPECT_TRUE(fs::exists(project + "/Header Files/b.h"));
  EXPECT_FALSE(fs::exists(project + "/Header Files/c.h"));
  EXPECT_FALSE(fs::exists(project + "/Header Files/o.h"));
  ASSERT_EQ(s.boxes.boxes.size(), 1u);
  EXPECT_EQ(s.boxes.boxes[0].text, "2 folder(s) were not brought in:\n" + src +
                                       "\\locked: it cannot be read (Access is denied), so the files in it are not "
                                       "brought in.\n" +
                                       src +
                                       "\\sub\\away: it is a link to a folder, which is not followed, so the files "
                                       "in it are not brought in.");
}

// Ctrl+N opens the wizard with the focus on the project name, so the name can be typed at once.
TEST(ProjectCommands, NewProjectTakesATypedNameMakesItsFoldersCopiesTheChosenFilesAndSavesTheProjectBefore) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string previous = MakeProject(s.home, "Zeta", "Previous");
  app.OpenProject(previous.c_str());
  app.m_pWorkSpace->m_strProjectTitle = "Previous, changed";
  const std::string location = s.home.Folder("Projects");
  const std::string header = s.home.Folder("sources") + "/Widget.h";
  WriteText(header, "class CWidget {\npublic:\n  void Draw();\n};\n");

  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Open", [&](HWND h) {
    ::SetDlgItemText(h, 0x480, header.c_str());
    ::SendMessage(h, WM_COMMAND, IDOK, 0);
  });
  HWND focusedAtFirst = nullptr, nameEdit = nullptr;
  answers.When(nullptr, "New Project", [&](HWND h) {
    auto* wizard = dynamic_cast<CNewWizDialog*>(CWnd::FromHandle(h));
    ASSERT_NE(wizard, nullptr);
    const HWND p0 = wizard->GetActivePage()->GetSafeHwnd();
    // The name is typed at once, where the focus is; only the location is clicked into.
    focusedAtFirst = ::GetFocus();
    nameEdit = ::GetDlgItem(p0, IDC_PROJECT_NAME);
    brambolt::test::TypeText("Widgets");
    ::SetDlgItemText(p0, IDC_PROJECT_LOCATION, location.c_str());
    ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
    ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
    const HWND p2 = wizard->GetActivePage()->GetSafeHwnd();
    ::SendMessage(p2, WM_COMMAND, MAKEWPARAM(IDC_ADD_FILES, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(p2, IDC_ADD_FILES)));
    ::SendMessage(h, WM_COMMAND, ID_WIZNEXT, 0);
    ::SendMessage(h, WM_COMMAND, ID_WIZFINISH, 0);
  });
  brambolt::ScopedLoopFilter accelerators([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  brambolt::test::RunUntilIdle();
  brambolt::test::PressKey('N', brambolt::test::kCtrl);
  EXPECT_TRUE(answers.Unanswered().empty());
  ASSERT_NE(nameEdit, nullptr) << "Ctrl+N opened no wizard";
  EXPECT_EQ(focusedAtFirst, nameEdit);

  const std::string folder = location + "/Widgets";
  EXPECT_STREQ(app.m_strProjectName, "Widgets");
  EXPECT_EQ(std::string(app.m_strProjectFolder), folder + "/");
  for (const char* sub : {"Header Files", "Source Code", "Output_Chs", "Output_GB5", "Output_Eng"})
    EXPECT_TRUE(fs::is_directory(folder + "/" + sub)) << sub;
  EXPECT_EQ(ReadText(folder + "/Header Files/Widget.h"), ReadText(header));
  EXPECT_TRUE(fs::exists(folder + "/Widgets.dcp"));
  EXPECT_NE(app.m_pWorkSpace->FindClassByName("CWidget"), nullptr);
  EXPECT_EQ(app.m_pWorkSpace->FindClassByName("CZetaShape"), nullptr);
  CString strTitle;
  app.m_pMainWnd->GetWindowText(strTitle);
  EXPECT_STREQ(strTitle, "Widgets - Visual Brambolt");
  // The project that was open was saved on the way, and both are in the recent list.
  EXPECT_EQ(TitleInFile(previous), "Previous, changed");
  const std::vector<std::string> recent = Recent(app);
  ASSERT_EQ(recent.size(), 2u);
  EXPECT_EQ(recent[1], previous);
  EXPECT_EQ(fs::path(recent[0].c_str()).filename().string(), "Widgets.dcp");
}


// A click in the middle of a dialog's button.
void ClickButton(HWND hDlg, int nId) {
  const HWND hButton = ::GetDlgItem(hDlg, nId);
  ASSERT_NE(hButton, nullptr) << nId;
  RECT rect{};
  ::GetClientRect(hButton, &rect);
  brambolt::test::Click(hButton, POINT{rect.right / 2, rect.bottom / 2});
}

// A program started on a full home folder, and a new project made there: the wizard's folders
// are made but its project file could not be written. The user is told once why, and once that
// settings are not saved (whichever of the store's files meets the full disk); the project stays
// open as still to be saved, is not listed as a saved project, and closing the program asks to
// save it, which, with room again, writes it.
TEST(ProjectCommands, ANewProjectThatCouldNotBeSavedIsAskedAboutAndNotListed) {
  std::optional<brambolt::ScopedFileFaultHook> full(std::in_place, [](brambolt::FileStep step, const std::string&) {
    return step == brambolt::FileStep::Write ? ENOSPC : 0;
  });
  StartedApp s;
  TestApp& app = s.app;
  const std::string location = s.home.Folder("Projects");
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "New Project", [&](HWND h) {
    auto* wizard = dynamic_cast<CNewWizDialog*>(CWnd::FromHandle(h));
    ASSERT_NE(wizard, nullptr);
    brambolt::test::TypeText("qp");
    ::SetDlgItemText(wizard->GetActivePage()->GetSafeHwnd(), IDC_PROJECT_LOCATION, location.c_str());
    for (int page = 0; page < 3; ++page) ClickButton(h, ID_WIZNEXT);
    ClickButton(h, ID_WIZFINISH);
  });
  brambolt::ScopedLoopFilter accelerators([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
  const std::string file = location + "/qp/qp.dcp";
  for (int i = 0; i < 3; ++i) {
    brambolt::test::RunUntilIdle();
    app.OnIdle(0);  // where the program's loop shows what it was told
  }
  brambolt::test::PressKey('N', brambolt::test::kCtrl);
  for (int i = 0; i < 3; ++i) {
    brambolt::test::RunUntilIdle();
    app.OnIdle(0);
  }
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_FALSE(fs::exists(file));
  const std::vector<std::string> told = s.boxes.Texts();
  EXPECT_EQ(std::count(told.begin(), told.end(), "Disk full while accessing " + file + "."), 1)
      << ::testing::PrintToString(told);
  EXPECT_EQ(std::count_if(told.begin(), told.end(),
                          [](const std::string& text) { return text.rfind("Settings are not saved: ", 0) == 0; }),
            1)
      << ::testing::PrintToString(told);
  EXPECT_EQ(told.size(), 2u) << ::testing::PrintToString(told);
  // Open, still to be saved, and not in the recent list.
  EXPECT_STREQ(app.m_strProjectName, "qp");
  EXPECT_TRUE(app.m_pWorkSpace->IsModified());
  EXPECT_TRUE(Recent(app).empty()) << ::testing::PrintToString(Recent(app));

  // With room again, closing asks, and Yes writes the project and lists it.
  full.reset();
  s.boxes.boxes.clear();
  s.boxes.Answer(IDYES);
  app.m_pMainWnd->SendMessage(WM_CLOSE);
  brambolt::test::RunUntilIdle();
  ASSERT_FALSE(s.boxes.boxes.empty());
  EXPECT_NE(s.boxes.boxes[0].text.find("save any changes made to the project file"), std::string::npos)
      << s.boxes.boxes[0].text;
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(Recent(app), std::vector<std::string>{file});
}

// Finish makes the project the pages show, whichever page it is pressed on and whatever was
// changed after the last Next: files added after going back are copied, a list emptied after it
// copies nothing, and the title and language are those on screen.
TEST(ProjectCommands, NewProjectFinishTakesEveryPageAsShownAfterBackAndNext) {
  struct Case {
    const char* name;
    // The clicks after the first page, as letters: N(ext), B(ack), A(dd a file), D(elete all),
    // T(itle and language changed on the second page); Finish follows.
    const char* steps;
    int finishPage;  // the page Finish is pressed on
  };
  const Case cases[] = {
      {"AddedAfterBack", "NNBA", 2},        // to the last page, back, add, Finish on the file page
      {"DeletedAfterNext", "NANBDBT", 1},   // add, on, back, Delete All, back, retitle, Finish
      {"RetitledOnTheLastPage", "NNBBTNN", 3},
  };
  for (const Case& c : cases) {
    StartedApp s;
    TestApp& app = s.app;
    const std::string location = s.home.Folder("Projects");
    const std::string header = s.home.Folder("sources") + "/Widget.h";
    WriteText(header, "class CWidget {\npublic:\n  void Draw();\n};\n");
    brambolt::test::ModalAnswers answers;
    answers.When(nullptr, "Open", [&](HWND h) {
      ::SetDlgItemText(h, 0x480, header.c_str());
      ClickButton(h, IDOK);
    }, true);
    std::vector<std::string> listed;
    std::string titleShown, languageShown;
    int finishedOn = -1;
    answers.When(nullptr, "New Project", [&](HWND h) {
      auto* wizard = dynamic_cast<CNewWizDialog*>(CWnd::FromHandle(h));
      ASSERT_NE(wizard, nullptr);
      auto* page2 = dynamic_cast<CNewProjectPage2*>(wizard->GetPageByResourceID(IDD_NEWPROJECT_PAGE2));
      const HWND p0 = wizard->GetActivePage()->GetSafeHwnd();
      ::SetDlgItemText(p0, IDC_PROJECT_NAME, c.name);
      ::SetDlgItemText(p0, IDC_PROJECT_LOCATION, location.c_str());
      ClickButton(h, ID_WIZNEXT);
      for (const char* step = c.steps; *step != '\0'; ++step) {
        const HWND page = wizard->GetActivePage()->GetSafeHwnd();
        switch (*step) {
          case 'N': ClickButton(h, ID_WIZNEXT); break;
          case 'B': ClickButton(h, ID_WIZBACK); break;
          case 'A': ClickButton(page, IDC_ADD_FILES); break;
          case 'D': ClickButton(page, IDC_DELETE_ALL_FILES); break;
          case 'T': {
            ::SetDlgItemText(page, IDC_PROJECT_TITLE, "Changed after Next");
            const HWND hBox = ::GetDlgItem(page, IDC_PROJECT_LANGUAGE);
            ::SendMessage(hBox, CB_SETCURSEL, 1, 0);
            ::SendMessage(page, WM_COMMAND, MAKEWPARAM(IDC_PROJECT_LANGUAGE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hBox));
            break;
          }
        }
      }
      // What the pages show when Finish is pressed.
      ASSERT_NE(page2, nullptr);
      for (int i = 0; i < page2->m_ctlFileList.GetItemCount(); ++i)
        listed.emplace_back(page2->m_ctlFileList.GetPath(i));
      const HWND p1 = wizard->GetPageByResourceID(IDD_NEWPROJECT_PAGE1)->GetSafeHwnd();
      titleShown = apptest::DlgText(p1, IDC_PROJECT_TITLE);
      languageShown = apptest::DlgText(p1, IDC_PROJECT_LANGUAGE);
      const UINT pages[] = {IDD_NEWPROJECT_PAGE0, IDD_NEWPROJECT_PAGE1, IDD_NEWPROJECT_PAGE2, IDD_NEWPROJECT_PAGE3};
      for (int nPage = 0; nPage < 4; ++nPage)
        if (wizard->GetActivePage() == wizard->GetPageByResourceID(pages[nPage])) finishedOn = nPage;
      ClickButton(h, ID_WIZFINISH);
    });
    brambolt::ScopedLoopFilter accelerators([&](MSG& msg) { return app.PreTranslateMessage(&msg); });
    brambolt::test::RunUntilIdle();
    brambolt::test::PressKey('N', brambolt::test::kCtrl);
    EXPECT_TRUE(answers.Unanswered().empty()) << c.name;
    EXPECT_EQ(finishedOn, c.finishPage) << c.name;

    const std::string folder = location + "/" + c.name;
    ASSERT_TRUE(fs::exists(folder + "/" + c.name + ".dcp")) << c.name << ": Finish made no project";
    std::vector<std::string> copied;
    for (const char* sub : {"Header Files", "Source Code"})
      for (const auto& entry : fs::directory_iterator(folder + "/" + sub))
        copied.push_back(entry.path().filename().string());
    std::vector<std::string> shownNames;
    for (const std::string& path : listed) shownNames.push_back(fs::path(path).filename().string());
    EXPECT_EQ(copied, shownNames) << c.name;
    CWorkSpaceObj made;
    ASSERT_TRUE(made.LoadFromFile((folder + "/" + c.name + ".dcp").c_str()));
    EXPECT_EQ(std::string(made.m_strProjectTitle), titleShown) << c.name;
    const char* const languages[] = {"Simple Chinese(China)", "GB5(TaiWan)", "English(U.S.A)"};
    ASSERT_TRUE(made.m_nOutputLanguage >= LANGUAGE_CHS && made.m_nOutputLanguage <= LANGUAGE_ENG);
    EXPECT_EQ(languages[made.m_nOutputLanguage - LANGUAGE_CHS], languageShown) << c.name;
  }
}

// Project Settings as a user fills it in: a shadow size the arrows cannot give (or none) is
// refused on OK with the range, on the Diagram page, and the dialog stays; the size and the
// member choices confirmed are what the saved project holds. The choices come back with the
// project after a restart, and a project that stored none (or another one opened after it) lists
// every kind of member.
TEST(ProjectCommands, SettingsRefuseABadShadowSizeAndTheMemberChoicesGoWithTheProject) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string file = MakeProject(s.home, "Chosen", "Chosen");
  const std::string other = MakeProject(s.home, "Plain", "Plain");
  app.OpenProject(file.c_str());

  struct Attempt {
    const char* typed;
    bool refused;
  };
  const Attempt attempts[] = {{"700", true}, {"", true}, {"21", true}, {"-1", true}, {"7", false}};
  std::vector<std::string> boxesAfter;
  std::vector<bool> stayed, onDiagram, focusOnSize;
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Settings", [&](HWND h) {
    auto* pDlg = dynamic_cast<CMainProjectSetDlg*>(CWnd::FromHandle(h));
    ASSERT_NE(pDlg, nullptr);
    const HWND general = pDlg->m_GeneralPage.GetSafeHwnd(), diagram = pDlg->m_DiagramPage.GetSafeHwnd();
    SEC3DTabControl* tabs = pDlg->m_wndTab.Get3DTabControl();
    ClickButton(general, IDC_DOC_PRIVATE_FUNCTIONS);
    ClickButton(general, IDC_DOC_PUBLIC_VARIABLES);
    for (const Attempt& attempt : attempts) {
      // Typed on the Diagram page, then OK pressed from the General page.
      CRect rect;
      tabs->GetTabRect(1, &rect);
      brambolt::test::Click(tabs->GetSafeHwnd(), rect.CenterPoint());
      const HWND size = ::GetDlgItem(diagram, IDC_SHADOW_SIZE);
      RECT field{};
      ::GetClientRect(size, &field);
      brambolt::test::Click(size, POINT{field.right / 2, field.bottom / 2});
      ::SendMessage(size, EM_SETSEL, 0, -1);
      brambolt::test::PressKey(VK_DELETE);
      brambolt::test::TypeText(attempt.typed);
      tabs->GetTabRect(0, &rect);
      brambolt::test::Click(tabs->GetSafeHwnd(), rect.CenterPoint());
      s.boxes.boxes.clear();
      ClickButton(h, IDOK);
      boxesAfter.push_back(s.boxes.boxes.empty() ? "" : s.boxes.boxes.front().text);
      stayed.push_back(::IsWindow(h) && ::IsWindowVisible(h));
      if (!stayed.back()) break;
      onDiagram.push_back(::IsWindowVisible(diagram) && !::IsWindowVisible(general));
      focusOnSize.push_back(::GetFocus() == size);
    }
  });
  app.m_pMainWnd->SendMessage(WM_COMMAND, ID_PROJECT_SETTINGS);
  EXPECT_TRUE(answers.Unanswered().empty());
  const std::string range = "Enter a whole number from 0 to 20.";
  EXPECT_EQ(boxesAfter, (std::vector<std::string>{range, range, range, range, ""}));
  EXPECT_EQ(stayed, (std::vector<bool>{true, true, true, true, false}));
  EXPECT_EQ(onDiagram, (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(focusOnSize, (std::vector<bool>{true, true, true, true}));
  app.OnSaveProject();

  // The saved project, read as a restart reads it.
  CWorkSpaceObj saved;
  ASSERT_TRUE(saved.LoadFromFile(file.c_str()));
  EXPECT_EQ(saved.GetShadowSize(), 7);
  EXPECT_FALSE(saved.m_bDocPrivateFunctions);
  EXPECT_FALSE(saved.m_bDocPublicVariables);
  EXPECT_TRUE(saved.m_bDocProtectedFunctions && saved.m_bDocPublicFunctions && saved.m_bDocProtectedVariables &&
              saved.m_bDocPrivateVariables);

  // Another project of the same run: every kind again; the first one brings its choices back.
  app.OpenProject(other.c_str());
  const CWorkSpaceObj& project = *app.m_pWorkSpace;
  EXPECT_TRUE(project.m_bDocPrivateFunctions && project.m_bDocPublicVariables);
  app.OpenProject(file.c_str());
  EXPECT_FALSE(project.m_bDocPrivateFunctions);
  EXPECT_FALSE(project.m_bDocPublicVariables);
  EXPECT_TRUE(project.m_bDocPublicFunctions);
}

// A modified document whose Save As the user cancels stays open and modified: opening another
// project, closing the project or the main window stops instead of dropping its text.
TEST(ProjectCommands, CancellingTheSaveOfAnUnsavedDocumentKeepsItAndStopsTheCommand) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string first = MakeProject(s.home, "Gamma", "First");
  const std::string second = MakeProject(s.home, "Delta", "Second");
  app.OpenProject(first.c_str());
  app.m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_NEW);
  CDocument* pDoc = nullptr;
  for (POSITION pos = app.GetFirstDocTemplatePosition(); pos != nullptr && pDoc == nullptr;) {
    CDocTemplate* pTemplate = app.GetNextDocTemplate(pos);
    POSITION docPos = pTemplate->GetFirstDocPosition();
    if (docPos != nullptr) pDoc = pTemplate->GetNextDoc(docPos);
  }
  ASSERT_NE(pDoc, nullptr);
  pDoc->SetModifiedFlag(TRUE);
  const int nDocuments = OpenDocuments(app);
  int nAsked = 0;
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Save As", [&](HWND h) {
    ++nAsked;
    ::PostMessage(h, WM_COMMAND, IDCANCEL, 0);
  }, true);

  app.OpenProject(second.c_str());
  app.OnCloseProject();
  app.m_pMainWnd->SendMessage(WM_CLOSE);
  EXPECT_EQ(nAsked, 3);
  EXPECT_TRUE(::IsWindow(app.m_pMainWnd->GetSafeHwnd()));
  EXPECT_STREQ(app.m_strProjectName, "Gamma");
  EXPECT_EQ(OpenDocuments(app), nDocuments);
  EXPECT_TRUE(pDoc->IsModified());
  pDoc->SetModifiedFlag(FALSE);
}

// Build > Automatic Generate HTML Help writes the help project and runs its compiler beside the
// main window, in the compile's window, which shows the result once the compiler has ended.
TEST(ProjectCommands, HtmlHelpIsWrittenAndCompiledInTheCompilersOwnWindow) {
  StartedApp s;
  TestApp& app = s.app;
  const std::string file = MakeProject(s.home, "Eta", "Eta Library");
  app.OpenProject(file.c_str());
  const std::string pages = fs::path(file).parent_path().string() + "/Output_Eng/Htmls";
  WriteText(pages + "/Index.htm", "<html></html>\n");
  brambolt::SetShellAssociation(".hhp", "chmcmd");
  std::vector<std::string> compiled;
  brambolt::ScopedSpawnHook hook([&](const brambolt::SpawnRequest& request) {
    compiled.push_back(request.argv.back());
    return DWORD{0};
  });
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "HTML Help", [](HWND h) { ::SendMessage(h, WM_COMMAND, IDOK, 0); }, true);
  std::string shown;
  answers.When(nullptr, "HTML Help Compiler", [&](HWND h) {
    // The compiler's end comes from the thread that reads it.
    for (;;) {
      brambolt::test::RunUntilIdle();
      char text[512] = {};
      ::GetDlgItemTextA(h, IDC_COMPILER_OUTPUT, text, sizeof text);
      shown = text;
      if (shown.find("help file") != std::string::npos) break;
      ::WaitMessage();
    }
    ::SendMessage(h, WM_COMMAND, IDCANCEL, 0);
  }, true);

  // The three files of the help project are written under the wait cursor, which goes when the
  // command is done.
  const HCURSOR hWait = ::LoadCursor(nullptr, IDC_WAIT);
  std::vector<bool> writtenWaiting;
  brambolt::ScopedFileFaultHook cursor([&](brambolt::FileStep step, const std::string& path) {
    if (step == brambolt::FileStep::Write && path.find("Eta.hh") != std::string::npos &&
        path.find("compiling") == std::string::npos)
      writtenWaiting.push_back(::GetCursor() == hWait);
    return 0;
  });

  ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
  app.m_pMainWnd->SendMessage(WM_COMMAND, ID_GENERATE_HTML_HELP);
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_EQ(writtenWaiting, (std::vector<bool>{true, true, true}));
  EXPECT_NE(::GetCursor(), hWait);
  ASSERT_EQ(compiled.size(), 1u);
  // The compiler gets a working copy of the project beside it, which names a working help file.
  EXPECT_EQ(fs::path(compiled[0]).parent_path(), fs::path(file).parent_path() / "Output_Eng");
  EXPECT_EQ(fs::path(compiled[0]).extension(), ".hhp");
  EXPECT_NE(fs::path(compiled[0]).filename(), "Eta.hhp");
  EXPECT_NE(shown.find("The compiler made no help file."), std::string::npos) << shown;
  // The settings the dialog proposed are kept in the project, which they changed; the help made
  // again as it was leaves nothing to save.
  EXPECT_TRUE(app.m_pWorkSpace->IsModified());
  EXPECT_TRUE(app.m_pWorkSpace->m_bHelpSettingsChanged);
  app.OnSaveProject();
  ASSERT_FALSE(app.m_pWorkSpace->IsModified());
  app.m_pMainWnd->SendMessage(WM_COMMAND, ID_GENERATE_HTML_HELP);
  EXPECT_TRUE(answers.Unanswered().empty());
  EXPECT_EQ(compiled.size(), 2u);
  EXPECT_FALSE(app.m_pWorkSpace->IsModified());
  brambolt::ResetShellAssociations();
}

}  // namespace

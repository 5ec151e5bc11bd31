// The Write Documentation run behind its dialogs: options in and out of the project, the output
// folder of each language, emptying the folder when asked, and the worker thread that drives its
// progress dialog by sent messages and stops between pages when the dialog is cancelled.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <atomic>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "model/CWorkSpaceObj.h"
#include "os/FileApi.h"
#include "os/FileFaults.h"
#include "model/CCopyFileThread.h"
#include "model/DocumentationRun.h"
#include "CaptionWindow.h"
#include "DocTestSupport.h"
#include "ModelTestSupport.h"

using doc_test::CaptionWindow;
using doc_test::ReadTree;
using doc_test::ShapesProject;
using model_test::S;

namespace {

namespace fs = std::filesystem;

TEST(DocumentationRun, OutputFolderFollowsTheLanguageAndAnUnknownOneWritesChs) {
  struct {
    int nLanguage;
    const char* expected;
  } cases[] = {{LANGUAGE_CHS, "P\\Output_Chs\\Htmls\\"},
               {LANGUAGE_CHT, "P\\Output_GB5\\Htmls\\"},
               {LANGUAGE_ENG, "P\\Output_Eng\\Htmls\\"},
               {7, "P\\Output_Chs\\Htmls\\"}};
  for (const auto& c : cases) EXPECT_EQ(S(GetDocumentationFolder("P\\", c.nLanguage)), c.expected) << c.nLanguage;
}

TEST(DocumentationRun, OptionsComeFromTheProjectWithoutRewriteAndGoBackMarkingItModified) {
  CWorkSpaceObj project;
  project.m_nOutputLanguage = LANGUAGE_CHT;
  project.m_strProjectTitle = "T";
  project.m_bDocPrivateVariables = FALSE;
  DocumentationOptions options = LoadDocumentationOptions(project);
  EXPECT_EQ(options.nLanguage, LANGUAGE_CHT);
  EXPECT_EQ(S(options.strTitle), "T");
  EXPECT_FALSE(options.bPrivateVariables);
  EXPECT_TRUE(options.bPublicFunctions);
  EXPECT_FALSE(options.bRewrite);
  EXPECT_FALSE(project.IsModified());
  options.nLanguage = LANGUAGE_ENG;
  options.bProtectedFunctions = FALSE;
  options.bRewrite = TRUE;
  StoreDocumentationOptions(project, options);
  EXPECT_EQ(project.m_nOutputLanguage, LANGUAGE_ENG);
  EXPECT_FALSE(project.m_bDocProtectedFunctions);
  EXPECT_TRUE(project.IsModified());
  EXPECT_FALSE(LoadDocumentationOptions(project).bRewrite);
}

TEST(DocumentationRun, RewriteLeavesOnlyWhatTheRunWroteAndNamesTheFoldersItRemoves) {
  ShapesProject p;
  p.folder.Write("Output_Eng/Htmls/Old/Deeper/stale.htm", "old");
  p.folder.Write("Output_Eng/Htmls/CShape/Member Vars/m_gone.htm", "old");
  p.folder.Write("Output_Eng/Htmls/Index.htm", std::string(100000, 'x'));
  CaptionWindow window;
  DocumentationProgress progress(window.Get(), 0);
  const CString strFolder = GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG);
  EXPECT_EQ(GenerateDocumentation(p.project, strFolder, TRUE, LANGUAGE_ENG, progress), 0);
  EXPECT_FALSE(p.folder.Exists("Output_Eng/Htmls/Old"));
  EXPECT_FALSE(p.folder.Exists("Output_Eng/Htmls/CShape/Member Vars/m_gone.htm"));
  EXPECT_TRUE(p.folder.Exists("Output_Eng/Htmls/CShape/Member Vars/m_rect.htm"));
  const std::string index = p.folder.Read("Output_Eng/Htmls/Index.htm");
  EXPECT_EQ(index.find('x' + std::string(99, 'x')), std::string::npos) << "the old page's bytes are gone";
  EXPECT_EQ(index.substr(index.size() - 10), "</html> \r\n");
  EXPECT_NE(std::find(window.captions.begin(), window.captions.end(), "Removing -Deeper"), window.captions.end());
  EXPECT_NE(std::find(window.captions.begin(), window.captions.end(), "Removing -Old"), window.captions.end());

  // Run again over that tree: the same files, and nothing else (no file left under the name it
  // was written under).
  const auto pages = doc_test::ReadTree(p.folder.Path() + "/Output_Eng", {".htm", ".bmp"});
  DocumentationProgress again;
  EXPECT_EQ(GenerateDocumentation(p.project, strFolder, TRUE, LANGUAGE_ENG, again), 0);
  EXPECT_EQ(doc_test::ReadTree(p.folder.Path() + "/Output_Eng", {".htm", ".bmp"}), pages);
  EXPECT_TRUE(doc_test::ReadTree(p.folder.Path() + "/Output_Eng", {".part"}).empty());
}

// Every file below the folder, by relative path.
std::map<std::string, std::string> ReadWholeTree(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).generic_string()] = doc_test::ReadFile(entry.path());
  return files;
}

// A second run on a disk that fills up at one of its files (the chart, a class page, the class
// list) and stays full: every file of the first run is still there, each the first run's whole or
// the second run's whole, the file the disk filled at is the first run's byte for byte, and the
// run says what it could not write. With and without Rewrite All.
TEST(DocumentationRun, ARunThatFailsHalfWayKeepsEveryEarlierFileWhole) {
  const struct {
    const char* lpszFullAt;  // the file the disk fills at
    bool bStaysFull;         // or only that file fails
    const char* lpszSaid;    // what the report says of it
  } cases[] = {{"Image2/A_Hierarchy_Chart.bmp", true, "None of the 2 class(es) could be documented whole"},
               {"Image2/A_Hierarchy_Chart.bmp", false, "The hierarchy chart could not be written."},
               {"CShape/CShape.htm", false, "1 of the 2 class(es) could not be documented whole"},
               {"Index.htm", false, "The class list (Index.htm) could not be written."}};
  for (const auto& c : cases) {
    for (const BOOL bRewrite : {FALSE, TRUE}) {
      SCOPED_TRACE(std::string(c.lpszFullAt) + (c.bStaysFull ? " on" : "") + (bRewrite ? " rewrite" : ""));
      doc_test::ScopedDocumentationThreads threads(1);  // the disk fills in the order of writing
      ShapesProject p;
      const CString strFolder = GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG);
      const std::string htmls = p.folder.Path() + "/Output_Eng/Htmls";
      DocumentationProgress first;
      ASSERT_EQ(GenerateDocumentation(p.project, strFolder, bRewrite, LANGUAGE_ENG, first), 0);
      // The earlier run's files differ from what the second run writes (as after an edit of the
      // headers): each ends in a mark of its own.
      const auto later = ReadWholeTree(htmls);
      for (const auto& [name, text] : later) std::ofstream(htmls + "/" + name, std::ios::app) << "earlier " << name;
      const auto earlier = ReadWholeTree(htmls);

      std::atomic<bool> bFull{false};
      const std::string fullAt = fs::path(c.lpszFullAt).filename().string() + ".part";
      model_test::RecordingShell shell;
      {
        brambolt::ScopedFileFaultHook disk([&](brambolt::FileStep step, const std::string& path) {
          if (step != brambolt::FileStep::Write || path.rfind(htmls + "/", 0) != 0) return 0;
          const bool bAt =
              path.size() >= fullAt.size() && path.compare(path.size() - fullAt.size(), fullAt.size(), fullAt) == 0;
          bFull = bFull || bAt;
          return bAt || (bFull && c.bStaysFull) ? ENOSPC : 0;
        });
        DocumentationProgress second;
        second.SetFailedClasses(GenerateDocumentation(p.project, strFolder, bRewrite, LANGUAGE_ENG, second));
        ReportDocumentationFailures(second);
      }
      ASSERT_TRUE(bFull);
      const auto now = ReadWholeTree(htmls);
      EXPECT_TRUE(now.at(c.lpszFullAt) == earlier.at(c.lpszFullAt)) << "the file the disk filled at is the earlier one";
      for (const auto& [name, text] : earlier) {
        const auto it = now.find(name);
        ASSERT_NE(it, now.end()) << name << " is gone";
        EXPECT_TRUE(it->second == text || it->second == later.at(name)) << name << " is neither whole";
      }
      EXPECT_EQ(now.size(), earlier.size()) << "no file left under the name it was written under";
      ASSERT_EQ(shell.calls.size(), 1u);
      EXPECT_NE(shell.calls[0].find(c.lpszSaid), std::string::npos) << shell.calls[0];
      EXPECT_NE(shell.calls[0].find("keeps what an earlier run wrote"), std::string::npos) << shell.calls[0];
    }
  }
}

// A folder that takes no file: the run says nothing was written, not that other classes were.
TEST(DocumentationRun, AFolderThatTakesNoFileIsToldAsNothingWritten) {
  ShapesProject p;
  const std::string output = p.folder.Path() + "/Output_Eng";
  model_test::RecordingShell shell;
  {
    brambolt::ScopedFileFaultHook refuse([&](brambolt::FileStep step, const std::string& path) {
      return step == brambolt::FileStep::Create && path.rfind(output + "/", 0) == 0 ? EACCES : 0;
    });
    DocumentationProgress run;
    run.SetFailedClasses(
        GenerateDocumentation(p.project, GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), TRUE, LANGUAGE_ENG, run));
    EXPECT_EQ(run.GetFailedClasses(), 2);
    ReportDocumentationFailures(run);
  }
  EXPECT_EQ(shell.calls, (std::vector<std::string>{
                             "ShowMessage 48 No documentation was written: none of its files could be written into the "
                             "output folder.\nThe output folder " + output + "/Htmls takes no file: Permission denied."
                             "\nA file that could not be written keeps what an earlier run wrote, if there was one."}));
}

// A project folder renamed or moved away while the project is open is not made again where it
// was: the run writes nothing, there nor in the moved folder, and says so.
TEST(DocumentationRun, AProjectFolderMovedAwayIsNotMadeAgain) {
  ShapesProject p;
  const std::string moved = p.folder.Path() + "-moved";
  ASSERT_EQ(::rename(p.folder.Path().c_str(), moved.c_str()), 0);
  model_test::RecordingShell shell;
  DocumentationProgress run;
  run.SetFailedClasses(
      GenerateDocumentation(p.project, GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), TRUE, LANGUAGE_ENG, run));
  const bool bRemade = std::filesystem::exists(p.folder.Path());
  const bool bWrittenInMoved = std::filesystem::exists(moved + "/Output_Eng");
  ReportDocumentationFailures(run);
  ::rename(moved.c_str(), p.folder.Path().c_str());
  EXPECT_FALSE(bRemade);
  EXPECT_FALSE(bWrittenInMoved);
  EXPECT_EQ(run.GetPageCount(), 0);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].find("ShowMessage 48 No documentation was written"), 0u) << shell.calls[0];
  EXPECT_NE(shell.calls[0].find("No such file or directory"), std::string::npos) << shell.calls[0];
}

// A page that cannot be written (here the file system refuses two of them) stops no other: the
// rest of its class is written, and the message names each class and page left out with the
// system's reason, under the line that counts the classes.
TEST(DocumentationRun, APageThatCannotBeWrittenStopsNoOtherAndIsNamedWithItsReason) {
  ShapesProject p;
  const std::string htmls = p.folder.Path() + "/Output_Eng/Htmls";
  model_test::RecordingShell shell;
  {
    brambolt::ScopedFileFaultHook refuse([&](brambolt::FileStep step, const std::string& path) {
      if (step != brambolt::FileStep::Create) return 0;
      if (path == htmls + "/CShape/Member Functions/Draw.htm") return ENAMETOOLONG;
      return path == htmls + "/CShape/Member Vars/m_rect.htm" ? EIO : 0;
    });
    DocumentationProgress run;
    run.SetFailedClasses(
        GenerateDocumentation(p.project, GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), TRUE, LANGUAGE_ENG, run));
    EXPECT_EQ(run.GetFailedClasses(), 1);
    ReportDocumentationFailures(run);
  }
  // The pages after the refused ones, and the other class, are there.
  for (const char* page : {"CShape/CShape.htm", "CShape/Member Functions/Draw(0).htm", "CShape/Member Functions/IsEmpty.htm",
                           "CShape/Member Functions/SetName.htm", "CShape/Member Vars/m_nCount.htm",
                           "CShape/Member Vars/m_values.htm", "CCircle/CCircle.htm"})
    EXPECT_TRUE(p.folder.Exists(std::string("Output_Eng/Htmls/") + page)) << page;
  EXPECT_EQ(shell.calls, (std::vector<std::string>{
                             "ShowMessage 48 1 of the 2 class(es) could not be documented whole: some of their pages "
                             "could not be written. The other 1 class(es) were documented.\nCShape, 2 page(s) left out: "
                             "CShape/Member Functions/Draw.htm: File name too long; CShape/Member Vars/m_rect.htm: "
                             "Input/output error.\nA file that could not be written keeps what an earlier run wrote, if "
                             "there was one."}));
}

// Names longer than a file name may be (a class, members, two of which differ only after their
// first 200 bytes) give pages under names cut to a safe length, apart from each other, and the
// class page and the index link to them; a deep output folder cuts them shorter, so that every
// path stays within the platform's limit.
TEST(DocumentationRun, NamesTooLongForAFileAreCutApartAndTheLinksFollow) {
  const std::string longClass = "C" + std::string(299, 'x');
  const std::string common(200, 'a');
  const std::string header = "class " + longClass + "\n{\npublic:\n  void " + common + "One();\n  void " + common +
                             "Two();\n  int m_" + std::string(296, 'n') + ";\n  void OnLeftClick();\n};\n";
  for (const bool bDeep : {false, true}) {
    SCOPED_TRACE(bDeep ? "deep" : "shallow");
    ShapesProject p(header.c_str());
    std::string projectFolder = S(p.strProjectFolder);
    if (bDeep) {
      // A project folder whose path leaves little of the platform's limit.
      const std::string part(200, 'd');
      while (projectFolder.size() + part.size() + 1 < PATH_MAX - 250) projectFolder += part + "/";
      fs::create_directories(projectFolder);
    }
    const CString strFolder = GetDocumentationFolder(CString(projectFolder.c_str()), LANGUAGE_ENG);
    DocumentationProgress run;
    ASSERT_EQ(GenerateDocumentation(p.project, strFolder, TRUE, LANGUAGE_ENG, run), 0);
    EXPECT_FALSE(run.HasFailed());
    const fs::path htmls = fs::path(projectFolder) / "Output_Eng" / "Htmls";
    size_t nPages = 0;
    for (const auto& entry : fs::recursive_directory_iterator(htmls)) {
      EXPECT_LE(entry.path().filename().string().size(), 255u) << entry.path();
      EXPECT_LT(entry.path().string().size(), static_cast<size_t>(PATH_MAX)) << entry.path();
      if (entry.path().extension() == ".htm") ++nPages;
    }
    EXPECT_EQ(nPages, 2u + 1u + 4u) << "the index, the chart, the class page and its four members";
    // Every link of the class page and of the index leads to a file.
    const std::string strClassFolder = S(p.project.m_FileObjList.GetHead()->FileName());
    const fs::path classPage = htmls / strClassFolder / (strClassFolder + ".htm");
    for (const fs::path& page : {classPage, htmls / "Index.htm"}) {
      const std::string text = doc_test::ReadFile(page);
      size_t nLinks = 0;
      for (size_t at = text.find("href=\""); at != std::string::npos; at = text.find("href=\"", at + 1)) {
        const std::string target = text.substr(at + 6, text.find('"', at + 6) - at - 6);
        if (target.rfind("http", 0) == 0 || target.rfind("mail", 0) == 0) continue;
        ++nLinks;
        EXPECT_TRUE(fs::exists(page.parent_path() / target)) << target;
      }
      EXPECT_GE(nLinks, page == classPage ? 4u : 2u);
    }
    EXPECT_TRUE(fs::exists(htmls / strClassFolder / "Member Functions" / "OnLeftClick.htm"));
    EXPECT_TRUE(bDeep ? strClassFolder.size() < 120 : strClassFolder.size() == 120) << strClassFolder.size();
  }
}

// What the help says of a second run without Rewrite All: every class's pages are written again
// (a hand edit of one is replaced), and the user's other files stay.
TEST(DocumentationRun, WithoutRewriteOldPagesStayAndWrittenOnesAreReplaced) {
  ShapesProject p;
  DocumentationProgress first;
  GenerateDocumentation(p.project, GetDocumentationFolder(p.strProjectFolder, 7), FALSE, 7, first);
  const std::string page = "Output_Chs/Htmls/CShape/Member Vars/m_rect.htm";
  ASSERT_TRUE(p.folder.Exists(page));
  p.folder.Write(page, "edited by hand");
  p.folder.Write("Output_Chs/Htmls/Old/stale.htm", "old");
  p.folder.Write("Output_Chs/Htmls/Index.htm", "old index");
  DocumentationProgress progress;
  GenerateDocumentation(p.project, GetDocumentationFolder(p.strProjectFolder, 7), FALSE, 7, progress);
  EXPECT_NE(p.folder.Read(page), "edited by hand");
  EXPECT_EQ(p.folder.Read("Output_Chs/Htmls/Old/stale.htm"), "old");
  EXPECT_NE(p.folder.Read("Output_Chs/Htmls/Index.htm"), "old index");
  EXPECT_NE(p.folder.Read("Output_Chs/Htmls/Index.htm").find("charset=gb2312"), std::string::npos);
}

// A project unpacked from an archive may hold links where the run writes: at a page, a member
// page, a class folder, the run's marker, the diagrams and the chart, and the output folders
// themselves. The run writes its own files and folders in their place; nothing outside is
// written, truncated or removed.
TEST(DocumentationRun, LinksPlantedInTheOutputTreeAreReplacedAndNothingOutsideIsTouched) {
  ShapesProject p;
  model_test::TempFolder outside;
  const std::string kPrecious = "the user's own text";
  for (const char* victim : {"index.txt", "member.txt", "marker.txt", "diagram.txt", "chart.txt"})
    outside.Write(victim, kPrecious);
  outside.Write("folder/keep.txt", kPrecious);
  outside.Write("chs/keep.txt", kPrecious);
  const fs::path out = fs::path(p.folder.Path()) / "Output_Eng" / "Htmls";
  fs::create_directories(out / "CShape" / "Member Vars");
  fs::create_directories(out / "Image2");
  const fs::path o = outside.Path();
  fs::create_symlink(o / "index.txt", out / "Index.htm");
  fs::create_symlink(o / "member.txt", out / "CShape" / "Member Vars" / "m_rect.htm");
  fs::create_symlink(o / "marker.txt", out / ".brambolt-run-start");
  fs::create_symlink(o / "diagram.txt", out / "Image2" / "CShape.bmp");
  fs::create_symlink(o / "chart.txt", out / "Image2" / "A_Hierarchy_Chart.bmp");
  fs::create_symlink(o / "folder", out / "CCircle");
  fs::create_symlink(o / "chs", fs::path(p.folder.Path()) / "Output_Chs");

  for (int nLanguage : {LANGUAGE_ENG, LANGUAGE_CHS}) {
    DocumentationProgress progress;
    EXPECT_EQ(GenerateDocumentation(p.project, GetDocumentationFolder(p.strProjectFolder, nLanguage), TRUE, nLanguage,
                                    progress),
              0);
  }
  for (const char* victim : {"index.txt", "member.txt", "marker.txt", "diagram.txt", "chart.txt", "folder/keep.txt",
                             "chs/keep.txt"})
    EXPECT_TRUE(outside.Read(victim) == kPrecious) << victim;
  EXPECT_EQ(std::distance(fs::directory_iterator(o / "folder"), fs::directory_iterator()), 1) << "no page written there";
  EXPECT_EQ(std::distance(fs::directory_iterator(o / "chs"), fs::directory_iterator()), 1) << "no page written there";
  for (const fs::path& page : {out / "Index.htm", out / "CShape" / "Member Vars" / "m_rect.htm", out / "Image2" / "CShape.bmp",
                               out / "Image2" / "A_Hierarchy_Chart.bmp", out / "CCircle" / "CCircle.htm",
                               fs::path(p.folder.Path()) / "Output_Chs" / "Htmls" / "CCircle" / "CCircle.htm"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(page))) << page;
    EXPECT_GT(fs::file_size(page), 100u) << page;
  }
  EXPECT_TRUE(fs::is_directory(fs::symlink_status(out / "CCircle")));
  EXPECT_TRUE(fs::is_directory(fs::symlink_status(fs::path(p.folder.Path()) / "Output_Chs")));
}

// The highest niceness of the threads of this process (19 for a thread at idle priority). A
// thread that ends meanwhile is passed over: reading the status of an ended thread fails (ESRCH),
// which a stream would throw from.
int HighestThreadNice() {
  int nHighest = -20;
  std::error_code error;
  for (const auto& task : fs::directory_iterator("/proc/self/task", error)) {
    std::string stat(1024, '\0');
    const int fd = ::open((task.path() / "stat").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    const ssize_t nRead = ::read(fd, stat.data(), stat.size());
    ::close(fd);
    if (nRead <= 0) continue;
    stat.resize(static_cast<size_t>(nRead));
    const size_t nEnd = stat.rfind(')');
    if (nEnd == std::string::npos || nEnd + 2 > stat.size()) continue;
    // The fields after the command's closing parenthesis: state is the 3rd field, nice the 19th.
    std::istringstream fields(stat.substr(nEnd + 2));
    std::string field;
    for (int i = 3; i <= 19 && fields >> field; ++i)
      if (i == 19) nHighest = std::max(nHighest, std::atoi(field.c_str()));
  }
  return nHighest;
}

// What the progress dialog is to the worker: a window with the animation control 1005 that
// records what it is sent, whose cancel (here: after a number of pages named in its caption) sets
// the stop flag, and whose modal loop runs until the worker's WM_CLOSE.
class ProgressDialogWindow {
 public:
  explicit ProgressDialogWindow(int nCancelAfterPages = -1, int nCaptionMs = DocumentationProgress::kCaptionMs)
      : m_nCancelAfter(nCancelAfterPages) {
    static const bool registered = [] {
      WNDCLASS wc{};
      wc.lpfnWndProc = &ProgressDialogWindow::DialogProc;
      wc.lpszClassName = "DocTestProgress";
      RegisterClass(&wc);
      wc.lpfnWndProc = &ProgressDialogWindow::AnimationProc;
      wc.lpszClassName = "DocTestAnimation";
      RegisterClass(&wc);
      return true;
    }();
    (void)registered;
    Current() = this;
    m_hWnd = CreateWindowEx(0, "DocTestProgress", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    CreateWindowEx(0, "DocTestAnimation", "", WS_CHILD, 0, 0, 50, 50, m_hWnd, reinterpret_cast<HMENU>(1005), nullptr,
                   nullptr);
    m_pProgress = std::make_unique<DocumentationProgress>(m_hWnd, nCaptionMs);
  }
  ~ProgressDialogWindow() {
    DestroyWindow(m_hWnd);
    Current() = nullptr;
  }

  DocumentationProgress& Progress() { return *m_pProgress; }
  // The modal loop: serves the worker's sent messages until it closes the dialog.
  void RunUntilClosed() {
    MSG msg;
    while (!m_bClosed && GetMessage(&msg, nullptr, 0, 0) > 0) DispatchMessage(&msg);
  }

  std::vector<std::string> animation;  // "open 151", "play", "stop", "open 0"
  int nPageCaptions = 0;
  int nCaptions = 0;
  int nHighestNice = -20;  // of the threads of the program while the worker set a caption

 private:
  static ProgressDialogWindow*& Current() {
    thread_local ProgressDialogWindow* pCurrent = nullptr;
    return pCurrent;
  }
  static LRESULT CALLBACK DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    ProgressDialogWindow* pThis = Current();
    if (pThis != nullptr && nMsg == WM_CLOSE) {
      pThis->m_bClosed = true;
      PostMessage(hWnd, WM_NULL, 0, 0);  // GetMessage returns once the sent message is served
      return 0;
    }
    if (pThis != nullptr && nMsg == WM_SETTEXT && lParam != 0) {
      ++pThis->nCaptions;
      pThis->nHighestNice = std::max(pThis->nHighestNice, HighestThreadNice());
      const std::string text = reinterpret_cast<const char*>(lParam);
      if (text.size() > 4 && text.compare(text.size() - 4, 4, ".htm") == 0 &&
          ++pThis->nPageCaptions == pThis->m_nCancelAfter)
        pThis->m_pProgress->RequestStop();
    }
    return DefWindowProc(hWnd, nMsg, wParam, lParam);
  }
  static LRESULT CALLBACK AnimationProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (ProgressDialogWindow* pThis = Current()) {
      if (nMsg == WM_USER + 100) pThis->animation.push_back("open " + std::to_string(lParam));
      if (nMsg == WM_USER + 101) pThis->animation.push_back("play");
      if (nMsg == WM_USER + 102) pThis->animation.push_back("stop");
    }
    return DefWindowProc(hWnd, nMsg, wParam, lParam);
  }

  HWND m_hWnd = nullptr;
  int m_nCancelAfter;
  bool m_bClosed = false;
  std::unique_ptr<DocumentationProgress> m_pProgress;
};

TEST(DocumentationRun, TheWorkerPlaysTheAnimationWritesTheTreeAndClosesTheDialog) {
  ShapesProject p("class CAlone\n{\npublic:\n    int m_n;\n    void Run();\n};\n");
  ProgressDialogWindow dialog;
  ASSERT_TRUE(CCopyFileThread::Start(&dialog.Progress(), &p.project,
                                     GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), LANGUAGE_ENG, TRUE));
  dialog.RunUntilClosed();
  EXPECT_EQ(dialog.animation, (std::vector<std::string>{"open 151", "play", "stop", "open 0"}));
  EXPECT_EQ(dialog.Progress().GetPageCount(), 5);
  EXPECT_EQ(dialog.Progress().GetFailedClasses(), 0);
  EXPECT_TRUE(p.folder.Exists("Output_Eng/Htmls/CAlone/Member Functions/Run.htm"));
}

TEST(DocumentationRun, CancelAfterNPagesLeavesNoFurtherPageAndTheDialogEnds) {
  for (int n : {1, 4}) {
    doc_test::ScopedDocumentationThreads oneThread(1);  // every page named in the caption, in order
    ShapesProject p;
    ProgressDialogWindow dialog(n, 0);
    auto* pThread = new CCopyFileThread(&dialog.Progress());
    pThread->m_pProject = &p.project;
    pThread->m_strFolder = GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG);
    pThread->m_nLanguage = LANGUAGE_ENG;
    ASSERT_TRUE(pThread->CreateThread());
    dialog.RunUntilClosed();
    // The class page of the n-th caption was being written when the user cancelled; nothing after.
    const size_t nPages = ReadTree(p.folder.Path() + "/Output_Eng/Htmls", {".htm"}).size();
    EXPECT_EQ(nPages, static_cast<size_t>(dialog.Progress().GetPageCount())) << n;
    EXPECT_LE(dialog.nPageCaptions, n + 1) << n;
    EXPECT_LT(nPages, 18u) << n;
  }
}

TEST(DocumentationRun, CancelWhileThePoolWritesStopsEveryThreadAndTheDialogEnds) {
  ShapesProject p(doc_test::GeneratedHeader(100).c_str());
  ProgressDialogWindow dialog(1, 0);  // the user cancels when the first page is named
  ASSERT_TRUE(CCopyFileThread::Start(&dialog.Progress(), &p.project,
                                     GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), LANGUAGE_ENG, TRUE));
  dialog.RunUntilClosed();
  const size_t nPages = ReadTree(p.folder.Path() + "/Output_Eng/Htmls", {".htm"}).size();
  EXPECT_TRUE(dialog.Progress().IsStopped());
  EXPECT_EQ(nPages, static_cast<size_t>(dialog.Progress().GetPageCount()));
  EXPECT_LT(nPages, 2u + 100 * 9);
}

// The program's run goes as fast as the library's: its worker runs at the normal priority, and
// the dialog learns what is being written a few times a second, not at every page.
TEST(DocumentationRun, TheWorkerRunsAtNormalPriorityAndTheCaptionChangesAFewTimesASecond) {
  ShapesProject p(doc_test::GeneratedHeader(200).c_str());
  ProgressDialogWindow dialog;
  ASSERT_TRUE(CCopyFileThread::Start(&dialog.Progress(), &p.project,
                                     GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), LANGUAGE_ENG, TRUE));
  dialog.RunUntilClosed();
  const int nPages = dialog.Progress().GetPageCount();
  EXPECT_EQ(nPages, 2 + 200 * 9);
  EXPECT_GE(dialog.nCaptions, 1);
  EXPECT_LT(dialog.nCaptions, nPages / 10);
  // No thread is nicer than the test itself (which may run niced as a whole).
  EXPECT_EQ(dialog.nHighestNice, ::getpriority(PRIO_PROCESS, 0));
}

// The class folders are written by a pool of threads: the tree is the same, byte for byte, as
// the one a single thread writes, in every language.
TEST(DocumentationRun, ThePoolOfThreadsWritesTheTreeOneThreadWrites) {
  for (int nLanguage : {LANGUAGE_CHS, LANGUAGE_CHT, LANGUAGE_ENG}) {
    for (const std::string& header : {std::string(doc_test::ShapesHeader()), doc_test::GeneratedHeader(60)}) {
      std::map<std::string, std::string> trees[2];
      for (int nThreads : {1, 8}) {
        doc_test::ScopedDocumentationThreads threads(nThreads);
        ShapesProject p(header.c_str());
        DocumentationProgress progress;
        EXPECT_EQ(GenerateDocumentation(p.project, GetDocumentationFolder(p.strProjectFolder, nLanguage), TRUE,
                                        nLanguage, progress),
                  0);
        trees[nThreads == 1 ? 0 : 1] = ReadTree(p.folder.Path(), {".htm", ".bmp"});
      }
      EXPECT_GT(trees[0].size(), 10u);
      EXPECT_TRUE(trees[0] == trees[1]) << nLanguage;
    }
  }
}

TEST(DocumentationRun, FailuresAreReportedOnceWithWhatWasAndWasNotWritten) {
  model_test::RecordingShell shell;
  DocumentationProgress clean;
  clean.SetClassCount(3);
  clean.PageWritten("Index.htm");
  ReportDocumentationFailures(clean);
  EXPECT_TRUE(shell.calls.empty());
  DocumentationProgress some;
  some.SetClassCount(5);
  some.PageWritten("Index.htm");
  some.SetFailedClasses(2);
  some.SetChartFailed();
  ReportDocumentationFailures(some);
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"ShowMessage 48 2 of the 5 class(es) could not be documented whole: "
                                                   "some of their pages could not be written. The other 3 class(es) "
                                                   "were documented.\nThe hierarchy chart could not be written.\nA file "
                                                   "that could not be written keeps what an earlier run wrote, if there "
                                                   "was one."}));
  // What the run cut to keep its output bounded is told in one message.
  shell.calls.clear();
  DocumentationProgress cut;
  cut.ReportCut("First cut.");
  cut.ReportCut("Second cut.");
  ReportDocumentationFailures(cut);
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"ShowMessage 64 Parts of some pictures were left out to keep the "
                                                   "documentation to a size that can be opened:\nFirst cut.\nSecond "
                                                   "cut."}));
}

}  // namespace

namespace {

// The component class list is read from "Component\<name>" beside the program.
TEST(ComponentClassList, LinesOfTheComponentsFileTrimmedWithoutEmptyOnes) {
  model_test::RecordingShell shell;  // names component 4242 "4242"
  char szModule[MAX_PATH] = {};
  GetModuleFileName(nullptr, szModule, MAX_PATH);
  const fs::path file = fs::path(szModule).parent_path() / "Component" / "4242";
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "  CWnd  \n\n\tCView\n";
  CWorkSpaceObj project;
  project.m_ComponentClassList.AddTail("Old");
  project.m_nComponentId = 4242;
  project.LoadComponentClassList();
  fs::remove(file);
  std::vector<std::string> names;
  for (POSITION pos = project.m_ComponentClassList.GetHeadPosition(); pos != nullptr;)
    names.push_back(S(project.m_ComponentClassList.GetNext(pos)));
  EXPECT_EQ(names, (std::vector<std::string>{"CWnd", "CView"}));

  project.m_nComponentId = 4243;  // no such file: the list stays empty
  project.LoadComponentClassList();
  EXPECT_TRUE(project.m_ComponentClassList.IsEmpty());
  project.m_ComponentClassList.AddTail("Old");
  project.m_nComponentId = 0;
  project.LoadComponentClassList();
  EXPECT_TRUE(project.m_ComponentClassList.IsEmpty());
}

}  // namespace

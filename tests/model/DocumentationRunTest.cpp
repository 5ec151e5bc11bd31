// The Write Documentation run behind its dialogs: options in and out of the project, the output
// folder of each language, emptying the folder when asked, and the worker thread that can be
// stopped between pages.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/CWorkSpaceObj.h"
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

TEST(DocumentationRun, RewriteEmptiesTheFolderFirstAndNamesWhatItRemoves) {
  ShapesProject p;
  p.folder.Write("Output_Eng/Htmls/Old/stale.htm", "old");
  CaptionWindow window;
  DocumentationProgress progress(window.Get());
  const CString strFolder = GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG);
  EXPECT_EQ(GenerateDocumentation(p.project, strFolder, TRUE, LANGUAGE_ENG, progress), 0);
  EXPECT_FALSE(p.folder.Exists("Output_Eng/Htmls/Old"));
  EXPECT_TRUE(p.folder.Exists("Output_Eng/Htmls/Index.htm"));
  ASSERT_GE(window.captions.size(), 3u);
  EXPECT_EQ(window.captions[0], "Removing -Old");
  EXPECT_EQ(window.captions[1], "Removing -Htmls");
}

TEST(DocumentationRun, WithoutRewriteOldPagesStayAndWrittenOnesAreReplaced) {
  ShapesProject p;
  p.folder.Write("Output_Chs/Htmls/Old/stale.htm", "old");
  p.folder.Write("Output_Chs/Htmls/Index.htm", "old index");
  DocumentationProgress progress;
  GenerateDocumentation(p.project, GetDocumentationFolder(p.strProjectFolder, 7), FALSE, 7, progress);
  EXPECT_EQ(p.folder.Read("Output_Chs/Htmls/Old/stale.htm"), "old");
  EXPECT_NE(p.folder.Read("Output_Chs/Htmls/Index.htm"), "old index");
  EXPECT_NE(p.folder.Read("Output_Chs/Htmls/Index.htm").find("charset=gb2312"), std::string::npos);
}

// Stops the run after a number of pages, as the dialog's cancel does from the other thread.
class StopAfter : public DocumentationProgress {
 public:
  explicit StopAfter(int nPages) : m_nPages(nPages) {}
  void PageWritten(const CString& strPath) override {
    DocumentationProgress::PageWritten(strPath);
    if (GetPageCount() == m_nPages) RequestStop();
  }

 private:
  int m_nPages;
};

TEST(DocumentationRun, TheWorkerWritesTheTreeOnItsOwnThread) {
  ShapesProject p;
  DocumentationProgress progress;
  DocumentationWorker worker(p.project, GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), FALSE, LANGUAGE_ENG,
                             progress);
  ASSERT_TRUE(worker.Start());
  worker.Wait();
  EXPECT_FALSE(worker.IsBusy());
  EXPECT_EQ(worker.GetFailedClasses(), 0);
  EXPECT_EQ(progress.GetPageCount(), 18);
  EXPECT_EQ(ReadTree(p.folder.Path() + "/Output_Eng/Htmls", {".htm"}).size(), 18u);
}

TEST(DocumentationRun, AStoppedWorkerWritesNoFurtherPage) {
  ShapesProject p;
  StopAfter progress(4);
  DocumentationWorker worker(p.project, GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), FALSE, LANGUAGE_ENG,
                             progress);
  ASSERT_TRUE(worker.Start());
  worker.Wait();
  EXPECT_EQ(ReadTree(p.folder.Path() + "/Output_Eng/Htmls", {".htm"}).size(), 4u);
}

TEST(DocumentationRun, StoppingBeforeTheStartWritesNothingAndTheWorkerEnds) {
  ShapesProject p;
  DocumentationProgress progress;
  {
    DocumentationWorker worker(p.project, GetDocumentationFolder(p.strProjectFolder, LANGUAGE_ENG), FALSE,
                               LANGUAGE_ENG, progress);
    worker.Stop();
    ASSERT_TRUE(worker.Start());
  }  // the destructor waits for the thread
  EXPECT_EQ(progress.GetPageCount(), 0);
}

TEST(DocumentationRun, FailedClassesAreReportedOnceWithTheirNumber) {
  model_test::RecordingShell shell;
  ReportDocumentationFailures(0);
  EXPECT_TRUE(shell.calls.empty());
  ReportDocumentationFailures(2);
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"ShowMessage 48 The pages of 2 class(es) could not be written. "
                                                   "The other classes were documented."}));
}

}  // namespace

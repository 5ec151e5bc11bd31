// The whole road over real headers: analysis of the model's own headers, the documentation in each
// language and the HTML Help files over it, headless.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "model/CGenHtmlHelpClass.h"
#include "model/CWorkSpaceObj.h"
#include "model/DocumentationRun.h"
#include "os/Process.h"
#include "os/Shell.h"
#include "DocTestSupport.h"
#include "ModelTestSupport.h"

using model_test::S;

namespace {

namespace fs = std::filesystem;

// The program's paths mix backslashes in; the file system here wants slashes.
std::string Native(const CString& strPath) {
  std::string path = S(strPath);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

TEST(DocumentationRoad, RealHeadersGiveACompleteTreeInEveryLanguage) {
  model_test::TempFolder folder;
  const fs::path sources = fs::path(BRAMBOLT_TEST_DATA_DIR).parent_path().parent_path() / "model";
  int nHeaders = 0;
  for (const auto& entry : fs::directory_iterator(sources))
    if (entry.path().extension() == ".h") {
      fs::create_directories(folder.Path() + "/Header Files");
      fs::copy_file(entry.path(), folder.Path() + "/Header Files/" + entry.path().filename().string());
      ++nHeaders;
    }
  ASSERT_GT(nHeaders, 10);

  CWorkSpaceObj project;
  const CString strProjectFolder = CString(folder.Path().c_str()) + "/";
  model_test::RecordingShell shell;
  shell.m_pWorkSpace = &project;
  shell.m_strFolder = strProjectFolder;
  project.AnalyseProjectFiles(strProjectFolder + "Header Files\\*.*");
  const int nClasses = static_cast<int>(project.m_FileObjList.GetCount());
  ASSERT_GT(nClasses, 20);

  brambolt::ScopedSpawnHook hook([](const brambolt::SpawnRequest&) { return DWORD{0}; });
  brambolt::SetShellAssociation(".hhp", "chmcmd");
  for (int nLanguage : {LANGUAGE_CHS, LANGUAGE_CHT, LANGUAGE_ENG}) {
    project.m_nOutputLanguage = nLanguage;
    const CString strFolder = GetDocumentationFolder(strProjectFolder, nLanguage);
    DocumentationProgress progress;
    EXPECT_EQ(GenerateDocumentation(project, strFolder, TRUE, nLanguage, progress), 0) << nLanguage;
    EXPECT_EQ(progress.GetBitmapCount(), nClasses + 1) << nLanguage;
    for (POSITION pos = project.m_FileObjList.GetHeadPosition(); pos != nullptr;) {
      const CString strName = project.m_FileObjList.GetNext(pos)->FileName();
      EXPECT_TRUE(fs::exists(Native(strFolder + strName + "\\" + strName + ".htm"))) << S(strName);
    }
    project.m_strHelpContentsFile.Empty();
    EXPECT_TRUE(GenerateHtmlHelp(project, FillHtmlHelpDefaults(project, "Model"), nullptr)) << nLanguage;
    const std::string hhp = doc_test::ReadFile(Native(strFolder + "..\\Model.hhp"));
    size_t nListed = 0;
    for (size_t at = hhp.find("Htmls\\"); at != std::string::npos; at = hhp.find("Htmls\\", at + 1)) ++nListed;
    // Every page and bitmap, plus the default topic's line.
    EXPECT_EQ(nListed, static_cast<size_t>(progress.GetPageCount() + progress.GetBitmapCount() + 1)) << nLanguage;
  }
  brambolt::ResetShellAssociations();
}

}  // namespace

// The whole road over real headers: analysis of the model's own headers, the documentation in each
// language and the HTML Help files over it, headless.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>
#include <utility>
#include <string>
#include <climits>

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

// The targets of a page's links and pictures (href and src), relative to its folder: the values
// with the page's entities read back, without a fragment; external ones (a scheme such as http:,
// mailto: or javascript:) and links within the page are left out. An empty value, a link to
// nowhere, is given as "".
std::vector<std::string> LocalTargets(const std::string& page) {
  std::vector<std::string> targets;
  for (const char* attribute : {"href=\"", "src=\""}) {
    const std::string key = attribute;
    for (size_t at = page.find(key); at != std::string::npos; at = page.find(key, at + 1)) {
      const size_t start = at + key.size();
      const size_t end = page.find('"', start);
      if (end == std::string::npos) break;
      std::string target = page.substr(start, end - start);
      if (target.empty()) {
        targets.push_back(target);
        continue;
      }
      for (const auto& [entity, ch] : {std::pair<std::string, std::string>{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""},
                                       {"&#39;", "'"}, {"&amp;", "&"}})
        for (size_t e = target.find(entity); e != std::string::npos; e = target.find(entity, e + ch.size()))
          target.replace(e, entity.size(), ch);
      target = target.substr(0, target.find('#'));
      const size_t colon = target.find(':');
      if (target.empty() || (colon != std::string::npos && target.find('/') > colon)) continue;
      targets.push_back(target);
    }
  }
  return targets;
}

// The header folders the machine has installed (the C++ standard library's bits, X11's, and those
// the install step brings: GoogleTest's, GoogleMock's, Google Benchmark's), each with its
// subfolders, documented as a user documents a library: no class fails, every link and picture of
// every page leads to a file, and no name is longer than the file system takes.
TEST(DocumentationRoad, EveryInstalledHeaderFolderIsDocumentedWholeWithEveryLinkLeadingToAFile) {
  std::vector<fs::path> roots;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/usr/include/c++", error))
    if (fs::is_directory(entry.path() / "bits")) roots.push_back(entry.path() / "bits");
  std::sort(roots.begin(), roots.end());
  if (roots.size() > 1) roots.erase(roots.begin(), roots.end() - 1);  // the newest library's
  for (const char* folder : {"/usr/include/X11", "/usr/include/gtest", "/usr/include/gmock", "/usr/include/benchmark"})
    if (fs::is_directory(folder)) roots.emplace_back(folder);
  if (roots.empty()) GTEST_SKIP() << "no header folder is installed";

  size_t nClasses = 0;
  for (const fs::path& root : roots) {
    SCOPED_TRACE(root.string());
    model_test::TempFolder folder;
    CWorkSpaceObj project;
    const CString strProjectFolder = CString(folder.Path().c_str()) + "/";
    model_test::RecordingShell shell;
    shell.m_pWorkSpace = &project;
    shell.m_strFolder = strProjectFolder;
    std::vector<fs::path> folders{root};
    for (const auto& entry : fs::recursive_directory_iterator(root))
      if (entry.is_directory()) folders.push_back(entry.path());
    for (const fs::path& headers : folders) project.AnalyseProjectFiles(CString((headers.string() + "/*.*").c_str()));
    nClasses += static_cast<size_t>(project.m_FileObjList.GetCount());  // X11's are C: no class
    // The standard library's bits (the largest folder, some 5,000 pages a language) in English
    // only: each language writes as many files again, which triples the test's time for pages that
    // differ only in their words;
    // the other folders are small and go in all three. The test runs in the AddressSanitizer pass
    // too (it writes files more than it computes); the ThreadSanitizer pass runs no model test.
    const std::vector<int> languages = root.filename() == "bits" ? std::vector<int>{LANGUAGE_ENG}
                                                                 : std::vector<int>{LANGUAGE_CHS, LANGUAGE_CHT, LANGUAGE_ENG};
    for (int nLanguage : languages) {
      SCOPED_TRACE(nLanguage);
      project.m_nOutputLanguage = nLanguage;
      const CString strFolder = GetDocumentationFolder(strProjectFolder, nLanguage);
      DocumentationProgress progress;
      progress.SetFailedClasses(GenerateDocumentation(project, strFolder, TRUE, nLanguage, progress));
      EXPECT_FALSE(progress.HasFailed());
      // What the run tells of failures (what it cut from its pictures to keep them bounded is no
      // failure).
      ReportDocumentationFailures(progress);
      for (const std::string& call : shell.calls) EXPECT_EQ(call.rfind("ShowMessage 48 ", 0), std::string::npos) << call;
      shell.calls.clear();

      const fs::path htmls = fs::path(Native(strFolder)).parent_path();  // without its last separator
      size_t nPages = 0, nLinks = 0, nNowhere = 0;
      for (const auto& entry : fs::recursive_directory_iterator(htmls)) {
        EXPECT_LE(entry.path().filename().string().size(), static_cast<size_t>(NAME_MAX)) << entry.path();
        EXPECT_LT(entry.path().string().size(), static_cast<size_t>(PATH_MAX)) << entry.path();
        if (entry.path().extension() != ".htm") continue;
        ++nPages;
        for (const std::string& target : LocalTargets(doc_test::ReadFile(entry.path()))) {
          ++nLinks;
          if ((target.empty() || !fs::exists(entry.path().parent_path() / target)) && ++nNowhere <= 10)
            ADD_FAILURE() << entry.path() << " links to " << target << ", which is not there";
        }
      }
      EXPECT_EQ(nNowhere, 0u);
      EXPECT_EQ(nPages, static_cast<size_t>(progress.GetPageCount()));
      EXPECT_GE(nLinks, nPages);
      fs::remove_all(htmls.parent_path(), error);
    }
  }
  EXPECT_GT(nClasses, 100u);
}

}  // namespace

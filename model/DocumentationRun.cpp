// The Write Documentation run: options, output folder, the worker's job and its thread.
#include "model/DocumentationRun.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "model/CWorkSpaceObj.h"
#include "model/DocOutput.h"
#include "model/GWExtFileSystem.h"
#include "model/ShellServices.h"

DocumentationOptions LoadDocumentationOptions(const CWorkSpaceObj& project) {
  DocumentationOptions options;
  options.nLanguage = project.m_nOutputLanguage;
  options.strTitle = project.m_strProjectTitle;
  options.bProtectedFunctions = project.m_bDocProtectedFunctions;
  options.bPublicFunctions = project.m_bDocPublicFunctions;
  options.bPrivateFunctions = project.m_bDocPrivateFunctions;
  options.bProtectedVariables = project.m_bDocProtectedVariables;
  options.bPublicVariables = project.m_bDocPublicVariables;
  options.bPrivateVariables = project.m_bDocPrivateVariables;
  return options;
}

void StoreDocumentationOptions(CWorkSpaceObj& project, const DocumentationOptions& options) {
  project.m_nOutputLanguage = options.nLanguage;
  project.m_strProjectTitle = options.strTitle;
  project.m_bDocProtectedFunctions = options.bProtectedFunctions;
  project.m_bDocPublicFunctions = options.bPublicFunctions;
  project.m_bDocPrivateFunctions = options.bPrivateFunctions;
  project.m_bDocProtectedVariables = options.bProtectedVariables;
  project.m_bDocPublicVariables = options.bPublicVariables;
  project.m_bDocPrivateVariables = options.bPrivateVariables;
  project.m_bModified = TRUE;
}

CString GetDocumentationFolder(const CString& strProjectFolder, int nLanguage) {
  switch (nLanguage) {
    case LANGUAGE_CHT: return strProjectFolder + "Output_GB5\\Htmls\\";
    case LANGUAGE_ENG: return strProjectFolder + "Output_Eng\\Htmls\\";
    default: return strProjectFolder + "Output_Chs\\Htmls\\";
  }
}

namespace {

std::atomic<int> g_nDocumentationThreads{0};

}  // namespace

int GetDocumentationThreads() {
  const int nChosen = g_nDocumentationThreads.load();
  if (nChosen > 0) return nChosen;
  return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 16);
}

void SetDocumentationThreads(int nThreads) { g_nDocumentationThreads.store(std::max(0, nThreads)); }

int GenerateDocumentation(CWorkSpaceObj& project, const CString& strFolder, BOOL bRewrite, int nLanguage,
                          DocumentationProgress& progress) {
  // The language's folder and its Htmls folder are the run's own: a link in their place is
  // replaced by a real folder, so neither the pages nor the removal below reach outside the tree.
  OutputFolder htmls = OutputFolder::Open(strFolder, 2);
  if (!bRewrite) return project.GeneratePages(nLanguage, htmls, &progress);
  // The previous tree is not removed first: its pages are rewritten in place and what this run
  // did not write goes afterwards, which leaves the same tree. Removing thousands of files first
  // would make each file made right after slow to create (the file system skips the inodes it
  // freed a moment ago), so the removal would cost several times the run.
  struct timespec started {};
  if (!htmls.TakeFileTime(started)) {
    GWExtFileSystem fs;
    fs.RemoveFolderTree(strFolder, progress.GetWindow(), TRUE);
    htmls = OutputFolder::Open(strFolder, 2);
    return project.GeneratePages(nLanguage, htmls, &progress);
  }
  const int nFailed = project.GeneratePages(nLanguage, htmls, &progress);
  htmls.RemoveFilesWrittenBefore(started, [&progress](const CString& strName) {
    progress.SetCaption("Removing -" + strName);
  });
  return nFailed;
}

void ReportDocumentationFailures(int nFailedClasses, BOOL bChartFailed, const std::vector<CString>& cuts) {
  if (nFailedClasses > 0) {
    CString strText;
    strText.Format("The pages of %d class(es) could not be written. The other classes were documented.",
                   nFailedClasses);
    GetShellServices()->ShowMessage(strText, 0x30 /* MB_ICONEXCLAMATION | MB_OK */);
  }
  if (bChartFailed)
    GetShellServices()->ShowMessage("The hierarchy chart could not be written.", 0x30 /* MB_ICONEXCLAMATION | MB_OK */);
  if (!cuts.empty()) {
    CString strText = "Parts of some pictures were left out to keep the documentation to a size that can be opened:";
    for (const CString& strCut : cuts) strText += "\n" + strCut;
    GetShellServices()->ShowMessage(strText, 0x40 /* MB_ICONINFORMATION | MB_OK */);
  }
}

// The Write Documentation run: options, output folder, the worker's job and its thread.
#include "model/DocumentationRun.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "base/Convert.h"
#include "model/CWorkSpaceObj.h"
#include "model/DocOutput.h"
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
  // The options are kept in the project (the rewrite flag is the run's alone): it has changed only
  // when one of them did.
  const DocumentationOptions kept = LoadDocumentationOptions(project);
  if (options.nLanguage == kept.nLanguage && options.strTitle == kept.strTitle &&
      options.bProtectedFunctions == kept.bProtectedFunctions && options.bPublicFunctions == kept.bPublicFunctions &&
      options.bPrivateFunctions == kept.bPrivateFunctions && options.bProtectedVariables == kept.bProtectedVariables &&
      options.bPublicVariables == kept.bPublicVariables && options.bPrivateVariables == kept.bPrivateVariables)
    return;
  project.m_nOutputLanguage = options.nLanguage;
  project.m_strProjectTitle = options.strTitle;
  project.m_bDocProtectedFunctions = options.bProtectedFunctions;
  project.m_bDocPublicFunctions = options.bPublicFunctions;
  project.m_bDocPrivateFunctions = options.bPrivateFunctions;
  project.m_bDocProtectedVariables = options.bProtectedVariables;
  project.m_bDocPublicVariables = options.bPublicVariables;
  project.m_bDocPrivateVariables = options.bPrivateVariables;
  project.m_bModified = TRUE;
  project.m_bDocOptionsChanged = TRUE;
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
  // They are made only inside the project's folder as it is: one renamed or moved away is not
  // made again, and the run writes nothing.
  OutputFolder htmls = OutputFolder::Open(strFolder, 2, true, false);
  progress.SetOutputFolder(CString(brambolt::ProgramNameOf(htmls.GetNativePath()).c_str()),
                           htmls.IsOpen() ? 0 : htmls.GetError());
  if (!bRewrite) return project.GeneratePages(nLanguage, htmls, &progress);
  // The previous tree is not removed first: each of its files is replaced by the new one when
  // that is whole, and what this run did not write goes afterwards, which leaves the same tree.
  // Removing thousands of files first would make each file made right after slow to create (the
  // file system skips the inodes it freed a moment ago), and a run that then failed would leave
  // nothing of the earlier documentation.
  // What the run did not write goes only after a run that wrote everything: a run that failed
  // somewhere (a full disk) or was stopped leaves the earlier files it did not replace, so the
  // earlier documentation stays whole. A folder where not even the run's marker can be made
  // takes no page either: nothing is removed there.
  struct timespec started {};
  const bool bStamped = htmls.TakeFileTime(started) != FALSE;
  const int nFailed = project.GeneratePages(nLanguage, htmls, &progress);
  if (bStamped && nFailed == 0 && !progress.HasFailed() && !progress.IsStopped())
    htmls.RemoveFilesWrittenBefore(started, [&progress](const CString& strName) {
      progress.SetCaption("Removing -" + strName);
    });
  return nFailed;
}

namespace {

// ": " and the system's words for the error, nothing for none.
CString Reason(int nError) { return nError != 0 ? CString(": ") + std::strerror(nError) : CString(); }

// One line per class whose pages were left out, each with its first pages and their reasons; so
// many classes that a message could not show them end in a count of the rest.
std::vector<CString> LeftOutLines(const std::vector<DocumentationProgress::LeftOutPage>& pages) {
  constexpr size_t kClassesShown = 30;
  constexpr size_t kPagesShown = 5;
  std::vector<CString> lines;
  size_t nClasses = 0;
  for (size_t i = 0; i < pages.size();) {
    size_t nEnd = i;
    while (nEnd < pages.size() && pages[nEnd].strClass == pages[i].strClass) ++nEnd;
    if (++nClasses <= kClassesShown) {
      CString strLine;
      strLine.Format("%s, %d page(s) left out: ", static_cast<LPCTSTR>(pages[i].strClass), static_cast<int>(nEnd - i));
      for (size_t n = i; n < nEnd && n < i + kPagesShown; ++n) {
        CString strPage = pages[n].strPage;
        strPage.Replace('\\', '/');
        strLine += (n == i ? "" : "; ") + strPage + Reason(pages[n].nError);
      }
      if (nEnd - i > kPagesShown) {
        CString strMore;
        strMore.Format("; and %d more", static_cast<int>(nEnd - i - kPagesShown));
        strLine += strMore;
      }
      lines.push_back(strLine + ".");
    }
    i = nEnd;
  }
  if (nClasses > kClassesShown) {
    CString strMore;
    strMore.Format("And %d more class(es) with pages left out.", static_cast<int>(nClasses - kClassesShown));
    lines.push_back(strMore);
  }
  return lines;
}

}  // namespace

void ReportDocumentationFailures(const DocumentationProgress& run) {
  const int nFailed = run.GetFailedClasses();
  const int nClasses = std::max(run.GetClassCount(), nFailed);
  const std::vector<CString> failedPages = run.GetFailedPages();
  if (run.HasFailed()) {
    CString strText;
    auto addLine = [&strText](const CString& strLine) { strText += (strText.IsEmpty() ? "" : "\n") + strLine; };
    if (run.GetPageCount() == 0 && run.GetBitmapCount() == 0) {
      strText = "No documentation was written: none of its files could be written into the output folder.";
      // The folder and why it takes nothing (read-only, another user's, not there).
      const CString strFolder = run.GetOutputFolder();
      if (!strFolder.IsEmpty()) addLine("The output folder " + strFolder + " takes no file" + Reason(run.GetFirstError()) + ".");
    } else {
      if (nFailed > 0 && nFailed >= nClasses) {
        CString strLine;
        strLine.Format("None of the %d class(es) could be documented whole: their pages could not all be written.",
                       nClasses);
        addLine(strLine);
      } else if (nFailed > 0) {
        CString strLine;
        strLine.Format("%d of the %d class(es) could not be documented whole: some of their pages could not be "
                       "written. The other %d class(es) were documented.",
                       nFailed, nClasses, nClasses - nFailed);
        addLine(strLine);
      }
      for (const CString& strLine : LeftOutLines(run.GetLeftOutPages())) addLine(strLine);
      for (const CString& strPage : failedPages)
        if (strPage == "Index.htm") addLine("The class list (Index.htm) could not be written.");
      if (run.IsChartFailed() ||
          std::find(failedPages.begin(), failedPages.end(), CString("Hierarchy_Chart.htm")) != failedPages.end())
        addLine("The hierarchy chart could not be written.");
    }
    strText += "\nA file that could not be written keeps what an earlier run wrote, if there was one.";
    GetShellServices()->ShowMessage(strText, 0x30 /* MB_ICONEXCLAMATION | MB_OK */);
  }
  const std::vector<CString> cuts = run.GetCuts();
  if (!cuts.empty()) {
    CString strText = "Parts of some pictures were left out to keep the documentation to a size that can be opened:";
    for (const CString& strCut : cuts) strText += "\n" + strCut;
    GetShellServices()->ShowMessage(strText, 0x40 /* MB_ICONINFORMATION | MB_OK */);
  }
}

// The Write Documentation run behind its dialogs: the options the user picks, the output folder of
// a language, the worker's job (empty the folder when asked, create it, write the pages of the
// language) and the worker thread, which starts suspended at idle priority and can be stopped
// between pages.
#pragma once

#include <atomic>

#include "base/base.h"
#include "core/CString.h"
#include "model/DocumentationProgress.h"

class CWorkSpaceObj;

// The members of the Options dialog.
struct DocumentationOptions {
  BOOL bProtectedFunctions = TRUE;
  BOOL bPublicFunctions = TRUE;
  BOOL bPrivateFunctions = TRUE;
  BOOL bProtectedVariables = TRUE;
  BOOL bPublicVariables = TRUE;
  BOOL bPrivateVariables = TRUE;
  CString strTitle;
  BOOL bRewrite = FALSE;  // never kept: every run starts without it
  int nLanguage = 1000;
};

// The dialog's starting values from the project.
DocumentationOptions LoadDocumentationOptions(const CWorkSpaceObj& project);
// After OK: the language, title and six option words go back into the project, which is marked
// modified.
void StoreDocumentationOptions(CWorkSpaceObj& project, const DocumentationOptions& options);

// "Output_Chs\\Htmls\\", "Output_GB5\\Htmls\\" or "Output_Eng\\Htmls\\" after the project folder
// (an unknown language writes GB2312 pages into "Output_Chs").
CString GetDocumentationFolder(const CString& strProjectFolder, int nLanguage);

// The worker's job: with bRewrite the folder is removed with everything in it (its names shown in
// the caption) and made again; then the language's pages are written. Returns how many classes
// could not be written.
int GenerateDocumentation(CWorkSpaceObj& project, const CString& strFolder, BOOL bRewrite, int nLanguage,
                          DocumentationProgress& progress);

// The worker thread of one run. The owner keeps the project and the progress alive until Wait
// has returned; the destructor stops the run and waits for the thread.
class DocumentationWorker {
 public:
  DocumentationWorker(CWorkSpaceObj& project, CString strFolder, BOOL bRewrite, int nLanguage,
                      DocumentationProgress& progress);
  ~DocumentationWorker();
  DocumentationWorker(const DocumentationWorker&) = delete;
  DocumentationWorker& operator=(const DocumentationWorker&) = delete;

  // Creates the thread suspended, lowers it to idle priority and resumes it; FALSE when no thread
  // could be made.
  BOOL Start();
  // Asks the run to stop; it writes no further page.
  void Stop() { m_progress.RequestStop(); }
  // Waits until the thread has ended (at once when none was started).
  void Wait();
  BOOL IsBusy() const;
  int GetFailedClasses() const { return m_nFailed.load(); }

 private:
  static DWORD WINAPI ThreadProc(LPVOID pParam);

  CWorkSpaceObj& m_project;
  CString m_strFolder;
  BOOL m_bRewrite;
  int m_nLanguage;
  DocumentationProgress& m_progress;
  HANDLE m_hThread = nullptr;
  std::atomic<int> m_nFailed{0};
};

// Tells the user through the shell how many classes could not be written (nothing when none).
void ReportDocumentationFailures(int nFailedClasses);

// The Write Documentation run behind its dialogs: the options the user picks, the output folder of
// a language and the worker's job (empty the folder when asked, create it, write the pages of the
// language), which can be stopped between pages.
#pragma once

#include <vector>

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
// modified (and its documentation options changed) only when one of them differs from its own.
void StoreDocumentationOptions(CWorkSpaceObj& project, const DocumentationOptions& options);

// "Output_Chs\\Htmls\\", "Output_GB5\\Htmls\\" or "Output_Eng\\Htmls\\" after the project folder
// (an unknown language writes GB2312 pages into "Output_Chs").
CString GetDocumentationFolder(const CString& strProjectFolder, int nLanguage);

// The worker's job: the language's pages are written; with bRewrite the folder then holds only
// what this run wrote: everything else in it is removed (the names of the folders removed shown in
// the caption). Returns how many classes could not be written.
int GenerateDocumentation(CWorkSpaceObj& project, const CString& strFolder, BOOL bRewrite, int nLanguage,
                          DocumentationProgress& progress);

// The threads a run writes the class folders with: one per core of the machine (at most 16), or
// what SetDocumentationThreads chose (0 goes back to one per core).
int GetDocumentationThreads();
void SetDocumentationThreads(int nThreads);

// Tells the user through the shell, in one message, what the ended run could not write (the
// classes whose pages could not all be written, out of how many; the class list; the hierarchy
// chart; or that nothing at all was written), nothing when all was written; then what the run cut
// to keep its output bounded.
void ReportDocumentationFailures(const DocumentationProgress& run);

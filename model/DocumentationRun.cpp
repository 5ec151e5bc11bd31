// The Write Documentation run: options, output folder, the worker's job and its thread.
#include "model/DocumentationRun.h"

#include "model/CWorkSpaceObj.h"
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

int GenerateDocumentation(CWorkSpaceObj& project, const CString& strFolder, BOOL bRewrite, int nLanguage,
                          DocumentationProgress& progress) {
  if (bRewrite) {
    GWExtFileSystem fs;
    fs.RemoveFolderTree(strFolder, progress.GetWindow(), TRUE);
    if (!GWExtFileSystem::IsDirectory(strFolder)) GWExtFileSystem::CreateDirectoryPath(strFolder);
  }
  return project.GeneratePages(nLanguage, strFolder, &progress);
}

void ReportDocumentationFailures(int nFailedClasses, BOOL bChartFailed) {
  if (nFailedClasses > 0) {
    CString strText;
    strText.Format("The pages of %d class(es) could not be written. The other classes were documented.",
                   nFailedClasses);
    GetShellServices()->ShowMessage(strText, 0x30 /* MB_ICONEXCLAMATION | MB_OK */);
  }
  if (bChartFailed)
    GetShellServices()->ShowMessage("The hierarchy chart could not be written.", 0x30 /* MB_ICONEXCLAMATION | MB_OK */);
}

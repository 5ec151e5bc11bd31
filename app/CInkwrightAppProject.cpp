// The project commands of the application object: open, create, save and close the one project,
// bring source files into its folders, and open the project's files in the document templates.
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/CInkwrightApp.h"
#include "app/CMainProjectSetDlg.h"
#include "app/CMyFileDialog.h"
#include "app/CNewProjectMain.h"
#include "foundation/SECFileSystem.h"
#include "model/AddFolder.h"
#include "model/CAddLiveFolderDlg.h"
#include "model/CGenHelpDlg.h"
#include "model/CGenHtmlHelpClass.h"
#include "model/CProjectObj.h"
#include "model/CWorkSpaceObj.h"
#include "model/GenHtmlDlg.h"
#include "os/Paths.h"
#include "resources/AppResource.h"
#include "resources/ShellRes.h"

namespace {

constexpr const char* kInsertFilesFilter =
    "Source Files (.h;.cpp;.hxx;.inl;.hm;.c;.cc;.cxx;.hpp;.def;.rc;.rc2)|*.c;*.cc;*.cxx;*.hpp;*.def;*.rc;*.rc2;*.h;"
    "*.cpp;*.hxx;*.inl;*.hm|Header Files (.h;.hpp;.hxx;.inl;.hm)|*.h;*.hpp;*.hxx;*.inl;*.hm|Resource Files "
    "(.ico;.bmp;.cur;.gif;.jpg)|*.ico;*.bmp;*.cur;*.gif;*.jpg|Supported Documents (...)|*.lsp;*.bas;*.vb;*.vbs;*.frm;"
    "*.dsm;*.bat;*.btm;*.cmd;*.c;*.cc;*.cpp;*.cxx;*.h;*.hpp;*.hxx;*.hm;*.inl;*.rh;*.tlh;*.tli;*.xs;*.dcl;*.dcc;*.f;"
    "*.f90;*.f9p;*.fpp;*.html;*.htm;*.shtml;*.ihtml;*.ssi;*.rul;*.java;*.jav;*.pas;*.pl;*.txt;*.doc;*.diz;*.py;*.rc;"
    "*.dlg;*.rex|All Files (*.*)|*.*||";

constexpr const char* kOpenFileFilter =
    "All Format (.cpp;.h;.txt;.htm;.java)|*.cpp;*.h;*.txt;*.htm;*.java|C++ Files (.c;.cpp;.tli)|*.c;*.cpp;*.tli|C++ "
    "Include Files (.h;.hpp;.hxx;.inl)|*.h;*.hpp;*.hxx;*.inl|RC Files(.rc;.rct;.res)|*.rc;*.rct;*.res|Definition "
    "Files (.def)|*.def|SQL Scripts (.sql;.tsq;.ssq)|*.sql;*.tsq;*.ssq|Other files (.htm;.java;.txt)|*.htm;*.java;"
    "*.txt|Source code(*.cpp;*.h;*.c;*.hpp)|*.cpp;*.h;*.c;*.hpp|All Files(*.*)|*.*||";

// The headers a run leaves out because they can no longer be read: deleted, or a link whose
// file was deleted (its name still in the folder). Whole names, as many as a message shows well,
// then how many more there are.
CString GoneHeadersMessage(const CStringList& gone) {
  constexpr int kMostNames = 20;
  constexpr int kMostLength = 800;
  CString strText =
      "These headers can no longer be read (deleted, or a link to a file that was deleted) and are left out of the "
      "documentation:";
  const int nIntro = strText.GetLength();
  int nListed = 0;
  for (POSITION pos = gone.GetHeadPosition(); pos != nullptr && nListed < kMostNames; ++nListed) {
    const CString& strName = gone.GetNext(pos);
    if (nListed > 0 && strText.GetLength() - nIntro + strName.GetLength() > kMostLength) break;
    strText += "\n" + strName;
  }
  if (gone.GetCount() > nListed) {
    CString strMore;
    strMore.Format("\n...and %d more.", static_cast<int>(gone.GetCount()) - nListed);
    strText += strMore;
  }
  return strText;
}

// The documentation goes into the project's folder only: one that was renamed, moved or deleted
// while the project was open is not made again where it was. FALSE, the user told, when it is gone.
BOOL ProjectFolderIsThere(const CString& strProjectFolder) {
  struct stat folder {};
  const std::string strNativeFolder = brambolt::NativePath(static_cast<LPCTSTR>(strProjectFolder));
  if (::stat(strNativeFolder.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode)) return TRUE;
  AfxMessageBox("The project's folder " + strProjectFolder +
                    " is no longer there: it was renamed, moved or deleted while the project was open. No "
                    "documentation was written. Open the project where its folder is now.",
                MB_ICONEXCLAMATION);
  return FALSE;
}

// The lower-case extension of a path, without its dot.
CString ExtensionOf(const CString& strPath) {
  SECFileSystem fs;
  CString strExt = fs.GetExtension(strPath);
  strExt.MakeLower();
  return strExt;
}

// Whether the two paths name one file: the same device and inode, or the same canonical path.
bool IsSameFile(const CString& strFirst, const CString& strSecond) {
  const std::string first = brambolt::NativePath(static_cast<LPCTSTR>(strFirst));
  const std::string second = brambolt::NativePath(static_cast<LPCTSTR>(strSecond));
  struct stat a {}, b {};
  if (::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0)
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  std::error_code error;
  return std::filesystem::weakly_canonical(first, error) == std::filesystem::weakly_canonical(second, error);
}

// Copies the file through a temporary file beside the target that replaces it only when whole,
// so a failed copy leaves the old file; a failure is told with its reason.
void CopyWhole(const CString& strSource, const CString& strTarget) {
  CFileException error;
  CFile source;
  // A source that cannot be read is named as the file at fault.
  if (!source.Open(strSource, CFile::modeRead | CFile::shareDenyNone, &error)) {
    error.ReportError(MB_ICONEXCLAMATION);
    return;
  }
  source.Close();
  if (::CopyFileA(strSource, strTarget, FALSE)) return;
  const LONG lError = static_cast<LONG>(::GetLastError());
  error.m_lOsError = lError;
  error.m_cause = CFileException::OsErrorToException(lError);
  error.m_strFileName = strTarget;
  error.ReportError(MB_ICONEXCLAMATION);
}

// Copies with the overwrite question: TRUE when copied without one, FALSE when the target existed
// (it is replaced only when the user says Yes). A file that already is the target is left alone.
BOOL CopyWithQuestion(const CString& strSource, const CString& strTarget, const CString& strFileName) {
  SECFileSystem fs;
  if (fs.FileExists(strTarget)) {
    if (IsSameFile(strSource, strTarget)) return FALSE;
    CString strFormat, strText;
    strFormat.LoadString(IDS_FILE_EXISTS_OVERWRITE);
    strText.Format(strFormat, static_cast<LPCTSTR>(strFileName));
    if (AfxMessageBox(strText, MB_YESNO | MB_ICONINFORMATION, IDS_FILE_EXISTS_OVERWRITE) == IDYES)
      CopyWhole(strSource, strTarget);
    return FALSE;
  }
  CopyWhole(strSource, strTarget);
  return TRUE;
}

}  // namespace

// ---- supporting operations ----

BOOL CInkwrightApp::SaveAllDocuments() {
  // Every modified document is saved, whatever became of the others' saves. One the user declined
  // or cancelled (or that failed) keeps the document modified and tells the caller not to close
  // it: its text would be lost.
  BOOL bAllSaved = TRUE;
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
    CDocTemplate* pTemplate = GetNextDocTemplate(pos);
    for (POSITION docPos = pTemplate->GetFirstDocPosition(); docPos != nullptr;) {
      CDocument* pDoc = pTemplate->GetNextDoc(docPos);
      if (!pDoc->IsModified()) continue;
      if (pDoc->DoSave(pDoc->GetPathName(), TRUE))
        pDoc->SetModifiedFlag(FALSE);
      else
        bAllSaved = FALSE;
    }
  }
  return bAllSaved;
}

BOOL CInkwrightApp::AskAboutUnwritableDocuments(std::vector<CDocument*>& rDeclined) {
  std::vector<CDocument*> unwritable;
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
    CDocTemplate* pTemplate = GetNextDocTemplate(pos);
    for (POSITION docPos = pTemplate->GetFirstDocPosition(); docPos != nullptr;) {
      CDocument* pDoc = pTemplate->GetNextDoc(docPos);
      if (!pDoc->IsModified()) continue;
      // A document of no file is one whose Save As the user cancelled: the window stays open
      // without a second question. Any other save failed to write the file, whatever the reason.
      if (pDoc->GetPathName().IsEmpty()) return FALSE;
      unwritable.push_back(pDoc);
    }
  }
  for (CDocument* pDoc : unwritable) {
    if (!pDoc->SaveModified()) return FALSE;
    if (pDoc->IsModified()) rDeclined.push_back(pDoc);
  }
  return TRUE;
}

CString CInkwrightApp::FullProjectPath(const CString& strPath) {
  const bool bFull = !strPath.IsEmpty() && (strPath[0] == '/' || strPath[0] == '\\' ||
                                            (strPath.GetLength() > 1 && strPath[1] == ':'));
  return bFull ? strPath : CFile::FullPath(strPath);
}

void CInkwrightApp::SetProjectPath(CString strPath) {
  SECFileSystem fs;
  m_strProjectFolder = fs.GetPath(strPath);
  const CString strFileName = fs.GetFileName(strPath);
  const int nDot = strFileName.ReverseFind('.');
  m_strProjectName = nDot >= 0 ? strFileName.Left(nDot) : strFileName;
  fs.ChangeDirectory(m_strProjectFolder);
}

BOOL CInkwrightApp::IsDifferentProject(CString strPath) {
  SECFileSystem fs;
  CString strFolder = fs.GetPath(strPath);
  CString strName = fs.GetFileName(strPath);
  const int nDot = strName.ReverseFind('.');
  if (nDot >= 0) strName = strName.Left(nDot);
  CString strOpenFolder = m_strProjectFolder, strOpenName = m_strProjectName;
  for (CString* s : {&strFolder, &strName, &strOpenFolder, &strOpenName}) {
    s->Trim();
    s->MakeLower();
  }
  return !(strFolder == strOpenFolder && strName == strOpenName);
}

BOOL CInkwrightApp::SaveOpenProject() {
  const CString strProjectFile = GetProjectFilePath();
  CollectOpenDocumentNames(m_pWorkSpace->m_DocTitleList);
  if (!m_pWorkSpace->SaveAndReport(strProjectFile)) return FALSE;
  MoveRecentProjectToFront(strProjectFile);
  return TRUE;
}

void CInkwrightApp::ClearHtmlHelpSettings() {
  for (CString* s : {&m_pWorkSpace->m_strHelpContentsFile, &m_pWorkSpace->m_strHelpIndexFile,
                     &m_pWorkSpace->m_strHelpCompiledFile, &m_pWorkSpace->m_strHelpProjectFile,
                     &m_pWorkSpace->m_strHelpTitle, &m_pWorkSpace->m_strHelpDefaultTopic})
    s->Empty();
}

BOOL CInkwrightApp::OpenProject(CString strPath) {
  // The project is kept (its folder, the recent list) by its full path, which names it from any
  // folder the program later runs in.
  strPath = FullProjectPath(strPath);
  SECFileSystem fs;
  if (!fs.FileExists(strPath)) {
    // A project deleted or moved since it was listed: the user is told, and it leaves the list.
    RemoveRecentProject(strPath);
    CString strText;
    strText.Format("The project %s is not there any more: it was deleted or moved.", static_cast<LPCTSTR>(strPath));
    AfxMessageBox(strText, MB_ICONINFORMATION);
    return TRUE;
  }
  if (!SaveAllDocuments()) return FALSE;
  // The project that was open is saved first: it is also what comes back if the new file fails.
  const CString strPreviousFile = IsProjectOpen() ? GetProjectFilePath() : CString();
  if (IsProjectOpen() && !SaveOpenProject()) return TRUE;
  m_pWorkSpace->DeleteAllFileObjs();
  ClearHtmlHelpSettings();
  CloseAllDocuments(TRUE);
  if (!m_pWorkSpace->LoadFromFile(strPath)) {
    RemoveRecentProject(strPath);
    AfxMessageBox(IDS_INVALID_PROJECT, MB_ICONINFORMATION);
    // The emptied object must not be written over the previous project's file later: that project
    // comes back as it was saved a moment ago, or, if even that fails, no project stays open.
    if (strPreviousFile.IsEmpty() || !m_pWorkSpace->LoadFromFile(strPreviousFile)) {
      m_strProjectName.Empty();
      m_strProjectFolder.Empty();
      ReanalyseProject();
      return TRUE;
    }
    strPath = strPreviousFile;
  }
  m_pWorkSpace->LoadComponentClassList();
  SetProjectPath(strPath);
  MoveRecentProjectToFront(strPath);
  ReanalyseProject();
  ShowProjectExplorer(TRUE);
  m_pWorkSpace->ReopenDocuments();
  return TRUE;
}

BOOL CInkwrightApp::ResetProject() {
  if (IsProjectOpen() && !SaveOpenProject()) return FALSE;
  ClearHtmlHelpSettings();
  m_pWorkSpace->DeleteAllFileObjs();
  CloseAllDocuments(TRUE);
  m_strProjectName.Empty();
  m_strProjectFolder.Empty();
  ReanalyseProject();
  return TRUE;
}

void CInkwrightApp::CreateProjectFolders() {
  SECFileSystem::MakePath(m_strProjectFolder);
  for (const char* folder : {"Header Files", "Source Code", "Output_Chs", "Output_GB5", "Output_Eng"})
    SECFileSystem::MakePath(m_strProjectFolder + folder);
}

BOOL CInkwrightApp::CopyFileIntoProject(CString strSourcePath) {
  CWaitCursor wait;
  SECFileSystem fs;
  const CString strFileName = fs.GetFileName(strSourcePath);
  const char* folder = ProjectFolderOfType(ExtensionOf(strSourcePath));
  if (folder == nullptr) return TRUE;
  return CopyWithQuestion(strSourcePath, m_strProjectFolder + folder + strFileName, strFileName);
}

BOOL CInkwrightApp::CopyFileIntoFolder(CString strSourcePath, CString strFolder) {
  SECFileSystem fs;
  const CString strFileName = fs.GetFileName(strSourcePath);
  CopyWithQuestion(strSourcePath, fs.AppendPath(strFolder, strFileName), strFileName);
  return TRUE;
}

BOOL CInkwrightApp::IsLiveFolderType(CString strExt) { return m_listLiveFolderTypes.Find(strExt) != nullptr; }

namespace {

// Opens an existing file of the project through the application; else tells the user.
BOOL OpenExistingFile(CInkwrightApp& app, const CString& strPath, UINT nMissingId) {
  SECFileSystem fs;
  if (fs.FileExists(strPath)) {
    app.OpenDocumentFile(strPath);
    return TRUE;
  }
  AfxMessageBox(nMissingId, MB_ICONINFORMATION);
  return FALSE;
}

}  // namespace

BOOL CInkwrightApp::OpenHeaderFile(CString strName) {
  return OpenExistingFile(*this, m_strProjectFolder + "Header Files\\" + strName, IDS_FILE_NOT_EXIST);
}

BOOL CInkwrightApp::OpenSourceFile(CString strName) {
  return OpenExistingFile(*this, m_strProjectFolder + "Source Code\\" + strName, IDS_FILE_NOT_EXIST);
}

BOOL CInkwrightApp::OpenDiagramFile(CString strName) {
  return OpenExistingFile(*this, m_strProjectFolder + "Diagrams\\" + strName, IDS_DIAGRAM_NOT_EXIST);
}

BOOL CInkwrightApp::OpenClassHirPicture(CString strPath) {
  SECFileSystem fs;
  if (fs.FileExists(strPath) && m_pClassHirTemplate != nullptr) {
    m_pClassHirTemplate->OpenDocumentFile(strPath, TRUE);
    return TRUE;
  }
  AfxMessageBox(IDS_FILE_NOT_EXIST, MB_ICONINFORMATION);
  return FALSE;
}

void CInkwrightApp::OpenFormFile(CString strName) {
  // Documents of this kind are not reopened; only the path is made.
  const CString strPath = m_strProjectFolder + "Forms\\" + strName;
  (void)strPath;
}

// ---- commands ----

void CInkwrightApp::OnNewProject() {
  CNewProjectMain wizard;
  CNewProjectPage0 page0;
  CNewProjectPage1 page1;
  CNewProjectPage2 page2;
  CNewProjectPage3 page3;
  page1.m_pComponentList = GetComponentList();
  wizard.AddPage(&page0, IDD_NEWPROJECT_PAGE0);
  wizard.AddPage(&page1, IDD_NEWPROJECT_PAGE1);
  wizard.AddPage(&page2, IDD_NEWPROJECT_PAGE2);
  wizard.AddPage(&page3, IDD_NEWPROJECT_PAGE3);
  if (wizard.DoModal() != ID_WIZFINISH) return;

  if (!ResetProject()) return;
  // The folder ends in the separator it is written with, as the wizard joins it.
  const CString& strFolder = page0.m_strProjectFolder;
  m_strProjectFolder = strFolder + (strFolder.Find('/') >= 0 && strFolder.Find('\\') < 0 ? "/" : "\\");
  m_strProjectName = page0.m_strProjectName;
  m_nTemplateId = page0.m_nTemplateId;
  CWorkSpaceObj& project = *m_pWorkSpace;
  project.m_nOutputLanguage = page1.m_nLanguage;
  project.m_strProjectTitle = page1.m_strTitle;
  project.m_nComponentId = page1.m_nComponentId;
  project.ResetMemberChoices();
  project.m_strDescription = page3.m_strDescription;
  project.m_strAuthor = page3.m_strAuthor;
  project.m_strDepartment = page3.m_strDepartment;
  project.m_strEmail = page3.m_strEmail;
  project.m_strHomePage = page3.m_strURL;
  project.m_strCompany = page3.m_strCompany;
  project.m_strCopyright = page3.m_strCopyright;
  CreateProjectFolders();
  for (POSITION pos = page2.m_FileList.GetHeadPosition(); pos != nullptr;)
    CopyFileIntoProject(page2.m_FileList.GetNext(pos));
  if (!IsProjectOpen()) {
    ReanalyseProject();
    return;
  }
  const CString strProjectFile = GetProjectFilePath();
  CollectOpenDocumentNames(project.m_DocTitleList);
  // A project file that could not be written (the reason told) leaves the project open, as the
  // wizard made it, but still to be saved: closing asks about it, and it is listed among the
  // recent projects only once its file is there.
  const BOOL bSaved = project.SaveAndReport(strProjectFile);
  if (!bSaved) project.m_bModified = TRUE;
  project.LoadComponentClassList();
  SetMainWindowTitle(m_strProjectName + " - Visual Brambolt");
  if (bSaved) MoveRecentProjectToFront(strProjectFile);
  ReanalyseProject();
}

void CInkwrightApp::OnOpenProject() {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "Brambolt Project(.dcp)|*.dcp||",
                     m_pMainWnd);
  if (dialog.DoModal() != IDOK) return;
  const CString strPath = dialog.GetPathName();
  if (!IsDifferentProject(strPath)) return;
  SECFileSystem fs;
  CString strExt = fs.GetExtension(strPath);
  strExt.MakeUpper();
  strExt.Trim();
  if (strExt == "DCP") OpenProject(strPath);
}

void CInkwrightApp::OnSaveProject() {
  if (IsProjectOpen()) SaveOpenProject();
}

void CInkwrightApp::OnSaveAll() {
  SaveAllDocuments();
  OnSaveProject();
}

void CInkwrightApp::OnCloseProject() {
  // The project's document windows close with it: their unsaved text is saved first.
  if (!IsProjectOpen() || !SaveAllDocuments() || !SaveOpenProject()) return;
  m_pWorkSpace->DeleteAllFileObjs();
  CloseAllDocuments(TRUE);
  m_strProjectName.Empty();
  m_strProjectFolder.Empty();
  ReanalyseProject();
}

void CInkwrightApp::OnFileNew() { CWinApp::OnFileNew(); }

void CInkwrightApp::OnFileOpen() {
  CString strTitle;
  strTitle.LoadString(IDS_OPEN_TITLE);
  std::vector<char> buffer(2048, '\0');
  CMyFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT,
                       kOpenFileFilter, m_pMainWnd);
  dialog.m_ofn.lpstrTitle = strTitle;
  dialog.SetHelpCommand(ID_FILE_OPEN);
  dialog.m_ofn.lpstrFile = buffer.data();
  dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  if (dialog.DoModal() != IDOK) return;
  for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;) OpenDocumentFile(dialog.GetNextPathName(pos));
}

void CInkwrightApp::OnInsertFiles() {
  std::vector<char> buffer(8192, '\0');
  CMyFileDialog dialog(TRUE, nullptr, nullptr,
                       OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLEHOOK,
                       kInsertFilesFilter, m_pMainWnd);
  dialog.SetHelpCommand(ID_INSERT_FILES);
  dialog.m_ofn.lpstrFile = buffer.data();
  dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  if (dialog.DoModal() != IDOK) return;
  for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;) CopyFileIntoProject(dialog.GetNextPathName(pos));
  ReanalyseProject();
}

void CInkwrightApp::OnInsertFromMsvcProject() {
  CProjectObj importer;
  if (!importer.BrowseAndOpenProject()) return;
  importer.ImportProjectFiles();
  ReanalyseProject();
}

void CInkwrightApp::CopyLiveFolder(const CString& strFolder, BOOL bSubFolders, int nDepth, SECFileSystem& fs) {
  const BOOL bSeparator = !strFolder.IsEmpty() && (strFolder.Right(1) == "\\" || strFolder.Right(1) == "/");
  std::unique_ptr<CStringList> files(fs.GetFileList(strFolder + (bSeparator ? "*.*" : "\\*.*"), FILE_ATTRIBUTE_NORMAL));
  for (POSITION pos = files->GetHeadPosition(); pos != nullptr;) {
    const CString& strFile = files->GetNext(pos);
    CString strExt = fs.GetExtension(strFile);
    strExt.MakeLower();
    strExt.Trim();
    if (IsLiveFolderType(strExt)) CopyFileIntoProject(strFile);
  }
  // Links to folders are not followed: they may lead back up the tree or out of it.
  constexpr int kMaxDepth = 64;
  if (!bSubFolders) return;
  std::unique_ptr<CStringList> folders(fs.GetDirectoryList(strFolder, TRUE));
  for (POSITION pos = folders->GetHeadPosition(); pos != nullptr;) {
    const CString& strSub = folders->GetNext(pos);
    const DWORD dwAttributes = ::GetFileAttributesA(strSub);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
      fs.LeaveOutLinkedFolder(strSub);
    else if (nDepth >= kMaxDepth)
      fs.LeaveOutFolder(strSub, "it lies deeper than the walk goes");
    else
      CopyLiveFolder(strSub, TRUE, nDepth + 1, fs);
  }
}

void CInkwrightApp::OnInsertLiveFolder() {
  CAddLiveFolderDlg dialog(m_pMainWnd);
  if (dialog.DoModal() != IDOK) return;
  m_listLiveFolderTypes.RemoveAll();
  m_listLiveFolderTypes.AddTail(&dialog.m_fileTypes);
  SECFileSystem fs;
  {
    CWaitCursor wait;
    CopyLiveFolder(dialog.m_strLocation, dialog.m_bLookInSubfolders, 0, fs);
    ReanalyseProject();
  }
  // The folders whose files were not looked at are named, as the files left out are.
  std::vector<FileNotBroughtIn> leftOut;
  AppendFoldersNotBroughtIn(fs, leftOut);
  if (!leftOut.empty()) AfxMessageBox(DescribeFilesNotBroughtIn(leftOut), MB_ICONEXCLAMATION);
}

void CInkwrightApp::OnCurrentProject() {
  if (!RunOrganizeFilesDialog() || !IsProjectOpen()) return;
  ReanalyseProject();
}

void CInkwrightApp::OnProjectSettings() { EditProjectSettings(*m_pWorkSpace, m_pMainWnd); }

void CInkwrightApp::OnWriteDocumentation() {
  if (!IsProjectOpen() || !ProjectFolderIsThere(m_strProjectFolder)) return;
  // The documentation is of the headers as they are when the run starts, after OK: what changed
  // on disk since they were read, even while the options were open, is read again, and the
  // explorer's trees follow. A project folder that went while the options were open leaves the
  // headers as they were read: they were not deleted, and nothing is written.
  const auto readChangedHeaders = [this] {
    if (!ProjectFolderIsThere(m_strProjectFolder)) return FALSE;
    CStringList gone;
    if (!m_pWorkSpace->HeadersChangedOnDisk(&gone)) return TRUE;
    ReanalyseProject();
    if (!gone.IsEmpty()) AfxMessageBox(GoneHeadersMessage(gone), MB_ICONINFORMATION);
    return TRUE;
  };
  if (WriteDocumentationWithDialogs(*m_pWorkSpace, m_strProjectFolder, m_pMainWnd, readChangedHeaders))
    RefreshOutputTree(TRUE);
}

void CInkwrightApp::OnGenerateHtmlHelp() {
  if (!IsProjectOpen()) return;
  CGenHelpDlg dialog(*m_pWorkSpace, m_strProjectFolder, m_pMainWnd);
  dialog.SetSettings(FillHtmlHelpDefaults(*m_pWorkSpace, m_strProjectName));
  if (dialog.DoModal() != IDOK) return;
  // The compiler runs beside the window, in a window of its own that the user can cancel.
  GenerateHtmlHelp(*m_pWorkSpace, dialog.GetSettings(), m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr);
}

void CInkwrightApp::OnWriteRtf() {}

void CInkwrightApp::OnUpdateAlwaysEnabled(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

void CInkwrightApp::OnUpdateProjectOpen(CCmdUI* pCmdUI) { pCmdUI->Enable(IsProjectOpen()); }

void CInkwrightApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
  if (pCmdUI->m_pSubMenu == nullptr) {
    // The item itself: the framework's list fills the menu.
    CWinApp::OnUpdateRecentFileMenu(pCmdUI);
    return;
  }
  // The "Recent Files" pop-up that holds it: enabled only while there is a file to list.
  const BOOL bHasFiles =
      m_pRecentFileList != nullptr && m_pRecentFileList->GetSize() > 0 && !(*m_pRecentFileList)[0].IsEmpty();
  if (pCmdUI->m_pMenu != nullptr)
    pCmdUI->m_pMenu->EnableMenuItem(pCmdUI->m_nIndex, MF_BYPOSITION | (bHasFiles ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
}

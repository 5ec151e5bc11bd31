// CInkwrightApp: the application object. Start-up (editor languages, extension map, recent
// projects, conversion tables, document templates, main frame, splash, tip of the day, the .dcp
// association), exit, message boxes, help, and the project commands with their file operations.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "afx/afx.h"
#include "core/CList.h"
#include "core/Lists.h"
#include "core/Maps.h"
#include "model/CGenMenuObj.h"

class CWorkSpaceObj;
class SECFileSystem;
class CMultiDocTemplate;
class CInkwrightShellServices;
class CInkwrightEditorServices;

// The application's fixed-pitch font ("Fixedsys", height 11), made at start-up.
extern CFont g_fontFixedsys;
// The description of that font: the stock GUI font's (or the ANSI variable font's) with the face
// "Fixedsys" and height 11.
LOGFONT FixedsysLogFont();

class CInkwrightApp : public CWinApp {
 public:
  // The registry key under HKEY_CURRENT_USER\Software of the profile and the recent projects.
  static constexpr const char* kRegistryKey = "Mirelund Software\\Visual Brambolt\\Chinese\\IDE3.30";

  CInkwrightApp();
  ~CInkwrightApp() override;
  CInkwrightApp(const CInkwrightApp&) = delete;
  CInkwrightApp& operator=(const CInkwrightApp&) = delete;

  // ---- framework overrides ----
  BOOL InitInstance() override;
  int ExitInstance() override;
  // A ".dcp" file (any case) opens as the project and gives NULL; any other goes to the
  // document manager.
  CDocument* OpenDocumentFile(LPCTSTR lpszFileName) override;
  // The framework's recent-file list, saved at each change as the recent projects are.
  void AddToRecentFileList(LPCTSTR lpszPathName) override;
  // Every message box of the system: an exclamation icon added to OK, OK/Cancel, Yes/No and
  // Yes/No/Cancel boxes without an icon, shown with the caption "Inkwright".
  int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;
  // The shell's "[open(", "[print(" and "[printto(" commands.
  BOOL OnDDECommand(LPTSTR lpszCommand) override;
  // The HTML Help file beside the program ("Brambolt.chm") at the page of the request.
  void WinHelp(DWORD_PTR dwData, UINT nCmd = 0x0001) override;

  // ---- services of the application object ----
  // The shadow of a rectangle moved right and down by nOffset, in the pattern brush.
  void DrawShadowRect(CDC* pDC, const CRect& rect, int nOffset);
  const BYTE* GetGBToBig5Table() const { return m_pGBTOBIGData; }
  const BYTE* GetBig5ToGBTable() const { return m_pBIGTOGBData; }
  // The recent projects in the value "RecentProjects" of the application's registry key.
  void LoadRecentProjects();
  // Writes the list merged with the one stored now (see ChangeRecentProjects).
  void SaveRecentProjects();
  // Makes the change on this instance's list and writes it merged with the stored one: the
  // stored entries this instance does not hold (another instance's projects) follow its own,
  // except those this instance took off the list.
  void ChangeRecentProjects(const std::function<void()>& change);
  // HKEY_CLASSES_ROOT\.dcp rewritten for this program, and the desktop's association.
  void RegisterDcpAssociation();
  // Deletes one value (lpszValueName given) or a whole key with its subkeys; TRUE on success.
  static BOOL DeleteRegKeyRecursive(HKEY hRoot, LPCTSTR lpszSubKey, LPCTSTR lpszValueName);
  // The folder of the program file, ending in a separator ("" when it cannot be read).
  static CString GetProgramFolder();

  // ---- project operations ----
  // Saves every modified document of every template, without a question; FALSE at once when the
  // user cancelled a document's save (or it failed), which then stays modified.
  BOOL SaveAllDocuments();
  // After SaveAllDocuments failed at the close because a document's file could not be written
  // (read-only, gone with its folder, access denied, a read-only mount, a full disk): each such
  // document is asked about as the framework asks (Yes saves it under another name, No leaves the
  // change unsaved). FALSE at once, asking nothing, when a document of no file stays unsaved (its
  // Save As cancelled), and when the user
  // cancels or a save fails; the documents whose change the user chose to leave are added to
  // rDeclined.
  BOOL AskAboutUnwritableDocuments(std::vector<CDocument*>& rDeclined);
  // The path of a project file as the program keeps it: a name relative to the current folder
  // made full, a full one as it is spelt.
  static CString FullProjectPath(const CString& strPath);
  // The project's folder (with its trailing separator) and name from the project file's path;
  // the folder becomes the current directory.
  void SetProjectPath(CString strPath);
  // FALSE when the path names the open project (folder and name compared trimmed, any case).
  BOOL IsDifferentProject(CString strPath);
  // Saves the open project and opens the project file; an invalid file brings the previous
  // project back. Always TRUE.
  BOOL OpenProject(CString strPath);
  // The close step of New Project: the open project saved, then everything emptied. FALSE, with
  // nothing emptied, when the open project could not be saved.
  BOOL ResetProject();
  // The project folder and its five sub-folders.
  void CreateProjectFolders();
  // Copies a source file into "Source Code\" or a header into "Header Files\" (other types are
  // skipped, TRUE); FALSE when the target existed (overwritten only when the user says Yes).
  BOOL CopyFileIntoProject(CString strSourcePath);
  // Copies a file into a folder under its own name, asking before it overwrites; TRUE.
  BOOL CopyFileIntoFolder(CString strSourcePath, CString strFolder);
  BOOL IsLiveFolderType(CString strExt);
  BOOL OpenHeaderFile(CString strName);
  BOOL OpenSourceFile(CString strName);
  BOOL OpenDiagramFile(CString strName);
  BOOL OpenClassHirPicture(CString strPath);
  void OpenFormFile(CString strName);
  // folder + name + ".dcp".
  CString GetProjectFilePath() const { return m_strProjectFolder + m_strProjectName + ".dcp"; }
  BOOL IsProjectOpen() const { return !m_strProjectName.IsEmpty(); }
  // Removes the first entry equal to the path (exact comparison) and puts the path at the head.
  // The list is saved at each change, so a kill or a crash does not lose it.
  void MoveRecentProjectToFront(const CString& strPath);
  // Removes the first entry equal to the path, if any.
  void RemoveRecentProject(const CString& strPath);

  // ---- what the model's and the editor's services ask of the main frame ----
  // The text part (the class-list file name) of the component with that id; "" when none has it.
  CString GetComponentText(int nComponentId);
  void BeginStatusProgress(LPCTSTR lpszText, int nLower, int nUpper, BOOL bFlag, DWORD dwStyle);
  void SetStatusProgress(int nPos);
  void EndStatusProgress();
  // Rebuilds the explorer's output tree, bringing it to the front when asked.
  void RefreshOutputTree(BOOL bBringToFront);
  BOOL HasMainFrame();
  // Flashes the main window until it is active (from any thread).
  void FlashMainFrame();
  HWND GetMDIClientWindow();
  BOOL GetPendingSearch(CString& strText);
  void ClearPendingSearch();

  // ---- state (the fields the rest of the shell reads) ----
  HRSRC m_hScratchRes = nullptr;
  HGLOBAL m_hGBToBigRes = nullptr;
  HGLOBAL m_hBigToGBRes = nullptr;
  const BYTE* m_pGBTOBIGData = nullptr;
  const BYTE* m_pBIGTOGBData = nullptr;
  CMultiDocTemplate* m_pFileTemplate = nullptr;
  CMultiDocTemplate* m_pProjectTemplate = nullptr;
  CMultiDocTemplate* m_pClassHirTemplate = nullptr;
  CWorkSpaceObj* m_pWorkSpace = nullptr;
  int m_nTemplateId = 100;
  CString m_strProjectFolder;
  CList<CString, const CString&> m_listRecentProjects{10};
  // The projects this instance took off the list (and did not open again since).
  CList<CString, const CString&> m_listRemovedRecentProjects{10};
  CString m_strProjectName;
  CStringList m_listLiveFolderTypes{10};
  CBrush* m_pPatternBrush = nullptr;
  CBitmap* m_pPatternBitmap = nullptr;
  CMapStringToString m_mapExtToLanguage{10};
  int m_nTipReserved = 0;
  int m_bShowTipAtStartup = 1;
  int m_nCurrentTip = 0;

 protected:
  // ---- start-up steps ----
  void RegisterLanguages();
  void FillExtensionMap();
  void LoadConversionTables();
  void RegisterTemplates();
  BOOL CreateMainFrame();
  void ShowSplash();
  void ShowTipOfTheDay();
  // The tip dialog over the tips file; the tip number and the show flag come back.
  void RunTipDialog(const CString& strTipsFile, int& nCurrentTip, int& bShowAtStartup);
  // The system's message box with the extra buttons.
  int ShowExtMessageBox(HWND hOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType);
  // The page of the help that answers the request, from the help file or the guide's pages in the
  // folder: in the CHM viewer, else in the browser, else a message box says it cannot be shown.
  void ShowHtmlHelp(const CString& strFolder, UINT nCmd, DWORD_PTR dwData);

  // ---- what the project commands ask of the main frame ----
  void CollectOpenDocumentNames(CStringList& list);
  BOOL ReanalyseProject();
  void ShowProjectExplorer(BOOL bShow);
  void SetMainWindowTitle(const CString& strTitle);
  // The main frame's component libraries (NULL while it has none).
  const CGenMenuObjList* GetComponentList();
  // The "Organize files" dialog; TRUE when it reorganised the project's files.
  BOOL RunOrganizeFilesDialog();
  // Saves the titles and the project file, and moves it to the front of the recent list. A save
  // that fails tells the user why and gives FALSE: what would close the project stops there.
  BOOL SaveOpenProject();
  // Empties the project object's six HTML Help settings.
  void ClearHtmlHelpSettings();
  // Copies the files of a folder whose types were chosen, and of its sub-folders when asked;
  // the folders not entered (links, folders that cannot be read) are noted in `fs`.
  void CopyLiveFolder(const CString& strFolder, BOOL bSubFolders, int nDepth, SECFileSystem& fs);

  // ---- commands ----
  afx_msg void OnAppAbout();
  afx_msg void OnNewProject();
  afx_msg void OnOpenProject();
  afx_msg void OnSaveProject();
  afx_msg void OnCloseProject();
  afx_msg void OnSaveAll();
  afx_msg void OnFileNew();
  afx_msg void OnFileOpen();
  afx_msg void OnInsertFiles();
  afx_msg void OnInsertFromMsvcProject();
  afx_msg void OnInsertLiveFolder();
  afx_msg void OnCurrentProject();
  afx_msg void OnProjectSettings();
  afx_msg void OnWriteDocumentation();
  afx_msg void OnGenerateHtmlHelp();
  afx_msg void OnWriteRtf();
  afx_msg void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);
  afx_msg void OnUpdateProjectOpen(CCmdUI* pCmdUI);
  afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  std::unique_ptr<CInkwrightShellServices> m_pShellServices;
  std::unique_ptr<CInkwrightEditorServices> m_pEditorServices;
};

// The application object, or null when none is running.
CInkwrightApp* GetInkwrightApp();

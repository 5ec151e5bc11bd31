// CWinApp: the application object (one per process) with its message loop, the profile
// functions over the registry or an INI file, the wait cursor and message boxes; and the
// framework's global functions that go with it.
#pragma once

#include <functional>

#include "afx/CWinThread.h"
#include "core/CollectionBase.h"
#include "afx/RecentFiles.h"
#include "controls/PrintDialog.h"

class CDC;
class CPrintDialog;
class CDocManager;
class CDocTemplate;
class CDocument;

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  // The application object of the process: AfxGetApp() from now on.
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  LPCTSTR m_pszAppName = nullptr;
  HINSTANCE m_hInstance = nullptr;
  HINSTANCE m_hPrevInstance = nullptr;
  LPTSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  LPCTSTR m_pszExeName = nullptr;
  LPCTSTR m_pszHelpFilePath = nullptr;
  LPCTSTR m_pszProfileName = nullptr;
  LPCTSTR m_pszRegistryKey = nullptr;
  BOOL m_bHelpMode = FALSE;

  virtual BOOL InitApplication();
  BOOL InitInstance() override;
  int ExitInstance() override;
  int Run() override;
  // Counts 0 and 1 as CWinThread's; TRUE while there is more to do.
  BOOL OnIdle(LONG lCount) override;
  LRESULT ProcessWndProcException(CException* e, const MSG* pMsg) override;

  // ---- profile ----
  // From now on the profile is HKEY_CURRENT_USER\Software\<key>\<application name>.
  void SetRegistryKey(LPCTSTR lpszRegistryKey);
  void SetRegistryKey(UINT nIDRegistryKey);
  // HKEY_CURRENT_USER\Software\<key>\<profile name>, made when missing; the caller closes it.
  HKEY GetAppRegistryKey();
  // The key of a section (which may hold backslashes) under the application key, made when
  // missing; the caller closes it.
  HKEY GetSectionKey(LPCTSTR lpszSection);
  UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
  BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
  CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
  // A NULL entry removes the whole section, a NULL value removes the entry.
  BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
  // The bytes come in a block allocated with new[]; the caller deletes it.
  BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes);
  BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);

  // ---- documents ----
  CDocManager* m_pDocManager = nullptr;
  CRecentFileList* m_pRecentFileList = nullptr;
  // The application owns its templates from now on.
  void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
  virtual void AddToRecentFileList(LPCTSTR lpszPathName);
  // Asks every document to save; FALSE when the user cancels.
  virtual BOOL SaveAllModified();
  void CloseAllDocuments(BOOL bEndSession);
  // Asks the user for a file name (through the installed file prompter, else a CFileDialog with
  // the templates' filters); FALSE when cancelled.
  virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                CDocTemplate* pTemplate);
  // Reads the recent-file list (nMaxMRU entries) from the profile; ExitInstance writes it back.
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  void SaveStdProfileSettings();
  // The program's arguments (from AfxWinMain or SetCommandLine) through ParseParam.
  void ParseCommandLine(CCommandLineInfo& rCmdInfo);
  // FileNew makes a new document, FileOpen opens m_strFileName; FALSE when that failed.
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
  void EnableShellOpen() {}
  void RegisterShellFileTypes(BOOL = FALSE) {}
  virtual BOOL OnDDECommand(LPTSTR) { return FALSE; }
  afx_msg void OnFileNew();
  afx_msg void OnFileOpen();
  afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
  afx_msg BOOL OnOpenRecentFile(UINT nID);

  // ---- printer (bodies in CWinAppPrint.cpp) ----
  // The application's printer: the default one until the user picks another. The blocks are the
  // application's; it frees them when it ends.
  HGLOBAL m_hDevMode = nullptr;
  HGLOBAL m_hDevNames = nullptr;
  // The application's printer blocks into a PRINTDLG (not copies); FALSE when there is none.
  BOOL GetPrinterDeviceDefaults(PRINTDLG* pPrintDlg);
  // Takes the default printer when forced or when there is none yet; while the application uses
  // the default printer, a new system default replaces it.
  void UpdatePrinterSelection(BOOL bForceDefaults);
  void SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld = TRUE);
  // A print or print-setup dialog over the application's printer; the printer chosen is kept.
  virtual INT_PTR DoPrintDialog(CPrintDialog* pPD);
  BOOL CreatePrinterDC(CDC& dc);
  afx_msg void OnFilePrintSetup();
  // Pages print preview shows side by side at first (0 or 1: one, 2: two).
  UINT m_nNumPreviewPages = 0;
  // The command line being processed while ProcessShellCommand runs (null otherwise): the
  // views' print commands read /pt's printer from it.
  CCommandLineInfo* m_pCmdInfo = nullptr;

  // ---- user interface helpers ----
  // The help context of what is on the screen; a message box of a prompt sets it to
  // HID_BASE_PROMPT + the prompt's id while it is up.
  DWORD m_dwPromptContext = 0;
  virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  // Shows a message box (through `show`, given its owner) as every box of the application is
  // shown: owned by the safe owner, the program's modeless windows (the top-level windows the
  // main window owns, such as floating bars and tool dialogs) and the owner's top-level window
  // disabled, and the help context set to the prompt's, all as before once it is answered.
  int RunMessageBox(UINT nIDPrompt, const std::function<int(HWND hOwner)>& show);
  // nCode 1 shows the wait cursor (counted), -1 takes one away, 0 shows it again if counted.
  virtual void DoWaitCursor(int nCode);
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = 0x0001);
  // Help on what the user is at (ID_HELP, F1): the prompt of the message box that is up, else
  // what the main window's windows answer (a highlighted menu command, a dialog), else the
  // default help.
  afx_msg void OnHelp();
  virtual void HtmlHelp(DWORD_PTR dwData, UINT nCmd = 0x000F);
  HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursor(nullptr, lpszCursorName); }
  HICON LoadStandardIcon(LPCTSTR lpszIconName) const;
  void HideApplication();
  void Enable3dControls() {}
  void Enable3dControlsStatic() {}
  BOOL IsIdleMessage(MSG* pMsg) override;

 protected:
  afx_msg void OnAppExit();
  DECLARE_MESSAGE_MAP()

 private:
  CString m_appName, m_exeName, m_helpPath, m_profileName, m_registryKey;
  int m_nWaitCursorCount = 0;
  HCURSOR m_hcurWaitCursorRestore = nullptr;
};

CWinApp* AfxGetApp();
LPCTSTR AfxGetAppName();

// Message boxes through the application's DoMessageBox (or the installed presenter when there
// is no application). nIDHelp 0 uses the prompt's id as help context.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

namespace brambolt::afx {
// The program's arguments as main received them, for ParseCommandLine.
void SetCommandLine(int argc, char** argv);
// What asks for a file name instead of the file dialog (tests and programs may install one).
using FilePrompter = BOOL (*)(CString& fileName, UINT nIDSTitle, DWORD flags, BOOL open, CDocTemplate* pTemplate);
void SetFilePrompter(FilePrompter prompter);
// What finally shows a message box (owner, text, caption, type): MessageBox unless a program
// installs another.
using MessageBoxPresenter = int (*)(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type);
void SetMessageBoxPresenter(MessageBoxPresenter presenter);
MessageBoxPresenter GetMessageBoxPresenter();
}  // namespace brambolt::afx

// "%1" in the string resource nIDS replaced by lpsz1 (and "%2" by lpsz2).
void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2);
// The same with the format string given.
void AfxFormatStrings(CString& rString, LPCTSTR lpszFormat, LPCTSTR const* rglpsz, int nString);

// Registers (once) and returns the name of a window class with these attributes.
// The framework's own window classes, registered on first use (AFX_*_REG bits); FALSE when one
// of them could not be.
#define AFX_WND_REG 0x0001L
#define AFX_WNDCONTROLBAR_REG 0x0002L
#define AFX_WNDMDIFRAME_REG 0x0004L
#define AFX_WNDFRAMEORVIEW_REG 0x0008L
BOOL AfxDeferRegisterClass(LONG fToRegister);
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
void AfxEnableControlContainer();

// Runs the application object: InitApplication, InitInstance, then Run; the exit code.
int AfxWinMain(int argc, char** argv);

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
 public:
  CWaitCursor() { AfxGetApp()->DoWaitCursor(1); }
  ~CWaitCursor() { AfxGetApp()->DoWaitCursor(-1); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  void Restore() { AfxGetApp()->DoWaitCursor(0); }
};

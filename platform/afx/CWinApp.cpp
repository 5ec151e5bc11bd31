// CWinApp: the application object, its profile over the registry or an INI file, message
// boxes, the wait cursor, and the framework's global helpers.
#include "afx/CWinApp.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "afx/AfxResources.h"
#include "afx/CDocTemplate.h"
#include "afx/CFileDialog.h"
#include "os/Registry.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

std::atomic<CWinApp*> g_app{nullptr};
std::atomic<brambolt::afx::MessageBoxPresenter> g_presenter{nullptr};
std::atomic<brambolt::afx::FilePrompter> g_filePrompter{nullptr};

// The arguments main received; set once at start-up.
struct Arguments {
  std::mutex mutex;
  std::vector<std::string> values;
};
Arguments& TheArguments() {
  static Arguments arguments;
  return arguments;
}

int ReportThroughMessageBox(LPCTSTR text, UINT type) { return AfxMessageBox(text, type); }

// The settings store's failed writes, kept from the write that met one (on any thread, inside any
// message handler) until the application's loop is idle and shows it. From the start of
// ExitInstance on, no window is left to show them: they go to the standard error. Never
// destroyed, since a write at the very end of the process may still tell one.
struct SettingsFailures {
  std::mutex mutex;
  bool open = false;  // an application shows them
  DWORD threadId = 0;  // the application's thread
  std::vector<std::string> pending;
  bool showing = false;  // a box of them is up (only the application's thread shows them)
};
SettingsFailures& TheSettingsFailures() {
  static auto* failures = new SettingsFailures;
  return *failures;
}

// The registry's failure handler: the text is kept and the application's loop woken to show it.
bool TakeSettingsFailure(const std::string& text) {
  SettingsFailures& failures = TheSettingsFailures();
  DWORD threadId = 0;
  {
    std::lock_guard<std::mutex> lock(failures.mutex);
    if (!failures.open) return false;
    failures.pending.push_back(text);
    threadId = failures.threadId;
  }
  ::PostThreadMessage(threadId, WM_KICKIDLE, 0, 0);
  return true;
}

void OpenSettingsFailures(DWORD threadId) {
  SettingsFailures& failures = TheSettingsFailures();
  std::lock_guard<std::mutex> lock(failures.mutex);
  failures.open = true;
  failures.threadId = threadId;
}

// No box shows them any more: what was not shown yet goes to the standard error.
void CloseSettingsFailures() {
  SettingsFailures& failures = TheSettingsFailures();
  std::vector<std::string> left;
  {
    std::lock_guard<std::mutex> lock(failures.mutex);
    failures.open = false;
    left.swap(failures.pending);
  }
  for (const std::string& text : left) std::fprintf(stderr, "%s\n", text.c_str());
}

// Shows the failures kept so far, one warning box each, in the order they came.
void ShowSettingsFailures() {
  SettingsFailures& failures = TheSettingsFailures();
  if (failures.showing) return;
  failures.showing = true;
  for (;;) {
    std::string text;
    {
      std::lock_guard<std::mutex> lock(failures.mutex);
      if (failures.pending.empty()) break;
      text = std::move(failures.pending.front());
      failures.pending.erase(failures.pending.begin());
    }
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
  }
  failures.showing = false;
}

// The program's file name without folder and extension.
CString ProgramBaseName() {
  char path[MAX_PATH] = {};
  ::GetModuleFileName(nullptr, path, MAX_PATH);
  std::string name = path;
  size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return CString(name.c_str());
}

CString ProgramPathWithExtension(LPCTSTR extension) {
  char path[MAX_PATH] = {};
  ::GetModuleFileName(nullptr, path, MAX_PATH);
  std::string name = path;
  size_t slash = name.find_last_of("/\\");
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.erase(dot);
  name += extension;
  return CString(name.c_str());
}

// Profile binaries in an INI file: two letters a byte, 'A' + low nibble then 'A' + high nibble.
CString EncodeBinary(const BYTE* data, UINT size) {
  std::string text;
  text.reserve(size * 2);
  for (UINT i = 0; i < size; ++i) {
    text += static_cast<char>('A' + (data[i] & 0x0F));
    text += static_cast<char>('A' + ((data[i] >> 4) & 0x0F));
  }
  return CString(text.c_str());
}

}  // namespace

CWinApp* AfxGetApp() { return g_app.load(); }

LPCTSTR AfxGetAppName() {
  CWinApp* app = AfxGetApp();
  return app != nullptr ? app->m_pszAppName : "";
}

CWinApp::CWinApp(LPCTSTR lpszAppName) {
  g_app.store(this);
  _AFX_THREAD_STATE* state = AfxGetThreadState();
  state->m_pCurrentWinThread = this;
  m_hThread = ::GetCurrentThread();
  m_nThreadID = ::GetCurrentThreadId();
  m_bAutoDelete = FALSE;
  m_hInstance = AfxGetInstanceHandle();
  brambolt::afx::InstallStringLoader();
  AfxSetErrorReporter(&ReportThroughMessageBox);
  // A settings write that fails is told to the user in a box, shown when the loop is idle.
  OpenSettingsFailures(m_nThreadID);
  brambolt::SetRegistryFailureHandler(&TakeSettingsFailure);

  m_exeName = ProgramBaseName();
  if (lpszAppName != nullptr) {
    m_appName = lpszAppName;
  } else if (!m_appName.LoadString(AFX_IDS_APP_TITLE)) {
    m_appName = m_exeName;
  }
  m_helpPath = ProgramPathWithExtension(".HLP");
  m_profileName = m_exeName + ".INI";
  m_pszAppName = m_appName;
  m_pszExeName = m_exeName;
  m_pszHelpFilePath = m_helpPath;
  m_pszProfileName = m_profileName;
}

CWinApp::~CWinApp() {
  CloseSettingsFailures();
  delete m_pDocManager;
  delete m_pRecentFileList;
  SelectPrinter(nullptr, nullptr);
  CWinApp* self = this;
  g_app.compare_exchange_strong(self, nullptr);
  _AFX_THREAD_STATE* state = AfxGetThreadState();
  if (state->m_pCurrentWinThread == this) state->m_pCurrentWinThread = nullptr;
  m_hThread = nullptr;  // the pseudo-handle of the thread is not ours to close
}

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
  ON_COMMAND(ID_APP_EXIT, OnAppExit)
  ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
  ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
END_MESSAGE_MAP()

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() {
  CloseSettingsFailures();
  if (m_pRecentFileList != nullptr) SaveStdProfileSettings();
  return static_cast<int>(m_msgCur.wParam);
}

// ---- documents ----

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (m_pDocManager == nullptr) m_pDocManager = new CDocManager;
  m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return m_pDocManager != nullptr ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const { return m_pDocManager->GetNextDocTemplate(pos); }

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
  return m_pDocManager != nullptr ? m_pDocManager->OpenDocumentFile(lpszFileName) : nullptr;
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
  if (m_pRecentFileList != nullptr) m_pRecentFileList->Add(lpszPathName);
}

BOOL CWinApp::SaveAllModified() { return m_pDocManager == nullptr || m_pDocManager->SaveAllModified(); }

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
  if (m_pDocManager != nullptr) m_pDocManager->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate) {
  brambolt::afx::FilePrompter prompter = g_filePrompter.load();
  if (prompter == nullptr) prompter = &brambolt::afx::PromptFileNameWithDialog;
  return prompter(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate);
}

void CWinApp::OnFileNew() {
  if (m_pDocManager != nullptr) m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen() {
  CString name;
  if (DoPromptFileName(name, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
    OpenDocumentFile(name);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
  if (nMaxMRU == 0) return;
  delete m_pRecentFileList;
  m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", static_cast<int>(nMaxMRU));
  m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
  if (m_pRecentFileList != nullptr) m_pRecentFileList->WriteList();
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
  if (m_pRecentFileList == nullptr)
    pCmdUI->Enable(FALSE);
  else
    m_pRecentFileList->UpdateMenu(pCmdUI);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
  if (m_pRecentFileList == nullptr) return FALSE;
  int index = static_cast<int>(nID - ID_FILE_MRU_FILE1);
  if (index < 0 || index >= m_pRecentFileList->GetSize()) return FALSE;
  // A file that no longer opens leaves the list. Its name is copied: opening changes the list.
  const CString strPath = (*m_pRecentFileList)[index];
  if (OpenDocumentFile(strPath) == nullptr) m_pRecentFileList->Remove(index);
  return TRUE;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  std::vector<std::string> args;
  {
    Arguments& a = TheArguments();
    std::lock_guard lock(a.mutex);
    args = a.values;
  }
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // "/p" is a switch, "/home/me/a.h" a file: an absolute path has a second slash or exists.
    bool flag = !arg.empty() && (arg[0] == '-' || (arg[0] == '/' && arg.find('/', 1) == std::string::npos &&
                                                    ::GetFileAttributes(arg.c_str()) == INVALID_FILE_ATTRIBUTES));
    rCmdInfo.ParseParam(flag ? arg.c_str() + 1 : arg.c_str(), flag, i + 1 == args.size());
  }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      OnFileNew();
      return TRUE;
    case CCommandLineInfo::FileOpen:
      return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo: {
      // Open, print without the dialog (to the printer /pt names), and end: FALSE tells the
      // caller there is nothing left to run.
      if (OpenDocumentFile(rCmdInfo.m_strFileName) == nullptr) return FALSE;
      if (m_pMainWnd != nullptr) {
        m_pCmdInfo = &rCmdInfo;
        m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
        m_pCmdInfo = nullptr;
      }
      return FALSE;
    }
    case CCommandLineInfo::AppRegister:
    case CCommandLineInfo::AppUnregister:
      return FALSE;  // nothing to run: registering is all there was to do
    default:
      return TRUE;
  }
}

void brambolt::afx::SetCommandLine(int argc, char** argv) {
  Arguments& a = TheArguments();
  std::lock_guard lock(a.mutex);
  // Arguments (file names most of all) come in the system's charset.
  a.values.clear();
  for (int i = 0; i < argc; ++i) a.values.push_back(brambolt::ProgramNameOf(argv[i]));
}

void brambolt::afx::SetFilePrompter(FilePrompter prompter) { g_filePrompter.store(prompter); }

int AfxWinMain(int argc, char** argv) {
  brambolt::afx::SetCommandLine(argc, argv);
  CWinApp* app = AfxGetApp();
  if (app == nullptr || !app->InitApplication()) return -1;
  if (!app->InitInstance()) {
    if (app->m_pMainWnd != nullptr) app->m_pMainWnd->DestroyWindow();
    return app->ExitInstance();
  }
  return app->Run();
}

int CWinApp::Run() {
  // An application that made no main window has nothing to run for.
  if (m_pMainWnd == nullptr) AfxPostQuitMessage(0);
  return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    ShowSettingsFailures();
    CWinThread::OnIdle(lCount);
    return TRUE;
  }
  if (lCount == 1) CWinThread::OnIdle(lCount);
  return FALSE;
}

BOOL CWinApp::IsIdleMessage(MSG* pMsg) { return CWinThread::IsIdleMessage(pMsg); }

LRESULT CWinApp::ProcessWndProcException(CException* e, const MSG* pMsg) {
  return CWinThread::ProcessWndProcException(e, pMsg);
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd != nullptr) m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::HideApplication() {
  if (m_pMainWnd != nullptr) m_pMainWnd->ShowWindow(SW_HIDE);
}

HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const { return brambolt::GetStandardIcon(lpszIconName); }

void CWinApp::WinHelp(DWORD_PTR, UINT) {}

void CWinApp::OnHelp() {
  if (m_dwPromptContext != 0) {
    WinHelp(m_dwPromptContext, HELP_CONTEXT);
    return;
  }
  if (m_pMainWnd != nullptr && m_pMainWnd->GetSafeHwnd() != nullptr) m_pMainWnd->OnHelp();
}

void CWinApp::HtmlHelp(DWORD_PTR, UINT) {}

// ---- profile ----

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
  m_registryKey = lpszRegistryKey;
  m_pszRegistryKey = m_registryKey;
  m_profileName = m_appName;
  m_pszProfileName = m_profileName;
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
  CString key;
  key.LoadString(nIDRegistryKey);
  SetRegistryKey(key);
}

namespace {

// Closes a key changed with the result `result`; whether the change is made and stored (closing
// writes the settings file, and a failed write fails the change).
BOOL CloseWritten(HKEY key, LONG result) {
  const LONG closed = ::RegCloseKey(key);
  return result == ERROR_SUCCESS && closed == ERROR_SUCCESS;
}

}  // namespace

HKEY CWinApp::GetAppRegistryKey() {
  if (m_pszRegistryKey == nullptr) return nullptr;
  CString path = CString("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName;
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (::RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                       &key, &disposition) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection) {
  HKEY app = GetAppRegistryKey();
  if (app == nullptr) return nullptr;
  HKEY section = nullptr;
  DWORD disposition = 0;
  if (::RegCreateKeyEx(app, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &section,
                       &disposition) != ERROR_SUCCESS)
    section = nullptr;
  ::RegCloseKey(app);
  return section;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
  if (m_pszRegistryKey == nullptr)
    return ::GetPrivateProfileInt(lpszSection, lpszEntry, nDefault, m_pszProfileName);
  HKEY section = GetSectionKey(lpszSection);
  if (section == nullptr) return static_cast<UINT>(nDefault);
  DWORD value = 0, type = 0, size = sizeof(value);
  LONG result = ::RegQueryValueEx(section, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size);
  ::RegCloseKey(section);
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return static_cast<UINT>(nDefault);
  return value;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
  if (m_pszRegistryKey == nullptr) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d", nValue);
    return ::WritePrivateProfileString(lpszSection, lpszEntry, text, m_pszProfileName);
  }
  HKEY section = GetSectionKey(lpszSection);
  if (section == nullptr) return FALSE;
  auto value = static_cast<DWORD>(nValue);
  LONG result = ::RegSetValueEx(section, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  return CloseWritten(section, result);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
  if (lpszDefault == nullptr) lpszDefault = "";
  if (m_pszRegistryKey == nullptr) {
    std::string buffer(4096, '\0');
    DWORD length = ::GetPrivateProfileString(lpszSection, lpszEntry, lpszDefault, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), m_pszProfileName);
    return CString(buffer.data(), static_cast<int>(length));
  }
  HKEY section = GetSectionKey(lpszSection);
  if (section == nullptr) return lpszDefault;
  DWORD type = 0;
  std::string text;
  CString value(lpszDefault);
  if (brambolt::ReadRegistryString(section, lpszEntry, text, &type) == ERROR_SUCCESS && type == REG_SZ)
    value = CString(text.data(), static_cast<int>(text.size()));
  ::RegCloseKey(section);
  return value;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
  if (m_pszRegistryKey == nullptr)
    return ::WritePrivateProfileString(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
  if (lpszEntry == nullptr) {
    HKEY app = GetAppRegistryKey();
    if (app == nullptr) return FALSE;
    LONG result = ::RegDeleteKey(app, lpszSection);
    return CloseWritten(app, result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result);
  }
  HKEY section = GetSectionKey(lpszSection);
  if (section == nullptr) return FALSE;
  LONG result;
  if (lpszValue == nullptr) {
    result = ::RegDeleteValue(section, lpszEntry);
    if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
  } else {
    result = ::RegSetValueEx(section, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                             static_cast<DWORD>(std::char_traits<char>::length(lpszValue) + 1));
  }
  return CloseWritten(section, result);
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes) {
  *ppData = nullptr;
  *pBytes = 0;
  if (m_pszRegistryKey == nullptr) {
    CString text = GetProfileString(lpszSection, lpszEntry, nullptr);
    int length = text.GetLength();
    if (length == 0 || length % 2 != 0) return FALSE;
    for (int i = 0; i < length; ++i)
      if (text[i] < 'A' || text[i] > 'P') return FALSE;
    UINT size = static_cast<UINT>(length / 2);
    *ppData = new BYTE[size];
    for (UINT i = 0; i < size; ++i)
      (*ppData)[i] = static_cast<BYTE>(((text[static_cast<int>(2 * i + 1)] - 'A') << 4) | (text[static_cast<int>(2 * i)] - 'A'));
    *pBytes = size;
    return TRUE;
  }
  HKEY section = GetSectionKey(lpszSection);
  if (section == nullptr) return FALSE;
  DWORD type = 0, size = 0;
  LONG result = ::RegQueryValueEx(section, lpszEntry, nullptr, &type, nullptr, &size);
  if (result == ERROR_SUCCESS && type == REG_BINARY) {
    *ppData = new BYTE[size > 0 ? size : 1];
    result = ::RegQueryValueEx(section, lpszEntry, nullptr, &type, *ppData, &size);
    if (result == ERROR_SUCCESS) {
      *pBytes = size;
    } else {
      delete[] *ppData;
      *ppData = nullptr;
    }
  }
  ::RegCloseKey(section);
  return *ppData != nullptr;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes) {
  if (m_pszRegistryKey == nullptr)
    return WriteProfileString(lpszSection, lpszEntry, EncodeBinary(pData, nBytes));
  HKEY section = GetSectionKey(lpszSection);
  if (section == nullptr) return FALSE;
  LONG result = ::RegSetValueEx(section, lpszEntry, 0, REG_BINARY, pData, nBytes);
  return CloseWritten(section, result);
}

// ---- message boxes and the wait cursor ----

void brambolt::afx::SetMessageBoxPresenter(MessageBoxPresenter presenter) { g_presenter.store(presenter); }

brambolt::afx::MessageBoxPresenter brambolt::afx::GetMessageBoxPresenter() {
  MessageBoxPresenter presenter = g_presenter.load();
  return presenter != nullptr ? presenter : &::MessageBox;
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) {
  if ((nType & 0xF0) == 0) {
    // Boxes without an icon get one that matches their buttons.
    UINT kind = nType & MB_TYPEMASK;
    nType |= (kind == MB_YESNO || kind == MB_YESNOCANCEL) ? MB_ICONQUESTION : MB_ICONEXCLAMATION;
  }
  return RunMessageBox(nIDPrompt, [&](HWND owner) {
    return brambolt::afx::GetMessageBoxPresenter()(owner, lpszPrompt, m_pszAppName, nType);
  });
}

namespace {

// The visible, enabled top-level windows of this thread that `main` owns, directly or through
// others, leaving out `owner` (the box itself holds its owner).
std::vector<HWND> ModelessWindows(HWND main, HWND owner) {
  struct Walk {
    HWND main, owner;
    std::vector<HWND> found;
  } walk{main, owner, {}};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        auto* w = reinterpret_cast<Walk*>(lParam);
        if (hWnd == w->owner || !::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd)) return TRUE;
        for (HWND h = ::GetWindow(hWnd, GW_OWNER); h != nullptr; h = ::GetWindow(h, GW_OWNER))
          if (h == w->main) {
            w->found.push_back(hWnd);
            break;
          }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  return walk.found;
}

}  // namespace

int CWinApp::RunMessageBox(UINT nIDPrompt, const std::function<int(HWND hOwner)>& show) {
  HWND hTop = nullptr;
  HWND hOwner = CWnd::GetSafeOwner_(nullptr, &hTop);
  // Without a main window the box belongs to whatever window is active.
  if (hOwner == nullptr) hOwner = ::GetActiveWindow();
  const HWND hMain = m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr;
  const std::vector<HWND> modeless = hMain != nullptr ? ModelessWindows(hMain, hOwner) : std::vector<HWND>();
  for (HWND hWnd : modeless) ::EnableWindow(hWnd, FALSE);
  // The owner keeps the context help is asked for, else the application does.
  DWORD* pdwContext = hOwner != nullptr ? reinterpret_cast<DWORD*>(::SendMessage(hOwner, WM_HELPPROMPTADDR, 0, 0)) : nullptr;
  if (pdwContext == nullptr) pdwContext = &m_dwPromptContext;
  const DWORD dwOldContext = *pdwContext;
  if (nIDPrompt != 0) *pdwContext = HID_BASE_PROMPT + nIDPrompt;
  const int nResult = show(hOwner);
  *pdwContext = dwOldContext;
  if (hTop != nullptr && ::IsWindow(hTop)) ::EnableWindow(hTop, TRUE);
  for (HWND hWnd : modeless)
    if (::IsWindow(hWnd)) ::EnableWindow(hWnd, TRUE);
  return nResult;
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
  if (CWinApp* app = AfxGetApp()) return app->DoMessageBox(lpszText, nType, nIDHelp);
  return brambolt::afx::GetMessageBoxPresenter()(::GetActiveWindow(), lpszText, "", nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString prompt;
  prompt.LoadString(nIDPrompt);
  if (nIDHelp == static_cast<UINT>(-1)) nIDHelp = nIDPrompt;
  return AfxMessageBox(prompt, nType, nIDHelp);
}

void CWinApp::DoWaitCursor(int nCode) {
  m_nWaitCursorCount += nCode;
  if (m_nWaitCursorCount > 0) {
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = previous;
  } else {
    m_nWaitCursorCount = 0;
    ::SetCursor(m_hcurWaitCursorRestore);
  }
}

void CCmdTarget::BeginWaitCursor() { AfxGetApp()->DoWaitCursor(1); }

void CCmdTarget::EndWaitCursor() { AfxGetApp()->DoWaitCursor(-1); }

void CCmdTarget::RestoreWaitCursor() { AfxGetApp()->DoWaitCursor(0); }

// ---- global helpers ----

void AfxFormatStrings(CString& rString, LPCTSTR lpszFormat, LPCTSTR const* rglpsz, int nString) {
  std::string out;
  for (const char* p = lpszFormat; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
      int index = p[1] - '1';
      if (index < nString && rglpsz[index] != nullptr) out += rglpsz[index];
      ++p;
    } else {
      out += *p;
    }
  }
  rString = out.c_str();
}

void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1) {
  CString format;
  format.LoadString(nIDS);
  AfxFormatStrings(rString, format, &lpsz1, 1);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2) {
  CString format;
  format.LoadString(nIDS);
  LPCTSTR strings[2] = {lpsz1, lpsz2};
  AfxFormatStrings(rString, format, strings, 2);
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  // Names are kept for the life of the process, as the classes are.
  static std::mutex mutex;
  static std::set<std::string> names;
  char name[96];
  HINSTANCE instance = AfxGetInstanceHandle();
  if (hCursor == nullptr && hbrBackground == nullptr && hIcon == nullptr)
    std::snprintf(name, sizeof(name), "Afx:%p:%x", static_cast<void*>(instance), nClassStyle);
  else
    std::snprintf(name, sizeof(name), "Afx:%p:%x:%p:%p:%p", static_cast<void*>(instance), nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  std::lock_guard lock(mutex);
  auto [it, added] = names.insert(name);
  if (added) {
    WNDCLASS wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = instance;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = it->c_str();
    WNDCLASS existing{};
    if (!::GetClassInfo(instance, it->c_str(), &existing) && !::RegisterClass(&wc)) {
      names.erase(it);
      return nullptr;
    }
  }
  return it->c_str();
}

LPCTSTR AfxRegisterDefaultWndClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = AFX_WND;
    ::RegisterClass(&wc);
  });
  return AFX_WND;
}

BOOL AfxDeferRegisterClass(LONG fToRegister) {
  static std::mutex mutex;
  static LONG registered = 0;
  std::lock_guard lock(mutex);
  auto registerOne = [](LPCTSTR name, UINT style, HBRUSH background) {
    WNDCLASS existing{};
    if (::GetClassInfo(AfxGetInstanceHandle(), name, &existing)) return true;
    WNDCLASS wc{};
    wc.style = style;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return ::RegisterClass(&wc) != 0;
  };
  LONG todo = fToRegister & ~registered;
  if ((todo & AFX_WND_REG) && AfxRegisterDefaultWndClass() != nullptr) registered |= AFX_WND_REG;
  if ((todo & AFX_WNDCONTROLBAR_REG) && registerOne(AFX_WNDCONTROLBAR, CS_DBLCLKS, ::GetSysColorBrush(COLOR_BTNFACE)))
    registered |= AFX_WNDCONTROLBAR_REG;
  // The MDI frame's client area is covered by the MDI client: no background of its own.
  if ((todo & AFX_WNDMDIFRAME_REG) && registerOne(AFX_WNDMDIFRAME, CS_DBLCLKS, nullptr)) registered |= AFX_WNDMDIFRAME_REG;
  if ((todo & AFX_WNDFRAMEORVIEW_REG) &&
      registerOne(AFX_WNDFRAMEORVIEW, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::GetSysColorBrush(COLOR_WINDOW)))
    registered |= AFX_WNDFRAMEORVIEW_REG;
  return (registered & fToRegister) == fToRegister;
}

void AfxEnableControlContainer() {}

// The application object: construction, start-up in its fixed order, exit, the message box, help,
// the DDE and open-document routing, the recent-project list and the .dcp association.
#include "app/CInkwrightApp.h"

#include "app/CInkwrightEditorServices.h"
#include "app/CInkwrightShellServices.h"
#include "app/CRegKeyHolder.h"
#include "app/DesktopAssociation.h"
#include "app/DrawShadowRect.h"
#include "app/HelpTopics.h"
#include "backend/DropFiles.h"
#include "bars/SECMenuBarFeature.h"
#include "bars/SECTipOfDay.h"
#include "editor/lang/SECEditLangConfig.h"
#include "editor/lang/SECEditLangConfigStorage.h"
#include "model/CWorkSpaceObj.h"
#include "model/RecentProjectList.h"
#include "ole/Automation.h"
#include "os/Help.h"
#include "os/Paths.h"
#include "os/Process.h"
#include "os/Registry.h"
#include "resources/ShellRes.h"

CFont g_fontFixedsys;

namespace {

constexpr const char* kRecentProjectsValue = "RecentProjects";
constexpr const char* kMessageCaption = "Inkwright";
constexpr const char* kHelpNotShownMessage =
    "The help cannot be shown. It needs the help file Brambolt.chm beside the program and the CHM "
    "viewer xchm, or the help pages beside the program and a web browser opened through xdg-open "
    "(xdg-utils). tools/install-deps installs both.";

// The seven editor languages: name, source, and how it is read and written back.
enum class LangSource { IniThenRegistry, BinaryThenRegistry, ResourceThenRegistry, IniOnly };
struct LanguageEntry {
  const char* name;
  LangSource source;
  const char* file;  // under the Windows directory; unused for the resource
};
constexpr LanguageEntry kLanguages[] = {
    {"C", LangSource::IniThenRegistry, "DocSys\\DevStudio.ini"},
    {"C from Binary File", LangSource::BinaryThenRegistry, "DocSys\\DevStudio.lcf"},
    {"C from Custom Resource", LangSource::ResourceThenRegistry, nullptr},
    {"JScript", LangSource::IniThenRegistry, "DocSys\\JScript.ini"},
    {"VBScript", LangSource::IniThenRegistry, "DocSys\\VBScript.ini"},
    {"HTML", LangSource::IniThenRegistry, "DocSys\\HTML.ini"},
    {"IDL", LangSource::IniOnly, "DocSys\\idl.ini"},
};

// Extension (with its dot) to language, in the order they are entered.
constexpr std::pair<const char*, const char*> kExtensionLanguages[] = {
    {".c", "C"},          {".cpp", "C"},        {".inl", "C"},        {".h", "C"},
    {".idl", "IDL"},      {".odl", "IDL"},      {".java", "JScript"}, {".dsm", "VBScript"},
    {".vbs", "VBScript"}, {".mod", "VBScript"}, {".bas", "VBScript"}, {".cls", "VBScript"},
    {".frm", "VBScript"}, {".htm", "HTML"},     {".html", "HTML"},
};

CString WindowsDirectory() {
  char buffer[256] = {};
  ::GetWindowsDirectoryA(buffer, 255);
  return buffer;
}

// The lower-case text after the last dot of the path's file name ("" without one).
CString LowerExtension(const CString& strPath) {
  const int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
  const int nDot = strPath.ReverseFind('.');
  if (nDot <= nSlash) return CString();
  CString strExt = strPath.Mid(nDot + 1);
  strExt.MakeLower();
  return strExt;
}

}  // namespace

CInkwrightApp* GetInkwrightApp() { return dynamic_cast<CInkwrightApp*>(AfxGetApp()); }

BEGIN_MESSAGE_MAP(CInkwrightApp, CWinApp)
  ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
  ON_COMMAND(ID_NEW_PROJECT, OnNewProject)
  ON_COMMAND(ID_OPEN_PROJECT, OnOpenProject)
  ON_COMMAND(ID_SAVE_PROJECT, OnSaveProject)
  ON_COMMAND(ID_CLOSE_PROJECT, OnCloseProject)
  ON_COMMAND(ID_SAVE_ALL, OnSaveAll)
  ON_COMMAND(ID_FILE_NEW, OnFileNew)
  ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
  ON_COMMAND(ID_INSERT_FILES, OnInsertFiles)
  ON_COMMAND(ID_INSERT_MSVC_PROJECT, OnInsertFromMsvcProject)
  ON_COMMAND(ID_INSERT_LIVE_FOLDER, OnInsertLiveFolder)
  ON_COMMAND(ID_CURRENT_PROJECT, OnCurrentProject)
  ON_COMMAND(ID_PROJECT_SETTINGS, OnProjectSettings)
  ON_COMMAND(ID_WRITE_DOCUMENTATION, OnWriteDocumentation)
  ON_COMMAND(ID_GENERATE_HTML_HELP, OnGenerateHtmlHelp)
  ON_COMMAND(ID_WRITE_RTF, OnWriteRtf)
  ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
  ON_UPDATE_COMMAND_UI(ID_NEW_PROJECT, OnUpdateAlwaysEnabled)
  ON_UPDATE_COMMAND_UI(ID_OPEN_PROJECT, OnUpdateAlwaysEnabled)
  ON_UPDATE_COMMAND_UI(ID_SAVE_ALL, OnUpdateAlwaysEnabled)
  ON_UPDATE_COMMAND_UI(ID_FILE_NEW, OnUpdateAlwaysEnabled)
  ON_UPDATE_COMMAND_UI(ID_WRITE_RTF, OnUpdateAlwaysEnabled)
  ON_UPDATE_COMMAND_UI(ID_SAVE_PROJECT, OnUpdateProjectOpen)
  ON_UPDATE_COMMAND_UI(ID_CLOSE_PROJECT, OnUpdateProjectOpen)
  ON_UPDATE_COMMAND_UI(ID_INSERT_FILES, OnUpdateProjectOpen)
  ON_UPDATE_COMMAND_UI(ID_INSERT_MSVC_PROJECT, OnUpdateProjectOpen)
  ON_UPDATE_COMMAND_UI(ID_WRITE_DOCUMENTATION, OnUpdateProjectOpen)
  ON_UPDATE_COMMAND_UI(ID_CURRENT_PROJECT, OnUpdateProjectOpen)
  ON_UPDATE_COMMAND_UI(ID_GENERATE_HTML_HELP, OnUpdateProjectOpen)
  ON_UPDATE_COMMAND_UI(ID_INSERT_LIVE_FOLDER, OnUpdateProjectOpen)
  ON_UPDATE_COMMAND_UI(ID_PROJECT_SETTINGS, OnUpdateProjectOpen)
  ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CInkwrightApp::CInkwrightApp() : CWinApp(nullptr), m_pWorkSpace(new CWorkSpaceObj) {}

CInkwrightApp::~CInkwrightApp() {
  // ExitInstance normally released these; a start-up that never ran leaves them here.
  delete m_pWorkSpace;
  delete m_pPatternBrush;
  delete m_pPatternBitmap;
}

// ---- start-up ----

LOGFONT FixedsysLogFont() {
  LOGFONT lf{};
  HGDIOBJ hStock = ::GetStockObject(DEFAULT_GUI_FONT);
  if (hStock == nullptr) hStock = ::GetStockObject(ANSI_VAR_FONT);
  ::GetObject(hStock, sizeof lf, &lf);
  lstrcpyn(lf.lfFaceName, "Fixedsys", LF_FACESIZE);
  lf.lfHeight = 11;
  return lf;
}

BOOL CInkwrightApp::InitInstance() {
  if (!AfxOleInit()) {
    AfxMessageBox(IDS_OLE_INIT_FAILED);
    return FALSE;
  }
  AfxEnableControlContainer();
  Enable3dControlsStatic();

  LOGFONT lf = FixedsysLogFont();
  g_fontFixedsys.DeleteObject();
  g_fontFixedsys.Attach(::CreateFontIndirect(&lf));

  m_pPatternBitmap = new CBitmap;
  m_pPatternBitmap->LoadBitmap(IDB_SHADOW_PATTERN);
  m_pPatternBrush = new CBrush;
  m_pPatternBrush->CreatePatternBrush(m_pPatternBitmap);

  // The model and the editor reach the application through these from now on.
  m_pShellServices = std::make_unique<CInkwrightShellServices>(*this);
  SetShellServices(m_pShellServices.get());
  m_pEditorServices = std::make_unique<CInkwrightEditorServices>(*this);
  GWExtSetAppServices(m_pEditorServices.get());
  SECInstallMenuBarHooks();

  RegisterLanguages();
  FillExtensionMap();
  SetRegistryKey(kRegistryKey);
  LoadRecentProjects();
  LoadStdProfileSettings(4);
  LoadConversionTables();
  RegisterTemplates();
  if (!CreateMainFrame()) return FALSE;

  EnableShellOpen();
  RegisterShellFileTypes(TRUE);
  // Before any modal window (a failing command-line open, the tip of the day) can hold start-up.
  RegisterDcpAssociation();
  CCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);
  ShowSplash();
  ::DragAcceptFiles(m_pMainWnd->GetSafeHwnd(), TRUE);
  // A project file on the command line opens as the project. No document stands for a project,
  // so the framework's open would count it as failed and end the program.
  if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen && LowerExtension(cmdInfo.m_strFileName) == "dcp")
    OpenDocumentFile(cmdInfo.m_strFileName);
  else if (!ProcessShellCommand(cmdInfo))
    return FALSE;
  m_pMainWnd->ShowWindow(SW_SHOWNORMAL);
  m_pMainWnd->UpdateWindow();
  ShowTipOfTheDay();
  return TRUE;
}

void CInkwrightApp::RegisterLanguages() {
  const CString strWindows = WindowsDirectory();
  for (const LanguageEntry& entry : kLanguages) {
    const CString strFile = entry.file != nullptr ? strWindows + "\\" + entry.file : CString();
    SECEditLangConfig::Reader* pReader = nullptr;
    SECEditLangConfig::Writer* pWriter = nullptr;
    switch (entry.source) {
      case LangSource::IniThenRegistry:
        pReader = CreateIniRegLangReader(strFile, entry.name);
        break;
      case LangSource::BinaryThenRegistry:
        pReader = CreateBinRegLangReader(strFile, entry.name);
        break;
      case LangSource::ResourceThenRegistry:
        pReader = CreateResRegLangReader(IDR_APP_LANG_CONFIG_C, entry.name);
        break;
      case LangSource::IniOnly:
        pReader = new SECEditLangConfigIniReader(strFile);
        pWriter = new SECEditLangConfigIniWriter(strFile);
        break;
    }
    if (pWriter == nullptr) pWriter = new SECEditLangConfigRegWriter(entry.name);
    SECEditLangConfig::RegisterLanguage(entry.name, pReader, pWriter);
    // The manager keeps references of its own.
    pReader->Release();
    pWriter->Release();
  }
}

void CInkwrightApp::FillExtensionMap() {
  for (const auto& [ext, language] : kExtensionLanguages) m_mapExtToLanguage.SetAt(ext, language);
}

void CInkwrightApp::LoadConversionTables() {
  struct Table {
    const char* name;
    HGLOBAL* phRes;
    const BYTE** ppData;
    const char* failure;
  };
  const Table tables[] = {{"GBTOBIG", &m_hGBToBigRes, &m_pGBTOBIGData, "fail to load GB2BIG Resource"},
                          {"BIGTOGB", &m_hBigToGBRes, &m_pBIGTOGBData, "fail to load Big2GB Resource"}};
  for (const Table& table : tables) {
    m_hScratchRes = ::FindResource(AfxGetResourceHandle(), table.name, RT_RCDATA);
    *table.phRes = m_hScratchRes != nullptr ? ::LoadResource(AfxGetResourceHandle(), m_hScratchRes) : nullptr;
    *table.ppData = *table.phRes != nullptr ? static_cast<const BYTE*>(::LockResource(*table.phRes)) : nullptr;
    // Start-up goes on without the table; only the conversion in that direction is missing.
    if (*table.ppData == nullptr) AfxMessageBox(table.failure);
  }
}

void CInkwrightApp::ShowTipOfTheDay() {
  m_nTipReserved = 0;
  m_nCurrentTip = static_cast<int>(GetProfileInt("Tip", "CurrentTip", 0));
  m_bShowTipAtStartup = static_cast<int>(GetProfileInt("Tip", "ShowAtStartup", 1));
  if (!m_bShowTipAtStartup) return;
  const CString strTipsFile = GetProgramFolder() + "todtest.tip";
  m_nCurrentTip = SECTipOfDay::NextTip(static_cast<UINT>(m_nCurrentTip));
  RunTipDialog(strTipsFile, m_nCurrentTip, m_bShowTipAtStartup);
  WriteProfileInt("Tip", "CurrentTip", m_nCurrentTip);
  WriteProfileInt("Tip", "ShowAtStartup", m_bShowTipAtStartup);
}

CString CInkwrightApp::GetProgramFolder() {
  char path[MAX_PATH] = {};
  if (::GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) return CString();
  CString strPath = path;
  const int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
  return nSlash >= 0 ? strPath.Left(nSlash + 1) : CString();
}

// ---- exit ----

int CInkwrightApp::ExitInstance() {
  SECEditLangConfig::SaveLanguage(nullptr);
  delete m_pWorkSpace;
  m_pWorkSpace = nullptr;
  delete m_pPatternBrush;
  m_pPatternBrush = nullptr;
  delete m_pPatternBitmap;
  m_pPatternBitmap = nullptr;
  SaveRecentProjects();
  m_listLiveFolderTypes.RemoveAll();
  // Nothing may reach the services of an application that has ended.
  if (GetShellServices() == m_pShellServices.get()) SetShellServices(nullptr);
  if (GWExtGetAppServices() == m_pEditorServices.get()) GWExtSetAppServices(nullptr);
  return CWinApp::ExitInstance();
}

// ---- routing, message boxes, help ----

CDocument* CInkwrightApp::OpenDocumentFile(LPCTSTR lpszFileName) {
  const CString strPath = lpszFileName != nullptr ? lpszFileName : "";
  if (LowerExtension(strPath) == "dcp") {
    // A project named relative to the current folder (on the command line) is the same project
    // as the open one when their full paths are.
    const CString strFull = FullProjectPath(strPath);
    if (IsDifferentProject(strFull)) OpenProject(strFull);
    return nullptr;
  }
  return CWinApp::OpenDocumentFile(lpszFileName);
}

int CInkwrightApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) {
  if ((nType & MB_ICONMASK) == 0) {
    const UINT nGroup = nType & MB_TYPEMASK;
    if (nGroup == MB_OK || nGroup == MB_OKCANCEL || nGroup == MB_YESNOCANCEL || nGroup == MB_YESNO)
      nType |= MB_ICONEXCLAMATION;
  }
  return RunMessageBox(nIDPrompt, [&](HWND hOwner) { return ShowExtMessageBox(hOwner, lpszPrompt, kMessageCaption, nType); });
}

BOOL CInkwrightApp::OnDDECommand(LPTSTR lpszCommand) {
  // [open("path")], [print("path")], [printto("path","printer","driver","port")].
  CString strCommand = lpszCommand != nullptr ? lpszCommand : "";
  auto argument = [&strCommand](int nStart) {
    const int nOpen = strCommand.Find('"', nStart);
    const int nClose = nOpen >= 0 ? strCommand.Find('"', nOpen + 1) : -1;
    return nClose > nOpen ? strCommand.Mid(nOpen + 1, nClose - nOpen - 1) : CString();
  };
  if (strCommand.Left(6) == "[open(") {
    OpenDocumentFile(argument(6));
    return TRUE;
  }
  const BOOL bPrint = strCommand.Left(7) == "[print(";
  const BOOL bPrintTo = strCommand.Left(9) == "[printto(";
  if (!bPrint && !bPrintTo) return FALSE;
  CDocument* pDoc = OpenDocumentFile(argument(bPrint ? 7 : 9));
  if (pDoc == nullptr) return FALSE;
  if (m_pMainWnd != nullptr) m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
  // An application started only to print ends when no document is open any more.
  if (m_pMainWnd != nullptr && !m_pMainWnd->IsWindowVisible()) {
    int nOpen = 0;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
      CDocTemplate* pTemplate = GetNextDocTemplate(pos);
      for (POSITION docPos = pTemplate->GetFirstDocPosition(); docPos != nullptr; pTemplate->GetNextDoc(docPos))
        ++nOpen;
    }
    if (nOpen <= 1) m_pMainWnd->PostMessage(WM_CLOSE);
  }
  return TRUE;
}

void CInkwrightApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  CString strFolder = m_pszHelpFilePath != nullptr ? m_pszHelpFilePath : "";
  const int nSlash = std::max(strFolder.ReverseFind('\\'), strFolder.ReverseFind('/'));
  strFolder = nSlash >= 0 ? strFolder.Left(nSlash) : CString();
  ShowHtmlHelp(strFolder, nCmd, dwData);
}

void CInkwrightApp::ShowHtmlHelp(const CString& strFolder, UINT nCmd, DWORD_PTR dwData) {
  if (nCmd == HELP_QUIT) return;  // no help window of ours stays open to be closed
  const char* lpszPage = help_topics::PageFor(nCmd, dwData);
  if (help_topics::OpenPage(brambolt::NativePath(static_cast<LPCTSTR>(strFolder)), lpszPage) !=
      help_topics::Shown::Not)
    return;
  DoMessageBox(kHelpNotShownMessage, MB_OK | MB_ICONINFORMATION, 0);
}

void CInkwrightApp::DrawShadowRect(CDC* pDC, const CRect& rect, int nOffset) {
  const HBRUSH hPattern = m_pPatternBrush != nullptr ? static_cast<HBRUSH>(m_pPatternBrush->GetSafeHandle()) : nullptr;
  ::DrawShadowRect(pDC->GetSafeHdc(), rect, nOffset, hPattern);
}

// ---- recent projects ----

namespace {

// The list stored under the application's key; FALSE when there is none.
BOOL ReadStoredRecentProjects(CStringList& list) {
  CRegKeyHolder key;
  if (key.Open(HKEY_CURRENT_USER, CString("Software\\") + CInkwrightApp::kRegistryKey, KEY_READ) == nullptr) return FALSE;
  CString strText;
  if (!key.QueryString(kRecentProjectsValue, strText)) return FALSE;
  CStringList stored;
  SplitRecentProjectList(stored, strText);
  // Kept as the system names each project, read back as the program spells it (os/Paths.h).
  for (POSITION pos = stored.GetHeadPosition(); pos != nullptr;) {
    const CString strPath = brambolt::PathOfStored(static_cast<LPCTSTR>(stored.GetNext(pos))).c_str();
    if (FindSameFile(list, strPath) == nullptr) list.AddTail(strPath);
  }
  return TRUE;
}

}  // namespace

void CInkwrightApp::LoadRecentProjects() {
  CStringList list;
  if (!ReadStoredRecentProjects(list)) return;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    const CString& strPath = list.GetNext(pos);
    if (FindSameFile(m_listRecentProjects, strPath) == nullptr) m_listRecentProjects.AddTail(strPath);
  }
}

void CInkwrightApp::SaveRecentProjects() { ChangeRecentProjects(nullptr); }

void CInkwrightApp::ChangeRecentProjects(const std::function<void()>& change) {
  if (change) change();
  // Another instance of the program may have stored its list since this one read it: what it
  // stored stays after this instance's own entries (unless this instance took it off), so a
  // project opened only in the other instance is kept whichever instance writes last. The list
  // is read as stored at this moment, and written before any other instance can write.
  brambolt::RegistryStoredUpdate update(HKEY_CURRENT_USER);
  CStringList stored;
  ReadStoredRecentProjects(stored);
  for (POSITION pos = stored.GetHeadPosition(); pos != nullptr;) {
    const CString& strPath = stored.GetNext(pos);
    if (FindSameFile(m_listRecentProjects, strPath) == nullptr &&
        FindSameFile(m_listRemovedRecentProjects, strPath) == nullptr)
      m_listRecentProjects.AddTail(strPath);
  }
  CRegKeyHolder key;
  if (key.Create(HKEY_CURRENT_USER, CString("Software\\") + kRegistryKey, KEY_WRITE) == nullptr) return;
  CStringList list;
  for (POSITION pos = m_listRecentProjects.GetHeadPosition(); pos != nullptr;)
    list.AddTail(brambolt::StoredPathOf(static_cast<LPCTSTR>(m_listRecentProjects.GetNext(pos))).c_str());
  CString strText;
  JoinRecentProjectList(strText, list);
  key.SetString(kRecentProjectsValue, strText);
}

void CInkwrightApp::AddToRecentFileList(LPCTSTR lpszPathName) {
  CWinApp::AddToRecentFileList(lpszPathName);
  if (m_pRecentFileList != nullptr) m_pRecentFileList->WriteList();
}

void CInkwrightApp::MoveRecentProjectToFront(const CString& strPath) {
  ChangeRecentProjects([&] {
    // A project is listed once, however its path was spelled when it was listed.
    while (POSITION pos = FindSameFile(m_listRecentProjects, strPath)) m_listRecentProjects.RemoveAt(pos);
    m_listRecentProjects.AddHead(strPath);
    while (POSITION pos = FindSameFile(m_listRemovedRecentProjects, strPath)) m_listRemovedRecentProjects.RemoveAt(pos);
  });
}

void CInkwrightApp::RemoveRecentProject(const CString& strPath) {
  ChangeRecentProjects([&] {
    while (POSITION pos = FindSameFile(m_listRecentProjects, strPath)) m_listRecentProjects.RemoveAt(pos);
    if (FindSameFile(m_listRemovedRecentProjects, strPath) == nullptr) m_listRemovedRecentProjects.AddTail(strPath);
  });
}

// ---- the .dcp association ----

BOOL CInkwrightApp::DeleteRegKeyRecursive(HKEY hRoot, LPCTSTR lpszSubKey, LPCTSTR lpszValueName) {
  HKEY hKey = nullptr;
  if (::RegOpenKeyExA(hRoot, lpszSubKey, 0, 0x2001F, &hKey) != ERROR_SUCCESS) return FALSE;
  if (lpszValueName != nullptr) {
    const BOOL bDone = ::RegDeleteValueA(hKey, lpszValueName) == ERROR_SUCCESS;
    ::RegCloseKey(hKey);
    return bDone;
  }
  for (;;) {
    DWORD nSubKeys = 0, nMaxName = 0;
    if (::RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &nSubKeys, &nMaxName, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS) {
      ::RegCloseKey(hKey);
      return FALSE;
    }
    if (nSubKeys == 0) break;
    std::string name(nMaxName + 1, '\0');
    DWORD nName = nMaxName + 1;
    if (::RegEnumKeyExA(hKey, 0, name.data(), &nName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
        !DeleteRegKeyRecursive(hKey, name.c_str(), nullptr)) {
      ::RegCloseKey(hKey);
      return FALSE;
    }
  }
  ::RegCloseKey(hKey);
  return ::RegDeleteKeyA(hRoot, lpszSubKey) == ERROR_SUCCESS;
}

void CInkwrightApp::RegisterDcpAssociation() {
  char szProgram[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, szProgram, MAX_PATH);
  const HWND hOwner = m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr;
  // These three go straight to the platform's box: they are about the registry, not the project.
  auto fail = [hOwner](LPCTSTR lpszText, LPCTSTR lpszCaption) {
    brambolt::afx::GetMessageBoxPresenter()(hOwner, lpszText, lpszCaption, MB_ICONHAND);
  };
  const CString strKey = ".dcp";
  CString strIcon, strCommand;
  strIcon.Format("%s,1", szProgram);
  strCommand.Format("%s %c1", szProgram, '%');

  CRegKeyHolder probe;
  const BOOL bExists = probe.Open(HKEY_CLASSES_ROOT, strKey, KEY_READ) != nullptr;
  probe.Close();
  if (bExists && !DeleteRegKeyRecursive(HKEY_CLASSES_ROOT, strKey, nullptr)) {
    fail("Can not recursively delete the registry key\t\n(You may not have permission to WRITE into registry)\t\n"
         "Mission aborted\t",
         "Access Violation");
    return;
  }
  if (strIcon.GetLength() >= 252 || strCommand.GetLength() >= 252) {
    fail("Can not associate path longer than 255 characters\t\nTo associate - Put this file in a shorter path on "
         "your hard drive and try again\t",
         "Error - Path is too long");
    return;
  }
  CRegKeyHolder key;
  if (key.Create(HKEY_CLASSES_ROOT, strKey, KEY_WRITE) == nullptr) {
    fail("Can not gain WRITE accesss to the registry\t\nPlease try to login windows with more permissions\t",
         "Access Violation");
    return;
  }
  key.SetString(nullptr, strKey);
  key.Close();
  struct Entry {
    const char* format;
    const CString& value;
  };
  for (const Entry& entry : {Entry{"%s\\DefaultIcon", strIcon}, Entry{"%s\\Shell\\Open\\Command", strCommand},
                             Entry{"%s\\Shell\\View with The Quell (Gloamy) Brambolt\\Command", strCommand}}) {
    CString strSubKey;
    strSubKey.Format(entry.format, static_cast<LPCTSTR>(strKey));
    if (key.Create(HKEY_CLASSES_ROOT, strSubKey, KEY_WRITE) != nullptr) key.SetString(nullptr, entry.value);
    key.Close();
  }
  ::RegFlushKey(HKEY_CLASSES_ROOT);
  // The desktop learns it too, so that a double-click on a project in a file manager opens it.
  RegisterDcpWithDesktop(szProgram);
}

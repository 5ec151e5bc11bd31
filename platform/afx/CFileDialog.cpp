// CFileDialog over GetOpenFileName/GetSaveFileName, and the file prompter the application's
// Open and Save As commands use when no other is installed.
#include "afx/CFileDialog.h"

#include <cstring>
#include <string>

#include "afx/AfxRes.h"
#include "afx/CDocTemplate.h"
#include "afx/CWinApp.h"

IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)

namespace {

// The separator to put after a folder: the one it already uses, a backslash when it has none.
const char* SeparatorFor(const CString& folder) {
  std::string text(folder);
  if (text.empty() || text.back() == '/' || text.back() == '\\') return "";
  return text.find('/') != std::string::npos && text.find('\\') == std::string::npos ? "/" : "\\";
}

// Where the extension of a file name starts (at its dot), or the end when it has none.
const char* ExtensionOf(const char* name) {
  const char* dot = nullptr;
  for (const char* p = name; *p != '\0'; p = ::CharNext(p)) {
    if (*p == '.') dot = p;
    if (*p == '/' || *p == '\\') dot = nullptr;
  }
  return dot != nullptr ? dot : name + std::strlen(name);
}

}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
  m_nIDHelp = bOpenFileDialog ? AFX_IDD_FILEOPEN : AFX_IDD_FILESAVE;
  m_ofn.lStructSize = sizeof(m_ofn);
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = MAX_PATH;
  m_ofn.lpstrDefExt = lpszDefExt;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
  m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
  m_ofn.hInstance = AfxGetResourceHandle();
  m_ofn.lpfnHook = AfxCommDlgProc;
  if (lpszFileName != nullptr) {
    std::strncpy(m_szFileName, lpszFileName, MAX_PATH - 1);
  }
  if (lpszFilter != nullptr) {
    // The dialog wants the pairs separated by NULs and ended by an empty string, which a filter
    // without its closing "||" would lack.
    std::string filter = lpszFilter;
    for (char& c : filter)
      if (c == '|') c = '\0';
    filter += std::string(2, '\0');
    m_strFilter = CString(filter.data(), static_cast<int>(filter.size()));
    m_ofn.lpstrFilter = m_strFilter;
  }
}

INT_PTR CFileDialog::DoModal() {
  // Whatever the buffer held after the proposed name must not read as more names.
  std::size_t used = strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile) + 1;
  if (used < m_ofn.nMaxFile) std::memset(m_ofn.lpstrFile + used, 0, m_ofn.nMaxFile - used);
  // An old-style dialog on a template of the program is that template's dialog, with its help.
  if ((m_ofn.Flags & (OFN_ENABLETEMPLATE | OFN_EXPLORER)) == OFN_ENABLETEMPLATE && m_ofn.lpTemplateName != nullptr &&
      IS_INTRESOURCE(m_ofn.lpTemplateName) && m_nIDHelp == (m_bOpenFileDialog ? AFX_IDD_FILEOPEN : AFX_IDD_FILESAVE))
    m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(m_ofn.lpTemplateName));
  HWND focus = ::GetFocus();
  m_ofn.hwndOwner = PreModal((m_ofn.Flags & OFN_EXPLORER) != 0);
  BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileName(&m_ofn) : ::GetSaveFileName(&m_ofn);
  PostModal();
  if (::IsWindow(focus)) ::SetFocus(focus);
  return chosen ? IDOK : IDCANCEL;
}

// ---- the choice ----

HWND CFileDialog::ExplorerWindow() const {
  if (!(m_ofn.Flags & OFN_EXPLORER) || m_hWnd == nullptr || !::IsWindow(m_hWnd)) return nullptr;
  return (::GetWindowLong(m_hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(m_hWnd) : m_hWnd;
}

bool CFileDialog::Query(UINT message, CString& result) const {
  HWND dialog = ExplorerWindow();
  if (dialog == nullptr) return false;
  char buffer[MAX_PATH] = {};
  if (::SendMessage(dialog, message, MAX_PATH, reinterpret_cast<LPARAM>(buffer)) <= 0) return false;
  result = buffer;
  return true;
}

void CFileDialog::MakeRoomForSelection() {
  HWND dialog = ExplorerWindow();
  if (dialog == nullptr || !(m_ofn.Flags & OFN_ALLOWMULTISELECT)) return;
  // The sizes of the folder and of the names ("a" "b" ...) with their ends: more than the folder,
  // the names between NULs and the closing NULs take.
  const LRESULT nFolder = ::SendMessage(dialog, CDM_GETFOLDERPATH, 0, 0);
  const LRESULT nSpec = ::SendMessage(dialog, CDM_GETSPEC, 0, 0);
  if (nFolder <= 0 || nSpec <= 0) return;
  const std::size_t nNeeded = static_cast<std::size_t>(nFolder + nSpec) + 2;
  if (m_ofn.lpstrFile != nullptr && nNeeded <= m_ofn.nMaxFile) return;
  std::vector<char> grown(nNeeded, '\0');
  if (m_ofn.lpstrFile != nullptr) std::memcpy(grown.data(), m_ofn.lpstrFile, m_ofn.nMaxFile);
  m_grownFile = std::move(grown);
  m_ofn.lpstrFile = m_grownFile.data();
  m_ofn.nMaxFile = static_cast<DWORD>(m_grownFile.size());
}

CString CFileDialog::GetPathName() const {
  CString spec, path;
  if (Query(CDM_GETSPEC, spec) && !spec.IsEmpty() && Query(CDM_GETFILEPATH, path)) return path;
  return m_ofn.lpstrFile;
}

CString CFileDialog::GetFileName() const {
  CString spec;
  if (Query(CDM_GETSPEC, spec)) return spec;
  if (m_pofnTemp != nullptr) return m_pofnTemp->lpstrFile + m_pofnTemp->nFileOffset;
  return m_ofn.lpstrFileTitle != nullptr ? CString(m_ofn.lpstrFileTitle) : CString(m_ofn.lpstrFile + m_ofn.nFileOffset);
}

CString CFileDialog::GetFileExt() const {
  CString spec;
  if (Query(CDM_GETSPEC, spec)) {
    const char* dot = ExtensionOf(spec);
    return *dot == '.' ? CString(dot + 1) : CString();
  }
  const OPENFILENAME& ofn = m_pofnTemp != nullptr ? *m_pofnTemp : m_ofn;
  if (ofn.nFileExtension == 0) return CString();
  return ofn.lpstrFile + ofn.nFileExtension;
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  return name.Left(static_cast<int>(ExtensionOf(name) - static_cast<LPCTSTR>(name)));
}

CString CFileDialog::GetFolderPath() const {
  CString folder;
  if (Query(CDM_GETFOLDERPATH, folder)) return folder;
  const OPENFILENAME& ofn = m_pofnTemp != nullptr ? *m_pofnTemp : m_ofn;
  if (ofn.lpstrFile == nullptr || ofn.nFileOffset == 0) return CString();
  folder = CString(ofn.lpstrFile, ofn.nFileOffset);
  // The folder of one name ends in its separator, that of several in a NUL or a space.
  int length = folder.GetLength();
  while (length > 1 && (folder[length - 1] == '\0' || folder[length - 1] == ' ' || folder[length - 1] == '/' ||
                        folder[length - 1] == '\\'))
    --length;
  return folder.Left(length);
}

POSITION CFileDialog::GetStartPosition() const { return reinterpret_cast<POSITION>(m_ofn.lpstrFile); }

CString CFileDialog::GetNextPathName(POSITION& pos) const {
  // Several names come as the folder and the names, separated by NULs (Explorer style) or spaces;
  // the names start at nFileOffset, right after the folder's delimiter.
  const bool explorer = (m_ofn.Flags & OFN_EXPLORER) != 0;
  const char delimiter = explorer ? '\0' : ' ';
  const WORD offset = m_ofn.nFileOffset;
  auto* at = reinterpret_cast<const char*>(pos);
  if (at == m_ofn.lpstrFile) {
    bool several = (m_ofn.Flags & OFN_ALLOWMULTISELECT) && offset > 0 && m_ofn.lpstrFile[offset - 1] == delimiter;
    if (!several) {
      pos = nullptr;
      return m_ofn.lpstrFile;
    }
    at = m_ofn.lpstrFile + offset;
  }
  CString folder(m_ofn.lpstrFile, offset > 0 ? offset - 1 : 0);
  const char* name = at;
  while (*at != delimiter && *at != '\0') at = ::CharNext(at);
  CString file(name, static_cast<int>(at - name));
  if (*at != '\0') ++at;
  else if (explorer) ++at;  // past the NUL: a second one ends the list
  pos = *at == '\0' ? nullptr : reinterpret_cast<POSITION>(const_cast<char*>(at));
  return folder + SeparatorFor(folder) + file;
}

// ---- the running dialog ----

void CFileDialog::SetControlText(int nID, LPCSTR lpsz) {
  if (HWND dialog = ExplorerWindow()) ::SendMessage(dialog, CDM_SETCONTROLTEXT, nID, reinterpret_cast<LPARAM>(lpsz));
}

void CFileDialog::HideControl(int nID) {
  if (HWND dialog = ExplorerWindow()) ::SendMessage(dialog, CDM_HIDECONTROL, nID, 0);
}

void CFileDialog::SetDefExt(LPCSTR lpsz) {
  if (HWND dialog = ExplorerWindow()) ::SendMessage(dialog, CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(lpsz));
}

// ---- notifications ----

BOOL CFileDialog::OnFileNameOK() { return FALSE; }
void CFileDialog::OnLBSelChangedNotify(UINT, UINT, UINT) {}
void CFileDialog::OnInitDone() {}
void CFileDialog::OnFileNameChange() {}
void CFileDialog::OnFolderChange() {}
void CFileDialog::OnTypeChange() {}
UINT CFileDialog::OnShareViolation(LPCTSTR) { return 0; }

BOOL CFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CCommonDialog::OnNotify(wParam, lParam, pResult)) return TRUE;
  auto* notify = reinterpret_cast<OFNOTIFY*>(lParam);
  if (notify == nullptr || notify->hdr.hwndFrom != ExplorerWindow()) return FALSE;
  switch (notify->hdr.code) {
    case CDN_INITDONE: OnInitDone(); return TRUE;
    case CDN_SELCHANGE:
      MakeRoomForSelection();
      OnFileNameChange();
      return TRUE;
    case CDN_FOLDERCHANGE: OnFolderChange(); return TRUE;
    case CDN_TYPECHANGE: OnTypeChange(); return TRUE;
    case CDN_SHAREVIOLATION: *pResult = OnShareViolation(notify->pszFile); return TRUE;
    case CDN_HELP:
      if (!SendMessage(WM_COMMAND, ID_HELP)) SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
      return TRUE;
    case CDN_FILEOK: {
      // OK belongs to the dialog around this one, so the data of this one's controls come out
      // here; a value that fails validation keeps the dialog open.
      if (!UpdateData(TRUE)) {
        *pResult = TRUE;
        return TRUE;
      }
      m_pofnTemp = notify->lpOFN;
      *pResult = OnFileNameOK();
      m_pofnTemp = nullptr;
      return TRUE;
    }
  }
  return FALSE;
}

UINT_PTR CFileDialog::OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ::RegisterWindowMessage(FILEOKSTRING)) {
    m_pofnTemp = reinterpret_cast<OPENFILENAME*>(lParam);
    BOOL reject = OnFileNameOK();
    m_pofnTemp = nullptr;
    return static_cast<UINT_PTR>(reject);
  }
  if (message == ::RegisterWindowMessage(LBSELCHSTRING)) {
    OnLBSelChangedNotify(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
  }
  if (message == ::RegisterWindowMessage(SHAREVISTRING)) return OnShareViolation(reinterpret_cast<LPCTSTR>(lParam));
  return 0;
}

// ---- the application's file prompter ----

namespace {

// Adds the filter of one template ("Name\0*.ext\0"); the first one with a filter also gives the
// default extension and the filter shown first.
void AppendTemplateFilter(std::string& filter, OPENFILENAME& ofn, CDocTemplate* pTemplate, CString* pDefaultExt) {
  CString ext, name;
  if (!pTemplate->GetDocString(ext, CDocTemplate::filterExt) || ext.IsEmpty() ||
      !pTemplate->GetDocString(name, CDocTemplate::filterName) || name.IsEmpty())
    return;
  // ".a;.b" lists several extensions.
  std::string patterns, exts(ext);
  for (std::size_t start = 0; start <= exts.size();) {
    std::size_t end = exts.find(';', start);
    std::string one = exts.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!one.empty()) patterns += (patterns.empty() ? "*" : ";*") + one;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (pDefaultExt != nullptr && pDefaultExt->IsEmpty()) {
    std::string first = exts.substr(0, exts.find(';'));
    *pDefaultExt = first.c_str() + (!first.empty() && first.front() == '.' ? 1 : 0);
    ofn.lpstrDefExt = *pDefaultExt;
    ofn.nFilterIndex = ofn.nMaxCustFilter + 1;
  }
  filter += std::string(name) + '\0' + patterns + '\0';
  ++ofn.nMaxCustFilter;
}

}  // namespace

BOOL brambolt::afx::PromptFileNameWithDialog(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                             CDocTemplate* pTemplate) {
  CFileDialog dialog(bOpenFileDialog, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr, nullptr);
  CString title;
  title.LoadString(nIDSTitle);
  dialog.m_ofn.Flags |= lFlags;
  std::string filter;
  CString defaultExt;
  if (pTemplate != nullptr) {
    AppendTemplateFilter(filter, dialog.m_ofn, pTemplate, &defaultExt);
  } else if (CWinApp* app = AfxGetApp()) {
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos != nullptr;)
      AppendTemplateFilter(filter, dialog.m_ofn, app->GetNextDocTemplate(pos), &defaultExt);
  }
  CString all;
  if (!all.LoadString(AFX_IDS_ALLFILTER)) all = "All Files (*.*)";
  filter += std::string(all) + '\0' + "*.*" + '\0' + '\0';
  ++dialog.m_ofn.nMaxCustFilter;
  dialog.m_ofn.lpstrFilter = filter.c_str();
  dialog.m_ofn.lpstrTitle = title.IsEmpty() ? nullptr : static_cast<LPCTSTR>(title);
  char name[MAX_PATH] = {};
  std::strncpy(name, fileName, MAX_PATH - 1);
  dialog.m_ofn.lpstrFile = name;
  dialog.m_ofn.nMaxFile = MAX_PATH;
  if (dialog.DoModal() != IDOK) return FALSE;
  fileName = name;
  return TRUE;
}

// The source-file document: opening and saving through the editor model, the language by
// extension, the title's modified mark, and the watch on the file that follows every save.
#include "editor/doc/CEditCodeDoc.h"

#include <algorithm>
#include <atomic>
#include <set>

#include "afx/CFileDialog.h"
#include "afx/CFrameWnd.h"
#include "afx/CView.h"
#include "afx/CWinApp.h"
#include "editor/app/GWExtAppServices.h"

IMPLEMENT_DYNCREATE(CEditCodeDoc, CDocument)

namespace {

// The worker posts a change to a hidden window of the user-interface thread; the documents alive
// on that thread are listed, so a change that arrives after its document closed is dropped.
std::set<CEditCodeDoc*>& LiveDocuments() {
  static std::set<CEditCodeDoc*> documents;
  return documents;
}

UINT FileChangedMessage() {
  static const UINT message = ::RegisterWindowMessage("Brambolt.EditCodeDoc.FileChanged");
  return message;
}

LRESULT CALLBACK NotifyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == FileChangedMessage()) {
    auto* doc = reinterpret_cast<CEditCodeDoc*>(lParam);
    if (LiveDocuments().count(doc) != 0) doc->OnFileChangedOnDisk();
    return 0;
  }
  return ::DefWindowProc(hwnd, message, wParam, lParam);
}

// The hidden window, made on the user-interface thread (again when a test's session destroyed it);
// the worker only reads it.
std::atomic<HWND> g_notifyWindow{nullptr};

HWND EnsureNotifyWindow() {
  FileChangedMessage();
  HWND window = g_notifyWindow.load();
  if (window != nullptr && ::IsWindow(window)) return window;
  static const char* const kClass = "BramboltEditCodeDocNotify";
  WNDCLASS wc{};
  wc.lpfnWndProc = NotifyProc;
  wc.hInstance = AfxGetInstanceHandle();
  wc.lpszClassName = kClass;
  ::RegisterClass(&wc);
  window = ::CreateWindowEx(0, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, AfxGetInstanceHandle(), nullptr);
  g_notifyWindow.store(window);
  return window;
}

CString LowerExtension(const CString& path) {
  const int dot = path.ReverseFind('.');
  const int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
  if (dot < 0 || dot < slash) return CString();
  CString ext = path.Mid(dot);
  ext.MakeLower();
  return ext;
}

}  // namespace

CEditCodeDoc::CEditCodeDoc() {
  LiveDocuments().insert(this);
  EnsureNotifyWindow();
  // The title's "*" comes with the first change and goes with the save, or with the undo that
  // returns to the saved text.
  m_edit.SetModifiedListener([this] { SetTitle(m_strPlainTitle); });
}

CEditCodeDoc::~CEditCodeDoc() {
  m_edit.SetModifiedListener(nullptr);
  // The worker calls back into this object: it ends before the object does.
  Stop();
  LiveDocuments().erase(this);
}

CString CEditCodeDoc::LanguageForPath(LPCTSTR path) {
  CString language;
  const CString ext = LowerExtension(path != nullptr ? path : "");
  if (ext.IsEmpty() || !GWExtGetAppServices()->LookupExtension(ext, language) || language.IsEmpty())
    language = "Default";
  return language;
}

void CEditCodeDoc::SetTitle(LPCTSTR lpszTitle) {
  const CString title = lpszTitle != nullptr ? lpszTitle : "";
  // The title handed back as it is shown (with its mark) keeps the name it had.
  if (title != m_strTitle || m_strPlainTitle.IsEmpty()) m_strPlainTitle = title;
  // A file opened read-only says so, for as long as the window shows it.
  CString shown = IsModified() ? m_strPlainTitle + "*" : m_strPlainTitle;
  if (m_edit.GetReservedState() != 0) shown += " [Read Only]";
  CDocument::SetTitle(shown);
}

BOOL CEditCodeDoc::IsModified() { return m_edit.IsModified(); }

void CEditCodeDoc::SetModifiedFlag(BOOL bModified) {
  m_edit.SetModified(bModified);
  CDocument::SetModifiedFlag(bModified);
}

BOOL CEditCodeDoc::OnNewDocument() {
  if (!CDocument::OnNewDocument()) return FALSE;
  m_bChanged = FALSE;
  m_edit.SelectLangConfig("C");
  m_edit.NewDocument();
  return TRUE;
}

BOOL CEditCodeDoc::OnOpenDocument(LPCTSTR lpszPathName) {
  m_edit.SelectLangConfig(LanguageForPath(lpszPathName));
  m_strWatchedPath = lpszPathName;
  EnsureNotifyWindow();
  if (!m_edit.OpenFile(lpszPathName)) {
    m_bChanged = FALSE;
    return FALSE;
  }
  AddFile(lpszPathName);
  Start();
  return TRUE;
}

void CEditCodeDoc::Rewatch(const CString& path) {
  Stop();
  if (!m_strWatchedPath.IsEmpty()) RemoveFile(m_strWatchedPath);
  m_strWatchedPath = path;
  if (path.IsEmpty()) return;
  EnsureNotifyWindow();
  AddFile(path);
  Start();
}

BOOL CEditCodeDoc::ConfirmWriteOver(LPCTSTR lpszPathName) {
  const brambolt::FileIdentity onDisk = brambolt::QueryFileIdentity(lpszPathName);
  if (!onDisk.Exists()) return TRUE;  // nothing there to lose: the file is written anew
  // Whatever the watcher saw or missed (a change through a link, an older copy put back): the file
  // must still be the one the window read or last wrote, as it was then.
  const brambolt::FileIdentity& known = m_edit.GetFileIdentity();
  const bool ownFile =
      known.SameFile(onDisk) || (!m_strWatchedPath.IsEmpty() && brambolt::IsSameFile(lpszPathName, m_strWatchedPath));
  if (!ownFile || onDisk == known) return TRUE;
  CString prompt;
  prompt.Format("%s\n\nThis file has been changed outside the editor since this window read or saved it. Save "
                "the window's text over it and lose those changes?",
                lpszPathName);
  // No, which loses nothing, is the default: Enter keeps the other program's text.
  return AfxMessageBox(prompt, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

BOOL CEditCodeDoc::OnSaveDocument(LPCTSTR lpszPathName) {
  UpdateAllViews(nullptr);
  if (!ConfirmWriteOver(lpszPathName)) return FALSE;
  // No report for the save itself: the watch stops while the file is written and reads the
  // file's state afresh afterwards. A save that fails leaves the watch as it was, so a change by
  // another program that it has not reported yet is still reported.
  Stop();
  const BOOL saved = m_edit.SaveFile(lpszPathName);
  if (!saved) {
    if (!m_strWatchedPath.IsEmpty()) Start();
    return FALSE;
  }
  const CString language = LanguageForPath(lpszPathName);
  CString current;
  m_edit.GetLanguageName(&current);
  if (language != current) m_edit.SelectLangConfig(language);
  // The watch follows the document to its new name; the old file is no longer its own.
  Rewatch(lpszPathName);
  m_bChanged = FALSE;
  return TRUE;
}

void CEditCodeDoc::RefreshWatch() {
  if (m_strWatchedPath.IsEmpty()) return;
  if (IsWatched(m_strWatchedPath)) {
    RefreshFile(m_strWatchedPath);
  } else {
    EnsureNotifyWindow();
    AddFile(m_strWatchedPath);
  }
  Start();
}

void CEditCodeDoc::OnCloseDocument() {
  if (!m_strWatchedPath.IsEmpty()) {
    Stop();
    RemoveFile(m_strWatchedPath);
  }
  CDocument::OnCloseDocument();
}

BOOL CEditCodeDoc::SaveModified() {
  SetModifiedFlag(IsModified());
  return CDocument::SaveModified();
}

BOOL CEditCodeDoc::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
  const bool asked = lpszPathName == nullptr || *lpszPathName == '\0';
  CString name = asked ? m_strPathName : CString(lpszPathName);
  if (name.IsEmpty() && bReplace) {
    // The document's own name, never the title it shows (with its modified mark a name the
    // file dialog would take as a filter).
    name = GetDocumentName();
    const int bad = name.FindOneOf(" #%;/\\");
    if (bad >= 0) name = name.Left(bad);
    CString ext;
    if (m_pDocTemplate != nullptr && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty()) {
      const int more = ext.Find(';');
      name += more >= 0 ? ext.Left(more) : ext;
    }
  }
  if (asked) {
    CFileDialog dialog(FALSE, nullptr, name, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                       "Source Code(.cpp;.h;.c;.hpp)|*.cpp;*.h;*.c;*.hpp||", AfxGetMainWnd());
    if (dialog.DoModal() != IDOK) return FALSE;
    name = dialog.GetPathName();
  }
  // Another window that holds the file gives it up, once the save has succeeded: two windows of
  // one file would each write over the other's text.
  if (!MayTakeFileFromOtherDocument(name)) return FALSE;
  CWaitCursor wait;
  // A failed save leaves the file of that name as it was: the model writes a temporary file and
  // renames it over the target only on success, so there is nothing to delete.
  const CString watched = m_strWatchedPath;
  const brambolt::FileIdentity own = m_edit.GetFileIdentity();
  if (!WriteDocument(name, bReplace)) return FALSE;
  TakeFileFromOtherDocument(name);
  if (bReplace) {
    SetPathName(name);
  } else {
    // A copy: the document stays on its own file, as it knew it.
    Rewatch(watched);
    m_edit.SetFileIdentity(own);
  }
  return TRUE;
}

void CEditCodeDoc::OnFileChanged(UINT, LPCTSTR) {
  // Only a post: the user-interface thread may be waiting in Stop for this thread.
  ::PostMessage(g_notifyWindow.load(), FileChangedMessage(), 0, reinterpret_cast<LPARAM>(this));
}

void CEditCodeDoc::OnFileChangedOnDisk() {
  ::MessageBeep(MB_ICONEXCLAMATION);
  CWnd* main = AfxGetMainWnd();
  GWExtAppServices* app = GWExtGetAppServices();
  if ((main == nullptr || !main->IsWindowVisible()) && app->IsMainFrame()) {
    app->FlashUntilActive();
    POSITION pos = GetFirstViewPosition();
    CView* view = pos != nullptr ? GetNextView(pos) : nullptr;
    CFrameWnd* frame = view != nullptr ? view->GetParentFrame() : nullptr;
    if (HWND client = app->GetMDIClient(); client != nullptr && frame != nullptr) {
      ::SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame->GetSafeHwnd()), 0);
      app->FlashUntilActive();
    }
  }
  m_bChanged = TRUE;
}

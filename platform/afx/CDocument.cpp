// CDocument: title and path, views, the new/open/save/close sequence and its prompts.
#include "afx/CDocument.h"

#include <algorithm>
#include <vector>

#include "afx/CDocTemplate.h"
#include "afx/CWinApp.h"
#include "controls/FileDialog.h"
#include "core/CArchive.h"
#include "core/CFile.h"
#include "os/FileApi.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
  ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
  ON_COMMAND(ID_FILE_SAVE, OnFileSave)
  ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument() {
  if (m_pDocTemplate != nullptr) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
  m_strTitle = lpszTitle;
  UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU) {
  // The document keeps its file by the full path: a name relative to the current folder would
  // name another file, or none, once that folder changes.
  m_strPathName = CFile::FullPath(lpszPathName);
  // The title is the file's name without its folder.
  CString name(m_strPathName);
  int slash = std::max(name.ReverseFind('\\'), name.ReverseFind('/'));
  SetTitle(name.Mid(slash + 1));
  if (bAddToMRU && AfxGetApp() != nullptr) AfxGetApp()->AddToRecentFileList(m_strPathName);
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
  return static_cast<CView*>(m_viewList.GetNext(rPosition));
}

void CDocument::AddView(CView* pView) {
  m_viewList.AddTail(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
  if (POSITION pos = m_viewList.Find(pView)) m_viewList.RemoveAt(pos);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

void CDocument::OnChangedViewList() {
  // A document whose last view went away goes with it.
  if (m_viewList.IsEmpty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
    CView* view = GetNextView(pos);
    if (view != pSender) view->OnUpdate(pSender, lHint, pHint);
  }
}

void CDocument::UpdateFrameCounts() {
  // Visible frames are numbered in the order of their views; a frame made but not shown yet
  // gets its number when it is.
  std::vector<CFrameWnd*> frames;
  for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
    CView* view = GetNextView(pos);
    CFrameWnd* frame = ::IsWindowVisible(view->GetSafeHwnd()) ? view->GetParentFrame() : nullptr;
    if (frame != nullptr && std::find(frames.begin(), frames.end(), frame) == frames.end()) frames.push_back(frame);
  }
  for (size_t i = 0; i < frames.size(); ++i) frames[i]->m_nWindow = frames.size() == 1 ? 0 : static_cast<int>(i) + 1;
  for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
    CView* view = GetNextView(pos);
    if (CFrameWnd* frame = view->GetParentFrame()) frame->OnUpdateFrameTitle(TRUE);
  }
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
  CFile file;
  CFileException error;
  if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &error)) {
    ReportSaveLoadException(lpszPathName, &error, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
    return FALSE;
  }
  DeleteContents();
  SetModifiedFlag(TRUE);  // a half-read document is not the file's content
  try {
    CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
    ar.m_pDocument = this;
    Serialize(ar);
    ar.Close();
  } catch (CException* e) {
    file.Abort();
    DeleteContents();
    ReportSaveLoadException(lpszPathName, e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
    e->Delete();
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
  CFile file;
  CFileException error;
  if (!file.Open(lpszPathName, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &error)) {
    ReportSaveLoadException(lpszPathName, &error, TRUE, AFX_IDP_INVALID_FILENAME);
    return FALSE;
  }
  try {
    CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
    ar.m_pDocument = this;
    Serialize(ar);
    ar.Close();
    file.Close();
  } catch (CException* e) {
    file.Abort();
    ReportSaveLoadException(lpszPathName, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
    e->Delete();
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // Destroying the frames destroys the views; keep the document alive until they are gone.
  BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_viewList.IsEmpty()) {
    auto* view = static_cast<CView*>(m_viewList.GetHead());
    CFrameWnd* frame = view->GetParentFrame();
    if (frame != nullptr) {
      PreCloseFrame(frame);
      frame->DestroyWindow();
    } else {
      view->DestroyWindow();
    }
    // A view that outlived its window would stop the loop.
    if (!m_viewList.IsEmpty() && m_viewList.GetHead() == view) RemoveView(view);
  }
  m_bAutoDelete = autoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString name = m_strPathName.IsEmpty() ? GetDocumentName() : m_strPathName;
  if (name.IsEmpty()) name.LoadString(AFX_IDS_UNTITLED);
  CString prompt;
  AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name);
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    default: return TRUE;
  }
}

BOOL CDocument::DoFileSave() {
  // A file that cannot be written (read-only, no longer there: its folder renamed or removed, or
  // one whose write failed: access denied, a read-only mount, a full disk) is saved under a name
  // the user chooses instead.
  const DWORD dwAttributes = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributes(m_strPathName);
  if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_READONLY) || m_bWriteFailed)
    return DoSave(nullptr);
  if (DoSave(m_strPathName)) return TRUE;
  return m_bWriteFailed && DoSave(nullptr);
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
  CString path = lpszPathName != nullptr ? CString(lpszPathName) : CString();
  if (path.IsEmpty()) {
    // No file given: the application asks for one, proposing the document's file, else its
    // title (up to a character no file name holds) with the template's first extension.
    path = m_strPathName;
    if (bReplace && path.IsEmpty()) {
      path = GetDocumentName();
      int bad = path.FindOneOf(":/\\");
      if (bad >= 0) path = path.Left(bad);
      CString ext;
      if (m_pDocTemplate != nullptr && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt)) {
        int more = ext.Find(';');
        path += more >= 0 ? ext.Left(more) : ext;
      }
    }
    CWinApp* app = AfxGetApp();
    if (app == nullptr || !app->DoPromptFileName(path, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                                 OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, m_pDocTemplate))
      return FALSE;
  }
  // The other window holding the file closes only once the file holds this document: a save
  // that fails leaves it, and its changes, as they were.
  if (!MayTakeFileFromOtherDocument(path)) return FALSE;
  if (!WriteDocument(path, bReplace)) return FALSE;
  TakeFileFromOtherDocument(path);
  if (bReplace) SetPathName(path);
  return TRUE;
}

BOOL CDocument::WriteDocument(LPCTSTR lpszPathName, BOOL bReplace) {
  const BOOL bWritten = OnSaveDocument(lpszPathName);
  if (bReplace && (bWritten || m_strPathName == lpszPathName)) m_bWriteFailed = !bWritten;
  return bWritten;
}

BOOL CDocument::MayTakeFileFromOtherDocument(LPCTSTR lpszPathName) {
  CDocument* other = OtherDocumentOfFile(lpszPathName);
  if (other == nullptr || !other->IsModified()) return TRUE;
  CString prompt;
  prompt.Format("%s\n\nThis file is open in another window whose changes are not saved. Close that window "
                "and lose its changes, to save this one in the file's place?",
                lpszPathName);
  return AfxMessageBox(prompt, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CDocument::TakeFileFromOtherDocument(LPCTSTR lpszPathName) {
  CDocument* other = OtherDocumentOfFile(lpszPathName);
  if (other == nullptr) return;
  other->SetModifiedFlag(FALSE);
  // Its frames close once the caller is done (a Save All may be walking over the documents): two
  // windows never hold one file, the second writing over the first's text.
  for (POSITION pos = other->GetFirstViewPosition(); pos != nullptr;) {
    CFrameWnd* frame = other->GetNextView(pos)->GetParentFrame();
    if (frame != nullptr) frame->PostMessage(WM_CLOSE);
  }
}

CDocument* CDocument::OtherDocumentOfFile(LPCTSTR lpszPathName) {
  CWinApp* app = AfxGetApp();
  return app != nullptr && app->m_pDocManager != nullptr ? app->m_pDocManager->FindDocumentOfFile(lpszPathName, this)
                                                         : nullptr;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
  // Only the last frame showing the document asks to save it.
  for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
    CFrameWnd* other = GetNextView(pos)->GetParentFrame();
    if (other != nullptr && other != pFrame) return TRUE;
  }
  return SaveModified();
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault) {
  if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CUserException))) return;  // already reported
  UINT prompt = nIDPDefault;
  if (auto* file = dynamic_cast<CFileException*>(e)) {
    switch (file->m_cause) {
      case CFileException::fileNotFound:
      case CFileException::badPath: prompt = AFX_IDP_FAILED_INVALID_PATH; break;
      case CFileException::diskFull: prompt = AFX_IDP_FAILED_DISK_FULL; break;
      case CFileException::accessDenied:
        prompt = bSaving ? AFX_IDP_FAILED_ACCESS_WRITE : AFX_IDP_FAILED_ACCESS_READ;
        break;
      default: break;
    }
  } else if (auto* archive = dynamic_cast<CArchiveException*>(e)) {
    if (archive->m_cause == CArchiveException::badSchema || archive->m_cause == CArchiveException::badClass ||
        archive->m_cause == CArchiveException::badIndex || archive->m_cause == CArchiveException::endOfFile)
      prompt = AFX_IDP_FAILED_INVALID_FORMAT;
  }
  CString text;
  AfxFormatString1(text, prompt, lpszPathName);
  AfxMessageBox(text, MB_ICONEXCLAMATION, prompt);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  // Then the template, which may handle commands for all its documents.
  return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose() {
  if (!SaveModified()) return;
  OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }

// Document templates and the document manager.
#include "afx/CDocTemplate.h"

#include "afx/CWinApp.h"
#include "os/FileApi.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CDocManager, CObject)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {
  LoadTemplate();
}

CDocTemplate::~CDocTemplate() {
  if (m_hMenuShared != nullptr) ::DestroyMenu(m_hMenuShared);
  if (m_hAccelTable != nullptr) ::DestroyAcceleratorTable(m_hAccelTable);
}

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
  LPCTSTR name = MAKEINTRESOURCE(m_nIDResource);
  HINSTANCE menuModule = AfxFindResourceHandle(name, RT_MENU);
  if (m_hMenuShared == nullptr && ::FindResource(menuModule, name, RT_MENU) != nullptr)
    m_hMenuShared = ::LoadMenu(menuModule, name);
  HINSTANCE accelModule = AfxFindResourceHandle(name, RT_ACCELERATOR);
  if (m_hAccelTable == nullptr && ::FindResource(accelModule, name, RT_ACCELERATOR) != nullptr)
    m_hAccelTable = ::LoadAccelerators(accelModule, name);
}

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const {
  rString.Empty();
  int start = 0;
  for (int i = 0; i < index; ++i) {
    int next = m_strDocStrings.Find('\n', start);
    if (next < 0) return FALSE;
    start = next + 1;
  }
  int end = m_strDocStrings.Find('\n', start);
  rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
  return TRUE;
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

CDocument* CDocTemplate::CreateNewDocument() {
  if (m_pDocClass == nullptr) return nullptr;
  auto* doc = static_cast<CDocument*>(m_pDocClass->CreateObject());
  if (doc != nullptr) AddDocument(doc);
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  if (m_pFrameClass == nullptr) return nullptr;
  auto* frame = static_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
  if (frame == nullptr) return nullptr;
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) return nullptr;
  return frame;
}

CDocument* CDocTemplate::CreateDocumentAndFrame(CFrameWnd*& rpFrame) {
  CDocument* doc = CreateNewDocument();
  if (doc == nullptr) {
    AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
    return nullptr;
  }
  // The document must outlive a frame that fails on the way.
  BOOL autoDelete = doc->m_bAutoDelete;
  doc->m_bAutoDelete = FALSE;
  rpFrame = CreateNewFrame(doc, nullptr);
  doc->m_bAutoDelete = autoDelete;
  if (rpFrame == nullptr) {
    AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
    delete doc;
    return nullptr;
  }
  return doc;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch) {
  rpDocMatch = nullptr;
  // A file is found open whatever way its name is written (separators, a link, ".."): by the
  // file itself. Two names that both exist as spelled are two files, whatever their letter case.
  if (CDocument* doc = FindDocumentOfFile(lpszPathName)) {
    rpDocMatch = doc;
    return yesAlreadyOpen;
  }
  CString ext;
  if (GetDocString(ext, filterExt) && !ext.IsEmpty()) {
    // The filter extension is ".ext" (several separated by ';'): the file must end in one.
    CString path(lpszPathName);
    int start = 0;
    while (start < ext.GetLength()) {
      int end = ext.Find(';', start);
      CString one = end < 0 ? ext.Mid(start) : ext.Mid(start, end - start);
      one.TrimLeft('*');
      if (!one.IsEmpty() && path.GetLength() >= one.GetLength() &&
          path.Right(one.GetLength()).CompareNoCase(one) == 0)
        return yesAttemptNative;
      if (end < 0) break;
      start = end + 1;
    }
  }
  return yesAttemptForeign;
}

CDocument* CDocTemplate::FindDocumentOfFile(LPCTSTR lpszPathName, const CDocument* pExcept) {
  if (lpszPathName == nullptr || *lpszPathName == '\0') return nullptr;
  for (POSITION pos = GetFirstDocPosition(); pos != nullptr;) {
    CDocument* doc = GetNextDoc(pos);
    if (doc != pExcept && !doc->GetPathName().IsEmpty() && brambolt::IsSameFile(doc->GetPathName(), lpszPathName))
      return doc;
  }
  return nullptr;
}

BOOL CDocTemplate::SaveAllModified() {
  for (POSITION pos = GetFirstDocPosition(); pos != nullptr;)
    if (!GetNextDoc(pos)->SaveModified()) return FALSE;
  return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
  POSITION pos = GetFirstDocPosition();
  while (pos != nullptr) {
    CDocument* doc = GetNextDoc(pos);
    doc->OnCloseDocument();
  }
}

// ---- many documents ----

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
  while (!m_docList.IsEmpty()) {
    auto* doc = static_cast<CDocument*>(m_docList.RemoveHead());
    doc->m_pDocTemplate = nullptr;
    delete doc;
  }
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (POSITION pos = m_docList.Find(pDoc)) m_docList.RemoveAt(pos);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString title;
  if (!GetDocString(title, docName) || title.IsEmpty()) title.LoadString(AFX_IDS_UNTITLED);
  char number[16];
  std::snprintf(number, sizeof(number), "%u", m_nUntitledCount + 1);
  pDocument->SetTitle(title + number);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
  CFrameWnd* frame = nullptr;
  CDocument* doc = CreateDocumentAndFrame(frame);
  if (doc == nullptr) return nullptr;
  if (lpszPathName == nullptr) {
    SetDefaultTitle(doc);
    if (!doc->OnNewDocument()) {
      frame->DestroyWindow();
      return nullptr;
    }
    ++m_nUntitledCount;  // only a document that came into being uses up its number
  } else if (!doc->OnOpenDocument(lpszPathName)) {
    frame->DestroyWindow();
    return nullptr;
  } else {
    doc->SetPathName(lpszPathName);
  }
  InitialUpdateFrame(frame, doc, bMakeVisible);
  return doc;
}

// ---- one document ----

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
  if (m_pOnlyDoc != nullptr) {
    m_pOnlyDoc->m_pDocTemplate = nullptr;
    delete m_pOnlyDoc;
  }
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const {
  return m_pOnlyDoc != nullptr ? reinterpret_cast<POSITION>(1) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const {
  CDocument* doc = rPos == reinterpret_cast<POSITION>(1) ? m_pOnlyDoc : nullptr;
  rPos = nullptr;
  return doc;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString title;
  if (!GetDocString(title, docName) || title.IsEmpty()) title.LoadString(AFX_IDS_UNTITLED);
  pDocument->SetTitle(title);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* doc = m_pOnlyDoc;
  CFrameWnd* frame = nullptr;
  bool created = false;
  if (doc != nullptr) {
    // The one document is reused: it is asked to save first.
    if (!doc->SaveModified()) return nullptr;
    POSITION pos = doc->GetFirstViewPosition();
    if (pos != nullptr) frame = doc->GetNextView(pos)->GetParentFrame();
  } else {
    doc = CreateDocumentAndFrame(frame);
    if (doc == nullptr) return nullptr;
    created = true;
  }
  if (lpszPathName == nullptr) {
    SetDefaultTitle(doc);
    if (!doc->OnNewDocument()) {
      if (created) frame->DestroyWindow();
      return nullptr;
    }
  } else {
    if (!doc->OnOpenDocument(lpszPathName)) {
      if (created) frame->DestroyWindow();
      return nullptr;
    }
    doc->SetPathName(lpszPathName);
  }
  CWinApp* app = AfxGetApp();
  if (created && app != nullptr && app->m_pMainWnd == nullptr) app->m_pMainWnd = frame;
  if (frame != nullptr) InitialUpdateFrame(frame, doc, bMakeVisible);
  return doc;
}

// ---- the manager ----

CDocManager::~CDocManager() {
  while (!m_templateList.IsEmpty()) delete static_cast<CDocTemplate*>(m_templateList.RemoveHead());
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
  if (pTemplate != nullptr && m_templateList.Find(pTemplate) == nullptr) m_templateList.AddTail(pTemplate);
}

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName) {
  if (lpszFileName == nullptr || *lpszFileName == '\0') {
    // No file: a new document of the first template.
    if (m_templateList.IsEmpty()) return nullptr;
    return static_cast<CDocTemplate*>(m_templateList.GetHead())->OpenDocumentFile(nullptr);
  }
  CDocTemplate* best = nullptr;
  CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
  CDocument* open = nullptr;
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
    CDocTemplate* candidate = GetNextDocTemplate(pos);
    CDocument* match = nullptr;
    CDocTemplate::Confidence confidence = candidate->MatchDocType(lpszFileName, match);
    if (confidence > bestMatch) {
      bestMatch = confidence;
      best = candidate;
      open = match;
    }
    if (confidence == CDocTemplate::yesAlreadyOpen) break;
  }
  if (open != nullptr) {
    // Open already: its frame comes to the front.
    POSITION pos = open->GetFirstViewPosition();
    if (pos != nullptr) {
      if (CFrameWnd* frame = open->GetNextView(pos)->GetParentFrame()) frame->ActivateFrame();
    }
    return open;
  }
  return best != nullptr ? best->OpenDocumentFile(lpszFileName) : nullptr;
}

CDocument* CDocManager::FindDocumentOfFile(LPCTSTR lpszPathName, const CDocument* pExcept) {
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;)
    if (CDocument* doc = GetNextDocTemplate(pos)->FindDocumentOfFile(lpszPathName, pExcept)) return doc;
  return nullptr;
}

BOOL CDocManager::SaveAllModified() {
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;)
    if (!GetNextDocTemplate(pos)->SaveAllModified()) return FALSE;
  return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;)
    GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
}

int CDocManager::GetOpenDocumentCount() {
  int count = 0;
  for (POSITION pos = GetFirstDocTemplatePosition(); pos != nullptr;) {
    CDocTemplate* each = GetNextDocTemplate(pos);
    for (POSITION doc = each->GetFirstDocPosition(); doc != nullptr; each->GetNextDoc(doc)) ++count;
  }
  return count;
}

void CDocManager::OnFileNew() {
  if (m_templateList.IsEmpty()) return;
  static_cast<CDocTemplate*>(m_templateList.GetHead())->OpenDocumentFile(nullptr);
}

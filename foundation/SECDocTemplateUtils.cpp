// SECDocTemplateUtils: searches over the application's document templates, in its own order.
#include "foundation/SECDocTemplateUtils.h"

#include <functional>

#include "afx/CWinApp.h"

namespace {

constexpr int kCandidateBlockSize = 10;

CString FileTypeId(const CDocTemplate* pTemplate) {
  CString id;
  pTemplate->GetDocString(id, CDocTemplate::regFileTypeId);
  return id;
}

// Removes every candidate the predicate rejects.
void KeepOnly(CPtrList& candidates, const std::function<bool(CDocTemplate*)>& keep) {
  POSITION pos = candidates.GetHeadPosition();
  while (pos != nullptr) {
    POSITION current = pos;
    auto* pTemplate = static_cast<CDocTemplate*>(candidates.GetNext(pos));
    if (!keep(pTemplate)) candidates.RemoveAt(current);
  }
}

// The application's templates with this file-type id, in order, until the visitor (given each
// one's position among them) returns true; that template, or null when the visitor never did.
CDocTemplate* VisitOfFileType(const CWinApp* pApp, const CString& strFileTypeId,
                              const std::function<bool(CDocTemplate*, int)>& visit) {
  int index = 0;
  POSITION pos = pApp->GetFirstDocTemplatePosition();
  while (pos != nullptr) {
    CDocTemplate* pCandidate = pApp->GetNextDocTemplate(pos);
    if (FileTypeId(pCandidate) != strFileTypeId) continue;
    if (visit(pCandidate, index++)) return pCandidate;
  }
  return nullptr;
}

}  // namespace

int SECDocTemplateUtils::GetDocTemplateIndex(CDocTemplate* pTemplate, const CString& strFileTypeId) {
  CWinApp* pApp = AfxGetApp();
  if (pTemplate == nullptr || pApp == nullptr) return -1;
  int found = -1;
  VisitOfFileType(pApp, strFileTypeId, [&](CDocTemplate* pCandidate, int index) {
    if (pCandidate == pTemplate) found = index;
    return found >= 0;
  });
  return found;
}

CDocTemplate* SECDocTemplateUtils::GetDocTemplateByIndex(const CString& strFileTypeId, int nIndex) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return nullptr;
  CDocTemplate* pLast = nullptr;
  CDocTemplate* pAt = VisitOfFileType(pApp, strFileTypeId, [&](CDocTemplate* pCandidate, int index) {
    pLast = pCandidate;
    return index == nIndex;
  });
  return pAt != nullptr ? pAt : pLast;
}

CDocTemplate* SECDocTemplateUtils::FindDocTemplate(CDocument* pDoc, CView* pView, CFrameWnd* pFrame) {
  if (pDoc == nullptr || pView == nullptr || pFrame == nullptr) return nullptr;
  CPtrList candidates(kCandidateBlockSize);
  CDocTemplate* pFound = nullptr;
  GetAllDocTemplates(candidates);
  if (GetSingleDocTemplate(candidates, pFound)) return pFound;
  FilterByViewAndFrame(candidates, pView, pFrame);
  if (GetSingleDocTemplate(candidates, pFound)) return pFound;
  FilterByFrameResource(candidates, pFrame);
  if (GetSingleDocTemplate(candidates, pFound)) return pFound;
  FilterByDocumentClass(candidates, pDoc);
  if (GetSingleDocTemplate(candidates, pFound)) return pFound;
  CDocTemplate* pOwn = pDoc->GetDocTemplate();
  if (pOwn != nullptr && candidates.Find(pOwn) != nullptr) return pOwn;
  return static_cast<CDocTemplate*>(candidates.GetHead());
}

UINT SECDocTemplateUtils::GetFrameMenuId(CFrameWnd* pFrame) { return pFrame == nullptr ? 0 : pFrame->m_nIDHelp; }

BOOL SECDocTemplateUtils::GetAllDocTemplates(CPtrList& candidates) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return FALSE;
  POSITION pos = pApp->GetFirstDocTemplatePosition();
  while (pos != nullptr) candidates.AddTail(pApp->GetNextDocTemplate(pos));
  return TRUE;
}

BOOL SECDocTemplateUtils::FilterByViewAndFrame(CPtrList& candidates, CView* pView, CFrameWnd* pFrame) {
  if (pView == nullptr || pFrame == nullptr) return FALSE;
  CRuntimeClass* pViewClass = pView->GetRuntimeClass();
  CRuntimeClass* pFrameClass = pFrame->GetRuntimeClass();
  int kind = GetFrameKind(pFrameClass);
  KeepOnly(candidates, [&](CDocTemplate* pTemplate) {
    return pTemplate->m_pViewClass == pViewClass && GetTemplateFrameClass(pTemplate, kind) == pFrameClass;
  });
  return TRUE;
}

BOOL SECDocTemplateUtils::FilterByFrameResource(CPtrList& candidates, CFrameWnd* pFrame) {
  if (pFrame == nullptr) return FALSE;
  UINT id = GetFrameMenuId(pFrame);
  KeepOnly(candidates, [&](CDocTemplate* pTemplate) { return pTemplate->m_nIDResource == id; });
  return TRUE;
}

BOOL SECDocTemplateUtils::FilterByDocumentClass(CPtrList& candidates, CDocument* pDoc) {
  if (pDoc == nullptr) return FALSE;
  CRuntimeClass* pDocClass = pDoc->GetRuntimeClass();
  KeepOnly(candidates, [&](CDocTemplate* pTemplate) { return pTemplate->m_pDocClass == pDocClass; });
  return TRUE;
}

BOOL SECDocTemplateUtils::GetSingleDocTemplate(CPtrList& candidates, CDocTemplate*& rpTemplate) {
  rpTemplate = nullptr;
  INT_PTR count = candidates.GetCount();
  if (count > 1) return FALSE;
  if (count == 1) rpTemplate = static_cast<CDocTemplate*>(candidates.GetHead());
  return TRUE;
}

int SECDocTemplateUtils::GetFrameKind(CRuntimeClass*) { return 0; }

CRuntimeClass* SECDocTemplateUtils::GetTemplateFrameClass(CDocTemplate* pTemplate, int nFrameKind) {
  if (pTemplate == nullptr || nFrameKind != 0) return nullptr;
  return pTemplate->m_pFrameClass;
}

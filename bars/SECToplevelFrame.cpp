// Peer top-level frames: the list of live frames, the main window following the active one,
// closing one frame alone, and a new frame on the active document.
#include "bars/SECToplevelFrame.h"

IMPLEMENT_DYNCREATE(SECToplevelFrame, SECFrameWnd)

BEGIN_MESSAGE_MAP(SECToplevelFrame, SECFrameWnd)
  ON_WM_ACTIVATE()
  ON_WM_CLOSE()
  ON_WM_NCDESTROY()
  ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
END_MESSAGE_MAP()

CObList& SECToplevelFrame::GetFrameList() {
  static CObList frames;
  return frames;
}

BOOL SECToplevelFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  CWinThread* pThread = AfxGetThread();
  // Created without a parent: the previous main window must not own it.
  if (pThread != nullptr) pThread->m_pMainWnd = nullptr;
  const BOOL bLoaded = SECFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
  if (pThread != nullptr) pThread->m_pMainWnd = bLoaded ? this : (GetFrameList().IsEmpty() ? nullptr : static_cast<CWnd*>(GetFrameList().GetHead()));
  if (bLoaded) GetFrameList().AddTail(this);
  return bLoaded;
}

void SECToplevelFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  SECFrameWnd::OnActivate(nState, pWndOther, bMinimized);
  if (nState != WA_INACTIVE && AfxGetThread() != nullptr) AfxGetThread()->m_pMainWnd = this;
}

void SECToplevelFrame::OnClose() {
  if (GetFrameList().GetCount() < 2) {
    SECFrameWnd::OnClose();
    return;
  }
  // One of several: this frame closes alone and the application goes on.
  if (m_lpfnCloseProc != nullptr) {
    m_lpfnCloseProc(this);
    return;
  }
  CDocument* pDoc = GetActiveDocument();
  if (pDoc != nullptr && !pDoc->CanCloseFrame(this)) return;
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr && pThread->m_pMainWnd == this) pThread->m_pMainWnd = nullptr;
  if (pDoc != nullptr) {
    BOOL bOnlyHere = TRUE;
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;) {
      CView* pView = pDoc->GetNextView(pos);
      if (pView->GetParentFrame() != this) bOnlyHere = FALSE;
    }
    if (bOnlyHere) {
      pDoc->OnCloseDocument();
      return;
    }
    pDoc->PreCloseFrame(this);
  }
  DestroyWindow();
}

void SECToplevelFrame::OnNcDestroy() {
  CObList& frames = GetFrameList();
  POSITION pos = frames.Find(this);
  if (pos != nullptr) frames.RemoveAt(pos);
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr && !frames.IsEmpty()) pThread->m_pMainWnd = static_cast<CWnd*>(frames.GetHead());
  SECFrameWnd::OnNcDestroy();
}

void SECToplevelFrame::OnWindowNew() {
  CView* pView = GetActiveView();
  CDocument* pDoc = pView != nullptr ? pView->GetDocument() : GetActiveDocument();
  CDocTemplate* pTemplate = pDoc != nullptr ? pDoc->GetDocTemplate() : nullptr;
  if (pTemplate == nullptr) return;
  CFrameWnd* pFrame = pTemplate->CreateNewFrame(pDoc, nullptr);
  if (pFrame != nullptr) pTemplate->InitialUpdateFrame(pFrame, pDoc, TRUE);
}

// CView: views made through a creation context, painting through OnDraw, activation by a click.
#include "afx/CView.h"

#include "afx/CDocTemplate.h"
#include "afx/AfxRes.h"
#include "afx/CFrameWnd.h"
#include "afx/CPreviewView.h"
#include "afx/CPrintInfo.h"
#include "afx/CWinApp.h"
#include "afx/WindowDCs.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

// ---- views ----

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_MOUSEACTIVATE()
  ON_COMMAND_EX(ID_NEXT_PANE, OnNextPaneCmd)
  ON_COMMAND_EX(ID_PREV_PANE, OnNextPaneCmd)
  ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdateNextPaneMenu)
  ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdateNextPaneMenu)
  ON_COMMAND_EX(ID_WINDOW_SPLIT, OnSplitCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_SPLIT, OnUpdateSplitCmd)
END_MESSAGE_MAP()

CView::~CView() {
  if (m_pDocument != nullptr) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                                  ::GetSysColorBrush(COLOR_WINDOW));
  return CWnd::PreCreateWindow(cs);
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  // The creation context names the document the view belongs to.
  auto* context = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (context != nullptr && context->m_pCurrentDoc != nullptr) context->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  // A print preview of this view ends with it (its document closed under it): it would otherwise
  // print, draw and close through a view that is gone.
  if (CFrameWnd* top = GetTopLevelFrame()) {
    auto* preview = dynamic_cast<CPreviewView*>(FromHandlePermanent(::GetDlgItem(top->m_hWnd, AFX_IDW_PANE_FIRST)));
    if (preview != nullptr && preview != this && (preview->m_pOrigView == this || preview->m_pPrintView == this)) {
      if (preview->m_pViewActiveOld == this) preview->m_pViewActiveOld = nullptr;
      preview->OnPreviewClose();
      // The menu follows the window active now, not the one the preview started over.
      top->OnUpdateFrameMenu(nullptr);
    }
  }
  if (CFrameWnd* frame = GetParentFrame()) {
    if (frame->GetActiveView() == this) frame->SetActiveView(nullptr, FALSE);
  }
  CWnd::OnDestroy();
}

void CView::PostNcDestroy() { delete this; }

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

void CView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  // A view that did not say how many pages it has prints one.
  if (pInfo != nullptr && pDC != nullptr && pDC->IsPrinting())
    pInfo->m_bContinuePrinting = pInfo->GetMaxPage() != 0xFFFF || pInfo->m_nCurPage == 1;
}

BOOL CView::OnScroll(UINT, UINT, BOOL) { return FALSE; }

BOOL CView::OnScrollBy(CSize, BOOL) { return FALSE; }

DROPEFFECT CView::OnDragEnter(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }

DROPEFFECT CView::OnDragOver(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }

void CView::OnDragLeave() {}

BOOL CView::OnDrop(COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }

DROPEFFECT CView::OnDropEx(COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) { return static_cast<DROPEFFECT>(-1); }

DROPEFFECT CView::OnDragScroll(DWORD dwKeyState, CPoint point) {
  // The inset along the client edges where a drag scrolls the view.
  constexpr int kInset = 11;
  CRect client;
  GetClientRect(&client);
  CRect inside = client;
  inside.DeflateRect(kInset, kInset);
  if (!client.PtInRect(point) || inside.PtInRect(point)) return DROPEFFECT_NONE;
  UINT horizontal = point.x < inside.left ? SB_LINEUP : point.x >= inside.right ? SB_LINEDOWN : 0xFF;
  UINT vertical = point.y < inside.top ? SB_LINEUP : point.y >= inside.bottom ? SB_LINEDOWN : 0xFF;
  if (!OnScroll(MAKEWORD(horizontal, vertical), 0, TRUE)) return DROPEFFECT_NONE;
  // Scrolling; the drop itself would copy with Ctrl, else move.
  return DROPEFFECT_SCROLL | ((dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE);
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*) {
  if (bActivate && pActivateView == this && ::IsChild(GetParentFrame()->GetSafeHwnd(), ::GetFocus()) == FALSE)
    SetFocus();
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
  // A click makes this the frame's active view.
  if (CFrameWnd* frame = GetParentFrame()) {
    if (frame->GetActiveView() != this) frame->SetActiveView(this);
  }
  return result;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

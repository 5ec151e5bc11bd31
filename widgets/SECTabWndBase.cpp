// The tabbed window's clients: creating them, switching the shown one with its tab, focus.
#include "widgets/SECTabWndBase.h"

IMPLEMENT_DYNAMIC(SECTabWndBase, CWnd)

BEGIN_MESSAGE_MAP(SECTabWndBase, CWnd)
  ON_WM_DESTROY()
  ON_WM_CHILDACTIVATE()
  ON_MESSAGE(TABN_SELECT, OnTabSelect)
  ON_MESSAGE(TABN_REACTIVATE, OnTabReActivate)
END_MESSAGE_MAP()

SECTabWndBase::~SECTabWndBase() { delete m_pTabCtrl; }

BOOL SECTabWndBase::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT&, CWnd* pParentWnd, UINT nID,
                           CCreateContext*) {
  return Create(pParentWnd, dwStyle, nID);
}

BOOL SECTabWndBase::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_pNotifyWnd = pParentWnd;
  const DWORD dwWindowStyle = dwStyle & ~(WS_HSCROLL | WS_VSCROLL);
  if (m_hWnd == nullptr) {
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    if (!CWnd::Create(lpszClass, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
  }
  if (!CreateTabCtrl(dwWindowStyle, SEC_IDW_TABCTRL)) AfxThrowResourceException();
  return TRUE;
}

BOOL SECTabWndBase::CreateScrollBar(DWORD dwStyle, UINT nID) {
  return ::CreateWindowEx(0, "SCROLLBAR", nullptr, dwStyle | WS_CHILD, 0, 0, 1, 1, m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), AfxGetInstanceHandle(),
                          nullptr) != nullptr;
}

// ---- clients ----

CWnd* SECTabWndBase::CreateClient(CRuntimeClass* pViewClass, CCreateContext* pContext, UINT nID) {
  if (pViewClass == nullptr) return nullptr;
  auto* pWnd = static_cast<CWnd*>(pViewClass->CreateObject());
  if (pWnd == nullptr) return nullptr;
  if (nID == static_cast<UINT>(-1)) nID = SEC_IDW_TABCLIENT_FIRST + static_cast<UINT>(GetTabCount());
  m_pCreatingWnd = pWnd;
  const BOOL bCreated = pWnd->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID, pContext);
  m_pCreatingWnd = nullptr;
  if (!bCreated) {
    // A window that failed during creation deletes a self-deleting object itself (PostNcDestroy).
    if (!pWnd->IsKindOf(RUNTIME_CLASS(CView))) delete pWnd;
    return nullptr;
  }
  return pWnd;
}

SECTab* SECTabWndBase::InsertTab(CRuntimeClass* pViewClass, int nIndex, LPCTSTR lpszLabel,
                                 CCreateContext* pContext, UINT nID) {
  if (m_pTabCtrl == nullptr || nIndex < 0 || nIndex > GetTabCount()) return nullptr;
  CWnd* pWnd = CreateClient(pViewClass, pContext, nID);
  return pWnd != nullptr ? InsertTab(pWnd, nIndex, lpszLabel) : nullptr;
}

SECTab* SECTabWndBase::InsertTab(CWnd* pWnd, int nIndex, LPCTSTR lpszLabel) {
  if (m_pTabCtrl == nullptr) return nullptr;
  SECTab* pTab = m_pTabCtrl->InsertTab(nIndex, lpszLabel, pWnd);
  if (pTab != nullptr) OnTabAdded(nIndex, 0);
  return pTab;
}

SECTab* SECTabWndBase::AddTab(CRuntimeClass* pViewClass, LPCTSTR lpszLabel, CCreateContext* pContext, UINT nID) {
  if (m_pTabCtrl == nullptr) return nullptr;
  CWnd* pWnd = CreateClient(pViewClass, pContext, nID);
  return pWnd != nullptr ? AddTab(pWnd, lpszLabel) : nullptr;
}

SECTab* SECTabWndBase::AddTab(CWnd* pWnd, LPCTSTR lpszLabel) {
  if (m_pTabCtrl == nullptr) return nullptr;
  SECTab* pTab = m_pTabCtrl->AddTab(lpszLabel, pWnd);
  const DWORD dwStyle = pWnd != nullptr && pWnd->m_hWnd != nullptr ? pWnd->GetStyle() : 0;
  if (pTab != nullptr) OnTabAdded(GetTabCount() - 1, dwStyle & (WS_HSCROLL | WS_VSCROLL));
  return pTab;
}

BOOL SECTabWndBase::OnTabAdded(int, DWORD) { return TRUE; }

void SECTabWndBase::SetTabIcon(int nIndex, LPCTSTR lpszResource, int cx, int cy) {
  if (m_pTabCtrl != nullptr) m_pTabCtrl->SetTabIcon(nIndex, lpszResource, cx, cy);
}

void SECTabWndBase::SetTabIcon(int nIndex, UINT nIDResource, int cx, int cy) {
  if (m_pTabCtrl != nullptr) m_pTabCtrl->SetTabIcon(nIndex, nIDResource, cx, cy);
}

BOOL SECTabWndBase::SetTabIcon(int nIndex, HICON hIcon) {
  return m_pTabCtrl != nullptr && m_pTabCtrl->SetTabIcon(nIndex, hIcon);
}

int SECTabWndBase::IndexOf(CWnd* pWnd) const {
  int nIndex = -1;
  return m_pTabCtrl != nullptr && m_pTabCtrl->FindTab(pWnd, nIndex) ? nIndex : -1;
}

CWnd* SECTabWndBase::ClientOf(int nIndex) const {
  SECTab* pTab = m_pTabCtrl != nullptr ? m_pTabCtrl->GetTab(nIndex) : nullptr;
  return pTab != nullptr ? static_cast<CWnd*>(pTab->m_pClient) : nullptr;
}

void SECTabWndBase::DeleteTab(int nIndex) {
  if (m_pTabCtrl == nullptr || !m_pTabCtrl->IsValidTab(nIndex)) return;
  if (ClientOf(nIndex) == m_pActiveWnd) m_pActiveWnd = nullptr;
  m_pTabCtrl->DeleteTab(nIndex);
}

void SECTabWndBase::DeleteTab(CWnd* pWnd) { DeleteTab(IndexOf(pWnd)); }

void SECTabWndBase::RenameTab(int nIndex, LPCTSTR lpszLabel) {
  if (m_pTabCtrl != nullptr) m_pTabCtrl->RenameTab(nIndex, lpszLabel);
}

void SECTabWndBase::RenameTab(CWnd* pWnd, LPCTSTR lpszLabel) { RenameTab(IndexOf(pWnd), lpszLabel); }

void SECTabWndBase::ActivateTab(int nIndex) {
  CWnd* pWnd = ClientOf(nIndex);
  if (pWnd != nullptr) ActivateTab(pWnd, nIndex);
}

void SECTabWndBase::ActivateTab(CWnd* pWnd) {
  const int nIndex = IndexOf(pWnd);
  if (nIndex >= 0) ActivateTab(pWnd, nIndex);
}

void SECTabWndBase::ActivateTab(CWnd* pWnd, int nIndex) {
  if (m_pTabCtrl == nullptr || pWnd == nullptr || !m_pTabCtrl->IsValidTab(nIndex)) return;
  m_pActiveWnd = pWnd;
  int nActive = -1;
  if (!m_pTabCtrl->GetActiveTab(nActive) || nActive != nIndex) m_pTabCtrl->ActivateTab(nIndex);
  // Exactly one client is visible: every other client is hidden, also those added visible.
  for (int i = 0; i < GetTabCount(); ++i) {
    CWnd* pClient = ClientOf(i);
    if (pClient != nullptr && pClient != pWnd && pClient->GetSafeHwnd() != nullptr) pClient->ShowWindow(SW_HIDE);
  }
  if (pWnd->GetSafeHwnd() != nullptr) {
    pWnd->ShowWindow(SW_SHOW);
    SetFocus();
    FocusClient(pWnd);
  }
  RecalcLayout();
  Invalidate(TRUE);
}

void SECTabWndBase::FocusClient(CWnd* pWnd) {
  if (pWnd->GetSafeHwnd() == nullptr) return;
  if (pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
    if (CFrameWnd* pFrame = GetParentFrame(); pFrame != nullptr) {
      pFrame->SetActiveView(static_cast<CView*>(pWnd));
      return;
    }
  }
  pWnd->SetFocus();
}

void SECTabWndBase::ReActivate() {
  int nActive = -1;
  if (m_pTabCtrl == nullptr || !m_pTabCtrl->GetActiveTab(nActive) || m_pActiveWnd == nullptr) return;
  if (!m_pActiveWnd->IsKindOf(RUNTIME_CLASS(CView))) SetFocus();
  FocusClient(m_pActiveWnd);
}

void SECTabWndBase::ClearSelection() {
  if (m_pTabCtrl != nullptr) m_pTabCtrl->ClearSelection();
}

void SECTabWndBase::ScrollToTab(int nIndex) {
  if (m_pTabCtrl != nullptr) m_pTabCtrl->ScrollToTab(nIndex);
}

void SECTabWndBase::ScrollToTab(CWnd* pWnd) { ScrollToTab(IndexOf(pWnd)); }

void SECTabWndBase::GetInsideRect(RECT* pRect) { GetClientRect(pRect); }

// ---- messages ----

void SECTabWndBase::OnDestroy() {
  if (m_pTabCtrl != nullptr) {
    m_pTabCtrl->DestroyWindow();
    delete m_pTabCtrl;
    m_pTabCtrl = nullptr;
  }
  m_pActiveWnd = nullptr;
  CWnd::OnDestroy();
}

void SECTabWndBase::OnChildActivate() { ReActivate(); }

LRESULT SECTabWndBase::OnTabSelect(WPARAM wParam, LPARAM) {
  const int nIndex = static_cast<int>(wParam);
  CWnd* pWnd = ClientOf(nIndex);
  // The tab control tells of an activation this window started: the client is shown already.
  if (pWnd != nullptr && pWnd != m_pActiveWnd) ActivateTab(pWnd, nIndex);
  return 0;
}

LRESULT SECTabWndBase::OnTabReActivate(WPARAM, LPARAM) {
  ReActivate();
  return 0;
}

// The toolkit's MDI document frame: loading with the template's menu and accelerators, and the
// menubar menu switched as the child is activated.
#include "bars/SECMDIChildWnd.h"

#include "bars/SECFrameWndServices.h"
#include "bars/SECDockContext.h"
#include "bars/SECMDIFrameWnd.h"
#include "bars/SECWorksheet.h"

IMPLEMENT_DYNCREATE(SECMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(SECMDIChildWnd, CMDIChildWnd)
  ON_WM_MOUSEACTIVATE()
  ON_WM_CHILDACTIVATE()
  ON_WM_MDIACTIVATE()
  ON_WM_SIZE()
END_MESSAGE_MAP()

SECMDIFrameWnd* SECMDIChildWnd::GetToolkitFrame() {
  return dynamic_cast<SECMDIFrameWnd*>(AfxGetMainWnd());
}

BOOL SECMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  dwDefaultStyle |= WS_CHILD;
  m_nIDHelp = nIDResource;
  SECMDIFrameWnd* pMain = GetToolkitFrame();
  const BOOL bMenuBarMain = pMain != nullptr && pMain->HasMenuBar();
  auto* pTemplate = pContext != nullptr ? dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate) : nullptr;
  if (pTemplate != nullptr) {
    m_hAccelTable = pTemplate->m_hAccelTable;
    if (bMenuBarMain) {
      m_bMenuBarMode = TRUE;
      m_nMenuBarMenuId = pTemplate->m_nIDResource;
    } else {
      m_hMenuShared = pTemplate->m_hMenuShared;
    }
  } else if (nIDResource != 0 && bMenuBarMain) {
    m_bMenuBarMode = TRUE;
    m_nMenuBarMenuId = nIDResource;
  }
  const CString strTitle = SECFrameTitleFromResource(nIDResource);
  return Create(nullptr, strTitle, dwDefaultStyle, rectDefault, dynamic_cast<CMDIFrameWnd*>(pParentWnd), pContext);
}

void SECMDIChildWnd::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) {
  m_hMenuAltSaved = hMenuAlt;
  CMDIChildWnd::OnUpdateFrameMenu(bActive, pActivateWnd, hMenuAlt);
  SECMDIFrameWnd* pMain = GetToolkitFrame();
  if (pMain == nullptr || !pMain->HasMenuBar()) return;
  if (bActive && hMenuAlt == nullptr && ::GetMenu(pMain->GetSafeHwnd()) != nullptr) {
    pMain->SetMenu(nullptr);
    pMain->DrawMenuBar();
  }
  pMain->RefreshWindowMenu();
}

void SECMDIChildWnd::OnUpdateFrameMenu(HMENU) { OnUpdateFrameMenu(TRUE, this, m_hMenuAltSaved); }

int SECMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  SECMDIFrameWnd* pMain = GetToolkitFrame();
  if (pMain != nullptr) pMain->DeactivateFloatingFrame(FALSE);
  const int nResult = CMDIChildWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (pMain != nullptr && m_bMenuBarMode) pMain->SetMenuBarMenu(m_nMenuBarMenuId);
  return nResult;
}

void SECMDIChildWnd::OnChildActivate() {
  if (SECMDIFrameWnd* pMain = GetToolkitFrame()) pMain->DeactivateFloatingFrame(FALSE);
  CMDIChildWnd::OnChildActivate();
}

void SECMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
  CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
  SECMDIFrameWnd* pMain = GetToolkitFrame();
  if (pMain == nullptr || !pMain->HasMenuBar() || m_nMenuBarMenuId == 0) return;
  if (bActivate)
    pMain->SetMenuBarMenu(m_nMenuBarMenuId);
  else if (pActivateWnd == nullptr)
    pMain->SetMenuBarMenu(static_cast<UINT>(-1));
}

void SECMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  SECMDIFrameWnd* pMain = GetToolkitFrame();
  const BOOL bMenuBar = pMain != nullptr && pMain->HasMenuBar();
  if (bMenuBar && (nType == SIZE_RESTORED || nType == SIZE_MINIMIZED || nType == SIZE_MAXIMIZED))
    pMain->HideMenuBarChildButtons();
  CMDIChildWnd::OnSize(nType, cx, cy);
  // The active child maximised after its activation (a document opened into a maximised
  // workspace): its caption is gone, so the menubar takes its buttons now.
  if (bMenuBar && nType == SIZE_MAXIMIZED && m_nMenuBarMenuId != 0 && pMain->MDIGetActive() == this)
    pMain->SetMenuBarMenu(m_nMenuBarMenuId);
}

// ---- children that hold control bars ----

CControlBar* SECBarChildSupport::GetFirstBar() const {
  for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
    if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(i)) return pBar;
  return nullptr;
}

BOOL SECBarChildSupport::CreateDockBar() {
  m_bInLayout = TRUE;
  // Made as the main frame's child, so that it joins the main frame's bars (its saved layout
  // records it), then moved in here.
  CWnd* pMain = m_pChild->GetMDIFrame();
  if (pMain == nullptr) pMain = m_pChild;
  const BOOL bCreated = m_wndDockBar.Create(pMain, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, 0, AFX_IDW_DOCKBAR_FLOAT);
  if (bCreated) m_wndDockBar.SetParent(m_pChild);
  m_bInLayout = FALSE;
  return bCreated;
}

void SECBarChildSupport::AfterLayout() {
  if (m_wndDockBar.GetSafeHwnd() == nullptr) return;
  CString strCaption;
  m_wndDockBar.GetWindowText(strCaption);
  m_pChild->SetWindowText(strCaption);
  // A maximised child (one opened beside a maximised document) stays as large as the documents'
  // area whatever size its bar asked for: the bar takes the child's size and is laid out again.
  CControlBar* pBar = GetFirstBar();
  if (m_bFitting || !m_pChild->IsZoomed() || IsMultiBar() || pBar == nullptr || !(pBar->GetStyle() & WS_VISIBLE)) return;
  CRect rcClient, rcBar;
  m_pChild->GetClientRect(&rcClient);
  pBar->GetWindowRect(&rcBar);
  if (rcBar.Size() == rcClient.Size()) return;
  m_bFitting = TRUE;
  FitBarToChild(pBar, rcClient.Width(), rcClient.Height());
  m_pChild->RecalcLayout();
  m_bFitting = FALSE;
}

void SECBarChildSupport::OnSize(int cx, int cy) {
  CControlBar* pBar = GetFirstBar();
  if (IsMultiBar() || pBar == nullptr || (pBar->GetStyle() & WS_VISIBLE) == 0) return;
  FitBarToChild(pBar, cx, cy);
}

BOOL SECBarChildSupport::BeforeSize(UINT nType) {
  if (nType != SIZE_RESTORED || m_sizeRestored.cx <= 0 || m_pChild->IsZoomed() || m_pChild->IsIconic()) return FALSE;
  const CSize size = m_sizeRestored;
  m_sizeRestored = CSize(0, 0);
  CRect rcWindow;
  m_pChild->GetWindowRect(&rcWindow);
  if (rcWindow.Size() == size) return FALSE;
  m_pChild->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

void SECBarChildSupport::FitBarToChild(CControlBar* pBar, int cx, int cy) {
  // The bar's remembered floating size follows the child. The floating dock bar lays the bar
  // over its whole client area (no border of it hidden under the frame), so the size is the
  // client size: any more and each layout would grow the child by that much.
  pBar->CalcDynamicLayout(cx, LM_MRUWIDTH | LM_COMMIT);
  pBar->CalcDynamicLayout(cy, LM_MRUWIDTH | LM_LENGTHY | LM_COMMIT);
}

void SECBarChildSupport::OnWindowPosChanged() {
  CControlBar* pBar = GetFirstBar();
  if (IsMultiBar() || pBar == nullptr || pBar->m_pDockContext == nullptr) return;
  CRect rc;
  m_pChild->GetWindowRect(&rc);
  pBar->m_pDockContext->m_ptMRUFloatPos = rc.TopLeft();
}

BOOL SECBarChildSupport::OnClose() {
  if (IsMultiBar()) return FALSE;
  CMDIFrameWnd* pMain = m_pChild->GetMDIFrame();
  if (pMain != nullptr)
    ::SendMessage(pMain->m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_pChild->GetSafeHwnd()), 0);
  if (CControlBar* pBar = GetFirstBar()) {
    CFrameWnd* pSite = pBar->m_pDockSite != nullptr ? pBar->m_pDockSite : pMain;
    if (pSite != nullptr) pSite->CFrameWnd::ShowControlBar(pBar, FALSE, FALSE);
  }
  return TRUE;
}

void SECBarChildSupport::AfterShowWindow(BOOL bShow) {
  CMDIFrameWnd* pMain = m_pChild->GetMDIFrame();
  if (pMain != nullptr && pMain->m_hWndMDIClient != nullptr)
    ::PostMessage(pMain->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  // Once shown: the child activates itself only while it is visible.
  const BOOL bActivate = bShow && m_bActivateWhenShown;
  m_bActivateWhenShown = FALSE;
  if (bActivate) m_pChild->PostMessage(WM_CHILDACTIVATE);
}

SECBarChildSupport* SECBarChildSupport::Of(CWnd* pWnd) {
  if (auto* pBarChild = dynamic_cast<SECControlBarMDIChildWnd*>(pWnd)) return &pBarChild->GetSupport();
  if (auto* pSheet = dynamic_cast<SECControlBarWorksheet*>(pWnd)) return &pSheet->GetSupport();
  return nullptr;
}

IMPLEMENT_DYNCREATE(SECControlBarMDIChildWnd, SECMDIChildWnd)

BEGIN_MESSAGE_MAP(SECControlBarMDIChildWnd, SECMDIChildWnd)
  ON_WM_SIZE()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_CLOSE()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

BOOL SECControlBarMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!SECMDIChildWnd::PreCreateWindow(cs)) return FALSE;
  cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  return TRUE;
}

BOOL SECControlBarMDIChildWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext*) { return m_support.CreateDockBar(); }

void SECControlBarMDIChildWnd::RecalcLayout(BOOL bNotify) {
  if (m_support.m_bInLayout) return;
  SECMDIChildWnd::RecalcLayout(bNotify);
  m_support.AfterLayout();
}

void SECControlBarMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  CString strCaption;
  GetWindowText(strCaption);
  SECMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
  SetWindowText(strCaption);
}

void SECControlBarMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  if (m_support.BeforeSize(nType)) return;
  m_support.OnSize(cx, cy);
  SECMDIChildWnd::OnSize(nType, cx, cy);
}

void SECControlBarMDIChildWnd::OnWindowPosChanged(WINDOWPOS* lpWndPos) {
  m_support.OnWindowPosChanged();
  SECMDIChildWnd::OnWindowPosChanged(lpWndPos);
}

void SECControlBarMDIChildWnd::OnClose() {
  if (!m_support.OnClose()) SECMDIChildWnd::OnClose();
}

void SECControlBarMDIChildWnd::OnShowWindow(BOOL bShow, UINT nStatus) {
  SECMDIChildWnd::OnShowWindow(bShow, nStatus);
  m_support.AfterShowWindow(bShow);
}

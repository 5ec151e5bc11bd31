// The toolkit's MDI frame: routing through the active floating frame or MDI child and the
// workspace plug-in, floating-frame activation, and menus switched per document.
#include "bars/SECMDIFrameWnd.h"

#include "bars/SECFrameWnd.h"
#include "foundation/SECDocTemplateUtils.h"

IMPLEMENT_DYNCREATE(SECMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(SECMDIFrameWnd, CMDIFrameWnd)
  ON_WM_CREATE()
  ON_WM_ACTIVATE()
  ON_WM_ACTIVATEAPP()
  ON_COMMAND_RANGE(43031, 43039, OnWorkspaceCommand)
  ON_COMMAND_RANGE(43007, 43009, OnWorkspaceCommand)
  ON_COMMAND_RANGE(43012, 43014, OnWorkspaceCommand)
  ON_UPDATE_COMMAND_UI_RANGE(43031, 43039, OnUpdateWorkspaceCommand)
  ON_UPDATE_COMMAND_UI_RANGE(43007, 43009, OnUpdateWorkspaceCommand)
  ON_UPDATE_COMMAND_UI_RANGE(43012, 43014, OnUpdateWorkspaceCommand)
END_MESSAGE_MAP()

SECMDIFrameWnd::SECMDIFrameWnd() { m_mapMenus.InitHashTable(17); }

SECMDIFrameWnd::~SECMDIFrameWnd() {
  for (POSITION pos = m_mapMenus.GetStartPosition(); pos != nullptr;) {
    UINT nID = 0;
    HMENU hMenu = nullptr;
    m_mapMenus.GetNextAssoc(pos, nID, hMenu);
    if (hMenu != nullptr) ::DestroyMenu(hMenu);
  }
  m_mapMenus.RemoveAll();
}

// ---- routing ----

BOOL SECMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  _AFX_THREAD_STATE* pState = AfxGetThreadState();
  CFrameWnd* pSavedRouting = pState->m_pRoutingFrame;
  CFrameWnd* pChild = m_pActiveFloatingFrame != nullptr ? static_cast<CFrameWnd*>(m_pActiveFloatingFrame)
                                                        : static_cast<CFrameWnd*>(MDIGetActive());
  if (pChild != nullptr) {
    pState->m_pRoutingFrame = pChild;
    const BOOL bHandled = pChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    pState->m_pRoutingFrame = pSavedRouting;
    if (bHandled) return TRUE;
  }
  if (RouteToWorkspace(this, nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  const BOOL bResult = CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  pState->m_pRoutingFrame = pSavedRouting;
  return bResult;
}

CFrameWnd* SECMDIFrameWnd::GetActiveFrame() {
  if (m_pActiveFloatingFrame != nullptr) return m_pActiveFloatingFrame;
  return CMDIFrameWnd::GetActiveFrame();
}

BOOL SECMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
  return PreTranslateFrameMessage(pMsg) || CMDIFrameWnd::PreTranslateMessage(pMsg);
}

BOOL SECMDIFrameWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = 0;
  if (HandleFrameMessage(this, message, wParam, lParam, &result)) {
    if (pResult != nullptr) *pResult = result;
    return TRUE;
  }
  return CMDIFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}

// ---- floating frames ----

void SECMDIFrameWnd::ActivateViewOf(CFrameWnd* pFrame, BOOL bActivate) {
  if (pFrame == nullptr) return;
  CView* pView = pFrame->GetActiveView();
  if (pView == nullptr) return;
  const HWND hFocus = ::GetFocus();
  const BOOL bFocusInside = hFocus != nullptr && (hFocus == pView->GetSafeHwnd() || pView->IsChild(CWnd::FromHandle(hFocus)));
  if (!bFocusInside) pView->OnActivateView(bActivate, pView, pView);
}

void SECMDIFrameWnd::ActivateFloatingFrame(SECFrameWnd* pFrame, BOOL bForce) {
  if (pFrame == m_pActiveFloatingFrame && !bForce) return;
  DeactivateFloatingFrame(pFrame == nullptr);
  ActivateViewOf(CMDIFrameWnd::GetActiveFrame(), FALSE);
  if (pFrame != nullptr) {
    pFrame->SendMessage(WM_NCACTIVATE, TRUE);
    m_pActiveFloatingFrame = pFrame;
    ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
    ::SendMessage(m_hWndMDIClient, WM_NCACTIVATE, 0, 0);
    ActivateViewOf(pFrame, TRUE);
  } else {
    ActivateViewOf(MDIGetActive(), TRUE);
  }
  OnUpdateFrameTitle(TRUE);
  if (!HasMenuBar()) {
    OnUpdateFrameMenu(static_cast<HMENU>(nullptr));
    DrawMenuBar();
  } else {
    CFrameWnd* pActive = pFrame != nullptr ? static_cast<CFrameWnd*>(pFrame) : GetActiveFrame();
    const UINT nID = SECDocTemplateUtils().GetFrameMenuId(pActive);
    SetMenuBarMenu(nID != 0 ? nID : static_cast<UINT>(-1));
  }
}

void SECMDIFrameWnd::DeactivateFloatingFrame(BOOL bReactivateMDI) {
  if (m_pActiveFloatingFrame != nullptr) {
    SECFrameWnd* pFrame = m_pActiveFloatingFrame;
    if (CView* pView = pFrame->GetActiveView()) pView->OnActivateView(FALSE, pView, pView);
    pFrame->SendMessage(WM_NCACTIVATE, FALSE);
    m_pActiveFloatingFrame = nullptr;
    ::SetFocus(nullptr);
  }
  if (bReactivateMDI && m_hWndMDIClient != nullptr) {
    ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
    ::SendMessage(m_hWndMDIClient, WM_NCACTIVATE, TRUE, 0);
  }
}

void SECMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (m_pActiveFloatingFrame == nullptr) {
    CMDIFrameWnd::OnUpdateFrameTitle(bAddToTitle);
    return;
  }
  // The floating frame's document names the main window.
  CDocument* pDoc = m_pActiveFloatingFrame->GetActiveDocument();
  if ((GetStyle() & FWS_ADDTOTITLE) != 0 && bAddToTitle && pDoc != nullptr)
    UpdateFrameTitleForDocument(pDoc->GetTitle());
  else
    UpdateFrameTitleForDocument(nullptr);
}

void SECMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  if (m_pActiveFloatingFrame != nullptr) {
    m_pActiveFloatingFrame->OnUpdateFrameMenu(TRUE, m_pActiveFloatingFrame, hMenuAlt);
  } else if (CMDIChildWnd* pChild = MDIGetActive()) {
    pChild->OnUpdateFrameMenu(TRUE, pChild, hMenuAlt);
  } else if (m_hWndMDIClient != nullptr) {
    ::SendMessage(m_hWndMDIClient, WM_MDISETMENU,
                  reinterpret_cast<WPARAM>(hMenuAlt != nullptr ? hMenuAlt : m_hMenuDefault), 0);
  }
  if (HasMenuBar()) RefreshWindowMenu();
}

// ---- menus ----

HMENU SECMDIFrameWnd::GetMenuForID(UINT nID) {
  if (m_hMenuBarMenu != nullptr && nID == m_nDefaultMenuId) return m_hMenuBarMenu;
  if (CWinApp* pApp = AfxGetApp()) {
    for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos != nullptr;) {
      auto* pTemplate = dynamic_cast<CMultiDocTemplate*>(pApp->GetNextDocTemplate(pos));
      if (pTemplate != nullptr && pTemplate->m_nIDResource == nID && pTemplate->m_hMenuShared != nullptr)
        return pTemplate->m_hMenuShared;
    }
  }
  HMENU hMenu = nullptr;
  return m_mapMenus.Lookup(nID, hMenu) ? hMenu : nullptr;
}

HMENU SECMDIFrameWnd::GetCurrentMenu() {
  if (!HasMenuBar()) return ::GetMenu(m_hWnd);
  if (m_nCurrentMenuId == 20514) return m_hMenuBarMenu;
  return GetMenuForID(m_nCurrentMenuId);
}

void SECMDIFrameWnd::SetMenuBarMenu(UINT nID) {
  if (HasMenuBar() && m_pMenuPlugIn != nullptr) {
    m_nCurrentMenuId = nID == static_cast<UINT>(-1) ? m_nDefaultMenuId : nID;
    if (SwitchMenuBarMenu(m_nCurrentMenuId)) RecalcLayout();
  }
  RefreshWindowMenu();
}

void SECMDIFrameWnd::HideMenuBarChildButtons() {}

void SECMDIFrameWnd::RefreshWindowMenu() {
  if (!HasMenuBar() || m_hWndMDIClient == nullptr) return;
  const HMENU hPopup = GetWindowMenuPopup(GetMenuForID(m_nCurrentMenuId));
  if (::GetMenu(m_hWnd) == nullptr && hPopup != nullptr)
    ::SendMessage(m_hWndMDIClient, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(hPopup));
}

BOOL SECMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nDefaultMenuId = nIDResource;
  m_nCurrentMenuId = nIDResource;
  if (!LoadFrameWindow(this, nIDResource, dwDefaultStyle, pParentWnd, pContext, nullptr)) return FALSE;
  if (HasMenuBar()) SetMenuBarMenu(static_cast<UINT>(-1));
  return TRUE;
}

BOOL SECMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*) {
  HMENU hWindowMenu = nullptr;
  const HMENU hMenu = GetCurrentMenu();
  if (m_hMenuDefault == nullptr && !HasMenuBar() && hMenu != nullptr) {
    // The window popup is the second-to-last popup of the menu.
    const int nCount = ::GetMenuItemCount(hMenu);
    if (nCount >= 2) hWindowMenu = ::GetSubMenu(hMenu, nCount - 2);
  } else {
    hWindowMenu = GetWindowMenuPopup(hMenu);
  }
  return CreateClient(lpcs, CMenu::FromHandle(hWindowMenu));
}

// ---- layout ----

void SECMDIFrameWnd::RecalcLayout(BOOL bNotify) {
  CMDIFrameWnd::RecalcLayout(bNotify);
  AfterRecalcLayout();
}

BOOL SECMDIFrameWnd::NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) {
  if (lpRectBorder != nullptr && HasMenuBar() && ::IsRectEmpty(lpRectBorder) && lpRectBorder->left == 0 &&
      lpRectBorder->top == 0 && lpRectBorder->right == 0 && lpRectBorder->bottom == 0)
    SkipNextMenuBarHide();
  return CMDIFrameWnd::NegotiateBorderSpace(nBorderCmd, lpRectBorder);
}

void SECMDIFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
  CMDIFrameWnd::OnSetPreviewMode(bPreview, pState);
  AfterPreviewMode(bPreview);
}

// ---- messages ----

int SECMDIFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CMDIFrameWnd::OnCreate(lpcs) == -1) return -1;
  PlugInMenu(this);
  return 0;
}

void SECMDIFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CMDIFrameWnd::OnActivate(nState, pWndOther, bMinimized);
  OnActivateFrameView(nState, pWndOther, bMinimized);
}

void SECMDIFrameWnd::OnActivateFrameView(UINT nState, CWnd*, BOOL bMinimized) {
  if (m_bActivationGuard) return;
  CFrameWnd* pActive = GetActiveFrame();
  CView* pView = GetActiveView() != nullptr ? GetActiveView() : pActive != nullptr ? pActive->GetActiveView() : nullptr;
  if (pView == nullptr) return;
  if (nState != WA_INACTIVE && !bMinimized) {
    const HWND hForeground = ::GetForegroundWindow();
    pView->OnActivateView(TRUE, pView, pView);
    if (::GetForegroundWindow() != hForeground) {
      // The view's activation took the foreground away; give it back.
      m_bActivationGuard = TRUE;
      const HWND hBack = hForeground != nullptr ? hForeground : m_hWnd;
      ::SetActiveWindow(hBack);
      ::SetForegroundWindow(hBack);
      m_bActivationGuard = FALSE;
    }
  }
  pView->OnActivateFrame(nState, this);
}

void SECMDIFrameWnd::OnActivateApp(BOOL bActive, DWORD dwThreadID) {
  if (m_pActiveFloatingFrame != nullptr && m_hWndMDIClient != nullptr) {
    ::PostMessage(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
    ::PostMessage(m_hWndMDIClient, WM_NCACTIVATE, 0, 0);
  }
  CMDIFrameWnd::OnActivateApp(bActive, dwThreadID);
}

void SECMDIFrameWnd::OnWorkspaceCommand(UINT) {}

void SECMDIFrameWnd::OnUpdateWorkspaceCommand(CCmdUI*) {}

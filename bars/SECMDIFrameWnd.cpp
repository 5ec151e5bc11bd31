// The toolkit's MDI frame: routing through the active floating frame or MDI child and the
// workspace plug-in, floating-frame activation, and menus switched per document.
#include "bars/SECMDIFrameWnd.h"

#include <algorithm>

#include "bars/SECBarStyles.h"
#include "bars/SECControlBar.h"
#include "bars/SECDockBar.h"
#include "bars/SECFrameWnd.h"
#include "bars/SECMDIChildWnd.h"
#include "bars/SECMiniDockFrameWnd.h"
#include "bars/SECWorksheet.h"
#include "foundation/SECDocTemplateUtils.h"

IMPLEMENT_DYNCREATE(SECMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(SECMDIFrameWnd, CMDIFrameWnd)
  ON_WM_CREATE()
  ON_WM_ACTIVATE()
  ON_WM_ACTIVATEAPP()
  ON_MESSAGE(WM_SEC_EXTENDCONTEXTMENU, OnExtendContextMenu)
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
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

// The frame whose commands come first: the active floating frame, else the active MDI child.
// Help mode is the main frame's own (it knows the menubar), so its command skips them.
CFrameWnd* SECMDIFrameWnd::CommandChild(UINT nID) {
  if (nID == ID_CONTEXT_HELP) return nullptr;
  if (m_pActiveFloatingFrame != nullptr) return m_pActiveFloatingFrame;
  return MDIGetActive();
}

BOOL SECMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  _AFX_THREAD_STATE* pState = AfxGetThreadState();
  CFrameWnd* pSavedRouting = pState->m_pRoutingFrame;
  CFrameWnd* pChild = CommandChild(nID);
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

BOOL SECMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  CFrameWnd* pChild = CommandChild(LOWORD(wParam));
  if (pChild != nullptr && pChild->SendMessage(WM_COMMAND, wParam, lParam) != 0) return TRUE;
  if (CFrameWnd::OnCommand(wParam, lParam)) return TRUE;
  if (lParam == 0 && (LOWORD(wParam) & 0xF000) == 0xF000) {
    DefWindowProc(WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return FALSE;
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
    BOOL bChanged = SwitchMenuBarMenu(m_nCurrentMenuId);
    SECMenuBarHooks* pHooks = SECGetMenuBarHooks();
    if (pHooks != nullptr && pHooks->ShowChildButtons(m_pMenuBar, TRUE)) bChanged = TRUE;
    if (bChanged) RecalcLayout();
  }
  RefreshWindowMenu();
}

void SECMDIFrameWnd::HideMenuBarChildButtons() {
  SECMenuBarHooks* pHooks = SECGetMenuBarHooks();
  if (HasMenuBar() && pHooks != nullptr && pHooks->ShowChildButtons(m_pMenuBar, FALSE)) RecalcLayout();
}

BOOL SECMDIFrameWnd::SwitchMenuBarMenu(UINT nID) {
  SECMenuBarHooks* pHooks = SECGetMenuBarHooks();
  return pHooks != nullptr && pHooks->SwitchMenu(m_pMenuPlugIn, m_pMenuBar, nID);
}

void SECMDIFrameWnd::SkipNextMenuBarHide() {
  if (SECMenuBarHooks* pHooks = SECGetMenuBarHooks()) pHooks->SkipNextHide(m_pMenuBar);
}

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

// ---- control bars ----

CDockBar* SECMDIFrameWnd::CreateDockBar() {
  CObject* pObject = m_pDockBarClass != nullptr ? m_pDockBarClass->CreateObject() : nullptr;
  if (auto* pDock = dynamic_cast<CDockBar*>(pObject)) return pDock;
  delete pObject;
  return new SECDockBar(FALSE, FALSE);
}

void SECMDIFrameWnd::EnableDocking(DWORD dwDockStyle, DWORD dwExtra) {
  if (m_pBarChildClass == nullptr) m_pBarChildClass = RUNTIME_CLASS(SECControlBarMDIChildWnd);
  if (m_pDockBarClass == nullptr) m_pDockBarClass = RUNTIME_CLASS(SECDockBar);
  SECFrameServices::EnableDocking(dwDockStyle, dwExtra);
}

void SECMDIFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr) return;
  CFrameWnd* pFrame = pBar->m_pDockSite != nullptr ? pBar->m_pDockSite : pBar->GetParentFrame();
  if (pFrame == nullptr) return;
  // Shown by the user in a hidden window of the documents' area, the bar brings that window to
  // the front once it shows.
  if (bShow && (pBar->GetStyle() & WS_VISIBLE) == 0) {
    CFrameWnd* pHolder = pBar->GetParentFrame();
    SECBarChildSupport* pSupport = SECBarChildSupport::Of(pHolder);
    if (pSupport != nullptr && (pHolder->GetStyle() & WS_VISIBLE) == 0) pSupport->ActivateWhenShown();
  }
  pFrame->CFrameWnd::ShowControlBar(pBar, bShow, bDelay);
  if (auto* pDock = dynamic_cast<SECDockBar*>(pBar->m_pDockBar)) pDock->OnBarChanged(pBar);
}

void SECMDIFrameWnd::DockControlBarAt(CControlBar* pBar, UINT nDockBarID, int x, int y, float fShare, int nLength) {
  DockControlBarEx(pBar, nDockBarID, x, y, fShare, nLength);
}

BOOL SECMDIFrameWnd::SECFloatBarInMainWindow(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  FloatControlBarInMDIChild(pBar, point, dwStyle);
  return TRUE;
}

CDockBar* SECMDIFrameWnd::SECCreateMainWindowFloat(DWORD) {
  CMDIChildWnd* pChild = CreateControlBarMDIChild(0, nullptr);
  return pChild != nullptr ? BarChildDockBar(pChild) : nullptr;
}

SECDockBar* SECMDIFrameWnd::BarChildDockBar(CMDIChildWnd* pChild) {
  // The dock bar belongs to the main frame's bars, so it is found as the child's window.
  return dynamic_cast<SECDockBar*>(CWnd::FromHandlePermanent(::GetDlgItem(pChild->m_hWnd, AFX_IDW_DOCKBAR_FLOAT)));
}

CMDIChildWnd* SECMDIFrameWnd::CreateControlBarMDIChild(DWORD dwStyle, CControlBar*) {
  CRuntimeClass* pClass = m_pBarChildClass != nullptr ? m_pBarChildClass : RUNTIME_CLASS(SECControlBarMDIChildWnd);
  CObject* pObject = pClass->CreateObject();
  auto* pChild = dynamic_cast<CMDIChildWnd*>(pObject);
  if (pChild == nullptr) {
    delete pObject;
    AfxThrowMemoryException();
  }
  // 0x42CFA000: a child with a caption, system menu, sizing frame and boxes, its title added.
  if (!pChild->LoadFrame(20514, dwStyle != 0 ? dwStyle : 0x42CFA000, this)) return nullptr;  // deleted itself
  return pChild;
}

void SECMDIFrameWnd::FloatControlBarInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr || m_hWndMDIClient == nullptr) return;
  CRect rcClient;
  ::GetClientRect(m_hWndMDIClient, &rcClient);
  if (point.x >= 0 && point.y >= 0) {
    ::ScreenToClient(m_hWndMDIClient, &point);
  } else {
    point = CPoint(m_nNextBarChildX, m_nNextBarChildY);
    m_nNextBarChildX += 20;
    m_nNextBarChildY += 23;
    if (m_nNextBarChildX > rcClient.Width() - 30) m_nNextBarChildX = 30;
    if (m_nNextBarChildY > rcClient.Height() - 30) m_nNextBarChildY = 30;
  }
  point.x = std::clamp<LONG>(point.x, 0, std::max<LONG>(0, rcClient.Width()));
  point.y = std::clamp<LONG>(point.y, 0, std::max<LONG>(0, rcClient.Height() - 30));

  auto* pSECBar = dynamic_cast<SECControlBar*>(pBar);
  // Alone in its own MDI child already: the child only moves.
  CDockBar* pDock = pBar->m_pDockBar;
  auto* pHolder = pDock != nullptr ? dynamic_cast<CMDIChildWnd*>(pDock->GetParent()) : nullptr;
  if (pHolder != nullptr && pDock->GetDockedCount() == 1 && (pBar->GetBarStyle() & dwStyle & CBRS_ALIGN_ANY) != 0) {
    pHolder->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pHolder->RecalcLayout();
    pHolder->UpdateWindow();
    return;
  }
  if ((pBar->GetBarStyle() & CBRS_SIZE_DYNAMIC) != 0) {
    dwStyle |= CBRS_SIZE_DYNAMIC;
    if ((dwStyle & CBRS_ORIENT_VERT) != 0) dwStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | CBRS_ALIGN_TOP;
  }
  CMDIChildWnd* pChild = CreateControlBarMDIChild(0, pBar);
  if (pChild == nullptr) return;
  if (pChild->m_hWndOwner == nullptr) pChild->m_hWndOwner = pBar->GetSafeHwnd();
  if (SECDockBar* pChildDock = BarChildDockBar(pChild))
    pChildDock->DockControlBar(pBar);
  pChild->RecalcLayout();
  pChild->OnUpdateFrameTitle(TRUE);
  // The child opens whole inside the documents' area (a bar docked along a side is taller than
  // the area): smaller from its place, or moved back when too little of the area is left there.
  // A child opened maximised (beside a maximised document) already fills the area: moved, its
  // caption would come into the area and its lower part go out of it.
  SECBarChildSupport* pSupport = SECBarChildSupport::Of(pChild);
  if (!pChild->IsZoomed()) {
    CRect rcChild;
    pChild->GetWindowRect(&rcChild);
    auto fit = [](LONG& pos, LONG size, LONG area, int minimum) {
      if (area - pos < std::min<LONG>(size, minimum)) pos = std::max<LONG>(0, area - std::min(size, area));
      return static_cast<int>(std::max<LONG>(1, std::min(size, area - pos)));
    };
    const int cx = fit(point.x, rcChild.Width(), rcClient.Width(), ::GetSystemMetrics(SM_CXMINTRACK));
    const int cy = fit(point.y, rcChild.Height(), rcClient.Height(), ::GetSystemMetrics(SM_CYMINTRACK));
    pChild->SetWindowPos(nullptr, point.x, point.y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (pSECBar != nullptr) {
    // Opened maximised, the child never had a size of its own: the one its bar floats at, inside
    // the documents' area, is the size it is restored to.
    const CSize floating = pSECBar->CalcDynamicLayout(-1, 0);
    CRect rcWindow(0, 0, std::max<LONG>(floating.cx, ::GetSystemMetrics(SM_CXMINTRACK)),
                   std::max<LONG>(floating.cy, ::GetSystemMetrics(SM_CYMINTRACK)));
    ::AdjustWindowRectEx(&rcWindow, pChild->GetStyle() & ~static_cast<DWORD>(WS_MAXIMIZE), FALSE, pChild->GetExStyle());
    const CSize size(std::min<LONG>(rcWindow.Width(), rcClient.Width()), std::min<LONG>(rcWindow.Height(), rcClient.Height()));
    if (pSupport != nullptr) pSupport->SetRestoredSize(size);
  }
  // Floated in the main window, the bar's window comes to the front as the active one.
  if (pSupport != nullptr && (pChild->GetStyle() & WS_VISIBLE) == 0) pSupport->ActivateWhenShown();
  pChild->ShowWindow(SW_SHOWNA);
  pChild->UpdateWindow();
  if (const auto hIcon = reinterpret_cast<HICON>(pBar->SendMessage(WM_GETICON, ICON_BIG)))
    pChild->SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
  if (pSECBar != nullptr) pSECBar->OnBarMDIFloat();
}

LRESULT SECMDIFrameWnd::OnExtendContextMenu(WPARAM wParam, LPARAM lParam) {
  auto* pBar = dynamic_cast<SECControlBar*>(reinterpret_cast<CWnd*>(wParam));
  auto* pMenu = reinterpret_cast<CMenu*>(lParam);
  if (pBar == nullptr || pMenu == nullptr) return 0;
  const BOOL bInMainWindow = pBar->IsMDIChild();
  if (bInMainWindow) pMenu->EnableMenuItem(ID_SEC_ALLOWDOCKING, MF_BYCOMMAND | MF_GRAYED);
  if ((pBar->GetExBarStyle() & CBRS_EX_ALLOW_MDI_FLOAT) != 0) {
    CString strText;
    strText.LoadString(ID_SEC_MDIFLOAT);
    pMenu->AppendMenu(MF_SEPARATOR);
    pMenu->AppendMenu(MF_STRING | (bInMainWindow ? MF_CHECKED : MF_UNCHECKED), ID_SEC_MDIFLOAT, strText);
  }
  return 0;
}

LRESULT SECMDIFrameWnd::OnCommandHelp(WPARAM wParam, LPARAM lParam) {
  // While a menu command is tracked, its help id.
  if (lParam == 0 && IsTracking()) lParam = static_cast<LPARAM>(m_nIDTracking) + 0x10000;
  CFrameWnd* pChild = m_pActiveFloatingFrame != nullptr ? static_cast<CFrameWnd*>(m_pActiveFloatingFrame)
                                                        : static_cast<CFrameWnd*>(MDIGetActive());
  if (pChild != nullptr && pChild->SendMessage(WM_COMMANDHELP, wParam, lParam) != 0) return TRUE;
  // No child answered: the help of this frame.
  return CMDIFrameWnd::OnCommandHelp(wParam, lParam);
}

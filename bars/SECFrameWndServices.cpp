// The services both toolkit frames share: routing through the workspace plug-in, loading the
// frame with or without a menubar, the workspace plug-in's creation and the frame messages that
// the gradient caption and the customise mode change.
#include "bars/SECFrameWndServices.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "bars/SECBmpMenuPlugIn.h"
#include "bars/SECBmpMgr.h"
#include "bars/SECControlBar.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECDockBar.h"
#include "bars/SECDockState.h"
#include "bars/SECMenuBar.h"
#include "bars/SECMiniDockFrameWnd.h"
#include "bars/SECToolBarManager.h"
#include "bars/SECWorkspaceManagerEx.h"
#include "foundation/SECSysColors.h"
#include "os/Registry.h"

using kelpwood::foundation::SECWndPlugIn;

CString SECFrameTitleFromResource(UINT nIDResource) {
  CString strTitle;
  strTitle.LoadString(nIDResource);
  const int nEnd = strTitle.Find('\n');
  return nEnd >= 0 ? strTitle.Left(nEnd) : strTitle;
}

SECFrameServices::SECFrameServices() = default;

SECFrameServices::~SECFrameServices() {
  if (m_hMenuBarMenu != nullptr) ::DestroyMenu(m_hMenuBarMenu);
  for (POSITION pos = m_listDynamicBars.GetHeadPosition(); pos != nullptr;)
    delete static_cast<CObject*>(m_listDynamicBars.GetNext(pos));
  m_listDynamicBars.RemoveAll();
  DeleteMenuPlugIn();
  delete m_pWorkspacePlugIn;
  m_pWorkspacePlugIn = nullptr;
}

UINT SECFrameServices::GetMenuMessage() {
  static const UINT nMessage = ::RegisterWindowMessage("WM_SECGETMENU");
  return nMessage;
}

namespace {

SECMenuBarHooks* g_pMenuBarHooks = nullptr;

}  // namespace

void SECSetMenuBarHooks(SECMenuBarHooks* pHooks) { g_pMenuBarHooks = pHooks; }

SECMenuBarHooks* SECGetMenuBarHooks() { return g_pMenuBarHooks; }

SECWndPlugIn* SECFrameServices::CreateMenuPlugIn() {
  if (HasMenuBar()) return g_pMenuBarHooks != nullptr ? g_pMenuBarHooks->CreateFeature(m_pMenuBar) : nullptr;
  return m_bBmpMenus ? new SECBmpMenuPlugIn(FALSE) : nullptr;
}

void SECFrameServices::PlugInMenu(CFrameWnd* pFrame) {
  m_pMenuPlugIn = CreateMenuPlugIn();
  if (m_pMenuPlugIn == nullptr) return;
  if (!m_pMenuPlugIn->PlugInTo(pFrame)) {
    DeleteMenuPlugIn();
    return;
  }
  auto* pBmpMenus = dynamic_cast<SECBmpMenuPlugIn*>(m_pMenuPlugIn);
  SECBmpMgr* pBmpMgr = GetToolBarBmpMgr();
  if (m_bBmpMenus && pBmpMenus != nullptr && pBmpMgr != nullptr) pBmpMenus->SetBmpMgr(pBmpMgr);
}

void SECFrameServices::DeleteMenuPlugIn() {
  delete m_pMenuPlugIn;
  m_pMenuPlugIn = nullptr;
}

BOOL SECFrameServices::RouteToWorkspace(CFrameWnd* pFrame, UINT nID, int nCode, void* pExtra,
                                        AFX_CMDHANDLERINFO* pInfo) {
  SECWndPlugIn* pPlugIn = m_pWorkspacePlugIn;
  if (pPlugIn == nullptr) {
    CWnd* pParent = pFrame->GetParentFrame();
    auto* pServices = dynamic_cast<SECFrameServices*>(pParent);
    if (pServices != nullptr) pPlugIn = pServices->m_pWorkspacePlugIn;
  }
  if (pPlugIn == nullptr) return FALSE;
  _AFX_THREAD_STATE* pState = AfxGetThreadState();
  CFrameWnd* pSavedRouting = pState->m_pRoutingFrame;
  const BOOL bResult = pPlugIn->OnCmdMsg(nID, nCode, pExtra, pInfo);
  pState->m_pRoutingFrame = pSavedRouting;
  if (!pPlugIn->m_bHandled) return FALSE;
  pPlugIn->m_bHandled = FALSE;
  static_cast<void>(bResult);
  return TRUE;
}

BOOL SECFrameServices::LoadFrameWindow(CFrameWnd* pFrame, UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                                       CCreateContext* pContext, LPCTSTR lpszClass) {
  pFrame->m_nIDHelp = nIDResource;
  m_nMenuBarMenuId = nIDResource;
  const CString strTitle = SECFrameTitleFromResource(nIDResource);
  LPCTSTR lpszMenu = MAKEINTRESOURCE(nIDResource);
  const BOOL bMenuExists = ::FindResource(AfxFindResourceHandle(lpszMenu, RT_MENU), lpszMenu, RT_MENU) != nullptr;
  // With a menubar the frame window itself has no menu.
  const BOOL bWin32Menu = !HasMenuBar() && bMenuExists;
  if (!pFrame->Create(lpszClass, strTitle, dwDefaultStyle, CFrameWnd::rectDefault, pParentWnd,
                      bWin32Menu ? lpszMenu : nullptr, 0, pContext))
    return FALSE;
  pFrame->m_hMenuDefault = ::GetMenu(pFrame->GetSafeHwnd());
  if (HasMenuBar() && bMenuExists && m_hMenuBarMenu == nullptr)
    m_hMenuBarMenu = ::LoadMenu(AfxFindResourceHandle(lpszMenu, RT_MENU), lpszMenu);
  pFrame->LoadAccelTable(lpszMenu);
  if (pContext == nullptr) pFrame->SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

SECWndPlugIn* SECFrameServices::CreateWorkspacePlugIn(LPCTSTR a, BOOL b, CRuntimeClass* pClass, BOOL c) {
  if (pClass == nullptr) return nullptr;
  auto* pPlugIn = dynamic_cast<SECWndPlugIn*>(pClass->CreateObject());
  if (pPlugIn == nullptr) return nullptr;
  delete m_pWorkspacePlugIn;
  m_pWorkspacePlugIn = pPlugIn;
  if (!CreateWorkspaceWindow(pPlugIn, a, b, 0x80000001, c) || !pPlugIn->PlugInTo(GetServicesFrame())) {
    delete m_pWorkspacePlugIn;
    m_pWorkspacePlugIn = nullptr;
  }
  return m_pWorkspacePlugIn;
}

BOOL SECFrameServices::PreTranslateFrameMessage(MSG* pMsg) {
  if (m_pMenuPlugIn != nullptr && m_pMenuPlugIn->PreTranslateMessage(pMsg)) return TRUE;
  return InToolBarConfigMode() && pMsg->message == WM_SYSCOMMAND && (pMsg->wParam & 0xFFF0) == SC_CLOSE;
}

DWORD_PTR SECMenuBarHelpContext(UINT nHitCode) {
  switch (nHitCode) {
    case 0: return 0;
    case HTMINBUTTON: return HID_BASE_COMMAND + AFX_IDS_SCMINIMIZE;
    case HTMAXBUTTON: return HID_BASE_COMMAND + AFX_IDS_SCRESTORE;
    case HTCLOSE: return HID_BASE_COMMAND + AFX_IDS_SCCLOSE;
    default: return 0x40000 + static_cast<DWORD_PTR>(nHitCode);
  }
}

CFrameWnd::HelpModeAnswer SECFrameServices::OnMenuBarHelpClick(const MSG& msg, DWORD_PTR& context) {
  if (msg.message != WM_LBUTTONDOWN && msg.message != WM_NCLBUTTONDOWN) return CFrameWnd::helpModeGoOn;
  CWnd* pBar = m_pMenuBar;
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr || ::WindowFromPoint(msg.pt) != pBar->m_hWnd)
    return CFrameWnd::helpModeGoOn;
  if (pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(msg.pt.x, msg.pt.y)) != HTCLIENT) return CFrameWnd::helpModeGoOn;
  CPoint point(msg.pt);
  pBar->ScreenToClient(&point);
  TOOLINFO info{};  // a tool that has a hit code puts it in the record's first field
  if (pBar->OnToolHitTest(point, &info) == -1) return CFrameWnd::helpModeEaten;
  context = SECMenuBarHelpContext(info.cbSize);
  if (context != 0) return CFrameWnd::helpModeChosen;
  // A menu button opens its menu, whose commands can then be chosen.
  pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  return CFrameWnd::helpModeEaten;
}

BOOL SECFrameServices::HandleFrameMessage(CFrameWnd* pFrame, UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT* pResult) {
  SECFrameCaption& caption = m_caption;
  if (message == GetMenuMessage()) {
    const HMENU hMenu = GetMenuForID(static_cast<UINT>(wParam));
    *pResult = reinterpret_cast<LRESULT>(hMenu != nullptr ? ::GetSubMenu(hMenu, static_cast<int>(lParam)) : nullptr);
    return TRUE;
  }
  switch (message) {
    case WM_DESTROY:
      DeleteMenuPlugIn();
      return FALSE;
    case WM_NCPAINT:
      if (!caption.m_bGradientCaption) return FALSE;
      if (caption.OnNcPaint(pFrame, reinterpret_cast<HRGN>(wParam))) DrawCaption();
      *pResult = 0;
      return TRUE;
    case WM_NCACTIVATE: {
      if (InToolBarConfigMode()) pFrame->m_nFlags &= ~static_cast<UINT>(WF_STAYACTIVE);
      if (!caption.m_bGradientCaption) return FALSE;
      *pResult = caption.OnNcActivate(pFrame, static_cast<BOOL>(wParam), (pFrame->m_nFlags & WF_STAYACTIVE) != 0);
      return TRUE;
    }
    case WM_SETTEXT:
      if (!caption.m_bGradientCaption) return FALSE;
      caption.OnSetText(pFrame, lParam);
      DrawCaption();
      *pResult = TRUE;
      return TRUE;
    case WM_NCHITTEST:
      if (!InToolBarConfigMode()) return FALSE;
      *pResult = HTERROR;
      return TRUE;
    case WM_ENABLE:
      if (InToolBarConfigMode()) pFrame->m_nFlags &= ~static_cast<UINT>(WF_STAYACTIVE);
      return FALSE;
    case WM_SYSCOLORCHANGE:
      SECGetSysColors().Refresh();
      *pResult = pFrame->DefWindowProc(message, wParam, lParam);
      pFrame->SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, TRUE);
      ReloadToolBarBitmaps();
      return TRUE;
    case WM_ENTERIDLE:
      OnEnterIdleEx(static_cast<UINT>(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
      return FALSE;
    default:
      return FALSE;
  }
}

void SECFrameServices::OnEnterIdleEx(UINT nWhy, CWnd*) {
  CFrameWnd* pFrame = GetServicesFrame();
  if (InToolBarConfigMode() && nWhy == MSGF_DIALOGBOX && (pFrame->m_nIdleFlags & CFrameWnd::idleLayout) != 0) {
    pFrame->RecalcLayout((pFrame->m_nIdleFlags & CFrameWnd::idleNotify) != 0);
    pFrame->UpdateWindow();
  }
}

void SECFrameServices::DrawCaption() {
  CFont leadFont, captionFont;
  CreateCaptionLeadFont(leadFont);
  CreateCaptionFont(captionFont);
  m_caption.DrawCaption(GetServicesFrame(), leadFont, captionFont);
}

HMENU SECFrameServices::GetMenuForID(UINT nID) {
  return m_hMenuBarMenu != nullptr && nID == m_nMenuBarMenuId ? m_hMenuBarMenu : nullptr;
}

HMENU SECFrameServices::GetActiveMenu() {
  return HasMenuBar() ? m_hMenuBarMenu : GetServicesFrame()->m_hMenuDefault;
}

void SECFrameServices::AfterRecalcLayout() {
  CFrameWnd* pFrame = GetServicesFrame();
  if (m_rcLastClient.IsRectEmpty())
    pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  pFrame->GetClientRect(&m_rcLastClient);
}

void SECFrameServices::AfterPreviewMode(BOOL bPreview) {
  if (!bPreview)
    GetServicesFrame()->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

BOOL SECFrameServices::InToolBarConfigMode() const {
  auto* pManager = dynamic_cast<SECToolBarManager*>(m_pControlBarManager);
  return pManager != nullptr && pManager->InConfigMode();
}

SECBmpMgr* SECFrameServices::GetToolBarBmpMgr() const {
  auto* pManager = dynamic_cast<SECToolBarManager*>(m_pControlBarManager);
  return pManager != nullptr ? pManager->GetBmpMgr() : nullptr;
}

BOOL SECFrameServices::CreateWorkspaceWindow(SECWndPlugIn* pPlugIn, LPCTSTR lpszKey, BOOL bRegistry, DWORD dwRootKey,
                                             BOOL bAppProfileKey) {
  auto* pManager = dynamic_cast<SECWorkspaceManagerEx*>(pPlugIn);
  // The root key comes as its 32-bit value; a predefined key is that value sign-extended, so it is
  // widened through LONG to name HKEY_CURRENT_USER itself.
  const auto hRootKey = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(dwRootKey)));
  if (pManager != nullptr) pManager->Initialize(lpszKey, bRegistry, hRootKey, bAppProfileKey);
  return TRUE;
}

void SECFrameServices::ReloadToolBarBitmaps() {
  CFrameWnd* pFrame = GetServicesFrame();
  std::set<SECBmpMgr*> reloaded;
  for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    auto* pBar = dynamic_cast<SECCustomToolBar*>(static_cast<CObject*>(pFrame->m_listControlBars.GetNext(pos)));
    SECBmpMgr* pBmpMgr = pBar != nullptr ? pBar->GetBmpMgr() : nullptr;
    if (pBmpMgr != nullptr && reloaded.insert(pBmpMgr).second) pBmpMgr->ReloadBitmaps(TRUE);
  }
}

// ---- docking ----

namespace {

// The dock bars of the four sides and their alignments.
constexpr std::pair<UINT, DWORD> kDockBars[] = {{AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
                                                {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
                                                {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
                                                {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT}};

}  // namespace

CDockBar* SECFrameServices::CreateDockBar() { return new SECDockBar(FALSE, FALSE); }

void SECFrameServices::EnableDocking(DWORD dwDockStyle, DWORD dwExtra) {
  CFrameWnd* pFrame = GetServicesFrame();
  pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(SECMiniDockFrameWnd);
  for (const auto& [nID, dwAlign] : kDockBars) {
    if ((dwAlign & dwDockStyle & CBRS_ALIGN_ANY) == 0 || pFrame->GetControlBar(nID) != nullptr) continue;
    CDockBar* pDock = CreateDockBar();
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | dwAlign;
    auto* pSECDock = dynamic_cast<SECDockBar*>(pDock);
    const BOOL bCreated = pSECDock != nullptr ? pSECDock->Create(pFrame, dwStyle, dwExtra, nID)
                                              : pDock->Create(pFrame, dwStyle, nID);
    if (!bCreated) {
      delete pDock;
      AfxThrowResourceException();
    }
  }
}

void SECFrameServices::SECDockBarAt(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  GetServicesFrame()->CFrameWnd::DockControlBar(pBar, pDockBar, lpRect);
  if (auto* pSECBar = dynamic_cast<SECControlBar*>(pBar)) pSECBar->OnBarDock();
}

void SECFrameServices::SECReDockBarAt(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  GetServicesFrame()->CFrameWnd::ReDockControlBar(pBar, pDockBar, lpRect);
  if (auto* pSECBar = dynamic_cast<SECControlBar*>(pBar)) pSECBar->OnBarDock();
}

void SECFrameServices::SECFloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  FloatControlBar(pBar, point, dwStyle);
}

void SECFrameServices::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr) return;
  // At least 10 pixels of the bar stay in the work area on each axis.
  CRect rcWork;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0);
  point.x = std::clamp<LONG>(point.x, rcWork.left, std::max(rcWork.left, rcWork.right - 10));
  point.y = std::clamp<LONG>(point.y, rcWork.top, std::max(rcWork.top, rcWork.bottom - 10));
  CFrameWnd* pFrame = GetServicesFrame();
  pFrame->CFrameWnd::FloatControlBar(pBar, point, dwStyle);
  auto* pSECBar = dynamic_cast<SECControlBar*>(pBar);
  if (pSECBar == nullptr) return;
  // A bar that sizes in two dimensions gets a frame that can be resized.
  CFrameWnd* pFloating = pBar->GetParentFrame();
  if ((pSECBar->GetExBarStyle() & CBRS_EX_STRETCH_ONE_DIMENSION) == 0 && pFloating != nullptr && pFloating != pFrame)
    pFloating->ModifyStyle(MFS_4THICKFRAME, WS_THICKFRAME | MFS_THICKFRAME, SWP_FRAMECHANGED);
  pSECBar->OnBarFloat();
}

void SECFrameServices::DockControlBarEx(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fShare,
                                        int nLength) {
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr) return;
  CFrameWnd* pFrame = GetServicesFrame();
  if (nDockBarID == 0) {
    for (const auto& [nID, dwAlign] : kDockBars)
      if ((dwAlign & CBRS_ALIGN_ANY) == (pBar->GetBarStyle() & 0xF000)) {
        nDockBarID = nID;
        break;
      }
  }
  auto* pSECBar = dynamic_cast<SECControlBar*>(pBar);
  if (pSECBar != nullptr) pSECBar->m_fPctWidth = fShare;
  DWORD dwMode = LM_VERTDOCK;
  if (nDockBarID == AFX_IDW_DOCKBAR_TOP || nDockBarID == AFX_IDW_DOCKBAR_BOTTOM)
    dwMode = LM_HORZDOCK | LM_HORZ | LM_LENGTHY;
  else if (nDockBarID != AFX_IDW_DOCKBAR_LEFT && nDockBarID != AFX_IDW_DOCKBAR_RIGHT)
    dwMode = LM_MRUWIDTH | LM_HORZ | LM_LENGTHY;
  if (nLength > 0) pBar->CalcDynamicLayout(nLength, LM_COMMIT | dwMode);
  CControlBar* pDock = pFrame->GetControlBar(nDockBarID);
  if (auto* pSECDock = dynamic_cast<SECDockBar*>(pDock)) {
    pSECDock->DockControlBarAt(pBar, nRow, nCol);
    pFrame->RecalcLayout();
  } else {
    pFrame->CFrameWnd::DockControlBar(pBar, pDock != nullptr && pDock->IsDockBar() ? static_cast<CDockBar*>(pDock) : nullptr);
  }
  if (pSECBar != nullptr) pSECBar->OnBarDock();
}

void SECFrameServices::SetDockState(SECDockState& state) { state.SetFrameState(GetServicesFrame()); }

void SECFrameServices::GetDockState(SECDockState& state) { state.GetFrameState(GetServicesFrame()); }

void SECFrameServices::LoadBarState(LPCTSTR lpszProfileName) {
  SECDockState state(m_pControlBarManager);
  state.LoadState(lpszProfileName);
  m_loadedUserToolBars = state.GetUserToolBars();
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr && pThread->m_pMainWnd == nullptr) pThread->m_pMainWnd = GetServicesFrame();
  SetDockState(state);
}

void SECFrameServices::SaveBarState(LPCTSTR lpszProfileName) {
  SECDockState state(m_pControlBarManager);
  if (!state.GetFrameState(GetServicesFrame())) return;
  state.RemoveStalePlaceholders();
  const std::vector<SECUserToolBarKey> own = state.GetUserToolBars();
  {
    // Each instance holds the settings in memory: what another one stored since is read from the
    // disk, and no other instance writes between that reading and this layout's write (a layout
    // kept in a profile file is read from it anew anyway).
    const CWinApp* app = AfxGetApp();
    std::optional<brambolt::RegistryStoredUpdate> update;
    if (app != nullptr && app->m_pszRegistryKey != nullptr) update.emplace(HKEY_CURRENT_USER);
    state.KeepOtherInstancesToolBars(lpszProfileName, m_loadedUserToolBars);
    state.SaveState(lpszProfileName);
  }
  // What this frame saved of its own is its own at a later save too.
  m_loadedUserToolBars.insert(m_loadedUserToolBars.end(), own.begin(), own.end());
}


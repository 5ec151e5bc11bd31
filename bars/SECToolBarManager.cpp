// The toolbar manager: default and user bars, the settings it switches for all bars at once and
// their saved forms, and the docking state's questions about its bars.
#include "bars/SECToolBarManager.h"

#include "bars/CommandBarsRes.h"
#include "bars/SECBmpMgr.h"
#include "bars/SECControlBarInfo.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECCustomToolBarInfoEx.h"
#include "bars/SECFrameWndServices.h"
#include "bars/SECMenuBar.h"
#include "foundation/SECPersistentTreeNode.h"

IMPLEMENT_DYNAMIC(SECToolBarManager, SECControlBarManager)

namespace {
constexpr char kSettingsNode[] = "ToolBarMgr";
constexpr char kToolTips[] = "ToolTips";
constexpr char kCoolLook[] = "CoolLook";
constexpr char kLargeButtons[] = "LargeButtons";

}  // namespace

SECToolBarManager::SECToolBarManager(CFrameWnd* pFrameWnd, CWnd* pOwnerWnd)
    : SECControlBarManager(pFrameWnd),
      m_pCommandOrigin(new SECCommandOrigin),
      m_pBmpMgr(new SECBmpMgr),
      m_pOwnerWnd(pOwnerWnd != nullptr ? pOwnerWnd : pFrameWnd),
      m_pBarClass(RUNTIME_CLASS(SECCustomToolBar)) {}

SECToolBarManager::~SECToolBarManager() {
  // Bars outliving the manager stop asking it.
  for (SECCustomToolBar* pBar : GetToolBars()) {
    if (pBar->m_pManager == this) pBar->m_pManager = nullptr;
  }
  m_pBmpMgr->Release();
  m_pCommandOrigin->Release();
  delete[] m_pBtnMap2;
}

// ---- the frame's bars ----

std::vector<SECCustomToolBar*> SECToolBarManager::GetToolBars() const {
  std::vector<SECCustomToolBar*> bars;
  if (m_pFrameWnd == nullptr) return bars;
  for (POSITION pos = m_pFrameWnd->m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    auto* pBar = static_cast<CControlBar*>(m_pFrameWnd->m_listControlBars.GetNext(pos));
    if (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar)))
      bars.push_back(static_cast<SECCustomToolBar*>(pBar));
  }
  return bars;
}

SECCustomToolBar* SECToolBarManager::FindToolBar(UINT nID) {
  for (SECCustomToolBar* pBar : GetToolBars()) {
    if (pBar->GetSafeHwnd() != nullptr && static_cast<UINT>(pBar->GetDlgCtrlID()) == nID) return pBar;
  }
  return nullptr;
}

DWORD SECToolBarManager::GetDefaultBarStyle() const {
  DWORD dwStyle = m_bFlyBy ? 0x50002824 : 0x50002804;
  if (m_bToolTips) dwStyle |= CBRS_TOOLTIPS;
  return dwStyle;
}

DWORD SECToolBarManager::GetDefaultBarExStyle() const {
  return m_bCoolLook ? CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER : 0;
}

SECCustomToolBar* SECToolBarManager::NewBar() {
  CObject* pObject = m_pBarClass != nullptr ? m_pBarClass->CreateObject() : nullptr;
  auto* pBar = dynamic_cast<SECCustomToolBar*>(pObject);
  if (pBar == nullptr) {
    delete pObject;
    return nullptr;
  }
  pBar->SetOwner(m_pOwnerWnd);
  pBar->m_pManager = this;
  pBar->SetBmpMgr(m_pBmpMgr);
  return pBar;
}

void SECToolBarManager::ApplyBarSizes(SECCustomToolBar* pBar) {
  if (pBar == nullptr) return;
  pBar->RecalcButtonSizes();
}

void SECToolBarManager::DelayFrameLayout() {
  if (m_pFrameWnd != nullptr) m_pFrameWnd->DelayRecalcLayout();
}

void SECToolBarManager::DefineDefaultToolBar(UINT nID, LPCTSTR lpszTitle, int nBtnCount, const UINT* pBtnIDs,
                                             DWORD dwAlignment, UINT nDockBarID, UINT nDockNextToID, BOOL bDocked,
                                             BOOL bVisible) {
  SECDefaultToolBar definition;
  definition.nID = nID;
  definition.strTitle = lpszTitle != nullptr ? lpszTitle : "";
  definition.nBtnCount = nBtnCount;
  definition.pBtnIDs = pBtnIDs;
  definition.dwAlignment = dwAlignment;
  definition.nDockBarID = nDockBarID;
  definition.nDockNextToID = nDockNextToID;
  definition.bDocked = bDocked;
  definition.bVisible = bVisible;
  m_defaultBars.push_back(definition);
}

BOOL SECToolBarManager::GetDefaultButtons(UINT nID, int& nCount, const UINT*& pBtnIDs) const {
  for (const SECDefaultToolBar& definition : m_defaultBars) {
    if (definition.nID != nID) continue;
    nCount = definition.nBtnCount;
    pBtnIDs = definition.pBtnIDs;
    return TRUE;
  }
  return FALSE;
}

BOOL SECToolBarManager::LoadToolBarResource(LPCTSTR lpszResource, LPCTSTR lpszLargeResource) {
  return m_pBmpMgr->LoadToolBarResource(lpszResource, lpszLargeResource);
}

BOOL SECToolBarManager::LoadToolBarResource(UINT nResource, UINT nLargeResource) {
  return m_pBmpMgr->LoadToolBarResource(nResource, nLargeResource);
}

BOOL SECToolBarManager::SetMenuInfo(int nCount, const UINT* pMenuIDs) {
  SECMenuBar* pMenuBar = GetFrameMenuBar();
  if (pMenuBar == nullptr) return FALSE;
  // The menubar keeps what it builds in its manager.
  pMenuBar->m_pManager = this;
  pMenuBar->SetBmpMgr(m_pBmpMgr);
  return pMenuBar->SetMenuInfo(nCount, pMenuIDs);
}

void SECToolBarManager::SetMenuBarButtonIds(int nCount, const UINT* pIDs) {
  m_menuBarIDs.assign(pIDs, pIDs + (pIDs != nullptr && nCount > 0 ? nCount : 0));
}

void SECToolBarManager::GetMenuBarButtonIds(int& nCount, const UINT*& pIDs) const {
  nCount = static_cast<int>(m_menuBarIDs.size());
  pIDs = m_menuBarIDs.empty() ? nullptr : m_menuBarIDs.data();
}

void SECToolBarManager::SetSecondButtonMap(SECBtnMapEntry* pMap) {
  delete[] m_pBtnMap2;
  m_pBtnMap2 = pMap;
}

SECMenuBar* SECToolBarManager::GetFrameMenuBar() const {
  if (m_pMenuBar != nullptr) return m_pMenuBar;
  auto* pServices = dynamic_cast<SECFrameServices*>(m_pFrameWnd);
  return pServices != nullptr ? pServices->GetMenuBar() : nullptr;
}

BOOL SECToolBarManager::CreateDefaultToolBars() {
  CFrameWnd* pFrame = m_pFrameWnd;
  if (pFrame == nullptr) return FALSE;
  const DWORD dwStyle = GetDefaultBarStyle();
  const DWORD dwExStyle = GetDefaultBarExStyle();

  if (SECMenuBar* pMenuBar = GetFrameMenuBar(); pMenuBar != nullptr && pMenuBar->GetSafeHwnd() == nullptr) {
    pMenuBar->m_pManager = this;
    pMenuBar->SetBmpMgr(m_pBmpMgr);
    CString strTitle;
    strTitle.LoadString(IDS_SEC_MENUBAR_TITLE);
    if (pMenuBar->CreateEx(dwExStyle, pFrame, dwStyle, SEC_IDW_MENUBAR, strTitle)) {
      ApplyBarSizes(pMenuBar);
      pMenuBar->SetButtons(m_menuBarIDs.empty() ? nullptr : m_menuBarIDs.data(), static_cast<int>(m_menuBarIDs.size()));
      pMenuBar->EnableDocking(CBRS_ALIGN_ANY);
      pFrame->DockControlBar(pMenuBar, AFX_IDW_DOCKBAR_TOP);
    }
  }

  std::vector<SECCustomToolBar*> made;
  for (const SECDefaultToolBar& definition : m_defaultBars) {
    SECCustomToolBar* pBar = NewBar();
    if (pBar == nullptr) return FALSE;
    if (!pBar->CreateEx(dwExStyle, pFrame, dwStyle, definition.nID, definition.strTitle)) {
      delete pBar;
      return FALSE;
    }
    ApplyBarSizes(pBar);
    pBar->SetButtons(definition.pBtnIDs, definition.nBtnCount);
    pBar->EnableDocking(definition.dwAlignment);
    pBar->m_bAutoDelete = TRUE;
    made.push_back(pBar);
    CWnd* pBeside = nullptr;
    if (definition.nDockNextToID != 0) {
      pFrame->RecalcLayout();
      pBeside = FindToolBar(definition.nDockNextToID);
      if (pBeside == nullptr) pBeside = pFrame->GetControlBar(definition.nDockNextToID);
    }
    if (pBeside != nullptr && pBeside->GetSafeHwnd() != nullptr) {
      CRect rect;
      pBeside->GetWindowRect(&rect);
      const bool horizontalDock =
          definition.nDockBarID == AFX_IDW_DOCKBAR_TOP || definition.nDockBarID == AFX_IDW_DOCKBAR_BOTTOM;
      rect.OffsetRect(horizontalDock ? 1 : 0, horizontalDock ? 0 : 1);
      pFrame->DockControlBar(pBar, definition.nDockBarID, &rect);
    } else {
      // A dock-beside id that names no bar docks without a position.
      pFrame->DockControlBar(pBar, definition.nDockBarID);
    }
  }

  pFrame->RecalcLayout();
  for (size_t i = 0; i < made.size(); ++i) {
    const SECDefaultToolBar& definition = m_defaultBars[i];
    if (!definition.bVisible) pFrame->ShowControlBar(made[i], FALSE, FALSE);
    if (!definition.bDocked && made[i]->m_pDockContext != nullptr) made[i]->m_pDockContext->ToggleDocking();
  }
  return TRUE;
}

SECCustomToolBar* SECToolBarManager::CreateUserToolBar(LPCTSTR lpszName) {
  if (m_pFrameWnd == nullptr) return nullptr;
  const std::vector<SECCustomToolBar*> bars = GetToolBars();
  UINT nID = SEC_IDW_FIRST_USER_TOOLBAR;
  auto taken = [&bars](UINT id) {
    for (const SECCustomToolBar* pBar : bars) {
      if (pBar->GetSafeHwnd() != nullptr && static_cast<UINT>(pBar->GetDlgCtrlID()) == id) return true;
    }
    return false;
  };
  while (nID <= SEC_IDW_LAST_USER_TOOLBAR && taken(nID)) ++nID;
  if (nID > SEC_IDW_LAST_USER_TOOLBAR) return nullptr;

  SECCustomToolBar* pBar = NewBar();
  if (pBar == nullptr) return nullptr;
  CString strTitle;
  if (lpszName != nullptr) {
    strTitle = lpszName;
  } else {
    CString strFormat;
    strFormat.LoadString(IDS_SEC_USER_TOOLBAR_TITLE);
    strTitle.Format(strFormat, static_cast<int>(nID - (SEC_IDW_FIRST_USER_TOOLBAR - 1)));
  }
  if (!pBar->CreateEx(GetDefaultBarExStyle(), m_pFrameWnd, GetDefaultBarStyle(), nID, strTitle)) {
    delete pBar;
    return nullptr;
  }
  ApplyBarSizes(pBar);
  pBar->SetCustomizeMode(m_bCustomize);
  pBar->EnableDocking(CBRS_ALIGN_ANY);
  pBar->m_bAutoDelete = TRUE;
  return pBar;
}

// ---- settings ----

void SECToolBarManager::EnableToolTips(BOOL bEnable) {
  if (m_bToolTips == bEnable) return;
  m_bToolTips = bEnable;
  for (SECCustomToolBar* pBar : GetToolBars()) {
    const DWORD dwStyle = pBar->GetBarStyle();
    pBar->SetBarStyle(bEnable ? dwStyle | CBRS_TOOLTIPS : dwStyle & ~static_cast<DWORD>(CBRS_TOOLTIPS));
  }
}

void SECToolBarManager::EnableCoolLook(BOOL bEnable, DWORD dwBits) {
  if (m_bCoolLook == bEnable) return;
  m_bCoolLook = bEnable;
  for (SECCustomToolBar* pBar : GetToolBars()) {
    const DWORD dwExStyle = pBar->GetExBarStyle();
    pBar->m_dwExStyle = bEnable ? dwExStyle | dwBits : dwExStyle & ~dwBits;
    pBar->m_bMRUPending = pBar->m_bHorzPending = pBar->m_bVertPending = TRUE;
    if ((dwBits & CBRS_EX_THIN_BORDERS) && pBar->GetSafeHwnd() != nullptr) pBar->Invalidate();
  }
  DelayFrameLayout();
}

void SECToolBarManager::EnableLargeButtons(BOOL bEnable) {
  if (m_bLargeButtons == bEnable) return;
  m_bLargeButtons = bEnable;
  ApplyLargeButtons();
}

void SECToolBarManager::ApplyLargeButtons() {
  m_pBmpMgr->SetSmallImages(!m_bLargeButtons);
  const std::vector<SECCustomToolBar*> bars = GetToolBars();
  for (SECCustomToolBar* pBar : bars) {
    ApplyBarSizes(pBar);
    if (pBar->IsFloating()) {
      if (CFrameWnd* pMiniFrame = pBar->GetParentFrame()) pMiniFrame->RecalcLayout();
    }
  }
  if (!bars.empty()) DelayFrameLayout();
}

void SECToolBarManager::AdoptBars() {
  const std::vector<SECCustomToolBar*> bars = GetToolBars();
  for (SECCustomToolBar* pBar : bars) {
    pBar->m_pManager = this;
    pBar->SetBmpMgr(m_pBmpMgr);
    if (pBar->GetSafeHwnd() != nullptr) pBar->Invalidate();
  }
  if (bars.empty()) CreateDefaultToolBars();
}

// ---- saved state ----

BOOL SECToolBarManager::LoadState(SECPersistentTreeNode* pNode) {
  const BOOL bResult = SECControlBarManager::LoadState(pNode);
  SECPersistentTreeNode* pSettings = bResult ? pNode->FindChild(kSettingsNode) : nullptr;
  if (pSettings != nullptr) {
    // A value missing from the node keeps the current setting.
    BOOL bToolTips = m_bToolTips, bCoolLook = m_bCoolLook, bLarge = m_bLargeButtons;
    pSettings->GetKeyValueBool(kToolTips, &bToolTips, m_bToolTips);
    pSettings->GetKeyValueBool(kCoolLook, &bCoolLook, m_bCoolLook);
    pSettings->GetKeyValueBool(kLargeButtons, &bLarge, m_bLargeButtons);
    EnableToolTips(bToolTips);
    EnableCoolLook(bCoolLook, CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER);
    EnableLargeButtons(bLarge);
  } else {
    m_bToolTips = TRUE;
    m_bCoolLook = TRUE;
    m_bLargeButtons = FALSE;
  }
  AdoptBars();
  return bResult;
}

void SECToolBarManager::LoadState(LPCTSTR lpszProfileName) {
  CString strSection;
  strSection.Format("%s-ToolBarManager", lpszProfileName);
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr) {
    EnableToolTips(pApp->GetProfileInt(strSection, kToolTips, m_bToolTips) != 0);
    EnableCoolLook(pApp->GetProfileInt(strSection, kCoolLook, m_bCoolLook) != 0,
                   CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER);
    EnableLargeButtons(pApp->GetProfileInt(strSection, kLargeButtons, m_bLargeButtons) != 0);
  }
  AdoptBars();
}

BOOL SECToolBarManager::SaveState(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode) {
  if (!SECControlBarManager::SaveState(pFactory, pNode)) return FALSE;
  SECPersistentTreeNode* pSettings = pFactory->AddChild(kSettingsNode, pNode);
  if (pSettings == nullptr) return FALSE;
  pSettings->AddKeyValueBool(kToolTips, m_bToolTips, TRUE);
  pSettings->AddKeyValueBool(kCoolLook, m_bCoolLook, TRUE);
  pSettings->AddKeyValueBool(kLargeButtons, m_bLargeButtons, TRUE);
  return TRUE;
}

void SECToolBarManager::SaveState(LPCTSTR lpszProfileName) {
  CString strSection;
  strSection.Format("%s-ToolBarManager", lpszProfileName);
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  pApp->WriteProfileInt(strSection, kToolTips, m_bToolTips);
  pApp->WriteProfileInt(strSection, kCoolLook, m_bCoolLook);
  pApp->WriteProfileInt(strSection, kLargeButtons, m_bLargeButtons);
}

DWORD SECToolBarManager::GetBarTypeID(CControlBar* pBar) {
  if (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(SECMenuBar))) return SEC_BARTYPE_MENUBAR;
  if (pBar != nullptr && pBar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar))) return SEC_BARTYPE_CUSTOMTOOLBAR;
  return SECControlBarManager::GetBarTypeID(pBar);
}

SECControlBarInfoEx* SECToolBarManager::CreateBarInfoEx(SECControlBarInfo* pInfo) {
  if (pInfo != nullptr && (pInfo->m_dwTypeID == SEC_BARTYPE_CUSTOMTOOLBAR || pInfo->m_dwTypeID == SEC_BARTYPE_MENUBAR))
    return new SECCustomToolBarInfoEx;
  return SECControlBarManager::CreateBarInfoEx(pInfo);
}

CControlBar* SECToolBarManager::CreateControlBar(SECControlBarInfo* pInfo) {
  if (pInfo == nullptr || m_pFrameWnd == nullptr) return SECControlBarManager::CreateControlBar(pInfo);
  SECCustomToolBar* pBar = nullptr;
  if (pInfo->m_dwTypeID == SEC_BARTYPE_CUSTOMTOOLBAR) {
    pBar = NewBar();
    if (pBar == nullptr) return nullptr;
    pBar->m_bAutoDelete = TRUE;
  } else if (pInfo->m_dwTypeID == SEC_BARTYPE_MENUBAR) {
    pBar = GetFrameMenuBar();
    if (pBar == nullptr) return nullptr;
    pBar->m_pManager = this;
    pBar->SetBmpMgr(m_pBmpMgr);
  } else {
    return SECControlBarManager::CreateControlBar(pInfo);
  }
  if (!pBar->CreateEx(GetDefaultBarExStyle(), m_pFrameWnd, GetDefaultBarStyle(), pInfo->m_nBarID, nullptr)) {
    if (pInfo->m_dwTypeID == SEC_BARTYPE_CUSTOMTOOLBAR) delete pBar;
    return nullptr;
  }
  ApplyBarSizes(pBar);
  pBar->EnableDocking(CBRS_ALIGN_ANY);
  return pBar;
}

// ---- notifications and commands ----

void SECToolBarManager::AddNotifyWindow(CWnd* pWnd) {
  if (pWnd != nullptr && std::find(m_notifyWnds.begin(), m_notifyWnds.end(), pWnd) == m_notifyWnds.end())
    m_notifyWnds.push_back(pWnd);
}

void SECToolBarManager::RemoveNotifyWindow(CWnd* pWnd) {
  m_notifyWnds.erase(std::remove(m_notifyWnds.begin(), m_notifyWnds.end(), pWnd), m_notifyWnds.end());
}

void SECToolBarManager::BroadcastBarNotify(UINT nBarID, int nCode) {
  // A window may leave the list while it is told: work on a copy.
  const std::vector<CWnd*> windows = m_notifyWnds;
  for (CWnd* pWnd : windows) {
    if (std::find(m_notifyWnds.begin(), m_notifyWnds.end(), pWnd) == m_notifyWnds.end()) continue;
    if (pWnd->GetSafeHwnd() != nullptr && ::IsWindow(pWnd->GetSafeHwnd()))
      pWnd->SendMessage(wmSECBarNotify, nBarID, static_cast<LPARAM>(nCode));
  }
}

void SECToolBarManager::SetCommandCheckAll(UINT nID, int nCode, const SECBtnStyleChange& change) {
  for (SECCustomToolBar* pBar : GetToolBars()) pBar->SetCommandCheck(nID, nCode, change, FALSE);
}

SECCommandOrigin* SECToolBarManager::GetCommandOrigin() {
  m_pCommandOrigin->AddRef();
  return m_pCommandOrigin;
}

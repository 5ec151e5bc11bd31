// The toolkit's MDI document frame: loading with the template's menu and accelerators, and the
// menubar menu switched as the child is activated.
#include "bars/SECMDIChildWnd.h"

#include "bars/SECFrameWndServices.h"
#include "bars/SECMDIFrameWnd.h"

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
  if (nType == SIZE_RESTORED || nType == SIZE_MINIMIZED || nType == SIZE_MAXIMIZED) {
    SECMDIFrameWnd* pMain = GetToolkitFrame();
    if (pMain != nullptr && pMain->HasMenuBar()) pMain->HideMenuBarChildButtons();
  }
  CMDIChildWnd::OnSize(nType, cx, cy);
}

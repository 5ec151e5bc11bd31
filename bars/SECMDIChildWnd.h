// SECMDIChildWnd: the toolkit's MDI document frame: it takes its menu and accelerators from its
// document template, tells a menubar main frame which menu to show, and gives the activation
// back to the MDI children when a floating frame had it.
#pragma once

#include "afx/afx.h"

class SECMDIFrameWnd;

class SECMDIChildWnd : public CMDIChildWnd {
  DECLARE_DYNCREATE(SECMDIChildWnd)

 public:
  SECMDIChildWnd() = default;

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) override;
  // Re-runs the update as the active child with the alternate menu saved last time.
  void OnUpdateFrameMenu(HMENU hMenuAlt) override;

  UINT m_nMenuBarMenuId = 0;
  BOOL m_bMenuBarMode = FALSE;
  HMENU m_hMenuAltSaved = nullptr;

 protected:
  // The main frame when it is a toolkit MDI frame.
  SECMDIFrameWnd* GetToolkitFrame();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnChildActivate();
  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};

// SECFrameWnd: the toolkit's SDI frame: the framework's frame with the gradient caption, the menu
// and workspace plug-ins seeing messages and commands first, the toolbar manager and menubar,
// and the registered "WM_SECGETMENU".
#pragma once

#include "afx/afx.h"
#include "bars/SECFrameWndServices.h"

class SECFrameWnd : public CFrameWnd, public SECFrameServices {
  DECLARE_DYNCREATE(SECFrameWnd)

 public:
  SECFrameWnd();
  ~SECFrameWnd() override;

  // A hook: the MDI frame calls it on a floating frame that becomes or stops being active.
  virtual void OnUpdateFrameMenu(BOOL /*bActive*/, CWnd* /*pActivateWnd*/, HMENU /*hMenuAlt*/) {}
  using CFrameWnd::OnUpdateFrameMenu;

  // The toolkit's docking in place of the framework frame's.
  using SECFrameServices::EnableDocking;
  using SECFrameServices::FloatControlBar;
  using SECFrameServices::GetDockState;
  using SECFrameServices::LoadBarState;
  using SECFrameServices::SaveBarState;
  using SECFrameServices::SetDockState;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  HelpModeAnswer OnHelpModeMessage(const MSG& msg, DWORD_PTR& context) override {
    return OnMenuBarHelpClick(msg, context);
  }
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;
  void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

 protected:
  CFrameWnd* GetServicesFrame() override { return this; }

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnWorkspaceCommand(UINT nID);
  afx_msg void OnUpdateWorkspaceCommand(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()
};

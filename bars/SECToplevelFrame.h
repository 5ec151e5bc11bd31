// SECToplevelFrame: a main frame of which several peers can be open; each is the application's
// main window while it is active, and closing one of several leaves the application running.
#pragma once

#include "afx/afx.h"
#include "bars/SECFrameWnd.h"

class SECToplevelFrame : public SECFrameWnd {
  DECLARE_DYNCREATE(SECToplevelFrame)

 public:
  SECToplevelFrame() = default;

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

  // Every live top-level frame, in creation order.
  static CObList& GetFrameList();

 protected:
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnClose();
  afx_msg void OnNcDestroy();
  afx_msg void OnWindowNew();
  DECLARE_MESSAGE_MAP()
};

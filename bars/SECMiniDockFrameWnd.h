// SECMiniDockFrameWnd: the floating frame of toolkit bars, holding a floating SECDockBar in place
// of the framework's, sized to its bars.
#pragma once

#include "afx/afx.h"
#include "bars/SECDockBar.h"

class SECMiniDockFrameWnd : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(SECMiniDockFrameWnd)

 public:
  SECMiniDockFrameWnd();
  ~SECMiniDockFrameWnd() override;

  BOOL Create(CWnd* pParent, DWORD dwBarStyle) override;
  CDockBar* GetDockBar() override { return &m_wndSECDockBar; }
  void RecalcLayout(BOOL bNotify = TRUE) override;
  // Sizes the frame to its bars and places it at (x, y) (screen).
  virtual void RecalcLayoutAt(int x, int y);

  SECDockBar m_wndSECDockBar;
  BOOL m_bInLayout = FALSE;

 protected:
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  DECLARE_MESSAGE_MAP()
};

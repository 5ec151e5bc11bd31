// Mini frames: CMiniFrameWnd, a popup frame with a small caption (the MFS_ styles choose its
// sizing edges, moving, system menu and caption activation), and CMiniDockFrameWnd, the
// floating frame of control bars with its own dock bar.
#pragma once

#include "afx/CControlBar.h"

class CMiniFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMiniFrameWnd)

 public:
  CMiniFrameWnd();
  ~CMiniFrameWnd() override;

  BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
              CWnd* pParentWnd = nullptr, UINT nID = 0);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = nullptr, UINT nID = 0);
  // Grows a client rectangle (screen) to the window rectangle of a mini frame of that style.
  static void CalcBorders(LPRECT lpClientRect, DWORD dwStyle = WS_THICKFRAME | WS_CAPTION, DWORD dwExStyle = 0);
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  BOOL m_bSysMenu = FALSE;
  BOOL m_bActive = FALSE;  // the caption's state (MFS_SYNCACTIVE follows the owner)

 protected:
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* pMMI);
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
  DECLARE_DYNCREATE(CMiniDockFrameWnd)

 public:
  CMiniDockFrameWnd();
  ~CMiniDockFrameWnd() override;

  // A floating frame owned by pParent for bars of style dwBarStyle.
  virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
  // Sizes the frame to its bars and takes the dock bar's title.
  void RecalcLayout(BOOL bNotify = TRUE) override;
  // The first bar docked in the frame.
  CControlBar* GetFirstBar();
  // The dock bar that holds the floating bars (a derived frame may embed its own kind).
  virtual CDockBar* GetDockBar() { return &m_wndDockBar; }

  CDockBar m_wndDockBar;

 protected:
  afx_msg void OnClose();
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};

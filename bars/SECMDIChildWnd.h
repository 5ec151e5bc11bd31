// SECMDIChildWnd: the toolkit's MDI document frame: it takes its menu and accelerators from its
// document template, tells a menubar main frame which menu to show, and gives the activation
// back to the MDI children when a floating frame had it. SECControlBarMDIChildWnd: an MDI child
// that holds a control bar floating in the main window.
#pragma once

#include "afx/afx.h"
#include "bars/SECDockBar.h"

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

// What an MDI child that holds control bars does, shared by SECControlBarMDIChildWnd and the
// workbook's SECControlBarWorksheet: the embedded dock bar, the caption from it, the bar's
// floating size and place following the child, and closing that hides the bar.
class SECBarChildSupport {
 public:
  explicit SECBarChildSupport(CMDIChildWnd* pChild) : m_pChild(pChild), m_wndDockBar(TRUE, TRUE) {}

  SECDockBar& GetDockBar() { return m_wndDockBar; }
  // The first bar the dock bar holds; NULL when none.
  CControlBar* GetFirstBar() const;
  BOOL IsMultiBar() const { return (m_wndDockBar.GetBarStyle() & CBRS_FLOAT_MULTI) != 0; }

  BOOL CreateDockBar();
  // After the child's layout: its caption is the dock bar's text, and a maximised child's bar
  // fills it.
  void AfterLayout();
  void OnSize(int cx, int cy);
  // The window size a child opened maximised takes when it is first restored: opened so, it never
  // had a size of its own.
  void SetRestoredSize(CSize size) { m_sizeRestored = size; }
  // Before the child's WM_SIZE: restored the first time, the child takes that size. TRUE when it
  // was sized again (the size given is then stale).
  BOOL BeforeSize(UINT nType);
  void OnWindowPosChanged();
  // TRUE when the close was turned into hiding the bar.
  BOOL OnClose();
  // The child's next show is one the user asked for (its bar shown or floated in the main
  // window): it then comes to the front as the active one, as behind a maximised document it
  // would not be seen. Any other show (the frame giving its bars back after a print preview or
  // full screen) leaves the active window and the keyboard where they are.
  void ActivateWhenShown() { m_bActivateWhenShown = TRUE; }
  void AfterShowWindow(BOOL bShow);
  // The support of a child that holds control bars, NULL for any other window.
  static SECBarChildSupport* Of(CWnd* pWnd);

  BOOL m_bInLayout = FALSE;

 private:
  // The bar's remembered floating size becomes the child's client size (cx, cy).
  static void FitBarToChild(CControlBar* pBar, int cx, int cy);

  BOOL m_bFitting = FALSE;
  BOOL m_bActivateWhenShown = FALSE;
  CSize m_sizeRestored{0, 0};
  CMDIChildWnd* m_pChild;
  SECDockBar m_wndDockBar;
};

class SECControlBarMDIChildWnd : public SECMDIChildWnd {
  DECLARE_DYNCREATE(SECControlBarMDIChildWnd)

 public:
  SECControlBarMDIChildWnd() : m_support(this) {}

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  SECDockBar& GetDockBar() { return m_support.GetDockBar(); }
  SECBarChildSupport& GetSupport() { return m_support; }

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpWndPos);
  afx_msg void OnClose();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  DECLARE_MESSAGE_MAP()

  SECBarChildSupport m_support;
};

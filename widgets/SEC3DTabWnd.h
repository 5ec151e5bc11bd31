// SEC3DTabWnd: a tabbed window with 3-D tabs along one side inside a sunken 3-D frame.
#pragma once

#include "widgets/SEC3DTabControl.h"
#include "widgets/SECTabWndBase.h"

// Sent to the window with the key message as lParam: a derived window answering nonzero takes
// Ctrl+Tab, Ctrl+Page Up and Ctrl+Page Down for itself.
#define WM_SEC3DTAB_CTRLKEY 0x0475

class SEC3DTabWnd : public SECTabWndBase {
  DECLARE_DYNCREATE(SEC3DTabWnd)

 public:
  SEC3DTabWnd() = default;

  using SECTabWndBase::Create;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | TWS_TABS_ON_BOTTOM,
              UINT nID = AFX_IDW_PANE_FIRST) override;
  BOOL CreateTabCtrl(DWORD dwStyle, UINT nID) override;
  void GetInsideRect(RECT* pRect) override;
  void RecalcLayout() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  BOOL SetFontActiveTab(CFont* pFont, BOOL bRedraw = TRUE);
  BOOL SetFontInactiveTab(CFont* pFont, BOOL bRedraw = TRUE);
  SEC3DTabControl* Get3DTabControl() const { return static_cast<SEC3DTabControl*>(m_pTabCtrl); }

  int m_nStripHeight = 30;
  int m_nStripWidth = 30;
  DWORD m_dwTabStyle = 0;

 protected:
  DWORD TabPosition() const;
  BOOL SetTabFont(CFont* pFont, int nWhich, BOOL bRedraw);
  // Tab navigation while the focus is inside the shown client; TRUE when it moved the focus.
  BOOL NavigateFromClient(MSG* pMsg, BOOL bBackwards);
  // Activates the next enabled tab (the previous one when bBackwards), wrapping at the ends; the
  // tab control keeps the focus when it had it, else the new client takes it. FALSE when there is
  // no other enabled tab.
  BOOL TurnTab(BOOL bBackwards);

  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnTabSelect(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  DECLARE_MESSAGE_MAP()
};

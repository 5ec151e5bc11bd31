// SECTabWndBase: a window that holds several client windows in one place and a tab control that
// switches between them; exactly one client is shown, the one whose tab is active.
#pragma once

#include "widgets/SECTabControlBase.h"

// Control id of the tab control inside a tabbed window.
#define SEC_IDW_TABCTRL 59952
// Clients created from a run-time class with id -1 get this id plus the tab count.
#define SEC_IDW_TABCLIENT_FIRST 0xEB00

class SECTabWndBase : public CWnd {
  DECLARE_DYNAMIC(SECTabWndBase)

 public:
  SECTabWndBase() = default;
  ~SECTabWndBase() override;

  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, CCreateContext* pContext = nullptr) override;
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = AFX_IDW_PANE_FIRST);
  virtual BOOL CreateScrollBar(DWORD dwStyle, UINT nID);
  virtual BOOL CreateTabCtrl(DWORD dwStyle, UINT nID) = 0;
  virtual SECTab* InsertTab(CRuntimeClass* pViewClass, int nIndex, LPCTSTR lpszLabel,
                            CCreateContext* pContext = nullptr, UINT nID = static_cast<UINT>(-1));
  virtual SECTab* InsertTab(CWnd* pWnd, int nIndex, LPCTSTR lpszLabel);
  virtual SECTab* AddTab(CRuntimeClass* pViewClass, LPCTSTR lpszLabel, CCreateContext* pContext = nullptr,
                         UINT nID = static_cast<UINT>(-1));
  virtual SECTab* AddTab(CWnd* pWnd, LPCTSTR lpszLabel);
  virtual void SetTabIcon(int nIndex, LPCTSTR lpszResource, int cx = 16, int cy = 16);
  virtual void SetTabIcon(int nIndex, UINT nIDResource, int cx = 16, int cy = 16);
  virtual BOOL SetTabIcon(int nIndex, HICON hIcon);
  virtual BOOL OnTabAdded(int nIndex, DWORD dwScrollStyle);
  virtual void DeleteTab(int nIndex);
  virtual void DeleteTab(CWnd* pWnd);
  virtual void RenameTab(int nIndex, LPCTSTR lpszLabel);
  virtual void RenameTab(CWnd* pWnd, LPCTSTR lpszLabel);
  virtual void ActivateTab(int nIndex);
  virtual void ActivateTab(CWnd* pWnd);
  virtual void ActivateTab(CWnd* pWnd, int nIndex);
  virtual void ClearSelection();
  virtual void ScrollToTab(int nIndex);
  virtual void ScrollToTab(CWnd* pWnd);
  virtual void ReActivate();
  virtual void SetNotifyWnd(CWnd* pWnd) { m_pNotifyWnd = pWnd != nullptr ? pWnd : GetParent(); }
  virtual void GetInsideRect(RECT* pRect);
  virtual void RecalcLayout() {}

  SECTabControlBase* GetTabControl() const { return m_pTabCtrl; }
  CWnd* GetActiveWnd() const { return m_pActiveWnd; }
  int GetTabCount() const { return m_pTabCtrl != nullptr ? m_pTabCtrl->GetTabCount() : 0; }

  SECTabControlBase* m_pTabCtrl = nullptr;
  CWnd* m_pActiveWnd = nullptr;
  CWnd* m_pCreatingWnd = nullptr;
  CWnd* m_pNotifyWnd = nullptr;

 protected:
  // Makes a client from a run-time class; null when the object or its window cannot be made.
  CWnd* CreateClient(CRuntimeClass* pViewClass, CCreateContext* pContext, UINT nID);
  // The tab index of a client, -1 when it has no tab.
  int IndexOf(CWnd* pWnd) const;
  CWnd* ClientOf(int nIndex) const;
  // A view client becomes its frame's active view; any other client gets the focus.
  void FocusClient(CWnd* pWnd);

  afx_msg void OnDestroy();
  afx_msg void OnChildActivate();
  afx_msg LRESULT OnTabSelect(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTabReActivate(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

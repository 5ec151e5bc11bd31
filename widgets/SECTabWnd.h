// SECTabWnd: a tabbed window whose bottom row holds 2-D tabs, a splitter box and a horizontal
// scroll bar shared by the clients, with a shared vertical scroll bar; the scroll state is kept
// per tab. SEC2DTabWnd is the same window under its other name.
#pragma once

#include "widgets/SECTabControl.h"
#include "widgets/SECTabWndBase.h"

#define SEC_IDW_HSCROLL_FIRST 60416  // 0xEC00
#define SEC_IDW_VSCROLL_FIRST 60671  // 0xECFF

class SECTabWnd : public SECTabWndBase {
  DECLARE_DYNCREATE(SECTabWnd)

 public:
  SECTabWnd() = default;
  ~SECTabWnd() override;

  using SECTabWndBase::ActivateTab;
  using SECTabWndBase::Create;
  using SECTabWndBase::DeleteTab;
  using SECTabWndBase::InsertTab;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = AFX_IDW_PANE_FIRST) override;
  BOOL CreateTabCtrl(DWORD dwStyle, UINT nID) override;
  SECTab* InsertTab(CWnd* pWnd, int nIndex, LPCTSTR lpszLabel) override;
  BOOL OnTabAdded(int nIndex, DWORD dwScrollStyle) override;
  void DeleteTab(int nIndex) override;
  void ActivateTab(CWnd* pWnd, int nIndex) override;
  void GetInsideRect(RECT* pRect) override;
  void RecalcLayout() override;

  // The shared bar (nBar 0 horizontal, 1 vertical) when pWnd (null: the shown client) uses it.
  CScrollBar* GetScrollBar(int nBar, const CWnd* pWnd = nullptr) const;
  // The splitter box's rectangle in the bottom row.
  CRect GetSplitterRect() const;

  int m_nSplitterPos = 0;
  int m_cyHScroll = 0;
  int m_cxVScroll = 0;
  int m_cyHScrollBar = 0;
  int m_cxSplitter = 5;
  int m_nDragOffset = 0;
  BOOL m_bTracking = FALSE;
  BOOL m_bOverSplitter = FALSE;
  BOOL m_bFirstSize = TRUE;
  HCURSOR m_hSplitCursor = nullptr;
  HCURSOR m_hArrowCursor = nullptr;
  DWORD m_dwTabStyle = 0;
  CPtrArray m_arrHScrollInfo;
  CPtrArray m_arrVScrollInfo;
  CDWordArray m_arrScrollStyle;

 protected:
  static SCROLLINFO* NewScrollInfo();
  void RemoveScrollSlots(int nIndex);
  // The client's bars are ours: their states go to the client's slots before another is shown.
  void SaveScrollState(int nIndex);
  void RestoreScrollState(CWnd* pWnd, int nIndex);
  BOOL ClientUses(const CWnd* pWnd, DWORD dwBar) const;

  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg LRESULT OnTabSelect(WPARAM wParam, LPARAM lParam);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  DECLARE_MESSAGE_MAP()
};

class SEC2DTabWnd : public SECTabWnd {
  DECLARE_DYNCREATE(SEC2DTabWnd)
};

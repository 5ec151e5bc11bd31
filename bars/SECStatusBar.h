// SECStatusBar: the toolkit's status bar, a control bar over the status-bar control whose panes
// follow the framework's status bar (indicators, pane styles and texts, command-UI updates, the
// window text going to the first separator pane); SECStatusCmdUI updates one pane.
#pragma once

#include <vector>

#include "afx/afx.h"
#include "bars/SECControlBar.h"

class SECStatusBar : public SECControlBar {
  DECLARE_DYNAMIC(SECStatusBar)

 public:
  SECStatusBar();
  ~SECStatusBar() override;

  using SECControlBar::Create;
  using SECControlBar::CreateEx;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
  // dwCtrlStyle: styles of the status-bar control (SBARS_SIZEGRIP is added for a sizable parent).
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  // One pane per id: its text the string of that id (empty when missing) and its width the
  // text's; id 0 makes a pane of a quarter screen width, the first one borderless and stretching.
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  // Pane indexes outside the table are refused (FALSE, or empty results).
  BOOL GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  BOOL SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  BOOL SetPaneStyle(int nIndex, UINT nStyle);
  BOOL GetPaneText(int nIndex, CString& rString) const;
  CString GetPaneText(int nIndex) const;
  BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
  int GetPaneCount() const { return static_cast<int>(m_panes.size()); }
  // Lays the panes out (bUpdateRects) and sends the texts marked changed (bUpdateText).
  void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bGripper) const override;
  using SECControlBar::CalcInsideRect;
  void DoPaint(CDC*) override {}
  // Paints an owner-drawn pane; the base draws nothing.
  virtual void DrawItem(LPDRAWITEMSTRUCT /*lpDrawItemStruct*/) {}

  int m_nMinHeight = 0;

 protected:
  AFX_STATUSPANE* PanePtr(int nIndex) const;

  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  std::vector<AFX_STATUSPANE> m_panes;
  // Whether the panes' command UI ran before the first paint.
  bool m_bPanesUpdated = false;
};

// The update of one pane: Enable shows or hides its text, SetCheck raises it, SetText sets it.
class SECStatusCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn = TRUE) override;
  void SetCheck(int nCheck = 1) override;
  void SetText(LPCTSTR lpszText) override;
};

// SECCustomStatusBar: a status bar whose panes may show a cursor of their own, and which lays
// its parent out again when its font or minimum height changes.
class SECCustomStatusBar : public SECStatusBar {
  DECLARE_DYNAMIC(SECCustomStatusBar)

 public:
  // The pane's own cursor is shown over it.
  static constexpr DWORD kShowCursor = 0x100;
  struct PaneRecord {
    HCURSOR hCursor = nullptr;
    DWORD dwFlags = 0;
  };

  // The first pane whose rectangle holds the point (client coordinates); -1 when none.
  int PaneFromPoint(CPoint point) const;
  // The parent lays its bars out again with its current size.
  void ResizeParent();
  // The pane's cursor, shown over it while kShowCursor is set; FALSE for an index outside.
  BOOL SetPaneCursor(int nIndex, HCURSOR hCursor, DWORD dwFlags = kShowCursor);
  PaneRecord GetPaneRecord(int nIndex) const;

 protected:
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMinHeightCustom(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  std::vector<PaneRecord> m_records;
};

// SECWorkbook: an MDI frame that can show a strip of tabs below its MDI client, one per child
// frame (worksheet), like a spreadsheet's sheet tabs; SECWorkbookClient subclasses the MDI
// client to leave that strip free.
#pragma once

#include "afx/afx.h"
#include "bars/SECMDIFrameWnd.h"

class SECWorksheet;

// Sent by the MDI client to the workbook when the active sheet may have changed; sent by a
// worksheet to the MDI client to have the workbook redraw its tab.
constexpr UINT WM_SECWB_ACTIVESHEETCHANGED = 0x84D;
constexpr UINT WM_SECWB_REDRAWTABS = 0x84E;

// The last mode given to SECWorkbook::SetWorkbookMode, for the dock bars.
BOOL SECGetWorkbookMode();

// The label shortened by whole characters until it fits nWidth in the DC's font: it keeps as
// many characters as fit before "...".
CString SECShortenTabLabel(CDC* pDC, const CString& strLabel, int nWidth);

class SECWorkbookClient : public CWnd {
  DECLARE_DYNAMIC(SECWorkbookClient)

 public:
  void SetMargins(int nLeft, int nRight, int nTop, int nBottom);
  void GetMargins(int& nLeft, int& nRight, int& nTop, int& nBottom) const;
  void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  int m_nLeftMargin = 0;
  int m_nTopMargin = 0;
  int m_nRightMargin = 0;
  int m_nBottomMargin = 0;
};

class SECWorkbook : public SECMDIFrameWnd {
  DECLARE_DYNCREATE(SECWorkbook)

 public:
  SECWorkbook();
  ~SECWorkbook() override;

  virtual void GetTabStripRect(CRect& rect);
  virtual BOOL CanActivateSheet(SECWorksheet* /*pSheet*/) { return TRUE; }
  virtual void AddSheet(SECWorksheet* pSheet);
  virtual void RemoveSheet(SECWorksheet* pSheet);
  virtual BOOL TabLabelFits(SECWorksheet* pSheet);
  // The tab polygon of the sheet, 7 points in a new array the caller frees with delete[].
  virtual void GetTabPoints(SECWorksheet* pSheet, LPPOINT& lpPoints, int& nCount);
  virtual CString GetSheetLabel(SECWorksheet* pSheet);
  virtual BOOL GetTabLabelRect(const POINT* lpPoints, int nIconWidth, CRect& rect);
  virtual void DrawTab(CDC* pDC, SECWorksheet* pSheet);
  virtual void DrawStripBorder(CDC* pDC);
  virtual void DrawTabLabel(CDC* pDC, SECWorksheet* pSheet);
  virtual HICON GetSheetIcon(SECWorksheet* pSheet);
  virtual BOOL SetSheetIcon(SECWorksheet* pSheet, HICON hIcon, BOOL bRedraw = TRUE);

  void SetWorkbookMode(BOOL bOn = TRUE);
  BOOL GetWorkbookMode() const { return m_bWorkbookMode; }
  void SetShowIcons(BOOL bShow) { m_bShowIcons = bShow; }
  int GetSheetCount() const { return static_cast<int>(m_worksheets.GetSize()); }
  SECWorksheet* GetSheet(int nIndex) const;
  int GetTabWidth() const { return m_nTabWidth; }
  // The band of the frame's client area that one tab's repaint covers (to the strip's end when
  // bToEnd).
  CRect GetTabInvalidRect(SECWorksheet* pSheet, BOOL bToEnd);
  void InvalidateTab(SECWorksheet* pSheet, BOOL bToEnd = FALSE);
  void InvalidateAllTabs();

  // The frame paints only its strip: its bars and client are never painted over.
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) override;
  // A worksheet child for the bar, which takes the bar's large icon when it has one.
  CMDIChildWnd* CreateControlBarMDIChild(DWORD dwStyle, CControlBar* pBar) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

 protected:
  // The MDI client's window rectangle in frame client coordinates.
  CRect ClientInFrame() const;
  // The sheet's place among the visible sheets.
  int TabSlot(SECWorksheet* pSheet) const;
  int CalcTabWidth() const;
  BOOL IsSheetActive(SECWorksheet* pSheet);
  static BOOL IsSheetVisible(SECWorksheet* pSheet);
  // The first visible sheet whose tab holds the point; bSkipActive leaves the active one out.
  SECWorksheet* SheetFromPoint(CPoint point, BOOL bSkipActive);

  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnActiveSheetChanged(WPARAM wParam, LPARAM lParam);
  afx_msg void OnToggleWorkbookMode();
  afx_msg void OnUpdateToggleWorkbookMode(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 public:
  CObArray m_worksheets;
  BOOL m_bWorkbookMode = FALSE;
  BOOL m_bShowIcons = TRUE;
  CFont m_fontTab;
  SECWorkbookClient* m_pClient = nullptr;
  CPen m_penWhite, m_penBlack, m_penShadow, m_penFace;
  int m_nTabWidth = 100;
  int m_nTabHeight = 20;
  int m_nSlant = 15;
  int m_nActiveWidening = 2;
  int m_nActiveDeepening = 0;
  int m_nMaxTabWidth = 100;
  CRect m_rcLastLayout;
  BOOL m_bEraseStrip = FALSE;
  int m_nLastActive = 0;
  CToolTipCtrl* m_pToolTip = nullptr;
  CRect m_rcLastMDIClient;
};

// The toggle command of the workbook mode ("&Workbook Mode").
constexpr UINT ID_SECWB_TOGGLE_MODE = 32791;

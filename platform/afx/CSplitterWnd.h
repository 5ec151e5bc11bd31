// CSplitterWnd: panes in rows and columns with splitter bars between them that the mouse drags; a
// static splitter has a fixed grid, a dynamic one splits and joins with split boxes and shares
// one scroll bar per column and per row among its views.
#pragma once

#include <vector>

#include "afx/AfxControls.h"
#include "afx/CView.h"

#define SPLS_DYNAMIC_SPLIT 0x0001L
#define SPLS_INVERT_TRACKER 0x0002L

class CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)

 public:
  enum ESplitType { splitBox, splitBar, splitIntersection, splitBorder };

  CSplitterWnd();
  ~CSplitterWnd() override;

  // A dynamic splitter with one pane of the context's view class, split later by the user into at
  // most nMaxRows x nMaxCols (2 x 2) panes no smaller than sizeMin.
  using CWnd::Create;
  BOOL Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin, CCreateContext* pContext,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT,
              UINT nID = AFX_IDW_PANE_FIRST);
  // A static splitter of nRows x nCols (at most 16 each); each pane is made with CreateView.
  BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                    UINT nID = AFX_IDW_PANE_FIRST);
  virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);

  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  void GetRowInfo(int row, int& cyCur, int& cyMin) const;
  void SetRowInfo(int row, int cyIdeal, int cyMin);
  void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
  void SetColumnInfo(int col, int cxIdeal, int cxMin);
  DWORD GetScrollStyle() const;
  void SetScrollStyle(DWORD dwStyle);
  CWnd* GetPane(int row, int col) const;
  BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol);
  int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }

  // Places the panes, bars and scroll bars after the sizes changed.
  virtual void RecalcLayout();
  virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);
  virtual void OnInvertTracker(const CRect& rect);
  virtual BOOL CreateScrollBarCtrl(DWORD dwStyle, UINT nID);
  virtual void DeleteView(int row, int col);
  // Dynamic splitters: a new row (column) below (right of) cyBefore pixels; removing one.
  virtual BOOL SplitRow(int cyBefore);
  virtual BOOL SplitColumn(int cxBefore);
  virtual void DeleteRow(int rowDelete);
  virtual void DeleteColumn(int colDelete);
  // The pane that is its frame's active view (or has the focus), with its place.
  virtual CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
  virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);
  virtual BOOL CanActivateNext(BOOL bPrev = FALSE);
  virtual void ActivateNext(BOOL bPrev = FALSE);
  // Scrolls the views that share a bar with pViewFrom (its column for horizontal, its row for vertical).
  virtual BOOL DoScroll(CView* pViewFrom, UINT nScrollCode, BOOL bDoScroll = TRUE);
  // The Split command from the keyboard: the splitter bars (or, before a split, the split boxes)
  // follow the arrow keys from the middle of the window; Enter splits or sizes, Escape leaves.
  // FALSE when the window cannot split.
  virtual BOOL DoKeyboardSplit();
  virtual BOOL DoScrollBy(CView* pViewFrom, CSize sizeScroll, BOOL bDoScroll = TRUE);

  // Hit codes of the splitter's own parts.
  enum HitTestValue {
    noHit = 0,
    vSplitterBox = 1,
    hSplitterBox = 2,
    bothSplitterBox = 3,
    vSplitterBar1 = 101,
    hSplitterBar1 = 201,
    splitterIntersection1 = 301,
  };
  int HitTest(CPoint pt) const;

  struct CRowColInfo {
    int nMinSize = 0;    // below this the pane is not shown
    int nIdealSize = 0;  // what the user or the program asked for
    int nCurSize = 0;    // what the layout gave (0: hidden)
  };

 protected:
  BOOL CreateCommon(CWnd* pParentWnd, SIZE sizeMin, DWORD dwStyle, UINT nID);
  void GetInsideRect(CRect& rect) const;
  void GetHitRect(int ht, CRect& rect) const;
  void StartTracking(int ht);
  void StopTracking(BOOL bAccept);
  void TrackRowSize(int y, int row);
  void TrackColumnSize(int x, int col);
  void DrawAllSplitBars(CDC* pDC, int cxInside, int cyInside);
  void SetSplitCursor(int ht);

  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnCancelMode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnNextPaneCmd(UINT nID);
  afx_msg void OnUpdateNextPaneMenu(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  CRuntimeClass* m_pDynamicViewClass = nullptr;
  int m_nMaxRows = 1, m_nMaxCols = 1;
  int m_nRows = 0, m_nCols = 0;
  // Sizes of the parts: a bar between panes, the gap it takes with the panes' borders, the border.
  int m_cxSplitter = 7, m_cySplitter = 7;
  int m_cxSplitterGap = 7, m_cySplitterGap = 7;
  int m_cxBorder = 2, m_cyBorder = 2;
  BOOL m_bHasHScroll = FALSE, m_bHasVScroll = FALSE;
  std::vector<CRowColInfo> m_pColInfo;
  std::vector<CRowColInfo> m_pRowInfo;

  // Tracking a bar, a box or an intersection (two trackers).
  BOOL m_bTracking = FALSE, m_bTracking2 = FALSE;
  CPoint m_ptKeyboard;  // where a keyboard split has moved the trackers to
  CPoint m_ptTrackOffset;
  CRect m_rectLimit;
  CRect m_rectTracker, m_rectTracker2;
  int m_htTrack = noHit;
};

// SECDockBar: the toolkit's dock bar. Bars of a row share its length by proportion, with
// splitters between bars and between rows that the user drags, a client edge along each row,
// insertion at the row and place under a drop point, expanding and evening out a row, and one
// deferred repaint per layout. SECEnableDocking installs these dock bars in any frame.
#pragma once

#include <memory>
#include <vector>

#include "afx/afx.h"
#include "bars/SECBarStyles.h"

class SECControlBar;
class SECDockContext;

class SECDockBar : public CDockBar {
  DECLARE_DYNAMIC(SECDockBar)

 public:
  // A splitter between two bars of a row (in-row) or between a row and the client area.
  class Splitter : public CObject {
   public:
    int m_nOrientation = 0;  // 1: a vertical line, moved along x; 0: a horizontal line
    int m_bInRow = 0;
    CRect m_rect;
    int m_nIndex = 0;  // the bar before it (in-row), or the first entry of its row
    BOOL m_bUsed = TRUE;
    int m_nLower = 0;  // tracking limits of the splitter's leading edge
    int m_nUpper = 0;
    CRect m_rectDrag;
    CSize m_sizeDrag{0, 0};
    BOOL m_bErase = FALSE;
    BOOL m_bFinished = FALSE;
    virtual void Draw(CDC* pDC);
  };
  // The etched two-pixel edge along a row's side towards the frame edge.
  class ClientEdge : public CObject {
   public:
    int m_nOrientation = 0;
    CRect m_rect;
    BOOL m_bUsed = TRUE;
    virtual void Draw(CDC* pDC);
  };
  // Where InsertBarAt puts a bar: row and column (visible bars), flags kFromLastRow,
  // kFromLastColumn, kNewRow.
  struct Position {
    int nRow = 0;
    int nColumn = 0;
    DWORD dwFlags = 0;
  };
  static constexpr DWORD kFromLastRow = 0x1;
  static constexpr DWORD kFromLastColumn = 0x2;
  static constexpr DWORD kNewRow = 0x4;

  explicit SECDockBar(BOOL bFloating = FALSE, BOOL bMDIFloat = FALSE);
  ~SECDockBar() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwCreateValue, UINT nID);

  BOOL PreTranslateMessage(MSG* pMsg) override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void DoPaint(CDC* pDC) override;
  int GetDockedVisibleCount() const override;
  // Docks pBar at the row and place under the centre of lpRect (screen), or in a new last row.
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr) override;

  // ---- own virtual operations ----
  virtual BOOL IsOnlySizedBarInRow(CControlBar* pBar);
  virtual BOOL IsAloneInRow(CControlBar* pBar);
  virtual void DockControlBarAt(CControlBar* pBar, const Position& where);
  virtual void DockControlBarAt(CControlBar* pBar, int nRow, int nColumn);
  // The visible bars of pBar's row: those before it (nearest first), pBar, those after it.
  virtual void GetRowBars(CPtrArray& bars, CControlBar* pBar);
  // nMode 1: the bar takes the whole row; 2: the row is evened out.
  virtual void ExpandBar(CControlBar* pBar, int nMode);
  virtual void OnBarChanged(CControlBar* pBar);
  virtual void RedrawPending();
  virtual void TrackSplitter(Splitter* pSplitter, CPoint point);
  virtual Splitter* AddSplitter(int bInRow, int nOrientation, const CRect& rect, int nIndex);
  virtual void GetSplitterLimits(Splitter* pSplitter);
  virtual ClientEdge* AddClientEdge(int nOrientation, const CRect& rect);
  virtual void MarkRowToolBars(CControlBar* pBar);
  // Shares of the row starting at nFirst add up to one, pKept's kept; counts the visible
  // proportional and one-dimension bars.
  virtual void NormalizeRow(int nFirst, CControlBar* pKept, int* pnProportional = nullptr, int* pnOneDim = nullptr);
  virtual void SetMinimumShare();
  // Adds to pBar's share; the negative shortfall when the minimum share stopped it, else 0.
  virtual float AddToShare(float fAmount, CControlBar* pBar);
  virtual int InsertBarAtPoint(CControlBar* pBar, const CRect& rect, CPoint point);
  virtual int InsertBarAt(CControlBar* pBar, const Position& where);
  virtual int InsertBarAt(CControlBar* pBar, int nRow, int nColumn);
  virtual int InsertBarAtStart(CControlBar* pBar);
  virtual int InsertBarAtIndex(int nIndex, CControlBar* pBar);
  // The outline of pBar dragged over this dock bar (screen coordinates), as it would land.
  virtual CRect GetDropRect(CControlBar* pBar, const CRect& rectDrag, CPoint point, SECDockContext* pContext);
  void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr) override;
  BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0) override;
  virtual void ApplySplitterMove(Splitter* pSplitter, int nDistance);

  // A bar that goes away leaves the repaint list and the last-changed mark.
  void ForgetBar(CControlBar* pBar);
  // The splitter at a client point, null for none.
  Splitter* SplitterAt(CPoint point) const;
  BOOL IsHorz() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  // The length along the dock bar's side that its rows share.
  int DockLength() const;
  // The first entry of the row holding position nPos, and the row's end (its null).
  int RowStart(int nPos) const;
  int RowEnd(int nPos) const;
  void MarkForRepaint(CControlBar* pBar);

  std::vector<CControlBar*> m_arrRepaint;
  std::vector<std::unique_ptr<ClientEdge>> m_edges;
  std::vector<std::unique_ptr<Splitter>> m_splitters;
  BOOL m_bMDIFloat;
  DWORD m_dwCreateValue = 0;
  AFX_SIZEPARENTPARAMS* m_pLayout = nullptr;
  CControlBar* m_pLastChanged = nullptr;
  BOOL m_bFullRedrawPending = FALSE;
  int m_nRedrawSuppress = 0;
  float m_fMinShare = 0.05f;
  // Set only during a layout made while redraw is suppressed: its move of this dock bar copies
  // and redraws no more than it must.
  BOOL m_bQuietMovePending = FALSE;

  // The flags a quiet move of the dock bar adds: none when its length changes, no redraw when
  // only its thickness changes, no copied pixels when only its place changes.
  static UINT QuietMoveFlags(BOOL bHorz, CSize sizeOld, CSize sizeNew);

 protected:
  // Lays out the rows of a floating dock bar: bars side by side, rows downwards, no splitters.
  CSize CalcFloatingLayout();
  // Styles, parenting and removal from the previous dock bar for a bar now at nPos.
  void AdoptBar(CControlBar* pBar, int nPos, const CRect* pClientRect);
  void LayoutFrame();

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  DECLARE_MESSAGE_MAP()
};

// TRUE when pObject is a customisable toolbar (the command bars' SECCustomToolBar), told by its
// run-time class name so the dock bars need not link that class.
BOOL SECIsCustomToolBar(const CObject* pObject);

// Gives pFrame the toolkit's dock bars on the sides in dwDockStyle (CBRS_ALIGN_*) and makes its
// floating frames SECMiniDockFrameWnd. The frames' EnableDocking calls it.
void SECEnableDocking(CFrameWnd* pFrame, DWORD dwDockStyle, BOOL bMDIFloat = FALSE);

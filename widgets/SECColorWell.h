// SECColorWell: a grid of colour cells picked by mouse or keyboard, with an "&Other..." button
// that opens the colour dialog and a custom cell for a colour chosen there; SECPopupColorWell is
// the same grid in a popup that closes once a colour is picked; SECOtherButton is its button.
#pragma once

#include "afx/afx.h"

namespace kelpwood::foundation {

class SECWellButton;

// Sent to the well's parent (wParam: the well's id) or to the owner button (wParam 0) with the
// chosen colour in lParam.
#define SEC_WM_COLORCHANGED 0x0465
// Posted to the owner button when the popup's "&Other..." button is pressed.
#define SEC_WM_OTHERCOLOR 0x0466
#define SEC_IDC_OTHER_BUTTON 59953
#define SEC_IDS_OTHER_BUTTON 23100

// Runs the colour dialog on clr with the given flags and custom colours (never null); TRUE with
// the chosen colour in clr when the user pressed OK.
BOOL SECRunColorDialog(CWnd* pParent, COLORREF& clr, DWORD dwFlags, COLORREF* pCustomColors);

class SECOtherButton : public CButton {
  DECLARE_DYNAMIC(SECOtherButton)

 protected:
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()
};

class SECColorWell : public CWnd {
  DECLARE_DYNAMIC(SECColorWell)

 public:
  SECColorWell();
  ~SECColorWell() override;

  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, int x, int y, CWnd* pParentWnd, UINT nID, BOOL bOtherButton = TRUE);
  virtual void SetDialogFlags(DWORD dwFlags) { m_dwDialogFlags = dwFlags; }
  virtual void SetCustomColors(COLORREF* pColors) { m_pCustomColors = pColors; }
  virtual void Reset();
  virtual void DrawCell(CDC* pDC, CDC* pMemDC, RECT* pGrid, int nCol, int nRow);
  virtual void DrawSelectedCell(CDC* pDC, CDC* pMemDC, RECT* pGrid, int nCol, int nRow);
  virtual void NotifyColor();
  // nHow: 0 keyboard move, 1 mouse move (hot-tracking), 2 a choice (click, Enter, space bar).
  virtual void SelectCell(int nCol, int nRow, int nHow);
  virtual void CreateGridPalette();
  virtual void SetGridSize();
  virtual void ArrangeColors(PALETTEENTRY* /*pEntries*/, int /*nCount*/, int /*nAvailable*/) {}
  virtual UINT GetClassStyle() { return 0; }
  virtual BOOL HasFocusFrame() { return TRUE; }
  using CWnd::CalcWindowRect;
  virtual CRect CalcWindowRect(RECT* pRect, CWnd* pParent, int x, int y, int cx, int cy, BOOL bDialogUnits);

  void SetColor(COLORREF clr);
  COLORREF GetColor() const;
  void SetPaletteMode(BOOL bPaletteMode) { m_bPaletteMode = bPaletteMode; }
  void SetHotTrack(BOOL bHotTrack) { m_bHotTrack = bHotTrack; }
  // The cell rectangle in client coordinates (the custom cell: nRow == m_nCustomRow).
  CRect GetCellRect(int nCol, int nRow) const;
  BOOL IsCustomCell(int nCol, int nRow) const { return nCol == m_nCustomCol && nRow == m_nCustomRow; }
  COLORREF GetCellColor(int nCol, int nRow) const;
  SECOtherButton* GetOtherButton() const { return m_pOtherButton; }

  CPalette m_palette;
  int m_nRows = 5;
  int m_nCols = 4;
  int m_nCustomCol = 0;
  int m_nCustomRow = 0;
  int m_cyCell = 0;
  int m_cxCell = 0;
  int m_cxMargin = 2;
  int m_cyMargin = 2;
  int m_cyButton = 0;
  int m_nSelCol = 0;
  int m_nSelRow = 0;
  int m_nCustomIndex = 0;
  BOOL m_bHasFocus = FALSE;
  BOOL m_bHotTrack = FALSE;
  BOOL m_bOtherButton = FALSE;
  BOOL m_bCustomShown = FALSE;
  BOOL m_bPaletteMode = FALSE;
  DWORD m_dwDialogFlags = CC_RGBINIT | CC_FULLOPEN;
  COLORREF* m_pCustomColors = nullptr;
  CBrush m_brushFace;
  SECOtherButton* m_pOtherButton = nullptr;

 protected:
  // The cell at a client point; false when the point is in none (the custom cell counts only
  // while it is shown).
  bool CellAt(CPoint point, int& nCol, int& nRow) const;
  void InvalidateCell(int nCol, int nRow);
  // Moves the selection by an arrow key, wrapping as the grid does.
  void MoveSelection(UINT nChar);
  // The colour dialog's custom colours when the caller gave none.
  COLORREF m_internalCustomColors[16] = {};
  // The colour set before the window existed.
  bool m_bPendingColor = false;
  COLORREF m_clrPending = 0;

  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnOther();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnSysColorChange();
  DECLARE_MESSAGE_MAP()
};

class SECPopupColorWell : public SECColorWell {
  DECLARE_DYNAMIC(SECPopupColorWell)

 public:
  void Reset() override;
  void SelectCell(int nCol, int nRow, int nHow) override;
  void NotifyColor() override;
  UINT GetClassStyle() override { return CS_SAVEBITS; }
  BOOL HasFocusFrame() override { return FALSE; }
  virtual BOOL CreatePopup(DWORD dwStyle, const RECT& rcButton, CWnd* pParentWnd, BOOL bOtherButton = TRUE,
                           int nReserved = 0);
  virtual void OnOther();

  void SetOwnerButton(SECWellButton* pButton) { m_pOwnerButton = pButton; }
  BOOL IsShown() const { return m_bShown; }
  // Closes the popup without a choice.
  void Close();

  SECWellButton* m_pOwnerButton = nullptr;
  BOOL m_bShown = FALSE;

 protected:
  void PostNcDestroy() override { m_bShown = FALSE; }

  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnOtherCommand();
  DECLARE_MESSAGE_MAP()
};

}  // namespace kelpwood::foundation

// SECWndBtn: a toolbar button that hosts a child window (shown in its place, or the button shown
// as a plain button on an upright bar), keeps the window's width in the saved state and lets
// the user resize it in customise mode; the base of the combo-box button.
#pragma once

#include "bars/SECStdBtn.h"

// "WM_SECTOOLBARWNDNOTIFY": a window button to its bar's owner; wParam the control id (low word)
// and the code (high word), lParam the window.
extern const UINT wmSECToolBarWndNotify;
constexpr UINT SEC_WNDBTN_CREATED = 257;

class SECWndBtn : public SECStdBtn {
 public:
  SECWndBtn();
  ~SECWndBtn() override = default;

  void ShowAsButton(BOOL bAsButton) override;
  void SetStyle(UINT nStyle) override;
  void SetPos(int x, int y) override;
  // Parameters: [0] control id, [1] window style, [2] width (low word) and resizable flag (high
  // word), [3] window height.
  void Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) override;
  void Draw(CDC& dc, SECBtnDrawCache& cache) override;
  void UpdateWndVisibility() override;
  INT_PTR GetToolInfo(CPoint point, TOOLINFO* pTI) const override;
  void AdjustSize() override;
  // Two bytes: the window width, little-endian. Other counts are refused; the width is kept
  // between a plain button's width and the screen's.
  void GetExtraData(int& nCount, BYTE*& pData) const override;
  void SetExtraData(int nCount, const BYTE* pData) override;

  // A press on the window (its client coordinates): in customise mode, or with Alt, it becomes
  // a press on the bar, or the start of a resize at the right edge. TRUE when taken.
  virtual BOOL OnWndLButtonDown(UINT nFlags, CPoint point);
  virtual CWnd* GetWnd() = 0;
  virtual BOOL CreateWnd(CWnd* pParentWnd, DWORD dwStyle, const CRect& rect, UINT nID) = 0;

  // Whether a bar point is on the resize edge (within 3 pixels of the right edge) of a selected,
  // resizable button outside the customise page.
  BOOL OnResizeEdge(CPoint pointBar) const;
  // Sets the window width (kept in range), resizes a shown window.
  void SetWndWidth(int nWidth);
  int GetWndWidth() const { return m_nWndWidth; }
  BOOL IsWndShown() const { return m_bWndShown; }
  // The notification to the bar's owner.
  void SendNotify(UINT nCode);

  BOOL m_bWndShown = TRUE;
  int m_nWndWidth = 100;
  BOOL m_bResizable = FALSE;
  int m_nWndHeight = 0;
  int m_nVCenterOffset = 0;
  UINT m_nCtrlID = 0;
  BYTE m_extra[2] = {0, 0};

 protected:
  // Follows the mouse until the left button is released (the new width stays) or Escape or the
  // right button cancels (the old width comes back).
  void TrackResize(CPoint pointBar);
};

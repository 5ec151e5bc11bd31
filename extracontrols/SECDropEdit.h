// SECDropEdit: an edit with a small bitmap button inside its border, on the left or the right,
// that the user presses (or opens with F4 or Alt+Down) to drop something down.
#pragma once

#include "afx/afx.h"

class SECDropEdit : public CEdit {
  DECLARE_DYNAMIC(SECDropEdit)

 public:
  // State bits.
  enum { Pressed = 0x0001, Captured = 0x0002, RightAlign = 0x0004 };

  SECDropEdit() = default;

  // Gives the edit its button: a bitmap resource, on the right or the left.
  BOOL SetBitmap(UINT nIDBitmap, BOOL bRight = TRUE);
  // The button was pressed and released over itself, or F4 or Alt+Down was pressed.
  virtual void OnClicked() {}
  virtual BOOL HitTest(int x, int y, BOOL bClientCoordinates);
  virtual void DrawButton(CDC* pDC, const CRect& rect);

  BOOL HasButton() const { return m_bitmap.GetSafeHandle() != nullptr; }
  // The button's rectangle in window coordinates.
  const RECT& GetButtonRect() const { return m_rcButton; }

  RECT m_rcButton = {};
  CBitmap m_bitmap;
  UINT m_nBitmapID = 0;
  WORD m_wState = RightAlign;
  WORD m_wLeftMargin = 2;
  WORD m_wRightMargin = 2;

 protected:
  int ButtonWidth() const;
  void RedrawButton();
  void EndPress();

  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnMove(int x, int y);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnSysColorChange();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()
};

// SECOwnerDrawButton: the owner-drawn push button the toolkit's buttons derive from: its frame
// in the old or new look (optionally flat), flicker-free contents, embossed disabled contents
// and the focus rectangle; derived buttons supply the contents and what a click does.
#pragma once

#include "afx/afx.h"

namespace kelpwood::foundation {

// Flag of AttachButton and Create: the button calls itself the default push button while it
// has the focus.
#define SEC_BTN_DEFAULT_WHEN_FOCUSED 0x0002

class SECOwnerDrawButton : public CButton {
  DECLARE_DYNAMIC(SECOwnerDrawButton)

 public:
  SECOwnerDrawButton();

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  virtual BOOL AttachButton(UINT nID, CWnd* pParent, DWORD dwFlags = 0);
  virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                      DWORD dwFlags);
  virtual void OnClicked() {}
  virtual void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
  virtual void SetFlat(BOOL bFlat = TRUE) { m_bFlat = bFlat; }
  virtual BOOL IsFlat() const { return m_bFlat; }
  virtual void PrepareDC(CDC* /*pDC*/, CDC* /*pMemDC*/) {}
  // Draws the frame and returns the rectangle left inside it.
  virtual CRect DrawFrame(CDC* pDC, LPDRAWITEMSTRUCT pDIS);
  virtual void RestoreDC(CDC* /*pDC*/, CDC* /*pMemDC*/) {}
  virtual void DrawDisabled(CDC* pDC, int cx, int cy);
  virtual void DrawFocusRect(CDC* /*pDC*/, RECT* /*pRect*/) {}
  virtual void DrawFocus(CDC* pDC, LPDRAWITEMSTRUCT pDIS);
  virtual void DrawContents(CDC* /*pDC*/, LPDRAWITEMSTRUCT /*pDIS*/, RECT* /*pRect*/) {}

  BOOL m_bNewLook = TRUE;
  BOOL m_bFlat = FALSE;
  DWORD m_dwFlags = 0;

  // The colours every owner-drawn button draws with, read again at each construction and each
  // system-colour change.
  static COLORREF m_clrFrame, m_clrShadow, m_clrHilight, m_clrFace;
  static void RefreshColors();

 protected:
  bool IsPushed() const { return (GetState() & BST_PUSHED) != 0; }

  afx_msg void OnSysColorChange();
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

}  // namespace kelpwood::foundation

// CColourPopup: the borderless grid of 40 named colours that a colour picker drops down, with an
// optional "Automatic" box above it and a "More Colours..." box below it that opens the colour
// dialog. It holds the mouse capture until a choice ends it and deletes itself when destroyed.
#pragma once

#include "afx/AfxCommonControls.h"
#include "afx/CWnd.h"
#include "afx/GdiObjects.h"

// Notifications of the popup to its button and of the picker to its parent: wParam the colour,
// lParam the control id (0 from the popup).
#define CPN_SELCHANGE 3035
#define CPN_DROPDOWN 3036
#define CPN_CLOSEUP 3037
#define CPN_SELENDOK 3038
#define CPN_SELENDCANCEL 3039

#ifndef CLR_DEFAULT
#define CLR_DEFAULT 0xFF000000L
#endif

class CColourPopup : public CWnd {
 public:
  // Cell indices besides 0 to 39.
  enum { INVALID_COLOUR = -1, CUSTOM_BOX_VALUE = -2, DEFAULT_BOX_VALUE = -3 };
  static constexpr int kColours = 40;
  static constexpr int kColumns = 8;

  CColourPopup() = default;
  // Opens at a screen point (the button's bottom-left corner) with a colour; an empty text hides
  // its box.
  CColourPopup(CPoint p, COLORREF crColour, CWnd* pParentWnd, LPCTSTR szDefaultText = nullptr,
               LPCTSTR szCustomText = nullptr);
  using CWnd::Create;
  BOOL Create(CPoint p, COLORREF crColour, CWnd* pParentWnd, LPCTSTR szDefaultText = nullptr,
              LPCTSTR szCustomText = nullptr);

  static COLORREF GetColour(int nIndex);
  static LPCTSTR GetColourName(int nIndex);
  // The index a colour marks as chosen: the default box for CLR_DEFAULT (when shown), a cell of
  // the table, else the custom box when shown, else none.
  static int FindChosenIndex(COLORREF crColour, BOOL bDefaultBox, BOOL bCustomBox);
  // Where an arrow key moves the hot index among the default box, the cells and the custom box.
  static int NextIndex(int nIndex, UINT nKey, BOOL bDefaultBox, BOOL bCustomBox);
  // The popup's window rectangle for a window of `size` opened at `p` under a button of
  // `nButtonHeight`, kept on the screen `rcScreen`.
  static CRect PlaceWindow(CPoint p, CSize size, const CRect& rcScreen, int nButtonHeight);

  int GetCurrentIndex() const { return m_nCurrentSel; }
  int GetChosenIndex() const { return m_nChosenColourSel; }
  COLORREF GetCurrentColour() const { return m_crColour; }
  // The rectangle of a cell or box in client coordinates (empty for a box not shown).
  CRect GetCellRect(int nIndex) const;

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void PostNcDestroy() override { delete this; }

  afx_msg void OnPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg BOOL OnQueryNewPalette();
  afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
  DECLARE_MESSAGE_MAP()

 private:
  void Initialise();
  void SetWindowSize();
  void CreateToolTips();
  void ChangeSelection(int nIndex);
  void EndSelection(int nMessage);
  void DrawCell(CDC* pDC, int nIndex);
  int IndexAt(CPoint point) const;

  int m_nNumColumns = kColumns;
  int m_nNumRows = (kColours + kColumns - 1) / kColumns;
  int m_nBoxSize = 18;
  int m_nMargin = 2;
  int m_nCurrentSel = INVALID_COLOUR;
  int m_nChosenColourSel = INVALID_COLOUR;
  CString m_strDefaultText;
  CString m_strCustomText;
  CRect m_CustomTextRect;
  CRect m_DefaultTextRect;
  CRect m_WindowRect;
  CFont m_Font;
  CPalette m_Palette;
  COLORREF m_crInitialColour = RGB(0, 0, 0);
  COLORREF m_crColour = RGB(0, 0, 0);
  CToolTipCtrl m_ToolTip;
  CWnd* m_pParent = nullptr;
  BOOL m_bChildWindowVisible = FALSE;
};

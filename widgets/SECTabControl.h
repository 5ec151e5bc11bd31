// SECTabControl: the 2-D tab control: flat slanted tabs in one horizontal strip, scrolled by up
// to four arrow buttons at its left end (the sheet tabs under a spreadsheet).
#pragma once

#include "widgets/SECTabControlBase.h"

class SECTabControl : public SECTabControlBase {
  DECLARE_DYNAMIC(SECTabControl)

 public:
  // Arrow-button bits of m_nButtonMask and m_nDisabledButtons.
  enum { kFirst = 1, kPrev = 2, kNext = 4, kLast = 8 };
  // The fonts, pens, brushes and colours of the three tab states.
  enum { kUnselected = 0, kSelected = 1, kActive = 2 };

  SECTabControl() = default;

  void Initialize(DWORD dwStyle) override;
  void RecalcLayout() override;
  SECTab* InsertTab(int nIndex, LPCTSTR lpszLabel = nullptr, void* pClient = nullptr, void* pData1 = nullptr,
                    void* pData2 = nullptr) override;
  void ScrollToTab(int nIndex) override;
  void InvalidateTab(int nIndex) override;

  virtual void DrawTab(CDC* pDC, int nIndex, CRgn* pRgn);
  virtual BOOL TabHitTest(int nIndex, CPoint pt);
  virtual BOOL SetFont(CFont* pFont, int nWhich, BOOL bRedraw = TRUE);

  // The tab's outline in client coordinates (four corners, wide along the top).
  void GetTabPolygon(int nIndex, POINT pts[4]) const;
  // Left edge of the tab area (right of the arrow buttons).
  int GetTabAreaLeft() const;
  // The client rectangle of an arrow button (kFirst...kLast); empty when it does not exist.
  CRect GetButtonRect(int nButton) const;

  int m_nScrollOffset = 0;
  int m_nTabHeight = 0;
  BOOL m_bMultiSelect = TRUE;
  CFont m_fonts[3];
  CPen m_pens[3];
  CPen m_penShadow;
  CBrush m_brushes[3];
  COLORREF m_clrText[3] = {};
  int m_nButtonMask = 0;
  int m_nPressedButton = 0;
  int m_nDisabledButtons = 0;
  int m_nButtonWidth = 0;
  int m_nButtonHeight = 0;
  int m_nTabOverlap = -5;
  int m_nTabSlant = 6;
  int m_nScrollStep = 10;
  int m_nTabPadding = 20;
  int m_nScrollMargin = 20;

 protected:
  // Sets the strip's offset, brings the arrow buttons up to date and repaints the tabs.
  void SetScrollOffset(int nOffset);
  // Enables and disables the arrow buttons for the current offset, pulling the offset back so
  // that no empty space is left at the right while tabs are hidden at the left.
  void UpdateButtons();
  void ScrollByButton(int nButton);
  // Holds the pressed previous/next button: scrolls again after 300 ms, then every 20 ms, until
  // the mouse button is released, the capture is lost or the window goes away.
  void RepeatWhilePressed(int nButton);
  int ButtonAt(CPoint point) const;
  int TabAt(CPoint point);
  int TabRight(int nIndex) const;
  void DrawButton(CDC* pDC, int nButton);
  void CreateSysColorObjects();
  void DeleteGDIObjects();

  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSysColorChange();
  DECLARE_MESSAGE_MAP()
};

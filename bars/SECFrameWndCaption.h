// SECFrameCaption: the gradient caption that the SDI and MDI frames paint over the system's own
// (caption rectangle, 60-band gradient, title split into an italic lead and a rest), with the
// non-client painting and activation rules around it.
#pragma once

#include "afx/afx.h"

// Fills rect with `bands` vertical bands going from clrFrom to clrTo; nothing for a zero width.
void SECGradientFill(CDC* pDC, const CRect& rect, int nBands, COLORREF clrFrom, COLORREF clrTo);

// Where the parts of a caption title go: the title is split at its first '-' into a lead and a
// rest that starts with the '-'.
struct SECCaptionTextLayout {
  CRect rcLead;       // where the lead is drawn (ends in an ellipsis when cut)
  int nRestLeft = 0;  // left edge of the rest
  BOOL bDrawRest = FALSE;
};
// rcText: the text area; nLead, nRest: the widths of the two parts; nEllipsis: the width of
// "W..." in the lead font; nAlign 0 left, 1 centred, else right.
SECCaptionTextLayout SECLayoutCaptionText(const CRect& rcText, int nLead, int nRest, int nEllipsis, int nAlign);
// The lead and the rest of a title.
void SECSplitCaptionTitle(const CString& strTitle, CString& strLead, CString& strRest);

class SECFrameCaption {
 public:
  SECFrameCaption();

  // The caption's rectangle in window coordinates, without the caption buttons.
  static CRect CaptionRect(CWnd* pFrame);
  static void CreateCaptionFont(CFont& font, BOOL bItalic);

  // Paints the caption of pFrame; switches the gradient off when no off-screen bitmap can be made.
  void DrawCaption(CWnd* pFrame, CFont& leadFont, CFont& captionFont);
  // WM_NCPAINT with the gradient on: the system paints everything but the caption; TRUE when
  // the caller must then draw the caption.
  BOOL OnNcPaint(CWnd* pFrame, HRGN hUpdate);
  // WM_NCACTIVATE with the gradient on; bStayActive: the frame keeps the active look.
  LRESULT OnNcActivate(CWnd* pFrame, BOOL bActive, BOOL bStayActive);
  // WM_SETTEXT with the gradient on: the system stores the text without painting a caption (the
  // caller then draws it).
  void OnSetText(CWnd* pFrame, LPARAM lParam);
  BOOL SetGradientCaption(CWnd* pFrame, BOOL bEnable, BOOL bRedraw);

  BOOL m_bGradientAvailable;
  int m_nCaptionAlign = 0;
  BOOL m_bGradientCaption = FALSE;
  BOOL m_bActive = FALSE;
};

// GWExtBmpComboBox: an owner-drawn list box whose rows show the component picture and two text
// columns (the name, padded, then the tail after the last "@"). The masked-picture helpers serve
// the toolbar drop-down lists as well.
#pragma once

#include "afx/AfxControls.h"
#include "afx/GdiObjects.h"

class GWExtBmpComboBox : public CListBox {
 public:
  // Loads the row picture and makes its mask.
  GWExtBmpComboBox();

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

  // The line of a row: the text before its last "@" (when that is not the first character)
  // padded with blanks to nNameWidth, then the text after it; otherwise the whole text.
  static CString FormatRow(const CString& strText, int nNameWidth);
  // A monochrome mask of the picture: 0 where it has its top-left pixel's colour, 1 elsewhere.
  static BOOL MakeMask(CBitmap& picture, CBitmap& mask);
  // Draws cx by cy pixels of the picture at (x, y), leaving the masked-out pixels as they were.
  static void DrawMasked(CDC* pDC, int x, int y, int cx, int cy, CBitmap& picture, CBitmap& mask);

  static constexpr int kNameWidth = 40;

 protected:
  CBitmap m_bmpRow;
  CBitmap m_bmpMask;
};

// SECSysColors: the system colours, arrow cursor and border widths the toolkit's drawing code
// reads, cached in one object reached through SECGetSysColors().
#pragma once

#include "base/base.h"

class SECSysColors {
 public:
  SECSysColors();
  SECSysColors(const SECSysColors&) = delete;
  SECSysColors& operator=(const SECSysColors&) = delete;

  // Reads the ten colours again (the cursor, the flag and the border widths stay); controls call
  // it when the system colours change.
  void Refresh();

  int m_nBorderX;
  int m_nBorderY;
  COLORREF m_clrBtnFace;
  COLORREF m_clrBtnShadow;
  COLORREF m_clrBtnHilite;
  COLORREF m_clrWindowFrame;
  COLORREF m_clr3DLight;
  COLORREF m_clr3DDkShadow;
  COLORREF m_clrWindowText;
  COLORREF m_clrWindow;
  COLORREF m_clrHighlight;
  COLORREF m_clrHighlightText;
  HCURSOR m_hcurArrow;
  DWORD m_dwReserved1;
  DWORD m_dwReserved2;
  DWORD m_dwReserved3;
  // The shell of Windows 4 or later: its wider borders and flat looks apply.
  BOOL m_bWin4;
};

// The toolkit's colour object. Drawing happens on the user-interface thread; each thread that
// asks gets its own object, made at its first call (the main thread's at program start).
SECSysColors& SECGetSysColors();

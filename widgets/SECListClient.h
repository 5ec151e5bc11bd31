// The interface through which the list tip window, the in-place edit and the view form reach a
// list engine without knowing its class.
#pragma once

#include "afx/afx.h"

class SECListClient {
 public:
  virtual ~SECListClient() = default;

  virtual HWND GetClientHwnd() const = 0;
  // TRUE unless labels are one line (LVS_NOLABELWRAP).
  virtual BOOL IsLabelWrap() const = 0;
  virtual BOOL EndLabelEdit(BOOL bSave) = 0;
  virtual int GetColumnSubItem(int nCol) const = 0;
  // Pixels the rows are scrolled left, and the first row shown.
  virtual int GetHorzScrollOffset() const = 0;
  virtual int GetVertScrollOffset() const = 0;
  // The rows' rectangle: the client area less the header band and the visible scroll bars.
  virtual void GetListArea(RECT* pRect) = 0;
  // Code 0 the whole cell, 1 the icon, 2 the text; client coordinates.
  virtual BOOL GetSubItemRect(int nRow, int nCol, RECT* pRect, int nCode) = 0;
  virtual CString GetCellText(int nRow, int nSubItem) = 0;
  virtual void ClientToScreen(LPRECT pRect) const = 0;
  // Captures the mouse for the list and returns the window that had it; FALSE does nothing.
  virtual CWnd* SetCapture(BOOL bCapture) = 0;
  virtual BOOL IsRowSelected(int nRow) = 0;
  virtual COLORREF GetSelTextColor() const = 0;
  virtual COLORREF GetSelBkColor() const = 0;
  virtual COLORREF GetTipTextColor() const = 0;
  virtual COLORREF GetTipBkColor() const = 0;
  virtual CFont* GetRowFont() const = 0;
  // The item state bits of a row under a mask (0 in plain lists; the trees answer TVIS_ bits).
  virtual UINT GetTipItemState(int nRow, UINT nMask) = 0;
};

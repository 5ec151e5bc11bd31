// SECCurrencyEdit: a numeric drop edit that keeps a value and a sign, draws its formatted text
// itself with its own caret and selection, takes only digits, the decimal separator and the
// minus sign from the keyboard, and has the clipboard, one level of undo and a context menu.
// SECCurrencyFormatter turns the value into text and back.
#pragma once

#include "extracontrols/SECDropEdit.h"

class SECCurrencyFormatter {
 public:
  // Colour flags.
  enum { NegativeColor = 0x0002, PositiveColor = 0x0004 };

  virtual ~SECCurrencyFormatter() = default;
  // Reads a value and sign from text in any of the forms Format writes, grouping separators and
  // the currency symbol optional; FALSE for anything else.
  virtual BOOL Parse(const CString& strText, double* pValue, BOOL* pNegative) const;
  // "$1,234.50" and, negative, "-$1,234.50".
  virtual void Format(double dValue, CString& strText, BOOL bNegative) const;
  virtual int FindDecimalSeparator(const CString& strText, int nStart = 0) const;
  // The first and last index of a digit in the text; FALSE when it has none.
  virtual BOOL GetDigitRange(const CString& strText, int* pFirst, int* pLast) const;

  BOOL m_bLineUpDecimal = FALSE;
  char m_cDecimal = '.';
  char m_cGroup = ',';
  CString m_strSymbol = "$";
  int m_nDecimals = 2;
  COLORREF m_clrNegative = RGB(255, 0, 0);
  COLORREF m_clrPositive = RGB(0, 0, 0);
  WORD m_wColorFlags = NegativeColor;
};

class SECCurrencyEdit : public SECDropEdit {
  DECLARE_DYNAMIC(SECCurrencyEdit)

 public:
  SECCurrencyEdit();
  ~SECCurrencyEdit() override;

  void SetValue(double dValue, BOOL bNegative = FALSE, BOOL bRedraw = TRUE);
  // The signed value. "-" typed on zero shows a sign for the digits to come ("-$0.00"), but zero
  // itself is never negative.
  double GetValue() const { return IsNegative() ? -m_dValue : m_dValue; }
  BOOL IsNegative() const { return m_bNegative && m_dValue != 0.0; }
  SECCurrencyFormatter& GetFormatter() { return *m_pFormatter; }
  const CString& GetText() const { return m_strText; }
  BOOL SetSel(int nStart, int nEnd);
  void SetCaret(int nIndex, BOOL bExtend);
  int GetCaret() const { return m_nCaret; }
  // The character whose middle lies right of x (client coordinates).
  int CharFromPoint(int x);
  CRect GetTextRect();

  BOOL m_bNegative = FALSE;
  BOOL m_bCanUndo = FALSE;
  BOOL m_bFormatting = TRUE;
  BOOL m_bVisibleRedraw = TRUE;
  BOOL m_bMouseSelecting = FALSE;
  CString m_strUndoText;
  int m_nUndoCaret = 0;
  int m_nUndoSelStart = -1;
  int m_nUndoSelEnd = -1;
  double m_dValue = 0.0;
  SECCurrencyFormatter* m_pFormatter;
  HFONT m_hFont = nullptr;
  int m_nCaret = 0;
  int m_nSelStart = -1;
  int m_nSelEnd = -1;
  int m_nLeftMargin = 1;
  int m_nRightMargin = 1;

 protected:
  // The edit's own operations the handlers call.
  void SaveUndo();
  void Undo();
  // Whether the value, as the formatter shows it, has no more significant digits than a double
  // keeps exactly (15).
  BOOL KeepsExactly(double dValue) const;
  // Replaces the selection (or inserts at the caret) and shows the value that text stands for,
  // the caret kept at its place; FALSE when the text is no number or has more digits than a
  // double keeps (with a beep). With bKeepSign the value keeps
  // the sign shown before, whatever the edited text says.
  BOOL ReplaceSelection(const CString& strText, BOOL bKeepSign = FALSE);
  // Where the caret stands, in digits from the decimal separator: among the decimals, how many
  // lie on its left; in the whole part, how many lie between it and the separator.
  struct CaretPlace {
    bool bDecimals;
    int nDigits;
  };
  CaretPlace PlaceOf(const CString& strText, int nCaret) const;
  // The index in the shown text for that place.
  int CaretAt(const CaretPlace& place) const;
  void BackspaceKey();
  void DeleteKey();
  void ToggleSign();
  void CopyToClipboard();
  void PasteFromClipboard();
  void ClearSelection();
  void ShowContextMenu(CPoint point);
  void PlaceCaret();
  void Redraw();
  bool HasSelection() const { return m_nSelStart >= 0 && SelEnd() > m_nSelStart; }
  int SelEnd() const { return m_nSelEnd < 0 ? m_strText.GetLength() : m_nSelEnd; }
  CFont* Font() const;

  CString m_strText;  // the formatted text shown
  int m_nAnchor = 0;

  afx_msg void OnPaint();
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnGetSel(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetSelMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetReadOnly(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCanUndo(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnUndoMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnEmptyUndo(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMargins(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCut(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCopy(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPaste(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnClear(WPARAM wParam, LPARAM lParam);
  afx_msg void OnEditUndo();
  afx_msg void OnEditCut();
  afx_msg void OnEditCopy();
  afx_msg void OnEditPaste();
  afx_msg void OnEditClear();
  afx_msg void OnEditSelectAll();
  DECLARE_MESSAGE_MAP()
};

// SECMaskEdit: an edit control that takes input only at the data positions of a mask. Mask
// characters: '#' a digit, 'A' a letter, 'a' a letter or digit, '&' any printable character;
// every other character is a literal that stays as it is. Empty data positions show the prompt.
#pragma once

#include "afx/afx.h"

class SECMaskEdit : public CEdit {
  DECLARE_DYNAMIC(SECMaskEdit)

 public:
  SECMaskEdit() = default;

  // Sets the mask and the prompt character; the text becomes the mask with every data
  // position empty.
  void SetMask(LPCTSTR lpszMask, char chPrompt = '_');
  const CString& GetMask() const { return m_strMask; }
  const CString& GetText() const { return m_strText; }
  // The data the user typed, prompts as blanks, literals left out.
  CString GetData() const { return DataIn(0, m_strText.GetLength()); }

  virtual BOOL IsLiteral(char chMask) const;
  virtual BOOL IsValidChar(char ch, int nPos) const;
  // The first data position at or after nPos (-1: none).
  virtual int DataPosAtOrAfter(int nPos) const;
  // The last data position before nPos (-1: none).
  virtual int DataPosBefore(int nPos) const;
  virtual void MoveToNext(BOOL bExtend);
  virtual void MoveToPrev(BOOL bExtend);
  virtual void DeleteRange(int nFrom, int nTo);
  // Puts text into the data positions from nPos on, skipping characters they refuse; returns
  // where it stopped.
  virtual int InsertText(const CString& strText, int nPos);
  // Opens nPos for a new character: the data after it moves one data position right.
  virtual void ShiftRight(int nPos);
  virtual void UpdateText();

  CString m_strMask;
  CString m_strText;
  char m_chPrompt = '_';
  BOOL m_bKeyHandled = FALSE;
  BOOL m_bInsertMode = FALSE;

 protected:
  CString DataIn(int nFrom, int nTo) const;
  void SetCaret(int nPos);
  // Without a selection, a caret on a literal moves on to the next data position.
  void CaretToData();
  // Shift+keys move one end of the selection; the other, the anchor, stays where it began.
  int Anchor();
  int MovingEnd();
  void ExtendTo(int nPos);
  void CopySelection();
  int m_nAnchor = -1;

  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg LRESULT OnCopy(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCut(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPaste(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnClear(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

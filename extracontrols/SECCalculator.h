// SECCalculator: a four-function calculator window (a display panel over a grid of buttons)
// worked with mouse and keyboard; SECPopupCalculator is the same calculator as a popup that
// closes on Enter, Escape or loss of focus.
#pragma once

#include "afx/afx.h"

// One button of the calculator.
class SECCalcBtn {
 public:
  SECCalcBtn(int nCode, const CString& strCaption, const CString& strChars, UINT nKey, const CRect& rect)
      : m_nCode(nCode), m_strCaption(strCaption), m_strChars(strChars), m_nKey(nKey), m_rect(rect) {}

  enum { Pressed = 0x0001 };

  const CRect& GetRect() const { return m_rect; }
  BOOL IsKeyCode(UINT nKey) const { return m_nKey != 0 && nKey == m_nKey; }
  // The characters that fire the button (lower case) contain the one- or two-byte character.
  BOOL AcceptsChar(LPCTSTR lpszChar) const { return lpszChar[0] != '\0' && m_strChars.Find(lpszChar) >= 0; }

  DWORD m_dwState = 0;
  int m_nCode;
  CString m_strCaption;
  CString m_strChars;
  UINT m_nKey;
  CRect m_rect;
};

class SECCalculator : public CWnd {
  DECLARE_DYNAMIC(SECCalculator)

 public:
  // Operations HandleOperation takes.
  enum Operation { OpNone = 0, OpMultiply = 1, OpAdd = 2, OpSubtract = 3, OpDivide = 4, OpPercent = 5, OpEquals = 6 };
  // What the buttons pass to OnButton: the digits are 0-9, then these.
  enum Code {
    CodeSeparator = 10, CodeClear, CodeClearEntry, CodeBack, CodePercent, CodeDivide, CodeMultiply, CodeSubtract,
    CodeAdd, CodeTotal
  };
  // Flags word.
  enum { Tracking = 0x0001, LeadByte = 0x0002, Error = 0x0008 };
  // Window style: the calculator draws a two-line 3-D border of its own.
  enum { StyleBorder = 0x0001 };

  SECCalculator();
  ~SECCalculator() override;

  // Creates the calculator with its top-left corner at (x, y) in the parent's client area.
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, int x, int y, CWnd* pParentWnd, UINT nID);
  virtual void OnButton(int nCode);
  virtual void Draw(CDC* pDC);
  virtual void Commit() {}
  virtual CString GetDecimalSeparator();

  BOOL HandleOperation(int nOp);
  void FormatDisplay();
  void PressButton(int nIndex);

  double GetValue() const { return m_dAccum; }
  const CString& GetDisplay() const { return m_strDisplay; }
  BOOL IsError() const { return (m_dwFlags & Error) != 0; }
  int GetButtonCount() const { return m_nButtons; }
  SECCalcBtn* GetButton(int nIndex) const { return static_cast<SECCalcBtn*>(m_buttons[nIndex]); }
  int FindButton(int nCode) const;

  char m_cLeadByte = 0;
  DWORD m_dwFlags = 0;
  double m_dAccum = 0.0;
  int m_nPendingOp = OpNone;
  BOOL m_bStartNew = TRUE;
  int m_nDecimals = 16;
  int m_nMaxDigits = 16;
  CRect m_rcPanel;
  CString m_strDisplay = "0";
  CString m_strDecSep;
  HBITMAP m_hBitmap = nullptr;
  int m_nTrackBtn = -1;
  CPtrArray m_buttons;
  int m_nButtons = 0;

 protected:
  // The decimal separator (asked for once).
  const CString& Separator();
  // The display text as a number in the C library's notation; false when it does not convert.
  bool DisplayValue(double& value);
  void CreateButtons();
  void DrawButton(CDC* pDC, const SECCalcBtn& button);
  void InvalidateButton(int nIndex);
  int ButtonAt(CPoint point) const;
  void EndTracking();

  afx_msg void OnPaint();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg void OnSysColorChange();
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()
};

class SECPopupCalculator : public SECCalculator {
  DECLARE_DYNAMIC(SECPopupCalculator)

 public:
  // Shows the calculator as a popup under rcOwner (screen coordinates), with the focus.
  BOOL CreatePopup(const RECT& rcOwner, CWnd* pOwner, double dValue = 0.0);
  // Keeps the value reached; the owner reads it with GetValue once the popup is gone.
  void Commit() override { m_bCommitted = TRUE; }
  BOOL IsCommitted() const { return m_bCommitted; }

 protected:
  BOOL m_bCommitted = FALSE;
  BOOL m_bClosing = FALSE;
  void Close(BOOL bCommit);

  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()
};

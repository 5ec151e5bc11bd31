// SECProgressCtrl: a progress bar that draws itself off-screen in the caller's colours,
// horizontal or vertical in either direction, with the percentage or a text drawn over it in
// inverted colours; it can step itself on a timer or leave all drawing to the common control.
#pragma once

#include "afx/afx.h"

// Bar style bits of SECProgressCtrl.
constexpr DWORD SECP_VERTICAL = 0x1;          // vertical bar
constexpr DWORD SECP_FROM_RIGHT = 0x10;       // a horizontal bar grows from the right
constexpr DWORD SECP_FROM_TOP = 0x20;         // a vertical bar hangs from the top (else rises from the bottom)
constexpr DWORD SECP_SHOW_PERCENT = 0x100;    // draws the percentage as "%d %%"
constexpr DWORD SECP_SHOW_TEXT = 0x200;       // draws the caller's text (when the percentage is off)
constexpr DWORD SECP_TEXT_LEFT = 0x1000;      // text left-aligned
constexpr DWORD SECP_TEXT_RIGHT = 0x2000;     // text right-aligned (when not left; else centred)
constexpr DWORD SECP_NATIVE = 0x10000;        // the common control draws itself
constexpr DWORD SECP_DEFAULT_STYLE = 0x4100;

class SECProgressCtrl : public CProgressCtrl {
  DECLARE_DYNAMIC(SECProgressCtrl)

 public:
  SECProgressCtrl() = default;

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                      DWORD dwBarStyle = SECP_DEFAULT_STYLE);
  virtual BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  virtual void SetRange(UINT nLower, UINT nUpper);
  // Each position setter returns the previous position; with bPump the waiting paint messages of
  // the thread are dispatched at once so that the bar shows while the caller keeps working.
  virtual UINT SetPos(int nPos, BOOL bPump = FALSE);
  virtual UINT OffsetPos(int nDelta, BOOL bPump = FALSE);
  virtual int SetStep(int nStep);
  virtual void SetBarColors(COLORREF clrBar, COLORREF clrBk);
  virtual void SetTextFont(CFont* pFont, BOOL bRedraw = TRUE);
  virtual void SetText(LPCTSTR lpszText);
  virtual void GetText(CString& strText) const;
  virtual UINT StepIt(BOOL bPump = FALSE);
  virtual void Reset();
  // Starts (interval > 0) or stops (0) stepping on a timer; FALSE when the bar is already full or
  // the timer cannot be set.
  virtual BOOL SetTimerStep(UINT nInterval);
  virtual BOOL UpdateClientRect();
  virtual void DrawBar(CDC* pDC, const CRect& rect);
  virtual void DrawBackground(CDC* pDC, const CRect& rect);
  virtual void DrawBarText(CDC* pDC, double dPercent, const CRect& rcBk, const CRect& rcBar);
  // A hook that may change the text before it is drawn.
  virtual BOOL FormatText(CString& /*strText*/) { return TRUE; }
  virtual void DrawProgress(CDC* pDC);
  virtual BOOL CalcRects(double dPercent, CRect& rcBar, CRect& rcBk);
  virtual BOOL Paint(CDC* pDC, double dPercent, const CRect& rcBar, const CRect& rcBk);
  // The position within the range as a percentage; an empty or inverted range gives 0.
  virtual double GetPercent() const;

  void SetBarStyle(DWORD dwStyle);
  DWORD GetBarStyle() const { return m_dwStyle; }
  UINT GetPos() const { return m_nPos; }
  void GetRange(UINT& nLower, UINT& nUpper) const {
    nLower = m_nLower;
    nUpper = m_nUpper;
  }
  int GetStep() const { return m_nStep; }

  // The text drawn for a percentage with the percentage style: rounded, never above 100.
  static CString FormatPercent(double dPercent);

 protected:
  BOOL IsNative() const { return (m_dwStyle & SECP_NATIVE) != 0; }
  // Keeps a new position inside the unsigned range and never below the lower bound.
  UINT ClampedPos(long long nPos) const;
  void PumpPaint();
  // Whether the bar draws the two percentages alike (the same rectangles and text).
  bool LooksTheSame(double dBefore, double dAfter);

  UINT m_nPos = 0;
  int m_nStep = 10;
  UINT m_nLower = 0;
  UINT m_nUpper = 100;
  COLORREF m_clrBar = RGB(0, 0, 0x80);
  COLORREF m_clrBk = RGB(0xFF, 0xFF, 0xFF);
  CFont* m_pFont = nullptr;
  BOOL m_bShown = TRUE;
  BOOL m_bCreated = FALSE;
  CString m_strText;
  DWORD m_dwStyle = SECP_DEFAULT_STYLE;
  CRect m_rcClient;
  UINT m_nTimerID = 256;

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()
};

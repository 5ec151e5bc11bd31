// SECMarquee: a static control whose text scrolls across it on a timer.
#pragma once

#include "afx/afx.h"

class SECMarquee : public CStatic {
  DECLARE_DYNAMIC(SECMarquee)

 public:
  SECMarquee() = default;

  // Starts the timer and measures the text; 0 or less makes the creation fail.
  virtual int Initialize();
  // Moves the text one step to the left; past its end it comes back in from the right.
  virtual void Advance();
  virtual void DrawMarquee(CDC* pDC);

  RECT m_rcClient = {};
  UINT m_nTimerID = 1;
  BOOL m_bShown = FALSE;
  // Scrolling: where the text starts, how far it moves a step, how often.
  int m_nOffset = 0;
  int m_nStep = 2;
  UINT m_nInterval = 50;

 protected:
  int TextWidth();

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};

// The extended combo box's registered messages, registered once at start-up.
extern const UINT SEC_WM_COMBOEX_NEWITEM;  // "secComboExNewItem"
extern const UINT SEC_WM_COMBOEX_APPLY;    // "secComboExApply"

// An extended combo box that takes every key and hands the text typed into its edit to
// OnEditText.
class SECComboBoxEx : public CComboBoxEx {
  DECLARE_DYNAMIC(SECComboBoxEx)

 public:
  // The edit's text after a printable key (start index -1: the text as a whole); nothing here.
  virtual void OnEditText(int /*nStartIndex*/, const CString& /*strText*/) {}
  BOOL PreTranslateMessage(MSG* pMsg) override;

  UINT m_nLastKey = 0;

 protected:
  afx_msg UINT OnGetDlgCode();
  afx_msg BOOL OnEditChange();
  DECLARE_MESSAGE_MAP()
};

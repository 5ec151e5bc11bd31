// SECTipOfDay: the "Tip of the Day" dialog, one tip per line of a tips file, with Next and
// Previous and a "Show Tips at Startup" check box.
#pragma once

#include "afx/afx.h"

class SECTipOfDay : public CDialog {
  DECLARE_DYNAMIC(SECTipOfDay)

 public:
  enum { IDD = 20500 };
  static constexpr UINT kOK = 43056, kNextTip = 43057, kPreviousTip = 43058, kHelp = 43059, kShowAtStartup = 43060,
                        kTipFrame = 43061;
  static constexpr int kTipBufferSize = 512;

  // nStartTip counts from 1; the number of tips is that of the lines of the file, -1 when it
  // cannot be read.
  explicit SECTipOfDay(LPCTSTR lpszTipsFile, int nStartTip = 1, BOOL bShowAtStartup = TRUE, UINT nIconID = 0,
                       CWnd* pParent = nullptr);

  // The lines of a tips file (a last line without a line end counts), -1 when it cannot be read.
  static int CountTips(LPCTSTR lpszTipsFile);
  // The tip that follows a stored tip number: the next one, or the first after the largest
  // number an int holds (and after a damaged, negative one).
  static int NextTip(UINT nStored);
  // Puts tip n into the text buffer: below 1 the last tip, past the last the first.
  virtual void ReadTip(int nTip);
  void InvalidateTipText();
  // The check box's handler, shared with dialogs that show tips their own way.
  static BOOL ReadShowAtStartup(CWnd* pDialog);

  LPCTSTR GetTipText() const { return m_szTip; }
  int GetCurrentTip() const { return m_nCurrentTip; }
  int GetNumTips() const { return m_nNumTips; }
  BOOL GetShowAtStartup() const { return m_bShowAtStartup; }
  void SetHeading(LPCTSTR lpszHeading) { m_strHeading = lpszHeading; }

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnNextTip();
  afx_msg void OnPreviousTip();
  afx_msg void OnShowAtStartup();
  afx_msg void OnOKButton();
  afx_msg void OnHelpButton();
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  CRect TipFrame();

  BOOL m_bShowAtStartup;
  int m_nCurrentTip;
  int m_nNumTips;
  CString m_strTipsFile;
  TCHAR m_szTip[kTipBufferSize] = {};
  CRect m_rcTipText;
  CString m_strHeading;
  CFont m_fontBody;
  CFont m_fontHeading;
  UINT m_nIconID;
};

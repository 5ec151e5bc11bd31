// COurOwnTipDlg: the application's tip of the day, one tip per line of a plain text file, with a
// warning in its panel when the file cannot be read or holds no tip.
#pragma once

#include "afx/afx.h"
#include "bars/SECTipOfDay.h"

class COurOwnTipDlg : public SECTipOfDay {
  DECLARE_DYNAMIC(COurOwnTipDlg)

 public:
  // nTip counts from 1 (0 or a number past the last tip shows a tip at the other end).
  COurOwnTipDlg(LPCTSTR lpszTipsFile, int nTip, BOOL bShowAtStartup, CWnd* pParent = nullptr);

  // What the caller keeps after DoModal.
  using SECTipOfDay::m_bShowAtStartup;
  using SECTipOfDay::m_nCurrentTip;

 protected:
  BOOL OnInitDialog() override;
  // Next and Previous move between tips; without any, the warning stays.
  afx_msg void OnNextTip();
  afx_msg void OnPreviousTip();
  DECLARE_MESSAGE_MAP()
};

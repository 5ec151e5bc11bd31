// The application's tip of the day: dialog 170 over the toolkit's tip reader and painting, with its
// own caption and icon and a warning when the tips file is missing.
#include "app/COurOwnTipDlg.h"

#include <cstdio>

#include "resources/StatusBarRes.h"

IMPLEMENT_DYNAMIC(COurOwnTipDlg, SECTipOfDay)

namespace {

// "Did you know...", loaded once.
const CString& TipCaption() {
  static const CString caption = [] {
    CString text;
    if (!text.LoadString(IDS_TIP_CAPTION)) text = "Did you know...";
    return text;
  }();
  return caption;
}

}  // namespace

COurOwnTipDlg::COurOwnTipDlg(LPCTSTR lpszTipsFile, int nTip, BOOL bShowAtStartup, CWnd* pParent)
    : SECTipOfDay(lpszTipsFile, nTip, bShowAtStartup, IDI_TIP_BULB, pParent) {
  m_lpszTemplateName = MAKEINTRESOURCE(IDD_TIPS_OF_DAY);
  m_nIDHelp = IDD_TIPS_OF_DAY;
  SetHeading(TipCaption());
}

BOOL COurOwnTipDlg::OnInitDialog() {
  SECTipOfDay::OnInitDialog();
  if (m_nNumTips < 0)
    std::snprintf(m_szTip, sizeof m_szTip, "WARNING: Could not find: \"%s\"...", static_cast<LPCTSTR>(m_strTipsFile));
  CenterWindow();
  return TRUE;
}

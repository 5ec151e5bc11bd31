// The application's tip of the day: dialog 170 over the toolkit's tip reader and painting, with its
// own caption and icon and a warning when the tips file is missing or empty.
#include "app/COurOwnTipDlg.h"

#include <cstdio>

#include "resources/StatusBarRes.h"

IMPLEMENT_DYNAMIC(COurOwnTipDlg, SECTipOfDay)

BEGIN_MESSAGE_MAP(COurOwnTipDlg, SECTipOfDay)
  ON_BN_CLICKED(SECTipOfDay::kNextTip, OnNextTip)
  ON_BN_CLICKED(SECTipOfDay::kPreviousTip, OnPreviousTip)
END_MESSAGE_MAP()

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
  const int nStartTip = m_nCurrentTip;
  SECTipOfDay::OnInitDialog();
  // A file that holds no tip is as good as none: the panel says so rather than stay blank, and
  // the tip number is kept for when there are tips again.
  if (m_nNumTips == 0) m_nCurrentTip = nStartTip;
  if (m_nNumTips <= 0)
    std::snprintf(m_szTip, sizeof m_szTip, "WARNING: Could not find: \"%s\"...", static_cast<LPCTSTR>(m_strTipsFile));
  CenterWindow();
  return TRUE;
}

void COurOwnTipDlg::OnNextTip() {
  if (m_nNumTips > 0) SECTipOfDay::OnNextTip();
}

void COurOwnTipDlg::OnPreviousTip() {
  if (m_nNumTips > 0) SECTipOfDay::OnPreviousTip();
}

// CFontDialog over ChooseFont.
#include "afx/CFontDialog.h"

#include "afx/AfxRes.h"

IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)

CFontDialog::CFontDialog(LPLOGFONT lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd) {
  m_nIDHelp = AFX_IDD_FONT;
  m_cf.lStructSize = sizeof(m_cf);
  m_cf.lpszStyle = m_szStyleName;
  m_cf.Flags = dwFlags | CF_ENABLEHOOK;
  m_cf.lpfnHook = AfxCommDlgProc;
  if (lplfInitial != nullptr) {
    m_cf.lpLogFont = lplfInitial;
    m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    m_lf = *lplfInitial;
  } else {
    m_cf.lpLogFont = &m_lf;
  }
  if (pdcPrinter != nullptr && pdcPrinter->m_hDC != nullptr) {
    m_cf.hDC = pdcPrinter->m_hDC;
    m_cf.Flags |= CF_PRINTERFONTS;
  }
}

INT_PTR CFontDialog::DoModal() {
  m_cf.hwndOwner = PreModal();
  BOOL chosen = ::ChooseFont(&m_cf);
  PostModal();
  if (chosen && m_cf.lpLogFont != nullptr) m_lf = *m_cf.lpLogFont;
  return chosen ? IDOK : IDCANCEL;
}

void CFontDialog::GetCurrentFont(LPLOGFONT lplf) {
  if (m_hWnd != nullptr)
    SendMessage(WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(lplf));
  else
    *lplf = m_lf;
}

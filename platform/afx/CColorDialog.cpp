// CColorDialog over ChooseColor.
#include "afx/CColorDialog.h"

#include <algorithm>

#include "afx/AfxRes.h"

IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd) {
  m_nIDHelp = AFX_IDD_COLOR;
  m_cc.lStructSize = sizeof(m_cc);
  m_cc.lpCustColors = GetSavedCustomColors();
  m_cc.Flags = dwFlags | CC_ENABLEHOOK;
  m_cc.lpfnHook = AfxCommDlgProc;
  m_cc.rgbResult = clrInit;
  if (clrInit != 0) m_cc.Flags |= CC_RGBINIT;
}

COLORREF* CColorDialog::GetSavedCustomColors() {
  // Per thread: the dialog writes into the array while it runs.
  thread_local COLORREF colours[16] = {};
  thread_local bool initialised = false;
  if (!initialised) {
    std::fill(std::begin(colours), std::end(colours), RGB(255, 255, 255));
    initialised = true;
  }
  return colours;
}

INT_PTR CColorDialog::DoModal() {
  m_cc.hwndOwner = PreModal();
  BOOL chosen = ::ChooseColor(&m_cc);
  PostModal();
  return chosen ? IDOK : IDCANCEL;
}

void CColorDialog::SetCurrentColor(COLORREF clr) {
  if (m_hWnd != nullptr) SendMessage(::RegisterWindowMessage(SETRGBSTRING), 0, static_cast<LPARAM>(clr));
}

BOOL CColorDialog::OnColorOK() { return FALSE; }

UINT_PTR CColorDialog::OnHookMessage(UINT message, WPARAM, LPARAM) {
  if (message == ::RegisterWindowMessage(COLOROKSTRING)) return static_cast<UINT_PTR>(OnColorOK());
  return 0;
}

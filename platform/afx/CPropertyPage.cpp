// CPropertyPage: the page's PROPSHEETPAGE ties the window the sheet makes to this object.
#include "afx/CPropertyPage.h"

#include "afx/AfxRes.h"
#include "afx/AfxResources.h"
#include "afx/CPropertySheet.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

namespace {

// The sheet is about to make the page's window: it belongs to the page object.
UINT CALLBACK AfxPropPageCallback(HWND, UINT message, PROPSHEETPAGE* psp) {
  if (message == PSPCB_CREATE) AfxHookWindowCreate(reinterpret_cast<CPropertyPage*>(psp->lParam));
  return TRUE;
}

}  // namespace

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) { Construct(nIDTemplate, nIDCaption); }

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption) { Construct(lpszTemplateName, nIDCaption); }

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption) {
  Construct(MAKEINTRESOURCE(nIDTemplate), nIDCaption);
}

void CPropertyPage::Construct(LPCTSTR lpszTemplateName, UINT nIDCaption) {
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName)) m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
  m_psp = PROPSHEETPAGE{};
  m_psp.dwSize = sizeof(m_psp);
  m_psp.dwFlags = PSP_USECALLBACK;
  m_psp.hInstance = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
  m_psp.pszTemplate = lpszTemplateName;
  m_psp.pfnDlgProc = AfxDlgProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
  m_psp.pfnCallback = AfxPropPageCallback;
  if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption)) {
    m_psp.pszTitle = m_strCaption;
    m_psp.dwFlags |= PSP_USETITLE;
  }
  m_bFirstSetActive = TRUE;
}

CPropertySheet* CPropertyPage::GetParentSheet() const {
  if (m_hWnd == nullptr) return nullptr;
  return dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

void CPropertyPage::SetModified(BOOL bChanged) {
  if (m_hWnd == nullptr) return;
  ::SendMessage(::GetParent(m_hWnd), bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CPropertyPage::CancelToClose() {
  if (m_hWnd != nullptr) ::SendMessage(::GetParent(m_hWnd), PSM_CANCELTOCLOSE, 0, 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam) {
  return m_hWnd != nullptr ? ::SendMessage(::GetParent(m_hWnd), PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

BOOL CPropertyPage::OnSetActive() {
  // The first time, OnInitDialog has just filled the controls.
  if (m_bFirstSetActive)
    m_bFirstSetActive = FALSE;
  else
    UpdateData(FALSE);
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

// The sheet ends itself: a page's OK and Cancel only hear about it.
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }
LRESULT CPropertyPage::OnWizardBack() { return 0; }
LRESULT CPropertyPage::OnWizardNext() { return 0; }
BOOL CPropertyPage::OnWizardFinish() { return TRUE; }

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg) {
  // The sheet runs the keyboard navigation of its pages.
  return CWnd::PreTranslateMessage(pMsg);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CDialog::OnNotify(wParam, lParam, pResult)) return TRUE;
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header == nullptr || (header->hwndFrom != m_hWnd && header->hwndFrom != ::GetParent(m_hWnd))) return FALSE;
  switch (header->code) {
    case PSN_SETACTIVE: *pResult = OnSetActive() ? 0 : -1; return TRUE;
    case PSN_KILLACTIVE: *pResult = !OnKillActive(); return TRUE;
    case PSN_APPLY: *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE; return TRUE;
    case PSN_RESET: OnReset(); return TRUE;
    case PSN_QUERYCANCEL: *pResult = !OnQueryCancel(); return TRUE;
    case PSN_WIZNEXT: *pResult = OnWizardNext(); return TRUE;
    case PSN_WIZBACK: *pResult = OnWizardBack(); return TRUE;
    case PSN_WIZFINISH: *pResult = !OnWizardFinish(); return TRUE;
    case PSN_HELP: SendMessage(WM_COMMAND, ID_HELP); return TRUE;
  }
  return FALSE;
}

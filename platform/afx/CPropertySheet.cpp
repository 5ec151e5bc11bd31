// CPropertySheet over PropertySheet: the header is built from the pages at DoModal or Create, and
// the creation hook gives the sheet's window to this object.
#include "afx/CPropertySheet.h"

#include <algorithm>

#include "afx/AfxResources.h"
#include "afx/CWinApp.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet() { Construct(static_cast<LPCTSTR>(nullptr)); }

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
  Construct(nIDCaption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) {
  Construct(pszCaption, pParentWnd, iSelectPage);
}

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) {
  CString caption;
  caption.LoadString(nIDCaption);
  Construct(static_cast<LPCTSTR>(caption), pParentWnd, iSelectPage);
}

void CPropertySheet::Construct(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) {
  m_psh = PROPSHEETHEADER{};
  m_psh.dwSize = sizeof(m_psh);
  m_psh.dwFlags = PSH_PROPSHEETPAGE;
  m_psh.nStartPage = iSelectPage;
  m_strCaption = pszCaption != nullptr ? pszCaption : "";
  m_pParentWnd = pParentWnd;
}

// ---- pages ----

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  m_pages.push_back(pPage);
  if (m_hWnd == nullptr) return;
  HPROPSHEETPAGE handle = ::CreatePropertySheetPage(&pPage->m_psp);
  if (handle == nullptr || !SendMessage(PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handle))) {
    if (handle != nullptr) ::DestroyPropertySheetPage(handle);
    m_pages.pop_back();
  }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) { RemovePage(GetPageIndex(pPage)); }

void CPropertySheet::RemovePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  if (m_hWnd != nullptr) {
    // The sheet keeps its last page.
    if (GetPageCount() == 1) return;
    SendMessage(PSM_REMOVEPAGE, static_cast<WPARAM>(nPage), 0);
  }
  m_pages.erase(m_pages.begin() + nPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
  return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<std::size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
  auto found = std::find(m_pages.begin(), m_pages.end(), pPage);
  return found == m_pages.end() ? -1 : static_cast<int>(found - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const {
  if (m_hWnd == nullptr) return GetPage(static_cast<int>(m_psh.nStartPage));
  auto page = reinterpret_cast<HWND>(::SendMessage(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
  return dynamic_cast<CPropertyPage*>(CWnd::FromHandlePermanent(page));
}

int CPropertySheet::GetActiveIndex() const {
  if (m_hWnd == nullptr) return static_cast<int>(m_psh.nStartPage);
  return GetPageIndex(GetActivePage());
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (m_hWnd == nullptr) {
    m_psh.nStartPage = static_cast<UINT>(nPage);
    return TRUE;
  }
  return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) {
  int index = GetPageIndex(pPage);
  return index >= 0 && SetActivePage(index);
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle) {
  m_strCaption = lpszText;
  m_psh.dwFlags = (m_psh.dwFlags & ~static_cast<DWORD>(PSH_PROPTITLE)) | (nStyle & PSH_PROPTITLE);
  if (m_hWnd != nullptr) SendMessage(PSM_SETTITLE, nStyle, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(m_strCaption)));
}

// ---- wizards and buttons ----

void CPropertySheet::SetWizardButtons(DWORD dwFlags) {
  if (m_hWnd != nullptr) SendMessage(PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(dwFlags));
}

void CPropertySheet::SetFinishText(LPCTSTR lpszText) {
  if (m_hWnd != nullptr) SendMessage(PSM_SETFINISHTEXT, 0, reinterpret_cast<LPARAM>(lpszText));
}

BOOL CPropertySheet::PressButton(int nButton) {
  if (m_hWnd == nullptr) return FALSE;
  SendMessage(PSM_PRESSBUTTON, static_cast<WPARAM>(nButton), 0);
  return TRUE;
}

void CPropertySheet::EndDialog(int nEndID) {
  if (m_hWnd == nullptr) return;
  if (m_bModeless) {
    DestroyWindow();
    return;
  }
  m_nEndResult = nEndID;
  m_bEndedByCode = true;
  ::EndDialog(m_hWnd, nEndID);
}

// ---- running ----

HWND CPropertySheet::Owner() const {
  HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
  if (parent == nullptr) {
    CWnd* main = AfxGetMainWnd();
    parent = main != nullptr ? main->GetSafeHwnd() : nullptr;
  }
  return parent != nullptr && ::IsWindow(parent) ? ::GetAncestor(parent, GA_ROOT) : nullptr;
}

void CPropertySheet::BuildHeader(HWND owner) {
  m_pageArray.clear();
  for (CPropertyPage* page : m_pages) {
    page->m_bFirstSetActive = TRUE;
    m_pageArray.push_back(page->m_psp);
  }
  m_psh.dwFlags |= PSH_PROPSHEETPAGE;
  m_psh.hwndParent = owner;
  m_psh.hInstance = AfxGetResourceHandle();
  m_psh.pszCaption = m_strCaption;
  m_psh.nPages = static_cast<UINT>(m_pageArray.size());
  m_psh.ppsp = m_pageArray.data();
}

INT_PTR CPropertySheet::DoModal() {
  m_bModeless = FALSE;
  m_bEndedByCode = false;
  m_psh.dwFlags &= ~static_cast<DWORD>(PSH_MODELESS);
  BuildHeader(Owner());
  m_pModalScope = std::make_unique<brambolt::afx::ModalPreTranslateScope>();
  AfxHookWindowCreate(this);
  INT_PTR result = ::PropertySheet(&m_psh);
  AfxUnhookWindowCreate();
  m_pModalScope.reset();
  if (m_bEndedByCode) return m_nEndResult;
  if (result < 0) return -1;
  if (result == 0) return IDCANCEL;
  return IsWizard() ? ID_WIZFINISH : IDOK;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
  if (pParentWnd != nullptr) m_pParentWnd = pParentWnd;
  m_bModeless = TRUE;
  m_psh.dwFlags |= PSH_MODELESS;
  HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
  BuildHeader(parent);
  AfxHookWindowCreate(this);
  auto hWnd = reinterpret_cast<HWND>(::PropertySheet(&m_psh));
  AfxUnhookWindowCreate();
  if (hWnd == nullptr || reinterpret_cast<INT_PTR>(hWnd) == -1) return FALSE;
  if (dwStyle != static_cast<DWORD>(-1)) {
    ModifyStyle(~dwStyle, dwStyle);
    if (!(dwStyle & WS_VISIBLE)) ShowWindow(SW_HIDE);
  }
  if (dwExStyle != 0) ModifyStyleEx(0, dwExStyle);
  return TRUE;
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM) {
  if (m_pModalScope != nullptr) m_pModalScope->SetDialog(m_hWnd);
  return OnInitDialog();
}

BOOL CPropertySheet::OnInitDialog() { return static_cast<BOOL>(Default()); }

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
               (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
  // The sheet turns pages with Ctrl+Tab and runs its pages' keyboard navigation.
  return input && m_hWnd != nullptr && SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg));
}

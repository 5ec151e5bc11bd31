// The tabbed dialog: the tab window over the placeholder, the pages and the tab fonts.
#include "app/CTabbedPagesDlg.h"

#include "resources/AppResource.h"

namespace {

// The tab window's id and style: flat tabs along the top. As a tab stop it takes the keyboard:
// Tab reaches the tabs (drawn with the focus rectangle), and Ctrl+Tab, Ctrl+Shift+Tab,
// Ctrl+Page Down and Ctrl+Page Up turn the pages.
constexpr UINT kTabWindowID = 80122;
constexpr DWORD kTabStyle = 0x420 | WS_TABSTOP;

// A font like the default GUI font (the system font when that is missing) with another weight.
void MakeTabFont(CFont& font, int nWeight) {
  HGDIOBJ hBase = ::GetStockObject(DEFAULT_GUI_FONT);
  if (hBase == nullptr) hBase = ::GetStockObject(SYSTEM_FONT);
  LOGFONT lf = {};
  ::GetObject(hBase, sizeof lf, &lf);
  lf.lfWeight = nWeight;
  font.CreateFontIndirect(&lf);
}

}  // namespace

// The holding dialog is the page's root by parents: the top-level parent would go on through the
// dialog's owner to the main frame, and the keys would close nothing.
void CTabPage::OnOK() { ::SendMessage(::GetAncestor(m_hWnd, GA_ROOT), WM_COMMAND, IDOK, 0); }

void CTabPage::OnCancel() { ::SendMessage(::GetAncestor(m_hWnd, GA_ROOT), WM_COMMAND, IDCANCEL, 0); }

BOOL CTabPage::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    const bool bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    if (pMsg->wParam == VK_TAB || (bCtrl && (pMsg->wParam == VK_PRIOR || pMsg->wParam == VK_NEXT))) {
      CWnd* pParent = GetParent();
      if (pParent != nullptr && (pParent->GetStyle() & WS_TABSTOP) != 0 && pParent->IsKindOf(RUNTIME_CLASS(SEC3DTabWnd)))
        return FALSE;
    }
  }
  return CDialog::PreTranslateMessage(pMsg);
}

CTabbedPagesDlg::CTabbedPagesDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

void CTabbedPagesDlg::AddPage(CTabPage* pPage, UINT nLabelID) { m_Pages.push_back({pPage, nLabelID}); }

BOOL CTabbedPagesDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CRect rcPlace;
  if (CWnd* pPlaceholder = GetDlgItem(IDC_TAB_PLACEHOLDER)) {
    pPlaceholder->GetWindowRect(&rcPlace);
    ScreenToClient(&rcPlace);
  }
  m_wndTab.Create(this, WS_CHILD | WS_VISIBLE | kTabStyle, kTabWindowID);
  m_wndTab.SetWindowPos(&CWnd::wndTop, rcPlace.left, rcPlace.top, rcPlace.Width(), rcPlace.Height(), SWP_SHOWWINDOW);
  for (const Page& page : m_Pages) {
    page.pPage->Create(page.pPage->m_lpszTemplateName, &m_wndTab);
    CString strLabel;
    strLabel.LoadString(page.nLabelID);
    m_wndTab.AddTab(page.pPage, strLabel);
  }
  MakeTabFont(m_fontActive, 550);
  MakeTabFont(m_fontInactive, 450);
  m_wndTab.SetFontActiveTab(&m_fontActive);
  m_wndTab.SetFontInactiveTab(&m_fontInactive);
  m_wndTab.ActivateTab(0);
  return TRUE;
}

// The wizard frame: page activation over the placeholder, Back, Next, Finish and Cancel.
#include "app/CNewWizDialog.h"

#include "controls/CommCtrl.h"

CNewWizPage::CNewWizPage(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent), m_nDialogID(nIDTemplate) {}

void CNewWizPage::OnCancel() {
  if (m_pParent != nullptr) m_pParent->SendMessage(WM_COMMAND, IDCANCEL);
}

BEGIN_MESSAGE_MAP(CNewWizDialog, CDialog)
  ON_BN_CLICKED(ID_WIZBACK, OnWizardBack)
  ON_BN_CLICKED(ID_WIZNEXT, OnWizardNext)
  ON_BN_CLICKED(ID_WIZFINISH, OnWizardFinish)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CNewWizDialog::CNewWizDialog(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

void CNewWizDialog::AddPage(CNewWizPage* pPage, UINT nID) {
  pPage->m_nDialogID = nID;
  m_PageList.AddTail(pPage);
}

CNewWizPage* CNewWizDialog::GetFirstPage() const { return m_PageList.IsEmpty() ? nullptr : m_PageList.GetHead(); }

CNewWizPage* CNewWizDialog::GetLastPage() const { return m_PageList.IsEmpty() ? nullptr : m_PageList.GetTail(); }

CNewWizPage* CNewWizDialog::GetActivePage() const {
  for (POSITION pos = m_PageList.GetHeadPosition(); pos != nullptr;) {
    CNewWizPage* pPage = m_PageList.GetNext(pos);
    if (pPage->m_bActive) return pPage;
  }
  return nullptr;
}

CNewWizPage* CNewWizDialog::GetPageByResourceID(UINT nID) const {
  for (POSITION pos = m_PageList.GetHeadPosition(); pos != nullptr;) {
    CNewWizPage* pPage = m_PageList.GetNext(pos);
    if (pPage->m_nDialogID == nID) return pPage;
  }
  return nullptr;
}

CNewWizPage* CNewWizDialog::Neighbour(CNewWizPage* pPage, bool bNext) const {
  POSITION pos = m_PageList.Find(pPage);
  if (pos == nullptr) return nullptr;
  if (bNext)
    m_PageList.GetNext(pos);
  else
    m_PageList.GetPrev(pos);
  return pos != nullptr ? m_PageList.GetAt(pos) : nullptr;
}

CNewWizPage* CNewWizDialog::Target(CNewWizPage* pActive, LRESULT nResult, bool bNext) const {
  if (nResult != 0) return GetPageByResourceID(static_cast<UINT>(nResult));
  return pActive != nullptr ? Neighbour(pActive, bNext) : nullptr;
}

BOOL CNewWizDialog::DeactivatePage() {
  CNewWizPage* pPage = GetActivePage();
  if (pPage == nullptr) return TRUE;
  if (!pPage->OnKillActive()) return FALSE;
  pPage->ShowWindow(SW_HIDE);
  pPage->m_bActive = FALSE;
  return TRUE;
}

BOOL CNewWizDialog::ActivatePage(CNewWizPage* pPage) {
  if (pPage == nullptr) return FALSE;
  if (!pPage->m_bCreated) {
    if (!pPage->Create(pPage->m_nDialogID, this)) return FALSE;
    pPage->m_bCreated = TRUE;
    pPage->m_pParent = this;
    if (!pPage->OnCreatePage()) return FALSE;
  }
  if (!DeactivatePage()) return FALSE;

  CRect rcPlace;
  if (CWnd* pPlaceholder = GetDlgItem(m_nPlaceholderID)) {
    pPlaceholder->GetWindowRect(&rcPlace);
    ScreenToClient(&rcPlace);
  }
  pPage->SetWindowPos(nullptr, rcPlace.left, rcPlace.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pPage->EnableWindow(TRUE);
  pPage->ShowWindow(SW_SHOW);
  // The page and the controls on it are repainted at once.
  pPage->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pPage->OnSetActive();
  pPage->m_bActive = TRUE;
  return TRUE;
}

void CNewWizDialog::EnableButton(int nID, BOOL bEnable) {
  CWnd* pButton = GetDlgItem(nID);
  if (pButton == nullptr) return;
  // A button that goes grey under the keyboard focus hands it on to the next control first, so
  // the keys keep reaching the wizard (Next on the last page hands it to Finish).
  if (!bEnable && ::GetFocus() == pButton->m_hWnd) NextDlgCtrl();
  pButton->EnableWindow(bEnable);
}

void CNewWizDialog::EnableBack(BOOL bEnable) { EnableButton(ID_WIZBACK, bEnable); }
void CNewWizDialog::EnableNext(BOOL bEnable) { EnableButton(ID_WIZNEXT, bEnable); }
void CNewWizDialog::EnableFinish(BOOL bEnable) { EnableButton(ID_WIZFINISH, bEnable); }

BOOL CNewWizDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  // Tab moves on into the controls of the shown page.
  ModifyStyleEx(0, WS_EX_CONTROLPARENT);
  DeactivatePage();
  EnableBack(FALSE);
  const bool bSinglePage = m_PageList.GetCount() < 2;
  EnableFinish(bSinglePage);
  EnableNext(!bSinglePage);
  ActivatePage(GetFirstPage());
  // A page that put the focus on one of its controls keeps it; only otherwise does the dialog
  // manager give it to the first control of the wizard.
  CNewWizPage* pPage = GetActivePage();
  const HWND hFocus = ::GetFocus();
  return pPage == nullptr || hFocus == nullptr || !::IsChild(pPage->m_hWnd, hFocus);
}

void CNewWizDialog::OnWizardBack() {
  CNewWizPage* pActive = GetActivePage();
  if (pActive == nullptr) return;
  const LRESULT nResult = pActive->OnWizardBack();
  if (nResult == -1) return;
  CNewWizPage* pPage = Target(pActive, nResult, false);
  if (pPage == nullptr || !ActivatePage(pPage)) return;
  EnableNext(TRUE);
  if (pPage == GetFirstPage()) {
    EnableBack(FALSE);
    EnableFinish(FALSE);
  }
}

void CNewWizDialog::OnWizardNext() {
  CNewWizPage* pActive = GetActivePage();
  if (pActive == nullptr) return;
  const LRESULT nResult = pActive->OnWizardNext();
  if (nResult == -1) return;
  CNewWizPage* pPage = Target(pActive, nResult, true);
  if (pPage == nullptr || !ActivatePage(pPage)) return;
  pPage->OnActivatedByNext();
  EnableBack(TRUE);
  if (pPage == GetLastPage()) {
    EnableFinish(TRUE);
    EnableNext(FALSE);
  }
}

void CNewWizDialog::OnWizardFinish() {
  CNewWizPage* pActive = GetActivePage();
  if (pActive != nullptr && !pActive->OnKillActive()) return;
  for (POSITION pos = m_PageList.GetHeadPosition(); pos != nullptr;) {
    CNewWizPage* pPage = m_PageList.GetNext(pos);
    if (pPage->m_bCreated && !pPage->OnWizardFinish()) return;
  }
  if (!UpdateData(TRUE)) return;
  EndDialog(ID_WIZFINISH);
}

void CNewWizDialog::OnCancel() {
  for (POSITION pos = m_PageList.GetHeadPosition(); pos != nullptr;) {
    CNewWizPage* pPage = m_PageList.GetNext(pos);
    if (pPage->m_bCreated && !pPage->OnQueryCancel()) return;
  }
  CDialog::OnCancel();
}

void CNewWizDialog::OnDestroy() {
  for (POSITION pos = m_PageList.GetHeadPosition(); pos != nullptr;) {
    CNewWizPage* pPage = m_PageList.GetNext(pos);
    if (pPage->m_bCreated && pPage->OnKillActive()) {
      pPage->OnDestroyPage();
      pPage->DestroyWindow();
      pPage->m_bCreated = FALSE;
      pPage->m_bActive = FALSE;
    }
  }
  CDialog::OnDestroy();
}

// The Toolbars page and dialog, and the New Toolbar dialog.
#include "bars/SECToolBarsPage.h"

#include <algorithm>

#include "bars/CommandBarsRes.h"
#include "bars/SECControlBarInfo.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECDialogHelp.h"
#include "bars/SECMenuBar.h"
#include "bars/SECToolBarManager.h"

const UINT wmSECToolBarStyleChanging = ::RegisterWindowMessage("WM_TOOLBARSTYLECHANGING");

namespace {
// Keeps an edit's text to the name length, putting the cut text back.
CString LimitName(CWnd* pEdit) {
  CString strText;
  pEdit->GetWindowText(strText);
  if (strText.GetLength() > SEC_MAX_TOOLBAR_NAME) {
    strText = strText.Left(SEC_MAX_TOOLBAR_NAME);
    pEdit->SetWindowText(strText);
  }
  return strText;
}
}  // namespace

// ---- New Toolbar ----

BEGIN_MESSAGE_MAP(SECNewToolBar, CDialog)
  ON_EN_CHANGE(IDC_SEC_NEW_TOOLBAR_NAME, OnNameChange)
  ON_BN_CLICKED(IDC_SEC_HELP, OnHelpButton)
END_MESSAGE_MAP()

SECNewToolBar::SECNewToolBar(CWnd* pParent) : CDialog(IDD_SEC_NEWTOOLBAR, pParent) {}

BOOL SECNewToolBar::OnInitDialog() {
  CDialog::OnInitDialog();
  OnNameChange();
  return TRUE;
}

void SECNewToolBar::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_SEC_NEW_TOOLBAR_NAME, m_strName);
}

void SECNewToolBar::OnNameChange() {
  CWnd* pEdit = GetDlgItem(IDC_SEC_NEW_TOOLBAR_NAME);
  CWnd* pOK = GetDlgItem(IDOK);
  if (pEdit == nullptr || pOK == nullptr) return;
  pOK->EnableWindow(!LimitName(pEdit).IsEmpty());
}

// ---- shared work of the page and the dialog ----

BOOL SECToolBarsBase::IsUserBarID(UINT nID) {
  return nID >= SEC_IDW_FIRST_USER_TOOLBAR && nID <= SEC_IDW_LAST_USER_TOOLBAR;
}

BOOL SECToolBarsBase::IsMenuBar(const SECCustomToolBar* pBar) {
  return pBar != nullptr && pBar->GetSafeHwnd() != nullptr && static_cast<UINT>(pBar->GetDlgCtrlID()) == SEC_IDW_MENUBAR;
}

SECCustomToolBar* SECToolBarsBase::GetSelectedBar() const {
  const int nSel = m_barList.GetCurSel();
  if (nSel < 0 || m_pManager == nullptr) return nullptr;
  return m_pManager->FindToolBar(static_cast<UINT>(m_barList.GetItemData(nSel)));
}

int SECToolBarsBase::InsertBar(SECCustomToolBar* pBar) {
  const UINT nID = static_cast<UINT>(pBar->GetDlgCtrlID());
  int nPos = 0;
  while (nPos < m_barList.GetCount() && static_cast<UINT>(m_barList.GetItemData(nPos)) <= nID) ++nPos;
  CString strTitle;
  pBar->GetWindowText(strTitle);
  nPos = m_barList.InsertString(nPos, strTitle);
  if (nPos < 0) return nPos;
  m_barList.SetItemData(nPos, nID);
  m_barList.SetCheck(nPos, pBar->IsWindowVisible() ? 1 : 0);
  return nPos;
}

void SECToolBarsBase::InitBars(CDialog* pDialog) {
  m_barList.SubclassDlgItem(IDC_SEC_TOOLBAR_LIST, pDialog);
  if (m_pManager != nullptr) {
    m_bToolTips = m_pManager->ToolTipsEnabled();
    m_bCoolLook = m_pManager->CoolLookEnabled();
    m_bLargeButtons = m_pManager->LargeButtonsEnabled();
    for (SECCustomToolBar* pBar : m_pManager->GetToolBars()) {
      if (pBar->GetSafeHwnd() != nullptr && !pBar->m_bDestroyPending) InsertBar(pBar);
    }
  }
  if (m_barList.GetCount() > 0) m_barList.SetCurSel(0);
  UpdateBarControls(pDialog);
}

void SECToolBarsBase::ExchangeOptions(CDataExchange* pDX) {
  DDX_Check(pDX, IDC_SEC_SHOW_TOOLTIPS, m_bToolTips);
  DDX_Check(pDX, IDC_SEC_COOL_LOOK, m_bCoolLook);
  DDX_Check(pDX, IDC_SEC_LARGE_BUTTONS, m_bLargeButtons);
}

void SECToolBarsBase::UpdateBarControls(CDialog* pDialog) {
  SECCustomToolBar* pBar = GetSelectedBar();
  auto* pEdit = static_cast<CEdit*>(pDialog->GetDlgItem(IDC_SEC_TOOLBAR_NAME));
  CWnd* pLabel = pDialog->GetDlgItem(IDC_SEC_TOOLBAR_NAME_LABEL);
  CWnd* pReset = pDialog->GetDlgItem(IDC_SEC_TOOLBAR_RESET);
  CString strTitle;
  if (pBar != nullptr) pBar->GetWindowText(strTitle);
  const BOOL bUserBar = pBar != nullptr && IsUserBarID(static_cast<UINT>(pBar->GetDlgCtrlID()));
  if (pEdit != nullptr) {
    pEdit->SetWindowText(strTitle);
    pEdit->EnableWindow(bUserBar);
    pEdit->SetModify(FALSE);
  }
  if (pLabel != nullptr) pLabel->EnableWindow(bUserBar);
  if (pReset != nullptr) {
    CString strButton;
    strButton.LoadString(bUserBar ? IDS_SEC_TOOLBAR_DELETE : IDS_SEC_TOOLBAR_RESET);
    pReset->SetWindowText(strButton);
    // The keyboard stays in the dialog when the button it was on goes out of use.
    if (pBar == nullptr && ::GetFocus() == pReset->GetSafeHwnd())
      pDialog->SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_barList.GetSafeHwnd()), TRUE);
    pReset->EnableWindow(pBar != nullptr);
  }
}

void SECToolBarsBase::OnCheckChange(CDialog* /*pDialog*/) {
  const int nSel = m_barList.GetCurSel();
  SECCustomToolBar* pBar = GetSelectedBar();
  if (pBar == nullptr) return;
  if (IsMenuBar(pBar)) {
    m_barList.SetCheck(nSel, 1);
    return;
  }
  CFrameWnd* pFrame = m_pManager->GetFrameWnd();
  if (pFrame == nullptr) return;
  pFrame->ShowControlBar(pBar, m_barList.GetCheck(nSel) != 0, FALSE);
  pFrame->RecalcLayout();
}

void SECToolBarsBase::RenameSelectedBar(CDialog* pDialog) {
  auto* pEdit = static_cast<CEdit*>(pDialog->GetDlgItem(IDC_SEC_TOOLBAR_NAME));
  SECCustomToolBar* pBar = GetSelectedBar();
  if (pEdit == nullptr || pBar == nullptr || !pEdit->IsWindowEnabled() || !pEdit->GetModify()) return;
  const CString strName = LimitName(pEdit);
  const HWND hBar = pBar->GetSafeHwnd();
  if (std::none_of(m_renamedBars.begin(), m_renamedBars.end(), [hBar](const RenamedBar& r) { return r.hBar == hBar; })) {
    CString strOld;
    pBar->GetWindowText(strOld);
    m_renamedBars.push_back({hBar, strOld});
  }
  SetBarTitle(pBar, strName);
  pEdit->SetModify(FALSE);
}

void SECToolBarsBase::SetBarTitle(SECCustomToolBar* pBar, const CString& strTitle) {
  pBar->SetWindowText(strTitle);
  if (pBar->IsFloating()) {
    // The floating frame takes its caption from its dock bar at each layout: the dock bar of a
    // frame of one bar carries the name too.
    if (CDockBar* pDock = pBar->m_pDockBar; pDock != nullptr && !(pDock->m_dwStyle & CBRS_FLOAT_MULTI))
      pDock->SetWindowText(strTitle);
    if (CFrameWnd* pMiniFrame = pBar->GetParentFrame()) pMiniFrame->SetWindowText(strTitle);
  }
  if (m_barList.GetSafeHwnd() == nullptr) return;
  const UINT nID = static_cast<UINT>(pBar->GetDlgCtrlID());
  for (int nPos = 0; nPos < m_barList.GetCount(); ++nPos) {
    if (static_cast<UINT>(m_barList.GetItemData(nPos)) != nID) continue;
    const BOOL bSelected = m_barList.GetCurSel() == nPos;
    const int nCheck = m_barList.GetCheck(nPos);
    m_barList.DeleteString(nPos);
    m_barList.InsertString(nPos, strTitle);
    m_barList.SetItemData(nPos, nID);
    m_barList.SetCheck(nPos, nCheck);
    if (bSelected) m_barList.SetCurSel(nPos);
    return;
  }
}

INT_PTR SECToolBarsBase::OutsideConfigMode(const std::function<INT_PTR()>& step) {
  // The mode is then as it was before: on in the Toolbars dialog and while the Commands page is
  // shown, off on the Toolbars page of the sheet, whose frame would otherwise stay disabled after
  // the sheet is gone.
  const BOOL bWasConfig = m_pManager != nullptr && m_pManager->InConfigMode();
  if (bWasConfig) m_pManager->ExitConfigMode();
  const INT_PTR nResult = step();
  if (bWasConfig) m_pManager->EnterConfigMode();
  return nResult;
}

BOOL SECToolBarsBase::NewToolBar(CDialog* pDialog) {
  if (m_pManager == nullptr) return FALSE;
  SECNewToolBar dialog(pDialog);
  if (OutsideConfigMode([&dialog] { return dialog.DoModal(); }) != IDOK) return FALSE;
  SECCustomToolBar* pBar = m_pManager->CreateUserToolBar(dialog.m_strName);
  CFrameWnd* pFrame = m_pManager->GetFrameWnd();
  if (pBar == nullptr || pFrame == nullptr) return FALSE;
  CRect rect;
  if (CWnd* pTop = pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP)) {
    pTop->GetWindowRect(&rect);
  } else {
    pFrame->GetClientRect(&rect);
    pFrame->ClientToScreen(&rect);
  }
  SECFloatControlBar(pFrame, pBar, CPoint(rect.left + 5, rect.bottom + 5));
  return TRUE;
}

void SECToolBarsBase::ResetOrDeleteBar(CDialog* pDialog) {
  SECCustomToolBar* pBar = GetSelectedBar();
  if (pBar == nullptr || m_pManager == nullptr) return;
  CFrameWnd* pFrame = m_pManager->GetFrameWnd();
  const UINT nID = static_cast<UINT>(pBar->GetDlgCtrlID());
  if (IsUserBarID(nID)) {
    CString strTitle, strQuestion;
    pBar->GetWindowText(strTitle);
    strQuestion.Format(CString(MAKEINTRESOURCE(IDS_SEC_TOOLBAR_DELETE_ASK)), static_cast<LPCTSTR>(strTitle));
    const HWND hDialog = pDialog->GetSafeHwnd();
    const INT_PTR nAnswer = OutsideConfigMode([&] {
      // The question carries the caption of the sheet or dialog it comes from.
      char szCaption[256] = {};
      ::GetWindowText(::GetAncestor(hDialog, GA_ROOT), szCaption, sizeof szCaption);
      return static_cast<INT_PTR>(::MessageBox(hDialog, strQuestion, szCaption, MB_YESNO | MB_ICONQUESTION));
    });
    // The bar may have gone while the question was open.
    if (nAnswer != IDYES || GetSelectedBar() != pBar) return;
    // The bar stays, hidden, until OK or Apply; Cancel brings it back.
    m_deletedBars.push_back({pBar->GetSafeHwnd(), pBar->IsWindowVisible()});
    if (pFrame != nullptr) {
      pFrame->ShowControlBar(pBar, FALSE, FALSE);
      pFrame->RecalcLayout();
    } else {
      pBar->ShowWindow(SW_HIDE);
    }
    const int nSel = m_barList.GetCurSel();
    m_barList.DeleteString(nSel);
    if (m_barList.GetCount() > 0) m_barList.SetCurSel(std::min(nSel, m_barList.GetCount() - 1));
    UpdateBarControls(pDialog);
    return;
  }
  const HWND hBar = pBar->GetSafeHwnd();
  const bool bKept = std::any_of(m_resetBars.begin(), m_resetBars.end(), [hBar](const ResetBar& r) { return r.hBar == hBar; });
  if (!bKept) {
    auto buttons = std::make_shared<SECControlBarInfo>();
    pBar->GetBarInfoEx(buttons.get());
    m_resetBars.push_back({hBar, buttons, pBar->m_nMRUWidth});
  }
  int nCount = 0;
  const UINT* pIDs = nullptr;
  if (auto* pMenuBar = dynamic_cast<SECMenuBar*>(pBar)) {
    pMenuBar->ResetMenus(TRUE);
  } else if (nID == SEC_IDW_MENUBAR) {
    m_pManager->GetMenuBarButtonIds(nCount, pIDs);
    pBar->SetButtons(pIDs, nCount);
  } else if (m_pManager->GetDefaultButtons(nID, nCount, pIDs)) {
    pBar->SetButtons(pIDs, nCount);
  } else {
    return;
  }
  // A floating bar's own frame shows the shape that is kept for it.
  pBar->LayOutFloatingFrame();
  if (pFrame != nullptr) pFrame->RecalcLayout();
  pBar->Invalidate();
}

void SECToolBarsBase::CommitBars() {
  CFrameWnd* pFrame = m_pManager != nullptr ? m_pManager->GetFrameWnd() : nullptr;
  for (const DeletedBar& deleted : m_deletedBars) {
    if (::IsWindow(deleted.hBar)) ::DestroyWindow(deleted.hBar);
  }
  if (!m_deletedBars.empty() && pFrame != nullptr && pFrame->GetSafeHwnd() != nullptr) pFrame->RecalcLayout();
  m_deletedBars.clear();
  m_resetBars.clear();
  m_renamedBars.clear();
}

void SECToolBarsBase::RevertBars(CDialog* pDialog) {
  CFrameWnd* pFrame = m_pManager != nullptr ? m_pManager->GetFrameWnd() : nullptr;
  const bool bFrame = pFrame != nullptr && pFrame->GetSafeHwnd() != nullptr;
  const bool bList = m_barList.GetSafeHwnd() != nullptr;
  bool bChanged = false;
  // The names first: a deleted bar comes back into the list under its own.
  for (const RenamedBar& renamed : m_renamedBars) {
    auto* pBar = dynamic_cast<SECCustomToolBar*>(CWnd::FromHandlePermanent(renamed.hBar));
    if (pBar != nullptr && ::IsWindow(renamed.hBar)) SetBarTitle(pBar, renamed.strTitle);
  }
  for (const DeletedBar& deleted : m_deletedBars) {
    auto* pBar = dynamic_cast<SECCustomToolBar*>(CWnd::FromHandlePermanent(deleted.hBar));
    if (pBar == nullptr || !::IsWindow(deleted.hBar)) continue;
    if (deleted.bVisible && bFrame) pFrame->ShowControlBar(pBar, TRUE, FALSE);
    if (bList) InsertBar(pBar);
    bChanged = true;
  }
  for (const ResetBar& reset : m_resetBars) {
    auto* pBar = dynamic_cast<SECCustomToolBar*>(CWnd::FromHandlePermanent(reset.hBar));
    if (pBar == nullptr || !::IsWindow(reset.hBar)) continue;
    pBar->SetBarInfoEx(reset.buttons.get(), pFrame);
    // The width it floated at, which the reset's buttons had widened: what is shown is what a
    // saved layout keeps.
    pBar->m_nMRUWidth = reset.nMRUWidth;
    pBar->LayOutFloatingFrame();
    pBar->Invalidate();
    bChanged = true;
  }
  m_deletedBars.clear();
  m_resetBars.clear();
  m_renamedBars.clear();
  if (bChanged && bFrame) pFrame->RecalcLayout();
  if (bList && pDialog->GetSafeHwnd() != nullptr) UpdateBarControls(pDialog);
}

void SECToolBarsBase::ApplyToolTips(CDialog* pDialog) {
  auto* pCheck = static_cast<CButton*>(pDialog->GetDlgItem(IDC_SEC_SHOW_TOOLTIPS));
  if (m_pManager == nullptr || pCheck == nullptr) return;
  m_bToolTips = pCheck->GetCheck() == BST_CHECKED;
  m_pManager->EnableToolTips(m_bToolTips);
}

namespace {
void TellOtherPages(CPropertyPage* pSheetPage, WPARAM nCode) {
  CWnd* pSheet = pSheetPage != nullptr ? pSheetPage->GetParent() : nullptr;
  if (pSheet == nullptr) return;
  for (CWnd* pChild = pSheet->GetWindow(GW_CHILD); pChild != nullptr; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
    if (pChild != pSheetPage && pChild->IsKindOf(RUNTIME_CLASS(CPropertyPage)))
      pChild->SendMessage(wmSECToolBarStyleChanging, nCode);
  }
}
}  // namespace

void SECToolBarsBase::ApplyCoolLook(CDialog* pDialog, CPropertyPage* pSheetPage) {
  auto* pCheck = static_cast<CButton*>(pDialog->GetDlgItem(IDC_SEC_COOL_LOOK));
  if (m_pManager == nullptr || pCheck == nullptr) return;
  m_bCoolLook = pCheck->GetCheck() == BST_CHECKED;
  m_pManager->EnableCoolLook(m_bCoolLook, CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER);
  TellOtherPages(pSheetPage, SEC_STYLECHANGE_COOLLOOK);
}

void SECToolBarsBase::ApplyLargeButtons(CDialog* pDialog, CPropertyPage* pSheetPage) {
  auto* pCheck = static_cast<CButton*>(pDialog->GetDlgItem(IDC_SEC_LARGE_BUTTONS));
  if (m_pManager == nullptr || pCheck == nullptr) return;
  m_bLargeButtons = pCheck->GetCheck() == BST_CHECKED;
  m_pManager->EnableLargeButtons(m_bLargeButtons);
  TellOtherPages(pSheetPage, SEC_STYLECHANGE_LARGEBUTTONS);
}

LRESULT SECToolBarsBase::BarNotify(CDialog* pDialog, WPARAM wParam, LPARAM lParam) {
  if (m_barList.GetSafeHwnd() == nullptr) return 0;
  const UINT nID = static_cast<UINT>(wParam);
  int nPos = -1;
  for (int i = 0; i < m_barList.GetCount() && nPos < 0; ++i) {
    if (static_cast<UINT>(m_barList.GetItemData(i)) == nID) nPos = i;
  }
  switch (lParam) {
    case SEC_BAR_SHOWN:
    case SEC_BAR_HIDDEN:
      if (nPos >= 0) m_barList.SetCheck(nPos, lParam == SEC_BAR_SHOWN ? 1 : 0);
      break;
    case SEC_BAR_CREATED:
      if (nPos < 0 && m_pManager != nullptr) {
        if (SECCustomToolBar* pBar = m_pManager->FindToolBar(nID)) {
          nPos = InsertBar(pBar);
          if (nPos >= 0) m_barList.SetCheck(nPos, 1);
        }
      }
      break;
    case SEC_BAR_DESTROYED:
      if (nPos >= 0) {
        const BOOL bSelected = m_barList.GetCurSel() == nPos;
        m_barList.DeleteString(nPos);
        if (bSelected && m_barList.GetCount() > 0) {
          m_barList.SetCurSel(std::min(nPos, m_barList.GetCount() - 1));
          UpdateBarControls(pDialog);
        }
      }
      break;
    default:
      break;
  }
  return 0;
}

// ---- the page form ----

BEGIN_MESSAGE_MAP(SECToolBarsPage, CPropertyPage)
  ON_LBN_SELCHANGE(IDC_SEC_TOOLBAR_LIST, OnSelChange)
  ON_CONTROL(CLBN_CHKCHANGE, IDC_SEC_TOOLBAR_LIST, OnCheckChange)
  ON_EN_KILLFOCUS(IDC_SEC_TOOLBAR_NAME, OnNameKillFocus)
  ON_BN_CLICKED(IDC_SEC_TOOLBAR_NEW, OnNew)
  ON_BN_CLICKED(IDC_SEC_TOOLBAR_RESET, OnResetBar)
  ON_BN_CLICKED(IDC_SEC_SHOW_TOOLTIPS, OnToolTips)
  ON_BN_CLICKED(IDC_SEC_COOL_LOOK, OnCoolLook)
  ON_BN_CLICKED(IDC_SEC_LARGE_BUTTONS, OnLargeButtons)
  ON_REGISTERED_MESSAGE(wmSECBarNotify, OnBarNotify)
END_MESSAGE_MAP()

SECToolBarsPage::SECToolBarsPage() : CPropertyPage(IDD_SEC_TOOLBARS_PAGE) {}

SECToolBarsPage::~SECToolBarsPage() {
  // A sheet gone with neither OK nor Cancel keeps the bars.
  RevertBars(this);
  if (m_pManager != nullptr) m_pManager->RemoveNotifyWindow(this);
}

void SECToolBarsPage::OnOK() {
  CommitBars();
  CPropertyPage::OnOK();
}

void SECToolBarsPage::OnResetBar() {
  ResetOrDeleteBar(this);
  // Apply makes a Delete or Reset final.
  if (HasPendingChanges()) SetModified(TRUE);
}

void SECToolBarsPage::OnNameKillFocus() {
  RenameSelectedBar(this);
  if (HasPendingChanges()) SetModified(TRUE);
}

void SECToolBarsPage::OnCancel() {
  RevertBars(this);
  CPropertyPage::OnCancel();
}

void SECToolBarsPage::SetManager(SECToolBarManager* pManager) {
  SECToolBarsBase::SetManager(pManager);
  if (pManager != nullptr) pManager->AddNotifyWindow(this);
}

BOOL SECToolBarsPage::OnInitDialog() {
  InitBars(this);
  CPropertyPage::OnInitDialog();
  return TRUE;
}

void SECToolBarsPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  ExchangeOptions(pDX);
}

// ---- the dialog form ----

BEGIN_MESSAGE_MAP(SECToolBarsDlg, CDialog)
  ON_LBN_SELCHANGE(IDC_SEC_TOOLBAR_LIST, OnSelChange)
  ON_CONTROL(CLBN_CHKCHANGE, IDC_SEC_TOOLBAR_LIST, OnCheckChange)
  ON_EN_KILLFOCUS(IDC_SEC_TOOLBAR_NAME, OnNameKillFocus)
  ON_BN_CLICKED(IDC_SEC_TOOLBAR_NEW, OnNew)
  ON_BN_CLICKED(IDC_SEC_TOOLBAR_CUSTOMIZE, OnCustomize)
  ON_BN_CLICKED(IDC_SEC_TOOLBAR_RESET, OnResetBar)
  ON_BN_CLICKED(IDC_SEC_HELP, OnHelpButton)
  ON_BN_CLICKED(IDC_SEC_SHOW_TOOLTIPS, OnOption)
  ON_BN_CLICKED(IDC_SEC_COOL_LOOK, OnOption)
  ON_BN_CLICKED(IDC_SEC_LARGE_BUTTONS, OnOption)
  ON_REGISTERED_MESSAGE(wmSECBarNotify, OnBarNotify)
END_MESSAGE_MAP()

SECToolBarsDlg::SECToolBarsDlg(SECToolBarManager* pManager, CWnd* pParent) : CDialog(IDD_SEC_TOOLBARS_DIALOG, pParent) {
  SetManager(pManager);
}

SECToolBarsDlg::~SECToolBarsDlg() {
  RevertBars(this);
  if (m_pManager != nullptr) m_pManager->RemoveNotifyWindow(this);
}

BOOL SECToolBarsDlg::OnInitDialog() {
  InitBars(this);
  CDialog::OnInitDialog();
  // There is no help file to open.
  if (CWnd* pHelp = GetDlgItem(IDC_SEC_HELP)) pHelp->EnableWindow(FALSE);
  if (m_pManager != nullptr) {
    m_pManager->AddNotifyWindow(this);
    m_pManager->SetCustomizeDialog(this);
    m_pManager->SetCustomizeMode(TRUE);
    m_pManager->EnterConfigMode();
  }
  return TRUE;
}

void SECToolBarsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  ExchangeOptions(pDX);
}

void SECToolBarsDlg::OnOption() {
  UpdateData(TRUE);
  if (m_pManager == nullptr) return;
  m_pManager->EnableToolTips(m_bToolTips);
  m_pManager->EnableCoolLook(m_bCoolLook, CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER);
  m_pManager->EnableLargeButtons(m_bLargeButtons);
}

void SECToolBarsDlg::OnNew() {
  if (NewToolBar(this)) EndDialog(IDC_SEC_TOOLBAR_CUSTOMIZE_RESULT);
}

void SECToolBarsDlg::EndDialog(int nResult) {
  if (m_bEnded) return;
  m_bEnded = TRUE;
  RenameSelectedBar(this);
  if (nResult != IDCANCEL) {
    OnOption();
    CommitBars();
  } else {
    RevertBars(this);
  }
  if (m_pManager != nullptr) {
    m_pManager->ExitConfigMode();
    m_pManager->SetCustomizeMode(FALSE);
    m_pManager->RemoveNotifyWindow(this);
    m_pManager->SetCustomizeDialog(nullptr);
  }
  CDialog::EndDialog(nResult);
}

void SECNewToolBar::OnHelpButton() { SECShowDialogHelp(IDD_SEC_NEWTOOLBAR); }

void SECToolBarsDlg::OnHelpButton() { SECShowDialogHelp(IDD_SEC_TOOLBARS_DIALOG); }

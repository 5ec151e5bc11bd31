// The Find and Replace dialogs: their controls and histories, and how each button passes its
// request to the editor controller that owns the dialog.
#include "editor/ctl/SECEditFindReplaceDlg.h"

#include "afx/DataExchange.h"
#include "editor/SECEditRegExp.h"

namespace {

// The most characters the find and replace texts take.
constexpr int kMaxText = 128;

void AddToHistory(CStringList* history, const CString& text) {
  if (history == nullptr || text.IsEmpty()) return;
  if (POSITION at = history->Find(text)) history->RemoveAt(at);
  history->AddHead(text);
  while (history->GetCount() > SECEditFindReplaceDlg::kHistoryMax) history->RemoveTail();
}

void FillCombo(CComboBox& combo, const CStringList* history) {
  if (combo.GetSafeHwnd() == nullptr) return;
  combo.ResetContent();
  if (history == nullptr) return;
  for (POSITION pos = history->GetHeadPosition(); pos != nullptr;) combo.AddString(history->GetNext(pos));
}

}  // namespace

_SEC_FIND_REPLACE_STATE::_SEC_FIND_REPLACE_STATE() {
  // Probed once: the regular-expression option is offered only where the object can be made.
  SECEditRegExp probe;
  m_bRegExpAvailable = probe.Create();
}

_SEC_FIND_REPLACE_STATE* SECEditGetFindReplaceState() {
  static _SEC_FIND_REPLACE_STATE state;
  return &state;
}

BEGIN_MESSAGE_MAP(SECEditFindReplaceDlg, CDialog)
  ON_BN_CLICKED(IDOK, OnFindNext)
  ON_BN_CLICKED(IDC_SECEDIT_MARKALL, OnMarkAll)
  ON_BN_CLICKED(IDC_SECEDIT_REPLACE, OnReplace)
  ON_BN_CLICKED(IDC_SECEDIT_REPLACEALL, OnReplaceAll)
  ON_BN_CLICKED(IDC_SECEDIT_REGEXP, OnRegExp)
  ON_BN_CLICKED(IDC_SECEDIT_CHOICE_FIRST, OnChoice)
  ON_BN_CLICKED(IDC_SECEDIT_CHOICE_SECOND, OnChoice)
  ON_CBN_EDITCHANGE(IDC_SECEDIT_FINDTEXT, OnFindEdited)
  ON_CBN_SELCHANGE(IDC_SECEDIT_FINDTEXT, OnFindChosen)
  ON_WM_ACTIVATE()
END_MESSAGE_MAP()

SECEditFindReplaceDlg::SECEditFindReplaceDlg() = default;

void SECEditFindReplaceDlg::Setup(BOOL bFindOnly, ISECEditFindReplaceNotify* owner, CStringList* findHistory,
                                  CStringList* replaceHistory) {
  m_bFindOnly = bFindOnly;
  m_pOwner = owner;
  m_pFindHistory = findHistory;
  m_pReplaceHistory = replaceHistory;
}

BOOL SECEditFindReplaceDlg::CreateModeless(CWnd* parent) {
  m_bModal = FALSE;
  if (!Create(m_bFindOnly ? IDD_SECEDIT_FIND : IDD_SECEDIT_REPLACE, parent)) return FALSE;
  ShowWindow(SW_SHOW);
  return TRUE;
}

INT_PTR SECEditFindReplaceDlg::DoModal() {
  if (m_lpszTemplateName == nullptr)
    m_lpszTemplateName = MAKEINTRESOURCE(m_bFindOnly ? IDD_SECEDIT_FIND : IDD_SECEDIT_REPLACE);
  m_bModal = TRUE;
  return CDialog::DoModal();
}

void SECEditFindReplaceDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SECEDIT_FINDTEXT, m_findCombo);
  DDX_CBString(pDX, IDC_SECEDIT_FINDTEXT, m_strFind);
  DDV_MaxChars(pDX, m_strFind, kMaxText);
  if (!m_bFindOnly) {
    DDX_Control(pDX, IDC_SECEDIT_REPLACETEXT, m_replaceCombo);
    DDX_CBString(pDX, IDC_SECEDIT_REPLACETEXT, m_strReplace);
    DDV_MaxChars(pDX, m_strReplace, kMaxText);
  }
  DDX_Check(pDX, IDC_SECEDIT_MATCHCASE, m_bMatchCase);
  DDX_Check(pDX, IDC_SECEDIT_WHOLEWORD, m_bWholeWord);
  DDX_Check(pDX, IDC_SECEDIT_REGEXP, m_bRegExp);
  DDX_Radio(pDX, IDC_SECEDIT_CHOICE_FIRST, m_nChoice);
}

BOOL SECEditFindReplaceDlg::OnInitDialog() {
  UpdateControls();
  CDialog::OnInitDialog();
  m_findCombo.SetWindowText(m_strFind);
  if (!m_bFindOnly) {
    if (CWnd* selection = GetDlgItem(IDC_SECEDIT_CHOICE_FIRST)) selection->EnableWindow(m_bSelectionAllowed);
    m_replaceCombo.SetWindowText(m_strReplace);
  }
  if (!m_bRegExpAvailable)
    if (CWnd* regExp = GetDlgItem(IDC_SECEDIT_REGEXP)) regExp->ShowWindow(SW_HIDE);
  FillCombos();
  ApplyRegularExpressionOption();
  return TRUE;
}

void SECEditFindReplaceDlg::UpdateControls() {
  if (GetSafeHwnd() == nullptr) return;
  const BOOL text = !m_strFind.IsEmpty();
  auto enable = [&](UINT id, BOOL on) {
    if (CWnd* item = GetDlgItem(id)) item->EnableWindow(on);
  };
  enable(IDOK, text && (m_bFindOnly || m_nChoice == 1));
  enable(IDC_SECEDIT_MARKALL, text);
  enable(IDC_SECEDIT_REPLACE, text && !m_bFindOnly && m_nChoice == 1);
  enable(IDC_SECEDIT_REPLACEALL, text);
}

void SECEditFindReplaceDlg::ApplyRegularExpressionOption() {
  if (GetSafeHwnd() == nullptr) return;
  CWnd* up = m_bFindOnly ? GetDlgItem(IDC_SECEDIT_CHOICE_FIRST) : nullptr;
  CWnd* word = GetDlgItem(IDC_SECEDIT_WHOLEWORD);
  if (m_bRegExp) {
    // A regular expression searches down only, and has its own notion of words.
    if (m_bFindOnly) {
      m_nChoice = 1;
      CheckRadioButton(IDC_SECEDIT_CHOICE_FIRST, IDC_SECEDIT_CHOICE_SECOND, IDC_SECEDIT_CHOICE_SECOND);
    }
    m_bWholeWord = FALSE;
    CheckDlgButton(IDC_SECEDIT_WHOLEWORD, BST_UNCHECKED);
    if (up != nullptr) up->EnableWindow(FALSE);
    if (word != nullptr) word->EnableWindow(FALSE);
  } else {
    if (up != nullptr) up->EnableWindow(TRUE);
    if (word != nullptr) word->EnableWindow(TRUE);
  }
  UpdateControls();
}

void SECEditFindReplaceDlg::SaveHistory() {
  AddToHistory(m_pFindHistory, m_strFind);
  if (!m_bFindOnly) AddToHistory(m_pReplaceHistory, m_strReplace);
}

void SECEditFindReplaceDlg::FillCombos() {
  FillCombo(m_findCombo, m_pFindHistory);
  if (m_strFind.IsEmpty() && m_pFindHistory != nullptr && !m_pFindHistory->IsEmpty())
    m_strFind = m_pFindHistory->GetHead();
  if (m_findCombo.GetSafeHwnd() != nullptr) m_findCombo.SetWindowText(m_strFind);
  UpdateControls();
  if (!m_bFindOnly) {
    FillCombo(m_replaceCombo, m_pReplaceHistory);
    if (m_replaceCombo.GetSafeHwnd() != nullptr) m_replaceCombo.SetWindowText(m_strReplace);
  }
}

BOOL SECEditFindReplaceDlg::Request(int command) {
  if (!UpdateData(TRUE)) return FALSE;
  SaveHistory();
  FillCombos();
  m_nCommand = command;
  return m_pOwner != nullptr && m_pOwner->OnFindReplaceCommand(this);
}

void SECEditFindReplaceDlg::OnFindNext() {
  if (Request(kFindNext) && m_bModal && m_bFindOnly) EndDialog(IDOK);
}

void SECEditFindReplaceDlg::OnMarkAll() {
  if (Request(kMarkAll) && m_bModal) EndDialog(IDOK);
}

void SECEditFindReplaceDlg::OnReplace() { Request(kReplace); }

void SECEditFindReplaceDlg::OnReplaceAll() {
  if (Request(kReplaceAll) && m_bModal) EndDialog(IDOK);
}

void SECEditFindReplaceDlg::OnRegExp() {
  UpdateData(TRUE);
  ApplyRegularExpressionOption();
}

void SECEditFindReplaceDlg::OnChoice() {
  UpdateData(TRUE);
  UpdateControls();
}

void SECEditFindReplaceDlg::OnFindEdited() {
  UpdateData(TRUE);
  UpdateControls();
}

void SECEditFindReplaceDlg::OnFindChosen() {
  const int index = m_findCombo.GetCurSel();
  if (index >= 0) m_findCombo.GetLBText(index, m_strFind);
  UpdateControls();
}

void SECEditFindReplaceDlg::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CDialog::OnActivate(nState, pWndOther, bMinimized);
  if (nState == WA_INACTIVE || m_bFindOnly) return;
  CWnd* selection = GetDlgItem(IDC_SECEDIT_CHOICE_FIRST);
  if (m_pOwner != nullptr && m_pOwner->CanReplaceInSelection() && m_bSelectionAllowed) {
    if (selection != nullptr) selection->EnableWindow(TRUE);
    return;
  }
  if (selection != nullptr) selection->EnableWindow(FALSE);
  m_nChoice = 1;
  CheckRadioButton(IDC_SECEDIT_CHOICE_FIRST, IDC_SECEDIT_CHOICE_SECOND, IDC_SECEDIT_CHOICE_SECOND);
  UpdateControls();
}

void SECEditFindReplaceDlg::OnCancel() {
  if (m_bModal) {
    CDialog::OnCancel();
    return;
  }
  m_nCommand = kClosing;
  if (m_pOwner != nullptr) m_pOwner->OnFindReplaceCommand(this);
  DestroyWindow();
}

void SECEditFindReplaceDlg::PostNcDestroy() {
  if (!m_bModal) delete this;
}

// CFindReplaceDialog: the Find and Replace dialogs from the framework's templates, their options
// and the FINDMSGSTRING notifications to the owner.
#include "afx/CFindReplaceDialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "afx/CWinApp.h"

IMPLEMENT_DYNAMIC(CFindReplaceDialog, CCommonDialog)

namespace {

// The controls of the templates: the standard ones of the Find and Replace dialogs.
constexpr int kFindWhat = 0x0480;     // edt1
constexpr int kReplaceWith = 0x0481;  // edt2
constexpr int kWholeWord = 0x0410;    // chx1
constexpr int kMatchCase = 0x0411;    // chx2
constexpr int kUp = 0x0420;           // rad1
constexpr int kDown = 0x0421;         // rad2
constexpr int kDirection = 0x0430;    // grp1
constexpr int kReplace = 0x0400;      // psh1
constexpr int kReplaceAll = 0x0401;   // psh2
constexpr int kHelp = 0x040E;         // pshHelp

// The dialogs alive on this thread, for GetNotifier.
thread_local std::vector<CFindReplaceDialog*> t_dialogs;

UINT FindMessage() {
  static const UINT message = ::RegisterWindowMessage(FINDMSGSTRING);
  return message;
}

}  // namespace

CFindReplaceDialog::CFindReplaceDialog() : CCommonDialog(nullptr) {
  std::memset(&m_fr, 0, sizeof(m_fr));
  m_szFindWhat[0] = m_szReplaceWith[0] = '\0';
  m_fr.lStructSize = sizeof(m_fr);
  m_fr.Flags = FR_ENABLEHOOK;
  m_fr.lpstrFindWhat = m_szFindWhat;
  m_fr.wFindWhatLen = sizeof(m_szFindWhat);
  m_fr.lpstrReplaceWith = m_szReplaceWith;
  m_fr.wReplaceWithLen = sizeof(m_szReplaceWith);
  t_dialogs.push_back(this);
}

CFindReplaceDialog::~CFindReplaceDialog() { std::erase(t_dialogs, this); }

BOOL CFindReplaceDialog::Create(BOOL bFindDialogOnly, LPCTSTR lpszFindWhat, LPCTSTR lpszReplaceWith, DWORD dwFlags,
                                CWnd* pParentWnd) {
  m_bFindOnly = bFindDialogOnly;
  m_fr.Flags |= dwFlags;
  if (pParentWnd == nullptr) pParentWnd = AfxGetMainWnd();
  m_fr.hwndOwner = pParentWnd->GetSafeHwnd();
  if (m_fr.hwndOwner == nullptr) return FALSE;
  if (lpszFindWhat != nullptr) {
    std::strncpy(m_szFindWhat, lpszFindWhat, sizeof(m_szFindWhat) - 1);
    m_szFindWhat[sizeof(m_szFindWhat) - 1] = '\0';
  }
  if (lpszReplaceWith != nullptr) {
    std::strncpy(m_szReplaceWith, lpszReplaceWith, sizeof(m_szReplaceWith) - 1);
    m_szReplaceWith[sizeof(m_szReplaceWith) - 1] = '\0';
  }
  // The caller's template when it gives one, the framework's otherwise.
  LPCTSTR name = (m_fr.Flags & FR_ENABLETEMPLATE) && m_fr.lpTemplateName != nullptr
                     ? m_fr.lpTemplateName
                     : MAKEINTRESOURCE(bFindDialogOnly ? AFX_IDD_FIND : AFX_IDD_REPLACE);
  m_pParentWnd = pParentWnd;
  return CDialog::Create(name, pParentWnd);
}

CFindReplaceDialog* CFindReplaceDialog::GetNotifier(LPARAM lParam) {
  auto* fr = reinterpret_cast<FINDREPLACE*>(lParam);
  auto it = std::find_if(t_dialogs.begin(), t_dialogs.end(), [fr](CFindReplaceDialog* d) { return &d->m_fr == fr; });
  return it != t_dialogs.end() ? *it : nullptr;
}

BOOL CFindReplaceDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(kFindWhat, m_szFindWhat);
  if (!m_bFindOnly) SetDlgItemText(kReplaceWith, m_szReplaceWith);
  CheckDlgButton(kWholeWord, (m_fr.Flags & FR_WHOLEWORD) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kMatchCase, (m_fr.Flags & FR_MATCHCASE) ? BST_CHECKED : BST_UNCHECKED);
  if (m_bFindOnly) CheckRadioButton(kUp, kDown, (m_fr.Flags & FR_DOWN) ? kDown : kUp);
  // Options the caller disables are grey; those it hides are gone.
  struct Option {
    int id;
    DWORD disable, hide;
  } options[] = {{kWholeWord, FR_NOWHOLEWORD, FR_HIDEWHOLEWORD},
                 {kMatchCase, FR_NOMATCHCASE, FR_HIDEMATCHCASE},
                 {kUp, FR_NOUPDOWN, FR_HIDEUPDOWN},
                 {kDown, FR_NOUPDOWN, FR_HIDEUPDOWN},
                 {kDirection, FR_NOUPDOWN, FR_HIDEUPDOWN}};
  for (const Option& o : options) {
    CWnd* control = GetDlgItem(o.id);
    if (control == nullptr) continue;
    if (m_fr.Flags & o.disable) control->EnableWindow(FALSE);
    if (m_fr.Flags & o.hide) control->ShowWindow(SW_HIDE);
  }
  if (CWnd* help = GetDlgItem(kHelp)) help->ShowWindow((m_fr.Flags & FR_SHOWHELP) ? SW_SHOW : SW_HIDE);
  UpdateButtons();
  if (CWnd* edit = GetDlgItem(kFindWhat)) {
    edit->SetFocus();
    edit->SendMessage(EM_SETSEL, 0, -1);
  }
  return FALSE;  // the focus is set
}

void CFindReplaceDialog::UpdateButtons() {
  // Nothing to find: nothing to press.
  BOOL any = GetDlgItem(kFindWhat) != nullptr && GetDlgItem(kFindWhat)->GetWindowTextLength() > 0;
  for (int id : {static_cast<int>(IDOK), kReplace, kReplaceAll})
    if (CWnd* button = GetDlgItem(id)) button->EnableWindow(any);
}

BOOL CFindReplaceDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case kFindWhat:
      if (HIWORD(wParam) == EN_CHANGE) UpdateButtons();
      return TRUE;
    case kReplace:
      if (HIWORD(wParam) == BN_CLICKED) Notify(FR_REPLACE);
      return TRUE;
    case kReplaceAll:
      if (HIWORD(wParam) == BN_CLICKED) Notify(FR_REPLACEALL);
      return TRUE;
  }
  return CCommonDialog::OnCommand(wParam, lParam);
}

void CFindReplaceDialog::OnOK() { Notify(FR_FINDNEXT); }

void CFindReplaceDialog::OnCancel() {
  Notify(FR_DIALOGTERM);
  DestroyWindow();
}

void CFindReplaceDialog::Notify(DWORD action) {
  if (action != FR_DIALOGTERM) {
    ::GetDlgItemText(m_hWnd, kFindWhat, m_szFindWhat, sizeof(m_szFindWhat));
    if (!m_bFindOnly) ::GetDlgItemText(m_hWnd, kReplaceWith, m_szReplaceWith, sizeof(m_szReplaceWith));
  }
  DWORD options = m_fr.Flags & ~static_cast<DWORD>(FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM |
                                                   FR_WHOLEWORD | FR_MATCHCASE);
  if (IsDlgButtonChecked(kWholeWord)) options |= FR_WHOLEWORD;
  if (IsDlgButtonChecked(kMatchCase)) options |= FR_MATCHCASE;
  // The Replace dialog searches down.
  if (m_bFindOnly && GetDlgItem(kUp) != nullptr) {
    options &= ~static_cast<DWORD>(FR_DOWN);
    if (!IsDlgButtonChecked(kUp)) options |= FR_DOWN;
  } else {
    options |= FR_DOWN;
  }
  m_fr.Flags = options | action;
  if (::IsWindow(m_fr.hwndOwner)) ::SendMessage(m_fr.hwndOwner, FindMessage(), 0, reinterpret_cast<LPARAM>(&m_fr));
}

void CFindReplaceDialog::PostNcDestroy() { delete this; }

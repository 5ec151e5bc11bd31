// The registry workspaces' dialog and list editor: choosing a workspace to open or save, and the
// checks on names edited or added (empty, already present), with the edits kept in the working
// and deleted lists until the caller applies them.
#include "bars/SECWorkspaceManagerExDlg.h"

#include <algorithm>

#include "bars/SECDialogHelp.h"
#include "resources/Menus.h"

IMPLEMENT_DYNAMIC(SECWSLBEditorEx, SECListBoxEditor)
IMPLEMENT_DYNAMIC(SECWsMgrDialogEx, CDialog)

namespace {

void SwapAt(CStringList& list, int a, int b) {
  POSITION pa = list.FindIndex(a), pb = list.FindIndex(b);
  if (pa == nullptr || pb == nullptr) return;
  const CString first = list.GetAt(pa);
  list.SetAt(pa, list.GetAt(pb));
  list.SetAt(pb, first);
}

}  // namespace

// ---- the editor ----

SECWSLBEditorEx::SECWSLBEditorEx(CStringList* pStored, CStringList* pWorking, CStringList* pDeleted,
                                 SECWsMgrDialogEx* pDialog)
    : m_pStored(pStored), m_pWorking(pWorking), m_pDeleted(pDeleted), m_pDialog(pDialog) {}

int SECWSLBEditorEx::Message(UINT nID, LPCTSTR lpszName, UINT nType) {
  CString text;
  if (lpszName != nullptr)
    text.Format(nID, lpszName);
  else
    text = CString(MAKEINTRESOURCE(nID));
  return ::MessageBox(m_pDialog->GetSafeHwnd(), text, CString(MAKEINTRESOURCE(IDS_SEC_WORKSPACE_MANAGER)), nType);
}

BOOL SECWSLBEditorEx::Contains(const CStringList& list, const CString& strName, BOOL bIgnoreCase) {
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    const CString& entry = list.GetNext(pos);
    if (bIgnoreCase ? entry.CompareNoCase(strName) == 0 : entry == strName) return TRUE;
  }
  return FALSE;
}

void SECWSLBEditorEx::OnEditingStarted() { m_pDialog->EnableButtons(TRUE); }

void SECWSLBEditorEx::OnEditingStopped() { m_pDialog->EnableButtons(FALSE); }

void SECWSLBEditorEx::PutBack(int nIndex, const CString& strOld) {
  CListBox* list = GetListBox();
  list->SetRedraw(FALSE);
  list->InsertString(nIndex, strOld);
  list->DeleteString(static_cast<UINT>(nIndex + 1));
  list->SetCurSel(nIndex);
  list->SetRedraw(TRUE);
}

void SECWSLBEditorEx::OnItemChanged(int nIndex, const CString& strOld, const CString& strNew) {
  if (strNew.IsEmpty()) {
    Message(IDS_SEC_INVALID_WORKSPACE_NAME, nullptr, MB_OK | MB_ICONEXCLAMATION);
    PutBack(nIndex, strOld);
    return;
  }
  // Names are keys of the store, which tells them apart ignoring case: another workspace's name
  // in any case is taken, while the entry's own name may change its case.
  POSITION own = m_pWorking->Find(strOld);
  for (POSITION pos = m_pWorking->GetHeadPosition(); pos != nullptr;) {
    const POSITION at = pos;
    const CString& name = m_pWorking->GetNext(pos);
    if (at != own && name.CompareNoCase(strNew) == 0) {
      Message(IDS_SEC_WORKSPACE_EXISTS, strNew, MB_OK | MB_ICONEXCLAMATION);
      PutBack(nIndex, strOld);
      return;
    }
  }
  if (own != nullptr) m_pWorking->SetAt(own, strNew);
  m_pDialog->ShowCurrent();
}

void SECWSLBEditorEx::OnItemAdded(int, const CString& strText) {
  if (strText.IsEmpty()) {
    Message(IDS_SEC_INVALID_NEW_NAME, nullptr, MB_OK | MB_ICONEXCLAMATION);
    RemoveNewItem();
    return;
  }
  if (Contains(*m_pWorking, strText, TRUE)) {
    Message(IDS_SEC_NEW_WORKSPACE_EXISTS, strText, MB_OK | MB_ICONEXCLAMATION);
    RemoveNewItem();
    return;
  }
  if (Message(IDS_SEC_SAVE_NEW_WORKSPACE, strText, MB_YESNO | MB_ICONQUESTION) == IDYES)
    m_pDialog->PostMessage(WM_COMMAND, SECWsMgrDialogEx::kSave);
  else
    RemoveNewItem();
}

void SECWSLBEditorEx::OnItemMoved(int nFrom, int nTo, const CString&) {
  SwapAt(*m_pStored, nFrom, nTo);
  SwapAt(*m_pWorking, nFrom, nTo);
}

// A deleted row leaves both lists at once, so its name is free for another row's rename; the
// workspace to delete is the one its row stood for when the dialog opened.
void SECWSLBEditorEx::OnItemDeleted(int, const CString& strText) {
  int nRow = 0;
  POSITION at = m_pWorking->GetHeadPosition();
  for (; at != nullptr && m_pWorking->GetAt(at) != strText; m_pWorking->GetNext(at)) ++nRow;
  POSITION storedAt = m_pStored->FindIndex(nRow);
  if (at == nullptr || storedAt == nullptr) return;
  m_pDeleted->AddTail(m_pStored->GetAt(storedAt));
  m_pStored->RemoveAt(storedAt);
  m_pWorking->RemoveAt(at);
  m_pDialog->ShowCurrent();
}

// ---- the dialog ----

BEGIN_MESSAGE_MAP(SECWsMgrDialogEx, CDialog)
  ON_BN_CLICKED(SECWsMgrDialogEx::kOpen, OnOpenOrSave)
  ON_BN_CLICKED(SECWsMgrDialogEx::kSave, OnOpenOrSave)
  ON_BN_CLICKED(SECWsMgrDialogEx::kDone, OnDone)
  ON_BN_CLICKED(ID_HELP, OnHelpButton)
  ON_WM_PAINT()
END_MESSAGE_MAP()

SECWsMgrDialogEx::SECWsMgrDialogEx(CStringList* pStored, CStringList* pWorking, CStringList* pDeleted,
                                   CString* pChosen, BOOL bOpenAllowed, BOOL bSaveAllowed, CWnd* pParent)
    : CDialog(IDD, pParent),
      m_pStored(pStored),
      m_pWorking(pWorking),
      m_pDeleted(pDeleted),
      m_pChosen(pChosen),
      m_bOldWindows(LOBYTE(LOWORD(::GetVersion())) < 4),
      m_bOpenAllowed(bOpenAllowed),
      m_bSaveAllowed(bSaveAllowed) {}

SECWsMgrDialogEx::~SECWsMgrDialogEx() { delete m_pEditor; }

void SECWsMgrDialogEx::EnableButtons(BOOL bEditing) {
  GetDlgItem(kOpen)->EnableWindow(!bEditing && m_bOpenAllowed);
  GetDlgItem(kSave)->EnableWindow(!bEditing && m_bSaveAllowed);
  GetDlgItem(kDone)->EnableWindow(!bEditing);
}

void SECWsMgrDialogEx::ShowCurrent() {
  // The current workspace is the chosen one as the dialog opened: its row is found by the name
  // it had then.
  // A current workspace without a row (none listed it) is shown as it is named.
  CString shown = m_bCurrentListed ? CString() : *m_pChosen;
  for (POSITION from = m_pStored->GetHeadPosition(), to = m_pWorking->GetHeadPosition(); from != nullptr && to != nullptr;) {
    const CString oldName = m_pStored->GetNext(from), newName = m_pWorking->GetNext(to);
    if (!m_pChosen->IsEmpty() && oldName == *m_pChosen) shown = newName;
  }
  SetDlgItemText(kCurrent, shown.IsEmpty() ? CString(MAKEINTRESOURCE(IDS_SEC_NO_WORKSPACE)) : shown);
}

BOOL SECWsMgrDialogEx::OnInitDialog() {
  CDialog::OnInitDialog();
  auto* list = static_cast<CListBox*>(GetDlgItem(kList));
  for (POSITION pos = m_pStored->GetHeadPosition(); pos != nullptr;) list->AddString(m_pStored->GetNext(pos));
  EnableButtons(FALSE);
  m_pEditor = new SECWSLBEditorEx(m_pStored, m_pWorking, m_pDeleted, this);
  m_pEditor->Initialize(this, kList, m_bSaveAllowed ? 0xF3E : 0xE7E);
  m_pEditor->SetWindowText(CString(MAKEINTRESOURCE(IDS_SEC_WORKSPACES_CAPTION)));
  SetWindowText(CString(MAKEINTRESOURCE(m_bOpenAllowed   ? IDS_SEC_OPEN_WORKSPACE
                         : m_bSaveAllowed ? IDS_SEC_SAVE_WORKSPACE
                                          : IDS_SEC_WORKSPACE_MANAGER)));
  m_bCurrentListed = !m_pChosen->IsEmpty() && m_pStored->Find(*m_pChosen) != nullptr;
  ShowCurrent();
  // The keyboard starts in the list, on the row the user acts on: to save, the empty row, where
  // typing starts a new name; to open, the current workspace (else the first). Enter is the
  // dialog's own action on that row, which checks it.
  list = m_pEditor->GetListBox();
  int nRow = 0;
  if (m_bSaveAllowed && !m_bOpenAllowed) {
    nRow = list->GetCount() - 1;
  } else if (!m_pChosen->IsEmpty()) {
    nRow = std::max(0, list->FindStringExact(-1, *m_pChosen));
  }
  if (nRow >= 0 && list->GetCount() > 0) list->SetCurSel(nRow);
  if (m_bOpenAllowed != m_bSaveAllowed) SetDefID(m_bOpenAllowed ? kOpen : kSave);
  GotoDlgCtrl(list);
  return FALSE;
}

void SECWsMgrDialogEx::OnOpenOrSave() {
  auto* list = static_cast<CListBox*>(GetDlgItem(kList));
  const int selection = list->GetCurSel();
  CString text;
  if (selection != LB_ERR) list->GetText(selection, text);
  if (selection == LB_ERR) {
    AfxMessageBox(IDS_SEC_SELECT_WORKSPACE, MB_OK);
    return;
  }
  if (text.IsEmpty()) {
    AfxMessageBox(IDS_SEC_INVALID_WORKSPACE_NAME, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  *m_pChosen = text;
  EndDialog(IDOK);
}

void SECWsMgrDialogEx::OnDone() {
  // The name handed back is always one the list shows: the current workspace's row under the
  // name it has now (a rename of it followed), or none when its row was deleted.
  bool listed = false;
  for (POSITION from = m_pStored->GetHeadPosition(), to = m_pWorking->GetHeadPosition(); from != nullptr && to != nullptr;) {
    const CString oldName = m_pStored->GetNext(from), newName = m_pWorking->GetNext(to);
    if (oldName == *m_pChosen) {
      *m_pChosen = newName;
      listed = true;
      break;
    }
  }
  if (!listed) m_pChosen->Empty();
  EndDialog(IDOK);
}

void SECWsMgrDialogEx::OnPaint() {
  Default();
  if (m_bOldWindows && m_pEditor != nullptr) m_pEditor->RedrawButtons();
}

void SECWsMgrDialogEx::OnHelpButton() { SECShowDialogHelp(IDD); }

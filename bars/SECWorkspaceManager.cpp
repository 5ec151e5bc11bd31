// SECWorkspaceManager and SECWsMgrDialog: the recent-workspace menu items (at most eight and
// "&Workspaces..."), the commands, and the dialog's open, save and done with the edits applied
// before either.
#include "bars/SECWorkspaceManager.h"

#include "bars/SECDialogHelp.h"
#include "resources/Menus.h"

IMPLEMENT_DYNAMIC(SECWorkspaceManager, CCmdTarget)
IMPLEMENT_DYNAMIC(SECWsMgrListEditor, SECListBoxEditor)
IMPLEMENT_DYNAMIC(SECWsMgrDialog, CDialog)
IMPLEMENT_DYNAMIC(SECWorkspaceState, CObject)
IMPLEMENT_DYNAMIC(SECWindowInfo, CObject)

// ---- the manager ----

BEGIN_MESSAGE_MAP(SECWorkspaceManager, CCmdTarget)
  ON_COMMAND_EX_RANGE(SECWorkspaceManager::kFirstRecent, SECWorkspaceManager::kLastRecent, OnOpenRecentWorkspace)
  ON_UPDATE_COMMAND_UI(SECWorkspaceManager::kFirstRecent, OnUpdateRecentWorkspaces)
  ON_COMMAND(43007, OnRunDialog)
  ON_COMMAND(43008, OnOpenWorkspaceCmd)
  ON_COMMAND(43009, OnSaveWorkspaceCmd)
  ON_COMMAND(43012, OnCloseWorkspaceCmd)
  ON_COMMAND(43013, OnRunDialog)
  ON_COMMAND(43014, OnRunDialog)
END_MESSAGE_MAP()

void SECWorkspaceManager::MakeCurrent(const CString& strName) {
  if (POSITION pos = m_listWorkspaces.Find(strName)) m_listWorkspaces.RemoveAt(pos);
  m_listWorkspaces.AddHead(strName);
  m_strCurrentName = strName;
}

void SECWorkspaceManager::OpenWorkspace(CString strName) { MakeCurrent(strName); }

void SECWorkspaceManager::SaveWorkspace(CString strName) { MakeCurrent(strName); }

void SECWorkspaceManager::RenameWorkspace(CString strStored, CString strEdited) {
  if (POSITION pos = m_listWorkspaces.Find(strStored)) m_listWorkspaces.SetAt(pos, strEdited);
  if (m_strCurrentName == strStored) m_strCurrentName = strEdited;
}

void SECWorkspaceManager::DeleteWorkspace(CString strName) {
  if (POSITION pos = m_listWorkspaces.Find(strName)) m_listWorkspaces.RemoveAt(pos);
  if (m_strCurrentName == strName) m_strCurrentName.Empty();
}

CDialog* SECWorkspaceManager::CreateWorkspaceDialog(SECWorkspaceManager* pManager) {
  return new SECWsMgrDialog(pManager, AfxGetMainWnd());
}

BOOL SECWorkspaceManager::RunWorkspaceDialog() {
  CDialog* dialog = CreateWorkspaceDialog(this);
  if (dialog == nullptr) return FALSE;
  dialog->DoModal();
  delete dialog;
  return TRUE;
}

BOOL SECWorkspaceManager::OnOpenRecentWorkspace(UINT nID) {
  PrepareToOpen();
  const INT_PTR index = static_cast<INT_PTR>(nID - kFirstRecent);
  if (index < m_listWorkspaces.GetCount() && nID <= kLastRecent - 1) {
    OpenWorkspace(m_listWorkspaces.GetAt(m_listWorkspaces.FindIndex(index)));
    return TRUE;
  }
  // "&Workspaces...", or an entry the list no longer has: the dialog.
  return RunWorkspaceDialog();
}

void SECWorkspaceManager::OnUpdateRecentWorkspaces(CCmdUI* pCmdUI) {
  CMenu* menu = pCmdUI->m_pMenu;
  if (menu == nullptr || menu->GetMenuItemID(static_cast<int>(pCmdUI->m_nIndex)) != kFirstRecent) return;
  UINT index = pCmdUI->m_nIndex;
  const int following = menu->GetMenuItemCount() - static_cast<int>(index);
  for (int i = 0; i < following; ++i) {
    const UINT id = menu->GetMenuItemID(static_cast<int>(index));
    if (id >= kFirstRecent && id <= kLastRecent) menu->DeleteMenu(index, MF_BYPOSITION);
  }
  UINT id = kFirstRecent;
  int n = 0;
  for (POSITION pos = m_listWorkspaces.GetHeadPosition(); pos != nullptr && n < kMenuLimit; ++index, ++id) {
    const CString name = m_listWorkspaces.GetNext(pos);
    CString text;
    text.Format("&%d %s", ++n, static_cast<LPCTSTR>(name));
    menu->InsertMenu(index, MF_BYPOSITION | MF_STRING, id, text);
    if (name == m_strCurrentName) menu->CheckMenuItem(id, MF_BYCOMMAND | MF_CHECKED);
  }
  // More names than the menu shows, or none at all: the dialog's item.
  if (m_listWorkspaces.GetCount() > kMenuLimit)
    menu->InsertMenu(index, MF_BYPOSITION | MF_STRING | MF_ENABLED, kLastRecent, CString(MAKEINTRESOURCE(IDS_SEC_WORKSPACES_MENU)));
  else if (m_listWorkspaces.IsEmpty())
    menu->InsertMenu(index, MF_BYPOSITION | MF_STRING, kFirstRecent, CString(MAKEINTRESOURCE(IDS_SEC_WORKSPACES_MENU)));
  pCmdUI->m_nIndexMax = static_cast<UINT>(menu->GetMenuItemCount());
  pCmdUI->m_bEnableChanged = TRUE;
}

void SECWorkspaceManager::OnRunDialog() { RunWorkspaceDialog(); }

void SECWorkspaceManager::OnOpenWorkspaceCmd() {
  PrepareToOpen();
  RunWorkspaceDialog();
}

void SECWorkspaceManager::OnSaveWorkspaceCmd() {
  CWaitCursor wait;
  if (!m_strCurrentName.IsEmpty())
    SaveWorkspace(m_strCurrentName);
  else
    RunWorkspaceDialog();
}

void SECWorkspaceManager::OnCloseWorkspaceCmd() { CloseWorkspace(); }

// ---- the dialog ----

void SECWsMgrListEditor::OnItemChanged(int, const CString& strOld, const CString& strNew) {
  m_pDialog->m_mapRenames.SetAt(m_pDialog->StoredNameOf(strOld), strNew);
}

void SECWsMgrListEditor::OnItemDeleted(int, const CString& strText) {
  const CString stored = m_pDialog->StoredNameOf(strText);
  m_pDialog->m_mapRenames.RemoveKey(stored);
  m_pDialog->m_listDeleted.AddTail(stored);
}

BEGIN_MESSAGE_MAP(SECWsMgrDialog, CDialog)
  ON_BN_CLICKED(SECWsMgrDialog::kOpen, OnOpen)
  ON_BN_CLICKED(SECWsMgrDialog::kSave, OnSave)
  ON_BN_CLICKED(SECWsMgrDialog::kDone, OnDone)
  ON_BN_CLICKED(ID_HELP, OnHelpButton)
  ON_WM_PAINT()
END_MESSAGE_MAP()

SECWsMgrDialog::SECWsMgrDialog(SECWorkspaceManager* pManager, CWnd* pParent)
    : CDialog(IDD, pParent), m_pManager(pManager), m_bOldWindows(LOBYTE(LOWORD(::GetVersion())) < 4) {}

SECWsMgrDialog::~SECWsMgrDialog() { delete m_pEditor; }

CString SECWsMgrDialog::StoredNameOf(const CString& strShown) const {
  POSITION pos = m_mapRenames.GetStartPosition();
  while (pos != nullptr) {
    CString stored, edited;
    m_mapRenames.GetNextAssoc(pos, stored, edited);
    if (edited == strShown) return stored;
  }
  return strShown;
}

BOOL SECWsMgrDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  auto* list = static_cast<CListBox*>(GetDlgItem(kList));
  for (POSITION pos = m_pManager->m_listWorkspaces.GetHeadPosition(); pos != nullptr;)
    list->AddString(m_pManager->m_listWorkspaces.GetNext(pos));
  m_pEditor = new SECWsMgrListEditor(this);
  m_pEditor->Initialize(this, kList, LBE_DEFAULT);
  SetDlgItemText(kCurrent,
                 m_pManager->m_strCurrentName.IsEmpty() ? CString(MAKEINTRESOURCE(IDS_SEC_NO_WORKSPACE)) : m_pManager->m_strCurrentName);
  return TRUE;
}

void SECWsMgrDialog::ApplyEdits() {
  m_pManager->PrepareToApplyEdits();
  POSITION pos = m_mapRenames.GetStartPosition();
  while (pos != nullptr) {
    CString stored, edited;
    m_mapRenames.GetNextAssoc(pos, stored, edited);
    if (stored != edited) m_pManager->RenameWorkspace(stored, edited);
  }
  for (POSITION del = m_listDeleted.GetHeadPosition(); del != nullptr;) m_pManager->DeleteWorkspace(m_listDeleted.GetNext(del));
}

BOOL SECWsMgrDialog::SelectedName(CString& strName) {
  auto* list = static_cast<CListBox*>(GetDlgItem(kList));
  const int selection = list->GetCurSel();
  if (selection == LB_ERR) {
    AfxMessageBox(IDS_SEC_SELECT_WORKSPACE, MB_OK);
    return FALSE;
  }
  list->GetText(selection, strName);
  // An empty name (the editor's trailing row) is no workspace.
  if (strName.IsEmpty()) {
    AfxMessageBox(IDS_SEC_INVALID_WORKSPACE_NAME, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  return TRUE;
}

void SECWsMgrDialog::OnOpen() {
  CWaitCursor wait;
  CString name;
  if (!SelectedName(name)) return;
  ApplyEdits();
  m_pManager->OpenWorkspace(name);
  CDialog::OnOK();
}

void SECWsMgrDialog::OnSave() {
  CWaitCursor wait;
  CString name;
  if (!SelectedName(name)) return;
  ApplyEdits();
  m_pManager->SaveWorkspace(name);
  CDialog::OnOK();
}

void SECWsMgrDialog::OnDone() {
  CWaitCursor wait;
  ApplyEdits();
  CDialog::OnOK();
}

void SECWsMgrDialog::OnPaint() {
  Default();
  if (m_bOldWindows && m_pEditor != nullptr) m_pEditor->RedrawButtons();
}

void SECWsMgrDialog::OnHelpButton() { SECShowDialogHelp(IDD); }

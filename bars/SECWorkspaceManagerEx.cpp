// SECWorkspaceManagerEx: installation, the workspace commands and the recent list (registry and
// menu), saving the tree "WorkState_v1_1" and the stored form of window placements.
#include "bars/SECWorkspaceManagerEx.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "bars/SECControlBarManager.h"
#include "bars/SECDockState.h"
#include "bars/SECFrameWndServices.h"
#include "bars/SECFullScreenView.h"
#include "bars/SECWorkspaceManagerExDlg.h"
#include "foundation/SECDocTemplateUtils.h"
#include "foundation/SECRegistry.h"
#include "os/Paths.h"
#include "resources/Menus.h"

using kelpwood::foundation::SECWndPlugIn;

IMPLEMENT_DYNCREATE(SECWorkspaceManagerEx, SECWndPlugIn)

namespace {

void PutLong(BYTE*& at, LONG value) {
  const auto bits = static_cast<DWORD>(value);
  for (int i = 0; i < 4; ++i) *at++ = static_cast<BYTE>(bits >> (8 * i));
}

LONG GetLong(const BYTE*& at) {
  DWORD bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<DWORD>(*at++) << (8 * i);
  return static_cast<LONG>(bits);
}

// A registry workspace's name as the settings keep it (its key and its recent entry), and back: the
// name the user typed, readable under any later locale (os/Paths.h).
CString StoredName(const CString& strName) { return brambolt::StoredTextOf(static_cast<LPCTSTR>(strName)).c_str(); }
CString NameOfStored(const CString& strStored) { return brambolt::TextOfStored(static_cast<LPCTSTR>(strStored)).c_str(); }

// Whether the settings hold a saved workspace tree under `key` (the recent lists live there too).
bool HoldsWorkspace(HKEY root, const CString& key) {
  SECRegistry tree;
  return tree.Connect(root) && tree.Open(key + "\\WorkState_v1_1", KEY_READ);
}

// The key a registry workspace is filed under: its stored name, or, for one an earlier release
// saved, the name's own bytes in the code page of its session (a GBK 工作区), which the program
// reads back as they are. A workspace not saved yet takes its stored name.
CString WorkspaceKeyOf(HKEY root, const CString& base, const CString& strName) {
  const CString stored = base + StoredName(strName);
  if (HoldsWorkspace(root, stored)) return stored;
  const CString legacy = base + strName;
  return legacy != stored && HoldsWorkspace(root, legacy) ? legacy : stored;
}

}  // namespace

BEGIN_MESSAGE_MAP(SECWorkspaceManagerEx, SECWndPlugIn)
  ON_COMMAND_RANGE(SECWorkspaceManagerEx::kFirstRecent, SECWorkspaceManagerEx::kLastRecent, OnOpenRecentWorkspace)
  ON_UPDATE_COMMAND_UI(SECWorkspaceManagerEx::kFirstRecent, OnUpdateRecentWorkspaces)
  ON_COMMAND(SECWorkspaceManagerEx::kNewWorkspace, OnNewWorkspace)
  ON_COMMAND(SECWorkspaceManagerEx::kOpenWorkspace, OnOpenWorkspace)
  ON_COMMAND(SECWorkspaceManagerEx::kSaveWorkspace, OnSaveWorkspace)
  ON_COMMAND(SECWorkspaceManagerEx::kCloseWorkspace, OnCloseWorkspaceCmd)
  ON_UPDATE_COMMAND_UI(SECWorkspaceManagerEx::kCloseWorkspace, OnUpdateCloseWorkspace)
  ON_COMMAND(SECWorkspaceManagerEx::kSaveWorkspaceAs, OnSaveWorkspaceAs)
  ON_COMMAND(SECWorkspaceManagerEx::kDeleteWorkspace, OnDeleteWorkspace)
END_MESSAGE_MAP()

SECWorkspaceManagerEx::SECWorkspaceManagerEx() = default;
SECWorkspaceManagerEx::~SECWorkspaceManagerEx() = default;

BOOL SECWorkspaceManagerEx::PlugInTo(CWnd* pWnd) {
  if (!SECWndPlugIn::PlugInTo(pWnd)) return FALSE;
  m_pFrame = dynamic_cast<CFrameWnd*>(pWnd);
  return TRUE;
}

void SECWorkspaceManagerEx::SetStorageMode(BOOL bRegistryMode, BOOL bAppProfileKey) {
  if (bRegistryMode != m_bRegistryMode) {
    m_strCurrentName.Empty();
    m_bOpen = FALSE;
  }
  m_bRegistryMode = bRegistryMode;
  m_bAppProfileKey = bAppProfileKey;
}

void SECWorkspaceManagerEx::Initialize(CString strBaseKey, BOOL bRegistryMode, HKEY hRootKey, BOOL bAppProfileKey) {
  m_strBaseKey = strBaseKey;
  if (m_strBaseKey.IsEmpty() || m_strBaseKey[m_strBaseKey.GetLength() - 1] != '\\') m_strBaseKey += '\\';
  m_hRootKey = hRootKey;
  SetStorageMode(bRegistryMode, bAppProfileKey);
}

// ---- commands ----

void SECWorkspaceManagerEx::OnOpenRecentWorkspace(UINT nID) {
  CStringList list;
  ReadRecentList(list);
  POSITION pos = list.FindIndex(static_cast<INT_PTR>(nID - kFirstRecent));
  if (pos != nullptr) OpenWorkspace(list.GetAt(pos), FALSE);
  m_bHandled = TRUE;
}

void SECWorkspaceManagerEx::OnUpdateRecentWorkspaces(CCmdUI* pCmdUI) {
  CMenu* menu = pCmdUI->m_pMenu;
  if (menu == nullptr || menu->GetMenuItemID(static_cast<int>(pCmdUI->m_nIndex)) != kFirstRecent) return;
  const UINT index = pCmdUI->m_nIndex;
  const int following = menu->GetMenuItemCount() - static_cast<int>(index);
  for (int i = 0; i < following; ++i) {
    const UINT id = menu->GetMenuItemID(static_cast<int>(index));
    if (id >= kFirstRecent && id <= kLastRecent) menu->DeleteMenu(index, MF_BYPOSITION);
  }
  CStringList list;
  if (!ReadRecentList(list) || list.IsEmpty()) {
    menu->InsertMenu(index, MF_BYPOSITION | MF_STRING | MF_GRAYED, kFirstRecent, CString(MAKEINTRESOURCE(IDS_SEC_RECENT_NONE)));
  } else {
    UINT n = 0;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr && n < m_nRecentLimit; ++n) {
      const CString name = list.GetNext(pos);
      CString text;
      text.Format("&%d %s", n + 1, static_cast<LPCTSTR>(name));
      menu->InsertMenu(index + n, MF_BYPOSITION | MF_STRING, kFirstRecent + n, text);
      if (name == m_strCurrentName) menu->CheckMenuItem(kFirstRecent + n, MF_BYCOMMAND | MF_CHECKED);
    }
  }
  pCmdUI->m_nIndexMax = static_cast<UINT>(menu->GetMenuItemCount());
  pCmdUI->m_bEnableChanged = TRUE;
}

void SECWorkspaceManagerEx::OnOpenWorkspace() {
  LoadWorkspace(FALSE, FALSE);
  m_bHandled = TRUE;
}

// A consumed command is not routed on: the main frame would hand it to this plug-in again after
// the active child did, and the user would be asked twice.
void SECWorkspaceManagerEx::OnSaveWorkspace() {
  SaveCurrentWorkspace();
  m_bHandled = TRUE;
}

void SECWorkspaceManagerEx::OnCloseWorkspaceCmd() {
  CloseWorkspace();
  m_bHandled = TRUE;
}

void SECWorkspaceManagerEx::OnUpdateCloseWorkspace(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bOpen); }

void SECWorkspaceManagerEx::OnSaveWorkspaceAs() {
  SaveWorkspace(CString());
  m_bHandled = TRUE;
}

void SECWorkspaceManagerEx::SaveCurrentWorkspace() { SaveWorkspace(m_strCurrentName); }

BOOL SECWorkspaceManagerEx::LoadWorkspace(BOOL bMostRecent, BOOL bQuiet) {
  CString name;
  if (bMostRecent) {
    CStringList list;
    if (!ReadRecentList(list) || list.IsEmpty()) return FALSE;
    name = list.GetHead();
  } else if (!PromptForName(name, FALSE) || name.IsEmpty()) {
    return FALSE;
  }
  return OpenWorkspace(name, bQuiet);
}

BOOL SECWorkspaceManagerEx::PromptForName(CString& strName, BOOL bSave) {
  strName.Empty();
  if (m_bRegistryMode) return ManageRegistryWorkspaces(strName, !bSave, bSave);
  return PromptForFileName(strName, bSave);
}

BOOL SECWorkspaceManagerEx::PromptForFileName(CString& strName, BOOL bSave) {
  DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  if (!bSave) flags |= OFN_FILEMUSTEXIST;
  const CString extension = m_strFileFilter.GetLength() > 2 ? m_strFileFilter.Mid(2) : CString();
  CString filter;
  filter.Format("%s (%s)|%s|%s (%s)|%s||", static_cast<LPCTSTR>(CString(MAKEINTRESOURCE(IDS_SEC_WORKSPACE_FILES))),
                static_cast<LPCTSTR>(m_strFileFilter), static_cast<LPCTSTR>(m_strFileFilter),
                static_cast<LPCTSTR>(CString(MAKEINTRESOURCE(IDS_SEC_ALL_FILES))), "*.*", "*.*");
  CFileDialog dialog(!bSave, extension.IsEmpty() ? nullptr : static_cast<LPCTSTR>(extension), nullptr, flags, filter,
                     m_pFrame);
  const CString title = CString(MAKEINTRESOURCE(bSave ? IDS_SEC_SAVE_WORKSPACE : IDS_SEC_OPEN_WORKSPACE));
  dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() != IDOK) return FALSE;
  strName = dialog.GetPathName();
  return TRUE;
}

BOOL SECWorkspaceManagerEx::ManageRegistryWorkspaces(CString& strName, BOOL bOpenAllowed, BOOL bSaveAllowed) {
  CStringList recent, stored, working, deleted;
  ReadRecentList(recent);
  stored.AddTail(&recent);
  ReadStoredWorkspaces(stored);
  working.AddTail(&stored);
  CString chosen = m_strCurrentName;
  SECWsMgrDialogEx dialog(&stored, &working, &deleted, &chosen, bOpenAllowed, bSaveAllowed, m_pFrame);
  if (dialog.DoModal() != IDOK) return FALSE;
  // Rows keep their places in both lists (a move swaps both): the stored name of a row tells
  // whether it was a recent one, its working name what it is called now.
  CStringList keptRecent;
  for (POSITION from = stored.GetHeadPosition(), to = working.GetHeadPosition(); from != nullptr && to != nullptr;) {
    const CString oldName = stored.GetNext(from), newName = working.GetNext(to);
    if (recent.Find(oldName) == nullptr) continue;
    keptRecent.AddTail(newName);
  }
  // The dialog hands back the name a row shows now, which is already the workspace's new name.
  // The current one follows its rename: the renames are one set, so it follows its own row only
  // (after a swap, not back again).
  // A current workspace deleted is none: nothing saves it again under its name at exit. The
  // deleted rows are gone from the lists, each named by its workspace's name before the dialog.
  const CString currentBefore = m_strCurrentName;
  if (!currentBefore.IsEmpty() && deleted.Find(currentBefore) != nullptr) {
    m_strCurrentName.Empty();
    m_bOpen = FALSE;
  }
  for (POSITION from = stored.GetHeadPosition(), to = working.GetHeadPosition(); from != nullptr && to != nullptr;) {
    const CString oldName = stored.GetNext(from), newName = working.GetNext(to);
    if (oldName != newName && currentBefore == oldName) m_strCurrentName = newName;
  }
  ApplyRegistryEdits(stored, working, deleted);
  WriteRecentList(keptRecent);
  strName = chosen;
  return TRUE;
}

void SECWorkspaceManagerEx::ReadStoredWorkspaces(CStringList& list) {
  SECRegistry registry;
  if (!registry.Connect(m_hRootKey) || !registry.Open(m_strBaseKey, KEY_READ)) return;
  CString key;
  for (DWORD index = 0; registry.EnumKey(index, key); ++index) {
    const CString name = NameOfStored(key);
    bool listed = false;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr && !listed;) listed = list.GetNext(pos).CompareNoCase(name) == 0;
    if (listed) continue;
    // Only a key that holds a saved tree is a workspace (the recent lists live here too).
    if (HoldsWorkspace(m_hRootKey, m_strBaseKey + key)) list.AddTail(name);
  }
}

SECPTNStrategy* SECWorkspaceManagerEx::CreateStrategy(CString strName) {
  if (m_bRegistryMode) return new SECPTNStrategyRegistry(WorkspaceKeyOf(m_hRootKey, m_strBaseKey, strName), m_hRootKey);
  return new SECPTNStrategyProfile(strName);
}

// ---- saving ----

BOOL SECWorkspaceManagerEx::SaveWorkspace(CString strName) {
  if (strName.IsEmpty() && (!PromptForName(strName, TRUE) || strName.IsEmpty())) return FALSE;
  if (m_pFrame == nullptr) return FALSE;
  SECPTNFactory factory;
  SECPersistentTreeNode* root = factory.AddChild("WorkState_v1_1", nullptr);
  SaveBarState(factory, root);
  SaveFrames(factory, root);
  SaveCustomState(factory, root, strName);
  SECPTNStrategy* strategy = CreateStrategy(strName);
  const BOOL saved = root->Save(strategy);
  delete strategy;
  if (!saved) {
    // A workspace that was never written does not become the current one.
    CString message;
    message.Format(IDS_SEC_WORKSPACE_NOT_SAVED, static_cast<LPCTSTR>(strName));
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  if (strName != m_strCurrentName) {
    m_strCurrentName = strName;
    CStringList list;
    ReadRecentList(list);
    AddToRecentList(strName, list);
    WriteRecentList(list);
  }
  m_bOpen = TRUE;
  return TRUE;
}

SECControlBarManager* SECWorkspaceManagerEx::FrameBarManager() const {
  auto* services = dynamic_cast<SECFrameServices*>(m_pFrame);
  return services != nullptr ? services->GetToolBarManager() : nullptr;
}

BOOL SECWorkspaceManagerEx::SaveBarState(SECPTNFactory& factory, SECPersistentTreeNode* pRoot) {
  SECControlBarManager* manager = FrameBarManager();
  // In full screen the bars are hidden and the menubar floats: the layout saved is the one the
  // frame has outside the mode.
  SECFullScreenView* fullScreen = SECFullScreenView::FromFrame(m_pFrame);
  if (SECDockState* outside = fullScreen != nullptr ? fullScreen->GetLayoutOutside() : nullptr) {
    outside->RemoveStalePlaceholders();
    outside->SaveState(&factory, pRoot);
  } else if (SECDockState state(manager); state.GetFrameState(m_pFrame)) {
    state.RemoveStalePlaceholders();
    state.SaveState(&factory, pRoot);
  }
  if (manager != nullptr) manager->SaveState(&factory, pRoot);
  return TRUE;
}

BOOL SECWorkspaceManagerEx::SaveFrames(SECPTNFactory& factory, SECPersistentTreeNode* pRoot) {
  SECPersistentTreeNode* frames = factory.AddChild("Frames", pRoot);
  SaveMainFrame(factory, frames);
  CFrameWnd* active = m_pFrame->GetActiveFrame();
  if (active == m_pFrame) active = nullptr;
  SaveChildFrames(factory, frames, active);
  // Saving a modified document activates its frame: the active child is given back.
  if (active != nullptr && ::IsWindow(active->m_hWnd)) {
    CFrameWnd* now = m_pFrame->GetActiveFrame();
    if (now != m_pFrame && now != active) active->ActivateFrame(-1);
  }
  return TRUE;
}

void SECWorkspaceManagerEx::PlacementToBytes(const WINDOWPLACEMENT& placement, BYTE bytes[kPlacementSize]) {
  BYTE* at = bytes;
  PutLong(at, static_cast<LONG>(kPlacementSize));
  PutLong(at, static_cast<LONG>(placement.flags));
  PutLong(at, static_cast<LONG>(placement.showCmd));
  PutLong(at, placement.ptMinPosition.x);
  PutLong(at, placement.ptMinPosition.y);
  PutLong(at, placement.ptMaxPosition.x);
  PutLong(at, placement.ptMaxPosition.y);
  PutLong(at, placement.rcNormalPosition.left);
  PutLong(at, placement.rcNormalPosition.top);
  PutLong(at, placement.rcNormalPosition.right);
  PutLong(at, placement.rcNormalPosition.bottom);
}

BOOL SECWorkspaceManagerEx::PlacementFromBytes(const BYTE* bytes, UINT nSize, WINDOWPLACEMENT& placement) {
  if (bytes == nullptr || nSize != kPlacementSize) return FALSE;
  const BYTE* at = bytes;
  if (GetLong(at) != static_cast<LONG>(kPlacementSize)) return FALSE;
  placement = WINDOWPLACEMENT{};
  placement.length = sizeof(WINDOWPLACEMENT);
  placement.flags = static_cast<UINT>(GetLong(at));
  placement.showCmd = static_cast<UINT>(GetLong(at));
  placement.ptMinPosition.x = GetLong(at);
  placement.ptMinPosition.y = GetLong(at);
  placement.ptMaxPosition.x = GetLong(at);
  placement.ptMaxPosition.y = GetLong(at);
  placement.rcNormalPosition.left = GetLong(at);
  placement.rcNormalPosition.top = GetLong(at);
  placement.rcNormalPosition.right = GetLong(at);
  placement.rcNormalPosition.bottom = GetLong(at);
  return TRUE;
}

void SECWorkspaceManagerEx::WritePlacement(SECPersistentTreeNode* pNode, CWnd* pWnd) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (SECFullScreenView* fullScreen = SECFullScreenView::FromFrame(pWnd))
    fullScreen->GetPlacementOutside(placement);
  else
    pWnd->GetWindowPlacement(&placement);
  BYTE bytes[kPlacementSize];
  PlacementToBytes(placement, bytes);
  pNode->AddKeyValueBinary("WindowPlacement", bytes, kPlacementSize, TRUE);
}

BOOL SECWorkspaceManagerEx::SaveMainFrame(SECPTNFactory& factory, SECPersistentTreeNode* pFrames) {
  SECPersistentTreeNode* main = factory.AddChild("MainFrame", pFrames);
  WritePlacement(main, m_pFrame);
  CString title;
  m_pFrame->GetWindowText(title);
  main->AddKeyValueString("Title", brambolt::StoredTextOf(static_cast<LPCTSTR>(title)).c_str(), TRUE);
  return TRUE;
}

BOOL SECWorkspaceManagerEx::SaveChildFrames(SECPTNFactory& factory, SECPersistentTreeNode* pFrames,
                                            CFrameWnd* pActiveChild) {
  SECPersistentTreeNode* children = factory.AddChild("ChildFrames", pFrames);
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return TRUE;
  CMap<CFrameWnd*, CFrameWnd*, SECPersistentTreeNode*, SECPersistentTreeNode*> frameNodes;
  frameNodes.InitHashTable(17);
  int nDocument = 0, nAdditional = 0;
  for (POSITION tpos = app->GetFirstDocTemplatePosition(); tpos != nullptr;) {
    CDocTemplate* pTemplate = app->GetNextDocTemplate(tpos);
    for (POSITION dpos = pTemplate->GetFirstDocPosition(); dpos != nullptr;) {
      CDocument* pDoc = pTemplate->GetNextDoc(dpos);
      CString name;
      name.Format("Document-%d", nDocument++);
      SECPersistentTreeNode* docNode = factory.AddChild(name, children);
      int nFrame = 0;
      for (POSITION vpos = pDoc->GetFirstViewPosition(); vpos != nullptr;) {
        CView* pView = pDoc->GetNextView(vpos);
        CFrameWnd* pFrame = pView->GetParentFrame();
        SECPersistentTreeNode* frameNode = nullptr;
        if (frameNodes.Lookup(pFrame, frameNode)) {
          SaveAdditionalView(pDoc, pView, pFrame, factory, frameNode, nAdditional++);
        } else if ((frameNode = SaveViewFrame(pDoc, pView, pFrame, pActiveChild, factory, docNode, nFrame)) != nullptr) {
          frameNodes.SetAt(pFrame, frameNode);
          ++nFrame;
        }
      }
    }
  }
  return TRUE;
}

BOOL SECWorkspaceManagerEx::PrepareDocumentForSave(CFrameWnd* pFrame, CDocument* pDoc) {
  if (pDoc->IsModified() || pDoc->GetPathName().IsEmpty()) {
    pFrame->ActivateFrame(-1);
    pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE);
  }
  return TRUE;
}

SECPersistentTreeNode* SECWorkspaceManagerEx::SaveViewFrame(CDocument* pDoc, CView* pView, CFrameWnd* pFrame,
                                                            CFrameWnd* pActiveChild, SECPTNFactory& factory,
                                                            SECPersistentTreeNode* pDocNode, int nIndex) {
  if (pDoc == nullptr || pFrame == nullptr || pDocNode == nullptr) return nullptr;
  SECDocTemplateUtils utils;
  CDocTemplate* pTemplate = utils.FindDocTemplate(pDoc, pView, pFrame);
  if (pTemplate == nullptr || !PrepareDocumentForSave(pFrame, pDoc) || pDoc->GetPathName().IsEmpty()) return nullptr;
  CString name;
  name.Format("ViewFrame-%d", nIndex);
  SECPersistentTreeNode* node = factory.AddChild(name, pDocNode);
  // Kept as the system names the file, so that it opens under any later locale (os/Paths.h).
  node->AddKeyValueString("DocPathName", brambolt::StoredPathOf(static_cast<LPCTSTR>(pDoc->GetPathName())).c_str(), TRUE);
  CString fileType;
  pTemplate->GetDocString(fileType, CDocTemplate::regFileTypeId);
  node->AddKeyValueString("DocumentString", fileType, TRUE);
  const int index = utils.GetDocTemplateIndex(pTemplate, fileType);
  if (index >= 0) node->AddKeyValueInt("DocTemplateIndex", index, TRUE);
  if (!SaveFrameState(pFrame, node)) WritePlacement(node, pFrame);
  node->AddKeyValueBool("IsActiveChildFrame", pFrame == pActiveChild, TRUE);
  return node;
}

SECPersistentTreeNode* SECWorkspaceManagerEx::SaveAdditionalView(CDocument* pDoc, CView* pView, CFrameWnd* pFrame,
                                                                 SECPTNFactory& factory,
                                                                 SECPersistentTreeNode* pFrameNode, int nIndex) {
  SECDocTemplateUtils utils;
  CDocTemplate* pTemplate = utils.FindDocTemplate(pDoc, pView, pFrame);
  if (pTemplate == nullptr || pFrameNode == nullptr) return nullptr;
  CString name;
  name.Format("AdditionalViewPerFrame-%d", nIndex);
  SECPersistentTreeNode* node = factory.AddChild(name, pFrameNode);
  CString fileType;
  pTemplate->GetDocString(fileType, CDocTemplate::regFileTypeId);
  node->AddKeyValueString("DocumentString", fileType, TRUE);
  const int index = utils.GetDocTemplateIndex(pTemplate, fileType);
  if (index >= 0) node->AddKeyValueInt("DocTemplateIndex", index, TRUE);
  return node;
}

// ---- the recent list ----

LPCTSTR SECWorkspaceManagerEx::GetRecentListKeyName() { return m_bRegistryMode ? "__MRURegList" : "__MRUFileList"; }

BOOL SECWorkspaceManagerEx::OpenRecentKey(SECRegistry& registry, BOOL bCreate) {
  const CString key = m_strBaseKey + GetRecentListKeyName();
  if (m_bAppProfileKey) {
    CWinApp* app = AfxGetApp();
    HKEY section = app != nullptr ? app->GetSectionKey(m_strBaseKey) : nullptr;
    if (section == nullptr || !registry.Connect(section)) return FALSE;
    const BOOL ok = bCreate ? registry.Create(GetRecentListKeyName()) : registry.Open(GetRecentListKeyName());
    return ok;
  }
  if (!registry.Connect(HKEY_CURRENT_USER)) return FALSE;
  return bCreate ? registry.Create(key) : registry.Open(key, KEY_ALL_ACCESS);
}

BOOL SECWorkspaceManagerEx::ReadRecentList(CStringList& list) {
  SECRegistry registry;
  if (!OpenRecentKey(registry, FALSE)) return FALSE;
  for (UINT i = 0; i < m_nRecentLimit; ++i) {
    CString valueName, value;
    valueName.Format("Workspace%d", i);
    if (!registry.GetStringValue(valueName, value)) continue;
    // Workspace files are kept as the system names them; registry workspaces by their names.
    list.AddTail(m_bRegistryMode ? NameOfStored(value) : CString(brambolt::PathOfStored(static_cast<LPCTSTR>(value)).c_str()));
  }
  return TRUE;
}

BOOL SECWorkspaceManagerEx::WriteRecentList(CStringList& list) {
  SECRegistry registry;
  if (!OpenRecentKey(registry, TRUE)) return FALSE;
  UINT n = 0;
  BOOL ok = TRUE;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr && n < m_nRecentLimit; ++n) {
    CString valueName;
    valueName.Format("Workspace%d", n);
    const CString& entry = list.GetNext(pos);
    // A registry workspace's entry names it as its key does (an earlier release's code-page key
    // keeps its entry in those bytes), so the two agree under any locale.
    const CString stored = m_bRegistryMode ? WorkspaceKeyOf(m_hRootKey, m_strBaseKey, entry).Mid(m_strBaseKey.GetLength())
                                           : CString(brambolt::StoredPathOf(static_cast<LPCTSTR>(entry)).c_str());
    if (!registry.SetStringValue(valueName, stored)) ok = FALSE;
  }
  for (UINT i = n; i < m_nRecentLimit; ++i) {
    CString valueName;
    valueName.Format("Workspace%d", i);
    registry.DeleteValue(valueName);
  }
  registry.Flush();
  return ok;
}

POSITION SECWorkspaceManagerEx::FindInRecentList(const CStringList& list, const CString& strName) const {
  // Registry workspaces are names; workspace files are files, however their paths are spelled.
  return m_bRegistryMode ? list.Find(strName) : FindSameFile(list, strName);
}

void SECWorkspaceManagerEx::AddToRecentList(CString& strName, CStringList& list) {
  while (POSITION pos = FindInRecentList(list, strName)) list.RemoveAt(pos);
  list.AddHead(strName);
  while (static_cast<UINT>(list.GetCount()) > m_nRecentLimit) list.RemoveTail();
}

BOOL SECWorkspaceManagerEx::RemoveFromRecentList(CString& strName) {
  CStringList list;
  if (!ReadRecentList(list)) return FALSE;
  POSITION pos = FindInRecentList(list, strName);
  if (pos == nullptr) return FALSE;
  do {
    list.RemoveAt(pos);
  } while ((pos = FindInRecentList(list, strName)) != nullptr);
  return WriteRecentList(list);
}

BOOL SECWorkspaceManagerEx::CopyRegistryWorkspace(const CString& strFrom, const CString& strTo) {
  SECPersistentTreeNode root;
  root.Create("WorkState_v1_1", nullptr);
  SECPTNStrategyRegistry source(WorkspaceKeyOf(m_hRootKey, m_strBaseKey, strFrom), m_hRootKey);
  if (!root.Load(&source)) return FALSE;
  SECPTNStrategyRegistry target(m_strBaseKey + StoredName(strTo), m_hRootKey);
  return root.Save(&target);
}

BOOL SECWorkspaceManagerEx::HasRegistryWorkspace(const CString& strName) {
  return HoldsWorkspace(m_hRootKey, WorkspaceKeyOf(m_hRootKey, m_strBaseKey, strName));
}

BOOL SECWorkspaceManagerEx::DeleteRegistryWorkspace(const CString& strName) {
  // The name may be filed under both of its spellings (its stored name, and its bytes as an
  // earlier release stored them): it goes from both, so that neither shows it again.
  SECRegistry registry;
  if (!registry.Connect(m_hRootKey)) return FALSE;
  const CString stored = m_strBaseKey + StoredName(strName), legacy = m_strBaseKey + strName;
  BOOL deleted = registry.DeleteKey(stored, TRUE);
  if (legacy != stored && HoldsWorkspace(m_hRootKey, legacy)) deleted = registry.DeleteKey(legacy, TRUE) || deleted;
  return deleted;
}

// A workspace an earlier release filed under the code-page bytes of its name moves to its stored
// name when it is opened, as its recent entry is then written in that name: key and entry agree,
// and reach the same workspace under any locale.
void SECWorkspaceManagerEx::FileUnderStoredName(const CString& strName) {
  const CString stored = m_strBaseKey + StoredName(strName), legacy = m_strBaseKey + strName;
  if (legacy == stored || HoldsWorkspace(m_hRootKey, stored) || !HoldsWorkspace(m_hRootKey, legacy)) return;
  if (!CopyRegistryWorkspace(strName, strName)) return;
  SECRegistry registry;
  if (registry.Connect(m_hRootKey)) registry.DeleteKey(legacy, TRUE);
}

void SECWorkspaceManagerEx::ApplyRegistryEdits(CStringList& stored, CStringList& working, CStringList& deleted) {
  // The renames of one session are one set, whatever their order (a swap goes through a third
  // name, and one row's new name may be another's old one): every renamed tree first waits in a
  // key of its own while the old keys go, then takes its new name. A tree that cannot reach it
  // goes back to its old name when that is free, and else stays where it waits.
  struct Rename {
    CString oldName, newName, holding;
  };
  std::vector<Rename> renames;
  // A tree waits under a name that no workspace holds, no row had or takes, and no other tree
  // waits under: a workspace the user saved as "__Renaming x" is never written over.
  auto listed = [](const CStringList& list, const CString& name) {
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
      if (list.GetNext(pos).CompareNoCase(name) == 0) return true;
    return false;
  };
  auto taken = [&](const CString& name) {
    if (listed(stored, name) || listed(working, name) || listed(deleted, name) || HasRegistryWorkspace(name)) return true;
    SECRegistry registry;
    if (registry.Connect(m_hRootKey) && registry.Open(m_strBaseKey + StoredName(name), KEY_READ)) return true;
    return std::any_of(renames.begin(), renames.end(),
                       [&](const Rename& other) { return other.holding.CompareNoCase(name) == 0; });
  };
  for (POSITION from = stored.GetHeadPosition(), to = working.GetHeadPosition(); from != nullptr && to != nullptr;) {
    const CString oldName = stored.GetNext(from), newName = working.GetNext(to);
    if (oldName == newName) continue;
    CString holding = "__Renaming " + newName;
    for (int n = 2; taken(holding); ++n) holding.Format("__Renaming %d %s", n, static_cast<LPCTSTR>(newName));
    if (!CopyRegistryWorkspace(oldName, holding)) continue;
    renames.push_back({oldName, newName, holding});
  }
  for (const Rename& rename : renames) DeleteRegistryWorkspace(rename.oldName);
  // The deleted workspaces go before any tree takes its new name: that name may be a deleted one's.
  for (POSITION pos = deleted.GetHeadPosition(); pos != nullptr;) DeleteRegistryWorkspace(deleted.GetNext(pos));
  for (const Rename& rename : renames) {
    if (CopyRegistryWorkspace(rename.holding, rename.newName)) DeleteRegistryWorkspace(rename.holding);
  }
  for (const Rename& rename : renames) {
    if (!HasRegistryWorkspace(rename.holding) || HasRegistryWorkspace(rename.oldName)) continue;
    if (CopyRegistryWorkspace(rename.holding, rename.oldName)) DeleteRegistryWorkspace(rename.holding);
  }
}

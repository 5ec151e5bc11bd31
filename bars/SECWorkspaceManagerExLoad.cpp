// SECWorkspaceManagerEx: opening a workspace (the tree read before any window closes), closing
// the child frames, and recreating the main frame's placement and the documents' frames.
#include <algorithm>

#include "bars/SECControlBarManager.h"
#include "bars/SECDockState.h"
#include "bars/SECFullScreenView.h"
#include "bars/SECMDIChildWnd.h"
#include "bars/SECMDIFrameWnd.h"
#include "bars/SECWorkspaceManagerEx.h"
#include "foundation/SECDocTemplateUtils.h"
#include "os/Paths.h"
#include "resources/Menus.h"

BOOL SECWorkspaceManagerEx::LoadTree(SECPersistentTreeNode& root, const CString& strName) {
  SECPTNStrategy* strategy = CreateStrategy(strName);
  const BOOL loaded = root.Load(strategy);
  delete strategy;
  // A file that holds no workspace loads as an empty tree: it is not one either.
  return loaded && root.FindChild("Frames") != nullptr;
}

void SECWorkspaceManagerEx::ShowMainFrame(BOOL bFromHidden) {
  CWinApp* app = AfxGetApp();
  if (m_pFrame == nullptr || app == nullptr) return;
  int show = app->m_nCmdShow;
  if (bFromHidden && show == SW_HIDE) show = SW_SHOWNORMAL;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  m_pFrame->GetWindowPlacement(&placement);
  placement.showCmd = static_cast<UINT>(show);
  m_pFrame->SetWindowPlacement(&placement);
}

BOOL SECWorkspaceManagerEx::OpenWorkspace(CString strName, BOOL bQuiet) {
  if (strName.IsEmpty() && (!PromptForName(strName, FALSE) || strName.IsEmpty())) {
    ShowMainFrame(TRUE);
    return FALSE;
  }
  if (m_pFrame == nullptr) return FALSE;
  SECPersistentTreeNode root;
  root.Create("WorkState_v1_1", nullptr);
  if (!LoadTree(root, strName)) {
    if (!bQuiet) AfxMessageBox(IDS_SEC_INVALID_WORKSPACE, MB_OK | MB_ICONEXCLAMATION);
    RemoveFromRecentList(strName);
    ShowMainFrame(TRUE);
    return FALSE;
  }
  // The workspace's layout and placement are the frame's outside full screen.
  if (SECFullScreenView* fullScreen = SECFullScreenView::FromFrame(m_pFrame)) fullScreen->LeaveFSMode();
  const CString previousName = m_strCurrentName;
  const BOOL previousOpen = m_bOpen;
  if (!CloseWorkspace()) {
    // A window kept open (its document's save was cancelled): nothing is loaded over it.
    m_strCurrentName = previousName;
    m_bOpen = previousOpen;
    return FALSE;
  }
  CFrameWnd* active = nullptr;
  LoadFrames(&root, &active);
  LoadBarState(&root);
  if (active != nullptr) {
    ActivateChildFrame(active);
  } else if (auto* mdi = dynamic_cast<SECMDIFrameWnd*>(m_pFrame)) {
    // Without a recorded active child, a child that holds docked bars comes first.
    for (POSITION pos = mdi->m_listControlBars.GetHeadPosition(); pos != nullptr;) {
      auto* bar = static_cast<CControlBar*>(mdi->m_listControlBars.GetNext(pos));
      CFrameWnd* parent = bar->IsDockBar() ? bar->GetParentFrame() : nullptr;
      if (parent != nullptr && parent->IsKindOf(RUNTIME_CLASS(SECMDIChildWnd))) {
        ::SendMessage(mdi->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(parent->m_hWnd), 0);
        break;
      }
    }
    ActivateChildFrame(nullptr);
  }
  LoadCustomState(&root, strName);
  if (m_bRegistryMode) FileUnderStoredName(strName);
  m_strCurrentName = strName;
  m_bOpen = TRUE;
  CStringList list;
  ReadRecentList(list);
  AddToRecentList(strName, list);
  WriteRecentList(list);
  if (m_pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) ShowMainFrame(FALSE);
  return TRUE;
}

BOOL SECWorkspaceManagerEx::CloseWorkspace() {
  m_strCurrentName.Empty();
  m_bOpen = FALSE;
  if (m_pFrame == nullptr) return TRUE;
  if (!CloseAllChildFrames()) return FALSE;
  return OnCloseBars(m_pFrame->m_listControlBars, m_pFrame);
}

BOOL SECWorkspaceManagerEx::CloseAllChildFrames() {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return TRUE;
  // The frames first (closing one may end a document and change the lists).
  CPtrList frames;
  for (POSITION tpos = app->GetFirstDocTemplatePosition(); tpos != nullptr;) {
    CDocTemplate* pTemplate = app->GetNextDocTemplate(tpos);
    for (POSITION dpos = pTemplate->GetFirstDocPosition(); dpos != nullptr;) {
      CDocument* pDoc = pTemplate->GetNextDoc(dpos);
      for (POSITION vpos = pDoc->GetFirstViewPosition(); vpos != nullptr;) {
        CFrameWnd* pFrame = pDoc->GetNextView(vpos)->GetParentFrame();
        if (pFrame != nullptr && pFrame != m_pFrame && frames.Find(pFrame) == nullptr) frames.AddTail(pFrame);
      }
    }
  }
  BOOL allClosed = TRUE;
  for (POSITION pos = frames.GetHeadPosition(); pos != nullptr;) {
    HWND hwnd = static_cast<CFrameWnd*>(frames.GetNext(pos))->m_hWnd;
    if (!::IsWindow(hwnd)) continue;
    ::SendMessage(hwnd, WM_CLOSE, 0, 0);
    if (::IsWindow(hwnd)) allClosed = FALSE;
  }
  return allClosed;
}

BOOL SECWorkspaceManagerEx::LoadBarState(SECPersistentTreeNode* pRoot) {
  SECControlBarManager* manager = FrameBarManager();
  if (manager != nullptr) manager->LoadState(pRoot);
  SECDockState state(manager);
  if (!state.LoadState(pRoot)) return FALSE;
  state.SetFrameState(m_pFrame);
  return TRUE;
}

BOOL SECWorkspaceManagerEx::LoadFrames(SECPersistentTreeNode* pRoot, CFrameWnd** ppActiveChild) {
  SECPersistentTreeNode* frames = pRoot->FindChild("Frames");
  if (frames == nullptr) return FALSE;
  LoadMainFrame(frames);
  return LoadChildFrames(frames, ppActiveChild);
}

BOOL SECWorkspaceManagerEx::ReadPlacement(SECPersistentTreeNode* pNode, WINDOWPLACEMENT& placement) {
  BYTE* data = nullptr;
  UINT size = 0;
  if (pNode->GetKeyValueBinary("WindowPlacement", &data, &size) != 0) return FALSE;
  const BOOL ok = PlacementFromBytes(data, size, placement);
  delete[] data;
  if (!ok) return FALSE;
  // A rectangle off every screen comes back onto the desktop, keeping its size.
  CRect desktop;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  CRect normal(placement.rcNormalPosition);
  CRect meet;
  if (!meet.IntersectRect(&normal, &desktop)) {
    const int width = std::min(normal.Width(), desktop.Width()), height = std::min(normal.Height(), desktop.Height());
    normal.SetRect(desktop.left, desktop.top, desktop.left + std::max(width, 0), desktop.top + std::max(height, 0));
    placement.rcNormalPosition = normal;
  }
  return TRUE;
}

BOOL SECWorkspaceManagerEx::LoadMainFrame(SECPersistentTreeNode* pFrames) {
  SECPersistentTreeNode* main = pFrames != nullptr ? pFrames->FindChild("MainFrame") : nullptr;
  if (m_pFrame == nullptr || main == nullptr) return FALSE;
  WINDOWPLACEMENT placement{};
  if (ReadPlacement(main, placement)) {
    // An MDI frame appears once, at the end of the open, with the stored show command.
    if (m_pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
      if (CWinApp* app = AfxGetApp()) app->m_nCmdShow = static_cast<int>(placement.showCmd);
      placement.showCmd = SW_HIDE;
    }
    m_pFrame->SetWindowPlacement(&placement);
  }
  CString title;
  main->GetKeyValueString("Title", title);
  m_pFrame->SetWindowText(brambolt::TextOfStored(static_cast<LPCTSTR>(title)).c_str());
  return TRUE;
}

BOOL SECWorkspaceManagerEx::LoadChildFrames(SECPersistentTreeNode* pFrames, CFrameWnd** ppActiveChild) {
  SECPersistentTreeNode* children = pFrames->FindChild("ChildFrames");
  if (children == nullptr) return FALSE;
  CStringList documents;
  children->GetChildNames(documents);
  for (POSITION pos = documents.GetHeadPosition(); pos != nullptr;) {
    SECPersistentTreeNode* docNode = children->FindChild(documents.GetNext(pos));
    CDocument* pDoc = nullptr;
    CFrameWnd* first = nullptr;
    CStringList frames;
    docNode->GetChildNames(frames);
    for (POSITION fpos = frames.GetHeadPosition(); fpos != nullptr;)
      LoadViewFrame(docNode->FindChild(frames.GetNext(fpos)), &pDoc, &first, ppActiveChild);
  }
  return TRUE;
}

CFrameWnd* SECWorkspaceManagerEx::OpenDocument(CDocTemplate* pTemplate, CString& strPath, CDocument** ppDoc) {
  CDocument* pDoc = pTemplate->OpenDocumentFile(strPath.IsEmpty() ? nullptr : static_cast<LPCTSTR>(strPath), FALSE);
  *ppDoc = pDoc;
  if (pDoc == nullptr) return nullptr;
  POSITION pos = pDoc->GetFirstViewPosition();
  CView* pView = pos != nullptr ? pDoc->GetNextView(pos) : nullptr;
  return pView != nullptr ? pView->GetParentFrame() : nullptr;
}

CFrameWnd* SECWorkspaceManagerEx::CreateNewFrame(CDocTemplate* pTemplate, CDocument* pDoc, CFrameWnd* pOther) {
  return pTemplate->CreateNewFrame(pDoc, pOther);
}

BOOL SECWorkspaceManagerEx::LoadViewFrame(SECPersistentTreeNode* pNode, CDocument** ppDoc, CFrameWnd** ppFirstFrame,
                                          CFrameWnd** ppActiveChild) {
  if (pNode == nullptr) return FALSE;
  CString fileType;
  int index = 0;
  pNode->GetKeyValueString("DocumentString", fileType);
  pNode->GetKeyValueInt("DocTemplateIndex", &index, 0);
  SECDocTemplateUtils utils;
  CDocTemplate* pTemplate = utils.GetDocTemplateByIndex(fileType, index);
  if (pTemplate == nullptr) return FALSE;
  CString path;
  pNode->GetKeyValueString("DocPathName", path);
  path = brambolt::PathOfStored(static_cast<LPCTSTR>(path)).c_str();
  CFrameWnd* frame = nullptr;
  BOOL made = FALSE;
  if (*ppDoc != nullptr) {
    frame = CreateAdditionalFrame(pNode, pTemplate, *ppDoc, *ppFirstFrame);
    if (frame == nullptr) frame = CreateNewFrame(pTemplate, *ppDoc, *ppFirstFrame);
    if (frame == nullptr) return FALSE;
  } else if ((*ppDoc = CreateDocument(pNode, pTemplate, path)) != nullptr) {
    made = TRUE;
    POSITION pos = (*ppDoc)->GetFirstViewPosition();
    CView* view = pos != nullptr ? (*ppDoc)->GetNextView(pos) : nullptr;
    frame = view != nullptr ? view->GetParentFrame() : nullptr;
  } else {
    frame = OpenDocument(pTemplate, path, ppDoc);
    if (frame == nullptr) {
      *ppDoc = nullptr;
      return FALSE;
    }
  }
  if (frame == nullptr) return FALSE;
  pTemplate->InitialUpdateFrame(frame, *ppDoc, TRUE);
  BOOL isActive = FALSE;
  pNode->GetKeyValueBool("IsActiveChildFrame", &isActive, FALSE);
  int show = SW_SHOWNORMAL;
  if (!made) {
    WINDOWPLACEMENT placement{};
    if (!LoadFrameState(frame, pNode) && ReadPlacement(pNode, placement)) {
      frame->SetWindowPlacement(&placement);
      show = static_cast<int>(placement.showCmd);
    }
  }
  if (isActive) {
    *ppActiveChild = frame;
    m_nActiveChildShowCmd = show;
  }
  if (made) return TRUE;
  *ppFirstFrame = frame;
  CStringList views;
  pNode->GetChildNames(views);
  for (POSITION pos = views.GetHeadPosition(); pos != nullptr;)
    LoadAdditionalView(*ppDoc, frame, pNode->FindChild(views.GetNext(pos)));
  return TRUE;
}

void SECWorkspaceManagerEx::ActivateChildFrame(CFrameWnd* pFrame) {
  if (pFrame != nullptr && ::IsWindow(pFrame->m_hWnd)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    pFrame->GetWindowPlacement(&placement);
    placement.showCmd = static_cast<UINT>(m_nActiveChildShowCmd);
    pFrame->SetWindowPlacement(&placement);
    pFrame->ActivateFrame(-1);
  }
  if (auto* mdi = dynamic_cast<SECMDIFrameWnd*>(m_pFrame)) {
    auto* child = dynamic_cast<SECMDIChildWnd*>(pFrame);
    mdi->SetMenuBarMenu(child != nullptr ? child->m_nMenuBarMenuId : static_cast<UINT>(-1));
  }
}

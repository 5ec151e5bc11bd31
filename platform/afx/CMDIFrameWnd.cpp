// CMDIFrameWnd: the MDI client and its window menu, routing of commands and accelerators to the
// active child, the window commands, and the frame's menu and title that follow the active child.
#include "afx/CMDIFrameWnd.h"

#include "afx/CDocTemplate.h"
#include "afx/CMDIChildWnd.h"
#include "afx/CPreviewView.h"
#include "afx/CWinApp.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
  ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
  ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

CMDIFrameWnd::~CMDIFrameWnd() = default;

BOOL CMDIFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  // An MDI frame names itself first: "Application - Document".
  cs.style &= ~static_cast<LONG>(FWS_PREFIXTITLE);
  return TRUE;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*) {
  HMENU bar = ::GetMenu(m_hWnd);
  return CreateClient(lpcs, CMenu::FromHandle(bar != nullptr ? GetWindowMenuPopup(bar) : nullptr));
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) {
  CLIENTCREATESTRUCT ccs{pWindowMenu != nullptr ? pWindowMenu->GetSafeHmenu() : nullptr, AFX_IDM_FIRST_MDICHILD};
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES;
  // Scroll bars asked of the frame belong to the client.
  DWORD frameStyle = static_cast<DWORD>(lpCreateStruct->style);
  style |= frameStyle & (WS_HSCROLL | WS_VSCROLL);
  if (frameStyle & (WS_HSCROLL | WS_VSCROLL)) ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_FRAMECHANGED);
  m_hWndMDIClient = ::CreateWindowEx(WS_EX_CLIENTEDGE, MDICLIENT_CLASS, nullptr, style, 0, 0, 0, 0, m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                     AfxGetInstanceHandle(), &ccs);
  return m_hWndMDIClient != nullptr;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
  if (hMenuBar == nullptr) return nullptr;
  for (int i = ::GetMenuItemCount(hMenuBar) - 1; i >= 0; --i) {
    HMENU popup = ::GetSubMenu(hMenuBar, i);
    if (popup == nullptr) continue;
    for (int j = 0, n = ::GetMenuItemCount(popup); j < n; ++j) {
      UINT id = ::GetMenuItemID(popup, j);
      if (id >= AFX_IDM_WINDOW_FIRST && id <= AFX_IDM_WINDOW_LAST) return popup;
    }
  }
  return nullptr;
}

CMDIChildWnd* CMDIFrameWnd::CreateNewChild(CRuntimeClass* pClass, UINT nResource, HMENU hMenu, HACCEL hAccel) {
  auto* child = static_cast<CMDIChildWnd*>(pClass->CreateObject());
  if (child == nullptr || !child->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) {
    delete child;
    return nullptr;
  }
  child->m_hMenuShared = hMenu;
  child->m_hAccelTable = hAccel;
  CCreateContext context;
  if (!child->LoadFrame(nResource, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, this, &context))
    return nullptr;  // the frame deleted itself
  child->InitialUpdateFrame(nullptr, TRUE);
  return child;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
  BOOL maximized = FALSE;
  HWND active = m_hWndMDIClient != nullptr ? reinterpret_cast<HWND>(::SendMessage(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                                                  reinterpret_cast<LPARAM>(&maximized)))
                                           : nullptr;
  CWnd* wnd = CWnd::FromHandlePermanent(active);
  auto* child = wnd != nullptr && wnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) ? static_cast<CMDIChildWnd*>(wnd) : nullptr;
  if (pbMaximized != nullptr) *pbMaximized = child != nullptr && maximized;
  return child;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
  ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIIconArrange() { ::SendMessage(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
  ::SendMessage(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDINext() { ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 0); }

void CMDIFrameWnd::MDIPrev() { ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 1); }

void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
  ::SendMessage(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
  auto old = reinterpret_cast<HMENU>(
      ::SendMessage(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(pFrameMenu->GetSafeHmenu()),
                    reinterpret_cast<LPARAM>(pWindowMenu->GetSafeHmenu())));
  return CMenu::FromHandle(old);
}

void CMDIFrameWnd::MDITile() { ::SendMessage(m_hWndMDIClient, WM_MDITILE, 0, 0); }

void CMDIFrameWnd::MDITile(int nType) { ::SendMessage(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0); }

void CMDIFrameWnd::MDICascade() { ::SendMessage(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }

void CMDIFrameWnd::MDICascade(int nType) {
  ::SendMessage(m_hWndMDIClient, WM_MDICASCADE, static_cast<WPARAM>(nType), 0);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
  CMDIChildWnd* child = MDIGetActive();
  return child != nullptr ? static_cast<CFrameWnd*>(child) : this;
}

bool CMDIFrameWnd::InPrintPreview() {
  CView* view = GetActiveView();
  return view != nullptr && view->IsKindOf(RUNTIME_CLASS(CPreviewView));
}

HACCEL CMDIFrameWnd::GetDefaultAccelerator() {
  // The active child's accelerators (those of its kind of document) stand in for the frame's;
  // a print preview puts the frame's away and takes none of the child's either.
  CMDIChildWnd* child = MDIGetActive();
  if (InPrintPreview()) return m_hAccelTable;
  return child != nullptr && child->m_hAccelTable != nullptr ? child->m_hAccelTable : m_hAccelTable;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
  // Ctrl+F4, Ctrl+F6 and Ctrl+Shift+F6 belong to the MDI client before any accelerator; while a
  // print preview covers the frame they are held back, since they would close or change the
  // window whose document the preview shows.
  if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && m_hWndMDIClient != nullptr &&
      MDIGetActive() != nullptr && !InPrintPreview() && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
    return TRUE;
  return CFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The active child (its view and document) is asked first, with this frame as routing frame.
  if (CMDIChildWnd* child = MDIGetActive()) {
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    CFrameWnd* saved = state->m_pRoutingFrame;
    state->m_pRoutingFrame = this;
    BOOL handled = child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    state->m_pRoutingFrame = saved;
    if (handled) return TRUE;
  }
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The frame lays out the client itself (RecalcLayout), around its bars.
  if (message == WM_SIZE) return ::DefWindowProc(m_hWnd, message, wParam, lParam);
  return ::DefFrameProc(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if ((GetStyle() & FWS_ADDTOTITLE) == 0) return;
  CMDIChildWnd* child = MDIGetActive();
  // The active child's title (its document's, with the window number); a maximised child's title
  // is added by the MDI client as " - [title]" instead.
  if (bAddToTitle && child != nullptr && (child->GetStyle() & WS_MAXIMIZE) == 0) {
    CString text;
    child->GetWindowText(text);
    UpdateFrameTitleForDocument(text);
  } else {
    UpdateFrameTitleForDocument(nullptr);
  }
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  if (hMenuAlt == nullptr) hMenuAlt = m_hMenuAlt;
  if (CMDIChildWnd* child = MDIGetActive()) {
    child->OnUpdateFrameMenu(TRUE, child, hMenuAlt);
    return;
  }
  HMENU menu = hMenuAlt != nullptr ? hMenuAlt : m_hMenuDefault;
  if (menu != nullptr && m_hWndMDIClient != nullptr)
    ::SendMessage(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                  reinterpret_cast<LPARAM>(GetWindowMenuPopup(menu)));
}

void CMDIFrameWnd::DelayUpdateFrameMenu(HMENU hMenuAlt) {
  m_hMenuAlt = hMenuAlt;
  m_nIdleFlags |= idleMenu;
}

void CMDIFrameWnd::OnWindowNew() {
  // Another window on the active child's document, of the same kind.
  CMDIChildWnd* child = MDIGetActive();
  CDocument* doc = child != nullptr ? child->GetActiveDocument() : nullptr;
  CDocTemplate* docTemplate = doc != nullptr ? doc->GetDocTemplate() : nullptr;
  CFrameWnd* frame = docTemplate != nullptr ? docTemplate->CreateNewFrame(doc, child) : nullptr;
  if (frame == nullptr) {
    AfxMessageBox(AFX_IDP_COMMAND_FAILURE);
    return;
  }
  docTemplate->InitialUpdateFrame(frame, doc);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID) {
  switch (nID) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); return TRUE;
    case ID_WINDOW_CASCADE: MDICascade(); return TRUE;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); return TRUE;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); return TRUE;
  }
  return FALSE;
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }

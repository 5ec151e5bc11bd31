// CMDIChildWnd: creation through the MDI client, activation by the client, by a click and by the
// keyboard, the shared menu of its kind of document, and its title with the window number.
#include "afx/CMDIChildWnd.h"

#include <cstdio>

#include "afx/CDocTemplate.h"
#include "afx/CMDIFrameWnd.h"
#include "afx/CView.h"
#include "afx/CWinApp.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_MDIACTIVATE()
  ON_WM_MOUSEACTIVATE()
  ON_WM_CHILDACTIVATE()
  ON_WM_SIZE()
END_MESSAGE_MAP()

CMDIChildWnd::~CMDIChildWnd() = default;

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= WS_CHILD;
  return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
  if (pParentWnd == nullptr) {
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) pParentWnd = static_cast<CMDIFrameWnd*>(main);
  }
  if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) {
    PostNcDestroy();
    return FALSE;
  }
  // The client must have its final size before a child is placed in it.
  pParentWnd->RecalcLayout();
  CREATESTRUCT cs{};
  cs.style = static_cast<LONG>(dwStyle);
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = brambolt::afx::Extent(rect.left, rect.right);
  cs.cy = brambolt::afx::Extent(rect.top, rect.bottom);
  cs.hwndParent = pParentWnd->m_hWndMDIClient;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = pContext;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  m_strTitle = lpszWindowName;
  // The child is made hidden and normal; the style decides how it is shown afterwards.
  DWORD style = static_cast<DWORD>(cs.style);
  MDICREATESTRUCT mcs{cs.lpszClass, cs.lpszName, cs.hInstance, cs.x, cs.y, cs.cx, cs.cy,
                      style & ~static_cast<DWORD>(WS_MAXIMIZE | WS_VISIBLE), reinterpret_cast<LPARAM>(pContext)};
  AfxHookWindowCreate(this);
  auto hWnd = reinterpret_cast<HWND>(
      ::SendMessage(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (!AfxUnhookWindowCreate()) {
    PostNcDestroy();  // the window was never made: nothing else deletes this object
    return FALSE;
  }
  if (hWnd == nullptr) return FALSE;
  if (style & WS_VISIBLE) {
    ::BringWindowToTop(hWnd);
    ShowWindow((style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    pParentWnd->MDIActivate(this);
    ::SendMessage(pParentWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  }
  return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString title;
  title.LoadString(nIDResource);
  int end = title.Find('\n');
  if (end >= 0) title = title.Left(end);
  // The child shares the menu and accelerators of its kind of document.
  if (pContext != nullptr && pContext->m_pNewDocTemplate != nullptr) {
    CDocTemplate* docTemplate = pContext->m_pNewDocTemplate;
    if (m_hMenuShared == nullptr) m_hMenuShared = docTemplate->m_hMenuShared;
    if (m_hAccelTable == nullptr) m_hAccelTable = docTemplate->m_hAccelTable;
  }
  CMDIFrameWnd* parent = pParentWnd != nullptr && pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))
                             ? static_cast<CMDIFrameWnd*>(pParentWnd)
                             : nullptr;
  return Create(nullptr, title, dwDefaultStyle | WS_CHILD, rectDefault, parent, pContext);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs) {
  // The creation context travels in the MDICREATESTRUCT the client passes on.
  CREATESTRUCT cs = *lpcs;
  if (auto* mcs = static_cast<MDICREATESTRUCT*>(lpcs->lpCreateParams))
    cs.lpCreateParams = reinterpret_cast<LPVOID>(mcs->lParam);
  return CFrameWnd::OnCreate(&cs);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProc(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  // The frame keeps its caption while the child goes, then shows the next child's.
  CMDIFrameWnd* frame = GetMDIFrame();
  HWND frameWnd = frame->GetSafeHwnd();
  LONG_PTR style = frameWnd != nullptr ? ::GetWindowLongPtr(frameWnd, GWL_STYLE) : 0;
  if (frameWnd != nullptr) ::SetWindowLongPtr(frameWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(FWS_ADDTOTITLE));
  MDIDestroy();
  if (frameWnd != nullptr && ::IsWindow(frameWnd)) {
    ::SetWindowLongPtr(frameWnd, GWL_STYLE, style);
    frame->OnUpdateFrameTitle(TRUE);
  }
  return TRUE;
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
  // Accelerators are the MDI frame's business (it uses this child's while it is active).
  return CWnd::PreTranslateMessage(pMsg);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() {
  HWND client = ::GetParent(m_hWnd);
  CWnd* frame = CWnd::FromHandlePermanent(client != nullptr ? ::GetParent(client) : nullptr);
  return frame != nullptr && frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(frame) : nullptr;
}

void CMDIChildWnd::MDIDestroy() {
  HWND client = ::GetParent(m_hWnd);
  if (client != nullptr && brambolt::IsMdiClient(client))
    ::SendMessage(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
  else
    CWnd::DestroyWindow();
}

void CMDIChildWnd::MDIActivate() {
  ::SendMessage(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize() {
  ::SendMessage(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore() {
  ::SendMessage(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
  CMDIFrameWnd* frame = GetMDIFrame();
  if (nCmdShow == -1) {
    // A child comes as the one before it was: maximised while that one is.
    BOOL maximized = FALSE;
    if (frame != nullptr) frame->MDIGetActive(&maximized);
    DWORD style = GetStyle();
    if (maximized || (style & WS_MAXIMIZE)) nCmdShow = SW_SHOWMAXIMIZED;
    else if (style & WS_MINIMIZE) nCmdShow = SW_SHOWMINIMIZED;
  }
  CFrameWnd::ActivateFrame(nCmdShow);
  if (frame != nullptr && ::IsWindow(m_hWnd)) {
    // Also when it is active already: the client then gives it the focus (an open document
    // opened again from a bar's tree is where the keys go next).
    MDIActivate();
    ::SendMessage(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  }
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  CMDIFrameWnd* frame = GetMDIFrame();
  if (GetStyle() & FWS_ADDTOTITLE) {
    CDocument* doc = GetActiveDocument();
    CString title;
    if (bAddToTitle && doc != nullptr) {
      title = doc->GetTitle();
      if (m_nWindow > 0) {
        char number[16];
        std::snprintf(number, sizeof(number), ":%d", m_nWindow);
        title += number;
      }
    } else {
      title = m_strTitle;
    }
    CString current;
    GetWindowText(current);
    if (current != title) SetWindowText(title);
  }
  if (frame != nullptr) frame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  CMDIFrameWnd* frame = GetMDIFrame();
  if (frame != nullptr && frame->MDIGetActive() == this) OnUpdateFrameMenu(TRUE, this, hMenuAlt);
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) {
  CMDIFrameWnd* frame = GetMDIFrame();
  if (frame == nullptr) return;
  if (hMenuAlt == nullptr && bActive) {
    // A document may have a menu of its own; otherwise its kind's.
    if (CDocument* doc = GetActiveDocument()) hMenuAlt = doc->GetDefaultMenu();
    if (hMenuAlt == nullptr) hMenuAlt = m_hMenuShared;
  }
  HWND client = frame->m_hWndMDIClient;
  if (hMenuAlt != nullptr && bActive) {
    ::SendMessage(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenuAlt),
                  reinterpret_cast<LPARAM>(frame->GetWindowMenuPopup(hMenuAlt)));
  } else if (!bActive && pActivateWnd == nullptr && frame->m_hMenuDefault != nullptr) {
    // No child is active any more: the frame's own menu comes back.
    ::SendMessage(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(frame->m_hMenuDefault),
                  reinterpret_cast<LPARAM>(frame->GetWindowMenuPopup(frame->m_hMenuDefault)));
  } else {
    ::SendMessage(client, WM_MDIREFRESHMENU, 0, 0);
  }
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*) {
  CView* view = GetActiveView();
  if (!bActivate && view != nullptr) view->OnActivateView(FALSE, view, view);
  CMDIFrameWnd* frame = GetMDIFrame();
  if (bActivate || pActivateWnd == nullptr) {
    OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
    if (frame != nullptr) frame->DrawMenuBar();
  }
  if (bActivate && view != nullptr) view->OnActivateView(TRUE, view, view);
  if (frame != nullptr) frame->OnUpdateFrameTitle(TRUE);
}

int CMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  int result = CFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
  CMDIFrameWnd* frame = GetMDIFrame();
  if (frame != nullptr && frame->MDIGetActive() != this) MDIActivate();
  return result;
}

void CMDIChildWnd::OnChildActivate() { Default(); }

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  CFrameWnd::OnSize(nType, cx, cy);
  // A maximised child's title shows in the frame's.
  if (CMDIFrameWnd* frame = GetMDIFrame()) frame->OnUpdateFrameTitle(TRUE);
}

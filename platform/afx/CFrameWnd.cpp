// CFrameWnd: frames with their resources, title, active view, accelerators, menu updates,
// command routing and status-line prompts. The layout of bars is in FrameLayout.cpp, docking in
// FrameDocking.cpp.
#include "afx/CFrameWnd.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "afx/CControlBar.h"
#include "afx/CDocTemplate.h"
#include "afx/CPreviewView.h"
#include "afx/CView.h"
#include "afx/CWinApp.h"
#include "afx/ResourceImages.h"
#include "afx/WindowDCs.h"
#include "win/Menu.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

namespace {

// The small images of the icons frames take from their resources, by the window class made for
// each icon; a frame gives its class the small image once the window exists.
struct SmallIcons {
  std::mutex mutex;
  std::map<std::string, HICON> byClass;
};

SmallIcons& FrameSmallIcons() {
  static SmallIcons icons;
  return icons;
}

}  // namespace

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_ACTIVATE()
  ON_WM_NCACTIVATE()
  ON_WM_ENABLE()
  ON_WM_ENTERIDLE()
  ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_REBAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_REBAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_KANA, OnUpdateKeyIndicator)
  ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
  ON_WM_ENTERMENULOOP()
  ON_WM_EXITMENULOOP()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

std::vector<CFrameWnd*>& ThreadFrames() {
  thread_local std::vector<CFrameWnd*> frames;
  return frames;
}

}  // namespace

CFrameWnd::CFrameWnd() { ThreadFrames().push_back(this); }

CFrameWnd::~CFrameWnd() {
  auto& frames = ThreadFrames();
  frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
  // Bars still listed outlive their frame (members destroyed after it): they forget it.
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (bar->m_pDockSite == this) bar->m_pDockSite = nullptr;
  }
}

std::vector<CFrameWnd*> CFrameWnd::GetThreadFrames() { return ThreadFrames(); }

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) {
    // A frame loaded from a resource id that also names an icon shows that icon (caption, task
    // list, a maximised child's menu button); its 16-pixel image, where it has one, is drawn at
    // the small size (caption, tabs) instead of the big one shrunk.
    HICON icon = nullptr, small = nullptr;
    if (m_nIDHelp != 0) {
      LPCTSTR name = MAKEINTRESOURCE(m_nIDHelp);
      HINSTANCE instance = AfxFindResourceHandle(name, RT_GROUP_ICON);
      if (::FindResource(instance, name, RT_GROUP_ICON) != nullptr) {
        icon = ::LoadIcon(instance, name);
        small = static_cast<HICON>(::LoadImage(instance, name, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
      }
    }
    cs.lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_WINDOW), icon);
    if (cs.lpszClass != nullptr && small != nullptr) {
      SmallIcons& icons = FrameSmallIcons();
      std::lock_guard lock(icons.mutex);
      icons.byClass.emplace(cs.lpszClass, small);
    }
  }
  // The title the frame shows is made from the document's; FWS_ styles are the framework's own.
  if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
  return CWnd::PreCreateWindow(cs);
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU menu = nullptr;
  if (lpszMenuName != nullptr) {
    menu = ::LoadMenu(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
    if (menu == nullptr) return FALSE;
  }
  m_strTitle = lpszWindowName;
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, brambolt::afx::Extent(rect.left, rect.right),
                brambolt::afx::Extent(rect.top, rect.bottom), pParentWnd->GetSafeHwnd(), menu, pContext)) {
    if (menu != nullptr) ::DestroyMenu(menu);
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString title;
  title.LoadString(nIDResource);
  int end = title.Find('\n');
  if (end >= 0) title = title.Left(end);
  LPCTSTR menuName = MAKEINTRESOURCE(nIDResource);
  bool hasMenu = ::FindResource(AfxFindResourceHandle(menuName, RT_MENU), menuName, RT_MENU) != nullptr;
  if (!Create(nullptr, title, dwDefaultStyle, rectDefault, pParentWnd, hasMenu ? menuName : nullptr, 0, pContext))
    return FALSE;
  m_hMenuDefault = ::GetMenu(m_hWnd);
  LoadAccelTable(menuName);
  if (pContext == nullptr) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR lpszResourceName) {
  if (m_hAccelTable != nullptr) return FALSE;
  m_hAccelTable = ::LoadAccelerators(AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR), lpszResourceName);
  return m_hAccelTable != nullptr;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  char className[96] = "";
  if (::GetClassName(m_hWnd, className, sizeof(className)) > 0) {
    SmallIcons& icons = FrameSmallIcons();
    std::lock_guard lock(icons.mutex);
    if (auto it = icons.byClass.find(className); it != icons.byClass.end())
      ::SetClassLongPtr(m_hWnd, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(it->second));
  }
  auto* context = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (!OnCreateClient(lpcs, context)) return -1;
  // The status line starts with the idle message, once the bars made after this exist.
  PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext != nullptr && pContext->m_pNewViewClass != nullptr) return CreateView(pContext) != nullptr;
  return TRUE;
}

CView* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  auto* view = static_cast<CView*>(pContext->m_pNewViewClass->CreateObject());
  if (view == nullptr) return nullptr;
  CRect client;
  GetClientRect(&client);
  if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW & ~static_cast<DWORD>(WS_BORDER), client, this, nID,
                    pContext))
    return nullptr;  // PostNcDestroy deleted it
  return view;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  if (m_pViewActive != nullptr)
    m_pViewActive->SetFocus();
  else
    CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* old = m_pViewActive;
  if (pViewNew == old) return;
  m_pViewActive = nullptr;
  if (bNotify && old != nullptr) old->OnActivateView(FALSE, pViewNew, old);
  m_pViewActive = pViewNew;
  if (bNotify && pViewNew != nullptr) pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument() {
  return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) nCmdShow = IsWindowVisible() ? SW_SHOW : SW_SHOWNORMAL;
  ShowWindow(nCmdShow);
  if (IsWindowVisible()) BringWindowToTop();
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  CView* view = nullptr;
  if (GetActiveView() == nullptr) {
    // The first pane, inside a splitter that has the pane's id itself.
    HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    while (pane != nullptr && ::GetDlgItem(pane, AFX_IDW_PANE_FIRST) != nullptr) pane = ::GetDlgItem(pane, AFX_IDW_PANE_FIRST);
    view = static_cast<CView*>(CWnd::FromHandlePermanent(pane));
    if (view != nullptr && view->IsKindOf(RUNTIME_CLASS(CView))) SetActiveView(view, FALSE);
  }
  SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  // Views learn their content after every window of the frame exists.
  if (pDoc != nullptr) {
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;) {
      CView* each = pDoc->GetNextView(pos);
      if (each->GetParentFrame() == this) each->OnInitialUpdate();
    }
  }
  if (bMakeVisible) {
    ActivateFrame();
    if (m_pViewActive != nullptr) m_pViewActive->OnActivateView(TRUE, m_pViewActive, m_pViewActive);
  }
  // The frame may be the document's second: numbers and titles of all its frames change.
  if (pDoc != nullptr) pDoc->UpdateFrameCounts();
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if ((GetStyle() & FWS_ADDTOTITLE) == 0) return;
  CDocument* doc = GetActiveDocument();
  UpdateFrameTitleForDocument(bAddToTitle && doc != nullptr ? static_cast<LPCTSTR>(doc->GetTitle()) : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName) {
  CString numbered;
  if (lpszDocName != nullptr && *lpszDocName != '\0' && m_nWindow > 0) {
    numbered.Format("%s:%d", lpszDocName, m_nWindow);
    lpszDocName = numbered;
  }
  CString title;
  if (lpszDocName != nullptr && *lpszDocName != '\0' && (GetStyle() & FWS_PREFIXTITLE)) {
    title = CString(lpszDocName) + " - " + m_strTitle;
  } else if (lpszDocName != nullptr && *lpszDocName != '\0') {
    title = m_strTitle + " - " + lpszDocName;
  } else {
    title = m_strTitle;
  }
  CString current;
  GetWindowText(current);
  if (current != title) SetWindowText(title);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  HMENU menu = hMenuAlt != nullptr ? hMenuAlt : m_hMenuDefault;
  if (menu != nullptr && ::GetMenu(m_hWnd) != menu) ::SetMenu(m_hWnd, menu);
}

namespace {

bool PressPreviewBarMnemonic(const CFrameWnd* frame, const MSG* pMsg) {
  // In print preview the frame shows no menu: Alt and a letter press the preview bar's button
  // of that mnemonic, wherever the focus is.
  if (frame->m_lpfnCloseProc == nullptr || pMsg->message != WM_SYSKEYDOWN || ::GetKeyState(VK_MENU) >= 0) return false;
  const HWND bar = ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR);
  const auto key = static_cast<unsigned>(pMsg->wParam);
  if (bar == nullptr || !::IsWindowVisible(bar) || key >= 0x80 || !std::isalnum(static_cast<int>(key))) return false;
  for (HWND child = ::GetWindow(bar, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    char text[128] = {};
    ::GetWindowText(child, text, sizeof text);
    const char* amp = std::strchr(text, '&');
    while (amp != nullptr && amp[1] == '&') amp = std::strchr(amp + 2, '&');
    if (amp == nullptr || std::toupper(static_cast<unsigned char>(amp[1])) != static_cast<int>(key)) continue;
    if (::IsWindowVisible(child) && ::IsWindowEnabled(child)) {
      ::SendMessage(child, BM_CLICK, 0, 0);
      // The click gave the button the keyboard: the preview takes it back, so its own keys (the
      // pages, Escape) go on working. A button that ended the preview took the bar with it.
      if (::IsWindow(bar) && ::IsChild(bar, ::GetFocus()))
        if (HWND pane = ::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST)) ::SetFocus(pane);
    }
    return true;
  }
  return false;
}

// A button of the preview bar clicked with the mouse keeps the keyboard: the preview's own keys
// (the pages, Escape) pressed there go to the preview, which takes the keyboard back. Space and
// Enter stay the button's.
bool GivePreviewItsKey(const CFrameWnd* frame, const MSG* pMsg) {
  if (frame->m_lpfnCloseProc == nullptr || pMsg->message != WM_KEYDOWN) return false;
  switch (pMsg->wParam) {
    case VK_NEXT:
    case VK_PRIOR:
    case VK_HOME:
    case VK_END:
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_ESCAPE: break;
    default: return false;
  }
  const HWND bar = ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR);
  const HWND pane = ::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST);
  if (bar == nullptr || pane == nullptr || (pMsg->hwnd != bar && !::IsChild(bar, pMsg->hwnd))) return false;
  ::SetFocus(pane);
  ::SendMessage(pane, WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
  return true;
}

}  // namespace

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (PressPreviewBarMnemonic(this, pMsg) || GivePreviewItsKey(this, pMsg)) return TRUE;
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
    HACCEL accel = GetDefaultAccelerator();
    return accel != nullptr && ::TranslateAccelerator(m_hWnd, accel, pMsg);
  }
  return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  _AFX_THREAD_STATE* state = AfxGetThreadState();
  CFrameWnd* savedFrame = state->m_pRoutingFrame;
  state->m_pRoutingFrame = this;
  BOOL handled = FALSE;
  // The active view (and through it its document) first, then the frame, then the application.
  CView* view = GetActiveView();
  if (view != nullptr && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
    handled = TRUE;
  } else if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
    handled = TRUE;
  } else if (CWinApp* app = AfxGetApp(); app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
    handled = TRUE;
  }
  state->m_pRoutingFrame = savedFrame;
  return handled;
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu) {
  if (bSysMenu) return;  // the system menu has no update handlers
  AfxUpdateMenuPopup(this, pMenu, m_bAutoMenuEnable);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  // The status line shows the prompt of the item under the selection.
  if (nFlags == 0xFFFF && hSysMenu == nullptr) {
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;
  } else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP))) {
    m_nIDTracking = 0;
  } else {
    m_nIDTracking = nItemID;
  }
  SendMessage(WM_SETMESSAGESTRING, m_nIDTracking, 0);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  // A command's prompt is its string up to the first '\n' (the rest is its tool tip).
  rMessage.LoadString(nID);
  int end = rMessage.Find('\n');
  if (end >= 0) rMessage = rMessage.Left(end);
}

void CFrameWnd::OnEnterMenuLoop(BOOL) {
  // No item is highlighted yet: whatever the status line showed before (a pressed menubar
  // title) is nothing help is asked about.
  m_bInMenuLoop = TRUE;
  m_nIDTracking = 0;
}

void CFrameWnd::OnExitMenuLoop(BOOL) { m_bInMenuLoop = FALSE; }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  UINT previous = m_nIDLastMessage;
  // While a menu is open only its highlighted item (set by WM_MENUSELECT) is shown and tracked.
  if (m_bInMenuLoop && (lParam != 0 || static_cast<UINT>(wParam) != m_nIDTracking)) return previous;
  if (lParam != 0) {
    m_strMessage = reinterpret_cast<LPCTSTR>(lParam);
  } else if (wParam != 0) {
    UINT id = static_cast<UINT>(wParam);
    // System commands have their prompts among the framework's strings.
    if (id >= 0xF000 && id < 0xF1F0) id = AFX_IDS_SCFIRST + ((id - 0xF000) >> 4);
    // During print preview the status line at rest shows the pages shown, not "Ready": menus and
    // bars put it back to rest when the pointer leaves them.
    const CPreviewView* preview = nullptr;
    if (id == AFX_IDS_IDLEMESSAGE && m_lpfnCloseProc != nullptr)
      preview = dynamic_cast<const CPreviewView*>(CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)));
    if (preview != nullptr && !preview->GetPageText().IsEmpty())
      m_strMessage = preview->GetPageText();
    else
      GetMessageString(id, m_strMessage);
  } else {
    m_strMessage.Empty();
  }
  // The status line (pane 0 of the message bar) shows it.
  if (CWnd* bar = GetMessageBar(); bar != nullptr && bar->m_hWnd != nullptr) {
    bar->SetWindowText(m_strMessage);
    CFrameWnd* barFrame = bar->GetParentFrame();
    if (barFrame != nullptr && barFrame != this) {
      barFrame->m_nIDLastMessage = static_cast<UINT>(wParam);
      barFrame->m_nIDTracking = static_cast<UINT>(wParam);
    }
  }
  m_nIDLastMessage = static_cast<UINT>(wParam);
  m_nIDTracking = static_cast<UINT>(wParam);
  return previous;
}

LRESULT CFrameWnd::OnCommandHelp(WPARAM, LPARAM lParam) {
  if (lParam == 0) {
    if (IsTracking())
      lParam = static_cast<LPARAM>(HID_BASE_COMMAND + m_nIDTracking);
    else if (m_nIDHelp != 0)
      lParam = static_cast<LPARAM>(HID_BASE_FRAME + m_nIDHelp);
  }
  if (lParam == 0) return FALSE;
  if (CWinApp* app = AfxGetApp()) app->WinHelp(static_cast<DWORD_PTR>(lParam), HELP_CONTEXT);
  return TRUE;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
  if (m_nFlags & WF_NOPOPMSG) return 0;
  return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho) {
  CWnd::OnEnterIdle(nWhy, pWho);
  // While a menu is open, the prompt of the item tracked shows once the menu waits.
  if (nWhy == MSGF_MENU && m_nIDTracking != m_nIDLastMessage) SetMessageText(m_nIDTracking);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
  UINT vk = 0;
  switch (pCmdUI->m_nID) {
    case ID_INDICATOR_CAPS: vk = VK_CAPITAL; break;
    case ID_INDICATOR_NUM: vk = VK_NUMLOCK; break;
    case ID_INDICATOR_SCRL: vk = VK_SCROLL; break;
    case ID_INDICATOR_KANA: vk = VK_KANA; break;
    default:
      pCmdUI->ContinueRouting();
      return;
  }
  // The indicator's text shows while the key's lock is on.
  pCmdUI->Enable((::GetKeyState(static_cast<int>(vk)) & 1) != 0);
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText) { SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText)); }

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID, 0); }

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (m_nIdleFlags & idleMenu) {
    m_nIdleFlags &= ~static_cast<UINT>(idleMenu);
    OnUpdateFrameMenu(nullptr);
  }
  // A hidden frame keeps its pending layout for when it shows.
  if (IsWindowVisible() || m_nShowDelay >= 0) {
    m_nIdleFlags &= ~static_cast<UINT>(idleTitle);
    OnUpdateFrameTitle(TRUE);
    if (m_nIdleFlags & idleLayout) {
      RecalcLayout((m_nIdleFlags & idleNotify) != 0);
      UpdateWindow();
    }
  }
  return 0;
}

BOOL CFrameWnd::PutOffCloseForMenu() {
  if (brambolt::TrackedMenu() == nullptr) return FALSE;
  ::EndMenu();
  PostMessage(WM_CLOSE);
  return TRUE;
}

void CFrameWnd::OnClose() {
  if (PutOffCloseForMenu()) return;
  if (m_lpfnCloseProc != nullptr) {
    m_lpfnCloseProc(this);
    return;
  }
  CDocument* doc = GetActiveDocument();
  if (doc != nullptr && !doc->CanCloseFrame(this)) return;
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_pMainWnd == this) {
    // Closing the main window ends the application: every document is asked first.
    if (!app->SaveAllModified()) return;
    app->CloseAllDocuments(FALSE);
    if (!IsWindow(m_hWnd)) return;  // closing the documents closed this frame
  } else if (doc != nullptr && doc->m_viewList.GetCount() == 1) {
    // The last view of the document goes with this frame: so does the document.
    doc->PreCloseFrame(this);
    doc->OnCloseDocument();
    return;
  }
  DestroyWindow();
}

void CFrameWnd::OnDestroy() {
  m_pViewActive = nullptr;
  CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy() { delete this; }

// ---- finding frames ----

CFrameWnd* CWnd::GetParentFrame() const {
  if (m_hWnd == nullptr) return nullptr;
  for (CWnd* parent = GetParent(); parent != nullptr; parent = parent->GetParent())
    if (parent->IsFrameWnd()) return static_cast<CFrameWnd*>(parent);
  return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  if (m_hWnd == nullptr) return nullptr;
  CWnd* wnd = const_cast<CWnd*>(this);
  CFrameWnd* frame = IsFrameWnd() ? static_cast<CFrameWnd*>(wnd) : GetParentFrame();
  while (frame != nullptr) {
    CFrameWnd* up = frame->GetParentFrame();
    if (up == nullptr) break;
    frame = up;
  }
  return frame;
}

// ---- help mode ----

UINT CFrameWnd::HelpHitTest(CPoint ptScreen) {
  // The window under the point, then its parents, are asked what the point is (WM_HELPHITTEST);
  // a window that does not say gives its control id.
  for (HWND hWnd = ::WindowFromPoint(ptScreen); hWnd != nullptr && hWnd != ::GetParent(m_hWnd);
       hWnd = ::GetParent(hWnd)) {
    CPoint client = ptScreen;
    ::ScreenToClient(hWnd, &client);
    auto answer = static_cast<UINT>(::SendMessage(hWnd, WM_HELPHITTEST, 0, MAKELPARAM(client.x, client.y)));
    if (answer != 0) return answer;
    if (hWnd == m_hWnd) break;
  }
  return 0;
}

// The command a menu chose, as help mode gives help on it: a WM_COMMAND the frame's menu posted,
// or a command of a system menu of the frame or its children (the system ids have string ids of
// their own). 0 for anything else, which help mode lets run (an Alt key opening the menu).
UINT CFrameWnd::HelpModeMenuCommand(const MSG& msg) const {
  if (msg.message == WM_COMMAND)
    return msg.hwnd == m_hWnd && msg.lParam == 0 && HIWORD(msg.wParam) == 0 ? LOWORD(msg.wParam) : 0;
  if (msg.message != WM_SYSCOMMAND || (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd))) return 0;
  const auto id = static_cast<UINT>(msg.wParam & 0xFFF0);
  if (id == SC_KEYMENU || id == SC_MOUSEMENU) return 0;
  return id >= SC_SIZE ? AFX_IDS_SCFIRST + ((id - SC_SIZE) >> 4) : static_cast<UINT>(msg.wParam);
}

void CFrameWnd::OnContextHelp() {
  if (m_bHelpMode) return;
  // A pending request to leave help mode means it is not entered at all.
  MSG msg;
  if (::PeekMessage(&msg, m_hWnd, WM_EXITHELPMODE, WM_EXITHELPMODE, PM_REMOVE)) return;
  m_bHelpMode = TRUE;
  SetMessageText(AFX_IDS_HELPMODEMESSAGE);
  LPCTSTR cursorName = MAKEINTRESOURCE(AFX_IDC_CONTEXTHELP);
  HCURSOR helpCursor = ::LoadCursor(AfxFindResourceHandle(cursorName, RT_GROUP_CURSOR), cursorName);
  if (helpCursor == nullptr) helpCursor = ::LoadCursor(nullptr, IDC_ARROW);
  SetCapture();
  ::SetCursor(helpCursor);
  // After something that may have taken the mouse (a menu, a bar's own handling), help mode
  // takes it back, with its cursor.
  auto keepHelpMode = [&] {
    if (m_bHelpMode && ::GetCapture() != m_hWnd) SetCapture();
    ::SetCursor(helpCursor);
  };
  DWORD_PTR context = 0;
  bool chosen = false;
  LONG idle = 0;
  while (m_bHelpMode && ::GetCapture() == m_hWnd) {
    if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      CWinApp* app = AfxGetApp();
      if (app == nullptr || !app->OnIdle(idle++)) {
        idle = 0;
        ::WaitMessage();
      }
      continue;
    }
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_EXITHELPMODE || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) break;
    const HelpModeAnswer answer = OnHelpModeMessage(msg, context);
    if (answer == helpModeChosen) {
      chosen = true;
      break;
    }
    if (answer == helpModeEaten) {
      keepHelpMode();
      continue;
    }
    if (const UINT id = HelpModeMenuCommand(msg); id != 0) {
      context = HID_BASE_COMMAND + id;
      chosen = true;
      break;
    }
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN) {
      // A click on the menu opens it: the command then chosen is what help is given on.
      if (::WindowFromPoint(msg.pt) == m_hWnd &&
          SendMessage(WM_NCHITTEST, 0, MAKELPARAM(msg.pt.x, msg.pt.y)) == HTMENU) {
        SendMessage(WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(msg.pt.x, msg.pt.y));
        keepHelpMode();
        continue;
      }
      // The click chooses: a command (a bar's item) or a window of the frame.
      UINT hit = HelpHitTest(msg.pt);
      if (hit != 0) {
        context = hit >= HID_BASE_COMMAND ? hit : HID_BASE_COMMAND + hit;
      } else {
        context = m_nIDHelp != 0 ? HID_BASE_FRAME + m_nIDHelp : 0;
      }
      chosen = true;
      break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_SETCURSOR) {
      ::SetCursor(helpCursor);
      continue;
    }
    if ((msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) || msg.message == WM_SYSCOMMAND) {
      // Only system keys get through (Alt opens the menu whose items can then be chosen).
      if (msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP || msg.message == WM_SYSCHAR ||
          msg.message == WM_SYSCOMMAND) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
        keepHelpMode();  // the menu the key opened had the mouse
      }
      continue;
    }
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) continue;  // eaten
    ::DispatchMessage(&msg);
  }
  m_bHelpMode = FALSE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  SetMessageText(AFX_IDS_IDLEMESSAGE);
  if (chosen) {
    if (context == 0)
      SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
    else if (CWinApp* app = AfxGetApp())
      app->WinHelp(context, HELP_CONTEXT);
  }
  // The idle update runs again with help mode over.
  PostMessage(WM_KICKIDLE);
}

// The controller base: message filtering, initialisation on a window, and event routing.
#include "editor/mvc/MvcController.h"

namespace kelpwood::foundation {

CEventListeners::~CEventListeners() {
  while (!m_listeners.empty()) {
    IEventRouter* r = m_listeners.back();
    m_listeners.pop_back();
    r->Release();
  }
}

bool CEventListeners::Route(IEvent* e) {
  if (e == nullptr) return false;
  bool handled = false;
  for (IEventRouter* r : std::vector<IEventRouter*>(m_listeners)) handled = r->RouteEvent(e) || handled;
  return handled;
}

void CEventListeners::Add(IEventRouter* r) {
  if (r == nullptr) return;
  r->AddRef();
  m_listeners.push_back(r);
}

bool CEventListeners::Remove(IEventRouter* r) {
  for (auto it = m_listeners.begin(); it != m_listeners.end(); ++it) {
    if (*it == r) {
      m_listeners.erase(it);
      r->Release();
      return true;
    }
  }
  return false;
}

bool MvcController::IsControllerMessage(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_COMMAND:
    case WM_SETCURSOR:
    case WM_TIMER:
    case WM_CONTEXTMENU:
    case 0x19:  // the framework's internal control-colour message
      return true;
    default:
      return message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL;
  }
}

BOOL MvcController::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  return SECWndPlugIn::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL MvcController::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (!IsControllerMessage(message)) return FALSE;
  return SECWndPlugIn::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL MvcController::Initialize(CWnd* pWnd, CMvcVisualComponent* pVisual) { return OnInitialize(pWnd, pVisual); }

BOOL MvcController::OnInitialize(CWnd* pWnd, CMvcVisualComponent* pVisual) {
  m_pWnd = pWnd;
  SetVisual(pVisual);
  m_hWnd = nullptr;
  return PlugInTo(pWnd);
}

}  // namespace kelpwood::foundation

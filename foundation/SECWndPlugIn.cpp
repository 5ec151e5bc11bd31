// SECWndPlugIn: borrowing a host window's handle and answering the host's dispatch through the
// plug-in's own message map.
#include "SECWndPlugIn.h"

namespace kelpwood::foundation {

IMPLEMENT_DYNAMIC(SECWndPlugIn, CWnd)

// No base map: the plug-in routes only what its derived classes handle, never CWnd's entries.
BEGIN_MESSAGE_MAP(SECWndPlugIn, CCmdTarget)
END_MESSAGE_MAP()

SECWndPlugIn::SECWndPlugIn()
    : m_bHandled(FALSE), m_bCallDefault(FALSE), m_bOverrideReturn(FALSE), m_bReturn(FALSE), m_bPluggedIn(FALSE) {}

SECWndPlugIn::~SECWndPlugIn() {
  if (m_pbDestroyed != nullptr) *m_pbDestroyed = true;
  LeaveHost();
  m_hWnd = nullptr;
}

void SECWndPlugIn::SetMsgReturn(BOOL bReturn) {
  m_bOverrideReturn = TRUE;
  m_bReturn = bReturn;
}

BOOL SECWndPlugIn::BorrowHandle(CWnd* pWnd) {
  if (pWnd == nullptr) return FALSE;
  // Plugging into a second window first leaves the first.
  if (m_bPluggedIn) UnPlug();
  m_hWnd = pWnd->m_hWnd;
  m_bPluggedIn = TRUE;
  return TRUE;
}

BOOL SECWndPlugIn::PlugInTo(CWnd* pWnd) {
  if (!BorrowHandle(pWnd)) return FALSE;
  if (m_bOfferedByHost && m_hWnd != nullptr) {
    // The object that receives the window's messages is the permanent one, which pWnd need not be.
    CWnd* host = CWnd::FromHandlePermanent(m_hWnd);
    if (host != nullptr && host != this) {
      host->AddPlugIn(this);
      m_pHost = host;
      m_hWndHost = m_hWnd;
    }
  }
  return TRUE;
}

void SECWndPlugIn::LeaveHost() {
  // A host whose window is gone has been detached from it and may be deleted: it is asked only
  // while it still owns the window it had.
  if (m_pHost != nullptr && CWnd::FromHandlePermanent(m_hWndHost) == m_pHost) m_pHost->RemovePlugIn(this);
  m_pHost = nullptr;
  m_hWndHost = nullptr;
}

void SECWndPlugIn::UnPlug() {
  LeaveHost();
  m_bPluggedIn = FALSE;
  m_hWnd = nullptr;
}

BOOL SECWndPlugIn::IsPluggedIn() { return m_bPluggedIn; }

BOOL SECWndPlugIn::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (!m_bPluggedIn) return FALSE;
  m_bHandled = FALSE;
  m_bCallDefault = FALSE;
  DeletionWatch watch(this);
  BOOL verdict = CWnd::OnWndMsg(message, wParam, lParam, pResult);
  if (watch.Gone()) return verdict;
  if (m_bOverrideReturn) {
    m_bOverrideReturn = FALSE;
    return m_bReturn;
  }
  return verdict;
}

SECWndPlugIn::DeletionWatch::DeletionWatch(SECWndPlugIn* pPlugIn) : m_pPlugIn(pPlugIn), m_pbOuter(pPlugIn->m_pbDestroyed) {
  pPlugIn->m_pbDestroyed = &m_bDestroyed;
}

SECWndPlugIn::DeletionWatch::~DeletionWatch() {
  if (!m_bDestroyed) m_pPlugIn->m_pbDestroyed = m_pbOuter;
}

bool SECWndPlugIn::DeletionWatch::Gone() {
  // Watches further out learn it too.
  if (m_bDestroyed && m_pbOuter != nullptr) *m_pbOuter = true;
  return m_bDestroyed;
}

BOOL SECWndPlugIn::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (!m_bPluggedIn) return FALSE;
  return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT SECWndPlugIn::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_bPluggedIn || !m_bCallDefault) return 0;
  return CWnd::DefWindowProc(message, wParam, lParam);
}

BOOL SECWndPlugIn::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0) return CWnd::OnCommand(wParam, lParam);
  UINT nID = LOWORD(wParam);
  if (nID == 0) return FALSE;
  return OnCmdMsg(nID, HIWORD(wParam), nullptr, nullptr);
}

BOOL SECWndPlugIn::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  UINT nID = header->hwndFrom != nullptr ? static_cast<UINT>(::GetDlgCtrlID(header->hwndFrom))
                                         : static_cast<UINT>(header->idFrom);
  AFX_NOTIFY notify{pResult, header};
  return OnCmdMsg(nID, static_cast<int>(MAKELONG(header->code, WM_NOTIFY)), &notify, nullptr);
}

BOOL SECWndPlugIn::PlugInWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  // Commands and notifications come by the host's command routing (PlugInCmdMsg), once.
  if (message == WM_COMMAND || message == WM_NOTIFY) return FALSE;
  LRESULT result = 0;
  DeletionWatch watch(this);
  OnWndMsg(message, wParam, lParam, &result);
  if (watch.Gone() || !m_bHandled) return FALSE;
  m_bHandled = FALSE;
  *pResult = result;
  return TRUE;
}

BOOL SECWndPlugIn::PlugInCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  m_bHandled = FALSE;
  BOOL handled = OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) || m_bHandled;
  m_bHandled = FALSE;
  return handled;
}

}  // namespace kelpwood::foundation

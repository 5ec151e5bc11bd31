// CWinThread: thread start-up and end, the message loop with idle processing, and the
// thread's handling of messages before and after dispatch.
#include "afx/CWinThread.h"

#include <algorithm>

#include "afx/CFrameWnd.h"
#include "afx/CWinApp.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

// The system's private timer message, which never ends an idle period.
constexpr UINT kSystemTimer = 0x0118;

}  // namespace

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pThreadParams(pParam), m_pfnThreadProc(pfnThreadProc) {}

CWinThread::~CWinThread() {
  if (m_hThread != nullptr && m_hThread != ::GetCurrentThread()) ::CloseHandle(m_hThread);
  _AFX_THREAD_STATE* state = AfxGetThreadState();
  if (state->m_pCurrentWinThread == this) state->m_pCurrentWinThread = nullptr;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this, dwCreateFlags, &m_nThreadID);
  return m_hThread != nullptr;
}

DWORD WINAPI CWinThread::ThreadEntry(LPVOID pThis) {
  auto* thread = static_cast<CWinThread*>(pThis);
  AfxGetThreadState()->m_pCurrentWinThread = thread;
  // The thread works for the application's main window unless it makes its own.
  CWnd inherited;
  CWinApp* app = AfxGetApp();
  if (app != nullptr && thread->m_pMainWnd == nullptr && app->m_pMainWnd->GetSafeHwnd() != nullptr) {
    inherited.Attach(app->m_pMainWnd->m_hWnd);
    thread->m_pMainWnd = &inherited;
  }
  int result;
  if (thread->m_pfnThreadProc != nullptr) {
    result = static_cast<int>(thread->m_pfnThreadProc(thread->m_pThreadParams));
  } else if (!thread->InitInstance()) {
    result = thread->ExitInstance();
  } else {
    result = thread->Run();
  }
  // The thread's temporary objects go with it; the object itself when it deletes itself.
  AfxLockTempMaps();
  AfxUnlockTempMaps();
  AfxGetThreadState()->m_pCurrentWinThread = nullptr;
  if (thread->m_pMainWnd == &inherited) thread->m_pMainWnd = nullptr;
  inherited.Detach();
  thread->Delete();
  return static_cast<DWORD>(result);
}

void CWinThread::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

CWnd* CWinThread::GetMainWnd() {
  if (m_pActiveWnd != nullptr) return m_pActiveWnd;
  return m_pMainWnd;
}

int CWinThread::Run() {
  // Messages pumped from inside this loop's waits go through the same filter.
  brambolt::ScopedLoopFilter filter([this](MSG& msg) {
    AfxGetThreadState()->m_msgCur = msg;
    return msg.message == WM_KICKIDLE || PreTranslateMessage(&msg);
  });
  bool idle = true;
  LONG idleCount = 0;
  for (;;) {
    while (idle && !::PeekMessage(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) idle = false;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        idle = true;
        idleCount = 0;
      }
    } while (::PeekMessage(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWinThread::PumpMessage() {
  if (!::GetMessage(&m_msgCur, nullptr, 0, 0)) return FALSE;
  AfxGetThreadState()->m_msgCur = m_msgCur;
  // WM_KICKIDLE only wakes the loop for idle processing.
  if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessage(&m_msgCur);
  }
  return TRUE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    if (m_ptCursorLast == pMsg->pt && pMsg->message == m_nMsgLast) return FALSE;
    m_ptCursorLast = pMsg->pt;
    m_nMsgLast = pMsg->message;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != kSystemTimer;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWnd* main = m_pMainWnd;
    if (main != nullptr && main->m_hWnd != nullptr && main->IsWindowVisible()) {
      AfxCallWndProc(main, main->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
      main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
    // Every other frame of the thread too, floating frames of bars included: their bars update
    // their items, and a delayed show or hide of the frame is carried out.
    for (CFrameWnd* frame : CFrameWnd::GetThreadFrames()) {
      if (frame == main || frame->m_hWnd == nullptr) continue;
      // A frame destroyed by an earlier one's update has left the list.
      const auto live = CFrameWnd::GetThreadFrames();
      if (std::find(live.begin(), live.end(), frame) == live.end()) continue;
      if (frame->m_nShowDelay == SW_HIDE) frame->ShowWindow(SW_HIDE);
      if (frame->IsWindowVisible() || frame->m_nShowDelay >= 0) {
        AfxCallWndProc(frame, frame->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
        frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
      }
      if (frame->m_nShowDelay > SW_HIDE) frame->ShowWindow(frame->m_nShowDelay);
      frame->m_nShowDelay = -1;
    }
    return TRUE;
  }
  if (lCount == 1) {
    AfxLockTempMaps();
    AfxUnlockTempMaps();
  }
  return FALSE;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg) {
  for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
       map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
    const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(map->lpEntries, pMsg->message, 0, 0);
    if (entry != nullptr && (entry->nSig == AfxSig_v_w_l || entry->nMessage == 0xC000)) {
      AfxCallHandler<void, WPARAM, LPARAM>(this, entry->pfn, pMsg->wParam, pMsg->lParam);
      return TRUE;
    }
  }
  return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->hwnd == nullptr && DispatchThreadMessageEx(pMsg)) return TRUE;
  CWnd* main = AfxGetMainWnd();
  if (CWnd::WalkPreTranslateTree(main->GetSafeHwnd(), pMsg)) return TRUE;
  // A window outside the main window's tree (a modeless dialog) still gets the main window's
  // accelerators.
  if (main != nullptr && pMsg->hwnd != nullptr) {
    CWnd* target = CWnd::FromHandle(pMsg->hwnd);
    if (target->GetTopLevelParent() != main) return main->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CWinThread::ProcessMessageFilter(int code, LPMSG lpMsg) {
  if (lpMsg == nullptr || code < 0) return FALSE;
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && lpMsg->hwnd != nullptr && (code == MSGF_DIALOGBOX || code == MSGF_MENU))
    return main->PreTranslateMessage(lpMsg);
  return FALSE;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
  if (pMsg->message == WM_CREATE) return -1;
  if (pMsg->message == WM_PAINT) {
    ::ValidateRect(pMsg->hwnd, nullptr);
    return 0;
  }
  e->ReportError();
  return 0;
}

// ---- thread helpers ----

namespace {

// Starts a new thread object suspended, sets its priority and lets it run unless the caller
// asked for it suspended.
CWinThread* StartThread(CWinThread* thread, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                        LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  if (thread == nullptr) return nullptr;
  if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
    thread->Delete();
    return nullptr;
  }
  thread->SetThreadPriority(nPriority);
  if (!(dwCreateFlags & CREATE_SUSPENDED)) thread->ResumeThread();
  return thread;
}

}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  return StartThread(new CWinThread(pfnThreadProc, pParam), nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
  return StartThread(static_cast<CWinThread*>(pThreadClass->CreateObject()), nPriority, nStackSize, dwCreateFlags,
                     lpSecurityAttrs);
}

CWinThread* AfxGetThread() { return AfxGetThreadState()->m_pCurrentWinThread; }

CWnd* AfxGetMainWnd() {
  CWinThread* thread = AfxGetThread();
  return thread != nullptr ? thread->GetMainWnd() : nullptr;
}

void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg) {
  if (CWinThread* thread = AfxGetThread()) return thread->ProcessWndProcException(e, pMsg);
  return pMsg->message == WM_CREATE ? -1 : 0;
}

void AfxNotifyWindowGone(CWnd* pWnd) {
  CWinThread* thread = AfxGetThread();
  if (thread == nullptr) return;
  if (thread->m_pMainWnd == pWnd) {
    // The main window of the application ends its message loop.
    if (thread == AfxGetApp()) AfxPostQuitMessage(0);
    thread->m_pMainWnd = nullptr;
  }
  if (thread->m_pActiveWnd == pWnd) thread->m_pActiveWnd = nullptr;
}

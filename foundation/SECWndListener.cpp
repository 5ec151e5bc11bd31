// SECWndListener: the chains of listeners that replace a window's procedure, the dispatch of each
// message along a chain, and leaving a chain, also while it dispatches.
#include "SECWndListener.h"

#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "win/Dialog.h"

namespace kelpwood::foundation {

IMPLEMENT_DYNAMIC(SECWndListener, SECWndPlugIn)

BEGIN_MESSAGE_MAP(SECWndListener, SECWndPlugIn)
END_MESSAGE_MAP()

namespace {

using ChainRecord = SECWndListener_MsgProcInfo_tag;

// Window handle to chain record, for the whole process. Records themselves are only touched by
// the thread that owns their window.
class ChainMap {
 public:
  ChainRecord* Lookup(HWND hWnd) {
    std::lock_guard lock(mutex_);
    auto it = records_.find(hWnd);
    return it == records_.end() ? nullptr : it->second;
  }
  void Enter(HWND hWnd, ChainRecord* record) {
    std::lock_guard lock(mutex_);
    records_[hWnd] = record;
  }
  void Remove(HWND hWnd) {
    std::lock_guard lock(mutex_);
    records_.erase(hWnd);
  }

 private:
  std::mutex mutex_;
  std::unordered_map<HWND, ChainRecord*> records_;
};

ChainMap& Chains() {
  static ChainMap map;
  return map;
}

void FreeRecord(ChainRecord* record) {
  delete record->pListeners;
  delete record;
}

BOOL IsMember(const ChainRecord* record, SECWndListener* listener) {
  return record->pListeners->Find(listener) != nullptr;
}

LRESULT DispatchChain(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bWindowProc);

LRESULT CALLBACK ChainWndProcHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchChain(hWnd, message, wParam, lParam, TRUE);
}

INT_PTR CALLBACK ChainDlgProcHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchChain(hWnd, message, wParam, lParam, FALSE);
}

// What a message gets that reaches a hook whose chain is gone. A dialog procedure answers "not
// handled", so the dialog manager does its own work.
LRESULT Unhooked(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bWindowProc) {
  if (!bWindowProc) return FALSE;
  char name[16] = {};
  ::GetClassName(hWnd, name, sizeof name);
  if (std::string_view(name) == BRAMBOLT_DIALOG_CLASS) return ::DefDlgProc(hWnd, message, wParam, lParam);
  return ::DefWindowProc(hWnd, message, wParam, lParam);
}

LRESULT CallSaved(WNDPROC wndProc, DLGPROC dlgProc, BOOL bWindowProc, HWND hWnd, UINT message, WPARAM wParam,
                  LPARAM lParam) {
  if (bWindowProc) {
    if (wndProc == nullptr) return Unhooked(hWnd, message, wParam, lParam, TRUE);
    return ::CallWindowProc(wndProc, hWnd, message, wParam, lParam);
  }
  return dlgProc != nullptr ? dlgProc(hWnd, message, wParam, lParam) : FALSE;
}

// Keeps a record alive while a dispatch of its window runs.
class DispatchGuard {
 public:
  explicit DispatchGuard(ChainRecord* record) : record_(record) { ++record_->nDispatching; }
  ~DispatchGuard() {
    if (--record_->nDispatching == 0 && record_->bDetached) FreeRecord(record_);
  }
  DispatchGuard(const DispatchGuard&) = delete;
  DispatchGuard& operator=(const DispatchGuard&) = delete;

 private:
  ChainRecord* record_;
};

std::vector<SECWndListener*> Snapshot(const ChainRecord* record) {
  std::vector<SECWndListener*> listeners;
  for (POSITION pos = record->pListeners->GetHeadPosition(); pos != nullptr;)
    listeners.push_back(record->pListeners->GetNext(pos));
  return listeners;
}

// The window is going: every listener leaves before the window's own procedure sees the message.
LRESULT EndOfWindow(HWND hWnd, WPARAM wParam, LPARAM lParam, BOOL bWindowProc) {
  ChainRecord* record = Chains().Lookup(hWnd);
  if (record == nullptr) return Unhooked(hWnd, WM_NCDESTROY, wParam, lParam, bWindowProc);
  WNDPROC wndProc = record->lpfnOldWndProc;
  DLGPROC dlgProc = record->lpfnOldDlgProc;
  {
    DispatchGuard guard(record);
    for (SECWndListener* listener : Snapshot(record))
      if (IsMember(record, listener)) listener->UnPlug();
  }
  return CallSaved(wndProc, dlgProc, bWindowProc, hWnd, WM_NCDESTROY, wParam, lParam);
}

LRESULT DispatchChain(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bWindowProc) {
  if (hWnd == nullptr) return 0;
  if (message == WM_NCDESTROY) return EndOfWindow(hWnd, wParam, lParam, bWindowProc);
  ChainRecord* record = Chains().Lookup(hWnd);
  if (message == SECWndListener::GetRemoveFromChainMessage() && record != nullptr &&
      record->lpfnOldWndProc == reinterpret_cast<WNDPROC>(wParam))
    record->lpfnOldWndProc = reinterpret_cast<WNDPROC>(lParam);
  if (record == nullptr) return Unhooked(hWnd, message, wParam, lParam, bWindowProc);

  DispatchGuard guard(record);
  _AFX_THREAD_STATE* state = AfxGetThreadState();
  MSG saved = state->m_lastSentMsg;
  state->m_lastSentMsg.hwnd = hWnd;
  state->m_lastSentMsg.message = message;
  state->m_lastSentMsg.wParam = wParam;
  state->m_lastSentMsg.lParam = lParam;

  LRESULT shared = 0;
  int flags = 0;
  // A handler may make any listener leave, itself included, or delete it: each one is called
  // and read only while it is still in the chain.
  for (SECWndListener* listener : Snapshot(record)) {
    if (!IsMember(record, listener)) continue;
    // Flags pending for a dispatch further out (this one is nested in a handler) wait for it.
    int pendingOuter = listener->m_nListenerFlags;
    int leaversOuter = record->nFlagsOfLeavers;
    listener->m_nListenerFlags = 0;
    record->nFlagsOfLeavers = 0;
    listener->OnListenMsg(message, wParam, lParam, &shared);
    if (IsMember(record, listener)) {
      flags |= listener->m_nListenerFlags;
      listener->m_nListenerFlags = pendingOuter;
    } else {
      flags |= record->nFlagsOfLeavers;
    }
    record->nFlagsOfLeavers = leaversOuter;
    if (flags & SECWndListener::kStopChain) break;
  }
  state->m_lastSentMsg = saved;

  if (flags & SECWndListener::kSkipWindow) return shared;
  return CallSaved(record->lpfnOldWndProc, record->lpfnOldDlgProc, bWindowProc, hWnd, message, wParam, lParam);
}

}  // namespace

SECWndListener::SECWndListener() : m_nListenerFlags(0), m_hWndListened(nullptr) { m_bOfferedByHost = FALSE; }

SECWndListener::~SECWndListener() {
  if (m_bPluggedIn) UnPlug();
}

UINT SECWndListener::GetRemoveFromChainMessage() {
  static const UINT message = ::RegisterWindowMessageA("ot.Listener.RemoveFromChain");
  return message;
}

SECWndListener_MsgProcInfo_tag* SECWndListener::LookupChain(HWND hWnd) { return Chains().Lookup(hWnd); }

void SECWndListener::SetMsgReturn(BOOL) {}

BOOL SECWndListener::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL SECWndListener::PlugInTo(CWnd* pWnd) {
  if (!SECWndPlugIn::PlugInTo(pWnd)) return FALSE;
  if (!JoinChain(pWnd)) {
    SECWndPlugIn::UnPlug();
    return FALSE;
  }
  m_hWndListened = pWnd->m_hWnd;
  return TRUE;
}

void SECWndListener::UnPlug() {
  RemoveFromChain();
  SECWndPlugIn::UnPlug();
  m_hWndListened = nullptr;
}

BOOL SECWndListener::Listen(CWnd* pWnd, DWORD) { return PlugInTo(pWnd); }

void SECWndListener::SetListenerFlags(int nFlags) { m_nListenerFlags = nFlags; }

BOOL SECWndListener::OnListenMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return OnWndMsg(message, wParam, lParam, pResult);
}

BOOL SECWndListener::OnListenMsg(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT dropped = 0;
  return OnListenMsg(message, wParam, lParam, &dropped);
}

BOOL SECWndListener::JoinChain(CWnd* pWnd) {
  HWND hWnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
  if (hWnd == nullptr || !::IsWindow(hWnd)) return FALSE;
  if (ChainRecord* record = Chains().Lookup(hWnd)) return AddToChain(record);
  return CreateChain(hWnd);
}

BOOL SECWndListener::AddToChain(SECWndListener_MsgProcInfo_tag* pInfo) {
  pInfo->pListeners->AddTail(this);
  return TRUE;
}

BOOL SECWndListener::HookWindowProc(HWND hWnd) { return ::GetWindowLongPtrA(hWnd, DWLP_DLGPROC) == 0; }

BOOL SECWndListener::CreateChain(HWND hWnd) {
  auto* record = new ChainRecord;
  if (HookWindowProc(hWnd)) {
    record->lpfnOldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainWndProcHook)));
  } else {
    record->lpfnOldDlgProc = reinterpret_cast<DLGPROC>(
        ::SetWindowLongPtrA(hWnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&ChainDlgProcHook)));
  }
  record->pListeners = new CTypedPtrList<CPtrList, SECWndListener*>(10);
  record->pListeners->AddTail(this);
  Chains().Enter(hWnd, record);
  return TRUE;
}

BOOL SECWndListener::RemoveFromChain() {
  HWND hWnd = m_hWnd != nullptr ? m_hWnd : m_hWndListened;
  if (hWnd == nullptr) return FALSE;
  ChainRecord* record = Chains().Lookup(hWnd);
  if (record == nullptr) return FALSE;
  if (record->lpfnOldWndProc != nullptr && m_hWnd != nullptr)
    ::SendMessageA(hWnd, GetRemoveFromChainMessage(), reinterpret_cast<WPARAM>(&ChainWndProcHook),
                   reinterpret_cast<LPARAM>(record->lpfnOldWndProc));
  if (POSITION pos = record->pListeners->Find(this)) record->pListeners->RemoveAt(pos);
  if (record->nDispatching > 0) {
    // The dispatcher can no longer read this listener: it keeps the flags it set for it.
    record->nFlagsOfLeavers |= m_nListenerFlags;
    m_nListenerFlags = 0;
  }
  if (!record->pListeners->IsEmpty()) return TRUE;

  // The last one puts back the procedure the window had before the first joined, also when
  // the borrowed handle was dropped earlier, as long as the window exists.
  if (::IsWindow(hWnd)) {
    if (record->lpfnOldWndProc != nullptr)
      ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->lpfnOldWndProc));
    else
      ::SetWindowLongPtrA(hWnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(record->lpfnOldDlgProc));
  }
  Chains().Remove(hWnd);
  if (record->nDispatching > 0)
    record->bDetached = TRUE;
  else
    FreeRecord(record);
  return TRUE;
}

}  // namespace kelpwood::foundation

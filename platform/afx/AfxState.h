// The framework's per-thread state (the message being handled, the window being created, the
// routing frame) and the helpers for state objects local to a thread or to the process.
#pragma once

#include <memory>
#include <mutex>

#include "core/Geometry.h"
#include "win/WinUser.h"

class CWnd;
class CFrameWnd;
class CView;
class CWinThread;

class _AFX_THREAD_STATE {
 public:
  // The message AfxWndProc is handling now; Default() passes it on. Saved and restored around
  // each nested dispatch.
  MSG m_lastSentMsg{};
  // The message the thread's pump retrieved last.
  MSG m_msgCur{};
  CPoint m_ptCursorLast{-1, -1};
  UINT m_nMsgLast = 0;
  // The object whose window CWnd::CreateEx is creating: attached by the creation hook.
  CWnd* m_pWndInit = nullptr;
  HHOOK m_hHookOldCbtFilter = nullptr;
  // Control notifications to this window are dropped (while it updates its own controls).
  HWND m_hLockoutNotifyWindow = nullptr;
  // The frame that commands are routed through while a frame routes them.
  CFrameWnd* m_pRoutingFrame = nullptr;
  CView* m_pRoutingView = nullptr;
  CWinThread* m_pCurrentWinThread = nullptr;
  BOOL m_bInMsgFilter = FALSE;
};

// The calling thread's state, made on first use.
_AFX_THREAD_STATE* AfxGetThreadState();

// A class whose objects the framework keeps for the process or for a thread.
class CNoTrackObject {
 public:
  virtual ~CNoTrackObject() = default;
};

// One object of TYPE for the process, made on first use (from any thread) and destroyed at exit.
template <class TYPE>
class CProcessLocal {
 public:
  TYPE* GetData() {
    std::call_once(once_, [this] { data_ = std::make_unique<TYPE>(); });
    return data_.get();
  }
  TYPE* operator->() { return GetData(); }
  operator TYPE*() { return GetData(); }

 private:
  std::once_flag once_;
  std::unique_ptr<TYPE> data_;
};

// One object of TYPE for each thread that asks, destroyed when that thread ends.
template <class TYPE>
class CThreadLocal {
 public:
  TYPE* GetData() {
    thread_local std::unique_ptr<TYPE> data;
    if (!data) data = std::make_unique<TYPE>();
    return data.get();
  }
  TYPE* operator->() { return GetData(); }
  operator TYPE*() { return GetData(); }
};

#define PROCESS_LOCAL(class_name, ident_name) CProcessLocal<class_name> ident_name;
#define EXTERN_PROCESS_LOCAL(class_name, ident_name) extern CProcessLocal<class_name> ident_name;
#define THREAD_LOCAL(class_name, ident_name) CThreadLocal<class_name> ident_name;
#define EXTERN_THREAD_LOCAL(class_name, ident_name) extern CThreadLocal<class_name> ident_name;

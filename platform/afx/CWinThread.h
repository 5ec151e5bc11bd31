// CWinThread: a thread of the framework, either a worker running one function or a
// user-interface thread with its own message loop, idle processing and main window.
#pragma once

#include "afx/CWnd.h"
#include "os/KernelObject.h"
#include "os/Threads.h"

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  // A user-interface thread: InitInstance, then Run.
  CWinThread();
  // A worker thread: runs pfnThreadProc(pParam).
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
  ~CWinThread() override;

  // Starts the thread; with CREATE_SUSPENDED it waits for ResumeThread.
  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

  CWnd* m_pMainWnd = nullptr;
  CWnd* m_pActiveWnd = nullptr;
  // Deleted when the thread ends (and when InitInstance fails).
  BOOL m_bAutoDelete = TRUE;
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  MSG m_msgCur{};
  LPVOID m_pThreadParams = nullptr;
  AFX_THREADPROC m_pfnThreadProc = nullptr;

  operator HANDLE() const { return m_hThread; }
  int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
  BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
  DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
  DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
  BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessage(m_nThreadID, message, wParam, lParam);
  }

  // FALSE ends the thread at once (ExitInstance runs, then the object is deleted).
  virtual BOOL InitInstance();
  // The message loop with idle processing; returns ExitInstance's code when WM_QUIT comes.
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL PumpMessage();
  // Called while the queue is empty with 0, 1, 2 ...; TRUE asks for another call. Count 0
  // updates the user interface of the main window, count 1 deletes the temporary objects.
  virtual BOOL OnIdle(LONG lCount);
  // Whether a message ends an idle period (repeated mouse moves and paints do not).
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual int ExitInstance();
  // A framework exception nobody caught in a window procedure: WM_CREATE fails, WM_PAINT
  // validates, anything else reports the error.
  virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
  virtual BOOL ProcessMessageFilter(int code, LPMSG lpMsg);
  virtual CWnd* GetMainWnd();
  // Deletes the object when m_bAutoDelete is set.
  virtual void Delete();
  // Thread messages (hwnd NULL) through ON_THREAD_MESSAGE entries.
  BOOL DispatchThreadMessageEx(MSG* pMsg);

 protected:
  CPoint m_ptCursorLast{-1, -1};
  UINT m_nMsgLast = 0;

 private:
  static DWORD WINAPI ThreadEntry(LPVOID pThis);
};

// Starts a worker thread running pfnThreadProc(pParam), or a user-interface thread of class
// pThreadClass. Returns null when the thread cannot be made.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// The CWinThread of the calling thread (the application on the thread that made it).
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
void AfxPostQuitMessage(int nExitCode);

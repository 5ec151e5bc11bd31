// The small progress dialog a worker thread drives: a playing animation on white, the caption
// naming what the worker does, and a cancel that asks the worker to stop and waits for it.
#pragma once

#include "afx/CDialog.h"
#include "afx/DataExchange.h"
#include "os/Threads.h"

// The dialog ends only when its worker says it is done (the worker's last act sends WM_CLOSE),
// so the object outlives every access of the worker. Esc or a posted close asks the worker to
// stop; the dialog then stays, disabled, serving the worker's sent messages until that WM_CLOSE.
class WorkerProgressDlg : public CDialog {
 public:
  explicit WorkerProgressDlg(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~WorkerProgressDlg() override;

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // TRUE while a worker runs for this dialog.
  BOOL HasWorker() const { return m_bWorking; }
  // TRUE once the user asked the worker to stop.
  BOOL IsStopRequested() const { return m_bStopRequested; }

  CWnd m_ctlAnimate;       // the animation control the worker plays
  CString m_strText;       // the wait text, left empty
  COLORREF m_crBackground = RGB(255, 255, 255);

 protected:
  // Starts the worker over this dialog's window; FALSE when no thread could be made.
  virtual BOOL StartWorker() = 0;
  // Tells the running worker to stop before its next file; it still ends with WM_CLOSE.
  virtual void StopWorker() = 0;

  void DoDataExchange(CDataExchange* pDX) override;
  // Enter ends nothing while the worker runs: it still reads this object.
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnClose();
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  HBRUSH m_hBackground = nullptr;
  BOOL m_bWorking = FALSE;
  BOOL m_bStopRequested = FALSE;
};

// What both workers do with the dialog's animation control, by sent messages: open the
// program's progress clip and play it without end, then stop it and close the clip.
void PlayProgressClip(HWND hDialog);
void StopProgressClip(HWND hDialog);

class CWinThread;
// Makes the worker's thread suspended, sets its priority and resumes it; FALSE (the object
// deleted) when no thread could be made. The worker deletes itself when its job ends.
BOOL StartWorkerThread(CWinThread* pThread, int nPriority);
inline BOOL StartIdleWorker(CWinThread* pThread) { return StartWorkerThread(pThread, THREAD_PRIORITY_IDLE); }

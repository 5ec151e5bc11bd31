// The progress dialog shared by the documentation run and folder adding.
#include "model/WorkerProgressDlg.h"

#include "afx/CDC.h"
#include "afx/CWinThread.h"
#include "controls/CommCtrl.h"
#include "resources/resource.h"

WorkerProgressDlg::WorkerProgressDlg(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {
  m_hBackground = ::CreateSolidBrush(m_crBackground);
}

WorkerProgressDlg::~WorkerProgressDlg() {
  if (m_hBackground != nullptr) ::DeleteObject(m_hBackground);
}

BEGIN_MESSAGE_MAP(WorkerProgressDlg, CDialog)
  ON_WM_CLOSE()
  ON_WM_SYSCOMMAND()
  ON_WM_ERASEBKGND()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

void WorkerProgressDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ANIMATE, m_ctlAnimate);
  DDX_Text(pDX, IDC_WAIT_TEXT, m_strText);
}

BOOL WorkerProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  m_bWorking = StartWorker();
  return FALSE;
}

void WorkerProgressDlg::OnOK() {
  if (!m_bWorking) CDialog::OnOK();
}

void WorkerProgressDlg::OnCancel() {
  if (!m_bWorking) {
    CDialog::OnCancel();
    return;
  }
  if (!m_bStopRequested) {
    m_bStopRequested = TRUE;
    StopWorker();
    EnableWindow(FALSE);
  }
}

void WorkerProgressDlg::OnClose() {
  // Sent from another thread only by the worker, as its last touch of this dialog.
  if (m_bWorking && ::InSendMessage()) {
    m_bWorking = FALSE;
    EnableWindow(TRUE);
    EndDialog(IDCANCEL);
    return;
  }
  OnCancel();
}

BOOL WorkerProgressDlg::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->hwnd == m_hWnd && (pMsg->message == WM_CLOSE || pMsg->message == WM_DESTROY)) {
    OnCancel();
    return TRUE;
  }
  return CDialog::PreTranslateMessage(pMsg);
}

void WorkerProgressDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  if ((nID & 0xFFF0) == SC_CLOSE) return;  // the close box does nothing; Esc stops the worker
  CDialog::OnSysCommand(nID, lParam);
}

BOOL WorkerProgressDlg::OnEraseBkgnd(CDC* pDC) {
  RECT rc{};
  ::GetClientRect(m_hWnd, &rc);
  ::FillRect(pDC->GetSafeHdc(), &rc, m_hBackground);
  return TRUE;
}

void WorkerProgressDlg::OnDestroy() {
  m_bWorking = FALSE;
  CDialog::OnDestroy();
}

void PlayProgressClip(HWND hDialog) {
  const HWND hAnimation = ::GetDlgItem(hDialog, IDC_ANIMATE);
  if (hAnimation == nullptr) return;
  ::SendMessage(hAnimation, ACM_OPEN, reinterpret_cast<WPARAM>(::GetModuleHandle(nullptr)),
                reinterpret_cast<LPARAM>(MAKEINTRESOURCE(IDR_PROGRESS_AVI)));
  ::SendMessage(hAnimation, ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, 0xFFFF));
}

void StopProgressClip(HWND hDialog) {
  const HWND hAnimation = ::GetDlgItem(hDialog, IDC_ANIMATE);
  if (hAnimation == nullptr) return;
  ::SendMessage(hAnimation, ACM_STOP, 0, 0);
  ::SendMessage(hAnimation, ACM_OPEN, 0, 0);
}

BOOL StartWorkerThread(CWinThread* pThread, int nPriority) {
  if (!pThread->CreateThread(CREATE_SUSPENDED)) {
    delete pThread;
    return FALSE;
  }
  pThread->SetThreadPriority(nPriority);
  // The last use of the object here: once resumed, the thread may end and delete it.
  pThread->ResumeThread();
  return TRUE;
}

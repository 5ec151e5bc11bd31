// The documentation worker thread.
#include "model/CCopyFileThread.h"

#include "model/CWorkSpaceObj.h"
#include "model/DocumentationRun.h"

IMPLEMENT_DYNAMIC(CCopyFileThread, CWinThread)

namespace {

// The animation control's messages and the dialog's control and clip.
constexpr UINT kAcmOpen = WM_USER + 100;
constexpr UINT kAcmPlay = WM_USER + 101;
constexpr UINT kAcmStop = WM_USER + 102;
constexpr int kAnimationId = 1005;
constexpr int kProgressClip = 151;

}  // namespace

CCopyFileThread::CCopyFileThread(DocumentationProgress* pDialog) : m_pDialog(pDialog) {}

BOOL CCopyFileThread::InitInstance() {
  m_bAutoDelete = TRUE;
  GenerateDocumentation();
  return FALSE;
}

void CCopyFileThread::GenerateDocumentation() {
  const HWND hDialog = m_pDialog->GetWindow();
  const HWND hAnimation = hDialog != nullptr ? ::GetDlgItem(hDialog, kAnimationId) : nullptr;
  if (hAnimation != nullptr) {
    ::SendMessage(hAnimation, kAcmOpen, 0, static_cast<LPARAM>(kProgressClip));
    ::SendMessage(hAnimation, kAcmPlay, static_cast<WPARAM>(-1), MAKELONG(0, 0xFFFF));
  }
  if (m_pProject != nullptr)
    m_pDialog->SetFailedClasses(::GenerateDocumentation(*m_pProject, m_strFolder, m_bRewrite, m_nLanguage, *m_pDialog));
  if (hAnimation != nullptr) {
    ::SendMessage(hAnimation, kAcmStop, 0, 0);
    ::SendMessage(hAnimation, kAcmOpen, 0, 0);
  }
  m_bBusy = FALSE;
  // The last touch of the dialog: once it has handled this, the thread reaches it no more.
  if (hDialog != nullptr) ::SendMessage(hDialog, WM_CLOSE, 0, 0);
}

BOOL CCopyFileThread::Start(DocumentationProgress* pDialog, CWorkSpaceObj* pProject, CString strFolder,
                                        int nLanguage, BOOL bRewrite) {
  auto* pThread = new CCopyFileThread(pDialog);
  pThread->m_pProject = pProject;
  pThread->m_strFolder = strFolder;
  pThread->m_nLanguage = nLanguage;
  pThread->m_bRewrite = bRewrite;
  if (!pThread->CreateThread(CREATE_SUSPENDED)) {
    delete pThread;
    return FALSE;
  }
  pThread->SetThreadPriority(THREAD_PRIORITY_IDLE);
  // The last use of the object here: once resumed, the thread may end and delete it.
  pThread->ResumeThread();
  return TRUE;
}

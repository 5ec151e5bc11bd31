// The documentation worker thread.
#include "model/CCopyFileThread.h"

#include "controls/CommCtrl.h"
#include "model/CWorkSpaceObj.h"
#include "model/DocumentationRun.h"

IMPLEMENT_DYNAMIC(CCopyFileThread, CWinThread)

namespace {

// The dialog's animation control and the program's "copying files" clip.
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
    ::SendMessage(hAnimation, ACM_OPEN, reinterpret_cast<WPARAM>(::GetModuleHandle(nullptr)),
                  reinterpret_cast<LPARAM>(MAKEINTRESOURCE(kProgressClip)));
    // From the first frame to the last, repeating until stopped.
    ::SendMessage(hAnimation, ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, 0xFFFF));
  }
  if (m_pProject != nullptr)
    m_pDialog->SetFailedClasses(::GenerateDocumentation(*m_pProject, m_strFolder, m_bRewrite, m_nLanguage, *m_pDialog));
  if (hAnimation != nullptr) {
    ::SendMessage(hAnimation, ACM_STOP, 0, 0);
    ::SendMessage(hAnimation, ACM_OPEN, 0, 0);
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

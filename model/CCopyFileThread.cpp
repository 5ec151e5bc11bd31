// The documentation worker thread.
#include "model/CCopyFileThread.h"

#include "model/CWorkSpaceObj.h"
#include "model/DocumentationRun.h"
#include "model/WorkerProgressDlg.h"

IMPLEMENT_DYNAMIC(CCopyFileThread, CWinThread)

CCopyFileThread::CCopyFileThread(DocumentationProgress* pDialog) : m_pDialog(pDialog) {}

BOOL CCopyFileThread::InitInstance() {
  m_bAutoDelete = TRUE;
  GenerateDocumentation();
  return FALSE;
}

void CCopyFileThread::GenerateDocumentation() {
  const HWND hDialog = m_pDialog->GetWindow();
  if (hDialog != nullptr) PlayProgressClip(hDialog);
  if (m_pProject != nullptr)
    m_pDialog->SetFailedClasses(::GenerateDocumentation(*m_pProject, m_strFolder, m_bRewrite, m_nLanguage, *m_pDialog));
  if (hDialog != nullptr) StopProgressClip(hDialog);
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
  // At the normal priority: the user waits for this run, and an idle thread gets next to no time
  // on a busy machine.
  return StartWorkerThread(pThread, THREAD_PRIORITY_NORMAL);
}

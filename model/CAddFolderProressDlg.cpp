// The folder-adding progress dialog.
#include "model/CAddFolderProressDlg.h"

#include "model/CAddFolderThread.h"
#include "resources/resource.h"

CAddFolderProressDlg::CAddFolderProressDlg(CWnd* pParentWnd)
    : WorkerProgressDlg(IDD_ADD_FOLDER_PROGRESS, pParentWnd) {}

BOOL CAddFolderProressDlg::StartWorker() {
  auto* pThread = new CAddFolderThread(this);
  pThread->m_strSource = m_strSource;
  pThread->m_strTarget = m_strTarget;
  pThread->m_bLookInSubfolders = m_bLookInSubfolders;
  if (!pThread->CreateThread(CREATE_SUSPENDED)) {
    delete pThread;
    return FALSE;
  }
  pThread->SetThreadPriority(THREAD_PRIORITY_IDLE);
  // The last use of the object here: once resumed, the thread may end and delete it.
  pThread->ResumeThread();
  return TRUE;
}

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
  return StartIdleWorker(pThread);
}

// The documentation run's progress dialog.
#include "model/CCopyFileProDlg.h"

#include "model/CCopyFileThread.h"
#include "resources/resource.h"

CCopyFileProDlg::CCopyFileProDlg(CWnd* pParentWnd) : WorkerProgressDlg(IDD_COPYFILE_PROGRESS, pParentWnd) {}

BOOL CCopyFileProDlg::StartWorker() {
  m_pProgress = std::make_unique<DocumentationProgress>(m_hWnd, m_nCaptionMs);
  return CCopyFileThread::Start(m_pProgress.get(), m_pProject, m_strFolder, m_nLanguage, m_bRewrite);
}

void CCopyFileProDlg::StopWorker() { m_pProgress->RequestStop(); }

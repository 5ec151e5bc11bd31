// CCopyFileProDlg: the progress dialog of Write Documentation; its worker writes the tree.
#pragma once

#include <memory>

#include "model/DocumentationProgress.h"
#include "model/WorkerProgressDlg.h"

class CWorkSpaceObj;

class CCopyFileProDlg : public WorkerProgressDlg {
 public:
  explicit CCopyFileProDlg(CWnd* pParentWnd = nullptr);

  CString m_strFolder;  // the output folder, ending in a separator
  BOOL m_bRewrite = FALSE;
  CWorkSpaceObj* m_pProject = nullptr;
  int m_nLanguage = 1000;
  // How often at most the caption names what the run writes.
  int m_nCaptionMs = DocumentationProgress::kCaptionMs;

  // What the run wrote; null before the dialog started its worker.
  const DocumentationProgress* GetProgress() const { return m_pProgress.get(); }

 protected:
  BOOL StartWorker() override;
  void StopWorker() override;

 private:
  std::unique_ptr<DocumentationProgress> m_pProgress;
};

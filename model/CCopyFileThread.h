// CCopyFileThread: the worker of the Write Documentation run. Its progress dialog makes it
// suspended and resumes it; it plays the dialog's animation, writes the tree and
// closes the dialog, reaching the dialog only by sent messages, and deletes itself when it ends.
#pragma once

#include "os/Threads.h"
#include "afx/CWinThread.h"
#include "model/DocumentationProgress.h"

class CWorkSpaceObj;

class CCopyFileThread : public CWinThread {
  DECLARE_DYNAMIC(CCopyFileThread)

 public:
  // The dialog's progress: its window (with the animation control 1005) and the stop flag its
  // cancel sets. It must outlive the thread, which sends WM_CLOSE to the window as its last act.
  explicit CCopyFileThread(DocumentationProgress* pDialog);

  // Runs the job and returns FALSE, so the thread ends at once and the object is deleted.
  BOOL InitInstance() override;
  void GenerateDocumentation();

  // Makes the thread suspended and resumes it; FALSE (the object deleted) when the thread cannot
  // be made. The object deletes itself when the job ends, so the
  // caller keeps no pointer to it.
  static BOOL Start(DocumentationProgress* pDialog, CWorkSpaceObj* pProject, CString strFolder,
                                int nLanguage, BOOL bRewrite);

  int m_nLanguage = 1000;
  BOOL m_bRewrite = FALSE;
  CString m_strFolder;
  BOOL m_bBusy = TRUE;  // until the job has ended
  DocumentationProgress* m_pDialog;
  CWorkSpaceObj* m_pProject = nullptr;
};

// Release of a record's file.
#include "model/RecordFile.h"

#include "afx/CWinApp.h"

RecordWaitCursor::RecordWaitCursor() {
  CWinApp* pApp = AfxGetApp();
  m_bShown = pApp != nullptr && pApp->m_nThreadID == ::GetCurrentThreadId();
  if (m_bShown) pApp->DoWaitCursor(1);
}

RecordWaitCursor::~RecordWaitCursor() {
  if (CWinApp* pApp = AfxGetApp(); m_bShown && pApp != nullptr) pApp->DoWaitCursor(-1);
}

void ReleaseRecordFile(CFile* pFile, BOOL bAbort) {
  if (pFile == nullptr) return;
  if (bAbort) {
    pFile->Abort();
  } else {
    TRY { pFile->Close(); }
    CATCH_ALL(e) {
      pFile->Abort();
      delete pFile;
      THROW_LAST();
    }
    END_CATCH_ALL
  }
  delete pFile;
}

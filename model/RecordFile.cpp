// Release of a record's file.
#include "model/RecordFile.h"

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

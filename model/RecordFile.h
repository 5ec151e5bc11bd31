// The one-record file of the model's records: a record archived alone into a file of its own
// through a 4096-byte archive, and the release of that file.
#pragma once

#include <functional>

#include "core/CArchive.h"
#include "core/CException.h"
#include "core/CFile.h"

// Closes the file (or, with bAbort, abandons it) and deletes it. A close that fails abandons and
// deletes the file too before the exception goes on.
void ReleaseRecordFile(CFile* pFile, BOOL bAbort);

// The wait cursor while a record goes to or comes from its file (or other short file work is
// done), when the application runs on this thread (a worker's transfer leaves the cursor alone).
class RecordWaitCursor {
 public:
  RecordWaitCursor();
  ~RecordWaitCursor();
  RecordWaitCursor(const RecordWaitCursor&) = delete;
  RecordWaitCursor& operator=(const RecordWaitCursor&) = delete;

 private:
  bool m_bShown = false;
};

// What a caller is told of the exception that made a transfer fail, before it is deleted.
using RecordFailure = std::function<void(CException*)>;

// Archives the record into (or out of) the open file under the wait cursor, and releases the
// file, which it takes over, through the record's ReleaseFile: normally, or with abort when a
// framework exception comes up (FALSE). A loading pass over an empty file reads nothing.
template <class Record>
BOOL TransferRecordFile(Record& record, CFile* pFile, UINT nArchiveMode, const RecordFailure& onFailure = {}) {
  RecordWaitCursor wait;
  TRY {
    if ((nArchiveMode & CArchive::load) == 0 || pFile->GetLength() != 0) {
      CArchive ar(pFile, nArchiveMode | CArchive::bNoFlushOnDelete, 4096);
      record.Serialize(ar);
      ar.Close();
    }
    CFile* pDone = pFile;
    pFile = nullptr;
    record.ReleaseFile(pDone, FALSE);
  }
  CATCH_ALL(e) {
    if (pFile != nullptr) record.ReleaseFile(pFile, TRUE);
    if (onFailure) onFailure(e);
    return FALSE;
  }
  END_CATCH_ALL
  return TRUE;
}

// Opens pFile (taken over) on the path and archives the record into it; FALSE when the file does
// not open or the transfer fails.
template <class Record>
BOOL SaveRecordToFile(Record& record, CFile* pFile, LPCTSTR lpszPathName, UINT nOpenFlags,
                      const RecordFailure& onFailure = {}) {
  CFileException error;
  if (!pFile->Open(lpszPathName, nOpenFlags, &error)) {
    delete pFile;
    if (onFailure) onFailure(&error);
    return FALSE;
  }
  return TransferRecordFile(record, pFile, CArchive::store, onFailure);
}

// The loading counterpart (read, deny write).
template <class Record>
BOOL LoadRecordFromFile(Record& record, LPCTSTR lpszPathName) {
  CFile* pFile = new CFile;
  if (!pFile->Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite)) {
    delete pFile;
    return FALSE;
  }
  return TransferRecordFile(record, pFile, CArchive::load);
}

// The flags of the small records' save: create, exclusive, read-write.
constexpr UINT RECORD_SAVE_FLAGS = CFile::modeCreate | CFile::shareExclusive | CFile::modeReadWrite;

// The save/load/release family of a small record, defined in its source file.
#define DECLARE_RECORD_FILE()                         \
 public:                                              \
  virtual BOOL SaveToFile(LPCTSTR lpszPathName);      \
  virtual BOOL LoadFromFile(LPCTSTR lpszPathName);    \
  virtual void ReleaseFile(CFile* pFile, BOOL bAbort);

#define IMPLEMENT_RECORD_FILE(class_name)                                               \
  BOOL class_name::SaveToFile(LPCTSTR lpszPathName) {                                    \
    return SaveRecordToFile(*this, new CFile, lpszPathName, RECORD_SAVE_FLAGS);          \
  }                                                                                     \
  BOOL class_name::LoadFromFile(LPCTSTR lpszPathName) { return LoadRecordFromFile(*this, lpszPathName); } \
  void class_name::ReleaseFile(CFile* pFile, BOOL bAbort) { ReleaseRecordFile(pFile, bAbort); }

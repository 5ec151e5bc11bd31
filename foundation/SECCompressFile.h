// SECCompressFile: a CFile whose reads and writes go through a gzip-format stream (raw deflate
// framed by the gzip header and trailer); a file without the gzip magic reads unchanged.
#pragma once

#include <memory>

#include "base/base.h"
#include "core/CFile.h"
#include "core/CObject.h"

// The compression state a file object carries with it, so that several compressed files can be
// open at once. zlib keeps its working tables in each stream, so nothing here is shared.
class SECComp : public CObject {
  DECLARE_DYNCREATE(SECComp)

 public:
  SECComp();
  void Serialize(CArchive& ar) override;

  BOOL m_bFirstUse;
  void* m_pFixedLiteralTable;
  void* m_pFixedDistanceTable;
  UINT m_nFixedTableFree;
};

class SECCompressFile : public CFile {
 public:
  SECCompressFile();
  // Opens the file or throws the CFileException that Open reports.
  SECCompressFile(LPCTSTR lpszFileName, UINT nOpenFlags);
  ~SECCompressFile() override;

  // Opened with write access (modeWrite or modeReadWrite) the file is written compressed,
  // otherwise it is read.
  BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  // Moves the raw (compressed) position; an open stream is then out of step.
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  // 0 without a stream or on a file open for writing. A damaged gzip stream (bad header, deflate
  // data error, truncation, CRC-32 or length mismatch in the trailer) throws CFileException.
  UINT Read(void* lpBuf, UINT nCount) override;
  // Nothing without a stream or on a file open for reading.
  void Write(const void* lpBuf, UINT nCount) override;
  // Finishes a written stream and appends the trailer; a failed finish throws CFileException.
  void Close() override;
  // Drops the stream unfinished and closes the file; never throws.
  void Abort() override;

  SECComp m_comp;
  // 0: every operation is the plain CFile one.
  BOOL m_bCompressed;

 private:
  struct GzipStream;
  void CloseStream(bool finish);

  std::unique_ptr<GzipStream> m_pStream;
};

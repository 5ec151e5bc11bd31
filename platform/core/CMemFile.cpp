// CMemFile: reads, writes and seeks within a memory block that grows by multiples of the
// grow size (at least geometrically, so building a large file stays linear).
#include "core/CMemFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/CException.h"

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr),
      m_bAutoDelete(TRUE) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : CMemFile(nGrowBytes) {
  Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
  Close();
  m_nPosition = 0;
  m_nBufferSize = lpBuffer != nullptr ? nBufferSize : 0;
  m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
  m_nGrowBytes = nGrowBytes;
  m_lpBuffer = lpBuffer;
  m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
  BYTE* lpBuffer = m_lpBuffer;
  m_lpBuffer = nullptr;
  m_nFileSize = 0;
  m_nBufferSize = 0;
  m_nPosition = 0;
  m_bAutoDelete = TRUE;
  return lpBuffer;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) { return static_cast<BYTE*>(std::malloc(nBytes)); }

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes) { return static_cast<BYTE*>(std::realloc(lpMem, nBytes)); }

BYTE* CMemFile::Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, SIZE_T nBytes) {
  return static_cast<BYTE*>(std::memcpy(lpMemTarget, lpMemSource, nBytes));
}

void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }

void CMemFile::GrowFile(SIZE_T dwNewLen) {
  if (dwNewLen <= m_nBufferSize) return;
  // A caller's fixed buffer cannot grow.
  if (m_nGrowBytes == 0) AfxThrowMemoryException();
  SIZE_T newSize = std::max(dwNewLen, m_nBufferSize + m_nBufferSize / 2);
  newSize = (newSize + m_nGrowBytes - 1) / m_nGrowBytes * m_nGrowBytes;
  BYTE* lpNew;
  if (m_bAutoDelete || m_lpBuffer == nullptr) {
    lpNew = m_lpBuffer == nullptr ? Alloc(newSize) : Realloc(m_lpBuffer, newSize);
  } else {
    // The caller's block stays the caller's: copy out of it instead of reallocating it.
    lpNew = Alloc(newSize);
    if (lpNew != nullptr) Memcpy(lpNew, m_lpBuffer, m_nFileSize);
  }
  if (lpNew == nullptr) AfxThrowMemoryException();
  m_lpBuffer = lpNew;
  m_nBufferSize = newSize;
  m_bAutoDelete = TRUE;
}

ULONGLONG CMemFile::GetLength() const { return m_nFileSize; }

ULONGLONG CMemFile::GetPosition() const { return m_nPosition; }

void CMemFile::SetLength(ULONGLONG dwNewLen) {
  if (dwNewLen > m_nBufferSize) GrowFile(static_cast<SIZE_T>(dwNewLen));
  if (dwNewLen > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, static_cast<SIZE_T>(dwNewLen) - m_nFileSize);
  if (dwNewLen < m_nPosition) m_nPosition = static_cast<SIZE_T>(dwNewLen);
  m_nFileSize = static_cast<SIZE_T>(dwNewLen);
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0 || m_nPosition >= m_nFileSize) return 0;
  UINT nRead = static_cast<UINT>(std::min<SIZE_T>(nCount, m_nFileSize - m_nPosition));
  Memcpy(static_cast<BYTE*>(lpBuf), m_lpBuffer + m_nPosition, nRead);
  m_nPosition += nRead;
  return nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  SIZE_T end = m_nPosition + nCount;
  if (end > m_nBufferSize) GrowFile(end);
  // Bytes skipped by a seek past the end read back as zeros.
  if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  Memcpy(m_lpBuffer + m_nPosition, static_cast<const BYTE*>(lpBuf), nCount);
  m_nPosition = end;
  if (m_nPosition > m_nFileSize) m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
  LONGLONG base = 0;
  if (nFrom == current) {
    base = static_cast<LONGLONG>(m_nPosition);
  } else if (nFrom == end) {
    base = static_cast<LONGLONG>(m_nFileSize);
  } else if (nFrom != begin) {
    AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
  }
  LONGLONG newPos = base + lOff;
  if (newPos < 0) AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
  m_nPosition = static_cast<SIZE_T>(newPos);
  return m_nPosition;
}

void CMemFile::Flush() {}

void CMemFile::Close() {
  m_nPosition = 0;
  m_nBufferSize = 0;
  m_nFileSize = 0;
  if (m_lpBuffer != nullptr && m_bAutoDelete) Free(m_lpBuffer);
  m_lpBuffer = nullptr;
  m_bAutoDelete = TRUE;
}

void CMemFile::Abort() { Close(); }

void CMemFile::LockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }

void CMemFile::UnlockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }

CFile* CMemFile::Duplicate() const { AfxThrowNotSupportedException(); }

BOOL CMemFile::GetStatus(CFileStatus& rStatus) const {
  rStatus = CFileStatus{};
  rStatus.m_size = m_nFileSize;
  rStatus.m_attribute = normal;
  return TRUE;
}

UINT CMemFile::GetBufferPtr(UINT nCommand, UINT nCount, void** ppBufStart, void** ppBufMax) {
  if (nCommand == bufferCheck) return bufferDirect;
  if (nCommand == bufferCommit) {
    m_nPosition += nCount;
    if (m_nPosition > m_nFileSize) m_nFileSize = m_nPosition;
    return 0;
  }
  if (nCommand == bufferWrite && m_nPosition + nCount > m_nBufferSize) GrowFile(m_nPosition + nCount);
  BYTE* start = m_lpBuffer + m_nPosition;
  BYTE* max;
  if (nCommand == bufferWrite) {
    max = m_lpBuffer + std::min<SIZE_T>(m_nBufferSize, m_nPosition + nCount);
  } else {
    SIZE_T available = m_nFileSize > m_nPosition ? m_nFileSize - m_nPosition : 0;
    SIZE_T want = nCount == static_cast<UINT>(-1) ? available : std::min<SIZE_T>(available, nCount);
    max = start + want;
    m_nPosition += want;
  }
  if (ppBufStart != nullptr) *ppBufStart = start;
  if (ppBufMax != nullptr) *ppBufMax = max;
  return static_cast<UINT>(max - start);
}

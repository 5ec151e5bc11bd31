// CStdioFile: read-ahead and write-behind buffers over CFile, with the C runtime's text-mode
// translation of line ends.
#include "core/CStdioFile.h"

#include <algorithm>
#include <cstring>

#include "core/CException.h"

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {
constexpr size_t kBufferSize = 4096;
}

CStdioFile::CStdioFile() = default;

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) {
    try {
      Close();
    } catch (CException* e) {
      e->Delete();
    }
  }
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  Abort();
  m_bText = !(nOpenFlags & typeBinary);
  // The C runtime opens these combinations in append mode ("a"): every write goes to the end.
  m_bAppend = (nOpenFlags & modeCreate) ? (nOpenFlags & modeNoTruncate) != 0 : (nOpenFlags & modeWrite) != 0;
  return CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pError);
}

bool CStdioFile::FillReadBuffer(size_t nNeeded) {
  size_t unread = m_readBuf.size() - m_readPos;
  if (unread >= nNeeded) return true;
  FlushWrites();
  m_readBuf.erase(m_readBuf.begin(), m_readBuf.begin() + static_cast<std::ptrdiff_t>(m_readPos));
  m_readPos = 0;
  while (m_readBuf.size() < nNeeded) {
    size_t old = m_readBuf.size();
    m_readBuf.resize(old + kBufferSize);
    UINT got = CFile::Read(m_readBuf.data() + old, static_cast<UINT>(kBufferSize));
    m_readBuf.resize(old + got);
    if (got == 0) return false;
  }
  return true;
}

void CStdioFile::DropReadAhead() const {
  size_t unread = m_readBuf.size() - m_readPos;
  m_readBuf.clear();
  m_readPos = 0;
  if (unread != 0) const_cast<CStdioFile*>(this)->CFile::Seek(-static_cast<LONGLONG>(unread), current);
}

void CStdioFile::FlushWrites() const {
  if (m_writeBuf.empty()) return;
  std::string pending;
  pending.swap(m_writeBuf);
  CStdioFile* self = const_cast<CStdioFile*>(this);
  if (m_bAppend) self->CFile::Seek(0, end);
  self->CFile::Write(pending.data(), static_cast<UINT>(pending.size()));
}

int CStdioFile::NextByte() {
  if (!FillReadBuffer(1)) return -1;
  BYTE c = m_readBuf[m_readPos];
  if (m_bText && c == '\r' && FillReadBuffer(2) && m_readBuf[m_readPos + 1] == '\n') {
    m_readPos += 2;
    return '\n';
  }
  ++m_readPos;
  return c;
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  CheckOpen();
  BYTE* out = static_cast<BYTE*>(lpBuf);
  UINT done = 0;
  while (done < nCount && FillReadBuffer(1)) {
    const BYTE* from = m_readBuf.data() + m_readPos;
    size_t run = std::min<size_t>(m_readBuf.size() - m_readPos, nCount - done);
    if (m_bText) {
      if (*from == '\r') {
        out[done++] = static_cast<BYTE>(NextByte());
        continue;
      }
      const void* cr = std::memchr(from, '\r', run);
      if (cr != nullptr) run = static_cast<size_t>(static_cast<const BYTE*>(cr) - from);
    }
    std::memcpy(out + done, from, run);
    m_readPos += run;
    done += static_cast<UINT>(run);
  }
  return done;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  CheckOpen();
  DropReadAhead();
  const char* in = static_cast<const char*>(lpBuf);
  if (!m_bText) {
    m_writeBuf.append(in, nCount);
  } else {
    const char* end = in + nCount;
    while (in < end) {
      const char* lf = static_cast<const char*>(std::memchr(in, '\n', static_cast<size_t>(end - in)));
      if (lf == nullptr) {
        m_writeBuf.append(in, end);
        break;
      }
      m_writeBuf.append(in, lf);
      m_writeBuf.append("\r\n", 2);
      in = lf + 1;
    }
  }
  if (m_writeBuf.size() >= kBufferSize) FlushWrites();
}

void CStdioFile::WriteString(LPCTSTR lpsz) {
  if (lpsz != nullptr) Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

LPTSTR CStdioFile::ReadString(LPTSTR lpsz, UINT nMax) {
  CheckOpen();
  if (lpsz == nullptr || nMax == 0) return nullptr;
  UINT n = 0;
  bool any = false;
  while (n + 1 < nMax) {
    int c = NextByte();
    if (c < 0) break;
    any = true;
    lpsz[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  if (!any && nMax > 1) return nullptr;
  lpsz[n] = '\0';
  return lpsz;
}

BOOL CStdioFile::ReadString(CString& rString) {
  CheckOpen();
  std::string line;
  bool any = false;
  while (FillReadBuffer(1)) {
    any = true;
    const BYTE* from = m_readBuf.data() + m_readPos;
    size_t avail = m_readBuf.size() - m_readPos;
    const void* lf = std::memchr(from, '\n', avail);
    if (lf == nullptr) {
      line.append(reinterpret_cast<const char*>(from), avail);
      m_readPos += avail;
      continue;
    }
    size_t len = static_cast<size_t>(static_cast<const BYTE*>(lf) - from);
    line.append(reinterpret_cast<const char*>(from), len);
    m_readPos += len + 1;
    break;
  }
  if (m_bText && !line.empty() && line.back() == '\r') line.pop_back();
  rString = CString(line.data(), static_cast<int>(line.size()));
  return any ? TRUE : FALSE;
}

ULONGLONG CStdioFile::GetPosition() const {
  return CFile::GetPosition() - (m_readBuf.size() - m_readPos) + m_writeBuf.size();
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom) {
  CheckOpen();
  FlushWrites();
  DropReadAhead();
  return CFile::Seek(lOff, nFrom);
}

void CStdioFile::SetLength(ULONGLONG dwNewLen) {
  CheckOpen();
  FlushWrites();
  DropReadAhead();
  ULONGLONG pos = CFile::GetPosition();
  CFile::SetLength(dwNewLen);
  CFile::Seek(static_cast<LONGLONG>(std::min(pos, dwNewLen)), begin);
}

ULONGLONG CStdioFile::GetLength() const {
  CheckOpen();
  FlushWrites();
  return CFile::GetLength();
}

void CStdioFile::LockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }

void CStdioFile::UnlockRange(ULONGLONG, ULONGLONG) { AfxThrowNotSupportedException(); }

CFile* CStdioFile::Duplicate() const { AfxThrowNotSupportedException(); }

void CStdioFile::Flush() {
  if (m_hFile != hFileNull) FlushWrites();
}

void CStdioFile::Close() {
  if (m_hFile != hFileNull) {
    try {
      FlushWrites();
    } catch (CException*) {
      Abort();
      throw;
    }
  }
  m_readBuf.clear();
  m_readPos = 0;
  CFile::Close();
}

void CStdioFile::Abort() {
  m_readBuf.clear();
  m_readPos = 0;
  m_writeBuf.clear();
  CFile::Abort();
}

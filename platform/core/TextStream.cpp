// TextOutStream over a text-mode CStdioFile, and the line reader for C streams.
#include "core/TextStream.h"

#include <charconv>
#include <cstring>
#include <cstdlib>

#include "core/CException.h"

namespace {

template <class Integer>
void WriteDecimal(TextOutStream& stream, Integer n) {
  char digits[24];
  auto result = std::to_chars(digits, digits + sizeof digits, n);
  stream.write(digits, static_cast<size_t>(result.ptr - digits));
}

}  // namespace

TextOutStream::TextOutStream(LPCTSTR lpszFileName, bool bAppend) { open(lpszFileName, bAppend); }

TextOutStream::~TextOutStream() { close(); }

bool TextOutStream::open(LPCTSTR lpszFileName, bool bAppend) {
  close();
  m_bFailed = false;
  m_bCutAtClose = false;
  auto file = std::make_unique<CStdioFile>();
  UINT flags = CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite | CFile::typeText;
  if (bAppend) flags |= CFile::modeNoTruncate;
  if (!file->Open(lpszFileName, flags)) {
    m_bFailed = true;
    return false;
  }
  m_file = std::move(file);
  return true;
}

bool TextOutStream::openToReplace(LPCTSTR lpszFileName) {
  close();
  m_bFailed = false;
  // An existing file is opened for reading and writing, which the runtime does not turn into
  // appending; a missing one is made new (there is nothing to truncate).
  auto file = std::make_unique<CStdioFile>();
  if (!file->Open(lpszFileName, CFile::modeReadWrite | CFile::shareDenyWrite | CFile::typeText) &&
      !file->Open(lpszFileName, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite | CFile::typeText)) {
    m_bFailed = true;
    return false;
  }
  m_file = std::move(file);
  m_bCutAtClose = true;
  return true;
}

bool TextOutStream::close() {
  if (!m_file) return !m_bFailed;
  try {
    if (m_bCutAtClose && !m_bFailed) {
      m_file->Flush();
      const ULONGLONG nWritten = m_file->GetPosition();
      if (m_file->GetLength() != nWritten) m_file->SetLength(nWritten);
    }
    m_file->Close();
  } catch (CException* e) {
    e->Delete();
    m_bFailed = true;
  }
  m_file.reset();
  return !m_bFailed;
}

void TextOutStream::flush() {
  if (!good()) return;
  try {
    m_file->Flush();
  } catch (CException* e) {
    e->Delete();
    m_bFailed = true;
  }
}

TextOutStream& TextOutStream::write(const char* pData, size_t nCount) {
  if (!good() || nCount == 0) return *this;
  try {
    m_file->Write(pData, static_cast<UINT>(nCount));
  } catch (CException* e) {
    e->Delete();
    m_bFailed = true;
  }
  return *this;
}

TextOutStream& TextOutStream::operator<<(const char* lpsz) {
  if (lpsz == nullptr) {
    m_bFailed = true;
    return *this;
  }
  return write(lpsz, std::strlen(lpsz));
}

TextOutStream& TextOutStream::operator<<(const CString& str) {
  return write(static_cast<LPCTSTR>(str), static_cast<size_t>(str.GetLength()));
}

TextOutStream& TextOutStream::operator<<(char ch) { return write(&ch, 1); }

TextOutStream& TextOutStream::operator<<(int n) {
  WriteDecimal(*this, n);
  return *this;
}

TextOutStream& TextOutStream::operator<<(long n) {
  WriteDecimal(*this, n);
  return *this;
}

TextOutStream& TextOutStream::operator<<(long long n) {
  WriteDecimal(*this, n);
  return *this;
}

TextOutStream& TextOutStream::operator<<(unsigned int n) {
  WriteDecimal(*this, n);
  return *this;
}

TextOutStream& TextOutStream::operator<<(unsigned long n) {
  WriteDecimal(*this, n);
  return *this;
}

TextOutStream& TextOutStream::operator<<(unsigned long long n) {
  WriteDecimal(*this, n);
  return *this;
}

BOOL ReadLine(FILE* pStream, CString& rLine) {
  rLine.Empty();
  if (pStream == nullptr) return FALSE;
  char* buffer = nullptr;
  size_t capacity = 0;
  ssize_t n = ::getline(&buffer, &capacity, pStream);
  if (n < 0) {
    std::free(buffer);
    return FALSE;
  }
  if (n > 0 && buffer[n - 1] == '\n') --n;
  if (n > 0 && buffer[n - 1] == '\r') --n;
  rLine = CString(buffer, static_cast<int>(n));
  std::free(buffer);
  return TRUE;
}

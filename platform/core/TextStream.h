// Text files with Windows line ends: TextOutStream writes every "\n" as CR LF (what an output
// file stream in text mode did on Windows), ReadLine reads whole lines of any length.
#pragma once

#include <cstdio>
#include <memory>

#include "core/CStdioFile.h"
#include "core/CString.h"

class TextOutStream {
 public:
  TextOutStream() = default;
  // Creates (or truncates; with bAppend, extends) the file; check is_open() or fail().
  explicit TextOutStream(LPCTSTR lpszFileName, bool bAppend = false);
  ~TextOutStream();

  TextOutStream(const TextOutStream&) = delete;
  TextOutStream& operator=(const TextOutStream&) = delete;

  bool open(LPCTSTR lpszFileName, bool bAppend = false);
  // Opens (creating) the file to replace its content without truncating it first: close() cuts
  // it where the writing ended. A file rewritten whole keeps its place on disk, and the file
  // system is spared the write-back it starts at the close of a file truncated to nothing.
  bool openToReplace(LPCTSTR lpszFileName);
  // Writes what is buffered and closes; false when anything failed since open.
  bool close();
  bool is_open() const { return m_file != nullptr; }
  // True once an open or a write has failed; writes after a failure are dropped.
  bool fail() const { return m_bFailed; }
  bool good() const { return is_open() && !m_bFailed; }
  explicit operator bool() const { return good(); }
  void flush();

  TextOutStream& write(const char* pData, size_t nCount);
  TextOutStream& operator<<(const char* lpsz);
  TextOutStream& operator<<(const CString& str);
  TextOutStream& operator<<(char ch);
  TextOutStream& operator<<(int n);
  TextOutStream& operator<<(long n);
  TextOutStream& operator<<(long long n);
  TextOutStream& operator<<(unsigned int n);
  TextOutStream& operator<<(unsigned long n);
  TextOutStream& operator<<(unsigned long long n);

 private:
  std::unique_ptr<CStdioFile> m_file;
  bool m_bFailed = false;
  bool m_bCutAtClose = false;
};

// Reads the next line of a C stream, whatever its length, without its line end (LF or CR LF,
// so binary-mode streams of Windows files read alike). FALSE at the end of the stream with
// nothing read. (CStdioFile::ReadString does the same for a CStdioFile.)
BOOL ReadLine(FILE* pStream, CString& rLine);

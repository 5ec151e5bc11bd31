// CStdioFile: a buffered CFile with text lines. Text mode (the default) reads CR LF as "\n" and
// writes "\n" as CR LF, as the C runtime of Windows does; typeBinary passes bytes unchanged.
#pragma once

#include <string>
#include <vector>

#include "core/CFile.h"

class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)

 public:
  CStdioFile();
  // Opens the file or throws the CFileException that Open would report.
  CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);
  ~CStdioFile() override;

  // Writes the text; in text mode every "\n" becomes CR LF.
  virtual void WriteString(LPCTSTR lpsz);
  // Reads at most nMax - 1 bytes, up to and including the line end ("\n" in text mode), and
  // appends a NUL; NULL at the end of the file.
  virtual LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
  // Reads a whole line of any length without its line end; FALSE at the end of the file. In
  // text mode a CR before the line end is dropped too.
  virtual BOOL ReadString(CString& rString);

  BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  ULONGLONG GetPosition() const override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  void SetLength(ULONGLONG dwNewLen) override;
  ULONGLONG GetLength() const override;
  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  void LockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
  void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
  void Abort() override;
  void Flush() override;
  void Close() override;
  CFile* Duplicate() const override;

 private:
  // Bytes read ahead of the caller: [m_readPos, m_readBuf.size()).
  bool FillReadBuffer(size_t nNeeded);
  void DropReadAhead() const;
  void FlushWrites() const;
  int NextByte();

  bool m_bText = true;
  bool m_bAppend = false;
  mutable std::vector<BYTE> m_readBuf;
  mutable size_t m_readPos = 0;
  mutable std::string m_writeBuf;
};

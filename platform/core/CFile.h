// CFile, the framework's unbuffered binary file over the os module's file handles, and
// CFileStatus. Every member is virtual as in the framework, so derived files can take over.
#pragma once

#include "base/base.h"
#include "core/CObject.h"
#include "core/CString.h"
#include "core/CTime.h"

class CFileException;

// Room for any full path the system can return (PATH_MAX), not the Windows 260.
#define BRAMBOLT_MAX_FULLNAME 4096

struct CFileStatus {
  CTime m_ctime;      // creation time (the inode change time on Linux)
  CTime m_mtime;      // last write time
  CTime m_atime;      // last access time
  ULONGLONG m_size;   // 64-bit: files above 2 GiB keep a positive size
  BYTE m_attribute;   // CFile::Attribute bits
  BYTE _m_padding;
  TCHAR m_szFullName[BRAMBOLT_MAX_FULLNAME];
};

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)

 public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };

  enum Attribute {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    system = 0x04,
    volume = 0x08,
    directory = 0x10,
    archive = 0x20,
  };

  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

  enum BufferCommand { bufferRead, bufferWrite, bufferCommit, bufferCheck };
  enum BufferFlags { bufferDirect = 0x01, bufferBlocking = 0x02 };

  static const HANDLE hFileNull;

  CFile();
  explicit CFile(HANDLE hFile);
  // Opens the file or throws the CFileException that Open would report.
  CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
  ~CFile() override;

  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  HANDLE m_hFile;
  operator HANDLE() const { return m_hFile; }

  virtual ULONGLONG GetPosition() const;
  virtual BOOL GetStatus(CFileStatus& rStatus) const;
  virtual CString GetFileName() const;
  virtual CString GetFileTitle() const;
  virtual CString GetFilePath() const;
  virtual void SetFilePath(LPCTSTR lpszNewName);

  virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

  static void Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
  // Removes a file; a directory is never removed (reported as accessDenied).
  static void Remove(LPCTSTR lpszFileName);
  // A path that names a directory with a trailing separator fails, as on Windows.
  static BOOL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
  // The full path of a name, as GetFilePath reports it.
  static CString FullPath(LPCTSTR lpszFileName);

  void SeekToBegin();
  ULONGLONG SeekToEnd();

  virtual CFile* Duplicate() const;
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  virtual void SetLength(ULONGLONG dwNewLen);
  virtual ULONGLONG GetLength() const;
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual void LockRange(ULONGLONG dwPos, ULONGLONG dwCount);
  virtual void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount);
  virtual void Abort();
  virtual void Flush();
  virtual void Close();

  // Direct buffer access; plain files have none and answer 0.
  virtual UINT GetBufferPtr(UINT nCommand, UINT nCount = 0, void** ppBufStart = nullptr,
                            void** ppBufMax = nullptr);

 protected:
  // CreateFile's access, share and creation arguments for the framework's open flags.
  static void MapOpenFlags(UINT nOpenFlags, DWORD& dwAccess, DWORD& dwShareMode, DWORD& dwCreateFlag);
  void ThrowLastError() const;
  void CheckOpen() const;

  BOOL m_bCloseOnDelete;
  CString m_strFileName;
};

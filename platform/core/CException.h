// The framework's exception classes, thrown as pointers and released with Delete(), and the
// TRY/CATCH macros over C++ try/catch.
#pragma once

#include "base/base.h"
#include "core/CObject.h"
#include "core/CString.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  CException();
  explicit CException(BOOL bAutoDelete);
  ~CException() override;

  // Deletes a heap exception; exceptions that live in static storage ignore it. Safe inside a
  // CATCH block: the block then no longer deletes the exception itself.
  void Delete();

  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;
  // Shows the error text through the handler installed by the window layer (MB_OK is 0).
  virtual int ReportError(UINT nType = 0, UINT nMessageID = 0);

  BOOL m_bAutoDelete;
};

// Shows an error text for ReportError; returns the message box result.
typedef int (*AFX_ERROR_REPORTER)(LPCTSTR lpszText, UINT nType);
void AfxSetErrorReporter(AFX_ERROR_REPORTER pfnReporter);
// Shows a text through the installed reporter (on standard error without one); its result.
int AfxReportErrorText(LPCTSTR lpszText, UINT nType);

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  CMemoryException() = default;
  explicit CMemoryException(BOOL bAutoDelete) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)
 public:
  CNotSupportedException() = default;
  explicit CNotSupportedException(BOOL bAutoDelete) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)
 public:
  CResourceException() = default;
  explicit CResourceException(BOOL bAutoDelete) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

// Thrown after the user has already been told what went wrong; it carries no text.
class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
 public:
  CUserException() = default;
  explicit CUserException(BOOL bAutoDelete) : CException(bAutoDelete) {}
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszArchiveName = nullptr);
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

  // Maps a Win32 error code (or, for ErrnoToException, a C runtime errno) to a cause.
  static int OsErrorToException(LONG lOsError);
  static int ErrnoToException(int nErrno);
  static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);
  static void ThrowErrno(int nErrno, LPCTSTR lpszFileName = nullptr);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
 public:
  enum {
    none,
    genericException,
    readOnly,
    endOfFile,
    writeOnly,
    badIndex,
    badClass,
    badSchema
  };

  explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

  int m_cause;
  CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);

// Keeps the exception caught by a CATCH block and deletes it when the block ends, unless the
// block rethrows it (THROW_LAST or THROW of the same pointer) or deletes it itself.
class AFX_EXCEPTION_LINK {
 public:
  explicit AFX_EXCEPTION_LINK(CException* pException);
  ~AFX_EXCEPTION_LINK();
  AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
  AFX_EXCEPTION_LINK& operator=(const AFX_EXCEPTION_LINK&) = delete;

  // Forgets pException in every CATCH block of this thread that holds it.
  static void Release(CException* pException);
  static void ReleaseInnermost();

 private:
  CException* m_pException;
  AFX_EXCEPTION_LINK* m_pLinkPrev;
};

template <class E>
[[noreturn]] void AfxThrow(E* pException) {
  AFX_EXCEPTION_LINK::Release(pException);
  throw pException;
}

// TRY { ... } CATCH(CFileException, e) { ... } AND_CATCH(CException, e) { ... } END_CATCH
#define TRY try
#define CATCH(class_name, e)                                  \
  catch (class_name * e) {                                    \
    AFX_EXCEPTION_LINK _afxExceptionLink(e);
#define AND_CATCH(class_name, e) \
  }                              \
  CATCH(class_name, e)
#define END_CATCH }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) AND_CATCH(CException, e)
#define END_CATCH_ALL END_CATCH
#define THROW(e) AfxThrow(e)
#define THROW_LAST()                          \
  do {                                        \
    AFX_EXCEPTION_LINK::ReleaseInnermost();   \
    throw;                                    \
  } while (false)

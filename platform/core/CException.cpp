// The exception classes, their texts and the CATCH-block bookkeeping.
#include "core/CException.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>


IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

std::atomic<AFX_ERROR_REPORTER> g_pfnErrorReporter{nullptr};

// The innermost CATCH block of this thread; the blocks form a stack through m_pLinkPrev.
thread_local AFX_EXCEPTION_LINK* t_pLinkTop = nullptr;

// Copies text into a caller's buffer of nMaxError bytes without splitting a double-byte character.
BOOL CopyMessage(LPCTSTR lpszText, LPTSTR lpszError, UINT nMaxError) {
  if (lpszError == nullptr || nMaxError == 0) return FALSE;
  lstrcpyn(lpszError, lpszText, static_cast<int>(std::min<UINT>(nMaxError, INT_MAX)));
  return TRUE;
}

// Replaces %1 in a message with the file name, or "an unnamed file".
CString WithFileName(LPCTSTR lpszTemplate, const CString& strFileName) {
  CString strText(lpszTemplate);
  strText.Replace("%1", strFileName.IsEmpty() ? "an unnamed file" : static_cast<LPCTSTR>(strFileName));
  return strText;
}

}  // namespace

void AfxSetErrorReporter(AFX_ERROR_REPORTER pfnReporter) { g_pfnErrorReporter.store(pfnReporter); }

int AfxReportErrorText(LPCTSTR lpszText, UINT nType) {
  AFX_ERROR_REPORTER pfnReporter = g_pfnErrorReporter.load();
  if (pfnReporter != nullptr) return pfnReporter(lpszText, nType);
  std::fprintf(stderr, "%s\n", lpszText);
  return 1;  // IDOK
}

CException::CException() : m_bAutoDelete(TRUE) {}

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

CException::~CException() = default;

void CException::Delete() {
  AFX_EXCEPTION_LINK::Release(this);
  if (m_bAutoDelete > 0) delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  if (lpszError != nullptr && nMaxError > 0) *lpszError = '\0';
  return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) {
  // The message holds the whole path and reason however long: the buffer grows until the text
  // fits with room to spare.
  std::vector<TCHAR> message(512);
  BOOL bHasMessage = FALSE;
  for (;;) {
    message[0] = '\0';
    bHasMessage = GetErrorMessage(message.data(), static_cast<UINT>(message.size()));
    if (!bHasMessage || std::strlen(message.data()) + 8 < message.size() || message.size() >= (1u << 20)) break;
    message.resize(message.size() * 2);
  }
  CString strText;
  if (bHasMessage)
    strText = message.data();
  else if (nMessageID != 0)
    strText.LoadString(nMessageID);
  if (strText.IsEmpty()) strText = "No error message is available.";
  return AfxReportErrorText(strText, nType);
}

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  return CopyMessage("Out of memory.", lpszError, nMaxError);
}

BOOL CNotSupportedException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  return CopyMessage("Unsupported operation was attempted.", lpszError, nMaxError);
}

BOOL CResourceException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  return CopyMessage("A required resource was unavailable.", lpszError, nMaxError);
}

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  static const char* const kTexts[] = {
      "No error occurred.",
      "An unexpected error occurred while accessing %1.",
      "%1 was not found.",
      "%1 contains an incorrect path.",
      "%1 could not be opened because there are too many open files.",
      "Access to %1 was denied.",
      "An incorrect file handle was associated with %1.",
      "%1 could not be removed because it is the current directory.",
      "%1 could not be created because the directory is full.",
      "Seek failed on %1.",
      "A hardware I/O error was reported while accessing %1.",
      "A sharing violation occurred while accessing %1.",
      "A locking violation occurred while accessing %1.",
      "Disk full while accessing %1.",
      "An attempt was made to access %1 past its end.",
  };
  if (pnHelpContext != nullptr) *pnHelpContext = static_cast<UINT>(m_cause);
  int nCause = m_cause >= 0 && m_cause < static_cast<int>(_countof(kTexts)) ? m_cause : genericException;
  return CopyMessage(WithFileName(kTexts[nCause], m_strFileName), lpszError, nMaxError);
}

// Win32 error codes to causes, as the framework maps them; anything else is generic.
int CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
    case 0: return none;
    case 2: case 6: case 18: case 107: return fileNotFound;
    case 3: case 15: case 17: case 34: case 52: case 53: case 55: case 67: case 85: case 111: case 123:
    case 124: case 125: case 144: case 154: case 161: case 206: case 208: case 267: return badPath;
    case 4: case 36: case 68: case 69: case 113: return tooManyOpenFiles;
    case 5: case 12: case 19: case 29: case 54: case 58: case 64: case 65: case 71: case 80: case 82:
    case 86: case 170: case 183: case 999: return accessDenied;
    case 11: case 26: case 60: case 114: case 182: case 191: case 193: return invalidFile;
    case 16: case 145: return removeCurrentDir;
    case 62: return directoryFull;
    case 24: case 25: case 27: case 30: case 131: case 132: return badSeek;
    case 20: case 21: case 22: case 23: case 57: case 59: case 88: case 117: case 995: case 996:
    case 997: return hardIO;
    case 32: case 70: return sharingViolation;
    case 33: case 108: case 167: return lockViolation;
    case 39: case 112: return diskFull;
    case 38: return endOfFile;
    default: return genericException;
  }
}

int CFileException::ErrnoToException(int nErrno) {
  switch (nErrno) {
    case 0: return none;
    case ENOENT: case ENXIO: return fileNotFound;
    case ENOTDIR: case ENAMETOOLONG: case ELOOP: case EXDEV: return badPath;
    case EMFILE: case ENFILE: return tooManyOpenFiles;
    case EPERM: case EACCES: case EROFS: case EISDIR: case EEXIST: case ETXTBSY: return accessDenied;
    case EBADF: return invalidFile;
    case ENOTEMPTY: case EBUSY: return removeCurrentDir;
    case ESPIPE: case EINVAL: case EOVERFLOW: return badSeek;
    case EIO: return hardIO;
    case EDEADLK: case ENOLCK: return lockViolation;
    case ENOSPC: case EFBIG: case EDQUOT: return diskFull;
    default: return genericException;
  }
}

void CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName) {
  if (lOsError != 0) AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void CFileException::ThrowErrno(int nErrno, LPCTSTR lpszFileName) {
  if (nErrno != 0) AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  static const char* const kTexts[] = {
      "Unexpected file format.",
      "Unexpected file format.",
      "Tried to write to %1 while it was being read.",
      "Unexpected end of file while reading %1.",
      "Tried to read from %1 while it was being written.",
      "%1 has an incorrect format.",
      "%1 contained an unexpected object.",
      "%1 contains an incorrect schema.",
  };
  if (pnHelpContext != nullptr) *pnHelpContext = static_cast<UINT>(m_cause);
  int nCause = m_cause >= 0 && m_cause < static_cast<int>(_countof(kTexts)) ? m_cause : genericException;
  return CopyMessage(WithFileName(kTexts[nCause], m_strFileName), lpszError, nMaxError);
}

void AfxThrowMemoryException() {
  // A static object: throwing when memory is exhausted must not allocate.
  static CMemoryException s_memoryException(FALSE);
  AfxThrow(&s_memoryException);
}

void AfxThrowNotSupportedException() { AfxThrow(new CNotSupportedException); }

void AfxThrowResourceException() { AfxThrow(new CResourceException); }

void AfxThrowUserException() { AfxThrow(new CUserException); }

void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
  AfxThrow(new CFileException(cause, lOsError, lpszFileName));
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) {
  AfxThrow(new CArchiveException(cause, lpszArchiveName));
}

AFX_EXCEPTION_LINK::AFX_EXCEPTION_LINK(CException* pException)
    : m_pException(pException), m_pLinkPrev(t_pLinkTop) {
  t_pLinkTop = this;
}

AFX_EXCEPTION_LINK::~AFX_EXCEPTION_LINK() {
  t_pLinkTop = m_pLinkPrev;
  if (m_pException != nullptr) m_pException->Delete();
}

void AFX_EXCEPTION_LINK::Release(CException* pException) {
  for (AFX_EXCEPTION_LINK* pLink = t_pLinkTop; pLink != nullptr; pLink = pLink->m_pLinkPrev)
    if (pLink->m_pException == pException) pLink->m_pException = nullptr;
}

void AFX_EXCEPTION_LINK::ReleaseInnermost() {
  if (t_pLinkTop != nullptr) t_pLinkTop->m_pException = nullptr;
}

// The framework's OLE exceptions: a failed COM call (COleException) and an error an automation
// object reported from one of its members (COleDispatchException).
#pragma once

#include "core/CException.h"
#include "ole/Automation.h"

class COleException : public CException {
  DECLARE_DYNAMIC(COleException)
 public:
  explicit COleException(SCODE sc = S_OK) : m_sc(sc) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
  // The status code of any exception: m_sc of an OLE exception, the error of a dispatch
  // exception, E_OUTOFMEMORY for a memory exception, E_UNEXPECTED otherwise.
  static SCODE Process(const CException* pAnyException);

  SCODE m_sc;
};

class COleDispatchException : public CException {
  DECLARE_DYNAMIC(COleDispatchException)
 public:
  COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode);
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

  WORD m_wCode;
  SCODE m_scError;
  DWORD m_dwHelpContext;
  CString m_strHelpFile;
  CString m_strDescription;
  CString m_strSource;
};

[[noreturn]] void AfxThrowOleException(SCODE sc);
[[noreturn]] void AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID = 0);

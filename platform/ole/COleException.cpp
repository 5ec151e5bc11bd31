// The OLE exceptions and their texts.
#include "ole/COleException.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(COleException, CException)
IMPLEMENT_DYNAMIC(COleDispatchException, CException)

namespace {

BOOL Copy(const char* text, LPTSTR out, UINT size) {
  if (out == nullptr || size == 0) return FALSE;
  std::snprintf(out, size, "%s", text);
  return TRUE;
}

}  // namespace

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  char text[96];
  std::snprintf(text, sizeof(text), "OLE error %08X.", static_cast<unsigned>(m_sc));
  return Copy(text, lpszError, nMaxError);
}

SCODE COleException::Process(const CException* pAnyException) {
  if (auto* e = dynamic_cast<const COleException*>(pAnyException)) return e->m_sc;
  if (auto* e = dynamic_cast<const COleDispatchException*>(pAnyException)) return e->m_scError;
  if (dynamic_cast<const CMemoryException*>(pAnyException)) return E_OUTOFMEMORY;
  return E_UNEXPECTED;
}

COleDispatchException::COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode)
    : m_wCode(wCode), m_scError(wCode != 0 ? S_OK : E_UNEXPECTED), m_dwHelpContext(nHelpID),
      m_strDescription(lpszDescription ? lpszDescription : "") {}

BOOL COleDispatchException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = m_dwHelpContext;
  return Copy(m_strDescription.IsEmpty() ? "Automation error." : static_cast<LPCTSTR>(m_strDescription), lpszError,
              nMaxError);
}

void AfxThrowOleException(SCODE sc) { AfxThrow(new COleException(sc)); }

void AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID) {
  AfxThrow(new COleDispatchException(lpszDescription, nHelpID, wCode));
}

// The e-mail address test.
#include "app/CEditLink.h"

#include <cstring>

BOOL CEditLink::IsValidEmail(LPCTSTR lpszAddress) {
  if (lpszAddress == nullptr || std::strlen(lpszAddress) < 5 || std::strchr(lpszAddress, '@') == nullptr)
    return FALSE;
  return std::strchr(lpszAddress, '.') != nullptr;
}

// CEditLink: the one test of a plausible e-mail address, shared by every form that asks for one.
#pragma once

#include "base/base.h"

class CEditLink {
 public:
  virtual ~CEditLink() = default;
  // At least five characters, an at sign and a period.
  static BOOL IsValidEmail(LPCTSTR lpszAddress);
};

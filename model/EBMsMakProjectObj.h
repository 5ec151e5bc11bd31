// A Visual C++ makefile (.mak) read for import: the source files it names, without groups.
#pragma once

#include "model/EBProjectBaseObj.h"

class EBMsMakProjectObj : public EBProjectBaseObj {
  DECLARE_DYNCREATE(EBMsMakProjectObj)

 public:
  // Each "SOURCE=" line names a file, once however often the makefile repeats it.
  BOOL Open(LPCTSTR lpszPathName) override;
  // Makefiles are not written: says so and gives FALSE.
  BOOL Write(LPCTSTR lpszPathName) override;
};

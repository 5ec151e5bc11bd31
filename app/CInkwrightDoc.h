// CInkwrightDoc: a plain document, registered as a creatable class although no document template
// names it.
#pragma once

#include "afx/CDocument.h"

class CInkwrightDoc : public CDocument {
  DECLARE_DYNCREATE(CInkwrightDoc)
};

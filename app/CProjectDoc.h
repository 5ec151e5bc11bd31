// CProjectDoc: the document of the project template. It holds nothing of its own: a project opens
// through the application's own road, so the framework makes this document only on its own.
#pragma once

#include "afx/CDocument.h"

class CProjectDoc : public CDocument {
  DECLARE_DYNCREATE(CProjectDoc)
};

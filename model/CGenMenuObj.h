// One entry of the component-library list, and the reading of that list from its text file
// (lines "name#text"; the entries get the ids 1000, 1001, ... in file order).
#pragma once

#include "core/CTypedPtr.h"
#include "model/RecordFile.h"

class CGenMenuObj : public CObject {
  DECLARE_SERIAL(CGenMenuObj)
  DECLARE_RECORD_FILE()

 public:
  CGenMenuObj();
  ~CGenMenuObj() override;

  // Nothing is archived.
  void Serialize(CArchive& ar) override;

  CString m_strComponentName;
  CString m_strComponentText;
  int m_nId;
};

typedef CTypedPtrList<CObList, CGenMenuObj*> CGenMenuObjList;

// The first id given to a component of the list.
constexpr int FIRST_COMPONENT_ID = 1000;

// Appends the entries of the component list file to the list (the caller owns them). Each line
// is trimmed and split at its last "#" into name and text; lines where either is empty are
// skipped. FALSE, with the list unchanged, when the file cannot be opened.
BOOL LoadComponentList(LPCTSTR lpszFileName, CGenMenuObjList& list);

// The component name of the first entry with that id; "" when none has it.
CString FindComponentName(const CGenMenuObjList& list, int nId);

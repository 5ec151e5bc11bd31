// The records behind the Project Explorer's tree items: CFindItemObj for the class tree (what
// double-clicking looks up) and CItemFileObj for the generated-output tree.
#pragma once

#include "core/CArchive.h"
#include "core/CObject.h"
#include "core/CString.h"
#include "model/ModelIds.h"

class CFindItemObj : public CObject {
  DECLARE_SERIAL(CFindItemObj)

 public:
  CFindItemObj();
  ~CFindItemObj() override;

  // Nothing is archived.
  void Serialize(CArchive& ar) override;

  CString m_strFindText;  // class head or member declaration
  CString m_strHeaderFile;
  CString m_strSourceFile;
  int m_nKind;  // FINDITEM_CLASS, FINDITEM_FUNCTION or FINDITEM_VARIABLE; 0 when unset
  int m_nFind;  // nonzero: look the item up in the header
};

class CItemFileObj : public CObject {
  DECLARE_SERIAL(CItemFileObj)

 public:
  CItemFileObj();
  ~CItemFileObj() override;

  // Nothing is archived.
  void Serialize(CArchive& ar) override;

  CString m_strPath;
  DWORD m_dwMark;    // set by the output tree for its own use
  DWORD m_bFolder;   // 1 for a folder, 0 for a file
};

// One member variable of an analysed class, as the header analyser read it.
#pragma once

#include "core/CString.h"
#include "model/ModelIds.h"
#include "model/RecordFile.h"
#include "foundation/RecordPool.h"

class CVariableObj : public CObject {
  DECLARE_SERIAL(CVariableObj)
  DECLARE_RECORD_FILE()
  DECLARE_RECORD_POOL()

 public:
  CVariableObj();
  ~CVariableObj() override;

  // Nothing of a member record is archived.
  void Serialize(CArchive& ar) override;

  int m_nAccess;  // MEMBER_PROTECTED, MEMBER_PRIVATE or MEMBER_PUBLIC
  CString m_strType;
  CString m_strName;
  CString m_strUniqueName;  // the name, or "name(n)" after an earlier variable of that name
  CString m_strHeaderFile;
  CString m_strClassName;
  CString m_strDeclaration;  // the statement as read
  CString m_strComment;
  BOOL m_bStatic;
};

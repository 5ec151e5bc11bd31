// One member function of an analysed class, as the header analyser read it.
#pragma once

#include "core/Lists.h"
#include "model/ModelIds.h"
#include "model/RecordFile.h"
#include "foundation/RecordPool.h"

class CMemberFunctionObj : public CObject {
  DECLARE_SERIAL(CMemberFunctionObj)
  DECLARE_RECORD_FILE()
  DECLARE_RECORD_POOL()

 public:
  CMemberFunctionObj();
  // A record whose parameter list takes its nodes nParameterBlockSize at a time (the analyser
  // knows the count, and a block of ten per function is most of an analysed project's memory).
  explicit CMemberFunctionObj(INT_PTR nParameterBlockSize);
  ~CMemberFunctionObj() override;

  // Nothing of a member record is archived.
  void Serialize(CArchive& ar) override;

  int m_nAccess;               // MEMBER_PROTECTED, MEMBER_PRIVATE or MEMBER_PUBLIC
  CString m_strDeclaration;    // the statement as read
  CString m_strReturnType;     // empty for constructors and destructors
  CString m_strName;
  CString m_strHeaderFile;
  CString m_strSourceFile;
  CStringList m_ParameterList;  // one trimmed entry per parameter
  CString m_strClassName;
  CString m_strUniqueName;     // the name, or "name(n)" after an earlier function of that name
  int m_nFind;                 // nonzero: look the function up in the header
  BOOL m_bVirtual;
  BOOL m_bStatic;
  CString m_strComment;
};

// The project's resource and file records (resource ids, icons, menus, .dbp and report files):
// creatable by name and archivable, kept by the project in lists of their own.
#pragma once

#include "core/CString.h"
#include "model/RecordFile.h"

class CResIDObj : public CObject {
  DECLARE_SERIAL(CResIDObj)
  DECLARE_RECORD_FILE()

 public:
  CResIDObj();
  ~CResIDObj() override;

  // Nothing is archived.
  void Serialize(CArchive& ar) override;

  CString m_strName;
  DWORD m_dwValue1;
  DWORD m_dwValue2;
};

class CIconResObj : public CObject {
  DECLARE_SERIAL(CIconResObj)

 public:
  CIconResObj();
  ~CIconResObj() override;

  // First text, second text, first number, second number.
  void Serialize(CArchive& ar) override;

  CString m_strText1;
  CString m_strText2;
  DWORD m_dwValue1;
  DWORD m_dwValue2;
  CString m_strText3;
  CString m_strText4;
  DWORD m_dwValue3;
  DWORD m_dwValue4;
};

class CMenuFileObj : public CObject {
  DECLARE_SERIAL(CMenuFileObj)

 public:
  CMenuFileObj();
  ~CMenuFileObj() override;

  // Second text, first text, number.
  void Serialize(CArchive& ar) override;

  CString m_strText1;
  CString m_strText2;
  DWORD m_dwValue;
};

// The four texts of a .dbp or report file record, archived in order.
class CDbpFileObj : public CObject {
  DECLARE_SERIAL(CDbpFileObj)

 public:
  CDbpFileObj();
  ~CDbpFileObj() override;

  void Serialize(CArchive& ar) override;

  CString m_strText1;
  CString m_strText2;
  CString m_strText3;
  CString m_strText4;
};

class CRptFileObj : public CObject {
  DECLARE_SERIAL(CRptFileObj)

 public:
  CRptFileObj();
  ~CRptFileObj() override;

  void Serialize(CArchive& ar) override;

  CString m_strText1;
  CString m_strText2;
  CString m_strText3;
  CString m_strText4;
};

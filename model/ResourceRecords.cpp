// The resource and file records.
#include "model/ResourceRecords.h"

namespace {

template <class Record>
void SerializeFourTexts(CArchive& ar, Record& record) {
  if (ar.IsStoring())
    ar << record.m_strText1 << record.m_strText2 << record.m_strText3 << record.m_strText4;
  else
    ar >> record.m_strText1 >> record.m_strText2 >> record.m_strText3 >> record.m_strText4;
}

}  // namespace

IMPLEMENT_SERIAL(CResIDObj, CObject, 0)
IMPLEMENT_RECORD_FILE(CResIDObj)

CResIDObj::CResIDObj() : m_dwValue1(0), m_dwValue2(0) {}
CResIDObj::~CResIDObj() = default;
void CResIDObj::Serialize(CArchive&) {}

IMPLEMENT_SERIAL(CIconResObj, CObject, 0)

CIconResObj::CIconResObj() : m_dwValue1(100), m_dwValue2(2005), m_dwValue3(0), m_dwValue4(0) {}
CIconResObj::~CIconResObj() = default;

void CIconResObj::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    ar << m_strText1 << m_strText2 << m_dwValue1 << m_dwValue2;
  else
    ar >> m_strText1 >> m_strText2 >> m_dwValue1 >> m_dwValue2;
}

IMPLEMENT_SERIAL(CMenuFileObj, CObject, 0)

CMenuFileObj::CMenuFileObj() : m_dwValue(100) {}
CMenuFileObj::~CMenuFileObj() = default;

void CMenuFileObj::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    ar << m_strText2 << m_strText1 << m_dwValue;
  else
    ar >> m_strText2 >> m_strText1 >> m_dwValue;
}

IMPLEMENT_SERIAL(CDbpFileObj, CObject, 0)

CDbpFileObj::CDbpFileObj() = default;
CDbpFileObj::~CDbpFileObj() = default;
void CDbpFileObj::Serialize(CArchive& ar) { SerializeFourTexts(ar, *this); }

IMPLEMENT_SERIAL(CRptFileObj, CObject, 0)

CRptFileObj::CRptFileObj() = default;
CRptFileObj::~CRptFileObj() = default;
void CRptFileObj::Serialize(CArchive& ar) { SerializeFourTexts(ar, *this); }

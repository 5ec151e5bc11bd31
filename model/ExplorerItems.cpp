// The explorer's item records.
#include "model/ExplorerItems.h"

IMPLEMENT_SERIAL(CFindItemObj, CObject, 0)

CFindItemObj::CFindItemObj() : m_nKind(0), m_nFind(0) {}

CFindItemObj::~CFindItemObj() = default;

void CFindItemObj::Serialize(CArchive&) {}

IMPLEMENT_SERIAL(CItemFileObj, CObject, 0)

CItemFileObj::CItemFileObj() : m_dwMark(0), m_bFolder(0) {}

CItemFileObj::~CItemFileObj() = default;

void CItemFileObj::Serialize(CArchive&) {}

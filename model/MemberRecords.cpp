// The member-function and member-variable records.
#include "model/CMemberFunctionObj.h"
#include "model/CVariableObj.h"

IMPLEMENT_SERIAL(CMemberFunctionObj, CObject, 0)
IMPLEMENT_RECORD_FILE(CMemberFunctionObj)
IMPLEMENT_RECORD_POOL(CMemberFunctionObj)

CMemberFunctionObj::CMemberFunctionObj() : CMemberFunctionObj(10) {}

CMemberFunctionObj::CMemberFunctionObj(INT_PTR nParameterBlockSize)
    : m_nAccess(MEMBER_PRIVATE), m_ParameterList(nParameterBlockSize), m_nFind(0), m_bVirtual(FALSE), m_bStatic(FALSE) {}

CMemberFunctionObj::~CMemberFunctionObj() = default;

void CMemberFunctionObj::Serialize(CArchive&) {}

IMPLEMENT_SERIAL(CVariableObj, CObject, 0)
IMPLEMENT_RECORD_FILE(CVariableObj)
IMPLEMENT_RECORD_POOL(CVariableObj)

CVariableObj::CVariableObj() : m_nAccess(MEMBER_PRIVATE), m_bStatic(FALSE) {}

CVariableObj::~CVariableObj() = default;

void CVariableObj::Serialize(CArchive&) {}

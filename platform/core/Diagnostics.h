// The framework's diagnostic macros. Assertions check in every build (a failed one reports the
// place and aborts, as a failed debug assertion would end a test run); tracing is silent unless
// BRAMBOLT_TRACE is set in the environment.
#pragma once

#include <cstdarg>

#include "core/CObject.h"

void AfxAssertFailedLine(const char* file, int line, const char* expression);
void AfxTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Casts pObject to the class when it is one (run-time checked), else NULL.
CObject* AfxDynamicDownCast(const CRuntimeClass* pClass, CObject* pObject);
BOOL AfxIsValidAddress(const void* p, UINT_PTR nBytes, BOOL bReadWrite = TRUE);
BOOL AfxIsValidString(LPCSTR psz, int nLength = -1);

#define ASSERT(f) ((f) ? static_cast<void>(0) : AfxAssertFailedLine(__FILE__, __LINE__, #f))
#define VERIFY(f) ASSERT(f)
#define ASSERT_VALID(pOb) ASSERT((pOb) != nullptr)
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#define ASSERT_POINTER(p, type) ASSERT(AfxIsValidAddress((p), sizeof(type), FALSE))
#define ASSERT_NULL_OR_POINTER(p, type) ASSERT((p) == nullptr || AfxIsValidAddress((p), sizeof(type), FALSE))
#define TRACE AfxTrace
#define TRACE0(sz) AfxTrace("%s", sz)
#define TRACE1(sz, p1) AfxTrace(sz, p1)
#define TRACE2(sz, p1, p2) AfxTrace(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) AfxTrace(sz, p1, p2, p3)
#define DEBUG_NEW new
#define DYNAMIC_DOWNCAST(class_name, object) \
  (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

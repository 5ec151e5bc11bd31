// Assertion reports, tracing and the checked down-cast.
#include "core/Diagnostics.h"

#include <cstdio>
#include <cstdlib>

void AfxAssertFailedLine(const char* file, int line, const char* expression) {
  std::fprintf(stderr, "Assertion failed: %s (%s:%d)\n", expression, file, line);
  std::fflush(stderr);
  std::abort();
}

void AfxTrace(const char* format, ...) {
  static const bool enabled = std::getenv("BRAMBOLT_TRACE") != nullptr;
  if (!enabled) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
}

CObject* AfxDynamicDownCast(const CRuntimeClass* pClass, CObject* pObject) {
  return (pObject != nullptr && pObject->IsKindOf(pClass)) ? pObject : nullptr;
}

BOOL AfxIsValidAddress(const void* p, UINT_PTR nBytes, BOOL) { return p != nullptr || nBytes == 0; }

BOOL AfxIsValidString(LPCSTR psz, int) { return psz != nullptr; }

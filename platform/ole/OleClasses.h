// The COM classes this program provides itself, known to CoCreateInstance and CreateDispatch
// from the start.
#pragma once

#include <span>

#include "ole/Automation.h"

namespace brambolt::ole {

struct BuiltInClass {
  CLSID clsid;
  const char* progId;
  ObjectMaker maker;
};

std::span<const BuiltInClass> BuiltInClasses();

// The makers, each beside its class.
HRESULT MakeRegExp(REFIID riid, void** ppv);
HRESULT MakeShellLink(REFIID riid, void** ppv);

}  // namespace brambolt::ole

// The module handles the framework loads resources from, and the loader that gives
// CString::LoadString the program's string table.
#pragma once

#include "base/base.h"
#include "res/Resources.h"

// The program's module.
HINSTANCE AfxGetInstanceHandle();
// Where resources are looked up first: the program's module unless AfxSetResourceHandle chose
// another one.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
// The module that holds the resource: the resource handle if it has it, else the program's
// module if that has it, else the resource handle.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

namespace brambolt::afx {
// Makes CString::LoadString read the string tables of AfxFindResourceHandle's module.
void InstallStringLoader();
}  // namespace brambolt::afx

// Resource handles of the framework and the CString string loader.
#include "afx/AfxResources.h"

#include <atomic>
#include <string>

#include "core/CString.h"
#include "os/SystemInfo.h"
#include "res/Resources.h"

namespace {

std::atomic<HINSTANCE> g_resourceHandle{nullptr};

// A string resource lives in block (id / 16) + 1 of the string table.
LPCTSTR StringBlockOf(UINT nID) { return MAKEINTRESOURCE((nID >> 4) + 1); }

BOOL LoadFrameworkString(UINT nID, CString& rString) {
  HINSTANCE module = AfxFindResourceHandle(StringBlockOf(nID), RT_STRING);
  for (int size = 256;; size *= 2) {
    std::string buffer(static_cast<size_t>(size), '\0');
    int length = ::LoadString(module, nID, buffer.data(), size);
    if (length <= 0) return FALSE;
    if (length < size - 1) {
      rString = CString(buffer.data(), length);
      return TRUE;
    }
  }
}

// Every program that links the framework's resource support gets the loader before main.
const bool g_loaderInstalled = (brambolt::afx::InstallStringLoader(), true);

}  // namespace

HINSTANCE AfxGetInstanceHandle() { return brambolt::MainModuleHandle(); }

HINSTANCE AfxGetResourceHandle() {
  HINSTANCE chosen = g_resourceHandle.load();
  return chosen != nullptr ? chosen : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_resourceHandle.store(hInstResource); }

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
  HINSTANCE resources = AfxGetResourceHandle();
  if (::FindResource(resources, lpszName, lpszType) != nullptr) return resources;
  HINSTANCE program = AfxGetInstanceHandle();
  if (program != resources && ::FindResource(program, lpszName, lpszType) != nullptr) return program;
  return resources;
}

void brambolt::afx::InstallStringLoader() { AfxSetStringLoader(&LoadFrameworkString); }

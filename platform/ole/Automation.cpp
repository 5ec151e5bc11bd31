// Automation strings and variants, the class table behind CoCreateInstance, task memory and OLE
// start-up.
#include "ole/Automation.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <mutex>
#include <string>
#include <vector>

#include "base/Convert.h"
#include "ole/OleClasses.h"

namespace {

// A string block: its byte length, then the bytes and a terminator; the BSTR points at the bytes.
constexpr size_t kPrefix = sizeof(UINT);

UINT PrefixOf(BSTR text) {
  UINT length;
  std::memcpy(&length, text - kPrefix, kPrefix);
  return length;
}

struct ClassEntry {
  CLSID clsid;
  std::string progId;
  brambolt::ole::ObjectMaker maker;
};

struct ClassTable {
  std::mutex mutex;
  std::vector<ClassEntry> classes;
};

ClassTable& Classes() {
  static ClassTable* table = [] {
    auto* t = new ClassTable;
    for (const brambolt::ole::BuiltInClass& c : brambolt::ole::BuiltInClasses())
      t->classes.push_back(ClassEntry{c.clsid, c.progId, c.maker});
    return t;
  }();
  return *table;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

thread_local int t_oleStarted = 0;

}  // namespace

BSTR SysAllocStringByteLen(const char* bytes, UINT length) {
  auto* block = static_cast<char*>(std::malloc(kPrefix + length + 1));
  if (block == nullptr) return nullptr;
  std::memcpy(block, &length, kPrefix);
  if (bytes != nullptr) std::memcpy(block + kPrefix, bytes, length);
  else std::memset(block + kPrefix, 0, length);
  block[kPrefix + length] = 0;
  return block + kPrefix;
}

BSTR SysAllocStringLen(const char* text, UINT length) { return SysAllocStringByteLen(text, length); }

BSTR SysAllocString(const char* text) {
  if (text == nullptr) return nullptr;
  return SysAllocStringByteLen(text, static_cast<UINT>(std::strlen(text)));
}

void SysFreeString(BSTR text) {
  if (text != nullptr) std::free(text - kPrefix);
}

UINT SysStringLen(BSTR text) { return text == nullptr ? 0 : PrefixOf(text); }
UINT SysStringByteLen(BSTR text) { return SysStringLen(text); }

void VariantInit(VARIANTARG* pvarg) {
  std::memset(pvarg, 0, sizeof(*pvarg));
  pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* pvarg) {
  if (pvarg == nullptr) return E_INVALIDARG;
  switch (pvarg->vt) {
    case VT_BSTR: SysFreeString(pvarg->bstrVal); break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (pvarg->punkVal != nullptr) pvarg->punkVal->Release();
      break;
    default: break;
  }
  VariantInit(pvarg);
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
  if (pvargDest == nullptr || pvargSrc == nullptr) return E_INVALIDARG;
  if (pvargDest == pvargSrc) return S_OK;
  VARIANT copy = *pvargSrc;
  if (copy.vt == VT_BSTR && copy.bstrVal != nullptr) {
    copy.bstrVal = SysAllocStringByteLen(pvargSrc->bstrVal, SysStringByteLen(pvargSrc->bstrVal));
    if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
  } else if ((copy.vt == VT_DISPATCH || copy.vt == VT_UNKNOWN) && copy.punkVal != nullptr) {
    copy.punkVal->AddRef();
  }
  VariantClear(pvargDest);
  *pvargDest = copy;
  return S_OK;
}

HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT, VARTYPE vt) {
  if (pvargDest == nullptr || pvarSrc == nullptr) return E_INVALIDARG;
  if (pvarSrc->vt == vt) return VariantCopy(pvargDest, pvarSrc);
  double number = 0;
  switch (pvarSrc->vt) {
    case VT_EMPTY: number = 0; break;
    case VT_I2: number = pvarSrc->iVal; break;
    case VT_I4: number = pvarSrc->lVal; break;
    case VT_UI1: number = pvarSrc->bVal; break;
    case VT_BOOL: number = pvarSrc->boolVal ? -1 : 0; break;
    case VT_R8: number = pvarSrc->dblVal; break;
    case VT_BSTR: {
      const char* text = pvarSrc->bstrVal ? pvarSrc->bstrVal : "";
      char* end = nullptr;
      number = std::strtod(text, &end);
      if (end == text || *end != 0) {
        if (vt != VT_BOOL) return DISP_E_TYPEMISMATCH;
        if (SameName(text, "true")) number = -1;
        else if (SameName(text, "false")) number = 0;
        else return DISP_E_TYPEMISMATCH;
      }
      break;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
  VARIANT result;
  VariantInit(&result);
  result.vt = vt;
  switch (vt) {
    case VT_I2: result.iVal = static_cast<SHORT>(number); break;
    case VT_I4: result.lVal = static_cast<LONG>(number); break;
    case VT_UI1: result.bVal = static_cast<BYTE>(number); break;
    case VT_BOOL: result.boolVal = number != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_R8: result.dblVal = number; break;
    case VT_BSTR: {
      char text[64];
      if (pvarSrc->vt == VT_BOOL) std::snprintf(text, sizeof(text), "%s", number != 0 ? "True" : "False");
      else std::snprintf(text, sizeof(text), "%.15g", number);
      result.bstrVal = SysAllocString(text);
      if (result.bstrVal == nullptr) return E_OUTOFMEMORY;
      break;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
  VariantClear(pvargDest);
  *pvargDest = result;
  return S_OK;
}

HRESULT OleInitialize(void*) { return t_oleStarted++ == 0 ? S_OK : S_FALSE; }
void OleUninitialize() {
  if (t_oleStarted > 0) --t_oleStarted;
}
HRESULT CoInitialize(void* pvReserved) { return OleInitialize(pvReserved); }
void CoUninitialize() { OleUninitialize(); }
BOOL AfxOleInit() { return SUCCEEDED(OleInitialize(nullptr)) ? TRUE : FALSE; }

void* CoTaskMemAlloc(SIZE_T cb) { return std::malloc(cb == 0 ? 1 : cb); }
void* CoTaskMemRealloc(void* pv, SIZE_T cb) { return std::realloc(pv, cb == 0 ? 1 : cb); }
// CoTaskMemFree is the controls module's (it frees the folder picker's item lists too).

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD, REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;
  brambolt::ole::ObjectMaker maker = nullptr;
  {
    ClassTable& table = Classes();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (const ClassEntry& c : table.classes)
      if (c.clsid == rclsid) maker = c.maker;
  }
  return maker ? maker(riid, ppv) : REGDB_E_CLASSNOTREG;
}

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
  if (lpszProgID == nullptr || lpclsid == nullptr) return E_INVALIDARG;
  std::u16string_view wide(lpszProgID);
  return brambolt::ole::ClsidFromProgId(brambolt::WideToAnsi(wide), lpclsid) ? S_OK : CO_E_CLASSSTRING;
}

namespace brambolt::ole {

void RegisterOleClass(REFCLSID clsid, const char* progId, ObjectMaker maker) {
  ClassTable& table = Classes();
  std::lock_guard<std::mutex> lock(table.mutex);
  for (ClassEntry& c : table.classes)
    if (c.clsid == clsid) {
      c.progId = progId ? progId : "";
      c.maker = maker;
      return;
    }
  table.classes.push_back(ClassEntry{clsid, progId ? progId : "", maker});
}

bool ClsidFromProgId(std::string_view progId, CLSID* clsid) {
  ClassTable& table = Classes();
  std::lock_guard<std::mutex> lock(table.mutex);
  for (const ClassEntry& c : table.classes)
    if (!c.progId.empty() && SameName(c.progId, progId)) {
      *clsid = c.clsid;
      return true;
    }
  return GuidFromString(std::string(progId).c_str(), clsid);
}

}  // namespace brambolt::ole
